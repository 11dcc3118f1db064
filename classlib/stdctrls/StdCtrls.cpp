// The standard controls unit's start-up.
#include "classlib/stdctrls/StdCtrls.h"

#include "classlib/stdctrls/CheckListBox.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StaticText.h"
#include "classlib/rtl/UnitInit.h"

namespace vcl::detail {

void InitStdCtrlsUnit() {
  TLabel::StaticClass();
  TButton::StaticClass();
  TCheckBox::StaticClass();
  TRadioButton::StaticClass();
  TEdit::StaticClass();
  TMemo::StaticClass();
  TComboBox::StaticClass();
  TGroupBox::StaticClass();
  TListBox::StaticClass();
  TCheckListBox::StaticClass();
  TScrollBar::StaticClass();
  TStaticText::StaticClass();
}

VCL_UNIT_LINKED(StdCtrls);
const TUnitRegistration kStdCtrlsUnit{TUnitGroup::ClassLibrary, 35, L"StdCtrls", &InitStdCtrlsUnit, nullptr};

}  // namespace vcl::detail
