// An outline size or move cancelled, as the screen shows it: the outline is drawn on the
// desktop, over whatever lies there, so the program runs alone and reads a piece of the screen
// that only it paints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skinned_form_fixture.h"
#include "support/win_test_support.h"
#include "skin_layered/forms/RubberFrame.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

class MouseTest : public SkinnedFormTest {};

// A small window of one colour in front of the others, taking no activation. The desktop under
// the outline may be repainted late, where an earlier test's window went: the outline's pixels
// painted over and inverted again by the erase would stay.
class Pane {
 public:
  static constexpr COLORREF kColor = RGB(0x30, 0xC0, 0x60);
  explicit Pane(const vcl::TRect& R)
      : wnd_(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                             wintest::TestWindowClass(L"ScrivaneTestPane", &Proc), L"", WS_POPUP, R.Left, R.Top,
                             R.Width(), R.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
    if (wnd_) ShowWindow(wnd_, SW_SHOWNOACTIVATE);
  }
  ~Pane() {
    if (wnd_) DestroyWindow(wnd_);
  }
  Pane(const Pane&) = delete;
  Pane& operator=(const Pane&) = delete;
  HWND Handle() const { return wnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_ERASEBKGND) return 1;
    if (Msg != WM_PAINT) return DefWindowProcW(Wnd, Msg, WParam, LParam);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(Wnd, &ps);
    SetBkColor(dc, kColor);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &ps.rcPaint, nullptr, 0, nullptr);
    EndPaint(Wnd, &ps);
    return 0;
  }
  HWND wnd_;
};

// Escape, or the capture taken by another window, cancels an outline size or move: the
// outline goes from the desktop (the pixels under it are as before) and the form stays where
// it was; the release that follows does nothing more.
TEST_F(MouseTest, AnOutlineCancelledByEscapeOrALostCaptureLeavesTheFormWhereItWas) {
  Skin();
  form->Show();
  provider->SetResizeMode(rmBorder);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  const wintest::PointerLock input;  // the real keyboard goes to the foreground window
  auto other = NewForm();
  other->HandleNeeded();
  const vcl::TRect before = WindowBox(Wnd());
  auto move = [&](vcl::TPoint screen) {
    POINT p{screen.X, screen.Y};
    ScreenToClient(Wnd(), &p);
    SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  };
  // A block of the screen on the outline's right edge once the frame is 50 pixels wider, on
  // the pane.
  auto block = [&] {
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    for (int y = before.Top + 40; y < before.Top + 44; ++y)
      for (int x = before.Right + 50 - 4; x < before.Right + 50; ++x) pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
  };
  const Pane pane(vcl::Rect(before.Right + 30, before.Top + 20, before.Right + 70, before.Top + 70));
  ASSERT_TRUE(pane.Handle());
  const std::vector<COLORREF> paneShown(16, Pane::kColor);
  // The form in the foreground before the outline shows: the activation repaints the windows
  // under the outline (under Wine the pane too).
  auto foreground = [&] {
    if (GetForegroundWindow() != Wnd()) SetForegroundWindow(Wnd());
    return wintest::PumpUntil([&] { return GetForegroundWindow() == Wnd(); });
  };
  auto pressEscape = [&] {
    for (int attempt = 0; attempt < 3 && RubberFrame().Running(); ++attempt) {
      if (!foreground()) continue;
      keybd_event(VK_ESCAPE, 0, 0, 0);
      keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
      wintest::PumpUntil([] { return !RubberFrame().Running(); }, wintest::Deadline{1000});
    }
  };
  for (const bool escape : {true, false}) {
    for (const int code : {HTRIGHT, HTCAPTION}) {
      SCOPED_TRACE(std::string(escape ? "escape, " : "capture lost, ") + (code == HTRIGHT ? "sizing" : "moving"));
      if (escape) {
        ASSERT_TRUE(foreground());
      }
      // The display shows the pane, and this thread has nothing left to paint.
      ASSERT_TRUE(wintest::PumpUntilIdle([&] { return block() == paneShown; }));
      const vcl::TPoint from = code == HTRIGHT ? Screen({399, 150}) : Screen({150, provider->CaptionButtons().TitleCentre});
      Down(code, from);
      ASSERT_TRUE(RubberFrame().Running());
      move(from);
      move(vcl::TPoint(from.X + 50, from.Y));
      EXPECT_NE(block(), paneShown);  // the outline shows there
      if (escape)
        pressEscape();
      else
        SetCapture(other->Handle());
      EXPECT_FALSE(RubberFrame().Running());
      EXPECT_EQ(block(), paneShown);
      EXPECT_EQ(WindowBox(Wnd()), before);
      ReleaseCapture();
      SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
      EXPECT_EQ(WindowBox(Wnd()), before);
      EXPECT_FALSE(TitleButtonPressed());
    }
  }
  // Not cancelled, the release gives the form the outline's bounds (the mirror case).
  Down(HTRIGHT, Screen({399, 150}));
  move(Screen({399, 150}));
  move(Screen({449, 150}));
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(form->Width(), 450);
}

}  // namespace
}  // namespace skin_layered::test
