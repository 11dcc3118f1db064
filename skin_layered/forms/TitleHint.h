// TqvTitleHint, the hint a title element (a title-bar item, a user title button) shows while the
// mouse rests on it: a window of the application's hint class that the element owns, or the
// hint manager's own window, which is only hidden while it still shows the element's text.
#pragma once

#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"

namespace vcl {
class THintWindow;
}

namespace skin_layered {

class TqvTitleHint {
 public:
  TqvTitleHint() = default;
  ~TqvTitleHint() { Hide(); }
  TqvTitleHint(const TqvTitleHint&) = delete;
  TqvTitleHint& operator=(const TqvTitleHint&) = delete;

  // Text at the screen point (the one shown before goes first); nothing for an empty text.
  void Show(const vcl::String& Text, vcl::TPoint At);
  void Hide();
  bool Shown() const { return window_ || managed_; }

 private:
  vcl::THintWindow* window_ = nullptr;  // owned
  bool managed_ = false;                // the hint manager's window shows Text
  vcl::String text_;
};

}  // namespace skin_layered
