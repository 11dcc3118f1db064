#include "skin_layered/paint/BitmapGlyphs.h"

#include <algorithm>

#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered {

void DrawArrow(vcl::TCanvas* Canvas, vcl::TColor Color, const vcl::TRect& R, int Direction) {
  if (!Canvas) return;
  const int width = R.Width(), height = R.Height();
  if (Direction == 0 || Direction == 2) {
    const int x0 = R.Left + (width - 3) / 2;
    const int y0 = R.Top + (height - 6) / 2;
    for (int i = 0; i <= 3; ++i) {
      const int x = Direction == 0 ? x0 + 3 - i : x0 + i;
      for (int y = y0 + i; y <= y0 + 6 - i; ++y) Canvas->SetPixels(x, y, Color);
    }
  } else if (Direction == 1 || Direction == 3) {
    const int x0 = R.Left + (width - 6) / 2 - 1;
    const int y0 = R.Top + (height - 3) / 2 - 1;
    for (int i = 0; i <= 3; ++i) {
      const int y = Direction == 1 ? y0 + 3 - i : y0 + i;
      for (int x = x0 + i; x <= x0 + 7 - i; ++x) Canvas->SetPixels(x, y, Color);
    }
  }
}

vcl::UniqueIcon IconFromBitmap(vcl::TBitmap* Bmp, [[maybe_unused]] vcl::TColor Color) {
  if (!Bmp || Bmp->Empty()) return {};
  if (Bmp->PixelFormat() != vcl::pf32bit) {
    SetBmp32(Bmp);
    ChangeBitmapPixels(
        Bmp,
        [](TPixel32& pixel, std::int32_t) {
          pixel = (pixel & 0x00FFFFFFu) | ((pixel & 0x00FFFFFFu) == kKeyColor ? 0u : 0xFF000000u);
        },
        0, kNoColor);
  }
  const int width = Bmp->Width(), height = Bmp->Height();
  const auto colors = CreateBmp32(width, height);
  auto mask = std::make_unique<vcl::TBitmap>();
  mask->SetPixelFormat(vcl::pf1bit);  // colour 0 black, 1 white
  mask->SetSize(width, height);
  TScanLines source, target, bits;
  if (!InitScanLines(Bmp, source) || !InitScanLines(colors.get(), target) || !InitScanLines(mask.get(), bits))
    return {};
  for (int y = 0; y < height; ++y) {
    const auto* from = reinterpret_cast<const TPixel32*>(source.Row(static_cast<std::uint32_t>(y)));
    auto* to = reinterpret_cast<TPixel32*>(target.Row(static_cast<std::uint32_t>(y)));
    std::uint8_t* maskRow = bits.Row(static_cast<std::uint32_t>(y));
    for (int x = 0; x < width; ++x) {
      to[x] = from[x];
      if ((from[x] >> 24) == 0) maskRow[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
    }
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask->Handle();
  info.hbmColor = colors->Handle();
  return vcl::UniqueIcon(CreateIconIndirect(&info));
}

vcl::UniqueIcon MakeIcon32(vcl::TBitmap* Bmp) {
  if (!Bmp || Bmp->Empty() || Bmp->Width() <= 0 || Bmp->Height() <= 0) return {};
  const auto colors = Bmp32Copy(Bmp, false);
  TPixelView view;
  if (!colors || !InitPixelView(colors.get(), view)) return {};
  const TPixel32 key = view.Row(0)[0] & 0x00FFFFFFu;
  bool hasAlpha = false;
  for (int y = 0; y < view.Height && !hasAlpha; ++y)
    for (int x = 0; x < view.Width; ++x)
      if ((view.Row(y)[x] & 0x00FFFFFFu) != key && (view.Row(y)[x] >> 24) != 0) {
        hasAlpha = true;
        break;
      }
  auto mask = std::make_unique<vcl::TBitmap>();
  mask->SetPixelFormat(vcl::pf1bit);  // colour 0 black, 1 white
  mask->SetSize(view.Width, view.Height);
  TScanLines bits;
  if (!InitScanLines(mask.get(), bits)) return {};
  for (int y = 0; y < view.Height; ++y) {
    TPixel32* row = view.Row(y);
    std::uint8_t* maskRow = bits.Row(static_cast<std::uint32_t>(y));
    std::fill_n(maskRow, (view.Width + 7) / 8, std::uint8_t{0});
    for (int x = 0; x < view.Width; ++x) {
      // The key colour is see-through in both the mask and the colours' alpha (which the
      // system prefers to the mask when it has any).
      if ((row[x] & 0x00FFFFFFu) == key) {
        row[x] = 0;
        maskRow[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
      } else if (!hasAlpha) {
        row[x] |= 0xFF000000u;
      }
    }
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask->Handle();
  info.hbmColor = colors->Handle();
  return vcl::UniqueIcon(CreateIconIndirect(&info));
}

}  // namespace skin_layered
