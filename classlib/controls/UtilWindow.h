// Utility windows: hidden windows (class "TPUtilWindow") whose messages go to a window method,
// for objects that need a window but are no control (timers, ...).
#pragma once

#include "classlib/controls/Messages.h"

namespace vcl {

// Makes the window; its messages go to Method (which answers unhandled ones itself, usually
// with DefWindowProc). Free it with DeallocateHWnd. A top-level window by default; with
// Parent HWND_MESSAGE a message-only one, which gets no broadcasts and is much cheaper to
// make (under Wine a top-level window costs a window on the display as well).
HWND AllocateHWnd(TWndMethod Method, HWND Parent = nullptr);
void DeallocateHWnd(HWND Wnd);

// An owned utility window.
class TUtilWindow {
 public:
  TUtilWindow() = default;
  explicit TUtilWindow(TWndMethod Method, HWND Parent = nullptr) : wnd_(AllocateHWnd(Method, Parent)) {}
  ~TUtilWindow() { DeallocateHWnd(wnd_); }
  TUtilWindow(const TUtilWindow&) = delete;
  TUtilWindow& operator=(const TUtilWindow&) = delete;

  HWND Handle() const { return wnd_; }

 private:
  HWND wnd_ = nullptr;
};

}  // namespace vcl
