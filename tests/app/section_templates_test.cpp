// The section generators: whole outputs against the templates written out here, for the
// default fields and both page widths, and the failures that produce nothing.
#include <gtest/gtest.h>

#include <functional>
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

// A template with each "{KEY}" replaced by its value.
String Fill(String text, std::initializer_list<std::pair<std::wstring_view, String>> values) {
  for (const auto& [key, value] : values)
    for (size_t at = text.find(key); at != String::npos; at = text.find(key, at + value.size()))
      text.replace(at, key.size(), value);
  return text;
}

const String kTaobao = L"750";
const String kTmall = L"790";

String Picture(const wchar_t* kind, int n) {
  return L"http://www.example.com/images/" + String(kind) + L"-" + std::to_wstring(n) + L".jpg";
}

const String kDisplay = LR"(<img style="margin:5px 0" src="{PIC}" alt=" 790.jpg" width="{W}"/>)";
const String kListDetail =
    LR"(<img style="margin-top:5px;" src="{PIC}" width="{W}"/><div style="width:{W}px;"><div style="font-size:21px;color:#f30;margin:30px 0px; margin-bottom:5px;font-weight:600;text-align:center">高品质面料说明</div><div style="color:#999;line-height:25px; padding:0 40px;margin-bottom:20px;;text-align:center">2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋</div></div>)";
const String kOverlayDetail =
    LR"(<div style="width:{W}px; height:{H10}px;overflow:hidden"><img style="margin-top:5px;" src="{PIC}" width="{W}"/><div style="width:350px;position:relative; top:-{H50}px; left:60px;"><div style="font-size:33px;color:#f30;margin:30px 0px; margin-bottom:5px;font-weight:600;">高品质面料说明</div><div style="color:#999;line-height:25px;margin-bottom:20px;">2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋</div></div></div>)";
const String kDetailsFrame = LR"(<div style="width:{W}px; font-family:Microsoft YaHei; font-size:15px">{ITEMS}</div>)";

String Coupon(const String& amount, const String& condition, bool first) {
  return Fill(LR"(<a style="text-decoration:none; color:#FFF" href="#" target="_blank"><div style="width:32%;{MARGIN}height:100px; float:left; background-color:#66F">    <div style="font-size:14px;float:left;width:15px; line-height:13px; margin-top:0px; background-color:#F60; padding:8px 5px;color:#FFF">领取</div><div style="float:left;line-height:100px;font-size:60px; font-family:arial; padding-right:5px; font-weight:600; width:100px; text-align:center">{AMOUNT}</div>       <div style="font-size:18px;float:left;height:100px;"><div style="margin-top:23px;font-size:24px">优惠券</div><div style="margin-top:0px; font-size:14px">{CONDITION}</div></div></div></a>)",
              {{L"{MARGIN}", first ? L"" : L"margin-left:1.9%;"}, {L"{AMOUNT}", amount}, {L"{CONDITION}", condition}});
}

// The sections whose default output depends on the page width only.
TEST(SectionTemplates, DefaultOutputsOnBothPageWidths) {
  const String displays = Crlf({Fill(kDisplay, {{L"{PIC}", Picture(L"display", 1)}}),
                                Fill(kDisplay, {{L"{PIC}", Picture(L"display", 2)}}),
                                Fill(kDisplay, {{L"{PIC}", Picture(L"display", 3)}}),
                                Fill(kDisplay, {{L"{PIC}", Picture(L"display", 4)}}),
                                Fill(kDisplay, {{L"{PIC}", Picture(L"display", 5)}})});
  String details;
  for (int n = 1; n <= 5; ++n) details += Fill(kListDetail, {{L"{PIC}", Picture(L"detail", n)}}) + L"\r\n";
  const struct {
    const char* section;
    std::function<String(const String& w)> generate;
    String expected;
  } cases[] = {
      {"separator bar", [](const String& w) { return GenerateSeparatorBar({.W = w}); },
       LR"(<div style="width:{W}px;height:40px; background-color:#F3F3F3; line-height:40px; font-size:16px; font-family:Microsoft YaHei;border-bottom:#8080FF 0px solid;margin:10px 0"><div style="float:left; height:40px; padding:0px 30px;background-color:#c0c0c0;color:#fff">产品参数</div><div style="float:right; height:40px; padding:0 30px;color:#808080; font-size:14px">欢迎光临本店</div></div>)"},
      {"split style", [](const String& w) { return GenerateSplitStyle({.W = w}); },
       LR"(<div style="width:{W}px; padding:20px 0px; background-color:#FFF;margin:10px 0"><div style="text-align:center; font-size:48px; font-family:Microsoft YaHei; font-weight:600;border-bottom:#999 1px dashed; color:#000; padding-bottom:0px;">精美细致 完美品质</div><div style="padding-bottom:5px;text-align:center; font-size:14px; font-family:arial; line-height:30px;color:#999">---- Exquisite and perfect quality ----</div> </div>)"},
      // Every parameter line keeps its blanks and gets a break.
      {"parameters", [](const String& w) { return GenerateParameters({.W = w}); },
       LR"(<div style="width:{W}px; margin:10px 0;background-color:#f5f5f5;padding:15px 0px; height:320px; font-family:Microsoft YaHei"><div style="background-color:#FFF;height:320px; margin:0px 15px;"><div style="width:320px; height:320px; overflow:hidden; float:left"><img src="http://www.example.com/images/parameters.jpg" width="320"/></div><div style="width:320px; height:300px;float:left;line-height:30px; font-size:14px; padding:10px; background-color:#FFF; padding-left:60px; color:#999"><div style="font-size:18px; font-weight:600; line-height:60px; color:#333">参数信息 /Parameters</div>)" +
           Crlf({L"CPU型号：苹果A7 <br>", L"屏幕尺寸：4.0英寸 <br>", L"运行内存：1GB <br>", L"屏幕分辨率：1136×640像素 <br>",
                 L"机身容量：16GB <br>", L"操作系统：iOS 8.0 <br>", L"后置相机：800万像素<br>"}) +
           L"</div></div></div>"},
      {"display", [](const String& w) { return GenerateDisplay({.W = w}); }, displays},
      {"details", [](const String& w) { return GenerateDetails({.W = w, .measure = {}}); }, Fill(kDetailsFrame, {{L"{ITEMS}", details}})},
      // Exactly three coupons, a fourth amount ignored, only the first without a margin.
      {"coupons", [](const String& w) { return GenerateCoupons({.W = w, .mmojine = L"10|20|50|70"}); },
       LR"(<div style="width:{W}px; height:100px;font-family:Microsoft YaHei; margin:10px 0;overflow:hidden">)" +
           Crlf({Coupon(L"10", L"满100元使用", true), Coupon(L"20", L"满200元使用", false),
                 Coupon(L"50", L"满300元使用", false)}) +
           L"</div>"},
  };
  for (const auto& c : cases)
    for (const String& w : {kTaobao, kTmall}) {
      SCOPED_TRACE(::testing::Message() << c.section << " " << std::string(w.begin(), w.end()));
      EXPECT_EQ(c.generate(w), Fill(c.expected, {{L"{W}", w}}));
    }
}

// ---- Related sales ----

String RelatedItem(const String& link, const String& picture, const String& title, const String& price,
                   const String& iw, const String& ih, const String& h) {
  return Fill(LR"(<a style="text-decoration:none; color:#999;font-size:14px;"  href="{LINK}" target="_blank"><li style="width:{IW}px; height:{H}px; float:left;overflow:hidden; text-decoration:none; margin-right:10px; text-align:center;"><img src="{PIC}" width="{IW}" height="{IH}" /><div style="font-size:14px;font-family:arial; height:60px;"><div style="line-height:30px; margin-top:5px; color:#999;font-family:Microsoft YaHei">{TITLE}</div><div style="font-size:18px; color:#F30"><span style="font-size:12px;font-family:Microsoft YaHei">￥</span>{PRICE}</div></div></li></a>)",
              {{L"{LINK}", link}, {L"{PIC}", picture}, {L"{TITLE}", title}, {L"{PRICE}", price},
               {L"{IW}", iw}, {L"{IH}", ih}, {L"{H}", h}});
}

String RelatedFrame(const String& w, const String& h, const String& items) {
  return Fill(LR"(<div style="width:{W}px; height:{H}px; overflow:hidden; font-family:Microsoft YaHei"><div style="width:850px; height:{H}px;">{ITEMS}</div></div>)",
              {{L"{W}", w}, {L"{H}", h}, {L"{ITEMS}", items}});
}

TEST(RelatedSales, FourColumnsOnTaobaoAndThreeOnTmall) {
  const String cape = L"披肩中老年蝙蝠外套";
  const String prices[] = {L"59.00", L"68.00", L"59.00", L"63.00"};
  for (const auto& [w, style, h, iw, columns] :
       {std::tuple{kTaobao, 0, L"310", L"180", 4}, std::tuple{kTmall, 1, L"360", L"256", 3}}) {
    String items;
    for (int i = 0; i < columns; ++i)
      items += RelatedItem(L"#", Picture(L"related", i + 1), cape, prices[i], iw, L"270", L"340") + L"\r\n";
    EXPECT_EQ(GenerateRelatedSales({.W = w, .IW = iw, .IH = L"270", .H = h, .rgleixing = style}),
              RelatedFrame(w, L"340", items));
  }
}

TEST(RelatedSales, RefusesUntilAStyleIsChosen) {
  EXPECT_EQ(GenerateRelatedSales({}), std::nullopt);  // H "0", no style
  EXPECT_EQ(GenerateRelatedSales({.rgleixing = 0}), std::nullopt);
  EXPECT_EQ(GenerateRelatedSales({.H = L"310"}), std::nullopt);
}

TEST(RelatedSales, BlanksSplitTitlesAndQuotesKeepThem) {
  RelatedSalesFields f{.IW = L"243", .IH = L"320", .H = L"360", .rgleixing = 1};
  f.mmoone = L"red shoe|\"blue  boot\"|green";
  f.mmotwo = L"p1|p2|p3";
  f.mmothree = L"l1|l2|l3";
  f.mmoguanlianjiage = L"1|2|3";
  EXPECT_EQ(GenerateRelatedSales(f),
            RelatedFrame(kTaobao, L"390",
                         Crlf({RelatedItem(L"l1", L"p1", L"red", L"1", L"243", L"320", L"390"),
                               RelatedItem(L"l2", L"p2", L"shoe", L"2", L"243", L"320", L"390"),
                               RelatedItem(L"l3", L"p3", L"blue  boot", L"3", L"243", L"320", L"390")})));
}

TEST(RelatedSales, TrimsTheListsForWritingBack) {
  RelatedSalesFields f;
  f.mmothree = L" \r\n#|#|#|#\r\n";
  TrimLists(f);
  EXPECT_EQ(f.mmothree, L"#|#|#|#");
  EXPECT_EQ(f.mmoguanlianjiage, L"59.00|\r\n68.00|\r\n59.00|\r\n63.00|");
  // So the default lists end in an empty fifth item, which four columns never reach.
  const ListItems titles(f.mmoone);
  EXPECT_EQ(titles.Count(), 5);
  EXPECT_EQ(titles[4], L"");
}

TEST(SectionTemplates, ShortListsAndBadCountsProduceNothing) {
  try {
    (void)GenerateRelatedSales({.IW = L"180", .IH = L"270", .H = L"310", .rgleixing = 0, .mmoguanlianjiage = L"1|2|3"});
    ADD_FAILURE() << "no error";
  } catch (const vcl::EListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (3)");
  }
  EXPECT_THROW((void)GenerateCoupons({.mmojine = L"10|20"}), vcl::EListError);
  EXPECT_THROW((void)GenerateDisplay({.cbb3 = L"6"}), vcl::EListError);
  EXPECT_THROW((void)GenerateDisplay({.cbb3 = L"five"}), vcl::EConvertError);
  EXPECT_THROW((void)GenerateDisplay({.cbb3 = L""}), vcl::EConvertError);
  EXPECT_THROW((void)GenerateDetails({.cbb4 = L"x", .measure = {}}), vcl::EConvertError);
  EXPECT_THROW((void)GenerateDetails({.cbb4 = L"6", .measure = {}}), vcl::EListError);
  const MeasurePicture measure = [](const String&, int) -> std::optional<int> { return 300; };
  EXPECT_THROW((void)GenerateDetails({.W = L"wide", .rg2 = 1, .measure = measure}), vcl::EConvertError);
  // The list style never needs W as a number; no style gives an empty frame.
  EXPECT_EQ(GenerateDetails({.W = L"wide", .cbb4 = L"1", .measure = {}}),
            Fill(kDetailsFrame, {{L"{ITEMS}", Fill(kListDetail, {{L"{PIC}", Picture(L"detail", 1)}}) + L"\r\n"},
                                 {L"{W}", L"wide"}}));
  EXPECT_EQ(GenerateDetails({.rg2 = -1, .measure = {}}), Fill(kDetailsFrame, {{L"{W}", kTaobao}, {L"{ITEMS}", L""}}));
}

TEST(CombinationSale, SetsThePictureWidthByShopType) {
  const String bundle =
      LR"(<div style="width:{W}px; height:270px;font-family:Microsoft YaHei; margin:10px 0; padding:1%; border:1px #F0F0F0 solid">)"
      LR"(<a style="text-decoration:none" href="#" target="_blank">  <div style="width:{IW}px; height:270px;float:left">  )" L"\t"
      LR"(<img src="http://www.example.com/images/bundle-item.jpg"  width="{IW}"/>    <div style="text-align:center; font-size:15px; margin-top:10px; color:#333">华为荣耀，闪耀全城</div>  </div></a>)"
      LR"(  <div style="width:5%; height:225px; float:left; font-size:36px; line-height:225px; text-align:center; color:#333">+</div>)"
      LR"(<a style="text-decoration:none" href="#" target="_blank">  <div style="width:{IW}px; height:270px;float:left">  )" L"\t"
      LR"(<img src="http://www.example.com/images/bundle-item.jpg"  width="{IW}"/>    <div style="text-align:center; font-size:15px; margin-top:10px;color:#333">华为荣耀，闪耀全城</div>  </div></a>)"
      LR"(  <div style="width:{IW}px; height:270px; float:right;">  )" L"\t"
      LR"(<div style="line-height:45px; text-align:center; background-color:#ccc; font-size:23px; color:#FFF; font-weight:600">搭配套餐</div><div style="line-height:45px; text-align:center;font-size:16px; color:#999">—— 原价:1696.0 ——</div>    <div style="line-height:30px; text-align:center;font-size:16px; color:#333">【划算套餐价】</div>    <div style="line-height:50px; text-align:center;font-size:36px; font-family:arial; color:#F30"><span style=" font-family: Microsoft YaHei">￥</span>696.0</div>)"
      LR"(<a style="text-decoration:none;color:#fff" href="#" target="_blank">    <div style="line-height:40px; text-align:center;font-size:16px; background-color:#66F; margin-top:10px;">立即购买</div></a>  </div></div>)";
  // IW "180" is left over from a related-sales style.
  const CombinationSale t = GenerateCombinationSale({.IW = L"180"});
  EXPECT_EQ(t.IW, L"220");
  EXPECT_EQ(t.html, Fill(bundle, {{L"{W}", kTaobao}, {L"{IW}", L"220"}}));
  const CombinationSale m = GenerateCombinationSale({.W = kTmall, .rg1 = 1});
  EXPECT_EQ(m.IW, L"230");
  EXPECT_EQ(m.html, Fill(bundle, {{L"{W}", kTmall}, {L"{IW}", L"230"}}));
}

TEST(Parameters, AnEmptyOrBlankLinedMemoStillGivesTheFrame) {
  const String empty = GenerateParameters({.mmocanshu = L""});
  const String frameEnd = L"参数信息 /Parameters</div></div></div></div>";
  EXPECT_EQ(empty.substr(empty.size() - frameEnd.size()), frameEnd);
  EXPECT_EQ(GenerateParameters({.mmocanshu = L"a|b\r\n\r\n"}),
            empty.substr(0, empty.size() - 18) + Crlf({L"a|b<br>", L"<br>"}) + L"</div></div></div>");
}

TEST(SizeChart, TheHiddenTemplateUnchanged) {
  const auto row = [](const String& cell, std::initializer_list<const wchar_t*> cells) {
    String text = L"    <tr>\r\n";
    for (const wchar_t* c : cells) text += Fill(cell, {{L"{T}", c}}) + L"\r\n";
    return text + L"    </tr>\r\n";
  };
  const String head = LR"(      <td height="30" align="center" bgcolor="#E6E6E6">{T}</td>)";
  const String body = LR"(      <td height="25" align="center">{T}</td>)";
  const String expected =
      Crlf({L"<div style=\"width:750px; font-family: Microsoft YaHei;\">",
            L"\t<div style=\"text-align:center; font-size:20px; line-height:80px; font-weight:100;\">产品尺码表 | 单位（cm）</div>",
            LR"(<table style="border-collapse: collapse; color: #333; font-size: 15px;" width="100%" border="1" cellpadding="0" cellspacing="0" bordercolor="#999">)"}) +
      row(head, {L"尺码", L"胸围", L"腰围", L"肩宽", L"身高", L"衣长"}) + row(body, {L"S", L"36", L"37", L"38", L"39", L"40"}) +
      row(body, {L"M", L"41", L"42", L"43", L"44", L"45"}) + row(body, {L"L", L"35", L"36", L"37", L"38", L"39"}) +
      row(body, {L"XL", L"40", L"41", L"42", L"43", L"45"}) + row(body, {L"XXL", L"46", L"47", L"48", L"49", L"50"}) +
      Crlf({L"  </table>",
            LR"(  <div style="text-align:center; font-size:14px; line-height:60px; color:#999">备注信息：以上尺码为手工测量，可能会有1-3cm误差，实际以实物为准</div>)",
            L"</div>"});
  EXPECT_EQ(GenerateSizeChart({}), expected);
  EXPECT_EQ(GenerateSizeChart({.mmochima = L"<p>edited</p>"}), L"<p>edited</p>");
}

TEST(Display, EmitsTheChosenNumberOfPictures) {
  EXPECT_EQ(GenerateDisplay({.W = kTmall, .cbb3 = L"3"}),
            Crlf({Fill(kDisplay, {{L"{PIC}", Picture(L"display", 1)}, {L"{W}", kTmall}}),
                  Fill(kDisplay, {{L"{PIC}", Picture(L"display", 2)}, {L"{W}", kTmall}}),
                  Fill(kDisplay, {{L"{PIC}", Picture(L"display", 3)}, {L"{W}", kTmall}})}));
}

TEST(Details, OverlayStyleUsesEachMeasuredHeight) {
  for (const String& w : {kTaobao, kTmall}) {
    std::vector<std::pair<String, int>> asked;
    const MeasurePicture measure = [&](const String& address, int width) -> std::optional<int> {
      asked.emplace_back(address, width);
      return asked.size() == 3 ? 30 : 400 + static_cast<int>(asked.size());
    };
    const auto item = [&](int n, const wchar_t* h10, const wchar_t* h50) {
      return Fill(kOverlayDetail, {{L"{PIC}", Picture(L"detail", n)}, {L"{W}", w}, {L"{H10}", h10}, {L"{H50}", h50}});
    };
    EXPECT_EQ(GenerateDetails({.W = w, .rg2 = 1, .cbb4 = L"3", .measure = measure}),
              Fill(kDetailsFrame, {{L"{W}", w}, {L"{ITEMS}", Crlf({item(1, L"391", L"351"), item(2, L"392", L"352"),
                                                                     item(3, L"20", L"-20")})}}));
    const int width = std::stoi(w);
    EXPECT_EQ(asked, (std::vector<std::pair<String, int>>{
                         {Picture(L"detail", 1), width}, {Picture(L"detail", 2), width}, {Picture(L"detail", 3), width}}));
  }
}

TEST(Details, AFailedDownloadStopsWithTheAddress) {
  int calls = 0;
  const MeasurePicture measure = [&](const String&, int) -> std::optional<int> {
    return ++calls == 2 ? std::nullopt : std::optional<int>(500);
  };
  try {
    (void)GenerateDetails({.rg2 = 1, .measure = measure});
    ADD_FAILURE() << "no error";
  } catch (const EPictureDownloadError& e) {
    EXPECT_EQ(e.Message(), L"图片下载失败：" + Picture(L"detail", 2));
  }
  EXPECT_EQ(calls, 2);
}

// ---- Buyer notice and custom: 750 wide on a Tmall page too ----

TEST(BuyerNotice, SevenFiftyWideWithTheLabelColour) {
  const auto row = [](const String& label, const String& n, const String& attributes, const String& body) {
    return Crlf({L"    <tr>",
                 Fill(LR"(      <td width="20%" height="{N}" align="center" valign="middle"><div style="height:40px; background-color:{C}; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">{L}</div></td>)",
                      {{L"{N}", n}, {L"{L}", label}}),
                 L"      <td " + attributes + LR"( valign="middle"><div style="margin:0 20px;">)" + body + L"</div></td>",
                 L"    </tr>"});
  };
  const String notice =
      LR"(<div style="width:750px;">)" +
      Crlf({LR"(  <table  style="font-size:14px; font-family:Microsoft YaHei; line-height:25px;border-collapse:collapse; color:#333" width="100%" cellpadding="0" cellspacing="0" border="1" bordercolor="#DFDFDF">)"}) +
      row(L"正品保障", L"40", LR"(width="88%" height="30")", L"本店所售产品均为全新正品，质量保证，请放心购买！") +
      row(L"关于色差", L"100", LR"(height="30")",
          L"商品照片都为专业摄影师拍摄后和后期修正调整，尽量与现实商品保持一致。但由于灯光、显示器色彩偏差及个人对颜色理解各有不同，导致少数实物可能会与照片存在色差，如无法接受请谨慎购买。最终颜色会以实际商品为准，谢谢亲的理解！") +
      row(L"关于尺寸", L"40", LR"(height="30")", L"纯由我们手工测量，可能存在0.5cm的误差，请不能接受误差的朋友慎拍。") +
      row(L"关于配送", L"30", LR"(height="100")",
          L"为了确保亲们能收到完好的宝贝，我们提醒亲们在签收快递的时候，注意检查包装是否完好，并且是否有被拆过的痕迹哦！提醒亲们应该与快递当面验收您的快递包裹！本店默认：韵达快递，如需发其它快递，请联系在线客服。") +
      row(L"7天退货", L"30", LR"(height="120")",
          L"A.本店支持7天无理由退换货服务，如果您对我们的商品不满意，在保存商品及包装原样情况下以退换一次。商品及包装原样指：商品未使用过、有吊牌、未拆标、配件齐全、未改装过、无人为损坏、不影响二次销售。\r\n"
          L"      B.因质量问题造成的退换货邮费由我们承担，非质量问题造成的退换货邮费由买家承担！") +
      row(L"发货时间", L"40", LR"(height="30")", L"17点前付款的订单，当天发货，17点后付款的订单次日发货（大型活动期间，发货另行说明）") +
      row(L"发货快递", L"80", LR"(height="30")",
          L"默认申通快递（除聚划算等大型活动外），如果亲所在的地区不在顺丰快递收送范围，亲可以直接联系在线客服协商快递") +
      row(L"收货提醒", L"80", LR"(height="30")",
          L"请您务必在签收快递前，确认商品完好无损后再签收，如检验商品过程中发现缺货、少货，可以拒签并第一时间联系我们。") +
      Crlf({L"  </table>"}) + L"</div>";
  EXPECT_EQ(GenerateBuyerNotice({}), Fill(notice, {{L"{C}", L"#F30"}}));
  EXPECT_EQ(GenerateBuyerNotice({.edt22 = L"#0000FF"}), Fill(notice, {{L"{C}", L"#0000FF"}}));
}

TEST(BuyerNotice, ReplacesEveryMarkOnceWithoutRescanning) {
  EXPECT_EQ(GenerateBuyerNotice({.mmomaijiabidu = L"#666666#666666x#66666", .edt22 = L"a#666666"}),
            LR"(<div style="width:750px;">a#666666a#666666x#66666</div>)");
  EXPECT_EQ(GenerateBuyerNotice({.mmomaijiabidu = L"#666666", .edt22 = L""}), LR"(<div style="width:750px;"></div>)");
}

TEST(Custom, WrapsTheMemoInA750Table) {
  EXPECT_EQ(GenerateCustom({}), LR"(<table width="750" border="0" cellpadding="0" cellspacing="0"><tr><td></td></tr></table>)");
  EXPECT_EQ(GenerateCustom({.mmo34 = L"<p>x</p>\r\n<b>y</b>\r\n"}),
            L"<table width=\"750\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr><td><p>x</p>\r\n<b>y</b>\r\n</td></tr></table>");
}

}  // namespace
}  // namespace composer
