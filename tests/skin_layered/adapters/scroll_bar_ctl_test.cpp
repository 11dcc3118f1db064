// The scroll-bar control's adapter on the library's TScrollBar: its parts painted from the
// scroll sections, the thumb's arithmetic, SBM_SETSCROLLINFO kept and pushed into the control in
// one valid change, and a thumb drag: by the adapter's own presses, and by the real mouse through
// the system's tracking loop.
#include <algorithm>
#include <functional>
#include <vector>

#include "classlib/stdctrls/ScrollBar.h"
#include "panels_support.h"
#include "skin_layered/adapters/ScrollBarCtlWnd.h"
#include "skin_layered/forms/SkinProvider.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

TEST(ScrollBarControlGeometry, ThumbLengthPlaceAndTheInverse) {
  EXPECT_EQ(SBThumbLength(200, 0, 100, 0), 16);
  EXPECT_EQ(SBThumbLength(200, 0, 100, 1000), 1980);  // 200 * 1000 / 101: longer than the track
  EXPECT_EQ(SBThumbLength(10, 0, 100, 1), 16);        // never below 16
  EXPECT_EQ(SBThumbLength(200, 5, 4, 1), 16);         // no divisor
  // 236 long, buttons 18: the track is 200; page 20 of 0..100 gives 200 * 20 / 101 = 40.
  TqvSBLayout l = SBLayout(236, 18, 0, 100, 20, 0);
  EXPECT_EQ(l.ThumbLength, 40);
  EXPECT_EQ(l.ThumbStart, 18);
  l = SBLayout(236, 18, 0, 100, 20, 81);
  EXPECT_EQ(l.ThumbStart + l.ThumbLength, 236 - 18);
  l = SBLayout(236, 18, 0, 100, 20, 40);
  EXPECT_EQ(l.ThumbCentre, 18 + 20 + 79);  // 160 / 81 * 40 = 79.01
  EXPECT_EQ(SBPositionAt(l.ThumbCentre, l, 236, 0, 100, 20, -1), 40);
  EXPECT_EQ(SBPositionAt(0, l, 236, 0, 100, 20, -1), 0);
  EXPECT_EQ(SBPositionAt(500, l, 236, 0, 100, 20, -1), 81);
  // Without a range the thumb sits in the middle; without room the fallback stays.
  EXPECT_EQ(SBLayout(236, 18, 5, 5, 0, 5).ThumbCentre, 118);
  const TqvSBLayout tight = SBLayout(40, 18, 0, 100, 0, 0);
  EXPECT_EQ(SBPositionAt(20, tight, 40, 0, 100, 0, 7), 7);
}

class ScrollBarControl : public SkinnedTest {
 protected:
  void SetUp() override {
    LoadSkin(ScrollSkinText() + FlatSection("CHECKBOX", kCheckBox, kCheckBox), L"Bars");
    bar = Put<vcl::TScrollBar>(form.get(), 10, 10, 236, 18);
    bar->SetPageSize(20);
    bar->HandleNeeded();
    adapter = CreateAdapter<TqvSBWnd>(bar->Handle(), nullptr, manager.get(), TqvSkinParams{bar, L""});
  }
  void SetInfo(UINT Mask, int Min, int Max, int Page, int Pos) {
    SCROLLINFO info{sizeof info, Mask, Min, Max, static_cast<UINT>(Page), Pos, 0};
    SendMessageW(bar->Handle(), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
  }
  POINT ThumbCentre() {
    const vcl::TRect r = adapter->PartRect(kSBThumb);
    return POINT{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }

  vcl::TScrollBar* bar = nullptr;
  TqvAdapterPtr<TqvSBWnd> adapter;
};

TEST_F(ScrollBarControl, TakesTheControlsParametersAndPaintsEveryPart) {
  EXPECT_FALSE(bar->TabStop());
  EXPECT_EQ(adapter->Max, 100);
  EXPECT_EQ(adapter->Page, 20);
  bar->SetPosition(40);
  EXPECT_EQ(adapter->TrackPos, 40);
  const auto printed = Printed(bar->Handle(), PRF_CLIENT);
  const FramePixels& pixels = *printed;
  const vcl::TRect thumb = adapter->PartRect(kSBThumb);
  EXPECT_EQ(pixels.At(1, 1), kLeftColor);
  EXPECT_EQ(pixels.At(234, 1), kRightColor);
  EXPECT_EQ(pixels.At(thumb.Left - 2, 9), kTrack1H);
  EXPECT_EQ(pixels.At(thumb.Right + 2, 9), kTrack2H);
  EXPECT_EQ(pixels.At((thumb.Left + thumb.Right) / 2, 9), kSliderH);
  // A pressed first button.
  adapter->SetPartState(kSBFirstButton, 2, true);
  EXPECT_EQ(adapter->PartState(kSBTrackBefore), 1);
  EXPECT_EQ(adapter->PartState(kSBThumb), 0);
}

TEST_F(ScrollBarControl, AReversedRangeIsStoredAsNothing) {
  SetInfo(SIF_RANGE, 50, 10, 0, 0);
  EXPECT_EQ(adapter->Min, 0);
  EXPECT_EQ(adapter->Max, 0);
  EXPECT_EQ(adapter->Page, 1);  // limited to the range's one position
}

TEST_F(ScrollBarControl, ARangeAboveTheOldOneReachesTheControlAndTheThumbDragsThrough) {
  SetInfo(SIF_RANGE | SIF_POS, 200, 300, 0, 250);
  EXPECT_EQ(adapter->Min, 200);
  EXPECT_EQ(adapter->Max, 300);
  EXPECT_EQ(bar->Min(), 200);
  EXPECT_EQ(bar->Max(), 300);
  bar->SetPosition(220);
  ASSERT_EQ(adapter->Position, 220);
  POINT p = ThumbCentre();
  adapter->MouseDown(p);
  EXPECT_EQ(adapter->PressedPart, kSBThumbDragged);
  EXPECT_EQ(adapter->PartState(kSBThumb), 2);
  // Forty pixels on: the thumb's centre there stands for a later position.
  p.x += 40;
  adapter->MouseAt(p);
  const int dragged = bar->Position();
  EXPECT_GT(dragged, 220);
  EXPECT_EQ(adapter->TrackPos, dragged);
  // A position set meanwhile by the program moves Position, not the dragged thumb.
  SetInfo(SIF_POS, 0, 0, 0, 205);
  EXPECT_EQ(adapter->Position, 205);
  EXPECT_EQ(adapter->TrackPos, dragged);
  adapter->MouseUp(p);
  EXPECT_EQ(adapter->PressedPart, kSBReleased);
  EXPECT_EQ(adapter->PartState(kSBThumb), 1);
}

TEST_F(ScrollBarControl, RedrawLocksOfOtherCodeSurviveTheForcedRedraw) {
  SendMessageW(bar->Handle(), WM_SETREDRAW, FALSE, 0);
  EXPECT_EQ(adapter->RedrawLocks, 1);
  // The lock takes the window's visible style away; the redraw lifts it for a moment only.
  EXPECT_EQ(GetWindowLongW(bar->Handle(), GWL_STYLE) & WS_VISIBLE, 0);
  SetInfo(SIF_POS, 0, 0, 0, 30);
  EXPECT_EQ(adapter->Position, 30);
  EXPECT_EQ(adapter->RedrawLocks, 1);
  EXPECT_EQ(GetWindowLongW(bar->Handle(), GWL_STYLE) & WS_VISIBLE, 0);
  SendMessageW(bar->Handle(), WM_SETREDRAW, TRUE, 0);
  EXPECT_EQ(adapter->RedrawLocks, 0);
  EXPECT_NE(GetWindowLongW(bar->Handle(), GWL_STYLE) & WS_VISIBLE, 0);
}

// A scroll bar 300 pixels long at Position on a skinned form (its adapter given by the form's
// provider), the form top-most with the foreground for the real pointer.
struct BarOnASkinnedForm {
  struct FormFree {
    void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
  };
  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, FormFree> form;
  vcl::TScrollBar* bar = nullptr;

  BarOnASkinnedForm(const wchar_t* SkinName, int Position, int FormHeight)
      : manager(LoadedManager(skins, SkinName,
                              ScrollSkinText() + FlatSection("FORM", 0xC0C0C0, 0xC0C0C0) +
                                  FlatSection("CHECKBOX", kCheckBox, kCheckBox))),
        form(new vcl::TForm(vcl::Application, 0)) {
    vcl::Construct<TsSkinProvider>(form.get());
    bar = new vcl::TScrollBar(form.get());
    bar->SetParent(form.get());
    bar->SetBounds(10, 10, 300, 18);
    bar->SetPageSize(20);
    bar->SetPosition(Position);
    form->SetBounds(40, 40, 360, FormHeight);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    wintest::PumpUntilIdle();
  }
  TqvSBWnd* Adapter() const { return dynamic_cast<TqvSBWnd*>(GetAdapter(bar->Handle())); }
  // The foreground, taken back until it stays: the mouse's input goes to the window holding
  // the capture only while its program has it (a program beside shows windows all the time).
  bool TakeForeground() const {
    const HWND top = form->Handle();
    return wintest::PumpUntil([top] {
      if (GetForegroundWindow() != top) SetForegroundWindow(top);
      return GetForegroundWindow() == top;
    });
  }
};

// Real mouse input at a screen point.
void SendMouse(POINT At, DWORD Flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(At.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(At.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = Flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

// The button let go at the end of a real drag. The system's tracking loop holds the mouse until
// it hears the release, and runs inside the test's pump, out of reach of its deadline: a
// release gone elsewhere would leave the test waiting for ever, and every test program beside
// waiting for the pointer's lock. The release is made at the drag's last point (the system may
// still report a place the pointer left), and made again every half second with the foreground
// given back to the bar's form. After three seconds the bar is made to let the mouse go, which
// ends the loop, and the release counts as lost.
struct DragRelease {
  HWND bar = nullptr;
  POINT at{};
  int ticks = -1;  // not made yet
  bool lost = false;

  // At each tick once the drag is done: true when the loop has let the mouse go.
  bool Over() {
    if (ticks < 0) {
      ticks = 0;
      SendMouse(at, MOUSEEVENTF_LEFTUP);
      return false;
    }
    if (GetCapture() != bar) return true;
    if (++ticks % 5 == 0) {
      SetForegroundWindow(GetAncestor(bar, GA_ROOT));
      SendMouse(at, MOUSEEVENTF_LEFTUP);
    }
    if (ticks < 30) return false;
    lost = true;
    ReleaseCapture();
    return true;
  }
};

// Longer than a drag's ticks can take: waits for the pointer, late thumbs and the release.
constexpr wintest::Deadline kDragBound{20'000};

// A scroll bar on a skinned form (its adapter given by the form's provider), its thumb dragged
// with the real mouse: the system's tracking loop of the control holds the mouse until the
// button is let go, and the thumb is drawn under the mouse all the way, not only at the end.
struct ThumbDrag {
  vcl::TScrollBar* bar = nullptr;
  POINT start{};               // the grab, on screen
  int step = 0;
  std::vector<int> misses;     // drawn thumb centre less the mouse, after each move
  int waits = 0;               // ticks spent waiting for the pointer to arrive
  int lateTicks = 0;           // ticks this step's thumb has been given to arrive
  DragRelease release;
  bool done = false;

  static ThumbDrag* current;
  // The middle of the thumb's columns, normal or hot, at mid height.
  int DrawnThumbCentre() const {
    const auto pixels = Printed(bar->Handle(), PRF_CLIENT);
    int first = -1, last = -1;
    for (int x = 0; x < bar->Width(); ++x)
      if (pixels->At(x, 9) == kSliderH || pixels->At(x, 9) == kSliderHHot) {
        if (first < 0) first = x;
        last = x;
      }
    return first < 0 ? -1000 : (first + last) / 2;
  }
  // The mouse moved through the system's input to a screen point.
  static void MoveTo(POINT At) { SendMouse(At, 0); }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR Id, DWORD) {
    ThumbDrag& d = *current;
    if (d.step > 3) {
      if (!d.release.Over()) return;
      KillTimer(nullptr, Id);
      d.done = true;
      return;
    }
    if (d.step > 0) {
      POINT mouse{d.start.x + 40 * d.step, d.start.y};
      // A busy machine may not have moved the pointer yet, nor the tracking loop taken the
      // move: the tick after the pointer is seen there measures.
      POINT now{};
      if (GetCursorPos(&now) && now.x != mouse.x && ++d.waits < 20) return;
      ScreenToClient(d.bar->Handle(), &mouse);
      const int miss = d.DrawnThumbCentre() - mouse.x;
      // The thumb gets up to two seconds to arrive: a thumb that stays put until the button
      // is let go never does. Under load Wine sometimes holds a move back until the next
      // input: the move is made again, to the same place, every half second.
      if (std::abs(miss) > 4 && ++d.lateTicks < 20) {
        if (d.lateTicks % 5 == 0) MoveTo(POINT{d.start.x + 40 * d.step, d.start.y});
        return;
      }
      d.lateTicks = 0;
      d.misses.push_back(miss);
    }
    if (++d.step <= 3) {
      MoveTo(POINT{d.start.x + 40 * d.step, d.start.y});
    } else {
      d.release.bar = d.bar->Handle();
      d.release.at = POINT{d.start.x + 120, d.start.y};
      d.release.Over();
    }
  }
};
ThumbDrag* ThumbDrag::current = nullptr;

TEST(ScrollBarOnASkinnedForm, TheDraggedThumbFollowsTheMouse) {
  wintest::PointerLock lock;
  BarOnASkinnedForm shown(L"DragBars", 0, 120);
  vcl::TScrollBar* bar = shown.bar;
  TqvSBWnd* adapter = shown.Adapter();
  ASSERT_NE(adapter, nullptr);
  // The drag is real input through the system's tracking loop: on a machine busy starting many
  // test programs a move can come late, so a drag that lost its way is tried again (up to three
  // times). A thumb that does not follow the mouse misses in every one.
  ThumbDrag drag;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    bar->SetPosition(0);
    wintest::PumpUntilIdle();
    const vcl::TRect thumb = adapter->PartRect(kSBThumb);
    drag = ThumbDrag{};
    drag.bar = bar;
    drag.start = POINT{(thumb.Left + thumb.Right) / 2, 9};
    ClientToScreen(bar->Handle(), &drag.start);
    ASSERT_TRUE(shown.TakeForeground());
    ASSERT_TRUE(wintest::MovePointer(drag.start.x, drag.start.y));
    ThumbDrag::current = &drag;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &ThumbDrag::Tick);
    SendMouse(drag.start, MOUSEEVENTF_LEFTDOWN);
    // Past every bound of the drag's own (waits, late thumbs, the release).
    EXPECT_TRUE(wintest::PumpUntil([&] { return drag.done; }, kDragBound));
    KillTimer(nullptr, timer);
    wintest::PumpUntilIdle();
    ThumbDrag::current = nullptr;
    const bool followed = drag.misses.size() == 3 && std::all_of(drag.misses.begin(), drag.misses.end(),
                                                                 [](int m) { return std::abs(m) <= 4; });
    if (followed && bar->Position() > 30 && !drag.release.lost) break;
  }
  EXPECT_FALSE(drag.release.lost) << "the tracking loop never heard the button let go (three drags): the bar was made to let the mouse go";
  ASSERT_EQ(drag.misses.size(), 3u);
  for (std::size_t i = 0; i < drag.misses.size(); ++i) EXPECT_LE(std::abs(drag.misses[i]), 4) << "after move " << i + 1;
  EXPECT_GT(bar->Position(), 30);
  EXPECT_EQ(adapter->PressedPart, kSBReleased);
}

// The bar's pixels as its form's window surface holds them: what the display shows, the
// system's own drawing included.
COLORREF OnScreenAt(HWND Wnd, int X, int Y) {
  const HWND top = GetAncestor(Wnd, GA_ROOT);
  POINT at{X, Y};
  ClientToScreen(Wnd, &at);
  RECT w{};
  GetWindowRect(top, &w);
  MemoryPixels shot(1, 1);
  const HDC dc = GetWindowDC(top);
  BitBlt(shot.DC(), 0, 0, 1, 1, dc, at.x - w.left, at.y - w.top, SRCCOPY);
  ReleaseDC(top, dc);
  return shot.At(0, 0);
}

// A thumb dragged away from the bar and let go there: the system's tracking loop then draws
// the bar itself, in its own look, outside WM_PAINT (when the mouse leaves the bar and once
// more at the release). The skinned bar shows again all the same, during the drag and after.
struct AwayDrag {
  POINT start{};
  int step = 0;
  int waits = 0;
  std::function<void()> measure;
  DragRelease release;
  bool done = false;

  static AwayDrag* current;
  POINT Place(int Step) const { return POINT{start.x + 30 * Step, start.y + 25 + 10 * Step}; }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR Id, DWORD) {
    AwayDrag& d = *current;
    if (d.step > 0 && d.step <= 2) {
      POINT now{};
      if (GetCursorPos(&now) && now.y != d.Place(d.step).y && ++d.waits < 20) return;
    }
    if (++d.step <= 2) {
      ThumbDrag::MoveTo(d.Place(d.step));
    } else if (d.step == 3) {
      d.measure();
      d.release.at = d.Place(2);
    } else if (d.release.Over()) {
      KillTimer(nullptr, Id);
      d.done = true;
    }
  }
};
AwayDrag* AwayDrag::current = nullptr;

TEST(ScrollBarOnASkinnedForm, AThumbLetGoAwayFromTheBarLeavesTheSkinnedBar) {
  wintest::PointerLock lock;
  BarOnASkinnedForm shown(L"AwayBars", 30, 160);
  TqvSBWnd* adapter = shown.Adapter();
  ASSERT_NE(adapter, nullptr);
  // Track points on both sides of the thumb (a third of the way along, moved 60 pixels on at
  // most) and the arrows.
  const vcl::TRect first = adapter->PartRect(kSBFirstButton), second = adapter->PartRect(kSBSecondButton);
  const HWND wnd = shown.bar->Handle();
  auto skinned = [&](const char* When) {
    const COLORREF before = OnScreenAt(wnd, first.Right + 2, 9), after = OnScreenAt(wnd, second.Left - 3, 9);
    EXPECT_TRUE(before == kTrack1H || before == kTrack1HHot) << When << ": " << std::hex << before;
    EXPECT_TRUE(after == kTrack2H || after == kTrack2HHot) << When << ": " << std::hex << after;
    const COLORREF left = OnScreenAt(wnd, 2, 2), right = OnScreenAt(wnd, second.Left + 2, 2);
    EXPECT_TRUE(left == kLeftColor || left == kLeftHot) << When << ": " << std::hex << left;
    EXPECT_TRUE(right == kRightColor || right == kRightHot) << When << ": " << std::hex << right;
  };
  skinned("before the drag");
  const vcl::TRect thumb = adapter->PartRect(kSBThumb);
  AwayDrag drag;
  drag.start = POINT{(thumb.Left + thumb.Right) / 2, 9};
  ClientToScreen(wnd, &drag.start);
  drag.measure = [&] { skinned("while the thumb is dragged away from the bar"); };
  drag.release.bar = wnd;
  ASSERT_TRUE(shown.TakeForeground());
  ASSERT_TRUE(wintest::MovePointer(drag.start.x, drag.start.y));
  AwayDrag::current = &drag;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &AwayDrag::Tick);
  SendMouse(drag.start, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(wintest::PumpUntil([&] { return drag.done; }, kDragBound));
  KillTimer(nullptr, timer);
  wintest::PumpUntilIdle();
  AwayDrag::current = nullptr;
  ASSERT_FALSE(drag.release.lost) << "the tracking loop never heard the button let go: the bar was made to let the mouse go";
  EXPECT_EQ(adapter->PressedPart, kSBReleased);
  skinned("after the release");
}

}  // namespace
}  // namespace skin_layered::test
