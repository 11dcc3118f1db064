// Drawing primitives on memory bitmaps: nine-part stretching and tiling, frames, transparency,
// three-slice images, regions, tool bar faces and the parent's background under a child.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <tuple>

#include "skin_classic/paint/SkinDraw.h"
#include "skin_classic/paint/SkinRegion.h"
#include "skin_classic/support/win_skin_support.h"
#include "support/win_test_support.h"

namespace winskin {
namespace {

using namespace test;
using vcl::TColor;

// Frame f (1-based) of a picture whose frames are 3 x 3 blocks of `block` pixels, each
// block of its own colour.
Rgb BlockColour(int frame, int bx, int by) { return MakeRgb(10 + 60 * bx, 10 + 60 * by, 40 * frame); }

std::unique_ptr<vcl::TBitmap> NinePatch(int frames, int block, bool stacked = false) {
  const int side = 3 * block;
  return FromBmp(Bmp24(stacked ? side : side * frames, stacked ? side * frames : side, [&](int x, int y) {
    const int frame = (stacked ? y : x) / side + 1;
    return BlockColour(frame, (x % side) / block, (y % side) / block);
  }));
}

TColor Block(int frame, int bx, int by) { return C(BlockColour(frame, bx, by)); }

TEST(StretchSkinBitmap, CornersStayEdgesAndCentreStretch) {
  auto source = NinePatch(2, 3);
  auto b = StretchSkinBitmap(vcl::Rect(5, 5, 25, 20), source.get(), vcl::Rect(3, 3, 3, 3), false, false, 2, 2,
                             vcl::clWhite);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Width(), 20);
  EXPECT_EQ(b->Height(), 15);
  // {x, y, block column, block row}: corners kept, edges and centre stretched.
  const int probes[][4] = {{0, 0, 0, 0},  {2, 2, 0, 0},  {10, 1, 1, 0},  {19, 0, 2, 0},  {1, 7, 0, 1},  {10, 7, 1, 1},
                           {18, 7, 2, 1}, {0, 14, 0, 2}, {10, 13, 1, 2}, {19, 14, 2, 2}, {17, 12, 2, 2}};
  for (const auto& p : probes) EXPECT_EQ(At(b.get(), p[0], p[1]), Block(2, p[2], p[3])) << p[0] << "," << p[1];

  // Stacked frames: frame 1 of two.
  auto stacked = NinePatch(2, 3, true);
  auto v = StretchSkinBitmap(vcl::Rect(0, 0, 12, 12), stacked.get(), vcl::Rect(3, 3, 3, 3), true, false, 2, 1,
                             vcl::clWhite);
  ASSERT_TRUE(v);
  EXPECT_EQ(At(v.get(), 0, 0), Block(1, 0, 0));
  EXPECT_EQ(At(v.get(), 6, 6), Block(1, 1, 1));
  EXPECT_EQ(At(v.get(), 11, 11), Block(1, 2, 2));
}

TEST(StretchSkinBitmap, MarginsThatDoNotFitAreDropped) {
  // Blocks of 10 in a 30-wide frame; left and right margins of 11 exceed a width of 20, so
  // the whole frame width is stretched: x 8 comes from source x 12 (block 1), where an
  // 11-pixel left edge would have shown source x 8 (block 0).
  auto source = NinePatch(1, 10);
  auto b = StretchSkinBitmap(vcl::Rect(0, 0, 20, 30), source.get(), vcl::Rect(11, 10, 11, 10), false, false, 1, 1,
                             vcl::clWhite);
  ASSERT_TRUE(b);
  EXPECT_EQ(At(b.get(), 8, 15), Block(1, 1, 1));
  EXPECT_EQ(At(b.get(), 8, 2), Block(1, 1, 0));  // the top edge runs across the whole width
  EXPECT_EQ(At(b.get(), 0, 2), Block(1, 0, 0));
  // Margins beyond the frame itself are dropped too (no reads outside the frame).
  auto c = StretchSkinBitmap(vcl::Rect(0, 0, 200, 200), source.get(), vcl::Rect(40, 40, 40, 40), false, false, 1, 1,
                             vcl::clWhite);
  ASSERT_TRUE(c);
  EXPECT_EQ(At(c.get(), 100, 100), Block(1, 1, 1));
}

// Margins that take a frame's whole width or height leave no pixels for the parts between them:
// the picture made shows the colour it is to lie on there, stretched or tiled, never black,
// while the margins' pieces are made; one pixel between the margins is stretched over them.
TEST(StretchSkinBitmap, PartsWithoutPixelsBetweenTheMarginsShowTheColourUnder) {
  auto source = NinePatch(2, 3);  // frames of 9 x 9 in blocks of 3
  const TColor under = static_cast<TColor>(MakeRgb(1, 200, 3));
  for (const bool tile : {false, true}) {
    SCOPED_TRACE(tile ? "tiled" : "stretched");
    // Across: left and right margins of 4 and 5 (the frame's width), top and bottom of 3.
    auto across = StretchSkinBitmap(vcl::Rect(0, 0, 20, 20), source.get(), vcl::Rect(4, 3, 5, 3), false, tile, 2, 2, under);
    ASSERT_TRUE(across);
    EXPECT_EQ(At(across.get(), 0, 0), Block(2, 0, 0));
    EXPECT_EQ(At(across.get(), 19, 19), Block(2, 2, 2));
    EXPECT_EQ(At(across.get(), 0, 10), Block(2, 0, 1));   // the left margin's middle
    EXPECT_EQ(At(across.get(), 15, 10), Block(2, 1, 1));  // the right margin starts in the centre block
    for (const auto& [x, y] : {std::pair(4, 0), std::pair(10, 10), std::pair(14, 19)})
      EXPECT_EQ(At(across.get(), x, y), under) << x << "," << y;
    // Down: top and bottom margins of 4 and 5, left and right of 3.
    auto down = StretchSkinBitmap(vcl::Rect(0, 0, 20, 20), source.get(), vcl::Rect(3, 4, 3, 5), false, tile, 2, 1, under);
    ASSERT_TRUE(down);
    EXPECT_EQ(At(down.get(), 10, 0), Block(1, 1, 0));
    EXPECT_EQ(At(down.get(), 10, 15), Block(1, 1, 1));
    for (const auto& [x, y] : {std::pair(0, 4), std::pair(10, 10), std::pair(19, 14)})
      EXPECT_EQ(At(down.get(), x, y), under) << x << "," << y;
    // Both: only the corners have pixels.
    auto both = StretchSkinBitmap(vcl::Rect(0, 0, 20, 20), source.get(), vcl::Rect(4, 4, 5, 5), false, tile, 2, 1, under);
    ASSERT_TRUE(both);
    EXPECT_EQ(At(both.get(), 0, 0), Block(1, 0, 0));
    EXPECT_EQ(At(both.get(), 19, 19), Block(1, 2, 2));
    for (const auto& [x, y] : {std::pair(10, 0), std::pair(0, 10), std::pair(10, 10), std::pair(19, 10), std::pair(10, 19)})
      EXPECT_EQ(At(both.get(), x, y), under) << x << "," << y;
    // One pixel between the margins (4 and 4): it is made over the middle, across and down.
    auto one = StretchSkinBitmap(vcl::Rect(0, 0, 20, 20), source.get(), vcl::Rect(4, 4, 4, 4), false, tile, 2, 1, under);
    ASSERT_TRUE(one);
    EXPECT_EQ(At(one.get(), 10, 10), Block(1, 1, 1));
    EXPECT_EQ(At(one.get(), 10, 0), Block(1, 1, 0));
    EXPECT_EQ(At(one.get(), 0, 10), Block(1, 0, 1));
  }
}

TEST(StretchSkinBitmap, NothingForBadFramesAndSizes) {
  auto source = NinePatch(2, 3);
  const vcl::TRect r(0, 0, 10, 10), m(1, 1, 1, 1);
  EXPECT_FALSE(StretchSkinBitmap(r, source.get(), m, false, false, 2, 0, vcl::clWhite));
  EXPECT_FALSE(StretchSkinBitmap(r, source.get(), m, false, false, 2, 3, vcl::clWhite));
  EXPECT_FALSE(StretchSkinBitmap(r, source.get(), m, false, false, 0, 1, vcl::clWhite));
  EXPECT_FALSE(StretchSkinBitmap(r, source.get(), m, false, false, 100, 1,
                                 vcl::clWhite));  // frames narrower than a pixel
  EXPECT_FALSE(StretchSkinBitmap(vcl::Rect(0, 0, 0, 10), source.get(), m, false, false, 2, 1, vcl::clWhite));
  EXPECT_FALSE(StretchSkinBitmap(vcl::Rect(0, 0, 10, -5), source.get(), m, false, false, 2, 1, vcl::clWhite));
  EXPECT_FALSE(StretchSkinBitmap(vcl::Rect(0, 0, 1 << 30, 1 << 30), source.get(), m, false, false, 2, 1, vcl::clWhite));
  vcl::TBitmap empty;
  EXPECT_FALSE(StretchSkinBitmap(r, &empty, m, false, false, 1, 1, vcl::clWhite));
  EXPECT_FALSE(StretchSkinBitmap(r, nullptr, m, false, false, 1, 1, vcl::clWhite));
}

TEST(TileBitmap, WholeTilesFromTheTopLeftCorner) {
  auto source = FromBmp(Bmp24(9, 9, [](int x, int y) { return MakeRgb(x * 20, y * 20, 77); }));
  auto dest = Surface(30, 20, vcl::clWhite);
  // A 7 x 5 source over 20 x 12: three columns of three tiles reaching to 21 x 15.
  TileBitmap(dest->Canvas(), vcl::Rect(0, 0, 20, 12), source.get(), vcl::Rect(1, 2, 8, 7));
  EXPECT_EQ(At(dest.get(), 0, 0), C(MakeRgb(20, 40, 77)));
  EXPECT_EQ(At(dest.get(), 7, 5), C(MakeRgb(20, 40, 77)));
  EXPECT_EQ(At(dest.get(), 15, 11), C(MakeRgb(40, 60, 77)));
  EXPECT_EQ(At(dest.get(), 20, 14), C(MakeRgb(140, 120, 77)));  // the overhang of the last tile
  EXPECT_EQ(At(dest.get(), 21, 0), vcl::clWhite);
  EXPECT_EQ(At(dest.get(), 0, 15), vcl::clWhite);

  // A source part of no pixels paints nothing.
  auto blank = Surface(10, 10, vcl::clWhite);
  TileBitmap(blank->Canvas(), vcl::Rect(0, 0, 10, 10), source.get(), vcl::Rect(3, 3, 3, 8));
  TileBitmap(blank->Canvas(), vcl::Rect(0, 0, 10, 10), source.get(), vcl::Rect(3, 3, 8, 1));
  EXPECT_EQ(At(blank.get(), 0, 0), vcl::clWhite);
  EXPECT_EQ(At(blank.get(), 5, 5), vcl::clWhite);
}

TEST(StretchSkinBitmap, TiledCentreIsCoveredByTheRightAndBottomParts) {
  auto source = NinePatch(1, 3);
  // Margins 3: the centre 14 x 9 is tiled with the 3 x 3 centre block; the last tiles run
  // into the right and bottom parts, which are drawn after them.
  auto b = StretchSkinBitmap(vcl::Rect(0, 0, 20, 15), source.get(), vcl::Rect(3, 3, 3, 3), false, true, 1, 1,
                             vcl::clWhite);
  ASSERT_TRUE(b);
  EXPECT_EQ(At(b.get(), 16, 11), Block(1, 1, 1));
  EXPECT_EQ(At(b.get(), 17, 7), Block(1, 2, 1));
  EXPECT_EQ(At(b.get(), 10, 12), Block(1, 1, 2));
  EXPECT_EQ(At(b.get(), 19, 14), Block(1, 2, 2));
}

TEST(DrawSkinBitmapRect, TransparentLeavesTheKeyColourOut) {
  // A frame with a magenta centre.
  auto source = FromBmp(Bmp24(6, 6, [](int x, int y) {
    return (x >= 2 && x < 4 && y >= 2 && y < 4) ? kMagenta : MakeRgb(0, 128, 0);
  }));
  auto dest = Surface(20, 20, vcl::clWhite);
  HDC dc = dest->Canvas()->Handle();
  DrawSkinBitmapRect(dc, vcl::Rect(2, 2, 14, 14), source.get(), vcl::Rect(2, 2, 2, 2), false, 1, 1, true);
  EXPECT_EQ(At(dest.get(), 2, 2), 0x008000);
  EXPECT_EQ(At(dest.get(), 8, 8), vcl::clWhite);
  EXPECT_EQ(At(dest.get(), 13, 13), 0x008000);
  EXPECT_EQ(At(dest.get(), 14, 14), vcl::clWhite);
  DrawSkinBitmapRect(dc, vcl::Rect(2, 2, 14, 14), source.get(), vcl::Rect(2, 2, 2, 2), false, 1, 1, false);
  EXPECT_EQ(At(dest.get(), 8, 8), 0xFF00FF);
  // Inverted rectangles draw nothing.
  auto blank = Surface(10, 10, vcl::clWhite);
  DrawSkinBitmapRect(blank->Canvas()->Handle(), vcl::Rect(8, 8, 2, 2), source.get(), vcl::TRect(), false, 1, 1, false);
  EXPECT_EQ(At(blank.get(), 5, 5), vcl::clWhite);
}

// The drawing calls keep their work pictures and masks between calls: drawn after larger
// ones, small tiled and transparent pictures still show exactly what a picture of their own
// size shows, with nothing left over from before.
TEST(DrawSkinBitmapRect, EqualsAPictureOfItsOwnSizeAfterLargerOnes) {
  auto source = NinePatch(2, 3);
  auto keyed = FromBmp(Bmp24(16, 8, [](int x, int y) {
    return ((x % 8) >= 3 && (x % 8) < 5 && y >= 3 && y < 5) ? kMagenta : MakeRgb(30 * (x / 8), 128, 60);
  }));
  auto scratch = Surface(300, 200, vcl::clWhite);
  DrawSkinBitmapRect(scratch->Canvas()->Handle(), vcl::Rect(0, 0, 300, 200), source.get(), vcl::Rect(3, 3, 3, 3),
                     true, 2, 2, true);
  DrawSkinBitmapRect(scratch->Canvas()->Handle(), vcl::Rect(0, 0, 290, 190), keyed.get(), vcl::Rect(2, 2, 2, 2),
                     false, 2, 1, true);
  for (const auto& [w, h, tile, transparent] :
       {std::tuple(17, 11, true, false), std::tuple(23, 9, true, true), std::tuple(9, 13, false, true)}) {
    vcl::TBitmap* picture = transparent ? keyed.get() : source.get();
    const int frame = transparent ? 2 : 1;
    auto drawn = Surface(w + 4, h + 4, vcl::clWhite);
    DrawSkinBitmapRect(drawn->Canvas()->Handle(), vcl::Rect(2, 2, 2 + w, 2 + h), picture, vcl::Rect(3, 3, 3, 3), tile,
                       2, frame, transparent);
    // The same picture made on its own and laid down by hand.
    auto own = StretchSkinBitmap(vcl::Rect(0, 0, w, h), picture, vcl::Rect(3, 3, 3, 3), false, tile, 2, frame,
                                 vcl::clWhite);
    ASSERT_TRUE(own);
    auto expected = Surface(w + 4, h + 4, vcl::clWhite);
    if (transparent)
      DrawTransparentBitmap(expected->Canvas()->Handle(), 2, 2, own.get());
    else
      BitBlt(expected->Canvas()->Handle(), 2, 2, w, h, own->Canvas()->Handle(), 0, 0, SRCCOPY);
    for (int y = 0; y < h + 4; ++y)
      for (int x = 0; x < w + 4; ++x)
        ASSERT_EQ(At(drawn.get(), x, y), At(expected.get(), x, y)) << w << "x" << h << " at " << x << "," << y;
  }
}

// Margins that take a frame's whole width or height leave no pixels for the parts between them
// (the centre and two edges): drawn stretched or tiled, opaque or transparent, those parts keep
// what lies under them, never black, while the margins' pieces are drawn; one pixel between the
// margins is drawn over those parts.
TEST(DrawSkinBitmapRect, PartsWithoutPixelsBetweenTheMarginsKeepWhatLiesUnder) {
  auto source = NinePatch(2, 3);  // frames of 9 x 9 in blocks of 3
  for (const bool tile : {false, true})
    for (const bool transparent : {false, true}) {
      SCOPED_TRACE(std::to_string(tile) + std::to_string(transparent));
      auto dest = Surface(30, 30, vcl::clWhite);
      HDC dc = dest->Canvas()->Handle();
      // Across: left and right margins of 4 and 5 (the frame's width), top and bottom of 3.
      DrawSkinBitmapRect(dc, vcl::Rect(2, 2, 22, 22), source.get(), vcl::Rect(4, 3, 5, 3), tile, 2, 2, transparent);
      EXPECT_EQ(At(dest.get(), 2, 2), Block(2, 0, 0));
      EXPECT_EQ(At(dest.get(), 21, 21), Block(2, 2, 2));
      EXPECT_EQ(At(dest.get(), 2, 12), Block(2, 0, 1));  // the left margin's middle
      for (const auto& [x, y] : {std::pair(6, 2), std::pair(12, 12), std::pair(16, 21)})
        EXPECT_EQ(At(dest.get(), x, y), vcl::clWhite) << x << "," << y;
      EXPECT_EQ(At(dest.get(), 17, 12), Block(2, 1, 1));  // the right margin starts in the centre block
      // Down: top and bottom margins of 4 and 5, left and right of 3.
      DrawSkinBitmapRect(dc, vcl::Rect(2, 2, 22, 22), source.get(), vcl::Rect(3, 4, 3, 5), tile, 2, 1, transparent);
      EXPECT_EQ(At(dest.get(), 2, 2), Block(1, 0, 0));
      EXPECT_EQ(At(dest.get(), 12, 2), Block(1, 1, 0));
      // What the first drawing left there: its left margin, its middle, its right margin.
      EXPECT_EQ(At(dest.get(), 2, 6), Block(2, 0, 1));
      EXPECT_EQ(At(dest.get(), 12, 12), vcl::clWhite);
      EXPECT_EQ(At(dest.get(), 21, 16), Block(2, 2, 1));
      EXPECT_EQ(At(dest.get(), 12, 17), Block(1, 1, 1));
      // One pixel between the margins (4 and 4): it is drawn over the middle.
      auto one = Surface(30, 30, vcl::clWhite);
      DrawSkinBitmapRect(one->Canvas()->Handle(), vcl::Rect(2, 2, 22, 22), source.get(), vcl::Rect(4, 3, 4, 3), tile, 2,
                         1, transparent);
      EXPECT_EQ(At(one.get(), 12, 12), Block(1, 1, 1));
      EXPECT_EQ(At(one.get(), 12, 2), Block(1, 1, 0));
    }
}

TEST(DrawSkinImagePart, StretchesTheWholeFrame) {
  auto source = Frames(4, 4, FrameColours(9, 3));
  auto dest = Surface(20, 20, vcl::clWhite);
  DrawSkinImagePart(dest->Canvas()->Handle(), vcl::Rect(0, 0, 16, 10), source.get(), 3, 3, false, false);
  EXPECT_EQ(At(dest.get(), 0, 0), C(FrameColour(9, 3)));
  EXPECT_EQ(At(dest.get(), 15, 9), C(FrameColour(9, 3)));
  EXPECT_EQ(At(dest.get(), 16, 10), vcl::clWhite);
  DrawSkinImagePart(dest->Canvas()->Handle(), vcl::Rect(0, 0, 16, 10), source.get(), 0, 0, false, false);
  EXPECT_EQ(At(dest.get(), 0, 0), C(FrameColour(9, 1)));
  EXPECT_EQ(At(dest.get(), 15, 0), C(FrameColour(9, 3)));
}

TEST(DrawImageFrame, PicksOneFrameCutToTheRectangle) {
  auto image = Frames(4, 4, FrameColours(5, 3));
  auto dest = Surface(30, 30, vcl::clWhite);
  HDC dc = dest->Canvas()->Handle();
  DrawImageFrame(dc, vcl::Rect(5, 5, 20, 20), 3, 2, image.get(), false);
  EXPECT_EQ(At(dest.get(), 5, 5), C(FrameColour(5, 2)));
  EXPECT_EQ(At(dest.get(), 8, 8), C(FrameColour(5, 2)));
  EXPECT_EQ(At(dest.get(), 9, 5), vcl::clWhite);  // the frame's own size, no more
  DrawImageFrame(dc, vcl::Rect(20, 20, 22, 22), 3, 3, image.get(), false);
  EXPECT_EQ(At(dest.get(), 21, 21), C(FrameColour(5, 3)));
  EXPECT_EQ(At(dest.get(), 22, 21), vcl::clWhite);  // cut to the rectangle
  // Invalid frames and counts draw nothing.
  for (auto [count, index] : {std::pair{3, 0}, std::pair{3, 4}, std::pair{0, 1}, std::pair{-1, 1}})
    DrawImageFrame(dc, vcl::Rect(0, 0, 4, 4), count, index, image.get(), false);
  EXPECT_EQ(At(dest.get(), 0, 0), vcl::clWhite);

  DrawImageFrameAt(dc, 25, 0, 3, 3, image.get(), false);
  EXPECT_EQ(At(dest.get(), 25, 0), C(FrameColour(5, 3)));
  EXPECT_EQ(At(dest.get(), 28, 3), C(FrameColour(5, 3)));
  EXPECT_EQ(At(dest.get(), 29, 3), vcl::clWhite);
}

TEST(DrawImageFrame, TransparentFramesAndGlyphs) {
  auto image = FromBmp(Bmp24(6, 3, [](int x, int) { return x % 3 == 1 ? kMagenta : FrameColour(7, x / 3 + 1); }));
  auto dest = Surface(20, 20, vcl::clWhite);
  HDC dc = dest->Canvas()->Handle();
  DrawImageFrame(dc, vcl::Rect(0, 0, 3, 3), 2, 2, image.get(), true);
  EXPECT_EQ(At(dest.get(), 0, 0), C(FrameColour(7, 2)));
  EXPECT_EQ(At(dest.get(), 1, 0), vcl::clWhite);
  // A glyph is centred: 3 x 3 in 10 x 10 from (13, 13).
  DrawGlyphFrame(dc, vcl::Rect(10, 10, 20, 20), 2, 1, image.get());
  EXPECT_EQ(At(dest.get(), 13, 13), C(FrameColour(7, 1)));
  EXPECT_EQ(At(dest.get(), 14, 13), vcl::clWhite);
  EXPECT_EQ(At(dest.get(), 15, 15), C(FrameColour(7, 1)));
  EXPECT_EQ(At(dest.get(), 12, 13), vcl::clWhite);
}

TEST(DrawThreeSlice, CapsKeepTheirWidthAndTheMiddleStretches) {
  // Two stacked frames of 10 x 4: columns 0-1 left cap, 2-7 middle, 8-9 right cap.
  auto image = FromBmp(Bmp24(10, 8, [](int x, int y) {
    const int part = x < 2 ? 0 : x < 8 ? 1 : 2;
    return MakeRgb(50 * part + 20, y / 4 * 100 + 20, 99);
  }));
  auto dest = Surface(40, 10, vcl::clWhite);
  DrawThreeSlice(dest->Canvas()->Handle(), vcl::Rect(0, 0, 30, 6), image.get(), 2, 2, 2, 2);
  EXPECT_EQ(At(dest.get(), 0, 0), C(MakeRgb(20, 120, 99)));
  EXPECT_EQ(At(dest.get(), 1, 5), C(MakeRgb(20, 120, 99)));
  EXPECT_EQ(At(dest.get(), 2, 3), C(MakeRgb(70, 120, 99)));
  EXPECT_EQ(At(dest.get(), 27, 3), C(MakeRgb(70, 120, 99)));
  EXPECT_EQ(At(dest.get(), 28, 0), C(MakeRgb(120, 120, 99)));
  EXPECT_EQ(At(dest.get(), 30, 0), vcl::clWhite);
  EXPECT_EQ(At(dest.get(), 0, 6), vcl::clWhite);
}

TEST(DrawTransparentBitmap, KeepsTheDestinationUnderTheKey) {
  auto image = FromBmp(Bmp24(2, 1, [](int x, int) { return x == 0 ? kMagenta : MakeRgb(1, 2, 3); }));
  auto dest = Surface(4, 4, vcl::clBlue);
  DrawTransparentBitmap(dest->Canvas()->Handle(), 1, 1, image.get());
  EXPECT_EQ(At(dest.get(), 1, 1), vcl::clBlue);
  EXPECT_EQ(At(dest.get(), 2, 1), C(MakeRgb(1, 2, 3)));
  // Another key colour.
  DrawTransparentBitmap(dest->Canvas()->Handle(), 0, 0, image.get(), C(MakeRgb(1, 2, 3)));
  EXPECT_EQ(At(dest.get(), 0, 0), C(kMagenta));
  EXPECT_EQ(At(dest.get(), 1, 0), vcl::clBlue);
}

// A 24-bit picture, a 32-bit one and a window: each shows the source where it is not the key
// colour (a near-key colour included) and keeps its own pixels on the key, every pixel.
TEST(DrawTransparentBitmap, EveryDestinationShowsTheSourceOffTheKeyAndKeepsItsOwnOnIt) {
  constexpr int kW = 13, kH = 9, kAt = 3;
  auto keyAt = [](int x, int y) { return (x + 2 * y) % 5 == 0 || (y == 4 && x > 6); };
  auto sourceAt = [&](int x, int y) {
    if (keyAt(x, y)) return kMagenta;
    return x == 1 && y == 0 ? MakeRgb(254, 0, 255) : MakeRgb(20 * x, 200 - 20 * y, 90 + x * y);
  };
  auto source = FromBmp(Bmp24(kW, kH, sourceAt));
  auto underAt = [](int x, int y) { return MakeRgb(7 * x + 3, 11 * y + 5, 250 - 9 * x); };
  auto expectAt = [&](int x, int y) {  // in destination pixels
    const int sx = x - kAt, sy = y - kAt;
    const bool inside = sx >= 0 && sx < kW && sy >= 0 && sy < kH;
    return C(inside && !keyAt(sx, sy) ? sourceAt(sx, sy) : underAt(x, y));
  };
  constexpr int kSide = kW + 2 * kAt;
  auto check = [&](vcl::TBitmap* result) {
    int wrong = 0;
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) wrong += At(result, x, y) != expectAt(x, y);
    EXPECT_EQ(wrong, 0);
  };
  for (vcl::TPixelFormat format : {vcl::pf24bit, vcl::pf32bit}) {
    SCOPED_TRACE(static_cast<int>(format));
    auto dest = FromBmp(Bmp24(kSide, kSide, underAt));
    dest->SetPixelFormat(format);
    DrawTransparentBitmap(dest->Canvas()->Handle(), kAt, kAt, source.get());
    check(dest.get());
  }

  // A window, through its DC (a small pop-up over everything, out of the way of others; held
  // while it is over everything all the same).
  const wintest::PointerLock pointer;
  HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"",
                             WS_POPUP | WS_VISIBLE, 1880, 12, kSide, kSide, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(wnd);
  auto under = FromBmp(Bmp24(kSide, kSide, underAt));
  auto shown = Surface(kSide, kSide, vcl::clBlack);
  HDC dc = GetDC(wnd);
  BitBlt(dc, 0, 0, kSide, kSide, under->Canvas()->Handle(), 0, 0, SRCCOPY);
  DrawTransparentBitmap(dc, kAt, kAt, source.get());
  BitBlt(shown->Canvas()->Handle(), 0, 0, kSide, kSide, dc, 0, 0, SRCCOPY);
  ReleaseDC(wnd, dc);
  DestroyWindow(wnd);
  check(shown.get());
}

bool In(HRGN r, int x, int y) { return PtInRegion(r, x, y) != FALSE; }

TEST(BitmapToRegion, KeyPixelsWithinTheToleranceAreLeftOut) {
  // Row 0: key, (255, 1, 255), (254, 0, 255), (255, 2, 255), plain. Row 1: all key.
  const Rgb row0[] = {kMagenta, MakeRgb(255, 1, 255), MakeRgb(254, 0, 255), MakeRgb(255, 2, 255), MakeRgb(1, 2, 3)};
  auto b = FromBmp(Bmp24(5, 2, [&](int x, int y) { return y == 0 ? row0[x] : kMagenta; }));
  vcl::UniqueRegion r = BitmapToRegion(b.get(), 10, 20, 1, 1, 1, kSkinKeyColor);
  ASSERT_TRUE(r);
  for (int x = 10; x <= 15; ++x) EXPECT_EQ(In(r.get(), x, 20), x >= 12 && x <= 14) << x;
  EXPECT_FALSE(In(r.get(), 12, 21));
  EXPECT_EQ(b->PixelFormat(), vcl::pf24bit);  // the caller's bitmap keeps its format

  // Many runs: more rectangles than one batch holds.
  auto stripes = FromBmp(Bmp24(200, 60, [](int x, int) { return x % 2 ? kMagenta : MakeRgb(0, 0, 0); }));
  vcl::UniqueRegion s = BitmapToRegion(stripes.get(), 0, 0, 1, 1, 1, kSkinKeyColor);
  EXPECT_TRUE(In(s.get(), 198, 59));
  EXPECT_FALSE(In(s.get(), 199, 59));
  EXPECT_TRUE(In(s.get(), 0, 0));

  vcl::TBitmap empty;
  vcl::UniqueRegion e = BitmapToRegion(&empty, 0, 0, 1, 1, 1, kSkinKeyColor);
  ASSERT_TRUE(e);
  RECT box{};
  EXPECT_EQ(GetRgnBox(e.get(), &box), NULLREGION);
}

// Read in place (24 and 32 bits) or through a copy (other formats), rows repeating their runs
// or changing them: the region holds exactly the pixels that are not the key colour.
TEST(BitmapToRegion, EveryFormatGivesExactlyThePixelsOffTheKey) {
  // Blocks of rows with the same runs, rows differing from the one above, key rows between.
  auto key = [](int x, int y) {
    if (y >= 6 && y < 9) return true;               // three all-key rows
    if (y < 6) return x < 3 || (x >= 10 && x < 12);  // six rows alike
    if (y % 2) return x % 5 == 0;                    // then each row differs from the last
    return x >= 20 - y;
  };
  auto picture = [&] {
    return FromBmp(Bmp24(24, 16, [&](int x, int y) { return key(x, y) ? kMagenta : MakeRgb(x * 10, y * 10, 7); }));
  };
  for (vcl::TPixelFormat format : {vcl::pf24bit, vcl::pf32bit, vcl::pf8bit, vcl::pfDevice}) {
    SCOPED_TRACE(static_cast<int>(format));
    auto b = picture();
    b->SetPixelFormat(format);
    vcl::UniqueRegion r = BitmapToRegion(b.get(), 3, 4, 1, 1, 1, kSkinKeyColor);
    ASSERT_TRUE(r);
    EXPECT_EQ(b->PixelFormat(), format);
    int wrong = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 28; ++x) {
        const bool inside = x >= 3 && x < 27 && y >= 4 && y < 20 && !key(x - 3, y - 4);
        wrong += In(r.get(), x, y) != inside;
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(FrameRegion, WholeWindowUnlessABorderIsTransparent) {
  TDataSkinBorder left, right, top, bottom;
  for (TDataSkinBorder* b : {&left, &right, &top, &bottom}) {
    b->Bitmap->Assign(Surface(8, 8, vcl::clGreen).get());
    b->Trans = 0;
  }
  const TFrameThickness t{4, 6, 4, 4};
  std::array<TDataSkinObject*, 4> borders{&left, &right, &top, &bottom};
  vcl::UniqueRegion whole = FrameRegion(100, 50, t, borders, true, false);
  RECT box{};
  EXPECT_EQ(GetRgnBox(whole.get(), &box), SIMPLEREGION);
  EXPECT_EQ(vcl::TRect(box), vcl::Rect(0, 0, 100, 50));

  // Transparent images without key-coloured pixels: still the window rectangle.
  left.Trans = 1;
  vcl::UniqueRegion plain = FrameRegion(100, 50, t, borders, true, false);
  EXPECT_TRUE(EqualRgn(plain.get(), whole.get()));

  // A transparent left image with a key-coloured top-left corner: the corner is cut out.
  left.Bitmap->Assign(FromBmp(Bmp24(4, 10, [](int x, int y) { return x < 2 && y < 2 ? kMagenta : MakeRgb(0, 99, 0); }))
                          .get());
  left.TopHeight = 2;
  left.BottomHeight = 2;
  vcl::UniqueRegion cut = FrameRegion(100, 50, t, borders, true, false);
  for (auto [x, y, in] : {std::tuple{0, 0, false}, std::tuple{1, 1, false}, std::tuple{2, 0, true},
                          std::tuple{0, 2, true}, std::tuple{99, 0, true}, std::tuple{50, 25, true}})
    EXPECT_EQ(In(cut.get(), x, y), in) << x << "," << y;

  // A bottom border 1 pixel thick is a plain rectangle even when transparent.
  bottom.Trans = 1;
  bottom.Bitmap->Assign(Surface(8, 8, C(kMagenta)).get());
  vcl::UniqueRegion thin = FrameRegion(100, 50, TFrameThickness{4, 6, 4, 1}, borders, true, false);
  EXPECT_TRUE(In(thin.get(), 50, 49));
  vcl::UniqueRegion thick = FrameRegion(100, 50, TFrameThickness{4, 6, 4, 3}, borders, true, false);
  EXPECT_FALSE(In(thick.get(), 50, 49));
  EXPECT_TRUE(In(thick.get(), 50, 46));  // the inner rectangle

  // Without a border only the inner rectangle, which is then the whole window.
  vcl::UniqueRegion none = FrameRegion(100, 50, TFrameThickness{}, borders, true, true);
  EXPECT_TRUE(In(none.get(), 0, 0));
  EXPECT_TRUE(In(none.get(), 99, 49));
}

// The parts are painted into pictures kept from call to call: a region cut after larger and
// differently shaped ones is the one cut first, never one read from what the larger left.
TEST(FrameRegion, EqualsTheRegionCutFirstAfterLargerOnes) {
  TDataSkinBorder left, right, top, bottom;
  // Key-coloured pixels in every part, at places that move with the part's size: the ends
  // of the sides and of the top and bottom are kept, their middles stretched.
  auto keyed = [](int w, int h, int phase) {
    return FromBmp(Bmp24(w, h, [=](int x, int y) {
      return (x + 2 * y + phase) % 5 == 0 ? kMagenta : MakeRgb(20 * x % 250, 40 + 9 * y % 200, 60 * phase);
    }));
  };
  left.Bitmap->Assign(keyed(6, 20, 1).get());
  right.Bitmap->Assign(keyed(6, 20, 2).get());
  top.Bitmap->Assign(keyed(24, 8, 3).get());
  bottom.Bitmap->Assign(keyed(24, 6, 4).get());
  for (TDataSkinBorder* b : {&left, &right, &top, &bottom}) {
    b->Trans = 1;
    b->TopHeight = b->BottomHeight = 3;
    b->LeftWidth = b->RightWidth = 5;
  }
  const TFrameThickness t{6, 8, 6, 6};
  std::array<TDataSkinObject*, 4> borders{&left, &right, &top, &bottom};
  FreeWorkBitmaps();
  const vcl::UniqueRegion first = FrameRegion(61, 43, t, borders, true, false);
  ASSERT_TRUE(first);
  RECT box{};
  ASSERT_EQ(GetRgnBox(first.get(), &box), COMPLEXREGION);
  for (auto [w, h] : {std::pair(300, 220), std::pair(30, 400), std::pair(500, 20)})
    ASSERT_TRUE(FrameRegion(w, h, t, borders, true, false));
  const vcl::UniqueRegion again = FrameRegion(61, 43, t, borders, true, false);
  ASSERT_TRUE(again);
  EXPECT_TRUE(EqualRgn(first.get(), again.get()));
}

TEST(ToolbarFaces, ButtonFrameFromTheDrawState) {
  for (auto [state, frame] : {std::pair<UINT, int>{CDIS_SELECTED | CDIS_HOT, 2}, {CDIS_FOCUS, 4}, {CDIS_HOT | CDIS_DEFAULT, 4},
                               {CDIS_GRAYED | CDIS_DEFAULT, 0}, {CDIS_DISABLED, 0}, {CDIS_DEFAULT, 1}, {0, 0}})
    EXPECT_EQ(ToolbarButtonFrame(state), frame) << std::hex << state;

  TDataSkinButton buttons("Buttons");
  buttons.Bitmap->Assign(Frames(6, 6, FrameColours(4, 5)).get());
  buttons.Frame = 5;
  buttons.PressedColour2 = 0x00AA00;
  buttons.PressedColour2Given = true;
  buttons.MouseOverColour2 = 0x0000AA;  // not given: the font keeps its colour
  auto canvas = Surface(20, 20, vcl::clWhite);
  canvas->Canvas()->Font()->SetColor(vcl::clBlack);
  EXPECT_EQ(DrawToolbarButton(canvas->Canvas(), vcl::Rect(0, 0, 10, 10), CDIS_SELECTED, &buttons), 2);
  EXPECT_EQ(canvas->Canvas()->Font()->Color(), 0x00AA00);
  EXPECT_EQ(At(canvas.get(), 0, 0), vcl::clWhite);  // the bounds shrunk by one pixel
  EXPECT_EQ(At(canvas.get(), 1, 1), C(FrameColour(4, 2)));
  EXPECT_EQ(At(canvas.get(), 8, 8), C(FrameColour(4, 2)));
  EXPECT_EQ(At(canvas.get(), 9, 9), vcl::clWhite);
  EXPECT_EQ(DrawToolbarButton(canvas->Canvas(), vcl::Rect(10, 10, 20, 20), CDIS_HOT, &buttons), 4);
  EXPECT_EQ(canvas->Canvas()->Font()->Color(), 0x00AA00);
  EXPECT_EQ(DrawToolbarButton(canvas->Canvas(), vcl::Rect(0, 10, 10, 20), CDIS_DISABLED, &buttons), 0);
  EXPECT_EQ(At(canvas.get(), 5, 15), vcl::clWhite);

  TDataSkinObject toolbar("Toolbar");
  toolbar.Bitmap->Assign(Frames(2, 2, {MakeRgb(9, 9, 9)}).get());
  DrawToolbarBackground(canvas->Canvas(), vcl::Rect(0, 10, 10, 20), &toolbar);
  EXPECT_EQ(At(canvas.get(), 5, 15), C(MakeRgb(9, 9, 9)));
  EXPECT_EQ(At(canvas.get(), 10, 15), vcl::clWhite);
}

// A parent window painting its client area in two colours, split at x = 15.
LRESULT CALLBACK TwoColourProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT && wp) {
    HDC dc = reinterpret_cast<HDC>(wp);
    vcl::UniqueBrush blue(CreateSolidBrush(0xFF0000)), green(CreateSolidBrush(0x00FF00));
    const RECT a{0, 0, 15, 100}, b{15, 0, 100, 100};
    FillRect(dc, &a, blue.get());
    FillRect(dc, &b, green.get());
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

TEST(DrawParentBackground, ThePartOfTheParentUnderTheChild) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TwoColourProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ScrivaneSkinDrawParent";
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_TRUE(parent);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 5, 20, 20, parent, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(child);
  auto dest = Surface(20, 20, vcl::clWhite);
  DrawParentBackground(child, dest->Canvas()->Handle());
  EXPECT_EQ(At(dest.get(), 4, 0), vcl::clBlue);   // parent x 14
  EXPECT_EQ(At(dest.get(), 5, 0), vcl::clLime);   // parent x 15
  EXPECT_EQ(At(dest.get(), 19, 19), vcl::clLime);
  // The DC's origin is restored afterwards.
  POINT origin{};
  GetViewportOrgEx(dest->Canvas()->Handle(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  DestroyWindow(parent);
}

}  // namespace
}  // namespace winskin
