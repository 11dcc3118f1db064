// The gallery's modeless property sheet of two pages, shown beside the layered page's system
// dialog, which the layered manager's dialog hook skins with its pages (the second made when
// its tab is first chosen).
#pragma once

#include <windows.h>

namespace gallery {

// Shows the sheet owned by Owner with its top-left corner at (X, Y); nil when it could not be
// made. OK or Cancel ends it.
HWND ShowPropertySheet(HWND Owner, int X, int Y);

}  // namespace gallery
