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

  int GetTitleSkinIndex() override { return measures().GetTitleSkinIndex(); }
  int SysButtonsCount() const override { return measures().VisibleSysButtons(); }
  TsTitleIcon* TitleIcon() const override { return provider_.TitleIcon(); }
  bool IconVisible() const override { return measures().IconVisible(); }
  int TitleIconWidth() override { return measures().TitleIconWidth(); }
  int TitleIconHeight() override { return measures().TitleIconHeight(); }

  bool HasMenuLine() const override { return measures().HasMenuLine(); }
  bool MenuVisible() const override { return measures().MenuVisible(); }
  int MenuHeight() const override { return measures().MenuHeight(); }
  int MenuLinesCount() override { return measures().MenuLinesCount(); }
  const vcl::String& MenuLineSkin() const override { return provider_.MenuLineSkin(); }
  void PrepareMenusAgain() override {
    provider_.Menus().ForgetPrepared();
    provider_.Menus().PrepareMenus();
  }
  bool IsMDIProvider() const override { return MDIProvider() == &provider_; }
  vcl::TPoint ImagePointOf(vcl::TPoint Screen) override { return provider_.FrameMouse().ImagePointOf(Screen); }

  bool HasBorder() const override { return measures().HasBorder(); }
  int BorderWidthDef() const override { return measures().BorderWidthDef(); }
  int BorderWidthSys() const override { return measures().BorderWidthSys(); }
  vcl::TSize ScrollBarsExtent() const override { return measures().ScrollBarsExtent(); }
  bool MaximizedBorderLarge() const override { return provider_.MaxBorderLarge; }
  bool GripVisible() const override { return measures().GripVisible(); }
  void MarkRegionStale() override { provider_.Region().RgnChanged = true; }
  vcl::TCustomForm* MDIFrameForm() const override {
    TsSkinProvider* frame = MDIProvider();
    return frame ? frame->Form : nullptr;
  }
  bool IsPrinting() const override { return provider_.Printing; }
  void ClientPainted() override { provider_.ClientPainted(); }

 private:
  const TqvFormMeasures& measures() const { return provider_.Measures(); }

  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvWindowImageHost> MakeWindowImageHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderWindowImageHost>(Provider);
}

}  // namespace skin_layered
