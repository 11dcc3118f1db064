// The provider's answers to its menus: what the form's menus and its skinned system menu ask
// (FormMenusHost in FormMenus.h), read from the provider's settings.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderMenusHost final : public TqvFormMenusHost {
 public:
  explicit TsProviderMenusHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TqvSysMenuOwner& MenusOwner() override { return provider_; }
  TsScrollWndData* MenusSkinData() const override { return provider_.SkinData; }
  bool PaintsFrame() const override { return provider_.DrawNonClientArea; }
  bool AddsSkinItems() const override { return provider_.MakeSkinMenu(); }
  bool MenusDesigned() const override { return provider_.ComponentState().Contains(vcl::csDesigning); }
  void InitMenuItems() override { provider_.InitMenuItems(); }
  // The close glyph (alone or beside maximise and minimise) goes by the menu's commands.
  void SystemMenuMade() override { provider_.CaptionButtons().InitSystemButtons(); }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvFormMenusHost> MakeMenusHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderMenusHost>(Provider);
}

}  // namespace skin_layered
