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
  void lv1SelectItem(TObject*, TListItem*, bool) { ++selections; }
  void lv1DblClick(TObject*) {}
  void pgcInnerChange(TObject*) {}
};
VCL_CLASS_INFO(TComCtrlsTestForm) {
  VCL_METHOD(TComCtrlsTestForm, lv1SelectItem);
  VCL_METHOD(TComCtrlsTestForm, lv1DblClick);
  VCL_METHOD(TComCtrlsTestForm, pgcInnerChange);
}

namespace {

constexpr std::string_view kDescription = R"(object frmTest: TComCtrlsTestForm
  ClientHeight = 600
  ClientWidth = 800
  object pgc1: TPageControl
    Height = 536
    ActivePage = tsyouhuiquan
    Align = alTop
    object tsguanlian: TTabSheet
      TabVisible = False
    end
    object tsyouhuiquan: TTabSheet
      ImageIndex = 2
      TabVisible = False
      object pgcInner: TPageControl
        ActivePage = tsInner2
        TabPosition = tpBottom
        OnChange = pgcInnerChange
        object tsInner1: TTabSheet
        end
        object tsInner2: TTabSheet
        end
      end
    end
  end
  object lv1: TListView
    Columns = <
      item
        Caption = '编号'
      end
      item
        Caption = '版块名'
        Width = 160
      end
      item
        Alignment = taRightJustify
      end>
    GridLines = True
    PopupMenu = pm1
    ViewStyle = vsReport
    OnDblClick = lv1DblClick
    OnSelectItem = lv1SelectItem
  end
  object wb1: TWebBrowser
    Top = 540
    Width = 300
    Height = 50
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
  EXPECT_EQ(lv->Columns()->Items(1)->Width(), 160);
  EXPECT_EQ(pc->ActivePage()->Name(), L"tsyouhuiquan");
}

TEST(ComCtrlsStreaming, AnUnknownViewStyleFailsCleanly) {
  std::string text(kDescription);
  text.replace(text.find("vsReport"), 8, "vsDetails");
  EXPECT_THROW(ReadForm<TComCtrlsTestForm>(text), EReadError);
}

}  // namespace
}  // namespace vcl::testing
