// Drawing a 32-bit image by its per-pixel alpha into a canvas, optionally with a fading
// reflection.
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// Draws Bmp into R of the canvas: a 32-bit one blended by its alpha over what the canvas
// shows (scaled to R with HALFTONE when its size differs; with Reflect and at its own size
// a reflection follows below R, half R's height), any other one stretched into R.
void DrawAlphaBitmap(vcl::TCanvas* Canvas, vcl::TBitmap* Bmp, const vcl::TRect& R, bool Reflect);

}  // namespace skin_layered
