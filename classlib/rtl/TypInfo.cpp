#include "classlib/rtl/TypInfo.h"

#include "classlib/rtl/Collection.h"
#include "classlib/rtl/Component.h"

namespace vcl {

namespace {

bool IsStringKind(TTypeKind k) {
  return k == TTypeKind::tkString || k == TTypeKind::tkLString || k == TTypeKind::tkWString ||
         k == TTypeKind::tkUString;
}

// TStrings lives with the string lists; its class is found by name so that this unit needs
// nothing else of it.
bool InheritsFromName(const TClassInfo* cls, StringView name) {
  for (; cls; cls = cls->Parent)
    if (cls->Name == name) return true;
  return false;
}

[[noreturn]] void InvalidType(const TPropInfo& Prop) {
  throw EPropertyError(L"Invalid property type: " + String(Prop.Name));
}
[[noreturn]] void ReadOnly(const TPropInfo& Prop) {
  throw EPropertyError(L"Property " + String(Prop.Name) + L" is read-only");
}

void CheckKind(const TPropInfo& Prop, bool ok) {
  if (!ok) InvalidType(Prop);
}

const TEnumTypeInfo& EnumTypeOf(const TPropInfo& Prop, TTypeKind kind) {
  if (Prop.Kind != kind || !Prop.EnumType) InvalidType(Prop);
  return *Prop.EnumType;
}

String Trimmed(StringView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= L' ') ++b;
  while (e > b && s[e - 1] <= L' ') --e;
  return String(s.substr(b, e - b));
}

}  // namespace

TPropKind PropKind(const TPropInfo& Prop) {
  switch (Prop.Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64:
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
      return Prop.IntType && Prop.IntType->Name == L"TColor" ? TPropKind::pkColor : TPropKind::pkInteger;
    case TTypeKind::tkEnumeration:
      return Prop.EnumType == &BooleanTypeInfo() ? TPropKind::pkBoolean : TPropKind::pkEnumeration;
    case TTypeKind::tkSet: return TPropKind::pkSet;
    case TTypeKind::tkFloat: return TPropKind::pkFloat;
    case TTypeKind::tkMethod: return TPropKind::pkEvent;
    case TTypeKind::tkClass:
      if (!Prop.PropClass) return TPropKind::pkObject;
      if (Prop.PropClass->InheritsFrom(TComponent::StaticClass())) return TPropKind::pkComponent;
      if (InheritsFromName(Prop.PropClass, L"TStrings")) return TPropKind::pkStrings;
      if (Prop.PropClass->InheritsFrom(TCollection::StaticClass())) return TPropKind::pkCollection;
      if (Prop.PropClass->InheritsFrom(TPersistent::StaticClass())) return TPropKind::pkPersistent;
      return TPropKind::pkObject;
    default:
      return IsStringKind(Prop.Kind) ? TPropKind::pkString : TPropKind::pkUnknown;
  }
}

const TPropInfo* GetPropInfo(const TClassInfo& Class, StringView PropName) { return Class.FindProp(PropName); }

const TPropInfo* GetPropInfo(const TObject* Instance, StringView PropName) {
  return Instance ? Instance->ClassType().FindProp(PropName) : nullptr;
}

const TPropInfo& FindPropInfo(const TObject* Instance, StringView PropName) {
  if (const TPropInfo* p = GetPropInfo(Instance, PropName)) return *p;
  throw EPropertyError(L"Property " + String(PropName) + L" does not exist");
}

std::vector<const TPropInfo*> GetPropList(const TObject* Instance) {
  return Instance ? Instance->ClassType().AllProps() : std::vector<const TPropInfo*>{};
}

bool IsPublishedProp(const TObject* Instance, StringView PropName) { return GetPropInfo(Instance, PropName) != nullptr; }

bool PropIsType(const TObject* Instance, StringView PropName, TTypeKind Kind) {
  return FindPropInfo(Instance, PropName).Kind == Kind;
}

TTypeKind PropType(const TObject* Instance, StringView PropName) { return FindPropInfo(Instance, PropName).Kind; }

bool IsStoredProp(const TObject* Instance, const TPropInfo& Prop) {
  return !Prop.Stored || Prop.Stored(Instance);
}

bool IsDefaultPropValue(const TObject* Instance, const TPropInfo& Prop) {
  if (Prop.IsOrdinal()) return Prop.Default && Prop.GetOrd && Prop.GetOrd(Instance) == *Prop.Default;
  if (IsStringKind(Prop.Kind)) return !Prop.GetStr || Prop.GetStr(Instance).empty();
  switch (Prop.Kind) {
    case TTypeKind::tkFloat: return !Prop.GetFloat || Prop.GetFloat(Instance) == 0.0;
    case TTypeKind::tkClass: return !Prop.GetObj || Prop.GetObj(Instance) == nullptr;
    case TTypeKind::tkMethod: return !Prop.GetMethod || !Prop.GetMethod(Instance);
    default: return true;
  }
}

String GetEnumName(const TEnumTypeInfo& Type, int64_t Value) {
  if (Value < 0 || static_cast<uint64_t>(Value) >= Type.Names.size()) return {};
  return String(Type.Names[static_cast<size_t>(Value)]);
}

int GetEnumValue(const TEnumTypeInfo& Type, StringView Name) { return Type.IndexOf(Trimmed(Name)); }

String SetToString(const TEnumTypeInfo& Element, int64_t Value, bool Brackets) {
  String out;
  const auto bits = static_cast<uint64_t>(Value);
  for (size_t i = 0; i < Element.Names.size() && i < 64; ++i) {
    if (!(bits & (uint64_t{1} << i))) continue;
    if (!out.empty()) out += L',';
    out += Element.Names[i];
  }
  return Brackets ? L"[" + out + L"]" : out;
}

int64_t StringToSet(const TEnumTypeInfo& Element, StringView Value) {
  String text = Trimmed(Value);
  StringView rest = text;
  if (!rest.empty() && rest.front() == L'[') {
    if (rest.back() != L']') throw EPropertyConvertError(L"Invalid property element: " + text);
    rest = rest.substr(1, rest.size() - 2);
  }
  uint64_t bits = 0;
  while (!rest.empty()) {
    const size_t comma = rest.find(L',');
    const String item = Trimmed(rest.substr(0, comma));
    rest = comma == StringView::npos ? StringView{} : rest.substr(comma + 1);
    if (item.empty()) continue;
    const int index = Element.IndexOf(item);
    if (index < 0 || index >= 64) throw EPropertyConvertError(L"Invalid property element: " + item);
    bits |= uint64_t{1} << index;
  }
  return static_cast<int64_t>(bits);
}

int64_t GetOrdProp(const TObject* Instance, const TPropInfo& Prop) {
  CheckKind(Prop, Prop.IsOrdinal() && Prop.GetOrd);
  return Prop.GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo& Prop, int64_t Value) {
  CheckKind(Prop, Prop.IsOrdinal());
  if (!Prop.SetOrd) ReadOnly(Prop);
  Prop.SetOrd(Instance, Value);
}

String GetEnumProp(const TObject* Instance, const TPropInfo& Prop) {
  return GetEnumName(EnumTypeOf(Prop, TTypeKind::tkEnumeration), GetOrdProp(Instance, Prop));
}

void SetEnumProp(TObject* Instance, const TPropInfo& Prop, StringView Value) {
  const int v = GetEnumValue(EnumTypeOf(Prop, TTypeKind::tkEnumeration), Value);
  if (v < 0) throw EPropertyConvertError(L"Invalid property element: " + String(Value));
  SetOrdProp(Instance, Prop, v);
}

String GetSetProp(const TObject* Instance, const TPropInfo& Prop, bool Brackets) {
  return SetToString(EnumTypeOf(Prop, TTypeKind::tkSet), GetOrdProp(Instance, Prop), Brackets);
}

void SetSetProp(TObject* Instance, const TPropInfo& Prop, StringView Value) {
  SetOrdProp(Instance, Prop, StringToSet(EnumTypeOf(Prop, TTypeKind::tkSet), Value));
}

String GetStrProp(const TObject* Instance, const TPropInfo& Prop) {
  CheckKind(Prop, IsStringKind(Prop.Kind) && Prop.GetStr);
  return Prop.GetStr(Instance);
}

void SetStrProp(TObject* Instance, const TPropInfo& Prop, const String& Value) {
  CheckKind(Prop, IsStringKind(Prop.Kind));
  if (!Prop.SetStr) ReadOnly(Prop);
  Prop.SetStr(Instance, Value);
}

double GetFloatProp(const TObject* Instance, const TPropInfo& Prop) {
  CheckKind(Prop, Prop.Kind == TTypeKind::tkFloat && Prop.GetFloat);
  return Prop.GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const TPropInfo& Prop, double Value) {
  CheckKind(Prop, Prop.Kind == TTypeKind::tkFloat);
  if (!Prop.SetFloat) ReadOnly(Prop);
  Prop.SetFloat(Instance, Value);
}

TObject* GetObjectProp(const TObject* Instance, const TPropInfo& Prop, const TClassInfo* MinClass) {
  CheckKind(Prop, Prop.Kind == TTypeKind::tkClass && Prop.GetObj);
  TObject* obj = Prop.GetObj(Instance);
  if (obj && MinClass && !obj->InheritsFrom(*MinClass)) return nullptr;
  return obj;
}

void SetObjectProp(TObject* Instance, const TPropInfo& Prop, TObject* Value) {
  CheckKind(Prop, Prop.Kind == TTypeKind::tkClass);
  if (!Prop.SetObj) ReadOnly(Prop);
  if (Value && Prop.PropClass && !Value->InheritsFrom(*Prop.PropClass))
    throw EPropertyError(L"Invalid property value: a " + Value->ClassName() + L" is not a " +
                         String(Prop.PropClass->Name));
  Prop.SetObj(Instance, Value);
}

TMethod GetMethodProp(const TObject* Instance, const TPropInfo& Prop) {
  CheckKind(Prop, Prop.Kind == TTypeKind::tkMethod && Prop.GetMethod);
  return Prop.GetMethod(Instance);
}

void SetMethodProp(TObject* Instance, const TPropInfo& Prop, const TMethod& Value) {
  CheckKind(Prop, Prop.Kind == TTypeKind::tkMethod);
  if (!Prop.SetMethod) ReadOnly(Prop);
  if (Value.Code && (!Value.Signature || !Prop.EventType || *Value.Signature != *Prop.EventType))
    throw EPropertyError(L"Method does not fit event " + String(Prop.Name));
  Prop.SetMethod(Instance, Value);
}

int64_t GetOrdProp(const TObject* Instance, StringView PropName) {
  return GetOrdProp(Instance, FindPropInfo(Instance, PropName));
}
void SetOrdProp(TObject* Instance, StringView PropName, int64_t Value) {
  SetOrdProp(Instance, FindPropInfo(Instance, PropName), Value);
}
String GetEnumProp(const TObject* Instance, StringView PropName) {
  return GetEnumProp(Instance, FindPropInfo(Instance, PropName));
}
void SetEnumProp(TObject* Instance, StringView PropName, StringView Value) {
  SetEnumProp(Instance, FindPropInfo(Instance, PropName), Value);
}
String GetSetProp(const TObject* Instance, StringView PropName, bool Brackets) {
  return GetSetProp(Instance, FindPropInfo(Instance, PropName), Brackets);
}
void SetSetProp(TObject* Instance, StringView PropName, StringView Value) {
  SetSetProp(Instance, FindPropInfo(Instance, PropName), Value);
}
String GetStrProp(const TObject* Instance, StringView PropName) {
  return GetStrProp(Instance, FindPropInfo(Instance, PropName));
}
void SetStrProp(TObject* Instance, StringView PropName, const String& Value) {
  SetStrProp(Instance, FindPropInfo(Instance, PropName), Value);
}
double GetFloatProp(const TObject* Instance, StringView PropName) {
  return GetFloatProp(Instance, FindPropInfo(Instance, PropName));
}
void SetFloatProp(TObject* Instance, StringView PropName, double Value) {
  SetFloatProp(Instance, FindPropInfo(Instance, PropName), Value);
}
TObject* GetObjectProp(const TObject* Instance, StringView PropName, const TClassInfo* MinClass) {
  return GetObjectProp(Instance, FindPropInfo(Instance, PropName), MinClass);
}
void SetObjectProp(TObject* Instance, StringView PropName, TObject* Value) {
  SetObjectProp(Instance, FindPropInfo(Instance, PropName), Value);
}
TMethod GetMethodProp(const TObject* Instance, StringView PropName) {
  return GetMethodProp(Instance, FindPropInfo(Instance, PropName));
}
void SetMethodProp(TObject* Instance, StringView PropName, const TMethod& Value) {
  SetMethodProp(Instance, FindPropInfo(Instance, PropName), Value);
}

}  // namespace vcl
