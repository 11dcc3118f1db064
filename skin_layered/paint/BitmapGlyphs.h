// Small glyphs: the triangle arrows of skinned controls and icons made from 32-bit bitmaps.
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// A small triangle arrow centred in R, set pixel by pixel in Color. Direction 0 points
// left and 2 right (4 columns of 7, 5, 3 and 1 pixels), 1 up and 3 down (4 rows of 8, 6, 4
// and 2 pixels); other directions draw nothing.
void DrawArrow(vcl::TCanvas* Canvas, vcl::TColor Color, const vcl::TRect& R, int Direction);

// An icon of the bitmap's size whose colour is the bitmap's pixels with their alpha and
// whose mask is white where the alpha is 0. A bitmap that is not 32-bit is made 32-bit in
// place first, with alpha 0 on the key colour 0xFF00FF and 255 elsewhere (the colour
// argument does not change that). Empty for an empty bitmap.
vcl::UniqueIcon IconFromBitmap(vcl::TBitmap* Bmp, vcl::TColor Color);

// An icon of a bitmap whose top-left pixel gives its transparent colour: transparent wherever
// the bitmap has that colour, the bitmap's pixels elsewhere (with their alpha when it has
// any, else opaque). The caller's bitmap is left as it is. Empty for an empty bitmap.
vcl::UniqueIcon MakeIcon32(vcl::TBitmap* Bmp);

}  // namespace skin_layered
