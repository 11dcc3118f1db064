// The list view's columns and items: the control's own lists, mirrored into its window while
// one exists.
#include <algorithm>

#include "classlib/comctrls/ComCtrls.h"

#include <commctrl.h>

namespace vcl {

VCL_CLASS_INFO(TListColumn) {
  p.String<&TListColumn::Caption, &TListColumn::SetCaption>(L"Caption");
  p.Integer<&TListColumn::Width, &TListColumn::SetWidth>(L"Width", 50);
  p.Enum<&TListColumn::Alignment, &TListColumn::SetAlignment>(L"Alignment", static_cast<int64_t>(taLeftJustify));
  p.Bool<&TListColumn::AutoSize, &TListColumn::SetAutoSize>(L"AutoSize", false);
}
VCL_CLASS_INFO(TListColumns) {}
VCL_CLASS_INFO(TListItem) {}
VCL_CLASS_INFO(TListItems) {}

// ---------------------------------------------------------------------------------------
// TListColumn

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

TCustomListView* TListColumn::ListView() const {
  auto* columns = dynamic_cast<TListColumns*>(Collection());
  return columns ? columns->Owner() : nullptr;
}

void TListColumn::SetCaption(const String& Value) {
  if (caption_ == Value) return;
  caption_ = Value;
  Changed(false);
}

int TListColumn::Width() const {
  // The user may have dragged the column's edge: the window knows its width.
  TCustomListView* lv = ListView();
  if (!auto_size_ && lv && lv->HasWindow() && lv->ViewStyle() == vsReport) {
    const int index = Index();
    if (index >= 0 && index < lv->WindowColumnCount())
      return static_cast<int>(lv->Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index)));
  }
  return width_;
}

void TListColumn::SetWidth(int Value) {
  if (Value < 0) Value = 0;
  width_ = Value;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Changed(false);
}

void TListColumn::SetAutoSize(bool Value) {
  if (auto_size_ == Value) return;
  // The width the window gave the column stays the declared one.
  if (Value) width_ = Width();
  auto_size_ = Value;
  Changed(false);
}

void TListColumn::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TListColumn*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  caption_ = src->caption_;
  width_ = src->Width();
  alignment_ = src->alignment_;
  auto_size_ = src->auto_size_;
  Changed(false);
}

String TListColumn::DisplayName() const { return caption_.empty() ? ClassName() : caption_; }

// ---------------------------------------------------------------------------------------
// TListColumns

TListColumns::TListColumns(TCustomListView* AOwner)
    : TCollection(TCollectionItemClass::Of<TListColumn>()), owner_(AOwner) {}

TPersistent* TListColumns::GetOwner() { return owner_; }

void TListColumns::Update(TCollectionItem* Item) {
  if (!owner_ || !owner_->HasWindow()) return;
  if (Item && Item->Index() < owner_->WindowColumnCount()) {
    owner_->WindowSetColumn(Item->Index(), false);
    owner_->ResizeAutoSizeColumns();
  } else {
    owner_->SyncColumns();
  }
}

// ---------------------------------------------------------------------------------------
// TListItem

// The sub-item texts: every change is shown in the item's row at once.
class TListItem::TSubItems : public TStringList {
 public:
  explicit TSubItems(TListItem* Item) : item_(Item) {}

 protected:
  void Changed() override {
    TStringList::Changed();
    if (UpdateCount() == 0) item_->SubItemsChanged();
  }

 private:
  TListItem* item_;
};

TListItem::TListItem(TListItems* AOwner) : owner_(AOwner), sub_items_(std::make_unique<TSubItems>(this)) {}

TListItem::~TListItem() {
  // Freed directly: leave the list (and the window) first.
  if (owner_) owner_->Extract(this);
}

TCustomListView* TListItem::ListView() const { return owner_ ? owner_->Owner() : nullptr; }

int TListItem::Index() const { return owner_ ? owner_->IndexOf(this) : -1; }

TPersistent* TListItem::GetOwner() { return owner_; }

void TListItem::SetCaption(const String& Value) {
  if (caption_ == Value) return;
  caption_ = Value;
  TCustomListView* lv = ListView();
  if (lv && lv->HasWindow()) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = const_cast<wchar_t*>(caption_.c_str());
    lv->Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
  }
}

void TListItem::SubItemsChanged() {
  TCustomListView* lv = ListView();
  if (lv && lv->HasWindow()) lv->WindowSetTexts(Index(), this);
}

bool TListItem::State(UINT Mask, bool Stored) const {
  TCustomListView* lv = ListView();
  if (!lv || !lv->HasWindow()) return Stored;
  return (lv->Send(LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), Mask) & Mask) != 0;
}

void TListItem::SetState(UINT Mask, bool Value) {
  TCustomListView* lv = ListView();
  if (lv && lv->HasWindow()) {
    LVITEMW item{};
    item.stateMask = Mask;
    item.state = Value ? Mask : 0;
    lv->Send(LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
    return;
  }
  bool& stored = Mask == LVIS_SELECTED ? selected_ : focused_;
  stored = Value;
  // Without a window the control's rules are kept here: one focused item, and one selected
  // item unless several may be.
  const bool exclusive = Mask == LVIS_FOCUSED || !lv || !lv->MultiSelect();
  if (Value && exclusive && owner_) {
    for (TListItem* other : owner_->items_) {
      if (other == this) continue;
      (Mask == LVIS_SELECTED ? other->selected_ : other->focused_) = false;
    }
  }
}

bool TListItem::Selected() const { return State(LVIS_SELECTED, selected_); }
void TListItem::SetSelected(bool Value) { SetState(LVIS_SELECTED, Value); }
bool TListItem::Focused() const { return State(LVIS_FOCUSED, focused_); }
void TListItem::SetFocused(bool Value) { SetState(LVIS_FOCUSED, Value); }

void TListItem::Delete() {
  if (!owner_) return;
  owner_->Extract(this);
  TObject::Free(this);
}

void TListItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TListItem*>(Source);
  if (!src) return TPersistent::Assign(Source);
  SetCaption(src->caption_);
  sub_items_->Assign(src->sub_items_.get());
  data_ = src->data_;
}

// ---------------------------------------------------------------------------------------
// TListItems

TListItems::TListItems(TCustomListView* AOwner) : owner_(AOwner) {}

TListItems::~TListItems() {
  // The control's window is gone by now: only the objects are freed.
  std::vector<TListItem*> items;
  items.swap(items_);
  for (TListItem* item : items) {
    item->owner_ = nullptr;
    TObject::Free(item);
  }
}

TPersistent* TListItems::GetOwner() { return owner_; }

TListItem* TListItems::Item(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return items_[static_cast<size_t>(Index)];
}

int TListItems::IndexOf(const TListItem* Value) const {
  auto it = std::find(items_.begin(), items_.end(), Value);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int Index) {
  if (Index < 0 || Index > Count())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  auto* item = new TListItem(this);
  items_.insert(items_.begin() + Index, item);
  if (owner_ && owner_->HasWindow()) {
    try {
      owner_->WindowInsertItem(Index, item);
    } catch (...) {
      items_.erase(items_.begin() + Index);
      item->owner_ = nullptr;
      TObject::Free(item);
      throw;
    }
  }
  return item;
}

void TListItems::Extract(TListItem* Item) {
  const int index = IndexOf(Item);
  if (index < 0) return;
  // The row goes first: whatever the window reports meanwhile still finds a whole item.
  if (owner_ && owner_->HasWindow()) {
    ++owner_->quiet_;
    owner_->Send(LVM_DELETEITEM, static_cast<WPARAM>(index));
    --owner_->quiet_;
  }
  items_.erase(items_.begin() + index);
  Item->owner_ = nullptr;
}

void TListItems::Delete(int Index) { Item(Index)->Delete(); }

void TListItems::Clear() {
  if (items_.empty()) return;
  if (owner_ && owner_->HasWindow()) {
    ++owner_->quiet_;
    owner_->Send(LVM_DELETEALLITEMS);
    --owner_->quiet_;
  }
  std::vector<TListItem*> items;
  items.swap(items_);
  for (TListItem* item : items) {
    item->owner_ = nullptr;
    TObject::Free(item);
  }
}

void TListItems::BeginUpdate() {
  if (update_count_++ == 0 && owner_ && owner_->HasWindow()) owner_->Send(WM_SETREDRAW, FALSE);
}

void TListItems::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0 && owner_ && owner_->HasWindow()) {
    owner_->Send(WM_SETREDRAW, TRUE);
    InvalidateRect(owner_->Handle(), nullptr, TRUE);
  }
}

void TListItems::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TListItems*>(Source);
  if (!src) return TPersistent::Assign(Source);
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TListItem* item : src->items_) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace vcl
