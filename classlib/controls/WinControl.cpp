// TWinControl: the window behind a control, its class registration, the one static window
// procedure, child controls, showing, focus, keyboard, painting and notification reflection.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <unordered_map>
#include <utility>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/controls/ControlsInternal.h"
#include "classlib/controls/LayerHooks.h"
#include "classlib/controls/Mouse.h"
#include "classlib/controls/WindowEvents.h"
#include "classlib/rtl/SysInfo.h"

namespace vcl {

VCL_CLASS_INFO(TWinControl) {}

// ---------------------------------------------------------------------------------------
// The control-lookup atom and message

String ControlAtomName() {
  wchar_t name[64];
  std::swprintf(name, 64, L"ControlOfs%.8llX%.8lX",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                static_cast<unsigned long>(GetCurrentThreadId()));
  return name;
}

namespace {

struct LookupNames {
  ATOM atom = 0;
  UINT message = 0;
};

LookupNames& Lookup() {
  static LookupNames names;
  if (!names.atom) {
    const String name = ControlAtomName();
    names.atom = GlobalAddAtomW(name.c_str());
    names.message = RegisterWindowMessageW(name.c_str());
  }
  return names;
}

// The system class procedure of each class the library registered, for windows whose control
// object is gone (or was never attached).
std::unordered_map<ATOM, WNDPROC>& ClassDefaultProcs() {
  static std::unordered_map<ATOM, WNDPROC> procs;
  return procs;
}

// The control whose window is being created: the first message of the window attaches it.
thread_local TWinControl* t_creation_control = nullptr;

// The thread's focus window as the focus messages of the library's windows told it: the
// system sets the focus before it sends them, WM_KILLFOCUS names the window taking it, and no
// library window gains or loses the focus without one of them passing its window procedure.
// Exact for the library's windows only; others are never judged by it.
thread_local HWND t_focus_window = nullptr;

void NoteFocusMessage(HWND Wnd, UINT Msg, WPARAM WParam) {
  if (Msg == WM_SETFOCUS)
    t_focus_window = Wnd;
  else if (Msg == WM_KILLFOCUS)
    t_focus_window = reinterpret_cast<HWND>(WParam);
  else if (Msg == WM_NCDESTROY && t_focus_window == Wnd)
    t_focus_window = nullptr;
}

// The control whose window is made because it is about to be shown: the move to its place
// among its siblings (a new child window lies below them all) waits for the showing, so that
// one round of position messages does both.
thread_local TWinControl* t_shown_once_made = nullptr;

// The frame a window of the given styles gets around its client area. AdjustWindowRectEx
// reads the system's non-client metrics on every call (tens of microseconds under Wine), and
// laying out a form whose windows do not exist yet asks for the frame of each control on
// every alignment pass, so the answers are kept per style pair until the metrics change.
struct StyleFrame {
  DWORD style, ex_style;
  RECT frame;
};
thread_local std::vector<StyleFrame> t_style_frames;

// Set while the parameters are asked for the frame alone: the system class a control's window
// would be made of is then not looked up (the first look-up of a common control's class
// registers it, and most controls of a form being read get no window before it is shown).
thread_local bool t_params_for_frame = false;

// Identifiers for child windows, unique within the process (a parent finds a child by it when
// a notification names only the identifier).
LONG_PTR NextChildId() {
  static std::atomic<LONG_PTR> next{0x10000};
  const LONG_PTR id = next.fetch_add(1);
  if (id >= 0x7FFFFFFF) next = 0x10000;
  return id;
}

RECT FrameOfStyle(DWORD style, DWORD ex_style) {
  // Most controls have no frame at all: no need to ask.
  constexpr DWORD kFrameStyles = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME;
  constexpr DWORD kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  if (!(style & kFrameStyles) && !(ex_style & kFrameExStyles)) return RECT{0, 0, 0, 0};
  for (const StyleFrame& known : t_style_frames)
    if (known.style == style && known.ex_style == ex_style) return known.frame;
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  t_style_frames.push_back({style, ex_style, frame});
  return frame;
}

WNDPROC DefaultProcOf(HWND wnd) {
  const auto atom = static_cast<ATOM>(GetClassWord(wnd, GCW_ATOM));
  auto& procs = ClassDefaultProcs();
  auto it = procs.find(atom);
  return it != procs.end() && it->second ? it->second : DefWindowProcW;
}

[[noreturn]] void RaiseLastOSError() {
  const DWORD code = GetLastError();
  throw EOSError(L"System Error.  Code: " + std::to_wstring(code) + L".\r\n" + SysErrorMessage(code));
}

// A window that could not be made: the system's reason, or, where it gave none (the window's
// own creation messages or a hook refused it), that, with the window's class.
[[noreturn]] void RaiseCreationError(const String& ClassName) {
  if (GetLastError() != ERROR_SUCCESS) RaiseLastOSError();
  throw EOSError(L"Error creating window of class " + ClassName + L": its creation was refused");
}

bool IsMouseMessage(UINT msg) {
  switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
    case WM_XBUTTONDBLCLK:
      return true;
    default:
      return false;  // wheel messages carry screen coordinates and are not routed by position
  }
}

}  // namespace

ATOM ControlAtom() { return Lookup().atom; }

namespace detail {
void ReleaseControlAtom() {
  LookupNames& names = Lookup();
  if (names.atom) GlobalDeleteAtom(names.atom);
  names.atom = 0;
}
}  // namespace detail
UINT ControlLookupMessage() { return Lookup().message; }

namespace {

// Whether a child window's styles give it a frame, border, caption or scroll bar: without
// them its client area is the whole window.
bool StyleHasNonClientArea(HWND Wnd) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Wnd, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(Wnd, GWL_EXSTYLE));
  constexpr DWORD kFrameStyles = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL | WS_MINIMIZE;
  constexpr DWORD kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  return !(style & WS_CHILD) || (style & kFrameStyles) || (ex_style & kFrameExStyles);
}

// Whether a frame, border, caption, menu or scroll bar takes room outside the client area.
bool HasNonClientArea(HWND Wnd) {
  RECT window{}, client{};
  if (!GetWindowRect(Wnd, &window) || !GetClientRect(Wnd, &client)) return true;
  return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

// Each window's control for the window procedure, mirroring the control property: read and
// kept without a round trip to the window system (under Wine a property, and setting any
// window data, is a server call, and every message of every control comes through here).
class TAttachedControls {
 public:
  void Set(HWND Wnd, TWinControl* Control) {
    AcquireSRWLockExclusive(&lock_);
    if (Control)
      map_[Wnd] = Control;
    else
      map_.erase(Wnd);
    ReleaseSRWLockExclusive(&lock_);
  }
  TWinControl* Get(HWND Wnd) {
    AcquireSRWLockShared(&lock_);
    const auto it = map_.find(Wnd);
    TWinControl* control = it == map_.end() ? nullptr : it->second;
    ReleaseSRWLockShared(&lock_);
    return control;
  }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  std::unordered_map<HWND, TWinControl*> map_;
};

TAttachedControls& AttachedControls() {
  static TAttachedControls controls;
  return controls;
}

}  // namespace

TWinControl* FindControl(HWND Handle) {
  // The library's own windows are found without asking the window system.
  if (TWinControl* attached = Handle ? AttachedControls().Get(Handle) : nullptr) return attached;
  if (!Handle || !IsWindow(Handle)) return nullptr;
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(Handle, &process);
  if (thread == 0 || process != GetCurrentProcessId()) return nullptr;
  if (auto* control = static_cast<TWinControl*>(GetPropW(Handle, MAKEINTATOM(ControlAtom())))) return control;
  // A window that exists but has had no message yet (a WH_CBT hook's HCBT_CREATEWND): the
  // control creating it is its control, attached now rather than at the first message.
  TWinControl* creating = t_creation_control;
  if (creating && thread == GetCurrentThreadId() && !creating->handle_ &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle, GWLP_WNDPROC)) == &ControlWndProc) {
    t_creation_control = nullptr;
    creating->AttachHandle(Handle);
    return creating;
  }
  return nullptr;
}

bool IsFocusWindow(HWND Wnd) {
  if (!Wnd) return false;
  // A window of this process answers its thread without a round trip.
  if (AttachedControls().Get(Wnd) && GetWindowThreadProcessId(Wnd, nullptr) == GetCurrentThreadId())
    return t_focus_window == Wnd;
  return GetFocus() == Wnd;
}

TWinControl* FindVCLWindow(TPoint Pos) {
  for (HWND wnd = WindowFromPoint(Pos); wnd; wnd = GetParent(wnd))
    if (TWinControl* c = FindControl(wnd)) return c;
  return nullptr;
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  TWinControl* win = FindVCLWindow(Pos);
  if (!win) return nullptr;
  if (TControl* c = win->ControlAtPos(win->ScreenToClient(Pos), AllowDisabled)) return c;
  return win;
}

// ---------------------------------------------------------------------------------------
// The static window procedure

LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  NoteFocusMessage(Wnd, Msg, WParam);
  auto* control = AttachedControls().Get(Wnd);
  if (!control) {
    control = t_creation_control;
    if (!control) return CallWindowProcW(DefaultProcOf(Wnd), Wnd, Msg, WParam, LParam);
    t_creation_control = nullptr;
    control->AttachHandle(Wnd);
  }
  // Destroyed without DestroyHandle (with a parent window, by the system): announced now.
  if (Msg == WM_DESTROY) control->AnnounceDestroying();
  TMessage m{Msg, WParam, LParam, 0};
  const TMemoryContextScope contexts;  // the pictures' DCs go when the message is done
  try {
    if (control->WindowProc)
      control->WindowProc(m);
    else
      control->WndProc(m);
  } catch (...) {
    HandleControlException(control);
  }
  if (Msg == WM_NCDESTROY) control->DetachHandle();
  return m.Result;
}

// ---------------------------------------------------------------------------------------
// Construction and destruction

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  brush_ = std::make_unique<TBrush>();
  brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
  // Only reached with a window when deleted without BeforeDestruction: the window must not
  // call back into this half-destroyed object.
  if (handle_) {
    HWND wnd = handle_;
    DetachHandle();
    DestroyWindow(wnd);
  }
  if (parent_) parent_->RemoveControl(this);
  while (!win_controls_.empty() || !controls_.empty()) {
    TControl* child = !win_controls_.empty() ? static_cast<TControl*>(win_controls_.back()) : controls_.back();
    std::erase(controls_, child);
    std::erase(win_controls_, static_cast<TWinControl*>(child));
    std::erase(tab_list_, static_cast<TWinControl*>(child));
    child->parent_ = nullptr;
    TObject::Free(child);
  }
}

void TWinControl::BeforeDestruction() {
  Destroying();
  if (parent_) RemoveFocus(true);
  if (handle_) DestroyWindowHandle();
  // Child controls go with their parent, whoever owns them.
  while (!win_controls_.empty() || !controls_.empty()) {
    TControl* child = !controls_.empty() ? controls_.back() : static_cast<TControl*>(win_controls_.back());
    std::erase(controls_, child);
    std::erase(win_controls_, static_cast<TWinControl*>(child));
    std::erase(tab_list_, static_cast<TWinControl*>(child));
    if (hot_control_ == child) hot_control_ = nullptr;
    child->parent_ = nullptr;
    TObject::Free(child);
  }
  TControl::BeforeDestruction();
}

// ---------------------------------------------------------------------------------------
// Window handle

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

LRESULT TWinControl::Send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
  return SendMessageW(const_cast<TWinControl*>(this)->Handle(), Msg, WParam, LParam);
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (parent_) parent_->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  if (parent_ && handle_) {
    // A new child window lies below its siblings; its place is just below the window of the
    // next control in the parent's list (on top without one). Moved only when not there:
    // a parent showing its children makes them last first, so each lands in its place.
    const HWND after = parent_->PrecedingWindow(this);
    if (GetWindow(handle_, GW_HWNDPREV) != after) {  // HWND_TOP: nothing above it
      if (t_shown_once_made == this)
        zorder_pending_ = true;
      else
        SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->UpdateAnchorRules();
  if (handle_) detail::AnnounceWindowEvent(this, weCreated);
}

void TWinControl::AnnounceDestroying() {
  if (!handle_ || destroying_announced_) return;
  destroying_announced_ = true;
  detail::AnnounceWindowEvent(this, weDestroying);
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = text_;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle().Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!ComponentState().Contains(csDesigning) && !Enabled()) Params.Style |= WS_DISABLED;
  if (tab_stop_) Params.Style |= WS_TABSTOP;
  if (UseRightToLeftReading()) Params.ExStyle |= WS_EX_RTLREADING;
  if (UseRightToLeftScrollBar()) Params.ExStyle |= WS_EX_LEFTSCROLLBAR;
  if (UseRightToLeftAlignment()) Params.ExStyle |= WS_EX_RIGHT;
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  // The parent's window is made before this one's (HandleNeeded); asking never creates it.
  Params.WndParent = parent_ ? parent_->handle_ : parent_window_;
  Params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcW;
  // The system's arrow is shared and never freed: looked up once. Bounds without a window
  // ask for the parameters often.
  static const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  Params.WindowClass.hCursor = arrow;
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = GetModuleHandleW(nullptr);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName) {
  if (!ControlClassName || t_params_for_frame) return;
  const HINSTANCE own = Params.WindowClass.hInstance;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(own, ControlClassName, &wc) && !GetClassInfoExW(nullptr, ControlClassName, &wc)) return;
  Params.WindowClass = wc;
  Params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  Params.WindowClass.hInstance = own;
  Params.WindowClass.style &= ~CS_GLOBALCLASS;
  Params.WindowClass.lpszClassName = nullptr;
  Params.WindowClass.lpszMenuName = nullptr;
}

void TWinControl::CreateWnd() {
  if (parent_) parent_->HandleNeeded();
  SetControlState(ControlState() + TControlState{csCreating});
  struct Created {
    TWinControl* c;
    ~Created() { c->SetControlState(c->ControlState() - TControlState{csCreating}); }
  } created{this};
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD)) {
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (owner && owner->ComponentState().Contains(csReading))
      params.WndParent = owner->Handle();
    else
      detail::RaiseParentRequired(this);
  }
  // A child window gets its own identifier as it is made (no change after).
  if ((params.Style & WS_CHILD) && !params.Menu) params.Menu = reinterpret_cast<HMENU>(NextChildId());
  def_wnd_proc_ = params.WindowClass.lpfnWndProc;
  const HINSTANCE inst = params.WindowClass.hInstance;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  const bool registered = GetClassInfoExW(inst, params.WinClassName.c_str(), &existing);
  if (!registered || existing.lpfnWndProc != ControlWndProc) {
    if (registered) UnregisterClassW(params.WinClassName.c_str(), inst);
    WNDCLASSEXW wc = params.WindowClass;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ControlWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    const ATOM atom = RegisterClassExW(&wc);
    if (!atom) RaiseLastOSError();
    ClassDefaultProcs()[atom] = def_wnd_proc_;
  }
  TWinControl* const outer = t_creation_control;
  t_creation_control = this;
  // A failure's reason is CreateWindowEx's own, not one an earlier call left (the class look-up
  // above leaves "class does not exist" before the class is first registered).
  SetLastError(ERROR_SUCCESS);
  try {
    CreateWindowHandle(params);
  } catch (...) {
    t_creation_control = outer;
    throw;
  }
  t_creation_control = outer;
  if (!handle_) RaiseCreationError(params.WinClassName);
  if ((GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrW(handle_, GWLP_ID) == 0)
    SetWindowLongPtrW(handle_, GWLP_ID, NextChildId());
  UpdateBounds();
  // A window made hidden is painted whole when it shows: the font needs no repaint now.
  const bool shown = GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE;
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), shown ? 1 : 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HWND wnd = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                             Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, Params.Menu,
                             Params.WindowClass.hInstance, Params.Param);
  // The first message attached the window already; a window that failed is gone again.
  if (wnd && !handle_) AttachHandle(wnd);
}

void TWinControl::AttachHandle(HWND Wnd) {
  handle_ = Wnd;
  detail::CountLive(TLiveKind::Windows, 1);
  destroying_announced_ = false;
  SetPropW(Wnd, MAKEINTATOM(ControlAtom()), this);
  AttachedControls().Set(Wnd, this);
}

void TWinControl::DetachHandle() {
  if (!handle_) return;
  RemovePropW(handle_, MAKEINTATOM(ControlAtom()));
  AttachedControls().Set(handle_, nullptr);
  handle_ = nullptr;
  detail::CountLive(TLiveKind::Windows, -1);
  showing_ = false;
  zorder_pending_ = false;
  mouse_in_client_ = false;
  hot_control_ = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  AnnounceDestroying();
  for (TWinControl* child : std::vector<TWinControl*>(win_controls_)) child->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  // The window keeps the text while it exists; keep it for the next window.
  if (handle_) {
    const int len = GetWindowTextLengthW(handle_);
    String s(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
    const int got = GetWindowTextW(handle_, s.data(), static_cast<int>(s.size()));
    s.resize(static_cast<size_t>(std::max(got, 0)));
    text_ = s;
  }
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  if (!handle_) return;
  AnnounceDestroying();
  SetControlState(ControlState() + TControlState{csDestroyingHandle});
  HWND wnd = handle_;
  DestroyWindow(wnd);
  SetControlState(ControlState() - TControlState{csDestroyingHandle});
  // A window that would not go (another thread's) is let go of all the same.
  if (handle_ == wnd) DetachHandle();
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::SetParentWindow(HWND Value) {
  if (parent_window_ == Value) return;
  if (handle_ && parent_window_ && Value && !parent_) {
    parent_window_ = Value;
    ::SetParent(handle_, Value);
  } else {
    DestroyHandle();
    parent_window_ = Value;
  }
  UpdateControlState();
}

void TWinControl::UpdateBounds() {
  if (!handle_) return;
  RECT r{};
  if (IsIconic(handle_)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(handle_, &wp);
    r = wp.rcNormalPosition;
  } else {
    GetWindowRect(handle_, &r);
  }
  if (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) {
    if (HWND parent = GetParent(handle_)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  UpdateAnchorRules();
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  auto it = std::find(win_controls_.begin(), win_controls_.end(), Control);
  if (it != win_controls_.end()) {
    for (++it; it != win_controls_.end(); ++it)
      if ((*it)->handle_) return (*it)->handle_;
  }
  return HWND_TOP;
}

// ---------------------------------------------------------------------------------------
// Children

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  const auto i = static_cast<size_t>(Index);
  if (i < controls_.size()) return controls_[i];
  return win_controls_[i - controls_.size()];
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->parent_ == this) return;
  if (auto* win = dynamic_cast<TWinControl*>(AControl); win && win->ContainsControl(this))
    throw EInvalidOperation(L"A control cannot have one of its children as its parent");
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
    win_controls_.push_back(win);
    tab_list_.push_back(win);
  } else {
    controls_.push_back(AControl);
  }
  AControl->parent_ = this;
  // Told once the child's parent is set: whoever looks at the new child finds it in place.
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  if (!AControl->ComponentState().Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (auto* win = dynamic_cast<TWinControl*>(AControl))
      win->UpdateControlState();
    else if (handle_)
      AControl->Invalidate();
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->parent_ != this) return;
  const bool destroying = ComponentState().Contains(csDestroying);
  if (!destroying) Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
    win->RemoveFocus(true);
    win->DestroyHandle();
  } else if (handle_) {
    AControl->InvalidateControl(AControl->Visible(), false);
  }
  if (hot_control_ == AControl) hot_control_ = nullptr;
  std::erase(controls_, AControl);
  std::erase(win_controls_, static_cast<TWinControl*>(AControl));
  std::erase(tab_list_, static_cast<TWinControl*>(AControl));
  AControl->parent_ = nullptr;
  if (!destroying) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
    Realign();
  }
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* c = Control; c; c = c->parent_)
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled, bool AllowWinControls) const {
  auto hit = [&](TControl* c) {
    const TPoint local{P.X - c->left_, P.Y - c->top_};
    if (!c->ClientRect().Contains(local)) return false;
    if (c->ComponentState().Contains(csDesigning))
      return c->visible_ || !c->ControlStyle().Contains(csNoDesignVisible);
    return c->visible_ && (c->enabled_ || AllowDisabled) &&
           c->Perform(CM_HITTEST, 0, PointToLParam(local.X, local.Y)) != 0;
  };
  if (AllowWinControls)
    for (auto it = win_controls_.rbegin(); it != win_controls_.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->WindowProc)
      c->WindowProc(Message);
    else
      c->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::ShowControl(TControl* AControl) {
  (void)AControl;
  if (parent_) parent_->ShowControl(this);
}

void TWinControl::SetZOrder(bool TopMost) {
  if (!parent_) {
    if (handle_) SetWindowPos(handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return;
  }
  auto& list = parent_->win_controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  if (handle_) SetWindowPos(handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// What a description nests inside this control: its child controls of the root, and, for the
// root itself, the components it owns that have no parent (timers, menus, dialogs).
void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == Root) Proc(c);
  }
  TControl::GetChildren(Proc, Root);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Tab orders read from a description are applied once all siblings exist.
  std::vector<TWinControl*> ordered(win_controls_.size(), nullptr);
  for (TWinControl* c : win_controls_) {
    const int j = c->stored_tab_order_;
    if (j >= 0 && static_cast<size_t>(j) < ordered.size() && !ordered[static_cast<size_t>(j)])
      ordered[static_cast<size_t>(j)] = c;
    c->stored_tab_order_ = -1;
  }
  for (size_t i = 0; i < ordered.size(); ++i)
    if (ordered[i]) ordered[i]->SetTabOrder(static_cast<int>(i));
  Realign();
}

// ---------------------------------------------------------------------------------------
// Showing

void TWinControl::UpdateShowing() {
  // Only this control's own visibility counts: UpdateControlState asked only when all
  // parents show, and a parent that shows asks each child in turn.
  const bool show = Visible() || (ComponentState().Contains(csDesigning) && !ControlStyle().Contains(csNoDesignVisible));
  if (show) {
    if (!handle_) {
      TWinControl* const outer = std::exchange(t_shown_once_made, this);
      try {
        CreateHandle();
      } catch (...) {
        t_shown_once_made = outer;
        throw;
      }
      t_shown_once_made = outer;
    }
    // Last first: see CreateHandle.
    const std::vector<TWinControl*> children(win_controls_);
    for (auto child = children.rbegin(); child != children.rend(); ++child) (*child)->UpdateShowing();
  }
  if (handle_ && showing_ != show) {
    showing_ = show;
    try {
      Perform(CM_SHOWINGCHANGED, show ? 1 : 0, 0);
    } catch (...) {
      showing_ = !show;
      PlaceAmongSiblings();
      throw;
    }
  }
  PlaceAmongSiblings();  // when the showing did not (a handler of its own)
}

void TWinControl::PlaceAmongSiblings() {
  if (!zorder_pending_) return;
  zorder_pending_ = false;
  if (handle_ && parent_)
    SetWindowPos(handle_, parent_->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::UpdateControlState() {
  const TWinControl* top = this;
  while (top->parent_) {
    top = top->parent_;
    if (!top->showing_) return;
  }
  if (ParentFormOf(top) == top || top->parent_window_) UpdateShowing();
}

// ---------------------------------------------------------------------------------------
// Bounds

TRect TWinControl::ClientRect() const {
  if (handle_) {
    RECT r{};
    ::GetClientRect(handle_, &r);
    return r;
  }
  // No window yet: the frame its style will give it.
  TCreateParams params;
  {
    const bool outer = std::exchange(t_params_for_frame, true);
    struct Restore {
      bool outer;
      ~Restore() { t_params_for_frame = outer; }
    } restore{outer};
    const_cast<TWinControl*>(this)->CreateParams(params);
  }
  const RECT frame = FrameOfStyle(params.Style, params.ExStyle);
  int w = width_ - (frame.right - frame.left);
  int h = height_ - (frame.bottom - frame.top);
  if (params.Style & WS_VSCROLL) w -= GetSystemMetrics(SM_CXVSCROLL);
  if (params.Style & WS_HSCROLL) h -= GetSystemMetrics(SM_CYHSCROLL);
  const TRect own = OwnFrameInsets();
  w -= own.Left + own.Right;
  h -= own.Top + own.Bottom;
  h -= MenuBarHeight();
  return Rect(0, 0, std::max(w, 0), std::max(h, 0));
}

TPoint TWinControl::ClientOrigin() const {
  POINT p{0, 0};
  ::ClientToScreen(const_cast<TWinControl*>(this)->Handle(), &p);
  return p;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Constraints()->Apply(AWidth, AHeight);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  if (handle_ && !IsIconic(handle_)) {
    SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const bool resized = AWidth != width_ || AHeight != height_;
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (handle_) {
      WINDOWPLACEMENT wp{};
      wp.length = sizeof(wp);
      GetWindowPlacement(handle_, &wp);
      wp.rcNormalPosition = BoundsRect();
      SetWindowPlacement(handle_, &wp);
    } else if (resized) {
      // Without a window no WM_SIZE comes: lay the children out now.
      Realign();
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

// ---------------------------------------------------------------------------------------
// Focus

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (ComponentState().Contains(csLoading)) {
    stored_tab_order_ = Value;
    return;
  }
  if (!parent_) return;
  const int current = TabOrder();
  if (current < 0) return;
  auto& list = parent_->tab_list_;
  const int count = static_cast<int>(list.size());
  Value = std::clamp(Value, 0, count - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (tab_stop_ == Value) return;
  tab_stop_ = Value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    style = Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

bool TWinControl::CanFocus() const {
  const TWinControl* form = ParentFormOf(this);
  if (!form) return false;
  for (const TControl* c = this; c && c != form; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && IsFocusWindow(handle_); }

void TWinControl::SetFocus() {
  if (TWinControl* form = ParentFormOf(this))
    LayerHooks().Forms.FocusControl(form, this);
  else if (parent_window_)
    ::SetFocus(Handle());
  else
    throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
}

void TWinControl::RemoveFocus(bool Removing) {
  if (TWinControl* form = ParentFormOf(this)) LayerHooks().Forms.DefocusControl(form, this, Removing);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* c : tab_list_) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const auto count = static_cast<int>(list.size());
  auto found = std::find(list.begin(), list.end(), CurControl);
  int start = found != list.end() ? static_cast<int>(found - list.begin()) : (GoForward ? count - 1 : 0);
  int i = start;
  do {
    if (GoForward) {
      if (++i == count) i = 0;
    } else {
      if (i == 0) i = count;
      --i;
    }
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!CheckTabStop || c->tab_stop_) && (!CheckParent || c->parent_ == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------------------------------
// Keyboard

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

// WM_KEYDOWN / WM_KEYUP: the form sees the key first when it previews keys.
bool TWinControl::DoKeyDown(TMessage& Message, bool Up) {
  TWinControl* form = ParentFormOf(this);
  if (form && form != this && LayerHooks().Forms.KeyPreview(form) && form->DoKeyDown(Message, Up)) return true;
  if (!ControlStyle().Contains(csNoStdEvents)) {
    WORD key = static_cast<WORD>(Message.WParam);
    const TShiftState shift = KeyDataToShiftState(Message.LParam);
    if (Up)
      KeyUp(key, shift);
    else
      KeyDown(key, shift);
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWinControl* form = ParentFormOf(this);
  if (form && form != this && LayerHooks().Forms.KeyPreview(form) && form->DoKeyPress(Message)) return true;
  if (!ControlStyle().Contains(csNoStdEvents)) {
    wchar_t ch = static_cast<wchar_t>(Message.WParam);
    KeyPress(ch);
    Message.WParam = ch;
    if (ch == 0) return true;
  }
  return false;
}

// CN_KEYDOWN (from the message loop): navigation keys the control does not want go to the form
// as CM_DIALOGKEY; an answer of 1 means the key was used.
// A shortcut of the popup menus of this control and its parents, or of its form's menu.
bool TWinControl::IsMenuKey(const TMessage& Message) {
  const auto isShortCut = LayerHooks().Menus.IsShortCut;
  if (ComponentState().Contains(csDesigning) || !isShortCut) return false;
  const TMessage key{Message.Msg - CN_BASE, Message.WParam, Message.LParam, 0};
  for (TControl* c = this; c; c = c->Parent())
    if (TComponent* menu = c->GetPopupMenu(); menu && isShortCut(menu, key)) return true;
  TWinControl* form = ParentFormOf(this);
  TComponent* menu = form ? LayerHooks().Forms.Menu(form) : nullptr;
  return menu && isShortCut(menu, key);
}

void TWinControl::HandleKeyDown(TMessage& Message, bool) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (Message.Msg == CN_SYSKEYDOWN) {
    // With Alt: the parents, then the form, may use any key.
    if (!ComponentState().Contains(csDesigning)) {
      if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
      if (TWinControl* form = ParentFormOf(this); form && form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0)
        return;
    }
    Message.Result = 0;
    return;
  }
  if (!ComponentState().Contains(csDesigning)) {
    if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
    LRESULT mask = 0;
    switch (Message.WParam) {
      case VK_TAB: mask = DLGC_WANTTAB; break;
      case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
      case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
      default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
      if (TWinControl* form = ParentFormOf(this); form && form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0)
        return;
    }
  }
  Message.Result = 0;
}

void TWinControl::HandleChar(TMessage& Message) {
  Message.Result = 1;
  if (!ComponentState().Contains(csDesigning) && (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
    if (TWinControl* form = ParentFormOf(this); form && form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
      return;
  }
  Message.Result = 0;
}

// Alt and a character are the form's (its controls' accelerators, its menu bar's items) whatever
// characters the control takes itself; Alt+Space is the system menu's.
void TWinControl::HandleSysChar(TMessage& Message) {
  Message.Result = 0;
  if (ComponentState().Contains(csDesigning) || Message.WParam == VK_SPACE) return;
  if (TWinControl* form = ParentFormOf(this)) Message.Result = form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------------------
// Painting

void TWinControl::PaintWindow(HDC DC) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  size_t i = 0;
  if (First) {
    auto it = std::find(controls_.begin(), controls_.end(), First);
    if (it != controls_.end()) i = static_cast<size_t>(it - controls_.begin());
  }
  for (; i < controls_.size(); ++i) {
    TControl* c = controls_[i];
    const bool shown = c->visible_ || (c->ComponentState().Contains(csDesigning) &&
                                       !c->ControlStyle().Contains(csNoDesignVisible));
    const RECT r = c->BoundsRect();
    if (!shown || !RectVisible(DC, &r)) continue;
    if (ControlState().Contains(csPaintCopy)) c->control_state_.Include(csPaintCopy);
    const int saved = SaveDC(DC);
    detail::MoveWindowOrg(DC, c->left_, c->top_);
    IntersectClipRect(DC, 0, 0, c->width_, c->height_);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, saved);
    c->control_state_.Exclude(csPaintCopy);
  }
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps{};
  const bool own = dc == nullptr;
  if (own) {
    if (!handle_) return;
    dc = BeginPaint(handle_, &ps);
  }
  try {
    if (controls_.empty()) {
      PaintWindow(dc);
    } else {
      // Opaque graphic children cover their part: the control need not paint it.
      const int saved = SaveDC(dc);
      int clip = SIMPLEREGION;
      for (TControl* c : controls_) {
        const bool shown = c->visible_ || (c->ComponentState().Contains(csDesigning) &&
                                           !c->ControlStyle().Contains(csNoDesignVisible));
        if (shown && c->ControlStyle().Contains(csOpaque)) {
          clip = ExcludeClipRect(dc, c->left_, c->top_, c->left_ + c->width_, c->top_ + c->height_);
          if (clip == NULLREGION) break;
        }
      }
      if (clip != NULLREGION) PaintWindow(dc);
      RestoreDC(dc, saved);
    }
    PaintControls(dc, nullptr);
  } catch (...) {
    if (own) EndPaint(handle_, &ps);
    throw;
  }
  if (own) EndPaint(handle_, &ps);
}

// WM_PRINT: the frame by the system, then background, client (with graphic children) and the
// child windows, each into the same DC at its own place.
void TWinControl::PrintWindow(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  const auto flags = static_cast<DWORD>(Message.LParam);
  Message.Result = 0;
  if (!handle_ || !dc) return;
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(handle_)) return;
  RECT window{};
  GetWindowRect(handle_, &window);
  POINT client{0, 0};
  ::ClientToScreen(handle_, &client);
  const int cx = client.x - window.left;
  const int cy = client.y - window.top;
  if (flags & PRF_NONCLIENT) {
    // Asked for the frame alone: the system draws it. As part of more, the frame goes as a
    // message of its own through WindowProc, so that a hook can print a frame of its own.
    const DWORD rest = flags & ~static_cast<DWORD>(PRF_NONCLIENT | PRF_CHECKVISIBLE | PRF_OWNED);
    if (rest == 0) {
      TMessage frame{WM_PRINT, Message.WParam, static_cast<LPARAM>(PRF_NONCLIENT), 0};
      DefaultHandler(frame);
      PaintOwnFrame(dc);
      return;
    }
    Perform(WM_PRINT, Message.WParam, static_cast<LPARAM>(PRF_NONCLIENT));
  }
  const int saved = SaveDC(dc);
  detail::MoveWindowOrg(dc, cx, cy);
  RECT cr{};
  ::GetClientRect(handle_, &cr);
  IntersectClipRect(dc, 0, 0, cr.right, cr.bottom);
  if (flags & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, Message.WParam, Message.WParam);
  if (flags & PRF_CLIENT) Perform(WM_PRINTCLIENT, Message.WParam, static_cast<LPARAM>(flags));
  RestoreDC(dc, saved);
  if (flags & PRF_CHILDREN) {
    // Bottom of the z-order first, so that upper windows paint over lower ones.
    for (HWND child = GetWindow(handle_, GW_CHILD) ? GetWindow(GetWindow(handle_, GW_CHILD), GW_HWNDLAST) : nullptr;
         child; child = GetWindow(child, GW_HWNDPREV)) {
      if (!IsWindowVisible(child)) continue;
      RECT cw{};
      GetWindowRect(child, &cw);
      const int s = SaveDC(dc);
      detail::MoveWindowOrg(dc, cw.left - window.left, cw.top - window.top);
      SendMessageW(child, WM_PRINT, Message.WParam, static_cast<LPARAM>(flags | PRF_CHECKVISIBLE));
      RestoreDC(dc, s);
    }
  }
}

// ---------------------------------------------------------------------------------------
// The control's own frame: border width and bevels

namespace {

int BevelSize(TBevelCut Inner, TBevelCut Outer, int Width) {
  return (Inner != bvNone ? Width : 0) + (Outer != bvNone ? Width : 0);
}

}  // namespace

TRect TWinControl::OwnFrameInsets() const {
  TRect r(border_width_, border_width_, border_width_, border_width_);
  if (bevel_kind_ != bkNone) {
    const int edge = BevelSize(bevel_inner_, bevel_outer_, bevel_width_);
    if (bevel_edges_.Contains(beLeft)) r.Left += edge;
    if (bevel_edges_.Contains(beTop)) r.Top += edge;
    if (bevel_edges_.Contains(beRight)) r.Right += edge;
    if (bevel_edges_.Contains(beBottom)) r.Bottom += edge;
  }
  return r;
}

void TWinControl::WMNCCalcSize(TMessage& Message) {
  DefaultHandler(Message);
  // Both forms of the message carry the client rectangle to adjust first.
  auto* client = reinterpret_cast<RECT*>(Message.LParam);
  if (!client) return;
  const TRect own = OwnFrameInsets();
  client->left += own.Left;
  client->top += own.Top;
  client->right = std::max(client->left, client->right - own.Right);
  client->bottom = std::max(client->top, client->bottom - own.Bottom);
}

void TWinControl::WMNCPaint(TMessage& Message) {
  DefaultHandler(Message);
  if (!handle_ || OwnFrameInsets() == TRect()) return;
  struct FrameDC {
    HWND wnd;
    HDC dc;
    ~FrameDC() {
      if (dc) ReleaseDC(wnd, dc);
    }
  } frame{handle_, GetWindowDC(handle_)};
  if (frame.dc) PaintOwnFrame(frame.dc);
}

// The ring between the system's frame and the client area: the bevel drawn around the client
// (and its scroll bars), the rest in the control's brush.
void TWinControl::PaintOwnFrame(HDC DC) {
  const TRect own = OwnFrameInsets();
  if (!handle_ || own == TRect()) return;
  RECT window{}, client{};
  GetWindowRect(handle_, &window);
  ::GetClientRect(handle_, &client);
  MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  const int saved = SaveDC(DC);
  ExcludeClipRect(DC, client.left, client.top, client.right, client.bottom);
  RECT outer{client.left - own.Left, client.top - own.Top, client.right + own.Right, client.bottom + own.Bottom};
  const LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  if (style & WS_VSCROLL) {
    if (GetWindowLongPtrW(handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)
      outer.left -= GetSystemMetrics(SM_CXVSCROLL);
    else
      outer.right += GetSystemMetrics(SM_CXVSCROLL);
  }
  if (style & WS_HSCROLL) outer.bottom += GetSystemMetrics(SM_CYHSCROLL);
  // The bevel lies inside the border width ring; DrawEdge draws one pixel of each cut on the
  // chosen edges. Everything else of the ring gets the brush.
  RECT bevel = outer;
  InflateRect(&bevel, -border_width_, -border_width_);
  UniqueRegion fill(CreateRectRgnIndirect(&outer));
  if (bevel_kind_ != bkNone) {
    static constexpr UINT kInner[] = {0, BDR_SUNKENINNER, BDR_RAISEDINNER, 0};
    static constexpr UINT kOuter[] = {0, BDR_SUNKENOUTER, BDR_RAISEDOUTER, 0};
    static constexpr UINT kKind[] = {0, 0, BF_SOFT, BF_FLAT};
    UINT edges = 0;
    if (bevel_edges_.Contains(beLeft)) edges |= BF_LEFT;
    if (bevel_edges_.Contains(beTop)) edges |= BF_TOP;
    if (bevel_edges_.Contains(beRight)) edges |= BF_RIGHT;
    if (bevel_edges_.Contains(beBottom)) edges |= BF_BOTTOM;
    RECT within = bevel;
    DrawEdge(DC, &within, kInner[static_cast<int>(bevel_inner_)] | kOuter[static_cast<int>(bevel_outer_)],
             edges | kKind[static_cast<int>(bevel_kind_)] | BF_ADJUST);
    UniqueRegion lines(CreateRectRgnIndirect(&bevel));
    const UniqueRegion inner(CreateRectRgnIndirect(&within));
    CombineRgn(lines.get(), lines.get(), inner.get(), RGN_DIFF);
    CombineRgn(fill.get(), fill.get(), lines.get(), RGN_DIFF);
  }
  FillRgn(DC, fill.get(), brush_->Handle());
  RestoreDC(DC, saved);
}

void TWinControl::CMBorderChanged() {
  if (!handle_) {
    Realign();
    return;
  }
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
  if (Visible()) Invalidate();
}

void TWinControl::SetBevelEdges(TBevelEdges Value) {
  if (bevel_edges_ == Value) return;
  bevel_edges_ = Value;
  Perform(CM_BORDERCHANGED, 0, 0);
}

void TWinControl::SetBevelInner(TBevelCut Value) {
  if (bevel_inner_ == Value) return;
  bevel_inner_ = Value;
  Perform(CM_BORDERCHANGED, 0, 0);
}

void TWinControl::SetBevelOuter(TBevelCut Value) {
  if (bevel_outer_ == Value) return;
  bevel_outer_ = Value;
  Perform(CM_BORDERCHANGED, 0, 0);
}

void TWinControl::SetBevelKind(TBevelKind Value) {
  if (bevel_kind_ == Value) return;
  bevel_kind_ = Value;
  Perform(CM_BORDERCHANGED, 0, 0);
}

void TWinControl::SetBevelWidth(int Value) {
  Value = std::max(Value, 1);
  if (bevel_width_ == Value) return;
  bevel_width_ = Value;
  Perform(CM_BORDERCHANGED, 0, 0);
}

void TWinControl::SetBorderWidth(int Value) {
  Value = std::max(Value, 0);
  if (border_width_ == Value) return;
  border_width_ = Value;
  Perform(CM_BORDERCHANGED, 0, 0);
}

// A new reading order: children that follow it are told; on a right-to-left system the
// window is made again with its new styles.
void TWinControl::CMBiDiModeChanged(TMessage& Message) {
  TControl::CMBiDiModeChanged(Message);
  NotifyControls(CM_PARENTBIDIMODECHANGED);
  if (SysLocale().MiddleEast && Message.WParam == 0) RecreateWnd();
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  SetControlState(ControlState() + TControlState{csPaintCopy});
  const int saved = SaveDC(DC);
  detail::MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, Width(), Height());
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  for (TWinControl* c : win_controls_)
    if (c->Visible()) c->PaintTo(DC, c->Left(), c->Top());
  RestoreDC(DC, saved);
  SetControlState(ControlState() - TControlState{csPaintCopy});
}

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

// ---------------------------------------------------------------------------------------
// Mouse tracking: CM_MOUSEENTER / CM_MOUSELEAVE for this window and its graphic children.

void TWinControl::TrackMouse(TMessage& Message) {
  if (!handle_) return;
  if (!mouse_in_client_) {
    mouse_in_client_ = true;
    TrackMouseLeave(handle_, false);
    Perform(CM_MOUSEENTER, 0, 0);
  }
  const TPoint pt{Message.XPos(), Message.YPos()};
  TControl* target = ControlAtPos(pt, true);
  // While a graphic child holds the capture, only it can be entered or left.
  if (TControl* cap = detail::g_capture_control; cap && cap->parent_ == this) target = target == cap ? cap : nullptr;
  SetHotControl(target);
}

void TWinControl::SetHotControl(TControl* Control) {
  if (hot_control_ == Control) return;
  TControl* old = hot_control_;
  hot_control_ = Control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (Control && hot_control_ == Control) Control->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::MouseLeft() {
  SetHotControl(nullptr);
  if (!mouse_in_client_) return;
  mouse_in_client_ = false;
  Perform(CM_MOUSELEAVE, 0, 0);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* control = nullptr;
  if (handle_ && GetCapture() == handle_) {
    if (detail::g_capture_control && detail::g_capture_control->parent_ == this) control = detail::g_capture_control;
  } else {
    control = ControlAtPos({Message.XPos(), Message.YPos()}, false);
  }
  if (!control) return false;
  const LPARAM local = PointToLParam(Message.XPos() - control->left_, Message.YPos() - control->top_);
  Message.Result = control->Perform(Message.Msg, Message.WParam, local);
  return true;
}

// ---------------------------------------------------------------------------------------
// Notifications reflected to the child control that sent them

bool TWinControl::ReflectNotification(TMessage& Message) {
  HWND child = nullptr;
  switch (Message.Msg) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(Message.LParam);
      break;
    case WM_NOTIFY:
      if (auto* hdr = reinterpret_cast<const NMHDR*>(Message.LParam)) child = hdr->hwndFrom;
      break;
    case WM_DRAWITEM:
      // A menu item names its menu, never a window; some system controls leave the type of
      // their owner-drawn parts unset, so the window decides.
      if (auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
          dis && (dis->CtlType != ODT_MENU || IsWindow(dis->hwndItem)))
        child = dis->hwndItem;
      break;
    case WM_MEASUREITEM:
      if (auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam); mis && mis->CtlType != ODT_MENU && handle_)
        child = GetDlgItem(handle_, static_cast<int>(mis->CtlID));
      break;
    case WM_DELETEITEM:
      if (auto* di = reinterpret_cast<const DELETEITEMSTRUCT*>(Message.LParam)) child = di->hwndItem;
      break;
    case WM_COMPAREITEM:
      if (auto* ci = reinterpret_cast<const COMPAREITEMSTRUCT*>(Message.LParam)) child = ci->hwndItem;
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(Message.LParam);
      break;
    default:
      return false;
  }
  if (!child || child == handle_) return false;
  TWinControl* control = FindControl(child);
  if (!control) return false;
  Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

// ---------------------------------------------------------------------------------------
// Message handling

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TWinControl* form = ParentFormOf(this); form && !LayerHooks().Forms.SetFocusedControl(form, this)) return;
      break;
    case WM_KILLFOCUS:
      if (ControlState().Contains(csFocusing)) return;
      break;
    case WM_NCHITTEST:
      TControl::WndProc(Message);
      if (Message.Result == HTTRANSPARENT &&
          ControlAtPos(ScreenToClient({LParamX(Message.LParam), LParamY(Message.LParam)}), false))
        Message.Result = HTCLIENT;
      return;
    case WM_MOUSELEAVE:
      MouseLeft();
      break;
    case WM_SETTINGCHANGE:
    case WM_DPICHANGED:
    case WM_THEMECHANGED:
      t_style_frames.clear();  // the frames of window-less controls follow the new metrics
      break;
    case WM_CANCELMODE:
      if (handle_ && GetCapture() == handle_ && detail::g_capture_control &&
          detail::g_capture_control->parent_ == this)
        detail::g_capture_control->Perform(WM_CANCELMODE, 0, 0);
      break;
    default:
      if (IsMouseMessage(Message.Msg)) {
        if (Message.Msg == WM_MOUSEMOVE) TrackMouse(Message);
        if (IsControlMouseMsg(Message)) {
          // Unanswered, the window's default procedure still sees it (WM_RBUTTONUP ->
          // WM_CONTEXTMENU, which finds the graphic child again).
          if (Message.Result == 0 && handle_)
            Message.Result = DefWindowProcW(handle_, Message.Msg, Message.WParam, Message.LParam);
          return;
        }
      }
      break;
  }
  TControl::WndProc(Message);
}

// Routes each message to its handler; what none handles goes to TControl.
void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: return WMPaint(Message);
    case WM_PRINTCLIENT: return WMPrintClient(Message);
    case WM_PRINT: return PrintWindow(Message);
    case WM_NCCALCSIZE: return WMNCCalcSize(Message);
    case WM_NCPAINT: return WMNCPaint(Message);
    case CM_BORDERCHANGED: return CMBorderChanged();
    case CM_BIDIMODECHANGED: return CMBiDiModeChanged(Message);
    case WM_ERASEBKGND: Message.Result = WMEraseBkgnd(reinterpret_cast<HDC>(Message.WParam)); return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM: return WMReflected(Message);
    case WM_SIZE: return WMSize(Message);
    case WM_MOVE: return WMMove(Message);
    case WM_DESTROY: return WMDestroy(Message);
    case WM_CONTEXTMENU: return WMContextMenu(Message);
    case WM_WINDOWPOSCHANGING: return WMWindowPosChanging(Message, reinterpret_cast<WINDOWPOS*>(Message.LParam));
    case WM_WINDOWPOSCHANGED: return WMWindowPosChanged(Message);
    case WM_SETCURSOR: return WMSetCursor(Message, reinterpret_cast<HWND>(Message.WParam), LOWORD(Message.LParam));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return WMKey(Message, false);
    case WM_KEYUP:
    case WM_SYSKEYUP: return WMKey(Message, true);
    case WM_CHAR: return WMChar(Message);
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: return HandleKeyDown(Message, false);
    case CN_CHAR: return HandleChar(Message);
    case CN_SYSCHAR: return HandleSysChar(Message);
    case CM_CHILDKEY: return CMChildKey(Message);
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED: return Broadcast(Message);
    case CM_ENTER: return DoEnter();
    case CM_EXIT: return DoExit();
    case CM_SHOWINGCHANGED: return CMShowingChanged();
    case CM_VISIBLECHANGED: return CMVisibleChanged();
    case CM_ENABLEDCHANGED: return CMEnabledChanged();
    case CM_COLORCHANGED: return CMColorChanged(Message);
    case CM_FONTCHANGED: return CMFontChanged(Message);
    case CM_SHOWHINTCHANGED: return NotifyControls(CM_PARENTSHOWHINTCHANGED);
    case CM_INVALIDATE: return CMInvalidate(Message.WParam != 0);
    case CM_RECREATEWND: return CMRecreateWnd();
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: Message.Result = reinterpret_cast<LRESULT>(CNCtlColor(reinterpret_cast<HDC>(Message.WParam))); return;
    default: return TControl::Dispatch(Message);
  }
}

void TWinControl::WMPaint(TMessage& Message) {
  if (!ControlState().Contains(csCustomPaint) && ControlCount() == 0)
    DefaultHandler(Message);
  else
    PaintHandler(Message);
}

void TWinControl::WMPrintClient(TMessage& Message) {
  if (Message.Result != 1 && (!(Message.LParam & PRF_CHECKVISIBLE) || Visible())) {
    TMessage paint{WM_PAINT, Message.WParam, 0, 0};
    PaintHandler(paint);
  } else {
    DefaultHandler(Message);
  }
}

// Fills the client area with the control's brush; always answers "erased".
LRESULT TWinControl::WMEraseBkgnd(HDC DC) {
  if (DC) {
    RECT r{};
    if (handle_)
      ::GetClientRect(handle_, &r);
    else
      r = ClientRect();
    FillRect(DC, &r, brush_->Handle());
  }
  return 1;
}

// Notifications and scroll, owner-draw and list-key messages go back to the child they
// concern (as CN_ messages).
void TWinControl::WMReflected(TMessage& Message) {
  if (!ReflectNotification(Message)) DefaultHandler(Message);
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMDestroy(TMessage& Message) {
  // Device contexts canvases took of this window (or, for graphic children, of it as their
  // parent) die with it.
  FreeDeviceContexts();
  DefaultHandler(Message);
}

void TWinControl::WMContextMenu(TMessage& Message) {
  // A graphic child under the point has the first say.
  if (Message.Result == 0 && handle_ && !(LParamX(Message.LParam) == -1 && LParamY(Message.LParam) == -1)) {
    const TPoint pt = ScreenToClient({LParamX(Message.LParam), LParamY(Message.LParam)});
    if (TControl* c = ControlAtPos(pt, false)) {
      Message.Result = c->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
      if (Message.Result != 0) return;
    }
  }
  TControl::Dispatch(Message);
}

void TWinControl::WMWindowPosChanging(TMessage& Message, WINDOWPOS* Pos) {
  // Sized by the system (the user's frame, SetWindowPos): within the constraints.
  if (Pos && !(Pos->flags & SWP_NOSIZE) && !ComponentState().Contains(csReading) &&
      !ComponentState().Contains(csDestroying)) {
    int w = Pos->cx, h = Pos->cy;
    Constraints()->Apply(w, h);
    Pos->cx = w;
    Pos->cy = h;
  }
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  if (!Message.LParam) return;
  if (!ControlState().Contains(csDestroyingHandle)) UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMSetCursor(TMessage& Message, HWND Window, UINT HitTest) {
  if (Window == handle_ && HitTest == HTCLIENT) {
    // The screen's cursor first, then the graphic child's under the mouse, then our own.
    const auto screenCursor = LayerHooks().Application.ScreenCursor;
    TCursor cursor = screenCursor ? screenCursor() : crDefault;
    if (cursor == crDefault) {
      POINT pt{};
      GetCursorPos(&pt);
      if (TControl* c = ControlAtPos(ScreenToClient(pt), false)) cursor = c->Cursor();
      if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault) {
      ::SetCursor(CursorHandle(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMKey(TMessage& Message, bool Up) {
  if (!DoKeyDown(Message, Up)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// A key a child passes up (Alt combinations, navigation keys): the parents may use it.
void TWinControl::CMChildKey(TMessage& Message) {
  if (parent_) Message.Result = parent_->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
}

void TWinControl::CMShowingChanged() {
  if (!handle_) return;
  // Under a hidden parent, showing is only a style change, painted when the parent shows; a
  // move (with its round of position messages) is not needed.
  if (showing_ && !zorder_pending_ && parent_ && parent_->handle_ && !IsWindowVisible(parent_->handle_)) {
    ShowWindow(handle_, SW_SHOWNA);
    return;
  }
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  HWND after = nullptr;
  if (zorder_pending_ && parent_)
    after = parent_->PrecedingWindow(this);
  else
    flags |= SWP_NOZORDER;
  zorder_pending_ = false;
  SetWindowPos(handle_, after, 0, 0, 0, 0, flags);
}

void TWinControl::CMVisibleChanged() {
  if (!Visible() && parent_) RemoveFocus(false);
  if (!ComponentState().Contains(csDesigning) || ControlStyle().Contains(csNoDesignVisible)) UpdateControlState();
}

void TWinControl::CMEnabledChanged() {
  if (!Enabled() && parent_) RemoveFocus(false);
  if (handle_ && !ComponentState().Contains(csDesigning)) EnableWindow(handle_, Enabled());
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::Dispatch(Message);
  brush_->SetColor(Color());
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::Dispatch(Message);
  if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

// OnlyParents: a child asked its parents to repaint, not itself.
void TWinControl::CMInvalidate(bool OnlyParents) {
  if (!handle_) return;
  if (parent_) parent_->Perform(CM_INVALIDATE, 1, 0);
  if (!OnlyParents) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::CMRecreateWnd() {
  const bool wasFocused = Focused();
  DestroyHandle();
  UpdateControlState();
  if (wasFocused && handle_) ::SetFocus(handle_);
}

// A child's colour request (reflected WM_CTLCOLOR*): our font colour on our brush.
HBRUSH TWinControl::CNCtlColor(HDC DC) {
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
  SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(brush_->Color())));
  return brush_->Handle();
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!handle_) {
    TControl::DefaultHandler(Message);
    return;
  }
  if (Message.Msg == WM_CONTEXTMENU && parent_) {
    Message.Result = parent_->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
    if (Message.Result != 0) return;
  }
  if (Message.Msg >= WM_CTLCOLORMSGBOX && Message.Msg <= WM_CTLCOLORSTATIC) {
    // A library child answers for its own colours; other windows get the system's.
    if (ReflectNotification(Message)) return;
  }
  if (Message.Msg == ControlLookupMessage()) {
    Message.Result = reinterpret_cast<LRESULT>(this);
    return;
  }
  if (Message.Msg == WM_NCPAINT && !HasNonClientArea(handle_)) {
    // Nothing to paint outside the client area. The system would still take a device
    // context for it, which under Wine costs several round trips to the server per window:
    // a form with many panels pays that for each when it is shown.
    Message.Result = 0;
    return;
  }
  const WNDPROC default_proc = def_wnd_proc_ ? def_wnd_proc_ : DefWindowProcW;
  if (Message.Msg == WM_NCCALCSIZE && default_proc == DefWindowProcW && !StyleHasNonClientArea(handle_)) {
    // The client area is the whole window, as the system would also find, but only after
    // reading its non-client metrics (a noticeable share, under Wine, of showing a form of
    // many panels). Both forms of the message leave the rectangle as it came.
    Message.Result = 0;
    return;
  }
  Message.Result = CallWindowProcW(default_proc, handle_, Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace vcl
