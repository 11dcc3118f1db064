// A small 24-bit raster for drawing skin pictures at build time: fills, gradients, rounded
// shapes whose outside is the key colour, outlines and glyphs from character patterns.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "tools/skinpack/SkinBitmapWriter.h"

namespace skinmaker {

using skinpack::kMagenta;
using skinpack::MakeRgb;
using skinpack::Rgb;

inline constexpr Rgb kKey = kMagenta;

// A mix of a and b: t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);

class Pixmap {
 public:
  Pixmap() = default;
  Pixmap(int width, int height, Rgb fill = kKey);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // Pixels outside the raster are left alone.
  void Set(int x, int y, Rgb c);

  void Fill(int x, int y, int w, int h, Rgb c);
  // Top to bottom (Vertical) or left to right.
  void Gradient(int x, int y, int w, int h, Rgb from, Rgb to, bool vertical = true);
  void Frame(int x, int y, int w, int h, Rgb c);
  void HLine(int x, int y, int w, Rgb c) { Fill(x, y, w, 1, c); }
  void VLine(int x, int y, int h, Rgb c) { Fill(x, y, 1, h, c); }
  // The pixels of the rectangle outside its corners rounded with radius r become the key
  // colour; with Outline, the outermost pixels left inside take that colour.
  void RoundCorners(int x, int y, int w, int h, int r, bool top = true, bool bottom = true);
  void Outline(int x, int y, int w, int h, Rgb c);
  // A circle of diameter d at (x, y): the outside becomes the key colour, the edge `edge`.
  void Disc(int x, int y, int d, Rgb top, Rgb bottom, Rgb edge);
  // Rows of characters: '#' takes c, '+' takes c2, anything else is left alone.
  void Pattern(int x, int y, std::initializer_list<const char*> rows, Rgb c, Rgb c2 = kKey);
  // The same pattern centred in the rectangle.
  void PatternCentred(int x, int y, int w, int h, std::initializer_list<const char*> rows, Rgb c, Rgb c2 = kKey);
  void Blit(const Pixmap& from, int x, int y);
  Pixmap Crop(int x, int y, int w, int h) const;

  std::vector<std::uint8_t> Bmp() const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

// Frames of one size joined side by side or stacked.
Pixmap SideBySide(const std::vector<Pixmap>& frames);
Pixmap Stacked(const std::vector<Pixmap>& frames);

}  // namespace skinmaker
