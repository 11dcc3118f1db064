// The generate buttons: each reads its sheet's fields, has its section generator fill the
// template and shows the result in the work memo (saved as the page and previewed, except the
// custom section). A generator that fails raises before anything is written; the exception
// goes on to the application's exception display.
#include "app/Download.h"
#include "app/MainForm.h"
#include "app/SectionTemplates.h"

namespace composer {

using vcl::String;
using vcl::TObject;

void Tfrmmain::btn14Click(TObject*) {
  RelatedSalesFields f{
      .W = lblzongkuan->Caption(),
      .IW = lbltukuan->Caption(),
      .IH = lbltugao->Caption(),
      .H = lblzonggao->Caption(),
      .rgleixing = rgleixing->ItemIndex(),
      .edtzise = edtzise->Text(),
      .edt23 = edt23->Text(),
      .mmotwo = mmotwo->Text(),
      .mmothree = mmothree->Text(),
      .mmoone = mmoone->Text(),
      .mmoguanlianjiage = mmoguanlianjiage->Text(),
  };
  TrimLists(f);
  mmoone->SetText(f.mmoone);
  mmotwo->SetText(f.mmotwo);
  mmothree->SetText(f.mmothree);
  mmoguanlianjiage->SetText(f.mmoguanlianjiage);
  const std::optional<String> html = GenerateRelatedSales(f);
  if (!html) {
    Inform(String(kChooseStyleMessage));
    return;
  }
  ShowPage(*html);
}

void Tfrmmain::btn15Click(TObject*) {
  ShowPage(GenerateSeparatorBar({
      .W = lblzongkuan->Caption(),
      .edt1 = edt1->Text(),
      .edt24 = edt24->Text(),
      .cbb2 = cbb2->Text(),
      .edt2 = edt2->Text(),
      .edt3 = edt3->Text(),
      .edt4 = edt4->Text(),
      .cbb1 = cbb1->Text(),
      .edt25 = edt25->Text(),
      .edt28 = edt28->Text(),
  }));
}

void Tfrmmain::btn16Click(TObject*) {
  CouponFields f{
      .W = lblzongkuan->Caption(),
      .edt5 = edt5->Text(),
      .edt6 = edt6->Text(),
      .edt7 = edt7->Text(),
      .edt8 = edt8->Text(),
      .mmojine = mmojine->Text(),
      .mmoshuoming = mmoshuoming->Text(),
      .mmolianjie = mmolianjie->Text(),
  };
  TrimLists(f);
  mmojine->SetText(f.mmojine);
  mmoshuoming->SetText(f.mmoshuoming);
  mmolianjie->SetText(f.mmolianjie);
  ShowPage(GenerateCoupons(f));
}

void Tfrmmain::btn7Click(TObject*) {
  const CombinationSale sale = GenerateCombinationSale({
      .W = lblzongkuan->Caption(),
      .IW = lbltukuan->Caption(),
      .rg1 = rg1->ItemIndex(),
      .edt9 = edt9->Text(),
      .edt10 = edt10->Text(),
      .edt11 = edt11->Text(),
      .edt12 = edt12->Text(),
      .edt13 = edt13->Text(),
      .edt14 = edt14->Text(),
      .edt15 = edt15->Text(),
      .edt16 = edt16->Text(),
      .edt17 = edt17->Text(),
      .edt18 = edt18->Text(),
      .edt19 = edt19->Text(),
  });
  lbltukuan->SetCaption(sale.IW);
  ShowPage(sale.html);
}

void Tfrmmain::btn18Click(TObject*) {
  ShowPage(GenerateParameters({
      .W = lblzongkuan->Caption(),
      .mmocanshu = mmocanshu->Text(),
      .edtcanshutu = edtcanshutu->Text(),
  }));
}

void Tfrmmain::btn19Click(TObject*) { ShowPage(GenerateSizeChart({.mmochima = mmochima->Text()})); }

void Tfrmmain::btn1Click(TObject*) {
  DisplayFields f{
      .W = lblzongkuan->Caption(),
      .cbb3 = cbb3->Text(),
      .mmozhanshi = mmozhanshi->Text(),
  };
  TrimLists(f);
  mmozhanshi->SetText(f.mmozhanshi);
  ShowPage(GenerateDisplay(f));
}

void Tfrmmain::btn21Click(TObject*) {
  ShowPage(GenerateSplitStyle({
      .W = lblzongkuan->Caption(),
      .edtfengedise = edtfengedise->Text(),
      .cbb5 = cbb5->Text(),
      .edtfengebiaoti = edtfengebiaoti->Text(),
      .cbb6 = cbb6->Text(),
      .edtfengexiaozi = edtfengexiaozi->Text(),
      .cbb7 = cbb7->Text(),
      .edtfengexian = edtfengexian->Text(),
      .cbb8 = cbb8->Text(),
      .edt26 = edt26->Text(),
      .edt27 = edt27->Text(),
  }));
}

void Tfrmmain::btn11Click(TObject*) {
  DetailFields f{
      .W = lblzongkuan->Caption(),
      .rg2 = rg2->ItemIndex(),
      .cbb4 = cbb4->Text(),
      .edt20 = edt20->Text(),
      .edt21 = edt21->Text(),
      .mmoxijiebiaoti = mmoxijiebiaoti->Text(),
      .mmoxijieshuoming = mmoxijieshuoming->Text(),
      .mmoxijietupian = mmoxijietupian->Text(),
      // The overlay style's picture heights: as the hidden image shows the downloaded picture
      // at the page width. A failed download is reported by the generator, so an older
      // "1.jpg" is never measured in its place.
      .measure = [this](const String& address, int width) -> std::optional<int> {
        const String file(kPictureFile);
        if (!DownloadUrlToFile(address, file)) return std::nullopt;
        img1->Picture()->LoadFromFile(file);
        img1->SetAutoSize(true);
        img1->SetWidth(width);
        return img1->Height();
      },
  };
  TrimLists(f);
  mmoxijiebiaoti->SetText(f.mmoxijiebiaoti);
  mmoxijieshuoming->SetText(f.mmoxijieshuoming);
  mmoxijietupian->SetText(f.mmoxijietupian);
  ShowPage(GenerateDetails(f));
}

void Tfrmmain::btn22Click(TObject*) {
  ShowPage(GenerateBuyerNotice({.mmomaijiabidu = mmomaijiabidu->Text(), .edt22 = edt22->Text()}));
}

void Tfrmmain::btn23Click(TObject*) { ShowPage(GenerateCustom({.mmo34 = mmo34->Text()}), false); }

}  // namespace composer
