// The list-view adapter on the library's list view and on bare list views as system dialogs
// have them: the skin's colours given and exactly the list's own given back, the report view's
// header by pixel in its states with the columns reordered, its lit column let go when the real
// pointer leaves for another window, and a thumb drag by whole rows.
#include <array>
#include <tuple>

#include "adapters_support.h"
#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/forms/Forms.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/ListViewWnd.h"
#include "skin_layered/adapters/ScrollGeometry.h"
#include "skin_layered/adapters/ScrollState.h"
#include "skin_layered/forms/SkinProvider.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kListBg = 0x30C0F0, kListFont = 0x000080;
constexpr COLORREF kHeaderNormal = 0x2040A0, kHeaderHot = 0x20A040, kHeaderPressed = 0xA04020;
constexpr COLORREF kOwnBg = 0x123456, kOwnTextBg = 0x224466, kOwnText = 0x654321;
constexpr COLORREF kImage = 0x00FF00;

// Three 10 x 10 frames side by side in the master bitmap: the header's normal, hot and
// pressed border.
std::string ListSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\n[EDIT]\r\nCOLOR=" + Hex(kListBg) +
         "\r\nHOTCOLOR=" + Hex(kListBg) + "\r\nFONTCOLOR=" + Hex(kListFont) + "\r\nHOTFONTCOLOR=" + Hex(kListFont) +
         "\r\nSTATES=1\r\n[COLHEADER]\r\nCOLOR=$808080\r\nHOTCOLOR=$909090\r\nFONTCOLOR=$000000\r\n"
         "HOTFONTCOLOR=$000000\r\nSTATES=3\r\nBORDERSMASK=^0000,0000,0030,0010,0002,0002,0002,0002,3,0,0,0\r\n" +
         ScrollSections();
}

std::uint32_t MasterPixel(int X, int) {
  return Rgb(X < 10 ? kHeaderNormal : X < 20 ? kHeaderHot : kHeaderPressed);
}

LPARAM PointLParam(POINT P) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(P.x)), static_cast<WORD>(static_cast<short>(P.y)));
}

class ListViewAdapters : public SkinnedTest {
 protected:
  void SetUp() override {
    skins.Write(L"Lists", L"master.bmp", Bmp24(30, 10, MasterPixel));
    LoadSkin(ListSkinText(), L"Lists");
    form->SetBounds(20, 20, 460, 360);
    form->Show();
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
  }

  // A report view of three columns ("A", "B", "C", 80 pixels each) and Rows items.
  vcl::TListView* MakeList(int Rows = 5) {
    auto* list = Put<vcl::TListView>(form.get(), 10, 10, 300, 200);
    list->SetViewStyle(vcl::vsReport);
    list->SetColor(static_cast<vcl::TColor>(kOwnBg));
    list->Font()->SetColor(static_cast<vcl::TColor>(kOwnText));
    for (const wchar_t* caption : {L"A", L"B", L"C"}) {
      vcl::TListColumn* column = list->Columns()->Add();
      column->SetCaption(caption);
      column->SetWidth(80);
    }
    for (int i = 0; i < Rows; ++i) list->Items()->Add()->SetCaption(L"Row " + std::to_wstring(i));
    return list;
  }
  void Adapt(vcl::TWinControl* Control) {
    adapter = CreateAdapter<TqvListViewWnd>(Control->Handle(), nullptr, manager.get(), TqvSkinParams{Control, L""}, true);
  }
  // A list view of the system's own, as a dialog has it, with colours of its own.
  HWND MakeBare() {
    const HWND bare = Child(form->Handle(), WC_LISTVIEWW, LVS_REPORT, 10, 220, 300, 100, WS_EX_CLIENTEDGE);
    SendMessageW(bare, LVM_SETBKCOLOR, 0, kOwnBg);
    SendMessageW(bare, LVM_SETTEXTBKCOLOR, 0, kOwnTextBg);
    SendMessageW(bare, LVM_SETTEXTCOLOR, 0, kOwnText);
    return bare;
  }
  // The list's background, text background and text colours.
  static std::tuple<COLORREF, COLORREF, COLORREF> Colors(HWND List) {
    auto get = [List](UINT Msg) { return static_cast<COLORREF>(SendMessageW(List, Msg, 0, 0)); };
    return {get(LVM_GETBKCOLOR), get(LVM_GETTEXTBKCOLOR), get(LVM_GETTEXTCOLOR)};
  }

  HWND Header() const { return adapter->HeaderHandle; }
  RECT ItemRect(int Index) const {
    RECT r{};
    SendMessageW(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  POINT ItemCentre(int Index) const {
    const RECT r = ItemRect(Index);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  POINT ScreenOf(POINT Client) const {
    ClientToScreen(Header(), &Client);
    return Client;
  }
  // The header painted into memory; the border pixel of each column by item index.
  std::vector<COLORREF> ColumnPixels() {
    RECT client{};
    GetClientRect(Header(), &client);
    MemoryPixels pixels(client.right, client.bottom);
    adapter->PaintHeader(pixels.DC());
    std::vector<COLORREF> colors;
    for (int i = 0; i < 3; ++i) colors.push_back(pixels.At(ItemRect(i).left + 1, client.bottom / 2));
    rest_pixel = pixels.At(client.right - 2, client.bottom / 2);
    return colors;
  }

  TqvAdapterPtr<TqvListViewWnd> adapter;
  COLORREF rest_pixel = 0;
  MouseSeam mouse;
  POINT& cursor = mouse.cursor;
  bool& button_down = mouse.down;
};

TEST_F(ListViewAdapters, AListViewTakesTheSkinsColoursAndGetsItsOwnBack) {
  auto* list = MakeList();
  Adapt(list);
  EXPECT_EQ(adapter->SkinData->COC, kListViewCode);
  EXPECT_FALSE(list->ControlStyle().Contains(vcl::csOpaque));
  SendMessageW(list->Handle(), WM_PAINT, 0, 0);
  EXPECT_EQ(Colors(list->Handle()), std::make_tuple(kListBg, kListBg, kListFont));
  {
    // The client printed in the list's colour, the header over it at its place.
    FramePixels pixels(list->Handle());
    SendMessageW(list->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    RECT header{};
    GetWindowRect(Header(), &header);
    RECT window{};
    GetWindowRect(list->Handle(), &window);
    const int hx = header.left - window.left, hy = header.top - window.top;
    EXPECT_EQ(pixels.At(hx + ItemRect(1).left + 1, hy + (header.bottom - header.top) / 2), kHeaderNormal);
    EXPECT_EQ(pixels.At(hx + 200, header.bottom - window.top + 80), kListBg);
  }

  manager->SetActive(false);
  EXPECT_EQ(Colors(list->Handle()), std::make_tuple(kOwnBg, kOwnBg, kOwnText));
  EXPECT_EQ(list->Color(), static_cast<vcl::TColor>(kOwnBg));
  manager->SetActive(true);
  SendMessageW(list->Handle(), WM_PAINT, 0, 0);
  EXPECT_EQ(Colors(list->Handle()), std::make_tuple(kListBg, kListBg, kListFont));

  UninstallAdapter(adapter, true, true);
  EXPECT_EQ(Colors(list->Handle()), std::make_tuple(kOwnBg, kOwnBg, kOwnText));
  EXPECT_EQ(list->Font()->Color(), static_cast<vcl::TColor>(kOwnText));
}

TEST_F(ListViewAdapters, ADialogsListViewGetsItsOwnColoursBackExactly) {
  const HWND list = MakeBare();
  {
    const TqvDialogChildScope dialog(true);
    adapter = CreateAdapter<TqvListViewWnd>(list, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
  }
  EXPECT_TRUE(adapter->DialogChild);
  SendMessageW(list, WM_PAINT, 0, 0);
  const auto window = static_cast<COLORREF>(GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(Colors(list), std::make_tuple(window, window, static_cast<COLORREF>(GetSysColor(COLOR_WINDOWTEXT))));
  UninstallAdapter(adapter, true, true);
  EXPECT_EQ(Colors(list), std::make_tuple(kOwnBg, kOwnTextBg, kOwnText));

  // Not a dialog's: the section's colours, and its own again when the skin goes.
  adapter = CreateAdapter<TqvListViewWnd>(list, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
  SendMessageW(list, WM_PAINT, 0, 0);
  EXPECT_EQ(Colors(list), std::make_tuple(kListBg, kListBg, kListFont));
  UninstallAdapter(adapter, true, true);
  EXPECT_EQ(Colors(list), std::make_tuple(kOwnBg, kOwnTextBg, kOwnText));
}

// Each column's text where its format puts it (left, right or centred in the column less its
// 4-pixel margins), a sort arrow 6 pixels after it pointing up or down, whole inside the column
// also when the text is right-aligned.
TEST_F(ListViewAdapters, HeaderTextsByTheirAlignmentAndSortArrowsAfterThem) {
  const HWND list = MakeBare();
  struct Column {
    const wchar_t* text;
    int format;
  };
  const Column columns[] = {{L"Left", HDF_LEFT | HDF_SORTUP}, {L"Right", HDF_RIGHT | HDF_SORTDOWN}, {L"Mid", HDF_CENTER}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.cx = 100;
    c.pszText = const_cast<wchar_t*>(columns[i].text);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
  }
  adapter = CreateAdapter<TqvListViewWnd>(list, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
  for (int i = 0; i < 3; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    item.fmt = HDF_STRING | columns[i].format;
    SendMessageW(Header(), HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  RECT client{};
  GetClientRect(Header(), &client);
  MemoryPixels pixels(client.right, client.bottom);
  adapter->PaintHeader(pixels.DC());
  // The header's columns of pixels that hold black (the text's and the arrow's colour).
  auto inked = [&](int X) {
    for (int y = 0; y < client.bottom; ++y)
      if (pixels.At(X, y) == 0x000000) return true;
    return false;
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(testing::Message() << "column " << i);
    const RECT r = ItemRect(i);
    const int inner = r.left + 4, innerRight = r.right - 4;  // the column less its margins
    int first = -1, last = -1;
    for (int x = r.left; x < r.right; ++x)
      if (inked(x)) {
        if (first < 0) first = x;
        last = x;
      }
    ASSERT_GE(first, 0);
    EXPECT_LE(last, innerRight);  // everything inside the margins (the arrow's tip may touch them)
    int textLast = last;
    if (i != 2) {
      // The arrow: the marks at the right end, a gap of the 5 after the text and 6 before it.
      int arrowFirst = last;
      while (inked(arrowFirst - 1)) --arrowFirst;
      textLast = arrowFirst - 1;
      while (textLast > first && !inked(textLast)) --textLast;
      EXPECT_NEAR(arrowFirst - textLast - 1, 5 + 6, 3);
      EXPECT_LE(last - arrowFirst + 1, 8);
      // Its rows: narrow at the top when up, at the bottom when down.
      const int top = 1 + (client.bottom - 2 - 3) / 2 - 1;
      std::array<int, 4> rows{};
      for (int row = 0; row < 4; ++row)
        for (int x = arrowFirst; x <= last; ++x) rows[static_cast<std::size_t>(row)] += pixels.At(x, top + row) == 0 ? 1 : 0;
      if (i == 0) {
        EXPECT_LT(rows[0], rows[3]);
      } else {
        EXPECT_GT(rows[0], rows[3]);
      }
    }
    if (i == 0) {
      EXPECT_NEAR(first, inner, 2);  // from the left
    } else if (i == 1) {
      EXPECT_NEAR(last, innerRight, 2);  // right-aligned: the arrow (and its gap) then the margin
    } else {
      EXPECT_NEAR(innerRight - 1 - textLast, first - inner, 6);  // centred
    }
  }
}

TEST_F(ListViewAdapters, ReorderedColumnsLightTheColumnUnderTheMouseAndThePressedOne) {
  auto* list = MakeList();
  Adapt(list);
  ASSERT_NE(Header(), nullptr);
  // On screen: C, A, B.
  int order[3] = {2, 0, 1};
  ASSERT_TRUE(SendMessageW(list->Handle(), LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
  ASSERT_LT(ItemRect(2).left, ItemRect(0).left);
  EXPECT_EQ(ColumnPixels(), (std::vector<COLORREF>{kHeaderNormal, kHeaderNormal, kHeaderNormal}));
  EXPECT_EQ(rest_pixel, kHeaderNormal);

  // The mouse over the first place on screen: column C.
  const RECT first = ItemRect(2);
  const POINT overFirst = ScreenOf({first.left + 10, (first.top + first.bottom) / 2});
  EXPECT_EQ(adapter->ColumnAt(overFirst), 2);
  SendMessageW(Header(), WM_NCHITTEST, 0, PointLParam(overFirst));
  EXPECT_EQ(ColumnPixels(), (std::vector<COLORREF>{kHeaderNormal, kHeaderNormal, kHeaderHot}));
  // Right of the last column: no column is hot.
  RECT client{};
  GetClientRect(Header(), &client);
  SendMessageW(Header(), WM_NCHITTEST, 0, PointLParam(ScreenOf({client.right - 3, 5})));
  EXPECT_EQ(ColumnPixels(), (std::vector<COLORREF>{kHeaderNormal, kHeaderNormal, kHeaderNormal}));
  EXPECT_EQ(rest_pixel, kHeaderNormal);

  // Pressed in the second place: column A.
  SendMessageW(Header(), WM_NCHITTEST, 0, PointLParam(ScreenOf(ItemCentre(0))));
  EXPECT_EQ(adapter->HotColumn, 0);
  SendMessageW(Header(), WM_LBUTTONDOWN, MK_LBUTTON, PointLParam(ItemCentre(0)));
  EXPECT_EQ(adapter->PressedColumn, 0);
  EXPECT_EQ(ColumnPixels(), (std::vector<COLORREF>{kHeaderPressed, kHeaderNormal, kHeaderNormal}));
  SendMessageW(Header(), WM_LBUTTONUP, 0, PointLParam(ItemCentre(0)));
  EXPECT_EQ(adapter->PressedColumn, -1);
  EXPECT_EQ(ColumnPixels(), (std::vector<COLORREF>{kHeaderHot, kHeaderNormal, kHeaderNormal}));

  // A press on a divider sizes the column: nothing is pressed.
  const RECT a = ItemRect(0);
  SendMessageW(Header(), WM_LBUTTONDOWN, MK_LBUTTON, PointLParam({a.right - 1, (a.top + a.bottom) / 2}));
  EXPECT_EQ(adapter->PressedColumn, -1);
  SendMessageW(Header(), WM_LBUTTONUP, 0, PointLParam({a.right - 1, (a.top + a.bottom) / 2}));
  if (GetCapture()) ReleaseCapture();

  // The mouse over the list itself: nothing hot in the header.
  SendMessageW(list->Handle(), WM_NCHITTEST, 0, 0);
  EXPECT_EQ(adapter->HotColumn, -1);
  EXPECT_EQ(ColumnPixels(), (std::vector<COLORREF>{kHeaderNormal, kHeaderNormal, kHeaderNormal}));
}

TEST_F(ListViewAdapters, TheFirstImageOfTheListIsDrawnInItsColumn) {
  auto* list = MakeList();
  auto* images = new vcl::TImageList(form.get(), 16, 16);
  vcl::TBitmap bmp;
  bmp.SetWidth(16);
  bmp.SetHeight(16);
  bmp.Canvas()->Brush()->SetColor(static_cast<vcl::TColor>(kImage));
  bmp.Canvas()->FillRect(vcl::TRect{0, 0, 16, 16});
  images->Add(&bmp, nullptr);
  list->SetSmallImages(images);
  Adapt(list);
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  item.fmt = HDF_LEFT | HDF_STRING | HDF_IMAGE;
  item.iImage = 0;
  ASSERT_TRUE(SendMessageW(Header(), HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
  RECT client{};
  GetClientRect(Header(), &client);
  MemoryPixels pixels(client.right, client.bottom);
  adapter->PaintHeader(pixels.DC());
  const RECT b = ItemRect(1);
  EXPECT_EQ(pixels.At(b.left + 4 + 8, client.bottom / 2), kImage);
  EXPECT_NE(pixels.At(ItemRect(0).left + 4 + 8, client.bottom / 2), kImage);
}

TEST_F(ListViewAdapters, OnlyTheReportViewsHeaderIsSkinned) {
  const HWND list = MakeBare();
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = 80;
    column.pszText = const_cast<wchar_t*>(L"Column");
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  adapter = CreateAdapter<TqvListViewWnd>(list, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
  const HWND header = Header();
  ASSERT_NE(header, nullptr);
  const LONG_PTR report = GetWindowLongPtrW(list, GWL_STYLE);
  SetWindowLongPtrW(list, GWL_STYLE, (report & ~LVS_TYPEMASK) | LVS_ICON);
  EXPECT_EQ(adapter->ViewStyle(), 0);
  SendMessageW(header, WM_NCHITTEST, 0, PointLParam(ScreenOf(ItemCentre(0))));
  EXPECT_EQ(adapter->HotColumn, -1);
  SetWindowLongPtrW(list, GWL_STYLE, report);
  EXPECT_EQ(adapter->ViewStyle(), 3);
  ASSERT_EQ(Header(), header);
  SendMessageW(header, WM_NCHITTEST, 0, PointLParam(ScreenOf(ItemCentre(1))));
  EXPECT_EQ(adapter->HotColumn, 1);

  const POINT overA = ScreenOf(ItemCentre(0));
  // The skin gone: the header is the system's again.
  SendCommandToWnd(list, scmRemoveSkin, reinterpret_cast<LPARAM>(manager.get()));
  adapter->HotColumn = -1;
  SendMessageW(header, WM_NCHITTEST, 0, PointLParam(overA));
  EXPECT_EQ(adapter->HotColumn, -1);
  // The adapter gone: nothing of it stays on the header, which paints itself again.
  UninstallAdapter(adapter, false, true);
  EXPECT_EQ(adapter->HeaderHandle, nullptr);
  SendMessageW(header, WM_NCHITTEST, 0, PointLParam(overA));
  EXPECT_EQ(adapter->HotColumn, -1);
  InvalidateRect(header, nullptr, TRUE);
  UpdateWindow(header);
  adapter.reset();
}

TEST_F(ListViewAdapters, DraggingTheSkinnedThumbScrollsByWholeRows) {
  auto* list = MakeList(100);
  Adapt(list);
  ASSERT_TRUE(adapter->VertBar->Visible);
  vcl::TRect bar;
  GetVScrollRect(adapter.get(), list->Handle(), bar);
  adapter->VertBar->ReadInfo();
  const TqvThumb thumb = ThumbGeometry(bar.Top, bar.Height(), GetScrollMetric(adapter->VertBar.get(), false),
                                       adapter->VertBar->MinThumb, adapter->VertBar->Info);
  const POINT grip{bar.Left + bar.Width() / 2, thumb.Start + 3};
  cursor = grip;
  button_down = true;
  SendMessageW(list->Handle(), WM_NCLBUTTONDOWN, HTVSCROLL, PointLParam(grip));
  ASSERT_TRUE(adapter->Dragging);
  for (int dy : {20, 45}) {
    cursor = {grip.x, grip.y + dy};
    POINT client = cursor;
    ScreenToClient(list->Handle(), &client);
    SendMessageW(list->Handle(), WM_MOUSEMOVE, MK_LBUTTON, PointLParam(client));
    const int sent = ScrollState().LastSentPos;
    EXPECT_GT(sent, 0);
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETTOPINDEX, 0, 0), sent);
  }
  const int last = ScrollState().LastSentPos;
  button_down = false;
  POINT client = cursor;
  ScreenToClient(list->Handle(), &client);
  SendMessageW(list->Handle(), WM_LBUTTONUP, 0, PointLParam(client));
  EXPECT_FALSE(adapter->Dragging);
  EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETTOPINDEX, 0, 0), last);
}


// The real pointer on a column, then straight off the header onto another window (the form
// beside the list, then a window of its own): the list view hears nothing of it, only the
// header's leave can tell.
TEST(ListViewOnASkinnedForm, AColumnThePointerLeavesForAnotherWindowIsLitNoLonger) {
  const wintest::PointerLock pointer;
  TempSkins skins;
  skins.Write(L"Lists", L"master.bmp", Bmp24(30, 10, MasterPixel));
  ManagerPtr manager = LoadedManager(skins, L"Lists", ListSkinText() + FlatSection("FORM", 0xC0C0C0, 0xC0C0C0));
  struct FormFree {
    void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
  };
  std::unique_ptr<vcl::TForm, FormFree> form(new vcl::TForm(vcl::Application, 0));
  vcl::Construct<TsSkinProvider>(form.get());
  auto* list = Put<vcl::TListView>(form.get(), 10, 10, 300, 120);
  list->SetViewStyle(vcl::vsReport);
  for (const wchar_t* caption : {L"A", L"B", L"C"}) {
    vcl::TListColumn* column = list->Columns()->Add();
    column->SetCaption(caption);
    column->SetWidth(80);
  }
  form->SetBounds(1300, 560, 420, 240);
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  wintest::PumpUntilIdle();
  auto* adapter = dynamic_cast<TqvListViewWnd*>(GetAdapter(list->Handle()));
  ASSERT_NE(adapter, nullptr);
  const HWND header = adapter->HeaderHandle;
  ASSERT_NE(header, nullptr);
  const HWND other = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 1300, 300,
                                     200, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  const vcl::TScopeExit closeOther([other] { DestroyWindow(other); });
  wintest::PumpUntilIdle();
  // A column's border pixel as the header's window shows it.
  auto shown = [header](int Index) {
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    const HDC dc = GetDC(header);
    const COLORREF c = GetPixel(dc, r.left + 1, (r.top + r.bottom) / 2);
    ReleaseDC(header, dc);
    return c;
  };
  auto over = [header](int Index) {
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(header, &p);
    return p;
  };
  POINT besideList{0, 0};
  ClientToScreen(form->Handle(), &besideList);
  besideList.x += 360;
  besideList.y += 60;
  const POINT onOther{1400, 400};
  // A top-most window of a test program running beside may lie there for a while: both are
  // raised again until the points show them.
  ASSERT_TRUE(wintest::PumpUntil([&] {
    if (WindowFromPoint(besideList) == form->Handle() && WindowFromPoint(onOther) == other) return true;
    for (const HWND raised : {form->Handle(), other})
      SetWindowPos(raised, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return false;
  })) << "other windows lie over the test's windows";
  int column = 0;
  for (const POINT away : {besideList, onOther}) {
    SCOPED_TRACE(away.x == onOther.x ? "onto another window" : "onto the form");
    // Lit by the real move alone (asking the system which window lies there would light it
    // without a move).
    const POINT onColumn = over(column);
    ASSERT_TRUE(wintest::MovePointer(onColumn.x, onColumn.y));
    ASSERT_TRUE(wintest::PumpUntil([&] { return adapter->HotColumn == column && shown(column) == kHeaderHot; }))
        << "the column under the pointer is not lit";
    ASSERT_TRUE(wintest::MovePointer(away.x, away.y));
    EXPECT_TRUE(wintest::PumpUntil([&] { return adapter->HotColumn == -1 && shown(column) == kHeaderNormal; }))
        << "the column stays lit after the pointer left the header";
    ++column;
  }
}

}  // namespace
}  // namespace skin_layered::test
