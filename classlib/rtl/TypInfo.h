// Published properties read and written by name: the library's run-time type information
// routines over the class information of Object.h. Names are compared ignoring case;
// enumeration and set values convert to and from the identifiers of their types
// ("cbChecked", "[fsBold,fsItalic]", "True").
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/rtl/Object.h"

namespace vcl {

// What a published property holds, as form streaming and the skin engines tell it apart.
enum class TPropKind {
  pkUnknown,
  pkInteger,
  pkColor,        // an integer of type TColor (identifiers "clRed", ...)
  pkBoolean,
  pkEnumeration,
  pkSet,
  pkString,
  pkFloat,
  pkEvent,
  pkComponent,    // a reference to a component, stored by name
  pkStrings,      // a TStrings, stored as its lines
  pkCollection,   // a TCollection, stored as its items
  pkPersistent,   // a nested persistent object (a font, a picture), stored property by property
  pkObject,       // any other object
};
TPropKind PropKind(const TPropInfo& Prop);

// Lookup: nullptr when the class publishes no property of that name.
const TPropInfo* GetPropInfo(const TObject* Instance, StringView PropName);
const TPropInfo* GetPropInfo(const TClassInfo& Class, StringView PropName);
// Raises EPropertyError "Property <name> does not exist".
const TPropInfo& FindPropInfo(const TObject* Instance, StringView PropName);
// All published properties, ancestors' first (a redeclared one keeps its first place).
std::vector<const TPropInfo*> GetPropList(const TObject* Instance);
bool IsPublishedProp(const TObject* Instance, StringView PropName);
bool PropIsType(const TObject* Instance, StringView PropName, TTypeKind Kind);
TTypeKind PropType(const TObject* Instance, StringView PropName);  // raises when absent

// Whether a writer stores the property: its stored test, then "differs from the default"
// (ordinal properties without a default are always stored).
bool IsStoredProp(const TObject* Instance, const TPropInfo& Prop);
bool IsDefaultPropValue(const TObject* Instance, const TPropInfo& Prop);

// Identifiers of enumeration and set types. GetEnumName gives "" for a value out of range,
// GetEnumValue -1 for an unknown identifier. Set text is "a,b" (with Brackets "[a,b]");
// StringToSet accepts both and raises EPropertyConvertError for an unknown element.
String GetEnumName(const TEnumTypeInfo& Type, int64_t Value);
int GetEnumValue(const TEnumTypeInfo& Type, StringView Name);
String SetToString(const TEnumTypeInfo& Element, int64_t Value, bool Brackets = false);
int64_t StringToSet(const TEnumTypeInfo& Element, StringView Value);

// Getters and setters by property. A property of another kind raises EPropertyError
// "Invalid property type: <name>", a read-only one "Property <name> is read-only".
int64_t GetOrdProp(const TObject* Instance, const TPropInfo& Prop);
void SetOrdProp(TObject* Instance, const TPropInfo& Prop, int64_t Value);
String GetEnumProp(const TObject* Instance, const TPropInfo& Prop);
void SetEnumProp(TObject* Instance, const TPropInfo& Prop, StringView Value);
String GetSetProp(const TObject* Instance, const TPropInfo& Prop, bool Brackets = false);
void SetSetProp(TObject* Instance, const TPropInfo& Prop, StringView Value);
String GetStrProp(const TObject* Instance, const TPropInfo& Prop);
void SetStrProp(TObject* Instance, const TPropInfo& Prop, const String& Value);
double GetFloatProp(const TObject* Instance, const TPropInfo& Prop);
void SetFloatProp(TObject* Instance, const TPropInfo& Prop, double Value);
// MinClass: nullptr when the object is not of that class.
TObject* GetObjectProp(const TObject* Instance, const TPropInfo& Prop, const TClassInfo* MinClass = nullptr);
// The object must be of the property's declared class (or nullptr).
void SetObjectProp(TObject* Instance, const TPropInfo& Prop, TObject* Value);
TMethod GetMethodProp(const TObject* Instance, const TPropInfo& Prop);
// The method's signature must be the event's (an empty method clears the event).
void SetMethodProp(TObject* Instance, const TPropInfo& Prop, const TMethod& Value);

// The same by name (raising EPropertyError when the property does not exist).
int64_t GetOrdProp(const TObject* Instance, StringView PropName);
void SetOrdProp(TObject* Instance, StringView PropName, int64_t Value);
String GetEnumProp(const TObject* Instance, StringView PropName);
void SetEnumProp(TObject* Instance, StringView PropName, StringView Value);
String GetSetProp(const TObject* Instance, StringView PropName, bool Brackets = false);
void SetSetProp(TObject* Instance, StringView PropName, StringView Value);
String GetStrProp(const TObject* Instance, StringView PropName);
void SetStrProp(TObject* Instance, StringView PropName, const String& Value);
double GetFloatProp(const TObject* Instance, StringView PropName);
void SetFloatProp(TObject* Instance, StringView PropName, double Value);
TObject* GetObjectProp(const TObject* Instance, StringView PropName, const TClassInfo* MinClass = nullptr);
void SetObjectProp(TObject* Instance, StringView PropName, TObject* Value);
TMethod GetMethodProp(const TObject* Instance, StringView PropName);
void SetMethodProp(TObject* Instance, StringView PropName, const TMethod& Value);

}  // namespace vcl
