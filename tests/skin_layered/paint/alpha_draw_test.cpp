// Drawing helpers on real bitmaps and DCs: alpha bitmaps drawn into canvases, arrow glyphs,
// icons made from bitmaps, shadows, frames, dotted outlines and text extents.
#include <set>
#include <utility>

#include "paint_win_support.h"
#include "skin_layered/paint/AlphaDraw.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/ShadowsOutlines.h"
#include "skin_layered/paint/TextExtent.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

// Blue, green and red of a canvas pixel as 0x00RRGGBB.
std::uint32_t RgbAt(vcl::TBitmap& bmp, int x, int y) {
  const COLORREF c = ColorOf(bmp, x, y);
  return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

TEST(AlphaBitmap, DrawsByAlphaWithAnOptionalReflection) {
  auto canvas = Canvas24(6, 20, RGB(0, 0, 0x40));
  auto bmp = Filled32(2, 8, Bgra(0xFF, 0x80, 0, 0x80));
  DrawAlphaBitmap(canvas->Canvas(), bmp.get(), Rect(2, 1, 4, 9), true);
  const std::uint32_t covered = Blend(0, 0, 0x80) << 16 | Blend(0x80, 0, 0x80) << 8 | Blend(0xFF, 0x40, 0x80);
  EXPECT_EQ(RgbAt(*canvas, 2, 1), covered);
  EXPECT_EQ(RgbAt(*canvas, 3, 8), covered);
  EXPECT_EQ(RgbAt(*canvas, 1, 1), 0x40u);
  // Below R: row 9 is left, rows 10 to 12 reflect (8 div 2 - 1 = 3), the last at weight 0.
  EXPECT_EQ(RgbAt(*canvas, 2, 9), 0x40u);
  EXPECT_NE(RgbAt(*canvas, 2, 10), 0x40u);
  EXPECT_NE(RgbAt(*canvas, 3, 11), 0x40u);
  EXPECT_EQ(RgbAt(*canvas, 3, 12), 0x40u);
  EXPECT_EQ(RgbAt(*canvas, 2, 13), 0x40u);

  // Another size: scaled, colour and alpha alike, without reflection.
  auto scaledCanvas = Canvas24(8, 8, RGB(0, 0, 0x40));
  DrawAlphaBitmap(scaledCanvas->Canvas(), bmp.get(), Rect(0, 0, 4, 4), true);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(RgbAt(*scaledCanvas, x, y), covered) << x << "," << y;
  EXPECT_EQ(RgbAt(*scaledCanvas, 0, 5), 0x40u);

  // A bitmap without alpha is stretched into the rectangle.
  vcl::TBitmap rgb;
  rgb.SetPixelFormat(vcl::pf24bit);
  rgb.SetSize(1, 1);
  rgb.Canvas()->SetPixels(0, 0, static_cast<vcl::TColor>(RGB(1, 2, 3)));
  DrawAlphaBitmap(scaledCanvas->Canvas(), &rgb, Rect(5, 5, 7, 7), false);
  EXPECT_EQ(ColorOf(*scaledCanvas, 6, 6), RGB(1, 2, 3));
  DrawAlphaBitmap(scaledCanvas->Canvas(), bmp.get(), Rect(3, 3, 3, 9), false);  // empty: nothing
}

std::set<std::pair<int, int>> ArrowPixels(int direction, vcl::TRect r) {
  auto canvas = Canvas24(12, 12, RGB(255, 255, 255));
  DrawArrow(canvas->Canvas(), static_cast<vcl::TColor>(RGB(0, 0, 0)), r, direction);
  std::set<std::pair<int, int>> set;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x)
      if (ColorOf(*canvas, x, y) == RGB(0, 0, 0)) set.emplace(x, y);
  return set;
}

TEST(Glyphs, ArrowsAreSmallCentredTriangles) {
  const vcl::TRect r = Rect(0, 0, 10, 10);
  std::set<std::pair<int, int>> left, right, up, down;
  for (int i = 0; i <= 3; ++i) {
    for (int y = 2 + i; y <= 8 - i; ++y) {
      left.emplace(6 - i, y);
      right.emplace(3 + i, y);
    }
    for (int x = 1 + i; x <= 8 - i; ++x) {
      up.emplace(x, 5 - i);
      down.emplace(x, 2 + i);
    }
  }
  EXPECT_EQ(ArrowPixels(0, r), left);
  EXPECT_EQ(ArrowPixels(2, r), right);
  EXPECT_EQ(ArrowPixels(1, r), up);
  EXPECT_EQ(ArrowPixels(3, r), down);
  EXPECT_TRUE(ArrowPixels(4, r).empty());
}

// The pixels of a bitmap handle as 32-bit values, top row first.
std::vector<TPixel32> BitsOf(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<TPixel32> bits(static_cast<std::size_t>(width) * height);
  const vcl::WindowDC screen;
  GetDIBits(screen.get(), bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
  return bits;
}

TEST(Glyphs, IconsTakeColourAndMaskFromTheAlpha) {
  auto bmp = Filled32(5, 3, Bgra(10, 20, 30, 255));
  SetPixelOf(*bmp, 0, 0, Bgra(40, 50, 60, 0x80));
  SetPixelOf(*bmp, 4, 2, Bgra(1, 2, 3, 0));
  const vcl::UniqueIcon icon = IconFromBitmap(bmp.get(), vcl::clNone);
  ASSERT_TRUE(icon);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  const vcl::UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
  BITMAP maskInfo{};
  GetObjectW(mask.get(), sizeof maskInfo, &maskInfo);
  EXPECT_EQ(maskInfo.bmBitsPixel, 1);
  const auto colors = BitsOf(color.get(), 5, 3);
  EXPECT_EQ(colors[0], Bgra(40, 50, 60, 0x80));
  EXPECT_EQ(colors[1], Bgra(10, 20, 30, 255));
  const auto masks = BitsOf(mask.get(), 5, 3);
  EXPECT_EQ(masks[14] & 0xFFFFFF, 0xFFFFFFu);  // alpha 0: white
  EXPECT_EQ(masks[0] & 0xFFFFFF, 0u);          // any other alpha: black
  EXPECT_EQ(masks[13] & 0xFFFFFF, 0u);

  // A bitmap without alpha becomes 32-bit, clear on the key colour.
  vcl::TBitmap rgb;
  rgb.SetPixelFormat(vcl::pf24bit);
  rgb.SetSize(2, 1);
  rgb.Canvas()->SetPixels(0, 0, static_cast<vcl::TColor>(RGB(255, 0, 255)));
  rgb.Canvas()->SetPixels(1, 0, static_cast<vcl::TColor>(RGB(1, 2, 3)));
  const vcl::UniqueIcon keyed = IconFromBitmap(&rgb, vcl::clNone);
  ASSERT_TRUE(keyed);
  EXPECT_EQ(rgb.PixelFormat(), vcl::pf32bit);
  EXPECT_TRUE(PixelsAre(rgb, {{0, 0, Bgra(255, 0, 255, 0)}, {1, 0, Bgra(3, 2, 1, 255)}}));

  vcl::TBitmap empty;
  EXPECT_FALSE(IconFromBitmap(&empty, vcl::clNone));
  EXPECT_FALSE(IconFromBitmap(nullptr, vcl::clNone));
}

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
