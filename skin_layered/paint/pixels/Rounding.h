// Rounding to the nearest integer, halves to even, as std::nearbyint does in the default
// rounding mode, without its call: mingw's saves and restores the floating-point state on
// every call, far too slow for a loop over pixels. No windows.h.
#pragma once

namespace skin_layered {

// X rounded; X must be a number below 2^62 in size. The fraction of a double is exact, so
// the result is nearbyint's for every such X.
constexpr long long NearestEven(double X) {
  const auto whole = static_cast<long long>(X);  // toward zero
  const double fraction = X - static_cast<double>(whole);
  if (fraction > 0.5 || (fraction == 0.5 && (whole & 1))) return whole + 1;
  if (fraction < -0.5 || (fraction == -0.5 && (whole & 1))) return whole - 1;
  return whole;
}

}  // namespace skin_layered
