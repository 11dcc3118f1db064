// The base's minimise animation run through the form's animator (FormAnimator.h), and the
// watch on the provider around calls that may free it.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

bool TsSkinProvider::MinAnimAllowed() {
  return AllowAnimation() && DrawNonClientArea && Form && Form->HandleAllocated();
}

void TsSkinProvider::MinAnimTimer() {
  if (!Form->HandleAllocated()) return;
  if (IsIconic(Form->Handle()))
    Animator().StartRestore();
  else
    Animator().StartMinimize();
}

TsSkinProvider::TWatch::TWatch(const TsSkinProvider& Provider)
    : alive_(Provider.lifetime_.Watch()),
      provider_(&Provider),
      wnd_(Provider.Form && Provider.Form->HandleAllocated() ? Provider.Form->Handle() : nullptr) {}

TsSkinProvider::TWatch::operator bool() const {
  // The provider is read only while it lives.
  if (!alive_ || !wnd_) return false;
  vcl::TCustomForm* form = provider_->Form;
  return form && form->HandleAllocated() && form->Handle() == wnd_;
}

bool TsSkinProvider::Watched(const std::function<void()>& Call) {
  const TWatch alive = Watch();
  Call();
  return static_cast<bool>(alive);
}

}  // namespace skin_layered
