// The skin manager's answers to the skin change of the registered forms (SkinChangeForms.h):
// whether it is designing or loading, its skin-change animation, which providers are its own,
// and the layered update of a frozen form's picture.
#include <windows.h>

#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered {

bool TsSkinManager::DesigningOrLoading() const { return Designing() || ComponentLoading(); }

TqvSkinChangeAnimation TsSkinManager::SkinChanging() const {
  const TqvSkinChanging* a = anim_effects_->SkinChanging();
  return {a->Active(), a->Time(), a->Mode()};
}

bool TsSkinManager::UsesProvider(const TsSkinProviderBase& Provider) const {
  return Provider.SkinData && Provider.SkinData->GetSkinManager() == this;
}

void TsSkinManager::UpdateLayeredWnd(HWND Wnd, vcl::TBitmap& Bmp, std::uint8_t Alpha) {
  skin_layered::UpdateLayeredWnd(Wnd, &Bmp, Alpha);
}

}  // namespace skin_layered
