// The glyph and caption of a button, as speed buttons and bitmap buttons lay them out.
#pragma once

#include "classlib/extctrls/Buttons.h"

namespace vcl {

struct TButtonFace {
  TBitmap* Glyph = nullptr;  // frames side by side: up, disabled, down, held down
  int NumGlyphs = 1;
  String Caption;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;   // edge to glyph; -1: glyph and caption centred together
  int Spacing = 4;   // glyph to caption; -1: spread evenly
  TButtonState State = TButtonState::bsUp;
};

// Draws the face's glyph and caption in Client, shifted by Offset (a pressed button's).
void DrawButtonFace(TCanvas* Canvas, const TButtonFace& Face, const TRect& Client, TPoint Offset);
// Draws the glyph's frame for State at Pos (transparent colour left out; a disabled glyph
// without its own frame embossed).
void DrawButtonGlyph(TCanvas* Canvas, TBitmap* Glyph, int NumGlyphs, TPoint Pos, TButtonState State);

}  // namespace vcl
