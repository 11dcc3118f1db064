// The extended controls unit's start-up.
#include "classlib/extctrls/ExtCtrls.h"

namespace vcl::detail {

void InitExtCtrlsUnit() {
  TPanel::StaticClass();
  TRadioGroup::StaticClass();
  TSplitter::StaticClass();
  TImage::StaticClass();
  TBevel::StaticClass();
}

}  // namespace vcl::detail
