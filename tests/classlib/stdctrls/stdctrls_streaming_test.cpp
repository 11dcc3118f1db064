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
  int buttonClicks = 0;
  int checkClicks = 0;

  void rg1Click(TObject*) { ++rgClicks; }
  void btn2Click(TObject*) { ++buttonClicks; }
  void chk1Click(TObject*) { ++checkClicks; }
};

VCL_CLASS_INFO(TStdCtrlsForm) {
  VCL_METHOD(TStdCtrlsForm, rg1Click);
  VCL_METHOD(TStdCtrlsForm, btn2Click);
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
    Width = 142
    Height = 400
    Align = alLeft
    BevelOuter = bvNone
    object rg1: TRadioGroup
      Width = 142
      Height = 49
      Align = alTop
      Caption = '店铺类型'
      Columns = 2
      ItemIndex = 0
      Items.Strings = (
        '淘宝店'
        '天猫店')
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
      NumGlyphs = 2
    end
  end
  object pnl18: TPanel
    Left = 300
    Top = 291
    Width = 33
    Height = 56
    BevelInner = bvRaised
    BevelOuter = bvLowered
    Caption = '》'
    Color = clGradientActiveCaption
    Font.Color = clWhite
    Font.Style = [fsBold]
    ParentFont = False
  end
  object edt1: TEdit
    Left = 200
    Top = 40
    Width = 121
    Height = 21
    CharCase = ecUpperCase
    PasswordChar = '*'
    ReadOnly = True
    Text = '#F3F3F3'
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
    WantReturns = False
    WordWrap = False
  end
  object cbb1: TComboBox
    Left = 200
    Top = 170
    Width = 145
    Height = 21
    ItemIndex = 2
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
    OnClick = chk1Click
  end
  object btn2: TButton
    Left = 200
    Top = 250
    Width = 75
    Height = 25
    Caption = '汇总'
    Default = True
    ModalResult = 1
    OnClick = btn2Click
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
  auto* edit = FindNamed<TEdit>(form.get(), L"edt1");
  auto* memo = FindNamed<TMemo>(form.get(), L"mmoone");
  auto* combo = FindNamed<TComboBox>(form.get(), L"cbb1");
  auto* check = FindNamed<TCheckBox>(form.get(), L"chk1");
  auto* button = FindNamed<TButton>(form.get(), L"btn2");
  ASSERT_TRUE(rg1 && sb && pnl18 && edit && memo && combo && check && button);

  // Indexes came before their items; nothing clicked while loading.
  EXPECT_EQ(rg1->ItemIndex(), 0);
  ASSERT_EQ(rg1->ButtonCount(), 2);
  EXPECT_TRUE(rg1->Buttons(0)->Checked());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), L"15");
  EXPECT_EQ(GetEnumProp(check, L"State"), L"cbGrayed");
  EXPECT_EQ(form->rgClicks, 0);
  EXPECT_EQ(form->checkClicks, 0);

  // As the skin engines read them: by name, enumerations by identifier.
  EXPECT_EQ(GetEnumProp(sb, L"Layout"), L"blGlyphTop");
  EXPECT_EQ(GetEnumProp(sb, L"Down"), L"True");
  EXPECT_EQ(GetOrdProp(sb, L"NumGlyphs"), 2);
  EXPECT_NE(dynamic_cast<TBitmap*>(GetObjectProp(sb, L"Glyph")), nullptr);
  EXPECT_EQ(GetEnumProp(pnl18, L"BevelInner"), L"bvRaised");
  EXPECT_EQ(GetEnumProp(pnl18, L"Alignment"), L"taCenter");
  EXPECT_EQ(pnl18->Font()->Color(), clWhite);
  EXPECT_TRUE(pnl18->Font()->Style().Contains(fsBold));
  EXPECT_EQ(edit->PasswordChar(), L'*');
  EXPECT_EQ(GetEnumProp(edit, L"CharCase"), L"ecUpperCase");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(GetEnumProp(memo, L"ScrollBars"), L"ssVertical");
  EXPECT_FALSE(memo->WordWrap());
  EXPECT_EQ(button->ModalResult(), mrOk);

  // On screen, the events reach the form's handlers.
  form->Show();
  SendMessageW(rg1->Buttons(1)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->rgClicks, 1);
  EXPECT_EQ(rg1->ItemIndex(), 1);
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->buttonClicks, 1);
}

TEST(StdCtrlsStreaming, WrittenBackAndReadAgainTheSame) {
  auto form = ReadForm(kForm);
  const std::string text = WriteComponentText(form.get());
  EXPECT_NE(text.find("PasswordChar = '*'"), std::string::npos);
  EXPECT_NE(text.find("State = cbGrayed"), std::string::npos);
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
  EXPECT_EQ(again->rgClicks, 0);
}

}  // namespace
}  // namespace vcl::testing
