#include "classlib/controls/WindowSubclass.h"

#include <commctrl.h>

#include "classlib/controls/Controls.h"
#include "classlib/controls/ThreadWindow.h"

namespace vcl {
namespace {

LRESULT CALLBACK ProbeProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR) {
  return DefSubclassProc(Wnd, Msg, WParam, LParam);
}

// The procedure comctl32 puts in front of every subclassed window: learnt from the first
// window given its first subclass, else from a window made for the purpose.
LONG_PTR& KnownChainProc() {
  static LONG_PTR proc = 0;
  return proc;
}

LONG_PTR ChainProc() {
  LONG_PTR& proc = KnownChainProc();
  if (proc) return proc;
  HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!probe) return 0;
  if (SetWindowSubclass(probe, &ProbeProc, 1, 0)) {
    proc = GetWindowLongPtrW(probe, GWLP_WNDPROC);
    RemoveWindowSubclass(probe, &ProbeProc, 1);
  }
  DestroyWindow(probe);
  return proc;
}

}  // namespace

TWindowSubclass::~TWindowSubclass() {
  // Running calls of the handler must not touch this object again.
  for (TFrame* f = frames_; f; f = f->outer) f->alive = false;
  Detach();
}

bool TWindowSubclass::Attach(HWND Wnd, TWndMethod Method) {
  Detach();
  if (!IsWindow(Wnd) || !IsThreadWindow(Wnd)) return false;
  method_ = Method;
  static UINT_PTR next_id = 0;
  const UINT_PTR id = ++next_id;
  const LONG_PTR before = GetWindowLongPtrW(Wnd, GWLP_WNDPROC);
  if (!SetWindowSubclass(Wnd, &TWindowSubclass::Proc, id, reinterpret_cast<DWORD_PTR>(this))) return false;
  const LONG_PTR after = GetWindowLongPtrW(Wnd, GWLP_WNDPROC);
  if (after != before) KnownChainProc() = after;  // the window's first subclass
  wnd_ = Wnd;
  id_ = id;
  detail::CountLive(TLiveKind::Subclasses, 1);
  return true;
}

void TWindowSubclass::Detach(bool WindowGoing) {
  if (!wnd_) return;
  if (WindowGoing || !IsWindow(wnd_) || GetWindowLongPtrW(wnd_, GWLP_WNDPROC) == ChainProc())
    RemoveWindowSubclass(wnd_, &TWindowSubclass::Proc, id_);
  else
    SetWindowSubclass(wnd_, &TWindowSubclass::Proc, id_, 0);  // stays, passing everything on
  wnd_ = nullptr;
  detail::CountLive(TLiveKind::Subclasses, -1);
}

void TWindowSubclass::CallDefault(TMessage& Message) const {
  TFrame* frame = frames_;
  if (!frame) {
    Message.Result = 0;
    return;
  }
  frame->defaulted = true;
  Message.Result = DefSubclassProc(frame->wnd, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TWindowSubclass::Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                       DWORD_PTR Data) {
  auto* self = reinterpret_cast<TWindowSubclass*>(Data);
  if (!self) {  // a pass-through left under another procedure
    const LRESULT result = DefSubclassProc(Wnd, Msg, WParam, LParam);
    if (Msg == WM_NCDESTROY) RemoveWindowSubclass(Wnd, &TWindowSubclass::Proc, Id);
    return result;
  }
  TMessage m{Msg, WParam, LParam, 0};
  TFrame frame{Wnd, self->frames_};
  // The frame is unlinked again below, before it goes out of scope.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
  self->frames_ = &frame;
#pragma GCC diagnostic pop
  bool failed = false;
  try {
    if (self->method_)
      self->method_(m);
    else
      self->CallDefault(m);
  } catch (...) {
    failed = true;
    HandleControlException(nullptr);
  }
  // From here on only the frame and the arguments are used unless the object still lives.
  if (frame.alive) {
    self->frames_ = frame.outer;
    // The window is going: the subclass leaves the chain by itself.
    if (Msg == WM_NCDESTROY && self->wnd_ == Wnd) self->Detach(true);
  }
  // A handler that failed before passing the message on: the window still gets its default.
  if (failed && !frame.defaulted) m.Result = DefSubclassProc(Wnd, Msg, WParam, LParam);
  return m.Result;
}

}  // namespace vcl
