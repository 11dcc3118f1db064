// Skinned forms and dialogs shown, hidden and changed to a new skin with a short animation: the
// window's rendered image is put on a layered window and faded (and, in Aero mode, zoomed) in
// frames of 12 ms. Show and change animations run to their end before they return; a hide
// animation runs on the hide timer's ticks (or to its end at once while the application is
// terminating). Every image reaches the screen through UpdateLayeredWnd (LayeredWindows.h).
// Also here: capturing a control into a bitmap, painting graphic children into a device
// context, the plain output window of the change fallback, and a hint shown at a point.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/ThreadedTimer.h"

namespace skin_layered {

// Frames follow each other every 12 ms.
inline constexpr int kAnimationFrameTime = 12;
// The number of steps of an animation of Time ms (frames 0..Steps are shown).
constexpr int AnimationSteps(int Time) { return Time > 0 ? Time / kAnimationFrameTime : 0; }

// One frame shown, for those who watch: the animation's kind, the frame's number and its
// alpha (or, in the change fallback, the old image's weight).
enum class TqvAnimationKind { Show, Hide, Change, ChangeFallback, Dialog };
struct TqvAnimationFrame {
  TqvAnimationKind Kind;
  int Index;
  int Alpha;
};

// What the animations ask of time and of the application; tests put in their own so that
// nothing waits for real time.
struct TqvAnimationClock {
  std::function<DWORD()> Tick;                     // milliseconds, as GetTickCount
  std::function<void(DWORD Until)> WaitUntil;      // returns once Tick reaches Until
  std::function<bool()> Terminating;               // the application is terminating
  std::function<void(const TqvAnimationFrame&)> OnFrame;
};
// Replaces the clock (empty members: the system's) and answers the one before.
TqvAnimationClock SetAnimationClock(TqvAnimationClock Clock);
// The clock's milliseconds.
DWORD AnimationTick();
// Processes the application's messages until Done answers true or MaxTime ms of the clock
// have passed (every wait of an animation is bounded); answers Done's last answer. Done may be
// empty: the whole time is waited.
bool ProcessMessagesUntil(const std::function<bool()>& Done, DWORD MaxTime);

// The change fallback's plain popup (no parent: owned by the application window, top-most
// with a top-most owner): Color 0xFF00FF, Caption "qvOutputWindow", Tag 256; it erases and
// frames nothing.
class TOutputWindow : public vcl::TCustomControl {
  VCL_CLASS(TOutputWindow, vcl::TCustomControl)
 public:
  explicit TOutputWindow(vcl::TComponent* AOwner);

 protected:
  void CreateParams(vcl::TCreateParams& Params) override;
  void WndProc(vcl::TMessage& Message) override;
};

// Fades (Aero: fades and zooms) a skinned form in to Alpha.
void AnimFormShow(TsSkinProviderBase* Provider, std::uint16_t Time, std::uint8_t Alpha, TqvAnimType Mode);
// Hides a skinned form with its manager's FormHide animation.
void AnimFormHide(TsSkinProviderBase* Provider);
// Fades Form (owned from now on, with Bmp) out on the hide timer; NotifyWnd's provider hears
// of the end (OnAfterAnimation with 1) in every case. Mode 1 zooms.
void StartHideAnimation(vcl::TCustomForm* Form, std::unique_ptr<vcl::TBitmap> Bmp, int Time, HWND NotifyWnd,
                        int Mode, std::uint8_t StartAlpha);
// The hide timer's form while a hide animation runs, else nil.
vcl::TCustomForm* HideAnimationForm();

void AnimShowDlg(TqvDialogWndBase* Adapter);
void AnimHideDlg(TqvDialogWndBase* Adapter);
// The dialog's client area into Bmp at the client offset.
void CopyDlgImage(TqvDialogWndBase* Adapter, vcl::TBitmap* Bmp, bool FromScreen);

// From the old look of a form (its provider's snapshot) to its new look in Time ms; a control
// that is not a form, or a system without layered windows, through an output window mixing
// the two images.
void AnimChangeForm(vcl::TControl* Control, int Time, std::uint8_t Alpha, bool Aero);

// Paints a control with its child windows into Bmp at X, Y (a hidden control: what lies behind
// it). With a provider that has a border form the client area gets alpha 255.
void PaintParentBgToBmp(vcl::TBitmap* Bmp, vcl::TControl* Control, int X, TsSkinProviderBase* Provider, int Y);
// The graphic child controls of Control painted into DC, moved by Offset, a see-through one
// over Control's own background.
void PaintControlsOnDC(HDC DC, vcl::TWinControl* Control, vcl::TPoint Offset, bool OnlyVisible);
// The work area of the form's monitor (its whole bounds for a stay-on-top form).
void GetFormWorkArea(vcl::TCustomForm* Form, vcl::TRect& R);
// A hint showing Text near the screen point: the hint manager's when there is one, else a
// window of the application's hint class (the caller frees it).
vcl::THintWindow* ShowHintAt(const vcl::String& Text, vcl::TPoint Point);
// The heights (alTop, alBottom) or widths (alLeft, alRight) of the visible children with that
// alignment added up; graphic children only when asked.
int GetAlignedChildrenSize(vcl::TWinControl* Container, vcl::TAlign Align, bool IncludeGraphic);
// The outermost ancestor of a window by GetParent (the window itself without one).
HWND GetTopParentWnd(HWND Wnd);
// The theme services read the current theme again.
void RefreshThemeServices();

}  // namespace skin_layered
