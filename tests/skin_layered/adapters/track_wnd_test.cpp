// The track-bar adapter on a system track bar (a bare child window, as in a dialog): the
// section behind, the channel by the skin's image, ticks on the sides the style asks for
// (outlined when the skin has no tick image), the thumb by state, a disabled bar faded toward
// what lies behind, and the ticks' arithmetic.
#include "panels_support.h"
#include "skin_layered/adapters/TrackWnd.h"
#include "skin_layered/core/BackgroundInfo.h"

namespace skin_layered::test {
namespace {

class TrackWnd : public PanelsTest {
 protected:
  HWND NewTrackBar(DWORD Style) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND wnd = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS | Style, 10, 10, 200, 40,
                               form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(wnd, TBM_SETRANGE, TRUE, MAKELPARAM(0, 4));
    SendMessageW(wnd, TBM_SETTICFREQ, 1, 0);
    return wnd;
  }
  std::unique_ptr<FramePixels> Print(HWND Wnd) {
    auto pixels = std::make_unique<FramePixels>(Wnd);
    SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(pixels->DC()), PRF_CLIENT);
    return pixels;
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
  const int count = static_cast<int>(SendMessageW(wnd, TBM_GETNUMTICS, 0, 0));
  ASSERT_EQ(count, 5);
  const std::vector<int> ticks = TrackTickPositions(c.left, c.right - c.left, t.right - t.left, count);
  const int d = ((t.bottom - t.top) - (c.bottom - c.top)) / 2 + 2;
  const COLORREF shadow = static_cast<COLORREF>(vcl::ColorToRGB(vcl::clBtnShadow));
  for (int x : ticks) {
    EXPECT_EQ(pixels->At(x, c.bottom + d + 1), shadow) << x;
    EXPECT_EQ(pixels->At(x + 1, c.bottom + d + 3), shadow) << x;
    EXPECT_NE(pixels->At(x, c.top - d - 2), shadow) << x;  // nothing above
  }
  // Pressed: the thumb's second frame.
  SendMessageW(wnd, WM_LBUTTONUP, 0, 0);
  adapter->Pressed = true;
  pixels = Print(wnd);
  EXPECT_EQ(pixels->At((t.left + t.right) / 2, (t.top + t.bottom) / 2), kThumbPressed);
  adapter.reset();
  DestroyWindow(wnd);
}

TEST_F(TrackWnd, NoTicksWithTheStyleAndBothSidesWithBoth) {
  HWND plain = NewTrackBar(TBS_HORZ | TBS_NOTICKS);
  HWND both = NewTrackBar(TBS_HORZ | TBS_BOTH);
  AddImages(plain, false);
  auto a1 = Attach(plain);
  auto a2 = Attach(both);
  const COLORREF shadow = static_cast<COLORREF>(vcl::ColorToRGB(vcl::clBtnShadow));
  auto pixels = Print(plain);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_NE(pixels->At(x, y), shadow) << x << "," << y;
  pixels = Print(both);
  const RECT c = Channel(both), t = Thumb(both);
  const int d = ((t.bottom - t.top) - (c.bottom - c.top)) / 2 + 2;
  const std::vector<int> ticks = TrackTickPositions(c.left, c.right - c.left, t.right - t.left, 5);
  EXPECT_EQ(pixels->At(ticks[2], c.bottom + d + 1), shadow);
  EXPECT_EQ(pixels->At(ticks[2], c.top - d - 4 + 1), shadow);
  a1.reset();
  a2.reset();
  DestroyWindow(plain);
  DestroyWindow(both);
}

TEST_F(TrackWnd, TickImagesReplaceTheOutlines) {
  HWND wnd = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  AddImages(wnd, true);
  auto adapter = Attach(wnd);
  auto pixels = Print(wnd);
  const RECT c = Channel(wnd), t = Thumb(wnd);
  const int d = ((t.bottom - t.top) - (c.bottom - c.top)) / 2 + 2;
  const std::vector<int> ticks = TrackTickPositions(c.left, c.right - c.left, t.right - t.left, 5);
  // The image (1 wide) ends at the tick's point.
  EXPECT_EQ(pixels->At(ticks[4] - 1, c.bottom + d + 1), 0x00FFFFu);
  adapter.reset();
  DestroyWindow(wnd);
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
  adapter.reset();
  DestroyWindow(wnd);
}

TEST_F(TrackWnd, ADisabledBarIsFadedTowardItsBackground) {
  HWND wnd = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  AddImages(wnd, false);
  auto adapter = Attach(wnd);
  EnableWindow(wnd, FALSE);
  auto pixels = Print(wnd);
  TqvBGInfo info;
  GetBgInfoWnd(info, form->Handle(), false);
  ASSERT_EQ(info.BgType, btColor);
  const COLORREF bg = static_cast<COLORREF>(vcl::ColorToRGB(info.Color));
  auto mix = [](unsigned c, unsigned b) { return static_cast<unsigned>((static_cast<int>(c) - static_cast<int>(b)) * 0.4 + b); };
  const COLORREF expected = RGB(mix(GetRValue(kTrack), GetRValue(bg)), mix(GetGValue(kTrack), GetGValue(bg)),
                                mix(GetBValue(kTrack), GetBValue(bg)));
  const COLORREF got = pixels->At(1, 1);
  EXPECT_NEAR(GetRValue(got), GetRValue(expected), 1);
  EXPECT_NEAR(GetGValue(got), GetGValue(expected), 1);
  EXPECT_NEAR(GetBValue(got), GetBValue(expected), 1);
  adapter.reset();
  DestroyWindow(wnd);
}

}  // namespace
}  // namespace skin_layered::test
