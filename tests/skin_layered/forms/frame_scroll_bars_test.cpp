// A frame on a skinned form whose contents reach beyond it: its scroll bar is the skin's, drawn
// from the scroll sections, and the skinned bar scrolls the frame when its arrow is clicked and
// its thumb dragged; without the skin the frame has the system's bar again.
#include <gtest/gtest.h>

#include <string>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Frame.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/adapters_support.h"
#include "skin_layered/forms/FrameAdapter.h"
#include "skin_layered/forms/SkinProvider.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kFrameColor = 0x70A0D0;

struct ProviderDeleter {
  void operator()(TsSkinProvider* p) const { vcl::TObject::Free(p); }
};
using ProviderPtr = std::unique_ptr<TsSkinProvider, ProviderDeleter>;

LPARAM ScreenLParam(POINT P) { return MAKELPARAM(static_cast<WORD>(P.x), static_cast<WORD>(P.y)); }

// A bar's piece in the skin's colour for its state: the pointer of the tests running beside
// this one may pass over the bar and make it hot.
bool Skinned(COLORREF Shown, COLORREF Normal, COLORREF Hot) { return Shown == Normal || Shown == Hot; }

// The pixel a window shows at a screen point, read from its own surface.
COLORREF Shown(HWND Wnd, POINT Screen) {
  RECT wr{};
  GetWindowRect(Wnd, &wr);
  const HDC dc = GetWindowDC(Wnd);
  const COLORREF c = GetPixel(dc, Screen.x - wr.left, Screen.y - wr.top);
  ReleaseDC(Wnd, dc);
  return c;
}

class FrameScrollBars : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = LoadedManager(skins, L"Flat",
                            ScrollSkinText() + FlatSection("FORM", 0x808080, 0x808080) +
                                FlatSection("FORMTITLE", 0x606060, 0x707070) +
                                FlatSection("GROUPBOX", kFrameColor, kFrameColor));
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->FormHide()->SetActive(false);
    form->SetBounds(60, 60, 420, 320);
    frame = new vcl::TFrame(form.get());
    frame->SetParent(form.get());
    frame->SetBounds(10, 10, 200, 150);
    // A panel far below the frame's bottom: the frame scrolls vertically.
    below = new vcl::TPanel(form.get());
    below->SetParent(frame);
    below->SetBounds(20, 400, 60, 40);
    provider.reset(vcl::Construct<TsSkinProvider>(form.get()));
    form->Show();
    wintest::PumpUntilIdle();
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    if (form->Visible()) form->Hide();
    provider.reset();
    form.reset();
    manager.reset();
  }
  HWND Wnd() const { return frame->Handle(); }
  vcl::TRect VBar(TqvScrollWnd* Adapter) const {
    vcl::TRect r;
    GetVScrollRect(Adapter, Wnd(), r);
    return r;
  }
  // The window's answer to the system's hit test, then the press there as the system sends it.
  void Press(POINT Screen) {
    const auto hit = static_cast<WPARAM>(SendMessageW(Wnd(), WM_NCHITTEST, 0, ScreenLParam(Screen)));
    SendMessageW(Wnd(), WM_NCLBUTTONDOWN, hit, ScreenLParam(Screen));
  }
  LPARAM Client(POINT Screen) const {
    ScreenToClient(Wnd(), &Screen);
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(Screen.x)), static_cast<WORD>(static_cast<short>(Screen.y)));
  }

  TempSkins skins;
  ManagerPtr manager;
  FormPtr form = ShownForm();
  ProviderPtr provider;
  vcl::TFrame* frame = nullptr;
  vcl::TPanel* below = nullptr;
};

TEST_F(FrameScrollBars, TheFramesBarIsTheSkinsAndScrollsTheFrame) {
  ASSERT_NE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_VSCROLL, 0);
  ASSERT_EQ(SendCommandToWnd(Wnd(), scmIsSkinned, 0), 1);
  TqvScrollWnd* adapter = GetScrollAdapter(Wnd());
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible);
  EXPECT_FALSE(adapter->HorzBar->Visible);
  const vcl::TRect bar = VBar(adapter);
  const int x = bar.Left + bar.Width() / 2;
  const POINT top{x, bar.Top + 2}, bottom{x, bar.Bottom - 3};
  // The bar's pieces in the skin's colours, the frame's face in its section's.
  EXPECT_PRED3(Skinned, Shown(Wnd(), top), kTopColor, kTopHot);
  EXPECT_PRED3(Skinned, Shown(Wnd(), bottom), kBottomColor, kBottomHot);
  adapter->VertBar->ReadInfo();
  const int button = GetScrollMetric(adapter->VertBar.get(), false);
  TqvThumb thumb = ThumbGeometry(bar.Top, bar.Height(), button, adapter->VertBar->MinThumb, adapter->VertBar->Info);
  EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{x, thumb.Start + thumb.Length / 2}), kSliderV, kSliderVHot);
  EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{x, thumb.Start + thumb.Length + 3}), kTrack2V, kTrack2VHot);
  RECT wr{};
  GetWindowRect(Wnd(), &wr);
  EXPECT_EQ(Shown(Wnd(), POINT{wr.left + 5, wr.top + 5}), kFrameColor);

  // A click on the lower arrow scrolls the frame a line.
  const int startTop = below->Top();
  Press(bottom);
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, Client(bottom));
  wintest::Pump();
  const int afterClick = frame->VertScrollBar()->Position();
  EXPECT_GT(afterClick, 0);
  EXPECT_EQ(below->Top(), startTop - afterClick);

  // The thumb dragged down scrolls it further, and shows where it was let go.
  adapter->VertBar->ReadInfo();
  thumb = ThumbGeometry(bar.Top, bar.Height(), button, adapter->VertBar->MinThumb, adapter->VertBar->Info);
  const POINT grip{x, thumb.Start + thumb.Length / 2};
  Press(grip);
  ASSERT_TRUE(adapter->Dragging);
  const POINT lower{x, grip.y + 40};
  SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, Client(lower));
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, Client(lower));
  wintest::Pump();
  EXPECT_FALSE(adapter->Dragging);
  const int afterDrag = frame->VertScrollBar()->Position();
  EXPECT_GT(afterDrag, afterClick);
  EXPECT_EQ(below->Top(), startTop - afterDrag);
  EXPECT_PRED3(Skinned, Shown(Wnd(), lower), kSliderV, kSliderVHot);
  EXPECT_PRED3(Skinned, Shown(Wnd(), top), kTopColor, kTopHot);
}

TEST_F(FrameScrollBars, WithoutTheSkinTheFrameHasTheSystemsBarAgain) {
  ASSERT_NE(GetScrollAdapter(Wnd()), nullptr);
  const vcl::TRect bar = VBar(GetScrollAdapter(Wnd()));
  const POINT middle{bar.Left + bar.Width() / 2, bar.Top + bar.Height() / 2};
  manager->SetActive(false);
  wintest::PumpUntilIdle();
  EXPECT_EQ(GetAdapter(Wnd()), nullptr);
  // The system's own bar lies there and scrolls the frame by itself.
  EXPECT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, ScreenLParam(middle)), HTVSCROLL);
  SendMessageW(Wnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_GT(frame->VertScrollBar()->Position(), 0);

  // The skin back: the skinned bar again, in the skin's colours.
  manager->SetActive(true);
  wintest::PumpUntilIdle();
  TqvScrollWnd* adapter = GetScrollAdapter(Wnd());
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible);
  const vcl::TRect again = VBar(adapter);
  EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{again.Left + again.Width() / 2, again.Top + 2}), kTopColor, kTopHot);
}

// The frame scrolled by the program (and by the focus going to a control below the fold): the
// bar it shows is the skinned one, its thumb where the position puts it.
TEST_F(FrameScrollBars, AFrameScrolledByTheProgramShowsTheSkinnedBar) {
  // The form takes the foreground: no other test that takes it runs meanwhile.
  const wintest::PointerLock turn;
  TqvScrollWnd* adapter = GetScrollAdapter(Wnd());
  ASSERT_NE(adapter, nullptr);
  const vcl::TRect bar = VBar(adapter);
  const int x = bar.Left + bar.Width() / 2;
  const int button = GetScrollMetric(adapter->VertBar.get(), false);
  auto expectSkinned = [&](const char* When) {
    SCOPED_TRACE(When);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Wnd(), SB_VERT, &info);
    const TqvThumb thumb = ThumbGeometry(bar.Top, bar.Height(), button, adapter->VertBar->MinThumb, info);
    EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{x, bar.Top + 2}), kTopColor, kTopHot);
    EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{x, bar.Bottom - 3}), kBottomColor, kBottomHot);
    EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{x, thumb.Start + thumb.Length / 2}), kSliderV, kSliderVHot);
    if (thumb.Start - bar.Top - button > 4) {
      EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{x, bar.Top + button + 2}), kTrack1V, kTrack1VHot);
    }
  };
  frame->VertScrollBar()->SetPosition(120);
  wintest::PumpUntilIdle();
  ASSERT_EQ(frame->VertScrollBar()->Position(), 120);
  expectSkinned("set by the program");
  frame->VertScrollBar()->SetPosition(0);
  wintest::PumpUntilIdle();
  expectSkinned("back at the top");
  auto* edit = new vcl::TEdit(form.get());
  edit->SetParent(frame);
  edit->SetBounds(20, 300, 80, 22);
  wintest::PumpUntilIdle();
  SetForegroundWindow(form->Handle());
  edit->SetFocus();
  wintest::PumpUntilIdle();
  ASSERT_GT(frame->VertScrollBar()->Position(), 0);
  expectSkinned("scrolled to the focused edit");
}

// The picture of the form's children that the show and hide animations take: the frame's bar
// in it is the skinned one.
TEST_F(FrameScrollBars, TheFormsPrintedChildrenShowTheFramesSkinnedBar) {
  TqvScrollWnd* adapter = GetScrollAdapter(Wnd());
  ASSERT_NE(adapter, nullptr);
  const vcl::TRect bar = VBar(adapter);
  MemoryPixels pixels(form->ClientWidth(), form->ClientHeight());
  AdapterServices().PrintChildWindows(form->Handle(), pixels.DC());
  auto printed = [&](POINT Screen) {
    ScreenToClient(form->Handle(), &Screen);
    return pixels.At(Screen.x, Screen.y);
  };
  const int x = bar.Left + bar.Width() / 2;
  EXPECT_PRED3(Skinned, printed(POINT{x, bar.Top + 2}), kTopColor, kTopHot);
  EXPECT_PRED3(Skinned, printed(POINT{x, bar.Bottom - 3}), kBottomColor, kBottomHot);
  RECT wr{};
  GetWindowRect(Wnd(), &wr);
  EXPECT_EQ(printed(POINT{wr.left + 5, wr.top + 5}), kFrameColor);

  // The frame's client picture asked of it alone holds the bar too.
  MemoryPixels own(wr.right - wr.left, wr.bottom - wr.top);
  SendMessageW(Wnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(own.DC()), PRF_CLIENT);
  EXPECT_PRED3(Skinned, own.At(x - wr.left, bar.Top + 2 - wr.top), kTopColor, kTopHot);
  EXPECT_PRED3(Skinned, own.At(x - wr.left, bar.Bottom - 3 - wr.top), kBottomColor, kBottomHot);
  EXPECT_EQ(own.At(5, 5), kFrameColor);
}

// The frame's window made anew (as a changed window style does): the new window's bar is the
// skin's as well.
TEST_F(FrameScrollBars, AFramesNewWindowHasTheSkinsBarToo) {
  ASSERT_NE(GetScrollAdapter(Wnd()), nullptr);
  const HWND before = Wnd();
  frame->RecreateWnd();
  frame->HandleNeeded();
  wintest::PumpUntilIdle();
  ASSERT_NE(Wnd(), before);
  ASSERT_NE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_VSCROLL, 0);
  TqvScrollWnd* adapter = GetScrollAdapter(Wnd());
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible);
  const vcl::TRect bar = VBar(adapter);
  EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{bar.Left + bar.Width() / 2, bar.Top + 2}), kTopColor, kTopHot);
  EXPECT_PRED3(Skinned, Shown(Wnd(), POINT{bar.Left + bar.Width() / 2, bar.Bottom - 3}), kBottomColor, kBottomHot);
}

}  // namespace
}  // namespace skin_layered::test
