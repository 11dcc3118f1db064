// TProgressBar: a superclass of msctls_progress32.
#include "classlib/comctrls/ProgressBar.h"

#include <algorithm>

#include <commctrl.h>

namespace vcl {

VCL_CLASS_INFO(TProgressBar) {
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  publish::Enabled(p);
  publish::Hints(p);
  p.Integer<&TProgressBar::Max, &TProgressBar::SetMax>(L"Max", 100);
  p.Integer<&TProgressBar::Min, &TProgressBar::SetMin>(L"Min", 0);
  p.Enum<&TProgressBar::Orientation, &TProgressBar::SetOrientation>(
      L"Orientation", static_cast<int64_t>(pbHorizontal));
  publish::PopupMenu(p);
  p.Integer<&TProgressBar::Position, &TProgressBar::SetPosition>(L"Position", 0);
  p.Bool<&TProgressBar::Smooth, &TProgressBar::SetSmooth>(L"Smooth", false);
  p.Integer<&TProgressBar::Step, &TProgressBar::SetStep>(L"Step", 10);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::OnContextPopup(p);
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, PROGRESS_CLASSW);
  if (orientation_ == pbVertical) Params.Style |= PBS_VERTICAL;
  if (smooth_) Params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  Send(PBM_SETSTEP, static_cast<WPARAM>(step_));
  ApplyRange();
}

void TProgressBar::DestroyWnd() {
  position_ = Position();
  TWinControl::DestroyWnd();
}

void TProgressBar::ApplyRange() {
  if (!HasWindow()) return;
  Send(PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  Send(PBM_SETPOS, static_cast<WPARAM>(position_));
}

int TProgressBar::Position() const { return HasWindow() ? static_cast<int>(Send(PBM_GETPOS)) : position_; }

void TProgressBar::SetPosition(int Value) {
  if (!ComponentState().Contains(csReading)) Value = std::clamp(Value, min_, std::max(min_, max_));
  position_ = Value;
  if (HasWindow()) Send(PBM_SETPOS, static_cast<WPARAM>(Value));
}

void TProgressBar::SetMin(int Value) {
  if (min_ == Value) return;
  min_ = Value;
  if (!ComponentState().Contains(csReading)) {
    max_ = std::max(max_, min_);
    position_ = std::clamp(Position(), min_, max_);
  }
  ApplyRange();
}

void TProgressBar::SetMax(int Value) {
  if (max_ == Value) return;
  max_ = Value;
  if (!ComponentState().Contains(csReading)) {
    min_ = std::min(min_, max_);
    position_ = std::clamp(Position(), min_, max_);
  }
  ApplyRange();
}

void TProgressBar::SetStep(int Value) {
  step_ = Value;
  if (HasWindow()) Send(PBM_SETSTEP, static_cast<WPARAM>(Value));
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  if (orientation_ == Value) return;
  orientation_ = Value;
  if (!ComponentState().Contains(csReading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TProgressBar::SetSmooth(bool Value) {
  if (smooth_ == Value) return;
  smooth_ = Value;
  RecreateWnd();
}

// Past the end the bar starts again from Min, as the system's own stepping does.
void TProgressBar::StepIt() {
  if (HasWindow()) {
    Send(PBM_STEPIT);
    position_ = Position();
    return;
  }
  const long long next = static_cast<long long>(position_) + step_;
  position_ = next > max_ || next < min_ ? min_ : static_cast<int>(next);
}

void TProgressBar::StepBy(int Delta) { SetPosition(Position() + Delta); }

}  // namespace vcl
