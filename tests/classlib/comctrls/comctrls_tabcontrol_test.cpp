// Tab controls on real windows: the tab list in the window, the user's tab change with
// OnChanging / OnChange, and tabs read from a description before their index.
#include <gtest/gtest.h>

#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

TEST(TabControl, TheTabListIsTheWindowsAndTheUserChangesTheIndex) {
  auto form = ShownForm();
  auto* tabs = new TTabControl(form.get());
  tabs->Tabs()->Add(L"基本");
  tabs->Tabs()->Add(L"高级");
  tabs->SetParent(form.get());
  HWND wnd = tabs->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TTabControl");
  EXPECT_EQ(TabText(wnd, 1), L"高级");
  tabs->Tabs()->Add(L"其他");
  tabs->Tabs()->SetStrings(0, L"常规");
  EXPECT_EQ(TabCountOf(wnd), 3);
  EXPECT_EQ(TabText(wnd, 0), L"常规");
  EXPECT_GT(tabs->DisplayRect().Top, 0);  // controls sit below the tabs

  // The user's choice (refusals go through the page control's common base).
  Notified changes;
  tabs->OnChange = changes.Handler();
  ClickTab(wnd, 2);
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(changes.Count(), 1);
  // The chosen tab stays chosen while the list changes, and goes with its tab.
  tabs->Tabs()->Delete(0);
  EXPECT_EQ(tabs->TabIndex(), 1);
  tabs->Tabs()->Clear();
  EXPECT_EQ(tabs->TabIndex(), -1);
}

}  // namespace
}  // namespace vcl::testing
