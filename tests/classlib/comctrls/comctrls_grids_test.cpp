// Draw and string grids on real windows: layout, painting, scrolling, the current cell and selection.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/TypInfo.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

template <class T>
T* MakeGrid(TWinControl* parent, int w = 300, int h = 200) {
  auto* g = new T(parent);
  g->SetParent(parent);
  g->SetBounds(0, 0, w, h);
  return g;
}

// The grid painted by its own WM_PAINT into a bitmap of its client size.
void Paint(TCustomGrid* grid, TBitmap& bmp) {
  bmp.SetWidth(grid->ClientWidth());
  bmp.SetHeight(grid->ClientHeight());
  SendMessageW(grid->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
}

TColor Centre(TBitmap& bmp, const TRect& r) { return bmp.Canvas()->Pixels((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

SCROLLINFO ScrollInfo(HWND wnd, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(wnd, bar, &si);
  return si;
}

void Key(HWND wnd, WPARAM key) {
  SendMessageW(wnd, WM_KEYDOWN, key, 0);
  SendMessageW(wnd, WM_KEYUP, key, 0);
}

// A key pressed while a modifier is held, as the thread's key state reports it.
void KeyWith(HWND wnd, int modifier, WPARAM key) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  const BYTE saved = state[modifier];
  state[modifier] |= 0x80;
  SetKeyboardState(state);
  Key(wnd, key);
  state[modifier] = saved;
  SetKeyboardState(state);
}

TEST(GridLayout, FixedCellsComeFirstThenTheScrollableOnesFromTheFirstShown) {
  auto form = ShownForm();
  auto* grid = MakeGrid<TDrawGrid>(form.get());
  HWND wnd = grid->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TDrawGrid");
  // Default 64 x 24 cells with 1-pixel lines.
  EXPECT_EQ(grid->CellRect(0, 0), Rect(0, 0, 64, 24));
  EXPECT_EQ(grid->CellRect(2, 1), Rect(130, 25, 194, 49));
  grid->SetColWidths(1, 30);
  grid->SetRowHeights(0, 18);
  EXPECT_EQ(grid->CellRect(2, 1), Rect(96, 19, 160, 43));
  EXPECT_THROW(grid->ColWidths(5), EListError);
  int c = 0, r = 0;
  grid->MouseToCell(100, 20, c, r);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(r, 1);
  grid->MouseToCell(1000, 20, c, r);
  EXPECT_EQ(c, -1);
  EXPECT_EQ(r, -1);
  // A cell out of sight has no rectangle.
  EXPECT_TRUE(grid->CellRect(4, 30).IsEmpty());

  // The fixed counts stay below the counts.
  EXPECT_THROW(grid->SetFixedCols(5), EInvalidOperation);
  grid->SetFixedCols(2);
  EXPECT_EQ(grid->LeftCol(), 2);
  EXPECT_EQ(grid->Col(), 2);  // the current cell is never a fixed one
  grid->SetColCount(2);
  EXPECT_EQ(grid->FixedCols(), 1);
  EXPECT_EQ(grid->Col(), 1);
}

TEST(GridPaint, FixedAndSelectedCellsTakeTheirColoursAndOnDrawCellSeesEveryShownCell) {
  auto form = ShownForm();
  auto* grid = MakeGrid<TDrawGrid>(form.get());
  grid->SetFixedColor(clTeal);
  grid->SetColor(clWhite);
  grid->SetOptions(grid->Options() + TGridOptions{goDrawFocusSelected});
  grid->SetSelection(TGridRect{1, 1, 2, 2});
  struct Cells {
    std::vector<std::tuple<int, int, TGridDrawState>> drawn;
    void Draw(TObject*, int c, int r, const TRect&, TGridDrawState s) { drawn.emplace_back(c, r, s); }
  } cells;
  grid->OnDrawCell = TDrawCellEvent::Bind<&Cells::Draw>(&cells);

  TBitmap bmp;
  Paint(grid, bmp);
  EXPECT_EQ(Centre(bmp, grid->CellRect(3, 0)), clTeal);
  EXPECT_EQ(Centre(bmp, grid->CellRect(0, 3)), clTeal);
  EXPECT_EQ(Centre(bmp, grid->CellRect(2, 2)), ColorToRGB(clHighlight));
  EXPECT_EQ(Centre(bmp, grid->CellRect(3, 3)), clWhite);
  // Every shown cell once (5 x 5 fit into 300 x 200 less the border), with its state.
  EXPECT_EQ(cells.drawn.size(), 25u);
  for (auto [c, r, s] : cells.drawn) {
    EXPECT_EQ(s.Contains(gdFixed), c == 0 || r == 0) << c << "," << r;
    EXPECT_EQ(s.Contains(gdSelected), c >= 1 && c <= 2 && r >= 1 && r <= 2) << c << "," << r;
  }

  // Without default drawing the event paints the cells; the grid leaves them alone.
  grid->SetDefaultDrawing(false);
  bmp.Canvas()->Brush()->SetColor(clFuchsia);
  bmp.Canvas()->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
  SendMessageW(grid->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  EXPECT_EQ(Centre(bmp, grid->CellRect(3, 3)), clFuchsia);
  EXPECT_EQ(Centre(bmp, grid->CellRect(0, 0)), clFuchsia);
}

TEST(GridPaint, AStringGridDrawsItsCellsTexts) {
  auto form = ShownForm();
  auto* grid = MakeGrid<TStringGrid>(form.get());
  grid->SetCells(1, 1, L"宝贝");
  EXPECT_EQ(grid->Cells(3, 3), L"");
  EXPECT_THROW(grid->Cells(5, 0), EListError);
  TObject marker;
  grid->SetObjects(2, 2, &marker);
  EXPECT_EQ(grid->Objects(2, 2), &marker);
  grid->SetCol(3);  // keeps the highlight away from the texts

  TBitmap bmp;
  Paint(grid, bmp);
  auto inked = [&](const TRect& r) {
    int n = 0;
    for (int x = r.Left; x < r.Right; ++x)
      for (int y = r.Top; y < r.Bottom; ++y) n += bmp.Canvas()->Pixels(x, y) != ColorToRGB(grid->Color());
    return n;
  };
  EXPECT_GT(inked(grid->CellRect(1, 1)), 5);
  EXPECT_EQ(inked(grid->CellRect(2, 1)), 0);

  // Fewer rows: the cells beyond go.
  grid->SetRowCount(1);
  grid->SetRowCount(5);
  EXPECT_EQ(grid->Cells(1, 1), L"");
  EXPECT_EQ(grid->Objects(2, 2), nullptr);
}

TEST(GridScrolling, TheWindowsScrollBarsMoveTheScrollableRows) {
  auto form = ShownForm();
  auto* grid = MakeGrid<TStringGrid>(form.get(), 360, 200);
  Notified moves;
  grid->OnTopLeftChanged = moves.Handler();
  HWND wnd = grid->Handle();
  // Everything fits: no scroll bars.
  EXPECT_EQ(StyleOf(wnd) & (WS_VSCROLL | WS_HSCROLL), 0);

  grid->SetRowCount(100);
  EXPECT_NE(StyleOf(wnd) & WS_VSCROLL, 0);
  const int visible = grid->VisibleRowCount();
  EXPECT_GT(visible, 3);
  EXPECT_EQ(ScrollInfo(wnd, SB_VERT).nMax, 98);

  SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid->TopRow(), 2);
  EXPECT_EQ(ScrollInfo(wnd, SB_VERT).nPos, 1);
  SendMessageW(wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(grid->TopRow(), 2 + visible);
  SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
  // The last row ends the view.
  const TRect last = grid->CellRect(1, 99);
  ASSERT_FALSE(last.IsEmpty());
  EXPECT_LE(last.Bottom, grid->ClientHeight());
  EXPECT_TRUE(grid->CellRect(1, grid->TopRow() - 1).IsEmpty());
  EXPECT_EQ(moves.Count(), 3);
  SendMessageW(wnd, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(grid->TopRow(), 1);
  // The wheel scrolls too.
  SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_GT(grid->TopRow(), 1);

  // Wide grids scroll sideways.
  grid->SetColCount(30);
  EXPECT_NE(StyleOf(wnd) & WS_HSCROLL, 0);
  SendMessageW(wnd, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid->LeftCol(), 2);

  grid->SetScrollBars(ssNone);
  EXPECT_EQ(StyleOf(grid->Handle()) & (WS_VSCROLL | WS_HSCROLL), 0);
}

TEST(GridInput, ClicksAndKeysMoveTheCurrentCellAndTheSelection) {
  auto form = ShownForm();
  auto* grid = MakeGrid<TStringGrid>(form.get());
  grid->SetRowCount(50);
  struct Selecting {
    std::vector<std::pair<int, int>> asked;
    bool allow = true;
    void Select(TObject*, int c, int r, bool& can) {
      asked.emplace_back(c, r);
      can = allow;
    }
  } selecting;
  grid->OnSelectCell = TSelectCellEvent::Bind<&Selecting::Select>(&selecting);
  HWND wnd = grid->Handle();

  const TRect cell = grid->CellRect(3, 2);
  const LPARAM at = PointToLParam(cell.Left + 5, cell.Top + 5);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(wnd, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(selecting.asked, (std::vector<std::pair<int, int>>{{3, 2}}));

  Key(wnd, VK_DOWN);
  Key(wnd, VK_LEFT);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 3);
  // A click on a fixed cell moves nothing.
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(5, 5));
  EXPECT_EQ(grid->Col(), 2);

  // Down past the view scrolls the current row into it.
  KeyWith(wnd, VK_CONTROL, VK_END);
  EXPECT_EQ(grid->Row(), 49);
  EXPECT_FALSE(grid->CellRect(grid->Col(), 49).IsEmpty());

  // A refused cell keeps the current one.
  selecting.allow = false;
  Key(wnd, VK_UP);
  EXPECT_EQ(grid->Row(), 49);
  selecting.allow = true;

  // Shift extends the selection from where it was.
  grid->SetRow(10);
  grid->SetCol(1);
  KeyWith(wnd, VK_SHIFT, VK_RIGHT);
  KeyWith(wnd, VK_SHIFT, VK_DOWN);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 10, 2, 11}));

  // Whole rows.
  grid->SetOptions(grid->Options() + TGridOptions{goRowSelect});
  grid->SetRow(5);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 5, 4, 5}));
}

TEST(GridWindow, ANewBorderMakesANewWindowThatKeepsThePlace) {
  auto form = ShownForm();
  auto* grid = MakeGrid<TDrawGrid>(form.get());
  grid->SetRowCount(60);
  grid->SetTopRow(20);
  grid->SetRow(22);
  HWND before = grid->Handle();
  // What the layered engine does to have a grid paint itself again: the one-byte border
  // property set to 0 and back.
  SetOrdProp(grid, L"BorderStyle", 0);
  EXPECT_EQ(GetWindowLongPtrW(grid->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  SetOrdProp(grid, L"BorderStyle", 1);
  EXPECT_NE(GetWindowLongPtrW(grid->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_NE(grid->Handle(), before);
  EXPECT_EQ(grid->TopRow(), 20);
  EXPECT_EQ(grid->Row(), 22);
  EXPECT_EQ(ScrollInfo(grid->Handle(), SB_VERT).nPos, 19);

  // A grid of very many rows costs only what it holds.
  auto* big = MakeGrid<TStringGrid>(form.get());
  big->SetRowCount(50000000);
  big->SetCells(1, 49999999, L"末");
  SendMessageW(big->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_FALSE(big->CellRect(1, 49999999).IsEmpty());
  EXPECT_EQ(big->Cells(1, 49999999), L"末");
}

}  // namespace
}  // namespace vcl::testing
