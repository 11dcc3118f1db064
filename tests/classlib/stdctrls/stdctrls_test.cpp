// Standard controls on real windows: labels, push buttons, check boxes, radio buttons, edits,
// memos and their lines, combo boxes and group boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "stdctrls_support.h"

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}
VCL_CLASS_INFO(TRecordingGraphic) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

int CountColour(const PixelTarget& t, int w, int h, TColor c) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += t.At(x, y) == c;
  return n;
}

// ---------------------------------------------------------------------------------------
// Labels

TEST(Label, AutoSizeFollowsTheCaptionAndKeepsTheEdgeOfItsAlignment) {
  auto form = ShownForm();
  auto* label = Put<TLabel>(form.get());
  label->SetLeft(100);
  label->SetCaption(L"W");
  const int narrow = label->Width();
  const int lineHeight = label->Height();
  EXPECT_GT(narrow, 0);
  label->SetCaption(L"WWWWWWWWWW");
  EXPECT_GT(label->Width(), narrow * 5);
  EXPECT_EQ(label->Height(), lineHeight);
  EXPECT_EQ(label->Left(), 100);

  label->SetAlignment(taRightJustify);
  const int right = label->Left() + label->Width();
  label->SetCaption(L"W");
  EXPECT_EQ(label->Left() + label->Width(), right);


  label->SetAutoSize(false);
  const int fixed = label->Width();
  label->SetCaption(L"WWWWWWWWWWWWWWWWWWWW");
  EXPECT_EQ(label->Width(), fixed);
}

TEST(Label, PaintsItsColourUnlessTransparentAndItsTextInTheFontColour) {
  auto form = ShownForm();
  auto* label = Put<TLabel>(form.get());
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 60, 20);
  label->SetColor(clYellow);
  label->Font()->SetColor(clRed);
  label->Font()->SetStyle({fsBold});
  label->SetCaption(L"MMM");
  {
    PixelTarget t(60, 20);
    label->PaintTo(t.dc(), 0, 0);
    EXPECT_EQ(t.At(59, 19), clYellow);
    EXPECT_GT(CountColour(t, 60, 20, clRed), 10);
  }
  label->SetTransparent(true);
  EXPECT_FALSE(label->ControlStyle().Contains(csOpaque));
  {
    PixelTarget t(60, 20);
    label->PaintTo(t.dc(), 0, 0);
    EXPECT_NE(t.At(59, 19), clYellow);  // the parent's background stays
    EXPECT_GT(CountColour(t, 60, 20, clRed), 10);
  }
}

// ---------------------------------------------------------------------------------------
// Push buttons, check boxes and radio buttons

TEST(Button, AClickFiresOnClickOnceAndGivesItsModalResultToTheForm) {
  auto form = ShownForm();
  auto* ok = Put<TButton>(form.get());
  ok->SetCaption(L"确定");
  ok->SetModalResult(mrOk);
  Counter clicks;
  ok->OnClick = clicks.Event();
  HWND wnd = ok->Handle();
  EXPECT_EQ(WindowClassOf(wnd), L"TButton");

  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);
  // Mouse messages alone click nothing: only the button's own notification does.
  ok->Perform(WM_LBUTTONUP, 0, PointToLParam(2, 2));
  EXPECT_EQ(clicks.count, 1);
}

TEST(Button, TheDefaultButtonAnswersEnterAndTheCancelButtonEscape) {
  auto form = ShownForm();
  auto* edit = Put<TEdit>(form.get());
  auto* ok = Put<TButton>(form.get());
  auto* cancel = Put<TButton>(form.get());
  Counter okClicks, cancelClicks;
  ok->OnClick = okClicks.Event();
  cancel->OnClick = cancelClicks.Event();
  ok->SetDefault(true);
  cancel->SetCancel(true);
  edit->SetFocus();
  form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(edit)));
  EXPECT_EQ(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);

  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(okClicks.count, 1);
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(cancelClicks.count, 1);
  EXPECT_EQ(okClicks.count, 1);

  // With another button focused, that one answers Enter.
  form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(cancel)));
  EXPECT_EQ(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(cancelClicks.count, 2);
  EXPECT_EQ(okClicks.count, 1);
}

TEST(CheckBox, ClicksToggleTheStateAndEveryChangeFiresOnClick) {
  auto form = ShownForm();
  auto* check = Put<TCheckBox>(form.get());
  Counter clicks;
  check->OnClick = clicks.Event();
  HWND wnd = check->Handle();

  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(check->State(), cbChecked);
  EXPECT_EQ(SendMessageW(wnd, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks.count, 1);

  // Changed in code: the library clicks too; no change, no click.
  check->SetChecked(false);
  EXPECT_EQ(SendMessageW(wnd, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks.count, 2);
  check->SetChecked(false);
  EXPECT_EQ(clicks.count, 2);

  check->SetAllowGrayed(true);
  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_EQ(check->State(), cbGrayed);
  EXPECT_EQ(SendMessageW(wnd, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_EQ(check->State(), cbChecked);
  SendMessageW(wnd, BM_CLICK, 0, 0);
  EXPECT_EQ(check->State(), cbUnchecked);

  // A state set before the window exists is what the window shows.
  auto* early = new TCheckBox(form.get());
  early->SetState(cbGrayed);
  early->SetAlignment(taLeftJustify);
  early->SetParent(form.get());
  EXPECT_EQ(SendMessageW(early->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_NE(GetWindowLongPtrW(early->Handle(), GWL_STYLE) & BS_LEFTTEXT, 0);
}

TEST(RadioButton, CheckingOneUnchecksItsSiblingsAndOnlyCheckingClicks) {
  auto form = ShownForm();
  auto* a = new TRadioButton(form.get());
  auto* b = new TRadioButton(form.get());
  a->SetParent(form.get());
  b->SetParent(form.get());
  auto* box = Put<TGroupBox>(form.get());
  auto* elsewhere = new TRadioButton(form.get());
  elsewhere->SetParent(box);
  elsewhere->SetChecked(true);
  Counter aClicks, bClicks;
  a->OnClick = aClicks.Event();
  b->OnClick = bClicks.Event();

  a->SetChecked(true);
  EXPECT_EQ(aClicks.count, 1);
  EXPECT_TRUE(a->TabStop());
  EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);

  SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_FALSE(a->TabStop());
  EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(bClicks.count, 1);
  EXPECT_EQ(aClicks.count, 1);  // being unchecked fires nothing
  EXPECT_TRUE(elsewhere->Checked());  // another parent, another group

  SendMessageW(b->Handle(), BM_CLICK, 0, 0);  // already checked: no change, no click
  EXPECT_EQ(bClicks.count, 1);
}

// ---------------------------------------------------------------------------------------
// Edits

TEST(Edit, DoubleClicksAndChangesReachTheirEvents) {
  auto form = ShownForm();
  auto* edit = Put<TEdit>(form.get());
  Counter dbl, changes, clicks;
  edit->OnDblClick = dbl.Event();
  edit->OnChange = changes.Event();
  edit->OnClick = clicks.Event();
  HWND wnd = edit->Handle();
  EXPECT_NE(GetClassLongPtrW(wnd, GCL_STYLE) & CS_DBLCLKS, 0u);  // the system sends double clicks
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  ClickAt(wnd, 3, 3);
  EXPECT_EQ(clicks.count, 1);
  SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(3, 3));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(3, 3));
  EXPECT_EQ(dbl.count, 1);

  SendMessageW(wnd, WM_CHAR, L'#', 1);
  SendMessageW(wnd, WM_CHAR, L'F', 1);
  EXPECT_EQ(edit->Text(), L"#F");
  EXPECT_EQ(changes.count, 2);
  EXPECT_TRUE(edit->Modified());
}

TEST(Edit, ColourLimitsAndTheFontHeight) {
  auto form = ShownForm();
  auto* edit = Put<TEdit>(form.get());
  edit->SetColor(clYellow);
  {
    PixelTarget t(edit->Width(), edit->Height());
    edit->PaintTo(t.dc(), 0, 0);
    EXPECT_EQ(t.At(edit->Width() / 2, edit->Height() / 2), clYellow);
  }

  // One text line of the font plus the border.
  TEXTMETRICW tm{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, edit->Font()->Handle());
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(edit->Height(), tm.tmHeight + 8 * GetSystemMetrics(SM_CYBORDER));
  const int before = edit->Height();
  edit->Font()->SetSize(18);
  EXPECT_GT(edit->Height(), before);

  HWND wnd = edit->Handle();
  edit->SetMaxLength(3);
  EXPECT_EQ(SendMessageW(wnd, EM_GETLIMITTEXT, 0, 0), 3);
  for (wchar_t c : std::wstring(L"abcde")) SendMessageW(wnd, WM_CHAR, c, 1);
  EXPECT_EQ(edit->Text(), L"abc");

  edit->SetReadOnly(true);
  EXPECT_NE(GetWindowLongPtrW(wnd, GWL_STYLE) & ES_READONLY, 0);
  SendMessageW(wnd, WM_CHAR, L'z', 1);
  EXPECT_EQ(edit->Text(), L"abc");

  edit->SetPasswordChar(L'*');
  EXPECT_EQ(SendMessageW(wnd, EM_GETPASSWORDCHAR, 0, 0), L'*');

  // A new window (upper case only) keeps the text, in upper case now, and the settings.
  edit->SetCharCase(ecUpperCase);
  EXPECT_NE(edit->Handle(), nullptr);
  EXPECT_NE(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_UPPERCASE, 0);
  EXPECT_EQ(edit->Text(), L"ABC");
  EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
}

TEST(Edit, SelectionAndTheClipboard) {
  // A form never shown: no activation from the desktop brings the focus, and with it the
  // edit's select-all, between setting the selection and copying it.
  FormPtr form(new TForm(nullptr, 0));
  auto* edit = new TEdit(form.get());
  edit->SetText(L"颜色 #FF0000");
  edit->SetParent(form.get());
  edit->SetSelStart(3);
  edit->SetSelLength(7);
  EXPECT_EQ(edit->SelText(), L"#FF0000");
  ClearClipboard();
  edit->CopyToClipboard();
  EXPECT_EQ(ClipboardText(), L"#FF0000");
  edit->SelectAll();
  EXPECT_EQ(edit->SelLength(), 10);
  edit->SetSelText(L"x");
  EXPECT_EQ(edit->Text(), L"x");
}

// ---------------------------------------------------------------------------------------
// Memos and their lines

class MemoLines : public ::testing::TestWithParam<bool> {};

TEST_P(MemoLines, AreTheTextsLinesWithOrWithoutAWindow) {
  auto form = ShownForm();
  auto* memo = new TMemo(form.get());
  if (GetParam()) {
    memo->SetParent(form.get());
    ASSERT_TRUE(memo->HandleAllocated());
  }
  TStrings* lines = memo->Lines();
  EXPECT_EQ(lines->Count(), 0);
  lines->Add(L"one");
  EXPECT_EQ(memo->Text(), L"one\r\n");
  lines->Add(L"two");
  lines->Insert(1, L"between");
  EXPECT_EQ(lines->Count(), 3);
  EXPECT_EQ(lines->Strings(1), L"between");
  lines->SetStrings(0, L"ONE");
  lines->Delete(1);
  EXPECT_EQ(lines->Text(), L"ONE\r\ntwo\r\n");
  EXPECT_EQ(lines->Strings(1), L"two");
  EXPECT_THROW(lines->Strings(2), EStringListError);
  EXPECT_THROW(lines->Delete(-1), EStringListError);

  // Text without a final line break: an added line starts a line of its own.
  memo->SetText(L"a\r\nb");
  EXPECT_EQ(lines->Count(), 2);
  lines->Add(L"c");
  EXPECT_EQ(memo->Text(), L"a\r\nb\r\nc");
  lines->Delete(2);
  EXPECT_EQ(memo->Text(), L"a\r\nb\r\n");

  // A fragment of several lines becomes several lines.
  lines->Clear();
  EXPECT_EQ(memo->Text(), L"");
  lines->Add(L"<div>\r\n</div>");
  EXPECT_EQ(lines->Count(), 2);

  // Set as text: CR LF breaks; an empty last line counts, a final break does not.
  lines->SetText(L"p\nq\n\n");
  EXPECT_EQ(memo->Text(), L"p\r\nq\r\n\r\n");
  EXPECT_EQ(lines->Count(), 3);
  EXPECT_EQ(lines->Strings(2), L"");
}

INSTANTIATE_TEST_SUITE_P(WindowOrNot, MemoLines, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& Info) {
  return std::string(Info.param ? "WithAWindow" : "WithoutAWindow");
});

TEST(Memo, AWrappedLineIsStillOneLine) {
  auto form = ShownForm();
  auto* memo = Put<TMemo>(form.get());
  memo->SetWidth(80);
  EXPECT_TRUE(memo->WordWrap());
  const String longLine = L"<div style=\"width:750px; height:100px;font-family:Microsoft YaHei; margin:10px 0\">";
  memo->Lines()->Add(longLine);
  EXPECT_GT(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 2);  // wrapped on screen
  EXPECT_EQ(memo->Lines()->Count(), 1);
  EXPECT_EQ(memo->Lines()->Strings(0), longLine);
  EXPECT_EQ(memo->Lines()->Text(), longLine + L"\r\n");
  memo->SetReadOnly(true);  // read-only for the user, not for the program
  memo->Lines()->Add(L"</div>");
  EXPECT_EQ(memo->Lines()->Count(), 2);
}

TEST(Memo, AHiddenMemoSelectsAndCopiesItsWholeText) {
  auto form = ShownForm();
  // As the composer's work memo: no owner, on the form, client-aligned, invisible.
  auto* memo = new TMemo(nullptr);
  memo->SetParent(form.get());
  memo->SetAlign(alClient);
  memo->SetVisible(false);
  memo->Lines()->Add(L"<div style=\"width:750px;\">");
  memo->Lines()->Add(L"优惠券</div>");
  ClearClipboard();
  memo->SelectAll();
  memo->CopyToClipboard();
  EXPECT_EQ(ClipboardText(), L"<div style=\"width:750px;\">\r\n优惠券</div>\r\n");
  // Nothing in the memo: the clipboard holds an empty text, not the older one.
  memo->Lines()->Clear();
  memo->SelectAll();
  memo->CopyToClipboard();
  EXPECT_EQ(ClipboardText(), L"");
  TObject::Free(memo);
}

TEST(Memo, ReturnsAndTabsAreTheMemosOnlyWhenItWantsThem) {
  auto form = ShownForm();
  auto* memo = Put<TMemo>(form.get());
  HWND wnd = memo->Handle();
  EXPECT_NE(SendMessageW(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
  EXPECT_EQ(SendMessageW(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, 0);
  memo->SetWantReturns(false);
  memo->SetWantTabs(true);
  EXPECT_EQ(SendMessageW(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
  EXPECT_NE(SendMessageW(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, 0);
  memo->SetScrollBars(ssVertical);
  EXPECT_NE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
}

// ---------------------------------------------------------------------------------------
// Combo boxes

TEST(ComboBox, ItemsIndexAndTextBeforeAndAfterTheWindow) {
  auto form = ShownForm();
  auto* combo = new TComboBox(form.get());
  for (const wchar_t* s : {L"12", L"14", L"15", L"16"}) combo->Items()->Add(s);
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), L"15");

  combo->SetParent(form.get());
  HWND wnd = combo->Handle();
  EXPECT_EQ(SendMessageW(wnd, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(wnd, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(combo->Text(), L"15");

  combo->Items()->Add(L"18");
  EXPECT_EQ(SendMessageW(wnd, CB_GETCOUNT, 0, 0), 5);
  combo->Items()->Delete(0);
  EXPECT_EQ(combo->ItemIndex(), 1);  // the chosen item moved up
  EXPECT_EQ(combo->Items()->Strings(0), L"14");
  combo->SetItemIndex(3);
  EXPECT_EQ(combo->Text(), L"18");
  combo->SetItemIndex(7);  // out of range: none
  EXPECT_EQ(combo->ItemIndex(), -1);

  combo->SetItemIndex(0);
  combo->SetText(L"17");  // typed into the edit field
  EXPECT_EQ(combo->Text(), L"17");

  // A new window for another style keeps the items and the choice.
  combo->SetStyle(csDropDownList);
  wnd = combo->Handle();
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessageW(wnd, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->Text(), L"14");
}

TEST(ComboBox, ChoosingAnItemFiresClickSelectOrChange) {
  auto form = ShownForm();
  auto* combo = Put<TComboBox>(form.get());
  for (const wchar_t* s : {L"solid", L"dashed"}) combo->Items()->Add(s);
  Counter changes, selects, clicks;
  combo->OnChange = changes.Event();
  combo->OnClick = clicks.Event();
  HWND wnd = combo->Handle();
  auto choose = [&](int index) {
    SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(wnd));
  };
  choose(1);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(changes.count, 1);  // no OnSelect: the choice is a change
  EXPECT_EQ(combo->Text(), L"dashed");
  combo->OnSelect = selects.Event();
  choose(0);
  EXPECT_EQ(selects.count, 1);
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(combo->Text(), L"solid");
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), CBN_EDITCHANGE), reinterpret_cast<LPARAM>(wnd));
  EXPECT_EQ(changes.count, 2);

  // Dropped, the list shows every item (up to DropDownCount).
  Counter drops, closes;
  combo->OnDropDown = drops.Event();
  combo->OnCloseUp = closes.Event();
  for (int i = 0; i < 10; ++i) combo->Items()->Add(std::to_wstring(i));
  combo->SetDropDownCount(6);
  combo->SetDroppedDown(true);
  EXPECT_EQ(drops.count, 1);
  EXPECT_TRUE(combo->DroppedDown());
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
  RECT list{};
  GetWindowRect(info.hwndList, &list);
  const auto itemHeight = SendMessageW(wnd, CB_GETITEMHEIGHT, 0, 0);
  EXPECT_GE(list.bottom - list.top, 6 * itemHeight);
  EXPECT_LT(list.bottom - list.top, 9 * itemHeight);
  combo->SetDroppedDown(false);
  EXPECT_EQ(closes.count, 1);
  EXPECT_FALSE(combo->DroppedDown());
}

TEST(ComboBox, SortedItemsStayInOrderAndTheChoiceFollows) {
  auto form = ShownForm();
  auto* unshown = new TComboBox(form.get());
  for (const wchar_t* s : {L"pear", L"Apple", L"fig"}) unshown->Items()->Add(s);
  unshown->SetItemIndex(2);
  unshown->SetSorted(true);
  EXPECT_EQ(unshown->ItemIndex(), 1);
  EXPECT_EQ(unshown->Text(), L"fig");

  auto* combo = Put<TComboBox>(form.get());
  for (const wchar_t* s : {L"pear", L"Apple", L"fig"}) combo->Items()->Add(s);
  combo->SetItemIndex(0);
  combo->SetSorted(true);
  EXPECT_EQ(combo->Items()->Strings(0), L"Apple");
  EXPECT_EQ(combo->Items()->Strings(2), L"pear");
  EXPECT_EQ(combo->Text(), L"pear");
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Items()->Add(L"banana"), 1);
  wchar_t item[16] = {};
  SendMessageW(combo->Handle(), CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"banana");
}


// ---------------------------------------------------------------------------------------
// Value changes announced to whoever hooks the control

struct ChangeWatch {
  TWindowProcHook hook;
  std::vector<LPARAM> changed;  // LParam of each CM_CHANGED
  void Proc(TMessage& m) {
    if (m.Msg == CM_CHANGED) changed.push_back(m.LParam);
    hook.CallPrevious(m);
  }
  explicit ChangeWatch(TControl* c) { hook.Install(c, TWndMethod::Bind<&ChangeWatch::Proc>(this)); }
  size_t ForControl(const TControl* c) const {
    return static_cast<size_t>(std::count(changed.begin(), changed.end(), reinterpret_cast<LPARAM>(c)));
  }
};

TEST(Changed, EditsCheckBoxesRadioButtonsAndCombosTellTheirValueChanged) {
  auto form = ShownForm();
  auto* edit = Put<TEdit>(form.get());
  ChangeWatch editWatch(edit);
  SendMessageW(edit->Handle(), WM_CHAR, L'x', 1);
  EXPECT_EQ(editWatch.ForControl(edit), 1u);
  edit->SetText(L"typed");
  EXPECT_EQ(editWatch.ForControl(edit), 2u);

  auto* check = Put<TCheckBox>(form.get());
  ChangeWatch checkWatch(check);
  check->SetChecked(true);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(check->Handle()), BN_CLICKED),
               reinterpret_cast<LPARAM>(check->Handle()));
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(checkWatch.ForControl(check), 2u);
  check->SetChecked(false);  // no change, nothing told
  EXPECT_EQ(checkWatch.changed.size(), 2u);

  auto* first = new TRadioButton(form.get());
  auto* second = new TRadioButton(form.get());
  first->SetParent(form.get());
  second->SetParent(form.get());
  first->SetChecked(true);
  ChangeWatch firstWatch(first), secondWatch(second);
  second->SetChecked(true);  // both values change
  EXPECT_EQ(secondWatch.ForControl(second), 1u);
  EXPECT_EQ(firstWatch.ForControl(first), 1u);

  auto* combo = Put<TComboBox>(form.get());
  for (const wchar_t* s : {L"one", L"two"}) combo->Items()->Add(s);
  ChangeWatch comboWatch(combo);
  Counter selects;
  combo->OnSelect = selects.Event();  // chosen with an OnSelect: still a change of value
  HWND wnd = combo->Handle();
  SendMessageW(wnd, CB_SETCURSEL, 1, 0);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), CBN_SELCHANGE), reinterpret_cast<LPARAM>(wnd));
  EXPECT_EQ(selects.count, 1);
  EXPECT_GE(comboWatch.ForControl(combo), 1u);
}

TEST(GroupBox, ChildrenSitInsideTheEtchedFrameBelowTheCaption) {
  auto form = ShownForm();
  auto* box = Put<TGroupBox>(form.get(), 0, 0, 200, 100);
  box->SetCaption(L"参数");
  auto* inner = new TRecordingPanel(form.get());
  inner->SetParent(box);
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->Left(), 2);
  EXPECT_EQ(inner->Width(), 196);
  EXPECT_GT(inner->Top(), 8);
  EXPECT_EQ(inner->Top() + inner->Height(), 98);

  inner->SetVisible(false);
  PixelTarget t(200, 100);
  box->PaintTo(t.dc(), 0, 0);
  EXPECT_EQ(t.At(0, 60), ColorToRGB(clBtnShadow));
  EXPECT_EQ(t.At(1, 60), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(t.At(199, 60), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(t.At(100, 60), ColorToRGB(box->Color()));
}

}  // namespace
}  // namespace vcl::testing
