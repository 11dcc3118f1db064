// Helpers of the graphics tests: memory surfaces, pixels, BMP and icon files built in code.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/graphics/Graphics.h"
#include "support/message_of.h"
#include "support/win_test_support.h"

namespace vcl::test {

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

// A 24-bit bitmap filled with one colour.
inline std::unique_ptr<TBitmap> Surface(int w, int h, TColor fill = clWhite, TPixelFormat format = pf24bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(format);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

inline TColor At(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

// The bytes of a memory stream.
inline std::vector<uint8_t> BytesOf(TMemoryStream& s) {
  return std::vector<uint8_t>(s.Memory(), s.Memory() + s.Size());
}

inline void LoadBytes(TMemoryStream& s, const std::vector<uint8_t>& bytes) {
  s.Clear();
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
}

inline void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& o, uint32_t v) {
  for (int i = 0; i < 4; ++i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A BMP file: 40-byte header, colour table (blue, green, red per entry), bottom-up rows.
inline std::vector<uint8_t> BmpFile(int w, int h, int bits, uint32_t compression,
                                    const std::vector<uint32_t>& palette, const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> out = {'B', 'M'};
  const uint32_t off = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
  Put32(out, off + static_cast<uint32_t>(rows.size()));
  Put32(out, 0);
  Put32(out, off);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, compression);
  Put32(out, static_cast<uint32_t>(rows.size()));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(palette.size()));
  Put32(out, 0);
  for (uint32_t c : palette) Put32(out, c);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

// An icon file with one 32-bit image of one colour (with alpha) and an all-zero mask.
inline std::vector<uint8_t> IconFile(int size, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 255) {
  std::vector<uint8_t> image;
  Put32(image, 40);
  Put32(image, static_cast<uint32_t>(size));
  Put32(image, static_cast<uint32_t>(2 * size));
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  for (int i = 0; i < size * size; ++i) {
    image.push_back(b);
    image.push_back(g);
    image.push_back(r);
    image.push_back(alpha);
  }
  image.resize(image.size() + ((static_cast<size_t>(size) + 31) / 32) * 4 * static_cast<size_t>(size), 0);
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  file.push_back(static_cast<uint8_t>(size));
  file.push_back(static_cast<uint8_t>(size));
  file.push_back(0);
  file.push_back(0);
  Put16(file, 1);
  Put16(file, 32);
  Put32(file, static_cast<uint32_t>(image.size()));
  Put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

using wintest::TempFile;

}  // namespace vcl::test
