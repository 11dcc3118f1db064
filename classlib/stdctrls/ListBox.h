// List boxes on the system LISTBOX class, in a window of the library's class name
// ("TListBox"). The items are kept by the control and mirrored into the window; the
// owner-drawn styles are painted through DrawItem (OnDrawItem) on the control's canvas.
#pragma once

#include <memory>

#include "classlib/stdctrls/ListItems.h"
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

VCL_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
using enum TListBoxStyle;

class TCustomListBox : public TWinControl, protected TItemStringsOwner {
  VCL_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() const;
  void SetItems(TStrings* Value);
  int Count() const;
  // The focused item of a multi-selection list, the chosen one otherwise; -1: none.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  int SelCount() const;
  // The first item shown.
  int TopIndex() const;
  void SetTopIndex(int Value);

  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle Value);
  // Height of the items of lbStandard (taken from the font) and of lbOwnerDrawFixed.
  int ItemHeight() const;
  void SetItemHeight(int Value);
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool Value);
  // With MultiSelect: Shift and Ctrl extend the selection (rather than every click toggling).
  bool ExtendedSelect() const { return extended_select_; }
  void SetExtendedSelect(bool Value);
  // Kept in order (by the user's locale, without case).
  bool Sorted() const;
  void SetSorted(bool Value);
  // The height shows whole items only.
  bool IntegralHeight() const { return integral_height_; }
  void SetIntegralHeight(bool Value);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);

  TCanvas* Canvas() const { return canvas_.get(); }
  void Clear();
  // The item under a client point; -1 when none, or (not Existing) the next item's index
  // when the point lies below the last one.
  int ItemAtPos(TPoint Pos, bool Existing) const;
  TRect ItemRect(int Index) const;

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& Message) override;

 protected:
  // Paints one item with OnDrawItem, or as its text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // lbOwnerDrawVariable: the height of one item, ItemHeight unless OnMeasureItem changes it.
  virtual void MeasureItem(int Index, int& Height);
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  TItemStrings* ItemList() const { return items_.get(); }

 private:
  bool IsOwnerDraw() const { return style_ != lbStandard; }
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

  std::unique_ptr<TItemStrings> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  TListBoxStyle style_ = lbStandard;
  int item_height_ = 16;
  bool multi_select_ = false;
  bool extended_select_ = true;
  bool integral_height_ = false;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  int item_index_ = -1;  // while there is no window, and while loading
  int top_index_ = 0;
};

class TListBox : public TCustomListBox {
  VCL_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

// The properties a list box publishes. A check list box (one with AllowGrayed) trades the
// multi-selection for its boxes' properties and their event.
template <class T>
void PublishListBox(TPropertyList& p) {
  constexpr bool boxes = requires { &T::AllowGrayed; };
  publish::Align(p);
  if constexpr (boxes) p.Bool<&T::AllowGrayed, &T::SetAllowGrayed>(L"AllowGrayed", false);
  publish::Anchors(p);
  publish::Bevels(p);
  publish::BiDiMode(p);
  p.Enum<&TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle>(
      L"BorderStyle", static_cast<int64_t>(TBorderStyle::bsSingle));
  publish::Bounds(p);
  publish::Color(p, clWindow);
  publish::Constraints(p);
  publish::Cursor(p);
  publish::Enabled(p);
  if constexpr (boxes)
    p.Bool<&T::Flat, &T::SetFlat>(L"Flat", true);
  else
    p.Bool<&TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect>(L"ExtendedSelect", true);
  publish::Font(p);
  p.Bool<&TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight>(L"IntegralHeight", false);
  p.Integer<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>(L"ItemHeight", 16);
  p.Integer<&TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex>(L"ItemIndex", -1);
  p.Object<&TCustomListBox::Items, &TCustomListBox::SetItems>(L"Items", TStrings::StaticClass());
  if constexpr (!boxes) p.Bool<&TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect>(L"MultiSelect", false);
  publish::ParentColor(p, false);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Bool<&TCustomListBox::Sorted, &TCustomListBox::SetSorted>(L"Sorted", false);
  p.Enum<&TCustomListBox::Style, &TCustomListBox::SetStyle>(L"Style", static_cast<int64_t>(lbStandard));
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  if constexpr (boxes) p.Event<&T::OnClickCheck>(L"OnClickCheck");
  p.Event<&TCustomListBox::OnDrawItem>(L"OnDrawItem");
  p.Event<&TCustomListBox::OnMeasureItem>(L"OnMeasureItem");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

}  // namespace vcl
