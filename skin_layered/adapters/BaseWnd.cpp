#include "skin_layered/adapters/BaseWnd.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvBaseWnd) {}

void TqvBaseWnd::WndProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) {
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
            const vcl::TLifetime::TWatch alive = Lifetime().Watch();
            TqvScrollWnd::WndProc(Message);
            if (alive && IsWindowVisible(CtrlHandle)) SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
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
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvScrollWnd::WndProc(Message);
  if (!alive) return;
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

void TqvBaseWnd::RebuildCache() {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (!SkinData->BGChanged) return;
  PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
  if (!SkinData->BGChanged) PaintAdapterBorder(SkinData, this);
}

}  // namespace skin_layered
