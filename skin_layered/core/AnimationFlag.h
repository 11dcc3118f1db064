// The engine's process-wide animation flag: set while a form's show, hide or skin-change
// animation runs (or the default manager holds its forms still for an animated skin change);
// child repaint broadcasts wait meanwhile.
#pragma once

namespace skin_layered {

bool AnimationActive();
void SetAnimationActive(bool Value);

}  // namespace skin_layered
