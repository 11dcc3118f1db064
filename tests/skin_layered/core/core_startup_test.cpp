// The core's units at start-up: their place among the program's units, the library strings
// with their fallback, the platform facts (through the version query), the version switch,
// and the shadow and blur images drawn at build time.
#include <algorithm>

#include "core_win_support.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/manager/SkinManagerStartup.h"
#include "skin_layered/core/WindowUtils.h"

namespace skin_layered::test {
namespace {

// The units run for the whole test program (all of its files).
::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

int PositionOf(const std::vector<vcl::String>& names, const wchar_t* name) {
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

std::uint32_t PixelOf(vcl::TBitmap& bmp, int x, int y) { return static_cast<const std::uint32_t*>(bmp.ScanLine(y))[x]; }

TEST(CoreStartup, UnitsStartAfterTheLibraryAndTheManagerAfterThePainting) {
  ASSERT_TRUE(vcl::UnitsInitialized());
  const auto names = vcl::InitializedUnitNames();
  const int constants = PositionOf(names, L"LayeredConstants");
  const int utils = PositionOf(names, L"LayeredUtils");
  const int windows = PositionOf(names, L"LayeredWindowUtils");
  const int png = PositionOf(names, L"PngPictureFormat");
  const int bindings = PositionOf(names, L"LayeredWindowBindings");
  const int manager = PositionOf(names, L"LayeredSkinManager");
  ASSERT_GE(constants, 0);
  EXPECT_GT(constants, PositionOf(names, L"Forms"));
  EXPECT_GT(utils, constants);
  EXPECT_GT(windows, utils);
  EXPECT_GT(png, windows);
  EXPECT_GT(manager, png);
  EXPECT_GT(manager, bindings);
}

TEST(CoreStartup, LibraryStringsComeFromTheStringTable) {
#define QV_CHECK_STRING(id, name, text) EXPECT_EQ(LibString(TqvLibString::name), vcl::Utf8ToWide(text)) << id;
  QV_LIBRARY_STRINGS(QV_CHECK_STRING)
#undef QV_CHECK_STRING
}

TEST(CoreStartup, AModuleWithoutTheStringsLeavesThemEmptyButInvalidDate) {
  LoadLibraryStrings(GetModuleHandleW(L"kernel32.dll"));
  EXPECT_EQ(LibString(TqvLibString::InvalidDate), L"Invalid date");
  EXPECT_EQ(LibString(TqvLibString::Restore), L"");
  FreeLibraryStrings();
  EXPECT_EQ(LibString(TqvLibString::InvalidDate), L"");
  LoadLibraryStrings(nullptr);
  EXPECT_EQ(LibString(TqvLibString::Restore), L"Restore");
}

TEST(CoreStartup, ThePlatformVersionValue) {
  auto previous = SetPlatformVersionQuery(nullptr);
  for (const auto& [major, minor, value] : {std::tuple{6, 2, 8}, {6, 1, 6}, {10, 0, 10}}) {
    SetPlatformVersionQuery([=] { return TPlatformVersion{DWORD(major), DWORD(minor), VER_PLATFORM_WIN32_NT}; });
    RecordPlatformFacts();
    EXPECT_EQ(PlatformVersion(), value);
  }
  SetPlatformVersionQuery(std::move(previous));
  RecordPlatformFacts();
  EXPECT_EQ(HScrollArrowWidth(), GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_TRUE(IsNTPlatform());
  EXPECT_TRUE(SetWindowThemeProc());
}

TEST(CoreStartup, TheVersionSwitchInAnyCaseShowsTheVersion) {
  RecordedBoxes boxes;
  EXPECT_FALSE(ShowVersionOnSwitch({}));
  EXPECT_FALSE(ShowVersionOnSwitch({L"/qvvers", L"qvver"}));
  EXPECT_TRUE(ShowVersionOnSwitch({L"file.txt", L"/QVVER", L"/qvver"}));
  ASSERT_EQ(boxes.boxes.size(), 1u);  // the first one only
  EXPECT_EQ(boxes.boxes[0].Text, L"Quorvan v10.00");
}

TEST(CoreStartup, ShadowImagesAreLoadedWithTheirClearPixelsZero) {
  for (bool active : {true, false}) {
    vcl::TBitmap* shadow = StartupShadow(active);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->Width(), 40);
    EXPECT_EQ(shadow->Height(), 40);
    EXPECT_EQ(shadow->PixelFormat(), vcl::pf32bit);
    EXPECT_EQ(PixelOf(*shadow, 0, 0), 0u);    // drawn white with no alpha, cleared
    EXPECT_EQ(PixelOf(*shadow, 39, 20), 0u);
    EXPECT_EQ(PixelOf(*shadow, 20, 20), (active ? 96u : 48u) << 24);  // black under the form
    const std::uint32_t edge = PixelOf(*shadow, 5, 20) >> 24;
    EXPECT_GT(edge, 0u);
    EXPECT_LT(edge, active ? 96u : 48u);
  }
}

TEST(CoreStartup, TheBlurBitmapIsDarkInTheMiddle) {
  vcl::TBitmap blur;
  blur.LoadFromResourceName(GetModuleHandleW(nullptr), L"BLUR5");
  ASSERT_EQ(blur.Width(), 19);
  ASSERT_EQ(blur.Height(), 19);
  EXPECT_EQ(blur.Canvas()->Pixels(9, 9) & 0xFFFFFF, 0);
  EXPECT_GT(blur.Canvas()->Pixels(0, 0) & 0xFF, 0xF0);
  EXPECT_EQ(blur.Canvas()->Pixels(4, 9), blur.Canvas()->Pixels(14, 9));  // symmetric
}

TEST(CoreStartup, ShutdownFreesWhatStartUpMade) {
  vcl::FinalizeUnits();
  EXPECT_EQ(StartupShadow(false), nullptr);
  EXPECT_EQ(LibString(TqvLibString::OK), L"");
  EXPECT_EQ(SetWindowThemeProc(), nullptr);
  vcl::InitializeUnits();  // as the rest of the program expects
  EXPECT_NE(StartupShadow(true), nullptr);
  EXPECT_EQ(LibString(TqvLibString::OK), L"OK");
}

}  // namespace
}  // namespace skin_layered::test
