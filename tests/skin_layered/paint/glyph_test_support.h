// Image files made by the tests of the alpha image list and the button glyphs: PNG, icon and
// 32-bit bitmap files of given pixels, and hex text for form descriptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "paint_win_support.h"

namespace skin_layered::test {

using Bytes = std::vector<std::uint8_t>;

inline void PutLE(Bytes& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Pixels given as 0xAARRGGBB, top row first.
inline Bytes PngFile(int width, int height, const std::vector<std::uint32_t>& argb) {
  return WritePng(RgbaImage(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), argb));
}

// The BITMAPINFOHEADER and bottom-up BGRA rows of a 32-bit image; HeightFactor 2 for icons.
inline void PutDib32(Bytes& out, int width, int height, const std::vector<std::uint32_t>& argb, int heightFactor) {
  PutLE(out, 40, 4);
  PutLE(out, static_cast<std::uint32_t>(width), 4);
  PutLE(out, static_cast<std::uint32_t>(height * heightFactor), 4);
  PutLE(out, 1, 2);
  PutLE(out, 32, 2);
  for (int i = 0; i < 6; ++i) PutLE(out, 0, 4);
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) PutLE(out, argb[static_cast<std::size_t>(y * width + x)], 4);
}

inline Bytes Bmp32File(int width, int height, const std::vector<std::uint32_t>& argb) {
  Bytes dib;
  PutDib32(dib, width, height, argb, 1);
  Bytes out{'B', 'M'};
  PutLE(out, static_cast<std::uint32_t>(14 + dib.size()), 4);
  PutLE(out, 0, 4);
  PutLE(out, 14 + 40, 4);
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

// An icon file of one 32-bit image with an all-opaque AND mask.
inline Bytes IcoFile(int width, int height, const std::vector<std::uint32_t>& argb) {
  Bytes image;
  PutDib32(image, width, height, argb, 2);
  const int maskStride = (width + 31) / 32 * 4;
  image.insert(image.end(), static_cast<std::size_t>(maskStride * height), 0);
  Bytes out;
  PutLE(out, 0, 2);
  PutLE(out, 1, 2);
  PutLE(out, 1, 2);
  out.push_back(static_cast<std::uint8_t>(width));
  out.push_back(static_cast<std::uint8_t>(height));
  out.push_back(0);
  out.push_back(0);
  PutLE(out, 1, 2);
  PutLE(out, 32, 2);
  PutLE(out, static_cast<std::uint32_t>(image.size()), 4);
  PutLE(out, 6 + 16, 4);
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

inline std::string Hex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

inline std::vector<std::uint32_t> Solid(int width, int height, std::uint32_t argb) {
  return std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), argb);
}

inline Bytes StreamBytes(vcl::TMemoryStream* stream) {
  Bytes out(static_cast<std::size_t>(stream->Size()));
  stream->SetPosition(0);
  if (!out.empty()) stream->ReadBuffer(out.data(), static_cast<int64_t>(out.size()));
  return out;
}

inline void SetBytes(vcl::TMemoryStream* stream, const Bytes& bytes) {
  stream->Clear();
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream->SetPosition(0);
}

}  // namespace skin_layered::test
