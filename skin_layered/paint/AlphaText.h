// Text drawn into 32-bit bitmaps with an alpha byte (for layered windows): each pixel the
// letters cover takes the text colour by its coverage and becomes opaque.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

// The text in R of Bmp with the DrawText flags and Bmp's canvas font, in the colour. Nothing
// for an empty text or R, or a bitmap that is not 32-bit.
void AlphaDrawText(vcl::TBitmap* Bmp, vcl::StringView Text, const vcl::TRect& R, UINT Flags, vcl::TColor Color);

// The text in the colours of a skin section: the hot state when asked and the section has
// one, its contour colours (those that are not -1) first, one pixel out on their sides, then
// its font colour. Skin nil means the default manager's; without a skin or a valid section
// the text is drawn in the canvas font's colour.
void AlphaWriteSkinText(vcl::TBitmap* Bmp, vcl::StringView Text, bool Contour, const vcl::TRect& R, UINT Flags,
                        int SkinIndex, bool Hot, const TsLoadedSkin* Skin);

}  // namespace skin_layered
