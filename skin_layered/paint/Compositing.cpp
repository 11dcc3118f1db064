#include "skin_layered/paint/Compositing.h"

#include <algorithm>
#include <memory>

#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered {
namespace {

using vcl::TBitmap;
using vcl::TRect;

TPixelRect PixelRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

TColorValue ResolvedColor(vcl::TColor color) {
  return color == vcl::clNone ? kNoColor : static_cast<TColorValue>(vcl::ColorToRGB(color)) & 0xFFFFFFu;
}

}  // namespace

TBackground BackgroundOf(const TqvCacheInfo& ci) {
  TBackground background;
  InitPixelView(ci.Bmp, background.Bmp);
  background.X = ci.X;
  background.Y = ci.Y;
  background.Ready = ci.Ready;
  return background;
}

void CopyTransBitmaps(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, bool Reflect, int Transp,
                      vcl::TColor Tint, bool FillHoles, const TqvCacheInfo& CI, TBitmap* Src) {
  TPixelView dst;
  const TPixelSource src(Src);
  if (src.Empty() || !InitPixelView(Dst, dst)) return;
  const auto area = ClipAlphaCopy(PixelRect(DstRect), PixelRect(SrcRect), dst.Width, dst.Height, src.View().Width,
                                  src.View().Height);
  if (!area) return;
  const TColorValue tint = ResolvedColor(Tint);
  AlphaCopyArea(dst, src.View(), *area, Transp, tint, BackgroundOf(CI), FillHoles);
  if (Reflect) ReflectArea(dst, src.View(), *area, Transp, tint);
}

void BlendTransRect(TBitmap* Dst, TBitmap* Src, int Keep, vcl::TPoint P, const TRect& SR) {
  TPixelView dst;
  const TPixelSource src(Src);
  if (src.Empty() || !InitPixelView(Dst, dst)) return;
  BlendTransArea(dst, src.View(), static_cast<unsigned>(std::clamp(Keep, 0, 255)), P.X, P.Y, PixelRect(SR));
}

void BlendBitmapsByMask(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, bool FillHoles,
                        const TqvCacheInfo& CI, TBitmap* Src) {
  TPixelView dst;
  const TPixelSource src(Src);
  if (src.Empty() || !InitPixelView(Dst, dst)) return;
  const auto area = ClipAlphaCopy(PixelRect(DstRect), PixelRect(SrcRect), dst.Width, dst.Height, src.View().Width,
                                  src.View().Height);
  if (area) BlendAreaByMask(dst, src.View(), *area, BackgroundOf(CI), FillHoles);
}

void BlendRect(TBitmap* Dst, int X, int Y, TColorValue Key, double K, const TRect& SR, TBitmap* Src) {
  TPixelView dst;
  const TPixelSource src(Src);
  if (src.Empty() || !InitPixelView(Dst, dst)) return;
  BlendRectArea(dst, X, Y, Key, K, PixelRect(SR), src.View());
}

void CopyMaskedRect(TBitmap* Target, const TRect& DstRect, TBitmap* Picture, vcl::TPoint SrcPoint, int MaskOffset,
                    bool KeyCheck, const TqvCacheInfo& CI) {
  TPixelView dst;
  const TPixelSource picture(Picture);
  if (picture.Empty() || DstRect.IsEmpty() || !InitPixelView(Target, dst)) return;
  const TPixelRect piece{SrcPoint.X, SrcPoint.Y, SrcPoint.X + DstRect.Width(), SrcPoint.Y + DstRect.Height()};
  CopyMaskedArea(dst, DstRect.Left, DstRect.Top, picture.View(), piece, MaskOffset, KeyCheck, BackgroundOf(CI));
}

void CopyRectKeyed(TBitmap* T, TBitmap* S, int X, bool FillHoles, const TqvCacheInfo& CI, TColorValue Key,
                   const TRect& SR, int Y) {
  TPixelView dst;
  const TPixelSource src(S);
  if (src.Empty() || !InitPixelView(T, dst)) return;
  CopyKeyedArea(dst, src.View(), X, Y, PixelRect(SR), Key, FillHoles, BackgroundOf(CI));
}

void CopyRectTrans(TBitmap* T, TBitmap* S, int X, const TRect& SR, TColorValue Key, int Y) {
  TPixelView dst;
  const TPixelSource src(S);
  if (src.Empty() || !InitPixelView(T, dst)) return;
  CopyNonKeyArea(dst, src.View(), X, Y, PixelRect(SR), Key);
}

void SumBitmapRect(TBitmap* Dst, TBitmap* Src, int X, TColorValue Key, int Y) {
  TPixelView dst;
  const TPixelSource src(Src);
  if (src.Empty() || !InitPixelView(Dst, dst)) return;
  SumArea(dst, src.View(), X, Y, Key);
}

void BlendColorToBmp(TBitmap* Bmp, vcl::TColor Color, double K) {
  TPixelView view;
  if (InitPixelView(Bmp, view)) BlendColorToView(view, static_cast<TColorValue>(vcl::ColorToRGB(Color)), K);
}

void MixBitmaps(TBitmap* Out, TBitmap* A, TBitmap* B, unsigned Factor, TBitmap* Mask) {
  TPixelView out;
  const TPixelSource a(A), b(B);
  if (a.Empty() || b.Empty() || !InitPixelView(Out, out)) return;
  if (!Mask) {
    MixViews(out, a.View(), b.View(), Factor, nullptr);
    return;
  }
  const TPixelSource mask(Mask);
  if (!mask.Empty()) MixViews(out, a.View(), b.View(), Factor, &mask.View());
}

}  // namespace skin_layered
