// A 32-bit bitmap seen as plain memory: the address of row 0, the signed byte step from one
// row to the next (negative for bottom-up bitmaps) and the size. The pixel routines work on
// these; the bitmap classes hand their rows over as one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin_layered/paint/ColorValue.h"

namespace skin_layered {

struct TPixelView {
  std::uint8_t* Line0 = nullptr;
  std::ptrdiff_t Step = 0;
  int Width = 0;
  int Height = 0;

  bool Empty() const { return !Line0 || Width <= 0 || Height <= 0; }
  TPixel32* Row(int y) const { return reinterpret_cast<TPixel32*>(Line0 + static_cast<std::ptrdiff_t>(y) * Step); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  bool SameBitmap(const TPixelView& other) const { return Line0 == other.Line0; }
};

}  // namespace skin_layered
