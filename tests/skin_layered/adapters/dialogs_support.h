// Shared by the skinned system dialogs' tests: dialog templates built in memory (controls by
// atom or by class name), a dialog procedure whose initialisation and owner drawing the test
// chooses, and the dialogs' fixture under the default manager.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <cstdint>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "adapters_support.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/DialogWnd.h"

namespace skin_layered::test {

// A dialog template in memory: the dialog's styles, caption and size (dialog units), then its
// controls in the order added.
class DialogTemplate {
 public:
  DialogTemplate(DWORD Style, const wchar_t* Caption, short Width, short Height) {
    DLGTEMPLATE t{};
    t.style = Style | DS_SETFONT;
    t.cx = Width;
    t.cy = Height;
    Put(&t, sizeof t);
    Word(0), Word(0), Text(Caption);  // no menu, the default class
    Word(8), Text(L"MS Shell Dlg");
  }
  // A control of a predefined class by its atom (0x0080 button, 0x0081 edit, 0x0082 static,
  // 0x0083 list box, 0x0084 scroll bar, 0x0085 combo box).
  DialogTemplate& Item(WORD Atom, DWORD Style, short X, short Y, short W, short H, WORD Id, const wchar_t* Caption = L"",
                       DWORD ExStyle = 0) {
    Begin(Style, ExStyle, X, Y, W, H, Id);
    Word(0xFFFF), Word(Atom);
    return End(Caption);
  }
  // A control of a class named.
  DialogTemplate& Item(const wchar_t* Class, DWORD Style, short X, short Y, short W, short H, WORD Id,
                       const wchar_t* Caption = L"", DWORD ExStyle = 0) {
    Begin(Style, ExStyle, X, Y, W, H, Id);
    Text(Class);
    return End(Caption);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Put(const void* P, std::size_t N) {
    const auto* b = static_cast<const std::uint8_t*>(P);
    bytes_.insert(bytes_.end(), b, b + N);
  }
  void Word(WORD W) { Put(&W, sizeof W); }
  void Text(const wchar_t* S) { Put(S, (std::wcslen(S) + 1) * sizeof(wchar_t)); }
  void Begin(DWORD Style, DWORD ExStyle, short X, short Y, short W, short H, WORD Id) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    DLGITEMTEMPLATE item{Style | WS_CHILD, ExStyle, X, Y, W, H, Id};
    Put(&item, sizeof item);
    ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
  }
  DialogTemplate& End(const wchar_t* Caption) {
    Text(Caption);
    Word(0);  // no creation data
    return *this;
  }
  std::vector<std::uint8_t> bytes_;
};

// What the dialog procedure does beyond closing on IDCANCEL: the test's initialisation, the
// owner-drawn controls filled with one colour (their drawings counted), and any other message
// the test looks at (an answer given is the dialog's result for it).
struct DialogBehaviour {
  std::function<void(HWND)> OnInit;
  std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> OnMessage;
  COLORREF OwnerColor = 0x2080F0;
  int OwnerDrawings = 0;
};

inline INT_PTR CALLBACK TestDialogProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* behaviour = reinterpret_cast<DialogBehaviour*>(GetWindowLongPtrW(Wnd, DWLP_USER));
  if (behaviour && behaviour->OnMessage && Msg != WM_INITDIALOG)
    if (const std::optional<LRESULT> answer = behaviour->OnMessage(Wnd, Msg, WParam, LParam)) {
      SetWindowLongPtrW(Wnd, DWLP_MSGRESULT, *answer);
      return TRUE;
    }
  switch (Msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(Wnd, DWLP_USER, LParam);
      behaviour = reinterpret_cast<DialogBehaviour*>(LParam);
      if (behaviour && behaviour->OnInit) behaviour->OnInit(Wnd);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(LParam);
      if (!behaviour || !item) return FALSE;
      ++behaviour->OwnerDrawings;
      HBRUSH brush = CreateSolidBrush(behaviour->OwnerColor);
      FillRect(item->hDC, &item->rcItem, brush);
      DeleteObject(brush);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(WParam) == IDCANCEL) {
        DestroyWindow(Wnd);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// A modeless dialog of the template, owned by Owner.
inline HWND CreateTestDialog(const DialogTemplate& Template, DialogBehaviour* Behaviour = nullptr,
                             HWND Owner = nullptr) {
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), Template.Get(), Owner, TestDialogProc,
                                    reinterpret_cast<LPARAM>(Behaviour));
}

// The dialog window's own pixels, frame included.
inline std::unique_ptr<MemoryPixels> Pixels(HWND Dlg) {
  const RECT box = WindowBox(Dlg);
  auto pixels = std::make_unique<MemoryPixels>(box.right, box.bottom);
  const HDC dc = GetWindowDC(Dlg);
  BitBlt(pixels->DC(), 0, 0, box.right, box.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(Dlg, dc);
  return pixels;
}
// A child's window rectangle in the dialog window's coordinates.
inline RECT Place(HWND Dlg, HWND Child) {
  RECT d{}, c{};
  GetWindowRect(Dlg, &d);
  GetWindowRect(Child, &c);
  return RECT{c.left - d.left, c.top - d.top, c.right - d.left, c.bottom - d.top};
}

inline TqvDialogWnd* DialogAdapterOf(HWND Wnd) { return dynamic_cast<TqvDialogWnd*>(GetAdapter(Wnd)); }

using ForegroundChanges = wintest::ForegroundChanges;

// A modal dialog's window and what the timer found in it.
struct TBoxWatch {
  HWND box = nullptr;
  bool skinned = false;
  bool sysMenuStyle = true;
  bool painted = false;
  int ticks = 0;
  const wchar_t* title = nullptr;
  std::function<void(HWND)> look;  // what the test does with the dialog before it is answered
  std::function<int(HWND)> answer;  // the command that ends it
};
inline TBoxWatch* g_boxWatch = nullptr;
inline constexpr wchar_t kBoxTitle[] = L"Skinned box";

inline BOOL CALLBACK FindBox(HWND Wnd, LPARAM) {
  wchar_t cls[16] = {}, title[64] = {};
  GetClassNameW(Wnd, cls, 16);
  GetWindowTextW(Wnd, title, 64);
  if (lstrcmpW(cls, L"#32770") == 0 && (!g_boxWatch->title[0] || lstrcmpW(title, g_boxWatch->title) == 0) && IsWindowVisible(Wnd)) {
    g_boxWatch->box = Wnd;
    return FALSE;
  }
  return TRUE;
}

// The first button of a message box answers it.
inline BOOL CALLBACK FirstButtonId(HWND Wnd, LPARAM Id) {
  wchar_t cls[16] = {};
  GetClassNameW(Wnd, cls, 16);
  if (lstrcmpiW(cls, L"button") != 0) return TRUE;
  *reinterpret_cast<int*>(Id) = GetDlgCtrlID(Wnd);
  return FALSE;
}
inline int FirstButton(HWND Box) {
  int button = IDOK;
  EnumChildWindows(Box, FirstButtonId, reinterpret_cast<LPARAM>(&button));
  return button;
}

inline void CALLBACK BoxTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  TBoxWatch* watch = g_boxWatch;
  ++watch->ticks;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
  if (watch->box) {
    KillTimer(nullptr, Id);
    auto* d = DialogAdapterOf(watch->box);
    watch->skinned = d != nullptr;
    watch->sysMenuStyle = (GetWindowLongPtrW(watch->box, GWL_STYLE) & WS_SYSMENU) != 0;
    watch->painted = d && d->SkinData->CacheBmp() && d->SkinData->CacheBmp()->Width() > 0 && !d->SkinData->BGChanged;
    if (watch->look) watch->look(watch->box);
    PostMessageW(watch->box, WM_COMMAND, static_cast<WPARAM>(watch->answer(watch->box)), 0);
    return;
  }
  // The deadline: whatever happens, the dialog is not waited for longer than this.
  if (watch->ticks > 100) {
    KillTimer(nullptr, Id);
    PostQuitMessage(0);
  }
}

// Runs a modal dialog that Open shows captioned Title; the timer looks at it once it shows and
// answers it (cancel unless Answer says otherwise), or gives up.
inline TBoxWatch RunModal(const wchar_t* Title, const std::function<void()>& Open, std::function<void(HWND)> Look = {},
                          std::function<int(HWND)> Answer = {}) {
  TBoxWatch watch;
  watch.title = Title;
  watch.look = std::move(Look);
  watch.answer = Answer ? std::move(Answer) : [](HWND) { return IDCANCEL; };
  g_boxWatch = &watch;
  SetTimer(nullptr, 0, 30, BoxTimer);
  Open();
  g_boxWatch = nullptr;
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // a deadline's quit, if any
  return watch;
}

// Runs a message box of the styles given owned by Owner, answered with its first button.
inline TBoxWatch RunBox(HWND Owner, int* Answer = nullptr, std::function<void(HWND)> Look = {},
                        UINT Styles = MB_OK | MB_ICONINFORMATION) {
  return RunModal(
      kBoxTitle,
      [&] {
        const int answer = MessageBoxW(Owner, L"A message", kBoxTitle, Styles);
        if (Answer) *Answer = answer;
      },
      std::move(Look), FirstButton);
}

// A modeless property sheet captioned "Sheet" over Pages, owned by Parent; nil when the system made none.
inline HWND ModelessSheet(std::span<PROPSHEETPAGEW> Pages, HWND Parent = nullptr) {
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
  header.hwndParent = Parent;
  header.pszCaption = L"Sheet";
  header.nPages = static_cast<UINT>(Pages.size());
  header.ppsp = Pages.data();
  return reinterpret_cast<HWND>(PropertySheetW(&header));
}

}  // namespace skin_layered::test
