// The GDI objects and device contexts a test program makes and frees, counted by kind.
//
// Wine keeps no count of a process's GDI objects (GetGuiResources answers 0), so the program's
// own calls are watched instead: the first count points the program's imports of the
// functions of gdi32 and user32 that make and free such objects at counting ones. The library,
// both engines and the test itself are linked into the one executable and call through these
// imports, so every object any of them makes is seen; what the system's libraries make and free
// for themselves is not (and is not the program's to free). Counting starts with the program
// (before main); an object counts from its making to its freeing, or until it is handed to the
// system (a window region).
//
// A function whose entry code is patched through the address the program imports it by would
// have the counting function patched instead: the layered engine's
// system-colour option patches CreatePen so, so a program counting GDI objects leaves that
// option off.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace wintest {

enum class GdiKind {
  Bitmap,    // also the two bitmaps GetIconInfo hands out
  Brush,
  Pen,
  Font,
  Palette,
  Region,
  Icon,      // icons and cursors of the program's own (not the shared ones loaded by name)
  MemoryDC,  // CreateCompatibleDC until DeleteDC
  WindowDC,  // GetDC, GetDCEx and GetWindowDC until ReleaseDC, each taking counted
};
inline constexpr int kGdiKindCount = 9;

const char* GdiKindName(GdiKind Kind);

struct GdiCounts {
  std::array<int64_t, kGdiKindCount> live{};  // made and not yet freed
  std::array<int64_t, kGdiKindCount> made{};  // made since counting began

  int64_t Live(GdiKind Kind) const { return live[static_cast<size_t>(Kind)]; }
  int64_t Made(GdiKind Kind) const { return made[static_cast<size_t>(Kind)]; }
  int64_t LiveTotal() const;
  int64_t MadeTotal() const;
};

// The counts now.
GdiCounts CountGdi();

// The kinds of which more are live at After than at Before plus Margin, as "Region +2, WindowDC
// +1"; empty when none grew.
std::string GdiGrowth(const GdiCounts& Before, const GdiCounts& After, int64_t Margin = 0);

// Passes when no kind grew by more than Margin from Before to After; the failure names them.
::testing::AssertionResult NoGdiGrowth(const GdiCounts& Before, const GdiCounts& After, int64_t Margin = 0);

// A line of the counts for a test's log.
std::string GdiCountsText(const GdiCounts& Counts);

}  // namespace wintest
