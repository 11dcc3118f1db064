#include "skin_layered/core/SkinCommand.h"

#include "classlib/controls/Controls.h"

namespace skin_layered {

LRESULT SendCommandToWnd(HWND Wnd, int Command, LPARAM LParam) {
  if (!Wnd) return 0;
  return SendMessageW(Wnd, kSkinCmdMessage, SkinCommandWParam(Command), LParam);
}

LRESULT SendCommandToCtrl(vcl::TControl* Control, int Command, LPARAM LParam) {
  if (!Control) return 0;
  auto* windowed = dynamic_cast<vcl::TWinControl*>(Control);
  if (!windowed) return Control->Perform(kSkinCmdMessage, SkinCommandWParam(Command), LParam);
  if (windowed->ComponentState().Contains(vcl::csDestroying) || !windowed->HandleAllocated()) return 0;
  return SendMessageW(windowed->Handle(), kSkinCmdMessage, SkinCommandWParam(Command), LParam);
}

}  // namespace skin_layered
