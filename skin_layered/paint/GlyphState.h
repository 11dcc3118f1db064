// One state of a button's multi-state glyph (cells side by side in one bitmap) drawn into a
// 32-bit bitmap, optionally with a fading reflection below it.
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// The cell a state shows: disabled and normal (0) the first; hot (1) the second, but the
// first for a 4-bit glyph, without a default skin manager or with its standard glyph order;
// pressed (2) the third, or the fourth when Down and there are that many, else as hot; 3 the
// third when there is one, else the first; -1 (nothing) for other states.
int GlyphCell(int Count, bool Enabled, int State, bool Down, bool FourBit);

// Draws the state's cell of Glyph (Count cells side by side) at R's top-left of Target: its
// pixels other than those of the colour of the cell's bottom-left pixel copied as they are; disabled with a Blend
// (percent) blended that much transparent, its key colour 0xFF00FF skipped. A single cell
// serves every state; a state above 0 draws without blend. With Reflect the glyph sits an
// eighth of R's height higher and a fading mirror image follows below R. The caller's R and
// Glyph are left as they are.
void DrawGlyphState(vcl::TBitmap* Glyph, vcl::TBitmap* Target, const vcl::TRect& R, int Count, bool Enabled,
                    int State, int Blend, bool Down, bool Reflect);

}  // namespace skin_layered
