// The common controls read from one form description into their windows, written back and read again.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {

class TCommonControlsForm : public TForm {
  VCL_CLASS(TCommonControlsForm, TForm)
 public:
  using TForm::TForm;
  void btnSaveClick(TObject*) {}
  void tvCustomDrawItem(TCustomTreeView*, TTreeNode*, TCustomDrawState, bool&) {}
};

VCL_CLASS_INFO(TCommonControlsForm) {
  VCL_METHOD(TCommonControlsForm, btnSaveClick);
  VCL_METHOD(TCommonControlsForm, tvCustomDrawItem);
}

namespace {

constexpr std::string_view kForm = R"(object frmCommon: TCommonControlsForm
  ClientHeight = 600
  ClientWidth = 800
  object il1: TImageList
  end
  object tb1: TToolBar
    Flat = True
    Images = il1
    object btnBold: TToolButton
      Left = 54
      Down = True
      Style = tbsCheck
    end
    object btnSave: TToolButton
      Left = 0
      ImageIndex = 0
      OnClick = btnSaveClick
    end
    object sep1: TToolButton
      Left = 46
      Width = 8
      Style = tbsSeparator
    end
  end
  object sb1: TStatusBar
    Panels = <
      item
        Text = '淘宝'
        Width = 120
      end
      item
        Bevel = pbRaised
        Style = psOwnerDraw
        Width = 80
      end
      item
        Text = '750'
        Width = 50
      end>
    SimpleText = '就绪'
    SizeGrip = False
  end
  object hdr1: THeaderControl
    Sections = <
      item
        Text = '日期'
        Width = 120
      end
      item
        Alignment = taRightJustify
        Text = '数量'
        Width = 60
      end>
    Style = hsFlat
  end
  object edtWidth: TEdit
  end
  object udWidth: TUpDown
    Associate = edtWidth
    Min = 100
    Max = 1500
    Position = 750
    Thousands = False
  end
  object tbQuality: TTrackBar
    Max = 100
    Position = 85
    TickMarks = tmBoth
  end
  object dtpStart: TDateTimePicker
    Date = 45000.000000000000000000
    Time = 0.500000000000000000
    MaxDate = 46000.000000000000000000
    ShowCheckbox = True
    Checked = False
  end
  object tv1: TTreeView
    Indent = 25
    ReadOnly = True
    ShowRoot = False
    OnCustomDrawItem = tvCustomDrawItem
  end
  object sg1: TStringGrid
    Left = 430
    Top = 60
    Width = 360
    Height = 200
    ColCount = 3
    DefaultColWidth = 100
    DefaultRowHeight = 20
    FixedColor = clInfoBk
    FixedCols = 0
    RowCount = 12
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSelect]
    ScrollBars = ssVertical
  end
  object re1: TRichEdit
    Lines.Strings = (
      '<p>'#23453#36125'</p>'
      'second')
    ReadOnly = True
    WordWrap = False
  end
  object tc1: TTabControl
    TabIndex = 1
    TabPosition = tpBottom
    Tabs.Strings = (
      'a'
      'b')
  end
end
)";

std::vector<int> StatusParts(HWND bar) {
  int edges[8] = {};
  const auto n = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
  return std::vector<int>(edges, edges + n);
}

TEST(CommonControlsDescription, EachControlIsReadIntoItsWindowWrittenBackAndReadAgain) {
  auto form = ReadForm<TCommonControlsForm>(kForm);
  auto* bar = FindNamed<TToolBar>(form.get(), L"tb1");
  auto* sb = FindNamed<TStatusBar>(form.get(), L"sb1");
  auto* hdr = FindNamed<THeaderControl>(form.get(), L"hdr1");
  auto* edit = FindNamed<TEdit>(form.get(), L"edtWidth");
  auto* ud = FindNamed<TUpDown>(form.get(), L"udWidth");
  auto* track = FindNamed<TTrackBar>(form.get(), L"tbQuality");
  auto* dtp = FindNamed<TDateTimePicker>(form.get(), L"dtpStart");
  auto* tv = FindNamed<TTreeView>(form.get(), L"tv1");
  auto* sg = FindNamed<TStringGrid>(form.get(), L"sg1");
  auto* re = FindNamed<TRichEdit>(form.get(), L"re1");
  auto* tc = FindNamed<TTabControl>(form.get(), L"tc1");
  ASSERT_TRUE(bar && sb && hdr && edit && ud && track && dtp && tv && sg && re && tc);
  // Buttons in the order of their Left; references resolved; an index read before its tabs.
  ASSERT_EQ(bar->ButtonCount(), 3);
  EXPECT_EQ(bar->Buttons(0)->Name(), L"btnSave");
  EXPECT_EQ(bar->Buttons(2)->Name(), L"btnBold");
  EXPECT_EQ(bar->Buttons(0)->OnClick, TNotifyEvent::Bind<&TCommonControlsForm::btnSaveClick>(form.get()));
  EXPECT_EQ(bar->Images(), form->FindComponent(L"il1"));
  EXPECT_EQ(ud->Associate(), edit);
  EXPECT_EQ(sb->Panels()->Items(1)->StatusBar(), sb);
  EXPECT_DOUBLE_EQ(dtp->DateTime(), 45000.5);
  EXPECT_EQ(tc->TabIndex(), 1);

  form->Show();
  HWND wnd = bar->Handle();
  TBBUTTON bold{};
  SendMessageW(wnd, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&bold));
  EXPECT_EQ(reinterpret_cast<TToolButton*>(bold.dwData), bar->Buttons(2));
  EXPECT_NE(bold.fsState & TBSTATE_CHECKED, 0);
  EXPECT_NE(StyleOf(wnd) & TBSTYLE_FLAT, 0);
  EXPECT_EQ(StatusParts(sb->Handle()), (std::vector<int>{120, 200, -1}));
  EXPECT_EQ(StyleOf(sb->Handle()) & SBARS_SIZEGRIP, 0);
  EXPECT_EQ(sb->BoundsRect(), Rect(0, 581, 800, 600));
  EXPECT_EQ(SendMessageW(hdr->Handle(), HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_NE(StyleOf(hdr->Handle()) & HDS_FLAT, 0);
  EXPECT_EQ(edit->Text(), L"750");
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(ud->Handle(), UDM_GETBUDDY, 0, 0)), edit->Handle());
  EXPECT_EQ(SendMessageW(track->Handle(), TBM_GETPOS, 0, 0), 85);
  EXPECT_NE(StyleOf(track->Handle()) & TBS_BOTH, 0);
  SYSTEMTIME st{};
  EXPECT_EQ(SendMessageW(dtp->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_NONE);
  EXPECT_EQ(SendMessageW(tv->Handle(), TVM_GETINDENT, 0, 0), 25);
  EXPECT_EQ(StyleOf(tv->Handle()) & (TVS_LINESATROOT | TVS_EDITLABELS), 0);
  EXPECT_EQ(StyleOf(sg->Handle()) & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL);
  EXPECT_EQ(sg->CellRect(1, 1), Rect(101, 21, 201, 41));
  sg->SetRow(3);
  EXPECT_EQ(sg->Selection(), (TGridRect{0, 3, 2, 3}));  // whole rows
  EXPECT_EQ(re->Lines()->Strings(0), L"<p>宝贝</p>");
  EXPECT_NE(StyleOf(re->Handle()) & ES_READONLY, 0);
  EXPECT_NE(StyleOf(tc->Handle()) & TCS_BOTTOM, 0);
  EXPECT_EQ(SendMessageW(tc->Handle(), TCM_GETCURSEL, 0, 0), 1);

  const std::string text = WriteComponentText(form.get());
  for (const char* part : {"Flat = True", "Style = tbsSeparator", "OnClick = btnSaveClick", "Images = il1",
                           "Style = psOwnerDraw", "SizeGrip = False", "Style = hsFlat", "Associate = edtWidth",
                           "Position = 750", "TickMarks = tmBoth", "Checked = False", "MaxDate = ", "Indent = 25",
                           "OnCustomDrawItem = tvCustomDrawItem", "FixedColor = clInfoBk", "goRowSelect]",
                           "WordWrap = False", "TabIndex = 1", "Tabs.Strings"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  // Defaults stay out: the bars' own alignments, the lowered bevel, the orientations.
  for (const char* part : {"Align =", "Bevel = pbLowered", "Orientation", "MinDate", "GridLineWidth", "ShowLines"})
    EXPECT_EQ(text.find(part), std::string::npos) << part;
  EXPECT_LT(text.find("btnSave"), text.find("btnBold"));  // in button order
  EXPECT_LT(text.find("ColCount"), text.find("FixedCols"));  // counts first, so the text reads back

  form.reset();
  auto again = ReadForm<TCommonControlsForm>(text);
  auto* bar2 = FindNamed<TToolBar>(again.get(), L"tb1");
  auto* ud2 = FindNamed<TUpDown>(again.get(), L"udWidth");
  auto* sg2 = FindNamed<TStringGrid>(again.get(), L"sg1");
  auto* sb2 = FindNamed<TStatusBar>(again.get(), L"sb1");
  auto* dtp2 = FindNamed<TDateTimePicker>(again.get(), L"dtpStart");
  auto* re2 = FindNamed<TRichEdit>(again.get(), L"re1");
  ASSERT_TRUE(bar2 && ud2 && sg2 && sb2 && dtp2 && re2);
  EXPECT_EQ(bar2->Buttons(2)->Name(), L"btnBold");
  EXPECT_EQ(ud2->Position(), 750);
  EXPECT_EQ(ud2->Associate(), again->FindComponent(L"edtWidth"));
  EXPECT_EQ(sg2->RowCount(), 12);
  EXPECT_EQ(sg2->FixedCols(), 0);
  EXPECT_EQ(sb2->Panels()->Items(1)->Bevel(), pbRaised);
  EXPECT_EQ(sb2->SimpleText(), L"就绪");
  EXPECT_DOUBLE_EQ(dtp2->DateTime(), 45000.5);
  EXPECT_DOUBLE_EQ(dtp2->MaxDate(), 46000.0);
  EXPECT_EQ(re2->Lines()->Text(), L"<p>宝贝</p>\r\nsecond\r\n");
}

TEST(CommonControlsDescription, ValuesOutsideWhatAControlTakesAreClearErrors) {
  const std::pair<const char*, const char*> broken[] = {
      {"FixedCols = 0", "FixedCols = 7"},  // not below the count
      {"TickMarks = tmBoth", "TickMarks = tmAll"},
      {"Style = hsFlat", "Style = hsRound"},
  };
  for (auto [from, to] : broken) {
    SCOPED_TRACE(to);
    std::string text(kForm);
    text.replace(text.find(from), std::strlen(from), to);
    EXPECT_THROW(ReadForm<TCommonControlsForm>(text), EReadError);
  }
}

}  // namespace
}  // namespace vcl::testing
