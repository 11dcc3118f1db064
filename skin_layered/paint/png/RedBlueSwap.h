// Copies of 3- and 4-byte pixels with their first and third bytes exchanged: red-green-blue
// to blue-green-red, the one conversion every 8-bit colour PNG needs.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skin_layered {

// Bytes 0 and 2 of a pixel held little-endian in the low bytes of P.
constexpr std::uint32_t SwapRedBlue(std::uint32_t p) {
  return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
}

// Four pixels (three words) a step where the byte order allows. Src and Dst may be the same.
inline void SwapRedBlue3(const std::uint8_t* src, std::uint8_t* dst, std::size_t count) {
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 4 <= count; i += 4, src += 12, dst += 12) {
      std::uint32_t w[3];
      std::memcpy(w, src, sizeof w);
      const std::uint32_t out[3] = {
          ((w[0] >> 16) & 0xFFu) | (w[0] & 0xFF00u) | ((w[0] & 0xFFu) << 16) | ((w[1] & 0xFF00u) << 16),
          (w[1] & 0xFFu) | ((w[0] >> 16) & 0xFF00u) | ((w[2] & 0xFFu) << 16) | (w[1] & 0xFF000000u),
          ((w[1] >> 16) & 0xFFu) | ((w[2] >> 16) & 0xFF00u) | (w[2] & 0xFF0000u) | ((w[2] & 0xFF00u) << 16)};
      std::memcpy(dst, out, sizeof out);
    }
  }
  for (; i < count; ++i, src += 3, dst += 3) {
    const std::uint8_t first = src[0];
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = first;
  }
}

// Src and Dst may be the same.
inline void SwapRedBlue4(const std::uint8_t* src, std::uint8_t* dst, std::size_t count) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i keep = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
  const __m128i low = _mm_set1_epi32(0xFF);
  for (; i + 4 <= count; i += 4) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
    const __m128i y = _mm_or_si128(_mm_and_si128(x, keep),
                                   _mm_or_si128(_mm_and_si128(_mm_srli_epi32(x, 16), low),
                                                _mm_slli_epi32(_mm_and_si128(x, low), 16)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), y);
  }
#endif
  for (; i < count; ++i) {
    std::uint32_t p;
    std::memcpy(&p, src + 4 * i, 4);
    if constexpr (std::endian::native == std::endian::big) p = __builtin_bswap32(p);
    p = SwapRedBlue(p);
    if constexpr (std::endian::native == std::endian::big) p = __builtin_bswap32(p);
    std::memcpy(dst + 4 * i, &p, 4);
  }
}

}  // namespace skin_layered
