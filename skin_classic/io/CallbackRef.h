// A non-owning reference to a callable: one indirect call, no allocation, no virtual
// dispatch. The callable must outlive the reference (pass lambdas straight to the call).
#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace skin_classic {

template <class Signature>
class CallbackRef;

template <class Result, class... Args>
class CallbackRef<Result(Args...)> {
 public:
  template <class Fn>
    requires(!std::is_same_v<std::remove_cvref_t<Fn>, CallbackRef> &&
             std::is_invocable_r_v<Result, Fn&, Args...>)
  CallbackRef(Fn&& fn) noexcept  // NOLINT: implicit by design, like a function pointer
      : target_(const_cast<void*>(static_cast<const void*>(std::addressof(fn)))),
        call_(&Invoke<std::remove_reference_t<Fn>>) {}

  Result operator()(Args... args) const { return call_(target_, std::forward<Args>(args)...); }

 private:
  template <class Fn>
  static Result Invoke(void* target, Args... args) {
    return std::invoke(*static_cast<Fn*>(target), std::forward<Args>(args)...);
  }

  void* target_;
  Result (*call_)(void*, Args...);
};

}  // namespace skin_classic
