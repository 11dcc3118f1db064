// The provider's answers to its window image: what the image asks (WindowImageHost in
// WindowImage.h), read from the provider's state and handed on to the objects it owns (the
// measures, the menus, the region, the frame's mouse).
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderWindowImageHost final : public TqvWindowImageHost {
 public:
  explicit TsProviderWindowImageHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  TqvBorderForm* ExtBorderForm() const override { return provider_.ExtBorderForm(); }
  bool BlendingOrHiding() const override { return provider_.ExtFlags & (kExtBlendMoving | kExtHiding); }
  bool CaptionActive() const override { return provider_.FormActive; }
  TqvCaptionButtons& CaptionButtons() const override { return provider_.CaptionButtons(); }
  TqvCaptionText& CaptionText() const override { return provider_.CaptionText(); }
  TsSystemMenu* CurrentSystemMenu() const override { return provider_.Menus().SystemMenu(); }
  void MakeSystemMenu() override { provider_.Menus().MakeSystemMenu(); }

  const TqvFormMeasures& Measures() const override { return provider_.Measures(); }
  TsTitleIcon* TitleIcon() const override { return provider_.TitleIcon(); }
  const vcl::String& MenuLineSkin() const override { return provider_.MenuLineSkin(); }
  void PrepareMenusAgain() override {
    provider_.Menus().ForgetPrepared();
    provider_.Menus().PrepareMenus();
  }
  bool IsMDIProvider() const override { return MDIProvider() == &provider_; }
  vcl::TPoint ImagePointOf(vcl::TPoint Screen) override { return provider_.FrameMouse().ImagePointOf(Screen); }

  bool MaximizedBorderLarge() const override { return provider_.MaxBorderLarge; }
  void MarkRegionStale() override { provider_.Region().RgnChanged = true; }
  vcl::TCustomForm* MDIFrameForm() const override {
    TsSkinProvider* frame = MDIProvider();
    return frame ? frame->Form : nullptr;
  }
  bool IsPrinting() const override { return provider_.Printing; }
  void ClientPainted() override { provider_.ClientPainted(); }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvWindowImageHost> MakeWindowImageHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderWindowImageHost>(Provider);
}

}  // namespace skin_layered
