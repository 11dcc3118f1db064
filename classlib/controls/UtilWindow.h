// Utility windows: hidden top-level windows (class "TPUtilWindow") whose messages go to a
// window method, for objects that need a window but are no control (timers, ...).
#pragma once

#include "classlib/controls/Messages.h"

namespace vcl {

// Makes the window; its messages go to Method (which answers unhandled ones itself, usually
// with DefWindowProc). Free it with DeallocateHWnd.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// An owned utility window.
class TUtilWindow {
 public:
  TUtilWindow() = default;
  explicit TUtilWindow(TWndMethod Method) : wnd_(AllocateHWnd(Method)) {}
  ~TUtilWindow() { DeallocateHWnd(wnd_); }
  TUtilWindow(const TUtilWindow&) = delete;
  TUtilWindow& operator=(const TUtilWindow&) = delete;

  HWND Handle() const { return wnd_; }

 private:
  HWND wnd_ = nullptr;
};

}  // namespace vcl
