// The yardstick of the start-up benchmark: a bare program that opens a window of the main
// window's size hosting the same browser control in the same place, navigates it to the
// same page and runs a message loop. No class library forms, no skin engines.
#include <windows.h>

#include "app/WebPages.h"
#include "classlib/ole/OleBrowserHost.h"

namespace {

// The main window's client size and its browser pane, as its form description lays them out.
constexpr int kClientWidth = 1424;
constexpr int kClientHeight = 931;
constexpr RECT kBrowser{433, 9, 433 + 991, 9 + 892};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ScrivaneBareHost";
  RegisterClassExW(&wc);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Bare host", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  vcl::OleBrowserHost browser(window, kBrowser);
  browser.Navigate(composer::kNoticePage);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
