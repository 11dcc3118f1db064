// Method pointers: an object and one of its methods, stored as two words so they can be
// compared, saved, replaced and restored (events, window procedures).
#pragma once

#include <cstddef>
#include <functional>
#include <typeinfo>

namespace vcl {

class TObject;

// The untyped pair, as event properties are read and written by name.
struct TMethod {
  void* Code = nullptr;   // the thunk that calls the method
  void* Data = nullptr;   // the object
  const std::type_info* Signature = nullptr;  // the event type, checked when assigned by name

  explicit operator bool() const { return Code != nullptr; }
  bool operator==(const TMethod& o) const { return Code == o.Code && Data == o.Data; }
};

template <class Sig>
class Event;

// Event<R(A...)>: a method of some object taking A... and returning R.
//   auto e = Event<void(TObject*)>::Bind<&TMyForm::Button1Click>(form);
//   if (e) e(sender);
template <class R, class... A>
class Event<R(A...)> {
  using Thunk = R (*)(void*, A...);

 public:
  Event() = default;
  Event(std::nullptr_t) {}

  // Binds a member function of an object; each (class, method) pair gets one thunk, so two
  // events bound to the same method of the same object compare equal.
  template <auto Fn, class C>
  static Event Bind(C* obj) {
    Event e;
    e.code_ = [](void* self, A... args) -> R { return (static_cast<C*>(self)->*Fn)(args...); };
    e.data_ = obj;
    return e;
  }

  // A plain function taking the data pointer first (for handlers that are not methods).
  static Event FromFunction(R (*fn)(void*, A...), void* data) {
    Event e;
    e.code_ = fn;
    e.data_ = data;
    return e;
  }

  R operator()(A... args) const { return code_(data_, args...); }
  explicit operator bool() const { return code_ != nullptr; }
  bool operator==(const Event& o) const { return code_ == o.code_ && data_ == o.data_; }
  bool operator==(std::nullptr_t) const { return code_ == nullptr; }

  void* Data() const { return data_; }

  TMethod Raw() const {
    return TMethod{reinterpret_cast<void*>(code_), data_, &typeid(R(A...))};
  }
  // Returns an empty event when the method's signature is not this event's.
  static Event FromRaw(const TMethod& m) {
    Event e;
    if (m.Code && m.Signature && *m.Signature == typeid(R(A...))) {
      e.code_ = reinterpret_cast<Thunk>(m.Code);
      e.data_ = m.Data;
    }
    return e;
  }

 private:
  Thunk code_ = nullptr;
  void* data_ = nullptr;
};

using TNotifyEvent = Event<void(TObject* Sender)>;

}  // namespace vcl
