// The second set of controls read from a form description: properties by the library's names
// (as the skin engines read them), events wired to the form's methods, references between
// components, and the same description written back.
#include <gtest/gtest.h>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/extctrls/MediaPlayer.h"
#include "classlib/extctrls/TabSet.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/TypInfo.h"
#include "classlib/stdctrls/CheckListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StaticText.h"
#include "classlib/stdctrls/stdctrls_support.h"
#include "classlib/streaming/Filer.h"

namespace vcl::testing {

class TSecondSetForm : public TForm {
  VCL_CLASS(TSecondSetForm, TForm)
 public:
  using TForm::TForm;
  int drawn = 0;
  int measured = 0;
  int barChanges = 0;
  int playerClicks = 0;
  void lbDraw(TWinControl*, int, TRect, TOwnerDrawState) { ++drawn; }
  void cbMeasure(TWinControl*, int, int& Height) {
    ++measured;
    Height = 30;
  }
  void sbChange(TObject*) { ++barChanges; }
  void mpClick(TObject*, TMPBtnType, bool&) { ++playerClicks; }
};

VCL_CLASS_INFO(TSecondSetForm) {
  VCL_METHOD(TSecondSetForm, lbDraw);
  VCL_METHOD(TSecondSetForm, cbMeasure);
  VCL_METHOD(TSecondSetForm, sbChange);
  VCL_METHOD(TSecondSetForm, mpClick);
}

namespace {

constexpr std::string_view kForm = R"(object frmSecond: TSecondSetForm
  Caption = 'second'
  ClientHeight = 400
  ClientWidth = 600
  Menu = mm1
  WindowMenu = mniWindow
  object lb1: TListBox
    Left = 8
    Top = 8
    Width = 120
    Height = 80
    ItemHeight = 18
    ItemIndex = 1
    Items.Strings = (
      '一'
      '二')
    Style = lbOwnerDrawFixed
    OnDrawItem = lbDraw
  end
  object clb1: TCheckListBox
    Left = 8
    Top = 100
    Width = 120
    Height = 60
    AllowGrayed = True
    Items.Strings = (
      'a'
      'b')
  end
  object sb1: TScrollBar
    Left = 140
    Top = 8
    Width = 17
    Height = 150
    Kind = sbVertical
    Max = 200
    Min = 10
    PageSize = 20
    Position = 50
    OnChange = sbChange
  end
  object st1: TStaticText
    Left = 170
    Top = 8
    AutoSize = False
    BorderStyle = sbsSunken
    Caption = '&List'
    FocusControl = lb1
  end
  object cb1: TComboBox
    Left = 170
    Top = 40
    Width = 145
    Height = 21
    ItemHeight = 20
    Style = csOwnerDrawVariable
    OnMeasureItem = cbMeasure
    Items.Strings = (
      'x'
      'y')
  end
  object bb1: TBitBtn
    Left = 170
    Top = 80
    Width = 90
    Height = 30
    Kind = bkCancel
  end
  object ts1: TTabSet
    Left = 8
    Top = 200
    Width = 300
    Height = 21
    Tabs.Strings = (
      'p'
      'q'
      'r')
    TabIndex = 1
  end
  object mp1: TMediaPlayer
    Left = 8
    Top = 240
    Width = 120
    Height = 30
    ColoredButtons = []
    VisibleButtons = [btPlay, btStop]
    OnClick = mpClick
  end
  object box1: TScrollBox
    Left = 320
    Top = 200
    Width = 150
    Height = 100
    HorzScrollBar.Increment = 16
    object lbl1: TLabel
      Left = 10
      Top = 300
      Caption = 'deep'
    end
  end
  object tc1: TTabControl
    Left = 320
    Top = 8
    Width = 200
    Height = 120
    Tabs.Strings = (
      't1'
      't2')
  end
  object mm1: TMainMenu
    AutoMerge = True
    object mniWindow: TMenuItem
      Caption = '&Window'
      GroupIndex = 5
    end
  end
end
)";

using SecondFormPtr = Owned<TSecondSetForm>;

SecondFormPtr ReadForm(std::string_view text) {
  TMediaPlayer::StaticClass();
  TTabSet::StaticClass();
  SecondFormPtr form(new TSecondSetForm(nullptr, 0));
  ReadComponentText(form.get(), text, L"second");
  return form;
}

TEST(SecondSetStreaming, PropertiesEventsAndReferencesAreReadByName) {
  auto form = ReadForm(kForm);
  auto* lb = FindNamed<TListBox>(form.get(), L"lb1");
  auto* clb = FindNamed<TCheckListBox>(form.get(), L"clb1");
  auto* sb = FindNamed<TScrollBar>(form.get(), L"sb1");
  auto* st = FindNamed<TStaticText>(form.get(), L"st1");
  auto* cb = FindNamed<TComboBox>(form.get(), L"cb1");
  auto* bb = FindNamed<TBitBtn>(form.get(), L"bb1");
  auto* ts = FindNamed<TTabSet>(form.get(), L"ts1");
  auto* mp = FindNamed<TMediaPlayer>(form.get(), L"mp1");
  auto* box = FindNamed<TScrollBox>(form.get(), L"box1");
  auto* tc = FindNamed<TTabControl>(form.get(), L"tc1");
  auto* mm = FindNamed<TMainMenu>(form.get(), L"mm1");
  ASSERT_TRUE(lb && clb && sb && st && cb && bb && ts && mp && box && tc && mm);

  EXPECT_EQ(GetEnumProp(lb, L"Style"), L"lbOwnerDrawFixed");
  EXPECT_EQ(lb->ItemIndex(), 1);
  EXPECT_TRUE(clb->AllowGrayed());
  EXPECT_FALSE(clb->Checked(1));
  // The range and the position met only when the description was read.
  EXPECT_EQ(sb->Position(), 50);
  EXPECT_EQ(sb->Min(), 10);
  EXPECT_EQ(GetOrdProp(sb, L"PageSize"), 20);
  EXPECT_EQ(form->barChanges, 0);
  EXPECT_EQ(GetEnumProp(st, L"BorderStyle"), L"sbsSunken");
  EXPECT_EQ(st->FocusControl(), lb);
  // What the layered engine chooses the static text's section by.
  EXPECT_EQ(GetEnumProp(st, L"BevelKind"), L"bkNone");
  EXPECT_EQ(GetEnumProp(st, L"BevelOuter"), L"bvLowered");
  EXPECT_EQ(GetEnumProp(cb, L"Style"), L"csOwnerDrawVariable");
  EXPECT_EQ(bb->Kind(), bkCancel);
  EXPECT_EQ(bb->Caption(), L"Cancel");
  EXPECT_TRUE(bb->Cancel());
  EXPECT_EQ(ts->TabIndex(), 1);
  EXPECT_EQ(GetSetProp(mp, L"VisibleButtons", true), L"[btPlay,btStop]");
  EXPECT_EQ(GetSetProp(mp, L"ColoredButtons", true), L"[]");
  EXPECT_EQ(GetSetProp(mp, L"EnabledButtons", true),
            L"[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]");
  EXPECT_EQ(box->HorzScrollBar()->Increment(), 16);
  EXPECT_EQ(box->VertScrollBar()->Range(), 300 + FindNamed<TLabel>(form.get(), L"lbl1")->Height());
  EXPECT_EQ(tc->TabCount(), 2);
  EXPECT_EQ(form->WindowMenu(), FindNamed<TMenuItem>(form.get(), L"mniWindow"));

  // On screen, the events reach the form's handlers.
  form->Show();
  EXPECT_GT(form->measured, 0);
  EXPECT_EQ(SendMessageW(cb->Handle(), CB_GETITEMHEIGHT, 0, 0), 30);
  UpdateWindow(lb->Handle());
  EXPECT_GT(form->drawn, 0);
  SendMessageW(form->Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(sb->Handle()));
  EXPECT_EQ(sb->Position(), 51);
  EXPECT_EQ(form->barChanges, 1);
  mp->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
  mp->Perform(WM_LBUTTONUP, 0, PointToLParam(5, 5));
  EXPECT_EQ(form->playerClicks, 1);
  // A merging menu gives the form no bar of its own.
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST(SecondSetStreaming, WrittenBackAndReadAgainTheSame) {
  auto form = ReadForm(kForm);
  const std::string text = WriteComponentText(form.get());
  // A kind's caption and glyph are the kind's, not stored.
  EXPECT_NE(text.find("Kind = bkCancel"), std::string::npos);
  EXPECT_EQ(text.find("Caption = 'Cancel'"), std::string::npos);
  EXPECT_EQ(text.find("Glyph.Data"), std::string::npos);
  EXPECT_NE(text.find("VisibleButtons = [btPlay, btStop]"), std::string::npos);
  // With AutoScroll the range follows the children and is not stored.
  EXPECT_EQ(text.find("VertScrollBar.Range"), std::string::npos);
  EXPECT_NE(text.find("HorzScrollBar.Increment = 16"), std::string::npos);
  form.reset();
  auto again = ReadForm(text);
  EXPECT_EQ(FindNamed<TScrollBar>(again.get(), L"sb1")->Position(), 50);
  EXPECT_EQ(FindNamed<TTabSet>(again.get(), L"ts1")->Tabs()->Strings(2), L"r");
  EXPECT_EQ(FindNamed<TStaticText>(again.get(), L"st1")->FocusControl(), FindNamed<TListBox>(again.get(), L"lb1"));
  EXPECT_EQ(FindNamed<TBitBtn>(again.get(), L"bb1")->Caption(), L"Cancel");
  EXPECT_EQ(FindNamed<TTabControl>(again.get(), L"tc1")->Tabs()->Strings(1), L"t2");
}

}  // namespace
}  // namespace vcl::testing
