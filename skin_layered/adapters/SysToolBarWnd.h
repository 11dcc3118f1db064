// TqvToolBarWnd, the adapter of a system tool bar window ("ToolbarWindow32", as in system
// dialogs): the whole bar painted from the skin in one bitmap, its section (given by the
// creator) under every button, each button from "TOOLBUTTON" in its state (pressed, hot under
// the cursor, normal) with its image, drop-down arrow and text, separators from the
// "DIVIDER" section's border image, disabled buttons faded into the bar; a bar with a client
// edge gets its frame from the same cache.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

class TqvToolBarWnd : public TqvMainWnd {
  VCL_CLASS(TqvToolBarWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void WndProc(vcl::TMessage& Message) override;

  // The cache made again when the background changed: the section, the border, the frame.
  void PrepareCache();
  // The bar and its buttons into DC (the window's own client DC when nil): its client area,
  // or with WholeWindow the window with its frame.
  void PaintToolBar(HDC DC, bool WholeWindow = false);
  // The skin state of a button: 2 enabled and pressed or checked, 1 enabled under the cursor,
  // else 0.
  int ButtonState(int Index, const TBBUTTON& Button) const;
  // The button's text, read after asking its length; empty when it has none.
  vcl::String ButtonText(const TBBUTTON& Button) const;

  vcl::TRect ClientRect;  // at the last preparation
  int FrameOffset = 0;    // half the difference between the window's and the client's height

 private:
  bool Painting() const;
  void PaintButton(vcl::TBitmap* Bar, int Index, const vcl::TRect& R);
  void PaintSeparator(vcl::TBitmap* Bar, const vcl::TRect& R);
  void PaintNcFrame();
};

}  // namespace skin_layered
