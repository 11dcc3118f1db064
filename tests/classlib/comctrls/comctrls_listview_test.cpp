// The list view on real windows, used as the composer's section list: rows, selection, events, new windows.
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
  std::vector<std::pair<TListItem*, bool>> selections;
  Notified clicks, double_clicks;
  void SelectItem(TObject*, TListItem* Item, bool Selected) { selections.emplace_back(Item, Selected); }
  void Wire(TListView* lv) {
    lv->OnSelectItem = TLVSelectItemEvent::Bind<&ListEvents::SelectItem>(this);
    lv->OnClick = clicks.Handler();
    lv->OnDblClick = double_clicks.Handler();
  }
};

// The composer's section list: report view, grid lines, read-only, whole rows, one selection,
// three columns.
TListView* SectionList(TWinControl* parent) {
  auto* lv = Put<TListView>(parent, 4, 4, 279, 261);
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

TEST(ListViewWindow, TheSectionListsStylesColumnsAndTheirChangesReachTheWindow) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  AddRow(lv, L"关联销售", L"<p>a</p>");
  HWND wnd = lv->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TListView");
  EXPECT_EQ(FindControl(wnd), lv);
  EXPECT_EQ(StyleOf(wnd) & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS), LVS_REPORT | LVS_SINGLESEL);
  const auto ex = SendMessageW(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_EQ(ex & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  ASSERT_EQ(ColumnCount(wnd), 3);
  EXPECT_EQ(ColumnText(wnd, 2), L"代码");
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 1, 0), 160);

  lv->SetGridLines(false);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES, 0);
  lv->SetMultiSelect(true);
  lv->SetReadOnly(false);
  EXPECT_EQ(StyleOf(lv->Handle()) & (LVS_SINGLESEL | LVS_EDITLABELS), LVS_EDITLABELS);
  wnd = lv->Handle();
  lv->Columns()->Items(1)->SetCaption(L"名称");
  lv->Columns()->Items(2)->SetWidth(90);
  EXPECT_EQ(ColumnText(wnd, 1), L"名称");
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 2, 0), 90);
  // The user drags a column wider: the column reports the window's width.
  SendMessageW(wnd, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(70, 0));
  EXPECT_EQ(lv->Columns()->Items(0)->Width(), 70);
  // A column less, then one more: the sub-item kept for it shows at once.
  lv->Columns()->Delete(2);
  EXPECT_EQ(ColumnCount(wnd), 2);
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ 关联销售 ] ");
  lv->Columns()->Add()->SetCaption(L"代码");
  EXPECT_EQ(ListText(wnd, 0, 2), L"<p>a</p>");
}

TEST(ListViewRows, AddedDeletedFreedAndClearedRowsShowInTheWindow) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  for (const wchar_t* name : {L"a", L"b", L"c"}) AddRow(lv, name, L"<" + String(name) + L">");
  HWND wnd = lv->Handle();
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ a ] ");
  EXPECT_EQ(ListText(wnd, 2, 2), L"<c>");
  EXPECT_EQ(lv->ItemIndex(), -1);
  EXPECT_THROW(lv->Items()->Item(3), EListError);
  lv->SetItemIndex(1);
  lv->Selected()->Delete();
  EXPECT_EQ(lv->ItemIndex(), -1);
  AddRow(lv, L"d", L"d");
  EXPECT_EQ(Captions(wnd), (std::vector<String>{L"1", L"3", L"3"}));
  EXPECT_EQ(ListText(wnd, 1, 1), L"[ c ] ");

  lv->Items()->Delete(0);
  // An item freed directly leaves the list and its row.
  TObject::Free(lv->Items()->Item(0));
  EXPECT_EQ(lv->Items()->Count(), 1);
  ASSERT_EQ(ListCount(wnd), 1);
  EXPECT_EQ(ListText(wnd, 0, 1), L"[ d ] ");
  lv->Items()->Clear();
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
  EXPECT_EQ(ListText(wnd, 0, 2), L"<p>2</p>");
  EXPECT_EQ(ListText(wnd, 1, 1), L"[ first ] ");
  EXPECT_TRUE(ListSelected(wnd, 1));
  EXPECT_FALSE(ListSelected(wnd, 0));
}

TEST(ListViewRows, ItemsKeptWithoutAWindowAreCopiedAndShownWhenItComes) {
  TListView lv(nullptr);
  lv.SetViewStyle(vsReport);
  lv.Columns()->Add()->SetCaption(L"A");
  lv.Columns()->Add()->SetCaption(L"B");
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
  EXPECT_EQ(lv.SelCount(), 1);

  auto form = ShownForm();
  auto* copy = new TListView(form.get());
  copy->SetViewStyle(vsReport);
  copy->Columns()->Assign(lv.Columns());
  copy->SetItems(lv.Items());
  EXPECT_EQ(copy->Items()->Item(1)->Data(), &data);
  EXPECT_EQ(copy->ItemIndex(), -1);  // the selection is not copied
  copy->Items()->Item(1)->SetSelected(true);
  EXPECT_FALSE(copy->HandleAllocated());
  copy->SetParent(form.get());
  HWND wnd = copy->Handle();
  EXPECT_EQ(Captions(wnd), (std::vector<String>{L"0", L"1"}));
  EXPECT_EQ(ListText(wnd, 1, 1), L"x");
  EXPECT_TRUE(ListSelected(wnd, 1));
}

// Selection and clicks

TEST(ListViewSelection, TheProgramsAndTheUsersChoicesFireOnSelectItemAndClicks) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  ListEvents events;
  events.Wire(lv);
  TListItem* a = AddRow(lv, L"a", L"");
  TListItem* b = AddRow(lv, L"b", L"");
  HWND wnd = lv->Handle();
  lv->SetItemIndex(0);
  using Seen = std::vector<std::pair<TListItem*, bool>>;
  EXPECT_EQ(events.selections, (Seen{{a, true}}));
  events.selections.clear();
  lv->SetSelected(b);
  EXPECT_FALSE(a->Selected());
  EXPECT_EQ(events.selections, (Seen{{a, false}, {b, true}}));  // the item left, then the item taken

  // The user clicks the first row, then double-clicks it.
  lv->SetItemIndex(-1);
  RECT row{};
  row.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(wnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
  const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(lv->ItemIndex(), 0);
  EXPECT_EQ(events.clicks.Count(), 1);
  PostMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(events.double_clicks.Count(), 1);

  // Deleting and clearing are not the user's selection changes.
  events.selections.clear();
  lv->Items()->Clear();
  EXPECT_TRUE(events.selections.empty());
}

TEST(ListViewSelection, ARightClickShowsThePopupMenu) {
  auto form = ShownForm();
  TListView* lv = SectionList(form.get());
  TComponent menu(nullptr);
  lv->SetPopupMenu(&menu);
  static TComponent* shown_menu;
  static TControl* shown_for;
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
  EXPECT_EQ(notify(LVN_ENDLABELEDITW, nullptr), FALSE);  // cancelled
  EXPECT_EQ(item->Caption(), L"renamed");

  // The skin engine's announcement (message 48206, LParam 16802) has no header behind it.
  SendMessageW(wnd, CN_NOTIFY, 0, 16802);
  PostMessageW(wnd, CN_NOTIFY, 0, 16802);
  Pump();
  EXPECT_TRUE(IsWindow(wnd));
}

// Re-creation

TEST(ListViewRecreation, ColumnsRowsSelectionAndDraggedWidthsSurviveANewWindow) {
  auto form = ShownForm();
  auto* panel = Put<TRecordingPanel>(form.get(), 0, 0, 300, 280);
  TListView* lv = SectionList(panel);
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
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(Captions(second), (std::vector<String>{L"1", L"2", L"3"}));
  EXPECT_EQ(ListText(second, 2, 2), L"<c>");
  EXPECT_EQ(SendMessageW(second, LVM_GETCOLUMNWIDTH, 1, 0), 123);
  EXPECT_TRUE(ListSelected(second, 2));
  EXPECT_TRUE(events.selections.empty());  // refilling is not the user's doing

  // A new view style makes a new window too; so does the parent's.
  lv->SetViewStyle(vsList);
  EXPECT_EQ(StyleOf(lv->Handle()) & LVS_TYPEMASK, LVS_LIST);
  EXPECT_EQ(ListCount(lv->Handle()), 3);
  panel->RecreateWnd();
  EXPECT_EQ(GetParent(lv->Handle()), panel->Handle());
  EXPECT_EQ(ListText(lv->Handle(), 1, 0), L"2");
  EXPECT_EQ(lv->ItemIndex(), 2);

  // Destroyed by the system with its parent (not through the library): the control lets go
  // of the window and keeps its rows and selection.
  DestroyWindow(panel->Handle());
  EXPECT_FALSE(lv->HandleAllocated());
  EXPECT_EQ(lv->Items()->Count(), 3);
  EXPECT_EQ(lv->ItemIndex(), 2);
}

}  // namespace
}  // namespace vcl::testing
