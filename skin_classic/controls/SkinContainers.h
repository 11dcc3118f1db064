// The remaining skinners of containers and of controls of other libraries:
//   TSkinSizer    size grips painted flat in the skin's face colour
//   TSkinBoxH     containers whose background and scroll bar controls take the face colour
//   TSkinObjImage controls that accept custom glyphs get the skin's check-box or radio
//                 frames as a strip of glyph cells
#pragma once

#include <memory>
#include <span>

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

// Which glyphs a TSkinObjImage hands over.
inline constexpr int kGlyphsCheck = 1, kGlyphsRadio = 2, kGlyphsNested = 3;

// The strip of glyph cells: frame Order[i] of Image (Frames side by side) in cell i; cells of
// frame 5 stay empty (key colour) unless the image has 5 frames. Nil without a picture.
std::unique_ptr<vcl::TBitmap> GlyphStrip(vcl::TBitmap* Image, int Frames, std::span<const int> Order);

class TSkinSizer : public TSkinControl {
  VCL_CLASS(TSkinSizer, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  void DrawControl(HDC DC, const TRect& Rect) override;
};

class TSkinBoxH : public TSkinControl {
  VCL_CLASS(TSkinBoxH, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  bool BeforeProc(vcl::TMessage& Message) override;

 private:
  void WMEraseBkgnd(vcl::TMessage& Message);
  void WMCtlColorScrollBar(vcl::TMessage& Message);
};

class TSkinObjImage : public TSkinControl {
  VCL_CLASS(TSkinObjImage, TSkinControl)

 public:
  // GlyphKind (kGlyphs*) says which glyphs the attach hands over.
  explicit TSkinObjImage(vcl::TComponent* AOwner, int GlyphKind = 0) : TSkinControl(AOwner), FGlyphKind(GlyphKind) {}

  // Hands the glyphs over; no window procedure is put in front of the control.
  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void RestoreControl() override;
  void UpdateSkin() override;

  int GlyphKind() const { return FGlyphKind; }

 private:
  void ApplyGlyphs();

  int FGlyphKind = 0;
};

}  // namespace winskin
