// Blurs for text effects on plain memory: the Gaussian-shaped kernel and the separable blur of
// a grey plane (the glow mask), laying a blurred glow mask over 32-bit pixels, and the
// three-tap smoothing of 32-bit pixels with alpha.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

// A blur kernel: weights for the offsets -16..16, of which -Radius..Radius are in use and
// sum to 1.
struct TBlurKernel {
  static constexpr int kMaxRadius = 16;
  std::uint8_t Radius = 0;
  std::array<float, 2 * kMaxRadius + 1> Weights{};

  float Weight(int offset) const { return Weights[static_cast<std::size_t>(offset + kMaxRadius)]; }
};

// Weight 1 for every offset within about 1.18 sigma and 0 beyond, normalised; then the
// outermost weights whose sum stays below Accuracy / (2 * Range) are trimmed off (always the
// outermost pair in use, and never below radius 1) and the rest normalised again. A sigma
// that is not positive gives the kernel that changes nothing (radius 0, weight 1).
TBlurKernel MakeBlurKernel(float Accuracy, float Range, float Sigma);

// An 8-bit grey plane: the address of row 0, the signed byte step between rows and the size.
struct TPlaneView {
  std::uint8_t* Line0 = nullptr;
  std::ptrdiff_t Step = 0;
  int Width = 0;
  int Height = 0;

  bool Empty() const { return !Line0 || Width <= 0 || Height <= 0; }
  std::uint8_t* Row(int y) const { return Line0 + static_cast<std::ptrdiff_t>(y) * Step; }
};

// Every row and then every column convolved with the kernel for Sigma (accuracy 1, range
// 255), edge pixels repeated outside the plane, each result limited to 0..255 and truncated.
// Nothing for a sigma that is not positive.
void BlurPlane(const TPlaneView& plane, float Sigma);

// A glow through a blurred mask: mask pixel (x, y) lies over target pixel (X + x, Y + y);
// target pixels outside the view and mask values of 255 are left. For any other mask value m
// the glow's strength is w = 255 - m: alpha grows by (255 - alpha) * w shr 8 and each colour
// channel becomes (w * the colour's channel + channel * m) shr 8.
void ApplyGlowMask(const TPixelView& target, const TPlaneView& mask, int X, int Y, TColorValue Color);

// Three-tap smoothing of every row from the top, then every column from the left, each line
// computed from the line as it was. Transparent taps (alpha 0, or outside the line) take
// the colour of the last opaque tap met, so colours spread into the transparent border
// without darkening it; pixels with no opaque tap become 0.
void SmoothView(const TPixelView& view);
// One line of that smoothing: Out (as long as In) from In.
void SmoothLine(std::span<const TPixel32> in, std::span<TPixel32> out);

}  // namespace skin_layered
