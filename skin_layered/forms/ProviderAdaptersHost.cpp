// The provider's answers to its form's adapters: what the control adapter and an MDI frame's
// client object ask (FormAdaptersHost in FormAdapters.h), read from the provider's events and
// handed on to its label colours.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderAdaptersHost final : public TqvFormAdaptersHost {
 public:
  explicit TsProviderAdaptersHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsSkinProviderBase* AdaptedProvider() override { return &provider_; }
  const TAddItemEvent& SkinItemEvent() const override { return provider_.OnSkinItem; }
  const TAddItemExEvent& SkinItemExEvent() const override { return provider_.OnSkinItemEx; }
  void SetLabelColor(vcl::TCustomLabel* Label, bool Skinned) override {
    provider_.LabelColors().SetLabelColor(Label, Skinned);
  }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  void FullRedraw() override { provider_.FullRedraw(); }
  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  void BecomeMDIProvider() override { SetMDIProvider(&provider_); }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvFormAdaptersHost> MakeAdaptersHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderAdaptersHost>(Provider);
}

}  // namespace skin_layered
