// The main window: the section editors and their generate buttons, the section list, page
// assembly, preview in the browser pane, copying to the clipboard and the web menu.
//
// Its components come from the form description resources/frmmain.dfm (RCDATA "TFRMMAIN"),
// which also wires their events to the published methods below; the fields are looked up by
// name once the description is read.
//
// skndt1, the classic skin engine's skin-data component (TSkinData), is streamed from that
// description with the others (Active = True, SkinFormtype = sfMainform, the default
// SkinControls, Options and Skin3rd, an empty SkinStream: it carries no skin and stays
// inactive). This window never calls it, so it has no field here.
#pragma once

#include "classlib/extctrls/Buttons.h"
#include "classlib/comctrls/ComCtrls.h"
#include "classlib/forms/Dialogs.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/ole/SHDocVw.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/controls/Timer.h"
#include "app/WebPages.h"

namespace composer {

// The files the window writes into the current directory; both go when it closes.
inline constexpr std::wstring_view kPageFile = L"file.html";
inline constexpr std::wstring_view kPictureFile = L"1.jpg";

// The caption of every message box of the window.
inline constexpr std::wstring_view kMessageCaption = L"提示信息";

// Seconds before the start page is refreshed once.
inline constexpr int kCountdownStart = 20;

class Tfrmmain : public vcl::TForm {
  VCL_CLASS(Tfrmmain, TForm)
 public:
  explicit Tfrmmain(vcl::TComponent* AOwner);

  // The hidden memo holding the HTML last generated or assembled (nil once the window
  // closed).
  vcl::TMemo* WorkMemo() const { return work_memo_; }
  int Countdown() const { return countdown_; }

  // ---- Components (from the description) ----
  // Shop type, section buttons and the editor panel.
  vcl::TRadioGroup* rg1 = nullptr;
  vcl::TSpeedButton *btnguanlian = nullptr, *btnfengetiao = nullptr, *btnyouhuiquan = nullptr,
                    *btndapei = nullptr, *btncanshu = nullptr, *btnchima = nullptr, *btnzhanshi = nullptr,
                    *btnxijie = nullptr, *btnyangshi = nullptr, *btnjiaoliu = nullptr, *btnzidingyi = nullptr;
  vcl::TPanel* pnl4 = nullptr;
  vcl::TLabel *lblzongkuan = nullptr, *lblzonggao = nullptr, *lbltukuan = nullptr, *lbltugao = nullptr;
  vcl::TPageControl* pgc1 = nullptr;
  vcl::TTabSheet *tsguanlian = nullptr, *tsyouhuiquan = nullptr, *tsfengetiao = nullptr, *tsdapei = nullptr,
                 *tscanshu = nullptr, *tschima = nullptr, *tszhanshi = nullptr, *tsyangshi = nullptr,
                 *tsxijie = nullptr, *tsjiaoliu = nullptr, *tszidingyi = nullptr;
  // The section list.
  vcl::TListView* lv1 = nullptr;
  vcl::TButton *btn2 = nullptr, *btntiqu = nullptr;
  vcl::TPopupMenu* pm1 = nullptr;
  vcl::TMenuItem *N11 = nullptr, *N2 = nullptr, *N3 = nullptr, *N1 = nullptr, *N9 = nullptr;
  // The preview side, the status line, the web menu, the colour dialog and the countdown.
  vcl::TWebBrowser* wb1 = nullptr;
  vcl::TMemo *mmochima = nullptr, *mmomaijiabidu = nullptr;
  vcl::TPanel* pnl18 = nullptr;
  vcl::TLabel *lblname = nullptr, *lbl46 = nullptr;
  vcl::TMainMenu* mm1 = nullptr;
  vcl::TMenuItem *N4 = nullptr, *N5 = nullptr, *N7 = nullptr, *N8 = nullptr;
  vcl::TColorDialog* dlgColor1 = nullptr;
  vcl::TTimer* tmr1 = nullptr;

  // Related sales.
  vcl::TRadioGroup* rgleixing = nullptr;
  vcl::TEdit *edtzise = nullptr, *edt23 = nullptr;
  vcl::TMemo *mmotwo = nullptr, *mmothree = nullptr, *mmoone = nullptr, *mmoguanlianjiage = nullptr;
  vcl::TButton *btn14 = nullptr, *btnadd = nullptr;
  // Separator bar.
  vcl::TEdit *edt1 = nullptr, *edt24 = nullptr, *edt2 = nullptr, *edt3 = nullptr, *edt4 = nullptr,
             *edt25 = nullptr, *edt28 = nullptr;
  vcl::TComboBox *cbb2 = nullptr, *cbb1 = nullptr;
  vcl::TButton *btn15 = nullptr, *btn8 = nullptr;
  // Coupons.
  vcl::TEdit *edt5 = nullptr, *edt6 = nullptr, *edt7 = nullptr, *edt8 = nullptr;
  vcl::TMemo *mmojine = nullptr, *mmoshuoming = nullptr, *mmolianjie = nullptr;
  vcl::TButton *btn16 = nullptr, *btntianjia = nullptr;
  // Combination sale.
  vcl::TEdit *edt9 = nullptr, *edt10 = nullptr, *edt11 = nullptr, *edt12 = nullptr, *edt13 = nullptr,
             *edt14 = nullptr, *edt15 = nullptr, *edt16 = nullptr, *edt17 = nullptr, *edt18 = nullptr,
             *edt19 = nullptr;
  vcl::TButton *btn7 = nullptr, *btn17 = nullptr;
  // Parameters.
  vcl::TMemo* mmocanshu = nullptr;
  vcl::TEdit* edtcanshutu = nullptr;
  vcl::TButton *btn18 = nullptr, *btn5 = nullptr;
  // Size chart.
  vcl::TButton *btn19 = nullptr, *btn6 = nullptr;
  // Display.
  vcl::TComboBox* cbb3 = nullptr;
  vcl::TMemo* mmozhanshi = nullptr;
  vcl::TButton *btn1 = nullptr, *btn3 = nullptr;
  // Split style.
  vcl::TEdit *edtfengedise = nullptr, *edtfengebiaoti = nullptr, *edtfengexiaozi = nullptr,
             *edtfengexian = nullptr, *edt26 = nullptr, *edt27 = nullptr;
  vcl::TComboBox *cbb5 = nullptr, *cbb6 = nullptr, *cbb7 = nullptr, *cbb8 = nullptr;
  vcl::TButton *btn21 = nullptr, *btn10 = nullptr;
  // Details.
  vcl::TRadioGroup* rg2 = nullptr;
  vcl::TComboBox* cbb4 = nullptr;
  vcl::TEdit *edt20 = nullptr, *edt21 = nullptr;
  vcl::TMemo *mmoxijiebiaoti = nullptr, *mmoxijieshuoming = nullptr, *mmoxijietupian = nullptr;
  vcl::TImage* img1 = nullptr;
  vcl::TButton *btn11 = nullptr, *btn20 = nullptr;
  // Buyer notice.
  vcl::TEdit* edt22 = nullptr;
  vcl::TButton *btn22 = nullptr, *btn9 = nullptr;
  // Custom HTML.
  vcl::TMemo* mmo34 = nullptr;
  vcl::TButton *btn23 = nullptr, *btn13 = nullptr;

  // ---- Published methods (the description's event handlers) ----
  void FormCreate(vcl::TObject* Sender);
  void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);

  void rg1Click(vcl::TObject* Sender);
  void rgleixingClick(vcl::TObject* Sender);

  void btnguanlianClick(vcl::TObject* Sender);
  void btnfengetiaoClick(vcl::TObject* Sender);
  void btnyouhuiquanClick(vcl::TObject* Sender);
  void btndapeiClick(vcl::TObject* Sender);
  void btncanshuClick(vcl::TObject* Sender);
  void btnchimaClick(vcl::TObject* Sender);
  void btnzhanshiClick(vcl::TObject* Sender);
  void btnxijieClick(vcl::TObject* Sender);
  void btnyangshiClick(vcl::TObject* Sender);
  void btnjiaoliuClick(vcl::TObject* Sender);
  void btnzidingyiClick(vcl::TObject* Sender);

  void btntianjiaClick(vcl::TObject* Sender);
  void btnaddClick(vcl::TObject* Sender);
  void btn2Click(vcl::TObject* Sender);
  void btntiquClick(vcl::TObject* Sender);
  void N11Click(vcl::TObject* Sender);
  void N2Click(vcl::TObject* Sender);
  void N3Click(vcl::TObject* Sender);
  void N1Click(vcl::TObject* Sender);
  void N9Click(vcl::TObject* Sender);
  void pnl18Click(vcl::TObject* Sender);
  void tmr1Timer(vcl::TObject* Sender);
  void N4Click(vcl::TObject* Sender);
  void N5Click(vcl::TObject* Sender);
  void N7Click(vcl::TObject* Sender);
  void N8Click(vcl::TObject* Sender);

  // Generators (MainFormGenerators.cpp).
  void btn14Click(vcl::TObject* Sender);
  void btn15Click(vcl::TObject* Sender);
  void btn16Click(vcl::TObject* Sender);
  void btn7Click(vcl::TObject* Sender);
  void btn18Click(vcl::TObject* Sender);
  void btn19Click(vcl::TObject* Sender);
  void btn1Click(vcl::TObject* Sender);
  void btn21Click(vcl::TObject* Sender);
  void btn11Click(vcl::TObject* Sender);
  void btn22Click(vcl::TObject* Sender);
  void btn23Click(vcl::TObject* Sender);

  // Colour fields (MainFormColours.cpp).
  void edt1DblClick(vcl::TObject* Sender);
  void edt2DblClick(vcl::TObject* Sender);
  void edt4DblClick(vcl::TObject* Sender);
  void edt5DblClick(vcl::TObject* Sender);
  void edt6DblClick(vcl::TObject* Sender);
  void edt7DblClick(vcl::TObject* Sender);
  void edt8DblClick(vcl::TObject* Sender);
  void edt17DblClick(vcl::TObject* Sender);
  void edt18DblClick(vcl::TObject* Sender);
  void edt20DblClick(vcl::TObject* Sender);
  void edt21DblClick(vcl::TObject* Sender);
  void edt22DblClick(vcl::TObject* Sender);
  void edt23DblClick(vcl::TObject* Sender);
  void edt24DblClick(vcl::TObject* Sender);
  void edt28DblClick(vcl::TObject* Sender);
  void edtziseDblClick(vcl::TObject* Sender);
  void edtfengediseDblClick(vcl::TObject* Sender);
  void edtfengebiaotiDblClick(vcl::TObject* Sender);
  void edtfengexiaoziDblClick(vcl::TObject* Sender);
  void edtfengexianDblClick(vcl::TObject* Sender);

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  // The component of the description with this name and class; EComponentError when missing.
  template <class T>
  void Bind(T*& Field, const wchar_t* Name);
  void BindComponents();
  void BindEditorComponents();

  void ShowSection(vcl::TTabSheet* Sheet, vcl::TSpeedButton* Button);
  // Confirms with the user, then appends a row of the current section and the work memo.
  void AddSection(const vcl::String& Question, const vcl::String& Suffix);
  // The work memo's new contents; saved as the page and previewed unless told otherwise.
  void ShowPage(const vcl::String& Html, bool Preview = true);
  void SavePage(vcl::TStrings* Lines);
  void PreviewPage();
  void Inform(const vcl::String& Text);
  // The colour dialog for one colour field.
  void PickColour(vcl::TEdit* Field);

  vcl::TMemo* work_memo_ = nullptr;
  int countdown_ = kCountdownStart;
};

}  // namespace composer
