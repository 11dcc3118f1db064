// TqvCaptionButtons, the title-bar buttons of a skinned form in the window image: the records
// of the system buttons and of a maximised MDI child's three buttons on the frame's menu line,
// the glyphs the skin gives them (the big family for framed forms, the small one for dialogs
// and tool windows), their places from the right end of the caption with the user's own
// buttons after them, the caption's icon place and centre line found on the way, and their
// painting in their states. The form's provider owns it and gives it what it asks through
// TqvCaptionButtonsHost.
#pragma once

#include <cstdint>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/forms/TitleElements.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

class TsSkinManager;
class TsSkinProviderBase;
class TsSystemMenu;
class TqvBorderForm;
class TqvCaptionItems;
class TqvFormMeasures;
class TqvImageMeasures;

// What the buttons ask of the form's provider.
class TqvCaptionButtonsHost {
 public:
  virtual ~TqvCaptionButtonsHost() = default;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider as the layers below know it: its form, skin data, caption and shadow sizes.
  virtual TsSkinProviderBase* FrameProvider() = 0;
  // The border form when extended borders are in force; nil otherwise.
  virtual TqvBorderForm* ExtBorderForm() const = 0;
  // The skinned system menu (which buttons show and are enabled); nil for none.
  virtual TsSystemMenu* CurrentSystemMenu() const = 0;
  // The system menu of a form's own provider (an MDI frame's active child); nil for none.
  virtual TsSystemMenu* SystemMenuOf(vcl::TCustomForm* Form) const = 0;
  // The user's buttons.
  virtual TsTitleButtons* TitleButtons() const = 0;
  // The title bar component's items, laid out after the buttons and painted with them.
  virtual TqvCaptionItems& CaptionItems() const = 0;
  // The caption shows its active state.
  virtual bool CaptionActive() const = 0;
  // The clean caption corner under the buttons (nil before it is saved).
  virtual vcl::TBitmap* TitleBackground() const = 0;
  // The form's measures (caption, icon, glyphs, menu line) and the window image's.
  virtual const TqvFormMeasures& Measures() const = 0;
  virtual const TqvImageMeasures& WindowImage() const = 0;
  // The window image's origin on the screen (a hot button's glow window is placed by it).
  virtual vcl::TPoint FormOrigin() = 0;

};

class TqvCaptionButtons {
 public:
  explicit TqvCaptionButtons(TqvCaptionButtonsHost& Host) : host_(Host) {}
  TqvCaptionButtons(const TqvCaptionButtons&) = delete;
  TqvCaptionButtons& operator=(const TqvCaptionButtons&) = delete;

  // ---- the records (image coordinates)
  TsCaptionButton BtnMinimize, BtnMaximize, BtnClose, BtnHelp;
  TsCaptionButton MDIMin, MDIMax, MDIClose;  // a maximised MDI child's, on the frame's menu line
  bool BigButtons = false;     // bsSingle or bsSizeable: the big glyph family with spacing
  int TitleButtonMask = -1;    // "TITLEBUTTON" of GLOBALINFO: the user buttons' background
  vcl::TRect IconRect;         // the caption icon's place
  int TitleCentre = 0;         // the caption's centre line
  int TitleBottom = 0;         // the caption's bottom

  // The glyphs of the seven records chosen for the skin.
  void InitSystemButtons();
  // The places of the icon, the system and user buttons, then the title bar's items laid out
  // in the caption left over.
  void UpdateButtonsRects();
  // The width the buttons take at the right end of the caption, with the skin's right margin.
  int ButtonsBlockWidth();
  // The buttons' own width, and the right margin kept of the skin's beside buttons that wide.
  int ButtonsWidth();
  int RightMargin(int Buttons);
  // The skin's gap after each big button when the buttons laid with it keep their order and
  // stay in the title beside the icon; else none.
  int ButtonsGap();
  int UserButtonWidth(TsTitleButton* Button);
  // All buttons painted into the window image over the clean caption corner, then the title
  // bar's items and a maximised MDI child's buttons.
  void PaintTitleButtons();
  // The button's skin glyph in its state, or the system's button where the skin has none.
  void PaintButton(TsCaptionButton& Button, bool Enabled);
  // A maximise or minimise button that shows the restore glyph now.
  bool ShowsRestore(const TsCaptionButton& Button) const;
  // The skin has no glyph for the button, so the system's button shows in its place; not for
  // a user button that leaves out the skin's background (it shows its picture only).
  bool ShowsSystemFace(const TsCaptionButton& Button) const;
  // The skin's glyphs of the system buttons are drawn for its title band (the sample's white
  // ones for its blue): a skin without the title section (or with one that has no value
  // along its parents) leaves them on a face they were not drawn for, where they may not be
  // seen, and the system's buttons show in their place.
  bool TitleGlyphsShown() const;
  // A user button's own picture centred in its place (lower right by one while pressed), in
  // the window image or in Target whose top-left lies at Origin of the image.
  void PaintUserGlyph(TsTitleButton* Button, vcl::TBitmap* Target = nullptr, vcl::TPoint Origin = {});
  // One button (Code its hit code, User its user button or nil) painted anew in its state
  // over the clean caption corner and copied to the window (or the border window), with the
  // glow window around a hot system button.
  void RepaintButton(int Code, TsCaptionButton& Button, TsTitleButton* User);

 private:
  vcl::TCustomForm* Form() const;
  const TqvFormMeasures& Measures() const;
  TsSystemMenu* SystemMenu() const;
  // The window image (nil without one).
  vcl::TBitmap* Image() const;
  // The buttons' width with Space after each but the close button, the count of those spaces
  // and the narrowest button.
  std::int64_t BlockWidth(std::int64_t Space, int& Spaces, int& Narrowest);
  // The help button stands this much further on than the gap.
  int HelpGroupGap();

  TqvCaptionButtonsHost& host_;
};

}  // namespace skin_layered
