// Two pictures of the window image the skin does not give as plain glyphs: the caption icon
// (the form's, the application's, the engine's or the system's), drawn with a correct alpha
// in the 32-bit image, and the size grip in the bottom-right corner over the right background.
#include <algorithm>

#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {
namespace {

// The glyph as a 32-bit picture: a glyph without alpha gets alpha 255 everywhere but on its
// transparent colour (its bottom-left pixel), which becomes a hole.
std::unique_ptr<vcl::TBitmap> Glyph32(vcl::TBitmap* Glyph) {
  const int w = Glyph->Width(), h = Glyph->Height();
  auto copy = CreateBmp32(w, h);
  if (Glyph->PixelFormat() == vcl::pf32bit) {
    BitBlt(copy->Canvas()->Handle(), 0, 0, w, h, Glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
    return copy;
  }
  const COLORREF key = GetPixel(Glyph->Canvas()->Handle(), 0, h - 1);
  BitBlt(copy->Canvas()->Handle(), 0, 0, w, h, Glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
  GdiFlush();
  TPixelView view;
  if (!InitPixelView(copy.get(), view)) return copy;
  const TPixel32 hole = SwapBytes02(static_cast<std::uint32_t>(key)) & 0xFFFFFF;
  for (int y = 0; y < h; ++y)
    for (TPixel32& p : std::span(view.Row(y), static_cast<std::size_t>(w)))
      p = (p & 0xFFFFFF) == hole ? 0 : (p | 0xFF000000u);
  return copy;
}

}  // namespace

void TsSkinProvider::PaintTitleIcon() {
  vcl::TBitmap* image = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!image || !IconVisible() || !Form->HandleAllocated()) return;
  const vcl::TRect r = caption_buttons_->IconRect;
  const int w = TitleIconWidth(), h = TitleIconHeight();
  if (w <= 0 || h <= 0) return;

  vcl::TBitmap* glyph = title_icon_->Glyph();
  if (!glyph->Empty()) {
    auto picture = Glyph32(glyph);
    const int y = r.Top + (r.Height() - picture->Height()) / 2;
    BlendBitmapsByMask(vcl::Rect(r.Left, y, r.Left + picture->Width(), y + picture->Height()),
                       vcl::Rect(0, 0, picture->Width(), picture->Height()), image, false, kEmptyCacheInfo,
                       picture.get());
    return;
  }

  // What lay under the icon, to tell the pixels the icon drew.
  auto before = CreateBmp32(w, h);
  HDC dc = image->Canvas()->Handle();
  BitBlt(before->Canvas()->Handle(), 0, 0, w, h, dc, r.Left, r.Top, SRCCOPY);
  auto draw = [&](HICON icon, int width, int height) {
    if (icon) DrawIconEx(dc, r.Left, r.Top, icon, width, height, 0, nullptr, DI_NORMAL);
  };
  if (Form->Icon() && !Form->Icon()->Empty()) {
    draw(Form->Icon()->Handle(), w, h);
  } else if (vcl::Application && vcl::Application->IconHandle()) {
    draw(reinterpret_cast<HICON>(SendMessageW(vcl::Application->Handle(), WM_GETICON, ICON_SMALL2, 0)), w, h);
  } else {
    int w2 = title_icon_->Width(), h2 = title_icon_->Height();
    if (w2 == 0) w2 = CaptionHeight(true) - r.Top;
    if (h2 == 0) h2 = CaptionHeight(true) - r.Top;
    if (h2 > 16 && LargeAppIcon() && !LargeAppIcon()->Empty())
      draw(LargeAppIcon()->Handle(), w2, h2);
    else if (SmallAppIcon() && !SmallAppIcon()->Empty())
      draw(SmallAppIcon()->Handle(), w2, h2);
    else
      draw(LoadIconW(nullptr, IDI_APPLICATION), w, h);
  }
  GdiFlush();
  // The pixels the icon changed are opaque; the others keep the image's alpha.
  TPixelView after, old;
  if (!InitPixelView(image, after) || !InitPixelView(before.get(), old)) return;
  for (int y = 0; y < h; ++y) {
    if (!after.Contains(r.Left, r.Top + y)) continue;
    for (int x = 0; x < w && after.Contains(r.Left + x, r.Top + y); ++x) {
      TPixel32& p = after.Row(r.Top + y)[r.Left + x];
      if (p != old.Row(y)[x]) p |= 0xFF000000u;
    }
  }
}

void TsSkinProvider::PaintGrip(HDC DC) {
  TsSkinManager* manager = SkinManager();
  vcl::TBitmap* image = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!manager || !image) return;
  const TsLoadedSkin& skin = manager->Skin();
  const int index = skin.ConstData.GripImage;
  if (!skin.IsValidImgIndex(index)) return;
  const TsMaskData& mask = skin.Images[static_cast<std::size_t>(index)];
  const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
  if (w <= 0 || h <= 0) return;
  auto grip = CreateBmp32(w, h);
  const vcl::TPoint pos = GripPos(index);
  HDC gripDC = grip->Canvas()->Handle();

  TqvBGInfo info{};
  GetBgInfo(info, Form, false);
  if (info.BgType == btBitmap && info.Bmp) {
    BitBlt(gripDC, 0, 0, w, h, info.Bmp->Canvas()->Handle(), pos.X, pos.Y, SRCCOPY);
  } else {
    FillDC(gripDC, vcl::Rect(0, 0, w, h), info.Color);
    // Where the skin's frame reaches past the system's, the frame shows through the grip.
    const vcl::TRect shadow = ShadowSize();
    const int frame = SysBorderWidth(Form->Handle(), nullptr, false);
    const int right = skin.MaskWidthRight(SkinData->BorderIndex);
    const int bottom = skin.MaskWidthBottom(SkinData->BorderIndex);
    if (skin.IsValidImgIndex(SkinData->BorderIndex) && (right > frame || bottom > frame)) {
      const int frameLeft = image->Width() - shadow.Right - right;
      const int frameTop = image->Height() - shadow.Bottom - bottom;
      HDC src = image->Canvas()->Handle();
      if (pos.X + w > frameLeft) {
        const int from = std::max(0, frameLeft - pos.X);
        BitBlt(gripDC, from, 0, w - from, h, src, pos.X + from, pos.Y, SRCCOPY);
      }
      if (pos.Y + h > frameTop) {
        const int from = std::max(0, frameTop - pos.Y);
        BitBlt(gripDC, 0, from, w, h - from, src, pos.X, pos.Y + from, SRCCOPY);
      }
    }
  }
  TqvCacheInfo ci;
  MakeCacheInfo(grip.get(), 0, 0, ci);
  DrawSkinGlyph(grip.get(), vcl::TPoint(), 0, 1, mask, ci);
  BitBlt(DC, pos.X, pos.Y, w, h, gripDC, 0, 0, SRCCOPY);
}

}  // namespace skin_layered
