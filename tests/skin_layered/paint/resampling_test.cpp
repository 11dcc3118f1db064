// Filtered scaling of bitmaps: sizes refused, plain copies, scaling in place, sources of
// other formats.
#include "paint_win_support.h"
#include "skin_layered/paint/Resampling.h"

namespace skin_layered::test {
namespace {

// The filters' arithmetic is pinned on plain memory; here the bitmaps around it.
TEST(StretchWithFilter, InPlaceTheSourceIsReadBeforeTheBitmapChangesSize) {
  auto inPlace = Filled32(2, 2, Bgra(0, 0, 0, 255));
  SetPixelOf(*inPlace, 1, 0, Bgra(200, 200, 200, 255));
  SetPixelOf(*inPlace, 1, 1, Bgra(200, 200, 200, 255));
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
