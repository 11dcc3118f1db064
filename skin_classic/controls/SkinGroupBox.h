// Group boxes and panels: TSkinGroupBox draws a rounded frame and the caption in the skin's
// colours; TSkinBox only gives a panel (or another box whose children are skinned one by
// one) the skin's face colour and leaves its messages alone.
#pragma once

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

class TSkinGroupBox : public TSkinControl {
  VCL_CLASS(TSkinGroupBox, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  bool BeforeProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
};

class TSkinBox : public TSkinControl {
  VCL_CLASS(TSkinBox, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  // Records the control and its colour; installs no window procedure.
  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void RestoreControl() override;
  void AfterProc(vcl::TMessage&) override {}
};

// Text centred both ways in Rect on a canvas, one line, transparent, plain style; in the
// button shadow colour when not Enabled.
void DrawCenteredText(vcl::TCanvas* Canvas, const TRect& Rect, vcl::StringView Text, vcl::TAlignment Alignment,
                      bool Enabled);

}  // namespace winskin
