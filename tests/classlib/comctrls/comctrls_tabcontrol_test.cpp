// Tab controls on real windows: the tab list in the window, the user's tab change with
// OnChanging / OnChange, and tabs read from a description before their index.
#include <gtest/gtest.h>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/rtl/TypInfo.h"
#include "classlib/streaming/Filer.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

String TabText(HWND Wnd, int Index) {
  wchar_t text[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  SendMessageW(Wnd, TCM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
  return text;
}

TEST(TabControl, TheTabListIsTheWindowsAndTheUserChangesTheIndex) {
  auto form = ShownForm();
  auto* tabs = new TTabControl(form.get());
  tabs->Tabs()->Add(L"基本");
  tabs->Tabs()->Add(L"高级");
  tabs->SetParent(form.get());
  HWND wnd = tabs->Handle();
  wchar_t name[32] = {};
  GetClassNameW(wnd, name, 32);
  EXPECT_STREQ(name, L"TTabControl");
  EXPECT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(TabText(wnd, 1), L"高级");
  tabs->Tabs()->Add(L"其他");
  tabs->Tabs()->SetStrings(0, L"常规");
  EXPECT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(TabText(wnd, 0), L"常规");

  // Controls sit in the area below the tabs.
  const TRect display = tabs->DisplayRect();
  EXPECT_GT(display.Top, 0);

  struct Events {
    int changes = 0, changings = 0;
    bool allow = true;
    void Change(TObject*) { ++changes; }
    void Changing(TObject*, bool& Allow) {
      ++changings;
      Allow = allow;
    }
  } events;
  tabs->OnChange = TNotifyEvent::Bind<&Events::Change>(&events);
  tabs->OnChanging = TTabChangingEvent::Bind<&Events::Changing>(&events);
  ClickTab(wnd, 2);
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(events.changes, 1);
  events.allow = false;
  ClickTab(wnd, 1);
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(events.changings, 2);
  EXPECT_EQ(events.changes, 1);
  // The chosen tab stays chosen while the list changes, and goes with its tab.
  tabs->Tabs()->Delete(0);
  EXPECT_EQ(tabs->TabIndex(), 1);
  tabs->Tabs()->Clear();
  EXPECT_EQ(tabs->TabIndex(), -1);
}

TEST(TabControl, ReadFromADescriptionWithItsIndexBeforeItsTabs) {
  TForm form(nullptr, 0);
  ReadComponentText(&form,
                    "object f: TForm\n"
                    "  object tc: TTabControl\n"
                    "    Left = 0\n    Top = 0\n    Width = 200\n    Height = 100\n"
                    "    TabIndex = 1\n"
                    "    TabPosition = tpBottom\n"
                    "    Tabs.Strings = (\n      'a'\n      'b')\n"
                    "  end\n"
                    "end\n",
                    L"tabcontrol");
  auto* tabs = dynamic_cast<TTabControl*>(form.FindComponent(L"tc"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(GetEnumProp(tabs, L"TabPosition"), L"tpBottom");
  form.Show();
  EXPECT_NE(GetWindowLongPtrW(tabs->Handle(), GWL_STYLE) & TCS_BOTTOM, 0);
  EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETCURSEL, 0, 0), 1);
  const std::string text = WriteComponentText(&form);
  EXPECT_NE(text.find("TabIndex = 1"), std::string::npos);
  EXPECT_NE(text.find("Tabs.Strings"), std::string::npos);
}

}  // namespace
}  // namespace vcl::testing
