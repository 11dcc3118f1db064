#include "skin_layered/core/ThreadedTimer.h"

#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvThreadedTimer) {
  p.Bool<&TqvThreadedTimer::Enabled, &TqvThreadedTimer::SetEnabled>(L"Enabled", true);
  p.Integer<&TqvThreadedTimer::Interval, &TqvThreadedTimer::SetInterval>(L"Interval", 1000);
  p.Event<&TqvThreadedTimer::on_timer_>(L"OnTimer").SetMethod = [](vcl::TObject* o, const vcl::TMethod& m) {
    static_cast<TqvThreadedTimer*>(o)->SetOnTimer(vcl::TNotifyEvent::FromRaw(m));
  };
  p.Enum<&TqvThreadedTimer::ThreadPriority, &TqvThreadedTimer::SetThreadPriority>(
      L"ThreadPriority", static_cast<int64_t>(tpNormal));
}

TqvThreadedTimer::TqvThreadedTimer(vcl::TComponent* AOwner) : TComponent(AOwner) {
  if (vcl::Application && vcl::Application->Terminated()) return;
  timer_ = new vcl::TTimer(this);
  timer_->SetInterval(interval_);
  timer_->OnTimer = vcl::TNotifyEvent::Bind<&TqvThreadedTimer::Tick>(this);
  Rearm();
}

TqvThreadedTimer::TqvThreadedTimer(vcl::TComponent* AOwner, bool UseVirtualHandler) : TqvThreadedTimer(AOwner) {
  SetEnabled(false);
  bound_owner_ = AOwner;
  if (UseVirtualHandler) SetOnTimer(vcl::TNotifyEvent::Bind<&TqvThreadedTimer::VirtualTick>(this));
}

TqvThreadedTimer::~TqvThreadedTimer() {
  if (timer_) {
    timer_->SetEnabled(false);
    vcl::TTimer* timer = timer_;
    timer_ = nullptr;
    vcl::TObject::Free(timer);
  }
}

void TqvThreadedTimer::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  Rearm();
}

void TqvThreadedTimer::SetInterval(unsigned Value) {
  if (interval_ == Value) return;
  interval_ = Value;
  if (timer_) timer_->SetInterval(Value);
  Rearm();
}

void TqvThreadedTimer::SetThreadPriority(TThreadPriority Value) {
  if (priority_ == Value) return;
  priority_ = Value;
  Rearm();
}

void TqvThreadedTimer::SetOnTimer(vcl::TNotifyEvent Value) {
  on_timer_ = Value;
  Rearm();
}

// The inner timer runs only while there is something to call.
void TqvThreadedTimer::Rearm() {
  if (!timer_) return;
  timer_->SetEnabled(false);
  if (interval_ != 0 && enabled_ && on_timer_) timer_->SetEnabled(true);
}

void TqvThreadedTimer::Tick(vcl::TObject*) {
  if (!timer_ || !timer_->Enabled() || busy_) return;
  busy_ = true;
  const vcl::TScopeExit clear([this] { busy_ = false; });
  if (on_timer_) on_timer_(this);
}

void TqvThreadedTimer::VirtualTick(vcl::TObject*) { DoTimer(); }

}  // namespace skin_layered
