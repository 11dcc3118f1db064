// Frames: a scrolling container that reads its own form description.
#include "classlib/forms/Frame.h"

#include "classlib/streaming/Filer.h"

namespace vcl {

VCL_CLASS_INFO(TCustomFrame) {}

VCL_CLASS_INFO(TFrame) {
  publish::Align(p);
  publish::Anchors(p);
  p.Bool<&TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll>(L"AutoScroll", true);
  publish::BiDiMode(p);
  publish::Bounds(p);
  publish::Color(p, clBtnFace);
  publish::Constraints(p);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  p.Object<&TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar>(
      L"HorzScrollBar", TControlScrollBar::StaticClass());
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  p.Object<&TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar>(
      L"VertScrollBar", TControlScrollBar::StaticClass());
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnResize(p);
  publish::OnContextPopup(p);
}

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
