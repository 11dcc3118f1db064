#include "classlib/rtl/Object.h"

#include <algorithm>
#include <map>

namespace vcl {

int TEnumTypeInfo::IndexOf(StringView ident) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], ident)) return static_cast<int>(i);
  return -1;
}

std::vector<StringView> detail::SplitEnumNames(StringView List) {
  std::vector<StringView> names;
  while (!List.empty()) {
    const size_t comma = std::min(List.find(L','), List.size());
    StringView name = List.substr(0, comma);
    while (!name.empty() && name.front() == L' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
    if (!name.empty()) names.push_back(name);
    List.remove_prefix(std::min(comma + 1, List.size()));
  }
  return names;
}

const TEnumTypeInfo& BooleanTypeInfo() {
  static const TEnumTypeInfo info{L"Boolean", {L"False", L"True"}};
  return info;
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == &ancestor) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(StringView name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const TPropInfo& p : c->OwnProps)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->Parent) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& p : (*it)->OwnProps) {
      bool replaced = false;
      for (auto& existing : out) {
        if (SameText(existing->Name, p.Name)) {
          existing = &p;
          replaced = true;
          break;
        }
      }
      if (!replaced) out.push_back(&p);
    }
  }
  return out;
}

const TMethodInfo* TClassInfo::FindMethod(StringView name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const TMethodInfo& m : c->OwnMethods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

namespace {

struct CaseInsensitiveLess {
  bool operator()(const String& a, const String& b) const { return CompareText(a, b) < 0; }
};

std::map<String, const TClassInfo*, CaseInsensitiveLess>& Registry() {
  static std::map<String, const TClassInfo*, CaseInsensitiveLess> registry;
  return registry;
}

}  // namespace

void RegisterClass(const TClassInfo& cls) { Registry()[String(cls.Name)] = &cls; }

const TClassInfo* FindClassInfo(StringView name) {
  auto& reg = Registry();
  auto it = reg.find(String(name));
  return it == reg.end() ? nullptr : it->second;
}

const TClassInfo& GetClassInfo(StringView name) {
  if (const TClassInfo* c = FindClassInfo(name)) return *c;
  throw EClassNotFound(L"Class " + String(name) + L" not found");
}

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i;
    i.Name = L"TObject";
    return i;
  }();
  return info;
}

void TObject::Free(TObject* obj) {
  if (!obj) return;
  obj->BeforeDestruction();
  delete obj;
}

TPropInfo& TPropertyList::Add(TPropInfo info) {
  for (TPropInfo& p : props_) {
    if (SameText(p.Name, info.Name)) {
      p = std::move(info);
      return p;
    }
  }
  props_.push_back(std::move(info));
  return props_.back();
}

TPropInfo& TPropertyList::ChangeDefault(const TClassInfo& base, StringView name, std::optional<int64_t> def) {
  const TPropInfo* inherited = base.FindProp(name);
  if (!inherited) throw EPropertyError(L"Property " + vcl::String(name) + L" does not exist");
  TPropInfo copy = *inherited;
  copy.Default = def;
  return Add(std::move(copy));
}

}  // namespace vcl
