// What the skinned scroll bars' mouse interaction shares between every scroll adapter of the
// GUI thread: the hot bar and part, the part pressed and repeating, the thumb being dragged
// (one bar of one window at a time), and the seams through which it reads the mouse.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/rtl/Types.h"

namespace skin_layered {

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

// Seams of the mouse interaction for tests: the cursor's screen position and whether the
// left button is down (nullptr restores the system's). Each answers the one before.
using TqvCursorQuery = std::function<POINT()>;
using TqvButtonQuery = std::function<bool()>;
TqvCursorQuery SetScrollCursorQuery(TqvCursorQuery Query);
TqvButtonQuery SetScrollButtonQuery(TqvButtonQuery Query);
// The cursor's screen position as every adapter reads it (hover of buttons too): through the
// seam above when one is set.
POINT AdapterCursorPos();
// Whether the physical button acting as the left one is down: through the seam when set.
bool AdapterLeftButtonDown();

}  // namespace skin_layered
