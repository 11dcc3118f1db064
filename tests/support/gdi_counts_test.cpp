// The counting of GDI objects and DCs at the program's imports: every kind made raw or by the
// library counts up and back down, a leak made on purpose fails the check and names its kind,
// and what is handed to the system or shared stops counting.
#include "support/gdi_counts.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/graphics/Graphics.h"

namespace wintest {
namespace {

// Before each check the count of the kinds it names, after it what changed.
struct Delta {
  GdiCounts before = CountGdi();
  int64_t Live(GdiKind Kind) const { return CountGdi().Live(Kind) - before.Live(Kind); }
  int64_t Made(GdiKind Kind) const { return CountGdi().Made(Kind) - before.Made(Kind); }
};

// A top-level window of its own class, CS_OWNDC when asked.
class TestWindow {
 public:
  explicit TestWindow(bool OwnDc = false) {
    const wchar_t* name = OwnDc ? L"GdiCountsOwnDc" : L"GdiCountsPlain";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = OwnDc ? CS_OWNDC : 0;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);  // a second registration fails harmlessly
    window_ = CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 60, 40, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~TestWindow() { DestroyWindow(window_); }
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

TEST(GdiCounts, EveryKindMadeCountsUpAndFreedCountsBackDown) {
  struct Case {
    GdiKind kind;
    HGDIOBJ (*make)();
  };
  const Case cases[] = {
      {GdiKind::Bitmap, [] { return HGDIOBJ(CreateBitmap(4, 4, 1, 32, nullptr)); }},
      {GdiKind::Bitmap, [] {
         HDC screen = GetDC(nullptr);
         HGDIOBJ b = CreateCompatibleBitmap(screen, 4, 4);
         ReleaseDC(nullptr, screen);
         return b;
       }},
      {GdiKind::Bitmap, [] {
         BITMAPINFO info{};
         info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
         void* bits = nullptr;
         return HGDIOBJ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
       }},
      {GdiKind::Brush, [] { return HGDIOBJ(CreateSolidBrush(RGB(1, 2, 3))); }},
      {GdiKind::Brush, [] {
         LOGBRUSH lb{BS_SOLID, RGB(4, 5, 6), 0};
         return HGDIOBJ(CreateBrushIndirect(&lb));
       }},
      {GdiKind::Pen, [] { return HGDIOBJ(CreatePen(PS_SOLID, 1, RGB(7, 8, 9))); }},
      {GdiKind::Font, [] {
         LOGFONTW lf{};
         lf.lfHeight = -12;
         return HGDIOBJ(CreateFontIndirectW(&lf));
       }},
      {GdiKind::Palette, [] {
         LOGPALETTE palette{0x300, 1, {{1, 2, 3, 0}}};
         return HGDIOBJ(CreatePalette(&palette));
       }},
      {GdiKind::Region, [] { return HGDIOBJ(CreateRectRgn(0, 0, 5, 5)); }},
      {GdiKind::Region, [] {
         RECT r{1, 1, 4, 4};
         return HGDIOBJ(CreateRectRgnIndirect(&r));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(GdiKindName(c.kind));
    const Delta d;
    const HGDIOBJ object = c.make();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(d.Live(c.kind), 1);
    EXPECT_EQ(d.Made(c.kind), 1);
    ASSERT_TRUE(DeleteObject(object));
    EXPECT_EQ(d.Live(c.kind), 0);
    EXPECT_EQ(d.Made(c.kind), 1);
  }

  // Device contexts: a memory DC until it is deleted, a window's (or the screen's) until it is
  // given back, each taking counted.
  const Delta d;
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(d.Live(GdiKind::MemoryDC), 1);
  DeleteDC(memory);
  EXPECT_EQ(d.Live(GdiKind::MemoryDC), 0);
  TestWindow window;
  HDC client = GetDC(window.Get());
  HDC whole = GetWindowDC(window.Get());
  HDC clipped = GetDCEx(window.Get(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(d.Live(GdiKind::WindowDC), 4);
  for (HDC dc : {client, whole, clipped}) ReleaseDC(window.Get(), dc);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(d.Live(GdiKind::WindowDC), 0);
  EXPECT_EQ(d.Made(GdiKind::WindowDC), 4);
  EXPECT_EQ(d.Live(GdiKind::MemoryDC), 0);
}

TEST(GdiCounts, ALeakMadeOnPurposeFailsTheCheckAndNamesItsKinds) {
  TestWindow window;
  const GdiCounts before = CountGdi();
  HRGN region = CreateRectRgn(0, 0, 10, 10);
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  HDC dc = GetDC(window.Get());
  HDC memory = CreateCompatibleDC(dc);
  const GdiCounts leaking = CountGdi();
  const ::testing::AssertionResult check = NoGdiGrowth(before, leaking);
  EXPECT_FALSE(check);
  const std::string message = check.message();
  for (const char* kind : {"Region +1", "Brush +1", "WindowDC +1", "MemoryDC +1"})
    EXPECT_NE(message.find(kind), std::string::npos) << message;
  EXPECT_EQ(message.find("Pen +"), std::string::npos) << message;
  // Within a margin of one of each kind it passes; freed, it passes without.
  EXPECT_TRUE(NoGdiGrowth(before, leaking, 1));
  EXPECT_FALSE(NoGdiGrowth(before, CountGdi(), 0));
  DeleteDC(memory);
  ReleaseDC(window.Get(), dc);
  DeleteObject(brush);
  DeleteObject(region);
  EXPECT_TRUE(NoGdiGrowth(before, CountGdi()));
  EXPECT_EQ(GdiGrowth(before, CountGdi()), "");
}

TEST(GdiCounts, WhatGoesToTheSystemOrIsSharedOrFreedTwiceIsCountedOnce) {
  TestWindow window;
  const Delta d;
  // A window region is the system's once set.
  HRGN region = CreateRectRgn(0, 0, 30, 20);
  EXPECT_EQ(d.Live(GdiKind::Region), 1);
  ASSERT_TRUE(SetWindowRgn(window.Get(), region, FALSE));
  EXPECT_EQ(d.Live(GdiKind::Region), 0);
  // A region refused stays the program's.
  HRGN refused = CreateRectRgn(0, 0, 30, 20);
  EXPECT_FALSE(SetWindowRgn(nullptr, refused, FALSE));
  EXPECT_EQ(d.Live(GdiKind::Region), 1);
  EXPECT_TRUE(DeleteObject(refused));
  EXPECT_FALSE(DeleteObject(refused));  // a second freeing counts nothing more
  EXPECT_EQ(d.Live(GdiKind::Region), 0);

  // A shared image is the system's; one loaded for the program is the program's.
  HANDLE shared = LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED);
  ASSERT_NE(shared, nullptr);
  HANDLE own = LoadImageW(nullptr, MAKEINTRESOURCEW(32760), IMAGE_BITMAP, 0, 0, 0);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(d.Live(GdiKind::Icon), 0);
  EXPECT_EQ(d.Live(GdiKind::Bitmap), 1);
  DeleteObject(own);
  EXPECT_EQ(d.Live(GdiKind::Bitmap), 0);
}

TEST(GdiCounts, AnIconAndTheBitmapsItsInformationHandsOutAreCounted) {
  const Delta d;
  HBITMAP color = CreateBitmap(16, 16, 1, 32, nullptr);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  DeleteObject(color);
  DeleteObject(mask);
  EXPECT_EQ(d.Live(GdiKind::Icon), 1);
  EXPECT_EQ(d.Live(GdiKind::Bitmap), 0);
  ICONINFO copy{};
  ASSERT_TRUE(GetIconInfo(icon, &copy));
  EXPECT_EQ(d.Live(GdiKind::Bitmap), 2);  // the caller's to delete
  DeleteObject(copy.hbmColor);
  DeleteObject(copy.hbmMask);
  HICON second = CopyIcon(icon);
  EXPECT_EQ(d.Live(GdiKind::Icon), 2);
  DestroyIcon(second);
  DestroyIcon(icon);
  EXPECT_EQ(d.Live(GdiKind::Icon), 0);
  EXPECT_EQ(d.Live(GdiKind::Bitmap), 0);
}

TEST(GdiCounts, AWindowsOwnDcTakenTwiceIsGivenBackTwice) {
  TestWindow window(true);
  const Delta d;
  HDC first = GetDC(window.Get());
  HDC second = GetDC(window.Get());
  EXPECT_EQ(first, second);
  EXPECT_EQ(d.Live(GdiKind::WindowDC), 2);
  ReleaseDC(window.Get(), first);
  EXPECT_EQ(d.Live(GdiKind::WindowDC), 1);
  ReleaseDC(window.Get(), second);
  EXPECT_EQ(d.Live(GdiKind::WindowDC), 0);
}

// The library's wrappers are linked into the program and make their objects through its
// imports too.
TEST(GdiCounts, TheLibrarysOwnObjectsAreSeen) {
  const Delta d;
  {
    vcl::TBitmap bitmap;
    bitmap.SetSize(20, 10);
    bitmap.Canvas()->Brush()->SetColor(vcl::clRed);
    bitmap.Canvas()->FillRect(vcl::Rect(0, 0, 20, 10));
    vcl::TFont font;
    font.SetSize(14);
    EXPECT_NE(font.Handle(), nullptr);
    EXPECT_GE(d.Live(GdiKind::Bitmap), 1);
    EXPECT_GE(d.Live(GdiKind::MemoryDC), 1);
    EXPECT_GE(d.Live(GdiKind::Font), 1);
    EXPECT_GE(d.Live(GdiKind::Brush), 1);
  }
  EXPECT_GE(d.Made(GdiKind::Bitmap), 1);
  EXPECT_TRUE(NoGdiGrowth(d.before, CountGdi()));
}

}  // namespace
}  // namespace wintest
