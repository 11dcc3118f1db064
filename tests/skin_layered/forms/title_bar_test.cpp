// The title bar component on a skinned form: layout, painting, hit codes, presses, drop-down
// menus (closed by a timer with a deadline) and state fades.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <type_traits>
#include <utility>
#include <vector>

#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/rtl/SysUtils.h"
#include "forms_support.h"
#include "sample_skins.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/forms/TitleItemAnimation.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

constexpr int kLeft = 1300, kTop = 600;

// Section colours as RGB (the description writes $BBGGRR).
constexpr std::uint32_t kButtonRgb = 0x10C010, kButtonHotRgb = 0x10C0C0;
constexpr std::uint32_t kTabRgb = 0x2020A0, kTabDownRgb = 0xA020A0;
constexpr std::uint32_t kTitleRgb = 0x806040;

std::string TitleSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nBORDERWIDTH=4\r\nTITLEHEIGHT=30\r\nBISPACE=2\r\nBIRIGHT=3\r\nBILEFT=5\r\n"
         "BITOP=4\r\nBIVALIGN=0\r\n"
         "[FORM]\r\nSTATES=2\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0\r\nFONTCOLOR=$101010\r\n"
         "[FORMTITLE]\r\nSTATES=2\r\nCOLOR=$406080\r\nHOTCOLOR=$406080\r\nFONTCOLOR=$FFFFFF\r\nHOTFONTCOLOR=$FFFFFF\r\n"
         "[TB_BTN]\r\nSTATES=3\r\nCOLOR=$10C010\r\nHOTCOLOR=$C0C010\r\nFONTCOLOR=$000000\r\nHOTFONTCOLOR=$000000\r\n"
         "[TB_TAB]\r\nSTATES=3\r\nCOLOR=$A02020\r\nHOTCOLOR=$A020A0\r\nFONTCOLOR=$00FFFF\r\nHOTFONTCOLOR=$00FFFF\r\n"
         "[DIALOG]\r\nCOLOR=$C0C0C0\r\n";
}

std::uint32_t Rgb(std::uint32_t pixel) { return pixel & 0xFFFFFF; }

struct BarDeleter {
  void operator()(TsTitleBar* b) const { vcl::TObject::Free(b); }
};

class TitleBarTest : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    WriteSkin(L"Title", TitleSkinText());
    manager->AnimEffects()->Buttons()->SetEvents({});
    form->SetBounds(kLeft, kTop, 500, 300);
    form->SetCaption(L"Title");
  }
  void TearDown() override {
    if (form && form->HandleAllocated() && form->Visible()) form->Hide();
    bar.reset();
    FormSkinTest::TearDown();
  }
  void Skin(const wchar_t* Name = L"Title") {
    form->HandleNeeded();
    provider = NewProvider(form.get());
    bar.reset(vcl::Construct<TsTitleBar>(form.get()));
    manager->SetSkinName(Name);
    ASSERT_TRUE(provider->FormSkinned());
    ASSERT_EQ(provider->TitleBar(), bar.get());
    SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  }
  TqvTitleBarItem* Add(TqvBtnStyle style, TqvItemAlign align, const wchar_t* caption = L"") {
    TqvTitleBarItem* item = bar->Items()->Add();
    item->SetStyle(style);
    item->SetAlign(align);
    item->SetCaption(caption);
    return item;
  }
  vcl::TBitmap* Repaint() {
    provider->CaptionItems().InitTitleBarItems();
    provider->SkinData->BGChanged = true;
    provider->PaintAll();
    return provider->SkinData->CacheBmp();
  }
  std::uint32_t At(int x, int y) { return Rgb(PixelOf(provider->SkinData->CacheBmp(), x, y)); }
  // A point inside the item, clear of its caption.
  static vcl::TPoint Inside(const TqvTitleBarItem* item) { return {item->ItemRect.Left + 2, item->ItemRect.Bottom - 2}; }
  std::uint32_t AtItem(const TqvTitleBarItem* item) { return At(Inside(item).X, Inside(item).Y); }

  std::unique_ptr<TsTitleBar, BarDeleter> bar;
};

// The component and its items

TEST_F(TitleBarTest, TheComponentLivesOnFormsOnly) {
  auto owner = std::make_unique<vcl::TComponent>(nullptr);
  EXPECT_EQ(AbortMessage([&] { vcl::TObject::Free(vcl::Construct<TsTitleBar>(owner.get())); }), kTitleBarFormsOnlyMessage);
}

TEST_F(TitleBarTest, AutoSizingFollowsTheContent) {
  bar.reset(vcl::Construct<TsTitleBar>(form.get()));
  TqvTitleBarItem* empty = Add(bsButton, tbaLeft);
  empty->AdjustSize();
  EXPECT_EQ(vcl::TPoint(empty->Width(), empty->Height()), vcl::TPoint(16, 16));
  // A caption: its text between the margins; a tab is 4 wider and a menu line item 1 higher.
  TqvTitleBarItem* text = Add(bsButton, tbaLeft, L"Orders");
  EXPECT_EQ(text->Width(), text->ContentWidth + 2 * bar->ItemsMargin());
  EXPECT_GT(text->ContentWidth, 20);
  TqvTitleBarItem* tab = Add(bsTab, tbaLeft, L"Orders");
  EXPECT_EQ(tab->ContentWidth, text->ContentWidth + 4);
  EXPECT_EQ(tab->ContentHeight, text->ContentHeight + 1);
  // A drop-down button adds its arrow; a menu item its wider margins too.
  vcl::TPopupMenu menu(form.get());
  TqvTitleBarItem* drop = Add(bsButton, tbaLeft, L"Orders");
  drop->SetDropdownMenu(&menu);
  EXPECT_GT(drop->Width(), text->Width() + 1);
  TqvTitleBarItem* menuItem = Add(bsMenu, tbaLeft, L"Orders");
  menuItem->SetDropdownMenu(&menu);
  EXPECT_EQ(menuItem->Width(), menuItem->ContentWidth + 2 * (bar->ItemsMargin() + 4));
  EXPECT_EQ(menuItem->ContentWidth, drop->ContentWidth + 3);
  // A spacer keeps its size; an item without auto-size keeps what it was given.
  TqvTitleBarItem* spacer = Add(bsSpacing, tbaLeft);
  spacer->SetWidth(40);
  spacer->SetCaption(L"ignored");
  EXPECT_EQ(spacer->Width(), 40);
  TqvTitleBarItem* fixed = Add(bsButton, tbaLeft);
  fixed->SetAutoSize(false);
  fixed->SetWidth(50);
  fixed->SetCaption(L"wide text, but the width is fixed");
  EXPECT_EQ(fixed->Width(), 50);
}

TEST_F(TitleBarTest, ItemsAreLaidOutPerAlignmentInTheCaption) {
  Skin();
  TqvTitleBarItem* left1 = Add(bsButton, tbaLeft);
  TqvTitleBarItem* right1 = Add(bsButton, tbaRight);
  TqvTitleBarItem* left2 = Add(bsButton, tbaLeft, L"Shop");
  TqvTitleBarItem* centre = Add(bsButton, tbaCenter);
  TqvTitleBarItem* inSpace = Add(bsButton, tbaCenterInSpace);
  TqvTitleBarItem* right2 = Add(bsButton, tbaRight);
  TqvTitleBarItem* hidden = Add(bsButton, tbaLeft);
  hidden->SetVisible(false);
  Repaint();
  const vcl::TRect area = provider->CaptionItems().TitleBarArea;
  ASSERT_GT(area.Width(), 300);
  // Left items from the left limit in collection order, right ones ending at the right limit.
  EXPECT_EQ(left1->ItemRect.Left, area.Left);
  EXPECT_EQ(left2->ItemRect.Left, left1->ItemRect.Right);
  EXPECT_EQ(right1->ItemRect.Left, area.Right - right1->Width() - right2->Width());
  EXPECT_EQ(right2->ItemRect.Right, area.Right);
  // Centred in the caption from the left limit, and centred in the space the sides leave.
  const int width = provider->WindowImage().ImageWidth();
  EXPECT_EQ(centre->ItemRect.Left, area.Left + (width - area.Left - centre->Width()) / 2);
  const int space = area.Right - area.Left - (right1->Width() + right2->Width()) - (left1->Width() + left2->Width());
  EXPECT_EQ(inSpace->ItemRect.Left, area.Left + left1->Width() + left2->Width() + (space - inSpace->Width()) / 2);
  EXPECT_EQ(left1->ItemRect.Top, provider->CaptionButtons().TitleCentre - left1->Height() / 2);  // on the centre line
  // The caption text keeps to the free area between the sides.
  EXPECT_EQ(bar->FreeArea().Left, left2->ItemRect.Right);
  EXPECT_EQ(bar->FreeArea().Right, right1->ItemRect.Left);

  // Tabs sit on the caption's bottom, menu items at its top.
  TqvTitleBarItem* tab = Add(bsTab, tbaLeft, L"Tab");
  vcl::TPopupMenu menu(form.get());
  TqvTitleBarItem* menuItem = Add(bsMenu, tbaRight, L"Menu");
  menuItem->SetDropdownMenu(&menu);
  Repaint();
  EXPECT_EQ(tab->ItemRect.Bottom, provider->CaptionButtons().TitleBottom);
  EXPECT_EQ(menuItem->ItemRect.Top, provider->CaptionItems().TitleBarArea.Top);
  // Without a section of its own the menu item shows the drop-down button picture: its frame
  // in the normal state's grey.
  const vcl::TRect& r = menuItem->ItemRect;
  EXPECT_EQ(At(r.Left, (r.Top + r.Bottom) / 2), 0x8C8C8Cu);
}

TEST_F(TitleBarTest, ItemsArePaintedFromTheirSectionsInTheirStates) {
  Skin();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft);
  TqvTitleBarItem* tab = Add(bsTab, tbaLeft, L"Tab");
  TqvTitleBarItem* downTab = Add(bsTab, tbaLeft, L"Down");
  downTab->SetDown(true);
  TqvTitleBarItem* spacer = Add(bsSpacing, tbaLeft);
  TqvTitleBarItem* disabled = Add(bsButton, tbaRight);
  disabled->SetEnabled(false);
  Repaint();
  EXPECT_EQ(AtItem(button), kButtonRgb);
  EXPECT_EQ(AtItem(tab), kTabRgb);
  EXPECT_EQ(AtItem(downTab), kTabDownRgb);
  EXPECT_EQ(AtItem(spacer), kTitleRgb);
  // A disabled item is mixed half and half with the caption.
  EXPECT_NE(AtItem(disabled), kButtonRgb);
  EXPECT_NE(AtItem(disabled), kTitleRgb);
  // A hot item in its hot colour.
  button->SetHotState(1);
  Repaint();
  EXPECT_EQ(AtItem(button), kButtonHotRgb);
}

// A skin without the items' sections (or with the buttons' only): they show the system's look
// of flat buttons over the caption, and the tab that is down stands out from its group's.
TEST_F(TitleBarTest, ItemsWithoutSectionsShowTheSystemsLookAndTheDownTabIsSunken) {
  std::string plain = TitleSkinText();
  plain.erase(plain.find("[TB_BTN]"), plain.find("[DIALOG]") - plain.find("[TB_BTN]"));
  std::string buttonsOnly = TitleSkinText();
  buttonsOnly.erase(buttonsOnly.find("[TB_TAB]"), buttonsOnly.find("[DIALOG]") - buttonsOnly.find("[TB_TAB]"));
  WriteSkin(L"Plain", plain);
  WriteSkin(L"ButtonsOnly", buttonsOnly);
  const std::uint32_t shadow = SwapBytes02(GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF);
  const std::uint32_t light = SwapBytes02(GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF);
  Skin(L"Plain");
  TqvTitleBarItem* tab = Add(bsTab, tbaLeft, L"Compose");
  tab->SetGroupIndex(1);
  TqvTitleBarItem* other = Add(bsTab, tbaLeft, L"Preview");
  other->SetGroupIndex(1);
  TqvTitleBarItem* button = Add(bsButton, tbaRight, L"Copy");
  tab->SetDown(true);
  Repaint();
  // The left edge, half way down: the down tab's is the system's shadow, the other's the
  // caption under it; inside, the caption shows through.
  auto edge = [this](const TqvTitleBarItem* item) {
    return At(item->ItemRect.Left, (item->ItemRect.Top + item->ItemRect.Bottom) / 2 + 1);
  };
  EXPECT_EQ(edge(tab), shadow);
  EXPECT_EQ(edge(other), kTitleRgb);
  EXPECT_EQ(At(tab->ItemRect.Left + 3, tab->ItemRect.Bottom - 3), kTitleRgb);
  // The other one down in its turn, the first up.
  tab->SetDown(false);
  other->SetDown(true);
  Repaint();
  EXPECT_EQ(edge(tab), kTitleRgb);
  EXPECT_EQ(edge(other), shadow);
  // A button at rest shows no edge; hot a raised one.
  EXPECT_EQ(edge(button), kTitleRgb);
  button->SetHotState(1);
  Repaint();
  EXPECT_EQ(edge(button), light);
  button->SetHotState(0);

  // With the buttons' section only: the button from it, the tabs as the system draws them.
  manager->SetSkinName(L"ButtonsOnly");
  Repaint();
  EXPECT_EQ(AtItem(button), kButtonRgb);
  EXPECT_EQ(edge(other), shadow);
  EXPECT_EQ(edge(tab), kTitleRgb);
}

// The mouse on an item paints it hot in the caption, and the mouse gone paints it at rest
// again (under the fade of its hot look, which goes in its own window).
TEST_F(TitleBarTest, TheCaptionShowsAnItemHotWhileTheMouseIsOnItOnly) {
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft);
  Repaint();
  ASSERT_EQ(AtItem(button), kButtonRgb);
  provider->FrameMouse().SetHotElement(2000, true);
  EXPECT_EQ(AtItem(button), kButtonHotRgb);
  provider->FrameMouse().SetHotElement(0, true);
  EXPECT_EQ(AtItem(button), kButtonRgb);
  provider->FrameMouse().SetHotElement(2000, true);
  provider->FrameMouse().SetHotElement(HTCLOSE, true);
  EXPECT_EQ(AtItem(button), kButtonRgb);
  provider->FrameMouse().SetHotElement(0, true);
}

TEST_F(TitleBarTest, CaptionsTakeTheirSectionsFontColourButButtonsAtRestTheTitles) {
  Skin();
  TqvTitleBarItem* tab = Add(bsTab, tbaLeft, L"WWWW");
  TqvTitleBarItem* button = Add(bsButton, tbaLeft, L"WWWW");
  Repaint();
  auto count = [this](const TqvTitleBarItem* item, std::uint32_t rgb) {
    int n = 0;
    for (int y = item->ItemRect.Top; y < item->ItemRect.Bottom; ++y)
      for (int x = item->ItemRect.Left; x < item->ItemRect.Right; ++x) n += At(x, y) == rgb;
    return n;
  };
  constexpr std::uint32_t kTabText = 0xFFFF00, kTitleText = 0xFFFFFF, kButtonText = 0x000000;
  EXPECT_TRUE(count(tab, kTabText) > 0 && count(tab, kTitleText) == 0);
  EXPECT_TRUE(count(button, kTitleText) > 0 && count(button, kButtonText) == 0);
  // Hot, the button's text is its section's.
  button->SetHotState(1);
  Repaint();
  EXPECT_GT(count(button, kButtonText), 0);
}

// Hit codes, presses and groups

TEST_F(TitleBarTest, HitCodesAreTheCollectionIndexPlus2000) {
  Skin();
  TqvTitleBarItem* hidden = Add(bsButton, tbaLeft);
  hidden->SetVisible(false);
  TqvTitleBarItem* info = Add(bsInfo, tbaLeft, L"Info");
  TqvTitleBarItem* button = Add(bsButton, tbaLeft);
  TqvTitleBarItem* downTab = Add(bsTab, tbaLeft, L"Down");
  downTab->SetDown(true);
  Repaint();
  // The hidden item before it still counts.
  EXPECT_EQ(provider->CaptionItems().TitleBarItemAt(Inside(button)), 2002);
  EXPECT_EQ(provider->CaptionItems().TitleItemByCode(2002), button);
  EXPECT_EQ(provider->CaptionItems().TitleItemByCode(2000), nullptr);
  EXPECT_EQ(provider->CaptionItems().TitleItemByCode(2009), nullptr);
  // Information items and a tab already down are no elements.
  EXPECT_EQ(provider->CaptionItems().TitleBarItemAt(Inside(info)), 0);
  EXPECT_EQ(provider->CaptionItems().TitleBarItemAt(Inside(downTab)), 0);
  EXPECT_EQ(provider->CaptionItems().TitleBarItemAt(vcl::TPoint(1, 1)), 0);
}

struct Clicks {
  std::vector<vcl::TObject*> clicked, downs, ups, enters, leaves;
  void Click(vcl::TObject* s) { clicked.push_back(s); }
  void Down(vcl::TObject* s, vcl::TMouseButton, vcl::TShiftState, int, int) { downs.push_back(s); }
  void Up(vcl::TObject* s, vcl::TMouseButton, vcl::TShiftState, int, int) { ups.push_back(s); }
  void Enter(vcl::TObject* s) { enters.push_back(s); }
  void Leave(vcl::TObject* s) { leaves.push_back(s); }
  void Bind(TqvTitleBarItem* item) {
    item->OnClick = vcl::TNotifyEvent::Bind<&Clicks::Click>(this);
    item->OnMouseDown = vcl::TMouseEvent::Bind<&Clicks::Down>(this);
    item->OnMouseUp = vcl::TMouseEvent::Bind<&Clicks::Up>(this);
    item->OnMouseEnter = vcl::TNotifyEvent::Bind<&Clicks::Enter>(this);
    item->OnMouseLeave = vcl::TNotifyEvent::Bind<&Clicks::Leave>(this);
  }
};

TEST_F(TitleBarTest, AButtonClicksOnReleaseOverIt) {
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft);
  Clicks clicks;
  clicks.Bind(button);
  Repaint();
  ASSERT_EQ(provider->CaptionItems().TitleBarItemAt(Inside(button)), 2000);
  const vcl::TRect window = WindowBox(Wnd());
  const vcl::TPoint over(window.Left + Inside(button).X, window.Top + Inside(button).Y);
  provider->CaptionItems().SetTitleBarItemState(0, 1);
  provider->CaptionItems().SetTitleBarItemState(0, 2);  // hot already: no second enter
  EXPECT_EQ(clicks.enters.size(), 1u);
  provider->CaptionItems().TitleBarItemMouseDown(0, over);
  EXPECT_EQ(clicks.downs.size(), 1u);
  EXPECT_TRUE(clicks.clicked.empty());
  EXPECT_TRUE(button->Pressed);
  provider->CaptionItems().TitleBarItemMouseUp(0, over, true);
  EXPECT_EQ(clicks.clicked, std::vector<vcl::TObject*>{button});
  EXPECT_FALSE(button->Pressed);
  // Released away from the item: no click.
  provider->CaptionItems().TitleBarItemMouseDown(0, over);
  provider->CaptionItems().TitleBarItemMouseUp(0, vcl::TPoint(window.Left + 2, window.Bottom - 2), false);
  EXPECT_EQ(clicks.clicked.size(), 1u);
  EXPECT_EQ(clicks.ups.size(), 2u);
  EXPECT_FALSE(button->Pressed);
  provider->CaptionItems().SetTitleBarItemState(0, 0);
  EXPECT_EQ(clicks.leaves.size(), 1u);
  // A disabled item ignores presses.
  button->SetEnabled(false);
  provider->CaptionItems().TitleBarItemMouseDown(0, over);
  EXPECT_FALSE(button->Pressed);
  EXPECT_EQ(clicks.downs.size(), 2u);
}

// An item's events may free its title bar, and so the item: a button's click at its release,
// a tab's click at its press, the leave event a fade's end brings about. Nothing of the item (or
// of its fade) is touched after them: the block the item lay in, taken again at once and
// marked, stays as marked.
TEST_F(TitleBarTest, AnItemWhoseEventFreesItsBarIsTouchedNoMore) {
  using Self = std::remove_pointer_t<decltype(this)>;
  constexpr std::size_t kSize = sizeof(TqvTitleBarItem);
  struct Freed {
    Self* test;
    unsigned char* block = nullptr;
    int events = 0;
    void FreeBar() {
      ++events;
      test->bar.reset();
      block = static_cast<unsigned char*>(::operator new(kSize));
      std::fill(block, block + kSize, 0xAB);
    }
    bool Untouched() const { return block && std::all_of(block, block + kSize, [](unsigned char b) { return b == 0xAB; }); }
    void Reset() {
      ::operator delete(std::exchange(block, nullptr));
      events = 0;
    }
    ~Freed() { ::operator delete(block); }
  } freed{this};
  auto freeing = vcl::TNotifyEvent::FromFunction([](void* f, vcl::TObject*) { static_cast<Freed*>(f)->FreeBar(); }, &freed);
  Skin();
  // The real pointer keeps off the form: resting on an item's place (an earlier test may leave
  // it there), it would make the item hot and leave it whenever messages are pumped, and the
  // leave would free the bar while the test still holds its item.
  const wintest::PointerLock pointer;
  const vcl::TRect window = WindowBox(Wnd());
  ASSERT_TRUE(wintest::MovePointer(window.Left - 200, window.Top + 100));
  form->Show();
  auto screen = [&](const TqvTitleBarItem* item) {
    const vcl::TRect window = WindowBox(Wnd());
    return MAKELPARAM(window.Left + Inside(item).X, window.Top + Inside(item).Y);
  };

  for (const TqvBtnStyle style : {bsButton, bsTab}) {
    SCOPED_TRACE(style == bsButton ? "a button's release" : "a tab's press");
    if (!bar) {
      bar.reset(vcl::Construct<TsTitleBar>(form.get()));
      ASSERT_EQ(provider->TitleBar(), bar.get());
    }
    TqvTitleBarItem* item = Add(style, tbaLeft, L"Go");
    item->OnClick = freeing;
    Repaint();
    const LPARAM at = screen(item);
    ASSERT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, at), 2000);
    SendMessageW(Wnd(), WM_NCLBUTTONDOWN, 2000, at);
    SendMessageW(Wnd(), WM_NCLBUTTONUP, 2000, at);
    EXPECT_FALSE(TitleButtonPressed());
    EXPECT_EQ(freed.events, 1);
    EXPECT_EQ(provider->TitleBar(), nullptr);
    EXPECT_TRUE(freed.Untouched());
    freed.Reset();
  }

  // The fade's end: the mouse is away from the item, the form hears of it, and the item's leave
  // event frees the bar (with the item, its fade).
  bar.reset(vcl::Construct<TsTitleBar>(form.get()));
  TqvTitleBarItem* item = Add(bsButton, tbaLeft, L"Fade");
  item->OnMouseLeave = freeing;
  Repaint();
  // The mouse left the frame after the tab's press, then came onto the new item.
  SendMessageW(Wnd(), WM_MOUSELEAVE, 0, 0);
  provider->FrameMouse().SetHotElement(2000, true);
  ASSERT_EQ(freed.events, 0);
  item->StartAnimation(5, Wnd());
  TqvItemAnimation* fade = item->Animation();
  ASSERT_NE(fade, nullptr);
  for (int i = 0; i < 10 && bar && fade->Enabled(); ++i) fade->Tick();
  EXPECT_EQ(freed.events, 1);
  EXPECT_EQ(provider->TitleBar(), nullptr);
  EXPECT_LE(provider->FrameMouse().HotElement, 0);
}

TEST_F(TitleBarTest, TheFramesMessagesReachAnItemByItsHitCode) {
  Skin();
  form->Show();
  Add(bsButton, tbaLeft)->SetVisible(false);
  TqvTitleBarItem* button = Add(bsButton, tbaLeft);
  TqvTitleBarItem* other = Add(bsButton, tbaLeft);
  Clicks clicks;
  clicks.Bind(button);
  clicks.Bind(other);
  Repaint();
  const vcl::TRect window = WindowBox(Wnd());
  auto screen = [&](const TqvTitleBarItem* item) {
    return MAKELPARAM(window.Left + Inside(item).X, window.Top + Inside(item).Y);
  };
  // The hidden item before it still counts.
  ASSERT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, screen(button)), 2001);
  SendMessageW(Wnd(), WM_NCLBUTTONDOWN, 2001, screen(button));
  EXPECT_EQ(clicks.enters, std::vector<vcl::TObject*>{button});
  EXPECT_EQ(clicks.downs, std::vector<vcl::TObject*>{button});
  EXPECT_TRUE(button->Pressed);
  SendMessageW(Wnd(), WM_NCLBUTTONUP, 2001, screen(button));
  EXPECT_EQ(clicks.clicked, std::vector<vcl::TObject*>{button});
  EXPECT_FALSE(button->Pressed);
  // Released over another item: the pressed one has its release, and no click.
  SendMessageW(Wnd(), WM_NCLBUTTONDOWN, 2001, screen(button));
  SendMessageW(Wnd(), WM_NCLBUTTONUP, 2001, screen(other));
  EXPECT_EQ(clicks.ups, (std::vector<vcl::TObject*>{button, button}));
  EXPECT_EQ(clicks.clicked.size(), 1u);
  EXPECT_FALSE(button->Pressed);
}

TEST_F(TitleBarTest, AnItemsHintShowsOnEnteringAndGoesOnLeaving) {
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft, L"Copy");
  button->SetHint(L"Copies the page");
  Repaint();
  const int pause = vcl::Application->HintPause();
  auto visibleHints = [] { return wintest::ThreadShowsWindow(L"Copies the page") ? 1 : 0; };
  // Without ShowHint no hint comes.
  vcl::Application->SetHintPause(0);
  provider->CaptionItems().SetTitleBarItemState(0, 1);
  EXPECT_EQ(visibleHints(), 0);
  provider->CaptionItems().SetTitleBarItemState(0, 0);
  // A pause below 1 shows it at once; leaving the item takes it away.
  button->SetShowHint(true);
  provider->CaptionItems().SetTitleBarItemState(0, 1);
  EXPECT_EQ(visibleHints(), 1);
  provider->CaptionItems().SetTitleBarItemState(0, 0);
  EXPECT_EQ(visibleHints(), 0);
  // With a pause it waits for the timer: nothing yet.
  vcl::Application->SetHintPause(60000);
  provider->CaptionItems().SetTitleBarItemState(0, 1);
  EXPECT_EQ(visibleHints(), 0);
  provider->CaptionItems().SetTitleBarItemState(0, 0);
  vcl::Application->SetHintPause(pause);
}

// The mouse goes straight off the window from an item or a title button, with no move over the
// caption between: the system's leave of the frame takes the hot look and the item's hint away,
// and the frame asks the system for that leave while an element is hot.
TEST_F(TitleBarTest, AnItemOrATitleButtonLeftStraightOffTheWindowIsAtRestAgain) {
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft, L"Copy");
  button->SetHint(L"Copies the page");
  button->SetShowHint(true);
  Clicks clicks;
  clicks.Bind(button);
  Repaint();
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  const vcl::TScopeExit restorePause([pause] { vcl::Application->SetHintPause(pause); });
  auto hintShown = [] { return wintest::ThreadShowsWindow(L"Copies the page"); };
  const vcl::TRect window = WindowBox(Wnd());
  const POINT overItem{window.Left + Inside(button).X, window.Top + Inside(button).Y};
  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;
  const POINT overClose{window.Left + (close.Left + close.Right) / 2, window.Top + (close.Top + close.Bottom) / 2};
  // The messages of a move onto a point of the frame, as the system sends them.
  auto moveOnto = [this](POINT p) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    const LRESULT code = SendMessageW(Wnd(), WM_NCHITTEST, 0, at);
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(code), at);
    return code;
  };

  ASSERT_EQ(moveOnto(overItem), 2000);
  ASSERT_EQ(button->HotState(), 1);
  ASSERT_EQ(AtItem(button), kButtonHotRgb);
  ASSERT_TRUE(hintShown());
  SendMessageW(Wnd(), WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(button->HotState(), 0);
  EXPECT_EQ(AtItem(button), kButtonRgb);
  EXPECT_FALSE(hintShown());
  EXPECT_EQ(clicks.leaves, std::vector<vcl::TObject*>{button});

  ASSERT_EQ(moveOnto(overClose), HTCLOSE);
  ASSERT_EQ(provider->CaptionButtons().BtnClose.State, 1);
  SendMessageW(Wnd(), WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.State, 0);

  // The real pointer: on the item, then straight off the window; only the system's leave can
  // tell the form.
  const wintest::PointerLock pointer;
  ASSERT_TRUE(wintest::RaiseUntilShownAt(Wnd(), Wnd(), overItem));
  ASSERT_TRUE(wintest::MovePointer(overItem.x, overItem.y));
  moveOnto(overItem);
  ASSERT_TRUE(wintest::PumpUntil([&] { return button->HotState() == 1 && hintShown(); }));
  ASSERT_TRUE(wintest::MovePointer(window.Left - 200, window.Top + 100));
  EXPECT_TRUE(wintest::PumpUntil([&] { return button->HotState() == 0 && !hintShown(); }))
      << "the item stays hot after the pointer left the window";
  EXPECT_EQ(AtItem(button), kButtonRgb);
  EXPECT_LE(provider->FrameMouse().HotElement, 0);
}

// A move onto an item or a title button handled after the real pointer left the window (a busy
// program handles its input late): nothing will move over the window again to tell the frame,
// so the element comes to rest by itself, its hint gone. With the pointer still on the window
// the element stays hot.
TEST_F(TitleBarTest, AMoveHandledAfterThePointerLeftTheWindowLeavesNothingHot) {
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft, L"Copy");
  button->SetHint(L"Copies the page");
  button->SetShowHint(true);
  Repaint();
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  const vcl::TScopeExit restorePause([pause] { vcl::Application->SetHintPause(pause); });
  auto hintShown = [] { return wintest::ThreadShowsWindow(L"Copies the page"); };
  const vcl::TRect window = WindowBox(Wnd());
  const POINT overItem{window.Left + Inside(button).X, window.Top + Inside(button).Y};
  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;
  const POINT overClose{window.Left + (close.Left + close.Right) / 2, window.Top + (close.Top + close.Bottom) / 2};
  auto moveOnto = [this](POINT p) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(SendMessageW(Wnd(), WM_NCHITTEST, 0, at)), at);
  };

  const wintest::PointerLock pointer;
  ASSERT_TRUE(wintest::MovePointer(window.Left - 200, window.Top + 100));
  moveOnto(overItem);
  ASSERT_EQ(button->HotState(), 1);
  EXPECT_TRUE(wintest::PumpUntil([&] { return button->HotState() == 0 && !hintShown(); }))
      << "the item stays hot with the pointer gone";
  EXPECT_EQ(AtItem(button), kButtonRgb);
  moveOnto(overClose);
  ASSERT_EQ(provider->CaptionButtons().BtnClose.State, 1);
  EXPECT_TRUE(wintest::PumpUntil([&] { return provider->CaptionButtons().BtnClose.State == 0; }))
      << "the close button stays hot with the pointer gone";
  EXPECT_LE(provider->FrameMouse().HotElement, 0);

  // The pointer on the item: it stays hot.
  ASSERT_TRUE(wintest::RaiseUntilShownAt(Wnd(), Wnd(), overItem));
  ASSERT_TRUE(wintest::MovePointer(overItem.x, overItem.y));
  moveOnto(overItem);
  ASSERT_TRUE(wintest::PumpUntilIdle());
  EXPECT_EQ(button->HotState(), 1);
  EXPECT_EQ(provider->FrameMouse().HotElement, 2000);
  EXPECT_TRUE(hintShown());
}

// Shown in the hint manager's window (which the manager keeps), an item's hint goes as well:
// when the mouse leaves the item or goes to another title element, when the item is pressed,
// when the skin changes and when it goes.
TEST_F(TitleBarTest, AnItemsHintInTheHintManagersWindowGoesWithTheMouseThePressAndTheSkin) {
  auto* hints = new TsHintManager(nullptr);
  hints->SetAnimated(false);
  ASSERT_EQ(HintManager(), hints);
  WriteSkin(L"Title2", TitleSkinText());
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft, L"Copy");
  button->SetHint(L"Copies the page");
  button->SetShowHint(true);
  Repaint();
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  auto show = [&] {
    provider->FrameMouse().SetHotElement(2000, true);
    return hints->HintVisible();
  };
  ASSERT_TRUE(show());
  provider->CaptionItems().SetTitleBarItemState(0, 0);  // the mouse leaves the item
  EXPECT_FALSE(hints->HintVisible());
  provider->FrameMouse().SetHotElement(0, true);
  ASSERT_TRUE(show());
  provider->FrameMouse().SetHotElement(HTCLOSE, true);  // the mouse goes on to the close button
  EXPECT_FALSE(hints->HintVisible());
  ASSERT_TRUE(show());
  provider->CaptionItems().TitleBarItemMouseDown(0, vcl::TPoint(WindowBox(Wnd()).Left + Inside(button).X,
                                                 WindowBox(Wnd()).Top + Inside(button).Y));
  EXPECT_FALSE(hints->HintVisible());
  provider->CaptionItems().TitleBarItemMouseUp(0, vcl::TPoint(), false);
  provider->FrameMouse().SetHotElement(0, true);
  ASSERT_TRUE(show());
  manager->SetSkinName(L"Title2");
  EXPECT_FALSE(hints->HintVisible());
  provider->FrameMouse().SetHotElement(0, true);
  ASSERT_TRUE(show());
  manager->SetActive(false);
  EXPECT_FALSE(hints->HintVisible());
  vcl::Application->SetHintPause(pause);
  vcl::TObject::Free(hints);
}

// The mouse over an item of a form in the sample skin: its hint comes in the skin's hint look,
// whose border picture leaves the inside to the section: the face and the text are shown,
// opaque, within the window's shape.
TEST_F(TitleBarTest, AnItemsHintInTheSampleSkinShowsItsTextOnTheHintsFace) {
  // The window's shape as a display that shows alpha has it (on one that does not, the hint
  // window takes no room at all).
  const vcl::TScopeExit alpha([before = SetPerPixelAlphaShown(true)] { SetPerPixelAlphaShown(before); });
  auto* hints = new TsHintManager(nullptr);
  hints->SetAnimated(false);
  manager->SetSkinDirectory(SampleSkins());
  form->HandleNeeded();
  provider = NewProvider(form.get());
  bar.reset(vcl::Construct<TsTitleBar>(form.get()));
  manager->SetSkinName(L"Lagoon");
  ASSERT_TRUE(provider->FormSkinned());
  ASSERT_TRUE(hints->SkinUsed());
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaRight, L"Sections");
  button->SetHint(L"Sections of the page");
  button->SetShowHint(true);
  Repaint();
  const int pause = vcl::Application->HintPause();
  vcl::Application->SetHintPause(0);
  const vcl::TRect box = WindowBox(Wnd());
  const vcl::TPoint over(box.Left + Inside(button).X, box.Top + Inside(button).Y);
  const LPARAM at = MAKELPARAM(over.X, over.Y);
  SendMessageW(Wnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(SendMessageW(Wnd(), WM_NCHITTEST, 0, at)), at);
  vcl::Application->SetHintPause(pause);
  ASSERT_TRUE(hints->HintVisible());
  ASSERT_NE(hints->PngHintWindow(), nullptr);
  EXPECT_EQ(hints->PngHintWindow()->HintText(), L"Sections of the page");
  vcl::TBitmap* image = hints->LastImage();
  ASSERT_NE(image, nullptr);
  const int w = image->Width(), h = image->Height();
  // The inside below the text: the section's light face, opaque.
  const std::uint32_t face = PixelOf(image, w / 2, h - 6);
  EXPECT_EQ(face >> 24, 255u);
  EXPECT_GT(face & 0xFF, 0xE0u);
  // The text in the section's dark font colour, opaque.
  int letters = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = PixelOf(image, x, y);
      letters += (p >> 24) == 255 && (p & 0xFF) < 0x80 && ((p >> 8) & 0xFF) < 0x80 ? 1 : 0;
    }
  EXPECT_GT(letters, 20);
  // The window's shape holds the inside and leaves out the picture's clear corner.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hints->PngHintWindow()->Handle(), rgn), ERROR);
  EXPECT_TRUE(PtInRegion(rgn, w / 2, h / 2));
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  DeleteObject(rgn);
  vcl::TObject::Free(hints);
}

TEST_F(TitleBarTest, PressingATabReleasesThePressedTabOfItsGroupOnly) {
  Skin();
  TqvTitleBarItem* a1 = Add(bsTab, tbaLeft, L"A1");
  TqvTitleBarItem* a2 = Add(bsTab, tbaLeft, L"A2");
  TqvTitleBarItem* b1 = Add(bsTab, tbaRight, L"B1");
  TqvTitleBarItem* b2 = Add(bsTab, tbaRight, L"B2");
  for (TqvTitleBarItem* t : {a1, a2}) t->SetGroupIndex(1);
  for (TqvTitleBarItem* t : {b1, b2}) t->SetGroupIndex(2);
  a1->SetDown(true);
  b1->SetDown(true);
  Clicks clicks;
  clicks.Bind(a2);
  Repaint();
  ASSERT_EQ(provider->CaptionItems().TitleBarItemAt(Inside(a2)), 2001);
  // A tab clicks on its press.
  provider->CaptionItems().TitleBarItemMouseDown(1, vcl::TPoint(0, 0));
  EXPECT_EQ(clicks.clicked.size(), 1u);
  EXPECT_EQ((std::array{a1->Down(), a2->Down(), b1->Down(), b2->Down()}), (std::array{false, true, true, false}));
  EXPECT_EQ(a2->CurrentState(), 2);
  EXPECT_FALSE(bar->Updating);
  // Pressed now, it is no element any more.
  Repaint();
  EXPECT_EQ(provider->CaptionItems().TitleBarItemAt(Inside(a2)), 0);
  EXPECT_EQ(AtItem(a2), kTabDownRgb);
  EXPECT_EQ(AtItem(a1), kTabRgb);
}

// Drop-down items

TEST_F(TitleBarTest, ADropDownItemOpensItsMenuBelowItselfAndClicksAfter) {
  Skin();
  form->Show();
  vcl::TPopupMenu menu(form.get());
  auto* entry = new vcl::TMenuItem(&menu);
  entry->SetCaption(L"Export");
  menu.Items()->Add(entry);
  TqvTitleBarItem* drop = Add(bsButton, tbaLeft, L"File");
  drop->SetDropdownMenu(&menu);
  Clicks clicks;
  clicks.Bind(drop);
  Repaint();
  ASSERT_EQ(provider->CaptionItems().TitleBarItemAt(Inside(drop)), 2000);

  int stateInside = -1;
  EXPECT_TRUE(RunMenuLoop([&] { provider->CaptionItems().TitleBarItemMouseDown(0, drop->ScreenRect().TopLeft()); }, [&](int) {
    if (!VisiblePopupWindow()) return false;
    stateInside = drop->CurrentState();
    return true;
  }));
  // Pressed while its menu was down; afterwards clicked once, at rest.
  EXPECT_EQ(stateInside, 2);
  EXPECT_FALSE(drop->MenuDropped);
  EXPECT_EQ(drop->CurrentState(), 0);
  EXPECT_EQ(clicks.clicked.size(), 1u);
  EXPECT_FALSE(drop->Pressed);
  // The menu popped up at the item's bottom-left on the screen.
  EXPECT_EQ(menu.PopupPoint(), vcl::TPoint(drop->ScreenRect().Left, drop->ScreenRect().Bottom));
  EXPECT_EQ(menu.WindowHandle(), nullptr);
  // The release after the menu runs no second click.
  provider->CaptionItems().TitleBarItemMouseUp(0, drop->ScreenRect().TopLeft(), true);
  EXPECT_EQ(clicks.clicked.size(), 1u);
}

TEST_F(TitleBarTest, WhatGoesIsForgottenAndAFormGoesWithItsBarAndProvider) {
  Skin();
  auto* menu = new vcl::TPopupMenu(form.get());
  TqvTitleBarItem* drop = Add(bsButton, tbaLeft, L"File");
  drop->SetDropdownMenu(menu);
  vcl::TObject::Free(menu);
  EXPECT_EQ(drop->DropdownMenu(), nullptr);
  // And a title bar that goes is forgotten by the provider.
  bar.reset();
  EXPECT_EQ(provider->TitleBar(), nullptr);
  Repaint();

  // A form goes with its bar and its provider while a fade runs.
  bar.reset(vcl::Construct<TsTitleBar>(form.get()));
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft, L"Fade");
  Repaint();
  ASSERT_EQ(provider->TitleBar(), bar.get());
  button->SetHotState(1);
  button->StartAnimation(5, Wnd());
  (void)provider.release();
  (void)bar.release();
  form.reset();
}

// The fade of a state change

class LayeredSpy {
 public:
  LayeredSpy() {
    previous_ = SetLayeredUpdateFunc([this](const TLayeredUpdate& u) {
      alphas.push_back(u.Alpha);
      return true;
    });
  }
  ~LayeredSpy() { SetLayeredUpdateFunc(previous_); }
  std::vector<int> alphas;

 private:
  TLayeredUpdateFunc previous_;
};

TEST_F(TitleBarTest, AFadeInStepsItsAlphaAndAFadeOutFreesItsWindow) {
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft);
  Repaint();
  LayeredSpy spy;
  button->SetHotState(1);
  button->StartAnimation(5, Wnd());
  TqvItemAnimation* fade = button->Animation();
  ASSERT_NE(fade, nullptr);
  ASSERT_NE(fade->FadeForm(), nullptr);
  EXPECT_TRUE(fade->Enabled());
  // The fade's window lies over the item, click-through and without activation.
  const HWND fadeWnd = fade->FadeForm()->Handle();
  EXPECT_EQ(WindowBox(fadeWnd), button->ScreenRect());
  EXPECT_EQ(GetWindowLongPtrW(fadeWnd, GWL_EXSTYLE) & (WS_EX_TRANSPARENT | WS_EX_NOACTIVATE),
            WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
  // The last step ends the fade.
  for (int i = 0; i < 10 && fade->Enabled(); ++i) fade->Tick();
  EXPECT_FALSE(fade->Enabled());
  EXPECT_TRUE(fade->Finished);
  EXPECT_EQ(spy.alphas, (std::vector<int>{51, 102, 153, 204, 255}));
  // Back to normal: the hot look fades out and its window goes.
  spy.alphas.clear();
  button->SetHotState(0);
  button->StartAnimation(5, Wnd());
  EXPECT_EQ(button->Animation(), fade);
  for (int i = 0; i < 10 && fade->Enabled(); ++i) fade->Tick();
  EXPECT_EQ(fade->FadeForm(), nullptr);
  EXPECT_EQ(fade->TargetState, -1);
  EXPECT_EQ(spy.alphas, (std::vector<int>{255, 204, 153, 102, 51}));
}

// A state change the provider repaints fades in one step while the manager animates no buttons.
TEST_F(TitleBarTest, ASingleStepShowsTheLastFrameAtOnce) {
  Skin();
  form->Show();
  TqvTitleBarItem* button = Add(bsButton, tbaLeft);
  Repaint();
  LayeredSpy spy;
  button->SetHotState(1);
  provider->FrameMouse().RepaintElement(2000);
  ASSERT_NE(button->Animation(), nullptr);
  EXPECT_FALSE(button->Animation()->Enabled());
  EXPECT_EQ(spy.alphas, std::vector<int>{255});
  // The provider's painter drew the hot item into the fade's picture.
  EXPECT_EQ(Rgb(PixelOf(button->Animation()->CurImage.get(), 2, button->ItemRect.Height() - 2)), kButtonHotRgb);
  // Back to normal in one step: the hot look's window goes at once.
  ASSERT_NE(button->Animation()->FadeForm(), nullptr);
  button->SetHotState(0);
  provider->FrameMouse().RepaintElement(2000);
  ASSERT_NE(button->Animation(), nullptr);
  EXPECT_EQ(button->Animation()->FadeForm(), nullptr);
  EXPECT_EQ(button->Animation()->TargetState, -1);
  EXPECT_EQ(spy.alphas, std::vector<int>{255});
  // Without a painter the picture is a flat fill; no steps count as one.
  button->PaintHandler = nullptr;
  button->FreeAnimation();
  button->SetHotState(1);
  button->StartAnimation(0, Wnd());
  EXPECT_EQ(spy.alphas, (std::vector<int>{255, 255}));
  provider->KillAnimations();
  EXPECT_EQ(button->Animation(), nullptr);
}

}  // namespace
}  // namespace skin_layered::test
