// TSkinEdit: edits and memos get a flat border from the skin's colours in place of their
// sunken edge, and an up-down control living inside the edit is skinned too.
#pragma once

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

class TSkinUpDown;

// The flat border of edits, combo boxes and date pickers over a window that has a border
// (window and client differ both ways): a frame in the skin's line colour, then WhiteFrames
// white frames inside it.
void DrawFlatBorder(HDC DC, HWND Window, vcl::TColor Line, int WhiteFrames);

class TSkinEdit : public TSkinControl {
  VCL_CLASS(TSkinEdit, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;

  // The skinner of the up-down inside, while it is skinned.
  TSkinUpDown* UpDown() const;

 private:
  void CMPaintControlInto(vcl::TMessage& Message);
  // The up-down child window (a spin or up-down class) gets a skinner of its own.
  void FindUpDown();
  // The border as a printed copy of the window shows it.
  void PrintBorder(HDC DC);

  HWND FUpDown = nullptr;  // its skinner belongs to the control and is listed by the form
};

}  // namespace winskin
