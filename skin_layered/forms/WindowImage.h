// TqvWindowImage, the window image of a skinned form: one 32-bit bitmap (the skin data's cache)
// as large as the window, plus the shadow margins under a border form, holding the frame, the
// caption with its icon, text and buttons, the menu line, the size grip and the client
// background. It rebuilds the picture while it is marked stale, copies the frame strips and the
// client background out of it, keeps the clean caption corner and the menu line's strip that
// single buttons and menu items are repainted from, and knows the image's measures (its size,
// the client's place in it, its origin on the screen). The form's provider owns it and gives it
// what it asks through TqvWindowImageHost.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/FormServices.h"

namespace vcl {
class TCustomForm;
class TMenuItem;
}  // namespace vcl

namespace skin_layered {

class TsCommonData;
class TsSkinManager;
class TsSystemMenu;
class TsTitleIcon;
class TqvFormMeasures;
class TqvBorderForm;
class TqvCaptionButtons;
class TqvCaptionText;

// The owner-draw state of a main-menu item painted into the window image (menu line).
inline constexpr unsigned kMenuLineImageState = 0x500;

// What the window image asks of the form's provider.
class TqvWindowImageHost {
 public:
  virtual ~TqvWindowImageHost() = default;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider as the layers below know it: its form, skin data, caption height.
  virtual TsSkinProviderBase* FrameProvider() = 0;
  // The border form when extended borders are in force; nil otherwise.
  virtual TqvBorderForm* ExtBorderForm() const = 0;
  // A blended move or the hide animation runs: the image is left as it is.
  virtual bool BlendingOrHiding() const = 0;
  // The caption shows its active state.
  virtual bool CaptionActive() const = 0;
  // The title's buttons and text, painted into the image by their own objects.
  virtual TqvCaptionButtons& CaptionButtons() const = 0;
  virtual TqvCaptionText& CaptionText() const = 0;
  // The skinned system menu (which title buttons show); nil until it is made.
  virtual TsSystemMenu* CurrentSystemMenu() const = 0;
  virtual void MakeSystemMenu() = 0;
  // The form's measures: the title's section, buttons and icon, the menu line, the frame and
  // the form's own scroll bars in it, the grip.
  virtual const TqvFormMeasures& Measures() const = 0;
  virtual TsTitleIcon* TitleIcon() const = 0;
  // The menu line's section, and the form's menus hooked for skinned drawing once more (an
  // item came without its painter).
  virtual const vcl::String& MenuLineSkin() const = 0;
  virtual void PrepareMenusAgain() = 0;
  // The provider is the application's MDI frame's (a maximised child's icon on its menu line).
  virtual bool IsMDIProvider() const = 0;
  // A screen point in the image's coordinates.
  virtual vcl::TPoint ImagePointOf(vcl::TPoint Screen) = 0;
  // A maximised form's title is taller than the system's caption + 4: its caption height takes
  // in those 4 pixels.
  virtual bool MaximizedBorderLarge() const = 0;
  // The rebuilt image needs a new window region.
  virtual void MarkRegionStale() = 0;
  // The form of the application's MDI frame (a maximised child's client shows only while it is
  // the frame's active one); nil for none.
  virtual vcl::TCustomForm* MDIFrameForm() const = 0;
  // A WM_PRINT of the form runs (WM_PAINT paints nothing then).
  virtual bool IsPrinting() const = 0;
  // The client background was painted: controls asked to be repainted after it are now.
  virtual void ClientPainted() = 0;
};

class TqvWindowImage final : public TqvImageMeasures {
 public:
  explicit TqvWindowImage(TqvWindowImageHost& Host) : host_(Host) {}
  TqvWindowImage(const TqvWindowImage&) = delete;
  TqvWindowImage& operator=(const TqvWindowImage&) = delete;

  // The clean caption corner under the title buttons, and the menu line's strip (a single
  // button or menu item repaints from them).
  std::unique_ptr<vcl::TBitmap> TitleBgBmp;
  std::unique_ptr<vcl::TBitmap> MenuLineBmp;
  bool FirstPaint = true;       // the image is painted for the first time (or again whole)
  bool FirstPaintDone = false;  // the image was painted with the client area
  // Both pictures freed: they are taken again at the next rebuild.
  void FreeTitlePictures();

  // ---- the rebuild
  // Rebuilds the image when stale; false when the form's parent was not ready (the image
  // stays stale).
  bool PaintAllImage();
  void PaintTitleBackground();
  // With a border form: the skin's extended border and shadow around the image (over all of
  // it with PaintsFrame, then the caption again).
  void PaintExtendedBorder(bool PaintsFrame);
  // False when the system has not laid the menu bar out yet (its items changed since): the
  // items have no place to be painted at.
  bool PaintMenuItems();
  // A main-menu item drawn anew on the menu line of the image and copied to the window.
  void UpdateMenuItemPart(vcl::TMenuItem* Item, vcl::TOwnerDrawState State, const vcl::TRect& R);
  // The caption corner under the title buttons saved into TitleBgBmp.
  void SaveTitleBg(bool AllLines);
  // The caption icon, with a correct alpha in the 32-bit image.
  void PaintTitleIcon();
  // The size grip over the right background, at GripPos in DC.
  void PaintGrip(HDC DC);

  // ---- copies out of the image
  // The frame strips onto the window (WM_NCPAINT's copy): under a border form only the form's
  // own parts (the menu line and its BorderWidth), a borderless sizing form's edges, else the
  // four border strips.
  void PaintFrameStrips();
  // How often the frame strips were put on the window.
  int FramePaints() const { return frame_paints_; }
  // The four border strips of the image onto a window DC (the image rebuilt first when stale).
  void PaintBorders(HDC DC);
  // Graphic controls that let their background show through (a transparent label) get the
  // image's pixels under them; the cache copy leaves all graphic controls out.
  void PaintUnderSeeThroughControls(HDC DC);
  // The client part of the image (or the form's colour) into the DC.
  void PaintClient(HDC DC, bool Children);
  // The client background of WM_ERASEBKGND and WM_PAINT: the client part, the grip and the
  // form's graphic controls.
  void PaintFormBg(HDC DC);
  void PaintFormWM(HDC DC);

  // ---- measures
  vcl::TRect ShadowSize() const override;
  int ImageWidth() const override;
  int ImageHeight() const;
  // The client area's top-left in the image.
  int OffsetX() const override;
  int OffsetY() const override;
  // The height above the client area: frame, caption and menu line.
  int CaptionBottom() const;
  // The image's origin on the screen, and a screen point relative to it.
  vcl::TPoint FormOrigin() const;
  vcl::TPoint ScreenToImage(int X, int Y) const;
  // The size grip glyph's top-left in the image; (0, 0) without an image.
  vcl::TPoint GripPos(int MaskIndex) const;
  // The form's body colour: the FORM section's for the caption state, or the form's own.
  vcl::TColor FormColor() const;
  // The image is missing or not of the window's size.
  bool ImageSizeChanged() const;
  // Twice one picture of the "TITLEBAR" image plus the button block.
  int TitleBarWidth(int MaskIndex) const;

 private:
  TsSkinProviderBase* Provider() const;
  vcl::TCustomForm* Form() const;
  const TqvFormMeasures& Measures() const;
  TsCommonData* SkinData() const;

  TqvWindowImageHost& host_;
  int frame_paints_ = 0;
};

}  // namespace skin_layered
