// What a hint window asks of the hint manager that shows its image: the settings it measures
// and paints with, and the layered form its image goes on. The hint windows see the manager
// only through this, so they can be read (and the manager changed) on their own.
#pragma once

#include <cstdint>
#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/GraphicsBitmap.h"

namespace skin_layered {

class TqvHintTemplate;

class TqvHintHost {
 public:
  // Hints are painted from the skin's section now (SkinSection), else from ActiveTemplate.
  virtual bool SkinUsed() const = 0;
  virtual const vcl::String& SkinSection() const = 0;
  virtual TqvHintTemplate* ActiveTemplate() const = 0;
  virtual bool HTMLMode() const = 0;
  // Where texts wrap; below 1 the width the application asks for.
  virtual int MaxWidth() const = 0;
  virtual vcl::TAlignment Alignment() const = 0;
  virtual int DefaultPlacement() const = 0;
  // Shadow bands count when hints are placed; without it the caption holds the text too.
  virtual bool LayeredImage() const = 0;
  // A control shown in place of the text; nil for none.
  virtual vcl::TWinControl* CustomHintControl() const = 0;
  // The bitmap hints are measured with (its font the hint font).
  virtual vcl::TBitmap* WorkBitmap() const = 0;
  // Where the next hint points when set; (-1, -1) for none.
  virtual vcl::TPoint NextHintPos() const = 0;

  // A window starts showing a hint: a fade still running stops where it stands and the
  // forms kept from the last hint stay. HintActivated follows when the window is placed.
  virtual void HintActivating() = 0;
  virtual void HintActivated() = 0;
  // The hint's image (premultiplied) at R on the layered form, faded in when animated; the
  // form has the system's drop shadow with DropShadow.
  virtual void ShowHintImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, bool DropShadow,
                             std::uint8_t FinalAlpha) = 0;
  // The hint window moved to R (screen): the form showing its image follows while the hint
  // is up; false when nothing followed.
  virtual bool FollowHintWindow(const vcl::TRect& R) = 0;
  virtual void HintHidden() = 0;
  // A window going gives its image at R; it becomes the last hint's when there is none.
  virtual void KeepHintImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R) = 0;

 protected:
  ~TqvHintHost() = default;
};

// The program's hint manager as its windows see it; nil while there is none.
TqvHintHost* HintHost();

}  // namespace skin_layered
