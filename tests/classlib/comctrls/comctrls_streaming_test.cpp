// The composer's list view, page controls and browser read from a form description: classes
// found by name, published properties set, references and events wired, and written back.
#include <gtest/gtest.h>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/ole/SHDocVw.h"
#include "comctrls_support.h"

namespace vcl::testing {

// Stands in for a popup menu: any component can be a control's PopupMenu.
class TTestMenu : public TComponent {
  VCL_CLASS(TTestMenu, TComponent)
 public:
  using TComponent::TComponent;
};
VCL_CLASS_INFO(TTestMenu) {}

class TComCtrlsTestForm : public TForm {
  VCL_CLASS(TComCtrlsTestForm, TForm)
 public:
  using TForm::TForm;

  int selections = 0;
  int double_clicks = 0;
  int inner_changes = 0;
  void lv1SelectItem(TObject*, TListItem*, bool) { ++selections; }
  void lv1DblClick(TObject*) { ++double_clicks; }
  void pgcInnerChange(TObject*) { ++inner_changes; }
};
VCL_CLASS_INFO(TComCtrlsTestForm) {
  VCL_METHOD(TComCtrlsTestForm, lv1SelectItem);
  VCL_METHOD(TComCtrlsTestForm, lv1DblClick);
  VCL_METHOD(TComCtrlsTestForm, pgcInnerChange);
}

namespace {

constexpr std::string_view kDescription = R"(object frmTest: TComCtrlsTestForm
  Left = 0
  Top = 0
  Caption = 'composer'
  ClientHeight = 600
  ClientWidth = 800
  object pgc1: TPageControl
    Left = 0
    Top = 35
    Width = 287
    Height = 536
    ActivePage = tsyouhuiquan
    Align = alTop
    object tsguanlian: TTabSheet
      Caption = '关联销售'
      TabVisible = False
    end
    object tsyouhuiquan: TTabSheet
      Caption = '优惠券'
      ImageIndex = 2
      TabVisible = False
      object pgcInner: TPageControl
        Left = 8
        Top = 122
        Width = 267
        Height = 362
        ActivePage = tsInner2
        TabPosition = tpBottom
        OnChange = pgcInnerChange
        object tsInner1: TTabSheet
          Caption = '图片列表'
        end
        object tsInner2: TTabSheet
          Caption = '链接地址'
        end
      end
    end
  end
  object lv1: TListView
    Left = 300
    Top = 24
    Width = 279
    Height = 261
    Columns = <
      item
        Caption = '编号'
        Width = 40
      end
      item
        Caption = '版块名'
        Width = 160
      end
      item
        Alignment = taRightJustify
        Caption = '代码'
        Width = 40
      end>
    GridLines = True
    ReadOnly = True
    RowSelect = True
    PopupMenu = pm1
    ViewStyle = vsReport
    OnDblClick = lv1DblClick
    OnSelectItem = lv1SelectItem
  end
  object wb1: TWebBrowser
    Left = 300
    Top = 300
    Width = 300
    Height = 200
    TabStop = False
  end
  object pm1: TTestMenu
  end
end
)";

TEST(ComCtrlsStreaming, TheComposersControlsAreReadShownWrittenBackAndReadAgain) {
  TTestMenu::StaticClass();
  auto form = ReadForm<TComCtrlsTestForm>(kDescription);
  auto* pgc1 = FindNamed<TPageControl>(form.get(), L"pgc1");
  auto* inner = FindNamed<TPageControl>(form.get(), L"pgcInner");
  auto* lv1 = FindNamed<TListView>(form.get(), L"lv1");
  auto* wb1 = FindNamed<TWebBrowser>(form.get(), L"wb1");
  ASSERT_TRUE(pgc1 && inner && lv1 && wb1);
  ASSERT_EQ(pgc1->PageCount(), 2);
  EXPECT_EQ(pgc1->ActivePage(), FindNamed<TTabSheet>(form.get(), L"tsyouhuiquan"));
  EXPECT_EQ(pgc1->Pages(1)->ImageIndex(), 2);
  EXPECT_EQ(inner->Parent(), pgc1->Pages(1));
  EXPECT_EQ(inner->ActivePage()->Name(), L"tsInner2");
  EXPECT_EQ(inner->OnChange, TNotifyEvent::Bind<&TComCtrlsTestForm::pgcInnerChange>(form.get()));
  EXPECT_EQ(lv1->PopupMenu(), form->FindComponent(L"pm1"));
  ASSERT_EQ(lv1->Columns()->Count(), 3);
  EXPECT_EQ(lv1->Columns()->Items(2)->Alignment(), taRightJustify);
  EXPECT_EQ(lv1->OnDblClick, TNotifyEvent::Bind<&TComCtrlsTestForm::lv1DblClick>(form.get()));

  // On screen: the hidden-tab page control shows its active sheet, the list its columns.
  form->Show();
  EXPECT_EQ(TabCountOf(pgc1->Handle()), 0);
  EXPECT_TRUE(IsWindowVisible(pgc1->Pages(1)->Handle()));
  EXPECT_FALSE(IsWindowVisible(pgc1->Pages(0)->Handle()));
  EXPECT_EQ(pgc1->Pages(1)->BoundsRect(), Rect(0, 0, 800, 536));  // aligned to the top of the form
  EXPECT_NE(StyleOf(inner->Handle()) & TCS_BOTTOM, 0);
  EXPECT_EQ(TabCountOf(inner->Handle()), 2);
  EXPECT_NE(SendMessageW(lv1->Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES, 0);
  EXPECT_EQ(ColumnText(lv1->Handle(), 1), L"版块名");
  EXPECT_TRUE(wb1->BrowserActive());
  lv1->Items()->Add()->SetCaption(L"1");
  lv1->SetItemIndex(0);
  EXPECT_EQ(form->selections, 1);

  const std::string text = WriteComponentText(form.get());
  for (const char* part : {"ActivePage = tsyouhuiquan", "TabVisible = False", "ViewStyle = vsReport",
                           "Alignment = taRightJustify", "OnSelectItem = lv1SelectItem", "PopupMenu = pm1"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  EXPECT_EQ(text.find("TabIndex"), std::string::npos);  // follows ActivePage
  EXPECT_EQ(text.find("MultiSelect"), std::string::npos);  // at its default
  form.reset();
  auto copy = ReadForm<TComCtrlsTestForm>(text);
  auto* lv = FindNamed<TListView>(copy.get(), L"lv1");
  auto* pc = FindNamed<TPageControl>(copy.get(), L"pgc1");
  ASSERT_TRUE(lv && pc);
  EXPECT_EQ(lv->Columns()->Items(0)->Caption(), L"编号");
  EXPECT_EQ(pc->ActivePage()->Name(), L"tsyouhuiquan");
}

TEST(ComCtrlsStreaming, AnUnknownViewStyleFailsCleanly) {
  std::string text(kDescription);
  text.replace(text.find("vsReport"), 8, "vsDetails");
  EXPECT_THROW(ReadForm<TComCtrlsTestForm>(text), EReadError);
}

}  // namespace
}  // namespace vcl::testing
