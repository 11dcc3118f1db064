// GDI painting of images into rectangles: nine-part frames, texture fills by draw mode,
// border strips and copies, multi-state glyphs with their reflection, window shapes from
// bitmaps, icons and the alpha rectangle routines on real bitmaps.
#include <tuple>

#include "paint_win_support.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/BackgroundRegions.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/GlyphState.h"
#include "skin_layered/paint/NinePart.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 32-bit picture of w x h whose pixel (x, y) is opaque colour Pick(x, y).
template <class Pick>
std::unique_ptr<vcl::TBitmap> Picture(int w, int h, Pick pick) {
  auto bmp = Filled32(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelOf(*bmp, x, y, 0xFF000000u | pick(x, y));
  return bmp;
}

// RGB of the pixel value a picture pixel shows on a 24-bit canvas.
constexpr COLORREF Shown(TPixel32 v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

// Parts of a 6 x 6 frame picture with margins 2: corner, side or centre by position.
TPixel32 FramePart(int x, int y) {
  const bool sx = x < 2 || x >= 4, sy = y < 2 || y >= 4;
  return sx && sy ? 0x102030u : sx || sy ? 0x405060u : 0x708090u;
}

TEST(DrawNinePart, PartsLimitsAndNothingOutside) {
  auto source = Picture(6, 6, FramePart);
  auto target = Canvas24(12, 12, kWhite);
  DrawNinePart(target.get(), source.get(), Rect(1, 1, 11, 11), true, false, {}, {9, 9, 9, 9}, {2, 2, 2, 2},
               Rect(0, 0, 6, 6));
  EXPECT_TRUE(ColoursAre(*target, {{1, 1, Shown(0x102030)}, {10, 10, Shown(0x102030)}, {5, 1, Shown(0x405060)},
      {1, 7, Shown(0x405060)}, {6, 6, Shown(0x708090)}, {0, 0, kWhite}, {11, 6, kWhite}}));

  // Corner heights limited to 1: the inner band beside the side is only 1 wide, so (1, 1) of
  // the top-left corner stays; no centre without the flag.
  auto limited = Canvas24(10, 10, kWhite);
  DrawNinePart(limited.get(), source.get(), Rect(0, 0, 10, 10), false, false, {}, {1, 1, 1, 1}, {2, 2, 2, 2},
               Rect(0, 0, 6, 6));
  // The bottom-right inner band is at (9, 8), not (8, 8).
  EXPECT_TRUE(ColoursAre(*limited, {{1, 0, Shown(0x102030)}, {0, 1, Shown(0x102030)}, {1, 1, kWhite},
                                    {8, 8, kWhite}, {9, 8, Shown(0x102030)}, {5, 5, kWhite}}));

  // A destination smaller than the two margins: corners only, inside it.
  auto tiny = Canvas24(6, 6, kWhite);
  DrawNinePart(tiny.get(), source.get(), Rect(2, 2, 5, 5), true, true, {1, 1, 1, 1}, {9, 9, 9, 9}, {2, 2, 2, 2},
               Rect(0, 0, 6, 6));
  EXPECT_TRUE(ColoursAre(*tiny, {{2, 2, Shown(0x102030)}, {4, 4, Shown(0x102030)}, {1, 2, kWhite}, {5, 5, kWhite}}));
}

// Every pixel of the picture its own colour: the corners are compared whole, pixel by pixel,
// and every row and column of the sides, so that a piece taken one row or column off shows.
TEST(DrawNinePart, EveryPieceLandsWholeAndInPlace) {
  constexpr int kSize = 12, kEdge = 4;
  const auto unique = [](int x, int y) { return 0x200000u | static_cast<std::uint32_t>(x) << 8 | static_cast<std::uint32_t>(y) << 1; };
  auto source = Picture(kSize, kSize, unique);
  constexpr int kW = 20, kH = 18;
  auto target = Canvas24(kW, kH, kWhite);
  DrawNinePart(target.get(), source.get(), Rect(0, 0, kW, kH), true, false, {}, {99, 99, 99, 99},
               {kEdge, kEdge, kEdge, kEdge}, Rect(0, 0, kSize, kSize));
  for (int y = 0; y < kEdge; ++y)
    for (int x = 0; x < kEdge; ++x) {
      EXPECT_EQ(ColorOf(*target, x, y), Shown(unique(x, y))) << "top left " << x << "," << y;
      EXPECT_EQ(ColorOf(*target, kW - kEdge + x, y), Shown(unique(kSize - kEdge + x, y))) << "top right " << x << "," << y;
      EXPECT_EQ(ColorOf(*target, x, kH - kEdge + y), Shown(unique(x, kSize - kEdge + y))) << "bottom left " << x << "," << y;
      EXPECT_EQ(ColorOf(*target, kW - kEdge + x, kH - kEdge + y), Shown(unique(kSize - kEdge + x, kSize - kEdge + y)))
          << "bottom right " << x << "," << y;
    }
  // The sides tile their source band: each of their rows (top, bottom) or columns (left, right)
  // at its place, from the first piece on.
  for (int d = 0; d < kEdge; ++d)
    for (int i = 0; i < kW - 2 * kEdge; ++i) {
      const int sx = kEdge + i % (kSize - 2 * kEdge);
      EXPECT_EQ(ColorOf(*target, kEdge + i, d), Shown(unique(sx, d))) << "top " << i << "," << d;
      EXPECT_EQ(ColorOf(*target, kEdge + i, kH - kEdge + d), Shown(unique(sx, kSize - kEdge + d))) << "bottom " << i;
    }
  for (int d = 0; d < kEdge; ++d)
    for (int i = 0; i < kH - 2 * kEdge; ++i) {
      const int sy = kEdge + i % (kSize - 2 * kEdge);
      EXPECT_EQ(ColorOf(*target, d, kEdge + i), Shown(unique(d, sy))) << "left " << i << "," << d;
      EXPECT_EQ(ColorOf(*target, kW - kEdge + d, kEdge + i), Shown(unique(kSize - kEdge + d, sy))) << "right " << i;
    }
}

TEST(DrawNinePart, SidesTileWithPartialPieces) {
  // The top side's two middle columns differ, so the tiling shows.
  auto source = Picture(6, 6, [](int x, int y) { return y < 2 && x >= 2 && x < 4 ? (x == 2 ? 0x0000AAu : 0x00AA00u) : FramePart(x, y); });
  auto target = Canvas24(9, 6, kWhite);
  DrawNinePart(target.get(), source.get(), Rect(0, 0, 9, 6), false, false, {}, {9, 9, 9, 9}, {2, 2, 2, 2},
               Rect(0, 0, 6, 6));
  for (int x = 2; x < 7; ++x) EXPECT_EQ(ColorOf(*target, x, 0), Shown(x % 2 == 0 ? 0x0000AA : 0x00AA00)) << x;
  EXPECT_EQ(ColorOf(*target, 7, 0), Shown(0x102030));
}

TEST(FillByImage, ModesCoverWhatTheySayAndStayInside) {
  TsLoadedSkin skin;
  TsMaskData image;
  image.Manager = &skin;
  // Rows of the picture alternate two colours every two rows; columns of row 0 differ.
  image.Bmp = std::shared_ptr<vcl::TBitmap>(
      Picture(2, 4, [](int x, int y) { return y < 2 ? (y == 0 && x == 1 ? 0x0000C0u : 0x00C000u) : 0xC00000u; })
          .release());
  image.R = Rect(0, 0, 2, 4);
  // A flat picture for the stretching modes (HALFTONE smooths across the picture's rows).
  TsMaskData flat = image;
  flat.Bmp = std::shared_ptr<vcl::TBitmap>(Picture(2, 4, [](int, int) { return 0x2040A0u; }).release());
  const struct {
    int mode;
    bool flat;
    vcl::TRect r, left;  // R before, and what is left of it uncovered
    POINT in;
    TPixel32 colour;
    std::vector<POINT> outside;
  } cases[] = {
      {0, false, Rect(0, 0, 5, 10), kAllCovered, {3, 0}, 0x0000C0, {{5, 0}, {0, 10}}},
      {0, false, Rect(0, 0, 5, 10), kAllCovered, {4, 8}, 0x00C000, {}},  // a partial column
      {11, true, Rect(0, 0, 6, 10), kAllCovered, {5, 9}, 0x2040A0, {{3, 10}, {3, 11}}},  // rows stretched across
      {12, true, Rect(0, 0, 5, 3), kAllCovered, {4, 2}, 0x2040A0, {{5, 2}, {4, 3}}},
      {4, false, Rect(0, 0, 6, 3), Rect(0, 3, 6, 3), {-1, -1}, 0, {{0, 3}}},  // nothing below R
      {7, false, Rect(0, 0, 6, 6), Rect(0, 0, 4, 6), {5, 0}, 0x0000C0, {{3, 0}}},  // a column at the right
      {8, false, Rect(0, 0, 6, 6), Rect(0, 0, 4, 6), {5, 0}, 0x0000C0, {{3, 0}}},
      {13, false, Rect(0, 0, 6, 6), Rect(0, 0, 4, 6), {5, 0}, 0x0000C0, {{3, 0}}},
      {6, false, Rect(0, 0, 5, 6), Rect(0, 0, 5, 2), {4, 5}, 0xC00000, {{5, 5}, {0, 1}}},  // a row at the bottom
      {1, true, Rect(1, 1, 9, 9), kAllCovered, {5, 5}, 0x2040A0, {{9, 9}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    auto canvas = Canvas24(12, 12, kWhite);
    vcl::TRect r = c.r;
    FillByImage(canvas->Canvas(), r, c.mode, c.flat ? flat : image);
    if (c.mode != 12) {
      EXPECT_EQ(r, c.left);
    }
    if (c.in.x >= 0) {
      EXPECT_EQ(ColorOf(*canvas, c.in.x, c.in.y), Shown(c.colour));
    }
    for (POINT p : c.outside) EXPECT_EQ(ColorOf(*canvas, p.x, p.y), kWhite) << p.x << "," << p.y;
  }
  // An unknown mode paints nothing and leaves R.
  auto none = Canvas24(4, 4, kWhite);
  vcl::TRect r = Rect(0, 0, 4, 4);
  FillByImage(none->Canvas(), r, 20, image);
  EXPECT_EQ(r, Rect(0, 0, 4, 4));
  EXPECT_EQ(ColorOf(*none, 0, 0), kWhite);
}

// Tiling fills big areas from their own first tile: every pixel of a texture whose pixels
// each hold their own place must still land where a copy per tile puts it, on both sides of
// the count past which that starts, at any offset, in partial last rows and columns, and where
// the area does not lie wholly inside the target (then nothing outside is touched).
TEST(FillByImage, TiledAreasShowEveryTexturePixelInPlace) {
  constexpr int kTileW = 5, kTileH = 3;
  const auto unique = [](int x, int y) { return 0x300000u | static_cast<std::uint32_t>(x) << 9 | static_cast<std::uint32_t>(y) << 2; };
  TsLoadedSkin skin;
  TsMaskData image;
  image.Manager = &skin;
  // The tile lies inside a larger picture, away from its corner.
  image.Bmp = std::shared_ptr<vcl::TBitmap>(
      Picture(kTileW + 3, kTileH + 2, [&](int x, int y) { return x >= 2 && x < 2 + kTileW && y >= 1 && y < 1 + kTileH ? unique(x - 2, y - 1) : 0x0000FFu; })
          .release());
  image.R = Rect(2, 1, 2 + kTileW, 1 + kTileH);
  const struct {
    const char* what;
    int mode;
    vcl::TRect r;
  } cases[] = {
      {"eight tiles", 0, Rect(3, 2, 3 + 4 * kTileW, 2 + 2 * kTileH)},
      {"nine tiles", 0, Rect(3, 2, 3 + 3 * kTileW, 2 + 3 * kTileH)},
      {"nine tiles, partial last ones", 0, Rect(3, 2, 3 + 2 * kTileW + 1, 2 + 2 * kTileH + 1)},
      {"many tiles, partial last ones", 0, Rect(1, 4, 58, 47)},
      {"many tiles, whole target", 10, Rect(0, 0, 64, 50)},
      {"one row of many tiles", 2, Rect(2, 5, 60, 40)},
      {"one column of many tiles", 3, Rect(7, 1, 60, 49)},
      {"past the right and bottom edges", 0, Rect(10, 10, 80, 70)},
      {"past the left and top edges", 0, Rect(-7, -4, 40, 30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool depth32 : {false, true}) {
      SCOPED_TRACE(depth32 ? "32-bit target" : "24-bit target");
      auto canvas = depth32 ? Filled32(64, 50, 0xFFFFFFFFu) : Canvas24(64, 50, kWhite);
      vcl::TRect r = c.r;
      FillByImage(canvas->Canvas(), r, c.mode, image);
      const int right = c.mode == 3 ? std::min(c.r.Right, c.r.Left + kTileW) : c.r.Right;
      const int bottom = c.mode == 2 ? std::min(c.r.Bottom, c.r.Top + kTileH) : c.r.Bottom;
      int wrong = 0;
      for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 64; ++x) {
          const bool inside = x >= c.r.Left && x < right && y >= c.r.Top && y < bottom;
          const COLORREF want = inside ? Shown(unique((x - c.r.Left) % kTileW, (y - c.r.Top) % kTileH)) : kWhite;
          if (ColorOf(*canvas, x, y) != want && ++wrong <= 3)
            ADD_FAILURE() << "pixel " << x << "," << y << (inside ? " inside" : " outside");
          if (depth32 && inside && PixelOf(*canvas, x, y) >> 24 != 0xFF && ++wrong <= 3)
            ADD_FAILURE() << "alpha at " << x << "," << y;
        }
      EXPECT_EQ(wrong, 0);
    }
  }
}

// The same through a nine-part frame's tiled centre drawn into a DC whose origin is moved.
TEST(DrawNinePart, ACentreOfManyTilesUnderAMovedOriginShowsEveryPixelInPlace) {
  constexpr int kSize = 8, kEdge = 2;
  const auto unique = [](int x, int y) { return 0x100000u | static_cast<std::uint32_t>(x) << 10 | static_cast<std::uint32_t>(y) << 3; };
  auto source = Picture(kSize, kSize, unique);
  auto target = Canvas24(70, 60, kWhite);
  const HDC dc = target->Canvas()->Handle();
  POINT old{};
  SetWindowOrgEx(dc, -5, -3, &old);
  DrawNinePart(target.get(), source.get(), Rect(0, 0, 60, 50), true, false, {}, {99, 99, 99, 99},
               {kEdge, kEdge, kEdge, kEdge}, Rect(0, 0, kSize, kSize));
  SetWindowOrgEx(dc, old.x, old.y, nullptr);
  const int inner = kSize - 2 * kEdge;
  int wrong = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 70; ++x) {
      const int lx = x - 5, ly = y - 3;
      COLORREF want = kWhite;
      if (lx >= kEdge && lx < 60 - kEdge && ly >= kEdge && ly < 50 - kEdge)
        want = Shown(unique(kEdge + (lx - kEdge) % inner, kEdge + (ly - kEdge) % inner));
      else if (lx >= 0 && lx < 60 && ly >= 0 && ly < 50)
        continue;  // the frame's own pieces, checked above
      if (ColorOf(*target, x, y) != want && ++wrong <= 3) ADD_FAILURE() << "pixel " << x << "," << y;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(Fills, SolidBordersAndBorderCopies) {
  auto canvas = Canvas24(10, 10, kWhite);
  HDC dc = canvas->Canvas()->Handle();
  FillDCBorder(dc, Rect(0, 0, 10, 10), 0, vcl::clRed, 0, 0, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(ColorOf(*canvas, x, y), kWhite);
  FillDCBorder(dc, Rect(1, 1, 9, 9), 1, vcl::clRed, 2, 3, 1);
  // Top, left, bottom 2 high, right 3 wide; the inside and outside left.
  EXPECT_TRUE(ColoursAre(*canvas, {{4, 1, RGB(255, 0, 0)}, {1, 5, RGB(255, 0, 0)}, {4, 7, RGB(255, 0, 0)},
                                   {6, 4, RGB(255, 0, 0)}, {4, 4, kWhite}, {9, 9, kWhite}}));

  auto source = Picture(10, 10, [](int x, int y) { return static_cast<TPixel32>(x * 20 << 8 | y * 20); });
  auto copy = Canvas24(10, 10, kWhite);
  BitBltBorder(copy->Canvas()->Handle(), 2, 2, 1, 0, 0, source->Canvas()->Handle(), 4, 6);
  EXPECT_TRUE(ColoursAre(*copy, {{2, 2, Shown(0)}, {7, 5, Shown(5 * 20 << 8 | 3 * 20)},
                                 {4, 5, Shown(2 * 20 << 8 | 3 * 20)}, {4, 4, kWhite}}));
}

class TestDefaultManager : public TqvDefaultManager {
 public:
  bool std_order = false;
  const TsLoadedSkin& Skin() const override { return skin_; }
  bool StdGlyphsOrder() const override { return std_order; }

 private:
  TsLoadedSkin skin_;
};

TEST(DrawGlyphState, CellOfEachState) {
  EXPECT_EQ(GlyphCell(4, false, 2, true, false), 0);  // disabled: always the first
  EXPECT_EQ(GlyphCell(1, true, 3, false, false), 0);  // one cell serves every state
  EXPECT_EQ(GlyphCell(4, true, 4, false, false), -1);
  EXPECT_EQ(GlyphCell(4, true, 1, false, false), 0);  // hot without a default manager
  TestDefaultManager manager;
  TqvDefaultManager* before = SetDefaultManager(&manager);
  EXPECT_EQ(GlyphCell(4, true, 1, false, false), 1);
  EXPECT_EQ(GlyphCell(4, true, 1, false, true), 0);   // a 4-bit glyph
  EXPECT_EQ(GlyphCell(4, true, 2, true, false), 3);   // pressed and down
  EXPECT_EQ(GlyphCell(3, true, 2, true, false), 1);   // too few cells: as hot
  EXPECT_EQ(GlyphCell(2, true, 3, false, false), 0);
  EXPECT_EQ(GlyphCell(3, true, 3, false, false), 2);
  manager.std_order = true;
  EXPECT_EQ(GlyphCell(4, true, 1, false, false), 0);
  SetDefaultManager(before);
}

TEST(DrawGlyphState, KeyLeftOutAndReflectionFading) {
  // Three 3 x 3 cells: cell i is (40 i, 0, 0); each cell's bottom-left pixel is its key.
  auto glyph = Picture(9, 3, [](int x, int y) { return x % 3 == 0 && y == 2 ? 0x00FF00u : static_cast<TPixel32>(40 * (x / 3 + 1)) << 16; });
  auto target = Filled32(5, 5, 0xFF000000u);
  DrawGlyphState(glyph.get(), target.get(), Rect(1, 1, 4, 4), 3, false, 2, 0, false, false);
  EXPECT_EQ(PixelOf(*target, 1, 1), 0xFF000000u | 40u << 16);
  EXPECT_EQ(PixelOf(*target, 1, 3), 0xFF000000u);  // the key
  // Disabled with a blend of 50 %: half the glyph's colour.
  auto blended = Filled32(5, 5, 0xFF000000u);
  DrawGlyphState(glyph.get(), blended.get(), Rect(0, 0, 3, 3), 3, false, 0, 50, false, false);
  EXPECT_EQ(PixelOf(*blended, 1, 1), 0xFF000000u | 20u << 16);

  // A 30-pixel white glyph: the reflection covers 20 rows from half strength to nothing.
  auto white = Picture(3, 30, [](int x, int y) { return x == 0 && y == 29 ? 0x00FF00u : 0xFFFFFFu; });
  auto tall = Filled32(3, 60, 0xFF000000u);
  DrawGlyphState(white.get(), tall.get(), Rect(0, 0, 3, 30), 1, true, 0, 0, false, true);
  EXPECT_EQ(PixelOf(*tall, 1, 0), 0xFFFFFFFFu);       // drawn an eighth higher: rows -3..26
  EXPECT_EQ(PixelOf(*tall, 1, 27) & 0xFF, 126u);      // (255 * 127) shr 8
  EXPECT_GT(PixelOf(*tall, 1, 45) & 0xFF, 0u);
  EXPECT_TRUE(PixelsAre(*tall, {{1, 46, 0xFF000000u}, {1, 47, 0xFF000000u}}));
  EXPECT_EQ(PixelOf(*tall, 0, 27), 0xFF000000u);      // the key is not reflected
}

TEST(BackgroundRegions, RunsRegionsAndCornerRects) {
  constexpr TPixel32 k = 0x00FF00FF, x = 0xFF102030;
  auto bmp = Bitmap32(4, 2, {k, k, x, k, x, x, k, k});
  TRects runs;
  CollectColorRuns(runs, bmp.get(), kKeyColor);
  EXPECT_EQ(runs, (TRects{Rect(0, 0, 2, 1), Rect(3, 0, 4, 1), Rect(2, 1, 4, 2)}));

  HRGN rgn = nullptr;
  CreateRgnFromBmp(rgn, bmp.get(), kKeyColor);
  ASSERT_NE(rgn, nullptr);
  for (auto [px, py, inside] : {std::tuple{0, 0, false}, {2, 0, true}, {1, 1, true}, {3, 1, false}})
    EXPECT_EQ(PtInRegion(rgn, px, py) != FALSE, inside) << px << "," << py;
  DeleteObject(rgn);
  auto keyed = Filled32(3, 3, k);
  CreateRgnFromBmp(rgn, keyed.get(), kKeyColor);
  RECT box{};
  EXPECT_EQ(GetRgnBox(rgn, &box), NULLREGION);
  DeleteObject(rgn);
  auto solid = Filled32(3, 3, x);
  CreateRgnFromBmp(rgn, solid.get(), kKeyColor);
  EXPECT_EQ(GetRgnBox(rgn, &box), SIMPLEREGION);
  EXPECT_EQ(vcl::TRect(box.left, box.top, box.right, box.bottom), Rect(0, 0, 3, 3));
  DeleteObject(rgn);

  // Corners of a 10 x 8 image of two states (4 high each) with margins 3 x 2.
  TsLoadedSkin skin;
  skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(12, 8, x).release());
  // The image starts at column 2; (2, 3) is the bottom row of the first state.
  for (auto [px, py] : {std::pair{2, 0}, {3, 0}, {2, 1}, {11, 0}, {2, 3}}) SetPixelOf(*skin.MasterBitmap, px, py, k);
  TsMaskData image = SkinImage(skin, Rect(2, 0, 12, 8), 1, 3, 1);
  image.WidthTop = 2;
  image.WidthBottom = 1;
  TRects corners;
  AddMaskCornerRects(corners, 30, image, false, 5);
  EXPECT_EQ(corners, (TRects{Rect(0, 5, 2, 6), Rect(0, 6, 1, 7), Rect(29, 5, 30, 6)}));
  corners.clear();
  AddMaskCornerRects(corners, 30, image, true, 20);
  EXPECT_EQ(corners, (TRects{Rect(0, 20, 1, 21)}));
}

TEST(MakeIcon32, TransparentWhereTheTopLeftColourIs) {
  auto bmp = Picture(4, 4, [](int x, int y) { return x == y || x == 0 ? 0xFF00FFu : 0x3060C0u; });
  vcl::UniqueIcon icon = MakeIcon32(bmp.get());
  ASSERT_TRUE(icon);
  auto canvas = Canvas24(4, 4, kWhite);
  DrawIconEx(canvas->Canvas()->Handle(), 0, 0, icon.get(), 4, 4, 0, nullptr, DI_NORMAL);
  EXPECT_TRUE(ColoursAre(*canvas, {{0, 0, kWhite}, {2, 2, kWhite}, {2, 1, Shown(0x3060C0)}}));
  EXPECT_EQ(PixelOf(*bmp, 0, 0), 0xFFFF00FFu);  // the caller's bitmap is unchanged
}

TEST(AlphaBitmaps, RectanglesEffectsAndPixelAccess) {
  // The area routines themselves are pinned on plain memory.
  auto bmp = Filled32(6, 6, 0);
  BlendBmpRect(bmp.get(), Rect(-2, -2, 2, 2), vcl::clRed);
  EXPECT_TRUE(PixelsAre(*bmp, {{1, 1, 0xFFFF0000u}, {2, 2, 0u}}));
  FillFrame32(bmp.get(), Rect(0, 0, 6, 6), 1, 1, 1, 1, vcl::clBlue);
  EXPECT_TRUE(PixelsAre(*bmp, {{5, 3, 0xFF0000FFu}, {3, 3, 0u}}));
  EXPECT_EQ(GetAPixel(bmp.get(), 5, 3), 0xFF0000FFu);
  EXPECT_EQ(GetAPixel(bmp.get(), 6, 3), 0u);
  SetAPixel(bmp.get(), -1, 0, 1);
  SetAPixel(bmp.get(), 3, 3, 0x12345678);
  EXPECT_EQ(PixelOf(*bmp, 3, 3), 0x12345678u);
  FillAlphaRect(bmp.get(), Rect(3, 3, 100, 100), 0x80);
  EXPECT_EQ(PixelOf(*bmp, 3, 3), 0x80345678u);

  // Disabled look: desaturated, then faded toward the fill colour.
  auto colours = Filled32(2, 1, Bgra(0, 0, 255, 255));
  SetPixelOf(*colours, 1, 0, 0x00FF00FF);
  TqvCacheInfo ci;
  ci.FillColor = 0xFFFFFF;
  ApplyBmpEffects32(colours.get(), kEffectDesaturate, nullptr, ci, {});
  // avg 85: red 255 - (85 - 255) * -90 / 255 = 255 - 60 = 195; blue and green 0 + 30 = 30.
  EXPECT_TRUE(PixelsAre(*colours, {{0, 0, Bgra(30, 30, 195, 255)}, {1, 0, 0x00FF00FFu}}));
  ApplyBmpEffects32(colours.get(), kEffectFade, nullptr, ci, {});
  // round(c * 0.4 + 255 * 0.6): 30 -> 165, 195 -> 231
  EXPECT_EQ(PixelOf(*colours, 0, 0), Bgra(165, 165, 231, 255));
}

}  // namespace
}  // namespace skin_layered::test
