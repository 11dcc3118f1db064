// Rich edits on real windows: the system class under the library's name, lines, colours and events.
#include <gtest/gtest.h>

#include <vector>

#include <richedit.h>

#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

TRichEdit* MakeRichEdit(TWinControl* parent) {
  auto* re = Put<TRichEdit>(parent, 0, 0, 300, 200);
  return re;
}

std::vector<String> LinesOf(TStrings* lines) {
  std::vector<String> out;
  for (int i = 0; i < lines->Count(); ++i) out.push_back(lines->Strings(i));
  return out;
}

TEST(RichEditWindow, IsTheSystemsRichEditUnderTheLibrarysName) {
  auto form = ShownForm();
  TRichEdit* re = MakeRichEdit(form.get());
  re->SetScrollBars(ssVertical);
  HWND wnd = re->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TRichEdit");
  EXPECT_NE(StyleOf(wnd) & ES_MULTILINE, 0);
  // A rich edit answers for its text in its own way.
  GETTEXTLENGTHEX length{GTL_DEFAULT, 1200};
  re->SetText(L"a\r\nb");
  EXPECT_EQ(SendMessageW(wnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0), 3);  // one break char
  EXPECT_EQ(re->Text(), L"a\r\nb");

  // Longer than a plain rich edit takes; its vertical bar shows.
  String long_text;
  for (int i = 0; i < 1000; ++i) long_text += String(38, L'a' + static_cast<wchar_t>(i % 26)) + L"\r\n";
  re->SetText(long_text);
  EXPECT_EQ(re->Text().size(), 40000u);
  EXPECT_GE(static_cast<long>(SendMessageW(wnd, EM_GETLIMITTEXT, 0, 0)), 40000);
  EXPECT_NE(StyleOf(wnd) & WS_VSCROLL, 0);
  re->SetMaxLength(10);
  EXPECT_EQ(SendMessageW(wnd, EM_GETLIMITTEXT, 0, 0), 10);

  // The control's colour and font colour are the window's, in a new window too.
  re->SetText(L"商品描述");
  re->SetColor(0x00CCEEFF);
  re->Font()->SetColor(0x00204060);
  re->SetWordWrap(false);
  wnd = re->Handle();
  // Setting the background answers the one before.
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(wnd, EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3))), 0x00CCEEFFu);
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  SendMessageW(wnd, EM_SETSEL, 0, -1);
  SendMessageW(wnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.crTextColor, 0x00204060u);
  EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
  EXPECT_EQ(re->Text(), L"商品描述");
}

// Colours the program sets (a skin's, for one) are not the user's edits: the user's undo history
// keeps only what was typed, and does not grow with every colour change.
TEST(RichEditWindow, SettingTheFontColourIsNotAnEditToUndo) {
  auto form = ShownForm();
  TRichEdit* re = MakeRichEdit(form.get());
  HWND wnd = re->Handle();
  EXPECT_EQ(SendMessageW(wnd, EM_CANUNDO, 0, 0), 0);  // a new window has no history
  re->SetText(L"商品");
  re->Font()->SetColor(0x00204060);
  EXPECT_EQ(SendMessageW(wnd, EM_CANUNDO, 0, 0), 0);

  SendMessageW(wnd, EM_SETSEL, 2, 2);
  SendMessageW(wnd, WM_CHAR, L'甲', 0);
  ASSERT_EQ(re->Text(), L"商品甲");
  for (int i = 0; i < 150; ++i) re->Font()->SetColor(i % 2 ? 0x00406080 : 0x00102030);
  re->Font()->SetColor(0x00102030);
  ASSERT_NE(SendMessageW(wnd, EM_CANUNDO, 0, 0), 0);
  SendMessageW(wnd, EM_UNDO, 0, 0);
  // The typing is taken back; the last colour stays.
  EXPECT_EQ(re->Text(), L"商品");
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  SendMessageW(wnd, EM_SETSEL, 0, -1);
  SendMessageW(wnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.crTextColor, 0x00102030u);
}

TEST(RichEditLines, LinesAreReadAndChangedInTheWindow) {
  auto form = ShownForm();
  TRichEdit* re = MakeRichEdit(form.get());
  TStrings* lines = re->Lines();
  lines->Add(L"第一行");
  lines->Add(L"第二行");
  lines->Add(L"第三行");
  EXPECT_EQ(re->Text(), L"第一行\r\n第二行\r\n第三行\r\n");
  // Changes in the middle land where they belong, past the earlier line breaks.
  lines->Insert(2, L"插入");
  lines->SetStrings(0, L"改");
  lines->Delete(1);
  EXPECT_EQ(lines->Text(), L"改\r\n插入\r\n第三行\r\n");
  lines->SetText(L"x\ny");
  EXPECT_EQ(LinesOf(lines), (std::vector<String>{L"x", L"y"}));
  lines->Clear();
  EXPECT_THROW(lines->Strings(0), EStringListError);

  // Without a window (nor a parent) the lines are the control's text.
  auto* loose = new TRichEdit(form.get());
  loose->Lines()->Add(L"甲");
  loose->Lines()->Add(L"乙");
  EXPECT_EQ(loose->Text(), L"甲\r\n乙\r\n");
  loose->SetParent(form.get());
  EXPECT_EQ(LinesOf(loose->Lines()), (std::vector<String>{L"甲", L"乙"}));
}

TEST(RichEditEvents, TypingFiresOnChangeAndMovingTheCaretOnSelectionChange) {
  auto form = ShownForm();
  TRichEdit* re = MakeRichEdit(form.get());
  Notified changes, selectionChanges;
  re->OnChange = changes.Handler();
  re->OnSelectionChange = selectionChanges.Handler();
  HWND wnd = re->Handle();
  re->SetFocus();
  SendMessageW(wnd, WM_CHAR, L'甲', 0);
  SendMessageW(wnd, WM_CHAR, L'乙', 0);
  Pump();
  EXPECT_EQ(re->Text(), L"甲乙");
  EXPECT_GE(changes.Count(), 1);
  const int selections = selectionChanges.Count();
  EXPECT_GE(selections, 1);
  CHARRANGE range{0, 1};
  SendMessageW(wnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_GT(selectionChanges.Count(), selections);
  EXPECT_EQ(re->SelStart(), 0);
  EXPECT_EQ(re->SelLength(), 1);
}

}  // namespace
}  // namespace vcl::testing
