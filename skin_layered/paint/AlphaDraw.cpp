#include "skin_layered/paint/AlphaDraw.h"

#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"

namespace skin_layered {

using vcl::TBitmap;
using vcl::TRect;

void DrawAlphaBitmap(vcl::TCanvas* Canvas, TBitmap* Bmp, const TRect& R, bool Reflect) {
  if (!Canvas || !Bmp || Bmp->Empty() || R.IsEmpty()) return;
  if (Bmp->PixelFormat() != vcl::pf32bit) {
    Canvas->StretchDraw(R, Bmp);
    return;
  }
  const int width = R.Width(), height = R.Height();
  const auto work = CreateBmp32(width, Reflect ? height + height / 2 : height);
  HDC target = Canvas->Handle();
  HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, width, work->Height(), target, R.Left, R.Top, SRCCOPY);
  const TRect all{0, 0, width, height};
  if (Bmp->Width() == width && Bmp->Height() == height) {
    CopyTransBitmaps(all, all, work.get(), Reflect, 0, vcl::clNone, false, {}, Bmp);
  } else if (const auto scaled = StretchBmp32(Bmp, width, height, HALFTONE)) {
    CopyTransBitmaps(all, all, work.get(), false, 0, vcl::clNone, false, {}, scaled.get());
  }
  BitBlt(target, R.Left, R.Top, width, work->Height(), workDC, 0, 0, SRCCOPY);
}

}  // namespace skin_layered
