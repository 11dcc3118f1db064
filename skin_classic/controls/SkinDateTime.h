// TSkinDateTime: a date-time picker with the flat border and a skinned arrow (TArrowButton,
// the "ComboxArrow" element) laid over its drop-down button. The arrow only shows: the mouse
// passes through it to the picker's own button, which opens the calendar as it always does.
// Without the arrow's picture the picker's own button shows.
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
  // Over the picker's button, shown while the skin has the arrow's picture.
  void UpdatePosition();
  bool HotNow() const { return hot_; }
  void SetHot(bool Value);

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
  void UpdateSkin() override;

  TArrowButton* Arrow() const { return FArrow.get(); }

 private:
  void WMSize();
  void WMMouseMove(const vcl::TMessage& Message);
  void WMMouseLeave();
  void MakeArrow();

  TOwnedObject<TArrowButton> FArrow;
};

}  // namespace winskin
