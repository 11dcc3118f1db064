// TqvSpinWnd, the adapter of up-down controls (the library's TUpDown, the arrows of a tab
// control, the "msctls_updown32" children of system dialogs): both arrow buttons painted
// wholly from the skin, each half of the control in its own state (normal, hot under the
// cursor, pressed while the left button is down) with the scroll buttons' arrow glyph of its
// direction, or a small triangle when the skin has none.
#pragma once

#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/core/CacheInfo.h"

namespace skin_layered {

class TqvSpinWnd : public TqvMainWnd {
  VCL_CLASS(TqvSpinWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // Composes both halves in the cache and copies it into DC (the window's own when nil).
  void PaintSpin(HDC DC);
  bool Horizontal() const;

  int LeftOffset = 0;     // pixels at the left left to an edit attached there (a dialog's up-down: 2)
  bool Pressed = false;   // the left button is down
  int FirstState = 0;     // the left or upper half: 0 normal, 1 hot, 2 pressed
  int SecondState = 0;    // the right or lower half

 private:
  bool Painting() const;
  // The section painted: the skin data's, else "BUTTON".
  int SectionIndex() const;
  // The control's buddy window lies under the strip of that width at its left.
  bool StripUnderBuddy(int Strip) const;
  // The two halves' states by the cursor's place.
  void ReadStates();
  void PaintHalf(vcl::TBitmap* Cache, const TqvCacheInfo& CI, const vcl::TRect& R, int State, int Direction,
                 int Section);
  // Messages while the control paints itself.
  void UnpaintedMessage(vcl::TMessage& Message);
  void OnPaint(vcl::TMessage& Message);
  // The left button pressed or released.
  void OnButton(vcl::TMessage& Message);
  void OnDoubleClick(vcl::TMessage& Message);
  void OnMouseLeave(vcl::TMessage& Message);
  void OnSkinCommand(vcl::TMessage& Message);
  void OnMouseMove(vcl::TMessage& Message);
};

}  // namespace skin_layered
