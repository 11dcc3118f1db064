// Initial texts of the section editors' fields, shared by the main window's form description
// and the generator tests. A memo's initial contents are given as its lines.
#pragma once

#include <span>
#include <string_view>

#include "classlib/rtl/SysUtils.h"

namespace composer {

using Lines = std::span<const std::wstring_view>;

// A memo's text: every line followed by CR LF, as the edit control holds its lines.
vcl::String MemoText(Lines lines);

namespace defaults {

// Page sizes (the labels of the size panel) before any shop type or style is chosen.
inline constexpr std::wstring_view W = L"750";
inline constexpr std::wstring_view H = L"0";
inline constexpr std::wstring_view IW = L"0";
inline constexpr std::wstring_view IH = L"0";

// Radio groups: the item selected at start (-1: none).
inline constexpr int rg1 = 0;
inline constexpr int rgleixing = -1;
inline constexpr int rg2 = 0;

// Related sales.
inline constexpr std::wstring_view edtzise = L"#999";
inline constexpr std::wstring_view edt23 = L"#F30";
inline constexpr std::wstring_view mmotwo[] = {
    L"http://www.example.com/images/related-1.jpg|",
    L"http://www.example.com/images/related-2.jpg|",
    L"http://www.example.com/images/related-3.jpg|",
    L"http://www.example.com/images/related-4.jpg|",
};
inline constexpr std::wstring_view mmothree[] = {L"#|#|#|#"};
inline constexpr std::wstring_view mmoone[] = {
    L"披肩中老年蝙蝠外套|",
    L"披肩中老年蝙蝠外套|",
    L"披肩中老年蝙蝠外套|",
    L"披肩中老年蝙蝠外套|",
};
inline constexpr std::wstring_view mmoguanlianjiage[] = {L"59.00|", L"68.00|", L"59.00|", L"63.00|"};

// Separator bar.
inline constexpr std::wstring_view edt1 = L"#F3F3F3";
inline constexpr std::wstring_view edt24 = L"#c0c0c0";
inline constexpr std::wstring_view cbb2 = L"0";
inline constexpr std::wstring_view cbb2Items[] = {L"0", L"1", L"2", L"3", L"4"};
inline constexpr std::wstring_view edt2 = L"#8080FF";
inline constexpr std::wstring_view edt3 = L"产品参数";
inline constexpr std::wstring_view edt4 = L"#fff";
inline constexpr std::wstring_view cbb1 = L"16";
inline constexpr std::wstring_view cbb1Items[] = {L"12", L"14", L"15", L"16", L"18", L"24"};
inline constexpr std::wstring_view edt25 = L"欢迎光临本店";
inline constexpr std::wstring_view edt28 = L"#808080";

// Coupons.
inline constexpr std::wstring_view edt5 = L"#66F";
inline constexpr std::wstring_view edt6 = L"#FFF";
inline constexpr std::wstring_view edt7 = L"#F60";
inline constexpr std::wstring_view edt8 = L"#FFF";
inline constexpr std::wstring_view mmojine[] = {L"10|20|50"};
inline constexpr std::wstring_view mmoshuoming[] = {L"满100元使用|", L"满200元使用|", L"满300元使用|"};
inline constexpr std::wstring_view mmolianjie[] = {L"#|#|#"};

// Combination sale.
inline constexpr std::wstring_view edt9 = L"http://www.example.com/images/bundle-item.jpg";
inline constexpr std::wstring_view edt10 = L"华为荣耀，闪耀全城";
inline constexpr std::wstring_view edt11 = L"#";
inline constexpr std::wstring_view edt12 = edt9;
inline constexpr std::wstring_view edt13 = edt10;
inline constexpr std::wstring_view edt14 = edt11;
inline constexpr std::wstring_view edt15 = L"1696.0";
inline constexpr std::wstring_view edt16 = L"696.0";
inline constexpr std::wstring_view edt17 = L"#66F";
inline constexpr std::wstring_view edt18 = L"#fff";
inline constexpr std::wstring_view edt19 = L"#";

// Parameters.
inline constexpr std::wstring_view mmocanshu[] = {
    L"CPU型号：苹果A7 ",
    L"屏幕尺寸：4.0英寸 ",
    L"运行内存：1GB ",
    L"屏幕分辨率：1136×640像素 ",
    L"机身容量：16GB ",
    L"操作系统：iOS 8.0 ",
    L"后置相机：800万像素",
};
inline constexpr std::wstring_view edtcanshutu = L"http://www.example.com/images/parameters.jpg";

// Display.
inline constexpr std::wstring_view cbb3 = L"5";
inline constexpr std::wstring_view cbb3Items[] = {L"3", L"4", L"5", L"6", L"7",
                                                  L"8", L"9", L"10", L"11", L"12"};
inline constexpr std::wstring_view mmozhanshi[] = {
    L"http://www.example.com/images/display-1.jpg|",
    L"http://www.example.com/images/display-2.jpg|",
    L"http://www.example.com/images/display-3.jpg|",
    L"http://www.example.com/images/display-4.jpg|",
    L"http://www.example.com/images/display-5.jpg",
};

// Split style.
inline constexpr std::wstring_view edtfengedise = L"#FFF";
inline constexpr std::wstring_view cbb5 = L"48";
inline constexpr std::wstring_view cbb5Items[] = {L"24", L"30", L"36", L"48", L"50", L"60"};
inline constexpr std::wstring_view edtfengebiaoti = L"#000";
inline constexpr std::wstring_view cbb6 = L"14";
inline constexpr std::wstring_view cbb6Items[] = {L"14", L"16", L"18", L"24"};
inline constexpr std::wstring_view edtfengexiaozi = L"#999";
inline constexpr std::wstring_view cbb7 = L"1";
inline constexpr std::wstring_view cbb7Items[] = {L"0", L"1", L"2", L"3", L"4"};
inline constexpr std::wstring_view edtfengexian = L"#999";
inline constexpr std::wstring_view cbb8 = L"dashed";
inline constexpr std::wstring_view cbb8Items[] = {L"solid", L"dashed"};
inline constexpr std::wstring_view edt26 = L"精美细致 完美品质";
inline constexpr std::wstring_view edt27 = L"Exquisite and perfect quality";

// Details.
inline constexpr std::wstring_view cbb4 = L"5";
inline constexpr std::wstring_view cbb4Items[] = {L"3", L"4", L"5", L"6", L"7",
                                                  L"8", L"9", L"10", L"11", L"12"};
inline constexpr std::wstring_view edt20 = L"#f30";
inline constexpr std::wstring_view edt21 = L"#999";
inline constexpr std::wstring_view mmoxijiebiaoti[] = {
    L"高品质面料说明|", L"高品质面料说明|", L"高品质面料说明|", L"高品质面料说明|", L"高品质面料说明",
};
inline constexpr std::wstring_view mmoxijieshuoming[] = {
    L"2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|",
    L"2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|",
    L"2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|",
    L"2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋|",
    L"2016单鞋春款时尚蛋卷鞋浅口新品真皮豆豆鞋平底软底串珠水钻女鞋",
};
inline constexpr std::wstring_view mmoxijietupian[] = {
    L"http://www.example.com/images/detail-1.jpg|",
    L"http://www.example.com/images/detail-2.jpg|",
    L"http://www.example.com/images/detail-3.jpg|",
    L"http://www.example.com/images/detail-4.jpg|",
    L"http://www.example.com/images/detail-5.jpg",
};

// Buyer notice.
inline constexpr std::wstring_view edt22 = L"#F30";

// Custom HTML: the memo starts empty.
inline constexpr std::wstring_view mmo34 = L"";

// The hidden template memo of the size chart.
inline constexpr std::wstring_view mmochima[] = {
    LR"(<div style="width:750px; font-family: Microsoft YaHei;">)",
    L"\t" LR"(<div style="text-align:center; font-size:20px; line-height:80px; font-weight:100;">产品尺码表 | 单位（cm）</div>)",
    LR"(<table style="border-collapse: collapse; color: #333; font-size: 15px;" width="100%" border="1" cellpadding="0" cellspacing="0" bordercolor="#999">)",
    LR"(    <tr>)",
    LR"(      <td height="30" align="center" bgcolor="#E6E6E6">尺码</td>)",
    LR"(      <td height="30" align="center" bgcolor="#E6E6E6">胸围</td>)",
    LR"(      <td height="30" align="center" bgcolor="#E6E6E6">腰围</td>)",
    LR"(      <td height="30" align="center" bgcolor="#E6E6E6">肩宽</td>)",
    LR"(      <td height="30" align="center" bgcolor="#E6E6E6">身高</td>)",
    LR"(      <td height="30" align="center" bgcolor="#E6E6E6">衣长</td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td height="25" align="center">S</td>)",
    LR"(      <td height="25" align="center">36</td>)",
    LR"(      <td height="25" align="center">37</td>)",
    LR"(      <td height="25" align="center">38</td>)",
    LR"(      <td height="25" align="center">39</td>)",
    LR"(      <td height="25" align="center">40</td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td height="25" align="center">M</td>)",
    LR"(      <td height="25" align="center">41</td>)",
    LR"(      <td height="25" align="center">42</td>)",
    LR"(      <td height="25" align="center">43</td>)",
    LR"(      <td height="25" align="center">44</td>)",
    LR"(      <td height="25" align="center">45</td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td height="25" align="center">L</td>)",
    LR"(      <td height="25" align="center">35</td>)",
    LR"(      <td height="25" align="center">36</td>)",
    LR"(      <td height="25" align="center">37</td>)",
    LR"(      <td height="25" align="center">38</td>)",
    LR"(      <td height="25" align="center">39</td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td height="25" align="center">XL</td>)",
    LR"(      <td height="25" align="center">40</td>)",
    LR"(      <td height="25" align="center">41</td>)",
    LR"(      <td height="25" align="center">42</td>)",
    LR"(      <td height="25" align="center">43</td>)",
    LR"(      <td height="25" align="center">45</td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td height="25" align="center">XXL</td>)",
    LR"(      <td height="25" align="center">46</td>)",
    LR"(      <td height="25" align="center">47</td>)",
    LR"(      <td height="25" align="center">48</td>)",
    LR"(      <td height="25" align="center">49</td>)",
    LR"(      <td height="25" align="center">50</td>)",
    LR"(    </tr>)",
    LR"(  </table>)",
    LR"(  <div style="text-align:center; font-size:14px; line-height:60px; color:#999">备注信息：以上尺码为手工测量，可能会有1-3cm误差，实际以实物为准</div>)",
    LR"(</div>)",
};

// The hidden template memo of the buyer notice; "#666666" marks the label colour.
inline constexpr std::wstring_view mmomaijiabidu[] = {
    LR"(  <table  style="font-size:14px; font-family:Microsoft YaHei; line-height:25px;border-collapse:collapse; color:#333" width="100%" cellpadding="0" cellspacing="0" border="1" bordercolor="#DFDFDF">)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="40" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">正品保障</div></td>)",
    LR"(      <td width="88%" height="30" valign="middle"><div style="margin:0 20px;">本店所售产品均为全新正品，质量保证，请放心购买！</div></td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="100" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">关于色差</div></td>)",
    LR"(      <td height="30" valign="middle"><div style="margin:0 20px;">商品照片都为专业摄影师拍摄后和后期修正调整，尽量与现实商品保持一致。但由于灯光、显示器色彩偏差及个人对颜色理解各有不同，导致少数实物可能会与照片存在色差，如无法接受请谨慎购买。最终颜色会以实际商品为准，谢谢亲的理解！</div></td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="40" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">关于尺寸</div></td>)",
    LR"(      <td height="30" valign="middle"><div style="margin:0 20px;">纯由我们手工测量，可能存在0.5cm的误差，请不能接受误差的朋友慎拍。</div></td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="30" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">关于配送</div></td>)",
    LR"(      <td height="100" valign="middle"><div style="margin:0 20px;">为了确保亲们能收到完好的宝贝，我们提醒亲们在签收快递的时候，注意检查包装是否完好，并且是否有被拆过的痕迹哦！提醒亲们应该与快递当面验收您的快递包裹！本店默认：韵达快递，如需发其它快递，请联系在线客服。</div></td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="30" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">7天退货</div></td>)",
    LR"(      <td height="120" valign="middle"><div style="margin:0 20px;">A.本店支持7天无理由退换货服务，如果您对我们的商品不满意，在保存商品及包装原样情况下以退换一次。商品及包装原样指：商品未使用过、有吊牌、未拆标、配件齐全、未改装过、无人为损坏、不影响二次销售。)",
    LR"(      B.因质量问题造成的退换货邮费由我们承担，非质量问题造成的退换货邮费由买家承担！</div></td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="40" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">发货时间</div></td>)",
    LR"(      <td height="30" valign="middle"><div style="margin:0 20px;">17点前付款的订单，当天发货，17点后付款的订单次日发货（大型活动期间，发货另行说明）</div></td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="80" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">发货快递</div></td>)",
    LR"(      <td height="30" valign="middle"><div style="margin:0 20px;">默认申通快递（除聚划算等大型活动外），如果亲所在的地区不在顺丰快递收送范围，亲可以直接联系在线客服协商快递</div></td>)",
    LR"(    </tr>)",
    LR"(    <tr>)",
    LR"(      <td width="20%" height="80" align="center" valign="middle"><div style="height:40px; background-color:#666666; line-height:40px; color:#FFF; margin:10px; font-weight:700; font-size:15px;">收货提醒</div></td>)",
    LR"(      <td height="30" valign="middle"><div style="margin:0 20px;">请您务必在签收快递前，确认商品完好无损后再签收，如检验商品过程中发现缺货、少货，可以拒签并第一时间联系我们。</div></td>)",
    LR"(    </tr>)",
    LR"(  </table>)",
};

}  // namespace defaults
}  // namespace composer
