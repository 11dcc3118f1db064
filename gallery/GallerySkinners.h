// Until the classic engine maps a skinned form's controls to their skinners itself, the
// gallery gives the controls of each form it skins theirs: push, bit and speed buttons, check
// boxes, radio buttons, group boxes, panels, page controls and their pages.
#pragma once

#include "skin_classic/core/SkinData.h"

namespace gallery {

// Every form the engine skins with Skin gets its controls skinned when it is set up.
void SkinControlsOfForms(winskin::TSkinData* Skin);

}  // namespace gallery
