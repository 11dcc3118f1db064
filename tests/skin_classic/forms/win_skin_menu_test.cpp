// The skinned menus on real windows: the menu bar, the message filter fed crafted messages and
// in real menu loops, owner-drawn items measured and drawn, popup frames, the system menu.
// Every menu loop is ended by a timer-posted cancel with a deadline.
#include "form_skin_support.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "classlib/controls/Messages.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/SysInfo.h"
#include "skin_classic/forms/MenuTracking.h"
#include "skin_classic/forms/SkinMenuPaint.h"
#include "skin_classic/forms/WinSkinPopMenu.h"

namespace winskin::test {

VCL_CLASS_INFO(TMdiFrameForm) {}

namespace {

// Pictures and sizes of the menu skin (on top of the form skin's).
constexpr int kMenuItemId = 6, kMenuBackId = 7;
constexpr int kBarLeft = 7;                    // the menu-bar picture's left margin
constexpr int kItemLeft = 5, kItemRight = 6;   // the menu-item picture's side margins
const Rgb kMenuColour = MakeRgb(10, 20, 30), kMenuText = MakeRgb(40, 50, 60), kHilightText = MakeRgb(70, 80, 90),
          kShadow = MakeRgb(100, 110, 120), kHilight = MakeRgb(130, 140, 150), kButtonHilight = MakeRgb(160, 170, 180);

std::string RgbText(Rgb c) {
  return std::to_string(c & 0xFF) + " " + std::to_string((c >> 8) & 0xFF) + " " + std::to_string((c >> 16) & 0xFF);
}

// The form skin with caption buttons (an icon button at the left), the menu-bar margins, the
// menu-item picture (five flat frames) unless left out, the popup frame picture and the menu
// colours; the shadow colour may be the menu text's.
PackageSpec MenuSkinSpec(bool itemPicture = true, bool shadowIsMenuText = false) {
  std::vector<ButtonSpec> buttons = StandardButtons();
  buttons.push_back({.action = 3, .align = 0, .x = 4, .y = 3});
  PackageSpec spec = FormSkinSpec(buttons);
  auto ini = std::find_if(spec.entries.begin(), spec.entries.end(), [](auto& e) { return e.name == "forms.ini"; });
  std::string text(ini->bytes.begin(), ini->bytes.end());
  const std::string bar = "menuBar=MenuBar.bmp\r\n";
  text.replace(text.find(bar), bar.size(), bar + "TileLeftMenu=" + std::to_string(kBarLeft) + "\r\nTileRightMenu=3\r\n");
  if (itemPicture) {
    text += "[MenuItem]\r\nImage=MenuItem.bmp\r\nLeftWidth=" + std::to_string(kItemLeft) +
            "\r\nTopHeight=2\r\nRightWidth=" + std::to_string(kItemRight) + "\r\nBottomHeight=2\r\n";
    spec.entries.push_back({"MenuItem.bmp", FramesBmp(20, 20, FrameColours(kMenuItemId, 5))});
  }
  text += "[MenuBackground]\r\nImage=MenuBack.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n";
  spec.entries.push_back({"MenuBack.bmp", FramesBmp(20, 20, FrameColours(kMenuBackId, 1))});
  text += "[Colours]\r\nMenu=" + RgbText(kMenuColour) + "\r\nMenuText=" + RgbText(kMenuText) +
          "\r\nHilightText=" + RgbText(kHilightText) + "\r\nButtonShadow=" + RgbText(shadowIsMenuText ? kMenuText : kShadow) +
          "\r\nHilight=" + RgbText(kHilight) + "\r\nButtonHilight=" + RgbText(kButtonHilight) + "\r\n";
  ini->bytes = ToBytes(text);
  return spec;
}

// Commands of the raw window's menu.
constexpr UINT kOpen = 101, kClose = 102, kBlank = 200, kUndo = 301, kGo = 400, kStop = 500;

// "&File" (a sub-menu), an item without caption, "&Edit" (disabled, a sub-menu), "&Go" and
// "&Stop" (disabled) as commands.
HMENU RawMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kOpen, L"&Open\tCtrl+O");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kClose, L"&Close");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_STRING, kBlank, L"");
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, kUndo, L"&Undo");
  AppendMenuW(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  AppendMenuW(bar, MF_STRING, kGo, L"&Go");
  AppendMenuW(bar, MF_STRING | MF_GRAYED, kStop, L"&Stop");
  return bar;
}

UniqueWindow MenuWindow(DWORD style = WS_OVERLAPPEDWINDOW, bool withMenu = true) {
  return RawWindow(style, 0, 0, withMenu ? RawMenu() : nullptr);
}

// A message of a kind waiting for a window, taken out of the queue.
std::optional<MSG> Take(HWND w, UINT msg) {
  MSG m{};
  if (PeekMessageW(&m, w, msg, msg, PM_REMOVE)) return m;
  return std::nullopt;
}

TPoint ScreenOf(HWND w, TPoint windowPoint) {
  RECT r{};
  GetWindowRect(w, &r);
  return TPoint(r.left + windowPoint.X, r.top + windowPoint.Y);
}

// A DC of the menu font.
struct MenuFontDC {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, vcl::Screen->MenuFont()->Handle());
  ~MenuFontDC() {
    SelectObject(dc, old);
    DeleteDC(dc);
  }
};

// The width the bar gives a caption: its text in the menu font, and 10.
int BarWidth(const String& caption) {
  if (caption.empty()) return 0;
  const MenuFontDC font;
  RECT r{};
  DrawTextW(font.dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_NOCLIP);
  return r.right - r.left + 10;
}

// ---------------------------------------------------------------------------------------
// Menu loops: a thread timer inside the loop calls Tick every 30 ms; the loop is cancelled
// (EndMenu) when Tick answers true and in any case after 4 seconds. The pointer's moves do not
// reach the loop.

struct LoopDriver {
  std::function<bool(int)> tick;
  int ticks = 0;
  ULONGLONG deadline = 0;
  bool late = false;
};
LoopDriver* g_driver = nullptr;

void CALLBACK DriverTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_driver) return;
  ++g_driver->ticks;
  const bool late = GetTickCount64() > g_driver->deadline;
  if (late) g_driver->late = true;
  if (late || (g_driver->tick && g_driver->tick(g_driver->ticks))) EndMenu();
}

// The loop does not follow the pointer: it is shared with the test programs running beside this
// one, and one moving it over the popup would select the item under it.
LRESULT CALLBACK SkipPointerMoves(int Code, WPARAM WParam, LPARAM LParam) {
  const auto* m = reinterpret_cast<const MSG*>(LParam);
  if (Code == MSGF_MENU && (m->message == WM_MOUSEMOVE || m->message == WM_NCMOUSEMOVE)) return 1;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}
struct PointerMovesSkipped {
  HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, &SkipPointerMoves, nullptr, GetCurrentThreadId());
  ~PointerMovesSkipped() { UnhookWindowsHookEx(hook); }
};

// True when the loop ended before the deadline.
bool RunMenuLoop(const std::function<void()>& Open, std::function<bool(int)> Tick) {
  LoopDriver driver{std::move(Tick), 0, GetTickCount64() + 4000};
  g_driver = &driver;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, &DriverTick);
  {
    const PointerMovesSkipped deaf;
    Open();
  }
  KillTimer(nullptr, timer);
  g_driver = nullptr;
  return !driver.late;
}

HWND VisiblePopupWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(w, name, 16);
        if (IsWindowVisible(w) && std::wstring_view(name) == L"#32768") {
          *reinterpret_cast<HWND*>(out) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

bool OwnerDrawn(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

MSG KeyDown(WPARAM key) {
  MSG m{};
  m.message = WM_KEYDOWN;
  m.wParam = key;
  return m;
}

// ---------------------------------------------------------------------------------------

class SkinnedMenus : public SkinnedWindows {
 protected:
  void SetUp() override {
    SkinnedWindows::SetUp();
    UseSkin(MenuSkinSpec());
  }
  void TearDown() override {
    vcl::SetTrackPopupMenuFunction(nullptr);
    vcl::SetSysLocale(std::nullopt);
    MenuTracking().End();
    SkinnedWindows::TearDown();
  }

  using MenuItems = std::vector<std::pair<const wchar_t*, std::vector<const wchar_t*>>>;

  // A TMainMenu of Owner with top-level items holding the items given.
  static vcl::TMainMenu* NewMainMenu(vcl::TComponent* Owner, const MenuItems& Items) {
    auto* menu = new vcl::TMainMenu(Owner);
    for (const auto& [caption, subs] : Items) {
      auto* item = new vcl::TMenuItem(menu);
      item->SetCaption(caption);
      for (const wchar_t* sub : subs) {
        auto* s = new vcl::TMenuItem(menu);
        s->SetCaption(sub);
        item->Add(s);
      }
      menu->Items()->Add(item);
    }
    return menu;
  }

  // The application's main form, an MDI frame with a File and a Window menu (the Window menu in
  // group 2, so a document's menus merge between them).
  static Owned<TMdiFrameForm> NewMenuFrame() {
    Owned<TMdiFrameForm> frame(vcl::Application->CreateForm<TMdiFrameForm>());
    frame->SetBounds(40, 40, 600, 420);
    vcl::TMainMenu* menu = NewMainMenu(frame.get(), {{L"&File", {L"&Open"}}, {L"&Window", {L"&Cascade"}}});
    menu->Items()->Items(1)->SetGroupIndex(2);
    frame->SetMenu(menu);
    return frame;
  }

  // A library form without a menu.
  static Owned<vcl::TForm> PlainForm() {
    Owned<vcl::TForm> form(new vcl::TForm(vcl::Application, 0));
    form->SetBounds(80, 80, 320, 240);
    form->SetCaption(L"Skinned menus");
    return form;
  }

  // A library form with a TMainMenu "&File" (Open, Save) and "&Edit" (Undo).
  Owned<vcl::TForm> MenuForm(vcl::TMainMenu** Menu = nullptr) {
    Owned<vcl::TForm> form = PlainForm();
    auto* menu = NewMainMenu(form.get(), {{L"&File", {L"&Open", L"&Save"}}, {L"&Edit", {L"&Undo"}}});
    form->SetMenu(menu);
    if (Menu) *Menu = menu;
    return form;
  }

  // Where the client area starts below the window's top.
  static int ClientTop(HWND w) {
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    RECT r{};
    GetWindowRect(w, &r);
    return origin.y - r.top;
  }
  static TPoint WindowSize(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return TPoint(r.right - r.left, r.bottom - r.top);
  }
  // What the non-client hit test answers at a window point.
  static LRESULT HitAt(HWND w, TPoint P) {
    RECT r{};
    GetWindowRect(w, &r);
    return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + P.X, r.top + P.Y));
  }
  // The frame of a library form as the skin paints it, into a memory bitmap.
  static std::unique_ptr<vcl::TBitmap> FormFrame(HWND w) {
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);  // other tests' windows may hold the activation
    const TPoint size = WindowSize(w);
    auto b = Surface(size.X, size.Y, vcl::clBlack);
    SendMessageW(w, kEnginePaintFrame, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), kEngineMark);
    return b;
  }

  // The bar laid out in a band of known place (as a frame paint lays it out).
  static TRect LayOut(TWinSkinForm* skin) {
    const TRect band(kLeft, kTop, 340 - kRight, kTop + skin->MenuHeight);
    skin->MenuBar()->Layout(band);
    return band;
  }
};

// ---------------------------------------------------------------------------------------
// The bar

TEST_F(SkinnedMenus, TheBarIsBuiltFromTheWindowsMenuLaidOutFromTheSkinAndSendsEnabledCommands) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  EXPECT_EQ(GetMenu(w.get()), nullptr);  // the native bar left the window
  TWinSkinMenu* bar = skin->MenuBar();
  ASSERT_EQ(bar->Count(), 5);
  const auto& items = bar->Items();
  EXPECT_EQ(items[0]->Caption, L"&File");
  EXPECT_TRUE(items[0]->Enabled && items[3]->Enabled);
  EXPECT_FALSE(items[2]->Enabled || items[4]->Enabled);
  EXPECT_NE(items[0]->SubMenu, nullptr);
  EXPECT_EQ(items[3]->SubMenu, nullptr);
  EXPECT_EQ(items[3]->ID, kGo);

  const TRect band = LayOut(skin);
  int x = band.Left + kBarLeft + 4;
  for (const auto& item : items) {
    EXPECT_EQ(item->BoundsRect.Left, x) << item->Index;
    EXPECT_EQ(item->BoundsRect.Width(), BarWidth(item->Caption)) << item->Index;  // 0 for no caption
    EXPECT_EQ(item->BoundsRect.Top, band.Top);
    EXPECT_EQ(item->BoundsRect.Bottom, band.Bottom - 1);
    x = item->BoundsRect.Right;
  }
  EXPECT_EQ(bar->ItemAt(Centre(items[3]->BoundsRect)), items[3].get());
  EXPECT_EQ(bar->ItemAt(TPoint(items[1]->BoundsRect.Left, band.Top + 2)), items[2].get());
  EXPECT_EQ(skin->ObjectAt(Centre(items[0]->BoundsRect)), items[0].get());

  // Accelerators find enabled items only, in either case.
  EXPECT_EQ(bar->FindAccel(L'F'), items[0].get());
  EXPECT_EQ(bar->FindAccel(L'g'), items[3].get());
  EXPECT_EQ(bar->FindAccel(L'e'), nullptr);
  EXPECT_EQ(bar->FindAccel(L's'), nullptr);
  EXPECT_EQ(bar->FindAccel(L'x'), nullptr);

  // Alt+G through the system's key menu command: the item's command, no menu loop.
  EXPECT_EQ(SendMessageW(w.get(), WM_SYSCOMMAND, SC_KEYMENU, L'g'), 1);
  std::optional<MSG> command = Take(w.get(), WM_COMMAND);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->wParam, kGo);
  EXPECT_FALSE(MenuTracking().Tracking());
  bar->TrackItem(items[4].get());  // disabled: nothing
  EXPECT_FALSE(Take(w.get(), WM_COMMAND));
}

// An enabled bar item with a sub-menu sends the command it stands for as its menu opens; a
// disabled one sends nothing and opens nothing; an item whose identifier is its sub-menu's
// handle (as the system's own menus make them) stands for no command and sends none.
TEST_F(SkinnedMenus, ABarItemWithASubMenuSendsItsCommandOnlyWhenEnabledAndACommand) {
  constexpr UINT kView = 700;
  HMENU bar = RawMenu();  // its File item's identifier is its sub-menu's handle
  HMENU view = CreatePopupMenu();
  AppendMenuW(view, MF_STRING, 701, L"&Zoom");
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.wID = kView;
  info.hSubMenu = view;
  info.dwTypeData = const_cast<wchar_t*>(L"&View");
  InsertMenuItemW(bar, GetMenuItemCount(bar), TRUE, &info);
  UniqueWindow w = RawWindow(WS_OVERLAPPEDWINDOW, 0, 0, bar);
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  LayOut(skin);
  const auto& items = skin->MenuBar()->Items();
  TMenuBtn* file = items[0].get();
  TMenuBtn* edit = items[2].get();
  TMenuBtn* viewItem = items.back().get();
  ASSERT_EQ(viewItem->ID, kView);
  ASSERT_EQ(viewItem->SubMenu, view);
  ASSERT_TRUE(file->SubMenu && !edit->Enabled);

  auto openAndCount = [&](TMenuBtn* item) {
    Log().messages.clear();
    bool opened = false;
    EXPECT_TRUE(RunMenuLoop([&] { skin->OpenBarItem(item); }, [&](int) { return opened = VisiblePopupWindow() != nullptr; }));
    PumpUntilIdle();
    return std::make_pair(opened, std::count_if(Log().messages.begin(), Log().messages.end(),
                                                [](const vcl::TMessage& m) { return m.Msg == WM_COMMAND; }));
  };
  auto [viewOpened, viewCommands] = openAndCount(viewItem);
  EXPECT_TRUE(viewOpened);
  EXPECT_EQ(viewCommands, 1);
  EXPECT_EQ(Log().Count(WM_COMMAND, kView), 1u);
  auto [fileOpened, fileCommands] = openAndCount(file);
  EXPECT_TRUE(fileOpened);
  EXPECT_EQ(fileCommands, 0);
  auto [editOpened, editCommands] = openAndCount(edit);
  EXPECT_FALSE(editOpened);
  EXPECT_EQ(editCommands, 0);
  viewItem->Enabled = false;
  auto [offOpened, offCommands] = openAndCount(viewItem);
  EXPECT_FALSE(offOpened);
  EXPECT_EQ(offCommands, 0);
}

// A hot or pressed bar item is filled with the skin's highlight colour.
TEST_F(SkinnedMenus, AHotBarItemIsFilledWithTheHighlightColour) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  skin->PaintFrame(nullptr);  // lays the bar out where it is painted
  TMenuBtn* go = skin->MenuBar()->Items()[3].get();
  const TRect r = go->BoundsRect;
  ASSERT_FALSE(r.IsEmpty());
  const TPoint at = ScreenOf(w.get(), Centre(r));
  SendMessageW(w.get(), WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(at.X, at.Y));
  ASSERT_EQ(go->State, TNCState::Hot);
  HDC dc = GetWindowDC(w.get());
  // Beside the caption (which starts 5 pixels in) and along the item's edge: no frame.
  for (const TPoint p : {TPoint(r.Left, r.Top), TPoint(r.Left + 2, (r.Top + r.Bottom) / 2), TPoint(r.Right - 1, r.Bottom - 1)})
    EXPECT_EQ(GetPixel(dc, p.X, p.Y), static_cast<COLORREF>(C(kHilight))) << p.X << "," << p.Y;
  ReleaseDC(w.get(), dc);
}

// A menu-bar picture with fewer columns than its two frames (however tall) is no picture: the
// band shows what it shows without the picture, not what lay in the painting's memory. From a
// column a frame up the band shows frame 1 on an active window and frame 2 on an inactive one;
// a picture a column short of, a column past or half the count past a whole count is cut into
// whole frames, and the band shows nothing of the other frame or of what is left over.
TEST_F(SkinnedMenus, ABarPictureNarrowerThanItsFramesGivesTheBandItsLookWithoutThePicture) {
  // The band's row below its top of the frame painted active or not, from its left border to its
  // right one.
  auto bandShows = [&](const PackageSpec& spec, bool active) {
    UseSkin(spec);
    UniqueWindow w = MenuWindow();
    TWinSkinForm* skin = SkinRaw(w.get());
    EXPECT_TRUE(skin && skin->MenuBar());
    if (!skin || !skin->MenuBar()) return std::vector<vcl::TColor>{};
    SendMessageW(w.get(), WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    const TPoint size = WindowSize(w.get());
    auto picture = Surface(size.X, size.Y, vcl::clBlack);
    skin->PaintFrame(picture->Canvas()->Handle());
    std::vector<vcl::TColor> row;
    for (int x = kLeft; x < size.X - kRight; ++x) row.push_back(Pixel(picture.get(), x, kTop + 2));
    return row;
  };
  // Its right end (no item there).
  auto end = [](const std::vector<vcl::TColor>& row) { return row.size() > 2 ? row[row.size() - 2] : vcl::clNone; };
  auto withBar = [](int frameWidth, int width, int height) {
    PackageSpec spec = MenuSkinSpec();
    auto bar = std::find_if(spec.entries.begin(), spec.entries.end(), [](auto& e) { return e.name == "MenuBar.bmp"; });
    bar->bytes = FrameStrip(kMenuBarId, 2, frameWidth, width, height);
    return spec;
  };
  PackageSpec without = MenuSkinSpec();
  std::erase_if(without.entries, [](const auto& e) { return e.name == "MenuBar.bmp"; });
  for (const bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    const vcl::TColor bare = end(bandShows(without, active));
    EXPECT_NE(bare, Frame(kMenuBarId, 1));
    EXPECT_EQ(end(bandShows(withBar(1, 1, 40), active)), bare) << "1 column";
    const vcl::TColor frame = Frame(kMenuBarId, active ? 1 : 2), other = Frame(kMenuBarId, active ? 2 : 1);
    EXPECT_EQ(end(bandShows(withBar(1, 2, 40), active)), frame) << "2 columns";
    for (const int width : {39, 40, 41}) {
      const std::vector<vcl::TColor> row = bandShows(withBar(width / 2, width, 18), active);
      EXPECT_EQ(end(row), frame) << width << " columns";
      EXPECT_EQ(std::count(row.begin(), row.end(), other), 0) << width << " columns";
      EXPECT_EQ(std::count(row.begin(), row.end(), C(LeftOverColour(kMenuBarId))), 0) << width << " columns";
    }
  }
}

// A menu-bar picture whose side margins take its frames' whole width has no pixels for the band
// between them: the band shows the skin's menu-bar colour there, active and not, never black;
// with one column between the margins, that column is stretched over the band.
TEST_F(SkinnedMenus, ABarPictureWithoutColumnsBetweenItsMarginsShowsTheBarColourThere) {
  const Rgb barColour = MakeRgb(11, 22, 33);
  // Two frames of 10 columns: the left six of one colour, the right four of another.
  auto side = [](int frame, bool right) { return MakeRgb(120 + 20 * frame, right ? 200 : 100, 77); };
  for (const int left : {6, 5}) {
    SCOPED_TRACE(left == 6 ? "no column between the margins" : "a column between");
    PackageSpec spec = MenuSkinSpec();
    for (PackageEntry& e : spec.entries) {
      if (e.name == "MenuBar.bmp")
        e.bytes = Bmp24(20, 18, [&](int x, int) { return side(x / 10 + 1, x % 10 >= 6); });
      if (e.name == "forms.ini") {
        std::string text(e.bytes.begin(), e.bytes.end());
        const std::string margins = "TileLeftMenu=" + std::to_string(kBarLeft) + "\r\nTileRightMenu=3\r\n";
        ASSERT_NE(text.find(margins), std::string::npos);
        text.replace(text.find(margins), margins.size(), "TileLeftMenu=" + std::to_string(left) + "\r\nTileRightMenu=4\r\n");
        text.replace(text.find("[Colours]\r\n"), 11, "[Colours]\r\nMenubar=11 22 33\r\n");
        e.bytes = ToBytes(text);
      }
    }
    UseSkin(spec);
    UniqueWindow w = MenuWindow();
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin && skin->MenuBar());
    for (const bool active : {true, false}) {
      SCOPED_TRACE(active ? "active" : "inactive");
      SendMessageW(w.get(), WM_NCACTIVATE, active ? TRUE : FALSE, 0);
      const TPoint size = WindowSize(w.get());
      auto picture = Surface(size.X, size.Y, vcl::clBlack);
      skin->PaintFrame(picture->Canvas()->Handle());
      const int y = kTop + 2, frame = active ? 1 : 2;
      const int first = kLeft, last = size.X - kRight - 1;
      // Between the last item and the band's right margin.
      const int middle = (skin->MenuBar()->Items().back()->BoundsRect.Right + last - 4) / 2;
      ASSERT_LT(middle, last - 4);
      EXPECT_EQ(Pixel(picture.get(), first, y), C(side(frame, false))) << "the left margin";
      EXPECT_EQ(Pixel(picture.get(), last, y), C(side(frame, true))) << "the right margin";
      // The column between the margins of 5 and 4 is the sixth, of the left colour.
      EXPECT_EQ(Pixel(picture.get(), middle, y), left == 6 ? C(barColour) : C(side(frame, false))) << "between them";
    }
  }
}

// A window narrower than its bar: the band ends at the right border, which stays the border's
// picture under an item that does not fit (hot or not, on the window and in the frame's picture),
// and a press there is no press on the item.
TEST_F(SkinnedMenus, TheBandOfANarrowWindowEndsAtItsRightBorder) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  skin->PaintFrame(nullptr);
  // The right border runs through the middle of the last item (the system keeps a sizeable
  // window wider than the first items).
  TMenuBtn* last = skin->MenuBar()->Items().back().get();
  const int width = (last->BoundsRect.Left + last->BoundsRect.Right) / 2 + kRight;
  RECT r{};
  GetWindowRect(w.get(), &r);
  SetWindowPos(w.get(), nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(w.get(), &r);
  ASSERT_EQ(r.right - r.left, width);
  skin->PaintFrame(nullptr);
  ASSERT_LT(last->BoundsRect.Left, width - kRight);
  ASSERT_GT(last->BoundsRect.Right, width);
  const TPoint border(width - 2, kTop + 3), inside(last->BoundsRect.Left + 2, kTop + 3);
  EXPECT_EQ(skin->ObjectAt(border), nullptr);
  EXPECT_EQ(skin->ObjectAt(inside), last);

  const TPoint at = ScreenOf(w.get(), inside);
  SendMessageW(w.get(), WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(at.X, at.Y));
  ASSERT_EQ(last->State, TNCState::Hot);
  HDC dc = GetWindowDC(w.get());
  EXPECT_EQ(GetPixel(dc, inside.X, inside.Y), static_cast<COLORREF>(C(kHilight)));
  EXPECT_EQ(GetPixel(dc, border.X, border.Y), static_cast<COLORREF>(Frame(kRightId, 1)));
  ReleaseDC(w.get(), dc);
  auto picture = Surface(width, r.bottom - r.top, vcl::clBlack);
  skin->PaintFrame(picture->Canvas()->Handle());
  for (int y = kTop; y < kTop + skin->MenuHeight; ++y)
    for (int x = width - kRight; x < width; ++x)
      ASSERT_EQ(Pixel(picture.get(), x, y), Frame(kRightId, 1)) << x << "," << y;
}

TEST_F(SkinnedMenus, ALibraryFormsBarFollowsItsMainMenuAndAltAndALetterOpenAnItem) {
  vcl::TMainMenu* menu = nullptr;
  Owned<vcl::TForm> form = MenuForm(&menu);
  menu->Items()->Items(0)->SetEnabled(false);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  TWinSkinMenu* bar = skin->MenuBar();
  EXPECT_EQ(bar->Menu(), menu);
  ASSERT_EQ(bar->Count(), 2);
  EXPECT_EQ(bar->Items()[1]->SubMenu, menu->Items()->Items(1)->Handle());
  EXPECT_EQ(bar->Items()[1]->ID, menu->Items()->Items(1)->Command());
  EXPECT_FALSE(bar->Items()[0]->Enabled);
  LayOut(skin);
  constexpr LPARAM kAltHeld = 0x20000000;
  EXPECT_EQ(form->Perform(vcl::CM_DIALOGCHAR, L'e', kAltHeld), 1);
  std::optional<MSG> click = Take(form->Handle(), WM_NCLBUTTONDOWN);
  ASSERT_TRUE(click);
  const TRect edit = bar->Items()[1]->BoundsRect;
  const TPoint at = ScreenOf(form->Handle(), TPoint(edit.Left + 1, edit.Top + 1));
  EXPECT_EQ(click->lParam, MAKELPARAM(at.X, at.Y));
  form->Perform(vcl::CM_DIALOGCHAR, L'e', 0);  // without Alt
  EXPECT_FALSE(Take(form->Handle(), WM_NCLBUTTONDOWN));
}

// A main menu given to a form after it was skinned becomes its skinned bar in a band of its own
// below the title (the window keeps its size, the client area starts below the band), and Alt
// and a letter open its items in the skinned menu loop; another menu given then replaces the
// bar's items.
TEST_F(SkinnedMenus, AMainMenuGivenAfterSkinningBecomesTheSkinnedBar) {
  Owned<vcl::TForm> form = PlainForm();
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  HWND w = form->Handle();
  ASSERT_FALSE(skin->MenuBar());
  ASSERT_EQ(ClientTop(w), kTop);
  const TPoint size = WindowSize(w);

  vcl::TMainMenu* menu = NewMainMenu(form.get(), {{L"&File", {L"&Open"}}, {L"&Edit", {L"&Undo"}}});
  form->SetMenu(menu);
  ASSERT_TRUE(skin->MenuBar());
  EXPECT_EQ(skin->MenuBar()->Menu(), menu);
  ASSERT_EQ(skin->MenuBar()->Count(), 2);
  EXPECT_EQ(skin->MenuBar()->Items()[1]->Caption, L"&Edit");
  EXPECT_EQ(GetMenu(w), nullptr);  // not the system's bar
  EXPECT_EQ(skin->MenuHeight, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(WindowSize(w), size);
  EXPECT_EQ(ClientTop(w), kTop + skin->MenuHeight);
  EXPECT_EQ(HitAt(w, TPoint(size.X / 2, kTop + 3)), HTMENU);
  auto frame = FormFrame(w);
  EXPECT_EQ(Pixel(frame.get(), size.X - kRight - 2, kTop + 2), Frame(kMenuBarId, 1));
  EXPECT_EQ(Pixel(frame.get(), size.X / 2, kTop - 2), Frame(kTopId, 1));

  // Alt+E as the system's key-menu command: the skinned bar's Edit item opens.
  int opened = -1;
  EXPECT_TRUE(RunMenuLoop([&] { SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, L'e'); }, [&](int) {
    if (MenuTracking().Form == skin) opened = MenuTracking().OpenIndex;
    return opened >= 0;
  }));
  EXPECT_EQ(opened, 1);
  PumpUntil([] { return SkinManager()->PopMenuCount() == 0; });

  // Another menu: its items on the same band.
  vcl::TMainMenu* other = NewMainMenu(form.get(), {{L"&Go", {L"&Home"}}});
  form->SetMenu(other);
  ASSERT_TRUE(skin->MenuBar());
  EXPECT_EQ(skin->MenuBar()->Menu(), other);
  ASSERT_EQ(skin->MenuBar()->Count(), 1);
  EXPECT_EQ(skin->MenuBar()->Items()[0]->SubMenu, other->Items()->Items(0)->Handle());
  EXPECT_EQ(ClientTop(w), kTop + skin->MenuHeight);
  EXPECT_EQ(GetMenu(w), nullptr);
}

// A menu taken away from a skinned form, or freed, takes the bar and its band along: nothing is
// left of its items (their menus are gone), the client area starts below the title again and
// the band is the title's or the client's. A form given back a menu gets a bar again.
TEST_F(SkinnedMenus, AMainMenuTakenAwayOrFreedTakesTheBarAndItsBand) {
  vcl::TMainMenu* menu = nullptr;
  Owned<vcl::TForm> form = MenuForm(&menu);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  HWND w = form->Handle();
  const int band = skin->MenuHeight;
  ASSERT_GT(band, 0);
  ASSERT_EQ(ClientTop(w), kTop + band);
  const TPoint size = WindowSize(w);

  for (const bool freed : {false, true}) {
    SCOPED_TRACE(freed ? "freed" : "taken away");
    if (freed) {
      form->SetMenu(menu);
      ASSERT_TRUE(skin->MenuBar());
      ASSERT_EQ(ClientTop(w), kTop + band);
      vcl::TObject::Free(menu);
    } else {
      form->SetMenu(nullptr);
    }
    EXPECT_FALSE(skin->MenuBar());
    EXPECT_EQ(skin->MenuHeight, 0);
    EXPECT_EQ(ClientTop(w), kTop);
    EXPECT_EQ(WindowSize(w), size);
    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_NE(HitAt(w, TPoint(size.X / 2, kTop + 3)), HTMENU);
    EXPECT_EQ(skin->ObjectAt(TPoint(kLeft + kBarLeft + 8, kTop + 3)), nullptr);
    // Alt+F finds no item to open: no menu loop at all.
    bool loop = false;
    EXPECT_TRUE(RunMenuLoop([&] { SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, L'f'); }, [&](int) { return loop = true; }));
    EXPECT_FALSE(loop);
    auto frame = FormFrame(w);
    EXPECT_NE(Pixel(frame.get(), size.X - kRight - 2, kTop + 2), Frame(kMenuBarId, 1));
  }
  // Unskinned, the form has no menu of the system's either.
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
  ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
  EXPECT_EQ(GetMenu(w), nullptr);
}

// A menu given to a window without a form object after it was skinned becomes its skinned bar in
// a band of its own below the title (the window keeps its size, the client area starts below the
// band), and Alt and a letter work its items; a menu given in its place (the old one destroyed)
// replaces the bar's items. Without a menu there is no band, and a frame change that brings no
// menu leaves the bar as it is. Unskinned, the window has its last menu back.
TEST_F(SkinnedMenus, AMenuGivenToAWindowWithoutAFormObjectAfterSkinningBecomesTheSkinnedBar) {
  auto check = [&](bool menuAtStart) {
    UseSkin(MenuSkinSpec());
    HMENU first = RawMenu();
    UniqueWindow window = RawWindow(WS_OVERLAPPEDWINDOW, 0, 0, menuAtStart ? first : nullptr);
    HWND w = window.get();
    TWinSkinForm* skin = SkinRaw(w);
    ASSERT_TRUE(skin);
    const TPoint size = WindowSize(w);
    auto frameChange = [&] {
      SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    };
    // The band's right end (no item there) as the frame is painted.
    auto bandEnd = [&] {
      SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
      auto picture = Surface(size.X, size.Y, vcl::clBlack);
      skin->PaintFrame(picture->Canvas()->Handle());
      return Pixel(picture.get(), size.X - kRight - 2, kTop + 2);
    };
    auto command = [&](wchar_t key) -> std::optional<WPARAM> {
      SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, key);
      std::optional<MSG> m = Take(w, WM_COMMAND);
      if (!m) return std::nullopt;
      return m->wParam;
    };
    if (!menuAtStart) {
      frameChange();
      EXPECT_FALSE(skin->MenuBar());
      EXPECT_EQ(skin->MenuHeight, 0);
      EXPECT_EQ(ClientTop(w), kTop);
      EXPECT_NE(bandEnd(), Frame(kMenuBarId, 1));
      ASSERT_TRUE(SetMenu(w, first));
    }
    ASSERT_TRUE(skin->MenuBar());
    EXPECT_EQ(skin->MenuBar()->MenuHandle, first);
    ASSERT_EQ(skin->MenuBar()->Count(), 5);
    EXPECT_EQ(skin->MenuBar()->Items()[0]->Caption, L"&File");
    EXPECT_EQ(GetMenu(w), nullptr);  // not the system's bar
    EXPECT_EQ(skin->MenuHeight, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(WindowSize(w), size);
    EXPECT_EQ(ClientTop(w), kTop + skin->MenuHeight);
    EXPECT_EQ(HitAt(w, TPoint(size.X / 2, kTop + 3)), HTMENU);
    EXPECT_NE(HitAt(w, TPoint(size.X / 2, kTop + skin->MenuHeight + 3)), HTMENU);
    EXPECT_EQ(bandEnd(), Frame(kMenuBarId, 1));
    EXPECT_EQ(command(L'g'), std::optional<WPARAM>(kGo));

    // Another menu in its place, the first destroyed: its items on the same band.
    constexpr UINT kAlphaOpen = 601, kBeta = 602;
    HMENU second = CreateMenu();
    HMENU alpha = CreatePopupMenu();
    AppendMenuW(alpha, MF_STRING, kAlphaOpen, L"&Open");
    AppendMenuW(second, MF_POPUP, reinterpret_cast<UINT_PTR>(alpha), L"&Alpha");
    AppendMenuW(second, MF_STRING, kBeta, L"&Beta");
    ASSERT_TRUE(SetMenu(w, second));
    DestroyMenu(first);
    ASSERT_TRUE(skin->MenuBar());
    EXPECT_EQ(skin->MenuBar()->MenuHandle, second);
    ASSERT_EQ(skin->MenuBar()->Count(), 2);
    EXPECT_EQ(skin->MenuBar()->Items()[0]->Caption, L"&Alpha");
    EXPECT_EQ(skin->MenuBar()->Items()[0]->SubMenu, alpha);
    EXPECT_EQ(skin->MenuBar()->Items()[1]->ID, kBeta);
    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_EQ(ClientTop(w), kTop + skin->MenuHeight);
    EXPECT_EQ(WindowSize(w), size);
    EXPECT_EQ(bandEnd(), Frame(kMenuBarId, 1));
    EXPECT_EQ(command(L'b'), std::optional<WPARAM>(kBeta));
    EXPECT_EQ(command(L'g'), std::nullopt);  // the old menu's item is gone

    // A frame change without a menu: the bar stays.
    frameChange();
    ASSERT_TRUE(skin->MenuBar());
    EXPECT_EQ(skin->MenuBar()->MenuHandle, second);
    EXPECT_EQ(skin->MenuBar()->Count(), 2);
    EXPECT_EQ(ClientTop(w), kTop + skin->MenuHeight);

    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
    ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
    EXPECT_EQ(GetMenu(w), second);
  };
  for (const bool menuAtStart : {false, true}) {
    SCOPED_TRACE(menuAtStart ? "a window skinned with a menu" : "a window skinned without a menu");
    check(menuAtStart);
  }
}

// An MDI document's menu merged into its frame's menu shows on the frame's skinned bar, in the
// place of its group, and Alt and the letter of its item typed in the document open that item;
// the document closed, the bar is the frame's menu alone again. A frame menu whose items change
// while documents are open shows them too, and a document without a menu shows the frame's menu
// alone while it is active. (The frame's menu handle stays the same through the merging: its
// client takes no new frame menu, so the bar reads the menu it is given.)
TEST_F(SkinnedMenus, AnMdiDocumentsMenuMergedIntoTheFramesMenuShowsOnTheFramesBar) {
  ASSERT_FALSE(vcl::Application->MainForm());
  Owned<TMdiFrameForm> frame = NewMenuFrame();
  auto* menu = dynamic_cast<vcl::TMainMenu*>(frame->Menu());
  ASSERT_TRUE(menu);
  TWinSkinForm* skin = ShowSkinned(frame.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  auto captions = [&] {
    std::vector<String> out;
    if (skin->MenuBar())
      for (const auto& item : skin->MenuBar()->Items()) out.push_back(item->Caption);
    return out;
  };
  ASSERT_EQ(captions(), (std::vector<String>{L"&File", L"&Window"}));

  Owned<vcl::TForm> document(new vcl::TForm(vcl::Application, 0));
  document->SetFormStyle(vcl::fsMDIChild);
  document->SetCaption(L"Document");
  vcl::TMainMenu* own = NewMainMenu(document.get(), {{L"&Document", {L"&Print"}}});
  own->Items()->Items(0)->SetGroupIndex(1);
  document->SetMenu(own);
  document->Show();
  ASSERT_TRUE(PumpUntil([&] { return Ready(document->Handle()); }));
  PumpUntilIdle();
  ASSERT_EQ(menu->Items()->Merged(), own->Items());
  EXPECT_EQ(captions(), (std::vector<String>{L"&File", L"&Document", L"&Window"}));
  EXPECT_EQ(GetMenu(frame->Handle()), nullptr);
  ASSERT_EQ(skin->MenuBar()->Count(), 3);
  EXPECT_EQ(skin->MenuBar()->Items()[1]->SubMenu, own->Items()->Items(0)->Handle());
  // Alt+D in the document: the frame's bar opens its Document item.
  LayOut(skin);
  constexpr LPARAM kAltHeld = 0x20000000;
  EXPECT_EQ(document->Perform(vcl::CM_DIALOGCHAR, L'd', kAltHeld), 1);
  std::optional<MSG> click = Take(frame->Handle(), WM_NCLBUTTONDOWN);
  ASSERT_TRUE(click);
  const TRect item = skin->MenuBar()->Items()[1]->BoundsRect;
  const TPoint at = ScreenOf(frame->Handle(), TPoint(item.Left + 1, item.Top + 1));
  EXPECT_EQ(click->lParam, MAKELPARAM(at.X, at.Y));

  // The frame's own items change while the document is open.
  menu->Items()->Items(0)->SetCaption(L"&Archive");
  PumpUntilIdle();
  EXPECT_EQ(captions(), (std::vector<String>{L"&Archive", L"&Document", L"&Window"}));

  // A document without a menu made active: the frame's menu alone; the first one again: merged.
  Owned<vcl::TForm> plain(new vcl::TForm(vcl::Application, 0));
  plain->SetFormStyle(vcl::fsMDIChild);
  plain->SetCaption(L"Plain");
  plain->Show();
  ASSERT_TRUE(PumpUntil([&] { return Ready(plain->Handle()); }));
  const HWND client = GetParent(plain->Handle());
  ASSERT_TRUE(PumpUntil([&] {
    return reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) == plain->Handle();
  }));
  PumpUntilIdle();
  EXPECT_EQ(captions(), (std::vector<String>{L"&Archive", L"&Window"}));
  SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document->Handle()), 0);
  PumpUntilIdle();
  EXPECT_EQ(captions(), (std::vector<String>{L"&Archive", L"&Document", L"&Window"}));
  plain.reset();
  PumpUntilIdle();
  EXPECT_EQ(captions(), (std::vector<String>{L"&Archive", L"&Document", L"&Window"}));

  document.reset();
  PumpUntilIdle();
  EXPECT_EQ(captions(), (std::vector<String>{L"&Archive", L"&Window"}));
  EXPECT_EQ(GetMenu(frame->Handle()), nullptr);
}

// Unskinned, a library MDI frame whose document is maximised has its menu back on its own bar
// with the document's items merged and its icon and buttons; restored, the buttons go.
TEST_F(SkinnedMenus, AnUnskinnedMdiFrameHasItsMenuBackWithAMaximisedDocumentsButtons) {
  ASSERT_FALSE(vcl::Application->MainForm());
  Owned<TMdiFrameForm> frame = NewMenuFrame();
  auto* menu = dynamic_cast<vcl::TMainMenu*>(frame->Menu());
  ASSERT_TRUE(menu);
  TWinSkinForm* skin = ShowSkinned(frame.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  Owned<vcl::TForm> document(new vcl::TForm(vcl::Application, 0));
  document->SetFormStyle(vcl::fsMDIChild);
  vcl::TMainMenu* own = NewMainMenu(document.get(), {{L"&Document", {L"&Print"}}});
  own->Items()->Items(0)->SetGroupIndex(1);
  document->SetMenu(own);
  document->Show();
  ASSERT_TRUE(PumpUntil([&] { return Ready(document->Handle()); }));
  document->SetWindowState(vcl::wsMaximized);
  PumpUntilIdle();
  ASSERT_TRUE(IsZoomed(document->Handle()));
  ASSERT_EQ(GetMenu(frame->Handle()), nullptr);

  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
  ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
  PumpUntilIdle();
  const HMENU bar = GetMenu(frame->Handle());
  ASSERT_EQ(bar, menu->Handle());
  const HMENU print = own->Items()->Items(0)->Handle();
  bool merged = false;
  for (int i = 0; i < GetMenuItemCount(bar); ++i) merged = merged || GetSubMenu(bar, i) == print;
  EXPECT_TRUE(merged);
  EXPECT_NE(GetMenuState(bar, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(bar, SC_RESTORE, MF_BYCOMMAND), static_cast<UINT>(-1));
  document->SetWindowState(vcl::wsNormal);
  PumpUntilIdle();
  EXPECT_EQ(GetMenuState(bar, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuItemCount(bar), 3);
  document.reset();
}

// A maximised document's buttons on the band of a frame too narrow for its items: the items end
// a gap before the buttons (the item under them cut, shown up to there), never drawn over them,
// hot or not; a press on a button is the button's, on the item's shown part the item's. Alt and
// the letter of an item cut off whole still open it and press no button. Right to left the items
// run leftwards from before the buttons.
TEST_F(SkinnedMenus, TheItemsOfANarrowMdiFrameEndBeforeAMaximisedDocumentsButtons) {
  const Rgb kBarText = MakeRgb(210, 30, 190);
  PackageSpec spec = MenuSkinSpec();
  auto ini = std::find_if(spec.entries.begin(), spec.entries.end(), [](auto& e) { return e.name == "forms.ini"; });
  const std::string colour = "MenuBarText=" + RgbText(kBarText) + "\r\n";  // the [Colours] section is the last
  ini->bytes.insert(ini->bytes.end(), colour.begin(), colour.end());
  UseSkin(spec);
  constexpr int kGap = 2;
  for (const bool rtl : {false, true}) {
    SCOPED_TRACE(rtl ? "right to left" : "left to right");
    if (rtl) {
      vcl::TSysLocale locale = vcl::SysLocale();
      locale.MiddleEast = true;
      vcl::SetSysLocale(locale);
    }
    ASSERT_FALSE(vcl::Application->MainForm());
    Owned<TMdiFrameForm> frame(vcl::Application->CreateForm<TMdiFrameForm>());
    frame->SetBounds(40, 40, 600, 420);
    vcl::TMainMenu* menu = NewMainMenu(
        frame.get(), {{L"&File", {L"&Open"}}, {L"&Edit", {L"&Undo"}}, {L"&View", {L"&Zoom"}}, {L"&Window", {L"&Cascade"}}});
    if (rtl) menu->SetBiDiMode(vcl::bdRightToLeft);
    frame->SetMenu(menu);
    TWinSkinForm* skin = ShowSkinned(frame.get());
    ASSERT_TRUE(skin && skin->MenuBar());
    Owned<vcl::TForm> document(new vcl::TForm(vcl::Application, 0));
    document->SetFormStyle(vcl::fsMDIChild);
    document->Show();
    ASSERT_TRUE(PumpUntil([&] { return Ready(document->Handle()); }));
    document->SetWindowState(vcl::wsMaximized);
    PumpUntilIdle();
    ASSERT_TRUE(IsZoomed(document->Handle()));
    TWinSkinMenu* bar = skin->MenuBar();
    ASSERT_EQ(bar->Count(), 4);
    const HWND w = frame->Handle();
    // The first of the buttons on the band (laid out by a frame paint).
    auto buttonsLeft = [&] {
      FormFrame(w);
      int left = INT_MAX;
      for (const auto& b : skin->Buttons())
        if (b->OnMenuBand() && b->Visible && !b->BoundsRect.IsEmpty()) left = std::min(left, b->BoundsRect.Left);
      return left;
    };
    auto narrowTo = [&](int width) {
      RECT r{};
      GetWindowRect(w, &r);
      SetWindowPos(w, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      PumpUntilIdle();
      return WindowSize(w).X == width;
    };
    const int left0 = buttonsLeft();
    ASSERT_NE(left0, INT_MAX) << "no buttons on the band";
    const int fromRight = WindowSize(w).X - left0;  // the buttons keep their place from the right edge
    // Left to right the last item ends under the buttons' middle; right to left the first item
    // (the rightmost) starts before them and the last one is cut by the band's left end.
    TMenuBtn* cut = bar->Items()[rtl ? 0 : 3].get();
    const TRect full = cut->BoundsRect;
    if (!rtl) {
      ASSERT_TRUE(narrowTo(Centre(full).X + fromRight));
    } else {
      const int items = bar->Items()[0]->BoundsRect.Right - bar->Items()[3]->BoundsRect.Left;
      ASSERT_TRUE(narrowTo(fromRight + kGap + kLeft + items / 2));
    }
    const int left = buttonsLeft();
    ASSERT_EQ(left, WindowSize(w).X - fromRight);
    auto picture = FormFrame(w);
    const TRect band = bar->BarRect();
    std::vector<TRect> buttons;
    for (const auto& b : skin->Buttons())
      if (b->OnMenuBand() && b->Visible && !b->BoundsRect.IsEmpty()) buttons.push_back(b->BoundsRect);
    ASSERT_EQ(buttons.size(), 3u);
    auto textIn = [&](vcl::TBitmap* b, int x0, int x1) {
      int n = 0;
      for (int y = band.Top; y < band.Bottom; ++y)
        for (int x = x0; x < x1; ++x) n += Pixel(b, x, y) == C(kBarText);
      return n;
    };
    // No item's text from the gap before the buttons to the band's end; the item's shown part has its own.
    EXPECT_EQ(textIn(picture.get(), left - kGap, band.Right), 0);
    if (!rtl) {
      EXPECT_LT(cut->BoundsRect.Left, left - kGap);
      EXPECT_GT(textIn(picture.get(), cut->BoundsRect.Left, left - kGap), 0) << "the cut item is not shown";
    } else {
      EXPECT_LE(bar->Items()[0]->BoundsRect.Right, left - kGap);
      EXPECT_GT(textIn(picture.get(), bar->Items()[0]->BoundsRect.Left, bar->Items()[0]->BoundsRect.Right), 0);
      EXPECT_LT(bar->Items()[3]->BoundsRect.Left, band.Left) << "the last item is not cut by the band's left end";
    }
    // Both sides of the items' end: the last column before the gap is the item's, the gap is no one's,
    // the button's first column the button's.
    TMenuBtn* last = rtl ? bar->Items()[0].get() : cut;
    const int y = Centre(last->BoundsRect).Y;
    EXPECT_EQ(skin->ObjectAt(TPoint(left - kGap - 1, y)), last);
    EXPECT_EQ(skin->ObjectAt(TPoint(left - kGap, y)), nullptr);
    EXPECT_EQ(skin->ObjectAt(TPoint(left - 1, y)), nullptr);
    TNCObject* pressed = skin->ObjectAt(TPoint(left, Centre(buttons.front()).Y));
    ASSERT_TRUE(pressed);
    EXPECT_TRUE(dynamic_cast<TWinSysButton*>(pressed));

    // Hot, the item lights its shown part alone.
    const TPoint shown(rtl ? Centre(last->BoundsRect).X : (cut->BoundsRect.Left + left - kGap) / 2, y);
    const TPoint at = ScreenOf(w, shown);
    SendMessageW(w, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(at.X, at.Y));
    ASSERT_EQ(last->State, TNCState::Hot);
    HDC dc = GetWindowDC(w);
    EXPECT_EQ(GetPixel(dc, shown.X, shown.Y), static_cast<COLORREF>(C(kHilight)));
    int lit = 0;
    for (const TRect& r : buttons)
      for (int py = r.Top; py < r.Bottom; ++py)
        for (int px = r.Left; px < r.Right; ++px) lit += GetPixel(dc, px, py) == static_cast<COLORREF>(C(kHilight));
    for (int py = band.Top; py < band.Bottom; ++py)
      lit += GetPixel(dc, left - 1, py) == static_cast<COLORREF>(C(kHilight));
    ReleaseDC(w, dc);
    EXPECT_EQ(lit, 0) << "the hot item is drawn over the buttons";

    if (!rtl) {
      // Narrower still: the last item lies under the buttons whole. Alt and its letter open it.
      ASSERT_TRUE(narrowTo(full.Left - 4 + fromRight));
      FormFrame(w);
      ASSERT_LE(buttonsLeft(), cut->BoundsRect.Left);
      EXPECT_EQ(textIn(FormFrame(w).get(), buttonsLeft() - kGap, band.Right), 0);
      constexpr LPARAM kAltHeld = 0x20000000;
      EXPECT_EQ(frame->Perform(vcl::CM_DIALOGCHAR, L'w', kAltHeld), 1);
      std::optional<MSG> click = Take(w, WM_NCLBUTTONDOWN);
      ASSERT_TRUE(click);
      int opened = -1;
      EXPECT_TRUE(RunMenuLoop([&] { DispatchMessageW(&*click); },
                              [&](int) {
                                opened = MenuTracking().OpenIndex;
                                return VisiblePopupWindow() != nullptr;
                              }));
      EXPECT_EQ(opened, 3) << "the item cut off whole did not open";
      for (const auto& b : skin->Buttons()) EXPECT_EQ(b->State, TNCState::Normal) << "a button was pressed";
      PumpUntilIdle();
      EXPECT_TRUE(IsZoomed(document->Handle()));
    }
    document.reset();
    frame.reset();
    PumpUntilIdle();
    vcl::SetSysLocale(std::nullopt);
  }
}

// ---------------------------------------------------------------------------------------
// The message filter

TEST_F(SkinnedMenus, TheFilterMovesRoundTheBarWithLeftAndRight) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  LayOut(skin);
  TMenuTracking& t = MenuTracking();
  HMENU file = skin->MenuBar()->Items()[0]->SubMenu;
  bool byKey = false;
  auto feed = [&](int open, MSG m, HMENU selected = nullptr, bool selectedHasSub = false) {
    t.Begin(skin, open);
    t.FirstKeySent = true;
    t.SelectedMenu = selected;
    t.SelectedHasSubMenu = selectedHasSub;
    const LRESULT kept = t.Filter(MSGF_MENU, m);
    const int target = t.SwitchPending ? t.SwitchTarget : -1;
    byKey = t.SwitchByKey;
    EXPECT_EQ(kept, target >= 0 ? 1 : 0);
    t.End();
    return target;
  };
  EXPECT_EQ(feed(0, KeyDown(VK_RIGHT)), 2);          // the item without caption is passed over
  EXPECT_TRUE(byKey);  // the menu it opens selects its first item
  EXPECT_EQ(feed(4, KeyDown(VK_RIGHT)), 0);          // after the last: the first
  EXPECT_EQ(feed(0, KeyDown(VK_LEFT)), 4);           // before the first: the last
  EXPECT_EQ(feed(0, KeyDown(VK_LEFT), file), 4);     // the selection on the dropped menu's level
  HMENU deeper = skin->MenuBar()->Items()[2]->SubMenu;  // any menu but the dropped one
  EXPECT_EQ(feed(0, KeyDown(VK_LEFT), deeper), -1);     // deeper: the menu closes a level
  EXPECT_EQ(feed(0, KeyDown(VK_RIGHT), file, true), -1);          // Right opens the item's sub-menu
  MSG other = KeyDown(VK_RIGHT);
  t.Begin(skin, 0);
  EXPECT_EQ(t.Filter(MSGF_DIALOGBOX, other), 0);  // not a menu's message
  EXPECT_FALSE(t.SwitchPending);
  t.End();

  // The mouse over another item of the bar.
  MSG move{};
  move.message = WM_MOUSEMOVE;
  const TPoint go = ScreenOf(w.get(), Centre(skin->MenuBar()->Items()[3]->BoundsRect));
  move.pt = {go.X, go.Y};
  EXPECT_EQ(feed(0, move), 3);
  EXPECT_FALSE(byKey);
  move.pt = {go.X + 1, go.Y};
  EXPECT_EQ(feed(3, move), -1);  // over the open item itself
}

TEST_F(SkinnedMenus, TheFilterSelectsTheFirstItemOfAKeyboardMenuAndFollowsTheMenuClosing) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  TMenuTracking& t = MenuTracking();
  // Opened with the mouse, the menu selects nothing of itself.
  t.Begin(skin, 0, false);
  MSG idle{};
  idle.message = WM_TIMER;
  t.Filter(MSGF_MENU, idle);
  EXPECT_FALSE(Take(w.get(), WM_KEYDOWN));
  t.End();
  // Opened from the keyboard, its first item.
  t.Begin(skin, 0, true);
  EXPECT_TRUE(t.HookInstalled());
  t.Filter(MSGF_MENU, idle);
  std::optional<MSG> down = Take(w.get(), WM_KEYDOWN);
  ASSERT_TRUE(down);
  EXPECT_EQ(down->wParam, static_cast<WPARAM>(VK_DOWN));
  t.Filter(MSGF_MENU, idle);
  EXPECT_FALSE(Take(w.get(), WM_KEYDOWN));  // the first time only

  skin->Tracking = true;
  t.MenuSelect(MAKEWPARAM(kOpen, MF_HILITE), reinterpret_cast<LPARAM>(skin->MenuBar()->Items()[0]->SubMenu));
  EXPECT_TRUE(skin->Tracking);
  t.MenuSelect(MAKEWPARAM(0, 0xFFFF), 0);  // closed
  EXPECT_FALSE(skin->Tracking);
  skin->Tracking = true;
  t.SwitchPending = true;
  t.MenuSelect(MAKEWPARAM(0, 0xFFFF), 0);  // closed for a switch
  EXPECT_TRUE(skin->Tracking);
  MSG alt{};
  alt.message = WM_SYSKEYDOWN;
  alt.wParam = VK_MENU;
  t.Filter(MSGF_MENU, alt);
  EXPECT_FALSE(skin->Tracking);
  t.End();
  EXPECT_FALSE(t.HookInstalled());
  skin->Tracking = false;
}

TEST_F(SkinnedMenus, RightToLeftMenusSwapLeftAndRight) {
  vcl::TSysLocale locale = vcl::SysLocale();
  locale.MiddleEast = true;
  vcl::SetSysLocale(locale);
  vcl::TMainMenu* menu = nullptr;
  Owned<vcl::TForm> form = MenuForm(&menu);
  menu->SetBiDiMode(vcl::bdRightToLeft);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  LayOut(skin);
  TMenuTracking& t = MenuTracking();
  t.Begin(skin, 0);
  t.FirstKeySent = true;
  vcl::TMenuItem* open = menu->Items()->Items(0)->Items(0);
  t.MenuSelect(MAKEWPARAM(open->Command(), MF_HILITE), reinterpret_cast<LPARAM>(menu->Items()->Items(0)->Handle()));
  EXPECT_EQ(t.SelectedItem, open);
  MSG left = KeyDown(VK_LEFT);
  EXPECT_EQ(t.Filter(MSGF_MENU, left), 1);
  EXPECT_EQ(left.wParam, static_cast<WPARAM>(VK_RIGHT));  // the menu sees the other key
  EXPECT_TRUE(t.SwitchPending);
  EXPECT_EQ(t.SwitchTarget, 1);
  t.End();
}

// ---------------------------------------------------------------------------------------
// Real menu loops

TEST_F(SkinnedMenus, ADroppedMenuIsOwnerDrawnInAFramedPopupAndClosedByATimer) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  LayOut(skin);
  TMenuBtn* file = skin->MenuBar()->Items()[0].get();
  HMENU sub = file->SubMenu;
  bool ownerDrawn = false, fromBar = false, tracking = false, selected = false;
  int popups = 0;
  COLORREF onWindow = CLR_INVALID;
  RECT firstItem{}, secondItem{};
  std::unique_ptr<vcl::TBitmap> print;
  const bool ended = RunMenuLoop([&] { skin->OpenBarItem(file); }, [&](int tick) {
    HWND popup = VisiblePopupWindow();
    if (!popup || tick < 3) return false;
    popups = SkinManager()->PopMenuCount();
    if (auto* p = dynamic_cast<TWinSkinPopMenu*>(SkinManager()->FindPopMenu(popup))) fromBar = p->FromMenuBar;
    ownerDrawn = OwnerDrawn(sub, 0) && OwnerDrawn(sub, 1) && OwnerDrawn(sub, 2);
    tracking = skin->Tracking && MenuTracking().Form == skin;
    selected = GetMenuState(sub, 0, MF_BYPOSITION) & MF_HILITE;
    RECT r{};
    GetWindowRect(popup, &r);
    // The frame as the window itself shows it (its non-client and client painting).
    if (HDC dc = GetWindowDC(popup)) {
      onWindow = GetPixel(dc, 1, (r.bottom - r.top) / 2);
      ReleaseDC(popup, dc);
    }
    GetMenuItemRect(w.get(), sub, 0, &firstItem);
    GetMenuItemRect(w.get(), sub, 2, &secondItem);
    OffsetRect(&firstItem, -r.left, -r.top);
    OffsetRect(&secondItem, -r.left, -r.top);
    print = Surface(r.right - r.left, r.bottom - r.top, vcl::clBlack);
    SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(print->Canvas()->Handle()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    return true;
  });
  EXPECT_TRUE(ended);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(fromBar);
  EXPECT_TRUE(ownerDrawn);
  EXPECT_TRUE(tracking);
  EXPECT_TRUE(selected);  // the first item, as from the keyboard
  // After the loop: tracking over, the filter gone, the items drawn by the system again.
  EXPECT_FALSE(MenuTracking().Tracking());
  EXPECT_FALSE(MenuTracking().HookInstalled());
  EXPECT_FALSE(skin->Tracking);
  EXPECT_FALSE(OwnerDrawn(sub, 0));
  EXPECT_TRUE(PumpUntil([] { return SkinManager()->PopMenuCount() == 0; }));
  EXPECT_EQ(SkinManager()->PopupKind(), TPopupKind::Popup);

  EXPECT_EQ(static_cast<vcl::TColor>(onWindow), Frame(kMenuBackId, 1));
  // The frame and the items of the popup, printed into a memory bitmap.
  ASSERT_TRUE(print);
  const int h = print->Height(), wd = print->Width();
  for (const TPoint p : {TPoint(0, h / 2), TPoint(2, h / 2), TPoint(wd / 2, 1), TPoint(wd - 1, h / 2), TPoint(wd / 2, h - 2)})
    EXPECT_EQ(Pixel(print.get(), p.X, p.Y), Frame(kMenuBackId, 1)) << p.X << "," << p.Y;
  // Right of the shortcut and above the text: the item picture, selected or not.
  EXPECT_EQ(Pixel(print.get(), firstItem.right - 4, firstItem.top + 1), Frame(kMenuItemId, 4));
  EXPECT_EQ(Pixel(print.get(), secondItem.right - 4, secondItem.top + 1), Frame(kMenuItemId, 1));
}

// A popup frame picture whose margins take its whole width or height has no pixels for the
// parts between them: the dropped menu's frame shows the menu's colour there, as its items do,
// never black; the margins' pieces stand where they belong, and one pixel between the margins is
// stretched over the middle.
TEST_F(SkinnedMenus, AFramePictureWithoutPixelsBetweenItsMarginsShowsTheMenuColourThere) {
  // The frame picture: 12 x 12, each of its nine pieces (cut at the margins) its own colour.
  auto piece = [](int column, int row) { return MakeRgb(200 + 10 * column, 30 * row, 99); };
  struct Case {
    int left, top, right, bottom;
  } cases[] = {{6, 3, 6, 3}, {3, 6, 3, 6}, {6, 6, 6, 6}, {6, 3, 5, 3}, {3, 6, 3, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top) + "," + std::to_string(c.right) + "," +
                 std::to_string(c.bottom));
    PackageSpec spec = MenuSkinSpec(false);
    for (PackageEntry& e : spec.entries) {
      if (e.name == "MenuBack.bmp")
        e.bytes = Bmp24(12, 12, [&](int x, int y) {
          return piece(x < c.left ? 0 : x >= 12 - c.right ? 2 : 1, y < c.top ? 0 : y >= 12 - c.bottom ? 2 : 1);
        });
      if (e.name == "forms.ini") {
        std::string text(e.bytes.begin(), e.bytes.end());
        const std::string was = "[MenuBackground]\r\nImage=MenuBack.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n";
        ASSERT_NE(text.find(was), std::string::npos);
        text.replace(text.find(was), was.size(),
                     "[MenuBackground]\r\nImage=MenuBack.bmp\r\nLeftWidth=" + std::to_string(c.left) + "\r\nTopHeight=" +
                         std::to_string(c.top) + "\r\nRightWidth=" + std::to_string(c.right) +
                         "\r\nBottomHeight=" + std::to_string(c.bottom) + "\r\n");
        e.bytes = ToBytes(text);
      }
    }
    UseSkin(spec);
    UniqueWindow w = MenuWindow();
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin && skin->MenuBar());
    LayOut(skin);
    TMenuBtn* file = skin->MenuBar()->Items()[0].get();
    std::unique_ptr<vcl::TBitmap> print;
    EXPECT_TRUE(RunMenuLoop([&] { skin->OpenBarItem(file); }, [&](int tick) {
      HWND popup = VisiblePopupWindow();
      if (!popup || tick < 3) return false;
      RECT r{};
      GetWindowRect(popup, &r);
      print = Surface(r.right - r.left, r.bottom - r.top, vcl::clBlack);
      SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(print->Canvas()->Handle()),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
      return true;
    }));
    ASSERT_TRUE(print);
    const int wd = print->Width(), h = print->Height();
    const bool across = c.left + c.right == 12, down = c.top + c.bottom == 12;
    const vcl::TColor menu = C(kMenuColour);
    // The corners: their pieces.
    EXPECT_EQ(Pixel(print.get(), 0, 0), C(piece(0, 0)));
    EXPECT_EQ(Pixel(print.get(), wd - 1, h - 1), C(piece(2, 2)));
    // The top edge's middle, the left edge's middle and the right edge's middle.
    EXPECT_EQ(Pixel(print.get(), wd / 2, 1), across ? menu : C(piece(1, 0))) << "the top edge";
    EXPECT_EQ(Pixel(print.get(), wd / 2, h - 1), across ? menu : C(piece(1, 2))) << "the bottom edge";
    EXPECT_EQ(Pixel(print.get(), 1, h / 2), down ? menu : C(piece(0, 1))) << "the left edge";
    EXPECT_EQ(Pixel(print.get(), wd - 1, h / 2), down ? menu : C(piece(2, 1))) << "the right edge";
    w.reset();
  }
}

// The menus of a raw window's bar: File (Open, Recent with a sub-menu), Go (no menu), Help.
struct ThreeItemBar {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU recent = CreatePopupMenu();
  HMENU help = CreatePopupMenu();
  ThreeItemBar() {
    AppendMenuW(recent, MF_STRING, 111, L"&One");
    AppendMenuW(recent, MF_STRING, 112, L"&Two");
    AppendMenuW(file, MF_STRING, kOpen, L"&Open");
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"&Recent");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(help, MF_STRING, kUndo, L"&About");
    AppendMenuW(bar, MF_STRING, kGo, L"&Go");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
  }
};

int VisiblePopupWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(w, name, 16);
        if (IsWindowVisible(w) && std::wstring_view(name) == L"#32768") ++*reinterpret_cast<int*>(out);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// Left or Escape that closes a sub-menu brings the selection back to the dropped menu's level,
// so the next Left moves on to the bar's previous item (here, round the bar, the last).
TEST_F(SkinnedMenus, LeftAfterASubMenuClosedMovesToThePreviousBarItem) {
  for (const WPARAM closing : {VK_LEFT, VK_ESCAPE}) {
    SCOPED_TRACE(closing == VK_LEFT ? "closed by Left" : "closed by Escape");
    ThreeItemBar menus;
    const HMENU recent = menus.recent;
    UniqueWindow w = RawWindow(WS_OVERLAPPEDWINDOW, 0, 0, menus.bar);
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin && skin->MenuBar());
    LayOut(skin);
    ASSERT_EQ(skin->MenuBar()->Count(), 3);
    // Down to "Recent", Right into it, out of it again, Left to the bar.
    const WPARAM keys[] = {VK_DOWN, VK_RIGHT, closing, VK_LEFT};
    bool recentOpened = false;
    const bool ended = RunMenuLoop([&] { skin->OpenBarItem(skin->MenuBar()->Items()[0].get()); }, [&](int tick) {
      if (!VisiblePopupWindow() || tick < 3) return false;
      const int step = tick - 3;
      if (step % 3 == 0 && step / 3 < static_cast<int>(std::size(keys)))
        PostMessageW(w.get(), WM_KEYDOWN, keys[step / 3], 0);
      if (GetMenuState(recent, 0, MF_BYPOSITION) & MF_HILITE) recentOpened = true;
      return step > 3 * static_cast<int>(std::size(keys)) + 6;
    });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(recentOpened);
    std::optional<MSG> click = Take(w.get(), WM_NCLBUTTONDOWN);
    ASSERT_TRUE(click) << "Left did not move to another bar item";
    const TRect last = skin->MenuBar()->Items()[2]->BoundsRect;
    const TPoint at = ScreenOf(w.get(), TPoint(last.Left + 1, last.Top + 1));
    EXPECT_EQ(click->lParam, MAKELPARAM(at.X, at.Y));
  }
}

// The mirrors of Left: Right on an item that opens a sub-menu opens it (also after the
// sub-menu was closed with Left or Escape, the selection back on its opener), and moves to no
// other bar item; Right on a plain item moves to the next bar item, from the last to the first.
TEST_F(SkinnedMenus, RightOpensTheSelectedItemsSubMenuAgainOrMovesToTheNextBarItemRoundTheEnd) {
  // The bar item a run of keys in the dropped menu of item `from` switched to (-1: none), and
  // how many menus were open at most after the last key.
  struct Run {
    int switchedTo = -1;
    int openAtEnd = 0;
  };
  auto run = [&](int from, std::initializer_list<WPARAM> keys) {
    ThreeItemBar menus;
    UniqueWindow w = RawWindow(WS_OVERLAPPEDWINDOW, 0, 0, menus.bar);
    TWinSkinForm* skin = SkinRaw(w.get());
    Run result;
    EXPECT_TRUE(skin && skin->MenuBar());
    if (!skin || !skin->MenuBar()) return result;
    LayOut(skin);
    const std::vector<WPARAM> list(keys);
    const int steps = static_cast<int>(list.size());
    const bool ended = RunMenuLoop([&] { skin->OpenBarItem(skin->MenuBar()->Items()[from].get()); }, [&](int tick) {
      if (!VisiblePopupWindow() || tick < 3) return false;
      const int step = tick - 3;
      if (step % 3 == 0 && step / 3 < steps) PostMessageW(w.get(), WM_KEYDOWN, list[step / 3], 0);
      if (step > 3 * steps) result.openAtEnd = std::max(result.openAtEnd, VisiblePopupWindows());
      return step > 3 * steps + 6;
    });
    EXPECT_TRUE(ended);
    if (std::optional<MSG> click = Take(w.get(), WM_NCLBUTTONDOWN)) {
      for (int i = 0; i < skin->MenuBar()->Count(); ++i) {
        const TRect r = skin->MenuBar()->Items()[i]->BoundsRect;
        const TPoint at = ScreenOf(w.get(), TPoint(r.Left + 1, r.Top + 1));
        if (click->lParam == MAKELPARAM(at.X, at.Y)) result.switchedTo = i;
      }
      EXPECT_GE(result.switchedTo, 0) << "a click at no bar item";
    }
    return result;
  };
  for (const WPARAM closing : {VK_LEFT, VK_ESCAPE}) {
    SCOPED_TRACE(closing == VK_LEFT ? "closed by Left" : "closed by Escape");
    // Down to "Recent", Right into it, out of it, Right into it again.
    const Run again = run(0, {VK_DOWN, VK_RIGHT, closing, VK_RIGHT});
    EXPECT_EQ(again.switchedTo, -1);
    EXPECT_EQ(again.openAtEnd, 2) << "the sub-menu opened again";
  }
  // On "Open", a plain item: to "Go"; from "Help" (on "About") round to "File".
  EXPECT_EQ(run(0, {VK_RIGHT}).switchedTo, 1);
  EXPECT_EQ(run(2, {VK_RIGHT}).switchedTo, 0);
}

TEST_F(SkinnedMenus, AMenuLoopKeepsDestroyedWindowsObjectsUntilItEnds) {
  UniqueWindow a = MenuWindow(WS_OVERLAPPEDWINDOW, false);
  UniqueWindow b = MenuWindow(WS_OVERLAPPEDWINDOW, false);
  TWinSkinForm* gone = SkinRaw(a.get());
  ASSERT_TRUE(gone);
  // Judged by the form's own object: the manager may meanwhile skin other windows that the
  // desktop activates.
  auto held = [gone] {
    TSkinManage* m = SkinManager();
    for (int i = 0; i < m->FormCount(); ++i)
      if (m->Forms(i) == gone) return true;
    return false;
  };
  DestroyWindow(a.release());
  {
    const TMenuLoopScope loop;
    SkinManager()->SkinForm(b.get());  // a purge, were no loop running
    EXPECT_TRUE(held());
  }
  SkinManager()->SkinForm(b.get());
  EXPECT_FALSE(held());
}

// A skin data freed while a menu of a window it skins is open (the window's skinned system menu,
// a drop-down of its bar) closes the menu, whose items were drawn through it: no tick of the
// menu loop comes after. The window is then skinned with the skin data that stays, or has its own
// look back.
TEST_F(SkinnedMenus, ASkinDataFreedWhileAMenuOfItsWindowIsOpenClosesTheMenu) {
  struct Case {
    const char* name;
    wchar_t key;  // Alt and this key open the menu
    bool another;
  };
  for (const Case& c : {Case{"the system menu", L' ', false}, Case{"the system menu, another skin data stays", L' ', true},
                        Case{"a drop-down of the bar", L'f', false}, Case{"a drop-down, another stays", L'f', true}}) {
    SCOPED_TRACE(c.name);
    UseSkin(MenuSkinSpec());
    Owned<TSkinTestForm> other;
    if (c.another) other = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(MenuSkinSpec())))));
    Owned<vcl::TForm> form = MenuForm();
    ASSERT_TRUE(ShowSkinned(form.get()));
    // The skin data the window wears goes (the last main one read: the other one, when there is one).
    TSkinData* worn = Find(form->Handle())->SkinData;
    TSkinData* stays = c.another ? (worn == data_ ? other->SkinData() : data_) : nullptr;
    ASSERT_NE(worn, stays);
    int freedAt = 0;
    bool openAfter = false;
    const bool ended = RunMenuLoop([&] { SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, c.key); },
                                   [&](int tick) {
                                     if (freedAt == 0) {
                                       if (!VisiblePopupWindow()) return false;
                                       if (worn == data_) data_ = nullptr;
                                       vcl::TObject::Free(worn);
                                       freedAt = tick;
                                       return false;
                                     }
                                     openAfter = true;
                                     return true;
                                   });
    EXPECT_TRUE(ended);
    ASSERT_GT(freedAt, 0) << "the menu never showed";
    EXPECT_FALSE(openAfter) << "the menu stayed open after its skin data went";
    EXPECT_EQ(VisiblePopupWindow(), nullptr);
    if (c.another) {
      EXPECT_TRUE(PumpUntil([&] { return Ready(form->Handle()) && Find(form->Handle())->SkinData == stays; }));
    } else {
      EXPECT_TRUE(PumpUntil([&] { return !Find(form->Handle()) && QueueEmpty(); }));
      EXPECT_NE(GetMenu(form->Handle()), nullptr);  // its own bar back
    }
  }
}

// ---------------------------------------------------------------------------------------
// Owner-drawn items

TEST_F(SkinnedMenus, ItemsAreMeasuredByTheirOwnRulesAndWidenedForTheSkin) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->MenuPainter());
  TSkinMenuPainter* painter = skin->MenuPainter();
  Owned<vcl::TPopupMenu> popup(new vcl::TPopupMenu(nullptr));
  auto* item = new vcl::TMenuItem(popup.get());
  item->SetCaption(L"&Paste");
  popup->Items()->Add(item);
  auto measure = [&](vcl::TMenuItem* it, bool skinned) {
    auto b = Surface(10, 10, vcl::clWhite);
    b->Canvas()->Font()->Assign(vcl::Screen->MenuFont());
    int width = 0, height = 0;
    it->MeasureItem(b->Canvas(), width, height);
    if (skinned) painter->MeasureItem(it, b->Canvas(), width, height);
    return width;
  };
  const int own = measure(item, false);
  EXPECT_EQ(measure(item, true), own + kItemLeft + 35);  // no image list
  Owned<vcl::TImageList> images(new vcl::TImageList(nullptr));
  popup->SetImages(images.get());
  const int ownWithImages = measure(item, false);
  EXPECT_EQ(measure(item, true), ownWithImages + kItemLeft + 12);
  popup->SetImages(nullptr);

  // A foreign menu's item through the window's measuring message.
  skin->CurrentMenu = skin->MenuBar()->Items()[0]->SubMenu;
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = kOpen;
  EXPECT_EQ(SendMessageW(w.get(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  TMenuItemLook look;
  ASSERT_TRUE(LookOf(skin->CurrentMenu, kOpen, look));
  EXPECT_EQ(look.Caption, L"&Open");
  EXPECT_EQ(look.ShortCut, L"Ctrl+O");
  int width = 0, height = 0;
  TSkinMenuPainter::MeasureLook(MenuFontDC().dc, look, width, height);
  EXPECT_EQ(static_cast<int>(mis.itemWidth), width + kItemLeft + 35);
  EXPECT_EQ(static_cast<int>(mis.itemHeight), height);
  skin->CurrentMenu = nullptr;
}

TEST_F(SkinnedMenus, EmptyCaptionsMeasureOneLineAndTextColoursFollowTheColourTable) {
  TSkinMenuPainter painter(data_);
  auto b = Surface(200, 40, vcl::clWhite);
  vcl::TCanvas* c = b->Canvas();
  c->Font()->Assign(vcl::Screen->MenuFont());
  TMenuItemLook look;
  auto height = [&](const String& text) {
    TRect r(0, 0, 100, 0);
    painter.DrawMenuItemText(look, c, text, r, false, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    return r.Height();
  };
  const int line = height(L"M");
  EXPECT_GT(line, 0);
  EXPECT_EQ(height(L""), line);
  EXPECT_EQ(height(L"&"), line);

  auto colour = [&](bool enabled, bool selected) {
    look.Enabled = enabled;
    TRect r(0, 0, 100, 20);
    painter.DrawMenuItemText(look, c, L"Text", r, selected, DT_SINGLELINE);
    return c->Font()->Color();
  };
  EXPECT_EQ(colour(true, true), C(kHilightText));
  EXPECT_EQ(colour(true, false), C(kMenuText));
  EXPECT_EQ(colour(false, false), C(kShadow));
  EXPECT_FALSE(c->Font()->Style().Contains(vcl::fsBold));
  look.Default = true;
  colour(true, false);
  EXPECT_TRUE(c->Font()->Style().Contains(vcl::fsBold));  // and it stays for the shortcut

  // A skin whose shadow is its menu text: disabled text takes the system's shadow colour.
  UseSkin(MenuSkinSpec(true, true));
  TSkinMenuPainter same(data_);
  look = TMenuItemLook();
  look.Enabled = false;
  TRect r(0, 0, 100, 20);
  same.DrawMenuItemText(look, c, L"Text", r, false, DT_SINGLELINE);
  EXPECT_EQ(c->Font()->Color(), static_cast<vcl::TColor>(GetSysColor(COLOR_BTNSHADOW)));
}

TEST_F(SkinnedMenus, ItemsAreDrawnWithTheSkinsItemPictureAndSeparatorsAsAnEtchedLine) {
  TSkinMenuPainter painter(data_);
  const int w = 120, h = 22;
  auto draw = [&](const TMenuItemLook& look, bool selected) {
    auto b = Surface(w + 20, h + 20, vcl::clWhite);
    painter.DrawLook(b->Canvas()->Handle(), TRect(10, 10, 10 + w, 10 + h), look, selected, nullptr);
    return b;
  };
  TMenuItemLook look;
  look.Caption = L"&Item";
  auto normal = draw(look, false);
  EXPECT_EQ(Pixel(normal.get(), 10 + w - 3, 10 + 1), Frame(kMenuItemId, 1));
  EXPECT_EQ(Pixel(normal.get(), 9, 10), vcl::clWhite);  // nothing outside the item
  auto selected = draw(look, true);
  EXPECT_EQ(Pixel(selected.get(), 10 + w - 3, 10 + 1), Frame(kMenuItemId, 4));

  // A separator: the menu colour behind (no popup window), the line between the picture's
  // margins in the shadow and highlight colours.
  look.Caption = L"-";
  auto line = draw(look, false);
  const int y = 10 + h / 2 - 1;
  EXPECT_EQ(Pixel(line.get(), 10 + w / 2, y), C(kShadow));
  EXPECT_EQ(Pixel(line.get(), 10 + w / 2, y + 1), C(kButtonHilight));
  EXPECT_EQ(Pixel(line.get(), 10 + kItemLeft - 1, y), C(kMenuColour));
  EXPECT_EQ(Pixel(line.get(), 10 + w - kItemRight, y), C(kMenuColour));
  EXPECT_EQ(Pixel(line.get(), 10 + w / 2, 10 + 1), C(kMenuColour));

  // Without the skin's item picture: the menu colour, the highlight colour when selected.
  UseSkin(MenuSkinSpec(false));
  TSkinMenuPainter plain(data_);
  look.Caption = L"&Item";
  auto b = Surface(w, h, vcl::clWhite);
  plain.DrawLook(b->Canvas()->Handle(), TRect(0, 0, w, h), look, false, nullptr);
  EXPECT_EQ(Pixel(b.get(), w - 3, 1), C(kMenuColour));
  plain.DrawLook(b->Canvas()->Handle(), TRect(0, 0, w, h), look, true, nullptr);
  EXPECT_EQ(Pixel(b.get(), w - 3, 1), C(kHilight));
}

// A menu-item picture with fewer columns than its five frames (however tall) is no picture: items
// are drawn as without it, the selected one in the highlight colour, not alike. From a column a
// frame up the selected item shows frame 4 at both its ends, another item frame 1; a picture a
// column short of, at, a column past or half the count past a whole count is cut into whole
// frames, and the item shows nothing of another frame or of what is left over.
TEST_F(SkinnedMenus, AnItemPictureNarrowerThanItsFramesDrawsItemsAsWithoutThePicture) {
  const int w = 120, h = 22;
  // The item's top row but one.
  auto itemShows = [&](int frameWidth, int width, int height, bool selected) {
    PackageSpec spec = MenuSkinSpec();
    auto item =
        std::find_if(spec.entries.begin(), spec.entries.end(), [](auto& e) { return e.name == "MenuItem.bmp"; });
    item->bytes = FrameStrip(kMenuItemId, 5, frameWidth, width, height);
    UseSkin(spec);
    TSkinMenuPainter painter(data_);
    TMenuItemLook look;
    look.Caption = L"&Item";
    auto b = Surface(w, h, vcl::clWhite);
    painter.DrawLook(b->Canvas()->Handle(), TRect(0, 0, w, h), look, selected, nullptr);
    std::vector<vcl::TColor> row;
    for (int x = 0; x < w; ++x) row.push_back(Pixel(b.get(), x, 1));
    return row;
  };
  using Ends = std::pair<vcl::TColor, vcl::TColor>;
  auto ends = [&](const std::vector<vcl::TColor>& row) { return Ends{row[1], row[w - 3]}; };
  for (const int columns : {1, 4}) {
    SCOPED_TRACE(columns);
    EXPECT_EQ(ends(itemShows(1, columns, 32, false)), (Ends{C(kMenuColour), C(kMenuColour)}));
    EXPECT_EQ(ends(itemShows(1, columns, 32, true)), (Ends{C(kHilight), C(kHilight)}));
  }
  for (const int width : {5, 6, 99, 100, 101, 102}) {
    SCOPED_TRACE(width);
    for (const bool selected : {false, true}) {
      const std::vector<vcl::TColor> row = itemShows(width < 20 ? 1 : width / 5, width, width < 20 ? 32 : 20, selected);
      const int frame = selected ? 4 : 1;
      EXPECT_EQ(ends(row), (Ends{Frame(kMenuItemId, frame), Frame(kMenuItemId, frame)}));
      for (int f = 1; f <= 5; ++f) {
        if (f != frame) {
          EXPECT_EQ(std::count(row.begin(), row.end(), Frame(kMenuItemId, f)), 0) << "frame " << f;
        }
      }
      EXPECT_EQ(std::count(row.begin(), row.end(), C(LeftOverColour(kMenuItemId))), 0);
    }
  }
}

TEST_F(SkinnedMenus, ImagesKeepTheItemsTopInRightToLeftItemsAndCheckMarksWithoutImages) {
  TSkinMenuPainter painter(data_);
  const vcl::TColor kImage = 0x3366CC;
  Owned<vcl::TImageList> images(new vcl::TImageList(nullptr));
  auto glyph = Surface(16, 16, kImage);
  images->AddMasked(glyph.get(), vcl::clFuchsia);
  const int w = 160, h = 30;
  auto content = [&](bool rtl, bool checked, bool image) {
    TMenuItemLook look;
    look.Caption = L"Item";
    look.RightToLeft = rtl;
    look.Checked = checked;
    if (image) {
      look.Images = images.get();
      look.ImageIndex = 0;
    }
    auto b = Surface(w, h, vcl::clWhite);
    b->Canvas()->Font()->Assign(vcl::Screen->MenuFont());
    painter.DrawContent(look, b->Canvas(), w, h, false);
    return b;
  };
  // Left to right the image is centred in the item's height; right to left it keeps the top.
  const int ltrX = 1 + kItemLeft + 8, rtlX = w - 1 - kItemLeft - 8;
  auto ltr = content(false, false, true);
  EXPECT_EQ(Pixel(ltr.get(), ltrX, (h - 16) / 2 + 1), kImage);
  EXPECT_NE(Pixel(ltr.get(), ltrX, 1), kImage);
  auto rtl = content(true, false, true);
  EXPECT_EQ(Pixel(rtl.get(), rtlX, 1), kImage);
  EXPECT_NE(Pixel(rtl.get(), rtlX, h - 4), kImage);

  // A checked item without image: the system's check mark in the button-text colour.
  auto check = content(false, true, false);
  const auto text = static_cast<vcl::TColor>(GetSysColor(COLOR_BTNTEXT));
  int marks = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 1 + kItemLeft; x < 1 + kItemLeft + 16; ++x) marks += Pixel(check.get(), x, y) == text;
  EXPECT_GT(marks, 4);
  auto unchecked = content(false, false, false);
  for (int y = 0; y < h; ++y)
    for (int x = 1 + kItemLeft; x < 1 + kItemLeft + 16; ++x) EXPECT_EQ(Pixel(unchecked.get(), x, y), vcl::clWhite);
}

// ---------------------------------------------------------------------------------------
// The system menu

struct TrackedPopup {
  HMENU menu = nullptr;
  TPoint at;
  TPopupKind kind = TPopupKind::Popup;
  int count = 0;
};

class SkinnedSystemMenu : public SkinnedMenus {
 protected:
  void SetUp() override {
    SkinnedMenus::SetUp();
    vcl::SetTrackPopupMenuFunction([this](HMENU menu, UINT, int x, int y, HWND) {
      tracked_.menu = menu;
      tracked_.at = TPoint(x, y);
      tracked_.kind = SkinManager()->PopupKind();
      ++tracked_.count;
      return true;
    });
  }

  // The system menu's item with a command, or nil.
  static vcl::TMenuItem* Command(TWinSkinForm* skin, UINT command) {
    vcl::TPopupMenu* popup = skin->SysPopup();
    for (int i = 0; popup && i < popup->Items()->Count(); ++i)
      if ((popup->Items()->Items(i)->Tag() & 0xFFF0) == static_cast<intptr_t>(command)) return popup->Items()->Items(i);
    return nullptr;
  }

  TrackedPopup tracked_;
};

TEST_F(SkinnedSystemMenu, AltSpaceOpensTheSkinnedSystemMenuWithTheWindowsState) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  SendMessageW(w.get(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
  ASSERT_EQ(tracked_.count, 1);
  EXPECT_EQ(tracked_.kind, TPopupKind::SystemMenu);
  // Below the caption's icon (its button at 4, 3 of the window, as high as the small icon).
  RECT window{};
  GetWindowRect(w.get(), &window);
  EXPECT_EQ(tracked_.at, TPoint(window.left + 4, window.top + 3 + GetSystemMetrics(SM_CYSMICON)));
  vcl::TPopupMenu* popup = skin->SysPopup();
  ASSERT_TRUE(popup);
  EXPECT_EQ(tracked_.menu, popup->Items()->Handle());
  EXPECT_EQ(popup->Tag(), kSystemMenuTag);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_EQ(popup->Images(), data_->MenuImages());
  EXPECT_EQ(popup->Items()->Count(), GetMenuItemCount(GetSystemMenu(w.get(), FALSE)));

  struct Expect {
    UINT command;
    bool enabled;
    int image;
  };
  for (const Expect& e : {Expect{SC_RESTORE, false, 0}, Expect{SC_MOVE, true, -1}, Expect{SC_SIZE, true, -1},
                          Expect{SC_MINIMIZE, true, 2}, Expect{SC_MAXIMIZE, true, 1}, Expect{SC_CLOSE, true, 3}}) {
    vcl::TMenuItem* item = Command(skin, e.command);
    ASSERT_TRUE(item) << std::hex << e.command;
    EXPECT_EQ(item->Enabled(), e.enabled) << std::hex << e.command;
    EXPECT_EQ(item->ImageIndex(), e.image) << std::hex << e.command;
    EXPECT_TRUE(skin->MenuPainter()->Paints(item));
  }
  // A click on an item is the window's system command.
  Log().messages.clear();
  SendMessageW(vcl::PopupList().Window(), WM_COMMAND, Command(skin, SC_MINIMIZE)->Command(), 0);
  EXPECT_TRUE(PumpUntil([] { return Log().Count(WM_SYSCOMMAND, SC_MINIMIZE) == 1; }));
}

TEST_F(SkinnedSystemMenu, AMaximisedWindowsAndADialogsSystemMenus) {
  UniqueWindow w = MenuWindow();
  ShowWindow(w.get(), SW_SHOWMAXIMIZED);
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  ASSERT_EQ(skin->ShowState, TShowState::Maximized);
  skin->ShowSystemMenu(TPoint(100, 100));
  ASSERT_EQ(tracked_.count, 1);
  EXPECT_EQ(tracked_.at, TPoint(100, 100));
  for (auto [command, enabled] : {std::pair{SC_RESTORE, true}, std::pair{SC_MAXIMIZE, false},
                                  std::pair{SC_MOVE, false}, std::pair{SC_SIZE, false}, std::pair{SC_MINIMIZE, true}})
    EXPECT_EQ(Command(skin, command)->Enabled(), enabled) << std::hex << command;

  UniqueWindow d = MenuWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, false);
  TWinSkinForm* dialog = SkinRaw(d.get());
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->BorderKind, TBorderKind::Dialog);
  dialog->ShowSystemMenu(TPoint(120, 120));
  ASSERT_EQ(tracked_.count, 2);
  ASSERT_TRUE(Command(dialog, SC_CLOSE));
  EXPECT_TRUE(Command(dialog, SC_CLOSE)->Enabled());
  EXPECT_EQ(Command(dialog, SC_CLOSE)->ImageIndex(), 3);
  EXPECT_TRUE(Command(dialog, SC_MOVE)->Enabled());
  for (UINT box : {SC_MAXIMIZE, SC_MINIMIZE}) {
    if (vcl::TMenuItem* item = Command(dialog, box)) {
      EXPECT_FALSE(item->Enabled());
    }
  }
}

// A second request for the system menu within the double-click time closes the window instead,
// whichever way each request came (the icon button, a right click on the caption, Alt+Space):
// only while the system menu's Close may be chosen. A request after a close asks anew.
TEST_F(SkinnedSystemMenu, ASecondQuickRequestFromAnyOpenerClosesTheWindowWhenItMayClose) {
  UniqueWindow w = MenuWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  auto frame = Surface(360, 260, vcl::clBlack);
  skin->PaintFrame(frame->Canvas()->Handle());  // lays the caption buttons out
  auto icon = std::find_if(skin->Buttons().begin(), skin->Buttons().end(), [](auto& b) { return b->IsIcon(); });
  ASSERT_NE(icon, skin->Buttons().end());
  ASSERT_TRUE((*icon)->Visible);
  auto nc = [&](UINT msg, TPoint p, WPARAM hit) {
    const TPoint s = ScreenOf(w.get(), p);
    SendMessageW(w.get(), msg, hit, MAKELPARAM(s.X, s.Y));
  };
  const TPoint caption((skin->TitleRect.Left + skin->TitleRect.Right) / 2, kTop / 2);
  const TPoint at = Centre((*icon)->BoundsRect);
  const std::vector<std::pair<const char*, std::function<void()>>> openers = {
      {"icon button", [&] { nc(WM_NCLBUTTONDOWN, at, HTSYSMENU), nc(WM_NCLBUTTONUP, at, HTSYSMENU); }},
      {"right click", [&] { nc(WM_NCRBUTTONDOWN, caption, HTCAPTION); }},
      {"Alt+Space", [&] { SendMessageW(w.get(), WM_SYSCOMMAND, SC_KEYMENU, L' '); }},
  };
  size_t closes = 0;
  for (const auto& [first, open] : openers) {
    for (const auto& [second, again] : openers) {
      SCOPED_TRACE(std::string(first) + " then " + second);
      const int opened = tracked_.count;
      open();
      ASSERT_EQ(tracked_.count, opened + 1);
      again();
      EXPECT_EQ(tracked_.count, opened + 1);  // not opened again: closed
      ++closes;
      EXPECT_TRUE(PumpUntil([&] { return Log().Count(WM_CLOSE, 0) == closes; }));
    }
  }

  // A window whose Close is disabled is not closed: each request opens the menu.
  EnableMenuItem(GetSystemMenu(w.get(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  const int opened = tracked_.count;
  for (const auto& [name, open] : openers) open();
  EXPECT_EQ(tracked_.count, opened + 3);
  PumpUntilIdle();
  EXPECT_EQ(Log().Count(WM_CLOSE, 0), closes);
}

// A double click on the caption's icon closes the window as its system menu's Close would: sent as
// a message and made with the real pointer (the first click opening the system menu), only while
// that Close may be chosen; a window whose Close is disabled or missing stays.
TEST_F(SkinnedSystemMenu, ADoubleClickOnTheIconClosesTheWindowOnlyWhenItsCloseMayBeChosen) {
  const wintest::PointerLock turn;  // the real pointer and the foreground are used here
  enum class Close { Enabled, Disabled, Missing };
  for (const Close state : {Close::Enabled, Close::Disabled, Close::Missing}) {
    for (const bool real : {false, true}) {
      SCOPED_TRACE(std::string(state == Close::Enabled ? "close enabled" : state == Close::Disabled ? "close disabled"
                                                                                                   : "close missing") +
                   (real ? ", real clicks" : ", sent"));
      Log().messages.clear();
      UniqueWindow w = MenuWindow();
      TWinSkinForm* skin = SkinRaw(w.get());
      ASSERT_TRUE(skin);
      HMENU system = GetSystemMenu(w.get(), FALSE);
      if (state == Close::Disabled) EnableMenuItem(system, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
      if (state == Close::Missing) DeleteMenu(system, SC_CLOSE, MF_BYCOMMAND);
      auto frame = Surface(360, 260, vcl::clBlack);
      skin->PaintFrame(frame->Canvas()->Handle());  // lays the caption buttons out
      auto icon = std::find_if(skin->Buttons().begin(), skin->Buttons().end(), [](auto& b) { return b->IsIcon(); });
      ASSERT_NE(icon, skin->Buttons().end());
      ASSERT_TRUE((*icon)->Visible);
      const TPoint at = ScreenOf(w.get(), Centre((*icon)->BoundsRect));
      bool clicked = true;
      if (real) {
        ASSERT_TRUE(wintest::RaiseUntilShownAt(w.get(), w.get(), POINT{at.X, at.Y}));
        INPUT input[4] = {};
        for (int i = 0; i < 4; ++i) {
          input[i].type = INPUT_MOUSE;
          input[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        clicked = wintest::MovePointer(at.X, at.Y) && SendInput(4, input, sizeof(INPUT)) == 4;
        SetWindowPos(w.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(clicked);
        // The double click has come once the system menu was asked for and the button let go.
        ASSERT_TRUE(PumpUntil([&] { return tracked_.count > 0 && GetAsyncKeyState(VK_LBUTTON) >= 0; }));
      } else {
        SendMessageW(w.get(), WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(at.X, at.Y));
      }
      const auto closed = [] { return Log().Count(WM_SYSCOMMAND, SC_CLOSE) + Log().Count(WM_CLOSE, 0) > 0; };
      if (state == Close::Enabled) {
        EXPECT_TRUE(PumpUntil(closed)) << "not closed";
      } else {
        PumpUntilIdle();
        EXPECT_FALSE(closed()) << "closed";
      }
      tracked_ = TrackedPopup{};
    }
  }
}


}  // namespace
}  // namespace winskin::test
