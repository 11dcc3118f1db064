#include "classlib/controls/UtilWindow.h"

#include "classlib/controls/Controls.h"

namespace vcl {

namespace {

constexpr wchar_t kUtilWindowClass[] = L"TPUtilWindow";

LRESULT CALLBACK UtilWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!method || !*method) return DefWindowProcW(wnd, msg, wp, lp);
  TMessage m{msg, wp, lp, 0};
  const TMemoryContextScope contexts;  // the pictures' DCs go when the message is done
  try {
    (*method)(m);
  } catch (...) {
    HandleControlException(nullptr);
  }
  return m.Result;
}

void RegisterUtilClass(HINSTANCE inst) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(inst, kUtilWindowClass, &wc)) return;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = UtilWindowProc;
  wc.hInstance = inst;
  wc.lpszClassName = kUtilWindowClass;
  RegisterClassExW(&wc);
}

}  // namespace

HWND AllocateHWnd(TWndMethod Method, HWND Parent) {
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  RegisterUtilClass(inst);
  const bool top_level = !Parent;
  // A pop-up style even for a message-only window: an overlapped one gets a caption and asks
  // for its minimum tracking size as it is made (under Wine, a round of monitor look-ups).
  const DWORD style = top_level || Parent == HWND_MESSAGE ? WS_POPUP : 0;
  HWND wnd = CreateWindowExW(top_level ? WS_EX_TOOLWINDOW : 0, kUtilWindowClass, L"", style, 0, 0, 0, 0, Parent, nullptr,
                             inst, nullptr);
  if (!wnd) throw EOutOfResources(L"Error creating window device context");
  detail::CountLive(TLiveKind::Windows, 1);
  SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(Method)));
  return wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
  DestroyWindow(Wnd);
  detail::CountLive(TLiveKind::Windows, -1);
  delete method;
}

}  // namespace vcl
