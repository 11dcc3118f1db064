// Per-pixel colour transforms of 32-bit bitmaps (tone, brightness, saturation, hue), channel
// copies and the half-mask alpha, as pure functions over pixel rows. The bitmap routines
// walk a bitmap's rows and hand each one to these.
#pragma once

#include <cstdint>
#include <span>

#include "skin_layered/paint/ColorValue.h"

namespace skin_layered {

// A pixel function and its argument (a tone colour, hue offset or saturation amount).
using TPixelFunc = void (*)(TPixel32& pixel, std::int32_t data);

// Calls Func on every pixel of the row. Unless Key is kNoColor, pixels whose whole value
// equals the key in pixel byte order (alpha included) are left alone.
void ChangeRowPixels(std::span<TPixel32> row, TPixelFunc func, std::int32_t data, TColorValue key);

// The tone formula: each of red, green, blue becomes the largest channel times the tone's
// channel div 256; alpha kept.
TPixel32 ToneColor(TPixel32 pixel, TColorValue tone);
void ColorizePixel(TPixel32& pixel, std::int32_t tone);
// Hue shift by Offset degrees through HSV; a grey pixel is unchanged.
void HuePixel(TPixel32& pixel, std::int32_t offset);
// Channels move away from (positive) or toward (negative) their average; -255 gives grey.
void SaturationPixel(TPixel32& pixel, std::int32_t amount);

TColorValue ChangeBrightness(TColorValue color, int amount);
TColorValue ChangeSaturation(TColorValue color, int amount);
TColorValue ChangeHue(int offset, TColorValue color);
// (byte 0) shl 16 + (byte 1) shl 8 + color shr 16.
TColorValue SwapRedBlue(TColorValue color);

// Target's byte Channel (0..3) of every pixel := the source's.
void CopyChannelRow(std::span<TPixel32> target, std::span<const TPixel32> source, unsigned channel);
// Extract: Plane := byte Channel of each pixel; otherwise the other way.
void ChannelToPlaneRow(std::span<TPixel32> row32, std::span<std::uint8_t> plane, unsigned channel,
                       bool extract);
// Alpha of each colour pixel := 255 - red of the mask pixel below it.
void MaskRowToAlpha(std::span<TPixel32> colorRow, std::span<const TPixel32> maskRow);

}  // namespace skin_layered
