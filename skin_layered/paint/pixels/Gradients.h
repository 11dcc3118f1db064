// Multi-stop gradients of skin states: the parsed stops, the items of their text, and the
// painting of vertical and horizontal gradients (plain or mixed with a tiled texture) into
// 32-bit pixels. The five-point mesh is the system's to paint.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "skin_layered/core/SkinTypes.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/pixels/Blending.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

// How a gradient runs; only the first stop's mode counts.
inline constexpr std::int32_t kGradientVertical = 0;    // top to bottom
inline constexpr std::int32_t kGradientHorizontal = 1;  // left to right
inline constexpr std::int32_t kGradientMesh = 2;        // five coloured points

// The stops (TsGradStop, TsGradArray) are the skin tables' type.

// The items of a gradient text: separated by ";", a run of separators counting as one and
// separators at either end ignored.
std::vector<std::wstring_view> GradientItems(std::wstring_view text);

// R cut to the bitmap (right and bottom lowered to its size, left and top raised to 0).
TPixelRect ClipToView(TPixelRect r, const TPixelView& view);

// Paints a vertical or horizontal gradient into R (bitmap coordinates, clipped) with the
// given alpha. Nothing for an empty rectangle or array, the mesh or an unknown mode.
void PaintGradientPixels(const TPixelView& bmp, TPixelRect r, const TsGradArray& stops, std::uint8_t alpha);

// The same, each pixel mixed with the texture tiled from the bitmap's origin (texture area
// TextureRect, cut to the texture): ((T - G) * TextureWeight + G * 256) shr 8 per colour
// channel, alpha := Alpha. Nothing when the texture area is empty.
void PaintGradientTexturedPixels(const TPixelView& bmp, TPixelRect r, const TsGradArray& stops, std::uint8_t alpha,
                                 std::uint8_t textureWeight, const TPixelView& texture, TPixelRect textureRect);

}  // namespace skin_layered
