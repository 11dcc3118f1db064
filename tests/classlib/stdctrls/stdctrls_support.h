// Shared by the standard-control tests: a shown form to put controls on, the clipboard's text,
// and event counters.
#pragma once

#include <memory>

#include "classlib/controls/controls_support.h"

namespace vcl::testing {

using FormPtr = std::unique_ptr<TForm, void (*)(TForm*)>;

// A shown form of a known client size (white, so painted controls stand out).
inline FormPtr ShownForm(int w = 400, int h = 300) {
  auto* f = new TForm(nullptr, 0);
  f->SetClientSize(w, h);
  f->Show();
  return {f, [](TForm* p) { TObject::Free(p); }};
}

// The text on the clipboard (empty when there is none).
inline String ClipboardText() {
  String text;
  for (int attempt = 0; attempt < 10 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

inline void ClearClipboard() {
  for (int attempt = 0; attempt < 10 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
  EmptyClipboard();
  CloseClipboard();
}

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
