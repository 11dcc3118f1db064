// Frames: containers with a form description of their own, placed on forms and other
// containers like any control. A frame class (a TFrame descendant) reads the description
// named after it when it is created; a form description that holds the frame names it by that
// class, and may change its properties and those of the controls inside it:
//
//   inline Frame11: TAddressFrame      <- the frame, read from its own description first
//     Left = 8
//     inherited Edit1: TEdit           <- a control of the frame's description
//       Text = 'changed'
//     end
//   end
#pragma once

#include "classlib/forms/ScrollBox.h"

namespace vcl {

class TCustomFrame : public TScrollingWinControl {
  VCL_CLASS(TCustomFrame, TScrollingWinControl)
 public:
  explicit TCustomFrame(TComponent* AOwner);
  void AfterConstruction() override;
};

class TFrame : public TCustomFrame {
  VCL_CLASS(TFrame, TCustomFrame)
 public:
  using TCustomFrame::TCustomFrame;
};

}  // namespace vcl
