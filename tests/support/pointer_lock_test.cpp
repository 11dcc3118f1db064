// The lock on the real pointer that test programs running side by side share: a waiter that
// cannot have it gives up at its bound naming the holder, answers meanwhile what the holder
// sends its windows, and a holder stuck past its bound ends its program saying so.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "support/win_test_support.h"

namespace wintest {
namespace {

using std::chrono::milliseconds;
using ::testing::HasSubstr;

// A manual-reset event, closed when it goes.
struct Event {
  UniqueHandle handle{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  void Set() const { SetEvent(handle.Get()); }
  bool Wait(DWORD Ms) const { return WaitForSingleObject(handle.Get(), Ms) == WAIT_OBJECT_0; }
};

// The lock held by a thread of this program until Release; Then runs while it holds it.
class OtherHolder {
 public:
  explicit OtherHolder(std::function<void()> Then = [] {})
      : thread_([this, Then = std::move(Then)] {
          try {
            const PointerLock lock;  // a program beside may hold it a while
            taken_ = true;
            held_.Set();
            Then();
            release_.Wait(INFINITE);  // set by the test or at the latest by the destructor
          } catch (const std::runtime_error&) {
            held_.Set();
          }
        }) {
    held_.Wait(INFINITE);  // the lock's own wait is bounded
    EXPECT_TRUE(taken_) << "the thread never took the lock";
  }
  ~OtherHolder() {
    Release();
    thread_.join();
  }
  OtherHolder(const OtherHolder&) = delete;
  OtherHolder& operator=(const OtherHolder&) = delete;
  void Release() const { release_.Set(); }

 private:
  Event held_, release_;
  bool taken_ = false;
  std::thread thread_;
};

TEST(PointerLock, AWaiterGivesUpAtItsBoundNamingTheHolderAndTakesTheLockOnceItIsFree) {
  OtherHolder holder;
  const auto start = std::chrono::steady_clock::now();
  std::string error;
  try {
    const PointerLock lock(milliseconds(300));
  } catch (const std::runtime_error& e) {
    error = e.what();
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_THAT(error, HasSubstr("not free within 300 ms"));
  EXPECT_THAT(error, HasSubstr("held by process " + std::to_string(GetCurrentProcessId())));
  EXPECT_THAT(error, HasSubstr("PointerLock.AWaiterGivesUpAtItsBoundNamingTheHolderAndTakesTheLockOnceItIsFree"));
  EXPECT_GE(waited, milliseconds(300));
  EXPECT_LT(waited, milliseconds(5000));

  // Let go, the lock is the waiter's well within its bound.
  holder.Release();
  EXPECT_NO_THROW(const PointerLock lock(milliseconds(10'000)));
}

// However short the bound, the waiter gives up only once it has passed (a bound of 1 ms left
// 0.99 ms, which counted in whole milliseconds was no wait at all).
TEST(PointerLock, AWaiterGivesUpNoSoonerThanItsBoundHoweverShort) {
  OtherHolder holder;
  for (const milliseconds bound : {milliseconds(1), milliseconds(2), milliseconds(3), milliseconds(10), milliseconds(50)}) {
    for (int round = 0; round < 5; ++round) {
      const auto start = std::chrono::steady_clock::now();
      std::string error;
      try {
        const PointerLock lock(bound);
      } catch (const std::runtime_error& e) {
        error = e.what();
      }
      const auto waited = std::chrono::steady_clock::now() - start;
      EXPECT_THAT(error, HasSubstr("not free within " + std::to_string(bound.count()) + " ms")) << "round " << round;
      EXPECT_GE(waited, bound) << "round " << round;
      EXPECT_LT(waited, bound + milliseconds(5000)) << "round " << round;
    }
  }
}

LRESULT CALLBACK CountingProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_APP) return 42;
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

// The holder sends a window of the waiting thread a message before it lets go (as the system
// does for a program's windows): the waiter answers it, and has the lock.
TEST(PointerLock, AWaiterAnswersWhatTheHolderSendsItsWindowsAndHasTheLock) {
  const HWND wnd = CreateWindowExW(0, TestWindowClass(L"PointerLockWaiter", &CountingProc), L"", 0, 0, 0, 10, 10,
                                   HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(wnd);
  LRESULT answer = 0;
  {
    OtherHolder holder([&] { answer = SendMessageW(wnd, WM_APP, 0, 0); });
    holder.Release();  // once the message is answered
    EXPECT_NO_THROW(const PointerLock lock(milliseconds(10'000)));
  }
  EXPECT_EQ(answer, 42);
  DestroyWindow(wnd);
}

// A holder past its bound (stuck where no deadline of its own acts) ends the program, naming
// its test: the programs beside are not left waiting.
TEST(PointerLockDeathTest, AHolderStuckPastItsBoundEndsTheProgramSayingWhichTestHeldIt) {
  EXPECT_EXIT(
      {
        const PointerLock lock(milliseconds(10'000), milliseconds(300));
        Event never;
        never.Wait(INFINITE);
      },
      ::testing::ExitedWithCode(3), "AHolderStuckPastItsBoundEndsTheProgramSayingWhichTestHeldIt has held the real pointer's lock");
}

}  // namespace
}  // namespace wintest
