#include "tools/layeredskin/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace layeredskin {

namespace {

constexpr int kSamples = 5;

bool InRoundRect(double px, double py, double x, double y, double w, double h, double r) {
  if (px < x || py < y || px > x + w || py > y + h) return false;
  r = std::min({r, w / 2, h / 2});
  const double cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
  const double dx = px - cx, dy = py - cy;
  return dx * dx + dy * dy <= r * r;
}

}  // namespace

std::uint32_t Rgb::ToHex() const {
  auto c = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
  return c(r) << 16 | c(g) << 8 | c(b);
}

Paint Solid(Rgb c) {
  return [c](double, double) { return c; };
}

Paint Vertical(Rgb top, Rgb bottom, double y0, double y1) {
  return [=](double, double y) { return top.Mix(bottom, std::clamp((y - y0) / std::max(y1 - y0, 1e-9), 0.0, 1.0)); };
}

void Raster::Blend(int x, int y, const Rgb& c, double alpha) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_ || alpha <= 0) return;
  Rgba& d = At(x, y);
  const double out = alpha + d.a * (1 - alpha);
  if (out <= 0) return;
  d.r = (c.r * alpha + d.r * d.a * (1 - alpha)) / out;
  d.g = (c.g * alpha + d.g * d.a * (1 - alpha)) / out;
  d.b = (c.b * alpha + d.b * d.a * (1 - alpha)) / out;
  d.a = out;
}

void Raster::Fill(const std::function<bool(double, double)>& inside, double x0, double y0, double x1, double y1,
                  const Paint& paint, double opacity) {
  const int left = std::max(0, static_cast<int>(std::floor(x0))), top = std::max(0, static_cast<int>(std::floor(y0)));
  const int right = std::min(w_, static_cast<int>(std::ceil(x1))), bottom = std::min(h_, static_cast<int>(std::ceil(y1)));
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
      if (hits) Blend(x, y, paint(x + 0.5, y + 0.5), opacity * hits / (kSamples * kSamples));
    }
  }
}

void Raster::RoundRect(double x, double y, double w, double h, double radius, const Paint& paint, double opacity) {
  Fill([=](double px, double py) { return InRoundRect(px, py, x, y, w, h, radius); }, x, y, x + w, y + h, paint, opacity);
}

void Raster::RoundFrame(double x, double y, double w, double h, double radius, double thickness, const Paint& paint,
                        double opacity) {
  const double t = thickness;
  Fill(
      [=](double px, double py) {
        return InRoundRect(px, py, x, y, w, h, radius) &&
               !InRoundRect(px, py, x + t, y + t, w - 2 * t, h - 2 * t, std::max(radius - t, 0.0));
      },
      x, y, x + w, y + h, paint, opacity);
}

void Raster::Ellipse(double cx, double cy, double rx, double ry, const Paint& paint, double opacity) {
  Fill(
      [=](double px, double py) {
        const double dx = (px - cx) / rx, dy = (py - cy) / ry;
        return dx * dx + dy * dy <= 1;
      },
      cx - rx, cy - ry, cx + rx, cy + ry, paint, opacity);
}

void Raster::Line(double x0, double y0, double x1, double y1, double thickness, const Paint& paint, double opacity) {
  const double half = thickness / 2;
  const double dx = x1 - x0, dy = y1 - y0, len2 = std::max(dx * dx + dy * dy, 1e-12);
  Fill(
      [=](double px, double py) {
        const double t = std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0);
        const double ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
        return ex * ex + ey * ey <= half * half;
      },
      std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half, std::max(y0, y1) + half, paint,
      opacity);
}

void Raster::Polygon(const std::vector<std::pair<double, double>>& points, const Paint& paint, double opacity) {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (auto [x, y] : points) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  Fill(
      [&points](double px, double py) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
          const auto [xi, yi] = points[i];
          const auto [xj, yj] = points[j];
          if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
      },
      x0, y0, x1, y1, paint, opacity);
}

void Raster::Draw(const Raster& other, int x, int y) {
  for (int sy = 0; sy < other.h_; ++sy)
    for (int sx = 0; sx < other.w_; ++sx) {
      const Rgba& s = other.At(sx, sy);
      Blend(x + sx, y + sy, {s.r, s.g, s.b}, s.a);
    }
}

Raster Raster::Rotated() const {
  Raster out(h_, w_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.At(h_ - 1 - y, x) = At(x, y);
  return out;
}

Raster Raster::MirroredX() const {
  Raster out(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.At(w_ - 1 - x, y) = At(x, y);
  return out;
}

Raster Raster::MirroredY() const {
  Raster out(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.At(x, h_ - 1 - y) = At(x, y);
  return out;
}

void Raster::SpreadColor(int rounds) {
  std::vector<bool> known(px_.size());
  for (std::size_t i = 0; i < px_.size(); ++i) known[i] = px_[i].a > 0;
  for (int round = 0; round < rounds; ++round) {
    std::vector<Rgba> next = px_;
    std::vector<bool> nextKnown = known;
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        const auto at = static_cast<std::size_t>(y * w_ + x);
        if (known[at]) continue;
        double r = 0, g = 0, b = 0, n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w_ || ny >= h_ || !known[static_cast<std::size_t>(ny * w_ + nx)]) continue;
            const Rgba& c = At(nx, ny);
            r += c.r, g += c.g, b += c.b, n += 1;
          }
        if (n > 0) {
          next[at] = {r / n, g / n, b / n, 0};
          nextKnown[at] = true;
        }
      }
    }
    px_ = std::move(next);
    known = std::move(nextKnown);
  }
  // What the rounds did not reach takes the mean of the covered colour.
  double r = 0, g = 0, b = 0, n = 0;
  for (std::size_t i = 0; i < px_.size(); ++i)
    if (known[i]) r += px_[i].r, g += px_[i].g, b += px_[i].b, n += 1;
  if (n == 0) return;
  for (std::size_t i = 0; i < px_.size(); ++i)
    if (!known[i]) px_[i] = {r / n, g / n, b / n, 0};
}

bool ReadFile(const std::string& path, std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  text.clear();
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
  return std::fclose(f) == 0;
}

Bytes PictureFile::Encoded() const {
  if (!png) return EncodeBmp(width, height, pixels);
  Bytes rgb;
  rgb.reserve(pixels.size() * 3);
  for (std::uint32_t p : pixels) rgb.insert(rgb.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
  return EncodePng(width, height, rgb, false);
}

PictureFile PictureFile::Cropped(int Width, int Height) const {
  PictureFile part{name, std::clamp(Width, 1, std::max(width, 1)), std::clamp(Height, 1, std::max(height, 1)), {}, png};
  for (int y = 0; y < part.height; ++y)
    for (int x = 0; x < part.width; ++x)
      part.pixels.push_back(x < width && y < height ? pixels[static_cast<std::size_t>(y) * width + x] : 0);
  return part;
}

}  // namespace layeredskin
