// What lies behind a painted area, in the compact form the painting routines take: a bitmap
// holding the background and the area's offset in it, or a colour.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/ColorValue.h"

namespace skin_layered {

struct TqvCacheInfo {
  vcl::TBitmap* Bmp = nullptr;        // the background; not owned
  int X = 0;                          // the painted area's offset inside Bmp
  int Y = 0;
  TColorValue FillColor = kKeyColor;  // where no bitmap applies; the key colour for none
  vcl::TRect FillRect;                // the area to fill with FillColor
  bool Ready = false;                 // Bmp holds a finished background that may be copied
};

}  // namespace skin_layered
