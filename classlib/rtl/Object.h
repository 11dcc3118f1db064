// The root of the class hierarchy, its class information (name, parent, factory, published
// properties) and the registry of classes by name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "classlib/rtl/LiveCounts.h"
#include "classlib/rtl/Method.h"
#include "classlib/rtl/SysUtils.h"

namespace vcl {

class TObject;
class TComponent;
struct TClassInfo;
class TPropertyList;

// Kinds of published properties, as the library names them.
enum class TTypeKind {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod,
  tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64,
  tkDynArray, tkUString
};

// An enumeration type: identifiers in ordinal order ("alNone", "alTop", ...). Boolean is
// the enumeration ("False", "True").
struct TEnumTypeInfo {
  StringView Name;
  std::vector<StringView> Names;

  int IndexOf(StringView ident) const;  // case-insensitive; -1 when unknown
};

// An integer type with identifiers for some values (TColor's "clRed", TCursor's
// "crHandPoint"): used when reading and writing property values as text.
struct TIntegerTypeInfo {
  StringView Name;
  bool (*IdentToInt)(StringView ident, int64_t& value) = nullptr;
  bool (*IntToIdent)(int64_t value, String& ident) = nullptr;
};

const TEnumTypeInfo& BooleanTypeInfo();

namespace detail {
// An enumeration's identifiers as the preprocessor spells them ("alNone, alTop"), split.
std::vector<StringView> SplitEnumNames(StringView List);
constexpr bool PlainEnumList(StringView List) { return List.find(L'=') == StringView::npos; }
}  // namespace detail

// A published enumeration, its identifiers written once: VCL_ENUM(TAlign, alNone, alTop)
// declares `enum class TAlign { alNone, alTop }` and EnumTypeInfo(TAlign), whose names are
// the identifiers as text ("alNone", "alTop"). Values count from 0, as the names' order
// says. Bring the identifiers into scope with `using enum` where wanted.
#define VCL_ENUM(Type, ...)                                                                     \
  enum class Type { __VA_ARGS__ };                                                              \
  static_assert(::vcl::detail::PlainEnumList(L## #__VA_ARGS__), #Type ": identifiers only");   \
  [[maybe_unused]] inline const ::vcl::TEnumTypeInfo& EnumTypeInfo(Type) {                      \
    static const ::vcl::TEnumTypeInfo info{L## #Type, ::vcl::detail::SplitEnumNames(L## #__VA_ARGS__)}; \
    return info;                                                                                \
  }

// One published property. The accessors of the property's kind are set; a missing setter
// makes the property read-only.
struct TPropInfo {
  StringView Name;
  TTypeKind Kind = TTypeKind::tkUnknown;
  const TEnumTypeInfo* EnumType = nullptr;       // tkEnumeration; element type of a tkSet
  const TIntegerTypeInfo* IntType = nullptr;     // optional, tkInteger
  const TClassInfo* PropClass = nullptr;         // tkClass: the declared class
  const std::type_info* EventType = nullptr;     // tkMethod: the event's signature

  int64_t (*GetOrd)(const TObject*) = nullptr;
  void (*SetOrd)(TObject*, int64_t) = nullptr;
  double (*GetFloat)(const TObject*) = nullptr;
  void (*SetFloat)(TObject*, double) = nullptr;
  String (*GetStr)(const TObject*) = nullptr;
  void (*SetStr)(TObject*, const String&) = nullptr;
  TObject* (*GetObj)(const TObject*) = nullptr;
  void (*SetObj)(TObject*, TObject*) = nullptr;
  TMethod (*GetMethod)(const TObject*) = nullptr;
  void (*SetMethod)(TObject*, const TMethod&) = nullptr;

  std::optional<int64_t> Default;                // ordinal kinds: not stored when equal
  bool (*Stored)(const TObject*) = nullptr;       // nullptr: stored

  bool IsOrdinal() const {
    return Kind == TTypeKind::tkInteger || Kind == TTypeKind::tkEnumeration ||
           Kind == TTypeKind::tkSet || Kind == TTypeKind::tkChar || Kind == TTypeKind::tkWChar ||
           Kind == TTypeKind::tkInt64;
  }
};

// A published method: an event handler that form descriptions name ("OnClick = btn2Click").
// Bind makes the method pointer for one instance of the declaring class (or a descendant).
struct TMethodInfo {
  StringView Name;
  TMethod (*Bind)(TObject* instance) = nullptr;
};

// Class information: what the library calls a class reference.
struct TClassInfo {
  StringView Name;
  const TClassInfo* Parent = nullptr;
  // Creates an instance with an owner; set for classes constructible from an owner.
  TObject* (*Create)(TComponent* owner) = nullptr;
  std::vector<TPropInfo> OwnProps;   // declared or redeclared by this class
  std::vector<TMethodInfo> OwnMethods;  // published methods declared by this class

  bool InheritsFrom(const TClassInfo& ancestor) const;
  // Case-insensitive lookup; a redeclaration in a descendant hides the ancestor's.
  const TPropInfo* FindProp(StringView name) const;
  // All published properties, ancestors' first, redeclared ones in their first place.
  std::vector<const TPropInfo*> AllProps() const;
  // Case-insensitive lookup of a published method, descendants first.
  const TMethodInfo* FindMethod(StringView name) const;
};

// Registry of classes by name (for form streaming and class references). winuser.h has a
// RegisterClass macro: the declaration drops it, and VCL_CLASS_INFO registers through a
// name no macro touches, so including windows.h before or after this header is safe.
#ifdef RegisterClass
#undef RegisterClass
#endif
void RegisterClass(const TClassInfo& cls);
namespace detail {
inline void RegisterClassInfo(const TClassInfo& cls) { ::vcl::RegisterClass(cls); }
}  // namespace detail
const TClassInfo* FindClassInfo(StringView name);     // nullptr when unregistered
const TClassInfo& GetClassInfo(StringView name);      // raises EClassNotFound

class TObject {
 public:
  TObject() noexcept { detail::CountLive(TLiveKind::Objects, 1); }
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() { detail::CountLive(TLiveKind::Objects, -1); }

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  String ClassName() const { return String(ClassType().Name); }
  bool InheritsFrom(const TClassInfo& ancestor) const { return ClassType().InheritsFrom(ancestor); }
  template <class T>
  bool InheritsFrom() const { return InheritsFrom(T::StaticClass()); }

  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}

  // Deletes an object allocated with new (nil-safe), running BeforeDestruction first.
  static void Free(TObject* obj);
};

// Creates an object the way the library does: construct, then AfterConstruction.
template <class T, class... Args>
T* Construct(Args&&... args) {
  T* obj = new T(std::forward<Args>(args)...);
  // An object whose construction fails is freed again, as when its constructor raises.
  try {
    obj->AfterConstruction();
  } catch (...) {
    TObject::Free(obj);
    throw;
  }
  return obj;
}

template <class T>
void FreeAndNil(T*& obj) {
  T* tmp = obj;
  obj = nullptr;
  TObject::Free(tmp);
}

// ---------------------------------------------------------------------------------------
// Declaring classes and their published properties.
//
// In the class body:     VCL_CLASS(TEdit, TCustomEdit)
// In one source file:    VCL_CLASS_INFO(TEdit) { p.String<&TEdit::GetText, &TEdit::SetText>(L"Text"); ... }
// The body fills `p`, a TPropertyList, like a table of the class's published properties.

namespace detail {

template <class T>
TObject* CreateWithOwner(TComponent* owner) {
  if constexpr (std::is_constructible_v<T, TComponent*>) {
    return Construct<T>(owner);
  } else {
    (void)owner;
    return nullptr;
  }
}

// Accessor adaptors: a member data pointer, a getter `V (C::*)() const` or a setter
// `void (C::*)(V)` / `void (C::*)(const V&)`.
template <class T>
struct MemberTraits;
template <class C, class V>
  requires(!std::is_function_v<V>)
struct MemberTraits<V C::*> {
  using Class = C;
  using Value = std::remove_cvref_t<V>;
  template <V C::*M>
  static Value Get(const C* c) { return c->*M; }
  template <V C::*M>
  static void Set(C* c, Value v) { c->*M = std::move(v); }
};
template <class C, class V>
struct MemberTraits<V (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<V>;
  template <V (C::*M)() const>
  static Value Get(const C* c) { return (c->*M)(); }
};
template <class C, class V>
struct MemberTraits<V (C::*)()> {
  using Class = C;
  using Value = std::remove_cvref_t<V>;
  template <V (C::*M)()>
  static Value Get(const C* c) { return (const_cast<C*>(c)->*M)(); }
};
template <class C, class V>
struct MemberTraits<void (C::*)(V)> {
  using Class = C;
  using Value = std::remove_cvref_t<V>;
  template <void (C::*M)(V)>
  static void Set(C* c, Value v) { (c->*M)(std::move(v)); }
};

template <auto M>
struct Member {
  using Traits = MemberTraits<decltype(M)>;
  using Class = typename Traits::Class;
  using Value = typename Traits::Value;
  static Value Get(const Class* c) { return Traits::template Get<M>(c); }
  static void Set(Class* c, Value v) { Traits::template Set<M>(c, std::move(v)); }
};

template <class V>
int64_t ToOrd(const V& v) {
  if constexpr (std::is_enum_v<V>) {
    return static_cast<int64_t>(v);
  } else if constexpr (std::is_integral_v<V>) {
    return static_cast<int64_t>(v);
  } else {
    return v.ToInt();  // sets
  }
}
template <class V>
V FromOrd(int64_t v) {
  if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
    return static_cast<V>(v);
  } else {
    return V::FromInt(v);
  }
}

}  // namespace detail

// Builds a class's published property table. Getter/setter template arguments are member
// pointers (data members, const getters, setters); pass nullptr as the setter for a
// read-only property.
class TPropertyList {
 public:
  explicit TPropertyList(std::vector<TPropInfo>& props, std::vector<TMethodInfo>* methods = nullptr)
      : props_(props), methods_(methods) {}

  template <auto G, auto S = G>
  TPropInfo& Integer(StringView name, std::optional<int64_t> def = std::nullopt,
                     const TIntegerTypeInfo* type = nullptr) {
    TPropInfo& p = Ordinal<G, S>(name, TTypeKind::tkInteger);
    p.Default = def;
    p.IntType = type;
    return p;
  }
  template <auto G, auto S = G>
  TPropInfo& Bool(StringView name, std::optional<bool> def = std::nullopt) {
    TPropInfo& p = Ordinal<G, S>(name, TTypeKind::tkEnumeration);
    p.EnumType = &BooleanTypeInfo();
    if (def) p.Default = *def ? 1 : 0;
    return p;
  }
  template <auto G, auto S = G>
  TPropInfo& Enum(StringView name, const TEnumTypeInfo& type, std::optional<int64_t> def = std::nullopt) {
    TPropInfo& p = Ordinal<G, S>(name, TTypeKind::tkEnumeration);
    p.EnumType = &type;
    p.Default = def;
    return p;
  }
  // The property's type is a VCL_ENUM: its names come with it.
  template <auto G, auto S = G>
  TPropInfo& Enum(StringView name, std::optional<int64_t> def = std::nullopt) {
    return Enum<G, S>(name, EnumTypeInfo(typename detail::Member<G>::Value{}), def);
  }
  template <auto G, auto S = G>
  TPropInfo& Set(StringView name, const TEnumTypeInfo& element, std::optional<int64_t> def = std::nullopt) {
    TPropInfo& p = Ordinal<G, S>(name, TTypeKind::tkSet);
    p.EnumType = &element;
    p.Default = def;
    return p;
  }
  // A set of a VCL_ENUM: the element names come with it.
  template <auto G, auto S = G>
  TPropInfo& Set(StringView name, std::optional<int64_t> def = std::nullopt) {
    return Set<G, S>(name, EnumTypeInfo(typename detail::Member<G>::Value::Element{}), def);
  }
  template <auto G, auto S = G>
  TPropInfo& Float(StringView name) {
    using Acc = detail::Member<G>;
    using C = typename Acc::Class;
    TPropInfo& p = Add(name, TTypeKind::tkFloat);
    p.GetFloat = [](const TObject* o) -> double { return detail::Member<G>::Get(static_cast<const C*>(o)); };
    if constexpr (!std::is_same_v<decltype(S), std::nullptr_t>) {
      using SC = typename detail::Member<S>::Class;
      p.SetFloat = [](TObject* o, double v) {
        detail::Member<S>::Set(static_cast<SC*>(o), static_cast<typename detail::Member<S>::Value>(v));
      };
    }
    return p;
  }
  template <auto G, auto S = G>
  TPropInfo& String(StringView name) {
    using C = typename detail::Member<G>::Class;
    TPropInfo& p = Add(name, TTypeKind::tkUString);
    p.GetStr = [](const TObject* o) -> vcl::String { return detail::Member<G>::Get(static_cast<const C*>(o)); };
    if constexpr (!std::is_same_v<decltype(S), std::nullptr_t>) {
      using SC = typename detail::Member<S>::Class;
      p.SetStr = [](TObject* o, const vcl::String& v) { detail::Member<S>::Set(static_cast<SC*>(o), v); };
    }
    return p;
  }
  // An object-valued property: a nested persistent (its setter usually assigns), a string
  // list, a collection or a reference to a component.
  template <auto G, auto S = G>
  TPropInfo& Object(StringView name, const TClassInfo& declared) {
    using C = typename detail::Member<G>::Class;
    TPropInfo& p = Add(name, TTypeKind::tkClass);
    p.PropClass = &declared;
    p.GetObj = [](const TObject* o) -> TObject* { return detail::Member<G>::Get(static_cast<const C*>(o)); };
    if constexpr (!std::is_same_v<decltype(S), std::nullptr_t>) {
      using SC = typename detail::Member<S>::Class;
      using V = typename detail::Member<S>::Value;
      p.SetObj = [](TObject* o, TObject* v) {
        detail::Member<S>::Set(static_cast<SC*>(o), dynamic_cast<V>(v));
      };
    }
    return p;
  }
  // An event: a data member of type Event<Sig>.
  template <auto M>
  TPropInfo& Event(StringView name) {
    using Acc = detail::Member<M>;
    using C = typename Acc::Class;
    using E = typename Acc::Value;
    TPropInfo& p = Add(name, TTypeKind::tkMethod);
    p.EventType = &typeid(typename EventSig<E>::type);
    p.GetMethod = [](const TObject* o) -> TMethod { return Acc::Get(static_cast<const C*>(o)).Raw(); };
    p.SetMethod = [](TObject* o, const TMethod& m) { Acc::Set(static_cast<C*>(o), E::FromRaw(m)); };
    return p;
  }

  // A published method (event handler), e.g. p.Method<&Tfrmmain::btn2Click>(L"btn2Click");
  // VCL_METHOD(Tfrmmain, btn2Click) says the same with the name written once.
  template <auto Fn>
  void Method(StringView name) {
    if (methods_) methods_->push_back(TMethodInfo{name, &BindMethod<Fn>});
  }

  // Redeclares an inherited property with another default (or makes it stored always).
  TPropInfo& ChangeDefault(const TClassInfo& base, StringView name, std::optional<int64_t> def);
  // Publishes a property declared (unpublished) elsewhere, e.g. by a helper of the base.
  TPropInfo& Add(TPropInfo info);

 private:
  template <class E>
  struct EventSig;
  template <class Sig>
  struct EventSig<vcl::Event<Sig>> {
    using type = Sig;
  };

  template <class F>
  struct MethodSig;
  template <class C, class R, class... A>
  struct MethodSig<R (C::*)(A...)> {
    using Class = C;
    using type = R(A...);
  };
  // The thunk is the one Event::Bind makes, so a handler bound in code compares equal.
  template <auto Fn>
  static TMethod BindMethod(TObject* instance) {
    using S = MethodSig<decltype(Fn)>;
    return vcl::Event<typename S::type>::template Bind<Fn>(static_cast<typename S::Class*>(instance)).Raw();
  }

  TPropInfo& Add(StringView name, TTypeKind kind) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    return Add(std::move(p));
  }

  template <auto G, auto S>
  TPropInfo& Ordinal(StringView name, TTypeKind kind) {
    using C = typename detail::Member<G>::Class;
    using V = typename detail::Member<G>::Value;
    TPropInfo& p = Add(name, kind);
    p.GetOrd = [](const TObject* o) -> int64_t {
      return detail::ToOrd<V>(detail::Member<G>::Get(static_cast<const C*>(o)));
    };
    if constexpr (!std::is_same_v<decltype(S), std::nullptr_t>) {
      using SC = typename detail::Member<S>::Class;
      using SV = typename detail::Member<S>::Value;
      p.SetOrd = [](TObject* o, int64_t v) { detail::Member<S>::Set(static_cast<SC*>(o), detail::FromOrd<SV>(v)); };
    }
    return p;
  }

  std::vector<TPropInfo>& props_;
  std::vector<TMethodInfo>* methods_ = nullptr;
};

// Builds class information once, on first use (no static-initialisation order issues).
template <class T>
TClassInfo MakeClassInfo(StringView name, const TClassInfo* parent, void (*declare)(TPropertyList&)) {
  TClassInfo info;
  info.Name = name;
  info.Parent = parent;
  if constexpr (!std::is_abstract_v<T>) info.Create = &detail::CreateWithOwner<T>;
  if (declare) {
    TPropertyList list(info.OwnProps, &info.OwnMethods);
    declare(list);
  }
  return info;
}

}  // namespace vcl

// First in the class body: the class information members (public). State the access of the
// members that follow, as in any class.
#define VCL_CLASS(Class, Base)                                                     \
 public:                                                                           \
  using inherited = Base;                                                          \
  static const ::vcl::TClassInfo& StaticClass();                                   \
  const ::vcl::TClassInfo& ClassType() const override { return StaticClass(); }    \
  static void DeclareProperties(::vcl::TPropertyList& p);

// In one source file, followed by the body of DeclareProperties (`p` is the list). The
// class is registered by name when its information is first built; call
// Class::StaticClass() at start-up (or RegisterClasses) for classes created by name.
#define VCL_CLASS_INFO(Class)                                                                \
  const ::vcl::TClassInfo& Class::StaticClass() {                                            \
    static const ::vcl::TClassInfo info = [] {                                               \
      auto i = ::vcl::MakeClassInfo<Class>(L## #Class, &Class::inherited::StaticClass(),    \
                                           &Class::DeclareProperties);                       \
      return i;                                                                              \
    }();                                                                                     \
    static const bool registered = (::vcl::detail::RegisterClassInfo(info), true);          \
    (void)registered;                                                                        \
    return info;                                                                             \
  }                                                                                          \
  void Class::DeclareProperties([[maybe_unused]] ::vcl::TPropertyList& p)

// In a DeclareProperties body: publishes Class::Name under its own name.
#define VCL_METHOD(Class, Name) p.Method<&Class::Name>(L## #Name)
