// The items of list and combo boxes, kept by the control and mirrored into its window.
#include "classlib/stdctrls/ListItems.h"

#include <map>

namespace vcl {

VCL_CLASS_INFO(TItemStrings) {}

TItemStrings::TItemStrings(TWinControl* Control, const TItemMessages& Messages, TItemStringsOwner* Owner)
    : control_(Control), messages_(Messages), owner_(Owner) {
  list_.SetDuplicates(dupAccept);
}

int TItemStrings::AddObject(const String& S, TObject* AObject) {
  const int index = list_.AddObject(S, AObject);
  InsertInWindow(index, S);
  if (owner_) owner_->ItemInserted(index);
  return index;
}

void TItemStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  list_.InsertObject(Index, S, AObject);
  InsertInWindow(Index, S);
  if (owner_) owner_->ItemInserted(Index);
}

void TItemStrings::Delete(int Index) {
  list_.Delete(Index);
  if (HWND wnd = Window()) SendMessageW(wnd, messages_.DeleteString, static_cast<WPARAM>(Index), 0);
  if (owner_) owner_->ItemDeleted(Index);
}

void TItemStrings::Clear() {
  list_.Clear();
  if (HWND wnd = Window()) SendMessageW(wnd, messages_.ResetContent, 0, 0);
  if (owner_) owner_->ItemDeleted(-1);
}

void TItemStrings::SetSorted(bool Value) {
  if (!owner_ || !Value || list_.Sorted() || list_.Count() < 2) return list_.SetSorted(Value);
  // Equal texts keep their order among themselves as far as the owner can tell: the first
  // sorted one takes the first of them that was there.
  std::multimap<String, int> before;
  for (int i = 0; i < list_.Count(); ++i) before.emplace(list_.Strings(i), i);
  list_.SetSorted(true);
  std::vector<int> oldIndexOf(static_cast<size_t>(list_.Count()));
  for (int i = 0; i < list_.Count(); ++i) {
    auto it = before.find(list_.Strings(i));
    oldIndexOf[static_cast<size_t>(i)] = it->second;
    before.erase(it);
  }
  owner_->ItemsReordered(oldIndexOf);
}

void TItemStrings::Put(int Index, const String& S) {
  list_.SetStrings(Index, S);
  HWND wnd = Window();
  if (!wnd) return;
  const auto selected = static_cast<int>(SendMessageW(wnd, messages_.GetCurSel, 0, 0));
  SendMessageW(wnd, messages_.DeleteString, static_cast<WPARAM>(Index), 0);
  SendMessageW(wnd, messages_.InsertString, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str()));
  if (selected == Index) SendMessageW(wnd, messages_.SetCurSel, static_cast<WPARAM>(Index), 0);
}

void TItemStrings::SetUpdateState(bool Updating) {
  HWND wnd = Window();
  if (!wnd) return;
  SendMessageW(wnd, WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
  if (!Updating) control_->Invalidate();
}

void TItemStrings::FillWindow() {
  HWND wnd = control_->Handle();
  SendMessageW(wnd, messages_.ResetContent, 0, 0);
  for (int i = 0; i < list_.Count(); ++i) {
    const String item = list_.Strings(i);
    SendMessageW(wnd, messages_.AddString, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
}

void TItemStrings::InsertInWindow(int Index, const String& S) {
  if (HWND wnd = Window())
    SendMessageW(wnd, messages_.InsertString, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str()));
}

}  // namespace vcl
