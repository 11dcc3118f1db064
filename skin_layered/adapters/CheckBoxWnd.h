// TqvCheckBoxWnd, the adapter of check boxes and radio buttons (class-library TCheckBox and
// TRadioButton, or bare "button" windows of system dialogs): the whole window painted from
// the skin section "CHECKBOX" with the caption beside the skin's check glyph of the box's
// state ("BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED"; "RADIOUNCHECKED", "RADIOCHECKED"), each
// glyph in its normal, hot or pressed frame. An owner-drawn box is left to its owner: only
// its background is erased.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

// The skin data's control type code of check boxes.
inline constexpr int kCheckBoxCode = 32;

class TqvCheckBoxWnd : public TqvMainWnd {
  VCL_CLASS(TqvCheckBoxWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The window is an owner-drawn button (BS_OWNERDRAW).
  bool OwnerDrawn() const;
  // A radio button (else a check box), and its check state: 0 clear, 1 checked, 2 grayed.
  bool Radio() const;
  int CheckState() const;
  // The image of the skin's check glyphs the box shows now; -1 when the skin has none (the
  // system's mark shows then).
  int GlyphImage() const;
  // The frame of that image: 2 pressed, 1 focused or hot, else 0.
  int GlyphState() const;

 private:
  void OwnerDrawnMessage(vcl::TMessage& Message);
  // A change the box paints itself (check, state, text, enabling).
  void OnStateChange(vcl::TMessage& Message);
  void OnSkinCommand(vcl::TMessage& Message);
  void OnFocus(vcl::TMessage& Message);
  void OnKey(vcl::TMessage& Message);
  void OnNcHitTest(vcl::TMessage& Message);
  void PaintCheckBox(const vcl::TMessage& Message);
  // The cache made over the parent's background; false, nothing made, while the parent has
  // no picture to show behind the box.
  bool PrepareCache();
  void PaintGlyphAndCaption();
  void EraseBackground(HDC DC);
  void RepaintNow();
  LONG_PTR Style() const;
  UINT ButtonState() const;
};

}  // namespace skin_layered
