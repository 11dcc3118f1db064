#include "skin_layered/paint/pixels/Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "skin_layered/paint/pixels/Rounding.h"

namespace skin_layered {
namespace {

// Above this many samples a pixel's 16-bit partial sums could overflow: summed plainly.
constexpr int kMaxVectorSamples = 16384;
// No line is given more samples than this in all (a shrink of absurd proportions).
constexpr double kMaxSamplesPerLine = 1 << 26;

// A source index past either end, reflected back into 0..size-1.
int Mirror(long long j, int size) {
  if (j < 0) j = -j;
  if (j >= size) j = 2LL * size - j - 1;
  return static_cast<int>(std::clamp<long long>(j, 0, size - 1));
}

// The sum of one channel as a byte: 0 below zero, 255 above 255 in 16.16.
inline std::uint8_t Saturate(long long sum) {
  if (sum < 0) return 0;
  if (sum > 0xFF0000) return 255;
  return static_cast<std::uint8_t>(sum >> 16);
}

void ApplyPlain(std::uint8_t* dst, const std::uint8_t* src, std::span<const TContribution> samples) {
  long long sums[4] = {};
  for (const TContribution& c : samples)
    for (int ch = 0; ch < 4; ++ch) sums[ch] += static_cast<long long>(c.Weight) * src[c.Offset + ch];
  for (int ch = 0; ch < 4; ++ch) dst[ch] = Saturate(sums[ch]);
}

#if defined(__SSE2__)
// The four channel sums in 16.16, saturated to bytes, in the low 32 bits.
inline __m128i Finish(__m128i low, __m128i high) {
  const __m128i sum = _mm_srai_epi32(_mm_add_epi32(_mm_slli_epi32(high, 8), low), 16);
  const __m128i words = _mm_packs_epi32(sum, sum);
  return _mm_packus_epi16(words, words);
}

inline __m128i LoadPixel(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return _mm_cvtsi32_si128(static_cast<int>(v));
}

// One destination pixel: two samples at a time, their channels interleaved in 16-bit lanes
// so that one multiply-add gives four channel sums of two products each.
void ApplyVector(std::uint8_t* dst, const std::uint8_t* src, std::span<const TSamplePair> pairs) {
  const __m128i zero = _mm_setzero_si128();
  __m128i low = zero, high = zero;
  for (const TSamplePair& p : pairs) {
    const __m128i lanes = _mm_unpacklo_epi8(_mm_unpacklo_epi8(LoadPixel(src + p.OffsetA), LoadPixel(src + p.OffsetB)), zero);
    low = _mm_add_epi32(low, _mm_madd_epi16(lanes, _mm_set1_epi32(p.Low)));
    high = _mm_add_epi32(high, _mm_madd_epi16(lanes, _mm_set1_epi32(p.High)));
  }
  const std::uint32_t pixel = static_cast<std::uint32_t>(_mm_cvtsi128_si32(Finish(low, high)));
  std::memcpy(dst, &pixel, 4);
}

// The column pass done a row at a time: destination row := the weighted sum of whole source
// rows, four pixels per step, two source rows interleaved per multiply-add.
void ApplyRows(std::uint8_t* dst, const std::uint8_t* line0, std::span<const TContribution> samples,
               std::span<const TSamplePair> pairs, int width) {
  const __m128i zero = _mm_setzero_si128();
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    __m128i low[4] = {zero, zero, zero, zero}, high[4] = {zero, zero, zero, zero};
    for (const TSamplePair& p : pairs) {
      const __m128i wl = _mm_set1_epi32(p.Low);
      const __m128i wh = _mm_set1_epi32(p.High);
      const __m128i ra = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line0 + p.OffsetA + x * 4));
      const __m128i rb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line0 + p.OffsetB + x * 4));
      const __m128i pairs01 = _mm_unpacklo_epi8(ra, rb);
      const __m128i pairs23 = _mm_unpackhi_epi8(ra, rb);
      const __m128i lanes[4] = {_mm_unpacklo_epi8(pairs01, zero), _mm_unpackhi_epi8(pairs01, zero),
                                _mm_unpacklo_epi8(pairs23, zero), _mm_unpackhi_epi8(pairs23, zero)};
      for (int k = 0; k < 4; ++k) {
        low[k] = _mm_add_epi32(low[k], _mm_madd_epi16(lanes[k], wl));
        high[k] = _mm_add_epi32(high[k], _mm_madd_epi16(lanes[k], wh));
      }
    }
    __m128i sums[4];
    for (int k = 0; k < 4; ++k) sums[k] = _mm_srai_epi32(_mm_add_epi32(_mm_slli_epi32(high[k], 8), low[k]), 16);
    const __m128i words01 = _mm_packs_epi32(sums[0], sums[1]);
    const __m128i words23 = _mm_packs_epi32(sums[2], sums[3]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x * 4), _mm_packus_epi16(words01, words23));
  }
  for (; x < width; ++x) ApplyPlain(dst + x * 4, line0 + x * 4, samples);
}
#endif

void ApplyPixel(std::uint8_t* dst, const std::uint8_t* src, const TContributorList& list, int pixel) {
#if defined(__SSE2__)
  if (list.Of(pixel).size() <= kMaxVectorSamples) {
    ApplyVector(dst, src, list.PairsOf(pixel));
    return;
  }
#endif
  ApplyPlain(dst, src, list.Of(pixel));
}

void ApplyRowPass(std::uint8_t* dst, const std::uint8_t* line0, const TContributorList& list, int pixel, int width) {
  const auto samples = list.Of(pixel);
#if defined(__SSE2__)
  if (samples.size() <= kMaxVectorSamples) {
    ApplyRows(dst, line0, samples, list.PairsOf(pixel), width);
    return;
  }
#endif
  for (int x = 0; x < width; ++x) ApplyPlain(dst + x * 4, line0 + x * 4, samples);
}

// Weight w as High * 256 + Low with Low 0..255, for two samples packed into words.
std::int32_t LowPair(std::int32_t w0, std::int32_t w1) { return (w0 & 0xFF) | (w1 & 0xFF) << 16; }
std::int32_t HighPair(std::int32_t w0, std::int32_t w1) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(w0 >> 8) & 0xFFFFu) |
                                   static_cast<std::uint32_t>(w1 >> 8) << 16);
}

}  // namespace

double FilterSupport(int filter) {
  switch (filter) {
    case kBoxFilter: return 0.51;
    case kTriangleFilter: return 1.0;
    case kHermiteFilter: return 1.0;
    case kBellFilter: return 1.5;
    case kSplineFilter: return 2.0;
    case kSincFilter: return 3.0;
    case kMitchellFilter: return 2.0;
    default: return 0.0;
  }
}

double FilterWeight(int filter, double t) {
  const double x = std::fabs(t);
  if (!(x < FilterSupport(filter))) return 0.0;
  switch (filter) {
    case kBoxFilter: return t > -0.5 && t <= 0.5 ? 1.0 : 0.0;
    case kTriangleFilter: return 1.0 - x;
    case kHermiteFilter: return x * x * (2 * x - 3) + 1;
    case kBellFilter: return x < 0.5 ? 0.75 - x * x : 0.5 * (x - 1.5) * (x - 1.5);
    case kSplineFilter: return x < 1 ? x * x * (x / 2 - 1) + 2.0 / 3.0 : (2 - x) * (2 - x) * (2 - x) / 6;
    case kSincFilter: {
      if (x == 0) return 1.0;
      return std::sin(std::numbers::pi * x) * std::sin(x) / (std::numbers::pi * x * x);
    }
    case kMitchellFilter:
      return x < 1 ? x * x * (7.0 / 6.0 * x - 2) + 8.0 / 9.0
                   : x * x * (-7.0 / 18.0 * x + 2) - 10.0 / 3.0 * x + 16.0 / 9.0;
    default: return 0.0;
  }
}

void BuildContributors(TContributorList& list, int dstSize, int srcSize, std::ptrdiff_t step, int filter) {
  FreeContributors(list);
  const double support = FilterSupport(filter);
  if (dstSize < 1 || srcSize < 1 || support == 0) return;
  const double scale = dstSize < srcSize ? static_cast<double>(dstSize) / srcSize : 1.0;
  const double width = support / scale;
  // Room for every sample strictly within the filter's reach, plus one.
  const double perPixel = std::trunc(2 * width + 1) + 1;
  if (perPixel * dstSize > kMaxSamplesPerLine) return;
  list.samples_.reserve(static_cast<std::size_t>(perPixel * dstSize));
  list.start_.reserve(static_cast<std::size_t>(dstSize) + 1);
  list.start_.push_back(0);
  list.pair_start_.reserve(static_cast<std::size_t>(dstSize) + 1);
  list.pair_start_.push_back(0);
  for (int i = 0; i < dstSize; ++i) {
    const double center = static_cast<double>(i) * srcSize / dstSize;
    const auto first = static_cast<long long>(std::ceil(center + width));
    const auto last = static_cast<long long>(std::floor(center - width));
    int count = 0;
    for (long long j = first; j >= last && count < perPixel; --j) {
      const double w = FilterWeight(filter, (center - static_cast<double>(j)) * scale);
      if (w == 0) continue;
      const auto weight = static_cast<std::int32_t>(NearestEven(w * scale * 65536));
      list.samples_.push_back({Mirror(j, srcSize) * step, weight});
      ++count;
    }
    const std::size_t begin = list.start_.back();
    list.start_.push_back(list.samples_.size());
    for (std::size_t k = begin; k < list.samples_.size(); k += 2) {
      const TContribution& a = list.samples_[k];
      const bool paired = k + 1 < list.samples_.size();
      const TContribution& b = paired ? list.samples_[k + 1] : a;
      const std::int32_t wb = paired ? b.Weight : 0;
      list.pairs_.push_back({a.Offset, b.Offset, LowPair(a.Weight, wb), HighPair(a.Weight, wb)});
    }
    list.pair_start_.push_back(list.pairs_.size());
  }
}

void ApplyContributors(std::uint8_t* dst, std::ptrdiff_t dstStep, const std::uint8_t* srcLine,
                       const TContributorList& list, int count) {
  count = std::min(count, list.Size());
  for (int i = 0; i < count; ++i) ApplyPixel(dst + i * dstStep, srcLine, list, i);
}

void FreeContributors(TContributorList& list) {
  list.start_.clear();
  list.pair_start_.clear();
  list.samples_.clear();
  list.pairs_.clear();
}

bool ResamplePixels(const TPixelView& src, const TPixelView& dst, int filter) {
  if (src.Empty() || dst.Empty() || FilterSupport(filter) == 0) return false;
  // Along the rows into an intermediate of the new width and the old height.
  const std::ptrdiff_t midStep = static_cast<std::ptrdiff_t>(dst.Width) * 4;
  std::vector<std::uint8_t> mid(static_cast<std::size_t>(midStep) * static_cast<std::size_t>(src.Height));
  TContributorList across, down;
  BuildContributors(across, dst.Width, src.Width, 4, filter);
  BuildContributors(down, dst.Height, src.Height, midStep, filter);
  if (across.Size() != dst.Width || down.Size() != dst.Height) return false;
  for (int y = 0; y < src.Height; ++y)
    ApplyContributors(mid.data() + y * midStep, 4, reinterpret_cast<const std::uint8_t*>(src.Row(y)), across,
                      dst.Width);
  // Then along the columns, a destination row at a time.
  for (int y = 0; y < dst.Height; ++y)
    ApplyRowPass(reinterpret_cast<std::uint8_t*>(dst.Row(y)), mid.data(), down, y, dst.Width);
  return true;
}

}  // namespace skin_layered
