// The panel, status-bar and tool-bar adapters on library controls: the panel's section by its
// bevels, captions, status panels, dividers and grip, tool buttons by state, each by pixel.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/ToolBar.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "panels_support.h"
#include "skin_layered/adapters/PanelWnd.h"
#include "skin_layered/adapters/StatusBarWnd.h"
#include "skin_layered/adapters/ToolBarWnd.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/paint/ButtonGlyphs.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

class PanelWnd : public PanelsTest {
 protected:
  vcl::TPanel* NewPanel(vcl::TBevelCut Outer, vcl::TBevelCut Inner, vcl::TBorderStyle Border = vcl::TBorderStyle::bsNone) {
    auto* panel = Put<vcl::TPanel>(form.get(), 10, 10, 120, 60);
    panel->SetBevelOuter(Outer);
    panel->SetBevelInner(Inner);
    panel->SetBorderStyle(Border);
    panel->SetCaption(L"");
    return panel;
  }
  static COLORREF PrintedAt(vcl::TWinControl* Control, int X, int Y) { return Printed(Control->Handle())->At(X, Y); }
};

TEST_F(PanelWnd, TheSectionFollowsTheBevelsAndBorder) {
  struct Case {
    vcl::TBevelCut outer, inner;
    vcl::TBorderStyle border;
    const wchar_t* section;
    COLORREF color;
  };
  const Case cases[] = {
      {vcl::bvRaised, vcl::bvNone, vcl::TBorderStyle::bsNone, L"PANEL", kPanel},
      {vcl::bvRaised, vcl::bvLowered, vcl::TBorderStyle::bsNone, L"GROUPBOX", kGroupBox},
      {vcl::bvLowered, vcl::bvNone, vcl::TBorderStyle::bsNone, L"PANEL_LOW", kPanelLow},
      {vcl::bvLowered, vcl::bvRaised, vcl::TBorderStyle::bsNone, L"GROUPBOX", kGroupBox},
      {vcl::bvNone, vcl::bvNone, vcl::TBorderStyle::bsNone, L"CHECKBOX", kCheckBox},
      {vcl::bvNone, vcl::bvNone, vcl::TBorderStyle::bsSingle, L"PANEL_LOW", kPanelLow},
  };
  for (const Case& c : cases) {
    vcl::TPanel* panel = NewPanel(c.outer, c.inner, c.border);
    auto adapter = CreateAdapter<TqvPanelWnd>(panel->Handle(), nullptr, manager.get(), TqvSkinParams{panel, L""});
    EXPECT_EQ(adapter->SkinData->SkinSection(), c.section);
    // A single border lies outside the client area: its strips come from the same cache.
    EXPECT_EQ(PrintedAt(panel, 3, 3), c.color) << static_cast<int>(c.outer) << static_cast<int>(c.inner);
    EXPECT_EQ(PrintedAt(panel, 0, 0), c.color);
    adapter.reset();
    vcl::TObject::Free(panel);
  }
}

TEST_F(PanelWnd, TheCaptionIsDrawnUnlessTheTagSaysNotAndTheAdapterGoneThePanelPaintsItself) {
  vcl::TPanel* panel = NewPanel(vcl::bvRaised, vcl::bvNone);
  panel->SetCaption(L"MMMM");
  panel->SetColor(static_cast<vcl::TColor>(0x123456));
  auto adapter = CreateAdapter<TqvPanelWnd>(panel->Handle(), nullptr, manager.get(), TqvSkinParams{panel, L""});
  const RECT caption{20, 24, 100, 37};
  EXPECT_LT(CountColor(*Printed(panel->Handle()), caption, kPanel), 80 * 13);
  panel->SetTag(999);
  adapter->SkinData->BGChanged = true;
  EXPECT_EQ(CountColor(*Printed(panel->Handle()), caption, kPanel), 80 * 13);
  UninstallAdapter(adapter, true, false);
  EXPECT_EQ(SendCommandToWnd(panel->Handle(), scmIsSkinned, 0), 0);
  EXPECT_EQ(PrintedAt(panel, 5, 5), 0x123456u);
}

class StatusBarWnd : public PanelsTest {
 protected:
  void SetUp() override {
    PanelsTest::SetUp();
    bar = Put<vcl::TStatusBar>(form.get(), 0, 100, 280, 24);
    bar->SetAlign(vcl::alNone);
    bar->SetBounds(0, 100, 280, 24);
    for (int i = 0; i < 3; ++i) bar->Panels()->Add()->SetWidth(80);
    bar->HandleNeeded();
  }
  void Attach() {
    adapter = CreateAdapter<TqvStatusBarWnd>(bar->Handle(), nullptr, manager.get(), TqvSkinParams{bar, L""});
  }
  RECT PanelRect(int I) {
    RECT r{};
    SendMessageW(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  std::unique_ptr<FramePixels> Print() {
    adapter->SkinData->BGChanged = true;
    return Printed(bar->Handle());
  }

  vcl::TStatusBar* bar = nullptr;
  TqvAdapterPtr<TqvStatusBarWnd> adapter;
};

TEST_F(StatusBarWnd, PanelsButTheLastGetADividerAndTheGripItsImage) {
  AddFlatImage(*manager, L"DIVIDER", L"BORDERSMASK", 2, 8, {kDivider});
  manager->Skin().ConstData.GripImage = AddFlatImage(*manager, L"GLOBALINFO", L"GRIPIMAGE", 6, 6, {kGrip});
  bar->SetSizeGrip(true);
  Attach();
  auto pixels = Print();
  const int mid = 12;
  EXPECT_EQ(pixels->At(40, mid), kStatusBar);
  for (int i = 0; i < 2; ++i) {
    const RECT r = PanelRect(i);
    // The divider's two columns end one pixel inside the panel's right edge.
    EXPECT_EQ(pixels->At(r.right - 2, mid), kDivider) << i;
    EXPECT_EQ(pixels->At(r.right - 3, mid), kDivider) << i;
    EXPECT_EQ(pixels->At(r.right - 4, mid), kStatusBar) << i;
  }
  const RECT last = PanelRect(2);
  EXPECT_NE(pixels->At(last.right - 2, 3), kDivider);
  EXPECT_EQ(pixels->At(279, 23), kGrip);
  EXPECT_EQ(pixels->At(274, 18), kGrip);
  EXPECT_NE(pixels->At(273, 17), kGrip);

  bar->SetSizeGrip(false);
  pixels = Print();
  EXPECT_NE(pixels->At(279, 23), kGrip);
}

// A skin without the grip's picture: the system's grip in the bar's corner, as long as the bar
// has one.
TEST_F(StatusBarWnd, WithoutTheGripsPictureTheSystemsGripShows) {
  manager->Skin().ConstData.GripImage = kNoIndex;
  bar->SetSizeGrip(true);
  Attach();
  ExpectSystemGripInTheCorner(*Print(), 280, 24);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(CountColor(*Print(), RECT{100, 4, 140, 20}, shadow), 0) << "the grip's colour elsewhere";
  bar->SetSizeGrip(false);
  EXPECT_EQ(CountColor(*Print(), RECT{250, 0, 280, 24}, shadow), 0);
}

TEST_F(StatusBarWnd, ThePanelImageReplacesTheDividersAndTheSimplePanelHasNone) {
  AddFlatImage(*manager, L"DIVIDER", L"BORDERSMASK", 2, 8, {kDivider});
  Attach();
  bar->SetSimplePanel(true);
  ASSERT_NE(SendMessageW(bar->Handle(), SB_ISSIMPLE, 0, 0), 0);
  EXPECT_EQ(CountColor(*Print(), RECT{0, 0, 280, 24}, kDivider), 0);
  bar->SetSimplePanel(false);
  AddFlatImage(*manager, L"STATUSBAR", L"STATUSPANELMASK", 6, 6, {kStatusPanel});
  auto pixels = Print();
  EXPECT_EQ(pixels->At(PanelRect(0).right - 2, 12), kStatusPanel);
  EXPECT_EQ(pixels->At(40, 12), kStatusPanel);
}

TEST_F(StatusBarWnd, OwnerDrawnPanelsAreDrawnByTheirEvent) {
  struct Drawer {
    int calls = 0;
    void Draw(vcl::TStatusBar*, vcl::TStatusPanel*, const vcl::TRect& R) {
      ++calls;
      vcl::TCanvas* canvas = owner->Canvas();
      canvas->Brush()->SetColor(static_cast<vcl::TColor>(0x0000FF));
      canvas->FillRect(R);
    }
    vcl::TStatusBar* owner = nullptr;
  } drawer;
  drawer.owner = bar;
  bar->Panels()->Items(1)->SetStyle(vcl::psOwnerDraw);
  bar->OnDrawPanel = vcl::TDrawPanelEvent::Bind<&Drawer::Draw>(&drawer);
  Attach();
  auto pixels = Print();
  EXPECT_GE(drawer.calls, 1);
  const RECT r = PanelRect(1);
  EXPECT_EQ(pixels->At((r.left + r.right) / 2, 12), 0x0000FFu);
  EXPECT_EQ(pixels->At(40, 12), kStatusBar);
  bar->OnDrawPanel = {};
}

// A panel's text too long for it is cut to what fits with three dots after it: its last marks
// are the dots on the baseline, and nothing reaches past the panel's text area.
TEST_F(StatusBarWnd, APanelsTextIsCutToFitWithDots) {
  bar->Panels()->Items(0)->SetText(L"A panel text far too long for its panel");
  bar->Panels()->Items(1)->SetText(L"");
  Attach();
  auto pixels = Print();
  const RECT r = PanelRect(0);
  auto dark = [](COLORREF c) { return GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60; };
  RECT box{r.right, r.bottom, r.left, r.top};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < 280; ++x)
      if (dark(pixels->At(x, y))) {
        box.left = std::min(box.left, static_cast<LONG>(x));
        box.top = std::min(box.top, static_cast<LONG>(y));
        box.right = std::max(box.right, static_cast<LONG>(x + 1));
        box.bottom = std::max(box.bottom, static_cast<LONG>(y + 1));
      }
  ASSERT_LT(box.left, box.right);
  EXPECT_LE(box.right, r.right - 1 - 4);  // inside the text area
  EXPECT_GT(box.right, r.right - 16);     // and filling it
  // The last few columns hold only the dots, low in the text's height.
  const int height = box.bottom - box.top;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.right - 6; x < box.right; ++x) {
      if (dark(pixels->At(x, y))) {
        EXPECT_GE(y, box.top + height * 2 / 3) << x << "," << y;
      }
    }
}

// A status bar on a skinned form, its adapter given by the form's provider, under a skin
// whose status-bar section writes red text on a light face.
class StatusBarOnASkinnedForm : public ::testing::Test {
 protected:
  static constexpr COLORREF kFace = 0xE8F0F0, kText = 0x2020C8;
  struct FormFree {
    void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
  };

  void SetUp() override {
    manager = LoadedManager(skins, L"StatusText",
                            "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("FORM", 0xC0C0C0, 0xC0C0C0) +
                                "[STATUSBAR]\r\nSTATES=1\r\nCOLOR=" + Hex(kFace) + "\r\nFONTCOLOR=" + Hex(kText) +
                                "\r\n");
    form.reset(new vcl::TForm(vcl::Application, 0));
    vcl::Construct<TsSkinProvider>(form.get());
    bar = new vcl::TStatusBar(form.get());
    bar->SetParent(form.get());
  }
  void ShowPanels(std::initializer_list<const wchar_t*> Texts) {
    for (const wchar_t* text : Texts) {
      vcl::TStatusPanel* panel = bar->Panels()->Add();
      panel->SetText(text);
      panel->SetWidth(120);
    }
    form->SetBounds(20, 20, 420, 160);
    form->Show();
    wintest::PumpUntilIdle();
    ASSERT_NE(GetAdapter(bar->Handle()), nullptr);
  }
  RECT Panel(int I) const {
    RECT r{};
    SendMessageW(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  static bool Reddish(COLORREF c) { return GetRValue(c) > std::max(GetGValue(c), GetBValue(c)) + 0x30; }
  // The first and last rows of R holding text-coloured pixels (-1, -1 for none).
  static std::pair<int, int> InkRows(const MemoryPixels& Pixels, const RECT& R) {
    int first = -1, last = -1;
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.left; x < R.right; ++x)
        if (Reddish(Pixels.At(x, y))) {
          if (first < 0) first = y;
          last = y;
          break;
        }
    return {first, last};
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, FormFree> form;
  vcl::TStatusBar* bar = nullptr;
};

// The skin has no grip picture: the system's grip, lines and all, in the bar's very corner.
TEST_F(StatusBarOnASkinnedForm, WithoutTheSkinsGripPictureTheSystemsGripFillsTheCorner) {
  bar->SetSizeGrip(true);
  ShowPanels({L"first", L"second"});
  const RECT box = WindowBox(bar->Handle());
  ExpectSystemGripInTheCorner(*Printed(bar->Handle()), box.right, box.bottom);
}

// Every panel's text is written in the section's font colour, the second and third as the
// first (they are written one after another into the one cache image).
TEST_F(StatusBarOnASkinnedForm, EveryPanelsTextTakesTheSectionsFontColour) {
  ShowPanels({L"WWW first", L"WWW second", L"WWW third"});
  const auto pixels = Printed(bar->Handle());
  for (int i = 0; i < 3; ++i) {
    const int near_text = CountPixels(*pixels, Panel(i), Reddish);
    const int dark = CountPixels(*pixels, Panel(i), [](COLORREF c) {
      return GetRValue(c) < 0x50 && GetGValue(c) < 0x50 && GetBValue(c) < 0x50;
    });
    EXPECT_GE(near_text, 20) << "panel " << i;
    EXPECT_EQ(dark, 0) << "panel " << i;
  }
}

// The bar sizes itself for its font, but the panel's text area is inset within the panel: a
// font whose line is taller than that area still shows whole, descenders and all, as the
// same text written freely in the same font.
TEST_F(StatusBarOnASkinnedForm, ATextTallerThanThePanelsTextAreaKeepsItsDescenders) {
  bar->Font()->SetHeight(-16);
  ShowPanels({L"gyp Wqj"});
  const auto pixels = Printed(bar->Handle());
  const auto [top, bottom] = InkRows(*pixels, Panel(0));
  ASSERT_GE(top, 0) << "no text in the panel";

  MemoryPixels free(200, 60);
  RECT all{0, 0, 200, 60};
  HBRUSH face = CreateSolidBrush(kFace);
  FillRect(free.DC(), &all, face);
  DeleteObject(face);
  HGDIOBJ old = SelectObject(free.DC(), bar->Font()->Handle());
  SetBkMode(free.DC(), TRANSPARENT);
  SetTextColor(free.DC(), kText);
  TextOutW(free.DC(), 4, 10, L"gyp Wqj", 7);
  SelectObject(free.DC(), old);
  const auto [free_top, free_bottom] = InkRows(free, all);
  ASSERT_GE(free_top, 0);
  EXPECT_GE(bottom - top, free_bottom - free_top - 1) << "the text is cut: rows " << top << ".." << bottom
                                                      << " of a panel " << Panel(0).top << ".." << Panel(0).bottom;
}

class ToolBarWnd : public PanelsTest {
 protected:
  void SetUp() override {
    PanelsTest::SetUp();
    bar = Put<vcl::TToolBar>(form.get(), 0, 0, 280, 30);
    bar->SetAlign(vcl::alNone);
    bar->SetBounds(0, 0, 280, 30);
    for (int i = 0; i < 3; ++i) Put<vcl::TToolButton>(bar, 1000, 0, 23, 22, form.get());  // each after the last
    bar->Buttons(1)->SetStyle(vcl::tbsCheck);
    bar->HandleNeeded();
    adapter = CreateAdapter<TqvToolBarVCLWnd>(bar->Handle(), nullptr, manager.get(), TqvSkinParams{bar, L""});
  }
  RECT Item(int I) {
    RECT r{};
    SendMessageW(bar->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  std::unique_ptr<FramePixels> Print() { return Printed(bar->Handle()); }

  vcl::TToolBar* bar = nullptr;
  TqvAdapterPtr<TqvToolBarVCLWnd> adapter;
};

TEST_F(ToolBarWnd, TheBarAndItsButtonsArePaintedByState) {
  EXPECT_EQ(adapter->HotButton, -1);
  bar->Buttons(1)->SetDown(true);
  auto pixels = Print();
  EXPECT_EQ(pixels->At(270, 15), kToolBar);
  const RECT b0 = Item(0), b1 = Item(1);
  EXPECT_EQ(pixels->At(b0.left + 2, b0.top + 2), kToolButton);
  EXPECT_EQ(pixels->At(b1.left + 2, b1.top + 2), kToolButtonHot);  // down: the pressed state
  // The hot button follows the adapter's HotButton.
  adapter->HotButton = 0;
  bar->Buttons(1)->SetDown(false);
  pixels = Print();
  EXPECT_EQ(pixels->At(b0.left + 2, b0.top + 2), kToolButtonHot);
  EXPECT_EQ(pixels->At(b1.left + 2, b1.top + 2), kToolButton);
  // The mouse over the third button makes it the hot one; the hit test skips the bar's end.
  SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Item(2).left + 2, Item(2).top + 2));
  EXPECT_EQ(adapter->HotButton, 2);
  EXPECT_EQ(adapter->HitTest(POINT{270, 15}), -1);
  SendMessageW(bar->Handle(), vcl::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(adapter->HotButton, -1);
}

TEST_F(ToolBarWnd, SkinStatesAndTheDropDownArrowsShare) {
  vcl::TToolButton* button = bar->Buttons(0);
  using S = vcl::TCustomDrawState;
  EXPECT_EQ(TqvToolBarVCLWnd::ButtonSkinState(button, S{vcl::cdsDisabled}), 0);
  EXPECT_EQ(TqvToolBarVCLWnd::ButtonSkinState(button, S{vcl::cdsHot, vcl::cdsSelected}), 2);
  EXPECT_EQ(TqvToolBarVCLWnd::DropDownArrowWidth(button), 0);
  button->SetStyle(vcl::tbsDropDown);
  EXPECT_EQ(TqvToolBarVCLWnd::DropDownArrowWidth(button), GetSystemMetrics(SM_CXVSCROLL) - 2);
}

// A tool bar skinned by a manager of its own (not the default one): its buttons' glyphs go by
// that manager's settings, here a pressed glyph that does not move while the default
// manager's would.
TEST_F(ToolBarWnd, AButtonsGlyphGoesByTheBarsOwnManager) {
  ManagerPtr own = LoadedManager(skins, L"Own", PanelSkinText());
  ASSERT_FALSE(own->IsDefault());
  manager->ButtonsOptions()->SetShiftContentOnClick(true);
  own->ButtonsOptions()->SetShiftContentOnClick(false);
  auto* images = new vcl::TImageList(form.get());
  images->SetWidth(8);
  images->SetHeight(8);
  vcl::TBitmap glyph;
  glyph.SetPixelFormat(vcl::pf24bit);
  glyph.SetSize(8, 8);
  HBRUSH red = CreateSolidBrush(0x0000FF);
  const RECT all{0, 0, 8, 8};
  FillRect(glyph.Canvas()->Handle(), &all, red);
  DeleteObject(red);
  images->Add(&glyph, nullptr);
  auto* other = Put<vcl::TToolBar>(form.get(), 0, 40, 280, 30);
  other->SetAlign(vcl::alNone);
  other->SetBounds(0, 40, 280, 30);
  other->SetImages(images);
  auto* button = Put<vcl::TToolButton>(other, 1000, 0, 23, 22, form.get());
  button->SetImageIndex(0);
  button->SetStyle(vcl::tbsCheck);
  button->SetDown(true);
  other->HandleNeeded();
  auto ownAdapter = CreateAdapter<TqvToolBarVCLWnd>(other->Handle(), nullptr, own.get(), TqvSkinParams{other, L""});
  const vcl::TRect glyphRect = ToolButtonGlyphRect(other, button);
  RECT item{};
  SendMessageW(other->Handle(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  auto pixels = Printed(other->Handle());
  // Unmoved: the glyph's first pixel where the glyph starts.
  EXPECT_EQ(pixels->At(item.left + glyphRect.Left, item.top + glyphRect.Top), 0x0000FFu);
  ownAdapter.reset();
  vcl::TObject::Free(other);
}

TEST_F(ToolBarWnd, TheSkinsRemovalGivesTheBarItsOwnDrawingBack) {
  SendMessageW(bar->Handle(), kSkinCmdMessage, SkinCommandWParam(scmRemoveSkin), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_FALSE(static_cast<bool>(bar->OnAdvancedCustomDraw));
  EXPECT_FALSE(static_cast<bool>(bar->OnAdvancedCustomDrawButton));
  EXPECT_EQ(adapter->DroppedButton, nullptr);
}

}  // namespace
}  // namespace skin_layered::test
