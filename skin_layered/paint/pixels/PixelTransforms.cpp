#include "skin_layered/paint/pixels/PixelTransforms.h"

#include <algorithm>
#include <cmath>

namespace skin_layered {
namespace {

constexpr unsigned Byte(std::uint32_t v, unsigned index) { return (v >> (8 * index)) & 0xFFu; }

constexpr std::uint32_t WithByte(std::uint32_t v, unsigned index, int value) {
  const unsigned shift = 8 * index;
  return (v & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(std::clamp(value, 0, 255)) << shift);
}

}  // namespace

void ChangeRowPixels(std::span<TPixel32> row, TPixelFunc func, std::int32_t data, TColorValue key) {
  if (key == kNoColor) {
    for (TPixel32& p : row) func(p, data);
    return;
  }
  const TPixel32 skip = SwapBytes02(key);
  for (TPixel32& p : row)
    if (p != skip) func(p, data);
}

TPixel32 ToneColor(TPixel32 pixel, TColorValue tone) {
  const unsigned m = std::max({Byte(pixel, 0), Byte(pixel, 1), Byte(pixel, 2)});
  const unsigned red = m * Byte(tone, 0) / 256;
  const unsigned green = m * Byte(tone, 1) / 256;
  const unsigned blue = m * Byte(tone, 2) / 256;
  return (pixel & 0xFF000000u) | red << 16 | green << 8 | blue;
}

void ColorizePixel(TPixel32& pixel, std::int32_t tone) {
  pixel = ToneColor(pixel, static_cast<TColorValue>(tone));
}

void HuePixel(TPixel32& pixel, std::int32_t offset) {
  const int r = static_cast<int>(Byte(pixel, 2));
  const int g = static_cast<int>(Byte(pixel, 1));
  const int b = static_cast<int>(Byte(pixel, 0));
  const int max = std::max({r, g, b});
  const int min = std::min({r, g, b});
  if (max == 0 || max == min) return;  // no saturation: no hue to turn
  const double v = max;
  const double s = static_cast<double>(max - min) / max;
  const double k = 60.0 / (max - min);
  double h;
  if (max == r) h = (g - b) * k;
  else if (max == g) h = 120 + (b - r) * k;
  else h = 240 + (r - g) * k;
  if (h < 0) h += 360;
  // Whole degrees; a negative offset may leave a negative remainder, brought into 0..359.
  int hue = static_cast<int>(std::trunc(offset + h)) % 360;
  if (hue < 0) hue += 360;
  const double sector = hue / 60.0;
  const int i = static_cast<int>(sector);
  const double f = sector - i;
  const double p = std::clamp((1 - s) * v, 0.0, 255.0);
  const double q = std::clamp((1 - s * f) * v, 0.0, 255.0);
  const double t = std::clamp((1 - (1 - f) * s) * v, 0.0, 255.0);
  double nr, ng, nb;
  switch (i) {
    case 0: nr = v; ng = t; nb = p; break;
    case 1: nr = q; ng = v; nb = p; break;
    case 2: nr = p; ng = v; nb = t; break;
    case 3: nr = p; ng = q; nb = v; break;
    case 4: nr = t; ng = p; nb = v; break;
    default: nr = v; ng = p; nb = q; break;
  }
  pixel = (pixel & 0xFF000000u) | static_cast<std::uint32_t>(nr) << 16 |
          static_cast<std::uint32_t>(ng) << 8 | static_cast<std::uint32_t>(nb);
}

void SaturationPixel(TPixel32& pixel, std::int32_t amount) {
  pixel = ChangeSaturation(pixel, amount);
}

TColorValue ChangeBrightness(TColorValue color, int amount) {
  if (amount == 0) return color;
  for (unsigned i = 0; i < 3; ++i) color = WithByte(color, i, static_cast<int>(Byte(color, i)) + amount);
  return color;
}

TColorValue ChangeSaturation(TColorValue color, int amount) {
  if (amount == 0) return color;
  const int avg = static_cast<int>((Byte(color, 0) + Byte(color, 1) + Byte(color, 2)) / 3);
  for (unsigned i = 0; i < 3; ++i) {
    const int b = static_cast<int>(Byte(color, i));
    color = WithByte(color, i, b - (avg - b) * amount / 255);
  }
  return color;
}

TColorValue ChangeHue(int offset, TColorValue color) {
  if (offset == 0) return color;
  TPixel32 pixel = SwapBytes02(color);
  HuePixel(pixel, offset);
  return SwapBytes02(pixel);
}

TColorValue SwapRedBlue(TColorValue color) {
  return (Byte(color, 0) << 16) + (Byte(color, 1) << 8) + (color >> 16);
}

void CopyChannelRow(std::span<TPixel32> target, std::span<const TPixel32> source, unsigned channel) {
  if (channel > 3) return;
  const std::uint32_t mask = 0xFFu << (8 * channel);
  const std::size_t n = std::min(target.size(), source.size());
  for (std::size_t i = 0; i < n; ++i) target[i] = (target[i] & ~mask) | (source[i] & mask);
}

void ChannelToPlaneRow(std::span<TPixel32> row32, std::span<std::uint8_t> plane, unsigned channel,
                       bool extract) {
  if (channel > 3) return;
  const std::size_t n = std::min(row32.size(), plane.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (extract) plane[i] = static_cast<std::uint8_t>(Byte(row32[i], channel));
    else row32[i] = WithByte(row32[i], channel, plane[i]);
  }
}

void MaskRowToAlpha(std::span<TPixel32> colorRow, std::span<const TPixel32> maskRow) {
  const std::size_t n = std::min(colorRow.size(), maskRow.size());
  for (std::size_t i = 0; i < n; ++i)
    colorRow[i] = (colorRow[i] & 0x00FFFFFFu) | (255u - Byte(maskRow[i], 2)) << 24;
}

}  // namespace skin_layered
