// Skinners of display-type common controls:
//   TSkinTrackBar   the channel ("Track", "TRACKVERT" in three parts) and the thumb
//                   ("Trackbar.ThumbHorz", "Trackbar.ThumbVert") through the control's own
//                   custom-draw notifications; the tick marks stay the control's
//   TSkinProgress   background and bar from "Progress" (with "Progress.Chunk" in style 1)
//   TSkinStatusBar  panels on the "StatusBarEdges" frames by bevel, their texts, the size grip
#pragma once

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

// The filled share of a progress bar Width wide: from Low to High, nothing at or below Low.
int ProgressFill(int Width, int Position, int Low, int High);

class TSkinTrackBar : public TSkinControl {
  VCL_CLASS(TSkinTrackBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  bool BeforeProc(vcl::TMessage& Message) override;
  // The skin changed: the control draws itself again (the focus stays where it is).
  void UpdateSkin() override;

 private:
  // The custom-draw answer for one notification.
  LRESULT CustomDraw(const NMCUSTOMDRAW& Draw);
  // False when the skin has no picture of the channel (nothing drawn).
  bool DrawChannel(HDC DC);
  void DrawThumb(HDC DC);
};

class TSkinProgress : public TSkinControl {
  VCL_CLASS(TSkinProgress, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  bool BeforeProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  // The skin's progress picture.
  bool HasPicture() const override { return ProgressElement() != nullptr; }

  // The bar's length as last painted (along the bar).
  int FilledLength() const { return filled_; }

 private:
  TDataSkinObject* ProgressElement() const;
  int filled_ = 0;
};

class TSkinStatusBar : public TSkinControl {
  VCL_CLASS(TSkinStatusBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  bool BeforeProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;

 private:
  // One panel's face and text into DC over Face (window coordinates).
  void DrawPanel(HDC DC, const TRect& Face, int Bevel, int Align, bool Text, vcl::StringView Caption);
};

}  // namespace winskin
