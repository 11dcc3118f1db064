// BMP files for skins: any 24-bit picture, and the synthetic skins' pictures made of
// flat-coloured frames side by side or stacked, so that one pixel tells which frame of which
// picture was drawn.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace skinpack {

// Colours are the class library's values: red in the low byte.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) {
  return static_cast<Rgb>(r & 0xFF) | static_cast<Rgb>(g & 0xFF) << 8 | static_cast<Rgb>(b & 0xFF) << 16;
}
inline constexpr Rgb kMagenta = 0xFF00FF;

// A 24-bit bottom-up BMP file whose pixel (x, y) (y = 0 at the top) is pixel(x, y).
std::vector<std::uint8_t> Bmp24(int width, int height, const std::function<Rgb(int x, int y)>& pixel);

// Frames of frameWidth x frameHeight, each flat in its colour, side by side (or stacked).
std::vector<std::uint8_t> FramesBmp(int frameWidth, int frameHeight, const std::vector<Rgb>& colours,
                                    bool stacked = false);

// A colour for frame `frame` (1-based) of picture `id`; never the key colour, and distinct
// for distinct (id, frame) pairs with id < 256 and frame < 6.
constexpr Rgb FrameColour(int id, int frame) { return MakeRgb(id, 40 * frame + 10, 255 - id); }
std::vector<Rgb> FrameColours(int id, int frames);

}  // namespace skinpack
