// Bitmap utilities: key-colour replacement, mirror, flip, rotations, blending, the ramp cache,
// clipped gradient fills and the hue/saturation measure.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/support/win_skin_support.h"

namespace winskin {
namespace {

using namespace test;
using vcl::TColor;

// A 3 x 2 picture of six distinct colours: row 0 = A B C, row 1 = D E F.
const TColor kA = 0x000001, kB = 0x000002, kC = 0x000003, kD = 0x000004, kE = 0x000005, kF = 0x000006;

std::unique_ptr<vcl::TBitmap> SixColours(vcl::TPixelFormat format = vcl::pf24bit) {
  auto b = Surface(3, 2, vcl::clBlack);
  const TColor colours[2][3] = {{kA, kB, kC}, {kD, kE, kF}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) b->Canvas()->SetPixels(x, y, colours[y][x]);
  b->SetPixelFormat(format);
  return b;
}

std::vector<std::vector<TColor>> Pixels(vcl::TBitmap* b) {
  std::vector<std::vector<TColor>> rows(static_cast<size_t>(b->Height()));
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) rows[static_cast<size_t>(y)].push_back(At(b, x, y));
  return rows;
}

using Grid = std::vector<std::vector<TColor>>;

TEST(ImgUtil, ReplaceKeyColorTouchesExactMagentaOnly) {
  auto b = Surface(3, 1, vcl::clWhite);
  b->Canvas()->SetPixels(0, 0, 0xFF00FF);
  b->Canvas()->SetPixels(1, 0, 0xFF00FE);  // red 254
  b->Canvas()->SetPixels(2, 0, 0xFF01FF);  // green 1
  b->SetPixelFormat(vcl::pf32bit);
  ReplaceKeyColor(b.get(), 0x123456);
  EXPECT_EQ(b->PixelFormat(), vcl::pf24bit);
  EXPECT_EQ(At(b.get(), 0, 0), 0x123456);
  EXPECT_EQ(At(b.get(), 1, 0), 0xFF00FE);
  EXPECT_EQ(At(b.get(), 2, 0), 0xFF01FF);
  ReplaceKeyColor(nullptr, 0);  // nothing to do
}

TEST(ImgUtil, MirrorAndFlipKeepFormatAndSize) {
  for (vcl::TPixelFormat f : {vcl::pf24bit, vcl::pf32bit}) {
    auto b = SixColours(f);
    MirrorBitmap(b.get());
    EXPECT_EQ(b->PixelFormat(), f);
    EXPECT_EQ(Pixels(b.get()), (Grid{{kC, kB, kA}, {kF, kE, kD}}));
    FlipBitmap(b.get());
    EXPECT_EQ(Pixels(b.get()), (Grid{{kF, kE, kD}, {kC, kB, kA}}));
  }
  auto b = SixColours(vcl::pf8bit);  // other formats become 24-bit first
  b->SetPixelFormat(vcl::pf16bit);
  FlipBitmap(b.get());
  EXPECT_EQ(b->PixelFormat(), vcl::pf24bit);
  EXPECT_EQ(b->Width(), 3);
}

TEST(ImgUtil, RotationsTurnAQuarterEachWay) {
  auto left = SixColours();
  RotateLeft(left.get());  // the right edge becomes the top
  ASSERT_EQ(left->Width(), 2);
  ASSERT_EQ(left->Height(), 3);
  EXPECT_EQ(Pixels(left.get()), (Grid{{kC, kF}, {kB, kE}, {kA, kD}}));
  auto right = SixColours(vcl::pf32bit);
  RotateRight(right.get());  // the left edge becomes the top
  EXPECT_EQ(right->PixelFormat(), vcl::pf24bit);
  EXPECT_EQ(Pixels(right.get()), (Grid{{kD, kA}, {kE, kB}, {kF, kC}}));
  RotateRight(right.get());
  RotateRight(right.get());
  RotateRight(right.get());
  EXPECT_EQ(Pixels(right.get()), Pixels(SixColours().get()));
}

TEST(ImgUtil, BlendColorJumpsToPerMilleAtOneHundred) {
  const TColor a = 0x0A64C8, b = 0x000000;  // red 200, green 100, blue 10
  EXPECT_EQ(BlendColor(a, b, 50), 0x053264);   // half of each, rounded
  EXPECT_EQ(BlendColor(a, b, 99), 0x0A63C6);   // (200 x 99 + 50) div 100 = 198
  EXPECT_EQ(BlendColor(a, b, 100), 0x010A14);  // 10 % of A
  EXPECT_EQ(BlendColor(a, 0xFFFFFF, 150), 0xDAE8F7);  // (A x 150 + 255 x 850 + 500) div 1000
  EXPECT_EQ(BlendColor(vcl::clBtnFace, vcl::clBtnFace, 37), vcl::ColorToRGB(vcl::clBtnFace));
  // Weights outside the scale keep the channels within a byte.
  EXPECT_EQ(BlendColor(0xFFFFFF, 0, 5000), 0xFFFFFF);
  EXPECT_EQ(BlendColor(0, 0xFFFFFF, -100), 0xFFFFFF);
  EXPECT_EQ(BlendColor(0xFFFFFF, 0, -100), 0x000000);
}

TEST(ImgUtil, RampsRunFromFirstToLastColour) {
  const auto two = GradientRamp(GetGradient(2, 0x000000, 0x0000FF));
  EXPECT_EQ(std::vector<TColor>(two.begin(), two.end()), (std::vector<TColor>{0x000000, 0x0000FF}));
  const auto one = GradientRamp(GetGradient(1, 0x000010, 0x000021));
  EXPECT_EQ(std::vector<TColor>(one.begin(), one.end()), (std::vector<TColor>{0x000018}));  // midpoint, rounded down
  const auto up = GradientRamp(GetGradient(5, 0x000000, 0x0000FF));
  EXPECT_EQ(std::vector<TColor>(up.begin(), up.end()), (std::vector<TColor>{0, 64, 128, 191, 255}));
  // A falling ramp mirrors the rising one and ends exactly on its last colour, so the cache
  // finds it again.
  const int down = GetGradient(5, 0x0000FF, 0x000000);
  const auto five = GradientRamp(down);
  EXPECT_EQ(std::vector<TColor>(five.begin(), five.end()), (std::vector<TColor>{255, 191, 127, 64, 0}));
  EXPECT_EQ(GetGradient(5, 0x0000FF, 0x000000), down);
  EXPECT_THROW(GetGradient(0, 0, 0), vcl::EAssertionFailed);
  EXPECT_TRUE(GradientRamp(16).empty());
  EXPECT_TRUE(GradientRamp(-1).empty());
}

TEST(ImgUtil, RampCacheReusesAndOverwritesTheOldestSlot) {
  // The cache is the process's: ramps of a first colour no run of this test asked for before,
  // so that all sixteen are new whatever ran earlier.
  static int runs = 0;
  const TColor first = 0x010203 + static_cast<TColor>(++runs) * 0x000100, last = 0x030201;
  std::vector<int> slots;
  for (int i = 0; i < 16; ++i) slots.push_back(GetGradient(300 + i, first, last));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(GetGradient(300 + i, first, last), slots[static_cast<size_t>(i)]);
  // Sixteen new ramps took every slot.
  EXPECT_EQ(std::set<int>(slots.begin(), slots.end()).size(), 16u);
  // A 17th ramp takes the slot of the first; asking for the first again rebuilds it in the
  // next slot, the second's.
  EXPECT_EQ(GetGradient(400, first, last), slots[0]);
  EXPECT_EQ(GetGradient(301, first, last), slots[1]);
  EXPECT_EQ(GetGradient(300, first, last), slots[1]);
  EXPECT_EQ(GradientRamp(slots[1]).size(), 300u);
  EXPECT_EQ(GetGradient(400, first, last), slots[0]);
}

TEST(ImgUtil, GradientFillPaintsOnlyVisibleBandsWithTheirFullColours) {
  auto b = Surface(20, 10, vcl::clWhite);
  HDC dc = b->Canvas()->Handle();
  // A vertical ramp over 0..200 of rows 0..10, clipped to columns 0..20 and rows 2..6.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 2, 20, 6);
  GradientFillRect(dc, vcl::Rect(0, -190, 20, 10), 0x000000, true, 0x0000C7);
  RestoreDC(dc, saved);
  EXPECT_EQ(At(b.get(), 5, 1), vcl::clWhite);
  EXPECT_EQ(At(b.get(), 5, 6), vcl::clWhite);
  // Row 2 is band 192 of 200: 0 + (199 x 192 + 99) div 199 = 192.
  EXPECT_EQ(At(b.get(), 5, 2), 192);
  EXPECT_EQ(At(b.get(), 19, 5), 195);
  // Horizontal, partly off the bitmap to the left.
  GradientFillRect(b->Canvas()->Handle(), vcl::Rect(-10, 8, 10, 10), 0x000000, false, 0x130000);
  EXPECT_EQ(At(b.get(), 0, 9), 0x0A0000);   // band 10 of 20: (19 x 10 + 9) div 19
  EXPECT_EQ(At(b.get(), 9, 8), 0x130000);
  EXPECT_EQ(At(b.get(), 10, 8), vcl::clWhite);
  // Nothing for an empty or an invisible rectangle.
  GradientFillRect(b->Canvas()->Handle(), vcl::Rect(0, 0, 20, 0), 0, true, 0);
  GradientFillRect(b->Canvas()->Handle(), vcl::Rect(100, 100, 120, 120), 0, true, 0);
  EXPECT_EQ(At(b.get(), 0, 0), vcl::clWhite);
}

TEST(ImgUtil, GradientOverAHugeRectangleStaysBounded) {
  auto b = Surface(4, 4, vcl::clWhite);
  GradientFillRect(b->Canvas()->Handle(), vcl::Rect(0, -2000000000, 4, 2000000000), 0x000000, true, 0xFFFFFF);
  const TColor middle = At(b.get(), 0, 2);
  EXPECT_NEAR(middle & 0xFF, 128, 1);  // the middle of the ramp
}

TEST(ImgUtil, HueAndSaturation) {
  // {colour, hue, saturation}: hue in 256ths of the circle (magenta's 212.5 rounded to even),
  // channels all below 160 give 200.
  const int cases[][3] = {{0x0000FF, 0, 255}, {0x00FF00, 85, 255},  {0xFF0000, 170, 255}, {0xFF00FF, 212, 255},
                          {0x8080FF, 0, 127}, {0x104080, -1, 200}, {0xFFFFFF, 0, 0},     {0, -1, 200}};
  for (const auto& c : cases) {
    const auto hs = ColorHueSat(static_cast<TColor>(c[0]));
    if (c[1] >= 0) {
      EXPECT_EQ(hs.Hue, c[1]) << std::hex << c[0];
    }
    EXPECT_EQ(hs.Saturation, c[2]) << std::hex << c[0];
  }
}

}  // namespace
}  // namespace winskin
