// The adapters of two bare windows of system dialogs: TqvSizerWnd paints a dialog's size
// grip (a size-box scroll bar) as the skin's grip image over what lies behind it and answers
// HTBOTTOMRIGHT wherever the mouse is over it; TqvTransPanelWnd shows a transparent container
// (a dialog page inside a dialog, a folder browser's pane) as its section over its parent,
// its child windows left out.
#pragma once

#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

class TqvSizerWnd : public TqvMainWnd {
  VCL_CLASS(TqvSizerWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
  // The grip over the parent's background into DC.
  void PaintGrip(HDC DC);
};

class TqvTransPanelWnd : public TqvMainWnd {
  VCL_CLASS(TqvTransPanelWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
  // The section over the parent, the visible child windows left out, into DC (the window's
  // own when nil).
  void PaintTransPanel(HDC DC);
};

}  // namespace skin_layered
