// Putting a text on the clipboard.
#pragma once

#include <windows.h>

#include "classlib/rtl/SysUtils.h"

namespace composer {

// Replaces the clipboard's contents with Text (Unicode text); false when the clipboard could
// not be opened or the memory not allocated.
bool PutTextOnClipboard(HWND Owner, vcl::StringView Text);

}  // namespace composer
