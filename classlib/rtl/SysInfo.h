// What the program knows of the system it runs on: the Windows version and platform, the
// system locale (Far-Eastern and Middle-Eastern scripts), and texts of the program's string
// table. The facts are read on first use; tests put in their own and put back the system's.
#pragma once

#include <optional>

#include <windows.h>

#include "classlib/rtl/SysUtils.h"

namespace vcl {

// The version the system reports to the program (GetVersionEx: a program without a
// manifest naming newer systems sees 6.2 on them).
struct TWin32Version {
  int Platform = 0;  // VER_PLATFORM_WIN32_NT (2) on every system the program runs on
  int MajorVersion = 0;
  int MinorVersion = 0;
  int BuildNumber = 0;
  String CSDVersion;  // the service pack, "" when none
};

const TWin32Version& Win32Version();
// Replaces the facts (nullopt: the system's again).
void SetWin32Version(std::optional<TWin32Version> Value);
inline int Win32Platform() { return Win32Version().Platform; }
inline int Win32MajorVersion() { return Win32Version().MajorVersion; }
inline int Win32MinorVersion() { return Win32Version().MinorVersion; }
inline int Win32BuildNumber() { return Win32Version().BuildNumber; }
// True when the system is at least version Major.Minor.
bool CheckWin32Version(int Major, int Minor = 0);

// The user's locale and the scripts the system is set up for.
struct TSysLocale {
  LCID DefaultLCID = 0;
  int PriLangID = 0;
  int SubLangID = 0;
  bool FarEast = false;     // double-byte character sets enabled
  bool MiddleEast = false;  // right-to-left scripts enabled: BiDiMode takes effect only then
};

const TSysLocale& SysLocale();
void SetSysLocale(std::optional<TSysLocale> Value);

// A text of a string table resource of a module (nil: the program's); "" when there is none.
String LoadStr(int Ident, HINSTANCE Module = nullptr);

}  // namespace vcl
