// Tabs and pages: where the tabs of each side lie on the flat strip, the tab frames and the
// sheet border on every side, close marks and the form's say over closing, button-style tabs,
// the pages' background and the tab pictures of page controls that publish them.
#include "control_skin_support.h"
#include "picture_pages.h"

#include <commctrl.h>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/extctrls/TabSet.h"
#include "skin_classic/controls/SkinTab.h"
#include "skin_classic/controls/SkinTabSet.h"
#include "skin_classic/core/SkinManage.h"

namespace winskin::test {

VCL_CLASS_INFO(TPicturePages) {
  p.Object<&TPicturePages::TabBackGround, &TPicturePages::SetTabBackGround>(L"TabBackGround",
                                                                             vcl::TPicture::StaticClass());
  p.Object<&TPicturePages::TabBackGroundActive, &TPicturePages::SetTabBackGroundActive>(L"TabBackGroundActive",
                                                                                         vcl::TPicture::StaticClass());
}

namespace {

TEST(TabStrip, TabsOfEverySideLieOnAFlatStripPointingAwayFromThePages) {
  EXPECT_EQ(TabSideOfStyle(0), TTabSide::Top);
  EXPECT_EQ(TabSideOfStyle(TCS_BOTTOM), TTabSide::Bottom);
  EXPECT_EQ(TabSideOfStyle(TCS_VERTICAL), TTabSide::Left);
  EXPECT_EQ(TabSideOfStyle(TCS_VERTICAL | TCS_RIGHT), TTabSide::Right);

  const int W = 200, H = 100;
  TRect display(4, 24, 196, 96);
  EXPECT_EQ(StripRect(TTabSide::Top, display, W, H), TRect(0, 0, 200, 24));
  EXPECT_EQ(TabToStrip(TRect(10, 2, 60, 22), TTabSide::Top, display, W, H), TRect(10, 3, 60, 23));

  display = TRect(4, 4, 196, 76);
  EXPECT_EQ(StripRect(TTabSide::Bottom, display, W, H), TRect(0, 76, 200, 100));
  EXPECT_EQ(TabToStrip(TRect(10, 78, 60, 98), TTabSide::Bottom, display, W, H), TRect(10, 1, 60, 21));

  // The left strip is laid flat with the control's bottom at its left.
  display = TRect(40, 4, 196, 96);
  EXPECT_EQ(StripRect(TTabSide::Left, display, W, H), TRect(0, 0, 40, 100));
  EXPECT_EQ(TabToStrip(TRect(2, 10, 38, 60), TTabSide::Left, display, W, H), TRect(40, 3, 90, 39));

  // The right strip with the control's top at its left.
  display = TRect(4, 4, 160, 96);
  EXPECT_EQ(StripRect(TTabSide::Right, display, W, H), TRect(160, 0, 200, 100));
  EXPECT_EQ(TabToStrip(TRect(162, 10, 198, 60), TTabSide::Right, display, W, H), TRect(10, 3, 60, 39));
}

// The form's window: it answers the close query with its user data and records it.
std::vector<vcl::TMessage>& CloseQueries() {
  static std::vector<vcl::TMessage> queries;
  return queries;
}

LRESULT CALLBACK FormProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == SKM_TABCLOSE) {
    CloseQueries().push_back({msg, wp, lp, 0});
    return GetWindowLongPtrW(w, GWLP_USERDATA);
  }
  return DefWindowProcW(w, msg, wp, lp);
}

HWND FormWindow() {
  return CreateWindowExW(0, wintest::TestWindowClass(L"SkinTabForm", &FormProc),
                         L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TRect ItemRect(HWND tabs, int i) {
  RECT r{};
  EXPECT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)));
  return TRect(r.left, r.top, r.right, r.bottom);
}

class SkinTabTest : public ControlSkinTest {
 protected:
  void SetUp() override {
    ControlSkinTest::SetUp();
    host_.window = FormWindow();
    CloseQueries().clear();
  }
  void TearDown() override {
    const HWND window = host_.window;
    ControlSkinTest::TearDown();
    DestroyWindow(window);
  }

  vcl::TPageControl* Pages(vcl::TTabPosition position, int count = 3) {
    auto* pages = Add<vcl::TPageControl>(form_.get(), 10, 10, 300, 200);
    pages->SetTabPosition(position);
    for (int i = 0; i < count; ++i) {
      auto* sheet = new vcl::TTabSheet(form_.get());
      sheet->SetPageControl(pages);
      sheet->SetCaption(L"页" + std::to_wstring(i));
    }
    pages->SetActivePageIndex(1);
    return pages;
  }
  template <class S = TSkinTab>
  S* Skin(vcl::TWinControl* control) {
    return ControlSkinTest::Skin<S>(control);
  }
};

// Each tab shows its frame (selected: 2) near its corner, and the pages their border.
void ExpectTabsPainted(HWND tabs, int count, int current) {
  auto b = Painted(tabs);
  for (int i = 0; i < count; ++i) {
    const TRect r = ItemRect(tabs, i);
    EXPECT_EQ(At(b.get(), r.Left + 5, r.Top + 5), Frame(kTabsId, i == current ? 2 : 1)) << "tab " << i;
    EXPECT_EQ(At(b.get(), r.Right - 6, r.Bottom - 6), Frame(kTabsId, i == current ? 2 : 1)) << "tab " << i;
  }
  RECT display{0, 0, b->Width(), b->Height()};
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  EXPECT_EQ(At(b.get(), (display.left + display.right) / 2, (display.top + display.bottom) / 2),
            Frame(kTabBorderId, 1));
}

TEST_F(SkinTabTest, TabsOnEverySideShowTheirFramesAndThePagesTheirBorder) {
  const std::pair<vcl::TTabPosition, TTabSide> sides[] = {{vcl::tpTop, TTabSide::Top},
                                                          {vcl::tpBottom, TTabSide::Bottom},
                                                          {vcl::tpLeft, TTabSide::Left},
                                                          {vcl::tpRight, TTabSide::Right}};
  for (const auto& [position, side] : sides) {
    SCOPED_TRACE(static_cast<int>(side));
    vcl::TPageControl* pages = Pages(position);
    TSkinTab* s = Skin(pages);
    EXPECT_EQ(s->Position(), side);
    EXPECT_FALSE(s->CloseButtons());
    ExpectTabsPainted(pages->Handle(), 3, 1);
    EXPECT_TRUE(s->CloseRects() == std::vector<TRect>(3));  // no marks
  }
}

TEST_F(SkinTabTest, ThePagesBorderIsTheTabPanePictureInTheSecondSheetMode) {
  data_ = LoadControlSkin({.tabsStyle = 1});
  vcl::TPageControl* pages = Pages(vcl::tpTop);
  Skin(pages);
  auto b = Painted(pages->Handle());
  EXPECT_EQ(At(b.get(), 150, 120), Frame(kPaneId, 1));
}

TEST_F(SkinTabTest, CloseMarksCloseThePageUnlessTheFormKeepsIt) {
  vcl::TPageControl* pages = Pages(vcl::tpTop);
  pages->SetTag(kCloseMarksTag);
  TSkinTab* s = Skin(pages);
  ASSERT_TRUE(s->CloseButtons());
  Painted(pages->Handle());
  ASSERT_EQ(s->CloseRects().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const TRect tab = ItemRect(pages->Handle(), static_cast<int>(i));
    const TRect mark = s->CloseRects()[i];
    EXPECT_EQ(mark.Width(), 6);
    EXPECT_EQ(mark.Right, tab.Right - 2);  // at the tab's top right corner
    EXPECT_GE(mark.Top, tab.Top);
  }
  auto centre = [&](size_t i) {
    const TRect m = s->CloseRects()[i];
    return Point((m.Left + m.Right) / 2, (m.Top + m.Bottom) / 2);
  };

  // The form keeps it.
  SetWindowLongPtrW(host_.window, GWLP_USERDATA, 1);
  EXPECT_EQ(SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, centre(2)), 0);
  ASSERT_EQ(CloseQueries().size(), 1u);
  EXPECT_EQ(CloseQueries()[0].WParam, reinterpret_cast<WPARAM>(pages->Handle()));
  EXPECT_EQ(CloseQueries()[0].LParam, 2);
  EXPECT_EQ(pages->PageCount(), 3);

  // The form lets it go.
  SetWindowLongPtrW(host_.window, GWLP_USERDATA, 0);
  vcl::TTabSheet* second = pages->Pages(1);
  SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, centre(1));
  ASSERT_EQ(CloseQueries().size(), 2u);
  EXPECT_EQ(CloseQueries()[1].LParam, 1);
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_NE(pages->Pages(0), second);
  EXPECT_NE(pages->Pages(1), second);

  // Elsewhere on a tab: no question.
  const TRect tab = ItemRect(pages->Handle(), 0);
  SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(tab.Left + 4, tab.Bottom - 4));
  EXPECT_EQ(CloseQueries().size(), 2u);

  // Only tabs at the top get marks.
  vcl::TPageControl* bottom = Pages(vcl::tpBottom);
  bottom->SetTag(kCloseMarksTag);
  EXPECT_FALSE(Skin(bottom)->CloseButtons());
}

// A tab with a close mark is wider by the mark, so that its text keeps clear of it; the tabs
// get their width back with the control.
TEST_F(SkinTabTest, TabsWithCloseMarksMakeRoomForThem) {
  vcl::TPageControl* plain = Pages(vcl::tpTop);
  vcl::TPageControl* marked = Pages(vcl::tpTop);
  marked->SetTag(kCloseMarksTag);
  const int before = ItemRect(marked->Handle(), 0).Width();
  ASSERT_EQ(ItemRect(plain->Handle(), 0).Width(), before);
  TSkinTab* s = Skin(marked);
  Skin(plain);
  EXPECT_GE(ItemRect(marked->Handle(), 0).Width(), before + 10);
  EXPECT_EQ(ItemRect(plain->Handle(), 0).Width(), before);
  s->RestoreControl();
  EXPECT_EQ(ItemRect(marked->Handle(), 0).Width(), before);
}

// The tab under the mouse shows the image's hot frame (4); the selected one stays selected.
TEST_F(SkinTabTest, TheTabUnderTheMouseShowsTheHotFrame) {
  vcl::TPageControl* pages = Pages(vcl::tpTop);
  TSkinTab* s = Skin(pages);
  const TRect first = ItemRect(pages->Handle(), 0), current = ItemRect(pages->Handle(), 1);
  SendMessageW(pages->Handle(), WM_MOUSEMOVE, 0, Point(first.Left + 8, first.Top + 8));
  EXPECT_EQ(s->HotTab(), 0);
  auto b = Painted(pages->Handle());
  EXPECT_EQ(At(b.get(), first.Left + 5, first.Top + 5), Frame(kTabsId, 4));
  SendMessageW(pages->Handle(), WM_MOUSEMOVE, 0, Point(current.Left + 8, current.Top + 8));
  b = Painted(pages->Handle());
  EXPECT_EQ(At(b.get(), current.Left + 5, current.Top + 5), Frame(kTabsId, 2));
  EXPECT_EQ(At(b.get(), first.Left + 5, first.Top + 5), Frame(kTabsId, 1));
  SendMessageW(pages->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(s->HotTab(), -1);
}

TEST_F(SkinTabTest, ButtonStyleTabsAreFramesOfTheButtonImage) {
  vcl::TPageControl* pages = Pages(vcl::tpTop);
  pages->SetStyle(vcl::tsButtons);
  Skin<TSkinTabBtn>(pages);
  auto b = Painted(pages->Handle());
  for (int i = 0; i < 3; ++i) {
    const TRect r = ItemRect(pages->Handle(), i);
    EXPECT_EQ(At(b.get(), r.Left + 3, r.Top + 4), Frame(kButtonsId, i == 1 ? 2 : 1)) << i;
  }
}

TEST_F(SkinTabTest, APageIsFilledWithTheFaceColour) {
  vcl::TPageControl* pages = Pages(vcl::tpTop);
  vcl::TTabSheet* page = pages->Pages(1);
  Skin<TSkinTabSheet>(page);
  auto b = Painted(page->Handle());
  EXPECT_EQ(At(b.get(), 5, 5), C(kFace));
  auto erased = Surface(b->Width(), b->Height(), vcl::clBlack);
  EXPECT_EQ(SendMessageW(page->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased->Canvas()->Handle()), 0), 1);
  EXPECT_EQ(At(erased.get(), 5, 5), C(kFace));
}

TEST_F(SkinTabTest, PageControlsWithTabPicturesGetThemFromTheTabImageAndLoseThemWhenUnskinned) {
  auto* pages = Add<TPicturePages>(form_.get(), 10, 10, 200, 100);
  auto* s = new TSkinAdvPage(pages);
  s->FPageKind = 4;
  s->AttachControl(&host_, data_.get(), false, nullptr);
  vcl::TGraphic* normal = pages->TabBackGround()->Graphic();
  vcl::TGraphic* active = pages->TabBackGroundActive()->Graphic();
  ASSERT_TRUE(normal && active);
  EXPECT_EQ(normal->Width(), 100);
  EXPECT_EQ(normal->Height(), 21);
  EXPECT_EQ(At(pages->TabBackGround()->Bitmap(), 50, 10), Frame(kTabsId, 1));
  EXPECT_EQ(At(pages->TabBackGroundActive()->Bitmap(), 50, 10), Frame(kTabsId, 2));
  host_.ReleaseSkinners();
  EXPECT_FALSE(pages->TabBackGround()->Graphic() && !pages->TabBackGround()->Graphic()->Empty());
}

// ---------------------------------------------------------------------------------------
// Old-style tab sets

TEST_F(SkinTabTest, ATabSetShowsItsTabsFromTheUpsideDownImageWhereItLaysThemOut) {
  auto* set = Add<vcl::TTabSet>(form_.get(), 10, 10, 300, 21);
  for (const wchar_t* name : {L"描述", L"图片", L"运费"}) set->Tabs()->Add(name);
  set->SetTabIndex(1);
  auto* s = Skin<TSkinTab31>(set);
  EXPECT_EQ(host_.FindSkinner(set->Handle()), s);
  auto b = Painted(set->Handle());
  EXPECT_EQ(s->ShownTabs(), 3);
  for (int i = 0; i < 3; ++i) {
    const TRect r = set->ItemRect(i);  // the tab set's own layout: the clicks land there
    EXPECT_EQ(At(b.get(), r.Left + 4, r.Bottom - 5), Frame(kTabsId, i == 1 ? 2 : 1)) << i;
  }
  EXPECT_EQ(At(b.get(), 295, 10), C(kFace));  // past the tabs
  EXPECT_EQ(SendMessageW(set->Handle(), WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(SkinTabTest, ATabSetWithMoreTabsThanFitLeavesOutThoseThatDoNot) {
  auto* set = Add<vcl::TTabSet>(form_.get(), 10, 10, 120, 21);
  set->SetAutoScroll(false);
  for (int i = 0; i < 8; ++i) set->Tabs()->Add(L"标签" + std::to_wstring(i));
  auto* s = Skin<TSkinTab31>(set);
  auto b = Painted(set->Handle());
  EXPECT_GT(s->ShownTabs(), 0);
  EXPECT_LT(s->ShownTabs(), 8);
  EXPECT_EQ(At(b.get(), 120 - set->EndMargin(), 10), C(kFace));
}

}  // namespace
}  // namespace winskin::test
