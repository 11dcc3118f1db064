// Grids: the library's own windowed grids (no system class). TCustomGrid lays out rows and
// columns, the fixed ones first, scrolls the others with the window's own scroll bars, keeps
// a current cell and a selected range and paints every visible cell; TDrawGrid leaves the
// cells' content to OnDrawCell, TStringGrid keeps a text per cell and draws it.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>

#include "classlib/controls/Controls.h"
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

VCL_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
         goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
         goRowSelect, goAlwaysShowEditor, goThumbTracking)
using enum TGridOption;
using TGridOptions = Set<TGridOption>;

VCL_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed)
using enum TGridDrawStateItem;
using TGridDrawState = Set<TGridDrawStateItem>;

// A range of cells, both corners included.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
  bool Contains(int ACol, int ARow) const { return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom; }
};

using TDrawCellEvent = Event<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = Event<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

class TCustomGrid : public TCustomControl {
  VCL_CLASS(TCustomGrid, TCustomControl)
 public:
  explicit TCustomGrid(TComponent* AOwner);

  // At least 1; the fixed rows and columns stay fewer than these.
  int ColCount() const { return cols_.count; }
  void SetColCount(int Value);
  int RowCount() const { return rows_.count; }
  void SetRowCount(int Value);
  int FixedCols() const { return cols_.fixed; }
  void SetFixedCols(int Value);
  int FixedRows() const { return rows_.fixed; }
  void SetFixedRows(int Value);
  int DefaultColWidth() const { return cols_.default_size; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return rows_.default_size; }
  void SetDefaultRowHeight(int Value);
  int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GridLineWidth() const { return grid_line_width_; }
  void SetGridLineWidth(int Value);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions Value);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle Value);
  // The colour of the fixed rows and columns.
  TColor FixedColor() const { return fixed_color_; }
  void SetFixedColor(TColor Value);
  // Changing it makes a new window.
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);
  // The grid fills the cells' backgrounds (and a string grid draws their texts) before
  // OnDrawCell; without it OnDrawCell paints the whole cell.
  bool DefaultDrawing() const { return default_drawing_; }
  void SetDefaultDrawing(bool Value);

  // The current cell (never a fixed one); setting it selects it and scrolls it into view.
  int Col() const { return col_; }
  void SetCol(int Value);
  int Row() const { return row_; }
  void SetRow(int Value);
  // The selected range (the current cell, or the rows of the current cell with goRowSelect).
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  // The first scrollable row and column shown.
  int TopRow() const { return rows_.first; }
  void SetTopRow(int Value);
  int LeftCol() const { return cols_.first; }
  void SetLeftCol(int Value);
  // Scrollable rows and columns shown whole.
  int VisibleRowCount() const;
  int VisibleColCount() const;

  // A cell's rectangle in client coordinates; empty when it is not shown.
  TRect CellRect(int ACol, int ARow) const;
  // The cell under a client point; -1, -1 when none.
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

  void Dispatch(TMessage& Message) override;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  // Paints one cell's content; the canvas has the cell's colours and font. The base calls
  // OnDrawCell.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  virtual bool SelectCell(int ACol, int ARow);
  virtual void TopLeftChanged();
  // The counts changed (a string grid keeps only the cells that still exist).
  virtual void SizeChanged(int OldColCount, int OldRowCount) {
    (void)OldColCount;
    (void)OldRowCount;
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Resize() override;
  void InvalidateCell(int ACol, int ARow);

 private:
  // One axis (columns or rows): its sizes and what is shown of it.
  struct Axis {
    int count = 5;
    int fixed = 1;
    int default_size = 64;
    std::map<int, int> sizes;  // the sizes that differ from the default
    int first = 1;             // the first scrollable index shown
    int Size(int Index) const;
  };

  int FixedExtent(const Axis& A) const;
  // Where a cell starts along an axis (client coordinates), or -1 when it is not shown
  // within Extent.
  int Start(const Axis& A, int Index, int Extent) const;
  int IndexAt(const Axis& A, int Pos, int Extent) const;
  int VisibleCount(const Axis& A, int Extent) const;
  // The largest first index that still shows the last cells at the end of Extent.
  int MaxFirst(const Axis& A, int Extent) const;
  void SetFirst(Axis& A, int Value, int Extent);
  void SetCount(Axis& A, int Value);
  void AxisChanged();
  void UpdateScrollBars();
  void Scroll(int Bar, WORD Code);
  // Moves the current cell (Extend: the selection keeps its anchor); false when refused.
  bool MoveCurrent(int ACol, int ARow, bool Extend);
  void ClampCurrent();
  void MakeCurrentVisible();
  void InvalidateSelection();
  void PaintLines(const TRect& Cell, bool Fixed);

  Axis cols_{5, 1, 64, {}, 1};
  Axis rows_{5, 1, 24, {}, 1};
  int grid_line_width_ = 1;
  TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TScrollStyle scroll_bars_ = ssBoth;
  TColor fixed_color_ = clBtnFace;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  bool default_drawing_ = true;
  int col_ = 1;
  int row_ = 1;
  // The corner of the selected range that stays while it is extended.
  int anchor_col_ = 1;
  int anchor_row_ = 1;
  bool selecting_ = false;
  // Showing or hiding a scroll bar resizes the client area, which updates them again.
  bool updating_scroll_bars_ = false;
};

class TDrawGrid : public TCustomGrid {
  VCL_CLASS(TDrawGrid, TCustomGrid)
 public:
  using TCustomGrid::TCustomGrid;
};

class TStringGrid : public TDrawGrid {
  VCL_CLASS(TStringGrid, TDrawGrid)
 public:
  using TDrawGrid::TDrawGrid;

  // A cell's text (empty for a cell never set); raises EListError outside the grid.
  String Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const String& Value);
  // An object the program keeps with a cell.
  TObject* Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);

 protected:
  // The cell's text, left-aligned and clipped, then OnDrawCell.
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;

 private:
  static uint64_t Key(int ACol, int ARow) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(ARow)) << 32) | static_cast<uint32_t>(ACol);
  }
  void CheckCell(int ACol, int ARow) const;

  // Only the cells that were given something: a grid of many rows costs what it holds.
  std::unordered_map<uint64_t, String> cells_;
  std::unordered_map<uint64_t, TObject*> objects_;
};

}  // namespace vcl
