// The list view on real windows: the section list's uses (report view, columns, rows with
// sub-items, selection, exchanging sub-items, delete and clear), what the window shows,
// selection and click events, label editing, the popup menu and re-creation of the window.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}
VCL_CLASS_INFO(TRecordingGraphic) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

// Records the list view's events.
struct ListEvents {
  struct Selection {
    TListItem* item;
    bool selected;
  };
  std::vector<Selection> selections;
  int clicks = 0;
  int double_clicks = 0;

  void SelectItem(TObject*, TListItem* Item, bool Selected) { selections.push_back({Item, Selected}); }
  void Click(TObject*) { ++clicks; }
  void DblClick(TObject*) { ++double_clicks; }

  void Wire(TListView* lv) {
    lv->OnSelectItem = TLVSelectItemEvent::Bind<&ListEvents::SelectItem>(this);
    lv->OnClick = TNotifyEvent::Bind<&ListEvents::Click>(this);
    lv->OnDblClick = TNotifyEvent::Bind<&ListEvents::DblClick>(this);
  }
};

// The composer's section list: report view, grid lines, read-only, whole rows, one selection,
// three columns.
TListView* SectionList(TWinControl* parent) {
  auto* lv = new TListView(parent);
  lv->SetParent(parent);
  lv->SetBounds(4, 4, 279, 261);
  lv->SetViewStyle(vsReport);
  lv->SetGridLines(true);
  lv->SetReadOnly(true);
  lv->SetRowSelect(true);
  const std::pair<const wchar_t*, int> columns[] = {{L"编号", 40}, {L"版块名", 160}, {L"代码", 40}};
  for (auto [caption, width] : columns) {
    TListColumn* c = lv->Columns()->Add();
    c->SetCaption(caption);
    c->SetWidth(width);
  }
  return lv;
}

// Appends a row the way the composer's add does.
TListItem* AddRow(TListView* lv, const String& name, const String& html) {
  const int n = lv->Items()->Count() + 1;
  TListItem* item = lv->Items()->Add();
  item->SetCaption(std::to_wstring(n));
  item->SubItems()->Add(L"[ " + name + L" ] ");
  item->SubItems()->Add(html);
  return item;
}

// The composer's move up: sub-items 0 and 1 trade places with the row above.
void MoveUp(TListView* lv) {
  const int i = lv->ItemIndex();
  if (i < 1) return;
  TStrings* a = lv->Items()->Item(i)->SubItems();
  TStrings* b = lv->Items()->Item(i - 1)->SubItems();
  for (int k = 0; k < 2; ++k) {
    const String t = a->Strings(k);
    a->SetStrings(k, b->Strings(k));
    b->SetStrings(k, t);
  }
}

std::vector<String> Captions(HWND lv) {
  std::vector<String> out;
  for (int i = 0; i < ListCount(lv); ++i) out.push_back(ListText(lv, i, 0));
  return out;
}

// ---------------------------------------------------------------------------------------
// The window

TEST(ListViewWindow, IsASuperclassOfTheSystemListWithTheSectionListsStyles) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  HWND wnd = lv->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TListView");
  EXPECT_EQ(lv->ClassName(), L"TListView");
  EXPECT_EQ(FindControl(wnd), lv);
  const LONG_PTR style = StyleOf(wnd);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_NE(style & LVS_SINGLESEL, 0);
  EXPECT_EQ(style & LVS_EDITLABELS, 0);  // read-only
  EXPECT_EQ(style & LVS_SHOWSELALWAYS, 0);
  EXPECT_NE(style & LVS_SHAREIMAGELISTS, 0);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  const auto ex = SendMessageW(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_NE(ex & LVS_EX_GRIDLINES, 0);
  EXPECT_NE(ex & LVS_EX_FULLROWSELECT, 0);

  ASSERT_EQ(ColumnCount(wnd), 3);
  EXPECT_EQ(ColumnText(wnd, 0), L"编号");
  EXPECT_EQ(ColumnText(wnd, 1), L"版块名");
  EXPECT_EQ(ColumnText(wnd, 2), L"代码");
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 1, 0), 160);

  // Options changed later reach the window.
  lv->SetGridLines(false);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES, 0);
  lv->SetMultiSelect(true);
  EXPECT_EQ(StyleOf(lv->Handle()) & LVS_SINGLESEL, 0);
  lv->SetReadOnly(false);
  EXPECT_NE(StyleOf(lv->Handle()) & LVS_EDITLABELS, 0);
}

TEST(ListViewWindow, ColumnChangesFollowInTheWindowWithTheirTexts) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  AddRow(lv, L"关联销售", L"<p>a</p>");
  HWND wnd = lv->Handle();
  lv->Columns()->Items(1)->SetCaption(L"名称");
  lv->Columns()->Items(2)->SetWidth(90);
  EXPECT_EQ(ColumnText(wnd, 1), L"名称");
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 2, 0), 90);
  EXPECT_EQ(lv->Columns()->Items(2)->Width(), 90);

  // The user drags a column wider: the column reports the window's width.
  SendMessageW(wnd, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(70, 0));
  EXPECT_EQ(lv->Columns()->Items(0)->Width(), 70);

  // A column less: the remaining columns show their own texts.
  lv->Columns()->Delete(2);
  EXPECT_EQ(ColumnCount(wnd), 2);
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ 关联销售 ] ");
  // A column more: the sub-item kept for it shows at once.
  lv->Columns()->Add()->SetCaption(L"代码");
  EXPECT_EQ(ColumnCount(wnd), 3);
  EXPECT_EQ(ListText(wnd, 0, 2), L"<p>a</p>");
}

// ---------------------------------------------------------------------------------------
// Rows

TEST(ListViewRows, AppendedRowsShowCaptionAndSubItems) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  AddRow(lv, L"关联销售", L"<div>1</div>");
  AddRow(lv, L"分隔条", L"");
  HWND wnd = lv->Handle();
  ASSERT_EQ(ListCount(wnd), 2);
  EXPECT_EQ(ListText(wnd, 0, 0), L"1");
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ 关联销售 ] ");
  EXPECT_EQ(ListText(wnd, 0, 2), L"<div>1</div>");
  EXPECT_EQ(ListText(wnd, 1, 0), L"2");
  EXPECT_EQ(ListText(wnd, 1, 2), L"");
  EXPECT_EQ(lv->Items()->Item(1)->SubItems()->Strings(0), L"[ 分隔条 ] ");
  EXPECT_EQ(lv->Items()->Item(1)->Index(), 1);
  EXPECT_EQ(lv->ItemIndex(), -1);
  EXPECT_EQ(lv->Selected(), nullptr);

  // A multi-line fragment is kept whole in its sub-item.
  lv->Items()->Item(1)->SubItems()->SetStrings(1, L"<p>\r\nx\r\n</p>");
  EXPECT_EQ(lv->Items()->Item(1)->SubItems()->Strings(1), L"<p>\r\nx\r\n</p>");
  EXPECT_THROW(lv->Items()->Item(2), EListError);
}

TEST(ListViewRows, DeletedRowsKeepTheOtherNumbers_ClearStartsAgain) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  for (const wchar_t* name : {L"a", L"b", L"c"}) AddRow(lv, name, name);
  HWND wnd = lv->Handle();
  lv->SetItemIndex(1);
  ASSERT_NE(lv->Selected(), nullptr);
  lv->Selected()->Delete();
  EXPECT_EQ(lv->ItemIndex(), -1);
  AddRow(lv, L"d", L"d");
  EXPECT_EQ(Captions(wnd), (std::vector<String>{L"1", L"3", L"3"}));
  EXPECT_EQ(ListText(wnd, 1, 1), L"[ c ] ");
  EXPECT_EQ(ListText(wnd, 2, 1), L"[ d ] ");

  lv->Items()->Delete(0);
  EXPECT_EQ(Captions(wnd), (std::vector<String>{L"3", L"3"}));
  // An item freed directly leaves the list and its row.
  TObject::Free(lv->Items()->Item(0));
  EXPECT_EQ(lv->Items()->Count(), 1);
  EXPECT_EQ(ListCount(wnd), 1);
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ d ] ");

  lv->Items()->Clear();
  EXPECT_EQ(lv->Items()->Count(), 0);
  EXPECT_EQ(ListCount(wnd), 0);
  AddRow(lv, L"e", L"e");
  EXPECT_EQ(Captions(wnd), (std::vector<String>{L"1"}));
}

TEST(ListViewRows, MovingUpExchangesSubItemsWhileCaptionsAndSelectionStay) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  AddRow(lv, L"first", L"<p>1</p>");
  AddRow(lv, L"second", L"<p>2</p>");
  AddRow(lv, L"third", L"<p>3</p>");
  HWND wnd = lv->Handle();
  lv->SetItemIndex(1);
  MoveUp(lv);
  EXPECT_EQ(Captions(wnd), (std::vector<String>{L"1", L"2", L"3"}));
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ second ] ");
  EXPECT_EQ(ListText(wnd, 0, 2), L"<p>2</p>");
  EXPECT_EQ(ListText(wnd, 1, 1), L"[ first ] ");
  EXPECT_EQ(ListText(wnd, 1, 2), L"<p>1</p>");
  EXPECT_EQ(lv->ItemIndex(), 1);
  EXPECT_TRUE(ListSelected(wnd, 1));
  EXPECT_FALSE(ListSelected(wnd, 0));

  // On the first row nothing moves.
  lv->SetItemIndex(0);
  MoveUp(lv);
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ second ] ");
  EXPECT_EQ(lv->ItemIndex(), 0);
}

TEST(ListViewRows, ItemsAreKeptAndCopiedWithoutAWindow) {
  TListView lv(nullptr);
  lv.SetViewStyle(vsReport);
  lv.Columns()->Add()->SetCaption(L"编号");
  TListItem* a = lv.Items()->Add();
  a->SetCaption(L"1");
  a->SubItems()->Add(L"x");
  int data = 7;
  a->SetData(&data);
  TListItem* b = lv.Items()->Insert(0);
  b->SetCaption(L"0");
  EXPECT_EQ(a->Index(), 1);
  EXPECT_THROW(lv.Items()->Insert(5), EListError);
  // One selection at a time, as the window would keep it.
  a->SetSelected(true);
  b->SetSelected(true);
  EXPECT_FALSE(a->Selected());
  EXPECT_EQ(lv.ItemIndex(), 0);
  EXPECT_EQ(lv.SelCount(), 1);
  EXPECT_FALSE(lv.HandleAllocated());

  TListView copy(nullptr);
  copy.SetItems(lv.Items());
  ASSERT_EQ(copy.Items()->Count(), 2);
  EXPECT_EQ(copy.Items()->Item(1)->Caption(), L"1");
  EXPECT_EQ(copy.Items()->Item(1)->SubItems()->Text(), L"x\r\n");
  EXPECT_EQ(copy.Items()->Item(1)->Data(), &data);
  EXPECT_EQ(copy.ItemIndex(), -1);  // the selection is not copied
}

// ---------------------------------------------------------------------------------------
// Selection and clicks

TEST(ListViewSelection, SelectingFiresOnSelectItemForTheItemLeftAndTheItemTaken) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  ListEvents events;
  events.Wire(lv);
  TListItem* a = AddRow(lv, L"a", L"");
  TListItem* b = AddRow(lv, L"b", L"");
  lv->Handle();
  lv->SetItemIndex(0);
  ASSERT_EQ(events.selections.size(), 1u);
  EXPECT_EQ(events.selections[0].item, a);
  EXPECT_TRUE(events.selections[0].selected);

  events.selections.clear();
  lv->SetSelected(b);
  EXPECT_EQ(lv->Selected(), b);
  EXPECT_FALSE(a->Selected());
  ASSERT_EQ(events.selections.size(), 2u);
  EXPECT_EQ(events.selections[0].item, a);
  EXPECT_FALSE(events.selections[0].selected);
  EXPECT_EQ(events.selections[1].item, b);
  EXPECT_TRUE(events.selections[1].selected);

  events.selections.clear();
  lv->SetItemIndex(-1);
  EXPECT_EQ(lv->ItemIndex(), -1);
  ASSERT_EQ(events.selections.size(), 1u);
  EXPECT_FALSE(events.selections[0].selected);

  // Deleting and clearing are not the user's selection changes.
  lv->SetItemIndex(1);
  events.selections.clear();
  lv->Items()->Clear();
  EXPECT_TRUE(events.selections.empty());
}

TEST(ListViewSelection, AClickOnARowSelectsItAndFiresOneClick_ADoubleClickOneDblClick) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  ListEvents events;
  events.Wire(lv);
  AddRow(lv, L"a", L"");
  AddRow(lv, L"b", L"");
  HWND wnd = lv->Handle();
  RECT row{};
  row.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(wnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
  const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(lv->ItemIndex(), 1);
  EXPECT_EQ(events.clicks, 1);

  PostMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(events.double_clicks, 1);
  EXPECT_EQ(lv->ItemIndex(), 1);
}

TEST(ListViewSelection, ARightClickShowsThePopupMenu) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  TComponent menu(nullptr);
  lv->SetPopupMenu(&menu);
  static TComponent* shown_menu = nullptr;
  static TControl* shown_for = nullptr;
  shown_menu = nullptr;
  shown_for = nullptr;
  const auto savedPopup = LayerHooks().Menus.PopupControlMenu;
  LayerHooks().Menus.PopupControlMenu = [](TComponent* Menu, TControl* Control, TPoint) {
    shown_menu = Menu;
    shown_for = Control;
    return true;
  };
  HWND wnd = lv->Handle();
  POINT pt{20, 40};
  ClientToScreen(wnd, &pt);
  SendMessageW(wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(pt.x, pt.y));
  LayerHooks().Menus.PopupControlMenu = savedPopup;
  EXPECT_EQ(shown_menu, &menu);
  EXPECT_EQ(shown_for, lv);
  lv->SetPopupMenu(nullptr);
}

TEST(ListViewSelection, EditedCaptionsAreTakenUnlessReadOnly) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  TListItem* item = AddRow(lv, L"a", L"");
  HWND wnd = lv->Handle();
  auto notify = [&](UINT code, const wchar_t* text) {
    NMLVDISPINFOW info{};
    info.hdr.hwndFrom = wnd;
    info.hdr.code = code;
    info.item.iItem = 0;
    info.item.pszText = const_cast<wchar_t*>(text);
    return lv->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  };
  EXPECT_EQ(notify(LVN_BEGINLABELEDITW, nullptr), TRUE);  // refused while read-only
  EXPECT_EQ(notify(LVN_ENDLABELEDITW, L"x"), FALSE);
  EXPECT_EQ(item->Caption(), L"1");
  lv->SetReadOnly(false);
  wnd = lv->Handle();
  EXPECT_EQ(notify(LVN_BEGINLABELEDITW, nullptr), FALSE);
  EXPECT_EQ(notify(LVN_ENDLABELEDITW, L"renamed"), TRUE);
  EXPECT_EQ(item->Caption(), L"renamed");
  EXPECT_EQ(notify(LVN_ENDLABELEDITW, nullptr), FALSE);  // cancelled
  EXPECT_EQ(item->Caption(), L"renamed");
}

TEST(ListViewSelection, TheSkinEnginesAnnouncementIsNotANotification) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  HWND wnd = lv->Handle();
  // Message 48206 with LParam 16802: no header behind it.
  SendMessageW(wnd, CN_NOTIFY, 0, 16802);
  PostMessageW(wnd, CN_NOTIFY, 0, 16802);
  Pump();
  EXPECT_TRUE(IsWindow(wnd));
}

// ---------------------------------------------------------------------------------------
// Re-creation

TEST(ListViewRecreation, ColumnsRowsSelectionAndDraggedWidthsSurviveANewWindow) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  ListEvents events;
  events.Wire(lv);
  AddRow(lv, L"a", L"<a>");
  AddRow(lv, L"b", L"<b>");
  AddRow(lv, L"c", L"<c>");
  HWND first = lv->Handle();
  lv->SetItemIndex(2);
  SendMessageW(first, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(123, 0));
  events.selections.clear();

  lv->RecreateWnd();
  HWND second = lv->Handle();
  EXPECT_NE(second, first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(WindowClassName(second), L"TListView");
  ASSERT_EQ(ListCount(second), 3);
  EXPECT_EQ(Captions(second), (std::vector<String>{L"1", L"2", L"3"}));
  EXPECT_EQ(ListText(second, 1, 1), L"[ b ] ");
  EXPECT_EQ(ListText(second, 2, 2), L"<c>");
  EXPECT_EQ(ColumnCount(second), 3);
  EXPECT_EQ(SendMessageW(second, LVM_GETCOLUMNWIDTH, 1, 0), 123);
  EXPECT_EQ(lv->ItemIndex(), 2);
  EXPECT_TRUE(ListSelected(second, 2));
  EXPECT_TRUE(events.selections.empty());  // refilling is not the user's doing

  // A new view style makes a new window too; the rows follow.
  lv->SetViewStyle(vsList);
  EXPECT_EQ(StyleOf(lv->Handle()) & LVS_TYPEMASK, LVS_LIST);
  EXPECT_EQ(ListCount(lv->Handle()), 3);
  EXPECT_EQ(lv->ItemIndex(), 2);

  lv->SetViewStyle(vsReport);
  EXPECT_EQ(ListText(lv->Handle(), 0, 2), L"<a>");
}

TEST(ListViewRecreation, TheWindowGoesAndComesWithItsParents) {
  auto form = ShownForm();
  auto* panel = new TRecordingPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 300, 280);
  TListView* lv = SectionList(panel);
  AddRow(lv, L"a", L"<a>");
  AddRow(lv, L"b", L"<b>");
  lv->SetItemIndex(1);
  HWND first = lv->Handle();
  panel->RecreateWnd();
  HWND second = lv->Handle();
  EXPECT_NE(second, first);
  EXPECT_EQ(GetParent(second), panel->Handle());
  EXPECT_EQ(Captions(second), (std::vector<String>{L"1", L"2"}));
  EXPECT_EQ(ListText(second, 1, 2), L"<b>");
  EXPECT_EQ(lv->ItemIndex(), 1);

  // Destroyed by the system with its parent (not through the library): the control lets go
  // of the window and keeps its rows and selection.
  DestroyWindow(panel->Handle());
  EXPECT_FALSE(lv->HandleAllocated());
  EXPECT_EQ(lv->Items()->Count(), 2);
  EXPECT_EQ(lv->ItemIndex(), 1);
}

TEST(ListViewRecreation, RowsAddedBeforeTheWindowExistsAppearInIt) {
  auto form = ShownForm();
  auto* lv = new TListView(form.get());
  lv->SetViewStyle(vsReport);
  lv->Columns()->Add()->SetCaption(L"A");
  lv->Columns()->Add()->SetCaption(L"B");
  TListItem* item = lv->Items()->Add();
  item->SetCaption(L"x");
  item->SubItems()->Add(L"y");
  item->SetSelected(true);
  EXPECT_FALSE(lv->HandleAllocated());
  lv->SetParent(form.get());
  HWND wnd = lv->Handle();
  EXPECT_EQ(ListText(wnd, 0, 0), L"x");
  EXPECT_EQ(ListText(wnd, 0, 1), L"y");
  EXPECT_TRUE(ListSelected(wnd, 0));
  EXPECT_EQ(lv->Selected(), item);
}

}  // namespace
}  // namespace vcl::testing
