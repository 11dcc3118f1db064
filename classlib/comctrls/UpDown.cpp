// TUpDown: a superclass of msctls_updown32.
#include "classlib/comctrls/UpDown.h"

#include <algorithm>

#include <commctrl.h>

#include "classlib/comctrls/ComCtrlsInternal.h"

namespace vcl {

VCL_CLASS_INFO(TUpDown) {
  p.Enum<&TUpDown::AlignButton, &TUpDown::SetAlignButton>(L"AlignButton", static_cast<int64_t>(udRight));
  publish::Anchors(p);
  p.Bool<&TUpDown::ArrowKeys, &TUpDown::SetArrowKeys>(L"ArrowKeys", true);
  p.Object<&TUpDown::Associate, &TUpDown::SetAssociate>(L"Associate", TWinControl::StaticClass());
  publish::Bounds(p);
  publish::Enabled(p);
  publish::Hints(p);
  p.Integer<&TUpDown::Increment, &TUpDown::SetIncrement>(L"Increment", 1);
  p.Integer<&TUpDown::Max, &TUpDown::SetMax>(L"Max", 100);
  p.Integer<&TUpDown::Min, &TUpDown::SetMin>(L"Min", 0);
  p.Enum<&TUpDown::Orientation, &TUpDown::SetOrientation>(L"Orientation", static_cast<int64_t>(udVertical));
  publish::PopupMenu(p);
  p.Integer<&TUpDown::Position, &TUpDown::SetPosition>(L"Position", 0);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  p.Bool<&TUpDown::Thousands, &TUpDown::SetThousands>(L"Thousands", true);
  publish::Visible(p);
  p.Bool<&TUpDown::Wrap, &TUpDown::SetWrap>(L"Wrap", false);
  p.Event<&TUpDown::OnChanging>(L"OnChanging");
  p.Event<&TUpDown::OnClick>(L"OnClick");
  publish::OnContextPopup(p);
  p.Event<&TWinControl::OnEnter>(L"OnEnter");
  p.Event<&TWinControl::OnExit>(L"OnExit");
  p.Event<&TControl::OnMouseDown>(L"OnMouseDown");
  p.Event<&TControl::OnMouseMove>(L"OnMouseMove");
  p.Event<&TControl::OnMouseUp>(L"OnMouseUp");
}

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  // The window tracks the mouse itself and repeats while an arrow is held.
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 17, 25);
}

void TUpDown::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, UPDOWN_CLASSW);
  Params.Style |= UDS_SETBUDDYINT;
  Params.Style |= align_button_ == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
  if (arrow_keys_) Params.Style |= UDS_ARROWKEYS;
  if (!thousands_) Params.Style |= UDS_NOTHOUSANDS;
  if (wrap_) Params.Style |= UDS_WRAP;
  if (orientation_ == udHorizontal) Params.Style |= UDS_HORZ;
}

void TUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyRange();
  ApplyIncrement();
  AttachAssociate();
}

void TUpDown::DestroyWnd() {
  position_ = Position();
  TWinControl::DestroyWnd();
}

void TUpDown::Loaded() {
  TWinControl::Loaded();
  AttachAssociate();
}

void TUpDown::ApplyRange() {
  if (!HasWindow()) return;
  Send(UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  Send(UDM_SETPOS32, 0, position_);
}

void TUpDown::ApplyIncrement() {
  if (!HasWindow()) return;
  UDACCEL accel{0, static_cast<UINT>(std::max(increment_, 1))};
  Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::AttachAssociate() {
  if (!HasWindow() || ComponentState().Contains(csLoading)) return;
  // The system moves the arrows beside the associate and gives it the position as its text.
  Send(UDM_SETBUDDY, associate_ ? reinterpret_cast<WPARAM>(associate_->Handle()) : 0);
  if (associate_) Send(UDM_SETPOS32, 0, position_);
}

void TUpDown::SetAssociate(TWinControl* Value) {
  if (Value == this || associate_ == Value) return;
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = Value;
  if (Value) Value->FreeNotification(this);
  AttachAssociate();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == associate_) {
    associate_ = nullptr;
    if (HasWindow()) Send(UDM_SETBUDDY, 0);
  }
}

int TUpDown::Position() const {
  if (!HasWindow()) return position_;
  BOOL failed = FALSE;
  const auto pos = static_cast<int>(Send(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  return failed ? position_ : pos;
}

void TUpDown::SetPosition(int Value) {
  if (!ComponentState().Contains(csReading)) Value = std::clamp(Value, std::min(min_, max_), std::max(min_, max_));
  position_ = Value;
  if (HasWindow()) Send(UDM_SETPOS32, 0, Value);
}

void TUpDown::SetMin(int Value) {
  if (min_ == Value) return;
  min_ = Value;
  ApplyRange();
}

void TUpDown::SetMax(int Value) {
  if (max_ == Value) return;
  max_ = Value;
  ApplyRange();
}

void TUpDown::SetIncrement(int Value) {
  if (increment_ == Value) return;
  increment_ = Value;
  ApplyIncrement();
}

void TUpDown::SetOrientation(TUDOrientation Value) {
  if (orientation_ == Value) return;
  orientation_ = Value;
  if (!ComponentState().Contains(csReading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton Value) {
  if (align_button_ == Value) return;
  align_button_ = Value;
  RecreateWnd();
}

void TUpDown::SetArrowKeys(bool Value) {
  if (arrow_keys_ == Value) return;
  arrow_keys_ = Value;
  RecreateWnd();
}

void TUpDown::SetThousands(bool Value) {
  if (thousands_ == Value) return;
  thousands_ = Value;
  RecreateWnd();
}

void TUpDown::SetWrap(bool Value) {
  if (wrap_ == Value) return;
  wrap_ = Value;
  RecreateWnd();
}

bool TUpDown::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TUpDown::Click(TUDBtnType Button) {
  if (OnClick) OnClick(this, Button);
}

void TUpDown::HandleNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HasWindow() || header->hwndFrom != Handle()) {
    TWinControl::Dispatch(Message);
    return;
  }
  if (header->code == UDN_DELTAPOS) {
    const auto* info = reinterpret_cast<const NMUPDOWN*>(header);
    const bool allow = CanChange();
    if (allow) last_button_ = info->iDelta >= 0 ? btNext : btPrev;
    pending_click_ = allow;
    Message.Result = allow ? FALSE : TRUE;  // non-zero keeps the position
  }
}

// Sent after every press (also while it repeats), refused or not, moved or not: a click is
// a press that moved the position.
void TUpDown::CNScroll(TMessage& Message) {
  Message.Result = 0;
  if (Message.WParamLo() != SB_THUMBPOSITION) return;
  const int now = Position();
  const bool moved = pending_click_ && now != position_;
  pending_click_ = false;
  position_ = now;
  if (moved) Click(last_button_);
}

void TUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: return HandleNotify(Message);
    case CN_HSCROLL:
    case CN_VSCROLL: return CNScroll(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
