// The threaded timer: its inner timer runs only with something to call, ticks reach OnTimer
// or the virtual handler, and a tick that arrives while one is handled is dropped. Ticks are
// delivered by sending the inner timer's window its WM_TIMER: nothing waits for real time.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/controls/Timer.h"
#include "core_win_support.h"
#include "classlib/rtl/TypInfo.h"
#include "skin_layered/core/ThreadedTimer.h"

namespace skin_layered::test {
namespace {

vcl::TTimer* InnerTimer(TqvThreadedTimer& timer) {
  for (int i = 0; i < timer.ComponentCount(); ++i)
    if (auto* inner = dynamic_cast<vcl::TTimer*>(timer.Components(i))) return inner;
  return nullptr;
}

void Tick(TqvThreadedTimer& timer) { SendMessageW(InnerTimer(timer)->WindowHandle(), WM_TIMER, 1, 0); }

struct Counter {
  int ticks = 0;
  vcl::TObject* sender = nullptr;
  std::function<void()> during;
  void OnTimer(vcl::TObject* s) {
    ++ticks;
    sender = s;
    if (during) during();
  }
};

using TimerPtr = std::unique_ptr<TqvThreadedTimer, void (*)(TqvThreadedTimer*)>;
TimerPtr Owned(TqvThreadedTimer* t) {
  return {t, [](TqvThreadedTimer* p) { vcl::TObject::Free(p); }};
}

TEST(ThreadedTimer, TheInnerTimerRunsOnlyWithSomethingToCall) {
  auto timer = Owned(new TqvThreadedTimer(nullptr));
  vcl::TTimer* inner = InnerTimer(*timer);
  ASSERT_NE(inner, nullptr);
  EXPECT_FALSE(inner->Enabled());  // no OnTimer yet

  Counter counter;
  timer->SetOnTimer(vcl::TNotifyEvent::Bind<&Counter::OnTimer>(&counter));
  EXPECT_TRUE(inner->Enabled());
  timer->SetInterval(12);
  EXPECT_EQ(inner->Interval(), 12u);
  EXPECT_TRUE(inner->Enabled());
  timer->SetInterval(0);
  EXPECT_FALSE(inner->Enabled());
  timer->SetInterval(12);
  timer->SetEnabled(false);
  EXPECT_FALSE(inner->Enabled());
  timer->SetEnabled(true);
  timer->SetOnTimer(nullptr);  // cleared: no ticks although still enabled
  EXPECT_TRUE(timer->Enabled());
  EXPECT_FALSE(inner->Enabled());
}

TEST(ThreadedTimer, TicksReachOnTimerAndReentrantTicksAreDropped) {
  auto timer = Owned(new TqvThreadedTimer(nullptr));
  Counter counter;
  timer->SetOnTimer(vcl::TNotifyEvent::Bind<&Counter::OnTimer>(&counter));
  Tick(*timer);
  EXPECT_EQ(counter.ticks, 1);
  EXPECT_EQ(counter.sender, timer.get());

  // A handler that lets further ticks in (as one pumping messages would).
  int nested = 0;
  counter.during = [&] {
    if (nested++ < 3) Tick(*timer);
  };
  Tick(*timer);
  EXPECT_EQ(counter.ticks, 2);
  EXPECT_EQ(nested, 1);
  counter.during = nullptr;
  Tick(*timer);  // not busy any more
  EXPECT_EQ(counter.ticks, 3);

  // A handler that raises leaves the timer able to tick again.
  RecordedBoxes boxes;
  counter.during = [] { throw std::runtime_error("tick"); };
  Tick(*timer);
  counter.during = nullptr;
  Tick(*timer);
  EXPECT_EQ(counter.ticks, 5);

  // A disabled inner timer's tick reaches nobody.
  timer->SetEnabled(false);
  Tick(*timer);
  EXPECT_EQ(counter.ticks, 5);
}

class TCountingTimer : public TqvThreadedTimer {
 public:
  TCountingTimer(vcl::TComponent* owner, bool useVirtual) : TqvThreadedTimer(owner, useVirtual) {}
  int ticks = 0;

 protected:
  void DoTimer() override { ++ticks; }
};

TEST(ThreadedTimer, TheSecondConstructorStartsDisabledWithTheVirtualHandler) {
  auto owner = std::make_unique<vcl::TComponent>(nullptr);
  auto* timer = new TCountingTimer(owner.get(), true);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->BoundOwner(), owner.get());
  EXPECT_TRUE(timer->OnTimer());
  EXPECT_FALSE(InnerTimer(*timer)->Enabled());
  timer->SetInterval(12);
  timer->SetEnabled(true);
  EXPECT_TRUE(InnerTimer(*timer)->Enabled());
  Tick(*timer);
  Tick(*timer);
  EXPECT_EQ(timer->ticks, 2);

  auto* plain = new TCountingTimer(owner.get(), false);
  EXPECT_FALSE(plain->OnTimer());
  // The owner frees both timers and their inner timers.
}

TEST(ThreadedTimer, APublishedOnTimerStartsTheInnerTimer) {
  auto timer = Owned(new TqvThreadedTimer(nullptr));
  Counter counter;
  vcl::SetMethodProp(timer.get(), L"OnTimer", vcl::TNotifyEvent::Bind<&Counter::OnTimer>(&counter).Raw());
  EXPECT_TRUE(InnerTimer(*timer)->Enabled());  // set through its setter, so the timer runs
  Tick(*timer);
  EXPECT_EQ(counter.ticks, 1);
}

}  // namespace
}  // namespace skin_layered::test
