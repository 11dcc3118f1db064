#include "skin_layered/manager/SkinManagerStartup.h"

#include <windows.h>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

bool ShowVersionOnSwitch(const std::vector<vcl::String>& Params) {
  for (const vcl::String& param : Params) {
    if (vcl::LowerCase(param) != kVersionSwitch) continue;
    const vcl::String title = vcl::Application ? vcl::Application->Title() : vcl::String();
    vcl::ShowMessageBox(nullptr, kVersionMessage, title, MB_OK);
    return true;
  }
  return false;
}

void StartSkinManagerUnit() {
  // Classes form descriptions name.
  TsSkinManager::StaticClass();
  TsCommonData::StaticClass();
  TsScrollWndData::StaticClass();
  TOutputWindow::StaticClass();
  TqvManagerUnit& unit = ManagerUnit();
  unit.NTPlatform = QueryPlatformVersion().PlatformId == VER_PLATFORM_WIN32_NT;
  unit.Started = true;
  std::vector<vcl::String> params;
  for (int i = 1; i <= vcl::ParamCount(); ++i) params.push_back(vcl::ParamStr(i));
  ShowVersionOnSwitch(params);
}

void StopSkinManagerUnit() { ManagerUnit().Stop(); }

namespace {
// After the painting units: the shadows are PNG pictures prepared by the alpha routines.
const vcl::TUnitRegistration kSkinManagerUnit{vcl::TUnitGroup::LayeredManager, 10, L"LayeredSkinManager",
                                              &StartSkinManagerUnit, &StopSkinManagerUnit};
}  // namespace

}  // namespace skin_layered

// Named by the link options of the layered_manager library (see CoreStartup.cpp).
extern "C" void scrivane_layered_manager_units() {}
