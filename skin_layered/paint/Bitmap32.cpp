#include "skin_layered/paint/Bitmap32.h"

#include <algorithm>

namespace skin_layered {
namespace {

using vcl::TBitmap;

bool Has32Bits(TBitmap* bmp) { return bmp && !bmp->Empty() && bmp->PixelFormat() == vcl::pf32bit; }

std::span<TPixel32> Row32(const TScanLines& lines, int y, int width) {
  return {reinterpret_cast<TPixel32*>(lines.Row(static_cast<std::uint32_t>(y))), static_cast<std::size_t>(width)};
}

// Stretches all of the source DC's Width x Height pixels over the target's.
void Stretch(HDC target, int width, int height, HDC source, int sourceWidth, int sourceHeight, int mode) {
  const int oldMode = SetStretchBltMode(target, mode);
  POINT oldOrigin{};
  if (mode == HALFTONE) SetBrushOrgEx(target, 0, 0, &oldOrigin);  // as HALFTONE requires
  StretchBlt(target, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
  if (mode == HALFTONE) SetBrushOrgEx(target, oldOrigin.x, oldOrigin.y, nullptr);
  SetStretchBltMode(target, oldMode);
}

}  // namespace

std::unique_ptr<TBitmap> CreateBmp32(int Width, int Height) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(vcl::pf32bit);
  bmp->SetSize(std::max(Width, 0), std::max(Height, 0));
  return bmp;
}

std::unique_ptr<TBitmap> CreateBmpLike(TBitmap* Bmp) {
  if (!Bmp) return nullptr;
  auto bmp = std::make_unique<TBitmap>();
  const vcl::TPixelFormat format = Bmp->PixelFormat();
  bmp->SetPixelFormat(format == vcl::pfCustom ? vcl::pf32bit : format);
  bmp->SetSize(Bmp->Width(), Bmp->Height());
  return bmp;
}

void CopyBmp(TBitmap* Target, TBitmap* Source) {
  if (!Target || !Source || Target == Source) return;
  const vcl::TPixelFormat format = Source->PixelFormat();
  Target->SetPixelFormat(format == vcl::pfCustom ? vcl::pf32bit : format);
  Target->SetHandleType(vcl::bmDIB);
  Target->SetSize(Source->Width(), Source->Height());
  if (Source->Empty() || Target->Empty()) return;
  BitBlt(Target->Canvas()->Handle(), 0, 0, Source->Width(), Source->Height(), Source->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void SetBmp32(TBitmap* Bmp) {
  if (Bmp) Bmp->SetPixelFormat(vcl::pf32bit);
}

bool InitScanLines(TBitmap* Bmp, TScanLines& Lines) {
  Lines = {};
  if (!Bmp || Bmp->Empty() || Bmp->Width() <= 0 || Bmp->Height() <= 0) return false;
  auto* line0 = static_cast<std::uint8_t*>(Bmp->ScanLine(0));
  const std::ptrdiff_t step = Bmp->Height() > 1 ? static_cast<std::uint8_t*>(Bmp->ScanLine(1)) - line0 : 0;
  Lines = {line0, step};
  return true;
}

bool InitPixelView(TBitmap* Bmp, TPixelView& View) {
  View = {};
  TScanLines lines;
  if (!Has32Bits(Bmp) || !InitScanLines(Bmp, lines)) return false;
  View = {lines.Line0, lines.Step, Bmp->Width(), Bmp->Height()};
  return true;
}

std::unique_ptr<TBitmap> Bmp32Copy(TBitmap* Bmp, bool KeyHoles) {
  if (!Bmp || Bmp->Empty() || Bmp->Width() <= 0 || Bmp->Height() <= 0) return nullptr;
  const int width = Bmp->Width(), height = Bmp->Height();
  auto copy = CreateBmp32(width, height);
  TPixelView to, from;
  if (!InitPixelView(copy.get(), to)) return nullptr;
  if (InitPixelView(Bmp, from)) {
    for (int y = 0; y < height; ++y) std::copy_n(from.Row(y), width, to.Row(y));
    return copy;
  }
  BitBlt(copy->Canvas()->Handle(), 0, 0, width, height, Bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  for (int y = 0; y < height; ++y) {
    TPixel32* row = to.Row(y);
    for (int x = 0; x < width; ++x) {
      const TPixel32 color = row[x] & 0x00FFFFFFu;
      row[x] = KeyHoles && color == kKeyColor ? color : color | 0xFF000000u;
    }
  }
  return copy;
}

void MakeKeyHoles(TBitmap* Bmp) {
  TPixelView view;
  if (!InitPixelView(Bmp, view)) return;
  for (int y = 0; y < view.Height; ++y)
    for (TPixel32& p : std::span(view.Row(y), static_cast<std::size_t>(view.Width)))
      if ((p & 0x00FFFFFFu) == kKeyColor) p = kKeyColor;
}

TPixelSource::TPixelSource(TBitmap* Bmp) {
  if (!Bmp || InitPixelView(Bmp, view_)) return;
  copy_ = Bmp32Copy(Bmp, true);
  if (copy_) InitPixelView(copy_.get(), view_);
}

void ChangeBitmapPixels(TBitmap* Bmp, TPixelFunc Func, std::int32_t Data, TColorValue Key) {
  TScanLines lines;
  if (!Func || !Has32Bits(Bmp) || !InitScanLines(Bmp, lines)) return;
  for (int y = 0; y < Bmp->Height(); ++y) ChangeRowPixels(Row32(lines, y, Bmp->Width()), Func, Data, Key);
}

void CopyChannel(TBitmap* Target, TBitmap* Source, unsigned Channel) {
  TScanLines target, source;
  if (Channel > 3 || !Has32Bits(Target) || !Has32Bits(Source)) return;
  if (!InitScanLines(Target, target) || !InitScanLines(Source, source)) return;
  const int width = std::min(Target->Width(), Source->Width());
  const int height = std::min(Target->Height(), Source->Height());
  for (int y = 0; y < height; ++y) CopyChannelRow(Row32(target, y, width), Row32(source, y, width), Channel);
}

void ChannelToPlane(TBitmap* Bmp32, TBitmap* Bmp8, unsigned Channel, bool Extract) {
  TScanLines wide, plane;
  if (Channel > 3 || !Has32Bits(Bmp32) || !Bmp8 || Bmp8->Empty() || Bmp8->PixelFormat() != vcl::pf8bit) return;
  if (!InitScanLines(Bmp32, wide) || !InitScanLines(Bmp8, plane)) return;
  const int width = std::min(Bmp32->Width(), Bmp8->Width());
  const int height = std::min(Bmp32->Height(), Bmp8->Height());
  for (int y = 0; y < height; ++y)
    ChannelToPlaneRow(Row32(wide, y, width), std::span(plane.Row(static_cast<std::uint32_t>(y)), width), Channel,
                      Extract);
}

std::unique_ptr<TBitmap> MaskHalfToAlpha(TBitmap* Bmp, const vcl::TRect& R) {
  const int width = R.Width();
  const int half = R.Height() / 2;
  if (!Bmp || Bmp->Empty() || width <= 0 || half <= 0) return nullptr;
  auto result = CreateBmp32(width, half);
  // The lower half goes through a 32-bit copy too, so any pixel format gives its red.
  auto mask = CreateBmp32(width, half);
  HDC source = Bmp->Canvas()->Handle();
  BitBlt(result->Canvas()->Handle(), 0, 0, width, half, source, R.Left, R.Top, SRCCOPY);
  BitBlt(mask->Canvas()->Handle(), 0, 0, width, half, source, R.Left, R.Top + half, SRCCOPY);
  TScanLines colors, masks;
  if (!InitScanLines(result.get(), colors) || !InitScanLines(mask.get(), masks)) return nullptr;
  for (int y = 0; y < half; ++y) MaskRowToAlpha(Row32(colors, y, width), Row32(masks, y, width));
  return result;
}

std::unique_ptr<TBitmap> StretchBmp32(TBitmap* Bmp, int Width, int Height, int StretchMode) {
  if (!Has32Bits(Bmp) || Width <= 0 || Height <= 0) return nullptr;
  const int sourceWidth = Bmp->Width(), sourceHeight = Bmp->Height();
  auto scaled = CreateBmp32(Width, Height);
  Stretch(scaled->Canvas()->Handle(), Width, Height, Bmp->Canvas()->Handle(), sourceWidth, sourceHeight,
          StretchMode);

  // The alpha goes its own way, as a grey picture stretched the same way, so GDI samples it
  // at the same places as the colours whatever it does with a fourth byte.
  auto plane = CreateBmp32(sourceWidth, sourceHeight);
  auto scaledPlane = CreateBmp32(Width, Height);
  TScanLines source, grey;
  if (!InitScanLines(Bmp, source) || !InitScanLines(plane.get(), grey)) return nullptr;
  for (int y = 0; y < sourceHeight; ++y) {
    const auto from = Row32(source, y, sourceWidth);
    const auto to = Row32(grey, y, sourceWidth);
    for (int x = 0; x < sourceWidth; ++x) to[x] = (from[x] >> 24) * 0x01010101u;
  }
  Stretch(scaledPlane->Canvas()->Handle(), Width, Height, plane->Canvas()->Handle(), sourceWidth, sourceHeight,
          StretchMode);
  TScanLines colors, alphas;
  if (!InitScanLines(scaled.get(), colors) || !InitScanLines(scaledPlane.get(), alphas)) return nullptr;
  for (int y = 0; y < Height; ++y) {
    const auto to = Row32(colors, y, Width);
    const auto from = Row32(alphas, y, Width);
    for (int x = 0; x < Width; ++x) to[x] = (to[x] & 0x00FFFFFFu) | (from[x] & 0xFFu) << 24;
  }
  return scaled;
}

}  // namespace skin_layered
