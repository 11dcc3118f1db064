#include "skin_layered/adapters/FormScrollWnd.h"

#include "skin_layered/core/SkinCommand.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvFormScrollWnd) {}

void TqvFormScrollWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && !Destroyed()) return CallPrevWndProc(Message);
  TqvScrollWnd::WndProc(Message);
}

}  // namespace skin_layered
