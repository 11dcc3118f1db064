// Shared by the skin reader's tests: a skin folder of their own, pictures made from a pixel
// function, and the pixels of loaded bitmaps.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass  // winuser.h's macro would rename vcl::RegisterClass in VCL_CLASS_INFO

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/support/PackWriter.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/support/PngWriter.h"
#include "support/win_test_support.h"

namespace skin_layered::test {

using PixelFunction = std::function<std::uint32_t(int x, int y)>;  // 0xRRGGBB

inline Bytes Bmp24(int width, int height, const PixelFunction& pixel) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const auto imageSize = static_cast<std::uint32_t>(stride * height);
  Bytes bmp{'B', 'M'};
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put(14 + 40 + imageSize, 4), put(0, 4), put(14 + 40, 4), put(40, 4);
  put(static_cast<std::uint32_t>(width), 4), put(static_cast<std::uint32_t>(height), 4), put(1, 2), put(24, 2);
  for (std::uint32_t v : {0u, imageSize, 2835u, 2835u, 0u, 0u}) put(v, 4);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) put(pixel(x, y), 3);  // blue, green, red
    for (int pad = width * 3; pad < stride; ++pad) bmp.push_back(0);
  }
  return bmp;
}

inline Bytes Png24(int width, int height, const PixelFunction& pixel) {
  SampleImage image(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 2, 8);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixel(x, y);
      for (unsigned c = 0; c < 3; ++c)
        image.Set(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), c,
                  static_cast<std::uint16_t>(p >> (16 - 8 * c) & 0xFF));
    }
  return WritePng(image);
}

inline PixelFunction Flat(std::uint32_t rgb) {
  return [rgb](int, int) { return rgb; };
}

// A folder of skins, removed with everything in it.
class TempSkins {
 public:
  // The skin directory, without a trailing backslash.
  const std::wstring& Directory() const { return dir_.Path(); }
  std::wstring SkinPath(const std::wstring& skin) const { return dir_.File(skin) + L"\\"; }

  void Write(const std::wstring& skin, const std::wstring& file, const Bytes& bytes) const {
    std::filesystem::create_directories(dir_.File(skin));
    wintest::WriteBytes(SkinPath(skin) + file, bytes);
  }
  void WriteFile(const std::wstring& file, const Bytes& bytes) const { wintest::WriteBytes(dir_.File(file), bytes); }

 private:
  wintest::TempDir dir_{L"scrivane_skins"};
};

// A pixel of a 32-bit bitmap as 0xAARRGGBB.
inline std::uint32_t PixelOf(vcl::TBitmap* bmp, int x, int y) {
  TPixelView view;
  if (!InitPixelView(bmp, view) || !view.Contains(x, y)) return 0xDEADBEEF;
  return view.Row(y)[x];
}

}  // namespace skin_layered::test
