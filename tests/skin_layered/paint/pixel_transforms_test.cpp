// Pixel transforms of 32-bit bitmaps with the values the engine's skins rely on.
#include <gtest/gtest.h>

#include <vector>

#include "skin_layered/paint/pixels/PixelTransforms.h"

namespace skin_layered {
namespace {

constexpr TPixel32 Pixel(unsigned b, unsigned g, unsigned r, unsigned a) { return a << 24 | r << 16 | g << 8 | b; }

TEST(PixelTransforms, Saturation) {
  TPixel32 p = Pixel(0, 100, 200, 9);  // red 200, green 100, blue 0: average 100
  SaturationPixel(p, 255);
  EXPECT_EQ(p, Pixel(0, 100, 255, 9));
  EXPECT_EQ(ChangeSaturation(0x0064C8, 255), 0x0064FFu);
  EXPECT_EQ(ChangeSaturation(0x123456, 0), 0x123456u);
  EXPECT_EQ(ChangeSaturation(0x00FF00, -255), 0x555555u);  // grey
  EXPECT_EQ(ChangeSaturation(0x40A060, -128), 0x558565u);  // halfway, truncating toward zero
}

TEST(PixelTransforms, Hue) {
  TPixel32 red = Pixel(0, 0, 255, 77);
  HuePixel(red, 120);
  EXPECT_EQ(red, Pixel(0, 255, 0, 77));
  for (TColorValue c : {0x0000FFu, 0x123456u, 0x808080u, 0u})
    EXPECT_EQ(ChangeHue(0, c), c);
  EXPECT_EQ(ChangeHue(120, 0x0000FF), 0x00FF00u);  // colour value: red in the low byte
  EXPECT_EQ(ChangeHue(240, 0x0000FF), 0xFF0000u);
  // A negative offset turns the other way instead of falling out of 0..359.
  EXPECT_EQ(ChangeHue(-120, 0x0000FF), 0xFF0000u);
  EXPECT_EQ(ChangeHue(-480, 0x0000FF), 0xFF0000u);
  EXPECT_EQ(ChangeHue(-120, 0x00FF00), 0x0000FFu);
  EXPECT_EQ(ChangeHue(90, 0x808080), 0x808080u);  // grey has no hue
}

TEST(PixelTransforms, ToneBrightnessAndSwap) {
  EXPECT_EQ(ToneColor(Pixel(10, 200, 50, 33), 0x808080), Pixel(100, 100, 100, 33));
  TPixel32 p = Pixel(10, 200, 50, 33);
  ColorizePixel(p, 0x0000FF);  // red tone
  EXPECT_EQ(p, Pixel(0, 0, 199, 33));
  EXPECT_EQ(ChangeBrightness(0xC8C8C8, 100), 0xFFFFFFu);
  EXPECT_EQ(ChangeBrightness(0x323232, -100), 0u);
  EXPECT_EQ(ChangeBrightness(0x7F102030, 5), 0x7F152535u);  // byte 3 kept
  EXPECT_EQ(ChangeBrightness(0x7F102030, 0), 0x7F102030u);
  EXPECT_EQ(SwapRedBlue(0x112233), 0x332211u);
  EXPECT_EQ(SwapRedBlue(0x01112233), 0x332311u);  // the flags byte adds into green
}

TEST(PixelTransforms, KeyColourSkipsOnlyTheExactPixel) {
  std::vector<TPixel32> row = {Pixel(255, 0, 255, 0), Pixel(255, 0, 255, 255), Pixel(1, 2, 3, 0)};
  ChangeRowPixels(row, ColorizePixel, 0x808080, kKeyColor);
  EXPECT_EQ(row[0], Pixel(255, 0, 255, 0));
  EXPECT_EQ(row[1], Pixel(127, 127, 127, 255));
  EXPECT_EQ(row[2], Pixel(1, 1, 1, 0));
  ChangeRowPixels(row, SaturationPixel, -255, kNoColor);
  EXPECT_EQ(row[0], Pixel(170, 170, 170, 0));
}

TEST(PixelTransforms, ChannelsAndHalfMask) {
  std::vector<TPixel32> target = {Pixel(1, 2, 3, 4), Pixel(5, 6, 7, 8)};
  const std::vector<TPixel32> source = {Pixel(10, 20, 30, 40), Pixel(50, 60, 70, 80)};
  CopyChannelRow(target, source, 3);
  EXPECT_EQ(target, (std::vector{Pixel(1, 2, 3, 40), Pixel(5, 6, 7, 80)}));
  std::vector<std::uint8_t> plane(2);
  ChannelToPlaneRow(target, plane, 1, true);
  EXPECT_EQ(plane, (std::vector<std::uint8_t>{2, 6}));
  plane = {99, 98};
  ChannelToPlaneRow(target, plane, 0, false);
  EXPECT_EQ(target, (std::vector{Pixel(99, 2, 3, 40), Pixel(98, 6, 7, 80)}));
  MaskRowToAlpha(target, std::vector{Pixel(0, 0, 255, 0), Pixel(0, 0, 55, 0)});
  EXPECT_EQ(target, (std::vector{Pixel(99, 2, 3, 0), Pixel(98, 6, 7, 200)}));
}

}  // namespace
}  // namespace skin_layered
