// Gradients of skin states: the gradient text read into stops once, when the skin loads, and
// painted into 32-bit bitmaps plainly or mixed with a tiled texture.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/pixels/Gradients.h"

namespace skin_layered {

// Empties Stops, then reads Text: items separated by ";" (runs and ends ignored), five per
// stop of which the first four are the start colour, end colour, share in percent (clamped
// to 0..100) and mode, each an integer; a remainder of fewer than five items is dropped.
// System colours are resolved here. An item that is not an integer raises EConvertError and
// leaves Stops empty.
void PrepareGradientArray(vcl::StringView Text, TsGradArray& Stops);

// Paints the stops into R of the 32-bit bitmap Bmp (cut to the bitmap) with alpha 255, by the
// first stop's mode: 0 rows from top to bottom, 1 columns from left to right, each stop
// taking its share and the last the rest; 2 a five-point mesh through the system's
// GradientFill (corners and centre from the first five stops' start colours), nothing when
// the system has none. Nothing for other modes, an empty rectangle or no stops.
void PaintGradient(vcl::TBitmap* Bmp, const vcl::TRect& R, const TsGradArray& Stops);

// Modes 0 and 1 as PaintGradient, each pixel mixed with the texture tiled from the bitmap's
// origin: ((T - G) * TextureWeight + G * 256) shr 8 per colour channel, alpha := Alpha.
// TextureRect is the texture's area in Texture (empty: all of it). Nothing when that area is
// empty and for other modes.
void PaintGradientTransparent(vcl::TBitmap* Bmp, const vcl::TRect& R, const TsGradArray& Stops, std::uint8_t Alpha,
                              std::uint8_t TextureWeight, const vcl::TRect& TextureRect, vcl::TBitmap* Texture);

}  // namespace skin_layered
