// TTrackBar: a superclass of msctls_trackbar32.
#include "classlib/comctrls/TrackBar.h"

#include <algorithm>

#include <commctrl.h>

namespace vcl {

VCL_CLASS_INFO(TTrackBar) {
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  publish::Enabled(p);
  p.Integer<&TTrackBar::Frequency, &TTrackBar::SetFrequency>(L"Frequency", 1);
  publish::Hints(p);
  p.Integer<&TTrackBar::LineSize, &TTrackBar::SetLineSize>(L"LineSize", 1);
  p.Integer<&TTrackBar::Max, &TTrackBar::SetMax>(L"Max", 10);
  p.Integer<&TTrackBar::Min, &TTrackBar::SetMin>(L"Min", 0);
  p.Enum<&TTrackBar::Orientation, &TTrackBar::SetOrientation>(L"Orientation", static_cast<int64_t>(trHorizontal));
  p.Integer<&TTrackBar::PageSize, &TTrackBar::SetPageSize>(L"PageSize", 2);
  publish::PopupMenu(p);
  p.Integer<&TTrackBar::Position, &TTrackBar::SetPosition>(L"Position", 0);
  p.Integer<&TTrackBar::SelEnd, &TTrackBar::SetSelEnd>(L"SelEnd", 0);
  p.Integer<&TTrackBar::SelStart, &TTrackBar::SetSelStart>(L"SelStart", 0);
  p.Bool<&TTrackBar::SliderVisible, &TTrackBar::SetSliderVisible>(L"SliderVisible", true);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  p.Integer<&TTrackBar::ThumbLength, &TTrackBar::SetThumbLength>(L"ThumbLength", 20);
  p.Enum<&TTrackBar::TickMarks, &TTrackBar::SetTickMarks>(L"TickMarks", static_cast<int64_t>(tmBottomRight));
  p.Enum<&TTrackBar::TickStyle, &TTrackBar::SetTickStyle>(L"TickStyle", static_cast<int64_t>(tsAuto));
  publish::Visible(p);
  p.Event<&TTrackBar::OnChange>(L"OnChange");
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  // The window tracks the mouse itself.
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, TRACKBAR_CLASSW);
  Params.Style |= TBS_FIXEDLENGTH | TBS_ENABLESELRANGE;
  Params.Style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
  switch (tick_marks_) {
    case tmTopLeft: Params.Style |= TBS_TOP; break;  // TBS_LEFT for a vertical bar
    case tmBoth: Params.Style |= TBS_BOTH; break;
    default: break;
  }
  switch (tick_style_) {
    case tsNone: Params.Style |= TBS_NOTICKS; break;
    case tsAuto: Params.Style |= TBS_AUTOTICKS; break;
    default: break;
  }
  if (!slider_visible_) Params.Style |= TBS_NOTHUMB;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumb_length_));
  Send(TBM_SETLINESIZE, 0, line_size_);
  Send(TBM_SETPAGESIZE, 0, page_size_);
  ApplyRange();
  if (tick_style_ == tsAuto) Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency_));
  ApplySelection();
}

void TTrackBar::DestroyWnd() {
  position_ = Position();
  TWinControl::DestroyWnd();
}

void TTrackBar::ApplyRange() {
  if (!HasWindow()) return;
  Send(TBM_SETRANGEMIN, FALSE, min_);
  Send(TBM_SETRANGEMAX, FALSE, max_);
  Send(TBM_SETPOS, TRUE, position_);
}

void TTrackBar::ApplySelection() {
  if (!HasWindow()) return;
  if (sel_start_ == 0 && sel_end_ == 0) {
    Send(TBM_CLEARSEL, TRUE);
  } else {
    Send(TBM_SETSELSTART, FALSE, sel_start_);
    Send(TBM_SETSELEND, TRUE, sel_end_);
  }
}

int TTrackBar::Position() const {
  return HasWindow() ? static_cast<int>(Send(TBM_GETPOS)) : position_;
}

void TTrackBar::SetPosition(int Value) {
  // Within the range, except while a description still sets it.
  if (!ComponentState().Contains(csReading)) Value = std::clamp(Value, min_, std::max(min_, max_));
  if (Value == Position()) return;
  position_ = Value;
  if (HasWindow()) Send(TBM_SETPOS, TRUE, Value);
  Changed();
}

void TTrackBar::SetMin(int Value) {
  if (min_ == Value) return;
  min_ = Value;
  if (!ComponentState().Contains(csReading)) {
    max_ = std::max(max_, min_);
    position_ = std::clamp(Position(), min_, max_);
  }
  ApplyRange();
}

void TTrackBar::SetMax(int Value) {
  if (max_ == Value) return;
  max_ = Value;
  if (!ComponentState().Contains(csReading)) {
    min_ = std::min(min_, max_);
    position_ = std::clamp(Position(), min_, max_);
  }
  ApplyRange();
}

void TTrackBar::SetFrequency(int Value) {
  if (frequency_ == Value) return;
  frequency_ = Value;
  if (HasWindow() && tick_style_ == tsAuto) Send(TBM_SETTICFREQ, static_cast<WPARAM>(Value));
}

void TTrackBar::SetLineSize(int Value) {
  if (line_size_ == Value) return;
  line_size_ = Value;
  if (HasWindow()) Send(TBM_SETLINESIZE, 0, Value);
}

void TTrackBar::SetPageSize(int Value) {
  if (page_size_ == Value) return;
  page_size_ = Value;
  if (HasWindow()) Send(TBM_SETPAGESIZE, 0, Value);
}

void TTrackBar::SetSelStart(int Value) {
  if (sel_start_ == Value) return;
  sel_start_ = Value;
  ApplySelection();
}

void TTrackBar::SetSelEnd(int Value) {
  if (sel_end_ == Value) return;
  sel_end_ = Value;
  ApplySelection();
}

void TTrackBar::SetThumbLength(int Value) {
  if (thumb_length_ == Value) return;
  thumb_length_ = Value;
  if (HasWindow()) Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Value));
}

void TTrackBar::SetSliderVisible(bool Value) {
  if (slider_visible_ == Value) return;
  slider_visible_ = Value;
  RecreateWnd();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (orientation_ == Value) return;
  orientation_ = Value;
  // A bar turned on its side keeps its shape turned too (not while a description is read).
  if (!ComponentState().Contains(csReading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
  if (tick_marks_ == Value) return;
  tick_marks_ = Value;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
  if (tick_style_ == Value) return;
  tick_style_ = Value;
  RecreateWnd();
}

void TTrackBar::SetTick(int Value) {
  if (HasWindow()) Send(TBM_SETTIC, 0, Value);
}

void TTrackBar::Changed() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

// The user moved the thumb (mouse or keys); the end of a drag reports no new place.
void TTrackBar::CNScroll(TMessage& Message) {
  Message.Result = 0;
  const int now = Position();
  if (now == position_) return;
  position_ = now;
  Changed();
}

void TTrackBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: return CNScroll(Message);
    case WM_ERASEBKGND: return DefaultHandler(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
