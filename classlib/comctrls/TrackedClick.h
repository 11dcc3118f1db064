// TTrackedClick: a click on a common control that tracks the mouse itself.
#pragma once

#include <utility>

namespace vcl {

// Such a window reports the click (NM_CLICK) while it still handles the press, and eats the
// release; the control performs the release after the press, so that the click is the
// library's (OnClick, OnMouseUp).
class TTrackedClick {
 public:
  // Handles a press through Dispatch; true when the window reported a click meanwhile.
  template <class F>
  bool Press(F&& Dispatch) {
    pressing_ = true;
    clicked_ = false;
    struct Release {
      bool& pressing;
      ~Release() { pressing = false; }
    } release{pressing_};
    std::forward<F>(Dispatch)();
    return std::exchange(clicked_, false);
  }
  // The window reported a click (pressed and released without a drag).
  void Clicked() {
    if (pressing_) clicked_ = true;
  }

 private:
  bool pressing_ = false;
  bool clicked_ = false;
};

}  // namespace vcl
