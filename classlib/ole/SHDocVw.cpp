#include "classlib/ole/SHDocVw.h"

#include <ole2.h>

#include "classlib/ole/OleBrowserHost.h"
#include "classlib/rtl/UnitInit.h"

namespace vcl {

VCL_CLASS_INFO(TWebBrowser) {
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Event<&TWinControl::OnEnter>(L"OnEnter");
  p.Event<&TWinControl::OnExit>(L"OnExit");
}

TWebBrowser::TWebBrowser(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
  SetBounds(0, 0, 300, 150);
  SetTabStop(true);
}

TWebBrowser::~TWebBrowser() { DestroyHost(); }

void TWebBrowser::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  // The browser's own window covers the client area: the control must not paint over it.
  Params.Style |= WS_CLIPCHILDREN;
}

void TWebBrowser::CreateWnd() {
  TWinControl::CreateWnd();
  const TRect client = ClientRect();
  host_ = std::make_unique<OleBrowserHost>(Handle(), RECT{0, 0, client.Width(), client.Height()});
  if (!last_url_.empty()) host_->Navigate(last_url_);
}

void TWebBrowser::DestroyWindowHandle() {
  DestroyHost();
  TWinControl::DestroyWindowHandle();
}

void TWebBrowser::DestroyHost() noexcept { host_.reset(); }

void TWebBrowser::FitHost() {
  if (!host_ || !HandleAllocated()) return;
  RECT client{};
  ::GetClientRect(Handle(), &client);
  host_->SetBounds(client);
}

void TWebBrowser::Navigate(const String& URL) {
  last_url_ = URL;
  if (host_) host_->Navigate(URL);
}

void TWebBrowser::Refresh() {
  if (host_) host_->Refresh();
}

String TWebBrowser::LocationURL() const { return host_ ? host_->LocationURL() : String(); }

bool TWebBrowser::BrowserActive() const { return host_ && host_->Active(); }

HWND TWebBrowser::BrowserWindow() const { return host_ ? host_->ControlWindow() : nullptr; }

void TWebBrowser::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TWinControl::Dispatch(Message);
      FitHost();
      return;
    case WM_DESTROY:
      // Also when the window goes with its parent's: the browser leaves first.
      DestroyHost();
      TWinControl::Dispatch(Message);
      return;
    default:
      TWinControl::Dispatch(Message);
  }
}

namespace {

// The browser is an OLE control: OLE is started on the GUI thread for the program's life.
bool g_ole_started = false;

void InitSHDocVw() {
  g_ole_started = SUCCEEDED(OleInitialize(nullptr));
  TWebBrowser::StaticClass();
}

void DoneSHDocVw() {
  if (g_ole_started) OleUninitialize();
  g_ole_started = false;
}

VCL_UNIT_LINKED(SHDocVw);
const TUnitRegistration kSHDocVwUnit{TUnitGroup::ClassLibrary, 50, L"SHDocVw", &InitSHDocVw, &DoneSHDocVw};

}  // namespace

}  // namespace vcl
