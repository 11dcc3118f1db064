#include "app/HtmlColor.h"

#include <cstdio>

namespace composer {

vcl::String ColorToHtmlHex(std::int32_t color) {
  const auto value = static_cast<std::uint32_t>(color);
  wchar_t text[8];
  std::swprintf(text, std::size(text), L"#%.2X%.2X%.2X", value & 0xFFu, (value >> 8) & 0xFFu,
                (value >> 16) & 0xFFu);
  return text;
}

}  // namespace composer
