// The items of a list box or a combo box: kept by the control whether or not its window
// exists (form descriptions set them first) and mirrored into the window while it does (the
// two kinds of window differ only in their message numbers); and the painting and measuring
// of their owner-drawn items.
#pragma once

#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/rtl/StringList.h"

namespace vcl {

// The messages that fill a list window and move its selection.
struct TItemMessages {
  UINT AddString, InsertString, DeleteString, ResetContent, GetCurSel, SetCurSel;
};
inline constexpr TItemMessages kListBoxItemMessages{LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                                    LB_RESETCONTENT, LB_GETCURSEL,    LB_SETCURSEL};
inline constexpr TItemMessages kComboBoxItemMessages{CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                                     CB_RESETCONTENT, CB_GETCURSEL,    CB_SETCURSEL};

// What the control hears of its items: an item went in or out at Index, or all went (-1),
// so that it can keep what it holds per item (check states) in step.
class TItemStringsOwner {
 public:
  virtual void ItemInserted(int Index) { (void)Index; }
  virtual void ItemDeleted(int Index) { (void)Index; }
  // The items were sorted: the item now at i was at OldIndexOf[i].
  virtual void ItemsReordered(const std::vector<int>& OldIndexOf) { (void)OldIndexOf; }

 protected:
  ~TItemStringsOwner() = default;
};

class TItemStrings : public TStrings {
  VCL_CLASS(TItemStrings, TStrings)
 public:
  TItemStrings(TWinControl* Control, const TItemMessages& Messages, TItemStringsOwner* Owner = nullptr);

  int Add(const String& S) override { return AddObject(S, nullptr); }
  int AddObject(const String& S, TObject* AObject) override;
  void Insert(int Index, const String& S) override { InsertObject(Index, S, nullptr); }
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;

  bool Sorted() const { return list_.Sorted(); }
  // Sorting tells the owner where each item went.
  void SetSorted(bool Value);
  // Puts every item into the window again (a new window, a new order).
  void FillWindow();

 protected:
  String Get(int Index) const override { return list_.Strings(Index); }
  void Put(int Index, const String& S) override;
  int GetCount() const override { return list_.Count(); }
  TObject* GetObject(int Index) const override { return list_.Objects(Index); }
  void PutObject(int Index, TObject* AObject) override { list_.SetObjects(Index, AObject); }
  void SetUpdateState(bool Updating) override;

 private:
  HWND Window() const { return control_->HandleAllocated() ? control_->Handle() : nullptr; }
  void InsertInWindow(int Index, const String& S);

  TWinControl* control_;
  TItemMessages messages_;
  TItemStringsOwner* owner_;
  TStringList list_;
};

// Paints one owner-drawn item as WM_DRAWITEM asks: the canvas is lent the item's device
// context with the control's font and brush (the highlight colours for a selected item),
// Draw(Index, Rect, State) paints an item, the empty field (-1) is filled, and a focused item
// gets its focus rectangle last.
template <class DrawFn>
void PaintOwnerDrawnItem(TControlCanvas& Canvas, TWinControl& Control, const DRAWITEMSTRUCT& Info, DrawFn&& Draw) {
  const auto state = TOwnerDrawState::FromInt(static_cast<int64_t>(LOWORD(Info.itemState)));
  const TCanvasDCLoan loan(Canvas, Info.hDC);
  Canvas.SetFont(Control.Font());
  Canvas.SetBrush(Control.Brush());
  const int index = static_cast<int>(Info.itemID);
  if (index >= 0 && state.Contains(odSelected)) {
    Canvas.Brush()->SetColor(clHighlight);
    Canvas.Font()->SetColor(clHighlightText);
  }
  if (index >= 0)
    Draw(index, TRect(Info.rcItem), state);
  else
    Canvas.FillRect(Info.rcItem);
  if (state.Contains(odFocused)) DrawFocusRect(Info.hDC, &Info.rcItem);
}

// The height WM_MEASUREITEM answers: ItemHeight, or for variable heights what
// Measure(Index, Height) makes of it (the field of a combo box, -1, keeps ItemHeight).
template <class MeasureFn>
void AnswerMeasureItem(MEASUREITEMSTRUCT& Info, int ItemHeight, bool Variable, MeasureFn&& Measure) {
  int height = ItemHeight;
  if (Variable && static_cast<int>(Info.itemID) >= 0) Measure(static_cast<int>(Info.itemID), height);
  Info.itemHeight = static_cast<UINT>(height > 0 ? height : 1);
}

}  // namespace vcl
