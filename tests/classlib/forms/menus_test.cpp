// Menus on real system menus: the item tree, menu bars, popup menus, owner drawing, shortcuts, descriptions.
#include <gtest/gtest.h>

#include "classlib/streaming/Filer.h"
#include "classlib/forms/Menus.h"
#include "classlib/controls/controls_support.h"

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}
VCL_CLASS_INFO(TRecordingGraphic) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

// What the system menu holds at a position.
struct SysItem {
  UINT type = 0;
  UINT state = 0;
  UINT id = 0;
  HMENU sub = nullptr;
  String text;
};

SysItem ReadSysItem(HMENU menu, int pos) {
  wchar_t buf[128] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = buf;
  info.cch = 127;
  EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info)) << "position " << pos;
  return {info.fType, info.fState, info.wID, info.hSubMenu, buf};
}

TMenuItem* NewItem(TComponent* owner, const String& caption, TMenuItem* parent) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  if (parent) parent->Add(item);
  return item;
}

// The list view's menu of the composer: preview, move up and down, delete, clear.
struct ListMenu {
  TPopupMenu* menu;
  TMenuItem *preview, *line1, *up, *down, *line2, *remove, *clear;
};
ListMenu MakeListMenu(TComponent* owner) {
  ListMenu m{};
  m.menu = new TPopupMenu(owner);
  TMenuItem* root = m.menu->Items();
  m.preview = NewItem(owner, L"预览", root);
  m.line1 = NewItem(owner, L"-", root);
  m.up = NewItem(owner, L"上移", root);
  m.down = NewItem(owner, L"下移", root);
  m.line2 = NewItem(owner, L"-", root);
  m.remove = NewItem(owner, L"删除", root);
  m.clear = NewItem(owner, L"清空", root);
  return m;
}

// The replaced menu loop: records what it was asked and answers with a command.
struct TrackLog {
  int calls = 0;
  HMENU menu = nullptr;
  UINT flags = 0;
  TPoint at;
  HWND window = nullptr;
  WORD choose = 0;  // posted to the window as the user's choice
};
TrackLog* g_track = nullptr;

class TrackScope {
 public:
  explicit TrackScope(TrackLog& log) {
    g_track = &log;
    previous_ = SetTrackPopupMenuFunction([](HMENU menu, UINT flags, int x, int y, HWND window) {
      ++g_track->calls;
      g_track->menu = menu;
      g_track->flags = flags;
      g_track->at = {x, y};
      g_track->window = window;
      if (g_track->choose) PostMessageW(window, WM_COMMAND, g_track->choose, 0);
      return true;
    });
  }
  ~TrackScope() {
    SetTrackPopupMenuFunction(previous_);
    g_track = nullptr;
  }

 private:
  TTrackPopupMenuFunction previous_;
};

// The tree and its system menu

TEST(MenuItems, TheSystemMenuFollowsTheTree) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu m = MakeListMenu(owner.get());
  HMENU h = m.menu->Handle();
  ASSERT_TRUE(IsMenu(h));
  ASSERT_EQ(GetMenuItemCount(h), 7);
  EXPECT_EQ(ReadSysItem(h, 0).text, L"预览");
  EXPECT_EQ(ReadSysItem(h, 0).id, m.preview->Command());
  EXPECT_NE(ReadSysItem(h, 1).type & MFT_SEPARATOR, 0u);

  // Every item has its own command number.
  std::vector<WORD> commands;
  for (int i = 0; i < m.menu->Items()->Count(); ++i) commands.push_back(m.menu->Items()->Items(i)->Command());
  std::sort(commands.begin(), commands.end());
  EXPECT_EQ(std::unique(commands.begin(), commands.end()), commands.end());

  // State changes reach the system menu.
  m.up->SetEnabled(false);
  m.down->SetChecked(true);
  m.remove->SetDefault(true);
  EXPECT_NE(ReadSysItem(h, 2).state & MFS_GRAYED, 0u);
  EXPECT_NE(ReadSysItem(h, 3).state & MFS_CHECKED, 0u);
  EXPECT_NE(ReadSysItem(h, 5).state & MFS_DEFAULT, 0u);
  m.up->SetCaption(L"上移(&U)");
  EXPECT_EQ(ReadSysItem(h, 2).text, L"上移(&U)");

  // Hidden items are left out; shown again in their place.
  m.line2->SetVisible(false);
  EXPECT_EQ(ReadSysItem(h, 4).text, L"删除");
  m.line2->SetVisible(true);
  EXPECT_NE(ReadSysItem(h, 4).type & MFT_SEPARATOR, 0u);

  // A shortcut is shown after a tab.
  m.remove->SetShortCut(ShortCut(VK_DELETE, {ssCtrl}));
  EXPECT_EQ(ReadSysItem(h, 5).text, L"删除\tCtrl+Del");
}

TEST(MenuItems, InsertDeleteMoveAndFree) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu m = MakeListMenu(owner.get());
  TMenuItem* root = m.menu->Items();
  HMENU h = m.menu->Handle();

  auto* extra = NewItem(owner.get(), L"复制", nullptr);
  root->Insert(1, extra);
  EXPECT_EQ(ReadSysItem(h, 1).text, L"复制");

  // Sub-items make a sub-menu whose handle the entry carries.
  auto* sub1 = NewItem(owner.get(), L"为文本", extra);
  NewItem(owner.get(), L"为网页", extra);
  EXPECT_EQ(sub1->GetParentMenu(), m.menu);
  EXPECT_EQ(ReadSysItem(h, 1).sub, extra->Handle());
  EXPECT_EQ(GetMenuItemCount(extra->Handle()), 2);
  EXPECT_EQ(m.menu->FindItem(reinterpret_cast<UINT_PTR>(extra->Handle()), fkHandle), extra);
  EXPECT_EQ(m.menu->FindItem(sub1->Command(), fkCommand), sub1);

  extra->SetMenuIndex(7);
  EXPECT_EQ(ReadSysItem(h, 7).text, L"复制");

  // Wrong insertions are refused.
  EXPECT_THROW(root->Add(sub1), EMenuError);
  EXPECT_THROW(sub1->Add(extra), EMenuError);
  auto* loose = NewItem(owner.get(), L"x", nullptr);
  EXPECT_THROW(root->Insert(99, loose), EMenuError);
  EXPECT_THROW(root->Remove(loose), EMenuError);

  // Delete takes an item out without freeing it.
  root->Delete(0);
  EXPECT_EQ(m.preview->Parent(), nullptr);
  EXPECT_EQ(GetMenuItemCount(h), 7);
  root->Add(m.preview);
  EXPECT_EQ(ReadSysItem(h, 7).text, L"预览");

  // A freed item leaves its menu; its sub-items go with it, the sub-menu with them.
  const int owned = owner->ComponentCount();
  HMENU sub = extra->Handle();
  TObject::Free(extra);
  EXPECT_EQ(owner->ComponentCount(), owned - 3);
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_EQ(GetMenuItemCount(h), 7);
  root->Clear();
  EXPECT_EQ(GetMenuItemCount(h), 0);
}

TEST(MenuItems, RadioItemsOfAGroupCheckOneAtATime) {
  Owned<TComponent> owner(new TComponent(nullptr));
  Owned<TPopupMenu> menu(new TPopupMenu(owner.get()));
  TMenuItem* a = NewItem(owner.get(), L"a", menu->Items());
  TMenuItem* b = NewItem(owner.get(), L"b", menu->Items());
  TMenuItem* other = NewItem(owner.get(), L"c", menu->Items());
  for (TMenuItem* i : {a, b, other}) i->SetRadioItem(true);
  other->SetGroupIndex(2);
  a->SetChecked(true);
  other->SetChecked(true);
  b->SetChecked(true);
  EXPECT_TRUE(other->Checked());
  HMENU h = menu->Handle();
  EXPECT_NE(ReadSysItem(h, 1).type & MFT_RADIOCHECK, 0u);
  EXPECT_EQ(ReadSysItem(h, 0).state & MFS_CHECKED, 0u);
  EXPECT_NE(ReadSysItem(h, 1).state & MFS_CHECKED, 0u);
}

}  // namespace

// A form's menu bar

class TMenuForm : public TForm {
  VCL_CLASS(TMenuForm, TForm)
 public:
  using TForm::TForm;

  std::vector<String> clicked;
  void N4Click(TObject* s) { clicked.push_back(L"N4:" + static_cast<TMenuItem*>(s)->Caption()); }
  void N5Click(TObject*) { clicked.push_back(L"N5"); }
  void N11Click(TObject*) { clicked.push_back(L"N11"); }
  void N2Click(TObject*) { clicked.push_back(L"N2"); }
};

VCL_CLASS_INFO(TMenuForm) {
  VCL_METHOD(TMenuForm, N4Click);
  VCL_METHOD(TMenuForm, N5Click);
  VCL_METHOD(TMenuForm, N11Click);
  VCL_METHOD(TMenuForm, N2Click);
}

// A control that keeps a property in its window, as a rich edit keeps its text: reading it
// from a description makes the form's window before the form's menu is fixed up.
class TWindowNotePanel : public TRecordingPanel {
  VCL_CLASS(TWindowNotePanel, TRecordingPanel)
 public:
  using TRecordingPanel::TRecordingPanel;
  String Note() const {
    wchar_t text[64] = {};
    GetWindowTextW(const_cast<TWindowNotePanel*>(this)->Handle(), text, 64);
    return text;
  }
  void SetNote(const String& Value) { SetWindowTextW(Handle(), Value.c_str()); }
};

VCL_CLASS_INFO(TWindowNotePanel) {
  publish::Align(p);
  publish::Bounds(p);
  p.String<&TWindowNotePanel::Note, &TWindowNotePanel::SetNote>(L"Note");
}

namespace {

TMainMenu* MakeWebMenu(TComponent* owner) {
  auto* menu = new TMainMenu(owner);
  for (const wchar_t* caption : {L" 官方网站 ", L" 软件公告 ", L" 视频教程 ", L" 新版下载 "})
    NewItem(owner, caption, menu->Items());
  return menu;
}

TEST(MainMenu, IsTheFormsMenuBarAndRunsItsItems) {
  Owned<TMenuForm> form(new TMenuForm(Application, 0));
  TMainMenu* menu = MakeWebMenu(form.get());
  TMenuItem* site = menu->Items()->Items(0);
  Notified log;
  site->OnClick = log.Handler();
  form->SetMenu(menu);
  form->SetClientSize(300, 200);
  HWND wnd = form->Handle();
  HMENU bar = GetMenu(wnd);
  ASSERT_EQ(bar, menu->Handle());
  EXPECT_EQ(ReadSysItem(bar, 3).text, L" 新版下载 ");
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.bottom, 200);  // the bar is not taken from the client area asked for

  SendMessageW(wnd, WM_COMMAND, site->Command(), 0);
  EXPECT_EQ(log.senders, std::vector<TObject*>{site});
  // Disabled items do not run; unknown commands are not the menu's.
  site->SetEnabled(false);
  SendMessageW(wnd, WM_COMMAND, site->Command(), 0);
  EXPECT_EQ(log.senders.size(), 1u);
  EXPECT_FALSE(menu->DispatchCommand(0xEEEE));

  // Changes show on the bar at once.
  site->SetCaption(L" 主页 ");
  EXPECT_EQ(ReadSysItem(GetMenu(wnd), 0).text, L" 主页 ");
  NewItem(form.get(), L" 关于 ", menu->Items());
  EXPECT_EQ(GetMenuItemCount(GetMenu(wnd)), 5);

  // A sub-menu opening runs the Click of the item that owns it.
  TMenuItem* notice = menu->Items()->Items(1);
  NewItem(form.get(), L"最新", notice);
  Notified opened;
  notice->OnClick = opened.Handler();
  SendMessageW(wnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(notice->Handle()), 1);
  EXPECT_EQ(opened.senders.size(), 1u);

  // The window going does not take the menu's bar with it.
  form->RecreateWnd();
  form->HandleNeeded();
  EXPECT_TRUE(IsMenu(bar));
  EXPECT_EQ(GetMenu(form->Handle()), bar);

  // Shortcuts of its items run them, not under a disabled parent.
  TMenuItem* refresh = NewItem(form.get(), L"刷新", notice);
  TMenuItem* close = NewItem(form.get(), L"关闭", notice);
  refresh->SetShortCut(TextToShortCut(L"F5"));
  close->SetShortCut(TextToShortCut(L"Alt+F4"));
  Notified keys;
  refresh->OnClick = keys.Handler();
  close->OnClick = keys.Handler();
  EXPECT_TRUE(menu->IsShortCut(TMessage{WM_KEYDOWN, VK_F5, 0, 0}));
  EXPECT_TRUE(menu->IsShortCut(TMessage{WM_SYSKEYDOWN, VK_F4, 0x20000000, 0}));  // Alt held
  EXPECT_FALSE(menu->IsShortCut(TMessage{WM_KEYDOWN, VK_F4, 0, 0}));
  EXPECT_EQ(keys.senders, (std::vector<TObject*>{refresh, close}));
  notice->SetEnabled(false);
  EXPECT_FALSE(menu->IsShortCut(TMessage{WM_KEYDOWN, VK_F5, 0, 0}));
  EXPECT_EQ(keys.Count(), 2);

  // A freed menu leaves the form without a bar.
  TObject::Free(menu);
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

// The system puts a maximised MDI document's system menu before the bar's items and its buttons
// after them, as bitmaps: the bar made again for a changed item keeps them where they were.
TEST(MainMenu, TheItemsTheSystemPutOnTheBarStayWhenItIsMadeAgain) {
  Owned<TMenuForm> form(new TMenuForm(Application, 0));
  TMainMenu* menu = MakeWebMenu(form.get());
  form->SetMenu(menu);
  HMENU bar = GetMenu(form->Handle());
  HMENU documentMenu = CreatePopupMenu();
  HBITMAP icon = CreateBitmap(16, 16, 1, 32, nullptr);  // the document's icon
  ASSERT_TRUE(InsertMenuW(bar, 0, MF_BYPOSITION | MF_BITMAP | MF_POPUP, reinterpret_cast<UINT_PTR>(documentMenu),
                          reinterpret_cast<LPCWSTR>(icon)));
  ASSERT_TRUE(AppendMenuW(bar, MF_BITMAP | MF_RIGHTJUSTIFY, SC_CLOSE, reinterpret_cast<LPCWSTR>(HBMMENU_MBAR_CLOSE)));
  ASSERT_EQ(GetMenuItemCount(bar), 6);
  auto expectTheSystemsAround = [&](int own) {
    const int count = GetMenuItemCount(bar);
    ASSERT_EQ(count, own + 2);
    EXPECT_EQ(GetSubMenu(bar, 0), documentMenu);
    EXPECT_EQ(GetMenuItemID(bar, count - 1), static_cast<UINT>(SC_CLOSE));
    for (int i = 0; i < own; ++i) {
      TMenuItem* item = menu->Items()->Items(i);
      if (item->Count() > 0)
        EXPECT_EQ(GetSubMenu(bar, i + 1), item->Handle()) << i;
      else
        EXPECT_EQ(GetMenuItemID(bar, i + 1), item->Command()) << i;
    }
  };
  menu->Items()->Items(1)->SetCaption(L" 公告 ");
  expectTheSystemsAround(4);
  EXPECT_EQ(ReadSysItem(bar, 2).text, L" 公告 ");
  NewItem(form.get(), L" 关于 ", menu->Items());
  expectTheSystemsAround(5);
  TObject::Free(menu->Items()->Items(0));
  expectTheSystemsAround(4);
  // A sub-menu filled later changes only itself.
  NewItem(form.get(), L"最新", menu->Items()->Items(0));
  NewItem(form.get(), L"旧", menu->Items()->Items(0));
  expectTheSystemsAround(4);
  RemoveMenu(bar, 0, MF_BYPOSITION);
  DestroyMenu(documentMenu);
  DeleteObject(icon);
}

// Popup menus

TEST(PopupMenu, ARightClickOpensItAndTheChosenItemRuns) {
  Owned<TMenuForm> form(new TMenuForm(Application, 0));
  form->SetClientSize(300, 200);
  auto* list = Put<TRecordingPanel>(form.get(), 10, 10, 200, 150);
  ListMenu m = MakeListMenu(form.get());
  list->SetPopupMenu(m.menu);
  Notified clicks, popups;
  m.up->OnClick = clicks.Handler();
  m.menu->OnPopup = popups.Handler();
  form->Show();

  TrackLog track;
  track.choose = m.up->Command();
  TrackScope scope(track);
  const TPoint at = list->ClientToScreen({30, 40});
  SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()), PointToLParam(at.X, at.Y));
  EXPECT_EQ(track.calls, 1);
  EXPECT_EQ(popups.senders.size(), 1u);  // OnPopup before the menu shows
  EXPECT_EQ(track.menu, m.menu->Handle());
  EXPECT_EQ(track.at, at);
  EXPECT_EQ(track.window, PopupList().Window());
  EXPECT_EQ(track.flags, static_cast<UINT>(TPM_LEFTALIGN | TPM_RIGHTBUTTON));
  EXPECT_EQ(m.menu->PopupComponent(), list);
  // The choice arrives as a message, after the menu loop.
  EXPECT_TRUE(clicks.senders.empty());
  Pump();
  EXPECT_EQ(clicks.senders, std::vector<TObject*>{m.up});

  // Alignment, button and animation go to the menu loop's flags.
  m.menu->SetAlignment(paRight);
  m.menu->SetTrackButton(tbLeftButton);
  m.menu->SetMenuAnimation({maNone});
  track.choose = 0;
  m.menu->Popup(5, 6);
  EXPECT_EQ(track.flags, static_cast<UINT>(TPM_RIGHTALIGN | TPM_LEFTBUTTON | TPM_NOANIMATION));
  EXPECT_EQ(track.at, TPoint(5, 6));

  // Without AutoPopup the right click leaves it closed.
  m.menu->SetAutoPopup(false);
  SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()), PointToLParam(at.X, at.Y));
  EXPECT_EQ(track.calls, 2);

  // The control going is forgotten.
  TObject::Free(list);
  EXPECT_EQ(m.menu->PopupComponent(), nullptr);
}

TEST(PopupMenu, CommandsReachTheirItemsInAnyPopupMenuAndNoOther) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu a = MakeListMenu(owner.get());
  ListMenu b = MakeListMenu(owner.get());
  Notified log;
  a.clear->OnClick = log.Handler();
  b.preview->OnClick = log.Handler();
  HWND wnd = PopupList().Window();
  SendMessageW(wnd, WM_COMMAND, b.preview->Command(), 0);
  SendMessageW(wnd, WM_COMMAND, a.clear->Command(), 0);
  SendMessageW(wnd, WM_COMMAND, 0xEEEE, 0);
  EXPECT_EQ(log.senders, (std::vector<TObject*>{b.preview, a.clear}));
  // A freed menu no longer answers.
  const WORD gone = b.preview->Command();
  TObject::Free(b.menu);
  SendMessageW(wnd, WM_COMMAND, gone, 0);
  EXPECT_EQ(log.senders.size(), 2u);
  EXPECT_EQ(PopupList().FindItem(gone, fkCommand), nullptr);
}

// An exception from a menu item's handler is shown, and the program goes on.
TEST(PopupMenu, AnExceptionFromAnItemGoesToTheExceptionDisplay) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu m = MakeListMenu(owner.get());
  struct Thrower {
    void Click(TObject*) { throw EListError(L"List index out of bounds (3)"); }
  } thrower;
  m.remove->OnClick = TNotifyEvent::Bind<&Thrower::Click>(&thrower);
  ShownBoxes().clear();
  SendMessageW(PopupList().Window(), WM_COMMAND, m.remove->Command(), 0);
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"List index out of bounds (3)");
}

// Owner drawing

bool IsOwnerDrawn(HMENU menu, int pos) { return (ReadSysItem(menu, pos).type & MFT_OWNERDRAW) != 0; }

struct DrawLog {
  int measures = 0;
  int draws = 0;
  int plainDraws = 0;
  TOwnerDrawState state;
  bool selected = false;
  TRect rect;
  int width = 0, height = 0;
  void Measure(TObject*, TCanvas* canvas, int& w, int& h) {
    ++measures;
    EXPECT_TRUE(canvas->HandleAllocated());
    width = w;
    height = h;
    w = 120;
    h = 30;
  }
  void Draw(TObject*, TCanvas* canvas, TRect r, TOwnerDrawState s) {
    ++draws;
    state = s;
    rect = r;
    canvas->Brush()->SetColor(clLime);
    canvas->FillRect(r);
  }
  void PlainDraw(TObject*, TCanvas*, TRect, bool sel) {
    ++plainDraws;
    selected = sel;
  }
};

LRESULT SendMeasure(HWND wnd, UINT id, MEASUREITEMSTRUCT& mis) {
  mis = MEASUREITEMSTRUCT{};
  mis.CtlType = ODT_MENU;
  mis.itemID = id;
  return SendMessageW(wnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
}

LRESULT SendDraw(HWND wnd, UINT id, UINT state, HDC dc, RECT r) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = id;
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = state;
  dis.hDC = dc;
  dis.rcItem = r;
  return SendMessageW(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

TEST(OwnerDraw, SwitchedAtRunTimeOnEveryItem) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu m = MakeListMenu(owner.get());
  TMenuItem* sub = NewItem(owner.get(), L"子项", m.up);
  HMENU h = m.menu->Handle();
  EXPECT_FALSE(IsOwnerDrawn(h, 0));
  m.menu->SetOwnerDraw(true);
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(IsOwnerDrawn(h, i)) << i;  // separators too
  EXPECT_TRUE(IsOwnerDrawn(m.up->Handle(), 0));
  EXPECT_EQ(ReadSysItem(h, 0).text, L"预览");  // the text stays for those who read the system menu
  // Items added later follow the menu.
  NewItem(owner.get(), L"新", m.menu->Items());
  EXPECT_TRUE(IsOwnerDrawn(h, 7));
  m.menu->SetOwnerDraw(false);
  EXPECT_FALSE(IsOwnerDrawn(sub->Parent()->Handle(), 0));
  EXPECT_NE(ReadSysItem(h, 1).type & MFT_SEPARATOR, 0u);
}

TEST(OwnerDraw, MeasureAndDrawMessagesReachTheItemsEvents) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu m = MakeListMenu(owner.get());
  m.menu->SetOwnerDraw(true);
  DrawLog log;
  m.preview->OnMeasureItem = TMenuMeasureItemEvent::Bind<&DrawLog::Measure>(&log);
  m.preview->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent::Bind<&DrawLog::Draw>(&log);
  m.up->OnDrawItem = TMenuDrawItemEvent::Bind<&DrawLog::PlainDraw>(&log);
  HWND wnd = PopupList().Window();

  MEASUREITEMSTRUCT mis{};
  EXPECT_TRUE(SendMeasure(wnd, m.preview->Command(), mis));
  EXPECT_GT(log.width, 16);  // the library's size comes first
  EXPECT_EQ(mis.itemWidth, 120u);
  EXPECT_EQ(mis.itemHeight, 30u);

  PixelTarget target(100, 30);
  EXPECT_TRUE(SendDraw(wnd, m.preview->Command(), ODS_SELECTED | ODS_NOACCEL, target.dc(), {0, 0, 100, 30}));
  EXPECT_EQ(log.state, (TOwnerDrawState{odSelected, odNoAccel}));
  EXPECT_EQ(log.rect, Rect(0, 0, 100, 30));
  EXPECT_EQ(target.At(50, 15), clLime);

  // Without the advanced event, the plain one with the selected state.
  EXPECT_TRUE(SendDraw(wnd, m.up->Command(), ODS_SELECTED, target.dc(), {0, 0, 100, 30}));
  EXPECT_TRUE(log.selected);

  // An item of no popup menu is not answered.
  EXPECT_FALSE(SendMeasure(wnd, 0xEEEE, mis));
}

TEST(OwnerDraw, TheLibrarysOwnDrawingAndMeasuring) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu m = MakeListMenu(owner.get());
  m.menu->SetOwnerDraw(true);
  HWND wnd = PopupList().Window();
  MEASUREITEMSTRUCT text{}, line{}, empty{};
  SendMeasure(wnd, m.preview->Command(), text);
  SendMeasure(wnd, m.line1->Command(), line);
  m.down->SetCaption(L"&");
  SendMeasure(wnd, m.down->Command(), empty);
  EXPECT_GT(text.itemWidth, 16u + 8u);
  EXPECT_GT(text.itemHeight, line.itemHeight);
  EXPECT_EQ(empty.itemHeight, text.itemHeight);  // a lone "&" still measures one line

  PixelTarget target(100, 40);
  SendDraw(wnd, m.preview->Command(), ODS_SELECTED, target.dc(), {0, 0, 100, 20});
  SendDraw(wnd, m.clear->Command(), 0, target.dc(), {0, 20, 100, 40});
  EXPECT_EQ(target.At(98, 2), ColorToRGB(clHighlight));
  EXPECT_EQ(target.At(98, 22), ColorToRGB(clMenu));
  // The caption is written in the text colour.
  bool written = false;
  for (int x = 20; x < 98 && !written; ++x)
    for (int y = 21; y < 39 && !written; ++y) written = target.At(x, y) == ColorToRGB(clMenuText);
  EXPECT_TRUE(written);
}

TEST(OwnerDraw, MenuBarItemsDrawOnTheForm) {
  Owned<TMenuForm> form(new TMenuForm(Application, 0));
  TMainMenu* menu = MakeWebMenu(form.get());
  form->SetMenu(menu);
  HWND wnd = form->Handle();
  menu->SetOwnerDraw(true);
  EXPECT_TRUE(IsOwnerDrawn(GetMenu(wnd), 0));
  TMenuItem* site = menu->Items()->Items(0);
  struct TopLog {
    TMenuItem* item = nullptr;
    void Draw(TObject* s, TCanvas*, TRect, TOwnerDrawState) { item = static_cast<TMenuItem*>(s); }
  } top;
  site->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent::Bind<&TopLog::Draw>(&top);
  PixelTarget target(80, 20);
  EXPECT_TRUE(SendDraw(wnd, site->Command(), 0, target.dc(), {0, 0, 80, 20}));
  EXPECT_EQ(top.item, site);
  MEASUREITEMSTRUCT mis{};
  EXPECT_TRUE(SendMeasure(wnd, menu->Items()->Items(1)->Command(), mis));
  EXPECT_GE(mis.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYMENU)));
  // A bar item is drawn centred in the menu colour by the library itself.
  EXPECT_TRUE(SendDraw(wnd, menu->Items()->Items(1)->Command(), 0, target.dc(), {0, 0, 80, 20}));
  EXPECT_EQ(target.At(1, 1), ColorToRGB(clMenu));
}

TEST(OwnerDraw, GlyphsComeFromTheItemsBitmapOrTheMenusImages) {
  Owned<TComponent> owner(new TComponent(nullptr));
  ListMenu m = MakeListMenu(owner.get());
  HMENU h = m.menu->Handle();
  TBitmap glyph;
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(clRed);
  glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
  // An item with a picture is drawn by the library, the others stay the system's.
  m.preview->SetBitmap(&glyph);
  EXPECT_TRUE(IsOwnerDrawn(h, 0));
  EXPECT_FALSE(IsOwnerDrawn(h, 2));
  HWND wnd = PopupList().Window();
  PixelTarget target(100, 40);
  SendDraw(wnd, m.preview->Command(), 0, target.dc(), {0, 0, 100, 20});
  EXPECT_EQ(target.At(10, 10), clRed);

  // Images of the menu make every item owner-drawn; an item shows the image of its index.
  auto* images = new TCustomImageList(owner.get(), 16, 16);
  TBitmap blue;
  blue.SetSize(16, 16);
  blue.Canvas()->Brush()->SetColor(clBlue);
  blue.Canvas()->FillRect(Rect(0, 0, 16, 16));
  images->Add(&blue, nullptr);
  m.menu->SetImages(images);
  EXPECT_TRUE(IsOwnerDrawn(h, 2));
  m.up->SetImageIndex(0);
  SendDraw(wnd, m.up->Command(), 0, target.dc(), {0, 20, 100, 40});
  EXPECT_EQ(target.At(10, 30), clBlue);
  // A freed image list is forgotten and the items are the system's again.
  TObject::Free(images);
  EXPECT_FALSE(IsOwnerDrawn(h, 2));
  EXPECT_TRUE(IsOwnerDrawn(h, 0));
}

// Shortcut texts and accelerators

TEST(ShortCuts, TextsBothWaysAndAcceleratorsOfCaptions) {
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, {ssShift, ssCtrl})), L"Shift+Ctrl+F5");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_BACK, {ssAlt})), L"Alt+BkSp");
  EXPECT_EQ(ShortCut(0x1FF, {ssCtrl}), 0);
  const std::pair<const wchar_t*, TShortCut> texts[] = {
      {L"ALT+F4", VK_F4 | scAlt}, {L"ctrl+shift+del", VK_DELETE | scCtrl | scShift}, {L"^A", 'A' | scCtrl},
      {L"Ctrl+", 0},             {L"Ctrl+Nothing", 0},                               {L"", 0}};
  for (auto [text, sc] : texts) EXPECT_EQ(TextToShortCut(text), sc) << WideToUtf8(text);
  // Every named key comes back from its text.
  for (WORD key : {WORD(VK_RETURN), WORD(VK_ESCAPE), WORD(VK_NEXT), WORD(VK_INSERT), WORD('Z'), WORD(VK_F12)}) {
    const TShortCut sc = ShortCut(key, {ssCtrl, ssAlt});
    EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << key;
  }
  WORD key = 0;
  TShiftState shift;
  ShortCutToKey(ShortCut(VK_F2, {ssShift}), key, shift);
  EXPECT_EQ(key, VK_F2);
  EXPECT_EQ(shift, TShiftState{ssShift});

  EXPECT_EQ(GetHotkey(L"Save &As"), L"A");
  EXPECT_EQ(GetHotkey(L"Tom && Jerry"), L"");
  EXPECT_EQ(GetHotkey(L"&a &b"), L"b");
  EXPECT_EQ(GetHotkey(L"end&"), L"");
  EXPECT_EQ(StripHotkey(L"Tom && Jerry&"), L"Tom & Jerry");
  EXPECT_TRUE(IsAccel('F', L"&file"));
  EXPECT_FALSE(IsAccel('F', L"file"));
}

// Menus in form descriptions

constexpr char kMenuFormText[] = R"(object MenuForm: TMenuForm
  Caption = 'menus'
  Menu = mm1
  object mm1: TMainMenu
    object N4: TMenuItem
      Caption = ' '#23448#26041#32593#31449' '
      OnClick = N4Click
    end
    object N5: TMenuItem
      Caption = ' '#36719#20214#20844#21578' '
      OnClick = N5Click
      object N51: TMenuItem
        Caption = 'sub'
        ShortCut = 16467
        Checked = True
      end
    end
  end
  object pm1: TPopupMenu
    AutoPopup = False
    OwnerDraw = True
    object N11: TMenuItem
      Caption = #39044#35272
      OnClick = N11Click
    end
    object N6: TMenuItem
      Caption = '-'
    end
    object N2: TMenuItem
      Caption = #19978#31227
      Enabled = False
      OnClick = N2Click
    end
  end
end
)";

TEST(Description, MenusAndItemsAreReadWithTheirEvents) {
  TMenuItem::StaticClass();
  TMainMenu::StaticClass();
  TPopupMenu::StaticClass();
  Owned<TMenuForm> form(new TMenuForm(Application, 0));
  ReadComponentText(form.get(), kMenuFormText, L"menus");
  auto* mm1 = dynamic_cast<TMainMenu*>(form->FindComponent(L"mm1"));
  auto* pm1 = dynamic_cast<TPopupMenu*>(form->FindComponent(L"pm1"));
  auto* n4 = dynamic_cast<TMenuItem*>(form->FindComponent(L"N4"));
  auto* n51 = dynamic_cast<TMenuItem*>(form->FindComponent(L"N51"));
  auto* n2 = dynamic_cast<TMenuItem*>(form->FindComponent(L"N2"));
  ASSERT_TRUE(mm1 && pm1 && n4 && n51 && n2);
  EXPECT_EQ(form->Menu(), mm1);
  EXPECT_EQ(n51->Parent()->Name(), L"N5");
  EXPECT_EQ(n51->ShortCut(), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(pm1->Items()->Count(), 3);

  // The bar shows once the window exists; items run their handlers.
  HWND wnd = form->Handle();
  ASSERT_EQ(GetMenuItemCount(GetMenu(wnd)), 2);
  EXPECT_EQ(ReadSysItem(GetMenu(wnd), 1).text, L" 软件公告 ");
  SendMessageW(wnd, WM_COMMAND, n4->Command(), 0);
  SendMessageW(PopupList().Window(), WM_COMMAND, pm1->Items()->Items(0)->Command(), 0);
  SendMessageW(PopupList().Window(), WM_COMMAND, n2->Command(), 0);  // disabled
  EXPECT_EQ(form->clicked, (std::vector<String>{L"N4: 官方网站 ", L"N11"}));
  EXPECT_TRUE(IsOwnerDrawn(pm1->Handle(), 0));
  EXPECT_NE(ReadSysItem(GetSubMenu(GetMenu(wnd), 1), 0).state & MFS_CHECKED, 0u);

  // Written back with the items nested in their menus and parents.
  const std::string text = WriteComponentText(form.get());
  const auto mm = text.find("object mm1: TMainMenu");
  const auto n5 = text.find("object N5: TMenuItem");
  const auto sub = text.find("object N51: TMenuItem");
  const auto pm = text.find("object pm1: TPopupMenu");
  ASSERT_NE(sub, std::string::npos);
  EXPECT_LT(mm, n5);
  EXPECT_LT(n5, sub);
  EXPECT_LT(sub, pm);
  EXPECT_NE(text.find("OnClick = N11Click"), std::string::npos);
  EXPECT_EQ(text.find("object N51", sub + 1), std::string::npos);  // once
  EXPECT_EQ(text.find("Bitmap"), std::string::npos);  // no picture, nothing stored
}

TEST(Description, TheClientSizeHoldsWhenTheWindowCameBeforeTheMenu) {
  TMenuItem::StaticClass();
  TMainMenu::StaticClass();
  TWindowNotePanel::StaticClass();
  Owned<TMenuForm> form(new TMenuForm(Application, 0));
  ReadComponentText(form.get(), R"(object MenuForm: TMenuForm
  ClientWidth = 330
  ClientHeight = 210
  Menu = mm1
  object pnlNote: TWindowNotePanel
    Align = alClient
    Note = 'kept in the window'
  end
  object mm1: TMainMenu
    object N4: TMenuItem
      Caption = 'Site'
    end
  end
end
)", L"menus");
  ASSERT_TRUE(form->HandleAllocated());  // made while the description was read
  HWND wnd = form->Handle();
  ASSERT_EQ(GetMenu(wnd), dynamic_cast<TMainMenu*>(form->Menu())->Handle());
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 330);
  EXPECT_EQ(client.bottom, 210);
  auto* note = dynamic_cast<TWindowNotePanel*>(form->FindComponent(L"pnlNote"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->BoundsRect(), Rect(0, 0, 330, 210));  // aligned in the whole client area
  EXPECT_EQ(note->Note(), L"kept in the window");

  // Once loaded, a menu given later takes its bar from the client area, as a window's does.
  form->SetMenu(nullptr);
  GetClientRect(wnd, &client);
  EXPECT_GT(client.bottom, 210);
}

}  // namespace
}  // namespace vcl::testing
