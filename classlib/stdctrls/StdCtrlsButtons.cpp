// Push buttons, check boxes and radio buttons: superclasses of the system BUTTON class whose
// clicks come back from the parent as CN_COMMAND.
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

// A check box's alignment: the first two of TAlignment's.
const TEnumTypeInfo& LeftRightTypeInfo() {
  const std::vector<StringView>& names = EnumTypeInfo(TAlignment{}).Names;
  static const TEnumTypeInfo info{L"TLeftRight", std::vector<StringView>(names.begin(), names.begin() + 2)};
  return info;
}

VCL_CLASS_INFO(TButtonControl) {}

VCL_CLASS_INFO(TButton) {
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  p.Bool<&TButton::Cancel, &TButton::SetCancel>(L"Cancel", false);
  publish::Caption(p);
  publish::Cursor(p);
  p.Bool<&TButton::Default, &TButton::SetDefault>(L"Default", false);
  publish::Enabled(p);
  publish::Font(p);
  p.Integer<&TButton::ModalResult, &TButton::SetModalResult>(L"ModalResult", mrNone);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

VCL_CLASS_INFO(TCustomCheckBox) {}

VCL_CLASS_INFO(TCheckBox) {
  p.Enum<&TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment>(L"Alignment", LeftRightTypeInfo(),
                                                                      static_cast<int64_t>(taRightJustify));
  p.Bool<&TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed>(L"AllowGrayed", false);
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  publish::Caption(p);
  p.Bool<&TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked>(L"Checked", false);
  publish::Color(p, clBtnFace);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Enum<&TCustomCheckBox::State, &TCustomCheckBox::SetState>(L"State", static_cast<int64_t>(cbUnchecked));
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

VCL_CLASS_INFO(TRadioButton) {
  p.Enum<&TRadioButton::Alignment, &TRadioButton::SetAlignment>(L"Alignment", LeftRightTypeInfo(),
                                                                static_cast<int64_t>(taRightJustify));
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  publish::Caption(p);
  p.Bool<&TRadioButton::Checked, &TRadioButton::SetChecked>(L"Checked", false);
  publish::Color(p, clBtnFace);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

namespace {

bool IsClickNotification(const TMessage& Message) { return HIWORD(Message.WParam) == BN_CLICKED; }

DWORD TextSideStyle(TAlignment Alignment) { return Alignment == taLeftJustify ? BS_LEFTTEXT : 0; }

}  // namespace

// ---------------------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  // The system button captures the mouse and reports its own clicks.
  SetControlStyle({csSetCaption, csDoubleClicks});
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
}

// ---------------------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
  TButtonControl::CreateWnd();
  active_ = default_;
}

void TButton::SetDefault(bool Value) {
  if (default_ == Value) return;
  default_ = Value;
  if (!HandleAllocated()) return;
  // The form tells every button again which one answers Enter now.
  if (TCustomForm* form = GetParentForm(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(form->ActiveControl())));
}

void TButton::SetButtonStyle(bool ADefault) {
  if (!HandleAllocated()) return;
  const LONG_PTR style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_TYPEMASK) != style)
    SendMessageW(Handle(), BM_SETSTYLE, static_cast<WPARAM>(style), 1);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modal_result_);
  TButtonControl::Click();
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (IsClickNotification(Message)) Click();
      return;
    case CM_DIALOGKEY: {
      const bool enter = Message.WParam == VK_RETURN && active_;
      const bool escape = Message.WParam == VK_ESCAPE && cancel_;
      if ((enter || escape) && KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    }
    case CM_FOCUSCHANGED: {
      // The focused button answers Enter; with another control focused, the default one.
      auto* focused = reinterpret_cast<TControl*>(Message.LParam);
      active_ = dynamic_cast<TButton*>(focused) ? focused == this : default_;
      SetButtonStyle(active_);
      break;
    }
    default:
      break;
  }
  TButtonControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= BS_3STATE | TextSideStyle(alignment_);
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
  if (Value == taCenter || alignment_ == Value) return;
  alignment_ = Value;
  RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (state_ == Value) return;
  state_ = Value;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
  Changed();
  if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allow_grayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    if (IsClickNotification(Message)) Toggle();
    return;
  }
  TButtonControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= BS_RADIOBUTTON | TextSideStyle(alignment_);
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment Value) {
  if (Value == taCenter || alignment_ == Value) return;
  alignment_ = Value;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  // Only the checked button of a group is a tab stop.
  SetTabStop(Value);
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  Changed();
  if (!Value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  if (!ClicksDisabled()) Click();
}

void TRadioButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    switch (HIWORD(Message.WParam)) {
      case BN_CLICKED: SetChecked(true); break;
      case BN_DOUBLECLICKED: DblClick(); break;
      default: break;
    }
    return;
  }
  TButtonControl::Dispatch(Message);
}

}  // namespace vcl
