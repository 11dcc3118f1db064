// The fade-in of a hint: 12 ticks of 12 ms raising the layered form's alpha to its final
// value. A hint shown elsewhere than the last one stood makes the old form slide toward the
// new place while a second form fades the new image in over it; at the end the second form
// becomes the hint form.
#pragma once

#include <cstdint>
#include <memory>

#include <windows.h>

#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/ThreadedTimer.h"

namespace skin_layered {

// What a fade asks of the hint manager that runs it.
class TqvHintFadeHost {
 public:
  // The layered windows of the hint shown and of the one fading in over it; nil when none.
  virtual HWND HintWindow() const = 0;
  virtual HWND FadeWindow() const = 0;
  // The last hint's image and place (the slide starts there).
  virtual vcl::TBitmap* LastImage() const = 0;
  virtual const vcl::TRect& LastHintRect() const = 0;
  // The fade reached its end: with Slide the fading window becomes the hint's; the image at R
  // is the last hint's from now on.
  virtual void FadeDone(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, bool Slide) = 0;

 protected:
  ~TqvHintFadeHost() = default;
};

class TsShowTimer : public TqvThreadedTimer {
  VCL_CLASS(TsShowTimer, TqvThreadedTimer)
 public:
  static constexpr unsigned kInterval = 12;
  static constexpr int kSteps = 12;

  // Fades Image (taken) in at R up to FinalAlpha; with Slide the host's hint window moves
  // from the last hint's place toward R meanwhile. Owned by Owner; enabled at once.
  TsShowTimer(vcl::TComponent* Owner, TqvHintFadeHost& Host, std::unique_ptr<vcl::TBitmap> Image,
              const vcl::TRect& R, std::uint8_t FinalAlpha, bool Slide);
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

  TqvHintFadeHost& host_;
  std::unique_ptr<vcl::TBitmap> image_;
  vcl::TRect rect_;
  vcl::TRect from_;
  std::uint8_t final_alpha_;
  bool slide_;
  int step_ = 0;
};

}  // namespace skin_layered
