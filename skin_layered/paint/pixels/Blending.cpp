#include "skin_layered/paint/pixels/Blending.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skin_layered {
namespace {

constexpr std::uint32_t kRedBlue = 0x00FF00FFu;
constexpr std::uint32_t kColorBits = 0x00FFFFFFu;
constexpr std::uint32_t kAlphaBits = 0xFF000000u;

constexpr unsigned Channel(TPixel32 p, unsigned shift) { return (p >> shift) & 0xFFu; }
constexpr unsigned AlphaOf(TPixel32 p) { return p >> 24; }

// Red, green and blue of s weighted by w (0..256) over d's, d's alpha kept: two channels per
// multiplication, each lane at most 255 * 256 so none carries into the next.
constexpr TPixel32 BlendRgb(TPixel32 d, TPixel32 s, unsigned w) {
  const unsigned keep = 256 - w;
  const std::uint32_t rb = (((s & kRedBlue) * w + (d & kRedBlue) * keep) >> 8) & kRedBlue;
  const std::uint32_t g = (((s & 0xFF00u) * w + (d & 0xFF00u) * keep) >> 8) & 0xFF00u;
  return (d & kAlphaBits) | rb | g;
}

// All four channels of s weighted by w (0..256) over d's.
constexpr TPixel32 BlendAll(TPixel32 d, TPixel32 s, unsigned w) {
  const unsigned keep = 256 - w;
  const std::uint32_t rb = (((s & kRedBlue) * w + (d & kRedBlue) * keep) >> 8) & kRedBlue;
  const std::uint32_t ag = (((s >> 8) & kRedBlue) * w + ((d >> 8) & kRedBlue) * keep) & ~kRedBlue;
  return ag | rb;
}

// The transparency share applied to a source weight.
constexpr unsigned Faded(unsigned w, int transp) {
  return transp == 0 ? w : w * static_cast<unsigned>(100 - transp) / 100;
}

// The colours a tint draws: each of its channels raised until the largest is 255.
struct TTintFactors {
  unsigned Red, Green, Blue;

  explicit TTintFactors(TColorValue tint) {
    const unsigned r = tint & 0xFFu, g = (tint >> 8) & 0xFFu, b = (tint >> 16) & 0xFFu;
    const unsigned raise = 255 - std::max({r, g, b});
    Red = r + raise;
    Green = g + raise;
    Blue = b + raise;
  }
  // The source pixel's grey level in the tint's colours: grey * factor / 255 per channel.
  TPixel32 Apply(TPixel32 s) const {
    const unsigned grey = (Channel(s, 16) + Channel(s, 8) + Channel(s, 0)) / 3;
    return (grey * Red / 255) << 16 | (grey * Green / 255) << 8 | grey * Blue / 255;
  }
};

// A floating-point channel blend truncated into 0..255.
inline unsigned TruncChannel(double v) {
  if (!(v > 0)) return 0;  // NaN too
  return v >= 255 ? 255u : static_cast<unsigned>(v);
}

#if defined(__SSE2__)
// Per pixel (a * w + b * (256 - w)) shr 8 on the 16-bit lanes of two unpacked pixels.
inline __m128i Lerp16(__m128i a, __m128i b, __m128i w) {
  const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(256), w);
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, w), _mm_mullo_epi16(b, keep)), 8);
}

// (a * w + b * (256 - w)) shr 8 for four pixels, the weights already spread to each lane.
inline __m128i Lerp8(__m128i a, __m128i b, __m128i wLo, __m128i wHi) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = Lerp16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), wLo);
  const __m128i hi = Lerp16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), wHi);
  return _mm_packus_epi16(lo, hi);
}

inline __m128i Load4(const TPixel32* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store4(TPixel32* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
#endif

}  // namespace

std::optional<TCopyArea> PlaceArea(const TPixelView& dst, const TPixelView& src, int x, int y, TPixelRect sr) {
  if (dst.Empty() || src.Empty()) return std::nullopt;
  const long long left = std::max<long long>({sr.Left, 0, static_cast<long long>(sr.Left) - x});
  const long long top = std::max<long long>({sr.Top, 0, static_cast<long long>(sr.Top) - y});
  const long long right =
      std::min<long long>({sr.Right, src.Width, static_cast<long long>(sr.Left) - x + dst.Width});
  const long long bottom =
      std::min<long long>({sr.Bottom, src.Height, static_cast<long long>(sr.Top) - y + dst.Height});
  if (right <= left || bottom <= top) return std::nullopt;
  return TCopyArea{static_cast<int>(x + left - sr.Left), static_cast<int>(y + top - sr.Top), static_cast<int>(left),
                   static_cast<int>(top), static_cast<int>(right - left), static_cast<int>(bottom - top)};
}

std::optional<TCopyArea> ClipAlphaCopy(TPixelRect dst, TPixelRect src, int dstWidth, int dstHeight, int srcWidth,
                                       int srcHeight) {
  if (dst.Left < 0) { src.Left -= dst.Left; dst.Left = 0; }
  if (src.Left < 0) { dst.Left -= src.Left; src.Left = 0; }
  if (dst.Top < 0) { src.Top -= dst.Top; dst.Top = 0; }
  if (src.Top < 0) { dst.Top -= src.Top; src.Top = 0; }
  const long long width = std::min<long long>({static_cast<long long>(dst.Right) - dst.Left,
                                               static_cast<long long>(src.Right) - src.Left,
                                               static_cast<long long>(dstWidth) - dst.Left,
                                               static_cast<long long>(srcWidth) - src.Left});
  const long long height = std::min<long long>({static_cast<long long>(dst.Bottom) - dst.Top,
                                                static_cast<long long>(src.Bottom) - src.Top,
                                                static_cast<long long>(dstHeight) - dst.Top,
                                                static_cast<long long>(srcHeight) - src.Top});
  if (width <= 0 || height <= 0) return std::nullopt;
  return TCopyArea{dst.Left, dst.Top, src.Left, src.Top, static_cast<int>(width), static_cast<int>(height)};
}

void AlphaBlendRow(TPixel32* d, const TPixel32* s, int n) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i hole = _mm_set1_epi32(static_cast<int>(kHolePixel));
  const __m128i alphaBits = _mm_set1_epi32(static_cast<int>(kAlphaBits));
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4) {
    const __m128i sv = Load4(s + i);
    const __m128i dv = Load4(d + i);
    // Each pixel's alpha spread over its four 16-bit lanes.
    const __m128i sLo = _mm_unpacklo_epi8(sv, zero);
    const __m128i sHi = _mm_unpackhi_epi8(sv, zero);
    const __m128i wLo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLo, 0xFF), 0xFF);
    const __m128i wHi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHi, 0xFF), 0xFF);
    const __m128i color = Lerp8(sv, dv, wLo, wHi);
    const __m128i alpha = _mm_and_si128(_mm_max_epu8(sv, dv), alphaBits);
    const __m128i blended = _mm_or_si128(_mm_andnot_si128(alphaBits, color), alpha);
    const __m128i isHole = _mm_cmpeq_epi32(sv, hole);
    Store4(d + i, _mm_or_si128(_mm_and_si128(isHole, dv), _mm_andnot_si128(isHole, blended)));
  }
#endif
  for (; i < n; ++i) {
    if (s[i] == kHolePixel) continue;
    const unsigned alpha = AlphaOf(s[i]);
    d[i] = (BlendRgb(d[i], s[i], alpha) & kColorBits) | std::max(alpha, AlphaOf(d[i])) << 24;
  }
}

void ConstantBlendRow(TPixel32* d, const TPixel32* s, int n, unsigned keep) {
  keep = std::min(keep, 255u);
  int i = 0;
#if defined(__SSE2__)
  const __m128i w = _mm_set1_epi16(static_cast<short>(keep));
  for (; i + 4 <= n; i += 4) Store4(d + i, Lerp8(Load4(d + i), Load4(s + i), w, w));
#endif
  for (; i < n; ++i) d[i] = BlendAll(s[i], d[i], keep);
}

void MixRow(TPixel32* out, const TPixel32* a, const TPixel32* b, int n, unsigned weight) {
  weight = std::min(weight, 256u);
  int i = 0;
#if defined(__SSE2__)
  const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
  const __m128i alphaBits = _mm_set1_epi32(static_cast<int>(kAlphaBits));
  for (; i + 4 <= n; i += 4) {
    const __m128i mixed = Lerp8(Load4(a + i), Load4(b + i), w, w);
    Store4(out + i, _mm_or_si128(_mm_andnot_si128(alphaBits, mixed), _mm_and_si128(Load4(out + i), alphaBits)));
  }
#endif
  for (; i < n; ++i) out[i] = (out[i] & kAlphaBits) | (BlendRgb(b[i], a[i], weight) & kColorBits);
}

void MixRowByMask(TPixel32* out, const TPixel32* a, const TPixel32* b, const TPixel32* mask, int n) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i alphaBits = _mm_set1_epi32(static_cast<int>(kAlphaBits));
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4) {
    const __m128i m = Load4(mask + i);
    const __m128i mixed = Lerp8(Load4(a + i), Load4(b + i), _mm_unpacklo_epi8(m, zero), _mm_unpackhi_epi8(m, zero));
    Store4(out + i, _mm_or_si128(_mm_andnot_si128(alphaBits, mixed), _mm_and_si128(Load4(out + i), alphaBits)));
  }
#endif
  for (; i < n; ++i) {
    TPixel32 p = out[i] & kAlphaBits;
    for (unsigned shift = 0; shift < 24; shift += 8) {
      const unsigned m = Channel(mask[i], shift);
      p |= ((Channel(a[i], shift) * m + Channel(b[i], shift) * (256 - m)) >> 8) << shift;
    }
    out[i] = p;
  }
}

void AlphaCopyArea(const TPixelView& dst, const TPixelView& src, const TCopyArea& area, int transp, TColorValue tint,
                   const TBackground& background, bool fillHoles) {
  transp = std::clamp(transp, 0, 100);
  const bool tinted = tint != kNoColor;
  const bool fill = background.Ready && fillHoles;
  if (!tinted && transp == 0 && !fill) {
    for (int y = 0; y < area.Height; ++y)
      AlphaBlendRow(dst.Row(area.DstY + y) + area.DstX, src.Row(area.SrcY + y) + area.SrcX, area.Width);
    return;
  }
  const TTintFactors factors(tint);
  // Holes stay out of the blend unless a tint is drawn without a ready background; then
  // their alpha 0 leaves the destination as it is anyway.
  const bool skipHoles = !tinted || background.Ready;
  for (int y = 0; y < area.Height; ++y) {
    TPixel32* d = dst.Row(area.DstY + y) + area.DstX;
    const TPixel32* s = src.Row(area.SrcY + y) + area.SrcX;
    for (int x = 0; x < area.Width; ++x) {
      if (skipHoles && s[x] == kHolePixel) {
        if (fill) {
          if (const TPixel32* behind = background.At(area.DstX + x, area.DstY + y))
            d[x] = (d[x] & kAlphaBits) | (*behind & kColorBits);
        }
        continue;
      }
      const unsigned alpha = AlphaOf(s[x]);
      const unsigned w = Faded(alpha, transp);
      if (tinted) {
        d[x] = BlendRgb(d[x], factors.Apply(s[x]), w);
      } else if (transp == 0) {
        d[x] = (BlendRgb(d[x], s[x], w) & kColorBits) | std::max(alpha, AlphaOf(d[x])) << 24;
      } else {
        d[x] = BlendRgb(d[x], s[x], w);
      }
    }
  }
}

void ReflectArea(const TPixelView& dst, const TPixelView& src, const TCopyArea& area, int transp, TColorValue tint) {
  transp = std::clamp(transp, 0, 100);
  const bool tinted = tint != kNoColor;
  const int dstBottom = area.DstY + area.Height;
  const int srcBottom = area.SrcY + area.Height;
  const int rows = std::min(src.Height / 2 - 1, dst.Height - dstBottom - 1);
  if (rows < 1) return;
  const TTintFactors factors(tint);
  const int step = 255 / (tinted ? src.Height / 2 : src.Height);
  int strength = 255;
  for (int j = 1; j <= rows; ++j, strength -= step) {
    // Mirrored rows come from the copied area only.
    const int srcRow = srcBottom - j - 1;
    if (srcRow < area.SrcY) break;
    TPixel32* d = dst.Row(dstBottom + j) + area.DstX;
    const TPixel32* s = src.Row(srcRow) + area.SrcX;
    for (int x = 0; x < area.Width; ++x) {
      if (s[x] == kHolePixel) continue;
      const unsigned w = (AlphaOf(s[x]) * static_cast<unsigned>(rows - j) / static_cast<unsigned>(rows) *
                          static_cast<unsigned>(strength)) >> 9;
      d[x] = BlendRgb(d[x], tinted ? factors.Apply(s[x]) : s[x], Faded(w, transp));
    }
  }
}

void BlendAreaByMask(const TPixelView& dst, const TPixelView& src, const TCopyArea& area,
                     const TBackground& background, bool fillHoles) {
  for (int y = 0; y < area.Height; ++y) {
    TPixel32* d = dst.Row(area.DstY + y) + area.DstX;
    const TPixel32* s = src.Row(area.SrcY + y) + area.SrcX;
    for (int x = 0; x < area.Width; ++x) {
      if (background.Ready && s[x] == kHolePixel) {
        if (fillHoles) {
          if (const TPixel32* behind = background.At(area.DstX + x, area.DstY + y))
            d[x] = (*behind & kColorBits) | kAlphaBits;
        }
        continue;
      }
      const unsigned alpha = AlphaOf(s[x]);
      TPixel32 p = BlendRgb(d[x], s[x], alpha);
      if (alpha > 0) {
        const unsigned da = AlphaOf(p);
        p = (p & kColorBits) | (da + (((255 - da) * alpha) >> 8)) << 24;
      }
      d[x] = p;
    }
  }
}

void BlendTransArea(const TPixelView& dst, const TPixelView& src, unsigned keep, int x, int y, TPixelRect sr) {
  if (dst.Empty() || src.Empty()) return;
  if (x < 0) { sr.Left -= x; x = 0; }
  if (sr.Left < 0) { x -= sr.Left; sr.Left = 0; }
  if (y < 0) { sr.Top -= y; y = 0; }
  if (sr.Top < 0) { y -= sr.Top; sr.Top = 0; }
  if (sr.IsEmpty() || sr.Left >= src.Width || sr.Top >= src.Height || x >= dst.Width || y >= dst.Height) return;
  // Right and bottom are the last column and row blended.
  const long long right = std::min<long long>({sr.Right, src.Width - 1, static_cast<long long>(sr.Left) + dst.Width - 1 - x});
  const long long bottom =
      std::min<long long>({sr.Bottom, src.Height - 1, static_cast<long long>(sr.Top) + dst.Height - 1 - y});
  const int width = static_cast<int>(right - sr.Left + 1);
  for (long long row = sr.Top; row <= bottom; ++row)
    ConstantBlendRow(dst.Row(static_cast<int>(y + row - sr.Top)) + x, src.Row(static_cast<int>(row)) + sr.Left, width,
                     keep);
}

void BlendRectArea(const TPixelView& dst, int x, int y, TColorValue key, double k, TPixelRect sr,
                   const TPixelView& src) {
  const auto area = PlaceArea(dst, src, x, y, sr);
  if (!area) return;
  const TPixel32 skip = SwapBytes02(key);
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = src.Row(area->SrcY + row) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      if (s[i] == skip) continue;
      TPixel32 p = d[i] & kAlphaBits;
      for (unsigned shift = 0; shift < 24; shift += 8) {
        const double sc = Channel(s[i], shift), dc = Channel(d[i], shift);
        p |= TruncChannel(sc - (sc - dc) * k) << shift;
      }
      d[i] = p;
    }
  }
}

void CopyMaskedArea(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr, int maskOffset,
                    bool keyCheck, const TBackground& background) {
  if (picture.Empty() || maskOffset < 0) return;
  // The picture rows must have their mask rows inside the bitmap too.
  TPixelView colors = picture;
  colors.Height = picture.Height - maskOffset;
  const auto area = PlaceArea(dst, colors, x, y, sr);
  if (!area) return;
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = picture.Row(area->SrcY + row) + area->SrcX;
    const TPixel32* m = picture.Row(area->SrcY + row + maskOffset) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      if (keyCheck && (s[i] & kColorBits) == kKeyColor) {
        if (const TPixel32* behind = background.At(area->DstX + i, area->DstY + row)) d[i] = *behind;
        continue;
      }
      // A black mask pixel takes the picture's pixel whole (most of a piece's face): the mix
      // below gives the same, a channel at a time.
      if ((m[i] & kColorBits) == 0) {
        d[i] = s[i] | kAlphaBits;
        continue;
      }
      TPixel32 p = kAlphaBits;
      for (unsigned shift = 0; shift < 24; shift += 8) {
        const unsigned w = Channel(m[i], shift);
        p |= ((Channel(d[i], shift) * w + Channel(s[i], shift) * (256 - w)) >> 8) << shift;
      }
      d[i] = p;
    }
  }
}

void CopyKeyedArea(const TPixelView& dst, const TPixelView& src, int x, int y, TPixelRect sr, TColorValue key,
                   bool fillHoles, const TBackground& background) {
  const auto area = PlaceArea(dst, src, x, y, sr);
  if (!area) return;
  const TPixel32 skip = SwapBytes02(key);
  const bool fill = fillHoles && background.Ready && !background.Bmp.Empty();
  const bool ontoItself = fill && background.Bmp.SameBitmap(dst);
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = src.Row(area->SrcY + row) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      if (s[i] != skip) {
        d[i] = ontoItself ? s[i] | kAlphaBits : s[i];
      } else if (fill && !ontoItself) {
        if (const TPixel32* behind = background.At(area->DstX + i, area->DstY + row)) d[i] = *behind;
      }
    }
  }
}

void CopyNonKeyArea(const TPixelView& dst, const TPixelView& src, int x, int y, TPixelRect sr, TColorValue key) {
  const auto area = PlaceArea(dst, src, x, y, sr);
  if (!area) return;
  const TPixel32 skip = SwapBytes02(key);
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = src.Row(area->SrcY + row) + area->SrcX;
    for (int i = 0; i < area->Width; ++i)
      if (s[i] != skip) d[i] = s[i];
  }
}

void SumArea(const TPixelView& dst, const TPixelView& src, int x, int y, TColorValue key) {
  const auto area = PlaceArea(dst, src, x, y, TPixelRect{0, 0, src.Width, src.Height});
  if (!area) return;
  const TPixel32 skip = SwapBytes02(key);
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = src.Row(area->SrcY + row) + area->SrcX;
    for (int i = 0; i < area->Width; ++i)
      if (s[i] != skip) d[i] = s[i] | kAlphaBits;
  }
}

void BlendColorToView(const TPixelView& view, TColorValue color, double k) {
  if (view.Empty()) return;
  const TPixel32 target = SwapBytes02(color);
  for (int y = 0; y < view.Height; ++y) {
    TPixel32* row = view.Row(y);
    for (int x = 0; x < view.Width; ++x) {
      if (row[x] == kHolePixel) continue;
      TPixel32 p = row[x] & kAlphaBits;
      for (unsigned shift = 0; shift < 24; shift += 8) {
        const double c = Channel(target, shift);
        p |= TruncChannel((Channel(row[x], shift) - c) * k + c) << shift;
      }
      row[x] = p;
    }
  }
}

void MixViews(const TPixelView& out, const TPixelView& a, const TPixelView& b, unsigned weight,
              const TPixelView* mask) {
  if (out.Empty() || a.Empty() || b.Empty()) return;
  if (a.Width != b.Width || a.Height != b.Height || out.Width < a.Width || out.Height < a.Height) return;
  if (mask && (mask->Empty() || mask->Width < a.Width || mask->Height < a.Height)) return;
  for (int y = 0; y < a.Height; ++y) {
    if (mask) MixRowByMask(out.Row(y), a.Row(y), b.Row(y), mask->Row(y), a.Width);
    else MixRow(out.Row(y), a.Row(y), b.Row(y), a.Width, weight);
  }
}

TColorValue MixColors(TColorValue color1, TColorValue color2, double k) {
  TColorValue result = color1 & 0xFF000000u;
  for (unsigned shift = 0; shift < 24; shift += 8)
    result |= TruncChannel(Channel(color1, shift) * k + Channel(color2, shift) * (1 - k)) << shift;
  return result;
}

void ShadeTowardColor(const TPixelView& view, const TPixelView& mask, TColorValue color) {
  if (view.Empty() || mask.Empty()) return;
  const TPixel32 target = SwapBytes02(color);
  const int width = std::min(view.Width, mask.Width);
  const int height = std::min(view.Height, mask.Height);
  for (int y = 0; y < height; ++y) {
    TPixel32* d = view.Row(y);
    const TPixel32* m = mask.Row(y);
    for (int x = 0; x < width; ++x) {
      TPixel32 p = d[x] & kAlphaBits;
      for (unsigned shift = 0; shift < 24; shift += 8) {
        const unsigned w = Channel(m[x], shift);
        p |= ((Channel(d[x], shift) * w + Channel(target, shift) * (256 - w)) >> 8) << shift;
      }
      d[x] = p;
    }
  }
}

}  // namespace skin_layered
