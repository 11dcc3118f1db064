// Compositing of bitmaps (the blend arithmetic itself is pinned on plain pixels): clipping,
// sources of other formats, cache-info holes, reflection, and the bitmap wrappers of the
// constant, masked, keyed and colour blends.
#include "paint_win_support.h"
#include "skin_layered/paint/Compositing.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

void CopyPlain(const vcl::TRect& dst, const vcl::TRect& src, vcl::TBitmap* to, bool reflect, vcl::TBitmap* from) {
  CopyTransBitmaps(dst, src, to, reflect, 0, vcl::clNone, false, {}, from);
}

TEST(CopyTransBitmaps, BlendsByAlphaWithTransparencyAndTint) {
  auto dst = Filled32(3, 1, Bgra(0, 100, 200, 0x30));
  // A hole is left alone; the key colour with an alpha of its own is no hole.
  auto src = Bitmap32(3, 1, {Bgra(50, 60, 70, 0x80), 0x00FF00FF, 0xFFFF00FF});
  CopyPlain(Rect(0, 0, 3, 1), Rect(0, 0, 3, 1), dst.get(), false, src.get());
  EXPECT_TRUE(PixelsAre(*dst, {{0, 0, Bgra(Blend(50, 0, 0x80), Blend(60, 100, 0x80), Blend(70, 200, 0x80), 0x80)},
      {1, 0, Bgra(0, 100, 200, 0x30)}, {2, 0, Bgra(254, Blend(0, 100, 255), 254, 255)}}));
  // Transparency and tint as the caller asks; the tint resolves system colours.
  auto faded = Filled32(1, 1, Bgra(0, 0, 0, 0x10));
  auto white = Filled32(1, 1, Bgra(255, 255, 255, 255));
  CopyTransBitmaps(Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), faded.get(), false, 50, vcl::clRed, false, {}, white.get());
  EXPECT_EQ(PixelOf(*faded, 0, 0), Bgra(0, 0, Blend(255, 0, 127), 0x10));
}

TEST(CopyTransBitmaps, ClippedToBothBitmapsAndOnlyIntoThirtyTwoBits) {
  auto src = Filled32(3, 3, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) SetPixelOf(*src, x, y, Bgra(x * 10 + y, 0, 0, 255));
  // A negative destination point moves the source origin by as much.
  auto dst = Filled32(3, 3, Bgra(0, 0, 0, 255));
  CopyPlain(Rect(-1, -1, 2, 2), Rect(0, 0, 3, 3), dst.get(), false, src.get());
  EXPECT_EQ(PixelOf(*dst, 0, 0) & 0xFF, Blend(11, 0, 255));
  EXPECT_EQ(PixelOf(*dst, 1, 1) & 0xFF, Blend(22, 0, 255));
  EXPECT_EQ(PixelOf(*dst, 2, 2), Bgra(0, 0, 0, 255));  // beyond the 2 x 2 that remain
  auto big = Filled32(5, 5, Bgra(0, 0, 0, 255));
  CopyPlain(Rect(3, 3, 9, 9), Rect(0, 0, 3, 3), big.get(), false, src.get());
  EXPECT_EQ(PixelOf(*big, 4, 4) & 0xFF, Blend(11, 0, 255));
  EXPECT_EQ(PixelOf(*big, 2, 2), Bgra(0, 0, 0, 255));
  // A destination of another format is left alone; nil sources do nothing.
  auto target = Canvas24(2, 2, RGB(0, 0, 0));
  CopyPlain(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), target.get(), false, src.get());
  EXPECT_EQ(ColorOf(*target, 0, 0), RGB(0, 0, 0));
  CopyPlain(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), big.get(), false, nullptr);
}

TEST(CopyTransBitmaps, SourceWithoutAlphaIsDrawnOpaqueAndStaysAsItWas) {
  // A 24-bit source is read through an opaque copy whose key-coloured pixels are holes; the
  // caller's bitmap keeps its format.
  auto rgb = Canvas24(2, 1, RGB(10, 20, 30));
  rgb->Canvas()->SetPixels(1, 0, static_cast<vcl::TColor>(RGB(255, 0, 255)));
  auto dst = Filled32(2, 1, Bgra(1, 2, 3, 4));
  CopyPlain(Rect(0, 0, 2, 1), Rect(0, 0, 2, 1), dst.get(), false, rgb.get());
  EXPECT_EQ(rgb->PixelFormat(), vcl::pf24bit);
  EXPECT_EQ(PixelOf(*dst, 0, 0), Bgra(Blend(30, 1, 255), Blend(20, 2, 255), Blend(10, 3, 255), 255));
  EXPECT_EQ(PixelOf(*dst, 1, 0), Bgra(1, 2, 3, 4));
}

TEST(CopyTransBitmaps, HolesTakeTheCacheInfosBackground) {
  auto back = Filled32(6, 6, Bgra(9, 9, 9, 9));
  SetPixelOf(*back, 3, 4, Bgra(70, 80, 90, 1));
  auto src = Filled32(2, 2, 0x00FF00FF);
  auto dst = Filled32(2, 2, Bgra(0, 0, 0, 0x66));
  TqvCacheInfo ci;
  ci.Bmp = back.get();
  ci.X = 2;
  ci.Y = 3;
  ci.Ready = true;
  CopyTransBitmaps(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), dst.get(), false, 0, vcl::clNone, true, ci, src.get());
  EXPECT_TRUE(PixelsAre(*dst, {{0, 0, Bgra(9, 9, 9, 0x66)}, {1, 1, Bgra(70, 80, 90, 0x66)}}));
  // BlendBitmapsByMask makes a filled hole opaque.
  auto other = Filled32(2, 2, Bgra(0, 0, 0, 0x66));
  BlendBitmapsByMask(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), other.get(), true, ci, src.get());
  EXPECT_EQ(PixelOf(*other, 1, 1), Bgra(70, 80, 90, 255));
  // Not ready: nothing is filled.
  ci.Ready = false;
  auto untouched = Filled32(2, 2, Bgra(0, 0, 0, 0x66));
  CopyTransBitmaps(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), untouched.get(), false, 0, vcl::clNone, true, ci, src.get());
  EXPECT_EQ(PixelOf(*untouched, 1, 1), Bgra(0, 0, 0, 0x66));
}

TEST(CopyTransBitmaps, ReflectionMirrorsBelowAndFades) {
  auto src = Filled32(2, 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 2; ++x) SetPixelOf(*src, x, y, Bgra(y * 10, 255, 0, 255));
  auto dst = Filled32(2, 40, Bgra(0, 0, 0, 0x11));
  CopyPlain(Rect(0, 0, 2, 20), Rect(0, 0, 2, 20), dst.get(), true, src.get());
  // A source of 20 rows reflects 9: rows 21 to 29, row 20 between them left as it was.
  const int rows = 9;
  EXPECT_EQ(PixelOf(*dst, 0, 20), Bgra(0, 0, 0, 0x11));
  for (int j = 1; j <= rows; ++j) {
    const unsigned w = ((255u * (rows - j)) / rows * (255 - 255 / 20 * (j - 1))) >> 9;
    const unsigned blue = (20 - j - 1) * 10;  // source row 20 - j - 1
    EXPECT_EQ(PixelOf(*dst, 1, 20 + j), Bgra(Blend(blue, 0, w), Blend(255, 0, w), 0, 0x11)) << "row " << 20 + j;
  }
  EXPECT_EQ(PixelOf(*dst, 0, 30), Bgra(0, 0, 0, 0x11));
  // A source under 4 rows has nothing to reflect.
  auto shortSource = Filled32(2, 3, Bgra(255, 255, 255, 255));
  auto below = Filled32(2, 10, 0);
  CopyPlain(Rect(0, 0, 2, 3), Rect(0, 0, 2, 3), below.get(), true, shortSource.get());
  for (int y = 3; y < 10; ++y) EXPECT_EQ(PixelOf(*below, 0, y), 0u) << y;
  // The mirror of a rectangle near the source's top stops at the source's first row.
  auto tall = Filled32(1, 12, Bgra(0, 0, 0, 0x11));
  CopyPlain(Rect(0, 0, 1, 3), Rect(0, 0, 1, 3), tall.get(), true, src.get());
  EXPECT_NE(PixelOf(*tall, 0, 5), Bgra(0, 0, 0, 0x11));  // from source row 0
  for (int y = 6; y < 12; ++y) EXPECT_EQ(PixelOf(*tall, 0, y), Bgra(0, 0, 0, 0x11)) << y;
  // With a tint the fade is twice as fast: 255 div (20 div 2) per row.
  auto tinted = Filled32(2, 40, Bgra(0, 0, 0, 0x11));
  CopyTransBitmaps(Rect(0, 0, 2, 20), Rect(0, 0, 2, 20), tinted.get(), true, 0, static_cast<vcl::TColor>(0x808080),
                   false, {}, src.get());
  const unsigned w2 = ((255u * (rows - 2)) / rows * (255 - 25)) >> 9;
  const unsigned grey = ((20 - 2 - 1) * 10 + 255) / 3;
  EXPECT_EQ(PixelOf(*tinted, 0, 22), Bgra(Blend(grey, 0, w2), Blend(grey, 0, w2), Blend(grey, 0, w2), 0x11));
}

TEST(Blends, BitmapWrappers) {
  auto src = Filled32(3, 3, Bgra(1, 2, 3, 4));
  auto dst = Filled32(4, 4, 0);
  BlendTransRect(dst.get(), src.get(), 0, vcl::TPoint(1, 1), Rect(0, 0, 3, 3));
  EXPECT_TRUE(PixelsAre(*dst, {{3, 3, Bgra(1, 2, 3, 4)}, {0, 0, 0u}}));

  // CopyMaskedRect: a picture whose mask lies two rows below; black gives the picture.
  auto picture = Filled32(2, 4, Bgra(100, 110, 120, 0));
  for (int x = 0; x < 2; ++x) SetPixelOf(*picture, x, 2, Bgra(0, 0, 0, 0));
  SetPixelOf(*picture, 1, 0, Bgra(255, 0, 255, 0));  // the key colour: the background
  auto target = Filled32(3, 3, Bgra(50, 50, 50, 0));
  auto back = Filled32(3, 3, Bgra(7, 7, 7, 7));
  TqvCacheInfo ci;
  ci.Bmp = back.get();
  CopyMaskedRect(target.get(), Rect(1, 1, 3, 3), picture.get(), vcl::TPoint(0, 0), 2, true, ci);
  EXPECT_TRUE(PixelsAre(*target, {{1, 1, Bgra(100, 110, 120, 255)}, {2, 1, Bgra(7, 7, 7, 7)},
      {0, 0, Bgra(50, 50, 50, 0)}}));

  // MixBitmaps through a mask bitmap, and nothing for bitmaps of different sizes.
  auto a = Filled32(2, 1, Bgra(200, 200, 200, 1));
  auto b = Filled32(2, 1, Bgra(0, 0, 0, 2));
  auto mask = Filled32(2, 1, Bgra(0, 128, 255, 0));
  auto out = Filled32(2, 1, Bgra(9, 9, 9, 0x44));
  MixBitmaps(out.get(), a.get(), b.get(), 0, mask.get());
  EXPECT_EQ(PixelOf(*out, 1, 0), Bgra(0, 100, 199, 0x44));
  auto wide = Filled32(3, 1, 0);
  MixBitmaps(out.get(), a.get(), wide.get(), 255, nullptr);
  EXPECT_EQ(PixelOf(*out, 1, 0), Bgra(0, 100, 199, 0x44));

  // A 24-bit glyph: its key-coloured pixels are left out, the others copied opaque.
  auto glyph = Canvas24(2, 1, RGB(255, 0, 255));
  glyph->Canvas()->SetPixels(0, 0, static_cast<vcl::TColor>(RGB(1, 2, 3)));
  auto summed = Filled32(3, 1, Bgra(5, 5, 5, 5));
  SumBitmapRect(summed.get(), glyph.get(), 1, kKeyColor, 0);
  EXPECT_TRUE(PixelsAre(*summed, {{1, 0, Bgra(3, 2, 1, 255)}, {2, 0, Bgra(5, 5, 5, 5)}}));
  auto fromBack = Filled32(2, 1, 0);
  ci.Ready = true;
  CopyRectKeyed(fromBack.get(), glyph.get(), 0, true, ci, kKeyColor, Rect(0, 0, 2, 1), 0);
  EXPECT_TRUE(PixelsAre(*fromBack, {{0, 0, Bgra(3, 2, 1, 255)}, {1, 0, Bgra(7, 7, 7, 7)}}));

  // Toward a system colour, resolved to its current value; holes stay.
  auto bmp = Filled32(2, 1, Bgra(0, 0, 0, 0x22));
  SetPixelOf(*bmp, 1, 0, 0x00FF00FF);
  BlendColorToBmp(bmp.get(), vcl::clBtnFace, 0.0);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(PixelOf(*bmp, 0, 0), Bgra(GetBValue(face), GetGValue(face), GetRValue(face), 0x22));
  EXPECT_EQ(PixelOf(*bmp, 1, 0), 0x00FF00FFu);
}

}  // namespace
}  // namespace skin_layered::test
