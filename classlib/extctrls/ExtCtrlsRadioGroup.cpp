// TCustomRadioGroup / TRadioGroup: a group box with one real radio button child per item,
// laid out in columns. The group's OnClick fires when its item index changes through a
// button (the user's choice, or an item index set in code, which checks that button).
#include <algorithm>

#include "classlib/extctrls/ExtCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TGroupButton) {}

VCL_CLASS_INFO(TCustomRadioGroup) {}

VCL_CLASS_INFO(TRadioGroup) {
  publish::Align(p);
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  publish::Caption(p);
  publish::Color(p, clBtnFace);
  p.Integer<&TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns>(L"Columns", 1);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  p.Integer<&TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex>(L"ItemIndex", -1);
  p.Object<&TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems>(L"Items", TStrings::StaticClass());
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  publish::Visible(p);
  p.Event<&TControl::OnClick>(L"OnClick");
  publish::OnContextPopup(p);
  p.Event<&TWinControl::OnEnter>(L"OnEnter");
  p.Event<&TWinControl::OnExit>(L"OnExit");
}

// ---------------------------------------------------------------------------------------
// TGroupButton

TGroupButton::TGroupButton(TCustomRadioGroup* Group) : TRadioButton(Group), group_(Group) {
  SetVisible(false);  // shown once the group has placed it
  SetEnabled(Group->Enabled());
  SetParentShowHint(false);
  SetParent(Group);
}

TGroupButton::~TGroupButton() {
  if (group_) group_->ButtonGone(this);
}

void TGroupButton::Click() {
  TRadioButton::Click();
  if (group_) group_->ButtonClick(this);
}

// ---------------------------------------------------------------------------------------
// TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), items_(std::make_unique<TStringList>()) {
  // Clicks come from the buttons only.
  SetControlStyle({csSetCaption, csDoubleClicks});
  items_->OnChange = TNotifyEvent::Bind<&TCustomRadioGroup::ItemsChange>(this);
}

TCustomRadioGroup::~TCustomRadioGroup() {
  for (TGroupButton* b : buttons_) b->group_ = nullptr;
}

void TCustomRadioGroup::BeforeDestruction() {
  // The buttons go with the group's children; none of them reports back to a group that is
  // going away.
  for (TGroupButton* b : buttons_) b->group_ = nullptr;
  buttons_.clear();
  TCustomGroupBox::BeforeDestruction();
}

TRadioButton* TCustomRadioGroup::Buttons(int Index) const {
  if (Index < 0 || Index >= ButtonCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return buttons_[static_cast<size_t>(Index)];
}

void TCustomRadioGroup::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    item_index_ = Value;  // the buttons come with the items, once loaded
    return;
  }
  Value = std::clamp(Value, -1, ButtonCount() - 1);
  if (item_index_ == Value) return;
  if (item_index_ >= 0) buttons_[static_cast<size_t>(item_index_)]->SetChecked(false);
  item_index_ = Value;
  // Checking the button clicks it, and its click is the group's.
  if (item_index_ >= 0) buttons_[static_cast<size_t>(item_index_)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int Value) {
  Value = std::clamp(Value, 1, 16);
  if (columns_ == Value) return;
  columns_ = Value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ButtonClick(TGroupButton* Button) {
  if (updating_) return;
  const auto it = std::find(buttons_.begin(), buttons_.end(), Button);
  if (it == buttons_.end()) return;
  item_index_ = static_cast<int>(it - buttons_.begin());
  Click();
}

void TCustomRadioGroup::ButtonGone(TGroupButton* Button) {
  const auto it = std::find(buttons_.begin(), buttons_.end(), Button);
  if (it == buttons_.end()) return;
  const int index = static_cast<int>(it - buttons_.begin());
  buttons_.erase(it);
  if (item_index_ == index)
    item_index_ = -1;
  else if (item_index_ > index)
    --item_index_;
}

void TCustomRadioGroup::ItemsChange(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  if (item_index_ >= items_->Count()) item_index_ = items_->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  if (item_index_ >= items_->Count()) item_index_ = items_->Count() - 1;
  UpdateButtons();
}

// One button per item, captioned with it; the checked one follows the item index without
// a click.
void TCustomRadioGroup::UpdateButtons() {
  SetButtonCount(items_->Count());
  for (int i = 0; i < ButtonCount(); ++i) buttons_[static_cast<size_t>(i)]->SetCaption(items_->Strings(i));
  updating_ = true;
  try {
    for (int i = 0; i < ButtonCount(); ++i) buttons_[static_cast<size_t>(i)]->SetChecked(i == item_index_);
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::SetButtonCount(int Count) {
  while (ButtonCount() < Count) buttons_.push_back(new TGroupButton(this));
  while (ButtonCount() > Count) TObject::Free(buttons_.back());  // leaves the list itself
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty() || ComponentState().Contains(csLoading)) return;
  TEXTMETRICW metrics{};
  {
    SelectGuard font(MeasureDC(), Font()->Handle());
    GetTextMetricsW(MeasureDC(), &metrics);
  }
  const int count = ButtonCount();
  const int perColumn = (count + columns_ - 1) / columns_;
  const int buttonWidth = (Width() - 10) / columns_;
  const int space = Height() - metrics.tmHeight - 5;
  const int buttonHeight = space / perColumn;
  const int topMargin = metrics.tmHeight + 1 + (space % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    TGroupButton* b = buttons_[static_cast<size_t>(i)];
    b->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                 buttonHeight);
    b->SetVisible(true);
  }
}

void TCustomRadioGroup::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool resized = AWidth != Width() || AHeight != Height();
  TCustomGroupBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  // A window reports its new size (WM_SIZE); without one the buttons are placed now.
  if (resized && !HandleAllocated()) ArrangeButtons();
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TCustomGroupBox::Dispatch(Message);
      ArrangeButtons();
      return;
    case CM_FONTCHANGED:
      TCustomGroupBox::Dispatch(Message);
      ArrangeButtons();
      return;
    case CM_ENABLEDCHANGED:
      for (TGroupButton* b : buttons_) b->SetEnabled(Enabled());
      TCustomGroupBox::Dispatch(Message);
      return;
    default:
      TCustomGroupBox::Dispatch(Message);
  }
}

}  // namespace vcl
