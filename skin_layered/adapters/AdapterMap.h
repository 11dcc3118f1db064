// Each adapted window's adapter, kept in the process beside the window property that
// publishes it. Finding a window's adapter is asked on every paint and scroll-bar call; under
// Wine reading a window property is a round trip to the window server, a lookup here is not.
//
// An entry goes when its adapter detaches or is freed, and when its window is destroyed
// (WM_NCDESTROY reaches the adapter through the hook or subclass it attached by). A window
// destroyed without telling its adapter is caught on the next lookup: the entry of a window
// that no longer exists is dropped and nothing is answered.
#pragma once

#include <windows.h>

#include <shared_mutex>
#include <unordered_map>

namespace skin_layered {

class TqvMainWnd;

class TqvAdapterMap {
 public:
  TqvAdapterMap() = default;
  TqvAdapterMap(const TqvAdapterMap&) = delete;
  TqvAdapterMap& operator=(const TqvAdapterMap&) = delete;

  // Adapter becomes the window's adapter (replacing an earlier one).
  void Set(HWND Wnd, TqvMainWnd* Adapter);
  // Drops the window's entry while it holds Adapter (a newer adapter of the window stays).
  // Adapter is only compared, never used: it may be gone already. True when dropped.
  bool Remove(HWND Wnd, const TqvMainWnd* Adapter);
  // The window's adapter, nil when none or when the window no longer exists.
  TqvMainWnd* Find(HWND Wnd);

 private:
  std::shared_mutex lock_;
  std::unordered_map<HWND, TqvMainWnd*> map_;
};

// The process's map. Never freed: a window destroyed while statics are torn down after main
// returns still finds it.
TqvAdapterMap& AdapterMap();

}  // namespace skin_layered
