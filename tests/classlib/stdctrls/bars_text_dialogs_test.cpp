// Scroll bar controls, static text and message dialogs on real windows: what reaches the
// window (styles, scroll information), the scroll messages coming back through the parent,
// sizing to the text, accelerators, and the modal message form.
#include <gtest/gtest.h>

#include "classlib/stdctrls/MessageDialog.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StaticText.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "stdctrls_support.h"

namespace vcl::testing {
namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

SCROLLINFO InfoOf(HWND Wnd) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(Wnd, SB_CTL, &info);
  return info;
}

// ---------------------------------------------------------------------------------------
// Scroll bars

TEST(ScrollBar, RangePageAndPositionReachTheWindowAndStayConsistent) {
  auto form = ShownForm();
  auto* bar = Put<TScrollBar>(form.get());
  HWND wnd = bar->Handle();
  EXPECT_EQ(WindowClassOf(wnd), L"TScrollBar");
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & SBS_VERT, 0);
  Counter changes;
  bar->OnChange = changes.Event();

  bar->SetParams(30, 10, 200);
  SCROLLINFO info = InfoOf(wnd);
  EXPECT_EQ(info.nMin, 10);
  EXPECT_EQ(info.nMax, 200);
  EXPECT_EQ(info.nPos, 30);
  EXPECT_EQ(changes.count, 1);
  // The page ends at Max: the last position is Max - PageSize + 1.
  bar->SetPageSize(50);
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 151);
  EXPECT_EQ(InfoOf(wnd).nPage, 50u);
  EXPECT_EQ(InfoOf(wnd).nPos, 151);
  bar->SetPosition(-5);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(changes.count, 3);
  bar->SetPosition(10);
  EXPECT_EQ(changes.count, 3);
  EXPECT_THROW(bar->SetParams(10, 100, 50), EInvalidOperation);
  EXPECT_THROW(bar->SetMax(40), EInvalidOperation);  // below the page
  EXPECT_EQ(bar->Max(), 200);

  // Turned round, it lies the other way.
  const int w = bar->Width(), h = bar->Height();
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->Width(), h);
  EXPECT_EQ(bar->Height(), w);
  EXPECT_NE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBS_VERT, 0);
  EXPECT_EQ(InfoOf(bar->Handle()).nPos, 10);
}

TEST(ScrollBar, TheParentsScrollMessagesMoveItThroughOnScroll) {
  auto form = ShownForm();
  auto* bar = Put<TScrollBar>(form.get());
  bar->SetSmallChange(3);
  bar->SetLargeChange(20);
  struct Scrolls {
    std::vector<TScrollCode> codes;
    int clampTo = -1;
    void Handle(TObject*, TScrollCode Code, int& Pos) {
      codes.push_back(Code);
      if (clampTo >= 0) Pos = std::min(Pos, clampTo);
    }
  } scrolls;
  bar->OnScroll = TScrollEvent::Bind<&Scrolls::Handle>(&scrolls);
  Counter changes;
  bar->OnChange = changes.Event();
  auto send = [&](WORD code, WORD pos = 0) {
    SendMessageW(form->Handle(), WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(bar->Handle()));
  };
  send(SB_LINEDOWN);
  EXPECT_EQ(bar->Position(), 3);
  send(SB_PAGEDOWN);
  EXPECT_EQ(bar->Position(), 23);
  send(SB_LINEUP);
  EXPECT_EQ(bar->Position(), 20);
  send(SB_BOTTOM);
  EXPECT_EQ(bar->Position(), 100);
  send(SB_TOP);
  EXPECT_EQ(bar->Position(), 0);
  // The handler may hold the position back.
  scrolls.clampTo = 5;
  send(SB_PAGEDOWN);
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_EQ(changes.count, 6);
  ASSERT_EQ(scrolls.codes.size(), 6u);
  EXPECT_EQ(scrolls.codes[0], scLineDown);
  EXPECT_EQ(scrolls.codes[3], scBottom);
  // The end of a scroll is reported too, and changes nothing.
  send(SB_ENDSCROLL);
  EXPECT_EQ(scrolls.codes.back(), scEndScroll);
  EXPECT_EQ(changes.count, 6);
}

// ---------------------------------------------------------------------------------------
// Static text

TEST(StaticText, StylesFollowThePropertiesAndTheSizeFollowsTheText) {
  auto form = ShownForm();
  auto* text = Put<TStaticText>(form.get());
  text->SetLeft(50);
  text->SetCaption(L"短");
  HWND wnd = text->Handle();
  EXPECT_EQ(WindowClassOf(wnd), L"TStaticText");
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
  const int narrow = text->Width();
  text->SetCaption(L"一段更长的文字");
  EXPECT_GT(text->Width(), narrow * 3);

  text->SetAlignment(taRightJustify);
  const int right = text->Left() + text->Width();
  text->SetCaption(L"短");
  EXPECT_EQ(text->Left() + text->Width(), right);
  EXPECT_EQ(GetWindowLongPtrW(text->Handle(), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);

  text->SetBorderStyle(sbsSingle);
  EXPECT_NE(GetWindowLongPtrW(text->Handle(), GWL_STYLE) & WS_BORDER, 0);
  text->SetBorderStyle(sbsSunken);
  EXPECT_NE(GetWindowLongPtrW(text->Handle(), GWL_STYLE) & SS_SUNKEN, 0);
  text->SetShowAccelChar(false);
  EXPECT_NE(GetWindowLongPtrW(text->Handle(), GWL_STYLE) & SS_NOPREFIX, 0);

  text->SetAutoSize(false);
  text->SetWidth(200);
  text->SetCaption(L"x");
  EXPECT_EQ(text->Width(), 200);
}

TEST(StaticText, ItsAcceleratorFocusesTheControlItNames) {
  auto form = ShownForm();
  auto* edit = Put<TEdit>(form.get());
  edit->SetTop(40);
  auto* text = Put<TStaticText>(form.get());
  text->SetCaption(L"&Name");
  text->SetFocusControl(edit);
  EXPECT_EQ(text->Perform(CM_DIALOGCHAR, L'n', 0), 1);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(text->Perform(CM_DIALOGCHAR, L'x', 0), 0);
  // The control named goes away: the text forgets it.
  TObject::Free(edit);
  EXPECT_EQ(text->FocusControl(), nullptr);
  EXPECT_EQ(text->Perform(CM_DIALOGCHAR, L'n', 0), 0);
}

// ---------------------------------------------------------------------------------------
// Message dialogs

TEST(MessageDialog, TheMessageFormHasItsClassNameButtonsAndResult) {
  auto* dialog = CreateMessageDialog(L"保存更改吗？", mtConfirmation, mbYesNoCancel);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Caption(), L"Confirm");
  EXPECT_EQ(dialog->Owner(), Application);
  EXPECT_EQ(WindowClassOf(dialog->Handle()), L"TMessageForm");
  EXPECT_EQ(dialog->BorderStyle(), TFormBorderStyle::bsDialog);
  auto* message = dynamic_cast<TLabel*>(dialog->FindComponent(L"Message"));
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->Caption(), L"保存更改吗？");
  auto* yes = dynamic_cast<TButton*>(dialog->FindComponent(L"Yes"));
  auto* no = dynamic_cast<TButton*>(dialog->FindComponent(L"No"));
  auto* cancel = dynamic_cast<TButton*>(dialog->FindComponent(L"Cancel"));
  ASSERT_TRUE(yes && no && cancel);
  EXPECT_EQ(dialog->FindComponent(L"OK"), nullptr);
  EXPECT_TRUE(yes->Default());
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_FALSE(no->Cancel());
  EXPECT_EQ(no->ModalResult(), mrNo);
  // Side by side under the text, in their kinds' order.
  EXPECT_LT(yes->Left(), no->Left());
  EXPECT_LT(no->Left(), cancel->Left());
  EXPECT_GE(yes->Top(), message->Top() + message->Height());
  EXPECT_LE(cancel->Left() + cancel->Width(), dialog->ClientWidth());
  TObject::Free(dialog);
}

TEST(MessageDialog, MessageDlgShowsTheFormModallyAndAnswersThePressedButton) {
  String shownClass;
  String firstButton;
  auto old = SetModalLoopStep([&](TCustomForm& f) {
    wchar_t name[64] = {};
    GetClassNameW(f.Handle(), name, 64);
    shownClass = name;
    auto* button = dynamic_cast<TButton*>(f.FindComponent(firstButton));
    ASSERT_NE(button, nullptr);
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  });
  firstButton = L"No";
  EXPECT_EQ(MessageDlg(L"继续？", mtWarning, {mbYes, mbNo}), mrNo);
  EXPECT_EQ(shownClass, L"TMessageForm");
  firstButton = L"Retry";
  EXPECT_EQ(MessageDlgPos(L"失败", mtError, mbAbortRetryIgnore, 0, 10, 10), mrRetry);
  firstButton = L"OK";
  ShowMessage(L"完成");
  SetModalLoopStep(old);
  // Nothing of the dialogs stays behind.
  for (int i = 0; i < Screen->CustomFormCount(); ++i)
    EXPECT_EQ(dynamic_cast<TMessageForm*>(Screen->CustomForms(i)), nullptr);
}

TEST(MessageDialog, EscapeAnswersTheCancelButton) {
  auto old = SetModalLoopStep([](TCustomForm& f) { f.Perform(CM_DIALOGKEY, VK_ESCAPE, 0); });
  // Without Cancel, No answers Escape.
  EXPECT_EQ(MessageDlg(L"?", mtConfirmation, {mbYes, mbNo}), mrNo);
  SetModalLoopStep(old);
}

}  // namespace
}  // namespace vcl::testing
