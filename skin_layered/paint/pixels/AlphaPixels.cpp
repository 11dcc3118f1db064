#include "skin_layered/paint/pixels/AlphaPixels.h"

#include <algorithm>

#include "skin_layered/paint/pixels/Rounding.h"

namespace skin_layered {
namespace {

constexpr unsigned Channel(TPixel32 p, unsigned shift) { return (p >> shift) & 0xFFu; }

// Calls f on every pixel of the part of R inside the view.
template <class F>
void ForEachPixel(const TPixelView& view, TPixelRect r, F&& f) {
  const TPixelRect area = ClipToView(view, r);
  for (int y = area.Top; y < area.Bottom; ++y) {
    TPixel32* row = view.Row(y);
    for (int x = area.Left; x < area.Right; ++x) f(row[x]);
  }
}

TPixelRect WholeView(const TPixelView& view) { return {0, 0, view.Width, view.Height}; }

}  // namespace

TPixelRect ClipToView(const TPixelView& view, TPixelRect r) {
  if (view.Empty()) return {};
  const TPixelRect clipped{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, view.Width),
                           std::min(r.Bottom, view.Height)};
  return clipped.IsEmpty() ? TPixelRect{} : clipped;
}

void PremultiplyArea(const TPixelView& view, TPixelRect r) {
  ForEachPixel(view, r, [](TPixel32& p) {
    if (p == 0x00FFFFFFu) {
      p = 0;
      return;
    }
    const unsigned a = p >> 24;
    if (a == 255) return;
    TPixel32 result = p & 0xFF000000u;
    for (unsigned shift = 0; shift < 24; shift += 8) result |= ((Channel(p, shift) * a + 127) / 255) << shift;
    p = result;
  });
}

void ClearWhiteArea(const TPixelView& view) {
  ForEachPixel(view, WholeView(view), [](TPixel32& p) {
    if (p == 0x00FFFFFFu) p = 0;
  });
}

bool HasPartialAlpha(const TPixelView& view) {
  for (int y = 0; y < view.Height; ++y) {
    const TPixel32* row = view.Row(y);
    for (int x = 0; x < view.Width; ++x)
      if (const unsigned a = row[x] >> 24; a != 0 && a != 255) return true;
  }
  return false;
}

void AppendShownRuns(const TPixelView& view, TPixelRect r, std::vector<TPixelRect>& runs) {
  const TPixelRect area = ClipToView(view, r);
  for (int y = area.Top; y < area.Bottom; ++y) {
    const TPixel32* row = view.Row(y);
    for (int x = area.Left; x < area.Right;) {
      if ((row[x] >> 24) < 128) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < area.Right && (row[x] >> 24) >= 128) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
}

void AllOrNothingAlpha(const TPixelView& source, const TPixelView& target) {
  if (source.Empty() || target.Empty()) return;
  const int width = std::min(source.Width, target.Width), height = std::min(source.Height, target.Height);
  for (int y = 0; y < height; ++y) {
    const TPixel32* from = source.Row(y);
    TPixel32* to = target.Row(y);
    for (int x = 0; x < width; ++x) {
      const TPixel32 p = from[x];
      const unsigned a = p >> 24;
      if (a == 255) {
        to[x] = p;
      } else if (a < 128) {
        to[x] = 0;
      } else {
        TPixel32 result = 0xFF000000u;
        for (unsigned shift = 0; shift < 24; shift += 8)
          result |= std::min(255u, (Channel(p, shift) * 255 + a / 2) / a) << shift;
        to[x] = result;
      }
    }
  }
}

void FillArea(const TPixelView& view, TPixelRect r, TPixel32 value) {
  const TPixelRect area = ClipToView(view, r);
  for (int y = area.Top; y < area.Bottom; ++y) std::fill(view.Row(y) + area.Left, view.Row(y) + area.Right, value);
}

void FadeArea(const TPixelView& view, TPixelRect r, TColorValue color, int percent, std::uint8_t alpha) {
  const TPixel32 target = SwapBytes02(color);
  ForEachPixel(view, r, [&](TPixel32& p) {
    TPixel32 result = static_cast<TPixel32>(alpha) << 24;
    for (unsigned shift = 0; shift < 24; shift += 8) {
      const int c = static_cast<int>(Channel(p, shift));
      const int cc = static_cast<int>(Channel(target, shift));
      const long long moved = c - static_cast<long long>(percent) * (c - cc) / 100;
      result |= static_cast<TPixel32>(std::clamp<long long>(moved, 0, 255)) << shift;
    }
    p = result;
  });
}

std::uint8_t MixChannel(unsigned c, unsigned cc, int percent) {
  const double share = percent / 100.0;
  const double mixed = c * share + cc * (1 - share);
  if (!(mixed > 0)) return 0;
  if (mixed >= 255) return 255;
  return static_cast<std::uint8_t>(NearestEven(mixed));
}

void MixColorArea(const TPixelView& view, TPixelRect r, int percent, TColorValue color) {
  if (ClipToView(view, r).IsEmpty()) return;
  const TPixel32 target = SwapBytes02(color);
  // Each channel's 256 results, once for the area.
  std::uint8_t mixed[3][256];
  for (unsigned ch = 0; ch < 3; ++ch)
    for (unsigned c = 0; c < 256; ++c) mixed[ch][c] = MixChannel(c, Channel(target, ch * 8), percent);
  ForEachPixel(view, r, [&](TPixel32& p) {
    p = (p & 0xFF000000u) | static_cast<TPixel32>(mixed[2][Channel(p, 16)]) << 16 |
        static_cast<TPixel32>(mixed[1][Channel(p, 8)]) << 8 | mixed[0][Channel(p, 0)];
  });
}

void FillAlphaArea(const TPixelView& view, TPixelRect r, std::uint8_t alpha, TColorValue color) {
  const TPixel32 bits = static_cast<TPixel32>(alpha) << 24;
  if (color == kNoColor) {
    ForEachPixel(view, r, [bits](TPixel32& p) { p = (p & 0x00FFFFFFu) | bits; });
    return;
  }
  const TPixel32 skip = SwapBytes02(color);
  ForEachPixel(view, r, [bits, skip](TPixel32& p) {
    if (p != skip) p = (p & 0x00FFFFFFu) | bits;
  });
}

void GreyArea(const TPixelView& view, TColorValue key) {
  const bool keyed = key != kNoColor;
  const TPixel32 skip = SwapBytes02(key);
  ForEachPixel(view, WholeView(view), [keyed, skip](TPixel32& p) {
    if (keyed && p == skip) return;
    const unsigned grey = (Channel(p, 0) + Channel(p, 8) + Channel(p, 16)) / 3;
    p = (p & 0xFF000000u) | grey * 0x010101u;
  });
}

TPixel32 PixelAt(const TPixelView& view, int x, int y) {
  return view.Empty() || !view.Contains(x, y) ? 0 : view.Row(y)[x];
}

void SetPixelAt(const TPixelView& view, int x, int y, TPixel32 value) {
  if (!view.Empty() && view.Contains(x, y)) view.Row(y)[x] = value;
}

void SwapByteOrder(std::span<std::uint32_t> values) {
  for (std::uint32_t& v : values) v = SwapByteOrder(v);
}

void FillPixels(std::span<TPixel32> pixels, TPixel32 value) { std::fill(pixels.begin(), pixels.end(), value); }

}  // namespace skin_layered
