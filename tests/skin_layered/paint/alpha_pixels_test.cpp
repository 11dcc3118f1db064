// Pixel routines on plain pixel memory: the transforms with the values the engine's skins rely
// on, and whole-area alpha routines (premultiplying, fills, fades, mixes, alpha fills and grey,
// each cut to the view with half-open rectangles); checked pixel access.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "PixelImage.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"
#include "skin_layered/paint/pixels/PixelTransforms.h"
#include "skin_layered/paint/pixels/Rounding.h"

namespace skin_layered::test {
namespace {

// An image inside a frame of guard pixels: the view covers only the inner part, so any write
// outside it shows in the frame.
class Framed {
 public:
  Framed(int width, int height, TPixel32 fill) : image_(width + 4, height + 4, kGuard) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image_.At(x + 2, y + 2) = fill;
    view_ = image_.View();
    view_.Line0 += 2 * view_.Step + 2 * 4;
    view_.Width = width;
    view_.Height = height;
  }
  const TPixelView& View() const { return view_; }
  TPixel32 At(int x, int y) const { return view_.Row(y)[x]; }
  bool FrameIntact() {
    for (int y = 0; y < image_.Height(); ++y)
      for (int x = 0; x < image_.Width(); ++x) {
        const bool inner = x >= 2 && y >= 2 && x < image_.Width() - 2 && y < image_.Height() - 2;
        if (!inner && image_.At(x, y) != kGuard) return false;
      }
    return true;
  }

 private:
  static constexpr TPixel32 kGuard = 0x5A5A5A5A;
  PixelImage image_;
  TPixelView view_;
};

TEST(AlphaPixels, PremultiplyZeroesOnlyTransparentWhite) {
  PixelImage image(5, 1);
  image.At(0, 0) = 0x00FFFFFF;              // transparent white: nothing
  image.At(1, 0) = 0xFFFFFFFF;              // opaque white stays
  image.At(2, 0) = Bgra(200, 100, 50, 128);  // halved, rounded
  image.At(3, 0) = Bgra(255, 255, 255, 0);   // the same as 0: transparent white
  image.At(4, 0) = Bgra(10, 20, 30, 0);      // transparent colour: black
  PremultiplyArea(image.View(), {0, 0, 5, 1});
  EXPECT_TRUE(PixelsAre(image, {{0, 0, 0u}, {1, 0, 0xFFFFFFFFu}, {2, 0, Bgra(100, 50, 25, 128)}, {3, 0, 0u},
      {4, 0, Bgra(0, 0, 0, 0)}}));
}

// For a display without per-pixel alpha: below half alpha clear, from half up opaque in the
// colour the premultiplied pixel stands for; whole pixels pass unchanged.
TEST(AlphaPixels, AllOrNothingAlpha) {
  PixelImage source(8, 2, 0, true);  // bottom-up, as device-independent bitmaps are
  source.At(0, 0) = Bgra(10, 20, 30, 255);    // opaque: kept
  source.At(1, 0) = 0;                        // clear: kept
  source.At(2, 0) = Bgra(40, 50, 60, 127);    // just below half: clear
  source.At(3, 0) = Bgra(64, 32, 128, 128);   // half: opaque, colour x 255 / 128, rounded
  source.At(4, 0) = Bgra(200, 0, 100, 200);   // 255, 0 and 128
  source.At(5, 0) = Bgra(255, 250, 1, 254);   // above its alpha: limited to 255
  source.At(6, 0) = Bgra(5, 5, 5, 1);
  source.At(7, 0) = 0x00FFFFFF;               // clear, with a colour left in it: 0
  for (int x = 0; x < 8; ++x) source.At(x, 1) = Bgra(1, 2, 3, 255);
  EXPECT_TRUE(HasPartialAlpha(source.View()));

  PixelImage target(8, 2, 0x5A5A5A5A);
  AllOrNothingAlpha(source.View(), target.View());
  EXPECT_TRUE(PixelsAre(target, {{0, 0, Bgra(10, 20, 30, 255)}, {1, 0, 0u}, {2, 0, 0u},
      {3, 0, Bgra(128, 64, 255, 255)}, {4, 0, Bgra(255, 0, 128, 255)}, {5, 0, Bgra(255, 251, 1, 255)},
      {6, 0, 0u}, {7, 0, 0u}, {0, 1, Bgra(1, 2, 3, 255)}, {7, 1, Bgra(1, 2, 3, 255)}}));
  EXPECT_FALSE(HasPartialAlpha(target.View()));

  // Over the area both cover: a smaller target takes the top-left part, nothing more.
  Framed small(3, 1, 0x11111111);
  AllOrNothingAlpha(source.View(), small.View());
  EXPECT_EQ(small.At(2, 0), 0u);
  EXPECT_TRUE(small.FrameIntact());
  EXPECT_FALSE(HasPartialAlpha(PixelImage(4, 4, Bgra(9, 9, 9, 255)).View()));
  EXPECT_FALSE(HasPartialAlpha(TPixelView{}));
}

// The pixels such a display shows, as runs per row: from half alpha up, within the rectangle
// cut to the view; a run ends at the rectangle's edge, and runs never span rows.
TEST(AlphaPixels, ShownRunsAreThePixelsFromHalfAlphaUp) {
  PixelImage image(6, 3, 0, true);
  const std::uint8_t row0[6] = {127, 128, 255, 0, 200, 128};
  for (int x = 0; x < 6; ++x) image.At(x, 0) = Bgra(1, 2, 3, row0[x]);
  for (int x = 0; x < 6; ++x) image.At(x, 1) = Bgra(9, 9, 9, 255);
  image.At(3, 2) = Bgra(9, 9, 9, 128);
  auto runs = [&](TPixelRect r) {
    std::vector<TPixelRect> out;
    AppendShownRuns(image.View(), r, out);
    std::vector<std::vector<int>> flat;
    for (const TPixelRect& run : out) flat.push_back({run.Left, run.Top, run.Right, run.Bottom});
    return flat;
  };
  using Runs = std::vector<std::vector<int>>;
  EXPECT_EQ(runs({0, 0, 6, 3}), (Runs{{1, 0, 3, 1}, {4, 0, 6, 1}, {0, 1, 6, 2}, {3, 2, 4, 3}}));
  // Cut to the rectangle, and to the view.
  EXPECT_EQ(runs({2, 0, 5, 2}), (Runs{{2, 0, 3, 1}, {4, 0, 5, 1}, {2, 1, 5, 2}}));
  EXPECT_EQ(runs({-4, 2, 40, 9}), (Runs{{3, 2, 4, 3}}));
  EXPECT_TRUE(runs({0, 0, 0, 3}).empty());
  std::vector<TPixelRect> none;
  AppendShownRuns(TPixelView{}, {0, 0, 5, 5}, none);
  EXPECT_TRUE(none.empty());
}

TEST(AlphaPixels, RectanglesAreHalfOpenAndCutToTheView) {
  Framed image(6, 4, 0);
  FillArea(image.View(), {-3, -3, 2, 2}, 0x11111111);
  EXPECT_EQ(image.At(1, 1), 0x11111111u);
  EXPECT_EQ(image.At(2, 1), 0u);  // right edge excluded
  EXPECT_EQ(image.At(1, 2), 0u);  // bottom edge excluded
  FillArea(image.View(), {5, 3, 100, 100}, 0x22222222);
  EXPECT_EQ(image.At(5, 3), 0x22222222u);
  FillAlphaArea(image.View(), {-10, 2, 1000, 3}, 0x80, kNoColor);
  EXPECT_TRUE(PixelsAre(image, {{0, 2, 0x80000000u}, {5, 3, 0x22222222u}}));
  FadeArea(image.View(), {4, -5, 9, 1}, 0xFFFFFF, 50, 7);
  MixColorArea(image.View(), {-1, 3, 3, 9}, 50, 0x000000);
  PremultiplyArea(image.View(), {-100, -100, 100, 100});
  GreyArea(image.View(), kNoColor);
  SetPixelAt(image.View(), -1, 0, 1);
  SetPixelAt(image.View(), 6, 0, 1);
  SetPixelAt(image.View(), 0, 4, 1);
  EXPECT_TRUE(image.FrameIntact());
  EXPECT_EQ(PixelAt(image.View(), 6, 3), 0u);
  EXPECT_EQ(PixelAt(image.View(), -1, 0), 0u);
  EXPECT_EQ(PixelAt(TPixelView{}, 0, 0), 0u);
  SetPixelAt(image.View(), 5, 0, 0xABCDEF01);
  EXPECT_EQ(PixelAt(image.View(), 5, 0), 0xABCDEF01u);
}

TEST(AlphaPixels, FadeMixAndAlphaFillValues) {
  PixelImage image(4, 1, Bgra(100, 200, 50, 9));
  FadeArea(image.View(), {0, 0, 1, 1}, 0x0000FF /* red */, 30, 200);
  // c - 30 * (c - cc) / 100, truncated toward zero: blue 100 -> 70, green 200 -> 140, red 50 -> 111
  EXPECT_EQ(image.At(0, 0), Bgra(70, 140, 111, 200));
  MixColorArea(image.View(), {1, 0, 2, 1}, 25, 0xFFFFFF);
  // round(c * 0.25 + 255 * 0.75): 25 + 191.25 = 216.25 -> 216; 50 + 191.25 -> 241; 12.5 + 191.25 -> 204
  EXPECT_EQ(image.At(1, 0), Bgra(216, 241, 204, 9));
  image.At(2, 0) = 0x00FF00FF;
  FillAlphaArea(image.View(), {2, 0, 4, 1}, 255, kKeyColor);
  EXPECT_EQ(image.At(2, 0), 0x00FF00FFu);  // the key colour keeps its alpha
  EXPECT_EQ(image.At(3, 0) >> 24, 255u);
  GreyArea(image.View(), kKeyColor);
  EXPECT_EQ(image.At(2, 0), 0x00FF00FFu);
  EXPECT_EQ(image.At(3, 0), Bgra(116, 116, 116, 255));  // (100 + 200 + 50) / 3
}

// The pixel loops round without the rounding call: the same integers, halves to even, also
// for negative values and values a hair off a half.
TEST(AlphaPixels, RoundingWithoutTheCallEqualsNearbyint) {
  std::vector<double> values;
  for (int k = -20000; k <= 20000; ++k) values.push_back(k / 8.0);
  for (double v : {0.49999999999999994, -0.49999999999999994, 2.5000000000000004, 1e15 + 0.5, -1e15 - 0.5,
                    4503599627370495.5, 65535.99999, -0.0})
    values.push_back(v);
  std::uint64_t seed = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < 100000; ++i) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    values.push_back((static_cast<double>(seed >> 11) / 9007199254740992.0 - 0.5) * 2e6);
  }
  for (double v : values) ASSERT_EQ(NearestEven(v), static_cast<long long>(std::nearbyint(v))) << v;
}

// The mix is worked out without a rounding call, once a channel value: it must give what the
// rounding of the expression gives, for every value, target and share (also outside 0..100).
TEST(AlphaPixels, ColourMixEqualsTheRoundedExpressionForEveryInput) {
  auto expression = [](unsigned c, unsigned cc, int percent) {
    const double share = percent / 100.0;
    return static_cast<unsigned>(std::clamp(std::nearbyint(c * share + cc * (1 - share)), 0.0, 255.0));
  };
  int differing = 0;
  for (int percent = -20; percent <= 120; ++percent)
    for (unsigned cc = 0; cc < 256; ++cc)
      for (unsigned c = 0; c < 256; ++c)
        if (MixChannel(c, cc, percent) != expression(c, cc, percent) && ++differing <= 5)
          ADD_FAILURE() << "c " << c << ", cc " << cc << ", percent " << percent;
  EXPECT_EQ(differing, 0);

  // The area takes each channel from its own target channel, alpha kept.
  PixelImage image(256, 1, 0);
  for (int x = 0; x < 256; ++x) image.At(x, 0) = Bgra(x, 255 - x, x ^ 0x5A, x);
  const TColorValue color = 0x204080;  // red 0x80, green 0x40, blue 0x20
  MixColorArea(image.View(), {0, 0, 256, 1}, 37, color);
  for (unsigned x = 0; x < 256; ++x)
    ASSERT_EQ(image.At(static_cast<int>(x), 0),
              Bgra(expression(x, 0x20, 37), expression(255 - x, 0x40, 37), expression(x ^ 0x5A, 0x80, 37), x))
        << x;
}

TEST(AlphaPixels, WordsAndByteOrder) {
  EXPECT_EQ(SwapByteOrder(0x11223344u), 0x44332211u);
  std::vector<std::uint32_t> words{0x01020304u, 0xA0B0C0D0u};
  SwapByteOrder(std::span(words));
  EXPECT_EQ(words, (std::vector<std::uint32_t>{0x04030201u, 0xD0C0B0A0u}));
  std::vector<TPixel32> pixels(5, 0);
  FillPixels(std::span(pixels).subspan(1, 3), 7);
  EXPECT_EQ(pixels, (std::vector<TPixel32>{0, 7, 7, 7, 0}));
  PixelImage image(2, 2);
  image.At(0, 0) = 0x00FFFFFF;
  image.At(1, 1) = 0x01FFFFFF;
  ClearWhiteArea(image.View());
  EXPECT_TRUE(PixelsAre(image, {{0, 0, 0u}, {1, 1, 0x01FFFFFFu}}));
}

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
}  // namespace skin_layered::test
