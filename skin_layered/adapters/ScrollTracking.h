// The mouse interaction of skinned scroll bars, shared by every scroll adapter of the GUI
// thread: the hot bar and part, the part pressed and repeating, and the thumb being dragged.
// Internal to the scroll adapter (ScrollWnd.h is the interface).
#pragma once

#include <windows.h>

#include "classlib/controls/Messages.h"
#include "classlib/rtl/Types.h"

namespace skin_layered {

class TqvScrollWnd;
class TqvScrollBar;

struct TqvScrollState {
  int TrackedBar = -1;   // the bar pressed
  int HotBar = -1;
  HWND HotWnd = nullptr;  // the window of the hot bar
  int PressedPart = -1;  // the part shown pressed
  int PrevHotPart = -1;
  int HotPart = -1;
  int RepeatPart = -1;   // the part held
  HWND WndUnderMouse = nullptr;
  HWND TrackWnd = nullptr;  // the window of the press
  UINT ScrollMsg = 0;       // WM_HSCROLL or WM_VSCROLL of the tracked bar
  UINT_PTR HoverTimer = 0;
  UINT_PTR RepeatTimer = 0;
  int LastSentPos = -1;
  vcl::TRect HotBarRect;  // screen
  // A drag: the bar (screen), the thumb at the press and the mouse inside the thumb.
  vcl::TRect DragBarRect;
  int DragThumbLength = 0;
  int DragThumbStart = 0;
  int MouseOffset = 0;
};

TqvScrollState& ScrollState();

// The scroll adapter's share of the mouse messages; true when the message was answered and
// goes no further.
struct TqvScrollTracker {
  static bool NcMouseMove(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool NcButtonDown(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool Timer(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool MouseMove(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool ButtonUp(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static void CaptureChanged(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  // The window goes or its adapter leaves: nothing of the shared state stays with it.
  static void Forget(TqvScrollWnd& Wnd);
  // The part of the bar under a screen point (margins applied).
  static int HitPart(TqvScrollWnd& Wnd, TqvScrollBar& Bar, POINT Screen);
  static POINT CursorPos();
  static bool LeftButtonDown();

 private:
  static void StartRepeat(TqvScrollWnd& Wnd, TqvScrollBar& Bar, int Part);
  static void StartDrag(TqvScrollWnd& Wnd, TqvScrollBar& Bar, POINT Screen);
  static void TrackThumb(TqvScrollWnd& Wnd, POINT Screen);
  // The cursor moved while a part is held (screen point).
  static void FollowCursor(TqvScrollWnd& Wnd, POINT Screen);
  // The press ends: the last scroll messages, the capture given back (Release), the bar
  // painted without it.
  static void EndTracking(TqvScrollWnd& Wnd, bool Release);
  static void LeaveHotBar();
};

// The painting of the bars (ScrollPaint.cpp).
struct TqvScrollPainter {
  // One bar at R (window coordinates) into DC; ThumbStart >= 0 places the thumb there
  // (along the bar, window coordinates) for a drag.
  static void PaintBar(TqvScrollWnd& Wnd, TqvScrollBar& Bar, const vcl::TRect& R, int HotPart, int PressedPart,
                       HDC DC, int ThumbStart, bool ForDrag);
  static void PaintCorner(TqvScrollWnd& Wnd, const vcl::TRect& R, HDC DC);
};

}  // namespace skin_layered
