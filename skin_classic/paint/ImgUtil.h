// Bitmap and colour routines of the classic skin engine: key-colour replacement, mirroring,
// flipping and rotation of skin bitmaps, colour blending, cached colour ramps, banded
// gradient fills and a hue/saturation measure.
#pragma once

#include <span>

#include "classlib/graphics/Graphics.h"

namespace winskin {

using vcl::TBitmap;
using vcl::TColor;
using vcl::TRect;

// Makes the bitmap 24-bit and paints every pixel that is exactly red 255, green 0, blue 255
// in Color.
void ReplaceKeyColor(TBitmap* Bitmap, TColor Color);
// Every row reversed / the rows in reverse order. 24- and 32-bit bitmaps keep their format;
// others become 24-bit.
void MirrorBitmap(TBitmap* Bitmap);
void FlipBitmap(TBitmap* Bitmap);
// A quarter turn counter-clockwise (the right edge becomes the top) / clockwise (the left
// edge becomes the top); the result is 24-bit with width and height exchanged.
void RotateLeft(TBitmap* Bitmap);
void RotateRight(TBitmap* Bitmap);

// Per channel (A x W + B x (scale - W) + scale / 2) div scale, with scale 100 for weights
// below 100 and 1000 from 100 up (so 100 means 10 % A). System colours are resolved first;
// channels are kept within 0..255.
TColor BlendColor(TColor A, TColor B, int Weight);

// A cached ramp of Count colours from A to B (16 slots, reused round-robin): the slot's
// index. Count below 1 fails an assertion (EAssertionFailed).
int GetGradient(int Count, TColor A, TColor B);
// The colours of a slot; empty for an index that is not a slot.
std::span<const TColor> GradientRamp(int Slot);

// Fills the part of Rect that is visible in the DC with one-pixel bands (rows when
// Vertical, else columns) going from A to B; bands outside the clip box are not painted
// but keep the colours they would have had.
void GradientFillRect(HDC DC, const TRect& Rect, TColor A, bool Vertical, TColor B);

// Hue and saturation scaled to 0..255; the saturation is 200 for any colour whose red,
// green and blue are all below 160.
struct THueSat {
  int Hue = 0;
  int Saturation = 0;
};
THueSat ColorHueSat(TColor Color);

}  // namespace winskin
