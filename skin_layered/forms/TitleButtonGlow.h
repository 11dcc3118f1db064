// The glow fade of a title-bar button: when the mouse enters a system or user title button of
// a skinned form (or of a skinned system dialog), its hot or pressed look fades in over a few
// 12 ms steps, and fades out when the mouse leaves. The fading picture is not painted into
// the window: a small layered, click-through tool window laid over the button shows it. The
// button's record keeps its running fade (TsCaptionButton.Timer) and the window image keeps
// the normal look meanwhile.
//
// The steps run on the timer's ticks (OnTimerStep); the alpha of each step reaches the screen
// through the layered-window wrapper, and where the cursor stands is asked through a
// replaceable query, so tests drive a fade without waiting.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "classlib/controls/Timer.h"
#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"

namespace skin_layered {

class TqvBorderForm;
class TqvGlowForm;
class TsCommonData;
class TsSkinProvider;
struct TsCaptionButton;

// The steps of a fade and the time between them.
inline constexpr int kGlowFadeSteps = 5;
inline constexpr unsigned kGlowFadeInterval = 12;

class TqvSBAnimation : public vcl::TTimer {
  VCL_CLASS(TqvSBAnimation, vcl::TTimer)
 public:
  explicit TqvSBAnimation(vcl::TComponent* AOwner);
  ~TqvSBAnimation() override;

  // The owner's border form (positions are taken from its window) or nil.
  TqvBorderForm* BorderForm = nullptr;
  // The owner's skin data: its manager and its window image.
  TsCommonData* SkinData = nullptr;
  // The owner's window.
  HWND Wnd = nullptr;
  // The provider of a form's button (its user buttons draw their own pictures); nil for a
  // dialog's.
  TsSkinProvider* Provider = nullptr;
  // The button animated; its record points back here while the fade lives.
  TsCaptionButton* Button = nullptr;
  // The level shown (alpha = level x 255 / Steps), from 0 up to Steps.
  int Step = 0;
  // 0 normal (fading out), 1 hot, 2 pressed.
  int State = 0;
  bool FadingIn = false;
  // The number of steps of a fade (at least 1).
  int Steps = kGlowFadeSteps;
  // A fade-in reached its end (the mouse is watched from then on).
  bool FadedIn = false;
  // A fade-out reached 0: the window and picture are gone, the object waits to be freed.
  bool Finished = false;
  // The window showing the picture, and the picture; nil while none.
  vcl::TForm* GlowForm() const;
  vcl::TBitmap* Image() const { return image_.get(); }

  // Alpha per step: 255 div Steps.
  int AlphaPerStep() const;
  // Fades toward NewState (0 out, 1 hot, 2 pressed at once).
  void ChangeState(int NewState, bool FadeIn);
  // Puts the picture on the glow window at the constant alpha.
  void Show(std::uint8_t Alpha);
  // One tick of the fade.
  void OnTimerStep(vcl::TObject* Sender);
  // Where the glow window goes on the screen; the glow margin of a hot glowing button.
  vcl::TRect GlowRect();
  int GlowMargin() const;
  // The window and picture let go (made again by the next Show).
  void FreeGlow();

 private:
  void MakeImg();
  void MakeForm();
  // The button's glow image (its glyph's name with "GLOW" and "0" in "GLOBALINFO"), or -1.
  int GlowImageIndex() const;
  // The owner window's rectangle on the screen (the border window's with a border form).
  vcl::TRect OwnerRect() const;
  bool MouseOnButton();

  std::unique_ptr<vcl::TBitmap> image_;
  TqvGlowForm* glow_form_ = nullptr;
};

// Where the cursor stands on the screen; tests replace it (nil puts GetCursorPos back) and get
// the one before.
using TCursorQuery = std::function<POINT()>;
TCursorQuery SetGlowCursorQuery(TCursorQuery Query);

}  // namespace skin_layered
