// TqvStaticTextWnd, the adapter of static texts of the library (and of other vendors' static
// texts): its section chosen by the control's bevels and border, painted with the caption
// into the cache over what lies behind the control, the client area painted on erasing with
// the children over it and the border strips from the same cache. A window without a
// control is left to the adapter root.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/MainWnd.h"

namespace vcl {
class TWinControl;
}

namespace skin_layered {

class TqvStaticTextWnd : public TqvMainWnd {
  VCL_CLASS(TqvStaticTextWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The cache: the section in its normal state (or the control's own colour when it keeps
  // it) over what lies behind the control, and the caption. A parent that is not ready
  // leaves the skin data updating.
  void PrepareCache();

  // The owner control; nil without one.
  vcl::TWinControl* StaticControl = nullptr;

 private:
  // The section by the control's bevels and border.
  vcl::String SectionOfControl() const;
  void DrawCaption(const vcl::TRect& R);
  void PaintClient(HDC DC);
  // The border strips into DC (nil: the window DC).
  void PaintNonClient(HDC DC);
  bool OnSkinCommand(vcl::TMessage& Message);
  bool OnSkinnedMessage(vcl::TMessage& Message);
};

}  // namespace skin_layered
