// A hook of the system's (SetWindowsHookEx) held for as long as its owner wants it: unhooked
// on reset and when the holder goes, and counted among the live system hooks.
#pragma once

#include <windows.h>

#include <utility>

#include "classlib/rtl/LiveCounts.h"

namespace vcl {

class TUniqueHook {
 public:
  TUniqueHook() = default;
  ~TUniqueHook() { reset(); }
  TUniqueHook(const TUniqueHook&) = delete;
  TUniqueHook& operator=(const TUniqueHook&) = delete;

  HHOOK get() const { return hook_; }
  explicit operator bool() const { return hook_ != nullptr; }
  void reset(HHOOK Hook = nullptr) {
    if (hook_ == Hook) return;
    if (hook_) {
      UnhookWindowsHookEx(hook_);
      detail::CountLive(TLiveKind::SystemHooks, -1);
    }
    hook_ = Hook;
    if (hook_) detail::CountLive(TLiveKind::SystemHooks, 1);
  }

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace vcl
