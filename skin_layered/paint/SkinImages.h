// Skin images (entries of a loaded skin's image table) painted into 32-bit bitmaps: in nine
// parts, one state at a time, tiled or stretched, with their masks, their key-colour corners
// and, for layered windows, their alpha; glyphs; master-bitmap regions; corners filled from
// a background. An image without a bitmap of its own lies in its skin's master bitmap.
// Nothing is painted for a bitmap that is not 32-bit, an image without a skin or picture, an
// invalid state or an empty rectangle; what would fall outside the bitmap is left out.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

// Draw-mode bits of skin images in nine parts.
inline constexpr unsigned kDrawStretch = 1;   // sides and centre scaled
inline constexpr unsigned kDrawNoNormal = 2;  // nothing in state 0
inline constexpr unsigned kDrawCentre = 4;    // the centre painted

// The picture an image lies in: its own bitmap, else its skin's master bitmap; nil for none.
vcl::TBitmap* ImagePicture(const TsMaskData& Mask);

// One state of the image in nine parts over R, with an opaque result. The state is limited
// to the image's last; state 0 paints nothing when the image's draw mode has bit 2; draw
// mode bit 1 stretches sides and centre instead of tiling them, bit 4 paints the centre. The
// image's margins are fitted to R. Key-coloured corner pixels take the background of CI
// when UpdateCorners is set and the image's TransparentBorder is 1 or more, else they are
// left; a masked image is mixed through its mask (the row of state images below it).
void DrawSkinRect(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvCacheInfo& CI, const TsMaskData& MaskData,
                  int State, bool UpdateCorners);
// The same keeping an alpha channel, for the images of layered windows: a masked image
// gives its mask's coverage as alpha, and key-coloured pixels of masked corners take a ready
// CI's background or become transparent.
void DrawSkinRect32(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvCacheInfo& CI, const TsMaskData& MaskData,
                    int State);
// DrawSkinRect32 of a copy of an image record lying at ImageRect of its picture; stretched
// pieces are always filtered.
void DrawSkinRectEx(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvCacheInfo& CI, TsMaskData MaskData,
                    vcl::TRect ImageRect, int State);

// One state of a glyph image at P. In the master bitmap: without mask Mode 1 copies it with
// its key-colour pixels taking CI's background, any other Mode blends it half transparent;
// with a mask it is mixed through it (Mode other than 1: paler). An image with its own
// bitmap is mixed through its mask, or copied without its key-colour pixels.
void DrawSkinGlyph(vcl::TBitmap* Bmp, vcl::TPoint P, int State, int Mode, const TsMaskData& MaskData,
                   const TqvCacheInfo& CI);

// SrcRect of the image's skin's master bitmap, whose mask is the lower half of SrcRect, onto
// Dest at DestPoint: key-coloured pixels take CI's fill colour, or a ready CI's background
// without one; others are mixed through the mask.
void BlendMasterRect(vcl::TPoint DestPoint, const vcl::TRect& SrcRect, vcl::TBitmap* Dest, const TqvCacheInfo& CI,
                     const TsMaskData& MaskData);

// A masked texture (picture over its mask, each half the image's height; cells one frame
// wide) laid over R of Bmp, key-coloured pixels taking CI's background. Mode 0 tiles the
// cells over all of R, the last row and column cut at its edges; mode 10 lays whole cells
// only and fills the strips beside and below them from CI (its bitmap when ready, else its
// fill colour, opaque). Both report R all covered (-1, -1, -1, -1); other modes paint
// nothing and leave R.
void TileMaskedImage(vcl::TBitmap* Bmp, vcl::TRect& R, const TqvCacheInfo& CI, int Mode, const TsMaskData& Image);

// Corner kinds of PaintMaskPart.
inline constexpr int kPieceTopLeft = 13;
inline constexpr int kPieceTopRight = 14;
inline constexpr int kPieceBottomLeft = 16;
inline constexpr int kPieceBottomRight = 17;

// Fills the transparent part of a corner painted at R of Dest from Src at Offset (over R's
// size, cut to what Src holds beyond Offset): where the image MaskIndex of Skin has the key
// colour at that corner (PieceKind, top-left for any other kind) of its first state, or,
// without an image (-1), where Dest itself has it.
void PaintMaskPart(vcl::TBitmap* Dest, vcl::TBitmap* Src, const vcl::TRect& R, vcl::TPoint Offset, int MaskIndex,
                   const TsLoadedSkin* Skin, int PieceKind);

}  // namespace skin_layered
