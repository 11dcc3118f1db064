#include "skin_layered/adapters/BaseWnd.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvBaseWnd) {}

void TqvBaseWnd::WndProc(vcl::TMessage& Message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) {
    TqvScrollWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case kSwallowedReflect:
      return;
    case kSkinCmdMessage:
      switch (SkinCommandOf(Message.WParam)) {
        case scmRefresh:
          if (FromOwnManager(Message)) {
            TqvScrollWnd::WndProc(Message);
            if (!Destroyed && IsWindowVisible(CtrlHandle)) SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
            return;
          }
          break;
        case scmPrepareCache:
          PrepareAdapterCache(SkinData, CtrlHandle, false);
          break;
        default:
          break;
      }
      break;
    case WM_EXITSIZEMOVE:
    case WM_SIZE:
      SkinData->BGChanged = true;
      break;
    case WM_SETCURSOR:
      CallPrevWndProc(Message);
      return;
    default:
      break;
  }
  TqvScrollWnd::WndProc(Message);
  if (Destroyed) return;
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!ScrollingInProgress) UpdateScrolls(this, true);
      break;
    case WM_ENABLE:
    case vcl::CM_ENABLEDCHANGED:
      if (IsWindowVisible(CtrlHandle)) SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      break;
    default:
      break;
  }
}

void TqvBaseWnd::CopyFrameFromCache(HDC DC) {
  vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!DC || !cache || cache->Width() == 0 || cache->Height() == 0) return;
  const HDC src = cache->Canvas()->Handle();
  const int w = cache->Width(), h = cache->Height();
  const int l = std::max(0, BorderLeft), t = std::max(0, BorderTop);
  const int r = std::max(0, BorderRight), b = std::max(0, BorderBottom);
  if (t > 0) BitBlt(DC, 0, 0, w, t, src, 0, 0, SRCCOPY);
  if (b > 0) BitBlt(DC, 0, h - b, w, b, src, 0, h - b, SRCCOPY);
  if (l > 0) BitBlt(DC, 0, t, l, h - t - b, src, 0, t, SRCCOPY);
  if (r > 0) BitBlt(DC, w - r, t, r, h - t - b, src, w - r, t, SRCCOPY);
}

void TqvBaseWnd::RebuildCache() {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (!SkinData->BGChanged) return;
  PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
  if (!SkinData->BGChanged) PaintAdapterBorder(SkinData, this);
}

}  // namespace skin_layered
