// TCustomGroupBox / TGroupBox: an etched frame with the caption set into its top edge,
// painted by the library; children sit inside the frame.
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TCustomGroupBox) {}

VCL_CLASS_INFO(TGroupBox) {
  publish::Align(p);
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  publish::Caption(p);
  publish::Color(p, clBtnFace);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

namespace {

int CaptionHeight(const TFont* Font) {
  SelectGuard font(MeasureDC(), Font->Handle());
  SIZE size{};
  GetTextExtentPoint32W(MeasureDC(), L"0", 1, &size);
  return size.cy;
}

}  // namespace

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable});
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) const {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Top += CaptionHeight(Font());
  // The two-pixel etched frame.
  Rect.Inflate(-2, -2);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const int h = canvas->TextHeight(L"0");
  // The etched frame: a highlight frame one pixel down and right, the shadow frame over it.
  TRect r(0, h / 2 - 1, Width(), Height());
  r.Left += 1;
  r.Top += 1;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnHighlight);
  canvas->FrameRect(r);
  r.Offset(-1, -1);
  canvas->Brush()->SetColor(clBtnShadow);
  canvas->FrameRect(r);
  const String text = Caption();
  if (text.empty()) return;
  // The caption cuts the top edge, on the control's colour.
  TRect textRect(8, 0, 0, h);
  DrawTextW(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), textRect.AsRECT(), DT_SINGLELINE | DT_CALCRECT);
  canvas->Brush()->SetColor(Color());
  DrawTextW(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), textRect.AsRECT(), DT_SINGLELINE);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      Realign();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      Realign();
      Invalidate();
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

}  // namespace vcl
