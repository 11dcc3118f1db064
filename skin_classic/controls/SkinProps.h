// Published properties of a skinned control read and written by name. The control skinners
// know a control only through the names it publishes ("Caption", "Font", "Glyph", "Checked",
// "State", ...), so one skinner serves every control class that publishes those names. A nil
// instance, a missing property or one of another kind gives the default.
#pragma once

#include "classlib/rtl/Object.h"
#include "classlib/rtl/SysUtils.h"

namespace winskin {

// An integer property's value (colours count as integers); -1 otherwise.
int GetOrdPropByName(const vcl::TObject* Instance, vcl::StringView Name);
// The identifier of an enumeration's or a Boolean's current value ("cbChecked", "True");
// empty otherwise.
vcl::String GetEnumPropName(const vcl::TObject* Instance, vcl::StringView Name);
// A set property's members as text ("btPlay,btStop"); empty otherwise.
vcl::String GetSetPropText(const vcl::TObject* Instance, vcl::StringView Name);
// A string property's text; empty otherwise.
vcl::String GetPropText(const vcl::TObject* Instance, vcl::StringView Name);
// An object property's value when it is a MinClass (any object without one); nil otherwise.
vcl::TObject* GetObjectPropByName(const vcl::TObject* Instance, vcl::StringView Name,
                                  const vcl::TClassInfo* MinClass = nullptr);
template <class T>
T* GetObjectPropAs(const vcl::TObject* Instance, vcl::StringView Name) {
  return static_cast<T*>(GetObjectPropByName(Instance, Name, &T::StaticClass()));
}
// By the property's kind: an enumeration or Boolean by identifier, an integer from its
// decimal text (EConvertError when the text is no number), a string as it is. Properties of
// other kinds, and missing ones, stay unchanged.
void SetPropText(vcl::TObject* Instance, vcl::StringView Name, const vcl::String& Value);

// The identifier of an ordinal property lower-cased equals "true".
bool PropIsTrue(const vcl::TObject* Instance, vcl::StringView Name);
bool HasProp(const vcl::TObject* Instance, vcl::StringView Name);
// The instance publishes an integer (or colour) property of that name.
bool HasIntegerProp(const vcl::TObject* Instance, vcl::StringView Name);

}  // namespace winskin
