#include "skin_layered/paint/Resampling.h"

#include <algorithm>
#include <memory>

#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered {

void StretchWithFilter(vcl::TBitmap* Src, vcl::TBitmap* Dst, int NewWidth, int NewHeight, int Filter) {
  if (!Src || !Dst || Src->Empty() || NewWidth < 1 || NewHeight < 1) return;
  if (Src->Width() < 2 || Src->Height() < 2) return;
  if (Src->Width() == NewWidth && Src->Height() == NewHeight) {
    CopyBmp(Dst, Src);
    return;
  }
  // The source's rows must outlive Dst's resizing, and are read as 32-bit pixels.
  std::unique_ptr<vcl::TBitmap> copy;
  TPixelView source;
  if (Src == Dst || !InitPixelView(Src, source)) {
    copy = Bmp32Copy(Src, false);
    if (!copy || !InitPixelView(copy.get(), source)) return;
  }
  Dst->SetPixelFormat(vcl::pf32bit);
  Dst->SetSize(NewWidth, NewHeight);
  TPixelView target;
  if (!InitPixelView(Dst, target)) return;
  if (!ResamplePixels(source, target, Filter))
    for (int y = 0; y < target.Height; ++y) std::fill_n(target.Row(y), target.Width, TPixel32{0});
}

}  // namespace skin_layered
