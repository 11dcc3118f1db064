// The mouse as the program sees it: where the cursor is, which window holds the capture, and
// what the system's mouse can do.
#pragma once

#include "classlib/controls/Messages.h"
#include "classlib/rtl/Types.h"

namespace vcl {

class TMouse {
 public:
  // The cursor position in screen coordinates; setting it moves the cursor.
  TPoint CursorPos() const;
  void SetCursorPos(TPoint Value);
  // The window of this thread that captures the mouse (nil: none); setting nil releases it.
  HWND Capture() const;
  void SetCapture(HWND Value);
  bool MousePresent() const;
  bool WheelPresent() const;
  // Lines scrolled per wheel notch (WHEEL_PAGESCROLL: a page).
  int WheelScrollLines() const;
};

// The library's one mouse object.
extern TMouse* const Mouse;

// Asks the system for WM_MOUSELEAVE (WM_NCMOUSELEAVE with NonClient) when the pointer leaves the
// window; true when it tracks the window now. A pointer gone from the window already (its move
// handled late) gets the leave posted at once, as Windows does: Wine tracks nothing then and
// would never tell, leaving whatever the move made hot hot for good.
bool TrackMouseLeave(HWND Wnd, bool NonClient);

}  // namespace vcl
