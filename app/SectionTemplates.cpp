#include "app/SectionTemplates.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "app/ListField.h"

namespace composer {
namespace {

using vcl::String;
using Piece = std::wstring_view;

constexpr Piece kCrLf = L"\r\n";

// Joins template pieces without anything between them.
String Cat(std::initializer_list<Piece> pieces) {
  std::size_t size = 0;
  for (Piece piece : pieces) size += piece.size();
  String text;
  text.reserve(size);
  for (Piece piece : pieces) text += piece;
  return text;
}

String Dec(int value) { return std::to_wstring(value); }

// Collects the generated items; its text is every item followed by CR LF.
class OutputList {
 public:
  void Add(const String& item) {
    text_ += item;
    text_ += kCrLf;
  }
  const String& Text() const { return text_; }

 private:
  String text_;
};

String ReplaceAll(String text, Piece from, Piece to) {
  for (std::size_t at = text.find(from); at != String::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

vcl::String MemoText(Lines lines) {
  String text;
  for (Piece line : lines) {
    text += line;
    text += kCrLf;
  }
  return text;
}

// ---- Related sales ----

void TrimLists(RelatedSalesFields& f) {
  f.mmoone = TrimListText(f.mmoone);
  f.mmotwo = TrimListText(f.mmotwo);
  f.mmothree = TrimListText(f.mmothree);
  f.mmoguanlianjiage = TrimListText(f.mmoguanlianjiage);
}

std::optional<vcl::String> GenerateRelatedSales(const RelatedSalesFields& f) {
  if (f.H == L"0") return std::nullopt;
  int n;
  switch (f.rgleixing) {
    case 0: n = 4; break;
    case 1: n = 3; break;
    default: return std::nullopt;
  }
  const ListItems T(TrimListText(f.mmoone));
  const ListItems P(TrimListText(f.mmotwo));
  const ListItems L(TrimListText(f.mmothree));
  const ListItems R(TrimListText(f.mmoguanlianjiage));
  const String itemHeight = Dec(vcl::StrToInt(f.IH) + 70);

  OutputList list;
  for (int i = 0; i < n; ++i) {
    list.Add(Cat({LR"(<a style="text-decoration:none; color:)", f.edtzise,
                  LR"(;font-size:14px;"  href=")", L[i], LR"(" target="_blank">)",
                  LR"(<li style="width:)", f.IW, LR"(px; height:)", itemHeight,
                  LR"(px; float:left;overflow:hidden; text-decoration:none; margin-right:10px; text-align:center;">)",
                  LR"(<img src=")", P[i], LR"(" width=")", f.IW, LR"(" height=")", f.IH, LR"(" />)",
                  LR"(<div style="font-size:14px;font-family:arial; height:60px;">)",
                  LR"(<div style="line-height:30px; margin-top:5px; color:)", f.edtzise,
                  LR"(;font-family:Microsoft YaHei">)", T[i], LR"(</div>)",
                  LR"(<div style="font-size:18px; color:)", f.edt23, LR"(">)",
                  LR"(<span style="font-size:12px;font-family:Microsoft YaHei">￥</span>)", R[i],
                  LR"(</div>)", LR"(</div>)", LR"(</li></a>)"}));
  }
  return Cat({LR"(<div style="width:)", f.W, LR"(px; height:)", itemHeight,
              LR"(px; overflow:hidden; font-family:Microsoft YaHei">)",
              LR"(<div style="width:850px; height:)", itemHeight, LR"(px;">)", list.Text(),
              LR"(</div></div>)"});
}

// ---- Separator bar ----

vcl::String GenerateSeparatorBar(const SeparatorBarFields& f) {
  return Cat({LR"(<div style="width:)", f.W, LR"(px;height:40px; background-color:)", f.edt1,
              LR"(; line-height:40px; font-size:)", f.cbb1,
              LR"(px; font-family:Microsoft YaHei;border-bottom:)", f.edt2, L" ", f.cbb2,
              LR"(px solid;margin:10px 0">)",
              LR"(<div style="float:left; height:40px; padding:0px 30px;background-color:)", f.edt24,
              LR"(;color:)", f.edt4, LR"(">)", f.edt3, LR"(</div>)",
              LR"(<div style="float:right; height:40px; padding:0 30px;color:)", f.edt28,
              LR"(; font-size:14px">)", f.edt25, LR"(</div>)", LR"(</div>)"});
}

// ---- Coupons ----

void TrimLists(CouponFields& f) {
  f.mmojine = TrimListText(f.mmojine);
  f.mmoshuoming = TrimListText(f.mmoshuoming);
  f.mmolianjie = TrimListText(f.mmolianjie);
}

vcl::String GenerateCoupons(const CouponFields& f) {
  const ListItems A(TrimListText(f.mmojine));
  const ListItems C(TrimListText(f.mmoshuoming));
  const ListItems L(TrimListText(f.mmolianjie));
  constexpr Piece kFirstCoupon =
      LR"(<div style="width:32%;height:100px; float:left; background-color:)";
  constexpr Piece kNextCoupon =
      LR"(<div style="width:32%;margin-left:1.9%;height:100px; float:left; background-color:)";

  OutputList list;
  for (int i = 0; i < 3; ++i) {
    list.Add(Cat({LR"(<a style="text-decoration:none; color:)", f.edt6, LR"(" href=")", L[i],
                  LR"(" target="_blank">)", i == 0 ? kFirstCoupon : kNextCoupon, f.edt5,
                  LR"(">    )",
                  LR"(<div style="font-size:14px;float:left;width:15px; line-height:13px; margin-top:0px; background-color:)",
                  f.edt7, LR"(; padding:8px 5px;color:)", f.edt8, LR"(">领取</div>)",
                  LR"(<div style="float:left;line-height:100px;font-size:60px; font-family:arial; padding-right:5px; font-weight:600; width:100px; text-align:center">)",
                  A[i], LR"(</div>       )",
                  LR"(<div style="font-size:18px;float:left;height:100px;">)",
                  LR"(<div style="margin-top:23px;font-size:24px">优惠券</div>)",
                  LR"(<div style="margin-top:0px; font-size:14px">)", C[i],
                  LR"(</div>)", LR"(</div></div></a>)"}));
  }
  return Cat({LR"(<div style="width:)", f.W,
              LR"(px; height:100px;font-family:Microsoft YaHei; margin:10px 0;overflow:hidden">)",
              list.Text(), LR"(</div>)"});
}

// ---- Combination sale ----

namespace {

// One of the two single items; the second item's title lacks the blank before "color".
String BundleItem(Piece link, Piece picture, Piece title, Piece iw, Piece titleStyle) {
  return Cat({LR"(<a style="text-decoration:none" href=")", link, LR"(" target="_blank">)",
              LR"(  <div style="width:)", iw, LR"(px; height:270px;float:left">)",
              L"  \t" LR"(<img src=")", picture, LR"("  width=")", iw, LR"("/>)",
              titleStyle, title, LR"(</div>)", LR"(  </div></a>)"});
}

}  // namespace

CombinationSale GenerateCombinationSale(const CombinationSaleFields& f) {
  String iw = f.IW;
  if (f.rg1 == 0) iw = L"220";
  if (f.rg1 == 1) iw = L"230";

  String html = Cat({
      LR"(<div style="width:)", f.W,
      LR"(px; height:270px;font-family:Microsoft YaHei; margin:10px 0; padding:1%; border:1px #F0F0F0 solid">)",
      BundleItem(f.edt11, f.edt9, f.edt10, iw,
                 LR"(    <div style="text-align:center; font-size:15px; margin-top:10px; color:#333">)"),
      LR"(  <div style="width:5%; height:225px; float:left; font-size:36px; line-height:225px; text-align:center; color:#333">+</div>)",
      BundleItem(f.edt14, f.edt12, f.edt13, iw,
                 LR"(    <div style="text-align:center; font-size:15px; margin-top:10px;color:#333">)"),
      LR"(  <div style="width:)", iw, LR"(px; height:270px; float:right;">)",
      L"  \t" LR"(<div style="line-height:45px; text-align:center; background-color:#ccc; font-size:23px; color:#FFF; font-weight:600">搭配套餐</div>)",
      LR"(<div style="line-height:45px; text-align:center;font-size:16px; color:#999">—— 原价:)", f.edt15,
      LR"( ——</div>)",
      LR"(    <div style="line-height:30px; text-align:center;font-size:16px; color:#333">【划算套餐价】</div>)",
      LR"(    <div style="line-height:50px; text-align:center;font-size:36px; font-family:arial; color:#F30"><span style=" font-family: Microsoft YaHei">￥</span>)",
      f.edt16, LR"(</div>)",
      LR"(<a style="text-decoration:none;color:)", f.edt18, LR"(" href=")", f.edt19,
      LR"(" target="_blank">)",
      LR"(    <div style="line-height:40px; text-align:center;font-size:16px; background-color:)",
      f.edt17, LR"(; margin-top:10px;">立即购买</div></a>)", LR"(  </div>)",
      LR"(</div>)",
  });
  return {std::move(iw), std::move(html)};
}

// ---- Parameters ----

vcl::String GenerateParameters(const ParameterFields& f) {
  OutputList list;
  for (const String& line : MemoLines(f.mmocanshu)) list.Add(line + L"<br>");
  return Cat({LR"(<div style="width:)", f.W,
              LR"(px; margin:10px 0;background-color:#f5f5f5;padding:15px 0px; height:320px; font-family:Microsoft YaHei">)",
              LR"(<div style="background-color:#FFF;height:320px; margin:0px 15px;">)",
              LR"(<div style="width:320px; height:320px; overflow:hidden; float:left">)",
              LR"(<img src=")", f.edtcanshutu, LR"(" width="320"/>)", LR"(</div>)",
              LR"(<div style="width:320px; height:300px;float:left;line-height:30px; font-size:14px; padding:10px; background-color:#FFF; padding-left:60px; color:#999">)",
              LR"(<div style="font-size:18px; font-weight:600; line-height:60px; color:#333">参数信息 /Parameters</div>)",
              list.Text(), LR"(</div></div></div>)"});
}

// ---- Size chart ----

vcl::String GenerateSizeChart(const SizeChartFields& f) { return f.mmochima; }

// ---- Display ----

void TrimLists(DisplayFields& f) { f.mmozhanshi = TrimListText(f.mmozhanshi); }

vcl::String GenerateDisplay(const DisplayFields& f) {
  const ListItems P(TrimListText(f.mmozhanshi));
  const int n = vcl::StrToInt(f.cbb3);
  OutputList list;
  for (int i = 0; i < n; ++i)
    list.Add(Cat({LR"(<img style="margin:5px 0" src=")", P[i], LR"(" alt=" 790.jpg" width=")", f.W,
                  LR"("/>)"}));
  return list.Text();
}

// ---- Split style ----

vcl::String GenerateSplitStyle(const SplitStyleFields& f) {
  return Cat({LR"(<div style="width:)", f.W, LR"(px; padding:20px 0px; background-color:)",
              f.edtfengedise, LR"(;margin:10px 0">)",
              LR"(<div style="text-align:center; font-size:)", f.cbb5,
              LR"(px; font-family:Microsoft YaHei; font-weight:600;)", LR"(border-bottom:)",
              f.edtfengexian, L" ", f.cbb7, L"px ", f.cbb8, LR"(; color:)", f.edtfengebiaoti,
              LR"(; padding-bottom:0px;">)", f.edt26, LR"(</div>)",
              LR"(<div style="padding-bottom:5px;text-align:center; font-size:)", f.cbb6,
              LR"(px; font-family:arial; line-height:30px;color:)", f.edtfengexiaozi,
              LR"(">---- )", f.edt27, LR"( ----</div> )", LR"(</div>)"});
}

// ---- Details ----

void TrimLists(DetailFields& f) {
  f.mmoxijiebiaoti = TrimListText(f.mmoxijiebiaoti);
  f.mmoxijieshuoming = TrimListText(f.mmoxijieshuoming);
  f.mmoxijietupian = TrimListText(f.mmoxijietupian);
}

namespace {

String DetailListItem(const DetailFields& f, Piece picture, Piece title, Piece text) {
  return Cat({LR"(<img style="margin-top:5px;" src=")", picture, LR"(" width=")", f.W, LR"("/>)",
              LR"(<div style="width:)", f.W, LR"(px;">)",
              LR"(<div style="font-size:21px;color:)", f.edt20,
              LR"(;margin:30px 0px; margin-bottom:5px;font-weight:600;text-align:center">)", title,
              LR"(</div>)", LR"(<div style="color:)", f.edt21,
              LR"(;line-height:25px; padding:0 40px;margin-bottom:20px;;text-align:center">)", text,
              LR"(</div>)", LR"(</div>)"});
}

// The overlay lays the texts over the picture, so it needs the picture's height.
String DetailOverlayItem(const DetailFields& f, const String& picture, Piece title, Piece text) {
  const int width = vcl::StrToInt(f.W);
  const std::optional<int> height = f.measure ? f.measure(picture, width) : std::nullopt;
  if (!height) throw EPictureDownloadError(String(kDownloadFailedMessage) + picture);
  return Cat({LR"(<div style="width:)", f.W, LR"(px; height:)", Dec(*height - 10),
              LR"(px;overflow:hidden">)",
              LR"(<img style="margin-top:5px;" src=")", picture, LR"(" width=")", f.W, LR"("/>)",
              LR"(<div style="width:350px;position:relative; top:-)", Dec(*height - 50),
              LR"(px; left:60px;">)", LR"(<div style="font-size:33px;color:)", f.edt20,
              LR"(;margin:30px 0px; margin-bottom:5px;font-weight:600;">)", title, LR"(</div>)",
              LR"(<div style="color:)", f.edt21, LR"(;line-height:25px;margin-bottom:20px;">)", text,
              LR"(</div>)", LR"(</div></div>)"});
}

}  // namespace

vcl::String GenerateDetails(const DetailFields& f) {
  const ListItems T(TrimListText(f.mmoxijiebiaoti));
  const ListItems D(TrimListText(f.mmoxijieshuoming));
  const ListItems P(TrimListText(f.mmoxijietupian));
  const int n = vcl::StrToInt(f.cbb4);
  OutputList list;
  for (int i = 0; i < n; ++i) {
    if (f.rg2 == 0) list.Add(DetailListItem(f, P[i], T[i], D[i]));
    if (f.rg2 == 1) list.Add(DetailOverlayItem(f, P[i], T[i], D[i]));
  }
  return Cat({LR"(<div style="width:)", f.W, LR"(px; font-family:Microsoft YaHei; font-size:15px">)",
              list.Text(), LR"(</div>)"});
}

// ---- Buyer notice ----

vcl::String GenerateBuyerNotice(const BuyerNoticeFields& f) {
  return ReplaceAll(Cat({LR"(<div style="width:750px;">)", f.mmomaijiabidu, LR"(</div>)"}),
                    L"#666666", f.edt22);
}

// ---- Custom ----

vcl::String GenerateCustom(const CustomFields& f) {
  return Cat({LR"(<table width="750" border="0" cellpadding="0" cellspacing="0"><tr><td>)", f.mmo34,
              LR"(</td></tr></table>)"});
}

}  // namespace composer
