#include "skin_layered/adapters/BaseWnd.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvBaseWnd) {}

void TqvBaseWnd::WndProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) return TqvScrollWnd::WndProc(Message);
  switch (Message.Msg) {
    case kSwallowedReflect: return;
    case kSkinCmdMessage: return OnBaseSkinCommand(Message);
    case WM_EXITSIZEMOVE:
    case WM_SIZE: SkinData->BGChanged = true; return PassOnAndRefresh(Message);
    case WM_SETCURSOR: return CallPrevWndProc(Message);
    default: return PassOnAndRefresh(Message);
  }
}

void TqvBaseWnd::OnBaseSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmRefresh:
      if (FromOwnManager(Message)) return RefreshFromOwnManager(Message);
      break;
    case scmPrepareCache: PrepareAdapterCache(SkinData, CtrlHandle, false); break;
    default: break;
  }
  PassOnAndRefresh(Message);
}

// The manager's refresh goes on, then the frame is painted again.
void TqvBaseWnd::RefreshFromOwnManager(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvScrollWnd::WndProc(Message);
  if (alive && IsWindowVisible(CtrlHandle)) SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
}

// The scroll adapter's handling; then the bars after what moves them and the frame after
// enabling.
void TqvBaseWnd::PassOnAndRefresh(vcl::TMessage& Message) {
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
