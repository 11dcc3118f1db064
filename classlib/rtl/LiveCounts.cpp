#include "classlib/rtl/LiveCounts.h"

#include <atomic>

namespace vcl {
namespace {

// Objects are made on worker threads too.
std::array<std::atomic<int64_t>, kLiveKindCount>& Counts() noexcept {
  static std::array<std::atomic<int64_t>, kLiveKindCount> counts{};
  return counts;
}

constexpr const wchar_t* kNames[kLiveKindCount] = {L"objects",   L"GDI objects",     L"DCs",    L"windows",
                                                   L"window-procedure hooks", L"subclasses", L"timers",
                                                   L"system hooks"};

}  // namespace

int64_t LiveCount(TLiveKind Kind) noexcept { return Counts()[static_cast<size_t>(Kind)].load(std::memory_order_relaxed); }

TLiveCounts LiveCounts() noexcept {
  TLiveCounts counts{};
  for (int i = 0; i < kLiveKindCount; ++i) counts[static_cast<size_t>(i)] = LiveCount(static_cast<TLiveKind>(i));
  return counts;
}

const wchar_t* LiveKindName(TLiveKind Kind) noexcept { return kNames[static_cast<size_t>(Kind)]; }

namespace detail {

void CountLive(TLiveKind Kind, int Delta) noexcept {
  Counts()[static_cast<size_t>(Kind)].fetch_add(Delta, std::memory_order_relaxed);
}

}  // namespace detail

}  // namespace vcl
