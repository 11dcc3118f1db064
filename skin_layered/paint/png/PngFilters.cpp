#include "skin_layered/paint/png/PngFilters.h"

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

template <std::size_t Bpp>
void PaethRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  std::uint8_t left[Bpp] = {};
  std::uint8_t upperLeft[Bpp] = {};
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = i % Bpp;
    const std::uint8_t above = prior[i];
    left[k] = static_cast<std::uint8_t>(row[i] + PaethPredictor(left[k], above, upperLeft[k]));
    row[i] = left[k];
    upperLeft[k] = above;
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

// Writes the pixel in X with its first and third bytes exchanged, when Emit.
template <std::size_t Bpp, bool Emit>
inline void EmitSwapped(std::uint8_t* row, std::size_t at, __m128i x) {
  if constexpr (Emit) {
    std::uint8_t* out = row + at;
    const std::uint32_t v = SwapRedBlue(static_cast<std::uint32_t>(_mm_cvtsi128_si32(x)));
    if constexpr (Bpp == 4) {
      std::memcpy(out, &v, 4);
    } else {
      static_assert(Bpp == 3);
      const auto low = static_cast<std::uint16_t>(v);
      std::memcpy(out, &low, 2);
      out[2] = static_cast<std::uint8_t>(v >> 16);
    }
  }
}

inline __m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }

inline __m128i Select(__m128i mask, __m128i x, __m128i y) {
  return _mm_or_si128(_mm_and_si128(mask, x), _mm_andnot_si128(mask, y));
}

template <std::size_t Bpp, bool Emit = false>
void SubPixels(std::uint8_t* row, std::size_t n, std::uint8_t* out = nullptr) {
  __m128i left = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += Bpp) {
    left = _mm_add_epi8(LoadPixel<Bpp>(row + i), left);
    StorePixel<Bpp>(row + i, left);
    EmitSwapped<Bpp, Emit>(out, i, left);
  }
}

template <std::size_t Bpp, bool Emit = false>
void AveragePixels(std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::uint8_t* out = nullptr) {
  const __m128i zero = _mm_setzero_si128();
  __m128i left = zero;
  for (std::size_t i = 0; i < n; i += Bpp) {
    const __m128i above = _mm_unpacklo_epi8(LoadPixel<Bpp>(prior + i), zero);
    const __m128i average = _mm_srli_epi16(_mm_add_epi16(left, above), 1);
    const __m128i pixel = _mm_add_epi8(LoadPixel<Bpp>(row + i), _mm_packus_epi16(average, average));
    StorePixel<Bpp>(row + i, pixel);
    EmitSwapped<Bpp, Emit>(out, i, pixel);
    left = _mm_unpacklo_epi8(pixel, zero);
  }
}

template <std::size_t Bpp, bool Emit = false>
void PaethPixels(std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::uint8_t* out = nullptr) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero;  // left
  __m128i c = zero;  // upper left
  for (std::size_t i = 0; i < n; i += Bpp) {
    const __m128i b = _mm_unpacklo_epi8(LoadPixel<Bpp>(prior + i), zero);
    const __m128i towardA = _mm_sub_epi16(b, c);  // p - a
    const __m128i towardB = _mm_sub_epi16(a, c);  // p - b
    const __m128i pc = Abs16(_mm_add_epi16(towardA, towardB));
    const __m128i pa = Abs16(towardA);
    const __m128i pb = Abs16(towardB);
    const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    const __m128i nearest =
        Select(_mm_cmpeq_epi16(smallest, pa), a, Select(_mm_cmpeq_epi16(smallest, pb), b, c));
    const __m128i pixel = _mm_add_epi8(LoadPixel<Bpp>(row + i), _mm_packus_epi16(nearest, nearest));
    StorePixel<Bpp>(row + i, pixel);
    EmitSwapped<Bpp, Emit>(out, i, pixel);
    a = _mm_unpacklo_epi8(pixel, zero);
    c = b;
  }
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
