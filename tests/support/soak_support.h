// What the soak tests of both engines measure between rounds: the process's committed memory,
// the windows of this thread, the GDI objects and DCs of the program, and a line of the
// library's live counts for the log.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/LiveCounts.h"
#include "support/gdi_counts.h"

namespace wintest {

// The rounds of a soak: a short run in make test, the long one (200) where SCRIVANE_SOAK_ROUNDS
// asks for it (make test-whole). Fewer than 10 would leave too few rounds to tell a leak from
// the one-time steps.
inline int SoakRounds() {
  constexpr int kShort = 30, kLeast = 10, kMost = 100000;
  const char* asked = std::getenv("SCRIVANE_SOAK_ROUNDS");
  const int rounds = asked ? std::atoi(asked) : kShort;
  return std::clamp(rounds, kLeast, kMost);
}

// Rounds after the first that may leave something new behind (lazy one-time objects).
inline constexpr int kSoakOneTimeSteps = 4;
// Heap growth the allocator may keep for itself over the run.
inline constexpr int64_t kSoakMemoryMargin = 4 << 20;

// The soaked form's main menu (three menus of one item each), and the form moved off the
// screen: the engine's work is measured, not the painting of every round.
inline void PrepareSoakForm(vcl::TForm* Form) {
  auto* menu = new vcl::TMainMenu(Form);
  for (const wchar_t* caption : {L"&File", L"&Edit", L"&Help"}) {
    auto* top = new vcl::TMenuItem(Form);
    top->SetCaption(caption);
    menu->Items()->Add(top);
    auto* item = new vcl::TMenuItem(Form);
    item->SetCaption(L"&Item");
    top->Add(item);
  }
  Form->SetMenu(menu);
  Form->SetBounds(-4000, -3000, Form->Width(), Form->Height());
}

inline int64_t CommittedMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters))
    return 0;
  // Wine leaves the private bytes out; the commit charge is there.
  return static_cast<int64_t>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

// The windows of this thread, children included, as the system counts them.
inline int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* n = reinterpret_cast<int*>(p);
        ++*n;
        EnumChildWindows(
            w, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<int*>(q), TRUE; }, p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

inline void PrintCounts(const char* when, const vcl::TLiveCounts& counts, int windows, int64_t memory) {
  std::printf("[ counts ] %-10s", when);
  for (int i = 0; i < vcl::kLiveKindCount; ++i)
    std::printf(" %ls %lld,", vcl::LiveKindName(static_cast<vcl::TLiveKind>(i)),
                static_cast<long long>(counts[static_cast<size_t>(i)]));
  std::printf(" thread windows %d, committed memory %lld KiB; GDI: %s\n", windows,
              static_cast<long long>(memory / 1024), GdiCountsText(CountGdi()).c_str());
}

// Follows the highest counts seen: a round that leaves more of anything than every round
// before it grew. A leak grows every round, lazy one-time objects a few times at most.
struct SoakPeaks {
  vcl::TLiveCounts peak{};
  GdiCounts peakGdi{};
  int peakWindows = 0;
  int growingRounds = 0;

  // Takes a round's counts (the program's GDI objects and DCs too); true when it grew (the
  // first round counts as none).
  bool Take(int round, const vcl::TLiveCounts& now, int windows) {
    bool grew = windows > peakWindows;
    peakWindows = std::max(peakWindows, windows);
    for (size_t i = 0; i < now.size(); ++i) {
      grew = grew || now[i] > peak[i];
      peak[i] = std::max(peak[i], now[i]);
    }
    const GdiCounts gdi = CountGdi();
    for (size_t i = 0; i < gdi.live.size(); ++i) {
      grew = grew || gdi.live[i] > peakGdi.live[i];
      peakGdi.live[i] = std::max(peakGdi.live[i], gdi.live[i]);
    }
    if (round > 0 && grew) {
      ++growingRounds;
      return true;
    }
    return false;
  }
};

}  // namespace wintest
