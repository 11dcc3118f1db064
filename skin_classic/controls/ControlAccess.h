// The skinners stand in for a control's own mouse handling: they call its Click and
// MouseDown, which the class library keeps for the control and its descendants. A member
// pointer formed through a derived class reaches them (virtually, as the control would).
#pragma once

#include "classlib/controls/Controls.h"

namespace winskin {

struct TControlAccess : vcl::TControl {
  TControlAccess() = delete;

  static void CallClick(vcl::TControl* Control) {
    void (vcl::TControl::*click)() = &TControlAccess::Click;
    (Control->*click)();
  }
  static void CallMouseDown(vcl::TControl* Control, vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    void (vcl::TControl::*down)(vcl::TMouseButton, vcl::TShiftState, int, int) = &TControlAccess::MouseDown;
    (Control->*down)(Button, Shift, X, Y);
  }
};

}  // namespace winskin
