// The common controls unit's start-up, which makes its classes known to form descriptions.
#include "classlib/comctrls/ComCtrls.h"

namespace vcl::detail {

void InitComCtrlsUnit() {
  TListView::StaticClass();
  TListColumn::StaticClass();
  TPageControl::StaticClass();
  TTabSheet::StaticClass();
}

}  // namespace vcl::detail
