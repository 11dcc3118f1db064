// The device context an adapter's painting message paints into, and the paint of adapters
// whose picture comes with erasing.
#pragma once

#include <windows.h>

#include "classlib/controls/Messages.h"

namespace skin_layered {

// The DC of a painting message: the one WM_PRINT, WM_ERASEBKGND or a WM_PAINT carrying a DC
// in WParam (the engine's own paint requests) gives, else one of the window's own, fetched on
// first use (its client area's, or with WholeWindow the whole window's) and released at the
// end (and counted as the library counts the DCs it holds). Only a WM_PAINT without a DC validates the window, through BeginPaint, and always with
// its EndPaint: a paint into a given DC leaves a pending repaint in place.
class TqvPaintDC {
 public:
  TqvPaintDC(HWND Wnd, const vcl::TMessage& Message, bool WholeWindow = false);
  ~TqvPaintDC();
  TqvPaintDC(const TqvPaintDC&) = delete;
  TqvPaintDC& operator=(const TqvPaintDC&) = delete;

  HDC DC();
  // The message brought its DC.
  bool Given() const { return given_ != nullptr; }

 private:
  HWND wnd_;
  bool whole_;
  HDC given_ = nullptr;
  HDC own_ = nullptr;
  bool painting_ = false;
  PAINTSTRUCT ps_{};
};

// WM_PAINT of an adapter that paints its window on WM_ERASEBKGND: the whole window is
// invalidated with erasing and validated through BeginPaint/EndPaint, whose erasing paints it.
void PaintByErasing(HWND Wnd);

}  // namespace skin_layered
