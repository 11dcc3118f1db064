// The per-pixel compositing of the layered engine on plain 32-bit pixel memory: alpha copies
// with holes, transparency, tint and reflection; constant-weight blends; keyed and masked
// copies; moving pixels toward a colour; mixing two bitmaps; the shadow's final blend.
//
// The one-channel blend used throughout: d' = ((s - d) * w + d * 256) shr 8, the source
// weight w in 0..255. Written as (s * w + d * (256 - w)) shr 8 it is the same number and
// never negative, which lets the hot loops work on 16-bit lanes.
#pragma once

#include <optional>

#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

// The pixel value of a hole in a skin image: the key colour with alpha 0.
inline constexpr TPixel32 kHolePixel = 0x00FF00FF;

// A rectangle in pixels; right and bottom are outside.
struct TPixelRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
};

// Where a copy reads and writes, and how much.
struct TCopyArea {
  int DstX = 0, DstY = 0, SrcX = 0, SrcY = 0, Width = 0, Height = 0;
};

// What lies behind a painted area: a bitmap and the offset of the area inside it. Ready
// says whether the bitmap holds a finished background.
struct TBackground {
  TPixelView Bmp;
  int X = 0, Y = 0;
  bool Ready = false;

  // The background pixel behind destination pixel (x, y), or nil outside the bitmap.
  const TPixel32* At(int x, int y) const {
    if (Bmp.Empty() || !Bmp.Contains(X + x, Y + y)) return nullptr;
    return Bmp.Row(Y + y) + X + x;
  }
};

// The clipping of the alpha copies: a negative left or top of either rectangle moves the
// other's by as much and becomes 0; the size is the smaller rectangle's, within both bitmaps.
// Nothing (nullopt) when no pixel remains.
std::optional<TCopyArea> ClipAlphaCopy(TPixelRect dst, TPixelRect src, int dstWidth, int dstHeight, int srcWidth,
                                       int srcHeight);

// Source rectangle SR of Src placed with its top-left at (x, y) of Dst, cut to both views
// without moving any pixel. Nothing (nullopt) when no pixel remains.
std::optional<TCopyArea> PlaceArea(const TPixelView& dst, const TPixelView& src, int x, int y, TPixelRect sr);

// The alpha copy of the area of Src onto Dst. Transp (0..100) is the transparency share;
// Tint (kNoColor for none) draws the source in the tint's colours by its grey level. Holes
// (kHolePixel) are left alone, or take the background's colour when it is ready and
// FillHoles is set. Without transparency and tint the destination alpha becomes the larger
// of the two; otherwise it is kept.
void AlphaCopyArea(const TPixelView& dst, const TPixelView& src, const TCopyArea& area, int transp, TColorValue tint,
                   const TBackground& background, bool fillHoles);
// The fading mirror image below an alpha copy of Area: at most half the source bitmap's
// height less one rows, never reading above the area's first source row.
void ReflectArea(const TPixelView& dst, const TPixelView& src, const TCopyArea& area, int transp, TColorValue tint);

// Alpha blend of the area whose holes show a ready background (alpha 255 then, with
// FillHoles); the destination alpha grows by (255 - da) * sa shr 8.
void BlendAreaByMask(const TPixelView& dst, const TPixelView& src, const TCopyArea& area,
                     const TBackground& background, bool fillHoles);

// Columns SR.Left..SR.Right and rows SR.Top..SR.Bottom, both ends included, of Src blended
// into Dst at (x, y), all four channels: d' = ((d - s) * keep + s * 256) shr 8. Keep 0
// copies the source.
void BlendTransArea(const TPixelView& dst, const TPixelView& src, unsigned keep, int x, int y, TPixelRect sr);

// SR of Src (clipped to it) onto Dst at (x, y): every source pixel other than Key (in
// pixel order) becomes s * (1 - k) + d * k per colour channel, truncated; alpha kept.
void BlendRectArea(const TPixelView& dst, int x, int y, TColorValue key, double k, TPixelRect sr,
                   const TPixelView& src);

// SR of the picture onto Dst at (x, y) through the mask MaskOffset rows below SR: each colour
// channel t' = ((t - s) * m + s * 256) shr 8 with the mask's channel m, alpha 255. With
// KeyCheck, a picture pixel of the key colour is not blended: the target takes the
// background's pixel (when inside its bitmap) or keeps its own.
void CopyMaskedArea(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr, int maskOffset,
                    bool keyCheck, const TBackground& background);

// SR of Src (clipped to it) onto Dst at (x, y): pixels other than Key are copied, key pixels
// left. With FillHoles and a ready background: a background that is Dst itself gets the
// copied pixels with alpha 255; any other gives key pixels its pixel.
void CopyKeyedArea(const TPixelView& dst, const TPixelView& src, int x, int y, TPixelRect sr, TColorValue key,
                   bool fillHoles, const TBackground& background);
// SR of Src onto Dst at (x, y): every pixel other than Key copied as it is, alpha included.
void CopyNonKeyArea(const TPixelView& dst, const TPixelView& src, int x, int y, TPixelRect sr, TColorValue key);
// All of Src onto Dst at (x, y): every pixel other than Key copied with alpha 255.
void SumArea(const TPixelView& dst, const TPixelView& src, int x, int y, TColorValue key);

// Every pixel but holes: each colour channel := (channel - c) * k + c, truncated, with c the
// colour's channel; alpha kept.
void BlendColorToView(const TPixelView& view, TColorValue color, double k);

// Out := ((A - B) * M + B * 256) shr 8 per colour channel, M the mask's channel or, without
// a mask, Weight (0 gives B, 256 gives A; more counts as 256). Out's alpha is kept. Nothing
// unless A and B are the same size and Out (and the mask) at least as large.
void MixViews(const TPixelView& out, const TPixelView& a, const TPixelView& b, unsigned weight,
              const TPixelView* mask);

// Colour 1 * k + colour 2 * (1 - k) in bytes 0..2, truncated; byte 3 is colour 1's.
TColorValue MixColors(TColorValue color1, TColorValue color2, double k);

// The shadow's blend: every pixel of View moves toward Color through the same pixel of
// Mask, d' = ((d - c) * m + c * 256) shr 8 per colour channel; alpha kept. Over the area
// both cover.
void ShadeTowardColor(const TPixelView& view, const TPixelView& mask, TColorValue color);

// The row loops behind the copies above, for n pixels.
// Alpha copy without transparency or tint: holes skipped, alpha the larger of the two.
void AlphaBlendRow(TPixel32* d, const TPixel32* s, int n);
// All four channels at one weight kept by the destination.
void ConstantBlendRow(TPixel32* d, const TPixel32* s, int n, unsigned keep);
// Out := A weighted by Weight (0..256) over B, colour channels; Out's alpha kept.
void MixRow(TPixel32* out, const TPixel32* a, const TPixel32* b, int n, unsigned weight);
// The same with the weight of each channel read from the mask.
void MixRowByMask(TPixel32* out, const TPixel32* a, const TPixel32* b, const TPixel32* mask, int n);

}  // namespace skin_layered
