// The main window read from the program's own description: its defaults, the page sizes, the
// section buttons and the editor-panel toggle, the section list and its popup menu, assembly,
// extraction, the page file, the countdown and the web menu.
#include "main_window_support.h"

#include "app/Clipboard.h"
#include "app/SectionDefaults.h"
#include "classlib/streaming/Filer.h"

namespace composer::testing {
namespace {

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

String MemoOf(composer::Lines lines) { return MemoText(lines); }

String Items(composer::Lines items) {
  String text;
  for (auto item : items) text += String(item) + L"\r\n";
  return text;
}

// The description and the generator tests share SectionDefaults.h: the fields must start with
// exactly its texts.
TEST_F(MainWindowTest, GroupHeadingsReadExactly) {
  const std::pair<const wchar_t*, const wchar_t*> headings[] = {
      {L"pnl32", L"◇ 头部版块"}, {L"pnl24", L"◇ 产品信息"}, {L"pnl29", L"◇ 辅助版块"}};
  for (const auto& [name, caption] : headings)
    EXPECT_EQ(Utf8(static_cast<vcl::TPanel*>(form->FindComponent(name))->Caption()), Utf8(caption)) << Utf8(name);
}

TEST_F(MainWindowTest, FieldsStartWithTheGeneratorsDefaults) {
  namespace d = defaults;
  Tfrmmain& f = *form;
  EXPECT_EQ(f.Caption(), L"Scrivane V2.0 [ 天猫/淘宝店通用 ]");
  EXPECT_EQ(f.ClientWidth(), 1424);
  EXPECT_EQ(f.ClientHeight(), 931);
  EXPECT_EQ(f.Font()->Name(), L"Tahoma");
  EXPECT_EQ(f.Font()->Size(), 8);

  EXPECT_EQ(f.lblzongkuan->Caption(), d::W);
  EXPECT_EQ(f.lblzonggao->Caption(), d::H);
  EXPECT_EQ(f.lbltukuan->Caption(), d::IW);
  EXPECT_EQ(f.lbltugao->Caption(), d::IH);
  EXPECT_EQ(f.rg1->ItemIndex(), d::rg1);
  EXPECT_EQ(f.rgleixing->ItemIndex(), d::rgleixing);
  EXPECT_EQ(f.rg2->ItemIndex(), d::rg2);
  EXPECT_EQ(f.lblname->Caption(), L"版块名称");
  // The countdown shows 20 at the start; its timer runs from then, and on a loaded machine a
  // tick may come while the window is still being shown.
  EXPECT_EQ(f.lbl46->Caption(), vcl::IntToStr(f.Countdown()));
  EXPECT_FALSE(f.pnl4->Visible());
  EXPECT_EQ(f.pnl18->Caption(), L"》");

  const std::pair<vcl::TEdit*, std::wstring_view> edits[] = {
      {f.edtzise, d::edtzise}, {f.edt23, d::edt23}, {f.edt1, d::edt1}, {f.edt24, d::edt24},
      {f.edt2, d::edt2}, {f.edt3, d::edt3}, {f.edt4, d::edt4}, {f.edt25, d::edt25}, {f.edt28, d::edt28},
      {f.edt5, d::edt5}, {f.edt6, d::edt6}, {f.edt7, d::edt7}, {f.edt8, d::edt8}, {f.edt9, d::edt9},
      {f.edt10, d::edt10}, {f.edt11, d::edt11}, {f.edt12, d::edt12}, {f.edt13, d::edt13},
      {f.edt14, d::edt14}, {f.edt15, d::edt15}, {f.edt16, d::edt16}, {f.edt17, d::edt17},
      {f.edt18, d::edt18}, {f.edt19, d::edt19}, {f.edtcanshutu, d::edtcanshutu},
      {f.edtfengedise, d::edtfengedise}, {f.edtfengebiaoti, d::edtfengebiaoti},
      {f.edtfengexiaozi, d::edtfengexiaozi}, {f.edtfengexian, d::edtfengexian}, {f.edt26, d::edt26},
      {f.edt27, d::edt27}, {f.edt20, d::edt20}, {f.edt21, d::edt21}, {f.edt22, d::edt22},
  };
  for (const auto& [edit, text] : edits) EXPECT_EQ(edit->Text(), text) << edit->Name();

  const std::pair<vcl::TMemo*, String> memos[] = {
      {f.mmotwo, MemoOf(d::mmotwo)}, {f.mmothree, MemoOf(d::mmothree)}, {f.mmoone, MemoOf(d::mmoone)},
      {f.mmoguanlianjiage, MemoOf(d::mmoguanlianjiage)}, {f.mmojine, MemoOf(d::mmojine)},
      {f.mmoshuoming, MemoOf(d::mmoshuoming)}, {f.mmolianjie, MemoOf(d::mmolianjie)},
      {f.mmocanshu, MemoOf(d::mmocanshu)}, {f.mmozhanshi, MemoOf(d::mmozhanshi)},
      {f.mmoxijiebiaoti, MemoOf(d::mmoxijiebiaoti)}, {f.mmoxijieshuoming, MemoOf(d::mmoxijieshuoming)},
      {f.mmoxijietupian, MemoOf(d::mmoxijietupian)}, {f.mmochima, MemoOf(d::mmochima)},
      {f.mmomaijiabidu, MemoOf(d::mmomaijiabidu)},
  };
  for (const auto& [memo, text] : memos) EXPECT_EQ(memo->Lines()->Text(), text) << memo->Name();
  EXPECT_EQ(f.mmo34->Text(), d::mmo34);

  const std::tuple<vcl::TComboBox*, std::wstring_view, String> combos[] = {
      {f.cbb1, d::cbb1, Items(d::cbb1Items)}, {f.cbb2, d::cbb2, Items(d::cbb2Items)},
      {f.cbb3, d::cbb3, Items(d::cbb3Items)}, {f.cbb4, d::cbb4, Items(d::cbb4Items)},
      {f.cbb5, d::cbb5, Items(d::cbb5Items)}, {f.cbb6, d::cbb6, Items(d::cbb6Items)},
      {f.cbb7, d::cbb7, Items(d::cbb7Items)}, {f.cbb8, d::cbb8, Items(d::cbb8Items)},
  };
  for (const auto& [combo, text, items] : combos) {
    EXPECT_EQ(combo->Text(), text) << combo->Name();
    EXPECT_EQ(combo->Items()->Text(), items) << combo->Name();
  }
}

TEST_F(MainWindowTest, ShopTypeAndStyleSetThePageSizes) {
  form->rgleixing->SetItemIndex(0);
  EXPECT_EQ(form->lblzonggao->Caption(), L"310");
  EXPECT_EQ(form->lbltukuan->Caption(), L"180");
  EXPECT_EQ(form->lbltugao->Caption(), L"270");
  form->rgleixing->SetItemIndex(1);
  EXPECT_EQ(form->lbltukuan->Caption(), L"243");
  EXPECT_EQ(form->lbltugao->Caption(), L"320");

  // Switching the shop type resets the sizes and the style.
  form->rg1->SetItemIndex(1);
  EXPECT_EQ(form->lblzongkuan->Caption(), L"790");
  EXPECT_EQ(form->lblzonggao->Caption(), L"0");
  EXPECT_EQ(form->lbltukuan->Caption(), L"0");
  EXPECT_EQ(form->lbltugao->Caption(), L"0");
  EXPECT_EQ(form->rgleixing->ItemIndex(), -1);

  // Tmall width: "图文3列" keeps the picture height at 270.
  form->rgleixing->SetItemIndex(1);
  EXPECT_EQ(form->lblzonggao->Caption(), L"360");
  EXPECT_EQ(form->lbltukuan->Caption(), L"256");
  EXPECT_EQ(form->lbltugao->Caption(), L"270");
  form->rgleixing->SetItemIndex(0);
  EXPECT_EQ(form->lbltukuan->Caption(), L"190");

  // The user's click on the first shop type, through the radio button's window.
  SendMessageW(form->rg1->Buttons(0)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->lblzongkuan->Caption(), L"750");
  EXPECT_EQ(form->lbltukuan->Caption(), L"0");
  EXPECT_EQ(form->rgleixing->ItemIndex(), -1);
}

TEST_F(MainWindowTest, SectionButtonsAndTheToggleShowTheEditorPanel) {
  form->btnxijie->Click();
  EXPECT_TRUE(form->pnl4->Visible());
  EXPECT_EQ(form->pgc1->ActivePage(), form->tsxijie);
  EXPECT_EQ(form->lblname->Caption(), L"产品细节");
  // The toggle's caption is left as it was; its next click keeps the panel shown.
  EXPECT_EQ(form->pnl18->Caption(), L"》");
  form->pnl18->Perform(WM_LBUTTONDOWN, MK_LBUTTON, vcl::PointToLParam(3, 3));
  form->pnl18->Perform(WM_LBUTTONUP, 0, vcl::PointToLParam(3, 3));
  EXPECT_EQ(form->pnl18->Caption(), L"《");
  EXPECT_TRUE(form->pnl4->Visible());
  form->pnl18Click(form->pnl18);
  EXPECT_EQ(form->pnl18->Caption(), L"》");
  EXPECT_FALSE(form->pnl4->Visible());
  form->pnl18Click(form->pnl18);
  EXPECT_TRUE(form->pnl4->Visible());
  // Shown again, the panel is back between the section buttons and its splitter.
  auto* splitter = dynamic_cast<vcl::TControl*>(form->FindComponent(L"spl1"));
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(form->pnl4->Left(), 142);
  EXPECT_EQ(splitter->Left(), form->pnl4->Left() + form->pnl4->Width());

  const std::pair<vcl::TSpeedButton*, vcl::TTabSheet*> sections[] = {
      {form->btnguanlian, form->tsguanlian}, {form->btnfengetiao, form->tsfengetiao},
      {form->btnyouhuiquan, form->tsyouhuiquan}, {form->btndapei, form->tsdapei},
      {form->btncanshu, form->tscanshu}, {form->btnchima, form->tschima},
      {form->btnzhanshi, form->tszhanshi}, {form->btnyangshi, form->tsyangshi},
      {form->btnjiaoliu, form->tsjiaoliu}, {form->btnzidingyi, form->tszidingyi},
  };
  for (const auto& [button, sheet] : sections) {
    button->Click();
    EXPECT_EQ(form->pgc1->ActivePage(), sheet) << button->Name();
    EXPECT_EQ(form->lblname->Caption(), button->Caption());
  }
  // The panel stays above the browser pane.
  EXPECT_EQ(form->pnl18->Parent(), form->wb1->Parent());
  HWND above = GetWindow(form->pnl18->Handle(), GW_HWNDNEXT);
  bool browserBelow = false;
  for (; above; above = GetWindow(above, GW_HWNDNEXT)) browserBelow |= above == form->wb1->Handle();
  EXPECT_TRUE(browserBelow);
}

TEST_F(MainWindowTest, RowsKeepTheirNumbers) {
  form->btnfengetiao->Click();
  AddRow(L"<p>1</p>");
  AddRow(L"<p>2</p>");
  AddRow(L"<p>3</p>");
  ASSERT_EQ(ShownBoxes().size(), 3u);
  EXPECT_EQ(ShownBoxes()[0].text, L"确定添加该板块？");
  EXPECT_EQ(ShownBoxes()[0].caption, L"提示信息");
  EXPECT_EQ(ShownBoxes()[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));
  EXPECT_EQ(Rows()[1], (std::vector<String>{L"2", L"[ 分隔条 ] ", L"<p>2</p>"}));

  // Delete row "2" and add again: "1", "3", "3".
  form->lv1->SetItemIndex(1);
  form->N1->Click();
  AddRow(L"<p>4</p>");
  EXPECT_EQ(Numbers(), (std::vector<String>{L"1", L"3", L"3"}));

  // Cancel adds nothing.
  BoxAnswer() = IDCANCEL;
  AddRow(L"<p>5</p>");
  EXPECT_EQ(Rows().size(), 3u);
  BoxAnswer() = IDOK;

  // Clear, then add: "1".
  form->N9->Click();
  EXPECT_TRUE(Rows().empty());
  AddRow(L"<p>6</p>");
  EXPECT_EQ(Numbers(), (std::vector<String>{L"1"}));

  // Without a selection, delete does nothing.
  form->lv1->SetItemIndex(-1);
  form->N1->Click();
  EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(MainWindowTest, AddWithStyleNamesTheStyleAndTakesWhateverTheMemoHolds) {
  form->btnguanlian->Click();
  Press(form->btnadd);  // nothing generated yet: an empty row
  form->rgleixing->SetItemIndex(0);
  form->WorkMemo()->SetText(L"<a/>");
  Press(form->btnadd);
  form->rgleixing->SetItemIndex(1);
  Press(form->btnadd);
  ASSERT_EQ(Rows().size(), 3u);
  EXPECT_EQ(ShownBoxes()[0].text, L"确定要添加该板块？");
  EXPECT_EQ(Rows()[0], (std::vector<String>{L"1", L"[ 关联销售 ] ", L""}));
  EXPECT_EQ(Rows()[1], (std::vector<String>{L"2", L"[ 关联销售 ] 图文四列", L"<a/>"}));
  EXPECT_EQ(Rows()[2][1], L"[ 关联销售 ] 图文三列");
}

TEST_F(MainWindowTest, MovingExchangesNamesAndHtmlWhileNumbersAndSelectionStay) {
  form->btncanshu->Click();
  AddRow(L"A");
  form->btnchima->Click();
  AddRow(L"B");
  form->btnzhanshi->Click();
  AddRow(L"C");

  form->lv1->SetItemIndex(1);
  form->N2->Click();
  EXPECT_EQ(Rows()[0], (std::vector<String>{L"1", L"[ 产品尺码 ] ", L"B"}));
  EXPECT_EQ(Rows()[1], (std::vector<String>{L"2", L"[ 产品参数 ] ", L"A"}));
  EXPECT_EQ(form->lv1->ItemIndex(), 1);

  form->N3->Click();
  EXPECT_EQ(Rows()[1][2], L"C");
  EXPECT_EQ(Rows()[2], (std::vector<String>{L"3", L"[ 产品参数 ] ", L"A"}));
  EXPECT_EQ(form->lv1->ItemIndex(), 1);

  // No move past either end, and none without a selection.
  form->lv1->SetItemIndex(2);
  form->N3->Click();
  form->lv1->SetItemIndex(0);
  form->N2->Click();
  form->lv1->SetItemIndex(-1);
  form->N2->Click();
  form->N3->Click();
  form->N11->Click();
  EXPECT_EQ(Rows()[0][2], L"B");
  EXPECT_EQ(Rows()[1][2], L"C");
  EXPECT_EQ(Rows()[2][2], L"A");
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
}

TEST_F(MainWindowTest, PreviewingARowSavesItAloneAndLeavesTheMemo) {
  form->btnzidingyi->Click();
  AddRow(L"<p>产品</p>\r\n<p>二</p>");
  form->WorkMemo()->SetText(L"other");
  form->lv1->SetItemIndex(0);
  form->N11->Click();
  EXPECT_EQ(ReadBytes(L"file.html"), std::string(kBom) + Utf8(L"<p>产品</p>\r\n<p>二</p>\r\n"));
  EXPECT_EQ(Memo(), L"other");
  EXPECT_EQ(form->wb1->LastNavigatedURL(), vcl::GetCurrentDir() + L"/file.html");
}

TEST_F(MainWindowTest, AssemblingJoinsTheRowsInOrderThenSavesAndPreviews) {
  form->btnfengetiao->Click();
  AddRow(L"<div>头</div>\r\n<div>二</div>");
  AddRow(L"<p>尾</p>");
  form->lv1->SetItemIndex(0);
  form->N3->Click();
  ShownBoxes().clear();
  Press(form->btn2);
  EXPECT_EQ(Memo(), L"<p>尾</p>\r\n<div>头</div>\r\n<div>二</div>\r\n");
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"所有代码已经提交完毕，可以通过右侧预览区查看总体样式！");
  EXPECT_EQ(ShownBoxes()[0].caption, L"提示信息");
  EXPECT_EQ(ShownBoxes()[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  // UTF-8 with its byte-order mark, CR LF line ends, the Chinese text intact.
  EXPECT_EQ(ReadBytes(L"file.html"), std::string(kBom) + Utf8(L"<p>尾</p>\r\n<div>头</div>\r\n<div>二</div>\r\n"));
  EXPECT_EQ(form->wb1->LastNavigatedURL(), vcl::GetCurrentDir() + L"/file.html");
}

TEST_F(MainWindowTest, AssemblingAnEmptyListClearsTheMemoAndPreviewsAnEmptyPage) {
  form->WorkMemo()->SetText(L"<p>old</p>");
  Press(form->btn2);
  EXPECT_EQ(Memo(), L"");
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ReadBytes(L"file.html"), std::string(kBom));
  EXPECT_EQ(form->wb1->LastNavigatedURL(), vcl::GetCurrentDir() + L"/file.html");
}

using wintest::ClipboardText;

TEST_F(MainWindowTest, ExtractCopiesTheMemoEvenWhenEmpty) {
  ASSERT_TRUE(PutTextOnClipboard(nullptr, L"older text"));
  Press(form->btntiqu);
  EXPECT_EQ(ClipboardText(), L"");
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"代码提取完毕！");
  EXPECT_EQ(ShownBoxes()[0].caption, L"提示信息");

  form->WorkMemo()->SetText(L"<div>页面</div>\r\n<p>2</p>\r\n");
  Press(form->btntiqu);
  EXPECT_EQ(ClipboardText(), L"<div>页面</div>\r\n<p>2</p>\r\n");
  EXPECT_EQ(ShownBoxes().size(), 2u);
}

TEST_F(MainWindowTest, CountdownRunsToZeroThenRefreshesOnceAndStops) {
  ASSERT_TRUE(form->tmr1->Enabled());
  EXPECT_EQ(form->tmr1->Interval(), 1000u);
  const HWND timer = form->tmr1->WindowHandle();
  // The ticks are delivered here; the running timer's own wait in the queue until pumped.
  const int start = form->Countdown();
  for (int i = 1; i <= start; ++i) {
    SendMessageW(timer, WM_TIMER, 1, 0);
    EXPECT_EQ(form->lbl46->Caption(), vcl::IntToStr(start - i));
  }
  EXPECT_TRUE(form->tmr1->Enabled());
  SendMessageW(timer, WM_TIMER, 1, 0);  // the refresh
  EXPECT_FALSE(form->tmr1->Enabled());
  EXPECT_EQ(form->lbl46->Caption(), L"0");
  SendMessageW(timer, WM_TIMER, 1, 0);
  EXPECT_EQ(form->lbl46->Caption(), L"0");
}

TEST_F(MainWindowTest, WebMenuNavigatesTheBrowserPane) {
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kNoticePage);  // the start page
  EXPECT_EQ(form->mm1->Items()->Count(), 4);
  EXPECT_EQ(form->N4->Caption(), L" 官方网站 ");
  form->N7->Click();
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kVideoPage);
  form->N8->Click();
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kDownloadPage);
  form->N5->Click();
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kNoticePage);
}

TEST_F(MainWindowTest, ClosingFreesTheMemoAndDeletesTheFiles) {
  Press(form->btn2);
  std::ofstream(L"1.jpg") << "x";
  ASSERT_TRUE(std::filesystem::exists(L"file.html"));
  form->Close();
  EXPECT_EQ(form->WorkMemo(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
  EXPECT_FALSE(std::filesystem::exists(L"1.jpg"));
  // Closing again, with nothing left to delete, is quiet.
  ShownBoxes().clear();
  form->Close();
  EXPECT_TRUE(ShownBoxes().empty());
}

TEST(MainWindowDescription, AMissingComponentIsAClearError) {
  // Built without its resource, then given a description that lacks the components.
  auto* form = new Tfrmmain(nullptr);
  try {
    vcl::ReadComponentText(form, "object frmmain: Tfrmmain\n  object rg1: TRadioGroup\n  end\nend\n", L"broken");
    ADD_FAILURE() << "read without its components";
  } catch (const vcl::Exception& e) {
    EXPECT_NE(e.Message().find(L"has no TSpeedButton btnguanlian"), String::npos) << std::string(e.Message().begin(), e.Message().end());
  }
  vcl::TObject::Free(form);
}

}  // namespace
}  // namespace composer::testing
