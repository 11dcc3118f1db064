// The section generators: whole outputs against the templates written out here, for the
// default fields and both page widths, and the failures that produce nothing.
#include <gtest/gtest.h>

#include <initializer_list>

#include "app/ListField.h"
#include "app/SectionTemplates.h"

namespace composer {
namespace {

using vcl::String;

// Joins lines, each followed by CR LF, as the work memo holds them.
String Crlf(std::initializer_list<String> lines) {
  String text;
  for (const String& line : lines) text += line + L"\r\n";
  return text;
}

int Count(const String& text, const String& what) {
  int n = 0;
  for (auto at = text.find(what); at != String::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const String kTaobao = L"750";
const String kTmall = L"790";

// ---- Related sales ----

String RelatedItem(const String& link, const String& picture, const String& title,
                   const String& price, const String& iw, const String& ih, const String& h) {
  return LR"(<a style="text-decoration:none; color:#999;font-size:14px;"  href=")" + link +
         LR"(" target="_blank"><li style="width:)" + iw + L"px; height:" + h +
         LR"(px; float:left;overflow:hidden; text-decoration:none; margin-right:10px; text-align:center;"><img src=")" +
         picture + LR"(" width=")" + iw + LR"(" height=")" + ih +
         LR"(" /><div style="font-size:14px;font-family:arial; height:60px;"><div style="line-height:30px; margin-top:5px; color:#999;font-family:Microsoft YaHei">)" +
         title +
         LR"(</div><div style="font-size:18px; color:#F30"><span style="font-size:12px;font-family:Microsoft YaHei">￥</span>)" +
         price + L"</div></div></li></a>";
}

String RelatedFrame(const String& w, const String& h, const String& items) {
  return LR"(<div style="width:)" + w + L"px; height:" + h +
         LR"(px; overflow:hidden; font-family:Microsoft YaHei"><div style="width:850px; height:)" + h +
         LR"(px;">)" + items + L"</div></div>";
}

const String kPic1 = L"http://www.example.com/images/related-1.jpg";
const String kPic2 = L"http://www.example.com/images/related-2.jpg";
const String kPic3 = L"http://www.example.com/images/related-3.jpg";
const String kPic4 = L"http://www.example.com/images/related-4.jpg";
const String kCape = L"披肩中老年蝙蝠外套";

TEST(RelatedSales, FourColumnsOnATaobaoPage) {
  RelatedSalesFields f;
  f.rgleixing = 0;
  f.H = L"310";
  f.IW = L"180";
  f.IH = L"270";
  const String expected = RelatedFrame(
      kTaobao, L"340",
      Crlf({RelatedItem(L"#", kPic1, kCape, L"59.00", L"180", L"270", L"340"),
            RelatedItem(L"#", kPic2, kCape, L"68.00", L"180", L"270", L"340"),
            RelatedItem(L"#", kPic3, kCape, L"59.00", L"180", L"270", L"340"),
            RelatedItem(L"#", kPic4, kCape, L"63.00", L"180", L"270", L"340")}));
  EXPECT_EQ(GenerateRelatedSales(f), expected);
}

TEST(RelatedSales, ThreeColumnsOnATmallPage) {
  RelatedSalesFields f;
  f.W = kTmall;
  f.rgleixing = 1;
  f.H = L"360";
  f.IW = L"256";
  f.IH = L"270";
  const String expected = RelatedFrame(
      kTmall, L"340",
      Crlf({RelatedItem(L"#", kPic1, kCape, L"59.00", L"256", L"270", L"340"),
            RelatedItem(L"#", kPic2, kCape, L"68.00", L"256", L"270", L"340"),
            RelatedItem(L"#", kPic3, kCape, L"59.00", L"256", L"270", L"340")}));
  EXPECT_EQ(GenerateRelatedSales(f), expected);
}

TEST(RelatedSales, RefusesUntilAStyleIsChosen) {
  RelatedSalesFields f;  // H "0", no style
  EXPECT_EQ(GenerateRelatedSales(f), std::nullopt);
  f.rgleixing = 0;
  EXPECT_EQ(GenerateRelatedSales(f), std::nullopt);
  f.rgleixing = -1;
  f.H = L"310";
  EXPECT_EQ(GenerateRelatedSales(f), std::nullopt);
}

TEST(RelatedSales, BlanksSplitTitlesAndQuotesKeepThem) {
  RelatedSalesFields f;
  f.rgleixing = 1;
  f.H = L"360";
  f.IW = L"243";
  f.IH = L"320";
  f.mmoone = L"red shoe|\"blue  boot\"|green";
  f.mmotwo = L"p1|p2|p3";
  f.mmothree = L"l1|l2|l3";
  f.mmoguanlianjiage = L"1|2|3";
  const String expected = RelatedFrame(
      kTaobao, L"390",
      Crlf({RelatedItem(L"l1", L"p1", L"red", L"1", L"243", L"320", L"390"),
            RelatedItem(L"l2", L"p2", L"shoe", L"2", L"243", L"320", L"390"),
            RelatedItem(L"l3", L"p3", L"blue  boot", L"3", L"243", L"320", L"390")}));
  EXPECT_EQ(GenerateRelatedSales(f), expected);
}

TEST(RelatedSales, TrimsTheListsForWritingBack) {
  RelatedSalesFields f;
  f.mmothree = L" \r\n#|#|#|#\r\n";
  TrimLists(f);
  EXPECT_EQ(f.mmothree, L"#|#|#|#");
  EXPECT_EQ(f.mmoone, L"披肩中老年蝙蝠外套|\r\n披肩中老年蝙蝠外套|\r\n披肩中老年蝙蝠外套|\r\n披肩中老年蝙蝠外套|");
  EXPECT_EQ(f.mmoguanlianjiage, L"59.00|\r\n68.00|\r\n59.00|\r\n63.00|");
  EXPECT_EQ(f.mmotwo.substr(f.mmotwo.size() - 5), L".jpg|");
  // So the default lists end in an empty fifth item, which four columns never reach.
  const ListItems titles(f.mmoone);
  EXPECT_EQ(titles.Count(), 5);
  EXPECT_EQ(titles[4], L"");
}

TEST(RelatedSales, AShortListProducesNothing) {
  RelatedSalesFields f;
  f.rgleixing = 0;
  f.H = L"310";
  f.IW = L"180";
  f.IH = L"270";
  f.mmoguanlianjiage = L"1|2|3";
  try {
    (void)GenerateRelatedSales(f);
    FAIL() << "no error";
  } catch (const vcl::EListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (3)");
  }
}

// ---- Separator bar ----

TEST(SeparatorBar, DefaultsOnBothPages) {
  for (const String& w : {kTaobao, kTmall}) {
    SeparatorBarFields f;
    f.W = w;
    EXPECT_EQ(GenerateSeparatorBar(f),
              LR"(<div style="width:)" + w +
                  LR"(px;height:40px; background-color:#F3F3F3; line-height:40px; font-size:16px; font-family:Microsoft YaHei;border-bottom:#8080FF 0px solid;margin:10px 0"><div style="float:left; height:40px; padding:0px 30px;background-color:#c0c0c0;color:#fff">产品参数</div><div style="float:right; height:40px; padding:0 30px;color:#808080; font-size:14px">欢迎光临本店</div></div>)");
  }
}

// ---- Coupons ----

String Coupon(const String& amount, const String& condition, bool first) {
  return String(LR"(<a style="text-decoration:none; color:#FFF" href="#" target="_blank"><div style="width:32%;)") +
         (first ? L"" : L"margin-left:1.9%;") +
         LR"(height:100px; float:left; background-color:#66F">    <div style="font-size:14px;float:left;width:15px; line-height:13px; margin-top:0px; background-color:#F60; padding:8px 5px;color:#FFF">领取</div><div style="float:left;line-height:100px;font-size:60px; font-family:arial; padding-right:5px; font-weight:600; width:100px; text-align:center">)" +
         amount +
         LR"(</div>       <div style="font-size:18px;float:left;height:100px;"><div style="margin-top:23px;font-size:24px">优惠券</div><div style="margin-top:0px; font-size:14px">)" +
         condition + L"</div></div></div></a>";
}

TEST(Coupons, ExactlyThreeAndOnlyTheFirstWithoutMargin) {
  for (const String& w : {kTaobao, kTmall}) {
    CouponFields f;
    f.W = w;
    f.mmojine = L"10|20|50|70";  // a fourth item is ignored
    const String html = GenerateCoupons(f);
    EXPECT_EQ(html, LR"(<div style="width:)" + w +
                        LR"(px; height:100px;font-family:Microsoft YaHei; margin:10px 0;overflow:hidden">)" +
                        Crlf({Coupon(L"10", L"满100元使用", true), Coupon(L"20", L"满200元使用", false),
                              Coupon(L"50", L"满300元使用", false)}) +
                        L"</div>");
    EXPECT_EQ(Count(html, L"优惠券"), 3);
    EXPECT_EQ(Count(html, L"margin-left:1.9%;"), 2);
  }
}

TEST(Coupons, TwoAmountsProduceNothing) {
  CouponFields f;
  f.mmojine = L"10|20";
  EXPECT_THROW((void)GenerateCoupons(f), vcl::EListError);
}

// ---- Combination sale ----

String BundleExpected(const String& w, const String& iw) {
  const String item1 =
      LR"(<a style="text-decoration:none" href="#" target="_blank">  <div style="width:)" + iw +
      L"px; height:270px;float:left\">  \t<img src=\"http://www.example.com/images/bundle-item.jpg\"  width=\"" + iw +
      LR"("/>    <div style="text-align:center; font-size:15px; margin-top:10px; color:#333">华为荣耀，闪耀全城</div>  </div></a>)";
  const String item2 =
      LR"(<a style="text-decoration:none" href="#" target="_blank">  <div style="width:)" + iw +
      L"px; height:270px;float:left\">  \t<img src=\"http://www.example.com/images/bundle-item.jpg\"  width=\"" + iw +
      LR"("/>    <div style="text-align:center; font-size:15px; margin-top:10px;color:#333">华为荣耀，闪耀全城</div>  </div></a>)";
  return LR"(<div style="width:)" + w +
         LR"(px; height:270px;font-family:Microsoft YaHei; margin:10px 0; padding:1%; border:1px #F0F0F0 solid">)" +
         item1 +
         LR"(  <div style="width:5%; height:225px; float:left; font-size:36px; line-height:225px; text-align:center; color:#333">+</div>)" +
         item2 + LR"(  <div style="width:)" + iw +
         L"px; height:270px; float:right;\">  \t"
         LR"(<div style="line-height:45px; text-align:center; background-color:#ccc; font-size:23px; color:#FFF; font-weight:600">搭配套餐</div><div style="line-height:45px; text-align:center;font-size:16px; color:#999">—— 原价:1696.0 ——</div>    <div style="line-height:30px; text-align:center;font-size:16px; color:#333">【划算套餐价】</div>    <div style="line-height:50px; text-align:center;font-size:36px; font-family:arial; color:#F30"><span style=" font-family: Microsoft YaHei">￥</span>696.0</div>)"
         LR"(<a style="text-decoration:none;color:#fff" href="#" target="_blank">    <div style="line-height:40px; text-align:center;font-size:16px; background-color:#66F; margin-top:10px;">立即购买</div></a>  </div>)"
         L"</div>";
}

TEST(CombinationSale, SetsThePictureWidthByShopType) {
  CombinationSaleFields taobao;
  taobao.IW = L"180";  // left over from a related-sales style
  const CombinationSale t = GenerateCombinationSale(taobao);
  EXPECT_EQ(t.IW, L"220");
  EXPECT_EQ(t.html, BundleExpected(kTaobao, L"220"));

  CombinationSaleFields tmall;
  tmall.W = kTmall;
  tmall.rg1 = 1;
  const CombinationSale m = GenerateCombinationSale(tmall);
  EXPECT_EQ(m.IW, L"230");
  EXPECT_EQ(m.html, BundleExpected(kTmall, L"230"));
}

// ---- Parameters ----

String ParametersExpected(const String& w, const String& lines) {
  return LR"(<div style="width:)" + w +
         LR"(px; margin:10px 0;background-color:#f5f5f5;padding:15px 0px; height:320px; font-family:Microsoft YaHei"><div style="background-color:#FFF;height:320px; margin:0px 15px;"><div style="width:320px; height:320px; overflow:hidden; float:left"><img src="http://www.example.com/images/parameters.jpg" width="320"/></div><div style="width:320px; height:300px;float:left;line-height:30px; font-size:14px; padding:10px; background-color:#FFF; padding-left:60px; color:#999"><div style="font-size:18px; font-weight:600; line-height:60px; color:#333">参数信息 /Parameters</div>)" +
         lines + L"</div></div></div>";
}

TEST(Parameters, EveryLineKeepsItsBlanksAndGetsABreak) {
  for (const String& w : {kTaobao, kTmall}) {
    ParameterFields f;
    f.W = w;
    EXPECT_EQ(GenerateParameters(f),
              ParametersExpected(w, Crlf({L"CPU型号：苹果A7 <br>", L"屏幕尺寸：4.0英寸 <br>",
                                          L"运行内存：1GB <br>", L"屏幕分辨率：1136×640像素 <br>",
                                          L"机身容量：16GB <br>", L"操作系统：iOS 8.0 <br>",
                                          L"后置相机：800万像素<br>"})));
  }
}

TEST(Parameters, AnEmptyMemoStillGivesTheFrame) {
  ParameterFields f;
  f.mmocanshu = L"";
  EXPECT_EQ(GenerateParameters(f), ParametersExpected(kTaobao, L""));
  f.mmocanshu = L"a|b\r\n\r\n";
  EXPECT_EQ(GenerateParameters(f), ParametersExpected(kTaobao, Crlf({L"a|b<br>", L"<br>"})));
}

// ---- Size chart ----

String HeaderCell(const String& text) {
  return LR"(      <td height="30" align="center" bgcolor="#E6E6E6">)" + text + L"</td>";
}
String BodyCell(const String& text) { return LR"(      <td height="25" align="center">)" + text + L"</td>"; }

TEST(SizeChart, TheHiddenTemplateUnchanged) {
  std::initializer_list<String> head = {L"<div style=\"width:750px; font-family: Microsoft YaHei;\">",
                                        L"\t<div style=\"text-align:center; font-size:20px; line-height:80px; font-weight:100;\">产品尺码表 | 单位（cm）</div>",
                                        LR"(<table style="border-collapse: collapse; color: #333; font-size: 15px;" width="100%" border="1" cellpadding="0" cellspacing="0" bordercolor="#999">)"};
  String expected = Crlf(head);
  expected += Crlf({L"    <tr>", HeaderCell(L"尺码"), HeaderCell(L"胸围"), HeaderCell(L"腰围"),
                    HeaderCell(L"肩宽"), HeaderCell(L"身高"), HeaderCell(L"衣长"), L"    </tr>"});
  const wchar_t* rows[5][6] = {{L"S", L"36", L"37", L"38", L"39", L"40"},
                               {L"M", L"41", L"42", L"43", L"44", L"45"},
                               {L"L", L"35", L"36", L"37", L"38", L"39"},
                               {L"XL", L"40", L"41", L"42", L"43", L"45"},
                               {L"XXL", L"46", L"47", L"48", L"49", L"50"}};
  for (const auto& row : rows) {
    expected += Crlf({L"    <tr>", BodyCell(row[0]), BodyCell(row[1]), BodyCell(row[2]),
                      BodyCell(row[3]), BodyCell(row[4]), BodyCell(row[5]), L"    </tr>"});
  }
  expected += Crlf({L"  </table>",
                    LR"(  <div style="text-align:center; font-size:14px; line-height:60px; color:#999">备注信息：以上尺码为手工测量，可能会有1-3cm误差，实际以实物为准</div>)",
                    L"</div>"});
  EXPECT_EQ(GenerateSizeChart({}), expected);
  EXPECT_EQ(GenerateSizeChart({.mmochima = L"<p>edited</p>"}), L"<p>edited</p>");
}

// ---- Display ----

String Picture(int n, const String& w) {
  return LR"(<img style="margin:5px 0" src="http://www.example.com/images/display-)" + std::to_wstring(n) +
         LR"(.jpg" alt=" 790.jpg" width=")" + w + L"\"/>";
}

TEST(Display, EmitsTheChosenNumberOfPictures) {
  for (const String& w : {kTaobao, kTmall}) {
    DisplayFields f;
    f.W = w;
    EXPECT_EQ(GenerateDisplay(f), Crlf({Picture(1, w), Picture(2, w), Picture(3, w), Picture(4, w), Picture(5, w)}));
    f.cbb3 = L"3";
    EXPECT_EQ(GenerateDisplay(f), Crlf({Picture(1, w), Picture(2, w), Picture(3, w)}));
  }
}

TEST(Display, BadCountsProduceNothing) {
  DisplayFields f;
  f.cbb3 = L"6";
  EXPECT_THROW((void)GenerateDisplay(f), vcl::EListError);
  f.cbb3 = L"five";
  EXPECT_THROW((void)GenerateDisplay(f), vcl::EConvertError);
  f.cbb3 = L"";
  EXPECT_THROW((void)GenerateDisplay(f), vcl::EConvertError);
}

// ---- Split style ----

TEST(SplitStyle, DefaultsOnBothPages) {
  for (const String& w : {kTaobao, kTmall}) {
    SplitStyleFields f;
    f.W = w;
    EXPECT_EQ(GenerateSplitStyle(f),
              LR"(<div style="width:)" + w +
                  LR"(px; padding:20px 0px; background-color:#FFF;margin:10px 0"><div style="text-align:center; font-size:48px; font-family:Microsoft YaHei; font-weight:600;border-bottom:#999 1px dashed; color:#000; padding-bottom:0px;">精美细致 完美品质</div><div style="padding-bottom:5px;text-align:center; font-size:14px; font-family:arial; line-height:30px;color:#999">---- Exquisite and perfect quality ----</div> </div>)");
  }
}

// ---- Details ----

const String kFabric = L"高品质面料说明";
const String kShoe = L"2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋";

String DetailPicture(int n) { return L"http://www.example.com/images/detail-" + std::to_wstring(n) + L".jpg"; }

String ListDetail(int n, const String& w) {
  return LR"(<img style="margin-top:5px;" src=")" + DetailPicture(n) + LR"(" width=")" + w +
         LR"("/><div style="width:)" + w +
         LR"(px;"><div style="font-size:21px;color:#f30;margin:30px 0px; margin-bottom:5px;font-weight:600;text-align:center">)" +
         kFabric +
         LR"(</div><div style="color:#999;line-height:25px; padding:0 40px;margin-bottom:20px;;text-align:center">)" +
         kShoe + L"</div></div>";
}

String OverlayDetail(int n, const String& w, const String& h10, const String& h50) {
  return LR"(<div style="width:)" + w + L"px; height:" + h10 + LR"(px;overflow:hidden"><img style="margin-top:5px;" src=")" +
         DetailPicture(n) + LR"(" width=")" + w + LR"("/><div style="width:350px;position:relative; top:-)" + h50 +
         LR"(px; left:60px;"><div style="font-size:33px;color:#f30;margin:30px 0px; margin-bottom:5px;font-weight:600;">)" +
         kFabric + LR"(</div><div style="color:#999;line-height:25px;margin-bottom:20px;">)" + kShoe +
         L"</div></div></div>";
}

String DetailsFrame(const String& w, const String& items) {
  return LR"(<div style="width:)" + w + LR"(px; font-family:Microsoft YaHei; font-size:15px">)" + items + L"</div>";
}

TEST(Details, ListStyleOnBothPages) {
  for (const String& w : {kTaobao, kTmall}) {
    DetailFields f;
    f.W = w;
    EXPECT_EQ(GenerateDetails(f),
              DetailsFrame(w, Crlf({ListDetail(1, w), ListDetail(2, w), ListDetail(3, w), ListDetail(4, w),
                                    ListDetail(5, w)})));
  }
}

TEST(Details, OverlayStyleUsesEachMeasuredHeight) {
  for (const String& w : {kTaobao, kTmall}) {
    std::vector<std::pair<String, int>> asked;
    DetailFields f;
    f.W = w;
    f.rg2 = 1;
    f.cbb4 = L"3";
    f.measure = [&](const String& address, int width) -> std::optional<int> {
      asked.emplace_back(address, width);
      return asked.size() == 3 ? 30 : 400 + static_cast<int>(asked.size());
    };
    EXPECT_EQ(GenerateDetails(f), DetailsFrame(w, Crlf({OverlayDetail(1, w, L"391", L"351"),
                                                        OverlayDetail(2, w, L"392", L"352"),
                                                        OverlayDetail(3, w, L"20", L"-20")})));
    const int width = std::stoi(w);
    EXPECT_EQ(asked, (std::vector<std::pair<String, int>>{
                         {DetailPicture(1), width}, {DetailPicture(2), width}, {DetailPicture(3), width}}));
  }
}

TEST(Details, AFailedDownloadStopsWithTheAddress) {
  DetailFields f;
  f.rg2 = 1;
  int calls = 0;
  f.measure = [&](const String&, int) -> std::optional<int> {
    return ++calls == 2 ? std::nullopt : std::optional<int>(500);
  };
  try {
    (void)GenerateDetails(f);
    FAIL() << "no error";
  } catch (const EPictureDownloadError& e) {
    EXPECT_EQ(e.Message(), L"图片下载失败：" + DetailPicture(2));
  }
  EXPECT_EQ(calls, 2);
}

TEST(Details, NoStyleGivesAnEmptyFrame) {
  DetailFields f;
  f.rg2 = -1;
  EXPECT_EQ(GenerateDetails(f), DetailsFrame(kTaobao, L""));
}

TEST(Details, BadCountsOrWidthProduceNothing) {
  DetailFields f;
  f.cbb4 = L"x";
  EXPECT_THROW((void)GenerateDetails(f), vcl::EConvertError);
  f.cbb4 = L"6";
  EXPECT_THROW((void)GenerateDetails(f), vcl::EListError);

  DetailFields overlay;
  overlay.rg2 = 1;
  overlay.W = L"wide";
  overlay.measure = [](const String&, int) -> std::optional<int> { return 300; };
  EXPECT_THROW((void)GenerateDetails(overlay), vcl::EConvertError);
  // The list style never needs W as a number.
  overlay.rg2 = 0;
  overlay.cbb4 = L"1";
  EXPECT_EQ(GenerateDetails(overlay), DetailsFrame(L"wide", Crlf({ListDetail(1, L"wide")})));
}

// ---- Buyer notice ----

String LabelCell(const String& n, const String& label, const String& colour) {
  return LR"(      <td width="20%" height=")" + n +
         LR"(" align="center" valign="middle"><div style="height:40px; background-color:)" + colour +
         LR"(; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">)" + label +
         L"</div></td>";
}
String TextCell(const String& attributes, const String& text) {
  return L"      <td " + attributes + LR"( valign="middle"><div style="margin:0 20px;">)" + text + L"</div></td>";
}

String NoticeExpected(const String& colour) {
  String text = LR"(<div style="width:750px;">)";
  text += Crlf({LR"(  <table  style="font-size:14px; font-family:Microsoft YaHei; line-height:25px;border-collapse:collapse; color:#333" width="100%" cellpadding="0" cellspacing="0" border="1" bordercolor="#DFDFDF">)"});
  const auto row = [&](const String& label, const String& n, const String& attributes, const String& body) {
    text += Crlf({L"    <tr>", LabelCell(n, label, colour), TextCell(attributes, body), L"    </tr>"});
  };
  row(L"正品保障", L"40", LR"(width="88%" height="30")", L"本店所售产品均为全新正品，质量保证，请放心购买！");
  row(L"关于色差", L"100", LR"(height="30")",
      L"商品照片都为专业摄影师拍摄后和后期修正调整，尽量与现实商品保持一致。但由于灯光、显示器色彩偏差及个人对颜色理解各有不同，导致少数实物可能会与照片存在色差，如无法接受请谨慎购买。最终颜色会以实际商品为准，谢谢亲的理解！");
  row(L"关于尺寸", L"40", LR"(height="30")", L"纯由我们手工测量，可能存在0.5cm的误差，请不能接受误差的朋友慎拍。");
  row(L"关于配送", L"30", LR"(height="100")",
      L"为了确保亲们能收到完好的宝贝，我们提醒亲们在签收快递的时候，注意检查包装是否完好，并且是否有被拆过的痕迹哦！提醒亲们应该与快递当面验收您的快递包裹！本店默认：韵达快递，如需发其它快递，请联系在线客服。");
  row(L"7天退货", L"30", LR"(height="120")",
      L"A.本店支持7天无理由退换货服务，如果您对我们的商品不满意，在保存商品及包装原样情况下以退换一次。商品及包装原样指：商品未使用过、有吊牌、未拆标、配件齐全、未改装过、无人为损坏、不影响二次销售。\r\n"
      L"      B.因质量问题造成的退换货邮费由我们承担，非质量问题造成的退换货邮费由买家承担！");
  row(L"发货时间", L"40", LR"(height="30")", L"17点前付款的订单，当天发货，17点后付款的订单次日发货（大型活动期间，发货另行说明）");
  row(L"发货快递", L"80", LR"(height="30")",
      L"默认申通快递（除聚划算等大型活动外），如果亲所在的地区不在顺丰快递收送范围，亲可以直接联系在线客服协商快递");
  row(L"收货提醒", L"80", LR"(height="30")",
      L"请您务必在签收快递前，确认商品完好无损后再签收，如检验商品过程中发现缺货、少货，可以拒签并第一时间联系我们。");
  text += Crlf({L"  </table>"});
  return text + L"</div>";
}

// Neither the buyer notice nor the custom section reads the page width: they stay at 750 on a
// Tmall page too.
TEST(BuyerNotice, SevenFiftyWideWithTheLabelColour) {
  const String html = GenerateBuyerNotice({});
  EXPECT_EQ(html, NoticeExpected(L"#F30"));
  EXPECT_EQ(Count(html, L"#666666"), 0);
  EXPECT_EQ(GenerateBuyerNotice({.edt22 = L"#0000FF"}), NoticeExpected(L"#0000FF"));
}

TEST(BuyerNotice, ReplacesEveryMarkOnceWithoutRescanning) {
  EXPECT_EQ(GenerateBuyerNotice({.mmomaijiabidu = L"#666666#666666x#66666", .edt22 = L"a#666666"}),
            LR"(<div style="width:750px;">a#666666a#666666x#66666</div>)");
  EXPECT_EQ(GenerateBuyerNotice({.mmomaijiabidu = L"#666666", .edt22 = L""}),
            LR"(<div style="width:750px;"></div>)");
}

TEST(Custom, WrapsTheMemoInA750Table) {
  EXPECT_EQ(GenerateCustom({}), LR"(<table width="750" border="0" cellpadding="0" cellspacing="0"><tr><td></td></tr></table>)");
  EXPECT_EQ(GenerateCustom({.mmo34 = L"<p>x</p>\r\n<b>y</b>\r\n"}),
            L"<table width=\"750\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr><td><p>x</p>\r\n<b>y</b>\r\n</td></tr></table>");
}

}  // namespace
}  // namespace composer
