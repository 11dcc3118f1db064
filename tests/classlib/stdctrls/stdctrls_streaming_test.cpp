// Standard controls read from a form description: their published properties by the
// library's names (as the skin engines read them), events wired to the form's handlers, no
// clicks while loading, and the same description written back.
#include <gtest/gtest.h>

#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/streaming/Filer.h"
#include "classlib/rtl/TypInfo.h"
#include "stdctrls_support.h"

namespace vcl::testing {

class TStdCtrlsForm : public TForm {
  VCL_CLASS(TStdCtrlsForm, TForm)
 public:
  using TForm::TForm;

  int rgClicks = 0;
  int panelClicks = 0;
  int buttonClicks = 0;
  int speedClicks = 0;
  int editDblClicks = 0;
  int checkClicks = 0;

  void rg1Click(TObject*) { ++rgClicks; }
  void pnl18Click(TObject*) { ++panelClicks; }
  void btn2Click(TObject*) { ++buttonClicks; }
  void btnguanlianClick(TObject*) { ++speedClicks; }
  void edt1DblClick(TObject*) { ++editDblClicks; }
  void chk1Click(TObject*) { ++checkClicks; }
};

VCL_CLASS_INFO(TStdCtrlsForm) {
  VCL_METHOD(TStdCtrlsForm, rg1Click);
  VCL_METHOD(TStdCtrlsForm, pnl18Click);
  VCL_METHOD(TStdCtrlsForm, btn2Click);
  VCL_METHOD(TStdCtrlsForm, btnguanlianClick);
  VCL_METHOD(TStdCtrlsForm, edt1DblClick);
  VCL_METHOD(TStdCtrlsForm, chk1Click);
}

namespace {

constexpr std::string_view kForm = R"(object frmStd: TStdCtrlsForm
  Left = 0
  Top = 0
  Caption = 'stdctrls'
  ClientHeight = 400
  ClientWidth = 600
  Font.Height = -11
  Font.Name = 'Tahoma'
  object pnl2: TPanel
    Left = 0
    Top = 0
    Width = 142
    Height = 400
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 0
    object rg1: TRadioGroup
      Left = 0
      Top = 0
      Width = 142
      Height = 49
      Align = alTop
      Caption = '店铺类型'
      Columns = 2
      ItemIndex = 0
      Items.Strings = (
        '淘宝店'
        '天猫店')
      TabOrder = 0
      OnClick = rg1Click
    end
    object btnguanlian: TSpeedButton
      Left = 0
      Top = 49
      Width = 142
      Height = 41
      AllowAllUp = True
      GroupIndex = 1
      Down = True
      Caption = '关联销售'
      Flat = True
      Layout = blGlyphTop
      Margin = 3
      NumGlyphs = 2
      Spacing = 2
      OnClick = btnguanlianClick
    end
  end
  object spl1: TSplitter
    Left = 142
    Top = 0
    Height = 400
    Beveled = True
    MinSize = 50
    ResizeStyle = rsUpdate
  end
  object pnl18: TPanel
    Left = 300
    Top = 291
    Width = 33
    Height = 56
    BevelInner = bvRaised
    BevelOuter = bvLowered
    BorderWidth = 2
    Caption = '》'
    Color = clGradientActiveCaption
    Font.Color = clWhite
    Font.Height = -12
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    ParentFont = False
    Hint = '点击打开面板'
    ShowHint = True
    TabOrder = 1
    OnClick = pnl18Click
  end
  object lblzongkuan: TLabel
    Left = 200
    Top = 10
    Width = 18
    Height = 13
    Alignment = taRightJustify
    Caption = '750'
    Font.Color = clRed
    Font.Height = -11
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    ParentFont = False
    Layout = tlCenter
    Transparent = True
  end
  object edt1: TEdit
    Left = 200
    Top = 40
    Width = 121
    Height = 21
    AutoSelect = False
    CharCase = ecUpperCase
    Color = clYellow
    MaxLength = 7
    PasswordChar = '*'
    ReadOnly = True
    TabOrder = 2
    Text = '#F3F3F3'
    OnDblClick = edt1DblClick
  end
  object mmoone: TMemo
    Left = 200
    Top = 70
    Width = 185
    Height = 89
    Lines.Strings = (
      '披肩中老年蝙蝠外套|'
      '59.00|')
    ScrollBars = ssVertical
    TabOrder = 3
    WantReturns = False
    WordWrap = False
  end
  object cbb1: TComboBox
    Left = 200
    Top = 170
    Width = 145
    Height = 21
    DropDownCount = 12
    ItemHeight = 13
    ItemIndex = 2
    TabOrder = 4
    Text = '15'
    Items.Strings = (
      '12'
      '14'
      '15')
  end
  object chk1: TCheckBox
    Left = 200
    Top = 200
    Width = 97
    Height = 17
    AllowGrayed = True
    Caption = '选择'
    State = cbGrayed
    TabOrder = 5
    OnClick = chk1Click
  end
  object rb1: TRadioButton
    Left = 200
    Top = 220
    Width = 113
    Height = 17
    Caption = '单选'
    Checked = True
    TabOrder = 6
  end
  object btn2: TButton
    Left = 200
    Top = 250
    Width = 75
    Height = 25
    Caption = '汇总'
    Default = True
    ModalResult = 1
    TabOrder = 7
    OnClick = btn2Click
  end
  object grp1: TGroupBox
    Left = 400
    Top = 10
    Width = 185
    Height = 105
    Caption = '参数'
    TabOrder = 8
  end
  object img1: TImage
    Left = 400
    Top = 150
    Width = 105
    Height = 105
    AutoSize = True
    Center = True
    Proportional = True
    Stretch = True
    Visible = False
  end
end
)";

using StdFormPtr = Owned<TStdCtrlsForm>;

StdFormPtr ReadForm(std::string_view text) {
  StdFormPtr form(new TStdCtrlsForm(nullptr, 0));
  ReadComponentText(form.get(), text, L"stdctrls");
  return form;
}

TEST(StdCtrlsStreaming, PublishedPropertiesAreReadByTheLibrarysNames) {
  auto form = ReadForm(kForm);
  auto* rg1 = FindNamed<TRadioGroup>(form.get(), L"rg1");
  auto* sb = FindNamed<TSpeedButton>(form.get(), L"btnguanlian");
  auto* pnl18 = FindNamed<TPanel>(form.get(), L"pnl18");
  auto* label = FindNamed<TLabel>(form.get(), L"lblzongkuan");
  auto* edit = FindNamed<TEdit>(form.get(), L"edt1");
  auto* memo = FindNamed<TMemo>(form.get(), L"mmoone");
  auto* combo = FindNamed<TComboBox>(form.get(), L"cbb1");
  auto* check = FindNamed<TCheckBox>(form.get(), L"chk1");
  auto* radio = FindNamed<TRadioButton>(form.get(), L"rb1");
  auto* button = FindNamed<TButton>(form.get(), L"btn2");
  auto* splitter = FindNamed<TSplitter>(form.get(), L"spl1");
  auto* image = FindNamed<TImage>(form.get(), L"img1");
  ASSERT_TRUE(rg1 && sb && pnl18 && label && edit && memo && combo && check && radio && button && splitter && image);

  // The radio group's index came before its items; nothing clicked while loading.
  EXPECT_EQ(rg1->ItemIndex(), 0);
  ASSERT_EQ(rg1->ButtonCount(), 2);
  EXPECT_TRUE(rg1->Buttons(0)->Checked());
  EXPECT_EQ(GetOrdProp(rg1, L"Columns"), 2);
  EXPECT_EQ(form->rgClicks, 0);
  EXPECT_EQ(form->checkClicks, 0);

  // As the skin engines read them: by name, enumerations by identifier.
  EXPECT_EQ(GetEnumProp(sb, L"Layout"), L"blGlyphTop");
  EXPECT_EQ(GetEnumProp(sb, L"Flat"), L"True");
  EXPECT_EQ(GetEnumProp(sb, L"Down"), L"True");
  EXPECT_EQ(GetOrdProp(sb, L"NumGlyphs"), 2);
  EXPECT_EQ(GetOrdProp(sb, L"Margin"), 3);
  EXPECT_EQ(GetOrdProp(sb, L"Spacing"), 2);
  EXPECT_EQ(GetOrdProp(sb, L"GroupIndex"), 1);
  EXPECT_NE(dynamic_cast<TBitmap*>(GetObjectProp(sb, L"Glyph")), nullptr);
  EXPECT_EQ(GetStrProp(sb, L"Caption"), L"关联销售");

  EXPECT_EQ(GetEnumProp(pnl18, L"BevelInner"), L"bvRaised");
  EXPECT_EQ(GetEnumProp(pnl18, L"BevelOuter"), L"bvLowered");
  EXPECT_EQ(GetOrdProp(pnl18, L"BorderWidth"), 2);
  EXPECT_EQ(GetEnumProp(pnl18, L"Alignment"), L"taCenter");
  EXPECT_EQ(pnl18->Color(), clGradientActiveCaption);
  EXPECT_EQ(pnl18->Font()->Color(), clWhite);
  EXPECT_EQ(pnl18->Caption(), L"》");
  EXPECT_TRUE(pnl18->ShowHint());
  EXPECT_EQ(pnl18->Hint(), L"点击打开面板");

  EXPECT_EQ(GetEnumProp(label, L"Alignment"), L"taRightJustify");
  EXPECT_EQ(GetEnumProp(label, L"Layout"), L"tlCenter");
  EXPECT_EQ(GetEnumProp(label, L"Transparent"), L"True");
  EXPECT_EQ(label->Font()->Color(), clRed);
  EXPECT_TRUE(label->Font()->Style().Contains(fsBold));

  EXPECT_EQ(edit->Text(), L"#F3F3F3");
  EXPECT_EQ(edit->PasswordChar(), L'*');
  EXPECT_EQ(GetEnumProp(edit, L"CharCase"), L"ecUpperCase");
  EXPECT_EQ(edit->Color(), clYellow);
  EXPECT_TRUE(edit->ReadOnly());
  EXPECT_FALSE(edit->AutoSelect());

  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(memo->Lines()->Strings(0), L"披肩中老年蝙蝠外套|");
  EXPECT_EQ(GetEnumProp(memo, L"ScrollBars"), L"ssVertical");
  EXPECT_FALSE(memo->WordWrap());
  EXPECT_FALSE(memo->WantReturns());

  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), L"15");
  EXPECT_EQ(combo->DropDownCount(), 12);

  EXPECT_EQ(GetEnumProp(check, L"State"), L"cbGrayed");
  EXPECT_EQ(GetEnumProp(check, L"Checked"), L"False");
  EXPECT_TRUE(radio->Checked());
  EXPECT_EQ(GetEnumProp(button, L"Default"), L"True");
  EXPECT_EQ(button->ModalResult(), mrOk);
  EXPECT_EQ(splitter->MinSize(), 50);
  EXPECT_EQ(GetEnumProp(splitter, L"ResizeStyle"), L"rsUpdate");
  EXPECT_TRUE(image->AutoSize() && image->Stretch() && image->Center() && image->Proportional());
  EXPECT_FALSE(image->Visible());

  // On screen, the events reach the form's handlers.
  form->Show();
  SendMessageW(rg1->Buttons(1)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->rgClicks, 1);
  EXPECT_EQ(rg1->ItemIndex(), 1);
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->buttonClicks, 1);
  HWND editWnd = edit->Handle();
  SendMessageW(editWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(2, 2));
  SendMessageW(editWnd, WM_LBUTTONUP, 0, PointToLParam(2, 2));
  EXPECT_EQ(form->editDblClicks, 1);
  pnl18->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
  pnl18->Perform(WM_LBUTTONUP, 0, PointToLParam(3, 3));
  EXPECT_EQ(form->panelClicks, 1);
  const TPoint sbAt{sb->Left() + 5, sb->Top() + 5};
  ClickAt(FindNamed<TPanel>(form.get(), L"pnl2")->Handle(), sbAt.X, sbAt.Y);
  EXPECT_EQ(form->speedClicks, 1);
  EXPECT_EQ(WindowClassOf(memo->Handle()), L"TMemo");
  EXPECT_EQ(memo->Lines()->Strings(1), L"59.00|");
}

TEST(StdCtrlsStreaming, WrittenBackAndReadAgainTheSame) {
  auto form = ReadForm(kForm);
  const std::string text = WriteComponentText(form.get());
  EXPECT_NE(text.find("PasswordChar = '*'"), std::string::npos);
  EXPECT_NE(text.find("State = cbGrayed"), std::string::npos);
  EXPECT_NE(text.find("ItemIndex = 0"), std::string::npos);
  // Defaults are not written.
  EXPECT_EQ(text.find("FullRepaint"), std::string::npos);
  EXPECT_EQ(text.find("ShowAccelChar"), std::string::npos);
  EXPECT_EQ(text.find("WantTabs"), std::string::npos);
  form.reset();
  auto again = ReadForm(text);
  EXPECT_EQ(FindNamed<TEdit>(again.get(), L"edt1")->Text(), L"#F3F3F3");
  EXPECT_EQ(FindNamed<TMemo>(again.get(), L"mmoone")->Lines()->Count(), 2);
  EXPECT_EQ(FindNamed<TRadioGroup>(again.get(), L"rg1")->Items()->Strings(1), L"天猫店");
  EXPECT_EQ(FindNamed<TComboBox>(again.get(), L"cbb1")->ItemIndex(), 2);
  EXPECT_EQ(FindNamed<TSpeedButton>(again.get(), L"btnguanlian")->Layout(), blGlyphTop);
  EXPECT_EQ(FindNamed<TPanel>(again.get(), L"pnl18")->BevelInner(), bvRaised);
  EXPECT_EQ(again->rgClicks, 0);
}

}  // namespace
}  // namespace vcl::testing
