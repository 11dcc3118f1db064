// What a skinned form's animator (FormAnimator.h) asks of its provider, and the base's
// minimise animation run through it.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

bool TsSkinProvider::MinAnimAllowed() {
  return AllowAnimation() && DrawNonClientArea && Form && Form->HandleAllocated();
}

void TsSkinProvider::MinAnimTimer() {
  if (!Form->HandleAllocated()) return;
  if (IsIconic(Form->Handle()))
    StartRestoreAnimation();
  else
    StartMinimizeAnimation();
}

bool TsSkinProvider::Watched(const std::function<void()>& Call) {
  const TWatch alive = Watch();
  Call();
  return static_cast<bool>(alive);
}

}  // namespace skin_layered
