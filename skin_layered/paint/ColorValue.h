// Colour values and 32-bit pixels of the layered engine.
//
// A colour value holds red in byte 0, green in byte 1, blue in byte 2 and flags in byte 3.
// A pixel of a 32-bit bitmap holds blue, green, red and alpha in bytes 0 to 3; read as one
// little-endian word that is 0xAARRGGBB. The two convert by exchanging bytes 0 and 2.
#pragma once

#include <cstdint>

namespace skin_layered {

using TColorValue = std::uint32_t;
using TPixel32 = std::uint32_t;

// Stands for "no colour" wherever a colour argument may be absent.
inline constexpr TColorValue kNoColor = 0x1FFFFFFF;
// The transparent key colour of skin bitmaps (the same in both byte orders).
inline constexpr TColorValue kKeyColor = 0xFF00FF;

// Exchanges bytes 0 and 2 and keeps bytes 1 and 3.
constexpr std::uint32_t SwapBytes02(std::uint32_t v) {
  return (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
}

}  // namespace skin_layered
