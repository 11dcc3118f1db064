// Soft rounded shadows and pen outlines: raised or sunk frames and dotted rectangles.
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// A soft rounded shadow of Color inside R of Bmp: nested rounded rectangles, one pixel further
// in each, whose grey falls from white to the shadow strength Transp * 255 div 100 over Blur
// steps (Blur and Radius limited to half R's smaller side), and R's pixels moved toward Color
// through them: d' = ((d - c) * m + c * 256) shr 8 with the grey m. The pixels' alpha is kept.
void PaintShadowRect(vcl::TBitmap* Bmp, const vcl::TRect& R, int Transp, int Radius, int Blur, vcl::TColor Color);

// A frame of Width one-pixel rings inside R: top and left edges in TopLeft, bottom and right
// in BottomRight (raised or sunk as the colours go). R ends shrunk by the frame's width and
// Width ends at 0; the DC's objects are restored.
void DrawFrame3D(HDC DC, vcl::TRect& R, vcl::TColor TopLeft, int& Width, vcl::TColor BottomRight);

// The outline of R (its outermost pixels), alternating C1 and C2 pixel by pixel; a colour
// clNone is left out.
void DrawDottedRect(vcl::TCanvas* Canvas, const vcl::TRect& R, vcl::TColor C1, vcl::TColor C2);

}  // namespace skin_layered
