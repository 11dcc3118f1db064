#include "skin_layered/paint/HintShowTimer.h"

#include <algorithm>
#include <cmath>

#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintWindows.h"
#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered {

VCL_CLASS_INFO(TsShowTimer) {}

TsShowTimer::TsShowTimer(TsHintManager* Manager, std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R,
                         std::uint8_t FinalAlpha, bool Slide)
    : TqvThreadedTimer(Manager, true),
      manager_(Manager),
      image_(std::move(Image)),
      rect_(R),
      from_(Manager->LastHintRect()),
      final_alpha_(FinalAlpha),
      slide_(Slide) {
  SetInterval(kInterval);
  SetEnabled(true);
}

TsShowTimer::~TsShowTimer() = default;

void TsShowTimer::DoTimer() {
  if (Finished() || !image_) return;
  ++step_;
  const double share = static_cast<double>(step_) / kSteps;
  const auto alpha = static_cast<std::uint8_t>(std::lround(std::min(255.0, final_alpha_ * share)));
  const vcl::TPoint at = rect_.TopLeft();
  if (!slide_) {
    if (TqvHintForm* form = manager_->HintForm()) UpdateLayeredWnd(form->Handle(), image_.get(), alpha, &at);
  } else {
    // The old hint moves toward the new place in equal steps under the new one fading in.
    const vcl::TPoint from = from_.TopLeft();
    const vcl::TPoint step{static_cast<int>(std::lround(from.X + (at.X - from.X) * share)),
                           static_cast<int>(std::lround(from.Y + (at.Y - from.Y) * share))};
    if (TqvHintForm* old = manager_->HintForm(); old && manager_->LastImage())
      UpdateLayeredWnd(old->Handle(), manager_->LastImage(), 255, &step);
    if (TqvHintForm* fade = manager_->FadeForm()) UpdateLayeredWnd(fade->Handle(), image_.get(), alpha, &at);
  }
  if (Finished()) Finish();
}

void TsShowTimer::Finish() {
  SetEnabled(false);
  if (slide_ && manager_->fade_form_) {
    // The fading form is the hint form from now on.
    TqvHintForm* old = std::exchange(manager_->hint_form_, manager_->fade_form_);
    manager_->fade_form_ = nullptr;
    vcl::TObject::Free(old);
  }
  manager_->SetLastImage(std::move(image_), rect_);
}

}  // namespace skin_layered
