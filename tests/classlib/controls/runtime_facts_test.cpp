// System facts the engines ask the library for: the theme state (and its change), the cursor
// table with registered cursors, and the mouse.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/controls/Themes.h"
#include "controls_support.h"

namespace vcl::testing {
namespace {

// Theme services

TEST(ThemeServices, UpdatedOnWMThemeChangedAndAnnouncedWhenTheAnswerChanges) {
  TThemeServices* themes = ThemeServices();
  ASSERT_NE(themes, nullptr);
  const bool system = themes->ThemesEnabled();
  Notified changes;
  themes->OnThemeChange = changes.Handler();

  bool answer = !system;
  const TThemeStateQuery previous = SetThemeStateQuery([&answer] { return answer; });
  SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0);  // the system's announcement
  EXPECT_EQ(themes->ThemesEnabled(), !system);
  EXPECT_EQ(changes.Count(), 1);
  themes->UpdateThemes();  // the same answer again: nothing to announce
  EXPECT_EQ(changes.Count(), 1);
  answer = system;
  themes->UpdateThemes();
  EXPECT_EQ(themes->ThemesEnabled(), system);
  EXPECT_EQ(changes.Count(), 2);

  SetThemeStateQuery(previous);
  themes->UpdateThemes();
  themes->OnThemeChange = nullptr;
}

// Cursors

// A small cursor made in memory (owned by whoever registers it).
HCURSOR MakeCursor() {
  const BYTE andMask[32 * 4] = {};
  BYTE xorMask[32 * 4] = {};
  xorMask[0] = 0xFF;
  return CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
}

TEST(ScreenCursors, StandardAndRegisteredCursorsByNumber) {
  EXPECT_EQ(Screen->Cursors(crHandPoint), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(Screen->Cursors(crNone), nullptr);
  EXPECT_EQ(Screen->Cursors(42), LoadCursorW(nullptr, IDC_ARROW));  // unknown: the default

  HCURSOR pipette = MakeCursor();
  ASSERT_NE(pipette, nullptr);
  Screen->SetCursors(-50, pipette);  // any number, negative ones too
  EXPECT_EQ(Screen->Cursors(-50), pipette);
  Screen->SetCursors(-50, pipette);  // the same again: kept, not destroyed
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(pipette, &info));
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);

  HCURSOR wait = MakeCursor();
  Screen->SetCursors(crHourGlass, wait);  // a standard cursor replaced for the program
  EXPECT_EQ(Screen->Cursors(crHourGlass), wait);
  Screen->SetCursors(crHourGlass, nullptr);  // and back
  EXPECT_EQ(Screen->Cursors(crHourGlass), LoadCursorW(nullptr, IDC_WAIT));

  // A control showing a registered cursor sets it when the mouse is over it.
  {
    auto form = ShownForm(100, 100);
    auto* panel = Put<TRecordingPanel>(form.get());
    panel->SetCursor(-50);
    SendMessageW(panel->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(panel->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), pipette);
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));

  Screen->SetCursors(-50, nullptr);  // taken out: the screen destroyed it
  EXPECT_EQ(Screen->Cursors(-50), LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace vcl::testing
