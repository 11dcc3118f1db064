#include "skin_layered/paint/BorderPainter.h"

#include <algorithm>

#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {
namespace {

vcl::TRect Inside(const vcl::TRect& r, int width) {
  vcl::TRect inner{r.Left + width, r.Top + width, r.Right - width, r.Bottom - width};
  inner.Right = std::max(inner.Right, inner.Left);
  inner.Bottom = std::max(inner.Bottom, inner.Top);
  return inner;
}

}  // namespace

void PaintSkinnedBackground(HDC DC, const vcl::TRect& R, int BorderWidth, vcl::TRect& ClientRect, int State,
                            const TqvControlSkin& Data, vcl::TColor Color) {
  // What lies behind the control: nothing until its parent answers.
  TqvBGInfo behind;
  vcl::TControl* owner = Data.Owner;
  if (owner && owner->Parent()) GetBgInfo(behind, owner->Parent(), false);

  const TsLoadedSkin* skin = Data.SkinOrDefault();
  const TsMaskData* border =
      skin && Data.Cache && skin->IsValidImgIndex(Data.BorderIndex) ? &skin->Images[static_cast<std::size_t>(Data.BorderIndex)]
                                                                     : nullptr;
  if (!border) {
    if (BorderWidth != 0) FillDCBorder(DC, R, BorderWidth, Color, BorderWidth, BorderWidth, BorderWidth);
    ClientRect = Inside(R, BorderWidth);
    return;
  }

  if (const TsGeneralData* section = Data.Section()) State = std::min(State, section->States - 1);
  State = std::max(State, 0);
  PrepareCache(Data);
  vcl::TBitmap* cache = Data.Cache;
  HDC cacheDC = cache->Canvas()->Handle();
  const int wl = border->WidthLeft, wt = border->WidthTop, wr = border->WidthRight, wb = border->WidthBottom;
  const vcl::TPoint at = owner ? vcl::TPoint{owner->Left(), owner->Top()} : vcl::TPoint{0, 0};

  if (border->MaskType == 1) {
    // The mask mixes the image with what is under it: the strips it covers are prepared.
    if (behind.BgType == btBitmap && behind.Bmp)
      BitBltBorder(cacheDC, R.Left, R.Top, std::max({wl, wt, wr, wb}), at.X + behind.Offset.X + R.Left,
                   at.Y + behind.Offset.Y + R.Top, behind.Bmp->Canvas()->Handle(), R.Height(), R.Width());
    else
      FillDCBorder(cacheDC, R, wl, Color, wb, wr, wt);
  }
  TqvCacheInfo ci;
  CopyBgInfo(behind, ci);
  ci.X += at.X;
  ci.Y += at.Y;
  DrawSkinRect(cache, R, ci, *border, State, true);
  ClientRect = {R.Left + wl, R.Top + wt, R.Right - wr, R.Bottom - wb};

  if (BorderWidth == 0) return;
  const int w = R.Width(), h = R.Height();
  FillFrame32(cache, ClientRect, std::max(std::min(BorderWidth, w - wr) - wl, 0),
              std::max(std::min(BorderWidth, h - wb) - wt, 0), std::max(std::min(BorderWidth, w - wl) - wr, 0),
              std::max(std::min(BorderWidth, h - wt) - wb, 0), vcl::ColorToRGB(Color));
  ClientRect = Inside(R, BorderWidth);
  if (cacheDC != DC) BitBltBorder(DC, R.Left, R.Top, BorderWidth, R.Left, R.Top, cacheDC, h, w);
}

}  // namespace skin_layered
