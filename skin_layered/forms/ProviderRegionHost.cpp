// The provider's answers to its window region: what the region asks (FormRegionHost in
// FormRegion.h), read from the provider's state, its measures and its window image.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderRegionHost final : public TqvFormRegionHost {
 public:
  explicit TsProviderRegionHost(TsSkinProvider& Provider) : provider_(Provider) {}

  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  TqvBorderForm* ExtBorderForm() const override { return provider_.ExtBorderForm(); }
  const TqvFormMeasures& Measures() const override { return provider_.Measures(); }
  const TqvImageMeasures& WindowImage() const override { return provider_.WindowImage(); }
  bool ShowsSnapshot() const override { return provider_.Frozen; }
  bool ImagePaintedWhole() const override { return provider_.WindowImage().FirstPaintDone; }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvFormRegionHost> MakeRegionHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderRegionHost>(Provider);
}

}  // namespace skin_layered
