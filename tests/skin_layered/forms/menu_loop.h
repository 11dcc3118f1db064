// Menu loops run by tests with a deadline, and the popup window they show; shared by the form
// skinning's tests and the incomplete skins' test.
#pragma once

#include <windows.h>

#include <functional>

#include "skin_layered/core/WindowUtils.h"

namespace skin_layered::test {

// Menu loops: a thread timer calls Tick every 30 ms inside the loop; the loop is cancelled
// (EndMenu) when Tick answers true and in any case after 4 seconds. The pointer's moves do not
// reach the loop.

struct LoopDriver {
  std::function<bool(int)> tick;
  int ticks = 0;
  ULONGLONG deadline = 0;
  bool late = false;
};
inline LoopDriver* g_driver = nullptr;

inline void CALLBACK DriverTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_driver) return;
  ++g_driver->ticks;
  if (GetTickCount64() > g_driver->deadline) g_driver->late = true;
  if (g_driver->late || g_driver->tick(g_driver->ticks)) EndMenu();
}

// The loop does not follow the pointer: it is shared with the test programs running beside this
// one, and one moving it over the popup would select the item under it.
inline LRESULT CALLBACK SkipPointerMoves(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_MENU && (m->message == WM_MOUSEMOVE || m->message == WM_NCMOUSEMOVE)) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
struct PointerMovesSkipped {
  HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, &SkipPointerMoves, nullptr, GetCurrentThreadId());
  ~PointerMovesSkipped() { UnhookWindowsHookEx(hook); }
};

// True when the loop ended before the deadline.
inline bool RunMenuLoop(const std::function<void()>& open, std::function<bool(int)> tick) {
  LoopDriver driver{std::move(tick), 0, GetTickCount64() + 4000};
  g_driver = &driver;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, &DriverTick);
  {
    const PointerMovesSkipped deaf;
    open();
  }
  KillTimer(nullptr, timer);
  g_driver = nullptr;
  return !driver.late;
}

inline HWND VisiblePopupWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        if (IsWindowVisible(w) && GetWndClassName(w) == L"#32768") {
          *reinterpret_cast<HWND*>(out) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace skin_layered::test
