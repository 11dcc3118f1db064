// TqvFrameMouse, the mouse on a skinned form's frame: which part of the frame lies under a
// point (hit testing), the one hot title element and the pressed one with their repaint, the
// commands of the title buttons on their release, the system menu on the icon and the caption,
// and the rubber frame of outline sizing. It answers only for what the provider paints itself
// (title buttons, icon, a maximised MDI child's buttons, the grip); every other point is the
// form's own procedure's. The form's provider owns it, hands it the mouse messages of the
// frame and gives it what it asks through TqvFrameMouseHost.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "classlib/controls/Controls.h"
#include "classlib/controls/Timer.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/forms/TitleElements.h"

namespace vcl {
class TBitmap;
class TCustomForm;
}  // namespace vcl

namespace skin_layered {

class TsSkinManager;
class TsSkinProviderBase;
class TsSystemMenu;
class TsTitleBar;
class TqvBorderForm;
class TqvCaptionButtons;
class TqvCaptionItems;
class TqvFormAnimator;
class TqvFormMeasures;
class TqvFormScrollBars;

// The bit of the provider's flag word set while a size change goes to the border window (the
// form's glow is then left where it is).
inline constexpr std::uint32_t kExtBorderSizing = 0x1;

// What the frame's mouse asks of the form's provider.
class TqvFrameMouseHost {
 public:
  virtual ~TqvFrameMouseHost() = default;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider as the layers below know it: its form, skin data, shadow, caption height and
  // the skinned system menu dropped at a point.
  virtual TsSkinProviderBase* FrameProvider() = 0;
  // The border form when extended borders are in force; nil otherwise.
  virtual TqvBorderForm* ExtBorderForm() const = 0;
  // Passes the message to the form's own procedure.
  virtual void CallOldWndProc(vcl::TMessage& Message) = 0;
  // Runs Call, which may process messages; false when the provider or its form's window did
  // not outlive it (nothing of either may be touched then).
  virtual bool Watched(const std::function<void()>& Call) = 0;

  // ---- the title's objects
  virtual TqvCaptionButtons& CaptionButtons() const = 0;
  virtual TsTitleButtons* TitleButtons() const = 0;
  virtual TsTitleBar* TitleBar() const = 0;
  // The title bar's items: their hit codes, their states and their presses.
  virtual TqvCaptionItems& CaptionItems() const = 0;
  // The skinned system menu, made from the window's own when asked; nil for none.
  virtual TsSystemMenu* CurrentSystemMenu() const = 0;
  virtual void MakeSystemMenu() = 0;
  // The system menu of a form's own provider (an MDI frame's active child); nil for none.
  virtual TsSystemMenu* SystemMenuOf(vcl::TCustomForm* Form) const = 0;
  // Starts the glow fade of a system or user button toward its hot or pressed state (ToHot)
  // or toward normal; false when no fade runs (the button is then repainted at once).
  virtual bool StartButtonGlow(int HitCode, bool ToHot) = 0;
  // The caption shown in its active state (a blended move starts with it).
  virtual void SetCaptionActive(bool Value) = 0;

  // ---- the measures
  // The form's: frame, caption, menu line, whether the size grip shows.
  virtual const TqvFormMeasures& Measures() const = 0;
  // The window image's origin on the screen.
  virtual vcl::TPoint FormOrigin() = 0;
  // The size grip, and the size box between the form's own two scroll bars.
  virtual vcl::TPoint GripPos(int MaskIndex) = 0;
  virtual TqvFormScrollBars& ScrollBars() = 0;
  // The frame repainted from the window image.
  virtual void RefreshNonClient() = 0;

  // ---- what a press on the frame starts
  // WS_SYSMENU taken away while the provider paints the frame, or given back.
  virtual void UpdateSysMenuStyle(bool Skinned) = 0;
  virtual void UpdateGluedForms() = 0;
  // The provider's ResizeMode is rmBorder: sizing and moving show a rubber frame.
  virtual bool OutlineSizing() const = 0;
  virtual bool AllowBlendOnMoving() const = 0;
  virtual void StartBlendOnMoving(bool RunMoveLoop) = 0;
  virtual TqvFormAnimator& Animator() = 0;
  virtual void KillTitleAnimations() = 0;

};

class TqvFrameMouse {
 public:
  // Flags is the provider's flag word (kExt* bits), read only.
  TqvFrameMouse(TqvFrameMouseHost& Host, const std::uint32_t& Flags) : host_(Host), flags_(Flags) {}
  // A rubber frame this one started is cancelled (its Enter would call here).
  ~TqvFrameMouse();
  TqvFrameMouse(const TqvFrameMouse&) = delete;
  TqvFrameMouse& operator=(const TqvFrameMouse&) = delete;

  int HotElement = 0;  // hit code of the element under the mouse (0 none)

  // ---- hit testing
  // The hit code of the point of a hit-test message (a screen point in LParam): a title
  // element's, the icon's, the menu line's, a sizing edge's, the grip's, the caption's or 1
  // (client).
  int HitTest(vcl::TMessage& Message);
  int HitTestAt(vcl::TPoint Screen);
  // The title element (system and user buttons, title bar items) at a point of the window
  // image: its hit code, the caption's for a disabled one, 0 for none. Asked by the hit test
  // and by the border window.
  int TitleElementAt(vcl::TPoint ImagePoint);
  // A screen point in the window image's coordinates.
  vcl::TPoint ImagePointOf(vcl::TPoint Screen);

  // ---- the title elements' states
  // Makes Code the hot element (the one hot before back to normal), repainted with Repaint.
  // -1 clears it for good (the next element turns hot again).
  void SetHotElement(int Code, bool Repaint);
  // Marks Code pressed (and hot) and repaints it.
  void PressElement(int Code);
  // Repaints one title element (a hit code) in its state, in the image and on the window.
  void RepaintElement(int HitCode);
  // The hint of the user button hot under the mouse, shown after the application's hint pause
  // while the cursor still rests on it; taken away with the hot state (and when the form moves
  // or the skin changes).
  void StopButtonHint();
  // The record of a system or MDI button by hit code; nil for others.
  TsCaptionButton* ButtonByCode(int Code);
  // The record of any title element (user buttons too); nil when none or hidden.
  TsCaptionButton* ElementByCode(int Code);

  // ---- the rubber frame of outline sizing: started by a press on the caption or an edge (or
  // by the move and size commands: code 0 for sizing waits for an edge), ended by the release
  // or Enter, which give the form its bounds.
  void StartRubberFrame(int HitCode);
  void EndRubberFrame();
  // The form's rubber frame ended where the mouse is now (a double click on the border window).
  void EndRubberFrameAt(vcl::TPoint Screen);
  // The mouse's capture went to another window: the form's rubber frame is cancelled.
  void CaptureChanged(const vcl::TMessage& Message);

  // ---- the frame's mouse messages
  void WMNCHitTest(vcl::TMessage& Message);
  void WMNCMouseMove(vcl::TMessage& Message);
  void WMNCLButtonDown(vcl::TMessage& Message);
  void WMNCLButtonUp(vcl::TMessage& Message);  // also WM_LBUTTONUP
  void WMNCLButtonDblClk(vcl::TMessage& Message);
  // The double clicks the border window passes on, each the last thing it does (the command
  // may take the border form away): on the caption the form is maximised or restored (a
  // minimised one restored when its menu offers neither) and the system menu brought up to
  // date; on a title-bar item (a hit code) the item turns hot, is pressed and clicked.
  void BorderCaptionDoubleClick();
  void TitleBarItemDoubleClick(int Code);
  void WMNCRButtonDown(vcl::TMessage& Message);
  void WMNCRButtonUp(vcl::TMessage& Message);
  void WMMouseMove(vcl::TMessage& Message);
  void WMMouseLeave(vcl::TMessage& Message);  // also WM_NCMOUSELEAVE and CM_MOUSELEAVE
  void CMMouseEnter(vcl::TMessage& Message);

 private:
  vcl::TCustomForm* Form() const;
  const TqvFormMeasures& Measures() const;
  TsSystemMenu* SystemMenu();
  // The border form's hit test of a screen point (-1 without a border window), and the hit
  // code as the frame's mouse sees it (the border window answers for the title when there is
  // one).
  int BorderFormHitTest(vcl::TPoint Screen);
  int ElementAtScreen(vcl::TPoint Screen);
  bool InGrip(vcl::TPoint ImagePoint);
  // An element's state (0 normal, 1 hot, 2 pressed) without repainting it; a pressed element
  // let go without its command; whether it was pressed and is still held.
  void SetElementState(int Code, int State);
  void ReleaseElement(int Code);
  bool ElementPressed(int Code);
  // The presses.
  void IconClicked(vcl::TMessage& Message);
  bool MdiChildButtonEnabled(int Code);
  bool PressTitleElement(int Code, vcl::TMessage& Message);
  bool PressOnMaximizedCaption(const vcl::TMessage& Message);
  bool BlendOnMovingAllowed(const TsSkinManager& Manager, bool FromBorder);
  void DragFrame(int Code, bool FromBorder, vcl::TMessage& Message);
  // The maximise command, or the restore one for a maximised or minimised form; the system
  // menu's items follow unless the command freed the provider.
  void ZoomCommand(HWND Wnd);
  // The releases over each kind of element: its command runs when it was pressed there.
  void ReleaseMdiButton(int Code);
  void ReleaseHelp();
  void ReleaseMinimize(vcl::TMessage& Message, vcl::TPoint Screen);
  void ReleaseMaximize(vcl::TMessage& Message);
  bool ReleaseClose();
  void ReleaseUserButton(int Code, vcl::TPoint Screen);
  void ReleaseTitleBarItem(int Code, vcl::TPoint Screen);
  void ReleaseElsewhere(vcl::TMessage& Message);

  void StartButtonHint(int Code);
  void ShowButtonHint(vcl::TObject* Sender = nullptr);

  TqvFrameMouseHost& host_;
  const std::uint32_t& flags_;
  // The user button hint's pause (made on first use) and the button it waits for.
  std::unique_ptr<vcl::TTimer> button_hint_timer_;
  int button_hint_code_ = 0;
  // The screen point of the mouse move being handled: a hint shown at once goes by it (the
  // pointer the system reports may not have caught up with a move already queued).
  std::optional<vcl::TPoint> move_point_;
};

}  // namespace skin_layered
