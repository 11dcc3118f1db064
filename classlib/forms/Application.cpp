// TApplication: the hidden application window, the message loop, the exception display,
// message boxes, hints, and the start-up of the forms unit.
#include <algorithm>
#include <string_view>

#include "classlib/controls/ControlsInternal.h"
#include "classlib/controls/Themes.h"
#include "classlib/controls/Timer.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Frame.h"
#include "classlib/rtl/SysInfo.h"
#include "classlib/rtl/UnitInit.h"

#include <commctrl.h>

namespace vcl {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

VCL_CLASS_INFO(TApplication) {}

// ---------------------------------------------------------------------------------------
// Message boxes

namespace {

TMessageBoxFunction& MessageBoxFunction() {
  static TMessageBoxFunction function;
  return function;
}

constexpr UINT_PTR kHintTimerId = 1;

}  // namespace

TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction Function) {
  TMessageBoxFunction old = std::move(MessageBoxFunction());
  MessageBoxFunction() = std::move(Function);
  return old;
}

int ShowMessageBox(HWND Owner, const String& Text, const String& Caption, UINT Flags) {
  if (const TMessageBoxFunction& f = MessageBoxFunction()) return f(Owner, Text, Caption, Flags);
  return MessageBoxW(Owner, Text.c_str(), Caption.c_str(), Flags);
}

int ShowMessageBoxIndirect(const MSGBOXPARAMSW& Params) {
  if (const TMessageBoxFunction& f = MessageBoxFunction())
    return f(Params.hwndOwner, Params.lpszText ? String(Params.lpszText) : String(),
             Params.lpszCaption ? String(Params.lpszCaption) : String(), Params.dwStyle);
  MSGBOXPARAMSW params = Params;
  return MessageBoxIndirectW(&params);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  HWND owner = GetActiveWindow();
  if (!owner || !FindControl(owner)) owner = main_form_ && main_form_->HandleAllocated() ? main_form_->Handle() : handle_;
  ModalStarted();
  struct End {
    TApplication* a;
    ~End() { a->ModalFinished(); }
  } end{this};
  return ShowMessageBox(owner, Text, Caption, Flags);
}

// ---------------------------------------------------------------------------------------
// The application window

LRESULT CALLBACK ApplicationWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (!app) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  TMessage m{Msg, WParam, LParam, 0};
  const TMemoryContextScope contexts;  // the pictures' DCs go when the message is done
  try {
    app->WndProc(m);
  } catch (...) {
    HandleControlException(app);
  }
  return m.Result;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) { CreateHandle(); }

TApplication::~TApplication() {
  StopHintTimer();
  // The forms go while the application (their owner) still answers for them.
  DestroyComponents();
  if (handle_) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

void TApplication::IconChanged(TObject*) {
  if (handle_) {
    HICON icon = IconHandle();
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  // Forms without an icon of their own show the application's.
  if (Screen)
    for (int i = 0; i < Screen->CustomFormCount(); ++i) Screen->CustomForms(i)->Perform(CM_ICONCHANGED, 0, 0);
}

void TApplication::CreateHandle() {
  if (handle_) return;
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  icon_ = std::make_unique<TIcon>();
  if (auto h = static_cast<HICON>(LoadImageW(inst, L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))) icon_->SetHandle(h);
  icon_->OnChange = TNotifyEvent::Bind<&TApplication::IconChanged>(this);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(inst, L"TApplication", &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ApplicationWndProc;
    wc.hInstance = inst;
    wc.hIcon = IconHandle() ? IconHandle() : LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TApplication";
    RegisterClassExW(&wc);
  }
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  handle_ = CreateWindowExW(0, L"TApplication", Title().c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                            nullptr, nullptr, inst, nullptr);
  if (!handle_) return;
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (HICON icon = IconHandle()) {
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  // The application window is never a task-bar window of its own here.
  HMENU sys = GetSystemMenu(handle_, FALSE);
  if (sys) {
    DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
  }
}

void TApplication::WndProc(TMessage& Message) {
  Message.Result = 0;
  // Newest hook first; a hook may unhook itself (or others) while it runs.
  for (const TWindowHook& hook : std::vector<TWindowHook>(hooks_)) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) continue;
    if (hook(Message)) return;
  }
  auto defaultProc = [&] { Message.Result = DefWindowProcW(handle_, Message.Msg, Message.WParam, Message.LParam); };
  switch (Message.Msg) {
    case WM_SYSCOMMAND:
      switch (Message.WParam & 0xFFF0) {
        case SC_MINIMIZE: Minimize(); break;
        case SC_RESTORE: Restore(); break;
        default: defaultProc();
      }
      return;
    case WM_CLOSE:
      if (main_form_) main_form_->Close();
      return;
    case WM_QUERYENDSESSION:
      Message.Result = !main_form_ || main_form_->CloseQuery() ? 1 : 0;
      return;
    case WM_ENDSESSION:
      if (Message.WParam) terminated_ = true;
      return;
    case WM_THEMECHANGED:
      ThemeServices()->UpdateThemes();
      defaultProc();
      return;
    case WM_ACTIVATEAPP:
      defaultProc();
      active_ = Message.WParam != 0;
      PostMessageW(handle_, active_ ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
      if (!active_) CancelHint();
      return;
    case CM_ACTIVATE:
      if (OnActivate) OnActivate(this);
      return;
    case CM_DEACTIVATE:
      if (OnDeactivate) OnDeactivate(this);
      return;
    case WM_TIMER:
      if (Message.WParam == kHintTimerId) {
        HintTimerExpired();
        return;
      }
      defaultProc();
      return;
    default:
      if (Message.Msg == ControlLookupMessage()) return;  // not a control
      defaultProc();
  }
}

void TApplication::HookMainWindow(TWindowHook Hook) {
  if (!Hook) return;
  hooks_.insert(hooks_.begin(), Hook);
}

void TApplication::UnhookMainWindow(TWindowHook Hook) {
  auto it = std::find(hooks_.begin(), hooks_.end(), Hook);
  if (it != hooks_.end()) hooks_.erase(it);
}

const String& TApplication::Title() const {
  if (title_.empty()) {
    const String exe = ExeName();
    size_t start = exe.find_last_of(L"\\/:");
    start = start == String::npos ? 0 : start + 1;
    size_t dot = exe.rfind(L'.');
    if (dot == String::npos || dot < start) dot = exe.size();
    title_ = exe.substr(start, dot - start);
  }
  return title_;
}

void TApplication::SetTitle(const String& Value) {
  title_ = Value;
  if (handle_) SetWindowTextW(handle_, Title().c_str());
}

String TApplication::ExeName() const {
  String path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void TApplication::Initialize() { InitializeUnits(); }

void TApplication::SetMainFormOnTaskBar(bool Value) {
  if (main_form_on_task_bar_ == Value) return;
  main_form_on_task_bar_ = Value;
  UpdateVisible();
}

void TApplication::UpdateVisible() {
  if (!handle_) return;
  bool show = false;
  if (!main_form_on_task_bar_ && Screen)
    for (int i = 0; i < Screen->CustomFormCount() && !show; ++i) {
      TCustomForm* f = Screen->CustomForms(i);
      show = f->Visible() && !f->Parent() && !f->ParentWindow() && f->FormStyle() != fsMDIChild;
    }
  if ((IsWindowVisible(handle_) != FALSE) != show)
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TApplication::Minimize() {
  if (main_form_on_task_bar_ && main_form_ && main_form_->HandleAllocated()) {
    ShowWindow(main_form_->Handle(), SW_MINIMIZE);
  } else if (handle_) {
    ShowWindow(handle_, SW_MINIMIZE);
  }
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (main_form_on_task_bar_ && main_form_ && main_form_->HandleAllocated()) {
    if (IsIconic(main_form_->Handle())) ShowWindow(main_form_->Handle(), SW_RESTORE);
  } else if (handle_ && IsIconic(handle_)) {
    ShowWindow(handle_, SW_RESTORE);
  }
  if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
  HWND wnd = main_form_ && main_form_->HandleAllocated() ? main_form_->Handle() : handle_;
  if (wnd) SetForegroundWindow(GetLastActivePopup(wnd));
}

void TApplication::ModalStarted() {
  ++modal_level_;
  if (modal_level_ == 1 && OnModalBegin) OnModalBegin(this);
}

void TApplication::ModalFinished() {
  if (modal_level_ > 0) --modal_level_;
  if (modal_level_ == 0 && OnModalEnd) OnModalEnd(this);
}

bool TApplication::HelpContext(int Context) {
  bool callHelp = true;
  if (OnHelp) return OnHelp(HELP_CONTEXT, Context, callHelp);
  return false;  // no help system
}

// ---------------------------------------------------------------------------------------
// Forms

TCustomForm* TApplication::CreateForm(const TClassInfo& InstanceClass) {
  if (!InstanceClass.InheritsFrom(TCustomForm::StaticClass()) || !InstanceClass.Create)
    throw EInvalidOperation(L"Class " + String(InstanceClass.Name) + L" is not a form class");
  TObject* obj = InstanceClass.Create(this);
  auto* form = dynamic_cast<TCustomForm*>(obj);
  if (!form) {
    TObject::Free(obj);
    throw EInvalidOperation(L"Class " + String(InstanceClass.Name) + L" is not a form class");
  }
  if (!main_form_) {
    form->HandleNeeded();
    main_form_ = form;
  }
  return form;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == main_form_) main_form_ = nullptr;
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (main_form_ == Control) main_form_ = nullptr;
  if (mouse_control_ == Control) mouse_control_ = nullptr;
  if (hint_control_ == Control) {
    hint_control_ = nullptr;
    CancelHint();
  }
  if (hint_window_ == Control) hint_window_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// The message loop

void TApplication::Run() {
  if (main_form_ && show_main_form_) {
    if (main_form_->WindowState() == wsMinimized)
      Minimize();
    else
      main_form_->SetVisible(true);
  }
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleMessage() {
  MSG msg{};
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::ProcessMessages() {
  MSG msg{};
  while (ProcessMessage(msg)) {
  }
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (!IsHintMsg(Msg) && !handled && !IsMDIMsg(Msg) && !IsKeyMsg(Msg) && !IsDlgMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
  }
  return true;
}

void TApplication::Idle(const MSG&) {
  // The control under the mouse: a hint stays only while the mouse is over its control.
  POINT pt{};
  GetCursorPos(&pt);
  TControl* target = FindDragTarget(pt, true);
  if (target != mouse_control_) {
    mouse_control_ = target;
    if (!target) CancelHint();
  }
  FreeDeviceContexts();
  FreeMemoryContexts();
  bool done = true;
  try {
    if (OnIdle) OnIdle(this, done);
  } catch (...) {
    HandleException(this);
  }
  if (done) WaitMessage();
}

// Keys go first to the control that has them as CN_ messages (dialog navigation, shortcuts);
// an answer other than 0 means used.
bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    wnd = Msg.hwnd;
    if (main_form_ && wnd == main_form_->ClientHandle()) {
      wnd = main_form_->Handle();
    } else {
      // Up through the parents only: a window owned by a form (a modeless dialog) keeps its
      // keys from the form.
      while (wnd && !FindControl(wnd))
        wnd = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) ? GetParent(wnd) : nullptr;
      if (!wnd) wnd = Msg.hwnd;
    }
  } else if (!FindControl(wnd)) {
    return false;
  }
  return SendMessageW(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

// The keys of a system dialog shown modeless (not a form of the library) go through the dialog
// manager of that dialog, which moves the focus among its controls and presses its buttons.
bool TApplication::IsDlgMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST || !Msg.hwnd) return false;
  const HWND root = GetAncestor(Msg.hwnd, GA_ROOT);
  if (!root || FindControl(root) || !IsWindowEnabled(root)) return false;
  wchar_t cls[16] = {};
  if (!GetClassNameW(root, cls, 16) || lstrcmpW(cls, L"#32770") != 0) return false;
  return IsDialogMessageW(root, &Msg) != FALSE;
}

bool TApplication::IsMDIMsg(MSG& Msg) {
  if (!main_form_ || main_form_->FormStyle() != fsMDIForm || !main_form_->ClientHandle() || !Screen) return false;
  TCustomForm* active = Screen->ActiveCustomForm();
  if (!active || active->FormStyle() != fsMDIChild) return false;
  return TranslateMDISysAccel(main_form_->ClientHandle(), &Msg) != 0;
}

bool TApplication::IsHintMsg(MSG& Msg) {
  if (!hint_active_) return false;
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
      CancelHint();
      break;
    default:
      break;
  }
  return false;
}

// ---------------------------------------------------------------------------------------
// Exceptions

// ---------------------------------------------------------------------------------------
// Reading order

void TApplication::SetBiDiMode(TBiDiMode Value) {
  if (bidi_mode_ == Value) return;
  bidi_mode_ = Value;
  if (!Screen) return;
  for (int i = 0; i < Screen->CustomFormCount(); ++i) Screen->CustomForms(i)->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

bool TApplication::IsRightToLeft() const {
  return UseRightToLeftReading() || UseRightToLeftAlignment() || UseRightToLeftScrollBar();
}

bool TApplication::UseRightToLeftReading() const { return SysLocale().MiddleEast && bidi_mode_ != bdLeftToRight; }

bool TApplication::UseRightToLeftAlignment() const { return SysLocale().MiddleEast && bidi_mode_ == bdRightToLeft; }

bool TApplication::UseRightToLeftScrollBar() const {
  return SysLocale().MiddleEast && (bidi_mode_ == bdRightToLeft || bidi_mode_ == bdRightToLeftNoAlign);
}

void TApplication::HandleException(TObject* Sender) {
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
    // Silent by design.
  } catch (const Exception& e) {
    if (OnException)
      OnException(Sender, e);
    else
      ShowException(e);
  } catch (const std::exception& e) {
    Exception wrapped(Utf8ToWide(e.what()));
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  } catch (...) {
    Exception wrapped(L"Unknown exception");
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  String msg = E.Message();
  // A full stop ends a message that has no sentence end of its own (a system's message in
  // another language ends with its own: "。").
  constexpr std::wstring_view kSentenceEnds = L".!?\u3002\uFF0E\uFF01\uFF1F";
  if (!msg.empty() && msg.back() > L'.' && kSentenceEnds.find(msg.back()) == std::wstring_view::npos) msg += L'.';
  MessageBox(msg, Title(), MB_OK | MB_ICONSTOP);
}

// ---------------------------------------------------------------------------------------
// Hints

void TApplication::SetShowHint(bool Value) {
  if (show_hint_ == Value) return;
  show_hint_ = Value;
  if (!Value) CancelHint();
}

void TApplication::SetHint(const String& Value) {
  if (hint_ == Value) return;
  hint_ = Value;
  if (OnHint) OnHint(this);
}

namespace {

// The control whose hint shows: the nearest one (itself or a parent) with ShowHint.
TControl* HintControlOf(TControl* control) {
  while (control && !control->ShowHint()) control = control->Parent();
  if (control && control->ComponentState().Contains(csDesigning)) return nullptr;
  return control;
}

// The hint text of a control (its own, or the nearest parent's): the part before "|" is the
// short hint shown in the hint window, the part after it the long one (Application->Hint).
String FullHintOf(TControl* control) {
  for (; control; control = control->Parent())
    if (!control->Hint().empty()) return control->Hint();
  return {};
}

String HintOf(TControl* control) {
  const String h = FullHintOf(control);
  const size_t bar = h.find(L'|');
  return bar == String::npos ? h : h.substr(0, bar);
}

String LongHintOf(TControl* control) {
  const String h = FullHintOf(control);
  const size_t bar = h.find(L'|');
  return bar == String::npos ? h : h.substr(bar + 1);
}

}  // namespace

void TApplication::StartHintTimer(int Interval) {
  StopHintTimer();
  if (handle_) hint_timer_ = SetTimer(handle_, kHintTimerId, static_cast<UINT>(std::max(Interval, 1)), nullptr);
}

void TApplication::StopHintTimer() {
  if (hint_timer_ && handle_) KillTimer(handle_, kHintTimerId);
  hint_timer_ = 0;
}

void TApplication::HintMouseMessage(TControl* Control, const TMessage& Message) {
  if (!show_hint_ || !Control) return;
  TControl* target = HintControlOf(Control);
  SetHint(LongHintOf(Control));
  if (!target) {
    CancelHint();
    return;
  }
  (void)Message;
  if (target == hint_control_) return;
  const bool wasActive = hint_active_;
  if (hint_window_ && hint_window_->HandleAllocated()) hint_window_->ReleaseHandle();
  hint_active_ = false;
  hint_control_ = target;
  StartHintTimer(wasActive ? hint_short_pause_ : hint_pause_);
}

void TApplication::HintTimerExpired() {
  StopHintTimer();
  if (hint_active_) {
    // The hide pause ran out.
    if (hint_window_ && hint_window_->HandleAllocated()) hint_window_->ReleaseHandle();
    hint_active_ = false;
    return;
  }
  if (hint_control_) ShowHintFor(hint_control_);
}

void TApplication::ShowHintFor(TControl* Control) {
  POINT pt{};
  GetCursorPos(&pt);
  THintInfo info;
  info.HintControl = Control;
  info.HintWindowClass = HintWindowClass ? HintWindowClass : &THintWindow::StaticClass();
  info.HintMaxWidth = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
  info.HintColor = hint_color_;
  info.CursorRect = Control->ClientRect();
  info.CursorPos = Control->ScreenToClient(pt);
  info.HintPos = {pt.x, pt.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4};
  info.HideTimeout = hint_hide_pause_;
  info.HintStr = HintOf(Control);
  if (Control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0 || info.HintStr.empty()) return;
  if (hint_window_ && &hint_window_->ClassType() != info.HintWindowClass) {
    TObject::Free(hint_window_);
    hint_window_ = nullptr;
  }
  if (!hint_window_) {
    TObject* obj = info.HintWindowClass->Create ? info.HintWindowClass->Create(this) : nullptr;
    hint_window_ = dynamic_cast<THintWindow*>(obj);
    if (!hint_window_) {
      TObject::Free(obj);
      return;
    }
  }
  hint_window_->SetColor(info.HintColor);
  TRect r = hint_window_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  r.Offset(info.HintPos.X, info.HintPos.Y);
  hint_window_->ActivateHint(r, info.HintStr);
  hint_active_ = true;
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout);
}

void TApplication::CancelHint() {
  StopHintTimer();
  if (hint_window_ && hint_window_->HandleAllocated()) hint_window_->ReleaseHandle();
  hint_active_ = false;
  hint_control_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown of the controls and forms units

namespace {

void ApplicationHandleException(TObject* Sender) {
  if (Application) Application->HandleException(Sender);
}

void ApplicationHintMouse(TControl* Control, const TMessage& Message) {
  if (Application) Application->HintMouseMessage(Control, Message);
}

void ApplicationControlDestroyed(TControl* Control) {
  if (Application) Application->ControlDestroyed(Control);
  if (Screen) Screen->ControlDestroyed(Control);
}

// What the controls ask of the forms they sit on.
TFormHooks FormHooks() {
  TFormHooks hooks;
  hooks.ParentForm = [](const TControl* Control) -> TWinControl* { return GetParentForm(Control); };
  hooks.WantChildKey = [](TWinControl* Form, TControl* Child, TMessage& Message) {
    return static_cast<TCustomForm*>(Form)->WantChildKey(Child, Message);
  };
  hooks.KeyPreview = [](TWinControl* Form) { return static_cast<TCustomForm*>(Form)->KeyPreview(); };
  hooks.SendCancelMode = [](TWinControl* Form, TControl* Sender) {
    static_cast<TCustomForm*>(Form)->SendCancelMode(Sender);
  };
  hooks.FocusControl = [](TWinControl* Form, TWinControl* Control) {
    static_cast<TCustomForm*>(Form)->FocusControl(Control);
  };
  hooks.DefocusControl = [](TWinControl* Form, TWinControl* Control, bool Removing) {
    static_cast<TCustomForm*>(Form)->DefocusControl(Control, Removing);
  };
  hooks.SetFocusedControl = [](TWinControl* Form, TWinControl* Control) {
    return static_cast<TCustomForm*>(Form)->SetFocusedControl(Control);
  };
  hooks.Menu = [](TWinControl* Form) { return static_cast<TCustomForm*>(Form)->Menu(); };
  return hooks;
}

void InitControls() {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
  ControlAtom();
  TTimer::StaticClass();  // form descriptions name timers
  LayerHooks().Application.HandleException = &ApplicationHandleException;
}

void DoneControls() {
  LayerHooks().Application.HandleException = nullptr;
  detail::ReleaseControlAtom();
}

void InitForms() {
  LayerHooks().Forms = FormHooks();
  // Form descriptions name these containers.
  TScrollBox::StaticClass();
  TFrame::StaticClass();
  Screen = new TScreen(nullptr);
  Application = new TApplication(nullptr);
  TApplicationHooks& hooks = LayerHooks().Application;
  hooks.HintMouse = &ApplicationHintMouse;
  hooks.ControlDestroyed = &ApplicationControlDestroyed;
  hooks.ScreenCursor = [] { return Screen ? Screen->Cursor() : crDefault; };
}

void DoneForms() {
  TApplicationHooks& hooks = LayerHooks().Application;
  hooks.HintMouse = nullptr;
  TApplication* app = Application;
  if (app) {
    TObject::Free(app);
    Application = nullptr;
  }
  hooks.ControlDestroyed = nullptr;
  TScreen* screen = Screen;
  Screen = nullptr;
  delete screen;
  hooks.ScreenCursor = nullptr;
  // Last: the forms freed above still had their controls reach them.
  LayerHooks().Forms = TFormHooks{};
}

const TUnitRegistration kControlsUnit{TUnitGroup::ClassLibrary, 10, L"Controls", &InitControls, &DoneControls};
const TUnitRegistration kFormsUnit{TUnitGroup::ClassLibrary, 20, L"Forms", &InitForms, &DoneForms};

}  // namespace

}  // namespace vcl
