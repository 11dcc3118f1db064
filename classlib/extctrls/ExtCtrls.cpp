// The extended controls unit's start-up.
#include "classlib/extctrls/ExtCtrls.h"

#include "classlib/rtl/UnitInit.h"

namespace vcl::detail {

void InitExtCtrlsUnit() {
  TPanel::StaticClass();
  TRadioGroup::StaticClass();
  TSplitter::StaticClass();
  TImage::StaticClass();
  TBevel::StaticClass();
}

VCL_UNIT_LINKED(ExtCtrls);
const TUnitRegistration kExtCtrlsUnit{TUnitGroup::ClassLibrary, 35, L"ExtCtrls", &InitExtCtrlsUnit, nullptr};

}  // namespace vcl::detail
