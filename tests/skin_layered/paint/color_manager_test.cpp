// The colour manager: setters, converter selection, masks, palettes and gamma.
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

TEST(ColorManager, SettersCheckDepthAndSampleCount) {
  TColorManager cm;
  EXPECT_NO_THROW(cm.SetSourceBitsPerSample(3));
  EXPECT_EQ(cm.SourceBitsPerSample(), 3);
  const std::string depth = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
  EXPECT_EQ(ErrorOf([&] { cm.SetSourceBitsPerSample(0); }), depth);
  EXPECT_EQ(ErrorOf([&] { cm.SetTargetBitsPerSample(17); }), depth);
  EXPECT_EQ(cm.SourceBitsPerSample(), 3);
  const std::string samples = "Sample count per pixel does not correspond to the given color scheme.";
  EXPECT_EQ(ErrorOf([&] { cm.SetSourceSamplesPerPixel(0); }), samples);
  EXPECT_EQ(ErrorOf([&] { cm.SetTargetSamplesPerPixel(5); }), samples);
}

TEST(ColorManager, UnfitLayoutsFailAtTheFirstConversion) {
  TColorManager cm;
  EXPECT_NO_THROW(cm.SetSourceColorScheme(TColorScheme::Gray));  // target still BGR
  Bytes out(3);
  EXPECT_EQ(ErrorOf([&] { cm.ConvertRow(Bytes{1}, out, 1, 0xFF); }),
            "Conversion between indexed and non-indexed pixel formats is not supported.");
  cm.SetSourceColorScheme(TColorScheme::CMY);
  EXPECT_EQ(ErrorOf([&] { cm.ConvertRow(Bytes{1, 2, 3}, out, 1, 0xFF); }),
            "Color conversion failed. Could not find a proper method.");
}

TEST(ColorManager, MaskWritesSelectedPixelsFromConsecutiveSources) {
  TColorManager cm = Indexed8();
  Bytes target(10, 0xEE);
  cm.ConvertRow(Bytes{1, 2, 3, 4, 5}, target, 10, 0x55);
  EXPECT_EQ(target, (Bytes{0xEE, 1, 0xEE, 2, 0xEE, 3, 0xEE, 4, 0xEE, 5}));

  TColorManager rgb;  // RGB -> BGR with mask 0x88: pixels 0 and 4
  Bytes bgr(5 * 3, 0);
  rgb.ConvertRow(Bytes{1, 2, 3, 4, 5, 6}, bgr, 5, 0x88);
  EXPECT_EQ(bgr, (Bytes{3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 5, 4}));
}

TEST(ColorManager, PackedDepthsScaleTwoBitValuesToFourBits) {
  TColorManager cm = Indexed8();
  cm.SetSourceBitsPerSample(2);
  cm.SetTargetBitsPerSample(4);
  Bytes target(2);
  cm.ConvertRow(Bytes{0b00011011}, target, 4, 0xFF);  // 0, 1, 2, 3
  EXPECT_EQ(target, (Bytes{0x05, 0xAF}));
  Bytes masked = {0x00, 0x00};
  cm.ConvertRow(Bytes{0b11000000}, masked, 4, 0x20);  // only pixel 2
  EXPECT_EQ(masked, (Bytes{0x00, 0xF0}));
}

TEST(ColorManager, AlphaSourcesAdvanceByTheirOwnSamples) {
  TColorManager cm;
  cm.SetSourceColorScheme(TColorScheme::RGBA);
  cm.SetSourceSamplesPerPixel(4);
  cm.SetTargetColorScheme(TColorScheme::BGRA);
  cm.SetTargetSamplesPerPixel(4);
  Bytes target(8);
  cm.ConvertRow(Bytes{1, 2, 3, 4, 5, 6, 7, 8}, target, 2, 0xFF);
  EXPECT_EQ(target, (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));

  TColorManager grey;  // grey with alpha: one colour sample plus alpha
  grey.SetSourceColorScheme(TColorScheme::GrayAlpha);
  grey.SetSourceSamplesPerPixel(1);
  grey.SetTargetColorScheme(TColorScheme::Indexed);
  grey.SetTargetSamplesPerPixel(1);
  Bytes g(3);
  grey.ConvertRow(Bytes{10, 99, 20, 99, 30, 99}, g, 3, 0x80 | 0x40 | 0x20);
  EXPECT_EQ(g, (Bytes{10, 20, 30}));
}

TEST(ColorManager, SixteenBitSamplesAreSwappedAndScaled) {
  TColorManager cm;
  cm.SetSourceBitsPerSample(16);
  cm.SetSourceOptions(coNeedByteSwap);
  Bytes target(3);
  cm.ConvertRow(Bytes{0xFF, 0xFF, 0x80, 0x80, 0x01, 0x01}, target, 1, 0xFF);
  EXPECT_EQ(target, (Bytes{1, 128, 255}));
  cm.SetTargetBitsPerSample(16);
  Bytes wide(6);
  cm.ConvertRow(Bytes{0x12, 0x34, 0, 0, 0, 0}, wide, 1, 0xFF);
  EXPECT_EQ(wide[4] | wide[5] << 8, 0x1234);  // red, in host order
}

TEST(ColorManager, OtherSchemesToBgr) {
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
}

TEST(ColorManager, TargetPixelFormats) {
  TColorManager cm;
  const struct {
    std::uint8_t samples, bits;
    TPixelLayout format;
  } cases[] = {{1, 1, TPixelLayout::Bits1},  {1, 2, TPixelLayout::Bits4},  {1, 4, TPixelLayout::Bits4},
               {1, 8, TPixelLayout::Bits8},  {1, 16, TPixelLayout::Bits8}, {1, 6, TPixelLayout::Custom},
               {3, 5, TPixelLayout::Bits15}, {3, 8, TPixelLayout::Bits24}, {4, 4, TPixelLayout::Custom},
               {4, 8, TPixelLayout::Bits32}, {2, 8, TPixelLayout::Custom}};
  for (const auto& c : cases) {
    cm.SetTargetSamplesPerPixel(c.samples);
    cm.SetTargetBitsPerSample(c.bits);
    EXPECT_EQ(cm.TargetPixelFormat(), c.format) << int(c.samples) << " x " << int(c.bits);
  }
}

TEST(ColorManager, GreyPalettes) {
  TColorManager cm = Indexed8();
  cm.SetTargetBitsPerSample(1);
  EXPECT_EQ(cm.CreateGrayscalePalette(false), (std::vector<TPaletteEntry>{{0, 0, 0}, {255, 255, 255}}));
  EXPECT_EQ(cm.CreateGrayscalePalette(true), (std::vector<TPaletteEntry>{{255, 255, 255}, {0, 0, 0}}));
  cm.SetTargetBitsPerSample(4);
  const auto sixteen = cm.CreateGrayscalePalette(false);
  ASSERT_EQ(sixteen.size(), 16u);
  for (unsigned i = 0; i < 16; ++i) EXPECT_EQ(sixteen[i].Green, i * 17);
}

TEST(ColorManager, ColourPaletteRespreadsToTheTargetDepth) {
  TColorManager cm = Indexed8();
  cm.SetSourceBitsPerSample(2);
  cm.SetTargetBitsPerSample(4);
  const Bytes data = {10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42};
  const auto palette = cm.CreateColorPalette(data, TPaletteData::Bytes3, 4, false);
  ASSERT_EQ(palette.size(), 16u);
  for (unsigned v = 0; v < 4; ++v) EXPECT_EQ(palette[5 * v].Red, 10 * (v + 1));
  const auto bgr = Indexed8().CreateColorPalette(data, TPaletteData::Bytes4, 9, true);
  ASSERT_EQ(bgr.size(), 3u);  // twelve bytes hold three four-byte colours
  EXPECT_EQ(bgr[1], (TPaletteEntry{30, 22, 21}));  // bytes 4 to 6, blue first
}

TEST(ColorManager, GammaTable) {
  TColorManager cm;  // defaults 1.0 and 2.2
  EXPECT_EQ(cm.GammaTable()[0], 0);
  EXPECT_EQ(cm.GammaTable()[128], 186);
  EXPECT_EQ(cm.GammaTable()[255], 255);
  cm.SetGamma(0.45455f, 2.2f);
  for (unsigned i = 0; i < 256; ++i) ASSERT_EQ(cm.GammaTable()[i], i);
  cm.SetGamma(0, -1);
  EXPECT_EQ(cm.MainGamma(), 1.0f);
  EXPECT_EQ(cm.DisplayGamma(), 2.2f);
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
