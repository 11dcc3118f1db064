#include "skin_layered/paint/SkinImages.h"

#include <algorithm>

#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"
#include "skin_layered/paint/pixels/SkinPieces.h"

namespace skin_layered {
namespace {

TPixelRect PixelRect(const vcl::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The state to paint: limited to the image's last one (the first for an image without any).
int StateIndex(const TsMaskData& mask, int state) {
  return std::max(0, std::min(state, static_cast<int>(mask.ImageCount) - 1));
}

void PaintStateImage(vcl::TBitmap* bmp, const vcl::TRect& r, const TqvCacheInfo& ci, const TsMaskData& mask,
                     const vcl::TRect& imageRect, int state, TSkinStyle style, bool fillCornerHoles) {
  TPixelView dst;
  if (!InitPixelView(bmp, dst)) return;
  if (state == 0 && (mask.DrawMode & kDrawNoNormal)) return;
  if (r.Width() < 2 || r.Height() < 2 || !mask.Manager) return;
  TsMaskData geometry = mask;
  geometry.R = imageRect;
  const int w = MaskImageWidth(geometry), h = MaskImageHeight(geometry);
  if (w <= 0 || h <= 0) return;
  const TPixelSource picture(ImagePicture(mask));
  if (picture.Empty()) return;

  TSkinPaint paint;
  TNineMargins margins{mask.WidthLeft, mask.WidthTop, mask.WidthRight, mask.WidthBottom};
  FitMargins(margins.Left, margins.Right, r.Width());
  FitMargins(margins.Top, margins.Bottom, r.Height());
  paint.Layout = {PixelRect(r), imageRect.Left + w * StateIndex(mask, state), imageRect.Top, w, h, margins};
  paint.MaskOffset = mask.MaskType != 0 ? h : 0;
  paint.Stretch = (mask.DrawMode & kDrawStretch) != 0;
  paint.Centre = (mask.DrawMode & kDrawCentre) != 0;
  paint.Style = style;
  paint.FillCornerHoles = fillCornerHoles;
  paint.Background = BackgroundOf(ci);
  PaintSkinPieces(dst, picture.View(), paint);
}

}  // namespace

vcl::TBitmap* ImagePicture(const TsMaskData& Mask) {
  if (Mask.Bmp) return Mask.Bmp.get();
  return Mask.Manager ? Mask.Manager->MasterBitmap.get() : nullptr;
}

void DrawSkinRect(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvCacheInfo& CI, const TsMaskData& MaskData,
                  int State, bool UpdateCorners) {
  PaintStateImage(Bmp, R, CI, MaskData, MaskData.R, State, TSkinStyle::Opaque,
                  UpdateCorners && MaskData.TransparentBorder >= 1);
}

void DrawSkinRect32(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvCacheInfo& CI, const TsMaskData& MaskData,
                    int State) {
  PaintStateImage(Bmp, R, CI, MaskData, MaskData.R, State, TSkinStyle::Alpha, MaskData.TransparentBorder >= 1);
}

void DrawSkinRectEx(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvCacheInfo& CI, TsMaskData MaskData,
                    vcl::TRect ImageRect, int State) {
  PaintStateImage(Bmp, R, CI, MaskData, ImageRect, State, TSkinStyle::AlphaFiltered,
                  MaskData.TransparentBorder >= 1);
}

void DrawSkinGlyph(vcl::TBitmap* Bmp, vcl::TPoint P, int State, int Mode, const TsMaskData& MaskData,
                   const TqvCacheInfo& CI) {
  TPixelView dst;
  if (!InitPixelView(Bmp, dst)) return;
  const int w = MaskImageWidth(MaskData), h = MaskImageHeight(MaskData);
  if (w <= 0 || h <= 0) return;
  const int x = MaskData.R.Left + w * StateIndex(MaskData, State);
  const TPixelRect cell{x, MaskData.R.Top, x + w, MaskData.R.Top + h};
  TPixelSource picture(nullptr);
  if (!MaskData.Bmp) {
    if (!MaskData.Manager || MaskData.ImageCount == 0) return;
    picture = TPixelSource(MaskData.Manager->MasterBitmap.get());
    if (picture.Empty()) return;
    if (MaskData.MaskType < 1) {
      if (Mode == 1)
        CopyKeyedArea(dst, picture.View(), P.X, P.Y, cell, kKeyColor, true, BackgroundOf(CI));
      else
        BlendRectArea(dst, P.X, P.Y, kKeyColor, 0.5, cell, picture.View());
      return;
    }
  } else {
    picture = TPixelSource(MaskData.Bmp.get());
    const TPixelView& v = picture.View();
    const vcl::TRect& r = MaskData.R;
    if (picture.Empty() || r.Left < 0 || r.Top < 0 || r.Right > v.Width || r.Bottom > v.Height) return;
  }
  if (MaskData.MaskType == 0)
    CopyNonKeyArea(dst, picture.View(), P.X, P.Y, cell, kKeyColor);
  else
    CopyMaskedGlyphArea(dst, P.X, P.Y, picture.View(), cell, h, Mode != 1);
}

void BlendMasterRect(vcl::TPoint DestPoint, const vcl::TRect& SrcRect, vcl::TBitmap* Dest, const TqvCacheInfo& CI,
                     const TsMaskData& MaskData) {
  TPixelView dst;
  if (!MaskData.Manager || !InitPixelView(Dest, dst)) return;
  const TPixelSource master(MaskData.Manager->MasterBitmap.get());
  if (master.Empty()) return;
  BlendMasterArea(dst, DestPoint.X, DestPoint.Y, master.View(), PixelRect(SrcRect), BackgroundOf(CI), CI.FillColor);
}

void TileMaskedImage(vcl::TBitmap* Bmp, vcl::TRect& R, const TqvCacheInfo& CI, int Mode, const TsMaskData& Image) {
  TPixelView dst;
  if ((Mode != 0 && Mode != 10) || !Image.Manager || !InitPixelView(Bmp, dst)) return;
  const int w = MaskImageWidth(Image), h = Image.R.Height() / 2;
  const TPixelSource picture(ImagePicture(Image));
  if (w <= 0 || h <= 0 || picture.Empty() || R.IsEmpty()) return;
  const TBackground background = BackgroundOf(CI);
  const TPixelRect area = PixelRect(R);
  const TPixelRect whole =
      Mode == 0 ? area
                : TPixelRect{R.Left, R.Top, R.Left + R.Width() / w * w, R.Top + R.Height() / h * h};
  ForEachTile(whole, w, h, {0, 0, dst.Width, dst.Height}, [&](int x, int y, int cw, int ch) {
    CopyMaskedArea(dst, x, y, picture.View(), {Image.R.Left, Image.R.Top, Image.R.Left + cw, Image.R.Top + ch}, h,
                   true, background);
  });
  if (Mode == 10) {
    // The strips no whole cell covers show what lies behind.
    const TPixelRect strips[] = {{whole.Right, R.Top, R.Right, whole.Bottom}, {R.Left, whole.Bottom, R.Right, R.Bottom}};
    for (const TPixelRect& strip : strips) {
      if (CI.Ready && CI.Bmp) {
        CopyArea(dst, strip.Left, strip.Top, background.Bmp,
                 {CI.X + strip.Left, CI.Y + strip.Top, CI.X + strip.Right, CI.Y + strip.Bottom});
      } else {
        FillArea(dst, strip, SwapBytes02(CI.FillColor & 0xFFFFFFu) | 0xFF000000u);
      }
    }
  }
  R = {-1, -1, -1, -1};
}

void PaintMaskPart(vcl::TBitmap* Dest, vcl::TBitmap* Src, const vcl::TRect& R, vcl::TPoint Offset, int MaskIndex,
                   const TsLoadedSkin* Skin, int PieceKind) {
  TPixelView dst;
  const TPixelSource src(Src);
  if (src.Empty() || !InitPixelView(Dest, dst)) return;
  const int w = std::min(R.Width(), src.View().Width - Offset.X);
  const int h = std::min(R.Height(), src.View().Height - Offset.Y);
  if (MaskIndex == kNoIndex || !Skin || !Skin->IsValidImgIndex(MaskIndex)) {
    FillKeyFromSource(dst, R.Left, R.Top, w, h, src.View(), Offset.X, Offset.Y, TPixelView{}, 0, 0);
    return;
  }
  const TsMaskData& mask = Skin->Images[static_cast<std::size_t>(MaskIndex)];
  const TPixelSource reference(ImagePicture(mask));
  if (reference.Empty()) return;
  int x = mask.R.Left, y = mask.R.Top;
  if (PieceKind == kPieceTopRight || PieceKind == kPieceBottomRight)
    x += MaskImageWidth(mask) - Skin->MaskWidthRight(MaskIndex);
  if (PieceKind == kPieceBottomLeft || PieceKind == kPieceBottomRight)
    y += MaskImageHeight(mask) - Skin->MaskWidthBottom(MaskIndex);
  FillKeyFromSource(dst, R.Left, R.Top, w, h, src.View(), Offset.X, Offset.Y, reference.View(), x, y);
}

}  // namespace skin_layered
