// The adapters of the Explorer-style host windows inside system dialogs. TqvContainerWnd
// (rebars, progress bars, search and address bands, worker windows, travel bands, search
// boxes, bread-crumb parents) paints the window's client area from its section ("CHECKBOX")
// over what lies behind it, and the border strips of a window with a client edge;
// TqvSearchWnd (the DirectUI host of a search box) lets the window paint itself and lays a
// 3-pixel frame from its section over it.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

class TqvContainerWnd : public TqvMainWnd {
  VCL_CLASS(TqvContainerWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  vcl::TRect ClientRect;  // the window's client rectangle, read when the background changed
  int FrameWidth = 0;     // half the difference between the window's and the client's height

 protected:
  // The cache and the geometry made again when the background changed.
  void Prepare();
  // What the window shows over its background, drawn into the cache when it is made again
  // (the window's whole rectangle; the client area at FrameWidth): nothing here.
  virtual void PaintContent(vcl::TBitmap* Cache) { (void)Cache; }

 private:
  // The cache's client part, opaque, into DC (nil: the client area's own DC).
  void PaintClient(HDC DC);
  void PaintFrame();
};

class TqvSearchWnd : public TqvMainWnd {
  VCL_CLASS(TqvSearchWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

 private:
  // The frame strips from the cache (made again when the background changed) into the
  // window DC.
  void PaintFrame();
};

}  // namespace skin_layered
