// Hosts the system web browser control (CLSID_WebBrowser, IWebBrowser2) in a window through a
// minimal OLE container site of our own. Knows nothing of controls: give it a parent window
// and a rectangle in that window's client coordinates.
//
// Where the control cannot be created (OLE unavailable on the thread, no browser registered)
// the host stays empty: every call is a no-op apart from recording the URL asked for. The
// control runs silent, so a page cannot raise script-error or other dialogs.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <wrl/client.h>

#include "classlib/rtl/SysUtils.h"

namespace vcl {

class OleBrowserSite;

class OleBrowserHost {
 public:
  OleBrowserHost(HWND parent, const RECT& bounds);
  ~OleBrowserHost();
  OleBrowserHost(const OleBrowserHost&) = delete;
  OleBrowserHost& operator=(const OleBrowserHost&) = delete;

  // True when the control was created and activated in place.
  bool Active() const { return browser_ != nullptr; }
  // The control's own window (a child of the parent), nullptr when empty.
  HWND ControlWindow() const;
  // Bounds in the parent's client coordinates.
  const RECT& Bounds() const { return bounds_; }
  void SetBounds(const RECT& bounds);

  // Navigates with the four optional arguments (flags, target frame, post data, headers)
  // empty. The URL is recorded whether or not the control accepted it; the result says
  // whether it did.
  bool Navigate(StringView url);
  // Reloads the current page; false when empty or the control refused.
  bool Refresh();
  // The address of the page the control shows ("" when empty or nothing has loaded).
  String LocationURL() const;
  // The last address Navigate was asked for.
  const String& LastNavigatedURL() const { return lastUrl_; }

 private:
  // Balances a successful OleInitialize of this thread (S_OK or S_FALSE both count).
  class OleThreadInit {
   public:
    OleThreadInit();
    ~OleThreadInit();
    OleThreadInit(const OleThreadInit&) = delete;
    OleThreadInit& operator=(const OleThreadInit&) = delete;
    bool Ok() const { return ok_; }

   private:
    bool ok_ = false;
  };

  bool Create(HWND parent);
  void Destroy() noexcept;

  OleThreadInit ole_;  // first member: initialised first, uninitialised last
  RECT bounds_{};
  String lastUrl_;
  Microsoft::WRL::ComPtr<OleBrowserSite> site_;
  Microsoft::WRL::ComPtr<IOleObject> object_;
  Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlace_;
  Microsoft::WRL::ComPtr<IWebBrowser2> browser_;
};

}  // namespace vcl
