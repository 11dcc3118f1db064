// Gradients on bitmaps: the gradient text read into stops, the painters on 32-bit bitmaps,
// the five-point mesh through the system's GradientFill and its absence.
#include <cstdlib>

#include "paint_win_support.h"
#include "skin_layered/paint/Gradient.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

TEST(PrepareGradientArray, ReadsFiveItemsPerStop) {
  TsGradArray stops;
  // Seven items make one stop; shares are clamped; system colours resolved; the fifth item
  // of a stop is not read.
  PrepareGradientArray(L";255;$FF00;150;1;junk;;9;8;-5;2;x;", stops);
  ASSERT_EQ(stops.size(), 2u);
  EXPECT_EQ(stops[0].Color1, 0xFFu);
  EXPECT_EQ(stops[0].Color2, 0xFF00u);
  EXPECT_EQ(stops[0].Percent, 100);
  EXPECT_EQ(stops[0].Mode, 1);
  EXPECT_EQ(stops[1].Percent, 0);
  PrepareGradientArray(std::to_wstring(vcl::clBtnFace) + L";0;50;0;0;1;2", stops);
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].Color1, static_cast<TColorValue>(GetSysColor(COLOR_BTNFACE)));

  PrepareGradientArray(L"", stops);
  EXPECT_TRUE(stops.empty());
  PrepareGradientArray(L"1;2;3;4", stops);
  EXPECT_TRUE(stops.empty());

  // A word that is not a number raises the conversion error and leaves no stops.
  PrepareGradientArray(L"1;2;3;4;5", stops);
  EXPECT_THROW(PrepareGradientArray(L"1;2;3;4;5;red;2;3;4;5", stops), vcl::EConvertError);
  EXPECT_TRUE(stops.empty());
}

TEST(PaintGradient, OnlyThirtyTwoBitBitmapsInTheLinearModes) {
  TsGradArray stops;
  PrepareGradientArray(L"255;16711680;100;0;0", stops);  // red to blue
  stops[0].Mode = kGradientHorizontal;
  auto row = Filled32(6, 3, 0);
  PaintGradient(row.get(), Rect(0, 1, 6, 9), stops);
  EXPECT_TRUE(PixelsAre(*row, {{0, 0, 0u}, {1, 1, Bgra(51, 0, 204, 255)}, {5, 2, Bgra(255, 0, 0, 255)}}));
  auto rgb = Canvas24(2, 2, RGB(1, 2, 3));
  PaintGradient(rgb.get(), Rect(0, 0, 2, 2), stops);
  EXPECT_EQ(ColorOf(*rgb, 1, 1), RGB(1, 2, 3));
  PaintGradient(nullptr, Rect(0, 0, 2, 2), stops);
}

bool Near(TPixel32 pixel, COLORREF color, int tolerance) {
  return std::abs(static_cast<int>((pixel >> 16) & 0xFF) - GetRValue(color)) <= tolerance &&
         std::abs(static_cast<int>((pixel >> 8) & 0xFF) - GetGValue(color)) <= tolerance &&
         std::abs(static_cast<int>(pixel & 0xFF) - GetBValue(color)) <= tolerance;
}

TEST(PaintGradient, MeshThroughTheSystemAndWithoutIt) {
  ASSERT_NE(GradientFillProc(), nullptr);
  TsGradArray stops;
  PrepareGradientArray(L"255;0;0;2;0;65280;0;0;0;0;16711680;0;0;0;0;16777215;0;0;0;0;0;0;0;0;0", stops);
  auto bmp = Filled32(40, 40, Bgra(9, 9, 9, 0));
  PaintGradient(bmp.get(), Rect(0, 0, 40, 40), stops);
  // The system's shading may differ in detail: the corners and the centre within a margin.
  EXPECT_TRUE(Near(PixelOf(*bmp, 1, 0), RGB(255, 0, 0), 40));
  EXPECT_TRUE(Near(PixelOf(*bmp, 20, 19), RGB(0, 255, 0), 40));
  EXPECT_TRUE(Near(PixelOf(*bmp, 39, 0), RGB(0, 0, 255), 40));
  EXPECT_TRUE(Near(PixelOf(*bmp, 39, 39), RGB(255, 255, 255), 40));
  EXPECT_TRUE(Near(PixelOf(*bmp, 0, 39), RGB(0, 0, 0), 40));

  // Two stops: vertices 2, 3 and 4 take the second stop's start colour.
  TsGradArray two;
  PrepareGradientArray(L"255;0;0;2;0;65280;0;0;0;0", two);
  auto pair = Filled32(40, 40, 0);
  PaintGradient(pair.get(), Rect(0, 0, 40, 40), two);
  EXPECT_TRUE(Near(PixelOf(*pair, 0, 39), RGB(0, 255, 0), 40));

  // Without the system's GradientFill (the units stopped) the mesh paints nothing.
  vcl::FinalizeUnits();
  EXPECT_EQ(GradientFillProc(), nullptr);
  auto untouched = Filled32(8, 8, Bgra(9, 9, 9, 0));
  PaintGradient(untouched.get(), Rect(0, 0, 8, 8), stops);
  vcl::InitializeUnits();
  EXPECT_EQ(PixelOf(*untouched, 4, 4), Bgra(9, 9, 9, 0));
  EXPECT_NE(GradientFillProc(), nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(GradientFillProc()),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"msimg32.dll"), "GradientFill")));
}

TEST(PaintGradientTransparent, TextureOfAnyFormat) {
  // A 24-bit texture of two columns, tiled from the bitmap's origin.
  auto texture = Canvas24(2, 1, RGB(0, 0, 0));
  texture->Canvas()->SetPixels(1, 0, static_cast<vcl::TColor>(RGB(255, 255, 255)));
  TsGradArray stops;
  PrepareGradientArray(L"8421504;8421504;100;0;0", stops);  // flat grey 128
  auto bmp = Filled32(5, 2, 0);
  PaintGradientTransparent(bmp.get(), Rect(1, 0, 5, 2), stops, 77, 255, Rect(0, 0, 0, 0), texture.get());
  EXPECT_TRUE(PixelsAre(*bmp, {{0, 0, 0u},
      {1, 0, Bgra(Blend(255, 128, 255), Blend(255, 128, 255), Blend(255, 128, 255), 77)},
      {2, 1, Bgra(Blend(0, 128, 255), Blend(0, 128, 255), Blend(0, 128, 255), 77)}}));
  EXPECT_EQ(texture->PixelFormat(), vcl::pf24bit);
  // The mesh and nil textures paint nothing.
  stops[0].Mode = kGradientMesh;
  PaintGradientTransparent(bmp.get(), Rect(0, 0, 5, 2), stops, 77, 0, Rect(0, 0, 0, 0), texture.get());
  stops[0].Mode = kGradientVertical;
  PaintGradientTransparent(bmp.get(), Rect(0, 0, 5, 2), stops, 77, 0, Rect(0, 0, 0, 0), nullptr);
  EXPECT_EQ(PixelOf(*bmp, 0, 0), 0u);
}

}  // namespace
}  // namespace skin_layered::test
