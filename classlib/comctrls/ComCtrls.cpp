// The common controls unit's start-up, which makes its classes known to form descriptions.
#include "classlib/comctrls/ComCtrls.h"

#include "classlib/rtl/UnitInit.h"

namespace vcl::detail {

void InitComCtrlsUnit() {
  TListView::StaticClass();
  TListColumn::StaticClass();
  TPageControl::StaticClass();
  TTabSheet::StaticClass();
  TToolBar::StaticClass();
  TToolButton::StaticClass();
  TStatusBar::StaticClass();
  TStatusPanel::StaticClass();
  TTrackBar::StaticClass();
  TProgressBar::StaticClass();
  TUpDown::StaticClass();
  TDateTimePicker::StaticClass();
  THeaderControl::StaticClass();
  THeaderSection::StaticClass();
  TTreeView::StaticClass();
  TDrawGrid::StaticClass();
  TStringGrid::StaticClass();
  TRichEdit::StaticClass();
  TTabControl::StaticClass();
}

VCL_UNIT_LINKED(ComCtrls);
const TUnitRegistration kComCtrlsUnit{TUnitGroup::ClassLibrary, 40, L"ComCtrls", &InitComCtrlsUnit, nullptr};

}  // namespace vcl::detail
