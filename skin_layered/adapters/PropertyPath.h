// Published properties of other vendors' controls reached by a dotted path
// ("ControlLook.FixedGradientFrom", "TitleFont.Color"): each step but the last names an
// object property, the last an ordinal one (a colour, a Boolean, an enumeration or a set).
// A control that lacks any step simply has no such property.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "classlib/rtl/TypInfo.h"

namespace skin_layered {

// The ordinal property at the end of Path; empty when a step is missing or not of its kind.
struct TqvPropertyRef {
  vcl::TObject* Object = nullptr;
  const vcl::TPropInfo* Info = nullptr;
  explicit operator bool() const { return Object && Info; }
};
TqvPropertyRef FindPropertyPath(vcl::TObject* Root, std::wstring_view Path);

// The value at Path; nothing when the control has no such property.
std::optional<int64_t> ReadPropertyPath(vcl::TObject* Root, std::wstring_view Path);
// Writes Value at Path when the control has it and it differs; false when it has not.
bool WritePropertyPath(vcl::TObject* Root, std::wstring_view Path, int64_t Value);

// Each property's own value before the adapter changed it, put back exactly.
class TqvSavedProperties {
 public:
  // Keeps the value at Path (nothing when the control lacks it; a second save of a path
  // keeps the first).
  void Save(vcl::TObject* Root, std::wstring_view Path);
  std::optional<int64_t> Saved(std::wstring_view Path) const;
  // Every kept value written back, in the order saved.
  void Restore(vcl::TObject* Root) const;
  void Clear() { values_.clear(); }

 private:
  std::vector<std::pair<std::wstring_view, int64_t>> values_;
};

}  // namespace skin_layered
