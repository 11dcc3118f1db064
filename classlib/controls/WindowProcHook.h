// Chained replacements of a control's WindowProc. Several parties (the library, two skin
// engines) may each put a method in front of a control's WindowProc, in any order, and take
// it out again in any order: a hook that is on top puts back what it found; one with a later
// hook above it unlinks itself, so the later one keeps working and now calls what lay below.
//
//   TWindowProcHook hook(control, TWndMethod::Bind<&TSkinner::WndProc>(skinner));
//   void TSkinner::WndProc(TMessage& m) { ...; hook.CallPrevious(m); ... }
#pragma once

#include "classlib/controls/Messages.h"

namespace vcl {

class TControl;

namespace detail {
struct THookLink;
// The control is going: its hooks let go of it (called by the control's destructor).
void ReleaseWindowProcHooks(TControl* Control);
}  // namespace detail

class TWindowProcHook {
 public:
  TWindowProcHook() = default;
  TWindowProcHook(TControl* Control, TWndMethod Method) { Install(Control, Method); }
  ~TWindowProcHook() { Remove(); }
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // Puts Method in front of the control's current WindowProc (a second Install moves the
  // hook to the top, possibly of another control).
  void Install(TControl* Control, TWndMethod Method);
  // Takes the hook out of the chain (also done by the destructor). When something that is not
  // a hook replaced WindowProc above this one and keeps this hook's method as its own
  // previous one, the chain cannot be mended: the hook's place stays in the chain as a plain
  // pass-through until the control goes.
  void Remove();

  bool Installed() const { return link_ != nullptr; }
  // The hooked control; nil when not installed or when the control is gone.
  TControl* Control() const;
  // True while this hook is the control's WindowProc (nothing above it).
  bool OnTop() const;
  // Passes the message to what lies below this hook. After Remove (say, from inside the
  // handler at WM_NCDESTROY) it goes to what lay below at the time of removal.
  void CallPrevious(TMessage& Message) const;

 private:
  detail::THookLink* link_ = nullptr;
  // What CallPrevious calls once the hook was removed.
  TControl* removed_control_ = nullptr;
  TWndMethod removed_previous_;
};

}  // namespace vcl
