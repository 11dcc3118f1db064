// The bitmap a PNG is decoded into: its layout, the interface through which the reader
// obtains its rows, and a plain in-memory bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/png/ColorManager.h"

namespace skin_layered {

struct TPngImageLayout {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  TPixelLayout Format = TPixelLayout::Bits32;  // Bits1, Bits4, Bits8, Bits24 or Bits32
  // Indexed formats: exactly 2^bits entries (entries the file does not give are black).
  std::vector<TPaletteEntry> Palette;
  std::uint32_t BackgroundColor = 0xFFFFFF;  // colour value; shows where no rows were decoded
  std::uint32_t TransparentColor = kNoColor;  // colour value of a tRNS colour, or none
};

unsigned BitsPerPixel(TPixelLayout format);
// Bytes of pixel data in one row (without any alignment padding).
std::uint64_t PixelRowBytes(std::uint32_t width, TPixelLayout format);

// Rows are reached from the address of row 0 and the signed byte step between rows
// (negative for a bottom-up bitmap).
struct TScanLines {
  std::uint8_t* Line0 = nullptr;
  std::ptrdiff_t Step = 0;
  std::uint8_t* Row(std::uint32_t y) const { return Line0 + static_cast<std::ptrdiff_t>(y) * Step; }
};

class IPngImageTarget {
 public:
  virtual ~IPngImageTarget() = default;
  // Makes the bitmap for the layout and returns its rows: Height rows of at least
  // PixelRowBytes(Width, Format) bytes each, valid until the load returns. A null Line0
  // means there is no bitmap; then no rows are decoded.
  virtual TScanLines PrepareImage(const TPngImageLayout& layout) = 0;
};

// Fills the rows from FirstRow on with the layout's background colour: the nearest palette
// entry for the indexed formats; blue, green, red and alpha 0 for 32 bits (what a GDI fill
// leaves).
void FillBackground(const TScanLines& lines, const TPngImageLayout& layout, std::uint32_t firstRow = 0);

// A bitmap in memory with rows padded to 4 bytes like a DIB, top-down or bottom-up.
class TPngPixelBuffer final : public IPngImageTarget {
 public:
  enum class TRowOrder { TopDown, BottomUp };
  explicit TPngPixelBuffer(TRowOrder order = TRowOrder::TopDown) : order_(order) {}

  TScanLines PrepareImage(const TPngImageLayout& layout) override;

  bool Empty() const { return size_ == 0; }
  const TPngImageLayout& Layout() const { return layout_; }
  std::size_t Stride() const { return stride_; }
  // The pixel bytes of row Y (top row 0), PixelRowBytes long; empty when out of range.
  std::span<const std::uint8_t> Row(std::uint32_t y) const;
  std::span<std::uint8_t> Row(std::uint32_t y);

 private:
  TRowOrder order_;
  TPngImageLayout layout_;
  std::size_t stride_ = 0;
  std::size_t size_ = 0;
  std::unique_ptr<std::uint8_t[]> pixels_;  // filled by the reader; row padding zeroed here
};

}  // namespace skin_layered
