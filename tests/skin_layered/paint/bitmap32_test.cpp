// 32-bit bitmaps: making and copying them, the pixel walks with the engine's transforms,
// channel copies, the half-mask alpha, and filtered scaling (sizes refused, plain copies, in
// place, sources of other formats).
#include "paint_win_support.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Resampling.h"

namespace skin_layered::test {
namespace {

TEST(Bitmap32, CreateBmp32MakesEmptyThirtyTwoBitDibs) {
  const auto bmp = CreateBmp32(7, 3);
  EXPECT_EQ(bmp->Width(), 7);
  EXPECT_EQ(bmp->Height(), 3);
  EXPECT_EQ(bmp->PixelFormat(), vcl::pf32bit);
  EXPECT_EQ(bmp->HandleType(), vcl::bmDIB);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(PixelOf(*bmp, x, y), 0u);
  const auto none = CreateBmp32(0, 5);
  EXPECT_TRUE(none->Empty());
  EXPECT_EQ(none->PixelFormat(), vcl::pf32bit);
  EXPECT_TRUE(CreateBmp32(-4, -4)->Empty());

  vcl::TBitmap eight;
  eight.SetPixelFormat(vcl::pf8bit);
  eight.SetSize(5, 6);
  const auto like = CreateBmpLike(&eight);
  EXPECT_EQ(like->PixelFormat(), vcl::pf8bit);
  EXPECT_EQ(like->Height(), 6);
  EXPECT_EQ(CreateBmpLike(nullptr), nullptr);
}

TEST(Bitmap32, CopyBmpTakesFormatSizeAndEveryPixelAlphaIncluded) {
  auto source = Filled32(3, 2, Bgra(1, 2, 3, 4));
  SetPixelOf(*source, 2, 1, Bgra(200, 100, 50, 25));
  vcl::TBitmap target;  // a device bitmap of another size
  target.SetSize(9, 9);
  CopyBmp(&target, source.get());
  EXPECT_EQ(target.PixelFormat(), vcl::pf32bit);
  EXPECT_EQ(target.HandleType(), vcl::bmDIB);
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(target.Height(), 2);
  EXPECT_TRUE(PixelsAre(target, {{0, 0, Bgra(1, 2, 3, 4)}, {2, 1, Bgra(200, 100, 50, 25)}}));

  vcl::TBitmap device;
  device.SetSize(2, 2);
  device.Canvas()->SetPixels(1, 1, static_cast<vcl::TColor>(RGB(9, 8, 7)));
  vcl::TBitmap fromDevice;
  CopyBmp(&fromDevice, &device);
  EXPECT_EQ(fromDevice.HandleType(), vcl::bmDIB);
  EXPECT_EQ(ColorOf(fromDevice, 1, 1), RGB(9, 8, 7));
  CopyBmp(nullptr, &device);  // nothing to do
}

// The transforms' values are pinned on plain rows; here the walks over bitmaps.
TEST(Bitmap32, PixelWalksAndChannelCopiesCoverOnlyWhatTheyShould) {
  auto bmp = Filled32(2, 2, Bgra(10, 200, 50, 33));
  SetPixelOf(*bmp, 1, 0, Bgra(255, 0, 255, 0));  // the key colour with alpha 0: skipped
  ChangeBitmapPixels(bmp.get(), ColorizePixel, 0x808080, kKeyColor);
  EXPECT_TRUE(PixelsAre(*bmp, {{0, 0, Bgra(100, 100, 100, 33)}, {1, 1, Bgra(100, 100, 100, 33)},
      {1, 0, Bgra(255, 0, 255, 0)}}));
  // Only 32-bit bitmaps are walked.
  auto rgb = Canvas24(1, 1, RGB(77, 0, 0));
  ChangeBitmapPixels(rgb.get(), ColorizePixel, 0, kNoColor);
  EXPECT_EQ(ColorOf(*rgb, 0, 0), RGB(77, 0, 0));
  ChangeBitmapPixels(nullptr, ColorizePixel, 0, kNoColor);

  auto target = Filled32(3, 2, Bgra(1, 2, 3, 4));
  auto source = Filled32(2, 3, Bgra(10, 20, 30, 40));
  CopyChannel(target.get(), source.get(), 3);
  EXPECT_EQ(PixelOf(*target, 1, 1), Bgra(1, 2, 3, 40));
  EXPECT_EQ(PixelOf(*target, 2, 0), Bgra(1, 2, 3, 4));  // beyond the source: untouched
  CopyChannel(target.get(), source.get(), 4);           // no such channel
  EXPECT_EQ(PixelOf(*target, 0, 0), Bgra(1, 2, 3, 40));
  vcl::TBitmap plane;
  plane.SetPixelFormat(vcl::pf8bit);
  plane.SetSize(1, 1);  // smaller than the 32-bit bitmap: only its pixels
  ChannelToPlane(target.get(), &plane, 2, true);
  EXPECT_EQ(static_cast<std::uint8_t*>(plane.ScanLine(0))[0], 3);
  static_cast<std::uint8_t*>(plane.ScanLine(0))[0] = 99;
  ChannelToPlane(target.get(), &plane, 0, false);
  EXPECT_TRUE(PixelsAre(*target, {{0, 0, Bgra(99, 2, 3, 40)}, {1, 0, Bgra(1, 2, 3, 40)}}));
}

TEST(Bitmap32, MaskHalfToAlphaTakesTheLowerHalfAsAlpha) {
  auto bmp = Filled32(4, 7, Bgra(5, 6, 7, 8));
  for (int x = 0; x < 4; ++x) {
    SetPixelOf(*bmp, x, 1, Bgra(x, 50, 60, 0));
    SetPixelOf(*bmp, x, 4, Bgra(0, 0, 60 * x, 0));  // three rows below row 1
  }
  // R covers rows 1 to 7, an odd height of 7: the half is 3 rows.
  const auto half = MaskHalfToAlpha(bmp.get(), vcl::Rect(0, 1, 4, 8));
  ASSERT_NE(half, nullptr);
  EXPECT_EQ(half->Width(), 4);
  EXPECT_EQ(half->Height(), 3);
  EXPECT_EQ(half->PixelFormat(), vcl::pf32bit);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelOf(*half, x, 0), Bgra(x, 50, 60, 255 - 60 * x));
  EXPECT_EQ(PixelOf(*half, 0, 1), Bgra(5, 6, 7, 255 - 7));
  EXPECT_EQ(MaskHalfToAlpha(bmp.get(), vcl::Rect(0, 0, 4, 1)), nullptr);
  EXPECT_EQ(MaskHalfToAlpha(bmp.get(), vcl::Rect(2, 0, 2, 4)), nullptr);
  EXPECT_EQ(MaskHalfToAlpha(nullptr, vcl::Rect(0, 0, 4, 4)), nullptr);
}

// The filters' arithmetic is pinned on plain memory; here the bitmaps around it.
TEST(StretchWithFilter, InPlaceTheSourceIsReadBeforeTheBitmapChangesSize) {
  constexpr TPixel32 kBlack = Bgra(0, 0, 0, 255), kGrey = Bgra(200, 200, 200, 255);
  auto inPlace = Bitmap32(2, 2, {kBlack, kGrey, kBlack, kGrey});
  StretchWithFilter(inPlace.get(), inPlace.get(), 4, 2, kTriangleFilter);
  ASSERT_EQ(inPlace->Width(), 4);
  EXPECT_TRUE(PixelsAre(*inPlace, {{0, 0, Bgra(0, 0, 0, 255)}, {1, 0, Bgra(100, 100, 100, 255)},
      {2, 1, Bgra(200, 200, 200, 255)}}));
}

TEST(StretchWithFilter, RefusedSizesAndPlainCopies) {
  auto src = Filled32(3, 3, Bgra(1, 2, 3, 4));
  auto dst = Filled32(5, 5, 7);
  for (auto [w, h] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-3, 4}, std::pair{4, -1}}) {
    StretchWithFilter(src.get(), dst.get(), w, h, kMitchellFilter);
    EXPECT_EQ(dst->Width(), 5);
    EXPECT_EQ(PixelOf(*dst, 0, 0), 7u);
  }
  auto thin = Filled32(1, 5, 0);
  StretchWithFilter(thin.get(), dst.get(), 2, 2, kBoxFilter);
  EXPECT_EQ(dst->Width(), 5);
  StretchWithFilter(nullptr, dst.get(), 2, 2, kBoxFilter);
  StretchWithFilter(src.get(), nullptr, 2, 2, kBoxFilter);

  // The source's own size: a copy.
  StretchWithFilter(src.get(), dst.get(), 3, 3, kSincFilter);
  EXPECT_EQ(dst->Width(), 3);
  EXPECT_EQ(PixelOf(*dst, 2, 2), Bgra(1, 2, 3, 4));

  // An unknown filter leaves every new pixel zero.
  StretchWithFilter(src.get(), dst.get(), 6, 6, 7);
  EXPECT_EQ(dst->Width(), 6);
  EXPECT_EQ(PixelOf(*dst, 3, 3), 0u);
}

TEST(StretchWithFilter, SourceWithoutAlphaIsOpaque) {
  auto rgb = Canvas24(4, 4, RGB(30, 60, 90));
  vcl::TBitmap dst;
  StretchWithFilter(rgb.get(), &dst, 7, 5, kHermiteFilter);
  EXPECT_EQ(rgb->PixelFormat(), vcl::pf24bit);
  ASSERT_EQ(dst.Width(), 7);
  EXPECT_EQ(PixelOf(dst, 3, 2), Bgra(90, 60, 30, 255));
}

}  // namespace
}  // namespace skin_layered::test
