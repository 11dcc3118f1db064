// The title cover: while the system would paint its own caption or menu line for a moment, a
// borderless window laid over that part of a skinned form's frame shows the provider's picture
// of it (the window image). The window belongs to the application, which may free it first at
// shut-down (the provider is told and lets the cover forget it); otherwise it goes with the
// cover. The cover sees the provider only through the provider's base (the form, its skin
// data with the window image, the border form and the shadow).
#pragma once

#include <windows.h>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

class TqvTitleCover {
 public:
  explicit TqvTitleCover(TsSkinProviderBase& Provider) : provider_(Provider) {}
  ~TqvTitleCover() { Free(); }
  TqvTitleCover(const TqvTitleCover&) = delete;
  TqvTitleCover& operator=(const TqvTitleCover&) = delete;

  // Lays the cover over Place (screen coordinates), shaped by Shape (taken over; nil for the
  // whole window), above every other window when Topmost.
  void Show(const vcl::TRect& Place, HRGN Shape, bool Topmost);
  void Hide();
  // The cover's window while it is laid over the frame, else nil.
  vcl::TForm* Shown() const { return shown_ ? form_ : nullptr; }
  // Component is going: when it is the cover's window, the cover forgets it.
  void Forget(const vcl::TComponent* Component);
  // The cover's window freed.
  void Free();

 private:
  void WndProc(vcl::TMessage& Message);
  // Where the window image's origin lies on the screen.
  vcl::TPoint ImageOrigin() const;

  TsSkinProviderBase& provider_;
  vcl::TForm* form_ = nullptr;
  vcl::TWindowProcHook hook_;
  bool shown_ = false;
};

}  // namespace skin_layered
