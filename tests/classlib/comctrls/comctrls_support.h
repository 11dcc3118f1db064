// Shared by the common-controls and web-browser tests: shown forms and readers of what the
// system windows themselves hold.
#pragma once

#include "classlib/controls/controls_support.h"
#include "classlib/streaming/Filer.h"

#include <commctrl.h>

namespace vcl::testing {

inline String WindowClassName(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

inline LONG_PTR StyleOf(HWND wnd) { return GetWindowLongPtrW(wnd, GWL_STYLE); }

// Clicks a tab of a system tab control the way the mouse would.
inline void ClickTab(HWND wnd, int tab) {
  RECT r{};
  ASSERT_TRUE(SendMessageW(wnd, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&r)));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
}

// A list view row's text as the window shows it.
inline String ListText(HWND lv, int item, int sub) {
  wchar_t buffer[512] = {};
  LVITEMW info{};
  info.iSubItem = sub;
  info.pszText = buffer;
  info.cchTextMax = 512;
  SendMessageW(lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info));
  return buffer;
}

inline int ListCount(HWND lv) { return static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0)); }

inline bool ListSelected(HWND lv, int item) {
  return (SendMessageW(lv, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

inline String ColumnText(HWND lv, int column) {
  wchar_t buffer[128] = {};
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = buffer;
  info.cchTextMax = 128;
  SendMessageW(lv, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
  return buffer;
}

inline int ColumnCount(HWND lv) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

inline String TabText(HWND tabs, int index) {
  wchar_t buffer[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = 128;
  SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

inline int TabCountOf(HWND tabs) { return static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)); }

// A window's rectangle in its parent's client coordinates.
inline TRect RectInParent(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A form of class T read from a description; T's class made known first.
template <class T = TForm>
Owned<T> ReadForm(std::string_view text) {
  T::StaticClass();
  Owned<T> form(new T(nullptr, 0));
  ReadComponentText(form.get(), text, L"test");
  return form;
}

}  // namespace vcl::testing
