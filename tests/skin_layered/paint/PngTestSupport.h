// Helpers of the PNG reader tests: decoding into a memory bitmap and the bitmap rows an
// image is expected to give.
#pragma once

#include <cstdint>
#include <vector>

#include "skin_layered/paint/png/PngReader.h"
#include "skin_layered/paint/support/PngWriter.h"

namespace skin_layered::test {

inline TPngPixelBuffer Decode(const std::vector<std::uint8_t>& png,
                              TPngPixelBuffer::TRowOrder order = TPngPixelBuffer::TRowOrder::TopDown) {
  TPngPixelBuffer bitmap(order);
  TPNGReader reader;
  reader.LoadFromBytes(png, bitmap);
  return bitmap;
}

inline std::uint8_t To8(std::uint16_t v, std::uint8_t depth) {
  return depth == 16 ? static_cast<std::uint8_t>(v * 255u / 65535u) : static_cast<std::uint8_t>(v);
}

inline std::vector<std::uint8_t> PackBits(const std::vector<unsigned>& values, unsigned bits) {
  std::vector<std::uint8_t> out((values.size() * bits + 7) / 8);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t bit = i * bits;
    out[bit / 8] |= static_cast<std::uint8_t>(values[i] << (8 - bits - bit % 8));
  }
  return out;
}

// Row bytes with the unused low bits of a packed row's last byte cleared (they keep the
// background fill).
inline std::vector<std::uint8_t> PixelBits(std::span<const std::uint8_t> row, std::uint32_t width, TPixelLayout format) {
  std::vector<std::uint8_t> out(row.begin(), row.end());
  const unsigned used = static_cast<unsigned>(std::uint64_t{width} * BitsPerPixel(format) % 8);
  if (used != 0 && !out.empty()) out.back() &= static_cast<std::uint8_t>(0xFF00u >> used);
  return out;
}

// The bitmap row the reader should make of row Y: grey and palette pixels as indices (2-bit
// values spread to 4 bits as 5v), colours as blue, green, red (and alpha), 16-bit samples
// scaled to 8 bits, the alpha of grey-with-alpha dropped.
inline std::vector<std::uint8_t> ExpectedRow(const SampleImage& image, std::uint32_t y) {
  const std::uint8_t depth = image.BitDepth();
  std::vector<std::uint8_t> row;
  std::vector<unsigned> indices;
  for (std::uint32_t x = 0; x < image.Width(); ++x) {
    switch (image.ColorType()) {
      case 0:
      case 3:
        indices.push_back(depth == 2 ? image.At(x, y, 0) * 5u : depth == 16 ? To8(image.At(x, y, 0), 16) : image.At(x, y, 0));
        break;
      case 4:
        row.push_back(To8(image.At(x, y, 0), depth));
        break;
      default:
        for (unsigned c : {2u, 1u, 0u}) row.push_back(To8(image.At(x, y, c), depth));
        if (image.ColorType() == 6) row.push_back(To8(image.At(x, y, 3), depth));
        break;
    }
  }
  if (!indices.empty()) {
    const unsigned bits = depth == 1 ? 1 : depth <= 4 ? 4 : 8;
    return PackBits(indices, bits);
  }
  return row;
}

}  // namespace skin_layered::test
