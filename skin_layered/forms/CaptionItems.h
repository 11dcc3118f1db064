// TqvCaptionItems, the title bar component's items as a skinned form's caption shows them: the
// sections they are painted with, their places in the caption's free area, their painting into
// the window image, the hit codes 2000 + index (the item's place in the collection, hidden
// items counted), presses and releases, the hot state with its fade, and the hint after a
// pause. The form's provider owns it and gives it what it asks through TqvCaptionItemsHost.
#pragma once

#include <memory>

#include "classlib/controls/Timer.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Types.h"

namespace skin_layered {

class TsSkinManager;
class TsSkinProviderBase;
class TsTitleBar;
class TqvTitleBarItem;
class TqvFormMeasures;
class TqvImageMeasures;

// What the items ask of the form's provider.
class TqvCaptionItemsHost {
 public:
  virtual ~TqvCaptionItemsHost() = default;
  // The title bar component of the form; nil for none.
  virtual TsTitleBar* TitleBar() const = 0;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider as the layers below know it: its form, skin data and border form.
  virtual TsSkinProviderBase* FrameProvider() = 0;
  // The form's measures (the icon, the title's section index for the text colours) and the
  // window image's.
  virtual const TqvFormMeasures& Measures() const = 0;
  virtual const TqvImageMeasures& WindowImage() const = 0;
  // The caption shows its active state.
  virtual bool CaptionActive() const = 0;

};

class TqvCaptionItems {
 public:
  explicit TqvCaptionItems(TqvCaptionItemsHost& Host) : host_(Host) {}
  TqvCaptionItems(const TqvCaptionItems&) = delete;
  TqvCaptionItems& operator=(const TqvCaptionItems&) = delete;

  // What the bar is given of the caption: its free area and centre line.
  vcl::TRect TitleBarArea;
  int TitleBarCentre = 0;

  // Gives every item its section and this painter.
  void InitTitleBarItems();
  // The title bar as the caption shows it: nil without one, and while the form is minimised.
  TsTitleBar* ShownTitleBar() const;
  // The bar given Area of the caption (from the icon's right to the buttons) with its centre
  // line, and its items laid out; IconVisible leaves a gap after the icon for left items.
  void ArrangeTitleBar(const vcl::TRect& Area, int Centre);
  // The items painted into the image, the pressed tabs last.
  void PaintTitleBarItems(vcl::TBitmap* Image);
  // An item's background and content into R of Bmp (the window image, or a fade's picture
  // of the item alone).
  void PaintTitleBarItem(TqvTitleBarItem* Item, vcl::TRect R, vcl::TBitmap* Bmp);
  void PaintTitleBarItemContent(TqvTitleBarItem* Item, const vcl::TRect& R, vcl::TBitmap* Bmp);
  // The visible item of a hit code; nil for other codes.
  TqvTitleBarItem* TitleItemByCode(int Code) const;
  // The item under a point of the window image: 2000 + its index; 0 for none, a spacer, an
  // information item, a disabled item or a tab that is down.
  int TitleBarItemAt(vcl::TPoint ImagePoint) const;
  // Item Index normal (0), hot (1) or pressed (2): leaving runs its mouse-leave event and
  // hides its hint, entering its mouse-enter event and starts the hint's pause.
  void SetTitleBarItemState(int Index, int State);
  // The press on item Index (the mouse at the screen point): a drop-down menu is made
  // owner-drawn under skinned popups, then the item's press runs (a drop-down item runs its
  // menu loop here, a tab clicks).
  void TitleBarItemMouseDown(int Index, vcl::TPoint Screen);
  // The release: the item's release, which clicks it when Click (the mouse still over it).
  void TitleBarItemMouseUp(int Index, vcl::TPoint Screen, bool Click);
  // The item's fade toward its current state.
  void StartTitleItemFade(int Code);
  // The pending item hint stopped and the shown one hidden.
  void StopTitleHint();
  // That, and every item's hint hidden (the skin changes or goes).
  void HideTitleHints();
  // The hint's pause timer freed (the provider goes).
  void FreeHintTimer() { title_hint_timer_.reset(); }

 private:
  // The window the items' fades and hints belong to: the border window, else the form's.
  HWND HostWindow() const;

  TqvCaptionItemsHost& host_;
  // The item hint's pause (made on first use) and the item it waits for.
  std::unique_ptr<vcl::TTimer> title_hint_timer_;
  int title_hint_code_ = 0;
};

}  // namespace skin_layered
