// The provider's answers to the caption's objects: what its title-bar buttons, its text and the
// title bar's items ask (CaptionButtons.h, CaptionText.h, CaptionItems.h), read from the
// provider's state and handed on to the objects it owns (the measures, the window image, the
// menus).
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderCaptionButtonsHost final : public TqvCaptionButtonsHost {
 public:
  explicit TsProviderCaptionButtonsHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  TqvBorderForm* ExtBorderForm() const override { return provider_.ExtBorderForm(); }
  TsSystemMenu* CurrentSystemMenu() const override { return provider_.Menus().SystemMenu(); }
  TsSystemMenu* SystemMenuOf(vcl::TCustomForm* Form) const override {
    TsSkinProvider* other = GetSkinProvider(Form);
    return other ? other->Menus().SystemMenu() : nullptr;
  }
  TsTitleButtons* TitleButtons() const override { return provider_.TitleButtons(); }
  TqvCaptionItems& CaptionItems() const override { return provider_.CaptionItems(); }
  bool CaptionActive() const override { return provider_.FormActive; }
  vcl::TBitmap* TitleBackground() const override { return provider_.WindowImage().TitleBgBmp.get(); }

  const TqvFormMeasures& Measures() const override { return provider_.Measures(); }
  const TqvImageMeasures& WindowImage() const override { return provider_.WindowImage(); }
  vcl::TPoint FormOrigin() override { return provider_.WindowImage().FormOrigin(); }

 private:
  TsSkinProvider& provider_;
};

class TsProviderCaptionTextHost final : public TqvCaptionTextHost {
 public:
  explicit TsProviderCaptionTextHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  TqvBorderForm* ExtBorderForm() const override { return provider_.ExtBorderForm(); }
  const TqvFormMeasures& Measures() const override { return provider_.Measures(); }
  const TqvImageMeasures& WindowImage() const override { return provider_.WindowImage(); }
  TqvCaptionButtons& CaptionButtons() const override { return provider_.CaptionButtons(); }
  TqvCaptionItems& CaptionItems() const override { return provider_.CaptionItems(); }
  TqvAddedTitle* AddedTitle() const override { return provider_.AddedTitle(); }
  vcl::TAlignment CaptionAlignment() const override { return provider_.CaptionAlignment(); }
  bool CaptionActive() const override { return provider_.FormActive; }
  int CaptionSectionIndex() const override { return provider_.CaptionIndex; }

 private:
  TsSkinProvider& provider_;
};

class TsProviderCaptionItemsHost final : public TqvCaptionItemsHost {
 public:
  explicit TsProviderCaptionItemsHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsTitleBar* TitleBar() const override { return provider_.TitleBar(); }
  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  const TqvFormMeasures& Measures() const override { return provider_.Measures(); }
  const TqvImageMeasures& WindowImage() const override { return provider_.WindowImage(); }
  bool CaptionActive() const override { return provider_.FormActive; }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvCaptionButtonsHost> MakeCaptionButtonsHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderCaptionButtonsHost>(Provider);
}

std::unique_ptr<TqvCaptionTextHost> MakeCaptionTextHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderCaptionTextHost>(Provider);
}

std::unique_ptr<TqvCaptionItemsHost> MakeCaptionItemsHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderCaptionItemsHost>(Provider);
}

}  // namespace skin_layered
