// A 32-bit image in plain memory for the native pixel tests, top-down or bottom-up.
#pragma once

#include <cstdint>
#include <vector>

#include "PixelChecks.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered::test {

constexpr TPixel32 Bgra(unsigned b, unsigned g, unsigned r, unsigned a) { return a << 24 | r << 16 | g << 8 | b; }

class PixelImage {
 public:
  PixelImage(int width, int height, TPixel32 fill = 0, bool bottomUp = false)
      : width_(width), height_(height), bottomUp_(bottomUp),
        pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

  TPixelView View() {
    auto* base = reinterpret_cast<std::uint8_t*>(pixels_.data());
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width_) * 4;
    if (!bottomUp_) return {base, stride, width_, height_};
    return {base + stride * (height_ - 1), -stride, width_, height_};
  }
  TPixel32& At(int x, int y) { return View().Row(y)[x]; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
  bool bottomUp_;
  std::vector<TPixel32> pixels_;
};

// For PixelImage and the other images of the native tests that read a pixel with At.
template <class Image>
::testing::AssertionResult PixelsAre(Image& image, std::initializer_list<Probe> expected) {
  return EveryPixel(expected, [&](int x, int y) { return image.At(x, y); });
}

// The one-channel blend of a source channel over a destination channel by the source's weight.
constexpr unsigned Blend(unsigned s, unsigned d, unsigned w) {
  return static_cast<unsigned>(((static_cast<int>(s) - static_cast<int>(d)) * static_cast<int>(w) +
                                static_cast<int>(d) * 256) >> 8);
}

// Deterministic noise for pixel data.
inline std::uint32_t Noise(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  return x ^ (x >> 16);
}

}  // namespace skin_layered::test
