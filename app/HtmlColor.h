// Colour values as HTML colour texts.
#pragma once

#include <cstdint>

#include "classlib/rtl/SysUtils.h"

namespace composer {

// "#" and the red, green and blue bytes of a colour value (red in the low byte) in upper-case
// hexadecimal: pure blue gives "#0000FF". The high byte is ignored.
vcl::String ColorToHtmlHex(std::int32_t color);

}  // namespace composer
