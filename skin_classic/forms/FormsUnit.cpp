// The form skinning's unit: at start-up the manager gets this layer's objects for the windows
// it skins; at shutdown it gets none again.
#include "classlib/rtl/UnitInit.h"
#include "skin_classic/core/FormSkinning.h"
#include "skin_classic/forms/WinSkinForm.h"
#include "skin_classic/forms/WinSkinPopMenu.h"

namespace winskin {
namespace {

void InstallFormSkinning() {
  SetFormSkinning({[](vcl::TComponent* Owner) -> TWinSkinFormBase* { return new TWinSkinForm(Owner); },
                   []() -> std::unique_ptr<TWinSkinPopMenuBase> { return std::make_unique<TWinSkinPopMenu>(); }});
}

void RemoveFormSkinning() { SetFormSkinning({}); }

const vcl::TUnitRegistration kWinSkinFormUnit{vcl::TUnitGroup::ClassicSkin, 40, L"WinSkinForm", &InstallFormSkinning,
                                              &RemoveFormSkinning};

}  // namespace
}  // namespace winskin

// Nothing refers to the registration above: programs keep it by asking the linker for this
// symbol.
extern "C" void scrivane_skin_classic_forms_units() {}
