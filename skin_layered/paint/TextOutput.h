// The small text wrappers of the layered engine: measuring, drawing through DrawText, and
// shortening a text with "..." to a width. All text goes through the wide calls.
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// The text, or as much of it as fits in Width followed by "..." (whole characters only);
// empty for a width below 1, a nil canvas, or when not even one character fits with the dots.
vcl::String CutText(vcl::TCanvas* Canvas, vcl::StringView Text, int Width);

// DrawText of the whole text into R with the flags (alignment, wrapping, ellipsis, right to
// left, DT_CALCRECT to measure into R). The text is never written to: DT_MODIFYSTRING is
// dropped. Returns DrawText's height.
int DrawTextStr(HDC DC, vcl::StringView Text, vcl::TRect& R, UINT Flags);
// The same on a canvas's DC, with the canvas's font.
void DrawTextOnCanvas(vcl::TCanvas* Canvas, vcl::StringView Text, UINT Flags, vcl::TRect R);

int TextWidthOf(vcl::TCanvas* Canvas, vcl::StringView Text);
vcl::TSize TextExtentOf(vcl::TCanvas* Canvas, vcl::StringView Text);
// The text at (X, Y), clipped to R.
void TextRectOf(vcl::TCanvas* Canvas, const vcl::TRect& R, int X, int Y, vcl::StringView Text);
// The extent of the text on one line in the DC's font; (0, 0) when it cannot be measured.
vcl::TSize GetTextSize(HDC DC, vcl::StringView Text);

}  // namespace skin_layered
