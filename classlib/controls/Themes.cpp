#include "classlib/controls/Themes.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace vcl {

VCL_CLASS_INFO(TThemeServices) {}

namespace {

struct TUxTheme {
  HMODULE module = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  BOOL(WINAPI* IsAppThemed)() = nullptr;
};

// Looked up once; the module stays loaded for the program's life.
const TUxTheme& UxTheme() {
  static const TUxTheme api = [] {
    TUxTheme a;
    a.module = LoadLibraryW(L"uxtheme.dll");
    if (a.module) {
      a.IsThemeActive = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(a.module, "IsThemeActive")));
      a.IsAppThemed = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(a.module, "IsAppThemed")));
    }
    if (!a.IsThemeActive || !a.IsAppThemed) a = TUxTheme{};
    return a;
  }();
  return api;
}

// The major version of the common controls the program uses (5 without a manifest asking for 6).
DWORD ComCtl32Major() {
  HMODULE module = GetModuleHandleW(L"comctl32.dll");
  if (!module) return 0;
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  return getVersion && SUCCEEDED(getVersion(&info)) ? info.dwMajorVersion : 0;
}

bool SystemThemesInUse() {
  const TUxTheme& api = UxTheme();
  return api.module && api.IsThemeActive() && api.IsAppThemed() && ComCtl32Major() >= 6;
}

TThemeStateQuery& Query() {
  static TThemeStateQuery query;
  return query;
}

}  // namespace

TThemeServices::TThemeServices() {
  available_ = UxTheme().module != nullptr;
  enabled_ = Query() ? Query()() : SystemThemesInUse();
}

void TThemeServices::UpdateThemes() {
  available_ = UxTheme().module != nullptr;
  const bool enabled = Query() ? Query()() : SystemThemesInUse();
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (OnThemeChange) OnThemeChange(this);
}

TThemeServices* ThemeServices() {
  static TThemeServices services;
  return &services;
}

TThemeStateQuery SetThemeStateQuery(TThemeStateQuery Query_) {
  TThemeStateQuery old = std::move(Query());
  Query() = std::move(Query_);
  return old;
}

}  // namespace vcl
