// TCheckListBox: the list box draws its items itself (owner-drawn), each after a check box.
#include "classlib/stdctrls/CheckListBox.h"

namespace vcl {

VCL_CLASS_INFO(TCheckListBox) { PublishListBox<TCheckListBox>(p); }

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

int TCheckListBox::CheckWidth() { return GetSystemMetrics(SM_CXMENUCHECK) + 2; }

void TCheckListBox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  // The boxes are drawn by the control, so even a standard list is owner-drawn.
  if (!(Params.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) Params.Style |= LBS_OWNERDRAWFIXED;
}

void TCheckListBox::ItemInserted(int Index) {
  if (Index >= 0 && Index <= static_cast<int>(states_.size()))
    states_.insert(states_.begin() + Index, TItemState{});
}

void TCheckListBox::ItemDeleted(int Index) {
  if (Index < 0)
    states_.clear();
  else if (Index < static_cast<int>(states_.size()))
    states_.erase(states_.begin() + Index);
}

void TCheckListBox::ItemsReordered(const std::vector<int>& OldIndexOf) {
  std::vector<TItemState> reordered;
  reordered.reserve(OldIndexOf.size());
  for (int old : OldIndexOf)
    reordered.push_back(old >= 0 && old < static_cast<int>(states_.size()) ? states_[static_cast<size_t>(old)] : TItemState{});
  states_ = std::move(reordered);
}

const TCheckListBox::TItemState& TCheckListBox::At(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(states_.size()))
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return states_[static_cast<size_t>(Index)];
}

TCheckBoxState TCheckListBox::State(int Index) const { return At(Index).State; }

void TCheckListBox::SetState(int Index, TCheckBoxState Value) {
  At(Index);
  if (states_[static_cast<size_t>(Index)].State == Value) return;
  states_[static_cast<size_t>(Index)].State = Value;
  InvalidateCheck(Index);
}

bool TCheckListBox::ItemEnabled(int Index) const { return At(Index).Enabled; }

void TCheckListBox::SetItemEnabled(int Index, bool Value) {
  At(Index);
  if (states_[static_cast<size_t>(Index)].Enabled == Value) return;
  states_[static_cast<size_t>(Index)].Enabled = Value;
  InvalidateCheck(Index);
}

void TCheckListBox::SetFlat(bool Value) {
  if (flat_ == Value) return;
  flat_ = Value;
  Invalidate();
}

void TCheckListBox::InvalidateCheck(int Index) {
  if (!HandleAllocated()) return;
  RECT r = ItemRect(Index);
  InvalidateRect(Handle(), &r, FALSE);
}

void TCheckListBox::ClickCheck() {
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::ToggleClickCheck(int Index) {
  if (Index < 0 || Index >= Count() || !ItemEnabled(Index)) return;
  TCheckBoxState next = cbUnchecked;
  switch (State(Index)) {
    case cbUnchecked: next = cbChecked; break;
    case cbChecked: next = allow_grayed_ ? cbGrayed : cbUnchecked; break;
    case cbGrayed: next = cbUnchecked; break;
  }
  SetState(Index, next);
  ClickCheck();
}

void TCheckListBox::KeyPress(wchar_t& Key) {
  if (Key == L' ') {
    ToggleClickCheck(ItemIndex());
    Key = 0;
  }
  TCustomListBox::KeyPress(Key);
}

// The box takes the column in front of the item; the item itself is drawn after it.
void TCheckListBox::CNDrawItem(TMessage& Message) {
  const auto* info = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  if (!info) return;
  DRAWITEMSTRUCT item = *info;
  const int index = static_cast<int>(item.itemID);
  if (index >= 0 && index < static_cast<int>(states_.size())) {
    const TItemState& s = states_[static_cast<size_t>(index)];
    RECT box{item.rcItem.left, item.rcItem.top, item.rcItem.left + CheckWidth(), item.rcItem.bottom};
    FillRect(item.hDC, &box, Brush()->Handle());
    const int size = std::min(GetSystemMetrics(SM_CXMENUCHECK), static_cast<int>(box.bottom - box.top));
    RECT mark{box.left + 1, box.top + (box.bottom - box.top - size) / 2, 0, 0};
    mark.right = mark.left + size;
    mark.bottom = mark.top + size;
    UINT state = DFCS_BUTTONCHECK;
    if (s.State == cbChecked) state |= DFCS_CHECKED;
    if (s.State == cbGrayed) state = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (flat_) state |= DFCS_FLAT;
    if (!s.Enabled || !Enabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(item.hDC, &mark, DFC_BUTTON, state);
  }
  item.rcItem.left += CheckWidth();
  TMessage rest{Message.Msg, Message.WParam, reinterpret_cast<LPARAM>(&item), 0};
  TCustomListBox::Dispatch(rest);
  Message.Result = rest.Result;
}

void TCheckListBox::WMLButtonDown(TMessage& Message) {
  const TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
  const int index = ItemAtPos(at, true);
  TCustomListBox::Dispatch(Message);
  if (index < 0) return;
  const TRect r = ItemRect(index);
  if (at.X >= r.Left && at.X < r.Left + CheckWidth()) ToggleClickCheck(index);
}

void TCheckListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: return CNDrawItem(Message);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return WMLButtonDown(Message);
    default: return TCustomListBox::Dispatch(Message);
  }
}

}  // namespace vcl
