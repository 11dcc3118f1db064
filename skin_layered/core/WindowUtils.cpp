#include "skin_layered/core/WindowUtils.h"

#include <iterator>

#include "classlib/forms/Forms.h"

namespace skin_layered {

namespace {

struct TThemeBinding {
  HMODULE UxTheme = nullptr;
  TSetWindowThemeProc SetWindowTheme = nullptr;
};

TThemeBinding& Theme() {
  static TThemeBinding binding;
  return binding;
}

}  // namespace

void GetMousePos(vcl::TPoint& P) {
  POINT p{};
  GetCursorPos(&p);
  P = p;
}

vcl::TCustomForm* GetOwnerForm(vcl::TComponent* Component) {
  for (vcl::TComponent* c = Component; c; c = c->Owner())
    if (auto* form = dynamic_cast<vcl::TCustomForm*>(c)) return form;
  return nullptr;
}

bool ControlReady(vcl::TControl* Control) {
  if (!Control) return false;
  if (auto* win = dynamic_cast<vcl::TWinControl*>(Control); win && !win->HandleAllocated()) return false;
  const vcl::TControlState state = Control->ControlState();
  if (state.Contains(vcl::csCreating) || state.Contains(vcl::csReadingState)) return false;
  const vcl::TComponentState components = Control->ComponentState();
  if (components.Contains(vcl::csLoading) || components.Contains(vcl::csDestroying)) return false;
  return Control->Parent() != nullptr;
}

UINT GetDrawTextFlags(vcl::TControl* Control, vcl::TAlignment Alignment) {
  UINT flags = DT_LEFT;
  if (Alignment == vcl::taRightJustify) flags = DT_RIGHT;
  if (Alignment == vcl::taCenter) flags = DT_CENTER;
  flags |= DT_VCENTER | DT_SINGLELINE;
  // A right-to-left control reads (and aligns) its text from the right.
  return Control ? Control->DrawTextBiDiModeFlags(flags) : flags;
}

bool PlaceWindowAfter(HWND Wnd, HWND After, int X, int Y, int Cx, int Cy, UINT Flags, HWND Below) {
  constexpr int kTries = 3;
  for (int i = 0; i < kTries; ++i) {
    if (SetWindowPos(Wnd, After, X, Y, Cx, Cy, Flags)) return true;
    const bool special = After == HWND_TOP || After == HWND_BOTTOM || After == HWND_TOPMOST || After == HWND_NOTOPMOST;
    if (special || (Flags & SWP_NOZORDER) || IsWindow(After)) return false;
    After = Below && IsWindow(Below) ? GetWindow(Below, GW_HWNDPREV) : nullptr;
    if (After == Wnd) return SetWindowPos(Wnd, nullptr, X, Y, Cx, Cy, Flags | SWP_NOZORDER) != FALSE;
    if (!After) break;
  }
  return SetWindowPos(Wnd, HWND_TOP, X, Y, Cx, Cy, Flags) != FALSE;
}

void GetClientRectInWindow(HWND Wnd, vcl::TRect& R) {
  RECT client{}, window{};
  GetClientRect(Wnd, &client);
  GetWindowRect(Wnd, &window);
  POINT origin{0, 0};
  ClientToScreen(Wnd, &origin);
  R = client;
  R.Offset(origin.x - window.left, origin.y - window.top);
}

vcl::String GetWndClassName(HWND Wnd) {
  wchar_t name[128] = {};
  const int length = GetClassNameW(Wnd, name, static_cast<int>(std::size(name)));
  return vcl::String(name, length > 0 ? static_cast<size_t>(length) : 0);
}

TSetWindowThemeProc SetWindowThemeProc() { return Theme().SetWindowTheme; }

void BindThemeLibrary() {
  TThemeBinding& t = Theme();
  if (t.UxTheme) return;
  t.UxTheme = LoadLibraryW(L"uxtheme.dll");
  if (t.UxTheme)
    t.SetWindowTheme = reinterpret_cast<TSetWindowThemeProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(t.UxTheme, "SetWindowTheme")));
}

void ReleaseThemeLibrary() {
  TThemeBinding& t = Theme();
  if (t.UxTheme) FreeLibrary(t.UxTheme);
  t = {};
}

}  // namespace skin_layered
