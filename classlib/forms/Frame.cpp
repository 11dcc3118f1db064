// Frames: a scrolling container that reads its own form description.
#include "classlib/forms/Frame.h"

#include "classlib/streaming/Filer.h"

namespace vcl {

VCL_CLASS_INFO(TCustomFrame) {}

VCL_CLASS_INFO(TFrame) { PublishScrollingContainer(p, false); }

TCustomFrame::TCustomFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 320, 240);
}

void TCustomFrame::AfterConstruction() {
  TScrollingWinControl::AfterConstruction();
  // The description is named after the most derived class, known only now.
  if (&ClassType() != &TFrame::StaticClass() && &ClassType() != &TCustomFrame::StaticClass())
    ReadComponentResource(this, ClassName());
}

}  // namespace vcl
