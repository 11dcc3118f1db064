// The classes a form description may name are known by start-up alone; non-controls keep their places.
#include <gtest/gtest.h>

#include "classlib/controls/controls_support.h"
#include "classlib/rtl/TypInfo.h"
#include "classlib/streaming/Filer.h"

namespace vcl::testing {
namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

class TFormClassesTestForm : public TForm {
  VCL_CLASS(TFormClassesTestForm, TForm)
 public:
  using TForm::TForm;
};

}  // namespace

VCL_CLASS_INFO(TFormClassesTestForm) {}

namespace {

Owned<TFormClassesTestForm> NewForm() { return Owned<TFormClassesTestForm>(new TFormClassesTestForm(nullptr, 0)); }

TEST(FormClasses, EveryClassAFormDescriptionMayNameIsKnownAfterStartUp) {
  for (const wchar_t* name : {
           // menus, timers, dialogs, image lists
           L"TMainMenu", L"TPopupMenu", L"TMenuItem", L"TTimer", L"TColorDialog", L"TImageList",
           // standard and extended controls
           L"TLabel", L"TButton", L"TCheckBox", L"TRadioButton", L"TEdit", L"TMemo", L"TComboBox", L"TGroupBox",
           L"TListBox", L"TCheckListBox", L"TScrollBar", L"TStaticText", L"TPanel", L"TRadioGroup", L"TSplitter",
           L"TImage", L"TBevel", L"TSpeedButton", L"TBitBtn", L"TTabSet", L"TMediaPlayer",
           // containers
           L"TScrollBox", L"TFrame",
           // common controls
           L"TListView", L"TPageControl", L"TTabSheet", L"TToolBar", L"TToolButton", L"TStatusBar", L"TTrackBar",
           L"TProgressBar", L"TUpDown", L"TDateTimePicker", L"THeaderControl", L"TTreeView", L"TDrawGrid",
           L"TStringGrid", L"TRichEdit", L"TTabControl",
           // the browser
           L"TWebBrowser",
       }) {
    const TClassInfo* cls = FindClassInfo(name);
    ASSERT_NE(cls, nullptr) << WideToUtf8(name);
    EXPECT_TRUE(cls->Create && cls->InheritsFrom(TComponent::StaticClass())) << WideToUtf8(name);
  }
}

// As a form designer writes them: the components that are not controls with their place on
// the design surface.
constexpr std::string_view kParts = R"(object frmParts: TFormClassesTestForm
  Caption = 'parts'
  object il1: TImageList
    Height = 24
    Width = 24
    Left = 8
    Top = 40
  end
  object tmr1: TTimer
    Enabled = False
    Interval = 250
    Left = 40
    Top = 40
  end
  object dlgColor: TColorDialog
    Left = 72
    Top = 40
  end
  object mm1: TMainMenu
    Left = 104
    Top = 40
    object N1: TMenuItem
      Caption = '文件'
    end
  end
  object pm1: TPopupMenu
    Left = 136
  end
  object lv1: TListView
    Left = 8
    Top = 80
    Width = 200
    Height = 100
    SmallImages = il1
  end
end
)";

TEST(FormClasses, ComponentsThatAreNoControlsKeepTheirDesignPositions) {
  auto form = NewForm();
  ReadComponentText(form.get(), kParts, L"parts");
  const struct {
    const wchar_t* name;
    const wchar_t* cls;
    int left, top;
  } expected[] = {
      {L"il1", L"TImageList", 8, 40},     {L"tmr1", L"TTimer", 40, 40}, {L"dlgColor", L"TColorDialog", 72, 40},
      {L"mm1", L"TMainMenu", 104, 40},    {L"pm1", L"TPopupMenu", 136, 0},
  };
  for (const auto& e : expected) {
    TComponent* c = form->FindComponent(e.name);
    ASSERT_NE(c, nullptr) << WideToUtf8(e.name);
    EXPECT_EQ(c->ClassName(), e.cls);
    EXPECT_EQ(c->DesignInfo(), MAKELONG(e.left, e.top)) << WideToUtf8(e.name);
  }
  TComponent* list = form->FindComponent(L"lv1");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetOrdProp(list, L"Left"), 8);  // a control's own Left
  EXPECT_EQ(list->DesignInfo(), 0);
  EXPECT_EQ(GetObjectProp(list, L"SmallImages"), form->FindComponent(L"il1"));

  // Written back after the component's own properties, and read again to the same text.
  const std::string written = WriteComponentText(form.get());
  for (const char* part : {
           "  object il1: TImageList\n    Height = 24\n    Width = 24\n    Left = 8\n    Top = 40\n  end\n",
           "    Interval = 250\n    Left = 40\n    Top = 40\n  end\n",
           "  object pm1: TPopupMenu\n    Left = 136\n  end\n",
       })
    EXPECT_NE(written.find(part), std::string::npos) << part << "--- in ---\n" << written;
  auto again = NewForm();
  ReadComponentText(again.get(), written, L"written");
  EXPECT_EQ(WriteComponentText(again.get()), written);
  EXPECT_EQ(again->FindComponent(L"mm1")->DesignInfo(), MAKELONG(104, 40));
}

}  // namespace
}  // namespace vcl::testing
