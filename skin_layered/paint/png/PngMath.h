// Integer and rounding helpers shared by the PNG reader and its colour manager.
#pragma once

#include <cmath>
#include <cstdint>

namespace skin_layered {

// a × b / c on 16-bit values with the product held in 32 bits; the quotient is truncated
// and kept to 16 bits. A zero divisor gives 0.
constexpr std::uint16_t MulDiv16(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
  return c == 0 ? 0 : static_cast<std::uint16_t>(std::uint32_t{a} * b / c);
}

// Rounds to the nearest integer, ties to the even one, whatever the FPU rounding mode.
inline double RoundHalfEven(double v) {
  const double r = std::round(v);
  if (std::fabs(v - std::trunc(v)) == 0.5) return 2.0 * std::round(v / 2.0);
  return r;
}

}  // namespace skin_layered
