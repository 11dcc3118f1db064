// TsMDIForm, what the skin provider of an MDI frame form owns for its client window: while the
// form is skinned the client window carries the MDI client adapter (painted from the form's
// window image, with the skin's scroll bars), which reaches the provider through this object
// for full repaints; when the form is not skinned the adapter goes.
#pragma once

#include "classlib/rtl/Persistent.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

class TsSkinProviderBase;

// What the client object asks of the frame's provider.
class TqvMdiFrameOwner {
 public:
  // The provider as the layers below know it (its form and skin data).
  virtual TsSkinProviderBase* FrameProvider() = 0;
  // The form's image made stale, its menu line measured again and its frame painted.
  virtual void FullRedraw() = 0;

 protected:
  ~TqvMdiFrameOwner() = default;
};

class TsMDIForm : public vcl::TPersistent {
  VCL_CLASS(TsMDIForm, vcl::TPersistent)
 public:
  // Makes sure the provider's form has its window.
  explicit TsMDIForm(TqvMdiFrameOwner* AProvider);
  ~TsMDIForm() override;

  // Connect when not designed and not connected.
  void ConnectIfNeeded();
  // The client adapter made anew while the form is skinned; dropped otherwise.
  void Connect();
  void Disconnect();
  // A full redraw of the form (its image stale, the menu line measured again, the frame
  // painted).
  void UpdateClient();

  vcl::TCustomForm* Form = nullptr;      // not owned
  vcl::TObject* MDIWnd = nullptr;        // the client window's adapter, owned; nil when not connected
  TqvMdiFrameOwner* Provider = nullptr;  // not owned
};

}  // namespace skin_layered
