// The unit start-ups of the layered engine's core: its platform facts and strings, the
// kernel32 binding of the general routines and the theme library binding of the window
// routines. They start after the class library's units, before the painting layer's, and
// stop in reverse order.
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/core/WindowUtils.h"

namespace skin_layered {
namespace {

void StartConstants() {
  RecordPlatformFacts();
  LoadLibraryStrings(nullptr);
}

const vcl::TUnitRegistration kConstantsUnit{vcl::TUnitGroup::LayeredCore, 10, L"LayeredConstants", &StartConstants,
                                            &FreeLibraryStrings};
const vcl::TUnitRegistration kUtilsUnit{vcl::TUnitGroup::LayeredCore, 20, L"LayeredUtils", &BindGeneralUtils,
                                        &ReleaseGeneralUtils};
const vcl::TUnitRegistration kWindowUtilsUnit{vcl::TUnitGroup::LayeredCore, 30, L"LayeredWindowUtils",
                                              &BindThemeLibrary, &ReleaseThemeLibrary};

}  // namespace
}  // namespace skin_layered

// Named by the link options of the layered_core library, so that every program linking it
// keeps this object, and with it the unit registrations above, which nothing else refers to.
extern "C" void scrivane_layered_core_units() {}
