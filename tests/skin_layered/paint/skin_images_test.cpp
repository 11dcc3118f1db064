// Skin images of a synthetic skin painted into 32-bit bitmaps: every part of a state image
// has its own flat colour, so one pixel tells which part (and state) reached it.
#include "paint_win_support.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

constexpr TPixel32 Corner(int state) { return Bgra(10 * state + 1, 1, 1, 255); }
constexpr TPixel32 Side(int state) { return Bgra(10 * state + 2, 2, 2, 255); }
constexpr TPixel32 Centre(int state) { return Bgra(10 * state + 3, 3, 3, 255); }
constexpr TPixel32 kGuard = Bgra(7, 7, 7, 7);

// Paints one state image at (x0, y0), w x h with margin m on every side, in its part colours.
void PaintState(vcl::TBitmap& bmp, int x0, int y0, int w, int h, int m, int state) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool sideX = x < m || x >= w - m, sideY = y < m || y >= h - m;
      SetPixelOf(bmp, x0 + x, y0 + y, sideX && sideY ? Corner(state) : sideX || sideY ? Side(state) : Centre(state));
    }
}

// A skin whose master bitmap holds States state images of 6 x 6 with margins 2 side by side,
// and, with a mask, their masks below them.
struct Skin {
  TsLoadedSkin skin;
  TsMaskData image;

  Skin(int states, TPixel32 mask = 0, bool masked = false) {
    skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(6 * states, masked ? 12 : 6, mask).release());
    for (int s = 0; s < states; ++s) PaintState(*skin.MasterBitmap, 6 * s, 0, 6, 6, 2, s);
    image = SkinImage(skin, Rect(0, 0, 6 * states, masked ? 12 : 6), states, 2, masked ? 1 : 0);
    image.DrawMode = 4;  // with the centre
  }
};

TEST(DrawSkinRect, CornersSidesAndCentreOfTheState) {
  Skin s(3);
  auto bmp = Filled32(14, 12, kGuard);
  DrawSkinRect(bmp.get(), Rect(1, 1, 13, 11), {}, s.image, 1, false);
  EXPECT_TRUE(PixelsAre(*bmp, {{12, 10, Corner(1)}, {11, 5, Side(1)}, {6, 6, Centre(1)}}));
  for (auto [x, y] : {std::pair{0, 0}, {13, 11}, {13, 5}}) EXPECT_EQ(PixelOf(*bmp, x, y), kGuard) << x << "," << y;

  // A state past the last paints the last; without the centre bit the centre stays.
  s.image.DrawMode = 0;
  auto other = Filled32(10, 10, kGuard);
  DrawSkinRect(other.get(), Rect(0, 0, 10, 10), {}, s.image, 5, false);
  EXPECT_TRUE(PixelsAre(*other, {{0, 0, Corner(2)}, {5, 0, Side(2)}, {5, 5, kGuard}}));
}

TEST(DrawSkinRect, NothingWithoutSkinForNormalStateWhenAskedOrInTinyRectangles) {
  Skin s(2);
  auto bmp = Filled32(8, 8, kGuard);
  s.image.DrawMode = 2 | 4;
  DrawSkinRect(bmp.get(), Rect(0, 0, 8, 8), {}, s.image, 0, false);
  DrawSkinRect(bmp.get(), Rect(0, 0, 1, 8), {}, s.image, 1, false);
  DrawSkinRect(bmp.get(), Rect(20, 20, 40, 40), {}, s.image, 1, false);
  TsMaskData orphan = s.image;
  orphan.Manager = nullptr;
  DrawSkinRect(bmp.get(), Rect(0, 0, 8, 8), {}, orphan, 1, false);
  EXPECT_EQ(PixelOf(*bmp, 0, 0), kGuard);
  DrawSkinRect(bmp.get(), Rect(0, 0, 8, 8), {}, s.image, 1, false);
  EXPECT_EQ(PixelOf(*bmp, 0, 0), Corner(1));
  // A bitmap without alpha is no target.
  auto plain = Canvas24(8, 8, RGB(1, 2, 3));
  DrawSkinRect(plain.get(), Rect(0, 0, 8, 8), {}, s.image, 1, false);
  EXPECT_EQ(ColorOf(*plain, 0, 0), RGB(1, 2, 3));
}

TEST(DrawSkinRect, MarginsWiderThanTheRectangleShareIt) {
  // Left corner columns 0..7 in one colour, right corner columns 12..19 in another.
  TsLoadedSkin skin;
  skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(20, 4, Side(0)).release());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      SetPixelOf(*skin.MasterBitmap, x, y, Corner(1));
      SetPixelOf(*skin.MasterBitmap, 12 + x, y, Corner(2));
    }
  TsMaskData image = SkinImage(skin, Rect(0, 0, 20, 4), 1, 0);
  image.WidthLeft = image.WidthRight = 8;
  auto bmp = Filled32(10, 4, kGuard);
  DrawSkinRect(bmp.get(), Rect(0, 0, 10, 4), {}, image, 0, false);
  EXPECT_TRUE(PixelsAre(*bmp, {{4, 1, Corner(1)}, {5, 1, Corner(2)}}));  // 5 and 5
}

TEST(DrawSkinRect, KeyCornersShowTheParentOnlyWhenUpdatingCorners) {
  Skin s(1);
  SetPixelOf(*s.skin.MasterBitmap, 0, 0, 0x00FF00FF);
  s.image.TransparentBorder = 1;
  auto parent = Filled32(20, 20, Bgra(90, 80, 70, 255));
  TqvCacheInfo ci;
  MakeCacheInfo(parent.get(), 3, 4, ci);
  for (bool update : {false, true}) {
    auto bmp = Filled32(8, 8, kGuard);
    DrawSkinRect(bmp.get(), Rect(0, 0, 8, 8), ci, s.image, 0, update);
    EXPECT_TRUE(PixelsAre(*bmp, {{0, 0, update ? Bgra(90, 80, 70, 255) : kGuard}, {1, 0, Corner(0)}}));
  }
}

TEST(DrawSkinRect, MaskedImagesKeepTheAlphaInTheLayeredForms) {
  // A grey mask gives partial coverage over a transparent target.
  Skin g(1, 0xFF808080u, true);
  auto layered = Filled32(6, 6, 0);
  DrawSkinRect32(layered.get(), Rect(0, 0, 6, 6), {}, g.image, 0);
  EXPECT_EQ(PixelOf(*layered, 0, 0) >> 24, 255u - 128u);
  EXPECT_EQ(PixelOf(*layered, 0, 0) & 0xFF, (1u * 127) >> 8);
  // The same through a copy of the record and an explicit image rectangle, stretched.
  auto stretched = Filled32(12, 12, 0);
  TsMaskData copy = g.image;
  copy.DrawMode = 1 | 4;
  DrawSkinRectEx(stretched.get(), Rect(0, 0, 12, 12), {}, copy, Rect(0, 0, 6, 12), 0);
  EXPECT_EQ(PixelOf(*stretched, 0, 0) >> 24, 127u);
  EXPECT_NEAR(static_cast<int>(PixelOf(*stretched, 6, 6) >> 24), 127, 2);
}

TEST(DrawSkinGlyph, KeyedBlendedAndMaskedGlyphs) {
  Skin s(2);
  SetPixelOf(*s.skin.MasterBitmap, 6, 0, 0x00FF00FF);  // a hole in state 1
  auto parent = Filled32(10, 10, Bgra(50, 60, 70, 255));
  TqvCacheInfo ci;
  MakeCacheInfo(parent.get(), 0, 0, ci);
  auto bmp = Filled32(10, 10, Bgra(0, 0, 0, 255));
  DrawSkinGlyph(bmp.get(), {2, 2}, 1, 1, s.image, ci);
  EXPECT_TRUE(PixelsAre(*bmp, {{2, 2, Bgra(50, 60, 70, 255)}, {3, 2, Corner(1)}, {8, 8, Bgra(0, 0, 0, 255)}}));
  // Any other mode: half transparent.
  auto half = Filled32(6, 6, Bgra(0, 0, 0, 255));
  DrawSkinGlyph(half.get(), {0, 0}, 0, 0, s.image, ci);
  EXPECT_EQ(PixelOf(*half, 3, 3), Bgra(3 / 2, 3 / 2, 3 / 2, 255));

  // An image with its own bitmap and a mask: black shows the glyph, white leaves the target.
  TsMaskData own;
  own.Bmp = std::shared_ptr<vcl::TBitmap>(Filled32(2, 2, Bgra(200, 100, 50, 255)).release());
  SetPixelOf(*own.Bmp, 0, 1, 0);
  SetPixelOf(*own.Bmp, 1, 1, 0x00FFFFFF);
  own.R = Rect(0, 0, 2, 2);
  own.ImageCount = 1;
  own.MaskType = 1;
  auto target = Filled32(2, 1, Bgra(9, 9, 9, 0));
  DrawSkinGlyph(target.get(), {0, 0}, 0, 1, own, {});
  EXPECT_EQ(PixelOf(*target, 0, 0), Bgra(200, 100, 50, 254));  // alpha 0 + 255 * 255 shr 8
  EXPECT_EQ(PixelOf(*target, 1, 0), Bgra(9, 9, 9, 0));
}

TEST(BlendMasterRect, KeyPixelsTakeTheFillColourOrTheBackground) {
  TsLoadedSkin skin;
  skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(2, 4, 0).release());  // black mask below
  SetPixelOf(*skin.MasterBitmap, 0, 0, 0x00FF00FF);
  SetPixelOf(*skin.MasterBitmap, 1, 0, Bgra(1, 2, 3, 255));
  TsMaskData image;
  image.Manager = &skin;
  auto parent = Filled32(4, 4, Bgra(40, 40, 40, 255));
  TqvCacheInfo ci;
  MakeCacheInfo(parent.get(), 0, 0, ci);
  auto bmp = Filled32(3, 1, Bgra(5, 5, 5, 5));
  BlendMasterRect({-1, 0}, Rect(0, 0, 2, 4), bmp.get(), ci, image);  // the first column falls outside
  EXPECT_TRUE(PixelsAre(*bmp, {{0, 0, Bgra(1, 2, 3, 5)}, {1, 0, Bgra(5, 5, 5, 5)}}));
  ci.FillColor = 0x0000FF;
  BlendMasterRect({1, 0}, Rect(0, 0, 2, 4), bmp.get(), ci, image);
  EXPECT_EQ(PixelOf(*bmp, 1, 0), Bgra(0, 0, 255, 5));
  ci.FillColor = kKeyColor;
  BlendMasterRect({1, 0}, Rect(0, 0, 2, 4), bmp.get(), ci, image);
  EXPECT_EQ(PixelOf(*bmp, 1, 0), Bgra(40, 40, 40, 255));
}

TEST(PaintMaskPart, KeyPixelsOfTheCornerTakeTheSource) {
  auto dest = Filled32(4, 4, Bgra(1, 1, 1, 255));
  SetPixelOf(*dest, 1, 1, 0x00FF00FF);
  SetPixelOf(*dest, 3, 3, 0x00FF00FF);
  auto src = Filled32(4, 4, Bgra(8, 8, 8, 255));
  PaintMaskPart(dest.get(), src.get(), Rect(0, 0, 3, 3), {1, 1}, kNoIndex, nullptr, kPieceTopLeft);
  EXPECT_EQ(PixelOf(*dest, 1, 1), Bgra(8, 8, 8, 255));
  EXPECT_EQ(PixelOf(*dest, 3, 3), 0x00FF00FFu);  // outside R
  // With an image: its bottom-right corner decides.
  Skin s(1);
  SetPixelOf(*s.skin.MasterBitmap, 5, 5, 0x00FF00FF);
  s.skin.Images.push_back(s.image);
  auto corner = Filled32(2, 2, Bgra(1, 1, 1, 255));
  PaintMaskPart(corner.get(), src.get(), Rect(0, 0, 2, 2), {0, 0}, 0, &s.skin, kPieceBottomRight);
  EXPECT_TRUE(PixelsAre(*corner, {{1, 1, Bgra(8, 8, 8, 255)}, {0, 0, Bgra(1, 1, 1, 255)}}));
}

TEST(TileMaskedImage, WholeCellsAndBackgroundStrips) {
  // Cells 2 x 2 of one colour over a black mask.
  TsLoadedSkin skin;
  skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(2, 4, 0xFF000000u).release());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) SetPixelOf(*skin.MasterBitmap, x, y, Centre(0));
  const TsMaskData image = SkinImage(skin, Rect(0, 0, 2, 4), 1, 0);
  TqvCacheInfo ci;
  ci.FillColor = 0x00FF00;  // green, not ready
  auto bmp = Filled32(6, 6, kGuard);
  vcl::TRect r = Rect(0, 0, 5, 3);
  TileMaskedImage(bmp.get(), r, ci, 10, image);
  EXPECT_EQ(r, Rect(-1, -1, -1, -1));
  EXPECT_EQ(PixelOf(*bmp, 3, 1), Centre(0));
  EXPECT_EQ(PixelOf(*bmp, 4, 1), Bgra(0, 255, 0, 255));  // right of the whole cells
  EXPECT_EQ(PixelOf(*bmp, 0, 2), Bgra(0, 255, 0, 255));  // below them
  EXPECT_TRUE(PixelsAre(*bmp, {{5, 1, kGuard}, {0, 3, kGuard}}));
  // Mode 0 covers all of R, cut at its edges; other modes leave R.
  auto tiled = Filled32(6, 6, kGuard);
  r = Rect(1, 1, 4, 4);
  TileMaskedImage(tiled.get(), r, ci, 0, image);
  EXPECT_TRUE(PixelsAre(*tiled, {{3, 3, Centre(0)}, {4, 4, kGuard}}));
  r = Rect(1, 1, 4, 4);
  TileMaskedImage(tiled.get(), r, ci, 3, image);
  EXPECT_EQ(r, Rect(1, 1, 4, 4));
}

}  // namespace
}  // namespace skin_layered::test
