// Subclassing a window the library did not create (a system dialog, a popup menu window, the
// MDI client): comctl32's window subclassing chains the procedures, so removing one never
// breaks a subclass installed after it, and nothing is patched into code (x86-64 safe).
#pragma once

#include "classlib/controls/Messages.h"

namespace vcl {

class TWindowSubclass {
 public:
  TWindowSubclass() = default;
  TWindowSubclass(HWND Wnd, TWndMethod Method) { Attach(Wnd, Method); }
  ~TWindowSubclass() { Detach(); }
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts Method in front of the window's procedures (a second Attach moves it). False when
  // the window does not exist or belongs to another thread.
  bool Attach(HWND Wnd, TWndMethod Method);
  // Takes Method out of the chain (also done when the window is destroyed).
  void Detach();
  HWND Handle() const { return wnd_; }
  bool Attached() const { return wnd_ != nullptr; }

  // Passes the message to the procedures below this one; its answer goes into Result.
  void CallDefault(TMessage& Message) const;

 private:
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id, DWORD_PTR Data);

  HWND wnd_ = nullptr;
  TWndMethod method_;
};

}  // namespace vcl
