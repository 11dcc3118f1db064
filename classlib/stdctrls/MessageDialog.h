// Message dialogs: a form of the class TMessageForm (its window class too, which the skin
// engines recognise) with the kind's icon, the message and a row of buttons, shown modally by
// MessageDlg.
#pragma once

#include "classlib/forms/Forms.h"

namespace vcl {

VCL_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
using enum TMsgDlgType;

VCL_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
using enum TMsgDlgBtn;
using TMsgDlgButtons = Set<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

class TMessageForm : public TForm {
  VCL_CLASS(TMessageForm, TForm)
 public:
  // A form without a description of its own.
  explicit TMessageForm(TComponent* AOwner);
  ~TMessageForm() override;

  TMsgDlgType DlgType() const { return dlg_type_; }

 protected:
  void Paint() override;

 private:
  friend TForm* CreateMessageDialog(const String&, TMsgDlgType, TMsgDlgButtons);
  TMsgDlgType dlg_type_ = mtCustom;
  HICON icon_ = nullptr;  // a shared system icon, not destroyed
  TRect icon_rect_;
};

// The dialog, owned by the application and not yet shown: the caption names the kind
// ("Warning", "Error", "Information", "Confirm"; the application's title for mtCustom), the
// buttons are named and captioned after their kind ("OK", "&Yes", ...) and end the modal
// showing with their result; OK (else Yes) is the default button, Cancel (else No, else OK)
// answers Escape.
TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows the dialog modally in the middle of the screen (at X, Y when both are 0 or more) and
// answers the pressed button's modal result.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
// The message with an OK button, captioned with the application's title.
void ShowMessage(const String& Msg);

}  // namespace vcl
