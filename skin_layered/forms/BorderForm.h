// The border form of a skinned form or dialog: the separate layered window that shows the
// extended borders and the shadow around it. With extended borders the owner's own window is
// cut to its client part; the border window lies right behind it, shows the owner's whole
// window image (frame, caption and shadow band) with per-pixel alpha, and takes the mouse
// for the frame: it answers hit tests, sets the sizing cursors, forwards clicks to the owner
// (non-client messages with WParam -1, or 3 for the caption icon, so that the owner asks
// HitTest itself), turns double clicks on the caption and the edges into maximise and
// stretch commands, and lets the mouse fall through the shadow to what lies below.
//
// The owner is a form's provider, which answers through TqvBorderOwner (BorderOwner.h), or a
// skinned system dialog, which derives from this class and answers the owner's questions (the
// virtual accessors below).
//
//   BorderForm.cpp          creation, the picture, position and alpha, the region
//   BorderFormMouse.cpp     hit tests, the shadow test and the border window's messages
//   BorderFormStacking.cpp  the border window's place in z-order, right beside its owner
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "classlib/controls/Timer.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/Lifetime.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/forms/BorderOwner.h"

namespace skin_layered {

class TsCommonData;
class TsSkinManager;

// The skin's extended border and shadow of the caption's state in nine parts over the whole
// window image (its centre too with FillCentre): the skin's extended-border image by its
// margins, or the built-in shadow by its centre lines. False when there is none.
bool DrawExtendedBorder(vcl::TBitmap* Image, const TsSkinManager* Manager, bool Active, bool FillCentre);

// Bits of the owner's flag word (a provider's ExtFlags) that the border form reads.
inline constexpr std::uint32_t kBorderSizing = 0x1;        // a size change is being applied
inline constexpr std::uint32_t kBorderBlendMoving = 0x80;  // a blended move owns the window
inline constexpr std::uint32_t kBorderMinimizing = 0x100;
inline constexpr std::uint32_t kBorderHiding = 0x200;
inline constexpr std::uint32_t kBorderRestoring = 0x400;
inline constexpr std::uint32_t kBorderSkinChanging = 0x1000;
// The animations that own the border window while its form is hidden; the other bits (a
// stretched or glued form, an activation) are no reason to keep it.
inline constexpr std::uint32_t kBorderAnimations =
    kBorderBlendMoving | kBorderMinimizing | kBorderHiding | kBorderRestoring | kBorderSkinChanging;
inline constexpr std::uint32_t kBorderMenuInClient = 0x8000;  // the menu lines count as client
// Set by the border form: a double click on an edge stretched the form's height or width.
inline constexpr std::uint32_t kBorderStretchedHeight = 0x2000;
inline constexpr std::uint32_t kBorderStretchedWidth = 0x4000;

// The border window: a borderless layered tool form without the system's drop shadow, owned
// by the owner's window, never activated and never skinned (Tag 256).
class TqvBorderForm;
class TqvBorderWindow : public vcl::TForm {
  VCL_CLASS(TqvBorderWindow, vcl::TForm)
 public:
  TqvBorderWindow(vcl::TComponent* AOwner, const TqvBorderForm* Border);

 protected:
  void CreateParams(vcl::TCreateParams& Params) override;

 private:
  // Asked for the owner's window whenever the window is made (the owner's window may have
  // been made anew, taking its owned windows with it).
  const TqvBorderForm* border_;
};

class TqvBorderForm : public TqvBorderFormBase {
 public:
  // Owner: the provider's answers, or nil for a dialog (whose class derives from this one).
  explicit TqvBorderForm(std::unique_ptr<TqvBorderOwner> Owner = nullptr);
  ~TqvBorderForm() override;
  TqvBorderForm(const TqvBorderForm&) = delete;
  TqvBorderForm& operator=(const TqvBorderForm&) = delete;

  // The skin data of the form or dialog the border form serves (its cache is the picture).
  TsCommonData* SkinData = nullptr;
  // The provider's answers; nil for a dialog's border form.
  TqvBorderOwner* Owner() const { return owner_.get(); }
  void SetOwner(std::unique_ptr<TqvBorderOwner> Value) { owner_ = std::move(Value); }

  // Where the border window stood after its last position change in a blended move.
  int LastLeft = 0, LastTop = 0;
  // The region was cut at the work area's top during a blended move.
  bool TopClipped = false;
  // A one-pixel hole is being cut under the mouse.
  bool InMouseHole = false;
  // An update runs, or an animation owns the border window: no update starts meanwhile.
  bool Busy = false;
  // The region holds a mouse hole or a top cut and is set again before the next mouse test.
  bool RgnResetPending = false;

  // ---- what the owner answers (a provider's by default; a dialog overrides them)
  // The window it draws around (0 while the form has none).
  virtual HWND ParentHandle() const;
  // The caption height of that window: the skin's with CheckSkin, else the system's.
  virtual int CaptionHeight(bool CheckSkin) const;
  // The height of the menu lines under the caption; 0 for a dialog.
  virtual int MenuHeight() const;
  // The caption icon's rectangle in the window image.
  virtual vcl::TRect IconRect() const;
  // Repaints the owner's window image when it is stale.
  void PaintAll() override;
  // The owner's flag word (kBorder* bits).
  virtual std::uint32_t State() const;
  // The owner's hot title button (0 or -1: none).
  virtual void SetHotButton(int Code, bool Repaint);
  // Frees the glow animations of the owner's title buttons.
  virtual void KillOwnerAnimations();
  // The hit code of the title element (system and user buttons, title-bar items) at P of the
  // window image; 0 for none.
  virtual int TitleElementCode(vcl::TPoint P) const;
  // The owner's client rectangle inside the window image (the border window's coordinates),
  // for a window about to become NewWidth x NewHeight when a size change is applied.
  virtual vcl::TRect ClientHole(int NewWidth, int NewHeight) const;

  // ---- measures
  // The four shadow margins (the width of the shadow band around the frame).
  vcl::TRect ShadowMargins() const;
  // How far the border window starts left of and above the owner's window.
  int ShadowOffsetX() const;
  int ShadowOffsetY() const;
  int ShadowOffset() override { return ShadowOffsetY(); }
  // Where the border window goes in z-order: 0 (behind the owner, or above a minimised one),
  // HWND_TOPMOST, or the owner's window.
  HWND ZOrderAfter() const;

  // ---- the border window
  HWND BorderWindow() const override;
  // The window form itself; nil until first needed and after it was dropped.
  TqvBorderWindow* Form() const { return form_; }
  // The border window's handle, made when missing; nil when it cannot be made.
  HWND BorderHandleNeeded();
  // Creates the border window when there is none.
  void CreateNewForm() override;
  // Brings the border window up to date: picture, position, size, region, alpha and z-order.
  void UpdateExBordersPos(bool Repaint, std::uint8_t Alpha) override;
  // The border window's region (nil when there is no border window); the caller owns it.
  HRGN BorderRgn(int NewWidth, int NewHeight);
  HRGN MakeFormRgn() override { return BorderRgn(0, 0); }
  // The owner's region (its client part) moved by X and Y; with Flag, or for a maximised
  // owner, only what lies on its monitor's work area. The caller owns it.
  HRGN MakeParentRgn(int X, int Y, bool Flag) override;
  // Puts the full region back after a mouse hole or a top cut.
  void ResetRegion();
  // For a while (after the owner's activation changed or it moved), puts the border window
  // back beside its owner whenever the system's order has it apart: a display that tells the
  // system where a window came to view has it restack windows later, without a message.
  void WatchStacking();
  // Asks for the border window's place to be seen to once the message that asks is over.
  void RequestStacking();
  // ---- the mouse
  // The hit code of the screen point of a mouse message (its LParam) over the border window,
  // by the title's scheme; -1 for none.
  int HitTest(vcl::TMessage& Message);
  // The message's point lies in the shadow band outside the frame's mouse area. Client mouse
  // messages carry the border window's client coordinates, others screen coordinates.
  bool InShadow(vcl::TMessage& Message);
  // The border window's own messages.
  void BorderWndProc(vcl::TMessage& Message);

 protected:
  // The owner's window is maximised or minimised.
  bool OwnerZoomed() const;
  bool OwnerIconic() const;

 private:
  // The picture of the form's client part taken from the screen while an animation runs.
  void RefreshClientFromScreen(HWND Owner);
  void DropForm();
  // ---- the border window's messages, one handler each
  void NCHitTest(vcl::TMessage& Message);
  void SetCursorMessage(vcl::TMessage& Message);
  void NCMouseMove(vcl::TMessage& Message);
  void NCMouseLeave(vcl::TMessage& Message);
  // Presses and releases on the frame go to the owner's window, which mostly computes their
  // hit code itself.
  void NCLButtonDown(vcl::TMessage& Message);
  void NCButtonUp(vcl::TMessage& Message);
  void NCRButtonDown(vcl::TMessage& Message);
  void ForwardToOwner(vcl::TMessage& Message, UINT Msg, WPARAM WParam);
  void MouseActivate(vcl::TMessage& Message);
  void SetFocusMessage(vcl::TMessage& Message);
  void MoveMessage(vcl::TMessage& Message);
  void WindowPosChanging(vcl::TMessage& Message);
  void WindowPosChanged(vcl::TMessage& Message);
  // ---- the place in z-order (BorderFormStacking.cpp)
  // Windows are being raised in turn to stack a border window beside its owner.
  static bool Restacking();
  // Nothing may restack the border window now (hidden, an animation owns it, its owner stays on
  // top by its own rules or is minimised).
  bool StackingHeld() const;
  // The shown windows above Owner in the system's order, the lowest first, each border window
  // right after (over) its owner; nothing when one is another thread's.
  static std::optional<std::vector<HWND>> WindowsAbove(HWND Owner);
  // Keeps the list of live border forms.
  static void Register(TqvBorderForm* Form, bool Live);
  // Raises the windows in turn (the lowest first), this border form busy meanwhile.
  void Raise(const std::vector<HWND>& BottomUp);
  // Shown while windows lie over its owner: stacked beside it below them once what showed it is
  // over (a change of skin hides the forms meanwhile).
  void StackShownBesideOwner();
  // Puts the border window beside its owner on the display and in the system's order; Shown:
  // it was just shown, over every window on the display.
  void StackBesideOwner(bool Shown);
  // The request's message: true when Message was it.
  bool StackingMessage(vcl::TMessage& Message);
  // The border window was restacked (its WM_WINDOWPOSCHANGED).
  void Restacked(const WINDOWPOS* Pos);
  void ShowWindowMessage(vcl::TMessage& Message);
  void OtherMessage(vcl::TMessage& Message);
  void CutMouseHole(vcl::TMessage& Message);
  void StackingTick(vcl::TObject* Sender);
  // A blended move of the border window snaps the form's place to the edges near it.
  void SnapMovingWindow(vcl::TMessage& Message);
  // A double click on the frame: an edge stretches the form over its work area (or back), the
  // caption maximises or restores, the icon closes, a title-bar item is clicked.
  void DoubleClick(vcl::TMessage& Message);
  void StretchHeight();
  void StretchWidth();
  // The work area of the owner's monitor.
  RECT OwnerWorkArea() const;
  // A screen point in the border window's coordinates.
  vcl::TPoint ToBorder(LPARAM ScreenPoint) const;

  // Ended first thing by the destructor: a handler whose command freed this object (the
  // owner drops its border form when the form is maximised with native borders, closed or
  // unskinned) asks it before touching anything more.
  vcl::TLifetime lifetime_;
  std::unique_ptr<TqvBorderOwner> owner_;
  TqvBorderWindow* form_ = nullptr;
  vcl::TWindowProcHook hook_;
  vcl::TRect last_bounds_;
  // What the display shows of the last picture, where it shows pictures all or nothing; nil
  // elsewhere, and while an animation or a size change owns the picture.
  vcl::UniqueRegion shown_rgn_;
  static constexpr unsigned kStackingInterval = 50;
  static constexpr int kStackingTicks = 40;
  std::unique_ptr<vcl::TTimer> stacking_timer_;
  int stacking_ticks_ = 0;
  // A request is posted and not yet handled; it follows a show.
  bool stacking_posted_ = false;
  bool stacking_shown_ = false;
};

}  // namespace skin_layered
