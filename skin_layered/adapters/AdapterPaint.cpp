#include "skin_layered/adapters/AdapterPaint.h"

#include "classlib/rtl/LiveCounts.h"

namespace skin_layered {

TqvPaintDC::TqvPaintDC(HWND Wnd, const vcl::TMessage& Message, bool WholeWindow) : wnd_(Wnd), whole_(WholeWindow) {
  switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
      given_ = reinterpret_cast<HDC>(Message.WParam);
      break;
    default:
      break;
  }
  if (Message.Msg == WM_PAINT && !given_) painting_ = BeginPaint(wnd_, &ps_) != nullptr;
}

TqvPaintDC::~TqvPaintDC() {
  if (own_) {
    ReleaseDC(wnd_, own_);
    vcl::detail::CountLive(vcl::TLiveKind::DeviceContexts, -1);
  }
  if (painting_) EndPaint(wnd_, &ps_);
}

HDC TqvPaintDC::DC() {
  if (given_) return given_;
  if (!own_) {
    own_ = whole_ ? GetWindowDC(wnd_) : GetDC(wnd_);
    if (own_) vcl::detail::CountLive(vcl::TLiveKind::DeviceContexts, 1);
  }
  return own_;
}

void PaintByErasing(HWND Wnd) {
  InvalidateRect(Wnd, nullptr, TRUE);
  PAINTSTRUCT ps{};
  BeginPaint(Wnd, &ps);
  EndPaint(Wnd, &ps);
}

}  // namespace skin_layered
