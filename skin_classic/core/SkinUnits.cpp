// The classic engine's units: the user32 bindings, the skin-data unit (shared bitmap and list,
// system facts, the class registration that form descriptions need) and the manager unit
// (the module instance; its shutdown frees the manager).
#include "classlib/rtl/UnitInit.h"
#include "skin_classic/core/SkinData.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

void BindUser32() { SkinSystem().BindUser32(); }
void ReleaseUser32() { SkinSystem().ReleaseUser32(); }

void MakeSharedObjects() {
  SkinSystem().MakeSharedObjects();
  // Form descriptions name the component by class.
  TSkinData::StaticClass();
}

void FreeSharedObjects() {
  FreeWorkBitmaps();
  SkinSystem().FreeSharedObjects();
}

void RecordModuleInstance() { SkinSystem().RecordModuleInstance(); }

void ShutDownManager() { FreeSkinManager(); }

const vcl::TUnitRegistration kUser32Unit{vcl::TUnitGroup::ClassicSkin, 10, L"WinSkinUser32", &BindUser32,
                                         &ReleaseUser32};
const vcl::TUnitRegistration kSkinDataUnit{vcl::TUnitGroup::ClassicSkin, 20, L"WinSkinData", &MakeSharedObjects,
                                           &FreeSharedObjects};
const vcl::TUnitRegistration kSkinMenuUnit{vcl::TUnitGroup::ClassicSkin, 30, L"WinSkinMenu", &RecordModuleInstance,
                                           &ShutDownManager};

}  // namespace
}  // namespace winskin

// Nothing refers to the unit registrations above: programs keep this object file (and with
// it the engine's start-up) by asking the linker for this symbol.
extern "C" void scrivane_skin_classic_units() {}
