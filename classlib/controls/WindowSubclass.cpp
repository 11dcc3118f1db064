#include "classlib/controls/WindowSubclass.h"

#include <commctrl.h>

#include "classlib/controls/Controls.h"

namespace vcl {

TWindowSubclass::~TWindowSubclass() {
  // Running calls of the handler must not touch this object again.
  for (TFrame* f = frames_; f; f = f->outer) f->alive = false;
  Detach();
}

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
  TFrame* frame = frames_;
  if (!frame) {
    Message.Result = 0;
    return;
  }
  frame->defaulted = true;
  Message.Result = DefSubclassProc(frame->wnd, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TWindowSubclass::Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
  auto* self = reinterpret_cast<TWindowSubclass*>(Data);
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
    if (Msg == WM_NCDESTROY && self->wnd_ == Wnd) self->Detach();
  }
  // A handler that failed before passing the message on: the window still gets its default.
  if (failed && !frame.defaulted) m.Result = DefSubclassProc(Wnd, Msg, WParam, LParam);
  return m.Result;
}

}  // namespace vcl
