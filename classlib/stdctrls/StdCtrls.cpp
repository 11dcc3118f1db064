// The standard controls unit's start-up.
#include "classlib/stdctrls/StdCtrls.h"

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
}

}  // namespace vcl::detail
