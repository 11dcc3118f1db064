#include "classlib/controls/WindowSubclass.h"

#include <commctrl.h>

#include "classlib/controls/Controls.h"

namespace vcl {

bool TWindowSubclass::Attach(HWND Wnd, TWndMethod Method) {
  Detach();
  if (!Wnd || !IsWindow(Wnd) || GetWindowThreadProcessId(Wnd, nullptr) != GetCurrentThreadId()) return false;
  method_ = Method;
  if (!SetWindowSubclass(Wnd, &TWindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this),
                         reinterpret_cast<DWORD_PTR>(this)))
    return false;
  wnd_ = Wnd;
  return true;
}

void TWindowSubclass::Detach() {
  if (!wnd_) return;
  RemoveWindowSubclass(wnd_, &TWindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this));
  wnd_ = nullptr;
}

void TWindowSubclass::CallDefault(TMessage& Message) const {
  if (!wnd_) {
    Message.Result = 0;
    return;
  }
  Message.Result = DefSubclassProc(wnd_, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TWindowSubclass::Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
  auto* self = reinterpret_cast<TWindowSubclass*>(Data);
  TMessage m{Msg, WParam, LParam, 0};
  try {
    if (self->method_)
      self->method_(m);
    else
      m.Result = DefSubclassProc(Wnd, Msg, WParam, LParam);
  } catch (...) {
    HandleControlException(nullptr);
  }
  // The window is going: the subclass leaves the chain by itself.
  if (Msg == WM_NCDESTROY && self->wnd_ == Wnd) self->Detach();
  return m.Result;
}

}  // namespace vcl
