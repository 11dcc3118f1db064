#include "skin_layered/adapters/ParentBackground.h"

#include <algorithm>

#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Fills.h"
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

bool ReadyParentBg(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo) {
  // Asked of one parent at a time: a parent's painting that repaints its children comes back.
  static HWND painting = nullptr;
  const HWND parent = GetParent(Adapter->CtrlHandle);
  if (parent && parent != painting) {
    TqvBGInfo info;
    GetBgInfoWnd(info, parent, false);
    if (info.BgType == btNotReady) {
      painting = parent;
      SendMessageW(parent, WM_PAINT, 0, 0);
      painting = nullptr;
    }
  }
  return AdapterParentBg(Adapter, CacheInfo);
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

int SideFrameWidth(HWND Wnd) {
  RECT wr{}, cr{};
  GetWindowRect(Wnd, &wr);
  GetClientRect(Wnd, &cr);
  return std::max(0, static_cast<int>((wr.right - wr.left) - cr.right) / 2);
}

void CopyFrameStrips(TqvMainWnd* Adapter, HDC DC, int B) {
  vcl::TBitmap* cache = Adapter->SkinData ? Adapter->SkinData->CacheBmp() : nullptr;
  if (B <= 0 || !cache || cache->Width() == 0 || cache->Height() == 0) return;
  TqvPaintDC paint(Adapter->CtrlHandle, vcl::TMessage{WM_PRINT, reinterpret_cast<WPARAM>(DC), 0, 0}, true);
  if (const HDC dc = paint.DC())
    BitBltBorder(dc, 0, 0, B, 0, 0, cache->Canvas()->Handle(), cache->Height(), cache->Width());
}

void PaintHostClient(TqvMainWnd* Adapter, vcl::TWinControl* Host, HDC DC, const vcl::TRect& Client,
                     const std::function<void()>& Prepare) {
  TsCommonData* data = Adapter->SkinData;
  if (!data || (Host && Host->ComponentState().Contains(vcl::csDestroying))) return;
  GetWndPos(Adapter->CtrlHandle, Adapter->ParentWnd, Adapter->WndRect, Adapter->WndPos, Adapter->WndSize,
            Adapter->ParentRect);
  TqvPaintDC paint(Adapter->CtrlHandle, vcl::TMessage{WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0, 0});
  const HDC dc = paint.DC();
  if (!dc) return;
  const TSavedDC saved(dc);
  vcl::TBitmap* cache = data->CacheBmp();
  const bool stale = data->PaintToDC || data->BGChanged || !cache || cache->Width() != Adapter->WndSize.cx ||
                     cache->Height() != Adapter->WndSize.cy;
  if (data->BgDependsOnParent()) {
    // A part painted alone leaves the cache to be made again for the next whole paint.
    RECT clip{};
    GetClipBox(dc, &clip);
    data->PaintToDC = clip.right - clip.left != Adapter->WndSize.cx || clip.bottom - clip.top != Adapter->WndSize.cy;
  } else {
    data->PaintToDC = false;
  }
  if (stale) Prepare();
  cache = data->CacheBmp();
  if (!cache || cache->Width() == 0 || cache->Height() == 0) return;
  if (!Host) {
    BitBlt(dc, 0, 0, Client.Width(), Client.Height(), cache->Canvas()->Handle(), Client.Left, Client.Top, SRCCOPY);
    return;
  }
  PaintParentBg(Host, data, vcl::TPoint{Client.Left, Client.Top}, 0, 0, false, dc,
                vcl::TRect{0, 0, Client.Width(), Client.Height()});
  PaintControlsOnDC(dc, Host, vcl::TPoint{0, 0}, true);
  RepaintChildControls(Host);
}

void RepaintHost(TqvMainWnd* Adapter, vcl::TWinControl* Host) {
  if (Adapter->SkinData && Adapter->SkinData->Updating) {
    Adapter->SkinData->Updating = false;
    RedrawWindow(Adapter->CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  if (Host) RepaintChildControls(Host);
}

namespace {

bool NoRedraw(const vcl::TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  return pos && (pos->flags & SWP_NOREDRAW) != 0;
}

}  // namespace

bool HostMessage(TqvMainWnd* Adapter, vcl::TMessage& Message, const std::function<void(vcl::TMessage&)>& Base,
                 const std::function<void(HDC)>& PaintClient) {
  const HWND wnd = Adapter->CtrlHandle;
  TsCommonData* data = Adapter->SkinData;
  switch (Message.Msg) {
    case WM_PAINT:
      // The picture comes with erasing, the children with it.
      PaintByErasing(wnd);
      Message.Result = 0;
      return true;
    case WM_ERASEBKGND:
      PaintClient(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return true;
    case WM_UPDATEUISTATE:
      Message.Result = 1;
      return true;
    case WM_SETTEXT:
      if (!IsWindowVisible(wnd)) return false;
      SendMessageW(wnd, WM_SETREDRAW, 0, 0);
      Base(Message);
      SendMessageW(wnd, WM_SETREDRAW, 1, 0);
      data->BGChanged = true;
      SendMessageW(wnd, WM_PAINT, 0, 0);
      return true;
    case vcl::CM_TEXTCHANGED:
      data->BGChanged = true;
      return false;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      // What lies behind a see-through host changes with its place.
      if (const TsGeneralData* section = data->Section(); section && section->Props[0].Transparency != 0)
        data->BGChanged = true;
      Base(Message);
      // A move without redrawing (a parent scrolling its children) keeps the picture the
      // mover shifted: a frame painted now would stay behind at the old place.
      if (Message.Msg == WM_WINDOWPOSCHANGING && !Adapter->Destroyed() && !NoRedraw(Message))
        SendMessageW(wnd, WM_NCPAINT, 0, 0);
      return true;
    case WM_PARENTNOTIFY:
      Base(Message);
      if (Message.WParamLo() == WM_CREATE) NotifyFormOfControl(Adapter->OwnerControl());
      return true;
    case vcl::CM_SHOWINGCHANGED:
      if (vcl::TControl* control = Adapter->OwnerControl(); control && control->Visible()) {
        NotifyFormOfControl(control);
        if (auto* host = dynamic_cast<vcl::TWinControl*>(control))
          for (const int command : {scmNewSkin, scmRefresh}) {
            vcl::TMessage message = SkinCommandMessage(command, reinterpret_cast<LPARAM>(Adapter->Manager()));
            BroadcastCommand(host, message);
          }
      }
      return false;
    default:
      return false;
  }
}

}  // namespace skin_layered
