// The eleven section generators: each fills its section's fixed HTML template from the texts
// of the section editor's fields and returns the text the work memo is to hold, character for
// character. They read nothing else and touch no window; the main window reads its fields
// into the structs below, calls the generator and writes the result into the work memo.
//
// Failures raise and produce nothing: a list with too few items raises EStringListError
// "List index out of bounds (%d)", a count or width that is not a number raises EConvertError.
// The form calls TrimLists() first and writes the trimmed list texts back into their memos,
// so they stay trimmed even when the generator then fails; the generators split the trimmed
// texts whether or not that was done.
#pragma once

#include <functional>
#include <optional>

#include "app/SectionDefaults.h"
#include "classlib/rtl/SysUtils.h"

namespace composer {

// The page sizes of the size panel: W total width, H total height, IW picture width,
// IH picture height, as the decimal texts of their labels.

// Related sales (btn14Click).
struct RelatedSalesFields {
  vcl::String W{defaults::W};
  vcl::String IW{defaults::IW};
  vcl::String IH{defaults::IH};
  vcl::String H{defaults::H};
  int rgleixing = defaults::rgleixing;  // 0 "图文4列", 1 "图文3列", -1 none
  vcl::String edtzise{defaults::edtzise};
  vcl::String edt23{defaults::edt23};
  vcl::String mmotwo = MemoText(defaults::mmotwo);
  vcl::String mmothree = MemoText(defaults::mmothree);
  vcl::String mmoone = MemoText(defaults::mmoone);
  vcl::String mmoguanlianjiage = MemoText(defaults::mmoguanlianjiage);
};
inline constexpr std::wstring_view kChooseStyleMessage = L"请选择生成类型后再生成代码！";
void TrimLists(RelatedSalesFields& fields);
// Nothing (std::nullopt) while no style is chosen (H "0"): the form shows kChooseStyleMessage.
std::optional<vcl::String> GenerateRelatedSales(const RelatedSalesFields& fields);

// Separator bar (btn15Click).
struct SeparatorBarFields {
  vcl::String W{defaults::W};
  vcl::String edt1{defaults::edt1};
  vcl::String edt24{defaults::edt24};
  vcl::String cbb2{defaults::cbb2};
  vcl::String edt2{defaults::edt2};
  vcl::String edt3{defaults::edt3};
  vcl::String edt4{defaults::edt4};
  vcl::String cbb1{defaults::cbb1};
  vcl::String edt25{defaults::edt25};
  vcl::String edt28{defaults::edt28};
};
vcl::String GenerateSeparatorBar(const SeparatorBarFields& fields);

// Coupons (btn16Click): always three coupons.
struct CouponFields {
  vcl::String W{defaults::W};
  vcl::String edt5{defaults::edt5};
  vcl::String edt6{defaults::edt6};
  vcl::String edt7{defaults::edt7};
  vcl::String edt8{defaults::edt8};
  vcl::String mmojine = MemoText(defaults::mmojine);
  vcl::String mmoshuoming = MemoText(defaults::mmoshuoming);
  vcl::String mmolianjie = MemoText(defaults::mmolianjie);
};
void TrimLists(CouponFields& fields);
vcl::String GenerateCoupons(const CouponFields& fields);

// Combination sale (btn7Click). It sets the picture width from the shop type first; the form
// writes IW back into its label.
struct CombinationSaleFields {
  vcl::String W{defaults::W};
  vcl::String IW{defaults::IW};
  int rg1 = defaults::rg1;  // 0 Taobao, 1 Tmall
  vcl::String edt9{defaults::edt9};
  vcl::String edt10{defaults::edt10};
  vcl::String edt11{defaults::edt11};
  vcl::String edt12{defaults::edt12};
  vcl::String edt13{defaults::edt13};
  vcl::String edt14{defaults::edt14};
  vcl::String edt15{defaults::edt15};
  vcl::String edt16{defaults::edt16};
  vcl::String edt17{defaults::edt17};
  vcl::String edt18{defaults::edt18};
  vcl::String edt19{defaults::edt19};
};
struct CombinationSale {
  vcl::String IW;    // the new text of the picture-width label
  vcl::String html;  // the work memo's text
};
CombinationSale GenerateCombinationSale(const CombinationSaleFields& fields);

// Parameters (btn18Click): one parameter a line of the memo, taken as it is.
struct ParameterFields {
  vcl::String W{defaults::W};
  vcl::String mmocanshu = MemoText(defaults::mmocanshu);
  vcl::String edtcanshutu{defaults::edtcanshutu};
};
vcl::String GenerateParameters(const ParameterFields& fields);

// Size chart (btn19Click): the hidden template memo's text, unchanged.
struct SizeChartFields {
  vcl::String mmochima = MemoText(defaults::mmochima);
};
vcl::String GenerateSizeChart(const SizeChartFields& fields);

// Display (btn1Click): cbb3 pictures.
struct DisplayFields {
  vcl::String W{defaults::W};
  vcl::String cbb3{defaults::cbb3};
  vcl::String mmozhanshi = MemoText(defaults::mmozhanshi);
};
void TrimLists(DisplayFields& fields);
vcl::String GenerateDisplay(const DisplayFields& fields);

// Split style (btn21Click).
struct SplitStyleFields {
  vcl::String W{defaults::W};
  vcl::String edtfengedise{defaults::edtfengedise};
  vcl::String cbb5{defaults::cbb5};
  vcl::String edtfengebiaoti{defaults::edtfengebiaoti};
  vcl::String cbb6{defaults::cbb6};
  vcl::String edtfengexiaozi{defaults::edtfengexiaozi};
  vcl::String cbb7{defaults::cbb7};
  vcl::String edtfengexian{defaults::edtfengexian};
  vcl::String cbb8{defaults::cbb8};
  vcl::String edt26{defaults::edt26};
  vcl::String edt27{defaults::edt27};
};
vcl::String GenerateSplitStyle(const SplitStyleFields& fields);

// Details (btn11Click): cbb4 items in the list style (rg2 0) or the overlay style (rg2 1).
// The overlay style needs each picture's height as the form's image control reports it after
// the picture was downloaded to "1.jpg" and loaded there with auto size on and the given
// width; the form supplies that as `measure`. A failed download (std::nullopt) stops the
// generation with EPictureDownloadError naming the address, so a stale "1.jpg" is never
// measured; a picture that cannot be loaded raises the loader's own error.
using MeasurePicture = std::function<std::optional<int>(const vcl::String& address, int width)>;
class EPictureDownloadError : public vcl::Exception {
 public:
  using vcl::Exception::Exception;
  const wchar_t* ClassName() const noexcept override { return L"EPictureDownloadError"; }
};
// Its message: kDownloadFailedMessage followed by the picture address.
inline constexpr std::wstring_view kDownloadFailedMessage = L"图片下载失败：";
struct DetailFields {
  vcl::String W{defaults::W};
  int rg2 = defaults::rg2;  // 0 "图文列表", 1 "图文叠加", -1 none
  vcl::String cbb4{defaults::cbb4};
  vcl::String edt20{defaults::edt20};
  vcl::String edt21{defaults::edt21};
  vcl::String mmoxijiebiaoti = MemoText(defaults::mmoxijiebiaoti);
  vcl::String mmoxijieshuoming = MemoText(defaults::mmoxijieshuoming);
  vcl::String mmoxijietupian = MemoText(defaults::mmoxijietupian);
  MeasurePicture measure;  // needed by the overlay style only
};
void TrimLists(DetailFields& fields);
vcl::String GenerateDetails(const DetailFields& fields);

// Buyer notice (btn22Click): 750 wide whatever the shop type; edt22 replaces "#666666".
struct BuyerNoticeFields {
  vcl::String mmomaijiabidu = MemoText(defaults::mmomaijiabidu);
  vcl::String edt22{defaults::edt22};
};
vcl::String GenerateBuyerNotice(const BuyerNoticeFields& fields);

// Custom HTML (btn23Click): 750 wide whatever the shop type; the form neither saves nor
// previews it.
struct CustomFields {
  vcl::String mmo34{defaults::mmo34};
};
vcl::String GenerateCustom(const CustomFields& fields);

}  // namespace composer
