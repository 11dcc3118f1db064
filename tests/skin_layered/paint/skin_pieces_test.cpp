// Nine-part painting of skin images on plain pixel memory. The test pictures give every
// pixel its own value (its coordinates), so each painted pixel tells which source pixel
// reached it: corners exact, sides and centre tiled or scaled.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "PixelImage.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"
#include "skin_layered/paint/pixels/SkinPieces.h"

namespace skin_layered::test {
namespace {

constexpr TPixel32 At(int x, int y) { return Bgra(static_cast<unsigned>(x), static_cast<unsigned>(y), 0x40, 255); }

// A picture whose every pixel holds its coordinates; rows from MaskTop on hold Mask.
PixelImage CoordinatePicture(int width, int height, int maskTop = -1, TPixel32 mask = 0) {
  PixelImage picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.At(x, y) = maskTop >= 0 && y >= maskTop ? mask : At(x, y);
  return picture;
}

// The source column (or row) of a destination one across a nine-part axis: margins copied,
// the middle tiled (or scaled) from the middle of the source.
int SourceOf(int d, int start, int end, int nearMargin, int farMargin, int size, bool stretch) {
  const int middle = size - nearMargin - farMargin;
  if (d < start + nearMargin) return d - start;
  if (d >= end - farMargin) return size - (end - d);
  const int offset = d - start - nearMargin;
  const int span = end - farMargin - start - nearMargin;
  return nearMargin + (stretch ? offset * middle / span : offset % middle);
}

TSkinPaint PlainPaint(TPixelRect dst, int width, int height, TNineMargins margins) {
  TSkinPaint paint;
  paint.Layout = {dst, 0, 0, width, height, margins};
  paint.Centre = true;
  return paint;
}

TEST(SkinPieces, MarginsFitTheirExtent) {
  auto fit = [](int a, int b, int extent) {
    FitMargins(a, b, extent);
    return std::pair(a, b);
  };
  EXPECT_EQ(fit(8, 8, 10), std::pair(5, 5));
  EXPECT_EQ(fit(8, 7, 10), std::pair(6, 4));  // the far margin takes the odd pixel
  EXPECT_EQ(fit(3, 4, 10), std::pair(3, 4));
  EXPECT_EQ(fit(2, 9, 4), std::pair(0, 4));   // 2 - 3 stops at 0, the other at the extent
  EXPECT_EQ(fit(-1, 5, 10), std::pair(0, 5));
}

TEST(SkinPieces, LayoutInPaintingOrderAndNoneWhenMarginsExceedTheImage) {
  std::array<TSkinPiece, 9> pieces;
  TSkinLayout layout{{10, 20, 30, 40}, 100, 200, 6, 5, {1, 2, 3, 1}};
  ASSERT_EQ(LaySkinPieces(layout, false, pieces), 8);
  ASSERT_EQ(LaySkinPieces(layout, true, pieces), 9);
  EXPECT_EQ(pieces[0].Dst.Right, 11);  // top-left corner 1 x 2
  EXPECT_EQ(pieces[0].Src.Bottom, 202);
  EXPECT_EQ(pieces[5].Dst.Left, 27);   // bottom-right corner
  EXPECT_EQ(pieces[5].Src.Left, 103);
  EXPECT_EQ(pieces[5].Src.Top, 204);
  EXPECT_EQ(pieces[8].Part, TSkinPiecePart::Centre);
  EXPECT_EQ(pieces[8].Src.Right, 103);  // centre 2 x 2 from (101, 202)
  EXPECT_EQ(pieces[8].Src.Bottom, 204);
  layout.Margins = {4, 0, 3, 0};  // 4 + 3 > 6
  EXPECT_EQ(LaySkinPieces(layout, true, pieces), 0);
}

TEST(SkinPieces, TiledNinePartsEveryPixel) {
  PixelImage picture = CoordinatePicture(7, 6);
  for (const auto& [w, h] : {std::pair(11, 9), std::pair(12, 10), std::pair(7, 6), std::pair(5, 4)}) {
    PixelImage dst(w + 2, h + 2, 0x12345678);
    TNineMargins margins{2, 2, 3, 1};
    FitMargins(margins.Left, margins.Right, w);
    FitMargins(margins.Top, margins.Bottom, h);
    PaintSkinPieces(dst.View(), picture.View(), PlainPaint({1, 1, w + 1, h + 1}, 7, 6, margins));
    for (int y = 0; y < h + 2; ++y)
      for (int x = 0; x < w + 2; ++x) {
        const bool inside = x >= 1 && y >= 1 && x <= w && y <= h;
        const TPixel32 expected = inside ? At(SourceOf(x, 1, w + 1, margins.Left, margins.Right, 7, false),
                                              SourceOf(y, 1, h + 1, margins.Top, margins.Bottom, 6, false))
                                         : 0x12345678;
        ASSERT_EQ(dst.At(x, y), expected) << w << "x" << h << " at " << x << "," << y;
      }
  }
}

// Long sides of narrow middles (many tiles a side), partly outside the destination: every
// pixel is the source pixel of its place, unmasked and through a mask whose columns differ;
// a masked picture is laid as the masked copy lays each tile by itself.
TEST(SkinPieces, ManySmallTilesEveryPixel) {
  constexpr int kW = 7, kH = 5;  // a state image with a middle of 3 x 2 (margins 2, 2, 2, 1)
  PixelImage plain = CoordinatePicture(kW, kH);
  PixelImage masked = CoordinatePicture(kW, kH * 2);
  for (int y = kH; y < kH * 2; ++y)
    for (int x = 0; x < kW; ++x) {
      const unsigned m = static_cast<unsigned>(x * 60 + (y - kH) * 17) & 0xFF;
      masked.At(x, y) = Bgra(m, m, m, 0);
    }
  const TNineMargins margins{2, 2, 2, 1};
  struct Place {
    TPixelRect dst;
    const char* what;
  };
  for (const Place& place : {Place{{1, 1, 121, 41}, "inside"}, Place{{-13, -7, 140, 50}, "past every edge"},
                             Place{{2, 2, 4 + 27, 3 + 18}, "nine tiles a side"}}) {
    SCOPED_TRACE(place.what);
    const int w = place.dst.Width(), h = place.dst.Height();
    {
      PixelImage dst(128, 44, 0x12345678);
      PaintSkinPieces(dst.View(), plain.View(), PlainPaint(place.dst, kW, kH, margins));
      for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 128; ++x) {
          const bool inside = x >= place.dst.Left && y >= place.dst.Top && x < place.dst.Right && y < place.dst.Bottom;
          const TPixel32 expected =
              inside ? At(SourceOf(x, place.dst.Left, place.dst.Right, 2, 2, kW, false),
                          SourceOf(y, place.dst.Top, place.dst.Bottom, 2, 1, kH, false))
                     : 0x12345678;
          ASSERT_EQ(dst.At(x, y), expected) << "unmasked at " << x << "," << y << " of " << w << "x" << h;
        }
    }
    for (const TSkinStyle style : {TSkinStyle::Opaque, TSkinStyle::Alpha}) {
      PixelImage dst(128, 44, Bgra(90, 120, 150, 60)), expected(128, 44, Bgra(90, 120, 150, 60));
      TSkinPaint paint = PlainPaint(place.dst, kW, kH, margins);
      paint.MaskOffset = kH;
      paint.Style = style;
      PaintSkinPieces(dst.View(), masked.View(), paint);
      std::array<TSkinPiece, 9> pieces;
      const int count = LaySkinPieces(paint.Layout, true, pieces);
      for (int i = 0; i < count; ++i) {
        const TSkinPiece& piece = pieces[static_cast<std::size_t>(i)];
        ForEachTile(piece.Dst, piece.Src.Width(), piece.Src.Height(), {0, 0, 128, 44}, [&](int x, int y, int cw, int ch) {
          const TPixelRect tile{piece.Src.Left, piece.Src.Top, piece.Src.Left + cw, piece.Src.Top + ch};
          if (style == TSkinStyle::Opaque)
            CopyMaskedArea(expected.View(), x, y, masked.View(), tile, kH, false, TBackground{});
          else
            CopyMaskedArea32(expected.View(), x, y, masked.View(), tile, kH, TBackground{});
        });
      }
      for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 128; ++x)
          ASSERT_EQ(dst.At(x, y), expected.At(x, y))
              << (style == TSkinStyle::Opaque ? "opaque" : "alpha kept") << " at " << x << "," << y;
    }
  }
}

// A middle reaching past the picture (its mask rows past the bitmap's end) is cut as each tile
// is cut: the rows that exist are laid, the rest is left.
TEST(SkinPieces, TilesReachingPastThePictureAreCut) {
  PixelImage picture = CoordinatePicture(5, 7, 4, Bgra(0, 0, 0, 0));  // rows 4..6: a short mask
  PixelImage dst(60, 12, 0x5A5A5A5A);
  TSkinPaint paint = PlainPaint({0, 0, 60, 12}, 5, 4, {2, 0, 2, 0});
  paint.MaskOffset = 4;  // the mask of row 3 would be row 7: past the bitmap
  paint.Centre = true;
  PaintSkinPieces(dst.View(), picture.View(), paint);
  for (int x = 2; x < 58; ++x) {
    EXPECT_EQ(dst.At(x, 0), At(2, 0)) << x;    // rows 0..2 of the middle column: masked black, the picture
    EXPECT_EQ(dst.At(x, 3), 0x5A5A5A5Au) << x;  // row 3 has no mask row: left
    EXPECT_EQ(dst.At(x, 4), At(2, 0)) << x;    // the next row of tiles begins again
  }
}

TEST(SkinPieces, StretchedSidesAndCentre) {
  PixelImage picture = CoordinatePicture(7, 6);
  PixelImage dst(13, 9, 0);
  TSkinPaint paint = PlainPaint({0, 0, 13, 9}, 7, 6, {2, 2, 3, 1});
  paint.Stretch = true;
  paint.Centre = false;
  PaintSkinPieces(dst.View(), picture.View(), paint);
  // Top side: source columns 2..3 over destination 2..9 (8 pixels), by the nearest pixel.
  for (int x = 2; x < 10; ++x) EXPECT_EQ(dst.At(x, 0), At(2 + (x - 2) * 2 / 8, 0)) << x;
  // Left side: source rows 2..4 over 2..7.
  for (int y = 2; y < 8; ++y) EXPECT_EQ(dst.At(1, y), At(1, 2 + (y - 2) * 3 / 6)) << y;
  EXPECT_EQ(dst.At(12, 8), At(6, 5));
  EXPECT_EQ(dst.At(5, 5), 0u);  // no centre asked
}

TEST(SkinPieces, PiecesOutsideTheDestinationTouchNothing) {
  PixelImage picture = CoordinatePicture(7, 6);
  PixelImage big(20, 20, 0x5A5A5A5A);
  TPixelView inner = big.View();
  inner.Line0 += 5 * inner.Step + 5 * 4;
  inner.Width = inner.Height = 6;
  for (bool stretch : {false, true}) {
    TSkinPaint paint = PlainPaint({-7, -3, 9, 12}, 7, 6, {2, 2, 3, 1});
    paint.Stretch = stretch;
    PaintSkinPieces(inner, picture.View(), paint);
    paint.Layout.Dst = {100, 100, 120, 120};
    PaintSkinPieces(inner, picture.View(), paint);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        if (x < 5 || y < 5 || x >= 11 || y >= 11) ASSERT_EQ(big.At(x, y), 0x5A5A5A5Au) << x << "," << y;
    EXPECT_EQ(inner.Row(0)[0], At(SourceOf(0, -7, 9, 2, 3, 7, stretch), SourceOf(0, -3, 12, 2, 1, 6, stretch)));
  }
}

TEST(SkinPieces, KeyCornersTakeTheBackgroundOnlyWhenAsked) {
  PixelImage picture = CoordinatePicture(6, 6);
  picture.At(0, 0) = 0xFFFF00FF;  // key colour, opaque
  picture.At(5, 5) = 0x00FF00FF;  // a hole
  PixelImage behind(8, 8, Bgra(1, 2, 3, 4));
  TBackground background{behind.View(), 1, 1, true};
  for (bool fill : {false, true}) {
    PixelImage dst(6, 6, Bgra(9, 9, 9, 9));
    TSkinPaint paint = PlainPaint({0, 0, 6, 6}, 6, 6, {2, 2, 2, 2});
    paint.FillCornerHoles = fill;
    paint.Background = background;
    PaintSkinPieces(dst.View(), picture.View(), paint);
    // The opaque key pixel is not the key (alpha 255): copied. The hole takes the
    // background, or is left.
    EXPECT_TRUE(PixelsAre(dst, {{0, 0, 0xFFFF00FFu}, {5, 5, fill ? Bgra(1, 2, 3, 4) : Bgra(9, 9, 9, 9)}}));
  }
}

TEST(SkinPieces, OpaqueMaskedPiecesMixThroughTheMask) {
  // A 4 x 4 state image over its mask: left half black (the picture), right half white (keep).
  PixelImage picture = CoordinatePicture(4, 8);
  for (int y = 4; y < 8; ++y)
    for (int x = 0; x < 4; ++x) picture.At(x, y) = x < 2 ? 0xFF000000u : 0xFFFFFFFFu;
  picture.At(0, 0) = 0x00FF00FF;  // a hole in the top-left corner
  PixelImage behind(8, 8, Bgra(7, 7, 7, 7));
  PixelImage dst(8, 8, Bgra(100, 100, 100, 0));
  TSkinPaint paint = PlainPaint({0, 0, 8, 8}, 4, 4, {1, 1, 1, 1});
  paint.MaskOffset = 4;
  paint.FillCornerHoles = true;
  paint.Background = {behind.View(), 0, 0, true};
  PaintSkinPieces(dst.View(), picture.View(), paint);
  EXPECT_EQ(dst.At(0, 0), Bgra(7, 7, 7, 7));      // the hole shows the background
  EXPECT_EQ(dst.At(1, 0), At(1, 0));                // black mask: the picture, alpha 255
  EXPECT_EQ(dst.At(3, 3), At(1, 1));                // centre tile, column 1
  // White mask keeps the destination: ((d - s) * 255 + s * 256) shr 8 leaves it within 1.
  const TPixel32 kept = dst.At(4, 3);               // centre column 2 of the source
  EXPECT_NEAR(static_cast<int>(kept & 0xFF), 100, 1);
  EXPECT_EQ(kept >> 24, 255u);
  EXPECT_EQ(dst.At(7, 7) >> 24, 255u);
}

TEST(SkinPieces, AlphaKeptMaskedCopy) {
  PixelImage picture(2, 2);
  picture.At(0, 0) = Bgra(200, 0, 50, 255);
  picture.At(1, 0) = 0x00FF00FF;
  picture.At(0, 1) = Bgra(0, 0, 64, 0);  // mask red 64
  picture.At(1, 1) = 0;
  PixelImage dst(4, 1);
  dst.At(0, 0) = Bgra(100, 100, 100, 0);
  dst.At(1, 0) = Bgra(1, 2, 3, 200);
  dst.At(2, 0) = Bgra(100, 100, 100, 100);
  dst.At(3, 0) = Bgra(100, 100, 100, 255);
  CopyMaskedArea32(dst.View(), 0, 0, picture.View(), {0, 0, 2, 1}, 1, TBackground{});
  CopyMaskedArea32(dst.View(), 2, 0, picture.View(), {0, 0, 1, 1}, 1, TBackground{});
  CopyMaskedArea32(dst.View(), 3, 0, picture.View(), {0, 0, 1, 1}, 1, TBackground{});
  // (d * 64 + s * 191) shr 8; alpha from 0 becomes 191.
  EXPECT_EQ(dst.At(0, 0), Bgra(174, 25, 62, 191));
  EXPECT_EQ(dst.At(1, 0), Bgra(1, 2, 3, 0));  // a key pixel without background: transparent
  EXPECT_EQ(dst.At(2, 0) >> 24, 191u);        // the larger alpha
  EXPECT_EQ(dst.At(3, 0) >> 24, 255u);        // opaque stays opaque
  PixelImage behind(1, 1, Bgra(5, 6, 7, 8));
  CopyMaskedArea32(dst.View(), 0, 0, picture.View(), {1, 0, 2, 1}, 1, {behind.View(), 0, 0, true});
  EXPECT_EQ(dst.At(0, 0), Bgra(5, 6, 7, 8));
}

TEST(SkinPieces, OnePixelSmoothPieceAndFilteredShrink) {
  PixelImage picture(3, 2);
  picture.At(0, 0) = Bgra(10, 20, 30, 255);
  picture.At(1, 0) = Bgra(10, 20, 30, 255);
  picture.At(2, 0) = Bgra(10, 20, 30, 255);
  picture.At(0, 1) = 0;           // mask black: fill
  picture.At(1, 1) = 0x00FFFFFF;  // white: leave
  picture.At(2, 1) = 0x00808080;  // half
  PixelImage dst(3, 3, Bgra(200, 200, 200, 0));
  StretchMaskedPiece(dst.View(), {0, 0, 1, 3}, picture.View(), {0, 0, 1, 1}, 1, true);
  StretchMaskedPiece(dst.View(), {1, 0, 2, 3}, picture.View(), {1, 0, 2, 1}, 1, true);
  StretchMaskedPiece(dst.View(), {2, 0, 3, 3}, picture.View(), {2, 0, 3, 1}, 1, true);
  EXPECT_TRUE(PixelsAre(dst, {{0, 2, Bgra(10, 20, 30, 255)}, {1, 2, Bgra(200, 200, 200, 0)},
      {2, 2, Bgra(Blend(10, 200, 128), Blend(20, 200, 128), Blend(30, 200, 128), 255)}}));
  // A flat picture shrunk along one axis through the filter stays (about) flat; its mask
  // black gives the picture.
  PixelImage flat(8, 8, Bgra(40, 80, 120, 255));
  for (int y = 4; y < 8; ++y)
    for (int x = 0; x < 8; ++x) flat.At(x, y) = 0xFF000000u;
  PixelImage shrunk(4, 4, 0);
  StretchMaskedPiece(shrunk.View(), {0, 0, 4, 4}, flat.View(), {0, 0, 8, 4}, 4, false);
  for (int x = 0; x < 4; ++x) {
    EXPECT_NEAR(static_cast<int>(shrunk.At(x, 1) & 0xFF), 40, 2);
    EXPECT_NEAR(static_cast<int>((shrunk.At(x, 1) >> 16) & 0xFF), 120, 2);
  }
  // A piece whose mask would lie below the picture paints nothing.
  PixelImage untouched(2, 2, 3);
  StretchMaskedPiece(untouched.View(), {0, 0, 2, 2}, flat.View(), {0, 2, 4, 6}, 4, false);
  EXPECT_EQ(untouched.At(1, 1), 3u);
}

}  // namespace
}  // namespace skin_layered::test
