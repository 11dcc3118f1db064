#include "app/HtmlColor.h"

#include <cmath>
#include <cstdio>

namespace composer {

vcl::String ColorToHtmlHex(std::int32_t color) {
  const auto value = static_cast<std::uint32_t>(color);
  wchar_t text[8];
  std::swprintf(text, std::size(text), L"#%.2X%.2X%.2X", value & 0xFFu, (value >> 8) & 0xFFu,
                (value >> 16) & 0xFFu);
  return text;
}

namespace {

// A colour channel (0..255) as linear light.
double Linear(std::uint32_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

std::int32_t ContrastingTextColor(std::int32_t background) {
  const auto value = static_cast<std::uint32_t>(background);
  const double luminance = 0.2126 * Linear(value & 0xFFu) + 0.7152 * Linear((value >> 8) & 0xFFu) +
                           0.0722 * Linear((value >> 16) & 0xFFu);
  // Contrast ratios of white and of black text on it.
  const double onWhite = 1.05 / (luminance + 0.05), onBlack = (luminance + 0.05) / 0.05;
  return onWhite > onBlack ? 0xFFFFFF : 0x000000;
}

}  // namespace composer
