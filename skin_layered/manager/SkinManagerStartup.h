// What the skin manager's unit does at start-up: it records whether the system is of the NT
// family (the manager hooks the main window only there), makes the two form shadows the
// engine uses when a skin has no extended-border image of its own available (decoded on first
// use), and answers the "/qvver" switch with the library's version.
#pragma once

#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/SysUtils.h"

namespace skin_layered {

inline constexpr wchar_t kVersionSwitch[] = L"/qvver";
inline constexpr wchar_t kVersionMessage[] = L"Quorvan v10.00";
// The program's RCDATA resources of the shadows (PNG images).
inline constexpr wchar_t kActiveShadowResource[] = L"qvSHDA";
inline constexpr wchar_t kInactiveShadowResource[] = L"qvSHDI";

bool IsNTPlatform();

// The form shadow of an active / inactive form (32-bit, fully transparent pixels zero),
// read from the program's resources on first use; nil when the resource is missing or
// unreadable, and before start-up and after shutdown.
vcl::TBitmap* StartupShadow(bool Active);

// The first parameter equal to "/qvver" in any letter case shows kVersionMessage; true when
// it did.
bool ShowVersionOnSwitch(const std::vector<vcl::String>& Params);

// The unit's start-up and shut-down steps (run by the unit registry).
void StartSkinManagerUnit();
void StopSkinManagerUnit();

}  // namespace skin_layered
