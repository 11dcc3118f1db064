// What engines learn of controls' windows: creation and destruction, FindControl in a CBT hook, prints.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "classlib/controls/WindowEvents.h"
#include "classlib/controls/WindowProcHook.h"
#include "controls_support.h"

namespace vcl::testing {
namespace {

FormPtr NewForm() { return FormPtr(new TForm(nullptr, 0)); }

// What a subscriber saw, with the state of the window at that moment.
struct Seen {
  TWinControl* control;
  TWindowEvent what;
  HWND handle;
  bool window_alive;
  bool found;  // FindControl answered the control
};

struct Recorder {
  std::vector<Seen> seen;
  TWindowEventLink link{TWindowEventHandler::Bind<&Recorder::On>(this)};
  void On(TWinControl* c, TWindowEvent what) {
    const HWND h = c->HandleAllocated() ? c->Handle() : nullptr;
    seen.push_back({c, what, h, h && IsWindow(h), h && FindControl(h) == c});
  }
  std::vector<Seen> Of(TWinControl* c) const {
    std::vector<Seen> r;
    for (const Seen& s : seen)
      if (s.control == c) r.push_back(s);
    return r;
  }
};

TEST(WindowEvents, CreatedAndDestroyingAcrossRecreationReparentingAndFreeing) {
  auto form = NewForm();
  form->Show();  // windows come back at once only under a form that shows
  Recorder rec;
  auto* panel = new TRecordingPanel(form.get());
  panel->SetParent(form.get());  // made at once under a showing form

  HWND first = panel->Handle();
  auto ev = rec.Of(panel);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].what, weCreated);
  EXPECT_EQ(ev[0].handle, first);
  EXPECT_TRUE(ev[0].found);

  rec.seen.clear();
  panel->RecreateWnd();
  ev = rec.Of(panel);
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_EQ(ev[0].what, weDestroying);
  EXPECT_EQ(ev[0].handle, first);
  EXPECT_TRUE(ev[0].window_alive);  // still whole when announced
  EXPECT_TRUE(ev[0].found);
  EXPECT_EQ(ev[1].what, weCreated);
  EXPECT_NE(ev[1].handle, first);
  EXPECT_TRUE(ev[1].found);

  // A child with a window of its own goes with its parent's re-creation.
  auto* inner = Put<TRecordingPanel>(panel);
  inner->HandleNeeded();
  auto other = NewForm();
  other->Show();
  rec.seen.clear();
  panel->SetParent(other.get());
  ASSERT_EQ(rec.seen.size(), 4u);
  EXPECT_EQ(rec.seen[0].control, panel);  // the parent is announced before its children go
  EXPECT_EQ(rec.seen[0].what, weDestroying);
  EXPECT_EQ(rec.seen[1].control, inner);
  EXPECT_EQ(rec.seen[1].what, weDestroying);
  EXPECT_EQ(rec.seen[2].control, panel);
  EXPECT_EQ(rec.seen[2].what, weCreated);
  EXPECT_EQ(GetParent(rec.seen[2].handle), other->Handle());
  EXPECT_EQ(rec.seen[3].control, inner);
  EXPECT_EQ(rec.seen[3].what, weCreated);

  rec.seen.clear();
  TObject::Free(panel);
  ASSERT_EQ(rec.seen.size(), 2u);
  EXPECT_EQ(rec.seen[0].what, weDestroying);
  EXPECT_EQ(rec.seen[1].what, weDestroying);
  EXPECT_TRUE(rec.seen[1].window_alive);
}

TEST(WindowEvents, AWindowTheSystemDestroysWithItsParentIsAnnouncedOnce) {
  auto form = NewForm();
  auto* panel = Put<TRecordingPanel>(form.get());
  panel->HandleNeeded();
  Recorder rec;
  DestroyWindow(form->Handle());  // not through the library
  auto ev = rec.Of(panel);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].what, weDestroying);
  EXPECT_TRUE(ev[0].found);
  EXPECT_FALSE(panel->HandleAllocated());
  EXPECT_EQ(rec.Of(form.get()).size(), 1u);
}

TEST(WindowEvents, ASubscriberThatRaisesLeavesTheOthersAndTheControlWorking) {
  struct Raiser {
    TWindowEventLink link{TWindowEventHandler::Bind<&Raiser::On>(this)};
    void On(TWinControl*, TWindowEvent) { throw EInvalidOperation(L"engine failed"); }
  };
  auto raiser = std::make_unique<Raiser>();
  Recorder rec;
  ShownBoxes().clear();
  auto form = NewForm();
  form->HandleNeeded();
  EXPECT_TRUE(form->HandleAllocated());
  EXPECT_EQ(rec.seen.size(), 1u);
  EXPECT_EQ(ShownBoxes().size(), 1u);
  raiser.reset();  // unsubscribed
  form->DestroyHandle();
  form->HandleNeeded();
  EXPECT_EQ(rec.seen.size(), 3u);
  EXPECT_EQ(ShownBoxes().size(), 1u);
}

// FindControl inside a CBT hook

struct CbtWatch {
  static inline std::vector<std::pair<HWND, TWinControl*>> created;
  static inline std::vector<HWND> handles_of_found;
  static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
      HWND wnd = reinterpret_cast<HWND>(wp);
      TWinControl* c = FindControl(wnd);
      created.emplace_back(wnd, c);
      if (c) handles_of_found.push_back(c->Handle());  // no second window is made
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
};

TEST(FindControl, AnswersInsideACbtHookBeforeTheWindowsFirstMessage) {
  CbtWatch::created.clear();
  CbtWatch::handles_of_found.clear();
  HHOOK hook = SetWindowsHookExW(WH_CBT, &CbtWatch::Proc, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  auto form = NewForm();
  auto* panel = Put<TRecordingPanel>(form.get());
  panel->HandleNeeded();
  HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, form->Handle(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  UnhookWindowsHookEx(hook);

  auto answerFor = [](HWND wnd) -> std::optional<TWinControl*> {
    for (auto [w, c] : CbtWatch::created)
      if (w == wnd) return c;
    return std::nullopt;
  };
  EXPECT_EQ(answerFor(form->Handle()), form.get());
  EXPECT_EQ(answerFor(panel->Handle()), panel);
  EXPECT_EQ(answerFor(foreign), nullptr);
  EXPECT_EQ(CbtWatch::handles_of_found, (std::vector<HWND>{form->Handle(), panel->Handle()}));
  // The early answer is the same attachment the first message would have made.
  EXPECT_EQ(SendMessageW(panel->Handle(), ControlLookupMessage(), 0, 0), reinterpret_cast<LRESULT>(panel));
  EXPECT_EQ(panel->Count(WM_NCCREATE), 1u);
  DestroyWindow(foreign);
}

// The child list change

class TListWatcher : public TRecordingPanel {
  VCL_CLASS(TListWatcher, TRecordingPanel)
  using TRecordingPanel::TRecordingPanel;
  std::vector<std::pair<LPARAM, TWinControl*>> parents;  // inserted flag, the child's parent then
  std::vector<int> counts;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_CONTROLLISTCHANGE) {
      parents.emplace_back(Message.LParam, reinterpret_cast<TControl*>(Message.WParam)->Parent());
      counts.push_back(ControlCount());
    }
    TRecordingPanel::Dispatch(Message);
  }
};

}  // namespace
VCL_CLASS_INFO(TListWatcher) {}
namespace {

TEST(ControlListChange, TheInsertedChildAlreadyHasItsParent) {
  TListWatcher parent(nullptr);
  auto* child = Put<TRecordingGraphic>(&parent);
  child->SetParent(nullptr);
  ASSERT_EQ(parent.parents.size(), 2u);
  EXPECT_EQ(parent.parents[0], std::make_pair(LPARAM{1}, static_cast<TWinControl*>(&parent)));
  EXPECT_EQ(parent.counts[0], 1);  // and is in the list
  EXPECT_EQ(parent.parents[1], std::make_pair(LPARAM{0}, static_cast<TWinControl*>(nullptr)));
  EXPECT_EQ(parent.counts[1], 0);
  delete child;
}

// Printing the frame through WindowProc

class TBorderPanel : public TRecordingPanel {
  VCL_CLASS(TBorderPanel, TRecordingPanel)
  using TRecordingPanel::TRecordingPanel;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TRecordingPanel::CreateParams(Params);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
};

}  // namespace
VCL_CLASS_INFO(TBorderPanel) {}
namespace {

TEST(Printing, TheFrameOfAPrintPassesThroughWindowProc) {
  auto form = NewForm();
  auto* panel = Put<TBorderPanel>(form.get(), 0, 0, 40, 30);
  panel->fill = clLime;
  struct FramePrinter {
    TWindowProcHook hook;
    std::vector<LPARAM> prints;
    void Proc(TMessage& m) {
      if (m.Msg == WM_PRINT) {
        prints.push_back(m.LParam);
        if (m.LParam == PRF_NONCLIENT) {  // the frame alone: painted here instead
          HDC dc = reinterpret_cast<HDC>(m.WParam);
          RECT r{0, 0, 40, 30};
          HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
          FillRect(dc, &r, red);
          DeleteObject(red);
          return;
        }
      }
      hook.CallPrevious(m);
    }
  } printer;
  printer.hook.Install(panel, TWndMethod::Bind<&FramePrinter::Proc>(&printer));
  PixelTarget target(40, 30);
  SendMessageW(panel->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(target.dc()), PRF_NONCLIENT | PRF_CLIENT);
  EXPECT_EQ(printer.prints, (std::vector<LPARAM>{PRF_NONCLIENT | PRF_CLIENT, PRF_NONCLIENT}));
  EXPECT_EQ(target.At(0, 0), clRed);    // the hook's frame
  EXPECT_EQ(target.At(20, 15), clLime);  // the control's client
  // Without the hook the system draws the frame: not the hook's colour.
  printer.hook.Remove();
  PixelTarget plain(40, 30);
  panel->Perform(WM_PRINT, reinterpret_cast<WPARAM>(plain.dc()), PRF_NONCLIENT | PRF_CLIENT);
  EXPECT_NE(plain.At(0, 0), clRed);
  EXPECT_EQ(plain.At(20, 15), clLime);
}

}  // namespace
}  // namespace vcl::testing
