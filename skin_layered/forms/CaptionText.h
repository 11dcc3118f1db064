// TqvCaptionText, the text of a skinned form's caption in the window image: the form's caption
// and the added title after it, placed between the icon and the buttons (or in the title bar
// component's free area), aligned as asked, on the "CAPTION" section's background when the
// skin has one, in the title section's colours with its glow for the caption's state. It keeps
// the system's caption font and the glow's mask of each caption state. The form's provider
// owns it and gives it what it asks through TqvCaptionTextHost.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/paint/TextEffects.h"

namespace skin_layered {

class TsSkinManager;
class TsSkinProviderBase;
class TqvAddedTitle;
class TqvBorderForm;
class TqvCaptionButtons;
class TqvCaptionItems;
class TqvFormMeasures;
class TqvImageMeasures;

// What the caption text asks of the form's provider.
class TqvCaptionTextHost {
 public:
  virtual ~TqvCaptionTextHost() = default;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider as the layers below know it: its form, skin data, caption and shadow sizes.
  virtual TsSkinProviderBase* FrameProvider() = 0;
  // The border form when extended borders are in force (the text goes in with its alpha).
  virtual TqvBorderForm* ExtBorderForm() const = 0;
  // Where the text may stand: after the icon (the form's measures), before the buttons, in the
  // title bar's free area, inside the window image.
  virtual const TqvFormMeasures& Measures() const = 0;
  virtual const TqvImageMeasures& WindowImage() const = 0;
  virtual TqvCaptionButtons& CaptionButtons() const = 0;
  virtual TqvCaptionItems& CaptionItems() const = 0;
  // What the caption shows and how.
  virtual TqvAddedTitle* AddedTitle() const = 0;
  virtual vcl::TAlignment CaptionAlignment() const = 0;
  virtual bool CaptionActive() const = 0;
  // The "CAPTION" section (-1: none); the title's is the measures'.
  virtual int CaptionSectionIndex() const = 0;

};

class TqvCaptionText {
 public:
  explicit TqvCaptionText(TqvCaptionTextHost& Host) : host_(Host) {}
  TqvCaptionText(const TqvCaptionText&) = delete;
  TqvCaptionText& operator=(const TqvCaptionText&) = delete;

  // The caption's texts painted into the window image.
  void PaintCaptionText();
  // The title font (the system's caption font), made on first use.
  vcl::TFont* CaptionFont();

 private:
  TqvCaptionTextHost& host_;
  std::unique_ptr<vcl::TFont> caption_font_;
  // The glow behind the caption text, kept for each caption state.
  TGlowMask glow_active_, glow_inactive_;
};

}  // namespace skin_layered
