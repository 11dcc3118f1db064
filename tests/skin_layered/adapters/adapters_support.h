// Shared by the window adapters' tests: skins of flat colours (one per section and state, so
// one pixel tells what was painted) under a manager of the test's own, forms and bare windows,
// and windows painted into memory.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/put_control.h"
#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/manager_support.h"

namespace skin_layered::test {

// One registration a program: the library's units for every test.
inline ::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// Colours as the skin writes them ($BBGGRR) and as pixels read them (COLORREF).
inline constexpr COLORREF kEditColor = 0xF0E0D0;
inline constexpr COLORREF kLeftColor = 0x0000C0, kLeftHot = 0x0000F0;
inline constexpr COLORREF kTopColor = 0x00C000, kTopHot = 0x00F000;
inline constexpr COLORREF kRightColor = 0xC00000, kRightHot = 0xF00000;
inline constexpr COLORREF kBottomColor = 0x00C0C0, kBottomHot = 0x00F0F0;
inline constexpr COLORREF kTrack1H = 0xC000C0, kTrack1HHot = 0xE000E0;
inline constexpr COLORREF kTrack1V = 0xC0C000, kTrack1VHot = 0xE0E000;
inline constexpr COLORREF kTrack2H = 0x404080, kTrack2HHot = 0x6060A0;
inline constexpr COLORREF kTrack2V = 0x408040, kTrack2VHot = 0x60A060;
inline constexpr COLORREF kSliderH = 0x804040, kSliderHHot = 0xA06060;
inline constexpr COLORREF kSliderV = 0x808080, kSliderVHot = 0xA0A0A0;

inline std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "$%06X", static_cast<unsigned>(c));
  return text;
}

inline std::string FlatSection(const char* Name, COLORREF Color, COLORREF Hot) {
  return std::string("[") + Name + "]\r\nCOLOR=" + Hex(Color) + "\r\nHOTCOLOR=" + Hex(Hot) +
         "\r\nFONTCOLOR=$000000\r\nHOTFONTCOLOR=$000000\r\nSTATES=3\r\n";
}

// The scroll bars' sections.
inline std::string ScrollSections() {
  return FlatSection("SCROLLBTNLEFT", kLeftColor, kLeftHot) + FlatSection("SCROLLBTNTOP", kTopColor, kTopHot) +
         FlatSection("SCROLLBTNRIGHT", kRightColor, kRightHot) +
         FlatSection("SCROLLBTNBOTTOM", kBottomColor, kBottomHot) +
         FlatSection("SCROLLBAR1H", kTrack1H, kTrack1HHot) + FlatSection("SCROLLBAR1V", kTrack1V, kTrack1VHot) +
         FlatSection("SCROLLBAR2H", kTrack2H, kTrack2HHot) + FlatSection("SCROLLBAR2V", kTrack2V, kTrack2VHot) +
         FlatSection("SCROLLSLIDERH", kSliderH, kSliderHHot) + FlatSection("SCROLLSLIDERV", kSliderV, kSliderVHot);
}

inline std::string ScrollSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("EDIT", kEditColor, kEditColor) + ScrollSections();
}

// The skin writes $BBGGRR, a bitmap holds RRGGBB.
inline std::uint32_t Rgb(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// A manager with a skin of the given description loaded (no change animation); files the
// description names are written to the skin's folder first.
inline ManagerPtr LoadedManager(TempSkins& Skins, const wchar_t* Name, const std::string& Text) {
  Skins.Write(Name, L"Options.dat", BytesOf(Text));
  ManagerPtr manager = NewManager();
  manager->SetSkinDirectory(Skins.Directory());
  manager->AnimEffects()->SkinChanging()->SetActive(false);
  manager->SetSkinName(Name);
  EXPECT_TRUE(manager->Skin().SkinData.Active) << "the test skin did not load";
  return manager;
}

using FormPtr = decltype(ShownForm());

// A manager with a flat skin loaded and a form with its window.
class SkinnedTest : public ::testing::Test {
 protected:
  void LoadSkin(const std::string& Text = ScrollSkinText(), const wchar_t* Name = L"Flat") {
    manager = LoadedManager(skins, Name, Text);
  }

  TempSkins skins;
  ManagerPtr manager;
  // Left to the tests' own adapters: the dialog hook gives it no provider of its own (Tag bit
  // 0x100, as the library's auxiliary forms), whose automatic adapters would take its controls.
  FormPtr form = [] {
    FormPtr f = ShownForm();
    f->SetTag(0x100);
    return f;
  }();
};

// A memory DC of a given size, black at first.
class MemoryPixels {
 public:
  MemoryPixels(int Width, int Height) : width_(Width), height_(Height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, Width, Height, BLACKNESS);
  }
  ~MemoryPixels() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryPixels(const MemoryPixels&) = delete;
  MemoryPixels& operator=(const MemoryPixels&) = delete;

  HDC DC() const { return dc_; }
  // The pixel as a COLORREF (0x00BBGGRR).
  COLORREF At(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return 0xFFFFFFFF;
    const std::uint32_t p = bits_[static_cast<std::size_t>(Y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(X)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int width_ = 0, height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// The window's rectangle at the origin.
inline RECT WindowBox(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

// Memory of a window's size, for its frame painted into it.
class FramePixels : public MemoryPixels {
 public:
  explicit FramePixels(HWND Wnd) : MemoryPixels(WindowBox(Wnd).right, WindowBox(Wnd).bottom) {}
};

// The window's image as WM_PRINT gives it.
inline std::unique_ptr<FramePixels> Printed(HWND Wnd, LPARAM Flags = PRF_CLIENT | PRF_NONCLIENT) {
  auto pixels = std::make_unique<FramePixels>(Wnd);
  SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(pixels->DC()), Flags);
  return pixels;
}

// Pixels of a rectangle that satisfy a test.
inline int CountPixels(const MemoryPixels& Pixels, const RECT& R, const std::function<bool(COLORREF)>& Test) {
  int n = 0;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) n += Test(Pixels.At(x, y)) ? 1 : 0;
  return n;
}
inline int CountColor(const MemoryPixels& Pixels, const RECT& R, COLORREF Color) {
  return CountPixels(Pixels, R, [Color](COLORREF c) { return c == Color; });
}

// The system's size grip drawn alone (the system's scroll-bar width square, or a smaller
// window's own), each of its lines' pixels where it stands with its bottom-right corner at
// (Right, Bottom) of the pixels: a grip a pixel off the corner fails.
inline void ExpectSystemGripInTheCorner(const MemoryPixels& Pixels, int Right, int Bottom, int Side = 0) {
  const int side = Side > 0 ? std::min(Side, GetSystemMetrics(SM_CXVSCROLL)) : GetSystemMetrics(SM_CXVSCROLL);
  constexpr COLORREF kUnder = 0x5A1E7C;  // no colour of the system's grip
  MemoryPixels alone(side, side);
  RECT place{0, 0, side, side};
  HBRUSH under = CreateSolidBrush(kUnder);
  FillRect(alone.DC(), &place, under);
  DeleteObject(under);
  DrawFrameControl(alone.DC(), &place, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  int lines = 0, placed = 0;
  std::string first;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const COLORREF want = alone.At(x, y);
      if (want == kUnder || want == GetSysColor(COLOR_BTNFACE)) continue;
      ++lines;
      const int atX = Right - side + x, atY = Bottom - side + y;
      if (Pixels.At(atX, atY) == want) ++placed;
      else if (first.empty()) first = std::to_string(atX) + "," + std::to_string(atY);
    }
  EXPECT_GT(lines, 6) << "the system draws no grip lines";
  EXPECT_EQ(placed, lines) << "the first pixel of the grip's lines not in place: " << first;
}

using wintest::Put;

// The adapters' mouse seams answer the test's cursor and button while this lives.
class MouseSeam {
 public:
  MouseSeam()
      : previous_cursor_(SetScrollCursorQuery([this] { return cursor; })),
        previous_button_(SetScrollButtonQuery([this] { return down; })) {}
  ~MouseSeam() {
    SetScrollCursorQuery(previous_cursor_);
    SetScrollButtonQuery(previous_button_);
  }
  MouseSeam(const MouseSeam&) = delete;
  MouseSeam& operator=(const MouseSeam&) = delete;

  POINT cursor{};
  bool down = false;

 private:
  TqvCursorQuery previous_cursor_;
  TqvButtonQuery previous_button_;
};

// A bare visible child window of a system class.
inline HWND Child(HWND Parent, const wchar_t* Class, DWORD Style, int X, int Y, int W, int H, DWORD ExStyle = 0,
                  const wchar_t* Text = L"") {
  return CreateWindowExW(ExStyle, Class, Text, WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, Parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace skin_layered::test
