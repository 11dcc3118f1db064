// The mouse interaction of skinned scroll bars (hover, arrows and pages repeating while held,
// the thumb dragged) and what it asks of the adapter whose bars it plays: TqvScrollTrackHost.
// The tracker sees the adapter only through it.
#pragma once

#include <windows.h>

#include "classlib/controls/Controls.h"
#include "classlib/rtl/Lifetime.h"
#include "skin_layered/adapters/ScrollBar.h"

namespace skin_layered {

inline constexpr UINT_PTR kHoverTimer = 0xFFF2;        // 20 ms
inline constexpr UINT_PTR kRepeatDelayTimer = 0xFFFD;  // 300 ms
inline constexpr UINT_PTR kRepeatTimer = 0xFFFE;       // 55 ms
inline constexpr UINT kHoverInterval = 20;
inline constexpr UINT kRepeatDelay = 300;
inline constexpr UINT kRepeatInterval = 55;

class TqvScrollTrackHost {
 public:
  // The adapted window and its horizontal or vertical bar (nil for other kinds or none).
  virtual HWND TrackHandle() const = 0;
  virtual TqvScrollBar* TrackBar(int Kind) const = 0;
  // The bar's rectangle on the screen, its margins not cut.
  virtual vcl::TRect BarScreenRect(const TqvScrollBar& Bar) = 0;
  // Both bars and the corner painted again as they stand (the hot and pressed parts from the
  // shared state); UpdateBars reads their SCROLLINFO first.
  virtual void RepaintBars() = 0;
  virtual void UpdateBars() = 0;
  // One bar at R (window coordinates) into DC as during a drag (the bars' usual painting
  // waits it out); ThumbStart >= 0 places the thumb there (along the bar, window
  // coordinates).
  virtual void PaintBarForDrag(TqvScrollBar& Bar, const vcl::TRect& R, int PressedPart, HDC DC, int ThumbStart) = 0;
  // A thumb of one of the bars is dragged.
  virtual bool ThumbDragged() const = 0;
  virtual void SetThumbDragged(bool Value) = 0;
  // The adapter itself scrolls: its bars are not painted meanwhile.
  virtual bool OwnScrolling() const = 0;
  virtual void SetOwnScrolling(bool Value) = 0;
  // Whether the adapter is still there after a message that may free it.
  virtual vcl::TLifetime::TWatch WatchLifetime() const = 0;
  // The control the adapter belongs to; nil for a window of no control.
  virtual vcl::TControl* TrackOwner() const = 0;
  // The drop-down list of a combo box keeps the mouse after a scroll, and its button-up
  // goes no further.
  virtual bool KeepsCaptureAfterScroll() const = 0;
  virtual bool SwallowsButtonUpAfterScroll() const = 0;

 protected:
  ~TqvScrollTrackHost() = default;
};

// The scroll adapter of a window as the tracker sees it; nil when it has none.
TqvScrollTrackHost* ScrollTrackHost(HWND Handle);

// The adapter's share of the mouse messages, for the adapters derived from it too; true when
// the message was answered and goes no further. A scroll message sent to the window may free
// its adapter (the program's handler frees the control, its form or the skin): the message is
// then answered, and neither these nor their callers touch the adapter again.
struct TqvScrollTracker {
  static bool NcMouseMove(TqvScrollTrackHost& Wnd, vcl::TMessage& Message);
  static bool NcButtonDown(TqvScrollTrackHost& Wnd, vcl::TMessage& Message);
  static bool Timer(TqvScrollTrackHost& Wnd, vcl::TMessage& Message);
  static bool MouseMove(TqvScrollTrackHost& Wnd, vcl::TMessage& Message);
  static bool ButtonUp(TqvScrollTrackHost& Wnd, vcl::TMessage& Message);
  static bool CaptureChanged(TqvScrollTrackHost& Wnd, vcl::TMessage& Message);
  // The window goes or its adapter leaves: nothing of the shared state stays with it.
  static void Forget(TqvScrollTrackHost& Wnd);
  // The part of the bar under a screen point (margins applied).
  static int HitPart(TqvScrollTrackHost& Wnd, TqvScrollBar& Bar, POINT Screen);
  // The system drew its own bars over the window's while its thumb is dragged: the dragged
  // bar goes over them again, its thumb under the cursor.
  static void RepaintDrag(TqvScrollTrackHost& Wnd);

 private:
  static void StartRepeat(TqvScrollTrackHost& Wnd, TqvScrollBar& Bar, int Part);
  static void StartDrag(TqvScrollTrackHost& Wnd, TqvScrollBar& Bar, POINT Screen);
  // These answer false when a message they sent took the adapter or its window away.
  static bool TrackThumb(TqvScrollTrackHost& Wnd, POINT Screen);
  // The cursor moved while a part is held (screen point).
  static bool FollowCursor(TqvScrollTrackHost& Wnd, POINT Screen);
  // The press ends: the capture given back (Release), the last scroll messages, the bar
  // painted without it.
  static bool EndTracking(TqvScrollTrackHost& Wnd, bool Release);
  static void LeaveHotBar();
};

}  // namespace skin_layered
