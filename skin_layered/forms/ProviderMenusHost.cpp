// The provider's answers to its menus: what the form's menus ask (FormMenusHost in FormMenus.h)
// and what the skinned system menu asks of its owner (SysMenuOwner in SystemMenu.h), read from
// the provider's settings.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderSysMenuOwner final : public TqvSysMenuOwner {
 public:
  explicit TsProviderSysMenuOwner(TsSkinProvider& Provider) : provider_(Provider) {}

  vcl::TComponent* SysMenuComponent() override { return &provider_; }
  vcl::TCustomForm* SysMenuForm() const override { return provider_.Form; }
  TqvSysSubMenu* SysSubMenu() const override { return provider_.SysSubMenu(); }
  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  void SetMinimizingFromMenu(bool Value) override { provider_.MinimizingFromMenu = Value; }
  TsSystemMenu* CurrentSystemMenu() const override { return provider_.Menus().SystemMenu(); }

 private:
  TsSkinProvider& provider_;
};

class TsProviderMenusHost final : public TqvFormMenusHost {
 public:
  explicit TsProviderMenusHost(TsSkinProvider& Provider) : provider_(Provider), owner_(Provider) {}

  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TqvSysMenuOwner& MenusOwner() override { return owner_; }
  TsScrollWndData* MenusSkinData() const override { return provider_.SkinData; }
  // A skin without the form's section leaves the whole frame to the system.
  bool PaintsFrame() const override { return provider_.DrawNonClientArea && provider_.FormSkinned(); }
  bool AddsSkinItems() const override { return provider_.MakeSkinMenu(); }
  bool MenusDesigned() const override { return provider_.ComponentState().Contains(vcl::csDesigning); }
  void InitMenuItems() override { provider_.InitMenuItems(); }
  // The close glyph (alone or beside maximise and minimise) goes by the menu's commands.
  void SystemMenuMade() override { provider_.CaptionButtons().InitSystemButtons(); }

 private:
  TsSkinProvider& provider_;
  // The system menus made keep it: it lives as long as the provider's menus.
  TsProviderSysMenuOwner owner_;
};

}  // namespace

std::unique_ptr<TqvFormMenusHost> MakeMenusHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderMenusHost>(Provider);
}

}  // namespace skin_layered
