// Skin sections painted into a control's cache bitmap: the section's background for a state
// (colour, texture, gradient, their mixture, and the share of what lies behind the control
// that shows through), its four corner images, its border image in nine parts and the
// control's colour changes.
//
// What lies behind comes in as a cache info CI, and pP is the painted area's place in that
// background: the target pixel at R's top-left shows CI's bitmap at (CI.X + pP.X, CI.Y + pP.Y).
// Per-state values come from state min(State, 1) (a section keeps a normal and a hot set);
// images are drawn with the full state number, limited to the section's last state.
//
// Nothing is painted without a skin (the given one, else the default manager's), for a
// missing target bitmap, or an R that is empty, has a negative origin or does not fit in the
// target. A section the skin does not have shows what lies behind, as a fully see-through
// one would (PaintBehind, SystemLook.h). Invalid image indexes leave their layer out. Colour
// fills go by the target's format: opaque 32-bit pixels, or a GDI fill for other bitmaps.
#pragma once

#include <windows.h>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/ControlSkin.h"

namespace skin_layered {

// The background of a control's section, its corner images, its border (not drawn in the
// normal state when the border image's draw mode has the "no normal" bit) and the control's
// colour changes over R. UpdateCorners lets the border's key-coloured corners show CI.
void PaintItem(const TqvControlSkin& Data, const TqvCacheInfo& CI, int State, const vcl::TRect& R, vcl::TPoint pP,
               vcl::TBitmap* Bmp, bool UpdateCorners);

// The background of a control's section: with CustomColor the owner's own colour in place of
// the section's (a plain colour, nothing behind it showing through).
void PaintCommonDataBg(const TqvControlSkin& Data, const TqvCacheInfo& CI, int State, const vcl::TRect& R,
                       vcl::TPoint pP, vcl::TBitmap* Bmp);

// The background layers of a section. NormalTex is the texture of the layers (-1: the
// state's own when it has an image share); HotTex the masked, cell-tiled texture laid over
// the hot state. ParentColor (kKeyColor: none) replaces the section's colour and values.
void PaintSection(int Index, const TqvCacheInfo& CI, int State, const vcl::TRect& R, vcl::TPoint pP,
                  vcl::TBitmap* Bmp, const TsLoadedSkin* Skin, int NormalTex, int HotTex,
                  TColorValue ParentColor = kKeyColor);

// A section by index without a control: background, corner images and border, no colour
// changes.
void PaintItemBg(int Index, const TqvCacheInfo& CI, int State, const vcl::TRect& R, vcl::TPoint pP,
                 vcl::TBitmap* Bmp, const TsLoadedSkin* Skin, int NormalTex = kNoIndex, int HotTex = kNoIndex);

// The simpler background painter with one explicit texture (Tex, -1 for none): no one-pass
// gradient with texture, no fallback to the state's texture.
void PaintSectionByIndex(int Index, int Tex, const TsLoadedSkin* Skin, vcl::TBitmap* Bmp, vcl::TPoint pP,
                         const vcl::TRect& R, int State, const TqvCacheInfo& CI);

// PaintSectionByIndex, then the border image BorderIndex over it.
void PaintItemImage(int Index, int BorderIndex, int Tex, const TsLoadedSkin* Skin, vcl::TBitmap* Bmp,
                    vcl::TPoint pP, const vcl::TRect& R, int State, const TqvCacheInfo& CI);

// The section painted (PaintItemBg) on a temporary 32-bit bitmap of R's size and copied to
// the DC at R; the DC's state is kept.
void PaintItemToDC(int Index, const TqvCacheInfo& CI, int State, const TsLoadedSkin* Skin, HDC DC, vcl::TPoint pP,
                   const vcl::TRect& R);

// The first of the two sections the skin has, painted over all of Bmp: over what SrcDC shows
// at SrcPoint (copied into Bmp first), or, without a DC, over FillColor. Answers the section's
// index, -1 when the skin has neither.
int PaintItemByName(vcl::TBitmap* Bmp, vcl::StringView Name, vcl::StringView SecondName, HDC SrcDC,
                    TColorValue FillColor, vcl::TPoint SrcPoint, const TsLoadedSkin* Skin, int State);

}  // namespace skin_layered
