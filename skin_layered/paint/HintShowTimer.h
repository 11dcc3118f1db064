// The fade-in of a hint: 12 ticks of 12 ms raising the layered form's alpha to its final
// value. A hint shown elsewhere than the last one stood makes the old form slide toward the
// new place while a second form fades the new image in over it; at the end the second form
// becomes the hint form.
#pragma once

#include <cstdint>
#include <memory>

#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/ThreadedTimer.h"

namespace skin_layered {

class TsHintManager;

class TsShowTimer : public TqvThreadedTimer {
  VCL_CLASS(TsShowTimer, TqvThreadedTimer)
 public:
  static constexpr unsigned kInterval = 12;
  static constexpr int kSteps = 12;

  // Fades Image (taken) in at R up to FinalAlpha; with Slide the manager's hint form moves
  // from the last hint's place toward R meanwhile. Enabled at once.
  TsShowTimer(TsHintManager* Manager, std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R,
              std::uint8_t FinalAlpha, bool Slide);
  ~TsShowTimer() override;

  vcl::TBitmap* Image() const { return image_.get(); }
  const vcl::TRect& Rect() const { return rect_; }
  // Gives the image up (the manager keeps it when a new hint stops the fade).
  std::unique_ptr<vcl::TBitmap> TakeImage() { return std::move(image_); }
  int StepsDone() const { return step_; }
  bool Finished() const { return step_ >= kSteps; }
  bool Sliding() const { return slide_; }
  std::uint8_t FinalAlpha() const { return final_alpha_; }

 protected:
  void DoTimer() override;

 private:
  void Finish();

  TsHintManager* manager_;
  std::unique_ptr<vcl::TBitmap> image_;
  vcl::TRect rect_;
  vcl::TRect from_;
  std::uint8_t final_alpha_;
  bool slide_;
  int step_ = 0;
};

}  // namespace skin_layered
