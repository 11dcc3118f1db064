// The places where skin engines hook into controls and windows: chained WindowProc hooks,
// comctl32 subclasses of windows (also together with hooks), and nested canvas loans.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/controls/WindowSubclass.h"
#include "classlib/rtl/LiveCounts.h"
#include "controls_support.h"

namespace vcl::testing {
namespace {

FormPtr NewForm() { return FormPtr(new TForm(nullptr, 0)); }

// A hook that writes its tag into a trace and adds its value to one message's answer.
struct Tagged {
  TWindowProcHook hook;
  std::wstring* trace = nullptr;
  wchar_t tag = L'?';
  LRESULT add = 0;

  void Proc(TMessage& m) {
    if (m.Msg == WM_USER + 1 && trace) *trace += tag;
    hook.CallPrevious(m);
    if (m.Msg == WM_USER + 1) m.Result += add;
  }
  void Install(TControl* c) { hook.Install(c, TWndMethod::Bind<&Tagged::Proc>(this)); }
};

// A panel whose own handling answers WM_USER + 1 with 1.
class TAnswerPanel : public TRecordingPanel {
  VCL_CLASS(TAnswerPanel, TRecordingPanel)
  using TRecordingPanel::TRecordingPanel;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_USER + 1) {
      Message.Result = 1;
      return;
    }
    TRecordingPanel::Dispatch(Message);
  }
};

}  // namespace
VCL_CLASS_INFO(TAnswerPanel) {}
namespace {

// WindowProc hooks

TEST(WindowProcHook, TwoHooksComeOffInEitherOrderAndTheOtherKeepsWorking) {
  for (const bool lowerFirst : {true, false}) {
    SCOPED_TRACE(lowerFirst ? "lower hook removed first" : "upper hook removed first");
    auto form = NewForm();
    auto* panel = Put<TAnswerPanel>(form.get());
    const TWndMethod own = panel->WindowProc;
    std::wstring trace;
    auto lower = std::unique_ptr<Tagged>(new Tagged{{}, &trace, L'L', 10});
    auto upper = std::unique_ptr<Tagged>(new Tagged{{}, &trace, L'U', 100});
    lower->Install(panel);
    upper->Install(panel);

    EXPECT_EQ(SendMessageW(panel->Handle(), WM_USER + 1, 0, 0), 111);  // through the window
    EXPECT_EQ(panel->Perform(WM_USER + 1), 111);                        // and straight
    EXPECT_EQ(trace, L"ULUL");
    EXPECT_TRUE(upper->hook.OnTop());
    EXPECT_FALSE(lower->hook.OnTop());

    trace.clear();
    if (lowerFirst) {
      lower.reset();  // unlinks itself from under the upper one
      EXPECT_TRUE(upper->hook.OnTop());
      EXPECT_EQ(panel->Perform(WM_USER + 1), 101);
      EXPECT_EQ(trace, L"U");
      upper.reset();
    } else {
      upper.reset();  // was on top: puts back the lower one
      EXPECT_TRUE(lower->hook.OnTop());
      EXPECT_EQ(panel->Perform(WM_USER + 1), 11);
      EXPECT_EQ(trace, L"L");
      lower.reset();
    }
    EXPECT_TRUE(panel->WindowProc == own);
    EXPECT_EQ(panel->Perform(WM_USER + 1), 1);
  }
}

TEST(WindowProcHook, AMiddleHookOfThreeLeavesTheChainWhole_AndAMovedHookGoesOnTop) {
  auto form = NewForm();
  auto* panel = Put<TAnswerPanel>(form.get());
  std::wstring trace;
  Tagged a{{}, &trace, L'a', 10}, b{{}, &trace, L'b', 100}, c{{}, &trace, L'c', 1000};
  for (Tagged* t : {&a, &b, &c}) t->Install(panel);
  EXPECT_EQ(panel->Perform(WM_USER + 1), 1111);
  EXPECT_EQ(trace, L"cba");
  b.hook.Remove();
  trace.clear();
  EXPECT_EQ(panel->Perform(WM_USER + 1), 1011);
  EXPECT_EQ(trace, L"ca");
  a.Install(panel);  // installing again moves it to the top
  trace.clear();
  EXPECT_EQ(panel->Perform(WM_USER + 1), 1011);
  EXPECT_EQ(trace, L"ac");
  EXPECT_TRUE(a.hook.OnTop());
}

// Something that replaces WindowProc by hand above a hook keeps the hook's method as its
// previous one: the hook cannot unlink and stays as a pass-through, which leaves as soon as
// the hand-made replacement is put back.
TEST(WindowProcHook, UnderAHandMadeReplacementTheHookBecomesAPassThrough) {
  auto form = NewForm();
  auto* panel = Put<TAnswerPanel>(form.get());
  const TWndMethod own = panel->WindowProc;
  auto hooked = std::unique_ptr<Tagged>(new Tagged{{}, nullptr, L'?', 10});
  hooked->Install(panel);
  struct ByHand {
    TWndMethod saved;
    void Proc(TMessage& m) {
      saved(m);
      if (m.Msg == WM_USER + 1) m.Result += 1000;
    }
  } byHand;
  byHand.saved = panel->WindowProc;
  panel->WindowProc = TWndMethod::Bind<&ByHand::Proc>(&byHand);
  EXPECT_EQ(panel->Perform(WM_USER + 1), 1011);

  hooked.reset();
  EXPECT_EQ(panel->Perform(WM_USER + 1), 1001);  // the hook's method is out, the chain whole
  panel->WindowProc = byHand.saved;                // put back by hand: the pass-through
  EXPECT_EQ(panel->Perform(WM_USER + 1), 1);

  Tagged later;  // the next hook on the control clears the pass-through away
  later.Install(panel);
  later.hook.Remove();
  EXPECT_TRUE(panel->WindowProc == own);
}

TEST(WindowProcHook, RemovedFromItsOwnHandlerAtWindowDestruction) {
  auto form = NewForm();
  auto* panel = Put<TRecordingPanel>(form.get());
  struct Detacher {
    TWindowProcHook hook;
    int ncdestroys = 0;
    void Proc(TMessage& m) {
      if (m.Msg == WM_NCDESTROY) {
        ++ncdestroys;
        hook.Remove();
        hook.CallPrevious(m);  // still reaches the control after the removal
        return;
      }
      hook.CallPrevious(m);
    }
  } detacher;
  detacher.hook.Install(panel, TWndMethod::Bind<&Detacher::Proc>(&detacher));
  HWND wnd = panel->Handle();
  panel->seen.clear();
  DestroyWindow(wnd);
  EXPECT_EQ(detacher.ncdestroys, 1);
  EXPECT_FALSE(detacher.hook.Installed());
  EXPECT_TRUE(Has(panel->seen, WM_NCDESTROY));
  EXPECT_FALSE(panel->HandleAllocated());
  EXPECT_TRUE(panel->WindowProc == TWndMethod::Bind<&TControl::WndProc>(static_cast<TControl*>(panel)));
}

TEST(WindowProcHook, AHookMayOutliveItsControl) {
  Tagged hook;
  {
    auto form = NewForm();
    auto* panel = Put<TAnswerPanel>(form.get());
    hook.Install(panel);
    panel->HandleNeeded();
    EXPECT_EQ(hook.hook.Control(), panel);
  }  // the form frees the panel with the hook still in
  EXPECT_TRUE(hook.hook.Installed());
  EXPECT_EQ(hook.hook.Control(), nullptr);
  hook.hook.Remove();
  EXPECT_FALSE(hook.hook.Installed());
}

// Window subclassing

LRESULT CALLBACK AnswerOne(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return m == WM_USER + 1 ? 1 : DefWindowProcW(w, m, wp, lp);
}

HWND ForeignWindow() {
  return CreateWindowExW(0, wintest::TestWindowClass(L"WindowHooksForeign", AnswerOne),
                         L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

struct Sub {
  TWindowSubclass sub;
  std::wstring* trace = nullptr;
  wchar_t tag = L'?';
  LRESULT add = 0;
  void Proc(TMessage& m) {
    if (m.Msg == WM_USER + 1 && trace) *trace += tag;
    sub.CallDefault(m);
    if (m.Msg == WM_USER + 1) m.Result += add;
  }
  bool Attach(HWND w) { return sub.Attach(w, TWndMethod::Bind<&Sub::Proc>(this)); }
};

TEST(WindowSubclass, ASubclassLeavesAChainOfThreeFromAnyPlace) {
  for (int removed = 0; removed < 3; ++removed) {
    SCOPED_TRACE(removed);
    HWND wnd = ForeignWindow();
    ASSERT_NE(wnd, nullptr);
    std::wstring trace;
    std::unique_ptr<Sub> subs[3];
    for (int i = 0; i < 3; ++i) {
      subs[i] = std::unique_ptr<Sub>(new Sub{{}, &trace, static_cast<wchar_t>(L'a' + i), i == 0 ? 10 : i == 1 ? 100 : 1000});
      ASSERT_TRUE(subs[i]->Attach(wnd));
    }
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1111);
    EXPECT_EQ(trace, L"cba");
    const LRESULT gone = subs[removed]->add;
    subs[removed].reset();
    trace.clear();
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1111 - gone);
    std::wstring expected = L"cba";
    expected.erase(static_cast<size_t>(2 - removed), 1);
    EXPECT_EQ(trace, expected);
    DestroyWindow(wnd);
    for (auto& s : subs) {
      if (s) {
        EXPECT_FALSE(s->sub.Attached());  // every one left with the window
      }
    }
  }
}

// Someone replaces the procedure by hand over the chain: taking the subclass out must not
// cut that procedure off (comctl32 would put the class procedure back), and a new subclass
// made in the old one's memory must not revive its pass-through.
WNDPROC g_raw_below = nullptr;
int g_raw_calls = 0;
LRESULT CALLBACK RawOverChain(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_USER + 1) ++g_raw_calls;
  return CallWindowProcW(g_raw_below, Wnd, Msg, WParam, LParam);
}

TEST(WindowSubclass, DetachingUnderAProcedureSetByHandKeepsThatProcedure) {
  HWND wnd = ForeignWindow();
  ASSERT_NE(wnd, nullptr);
  std::wstring trace;
  auto sub = std::unique_ptr<Sub>(new Sub{{}, &trace, L's', 100});
  ASSERT_TRUE(sub->Attach(wnd));
  g_raw_calls = 0;
  g_raw_below = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawOverChain)));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 101);
  sub.reset();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RawOverChain));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);  // through the pass-through to the class
  EXPECT_EQ(g_raw_calls, 2);
  EXPECT_EQ(trace, L"s");

  // A new subclass (possibly at the old one's address) works on its own.
  auto again = std::unique_ptr<Sub>(new Sub{{}, &trace, L't', 1000});
  ASSERT_TRUE(again->Attach(wnd));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1001);
  EXPECT_EQ(trace, L"st");
  again.reset();

  // The hand-set procedure goes again: the chain is on top and comes off cleanly.
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_raw_below));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
  EXPECT_TRUE(DestroyWindow(wnd));
}

// The object lives in a buffer that the handler destroys and fills with the window's handle
// (so that a stale read of the subclass's window would match): the subclass must neither
// write to it nor call through it afterwards.
TEST(WindowSubclass, AHandlerThatDestroysItsWindowAndItsSubclassObject) {
  for (const UINT freeAt : {static_cast<UINT>(WM_DESTROY), static_cast<UINT>(WM_NCDESTROY)}) {
    SCOPED_TRACE(freeAt);
    HWND wnd = ForeignWindow();
    ASSERT_NE(wnd, nullptr);
    struct Killer {
      alignas(TWindowSubclass) unsigned char storage[sizeof(TWindowSubclass)];
      unsigned char pattern[sizeof(TWindowSubclass)];
      TWindowSubclass* sub = nullptr;
      UINT free_at = 0;
      int seen_after = 0;
      bool freed = false;
      void Proc(TMessage& m) {
        if (freed) ++seen_after;
        if (m.Msg == WM_USER + 2) {
          DestroyWindow(sub->Handle());  // the window goes while its message is handled
          m.Result = 5;
          return;
        }
        sub->CallDefault(m);
        if (m.Msg == free_at) {
          const HWND wnd = sub->Handle();
          sub->~TWindowSubclass();
          for (size_t i = 0; i + sizeof(HWND) <= sizeof(storage); i += sizeof(HWND))
            std::memcpy(storage + i, &wnd, sizeof(HWND));
          std::memcpy(pattern, storage, sizeof(storage));
          freed = true;
        }
      }
    } killer;
    killer.free_at = freeAt;
    killer.sub = new (killer.storage) TWindowSubclass;
    ASSERT_TRUE(killer.sub->Attach(wnd, TWndMethod::Bind<&Killer::Proc>(&killer)));
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 2, 0, 0), 5);
    EXPECT_FALSE(IsWindow(wnd));
    ASSERT_TRUE(killer.freed);
    EXPECT_EQ(killer.seen_after, 0);  // no message reached the freed subclass
    EXPECT_EQ(std::memcmp(killer.storage, killer.pattern, sizeof(killer.storage)), 0);  // nothing written
  }
}

TEST(WindowSubclass, AnExceptionIsShownAndTheWindowStillGetsItsDefault) {
  HWND wnd = ForeignWindow();
  ASSERT_NE(wnd, nullptr);
  struct Thrower {
    TWindowSubclass sub;
    void Proc(TMessage& m) {
      if (m.Msg == WM_USER + 1 || m.Msg == WM_SETTEXT) throw EConvertError(L"'y' is not a valid integer value");
      sub.CallDefault(m);
    }
  } thrower;
  ASSERT_TRUE(thrower.sub.Attach(wnd, TWndMethod::Bind<&Thrower::Proc>(&thrower)));
  ShownBoxes().clear();
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);  // the class procedure's answer
  SetWindowTextW(wnd, L"still set");
  wchar_t text[32]{};
  GetWindowTextW(wnd, text, 32);
  EXPECT_STREQ(text, L"still set");
  ASSERT_EQ(ShownBoxes().size(), 2u);
  EXPECT_EQ(ShownBoxes()[0].text, L"'y' is not a valid integer value.");
  DestroyWindow(wnd);
}

TEST(WindowSubclass, DetachedFromInsideItsHandlerStillPassesThatMessageOn) {
  HWND wnd = ForeignWindow();
  ASSERT_NE(wnd, nullptr);
  struct Once {
    TWindowSubclass sub;
    int calls = 0;
    void Proc(TMessage& m) {
      if (m.Msg == WM_USER + 1) {
        ++calls;
        sub.Detach();
      }
      sub.CallDefault(m);
    }
  } once;
  ASSERT_TRUE(once.sub.Attach(wnd, TWndMethod::Bind<&Once::Proc>(&once)));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
  EXPECT_EQ(once.calls, 1);
  EXPECT_FALSE(once.sub.Attached());
  DestroyWindow(wnd);
}

// A library window can carry both: the subclass sees what comes through the window, the
// hook what reaches the control's WindowProc (through the window or by Perform).
TEST(WindowSubclass, ASubclassAndAWindowProcHookOnOneControlsWindow) {
  for (const bool subclassFirst : {true, false}) {
    SCOPED_TRACE(subclassFirst ? "subclass removed first" : "hook removed first");
    auto form = NewForm();
    auto* panel = Put<TAnswerPanel>(form.get());
    std::wstring trace;
    auto sub = std::unique_ptr<Sub>(new Sub{{}, &trace, L's', 100});
    auto hook = std::unique_ptr<Tagged>(new Tagged{{}, &trace, L'h', 10});
    hook->Install(panel);
    ASSERT_TRUE(sub->Attach(panel->Handle()));

    EXPECT_EQ(SendMessageW(panel->Handle(), WM_USER + 1, 0, 0), 111);
    EXPECT_EQ(trace, L"sh");
    trace.clear();
    EXPECT_EQ(panel->Perform(WM_USER + 1), 11);  // no window involved: the hook only
    EXPECT_EQ(trace, L"h");
    EXPECT_EQ(FindControl(panel->Handle()), panel);

    if (subclassFirst) {
      sub.reset();
      EXPECT_EQ(SendMessageW(panel->Handle(), WM_USER + 1, 0, 0), 11);
      hook.reset();
    } else {
      hook.reset();
      EXPECT_EQ(SendMessageW(panel->Handle(), WM_USER + 1, 0, 0), 101);
      sub.reset();
    }
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_USER + 1, 0, 0), 1);
    panel->RecreateWnd();  // the control's own window procedure is intact
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_USER + 1, 0, 0), 1);
  }
}

// The chain's own bookkeeping: the window's procedure comes back whole, a procedure set over
// the chain is never cut off, and a window's end leaves nothing behind for the next window.
LONG_PTR WindowProcOf(HWND w) { return GetWindowLongPtrW(w, GWLP_WNDPROC); }
const LONG_PTR kAnswerOne = reinterpret_cast<LONG_PTR>(&AnswerOne);

TEST(WindowSubclassChain, TheMiddleOfThreeGoesFirst_ThenTheOthers_AndTheClassProcedureIsBack) {
  for (const bool topNext : {true, false}) {
    SCOPED_TRACE(topNext ? "top removed second" : "bottom removed second");
    const int64_t liveBefore = LiveCount(TLiveKind::Subclasses);
    HWND wnd = ForeignWindow();
    ASSERT_NE(wnd, nullptr);
    ASSERT_EQ(WindowProcOf(wnd), kAnswerOne);
    std::wstring trace;
    Sub a{{}, &trace, L'a', 10}, b{{}, &trace, L'b', 100}, c{{}, &trace, L'c', 1000};
    for (Sub* s : {&a, &b, &c}) ASSERT_TRUE(s->Attach(wnd));
    EXPECT_NE(WindowProcOf(wnd), kAnswerOne);
    EXPECT_EQ(LiveCount(TLiveKind::Subclasses), liveBefore + 3);
    b.sub.Detach();
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1011);
    (topNext ? c : a).sub.Detach();
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), topNext ? 11 : 1001);
    EXPECT_NE(WindowProcOf(wnd), kAnswerOne);  // one subclass is still in
    (topNext ? a : c).sub.Detach();
    EXPECT_EQ(WindowProcOf(wnd), kAnswerOne);
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
    EXPECT_EQ(trace, topNext ? L"caa" : L"cac");
    EXPECT_EQ(LiveCount(TLiveKind::Subclasses), liveBefore);
    // Attaching again after the chain came off starts a new one on the class procedure.
    ASSERT_TRUE(b.Attach(wnd));
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 101);
    b.sub.Detach();
    EXPECT_EQ(WindowProcOf(wnd), kAnswerOne);
    EXPECT_TRUE(DestroyWindow(wnd));
  }
}

TEST(WindowSubclassChain, AllDetachedUnderAProcedureSetOverTheChain_ThatProcedureKeepsWorking) {
  HWND wnd = ForeignWindow();
  ASSERT_NE(wnd, nullptr);
  std::wstring trace;
  Sub a{{}, &trace, L'a', 10}, b{{}, &trace, L'b', 100}, c{{}, &trace, L'c', 1000};
  for (Sub* s : {&a, &b, &c}) ASSERT_TRUE(s->Attach(wnd));
  g_raw_calls = 0;
  g_raw_below = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawOverChain)));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1111);
  for (Sub* s : {&b, &a, &c}) {
    s->sub.Detach();
    EXPECT_EQ(WindowProcOf(wnd), reinterpret_cast<LONG_PTR>(&RawOverChain));
  }
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);  // the hand-set procedure, then the class
  EXPECT_EQ(g_raw_calls, 2);
  EXPECT_EQ(trace, L"cba");

  // Once the hand-set procedure is gone, the pass-through left on top comes off with the
  // next subclass to leave.
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_raw_below));
  ASSERT_TRUE(a.Attach(wnd));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 11);
  a.sub.Detach();
  EXPECT_EQ(WindowProcOf(wnd), kAnswerOne);
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
  EXPECT_EQ(g_raw_calls, 2);
  EXPECT_TRUE(DestroyWindow(wnd));
}

// A handler deletes its own subclass object (the window stays): the others above and below
// keep their places, and the deleted one is never called again.
TEST(WindowSubclassChain, AHandlerDeletesItsOwnSubclass_TheOthersKeepTheirPlaces) {
  HWND wnd = ForeignWindow();
  ASSERT_NE(wnd, nullptr);
  std::wstring trace;
  struct SelfDeleting {
    TWindowSubclass* sub = nullptr;
    std::wstring* trace = nullptr;
    int calls = 0;
    void Proc(TMessage& m) {
      if (m.Msg != WM_USER + 1) return sub->CallDefault(m);
      ++calls;
      *trace += L'x';
      sub->CallDefault(m);
      m.Result += 100;
      delete sub;  // this object is gone from here on
    }
  } self{nullptr, &trace};
  Sub low{{}, &trace, L'l', 10}, high{{}, &trace, L'h', 1000};
  ASSERT_TRUE(low.Attach(wnd));
  self.sub = new TWindowSubclass(wnd, TWndMethod::Bind<&SelfDeleting::Proc>(&self));
  ASSERT_TRUE(self.sub->Attached());
  ASSERT_TRUE(high.Attach(wnd));
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1111);
  EXPECT_EQ(trace, L"hxl");
  EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1011);
  EXPECT_EQ(trace, L"hxlhl");
  EXPECT_EQ(self.calls, 1);
  high.sub.Detach();
  low.sub.Detach();
  EXPECT_EQ(WindowProcOf(wnd), kAnswerOne);
  EXPECT_TRUE(DestroyWindow(wnd));
}

TEST(WindowSubclassChain, TheWindowDestroyedWithThreeAttached_EachSawItsEndAndIsDetached) {
  const int64_t liveBefore = LiveCount(TLiveKind::Subclasses);
  HWND wnd = ForeignWindow();
  ASSERT_NE(wnd, nullptr);
  struct Watcher {
    TWindowSubclass sub;
    std::wstring* trace = nullptr;
    wchar_t tag = L'?';
    void Proc(TMessage& m) {
      if (m.Msg == WM_NCDESTROY) {
        *trace += tag;
        EXPECT_TRUE(sub.Attached());  // detached only once the message went through
      }
      sub.CallDefault(m);
    }
  };
  std::wstring trace;
  Watcher w[3] = {{{}, &trace, L'a'}, {{}, &trace, L'b'}, {{}, &trace, L'c'}};
  for (Watcher& x : w) ASSERT_TRUE(x.sub.Attach(wnd, TWndMethod::Bind<&Watcher::Proc>(&x)));
  EXPECT_EQ(LiveCount(TLiveKind::Subclasses), liveBefore + 3);
  EXPECT_TRUE(DestroyWindow(wnd));
  EXPECT_EQ(trace, L"cba");
  for (Watcher& x : w) {
    EXPECT_FALSE(x.sub.Attached());
    EXPECT_EQ(x.sub.Handle(), nullptr);
    x.sub.Detach();  // harmless now
  }
  EXPECT_EQ(LiveCount(TLiveKind::Subclasses), liveBefore);
  EXPECT_FALSE(w[0].sub.Attach(wnd, TWndMethod::Bind<&Watcher::Proc>(&w[0])));  // the window is gone
}

// A window handle can come back for a new window once the old one is destroyed: nothing of
// the old window's chain may answer for it. A call that still reaches the chain's procedure
// with the old handle shows whether the chain was forgotten (a remembered one would run its
// subclasses and the class procedure, which answers 1).
TEST(WindowSubclassChain, AfterItsWindowIsDestroyedTheHandleMeetsNoOldChain) {
  std::wstring trace;
  Sub old{{}, &trace, L'o', 100};
  for (const bool handSetOver : {false, true}) {
    SCOPED_TRACE(handSetOver ? "a procedure set by hand over the chain" : "the chain on top");
    trace.clear();
    HWND wnd = ForeignWindow();
    ASSERT_NE(wnd, nullptr);
    ASSERT_TRUE(old.Attach(wnd));
    const auto chainProc = reinterpret_cast<WNDPROC>(WindowProcOf(wnd));
    ASSERT_NE(reinterpret_cast<LONG_PTR>(chainProc), kAnswerOne);
    if (handSetOver) {
      g_raw_below = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawOverChain)));
    }
    EXPECT_EQ(CallWindowProcW(chainProc, wnd, WM_USER + 1, 0, 0), 101);
    EXPECT_TRUE(DestroyWindow(wnd));
    ASSERT_FALSE(old.sub.Attached());
    EXPECT_EQ(CallWindowProcW(chainProc, wnd, WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(trace, L"o");
  }

  // A new window starts on its own procedure and builds its own chain.
  HWND next = ForeignWindow();
  ASSERT_NE(next, nullptr);
  ASSERT_TRUE(old.Attach(next));
  EXPECT_EQ(SendMessageW(next, WM_USER + 1, 0, 0), 101);
  old.sub.Detach();
  EXPECT_EQ(WindowProcOf(next), kAnswerOne);
  EXPECT_TRUE(DestroyWindow(next));
}

// Canvas loans

// Paints one colour through its canvas; the engine below paints around that painting.
class TFillControl : public TCustomControl {
  VCL_CLASS(TFillControl, TCustomControl)
  explicit TFillControl(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 20, 20); }
  TColor fill = clLime;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(fill);
    Canvas()->FillRect(Rect(0, 0, 10, 10));
  }
};

}  // namespace
VCL_CLASS_INFO(TFillControl) {}
namespace {

TEST(CanvasDCLoan, NestedLoansGiveTheCanvasBackItsPreviousDC) {
  auto form = NewForm();
  auto* control = Put<TFillControl>(form.get());
  auto* canvas = static_cast<TControlCanvas*>(control->Canvas());
  PixelTarget engine(20, 20);

  // Outside painting the canvas fetches the window's DC; a loan lets go of it.
  canvas->Pixels(0, 0);
  ASSERT_TRUE(canvas->HandleAllocated());
  {
    const TCanvasDCLoan outer(*canvas, engine.dc());
    EXPECT_EQ(canvas->CurrentHandle(), engine.dc());
    // The control paints itself into the engine's DC: its own painting lends it again.
    PixelTarget inner(20, 20);
    control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(inner.dc()), 0);
    EXPECT_EQ(inner.At(5, 5), clLime);
    EXPECT_EQ(canvas->CurrentHandle(), engine.dc());
    // The engine goes on drawing through the canvas into its own DC.
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(10, 10, 20, 20));
    EXPECT_EQ(engine.At(15, 15), clRed);
    EXPECT_EQ(engine.At(5, 5), static_cast<TColor>(0x563412));  // untouched by the control
    {
      const TCanvasDCLoan again(*canvas, inner.dc());
      canvas->Brush()->SetColor(clBlue);
      canvas->FillRect(Rect(0, 0, 2, 2));
    }
    EXPECT_EQ(inner.At(1, 1), clBlue);
    canvas->Brush()->SetColor(clYellow);
    canvas->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(engine.At(1, 1), clYellow);
    EXPECT_EQ(canvas->LockCount(), 1);
  }
  EXPECT_EQ(canvas->CurrentHandle(), nullptr);  // the window DC is fetched again when needed
  EXPECT_EQ(canvas->LockCount(), 0);
}

TEST(CanvasDCLoan, APaintingThatRaisesStillGivesTheDCBack) {
  TCanvas canvas;
  PixelTarget first(4, 4), second(4, 4);
  const TCanvasDCLoan outer(canvas, first.dc());
  try {
    const TCanvasDCLoan inner(canvas, second.dc());
    throw EAbort(L"");
  } catch (const EAbort&) {
  }
  EXPECT_EQ(canvas.CurrentHandle(), first.dc());
  EXPECT_EQ(canvas.LockCount(), 1);
}

}  // namespace
}  // namespace vcl::testing
