// System-colour substitution: while it is switched on, this process's own calls of
// GetSysColor, GetSysColorBrush and CreatePen answer with the default skin manager's colours,
// so that controls painting with system colours match the skin. The entries of the three
// functions are patched in this process only (TCodePatch, which tells how that is made safe on
// x86-64 and against other threads); the originals are called through the patch, which stays
// in place meanwhile.
//
// The default manager switches it with its ChangeSysColors option and its hooks, and hands
// over its colours whenever it loads a skin (nil when there is no default manager: every call
// then gets the system's answer). The colours are copied into tables that any thread may read.
#pragma once

#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

// Patches the three functions (each only when it is not patched yet); true when all three
// are patched afterwards.
bool PatchSysColors();
// Puts the three functions back. The brushes handed out stay valid (a caller may keep them).
void UnpatchSysColors();
bool SysColorsPatched();

// The default manager's skin colours (copied), or nil without a default manager. The brushes
// handed out for the previous colours stay valid.
void SetSysColorsSkin(const TsSkinColors* Colors);

}  // namespace skin_layered
