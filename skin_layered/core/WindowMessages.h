// Window messages that more than one layer of the layered engine sends or answers and that the
// system headers do not name: the task bar's request for a window's system menu, and the region
// query a skinned window is sent before its region is set (a window that keeps a region of its
// own answers the query's value back), and the class of the system's popup-menu windows.
// Each layer's own private numbers stay in its files.
#pragma once

#include <windows.h>

namespace skin_layered {

// A right click on the window's task-bar button: the window menu is asked for (undocumented).
inline constexpr UINT kTaskbarMenuRequest = 0x0313;
// The region query, its WParam, and the answer of a window that keeps its own region.
inline constexpr UINT kRegionQueryMessage = 48205;
inline constexpr WPARAM kRegionQueryValue = 16802;
// The window class of the system's popup menus.
inline constexpr wchar_t kPopupMenuClass[] = L"#32768";

}  // namespace skin_layered
