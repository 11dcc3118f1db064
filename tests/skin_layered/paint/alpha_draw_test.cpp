// Alpha drawing: the plain alpha copy with its clipping and reflection, alpha bitmaps drawn
// into canvases, arrow glyphs and icons made from bitmaps.
#include <set>
#include <utility>

#include "paint_win_support.h"
#include "skin_layered/paint/AlphaDraw.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BitmapGlyphs.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

TEST(AlphaCopy, ChannelsMoveTowardTheSourceByItsAlpha) {
  auto dst = Filled32(4, 1, Bgra(0, 100, 200, 0x30));
  auto src = Filled32(4, 1, 0);
  SetPixelOf(*src, 0, 0, Bgra(255, 100, 7, 0));      // alpha 0: nothing changes
  SetPixelOf(*src, 1, 0, Bgra(255, 100, 200, 255));  // 255 over 0 gives 254; equal channels stay
  SetPixelOf(*src, 2, 0, Bgra(50, 60, 70, 0x80));
  SetPixelOf(*src, 3, 0, 0x00FF00FF);                // a hole: left alone
  CopyTransBitmaps(Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), dst.get(), false, src.get());
  EXPECT_EQ(PixelOf(*dst, 0, 0), Bgra(0, 100, 200, 0x30));
  EXPECT_EQ(PixelOf(*dst, 1, 0), Bgra(254, 100, 200, 255));
  EXPECT_EQ(PixelOf(*dst, 2, 0), Bgra(Blend(50, 0, 0x80), Blend(60, 100, 0x80), Blend(70, 200, 0x80), 0x80));
  EXPECT_EQ(PixelOf(*dst, 3, 0), Bgra(0, 100, 200, 0x30));

  // The key colour with an alpha of its own is no hole.
  SetPixelOf(*src, 0, 0, 0xFFFF00FF);
  CopyTransBitmaps(Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), dst.get(), false, src.get());
  EXPECT_EQ(PixelOf(*dst, 0, 0), Bgra(254, 0, 254, 255));
}

TEST(AlphaCopy, RectanglesAreClippedToBothBitmaps) {
  auto src = Filled32(3, 3, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) SetPixelOf(*src, x, y, Bgra(x * 10 + y, 0, 0, 255));
  // A negative destination point moves the source origin by as much.
  auto dst = Filled32(3, 3, Bgra(0, 0, 0, 255));
  CopyTransBitmaps(Rect(-1, -1, 2, 2), Rect(0, 0, 3, 3), dst.get(), false, src.get());
  EXPECT_EQ(PixelOf(*dst, 0, 0) & 0xFF, Blend(11, 0, 255));
  EXPECT_EQ(PixelOf(*dst, 1, 1) & 0xFF, Blend(22, 0, 255));
  EXPECT_EQ(PixelOf(*dst, 2, 2), Bgra(0, 0, 0, 255));  // beyond the 2 x 2 that remain

  // The smaller rectangle decides, and neither bitmap is left.
  auto big = Filled32(5, 5, Bgra(0, 0, 0, 255));
  CopyTransBitmaps(Rect(3, 3, 9, 9), Rect(0, 0, 3, 3), big.get(), false, src.get());
  EXPECT_EQ(PixelOf(*big, 4, 4) & 0xFF, Blend(11, 0, 255));
  EXPECT_EQ(PixelOf(*big, 2, 2), Bgra(0, 0, 0, 255));

  // The source is made 32-bit; a destination of another format is left alone.
  vcl::TBitmap rgb;
  rgb.SetPixelFormat(vcl::pf24bit);
  rgb.SetSize(2, 2);
  CopyTransBitmaps(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), big.get(), false, &rgb);
  EXPECT_EQ(rgb.PixelFormat(), vcl::pf32bit);
  vcl::TBitmap target;
  target.SetPixelFormat(vcl::pf24bit);
  target.SetSize(2, 2);
  CopyTransBitmaps(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), &target, false, src.get());
  EXPECT_EQ(ColorOf(target, 0, 0), RGB(0, 0, 0));
  CopyTransBitmaps(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), big.get(), false, nullptr);
}

TEST(AlphaCopy, ReflectionMirrorsBelowAndFades) {
  auto src = Filled32(2, 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 2; ++x) SetPixelOf(*src, x, y, Bgra(y * 10, 255, 0, 255));
  auto dst = Filled32(2, 40, Bgra(0, 0, 0, 0x11));
  CopyTransBitmaps(Rect(0, 0, 2, 20), Rect(0, 0, 2, 20), dst.get(), true, src.get());
  // A source of 20 rows reflects 9: rows 21 to 29, row 20 between them left as it was.
  const int rows = 9;
  const unsigned step = 255 / 20;
  EXPECT_EQ(PixelOf(*dst, 0, 20), Bgra(0, 0, 0, 0x11));
  for (int j = 1; j <= rows; ++j) {
    const unsigned strength = 255 - step * (j - 1);
    const unsigned w = ((255u * (rows - j)) / rows * strength) >> 9;
    const unsigned blue = (20 - j - 1) * 10;  // source row 20 - j - 1
    EXPECT_EQ(PixelOf(*dst, 1, 20 + j), Bgra(Blend(blue, 0, w), Blend(255, 0, w), 0, 0x11)) << "row " << 20 + j;
  }
  EXPECT_EQ(PixelOf(*dst, 0, 30), Bgra(0, 0, 0, 0x11));

  // A source under 4 rows has nothing to reflect.
  auto shortSource = Filled32(2, 3, Bgra(255, 255, 255, 255));
  auto below = Filled32(2, 10, 0);
  CopyTransBitmaps(Rect(0, 0, 2, 3), Rect(0, 0, 2, 3), below.get(), true, shortSource.get());
  for (int y = 3; y < 10; ++y) EXPECT_EQ(PixelOf(*below, 0, y), 0u) << y;

  // The mirror of a rectangle near the source's top stops at the source's first row.
  auto tall = Filled32(1, 12, Bgra(0, 0, 0, 0x11));
  CopyTransBitmaps(Rect(0, 0, 1, 3), Rect(0, 0, 1, 3), tall.get(), true, src.get());
  EXPECT_NE(PixelOf(*tall, 0, 4), Bgra(0, 0, 0, 0x11));  // from source row 1
  EXPECT_NE(PixelOf(*tall, 0, 5), Bgra(0, 0, 0, 0x11));  // from source row 0
  for (int y = 6; y < 12; ++y) EXPECT_EQ(PixelOf(*tall, 0, y), Bgra(0, 0, 0, 0x11)) << y;
}

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
  EXPECT_EQ(left.size(), 16u);
  EXPECT_EQ(up.size(), 20u);
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
  SetPixelOf(*bmp, 4, 2, Bgra(1, 2, 3, 0));
  SetPixelOf(*bmp, 0, 0, Bgra(40, 50, 60, 0x80));
  const vcl::UniqueIcon icon = IconFromBitmap(bmp.get(), vcl::clNone);
  ASSERT_TRUE(icon);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  const vcl::UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
  EXPECT_TRUE(info.fIcon);
  BITMAP colorInfo{}, maskInfo{};
  GetObjectW(color.get(), sizeof colorInfo, &colorInfo);
  GetObjectW(mask.get(), sizeof maskInfo, &maskInfo);
  EXPECT_EQ(colorInfo.bmWidth, 5);
  EXPECT_EQ(colorInfo.bmHeight, 3);
  EXPECT_EQ(maskInfo.bmWidth, 5);
  EXPECT_EQ(maskInfo.bmHeight, 3);
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
  EXPECT_EQ(PixelOf(rgb, 0, 0), Bgra(255, 0, 255, 0));
  EXPECT_EQ(PixelOf(rgb, 1, 0), Bgra(3, 2, 1, 255));

  vcl::TBitmap empty;
  EXPECT_FALSE(IconFromBitmap(&empty, vcl::clNone));
  EXPECT_FALSE(IconFromBitmap(nullptr, vcl::clNone));
}

}  // namespace
}  // namespace skin_layered::test
