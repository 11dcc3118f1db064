// Whole-area pixel routines on 32-bit pixels with an alpha byte: premultiplying, solid and
// faded fills, colour mixes, alpha fills, grey, bounds-checked pixel access and the byte
// order of big-endian words. Every rectangle is half-open (right and bottom outside) and is
// cut to the view first, so nothing outside the view is read or written.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/pixels/Blending.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

// The part of R inside the view; empty when none.
TPixelRect ClipToView(const TPixelView& view, TPixelRect r);

// Red, green and blue times alpha (c * a / 255, rounded), for drawing through a layered
// window. A fully transparent white pixel (0x00FFFFFF) becomes 0; an opaque one is unchanged.
void PremultiplyArea(const TPixelView& view, TPixelRect r);
// Every pixel whose value is exactly 0x00FFFFFF becomes 0.
void ClearWhiteArea(const TPixelView& view);

// Whether some pixel is partly transparent (alpha neither 0 nor 255).
bool HasPartialAlpha(const TPixelView& view);
// Target := Source made all or nothing, for a display that shows a layered window's pixels
// opaque whatever their alpha: a premultiplied pixel below half alpha becomes 0 (clear), any
// other opaque in its own colour (divided by its alpha again). Over the area both cover.
void AllOrNothingAlpha(const TPixelView& source, const TPixelView& target);
// The pixels of R that such a display shows (alpha of half or more, as AllOrNothingAlpha keeps
// them), one rectangle per run and row, appended to Runs.
void AppendShownRuns(const TPixelView& view, TPixelRect r, std::vector<TPixelRect>& runs);

// Every pixel of R := Value.
void FillArea(const TPixelView& view, TPixelRect r, TPixel32 value);
// Each colour channel moves Percent % of the way toward the colour's, c - Percent * (c - cc)
// div 100 (truncated toward zero, limited to 0..255); alpha := Alpha.
void FadeArea(const TPixelView& view, TPixelRect r, TColorValue color, int percent, std::uint8_t alpha);
// Each colour channel := MixChannel(c, cc, Percent); alpha kept.
void MixColorArea(const TPixelView& view, TPixelRect r, int percent, TColorValue color);
// round(c * p + cc * (1 - p)) with p = Percent / 100, halves to even, limited to 0..255: the
// value std::nearbyint gives, worked out without its call (Rounding.h).
std::uint8_t MixChannel(unsigned c, unsigned cc, int percent);
// Alpha := Alpha on every pixel of R, or, unless Color is kNoColor, on every pixel whose whole
// value differs from the colour in pixel order (its byte 3 included).
void FillAlphaArea(const TPixelView& view, TPixelRect r, std::uint8_t alpha, TColorValue color);
// Red, green and blue := their mean (truncated) on every pixel, or, unless Key is kNoColor,
// every pixel but those equal to the key in pixel order.
void GreyArea(const TPixelView& view, TColorValue key);

// The pixel at (x, y), 0 outside the view.
TPixel32 PixelAt(const TPixelView& view, int x, int y);
// Sets it; nothing outside the view.
void SetPixelAt(const TPixelView& view, int x, int y, TPixel32 value);

// The four bytes of a word reversed (big-endian numbers), one or many in place.
constexpr std::uint32_t SwapByteOrder(std::uint32_t v) {
  return v >> 24 | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | v << 24;
}
void SwapByteOrder(std::span<std::uint32_t> values);
// Count copies of Value.
void FillPixels(std::span<TPixel32> pixels, TPixel32 value);

}  // namespace skin_layered
