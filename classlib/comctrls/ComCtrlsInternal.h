// Internals shared by the common controls' sources (not part of the library's interface).
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl::detail {

// The notification header a reflected CN_NOTIFY carries, or nil. The skin engines announce a
// skinned form with a message of the same number whose LParam is a small number, not a
// header; no header lives in the lowest 64 KiB of the address space.
inline const NMHDR* NotifyHeader(const TMessage& Message) {
  if (static_cast<ULONG_PTR>(Message.LParam) < 0x10000) return nullptr;
  return reinterpret_cast<const NMHDR*>(Message.LParam);
}

// Counts a nesting while it lives (exception-safe).
class Nesting {
 public:
  explicit Nesting(int& count) : count_(count) { ++count_; }
  ~Nesting() { --count_; }
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;

 private:
  int& count_;
};

}  // namespace vcl::detail
