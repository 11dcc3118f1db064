// Static text on the system STATIC class, in a window of the library's class name
// ("TStaticText"): a caption in a window of its own, sized to the text while AutoSize is on,
// whose accelerator ("&x") focuses FocusControl.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

VCL_ENUM(TStaticBorderStyle, sbsNone, sbsSingle, sbsSunken)
using enum TStaticBorderStyle;

class TCustomStaticText : public TWinControl {
  VCL_CLASS(TCustomStaticText, TWinControl)
 public:
  explicit TCustomStaticText(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool Value);
  TStaticBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TStaticBorderStyle Value);
  TWinControl* FocusControl() const { return focus_control_; }
  void SetFocusControl(TWinControl* Value);
  // "&" marks the next character as the accelerator unless this is off.
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool Value);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Resizes the control to its text (AutoSize), keeping the edge its alignment holds.
  void AdjustBounds();

 private:
  void CMTextOrFontChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);

  TAlignment alignment_ = taLeftJustify;
  bool auto_size_ = true;
  TStaticBorderStyle border_style_ = sbsNone;
  TWinControl* focus_control_ = nullptr;
  bool show_accel_char_ = true;
};

class TStaticText : public TCustomStaticText {
  VCL_CLASS(TStaticText, TCustomStaticText)
 public:
  using TCustomStaticText::TCustomStaticText;
};

}  // namespace vcl
