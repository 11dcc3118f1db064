// TCustomGrid: layout of the rows and columns, scrolling, the current cell and selection,
// mouse and keys; TDrawGrid and TStringGrid.
#include "classlib/comctrls/Grids.h"

#include <algorithm>

namespace vcl {

namespace {

void PublishGrid(TPropertyList& p) {
  publish::Align(p);
  publish::Anchors(p);
  p.Enum<&TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle>(L"BorderStyle",
                                                                  static_cast<int64_t>(TBorderStyle::bsSingle));
  publish::Bounds(p);
  publish::Color(p, clWindow);
  p.Integer<&TCustomGrid::ColCount, &TCustomGrid::SetColCount>(L"ColCount", 5);
  p.Integer<&TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth>(L"DefaultColWidth", 64);
  p.Integer<&TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight>(L"DefaultRowHeight", 24);
  p.Bool<&TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing>(L"DefaultDrawing", true);
  publish::Enabled(p);
  p.Integer<&TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor>(L"FixedColor", clBtnFace, &ColorTypeInfo());
  // The counts before the fixed counts, which must stay below them.
  p.Integer<&TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols>(L"FixedCols", 1);
  p.Integer<&TCustomGrid::RowCount, &TCustomGrid::SetRowCount>(L"RowCount", 5);
  p.Integer<&TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows>(L"FixedRows", 1);
  publish::Font(p);
  p.Integer<&TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth>(L"GridLineWidth", 1);
  publish::Hints(p);
  p.Set<&TCustomGrid::Options, &TCustomGrid::SetOptions>(
      L"Options", TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}.ToInt());
  publish::ParentColor(p, false);
  publish::PopupMenu(p);
  p.Enum<&TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars>(L"ScrollBars", static_cast<int64_t>(ssBoth));
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Event<&TCustomGrid::OnDrawCell>(L"OnDrawCell");
  p.Event<&TCustomGrid::OnSelectCell>(L"OnSelectCell");
  p.Event<&TCustomGrid::OnTopLeftChanged>(L"OnTopLeftChanged");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
  p.Event<&TControl::OnMouseWheel>(L"OnMouseWheel");
}

}  // namespace

VCL_CLASS_INFO(TCustomGrid) {}
VCL_CLASS_INFO(TDrawGrid) { PublishGrid(p); }
VCL_CLASS_INFO(TStringGrid) {}

// ---------------------------------------------------------------------------------------
// Layout along one axis

int TCustomGrid::Axis::Size(int Index) const {
  auto it = sizes.find(Index);
  return it == sizes.end() ? default_size : it->second;
}

int TCustomGrid::FixedExtent(const Axis& A) const {
  int extent = 0;
  for (int i = 0; i < A.fixed; ++i) extent += A.Size(i) + grid_line_width_;
  return extent;
}

int TCustomGrid::Start(const Axis& A, int Index, int Extent) const {
  if (Index < 0 || Index >= A.count) return -1;
  int pos = 0;
  if (Index < A.fixed) {
    for (int i = 0; i < Index; ++i) pos += A.Size(i) + grid_line_width_;
    return pos;
  }
  if (Index < A.first) return -1;
  pos = FixedExtent(A);
  for (int i = A.first; i < Index; ++i) {
    pos += A.Size(i) + grid_line_width_;
    if (pos >= Extent) return -1;
  }
  return pos < Extent ? pos : -1;
}

int TCustomGrid::IndexAt(const Axis& A, int Pos, int Extent) const {
  if (Pos < 0 || Pos >= Extent) return -1;
  int x = 0;
  for (int i = 0; i < A.fixed; ++i) {
    x += A.Size(i) + grid_line_width_;
    if (Pos < x) return i;
  }
  for (int i = A.first; i < A.count && x < Extent; ++i) {
    x += A.Size(i) + grid_line_width_;
    if (Pos < x) return i;
  }
  return -1;
}

int TCustomGrid::VisibleCount(const Axis& A, int Extent) const {
  int x = FixedExtent(A);
  int n = 0;
  for (int i = A.first; i < A.count; ++i) {
    if (x + A.Size(i) > Extent) break;
    x += A.Size(i) + grid_line_width_;
    ++n;
  }
  return n;
}

int TCustomGrid::MaxFirst(const Axis& A, int Extent) const {
  const int room = Extent - FixedExtent(A);
  int first = A.count;
  int used = 0;
  for (int i = A.count - 1; i >= A.fixed; --i) {
    used += A.Size(i);
    if (used > room) break;
    first = i;
    used += grid_line_width_;
  }
  // Even when the last cell alone does not fit, it can be the first shown.
  return std::clamp(first, A.fixed, std::max(A.fixed, A.count - 1));
}

void TCustomGrid::SetFirst(Axis& A, int Value, int Extent) {
  Value = std::clamp(Value, A.fixed, std::max(A.fixed, MaxFirst(A, Extent)));
  if (A.first == Value) return;
  A.first = Value;
  Invalidate();
  UpdateScrollBars();
  TopLeftChanged();
}

void TCustomGrid::SetCount(Axis& A, int Value) {
  Value = std::max(Value, 1);
  if (A.count == Value) return;
  const int old_cols = cols_.count, old_rows = rows_.count;
  A.count = Value;
  A.fixed = std::min(A.fixed, Value - 1);
  A.sizes.erase(A.sizes.lower_bound(Value), A.sizes.end());
  SizeChanged(old_cols, old_rows);
  AxisChanged();
}

// Counts, fixed counts or sizes changed: what is shown and current follows.
void TCustomGrid::AxisChanged() {
  cols_.first = std::clamp(cols_.first, cols_.fixed, std::max(cols_.fixed, cols_.count - 1));
  rows_.first = std::clamp(rows_.first, rows_.fixed, std::max(rows_.fixed, rows_.count - 1));
  ClampCurrent();
  if (HandleAllocated()) {
    cols_.first = std::min(cols_.first, MaxFirst(cols_, ClientWidth()));
    rows_.first = std::min(rows_.first, MaxFirst(rows_, ClientHeight()));
  }
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::ClampCurrent() {
  auto clamp = [](int v, const Axis& A) { return std::clamp(v, std::min(A.fixed, A.count - 1), A.count - 1); };
  col_ = clamp(col_, cols_);
  row_ = clamp(row_, rows_);
  anchor_col_ = clamp(anchor_col_, cols_);
  anchor_row_ = clamp(anchor_row_, rows_);
}

// ---------------------------------------------------------------------------------------
// Properties

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque} - TControlStyle{csSetCaption});
  SetBounds(0, 0, 320, 120);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
}

void TCustomGrid::SetColCount(int Value) { SetCount(cols_, Value); }
void TCustomGrid::SetRowCount(int Value) { SetCount(rows_, Value); }

void TCustomGrid::SetFixedCols(int Value) {
  if (Value < 0 || Value >= cols_.count)
    throw EInvalidOperation(L"Fixed column count must be less than column count");
  if (cols_.fixed == Value) return;
  cols_.fixed = Value;
  // The first scrollable column and the current cell follow the fixed ones.
  cols_.first = Value;
  col_ = std::max(col_, Value);
  anchor_col_ = col_;
  AxisChanged();
}

void TCustomGrid::SetFixedRows(int Value) {
  if (Value < 0 || Value >= rows_.count) throw EInvalidOperation(L"Fixed row count must be less than row count");
  if (rows_.fixed == Value) return;
  rows_.fixed = Value;
  rows_.first = Value;
  row_ = std::max(row_, Value);
  anchor_row_ = row_;
  AxisChanged();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  Value = std::max(Value, 0);
  if (cols_.default_size == Value) return;
  cols_.default_size = Value;
  cols_.sizes.clear();
  AxisChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  Value = std::max(Value, 0);
  if (rows_.default_size == Value) return;
  rows_.default_size = Value;
  rows_.sizes.clear();
  AxisChanged();
}

int TCustomGrid::ColWidths(int Index) const {
  if (Index < 0 || Index >= cols_.count) throw EListError(L"Grid index out of range");
  return cols_.Size(Index);
}

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (Index < 0 || Index >= cols_.count) throw EListError(L"Grid index out of range");
  cols_.sizes[Index] = std::max(Value, 0);
  AxisChanged();
}

int TCustomGrid::RowHeights(int Index) const {
  if (Index < 0 || Index >= rows_.count) throw EListError(L"Grid index out of range");
  return rows_.Size(Index);
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (Index < 0 || Index >= rows_.count) throw EListError(L"Grid index out of range");
  rows_.sizes[Index] = std::max(Value, 0);
  AxisChanged();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  Value = std::max(Value, 0);
  if (grid_line_width_ == Value) return;
  grid_line_width_ = Value;
  AxisChanged();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
  if (options_ == Value) return;
  options_ = Value;
  if (!options_.Contains(goRangeSelect)) {
    anchor_col_ = col_;
    anchor_row_ = row_;
  }
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (scroll_bars_ == Value) return;
  scroll_bars_ = Value;
  RecreateWnd();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (fixed_color_ == Value) return;
  fixed_color_ = Value;
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (default_drawing_ == Value) return;
  default_drawing_ = Value;
  Invalidate();
}

void TCustomGrid::SetCol(int Value) { MoveCurrent(Value, row_, false); }
void TCustomGrid::SetRow(int Value) { MoveCurrent(col_, Value, false); }

TGridRect TCustomGrid::Selection() const {
  if (options_.Contains(goRowSelect))
    return {cols_.fixed, std::min(anchor_row_, row_), cols_.count - 1, std::max(anchor_row_, row_)};
  return {std::min(anchor_col_, col_), std::min(anchor_row_, row_), std::max(anchor_col_, col_),
          std::max(anchor_row_, row_)};
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  InvalidateSelection();
  anchor_col_ = Value.Left;
  anchor_row_ = Value.Top;
  col_ = Value.Right;
  row_ = Value.Bottom;
  ClampCurrent();
  InvalidateSelection();
}

void TCustomGrid::SetTopRow(int Value) { SetFirst(rows_, Value, ClientHeight()); }
void TCustomGrid::SetLeftCol(int Value) { SetFirst(cols_, Value, ClientWidth()); }
int TCustomGrid::VisibleRowCount() const { return VisibleCount(rows_, ClientHeight()); }
int TCustomGrid::VisibleColCount() const { return VisibleCount(cols_, ClientWidth()); }

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  const int x = Start(cols_, ACol, ClientWidth());
  const int y = Start(rows_, ARow, ClientHeight());
  if (x < 0 || y < 0) return TRect();
  return Bounds(x, y, cols_.Size(ACol), rows_.Size(ARow));
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  ACol = IndexAt(cols_, X, ClientWidth());
  ARow = IndexAt(rows_, Y, ClientHeight());
  if (ACol < 0 || ARow < 0) ACol = ARow = -1;
}

// ---------------------------------------------------------------------------------------
// The current cell and scrolling

bool TCustomGrid::SelectCell(int ACol, int ARow) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

bool TCustomGrid::MoveCurrent(int ACol, int ARow, bool Extend) {
  if (cols_.fixed >= cols_.count || rows_.fixed >= rows_.count) return false;  // only fixed cells
  ACol = std::clamp(ACol, cols_.fixed, cols_.count - 1);
  ARow = std::clamp(ARow, rows_.fixed, rows_.count - 1);
  Extend = Extend && options_.Contains(goRangeSelect);
  if (ACol == col_ && ARow == row_ && (Extend || (anchor_col_ == col_ && anchor_row_ == row_))) {
    MakeCurrentVisible();
    return true;
  }
  if ((ACol != col_ || ARow != row_) && !SelectCell(ACol, ARow)) return false;
  InvalidateSelection();
  col_ = ACol;
  row_ = ARow;
  if (!Extend) {
    anchor_col_ = ACol;
    anchor_row_ = ARow;
  }
  InvalidateSelection();
  MakeCurrentVisible();
  return true;
}

void TCustomGrid::MakeCurrentVisible() {
  if (!HandleAllocated()) return;
  // The first shown index that still shows Index whole at the end of Extent.
  auto last_fit = [&](const Axis& A, int Index, int Extent) {
    const int room = Extent - FixedExtent(A);
    int first = Index;
    int used = A.Size(Index);
    while (first - 1 >= A.fixed && used + grid_line_width_ + A.Size(first - 1) <= room) {
      --first;
      used += grid_line_width_ + A.Size(first);
    }
    return first;
  };
  auto follow = [&](Axis& A, int Index, int Extent) {
    if (Index < A.first)
      SetFirst(A, Index, Extent);
    else if (Index >= A.first + VisibleCount(A, Extent))
      SetFirst(A, std::max(A.first, last_fit(A, Index, Extent)), Extent);
  };
  follow(rows_, row_, ClientHeight());
  if (!options_.Contains(goRowSelect)) follow(cols_, col_, ClientWidth());
}

void TCustomGrid::UpdateScrollBars() {
  if (!HandleAllocated() || updating_scroll_bars_) return;
  updating_scroll_bars_ = true;
  auto update = [&](int Bar, const Axis& A, int Extent, bool Wanted) {
    if (!Wanted) return;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = std::max(0, A.count - A.fixed - 1);
    // Everything fits: a page as large as the range hides the bar.
    const bool fits = MaxFirst(A, Extent) <= A.fixed;
    si.nPage = fits ? static_cast<UINT>(si.nMax + 1) : static_cast<UINT>(std::max(1, VisibleCount(A, Extent)));
    si.nPos = A.first - A.fixed;
    SetScrollInfo(Handle(), Bar, &si, TRUE);
  };
  try {
    update(SB_VERT, rows_, ClientHeight(), scroll_bars_ == ssVertical || scroll_bars_ == ssBoth);
    update(SB_HORZ, cols_, ClientWidth(), scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth);
  } catch (...) {
    updating_scroll_bars_ = false;
    throw;
  }
  updating_scroll_bars_ = false;
}

void TCustomGrid::Scroll(int Bar, WORD Code) {
  Axis& A = Bar == SB_VERT ? rows_ : cols_;
  const int extent = Bar == SB_VERT ? ClientHeight() : ClientWidth();
  const int page = std::max(1, VisibleCount(A, extent));
  int first = A.first;
  switch (Code) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= page; break;
    case SB_PAGEDOWN: first += page; break;
    case SB_TOP: first = A.fixed; break;
    case SB_BOTTOM: first = A.count; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      if (Code == SB_THUMBTRACK && !options_.Contains(goThumbTracking)) return;
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      if (!GetScrollInfo(Handle(), Bar, &si)) return;
      first = A.fixed + si.nTrackPos;
      break;
    }
    default:
      return;
  }
  SetFirst(A, first, extent);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  if (!HandleAllocated()) return;
  const TRect r = CellRect(ACol, ARow);
  if (r.IsEmpty()) return;
  RECT area = Rect(r.Left, r.Top, r.Right + grid_line_width_, r.Bottom + grid_line_width_);
  InvalidateRect(Handle(), &area, FALSE);
}

void TCustomGrid::InvalidateSelection() {
  if (!HandleAllocated()) return;
  const TGridRect sel = Selection();
  // Only what is shown of it; a whole-row selection spans the client width.
  const int top = std::max(sel.Top, rows_.first), bottom = std::min(sel.Bottom, rows_.first + VisibleRowCount());
  for (int r = top; r <= bottom && r < rows_.count; ++r) {
    const int y = Start(rows_, r, ClientHeight());
    if (y < 0) continue;
    RECT area = Rect(0, y, ClientWidth(), y + rows_.Size(r) + grid_line_width_);
    InvalidateRect(Handle(), &area, FALSE);
  }
}

// ---------------------------------------------------------------------------------------
// Mouse and keys

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c >= cols_.fixed && r >= rows_.fixed) {
      MoveCurrent(c, r, Shift.Contains(ssShift));
      selecting_ = options_.Contains(goRangeSelect);
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  if (selecting_ && Shift.Contains(ssLeft)) {
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c >= cols_.fixed && r >= rows_.fixed) MoveCurrent(c, r, true);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  selecting_ = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  const bool extend = Shift.Contains(ssShift);
  const bool ctrl = Shift.Contains(ssCtrl);
  const bool row_select = options_.Contains(goRowSelect);
  const int page = std::max(1, VisibleRowCount());
  switch (Key) {
    case VK_UP: MoveCurrent(col_, row_ - 1, extend); break;
    case VK_DOWN: MoveCurrent(col_, row_ + 1, extend); break;
    case VK_LEFT:
      if (row_select)
        SetLeftCol(cols_.first - 1);
      else
        MoveCurrent(col_ - 1, row_, extend);
      break;
    case VK_RIGHT:
      if (row_select)
        SetLeftCol(cols_.first + 1);
      else
        MoveCurrent(col_ + 1, row_, extend);
      break;
    case VK_PRIOR: MoveCurrent(col_, row_ - page, extend); break;
    case VK_NEXT: MoveCurrent(col_, row_ + page, extend); break;
    case VK_HOME:
      if (ctrl || row_select)
        MoveCurrent(col_, rows_.fixed, extend);
      else
        MoveCurrent(cols_.fixed, row_, extend);
      break;
    case VK_END:
      if (ctrl || row_select)
        MoveCurrent(col_, rows_.count - 1, extend);
      else
        MoveCurrent(cols_.count - 1, row_, extend);
      break;
    case VK_TAB:
      if (!options_.Contains(goTabs)) return;
      // Along the row, on to the next (previous) one at its end.
      if (extend) {
        if (col_ > cols_.fixed)
          MoveCurrent(col_ - 1, row_, false);
        else if (row_ > rows_.fixed)
          MoveCurrent(cols_.count - 1, row_ - 1, false);
      } else if (col_ < cols_.count - 1) {
        MoveCurrent(col_ + 1, row_, false);
      } else if (row_ < rows_.count - 1) {
        MoveCurrent(cols_.fixed, row_ + 1, false);
      }
      break;
    default:
      return;
  }
  Key = 0;
}

bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  if (lines == WHEEL_PAGESCROLL) lines = static_cast<UINT>(std::max(1, VisibleRowCount()));
  SetTopRow(rows_.first - WheelDelta * static_cast<int>(lines) / WHEEL_DELTA);
  return true;
}

void TCustomGrid::Resize() {
  AxisChanged();
  TCustomControl::Resize();
}

// ---------------------------------------------------------------------------------------
// The window

void TCustomGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) Params.Style |= WS_VSCROLL;
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) Params.Style |= WS_HSCROLL;
  if (border_style_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  AxisChanged();
}

void TCustomGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | (options_.Contains(goTabs) ? DLGC_WANTTAB : 0);
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, Message.WParamLo());
      Message.Result = 0;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(Message);
      InvalidateSelection();
      return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------
// Painting

void TCustomGrid::PaintLines(const TRect& Cell, bool Fixed) {
  if (grid_line_width_ <= 0) return;
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Fixed ? clBtnShadow : clSilver);
  if (options_.Contains(Fixed ? goFixedVertLine : goVertLine))
    canvas->FillRect(Rect(Cell.Right, Cell.Top, Cell.Right + grid_line_width_, Cell.Bottom + grid_line_width_));
  if (options_.Contains(Fixed ? goFixedHorzLine : goHorzLine))
    canvas->FillRect(Rect(Cell.Left, Cell.Bottom, Cell.Right + grid_line_width_, Cell.Bottom + grid_line_width_));
}

void TCustomGrid::Paint() {
  TCanvas* canvas = Canvas();
  const int width = ClientWidth(), height = ClientHeight();
  const TGridRect sel = Selection();
  const bool focused = Focused();
  const bool highlight_current = options_.Contains(goDrawFocusSelected) || options_.Contains(goRowSelect);
  // The rows and columns shown: the fixed ones, then the scrollable ones from the first.
  auto shown = [&](const Axis& A, int Extent) {
    std::vector<std::pair<int, int>> list;  // index, start
    int pos = 0;
    for (int i = 0; i < A.fixed && pos < Extent; ++i) {
      list.emplace_back(i, pos);
      pos += A.Size(i) + grid_line_width_;
    }
    for (int i = A.first; i < A.count && pos < Extent; ++i) {
      list.emplace_back(i, pos);
      pos += A.Size(i) + grid_line_width_;
    }
    return std::make_pair(list, pos);
  };
  const auto [cols, right] = shown(cols_, width);
  const auto [rows, bottom] = shown(rows_, height);
  for (auto [r, y] : rows) {
    for (auto [c, x] : cols) {
      const TRect cell = Bounds(x, y, cols_.Size(c), rows_.Size(r));
      const bool fixed = c < cols_.fixed || r < rows_.fixed;
      const bool current = c == col_ && r == row_;
      TGridDrawState state;
      if (fixed) state.Include(gdFixed);
      if (!fixed && sel.Contains(c, r) && (!current || highlight_current)) state.Include(gdSelected);
      if (!fixed && current && focused) state.Include(gdFocused);
      canvas->SetFont(Font());
      canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
      canvas->Brush()->SetColor(fixed ? fixed_color_ : state.Contains(gdSelected) ? clHighlight : Color());
      if (state.Contains(gdSelected)) canvas->Font()->SetColor(clHighlightText);
      if (default_drawing_) canvas->FillRect(cell);
      DrawCell(c, r, cell, state);
      if (default_drawing_ && state.Contains(gdFocused) && !options_.Contains(goRowSelect))
        canvas->DrawFocusRect(cell);
      PaintLines(cell, fixed);
    }
  }
  // Beyond the last column and row.
  canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  canvas->Brush()->SetColor(Color());
  if (right < width) canvas->FillRect(Rect(right, 0, width, height));
  if (bottom < height) canvas->FillRect(Rect(0, bottom, std::min(right, width), height));
}

void TCustomGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

// ---------------------------------------------------------------------------------------
// TStringGrid

void TStringGrid::CheckCell(int ACol, int ARow) const {
  if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
    throw EListError(L"Grid index out of range");
}

String TStringGrid::Cells(int ACol, int ARow) const {
  CheckCell(ACol, ARow);
  auto it = cells_.find(Key(ACol, ARow));
  return it == cells_.end() ? String() : it->second;
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
  CheckCell(ACol, ARow);
  if (Value.empty())
    cells_.erase(Key(ACol, ARow));
  else
    cells_[Key(ACol, ARow)] = Value;
  InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  CheckCell(ACol, ARow);
  auto it = objects_.find(Key(ACol, ARow));
  return it == objects_.end() ? nullptr : it->second;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  CheckCell(ACol, ARow);
  if (Value)
    objects_[Key(ACol, ARow)] = Value;
  else
    objects_.erase(Key(ACol, ARow));
}

void TStringGrid::SizeChanged(int, int) {
  const int cols = ColCount(), rows = RowCount();
  auto outside = [&](uint64_t key) {
    return static_cast<int>(key & 0xFFFFFFFFu) >= cols || static_cast<int>(key >> 32) >= rows;
  };
  std::erase_if(cells_, [&](const auto& e) { return outside(e.first); });
  std::erase_if(objects_, [&](const auto& e) { return outside(e.first); });
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing()) {
    auto it = cells_.find(Key(ACol, ARow));
    if (it != cells_.end()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, it->second);
  }
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

}  // namespace vcl
