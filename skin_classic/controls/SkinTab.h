// Tab controls and their pages painted from the skin's "Tabs" element (frames side by side:
// 1 normal, 2 selected; its second image, or the "Tab.Pane" element's, frames the pages):
//   TSkinTab       page controls and tab controls of the system tab class, tabs on any side;
//                  with Tag 7777 a page control's tabs carry close marks
//   TSkinTabBtn    tab controls whose tabs are buttons (frames of the button image)
//   TSkinTabSheet  the pages themselves
//   TSkinAdvPage   page controls that publish tab background pictures
// A strip of tabs is always drawn lying flat with its tabs pointing up and turned to its side
// afterwards, so the tab image serves all four positions.
#pragma once

#include <memory>
#include <vector>

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

// A page control's Tag that gives its tabs close marks.
inline constexpr int kCloseMarksTag = 7777;

// Where the tabs are (from the window style).
enum class TTabSide : uint8_t { Top = 0, Bottom = 1, Left = 2, Right = 3 };
TTabSide TabSideOfStyle(LONG_PTR Style);

// A tab's rectangle (client coordinates of a control of Width x Height) on the flat strip
// of its side; Display is the page area the strip lies against.
TRect TabToStrip(const TRect& Tab, TTabSide Side, const TRect& Display, int Width, int Height);
// The strip's rectangle in the control, and the flat strip's size.
TRect StripRect(TTabSide Side, const TRect& Display, int Width, int Height);

// The first child window of the system's up-down class; nil when none.
HWND FindUpDownChild(HWND Window);

// Image (when it fits) and text of one tab in Rect: Align 0 left, 1 centred, 2 right. The
// text breaks into lines unless SingleLine (header sections).
void DrawTabItem(vcl::TCanvas* Canvas, const TRect& Rect, int Align, vcl::StringView Text, int ImageIndex,
                 HIMAGELIST ImageList, bool Enabled = true, bool RightToLeft = false, bool SingleLine = false);
// Text of one tab, centred vertically (and across with Align 1, at the right with Align 2).
void DrawTabText(vcl::TCanvas* Canvas, const TRect& Rect, int Align, bool Enabled, vcl::StringView Text);
// The font a skinner draws a control's text in: its "Font", else the window's.
void AssignFont(vcl::TFont* Font, const vcl::TControl* Control, HWND Window);

class TSkinTab : public TSkinControl {
  VCL_CLASS(TSkinTab, TSkinControl)

 public:
  explicit TSkinTab(vcl::TComponent* AOwner);
  ~TSkinTab() override;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) override;
  void RestoreControl() override;
  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  void UpdateSkin() override;
  // The skin's tab picture.
  bool HasPicture() const override;
  // The tab under the mouse (-1: none); it shows the tab image's hot frame.
  int HotTab() const { return hot_tab_; }

  TTabSide Position() const { return FPosition; }
  bool CloseButtons() const { return FCloseButtons; }
  // Close marks of the tabs as last painted, in client coordinates (empty: none).
  const std::vector<TRect>& CloseRects() const { return FCloseRects; }
  vcl::TBitmap* TabImage() const { return FTabImage.get(); }
  vcl::TBitmap* SheetImage() const { return FSheetImage.get(); }

 protected:
  // The tab and sheet images for the tabs' side.
  void PrepareImages();
  // The up-down child (the strip's scroll arrows), and whether it shows.
  bool FindUpDown();
  // Closes the page of a close mark under a client point: the form may keep it.
  bool CloseMarkClick(vcl::TPoint At);
  // The canvas font: the control's, else the window's.
  void SetCanvasFont();

  std::vector<TRect> FCloseRects;
  TTabSide FPosition = TTabSide::Top;
  bool FUnicode2 = false;
  std::unique_ptr<vcl::TBitmap> FTabImage;
  std::unique_ptr<vcl::TBitmap> FSheetImage;
  std::unique_ptr<vcl::TBitmap> FStrip;
  HWND FUpDown = nullptr;  // the strip's up-down window
  bool FCloseButtons = false;
  int hot_tab_ = -1;

 private:
  void SetHotTab(int Tab);
  void WMMouseMove(const vcl::TMessage& Message);
  void Prepare();

  TRect tab_margins_;    // the tab image's margins, turned with it
  TRect sheet_margins_;  // the sheet image's
};

class TSkinTabBtn : public TSkinControl {
  VCL_CLASS(TSkinTabBtn, TSkinControl)

 public:
  explicit TSkinTabBtn(vcl::TComponent* AOwner);
  ~TSkinTabBtn() override;

  bool BeforeProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  // The skin's button picture (its tabs are button faces).
  bool HasPicture() const override;

 private:
  std::unique_ptr<vcl::TBitmap> buffer_;
};

class TSkinTabSheet : public TSkinControl {
  VCL_CLASS(TSkinTabSheet, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  bool BeforeProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;

 private:
  void WMEraseBkgnd(vcl::TMessage& Message);
};

class TSkinAdvPage : public TSkinControl {
  VCL_CLASS(TSkinAdvPage, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void RestoreControl() override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  void UpdateSkin() override;

  // Handed over by the control mapping: 4 for page controls that publish "TabBackGround" and
  // "TabBackGroundActive".
  int FPageKind = 0;

 private:
  void MakeTabPictures();
  HWND FUpDown = nullptr;
};

}  // namespace winskin
