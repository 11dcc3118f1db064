// Whether a window is served by the calling thread. Only such a window's procedure can be
// replaced, and a thread's hooks may be told of other threads' and other programs' windows
// (hiding the active window activates the next one, whoever owns it): the engines take no
// window that fails this.
#pragma once

#include <windows.h>

namespace vcl {

// False for no window or a window gone (its thread reads as 0).
inline bool IsThreadWindow(HWND Wnd) {
  return Wnd && GetWindowThreadProcessId(Wnd, nullptr) == GetCurrentThreadId();
}

}  // namespace vcl
