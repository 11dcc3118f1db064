// The tip window of a skinned form (its InfoWindow): a small system tip that names the caption
// button under the mouse, shown below it. The form hides it when the button is left, when the
// form deactivates or loses its skin.
#pragma once

#include <windows.h>

#include "classlib/rtl/SysUtils.h"

namespace winskin {

// The name of a menu item's text: without its shortcut (after a tab), its accelerator in
// brackets as East Asian menus write it ("(&C)") and its accelerator marks.
vcl::String MenuItemName(vcl::StringView Text);

class TInfoWindow {
 public:
  TInfoWindow() = default;
  ~TInfoWindow();
  TInfoWindow(const TInfoWindow&) = delete;
  TInfoWindow& operator=(const TInfoWindow&) = delete;

  // Shows Text with its top-left corner at a screen point (the window is made on first use,
  // owned by Owner).
  void Show(HWND Owner, const vcl::String& Text, POINT At);
  void Hide();
  bool Shown() const { return shown_; }
  const vcl::String& Text() const { return text_; }
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  vcl::String text_;
  bool shown_ = false;
};

}  // namespace winskin
