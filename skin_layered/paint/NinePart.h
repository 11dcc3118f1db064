// Images of any format drawn into rectangles of any size by GDI: a frame by nine parts, and
// a texture by its draw mode. Both stay inside their destination rectangle.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/pixels/SkinPieces.h"

namespace skin_layered {

// How each side of a nine-part frame is filled: 0 tiled, 1 stretched.
struct TqvSideModes {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// S of Source into D of Target by nine parts, stretching with HALFTONE. The corners are
// copied 1:1, each as high (at the top or bottom) as its margin limited by Limits and, where
// the margin exceeds the limit, narrowed to the limit beside the side below or above it. The
// sides between the corners are tiled (partial pieces at their ends) or stretched by their
// mode; the centre is painted only with FillCentre, stretched with StretchCentre, else tiled.
// A side or centre of no source size is left out, and nothing is drawn outside D.
void DrawNinePart(vcl::TBitmap* Target, vcl::TBitmap* Source, const vcl::TRect& D, bool FillCentre,
                  bool StretchCentre, const TqvSideModes& SideModes, const TNineMargins& Limits,
                  const TNineMargins& Margins, const vcl::TRect& S);

// "Covered all of it": the rectangle a texture fill reports when nothing is left.
inline constexpr vcl::TRect kAllCovered{-1, -1, -1, -1};

// The image's picture (its own bitmap, else its skin's master bitmap) drawn into R of the
// canvas by draw mode, never outside R. R comes back as what is left uncovered (kAllCovered
// when nothing is):
//  1 stretched over R; 10 and 0 tiled over R; 11 rows stretched to R's width, 12 columns
//  stretched to R's height, the last cut at R's edge;
//  4 stretched to R's width along the top, 5 to R's height along the left;
//  2 a row of pictures along the top, 3 a column along the left, 6 a row along the bottom,
//  7 (and 8, 9, 13, 14) a column along the right; R loses the strip they cover.
// Other modes, or an image without picture, paint nothing and leave R.
void FillByImage(vcl::TCanvas* Canvas, vcl::TRect& R, int Mode, const TsMaskData& Image);

}  // namespace skin_layered
