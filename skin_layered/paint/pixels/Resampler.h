// Filtered resampling of 32-bit pixels (all four channels, alpha included) in two passes:
// each destination pixel is a weighted sum of source pixels around its place, first along
// the rows, then along the columns. Weights are 16.16 fixed point and, as the skins expect,
// not renormalised: a filter whose weights sum above 1 brightens a little, sums above 255
// saturate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

// The filter numbers the callers pass.
inline constexpr int kBoxFilter = 0;
inline constexpr int kTriangleFilter = 1;
inline constexpr int kHermiteFilter = 2;
inline constexpr int kBellFilter = 3;
inline constexpr int kSplineFilter = 4;
inline constexpr int kSincFilter = 5;
inline constexpr int kMitchellFilter = 6;

// How far (in source pixels at scale 1) a filter reaches; 0 for an unknown number.
double FilterSupport(int filter);
// The filter's weight at signed distance t (scaled); only the box looks at the sign
// (-0.5 < t <= 0.5). 0 for an unknown number or beyond the support.
double FilterWeight(int filter, double t);

// One source sample of a destination pixel: the byte offset of the source pixel from the
// start of the line and its 16.16 weight.
struct TContribution {
  std::ptrdiff_t Offset = 0;
  std::int32_t Weight = 0;
};

// Two samples of a destination pixel taken together, their weights split as High * 256 + Low
// (Low 0..255) and packed two to a word, so that 16-bit multiplications stay exact. An odd
// last sample is paired with itself at weight 0.
struct TSamplePair {
  std::ptrdiff_t OffsetA = 0, OffsetB = 0;
  std::int32_t Low = 0, High = 0;
};

// For each destination pixel of a line, the source samples it sums.
class TContributorList {
 public:
  int Size() const { return static_cast<int>(start_.empty() ? 0 : start_.size() - 1); }
  std::span<const TContribution> Of(int pixel) const {
    return {samples_.data() + start_[pixel], start_[pixel + 1] - start_[pixel]};
  }
  std::span<const TSamplePair> PairsOf(int pixel) const {
    return {pairs_.data() + pair_start_[pixel], pair_start_[pixel + 1] - pair_start_[pixel]};
  }

 private:
  friend void BuildContributors(TContributorList&, int, int, std::ptrdiff_t, int);
  friend void FreeContributors(TContributorList&);
  std::vector<std::size_t> start_, pair_start_;
  std::vector<TContribution> samples_;
  std::vector<TSamplePair> pairs_;
};

// The samples of a line of DstSize pixels taken from SrcSize pixels Step bytes apart.
// Centre of destination pixel i: i * SrcSize / DstSize; when shrinking the filter widens by
// SrcSize / DstSize and its weights shrink by as much. Samples past either end are mirrored
// back into the line. An empty list for sizes below 1 or an unknown filter.
void BuildContributors(TContributorList& list, int dstSize, int srcSize, std::ptrdiff_t step, int filter);
// One line: destination pixel i (at Dst + i * DstStep) := the weighted sum of its samples
// from SrcLine, per channel, saturated to 0..255. Count pixels, at most the list's size.
void ApplyContributors(std::uint8_t* dst, std::ptrdiff_t dstStep, const std::uint8_t* srcLine,
                       const TContributorList& list, int count);
void FreeContributors(TContributorList& list);

// Src resampled into Dst (whose size is the new size) with the filter. False, leaving Dst
// alone, for an empty view or an unknown filter.
bool ResamplePixels(const TPixelView& src, const TPixelView& dst, int filter);

}  // namespace skin_layered
