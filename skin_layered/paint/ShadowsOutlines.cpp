#include "skin_layered/paint/ShadowsOutlines.h"

#include <algorithm>

#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {

void PaintShadowRect(vcl::TBitmap* Bmp, const vcl::TRect& R, int Transp, int Radius, int Blur, vcl::TColor Color) {
  const int width = R.Width(), height = R.Height();
  if (!Bmp || Bmp->Empty() || width <= 0 || height <= 0) return;
  const auto copy = CreateBmp32(width, height);
  const auto mask = CreateBmp32(width, height);
  HDC target = Bmp->Canvas()->Handle();
  HDC copyDC = copy->Canvas()->Handle();
  BitBlt(copyDC, 0, 0, width, height, target, R.Left, R.Top, SRCCOPY);

  const int half = std::min(width, height) / 2;
  const int steps = std::clamp(Blur, 0, half);
  const int corner = 2 * std::clamp(Radius, 0, half);
  const int strength = std::clamp(Transp, 0, 100) * 255 / 100;
  HDC maskDC = mask->Canvas()->Handle();
  {
    const vcl::UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    const RECT all{0, 0, width, height};
    FillRect(maskDC, &all, white.get());
    const vcl::SelectGuard noPen(maskDC, GetStockObject(NULL_PEN));
    for (int i = 0; i <= steps; ++i) {
      const int level = 255 - (255 - strength) * (i + 1) / (steps + 1);
      const vcl::UniqueBrush grey(CreateSolidBrush(RGB(level, level, level)));
      const vcl::SelectGuard brush(maskDC, grey.get());
      // Without a pen the shape loses its last column and row: one more keeps the inset even.
      RoundRect(maskDC, i, i, width - i + 1, height - i + 1, corner, corner);
    }
  }
  GdiFlush();
  TPixelView pixels, grey;
  if (!InitPixelView(copy.get(), pixels) || !InitPixelView(mask.get(), grey)) return;
  ShadeTowardColor(pixels, grey, static_cast<TColorValue>(vcl::ColorToRGB(Color)));
  BitBlt(target, R.Left, R.Top, width, height, copyDC, 0, 0, SRCCOPY);
}

void DrawFrame3D(HDC DC, vcl::TRect& R, vcl::TColor TopLeft, int& Width, vcl::TColor BottomRight) {
  const vcl::UniquePen light(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(vcl::ColorToRGB(TopLeft))));
  const vcl::UniquePen dark(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(vcl::ColorToRGB(BottomRight))));
  const vcl::SelectGuard brush(DC, GetStockObject(NULL_BRUSH));
  const vcl::SelectGuard pen(DC, light.get());
  --R.Right;
  --R.Bottom;
  while (Width > 0) {
    --Width;
    const POINT topLeft[3] = {{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}};
    SelectObject(DC, light.get());
    Polyline(DC, topLeft, 3);
    const POINT bottomRight[3] = {{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left - 1, R.Bottom}};
    SelectObject(DC, dark.get());
    Polyline(DC, bottomRight, 3);
    R.Inflate(-1, -1);
  }
  ++R.Right;
  ++R.Bottom;
}

void DrawDottedRect(vcl::TCanvas* Canvas, const vcl::TRect& R, vcl::TColor C1, vcl::TColor C2) {
  if (!Canvas || R.IsEmpty()) return;
  auto dot = [&](int x, int y) {
    const vcl::TColor color = (x + y) % 2 == 0 ? C1 : C2;
    if (color != vcl::clNone) Canvas->SetPixels(x, y, color);
  };
  for (int x = R.Left; x < R.Right; ++x) {
    dot(x, R.Top);
    if (R.Bottom - 1 > R.Top) dot(x, R.Bottom - 1);
  }
  for (int y = R.Top + 1; y < R.Bottom - 1; ++y) {
    dot(R.Left, y);
    if (R.Right - 1 > R.Left) dot(R.Right - 1, y);
  }
}

}  // namespace skin_layered
