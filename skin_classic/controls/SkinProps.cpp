#include "skin_classic/controls/SkinProps.h"

#include "classlib/rtl/TypInfo.h"

namespace winskin {
namespace {

const vcl::TPropInfo* Find(const vcl::TObject* Instance, vcl::StringView Name) {
  return Instance ? vcl::GetPropInfo(Instance, Name) : nullptr;
}

bool Readable(const vcl::TPropInfo* Prop) {
  return Prop && (Prop->GetOrd || Prop->GetStr || Prop->GetObj);
}
bool Writable(const vcl::TPropInfo* Prop) { return Prop && (Prop->SetOrd || Prop->SetStr); }

}  // namespace

bool HasIntegerProp(const vcl::TObject* Instance, vcl::StringView Name) {
  const vcl::TPropInfo* p = Find(Instance, Name);
  if (!Readable(p)) return false;
  const vcl::TPropKind kind = vcl::PropKind(*p);
  return kind == vcl::TPropKind::pkInteger || kind == vcl::TPropKind::pkColor;
}

int GetOrdPropByName(const vcl::TObject* Instance, vcl::StringView Name) {
  if (!HasIntegerProp(Instance, Name)) return -1;
  return static_cast<int>(vcl::GetOrdProp(Instance, *Find(Instance, Name)));
}

vcl::String GetEnumPropName(const vcl::TObject* Instance, vcl::StringView Name) {
  const vcl::TPropInfo* p = Find(Instance, Name);
  if (!Readable(p) || p->Kind != vcl::TTypeKind::tkEnumeration) return {};
  return vcl::GetEnumProp(Instance, *p);
}

vcl::String GetSetPropText(const vcl::TObject* Instance, vcl::StringView Name) {
  const vcl::TPropInfo* p = Find(Instance, Name);
  if (!Readable(p) || vcl::PropKind(*p) != vcl::TPropKind::pkSet) return {};
  return vcl::GetSetProp(Instance, *p);
}

vcl::String GetPropText(const vcl::TObject* Instance, vcl::StringView Name) {
  const vcl::TPropInfo* p = Find(Instance, Name);
  if (!Readable(p) || vcl::PropKind(*p) != vcl::TPropKind::pkString) return {};
  return vcl::GetStrProp(Instance, *p);
}

vcl::TObject* GetObjectPropByName(const vcl::TObject* Instance, vcl::StringView Name,
                                  const vcl::TClassInfo* MinClass) {
  const vcl::TPropInfo* p = Find(Instance, Name);
  if (!Readable(p) || p->Kind != vcl::TTypeKind::tkClass) return nullptr;
  return vcl::GetObjectProp(Instance, *p, MinClass);
}

void SetPropText(vcl::TObject* Instance, vcl::StringView Name, const vcl::String& Value) {
  const vcl::TPropInfo* p = Find(Instance, Name);
  if (!Writable(p)) return;
  switch (vcl::PropKind(*p)) {
    case vcl::TPropKind::pkBoolean:
    case vcl::TPropKind::pkEnumeration: vcl::SetEnumProp(Instance, *p, Value); break;
    case vcl::TPropKind::pkInteger:
    case vcl::TPropKind::pkColor: vcl::SetOrdProp(Instance, *p, vcl::StrToInt(Value)); break;
    case vcl::TPropKind::pkString: vcl::SetStrProp(Instance, *p, Value); break;
    default: break;
  }
}

bool PropIsTrue(const vcl::TObject* Instance, vcl::StringView Name) {
  return vcl::LowerCase(GetEnumPropName(Instance, Name)) == L"true";
}

bool HasProp(const vcl::TObject* Instance, vcl::StringView Name) { return Find(Instance, Name) != nullptr; }

}  // namespace winskin
