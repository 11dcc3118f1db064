// The skinned border of a window whose client edge the form skinning paints itself: a frame
// of a given width around a rectangle, from the border image of the control's section
// (painted into the control's cache, with what lies behind it in its transparent parts) or,
// without one, a plain frame in the control's background colour.
#pragma once

#include <windows.h>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/ControlSkin.h"

namespace skin_layered {

// Paints the frame of R (DC coordinates) for the state and answers in ClientRect what lies
// inside it. Color is the control's background colour for the state.
//  - With a border image (Data's BorderIndex valid, and a cache): the image goes into R of
//    the cache (a masked image over strips of Color, or of the parent's bitmap when the parent
//    answers with one); ClientRect is R inside the image's margins. With BorderWidth above 0
//    the band between the margins and BorderWidth takes Color, ClientRect is R less
//    BorderWidth on every side, and, when the cache is not the DC's, the frame is copied to DC.
//  - Without: a frame of Color BorderWidth wide inside R on DC; ClientRect is R less
//    BorderWidth on every side.
// A ClientRect narrower (lower) than nothing keeps Right = Left (Bottom = Top).
void PaintSkinnedBackground(HDC DC, const vcl::TRect& R, int BorderWidth, vcl::TRect& ClientRect, int State,
                            const TqvControlSkin& Data, vcl::TColor Color);

}  // namespace skin_layered
