// The window adapters' units: the system entries the adapters bind, the shell support of the
// shell controls (the system's small-icon list, the desktop folder, OLE), the pipette cursor
// of colour picking, and the adapters of each kind registered for a skinned form's controls.
// They start after the skin manager's units and stop in reverse order.
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/ControlAdapters.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/ShellFolders.h"

namespace skin_layered {
namespace {

const vcl::TUnitRegistration kAdapterUnit{vcl::TUnitGroup::LayeredAdapters, 10, L"WindowAdapters", &BindAdapterUnit,
                                          &ReleaseAdapterUnit};
const vcl::TUnitRegistration kShellUnit{vcl::TUnitGroup::LayeredAdapters, 20, L"ShellSupport", &StartShellSupport,
                                        &StopShellSupport};
// The dialog hook and the rest of what the core asks of the adapters.
const vcl::TUnitRegistration kServicesUnit{vcl::TUnitGroup::LayeredAdapters, 40, L"AdapterServices",
                                           &InstallAdapterServices, &RemoveAdapterServices};
const vcl::TUnitRegistration kControlAdaptersUnit{vcl::TUnitGroup::LayeredAdapters, 50, L"ControlAdapters",
                                                 &RegisterControlAdapters, &UnregisterControlAdapters};
// The screen's cursor table owns the cursor and destroys it at shut-down.
const vcl::TUnitRegistration kPipetteUnit{vcl::TUnitGroup::LayeredAdapters, 30, L"PipetteCursor",
                                          &RegisterPipetteCursor, nullptr};

}  // namespace
}  // namespace skin_layered

// Named by the link options of the layered_adapters library, so that every program linking
// it keeps this object, and with it the unit registrations above, which nothing else refers to.
extern "C" void scrivane_layered_adapters_units() {}
