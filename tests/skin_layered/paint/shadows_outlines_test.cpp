// Shadows, frames, dotted outlines and text extents on real bitmaps and DCs.
#include "paint_win_support.h"
#include "skin_layered/paint/ShadowsOutlines.h"
#include "skin_layered/paint/TextExtent.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

TEST(PaintShadowRect, RingsFallTowardTheShadowColour) {
  auto bmp = Filled32(20, 20, Bgra(255, 255, 255, 255));
  PaintShadowRect(bmp.get(), Rect(2, 2, 18, 18), 0, 0, 4, vcl::clBlack);
  // Four rings and a core: grey levels 204, 153, 102, 51 and 0.
  EXPECT_TRUE(PixelsAre(*bmp, {{2, 2, Bgra(203, 203, 203, 255)}, {17, 17, Bgra(203, 203, 203, 255)},
      {4, 10, Bgra(101, 101, 101, 255)}, {10, 10, Bgra(0, 0, 0, 255)}, {1, 1, Bgra(255, 255, 255, 255)},
      {18, 10, Bgra(255, 255, 255, 255)}}));

  // Fully transparent: every pixel nearly kept; rounded corners stay outside the shape.
  auto clear = Filled32(10, 10, Bgra(255, 255, 255, 9));
  PaintShadowRect(clear.get(), Rect(0, 0, 10, 10), 100, 0, 2, vcl::clBlack);
  EXPECT_EQ(PixelOf(*clear, 5, 5), Bgra(254, 254, 254, 9));
  auto round = Filled32(16, 16, Bgra(255, 255, 255, 255));
  PaintShadowRect(round.get(), Rect(0, 0, 16, 16), 0, 6, 0, static_cast<vcl::TColor>(RGB(0, 0, 200)));
  EXPECT_EQ(PixelOf(*round, 0, 0), Bgra((255 * 255 + 200) >> 8, (255 * 255) >> 8, (255 * 255) >> 8, 255));
  EXPECT_EQ(PixelOf(*round, 8, 8), Bgra(200, 0, 0, 255));
  // Nothing for an empty rectangle.
  auto untouched = Filled32(4, 4, Bgra(255, 255, 255, 255));
  PaintShadowRect(untouched.get(), Rect(1, 1, 1, 3), 0, 0, 0, vcl::clBlack);
  PaintShadowRect(untouched.get(), Rect(1, 1, 3, 0), 0, 0, 0, vcl::clBlack);
  EXPECT_EQ(PixelOf(*untouched, 1, 1), Bgra(255, 255, 255, 255));
}

TEST(DrawFrame3D, RingsOfTwoColoursAndTheRectangleShrinks) {
  auto canvas = Canvas24(10, 10, RGB(255, 255, 255));
  HDC dc = canvas->Canvas()->Handle();
  HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  vcl::TRect r = Rect(1, 1, 9, 9);
  int width = 2;
  DrawFrame3D(dc, r, vcl::clRed, width, vcl::clBlue);
  EXPECT_EQ(r, Rect(3, 3, 7, 7));
  EXPECT_EQ(width, 0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), white = RGB(255, 255, 255);
  for (auto [x, y] : {std::pair{1, 1}, {4, 1}, {1, 5}, {2, 2}, {6, 2}, {2, 6}}) EXPECT_EQ(ColorOf(*canvas, x, y), red) << x << "," << y;
  for (auto [x, y] : {std::pair{8, 1}, {8, 5}, {5, 8}, {1, 8}, {7, 2}, {7, 7}, {2, 7}})
    EXPECT_EQ(ColorOf(*canvas, x, y), blue) << x << "," << y;
  for (auto [x, y] : {std::pair{0, 0}, {9, 9}, {3, 3}, {6, 6}}) EXPECT_EQ(ColorOf(*canvas, x, y), white) << x << "," << y;
}

TEST(DrawDottedRect, AlternatesAndLeavesOutNone) {
  auto canvas = Canvas24(6, 5, RGB(255, 255, 255));
  DrawDottedRect(canvas->Canvas(), Rect(1, 1, 5, 4), vcl::clBlack, vcl::clNone);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  for (auto [x, y] : {std::pair{1, 1}, {3, 1}, {1, 3}, {3, 3}, {4, 2}}) EXPECT_EQ(ColorOf(*canvas, x, y), black) << x << "," << y;
  for (auto [x, y] : {std::pair{2, 1}, {4, 1}, {1, 2}, {2, 2}, {0, 0}, {5, 4}})
    EXPECT_EQ(ColorOf(*canvas, x, y), white) << x << "," << y;
  DrawDottedRect(canvas->Canvas(), Rect(1, 1, 5, 4), vcl::clNone, vcl::clRed);
  EXPECT_TRUE(ColoursAre(*canvas, {{2, 1, RGB(255, 0, 0)}, {1, 1, black}}));
}

TEST(GetTextExtentWithFont, OneLineOrWrapped) {
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const vcl::String text = L"Layered skins paint text in many places";
  vcl::TSize one;
  GetTextExtentWithFont(font, text, 0, one, 0, false);
  SIZE expected{};
  {
    const vcl::WindowDC screen;
    const vcl::SelectGuard select(screen.get(), font);
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &expected);
  }
  EXPECT_EQ(one, vcl::TSize(expected));
  EXPECT_GT(one.cx, 0);

  vcl::TSize wrapped;
  GetTextExtentWithFont(font, text, DT_WORDBREAK, wrapped, one.cx / 3, true);
  EXPECT_LE(wrapped.cx, one.cx / 3);
  EXPECT_GE(wrapped.cy, 3 * one.cy);
}

}  // namespace
}  // namespace skin_layered::test
