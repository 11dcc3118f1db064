// List boxes, check list boxes and owner-drawn combo boxes on real windows: items before and
// after the window, selection and its events, and owner-drawn items painted by the events into
// memory bitmaps, both when the parent passes the system's WM_DRAWITEM on and when the window
// prints itself.
#include <gtest/gtest.h>

#include "classlib/stdctrls/CheckListBox.h"
#include "classlib/stdctrls/ListBox.h"
#include "stdctrls_support.h"

namespace vcl::testing {
namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

// Paints each item in its own flat colour (red, green, blue, ...) and records the calls.
struct ItemPainter {
  std::vector<int> drawn;
  std::vector<TOwnerDrawState> states;
  int measured = 0;
  static TColor ColourOf(int Index) {
    static const TColor colours[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua};
    return colours[Index % 6];
  }
  void Draw(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State) {
    drawn.push_back(Index);
    states.push_back(State);
    TCanvas* canvas = Control->ClassType().InheritsFrom(TCustomListBox::StaticClass())
                          ? static_cast<TCustomListBox*>(Control)->Canvas()
                          : static_cast<TCustomComboBox*>(Control)->Canvas();
    canvas->Brush()->SetColor(ColourOf(Index));
    canvas->FillRect(Rect);
  }
  // Item i is 10 + 4 i pixels high.
  void Measure(TWinControl*, int Index, int& Height) {
    ++measured;
    Height = 10 + 4 * Index;
  }
  TDrawItemEvent DrawEvent() { return TDrawItemEvent::Bind<&ItemPainter::Draw>(this); }
  TMeasureItemEvent MeasureEvent() { return TMeasureItemEvent::Bind<&ItemPainter::Measure>(this); }
};

// The item as the system asks for it: WM_DRAWITEM sent to the parent, drawing into Target.
void SendDrawItem(TWinControl* Control, UINT Type, int Index, TRect Rect, UINT State, HDC Target) {
  DRAWITEMSTRUCT item{};
  item.CtlType = Type;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(Control->Handle()));
  item.itemID = static_cast<UINT>(Index);
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = State;
  item.hwndItem = Control->Handle();
  item.hDC = Target;
  item.rcItem = Rect;
  SendMessageW(Control->Parent()->Handle(), WM_DRAWITEM, static_cast<WPARAM>(item.CtlID), reinterpret_cast<LPARAM>(&item));
}

// ---------------------------------------------------------------------------------------
// List boxes

TEST(ListBox, ItemsAndIndexLiveWithoutAWindowAndMoveIntoIt) {
  auto form = ShownForm();
  auto* list = new TListBox(form.get());
  list->Items()->Add(L"苹果");
  list->Items()->Add(L"梨");
  list->Items()->Add(L"桃");
  list->SetItemIndex(1);
  EXPECT_FALSE(list->HandleAllocated());
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_TRUE(list->Selected(1));

  list->SetParent(form.get());
  HWND wnd = list->Handle();
  EXPECT_EQ(WindowClassOf(wnd), L"TListBox");
  EXPECT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(wnd, LB_GETCURSEL, 0, 0), 1);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  // Changes go to the window; the chosen item survives a new window.
  list->Items()->Insert(0, L"橙");
  EXPECT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 4);
  wchar_t text[16] = {};
  SendMessageW(wnd, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"橙");
  list->SetItemIndex(3);
  list->SetBorderStyle(TBorderStyle::bsNone);
  EXPECT_EQ(GetWindowLongPtrW(list->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(list->Items()->Strings(3), L"桃");

  // An index outside the items chooses none.
  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_THROW(list->Selected(9), EListError);
}

TEST(ListBox, TheUsersChoiceClicksAndSortingKeepsTheChosenItem) {
  auto form = ShownForm();
  auto* list = Put<TListBox>(form.get());
  for (const wchar_t* s : {L"c", L"a", L"b"}) list->Items()->Add(s);
  Counter clicks, dblClicks;
  list->OnClick = clicks.Event();
  list->OnDblClick = dblClicks.Event();
  // The list reports the user's choice (LBN_SELCHANGE) through its parent.
  SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 2));
  SendMessageW(list->Handle(), WM_LBUTTONUP, 0, PointToLParam(5, 2));
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(clicks.sender, list);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list->Handle()), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list->Handle()));
  EXPECT_EQ(dblClicks.count, 1);
  // Setting the index in code is no click.
  list->SetItemIndex(2);
  EXPECT_EQ(clicks.count, 1);

  list->SetSorted(true);
  EXPECT_EQ(list->Items()->Strings(0), L"a");
  EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), L"b");
  list->Items()->Add(L"0");
  EXPECT_EQ(list->Items()->Strings(0), L"0");
  EXPECT_EQ(list->ItemAtPos(list->ItemRect(1).TopLeft(), true), 1);
  EXPECT_EQ(list->ItemAtPos({2, list->ClientHeight() - 1}, true), -1);
}

TEST(ListBox, MultiSelectionSelectsItemsOneByOne) {
  auto form = ShownForm();
  auto* list = Put<TListBox>(form.get());
  for (const wchar_t* s : {L"a", L"b", L"c", L"d"}) list->Items()->Add(s);
  list->SetMultiSelect(true);
  EXPECT_NE(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
  list->SetItemIndex(-1);
  EXPECT_EQ(list->SelCount(), 0);
  list->SetSelected(1, true);
  list->SetSelected(3, true);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(list->Selected(3));
  EXPECT_FALSE(list->Selected(2));
  list->SetItemIndex(2);
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_EQ(list->ItemIndex(), 2);
}

TEST(ListBox, OwnerDrawnItemsArePaintedByTheEventIntoTheGivenContext) {
  auto form = ShownForm();
  auto* list = new TListBox(form.get());
  ItemPainter painter;
  list->OnDrawItem = painter.DrawEvent();
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(12);
  list->SetBounds(0, 0, 80, 60);
  list->SetParent(form.get());
  for (const wchar_t* s : {L"a", L"b", L"c"}) list->Items()->Add(s);
  HWND wnd = list->Handle();
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
  EXPECT_EQ(SendMessageW(wnd, LB_GETITEMHEIGHT, 0, 0), 12);

  // The system's request, passed on by the parent.
  PixelTarget direct(40, 20);
  SendDrawItem(list, ODT_LISTBOX, 2, TRect(0, 0, 40, 12), 0, direct.dc());
  ASSERT_FALSE(painter.drawn.empty());
  EXPECT_EQ(painter.drawn.back(), 2);
  EXPECT_EQ(direct.At(5, 5), clBlue);
  EXPECT_EQ(direct.At(5, 15), static_cast<TColor>(0x563412));  // below the item: untouched

  // A selected, focused item: its state reaches the event, the focus rectangle comes last.
  SendDrawItem(list, ODT_LISTBOX, 0, TRect(0, 0, 40, 12), ODS_SELECTED | ODS_FOCUS, direct.dc());
  EXPECT_TRUE(painter.states.back().Contains(odSelected));
  EXPECT_TRUE(painter.states.back().Contains(odFocused));

  // The window printing itself asks the parent for each item it shows.
  painter.drawn.clear();
  PixelTarget printed(80, 60);
  SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
  EXPECT_GE(painter.drawn.size(), 3u);
  EXPECT_EQ(printed.At(3, 3), clRed);
  EXPECT_EQ(printed.At(3, 12 + 3), clLime);
  EXPECT_EQ(printed.At(3, 24 + 3), clBlue);
}

TEST(ListBox, VariableHeightsComeFromOnMeasureItem) {
  auto form = ShownForm();
  auto* list = new TListBox(form.get());
  ItemPainter painter;
  list->OnMeasureItem = painter.MeasureEvent();
  list->SetStyle(lbOwnerDrawVariable);
  list->SetParent(form.get());
  for (const wchar_t* s : {L"a", L"b", L"c"}) list->Items()->Add(s);
  EXPECT_GE(painter.measured, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageW(list->Handle(), LB_GETITEMHEIGHT, i, 0), 10 + 4 * i);
  EXPECT_EQ(list->ItemRect(2).Height(), 18);
}

// ---------------------------------------------------------------------------------------
// Check list boxes

TEST(CheckListBox, StatesFollowTheirItemsAndTheBoxClickTogglesThem) {
  auto form = ShownForm();
  auto* list = new TCheckListBox(form.get());
  for (const wchar_t* s : {L"a", L"b", L"c"}) list->Items()->Add(s);
  list->SetChecked(1, true);
  list->SetParent(form.get());
  HWND wnd = list->Handle();
  EXPECT_EQ(WindowClassOf(wnd), L"TCheckListBox");
  // The boxes are drawn by the control, whatever its style.
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);

  // States move with their items.
  list->Items()->Insert(0, L"new");
  EXPECT_FALSE(list->Checked(0));
  EXPECT_TRUE(list->Checked(2));
  list->Items()->Delete(1);
  EXPECT_TRUE(list->Checked(1));
  EXPECT_EQ(list->Items()->Strings(1), L"b");
  EXPECT_THROW(list->Checked(5), EListError);

  Counter checks;
  list->OnClickCheck = checks.Event();
  const TRect item = list->ItemRect(0);
  // A click on the box toggles; on the text it only chooses.
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(item.Left + 3, item.Top + 3));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(item.Left + 3, item.Top + 3));
  EXPECT_TRUE(list->Checked(0));
  EXPECT_EQ(checks.count, 1);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(item.Left + 40, item.Top + 3));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(item.Left + 40, item.Top + 3));
  EXPECT_TRUE(list->Checked(0));
  EXPECT_EQ(checks.count, 1);

  // The space bar toggles the chosen item; with AllowGrayed through the grayed state.
  list->SetAllowGrayed(true);
  list->SetItemIndex(1);
  wchar_t space = L' ';
  list->Perform(WM_CHAR, space, 0);
  EXPECT_EQ(list->State(1), cbGrayed);
  list->Perform(WM_CHAR, space, 0);
  EXPECT_EQ(list->State(1), cbUnchecked);
  EXPECT_EQ(checks.count, 3);

  // Sorting takes the states along with their items.
  list->SetChecked(0, true);
  list->SetState(1, cbGrayed);
  const String first = list->Items()->Strings(0);
  const String second = list->Items()->Strings(1);
  list->SetSorted(true);
  EXPECT_TRUE(list->Checked(list->Items()->IndexOf(first)));
  EXPECT_EQ(list->State(list->Items()->IndexOf(second)), cbGrayed);
  EXPECT_EQ(list->State(list->Items()->IndexOf(L"c")), cbUnchecked);
  list->SetSorted(false);
  for (int i = 0; i < list->Count(); ++i) list->SetState(i, cbUnchecked);

  // A disabled item stays as it is.
  list->SetItemEnabled(2, false);
  list->SetItemIndex(2);
  list->Perform(WM_CHAR, space, 0);
  EXPECT_EQ(list->State(2), cbUnchecked);
  list->Items()->Clear();
  EXPECT_THROW(list->State(0), EListError);
}

TEST(CheckListBox, TheBoxIsDrawnBeforeTheItemTheEventPaints) {
  auto form = ShownForm();
  auto* list = new TCheckListBox(form.get());
  ItemPainter painter;
  list->OnDrawItem = painter.DrawEvent();
  list->SetParent(form.get());
  list->Items()->Add(L"a");
  list->SetChecked(0, true);
  PixelTarget t(80, 20);
  SendDrawItem(list, ODT_LISTBOX, 0, TRect(0, 0, 80, 16), 0, t.dc());
  ASSERT_EQ(painter.drawn.size(), 1u);
  // The event's rectangle starts after the box column; the box is the control's.
  const int boxWidth = GetSystemMetrics(SM_CXMENUCHECK) + 2;
  EXPECT_EQ(t.At(boxWidth + 2, 8), clRed);
  EXPECT_NE(t.At(2, 8), clRed);
}

// ---------------------------------------------------------------------------------------
// Combo boxes

TEST(ComboBox, OwnerDrawnStylesAreTheSystemsAndTheEventPaintsTheItems) {
  auto form = ShownForm();
  auto* combo = new TComboBox(form.get());
  ItemPainter painter;
  combo->OnDrawItem = painter.DrawEvent();
  combo->SetStyle(csOwnerDrawFixed);
  combo->SetItemHeight(20);
  for (const wchar_t* s : {L"a", L"b", L"c"}) combo->Items()->Add(s);
  combo->SetItemIndex(1);
  combo->SetParent(form.get());
  HWND wnd = combo->Handle();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & 0x3, CBS_DROPDOWNLIST);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);
  // The list's items take ItemHeight, asked of the control by the system.
  EXPECT_EQ(SendMessageW(wnd, CB_GETITEMHEIGHT, 0, 0), 20);

  PixelTarget direct(60, 30);
  SendDrawItem(combo, ODT_COMBOBOX, 2, TRect(0, 0, 60, 20), ODS_COMBOBOXEDIT, direct.dc());
  ASSERT_FALSE(painter.drawn.empty());
  EXPECT_EQ(painter.drawn.back(), 2);
  EXPECT_TRUE(painter.states.back().Contains(odComboBoxEdit));
  EXPECT_EQ(direct.At(10, 10), clBlue);

  // The field shows the chosen item, painted by the event when the window prints itself.
  painter.drawn.clear();
  PixelTarget printed(combo->Width(), combo->Height());
  SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
  ASSERT_FALSE(painter.drawn.empty());
  EXPECT_EQ(painter.drawn.back(), 1);
  EXPECT_EQ(printed.At(6, combo->Height() / 2), clLime);

  // The canvas was lent for the drawing only.
  EXPECT_EQ(combo->Canvas()->HandleAllocated(), false);
}

TEST(ComboBox, VariableHeightsAndTheSystemsWindows) {
  auto form = ShownForm();
  auto* combo = new TComboBox(form.get());
  ItemPainter painter;
  combo->OnMeasureItem = painter.MeasureEvent();
  combo->SetStyle(csOwnerDrawVariable);
  combo->SetParent(form.get());
  for (const wchar_t* s : {L"a", L"b", L"c"}) combo->Items()->Add(s);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETITEMHEIGHT, i, 0), 10 + 4 * i);
  // A list style has no edit field of its own; the list is there.
  EXPECT_EQ(combo->EditHandle(), nullptr);
  EXPECT_NE(combo->ListHandle(), nullptr);

  combo->SetStyle(csDropDown);
  HWND edit = combo->EditHandle();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetParent(edit), combo->Handle());
  EXPECT_EQ(WindowClassOf(edit), L"Edit");
  EXPECT_EQ(GetWindowLongPtrW(combo->Handle(), GWL_STYLE) & CBS_OWNERDRAWVARIABLE, 0);
}

}  // namespace
}  // namespace vcl::testing
