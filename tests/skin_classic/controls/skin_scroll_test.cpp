// Skinned scroll bars on real controls: the thumb arithmetic, panels laid over the real bars
// and following them, clicks handed to the system's own tracking, scroll bar controls, and the
// drop-down list's thumb drag ended by a release, Esc or a lost capture. Every press that
// enters a tracking loop has a deadline that ends the loop.
#include "control_skin_support.h"

#include <vector>

#include "classlib/controls/WindowSubclass.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/controls/SkinComboBox.h"
#include "skin_classic/controls/SkinScrollbar.h"

namespace winskin::test {

namespace {

// Ends any mouse loop still running after a while: the button goes up where the capture is,
// and the capture goes.
class LoopDeadline {
 public:
  explicit LoopDeadline(UINT ms = 3000) : id_(SetTimer(nullptr, 0, ms, &Fire)) {}
  ~LoopDeadline() { KillTimer(nullptr, id_); }
  LoopDeadline(const LoopDeadline&) = delete;
  LoopDeadline& operator=(const LoopDeadline&) = delete;

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND c = GetCapture()) {
      PostMessageW(c, WM_LBUTTONUP, 0, 0);
      ReleaseCapture();
    }
  }
  UINT_PTR id_;
};

// A window that takes the mouse capture when told to (standing for another program part
// that grabs the mouse during a drag).
class CaptureThief {
 public:
  CaptureThief() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScrollTestCaptureThief";
    RegisterClassW(&wc);
    wnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~CaptureThief() { DestroyWindow(wnd_); }
  static constexpr UINT kSteal = WM_APP + 7;
  void StealLater() const { PostMessageW(wnd_, kSteal, 0, 0); }
  HWND Handle() const { return wnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == kSteal) {
      SetCapture(w);
      return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  HWND wnd_ = nullptr;
};

SCROLLBARINFO BarInfo(HWND w, LONG id) {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  GetScrollBarInfo(w, id, &sbi);
  return sbi;
}

// The bar's rectangle in its window's parent's client coordinates.
vcl::TRect BarInParent(HWND w, LONG id) {
  const SCROLLBARINFO sbi = BarInfo(w, id);
  POINT p[2] = {{sbi.rcScrollBar.left, sbi.rcScrollBar.top}, {sbi.rcScrollBar.right, sbi.rcScrollBar.bottom}};
  MapWindowPoints(nullptr, GetParent(w), p, 2);
  return vcl::TRect(p[0].x, p[0].y, p[1].x, p[1].y);
}

vcl::TRect WindowBounds(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  POINT p[2] = {{r.left, r.top}, {r.right, r.bottom}};
  MapWindowPoints(nullptr, GetParent(w), p, 2);
  return vcl::TRect(p[0].x, p[0].y, p[1].x, p[1].y);
}

int TopLine(HWND edit) { return static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)); }

class SkinScrollTest : public ControlSkinTest {
 protected:
  vcl::TMemo* NewMemo(vcl::TScrollStyle bars, int lines = 60) {
    auto* memo = Add<vcl::TMemo>(form_.get(), 10, 10, 200, 120);
    memo->SetWordWrap(false);
    memo->SetScrollBars(bars);
    vcl::String text;
    for (int i = 0; i < lines; ++i) text += L"A line long enough to need the horizontal bar " + std::to_wstring(i) + L"\r\n";
    memo->SetText(text);
    return memo;
  }
};

}  // namespace

TEST(ScrollBarArithmetic, PartsAlongTheBarAndControlThumbsFromRangePageAndPosition) {
  // Arrows of 16 at both ends of 200, the thumb from 50 to 80.
  const std::pair<int, int> parts[] = {{0, kPartFirstArrow}, {16, kPartTrackBefore}, {50, kPartThumb},
                                       {80, kPartTrackAfter}, {184, kPartSecondArrow}};
  for (auto [at, part] : parts) EXPECT_EQ(ScrollBarPart(at, 16, 50, 80, 200), part) << at;

  // A page of 11 in 0..100 over a track of 168: 168 * 10 / 100.
  TThumbExtent e = ControlThumbExtent(200, 16, 0, 100, 11, 50, true);
  EXPECT_EQ(e.Bottom - e.Top, 17);
  EXPECT_EQ(e.Top, 16 + 84);
  // A small page gets the 8-pixel thumb, placed over the track less those 8 pixels.
  e = ControlThumbExtent(200, 16, 0, 1000, 2, 500, true);
  EXPECT_EQ(e.Bottom - e.Top, 8);
  EXPECT_EQ(e.Top, 16 + 80);
  // Without the minimum (a control of the class library) it stays small.
  e = ControlThumbExtent(200, 16, 0, 1000, 2, 500, false);
  EXPECT_EQ(e.Bottom - e.Top, 0);
  // Without a page the thumb is an arrow long.
  e = ControlThumbExtent(200, 16, 0, 100, 0, 100, true);
  EXPECT_EQ(e.Bottom - e.Top, 16);
  EXPECT_EQ(e.Top, 16 + 152);
  // A range of 0 counts as 9999999: the thumb stays at the top.
  e = ControlThumbExtent(200, 16, 5, 5, 0, 7, true);
  EXPECT_EQ(e.Top, 16);
  // The first position is always right after the arrow.
  EXPECT_EQ(ControlThumbExtent(200, 16, -50, 50, 10, -50, true).Top, 16);
}

TEST_F(SkinScrollTest, PanelsLieOverTheRealBarsAndFollowTheThumb) {
  vcl::TMemo* memo = NewMemo(vcl::ssVertical);
  form_->Show();
  auto* s = Skin<TSkinScrollbar>(memo);
  ASSERT_TRUE(s->VertBar() && s->HorzBar());
  TWScrollbar* v = s->VertBar();
  ASSERT_TRUE(v->Shown());
  EXPECT_FALSE(s->HorzBar()->Shown());
  EXPECT_EQ(v->BarRect(), BarInParent(memo->Handle(), OBJID_VSCROLL));
  EXPECT_EQ(WindowBounds(v->Handle()), v->BarRect());
  EXPECT_TRUE(IsWindowVisible(v->Handle()));
  // Just above the memo, so the system's bar stays underneath.
  EXPECT_EQ(GetWindow(memo->Handle(), GW_HWNDPREV), v->Handle());

  // The panel paints the skin: the arrows' frames at the ends, the thumb's between.
  auto picture = Painted(v->Handle());
  const int h = v->BarRect().Height();
  EXPECT_EQ(At(picture.get(), 4, 4), Seq(kPartsId, 9));
  EXPECT_EQ(At(picture.get(), 4, h - 4), Seq(kPartsId, 13));

  // Scrolling moves the thumb the panel paints.
  const int before = BarInfo(memo->Handle(), OBJID_VSCROLL).xyThumbTop;
  SendMessageW(memo->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  v->Update();
  const SCROLLBARINFO after = BarInfo(memo->Handle(), OBJID_VSCROLL);
  ASSERT_GT(after.xyThumbTop, before);
  EXPECT_EQ(v->ThumbTop(), after.xyThumbTop);
  EXPECT_EQ(v->HotPart(), kPartTrackAfter);  // the scroll code names the part
  picture = Painted(v->Handle());
  EXPECT_EQ(At(picture.get(), 2, (after.xyThumbTop + after.xyThumbBottom) / 2), Seq(kVThumbId, 1));
  EXPECT_EQ(At(picture.get(), 2, after.xyThumbBottom + 2), Seq(kVTrackId, 1));

  // SetScrollInfo moves the thumb too, once the control repaints.
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  si.nPos = 0;
  SetScrollInfo(memo->Handle(), SB_VERT, &si, TRUE);
  Painted(memo->Handle());
  v->Update();
  EXPECT_EQ(v->ThumbTop(), BarInfo(memo->Handle(), OBJID_VSCROLL).xyThumbTop);
}

// A thumb frame count of frames narrower than a pixel is the usual three: the thumb shows, with
// the track after it.
TEST_F(SkinScrollTest, AThumbWhoseFrameCountIsBeyondItsPictureShows) {
  Load({.thumbFrames = 100000});
  vcl::TMemo* memo = NewMemo(vcl::ssVertical);
  form_->Show();
  auto* s = Skin<TSkinScrollbar>(memo);
  ASSERT_TRUE(s->VertBar() && s->VertBar()->Shown());
  TWScrollbar* v = s->VertBar();
  SendMessageW(memo->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  v->Update();
  const SCROLLBARINFO bar = BarInfo(memo->Handle(), OBJID_VSCROLL);
  ASSERT_GT(bar.xyThumbBottom, bar.xyThumbTop);
  auto picture = Painted(v->Handle());
  EXPECT_EQ(At(picture.get(), 2, (bar.xyThumbTop + bar.xyThumbBottom) / 2), Seq(kVThumbId, 1));
  EXPECT_EQ(At(picture.get(), 2, bar.xyThumbBottom + 2), Seq(kVTrackId, 1));
}

TEST_F(SkinScrollTest, BothBarsShowTwoPanelsAndAFilledCorner) {
  vcl::TMemo* memo = NewMemo(vcl::ssBoth);
  form_->Show();
  auto* s = Skin<TSkinScrollbar>(memo);
  ASSERT_TRUE(s->VertBar()->Shown());
  ASSERT_TRUE(s->HorzBar()->Shown());
  EXPECT_EQ(s->HorzBar()->BarRect(), BarInParent(memo->Handle(), OBJID_HSCROLL));
  auto picture = Painted(memo->Handle());
  RECT window{};
  GetWindowRect(memo->Handle(), &window);
  const SCROLLBARINFO v = BarInfo(memo->Handle(), OBJID_VSCROLL);
  const SCROLLBARINFO h = BarInfo(memo->Handle(), OBJID_HSCROLL);
  EXPECT_EQ(At(picture.get(), v.rcScrollBar.left - window.left + 2, h.rcScrollBar.top - window.top + 2), C(kFace));
  // The flat border: the line colour outside, the face colour inside it.
  EXPECT_TRUE(s->DrawsBorder());
  HDC dc = GetWindowDC(memo->Handle());
  SendMessageW(memo->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(GetPixel(dc, 0, 40), static_cast<COLORREF>(C(kLine)));
  EXPECT_EQ(GetPixel(dc, 1, 40), static_cast<COLORREF>(C(kFace)));
  ReleaseDC(memo->Handle(), dc);
}

TEST_F(SkinScrollTest, HidingTheControlHidesItsPanelsAndShowingPlacesThem) {
  vcl::TMemo* memo = NewMemo(vcl::ssVertical);
  form_->Show();
  auto* s = Skin<TSkinScrollbar>(memo);
  memo->SetVisible(false);
  EXPECT_FALSE(s->VertBar()->Shown());
  EXPECT_FALSE(IsWindowVisible(s->VertBar()->Handle()));
  memo->SetLeft(40);
  memo->SetVisible(true);
  EXPECT_TRUE(s->VertBar()->Shown());
  EXPECT_EQ(s->VertBar()->BarRect(), BarInParent(memo->Handle(), OBJID_VSCROLL));
  // Moving the control takes the panel along.
  memo->SetBounds(20, 30, 180, 100);
  EXPECT_EQ(WindowBounds(s->VertBar()->Handle()), BarInParent(memo->Handle(), OBJID_VSCROLL));
}

TEST_F(SkinScrollTest, ClicksGoToTheSystemsTrackingOfTheCoveredBar) {
  vcl::TMemo* memo = NewMemo(vcl::ssVertical);
  form_->Show();
  auto* s = Skin<TSkinScrollbar>(memo);
  TWScrollbar* v = s->VertBar();
  const int h = v->BarRect().Height();
  ASSERT_EQ(TopLine(memo->Handle()), 0);
  {
    // The second arrow scrolls one line; the release ends the system's tracking.
    const LoopDeadline deadline;
    PostMessageW(memo->Handle(), WM_LBUTTONUP, 0, 0);
    SendMessageW(v->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, h - 5));
  }
  EXPECT_EQ(TopLine(memo->Handle()), 1);
  EXPECT_FALSE(v->PressedNow());
  {
    // The track below the thumb pages down.
    const LoopDeadline deadline;
    PostMessageW(memo->Handle(), WM_LBUTTONUP, 0, 0);
    SendMessageW(v->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, h - 30));
  }
  EXPECT_GT(TopLine(memo->Handle()), 2);
  // The panel follows the mouse over its parts.
  SendMessageW(v->Handle(), WM_MOUSEMOVE, 0, Point(5, 3));
  EXPECT_EQ(v->HotPart(), kPartFirstArrow);
  SendMessageW(v->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(v->HotPart(), kPartNone);
}

TEST_F(SkinScrollTest, ScrollBarControlsAreCoveredAndFollowed) {
  auto* bar = Add<vcl::TScrollBar>(form_.get(), 10, 200, 200, 17);
  bar->SetParams(0, 0, 100);
  bar->SetPageSize(20);
  form_->Show();
  auto* s = Skin<TSkinScControl>(bar);
  TWScrollbar* panel = s->Bar();
  ASSERT_TRUE(panel && panel->Shown());
  EXPECT_EQ(panel->Kind(), kBarHorizontal);
  EXPECT_EQ(WindowBounds(panel->Handle()), WindowBounds(bar->Handle()));
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(panel->ThumbTop(), a);
  bar->SetPosition(50);
  panel->Update();
  EXPECT_EQ(panel->ThumbTop(), a + MulDiv(200 - 2 * a, 50, 100));
  // Moved and hidden with its control.
  bar->SetBounds(30, 220, 150, 17);
  EXPECT_EQ(WindowBounds(panel->Handle()), WindowBounds(bar->Handle()));
  bar->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(panel->Handle()));
  bar->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(panel->Handle()));
}

class ComboListDragTest : public SkinScrollTest {
 protected:
  void SetUp() override {
    SkinScrollTest::SetUp();
    combo_ = Add<vcl::TComboBox>(form_.get(), 10, 10, 160, 24);
    combo_->SetStyle(vcl::csDropDownList);
    const int count = ItemCount();
    SendMessageW(combo_->Handle(), CB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 16);
    for (int i = 0; i < count; ++i) combo_->Items()->Add(L"Item " + std::to_wstring(i));
    form_->Show();
    skinner_ = Skin<TSkinComBox>(combo_);
    combo_->SetDroppedDown(true);
    list_ = skinner_->List();
  }
  void TearDown() override {
    if (combo_) combo_->SetDroppedDown(false);
    SkinScrollTest::TearDown();
  }
  virtual int ItemCount() const { return 80; }
  int Top() const { return static_cast<int>(SendMessageW(list_, LB_GETTOPINDEX, 0, 0)); }
  // A press on the middle of the thumb (screen coordinates).
  POINT OnThumb() const {
    const SCROLLBARINFO sbi = BarInfo(list_, OBJID_VSCROLL);
    return POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2,
                 sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2};
  }
  void Press(POINT at) { SendMessageW(list_, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(at.x, at.y)); }
  // A mouse move to a client point of the list, lower by Down pixels than At.
  void PostMoveBelow(POINT at, int down) {
    POINT c{at.x, at.y + down};
    ScreenToClient(list_, &c);
    PostMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.x, c.y));
  }

  vcl::TComboBox* combo_ = nullptr;
  TSkinComBox* skinner_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ComboListDragTest, TheThumbFollowsTheMouseUntilTheRelease) {
  ASSERT_TRUE(skinner_->ListBar());
  ASSERT_TRUE(IsWindowVisible(list_));
  const POINT at = OnThumb();
  const LoopDeadline deadline;
  PostMoveBelow(at, 40);
  PostMessageW(list_, WM_LBUTTONUP, 0, 0);
  Press(at);
  EXPECT_FALSE(skinner_->ListBar()->Dragging());
  EXPECT_GT(Top(), 0);
  EXPECT_NE(GetCapture(), list_);
}

// Records the scroll positions the list is told while a drag runs.
struct VScrollSpy {
  std::vector<WPARAM> told;
  vcl::TWindowSubclass subclass;
  void Proc(vcl::TMessage& m) {
    if (m.Msg == WM_VSCROLL) told.push_back(m.WParam);
    subclass.CallDefault(m);
  }
};

TEST_F(ComboListDragTest, DraggedPastTheEndTheListStopsAtItsLastPage) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(list_, SB_VERT, &si));
  ASSERT_GT(si.nPage, 0u);
  const int last = si.nMax - static_cast<int>(si.nPage) + 1;
  ASSERT_GT(last, 10);
  VScrollSpy spy;
  ASSERT_TRUE(spy.subclass.Attach(list_, vcl::TWndMethod::Bind<&VScrollSpy::Proc>(&spy)));
  const POINT at = OnThumb();
  {
    const LoopDeadline deadline;
    PostMoveBelow(at, 2000);
    PostMessageW(list_, WM_LBUTTONUP, 0, 0);
    Press(at);
  }
  spy.subclass.Detach();
  // The thumb went to the far end: the last page exactly, never a position beyond it.
  ASSERT_GE(spy.told.size(), 2u);
  EXPECT_EQ(LOWORD(spy.told.front()), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(spy.told.front()), last);
  bool ended = false;
  for (WPARAM w : spy.told) {
    if (LOWORD(w) == SB_THUMBPOSITION) {
      EXPECT_EQ(HIWORD(w), last);
      ended = true;
    }
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(Top(), last);

  // And back up past the top: the first position.
  spy.told.clear();
  ASSERT_TRUE(spy.subclass.Attach(list_, vcl::TWndMethod::Bind<&VScrollSpy::Proc>(&spy)));
  const POINT again = OnThumb();
  {
    const LoopDeadline deadline;
    PostMoveBelow(again, -2000);
    PostMessageW(list_, WM_LBUTTONUP, 0, 0);
    Press(again);
  }
  spy.subclass.Detach();
  ASSERT_FALSE(spy.told.empty());
  EXPECT_EQ(HIWORD(spy.told.front()), si.nMin);
  EXPECT_EQ(Top(), 0);
}

// A list longer than a message's 16-bit position field: positions past it reach the list
// whole, and those within it still travel in the scroll message.
class LongComboListDragTest : public ComboListDragTest {
 protected:
  int ItemCount() const override { return 70000; }
  // Drags the thumb by Down pixels and lets it go.
  void Drag(int down) {
    const POINT at = OnThumb();
    const LoopDeadline deadline;
    PostMoveBelow(at, down);
    PostMessageW(list_, WM_LBUTTONUP, 0, 0);
    Press(at);
  }
};

TEST_F(LongComboListDragTest, PositionsPastSixteenBitsReachTheList) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(list_, SB_VERT, &si));
  const int last = si.nMax - static_cast<int>(si.nPage) + 1;
  ASSERT_GT(last, 65536);
  VScrollSpy spy;
  ASSERT_TRUE(spy.subclass.Attach(list_, vcl::TWndMethod::Bind<&VScrollSpy::Proc>(&spy)));
  Drag(2000);
  spy.subclass.Detach();
  EXPECT_FALSE(skinner_->ListBar()->Dragging());
  EXPECT_EQ(Top(), last);
  ASSERT_TRUE(GetScrollInfo(list_, SB_VERT, &si));
  EXPECT_EQ(si.nPos, last);
  // No message told the list a position cut to its low 16 bits.
  for (WPARAM w : spy.told) {
    if (LOWORD(w) == SB_THUMBTRACK || LOWORD(w) == SB_THUMBPOSITION) {
      EXPECT_NE(HIWORD(w), last & 0xFFFF);
    }
  }

  // Back to the top: the positions fit again and go in the message.
  spy.told.clear();
  ASSERT_TRUE(spy.subclass.Attach(list_, vcl::TWndMethod::Bind<&VScrollSpy::Proc>(&spy)));
  Drag(-2000);
  spy.subclass.Detach();
  EXPECT_EQ(Top(), 0);
  bool ended = false;
  for (WPARAM w : spy.told) {
    if (LOWORD(w) == SB_THUMBPOSITION) {
      EXPECT_EQ(HIWORD(w), 0);
      ended = true;
    }
  }
  EXPECT_TRUE(ended);
}

TEST_F(LongComboListDragTest, EscPutsTheListBackAtTheLastAndPastTheLastSixteenBitPosition) {
  // A drag down from each start, then Esc: the list is back where it started.
  for (const int start : {65535, 65536, 66000}) {
    SendMessageW(list_, LB_SETTOPINDEX, static_cast<WPARAM>(start), 0);
    ASSERT_EQ(Top(), start);
    const POINT at = OnThumb();
    const LoopDeadline deadline;
    PostMoveBelow(at, 20);
    PostMessageW(list_, WM_KEYDOWN, VK_ESCAPE, 0);
    Press(at);
    EXPECT_FALSE(skinner_->ListBar()->Dragging());
    EXPECT_EQ(Top(), start);
  }
}

TEST_F(ComboListDragTest, EscPutsTheListBackWhereItWas) {
  const POINT at = OnThumb();
  const LoopDeadline deadline;
  PostMoveBelow(at, 40);
  PostMessageW(list_, WM_KEYDOWN, VK_ESCAPE, 0);
  Press(at);
  EXPECT_FALSE(skinner_->ListBar()->Dragging());
  EXPECT_EQ(Top(), 0);
}

TEST_F(ComboListDragTest, ALostCaptureEndsTheDrag) {
  const CaptureThief thief;
  const POINT at = OnThumb();
  const LoopDeadline deadline;
  PostMoveBelow(at, 40);
  thief.StealLater();
  Press(at);  // returns: the loop saw the capture go
  EXPECT_FALSE(skinner_->ListBar()->Dragging());
  EXPECT_NE(GetCapture(), list_);
  ReleaseCapture();
}

TEST_F(ComboListDragTest, APressBesideTheThumbIsTheSystemsOwn) {
  const SCROLLBARINFO sbi = BarInfo(list_, OBJID_VSCROLL);
  const LoopDeadline deadline;
  PostMessageW(list_, WM_LBUTTONUP, 0, 0);
  // The second arrow: the list scrolls by the system's tracking, no drag of ours.
  Press(POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2, sbi.rcScrollBar.bottom - 3});
  EXPECT_FALSE(skinner_->ListBar()->Dragging());
  EXPECT_EQ(Top(), 1);
}

}  // namespace winskin::test
