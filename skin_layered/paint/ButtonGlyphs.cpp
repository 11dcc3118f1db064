#include "skin_layered/paint/ButtonGlyphs.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "classlib/comctrls/ToolBar.h"
#include "classlib/graphics/GraphicsCanvas.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/AlphaImageList.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/GlyphState.h"

namespace skin_layered {
namespace {

constexpr int kHalfTransparent = 50;
// The pixel shift of a pressed tool button's glyph.
constexpr int kPressedShift = 1;
// A drop-down tool button keeps room for its arrow at the right.
constexpr int kDropDownRoom = 8;

bool HasBit(std::uint8_t Flags, std::uint8_t Bit) { return (Flags & Bit) != 0; }

// The colour a greyed glyph takes: the section's normal colour (white without a section).
vcl::TColor GreyColor(const TqvGlyphPaintData& Data) {
  const bool grey = (Data.State == 0 && Data.Grayed) || (!Data.Enabled && HasBit(Data.DisabledGlyphKind, kDisabledGrayed));
  if (!grey) return vcl::clNone;
  const TsLoadedSkin* skin = Data.Skin ? Data.Skin : DefaultSkin();
  if (skin && skin->IsValidSkinIndex(Data.SkinIndex))
    return skin->Sections[static_cast<std::size_t>(Data.SkinIndex)].Props[0].Color;
  return 0xFFFFFF;
}

// With the standard glyph order the hot state shows the normal image and a disabled glyph
// the second one.
int RemappedState(const TqvGlyphPaintData& Data) {
  const TqvDefaultManager* manager = DefaultManager();
  if (!manager || !manager->StdGlyphsOrder()) return Data.State;
  if (Data.State == 0 && !Data.Enabled) return 1;
  if (Data.State == 1) return 0;
  if (Data.State >= 2 && Data.NumGlyphs < 3) return 0;
  return Data.State;
}

// The DC's area under the glyph rectangle as a 32-bit bitmap; painted on, then put back.
class TDCArea {
 public:
  TDCArea(HDC DC, const vcl::TRect& R) : dc_(DC), r_(R), bmp_(CreateBmp32(R.Width(), R.Height())) {
    if (!bmp_->Empty()) BitBlt(bmp_->Canvas()->Handle(), 0, 0, r_.Width(), r_.Height(), dc_, r_.Left, r_.Top, SRCCOPY);
  }
  TDCArea(const TDCArea&) = delete;
  TDCArea& operator=(const TDCArea&) = delete;

  vcl::TBitmap* Bitmap() const { return bmp_.get(); }
  bool Empty() const { return bmp_->Empty(); }
  void PutBack() const {
    if (!bmp_->Empty()) BitBlt(dc_, r_.Left, r_.Top, r_.Width(), r_.Height(), bmp_->Canvas()->Handle(), 0, 0, SRCCOPY);
  }

 private:
  HDC dc_;
  vcl::TRect r_;
  std::unique_ptr<vcl::TBitmap> bmp_;
};

void DrawFromAlphaList(const TqvGlyphPaintData& Data, int State, vcl::TColor Grey) {
  const int disabledShare = !Data.Enabled && HasBit(Data.DisabledGlyphKind, kDisabledBlended) ? kHalfTransparent : 0;
  const int transparency = std::max(disabledShare, State == 0 ? Data.Blend : 0);
  const int glyphIndex = Data.Down + State;
  if (Data.DstBmp) {
    vcl::TSize size;
    DrawAlphaImgList(Data.ImageList, Data.DstBmp, Data.ImgRect.Left, Data.ImgRect.Top, Data.ImageIndex, transparency,
                     Grey, glyphIndex, Data.NumGlyphs, Data.Reflected != 0, size);
  } else {
    DrawAlphaImgListDC(Data.ImageList, Data.DC, Data.ImgRect.Left, Data.ImgRect.Top, Data.ImageIndex, transparency,
                       Grey, glyphIndex, Data.NumGlyphs, Data.Reflected != 0);
  }
}

void DrawFromPlainList(const TqvGlyphPaintData& Data, int State) {
  vcl::TCustomImageList* list = Data.ImageList;
  if (!Data.DstBmp) {
    if (!Data.DC) return;
    vcl::TCanvas canvas;
    canvas.SetHandle(Data.DC);
    list->Draw(&canvas, Data.ImgRect.Left, Data.ImgRect.Top, Data.ImageIndex, Data.Enabled);
    canvas.SetHandle(nullptr);
    return;
  }
  const auto image = CreateBmp32(list->Width(), list->Height());
  if (image->Empty()) return;
  const vcl::TColor background = list->BkColor() == vcl::clNone ? vcl::clFuchsia : list->BkColor();
  BlendBmpRect(image.get(), vcl::TRect(0, 0, image->Width(), image->Height()), background, 0);
  list->Draw(image->Canvas(), 0, 0, Data.ImageIndex, true);
  const vcl::TRect all(0, 0, image->Width(), image->Height());
  const int x = Data.ImgRect.Left, y = Data.ImgRect.Top;
  const auto grey = [&] { GreyBitmapKey(image.get(), GetAPixel(image.get(), 0, 0)); };
  if (!Data.Enabled) {
    if (HasBit(Data.DisabledGlyphKind, kDisabledGrayed)) grey();
    if (HasBit(Data.DisabledGlyphKind, kDisabledBlended))
      BlendRect(Data.DstBmp, x, y, kKeyColor, 0.5, all, image.get());
    else
      SumBitmapRect(Data.DstBmp, image.get(), x, kKeyColor, y);
    return;
  }
  if (State == 0 && Data.Grayed) grey();
  if (State == 0 && Data.Blend > 0)
    BlendRect(Data.DstBmp, x, y, kKeyColor, Data.Blend / 100.0, all, image.get());
  else
    SumBitmapRect(Data.DstBmp, image.get(), x, kKeyColor, y);
}

bool AllAlphaZero(vcl::TBitmap* Bmp) {
  TPixelView view;
  if (!InitPixelView(Bmp, view)) return false;
  for (int y = 0; y < view.Height; ++y)
    for (int x = 0; x < view.Width; ++x)
      if ((view.Row(y)[x] >> 24) != 0) return false;
  return true;
}

void DrawFromGlyph(const TqvGlyphPaintData& Data, int State, vcl::TColor Grey) {
  vcl::TBitmap* glyph = Data.Glyph;
  // A 32-bit glyph without any alpha is drawn opaque. The control's glyph is left alone: a
  // 24-bit copy is drawn instead.
  std::unique_ptr<vcl::TBitmap> opaque;
  const TqvDefaultManager* manager = DefaultManager();
  const bool check = !Data.Enabled || !manager || manager->CheckEmptyAlpha();
  if (check && glyph->PixelFormat() == vcl::pf32bit && AllAlphaZero(glyph)) {
    opaque = std::make_unique<vcl::TBitmap>();
    opaque->Assign(glyph);
    opaque->SetPixelFormat(vcl::pf24bit);
    glyph = opaque.get();
  }
  const int count = std::max(Data.NumGlyphs, 1);
  const int blend = !Data.Enabled && HasBit(Data.DisabledGlyphKind, kDisabledBlended)
                        ? std::max(kHalfTransparent, Data.Blend)
                        : Data.Blend;
  if (glyph->PixelFormat() != vcl::pf32bit) {
    if (Data.DstBmp) {
      DrawGlyphState(glyph, Data.DstBmp, Data.ImgRect, count, Data.Enabled, State, blend, Data.Down != 0,
                     Data.Reflected != 0);
      return;
    }
    const TDCArea area(Data.DC, Data.ImgRect);
    if (area.Empty()) return;
    DrawGlyphState(glyph, area.Bitmap(), vcl::TRect(0, 0, Data.ImgRect.Width(), Data.ImgRect.Height()), count,
                   Data.Enabled, State, blend, Data.Down != 0, Data.Reflected != 0);
    area.PutBack();
    return;
  }
  const int slice = glyph->Width() / count;
  if (slice <= 0) return;
  const int sliceX = slice * std::min(State, count - 1);
  const vcl::TRect source(sliceX, 0, sliceX + slice, glyph->Height());
  if (Data.DstBmp) {
    const vcl::TRect dest(Data.ImgRect.Left, Data.ImgRect.Top, Data.ImgRect.Left + slice,
                          Data.ImgRect.Top + glyph->Height());
    CopyTransBitmaps(dest, source, Data.DstBmp, false, 0, Grey, false, kEmptyCacheInfo, glyph);
    return;
  }
  const auto piece = CreateBmp32(slice, glyph->Height());
  BitBlt(piece->Canvas()->Handle(), 0, 0, slice, glyph->Height(), glyph->Canvas()->Handle(), sliceX, 0, SRCCOPY);
  const int factor = !Data.Enabled && HasBit(Data.DisabledGlyphKind, kDisabledBlended)
                         ? std::max(kHalfTransparent, Data.Blend)
                         : Data.Blend;
  TPixelView view;
  if (State == 0 && factor != 0 && InitPixelView(piece.get(), view)) {
    // The factor is a share of transparency: that much of each pixel's opacity goes.
    const unsigned keep = static_cast<unsigned>(100 - std::clamp(factor, 0, 100));
    for (int y = 0; y < view.Height; ++y)
      for (int x = 0; x < view.Width; ++x) {
        TPixel32& p = view.Row(y)[x];
        p = (p & 0x00FFFFFFu) | (((p >> 24) * keep / 100) << 24);
      }
  }
  if ((!Data.Enabled && HasBit(Data.DisabledGlyphKind, kDisabledGrayed)) || (State == 0 && Data.Grayed))
    GreyBitmap(piece.get());
  const vcl::TRect target(Data.ImgRect.Left, Data.ImgRect.Top, Data.ImgRect.Left + slice,
                          Data.ImgRect.Top + glyph->Height());
  const TDCArea area(Data.DC, target);
  if (area.Empty()) return;
  const vcl::TRect all(0, 0, slice, glyph->Height());
  CopyTransBitmaps(all, all, area.Bitmap(), false, 0, vcl::clNone, false, kEmptyCacheInfo, piece.get());
  area.PutBack();
}

// The image list a tool button shows for its state.
vcl::TCustomImageList* ToolButtonImages(vcl::TToolBar* ToolBar, bool Disabled, int State) {
  if (Disabled && ToolBar->DisabledImages()) return ToolBar->DisabledImages();
  if (State == 1 && ToolBar->HotImages()) return ToolBar->HotImages();
  return ToolBar->Images();
}

vcl::TRect GlyphRectFor(vcl::TToolBar* ToolBar, vcl::TToolButton* ToolButton, vcl::TCustomImageList* List) {
  const int imageW = List ? List->Width() : 0, imageH = List ? List->Height() : 0;
  const int buttonW = ToolButton->Width(), buttonH = ToolButton->Height();
  int left = 0, top = 0;
  if (ToolBar->List()) {
    left = 5;
    top = (buttonH - imageH) / 2;
  } else {
    left = (buttonW - imageW) / 2 + 1;
    if (ToolButton->Style() == vcl::tbsDropDown) left -= kDropDownRoom;
    int captionH = 0;
    if (ToolBar->ShowCaptions()) {
      vcl::TCanvas* canvas = ToolBar->Canvas();
      captionH = (canvas ? canvas->TextHeight(L"A") : 0) + 3;
    }
    top = (buttonH - imageH - captionH) / 2;
  }
  return {left, top, left + imageW, top + imageH};
}

}  // namespace

int ImageListCount(vcl::TCustomImageList* List) { return List ? List->Count() : 0; }

void DrawButtonGlyph(TqvGlyphPaintData& Data) {
  const vcl::TColor grey = GreyColor(Data);
  const int state = RemappedState(Data);
  if (Data.ImageList && Data.ImageIndex >= 0 && Data.ImageIndex < ImageListCount(Data.ImageList)) {
    if (dynamic_cast<TsAlphaImageList*>(Data.ImageList))
      DrawFromAlphaList(Data, state, grey);
    else
      DrawFromPlainList(Data, state);
    return;
  }
  if (Data.Glyph && !Data.Glyph->Empty()) DrawFromGlyph(Data, state, grey);
}

vcl::TRect ToolButtonGlyphRect(vcl::TToolBar* ToolBar, vcl::TToolButton* ToolButton) {
  if (!ToolBar || !ToolButton) return {};
  return GlyphRectFor(ToolBar, ToolButton, ToolBar->Images());
}

void PaintControlGlyph(vcl::TToolBar* ToolBar, vcl::TToolButton* ToolButton, UINT DrawState, vcl::TBitmap* Dest,
                       const TqvToolBarSkin& BarSkin) {
  if (!ToolBar || !ToolButton) return;
  int state = 0;
  if (DrawState & (CDIS_SELECTED | CDIS_CHECKED))
    state = 2;
  else if (DrawState & CDIS_HOT)
    state = 1;
  TqvGlyphPaintData data;
  data.DstBmp = Dest;
  data.ImageList = ToolButtonImages(ToolBar, (DrawState & CDIS_DISABLED) != 0, state);
  data.ImageIndex = ToolButton->ImageIndex();
  data.SkinIndex = BarSkin.Skin ? BarSkin.SkinIndex : -1;
  data.Skin = BarSkin.Skin;
  data.NumGlyphs = 1;
  data.Enabled = ToolButton->Enabled();
  data.Blend = 0;
  data.Down = state == 2 ? 1 : 0;
  data.State = state;
  data.ImgRect = GlyphRectFor(ToolBar, ToolButton, data.ImageList);
  if (state == 2 && BarSkin.ShiftPressed) data.ImgRect.Offset(kPressedShift, kPressedShift);
  DrawButtonGlyph(data);
}

}  // namespace skin_layered
