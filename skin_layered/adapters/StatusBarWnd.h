// TqvStatusBarWnd, the adapter of a status bar: the bar's section, its panels (the section's
// panel image, else dividers between them), their texts or their owner's drawing, and the
// size grip, all in the skin data's cache, painted on WM_ERASEBKGND and WM_PRINT; the border
// strips come from the same cache.
#pragma once

#include "skin_layered/adapters/MainWnd.h"

namespace vcl {
class TStatusBar;
}

namespace skin_layered {

class TqvStatusBarWnd : public TqvMainWnd {
  VCL_CLASS(TqvStatusBarWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The section, the panels and the grip into the cache.
  void PrepareCache();
  void PaintBorder(HDC DC);

  vcl::TStatusBar* StatusBar = nullptr;  // the owner when it is a library status bar

 private:
  // Panel Index (-1: the simple panel) at R of the cache.
  void PaintPanel(int Index, vcl::TRect R, bool Simple, bool Last);
  void PaintDivider(const vcl::TRect& R);
  void PaintGrip();
  // The client area from the cache into DC (the window's client DC when nil).
  void PaintTo(HDC DC);
  int FrameWidth() const;
};

}  // namespace skin_layered
