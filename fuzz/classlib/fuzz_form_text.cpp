// Form-description parser on any bytes: it either parses or raises EReadError; the strings
// and floats it finds read back unchanged from the writer's spelling of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "classlib/streaming/FormText.h"

namespace {

using vcl::filer::Value;

// Parses one property value written as the writer would write it.
const Value& Reparse(const std::string& spelled, vcl::filer::ObjectNode& holder) {
  holder = vcl::filer::ParseFormText("object a: T\n  X = " + spelled + "\nend\n", L"again");
  return holder.props.at(0).value;
}

void CheckValue(const Value& v, int budget) {
  if (budget <= 0) return;
  vcl::filer::ObjectNode holder;
  if (v.kind == Value::Kind::Str && Reparse(vcl::filer::QuoteString(v.text), holder).text != v.text) std::abort();
  if (v.kind == Value::Kind::Float && Reparse(vcl::filer::FormatFloat(v.real), holder).real != v.real) std::abort();
  for (const Value& item : v.list) CheckValue(item, budget - 1);
}

void CheckObject(const vcl::filer::ObjectNode& node, int budget) {
  if (budget <= 0) return;
  for (const auto& p : node.props) CheckValue(p.value, 4);
  for (const auto& child : node.children) CheckObject(child, budget - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    CheckObject(vcl::filer::ParseFormText(text, L"fuzz"), 8);
  } catch (const vcl::EReadError&) {
  }
  return 0;
}
