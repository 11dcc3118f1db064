// What the adapter of a popup-menu window needs of the skinned menus, which lie above the core
// and fill these in when they start: whether a skinned popup item was drawn, the ready
// background image of a popup window, the menu items' image cache, and the popups' opacity.
// Until they are filled nothing is cached and popups are opaque.
#pragma once

#include <windows.h>

namespace vcl {
class TBitmap;
}

namespace skin_layered {

struct TqvPopupMenuLinks {
  // The ready background image of a popup-menu window (as large as the window, its frame
  // included); nil when none.
  vcl::TBitmap* (*PopupImage)(HWND MenuWnd) = nullptr;
  // Empties the menu items' image cache.
  void (*ClearMenuCache)() = nullptr;
  // The popups' opacity, 255 opaque.
  int (*PopupAlpha)() = nullptr;
};
TqvPopupMenuLinks& PopupMenuLinks();

// Set by the skinned menus when they draw a popup item, cleared when a menu starts and when a
// popup window goes.
bool SkinnedPopupShown();
void SetSkinnedPopupShown(bool Value);

}  // namespace skin_layered
