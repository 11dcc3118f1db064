// Subclassing a window the library did not create (a system dialog, a popup menu window, the
// MDI client): every subclassed window gets one procedure of ours, set once with
// SetWindowLongPtr, that runs the window's subclasses in order and ends with the procedure
// found before it. The chains live in the process, so a message costs no window-property
// lookup. Removing a subclass from any place in the chain never breaks one installed before
// or after it, and nothing is patched into code (x86-64 safe). Every replacement of a foreign
// window's procedure goes through here; nothing writes GWLP_WNDPROC back by hand.
//
// When the last subclass goes, the window's first procedure is put back only while ours is
// still the window's procedure. Under a procedure someone set with SetWindowLongPtr since,
// ours stays as a pass-through (until the window goes) instead of cutting that procedure off.
// The window's destruction detaches every subclass and forgets the window (its handle value
// may come back for another window).
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

  // Puts Method in front of the window's subclasses (a second Attach moves it). False when
  // the window does not exist or belongs to another thread.
  bool Attach(HWND Wnd, TWndMethod Method);
  // Takes Method out of the chain (also done when the window is destroyed). The handler may
  // detach, or even free this object, while it runs.
  void Detach();
  HWND Handle() const { return wnd_; }
  bool Attached() const { return wnd_ != nullptr; }

  // From inside the handler: passes the message to the procedures below this one; its
  // answer goes into Result. Works after a Detach made by the same handler call; outside a
  // handler call there is nothing below to call and Result becomes 0.
  void CallDefault(TMessage& Message) const;

 private:
  struct TChain;  // one window's subclasses
  struct TLink;   // one subclass's place in a chain
  struct TFrame;  // one running call of the handler (calls nest when the handler sends messages)

  friend class TSubclassChains;

  // The procedure every subclassed window gets.
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  // Passes the message to the first subclass still attached below Above (from the top when
  // Above is null), or to the window's first procedure when none is left.
  static LRESULT CallBelow(TChain& Chain, const TLink* Above, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  // Once no call runs the chain: drops detached links and, with none left, puts the first
  // procedure back where that is safe.
  static void Settle(TChain& Chain, HWND Wnd);
  LRESULT Run(TChain& Chain, TLink& Link, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  HWND wnd_ = nullptr;
  TLink* link_ = nullptr;
  TWndMethod method_;
  TFrame* frames_ = nullptr;
};

}  // namespace vcl
