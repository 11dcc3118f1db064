// What a border form asks of the form skinning it serves (a form's provider): the form, the
// measures of its window image, its flag word, its title elements, its own scroll bars and
// grip, its glued forms and snapping, and its system menu. The provider's side answers it
// (ProviderBorderOwner.cpp), so the border form never reaches into the provider itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/AdapterServices.h"

namespace skin_layered {

class TsCommonData;
class TsSystemMenu;

class TqvBorderOwner {
 public:
  virtual ~TqvBorderOwner() = default;

  // ---- the form and its state
  // The form served; nil when there is none.
  virtual vcl::TCustomForm* Form() const = 0;
  // The owner itself is being destroyed.
  virtual bool Destroying() const = 0;
  // The form's skin data.
  virtual TsCommonData* SkinData() const = 0;
  // The owner paints the frame.
  virtual bool DrawsNonClientArea() const = 0;
  // An animation shows a snapshot in place of the form.
  virtual bool Frozen() const = 0;
  // An animation timer (minimise or blended move) runs.
  virtual bool Animating() const = 0;
  // A maximised form's frame lies wholly on its monitor.
  virtual bool MaxBorderLarge() const = 0;
  // The owner's flag word (kBorder* bits among others), read and written.
  virtual std::uint32_t Flags() const = 0;
  virtual void SetFlags(std::uint32_t Value) = 0;
  // The top and height (Top, Bottom), or the left and width (Left, Right), the form had before
  // a double click on its frame stretched it; kept by the owner beside the flag word's bits.
  virtual vcl::TRect& StretchSaved() = 0;

  // ---- the window image
  // The caption height: the skin's with CheckSkin, else the system's.
  virtual int CaptionHeight(bool CheckSkin) const = 0;
  // The height of the menu lines shown under the caption (0 for none).
  virtual int MenuLinesHeight() const = 0;
  // The caption icon's rectangle.
  virtual vcl::TRect IconRect() const = 0;
  // The client area's top-left.
  virtual vcl::TPoint ClientOffset() const = 0;
  // The shadow margins.
  virtual vcl::TRect ShadowSize() const = 0;
  // Rebuilds the window image when stale.
  virtual void PaintAll() = 0;
  // The whole window image with the client area painted in; nil without one.
  virtual std::unique_ptr<vcl::TBitmap> FormSnapshot() const = 0;
  // The border form is no longer wanted: the owner frees it (and so the caller).
  virtual void DropBorderForm() = 0;

  // ---- the title elements
  // The hit code of the title element at a point of the image; 0 for none.
  virtual int TitleElementAt(vcl::TPoint P) const = 0;
  virtual void SetHotElement(int Code, bool Repaint) = 0;
  virtual void PressElement(int Code) = 0;
  // The main form's border window is being hidden by the system's rules (the form is not being
  // minimised): true when the form's whole picture (frame, shadow and client) then fades out in
  // its place, false when the hide animation is not wanted.
  virtual bool FadeOutBorderPicture() = 0;
  // A rubber frame of the form (outline sizing) runs, and ends where the screen point is; the
  // form then takes its bounds, which may take the border form away.
  virtual bool OutlineRunning() const = 0;
  virtual void EndOutline(vcl::TPoint Screen) = 0;
  // A double click on the border window's caption: the form maximised, or restored when it is
  // maximised or minimised, and the system menu's items brought up to date. The command may
  // take the border form away: the border form calls it last.
  virtual void CaptionDoubleClicked() = 0;
  // A double click on a title-bar item (a hit code): it turns hot, is pressed and clicked. Its
  // click may take the border form away (or the form): the border form calls it last.
  virtual void TitleBarItemDoubleClicked(int Code) = 0;
  // Frees the glow animations of the title's buttons and items.
  virtual void KillAnimations() = 0;
  // The application's own answer to a hit test; 0 for none.
  virtual int ExtHitTest(vcl::TMessage& Message) = 0;
  // The skinned system menu; nil for none.
  virtual TsSystemMenu* SystemMenu() const = 0;

  // ---- the form's own scroll bars and the size grip
  virtual TqvShownScrollBars ShownScrollBars() const = 0;
  // The width of the vertical bar and the height of the horizontal one in the frame.
  virtual vcl::TSize ScrollBarsExtent() const = 0;
  virtual bool GripVisible() const = 0;
  // The size grip glyph's top-left in the image.
  virtual vcl::TPoint GripPos(int MaskIndex) const = 0;

  // ---- glued forms and snapping
  virtual bool ScreenSnap() const = 0;
  // A new top-left corrected to the edges near it.
  virtual void SnapToForms(int& X, int& Y) = 0;
  // The glued forms follow the border window.
  virtual void MoveGluedForms() = 0;
};

}  // namespace skin_layered
