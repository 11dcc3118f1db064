// Check list boxes: a list box (window class "TCheckListBox") whose items each carry a check
// box, drawn in front of the item. A click on the box or the space bar changes the focused
// item's state and fires OnClickCheck.
#pragma once

#include <vector>

#include "classlib/stdctrls/ListBox.h"

namespace vcl {

class TCheckListBox : public TCustomListBox {
  VCL_CLASS(TCheckListBox, TCustomListBox)
 public:
  explicit TCheckListBox(TComponent* AOwner);

  // Checked: unchecked -> checked (-> grayed with AllowGrayed) -> unchecked.
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool Value) { allow_grayed_ = Value; }
  // Boxes drawn flat rather than sunken.
  bool Flat() const { return flat_; }
  void SetFlat(bool Value);
  // Per item; an index out of range raises EListError.
  bool Checked(int Index) const { return State(Index) == cbChecked; }
  void SetChecked(int Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State(int Index) const;
  void SetState(int Index, TCheckBoxState Value);
  // A disabled item is drawn grayed and cannot be checked by the user.
  bool ItemEnabled(int Index) const;
  void SetItemEnabled(int Index, bool Value);

  TNotifyEvent OnClickCheck;

  void Dispatch(TMessage& Message) override;

 protected:
  virtual void ClickCheck();
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(wchar_t& Key) override;
  void ItemInserted(int Index) override;
  void ItemDeleted(int Index) override;
  void ItemsReordered(const std::vector<int>& OldIndexOf) override;

 private:
  struct TItemState {
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
  };
  // The width of the box column in front of the items.
  static int CheckWidth();
  const TItemState& At(int Index) const;
  void ToggleClickCheck(int Index);
  void InvalidateCheck(int Index);
  void CNDrawItem(TMessage& Message);
  void WMLButtonDown(TMessage& Message);

  std::vector<TItemState> states_;
  bool allow_grayed_ = false;
  bool flat_ = true;
};

}  // namespace vcl
