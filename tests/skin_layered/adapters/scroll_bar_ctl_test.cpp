// The scroll-bar control's adapter on the library's TScrollBar: its parts painted from the
// scroll sections, the thumb's arithmetic, SBM_SETSCROLLINFO kept and pushed into the control in
// one valid change, and a thumb drag. Presses go to the adapter: no system tracking loop.
#include "classlib/stdctrls/ScrollBar.h"
#include "panels_support.h"
#include "skin_layered/adapters/ScrollBarCtlWnd.h"

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

}  // namespace
}  // namespace skin_layered::test
