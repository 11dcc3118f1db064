// The tab adapters on library tab and page controls: the tab rows' arithmetic, tabs on every
// side with their frame by pixel, native images, pages painted from the page control, the
// arrows' up-down adapter, owner-drawn tabs, the dialog hook's tab controls, and pages on a
// skinned form (the frame's edge beside the tabs, graphic controls painted once, a page
// painted again when the page control's picture changed, no colour never given, the page
// control painted again when the form's picture under it changed, and only then).
#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/comctrls/TabControl.h"
#include "classlib/forms/Forms.h"
#include "panels_support.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/TabControlWnd.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

inline constexpr COLORREF kFrameTop = 0x40A0A0, kFrameBottom = 0xA040A0, kFrameLeft = 0xA0A040, kFrameRight = 0x4040A0;
inline constexpr COLORREF kTab = 0x808020, kTabActive = 0x20E0E0;
inline constexpr COLORREF kArrows = 0x6030C0, kOwnerFill = 0x00FF80;

TEST(TabGeometry, RowsPositionsAndSkinnedRectangles) {
  EXPECT_EQ(TabPositionOfStyle(TCS_VERTICAL | TCS_RIGHT), kTabsRight);
  EXPECT_EQ(TabStyleOfStyle(TCS_BUTTONS | TCS_FLATBUTTONS), kTabStyleFlat);
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

class TabControlWnd : public SkinnedTest {
 protected:
  void SetUp() override {
    LoadSkin("[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("PAGECONTROL", kFrameTop, kFrameTop) +
                 FlatSection("PAGECONTROLBOTTOM", kFrameBottom, kFrameBottom) +
                 FlatSection("PAGECONTROLLEFT", kFrameLeft, kFrameLeft) +
                 FlatSection("PAGECONTROLRIGHT", kFrameRight, kFrameRight) + FlatSection("TABTOP", kTab, kTabActive) +
                 FlatSection("TABBOTTOM", kTab, kTabActive) + FlatSection("TABLEFT", kTab, kTabActive) +
                 FlatSection("TABRIGHT", kTab, kTabActive) + FlatSection("CHECKBOX", kCheckBox, kCheckBox) +
                 FlatSection("UPDOWNBTN", kArrows, kArrows),
             L"Tabs");
    for (const wchar_t* side : {L"TABTOP", L"TABBOTTOM", L"TABLEFT", L"TABRIGHT"})
      AddFlatImage(*manager, side, L"BORDERSMASK", 6, 6, {kTab, kTab, kTabActive});
    manager->Skin().InitConstantIndexes();
  }
  vcl::TTabControl* NewTabs(std::initializer_list<const wchar_t*> Names, int W = 240, int H = 160) {
    auto* tabs = Put<vcl::TTabControl>(form.get(), 10, 10, W, H);
    for (const wchar_t* name : Names) tabs->Tabs()->Add(name);
    return tabs;
  }
  TqvAdapterPtr<TqvTabControlWnd> Adapt(vcl::TTabControl* Tabs) {
    return CreateAdapter<TqvTabControlWnd>(Tabs->Handle(), nullptr, manager.get(), TqvSkinParams{Tabs, L""});
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
    auto* tabs = NewTabs({L"One", L"Two", L"Three"});
    tabs->SetTabPosition(c.position);
    tabs->SetTabIndex(1);
    auto adapter = Adapt(tabs);
    EXPECT_EQ(adapter->FrameSection(), c.frame);
    const auto printed = Printed(tabs->Handle(), PRF_CLIENT);
    const FramePixels& pixels = *printed;
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
    const RECT inner{inactive.Left + 3, inactive.Top + 3, inactive.Right - 3, inactive.Bottom - 3};
    EXPECT_GT(CountPixels(pixels, inner, [](COLORREF p) { return p != kTab; }), 0) << c.frame;
    adapter.reset();
    vcl::TObject::Free(tabs);
  }
}

RECT Rect(const vcl::TRect& R) { return RECT{R.Left, R.Top, R.Right, R.Bottom}; }

TEST_F(TabControlWnd, ImagesOfTheNativeListAreDrawnInTheTabs) {
  auto* tabs = NewTabs({L"One", L"Two"});
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  const std::vector<std::uint32_t> red(64, 0xFFFF0000);
  HBITMAP picture = CreateBitmap(8, 8, 1, 32, red.data());
  ImageList_Add(list, picture, nullptr);
  DeleteObject(picture);
  SendMessageW(tabs->Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  item.iImage = 0;
  SendMessageW(tabs->Handle(), TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  auto adapter = Adapt(tabs);
  auto pixels = Printed(tabs->Handle(), PRF_CLIENT);
  EXPECT_EQ(CountColor(*pixels, Rect(adapter->SkinTabRect(0, false)), 0x0000FF), 64);
  EXPECT_EQ(CountColor(*pixels, Rect(adapter->SkinTabRect(1, false)), 0x0000FF), 0);
  adapter.reset();
  vcl::TObject::Free(tabs);
  ImageList_Destroy(list);
}

TEST_F(TabControlWnd, PagesShowThePageControlsBackgroundAndGoWithTheirPages) {
  auto* pages = Put<vcl::TPageControl>(form.get(), 10, 10, 240, 160);
  vcl::TTabSheet* sheets[2];
  for (auto*& sheet : sheets) {
    sheet = new vcl::TTabSheet(form.get());
    sheet->SetPageControl(pages);
    sheet->HandleNeeded();
  }
  pages->SetActivePage(sheets[0]);
  auto adapter = CreateAdapter<TqvPageControlWnd>(pages->Handle(), nullptr, manager.get(), TqvSkinParams{pages, L""});
  EXPECT_EQ(adapter->PageAdapterCount(), 2);
  auto* page = dynamic_cast<TqvPageWnd*>(GetAdapter(sheets[0]->Handle()));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->TabSheet, sheets[0]);
  EXPECT_EQ(Printed(sheets[0]->Handle(), PRF_CLIENT)->At(5, 5), kFrameTop);
  vcl::TObject::Free(sheets[1]);
  adapter->AddPageAdapters();
  EXPECT_EQ(adapter->PageAdapterCount(), 1);
}

TEST_F(TabControlWnd, TheArrowsOfTabsThatDoNotFitGetAnUpDownAdapterThatGoesWithThem) {
  auto* tabs = NewTabs({}, 160, 100);
  for (int i = 1; i <= 12; ++i) tabs->Tabs()->Add(L"A long tab " + std::to_wstring(i));
  tabs->SetTabIndex(0);
  auto adapter = Adapt(tabs);
  const HWND arrows = FindWindowExW(tabs->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  Printed(tabs->Handle(), PRF_CLIENT);
  ASSERT_NE(adapter->UpDownAdapter, nullptr);
  EXPECT_EQ(GetAdapter(arrows), adapter->UpDownAdapter.get());
  // The same arrows keep their adapter through further paints.
  TqvSpinWnd* first = adapter->UpDownAdapter.get();
  Printed(tabs->Handle(), PRF_CLIENT);
  EXPECT_EQ(adapter->UpDownAdapter.get(), first);
  const RECT r = WindowBox(arrows);
  auto arrowPixels = Printed(arrows, PRF_CLIENT);
  EXPECT_EQ(arrowPixels->At(1, 1), kArrows);
  EXPECT_EQ(arrowPixels->At(r.right - 2, r.bottom - 2), kArrows);
  // The arrows' adapter goes with the tab control's.
  adapter.reset();
  EXPECT_EQ(GetAdapter(arrows), nullptr);
  // Arrows that went take their adapter with them.
  auto second = Adapt(tabs);
  second->CheckUpDown();
  ASSERT_NE(second->UpDownAdapter, nullptr);
  DestroyWindow(arrows);
  EXPECT_TRUE(second->UpDownAdapter->Destroyed());
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
  auto* pages = Put<vcl::TPageControl>(form.get(), 10, 10, 300, 160);
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
  const auto printed = Printed(pages->Handle(), PRF_CLIENT);
  const FramePixels& pixels = *printed;
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
  EXPECT_GT(CountColor(*Printed(pages->Handle(), PRF_CLIENT), Rect(inactive), 0x0000FF), 0);
  adapter.reset();
}

TEST_F(TabControlWnd, ADialogsTabControlGetsTheTabAdapterUnlessItIsOwnerDrawn) {
  const HWND plain = Child(form->Handle(), WC_TABCONTROLW, 0, 10, 10, 200, 100);
  const HWND drawn = Child(form->Handle(), WC_TABCONTROLW, TCS_OWNERDRAWFIXED, 10, 10, 200, 100);
  auto* provider = new TqvProvider(nullptr);
  EXPECT_TRUE(AddChildAdapter(provider, plain));
  EXPECT_TRUE(AddChildAdapter(provider, drawn));
  auto* adapter = dynamic_cast<TqvTabControlWnd*>(GetAdapter(plain));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"PAGECONTROL");
  EXPECT_EQ(GetAdapter(drawn), nullptr);
  vcl::TObject::Free(provider);
}


// A graphic control that inverts what lies under it: painted twice, it shows nothing.
class TInverter : public vcl::TGraphicControl {
  VCL_CLASS(TInverter, vcl::TGraphicControl)
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override { PatBlt(Canvas()->Handle(), 0, 0, Width(), Height(), DSTINVERT); }
};

}  // namespace

VCL_CLASS_INFO(TInverter) {}

namespace {

inline constexpr COLORREF kFrameEdge = 0x2080F0, kPageForm = 0xB0B0B0;

// A page control on a skinned form, its adapters made by the form's provider: the page frame
// of one colour with an edge of another (the edge picture's centre left to the colour).
class PagesOnASkinnedForm : public ::testing::Test {
 protected:
  struct FormFree {
    void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
  };
  void Load(const std::string& FrameExtra = "", const std::string& FormExtra = "") {
    manager = LoadedManager(
        skins, L"Pages",
        "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("FORM", kPageForm, kPageForm) + FormExtra +
            FlatSection("PAGECONTROL", kFrameTop, kFrameTop) + FrameExtra + FlatSection("TABTOP", kTab, kTabActive) +
            FlatSection("TABBOTTOM", kTab, kTabActive) + FlatSection("TABLEFT", kTab, kTabActive) +
            FlatSection("TABRIGHT", kTab, kTabActive) + FlatSection("CHECKBOX", kCheckBox, kCheckBox));
    for (const wchar_t* side : {L"TABTOP", L"TABBOTTOM", L"TABLEFT", L"TABRIGHT"})
      AddFlatImage(*manager, side, L"BORDERSMASK", 6, 6, {kTab, kTab, kTabActive});
    const int edge = AddFlatImage(*manager, L"PAGECONTROL", L"BORDERSMASK", 24, 24, {kFrameEdge, kFrameEdge, kFrameEdge});
    TsMaskData& mask = manager->Skin().Images[static_cast<std::size_t>(edge)];
    mask.WidthLeft = mask.WidthTop = mask.WidthRight = mask.WidthBottom = 8;
    mask.DrawMode = kDrawStretch;
    manager->Skin().Sections[static_cast<std::size_t>(manager->GetSkinIndex(L"PAGECONTROL"))].BorderIndex = edge;
    manager->Skin().InitConstantIndexes();
  }
  // The form shown with a page control of two pages, an inverter on the first.
  void Show(vcl::TTabPosition Position = vcl::tpTop) {
    form.reset(new vcl::TForm(vcl::Application, 0));
    formProvider = vcl::Construct<TsSkinProvider>(form.get());
    pages = Put<vcl::TPageControl>(form.get(), 10, 10, 300, 200);
    for (auto*& sheet : sheets) {
      sheet = new vcl::TTabSheet(form.get());
      sheet->SetPageControl(pages);
      sheet->SetCaption(L"Page");
    }
    pages->SetTabPosition(Position);
    pages->SetActivePage(sheets[0]);
    inverter = new TInverter(form.get());
    inverter->SetParent(sheets[0]);
    inverter->SetBounds(100, 60, 40, 30);
    form->SetBounds(1100, 120, 360, 280);
    form->Show();
    wintest::PumpUntilIdle();
  }
  TqvPageWnd* Page() const { return dynamic_cast<TqvPageWnd*>(GetAdapter(sheets[0]->Handle())); }
  TqvPageControlWnd* PagesAdapter() const { return dynamic_cast<TqvPageControlWnd*>(GetAdapter(pages->Handle())); }
  // A pixel of the first page as its window shows it.
  COLORREF Shown(int X, int Y) const { return ShownBy(sheets[0]->Handle(), X, Y); }
  static COLORREF ShownBy(HWND Wnd, int X, int Y) {
    const HDC dc = GetDC(Wnd);
    const COLORREF c = GetPixel(dc, X, Y);
    ReleaseDC(Wnd, dc);
    return c;
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, FormFree> form;
  TsSkinProvider* formProvider = nullptr;  // the form's, freed with it
  vcl::TPageControl* pages = nullptr;
  vcl::TTabSheet* sheets[2]{};
  TInverter* inverter = nullptr;
};

// Whichever side the tabs are on, the page's 3 lines beside them show the frame's edge and the
// next line the frame's colour; the far side has none of the edge.
TEST_F(PagesOnASkinnedForm, APageShowsTheFramesEdgeBesideTheTabsAndItsGraphicControlsPaintedOnce) {
  Load();
  const struct {
    vcl::TTabPosition position;
    const char* name;
  } sides[] = {{vcl::tpTop, "tabs on top"}, {vcl::tpBottom, "tabs below"}, {vcl::tpLeft, "tabs at the left"},
               {vcl::tpRight, "tabs at the right"}};
  for (const auto& side : sides) {
    SCOPED_TRACE(side.name);
    Show(side.position);
    ASSERT_NE(PagesAdapter(), nullptr);
    ASSERT_NE(Page(), nullptr);
    const int w = sheets[0]->Width(), h = sheets[0]->Height();
    // The point of the page's line `i` counted from the tabs' side (from the far side when
    // asked), half way along it.
    auto line = [&](int i, bool farSide = false) {
      const bool tabsFirst = side.position == vcl::tpTop || side.position == vcl::tpLeft;
      const bool horizontal = side.position == vcl::tpTop || side.position == vcl::tpBottom;
      const int extent = horizontal ? h : w;
      const int at = tabsFirst != farSide ? i : extent - 1 - i;
      return horizontal ? vcl::TPoint(w / 2, at) : vcl::TPoint(at, h / 2);
    };
    const auto printed = Printed(sheets[0]->Handle(), PRF_CLIENT);
    for (int i = 0; i < 3; ++i) {
      const vcl::TPoint p = line(i);
      EXPECT_EQ(printed->At(p.X, p.Y), kFrameEdge) << "line " << i << " printed";
      EXPECT_EQ(Shown(p.X, p.Y), kFrameEdge) << "line " << i << " shown";
    }
    for (const vcl::TPoint p : {line(3), line(0, true)}) {
      EXPECT_EQ(printed->At(p.X, p.Y), kFrameTop) << p.X << "," << p.Y << " printed";
      EXPECT_EQ(Shown(p.X, p.Y), kFrameTop) << p.X << "," << p.Y << " shown";
    }
    // The page's picture and its graphic control, each painted once.
    const COLORREF inverted = ~kFrameTop & 0xFFFFFF;
    EXPECT_EQ(printed->At(120, 75), inverted);
    EXPECT_EQ(Shown(120, 75), inverted);
    // Whatever the window held is painted over by a paint that erases nothing.
    const HDC dc = GetDC(sheets[0]->Handle());
    PatBlt(dc, 0, 0, w, h, BLACKNESS);
    ReleaseDC(sheets[0]->Handle(), dc);
    InvalidateRect(sheets[0]->Handle(), nullptr, FALSE);
    wintest::PumpUntilIdle();
    EXPECT_EQ(Shown(120, 75), inverted) << "after a paint without erasing";
    EXPECT_EQ(Shown(line(1).X, line(1).Y), kFrameEdge) << "after a paint without erasing";
    EXPECT_EQ(Shown(line(3).X, line(3).Y), kFrameTop) << "after a paint without erasing";
    form.reset();
  }
}

TEST_F(PagesOnASkinnedForm, APageIsPaintedAgainWhenThePageControlsPictureChanged) {
  Load();
  Show();
  TqvPageWnd* page = Page();
  ASSERT_NE(page, nullptr);
  const HWND wnd = sheets[0]->Handle();
  ValidateRect(wnd, nullptr);
  // Nothing changed behind the page: nothing to paint.
  SendCommandToWnd(wnd, scmRepaint, 0);
  EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE));
  PagesAdapter()->SkinData->Updating = true;
  SendCommandToWnd(wnd, scmRepaint, 0);
  EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE));
  EXPECT_FALSE(page->SkinData->Updating);
  PagesAdapter()->SkinData->Updating = false;
}


TEST_F(PagesOnASkinnedForm, APageOverASeeThroughFrameShowsThePageControlsPicture) {
  Load("TRANSPARENCY=50\r\n");
  Show();
  ASSERT_NE(Page(), nullptr);
  vcl::TBitmap* picture = PagesAdapter()->SkinData->CacheBmp();
  ASSERT_NE(picture, nullptr);
  const int x = sheets[0]->Width() / 2, y = sheets[0]->Height() / 2;
  const COLORREF expected = GetPixel(picture->Canvas()->Handle(), sheets[0]->Left() + x, sheets[0]->Top() + y);
  EXPECT_NE(expected, kFrameTop);
  EXPECT_NE(expected, 0u);
  EXPECT_EQ(Shown(x, y), expected);
  EXPECT_EQ(Printed(sheets[0]->Handle(), PRF_CLIENT)->At(x, y), expected);
  // A page control without its picture yet (it answers that it is not ready, and waits for
  // its parent's word to paint again): the page paints no colour the answer never gave.
  picture->SetSize(0, 0);
  const HWND page = sheets[0]->Handle();
  MemoryPixels printed(sheets[0]->Width(), sheets[0]->Height());
  PatBlt(printed.DC(), 0, 0, sheets[0]->Width(), sheets[0]->Height(), WHITENESS);
  SendMessageW(page, WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_CLIENT);
  EXPECT_EQ(printed.At(x, y), 0xFFFFFFu);
  // Nor does it keep itself painting while it waits.
  InvalidateRect(page, nullptr, TRUE);
  EXPECT_TRUE(wintest::PumpUntilIdle([] { return true; }, std::chrono::milliseconds(2000)));
  // The word comes (the form's after its paint): the page control paints, the page with it.
  SendCommandToWnd(pages->Handle(), scmRepaint, 0);
  wintest::PumpUntilIdle();
  EXPECT_EQ(picture->Width(), pages->Width());
  EXPECT_EQ(Shown(x, y), expected);
  EXPECT_EQ(Printed(page, PRF_CLIENT)->At(x, y), expected);
}

// The page control is made again over its form's picture when that changed under it, and only
// then: the form asks each time it painted, say at every step of a resize. Over a gradient from
// top to bottom, beside the tabs it shows the row the form shows beside it, through every step.
TEST_F(PagesOnASkinnedForm, ThePageControlIsPaintedAgainWhenTheFormsPictureUnderItChangedAndOnlyThen) {
  const std::string gradient = "GRADIENTPERCENT=100\r\nGRADIENTDATA=0;16777215;100;0;0\r\n";
  Load("", gradient + "HOT" + gradient.substr(0, gradient.find("GRADIENTDATA")) + "HOT" +
               gradient.substr(gradient.find("GRADIENTDATA")));
  Show(vcl::tpBottom);
  const HWND wnd = pages->Handle(), formWnd = form->Handle();
  auto besideTabs = [&] { return ShownBy(wnd, pages->Width() - 10, pages->Height() - 4); };
  auto formBeside = [&] { return ShownBy(formWnd, pages->Left() + pages->Width() + 6, pages->Top() + pages->Height() - 4); };
  const COLORREF row = formBeside();
  ASSERT_NE(row, kPageForm) << "the gradient is painted";
  ASSERT_NE(row, ShownBy(formWnd, pages->Left() + pages->Width() + 6, pages->Top() + 4)) << "the rows differ";
  EXPECT_EQ(besideTabs(), row);
  ValidateRect(wnd, nullptr);
  SendCommandToWnd(wnd, scmRepaint, 0);
  EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE)) << "nothing changed under the control";
  for (const vcl::TPoint size : {vcl::TPoint(420, 280), vcl::TPoint(420, 380), vcl::TPoint(330, 250), vcl::TPoint(360, 280)}) {
    SCOPED_TRACE(testing::Message() << size.X << " x " << size.Y);
    SetWindowPos(formWnd, nullptr, 0, 0, size.X, size.Y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(formWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    wintest::PumpUntilIdle();
    EXPECT_EQ(besideTabs(), formBeside());
  }
  // The form's picture changed under the control (here by hand, after the form painted): the
  // word after the form's paint has the control made again over it.
  // A round in which the form made its picture anew meanwhile (its activation changed, a test
  // program beside took the foreground) runs again.
  bool judged = false;
  for (int round = 0; round < 10 && !judged; ++round) {
    wintest::PumpUntilIdle();
    vcl::TBitmap* picture = formProvider->SkinData->CacheBmp();
    ASSERT_NE(picture, nullptr);
    PatBlt(picture->Canvas()->Handle(), 0, 0, picture->Width(), picture->Height(), BLACKNESS);
    ValidateRect(wnd, nullptr);
    SendCommandToWnd(wnd, scmRepaint, 0);
    EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE));
    wintest::PumpUntilIdle();
    if (formProvider->SkinData->CacheBmp() != picture || GetPixel(picture->Canvas()->Handle(), picture->Width() / 2, picture->Height() / 2) != 0)
      continue;
    EXPECT_EQ(besideTabs(), 0u);
    judged = true;
  }
  EXPECT_TRUE(judged) << "the form made its picture anew in every round";
}

}  // namespace
}  // namespace skin_layered::test
