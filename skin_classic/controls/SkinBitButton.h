// Buttons with a glyph: TSkinBitButton (bit buttons, buttons with an image list or a glyph in
// another published graphic) and TSkinSpeedButton (speed buttons, which have no window: the
// skinner paints on the DC their parent lends them). Both read the glyph and its layout
// through the control's published properties: "Glyph", "NumGlyphs", "Images", "ImageIndex",
// "DisabledIndex", "Layout", "Margin", "Spacing", "Alignment", and for speed buttons "Down",
// "Flat" and "Enabled".
#pragma once

#include "skin_classic/controls/SkinButton.h"

namespace winskin {

class TSkinBitButton : public TSkinButton {
  VCL_CLASS(TSkinBitButton, TSkinButton)

 public:
  using TSkinButton::TSkinButton;

  void DrawControl(HDC DC, const TRect& Rect) override;

  // A published graphic property that holds the whole glyph instead of "Glyph" (empty: none).
  vcl::String FGlyphProperty;

 protected:
  // Glyph and caption of a button in State (glyph frame GlyphState) laid out in Rect of DC.
  // Centered: the "tacenter" alignment rule applies.
  void DrawGlyphAndCaption(HDC DC, const TRect& Rect, int State, int GlyphState, bool Centered,
                           const vcl::String& GlyphProperty);
};

class TSkinSpeedButton : public TSkinBitButton {
  VCL_CLASS(TSkinSpeedButton, TSkinBitButton)

 public:
  explicit TSkinSpeedButton(vcl::TComponent* AOwner);
  ~TSkinSpeedButton() override;

  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void PaintWindow(HDC DC) override;
  // Paints the button into DC over Rect (its client rectangle there).
  void DrawSpeedButton(HDC DC, const TRect& Rect);

  // Like FGlyphProperty, for speed buttons.
  vcl::String FSpeedGlyphProperty;

 private:
  void Repaint();
  vcl::TCanvas* ControlCanvas() const;
  void WMPaint(vcl::TMessage& Message);
  void WMLButtonDown(vcl::TMessage& Message);
  void ShowMouseBit(uint8_t Bit, bool On);
  void CMMouseLeave();
  void WMKey(const vcl::TMessage& Message);

  bool FPainting = false;
};

}  // namespace winskin
