// Scaling of glyphs, image-list pictures and skin images with a filter (box, triangle,
// Hermite, bell, B-spline, windowed sinc or Mitchell; numbers 0 to 6) over all four channels.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/pixels/Resampler.h"

namespace skin_layered {

// Src resampled into Dst, which becomes a 32-bit bitmap of NewWidth x NewHeight. At the
// source's own size Dst takes a plain copy. Nothing for a new width or height below 1, or a
// source smaller than 2 x 2. A source that is not 32-bit is read as opaque; Src may be Dst.
// An unknown filter number leaves the new pixels all zero.
void StretchWithFilter(vcl::TBitmap* Src, vcl::TBitmap* Dst, int NewWidth, int NewHeight, int Filter);

}  // namespace skin_layered
