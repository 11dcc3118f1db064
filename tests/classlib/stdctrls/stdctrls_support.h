// Shared by the standard-control tests: the clipboard's text, event counters and clicks.
#pragma once

#include "classlib/controls/controls_support.h"

namespace vcl::testing {

using wintest::ClearClipboard;
using wintest::ClipboardText;

// Counts the notifications of one event and remembers the sender.
struct Counter {
  int count = 0;
  TObject* sender = nullptr;
  void Handle(TObject* Sender) {
    ++count;
    sender = Sender;
  }
  TNotifyEvent Event() { return TNotifyEvent::Bind<&Counter::Handle>(this); }
};

// Sends a left click at a client point of a window (down and up), as the mouse would.
inline void ClickAt(HWND wnd, int x, int y) {
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(x, y));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(x, y));
}

inline String WindowClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

}  // namespace vcl::testing
