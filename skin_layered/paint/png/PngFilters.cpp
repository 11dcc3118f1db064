#include "skin_layered/paint/png/PngFilters.h"

#include <bit>
#include <cstring>
#include <stdexcept>

#include "skin_layered/paint/png/RedBlueSwap.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skin_layered {
namespace {

// Each filter walks whole pixels with the left and upper-left pixel held in locals, zero
// before the first pixel; that also gives the rules for the first Bpp bytes of a row.

template <std::size_t Bpp>
void SubRow(std::uint8_t* row, std::size_t n) {
  std::uint8_t left[Bpp] = {};
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = i % Bpp;
    left[k] = static_cast<std::uint8_t>(row[i] + left[k]);
    row[i] = left[k];
  }
}

void UpRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
}

template <std::size_t Bpp>
void AverageRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  unsigned left[Bpp] = {};
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = i % Bpp;
    left[k] = (row[i] + ((left[k] + prior[i]) >> 1)) & 0xFFu;
    row[i] = static_cast<std::uint8_t>(left[k]);
  }
}

// PaethPredictor with the distance that does not depend on the left byte, |b - c|, apart
// from those that do, |a - c| and |(a - c) + (b - c)|: the way from byte to byte is shorter.
template <std::size_t Bpp>
void PaethRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  int left[Bpp] = {};
  int upperLeft[Bpp] = {};
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = i % Bpp;
    const int a = left[k], b = prior[i], c = upperLeft[k];
    const int e = b - c, d = a - c, s = d + e;
    const int pa = e < 0 ? -e : e, pb = d < 0 ? -d : d, pc = s < 0 ? -s : s;
    const int bOrC = pb <= pc ? b : c;
    left[k] = (row[i] + (pa <= pb && pa <= pc ? a : bOrC)) & 0xFF;
    row[i] = static_cast<std::uint8_t>(left[k]);
    upperLeft[k] = b;
  }
}

#if defined(__SSE2__)
// One pixel per step with its samples side by side in 16-bit lanes: the dependency on the
// left pixel is then one chain per pixel instead of one per byte.
template <std::size_t Bpp>
inline __m128i LoadPixel(const std::uint8_t* p) {
  if constexpr (Bpp == 3) {
    std::uint16_t low;
    std::memcpy(&low, p, 2);
    return _mm_cvtsi32_si128(static_cast<int>(low | static_cast<unsigned>(p[2]) << 16));
  } else if constexpr (Bpp <= 4) {
    std::uint32_t v = 0;
    std::memcpy(&v, p, Bpp);
    return _mm_cvtsi32_si128(static_cast<int>(v));
  } else {
    std::uint64_t v = 0;
    std::memcpy(&v, p, Bpp);
    return _mm_cvtsi64_si128(static_cast<long long>(v));
  }
}

template <std::size_t Bpp>
inline void StorePixel(std::uint8_t* p, __m128i x) {
  if constexpr (Bpp == 3) {
    const auto v = static_cast<std::uint32_t>(_mm_cvtsi128_si32(x));
    const auto low = static_cast<std::uint16_t>(v);
    std::memcpy(p, &low, 2);
    p[2] = static_cast<std::uint8_t>(v >> 16);
  } else if constexpr (Bpp <= 4) {
    const auto v = static_cast<std::uint32_t>(_mm_cvtsi128_si32(x));
    std::memcpy(p, &v, Bpp);
  } else {
    const auto v = static_cast<std::uint64_t>(_mm_cvtsi128_si64(x));
    std::memcpy(p, &v, Bpp);
  }
}

// Writes the pixel in X (its bytes in 16-bit lanes), found at byte At of its row, with its
// first and third bytes exchanged, when Emit; with Widen a 3-byte pixel goes out as four
// bytes, the fourth 255.
template <std::size_t Bpp, bool Emit, bool Widen = false>
inline void EmitSwapped(std::uint8_t* row, std::size_t at, __m128i x) {
  if constexpr (Emit) {
    static_assert(Bpp == 3 || Bpp == 4);
    const __m128i swapped = _mm_shufflelo_epi16(x, _MM_SHUFFLE(3, 0, 1, 2));
    if constexpr (Widen) {
      static_assert(Bpp == 3);
      const __m128i opaque = _mm_or_si128(swapped, _mm_set_epi16(0, 0, 0, 0, 0xFF, 0, 0, 0));
      StorePixel<4>(row + at / 3 * 4, _mm_packus_epi16(opaque, opaque));
    } else {
      StorePixel<Bpp>(row + at, _mm_packus_epi16(swapped, swapped));
    }
  }
}

template <std::size_t Bpp>
inline __m128i LoadWide(const std::uint8_t* p) {
  return _mm_unpacklo_epi8(LoadPixel<Bpp>(p), _mm_setzero_si128());
}

template <std::size_t Bpp>
inline void StoreWide(std::uint8_t* p, __m128i x) {
  StorePixel<Bpp>(p, _mm_packus_epi16(x, x));
}

template <std::size_t Bpp, bool Emit = false, bool Widen = false>
void SubPixels(std::uint8_t* row, std::size_t n, std::uint8_t* out = nullptr) {
  __m128i left = _mm_setzero_si128();
  const __m128i zero = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += Bpp) {
    left = _mm_add_epi8(LoadPixel<Bpp>(row + i), left);
    StorePixel<Bpp>(row + i, left);
    if constexpr (Emit) EmitSwapped<Bpp, Emit, Widen>(out, i, _mm_unpacklo_epi8(left, zero));
  }
}

// The samples stay in 16-bit lanes from pixel to pixel; only the stores narrow them.
template <std::size_t Bpp, bool Emit = false, bool Widen = false>
void AveragePixels(std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::uint8_t* out = nullptr) {
  const __m128i low = _mm_set1_epi16(0xFF);
  __m128i left = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += Bpp) {
    const __m128i above = LoadWide<Bpp>(prior + i);
    const __m128i raw = LoadWide<Bpp>(row + i);
    left = _mm_and_si128(_mm_add_epi16(raw, _mm_srli_epi16(_mm_add_epi16(left, above), 1)), low);
    StoreWide<Bpp>(row + i, left);
    EmitSwapped<Bpp, Emit, Widen>(out, i, left);
  }
}

// With p = a + b - c: |p - a| = |b - c| does not depend on the left pixel, |p - b| = |a - c|
// and |p - c| = |(a - c) + (b - c)| do; both signs of a - c are taken at once, so that the
// way from one pixel to the next stays short.
// The decoded samples of Raw (16-bit lanes) with left A, above B and upper left C.
inline __m128i PaethStep(__m128i a, __m128i b, __m128i c, __m128i raw) {
  const __m128i e = _mm_sub_epi16(b, c);
  const __m128i pa = _mm_max_epi16(e, _mm_sub_epi16(_mm_setzero_si128(), e));
  const __m128i d = _mm_sub_epi16(a, c);
  const __m128i nd = _mm_sub_epi16(c, a);
  const __m128i pb = _mm_max_epi16(d, nd);
  const __m128i pc = _mm_max_epi16(_mm_add_epi16(d, e), _mm_sub_epi16(nd, e));
  // Not a when a is not nearest; of b and c, b unless c is nearer.
  const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
  const __m128i bOrC = _mm_xor_si128(b, _mm_and_si128(_mm_xor_si128(b, c), _mm_cmpgt_epi16(pb, pc)));
  const __m128i nearest = _mm_or_si128(_mm_and_si128(notA, bOrC), _mm_andnot_si128(notA, a));
  return _mm_and_si128(_mm_add_epi16(raw, nearest), _mm_set1_epi16(0xFF));
}

template <std::size_t Bpp, bool Emit = false, bool Widen = false>
void PaethPixels(std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::uint8_t* out = nullptr) {
  __m128i a = _mm_setzero_si128();  // left
  __m128i c = _mm_setzero_si128();  // upper left
  for (std::size_t i = 0; i < n; i += Bpp) {
    const __m128i b = LoadWide<Bpp>(prior + i);
    a = PaethStep(a, b, c, LoadWide<Bpp>(row + i));
    c = b;
    StoreWide<Bpp>(row + i, a);
    EmitSwapped<Bpp, Emit, Widen>(out, i, a);
  }
}

// Two rows at once, Next a pixel behind Row: lanes 0-3 hold Row's pixel k, lanes 4-7 Next's
// pixel k - 1, whose neighbours above are Row's pixels k - 1 and k - 2, just decoded. Each
// step advances both rows' chains of left neighbours, where one row alone leaves most of
// the processor idle waiting for the last pixel. With Emit, each pixel is also written to
// Out or NextOut with its first and third bytes exchanged.
template <std::size_t Bpp, bool Emit, bool Widen = false>
void PaethPairPixels(std::uint8_t* row, std::uint8_t* next, const std::uint8_t* prior, std::size_t n,
                     std::uint8_t* out = nullptr, std::uint8_t* nextOut = nullptr) {
  static_assert(Bpp <= 4);
  const __m128i zero = _mm_setzero_si128();
  auto pair = [&](__m128i upper, __m128i lower) {
    return _mm_unpacklo_epi8(_mm_unpacklo_epi32(upper, lower), zero);
  };
  // Row's pixel (lanes 0-3) or Next's (lanes 4-7) of X at At.
  auto store = [&](std::uint8_t* to, std::uint8_t* swappedTo, std::size_t at, __m128i x, bool lower) {
    __m128i bytes = _mm_packus_epi16(x, x);
    if (lower) bytes = _mm_srli_si128(bytes, 4);
    StorePixel<Bpp>(to + at, bytes);
    if constexpr (Emit) {
      __m128i swap = _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, _MM_SHUFFLE(3, 0, 1, 2)), _MM_SHUFFLE(3, 0, 1, 2));
      if constexpr (Widen) swap = _mm_or_si128(swap, _mm_set_epi16(0xFF, 0, 0, 0, 0xFF, 0, 0, 0));
      __m128i swapped = _mm_packus_epi16(swap, swap);
      if (lower) swapped = _mm_srli_si128(swapped, 4);
      if constexpr (Widen) StorePixel<4>(swappedTo + at / 3 * 4, swapped);
      else StorePixel<Bpp>(swappedTo + at, swapped);
    }
  };
  // Row's first pixel alone: its left and upper left are zero, so its prediction is above.
  __m128i a = PaethStep(zero, LoadWide<Bpp>(prior), zero, LoadWide<Bpp>(row));
  __m128i c = _mm_unpacklo_epi64(LoadWide<Bpp>(prior), zero);
  store(row, out, 0, a, false);
  a = _mm_unpacklo_epi64(a, zero);
  for (std::size_t i = Bpp; i < n; i += Bpp) {
    const __m128i b = _mm_unpacklo_epi64(LoadWide<Bpp>(prior + i), a);
    a = PaethStep(a, b, c, pair(LoadPixel<Bpp>(row + i), LoadPixel<Bpp>(next + i - Bpp)));
    c = b;
    store(row, out, i, a, false);
    store(next, nextOut, i - Bpp, a, true);
  }
  // Next's last pixel alone.
  const __m128i b = _mm_unpacklo_epi64(zero, a);
  a = PaethStep(a, b, c, pair(zero, LoadPixel<Bpp>(next + n - Bpp)));
  store(next, nextOut, n - Bpp, a, true);
}
#endif

template <std::size_t Bpp>
void Unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
#if defined(__SSE2__)
  constexpr bool kPixels = Bpp > 1;
#else
  constexpr bool kPixels = false;
#endif
  const bool wholePixels = n % Bpp == 0;
  switch (filter) {
    case pfSub:
#if defined(__SSE2__)
      if (kPixels && wholePixels) return SubPixels<Bpp>(row, n);
#endif
      return SubRow<Bpp>(row, n);
    case pfUp:
      return UpRow(row, prior, n);
    case pfAverage:
#if defined(__SSE2__)
      if (kPixels && wholePixels) return AveragePixels<Bpp>(row, prior, n);
#endif
      return AverageRow<Bpp>(row, prior, n);
    case pfPaeth:
#if defined(__SSE2__)
      if (kPixels && wholePixels) return PaethPixels<Bpp>(row, prior, n);
#endif
      return PaethRow<Bpp>(row, prior, n);
    default:
      (void)kPixels;
      (void)wholePixels;
      return;
  }
}

void SwapCopy(const std::uint8_t* row, std::uint8_t* out, std::size_t n, std::size_t bpp) {
  if (bpp == 4) SwapRedBlue4(row, out, n / 4);
  else SwapRedBlue3(row, out, n / 3);
}

// Red-green-blue pixels to blue-green-red-255 ones: four pixels (three words in, four out)
// a step where the byte order allows.
void WidenCopy(const std::uint8_t* row, std::uint8_t* out, std::size_t pixels) {
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint32_t kOpaque = 0xFF000000u;
    for (; i + 4 <= pixels; i += 4, row += 12, out += 16) {
      std::uint32_t w[3];
      std::memcpy(w, row, sizeof w);
      const std::uint32_t four[4] = {
          kOpaque | ((w[0] >> 16) & 0xFFu) | (w[0] & 0xFF00u) | ((w[0] & 0xFFu) << 16),
          kOpaque | ((w[1] >> 8) & 0xFFu) | ((w[1] & 0xFFu) << 8) | ((w[0] >> 24) << 16),
          kOpaque | (w[2] & 0xFFu) | ((w[1] >> 24) << 8) | (((w[1] >> 16) & 0xFFu) << 16),
          kOpaque | (w[2] >> 24) | (((w[2] >> 16) & 0xFFu) << 8) | (((w[2] >> 8) & 0xFFu) << 16)};
      std::memcpy(out, four, sizeof four);
    }
  }
  for (; i < pixels; ++i, row += 3, out += 4) {
    out[0] = row[2];
    out[1] = row[1];
    out[2] = row[0];
    out[3] = 0xFF;
  }
}

}  // namespace

void ApplyFilterSwapped(std::uint8_t filter, std::span<std::uint8_t> row,
                        std::span<const std::uint8_t> prior, std::size_t bpp, std::span<std::uint8_t> out) {
  if (bpp != 3 && bpp != 4) throw std::invalid_argument("PNG filter: swapped rows have 3 or 4 bytes a pixel");
  if (prior.size() < row.size() || out.size() < row.size())
    throw std::length_error("PNG filter: prior or output row too short");
  std::uint8_t* r = row.data();
  const std::uint8_t* p = prior.data();
  std::uint8_t* o = out.data();
  const std::size_t n = row.size();
#if defined(__SSE2__)
  // Sub, Average and Paeth walk pixels anyway: each pixel is written out as it is decoded.
  if (n % bpp == 0) {
    switch (filter) {
      case pfSub: return bpp == 4 ? SubPixels<4, true>(r, n, o) : SubPixels<3, true>(r, n, o);
      case pfAverage: return bpp == 4 ? AveragePixels<4, true>(r, p, n, o) : AveragePixels<3, true>(r, p, n, o);
      case pfPaeth: return bpp == 4 ? PaethPixels<4, true>(r, p, n, o) : PaethPixels<3, true>(r, p, n, o);
      default: break;
    }
  }
#endif
  ApplyFilter(filter, row, prior, bpp);
  SwapCopy(r, o, n - n % bpp, bpp);
}

void ApplyFilterWidened(std::uint8_t filter, std::span<std::uint8_t> row, std::span<const std::uint8_t> prior,
                        std::span<std::uint8_t> out) {
  const std::size_t n = row.size();
  if (prior.size() < n || out.size() < n / 3 * 4) throw std::length_error("PNG filter: prior or output row too short");
  std::uint8_t* r = row.data();
  std::uint8_t* o = out.data();
#if defined(__SSE2__)
  if (n % 3 == 0) {
    const std::uint8_t* p = prior.data();
    switch (filter) {
      case pfSub: return SubPixels<3, true, true>(r, n, o);
      case pfAverage: return AveragePixels<3, true, true>(r, p, n, o);
      case pfPaeth: return PaethPixels<3, true, true>(r, p, n, o);
      default: break;
    }
  }
#endif
  ApplyFilter(filter, row, prior, 3);
  WidenCopy(r, o, n / 3);
}

void ApplyPaethPairWidened(std::span<std::uint8_t> row, std::span<std::uint8_t> next,
                           std::span<const std::uint8_t> prior, std::span<std::uint8_t> out,
                           std::span<std::uint8_t> nextOut) {
  const std::size_t n = row.size();
  if (next.size() != n || prior.size() < n || out.size() < n / 3 * 4 || nextOut.size() < n / 3 * 4)
    throw std::length_error("PNG filter: rows of a pair differ, or prior or output row too short");
#if defined(__SSE2__)
  if (n != 0 && n % 3 == 0) {
    PaethPairPixels<3, true, true>(row.data(), next.data(), prior.data(), n, out.data(), nextOut.data());
    return;
  }
#endif
  ApplyFilterWidened(pfPaeth, row, prior, out);
  ApplyFilterWidened(pfPaeth, next, row, nextOut);
}

void ApplyPaethPairSwapped(std::span<std::uint8_t> row, std::span<std::uint8_t> next,
                           std::span<const std::uint8_t> prior, std::size_t bpp, std::span<std::uint8_t> out,
                           std::span<std::uint8_t> nextOut) {
  if (bpp != 3 && bpp != 4) throw std::invalid_argument("PNG filter: swapped rows have 3 or 4 bytes a pixel");
  if (next.size() != row.size() || prior.size() < row.size() || out.size() < row.size() || nextOut.size() < row.size())
    throw std::length_error("PNG filter: rows of a pair differ, or prior or output row too short");
  const std::size_t n = row.size();
#if defined(__SSE2__)
  if (n != 0 && n % bpp == 0) {
    if (bpp == 4) PaethPairPixels<4, true>(row.data(), next.data(), prior.data(), n, out.data(), nextOut.data());
    else PaethPairPixels<3, true>(row.data(), next.data(), prior.data(), n, out.data(), nextOut.data());
    return;
  }
#endif
  ApplyFilterSwapped(pfPaeth, row, prior, bpp, out);
  ApplyFilterSwapped(pfPaeth, next, row, bpp, nextOut);
}

void ApplyPaethPair(std::span<std::uint8_t> row, std::span<std::uint8_t> next, std::span<const std::uint8_t> prior,
                    std::size_t bpp) {
  if (next.size() != row.size() || prior.size() < row.size())
    throw std::length_error("PNG filter: rows of a pair differ, or prior row too short");
  std::uint8_t* r = row.data();
  std::uint8_t* x = next.data();
  const std::uint8_t* p = prior.data();
  const std::size_t n = row.size();
#if defined(__SSE2__)
  if (n != 0 && n % bpp == 0) {
    switch (bpp) {
      case 1: return PaethPairPixels<1, false>(r, x, p, n);
      case 2: return PaethPairPixels<2, false>(r, x, p, n);
      case 3: return PaethPairPixels<3, false>(r, x, p, n);
      case 4: return PaethPairPixels<4, false>(r, x, p, n);
      default: break;
    }
  }
#endif
  ApplyFilter(pfPaeth, row, prior, bpp);
  ApplyFilter(pfPaeth, next, row, bpp);
}

void ApplyFilter(std::uint8_t filter, std::span<std::uint8_t> row,
                 std::span<const std::uint8_t> prior, std::size_t bpp) {
  if (prior.size() < row.size()) throw std::length_error("PNG filter: prior row too short");
  std::uint8_t* r = row.data();
  const std::uint8_t* p = prior.data();
  const std::size_t n = row.size();
  switch (bpp) {
    case 1: Unfilter<1>(filter, r, p, n); break;
    case 2: Unfilter<2>(filter, r, p, n); break;
    case 3: Unfilter<3>(filter, r, p, n); break;
    case 4: Unfilter<4>(filter, r, p, n); break;
    case 6: Unfilter<6>(filter, r, p, n); break;
    case 8: Unfilter<8>(filter, r, p, n); break;
    default: throw std::invalid_argument("PNG filter: pixel size must be 1, 2, 3, 4, 6 or 8 bytes");
  }
}

}  // namespace skin_layered
