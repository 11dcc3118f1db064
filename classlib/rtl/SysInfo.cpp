#include "classlib/rtl/SysInfo.h"

namespace vcl {

namespace {

TWin32Version SystemVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  TWin32Version v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return v;
#pragma GCC diagnostic pop
  v.Platform = static_cast<int>(info.dwPlatformId);
  v.MajorVersion = static_cast<int>(info.dwMajorVersion);
  v.MinorVersion = static_cast<int>(info.dwMinorVersion);
  v.BuildNumber = static_cast<int>(info.dwBuildNumber & 0xFFFF);
  v.CSDVersion = info.szCSDVersion;
  return v;
}

TSysLocale SystemLocale() {
  TSysLocale l;
  l.DefaultLCID = GetThreadLocale();
  l.PriLangID = PRIMARYLANGID(LANGIDFROMLCID(l.DefaultLCID));
  l.SubLangID = SUBLANGID(LANGIDFROMLCID(l.DefaultLCID));
  l.FarEast = GetSystemMetrics(SM_DBCSENABLED) != 0;
  l.MiddleEast = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
  return l;
}

std::optional<TWin32Version>& VersionSlot() {
  static std::optional<TWin32Version> slot;
  return slot;
}

std::optional<TSysLocale>& LocaleSlot() {
  static std::optional<TSysLocale> slot;
  return slot;
}

}  // namespace

const TWin32Version& Win32Version() {
  auto& slot = VersionSlot();
  if (!slot) slot = SystemVersion();
  return *slot;
}

void SetWin32Version(std::optional<TWin32Version> Value) { VersionSlot() = std::move(Value); }

bool CheckWin32Version(int Major, int Minor) {
  const TWin32Version& v = Win32Version();
  return v.MajorVersion > Major || (v.MajorVersion == Major && v.MinorVersion >= Minor);
}

const TSysLocale& SysLocale() {
  auto& slot = LocaleSlot();
  if (!slot) slot = SystemLocale();
  return *slot;
}

void SetSysLocale(std::optional<TSysLocale> Value) { LocaleSlot() = std::move(Value); }

String LoadStr(int Ident, HINSTANCE Module) {
  if (!Module) Module = GetModuleHandleW(nullptr);
  // With a zero length LoadStringW gives a read-only pointer to the text itself, whatever
  // its length.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(Module, static_cast<UINT>(Ident), reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? String(text, static_cast<size_t>(length)) : String();
}

}  // namespace vcl
