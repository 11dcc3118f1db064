// Track bars, progress bars and up-down controls on real windows, moved by the user.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

template <class T>
T* Make(TWinControl* parent) {
  auto* c = new T(parent);
  c->SetParent(parent);
  return c;
}

// Track bar

TEST(TrackBarWindow, TheRangeStepsTicksAndSelectionReachTheWindow) {
  auto form = ShownForm();
  auto* tb = Make<TTrackBar>(form.get());
  tb->SetMax(20);
  tb->SetMin(5);
  tb->SetPosition(12);
  tb->SetFrequency(5);
  tb->SetLineSize(3);
  tb->SetPageSize(6);
  tb->SetSelStart(7);
  tb->SetSelEnd(9);
  tb->SetThumbLength(16);
  HWND wnd = tb->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TTrackBar");
  const std::pair<UINT, LRESULT> asked[] = {{TBM_GETRANGEMIN, 5}, {TBM_GETRANGEMAX, 20}, {TBM_GETPOS, 12},
                                            {TBM_GETLINESIZE, 3}, {TBM_GETPAGESIZE, 6},  {TBM_GETSELSTART, 7},
                                            {TBM_GETSELEND, 9},   {TBM_GETTHUMBLENGTH, 16},
                                            {TBM_GETNUMTICS, 4}};  // ticks every 5 from 5 to 20, ends included
  for (auto [msg, value] : asked) EXPECT_EQ(SendMessageW(wnd, msg, 0, 0), value) << msg;

  // Positions stay in the range.
  tb->SetPosition(40);
  EXPECT_EQ(tb->Position(), 20);
  tb->SetMax(10);
  EXPECT_EQ(tb->Position(), 10);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETPOS, 0, 0), 10);

  tb->SetOrientation(trVertical);
  tb->SetTickMarks(tmBoth);
  tb->SetTickStyle(tsNone);
  wnd = tb->Handle();
  EXPECT_EQ(StyleOf(wnd) & (TBS_VERT | TBS_BOTH | TBS_NOTICKS), TBS_VERT | TBS_BOTH | TBS_NOTICKS);
  EXPECT_EQ(tb->Width(), 45);  // turned on its side
  EXPECT_EQ(tb->Height(), 150);
  // The new window has the same range and position.
  EXPECT_EQ(SendMessageW(wnd, TBM_GETPOS, 0, 0), 10);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETRANGEMIN, 0, 0), 5);
}

TEST(TrackBarEvents, TheUsersKeysMoveThePositionAndFireOnChange) {
  auto form = ShownForm();
  auto* tb = Make<TTrackBar>(form.get());
  tb->SetLineSize(2);
  struct Changes {
    std::vector<int> positions;
    TTrackBar* bar = nullptr;
    void Change(TObject*) { positions.push_back(bar->Position()); }
  } changes;
  changes.bar = tb;
  tb->OnChange = TNotifyEvent::Bind<&Changes::Change>(&changes);
  HWND wnd = tb->Handle();
  SendMessageW(wnd, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(wnd, WM_KEYUP, VK_RIGHT, 0);
  SendMessageW(wnd, WM_KEYDOWN, VK_END, 0);
  SendMessageW(wnd, WM_KEYUP, VK_END, 0);
  EXPECT_EQ(changes.positions, (std::vector<int>{2, 10}));
  EXPECT_EQ(tb->Position(), 10);
}

// An engine's hook in front of the control: answers the track bar's custom drawing the way
// the classic skinner does and records what it was asked.
struct CustomDrawHook {
  TTrackBar* bar = nullptr;
  TWndMethod previous;
  std::vector<std::pair<DWORD, DWORD_PTR>> stages;  // draw stage, item
  void Proc(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY && Message.LParam >= 0x10000 &&
        reinterpret_cast<NMHDR*>(Message.LParam)->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
      auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(Message.LParam);
      stages.emplace_back(cd->dwDrawStage, cd->dwItemSpec);
      Message.Result = cd->dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
      return;
    }
    previous(Message);
  }
};

TEST(TrackBarCustomDraw, ItsCustomDrawReachesTheControlAsAReflectedNotification) {
  auto form = ShownForm();
  auto* tb = Make<TTrackBar>(form.get());
  CustomDrawHook hook;
  hook.bar = tb;
  hook.previous = tb->WindowProc;
  tb->WindowProc = TWndMethod::Bind<&CustomDrawHook::Proc>(&hook);
  HWND wnd = tb->Handle();
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  tb->WindowProc = hook.previous;
  ASSERT_FALSE(hook.stages.empty());
  EXPECT_EQ(hook.stages.front().first, static_cast<DWORD>(CDDS_PREPAINT));
  auto has = [&](DWORD_PTR item) {
    for (auto [stage, spec] : hook.stages)
      if (stage == CDDS_ITEMPREPAINT && spec == item) return true;
    return false;
  };
  EXPECT_TRUE(has(TBCD_TICS));
  EXPECT_TRUE(has(TBCD_THUMB));
  EXPECT_TRUE(has(TBCD_CHANNEL));
}

// Progress bar

TEST(ProgressBarWindow, RangePositionStepsAndOrientation) {
  auto form = ShownForm();
  auto* pb = Make<TProgressBar>(form.get());
  pb->SetMin(10);
  pb->SetMax(60);
  pb->SetPosition(20);
  pb->SetStep(15);
  HWND wnd = pb->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TProgressBar");
  PBRANGE range{};
  SendMessageW(wnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 10);
  EXPECT_EQ(range.iHigh, 60);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 20);
  pb->StepIt();
  EXPECT_EQ(pb->Position(), 35);
  pb->StepBy(-30);
  EXPECT_EQ(pb->Position(), 10);  // not below Min
  pb->SetPosition(100);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 60);

  pb->SetOrientation(pbVertical);
  pb->SetSmooth(true);
  wnd = pb->Handle();
  EXPECT_EQ(StyleOf(wnd) & (PBS_VERTICAL | PBS_SMOOTH), PBS_VERTICAL | PBS_SMOOTH);
  EXPECT_EQ(pb->Width(), 16);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 60);

  // Without a window the control keeps its own values the same way.
  auto* loose = new TProgressBar(form.get());
  loose->SetPosition(95);
  loose->StepIt();
  EXPECT_EQ(loose->Position(), 0);  // past the end it starts again
  loose->SetPosition(-4);
  EXPECT_EQ(loose->Position(), 0);
}

// Up-down

struct UpDownEvents {
  std::vector<TUDBtnType> clicks;
  int changings = 0;
  bool allow = true;
  void Click(TObject*, TUDBtnType Button) { clicks.push_back(Button); }
  void Changing(TObject*, bool& AllowChange) {
    ++changings;
    AllowChange = allow;
  }
};

void PressAt(HWND wnd, int x, int y) {
  const LPARAM at = PointToLParam(x, y);
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
}

TEST(UpDownWindow, TheAssociateGetsTheArrowsBesideItAndThePositionAsItsText) {
  auto form = ShownForm();
  auto* edit = Make<TEdit>(form.get());
  edit->SetBounds(10, 10, 100, 21);
  auto* ud = Make<TUpDown>(form.get());
  ud->SetMin(-5);
  ud->SetMax(50);
  ud->SetPosition(7);
  ud->SetIncrement(5);
  ud->SetAssociate(edit);
  HWND wnd = ud->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TUpDown");
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(wnd, UDM_GETBUDDY, 0, 0)), edit->Handle());
  EXPECT_EQ(edit->Text(), L"7");
  // The arrows sit at the edit's right end, which the edit gave up for them.
  EXPECT_EQ(ud->Left(), edit->Left() + edit->Width());
  EXPECT_EQ(ud->Top(), edit->Top());
  EXPECT_LT(edit->Width(), 100);
  EXPECT_EQ(ud->BoundsRect(), RectInParent(wnd));
  int low = 0, high = 0;
  SendMessageW(wnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, -5);
  EXPECT_EQ(high, 50);
  UDACCEL accel{};
  SendMessageW(wnd, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  EXPECT_EQ(accel.nInc, 5u);

  // The edit's own text is the position.
  edit->SetText(L"30");
  EXPECT_EQ(ud->Position(), 30);

  // A freed associate leaves the control.
  TObject::Free(edit);
  EXPECT_EQ(ud->Associate(), nullptr);
  EXPECT_EQ(SendMessageW(wnd, UDM_GETBUDDY, 0, 0), 0);
}

TEST(UpDownEvents, PressingAnArrowAsksOnChangingThenMovesAndFiresOnClick) {
  auto form = ShownForm();
  auto* edit = Make<TEdit>(form.get());
  auto* ud = Make<TUpDown>(form.get());
  ud->SetAssociate(edit);
  UpDownEvents events;
  ud->OnClick = TUDClickEvent::Bind<&UpDownEvents::Click>(&events);
  ud->OnChanging = TUDChangingEvent::Bind<&UpDownEvents::Changing>(&events);
  HWND wnd = ud->Handle();
  const int w = ud->Width(), h = ud->Height();

  PressAt(wnd, w / 2, h / 4);  // the upper arrow
  EXPECT_EQ(ud->Position(), 1);
  EXPECT_EQ(edit->Text(), L"1");
  PressAt(wnd, w / 2, h / 4);
  PressAt(wnd, w / 2, h * 3 / 4);  // the lower arrow
  EXPECT_EQ(ud->Position(), 1);
  EXPECT_EQ(events.changings, 3);
  EXPECT_EQ(events.clicks, (std::vector<TUDBtnType>{btNext, btNext, btPrev}));

  // A refused change leaves the position and reports no click.
  events.allow = false;
  PressAt(wnd, w / 2, h / 4);
  EXPECT_EQ(ud->Position(), 1);
  EXPECT_EQ(events.changings, 4);
  EXPECT_EQ(events.clicks.size(), 3u);

  // At the end of the range, without Wrap, the position stays: no click.
  events.allow = true;
  ud->SetPosition(100);
  PressAt(wnd, w / 2, h / 4);
  EXPECT_EQ(ud->Position(), 100);
  EXPECT_EQ(events.clicks.size(), 3u);
  // With Wrap it starts again at the other end.
  ud->SetWrap(true);
  wnd = ud->Handle();
  PressAt(wnd, w / 2, h / 4);
  EXPECT_EQ(ud->Position(), 0);
  ASSERT_EQ(events.clicks.size(), 4u);
  EXPECT_EQ(events.clicks.back(), btNext);
}

}  // namespace
}  // namespace vcl::testing
