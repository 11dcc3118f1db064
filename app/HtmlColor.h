// Colour values as HTML colour texts, and the text colour legible on a colour.
#pragma once

#include <cstdint>

#include "classlib/rtl/SysUtils.h"

namespace composer {

// "#" and the red, green and blue bytes of a colour value (red in the low byte) in upper-case
// hexadecimal: pure blue gives "#0000FF". The high byte is ignored.
vcl::String ColorToHtmlHex(std::int32_t color);

// The text colour that reads best on a background of the colour (red in the low byte): white
// on dark colours, black on light ones, by which of the two contrasts more with the colour's
// relative luminance. The high byte is ignored.
std::int32_t ContrastingTextColor(std::int32_t background);

}  // namespace composer
