// TCustomComboBox / TComboBox: a superclass of the system COMBOBOX class. The control keeps
// its items itself and mirrors them into the window whenever one exists, so items, item
// index and text work before the window is made (form descriptions set them first). The
// owner-drawn styles are the system's: its WM_MEASUREITEM and WM_DRAWITEM come back as
// CN_MEASUREITEM and CN_DRAWITEM and are painted on the control's canvas.
#include <algorithm>

#include "classlib/stdctrls/ListItems.h"
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TCustomComboBox) {}

VCL_CLASS_INFO(TComboBox) {
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bevels(p);
  publish::Bounds(p);
  p.Enum<&TCustomComboBox::CharCase, &TCustomComboBox::SetCharCase>(L"CharCase", static_cast<int64_t>(ecNormal));
  publish::Color(p, clWindow);
  publish::Cursor(p);
  p.Integer<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>(L"DropDownCount", 8);
  publish::Enabled(p);
  publish::Font(p);
  p.Integer<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>(L"ItemHeight", 16);
  p.Integer<&TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex>(L"ItemIndex", -1);
  p.Integer<&TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength>(L"MaxLength", 0);
  publish::ParentColor(p, false);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Bool<&TCustomComboBox::Sorted, &TCustomComboBox::SetSorted>(L"Sorted", false);
  p.Enum<&TCustomComboBox::Style, &TCustomComboBox::SetStyle>(L"Style", static_cast<int64_t>(csDropDown));
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Text(p);
  publish::Visible(p);
  p.Object<&TCustomComboBox::Items, &TCustomComboBox::SetItems>(L"Items", TStrings::StaticClass());
  p.Event<&TCustomComboBox::OnChange>(L"OnChange");
  p.Event<&TCustomComboBox::OnCloseUp>(L"OnCloseUp");
  p.Event<&TCustomComboBox::OnDrawItem>(L"OnDrawItem");
  p.Event<&TCustomComboBox::OnDropDown>(L"OnDropDown");
  p.Event<&TCustomComboBox::OnMeasureItem>(L"OnMeasureItem");
  p.Event<&TCustomComboBox::OnSelect>(L"OnSelect");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

// ---------------------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner),
      items_(std::make_unique<TItemStrings>(this, kComboBoxItemMessages)),
      canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
  // The combo box tracks the mouse itself (its list captures it while dropped).
  SetControlStyle({csSetCaption, csDoubleClicks, csFixedHeight});
  SetBounds(0, 0, 145, 25);
  SetTabStop(true);
  SetParentColor(false);
}

TCustomComboBox::~TCustomComboBox() = default;

TStrings* TCustomComboBox::Items() const { return items_.get(); }

void TCustomComboBox::SetItems(TStrings* Value) { items_->Assign(Value); }

bool TCustomComboBox::Sorted() const { return items_->Sorted(); }

void TCustomComboBox::SetSorted(bool Value) {
  if (Sorted() == Value) return;
  // While loading, the stored item index already counts in the sorted order.
  if (ComponentState().Contains(csLoading)) {
    items_->SetSorted(Value);
    return;
  }
  const int index = ItemIndex();
  const String chosen = index >= 0 ? items_->Strings(index) : String();
  const String text = Text();
  items_->SetSorted(Value);
  // The chosen item moved with the sorting: it is found again by its text.
  const int moved = index >= 0 ? items_->IndexOf(chosen) : -1;
  if (!HandleAllocated()) {
    item_index_ = moved;
    return;
  }
  items_->FillWindow();
  if (moved >= 0)
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(moved), 0);
  else
    SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (style_) {
    case csDropDown: Params.Style |= CBS_DROPDOWN; break;
    case csSimple: Params.Style |= CBS_SIMPLE; break;
    case csDropDownList: Params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  if (char_case_ == ecUpperCase) Params.Style |= CBS_UPPERCASE;
  if (char_case_ == ecLowerCase) Params.Style |= CBS_LOWERCASE;
}

void TCustomComboBox::CreateWnd() {
  const String text = Text();
  TWinControl::CreateWnd();
  HWND wnd = Handle();
  SendMessageW(wnd, CB_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
  items_->FillWindow();
  if (item_index_ >= 0 && item_index_ < items_->Count())
    SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
  else if (HasEditField())
    SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomComboBox::DestroyWnd() {
  if (HandleAllocated()) item_index_ = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
  TWinControl::DestroyWnd();
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  // The description gives the item index before the items: it is chosen now.
  const int index = item_index_;
  item_index_ = -1;
  if (index != -1) SetItemIndex(index);
}

int TCustomComboBox::ItemIndex() const {
  if (ComponentState().Contains(csLoading) || !HandleAllocated()) return item_index_;
  return static_cast<int>(Send(CB_GETCURSEL));
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    item_index_ = Value;
    return;
  }
  if (Value < -1 || Value >= items_->Count()) Value = -1;
  if (HandleAllocated()) {
    if (ItemIndex() != Value) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
    return;
  }
  item_index_ = Value;
  // As in the window: choosing an item shows its text, choosing none clears the text.
  SetText(Value >= 0 ? items_->Strings(Value) : String());
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  max_length_ = Value;
  if (HandleAllocated()) SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomComboBox::SetCharCase(TEditCharCase Value) {
  if (char_case_ == Value) return;
  char_case_ = Value;
  RecreateWnd();
}

bool TCustomComboBox::DroppedDown() const {
  return HandleAllocated() && Send(CB_GETDROPPEDSTATE);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  SendMessageW(Handle(), CB_SHOWDROPDOWN, Value ? TRUE : FALSE, 0);
}

void TCustomComboBox::Clear() {
  items_->Clear();
  item_index_ = -1;
  SetText(String());
}

// The dropped list shows DropDownCount items (the window's own height decides it). Items are
// as high as the list draws them in the control's font; owner-drawn ones are ItemHeight high.
void TCustomComboBox::AdjustDropDown() {
  const int count = std::clamp(items_->Count(), 1, std::max(drop_down_count_, 1));
  int itemHeight = item_height_;
  if (style_ != csOwnerDrawFixed && style_ != csOwnerDrawVariable) {
    const LRESULT drawn = SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0);
    if (drawn > 0) itemHeight = static_cast<int>(drawn);
  }
  SetWindowPos(Handle(), nullptr, 0, 0, Width(), itemHeight * count + Height() + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect) {
    Changed();
    OnSelect(this);
  } else {
    Change();
  }
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::SetItemHeight(int Value) {
  if (Value <= 0 || item_height_ == Value) return;
  item_height_ = Value;
  // The system asks the owner-drawn heights once, when it makes the window.
  if (IsOwnerDraw()) RecreateWnd();
}

HWND TCustomComboBox::EditHandle() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  return GetComboBoxInfo(Handle(), &info) && HasEditField() ? info.hwndItem : nullptr;
}

HWND TCustomComboBox::ListHandle() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  return GetComboBoxInfo(Handle(), &info) ? info.hwndList : nullptr;
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  canvas_->FillRect(Rect);
  if (Index >= 0 && Index < items_->Count()) canvas_->TextOut(Rect.Left + 2, Rect.Top, items_->Strings(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::CNDrawItem(TMessage& Message) {
  const auto* info = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  if (!info) return;
  PaintOwnerDrawnItem(*canvas_, *this, *info,
                      [this](int Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
  Message.Result = TRUE;
}

void TCustomComboBox::CNMeasureItem(TMessage& Message) {
  auto* info = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (!info) return;
  AnswerMeasureItem(*info, item_height_, style_ == csOwnerDrawVariable,
                    [this](int Index, int& Height) { MeasureItem(Index, Height); });
  Message.Result = TRUE;
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case CBN_DROPDOWN:
      DropDown();
      AdjustDropDown();
      break;
    case CBN_CLOSEUP:
      CloseUp();
      break;
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_SELCHANGE: {
      // The edit field still shows the old text when the list reports the choice.
      const int index = ItemIndex();
      if (index >= 0 && HasEditField()) SetText(items_->Strings(index));
      Click();
      Select();
      break;
    }
    default:
      break;
  }
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: return CNCommand(Message);
    case CN_DRAWITEM: return CNDrawItem(Message);
    case CN_MEASUREITEM: return CNMeasureItem(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
