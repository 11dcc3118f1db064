#include "skin_layered/adapters/NativePaintWnd.h"

#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvNativePaint) {}

void TqvNativePaint::InitSkinData(bool Owned) {
  if (SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"TRANSPARENT");
  TqvScrollBoxWnd::InitSkinData(Owned);
}

void TqvNativePaint::WndProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData) {
    TqvScrollBoxWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      // The control paints itself.
      CallPrevWndProc(Message);
      return;
    case kSkinCmdMessage: {
      if (SkinCommandOf(Message.WParam) != scmPrepareCache) break;
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      CallPrevWndProc(Message);
      if (SkinData->Skinned(false) && SkinData->BGChanged && alive) {
        GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
        PrepareCache();
        PaintAdapterBorder(SkinData, this);
      }
      return;
    }
    default:
      break;
  }
  TqvScrollBoxWnd::WndProc(Message);
}

}  // namespace skin_layered
