// Compositing of 32-bit bitmaps: the alpha copy with holes, transparency, tint and
// reflection; constant-weight blends; keyed and masked copies; moving pixels toward a
// colour; mixing two bitmaps. The one-channel blend throughout is
// d' = ((s - d) * w + d * 256) shr 8 with the source weight w in 0..255.
//
// Destinations must be 32-bit bitmaps, or nothing is painted. A source of another format is
// read through a 32-bit copy (the caller's bitmap is left as it is) whose pixels are opaque
// except those of the key colour 0xFF00FF, which are holes (alpha 0). Keys are colour values
// compared with whole pixels, alpha included (0xFF00FF matches only alpha 0). Nothing is
// painted for nil or empty bitmaps or rectangles. The caller keeps its bitmaps.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {

// The background a cache info stands for, as the pixel routines read it (an empty bitmap
// when it has none or one that is not 32-bit).
TBackground BackgroundOf(const TqvCacheInfo& CI);

// SrcRect of Src onto DstRect of Dst by the source's per-pixel alpha. The size copied is the
// smaller rectangle's within both bitmaps; a negative left or top of either rectangle moves
// the other's by as much.
//  - Transp (0..100) takes that share off every source alpha; with 0 the destination alpha
//    becomes the larger of the two, otherwise it is kept.
//  - Tint (clNone for none) draws each source pixel's grey level in the tint's colours (its
//    channels raised until the largest is 255); the destination alpha is kept.
//  - Holes (0x00FF00FF) are left alone, or with FillHoles and a ready cache info take the
//    colour behind them from CI's bitmap.
//  - Reflect adds below the copy a mirror image of it at about half strength fading out, at
//    most half the source's height less one rows, within Dst.
void CopyTransBitmaps(const vcl::TRect& DstRect, const vcl::TRect& SrcRect, vcl::TBitmap* Dst, bool Reflect,
                      int Transp, vcl::TColor Tint, bool FillHoles, const TqvCacheInfo& CI, vcl::TBitmap* Src);

// Columns SR.Left..SR.Right and rows SR.Top..SR.Bottom of Src (both ends included, limited to
// Src and to what fits in Dst from P) blended into Dst at P on all four channels, the
// destination keeping weight Keep: d' = ((d - s) * Keep + s * 256) shr 8. Keep 0 copies the
// source, alpha included. A negative P or SR origin moves the other by as much.
void BlendTransRect(vcl::TBitmap* Dst, vcl::TBitmap* Src, int Keep, vcl::TPoint P, const vcl::TRect& SR);

// The alpha blend of SrcRect of Src onto DstRect of Dst (clipped as CopyTransBitmaps);
// the destination alpha grows by (255 - da) * sa shr 8. With a ready cache info, holes are
// left alone, or with FillHoles take CI's pixel behind them with alpha 255.
void BlendBitmapsByMask(const vcl::TRect& DstRect, const vcl::TRect& SrcRect, vcl::TBitmap* Dst, bool FillHoles,
                        const TqvCacheInfo& CI, vcl::TBitmap* Src);

// SR of Src (clipped to it) onto Dst at (X, Y): every pixel other than Key becomes
// s * (1 - K) + d * K per colour channel, truncated (K 0 copies the source's colours, 1 keeps
// the destination); alpha kept.
void BlendRect(vcl::TBitmap* Dst, int X, int Y, TColorValue Key, double K, const vcl::TRect& SR, vcl::TBitmap* Src);

// A piece of a skin picture whose mask lies MaskOffset rows below it: the picture from
// SrcPoint, as large as DstRect, onto DstRect of Target. Each colour channel
// t' = ((t - s) * m + s * 256) shr 8 with the mask's channel m (white keeps the target, black
// gives the picture), alpha 255. With KeyCheck a picture pixel of the key colour is not
// blended: the target takes CI's pixel behind it when inside CI's bitmap, or keeps its own.
void CopyMaskedRect(vcl::TBitmap* Target, const vcl::TRect& DstRect, vcl::TBitmap* Picture, vcl::TPoint SrcPoint,
                    int MaskOffset, bool KeyCheck, const TqvCacheInfo& CI);

// SR of S (clipped to it) onto T at (X, Y), pixels equal to Key left out. With FillHoles and
// a ready cache info: if CI's bitmap is T itself the copied pixels get alpha 255, otherwise
// key pixels take CI's pixel behind them.
void CopyRectKeyed(vcl::TBitmap* T, vcl::TBitmap* S, int X, bool FillHoles, const TqvCacheInfo& CI, TColorValue Key,
                   const vcl::TRect& SR, int Y);
// SR of S onto T at (X, Y): every pixel other than Key copied unchanged, alpha included.
void CopyRectTrans(vcl::TBitmap* T, vcl::TBitmap* S, int X, const vcl::TRect& SR, TColorValue Key, int Y);
// All of Src onto Dst at (X, Y): every pixel other than Key copied with alpha 255.
void SumBitmapRect(vcl::TBitmap* Dst, vcl::TBitmap* Src, int X, TColorValue Key, int Y);

// Every pixel but holes moves toward Color: channel := (channel - c) * K + c, truncated;
// alpha kept.
void BlendColorToBmp(vcl::TBitmap* Bmp, vcl::TColor Color, double K);

// Out := ((A - B) * M + B * 256) shr 8 per colour channel, M the mask's matching channel or,
// without a mask, Factor (0 gives B, 255 nearly A, 256 and more A). Out's alpha is kept.
// Nothing unless A and B have the same size and Out (and Mask) are at least as large.
void MixBitmaps(vcl::TBitmap* Out, vcl::TBitmap* A, vcl::TBitmap* B, unsigned Factor, vcl::TBitmap* Mask);

}  // namespace skin_layered
