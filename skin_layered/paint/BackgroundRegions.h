// Window shapes from bitmaps: runs of a colour collected row by row, a region of a bitmap
// less its key-coloured pixels, and the key-coloured runs of a skin image's corners that cut
// the rounded corners of a skinned window.
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {

// Appends one rectangle (one row high) for each horizontal run of pixels equal to the colour
// (a colour value, compared with the whole pixel; on a bitmap without alpha, with its colour).
void CollectColorRuns(TRects& Rects, vcl::TBitmap* Bmp, TColorValue Color);

// A region covering the bitmap less every pixel equal to the colour (as CollectColorRuns
// compares); an empty region for a nil or empty bitmap. The caller owns it.
void CreateRgnFromBmp(HRGN& Rgn, vcl::TBitmap* Bmp, TColorValue Color);

// A region of the runs (rectangles that do not overlap) within a Width x Height picture, made
// in one call; an empty region for no runs. The caller owns it.
HRGN RegionFromRuns(const std::vector<TPixelRect>& Runs, int Width, int Height);

// Appends the runs of hole pixels (0x00FF00FF) in the two top corners of the image's first
// state, or with Bottom in its two bottom corners, placed for a window Width wide: a run at
// column x of row r becomes (x, r + OffsetY, x + length, r + OffsetY + 1), the right corner's
// columns moved by Width less the state's width. The corners are as wide and high as the
// image's own margins. Nothing for an image without skin or picture, or a picture too short.
void AddMaskCornerRects(TRects& Rects, int Width, const TsMaskData& Image, bool Bottom, int OffsetY);

}  // namespace skin_layered
