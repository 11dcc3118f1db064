// TBevel: the highlight and shadow lines of a box, frame or edge line.
#include "classlib/extctrls/Bevel.h"

#include <utility>

namespace vcl {

VCL_CLASS_INFO(TBevel) {
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  publish::Constraints(p);
  publish::Hints(p);
  p.Enum<&TBevel::Shape, &TBevel::SetShape>(L"Shape", static_cast<int64_t>(bsBox));
  p.Enum<&TBevel::Style, &TBevel::SetStyle>(L"Style", static_cast<int64_t>(bsLowered));
  publish::Visible(p);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (shape_ == Value) return;
  shape_ = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetWidth(1);
  // The edge that catches the light and the one in shadow; a lowered bevel turns them round.
  TColor light = clBtnHighlight;
  TColor dark = clBtnShadow;
  if (style_ == bsLowered) std::swap(light, dark);
  auto line = [canvas](TColor Color, int X1, int Y1, int X2, int Y2) {
    canvas->Pen()->SetColor(Color);
    canvas->MoveTo(X1, Y1);
    canvas->LineTo(X2, Y2);
  };
  auto box = [canvas](TColor TopLeft, TColor BottomRight, const TRect& R) {
    canvas->Pen()->SetColor(TopLeft);
    const TPoint first[] = {{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}};
    canvas->Polyline(first);
    canvas->Pen()->SetColor(BottomRight);
    const TPoint second[] = {{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}};
    canvas->Polyline(second);
  };
  const int w = Width(), h = Height();
  switch (shape_) {
    case bsBox:
      box(light, dark, TRect(0, 0, w - 1, h - 1));
      break;
    case bsFrame:
      // Two boxes one pixel apart: the edge looks cut into the surface (or standing on it).
      box(dark, dark, TRect(0, 0, w - 1, h - 1));
      box(light, light, TRect(1, 1, w, h));
      break;
    case bsTopLine:
      line(light, 0, 0, w, 0);
      line(dark, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(light, 0, h - 2, w, h - 2);
      line(dark, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(light, 0, 0, 0, h);
      line(dark, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(light, w - 2, 0, w - 2, h);
      line(dark, w - 1, 0, w - 1, h);
      break;
    case bsSpacer:
      break;
  }
}

}  // namespace vcl
