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

// The item fades step every 12 ms.
inline constexpr unsigned kItemFadeInterval = 12;

// What a fade asks of the item it shows.
class TqvFadedItem {
 public:
  // The item's rectangle on the screen, and in the window image.
  virtual vcl::TRect ScreenRect() const = 0;
  virtual vcl::TRect ImageRect() const = 0;
  // The item's look painted into R of Bmp; false when nothing paints it.
  virtual bool PaintFaded(const vcl::TRect& R, vcl::TBitmap* Bmp) = 0;
  // The mouse left the item as its fade ended: the form hears of it.
  virtual void FadeMouseLeft() = 0;

 protected:
  ~TqvFadedItem() = default;
};

class TqvItemAnimation : public vcl::TTimer {
  VCL_CLASS(TqvItemAnimation, vcl::TTimer)
 public:
  TqvItemAnimation(vcl::TComponent* AOwner, HWND Wnd, TqvFadedItem* Item, int Steps);
  ~TqvItemAnimation() override;

  // Shows the item's State: 0 fades out, any other fades in (2, pressed, at once).
  void SetState(int State);
  // One step of the fade (what the timer runs).
  void Tick();

  HWND Wnd;                // the window the item lies on (the form's or its border window)
  TqvFadedItem* Item;
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
