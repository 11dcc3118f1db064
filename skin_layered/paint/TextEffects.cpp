#include "skin_layered/paint/TextEffects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <optional>

#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/TextOutput.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {
namespace {

// The largest glow mask made, in pixels: a text's glow never needs more.
constexpr std::int64_t kMaxGlowPixels = std::int64_t{1} << 24;

void DrawInColor(vcl::TCanvas* canvas, vcl::StringView text, vcl::TColor color, UINT flags, vcl::TRect r) {
  canvas->Font()->SetColor(color);
  HDC dc = canvas->Handle();
  // The DC may have been restored under the canvas since it last set this colour (a saved
  // state around an earlier text): the canvas, seeing no change, would not set it again.
  SetTextColor(dc, static_cast<COLORREF>(vcl::ColorToRGB(color)));
  SetBkMode(dc, TRANSPARENT);  // after Handle(), which selects the brush and its mode
  DrawTextStr(dc, text, r, flags);
}

// The mean colour (0xRRGGBB) of the picture a DC paints into, under R: a grid of points
// over R, cut to the picture. Nullopt for a DC without a 24- or 32-bit device-independent
// picture, or an R that misses it.
std::optional<std::uint32_t> FaceUnder(HDC dc, const vcl::TRect& r) {
  DIBSECTION dib{};
  const auto bmp = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  if (!bmp || GetObjectW(bmp, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits ||
      (dib.dsBm.bmBitsPixel != 32 && dib.dsBm.bmBitsPixel != 24))
    return std::nullopt;
  POINT corners[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
  LPtoDP(dc, corners, 2);
  const int width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
  const int left = std::clamp<int>(std::min(corners[0].x, corners[1].x), 0, width);
  const int right = std::clamp<int>(std::max(corners[0].x, corners[1].x), 0, width);
  const int top = std::clamp<int>(std::min(corners[0].y, corners[1].y), 0, height);
  const int bottom = std::clamp<int>(std::max(corners[0].y, corners[1].y), 0, height);
  if (right <= left || bottom <= top) return std::nullopt;
  GdiFlush();
  const int bytes = dib.dsBm.bmBitsPixel / 8;
  const bool bottomUp = dib.dsBmih.biHeight > 0;
  const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
  const int across = std::min(right - left, 16), down = std::min(bottom - top, 8);
  std::uint32_t sum[3] = {0, 0, 0};
  for (int j = 0; j < down; ++j) {
    const int y = top + (2 * j + 1) * (bottom - top) / (2 * down);
    const std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(bottomUp ? height - 1 - y : y) * dib.dsBm.bmWidthBytes;
    for (int i = 0; i < across; ++i) {
      const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(left + (2 * i + 1) * (right - left) / (2 * across)) * bytes;
      sum[0] += p[2], sum[1] += p[1], sum[2] += p[0];  // red, green, blue
    }
  }
  const auto n = static_cast<std::uint32_t>(across * down);
  return (sum[0] / n) << 16 | (sum[1] / n) << 8 | sum[2] / n;
}

int Luma(std::uint32_t rgb) {
  return (299 * static_cast<int>(rgb >> 16 & 0xFF) + 587 * static_cast<int>(rgb >> 8 & 0xFF) +
          114 * static_cast<int>(rgb & 0xFF)) / 1000;
}

// A colour's red, green and blue as 0xRRGGBB.
std::uint32_t Rgb(vcl::TColor Color) {
  const auto c = static_cast<std::uint32_t>(vcl::ColorToRGB(Color));
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// Color, or black or white when it hardly stands off the face (0xRRGGBB).
vcl::TColor LegibleOn(vcl::TColor Color, std::uint32_t face) {
  const std::uint32_t text = Rgb(Color);
  int distance = 0;
  for (int shift : {0, 8, 16})
    distance += std::abs(static_cast<int>(text >> shift & 0xFF) - static_cast<int>(face >> shift & 0xFF));
  // Letters that differ this little in brightness and in colour from their face are not read.
  constexpr int kLeastLuma = 48, kLeastDistance = 240;
  if (std::abs(Luma(text) - Luma(face)) >= kLeastLuma || distance >= kLeastDistance) return Color;
  return Luma(face) > 127 ? vcl::clBlack : vcl::clWhite;
}

LOGFONTW FontOf(vcl::TFont* font) {
  LOGFONTW lf{};
  GetObjectW(font->Handle(), sizeof lf, &lf);
  return lf;
}

}  // namespace

void WriteContourText(vcl::TCanvas* Canvas, vcl::StringView Text, const TTextColors& Colors, UINT Flags,
                      const vcl::TRect& R) {
  if (!Canvas || Text.empty()) return;
  // The face as it stands before anything of the text is written.
  const vcl::TColor font = LegibleTextColor(Colors.FontColor, Canvas->Handle(), R);
  const struct {
    vcl::TColor Color;
    int Dx, Dy;
  } contours[] = {{Colors.Left, -1, 0}, {Colors.Top, 0, -1}, {Colors.Right, 1, 0}, {Colors.Bottom, 0, 1}};
  for (const auto& c : contours) {
    if (c.Color == kNoContour) continue;
    vcl::TRect moved = R;
    moved.Offset(c.Dx, c.Dy);
    DrawInColor(Canvas, Text, c.Color, Flags, moved);
  }
  DrawInColor(Canvas, Text, font, Flags, R);
}

vcl::TColor LegibleTextColor(vcl::TColor Color, HDC DC, const vcl::TRect& R) {
  const std::optional<std::uint32_t> face = DC ? FaceUnder(DC, R) : std::nullopt;
  return face ? LegibleOn(Color, *face) : Color;
}

vcl::TColor LegibleTextColorOn(vcl::TColor Color, vcl::TColor Face) { return LegibleOn(Color, Rgb(Face)); }

vcl::TColor DisabledTextColor(vcl::TColor FontColor, vcl::TColor Color) {
  const TColorValue mixed = MixColors(static_cast<TColorValue>(vcl::ColorToRGB(FontColor)),
                                      static_cast<TColorValue>(vcl::ColorToRGB(Color)), kDisabledTextMix);
  return static_cast<vcl::TColor>(mixed);
}

vcl::TColor ChangeTextColor(vcl::TColor Color, vcl::TColor Tone, int Hue, int Saturation) {
  // A system colour is changed by its current value.
  auto c = static_cast<TColorValue>(vcl::ColorToRGB(Color));
  if (Tone != vcl::clNone) c = ToneColor(c, SwapBytes02(static_cast<TColorValue>(vcl::ColorToRGB(Tone))));
  c = ChangeHue(Hue, c);
  c = ChangeSaturation(c, static_cast<int>(std::trunc(Saturation * 2.55)));
  return vcl::ColorToRGB(static_cast<vcl::TColor>(c));
}

bool TGlowMask::TKey::operator==(const TKey& other) const {
  const auto sameFont = [](const LOGFONTW& a, const LOGFONTW& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
  };
  return Text == other.Text && Flags == other.Flags && Sides == other.Sides && Size == other.Size &&
         Width == other.Width && Height == other.Height && sameFont(Font, other.Font);
}

void WriteTextGlow(vcl::TBitmap* Bmp, vcl::StringView Text, vcl::TRect R, UINT Flags, unsigned Sides, int Size,
                   vcl::TColor Color, TGlowMask& Mask) {
  TPixelView target;
  if (Size < 1 || Text.empty() || !InitPixelView(Bmp, target)) return;
  R.Offset(1, 1);
  const int margin = Size + 4;
  const std::int64_t width = std::int64_t{R.Width()} + 2 * std::int64_t{margin};
  const std::int64_t height = std::int64_t{R.Height()} + 2 * std::int64_t{margin};
  if (R.Width() < 0 || R.Height() < 0 || width * height > kMaxGlowPixels) return;

  TGlowMask::TKey key{vcl::String(Text), FontOf(Bmp->Canvas()->Font()), Flags,   Sides,
                      Size,              static_cast<int>(width),         static_cast<int>(height)};
  if (Mask.Empty() || !(Mask.key_ == key)) {
    // Black letters on white, widened toward the sides asked for, then blurred.
    auto letters = CreateBmp32(key.Width, key.Height);
    vcl::TCanvas* canvas = letters->Canvas();
    canvas->Brush()->SetColor(vcl::clWhite);
    canvas->FillRect(vcl::Rect(0, 0, key.Width, key.Height));
    canvas->Font()->Assign(Bmp->Canvas()->Font());
    canvas->Font()->SetColor(vcl::clBlack);
    canvas->Brush()->SetStyle(vcl::bsClear);
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    const vcl::TRect t = vcl::Bounds(margin, margin, R.Width(), R.Height());
    const struct {
      unsigned Bit;
      int Dx, Dy;
    } shifts[] = {{kGlowLeft, -1, 0}, {kGlowTop, 0, -1}, {kGlowRight, 1, 0}, {kGlowBottom, 0, 1}};
    for (const auto& s : shifts) {
      if (!(Sides & s.Bit)) continue;
      vcl::TRect moved = t;
      moved.Offset(s.Dx, s.Dy);
      DrawTextStr(dc, Text, moved, Flags);
    }
    vcl::TRect at = t;
    DrawTextStr(dc, Text, at, Flags);
    GdiFlush();  // the letters are read from memory next

    TPixelView letterPixels;
    if (!InitPixelView(letters.get(), letterPixels)) return;
    Mask.pixels_.assign(static_cast<std::size_t>(width * height), 255);
    Mask.width_ = key.Width;
    Mask.height_ = key.Height;
    for (int y = 0; y < key.Height; ++y) {
      const TPixel32* row = letterPixels.Row(y);
      std::uint8_t* out = Mask.pixels_.data() + static_cast<std::size_t>(y) * key.Width;
      for (int x = 0; x < key.Width; ++x) {
        // Grey levels of smoothed letters; the channels agree unless the font is sub-pixel smoothed.
        const TPixel32 p = row[x];
        out[x] = static_cast<std::uint8_t>(((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3);
      }
    }
    BlurPlane(Mask.View(), static_cast<float>(Size));
    Mask.key_ = std::move(key);
  }
  GdiFlush();  // whatever GDI still owes the target lands before its pixels are blended
  ApplyGlowMask(target, Mask.View(), R.Left - margin, R.Top - margin,
                static_cast<TColorValue>(vcl::ColorToRGB(Color)));
}

void BlurBitmap8(vcl::TBitmap* Bmp, float Sigma) {
  if (!Bmp || Bmp->Empty() || Bmp->PixelFormat() != vcl::pf8bit || !(Sigma > 0)) return;
  TScanLines lines;
  if (!InitScanLines(Bmp, lines)) return;
  BlurPlane({lines.Line0, lines.Step, Bmp->Width(), Bmp->Height()}, Sigma);
}

void SmoothBitmap(vcl::TBitmap* Bmp) {
  TPixelView view;
  if (InitPixelView(Bmp, view)) SmoothView(view);
}

}  // namespace skin_layered
