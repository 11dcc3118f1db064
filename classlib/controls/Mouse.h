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

}  // namespace vcl
