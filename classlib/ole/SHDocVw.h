// TWebBrowser: a control hosting the system web browser (OleBrowserHost.h). The host is
// made with the control's window, follows its size and goes before the window does. The
// address last asked for is kept by the control: it is shown again in a new window, and an
// address asked for before the control has a window is shown when the window comes.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"

namespace vcl {

class OleBrowserHost;

class TWebBrowser : public TWinControl {
  VCL_CLASS(TWebBrowser, TWinControl)
 public:
  explicit TWebBrowser(TComponent* AOwner);
  ~TWebBrowser() override;

  // Navigates with the four optional arguments (flags, target frame, post data, headers)
  // empty.
  void Navigate(const String& URL);
  // Reloads the page shown (hides TControl::Refresh, which only repaints).
  void Refresh();
  // The address of the page the browser shows ("" before one has loaded or without browser).
  String LocationURL() const;
  // The address Navigate was last given.
  const String& LastNavigatedURL() const { return last_url_; }
  // True while the system's browser control is hosted and active.
  bool BrowserActive() const;
  // The hosted control's window, nil when none.
  HWND BrowserWindow() const;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;

 private:
  void DestroyHost() noexcept;
  void FitHost();

  std::unique_ptr<OleBrowserHost> host_;
  String last_url_;
};

}  // namespace vcl
