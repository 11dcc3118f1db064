// TWinSkinForm: takes over the non-client area of one top-level window for the classic skin
// engine. It puts its procedure in front of the window's (comctl32 subclassing, removable in
// any order) and, for a window of the class library, a hook in front of the form's WindowProc;
// strips the system buttons from the style; sizes the frame to the skin's borders; paints
// borders, title, caption buttons and the menu band; cuts the window region from the key
// colour; routes non-client mouse messages to the caption buttons and menu items.
//
// The manager creates one per skinned window (SkinForm) and frees it; the window procedure
// runs in three stages:
//   1. always: erasing and colours of foreign windows, destruction, the engine's own messages;
//   2. frame skinned: size, activation, system commands, menu changes;
//   3. non-client drawing, hit tests and mouse.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "classlib/controls/Timer.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/controls/WindowSubclass.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/core/FormSkinning.h"
#include "skin_classic/core/SkinData.h"
#include "skin_classic/forms/FormFrame.h"
#include "skin_classic/forms/InfoWindow.h"
#include "skin_classic/forms/NCObject.h"
#include "skin_classic/forms/WinSkinMenu.h"
#include "skin_classic/paint/SkinRegion.h"

namespace vcl {
class TPopupMenu;
}  // namespace vcl

namespace winskin {

class TControlMapping;
class TSkinMenuPainter;

// The Tag of the skinned system menu's popup.
inline constexpr int kSystemMenuTag = 33333;

// The messages the two skin engines recognise each other's windows by.
inline constexpr UINT kEnginePaintFrame = 48203;  // wParam: a DC to paint the frame into
inline constexpr UINT kEngineQuerySkinned = 48205;
inline constexpr UINT kEngineSkinned = 48206;  // sent when a window is skinned
inline constexpr LPARAM kEngineMark = 16802;

// The themed caption drawing message of newer systems (answered 0).
inline constexpr UINT kThemedCaption = 0x00AE;

// The hover timer's interval.
inline constexpr unsigned kHoverInterval = 250;

// It is also the host of the control skinners of its children: it lists them, has them
// re-read the skin and lets go of them when it detaches. Its parts (caption buttons, menu bar,
// menu painting, child mapping) see it as a TFormFrame.
class TWinSkinForm : public TWinSkinFormBase, public TFormFrame {
  VCL_CLASS(TWinSkinForm, TWinSkinFormBase)

 public:
  explicit TWinSkinForm(vcl::TComponent* AOwner);
  ~TWinSkinForm() override;

  // ---- The manager's interface ----
  void AttachForm(TSkinData* ASkinData, vcl::TWinControl* AFormObject) override;
  void AttachWindow(TSkinData* ASkinData) override;
  void Detach() override;
  void Unskin() override;
  void ReleaseSkinObjects() override;
  void LoadSkinObjects() override;
  void Reapply() override;
  void MapSizeGrip(HWND Grip) override;
  bool IsMDIChild() const override { return FormKind == TFormKind::MDIChild; }
  void MDIMaximizedChanged(bool Maximized) override;
  bool FrameChangesWithSkin() const override { return attached_ && SkinFrame != FrameWanted(); }
  // The skin paints this window's frame: the skin data asks for it and the skin can.
  bool FrameWanted() const;
  HWND HostWindow() const override { return Window; }
  TSkinData* FrameSkin() const override { return SkinData; }
  TSkinFormState FrameState() const override { return State; }

  // ---- Operations ----
  // Paints borders, title and menu band into DC (nil: the window's own DC).
  void PaintFrame(HDC DC);
  // Has the system recompute and repaint the frame.
  void FrameChanged();
  // The outer size that holds the client area inside the skin's borders.
  void AdjustWindowSize(bool FromClientRect);
  // Puts back (Restore) or strips the system menu, minimise and maximise boxes.
  void SetSystemStyles(bool Restore);
  void SetSysMenuStyle(bool Remove);
  // The window region cut from the key colour of the skin's borders; Redraw: the system
  // repaints the window for the new region.
  void UpdateRegion(bool Force = false, bool Redraw = true);
  void ClearRegion();
  void FinishSkin();
  TPoint ToWindowPoint(int X, int Y) const override;
  // The caption button or menu item under a window point, or nil.
  TNCObject* ObjectAt(TPoint P) const;
  // Where the menu band ends as shown (window rows): a window lower than its frame keeps its
  // bottom border over the band.
  int MenuBandBottom() const;
  void PaintButton(TWinSysButton* Button) override;
  // Opens the skinned system menu at a screen point. A second request within the double-click
  // time of the first, from any of its openers, closes the window instead (not when the system
  // menu's Close is disabled or missing).
  void ShowSystemMenu(TPoint ScreenPoint);
  bool CanCloseFromSystemMenu() const;
  // Where the system menu opens from the keyboard (Alt+Space), on the screen.
  TPoint SystemMenuPoint() const;
  // Rebuilds the skinned system menu from the window's system menu and its state.
  void BuildSystemMenu();
  // Presses a bar item, opens its menu and lets it go again; SelectFirst: opened from the
  // keyboard, with the menu's first item selected.
  void OpenBarItem(TMenuBtn* Item, bool SelectFirst = true);

  // ---- State (the facts of TFormFrame, and these) ----
  const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const override { return buttons_; }
  TWinSkinMenu* MenuBar() const override { return menu_bar_.get(); }
  TSkinMenuPainter* MenuPainter() const override { return menu_painter_.get(); }
  // The mapping of the children to their skinners (nil before the form is attached).
  TControlMapping* Mapping() const { return mapping_.get(); }
  // The skinned system menu (nil before it was first opened).
  vcl::TPopupMenu* SysPopup() const { return sys_popup_; }
  vcl::TTimer* HoverTimer() const { return hover_timer_; }
  // The tip naming the caption button under the mouse.
  const TInfoWindow& InfoWindow() const { return info_window_; }
  // Shows the tip of a caption button below it (its command's name in the system menu), or
  // hides the tip (nil).
  void ShowButtonTip(TWinSysButton* Button);
  TBitmap* IconBitmap() const override { return icon_bitmap_.get(); }
  HICON Icon() const override { return icon_.get(); }
  vcl::TFont* CaptionFont() const { return caption_font_.get(); }
  // The frame thicknesses (the menu band belongs to the top).
  TFrameThickness Thickness() const { return {LeftWidth, TopHeight + MenuHeight, RightWidth, BottomHeight}; }
  // The window is an MDI child and maximised (the system draws its frame then).
  bool MaximizedMDIChild() const { return IsMDIChild() && ShowState == TShowState::Maximized; }
  // The window's own text (wide or ANSI as the window is).
  String WindowText() const;
  LONG_PTR StyleOf() const { return GetWindowLongPtrW(Window, GWL_STYLE); }

  // The window procedure (after the subclass), the form hook and the MDI client procedure.
  void FormWndProc(vcl::TMessage& Message);
  void FormHook(vcl::TMessage& Message);
  void MDIClientProc(vcl::TMessage& Message);

  void DrawToolbarBackground(vcl::TToolBar* Sender, const TRect& ARect, bool& DefaultDraw) override;
  void DrawToolbarButton(vcl::TToolBar* Sender, vcl::TToolButton* Button, vcl::TCustomDrawState State,
                         bool& DefaultDraw) override;

 private:
  void Init(TSkinData* ASkinData);
  void CallSaved(vcl::TMessage& Message) { subclass_.CallDefault(Message); }
  void ReadShowState();
  void MakeIcon();
  // The height the caption's buttons and text need.
  int TitleRoom() const;
  // Adds the system's close, maximise, minimise, help and icon buttons the skin has no
  // section for, beside the skin's own (after LoadSkinObjects measured the frame).
  void AddStandardButtons();
  bool StandardButton(const TWinSysButton& Button) const {
    for (const auto& d : standard_buttons_)
      if (Button.Data == d.get()) return true;
    return false;
  }
  void FormSkinned();
  // The children get their skinners: the form object's controls, else the child windows.
  void MapChildren();
  void DetachFrame();
  void KeepClientSize(int Width, int Height);
  // A window of its own on the desktop with a frame: its restored size follows the frame's.
  bool KeepsRestoredSize() const { return !IsChild && !IsMDIChild() && BorderKind != TBorderKind::None; }

  // Stages of the window procedure; each answers whether it handled the message, and so do
  // the first stage's handlers.
  bool Stage1(vcl::TMessage& Message);
  bool Stage2(vcl::TMessage& Message);
  void Stage3(vcl::TMessage& Message);
  bool PassUnlessFrameSkinned(vcl::TMessage& Message);
  bool WMEraseBkgnd(vcl::TMessage& Message);
  bool WMNCDestroy(vcl::TMessage& Message);
  bool WMNCActivateBeforeFrame(vcl::TMessage& Message);
  bool WMInitMenuPopup(vcl::TMessage& Message);
  bool WMCtlColorBtn(vcl::TMessage& Message);
  bool WMCtlColorStatic(vcl::TMessage& Message);
  bool SKMFormSkinned(vcl::TMessage& Message);
  bool SKMControlRecreated(vcl::TMessage& Message);
  bool SKMQueryNoSkin(vcl::TMessage& Message);
  void WMSize(vcl::TMessage& Message);
  void WMGetMinMaxInfo(vcl::TMessage& Message);
  void WMWindowPosChanged(vcl::TMessage& Message);
  void WMSetIcon(vcl::TMessage& Message);
  void CaptionChanged();
  void WMCommand(vcl::TMessage& Message);
  void SKMOpenMenuAt(vcl::TMessage& Message);
  void WMNCPaint(vcl::TMessage& Message);
  void WMMeasureItem(vcl::TMessage& Message);
  void WMDrawItem(vcl::TMessage& Message);
  void WMMenuSelect(vcl::TMessage& Message);
  void HookSetText(vcl::TMessage& Message);
  void EnginePaintFrame(vcl::TMessage& Message);
  void CallSavedMDIClient(vcl::TMessage& Message) { mdi_client_subclass_.CallDefault(Message); }
  void MDIClientNCCalcSize(vcl::TMessage& Message);
  void MDIClientDestroyChild(vcl::TMessage& Message);
  void MDIClientArrange(vcl::TMessage& Message);
  void MDIClientSetMenu(vcl::TMessage& Message);
  void SysCommand(vcl::TMessage& Message);
  void MenuChanged(vcl::TMessage& Message, bool FromHook);
  void FollowMenu(bool Always, HMENU Given = nullptr);
  // The bar goes (kept until this object goes while its menu loop runs).
  void DropMenuBar();
  void GiveMenuBack(HMENU Menu);
  void NCActivate(vcl::TMessage& Message);
  void NCCalcSize(vcl::TMessage& Message);
  void NCHitTest(vcl::TMessage& Message);
  void NCMouseMove(vcl::TMessage& Message);
  void NCLButtonDown(vcl::TMessage& Message);
  void NCLButtonUp(vcl::TMessage& Message);
  void NCLButtonDblClk(vcl::TMessage& Message);
  void NCRButtonDown(vcl::TMessage& Message);
  void RunAction(TWinSysButton* Button, TPoint ScreenPoint);
  void CloseAction();
  void MaximizeAction(const TWinSysButton* Button);
  void MinimizeAction(const TWinSysButton* Button);
  void CommandActiveChild(WPARAM Command);
  void HoverTick(vcl::TObject* Sender);
  // Owner-drawn items of the bar's drop-downs; false for other items.
  bool MenuMeasureItem(vcl::TMessage& Message);
  bool MenuDrawItem(vcl::TMessage& Message);
  void DialogChar(vcl::TMessage& Message);
  void SysMenuClick(vcl::TObject* Sender);

  // Painting.
  void PaintTitle(HDC DC);
  void LayoutButtons(int Width);
  void DrawTitleText(HDC DC, TPoint Origin, int Width);
  void PaintMenuBand(HDC DC, const TRect& Band);

  TSkinData* skin_data() const { return SkinData; }

  vcl::TWindowSubclass subclass_;
  vcl::TWindowProcHook form_hook_;
  vcl::TWindowSubclass mdi_client_subclass_;
  bool attached_ = false;
  vcl::TTimer* hover_timer_ = nullptr;  // owned by this object
  std::unique_ptr<vcl::TFont> caption_font_;
  std::unique_ptr<TBitmap> icon_bitmap_;
  vcl::UniqueIcon icon_;
  std::unique_ptr<TBitmap> frame_bitmap_;  // the frame as last painted, at its top-left corner
  TPoint frame_size_;                      // the window's size it was painted for
  static constexpr int kFrameSlack = 64;   // room to grow into without a new bitmap
  std::unique_ptr<TBitmap> title_back_;    // its title band before the buttons were drawn
  std::vector<std::unique_ptr<TWinSysButton>> buttons_;
  // The caption buttons a skin has no section for: the system's own, in the skin's title.
  std::vector<std::unique_ptr<TDataSkinSysButton>> standard_buttons_;
  std::unique_ptr<TWinSkinMenu> menu_bar_;
  // A bar or system menu let go of while its menu loop runs, kept until this object goes.
  std::unique_ptr<TWinSkinMenu> retired_menu_bar_;
  std::unique_ptr<TSkinMenuPainter> menu_painter_;
  TInfoWindow info_window_;
  TWinSysButton* tip_button_ = nullptr;
  vcl::TPopupMenu* sys_popup_ = nullptr;  // owned by this object
  bool sys_popup_open_ = false;
  bool native_menu_removed_ = false;
  // The client area a window skinned while maximised or minimised has when restored.
  std::optional<SIZE> restored_client_;
  bool show_menu_update_ = true;  // the skin data's MenuUpdate when an MDI frame was attached
  vcl::TColor former_color_ = vcl::clBtnFace;
  LONG_PTR style_ = 0;
  HWND owner_window_ = nullptr;
  DWORD sys_menu_tick_ = 0;
  UINT double_click_time_ = 0;
  TPoint region_size_{-1, -1};
  bool region_minimized_ = false;  // the region was cut for the minimised title
  bool reapplying_region_ = false;
  TOwnedObject<TControlMapping> mapping_;  // gives back what it changed before the rest goes
};

}  // namespace winskin
