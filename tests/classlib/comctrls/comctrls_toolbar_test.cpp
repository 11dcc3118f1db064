// Tool bars on real windows: one system button per child, clicks, drop-downs and custom drawing.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

TToolButton* AddButton(TToolBar* bar, const String& caption, TToolButtonStyle style = tbsButton, int image = -1) {
  auto* b = new TToolButton(bar);
  b->SetCaption(caption);
  b->SetStyle(style);
  b->SetImageIndex(image);
  b->SetParent(bar);
  return b;
}

// An image list of 16 x 16 images, each one flat colour.
TImageList* Images(TComponent* owner, std::initializer_list<TColor> colours) {
  auto* list = new TImageList(owner, 16, 16);
  for (TColor c : colours) {
    TBitmap bmp;
    bmp.SetWidth(16);
    bmp.SetHeight(16);
    bmp.Canvas()->Brush()->SetColor(c);
    bmp.Canvas()->FillRect(Rect(0, 0, 16, 16));
    list->Add(&bmp, nullptr);
  }
  return list;
}

TBBUTTON SystemButton(HWND bar, int index) {
  TBBUTTON info{};
  SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
  return info;
}

TRect ItemRect(HWND bar, int index) {
  RECT r{};
  SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

LPARAM Centre(const TRect& r) { return PointToLParam((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

void ClickAt(HWND wnd, LPARAM at) {
  PostMessageW(wnd, WM_MOUSEMOVE, 0, at);
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
}

// Records the tool bar's events.
struct BarEvents {
  struct Draw {
    TCustomDrawStage stage;
    TToolButton* button;  // nil for the bar
    TCustomDrawState state;
  };
  std::vector<Draw> draws;
  std::vector<TObject*> clicks;
  TToolButton* skip = nullptr;        // drawn by the handler in red instead of the system
  bool flags_no_edges = false;

  void Click(TObject* Sender) { clicks.push_back(Sender); }
  void BarDraw(TToolBar*, const TRect&, TCustomDrawStage Stage, bool&) { draws.push_back({Stage, nullptr, {}}); }
  void ButtonDraw(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, TCustomDrawStage Stage,
                  TTBCustomDrawFlags& Flags, bool& DefaultDraw) {
    draws.push_back({Stage, Button, State});
    if (flags_no_edges) Flags = TTBCustomDrawFlags{tbNoEdges, tbNoEtchedEffect};
    if (Button == skip && Stage == cdPrePaint) {
      Sender->Canvas()->Brush()->SetColor(clRed);
      Sender->Canvas()->FillRect(Button->BoundsRect());
      DefaultDraw = false;
    }
  }
  size_t Count(TCustomDrawStage stage, bool items) const {
    size_t n = 0;
    for (const Draw& d : draws) n += d.stage == stage && (d.button != nullptr) == items;
    return n;
  }
};

// Paints the window into a bitmap of its size through its own WM_PAINT.
TBitmap* Painted(HWND wnd, TBitmap& bmp) {
  RECT r{};
  GetClientRect(wnd, &r);
  bmp.SetWidth(r.right);
  bmp.SetHeight(r.bottom);
  bmp.Canvas()->Brush()->SetColor(clWhite);
  bmp.Canvas()->FillRect(Rect(0, 0, r.right, r.bottom));
  SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  return &bmp;
}

TEST(ToolBarWindow, IsASuperclassOfTheSystemToolBarHoldingOneButtonPerChild) {
  auto form = ShownForm();
  auto* bar = Put<TToolBar>(form.get());
  TImageList* images = Images(form.get(), {clRed, clLime, clBlue});
  bar->SetImages(images);
  TToolButton* open = AddButton(bar, L"打开", tbsButton, 0);
  TToolButton* sep = AddButton(bar, L"", tbsSeparator);
  TToolButton* bold = AddButton(bar, L"粗体", tbsCheck, 1);
  TToolButton* more = AddButton(bar, L"更多", tbsDropDown, 2);

  HWND wnd = bar->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TToolBar");
  EXPECT_EQ(bar->BoundsRect(), Rect(0, 0, 400, 29));
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, TB_GETIMAGELIST, 0, 0)), images->Handle());
  ASSERT_EQ(SendMessageW(wnd, TB_BUTTONCOUNT, 0, 0), 4);
  const TToolButton* expected[] = {open, sep, bold, more};
  const BYTE styles[] = {BTNS_BUTTON, BTNS_SEP, BTNS_CHECK, BTNS_DROPDOWN};
  for (int i = 0; i < 4; ++i) {
    const TBBUTTON info = SystemButton(wnd, i);
    EXPECT_EQ(reinterpret_cast<TToolButton*>(info.dwData), expected[i]) << i;
    EXPECT_EQ(info.fsStyle & 0x0F, styles[i]) << i;
    EXPECT_EQ(bar->Buttons(i), expected[i]);
    // Each child lies on its system button.
    EXPECT_EQ(expected[i]->BoundsRect(), ItemRect(wnd, i)) << i;
  }
  EXPECT_EQ(sep->Width(), 8);
  EXPECT_EQ(open->Width(), 23);

  // Changes reach the system buttons.
  bold->SetDown(true);
  EXPECT_NE(SendMessageW(wnd, TB_GETSTATE, static_cast<WPARAM>(SystemButton(wnd, 2).idCommand), 0) & TBSTATE_CHECKED, 0);
  open->SetEnabled(false);
  EXPECT_EQ(SystemButton(wnd, 0).fsState & TBSTATE_ENABLED, 0);
  more->SetImageIndex(1);
  EXPECT_EQ(SystemButton(wnd, 3).iBitmap, 1);
  more->SetVisible(false);
  EXPECT_NE(SystemButton(wnd, 3).fsState & TBSTATE_HIDDEN, 0);

  // A button that goes leaves its system button; the others follow.
  TObject::Free(sep);
  ASSERT_EQ(SendMessageW(wnd, TB_BUTTONCOUNT, 0, 0), 3);
  EXPECT_EQ(reinterpret_cast<TToolButton*>(SystemButton(wnd, 1).dwData), bold);
  EXPECT_EQ(bold->BoundsRect(), ItemRect(wnd, 1));
}

TEST(ToolBarWindow, FlatListAndCaptionStylesAndTheImageListsReachTheWindow) {
  auto form = ShownForm();
  auto* bar = Put<TToolBar>(form.get());
  AddButton(bar, L"保存", tbsButton, 0);
  TImageList* hot = Images(form.get(), {clYellow});
  TImageList* disabled = Images(form.get(), {clGray});
  bar->SetImages(Images(form.get(), {clRed}));
  bar->SetHotImages(hot);
  bar->SetDisabledImages(disabled);
  HWND wnd = bar->Handle();
  const int plain_width = bar->Buttons(0)->Width();

  bar->SetFlat(true);
  bar->SetList(true);
  bar->SetShowCaptions(true);
  wnd = bar->Handle();
  EXPECT_EQ(StyleOf(wnd) & (TBSTYLE_FLAT | TBSTYLE_LIST), TBSTYLE_FLAT | TBSTYLE_LIST);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, TB_GETHOTIMAGELIST, 0, 0)), hot->Handle());
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, TB_GETDISABLEDIMAGELIST, 0, 0)), disabled->Handle());
  // With its caption beside the image the button is wider, and the window has its text.
  EXPECT_GT(bar->Buttons(0)->Width(), plain_width);
  wchar_t text[32] = {};
  SendMessageW(wnd, TB_GETBUTTONTEXTW, static_cast<WPARAM>(SystemButton(wnd, 0).idCommand),
               reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"保存");

  bar->SetButtonHeight(30);
  EXPECT_EQ(bar->Buttons(0)->Height(), 30);
  TObject::Free(hot);  // a freed image list leaves the window
  EXPECT_EQ(SendMessageW(wnd, TB_GETHOTIMAGELIST, 0, 0), 0);
}

TEST(ToolBarEvents, AClickFiresOnClick_ACheckButtonToggles_ADropDownArrowShowsItsMenuBelow) {
  auto form = ShownForm();
  auto* bar = Put<TToolBar>(form.get());
  TToolButton* plain = AddButton(bar, L"a");
  TToolButton* check = AddButton(bar, L"b", tbsCheck);
  TToolButton* more = AddButton(bar, L"更多", tbsDropDown);
  auto* menu = new TPopupMenu(form.get());
  more->SetDropdownMenu(menu);
  BarEvents events;
  for (TToolButton* b : {plain, check, more}) b->OnClick = TNotifyEvent::Bind<&BarEvents::Click>(&events);
  HWND wnd = bar->Handle();
  UpdateWindow(wnd);

  ClickAt(wnd, Centre(ItemRect(wnd, 0)));
  ClickAt(wnd, Centre(ItemRect(wnd, 1)));
  EXPECT_EQ(events.clicks, (std::vector<TObject*>{plain, check}));
  EXPECT_TRUE(check->Down());
  ClickAt(wnd, Centre(ItemRect(wnd, 1)));
  EXPECT_FALSE(check->Down());
  plain->SetEnabled(false);  // a disabled button reports nothing
  ClickAt(wnd, Centre(ItemRect(wnd, 0)));
  EXPECT_EQ(events.clicks.size(), 3u);

  POINT shown{};
  auto previous = SetTrackPopupMenuFunction([&](HMENU, UINT, int x, int y, HWND) {
    shown = POINT{x, y};
    return false;
  });
  const TRect r = ItemRect(wnd, 2);
  ClickAt(wnd, PointToLParam(r.Right - 3, (r.Top + r.Bottom) / 2));  // the arrow is the right end
  SetTrackPopupMenuFunction(previous);
  POINT corner{more->Left(), more->Top() + more->Height()};
  ClientToScreen(wnd, &corner);
  EXPECT_EQ(shown.x, corner.x);
  EXPECT_EQ(shown.y, corner.y);
  EXPECT_EQ(menu->PopupComponent(), more);
  EXPECT_EQ(events.clicks.size(), 3u);
  TObject::Free(menu);  // a freed menu is forgotten
  EXPECT_EQ(more->DropdownMenu(), nullptr);
  EXPECT_FALSE(more->CheckMenuDropdown());
}

TEST(ToolBarCustomDraw, TheEventsSeeTheSystemsStagesAndCanTakeOverAButton) {
  auto form = ShownForm();
  auto* bar = Put<TToolBar>(form.get());
  TToolButton* a = AddButton(bar, L"a");
  TToolButton* b = AddButton(bar, L"b", tbsCheck);
  b->SetDown(true);
  BarEvents events;
  bar->OnAdvancedCustomDraw = TTBAdvancedCustomDrawEvent::Bind<&BarEvents::BarDraw>(&events);
  bar->OnAdvancedCustomDrawButton = TTBAdvancedCustomDrawBtnEvent::Bind<&BarEvents::ButtonDraw>(&events);
  HWND wnd = bar->Handle();
  Pump();
  events.draws.clear();

  TBitmap bmp;
  Painted(wnd, bmp);
  // The bar before and after the buttons; each button before and after it is drawn.
  EXPECT_EQ(events.Count(cdPostPaint, false), 1u);
  EXPECT_EQ(events.Count(cdPostPaint, true), 2u);
  ASSERT_FALSE(events.draws.empty());
  EXPECT_EQ(events.draws.front().button, nullptr);
  for (const auto& d : events.draws) {
    if (d.button == b && d.stage == cdPrePaint) {
      EXPECT_TRUE(d.state.Contains(cdsChecked));
    }
  }

  // Erasing the bar reports the erase stages (the bar asks for them).
  events.draws.clear();
  SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  EXPECT_EQ(events.Count(cdPreErase, false), 1u);
  EXPECT_EQ(events.Count(cdPostErase, false), 1u);

  // A button whose handler says no default drawing keeps what the handler drew.
  events.skip = a;
  Painted(wnd, bmp);
  const TRect r = a->BoundsRect();
  EXPECT_EQ(bmp.Canvas()->Pixels((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clRed);
  EXPECT_EQ(bmp.Canvas()->Pixels(r.Left + 1, r.Top + 1), clRed);  // no edge drawn over it
}

TEST(ToolBarCustomDraw, TheSimpleEventsRunBeforeTheSystemPaints) {
  auto form = ShownForm();
  auto* bar = Put<TToolBar>(form.get());
  TToolButton* a = AddButton(bar, L"a");
  struct Simple {
    int bars = 0;
    std::vector<TToolButton*> buttons;
    TRect rect;
    void Bar(TToolBar* Sender, const TRect& R, bool&) {
      ++bars;
      rect = R;
      // The canvas draws on the paint DC.
      Sender->Canvas()->Brush()->SetColor(clBlue);
      Sender->Canvas()->FillRect(R);
    }
    void Button(TToolBar*, TToolButton* B, TCustomDrawState, bool& DefaultDraw) {
      buttons.push_back(B);
      DefaultDraw = false;
    }
  } simple;
  bar->OnCustomDraw = TTBCustomDrawEvent::Bind<&Simple::Bar>(&simple);
  bar->OnCustomDrawButton = TTBCustomDrawBtnEvent::Bind<&Simple::Button>(&simple);
  TBitmap bmp;
  Painted(bar->Handle(), bmp);
  EXPECT_EQ(simple.bars, 1);
  EXPECT_EQ(simple.rect, bar->ClientRect());
  ASSERT_EQ(simple.buttons.size(), 1u);
  EXPECT_EQ(simple.buttons[0], a);
  // Neither the button nor its text was drawn over the handler's fill.
  const TRect r = a->BoundsRect();
  EXPECT_EQ(bmp.Canvas()->Pixels((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clBlue);
}

}  // namespace
}  // namespace vcl::testing
