#include "skin_layered/paint/HintShowTimer.h"

#include <algorithm>
#include <cmath>

#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered {

VCL_CLASS_INFO(TsShowTimer) {}

TsShowTimer::TsShowTimer(vcl::TComponent* Owner, TqvHintFadeHost& Host, std::unique_ptr<vcl::TBitmap> Image,
                         const vcl::TRect& R, std::uint8_t FinalAlpha, bool Slide)
    : TqvThreadedTimer(Owner, true),
      host_(Host),
      image_(std::move(Image)),
      rect_(R),
      from_(Host.LastHintRect()),
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
    if (HWND hint = host_.HintWindow()) UpdateLayeredWnd(hint, image_.get(), alpha, &at);
  } else {
    // The old hint moves toward the new place in equal steps under the new one fading in.
    const vcl::TPoint from = from_.TopLeft();
    const vcl::TPoint step{static_cast<int>(std::lround(from.X + (at.X - from.X) * share)),
                           static_cast<int>(std::lround(from.Y + (at.Y - from.Y) * share))};
    if (HWND old = host_.HintWindow(); old && host_.LastImage())
      UpdateLayeredWnd(old, host_.LastImage(), 255, &step);
    if (HWND fade = host_.FadeWindow()) UpdateLayeredWnd(fade, image_.get(), alpha, &at);
  }
  if (Finished()) Finish();
}

void TsShowTimer::Finish() {
  SetEnabled(false);
  host_.FadeDone(std::move(image_), rect_, slide_);
}

}  // namespace skin_layered
