#include "skin_layered/paint/pixels/Blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace skin_layered {
namespace {

constexpr unsigned Channel(TPixel32 p, unsigned index) { return (p >> (8 * index)) & 0xFFu; }

// One line of a plane convolved with the kernel into Out, edge pixels repeated.
void ConvolveLine(const std::uint8_t* in, int n, const TBlurKernel& k, std::uint8_t* out) {
  const int r = k.Radius;
  for (int x = 0; x < n; ++x) {
    float sum = 0;
    for (int j = -r; j <= r; ++j) {
      const int at = std::clamp(x - j, 0, n - 1);
      sum += static_cast<float>(in[at]) * k.Weight(j);
    }
    out[x] = static_cast<std::uint8_t>(std::clamp(sum, 0.0f, 255.0f));
  }
}

// A pixel's three colour channels and alpha as separate sums.
struct TSums {
  int B = 0, G = 0, R = 0, A = 0;
  void AddThirds(TPixel32 p, int divisor) {
    B += static_cast<int>(Channel(p, 0)) / divisor;
    G += static_cast<int>(Channel(p, 1)) / divisor;
    R += static_cast<int>(Channel(p, 2)) / divisor;
  }
};

}  // namespace

void SmoothLine(std::span<const TPixel32> in, std::span<TPixel32> out) {
  const int n = static_cast<int>(std::min(in.size(), out.size()));
  for (int i = 0; i < n; ++i) {
    TSums sum, spare;
    int missing = 0;
    bool haveLast = false;
    TPixel32 last = 0;  // the last opaque tap met
    for (const int t : {i + 1, i, i - 1}) {
      if (t >= 0 && t < n && Channel(in[static_cast<std::size_t>(t)], 3) > 0) {
        last = in[static_cast<std::size_t>(t)];
        haveLast = true;
        sum.AddThirds(last, 3);
        sum.A += static_cast<int>(Channel(last, 3)) / 3 + 1;
      } else if (haveLast) {
        spare.AddThirds(last, 3);
        spare.A += static_cast<int>(Channel(last, 3)) / 3;
      } else {
        ++missing;
      }
    }
    if (missing > 0 && haveLast) {
      spare.AddThirds(last, 3 * missing);
      spare.A += static_cast<int>(Channel(last, 3)) / (3 * missing);
    }
    if (spare.A > 0) {
      sum.B += spare.B;
      sum.G += spare.G;
      sum.R += spare.R;
    }
    if (sum.A <= 0) {
      out[static_cast<std::size_t>(i)] = 0;
      continue;
    }
    const auto limit = [](int v) { return static_cast<TPixel32>(std::min(v, 255)); };
    out[static_cast<std::size_t>(i)] = limit(sum.A) << 24 | limit(sum.R) << 16 | limit(sum.G) << 8 | limit(sum.B);
  }
}

TBlurKernel MakeBlurKernel(float Accuracy, float Range, float Sigma) {
  constexpr int kMax = TBlurKernel::kMaxRadius;
  TBlurKernel k;
  if (!(Sigma > 0)) {  // also a NaN: nothing to spread
    k.Weights[kMax] = 1;
    return k;
  }
  double w[2 * kMax + 1];
  double sum = 0;
  for (int i = -kMax; i <= kMax; ++i) {
    const double x = static_cast<double>(i) / static_cast<double>(Sigma);
    // Rounded half to even: a weight of exactly one half counts as 0.
    w[i + kMax] = std::nearbyint(std::exp(-x * x / 2));
    sum += w[i + kMax];
  }
  for (double& v : w) v /= sum;  // the middle weight is 1, so the sum is never 0

  const double enough = static_cast<double>(Accuracy) / (2.0 * static_cast<double>(Range));
  int r = kMax;
  double trimmed = 0;
  while (trimmed < enough && r >= 2) {
    trimmed += 2 * w[r + kMax];
    --r;
  }
  sum = 0;
  for (int i = -r; i <= r; ++i) sum += w[i + kMax];
  k.Radius = static_cast<std::uint8_t>(r);
  for (int i = -r; i <= r; ++i) k.Weights[static_cast<std::size_t>(i + kMax)] = static_cast<float>(w[i + kMax] / sum);
  return k;
}

void BlurPlane(const TPlaneView& plane, float Sigma) {
  if (plane.Empty() || !(Sigma > 0)) return;
  const TBlurKernel k = MakeBlurKernel(1.0f, 255.0f, Sigma);
  std::vector<std::uint8_t> line(static_cast<std::size_t>(std::max(plane.Width, plane.Height)));
  std::vector<std::uint8_t> out(line.size());
  for (int y = 0; y < plane.Height; ++y) {
    std::uint8_t* row = plane.Row(y);
    ConvolveLine(row, plane.Width, k, out.data());
    std::copy_n(out.data(), plane.Width, row);
  }
  for (int x = 0; x < plane.Width; ++x) {
    for (int y = 0; y < plane.Height; ++y) line[static_cast<std::size_t>(y)] = plane.Row(y)[x];
    ConvolveLine(line.data(), plane.Height, k, out.data());
    for (int y = 0; y < plane.Height; ++y) plane.Row(y)[x] = out[static_cast<std::size_t>(y)];
  }
}

void ApplyGlowMask(const TPixelView& target, const TPlaneView& mask, int X, int Y, TColorValue Color) {
  if (target.Empty() || mask.Empty()) return;
  // The mask columns and rows that fall inside the target.
  const auto first = [](int at, int size) {
    return static_cast<int>(std::clamp<long long>(-static_cast<long long>(at), 0, size));
  };
  const auto last = [](int at, int size, int limit) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(limit) - at, 0, size));
  };
  const int x0 = first(X, mask.Width), x1 = last(X, mask.Width, target.Width);
  const int y0 = first(Y, mask.Height), y1 = last(Y, mask.Height, target.Height);
  if (x0 >= x1 || y0 >= y1) return;
  const unsigned cr = Color & 0xFF, cg = (Color >> 8) & 0xFF, cb = (Color >> 16) & 0xFF;
  for (int y = y0; y < y1; ++y) {
    const std::uint8_t* m = mask.Row(y);
    TPixel32* d = target.Row(Y + y);
    for (int x = x0; x < x1; ++x) {
      const unsigned keep = m[x];
      if (keep == 255) continue;
      const unsigned w = 255 - keep;
      TPixel32& pixel = d[X + x];
      const TPixel32 p = pixel;
      const unsigned a = Channel(p, 3);
      const unsigned alpha = a + (((255 - a) * w) >> 8);
      const unsigned b = (w * cb + Channel(p, 0) * keep) >> 8;
      const unsigned g = (w * cg + Channel(p, 1) * keep) >> 8;
      const unsigned r = (w * cr + Channel(p, 2) * keep) >> 8;
      pixel = alpha << 24 | r << 16 | g << 8 | b;
    }
  }
}

void SmoothView(const TPixelView& view) {
  if (view.Empty()) return;
  std::vector<TPixel32> line, out;
  line.resize(static_cast<std::size_t>(view.Width));
  out.resize(line.size());
  for (int y = 0; y < view.Height; ++y) {
    TPixel32* row = view.Row(y);
    std::copy_n(row, view.Width, line.begin());
    SmoothLine(line, out);
    std::copy(out.begin(), out.end(), row);
  }
  line.resize(static_cast<std::size_t>(view.Height));
  out.resize(line.size());
  for (int x = 0; x < view.Width; ++x) {
    for (int y = 0; y < view.Height; ++y) line[static_cast<std::size_t>(y)] = view.Row(y)[x];
    SmoothLine(line, out);
    for (int y = 0; y < view.Height; ++y) view.Row(y)[x] = out[static_cast<std::size_t>(y)];
  }
}

}  // namespace skin_layered
