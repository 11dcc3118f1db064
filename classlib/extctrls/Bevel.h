// Bevels: a box, a frame or a line drawn sunken or raised, without a window.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

VCL_ENUM(TBevelStyle, bsLowered, bsRaised)
using enum TBevelStyle;

VCL_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
using enum TBevelShape;

class TBevel : public TGraphicControl {
  VCL_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

}  // namespace vcl
