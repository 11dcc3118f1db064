// Checks of many pixels in one assertion, each wrong one named by its place (no windows.h).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <sstream>

namespace skin_layered::test {

// A value expected at a place: a 32-bit pixel, or a colour read through GDI.
struct Probe {
  int x, y;
  std::uint32_t value;
};

template <class Read>
::testing::AssertionResult EveryPixel(std::initializer_list<Probe> expected, Read read) {
  std::ostringstream wrong;
  for (const Probe& p : expected)
    if (const std::uint32_t got = static_cast<std::uint32_t>(read(p.x, p.y)); got != p.value)
      wrong << " (" << p.x << "," << p.y << ") is 0x" << std::hex << got << " not 0x" << p.value << std::dec;
  if (wrong.str().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong.str();
}

}  // namespace skin_layered::test
