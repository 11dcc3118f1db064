// TCustomListBox / TListBox: a superclass of the system LISTBOX class. Items, item index and
// top item work without a window and are carried over when the window is made again.
#include "classlib/stdctrls/ListBox.h"

#include <algorithm>

namespace vcl {

VCL_CLASS_INFO(TCustomListBox) {}

VCL_CLASS_INFO(TListBox) { PublishListBox<TListBox>(p); }

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      items_(std::make_unique<TItemStrings>(this, kListBoxItemMessages, static_cast<TItemStringsOwner*>(this))),
      canvas_(std::make_unique<TControlCanvas>()) {
  // The system list tracks the mouse and reports selections; clicks come from LBN_SELCHANGE.
  SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  canvas_->SetControl(this);
}

TCustomListBox::~TCustomListBox() = default;

TStrings* TCustomListBox::Items() const { return items_.get(); }

void TCustomListBox::SetItems(TStrings* Value) { items_->Assign(Value); }

int TCustomListBox::Count() const { return items_->Count(); }

bool TCustomListBox::Sorted() const { return items_->Sorted(); }

void TCustomListBox::SetSorted(bool Value) {
  if (Sorted() == Value) return;
  const int index = ComponentState().Contains(csLoading) ? -1 : ItemIndex();
  const String chosen = index >= 0 ? items_->Strings(index) : String();
  items_->SetSorted(Value);
  if (ComponentState().Contains(csLoading)) return;
  // The chosen item moved with the sorting: it is found again by its text.
  const int moved = index >= 0 ? items_->IndexOf(chosen) : -1;
  if (HandleAllocated()) items_->FillWindow();
  SetItemIndex(moved);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"LISTBOX");
  Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
  if (style_ == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (style_ == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (multi_select_) Params.Style |= extended_select_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!integral_height_) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (border_style_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  // Without the class's own redraw styles the list does not flicker when resized.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (style_ == lbOwnerDrawFixed) Send(LB_SETITEMHEIGHT, 0, item_height_);
  items_->FillWindow();
  Send(LB_SETTOPINDEX, static_cast<WPARAM>(top_index_), 0);
  if (item_index_ >= 0 && item_index_ < items_->Count()) SetItemIndex(item_index_);
}

void TCustomListBox::DestroyWnd() {
  if (HandleAllocated()) {
    item_index_ = ItemIndex();
    top_index_ = TopIndex();
  }
  TWinControl::DestroyWnd();
}

void TCustomListBox::Loaded() {
  TWinControl::Loaded();
  // The description gives the item index before the items: it is chosen now.
  const int index = item_index_;
  item_index_ = -1;
  if (index != -1) SetItemIndex(index);
}

int TCustomListBox::ItemIndex() const {
  if (ComponentState().Contains(csLoading) || !HandleAllocated()) return item_index_;
  if (multi_select_) return static_cast<int>(Send(LB_GETCARETINDEX));
  return static_cast<int>(Send(LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    item_index_ = Value;
    return;
  }
  if (Value < -1 || Value >= items_->Count()) Value = -1;
  if (!HandleAllocated()) {
    item_index_ = Value;
    return;
  }
  if (ItemIndex() == Value && (Value < 0 || Selected(Value))) return;
  if (multi_select_) {
    // The chosen item alone is selected and has the caret.
    Send(LB_SETSEL, FALSE, -1);
    if (Value >= 0) {
      Send(LB_SETSEL, TRUE, Value);
      Send(LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
    }
  } else {
    Send(LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
  }
}

bool TCustomListBox::Selected(int Index) const {
  if (Index < 0 || Index >= items_->Count()) throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  if (!HandleAllocated()) return Index == item_index_;
  return Send(LB_GETSEL, static_cast<WPARAM>(Index)) > 0;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= items_->Count()) throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  if (multi_select_) {
    Send(LB_SETSEL, Value ? TRUE : FALSE, Index);
  } else if (Value) {
    SetItemIndex(Index);
  } else if (ItemIndex() == Index) {
    SetItemIndex(-1);
  }
}

int TCustomListBox::SelCount() const {
  if (!HandleAllocated()) return item_index_ >= 0 ? 1 : 0;
  if (multi_select_) return static_cast<int>(Send(LB_GETSELCOUNT));
  return ItemIndex() >= 0 ? 1 : 0;
}

int TCustomListBox::TopIndex() const { return HandleAllocated() ? static_cast<int>(Send(LB_GETTOPINDEX)) : top_index_; }

void TCustomListBox::SetTopIndex(int Value) {
  top_index_ = std::max(Value, 0);
  if (HandleAllocated()) Send(LB_SETTOPINDEX, static_cast<WPARAM>(top_index_), 0);
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() const {
  if (style_ == lbStandard && HandleAllocated()) return static_cast<int>(Send(LB_GETITEMHEIGHT));
  return item_height_;
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0 || item_height_ == Value) return;
  item_height_ = Value;
  if (IsOwnerDraw()) RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (multi_select_ == Value) return;
  multi_select_ = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (extended_select_ == Value) return;
  extended_select_ = Value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (integral_height_ == Value) return;
  integral_height_ = Value;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
}

void TCustomListBox::Clear() {
  items_->Clear();
  item_index_ = -1;
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
  if (!HandleAllocated()) return -1;
  const TRect client = ClientRect();
  if (!client.Contains(Pos)) return -1;
  const int count = items_->Count();
  for (int i = TopIndex(); i < count; ++i) {
    const TRect r = ItemRect(i);
    if (r.Top > client.Bottom) break;
    if (r.Contains(Pos)) return i;
  }
  return Existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int Index) const {
  RECT r{};
  if (HandleAllocated() && Index >= 0 && Index < items_->Count() &&
      Send(LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    return TRect(r);
  return TRect();
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  canvas_->FillRect(Rect);
  if (Index < items_->Count()) canvas_->TextOut(Rect.Left + 2, Rect.Top, items_->Strings(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  const auto* info = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  if (!info) return;
  PaintOwnerDrawnItem(*canvas_, *this, *info,
                      [this](int Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
  Message.Result = TRUE;
}

void TCustomListBox::CNMeasureItem(TMessage& Message) {
  auto* info = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (!info) return;
  AnswerMeasureItem(*info, item_height_, style_ == lbOwnerDrawVariable,
                    [this](int Index, int& Height) { MeasureItem(Index, Height); });
  Message.Result = TRUE;
}

void TCustomListBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE: return Click();
    case LBN_DBLCLK: return DblClick();
    default: return;
  }
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: return CNCommand(Message);
    case CN_DRAWITEM: return CNDrawItem(Message);
    case CN_MEASUREITEM: return CNMeasureItem(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
