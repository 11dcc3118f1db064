// TqvDialogWnd, the adapter the dialog hook puts on a system dialog ("#32770" without a
// parent): it skins the dialog the way a skin provider skins a form. The system's caption
// buttons go (WS_SYSMENU is taken off while adapted and given back after), the whole frame
// (border, title with icon and caption text, title buttons) is painted from the skin into a
// window image kept in the skin data's cache, the non-client mouse is answered (hit codes,
// button hover and presses, the system menu on the icon and the caption), the window region
// follows the skin's corners, and the client shows the skin's background. The dialog keeps the
// system's frame measures; the skin paints over them.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/adapters/DialogSysMenu.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/CaptionHitCodes.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/TitleElements.h"

namespace skin_layered {

class TqvMoveTimer;
class TqvProvider;
class TqvSystemMenu;

// A title button: the record a glow fade animates (its state, the glyph shown now, its place
// in the window image, empty when not shown, its fade and hit code), its own glyph and
// whether that comes from the big set.
struct TqvDialogButton : TsCaptionButton {
  int OwnImage = -1;  // the glyph of its command (ImageIndex may show the restore glyph)
  bool Big = false;
};

class TqvDialogWnd : public TqvScrollWnd, public TqvSysMenuDialog {
  VCL_CLASS(TqvDialogWnd, TqvScrollWnd)
 public:
  using TqvScrollWnd::TqvScrollWnd;
  ~TqvDialogWnd() override;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
  bool KeepsVisualStyle() const override { return true; }

  // After the children are wrapped: the styles cached, the border kind, the icon, the title
  // buttons, the caption font; WS_SYSMENU taken off.
  void InitWindow();
  void InitTitleButtons();
  // Builds the window image.
  void PaintAll();
  void UpdateRgn(bool Redraw = true);
  int CaptionHeight(bool WithSkin = true) const;
  int BorderWidth() const;
  int OffsetX() const;
  int OffsetY() const;
  // The shadow margins with a border form, else empty.
  vcl::TRect ShadowSize() const;

  // ---- extended borders
  // The border form (the skin's extended borders and shadow around the dialog), or nil.
  TqvBorderForm* ExtBorderForm() const { return border_form_.get(); }
  // Made once when Wanted (and shown while the dialog is visible), else freed.
  void UpdateBorderForm(bool Wanted);
  // The skinned frame's place in the window image: its left and top (the shadow margins with
  // a border form) and the width of its sides (the skin's with a border form).
  int FrameLeft() const;
  int FrameTop() const;
  int FrameSide() const;
  // The caption icon's place in the window image (empty without one).
  vcl::TRect IconRect;

  // The tests on the cached styles.
  bool HasSysMenu() const override { return (Style & WS_SYSMENU) != 0; }
  bool HasMaxBox() const override { return (Style & WS_MAXIMIZEBOX) != 0; }
  bool HasMinBox() const override { return (Style & WS_MINIMIZEBOX) != 0; }
  bool HasHelpButton() const { return (ExStyle & WS_EX_CONTEXTHELP) != 0; }
  bool CloseEnabled() const;
  bool MaxEnabled() const override;
  bool MinEnabled() const override;
  bool RestoreEnabled() const override;
  // What the system menu asks besides.
  HWND MenuDialogWindow() const override { return CtrlHandle; }
  int MenuDialogFrameKind() const override { return BorderKind; }
  bool IconVisible() const;

  // The title buttons: minimise, maximise, close, help.
  TqvDialogButton& Button(int HitCode);
  const TqvDialogButton& Button(int HitCode) const { return const_cast<TqvDialogWnd*>(this)->Button(HitCode); }
  void SetHotButton(int HitCode, bool Repaint = true);
  void PressButton(int HitCode);
  // The title buttons' glow fades and glows freed (their windows go).
  void KillAnimations();

  // ---- blending while moved
  // The dialog (or its border window) turns translucent to the manager's blend value and the
  // move loop runs (when RunMoveLoop); StopMoveBlend makes it opaque again where it ended.
  void StartDialogMoveTimer(bool RunMoveLoop = true);
  void StopMoveBlend();
  TqvMoveTimer* MoveTimer() const { return move_timer_.get(); }
  // Bit 0x80 while a blended move runs.
  std::uint32_t Flags = 0;
  // Drops the dialog's system menu at a screen point.
  void DropSysMenu(POINT Screen);

  int HotButton = 0;
  bool Active = true;
  bool PlainClient = true;   // the dialog's own WM_PAINT is not run
  int CaptionIndex = -1;
  bool ChildrenWalked = false;
  bool RgnChanged = true;
  int BorderKind = 1;        // 0 modal frame, 2 popup without full caption, 3 other; 1 before InitWindow
  LONG_PTR Style = 0;        // as read by InitWindow and as first shown, WS_SYSMENU included
  LONG_PTR ExStyle = 0;
  std::vector<vcl::TRect> RegionRects;
  std::array<TqvDialogButton, 4> Buttons;
  vcl::TRect LastClientRect;
  HICON Icon = nullptr;
  int TitleIndex = -1;
  vcl::String TitleSection;
  // Freed through the library's Free (a component).
  struct TFreeMenu {
    void operator()(TqvSystemMenu* Menu) const;
  };
  std::unique_ptr<TqvSystemMenu, TFreeMenu> SystemMenu;
  TqvProvider* Provider = nullptr;

 private:
  // The animations of the core see the dialog through this face.
  class TFace : public TqvDialogWndBase {
   public:
    explicit TFace(TqvDialogWnd* Owner) : owner_(Owner) {}
    void PaintAll() override { owner_->PaintAll(); }
    void UpdateRgn() override { owner_->UpdateRgn(true); }
    int CaptionHeight() override { return owner_->CaptionHeight(true); }
    int OffsetX() override { return owner_->OffsetX(); }
    int OffsetY() override { return owner_->OffsetY(); }
    vcl::TRect ShadowSize() override { return owner_->ShadowSize(); }

   private:
    TqvDialogWnd* owner_;
  };

  // The window procedure's table: each message to its handler below.
  void Dispatch(vcl::TMessage& Message);
  void DispatchUnskinned(vcl::TMessage& Message);
  // The skin command's answers; false when the command goes on to the scroll adapter.
  bool OnCommand(vcl::TMessage& Message);
  void OnSkinCommandMessage(vcl::TMessage& Message);
  void OnSetFocus(vcl::TMessage& Message);
  void OnFrameStateChange(vcl::TMessage& Message);
  void OnPaint(vcl::TMessage& Message);
  void OnDrawItem(vcl::TMessage& Message);
  void OnNcPaintMessage(vcl::TMessage& Message);
  void OnNcMouseMove(vcl::TMessage& Message);
  void OnMouseLeave(vcl::TMessage& Message);
  void OnNcButtonUp(vcl::TMessage& Message);
  void OnClientButtonUp(vcl::TMessage& Message);
  void OnNcRightButtonDown(vcl::TMessage& Message);
  void OnNcRightButtonUp(vcl::TMessage& Message);
  void OnCtlColorDlg(vcl::TMessage& Message);
  void OnClientMouseMove(vcl::TMessage& Message);
  void OnDefaultButtonSet(vcl::TMessage& Message);
  void OnRearranged(vcl::TMessage& Message);
  void OnShowWindow(vcl::TMessage& Message);
  void OnButtonCommand(vcl::TMessage& Message);
  void OnWindowPosChanged(vcl::TMessage& Message);
  void OnSysCommand(vcl::TMessage& Message);
  void OnNcHitTest(vcl::TMessage& Message);
  void OnNcPaint();
  void OnEraseBkgnd(vcl::TMessage& Message);
  void OnButtonDown(vcl::TMessage& Message);
  // Answers true when the adapter must touch nothing more (the dialog may be gone).
  bool OnButtonUp(vcl::TMessage& Message, int HitCode);
  void OnDoubleClick(vcl::TMessage& Message);
  void OnNcActivate(vcl::TMessage& Message);
  void OnSize(vcl::TMessage& Message);
  void OnDestroy(vcl::TMessage& Message);
  // The image marked stale and the frame painted again.
  void RepaintFrame();
  // The styles, and the border kind they give, read from the window.
  void ReadStyles();
  // Once, as the frame is first painted shown: the styles read again, the frame made anew when
  // they changed.
  void ReadShownStyles();
  void WalkChildren();
  void UpdateSystemMenu();
  void PaintTitle(vcl::TBitmap* Bmp);
  void PaintButton(vcl::TBitmap* Bmp, const TqvDialogButton& Button);
  // One title button painted again in place, or its glow fade told of its state.
  void RepaintButton(int HitCode);
  // The skin's glow around a hot system button painted at once (a fade shows its own).
  void UpdateButtonGlow(TqvDialogButton& Button);
  // Whether title buttons change their look through glow fades.
  bool ButtonsFade() const;
  // The button's glow fade told of its state (made on its first hot or pressed state); false
  // when no fade shows it.
  bool FadeButton(TqvDialogButton& Button);
  int ButtonGlyph(const TqvDialogButton& Button) const;
  bool ButtonEnabled(const TqvDialogButton& Button) const;
  void LayoutButtons(int ImageWidth);
  void BuildRegionRects();
  // The system's caption buttons off while the skin paints the dialog's frame, back without it.
  void FollowSysMenuStyle();
  // The frame the skin's dialog section asks for: painted by the skin (its caption buttons,
  // region and border window), or, without the section, the system's whole.
  void FollowFrameSkin();
  void RestoreSysMenuStyle();

  // The hit code of a non-client message passed on by the border window (WParam -1).
  int BorderHitCode(const vcl::TMessage& Message) const;
  void UpdateBorderPos(bool Repaint);
  void DropBorderForm();
  // The border form's window exists and is shown.
  bool BorderWindowShown() const;

  struct TFreeTimer {
    void operator()(TqvMoveTimer* Timer) const;
  };
  std::unique_ptr<TqvMoveTimer, TFreeTimer> move_timer_;
  std::unique_ptr<vcl::TBitmap> title_cache_;
  std::unique_ptr<TqvBorderForm> border_form_;
  std::unique_ptr<TFace> face_;
  bool sys_menu_removed_ = false;
  bool shown_styles_read_ = false;
  bool press_in_progress_ = false;
  bool tracking_leave_ = false;
  int running_ = 0;  // messages being handled (the adapter is not freed meanwhile)

 public:
  // A message of this adapter is being handled: its provider is not freed now.
  bool Running() const { return running_ > 0; }
  TqvDialogWndBase* Face() { return face_.get(); }
};

// One solid brush per colour for the dialogs' WM_CTLCOLORDLG answers (kept until shut-down).
HBRUSH DialogBrush(vcl::TColor Color);
void FreeDialogBrushes();

}  // namespace skin_layered
