// Compositing on plain pixel memory: the exact values of each blend, the row loops against
// the one-channel formula on noisy data, holes, keys, masks, clipping.
#include <gtest/gtest.h>

#include "PixelImage.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered::test {
namespace {

constexpr unsigned Ch(TPixel32 p, unsigned i) { return (p >> (8 * i)) & 0xFF; }

TPixel32 NoisyPixel(std::uint32_t i) {
  const std::uint32_t v = Noise(i);
  // Alpha 0 and 255 and holes often enough to matter.
  switch (v % 7) {
    case 0: return v & 0x00FFFFFF;
    case 1: return v | 0xFF000000;
    case 2: return kHolePixel;
    default: return v;
  }
}

TEST(BlendRows, AlphaBlendMatchesTheChannelFormula) {
  for (int n : {1, 3, 4, 7, 64, 133}) {
    std::vector<TPixel32> d(n), s(n), expected(n);
    for (int i = 0; i < n; ++i) {
      d[i] = Noise(1000 + i);
      s[i] = NoisyPixel(i * 31 + n);
      expected[i] = d[i];
      if (s[i] == kHolePixel) continue;
      const unsigned a = Ch(s[i], 3);
      expected[i] = Bgra(Blend(Ch(s[i], 0), Ch(d[i], 0), a), Blend(Ch(s[i], 1), Ch(d[i], 1), a),
                         Blend(Ch(s[i], 2), Ch(d[i], 2), a), std::max(a, Ch(d[i], 3)));
    }
    AlphaBlendRow(d.data(), s.data(), n);
    EXPECT_EQ(d, expected) << n;
  }
  // The values skins rely on: alpha 0 changes nothing, 255 over 0 gives 254, equal stays.
  TPixel32 d[2] = {Bgra(10, 20, 30, 40), Bgra(0, 100, 0, 0)};
  const TPixel32 s[2] = {Bgra(200, 200, 200, 0), Bgra(255, 100, 0, 255)};
  AlphaBlendRow(d, s, 2);
  EXPECT_EQ(d[0], Bgra(10, 20, 30, 40));
  EXPECT_EQ(d[1], Bgra(254, 100, 0, 255));
}

TEST(BlendRows, ConstantBlendAndMixMatchTheirFormulas) {
  const int n = 37;
  std::vector<TPixel32> a(n), b(n), mask(n);
  for (int i = 0; i < n; ++i) {
    a[i] = Noise(i);
    b[i] = Noise(i + 500);
    mask[i] = Noise(i + 900);
  }
  for (unsigned keep : {0u, 1u, 128u, 255u, 999u}) {
    std::vector<TPixel32> d = b;
    ConstantBlendRow(d.data(), a.data(), n, keep);
    const unsigned t = std::min(keep, 255u);
    for (int i = 0; i < n; ++i)
      for (unsigned ch = 0; ch < 4; ++ch)
        EXPECT_EQ(Ch(d[i], ch), ((static_cast<int>(Ch(b[i], ch)) - static_cast<int>(Ch(a[i], ch))) * static_cast<int>(t) +
                                 static_cast<int>(Ch(a[i], ch)) * 256) >> 8);
    if (keep == 0) EXPECT_EQ(d, a);  // a copy, alpha included
  }
  for (unsigned w : {0u, 77u, 255u, 256u, 70000u}) {
    std::vector<TPixel32> out(n, 0xAB000000u);
    MixRow(out.data(), a.data(), b.data(), n, w);
    const unsigned m = std::min(w, 256u);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(Ch(out[i], 3), 0xABu);
      for (unsigned ch = 0; ch < 3; ++ch) EXPECT_EQ(Ch(out[i], ch), Blend(Ch(a[i], ch), Ch(b[i], ch), m));
    }
  }
  std::vector<TPixel32> out(n, 0x12000000u);
  MixRowByMask(out.data(), a.data(), b.data(), mask.data(), n);
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(Ch(out[i], 3), 0x12u);
    for (unsigned ch = 0; ch < 3; ++ch) EXPECT_EQ(Ch(out[i], ch), Blend(Ch(a[i], ch), Ch(b[i], ch), Ch(mask[i], ch)));
  }
}

TEST(AlphaCopy, TransparencyTintAndHoles) {
  // Transparency takes its share off the source alpha and keeps the destination's.
  PixelImage dst(3, 1, Bgra(0, 0, 0, 0x40)), src(3, 1, Bgra(200, 100, 50, 200));
  src.At(2, 0) = kHolePixel;
  const TCopyArea all{0, 0, 0, 0, 3, 1};
  AlphaCopyArea(dst.View(), src.View(), all, 25, kNoColor, {}, false);
  const unsigned w = 200 * 75 / 100;
  EXPECT_EQ(dst.At(0, 0), Bgra(Blend(200, 0, w), Blend(100, 0, w), Blend(50, 0, w), 0x40));
  EXPECT_EQ(dst.At(2, 0), Bgra(0, 0, 0, 0x40));

  // A pure red tint: white opaque over black gives red 254 only.
  PixelImage black(2, 1, Bgra(0, 0, 0, 0)), white(2, 1, Bgra(255, 255, 255, 255));
  AlphaCopyArea(black.View(), white.View(), {0, 0, 0, 0, 2, 1}, 0, 0x0000FF, {}, false);
  EXPECT_EQ(black.At(0, 0), Bgra(0, 0, 254, 0));
  // A grey tint draws each pixel in its own grey level.
  PixelImage grey(1, 1, Bgra(0, 0, 0, 9)), colour(1, 1, Bgra(30, 60, 90, 255));
  AlphaCopyArea(grey.View(), colour.View(), {0, 0, 0, 0, 1, 1}, 0, 0x808080, {}, false);
  EXPECT_EQ(grey.At(0, 0), Bgra(Blend(60, 0, 255), Blend(60, 0, 255), Blend(60, 0, 255), 9));

  // Holes take the background's colour when it is ready, keeping the destination alpha.
  PixelImage back(4, 4, Bgra(1, 2, 3, 4));
  back.At(3, 2) = Bgra(7, 8, 9, 10);
  TBackground bg{back.View(), 2, 2, true};
  PixelImage target(2, 1, Bgra(50, 50, 50, 0x77)), holes(2, 1, kHolePixel);
  AlphaCopyArea(target.View(), holes.View(), {0, 0, 0, 0, 2, 1}, 0, kNoColor, bg, true);
  EXPECT_TRUE(PixelsAre(target, {{0, 0, Bgra(1, 2, 3, 0x77)}, {1, 0, Bgra(7, 8, 9, 0x77)}}));
  // Not ready: left alone.
  bg.Ready = false;
  PixelImage untouched(1, 1, Bgra(50, 50, 50, 0x77));
  AlphaCopyArea(untouched.View(), holes.View(), {0, 0, 0, 0, 1, 1}, 0, 0x00FF00, bg, true);
  EXPECT_EQ(untouched.At(0, 0), Bgra(50, 50, 50, 0x77));
}

TEST(AlphaCopy, ClippingMovesTheOtherOrigin) {
  auto area = ClipAlphaCopy({-2, 1, 10, 10}, {0, -1, 5, 5}, 8, 8, 5, 5);
  ASSERT_TRUE(area);
  EXPECT_EQ(area->DstX, 0);
  EXPECT_EQ(area->SrcX, 2);
  EXPECT_EQ(area->DstY, 2);
  EXPECT_EQ(area->SrcY, 0);
  EXPECT_EQ(area->Width, 3);
  EXPECT_EQ(area->Height, 5);
  EXPECT_FALSE(ClipAlphaCopy({8, 0, 12, 4}, {0, 0, 4, 4}, 8, 8, 4, 4));
  EXPECT_FALSE(ClipAlphaCopy({0, 0, 4, 4}, {0, 0, 0, 4}, 8, 8, 4, 4));
}

TEST(AlphaCopy, ReflectionReadsOnlyTheCopiedRows) {
  // A copy of source rows 6..7 of a 16-row source: the mirror would reach rows above the
  // copied area; it stops at its first row.
  PixelImage src(1, 16, Bgra(0, 0, 0, 255), true);
  for (int y = 0; y < 16; ++y) src.At(0, y) = Bgra(10 * y, 0, 0, 255);
  PixelImage dst(1, 20, Bgra(0, 0, 0, 0x11));
  const TCopyArea area{0, 0, 0, 6, 1, 2};
  ReflectArea(dst.View(), src.View(), area, 0, kNoColor);
  // Rows = min(16 / 2 - 1, 20 - 2 - 1) = 7; only j = 1 (source row 6) is inside the area.
  const unsigned w = ((255u * 6) / 7 * 255) >> 9;
  EXPECT_EQ(dst.At(0, 3), Bgra(Blend(60, 0, w), 0, 0, 0x11));
  for (int y = 4; y < 20; ++y) EXPECT_EQ(dst.At(0, y), Bgra(0, 0, 0, 0x11)) << y;
}

TEST(AlphaCopy, BlendByMaskGrowsTheAlpha) {
  PixelImage dst(3, 1, Bgra(0, 0, 0, 100)), src(3, 1, Bgra(255, 0, 0, 128));
  src.At(1, 0) = Bgra(9, 9, 9, 0);
  src.At(2, 0) = kHolePixel;
  PixelImage back(3, 1, Bgra(4, 5, 6, 7));
  BlendAreaByMask(dst.View(), src.View(), {0, 0, 0, 0, 3, 1}, {back.View(), 0, 0, true}, true);
  EXPECT_TRUE(PixelsAre(dst, {{0, 0, Bgra(Blend(255, 0, 128), 0, 0, 100 + ((155 * 128) >> 8))},
      {1, 0, Bgra(0, 0, 0, 100)}, {2, 0, Bgra(4, 5, 6, 255)}}));
}

TEST(ConstantBlend, BothEndsIncludedAndOriginsShifted) {
  PixelImage src(4, 4), dst(6, 6, Bgra(0, 0, 0, 0));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.At(x, y) = Bgra(x, y, 1, 200);
  // Weight 0 copies; SR (1, 1, 2, 2) covers columns and rows 1 and 2.
  BlendTransArea(dst.View(), src.View(), 0, 3, 3, {1, 1, 2, 2});
  EXPECT_TRUE(PixelsAre(dst, {{3, 3, Bgra(1, 1, 1, 200)}, {4, 4, Bgra(2, 2, 1, 200)}, {5, 5, 0u}}));
  // A negative point moves the source origin: (-1, -1) starts at source (1, 1).
  PixelImage moved(4, 4);
  BlendTransArea(moved.View(), src.View(), 0, -1, -1, {0, 0, 4, 4});
  EXPECT_TRUE(PixelsAre(moved, {{0, 0, Bgra(1, 1, 1, 200)}, {3, 3, 0u}}));
  // The whole bitmap as SR: limited to its last column and row.
  PixelImage half(4, 4, Bgra(100, 100, 100, 100));
  BlendTransArea(half.View(), src.View(), 128, 0, 0, {0, 0, 4, 4});
  EXPECT_EQ(half.At(3, 3), Bgra(Blend(3, 100, 128), Blend(3, 100, 128), Blend(1, 100, 128), Blend(200, 100, 128)));
  // Starting outside either bitmap: nothing.
  PixelImage none(2, 2, 5);
  BlendTransArea(none.View(), src.View(), 0, 2, 0, {0, 0, 1, 1});
  BlendTransArea(none.View(), src.View(), 0, 0, 0, {4, 0, 6, 1});
  EXPECT_TRUE(PixelsAre(none, {{0, 0, 5u}, {1, 1, 5u}}));
}

TEST(KeyedCopies, SkipTheKeyAndFillFromTheBackground) {
  PixelImage src(3, 1);
  src.At(0, 0) = Bgra(10, 20, 30, 40);
  src.At(1, 0) = kHolePixel;
  src.At(2, 0) = Bgra(255, 0, 255, 255);  // the key colour with alpha: not the key
  // BlendRect: k 0 gives the source colours, 1 keeps the destination, alpha kept.
  PixelImage d0(3, 1, Bgra(100, 100, 100, 9)), d1(3, 1, Bgra(100, 100, 100, 9));
  BlendRectArea(d0.View(), 0, 0, kKeyColor, 0.0, {0, 0, 3, 1}, src.View());
  BlendRectArea(d1.View(), 0, 0, kKeyColor, 1.0, {0, 0, 3, 1}, src.View());
  EXPECT_TRUE(PixelsAre(d0, {{1, 0, Bgra(100, 100, 100, 9)}, {2, 0, Bgra(255, 0, 255, 9)}}));
  EXPECT_EQ(d1.At(0, 0), Bgra(100, 100, 100, 9));
  PixelImage quarter(1, 1, Bgra(0, 0, 0, 0));
  BlendRectArea(quarter.View(), 0, 0, kKeyColor, 0.25, {0, 0, 1, 1}, src.View());
  EXPECT_EQ(quarter.At(0, 0), Bgra(7, 15, 22, 0));  // s * 0.75, truncated

  // CopyRectTrans copies alpha too; SumBitmapRect makes it 255.
  PixelImage t1(4, 1, 1), t2(4, 1, 1);
  CopyNonKeyArea(t1.View(), src.View(), 1, 0, {0, 0, 3, 1}, kKeyColor);
  SumArea(t2.View(), src.View(), 1, 0, kKeyColor);
  EXPECT_TRUE(PixelsAre(t1, {{1, 0, Bgra(10, 20, 30, 40)}, {2, 0, 1u}, {3, 0, Bgra(255, 0, 255, 255)}}));
  EXPECT_TRUE(PixelsAre(t2, {{1, 0, Bgra(10, 20, 30, 255)}, {2, 0, 1u}}));

  // CopyRectKeyed: key pixels take the background, or the copy is made opaque when the
  // background is the target itself.
  PixelImage target(3, 1, 2), back(5, 1, Bgra(6, 6, 6, 6));
  CopyKeyedArea(target.View(), src.View(), 0, 0, {0, 0, 3, 1}, kKeyColor, true, {back.View(), 1, 0, true});
  EXPECT_TRUE(PixelsAre(target, {{0, 0, Bgra(10, 20, 30, 40)}, {1, 0, Bgra(6, 6, 6, 6)}}));
  PixelImage self(3, 1, 2);
  CopyKeyedArea(self.View(), src.View(), 0, 0, {0, 0, 3, 1}, kKeyColor, true, {self.View(), 0, 0, true});
  EXPECT_TRUE(PixelsAre(self, {{0, 0, Bgra(10, 20, 30, 255)}, {1, 0, 2u}}));
  PixelImage plain(3, 1, 2);
  CopyKeyedArea(plain.View(), src.View(), 0, 0, {0, 0, 3, 1}, kKeyColor, false, {back.View(), 0, 0, true});
  EXPECT_EQ(plain.At(1, 0), 2u);

  // A source rectangle partly outside the source keeps every pixel in its place.
  PixelImage placed(4, 1, 0);
  CopyNonKeyArea(placed.View(), src.View(), 1, 0, {-1, 0, 2, 1}, kKeyColor);
  EXPECT_TRUE(PixelsAre(placed, {{1, 0, 0u}, {2, 0, Bgra(10, 20, 30, 40)}}));
}

TEST(MaskedCopy, MaskChannelsWeighTheTarget) {
  // A 2 x 1 picture with its mask one row below: white keeps the target, black gives the
  // picture, grey mixes.
  PixelImage picture(3, 2);
  picture.At(0, 0) = Bgra(200, 100, 0, 0);
  picture.At(1, 0) = Bgra(200, 100, 0, 0);
  picture.At(2, 0) = Bgra(255, 0, 255, 0x80);  // the key colour, whatever its alpha
  picture.At(0, 1) = Bgra(255, 255, 255, 0);
  picture.At(1, 1) = Bgra(0, 128, 0, 0);
  PixelImage target(3, 1, Bgra(50, 50, 50, 3)), back(3, 1, Bgra(1, 1, 1, 1));
  CopyMaskedArea(target.View(), 0, 0, picture.View(), {0, 0, 3, 1}, 1, true, {back.View(), 0, 0, false});
  EXPECT_TRUE(PixelsAre(target, {{0, 0, Bgra((50 * 255 + 200) >> 8, (50 * 255 + 100) >> 8, (50 * 255) >> 8, 255)},
      {1, 0, Bgra(200, (50 * 128 + 100 * 128) >> 8, 0, 255)}, {2, 0, Bgra(1, 1, 1, 1)}}));
  // Black in every colour channel gives the picture's pixel whole, whatever the mask's alpha;
  // one channel of 1 still mixes that channel.
  PixelImage faces(2, 2);
  faces.At(0, 0) = Bgra(200, 100, 60, 9);
  faces.At(1, 0) = Bgra(200, 100, 60, 9);
  faces.At(0, 1) = Bgra(0, 0, 0, 255);
  faces.At(1, 1) = Bgra(0, 0, 1, 0);
  PixelImage onto(2, 1, Bgra(50, 50, 50, 3));
  CopyMaskedArea(onto.View(), 0, 0, faces.View(), {0, 0, 2, 1}, 1, false, {});
  EXPECT_TRUE(PixelsAre(onto, {{0, 0, Bgra(200, 100, 60, 255)}, {1, 0, Bgra(200, 100, (50 + 60 * 255) >> 8, 255)}}));
  // A piece whose mask would fall below the picture is cut.
  PixelImage cut(3, 2, 7);
  CopyMaskedArea(cut.View(), 0, 0, picture.View(), {0, 0, 3, 2}, 1, false, {});
  EXPECT_EQ(cut.At(0, 1), 7u);
}

TEST(Colours, MovingTowardAColourAndMixing) {
  PixelImage img(2, 1, Bgra(100, 200, 0, 77));
  img.At(1, 0) = kHolePixel;
  BlendColorToView(img.View(), 0x0000FF /* red */, 0.5);
  EXPECT_TRUE(PixelsAre(img, {{0, 0, Bgra(50, 100, 127, 77)}, {1, 0, kHolePixel}}));

  EXPECT_EQ(MixColors(0x000000, 0xFFFFFF, 0.25), 0xBFBFBFu);  // 191.25 truncated

  PixelImage out(3, 2, 0x55000000), a(2, 2, Bgra(200, 200, 200, 1)), b(2, 2, Bgra(0, 0, 0, 2));
  MixViews(out.View(), a.View(), b.View(), 128, nullptr);
  EXPECT_TRUE(PixelsAre(out, {{1, 1, Bgra(100, 100, 100, 0x55)}, {2, 1, 0x55000000u}}));
  // Sizes that do not fit: nothing.
  PixelImage small(1, 1, 9), tinyMask(1, 1);
  MixViews(small.View(), a.View(), b.View(), 128, nullptr);
  const TPixelView maskView = tinyMask.View();
  MixViews(out.View(), a.View(), b.View(), 255, &maskView);
  EXPECT_EQ(small.At(0, 0), 9u);
  EXPECT_EQ(out.At(0, 0), Bgra(100, 100, 100, 0x55));

  PixelImage shade(2, 1, Bgra(200, 200, 200, 33)), mask(2, 1, Bgra(255, 255, 255, 0));
  mask.At(1, 0) = Bgra(0, 64, 128, 0);
  ShadeTowardColor(shade.View(), mask.View(), 0x000000);
  EXPECT_TRUE(PixelsAre(shade, {{0, 0, Bgra(199, 199, 199, 33)}, {1, 0, Bgra(0, 50, 100, 33)}}));
}

}  // namespace
}  // namespace skin_layered::test
