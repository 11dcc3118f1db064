// What the library reads of the system: the version, the locale and string-table texts, and
// the facts tests put in their place.
#include <gtest/gtest.h>

#include "classlib/rtl/SysInfo.h"

namespace vcl {
namespace {

TEST(Win32Version, TheSystemsAnswerAndOneATestPutsIn) {
  const TWin32Version system = Win32Version();
  EXPECT_EQ(Win32Platform(), VER_PLATFORM_WIN32_NT);
  EXPECT_GE(Win32MajorVersion(), 5);
  EXPECT_TRUE(CheckWin32Version(5, 1));
  EXPECT_FALSE(CheckWin32Version(Win32MajorVersion() + 1));

  SetWin32Version(TWin32Version{VER_PLATFORM_WIN32_NT, 6, 2, 9200, L""});
  EXPECT_EQ(Win32BuildNumber(), 9200);
  EXPECT_TRUE(CheckWin32Version(6, 2));
  EXPECT_TRUE(CheckWin32Version(5, 9));
  EXPECT_FALSE(CheckWin32Version(6, 3));
  SetWin32Version(std::nullopt);
  EXPECT_EQ(Win32MajorVersion(), system.MajorVersion);
  EXPECT_EQ(Win32MinorVersion(), system.MinorVersion);
}

TEST(SysLocale, ReadFromTheSystemAndReplaceable) {
  const TSysLocale system = SysLocale();
  EXPECT_EQ(system.PriLangID, PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale())));
  TSysLocale arabic = system;
  arabic.MiddleEast = !system.MiddleEast;
  SetSysLocale(arabic);
  EXPECT_EQ(SysLocale().MiddleEast, !system.MiddleEast);
  SetSysLocale(std::nullopt);
  EXPECT_EQ(SysLocale().MiddleEast, system.MiddleEast);
}

TEST(LoadStr, TextsOfTheProgramsStringTableWholeOrEmpty) {
  EXPECT_EQ(LoadStr(1001), L"Directory with skins:");
  EXPECT_EQ(LoadStr(1002), L"\x76ae\x80a4\x76ee\x5f55");
  const String longText = LoadStr(1003);
  EXPECT_EQ(longText.size(), 280u);
  EXPECT_EQ(longText.substr(270), L"0123456789");
  EXPECT_EQ(LoadStr(1004), L"");   // none under that number
  EXPECT_EQ(LoadStr(-5), L"");
}

}  // namespace
}  // namespace vcl
