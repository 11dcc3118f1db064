// TTimer: a window-message timer. Every Interval milliseconds while Enabled, its message-only
// utility window gets WM_TIMER and OnTimer runs (on the GUI thread, from the message loop).
#pragma once

#include "classlib/rtl/Component.h"
#include "classlib/controls/UtilWindow.h"

namespace vcl {

class TTimer : public TComponent {
  VCL_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);
  // The utility window that receives the timer's WM_TIMER.
  HWND WindowHandle() const { return window_.Handle(); }

  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();
  void Loaded() override;

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  TUtilWindow window_;
  bool enabled_ = true;
  unsigned interval_ = 1000;
  bool running_ = false;
};

}  // namespace vcl
