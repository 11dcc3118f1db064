#include "skin_layered/adapters/FrameScrollWnd.h"

#include "skin_layered/core/SkinCommand.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvFrameScrollWnd) {}

void TqvFrameScrollWnd::WndProc(vcl::TMessage& Message) {
  // The frame adapter below may free this adapter while it answers (the skin going): nothing
  // of the adapter is touched after it.
  if (Message.Msg == kSkinCmdMessage && !Destroyed()) return CallPrevWndProc(Message);
  if (Message.Msg == WM_PRINT && !Destroyed()) {
    const vcl::TLifetime::TWatch alive = Lifetime().Watch();
    TqvScrollWnd::WndProc(Message);
    // The window prints its frame without the skinned bars (and its client area clipped to
    // itself): the bars go over it.
    if (alive && (Message.LParam & PRF_NONCLIENT) && Message.WParam)
      PaintScrollBars(this, CtrlHandle, kPartNone, reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  TqvScrollWnd::WndProc(Message);
}

}  // namespace skin_layered
