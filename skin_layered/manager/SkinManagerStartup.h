// What the skin manager's unit does at start-up: it registers the classes form descriptions
// name, records in the unit's state whether the system is of the NT family (the manager hooks
// the main window only there), lets the two form shadows be read on first use (ManagerUnit.h),
// and answers the "/qvver" switch with the library's version.
#pragma once

#include <vector>

#include "classlib/rtl/SysUtils.h"
#include "skin_layered/manager/ManagerUnit.h"

namespace skin_layered {

inline constexpr wchar_t kVersionSwitch[] = L"/qvver";
inline constexpr wchar_t kVersionMessage[] = L"Quorvan v10.00";
// The first parameter equal to "/qvver" in any letter case shows kVersionMessage; true when
// it did.
bool ShowVersionOnSwitch(const std::vector<vcl::String>& Params);

// The unit's start-up and shut-down steps (run by the unit registry).
void StartSkinManagerUnit();
void StopSkinManagerUnit();

}  // namespace skin_layered
