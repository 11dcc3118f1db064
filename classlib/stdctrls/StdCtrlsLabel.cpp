// TCustomLabel / TLabel: a caption painted by the parent, sized to its text while AutoSize
// is on.
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TCustomLabel) {}

VCL_CLASS_INFO(TLabel) {
  publish::Align(p);
  p.Enum<&TCustomLabel::Alignment, &TCustomLabel::SetAlignment>(L"Alignment", static_cast<int64_t>(taLeftJustify));
  publish::Anchors(p);
  publish::BiDiMode(p);
  p.Bool<&TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize>(L"AutoSize", true);
  publish::Bounds(p);
  publish::Caption(p);
  publish::Color(p, clBtnFace);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  p.Enum<&TCustomLabel::Layout, &TCustomLabel::SetLayout>(L"Layout", static_cast<int64_t>(tlTop));
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Bool<&TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar>(L"ShowAccelChar", true);
  p.Bool<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>(L"Transparent", false);
  publish::Visible(p);
  p.Bool<&TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap>(L"WordWrap", false);
  publish::MouseEvents(p);
  publish::OnContextPopup(p);
}

namespace {

UINT AlignmentFlag(TAlignment a) {
  switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (auto_size_ == Value) return;
  auto_size_ = Value;
  AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (word_wrap_ == Value) return;
  word_wrap_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (transparent_ == Value) return;
  transparent_ = Value;
  // An opaque label covers its rectangle; a transparent one lets the parent paint it first.
  if (Value)
    SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
  else
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (show_accel_char_ == Value) return;
  show_accel_char_ = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(Message);
      AdjustBounds();
      return;
    default:
      TGraphicControl::Dispatch(Message);
  }
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::DoDrawText(TCanvas* Canvas, TRect& Rect, UINT Flags) {
  String text = Caption();
  // An empty caption (or a lone accelerator mark) still measures one line high.
  if ((Flags & DT_CALCRECT) && (text.empty() || (show_accel_char_ && text == L"&"))) text += L' ';
  if (!show_accel_char_) Flags |= DT_NOPREFIX;
  Canvas->SetFont(Font());
  const int length = static_cast<int>(text.size());
  if (!Enabled()) {
    Rect.Offset(1, 1);
    Canvas->Font()->SetColor(clBtnHighlight);
    DrawTextW(Canvas->Handle(), text.c_str(), length, Rect.AsRECT(), Flags);
    Rect.Offset(-1, -1);
    Canvas->Font()->SetColor(clBtnShadow);
  }
  DrawTextW(Canvas->Handle(), text.c_str(), length, Rect.AsRECT(), Flags);
}

void TCustomLabel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  if (!transparent_) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
  }
  canvas->Brush()->SetStyle(bsClear);
  const UINT flags = DT_EXPANDTABS | (word_wrap_ ? DT_WORDBREAK : 0) | AlignmentFlag(alignment_);
  if (layout_ != tlTop) {
    TRect calc = r;
    DoDrawText(canvas, calc, flags | DT_CALCRECT);
    const int free = Height() - calc.Bottom;
    r.Offset(0, layout_ == tlBottom ? free : free / 2);
  }
  DoDrawText(canvas, r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (ComponentState().Contains(csReading) || !auto_size_) return;
  TRect r = ClientRect();
  TCanvas canvas;
  canvas.SetHandle(MeasureDC());
  DoDrawText(&canvas, r, DT_EXPANDTABS | DT_CALCRECT | (word_wrap_ ? DT_WORDBREAK : 0));
  canvas.SetHandle(nullptr);
  // A right-aligned label keeps its right edge.
  int x = Left();
  if (alignment_ == taRightJustify) x += Width() - r.Right;
  SetBounds(x, Top(), r.Right, r.Bottom);
}

}  // namespace vcl
