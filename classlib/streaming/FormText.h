// The text of form descriptions: the tree a description parses into, its parser, and the
// spelling of values that the writer uses. Text-level code without windows.h, so it also
// builds natively, where its fuzz target runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/rtl/SysUtils.h"

namespace vcl::filer {

struct Property;

struct Value {
  enum class Kind { Integer, Float, Str, Ident, Set, List, Binary, Collection };
  Kind kind = Kind::Integer;
  int line = 0;
  int64_t integer = 0;
  double real = 0;
  String text;                                // Str, Ident
  std::vector<String> names;                  // Set
  std::vector<Value> list;                    // List
  std::vector<uint8_t> bytes;                 // Binary
  std::vector<std::vector<Property>> items;   // Collection: the properties of each item
};
using Kind = Value::Kind;

struct Property {
  String name;  // may be a path: "Font.Style"
  Value value;
  int line = 0;
};

struct ObjectNode {
  // "object" makes a new component; "inline" one that reads a description of its own first
  // (a frame); "inherited" names a component such a description made.
  enum class Kind { Object, Inline, Inherited };
  String name, className;
  Kind kind = Kind::Object;
  int line = 0;
  std::vector<Property> props;
  std::vector<ObjectNode> children;
};

// Errors that already name the source and line: "<source>(<line>): <problem>".
class EFormError : public EReadError {
 public:
  using EReadError::EReadError;
};

inline String Located(const String& source, int line, const String& problem) {
  return source + L"(" + std::to_wstring(line) + L"): " + problem;
}

// Parses a whole description (UTF-8, an optional byte-order mark); raises EFormError.
ObjectNode ParseFormText(std::string_view text, const String& source);

// Values as the writer spells them: strings quoted, with #codes for characters outside
// printable ASCII; floats in the shortest form that reads back exactly, "." as separator.
std::string QuoteString(StringView s);
std::string FormatFloat(double v);

}  // namespace vcl::filer
