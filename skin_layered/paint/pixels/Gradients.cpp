#include "skin_layered/paint/pixels/Gradients.h"

#include <algorithm>
#include <cstring>

namespace skin_layered {
namespace {

// The colours of a run of N + 1 pixels from Color1 to Color2: channels carried as floating
// point and stepped by (Color2 - Color1) / N, each pixel taking the truncated values.
class TColorRun {
 public:
  TColorRun(TColorValue color1, TColorValue color2, int steps, std::uint8_t alpha)
      : flat_(color1 == color2), alpha_(static_cast<TPixel32>(alpha) << 24) {
    for (int ch = 0; ch < 3; ++ch) {
      value_[ch] = (color1 >> (8 * ch)) & 0xFF;
      step_[ch] = (static_cast<double>((color2 >> (8 * ch)) & 0xFF) - value_[ch]) / steps;
    }
  }

  TPixel32 Next() {
    const TPixel32 pixel = Current();
    if (!flat_)
      for (int ch = 0; ch < 3; ++ch) value_[ch] += step_[ch];
    return pixel;
  }

 private:
  static TPixel32 Byte(double v) { return v <= 0 ? 0 : v >= 255 ? 255 : static_cast<TPixel32>(v); }
  // Red is channel 0 of the colour value and byte 2 of the pixel.
  TPixel32 Current() const { return alpha_ | Byte(value_[0]) << 16 | Byte(value_[1]) << 8 | Byte(value_[2]); }

  bool flat_;
  TPixel32 alpha_;
  double value_[3];
  double step_[3];
};

// The stops laid along an extent from First to Last (both included): Place(stop) gives the
// run's last index, which is the next run's first. Runs of fewer than one step are skipped.
template <class Place, class Paint>
void WalkStops(const TsGradArray& stops, int first, int last, Place place, Paint paint) {
  int end = first;
  const std::size_t lastStop = stops.size() - 1;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const int start = end;
    end = i < lastStop ? std::min(place(stops[i], start), last) : last;
    if (end - start > 0) paint(stops[i], start, end);
  }
}

void WalkVertical(const TsGradArray& stops, const TPixelRect& r, auto paint) {
  const int height = r.Height();
  WalkStops(stops, r.Top, r.Bottom - 1, [&](const TsGradStop& s, int start) { return start + height * s.Percent / 100; },
            paint);
}

void WalkHorizontal(const TsGradArray& stops, const TPixelRect& r, auto paint) {
  const double step = r.Width() / 100.0;
  WalkStops(stops, r.Left, r.Right - 1,
            [&](const TsGradStop& s, int start) { return static_cast<int>(s.Percent * step + start); }, paint);
}

// Row R.Top of a horizontal gradient, from R.Left to R.Right - 1.
void PaintHorizontalRow(const TPixelView& bmp, const TPixelRect& r, const TsGradArray& stops, std::uint8_t alpha) {
  TPixel32* row = bmp.Row(r.Top);
  WalkHorizontal(stops, r, [&](const TsGradStop& s, int start, int end) {
    TColorRun run(s.Color1, s.Color2, end - start, alpha);
    for (int x = start; x <= end; ++x) row[x] = run.Next();
  });
}

// Rows From..From+Count-1 over R's span take the span of row Source.
void CopySpanDown(const TPixelView& bmp, const TPixelRect& r, int source, int from, int count) {
  const std::size_t bytes = static_cast<std::size_t>(r.Width()) * sizeof(TPixel32);
  const TPixel32* span = bmp.Row(source) + r.Left;
  for (int y = from; y < from + count; ++y) std::memcpy(bmp.Row(y) + r.Left, span, bytes);
}

// The texture area, cut to the texture; empty when nothing of it remains.
TPixelRect TextureArea(const TPixelView& texture, TPixelRect area) {
  if (texture.Empty()) return {};
  if (area.IsEmpty()) area = {0, 0, texture.Width, texture.Height};
  area.Left = std::max(area.Left, 0);
  area.Top = std::max(area.Top, 0);
  area.Right = std::min(area.Right, texture.Width);
  area.Bottom = std::min(area.Bottom, texture.Height);
  return area;
}

// Gradient colour G mixed with texture pixel T by the texture's weight, alpha set.
inline TPixel32 MixTexture(TPixel32 g, TPixel32 t, unsigned weight, TPixel32 alpha) {
  const unsigned keep = 256 - weight;
  const std::uint32_t rb = (((t & 0xFF00FFu) * weight + (g & 0xFF00FFu) * keep) >> 8) & 0xFF00FFu;
  const std::uint32_t green = (((t & 0xFF00u) * weight + (g & 0xFF00u) * keep) >> 8) & 0xFF00u;
  return alpha | rb | green;
}

}  // namespace

std::vector<std::wstring_view> GradientItems(std::wstring_view text) {
  std::vector<std::wstring_view> items;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = text.find_first_not_of(L';', pos);
    if (start == std::wstring_view::npos) break;
    const std::size_t end = std::min(text.find(L';', start), text.size());
    items.push_back(text.substr(start, end - start));
    pos = end;
  }
  return items;
}

TPixelRect ClipToView(TPixelRect r, const TPixelView& view) {
  r.Right = std::min(r.Right, view.Width);
  r.Bottom = std::min(r.Bottom, view.Height);
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  return r;
}

void PaintGradientPixels(const TPixelView& bmp, TPixelRect r, const TsGradArray& stops, std::uint8_t alpha) {
  r = ClipToView(r, bmp);
  if (bmp.Empty() || r.IsEmpty() || stops.empty()) return;
  switch (stops.front().Mode) {
    case kGradientVertical:
      WalkVertical(stops, r, [&](const TsGradStop& s, int start, int end) {
        TColorRun run(s.Color1, s.Color2, end - start, alpha);
        for (int y = start; y <= end; ++y) std::fill_n(bmp.Row(y) + r.Left, r.Width(), run.Next());
      });
      break;
    case kGradientHorizontal:
      PaintHorizontalRow(bmp, r, stops, alpha);
      CopySpanDown(bmp, r, r.Top, r.Top + 1, r.Height() - 1);
      break;
    default:
      break;
  }
}

void PaintGradientTexturedPixels(const TPixelView& bmp, TPixelRect r, const TsGradArray& stops, std::uint8_t alpha,
                                 std::uint8_t textureWeight, const TPixelView& texture, TPixelRect textureRect) {
  r = ClipToView(r, bmp);
  const TPixelRect tex = TextureArea(texture, textureRect);
  if (bmp.Empty() || r.IsEmpty() || stops.empty() || tex.IsEmpty()) return;
  const int texWidth = tex.Width(), texHeight = tex.Height();
  const TPixel32 alphaBits = static_cast<TPixel32>(alpha) << 24;
  // Row Y mixed with its texture row, each pixel from Colour(x).
  auto mixRow = [&](int y, auto color) {
    TPixel32* row = bmp.Row(y);
    const TPixel32* texRow = texture.Row(tex.Top + y % texHeight) + tex.Left;
    for (int x = r.Left; x < r.Right; ++x) row[x] = MixTexture(color(x), texRow[x % texWidth], textureWeight, alphaBits);
  };
  switch (stops.front().Mode) {
    case kGradientVertical:
      WalkVertical(stops, r, [&](const TsGradStop& s, int start, int end) {
        TColorRun run(s.Color1, s.Color2, end - start, alpha);
        for (int y = start; y <= end; ++y) {
          const TPixel32 g = run.Next();
          mixRow(y, [g](int) { return g; });
        }
      });
      break;
    case kGradientHorizontal: {
      PaintHorizontalRow(bmp, r, stops, alpha);
      // One texture-high block is mixed, the top row last as the others read it; then the
      // block is repeated down to the bottom.
      const int tile = std::min(texHeight, r.Height());
      const TPixel32* top = bmp.Row(r.Top);
      for (int y = r.Top + 1; y < r.Top + tile; ++y) mixRow(y, [top](int x) { return top[x]; });
      mixRow(r.Top, [top](int x) { return top[x]; });
      for (int y = r.Top + tile; y < r.Bottom; y += tile) {
        const int rows = std::min(tile, r.Bottom - y);
        for (int k = 0; k < rows; ++k) CopySpanDown(bmp, r, r.Top + k, y + k, 1);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace skin_layered
