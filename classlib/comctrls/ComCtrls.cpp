// The common controls unit: its enumerations and its start-up, which makes its classes known
// to form descriptions.
#include "classlib/comctrls/ComCtrls.h"

#include "classlib/rtl/UnitInit.h"

namespace vcl {

const TEnumTypeInfo& ViewStyleTypeInfo() {
  static const TEnumTypeInfo info{L"TViewStyle", {L"vsIcon", L"vsSmallIcon", L"vsList", L"vsReport"}};
  return info;
}

const TEnumTypeInfo& TabStyleTypeInfo() {
  static const TEnumTypeInfo info{L"TTabStyle", {L"tsTabs", L"tsButtons", L"tsFlatButtons"}};
  return info;
}

const TEnumTypeInfo& TabPositionTypeInfo() {
  static const TEnumTypeInfo info{L"TTabPosition", {L"tpTop", L"tpBottom", L"tpLeft", L"tpRight"}};
  return info;
}

namespace {

void InitComCtrls() {
  TListView::StaticClass();
  TListColumn::StaticClass();
  TPageControl::StaticClass();
  TTabSheet::StaticClass();
}

const TUnitRegistration kComCtrlsUnit{TUnitGroup::ClassLibrary, 40, L"ComCtrls", &InitComCtrls, nullptr};

}  // namespace

}  // namespace vcl
