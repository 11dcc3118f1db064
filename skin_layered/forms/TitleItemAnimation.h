// The fade of a title-bar item's change of state: the item's new look is laid over the caption
// on a borderless layered window of its own (the fade form) whose alpha grows every 12 ms (or
// falls, fading out), so the caption itself is not repainted during the fade.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/controls/Timer.h"
#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"

namespace skin_layered {

class TqvTitleBarItem;

class TqvItemAnimation : public vcl::TTimer {
  VCL_CLASS(TqvItemAnimation, vcl::TTimer)
 public:
  TqvItemAnimation(vcl::TComponent* AOwner, HWND Wnd, TqvTitleBarItem* Item, int Steps);
  ~TqvItemAnimation() override;

  // Shows the item's State: 0 fades out, any other fades in (2, pressed, at once).
  void SetState(int State);
  // One step of the fade (what the timer runs).
  void Tick();

  HWND Wnd;                // the window the item lies on (the form's or its border window)
  TqvTitleBarItem* Item;
  int Step = 0;
  int StepCount;           // steps of a whole fade
  int TargetState = 0;     // the state shown at the end of the fade; -1 after fading out
  bool FadingIn = true;
  bool Finished = false;   // the fade reached its end
  std::unique_ptr<vcl::TBitmap> PrevImage;
  std::unique_ptr<vcl::TBitmap> CurImage;
  // The layered window showing the frames; nil before the first frame and after fading out.
  vcl::TForm* FadeForm() const { return fade_form_.get(); }
  // The alpha of the last frame shown.
  int LastAlpha = -1;

 protected:
  void Timer() override { Tick(); }

 private:
  int AlphaStep() const;
  // The item's image at alpha A on the fade form.
  void ShowFrame(int Alpha);
  void MakeImage();
  struct FormDeleter {
    void operator()(vcl::TForm* Form) const;
  };
  std::unique_ptr<vcl::TForm, FormDeleter> fade_form_;
};

}  // namespace skin_layered
