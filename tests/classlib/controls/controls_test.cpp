// Controls on real windows: layout, lookup, window methods, graphic controls, component messages, reflection.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "classlib/controls/UtilWindow.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/controls/WindowSubclass.h"
#include "controls_support.h"

#include <commctrl.h>

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}
VCL_CLASS_INFO(TRecordingGraphic) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

// A check box made from the system BUTTON class.
class TTestCheck : public TWinControl {
  VCL_CLASS(TTestCheck, TWinControl)
 public:
  explicit TTestCheck(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 80, 20); }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= BS_AUTOCHECKBOX;
  }
};
VCL_CLASS_INFO(TTestCheck) {}

// A control whose window refuses its own creation (WM_NCCREATE answered false).
class TRefusingPanel : public TCustomControl {
  VCL_CLASS(TRefusingPanel, TCustomControl)
 public:
  explicit TRefusingPanel(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 50, 50); }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_NCCREATE) {
      Message.Result = FALSE;
      return;
    }
    TCustomControl::WndProc(Message);
  }
};
VCL_CLASS_INFO(TRefusingPanel) {}

// The message of the error Make raises (empty when none).
String CreationError(const std::function<void()>& Make) {
  try {
    Make();
  } catch (const EOSError& e) {
    return e.Message();
  }
  return L"";
}

// Window creation

// A window that could not be made is reported with its own reason: refused by its own creation
// message, the error names its class (not a code an earlier call of the library left behind,
// such as the class lookup's "class does not exist"); refused by the system (its parent window
// gone), the system's code.
TEST(WindowCreation, AWindowThatCouldNotBeMadeIsReportedWithItsOwnReason) {
  auto form = ShownForm(200, 100);
  auto* refusing = new TRefusingPanel(form.get());
  const String refused = CreationError([&] {
    refusing->SetParent(form.get());
    refusing->HandleNeeded();
  });
  EXPECT_NE(refused.find(L"TRefusingPanel"), String::npos) << refused;
  EXPECT_EQ(refused.find(L"1411"), String::npos) << refused;
  EXPECT_FALSE(refusing->HandleAllocated());

  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(gone);
  DestroyWindow(gone);
  TRecordingPanel orphan(nullptr);
  const String parentGone = CreationError([&] {
    orphan.SetParentWindow(gone);
    orphan.HandleNeeded();
  });
  EXPECT_NE(parentGone.find(std::to_wstring(ERROR_INVALID_WINDOW_HANDLE)), String::npos) << parentGone;
  EXPECT_FALSE(orphan.HandleAllocated());

  // Made as usual afterwards.
  auto* made = new TRecordingPanel(form.get());
  EXPECT_EQ(CreationError([&] {
              made->SetParent(form.get());
              made->HandleNeeded();
            }),
            L"");
  EXPECT_TRUE(made->HandleAllocated());
}

// Layout

TEST(Align, EdgesAreTakenTopBottomLeftRightThenClient) {
  TRecordingPanel host(nullptr);
  host.SetBounds(0, 0, 200, 100);
  auto* client = Put<TRecordingGraphic>(&host);
  auto* right = Put<TRecordingGraphic>(&host, 0, 0, 40, 20);
  auto* left = Put<TRecordingGraphic>(&host, 0, 0, 30, 20);
  auto* bottom = Put<TRecordingGraphic>(&host, 0, 0, 20, 20);
  auto* top = Put<TRecordingGraphic>(&host, 0, 0, 20, 10);
  top->SetAlign(alTop);
  bottom->SetAlign(alBottom);
  left->SetAlign(alLeft);
  right->SetAlign(alRight);
  client->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 10));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 10, 30, 80));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 10, 160, 80));

  // The parent grows: every edge follows.
  host.SetBounds(0, 0, 300, 150);
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 130, 300, 150));
  EXPECT_EQ(right->BoundsRect(), Rect(260, 10, 300, 130));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 10, 260, 130));
  EXPECT_FALSE(host.HandleAllocated());  // all of it without a window

  // Turning from top to left keeps the thickness.
  top->SetAlign(alLeft);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 10, 130));
}

TEST(Align, OneEdgeIsSharedInTheOrderOfPositions_HiddenControlsGiveWay) {
  TRecordingPanel host(nullptr);
  host.SetBounds(0, 0, 100, 100);
  auto* a = Put<TRecordingGraphic>(&host, 0, 50, 10, 15);
  auto* b = Put<TRecordingGraphic>(&host, 0, 5, 10, 25);
  a->SetAlign(alTop);  // alone on the edge: moved to 0
  b->SetAlign(alTop);  // a (now at 0) lies above b (at 5): a keeps the edge, b follows
  EXPECT_EQ(b->BoundsRect(), Rect(0, 15, 100, 40));
  a->SetVisible(false);
  EXPECT_EQ(b->Top(), 0);
  a->SetVisible(true);  // back where it was, above b
  EXPECT_EQ(b->Top(), 15);
  // Moving b above a and realigning swaps them.
  b->SetTop(-1);
  EXPECT_EQ(b->Top(), 0);
  EXPECT_EQ(a->Top(), 25);
}

TEST(Align, ConstraintsAndAnchorsHoldWhenTheParentChanges) {
  TRecordingPanel host(nullptr);
  host.SetBounds(0, 0, 200, 100);
  auto* left = Put<TRecordingGraphic>(&host);
  auto* client = Put<TRecordingGraphic>(&host);
  auto* pinned = Put<TRecordingGraphic>(&host, 150, 70, 30, 20);
  pinned->SetAnchors({akRight, akBottom});
  left->Constraints()->SetMaxWidth(40);
  left->SetWidth(70);
  EXPECT_EQ(left->Width(), 40);
  left->SetAlign(alLeft);
  client->Constraints()->SetMaxHeight(60);
  client->SetAlign(alClient);
  EXPECT_EQ(client->BoundsRect(), Rect(40, 0, 200, 60));
  // A minimum above the current size grows the control at once; the maximum follows it.
  left->Constraints()->SetMinWidth(50);
  EXPECT_EQ(left->Width(), 50);
  EXPECT_EQ(client->Left(), 50);
  host.SetBounds(0, 0, 260, 140);
  EXPECT_EQ(pinned->BoundsRect(), Rect(210, 110, 240, 130));

  auto form = ShownForm(300, 200);
  form->Constraints()->SetMinWidth(250);
  form->Constraints()->SetMinHeight(150);
  SetWindowPos(form->Handle(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(TRect(r).Width(), 250);
  MINMAXINFO info{};
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.y, 150);
  // Aligned in the window's real client area.
  auto* c = Put<TRecordingPanel>(form.get());
  c->SetAlign(alClient);
  GetClientRect(form->Handle(), &r);
  EXPECT_EQ(c->BoundsRect(), TRect(r));
}

// Window, class name and lookup

TEST(Lookup, WindowsCarryTheirControlUnderTheControlAtom) {
  auto form = ShownForm(300, 200);
  auto* panel = new TRecordingPanel(form.get());
  EXPECT_FALSE(panel->HandleAllocated());
  panel->SetParent(form.get());
  ASSERT_TRUE(panel->HandleAllocated());  // a child of a shown form gets its window

  const String name = ControlAtomName();
  wchar_t expected[64];
  swprintf(expected, 64, L"ControlOfs%.8llX%.8lX",
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
           static_cast<unsigned long>(GetCurrentThreadId()));
  EXPECT_EQ(name, expected);
  EXPECT_EQ(GlobalFindAtomW(name.c_str()), ControlAtom());
  EXPECT_EQ(GetPropW(panel->Handle(), MAKEINTATOM(ControlAtom())), static_cast<TWinControl*>(panel));
  EXPECT_EQ(FindControl(panel->Handle()), panel);
  EXPECT_EQ(FindControl(form->Handle()), form.get());
  EXPECT_EQ(SendMessageW(panel->Handle(), ControlLookupMessage(), 0, 0),
            reinterpret_cast<LRESULT>(static_cast<TWinControl*>(panel)));
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
  EXPECT_EQ(FindControl(nullptr), nullptr);
  wchar_t cls[64] = {};
  GetClassNameW(panel->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TRecordingPanel");
  // A window gone is nobody's, though the system may hand its handle out again.
  const HWND gone = panel->Handle();
  DestroyWindow(gone);
  EXPECT_FALSE(panel->HandleAllocated());
  EXPECT_EQ(FindControl(gone), nullptr);
}

TEST(Lookup, AHandleIsMadeOnlyWhenAsked) {
  TRecordingPanel panel(nullptr);
  panel.SetParentWindow(nullptr);
  EXPECT_FALSE(panel.HandleAllocated());
  EXPECT_FALSE(panel.Showing());
  (void)panel.ClientRect();
  panel.Invalidate();
  EXPECT_FALSE(panel.HandleAllocated());
  // A child window without parent window cannot exist.
  EXPECT_THROW(panel.Handle(), EInvalidOperation);
}

TEST(Lookup, AControlLivesInAForeignParentWindow) {
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  {
    TRecordingPanel panel(nullptr);
    panel.SetBounds(5, 5, 50, 30);
    panel.SetParentWindow(host);
    ASSERT_TRUE(panel.HandleAllocated());
    EXPECT_TRUE(panel.Showing());
    EXPECT_EQ(GetParent(panel.Handle()), host);
    EXPECT_TRUE(IsWindowVisible(panel.Handle()));
    EXPECT_EQ(FindControl(panel.Handle()), &panel);
    panel.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(panel.Handle()));
  }
  // The control went (deleted directly): its window with it, the host stays.
  EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);
  DestroyWindow(host);
}

TEST(Focus, TheLibrarysWindowsAnswerAsTheSystemDoesWhereverTheFocusGoes) {
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 200, 5, 80, 20, host, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  auto first = std::make_unique<TTestCheck>(nullptr);
  auto second = std::make_unique<TTestCheck>(nullptr);
  first->SetParentWindow(host);
  second->SetParentWindow(host);
  second->SetLeft(100);
  const HWND a = first->Handle(), b = second->Handle();
  SetActiveWindow(host);

  // Each step: the focus as the system tells it, and every window judged alike.
  auto expect_focus = [&](HWND focus) {
    ASSERT_EQ(GetFocus(), focus);
    for (HWND w : {a, b, edit, host}) EXPECT_EQ(IsFocusWindow(w), w == focus) << w;
    EXPECT_EQ(first->Focused(), a == focus);
    EXPECT_EQ(second->Focused(), b == focus);
  };
  SetFocus(a);
  expect_focus(a);
  SetFocus(edit);  // from a library window to one of the system
  expect_focus(edit);
  SetFocus(host);  // between two of the system
  expect_focus(host);
  SetFocus(b);
  expect_focus(b);
  SetFocus(a);
  expect_focus(a);
  SetFocus(nullptr);
  expect_focus(nullptr);
  SetFocus(b);
  second.reset();  // the focused window goes: the focus moves on, the other is not taken for it
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(IsFocusWindow(a), GetFocus() == a);
  EXPECT_FALSE(IsFocusWindow(nullptr));
  first.reset();
  DestroyWindow(host);
}

// The child windows of Parent from top to bottom.
std::vector<HWND> ChildrenTopDown(HWND Parent) {
  std::vector<HWND> list;
  for (HWND w = GetWindow(Parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) list.push_back(w);
  return list;
}

TEST(Lookup, WindowsMadeAsTheFormShowsLieInListOrderShownWithTheirOwnIdentifiers) {
  FormPtr form(new TForm(nullptr, 0));
  form->SetClientSize(300, 200);
  TRecordingPanel* panels[3];
  for (auto*& p : panels) {
    p = new TRecordingPanel(form.get());
    p->SetParent(form.get());
  }
  auto* inner1 = Put<TRecordingPanel>(panels[1]);
  auto* inner2 = Put<TRecordingPanel>(panels[1]);
  // One window is made before the others, while the form is hidden.
  HWND middle = panels[1]->Handle();
  EXPECT_FALSE(panels[0]->HandleAllocated());
  form->Show();

  // The last control lies on top, wherever its window was made first.
  EXPECT_EQ(ChildrenTopDown(form->Handle()),
            (std::vector<HWND>{panels[2]->Handle(), middle, panels[0]->Handle()}));
  EXPECT_EQ(ChildrenTopDown(middle), (std::vector<HWND>{inner2->Handle(), inner1->Handle()}));
  std::vector<int> ids;
  for (TWinControl* c : {static_cast<TWinControl*>(panels[0]), static_cast<TWinControl*>(panels[1]),
                         static_cast<TWinControl*>(panels[2]), static_cast<TWinControl*>(inner1),
                         static_cast<TWinControl*>(inner2)}) {
    EXPECT_TRUE(IsWindowVisible(c->Handle()));
    EXPECT_TRUE(c->Showing());
    const int id = GetDlgCtrlID(c->Handle());
    EXPECT_NE(id, 0);
    EXPECT_EQ(GetDlgItem(GetParent(c->Handle()), id), c->Handle());
    ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());

  // Controls added to the shown form come on top, and one hidden and shown again keeps its place.
  auto* late = Put<TRecordingPanel>(form.get());
  EXPECT_EQ(ChildrenTopDown(form->Handle()).front(), late->Handle());
  EXPECT_TRUE(IsWindowVisible(late->Handle()));
  panels[0]->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(panels[0]->Handle()));
  panels[0]->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(panels[0]->Handle()));
  EXPECT_EQ(ChildrenTopDown(form->Handle()).back(), panels[0]->Handle());

  // A form hidden again shows its hidden-then-shown children.
  form->Hide();
  panels[2]->SetVisible(false);
  panels[2]->SetVisible(true);
  form->Show();
  EXPECT_TRUE(IsWindowVisible(panels[2]->Handle()));
  EXPECT_EQ(ChildrenTopDown(form->Handle())[1], panels[2]->Handle());
}

TEST(Lookup, DestroyingTheControlDestroysItsWindowAndChildren) {
  auto form = ShownForm(300, 200);
  auto* panel = new TRecordingPanel(nullptr);  // not owned by the form: freed with its parent
  panel->SetParent(form.get());
  auto* inner = new TRecordingPanel(nullptr);
  inner->SetParent(panel);
  HWND wnd = panel->Handle();
  HWND innerWnd = inner->Handle();
  class Watch : public TComponent {
   public:
    bool gone = false;
    Watch() : TComponent(nullptr) {}
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      gone = gone || op == opRemove;
    }
  } watch;
  inner->FreeNotification(&watch);
  TObject::Free(panel);
  EXPECT_TRUE(watch.gone);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_FALSE(IsWindow(innerWnd));
  EXPECT_EQ(form->ControlCount(), 0);
}

// The replaceable window method

class Interceptor {
 public:
  TWindowProcHook hook;
  std::vector<UINT> seen;
  void Proc(TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 77;
      return;
    }
    hook.CallPrevious(m);
  }
  void Install(TControl* c) { hook.Install(c, TWndMethod::Bind<&Interceptor::Proc>(this)); }
};

TEST(WindowProc, PerformOnAGraphicControlRunsItsWindowMethod) {
  TRecordingPanel host(nullptr);
  auto* g = Put<TRecordingGraphic>(&host);
  Interceptor hook;
  hook.Install(g);
  EXPECT_EQ(g->Perform(WM_USER + 7), 77);
  EXPECT_FALSE(Has(g->seen, WM_USER + 7));  // the hook answered; the control never saw it
  g->SetEnabled(false);
  EXPECT_TRUE(Has(hook.seen, CM_ENABLEDCHANGED));
  EXPECT_TRUE(Has(g->seen, CM_ENABLEDCHANGED));
}

TEST(WindowProc, AnExceptionInAHandlerIsShownAndNeverReachesTheSystem) {
  auto form = ShownForm(300, 200);
  auto* panel = Put<TRecordingPanel>(form.get());
  struct Thrower {
    TWindowProcHook hook;
    void Proc(TMessage& m) {
      if (m.Msg == WM_USER + 9) throw EConvertError(L"'x' is not a valid integer value");
      hook.CallPrevious(m);
    }
  } thrower;
  thrower.hook.Install(panel, TWndMethod::Bind<&Thrower::Proc>(&thrower));
  ShownBoxes().clear();
  SendMessageW(panel->Handle(), WM_USER + 9, 0, 0);
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"'x' is not a valid integer value.");
}

// Graphic controls: mouse routing, enter and leave, painting by the parent

TEST(GraphicControl, MouseMessagesGoToTheControlUnderThePoint) {
  auto form = ShownForm(300, 200);
  auto* panel = Put<TRecordingPanel>(form.get(), 0, 0, 200, 150);
  auto* g = Put<TRecordingGraphic>(panel, 10, 20, 50, 40);
  Notified clicks;
  struct Sink {
    TPoint at;
    void Down(TObject*, TMouseButton, TShiftState, int x, int y) { at = {x, y}; }
  } sink;
  g->OnClick = clicks.Handler();
  g->OnMouseDown = TMouseEvent::Bind<&Sink::Down>(&sink);

  HWND wnd = panel->Handle();
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(25, 35));
  EXPECT_EQ(GetCaptureControl(), g);  // the graphic control holds the mouse through its parent
  EXPECT_EQ(GetCapture(), wnd);
  // Captured: a move outside still goes to the control, in its coordinates.
  SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(150, 120));
  ASSERT_NE(g->Last(WM_MOUSEMOVE), nullptr);
  EXPECT_EQ(g->Last(WM_MOUSEMOVE)->XPos(), 140);
  EXPECT_EQ(g->Last(WM_MOUSEMOVE)->YPos(), 100);
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(26, 36));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(sink.at, (TPoint{15, 15}));
  EXPECT_EQ(clicks.Count(), 1);

  // Released outside the control: no click.
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(25, 35));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(180, 140));
  EXPECT_EQ(clicks.Count(), 1);

  // Outside any graphic child, or on a disabled one, the panel itself handles the message.
  g->SetEnabled(false);
  panel->seen.clear();
  g->seen.clear();
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(25, 35));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(25, 35));
  EXPECT_FALSE(Has(g->seen, WM_LBUTTONDOWN));
  EXPECT_TRUE(Has(panel->seen, WM_LBUTTONDOWN));
  EXPECT_EQ(panel->ControlAtPos({25, 35}, false), nullptr);
  EXPECT_EQ(panel->ControlAtPos({25, 35}, true), g);
}

TEST(MouseEnterLeave, GraphicChildrenAndWindowsGetEnterAndLeave) {
  auto form = ShownForm(300, 200);
  auto* panel = Put<TRecordingPanel>(form.get(), 0, 0, 200, 150);
  auto* g1 = Put<TRecordingGraphic>(panel, 10, 10, 30, 30);
  auto* g2 = Put<TRecordingGraphic>(panel, 100, 10, 30, 30);
  Notified entered, left;
  g1->OnMouseEnter = entered.Handler();
  g1->OnMouseLeave = left.Handler();

  HWND wnd = panel->Handle();
  panel->seen.clear();
  SendMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(5, 5));  // the panel only
  EXPECT_EQ(panel->Count(CM_MOUSEENTER), 1u);
  EXPECT_EQ(g1->Count(CM_MOUSEENTER), 0u);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(15, 15));  // onto g1
  SendMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(16, 16));  // still g1
  EXPECT_EQ(entered.Count(), 1);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(105, 15));  // g1 -> g2
  EXPECT_EQ(left.Count(), 1);
  EXPECT_EQ(g2->Count(CM_MOUSEENTER), 1u);
  EXPECT_EQ(panel->Count(CM_MOUSEENTER), 1u);  // the panel stayed entered
  EXPECT_EQ(panel->Count(CM_MOUSELEAVE), 0u);
  // Leaving the window: the hot child leaves too, then the window.
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(g2->Count(CM_MOUSELEAVE), 1u);
  EXPECT_EQ(panel->Count(CM_MOUSELEAVE), 1u);
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);  // a second leave is no second CM_MOUSELEAVE
  EXPECT_EQ(panel->Count(CM_MOUSELEAVE), 1u);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(5, 5));
  EXPECT_EQ(panel->Count(CM_MOUSEENTER), 2u);
}

// A move handled after the real pointer left the window (a busy program handles its input
// late): the window is entered, and left again by itself, as nothing will move over it again to
// tell it. With the pointer on the window it stays entered.
TEST(MouseEnterLeave, AMoveHandledAfterThePointerLeftTheWindowLeavesItAgain) {
  // The pointer away from where the form will stand (a window shown under it is entered).
  const wintest::PointerLock pointer;
  ASSERT_TRUE(wintest::MovePointer(1400, 900));
  auto form = ShownForm(300, 200);
  SetWindowPos(form->Handle(), HWND_TOPMOST, 700, 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  auto* panel = Put<TRecordingPanel>(form.get(), 0, 0, 200, 150);
  const HWND wnd = panel->Handle();
  RECT r{};
  GetWindowRect(wnd, &r);
  ASSERT_TRUE(wintest::PumpUntilIdle());
  ASSERT_EQ(panel->Count(CM_MOUSEENTER), 0u);

  SendMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(5, 5));
  ASSERT_EQ(panel->Count(CM_MOUSEENTER), 1u);
  EXPECT_TRUE(wintest::PumpUntil([&] { return panel->Count(CM_MOUSELEAVE) == 1; }))
      << "the panel stays entered with the pointer gone";

  // The pointer on the panel: it stays entered.
  const POINT inside{r.left + 5, r.top + 5};
  ASSERT_TRUE(wintest::RaiseUntilShownAt(form->Handle(), wnd, inside));
  ASSERT_TRUE(wintest::MovePointer(inside.x, inside.y));
  SendMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(5, 5));
  ASSERT_TRUE(wintest::PumpUntilIdle());
  // Wine may report the place the pointer left for a moment: a leave then comes, and the move
  // the pointer made enters again. The panel ends entered.
  EXPECT_GE(panel->Count(CM_MOUSEENTER), 2u);
  EXPECT_EQ(panel->Count(CM_MOUSEENTER), panel->Count(CM_MOUSELEAVE) + 1) << "the panel is left entered";
}

TEST(GraphicControl, PaintedByItsParentIntoTheGivenDC) {
  TRecordingPanel host(nullptr);
  host.SetBounds(0, 0, 60, 40);
  host.fill = clBlue;
  auto* g = Put<TRecordingGraphic>(&host, 10, 5, 20, 10);
  g->fill = clRed;
  auto form = ShownForm(300, 200);
  host.SetParent(form.get());  // needs a window for its own paint through the system class
  PixelTarget target(60, 40);
  host.Perform(WM_PAINT, reinterpret_cast<WPARAM>(target.dc()), 0);
  EXPECT_EQ(target.At(2, 2), clBlue);
  EXPECT_EQ(target.At(12, 7), clRed);
  EXPECT_EQ(target.At(29, 14), clRed);
  EXPECT_EQ(target.At(30, 15), clBlue);  // right and bottom edges are outside

  // A hidden graphic control is not painted.
  g->SetVisible(false);
  PixelTarget again(60, 40);
  host.Perform(WM_PAINT, reinterpret_cast<WPARAM>(again.dc()), 0);
  EXPECT_EQ(again.At(12, 7), clBlue);
  host.SetParent(nullptr);
}

TEST(GraphicControl, ItsCanvasOutsidePaintingDrawsOnTheParentsWindowAndIsLetGo) {
  auto form = ShownForm(300, 200);
  auto* g = Put<TRecordingGraphic>(form.get(), 30, 40, 20, 10);
  EXPECT_GT(g->Canvas()->TextWidth(L"测量"), 0);
  // The control's own origin and clip: the canvas starts at the control's corner.
  POINT org{};
  GetViewportOrgEx(g->Canvas()->Handle(), &org);
  EXPECT_EQ(org.x, 30);
  EXPECT_EQ(org.y, 40);
  RECT clip{};
  GetClipBox(g->Canvas()->Handle(), &clip);
  EXPECT_EQ(clip.right - clip.left, 20);
  EXPECT_EQ(clip.bottom - clip.top, 10);
  FreeDeviceContexts();  // done when the application is idle
  EXPECT_FALSE(g->Canvas()->HandleAllocated());
  // The parent's window going takes the canvas's DC with it.
  g->Canvas()->Handle();
  ASSERT_TRUE(g->Canvas()->HandleAllocated());
  form->RecreateWnd();
  EXPECT_FALSE(g->Canvas()->HandleAllocated());
}

// A handler drawing through bitmap canvases: the pictures it used, and the DCs they held while
// it ran.
struct PictureUser {
  std::vector<std::unique_ptr<TBitmap>> pictures;
  int64_t during = 0;
  PictureUser() {
    for (int i = 0; i < 6; ++i) {
      pictures.push_back(std::make_unique<TBitmap>());
      pictures.back()->SetSize(8, 8);
    }
  }
  void Use() {
    for (auto& p : pictures) p->Canvas()->FillRect(Rect(0, 0, 8, 8));
    during = LiveCount(TLiveKind::DeviceContexts);
  }
  bool AnyHeld() const {
    return std::any_of(pictures.begin(), pictures.end(), [](const auto& p) { return p->Canvas()->HandleAllocated(); });
  }
};

// Whatever window procedure of the library a message comes through (a control's, a subclassed
// foreign window's, a utility window's), the pictures' DCs go when it is handled: a few stay
// kept for the next message, and none once the program is idle.
TEST(Painting, PicturesDrawnWhileAMessageIsHandledHoldNoDCAfterIt) {
  constexpr UINT kDraw = WM_APP + 17;
  struct Handlers {
    PictureUser user;
    TWindowSubclass* subclass = nullptr;
    void Control(TMessage& Message) {
      if (Message.Msg == kDraw) user.Use();
      hook->CallPrevious(Message);
    }
    void Foreign(TMessage& Message) {
      if (Message.Msg == kDraw) user.Use();
      subclass->CallDefault(Message);
    }
    void Utility(TMessage& Message) {
      if (Message.Msg == kDraw)
        user.Use();
      else
        Message.Result = DefWindowProcW(window, Message.Msg, Message.WParam, Message.LParam);
    }
    TWindowProcHook* hook = nullptr;
    HWND window = nullptr;
  };
  auto form = ShownForm(200, 100);
  auto* panel = Put<TRecordingPanel>(form.get(), 0, 0, 50, 50);
  HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 60, 0, 50, 50, form->Handle(), nullptr,
                                 nullptr, nullptr);
  ASSERT_TRUE(foreign);

  for (int route = 0; route < 3; ++route) {
    SCOPED_TRACE(route);
    Handlers h;
    TWindowProcHook hook;
    TWindowSubclass subclass;
    h.hook = &hook;
    h.subclass = &subclass;
    std::unique_ptr<TUtilWindow> utility;
    HWND target = nullptr;
    if (route == 0) {
      hook.Install(panel, TWndMethod::Bind<&Handlers::Control>(&h));
      target = panel->Handle();
    } else if (route == 1) {
      ASSERT_TRUE(subclass.Attach(foreign, TWndMethod::Bind<&Handlers::Foreign>(&h)));
      target = foreign;
    } else {
      utility = std::make_unique<TUtilWindow>(TWndMethod::Bind<&Handlers::Utility>(&h));
      target = h.window = utility->Handle();
    }
    FreeMemoryContexts();
    const int64_t before = LiveCount(TLiveKind::DeviceContexts);
    SendMessageW(target, kDraw, 0, 0);
    EXPECT_EQ(h.user.during, before + 6);  // each picture's DC lived through the message
    EXPECT_FALSE(h.user.AnyHeld());
    EXPECT_LE(LiveCount(TLiveKind::DeviceContexts), before + 4);
    FreeMemoryContexts();  // done when the application is idle
    EXPECT_EQ(LiveCount(TLiveKind::DeviceContexts), before);
    // Outside a message a picture keeps its DC until it goes.
    h.user.Use();
    EXPECT_TRUE(h.user.AnyHeld());
    if (route == 0) hook.Remove();
  }
  DestroyWindow(foreign);
}

TEST(Painting, PaintToAndPrintDrawChildrenAtTheirPlaces) {
  auto form = ShownForm(120, 80);
  auto* outer = Put<TRecordingPanel>(form.get(), 0, 0, 100, 60);
  outer->fill = clBlue;
  auto* inner = Put<TRecordingPanel>(outer, 40, 20, 20, 10);
  inner->fill = clLime;
  Put<TRecordingGraphic>(outer, 5, 5, 10, 10);

  PixelTarget target(130, 90);
  outer->PaintTo(target.dc(), 10, 10);
  EXPECT_EQ(target.At(5, 5), 0x563412);  // untouched outside
  EXPECT_EQ(target.At(12, 12), clBlue);
  EXPECT_EQ(target.At(17, 17), clRed);   // graphic child at (5,5) + (10,10)
  EXPECT_EQ(target.At(55, 35), clLime);  // windowed child at (40,20) + (10,10)

  PixelTarget printed(100, 60);
  SendMessageW(outer->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()),
               PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
  EXPECT_EQ(printed.At(2, 2), clBlue);
  EXPECT_EQ(printed.At(7, 7), clRed);
  EXPECT_EQ(printed.At(45, 25), clLime);
}

// Popup menus (shown by the menus unit's handler)

struct PopupLog {
  TComponent* menu = nullptr;
  TControl* control = nullptr;
  TPoint at;
  int calls = 0;
};
PopupLog* g_popups = nullptr;

bool RecordPopup(TComponent* menu, TControl* control, TPoint at) {
  if (!g_popups) return false;
  ++g_popups->calls;
  g_popups->menu = menu;
  g_popups->control = control;
  g_popups->at = at;
  return true;
}

TEST(PopupMenu, ARightClickShowsTheMenuOfTheControlUnderTheMouse) {
  auto form = ShownForm(300, 200);
  auto* panel = Put<TRecordingPanel>(form.get(), 0, 0, 200, 100);
  auto* g = Put<TRecordingGraphic>(panel, 20, 20, 40, 40);
  auto* panelMenu = new TComponent(form.get());
  auto* graphicMenu = new TComponent(form.get());
  panel->SetPopupMenu(panelMenu);
  g->SetPopupMenu(graphicMenu);
  PopupLog log;
  g_popups = &log;
  const auto savedPopup = LayerHooks().Menus.PopupControlMenu;
  LayerHooks().Menus.PopupControlMenu = &RecordPopup;

  const TPoint overChild = panel->ClientToScreen({30, 30});
  SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()),
               PointToLParam(overChild.X, overChild.Y));
  EXPECT_EQ(log.calls, 1);
  EXPECT_EQ(log.menu, graphicMenu);
  EXPECT_EQ(log.control, g);
  EXPECT_EQ(log.at, overChild);

  // From the keyboard (-1, -1): the panel's menu at its top-left corner.
  SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()), PointToLParam(-1, -1));
  EXPECT_EQ(log.menu, panelMenu);
  EXPECT_EQ(log.at, panel->ClientToScreen({0, 0}));

  // A right button release becomes WM_CONTEXTMENU through the window's default procedure.
  log.calls = 0;
  SendMessageW(panel->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(30, 30));
  SendMessageW(panel->Handle(), WM_RBUTTONUP, 0, PointToLParam(30, 30));
  EXPECT_EQ(log.calls, 1);
  EXPECT_EQ(log.control, g);

  // OnContextPopup may keep the menu away.
  struct Keep {
    void On(TObject*, TPoint, bool& handled) { handled = true; }
  } keep;
  g->OnContextPopup = TContextPopupEvent::Bind<&Keep::On>(&keep);
  log.calls = 0;
  SendMessageW(panel->Handle(), WM_CONTEXTMENU, 0, PointToLParam(overChild.X, overChild.Y));
  EXPECT_EQ(log.calls, 0);

  // A freed menu is forgotten.
  TObject::Free(graphicMenu);
  EXPECT_EQ(g->PopupMenu(), nullptr);
  LayerHooks().Menus.PopupControlMenu = savedPopup;
  g_popups = nullptr;
}

// Component messages

TEST(ComponentMessages, VisibleEnabledTextFontAndColourChanges) {
  auto form = ShownForm(300, 200);
  auto* panel = Put<TRecordingPanel>(form.get());
  auto* child = Put<TRecordingGraphic>(panel);
  auto find = [&](UINT msg) -> const TMessage* {
    for (const TMessage& m : panel->records)
      if (m.Msg == msg) return &m;
    return nullptr;
  };
  HWND wnd = panel->Handle();
  panel->records.clear();
  panel->SetVisible(false);
  ASSERT_NE(find(CM_VISIBLECHANGED), nullptr);
  EXPECT_EQ(find(CM_VISIBLECHANGED)->WParam, 0u);
  EXPECT_NE(find(CM_SHOWINGCHANGED), nullptr);
  EXPECT_FALSE(IsWindowVisible(wnd));
  panel->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(wnd));

  panel->seen.clear();
  panel->SetEnabled(false);
  panel->SetEnabled(false);
  EXPECT_EQ(panel->Count(CM_ENABLEDCHANGED), 1u);  // no change, no message
  EXPECT_FALSE(IsWindowEnabled(wnd));
  panel->SetCaption(L"标题");
  panel->SetCaption(L"标题");
  EXPECT_EQ(panel->Count(CM_TEXTCHANGED), 1u);
  wchar_t text[16] = {};
  GetWindowTextW(wnd, text, 16);
  EXPECT_STREQ(text, L"标题");

  // Font and colour: the panel's change reaches children that follow their parent.
  panel->Font()->SetSize(14);
  EXPECT_EQ(panel->Count(CM_FONTCHANGED), 1u);
  EXPECT_TRUE(Has(child->seen, CM_PARENTFONTCHANGED));
  EXPECT_EQ(child->Font()->Size(), 14);
  panel->SetColor(clYellow);
  EXPECT_EQ(panel->Count(CM_COLORCHANGED), 1u);
  EXPECT_EQ(child->Color(), clYellow);
  child->SetColor(clRed);
  EXPECT_FALSE(child->ParentColor());
  panel->SetColor(clGreen);
  EXPECT_EQ(child->Color(), clRed);
}

TEST(ComponentMessages, NumbersAreClearOfTheEngines) {
  // None of the library's own component messages uses the engines' numbers.
  for (UINT m = CM_BASE + 1; m <= CM_MOUSEWHEEL; ++m) {
    EXPECT_FALSE(m == 0xA100 || m == 0xA400 || (m >= 48203 && m <= 48206) || m == 0xBCB3 || m == 0xBCB4 ||
                 (m >= 13313 && m <= 13603));
  }
}

// Notifications reflected to the child that sent them

TEST(Reflection, CommandsAndNotificationsComeBackToTheChildWithItsAnswer) {
  auto form = ShownForm(300, 200);
  auto* parent = Put<TRecordingPanel>(form.get());
  auto* child = Put<TRecordingPanel>(parent);
  child->answer_cn_command = 1234;
  child->answer_cn_notify = 55;
  HWND p = parent->Handle();
  HWND c = child->Handle();

  EXPECT_EQ(SendMessageW(p, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(c)), 1234);
  const TMessage* got = nullptr;
  for (const TMessage& m : child->records)
    if (m.Msg == CN_COMMAND) got = &m;
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got->WParam, MAKEWPARAM(5, BN_CLICKED));

  NMHDR hdr{c, 7, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(SendMessageW(p, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hdr)), 55);

  // A window that is no library control gets no reflection.
  HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, p, nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessageW(p, WM_COMMAND, MAKEWPARAM(6, 0), reinterpret_cast<LPARAM>(foreign)), 0);
  DestroyWindow(foreign);

  // Colours: the child answers with its brush.
  child->SetColor(clYellow);
  HDC dc = GetDC(c);
  auto brush = SendMessageW(p, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), child->Brush()->Handle());
  EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clYellow));
  ReleaseDC(c, dc);
}

// Controls on system classes

TEST(SubClass, ASystemClassUnderTheLibrarysNameKeepsItsBehaviour) {
  auto form = ShownForm(300, 200);
  auto* check = Put<TTestCheck>(form.get());
  check->SetCaption(L"选择");
  HWND wnd = check->Handle();
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  EXPECT_STREQ(cls, L"TTestCheck");
  SendMessageW(wnd, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageW(wnd, BM_GETCHECK, 0, 0), BST_CHECKED);
  wchar_t text[16] = {};
  GetWindowTextW(wnd, text, 16);
  EXPECT_STREQ(text, L"选择");
  // The button tells its parent of a click: the parent reflects it back as CN_COMMAND.
  struct Sink {
    std::vector<UINT> seen;
    TWndMethod saved;
    void Proc(TMessage& m) {
      seen.push_back(m.Msg);
      saved(m);
    }
  } sink;
  sink.saved = check->WindowProc;
  check->WindowProc = TWndMethod::Bind<&Sink::Proc>(&sink);
  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_TRUE(Has(sink.seen, CN_COMMAND));
  EXPECT_EQ(SendMessageW(wnd, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  check->WindowProc = sink.saved;
}

}  // namespace
}  // namespace vcl::testing
