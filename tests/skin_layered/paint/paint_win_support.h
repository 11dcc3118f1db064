// Shared by the Windows tests of the painting layer: the units started for the whole test
// program, PNGs made by the test writer, 32-bit pixels read and written through scan lines,
// and temporary files.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "classlib/graphics/Graphics.h"
#include "classlib/rtl/UnitInit.h"
#include "PixelChecks.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/support/PngWriter.h"
#include "support/win_test_support.h"

namespace skin_layered::test {

// The class library's and this layer's units run for the whole program, as in the program.
class UnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { vcl::InitializeUnits(); }
  void TearDown() override { vcl::FinalizeUnits(); }
};

constexpr TPixel32 Bgra(unsigned b, unsigned g, unsigned r, unsigned a) { return a << 24 | r << 16 | g << 8 | b; }

inline TPixel32 PixelOf(vcl::TBitmap& bmp, int x, int y) {
  return static_cast<const TPixel32*>(bmp.ScanLine(y))[x];
}

inline void SetPixelOf(vcl::TBitmap& bmp, int x, int y, TPixel32 value) {
  static_cast<TPixel32*>(bmp.ScanLine(y))[x] = value;
}

// Blue, green and red of a pixel of any format, through GDI.
inline COLORREF ColorOf(vcl::TBitmap& bmp, int x, int y) { return bmp.Canvas()->Pixels(x, y) & 0xFFFFFF; }

// A 32-bit bitmap with every pixel set to Value.
inline std::unique_ptr<vcl::TBitmap> Filled32(int width, int height, TPixel32 value) {
  auto bmp = std::make_unique<vcl::TBitmap>();
  bmp->SetPixelFormat(vcl::pf32bit);
  bmp->SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixelOf(*bmp, x, y, value);
  return bmp;
}

// A 32-bit bitmap of the given pixels, top row first.
inline std::unique_ptr<vcl::TBitmap> Bitmap32(int width, int height, std::initializer_list<TPixel32> pixels) {
  auto bmp = Filled32(width, height, 0);
  auto it = pixels.begin();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width && it != pixels.end(); ++x) SetPixelOf(*bmp, x, y, *it++);
  return bmp;
}

inline ::testing::AssertionResult PixelsAre(vcl::TBitmap& bmp, std::initializer_list<Probe> expected) {
  return EveryPixel(expected, [&](int x, int y) { return PixelOf(bmp, x, y); });
}

inline ::testing::AssertionResult ColoursAre(vcl::TBitmap& bmp, std::initializer_list<Probe> expected) {
  return EveryPixel(expected, [&](int x, int y) { return ColorOf(bmp, x, y); });
}

// A 24-bit bitmap painted in one colour: a canvas to draw on.
inline std::unique_ptr<vcl::TBitmap> Canvas24(int width, int height, COLORREF color) {
  auto bmp = std::make_unique<vcl::TBitmap>();
  bmp->SetPixelFormat(vcl::pf24bit);
  bmp->SetSize(width, height);
  bmp->Canvas()->Brush()->SetColor(static_cast<vcl::TColor>(color));
  bmp->Canvas()->FillRect(vcl::Rect(0, 0, width, height));
  return bmp;
}

// The one-channel blend of a source channel over a destination channel by the source's weight.
constexpr unsigned Blend(unsigned s, unsigned d, unsigned w) {
  return static_cast<unsigned>(((static_cast<int>(s) - static_cast<int>(d)) * static_cast<int>(w) +
                                static_cast<int>(d) * 256) >> 8);
}

// An RGBA image of 8-bit samples given as colour values with alpha in the top byte.
inline SampleImage RgbaImage(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& argb) {
  SampleImage image(width, height, 6, 8);
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint32_t v = argb[y * width + x];
      image.Set(x, y, 0, static_cast<std::uint16_t>((v >> 16) & 0xFF));
      image.Set(x, y, 1, static_cast<std::uint16_t>((v >> 8) & 0xFF));
      image.Set(x, y, 2, static_cast<std::uint16_t>(v & 0xFF));
      image.Set(x, y, 3, static_cast<std::uint16_t>(v >> 24));
    }
  return image;
}

// A skin image of Count states in R of the skin's master bitmap with the same margin on each side.
inline TsMaskData SkinImage(TsLoadedSkin& skin, vcl::TRect r, int count, int margin, int maskType = 0) {
  TsMaskData image;
  image.Manager = &skin;
  image.R = r;
  image.ImageCount = static_cast<std::uint16_t>(count);
  image.MaskType = static_cast<std::int16_t>(maskType);
  image.WidthLeft = image.WidthTop = image.WidthRight = image.WidthBottom = static_cast<std::int16_t>(margin);
  return image;
}

using wintest::TempFile;

}  // namespace skin_layered::test
