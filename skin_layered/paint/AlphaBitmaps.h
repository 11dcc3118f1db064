// Pixel-level routines on 32-bit bitmaps with an alpha byte: clearing and premultiplying,
// solid, faded and mixed fills, alpha fills and frames, grey, checked pixel access and the
// effects of disabled controls. Rectangles are half-open (right and bottom outside) and cut
// to the bitmap. Nothing is painted on a nil or empty bitmap, or one that is not 32-bit.
#pragma once

#include <cstdint>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/paint/ColorValue.h"

namespace vcl {
class TControl;
}

namespace skin_layered {

// Every pixel whose value is exactly 0x00FFFFFF (white, no alpha) becomes 0, as transparent
// pixels of images from design tools must be.
void ClearWhitePixels(vcl::TBitmap* Bmp);

// Red, green and blue times alpha (rounded) over R or the whole bitmap; a fully transparent
// white pixel becomes 0, an opaque pixel stays as it is.
void PremultiplyBmp(vcl::TBitmap* Bmp);
void PremultiplyBmpRect(vcl::TBitmap* Bmp, const vcl::TRect& R);

// One pixel word; 0 outside the bitmap, and nothing is written there.
TPixel32 GetAPixel(vcl::TBitmap* Bmp, int X, int Y);
void SetAPixel(vcl::TBitmap* Bmp, int X, int Y, TPixel32 Value);

// Every pixel of R := the colour (system colours resolved) with alpha Alpha (-1 for 255).
void BlendBmpRect(vcl::TBitmap* Bmp, const vcl::TRect& R, vcl::TColor Color, int Alpha = -1);
// Each colour channel of R moves Percent % toward the colour's (integer division); alpha :=
// Alpha.
void FadeBmpRect(vcl::TBitmap* Bmp, const vcl::TRect& R, vcl::TColor Color, int Percent, std::uint8_t Alpha);
// Each colour channel of R := round(c * Percent / 100 + colour * (1 - Percent / 100)); alpha
// kept.
void MixColorRect(vcl::TBitmap* Bmp, const vcl::TRect& R, int Percent, vcl::TColor Color);
// Alpha := Alpha on R, or, unless Color is kNoColor, on the pixels whose whole value differs
// from the colour in pixel order.
void FillAlphaRect(vcl::TBitmap* Bmp, const vcl::TRect& R, std::uint8_t Alpha, TColorValue Color = kNoColor);
// Four opaque bands of the colour along R's edges: top, left, bottom and right.
void FillFrame32(vcl::TBitmap* Bmp, const vcl::TRect& R, int LeftW, int TopW, int RightW, int BottomW,
                 vcl::TColor Color);

// Red, green and blue := their mean on every pixel, or every pixel but the key colour.
void GreyBitmap(vcl::TBitmap* Bmp);
void GreyBitmapKey(vcl::TBitmap* Bmp, TColorValue Key);

// The effects of a disabled control's image, by bits of Effects.
inline constexpr int kEffectFade = 1;        // blended toward what lies behind
inline constexpr int kEffectDesaturate = 2;  // colours toward grey
// Library-wide settings of those effects.
struct TqvEffectSettings {
  int Desaturation = -90;   // the saturation change; -100 makes the image grey
  double FadeFactor = 0.4;  // how much of the image stays when faded
};
TqvEffectSettings& EffectSettings();

// Desaturates every pixel but the key colour (kEffectDesaturate) and fades the image
// (kEffectFade): with a ready cache info toward the background behind it (at CI's offset
// plus Offset), else toward CI's fill colour, or the control's colour without one.
void ApplyBmpEffects32(vcl::TBitmap* Bmp, int Effects, vcl::TControl* Control, const TqvCacheInfo& CI,
                       vcl::TPoint Offset);

// A disabled control's look by bits of Kind: kDisabledGrey greys every pixel but the key
// colour, kDisabledBlend lets what lies behind show through by the library's disabled blend
// factor (DefDisabledBlend), as ApplyBmpEffects32 fades.
inline constexpr int kDisabledBlend = 1;
inline constexpr int kDisabledGrey = 2;
void PaintDisabled(vcl::TBitmap* Bmp, int Kind, vcl::TControl* Control, const TqvCacheInfo& CI, vcl::TPoint Offset);

}  // namespace skin_layered
