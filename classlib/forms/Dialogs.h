// Dialogs: the common colour dialog. Every common dialog runs through one replaceable function
// (tests answer it without a modal dialog waiting for a user).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <memory>

#include "classlib/rtl/Component.h"
#include "classlib/graphics/GraphicsColors.h"
#include "classlib/rtl/StringList.h"

namespace vcl {

class TCommonDialog : public TComponent {
  VCL_CLASS(TCommonDialog, TComponent)

 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

  // Shows the dialog modally, owned by the active form's window (else the application's);
  // true when the user confirmed it.
  virtual bool Execute();
  virtual bool Execute(HWND ParentWnd) = 0;
};

VCL_ENUM(TColorDialogOption, cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor)
using enum TColorDialogOption;
using TColorDialogOptions = Set<TColorDialogOption>;

// The system's colour chooser. Color is the colour shown first and, after OK, the one chosen;
// Cancel changes nothing. CustomColors holds the sixteen custom colours as "ColorA=RRGGBB"
// ... "ColorP=..." items (hexadecimal colour values, blue in the high byte).
class TColorDialog : public TCommonDialog {
  VCL_CLASS(TColorDialog, TCommonDialog)

 public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;

  using TCommonDialog::Execute;
  bool Execute(HWND ParentWnd) override;

  TColor Color() const { return color_; }
  void SetColor(TColor Value) { color_ = Value; }
  TStrings* CustomColors() const { return custom_colors_.get(); }
  void SetCustomColors(TStrings* Value) { custom_colors_->Assign(Value); }
  TColorDialogOptions Options() const { return options_; }
  void SetOptions(TColorDialogOptions Value) { options_ = Value; }

 private:
  TColor color_ = clBlack;
  std::unique_ptr<TStringList> custom_colors_;
  TColorDialogOptions options_;
};

// Runs the colour chooser with its parameters (ChooseColorW by default); true on OK, with the
// choice in rgbResult and lpCustColors.
using TChooseColorFunction = std::function<bool(CHOOSECOLORW& Params)>;
// Returns the previous function; nullptr restores the default.
TChooseColorFunction SetChooseColorFunction(TChooseColorFunction Function);

}  // namespace vcl
