// Speed of the layered engine's hot pixel loops on a 1920 x 1080 32-bit bitmap: the alpha
// copy, the constant-weight blend, the two-bitmap mix and the filtered resampler, each beside
// a plain scalar loop written here that computes the same pixels (checked). Figures are
// megapixels of the 1920 x 1080 source per second, the best of several runs.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "skin_layered/paint/pixels/Blending.h"
#include "skin_layered/paint/pixels/Resampler.h"

namespace {

using namespace skin_layered;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::uint32_t Noise(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  return x ^ (x >> 16);
}

struct Image {
  int width, height;
  std::vector<TPixel32> pixels;
  Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}
  TPixelView View() { return {reinterpret_cast<std::uint8_t*>(pixels.data()), std::ptrdiff_t{width} * 4, width, height}; }
  TPixel32* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
};

// A skin-like picture: smooth shading, a soft alpha edge, some holes.
Image Picture(std::uint32_t seed) {
  Image img(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t n = Noise(seed + static_cast<std::uint32_t>(y * kWidth + x));
      const unsigned alpha = std::min(255, std::abs(x - kWidth / 2) / 3);
      TPixel32 p = (alpha << 24) | ((x + y) & 0xFF) << 16 | (y & 0xFF) << 8 | (n & 0x3F);
      if (n % 97 == 0) p = kHolePixel;
      img.Row(y)[x] = p;
    }
  return img;
}

// The scalar references: one pixel, one channel at a time, as the formulas read.
#if defined(__clang__)
#define SCALAR_LOOP _Pragma("clang loop vectorize(disable) interleave(disable)")
#else
#define SCALAR_LOOP
#endif

void ScalarAlphaBlend(Image& dst, const Image& src) {
  for (int y = 0; y < dst.height; ++y) {
    TPixel32* d = dst.Row(y);
    const TPixel32* s = src.pixels.data() + static_cast<std::size_t>(y) * src.width;
    SCALAR_LOOP
    for (int x = 0; x < dst.width; ++x) {
      if (s[x] == kHolePixel) continue;
      const int a = static_cast<int>(s[x] >> 24);
      TPixel32 out = 0;
      for (int ch = 0; ch < 24; ch += 8) {
        const int sc = static_cast<int>((s[x] >> ch) & 0xFF), dc = static_cast<int>((d[x] >> ch) & 0xFF);
        out |= static_cast<TPixel32>(((sc - dc) * a + dc * 256) >> 8) << ch;
      }
      d[x] = out | static_cast<TPixel32>(std::max(a, static_cast<int>(d[x] >> 24))) << 24;
    }
  }
}

void ScalarConstantBlend(Image& dst, const Image& src, int keep) {
  for (int y = 0; y < dst.height; ++y) {
    TPixel32* d = dst.Row(y);
    const TPixel32* s = src.pixels.data() + static_cast<std::size_t>(y) * src.width;
    SCALAR_LOOP
    for (int x = 0; x < dst.width; ++x) {
      TPixel32 out = 0;
      for (int ch = 0; ch < 32; ch += 8) {
        const int sc = static_cast<int>((s[x] >> ch) & 0xFF), dc = static_cast<int>((d[x] >> ch) & 0xFF);
        out |= static_cast<TPixel32>(((dc - sc) * keep + sc * 256) >> 8) << ch;
      }
      d[x] = out;
    }
  }
}

void ScalarMix(Image& out, const Image& a, const Image& b, int w) {
  for (int y = 0; y < out.height; ++y) {
    TPixel32* o = out.Row(y);
    const TPixel32* pa = a.pixels.data() + static_cast<std::size_t>(y) * a.width;
    const TPixel32* pb = b.pixels.data() + static_cast<std::size_t>(y) * b.width;
    SCALAR_LOOP
    for (int x = 0; x < out.width; ++x) {
      TPixel32 p = o[x] & 0xFF000000u;
      for (int ch = 0; ch < 24; ch += 8) {
        const int ac = static_cast<int>((pa[x] >> ch) & 0xFF), bc = static_cast<int>((pb[x] >> ch) & 0xFF);
        p |= static_cast<TPixel32>(((ac - bc) * w + bc * 256) >> 8) << ch;
      }
      o[x] = p;
    }
  }
}

// The two passes of the resampler as written out: rows, then each column in turn.
void ScalarResample(const Image& src, Image& dst, int filter) {
  TContributorList across, down;
  BuildContributors(across, dst.width, src.width, 1, filter);
  BuildContributors(down, dst.height, src.height, 1, filter);
  Image mid(dst.width, src.height);
  auto put = [](long long sum) -> TPixel32 { return sum < 0 ? 0 : sum > 0xFF0000 ? 255 : static_cast<TPixel32>(sum >> 16); };
  for (int y = 0; y < src.height; ++y) {
    const TPixel32* s = src.pixels.data() + static_cast<std::size_t>(y) * src.width;
    for (int x = 0; x < dst.width; ++x) {
      TPixel32 p = 0;
      for (int ch = 0; ch < 32; ch += 8) {
        long long sum = 0;
        SCALAR_LOOP
        for (const TContribution& c : across.Of(x)) sum += c.Weight * static_cast<long long>((s[c.Offset] >> ch) & 0xFF);
        p |= put(sum) << ch;
      }
      mid.Row(y)[x] = p;
    }
  }
  for (int x = 0; x < dst.width; ++x)
    for (int y = 0; y < dst.height; ++y) {
      TPixel32 p = 0;
      for (int ch = 0; ch < 32; ch += 8) {
        long long sum = 0;
        SCALAR_LOOP
        for (const TContribution& c : down.Of(y))
          sum += c.Weight * static_cast<long long>((mid.Row(static_cast<int>(c.Offset))[x] >> ch) & 0xFF);
        p |= put(sum) << ch;
      }
      dst.Row(y)[x] = p;
    }
}

// Seconds of the fastest of several runs (each run restores its input first, untimed).
double Best(const std::function<void()>& prepare, const std::function<void()>& run) {
  double best = 1e9;
  for (int i = 0; i < 7; ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

void Row(const std::string& name, double ours, double reference, bool same) {
  const double mp = kWidth * static_cast<double>(kHeight) / 1e6;
  std::printf("| %-34s | %11.1f | %11.1f | %5.1fx | %-6s |\n", name.c_str(), mp / ours, mp / reference, reference / ours,
              same ? "same" : "DIFFERENT");
  if (!same) std::exit(1);
}

}  // namespace

int main() {
  const Image source = Picture(1), background = Picture(7);
  Image a = background, b = background;

  std::printf("Pixel loops on a %dx%d 32-bit bitmap, megapixels of it per second (best of 7)\n\n", kWidth, kHeight);
  std::printf("| %-34s | %11s | %11s | %6s | %-6s |\n", "loop", "ours MP/s", "scalar MP/s", "ratio", "pixels");
  std::printf("|%s|%s|%s|%s|%s|\n", std::string(36, '-').c_str(), std::string(13, '-').c_str(),
              std::string(13, '-').c_str(), std::string(8, '-').c_str(), std::string(8, '-').c_str());

  auto resetA = [&] { a = background; };
  auto resetB = [&] { b = background; };
  {
    const double ours = Best(resetA, [&] {
      for (int y = 0; y < kHeight; ++y) AlphaBlendRow(a.Row(y), source.pixels.data() + std::size_t{1} * y * kWidth, kWidth);
    });
    const double ref = Best(resetB, [&] { ScalarAlphaBlend(b, source); });
    Row("alpha copy (CopyTransBitmaps)", ours, ref, a.pixels == b.pixels);
  }
  {
    const double ours = Best(resetA, [&] {
      for (int y = 0; y < kHeight; ++y) ConstantBlendRow(a.Row(y), source.pixels.data() + std::size_t{1} * y * kWidth, kWidth, 100);
    });
    const double ref = Best(resetB, [&] { ScalarConstantBlend(b, source, 100); });
    Row("constant blend (BlendTransRect)", ours, ref, a.pixels == b.pixels);
  }
  {
    Image mixedA = background, mixedB = background;
    const double ours = Best([] {}, [&] {
      TPixelView out = mixedA.View(), x = const_cast<Image&>(source).View(), y = const_cast<Image&>(background).View();
      MixViews(out, x, y, 170, nullptr);
    });
    const double ref = Best([] {}, [&] { ScalarMix(mixedB, source, background, 170); });
    Row("mix of two bitmaps (MixBitmaps)", ours, ref, mixedA.pixels == mixedB.pixels);
  }
  struct Case {
    const char* name;
    int width, height, filter;
  };
  for (const Case& c : {Case{"resample to 960x540, box", 960, 540, kBoxFilter},
                        Case{"resample to 1280x720, Mitchell", 1280, 720, kMitchellFilter},
                        Case{"resample to 1280x720, sinc", 1280, 720, kSincFilter},
                        Case{"resample to 2880x1620, triangle", 2880, 1620, kTriangleFilter}}) {
    Image ours(c.width, c.height), ref(c.width, c.height);
    Image& src = const_cast<Image&>(source);
    const double t1 = Best([] {}, [&] { ResamplePixels(src.View(), ours.View(), c.filter); });
    const double t2 = Best([] {}, [&] { ScalarResample(source, ref, c.filter); });
    Row(c.name, t1, t2, ours.pixels == ref.pixels);
  }
  return 0;
}
