// Skin sections painted into 32-bit bitmaps for layered windows: a section's background of
// one state (colour, texture, gradient and transparency) under its border image, and the
// transparent corners of a control's image given what lies behind the control.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/SkinModel.h"

namespace vcl {
class TControl;
}

namespace skin_layered {

// The background of a section's state (0 normal, 1 hot) into R of Bmp:
//  - transparency 100: all of Bmp transparent (0) when R covers it, else nothing;
//  - texture and gradient shares adding up to 100, the gradient's 1..99, a texture without
//    draw flags: the gradient with the texture mixed in at its share;
//  - otherwise the texture tiled over R (through its mask when it has one), the gradient (or
//    the colour without one) laid over it at its share, or painted alone without texture;
//  - the colour alone with no shares: opaque at transparency 0; else with the alpha of the
//    transparency where Bmp is empty (its pixel at R's top-left is 0), faded toward the
//    colour elsewhere; shares adding up to 1..99 move R toward the colour by the rest.
// R covering all of Bmp is premultiplied after.
void PaintSectionBackground32(vcl::TBitmap* Bmp, const vcl::TRect& R, const TsLoadedSkin& Skin, int SkinIndex,
                              int State);

// A section drawn into R of a 32-bit bitmap for a layered window: its background for the
// state (limited to the section's states, and to hot at most), then its border image with
// what R held before as the background of its transparent corners. Skin nil means the
// default manager's. Nothing for an R that is empty or not inside Bmp, or an invalid index.
void PaintControlByTemplate(int SkinIndex, int State, const vcl::TRect& R, vcl::TBitmap* Bmp,
                            const TsLoadedSkin* Skin);

// Corner bits of PaintControlCorners.
inline constexpr int kCornerTopLeft = 1;
inline constexpr int kCornerBottomLeft = 2;
inline constexpr int kCornerTopRight = 4;
inline constexpr int kCornerBottomRight = 8;

// Gives the corners (bits of Corners) of a control's image (Cache, the control's size) what
// lies behind them: the background its parent control answers, or its parent window without
// one. Where the state's border image (BorderIndex of Skin) is the key colour the cache takes
// the background's pixel (or colour); a masked border image mixes the two through its mask.
// A border image with no states and its own bitmap counts as three masked states.
void PaintControlCorners(const TsLoadedSkin* Skin, int BorderIndex, vcl::TBitmap* Cache, vcl::TControl* Owner,
                         int State, int Corners);

}  // namespace skin_layered
