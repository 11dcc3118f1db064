#include "skin_layered/adapters/ContainerWnd.h"

#include <algorithm>

#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/AlphaBitmaps.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvContainerWnd) {}
VCL_CLASS_INFO(TqvSearchWnd) {}

namespace {

// The section a host window takes when it was given none.
void DefaultSection(TsCommonData* SkinData) {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"CHECKBOX");
}

// The background cache made again when it changed: the section over what lies behind, then
// the border image. False while the parent is not ready.
bool RebuildBackground(TqvMainWnd* Adapter) {
  TsCommonData* data = Adapter->SkinData;
  GetWndPos(Adapter->CtrlHandle, Adapter->ParentWnd, Adapter->WndRect, Adapter->WndPos, Adapter->WndSize,
            Adapter->ParentRect);
  if (!data->BGChanged) return false;
  PrepareAdapterCache(data, Adapter->CtrlHandle, false);
  PaintAdapterBorder(data, Adapter);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TqvContainerWnd

void TqvContainerWnd::SetSkinParams() {
  DefaultSection(SkinData);
  TqvMainWnd::SetSkinParams();
}

void TqvContainerWnd::Prepare() {
  if (!RebuildBackground(this)) return;
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  ClientRect = vcl::TRect{client.left, client.top, client.right, client.bottom};
  FrameWidth = std::max(0, static_cast<int>(WndSize.cy - client.bottom) / 2);
  if (vcl::TBitmap* cache = SkinData->CacheBmp(); cache && cache->Width() > 0 && cache->Height() > 0)
    PaintContent(cache);
  SkinData->BGChanged = false;
}

void TqvContainerWnd::PaintClient(HDC DC) {
  SkinData->BGChanged = true;
  Prepare();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Width() == 0 || cache->Height() == 0) return;
  const int w = WndSize.cx - 2 * FrameWidth, h = WndSize.cy - 2 * FrameWidth;
  // Painted onto a window that keeps no alpha of its own.
  FillAlphaRect(cache, vcl::TRect{FrameWidth, FrameWidth, FrameWidth + w, FrameWidth + h}, 255);
  TqvPaintDC paint(CtrlHandle, vcl::TMessage{WM_PRINT, reinterpret_cast<WPARAM>(DC), 0, 0});
  if (const HDC dc = paint.DC()) BitBlt(dc, 0, 0, w, h, cache->Canvas()->Handle(), FrameWidth, FrameWidth, SRCCOPY);
}

void TqvContainerWnd::PaintFrame() {
  if (SkinData->CheckBgChanged(false)) return;
  Prepare();
  CopyFrameStrips(this, nullptr, SideFrameWidth(CtrlHandle));
}

void TqvContainerWnd::WndProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: {
      SkinData->BGChanged = true;
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvMainWnd::WndProc(Message);
      if (!alive) return;
      if (Message.Msg == WM_SIZE)
        SkinData->BGChanged = true;
      else
        SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      return;
    }
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_PAINT:
      if (!IsWindowVisible(CtrlHandle)) break;
      {
        TqvPaintDC paint(CtrlHandle, Message);
        if (!SkinData->CheckBgChanged(false)) PaintClient(paint.DC());
      }
      Message.Result = 0;
      return;
    case WM_NCPAINT:
      // Only a client edge is the adapter's to paint; other frames stay the window's.
      if (!IsWindowVisible(CtrlHandle) || !(GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) break;
      PaintFrame();
      Message.Result = 0;
      return;
    case WM_PRINT:
      PaintClient(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      return;
    default:
      break;
  }
  TqvMainWnd::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
// TqvSearchWnd

void TqvSearchWnd::SetSkinParams() {
  DefaultSection(SkinData);
  TqvMainWnd::SetSkinParams();
}

void TqvSearchWnd::PaintFrame() {
  if (SkinData->CheckBgChanged(false)) return;
  if (RebuildBackground(this)) SkinData->BGChanged = false;
  CopyFrameStrips(this, nullptr, 3);
}

void TqvSearchWnd::WndProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT: {
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvMainWnd::WndProc(Message);
      if (alive) PaintFrame();
      return;
    }
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      PaintFrame();
      Message.Result = 0;
      return;
    default:
      break;
  }
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (alive && Message.Msg == WM_SIZE) {
    SkinData->BGChanged = true;
    RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

}  // namespace skin_layered
