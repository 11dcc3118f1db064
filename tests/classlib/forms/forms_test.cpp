// Forms on real windows: creation, closing, modal showing, the exception display, timer, hooks and focus.
#include <gtest/gtest.h>

#include "classlib/streaming/Filer.h"
#include "classlib/controls/Timer.h"
#include "classlib/controls/controls_support.h"

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}
VCL_CLASS_INFO(TRecordingGraphic) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

using FormPtr = std::unique_ptr<TCustomForm, void (*)(TCustomForm*)>;
FormPtr Owned(TCustomForm* f) {
  return {f, [](TCustomForm* p) { TObject::Free(p); }};
}

// Tells whether a component has been freed.
class FreeWatch : public TComponent {
 public:
  explicit FreeWatch(TComponent* watched) : TComponent(nullptr) { watched->FreeNotification(this); }
  bool freed = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) freed = true;
  }
};

}  // namespace

// A panel that publishes what form descriptions set on it.
class TTestPanel : public TRecordingPanel {
  VCL_CLASS(TTestPanel, TRecordingPanel)
 public:
  using TRecordingPanel::TRecordingPanel;
};

VCL_CLASS_INFO(TTestPanel) {
  publish::Align(p);
  publish::Bounds(p);
  publish::Caption(p);
  publish::Color(p, clBtnFace);
  publish::Font(p);
  publish::Hints(p);
  publish::Visible(p);
  publish::MouseEvents(p);
}

class TTestDescribedForm : public TForm {
  VCL_CLASS(TTestDescribedForm, TForm)
 public:
  using TForm::TForm;

  int created = 0;
  int clicks = 0;
  int ticks = 0;
  TCloseAction close_action = caHide;
  int closes = 0;

  void FormCreate(TObject*) { ++created; }
  void FormClose(TObject*, TCloseAction& Action) {
    ++closes;
    Action = close_action;
  }
  void pnlTopClick(TObject*) { ++clicks; }
  void tmr1Timer(TObject*) { ++ticks; }
};

VCL_CLASS_INFO(TTestDescribedForm) {
  VCL_METHOD(TTestDescribedForm, FormCreate);
  VCL_METHOD(TTestDescribedForm, FormClose);
  VCL_METHOD(TTestDescribedForm, pnlTopClick);
  VCL_METHOD(TTestDescribedForm, tmr1Timer);
}

// A form class with no description in the resources.
class TUndescribedForm : public TForm {
  VCL_CLASS(TUndescribedForm, TForm)
 public:
  using TForm::TForm;
};
VCL_CLASS_INFO(TUndescribedForm) {}

namespace {

void RegisterTestClasses() {
  TTestPanel::StaticClass();
  TTestDescribedForm::StaticClass();
}

// Creating forms

TEST(FormCreation, CreateNewMakesAnEmptyTopLevelFormOfTheLibrarysClass) {
  const int before = Screen->CustomFormCount();
  auto form = Owned(new TForm(Application, 0));
  EXPECT_EQ(Screen->CustomFormCount(), before + 1);
  EXPECT_FALSE(form->HandleAllocated());
  form->SetCaption(L"新窗体");
  form->SetClientSize(250, 150);
  HWND wnd = form->Handle();
  wchar_t cls[32] = {};
  GetClassNameW(wnd, cls, 32);
  EXPECT_STREQ(cls, L"TForm");
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & (WS_CHILD | WS_THICKFRAME), WS_THICKFRAME);
  RECT r{};
  GetClientRect(wnd, &r);
  EXPECT_EQ(r.right, 250);
  EXPECT_EQ(r.bottom, 150);
  wchar_t text[16] = {};
  GetWindowTextW(wnd, text, 16);
  EXPECT_STREQ(text, L"新窗体");
  form.reset();
  EXPECT_EQ(Screen->CustomFormCount(), before);
}

TEST(FormCreation, WithoutTheMainFormOnTheTaskBarTheApplicationWindowHoldsTheButton) {
  ASSERT_FALSE(Application->MainFormOnTaskBar());
  auto form = Owned(new TForm(Application, 0));
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  form->Show();
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
  EXPECT_TRUE(IsWindowVisible(Application->Handle()));
  form->Hide();
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  form->Show();
  form.reset();
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
}

TEST(FormCreation, FromItsDescriptionWithControlsAndEventsWiredAndWrittenBack) {
  RegisterTestClasses();
  auto* form = static_cast<TTestDescribedForm*>(TTestDescribedForm::StaticClass().Create(Application));
  auto owned = Owned(form);
  EXPECT_EQ(form->Name(), L"DescribedForm");
  EXPECT_EQ(form->created, 1);  // OnCreate ran once the description was read

  auto* top = dynamic_cast<TTestPanel*>(form->FindComponent(L"pnlTop"));
  auto* body = dynamic_cast<TTestPanel*>(form->FindComponent(L"pnlBody"));
  auto* inner = dynamic_cast<TTestPanel*>(form->FindComponent(L"pnlInner"));
  auto* timer = dynamic_cast<TTimer*>(form->FindComponent(L"tmr1"));
  ASSERT_TRUE(top && body && inner && timer);
  EXPECT_EQ(inner->Parent(), body);
  EXPECT_EQ(inner->Owner(), form);
  // Aligned in the client area the description asked for.
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 320, 30));
  EXPECT_EQ(body->BoundsRect(), Rect(0, 30, 320, 200));
  // Followed from the parents: font, hints and the body's own colour.
  EXPECT_EQ(inner->Font()->Name(), L"Tahoma");
  EXPECT_TRUE(inner->ShowHint());
  EXPECT_EQ(inner->Color(), clWhite);
  EXPECT_EQ(top->Color(), clBtnFace);

  top->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
  top->Perform(WM_LBUTTONUP, 0, PointToLParam(3, 3));
  EXPECT_EQ(form->clicks, 1);
  SendMessageW(timer->WindowHandle(), WM_TIMER, 1, 0);
  EXPECT_EQ(form->ticks, 1);

  // Shown for the first time: centred on its monitor, the window made with its children.
  form->Show();
  EXPECT_TRUE(IsWindowVisible(inner->Handle()));
  const TRect screen = Screen->MonitorFromWindow(form->Handle())->BoundsRect();
  RECT wr{};
  GetWindowRect(form->Handle(), &wr);
  EXPECT_NEAR((wr.left + wr.right) / 2, (screen.Left + screen.Right) / 2, 1);
  EXPECT_NEAR((wr.top + wr.bottom) / 2, (screen.Top + screen.Bottom) / 2, 1);
  RECT cr{};
  GetClientRect(form->Handle(), &cr);
  EXPECT_EQ(TRect(cr), Rect(0, 0, 320, 200));

  // Written back with the children inside their parents, and read again into a new form.
  const std::string text = WriteComponentText(form);
  const auto bodyAt = text.find("object pnlBody: TTestPanel");
  const auto innerAt = text.find("object pnlInner: TTestPanel");
  const auto timerAt = text.find("object tmr1: TTimer");
  ASSERT_NE(bodyAt, std::string::npos);
  EXPECT_LT(bodyAt, innerAt);
  EXPECT_LT(innerAt, timerAt);
  EXPECT_EQ(text.find("object tmr1", timerAt + 1), std::string::npos);  // written once
  EXPECT_NE(text.find("OnClick = pnlTopClick"), std::string::npos);
  EXPECT_NE(text.find("Align = alClient"), std::string::npos);
  owned.reset();  // names are unique in their owner
  auto copy = Owned(new TTestDescribedForm(Application, 0));
  ReadComponentText(copy.get(), text, L"copy");
  auto* copiedInner = copy->FindComponent(L"pnlInner");
  ASSERT_NE(copiedInner, nullptr);
  EXPECT_EQ(static_cast<TControl*>(static_cast<TTestPanel*>(copiedInner))->Parent(), copy->FindComponent(L"pnlBody"));
}

TEST(FormCreation, AMissingDescriptionFailsCleanly) {
  const int before = Screen->CustomFormCount();
  EXPECT_THROW(TUndescribedForm::StaticClass().Create(Application), EResNotFound);
  EXPECT_THROW(Application->CreateForm<TUndescribedForm>(), EResNotFound);
  EXPECT_EQ(Screen->CustomFormCount(), before);
}

// Closing

TEST(FormClose, CloseQueryAndCloseActionDecide) {
  RegisterTestClasses();
  auto* form = static_cast<TTestDescribedForm*>(TTestDescribedForm::StaticClass().Create(Application));
  FreeWatch watch(form);
  form->Show();
  bool allow = false;
  struct Query {
    bool* allow;
    void Ask(TObject*, bool& can) { can = *allow; }
  } query{&allow};
  form->OnCloseQuery = TCloseQueryEvent::Bind<&Query::Ask>(&query);

  form->Close();
  EXPECT_EQ(form->closes, 0);
  EXPECT_TRUE(form->Visible());

  allow = true;
  form->close_action = caNone;
  form->Close();
  EXPECT_EQ(form->closes, 1);
  EXPECT_TRUE(form->Visible());

  form->close_action = caHide;
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);  // the system menu's close
  EXPECT_EQ(form->closes, 2);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));

  form->Show();
  form->close_action = caFree;
  HWND wnd = form->Handle();
  form->Close();
  EXPECT_FALSE(watch.freed);  // released: freed once its queued messages are handled
  Pump();
  EXPECT_TRUE(watch.freed);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST(FormClose, ShowModalRunsUntilAModalResultAndClosesThroughOnClose) {
  auto other = Owned(new TForm(Application, 0));
  other->Show();
  auto* modal = new TForm(Application, 0);
  auto owned = Owned(modal);
  int closes = 0;
  int refusals = 1;
  struct Events {
    int* closes;
    int* refusals;
    void Close(TObject*, TCloseAction&) { ++*closes; }
    void Query(TObject*, bool& can) {
      can = *refusals == 0;
      if (*refusals > 0) --*refusals;
    }
  } events{&closes, &refusals};
  modal->OnClose = TCloseEvent::Bind<&Events::Close>(&events);
  modal->OnCloseQuery = TCloseQueryEvent::Bind<&Events::Query>(&events);

  int steps = 0;
  bool otherDisabled = false;
  bool visibleInside = false;
  auto old = SetModalLoopStep([&](TCustomForm& f) {
    ++steps;
    otherDisabled = !IsWindowEnabled(other->Handle());
    visibleInside = IsWindowVisible(f.Handle());
    f.SetModalResult(mrOk);
  });
  const int result = modal->ShowModal();
  SetModalLoopStep(old);

  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(steps, 2);  // the first close was refused, the loop went on
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(otherDisabled);
  EXPECT_TRUE(visibleInside);
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_FALSE(modal->Visible());
  // Close on a modal form only sets the result.
  auto old2 = SetModalLoopStep([](TCustomForm& f) { f.Close(); });
  EXPECT_EQ(modal->ShowModal(), mrCancel);
  SetModalLoopStep(old2);
  modal->Show();
  EXPECT_THROW(modal->ShowModal(), EInvalidOperation);
}

// The exception display

TEST(ExceptionDisplay, AnExceptionFromAnEventHandlerIsShownAndTheProgramGoesOn) {
  auto form = Owned(new TForm(Application, 0));
  auto* panel = Put<TTestPanel>(form.get());
  form->Show();
  struct Handlers {
    int mode = 0;
    void Click(TObject*) {
      if (mode == 0) throw EConvertError(L"'abc' is not a valid integer value");
      if (mode == 1) throw EAbort(L"quiet");
      if (mode == 2) throw Exception(L"Ends with a full stop.");
      throw std::runtime_error("plain");
    }
  } handlers;
  panel->OnClick = TNotifyEvent::Bind<&Handlers::Click>(&handlers);
  auto click = [&] {
    SendMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
    SendMessageW(panel->Handle(), WM_LBUTTONUP, 0, PointToLParam(2, 2));
  };
  ShownBoxes().clear();
  click();
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"'abc' is not a valid integer value.");
  EXPECT_EQ(ShownBoxes()[0].caption, Application->Title());
  EXPECT_EQ(ShownBoxes()[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(GetCapture(), nullptr);  // the mouse was let go of

  handlers.mode = 1;
  click();
  EXPECT_EQ(ShownBoxes().size(), 1u);  // EAbort is silent
  handlers.mode = 2;
  click();
  handlers.mode = 3;
  click();
  ASSERT_EQ(ShownBoxes().size(), 3u);
  EXPECT_EQ(ShownBoxes()[1].text, L"Ends with a full stop.");
  EXPECT_EQ(ShownBoxes()[2].text, L"plain.");

  // OnException takes the place of the box.
  struct Catcher {
    String message;
    TObject* sender = nullptr;
    void On(TObject* s, const Exception& e) {
      sender = s;
      message = e.Message();
    }
  } catcher;
  Application->OnException = TExceptionEvent::Bind<&Catcher::On>(&catcher);
  handlers.mode = 0;
  click();
  EXPECT_EQ(ShownBoxes().size(), 3u);
  EXPECT_EQ(catcher.message, L"'abc' is not a valid integer value");
  EXPECT_EQ(catcher.sender, static_cast<TObject*>(panel));
  // A handler of OnException that fails itself does not take the program down.
  struct Failing {
    void On(TObject*, const Exception&) { throw EInvalidOperation(L"display failed"); }
  } failing;
  Application->OnException = TExceptionEvent::Bind<&Failing::On>(&failing);
  click();
  Application->OnException = nullptr;
  EXPECT_TRUE(IsWindow(panel->Handle()));
  EXPECT_EQ(ShownBoxes().size(), 3u);
}

// The timer

TEST(Timer, TicksArriveAsWindowMessages) {
  TTimer timer(nullptr);
  int ticks = 0;
  struct Sink {
    int* ticks;
    bool fail = false;
    void Tick(TObject*) {
      ++*ticks;
      if (fail) throw EInvalidOperation(L"tick failed");
    }
  } sink{&ticks};
  timer.OnTimer = TNotifyEvent::Bind<&Sink::Tick>(&sink);
  HWND wnd = timer.WindowHandle();
  SendMessageW(wnd, WM_TIMER, 1, 0);
  EXPECT_EQ(ticks, 1);
  timer.SetEnabled(false);
  EXPECT_FALSE(KillTimer(wnd, 1));  // no system timer while disabled
  SendMessageW(wnd, WM_TIMER, 1, 0);
  EXPECT_EQ(ticks, 1);
  timer.SetEnabled(true);  // the system's timer is set again
  EXPECT_TRUE(KillTimer(wnd, 1));
  timer.SetInterval(20);
  timer.SetInterval(0);
  EXPECT_FALSE(KillTimer(wnd, 1));

  ShownBoxes().clear();
  sink.fail = true;
  SendMessageW(wnd, WM_TIMER, 1, 0);
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"tick failed.");
}

// The application window

TEST(ApplicationWindow, HooksSeeItsMessagesNewestFirstAndCanAnswerThem) {
  struct Hook {
    std::vector<int>* order;
    int id;
    bool answer;
    bool unhook_self = false;
    bool Proc(TMessage& m) {
      if (m.Msg != WM_USER + 20) return false;
      order->push_back(id);
      if (unhook_self) Application->UnhookMainWindow(TWindowHook::Bind<&Hook::Proc>(this));
      if (answer) m.Result = 42;
      return answer;
    }
  };
  std::vector<int> order;
  Hook first{&order, 1, true};
  Hook second{&order, 2, false, true};
  Application->HookMainWindow(TWindowHook::Bind<&Hook::Proc>(&first));
  Application->HookMainWindow(TWindowHook::Bind<&Hook::Proc>(&second));
  EXPECT_EQ(SendMessageW(Application->Handle(), WM_USER + 20, 0, 0), 42);
  EXPECT_EQ(order, (std::vector<int>{2, 1}));
  order.clear();
  SendMessageW(Application->Handle(), WM_USER + 20, 0, 0);
  EXPECT_EQ(order, (std::vector<int>{1}));  // the second unhooked itself
  Application->UnhookMainWindow(TWindowHook::Bind<&Hook::Proc>(&first));
  order.clear();
  EXPECT_EQ(SendMessageW(Application->Handle(), WM_USER + 20, 0, 0), 0);
  EXPECT_TRUE(order.empty());
}

TEST(ApplicationWindow, ActivationIsAnnouncedWithTheActivateMessage) {
  Pump();  // the activations earlier windows of the process posted are theirs
  Notified activations;
  Application->OnActivate = activations.Handler();
  bool hooked = false;
  struct Hook {
    bool* seen;
    bool Proc(TMessage& m) {
      if (m.Msg == CM_ACTIVATE) *seen = true;
      return false;
    }
  } hook{&hooked};
  Application->HookMainWindow(TWindowHook::Bind<&Hook::Proc>(&hook));
  SendMessageW(Application->Handle(), WM_ACTIVATEAPP, TRUE, 0);
  Pump();  // CM_ACTIVATE is posted
  Application->UnhookMainWindow(TWindowHook::Bind<&Hook::Proc>(&hook));
  Application->OnActivate = nullptr;
  EXPECT_TRUE(hooked);
  EXPECT_EQ(activations.Count(), 1);
  EXPECT_TRUE(Application->Active());
}

// Focus and keys

class TFocusPanel : public TTestPanel {
  VCL_CLASS(TFocusPanel, TTestPanel)
 public:
  explicit TFocusPanel(TComponent* AOwner) : TTestPanel(AOwner) { SetTabStop(true); }
  std::vector<String>* log = nullptr;

 protected:
  void DoEnter() override {
    if (log) log->push_back(Name() + L" enter");
    TTestPanel::DoEnter();
  }
  void DoExit() override {
    if (log) log->push_back(Name() + L" exit");
    TTestPanel::DoExit();
  }
};
VCL_CLASS_INFO(TFocusPanel) {}

// Other test programs share the display and take the foreground whenever they show a form,
// so the system's focus may move away at any time: the tests deliver WM_SETFOCUS themselves
// where they need the focus to have arrived.
void FocusArrives(TWinControl* c) { SendMessageW(c->Handle(), WM_SETFOCUS, 0, 0); }

TEST(Focus, EnterExitActiveControlAndTabOrder) {
  auto form = Owned(new TForm(Application, 0));
  std::vector<String> log;
  auto make = [&](const wchar_t* name, int left) {
    auto* p = new TFocusPanel(form.get());
    p->SetName(name);
    p->SetParent(form.get());
    p->SetBounds(left, 0, 40, 40);
    p->log = &log;
    return p;
  };
  auto* a = make(L"a", 0);
  auto* b = make(L"b", 50);
  auto* c = make(L"c", 100);
  c->SetTabOrder(0);  // c, a, b
  EXPECT_EQ(b->TabOrder(), 2);
  form->Show();

  a->SetFocus();
  EXPECT_EQ(form->ActiveControl(), a);
  FocusArrives(a);
  EXPECT_EQ(Screen->ActiveControl(), a);
  EXPECT_EQ(Screen->CustomForms(0), form.get());  // the active form comes first
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), L"a enter");

  log.clear();
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_TAB, 0), 1);
  EXPECT_EQ(form->ActiveControl(), b);
  FocusArrives(b);
  EXPECT_EQ(log, (std::vector<String>{L"a exit", L"b enter"}));
  form->Perform(CM_DIALOGKEY, VK_TAB, 0);
  EXPECT_EQ(form->ActiveControl(), c);  // wraps around to the first in tab order
  FocusArrives(c);
  // A disabled control is skipped.
  a->SetEnabled(false);
  form->Perform(CM_DIALOGKEY, VK_TAB, 0);
  EXPECT_EQ(form->ActiveControl(), b);
  FocusArrives(b);
  // Hiding the focused control gives up the form's active control.
  b->SetVisible(false);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  // A hidden control cannot be made the active one.
  EXPECT_THROW(form->SetActiveControl(b), EInvalidOperation);
}

TEST(Focus, KeysTakeTheMessageLoopsWayThroughTheControlAndTheFormWhichMayPreviewThem) {
  auto form = Owned(new TForm(Application, 0));
  auto* a = Put<TFocusPanel>(form.get());
  auto* b = Put<TFocusPanel>(form.get(), 50, 0, 40, 40);
  form->Show();
  a->SetFocus();
  FocusArrives(a);
  ASSERT_EQ(form->ActiveControl(), a);
  // Tab: CN_KEYDOWN to the control, which does not want it: CM_DIALOGKEY to the form.
  PostMessageW(a->Handle(), WM_KEYDOWN, VK_TAB, 0);
  Application->ProcessMessages();
  EXPECT_EQ(form->ActiveControl(), b);
  // A plain character reaches the control's OnKeyPress.
  std::vector<wchar_t> pressed;
  struct Press {
    std::vector<wchar_t>* keys;
    void On(TObject*, wchar_t& key) { keys->push_back(key); }
  } press{&pressed};
  b->OnKeyPress = TKeyPressEvent::Bind<&Press::On>(&press);
  PostMessageW(b->Handle(), WM_CHAR, L'字', 0);
  Application->ProcessMessages();
  EXPECT_EQ(pressed, (std::vector<wchar_t>{L'字'}));

  // With KeyPreview the form sees keys first, and may eat them.
  std::vector<String> seen;
  struct Keys {
    std::vector<String>* seen;
    String who;
    bool eat;
    void Down(TObject*, WORD& key, TShiftState) {
      seen->push_back(who);
      if (eat) key = 0;
    }
  } formKeys{&seen, L"form", true}, panelKeys{&seen, L"panel", false};
  form->OnKeyDown = TKeyEvent::Bind<&Keys::Down>(&formKeys);
  b->OnKeyDown = TKeyEvent::Bind<&Keys::Down>(&panelKeys);
  SendMessageW(b->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(seen, (std::vector<String>{L"panel"}));
  form->SetKeyPreview(true);
  seen.clear();
  SendMessageW(b->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(seen, (std::vector<String>{L"form"}));
}

// A control that takes characters itself, as edits and lists do.
class TCharPanel : public TFocusPanel {
  VCL_CLASS(TCharPanel, TFocusPanel)
 public:
  using TFocusPanel::TFocusPanel;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DLGC_WANTCHARS;
      return;
    }
    TFocusPanel::Dispatch(Message);
  }
};
VCL_CLASS_INFO(TCharPanel) {}

// A control with the accelerator "g", which it answers as a dialog character.
class TAccelPanel : public TTestPanel {
  VCL_CLASS(TAccelPanel, TTestPanel)
 public:
  using TTestPanel::TTestPanel;
  std::vector<wchar_t> chars;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGCHAR) {
      chars.push_back(static_cast<wchar_t>(Message.WParam));
      Message.Result = Message.WParam == L'g' ? 1 : 0;
      return;
    }
    TTestPanel::Dispatch(Message);
  }
};
VCL_CLASS_INFO(TAccelPanel) {}

// A control that takes characters keeps plain ones from the form, but Alt and a character are
// the form's (its controls' accelerators, its menu bar); one the form uses never reaches the
// control. Alt+Space is the system menu's, not the form's.
TEST(Focus, AltAndACharacterAreTheFormsWhateverCharactersTheControlTakes) {
  auto form = Owned(new TForm(Application, 0));
  auto* edit = Put<TCharPanel>(form.get());
  auto* accel = Put<TAccelPanel>(form.get(), 50, 0, 40, 40);
  auto* plain = Put<TFocusPanel>(form.get(), 100, 0, 40, 40);
  form->Show();
  edit->SetFocus();
  FocusArrives(edit);
  constexpr LPARAM kAltHeld = 0x20000000;
  PostMessageW(edit->Handle(), WM_SYSCHAR, L'g', kAltHeld);
  Application->ProcessMessages();
  EXPECT_EQ(accel->chars, (std::vector<wchar_t>{L'g'}));
  EXPECT_EQ(edit->Count(WM_SYSCHAR), 0u);
  // A plain character is the control's own.
  PostMessageW(edit->Handle(), WM_CHAR, L'g', 0);
  Application->ProcessMessages();
  EXPECT_EQ(accel->chars.size(), 1u);
  EXPECT_EQ(edit->Count(WM_CHAR), 1u);
  EXPECT_EQ(edit->Perform(CN_SYSCHAR, VK_SPACE, kAltHeld), 0);
  EXPECT_EQ(accel->chars.size(), 1u);
  // A control that takes no characters hands both kinds to the form.
  EXPECT_EQ(plain->Perform(CN_SYSCHAR, L'g', kAltHeld), 1);
  EXPECT_EQ(plain->Perform(CN_CHAR, L'g', 0), 1);
  EXPECT_EQ(accel->chars, (std::vector<wchar_t>{L'g', L'g', L'g'}));
}

// The menus unit's shortcut test, as the library calls it.
TComponent* g_shortcut_menu = nullptr;
std::vector<std::pair<TComponent*, UINT>>* g_shortcuts = nullptr;
bool ShortCutOfTestMenu(TComponent* menu, const TMessage& key) {
  if (g_shortcuts) g_shortcuts->push_back({menu, key.Msg});
  return menu == g_shortcut_menu && key.WParam == VK_F5;
}

TEST(Focus, ShortcutsOfPopupMenusAndTheFormsMenuComeBeforeTheControl) {
  auto form = Owned(new TForm(Application, 0));
  auto* p = Put<TFocusPanel>(form.get());
  auto* popup = new TComponent(form.get());
  auto* mainMenu = new TComponent(form.get());
  p->SetPopupMenu(popup);
  form->SetMenu(mainMenu);
  form->Show();
  std::vector<std::pair<TComponent*, UINT>> asked;
  g_shortcuts = &asked;
  g_shortcut_menu = mainMenu;
  const TMenuHooks saved = LayerHooks().Menus;
  TMenuHooks hooks = saved;
  hooks.IsShortCut = &ShortCutOfTestMenu;
  hooks.MenuHandle = nullptr;
  LayerHooks().Menus = hooks;
  int keys = 0;
  struct Keys {
    int* n;
    void Down(TObject*, WORD&, TShiftState) { ++*n; }
  } sink{&keys};
  p->OnKeyDown = TKeyEvent::Bind<&Keys::Down>(&sink);

  PostMessageW(p->Handle(), WM_KEYDOWN, VK_F5, 0);
  Application->ProcessMessages();
  EXPECT_EQ(keys, 0);  // the form's menu took it
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], (std::pair<TComponent*, UINT>{popup, WM_KEYDOWN}));
  EXPECT_EQ(asked[1], (std::pair<TComponent*, UINT>{mainMenu, WM_KEYDOWN}));
  PostMessageW(p->Handle(), WM_KEYDOWN, VK_F6, 0);
  Application->ProcessMessages();
  EXPECT_EQ(keys, 1);  // no shortcut: the control has it

  LayerHooks().Menus = saved;
  g_shortcuts = nullptr;
  g_shortcut_menu = nullptr;
  form->SetMenu(nullptr);
}

TEST(Hints, TheHintOfTheControlUnderTheMouseShowsAfterThePause) {
  // The hint window goes above every window, at the pointer: a program beside dragging there
  // would find it over what it drags.
  const wintest::PointerLock pointer;
  auto form = Owned(new TForm(Application, 0));
  auto* p = Put<TTestPanel>(form.get());
  p->SetHint(L"短提示|the long hint");
  p->SetShowHint(true);
  form->Show();
  Application->SetHintPause(1);
  // The mouse rests on the panel; a hint cancelled on the way (another program took the
  // foreground) comes again with the next move, as for a user.
  String caption, cls;
  LONG_PTR exStyle = 0;
  const DWORD start = GetTickCount();
  while (caption.empty() && GetTickCount() - start < 3000) {
    SendMessageW(p->Handle(), WM_MOUSEMOVE, 0, PointToLParam(5, 5));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
    THintWindow* hint = Application->HintWindow();
    if (hint && hint->HandleAllocated() && IsWindowVisible(hint->Handle())) {
      caption = hint->Caption();
      wchar_t name[32] = {};
      GetClassNameW(hint->Handle(), name, 32);
      cls = name;
      exStyle = GetWindowLongPtrW(hint->Handle(), GWL_EXSTYLE);
    }
  }
  EXPECT_EQ(Application->Hint(), L"the long hint");
  EXPECT_EQ(caption, L"短提示");
  EXPECT_EQ(cls, L"THintWindow");
  EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
  Application->CancelHint();
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_FALSE(Application->HintWindow()->HandleAllocated());
  Application->SetHintPause(500);
}

TEST(FormWindow, BorderStyleIconsAndWindowState) {
  auto form = Owned(new TForm(Application, 0));
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  HWND wnd = form->Handle();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_SYSMENU), WS_SYSMENU);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
  form->SetBorderStyle(TFormBorderStyle::bsNone);  // a new window of the new kind
  EXPECT_NE(form->Handle(), wnd);
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CAPTION, 0);

  form->SetBorderStyle(TFormBorderStyle::bsSizeable);
  form->Show();
  form->SetWindowState(wsMaximized);
  EXPECT_TRUE(IsZoomed(form->Handle()));
  form->SetWindowState(wsNormal);
  ShowWindow(form->Handle(), SW_MAXIMIZE);  // changed by the system: the property follows
  EXPECT_EQ(form->WindowState(), wsMaximized);
  form->SetWindowState(wsNormal);
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(128);
  EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE alpha = 0;
  DWORD flags = 0;
  GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags);
  EXPECT_EQ(alpha, 128);
}

TEST(FormWindow, DesktopCentreAndMonitors) {
  TMonitor* primary = Screen->Monitors(0);
  EXPECT_EQ(Screen->MonitorFromPoint({primary->Left() + 1, primary->Top() + 1}), primary);
  auto form = Owned(new TForm(Application, 0));
  form->SetBounds(0, 0, 300, 200);
  form->SetPosition(poDesktopCenter);
  form->Show();
  EXPECT_EQ(form->Left(), Screen->DesktopLeft() + Screen->DesktopWidth() / 2 - 150);
  EXPECT_EQ(form->Top(), Screen->DesktopTop() + Screen->DesktopHeight() / 2 - 100);
  EXPECT_EQ(form->Position(), poDesigned);  // placed once, on its first showing
  form->Hide();
  form->SetLeft(10);
  form->Show();
  EXPECT_EQ(form->Left(), 10);
}

}  // namespace
}  // namespace vcl::testing
