#include "skin_layered/adapters/SizerWnd.h"

#include <algorithm>

#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SystemLook.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSizerWnd) {}
VCL_CLASS_INFO(TqvTransPanelWnd) {}

namespace {

bool SkinPaints(const TqvMainWnd& Adapter) {
  const TsSkinManager* manager = Adapter.Manager();
  return Adapter.SkinData && !Adapter.Destroyed() && manager && manager->Active() && manager->Skin().SkinData.Active;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The size grip

void TqvSizerWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"CHECKBOX");
  TqvMainWnd::SetSkinParams();
}

void TqvSizerWnd::PaintGrip(HDC DC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  const int w = WndSize.cx, h = WndSize.cy;
  if (!DC || w <= 0 || h <= 0) return;
  auto bmp = CreateBmp32(w, h);
  // What the parent shows at the grip's place, drawn by the parent into the bitmap.
  TqvBGInfo info;
  info.PleaseDraw = true;
  info.DrawDC = bmp->Canvas()->Handle();
  info.R = vcl::TRect{0, 0, w, h};
  info.Offset = WndPos;
  if (ParentWnd) GetBgInfoWnd(info, ParentWnd, true);
  if (info.BgType == btColor) FillDC(bmp->Canvas()->Handle(), vcl::TRect{0, 0, w, h}, info.Color);
  const TsSkinManager* manager = Manager();
  const int grip = manager->Skin().ConstData.GripImage;
  if (manager->IsValidImgIndex(grip)) {
    const TsMaskData& image = manager->Skin().Images[static_cast<std::size_t>(grip)];
    TqvCacheInfo self;
    MakeCacheInfo(bmp.get(), 0, 0, self);
    DrawSkinGlyph(bmp.get(),
                  vcl::TPoint{std::max(w - MaskImageWidth(image), 0), std::max(h - MaskImageHeight(image), 0)}, 0, 1,
                  image, self);
  } else {
    // A skin without the grip's picture: the system's grip over what lies behind.
    DrawSystemSizeGrip(bmp.get(), vcl::TRect{0, 0, w, h});
  }
  BitBlt(DC, 0, 0, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvSizerWnd::WndProc(vcl::TMessage& Message) {
  if (!SkinPaints(*this)) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT: {
      TqvPaintDC paint(CtrlHandle, Message);
      PaintGrip(paint.DC());
      Message.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      Message.Result = 1;
      return;
    default:
      break;
  }
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (Message.Msg == WM_NCHITTEST && alive) {
    // The whole grip sizes, its see-through parts too.
    Message.Result = HTBOTTOMRIGHT;
    if (IsWindowEnabled(CtrlHandle))
      if (TsSkinManager* manager = Manager()) manager->SetHotWnd(nullptr);
  }
}

// ---------------------------------------------------------------------------------------
// The transparent container

void TqvTransPanelWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"CHECKBOX");
  TqvMainWnd::SetSkinParams();
}

void TqvTransPanelWnd::PaintTransPanel(HDC DC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  const bool own = DC == nullptr;
  const HDC dc = own ? GetWindowDC(CtrlHandle) : DC;
  if (!dc) return;
  SkinData->BGChanged = true;
  PrepareAdapterCache(SkinData, CtrlHandle, false);
  if (!SkinData->BGChanged)
    PaintChildrenInto(CtrlHandle, SkinData, vcl::TPoint{0, 0}, 0, 0, false, dc,
                      vcl::TRect{0, 0, WndSize.cx, WndSize.cy});
  if (own) ReleaseDC(CtrlHandle, dc);
}

void TqvTransPanelWnd::WndProc(vcl::TMessage& Message) {
  // Without its section it still shows what lies behind it (the system would paint its own
  // face there, a property sheet's page white over the dialog's).
  if (!SkinPaints(*this)) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT: {
      TqvPaintDC paint(CtrlHandle, Message, true);
      PaintTransPanel(paint.DC());
      Message.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
      PaintTransPanel(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      Message.Result = 0;
      return;
    default:
      break;
  }
  TqvMainWnd::WndProc(Message);
}

}  // namespace skin_layered
