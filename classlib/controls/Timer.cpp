#include "classlib/controls/Timer.h"

#include "classlib/controls/Controls.h"

namespace vcl {

VCL_CLASS_INFO(TTimer) {
  p.Bool<&TTimer::Enabled, &TTimer::SetEnabled>(L"Enabled", true);
  p.Integer<&TTimer::Interval, &TTimer::SetInterval>(L"Interval", 1000);
  p.Event<&TTimer::OnTimer>(L"OnTimer");
}

namespace {
constexpr UINT_PTR kTimerId = 1;
}

// A message-only window: a timer needs no broadcasts, and a form with timers starts sooner.
TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner), window_(TWndMethod::Bind<&TTimer::WndProc>(this), HWND_MESSAGE) {
  UpdateTimer();
}

TTimer::~TTimer() {
  if (!running_) return;
  KillTimer(window_.Handle(), kTimerId);
  detail::CountLive(TLiveKind::Timers, -1);
}

void TTimer::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (interval_ == Value) return;
  interval_ = Value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

// The system timer runs whenever the timer is enabled with an interval, so that a handler
// assigned later (as form descriptions do, after Enabled and Interval) is called.
void TTimer::UpdateTimer() {
  if (running_) {
    KillTimer(window_.Handle(), kTimerId);
    detail::CountLive(TLiveKind::Timers, -1);
  }
  running_ = false;
  if (enabled_ && interval_ != 0 && !ComponentState().Contains(csLoading)) {
    if (!SetTimer(window_.Handle(), kTimerId, interval_, nullptr)) throw EOutOfResources(L"Not enough timers available");
    running_ = true;
    detail::CountLive(TLiveKind::Timers, 1);
  }
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    try {
      if (enabled_) Timer();
    } catch (...) {
      HandleControlException(this);
    }
    return;
  }
  Message.Result = DefWindowProcW(window_.Handle(), Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace vcl
