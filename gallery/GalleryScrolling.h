// The gallery's scrolling form: its content is larger than its window, so it scrolls itself
// (AutoScroll) with its own scroll bars and the size box between them, which the layered
// engine skins: a grid of numbered tiles, each with a control, the last one in the far corner.
// (The classic engine switches a skinned form's AutoScroll off.)
#pragma once

#include "classlib/forms/Forms.h"

namespace gallery {

class TGalleryScrolling : public vcl::TForm {
  VCL_CLASS(TGalleryScrolling, vcl::TForm)
 public:
  static constexpr int kColumns = 4;
  static constexpr int kRows = 6;

  explicit TGalleryScrolling(vcl::TComponent* AOwner);
  // The tile in the far corner, which only scrolling brings into view.
  vcl::TWinControl* LastTile() const { return last_; }

 private:
  vcl::TWinControl* last_ = nullptr;
};

// Shows the scrolling form (owned by Owner, made once, with a skin provider of its own) with its
// top-left corner at (X, Y).
TGalleryScrolling* ShowScrollingForm(vcl::TComponent* Owner, int X, int Y);

}  // namespace gallery
