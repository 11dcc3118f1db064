// The layered engine's timer component: it owns one class-library TTimer and passes its ticks
// on, dropping a tick that arrives while the previous one is still being handled (a handler
// that pumps messages). Despite the name no thread is started: ThreadPriority is only kept.
// Animation timers derive from it; those made with the second constructor route their ticks
// to the virtual DoTimer.
#pragma once

#include "classlib/controls/Timer.h"
#include "classlib/rtl/Component.h"

namespace skin_layered {

VCL_ENUM(TThreadPriority, tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical)
using enum TThreadPriority;

class TqvThreadedTimer : public vcl::TComponent {
  VCL_CLASS(TqvThreadedTimer, vcl::TComponent)
 public:
  // Enabled, with an interval of 1000 ms. While the application terminates no inner timer is
  // made: the timer never ticks and its properties are only kept.
  explicit TqvThreadedTimer(vcl::TComponent* AOwner);
  // CreateEx: starts disabled and keeps AOwner as the bound owner; with UseVirtualHandler
  // OnTimer is set to call DoTimer.
  TqvThreadedTimer(vcl::TComponent* AOwner, bool UseVirtualHandler);
  ~TqvThreadedTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);
  TThreadPriority ThreadPriority() const { return priority_; }
  void SetThreadPriority(TThreadPriority Value);
  const vcl::TNotifyEvent& OnTimer() const { return on_timer_; }
  void SetOnTimer(vcl::TNotifyEvent Value);

  // The owner given to CreateEx (nil otherwise), for the subclasses' tick handlers.
  vcl::TComponent* BoundOwner() const { return bound_owner_; }

 protected:
  // Called at each tick of a timer made with UseVirtualHandler; nothing here.
  virtual void DoTimer() {}

 private:
  void Rearm();
  void Tick(vcl::TObject* Sender);
  void VirtualTick(vcl::TObject* Sender);

  bool enabled_ = true;
  unsigned interval_ = 1000;
  vcl::TNotifyEvent on_timer_;
  vcl::TTimer* timer_ = nullptr;  // owned as a component
  TThreadPriority priority_ = tpNormal;
  bool busy_ = false;
  vcl::TComponent* bound_owner_ = nullptr;
};

}  // namespace skin_layered
