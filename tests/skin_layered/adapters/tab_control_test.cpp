// The tab adapters on the library's tab and page controls: the tab rows and skinned tab
// rectangles, the frame's section by the tabs' side, inactive tabs in the cache and the
// current one over them in its active look (tabs in all four positions), and pages painted
// from the page control's background, their adapters dropped when the pages go; the arrows
// of tabs that do not fit under an up-down adapter, owner-drawn tabs by OnDrawTab, and the
// dialog hook's tab controls.
#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/comctrls/TabControl.h"
#include "panels_support.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/TabControlWnd.h"

namespace skin_layered::test {
namespace {

inline constexpr COLORREF kFrameTop = 0x40A0A0, kFrameBottom = 0xA040A0, kFrameLeft = 0xA0A040, kFrameRight = 0x4040A0;
inline constexpr COLORREF kTab = 0x808020, kTabActive = 0x20E0E0;
inline constexpr COLORREF kArrows = 0x6030C0, kOwnerFill = 0x00FF80;

TEST(TabGeometry, RowsPositionsAndSkinnedRectangles) {
  EXPECT_EQ(TabPositionOfStyle(0), kTabsTop);
  EXPECT_EQ(TabPositionOfStyle(TCS_BOTTOM), kTabsBottom);
  EXPECT_EQ(TabPositionOfStyle(TCS_VERTICAL), kTabsLeft);
  EXPECT_EQ(TabPositionOfStyle(TCS_VERTICAL | TCS_RIGHT), kTabsRight);
  EXPECT_EQ(TabStyleOfStyle(TCS_BUTTONS | TCS_FLATBUTTONS), kTabStyleFlat);
  EXPECT_EQ(TabStyleOfStyle(TCS_BUTTONS), kTabStyleButtons);
  // One row, and an empty item rectangle, are row 1 (never a division by nothing).
  EXPECT_EQ(TabRowOf(kTabsTop, 1, vcl::TRect{0, 40, 50, 60}, vcl::TRect{0, 0, 200, 60}), 1);
  EXPECT_EQ(TabRowOf(kTabsTop, 3, vcl::TRect{10, 20, 10, 20}, vcl::TRect{0, 0, 200, 60}), 1);
  EXPECT_EQ(TabRowOf(kTabsLeft, 3, vcl::TRect{10, 20, 10, 40}, vcl::TRect{0, 0, 60, 200}), 1);
  // Rows of 20: the second row's bottom at 40.
  EXPECT_EQ(TabRowOf(kTabsTop, 3, vcl::TRect{0, 20, 50, 40}, vcl::TRect{0, 0, 200, 60}), 2);
  EXPECT_EQ(TabRowOf(kTabsBottom, 3, vcl::TRect{0, 140, 50, 160}, vcl::TRect{0, 140, 200, 200}), 3);
  const vcl::TRect item{10, 2, 60, 22};
  EXPECT_EQ(SkinTabRectOf(kTabsTop, kTabStyleTabs, item, false, 0), (vcl::TRect{10, 2, 59, 26}));
  EXPECT_EQ(SkinTabRectOf(kTabsTop, kTabStyleTabs, item, true, 0), (vcl::TRect{8, 0, 62, 24}));
  EXPECT_EQ(SkinTabRectOf(kTabsBottom, kTabStyleTabs, item, false, 0), (vcl::TRect{10, 0, 59, 22}));
  EXPECT_EQ(SkinTabRectOf(kTabsTop, kTabStyleTabs, item, false, 3), (vcl::TRect{10, 2, 65, 26}));
  EXPECT_EQ(SkinTabRectOf(kTabsTop, kTabStyleButtons, item, true, 3), item);
}

class TabControlWnd : public PanelsTest {
 protected:
  void SetUp() override {
    skins.Write(L"Tabs", L"Options.dat",
                BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("PAGECONTROL", kFrameTop, kFrameTop) +
                        FlatSection("PAGECONTROLBOTTOM", kFrameBottom, kFrameBottom) +
                        FlatSection("PAGECONTROLLEFT", kFrameLeft, kFrameLeft) +
                        FlatSection("PAGECONTROLRIGHT", kFrameRight, kFrameRight) +
                        FlatSection("TABTOP", kTab, kTabActive) + FlatSection("TABBOTTOM", kTab, kTabActive) +
                        FlatSection("TABLEFT", kTab, kTabActive) + FlatSection("TABRIGHT", kTab, kTabActive) +
                        FlatSection("CHECKBOX", kCheckBox, kCheckBox) +
                        FlatSection("UPDOWNBTN", kArrows, kArrows)));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    manager->SetSkinName(L"Tabs");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    for (const wchar_t* side : {L"TABTOP", L"TABBOTTOM", L"TABLEFT", L"TABRIGHT"})
      AddFlatImage(*manager, side, L"BORDERSMASK", 6, 6, {kTab, kTab, kTabActive});
    manager->Skin().InitConstantIndexes();
  }
};

TEST_F(TabControlWnd, TabsOnEverySideWithTheirFrameAndTheCurrentTabLast) {
  struct Case {
    vcl::TTabPosition position;
    const wchar_t* frame;
    COLORREF color;
  };
  const Case cases[] = {{vcl::tpTop, L"PAGECONTROL", kFrameTop},
                        {vcl::tpBottom, L"PAGECONTROLBOTTOM", kFrameBottom},
                        {vcl::tpLeft, L"PAGECONTROLLEFT", kFrameLeft},
                        {vcl::tpRight, L"PAGECONTROLRIGHT", kFrameRight}};
  for (const Case& c : cases) {
    auto* tabs = new vcl::TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(10, 10, 240, 160);
    tabs->SetTabPosition(c.position);
    for (const wchar_t* name : {L"One", L"Two", L"Three"}) tabs->Tabs()->Add(name);
    tabs->SetTabIndex(1);
    auto adapter = CreateAdapter<TqvTabControlWnd>(tabs->Handle(), nullptr, manager.get(), TqvSkinParams{tabs, L""});
    EXPECT_EQ(adapter->SkinData->SkinSection(), L"PAGECONTROL");
    EXPECT_EQ(adapter->FrameSection(), c.frame);
    FramePixels pixels(tabs->Handle());
    SendMessageW(tabs->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
    const vcl::TRect page = adapter->PageRect();
    EXPECT_EQ(pixels.At((page.Left + page.Right) / 2, (page.Top + page.Bottom) / 2), c.color) << c.frame;
    const vcl::TRect inactive = adapter->SkinTabRect(0, false);
    const vcl::TRect active = adapter->SkinTabRect(1, true);
    // A point by each tab's outer edge, halfway along it (the frame covers the inner edge).
    auto outer = [&c](const vcl::TRect& r) {
      const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
      switch (c.position) {
        case vcl::tpBottom: return POINT{cx, r.Bottom - 3};
        case vcl::tpLeft: return POINT{r.Left + 2, cy};
        case vcl::tpRight: return POINT{r.Right - 3, cy};
        default: return POINT{cx, r.Top + 2};
      }
    };
    EXPECT_EQ(pixels.At(outer(inactive).x, outer(inactive).y), kTab) << c.frame;
    EXPECT_EQ(pixels.At(outer(active).x, outer(active).y), kTabActive) << c.frame;
    // Captions are drawn (some pixel of the tab is neither colour).
    int text = 0;
    for (int y = inactive.Top + 3; y < inactive.Bottom - 3; ++y)
      for (int x = inactive.Left + 3; x < inactive.Right - 3; ++x) text += pixels.At(x, y) != kTab;
    EXPECT_GT(text, 0) << c.frame;
    adapter.reset();
    vcl::TObject::Free(tabs);
  }
}

TEST_F(TabControlWnd, ImagesOfTheNativeListAreDrawnInTheTabs) {
  auto* tabs = new vcl::TTabControl(form.get());
  tabs->SetParent(form.get());
  tabs->SetBounds(10, 10, 240, 160);
  for (const wchar_t* name : {L"One", L"Two"}) tabs->Tabs()->Add(name);
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    HBRUSH brush = CreateSolidBrush(0x0000FF);
    const RECT all{0, 0, 8, 8};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  ImageList_Add(list, picture, nullptr);
  DeleteObject(picture);
  SendMessageW(tabs->Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  item.iImage = 0;
  SendMessageW(tabs->Handle(), TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  auto adapter = CreateAdapter<TqvTabControlWnd>(tabs->Handle(), nullptr, manager.get(), TqvSkinParams{tabs, L""});
  FramePixels pixels(tabs->Handle());
  SendMessageW(tabs->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  auto count = [&pixels](const vcl::TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += pixels.At(x, y) == 0x0000FFu;
    return n;
  };
  EXPECT_EQ(count(adapter->SkinTabRect(0, false)), 64);
  EXPECT_EQ(count(adapter->SkinTabRect(1, false)), 0);
  adapter.reset();
  vcl::TObject::Free(tabs);
  ImageList_Destroy(list);
}

TEST_F(TabControlWnd, PagesShowThePageControlsBackgroundAndGoWithTheirPages) {
  auto* pages = new vcl::TPageControl(form.get());
  pages->SetParent(form.get());
  pages->SetBounds(10, 10, 240, 160);
  vcl::TTabSheet* sheets[2];
  for (auto*& sheet : sheets) {
    sheet = new vcl::TTabSheet(form.get());
    sheet->SetPageControl(pages);
    sheet->SetCaption(L"Page");
    sheet->HandleNeeded();
  }
  pages->SetActivePage(sheets[0]);
  auto adapter = CreateAdapter<TqvPageControlWnd>(pages->Handle(), nullptr, manager.get(), TqvSkinParams{pages, L""});
  EXPECT_EQ(adapter->PageAdapterCount(), 2);
  auto* page = dynamic_cast<TqvPageWnd*>(GetAdapter(sheets[0]->Handle()));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->TabSheet, sheets[0]);
  EXPECT_EQ(SendCommandToWnd(sheets[0]->Handle(), scmIsSkinned, 0), 1);
  FramePixels pixels(sheets[0]->Handle());
  SendMessageW(sheets[0]->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(pixels.At(5, 5), kFrameTop);
  vcl::TObject::Free(sheets[1]);
  adapter->AddPageAdapters();
  EXPECT_EQ(adapter->PageAdapterCount(), 1);
  adapter.reset();
}

TEST_F(TabControlWnd, TheArrowsOfTabsThatDoNotFitGetAnUpDownAdapterThatGoesWithThem) {
  auto* tabs = new vcl::TTabControl(form.get());
  tabs->SetParent(form.get());
  tabs->SetBounds(10, 10, 160, 100);
  for (int i = 1; i <= 12; ++i) tabs->Tabs()->Add(L"A long tab " + std::to_wstring(i));
  tabs->SetTabIndex(0);
  auto adapter = CreateAdapter<TqvTabControlWnd>(tabs->Handle(), nullptr, manager.get(), TqvSkinParams{tabs, L""});
  const HWND arrows = FindWindowExW(tabs->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  FramePixels pixels(tabs->Handle());
  SendMessageW(tabs->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  ASSERT_NE(adapter->UpDownAdapter, nullptr);
  EXPECT_EQ(adapter->UpDownAdapter->CtrlHandle, arrows);
  EXPECT_EQ(adapter->UpDownAdapter->SkinData->SkinSection(), L"UPDOWNBTN");
  EXPECT_EQ(GetAdapter(arrows), adapter->UpDownAdapter.get());
  // The same arrows keep their adapter through further paints.
  TqvSpinWnd* first = adapter->UpDownAdapter.get();
  SendMessageW(tabs->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(adapter->UpDownAdapter.get(), first);
  RECT r{};
  GetWindowRect(arrows, &r);
  FramePixels arrow_pixels(arrows);
  SendMessageW(arrows, WM_PRINT, reinterpret_cast<WPARAM>(arrow_pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(arrow_pixels.At(1, 1), kArrows);
  EXPECT_EQ(arrow_pixels.At(r.right - r.left - 2, r.bottom - r.top - 2), kArrows);
  // The arrows' adapter goes with the tab control's.
  adapter.reset();
  EXPECT_EQ(GetAdapter(arrows), nullptr);
  // Arrows that went take their adapter with them.
  auto second = CreateAdapter<TqvTabControlWnd>(tabs->Handle(), nullptr, manager.get(), TqvSkinParams{tabs, L""});
  second->CheckUpDown();
  ASSERT_NE(second->UpDownAdapter, nullptr);
  DestroyWindow(arrows);
  EXPECT_TRUE(second->UpDownAdapter->Destroyed);
  second->CheckUpDown();
  EXPECT_EQ(second->UpDownAdapter, nullptr);
  second.reset();
  tabs->Tabs()->Clear();
  vcl::TObject::Free(tabs);
}

struct TabDrawing {
  std::vector<std::pair<int, bool>> calls;
  bool recolour = false;
  void Draw(vcl::TCustomTabControl* Control, int TabIndex, const vcl::TRect& Rect, bool Active) {
    calls.emplace_back(TabIndex, Active);
    vcl::TCanvas* canvas = Control->Canvas();
    const RECT r{Rect.Left + 4, Rect.Top + 4, Rect.Left + 8, Rect.Top + 8};
    HBRUSH brush = CreateSolidBrush(kOwnerFill);
    FillRect(canvas->Handle(), &r, brush);
    DeleteObject(brush);
    if (recolour) canvas->Font()->SetColor(static_cast<vcl::TColor>(0x0000FF));
  }
};

TEST_F(TabControlWnd, OwnerDrawnTabsAreDrawnByTheirHandlerOverTheSkinnedTab) {
  auto* pages = new vcl::TPageControl(form.get());
  pages->SetParent(form.get());
  pages->SetBounds(10, 10, 300, 160);
  for (const wchar_t* caption : {L"First", L"Second"}) {
    auto* sheet = new vcl::TTabSheet(form.get());
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
  }
  pages->SetActivePageIndex(1);
  TabDrawing drawing;
  pages->SetOwnerDraw(true);
  pages->OnDrawTab = vcl::TDrawTabEvent::Bind<&TabDrawing::Draw>(&drawing);
  auto adapter = CreateAdapter<TqvPageControlWnd>(pages->Handle(), nullptr, manager.get(), TqvSkinParams{pages, L""});
  drawing.calls.clear();
  FramePixels pixels(pages->Handle());
  SendMessageW(pages->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  // The inactive tab in the cache, the current one last and active.
  ASSERT_GE(drawing.calls.size(), 2u);
  EXPECT_EQ(drawing.calls.front(), std::make_pair(0, false));
  EXPECT_EQ(drawing.calls.back(), std::make_pair(1, true));
  const vcl::TRect inactive = adapter->SkinTabRect(0, false), active = adapter->SkinTabRect(1, true);
  EXPECT_EQ(pixels.At(inactive.Left + 5, inactive.Top + 5), kOwnerFill);
  EXPECT_EQ(pixels.At(active.Left + 5, active.Top + 5), kOwnerFill);
  EXPECT_EQ(pixels.At((inactive.Left + inactive.Right) / 2, inactive.Top + 2), kTab);
  // A handler that changes the font's colour has the caption written in it.
  drawing.recolour = true;
  FramePixels again(pages->Handle());
  SendMessageW(pages->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(again.DC()), PRF_CLIENT);
  int red = 0;
  for (int y = inactive.Top; y < inactive.Bottom; ++y)
    for (int x = inactive.Left; x < inactive.Right; ++x) red += again.At(x, y) == 0x0000FFu;
  EXPECT_GT(red, 0);
  adapter.reset();
}

TEST_F(TabControlWnd, ADialogsTabControlGetsTheTabAdapterUnlessItIsOwnerDrawn) {
  auto tab = [this](DWORD style) {
    return CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 100, form->Handle(),
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  };
  const HWND plain = tab(0), drawn = tab(TCS_OWNERDRAWFIXED);
  auto* provider = new TqvProvider(nullptr);
  EXPECT_TRUE(AddChildAdapter(provider, plain));
  EXPECT_TRUE(AddChildAdapter(provider, drawn));
  auto* adapter = dynamic_cast<TqvTabControlWnd*>(GetAdapter(plain));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"PAGECONTROL");
  EXPECT_EQ(GetAdapter(drawn), nullptr);
  vcl::TObject::Free(provider);
  DestroyWindow(plain);
  DestroyWindow(drawn);
}

}  // namespace
}  // namespace skin_layered::test
