#include "skin_layered/adapters/ParentBackground.h"

#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

bool AdapterParentBg(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo) {
  GetWndPos(Adapter->CtrlHandle, Adapter->ParentWnd, Adapter->WndRect, Adapter->WndPos, Adapter->WndSize,
            Adapter->ParentRect);
  CacheInfo = TqvCacheInfo{};
  const HWND parent = GetParent(Adapter->CtrlHandle);
  if (!parent) return true;
  TqvBGInfo info;
  GetBgInfoWnd(info, parent, false);
  if (info.BgType == btNotReady) {
    if (Adapter->SkinData) Adapter->SkinData->Updating = true;
    return false;
  }
  CopyBgInfo(info, CacheInfo);
  return true;
}

vcl::TBitmap* AdapterCache(TqvMainWnd* Adapter) {
  if (!Adapter->SkinData) return nullptr;
  GetWndPos(Adapter->CtrlHandle, Adapter->ParentWnd, Adapter->WndRect, Adapter->WndPos, Adapter->WndSize,
            Adapter->ParentRect);
  Adapter->SkinData->InitCacheBmp();
  vcl::TBitmap* cache = Adapter->SkinData->CacheBmp();
  const int width = std::max(0, Adapter->WndSize.cx), height = std::max(0, Adapter->WndSize.cy);
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  return cache;
}

vcl::TBitmap* PaintAdapterSection(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo, int State) {
  vcl::TBitmap* cache = AdapterCache(Adapter);
  if (!cache || !AdapterParentBg(Adapter, CacheInfo)) return nullptr;
  PaintItem(Adapter->SkinData->ControlSkin(), CacheInfo, State, vcl::TRect{0, 0, cache->Width(), cache->Height()},
            Adapter->WndPos, cache, true);
  return cache;
}

void CopyBorderFromCache(TqvMainWnd* Adapter, HDC DC) {
  TsCommonData* data = Adapter->SkinData;
  if (!data || !data->CacheBmp()) return;
  const HWND wnd = Adapter->CtrlHandle;
  vcl::TRect client;
  GetClientRectInWindow(wnd, client);
  RECT wr{};
  GetWindowRect(wnd, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  if (client.Left <= 0 && client.Top <= 0 && client.Right >= width && client.Bottom >= height) return;
  const bool own = DC == nullptr;
  const HDC dc = own ? GetWindowDC(wnd) : DC;
  if (!dc) return;
  {
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
    const HDC src = data->CacheBmp()->Canvas()->Handle();
    BitBlt(dc, 0, 0, width, client.Top, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, client.Top, client.Left, client.Bottom - client.Top, src, 0, client.Top, SRCCOPY);
    BitBlt(dc, 0, client.Bottom, width, height - client.Bottom, src, 0, client.Bottom, SRCCOPY);
    BitBlt(dc, client.Right, client.Top, width - client.Right, client.Bottom - client.Top, src, client.Right,
           client.Top, SRCCOPY);
    RestoreDC(dc, saved);
  }
  if (own) ReleaseDC(wnd, dc);
}

}  // namespace skin_layered
