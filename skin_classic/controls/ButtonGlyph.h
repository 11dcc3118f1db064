// Glyph and caption of the skinned bit and speed buttons: where the two go in the button
// (by the control's Layout, Margin and Spacing) and how a bitmap glyph is drawn in each
// state, the disabled one embossed from its first frame.
#pragma once

#include <memory>

#include "classlib/graphics/Graphics.h"

namespace winskin {

using vcl::TPoint;
using vcl::TRect;

// The button's "Layout": where the glyph sits.
enum class TGlyphLayout { Left = 0, Right = 1, Top = 2, Bottom = 3 };
// By the identifier's lower-cased name ("blglyphleft", ...); anything else is Left.
TGlyphLayout GlyphLayoutByName(vcl::StringView Name);

// Glyph frames of a bitmap glyph.
inline constexpr int kGlyphUp = 1;
inline constexpr int kGlyphDisabled = 2;
inline constexpr int kGlyphDown = 3;
inline constexpr int kGlyphExclusive = 4;
// The glyph frame for a button state (1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused).
int GlyphStateOf(int ButtonState);

struct TGlyphPlacement {
  TPoint Glyph;   // the glyph's top-left corner
  TRect Text;     // where the caption is drawn
  UINT TextFlags = 0;  // DT_RIGHT for a caption left of the glyph, DT_CENTER above or below it
};

// Glyph and caption in Client. Margin is the space from the edge to the glyph and Spacing
// the space between glyph and caption, each -1 for "spread evenly"; Centered places both in
// the middle whatever Margin says. Either size zero makes the spacing zero.
TGlyphPlacement PlaceGlyphAndText(const TRect& Client, TPoint GlyphSize, TPoint TextSize, TGlyphLayout Layout,
                                  int Margin, int Spacing, bool Centered);

// Frame GlyphState (1 up, 3 down, 4 held down; frame 1 when NumGlyphs has fewer) of a bitmap
// glyph at (X, Y), its transparent colour left out; the disabled state (2) is always made
// from the first frame, embossed in the button highlight and shadow colours.
void DrawButtonGlyph(HDC DC, int X, int Y, vcl::TBitmap* Glyph, int NumGlyphs, int GlyphState);
// The embossed picture of the first frame on clBtnFace (which is its transparent colour).
std::unique_ptr<vcl::TBitmap> DisabledGlyph(vcl::TBitmap* Glyph, int NumGlyphs);

}  // namespace winskin
