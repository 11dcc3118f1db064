#include "classlib/rtl/Lists.h"

#include <algorithm>

namespace vcl {

VCL_CLASS_INFO(TList) {}

void ListIndexError(int Index) {
  throw EListError(Format(L"List index out of bounds (%d)", {Index}));
}

void TList::Check(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) throw EListError(Format(L"List count out of bounds (%d)", {NewCount}));
  items_.resize(static_cast<size_t>(NewCount), nullptr);
}

void* TList::Items(int Index) const {
  Check(Index);
  return items_[static_cast<size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
  Check(Index);
  items_[static_cast<size_t>(Index)] = Item;
}

int TList::Add(void* Item) {
  items_.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  items_.insert(items_.begin() + Index, Item);
}

void TList::Delete(int Index) {
  Check(Index);
  items_.erase(items_.begin() + Index);
}

int TList::Remove(void* Item) {
  const int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) {
  return Remove(Item) >= 0 ? Item : nullptr;
}

int TList::IndexOf(void* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear() {
  items_.clear();
  items_.shrink_to_fit();
}

void TList::Exchange(int Index1, int Index2) {
  Check(Index1);
  Check(Index2);
  std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  Check(CurIndex);
  Check(NewIndex);
  void* item = items_[static_cast<size_t>(CurIndex)];
  items_.erase(items_.begin() + CurIndex);
  items_.insert(items_.begin() + NewIndex, item);
}

void TList::Sort(int (*Compare)(void* Item1, void* Item2)) {
  std::stable_sort(items_.begin(), items_.end(), [Compare](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Pack() { std::erase(items_, nullptr); }

}  // namespace vcl
