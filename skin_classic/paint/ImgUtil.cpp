#include "skin_classic/paint/ImgUtil.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace winskin {
namespace {

using vcl::TPixelFormat;

struct Rgb {
  int r = 0, g = 0, b = 0;
};

Rgb Split(TColor c) {
  const auto v = static_cast<uint32_t>(vcl::ColorToRGB(c));
  return {static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF)};
}

TColor Join(int r, int g, int b) {
  auto clamp = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
  return static_cast<TColor>(clamp(r) | clamp(g) << 8 | clamp(b) << 16);
}

int BytesPerPixel(TPixelFormat format) { return format == TPixelFormat::pf32bit ? 4 : 3; }

// 24- and 32-bit bitmaps are handled as they are; the others become 24-bit first.
int PrepareRows(TBitmap* Bitmap) {
  if (Bitmap->PixelFormat() != TPixelFormat::pf32bit && Bitmap->PixelFormat() != TPixelFormat::pf24bit)
    Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  return BytesPerPixel(Bitmap->PixelFormat());
}

bool Usable(TBitmap* Bitmap) { return Bitmap && !Bitmap->Empty() && Bitmap->Width() > 0 && Bitmap->Height() > 0; }

// All pixels, top row first, as blue, green, red, unused.
std::vector<std::array<uint8_t, 4>> ReadPixels32(TBitmap* Bitmap) {
  TBitmap copy;
  copy.Assign(Bitmap);
  copy.SetPixelFormat(TPixelFormat::pf32bit);
  const int w = copy.Width(), h = copy.Height();
  std::vector<std::array<uint8_t, 4>> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) std::memcpy(&px[static_cast<size_t>(y) * w], copy.ScanLine(y), static_cast<size_t>(w) * 4);
  return px;
}

// Writes a quarter-turned picture: newPos maps an old (x, y) to its new place.
template <class Map>
void WriteTurned(TBitmap* Bitmap, Map newPos) {
  const int w = Bitmap->Width(), h = Bitmap->Height();
  const auto px = ReadPixels32(Bitmap);
  Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  Bitmap->SetSize(h, w);
  std::vector<uint8_t*> rows(static_cast<size_t>(w));
  for (int y = 0; y < w; ++y) rows[static_cast<size_t>(y)] = static_cast<uint8_t*>(Bitmap->ScanLine(y));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const auto [nx, ny] = newPos(x, y);
      const auto& p = px[static_cast<size_t>(y) * w + x];
      std::memcpy(rows[static_cast<size_t>(ny)] + 3 * static_cast<size_t>(nx), p.data(), 3);
    }
  }
  Bitmap->Changed(Bitmap);
}

// Ramps longer than this are not cached: their bands are computed one by one.
constexpr int kMaxCachedRamp = 1 << 16;

TColor RampEntry(const Rgb& a, const Rgb& b, int64_t count, int64_t i) {
  if (count == 1) return Join(a.r + (b.r - a.r) / 2, a.g + (b.g - a.g) / 2, a.b + (b.b - a.b) / 2);
  // Rounded to the nearest step both ways, so that a falling ramp ends on its last colour
  // as a rising one does.
  auto channel = [&](int from, int to) {
    const int64_t delta = (to - from) * i, half = (count - 1) / 2;
    return static_cast<int>(from + (delta < 0 ? delta - half : delta + half) / (count - 1));
  };
  return Join(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b));
}

class GradientCache {
 public:
  int Find(int count, TColor a, TColor b) const {
    for (int i = kSlots - 1; i >= 0; --i) {
      const auto& ramp = slots_[static_cast<size_t>(i)];
      if (static_cast<int>(ramp.size()) == count && ramp.front() == a && ramp.back() == b) return i;
    }
    return -1;
  }

  int Make(int count, TColor a, TColor b) {
    const int slot = next_;
    next_ = (next_ + 1) % kSlots;
    auto& ramp = slots_[static_cast<size_t>(slot)];
    ramp.resize(static_cast<size_t>(count));
    const Rgb ra = Split(a), rb = Split(b);
    for (int i = 0; i < count; ++i) ramp[static_cast<size_t>(i)] = RampEntry(ra, rb, count, i);
    return slot;
  }

  std::span<const TColor> Ramp(int slot) const {
    if (slot < 0 || slot >= kSlots) return {};
    return slots_[static_cast<size_t>(slot)];
  }

 private:
  static constexpr int kSlots = 16;
  std::array<std::vector<TColor>, kSlots> slots_;
  int next_ = 0;
};

GradientCache& Gradients() {
  static GradientCache cache;
  return cache;
}

void FillBand(HDC DC, const RECT& band, TColor colour) {
  vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
  if (brush) FillRect(DC, &band, brush.get());
}

}  // namespace

void ReplaceKeyColor(TBitmap* Bitmap, TColor Color) {
  if (!Usable(Bitmap)) return;
  Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
  const Rgb c = Split(Color);
  for (int y = 0; y < Bitmap->Height(); ++y) {
    auto* p = static_cast<uint8_t*>(Bitmap->ScanLine(y));
    for (int x = 0; x < Bitmap->Width(); ++x, p += 3) {
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
        p[0] = static_cast<uint8_t>(c.b);
        p[1] = static_cast<uint8_t>(c.g);
        p[2] = static_cast<uint8_t>(c.r);
      }
    }
  }
  Bitmap->Changed(Bitmap);
}

void MirrorBitmap(TBitmap* Bitmap) {
  if (!Usable(Bitmap)) return;
  const int bpp = PrepareRows(Bitmap);
  const int w = Bitmap->Width();
  std::vector<uint8_t> row(static_cast<size_t>(w) * bpp);
  for (int y = 0; y < Bitmap->Height(); ++y) {
    auto* p = static_cast<uint8_t*>(Bitmap->ScanLine(y));
    std::memcpy(row.data(), p, row.size());
    for (int x = 0; x < w; ++x)
      std::memcpy(p + static_cast<size_t>(x) * bpp, row.data() + static_cast<size_t>(w - 1 - x) * bpp, bpp);
  }
  Bitmap->Changed(Bitmap);
}

void FlipBitmap(TBitmap* Bitmap) {
  if (!Usable(Bitmap)) return;
  const int bpp = PrepareRows(Bitmap);
  const size_t bytes = static_cast<size_t>(Bitmap->Width()) * bpp;
  std::vector<uint8_t> row(bytes);
  for (int top = 0, bottom = Bitmap->Height() - 1; top < bottom; ++top, --bottom) {
    auto* a = static_cast<uint8_t*>(Bitmap->ScanLine(top));
    auto* b = static_cast<uint8_t*>(Bitmap->ScanLine(bottom));
    std::memcpy(row.data(), a, bytes);
    std::memcpy(a, b, bytes);
    std::memcpy(b, row.data(), bytes);
  }
  Bitmap->Changed(Bitmap);
}

void RotateLeft(TBitmap* Bitmap) {
  if (!Usable(Bitmap)) return;
  const int w = Bitmap->Width();
  WriteTurned(Bitmap, [w](int x, int y) { return std::pair{y, w - 1 - x}; });
}

void RotateRight(TBitmap* Bitmap) {
  if (!Usable(Bitmap)) return;
  const int h = Bitmap->Height();
  WriteTurned(Bitmap, [h](int x, int y) { return std::pair{h - 1 - y, x}; });
}

TColor BlendColor(TColor A, TColor B, int Weight) {
  const int64_t scale = Weight < 100 ? 100 : 1000;
  const Rgb a = Split(A), b = Split(B);
  auto channel = [&](int x, int y) {
    return static_cast<int>(std::clamp<int64_t>((x * int64_t{Weight} + y * (scale - Weight) + scale / 2) / scale, 0, 255));
  };
  return Join(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b));
}

int GetGradient(int Count, TColor A, TColor B) {
  if (Count < 1) throw vcl::EAssertionFailed(L"A colour ramp needs at least one colour");
  GradientCache& cache = Gradients();
  const int found = cache.Find(Count, A, B);
  return found >= 0 ? found : cache.Make(Count, A, B);
}

std::span<const TColor> GradientRamp(int Slot) { return Gradients().Ramp(Slot); }

void GradientFillRect(HDC DC, const TRect& Rect, TColor A, bool Vertical, TColor B) {
  const RECT r = Rect;
  if (!DC || !RectVisible(DC, &r)) return;
  const TColor a = vcl::ColorToRGB(A), b = vcl::ColorToRGB(B);
  const int64_t n = Vertical ? int64_t{Rect.Bottom} - Rect.Top : int64_t{Rect.Right} - Rect.Left;
  if (n < 1) return;
  RECT clip{};
  if (GetClipBox(DC, &clip) == ERROR) return;
  const int64_t start = Vertical ? Rect.Top : Rect.Left;
  const int64_t end = Vertical ? Rect.Bottom : Rect.Right;
  const int64_t clipStart = Vertical ? clip.top : clip.left;
  const int64_t clipEnd = Vertical ? clip.bottom : clip.right;
  const int64_t first = std::max<int64_t>(0, clipStart - start);
  const int64_t last = n - 1 - std::max<int64_t>(0, end - clipEnd);

  std::span<const TColor> ramp;
  if (n <= kMaxCachedRamp) ramp = GradientRamp(GetGradient(static_cast<int>(n), a, b));
  const Rgb ra = Split(a), rb = Split(b);
  for (int64_t i = first; i <= last; ++i) {
    const TColor colour = ramp.empty() ? RampEntry(ra, rb, n, i) : ramp[static_cast<size_t>(i)];
    const auto at = static_cast<LONG>(start + i);
    const RECT band = Vertical ? RECT{Rect.Left, at, Rect.Right, at + 1} : RECT{at, Rect.Top, at + 1, Rect.Bottom};
    FillBand(DC, band, colour);
  }
}

THueSat ColorHueSat(TColor Color) {
  const Rgb c = Split(Color);
  const int mx = std::max({c.r, c.g, c.b});
  const int mn = std::min({c.r, c.g, c.b});
  const double d = mx - mn;
  const double s = mx == 0 ? 0.0 : d / mx;
  double h = 0.0;
  if (s != 0.0) {
    if (mx == c.r) {
      h = 60.0 * (c.g - c.b) / d;
    } else if (mx == c.g) {
      h = 60.0 * (c.b - c.r) / d + 120.0;
    } else {
      h = 60.0 * (c.r - c.g) / d + 240.0;
    }
    if (h < 0) h += 360.0;
  }
  THueSat out;
  out.Hue = static_cast<int>(vcl::Round(h * 255.0 / 360.0));
  out.Saturation = (c.r < 160 && c.g < 160 && c.b < 160) ? 200 : static_cast<int>(vcl::Round(s * 255.0));
  return out;
}

}  // namespace winskin
