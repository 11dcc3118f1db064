// The blur kernel, the plane blur, the glow mask's blend and the three-tap smoothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "PixelImage.h"
#include "skin_layered/paint/pixels/Blur.h"

namespace skin_layered::test {
namespace {

// A grey plane in plain memory, top-down or bottom-up.
struct TPlane {
  int width, height;
  bool bottomUp;
  std::vector<std::uint8_t> bytes;
  TPlane(int w, int h, std::uint8_t fill, bool up = false)
      : width(w), height(h), bottomUp(up), bytes(static_cast<std::size_t>(w * h), fill) {}
  TPlaneView View() {
    if (!bottomUp) return {bytes.data(), width, width, height};
    return {bytes.data() + static_cast<std::ptrdiff_t>(width) * (height - 1), -width, width, height};
  }
  std::uint8_t& At(int x, int y) { return View().Row(y)[x]; }
};

float SumOf(const TBlurKernel& k) {
  float sum = 0;
  for (int i = -k.Radius; i <= k.Radius; ++i) sum += k.Weight(i);
  return sum;
}

TEST(BlurKernel, FlatWeightsTrimmedByTheirOutermostPair) {
  // Sigma 2: five weights of 1 (|i| <= 2.35); the trim drops the outer pair, leaving three.
  const TBlurKernel two = MakeBlurKernel(1.0f, 255.0f, 2.0f);
  EXPECT_EQ(two.Radius, 1);
  EXPECT_FLOAT_EQ(two.Weight(-1), 1.0f / 3);
  EXPECT_EQ(MakeBlurKernel(1.0f, 255.0f, 40.0f).Radius, 15);  // never wider
  for (const float sigma : {0.5f, 3.0f, 13.0f}) EXPECT_NEAR(SumOf(MakeBlurKernel(1.0f, 255.0f, sigma)), 1.0f, 1e-5);
}

TEST(BlurKernel, ANonPositiveSigmaChangesNothing) {
  for (const float sigma : {0.0f, -3.0f, NAN}) {
    const TBlurKernel k = MakeBlurKernel(1.0f, 255.0f, sigma);
    EXPECT_EQ(k.Radius, 0);
    EXPECT_FLOAT_EQ(k.Weight(0), 1.0f);
  }
  TPlane plane(5, 5, 255);
  plane.At(2, 2) = 0;
  BlurPlane(plane.View(), 0.0f);
  BlurPlane(plane.View(), -1.0f);
  EXPECT_TRUE(PixelsAre(plane, {{2, 2, 0}, {1, 2, 255}}));
}

TEST(BlurPlane, ADarkPixelSpreadsEvenlyWithinTheRadius) {
  for (const bool bottomUp : {false, true}) {
    TPlane plane(9, 7, 255, bottomUp);
    plane.At(4, 3) = 0;
    BlurPlane(plane.View(), 2.0f);  // radius 1
    const int centre = plane.At(4, 3);
    EXPECT_LT(centre, 255);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        EXPECT_LE(centre, plane.At(4 + dx, 3 + dy));
        EXPECT_LT(plane.At(4 + dx, 3 + dy), 255);
        EXPECT_EQ(plane.At(4 + dx, 3 + dy), plane.At(4 - dx, 3 - dy));  // symmetric
      }
    EXPECT_GE(plane.At(2, 3), 254);
    EXPECT_GE(plane.At(4, 1), 254);
    EXPECT_GE(plane.At(0, 0), 254);
  }
  // Edges repeat their pixel: a flat plane stays flat, one pixel wide or one high too.
  for (auto [w, h] : {std::pair{6, 6}, {1, 5}, {5, 1}}) {
    TPlane flat(w, h, 100);
    BlurPlane(flat.View(), 5.0f);
    for (std::uint8_t v : flat.bytes) EXPECT_NEAR(v, 100, 1);
  }
}

TEST(ApplyGlowMask, StrengthIsTheMasksDarkness) {
  PixelImage target(3, 1, Bgra(10, 20, 30, 0));
  TPlane mask(3, 1, 255);
  mask.At(0, 0) = 0;
  mask.At(1, 0) = 128;
  ApplyGlowMask(target.View(), mask.View(), 0, 0, 0x0000FF);  // red
  EXPECT_EQ(target.At(0, 0), Bgra(0, 0, 254, 254));
  EXPECT_EQ(target.At(1, 0), Bgra(10 * 128 >> 8, 20 * 128 >> 8, (127 * 255 + 30 * 128) >> 8, (255 * 127) >> 8));
  EXPECT_EQ(target.At(2, 0), Bgra(10, 20, 30, 0));  // 255 leaves the pixel
  // An opaque pixel stays opaque.
  PixelImage opaque(1, 1, Bgra(0, 0, 0, 255));
  ApplyGlowMask(opaque.View(), mask.View(), 0, 0, 0xFFFFFF);
  EXPECT_EQ(opaque.At(0, 0) >> 24, 255u);
}

TEST(ApplyGlowMask, ClippedToTheTarget) {
  PixelImage target(4, 4, Bgra(0, 0, 0, 0), true);
  TPlane mask(6, 6, 0);
  ApplyGlowMask(target.View(), mask.View(), -3, 2, 0xFFFFFF);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(target.At(x, y) != 0, x < 3 && y >= 2) << x << "," << y;
  ApplyGlowMask(target.View(), mask.View(), 100, -100, 0xFFFFFF);
  ApplyGlowMask(target.View(), mask.View(), INT32_MIN, INT32_MAX, 0xFFFFFF);
}

TEST(SmoothLine, OpaqueNeighboursAverageAndTransparentOnesTakeTheLastOpaqueColour) {
  const TPixel32 p = Bgra(30, 60, 91, 255), q = Bgra(100, 200, 50, 255), r = Bgra(9, 3, 250, 255);
  std::vector<TPixel32> out(3);
  const std::vector<TPixel32> opaque{p, q, r};
  SmoothLine(opaque, out);
  EXPECT_EQ(out[1], Bgra(30 / 3 + 100 / 3 + 9 / 3, 60 / 3 + 200 / 3 + 3 / 3, 91 / 3 + 50 / 3 + 250 / 3, 255));

  // A transparent pixel after a transparent one and before an opaque q.
  const std::vector<TPixel32> fading{0, 0, q};
  SmoothLine(fading, out);
  EXPECT_EQ(out[1], Bgra(3 * (100 / 3), 3 * (200 / 3), 3 * (50 / 3), 255 / 3 + 1));
  EXPECT_EQ(out[0], 0u);  // no opaque tap

  // Alpha counts only opaque taps; a line end spreads the last colour over the missing tap.
  out.resize(1);
  SmoothLine(std::vector<TPixel32>{Bgra(90, 90, 90, 90)}, out);
  EXPECT_EQ(out[0], Bgra(90, 90, 90, 90 / 3 + 1));
}

TEST(SmoothView, RowsThenColumns) {
  PixelImage image(5, 5, 0);
  image.At(2, 2) = Bgra(90, 90, 90, 255);
  SmoothView(image.View());
  // The pixel's colour spreads to its eight neighbours and no further.
  EXPECT_TRUE(PixelsAre(image, {{0, 0, 0u}, {4, 2, 0u}}));
  EXPECT_NE(image.At(1, 1), 0u);
  EXPECT_NE(image.At(3, 3), 0u);
  EXPECT_EQ(image.At(2, 0), 0u);
  EXPECT_EQ(image.At(1, 2) >> 24, image.At(3, 2) >> 24);
  EXPECT_EQ(image.At(2, 1) >> 24, image.At(2, 3) >> 24);
  SmoothView(TPixelView{});
}

}  // namespace
}  // namespace skin_layered::test
