#include "skin_layered/paint/png/PngImage.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace skin_layered {

unsigned BitsPerPixel(TPixelLayout format) {
  switch (format) {
    case TPixelLayout::Bits1: return 1;
    case TPixelLayout::Bits4: return 4;
    case TPixelLayout::Bits8: return 8;
    case TPixelLayout::Bits15: return 16;
    case TPixelLayout::Bits24: return 24;
    case TPixelLayout::Bits32: return 32;
    default: return 0;
  }
}

std::uint64_t PixelRowBytes(std::uint32_t width, TPixelLayout format) {
  return (std::uint64_t{width} * BitsPerPixel(format) + 7) / 8;
}

namespace {

std::uint8_t NearestIndex(const std::vector<TPaletteEntry>& palette, std::uint32_t color) {
  const int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  std::size_t best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
    const int dr = palette[i].Red - r, dg = palette[i].Green - g, db = palette[i].Blue - b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

}  // namespace

void FillBackground(const TScanLines& lines, const TPngImageLayout& layout, std::uint32_t firstRow) {
  if (lines.Line0 == nullptr || firstRow >= layout.Height) return;
  const std::size_t rowBytes = PixelRowBytes(layout.Width, layout.Format);
  const std::uint32_t c = layout.BackgroundColor;
  std::uint8_t* first = lines.Row(firstRow);
  switch (layout.Format) {
    case TPixelLayout::Bits1:
      std::memset(first, NearestIndex(layout.Palette, c) ? 0xFF : 0x00, rowBytes);
      break;
    case TPixelLayout::Bits4: {
      const std::uint8_t index = NearestIndex(layout.Palette, c) & 0x0F;
      std::memset(first, index << 4 | index, rowBytes);
      break;
    }
    case TPixelLayout::Bits8:
      std::memset(first, NearestIndex(layout.Palette, c), rowBytes);
      break;
    case TPixelLayout::Bits24:
    case TPixelLayout::Bits32: {
      const std::size_t size = layout.Format == TPixelLayout::Bits24 ? 3 : 4;
      const std::uint8_t pixel[4] = {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                     static_cast<std::uint8_t>(c), 0};
      for (std::size_t i = 0; i + size <= rowBytes; i += size) std::memcpy(first + i, pixel, size);
      break;
    }
    default:
      std::memset(first, 0, rowBytes);
      break;
  }
  for (std::uint32_t y = firstRow + 1; y < layout.Height; ++y) std::memcpy(lines.Row(y), first, rowBytes);
}

TScanLines TPngPixelBuffer::PrepareImage(const TPngImageLayout& layout) {
  layout_ = layout;
  const auto rowBytes = static_cast<std::size_t>(PixelRowBytes(layout.Width, layout.Format));
  stride_ = (rowBytes + 3) / 4 * 4;
  size_ = stride_ * layout.Height;
  // The reader writes every pixel (decoded, or the background where no row reaches), so
  // only the padding is cleared here; that spares a pass over a large bitmap.
  pixels_ = std::make_unique_for_overwrite<std::uint8_t[]>(size_);
  for (std::size_t at = rowBytes; at < size_; at += stride_) std::memset(pixels_.get() + at, 0, stride_ - rowBytes);
  if (size_ == 0) return {};
  if (order_ == TRowOrder::TopDown) return {pixels_.get(), static_cast<std::ptrdiff_t>(stride_)};
  return {pixels_.get() + stride_ * (layout.Height - 1), -static_cast<std::ptrdiff_t>(stride_)};
}

std::span<const std::uint8_t> TPngPixelBuffer::Row(std::uint32_t y) const {
  if (y >= layout_.Height || size_ == 0) return {};
  const std::size_t index = order_ == TRowOrder::TopDown ? y : layout_.Height - 1 - y;
  return {pixels_.get() + index * stride_, static_cast<std::size_t>(PixelRowBytes(layout_.Width, layout_.Format))};
}

std::span<std::uint8_t> TPngPixelBuffer::Row(std::uint32_t y) {
  const auto row = std::as_const(*this).Row(y);
  return {const_cast<std::uint8_t*>(row.data()), row.size()};
}

}  // namespace skin_layered
