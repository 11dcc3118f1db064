// TSkinDateTime: a date-time picker with the flat border and a skinned arrow (TArrowButton,
// the "ComboxArrow" element) laid over its drop-down button; a press on the arrow goes on to
// the picker, which opens its calendar.
#pragma once

#include "classlib/controls/Controls.h"
#include "skin_classic/controls/SkinControl.h"

namespace winskin {

class TSkinDateTime;

class TArrowButton : public vcl::TCustomControl {
  VCL_CLASS(TArrowButton, TCustomControl)

 public:
  explicit TArrowButton(vcl::TComponent* AOwner);

  // Lays the arrow over the picker's button.
  void Attach(TSkinDateTime* Skinner, HWND Picker);
  void UpdatePosition();
  bool HotNow() const { return hot_; }

  void Dispatch(vcl::TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  int FArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
  TSkinDateTime* FSkinner = nullptr;
  HWND FTarget = nullptr;
  bool hot_ = false;
};

class TSkinDateTime : public TSkinControl {
  VCL_CLASS(TSkinDateTime, TSkinControl)

 public:
  explicit TSkinDateTime(vcl::TComponent* AOwner);
  ~TSkinDateTime() override;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;

  TArrowButton* Arrow() const { return FArrow.get(); }

 private:
  void MakeArrow();
  TOwnedObject<TArrowButton> FArrow;
};

}  // namespace winskin
