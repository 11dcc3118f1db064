// The application from start to end: unit order, the main form, the loop that ends with it, shutdown.
#include <gtest/gtest.h>

#include "classlib/controls/controls_support.h"

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}
VCL_CLASS_INFO(TRecordingGraphic) {}

namespace {

std::vector<std::wstring>& Events() {
  static std::vector<std::wstring> events;
  return events;
}

// Units of the other groups, registered out of order on purpose.
const TUnitRegistration kClassic{TUnitGroup::ClassicSkin, 1, L"ClassicUnit",
                                 [] { Events().push_back(L"+classic"); }, [] { Events().push_back(L"-classic"); }};
const TUnitRegistration kProgram{TUnitGroup::Program, 1, L"ProgramUnit", [] { Events().push_back(L"+program"); },
                                 [] { Events().push_back(L"-program"); }};
const TUnitRegistration kLayeredPaint{TUnitGroup::LayeredPaint, 5, L"LayeredPaintUnit",
                                      [] {
                                        // The class library is up before any engine unit.
                                        Events().push_back(Application ? L"+paint with app" : L"+paint alone");
                                      },
                                      [] { Events().push_back(L"-paint"); }};
const TUnitRegistration kLayeredCore{TUnitGroup::LayeredCore, 9, L"LayeredCoreUnit",
                                     [] { Events().push_back(L"+core"); }, [] { Events().push_back(L"-core"); }};

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

class TMainForm : public TForm {
  VCL_CLASS(TMainForm, TForm)
 public:
  TMainForm(TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(fsMDIForm); }
  int closes = 0;
  int destroyed = 0;
};
VCL_CLASS_INFO(TMainForm) {}

// The main form, made by the first test that needs it (each test may run in a program of its
// own).
TMainForm* MainForm() {
  if (!Application->MainForm()) {
    Application->SetMainFormOnTaskBar(true);
    Application->CreateForm<TMainForm>();
  }
  return static_cast<TMainForm*>(Application->MainForm());
}

TEST(Startup, UnitsStartInTheirGroupsOrder) {
  const std::vector<String> names = InitializedUnitNames();
  auto pos = [&](const wchar_t* n) {
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == n) return static_cast<int>(i);
    return -1;
  };
  ASSERT_GE(pos(L"Controls"), 0);
  EXPECT_LT(pos(L"Controls"), pos(L"Forms"));
  EXPECT_LT(pos(L"Forms"), pos(L"LayeredCoreUnit"));
  EXPECT_LT(pos(L"LayeredCoreUnit"), pos(L"LayeredPaintUnit"));
  EXPECT_LT(pos(L"LayeredPaintUnit"), pos(L"ClassicUnit"));
  EXPECT_LT(pos(L"ClassicUnit"), pos(L"ProgramUnit"));
  // The latest start's events (the units may have been stopped and started again before).
  const std::vector<std::wstring>& events = Events();
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(std::vector<std::wstring>(events.end() - 4, events.end()),
            (std::vector<std::wstring>{L"+core", L"+paint with app", L"+classic", L"+program"}));
}

// The main form freed is the application's main form no longer, and the next form made is.
TEST(Application, AFreedMainFormIsTheMainFormNoLonger) {
  TCustomForm* main = MainForm();
  ASSERT_NE(main, nullptr);
  TObject::Free(main);
  EXPECT_EQ(Application->MainForm(), nullptr);
  auto* next = Application->CreateForm<TMainForm>();
  EXPECT_EQ(Application->MainForm(), next);
  TObject::Free(next);
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Application, TheFirstFormIsTheMainFormOnTheTaskBar) {
  // Another test may have made the main form: the first form is the one made after it went.
  if (TCustomForm* earlier = Application->MainForm()) TObject::Free(earlier);
  ASSERT_EQ(Application->MainForm(), nullptr);
  auto* main = MainForm();
  ASSERT_EQ(Application->MainForm(), main);
  EXPECT_EQ(main->Owner(), Application);
  EXPECT_TRUE(main->HandleAllocated());  // made at once for the main form
  EXPECT_NE(GetWindowLongPtrW(main->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  EXPECT_EQ(GetWindow(main->Handle(), GW_OWNER), nullptr);
  auto* second = Application->CreateForm<TMainForm>();
  EXPECT_EQ(Application->MainForm(), main);
  EXPECT_EQ(GetWindow(second->Handle(), GW_OWNER), main->Handle());
  EXPECT_EQ(GetWindowLongPtrW(second->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  TObject::Free(second);
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
}

TEST(Application, MDIChildrenLiveInTheMainFormsClientWindow) {
  TCustomForm* frame = MainForm();
  ASSERT_NE(frame->ClientHandle(), nullptr);
  wchar_t cls[32] = {};
  GetClassNameW(frame->ClientHandle(), cls, 32);
  EXPECT_STREQ(cls, L"MDIClient");
  EXPECT_EQ(frame->MDIChildCount(), 0);
  frame->Show();
  auto* child = new TForm(Application, 0);
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"子窗体");
  child->Show();
  ASSERT_TRUE(child->HandleAllocated());
  EXPECT_EQ(GetParent(child->Handle()), frame->ClientHandle());
  EXPECT_NE(GetWindowLongPtrW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
  EXPECT_EQ(FindControl(child->Handle()), child);
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->MDIChildren(0), child);
  EXPECT_EQ(frame->ActiveMDIChild(), child);
  EXPECT_THROW(child->SetFormStyle(fsNormal), EInvalidOperation);
  HWND wnd = child->Handle();
  TObject::Free(child);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(frame->MDIChildCount(), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
}

TEST(Application, RunEndsWhenTheMainFormClosesAndErrorsOnTheWayAreShown) {
  // A loop that ran before (this test run again) ended the application for good: its units
  // start again, with an application not yet terminated.
  if (Application->Terminated()) {
    FinalizeUnits();
    InitializeUnits();
  }
  auto* main = MainForm();
  struct Handlers {
    TMainForm* form;
    int clicks = 0;
    void Close(TObject*, TCloseAction&) { ++form->closes; }
    void Click(TObject*) {
      ++clicks;
      throw EConvertError(L"during the loop");
    }
  } handlers{main};
  main->OnClose = TCloseEvent::Bind<&Handlers::Close>(&handlers);
  main->OnClick = TNotifyEvent::Bind<&Handlers::Click>(&handlers);
  ShownBoxes().clear();
  HWND wnd = main->Handle();
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
  PostMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(5, 5));
  PostMessageW(wnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(Application->Terminated());
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(IsWindowVisible(wnd) || main->Visible());  // shown by Run, still there
  EXPECT_EQ(handlers.clicks, 1);
  ASSERT_EQ(ShownBoxes().size(), 1u);  // the error was shown and the loop went on
  EXPECT_EQ(ShownBoxes()[0].text, L"during the loop.");
  EXPECT_EQ(main->closes, 1);
}

// A message shown for an exception ends with one full stop: one is added where it has no
// sentence end of its own, none after one of another language's.
TEST(Application, AnExceptionsMessageEndsWithOneFullStop) {
  const struct {
    const wchar_t* message;
    const wchar_t* shown;
  } cases[] = {
      {L"no end", L"no end."},
      {L"an end.", L"an end."},
      {L"a question?", L"a question?"},
      {L"\u627E\u4E0D\u5230\u6587\u4EF6\u3002", L"\u627E\u4E0D\u5230\u6587\u4EF6\u3002"},
      {L"\u6587\u4EF6\uFF1F", L"\u6587\u4EF6\uFF1F"},
      {L"\u6587\u4EF6", L"\u6587\u4EF6."},
      {L"ends in a number 5", L"ends in a number 5."},
      {L"ends in a line break\r\n", L"ends in a line break\r\n"},
      {L"", L""},
  };
  for (const auto& c : cases) {
    ShownBoxes().clear();
    Application->ShowException(EConvertError(c.message));
    ASSERT_EQ(ShownBoxes().size(), 1u);
    EXPECT_EQ(ShownBoxes()[0].text, c.shown);
  }
}

// The memory DCs kept for the next message go when the loop finds nothing to do.
TEST(Application, WhenIdleItLetsGoOfTheMemoryDCsKeptForTheNextMessage) {
  FreeMemoryContexts();
  const int64_t before = LiveCount(TLiveKind::DeviceContexts);
  TBitmap first, second;
  first.SetSize(4, 4);
  second.SetSize(4, 4);
  {
    const TMemoryContextScope scope;  // as a message's handling
    first.Canvas()->FillRect(Rect(0, 0, 4, 4));
    second.Canvas()->FillRect(Rect(0, 0, 4, 4));
  }
  ASSERT_GT(LiveCount(TLiveKind::DeviceContexts), before);  // kept for the next message
  struct Idle {
    int64_t dcs = -1;
    void Run(TObject*, bool& Done) {
      dcs = LiveCount(TLiveKind::DeviceContexts);
      Done = false;  // no wait for a message
    }
  } idle;
  Application->OnIdle = TIdleEvent::Bind<&Idle::Run>(&idle);
  // Messages left from earlier come first; the loop goes idle once they are done.
  for (int i = 0; i < 10000 && idle.dcs < 0; ++i) Application->HandleMessage();
  Application->OnIdle = {};
  EXPECT_EQ(idle.dcs, before);
}

TEST(Shutdown, UnitsStopInReverseOrderAndFreeTheForms) {
  HWND wnd = MainForm()->Handle();
  HWND app = Application->Handle();
  Events().clear();
  FinalizeUnits();
  EXPECT_EQ(Application, nullptr);
  EXPECT_EQ(Screen, nullptr);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_FALSE(IsWindow(app));
  EXPECT_EQ(Events(), (std::vector<std::wstring>{L"-program", L"-classic", L"-paint", L"-core"}));
  // Started again (the environment ends them once more at the end of the program).
  InitializeUnits();
  EXPECT_NE(Application, nullptr);
  EXPECT_EQ(GlobalFindAtomW(ControlAtomName().c_str()), ControlAtom());
}

}  // namespace
}  // namespace vcl::testing
