// TCustomStaticText / TStaticText: a superclass of the system STATIC class; its colours come
// from the control through CN_CTLCOLORSTATIC.
#include "classlib/stdctrls/StaticText.h"

#include "classlib/forms/Menus.h"

namespace vcl {

VCL_CLASS_INFO(TCustomStaticText) {}

VCL_CLASS_INFO(TStaticText) {
  publish::Align(p);
  p.Enum<&TCustomStaticText::Alignment, &TCustomStaticText::SetAlignment>(L"Alignment",
                                                                          static_cast<int64_t>(taLeftJustify));
  publish::Anchors(p);
  p.Bool<&TCustomStaticText::AutoSize, &TCustomStaticText::SetAutoSize>(L"AutoSize", true);
  publish::Bevels(p);
  publish::BiDiMode(p);
  p.Enum<&TCustomStaticText::BorderStyle, &TCustomStaticText::SetBorderStyle>(
      L"BorderStyle", static_cast<int64_t>(sbsNone));
  publish::Bounds(p);
  publish::Caption(p);
  publish::Color(p, clBtnFace);
  publish::Constraints(p);
  publish::Cursor(p);
  publish::Enabled(p);
  p.Object<&TCustomStaticText::FocusControl, &TCustomStaticText::SetFocusControl>(L"FocusControl",
                                                                                  TWinControl::StaticClass());
  publish::Font(p);
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Bool<&TCustomStaticText::ShowAccelChar, &TCustomStaticText::SetShowAccelChar>(L"ShowAccelChar", true);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::OnContextPopup(p);
}

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csReplicatable, csDoubleClicks});
  SetBounds(0, 0, 65, 17);
}

void TCustomStaticText::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"STATIC");
  // Clicks reach the control (SS_NOTIFY); the text keeps its ampersands without ShowAccelChar.
  Params.Style |= SS_NOTIFY;
  switch (alignment_) {
    case taLeftJustify: Params.Style |= SS_LEFT; break;
    case taRightJustify: Params.Style |= SS_RIGHT; break;
    case taCenter: Params.Style |= SS_CENTER; break;
  }
  if (!show_accel_char_) Params.Style |= SS_NOPREFIX;
  if (border_style_ == sbsSingle) Params.Style |= WS_BORDER;
  if (border_style_ == sbsSunken) Params.Style |= SS_SUNKEN;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  RecreateWnd();
}

void TCustomStaticText::SetAutoSize(bool Value) {
  if (auto_size_ == Value) return;
  auto_size_ = Value;
  AdjustBounds();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
  if (show_accel_char_ == Value) return;
  show_accel_char_ = Value;
  RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::SetFocusControl(TWinControl* Value) {
  if (focus_control_ == Value) return;
  if (focus_control_) focus_control_->RemoveFreeNotification(this);
  focus_control_ = Value;
  if (focus_control_) focus_control_->FreeNotification(this);
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focus_control_) focus_control_ = nullptr;
}

void TCustomStaticText::Loaded() {
  TWinControl::Loaded();
  AdjustBounds();
}

void TCustomStaticText::AdjustBounds() {
  if (!auto_size_ || ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) return;
  const String text = Text();
  RECT r{0, 0, 0, 0};
  {
    const SelectGuard font(MeasureDC(), Font()->Handle());
    // An empty text is as high as a line.
    const String measured = text.empty() ? String(L" ") : text;
    DrawTextW(MeasureDC(), measured.c_str(), static_cast<int>(measured.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | (show_accel_char_ ? 0 : DT_NOPREFIX));
  }
  // Both borders are a pixel wide on each side.
  const int border = border_style_ == sbsNone ? 0 : 2;
  const int width = r.right + border;
  const int height = r.bottom + border;
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - width;
  if (alignment_ == taCenter) left += (Width() - width) / 2;
  SetBounds(left, Top(), width, height);
}

// A new text or font: a new size.
void TCustomStaticText::CMTextOrFontChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  AdjustBounds();
  Invalidate();
}

// Its accelerator focuses the control the text stands for.
void TCustomStaticText::CMDialogChar(TMessage& Message) {
  if (focus_control_ && Enabled() && show_accel_char_ && focus_control_->CanFocus() &&
      IsAccel(static_cast<WORD>(Message.WParam), Text())) {
    focus_control_->SetFocus();
    Message.Result = 1;
    return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomStaticText::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED: return CMTextOrFontChanged(Message);
    case CM_DIALOGCHAR: return CMDialogChar(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
