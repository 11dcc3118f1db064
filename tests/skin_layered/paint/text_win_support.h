// Shared by the Windows text tests: crisp (not smoothed) fonts, so one pixel tells what was
// drawn, and where a drawing left ink on a 32-bit bitmap.
#pragma once

#include <algorithm>
#include <optional>

#include "paint_win_support.h"

namespace skin_layered::test {

constexpr TPixel32 kWhite = 0xFFFFFF;

// The canvas takes a font of the given pixel height without smoothing.
inline void CrispFont(vcl::TCanvas* canvas, int height, bool bold = false, const wchar_t* face = L"Tahoma") {
  canvas->Font()->SetHandle(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                        DEFAULT_PITCH, face));
}

// A 32-bit bitmap of white pixels, a crisp font of the height on its canvas in black.
inline std::unique_ptr<vcl::TBitmap> WhitePage(int width, int height, int fontHeight = 20) {
  auto bmp = Filled32(width, height, kWhite);
  CrispFont(bmp->Canvas(), fontHeight);
  bmp->Canvas()->Font()->SetColor(vcl::clBlack);
  return bmp;
}

// Colour (0xRRGGBB) of a pixel, alpha left out.
inline TPixel32 RgbOf(vcl::TBitmap& bmp, int x, int y) {
  GdiFlush();
  return PixelOf(bmp, x, y) & 0xFFFFFF;
}

// The smallest rectangle holding every pixel whose colour is not Background (within Area
// when given); nothing when there is none.
inline std::optional<vcl::TRect> InkBounds(vcl::TBitmap& bmp, TPixel32 background = kWhite,
                                           std::optional<vcl::TRect> area = std::nullopt) {
  GdiFlush();
  const vcl::TRect a = area.value_or(vcl::Rect(0, 0, bmp.Width(), bmp.Height()));
  std::optional<vcl::TRect> ink;
  for (int y = std::max(a.Top, 0); y < std::min(a.Bottom, bmp.Height()); ++y)
    for (int x = std::max(a.Left, 0); x < std::min(a.Right, bmp.Width()); ++x) {
      if ((PixelOf(bmp, x, y) & 0xFFFFFF) == background) continue;
      if (!ink) ink = vcl::Rect(x, y, x + 1, y + 1);
      ink->Left = std::min(ink->Left, x);
      ink->Top = std::min(ink->Top, y);
      ink->Right = std::max(ink->Right, x + 1);
      ink->Bottom = std::max(ink->Bottom, y + 1);
    }
  return ink;
}

}  // namespace skin_layered::test
