// The skinned menus over a synthetic skin (one flat colour per section and state); real popups
// are opened and closed by a timer with a deadline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "classlib/forms/Menus.h"
#include "forms_support.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/core/PopupMenuLinks.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// The colours of the skin (TColor, 0x00BBGGRR as the skin writes them).
constexpr vcl::TColor kMainMenu = 0x604020, kFrame = 0x901010, kItem = 0x30A0A0, kItemHot = 0x30C030,
                      kItemText = 0x800000, kLine = 0x505050, kLineText = 0x10F0F0, kCaption = 0x903090,
                      kExtra = 0x909010, kIcoLine = 0x202070, kCheck0 = 0x0000C0, kCheck1 = 0x00C000;
constexpr std::uint32_t kKey = 0xFF00FF;

std::uint32_t Rgb(vcl::TColor c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
std::string Hex(vcl::TColor c) {
  char text[8];
  std::snprintf(text, sizeof text, "$%06X", static_cast<unsigned>(c));
  return text;
}

// The master picture: the popup frame (12 x 12, 3-pixel border, three key pixels in each
// corner) and the check mark's two states (10 x 10 each).
std::uint32_t MasterPixel(int x, int y) {
  if (x < 12 && y < 12) {
    const int cx = x < 6 ? x : 11 - x, cy = y < 6 ? y : 11 - y;
    if (cx + cy <= 1) return kKey;
    return (cx < 3 || cy < 3) ? Rgb(kFrame) : 0x000000;
  }
  if (y < 10 && x >= 20 && x < 30) return Rgb(kCheck0);
  if (y < 10 && x >= 30 && x < 40) return Rgb(kCheck1);
  return 0x000000;
}

std::string MenuSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\n"
         "BOXCHECKED=^0020,0000,0040,0010,0000,0000,0000,0000,2,0,0,0\r\n"
         "[FORM]\r\nCOLOR=$A0B0C0\r\nFONTCOLOR=$101010\r\n[FORMTITLE]\r\nCOLOR=$3060C0\r\n"
         "[MENULINE]\r\nCOLOR=" + Hex(kLine) + "\r\nFONTCOLOR=" + Hex(kLineText) + "\r\n" +
         "[MAINMENU]\r\nCOLOR=" + Hex(kMainMenu) +
         "\r\nBORDERSMASK=^0000,0000,0012,0012,0003,0003,0003,0003,1,0,1,0\r\n" +
         "[MENUITEM]\r\nSTATES=2\r\nCOLOR=" + Hex(kItem) + "\r\nFONTCOLOR=" + Hex(kItemText) +
         "\r\nHOTCOLOR=" + Hex(kItemHot) + "\r\nHOTFONTCOLOR=$FFFFFF\r\n" +
         "[MENUCAPTION]\r\nCOLOR=" + Hex(kCaption) + "\r\nFONTCOLOR=$FFFFFF\r\n" +
         "[EXTRALINE]\r\nCOLOR=" + Hex(kExtra) + "\r\nFONTCOLOR=$FFFFFF\r\n" +
         "[ICOLINE]\r\nCOLOR=" + Hex(kIcoLine) + "\r\n";
}

vcl::TColor ColorOf32(vcl::TBitmap* bmp, int x, int y) {
  const std::uint32_t p = PixelOf(bmp, x, y);
  return static_cast<vcl::TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

vcl::TColor Mix(vcl::TColor a, vcl::TColor b, double k) {  // a * (1 - k) + b * k per channel
  auto ch = [&](int s) {
    return static_cast<vcl::TColor>(static_cast<int>(((a >> s) & 0xFF) * (1 - k) + ((b >> s) & 0xFF) * k)) << s;
  };
  return ch(0) | ch(8) | ch(16);
}

bool Near(vcl::TColor a, vcl::TColor b, int tolerance = 3) {
  for (int s : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)) > tolerance) return false;
  return true;
}

bool RectHasColor(vcl::TBitmap* bmp, const vcl::TRect& r, vcl::TColor c) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (ColorOf32(bmp, x, y) == c) return true;
  return false;
}

// Records what the application's own handlers were asked.
struct AppHandlers {
  int measured = 0, drawn = 0;
  void Measure(vcl::TObject*, vcl::TCanvas*, int& w, int& h) {
    ++measured;
    w = 77;
    h = 19;
  }
  void Draw(vcl::TObject*, vcl::TCanvas*, vcl::TRect, vcl::TOwnerDrawState) { ++drawn; }
};

vcl::TMenuItem* AddItem(vcl::TMenuItem* parent, const wchar_t* caption, vcl::TComponent* owner) {
  auto* item = new vcl::TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

// An extra line with a caption of one letter: it takes no room a menu of two items lacks.
struct ShortExtraLine {
  void Get(vcl::TMenuItem*, vcl::String& section, vcl::String& caption, std::unique_ptr<vcl::TBitmap>&, bool& shown) {
    section = L"EXTRALINE";
    caption = L"T";
    shown = true;
  }
};

class SkinnedMenusTest : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    skins.Write(L"Test", L"master.bmp", Bmp24(64, 32, MasterPixel));
    WriteSkin(L"Test", MenuSkinText());
    menus = SkinableMenusOf(manager.get());
    support = MenuSupportOf(manager.get());
    ASSERT_TRUE(menus && support);
    form->SetBounds(1420, 640, 400, 300);
    form->HandleNeeded();
    popup = new vcl::TPopupMenu(form.get());
    canvas_bmp.SetPixelFormat(vcl::pf32bit);
    canvas_bmp.SetSize(1, 1);
  }
  void TearDown() override {
    ClearMenuCache();
    MSG m;
    while (PeekMessageW(&m, nullptr, kMenuItemPopupMessage, kMenuWindowPopupMessage, PM_REMOVE)) {
    }
    FormSkinTest::TearDown();
  }
  void LoadSkin() {
    manager->SetSkinName(L"Test");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
  }
  // The item's size as the menu asks it.
  vcl::TSize Measure(vcl::TMenuItem* item) {
    vcl::TCanvas* c = canvas_bmp.Canvas();
    c->Font()->Assign(vcl::Screen->MenuFont());
    int w = 0, h = 0;
    item->MeasureItem(c, w, h);
    return {w, h};
  }

  TsSkinableMenus* menus = nullptr;
  TqvMenuSupport* support = nullptr;
  vcl::TPopupMenu* popup = nullptr;
  vcl::TBitmap canvas_bmp;
};


TEST_F(SkinnedMenusTest, MenusAreHookedWithTheSkinAndTheApplicationsHandlersStay) {
  auto provider = NewProvider(form.get());
  auto* main = new vcl::TMainMenu(form.get());
  vcl::TMenuItem* file = AddItem(main->Items(), L"&File", form.get());
  vcl::TMenuItem* open = AddItem(file, L"&Open", form.get());
  vcl::TMenuItem* own = AddItem(file, L"&Own", form.get());
  form->SetMenu(main);
  vcl::TMenuItem* cut = AddItem(popup->Items(), L"Cu&t", form.get());
  AppHandlers app;
  own->OnMeasureItem = vcl::TMenuMeasureItemEvent::Bind<&AppHandlers::Measure>(&app);
  own->OnAdvancedDrawItem = vcl::TAdvancedMenuDrawItemEvent::Bind<&AppHandlers::Draw>(&app);
  const auto appMeasure = own->OnMeasureItem;
  const auto appDraw = own->OnAdvancedDrawItem;

  auto appHandlers = [&] { return own->OnMeasureItem == appMeasure && own->OnAdvancedDrawItem == appDraw; };

  LoadSkin();
  EXPECT_TRUE(menus->Skinned() && main->OwnerDraw() && popup->OwnerDraw());
  EXPECT_TRUE(menus->HasBarHandlers(file));
  EXPECT_TRUE(menus->HasPopupHandlers(open) && menus->HasPopupHandlers(cut));
  EXPECT_TRUE(appHandlers());
  EXPECT_TRUE(popup->MenuAnimation().Contains(vcl::maNone));
  // The application's measuring still decides its item's size.
  EXPECT_EQ(Measure(own), (vcl::TSize{77, 19}));
  EXPECT_EQ(app.measured, 1);

  // An item added later is hooked when the system measures it for the form's menu line.
  vcl::TMenuItem* view = AddItem(main->Items(), L"&View", form.get());
  menus->HookMenuItem(view, false);
  EXPECT_FALSE(menus->HasBarHandlers(view));
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = view->Command();
  SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_TRUE(menus->HasBarHandlers(view));
  EXPECT_EQ(static_cast<int>(mis.itemHeight), GetSystemMetrics(SM_CYMENU) - 1);

  manager->SetActive(false);
  EXPECT_FALSE(menus->Skinned() || main->OwnerDraw() || popup->OwnerDraw());
  EXPECT_FALSE(popup->MenuAnimation().Contains(vcl::maNone));
  for (vcl::TMenuItem* item : {file, open, cut, view})
    EXPECT_FALSE(item->OnMeasureItem || item->OnAdvancedDrawItem) << item->Caption();
  EXPECT_TRUE(appHandlers());

  // Active but leaving popups to the system: the menu line is not taken either.
  manager->SetActive(true);
  EXPECT_TRUE(main->OwnerDraw());
  manager->SetSkinnedPopups(false);
  menus->HookMainMenu(main, true);
  EXPECT_FALSE(main->OwnerDraw() || menus->HasBarHandlers(file));
  manager->SetSkinnedPopups(true);
  EXPECT_TRUE(main->OwnerDraw() && menus->HasBarHandlers(file));
  EXPECT_TRUE(appHandlers());
}

TEST_F(SkinnedMenusTest, PopupItemsAreMeasuredByKindAndTheFirstColumnMakesRoomForTheExtraLine) {
  LoadSkin();
  vcl::TMenuItem* root = popup->Items();
  vcl::TMenuItem* caption = AddItem(root, L"-Tools-", form.get());
  vcl::TMenuItem* divider = AddItem(root, L"-", form.get());
  vcl::TMenuItem* open = AddItem(root, L"&Open", form.get());
  vcl::TMenuItem* second = AddItem(root, L"&Open", form.get());
  second->SetBreak(vcl::mbBreak);
  menus->SetMenuOwnerDraw(popup, true);
  support->SetUseExtraLine(true);
  ShortExtraLine extra;
  manager->OnGetMenuExtraLineData = TqvGetExtraLineData::Bind<&ShortExtraLine::Get>(&extra);
  SetSkinnedPopupShown(false);

  const vcl::TSize opened = Measure(open), other = Measure(second);
  EXPECT_TRUE(SkinnedPopupShown());
  EXPECT_EQ(Measure(divider).cy, 2);
  EXPECT_EQ(opened.cx - other.cx, 32);  // only the first column makes room
  EXPECT_EQ(opened.cy, other.cy);
  EXPECT_GE(opened.cy, 16 + 2 * (menus->Margin() + 1));
  const vcl::TSize title = Measure(caption);
  canvas_bmp.Canvas()->Font()->Assign(vcl::Screen->MenuFont());
  EXPECT_EQ(title.cy, canvas_bmp.Canvas()->TextHeight(L"Tools") + 2 * (menus->Margin() + 1) + 1);
  // A divider stays one even with another caption mark.
  SetCaptionMarkChar(L'#');
  EXPECT_EQ(MenuItemType(divider), smDivider);
  EXPECT_EQ(MenuItemType(caption), smNormal);
  SetCaptionMarkChar(L'-');

  // The skins list of a system menu never shows an extra line.
  caption->SetName(kSkinSelectItemName);
  EXPECT_EQ(Measure(open).cx, other.cx);
  EXPECT_FALSE(QueryExtraLine(manager.get(), caption));
  manager->OnGetMenuExtraLineData = nullptr;
}

TEST_F(SkinnedMenusTest, ThePopupBackgroundHasItsFrameIconLineExtraLineAndCorners) {
  LoadSkin();
  EXPECT_EQ(menus->SkinBorderWidth(), 3);  // the frame image's left margin
  vcl::TMenuItem* first = AddItem(popup->Items(), L"&Open", form.get());
  for (int i = 0; i < 5; ++i) AddItem(popup->Items(), L"&Another item", form.get());
  support->SetUseExtraLine(true);
  int asked = 0;
  struct Answer {
    int* asked;
    bool visible;
    void Get(vcl::TMenuItem*, vcl::String& section, vcl::String& caption, std::unique_ptr<vcl::TBitmap>& glyph,
             bool& shown) {
      ++*asked;
      section = L"EXTRALINE";
      caption = L"&T";
      glyph = std::make_unique<vcl::TBitmap>();
      glyph->SetSize(8, 8);
      glyph->Canvas()->Brush()->SetColor(vcl::clLime);
      glyph->Canvas()->FillRect(vcl::TRect{0, 0, 8, 8});
      shown = visible;
    }
  } answer{&asked, true};
  manager->OnGetMenuExtraLineData = TqvGetExtraLineData::Bind<&Answer::Get>(&answer);

  const TqvMenuInfo info = GetMenuInfo(*menus, first, nullptr, canvas_bmp.Canvas());
  ASSERT_TRUE(info.Bmp);
  EXPECT_TRUE(info.ExtraLine);
  EXPECT_GE(asked, 1);
  vcl::TBitmap* bg = info.Bmp.get();
  const vcl::TSize menu = menus->MenuSize(first, canvas_bmp.Canvas(), {true});
  EXPECT_EQ(bg->Width(), menu.cx + 6);
  EXPECT_EQ(bg->Height(), menu.cy + 6);
  const int w = bg->Width(), h = bg->Height();
  EXPECT_EQ(ColorOf32(bg, w - 2, h / 2), kFrame);
  EXPECT_EQ(ColorOf32(bg, w - 5, h / 2), kMainMenu);
  EXPECT_EQ(ColorOf32(bg, 4, 4), kExtra);              // the extra line's top, above its caption
  EXPECT_EQ(ColorOf32(bg, 3 + 16, h - 3 - 16), vcl::clLime);  // its glyph, 12 pixels above the bottom
  EXPECT_EQ(ColorOf32(bg, 3 + 32 + 1, h / 2), kIcoLine);
  const int icoLine = menus->Margin() + 16 + menus->Spacing();
  EXPECT_EQ(menus->IcoLineWidth(), icoLine);
  EXPECT_EQ(menus->FirstGlyphWidth(), 16);
  EXPECT_EQ(ColorOf32(bg, 3 + 32 + icoLine + 1, h / 2), kMainMenu);
  // The frame's transparent corners: two pixels in the top row, one below, in each corner.
  EXPECT_EQ(info.RgnRects.size(), 8u);
  for (const vcl::TRect& hole : {vcl::TRect(0, 0, 2, 1), vcl::TRect(w - 1, h - 2, w, h - 1)})
    EXPECT_NE(std::find(info.RgnRects.begin(), info.RgnRects.end(), hole), info.RgnRects.end());

  // Found again by the item, not built again; an answer without the line gives none.
  EXPECT_EQ(GetMenuInfo(*menus, popup->Items()->Items(3), nullptr, canvas_bmp.Canvas()).Bmp, info.Bmp);
  EXPECT_EQ(MenuCacheCount(), 1);
  ClearMenuCache();
  answer.visible = false;
  const TqvMenuInfo without = GetMenuInfo(*menus, first, nullptr, canvas_bmp.Canvas());
  ASSERT_TRUE(without.Bmp);
  EXPECT_FALSE(without.ExtraLine);
  EXPECT_EQ(ColorOf32(without.Bmp.get(), 4, 4), kIcoLine);
  EXPECT_EQ(without.Bmp->Width(), menu.cx + 6 - 32);
}

TEST_F(SkinnedMenusTest, ItemsDividersAndCaptionsArePaintedOverTheBackground) {
  LoadSkin();
  vcl::TMenuItem* root = popup->Items();
  vcl::TMenuItem* open = AddItem(root, L"&Open", form.get());
  AddItem(root, L"-Tools-", form.get());
  AddItem(root, L"-", form.get());
  vcl::TMenuItem* checked = AddItem(root, L"&Checked", form.get());
  checked->SetChecked(true);
  vcl::TMenuItem* disabled = AddItem(root, L"&Disabled", form.get());
  disabled->SetEnabled(false);
  menus->SetMenuOwnerDraw(popup, true);
  support->SetUseExtraLine(true);
  support->SetIcoLineSkin(L"");
  popup->Handle();  // the menu the system shows

  // The items laid out in one column, as the window's client area shows them.
  const int width = menus->MenuSize(open, canvas_bmp.Canvas(), {true}).cx;
  std::vector<vcl::TRect> rects;
  int top = 0;
  for (int i = 0; i < root->Count(); ++i) {
    const int height = Measure(root->Items(i)).cy;
    rects.emplace_back(0, top, width, top + height);
    top += height;
  }
  auto client = CreateBmp32(width, top);
  vcl::TCanvas* c = client->Canvas();
  auto draw = [&](int i, vcl::TOwnerDrawState state) { vcl::DrawMenuItem(root->Items(i), c, rects[i], state); };
  for (int i = 0; i < root->Count(); ++i) draw(i, {});
  ASSERT_EQ(MenuCacheCount(), 1);

  // Drawn without a window: the manager is asked to find it, by the menu's handle and the
  // item's command.
  MSG posted{};
  ASSERT_TRUE(PeekMessageW(&posted, vcl::Application->Handle(), kMenuItemPopupMessage, kMenuItemPopupMessage,
                           PM_NOREMOVE));
  EXPECT_EQ(reinterpret_cast<HMENU>(posted.wParam), root->Handle());
  EXPECT_EQ(static_cast<WORD>(posted.lParam), open->Command());

  const vcl::TRect o = rects[0];
  EXPECT_EQ(ColorOf32(client.get(), o.Right - 3, o.Top + 1), kItem);
  EXPECT_EQ(ColorOf32(client.get(), 2, o.Top + 1), kExtra);  // the extra line in one piece
  EXPECT_TRUE(RectHasColor(client.get(), o, kItemText));
  draw(0, {vcl::odSelected});
  EXPECT_EQ(ColorOf32(client.get(), o.Right - 3, o.Top + 1), kItemHot);
  EXPECT_EQ(ColorOf32(client.get(), rects[1].Right - 3, rects[1].Top + 2), kCaption);
  // The divider: a line in the shadow colour between the margins, the background elsewhere.
  const vcl::TRect d = rects[2];
  EXPECT_EQ(ColorOf32(client.get(), 32 + menus->Margin() + 3, d.Top), vcl::ColorToRGB(vcl::clBtnShadow));
  EXPECT_EQ(ColorOf32(client.get(), 32 + menus->Margin() + 3, d.Top + 1), kMainMenu);
  // The check mark at the left of the glyph column, its hot state when selected.
  const vcl::TRect k = rects[3];
  const int markTop = k.Top + (k.Height() - 10) / 2;
  EXPECT_EQ(ColorOf32(client.get(), 32 + 2 + 5, markTop + 5), kCheck0);
  draw(3, {vcl::odSelected});
  EXPECT_EQ(ColorOf32(client.get(), 32 + 2 + 5, markTop + 5), kCheck1);
  // A disabled item lets the background show through.
  const vcl::TRect g = rects[4];
  EXPECT_TRUE(Near(ColorOf32(client.get(), g.Right - 3, g.Top + 1), Mix(kItem, kMainMenu, DefDisabledBlend)));

  // The message reaches the manager after the menu is gone: nothing is read from it.
  ASSERT_TRUE(PeekMessageW(&posted, vcl::Application->Handle(), kMenuItemPopupMessage, kMenuItemPopupMessage,
                           PM_REMOVE));
  vcl::TObject::Free(popup);
  popup = nullptr;
  EXPECT_EQ(MenuCacheCount(), 0);  // the record went with its item
  DispatchMessageW(&posted);
  SendMessageW(vcl::Application->Handle(), kMenuItemPopupMessage, 0, 1);
}

TEST_F(SkinnedMenusTest, ThePopupWindowsRegionLeavesOutTheCornersOrTheTopLeftPixel) {
  LoadSkin();
  HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 1500, 700, 60, 40, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(wnd);
  auto bg = CreateBmp32(60, 40);
  auto inRegion = [&](int x, int y) { return InWindowRegion(wnd, x, y); };
  SetMenuWndRgn(*menus, wnd, bg.get(), {});
  EXPECT_FALSE(inRegion(0, 0));
  EXPECT_TRUE(inRegion(1, 0) && inRegion(59, 39));
  SetMenuWndRgn(*menus, wnd, bg.get(), {vcl::TRect(0, 0, 2, 1), vcl::TRect(58, 0, 60, 1)});
  EXPECT_TRUE(inRegion(0, 1));
  EXPECT_FALSE(inRegion(1, 0) || inRegion(59, 0));
  DestroyWindow(wnd);
}

// Real popups

TEST_F(SkinnedMenusTest, APopupIsSkinnedInItsWindowAndAMenuRebuiltBetweenTwoDropsGetsANewBackground) {
  LoadSkin();
  vcl::TMenuItem* root = popup->Items();
  vcl::TMenuItem* first = AddItem(root, L"&Open", form.get());
  AddItem(root, L"-", form.get());
  AddItem(root, L"&Save", form.get());
  support->SetUseExtraLine(true);
  ShortExtraLine extra;
  manager->OnGetMenuExtraLineData = TqvGetExtraLineData::Bind<&ShortExtraLine::Get>(&extra);
  menus->SetMenuOwnerDraw(popup, true);

  struct Seen {
    HWND wnd = nullptr;
    vcl::TSize window{}, background{};
    vcl::TRect extraLine;
    bool recordByWindow = false, cornerCut = false, insideKept = false;
    COLORREF extra = CLR_INVALID, item = CLR_INVALID;
  };
  auto drop = [&](Seen& seen) {
    return RunMenuLoop([&] { popup->Popup(1500, 600); }, [&](int tick) {
      HWND wnd = VisiblePopupWindow();
      if (!wnd || tick < 4) return false;
      seen.wnd = wnd;
      RECT r{};
      GetWindowRect(wnd, &r);
      seen.window = {r.right - r.left, r.bottom - r.top};
      const TqvMenuInfo info = GetMenuInfo(*menus, nullptr, wnd, nullptr);
      seen.recordByWindow = static_cast<bool>(info) && info.FirstItem == first;
      if (info.Bmp) seen.background = {info.Bmp->Width(), info.Bmp->Height()};
      seen.extraLine = ExtraLineRect(*menus, wnd);
      HRGN rgn = CreateRectRgn(0, 0, 0, 0);
      if (GetWindowRgn(wnd, rgn) != ERROR) {
        seen.cornerCut = !PtInRegion(rgn, 0, 0);
        seen.insideKept = PtInRegion(rgn, seen.window.cx / 2, seen.window.cy / 2);
      }
      DeleteObject(rgn);
      RECT item{};
      GetMenuItemRect(nullptr, root->Handle(), 0, &item);
      if (HDC dc = GetWindowDC(wnd)) {
        seen.extra = GetPixel(dc, 3 + 4, item.top - r.top + 2);
        seen.item = GetPixel(dc, item.right - r.left - 4, item.top - r.top + 2);
        ReleaseDC(wnd, dc);
      }
      return true;
    });
  };

  Seen one;
  ASSERT_TRUE(drop(one));
  ASSERT_TRUE(one.wnd);
  EXPECT_TRUE(one.recordByWindow && one.cornerCut && one.insideKept);
  EXPECT_EQ(one.background, one.window);
  EXPECT_EQ(static_cast<vcl::TColor>(one.extra), kExtra);
  EXPECT_EQ(static_cast<vcl::TColor>(one.item), kItem);
  EXPECT_EQ(one.extraLine, vcl::TRect(3, 3, 3 + 32, one.window.cy - 3));
  EXPECT_EQ(MenuCacheCount(), 1);

  // Longer and more items: the next drop builds the background for the new size.
  first->SetCaption(L"&Open a much longer caption than before");
  for (int i = 0; i < 3; ++i) AddItem(root, L"&More", form.get());
  menus->SetMenuOwnerDraw(popup, true);
  Seen two;
  ASSERT_TRUE(drop(two));
  EXPECT_TRUE(two.recordByWindow);
  EXPECT_EQ(two.background, two.window);
  EXPECT_TRUE(two.window.cx > one.window.cx && two.window.cy > one.window.cy);
  EXPECT_EQ(MenuCacheCount(), 1);
  EXPECT_EQ(static_cast<vcl::TColor>(two.item), kItem);

  // The first item freed: its record goes, and a new first item gets a new one.
  vcl::TObject::Free(first);
  EXPECT_EQ(MenuCacheCount(), 0);
  manager->OnGetMenuExtraLineData = nullptr;
}

// The menu line

// A sub-menu of two items and a divider is made tall enough for its extra line's glyph and
// caption, its items sharing the room: the caption was cut where the short popup ended. Shown for real (the
// sub-menu opened by the keys in the menu loop): the sub-menu's caption as long as the long
// menu's, 12 pixels off the strip's bottom and clear of its top, its glyph whole; the long menu
// as tall as its items measure; without the extra line the sub-menu keeps its items' height.
TEST_F(SkinnedMenusTest, AShortSubMenuIsTallEnoughForItsExtraLine) {
  LoadSkin();
  vcl::TMenuItem* root = popup->Items();
  for (const wchar_t* caption : {L"&Open", L"&Save", L"Save &as", L"&Print", L"&Close"}) AddItem(root, caption, form.get());
  vcl::TMenuItem* more = AddItem(root, L"&More", form.get());
  vcl::TMenuItem* first = AddItem(more, L"&First", form.get());
  AddItem(more, L"-", form.get());
  vcl::TMenuItem* second = AddItem(more, L"&Second", form.get());
  support->SetUseExtraLine(true);
  support->ExtraLineFont()->SetName(L"Tahoma");
  support->ExtraLineFont()->SetSize(10);
  menus->SetMenuOwnerDraw(popup, true);
  struct Answer {
    bool visible = true;
    void Get(vcl::TMenuItem*, vcl::String& section, vcl::String& caption, std::unique_ptr<vcl::TBitmap>& glyph,
             bool& shown) {
      section = L"EXTRALINE";
      caption = L"Scrivane";
      glyph = std::make_unique<vcl::TBitmap>();
      glyph->SetSize(12, 20);
      glyph->Canvas()->Brush()->SetColor(vcl::clLime);
      glyph->Canvas()->FillRect(vcl::TRect{0, 0, 12, 20});
      shown = visible;
    }
  } answer;
  manager->OnGetMenuExtraLineData = TqvGetExtraLineData::Bind<&Answer::Get>(&answer);

  struct Popup {
    HWND wnd = nullptr;
    vcl::TSize size{};
    vcl::TRect strip, caption, glyph;  // in the window
    std::vector<int> items;            // the items' heights
  };
  auto look = [&](HWND wnd) {
    Popup p;
    p.wnd = wnd;
    RECT r{};
    GetWindowRect(wnd, &r);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      RECT item{};
      GetMenuItemRect(wnd, menu, static_cast<UINT>(i), &item);
      p.items.push_back(item.bottom - item.top);
    }
    p.size = {r.right - r.left, r.bottom - r.top};
    p.strip = ExtraLineRect(*menus, wnd);
    auto shown = CreateBmp32(p.size.cx, p.size.cy);
    HDC dc = GetWindowDC(wnd);
    BitBlt(shown->Canvas()->Handle(), 0, 0, p.size.cx, p.size.cy, dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);
    auto grow = [](vcl::TRect& box, int x, int y) {
      box = box.IsEmpty() ? vcl::TRect{x, y, x + 1, y + 1}
                          : vcl::TRect{std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                                       std::max(box.Bottom, y + 1)};
    };
    for (int y = p.strip.Top; y < p.strip.Bottom; ++y)
      for (int x = p.strip.Left; x < p.strip.Right; ++x) {
        const std::uint32_t c = PixelOf(shown.get(), x, y) & 0xFFFFFF;
        if (((c >> 16) & 0xFF) > 200 && ((c >> 8) & 0xFF) > 200 && (c & 0xFF) > 200) grow(p.caption, x, y);
        if (c == 0x00FF00) grow(p.glyph, x, y);
      }
    return p;
  };
  auto visiblePopups = [] {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
          if (IsWindowVisible(w) && GetWndClassName(w) == L"#32768") reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  };
  // The menu dropped, its last item (More) taken by the Up key and opened by the Right key.
  auto dropBoth = [&](Popup& main, Popup& sub) {
    HWND mainWnd = nullptr;
    int opened = 0;
    return RunMenuLoop([&] { popup->Popup(1300, 500); }, [&](int tick) {
      if (!mainWnd) {
        const std::vector<HWND> shown = visiblePopups();
        if (shown.size() != 1 || tick < 4) return false;
        mainWnd = shown.front();
        PostMessageW(mainWnd, WM_KEYDOWN, VK_UP, 0);
        PostMessageW(mainWnd, WM_KEYDOWN, VK_RIGHT, 0);
        return false;
      }
      const std::vector<HWND> shown = visiblePopups();
      if (shown.size() < 2) return false;
      if (!opened) opened = tick;
      if (tick < opened + 4) return false;
      main = look(mainWnd);
      for (HWND w : shown)
        if (w != mainWnd) sub = look(w);
      return true;
    });
  };
  // The height the items of a menu measure without room for the extra line, and the popup's frame.
  auto natural = [&](vcl::TMenuItem* parent) {
    int height = 2 * menus->BorderWidth();
    for (int i = 0; i < parent->Count(); ++i) height += menus->MeasurePopupItem(parent->Items(i), canvas_bmp.Canvas(), true).cy;
    return height;
  };

  Popup main, sub;
  ASSERT_TRUE(dropBoth(main, sub)) << "the sub-menu did not open";
  ASSERT_TRUE(main.wnd && sub.wnd);
  ASSERT_FALSE(main.caption.IsEmpty() || sub.caption.IsEmpty() || main.glyph.IsEmpty());
  EXPECT_EQ(main.size.cy, natural(root));  // tall enough of itself
  EXPECT_GT(sub.size.cy, natural(more));
  EXPECT_EQ(sub.caption.Height(), main.caption.Height());  // whole
  EXPECT_GT(sub.caption.Top, sub.strip.Top);
  EXPECT_EQ(sub.glyph, (vcl::TRect{sub.strip.Left + 10, sub.strip.Bottom - 12 - 20, sub.strip.Left + 22, sub.strip.Bottom - 12}));
  EXPECT_LE(sub.caption.Bottom, sub.glyph.Top - 8);
  // The two items share the room, the divider keeps its height.
  ASSERT_EQ(sub.items.size(), 3u);
  EXPECT_LE(std::abs(sub.items[0] - sub.items[2]), 1);
  EXPECT_EQ(sub.items[1], 2);
  EXPECT_EQ(sub.items[0] + sub.items[1] + sub.items[2] + 2 * menus->BorderWidth(), sub.size.cy);

  // Without the extra line the sub-menu is as tall as its items.
  ClearMenuCache();
  answer.visible = false;
  // The system measures a menu once: changed, it measures again.
  first->SetCaption(L"&First one");
  second->SetCaption(L"&Second one");
  Popup plainMain, plainSub;
  ASSERT_TRUE(dropBoth(plainMain, plainSub)) << "the sub-menu did not open";
  EXPECT_TRUE(plainSub.strip.IsEmpty());
  int plain = 2 * menus->BorderWidth();
  for (int i = 0; i < more->Count(); ++i) plain += menus->MeasurePopupItem(more->Items(i), canvas_bmp.Canvas(), false).cy;
  EXPECT_EQ(plainSub.size.cy, plain);
  manager->OnGetMenuExtraLineData = nullptr;
}

TEST_F(SkinnedMenusTest, TheMenuLineIsMeasuredAndPaintedOverTheWindowImage) {
  auto provider = NewProvider(form.get());
  auto* main = new vcl::TMainMenu(form.get());
  vcl::TMenuItem* file = AddItem(main->Items(), L"&File", form.get());
  AddItem(file, L"&Open", form.get());
  vcl::TMenuItem* edit = AddItem(main->Items(), L"&Edit", form.get());
  AddItem(edit, L"&Undo", form.get());
  edit->SetEnabled(false);
  form->SetMenu(main);
  LoadSkin();
  ASSERT_TRUE(provider->FormSkinned());
  ASSERT_TRUE(menus->HasBarHandlers(file));

  // Measured from the caption; the system lays the line out with those widths.
  const vcl::TSize size = Measure(file);
  EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYMENU) - 1);
  canvas_bmp.Canvas()->Font()->Assign(vcl::Screen->MenuFont());
  EXPECT_EQ(size.cx, canvas_bmp.Canvas()->TextWidth(L"File"));
  DrawMenuBar(form->Handle());
  RECT window{}, r0{}, r1{};
  GetWindowRect(form->Handle(), &window);
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), main->Handle(), 0, &r0));
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), main->Handle(), 1, &r1));
  EXPECT_GE(r0.right - r0.left, size.cx);

  // Without a window image (the frame still the system's) the items stand on the menu
  // line's section.
  auto other = CreateBmp32(400, 100);
  const vcl::TRect at{10, 5, 10 + size.cx, 5 + size.cy};
  file->OnAdvancedDrawItem(file, other->Canvas(), at, {});
  EXPECT_EQ(ColorOf32(other.get(), 11, 6), kItem);
  EXPECT_TRUE(RectHasColor(other.get(), at, kLineText));
  const vcl::TRect next{100, 5, 140, 5 + size.cy};
  edit->OnAdvancedDrawItem(edit, other->Canvas(), next, {});
  EXPECT_TRUE(Near(ColorOf32(other.get(), 101, 6), Mix(kItem, kLine, DefDisabledBlend)));

  // The window image (what the frame's painting makes): the menu line's colour.
  provider->SkinData->InitCacheBmp();
  vcl::TBitmap* image = provider->SkinData->CacheBmp();
  image->SetSize(form->Width(), form->Height());
  image->Canvas()->Brush()->SetColor(kLine);
  image->Canvas()->FillRect(vcl::TRect{0, 0, image->Width(), image->Height()});
  vcl::TRect item0(r0);
  item0.Offset(-window.left, -window.top);
  file->OnAdvancedDrawItem(file, image->Canvas(), item0, {});
  EXPECT_EQ(ColorOf32(image, item0.Left + 1, item0.Top + 1), kItem);
  EXPECT_TRUE(RectHasColor(image, item0, kLineText));
  file->OnAdvancedDrawItem(file, image->Canvas(), item0, {vcl::odSelected});
  EXPECT_EQ(ColorOf32(image, item0.Left + 1, item0.Top + 1), kItemHot);
  EXPECT_EQ(menus->CurrentItemType(), smTopLine);
}


// The application's item data (the manager's OnGetPopupItemData) shape the popup items' font
// and colour; the menu line keeps the menu font.
TEST_F(SkinnedMenusTest, TheApplicationsItemDataReachPopupItemsButNotTheMenuLine) {
  auto provider = NewProvider(form.get());
  auto* main = new vcl::TMainMenu(form.get());
  vcl::TMenuItem* file = AddItem(main->Items(), L"&File", form.get());
  AddItem(file, L"&Open", form.get());
  form->SetMenu(main);
  vcl::TMenuItem* open = AddItem(popup->Items(), L"&Open", form.get());
  LoadSkin();
  ASSERT_TRUE(provider->FormSkinned());
  ASSERT_TRUE(menus->HasBarHandlers(file));
  menus->SetMenuOwnerDraw(popup, true);
  popup->Handle();
  const vcl::TSize plainPopup = Measure(open), plainBar = Measure(file);

  constexpr vcl::TColor kApp = 0x2080F0;
  struct Asker {
    std::vector<vcl::TMenuItem*> items;
    std::vector<vcl::TOwnerDrawState> states;
    void Get(vcl::TMenuItem* Item, vcl::TOwnerDrawState State, TqvMenuItemData* Data) {
      items.push_back(Item);
      states.push_back(State);
      Data->Font->SetSize(28);
      Data->Font->SetColor(kApp);
    }
  } asker;
  manager->OnGetPopupItemData = TqvGetPopupItemData::Bind<&Asker::Get>(&asker);

  // A popup item: measured in the application's font, asked with no state.
  const vcl::TSize bigPopup = Measure(open);
  EXPECT_GT(bigPopup.cy, plainPopup.cy);
  EXPECT_GT(bigPopup.cx, plainPopup.cx);
  ASSERT_FALSE(asker.items.empty());
  EXPECT_EQ(asker.items.back(), open);
  EXPECT_TRUE(asker.states.back().Empty());
  // Painted, it is asked with the item's state and written in the application's colour.
  auto client = CreateBmp32(bigPopup.cx, bigPopup.cy);
  const vcl::TRect r{0, 0, bigPopup.cx, bigPopup.cy};
  vcl::DrawMenuItem(open, client->Canvas(), r, {vcl::odSelected});
  EXPECT_EQ(asker.items.back(), open);
  EXPECT_TRUE(asker.states.back().Contains(vcl::odSelected));
  EXPECT_TRUE(RectHasColor(client.get(), r, kApp));

  // A menu-line item: never asked, measured and written in the menu font.
  asker.items.clear();
  EXPECT_EQ(Measure(file), plainBar);
  DrawMenuBar(form->Handle());
  auto line = CreateBmp32(200, plainBar.cy);
  const vcl::TRect at{0, 0, plainBar.cx + 8, plainBar.cy};
  file->OnAdvancedDrawItem(file, line->Canvas(), at, {});
  EXPECT_TRUE(RectHasColor(line.get(), at, kLineText));
  EXPECT_FALSE(RectHasColor(line.get(), at, kApp));
  EXPECT_EQ(std::count(asker.items.begin(), asker.items.end(), file), 0);
  manager->OnGetPopupItemData = nullptr;
}

}  // namespace
}  // namespace skin_layered::test
