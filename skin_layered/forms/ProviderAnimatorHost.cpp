// The provider's answers to its animator: what the form's animations ask (AnimatorHost in
// FormAnimator.h), handed on to the title's objects, the region and the glued forms.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {
namespace {

class TsProviderAnimatorHost final : public TqvAnimatorHost {
 public:
  explicit TsProviderAnimatorHost(TsSkinProvider& Provider) : provider_(Provider) {}

  void KillTitleAnimations() override { provider_.KillAnimations(); }
  void UpdateFormRgn(bool Repaint) override { provider_.Region().UpdateFormRgn(Repaint); }
  void UpdateGluedForms() override { provider_.UpdateGluedForms(); }
  bool Watched(const std::function<void()>& Call) override { return provider_.Watched(Call); }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvAnimatorHost> MakeAnimatorHost(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderAnimatorHost>(Provider);
}

}  // namespace skin_layered
