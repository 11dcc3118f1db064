// The main window read from the program's own description: its starting state and layout, the
// page sizes, the section buttons and the editor-panel toggle, the section list and its popup
// menu, assembly, extraction, the generate buttons, the colour fields, the page file, the
// countdown and the web menu.
#include "main_window_support.h"

#include <algorithm>
#include <fstream>

#include "app/Clipboard.h"
#include "app/SectionTemplates.h"
#include "classlib/graphics/Jpeg.h"
#include "classlib/streaming/Filer.h"

namespace composer::testing {
namespace {

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

constexpr std::string_view kBom = "\xEF\xBB\xBF";
String PagePath() { return vcl::GetCurrentDir() + L"/file.html"; }

class MainWindow : public MainWindowTest {
 protected:
  String Memo() const { return form->WorkMemo()->Text(); }

  // Each row: number, name, HTML.
  std::vector<std::vector<String>> Rows() const {
    std::vector<std::vector<String>> rows;
    for (int i = 0; i < form->lv1->Items()->Count(); ++i) {
      vcl::TListItem* item = form->lv1->Items()->Item(i);
      std::vector<String> row{item->Caption()};
      for (int k = 0; k < item->SubItems()->Count(); ++k) row.push_back(item->SubItems()->Strings(k));
      rows.push_back(row);
    }
    return rows;
  }
  std::vector<String> Column(size_t k) const {
    std::vector<String> column;
    for (const auto& row : Rows()) column.push_back(row[k]);
    return column;
  }

  // Puts a text in the work memo as a generator would, then adds it as a row of the section.
  void AddRow(const String& html) {
    form->WorkMemo()->SetText(html);
    Press(form->btntianjia);
  }

  // Presses a generate button with the page file gone and the browser elsewhere.
  void Generate(vcl::TButton* button) {
    std::error_code ec;
    std::filesystem::remove(L"file.html", ec);
    form->wb1->Navigate(L"about:blank");
    Press(button);
  }
  // The work memo saved as UTF-8 after a byte-order mark with CR LF line ends, and previewed.
  void ExpectSavedAndPreviewed() {
    String text = Memo();
    if (!text.empty() && text.back() != L'\n') text += L"\r\n";
    EXPECT_EQ(ReadBytes(L"file.html"), std::string(kBom) + Utf8(text));
    EXPECT_EQ(form->wb1->LastNavigatedURL(), PagePath());
  }
  void ExpectUnchanged(const String& memo) {
    EXPECT_EQ(Memo(), memo);
    EXPECT_FALSE(std::filesystem::exists(L"file.html"));
    EXPECT_EQ(form->wb1->LastNavigatedURL(), L"about:blank");
  }
};


TEST_F(MainWindow, StartsWithTheDescriptionsCaptionsAndSizes) {
  namespace d = defaults;
  Tfrmmain& f = *form;
  EXPECT_EQ(f.Caption(), L"Scrivane V2.0 [ 天猫/淘宝店通用 ]");
  EXPECT_EQ(f.ClientWidth(), 1424);
  EXPECT_EQ(f.ClientHeight(), 931);
  // Mended: the group headings read exactly.
  const std::pair<const wchar_t*, const wchar_t*> headings[] = {
      {L"pnl32", L"◇ 头部版块"}, {L"pnl24", L"◇ 产品信息"}, {L"pnl29", L"◇ 辅助版块"}};
  for (const auto& [name, caption] : headings)
    EXPECT_EQ(Utf8(static_cast<vcl::TPanel*>(form->FindComponent(name))->Caption()), Utf8(caption)) << Utf8(name);
  // The section list's heading above it, without padding blanks.
  auto* listPanel = dynamic_cast<vcl::TWinControl*>(form->FindComponent(L"pnl9"));
  ASSERT_NE(listPanel, nullptr);
  std::vector<std::string> listHeadings;
  for (int i = 0; i < listPanel->ControlCount(); ++i)
    if (auto* panel = dynamic_cast<vcl::TPanel*>(listPanel->Controls(i)); panel && !panel->Caption().empty())
      listHeadings.push_back(Utf8(panel->Caption()));
  EXPECT_EQ(listHeadings, std::vector<std::string>{Utf8(L"版块列表")});
  EXPECT_EQ(f.lblzongkuan->Caption(), d::W);
  EXPECT_EQ(f.lblzonggao->Caption(), d::H);
  EXPECT_EQ(f.rgleixing->ItemIndex(), d::rgleixing);
  EXPECT_EQ(f.lblname->Caption(), L"版块名称");
  EXPECT_FALSE(f.pnl4->Visible());
  EXPECT_EQ(f.pnl18->Caption(), L"》");
}

std::string Name(const vcl::TControl* c) { return Utf8(c->Name().empty() ? c->ClassName() : c->Name()); }

// Every shown control under Parent lies inside it and overlaps no shown sibling (a
// client-aligned one takes what the others leave).
void CheckLayout(vcl::TWinControl* parent, std::vector<std::string>& problems) {
  const vcl::TRect client = parent->ClientRect();
  std::vector<vcl::TControl*> shown;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    vcl::TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    shown.push_back(c);
    const vcl::TRect r = c->BoundsRect();
    if (r.Left < 0 || r.Top < 0 || r.Right > client.Right || r.Bottom > client.Bottom)
      problems.push_back(Name(c) + " leaves " + Name(parent));
    if (auto* w = dynamic_cast<vcl::TWinControl*>(c)) CheckLayout(w, problems);
  }
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t k = i + 1; k < shown.size(); ++k) {
      if (shown[i]->Align() == vcl::alClient || shown[k]->Align() == vcl::alClient) continue;
      const vcl::TRect a = shown[i]->BoundsRect(), b = shown[k]->BoundsRect();
      if (a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom)
        problems.push_back(Name(shown[i]) + " overlaps " + Name(shown[k]));
    }
}

TEST_F(MainWindow, SectionButtonsShowTheirSheetsLaidOutWithoutOverlaps) {
  form->rgleixing->SetItemIndex(0);
  const std::pair<vcl::TSpeedButton*, vcl::TTabSheet*> sections[] = {
      {form->btnguanlian, form->tsguanlian}, {form->btnfengetiao, form->tsfengetiao},
      {form->btnyouhuiquan, form->tsyouhuiquan}, {form->btndapei, form->tsdapei},
      {form->btncanshu, form->tscanshu}, {form->btnchima, form->tschima},
      {form->btnzhanshi, form->tszhanshi}, {form->btnxijie, form->tsxijie},
      {form->btnyangshi, form->tsyangshi}, {form->btnjiaoliu, form->tsjiaoliu},
      {form->btnzidingyi, form->tszidingyi},
  };
  for (const auto& [button, sheet] : sections) {
    button->Click();
    Pump();
    EXPECT_TRUE(form->pnl4->Visible());
    EXPECT_EQ(form->pgc1->ActivePage(), sheet) << Name(button);
    EXPECT_EQ(form->lblname->Caption(), button->Caption());
    std::vector<std::string> problems;
    CheckLayout(form, problems);
    EXPECT_TRUE(problems.empty()) << Name(button) << ": " << ::testing::PrintToString(problems);
  }
}

TEST_F(MainWindow, TheToggleHidesAndShowsTheEditorPanelAboveTheBrowser) {
  form->btnxijie->Click();
  // A section button leaves the toggle's caption as it was; its next click keeps the panel.
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
  EXPECT_EQ(form->pnl18->Parent(), form->wb1->Parent());
  bool browserBelow = false;
  for (HWND w = GetWindow(form->pnl18->Handle(), GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
    browserBelow |= w == form->wb1->Handle();
  EXPECT_TRUE(browserBelow);
}

TEST_F(MainWindow, ShopTypeAndStyleSetThePageSizes) {
  const auto sizes = [&] {
    return std::vector<String>{form->lblzongkuan->Caption(), form->lblzonggao->Caption(),
                               form->lbltukuan->Caption(), form->lbltugao->Caption()};
  };
  using S = std::vector<String>;
  form->rgleixing->SetItemIndex(0);
  EXPECT_EQ(sizes(), (S{L"750", L"310", L"180", L"270"}));
  form->rgleixing->SetItemIndex(1);
  EXPECT_EQ(sizes(), (S{L"750", L"360", L"243", L"320"}));
  // Switching the shop type resets the sizes and the style.
  form->rg1->SetItemIndex(1);
  EXPECT_EQ(sizes(), (S{L"790", L"0", L"0", L"0"}));
  EXPECT_EQ(form->rgleixing->ItemIndex(), -1);
  // Tmall width: "图文3列" keeps the picture height at 270.
  form->rgleixing->SetItemIndex(1);
  EXPECT_EQ(sizes(), (S{L"790", L"360", L"256", L"270"}));
  form->rgleixing->SetItemIndex(0);
  EXPECT_EQ(form->lbltukuan->Caption(), L"190");
  // The user's click on the first shop type, through the radio button's window.
  SendMessageW(form->rg1->Buttons(0)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(sizes(), (S{L"750", L"0", L"0", L"0"}));
  EXPECT_EQ(form->rgleixing->ItemIndex(), -1);
}

TEST_F(MainWindow, RowsKeepTheirNumbersThroughDeleteCancelAndClear) {
  form->btnfengetiao->Click();
  AddRow(L"<p>1</p>");
  AddRow(L"<p>2</p>");
  AddRow(L"<p>3</p>");
  ASSERT_EQ(g_boxes.size(), 3u);
  EXPECT_EQ(g_boxes[0].text, L"确定添加该板块？");
  EXPECT_EQ(g_boxes[0].caption, L"提示信息");
  EXPECT_EQ(g_boxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));
  EXPECT_EQ(Rows()[1], (std::vector<String>{L"2", L"[ 分隔条 ] ", L"<p>2</p>"}));
  // Delete row "2" and add again: "1", "3", "3".
  form->lv1->SetItemIndex(1);
  form->N1->Click();
  AddRow(L"<p>4</p>");
  EXPECT_EQ(Column(0), (std::vector<String>{L"1", L"3", L"3"}));
  g_boxAnswer = IDCANCEL;
  AddRow(L"<p>5</p>");
  EXPECT_EQ(Rows().size(), 3u);
  g_boxAnswer = IDOK;
  form->N9->Click();
  EXPECT_TRUE(Rows().empty());
  AddRow(L"<p>6</p>");
  EXPECT_EQ(Column(0), (std::vector<String>{L"1"}));
  // Without a selection, delete does nothing.
  form->lv1->SetItemIndex(-1);
  form->N1->Click();
  EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(MainWindow, AddWithStyleNamesTheStyleAndTakesWhateverTheMemoHolds) {
  form->btnguanlian->Click();
  Press(form->btnadd);  // nothing generated yet: an empty row
  form->rgleixing->SetItemIndex(0);
  form->WorkMemo()->SetText(L"<a/>");
  Press(form->btnadd);
  form->rgleixing->SetItemIndex(1);
  Press(form->btnadd);
  ASSERT_EQ(Rows().size(), 3u);
  EXPECT_EQ(g_boxes[0].text, L"确定要添加该板块？");
  EXPECT_EQ(Rows()[0], (std::vector<String>{L"1", L"[ 关联销售 ] ", L""}));
  EXPECT_EQ(Rows()[1], (std::vector<String>{L"2", L"[ 关联销售 ] 图文四列", L"<a/>"}));
  EXPECT_EQ(Rows()[2][1], L"[ 关联销售 ] 图文三列");
}

TEST_F(MainWindow, MovingExchangesNamesAndHtmlWhileNumbersAndSelectionStay) {
  for (auto [button, html] : {std::pair{form->btncanshu, L"A"}, {form->btnchima, L"B"}, {form->btnzhanshi, L"C"}}) {
    button->Click();
    AddRow(html);
  }
  form->lv1->SetItemIndex(1);
  form->N2->Click();
  EXPECT_EQ(Rows()[0], (std::vector<String>{L"1", L"[ 产品尺码 ] ", L"B"}));
  EXPECT_EQ(Rows()[1], (std::vector<String>{L"2", L"[ 产品参数 ] ", L"A"}));
  EXPECT_EQ(form->lv1->ItemIndex(), 1);
  form->N3->Click();
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
  EXPECT_EQ(Column(2), (std::vector<String>{L"B", L"C", L"A"}));
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
}

TEST_F(MainWindow, PreviewingARowSavesItAloneAndLeavesTheMemo) {
  form->btnzidingyi->Click();
  AddRow(L"<p>产品</p>\r\n<p>二</p>");
  form->WorkMemo()->SetText(L"other");
  form->lv1->SetItemIndex(0);
  form->N11->Click();
  EXPECT_EQ(ReadBytes(L"file.html"), std::string(kBom) + Utf8(L"<p>产品</p>\r\n<p>二</p>\r\n"));
  EXPECT_EQ(Memo(), L"other");
  EXPECT_EQ(form->wb1->LastNavigatedURL(), PagePath());
}

TEST_F(MainWindow, AssemblingJoinsTheRowsInOrderThenSavesAndPreviews) {
  form->WorkMemo()->SetText(L"<p>old</p>");
  Press(form->btn2);  // an empty list: an empty memo and page
  EXPECT_EQ(Memo(), L"");
  EXPECT_EQ(ReadBytes(L"file.html"), std::string(kBom));

  form->btnfengetiao->Click();
  AddRow(L"<div>头</div>\r\n<div>二</div>");
  AddRow(L"<p>尾</p>");
  form->lv1->SetItemIndex(0);
  form->N3->Click();
  g_boxes.clear();
  form->wb1->Navigate(L"about:blank");
  Press(form->btn2);
  EXPECT_EQ(Memo(), L"<p>尾</p>\r\n<div>头</div>\r\n<div>二</div>\r\n");
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, L"所有代码已经提交完毕，可以通过右侧预览区查看总体样式！");
  EXPECT_EQ(g_boxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  ExpectSavedAndPreviewed();
}

TEST_F(MainWindow, ExtractCopiesTheMemoEvenWhenEmpty) {
  ASSERT_TRUE(PutTextOnClipboard(nullptr, L"older text"));
  Press(form->btntiqu);
  EXPECT_EQ(wintest::ClipboardText(), L"");
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, L"代码提取完毕！");
  form->WorkMemo()->SetText(L"<div>页面</div>\r\n<p>2</p>\r\n");
  Press(form->btntiqu);
  EXPECT_EQ(wintest::ClipboardText(), L"<div>页面</div>\r\n<p>2</p>\r\n");
}

TEST_F(MainWindow, CountdownRunsToZeroThenRefreshesOnceAndStops) {
  ASSERT_TRUE(form->tmr1->Enabled());
  EXPECT_EQ(form->tmr1->Interval(), 1000u);
  // The ticks are delivered here; the running timer's own wait in the queue until pumped.
  const HWND timer = form->tmr1->WindowHandle();
  const int start = form->Countdown();
  for (int i = 1; i <= start; ++i) {
    SendMessageW(timer, WM_TIMER, 1, 0);
    EXPECT_EQ(form->lbl46->Caption(), vcl::IntToStr(start - i));
  }
  EXPECT_TRUE(form->tmr1->Enabled());
  SendMessageW(timer, WM_TIMER, 1, 0);  // the refresh
  EXPECT_FALSE(form->tmr1->Enabled());
  SendMessageW(timer, WM_TIMER, 1, 0);
  EXPECT_EQ(form->lbl46->Caption(), L"0");
}

TEST_F(MainWindow, WebMenuNavigatesTheBrowserPane) {
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kNoticePage);  // the start page
  form->N7->Click();
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kVideoPage);
  form->N8->Click();
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kDownloadPage);
  form->N5->Click();
  EXPECT_EQ(form->wb1->LastNavigatedURL(), kNoticePage);
}

TEST_F(MainWindow, ClosingFreesTheMemoAndDeletesTheFiles) {
  Press(form->btn2);
  std::ofstream(L"1.jpg") << "x";
  ASSERT_TRUE(std::filesystem::exists(L"file.html"));
  form->Close();
  EXPECT_EQ(form->WorkMemo(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
  EXPECT_FALSE(std::filesystem::exists(L"1.jpg"));
  g_boxes.clear();
  form->Close();  // with nothing left to delete, quiet
  EXPECT_TRUE(g_boxes.empty());
}

TEST(MainWindowDescription, AMissingComponentIsAClearError) {
  auto* form = new Tfrmmain(nullptr);
  try {
    vcl::ReadComponentText(form, "object frmmain: Tfrmmain\n  object rg1: TRadioGroup\n  end\nend\n", L"broken");
    ADD_FAILURE() << "read without its components";
  } catch (const vcl::Exception& e) {
    EXPECT_NE(e.Message().find(L"has no TSpeedButton btnguanlian"), String::npos) << Utf8(e.Message());
  }
  vcl::TObject::Free(form);
}

// Each generate button hands the generator its fields, which start with the generators'
// defaults; the result fills the memo and is saved and previewed (the custom section is not).
TEST_F(MainWindow, EveryGenerateButtonGivesItsGeneratorsOutputForTheDefaultFields) {
  form->rgleixing->SetItemIndex(0);
  const std::pair<vcl::TButton*, String> cases[] = {
      {form->btn14, *GenerateRelatedSales({.IW = L"180", .IH = L"270", .H = L"310", .rgleixing = 0})},
      {form->btn15, GenerateSeparatorBar({})},
      {form->btn16, GenerateCoupons({})},
      {form->btn7, GenerateCombinationSale({}).html},
      {form->btn18, GenerateParameters({})},
      {form->btn19, GenerateSizeChart({})},
      {form->btn1, GenerateDisplay({})},
      {form->btn21, GenerateSplitStyle({})},
      {form->btn11, GenerateDetails({})},
      {form->btn22, GenerateBuyerNotice({})},
  };
  for (const auto& [button, html] : cases) {
    form->WorkMemo()->SetText(L"before");
    Generate(button);
    EXPECT_EQ(Memo(), html) << Name(button);
    ExpectSavedAndPreviewed();
  }
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(form->lbltukuan->Caption(), L"220");  // the combination sale's picture width
  form->WorkMemo()->SetText(L"before");
  Generate(form->btn23);
  EXPECT_EQ(Memo(), GenerateCustom({}));
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
  EXPECT_EQ(form->wb1->LastNavigatedURL(), L"about:blank");
}

TEST_F(MainWindow, ListsAreTrimmedAndWrittenBackBeforeGenerating) {
  form->rg1->SetItemIndex(1);
  form->cbb3->SetText(L"3");
  form->mmozhanshi->SetText(L"  a.jpg|b.jpg|\r\nc.jpg|d.jpg \r\n");
  Generate(form->btn1);
  EXPECT_EQ(form->mmozhanshi->Text(), L"a.jpg|b.jpg|\r\nc.jpg|d.jpg");
  EXPECT_EQ(Memo(), GenerateDisplay({.W = L"790", .cbb3 = L"3", .mmozhanshi = L"a.jpg|b.jpg|\r\nc.jpg|d.jpg"}));

  // Related sales without a style only asks, but trims first.
  form->WorkMemo()->SetText(L"before");
  form->mmothree->SetText(L"  #|#|#|#\r\n");
  Generate(form->btn14);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, L"请选择生成类型后再生成代码！");
  EXPECT_EQ(g_boxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(form->mmothree->Text(), L"#|#|#|#");
  ExpectUnchanged(L"before");
}

TEST_F(MainWindow, AFailingGeneratorLeavesMemoAndPageAndShowsItsError) {
  form->WorkMemo()->SetText(L"before");
  form->mmojine->SetText(L"10|20 \r\n");
  Generate(form->btn16);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, L"List index out of bounds (2)");
  EXPECT_EQ(form->mmojine->Text(), L"10|20");
  ExpectUnchanged(L"before");

  form->cbb3->SetText(L"five");
  Generate(form->btn1);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_NE(g_boxes[1].text.find(L"five"), String::npos);
  ExpectUnchanged(L"before");
}

// A JPEG of a known size, written by the library's own encoder, and its file address.
String WriteJpeg(const String& name, int width, int height) {
  vcl::TBitmap bitmap;
  bitmap.SetPixelFormat(vcl::pf24bit);
  bitmap.SetSize(width, height);
  vcl::TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  const String path = vcl::GetCurrentDir() + L"\\" + name;
  jpeg.SaveToFile(path);
  String url = L"file:///" + path;
  std::replace(url.begin(), url.end(), L'\\', L'/');
  return url;
}

TEST_F(MainWindow, OverlayDetailsMeasureTheDownloadedPicture) {
  const String url = WriteJpeg(L"detail.jpg", 60, 120);
  form->btnxijie->Click();
  form->rg2->SetItemIndex(1);
  form->cbb4->SetText(L"1");
  form->mmoxijietupian->SetText(url);
  Generate(form->btn11);
  EXPECT_TRUE(g_boxes.empty());
  const String expected = L"<div style=\"width:750px; font-family:Microsoft YaHei; font-size:15px\">"
                          L"<div style=\"width:750px; height:110px;overflow:hidden\">"
                          L"<img style=\"margin-top:5px;\" src=\"" + url + L"\" width=\"750\"/>"
                          L"<div style=\"width:350px;position:relative; top:-70px; left:60px;\">";
  EXPECT_EQ(Memo().substr(0, expected.size()), expected);
  EXPECT_EQ(form->img1->Height(), 120);
  EXPECT_TRUE(std::filesystem::exists(L"1.jpg"));
  ExpectSavedAndPreviewed();
}

// Mended: a failed download stops the generation with the address, whatever "1.jpg" holds.
TEST_F(MainWindow, OverlayDetailsStopWhenAPictureCannotBeDownloaded) {
  WriteJpeg(L"1.jpg", 30, 40);  // an older picture that must not be measured
  const String missing = L"file:///" + vcl::GetCurrentDir() + L"/no-such-picture.jpg";
  form->rg2->SetItemIndex(1);
  form->cbb4->SetText(L"1");
  form->mmoxijietupian->SetText(missing);
  form->WorkMemo()->SetText(L"before");
  Generate(form->btn11);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text.find(String(kDownloadFailedMessage) + missing), 0u);
  ExpectUnchanged(L"before");
}

// The colour dialog, answered without a user.
struct ColourAnswer {
  bool confirm = false;
  COLORREF colour = 0;
  int calls = 0;
} g_colour;

void DoubleClick(vcl::TEdit* edit) {
  SendMessageW(edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, vcl::PointToLParam(2, 2));
  SendMessageW(edit->Handle(), WM_LBUTTONUP, 0, vcl::PointToLParam(2, 2));
}

TEST_F(MainWindow, ColourFieldsTakeAConfirmedColourOnly) {
  g_colour = {};
  const vcl::TChooseColorFunction previous = vcl::SetChooseColorFunction([](CHOOSECOLORW& cc) {
    ++g_colour.calls;
    if (g_colour.confirm) cc.rgbResult = g_colour.colour;
    return g_colour.confirm;
  });
  const vcl::TColor before = form->edt1->Color();
  DoubleClick(form->edt1);
  EXPECT_EQ(g_colour.calls, 1);
  EXPECT_EQ(form->edt1->Text(), L"#F3F3F3");
  EXPECT_EQ(form->edt1->Color(), before);

  g_colour = {.confirm = true, .colour = RGB(0x12, 0xAB, 0x0C)};
  vcl::TEdit* const fields[] = {
      form->edt1, form->edt2, form->edt4, form->edt5, form->edt6, form->edt7, form->edt8, form->edt17,
      form->edt18, form->edt20, form->edt21, form->edt22, form->edt23, form->edt24, form->edt28,
      form->edtzise, form->edtfengedise, form->edtfengebiaoti, form->edtfengexiaozi, form->edtfengexian,
  };
  for (vcl::TEdit* field : fields) {
    DoubleClick(field);
    EXPECT_EQ(field->Text(), L"#12AB0C") << Name(field);
  }
  EXPECT_EQ(form->edt1->Color(), static_cast<vcl::TColor>(RGB(0x12, 0xAB, 0x0C)));
  EXPECT_EQ(g_colour.calls, 20);
  DoubleClick(form->edt3);  // no colour field
  EXPECT_EQ(g_colour.calls, 20);
  vcl::SetChooseColorFunction(previous);
}

// The field's own pixels: its text stands out from the colour it takes. Pixels near the text
// colour (within 60 of it per channel sum) and far from the background.
int TextPixels(vcl::TEdit* Field, COLORREF Text) {
  RECT r{};
  GetClientRect(Field->Handle(), &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, r.right, r.bottom);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(Field->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  int n = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      const int d = std::abs(GetRValue(c) - GetRValue(Text)) + std::abs(GetGValue(c) - GetGValue(Text)) +
                    std::abs(GetBValue(c) - GetBValue(Text));
      n += d < 60 ? 1 : 0;
    }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return n;
}

TEST_F(MainWindow, AColourFieldsTextStaysReadableOnTheColourChosen) {
  const vcl::TChooseColorFunction previous = vcl::SetChooseColorFunction([](CHOOSECOLORW& cc) {
    cc.rgbResult = g_colour.colour;
    return true;
  });
  form->pgc1->SetActivePage(form->tsfengetiao);
  for (const auto& [chosen, text] : {std::pair{RGB(0, 0, 0), RGB(255, 255, 255)}, std::pair{RGB(0, 0, 255), RGB(255, 255, 255)},
                                    std::pair{RGB(255, 255, 255), RGB(0, 0, 0)}, std::pair{RGB(255, 255, 0), RGB(0, 0, 0)}}) {
    g_colour.colour = chosen;
    DoubleClick(form->edt1);
    EXPECT_EQ(form->edt1->Color(), static_cast<vcl::TColor>(chosen));
    EXPECT_EQ(vcl::ColorToRGB(form->edt1->Font()->Color()), static_cast<vcl::TColor>(text)) << std::hex << chosen;
    EXPECT_GT(TextPixels(form->edt1, text), 15) << "no legible text on " << std::hex << chosen;
  }
  // The page's code takes the field's text alone, as before: the same with the field's text
  // in its old colour.
  EXPECT_EQ(form->edt1->Text(), L"#FFFF00");
  Generate(form->btn15);
  const String picked = Memo();
  EXPECT_NE(picked.find(L"#FFFF00"), String::npos);
  form->edt1->Font()->SetColor(vcl::clWindowText);
  Generate(form->btn15);
  EXPECT_EQ(Memo(), picked);
  vcl::SetChooseColorFunction(previous);
}

}  // namespace
}  // namespace composer::testing
