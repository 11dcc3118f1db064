// The track-bar adapter on a system track bar (as in a dialog): the section behind, the channel
// and thumb by the skin's images, ticks on the style's sides (outlined without a tick image), a
// disabled bar faded toward what lies behind, and the ticks' arithmetic.
#include <tuple>

#include "panels_support.h"
#include "skin_layered/adapters/TrackWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"

namespace skin_layered::test {
namespace {

class TrackWnd : public PanelsTest {
 protected:
  HWND NewTrackBar(DWORD Style, int Width = 200, int Height = 40) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND wnd = Child(form->Handle(), TRACKBAR_CLASSW, TBS_AUTOTICKS | Style, 10, 10, Width, Height);
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

// A thumb image of two halves, Before then After along the rows (or the columns when
// Columns), in two frames, added to the skin.
int AddHalvesImage(TsSkinManager& Manager, const wchar_t* Property, int Width, int Height, COLORREF Before,
                   COLORREF After, bool Columns) {
  const int index = AddFlatImage(Manager, L"TRACKBAR", Property, Width, Height, {Before, Before});
  vcl::TBitmap* bmp = Manager.Skin().Images[static_cast<std::size_t>(index)].Bmp.get();
  HBRUSH brush = CreateSolidBrush(After);
  for (int frame = 0; frame < 2; ++frame) {
    const RECT r = Columns ? RECT{frame * Width + Width / 2, 0, (frame + 1) * Width, Height}
                           : RECT{frame * Width, Height / 2, (frame + 1) * Width, Height};
    FillRect(bmp->Canvas()->Handle(), &r, brush);
  }
  DeleteObject(brush);
  return index;
}

bool Close(COLORREF A, COLORREF B) {
  return std::abs(GetRValue(A) - GetRValue(B)) < 40 && std::abs(GetGValue(A) - GetGValue(B)) < 40 &&
         std::abs(GetBValue(A) - GetBValue(B)) < 40;
}

// A vertical bar: its channel narrowed across, its own thumb image, the ticks at its right or,
// with TBS_LEFT, at its left.
TEST_F(TrackWnd, AVerticalBarTurnsChannelThumbAndTicks) {
  constexpr COLORREF kThumbV = 0x40E0A0;
  HWND right = NewTrackBar(TBS_VERT | TBS_RIGHT, 40, 200);
  HWND left = NewTrackBar(TBS_VERT | TBS_LEFT, 40, 200);
  const RECT t = Thumb(right);
  AddFlatImage(*manager, L"TRACKBAR", L"SLIDERCHANNEL", 5, 6, {kChannel, kChannelHot});
  AddFlatImage(*manager, L"TRACKBAR", L"SLIDERMASK", t.right - t.left, t.bottom - t.top, {kThumb, kThumbPressed});
  AddFlatImage(*manager, L"TRACKBAR", L"SLIDERVMASK", t.right - t.left, t.bottom - t.top, {kThumbV, kThumbV});
  auto a1 = Attach(right);
  auto a2 = Attach(left);
  const COLORREF shadow = static_cast<COLORREF>(vcl::ColorToRGB(vcl::clBtnShadow));
  for (HWND wnd : {right, left}) {
    const bool atLeft = wnd == left;
    SCOPED_TRACE(atLeft ? "TBS_LEFT" : "TBS_RIGHT");
    auto pixels = Print(wnd);
    const RECT raw = Channel(wnd), th = Thumb(wnd);
    // The channel runs along the bar (the system's bar answers with its axes exchanged, Wine's
    // does not).
    const RECT c = raw.right - raw.left > raw.bottom - raw.top ? RECT{raw.top, raw.left, raw.bottom, raw.right} : raw;
    ASSERT_GT(c.bottom - c.top, c.right - c.left);
    EXPECT_EQ(pixels->At((th.left + th.right) / 2, (th.top + th.bottom) / 2), kThumbV);
    // The channel: the image's width less one, centred on the channel's rectangle.
    const int narrow = 5 - 1, x0 = (c.left + c.right - narrow) / 2;
    EXPECT_EQ(pixels->At(x0, c.bottom - 3), kChannel);
    EXPECT_EQ(pixels->At(x0 + narrow - 1, c.bottom - 3), kChannel);
    EXPECT_NE(pixels->At(x0 + narrow, c.bottom - 3), kChannel);
    // The ticks across, spread along the channel.
    const int d = ((th.right - th.left) - (c.right - c.left)) / 2 + 2;
    const std::vector<int> ticks = TrackTickPositions(c.top, c.bottom - c.top, th.bottom - th.top, 5);
    for (int y : ticks) {
      if (atLeft) {
        EXPECT_EQ(pixels->At(c.left - d - 4 + 1, y), shadow) << y;
        EXPECT_NE(pixels->At(c.right + d + 1, y), shadow) << y;
      } else {
        EXPECT_EQ(pixels->At(c.right + d + 1, y), shadow) << y;
        EXPECT_NE(pixels->At(c.left - d - 4 + 1, y), shadow) << y;
      }
    }
  }
}

// A thumb whose size is not the image's is drawn at the image's size and scaled; with the
// ticks on the top (or left) it is turned over, pointing toward them.
TEST_F(TrackWnd, AThumbPointsTowardTicksOnTheTopOrLeft) {
  constexpr COLORREF kNear = 0x2020D0, kFar = 0xD0D020;  // the image's first half, its second
  HWND bottom = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  HWND top = NewTrackBar(TBS_HORZ | TBS_TOP);
  HWND right = NewTrackBar(TBS_VERT | TBS_RIGHT, 40, 200);
  HWND left = NewTrackBar(TBS_VERT | TBS_LEFT, 40, 200);
  const RECT h = Thumb(bottom), v = Thumb(right);
  ASSERT_NE(h.bottom - h.top, 23);  // not the skin's own size: drawn through the scaled picture
  AddHalvesImage(*manager, L"SLIDERMASK", h.right - h.left, h.bottom - h.top + 4, kNear, kFar, false);
  AddHalvesImage(*manager, L"SLIDERVMASK", v.right - v.left + 4, v.bottom - v.top, kNear, kFar, true);
  auto a1 = Attach(bottom);
  auto a2 = Attach(top);
  auto a3 = Attach(right);
  auto a4 = Attach(left);
  auto halves = [&](HWND Wnd, bool Vertical) {
    const RECT t = Thumb(Wnd);
    auto pixels = Print(Wnd);
    const int cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
    return Vertical ? std::pair{pixels->At(t.left + 2, cy), pixels->At(t.right - 3, cy)}
                    : std::pair{pixels->At(cx, t.top + 2), pixels->At(cx, t.bottom - 3)};
  };
  for (auto [wnd, vertical, turned] : {std::tuple{bottom, false, false}, std::tuple{top, false, true},
                                        std::tuple{right, true, false}, std::tuple{left, true, true}}) {
    const auto [first, second] = halves(wnd, vertical);
    SCOPED_TRACE(testing::Message() << (vertical ? "vertical" : "horizontal") << (turned ? ", turned" : ""));
    EXPECT_TRUE(Close(first, turned ? kFar : kNear)) << std::hex << first;
    EXPECT_TRUE(Close(second, turned ? kNear : kFar)) << std::hex << second;
  }
}

// Where the skin has nothing for the channel or the thumb (no pictures in its section, or no
// section at all) the system's channel and thumb show: never a bar without them.
TEST_F(TrackWnd, WithoutTheSkinsPicturesOrSectionTheSystemsChannelAndThumbShow) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto light = [](COLORREF c) { return c == GetSysColor(COLOR_BTNHIGHLIGHT) || c == GetSysColor(COLOR_3DLIGHT); };
  auto check = [&](HWND wnd, const char* what) {
    SCOPED_TRACE(what);
    auto pixels = Print(wnd);
    const RECT c = Channel(wnd), t = Thumb(wnd);
    // The channel sunken, clear of the thumb: dark above, light below.
    const int x = t.right + 10;
    ASSERT_LT(x, c.right - 2);
    EXPECT_EQ(pixels->At(x, c.top), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_TRUE(light(pixels->At(x, c.bottom - 1))) << std::hex << pixels->At(x, c.bottom - 1);
    // The thumb raised: the face inside, a light edge at its top-left, a dark one at its right.
    EXPECT_EQ(pixels->At((t.left + t.right) / 2, (t.top + t.bottom) / 2), face);
    EXPECT_TRUE(light(pixels->At(t.left, t.top + 4))) << std::hex << pixels->At(t.left, t.top + 4);
    EXPECT_EQ(pixels->At(t.right - 1, t.top + 4), GetSysColor(COLOR_3DDKSHADOW));
  };
  {
    // The section without its pictures.
    HWND wnd = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
    auto adapter = Attach(wnd);
    check(wnd, "no pictures");
    EXPECT_GE(adapter->TrackSkinIndex, 0);
  }
  // No section: the skin's TRACKBAR section is renamed away; the window's is the panel's.
  for (auto& section : manager->Skin().Sections)
    if (section.ClassName == L"TRACKBAR") section.ClassName = L"TRACKBAR_GONE";
  manager->Skin().IndexTables();
  HWND wnd = NewTrackBar(TBS_HORZ | TBS_BOTTOM);
  auto adapter = CreateAdapter<TqvTrackWnd>(wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"PANEL"});
  check(wnd, "no section");
  EXPECT_LT(adapter->TrackSkinIndex, 0);
  // Around the bar the panel's colour as before.
  EXPECT_EQ(Print(wnd)->At(2, 2), kPanel);
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
