#include "tools/skinmaker/Pixmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace skinmaker {
namespace {

int Channel(Rgb c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  auto mix = [&](int shift) {
    const double v = Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t;
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
  };
  return MakeRgb(mix(0), mix(8), mix(16));
}

Pixmap::Pixmap(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Pixmap::Set(int x, int y, Rgb c) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Pixmap::Fill(int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Pixmap::Gradient(int x, int y, int w, int h, Rgb from, Rgb to, bool vertical) {
  const int n = vertical ? h : w;
  for (int k = 0; k < n; ++k) {
    const Rgb c = Mix(from, to, n > 1 ? static_cast<double>(k) / (n - 1) : 0.5);
    if (vertical)
      HLine(x, y + k, w, c);
    else
      VLine(x + k, y, h, c);
  }
}

void Pixmap::Frame(int x, int y, int w, int h, Rgb c) {
  HLine(x, y, w, c);
  HLine(x, y + h - 1, w, c);
  VLine(x, y, h, c);
  VLine(x + w - 1, y, h, c);
}

void Pixmap::RoundCorners(int x, int y, int w, int h, int r, bool top, bool bottom) {
  if (r <= 0) return;
  // A pixel is outside when its centre lies beyond the corner's circle.
  auto cut = [&](int cx, int cy, int px, int py) {
    const double dx = px + 0.5 - cx, dy = py + 0.5 - cy;
    if (dx * dx + dy * dy > static_cast<double>(r) * r) Set(px, py, kKey);
  };
  for (int j = 0; j < r; ++j)
    for (int i = 0; i < r; ++i) {
      if (top) {
        cut(x + r, y + r, x + i, y + j);
        cut(x + w - r, y + r, x + w - 1 - i, y + j);
      }
      if (bottom) {
        cut(x + r, y + h - r, x + i, y + h - 1 - j);
        cut(x + w - r, y + h - r, x + w - 1 - i, y + h - 1 - j);
      }
    }
}

void Pixmap::Outline(int x, int y, int w, int h, Rgb c) {
  const Pixmap before = *this;
  auto outside = [&](int i, int j) {
    return i < x || j < y || i >= x + w || j >= y + h || i < 0 || j < 0 || i >= width_ || j >= height_ ||
           before.At(i, j) == kKey;
  };
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (!outside(i, j) && (outside(i - 1, j) || outside(i + 1, j) || outside(i, j - 1) || outside(i, j + 1)))
        Set(i, j, c);
}

void Pixmap::Disc(int x, int y, int d, Rgb top, Rgb bottom, Rgb edge) {
  Gradient(x, y, d, d, top, bottom);
  const double r = d / 2.0;
  for (int j = 0; j < d; ++j)
    for (int i = 0; i < d; ++i) {
      const double dx = i + 0.5 - r, dy = j + 0.5 - r;
      if (dx * dx + dy * dy > r * r) Set(x + i, y + j, kKey);
    }
  Outline(x, y, d, d, edge);
}

void Pixmap::Pattern(int x, int y, std::initializer_list<const char*> rows, Rgb c, Rgb c2) {
  int j = 0;
  for (const char* row : rows) {
    for (int i = 0; row[i]; ++i) {
      if (row[i] == '#') Set(x + i, y + j, c);
      if (row[i] == '+' && c2 != kKey) Set(x + i, y + j, c2);
    }
    ++j;
  }
}

void Pixmap::PatternCentred(int x, int y, int w, int h, std::initializer_list<const char*> rows, Rgb c, Rgb c2) {
  const int ph = static_cast<int>(rows.size());
  const int pw = ph ? static_cast<int>(std::strlen(*rows.begin())) : 0;
  Pattern(x + (w - pw) / 2, y + (h - ph) / 2, rows, c, c2);
}

void Pixmap::Blit(const Pixmap& from, int x, int y) {
  for (int j = 0; j < from.height_; ++j)
    for (int i = 0; i < from.width_; ++i) Set(x + i, y + j, from.At(i, j));
}

Pixmap Pixmap::Crop(int x, int y, int w, int h) const {
  Pixmap out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.Set(i, j, At(x + i, y + j));
  return out;
}

std::vector<std::uint8_t> Pixmap::Bmp() const {
  return skinpack::Bmp24(width_, height_, [this](int x, int y) { return At(x, y); });
}

Pixmap SideBySide(const std::vector<Pixmap>& frames) {
  if (frames.empty()) return {};
  const int w = frames.front().Width(), h = frames.front().Height();
  Pixmap out(w * static_cast<int>(frames.size()), h);
  for (size_t k = 0; k < frames.size(); ++k) out.Blit(frames[k], w * static_cast<int>(k), 0);
  return out;
}

Pixmap Stacked(const std::vector<Pixmap>& frames) {
  if (frames.empty()) return {};
  const int w = frames.front().Width(), h = frames.front().Height();
  Pixmap out(w, h * static_cast<int>(frames.size()));
  for (size_t k = 0; k < frames.size(); ++k) out.Blit(frames[k], 0, h * static_cast<int>(k));
  return out;
}

}  // namespace skinmaker
