// The browser host on a real window under Wine (the test environment disables Wine's HTML
// engine): it creates and activates the control without blocking or raising a dialog,
// navigates, refreshes, resizes and tears down cleanly, and stays an empty pane where OLE
// is unavailable.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>
#include <memory>
#include <thread>
#include <vector>

#include "classlib/ole/OleBrowserHost.h"
#include "support/win_test_support.h"

namespace vcl {
namespace {

using wintest::PumpUntilIdle;

// A visible top-level window to host the control.
class Frame {
 public:
  Frame() {
    wnd_ = CreateWindowExW(0, wintest::TestWindowClass(L"BrowserHostTestFrame", DefWindowProcW), L"browser",
                           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 640, 480, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    ShowWindow(wnd_, SW_SHOW);
  }
  ~Frame() {
    if (wnd_) DestroyWindow(wnd_);
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;
  HWND Get() const { return wnd_; }

 private:
  HWND wnd_ = nullptr;
};

int CountChildWindows(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, [](HWND, LPARAM lp) -> BOOL { ++*reinterpret_cast<int*>(lp); return TRUE; },
                   reinterpret_cast<LPARAM>(&count));
  return count;
}

// Visible top-level windows of this process other than `except`: a dialog would be one.
std::vector<HWND> OtherVisibleTopLevels(HWND except) {
  struct Search {
    HWND except;
    std::vector<HWND> found;
  } search{except, {}};
  EnumWindows(
      [](HWND wnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        if (wnd != s->except && pid == GetCurrentProcessId() && IsWindowVisible(wnd)) s->found.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT ClientRectOf(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A page of the test's own in the temporary folder.
struct PreviewPage : wintest::TempFile {
  PreviewPage() : TempFile(L"browser_host_test.html") {
    wintest::WriteBytes(Path(), "<html><body>preview</body></html>");
  }
};

TEST(OleBrowserHost, ActivatesInPlaceQuicklyWithoutDialog) {
  Frame frame;
  ASSERT_NE(frame.Get(), nullptr);
  OleBrowserHost host(frame.Get(), RECT{10, 20, 310, 220});

  ASSERT_TRUE(host.Active());
  HWND control = host.ControlWindow();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetParent(control), frame.Get());
  const RECT r = ClientRectOf(control);
  EXPECT_EQ(std::tuple(r.left, r.top, r.right, r.bottom), std::tuple(10L, 20L, 310L, 220L));

  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_TRUE(OtherVisibleTopLevels(frame.Get()).empty());
}

// Pumps messages until the control reports a location containing `part`.
bool WaitForLocation(const OleBrowserHost& host, StringView part) {
  return wintest::PumpUntil([&] { return host.LocationURL().find(part) != String::npos; });
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

TEST(OleBrowserHost, NavigatesFilesAndUrlsAndRefreshesWithoutDialog) {
  Frame frame;
  OleBrowserHost host(frame.Get(), RECT{0, 0, 400, 300});
  ASSERT_TRUE(host.Active());
  EXPECT_EQ(host.LastNavigatedURL(), L"");
  EXPECT_EQ(host.LocationURL(), L"");

  const PreviewPage page;
  const String& file = page.Path();
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(host.Navigate(file));
  EXPECT_LT(MillisecondsSince(start), 2000.0);  // loading happens later, never in the call
  EXPECT_EQ(host.LastNavigatedURL(), file);
  EXPECT_TRUE(WaitForLocation(host, L"browser_host_test.html")) << host.LocationURL();

  // An address that cannot resolve: navigation fails later, inside the control, silently.
  const String url = L"http://scrivane.invalid/notice.html";
  start = std::chrono::steady_clock::now();
  EXPECT_TRUE(host.Navigate(url));
  EXPECT_LT(MillisecondsSince(start), 2000.0);
  EXPECT_EQ(host.LastNavigatedURL(), url);
  EXPECT_TRUE(WaitForLocation(host, L"scrivane.invalid")) << host.LocationURL();

  // Without an HTML engine there is no document to reload and the control refuses; either
  // way the call returns at once and leaves the page where it was.
  host.Refresh();
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_NE(host.LocationURL().find(L"scrivane.invalid"), String::npos);
  EXPECT_EQ(host.LastNavigatedURL(), url);
  EXPECT_TRUE(OtherVisibleTopLevels(frame.Get()).empty());
}

TEST(OleBrowserHost, RepeatedCreationReleasesEverything) {
  Frame frame;
  for (int round = 0; round < 5; ++round) {
    {
      OleBrowserHost host(frame.Get(), RECT{0, 0, 300, 200});
      ASSERT_TRUE(host.Active()) << "round " << round;
      EXPECT_GT(CountChildWindows(frame.Get()), 0);
      host.Navigate(L"about:blank");
      PumpUntilIdle();
    }
    // The control's windows go with it; pending work of the control must not crash later.
    EXPECT_EQ(CountChildWindows(frame.Get()), 0) << "round " << round;
    PumpUntilIdle();
  }
  EXPECT_TRUE(OtherVisibleTopLevels(frame.Get()).empty());
}

TEST(OleBrowserHost, OutlivesItsParentWindow) {
  auto frame = std::make_unique<Frame>();
  OleBrowserHost host(frame->Get(), RECT{0, 0, 300, 200});
  ASSERT_TRUE(host.Active());
  host.Navigate(L"about:blank");
  frame.reset();  // the window goes first, as when a form is torn down
  PumpUntilIdle();
  host.SetBounds(RECT{0, 0, 100, 100});
  host.Refresh();
}

// Calls on an empty host do nothing but record the address.
void ExpectEmptyHostRecordsOnly(OleBrowserHost& host) {
  EXPECT_FALSE(host.Active());
  EXPECT_EQ(host.ControlWindow(), nullptr);
  EXPECT_FALSE(host.Navigate(L"C:\\pages/file.html"));
  EXPECT_EQ(host.LastNavigatedURL(), L"C:\\pages/file.html");
  EXPECT_FALSE(host.Refresh());
  EXPECT_EQ(host.LocationURL(), L"");
  host.SetBounds(RECT{1, 2, 3, 4});
  EXPECT_EQ(host.Bounds().bottom, 4);
}

TEST(OleBrowserHost, WithoutParentStaysEmpty) {
  OleBrowserHost host(nullptr, RECT{0, 0, 100, 100});
  ExpectEmptyHostRecordsOnly(host);
}

TEST(OleBrowserHost, OnAThreadWithoutOleStaysEmpty) {
  // A multithreaded apartment cannot host the control: OleInitialize refuses there.
  std::thread worker([] {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    {
      Frame frame;
      OleBrowserHost host(frame.Get(), RECT{0, 0, 100, 100});
      ExpectEmptyHostRecordsOnly(host);
      EXPECT_EQ(CountChildWindows(frame.Get()), 0);
    }
    CoUninitialize();
  });
  worker.join();
}

}  // namespace
}  // namespace vcl
