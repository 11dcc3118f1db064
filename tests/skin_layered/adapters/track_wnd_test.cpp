// The track-bar adapter on a system track bar (as in a dialog): the section behind, the channel
// and thumb by the skin's images, ticks on the style's sides (outlined without a tick image), a
// disabled bar faded toward what lies behind, and the ticks' arithmetic.
#include "panels_support.h"
#include "skin_layered/adapters/TrackWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"

namespace skin_layered::test {
namespace {

class TrackWnd : public PanelsTest {
 protected:
  HWND NewTrackBar(DWORD Style) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND wnd = Child(form->Handle(), TRACKBAR_CLASSW, TBS_AUTOTICKS | Style, 10, 10, 200, 40);
    SendMessageW(wnd, TBM_SETRANGE, TRUE, MAKELPARAM(0, 4));
    SendMessageW(wnd, TBM_SETTICFREQ, 1, 0);
    return wnd;
  }
  static std::unique_ptr<FramePixels> Print(HWND Wnd) { return Printed(Wnd, PRF_CLIENT); }
  // Where the ticks below the channel start (those above end as far above it).
  int TickGap(HWND Wnd) {
    const RECT c = Channel(Wnd), t = Thumb(Wnd);
    return ((t.bottom - t.top) - (c.bottom - c.top)) / 2 + 2;
  }
  std::vector<int> Ticks(HWND Wnd, int Count = 5) {
    const RECT c = Channel(Wnd), t = Thumb(Wnd);
    return TrackTickPositions(c.left, c.right - c.left, t.right - t.left, Count);
  }
  RECT Channel(HWND Wnd) {
    RECT r{};
    SendMessageW(Wnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  RECT Thumb(HWND Wnd) {
    RECT r{};
    SendMessageW(Wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void AddImages(HWND Wnd, bool Ticks) {
    const RECT t = Thumb(Wnd);
    AddFlatImage(*manager, L"TRACKBAR", L"SLIDERCHANNEL", 6, 5, {kChannel, kChannelHot});
    AddFlatImage(*manager, L"TRACKBAR", L"SLIDERMASK", t.right - t.left, t.bottom - t.top, {kThumb, kThumbPressed});
    if (Ticks) AddFlatImage(*manager, L"TRACKBAR", L"TICKHORZ", 1, 3, {0x00FFFF, 0x00FFFF});
  }
  TqvAdapterPtr<TqvTrackWnd> Attach(HWND Wnd) {
    return CreateAdapter<TqvTrackWnd>(Wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"TRACKBAR"});
  }
};

TEST(TrackTicks, SpreadEvenlyOverTheChannelLessTheThumb) {
  EXPECT_EQ(TrackTickPositions(8, 184, 11, 5), (std::vector<int>{13, 56, 100, 143, 186}));
  EXPECT_EQ(TrackTickPositions(8, 100, 10, 1), (std::vector<int>{13}));  // no divisor: one tick at the start
  EXPECT_TRUE(TrackTickPositions(8, 100, 10, 0).empty());
  // Halves go to the even neighbour: 0.5 * 5 + 0 + 0 = 2.5 -> 2.
  EXPECT_EQ(TrackTickPositions(0, 5, 0, 3), (std::vector<int>{0, 2, 5}));
}

TEST_F(TrackWnd, ChannelThumbAndOutlinedTicksBelow) {
  HWND wnd = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  AddImages(wnd, false);
  auto adapter = Attach(wnd);
  EXPECT_EQ(adapter->TickLength, 4);
  auto pixels = Print(wnd);
  EXPECT_GE(adapter->TrackSkinIndex, 0);
  EXPECT_EQ(pixels->At(1, 1), kTrack);
  const RECT c = Channel(wnd), t = Thumb(wnd);
  EXPECT_EQ(pixels->At((t.left + t.right) / 2, (t.top + t.bottom) / 2), kThumb);
  // The channel beyond the thumb, centred on its rectangle.
  EXPECT_EQ(pixels->At(c.right - 3, (c.top + c.bottom) / 2), kChannel);
  ASSERT_EQ(SendMessageW(wnd, TBM_GETNUMTICS, 0, 0), 5);
  const int d = TickGap(wnd);
  const COLORREF shadow = static_cast<COLORREF>(vcl::ColorToRGB(vcl::clBtnShadow));
  for (int x : Ticks(wnd)) {
    EXPECT_EQ(pixels->At(x, c.bottom + d + 1), shadow) << x;
    EXPECT_EQ(pixels->At(x + 1, c.bottom + d + 3), shadow) << x;
    EXPECT_NE(pixels->At(x, c.top - d - 2), shadow) << x;  // nothing above
  }
  // Pressed: the thumb's second frame.
  SendMessageW(wnd, WM_LBUTTONUP, 0, 0);
  adapter->Pressed = true;
  pixels = Print(wnd);
  EXPECT_EQ(pixels->At((t.left + t.right) / 2, (t.top + t.bottom) / 2), kThumbPressed);
}

TEST_F(TrackWnd, NoTicksWithTheStyleBothSidesWithBothAndTickImagesReplaceTheOutlines) {
  HWND plain = NewTrackBar(TBS_HORZ | TBS_NOTICKS);
  HWND both = NewTrackBar(TBS_HORZ | TBS_BOTH);
  AddImages(plain, false);
  auto a1 = Attach(plain);
  auto a2 = Attach(both);
  const COLORREF shadow = static_cast<COLORREF>(vcl::ColorToRGB(vcl::clBtnShadow));
  EXPECT_EQ(CountColor(*Print(plain), RECT{0, 0, 200, 40}, shadow), 0);
  auto pixels = Print(both);
  const RECT c = Channel(both);
  const int middle = Ticks(both)[2], d = TickGap(both);
  EXPECT_EQ(pixels->At(middle, c.bottom + d + 1), shadow);
  EXPECT_EQ(pixels->At(middle, c.top - d - 4 + 1), shadow);
  // A tick image (1 wide) ends at the tick's point.
  AddFlatImage(*manager, L"TRACKBAR", L"TICKHORZ", 1, 3, {0x00FFFF, 0x00FFFF});
  HWND images = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  auto a3 = Attach(images);
  EXPECT_EQ(Print(images)->At(Ticks(images)[4] - 1, Channel(images).bottom + TickGap(images) + 1), 0x00FFFFu);
}

TEST_F(TrackWnd, ASkinWithoutTheSectionLeavesOnlyTheBackground) {
  HWND wnd = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  // The window's section is the panel's; the skin's TRACKBAR section is renamed away.
  for (auto& section : manager->Skin().Sections)
    if (section.ClassName == L"TRACKBAR") section.ClassName = L"TRACKBAR_GONE";
  manager->Skin().IndexTables();
  auto adapter = CreateAdapter<TqvTrackWnd>(wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"PANEL"});
  auto pixels = Print(wnd);
  EXPECT_LT(adapter->TrackSkinIndex, 0);
  const RECT t = Thumb(wnd);
  EXPECT_EQ(pixels->At((t.left + t.right) / 2, (t.top + t.bottom) / 2), kPanel);
}

TEST_F(TrackWnd, ADisabledBarIsFadedTowardItsBackground) {
  HWND wnd = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  AddImages(wnd, false);
  auto adapter = Attach(wnd);
  TqvBGInfo info;
  GetBgInfoWnd(info, form->Handle(), false);
  ASSERT_EQ(info.BgType, btColor);
  const COLORREF bg = static_cast<COLORREF>(vcl::ColorToRGB(info.Color));
  // By the library's disabled blend factor, whatever the effect settings' fade.
  const double before = DefDisabledBlend;
  for (const double factor : {0.4, 0.7}) {
    DefDisabledBlend = factor;
    EnableWindow(wnd, TRUE);
    EnableWindow(wnd, FALSE);
    auto pixels = Print(wnd);
    auto mix = [factor](unsigned c, unsigned b) {
      return static_cast<unsigned>((static_cast<int>(c) - static_cast<int>(b)) * factor + b);
    };
    const COLORREF expected = RGB(mix(GetRValue(kTrack), GetRValue(bg)), mix(GetGValue(kTrack), GetGValue(bg)),
                                  mix(GetBValue(kTrack), GetBValue(bg)));
    const COLORREF got = pixels->At(1, 1);
    EXPECT_NEAR(GetRValue(got), GetRValue(expected), 1) << factor;
    EXPECT_NEAR(GetGValue(got), GetGValue(expected), 1) << factor;
    EXPECT_NEAR(GetBValue(got), GetBValue(expected), 1) << factor;
  }
  DefDisabledBlend = before;
}

}  // namespace
}  // namespace skin_layered::test
