#include "gallery/GalleryDialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <deque>
#include <set>
#include <string>

#include "classlib/controls/Controls.h"
#include "classlib/stdctrls/StdCtrls.h"

namespace gallery {
namespace {

// Where the next system dialogs the thread activates are put, each at its first activation:
// the places are their top-right corners.
class DialogPlaces {
 public:
  explicit DialogPlaces(std::deque<POINT> Places) {
    places_ = std::move(Places);
    placed_.clear();
    hook_ = SetWindowsHookExW(WH_CBT, &DialogPlaces::Hook, nullptr, GetCurrentThreadId());
  }
  ~DialogPlaces() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
  }
  DialogPlaces(const DialogPlaces&) = delete;
  DialogPlaces& operator=(const DialogPlaces&) = delete;

  // A dialog the program made itself (a modeless one) put now.
  static void Put(HWND Dialog) {
    if (!Dialog || placed_.contains(Dialog) || places_.empty()) return;
    placed_.insert(Dialog);
    const POINT at = places_.front();
    places_.pop_front();
    RECT r{};
    GetWindowRect(Dialog, &r);
    SetWindowPos(Dialog, nullptr, at.x - (r.right - r.left), at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  static LRESULT CALLBACK Hook(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HCBT_ACTIVATE) {
      const HWND wnd = reinterpret_cast<HWND>(WParam);
      wchar_t cls[16] = {};
      GetClassNameW(wnd, cls, 16);
      if (std::wstring(cls) == L"#32770" && !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)) Put(wnd);
    }
    return CallNextHookEx(hook_, Code, WParam, LParam);
  }

  static inline HHOOK hook_ = nullptr;
  static inline std::deque<POINT> places_;
  static inline std::set<HWND> placed_;
};

struct BoxKind {
  UINT flags;
  const wchar_t* caption;
};

// Each button set once, each icon kind at least once, none twice.
constexpr BoxKind kBoxes[] = {
    {MB_OK, L"Message box 1: no icon, OK"},
    {MB_OKCANCEL | MB_ICONERROR, L"Message box 2: an error, OK and Cancel"},
    {MB_YESNO | MB_ICONQUESTION, L"Message box 3: a question, Yes and No"},
    {MB_YESNOCANCEL | MB_ICONWARNING, L"Message box 4: a warning, Yes, No and Cancel"},
    {MB_ABORTRETRYIGNORE | MB_ICONINFORMATION, L"Message box 5: information, Abort, Retry and Ignore"},
    {MB_RETRYCANCEL, L"Message box 6: no icon, Retry and Cancel"},
    {MB_CANCELTRYCONTINUE | MB_ICONWARNING, L"Message box 7: a warning, Cancel, Try Again and Continue"},
};
constexpr int kBoxCount = static_cast<int>(std::size(kBoxes));

HWND g_boxOwner = nullptr;
int g_secondBox = -1;  // the box the timer opens inside the first one's loop

void ShowBox(int I) {
  MessageBoxW(g_boxOwner, L"A message box of the sweep, skinned by the layered skin through the dialog hook.",
              kBoxes[I].caption, kBoxes[I].flags);
}

void CALLBACK OpenSecondBox(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  const int box = g_secondBox;
  g_secondBox = -1;
  if (box >= 0) ShowBox(box);
}

// Ends when the quit message came: a dialog's loop ends then and posts it again.
bool Quitting() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// The second and third of the common dialogs open inside the loop of the one before.
struct Nested {
  HWND owner = nullptr;
  int next = 0;
};
Nested g_nested;

std::wstring g_folder;
wchar_t g_fileName[MAX_PATH] = L"";
wchar_t g_saveName[MAX_PATH] = L"A page of the sweep.html";
wchar_t g_findWhat[80] = L"skin";
wchar_t g_replaceWith[80] = L"look";
FINDREPLACEW g_find{}, g_replace{};
LOGFONTW g_font{};
CHOOSEFONTW g_chooseFont{};
COLORREF g_custom[16] = {};
CHOOSECOLORW g_chooseColor{};
OPENFILENAMEW g_save{};

// A file dialog's description over the skins folder: the Open and Save dialogs differ only in
// owner, filter, file buffer and flags.
OPENFILENAMEW FileDialogOf(HWND Owner, const wchar_t* Filter, wchar_t* File, DWORD Flags) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Owner;
  dialog.lpstrFilter = Filter;
  dialog.lpstrFile = File;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = g_folder.c_str();
  dialog.Flags = Flags;
  return dialog;
}

void CALLBACK OpenNested(HWND, UINT, UINT_PTR Id, DWORD);

void OpenDialog(int Which) {
  if (Quitting()) return;
  if (Which < 2) SetTimer(nullptr, 0, 150, &OpenNested);
  g_nested.next = Which + 1;
  switch (Which) {
    case 0: {
      g_font = {};
      g_font.lfHeight = -13;
      wcscpy(g_font.lfFaceName, L"Tahoma");
      g_chooseFont = {};
      g_chooseFont.lStructSize = sizeof g_chooseFont;
      g_chooseFont.hwndOwner = g_nested.owner;
      g_chooseFont.lpLogFont = &g_font;
      g_chooseFont.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
      g_chooseFont.rgbColors = RGB(128, 0, 0);  // a colour of its list other than black
      ChooseFontW(&g_chooseFont);
      break;
    }
    case 1:
      g_chooseColor = {};
      g_chooseColor.lStructSize = sizeof g_chooseColor;
      g_chooseColor.hwndOwner = g_nested.owner;
      g_chooseColor.rgbResult = RGB(52, 112, 204);
      // Custom colours of light shades (the system's start is sixteen black ones).
      for (int i = 0; i < 16; ++i) g_custom[i] = RGB(200 + i * 3, 230 - i * 4, 255 - i * 6);
      g_chooseColor.lpCustColors = g_custom;
      g_chooseColor.Flags = CC_RGBINIT;
      ChooseColorW(&g_chooseColor);
      break;
    default:
      g_save = FileDialogOf(g_nested.owner, L"Pages (*.html)\0*.html\0Every file\0*.*\0", g_saveName,
                            OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR);
      GetSaveFileNameW(&g_save);
      break;
  }
}

void CALLBACK OpenNested(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  OpenDialog(g_nested.next);
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The window and every window inside it, each before its children.
void EachWindow(HWND Wnd, std::vector<HWND>& Out) {
  Out.push_back(Wnd);
  for (HWND c = GetWindow(Wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) EachWindow(c, Out);
}

}  // namespace

void ShowMessageBoxes(HWND Owner, POINT At) {
  g_boxOwner = Owner;
  for (int first = 0; first < kBoxCount && !Quitting(); first += 2) {
    DialogPlaces places({At, POINT{At.x, At.y + 260}});
    if (first + 1 < kBoxCount) {
      g_secondBox = first + 1;
      SetTimer(nullptr, 0, 150, &OpenSecondBox);
    }
    ShowBox(first);
  }
}

void ShowCommonDialogs(HWND Owner, POINT At) {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  g_folder = module;
  g_folder.resize(g_folder.find_last_of(L'\\') + 1);
  g_folder += L"..\\skins";
  {
    // The Find and Replace dialogs below the Open dialog (each takes its place as it comes).
    DialogPlaces places({POINT{At.x, At.y + 540}, POINT{At.x, At.y + 708}, At});
    g_find = {};
    g_find.lStructSize = sizeof g_find;
    g_find.hwndOwner = Owner;
    g_find.lpstrFindWhat = g_findWhat;
    g_find.wFindWhatLen = static_cast<WORD>(std::size(g_findWhat));
    g_find.Flags = FR_DOWN;
    g_replace = g_find;
    g_replace.lpstrReplaceWith = g_replaceWith;
    g_replace.wReplaceWithLen = static_cast<WORD>(std::size(g_replaceWith));
    const HWND find = FindTextW(&g_find);
    DialogPlaces::Put(find);
    const HWND replace = ReplaceTextW(&g_replace);
    DialogPlaces::Put(replace);
    OPENFILENAMEW open = FileDialogOf(Owner, L"Skins (*.skn)\0*.skn\0Every file\0*.*\0", g_fileName,
                                      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR);
    GetOpenFileNameW(&open);
    for (HWND modeless : {find, replace})
      if (IsWindow(modeless)) DestroyWindow(modeless);
  }
  if (Quitting()) return;
  // The Font dialog left of the Colour dialog, the Save dialog below them.
  DialogPlaces places({POINT{At.x - 280, At.y}, At, POINT{At.x, At.y + 430}});
  g_nested.owner = Owner;
  OpenDialog(0);
}

void EndShownDialogs() {
  for (HWND dialog : ShownDialogs()) EndDialogByButton(dialog);
}

void EndDialogByButton(HWND Dialog) {
  WORD button = IDCANCEL;
  // A message box without Cancel (Yes and No; Abort, Retry and Ignore) ends by its default button.
  if (!GetDlgItem(Dialog, IDCANCEL))
    if (const LRESULT id = SendMessageW(Dialog, DM_GETDEFID, 0, 0); HIWORD(id) == DC_HASDEFID) button = LOWORD(id);
  PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Dialog, button)));
}

HWND ShownDialog(const std::wstring& Caption) {
  for (HWND dialog : ShownDialogs()) {
    wchar_t text[128] = {};
    GetWindowTextW(dialog, text, 128);
    if (Caption == text) return dialog;
  }
  return nullptr;
}

std::vector<HWND> ShownDialogs() {
  std::vector<HWND> dialogs;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    DWORD process = 0;
    if (GetWindowThreadProcessId(w, &process) == GetCurrentThreadId() && IsWindowVisible(w) && std::wstring(cls) == L"#32770")
      dialogs.push_back(w);
  }
  std::reverse(dialogs.begin(), dialogs.end());
  return dialogs;
}

void Settle() {
  MSG msg;
  for (int i = 0; i < 500 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void MoveFocusRound(HWND Dialog) {
  if (!IsWindow(Dialog)) return;
  SetForegroundWindow(Dialog);
  SetActiveWindow(Dialog);
  Settle();
  HWND start = GetFocus();
  if (!start || (start != Dialog && !IsChild(Dialog, start))) return;
  for (const WPARAM backward : {0, 1})
    for (int i = 0; i < 60; ++i) {
      SendMessageW(Dialog, WM_NEXTDLGCTL, backward, FALSE);
      Settle();
      if (GetFocus() == start) break;
    }
}

void TurnCheckMarks() {
  std::vector<HWND> windows;
  for (HWND top : ThreadWindows())
    if (IsWindowVisible(top)) EachWindow(top, windows);
  struct Mark {
    HWND wnd;
    bool on;
  };
  std::vector<Mark> marks;
  for (HWND w : windows) {
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    vcl::TWinControl* control = vcl::FindControl(w);
    if (!IsWindowVisible(w) || (lstrcmpiW(cls, L"Button") != 0 && !dynamic_cast<vcl::TButtonControl*>(control))) continue;
    switch (GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK) {
      case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
        marks.push_back({w, SendMessageW(w, BM_GETCHECK, 0, 0) == BST_UNCHECKED});
        break;
      default:
        break;
    }
  }
  for (const Mark& m : marks) {
    if (auto* button = dynamic_cast<vcl::TButtonControl*>(vcl::FindControl(m.wnd)))
      button->SetChecked(m.on);
    else
      SendMessageW(m.wnd, BM_SETCHECK, m.on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  Settle();
}

void PointerAway() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }

}  // namespace gallery
