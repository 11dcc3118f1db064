// Drawing 32-bit images by their per-pixel alpha: the plain alpha copy of one bitmap onto
// another, and an alpha bitmap drawn into a canvas, optionally with a fading reflection.
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// The plain form of the alpha copy (no transparency share, no tint, no background to fill
// holes from): SrcRect of Src over DstRect of Dst, each colour channel moving toward the
// source by the source's alpha, d' = ((s - d) * a + d * 256) shr 8, the destination alpha
// the larger of the two. Key-coloured source pixels (0x00FF00FF) are holes and left alone.
// The size copied is the smaller rectangle's, within both bitmaps; a negative origin of
// either rectangle moves the other's by as much. With Reflect the source is mirrored below
// the copy, fading out, at most half the source's height less one row. Src is made 32-bit;
// nothing happens unless Dst is 32-bit.
void CopyTransBitmaps(const vcl::TRect& DstRect, const vcl::TRect& SrcRect, vcl::TBitmap* Dst, bool Reflect,
                      vcl::TBitmap* Src);

// Draws Bmp into R of the canvas: a 32-bit one blended by its alpha over what the canvas
// shows (scaled to R with HALFTONE when its size differs; with Reflect and at its own size
// a reflection follows below R, half R's height), any other one stretched into R.
void DrawAlphaBitmap(vcl::TCanvas* Canvas, vcl::TBitmap* Bmp, const vcl::TRect& R, bool Reflect);

}  // namespace skin_layered
