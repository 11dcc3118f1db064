// Subclassing a window the library did not create (a system dialog, a popup menu window, the
// MDI client): comctl32's window subclassing chains the procedures, so removing one from any
// place in the chain never breaks a subclass installed before or after it, and nothing is
// patched into code (x86-64 safe). Every replacement of a foreign window's procedure goes
// through here; nothing writes GWLP_WNDPROC back by hand.
//
// comctl32 puts the window's first procedure back when its last subclass goes, even over a
// procedure someone set with SetWindowLongPtr since. So a subclass detached while such a
// procedure lies over the chain stays in it as a pass-through (until the window goes)
// instead of cutting that procedure off.
#pragma once

#include "classlib/controls/Messages.h"

namespace vcl {

class TWindowSubclass {
 public:
  TWindowSubclass() = default;
  TWindowSubclass(HWND Wnd, TWndMethod Method) { Attach(Wnd, Method); }
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts Method in front of the window's procedures (a second Attach moves it). False when
  // the window does not exist or belongs to another thread.
  bool Attach(HWND Wnd, TWndMethod Method);
  // Takes Method out of the chain (also done when the window is destroyed). The handler may
  // detach, or even free this object, while it runs. Under a procedure set over the chain
  // by SetWindowLongPtr the subclass stays as a pass-through that no longer calls Method.
  void Detach() { Detach(false); }
  HWND Handle() const { return wnd_; }
  bool Attached() const { return wnd_ != nullptr; }

  // From inside the handler: passes the message to the procedures below this one; its
  // answer goes into Result. Works after a Detach made by the same handler call; outside a
  // handler call there is nothing below to call and Result becomes 0.
  void CallDefault(TMessage& Message) const;

 private:
  // One running call of the handler (calls nest when the handler sends messages).
  struct TFrame {
    HWND wnd;
    TFrame* outer;
    bool alive = true;      // false once the object was destroyed by the handler
    bool defaulted = false; // the procedures below were called
  };

  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id, DWORD_PTR Data);
  // WindowGoing: the window is being destroyed, nothing above the chain needs it any more.
  void Detach(bool WindowGoing);

  HWND wnd_ = nullptr;
  UINT_PTR id_ = 0;  // unique per attachment: a pass-through left behind matches no other
  TWndMethod method_;
  TFrame* frames_ = nullptr;
};

}  // namespace vcl
