// The background a painting routine may take its transparent parts from: a bitmap with the
// painted area's offset in it, or a fill colour.
#pragma once

#include <cstdint>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Types.h"

namespace skin_layered {

struct TqvCacheInfo {
  vcl::TBitmap* Bmp = nullptr;         // not owned
  int X = 0;                           // the painted area's offset inside Bmp
  int Y = 0;
  std::uint32_t FillColor = 0xFF00FF;  // where no bitmap applies; the key colour for none
  vcl::TRect FillRect;                 // the area to fill with FillColor
  bool Ready = false;                  // Bmp holds a finished background
};

// The cache info of nothing behind: no bitmap, offsets far outside, not ready. Sides and
// centres of skin images are painted with it.
inline constexpr TqvCacheInfo kEmptyCacheInfo{nullptr, -99, -99, 0xFF00FF, {}, false};

}  // namespace skin_layered
