#include "gallery/GallerySheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdint>
#include <cwchar>
#include <vector>

namespace gallery {
namespace {

// A page's template in memory: the page's size, then its controls in the order added.
class PageTemplate {
 public:
  PageTemplate(short Width, short Height) {
    DLGTEMPLATE t{};
    t.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    t.cx = Width;
    t.cy = Height;
    Put(&t, sizeof t);
    Word(0), Word(0), Text(L"");  // no menu, the default class, no caption
    Word(9), Text(L"MS Shell Dlg");
  }
  PageTemplate& Item(const wchar_t* Class, DWORD Style, short X, short Y, short W, short H, WORD Id,
                     const wchar_t* Caption) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    DLGITEMTEMPLATE item{Style | WS_CHILD | WS_VISIBLE, 0, X, Y, W, H, Id};
    Put(&item, sizeof item);
    Text(Class), Text(Caption), Word(0);
    ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
    return *this;
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Put(const void* P, std::size_t N) {
    const auto* b = static_cast<const std::uint8_t*>(P);
    bytes_.insert(bytes_.end(), b, b + N);
  }
  void Word(WORD W) { Put(&W, sizeof W); }
  void Text(const wchar_t* S) { Put(S, (std::wcslen(S) + 1) * sizeof(wchar_t)); }
  std::vector<std::uint8_t> bytes_;
};

enum : WORD { kKeepCopy = 100, kPortrait = 200, kLandscape, kBorders };

const PageTemplate& GeneralPage() {
  static const PageTemplate page = [] {
    PageTemplate t(212, 120);
    t.Item(L"STATIC", SS_LEFT, 8, 10, 60, 10, 0, L"Name:");
    t.Item(L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 70, 8, 134, 14, 0, L"A page of a property sheet");
    t.Item(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 8, 30, 196, 12, kKeepCopy, L"Keep a copy of the page");
    t.Item(L"BUTTON", BS_GROUPBOX, 8, 50, 196, 60, 0, L"About the page");
    t.Item(L"STATIC", SS_LEFT, 16, 64, 180, 40, 0,
           L"The second page is made when its tab is first chosen, and is skinned then.");
    return t;
  }();
  return page;
}

const PageTemplate& LayoutPage() {
  static const PageTemplate page = [] {
    PageTemplate t(212, 120);
    t.Item(L"BUTTON", BS_GROUPBOX, 8, 6, 196, 52, 0, L"Orientation");
    t.Item(L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 16, 20, 180, 12, kPortrait, L"Portrait");
    t.Item(L"BUTTON", BS_AUTORADIOBUTTON, 16, 36, 180, 12, kLandscape, L"Landscape");
    t.Item(L"BUTTON", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 8, 66, 196, 12, kBorders, L"Show the borders");
    return t;
  }();
  return page;
}

HWND g_sheet = nullptr;

// A modeless sheet is ended by its owner once OK or Cancel left it without a page.
void CALLBACK EndSheet(HWND, UINT, UINT_PTR Id, DWORD) {
  if (IsWindow(g_sheet) && SendMessageW(g_sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) return;
  KillTimer(nullptr, Id);
  if (IsWindow(g_sheet)) DestroyWindow(g_sheet);
  g_sheet = nullptr;
}

INT_PTR CALLBACK PageProc(HWND Wnd, UINT Msg, WPARAM, LPARAM LParam) {
  switch (Msg) {
    case WM_INITDIALOG:
      CheckDlgButton(Wnd, kKeepCopy, BST_CHECKED);
      CheckRadioButton(Wnd, kPortrait, kLandscape, kPortrait);
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(LParam);
      if (header && (header->code == PSN_APPLY || header->code == PSN_RESET)) SetTimer(nullptr, 0, 50, &EndSheet);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

HWND ShowPropertySheet(HWND Owner, int X, int Y) {
  if (IsWindow(g_sheet)) return g_sheet;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  PROPSHEETPAGEW pages[2]{};
  const PageTemplate* templates[2] = {&GeneralPage(), &LayoutPage()};
  const wchar_t* titles[2] = {L"General", L"Layout"};
  for (int i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    pages[i].pResource = templates[i]->Get();
    pages[i].pfnDlgProc = PageProc;
    pages[i].pszTitle = titles[i];
  }
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
  header.hwndParent = Owner;
  header.pszCaption = L"A property sheet";
  header.nPages = 2;
  header.ppsp = pages;
  g_sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
  if (!g_sheet) return nullptr;
  SetWindowPos(g_sheet, nullptr, X, Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return g_sheet;
}

}  // namespace gallery
