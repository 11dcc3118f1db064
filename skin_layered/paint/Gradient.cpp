#include "skin_layered/paint/Gradient.h"

#include <algorithm>
#include <array>
#include <memory>

#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered {
namespace {

using vcl::TBitmap;
using vcl::TRect;

TPixelRect PixelRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

TRIVERTEX Vertex(LONG x, LONG y, TColorValue color) {
  // 16-bit channels: the 8-bit ones shifted up a byte.
  return TRIVERTEX{x, y, static_cast<COLOR16>((color & 0xFF) << 8), static_cast<COLOR16>(color & 0xFF00),
                   static_cast<COLOR16>((color >> 8) & 0xFF00), 0xFF00};
}

void PaintMesh(TBitmap* bmp, const TRect& area, const TsGradArray& stops) {
  const TGradientFillProc gradientFill = GradientFillProc();
  if (!gradientFill || !bmp || bmp->Empty()) return;
  const TPixelRect r = ClipToView(PixelRect(area), TPixelView{nullptr, 0, bmp->Width(), bmp->Height()});
  if (r.IsEmpty()) return;
  // A corner whose stop is missing takes the colour of the vertex before it.
  std::array<TColorValue, 5> colors{};
  for (std::size_t i = 0; i < colors.size(); ++i)
    colors[i] = i < stops.size() ? stops[i].Color1 : colors[i == 0 ? 0 : i - 1];
  std::array<TRIVERTEX, 5> vertices{Vertex(r.Left, r.Top, colors[0]),
                                    Vertex(r.Left + r.Width() / 2, r.Top + r.Height() / 2, colors[1]),
                                    Vertex(r.Right, r.Top, colors[2]), Vertex(r.Right, r.Bottom, colors[3]),
                                    Vertex(r.Left, r.Bottom, colors[4])};
  std::array<GRADIENT_TRIANGLE, 4> triangles{{{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}}};
  gradientFill(bmp->Canvas()->Handle(), vertices.data(), static_cast<ULONG>(vertices.size()), triangles.data(),
               static_cast<ULONG>(triangles.size()), GRADIENT_FILL_TRIANGLE);
}

}  // namespace

void PrepareGradientArray(vcl::StringView Text, TsGradArray& Stops) {
  Stops.clear();
  const auto items = GradientItems(Text);
  TsGradArray stops;
  stops.reserve(items.size() / 5);
  auto color = [](vcl::StringView item) {
    return static_cast<TColorValue>(vcl::ColorToRGB(static_cast<vcl::TColor>(vcl::StrToInt(item))));
  };
  for (std::size_t i = 0; i + 5 <= items.size(); i += 5) {
    TsGradStop stop;
    stop.Color1 = color(items[i]);
    stop.Color2 = color(items[i + 1]);
    stop.Percent = static_cast<std::uint8_t>(std::clamp(vcl::StrToInt(items[i + 2]), 0, 100));
    stop.Mode = vcl::StrToInt(items[i + 3]);
    stops.push_back(stop);
  }
  Stops = std::move(stops);
}

void PaintGradient(TBitmap* Bmp, const TRect& R, const TsGradArray& Stops) {
  if (Stops.empty()) return;
  if (Stops.front().Mode == kGradientMesh) {
    PaintMesh(Bmp, R, Stops);
    return;
  }
  TPixelView view;
  if (InitPixelView(Bmp, view)) PaintGradientPixels(view, PixelRect(R), Stops, 255);
}

void PaintGradientTransparent(TBitmap* Bmp, const TRect& R, const TsGradArray& Stops, std::uint8_t Alpha,
                              std::uint8_t TextureWeight, const TRect& TextureRect, TBitmap* Texture) {
  TPixelView view, texture;
  if (Stops.empty() || !Texture || !InitPixelView(Bmp, view)) return;
  std::unique_ptr<TBitmap> copy;
  if (!InitPixelView(Texture, texture)) {
    copy = Bmp32Copy(Texture, false);
    if (!copy || !InitPixelView(copy.get(), texture)) return;
  }
  PaintGradientTexturedPixels(view, PixelRect(R), Stops, Alpha, TextureWeight, texture, PixelRect(TextureRect));
}

}  // namespace skin_layered
