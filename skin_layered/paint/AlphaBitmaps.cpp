#include "skin_layered/paint/AlphaBitmaps.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"

namespace skin_layered {
namespace {

TPixelRect PixelRect(const vcl::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

TPixelView ViewOf(vcl::TBitmap* bmp) {
  TPixelView view;
  InitPixelView(bmp, view);
  return view;
}

TColorValue RgbOf(vcl::TColor color) { return static_cast<TColorValue>(vcl::ColorToRGB(color)) & 0xFFFFFFu; }

// Factor of the image stays, the rest is what lies behind it: the background at CI's offset
// plus Offset when CI is ready, else CI's fill colour (the control's without one).
void FadeToBackground(vcl::TBitmap* Bmp, double Factor, vcl::TControl* Control, const TqvCacheInfo& CI,
                      vcl::TPoint Offset) {
  const TPixelView view = ViewOf(Bmp);
  if (view.Empty()) return;
  if (CI.Ready && CI.Bmp) {
    const int x = CI.X + Offset.X, y = CI.Y + Offset.Y;
    BlendRect(Bmp, 0, 0, kKeyColor, Factor, {x, y, x + view.Width, y + view.Height}, CI.Bmp);
    return;
  }
  vcl::TColor toward = static_cast<vcl::TColor>(CI.FillColor);
  if (CI.FillColor == kKeyColor) toward = Control ? Control->Color() : vcl::clBtnFace;
  MixColorRect(Bmp, {0, 0, view.Width, view.Height}, static_cast<int>(Factor * 100), toward);
}

}  // namespace

void ClearWhitePixels(vcl::TBitmap* Bmp) { ClearWhiteArea(ViewOf(Bmp)); }

void PremultiplyBmp(vcl::TBitmap* Bmp) {
  const TPixelView view = ViewOf(Bmp);
  PremultiplyArea(view, {0, 0, view.Width, view.Height});
}

void PremultiplyBmpRect(vcl::TBitmap* Bmp, const vcl::TRect& R) { PremultiplyArea(ViewOf(Bmp), PixelRect(R)); }

TPixel32 GetAPixel(vcl::TBitmap* Bmp, int X, int Y) { return PixelAt(ViewOf(Bmp), X, Y); }

void SetAPixel(vcl::TBitmap* Bmp, int X, int Y, TPixel32 Value) { SetPixelAt(ViewOf(Bmp), X, Y, Value); }

void BlendBmpRect(vcl::TBitmap* Bmp, const vcl::TRect& R, vcl::TColor Color, int Alpha) {
  const TPixel32 alpha = static_cast<TPixel32>(Alpha < 0 ? 255 : std::min(Alpha, 255));
  FillArea(ViewOf(Bmp), PixelRect(R), SwapBytes02(RgbOf(Color)) | alpha << 24);
}

void FadeBmpRect(vcl::TBitmap* Bmp, const vcl::TRect& R, vcl::TColor Color, int Percent, std::uint8_t Alpha) {
  FadeArea(ViewOf(Bmp), PixelRect(R), RgbOf(Color), Percent, Alpha);
}

void MixColorRect(vcl::TBitmap* Bmp, const vcl::TRect& R, int Percent, vcl::TColor Color) {
  MixColorArea(ViewOf(Bmp), PixelRect(R), Percent, RgbOf(Color));
}

void FillAlphaRect(vcl::TBitmap* Bmp, const vcl::TRect& R, std::uint8_t Alpha, TColorValue Color) {
  FillAlphaArea(ViewOf(Bmp), PixelRect(R), Alpha, Color);
}

void FillFrame32(vcl::TBitmap* Bmp, const vcl::TRect& R, int LeftW, int TopW, int RightW, int BottomW,
                 vcl::TColor Color) {
  BlendBmpRect(Bmp, {R.Left, R.Top, R.Right, R.Top + TopW}, Color, 255);
  BlendBmpRect(Bmp, {R.Left, R.Top + TopW, R.Left + LeftW, R.Bottom}, Color, 255);
  BlendBmpRect(Bmp, {R.Left + LeftW, R.Bottom - BottomW, R.Right, R.Bottom}, Color, 255);
  BlendBmpRect(Bmp, {R.Right - RightW, R.Top + TopW, R.Right, R.Bottom - BottomW}, Color, 255);
}

void GreyBitmap(vcl::TBitmap* Bmp) { GreyArea(ViewOf(Bmp), kNoColor); }

void GreyBitmapKey(vcl::TBitmap* Bmp, TColorValue Key) { GreyArea(ViewOf(Bmp), Key); }

TqvEffectSettings& EffectSettings() {
  static TqvEffectSettings settings;
  return settings;
}

void ApplyBmpEffects32(vcl::TBitmap* Bmp, int Effects, vcl::TControl* Control, const TqvCacheInfo& CI,
                       vcl::TPoint Offset) {
  const TPixelView view = ViewOf(Bmp);
  if (view.Empty()) return;
  const TqvEffectSettings& settings = EffectSettings();
  if (Effects & kEffectDesaturate) {
    if (settings.Desaturation == -100)
      GreyArea(view, kKeyColor);
    else
      ChangeBitmapPixels(Bmp, SaturationPixel, settings.Desaturation, kKeyColor);
  }
  if (Effects & kEffectFade) FadeToBackground(Bmp, settings.FadeFactor, Control, CI, Offset);
}

void PaintDisabled(vcl::TBitmap* Bmp, int Kind, vcl::TControl* Control, const TqvCacheInfo& CI, vcl::TPoint Offset) {
  if (Kind & kDisabledGrey) GreyBitmapKey(Bmp, kKeyColor);
  if (Kind & kDisabledBlend) FadeToBackground(Bmp, DefDisabledBlend, Control, CI, Offset);
}

}  // namespace skin_layered
