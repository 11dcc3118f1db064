// Bit buttons, bevels, tab sets and the media player on real windows: kinds and custom
// glyphs, the owner-drawn face in a memory bitmap, bevel lines by pixels, tab layout and the
// scroller, and the player's button strip answering the mouse as the skin engines pass it on.
#include <gtest/gtest.h>

#include "classlib/extctrls/Bevel.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/MediaPlayer.h"
#include "classlib/extctrls/TabSet.h"
#include "classlib/rtl/TypInfo.h"
#include "classlib/stdctrls/stdctrls_support.h"

namespace vcl::testing {
namespace {

int CountColour(const PixelTarget& t, int w, int h, TColor c) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += t.At(x, y) == c;
  return n;
}

// ---------------------------------------------------------------------------------------
// Bit buttons

TEST(BitBtn, AKindBringsItsCaptionResultRoleAndGlyph) {
  auto form = ShownForm();
  auto* ok = Put<TBitBtn>(form.get());
  ok->SetKind(bkOK);
  EXPECT_EQ(ok->Caption(), L"OK");
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(ok->Default());
  EXPECT_FALSE(ok->Glyph()->Empty());
  EXPECT_EQ(ok->NumGlyphs(), 2);
  EXPECT_EQ(dynamic_cast<TBitmap*>(GetObjectProp(ok, L"Glyph")), ok->Glyph());  // as the skin engines read it

  auto* no = Put<TBitBtn>(form.get());
  no->SetKind(bkNo);
  EXPECT_TRUE(no->Cancel());
  EXPECT_EQ(no->Caption(), L"&No");
  // Changing what the kind decides makes the button a custom one.
  no->SetModalResult(mrAbort);
  EXPECT_EQ(no->Kind(), bkCustom);
  ok->SetGlyph(ok->Glyph());
  EXPECT_EQ(ok->Kind(), bkCustom);

  HWND wnd = ok->Handle();
  EXPECT_EQ(WindowClassOf(wnd), L"TBitBtn");
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  // A click gives the form the button's result.
  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST(BitBtn, TheCloseKindClosesItsForm) {
  auto form = ShownForm();
  struct Closes {
    int count = 0;
    void Handle(TObject*, TCloseAction&) { ++count; }
  } closes;
  form->OnClose = TCloseEvent::Bind<&Closes::Handle>(&closes);
  auto* close = Put<TBitBtn>(form.get());
  close->SetKind(bkClose);
  EXPECT_EQ(close->Caption(), L"&Close");
  SendMessageW(close->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(closes.count, 1);
}

TEST(BitBtn, TheFaceGlyphAndCaptionArePaintedWhenTheButtonDrawsItself) {
  auto form = ShownForm();
  auto* button = Put<TBitBtn>(form.get(), 0, 0, 100, 40);
  // A custom glyph: one magenta square on an olive (transparent) field.
  TBitmap glyph;
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(clOlive);
  glyph.Canvas()->FillRect(TRect(0, 0, 16, 16));
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(TRect(4, 4, 12, 12));
  button->SetGlyph(&glyph);
  EXPECT_EQ(button->NumGlyphs(), 1);
  button->SetLayout(blGlyphLeft);
  button->SetMargin(6);
  auto paint = [&](UINT State) {
    auto t = std::make_unique<PixelTarget>(100, 40);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = State;
    item.hwndItem = button->Handle();
    item.hDC = t->dc();
    item.rcItem = RECT{0, 0, 100, 40};
    SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    return t;
  };
  // The top-left corner of the glyph's square, found in the picture.
  auto squareAt = [](const PixelTarget& t) {
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 100; ++x)
        if (t.At(x, y) == clFuchsia) return TPoint{x, y};
    return TPoint{-1, -1};
  };
  auto normal = paint(0);
  const TPoint at = squareAt(*normal);
  // The whole square, its transparent colour showing the face; the glyph Margin pixels in
  // from the frame and centred across.
  EXPECT_EQ(CountColour(*normal, 100, 40, clFuchsia), 64);
  EXPECT_EQ(normal->At(at.X - 2, at.Y), ColorToRGB(clBtnFace));
  EXPECT_GE(at.X - 4, 6 + 2);
  EXPECT_LE(at.X - 4, 6 + 3);
  EXPECT_LE(std::abs((at.Y - 4) + 8 - 20), 1);
  // Pressed, the glyph moves down (and the face is drawn pressed).
  auto pressed = paint(ODS_SELECTED);
  EXPECT_EQ(CountColour(*pressed, 100, 40, clFuchsia), 64);
  EXPECT_GT(squareAt(*pressed).Y, at.Y);
  // Disabled, the one-frame glyph is embossed instead.
  EXPECT_EQ(CountColour(*paint(ODS_DISABLED), 100, 40, clFuchsia), 0);
}

// ---------------------------------------------------------------------------------------
// Bevels

TEST(Bevel, LinesAndBoxesInTheHighlightAndShadowColours) {
  auto form = ShownForm();
  auto* bevel = Put<TBevel>(form.get(), 0, 0, 30, 20);
  const TColor light = ColorToRGB(clBtnHighlight);
  const TColor dark = ColorToRGB(clBtnShadow);
  auto paint = [&] {
    auto t = std::make_unique<PixelTarget>(30, 20);
    bevel->PaintTo(t->dc(), 0, 0);
    return t;
  };
  {
    // A lowered box: shadow top and left, highlight bottom and right.
    auto t = paint();
    EXPECT_EQ(t->At(10, 0), dark);
    EXPECT_EQ(t->At(0, 10), dark);
    EXPECT_EQ(t->At(10, 19), light);
    EXPECT_EQ(t->At(29, 10), light);
    EXPECT_EQ(t->At(10, 10), static_cast<TColor>(0x563412));
  }
  bevel->SetStyle(bsRaised);
  bevel->SetShape(bsTopLine);
  {
    auto t = paint();
    EXPECT_EQ(t->At(10, 0), light);
    EXPECT_EQ(t->At(10, 1), dark);
    EXPECT_EQ(t->At(10, 2), static_cast<TColor>(0x563412));
  }
  bevel->SetShape(bsRightLine);
  {
    auto t = paint();
    EXPECT_EQ(t->At(28, 5), light);
    EXPECT_EQ(t->At(29, 5), dark);
  }
  bevel->SetShape(bsSpacer);
  EXPECT_EQ(CountColour(*paint(), 30, 20, dark), 0);
  EXPECT_EQ(GetEnumProp(bevel, L"Shape"), L"bsSpacer");
  EXPECT_EQ(GetEnumProp(bevel, L"Style"), L"bsRaised");
}

// ---------------------------------------------------------------------------------------
// Tab sets

TEST(TabSet, TabsAreTheirTextsWidthPlusTheEdgesAndAClickChoosesOne) {
  auto form = ShownForm();
  auto* tabs = Put<TTabSet>(form.get(), 0, 0, 300, 21);
  for (const wchar_t* s : {L"第一", L"第二", L"第三"}) tabs->Tabs()->Add(s);
  EXPECT_EQ(WindowClassOf(tabs->Handle()), L"TTabSet");
  const TRect first = tabs->ItemRect(0);
  EXPECT_EQ(first.Left, tabs->StartMargin());
  tabs->Canvas()->SetFont(tabs->Font());
  EXPECT_EQ(first.Width(), tabs->Canvas()->TextWidth(L"第一") + 9);
  EXPECT_EQ(tabs->ItemRect(1).Left, first.Right);
  EXPECT_EQ(tabs->VisibleTabs(), 3);

  struct Changes {
    std::vector<int> asked;
    bool allow = true;
    void Handle(TObject*, int NewTab, bool& AllowChange) {
      asked.push_back(NewTab);
      AllowChange = allow;
    }
  } changes;
  tabs->OnChange = TTabChangeEvent::Bind<&Changes::Handle>(&changes);
  Counter clicks;
  tabs->OnClick = clicks.Event();
  const TRect second = tabs->ItemRect(1);
  ClickAt(tabs->Handle(), second.Left + 5, 5);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(clicks.count, 1);
  changes.allow = false;
  ClickAt(tabs->Handle(), tabs->ItemRect(2).Left + 5, 5);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(changes.asked, (std::vector<int>{1, 2}));
  EXPECT_EQ(clicks.count, 1);
  EXPECT_THROW(tabs->SetTabIndex(3), EInvalidOperation);
}

TEST(TabSet, TabsThatDoNotFitBringTheScrollerWhichMovesTheFirstTab) {
  auto form = ShownForm();
  auto* tabs = Put<TTabSet>(form.get(), 0, 0, 150, 21);
  for (int i = 0; i < 10; ++i) tabs->Tabs()->Add(L"Tab " + std::to_wstring(i));
  // The scroller is the tab set's one child control.
  ASSERT_EQ(tabs->ControlCount(), 1);
  auto* scroller = dynamic_cast<TScroller*>(tabs->Controls(0));
  ASSERT_NE(scroller, nullptr);
  EXPECT_TRUE(scroller->Visible());
  EXPECT_EQ(WindowClassOf(scroller->Handle()), L"TScroller");
  EXPECT_LE(scroller->Left() + scroller->Width(), tabs->Width());
  const int shown = tabs->VisibleTabs();
  EXPECT_LT(shown, 10);
  // The shown tabs stop before the scroller and the end margin.
  EXPECT_LE(tabs->ItemRect(shown - 1).Right, tabs->Width() - tabs->EndMargin() - scroller->Width());

  // The right arrow moves the first tab on.
  ClickAt(scroller->Handle(), scroller->Width() - 2, 2);
  EXPECT_EQ(tabs->FirstIndex(), 1);
  EXPECT_EQ(tabs->ItemAtPos({tabs->StartMargin() + 2, 5}), 1);
  // Choosing a tab beyond the shown ones scrolls to it.
  tabs->SetTabIndex(9);
  EXPECT_GE(9, tabs->FirstIndex());
  EXPECT_LT(9, tabs->FirstIndex() + tabs->VisibleTabs());
  tabs->SetFirstIndex(0);
  EXPECT_EQ(scroller->Position(), 0);
  // Without AutoScroll no scroller shows.
  tabs->SetAutoScroll(false);
  EXPECT_FALSE(scroller->Visible());
  // Fewer tabs that fit: none either.
  tabs->SetAutoScroll(true);
  while (tabs->Tabs()->Count() > 2) tabs->Tabs()->Delete(2);
  EXPECT_FALSE(scroller->Visible());
  EXPECT_EQ(tabs->TabIndex(), 1);
}

// ---------------------------------------------------------------------------------------
// Media player

TEST(MediaPlayer, TheVisibleButtonsShareTheStripAndClicksReachTheEvents) {
  using enum TMPBtnType;
  auto form = ShownForm();
  auto* player = Put<TMediaPlayer>(form.get(), 0, 0, 240, 30);
  EXPECT_EQ(WindowClassOf(player->Handle()), L"TMediaPlayer");
  player->SetVisibleButtons({btPlay, btPause, btStop});
  player->SetEnabledButtons({btPlay, btStop});
  player->SetColoredButtons({btPlay});
  // The sets read as text, as the skin engines read them.
  EXPECT_EQ(GetSetProp(player, L"VisibleButtons", true), L"[btPlay,btPause,btStop]");
  EXPECT_EQ(GetSetProp(player, L"EnabledButtons", true), L"[btPlay,btStop]");
  EXPECT_EQ(GetSetProp(player, L"ColoredButtons", true), L"[btPlay]");
  EXPECT_EQ(player->ButtonRect(btPause), TRect(80, 0, 160, 30));
  EXPECT_EQ(player->ButtonRect(btEject), TRect());

  struct Clicks {
    std::vector<TMPBtnType> clicked, posted;
    void Click(TObject*, TMPBtnType Button, bool& DoDefault) {
      clicked.push_back(Button);
      EXPECT_TRUE(DoDefault);
    }
    void Post(TObject*, TMPBtnType Button) { posted.push_back(Button); }
  } clicks;
  player->OnClick = EMPNotify::Bind<&Clicks::Click>(&clicks);
  player->OnPostClick = EMPPostNotify::Bind<&Clicks::Post>(&clicks);
  // The engines hand the panel's mouse messages to the player with Perform.
  auto press = [&](int downX, int upX) {
    player->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(downX, 10));
    player->Perform(WM_LBUTTONUP, 0, PointToLParam(upX, 10));
  };
  press(200, 210);  // stop
  press(10, 30);    // play
  press(100, 120);  // pause: not enabled
  press(10, 200);   // let go over another button: no click
  EXPECT_EQ(clicks.clicked, (std::vector<TMPBtnType>{btStop, btPlay}));
  EXPECT_EQ(clicks.posted, clicks.clicked);

  // The keyboard clicks the focused button.
  player->SetFocus();
  WORD key = VK_RIGHT;
  player->Perform(WM_KEYDOWN, key, 0);
  player->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(clicks.clicked.back(), btStop);

  // Coloured, black and grayed glyphs.
  PixelTarget t(240, 30);
  player->PaintTo(t.dc(), 0, 0);
  EXPECT_GT(CountColour(t, 80, 30, clGreen), 0);
  EXPECT_GT(CountColour(t, 160, 30, clGray) - CountColour(t, 80, 30, clGray), 0);
  player->SetVisibleButtons({});
  EXPECT_EQ(player->ButtonRect(btPlay), TRect());
}

}  // namespace
}  // namespace vcl::testing
