// TCustomPanel / TPanel: a container painted by the library: outer bevel, border, inner bevel,
// the panel's colour and its caption centred vertically.
#include "classlib/extctrls/ExtCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TCustomPanel) {}

VCL_CLASS_INFO(TPanel) {
  publish::Align(p);
  p.Enum<&TCustomPanel::Alignment, &TCustomPanel::SetAlignment>(L"Alignment", static_cast<int64_t>(taCenter));
  publish::Anchors(p);
  publish::BiDiMode(p);
  p.Enum<&TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner>(L"BevelInner", static_cast<int64_t>(bvNone));
  p.Enum<&TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter>(L"BevelOuter", static_cast<int64_t>(bvRaised));
  p.Integer<&TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth>(L"BevelWidth", 1);
  p.Integer<&TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth>(L"BorderWidth", 0);
  p.Enum<&TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle>(L"BorderStyle", static_cast<int64_t>(TBorderStyle::bsNone));
  publish::Bounds(p);
  publish::Caption(p);
  publish::Color(p, clBtnFace);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  p.Bool<&TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint>(L"FullRepaint", true);
  p.Bool<&TCustomPanel::ParentBackground, &TCustomPanel::SetParentBackground>(L"ParentBackground", true);
  publish::ParentColor(p, false);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
  publish::OnResize(p);
}

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Rect.Bottom -= 1;
  Rect.Right -= 1;
  for (; Width > 0; --Width) {
    const TPoint topLeft = Rect.TopLeft();
    const TPoint topRight{Rect.Right, Rect.Top};
    const TPoint bottomRight = Rect.BottomRight();
    const TPoint bottomLeft{Rect.Left, Rect.Bottom};
    Canvas->Pen()->SetColor(TopColor);
    const TPoint upper[] = {bottomLeft, topLeft, topRight};
    Canvas->Polyline(upper);
    // The lower line runs one pixel further left so that it meets the upper one.
    Canvas->Pen()->SetColor(BottomColor);
    const TPoint lower[] = {topRight, bottomRight, {bottomLeft.X - 1, bottomLeft.Y}};
    Canvas->Polyline(lower);
    Rect.Inflate(-1, -1);
  }
  Rect.Bottom += 1;
  Rect.Right += 1;
}

namespace {

TColor BevelTopColor(TBevelCut Bevel) { return Bevel == bvLowered ? clBtnShadow : clBtnHighlight; }
TColor BevelBottomColor(TBevelCut Bevel) { return Bevel == bvLowered ? clBtnHighlight : clBtnShadow; }

}  // namespace

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(
      {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable});
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (border_style_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  if (!full_repaint_) Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) const {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Inflate(-border_width_, -border_width_);
  int bevel = 0;
  if (bevel_outer_ != bvNone) bevel += bevel_width_;
  if (bevel_inner_ != bvNone) bevel += bevel_width_;
  Rect.Inflate(-bevel, -bevel);
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  if (bevel_outer_ != bvNone) Frame3D(canvas, r, BevelTopColor(bevel_outer_), BevelBottomColor(bevel_outer_), bevel_width_);
  Frame3D(canvas, r, Color(), Color(), border_width_);
  if (bevel_inner_ != bvNone) Frame3D(canvas, r, BevelTopColor(bevel_inner_), BevelBottomColor(bevel_inner_), bevel_width_);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);

  const String caption = Caption();
  if (caption.empty()) return;
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(Font());
  const int fontHeight = canvas->TextHeight(L"W");
  r.Top = (r.Top + r.Bottom - fontHeight) / 2;
  r.Bottom = r.Top + fontHeight;
  UINT flags = DT_EXPANDTABS | DT_VCENTER;
  switch (alignment_) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  DrawTextW(canvas->Handle(), caption.c_str(), static_cast<int>(caption.size()), r.AsRECT(), flags);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (bevel_inner_ == Value) return;
  bevel_inner_ = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (bevel_outer_ == Value) return;
  bevel_outer_ = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value) {
  if (Value < 1) Value = 1;
  if (bevel_width_ == Value) return;
  bevel_width_ = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value) {
  if (Value < 0) Value = 0;
  if (border_width_ == Value) return;
  border_width_ = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
}

void TCustomPanel::SetFullRepaint(bool Value) {
  if (full_repaint_ == Value) return;
  full_repaint_ = Value;
  RecreateWnd();
}

void TCustomPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TCustomControl::Dispatch(Message);
}

}  // namespace vcl
