// TScopeExit: an action run when a scope ends, by a return or by an exception, unless it was
// dismissed first. It puts back what a scope changed (a lock taken, a flag raised, an object
// made that only a completed call hands on):
//
//   canvas->Lock();
//   const vcl::TScopeExit unlock([canvas] { canvas->Unlock(); });
//
//   auto undo = vcl::TScopeExit([form] { vcl::TObject::Free(form); });
//   form->Attach(...);   // may throw: the form goes with the exception
//   undo.Dismiss();      // attached: the caller keeps it
//
// The action runs from a destructor, so it must not throw.
#pragma once

#include <type_traits>
#include <utility>

namespace vcl {

template <class F>
class [[nodiscard]] TScopeExit {
 public:
  explicit TScopeExit(F Action) noexcept(std::is_nothrow_move_constructible_v<F>) : action_(std::move(Action)) {}
  ~TScopeExit() {
    if (armed_) action_();
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

  // The scope's work is kept: the action will not run.
  void Dismiss() noexcept { armed_ = false; }

 private:
  F action_;
  bool armed_ = true;
};

}  // namespace vcl
