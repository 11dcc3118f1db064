// The resampler: filter weights, contributor lists with their mirrored edges, and whole
// images against a plain weighted sum.
#include <gtest/gtest.h>

#include <algorithm>

#include "PixelImage.h"
#include "skin_layered/paint/pixels/Resampler.h"

namespace skin_layered::test {
namespace {

struct Sample {
  std::ptrdiff_t offset;
  std::int32_t weight;
  bool operator==(const Sample&) const = default;
};

std::vector<Sample> SamplesOf(const TContributorList& list, int pixel) {
  std::vector<Sample> samples;
  for (const TContribution& c : list.Of(pixel)) samples.push_back({c.Offset, c.Weight});
  return samples;
}

TEST(Resampler, FilterWeights) {
  EXPECT_EQ(FilterWeight(kBoxFilter, 0.5), 1.0);
  EXPECT_EQ(FilterWeight(kBoxFilter, -0.5), 0.0);
  EXPECT_EQ(FilterWeight(kBoxFilter, 0.505), 0.0);
  EXPECT_DOUBLE_EQ(FilterWeight(kTriangleFilter, -0.25), 0.75);
  EXPECT_DOUBLE_EQ(FilterWeight(kHermiteFilter, 0.5), 0.5);
  EXPECT_DOUBLE_EQ(FilterWeight(kBellFilter, 1.0), 0.125);
  EXPECT_DOUBLE_EQ(FilterWeight(kSplineFilter, 0.0), 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(FilterWeight(kSplineFilter, 1.5), 0.125 / 6);
  EXPECT_NEAR(FilterWeight(kSincFilter, 1.0), 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(FilterWeight(kMitchellFilter, 0.0), 8.0 / 9.0);
  EXPECT_NEAR(FilterWeight(kMitchellFilter, 1.0), 1.0 / 18.0, 1e-12);
  // Only below the support.
  EXPECT_EQ(FilterWeight(kTriangleFilter, 1.0), 0.0);
  EXPECT_EQ(FilterWeight(kSincFilter, 3.0), 0.0);
  EXPECT_EQ(FilterSupport(7), 0.0);
  EXPECT_EQ(FilterWeight(7, 0.1), 0.0);
}

TEST(Resampler, BoxHalvingTakesTwoPixelsAtHalfWeight) {
  TContributorList list;
  BuildContributors(list, 3, 6, 4, kBoxFilter);
  ASSERT_EQ(list.Size(), 3);
  // Pixel i takes source pixels 2i and 2i - 1; pixel 0 the mirrored pixel 1.
  EXPECT_EQ(SamplesOf(list, 0), (std::vector<Sample>{{0, 32768}, {4, 32768}}));
  EXPECT_EQ(SamplesOf(list, 1), (std::vector<Sample>{{8, 32768}, {4, 32768}}));
  EXPECT_EQ(SamplesOf(list, 2), (std::vector<Sample>{{16, 32768}, {12, 32768}}));
  FreeContributors(list);
  EXPECT_EQ(list.Size(), 0);
}

TEST(Resampler, TriangleEnlargingMixesByDistance) {
  TContributorList list;
  BuildContributors(list, 8, 4, 1, kTriangleFilter);
  EXPECT_EQ(SamplesOf(list, 2), (std::vector<Sample>{{1, 65536}}));
  EXPECT_EQ(SamplesOf(list, 3), (std::vector<Sample>{{2, 32768}, {1, 32768}}));
  EXPECT_EQ(SamplesOf(list, 7), (std::vector<Sample>{{3, 32768}, {3, 32768}}));  // 4 mirrored to 3
}

TEST(Resampler, WeightsSumToOneWhereTheFilterDoes) {
  for (int filter : {kTriangleFilter, kHermiteFilter, kBellFilter, kSplineFilter, kMitchellFilter}) {
    TContributorList list;
    BuildContributors(list, 20, 10, 1, filter);
    for (int i = 4; i < 16; ++i) {
      long long sum = 0;
      for (const TContribution& c : list.Of(i)) sum += c.Weight;
      EXPECT_NEAR(sum, 65536, 3) << "filter " << filter << " pixel " << i;
    }
  }
}

TEST(Resampler, MirroredSamplesStayInsideTheSource) {
  for (int filter = 0; filter <= 6; ++filter) {
    for (auto [dst, src] : {std::pair{5, 2}, std::pair{2, 3}, std::pair{9, 2}, std::pair{1, 7}}) {
      TContributorList list;
      BuildContributors(list, dst, src, 4, filter);
      ASSERT_EQ(list.Size(), dst);
      for (int i = 0; i < dst; ++i)
        for (const TContribution& c : list.Of(i)) {
          EXPECT_GE(c.Offset, 0);
          EXPECT_LE(c.Offset, (src - 1) * 4) << filter << ": " << dst << " from " << src;
        }
    }
  }
}

TEST(Resampler, DegenerateSizesGiveNothing) {
  TContributorList list;
  BuildContributors(list, 0, 5, 4, kBoxFilter);
  EXPECT_EQ(list.Size(), 0);
  BuildContributors(list, 5, 0, 4, kBoxFilter);
  EXPECT_EQ(list.Size(), 0);
  BuildContributors(list, 5, 5, 4, 9);
  EXPECT_EQ(list.Size(), 0);
  PixelImage img(2, 2);
  EXPECT_FALSE(ResamplePixels(TPixelView{}, img.View(), kBoxFilter));
  EXPECT_FALSE(ResamplePixels(img.View(), TPixelView{}, kBoxFilter));
  EXPECT_FALSE(ResamplePixels(img.View(), img.View(), -1));
}

// The two passes as plain sums over the lists, column by column.
PixelImage Reference(PixelImage& src, int width, int height, int filter) {
  TContributorList across, down;
  BuildContributors(across, width, src.Width(), 1, filter);
  BuildContributors(down, height, src.Height(), 1, filter);
  auto sum = [](std::span<const TContribution> samples, auto channelAt) {
    TPixel32 p = 0;
    for (unsigned ch = 0; ch < 4; ++ch) {
      long long s = 0;
      for (const TContribution& c : samples) s += static_cast<long long>(c.Weight) * channelAt(c.Offset, ch);
      p |= static_cast<TPixel32>(s < 0 ? 0 : s > 0xFF0000 ? 255 : s >> 16) << (8 * ch);
    }
    return p;
  };
  PixelImage mid(width, src.Height());
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < width; ++x)
      mid.At(x, y) = sum(across.Of(x), [&](std::ptrdiff_t i, unsigned ch) { return (src.At(int(i), y) >> (8 * ch)) & 0xFF; });
  PixelImage out(width, height);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      out.At(x, y) = sum(down.Of(y), [&](std::ptrdiff_t i, unsigned ch) { return (mid.At(x, int(i)) >> (8 * ch)) & 0xFF; });
  return out;
}

TEST(Resampler, ImagesMatchThePlainWeightedSums) {
  PixelImage src(23, 17, 0, true);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 23; ++x) src.At(x, y) = (x + y) % 5 == 0 ? 0xFFFFFFFFu : Noise(y * 23 + x);
  for (int filter = 0; filter <= 6; ++filter) {
    for (auto [w, h] : {std::pair{9, 7}, std::pair{47, 30}, std::pair{23, 5}, std::pair{2, 40}}) {
      PixelImage out(w, h, 0x12345678u);
      ASSERT_TRUE(ResamplePixels(src.View(), out.View(), filter));
      PixelImage expected = Reference(src, w, h, filter);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          ASSERT_EQ(out.At(x, y), expected.At(x, y)) << "filter " << filter << " " << w << "x" << h << " at " << x << ","
                                                     << y;
    }
  }
}

TEST(Resampler, SumsAboveTheRangeSaturate) {
  PixelImage white(4, 4, 0xFFFFFFFFu), big(9, 9);  // sinc enlarging white is brighter than white
  ASSERT_TRUE(ResamplePixels(white.View(), big.View(), kSincFilter));
  EXPECT_EQ(big.At(4, 4), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace skin_layered::test
