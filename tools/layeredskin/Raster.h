// Pictures of the sample layered skin, drawn on the build machine: RGBA rasters with straight
// alpha, anti-aliased shapes (rounded rectangles, ellipses, thick lines, polygons) filled with
// plain colours or vertical gradients, and the encoders of the skin's files (PNG through zlib,
// 24-bit BMP).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin_layered/core/images/ImageFiles.h"

namespace layeredskin {

using imagefiles::Bytes;

// 0xRRGGBB as designers write colours.
struct Rgb {
  double r = 0, g = 0, b = 0;  // 0..255
  static Rgb Hex(std::uint32_t rrggbb) {
    return {double(rrggbb >> 16 & 0xFF), double(rrggbb >> 8 & 0xFF), double(rrggbb & 0xFF)};
  }
  std::uint32_t ToHex() const;
  Rgb Mix(const Rgb& other, double t) const { return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t}; }
};

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;  // colour 0..255, alpha 0..1
};

// The colour of a shape at a point (for gradients).
using Paint = std::function<Rgb(double x, double y)>;
Paint Solid(Rgb c);
// From Top at y0 to Bottom at y1.
Paint Vertical(Rgb top, Rgb bottom, double y0, double y1);

class Raster {
 public:
  Raster() = default;
  Raster(int width, int height) : w_(width), h_(height), px_(static_cast<std::size_t>(width * height)) {}

  int Width() const { return w_; }
  int Height() const { return h_; }
  Rgba& At(int x, int y) { return px_[static_cast<std::size_t>(y * w_ + x)]; }
  const Rgba& At(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }

  // Covers the shape (an inside test, sampled 5 x 5 times per pixel over the box x0..x1,
  // y0..y1) with the paint at the given opacity, over what is there.
  void Fill(const std::function<bool(double, double)>& inside, double x0, double y0, double x1, double y1,
            const Paint& paint, double opacity = 1);
  void RoundRect(double x, double y, double w, double h, double radius, const Paint& paint, double opacity = 1);
  // A frame of the given thickness along the inside of a rounded rectangle.
  void RoundFrame(double x, double y, double w, double h, double radius, double thickness, const Paint& paint,
                  double opacity = 1);
  void Ellipse(double cx, double cy, double rx, double ry, const Paint& paint, double opacity = 1);
  void Line(double x0, double y0, double x1, double y1, double thickness, const Paint& paint, double opacity = 1);
  void Polygon(const std::vector<std::pair<double, double>>& points, const Paint& paint, double opacity = 1);

  // Another raster over this one at (x, y).
  void Draw(const Raster& other, int x, int y);
  // Copies of this raster turned a quarter clockwise, mirrored left to right or top to bottom.
  Raster Rotated() const;
  Raster MirroredX() const;
  Raster MirroredY() const;
  // Colour spread from covered pixels into the fully clear ones next to them (repeatedly),
  // so that scaling a picture never pulls in black from its clear parts.
  void SpreadColor(int rounds = 4);

 private:
  void Blend(int x, int y, const Rgb& c, double alpha);

  int w_ = 0, h_ = 0;
  std::vector<Rgba> px_;
};

using imagefiles::EncodeBmp;
using imagefiles::EncodePng;

// A picture file of a skin: its pixels and the format it is written in.
struct PictureFile {
  std::string name;  // as the description names it
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first
  bool png = false;                   // else a 24-bit BMP

  Bytes Encoded() const;
  // Its top-left part of that size (at least one pixel each way).
  PictureFile Cropped(int Width, int Height) const;
};

using imagefiles::WriteFile;
bool ReadFile(const std::string& path, std::string& text);

}  // namespace layeredskin
