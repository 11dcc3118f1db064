// The list view: a superclass of the system's SysListView32 whose window class is the
// library's class name ("TListView"). Columns and items live in the control's own lists and
// are put into every window it gets, so they survive window re-creation; while a window exists
// it holds the selection and the column widths the user dragged.
#pragma once

#include <memory>
#include <vector>

#include "classlib/rtl/Collection.h"
#include "classlib/controls/Controls.h"
#include "classlib/comctrls/CustomDraw.h"
#include "classlib/comctrls/TrackedClick.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/rtl/StringList.h"

namespace vcl {

class TCustomListView;
class TListItems;

VCL_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
using enum TViewStyle;

// ---------------------------------------------------------------------------------------
// Columns (shown in report view)

class TListColumn : public TCollectionItem {
  VCL_CLASS(TListColumn, TCollectionItem)
 public:
  explicit TListColumn(TCollection* Collection);

  const String& Caption() const { return caption_; }
  void SetCaption(const String& Value);
  // The window's width while a report-view window shows the column (the user may drag it).
  int Width() const;
  void SetWidth(int Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  // AutoSize columns share the width the other columns leave in the client area.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool Value);

  void Assign(TPersistent* Source) override;
  String DisplayName() const override;

 private:
  friend class TCustomListView;
  TCustomListView* ListView() const;

  String caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  bool auto_size_ = false;
};

class TListColumns : public TCollection {
  VCL_CLASS(TListColumns, TCollection)
 public:
  explicit TListColumns(TCustomListView* AOwner);

  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int Index) const { return static_cast<TListColumn*>(TCollection::Items(Index)); }
  TListColumn* operator[](int Index) const { return Items(Index); }
  TCustomListView* Owner() const { return owner_; }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TCustomListView* owner_;
};

// ---------------------------------------------------------------------------------------
// Items

class TListItem : public TPersistent {
  VCL_CLASS(TListItem, TPersistent)
 public:
  // Items are made by their list (TListItems::Add / Insert).
  explicit TListItem(TListItems* AOwner);
  ~TListItem() override;

  TListItems* Owner() const { return owner_; }
  TCustomListView* ListView() const;
  // The position in the list; -1 once deleted.
  int Index() const;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& Value);
  // The texts of the further columns; any change shows at once.
  TStrings* SubItems() const { return sub_items_.get(); }
  void SetSubItems(TStrings* Value) { sub_items_->Assign(Value); }
  void* Data() const { return data_; }
  void SetData(void* Value) { data_ = Value; }
  bool Selected() const;
  void SetSelected(bool Value);
  bool Focused() const;
  void SetFocused(bool Value);

  // Removes the item from its list and frees it.
  void Delete();
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

 private:
  friend class TListItems;
  friend class TCustomListView;
  class TSubItems;

  bool State(UINT Mask, bool Stored) const;
  void SetState(UINT Mask, bool Value);
  void SubItemsChanged();

  TListItems* owner_;
  String caption_;
  std::unique_ptr<TStringList> sub_items_;
  void* data_ = nullptr;
  // The states while no window holds them.
  bool selected_ = false;
  bool focused_ = false;
};

class TListItems : public TPersistent {
  VCL_CLASS(TListItems, TPersistent)
 public:
  explicit TListItems(TCustomListView* AOwner);
  ~TListItems() override;

  TCustomListView* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError for an index out of range.
  TListItem* Item(int Index) const;
  TListItem* operator[](int Index) const { return Item(Index); }
  int IndexOf(const TListItem* Value) const;

  TListItem* Add();
  TListItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  // Repainting waits for the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // Copies the captions, sub-items and data of another list's items.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

 private:
  friend class TListItem;
  friend class TCustomListView;

  // Takes an item out of the list (and the window) without freeing it.
  void Extract(TListItem* Item);

  TCustomListView* owner_;
  std::vector<TListItem*> items_;
  int update_count_ = 0;
};

// ---------------------------------------------------------------------------------------
// The control

using TLVSelectItemEvent = Event<void(TObject* Sender, TListItem* Item, bool Selected)>;
// Custom drawing: before the system paints the control, an item or a sub-item (column
// SubItem, 1 for the first sub-item), on the control's Canvas; DefaultDraw false skips the
// system's painting of it.
using TLVCustomDrawEvent = Event<void(TCustomListView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TLVCustomDrawItemEvent =
    Event<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent =
    Event<void(TCustomListView* Sender, TListItem* Item, int SubItem, TCustomDrawState State, bool& DefaultDraw)>;

class TCustomListView : public TWinControl {
  VCL_CLASS(TCustomListView, TWinControl)
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TListColumns* Columns() const { return columns_.get(); }
  void SetColumns(TListColumns* Value) { columns_->Assign(Value); }
  TListItems* Items() const { return items_.get(); }
  void SetItems(TListItems* Value) { items_->Assign(Value); }

  // The first selected item (nil when none); setting selects it (nil clears the selection).
  TListItem* Selected() const;
  void SetSelected(TListItem* Value);
  // The first selected item's index, -1 when none; -1 clears the selection.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  int SelCount() const;
  void ClearSelection();
  TListItem* ItemFocused() const;
  void SetItemFocused(TListItem* Value);

  TViewStyle ViewStyle() const { return view_style_; }
  void SetViewStyle(TViewStyle Value);
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool Value);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool Value);
  // Not read-only: item captions can be edited in place.
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool Value);
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool Value);
  // The selection is shown only while the control has the focus.
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool Value);
  // Column headers act as buttons.
  bool ColumnClick() const { return column_click_; }
  void SetColumnClick(bool Value);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);
  TCustomImageList* SmallImages() const { return small_images_; }
  void SetSmallImages(TCustomImageList* Value);
  // Draws on the control: lent the system's DC while the custom-draw events run (and to
  // whoever paints the control in its place).
  TCanvas* Canvas() const { return canvas_.get(); }

  void Dispatch(TMessage& Message) override;

  TLVSelectItemEvent OnSelectItem;
  TLVCustomDrawEvent OnCustomDraw;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVCustomDrawSubItemEvent OnCustomDrawSubItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void DoSelectItem(TListItem* Item, bool Selected);

 private:
  friend class TListColumn;
  friend class TListColumns;
  friend class TListItem;
  friend class TListItems;

  // Window work, done only while the window exists.
  void WindowInsertItem(int Index, const TListItem* Item);
  void WindowSetTexts(int Index, const TListItem* Item);
  void WindowSetColumn(int Index, bool Insert);
  void SyncColumns();
  void ResizeAutoSizeColumns();
  int WindowColumnCount() const;
  void ApplyExtendedStyle();
  void ApplyColors();
  void SaveWindowState();
  void HandleNotify(TMessage& Message);
  void HandleCustomDraw(TMessage& Message, NMLVCUSTOMDRAW& Draw);
  void HandleItemChanged(const NMLISTVIEW& Info);
  TListItem* ItemOfNotify(int Index, LPARAM Param) const;

  std::unique_ptr<TListColumns> columns_;
  std::unique_ptr<TListItems> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  TViewStyle view_style_ = vsIcon;
  bool grid_lines_ = false;
  bool row_select_ = false;
  bool read_only_ = false;
  bool multi_select_ = false;
  bool hide_selection_ = true;
  bool column_click_ = true;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  TCustomImageList* small_images_ = nullptr;
  // The columns put into the current window.
  int window_columns_ = 0;
  // Selection notifications of the window are not events while the control itself fills or
  // empties it.
  int quiet_ = 0;
  TTrackedClick tracked_click_;
};

class TListView : public TCustomListView {
  VCL_CLASS(TListView, TCustomListView)
 public:
  using TCustomListView::TCustomListView;
};

}  // namespace vcl
