// Page controls on real windows: pages and tabs, hidden tabs, the user's changes, drawing, new windows.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

struct PageEvents {
  int changes = 0;
  int changings = 0;
  bool allow = true;
  std::vector<int> drawn;
  std::vector<bool> drawn_active;

  void Change(TObject*) { ++changes; }
  void Changing(TObject*, bool& AllowChange) {
    ++changings;
    AllowChange = allow;
  }
  void DrawTab(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active) {
    drawn.push_back(TabIndex);
    drawn_active.push_back(Active);
    Control->Canvas()->Brush()->SetColor(Active ? clRed : clBlue);
    Control->Canvas()->FillRect(Rect);
  }
  void Wire(TPageControl* pc) {
    pc->OnChange = TNotifyEvent::Bind<&PageEvents::Change>(this);
    pc->OnChanging = TTabChangingEvent::Bind<&PageEvents::Changing>(this);
  }
};

TPageControl* PagesWith(TWinControl* parent, std::initializer_list<const wchar_t*> captions) {
  auto* pc = Put<TPageControl>(parent, 10, 10, 287, 236);
  for (const wchar_t* caption : captions) {
    auto* sheet = new TTabSheet(parent);
    sheet->SetPageControl(pc);
    sheet->SetCaption(caption);
  }
  return pc;
}

std::vector<HWND> VisibleSheets(TPageControl* pc) {
  std::vector<HWND> out;
  for (int i = 0; i < pc->PageCount(); ++i)
    if (pc->Pages(i)->HandleAllocated() && IsWindowVisible(pc->Pages(i)->Handle())) out.push_back(pc->Pages(i)->Handle());
  return out;
}

// Pages and tabs

TEST(PageControlTabs, SheetsArePagesWithTabsInTheirWindow) {
  auto form = ShownForm();
  TPageControl* pc = PagesWith(form.get(), {L"图片列表", L"链接地址", L"标题说明"});
  HWND wnd = pc->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TPageControl");
  ASSERT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(GetParent(pc->Pages(0)->Handle()), wnd);
  ASSERT_EQ(TabCountOf(wnd), 3);
  EXPECT_EQ(TabText(wnd, 1), L"链接地址");
  EXPECT_THROW(pc->Pages(3), EListError);
  // No page is shown until one is made active.
  EXPECT_TRUE(VisibleSheets(pc).empty());
  EXPECT_EQ(pc->TabIndex(), -1);

  pc->SetActivePage(pc->Pages(1));
  EXPECT_EQ(SendMessageW(wnd, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(VisibleSheets(pc), std::vector<HWND>{pc->Pages(1)->Handle()});
  RECT expected{};
  GetClientRect(wnd, &expected);
  SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&expected));
  EXPECT_EQ(RectInParent(pc->Pages(1)->Handle()), TRect(expected));

  // Captions, hidden tabs and new positions show in the tabs.
  pc->Pages(0)->SetCaption(L"图片");
  EXPECT_EQ(TabText(wnd, 0), L"图片");
  pc->Pages(0)->SetTabVisible(false);
  ASSERT_EQ(TabCountOf(wnd), 2);
  EXPECT_EQ(TabText(wnd, 0), L"链接地址");
  EXPECT_EQ(pc->Pages(0)->TabIndex(), -1);
  EXPECT_EQ(pc->TabIndex(), 0);  // the active page's tab moved
  pc->Pages(2)->SetPageIndex(0);
  EXPECT_EQ(TabText(wnd, 0), L"标题说明");
  EXPECT_EQ(pc->ActivePage()->Caption(), L"链接地址");
  EXPECT_EQ(pc->TabIndex(), 1);

  // Showing a control on another page turns to that page.
  auto* inner = Put<TRecordingPanel>(pc->Pages(2));
  inner->Hide();
  inner->Show();
  EXPECT_EQ(pc->ActivePage(), pc->Pages(2));
  EXPECT_TRUE(IsWindowVisible(inner->Handle()));
}

TEST(PageControlTabs, WithAllTabsHiddenTheActiveSheetFillsTheWholeControl) {
  auto form = ShownForm(600, 600);
  auto* pc = Put<TPageControl>(form.get(), 0, 35, 287, 536);
  for (int i = 0; i < 11; ++i) {
    auto* sheet = new TTabSheet(form.get());
    sheet->SetTabVisible(false);
    sheet->SetPageControl(pc);
    sheet->SetColor(i == 5 ? clRed : clBlue);
  }
  pc->SetActivePage(pc->Pages(5));
  HWND wnd = pc->Handle();
  EXPECT_EQ(TabCountOf(wnd), 0);
  EXPECT_EQ(pc->TabIndex(), -1);
  ASSERT_EQ(VisibleSheets(pc), std::vector<HWND>{pc->Pages(5)->Handle()});
  EXPECT_EQ(RectInParent(pc->Pages(5)->Handle()), Rect(0, 0, 287, 536));

  // The page control's picture is the active sheet's, edge to edge.
  form->Update();
  PixelTarget target(287, 536);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(target.dc()),
               PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND | PRF_NONCLIENT);
  EXPECT_EQ(target.At(0, 0), clRed);
  EXPECT_EQ(target.At(286, 535), clRed);

  // Another sheet through ActivePage: the old one hides; the control grows, the sheet follows.
  pc->SetActivePage(pc->Pages(8));
  EXPECT_EQ(VisibleSheets(pc), std::vector<HWND>{pc->Pages(8)->Handle()});
  pc->SetHeight(500);
  EXPECT_EQ(RectInParent(pc->Pages(8)->Handle()), Rect(0, 0, 287, 500));
}

// Changing pages

TEST(PageControlChanges, AClickedTabAsksOnChangingThenShowsItsPageAndFiresOnChange) {
  auto form = ShownForm();
  TPageControl* pc = PagesWith(form.get(), {L"a", L"b", L"c"});
  PageEvents events;
  events.Wire(pc);
  pc->SetActivePageIndex(0);
  EXPECT_EQ(events.changes + events.changings, 0);  // setting the page in code is no change of the user's

  ClickTab(pc->Handle(), 2);
  EXPECT_EQ(events.changings, 1);
  EXPECT_EQ(events.changes, 1);
  EXPECT_EQ(VisibleSheets(pc), std::vector<HWND>{pc->Pages(2)->Handle()});

  events.allow = false;
  ClickTab(pc->Handle(), 0);
  EXPECT_EQ(events.changings, 2);
  EXPECT_EQ(events.changes, 1);
  EXPECT_EQ(pc->ActivePage(), pc->Pages(2));
  EXPECT_EQ(pc->TabIndex(), 2);

  events.allow = true;
  pc->SelectNextPage(true);
  EXPECT_EQ(pc->ActivePage(), pc->Pages(0));  // wraps around
  EXPECT_EQ(events.changes, 2);
}

TEST(PageControlChanges, FindNextPageSkipsHiddenTabsUnlessAskedNotTo) {
  TPageControl pc(nullptr);
  for (int i = 0; i < 4; ++i) {
    auto* sheet = new TTabSheet(&pc);
    sheet->SetPageControl(&pc);
    sheet->SetTabVisible(i != 2);
  }
  EXPECT_EQ(pc.FindNextPage(pc.Pages(1), true, true), pc.Pages(3));
  EXPECT_EQ(pc.FindNextPage(pc.Pages(1), true, false), pc.Pages(2));
  EXPECT_EQ(pc.FindNextPage(pc.Pages(0), false, true), pc.Pages(3));
  EXPECT_EQ(pc.FindNextPage(nullptr, true, true), pc.Pages(0));
}

TEST(PageControlChanges, AFreedActivePageHandsOverToTheNextPage) {
  auto form = ShownForm();
  TPageControl* pc = PagesWith(form.get(), {L"a", L"b", L"c"});
  pc->SetActivePageIndex(1);
  TObject::Free(pc->Pages(1));
  ASSERT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage()->Caption(), L"c");
  EXPECT_EQ(TabCountOf(pc->Handle()), 2);
  EXPECT_EQ(pc->TabIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(pc->ActivePage()->Handle()));

  // A page moved elsewhere leaves too.
  auto* other = Put<TPageControl>(form.get());
  pc->Pages(0)->SetPageControl(other);
  EXPECT_EQ(pc->PageCount(), 1);
  EXPECT_EQ(TabText(other->Handle(), 0), L"a");

  TObject::Free(pc->Pages(0));
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_EQ(pc->TabIndex(), -1);
}

// Drawing and re-creation

TEST(PageControlDrawing, OwnerDrawnTabsArePaintedByOnDrawTab) {
  auto form = ShownForm();
  TPageControl* pc = PagesWith(form.get(), {L"a", L"b"});
  PageEvents events;
  pc->OnDrawTab = TDrawTabEvent::Bind<&PageEvents::DrawTab>(&events);
  pc->SetOwnerDraw(true);
  pc->SetActivePageIndex(1);
  HWND wnd = pc->Handle();
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  bool sawActive = false;
  for (size_t i = 0; i < events.drawn.size(); ++i)
    if (events.drawn[i] == 1) sawActive = sawActive || events.drawn_active[i];
  EXPECT_TRUE(sawActive);

  RECT tab{};
  SendMessageW(wnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  PixelTarget target(287, 236);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(target.dc()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(target.At((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2), clBlue);
}

TEST(PageControlDrawing, PagesTabsAndTheActivePageSurviveANewWindow) {
  auto form = ShownForm();
  TPageControl* pc = PagesWith(form.get(), {L"a", L"b", L"c"});
  pc->Pages(0)->SetTabVisible(false);
  pc->SetActivePageIndex(2);
  HWND first = pc->Handle();
  pc->SetMultiLine(true);
  HWND second = pc->Handle();
  EXPECT_NE(second, first);
  EXPECT_NE(StyleOf(second) & TCS_MULTILINE, 0);
  ASSERT_EQ(TabCountOf(second), 2);
  EXPECT_EQ(TabText(second, 0), L"b");
  EXPECT_EQ(pc->TabIndex(), 1);
  EXPECT_EQ(VisibleSheets(pc), std::vector<HWND>{pc->Pages(2)->Handle()});

  // Tabs below: the page moves up.
  pc->SetTabPosition(tpBottom);
  EXPECT_NE(StyleOf(pc->Handle()) & TCS_BOTTOM, 0);
  EXPECT_LT(RectInParent(pc->Pages(2)->Handle()).Top, 5);
  EXPECT_EQ(RectInParent(pc->Pages(2)->Handle()), pc->DisplayRect());
  EXPECT_EQ(pc->ActivePage(), pc->Pages(2));

  // The skin engine's announcement (LParam 16802) is no notification header.
  SendMessageW(pc->Handle(), CN_NOTIFY, 0, 16802);
  EXPECT_TRUE(IsWindow(pc->Handle()));
}

}  // namespace
}  // namespace vcl::testing
