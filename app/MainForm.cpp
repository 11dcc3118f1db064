// The main window itself: its components, the work memo, the page sizes, the section buttons,
// the section list with its popup menu, assembly, extraction, the editor-panel toggle, the
// start-page countdown and the web menu.
#include "app/MainForm.h"

#include <shellapi.h>

#include "app/Clipboard.h"
#include "classlib/rtl/UnitInit.h"

namespace composer {

using vcl::String;
using vcl::TObject;

VCL_CLASS_INFO(Tfrmmain) {
  VCL_METHOD(Tfrmmain, FormCreate);
  VCL_METHOD(Tfrmmain, FormClose);
  VCL_METHOD(Tfrmmain, rg1Click);
  VCL_METHOD(Tfrmmain, rgleixingClick);
  VCL_METHOD(Tfrmmain, btnguanlianClick);
  VCL_METHOD(Tfrmmain, btnfengetiaoClick);
  VCL_METHOD(Tfrmmain, btnyouhuiquanClick);
  VCL_METHOD(Tfrmmain, btndapeiClick);
  VCL_METHOD(Tfrmmain, btncanshuClick);
  VCL_METHOD(Tfrmmain, btnchimaClick);
  VCL_METHOD(Tfrmmain, btnzhanshiClick);
  VCL_METHOD(Tfrmmain, btnxijieClick);
  VCL_METHOD(Tfrmmain, btnyangshiClick);
  VCL_METHOD(Tfrmmain, btnjiaoliuClick);
  VCL_METHOD(Tfrmmain, btnzidingyiClick);
  VCL_METHOD(Tfrmmain, btntianjiaClick);
  VCL_METHOD(Tfrmmain, btnaddClick);
  VCL_METHOD(Tfrmmain, btn2Click);
  VCL_METHOD(Tfrmmain, btntiquClick);
  VCL_METHOD(Tfrmmain, N11Click);
  VCL_METHOD(Tfrmmain, N2Click);
  VCL_METHOD(Tfrmmain, N3Click);
  VCL_METHOD(Tfrmmain, N1Click);
  VCL_METHOD(Tfrmmain, N9Click);
  VCL_METHOD(Tfrmmain, pnl18Click);
  VCL_METHOD(Tfrmmain, tmr1Timer);
  VCL_METHOD(Tfrmmain, N4Click);
  VCL_METHOD(Tfrmmain, N5Click);
  VCL_METHOD(Tfrmmain, N7Click);
  VCL_METHOD(Tfrmmain, N8Click);

  VCL_METHOD(Tfrmmain, btn14Click);
  VCL_METHOD(Tfrmmain, btn15Click);
  VCL_METHOD(Tfrmmain, btn16Click);
  VCL_METHOD(Tfrmmain, btn7Click);
  VCL_METHOD(Tfrmmain, btn18Click);
  VCL_METHOD(Tfrmmain, btn19Click);
  VCL_METHOD(Tfrmmain, btn1Click);
  VCL_METHOD(Tfrmmain, btn21Click);
  VCL_METHOD(Tfrmmain, btn11Click);
  VCL_METHOD(Tfrmmain, btn22Click);
  VCL_METHOD(Tfrmmain, btn23Click);

  VCL_METHOD(Tfrmmain, edt1DblClick);
  VCL_METHOD(Tfrmmain, edt2DblClick);
  VCL_METHOD(Tfrmmain, edt4DblClick);
  VCL_METHOD(Tfrmmain, edt5DblClick);
  VCL_METHOD(Tfrmmain, edt6DblClick);
  VCL_METHOD(Tfrmmain, edt7DblClick);
  VCL_METHOD(Tfrmmain, edt8DblClick);
  VCL_METHOD(Tfrmmain, edt17DblClick);
  VCL_METHOD(Tfrmmain, edt18DblClick);
  VCL_METHOD(Tfrmmain, edt20DblClick);
  VCL_METHOD(Tfrmmain, edt21DblClick);
  VCL_METHOD(Tfrmmain, edt22DblClick);
  VCL_METHOD(Tfrmmain, edt23DblClick);
  VCL_METHOD(Tfrmmain, edt24DblClick);
  VCL_METHOD(Tfrmmain, edt28DblClick);
  VCL_METHOD(Tfrmmain, edtziseDblClick);
  VCL_METHOD(Tfrmmain, edtfengediseDblClick);
  VCL_METHOD(Tfrmmain, edtfengebiaotiDblClick);
  VCL_METHOD(Tfrmmain, edtfengexiaoziDblClick);
  VCL_METHOD(Tfrmmain, edtfengexianDblClick);
}

namespace {

// The program's own unit: its form's class, which its description names.
void InitMainFormUnit() { Tfrmmain::StaticClass(); }

const vcl::TUnitRegistration kMainFormUnit{vcl::TUnitGroup::Program, 10, L"Unitadmin", &InitMainFormUnit, nullptr};

}  // namespace

Tfrmmain::Tfrmmain(vcl::TComponent* AOwner) : TForm(AOwner) {}

// ---------------------------------------------------------------------------------------
// Components

template <class T>
void Tfrmmain::Bind(T*& Field, const wchar_t* Name) {
  Field = dynamic_cast<T*>(FindComponent(Name));
  if (!Field)
    throw vcl::EComponentError(L"The main window's description has no " + String(T::StaticClass().Name) + L" " +
                               Name);
}

#define BIND(name) Bind(name, L## #name)

void Tfrmmain::BindComponents() {
  BIND(rg1); BIND(btnguanlian); BIND(btnfengetiao); BIND(btnyouhuiquan); BIND(btndapei); BIND(btncanshu);
  BIND(btnchima); BIND(btnzhanshi); BIND(btnxijie); BIND(btnyangshi); BIND(btnjiaoliu); BIND(btnzidingyi);
  BIND(pnl4); BIND(lblzongkuan); BIND(lblzonggao); BIND(lbltukuan); BIND(lbltugao); BIND(pgc1);
  BIND(tsguanlian); BIND(tsyouhuiquan); BIND(tsfengetiao); BIND(tsdapei); BIND(tscanshu); BIND(tschima);
  BIND(tszhanshi); BIND(tsyangshi); BIND(tsxijie); BIND(tsjiaoliu); BIND(tszidingyi); BIND(lv1); BIND(btn2);
  BIND(btntiqu); BIND(pm1); BIND(N11); BIND(N2); BIND(N3); BIND(N1); BIND(N9); BIND(wb1); BIND(mmochima);
  BIND(mmomaijiabidu); BIND(pnl18); BIND(lblname); BIND(lbl46); BIND(mm1); BIND(N4); BIND(N5); BIND(N7);
  BIND(N8); BIND(dlgColor1); BIND(tmr1);
  BindEditorComponents();
}

void Tfrmmain::BindEditorComponents() {
  BIND(rgleixing); BIND(edtzise); BIND(edt23); BIND(mmotwo); BIND(mmothree); BIND(mmoone);
  BIND(mmoguanlianjiage); BIND(btn14); BIND(btnadd); BIND(edt1); BIND(edt24); BIND(cbb2); BIND(edt2);
  BIND(edt3); BIND(edt4); BIND(cbb1); BIND(edt25); BIND(edt28); BIND(btn15); BIND(btn8); BIND(edt5);
  BIND(edt6); BIND(edt7); BIND(edt8); BIND(mmojine); BIND(mmoshuoming); BIND(mmolianjie); BIND(btn16);
  BIND(btntianjia); BIND(edt9); BIND(edt10); BIND(edt11); BIND(edt12); BIND(edt13); BIND(edt14); BIND(edt15);
  BIND(edt16); BIND(edt17); BIND(edt18); BIND(edt19); BIND(btn7); BIND(btn17); BIND(mmocanshu);
  BIND(edtcanshutu); BIND(btn18); BIND(btn5); BIND(btn19); BIND(btn6); BIND(cbb3); BIND(mmozhanshi);
  BIND(btn1); BIND(btn3); BIND(edtfengedise); BIND(cbb5); BIND(edtfengebiaoti); BIND(cbb6);
  BIND(edtfengexiaozi); BIND(cbb7); BIND(edtfengexian); BIND(cbb8); BIND(edt26); BIND(edt27); BIND(btn21);
  BIND(btn10); BIND(rg2); BIND(cbb4); BIND(edt20); BIND(edt21); BIND(mmoxijiebiaoti); BIND(mmoxijieshuoming);
  BIND(mmoxijietupian); BIND(img1); BIND(btn11); BIND(btn20); BIND(edt22); BIND(btn22); BIND(btn9);
  BIND(mmo34); BIND(btn23); BIND(btn13);
}

#undef BIND

void Tfrmmain::Loaded() {
  TForm::Loaded();
  BindComponents();
}

void Tfrmmain::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == vcl::opRemove && AComponent == work_memo_) work_memo_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Creation and closing

void Tfrmmain::FormCreate(TObject*) {
  wb1->Navigate(String(kNoticePage));
  // No owner: the window frees it when it closes (and its parent takes it along should the
  // window go without closing).
  work_memo_ = new vcl::TMemo(nullptr);
  work_memo_->FreeNotification(this);
  work_memo_->SetParent(this);
  work_memo_->SetAlign(vcl::alClient);
  work_memo_->SetVisible(false);
}

void Tfrmmain::FormClose(TObject*, vcl::TCloseAction&) {
  vcl::FreeAndNil(work_memo_);
  // Failures to delete are of no concern to the user.
  vcl::DeleteFile(String(kPictureFile));
  vcl::DeleteFile(String(kPageFile));
}

// ---------------------------------------------------------------------------------------
// Shop type and related-sales style: the page sizes

void Tfrmmain::rg1Click(TObject*) {
  lblzongkuan->SetCaption(rg1->ItemIndex() == 1 ? L"790" : L"750");
  lblzonggao->SetCaption(L"0");
  lbltukuan->SetCaption(L"0");
  lbltugao->SetCaption(L"0");
  rgleixing->SetItemIndex(-1);
}

void Tfrmmain::rgleixingClick(TObject*) {
  const bool taobao = lblzongkuan->Caption() == L"750";
  switch (rgleixing->ItemIndex()) {
    case 0:
      lblzonggao->SetCaption(L"310");
      lbltukuan->SetCaption(taobao ? L"180" : L"190");
      lbltugao->SetCaption(L"270");
      break;
    case 1:
      lblzonggao->SetCaption(L"360");
      lbltukuan->SetCaption(taobao ? L"243" : L"256");
      lbltugao->SetCaption(taobao ? L"320" : L"270");
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------
// Section buttons

void Tfrmmain::ShowSection(vcl::TTabSheet* Sheet, vcl::TSpeedButton* Button) {
  pnl4->SetVisible(true);
  pgc1->SetActivePage(Sheet);
  lblname->SetCaption(Button->Caption());
}

void Tfrmmain::btnguanlianClick(TObject*) { ShowSection(tsguanlian, btnguanlian); }
void Tfrmmain::btnfengetiaoClick(TObject*) { ShowSection(tsfengetiao, btnfengetiao); }
void Tfrmmain::btnyouhuiquanClick(TObject*) { ShowSection(tsyouhuiquan, btnyouhuiquan); }
void Tfrmmain::btndapeiClick(TObject*) { ShowSection(tsdapei, btndapei); }
void Tfrmmain::btncanshuClick(TObject*) { ShowSection(tscanshu, btncanshu); }
void Tfrmmain::btnchimaClick(TObject*) { ShowSection(tschima, btnchima); }
void Tfrmmain::btnzhanshiClick(TObject*) { ShowSection(tszhanshi, btnzhanshi); }
void Tfrmmain::btnxijieClick(TObject*) { ShowSection(tsxijie, btnxijie); }
void Tfrmmain::btnyangshiClick(TObject*) { ShowSection(tsyangshi, btnyangshi); }
void Tfrmmain::btnjiaoliuClick(TObject*) { ShowSection(tsjiaoliu, btnjiaoliu); }
void Tfrmmain::btnzidingyiClick(TObject*) { ShowSection(tszidingyi, btnzidingyi); }

// ---------------------------------------------------------------------------------------
// The section list

void Tfrmmain::AddSection(const String& Question, const String& Suffix) {
  if (vcl::Application->MessageBox(Question, String(kMessageCaption), MB_OKCANCEL) != IDOK) return;
  // Rows are never renumbered: the number is the count before the add, plus one.
  const int number = lv1->Items()->Count() + 1;
  vcl::TListItem* row = lv1->Items()->Add();
  row->SetCaption(vcl::IntToStr(number));
  row->SubItems()->Add(L"[ " + lblname->Caption() + L" ] " + Suffix);
  row->SubItems()->Add(work_memo_ ? work_memo_->Text() : String());
}

void Tfrmmain::btntianjiaClick(TObject*) { AddSection(L"确定添加该板块？", {}); }

void Tfrmmain::btnaddClick(TObject*) {
  String style;
  if (rgleixing->ItemIndex() == 0) style = L"图文四列";
  if (rgleixing->ItemIndex() == 1) style = L"图文三列";
  AddSection(L"确定要添加该板块？", style);
}

void Tfrmmain::btn2Click(TObject*) {
  if (!work_memo_) return;
  vcl::TStrings* lines = work_memo_->Lines();
  work_memo_->Clear();
  for (int i = 0; i < lv1->Items()->Count(); ++i) lines->Add(lv1->Items()->Item(i)->SubItems()->Strings(1));
  Inform(L"所有代码已经提交完毕，可以通过右侧预览区查看总体样式！");
  SavePage(lines);
  PreviewPage();
}

void Tfrmmain::btntiquClick(TObject*) {
  if (!work_memo_) return;
  work_memo_->SelectAll();
  work_memo_->CopyToClipboard();
  // The edit control copies nothing from an empty selection, which would leave an older text
  // on the clipboard; an empty page is copied as an empty text.
  if (work_memo_->Text().empty()) PutTextOnClipboard(Handle(), {});
  Inform(L"代码提取完毕！");
}

void Tfrmmain::N11Click(TObject*) {
  vcl::TListItem* row = lv1->Selected();
  if (!row || row->SubItems()->Count() < 2) return;
  vcl::TStringList page;
  page.SetText(row->SubItems()->Strings(1));
  SavePage(&page);
  PreviewPage();
}

namespace {

// Exchanges a row's name and HTML with another's; numbers and selection stay where they are.
void ExchangeRows(vcl::TListItem* A, vcl::TListItem* B) {
  vcl::TStringList a, b;
  a.Assign(A->SubItems());
  b.Assign(B->SubItems());
  A->SetSubItems(&b);
  B->SetSubItems(&a);
}

}  // namespace

void Tfrmmain::N2Click(TObject*) {
  const int index = lv1->ItemIndex();
  if (index < 1) return;
  ExchangeRows(lv1->Items()->Item(index), lv1->Items()->Item(index - 1));
}

void Tfrmmain::N3Click(TObject*) {
  const int index = lv1->ItemIndex();
  if (index < 0 || index + 1 >= lv1->Items()->Count()) return;
  ExchangeRows(lv1->Items()->Item(index), lv1->Items()->Item(index + 1));
}

void Tfrmmain::N1Click(TObject*) {
  if (vcl::TListItem* row = lv1->Selected()) row->Delete();
}

void Tfrmmain::N9Click(TObject*) { lv1->Items()->Clear(); }

// ---------------------------------------------------------------------------------------
// Editor-panel toggle and the countdown

void Tfrmmain::pnl18Click(TObject*) {
  if (pnl18->Caption() == L"》") {
    pnl4->SetVisible(true);
    pnl18->SetCaption(L"《");
  } else {
    pnl4->SetVisible(false);
    pnl18->SetCaption(L"》");
  }
}

void Tfrmmain::tmr1Timer(TObject*) {
  if (countdown_ < 1) {
    tmr1->SetEnabled(false);
    wb1->Refresh();
    return;
  }
  --countdown_;
  lbl46->SetCaption(vcl::IntToStr(countdown_));
}

// ---------------------------------------------------------------------------------------
// Web menu

void Tfrmmain::N4Click(TObject*) {
  ShellExecuteW(Handle(), nullptr, String(kWebSite).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Tfrmmain::N5Click(TObject*) { wb1->Navigate(String(kNoticePage)); }
void Tfrmmain::N7Click(TObject*) { wb1->Navigate(String(kVideoPage)); }
void Tfrmmain::N8Click(TObject*) { wb1->Navigate(String(kDownloadPage)); }

// ---------------------------------------------------------------------------------------
// The page file and the preview

void Tfrmmain::ShowPage(const String& Html, bool Preview) {
  if (!work_memo_) return;
  work_memo_->SetText(Html);
  if (!Preview) return;
  SavePage(work_memo_->Lines());
  PreviewPage();
}

// UTF-8 with a byte-order mark, lines ended by CR LF: Chinese text survives whatever the
// system's ANSI code page.
void Tfrmmain::SavePage(vcl::TStrings* Lines) { Lines->SaveToFile(String(kPageFile), vcl::TEncoding::UTF8); }

void Tfrmmain::PreviewPage() { wb1->Navigate(vcl::GetCurrentDir() + L"/" + String(kPageFile)); }

void Tfrmmain::Inform(const String& Text) { vcl::ShowMessageBox(Handle(), Text, String(kMessageCaption), MB_OK); }

}  // namespace composer
