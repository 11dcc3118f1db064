// A raw top-level window with a menu bar, made and served by a thread of its own, as another
// program's window would be; closed and its thread joined when it goes. The engines' hooks
// may be told of such a window and must leave it alone.
#pragma once

#include <windows.h>

#include <future>
#include <thread>

namespace wintest {

class OtherThreadWindow {
 public:
  OtherThreadWindow(const wchar_t* className, DWORD style) {
    std::promise<HWND> made;
    auto window = made.get_future();
    thread_ = std::thread([&made, className, style] {
      HMENU bar = CreateMenu();
      AppendMenuW(bar, MF_STRING, 1, L"File");
      HWND w = CreateWindowExW(0, className, L"other", style, 30, 30, 240, 160, nullptr, bar,
                               GetModuleHandleW(nullptr), nullptr);
      made.set_value(w);
      MSG msg{};
      while (w && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_APP) DestroyWindow(w);  // the menu goes with it
        if (!IsWindow(w)) break;
        DispatchMessageW(&msg);
      }
    });
    wnd_ = window.get();
  }
  ~OtherThreadWindow() {
    if (wnd_) PostMessageW(wnd_, WM_APP, 0, 0);
    thread_.join();
  }
  OtherThreadWindow(const OtherThreadWindow&) = delete;
  OtherThreadWindow& operator=(const OtherThreadWindow&) = delete;
  HWND Get() const { return wnd_; }

 private:
  std::thread thread_;
  HWND wnd_ = nullptr;
};

}  // namespace wintest
