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

void FillBackground(const TScanLines& lines, const TPngImageLayout& layout) {
  if (lines.Line0 == nullptr) return;
  const std::size_t rowBytes = PixelRowBytes(layout.Width, layout.Format);
  const std::uint32_t c = layout.BackgroundColor;
  const auto red = static_cast<std::uint8_t>(c), green = static_cast<std::uint8_t>(c >> 8),
             blue = static_cast<std::uint8_t>(c >> 16);
  for (std::uint32_t y = 0; y < layout.Height; ++y) {
    std::uint8_t* row = lines.Row(y);
    switch (layout.Format) {
      case TPixelLayout::Bits1:
        std::memset(row, NearestIndex(layout.Palette, c) ? 0xFF : 0x00, rowBytes);
        break;
      case TPixelLayout::Bits4: {
        const std::uint8_t index = NearestIndex(layout.Palette, c) & 0x0F;
        std::memset(row, index << 4 | index, rowBytes);
        break;
      }
      case TPixelLayout::Bits8:
        std::memset(row, NearestIndex(layout.Palette, c), rowBytes);
        break;
      case TPixelLayout::Bits24:
        for (std::size_t i = 0; i + 3 <= rowBytes; i += 3) {
          row[i] = blue;
          row[i + 1] = green;
          row[i + 2] = red;
        }
        break;
      case TPixelLayout::Bits32:
        for (std::size_t i = 0; i + 4 <= rowBytes; i += 4) {
          row[i] = blue;
          row[i + 1] = green;
          row[i + 2] = red;
          row[i + 3] = 0;
        }
        break;
      default:
        std::memset(row, 0, rowBytes);
        break;
    }
  }
}

TScanLines TPngPixelBuffer::PrepareImage(const TPngImageLayout& layout) {
  layout_ = layout;
  stride_ = static_cast<std::size_t>((PixelRowBytes(layout.Width, layout.Format) + 3) / 4 * 4);
  pixels_.assign(stride_ * layout.Height, 0);
  if (pixels_.empty()) return {};
  if (order_ == TRowOrder::TopDown) return {pixels_.data(), static_cast<std::ptrdiff_t>(stride_)};
  return {pixels_.data() + stride_ * (layout.Height - 1), -static_cast<std::ptrdiff_t>(stride_)};
}

std::span<const std::uint8_t> TPngPixelBuffer::Row(std::uint32_t y) const {
  if (y >= layout_.Height || pixels_.empty()) return {};
  const std::size_t index = order_ == TRowOrder::TopDown ? y : layout_.Height - 1 - y;
  return {pixels_.data() + index * stride_, static_cast<std::size_t>(PixelRowBytes(layout_.Width, layout_.Format))};
}

std::span<std::uint8_t> TPngPixelBuffer::Row(std::uint32_t y) {
  const auto row = std::as_const(*this).Row(y);
  return {const_cast<std::uint8_t*>(row.data()), row.size()};
}

}  // namespace skin_layered
