// Gradient text items and gradient painting on plain pixel memory: stops, shares, clipping
// and the tiled texture.
#include <gtest/gtest.h>

#include "PixelImage.h"
#include "skin_layered/paint/pixels/Gradients.h"

namespace skin_layered::test {
namespace {

constexpr TPixel32 Grey(unsigned v, unsigned a = 255) { return Bgra(v, v, v, a); }
constexpr TColorValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TsGradArray Stops(std::initializer_list<TsGradStop> stops) { return TsGradArray(stops); }

TEST(GradientItems, SeparatorRunsAndEndsCountOnce) {
  const auto items = GradientItems(L";;0;16777215;;100;0;0;");
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0], L"0");
  EXPECT_EQ(items[1], L"16777215");
  EXPECT_EQ(items[2], L"100");
  EXPECT_TRUE(GradientItems(L"").empty());
  EXPECT_TRUE(GradientItems(L";;;").empty());
  EXPECT_EQ(GradientItems(L"a").size(), 1u);
}

TEST(Gradient, VerticalRunsFromTopToBottom) {
  PixelImage img(3, 11, 0, true);
  PaintGradientPixels(img.View(), {0, 0, 3, 11}, Stops({{0, kWhite, 100, kGradientVertical}}), 255);
  for (int y = 0; y <= 10; ++y)
    for (int x = 0; x < 3; ++x) ASSERT_EQ(img.At(x, y), Grey(static_cast<unsigned>(25.5 * y))) << y;

  // Two stops of half each: the boundary row belongs to the second; the last takes the rest.
  PixelImage two(1, 10);
  PaintGradientPixels(two.View(), {0, 0, 1, 10}, Stops({{kRed, kGreen, 50, 0}, {kBlue, kBlue, 50, 1}}), 255);
  EXPECT_TRUE(PixelsAre(two, {{0, 0, Bgra(0, 0, 255, 255)}, {0, 1, Bgra(0, 51, 204, 255)},
      {0, 4, Bgra(0, 204, 51, 255)}}));
  for (int y = 5; y < 10; ++y) EXPECT_EQ(two.At(0, y), Bgra(255, 0, 0, 255)) << y;

  // Shares under 100: the last stop takes the rest; over 100: cut at the bottom, later stops
  // paint nothing.
  PixelImage under(1, 10);
  PaintGradientPixels(under.View(), {0, 0, 1, 10}, Stops({{kRed, kRed, 20, 0}, {kGreen, kGreen, 20, 0}}), 255);
  EXPECT_TRUE(PixelsAre(under, {{0, 1, Bgra(0, 0, 255, 255)}, {0, 9, Bgra(0, 255, 0, 255)}}));
  PixelImage over(1, 10);
  PaintGradientPixels(over.View(), {0, 0, 1, 10},
                      Stops({{kRed, kRed, 60, 0}, {kGreen, kGreen, 60, 0}, {kBlue, kBlue, 30, 0}}), 255);
  EXPECT_TRUE(PixelsAre(over, {{0, 5, Bgra(0, 0, 255, 255)}, {0, 9, Bgra(0, 255, 0, 255)}}));
}

TEST(Gradient, HorizontalRowCopiedDown) {
  PixelImage img(5, 4, 0, true);
  PaintGradientPixels(img.View(), {0, 0, 5, 4}, Stops({{0, 0, 0, kGradientHorizontal}, {0, kWhite, 0, kGradientVertical}}), 255);
  // A first stop of share 0 paints nothing and gives the mode; the last takes the row: 4
  // steps of 63.75.
  const unsigned expected[5] = {0, 63, 127, 191, 255};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(img.At(x, y), Grey(expected[x])) << x << "," << y;
}

TEST(Gradient, ClippedToTheBitmapAndEmptyAfterClipping) {
  PixelImage img(4, 4, 7);
  PaintGradientPixels(img.View(), {-2, -2, 2, 2}, Stops({{0, kWhite, 100, 0}}), 255);
  EXPECT_TRUE(PixelsAre(img, {{0, 0, Grey(0)}, {1, 1, Grey(255)}, {2, 2, 7u}}));
  // Rectangles that lie beside the bitmap paint nothing, whatever the mode.
  for (int mode : {0, 1, 2, 5}) {
    PaintGradientPixels(img.View(), {5, 0, 20, 3}, Stops({{0, kWhite, 100, mode}}), 255);
    PaintGradientPixels(img.View(), {0, -9, 4, -1}, Stops({{0, kWhite, 100, mode}}), 255);
    PaintGradientTexturedPixels(img.View(), {6, 6, 9, 9}, Stops({{0, kWhite, 100, mode}}), 255, 0, img.View(), {});
  }
  EXPECT_TRUE(PixelsAre(img, {{3, 3, 7u}, {3, 0, 7u}}));
  // No stops, the mesh and unknown modes paint nothing here.
  PaintGradientPixels(img.View(), {0, 0, 4, 4}, {}, 255);
  PaintGradientPixels(img.View(), {0, 0, 4, 4}, Stops({{0, kWhite, 100, kGradientMesh}}), 255);
  PaintGradientPixels(img.View(), {0, 0, 4, 4}, Stops({{0, kWhite, 100, -1}}), 255);
  EXPECT_EQ(img.At(3, 3), 7u);
}

// The texture pixel of a destination pixel: tiled from the bitmap's origin.
TPixel32 Mixed(TPixel32 g, TPixel32 t, unsigned w, unsigned alpha) {
  return Bgra(Blend(t & 0xFF, g & 0xFF, w), Blend((t >> 8) & 0xFF, (g >> 8) & 0xFF, w),
              Blend((t >> 16) & 0xFF, (g >> 16) & 0xFF, w), alpha);
}

TEST(Gradient, TextureTiledFromTheBitmapOrigin) {
  PixelImage texture(4, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) texture.At(x, y) = Bgra(40 * x, 100 * y, 7, 0);
  const auto flat = Stops({{0x102030, 0x102030, 100, kGradientVertical}});
  const TPixel32 g = Bgra(0x10, 0x20, 0x30, 0);
  // Two rectangles side by side give what one does; the area (1, 0, 4, 2) is 3 wide.
  PixelImage halves(8, 5), whole(8, 5);
  PaintGradientTexturedPixels(halves.View(), {0, 0, 4, 5}, flat, 200, 128, texture.View(), {1, 0, 4, 2});
  PaintGradientTexturedPixels(halves.View(), {4, 0, 8, 5}, flat, 200, 128, texture.View(), {1, 0, 4, 2});
  PaintGradientTexturedPixels(whole.View(), {0, 0, 8, 5}, flat, 200, 128, texture.View(), {1, 0, 4, 2});
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(halves.At(x, y), whole.At(x, y));
      ASSERT_EQ(whole.At(x, y), Mixed(g, texture.At(1 + x % 3, y % 2), 128, 200)) << x << "," << y;
    }
  // Weight 0 gives the gradient; an empty area means the whole texture; an area outside the
  // texture paints nothing.
  PixelImage plain(2, 2);
  PaintGradientTexturedPixels(plain.View(), {0, 0, 2, 2}, flat, 255, 0, texture.View(), {});
  EXPECT_EQ(plain.At(1, 1), g | 0xFF000000u);
  PixelImage none(2, 2, 3);
  PaintGradientTexturedPixels(none.View(), {0, 0, 2, 2}, flat, 255, 0, texture.View(), {4, 0, 9, 2});
  EXPECT_EQ(none.At(0, 0), 3u);
}

TEST(Gradient, HorizontalTextureBlockRepeatsDown) {
  PixelImage texture(2, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) texture.At(x, y) = Bgra(200 * x, 50 * y, 90, 0);
  PixelImage img(5, 8, 0, true);
  PaintGradientTexturedPixels(img.View(), {0, 1, 5, 8}, Stops({{0, kWhite, 100, kGradientHorizontal}}), 99, 100,
                              texture.View(), {});
  const unsigned g[5] = {0, 63, 127, 191, 255};
  EXPECT_EQ(img.At(0, 0), 0u);
  for (int y = 1; y < 8; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(img.At(x, y), Mixed(Grey(g[x], 0), texture.At(x % 2, y % 3), 100, 99)) << x << "," << y;
}

}  // namespace
}  // namespace skin_layered::test
