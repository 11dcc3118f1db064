// The colour manager where the PNG reader does not reach it: the setters' checks, the
// schemes and depths no PNG has, palettes, gamma and short rows.
#include <gtest/gtest.h>

#include <vector>

#include "skin_layered/paint/png/ColorManager.h"
#include "skin_layered/paint/png/PngError.h"

namespace skin_layered {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string ErrorOf(auto&& action) {
  try {
    action();
  } catch (const EPngError& e) {
    EXPECT_EQ(e.Kind(), TGraphicErrorKind::ColorConversion);
    return e.what();
  }
  return "no error";
}

TColorManager Indexed8() {
  TColorManager cm;
  cm.SetSourceColorScheme(TColorScheme::Indexed);
  cm.SetTargetColorScheme(TColorScheme::Indexed);
  cm.SetSourceSamplesPerPixel(1);
  cm.SetTargetSamplesPerPixel(1);
  return cm;
}

TEST(ColorManager, SettersAndUnfitLayoutsRaiseTheConversionErrors) {
  TColorManager cm;
  cm.SetSourceBitsPerSample(3);
  const std::string depth = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
  EXPECT_EQ(ErrorOf([&] { cm.SetSourceBitsPerSample(0); }), depth);
  EXPECT_EQ(ErrorOf([&] { cm.SetTargetBitsPerSample(17); }), depth);
  EXPECT_EQ(cm.SourceBitsPerSample(), 3);
  const std::string samples = "Sample count per pixel does not correspond to the given color scheme.";
  EXPECT_EQ(ErrorOf([&] { cm.SetSourceSamplesPerPixel(0); }), samples);
  EXPECT_EQ(ErrorOf([&] { cm.SetTargetSamplesPerPixel(5); }), samples);

  TColorManager grey;
  grey.SetSourceColorScheme(TColorScheme::Gray);  // target still BGR
  Bytes out(3);
  EXPECT_EQ(ErrorOf([&] { grey.ConvertRow(Bytes{1}, out, 1, 0xFF); }),
            "Conversion between indexed and non-indexed pixel formats is not supported.");
  grey.SetSourceColorScheme(TColorScheme::CMY);
  EXPECT_EQ(ErrorOf([&] { grey.ConvertRow(Bytes{1, 2, 3}, out, 1, 0xFF); }),
            "Color conversion failed. Could not find a proper method.");
}

TEST(ColorManager, OtherSchemesToBgrAndSixteenBitTargets) {
  TColorManager cm;
  cm.SetSourceColorScheme(TColorScheme::CMYK);
  cm.SetSourceSamplesPerPixel(4);
  Bytes out(9);
  cm.ConvertRow(Bytes{0, 0, 0, 0, 255, 0, 0, 0, 10, 20, 30, 255}, out, 3, 0xFF);
  EXPECT_EQ(out, (Bytes{255, 255, 255, 255, 255, 0, 0, 0, 0}));
  TColorManager ycc;
  ycc.SetSourceColorScheme(TColorScheme::YCbCr);
  Bytes grey(3);
  ycc.ConvertRow(Bytes{77, 128, 128}, grey, 1, 0xFF);
  EXPECT_EQ(grey, (Bytes{77, 77, 77}));
  TColorManager lab;
  lab.SetSourceColorScheme(TColorScheme::CIELab);
  Bytes white(3);
  lab.ConvertRow(Bytes{100, 0, 0}, white, 1, 0xFF);
  EXPECT_EQ(white, (Bytes{255, 255, 255}));

  TColorManager wide;
  wide.SetSourceBitsPerSample(16);
  wide.SetSourceOptions(coNeedByteSwap);
  wide.SetTargetBitsPerSample(16);
  Bytes samples(6);
  wide.ConvertRow(Bytes{0x12, 0x34, 0, 0, 0, 0}, samples, 1, 0xFF);
  EXPECT_EQ(samples[4] | samples[5] << 8, 0x1234);  // red, in host order
}

TEST(ColorManager, Palettes) {
  TColorManager cm = Indexed8();
  cm.SetTargetBitsPerSample(1);
  EXPECT_EQ(cm.CreateGrayscalePalette(true), (std::vector<TPaletteEntry>{{255, 255, 255}, {0, 0, 0}}));
  cm.SetTargetBitsPerSample(4);
  const auto sixteen = cm.CreateGrayscalePalette(false);
  ASSERT_EQ(sixteen.size(), 16u);
  EXPECT_EQ(sixteen[15].Green, 255);
  const Bytes data = {10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42};
  const auto bgr = Indexed8().CreateColorPalette(data, TPaletteData::Bytes4, 9, true);
  ASSERT_EQ(bgr.size(), 3u);  // twelve bytes hold three four-byte colours
  EXPECT_EQ(bgr[1], (TPaletteEntry{30, 22, 21}));  // bytes 4 to 6, blue first
}

TEST(ColorManager, GammaTable) {
  TColorManager cm;  // defaults 1.0 and 2.2
  EXPECT_EQ(cm.GammaTable()[128], 186);
  cm.SetGamma(0.45455f, 2.2f);
  for (unsigned i = 0; i < 256; ++i) ASSERT_EQ(cm.GammaTable()[i], i);
  cm.SetGamma(0, -1);  // refused: the defaults
  EXPECT_EQ(cm.GammaTable()[128], 186);
  // At 4 source bits only sixteen entries are set; the others keep the default table.
  TColorManager four;
  four.SetSourceBitsPerSample(4);
  four.SetTargetBitsPerSample(4);
  four.SetGamma(0.45455f, 2.2f);
  EXPECT_EQ(four.GammaTable()[15], 15);
  EXPECT_EQ(four.GammaTable()[128], 186);
  // Gamma reaches colour samples and palettes, not the alpha.
  cm.SetSourceColorScheme(TColorScheme::RGBA);
  cm.SetTargetColorScheme(TColorScheme::BGRA);
  cm.SetTargetOptions(coApplyGamma);
  Bytes out(4);
  cm.ConvertRow(Bytes{128, 0, 255, 128}, out, 1, 0xFF);
  EXPECT_EQ(out, (Bytes{255, 0, 186, 128}));
  EXPECT_EQ(cm.CreateColorPalette(Bytes{128, 128, 128}, TPaletteData::Bytes3, 1, false)[0].Blue, 186);
}

TEST(ColorManager, ShortRowsAreRefused) {
  TColorManager cm;
  Bytes out(5);
  EXPECT_THROW(cm.ConvertRow(Bytes{1, 2, 3, 4, 5, 6}, out, 2, 0xFF), std::length_error);
  Bytes room(6);
  EXPECT_THROW(cm.ConvertRow(Bytes{1, 2, 3}, room, 2, 0xFF), std::length_error);
}

}  // namespace
}  // namespace skin_layered
