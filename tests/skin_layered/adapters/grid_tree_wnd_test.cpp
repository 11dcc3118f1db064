// The grid and tree adapters: the skin's colours given to the library's string grid and tree
// view, stand-ins of other vendors' grids and virtual tree (their colour properties by the names
// they publish) and a dialog's tree, and exactly their own values given back.
#include <map>

#include "adapters_support.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/controls/Themes.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/GridWnd.h"
#include "skin_layered/adapters/TreeViewWnd.h"
#include "skin_layered/adapters/VirtualTreeWnd.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kGlobal = 0xC0D0E0, kGlobalFont = 0x102030, kBorder = 0x405060;
constexpr COLORREF kEditBg = 0x30C0F0, kEditHotBg = 0x60F060, kEditFont = 0x000080, kEditHotFont = 0x008000;
constexpr COLORREF kSelection = 0x804000, kSelectionFont = 0xFFFFFF;
constexpr COLORREF kEven = 0x0A0B0C, kOdd = 0x0C0B0A;
constexpr COLORREF kOwnBg = 0x123456, kOwnText = 0x654321;
constexpr COLORREF kHeaderNormal = 0x2040A0, kHeaderHot = 0x20A040;

std::string GridSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nCOLOR=" + Hex(kGlobal) + "\r\nFONTCOLOR=" + Hex(kGlobalFont) +
         "\r\nBORDERCOLOR=" + Hex(kBorder) + "\r\nEDITBG_EVEN=" + Hex(kEven) + "\r\nEDITBG_ODD=" + Hex(kOdd) +
         "\r\n[EDIT]\r\nCOLOR=" + Hex(kEditBg) + "\r\nHOTCOLOR=" + Hex(kEditHotBg) + "\r\nFONTCOLOR=" +
         Hex(kEditFont) + "\r\nHOTFONTCOLOR=" + Hex(kEditHotFont) + "\r\nSTATES=2\r\n[SELECTION]\r\nCOLOR=" +
         Hex(kSelection) + "\r\nHOTCOLOR=" + Hex(kSelection) + "\r\nFONTCOLOR=" + Hex(kSelectionFont) +
         "\r\nHOTFONTCOLOR=" + Hex(kSelectionFont) + "\r\nSTATES=2\r\n" +
         FlatSection("COLHEADER", kHeaderNormal, kHeaderHot) + ScrollSections();
}

vcl::TColor Col(COLORREF C) { return static_cast<vcl::TColor>(C); }

// ---- stand-ins of other vendors' grids: their colour properties by the names they publish

class TGridLook : public vcl::TPersistent {
  VCL_CLASS(TGridLook, vcl::TPersistent)
 public:
  int64_t from = vcl::clNone, to = 0x010101;
};
VCL_CLASS_INFO(TGridLook) {
  p.Integer<&TGridLook::from>(L"FixedGradientFrom", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TGridLook::to>(L"FixedGradientTo", std::nullopt, &vcl::ColorTypeInfo());
}

class TLineColors : public vcl::TPersistent {
  VCL_CLASS(TLineColors, vcl::TPersistent)
 public:
  int64_t fixed = 0x030303, data = 0x040404;
};
VCL_CLASS_INFO(TLineColors) {
  p.Integer<&TLineColors::fixed>(L"FixedColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TLineColors::data>(L"DataColor", std::nullopt, &vcl::ColorTypeInfo());
}

// A grid with a control look, a title font and line colours.
class TVendorGrid : public vcl::TDrawGrid {
  VCL_CLASS(TVendorGrid, vcl::TDrawGrid)
 public:
  explicit TVendorGrid(vcl::TComponent* AOwner) : TDrawGrid(AOwner) { title_font->SetColor(static_cast<vcl::TColor>(0x060606)); }
  std::unique_ptr<vcl::TFont> title_font_owned = std::make_unique<vcl::TFont>();
  std::unique_ptr<TGridLook> look_owned = std::make_unique<TGridLook>();
  std::unique_ptr<TLineColors> lines_owned = std::make_unique<TLineColors>();
  vcl::TFont* title_font = title_font_owned.get();
  TGridLook* look = look_owned.get();
  TLineColors* lines = lines_owned.get();
  int64_t line = vcl::clNone, fixed_line = 0x080808, selection = 0x090909, selection_text = vcl::clNone;
};
VCL_CLASS_INFO(TVendorGrid) {
  p.Object<&TVendorGrid::title_font, nullptr>(L"TitleFont", vcl::TFont::StaticClass());
  p.Object<&TVendorGrid::look, nullptr>(L"ControlLook", TGridLook::StaticClass());
  p.Object<&TVendorGrid::lines, nullptr>(L"LineColors", TLineColors::StaticClass());
  p.Integer<&TVendorGrid::line>(L"GridLineColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TVendorGrid::fixed_line>(L"GridFixedLineColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TVendorGrid::selection>(L"SelectionColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TVendorGrid::selection_text>(L"SelectionTextColor", std::nullopt, &vcl::ColorTypeInfo());
}

class TTitleParams : public vcl::TPersistent {
  VCL_CLASS(TTitleParams, vcl::TPersistent)
 public:
  int64_t color = vcl::clNone, second = 0x0B0B0B, fill_style = 0;
  bool horz_lines = true;
};
VCL_CLASS_INFO(TTitleParams) {
  p.Integer<&TTitleParams::color>(L"Color", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TTitleParams::second>(L"SecondColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TTitleParams::fill_style>(L"FillStyle");
  p.Bool<&TTitleParams::horz_lines>(L"HorzLines");
}

// The vendor grid with its own row colours and title parameters.
class TVendorGridEh : public vcl::TDrawGrid {
  VCL_CLASS(TVendorGridEh, vcl::TDrawGrid)
 public:
  using TDrawGrid::TDrawGrid;
  std::unique_ptr<TTitleParams> title_owned = std::make_unique<TTitleParams>();
  TTitleParams* title = title_owned.get();
  int64_t even = 0x0D0D0D, odd = 0x0E0E0E;
};
VCL_CLASS_INFO(TVendorGridEh) {
  p.Object<&TVendorGridEh::title, nullptr>(L"TitleParams", TTitleParams::StaticClass());
  p.Integer<&TVendorGridEh::even>(L"EvenRowColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TVendorGridEh::odd>(L"OddRowColor", std::nullopt, &vcl::ColorTypeInfo());
}

// ---- a stand-in of the vendor's virtual tree: its colours, header and header events

VCL_ENUM(THeaderOption, hoOwnerDraw, hoVisible)
using enum THeaderOption;
using THeaderOptions = vcl::Set<THeaderOption>;

class TTreeColors : public vcl::TPersistent {
  VCL_CLASS(TTreeColors, vcl::TPersistent)
 public:
  int64_t focused_border = 0x111111, focused = 0x121212, hot = vcl::clNone, unfocused_border = 0x141414,
          unfocused = 0x151515, selection_text = 0x161616;
};
VCL_CLASS_INFO(TTreeColors) {
  p.Integer<&TTreeColors::focused_border>(L"FocusedSelectionBorderColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TTreeColors::focused>(L"FocusedSelectionColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TTreeColors::hot>(L"HotColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TTreeColors::unfocused_border>(L"UnfocusedSelectionBorderColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TTreeColors::unfocused>(L"UnfocusedSelectionColor", std::nullopt, &vcl::ColorTypeInfo());
  p.Integer<&TTreeColors::selection_text>(L"SelectionTextColor", std::nullopt, &vcl::ColorTypeInfo());
}

class TTreeHeader : public vcl::TPersistent {
  VCL_CLASS(TTreeHeader, vcl::TPersistent)
 public:
  TTreeHeader() { font->SetColor(static_cast<vcl::TColor>(0x171717)); }
  std::unique_ptr<vcl::TFont> font_owned = std::make_unique<vcl::TFont>();
  vcl::TFont* font = font_owned.get();
  int64_t color = 0x181818, height = 20, sort_direction = 0;
  THeaderOptions options{hoVisible};
};
VCL_CLASS_INFO(TTreeHeader) {
  p.Integer<&TTreeHeader::color>(L"Color", std::nullopt, &vcl::ColorTypeInfo());
  p.Object<&TTreeHeader::font, nullptr>(L"Font", vcl::TFont::StaticClass());
  p.Integer<&TTreeHeader::height>(L"Height");
  p.Integer<&TTreeHeader::sort_direction>(L"SortDirection");
  p.Set<&TTreeHeader::options>(L"Options");
}

class TTreeColumn : public vcl::TPersistent {
  VCL_CLASS(TTreeColumn, vcl::TPersistent)
 public:
  vcl::String text = L"Name";
};
VCL_CLASS_INFO(TTreeColumn) { p.String<&TTreeColumn::text>(L"Text"); }

class TVirtualStringTree : public vcl::TCustomControl {
  VCL_CLASS(TVirtualStringTree, vcl::TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  std::unique_ptr<TTreeColors> colors_owned = std::make_unique<TTreeColors>();
  std::unique_ptr<TTreeHeader> header_owned = std::make_unique<TTreeHeader>();
  TTreeColors* colors = colors_owned.get();
  TTreeHeader* header = header_owned.get();
  TqvAdvancedHeaderDrawEvent OnAdvancedHeaderDraw;
  TqvHeaderQueryElementsEvent OnHeaderDrawQueryElements;
  void OwnHeaderDraw(vcl::TObject*, TqvHeaderPaintInfo&, int) {}
};
VCL_CLASS_INFO(TVirtualStringTree) {
  p.Object<&TVirtualStringTree::colors, nullptr>(L"Colors", TTreeColors::StaticClass());
  p.Object<&TVirtualStringTree::header, nullptr>(L"Header", TTreeHeader::StaticClass());
  p.Event<&TVirtualStringTree::OnAdvancedHeaderDraw>(L"OnAdvancedHeaderDraw");
  p.Event<&TVirtualStringTree::OnHeaderDrawQueryElements>(L"OnHeaderDrawQueryElements");
}

class GridTreeAdapters : public SkinnedTest {
 protected:
  void SetUp() override {
    LoadSkin(GridSkinText(), L"Grids");
    form->SetBounds(20, 20, 460, 360);
    form->Show();
  }

  template <class T>
  T* Place(T* Control) {
    Control->SetParent(form.get());
    Control->SetBounds(10, 10, 300, 200);
    Control->SetColor(Col(kOwnBg));
    Control->Font()->SetColor(Col(kOwnText));
    return Control;
  }
  template <class A>
  TqvAdapterPtr<A> Adapt(vcl::TWinControl* Control) {
    TqvSkinParams params;
    params.Control = Control;
    return CreateAdapter<A>(Control->Handle(), nullptr, manager.get(), params, true);
  }
  static int64_t Prop(vcl::TObject* Control, std::wstring_view Path) { return *ReadPropertyPath(Control, Path); }

  TqvAdapterPtr<TqvGridWnd> grid_adapter;
  TqvAdapterPtr<TqvTreeViewWnd> tree_adapter;
  TqvAdapterPtr<TqvVirtualTreeViewWnd> virtual_adapter;
};

TEST_F(GridTreeAdapters, AStringGridTakesTheSkinsColoursAndIsMadeAnewWithItsOwn) {
  auto* grid = Place(new vcl::TStringGrid(form.get()));
  grid->SetFixedColor(vcl::clNone);
  grid->SetCells(1, 1, L"cell");
  grid_adapter = Adapt<TqvGridWnd>(grid);
  SendMessageW(grid->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(grid->Color(), Col(kEditBg));
  EXPECT_EQ(grid->Font()->Color(), Col(kEditFont));
  EXPECT_EQ(grid->FixedColor(), Col(kGlobal));
  EXPECT_EQ(grid_adapter->SavedValue(L"FixedColor"), vcl::clNone);
  // A grid paints every cell: the erase does nothing.
  EXPECT_EQ(SendMessageW(grid->Handle(), WM_ERASEBKGND, 0, 0), 1);

  // The skin goes: the grid's own colours, on a window made anew without the skin.
  const HWND before = grid->Handle();
  manager->SetActive(false);
  EXPECT_EQ(grid->Color(), Col(kOwnBg));
  EXPECT_EQ(grid->Font()->Color(), Col(kOwnText));
  EXPECT_EQ(grid->FixedColor(), vcl::clNone);
  EXPECT_TRUE(grid_adapter->Destroyed());
  EXPECT_NE(grid->Handle(), before);
  EXPECT_EQ(GetAdapter(grid->Handle()), nullptr);
  EXPECT_EQ(grid->Cells(1, 1), L"cell");
}

TEST_F(GridTreeAdapters, EveryVendorGridPropertyGetsExactlyItsOwnValueBack) {
  auto* grid = Place(new TVendorGrid(form.get()));
  const std::vector<std::wstring_view> paths{
      L"TitleFont.Color", L"ControlLook.FixedGradientFrom", L"ControlLook.FixedGradientTo", L"LineColors.FixedColor",
      L"LineColors.DataColor", L"GridLineColor", L"GridFixedLineColor", L"SelectionColor", L"SelectionTextColor",
      L"FixedColor"};
  std::vector<int64_t> own;
  for (std::wstring_view path : paths) own.push_back(Prop(grid, path));
  grid_adapter = Adapt<TqvGridWnd>(grid);
  SendMessageW(grid->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(Prop(grid, L"FixedColor"), Col(kGlobal));
  EXPECT_EQ(Prop(grid, L"TitleFont.Color"), Col(kGlobalFont));
  EXPECT_EQ(Prop(grid, L"GridLineColor"), MixColor(Col(kEditBg), Col(kEditFont), 0.7));
  EXPECT_EQ(Prop(grid, L"ControlLook.FixedGradientFrom"), MixColor(Col(kGlobal), Col(kEditBg), 0.5));
  EXPECT_EQ(Prop(grid, L"SelectionTextColor"), Col(kSelectionFont));
  EXPECT_EQ(Prop(grid, L"LineColors.FixedColor"), Col(kBorder));

  UninstallAdapter(grid_adapter, true, true);
  for (std::size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(Prop(grid, paths[i]), own[i]) << std::string(paths[i].begin(), paths[i].end());
  EXPECT_EQ(grid->Color(), Col(kOwnBg));
}

TEST_F(GridTreeAdapters, TheVendorGridsRowsStayAlternateAndItsParametersComeBack) {
  auto* grid = Place(new TVendorGridEh(form.get()));
  grid_adapter = Adapt<TqvGridEhWnd>(grid);
  SendMessageW(grid->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(grid->even, kEven);
  EXPECT_EQ(grid->odd, kOdd);
  EXPECT_EQ(grid->title->color, Col(kGlobal));
  EXPECT_EQ(grid->title->second, MixColor(vcl::clWhite, Col(kGlobal), 0.1));
  EXPECT_EQ(grid->title->fill_style, 3);
  EXPECT_FALSE(grid->title->horz_lines);
  UninstallAdapter(grid_adapter, true, true);
  EXPECT_EQ(grid->even, 0x0D0D0D);
  EXPECT_EQ(grid->odd, 0x0E0E0E);
  EXPECT_EQ(grid->title->color, vcl::clNone);
  EXPECT_EQ(grid->title->second, 0x0B0B0B);
  EXPECT_EQ(grid->title->fill_style, 0);
  EXPECT_TRUE(grid->title->horz_lines);

  // One row colour: the rows keep it.
  grid->even = grid->odd = 0x0F0F0F;
  grid_adapter = Adapt<TqvGridEhWnd>(grid);
  SendMessageW(grid->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(grid->even, 0x0F0F0F);
  EXPECT_EQ(grid->odd, 0x0F0F0F);
  EXPECT_EQ(grid->title->color, Col(kGlobal));
}

// A tree's background and text colours as its messages answer them.
std::pair<COLORREF, COLORREF> TreeColors(HWND Tree) {
  return {static_cast<COLORREF>(SendMessageW(Tree, TVM_GETBKCOLOR, 0, 0)),
          static_cast<COLORREF>(SendMessageW(Tree, TVM_GETTEXTCOLOR, 0, 0))};
}
COLORREF Erased(HWND Wnd) {
  MemoryPixels pixels(300, 100);
  EXPECT_EQ(SendMessageW(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels.DC()), 0), 1);
  return pixels.At(50, 50);
}

TEST_F(GridTreeAdapters, ATreeViewTakesTheSkinsColoursAndGetsExactlyItsOwnBack) {
  auto* tree = Place(new vcl::TTreeView(form.get()));
  tree->Items()->Add(nullptr, L"Node");
  const HWND h = tree->Handle();
  const std::pair<COLORREF, COLORREF> skin{kEditBg, kEditFont}, own{kOwnBg, kOwnText};
  tree_adapter = Adapt<TqvTreeViewWnd>(tree);
  SendMessageW(h, WM_NCPAINT, 1, 0);
  EXPECT_EQ(TreeColors(h), skin);
  EXPECT_EQ(tree->Color(), Col(kOwnBg));
  EXPECT_EQ(Erased(h), kEditBg);
  manager->SetActive(false);
  EXPECT_EQ(TreeColors(h), own);
  manager->SetActive(true);
  SendMessageW(h, WM_NCPAINT, 1, 0);
  EXPECT_EQ(TreeColors(h), skin);
  UninstallAdapter(tree_adapter, true, true);
  EXPECT_EQ(TreeColors(h), own);
  EXPECT_EQ(tree->Font()->Color(), Col(kOwnText));
}

TEST_F(GridTreeAdapters, ADialogsTreeShowsTheWindowColoursAndGetsItsOwnBack) {
  const HWND bare = Child(form->Handle(), WC_TREEVIEWW, 0, 10, 220, 300, 100, WS_EX_CLIENTEDGE);
  SendMessageW(bare, TVM_SETBKCOLOR, 0, kOwnBg);
  SendMessageW(bare, TVM_SETTEXTCOLOR, 0, kOwnText);
  {
    const TqvDialogChildScope dialog(true);
    tree_adapter = CreateAdapter<TqvTreeViewWnd>(bare, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
  }
  SendMessageW(bare, WM_NCPAINT, 1, 0);
  const auto window = static_cast<COLORREF>(GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(TreeColors(bare), std::make_pair(window, static_cast<COLORREF>(GetSysColor(COLOR_WINDOWTEXT))));
  EXPECT_EQ(Erased(bare), window);
  UninstallAdapter(tree_adapter, true, true);
  EXPECT_EQ(TreeColors(bare), std::make_pair(kOwnBg, kOwnText));
}

TEST_F(GridTreeAdapters, AVirtualTreeTakesTheSkinsColoursAndHeaderAndGetsItsOwnBack) {
  auto* tree = Place(new TVirtualStringTree(form.get()));
  const std::wstring_view paths[] = {L"Colors.FocusedSelectionBorderColor", L"Colors.FocusedSelectionColor",
                                     L"Colors.HotColor", L"Colors.UnfocusedSelectionBorderColor",
                                     L"Colors.UnfocusedSelectionColor", L"Colors.SelectionTextColor", L"Header.Color"};
  std::map<std::wstring_view, int64_t> own;
  for (std::wstring_view path : paths) own[path] = Prop(tree, path);
  virtual_adapter = Adapt<TqvVirtualTreeViewWnd>(tree);
  SendMessageW(tree->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(tree->colors->focused, Col(kSelection));
  EXPECT_EQ(tree->colors->hot, Col(kEditFont));
  EXPECT_EQ(tree->colors->unfocused, MixColor(Col(kSelection), Col(kEditBg), 0.5));
  EXPECT_EQ(tree->colors->selection_text, Col(kSelectionFont));
  EXPECT_EQ(tree->header->color, Col(kEditBg));
  EXPECT_EQ(tree->header->font->Color(), Col(kGlobalFont));
  EXPECT_TRUE(tree->header->options.Contains(hoOwnerDraw));
  ASSERT_TRUE(tree->OnAdvancedHeaderDraw);
  ASSERT_TRUE(tree->OnHeaderDrawQueryElements);
  TqvHeaderPaintInfo info;
  int elements = 0;
  tree->OnHeaderDrawQueryElements(tree, info, elements);
  EXPECT_EQ(elements, kSkinnedHeaderElements);

  // The tree asks for its columns: the section in the column's state, the tree's colour right
  // of the last one.
  vcl::TBitmap target;
  target.SetWidth(200);
  target.SetHeight(20);
  TTreeColumn column;
  info.TargetCanvas = target.Canvas();
  info.Column = &column;
  info.PaintRectangle = vcl::TRect{0, 0, 80, 20};
  tree->OnAdvancedHeaderDraw(tree, info, kHeaderBackground);
  info.PaintRectangle = vcl::TRect{80, 0, 160, 20};
  info.IsHoverIndex = true;
  tree->OnAdvancedHeaderDraw(tree, info, kHeaderBackground | kHeaderText);
  info.Column = nullptr;
  info.PaintRectangle = vcl::TRect{160, 0, 200, 20};
  tree->OnAdvancedHeaderDraw(tree, info, kHeaderBackground);
  const HDC dc = target.Canvas()->Handle();
  EXPECT_EQ(GetPixel(dc, 2, 2), kHeaderNormal);
  EXPECT_EQ(GetPixel(dc, 158, 2), kHeaderHot);
  EXPECT_EQ(GetPixel(dc, 190, 10), kEditBg);

  UninstallAdapter(virtual_adapter, true, true);
  for (std::wstring_view path : paths) EXPECT_EQ(Prop(tree, path), own.at(path)) << std::string(path.begin(), path.end());
  EXPECT_EQ(tree->header->font->Color(), static_cast<vcl::TColor>(0x171717));
  EXPECT_EQ(tree->header->options, THeaderOptions{hoVisible});
  EXPECT_FALSE(tree->OnAdvancedHeaderDraw);
  EXPECT_FALSE(tree->OnHeaderDrawQueryElements);
}

TEST_F(GridTreeAdapters, AVirtualTreeThatPaintsItsHeaderKeepsDoingSo) {
  auto* tree = Place(new TVirtualStringTree(form.get()));
  tree->OnAdvancedHeaderDraw = TqvAdvancedHeaderDrawEvent::Bind<&TVirtualStringTree::OwnHeaderDraw>(tree);
  const auto own = tree->OnAdvancedHeaderDraw;
  virtual_adapter = Adapt<TqvVirtualTreeViewWnd>(tree);
  SendMessageW(tree->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(tree->OnAdvancedHeaderDraw, own);
  EXPECT_FALSE(tree->OnHeaderDrawQueryElements);
  EXPECT_FALSE(tree->header->options.Contains(hoOwnerDraw));
  EXPECT_EQ(tree->header->color, Col(kEditBg));
  UninstallAdapter(virtual_adapter, true, true);
  EXPECT_EQ(tree->OnAdvancedHeaderDraw, own);
  EXPECT_EQ(tree->header->color, 0x181818);
}

}  // namespace
}  // namespace skin_layered::test
