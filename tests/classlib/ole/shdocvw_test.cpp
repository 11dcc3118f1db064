// The web browser control on real windows (the test environment disables Wine's HTML engine):
// the hosted browser comes and goes with the control's window, fills the control as it is
// aligned and resized, navigates, refreshes and keeps the address it was given.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "classlib/ole/SHDocVw.h"
#include "classlib/comctrls/comctrls_support.h"

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

TRect ClientOf(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return r;
}

int CountChildWindows(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, [](HWND, LPARAM lp) -> BOOL { ++*reinterpret_cast<int*>(lp); return TRUE; },
                   reinterpret_cast<LPARAM>(&count));
  return count;
}

// Pumps until the browser reports a location containing `part`.
bool WaitForLocation(const TWebBrowser* wb, StringView part) {
  return PumpUntil([&] { return wb->LocationURL().find(part) != String::npos; });
}

// A page of the test's own in the temporary folder.
struct PreviewPage : wintest::TempFile {
  PreviewPage() : TempFile(L"shdocvw_test.html") { wintest::WriteBytes(Path(), "<html><body>preview</body></html>"); }
};

TEST(WebBrowser, TheBrowserComesWithTheWindowAndFillsTheClientAlignedControl) {
  auto form = ShownForm(500, 400);
  auto* panel = new TRecordingPanel(form.get());
  panel->SetParent(form.get());
  panel->SetAlign(alClient);
  auto* wb = new TWebBrowser(form.get());
  EXPECT_FALSE(wb->BrowserActive());  // no window yet
  wb->SetParent(panel);
  wb->SetAlign(alClient);
  HWND wnd = wb->Handle();
  ASSERT_TRUE(wb->BrowserActive());
  HWND browser = wb->BrowserWindow();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(GetParent(browser), wnd);
  EXPECT_EQ(wb->BoundsRect(), Rect(0, 0, 500, 400));
  EXPECT_EQ(RectInParent(browser), ClientOf(wnd));

  // The form grows: the panel, the control and the browser follow.
  form->SetClientSize(640, 480);
  EXPECT_EQ(wb->BoundsRect(), Rect(0, 0, 640, 480));
  EXPECT_EQ(RectInParent(browser), Rect(0, 0, 640, 480));
  wb->SetAlign(alNone);
  wb->SetBounds(10, 10, 100, 80);
  EXPECT_EQ(RectInParent(browser), ClientOf(wnd));
  EXPECT_EQ(ClientOf(wnd).Width(), 100);
}

TEST(WebBrowser, AnAddressGivenBeforeTheWindowIsShownWhenItComes_AndAgainInANewWindow) {
  auto form = ShownForm();
  auto* wb = new TWebBrowser(form.get());
  const PreviewPage file;
  const String& page = file.Path();
  wb->Navigate(page);
  wb->Refresh();  // nothing to reload yet
  EXPECT_EQ(wb->LastNavigatedURL(), page);
  EXPECT_EQ(wb->LocationURL(), L"");
  wb->SetParent(form.get());
  HWND first = wb->Handle();
  EXPECT_TRUE(WaitForLocation(wb, L"shdocvw_test.html")) << wb->LocationURL();

  wb->RecreateWnd();
  HWND second = wb->Handle();
  EXPECT_NE(second, first);
  ASSERT_TRUE(wb->BrowserActive());
  EXPECT_EQ(GetParent(wb->BrowserWindow()), second);
  EXPECT_TRUE(WaitForLocation(wb, L"shdocvw_test.html")) << wb->LocationURL();
}

TEST(WebBrowser, TheBrowserGoesBeforeTheWindowWhicheverWayTheWindowGoes) {
  auto form = ShownForm();
  auto* wb = new TWebBrowser(form.get());
  wb->SetParent(form.get());
  HWND wnd = wb->Handle();
  wb->Navigate(L"about:blank");
  Pump();
  EXPECT_GT(CountChildWindows(wnd), 0);
  TObject::Free(wb);
  EXPECT_FALSE(IsWindow(wnd));
  Pump();

  // With the form's window destroyed by the system, the control lets go of the browser too.
  wb = new TWebBrowser(form.get());
  wb->SetParent(form.get());
  wb->Handle();
  ASSERT_TRUE(wb->BrowserActive());
  DestroyWindow(form->Handle());
  Pump();
  EXPECT_FALSE(wb->BrowserActive());
  EXPECT_FALSE(wb->HandleAllocated());
  wb->Navigate(L"about:blank");  // recorded for the next window
  EXPECT_EQ(wb->LastNavigatedURL(), L"about:blank");
}

}  // namespace
}  // namespace vcl::testing
