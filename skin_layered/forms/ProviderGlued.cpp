// The provider's glued forms and snapping, which its glue (FormGlue.h) does; a form moved by
// its master's glue (kExtGlued) neither snaps nor drags its own glued forms.
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

TqvFormGlue* FormGlueOf(vcl::TCustomForm* Form) {
  TsSkinProvider* provider = GetSkinProvider(Form);
  return provider ? &provider->Glue() : nullptr;
}

void TsSkinProvider::UpdateGluedForms() { glue_.Update(); }

void TsSkinProvider::MoveGluedForms(bool WithBorderForm) {
  if (!(ExtFlags & kExtGlued)) glue_.MoveAlong(WithBorderForm);
}

void TsSkinProvider::SnapToForms(int& X, int& Y) {
  if (!(ExtFlags & kExtGlued)) glue_.Snap(X, Y);
}

vcl::TRect TsSkinProvider::AdjustForBorderForm(vcl::TRect R, bool Grow) { return glue_.AdjustForBorderForm(R, Grow); }

}  // namespace skin_layered
