// The provider's answers to the mouse on its frame: what the frame's mouse asks
// (FrameMouseHost in FrameMouse.h), read from the provider's state and handed on to the objects
// it owns (the title's objects, the measures, the window image, the menus, the animator).
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderFrameMouseHost final : public TqvFrameMouseHost {
 public:
  explicit TsProviderFrameMouseHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  TqvBorderForm* ExtBorderForm() const override { return provider_.ExtBorderForm(); }
  void CallOldWndProc(vcl::TMessage& Message) override { provider_.CallOldWndProc(Message); }
  bool Watched(const std::function<void()>& Call) override { return provider_.Watched(Call); }

  TqvCaptionButtons& CaptionButtons() const override { return provider_.CaptionButtons(); }
  TsTitleButtons* TitleButtons() const override { return provider_.TitleButtons(); }
  TsTitleBar* TitleBar() const override { return provider_.TitleBar(); }
  TqvCaptionItems& CaptionItems() const override { return provider_.CaptionItems(); }
  TsSystemMenu* CurrentSystemMenu() const override { return provider_.Menus().SystemMenu(); }
  void MakeSystemMenu() override { provider_.Menus().MakeSystemMenu(); }
  TsSystemMenu* SystemMenuOf(vcl::TCustomForm* Form) const override {
    TsSkinProvider* other = GetSkinProvider(Form);
    return other ? other->Menus().SystemMenu() : nullptr;
  }
  bool StartButtonGlow(int HitCode, bool ToHot) override { return provider_.StartButtonGlow(HitCode, ToHot); }
  void SetCaptionActive(bool Value) override { provider_.FormActive = Value; }

  const TqvFormMeasures& Measures() const override { return provider_.Measures(); }
  vcl::TPoint FormOrigin() override { return provider_.WindowImage().FormOrigin(); }
  vcl::TPoint GripPos(int MaskIndex) override { return provider_.WindowImage().GripPos(MaskIndex); }
  TqvFormScrollBars& ScrollBars() override { return provider_.ScrollBars(); }
  void RefreshNonClient() override { provider_.RefreshNonClient(); }

  void UpdateSysMenuStyle(bool Skinned) override { provider_.Menus().SystemMenuStyle(Skinned); }
  void UpdateGluedForms() override { provider_.UpdateGluedForms(); }
  bool OutlineSizing() const override { return provider_.ResizeMode() == rmBorder; }
  bool AllowBlendOnMoving() const override { return provider_.AllowBlendOnMoving(); }
  void StartBlendOnMoving(bool RunMoveLoop) override { provider_.Animator().StartBlendOnMoving(RunMoveLoop); }
  TqvFormAnimator& Animator() override { return provider_.Animator(); }
  void KillTitleAnimations() override { provider_.KillAnimations(); }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvFrameMouseHost> MakeFrameMouseHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderFrameMouseHost>(Provider);
}

}  // namespace skin_layered
