// The generate buttons of the main window: each section reaches the work memo, "file.html"
// and the browser; failures leave both as they were and reach the exception display; the
// colour fields' dialog.
#include "main_window_support.h"

#include "app/SectionTemplates.h"
#include "classlib/graphics/Jpeg.h"

namespace composer::testing {
namespace {

String PagePath() { return vcl::GetCurrentDir() + L"/file.html"; }

// The page file as the work memo's lines: UTF-8 after a byte-order mark, each line ended by
// CR LF.
std::string ExpectedFile(const String& memo) { return std::string(kBom) + Utf8(memo); }

class GeneratorTest : public MainWindowTest {
 protected:
  // Presses a generate button through its window; the file and the browser must follow.
  void Generate(vcl::TButton* button) {
    std::error_code ec;
    std::filesystem::remove(L"file.html", ec);
    form->wb1->Navigate(L"about:blank");
    Press(button);
  }
  void ExpectSavedAndPreviewed() {
    String text = Memo();
    if (!text.empty() && text.back() != L'\n') text += L"\r\n";
    EXPECT_EQ(ReadBytes(L"file.html"), ExpectedFile(text));
    EXPECT_EQ(form->wb1->LastNavigatedURL(), PagePath());
  }
};

TEST_F(GeneratorTest, SeparatorBarWithTheDefaults) {
  form->btnfengetiao->Click();
  Generate(form->btn15);
  const String expected =
      LR"(<div style="width:750px;height:40px; background-color:#F3F3F3; line-height:40px; font-size:16px; )"
      LR"(font-family:Microsoft YaHei;border-bottom:#8080FF 0px solid;margin:10px 0">)"
      LR"(<div style="float:left; height:40px; padding:0px 30px;background-color:#c0c0c0;color:#fff">产品参数</div>)"
      LR"(<div style="float:right; height:40px; padding:0 30px;color:#808080; font-size:14px">欢迎光临本店</div></div>)";
  EXPECT_EQ(Memo(), expected);
  EXPECT_EQ(ReadBytes(L"file.html"), std::string(kBom) + Utf8(expected) + "\r\n");
  EXPECT_EQ(form->wb1->LastNavigatedURL(), PagePath());
  EXPECT_TRUE(ShownBoxes().empty());
}

TEST_F(GeneratorTest, DisplayOnATmallPageWithThreePictures) {
  form->rg1->SetItemIndex(1);
  form->btnzhanshi->Click();
  form->cbb3->SetText(L"3");
  form->mmozhanshi->SetText(L"  a.jpg|b.jpg|\r\nc.jpg|d.jpg \r\n");
  Generate(form->btn1);
  EXPECT_EQ(form->mmozhanshi->Text(), L"a.jpg|b.jpg|\r\nc.jpg|d.jpg");  // trimmed and written back
  EXPECT_EQ(Memo(),
            L"<img style=\"margin:5px 0\" src=\"a.jpg\" alt=\" 790.jpg\" width=\"790\"/>\r\n"
            L"<img style=\"margin:5px 0\" src=\"b.jpg\" alt=\" 790.jpg\" width=\"790\"/>\r\n"
            L"<img style=\"margin:5px 0\" src=\"c.jpg\" alt=\" 790.jpg\" width=\"790\"/>\r\n");
  ExpectSavedAndPreviewed();
}

TEST_F(GeneratorTest, EveryGenerateButtonFillsTheMemoSavesAndPreviews) {
  form->rgleixing->SetItemIndex(0);
  struct Case {
    vcl::TButton* button;
    const wchar_t* part;  // a piece of the section's own template
  };
  const Case cases[] = {
      {form->btn14, L"<span style=\"font-size:12px;font-family:Microsoft YaHei\">￥</span>59.00</div>"},
      {form->btn15, L"border-bottom:#8080FF 0px solid"},
      {form->btn16, L"<div style=\"margin-top:23px;font-size:24px\">优惠券</div>"},
      {form->btn7, L"立即购买</div></a>"},
      {form->btn18, L"运行内存：1GB <br>\r\n"},
      {form->btn19, L"产品尺码表 | 单位（cm）"},
      {form->btn1, L"display-5.jpg\" alt=\" 790.jpg\" width=\"750\"/>"},
      {form->btn21, L"---- Exquisite and perfect quality ----"},
      {form->btn11, L"2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋</div>"},
      {form->btn22, L"background-color:#F30; line-height:40px"},
  };
  for (const Case& c : cases) {
    form->WorkMemo()->SetText(L"before");
    Generate(c.button);
    EXPECT_NE(Memo().find(c.part), String::npos) << c.button->Name();
    ExpectSavedAndPreviewed();
  }
  EXPECT_TRUE(ShownBoxes().empty());
  EXPECT_EQ(form->lbltukuan->Caption(), L"220");  // the combination sale's picture width

  // The custom section is neither saved nor previewed.
  form->mmo34->SetText(L"<b>自定义</b>");
  Generate(form->btn23);
  EXPECT_EQ(Memo(), L"<table width=\"750\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr><td><b>自定义</b></td></tr></table>");
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
  EXPECT_EQ(form->wb1->LastNavigatedURL(), L"about:blank");
}

TEST_F(GeneratorTest, RelatedSalesWithoutAStyleOnlyAsks) {
  form->WorkMemo()->SetText(L"before");
  form->mmothree->SetText(L"  #|#|#|#\r\n");
  Generate(form->btn14);
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"请选择生成类型后再生成代码！");
  EXPECT_EQ(ShownBoxes()[0].caption, L"提示信息");
  EXPECT_EQ(ShownBoxes()[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(Memo(), L"before");
  EXPECT_EQ(form->mmothree->Text(), L"#|#|#|#");
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
}

TEST_F(GeneratorTest, AListTooShortLeavesMemoAndPageAndShowsTheListError) {
  form->btnyouhuiquan->Click();
  form->WorkMemo()->SetText(L"before");
  form->mmojine->SetText(L"10|20 \r\n");
  Generate(form->btn16);
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"List index out of bounds (2)");
  EXPECT_EQ(Memo(), L"before");
  EXPECT_EQ(form->mmojine->Text(), L"10|20");
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
  EXPECT_EQ(form->wb1->LastNavigatedURL(), L"about:blank");

  // A count that is not a number.
  ShownBoxes().clear();
  form->cbb3->SetText(L"five");
  Generate(form->btn1);
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_NE(ShownBoxes()[0].text.find(L"five"), String::npos);
  EXPECT_EQ(Memo(), L"before");
}

// A JPEG of a known size, written by the library's own encoder, and its file address.
String WriteJpeg(const String& name, int width, int height) {
  vcl::TBitmap bitmap;
  bitmap.SetPixelFormat(vcl::pf24bit);
  bitmap.SetSize(width, height);
  bitmap.Canvas()->Brush()->SetColor(vcl::clRed);
  bitmap.Canvas()->FillRect(vcl::Rect(0, 0, width, height));
  vcl::TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  const String path = vcl::GetCurrentDir() + L"\\" + name;
  jpeg.SaveToFile(path);
  String url = L"file:///" + path;
  for (wchar_t& c : url)
    if (c == L'\\') c = L'/';
  return url;
}

TEST_F(GeneratorTest, OverlayDetailsMeasureTheDownloadedPicture) {
  const String url = WriteJpeg(L"detail.jpg", 60, 120);
  form->btnxijie->Click();
  form->rg2->SetItemIndex(1);
  form->cbb4->SetText(L"1");
  form->mmoxijietupian->SetText(url);
  Generate(form->btn11);
  EXPECT_TRUE(ShownBoxes().empty());
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
TEST_F(GeneratorTest, OverlayDetailsStopWhenAPictureCannotBeDownloaded) {
  WriteJpeg(L"1.jpg", 30, 40);  // an older picture that must not be measured
  const String missing = L"file:///" + vcl::GetCurrentDir() + L"/no-such-picture.jpg";
  form->btnxijie->Click();
  form->rg2->SetItemIndex(1);
  form->cbb4->SetText(L"1");
  form->mmoxijietupian->SetText(missing);
  form->WorkMemo()->SetText(L"before");
  Generate(form->btn11);
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text.find(String(kDownloadFailedMessage)), 0u);
  EXPECT_NE(ShownBoxes()[0].text.find(missing), String::npos);
  EXPECT_EQ(Memo(), L"before");
  EXPECT_FALSE(std::filesystem::exists(L"file.html"));
  EXPECT_EQ(form->wb1->LastNavigatedURL(), L"about:blank");
}

// The colour dialog answered without a user.
struct ColourAnswer {
  bool confirm = false;
  COLORREF colour = 0;
  int calls = 0;
};
ColourAnswer* g_answer = nullptr;

class ColourScope {
 public:
  explicit ColourScope(ColourAnswer& answer) {
    g_answer = &answer;
    previous_ = vcl::SetChooseColorFunction([](CHOOSECOLORW& cc) {
      ++g_answer->calls;
      if (!g_answer->confirm) return false;
      cc.rgbResult = g_answer->colour;
      return true;
    });
  }
  ~ColourScope() {
    vcl::SetChooseColorFunction(previous_);
    g_answer = nullptr;
  }

 private:
  vcl::TChooseColorFunction previous_;
};

void DoubleClick(vcl::TEdit* edit) {
  const HWND wnd = edit->Handle();
  SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, vcl::PointToLParam(2, 2));
  SendMessageW(wnd, WM_LBUTTONUP, 0, vcl::PointToLParam(2, 2));
}

TEST_F(GeneratorTest, ColourFieldsTakeAConfirmedColourOnly) {
  form->btnfengetiao->Click();
  ColourAnswer answer;
  ColourScope scope(answer);
  const vcl::TColor before = form->edt1->Color();
  DoubleClick(form->edt1);
  EXPECT_EQ(answer.calls, 1);
  EXPECT_EQ(form->edt1->Text(), L"#F3F3F3");
  EXPECT_EQ(form->edt1->Color(), before);

  answer.confirm = true;
  answer.colour = RGB(0, 0, 255);
  DoubleClick(form->edt1);
  EXPECT_EQ(form->edt1->Text(), L"#0000FF");
  EXPECT_EQ(form->edt1->Color(), static_cast<vcl::TColor>(RGB(0, 0, 255)));

  // Every colour field has its handler.
  vcl::TEdit* const fields[] = {
      form->edt2, form->edt4, form->edt5, form->edt6, form->edt7, form->edt8, form->edt17,
      form->edt18, form->edt20, form->edt21, form->edt22, form->edt23, form->edt24, form->edt28,
      form->edtzise, form->edtfengedise, form->edtfengebiaoti, form->edtfengexiaozi, form->edtfengexian,
  };
  answer.colour = RGB(0x12, 0xAB, 0x0C);
  for (vcl::TEdit* field : fields) {
    DoubleClick(field);
    EXPECT_EQ(field->Text(), L"#12AB0C") << field->Name();
  }
  EXPECT_EQ(answer.calls, 21);
  // A field that is no colour field opens nothing.
  DoubleClick(form->edt3);
  EXPECT_EQ(answer.calls, 21);
}

}  // namespace
}  // namespace composer::testing
