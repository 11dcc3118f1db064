// The character entities the HTML text renderer understands: a fixed table searched in order,
// each row matched by its name (letter case significant) or by its numeric form exactly.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace skin_layered {

struct THtmlEntity {
  std::wstring_view Name;     // "amp", "Eacute"; a few rows use their numeric form here too
  std::wstring_view Numeric;  // "#38": "#" and decimal digits
  wchar_t Char;               // the character it stands for (UTF-16)
};

// The character of the first row whose name or numeric form is Name, or nothing.
std::optional<wchar_t> FindHtmlEntity(std::wstring_view Name);

// Every row in table order.
std::span<const THtmlEntity> HtmlEntities();

}  // namespace skin_layered
