// Where a button puts its glyph and its caption inside its client rectangle.
#pragma once

#include "classlib/rtl/Types.h"

namespace skin_layered {

// Glyph and caption layouts, and caption alignments.
inline constexpr int kGlyphLeft = 0, kGlyphRight = 1, kGlyphTop = 2, kGlyphBottom = 3;
inline constexpr int kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2;

// Places a glyph of GlyphSize and a caption of TextSize (X width, Y height) inside Client:
// side by side (layouts 0 and 1, both centred vertically) or one above the other (layouts 2
// and 3, both centred horizontally and the pair vertically). Margin is the distance from the
// edge and Spacing the gap between the two, -1 for automatic. With DT_RIGHT in Flags the
// glyph goes to the other side. GlyphPos gets the glyph's top left, TextRect the caption's
// rectangle, both in Client's coordinates.
void CalcTextRect(const vcl::TRect& Client, vcl::TPoint GlyphSize, vcl::TPoint TextSize, int Layout, int Alignment,
                  int Margin, int Spacing, vcl::TPoint& GlyphPos, vcl::TRect& TextRect, unsigned Flags);

}  // namespace skin_layered
