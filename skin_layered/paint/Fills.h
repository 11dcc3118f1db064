// Plain fills and copies of device contexts that the painters use: solid rectangles and
// border strips, border strips copied between DCs, and graphic child controls kept out of a
// DC's clip.
#pragma once

#include <windows.h>

#include "classlib/graphics/Graphics.h"

namespace vcl {
class TClassInfo;
class TWinControl;
}

namespace skin_layered {

// R filled with the colour (system colours resolved); the DC's state is restored.
void FillDC(HDC DC, const vcl::TRect& R, vcl::TColor Color);

// Four solid strips inside R: the top (T high, full width), the left (L wide, below the top),
// the bottom (B high, right of the left strip) and the right (Rt wide, between top and
// bottom). Strips of width 0 paint nothing.
void FillDCBorder(HDC DC, const vcl::TRect& R, int L, vcl::TColor Color, int B, int Rt, int T);

// The four border strips, W wide, of the Width x Height area at (X, Y) of the destination,
// each copied from the same place relative to (SrcX, SrcY) of the source DC.
void BitBltBorder(HDC Dest, int X, int Y, int W, int SrcX, int SrcY, HDC Source, int Height, int Width);

// Settings of ExcludeGraphicControls.
struct TqvGraphicClipping {
  bool KeepAll = false;                            // exclude nothing
  const vcl::TClassInfo* ExcludedClass = nullptr;  // children of this class are not excluded
};
TqvGraphicClipping& GraphicClipping();

// Removes each visible graphic (windowless) child control of Control from the DC's clip, at
// its bounds moved by (DX, DY).
void ExcludeGraphicControls(HDC DC, vcl::TWinControl* Control, int DY, int DX);

}  // namespace skin_layered
