// Pixel-level routines on 32-bit bitmaps with an alpha byte.
#pragma once

#include "classlib/graphics/GraphicsBitmap.h"

namespace skin_layered {

// Every pixel whose value is exactly 0x00FFFFFF (white, no alpha) becomes 0, as transparent
// pixels of images from design tools must be. Nothing for a nil, empty or not 32-bit bitmap.
void ClearWhitePixels(vcl::TBitmap* Bmp);

}  // namespace skin_layered
