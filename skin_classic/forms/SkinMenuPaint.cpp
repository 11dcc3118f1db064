#include "skin_classic/forms/SkinMenuPaint.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/rtl/SysInfo.h"
#include "skin_classic/forms/FormFrame.h"
#include "skin_classic/forms/WinSkinPopMenu.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

// Colour-table entries of the items.
constexpr int kButtonHilight = 5;
constexpr int kButtonShadow = 7;
constexpr int kHilightText = 11;
constexpr int kHilight = 12;
constexpr int kMenuText = 15;
constexpr int kMenu = 16;

// Frames of the menu-item picture.
constexpr int kItemNormal = 1;
constexpr int kItemSelected = 4;

constexpr int kMinColumn = 16;
constexpr UINT kMeasureCaption = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;  // 0x560
constexpr UINT kDrawCaption = DT_EXPANDTABS | DT_SINGLELINE;                                 // 0x60
constexpr UINT kDrawCaptionRtl = DT_RTLREADING | DT_EXPANDTABS | DT_SINGLELINE | DT_RIGHT;   // 0x20062
constexpr int kShortCutRightGap = 11;
// The system's check-mark bitmap (OBM_CHECK, an OEM resource).
constexpr WORD kCheckBitmap = 32760;
constexpr int kRtlShortCutIndent = 10;

using vcl::SavedDC;


// A caption that holds a tab: the text after it is the item's shortcut.
void SplitShortCut(TMenuItemLook& Look) {
  const size_t tab = Look.Caption.find(L'\t');
  if (tab == String::npos) return;
  if (Look.ShortCut.empty()) Look.ShortCut = Look.Caption.substr(tab + 1);
  Look.Caption.resize(tab);
}

// The halftone of the button face and highlight that a checked image sits on.
void FillHalftone(HDC DC, const TRect& Cell) {
  static constexpr WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  vcl::UniqueBitmap pattern(CreateBitmap(8, 8, 1, 1, kPattern));
  vcl::UniqueBrush brush(pattern ? CreatePatternBrush(pattern.get()) : nullptr);
  if (!brush) return;
  SavedDC saved(DC);
  SetTextColor(DC, GetSysColor(COLOR_BTNFACE));
  SetBkColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
  const RECT r = Cell;
  FillRect(DC, &r, brush.get());
}

// The system's check mark, its white transparent, in the button-text colour.
void DrawCheckMark(HDC DC, int X, int Y, int& Width, int& Height) {
  vcl::UniqueBitmap check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckBitmap)));
  BITMAP info{};
  if (!check || !GetObjectW(check.get(), sizeof info, &info)) return;
  Width = info.bmWidth;
  Height = info.bmHeight;
  HDC source = CreateCompatibleDC(DC);
  if (!source) return;
  HGDIOBJ oldBitmap = SelectObject(source, check.get());
  vcl::UniqueBrush mark(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
  {
    SavedDC saved(DC);
    // Source bits as a mask: white keeps the destination, black takes the brush.
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
    SelectObject(DC, mark.get());
    constexpr DWORD kMaskedPattern = 0x00B8074A;  // PSDPxax
    BitBlt(DC, X, Y, Width, Height, source, 0, 0, kMaskedPattern);
  }
  SelectObject(source, oldBitmap);
  DeleteDC(source);
}

int CheckMarkWidth(int& Height) {
  vcl::UniqueBitmap check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckBitmap)));
  BITMAP info{};
  if (!check || !GetObjectW(check.get(), sizeof info, &info)) return Height = 0;
  Height = info.bmHeight;
  return info.bmWidth;
}

// A memory DC for measuring, with a canvas lent to it.
class MeasureCanvas {
 public:
  MeasureCanvas() : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) canvas_.SetHandle(dc_);
  }
  ~MeasureCanvas() {
    canvas_.SetHandle(nullptr);
    if (dc_) DeleteDC(dc_);
  }
  MeasureCanvas(const MeasureCanvas&) = delete;
  MeasureCanvas& operator=(const MeasureCanvas&) = delete;
  vcl::TCanvas* get() { return dc_ ? &canvas_ : nullptr; }

 private:
  HDC dc_;
  vcl::TCanvas canvas_;
};

}  // namespace

// ---------------------------------------------------------------------------------------
// Looks

bool TMenuItemLook::HasValidImage() const { return Images && ImageIndex > -1 && Images->Count() > ImageIndex; }

int TMenuItemLook::ColumnWidth() const {
  const int column = Images ? Images->Width() : kMinColumn;
  return Checked ? std::max(column, kMinColumn) : column;
}

bool MenuItemReadsRightToLeft(const vcl::TMenu* ItemMenu, const vcl::TMainMenu* BarMenu) {
  if (!vcl::SysLocale().MiddleEast) return false;
  const vcl::TMenu* menu = ItemMenu ? ItemMenu : BarMenu;
  return menu && menu->BiDiMode() != vcl::bdLeftToRight;
}

TMenuItemLook LookOf(vcl::TMenuItem* Item, const vcl::TMainMenu* BarMenu) {
  TMenuItemLook look;
  if (!Item) return look;
  look.Caption = Item->Caption();
  if (Item->ShortCut() != vcl::scNone) look.ShortCut = vcl::ShortCutToText(Item->ShortCut());
  SplitShortCut(look);
  look.Enabled = Item->Enabled();
  look.Checked = Item->Checked();
  look.Default = Item->Default();
  look.RightToLeft = MenuItemReadsRightToLeft(Item->GetParentMenu(), BarMenu);
  look.Images = Item->GetImageList();
  look.ImageIndex = Item->ImageIndex();
  return look;
}

bool LookOf(HMENU Menu, UINT Id, TMenuItemLook& Look) {
  wchar_t text[256] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = static_cast<UINT>(std::size(text) - 1);
  if (!Menu || !GetMenuItemInfoW(Menu, Id, FALSE, &info)) return false;
  Look = TMenuItemLook();
  Look.Caption = (info.fType & MFT_SEPARATOR) ? String(vcl::cLineCaption) : String(text);
  SplitShortCut(Look);
  Look.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
  Look.Checked = info.fState & MFS_CHECKED;
  Look.Default = info.fState & MFS_DEFAULT;
  return true;
}

// ---------------------------------------------------------------------------------------
// Measuring

VCL_CLASS_INFO(TSkinMenuPainter) {}

TDataSkinObject* TSkinMenuPainter::MenuItemElement() const {
  if (!SkinData || SkinData->Empty()) return nullptr;
  TDataSkinObject* item = SkinData->Skin()->Element(SkinElement::MenuItem);
  return item && item->HasBitmap() ? item : nullptr;
}

const vcl::TMainMenu* TSkinMenuPainter::BarMenu() const {
  return Form && Form->MenuBar() ? Form->MenuBar()->Menu() : nullptr;
}

int TSkinMenuPainter::Widen(int Width, bool HasImages, bool BarMenu) const {
  if (TDataSkinObject* item = MenuItemElement()) Width += item->LeftWidth;
  return Width + (HasImages ? (BarMenu ? 10 : 12) : 35);
}

void TSkinMenuPainter::MeasureItem(vcl::TObject* Sender, vcl::TCanvas*, int& Width, int&) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item) return;
  const bool barMenu = dynamic_cast<const vcl::TMainMenu*>(item->GetParentMenu()) != nullptr;
  Width = Widen(Width, item->GetImageList() != nullptr, barMenu);
}

// The library's rules for a popup item: the image column, the caption and the shortcut with
// gaps, one line (an empty caption counts as a blank) and at least an image high; a separator
// is 9 pixels high.
void TSkinMenuPainter::MeasureLook(HDC DC, const TMenuItemLook& Look, int& Width, int& Height) {
  if (Look.IsSeparator()) {
    Width = 0;
    Height = 9;
    return;
  }
  String caption = Look.Caption;
  if (caption.empty() || caption == L"&") caption += L' ';
  TRect r(0, 0, 0, 0);
  DrawTextAW(DC, caption, r, kMeasureCaption);
  int textWidth = r.Width();
  if (!Look.ShortCut.empty()) {
    TRect s(0, 0, 0, 0);
    DrawTextAW(DC, Look.ShortCut, s, kMeasureCaption);
    textWidth += 16 + s.Width();
  }
  const int imageHeight = Look.Images ? std::max(Look.Images->Height(), kMinColumn) : kMinColumn;
  Width = std::max(Look.ColumnWidth(), kMinColumn) + 8 + textWidth + 8;
  Height = std::max(r.Height(), imageHeight) + 4;
}

void TSkinMenuPainter::MeasureBarItem(vcl::TMenuItem* Item, int& Width, int& Height) const {
  MeasureCanvas canvas;
  if (!Item || !canvas.get()) return;
  if (vcl::Screen && vcl::Screen->MenuFont()) canvas.get()->Font()->Assign(vcl::Screen->MenuFont());
  Item->MeasureItem(canvas.get(), Width, Height);
  Width = Widen(Width, Item->GetImageList() != nullptr, true);
}

void TSkinMenuPainter::MeasureBarItem(const TMenuItemLook& Look, int& Width, int& Height) const {
  MeasureCanvas canvas;
  if (!canvas.get()) return;
  if (vcl::Screen && vcl::Screen->MenuFont()) canvas.get()->Font()->Assign(vcl::Screen->MenuFont());
  MeasureLook(canvas.get()->Handle(), Look, Width, Height);
  Width = Widen(Width, Look.Images != nullptr, true);
}

// ---------------------------------------------------------------------------------------
// Drawing

void TSkinMenuPainter::Attach(vcl::TMenuItem* Item) {
  if (!Item) return;
  Item->OnMeasureItem = vcl::TMenuMeasureItemEvent::Bind<&TSkinMenuPainter::MeasureItem>(this);
  Item->OnAdvancedDrawItem = vcl::TAdvancedMenuDrawItemEvent::Bind<&TSkinMenuPainter::AdvancedDrawItem>(this);
}

void TSkinMenuPainter::Release(vcl::TMenuItem* Item) {
  if (!Item) return;
  Item->OnMeasureItem = nullptr;
  Item->OnAdvancedDrawItem = nullptr;
}

bool TSkinMenuPainter::Paints(const vcl::TMenuItem* Item) const {
  return Item && Item->OnAdvancedDrawItem == vcl::TAdvancedMenuDrawItemEvent::Bind<&TSkinMenuPainter::AdvancedDrawItem>(
                     const_cast<TSkinMenuPainter*>(this));
}

void TSkinMenuPainter::AdvancedDrawItem(vcl::TObject* Sender, vcl::TCanvas* ACanvas, TRect ARect,
                                        vcl::TOwnerDrawState State) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item || !ACanvas) return;
  const TMenuItemLook look = LookOf(item, BarMenu());
  vcl::TMenuItem* parent = item->Parent();
  HMENU menu = parent && parent->HandleAllocated() ? parent->Handle() : nullptr;
  HDC dc = ACanvas->Handle();
  DrawLook(dc, ARect, look, State.Contains(vcl::odSelected), menu, ACanvas->Font());
}

void TSkinMenuPainter::DrawLook(HDC DC, const TRect& Rect, const TMenuItemLook& Look, bool Selected, HMENU Menu,
                                vcl::TFont* Font) const {
  const int w = Rect.Width(), h = Rect.Height();
  if (!DC || w <= 0 || h <= 0 || !SkinData || SkinData->Empty()) return;
  std::unique_ptr<TBitmap> item = NewSkinBitmap(w, h);
  if (!item) return;
  vcl::TCanvas* canvas = item->Canvas();
  if (!Font && vcl::Screen) Font = vcl::Screen->MenuFont();
  if (Font) canvas->Font()->Assign(Font);
  HDC mem = canvas->Handle();
  TSkinObjects* skin = SkinData->Skin();
  const TRect local(0, 0, w, h);
  if (TDataSkinObject* element = MenuItemElement()) {
    // The popup window's frame picture behind the item, so that frame and items are one.
    TWinSkinPopMenu* popup = FindSkinPopMenu(Menu, DC);
    if (popup && popup->Buffer()) {
      const vcl::TPoint offset = popup->ClientOffset();
      BitBlt(mem, 0, 0, w, h, popup->Buffer()->Canvas()->Handle(), Rect.Left + offset.X, Rect.Top + offset.Y,
             SRCCOPY);
    } else {
      vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(skin->Color(kMenu))));
      const RECT r = local;
      FillRect(mem, &r, brush.get());
    }
    if (Look.IsSeparator()) {
      DrawSeparator(mem, w, h);
    } else {
      DrawSkinBitmapRect(mem, local, element->Bitmap.get(), element->Margins(), element->Tile == 1, element->Frame,
                         Selected ? kItemSelected : kItemNormal, element->Transparent());
      DrawContent(Look, canvas, w, h, Selected);
    }
  } else {
    vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(skin->Color(Selected ? kHilight : kMenu))));
    const RECT r = local;
    FillRect(mem, &r, brush.get());
    DrawContent(Look, canvas, w, h, Selected);
  }
  BitBlt(DC, Rect.Left, Rect.Top, w, h, mem, 0, 0, SRCCOPY);
}

// The skin has no separator picture of its own: one is made from its colours (an etched line
// across the middle part, the parts as wide as the menu-item picture's margins left empty) and
// laid over the item in three slices, the key colour transparent.
void TSkinMenuPainter::DrawSeparator(HDC DC, int Width, int Height) const {
  TDataSkinObject* element = MenuItemElement();
  if (!element) return;
  TSkinObjects* skin = SkinData->Skin();
  const int left = element->LeftWidth, right = element->RightWidth, middle = 4;
  std::unique_ptr<TBitmap> picture = NewSkinBitmap(left + middle + right, Height);
  std::unique_ptr<TBitmap> slices = NewSkinBitmap(Width, Height);
  if (!picture || !slices) return;
  auto fill = [](TBitmap* b, const TRect& r, TColor c) {
    vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(c)));
    const RECT rr = r;
    FillRect(b->Canvas()->Handle(), &rr, brush.get());
  };
  fill(picture.get(), TRect(0, 0, picture->Width(), Height), kSkinKeyColor);
  const int y = std::max(Height / 2 - 1, 0);
  fill(picture.get(), TRect(left, y, left + middle, y + 1), skin->Color(kButtonShadow));
  fill(picture.get(), TRect(left, y + 1, left + middle, std::min(y + 2, Height)), skin->Color(kButtonHilight));
  fill(slices.get(), TRect(0, 0, Width, Height), kSkinKeyColor);
  DrawThreeSlice(slices->Canvas()->Handle(), TRect(0, 0, Width, Height), picture.get(), left, right, 1, 1);
  DrawTransparentBitmap(DC, 0, 0, slices.get(), kSkinKeyColor);
}

void TSkinMenuPainter::DrawMenuItemText(const TMenuItemLook& Look, vcl::TCanvas* Canvas, String Text, TRect& Rect,
                                        bool Selected, UINT Flags) const {
  const bool measuring = Flags & DT_CALCRECT;
  // An empty caption (or a lone "&") measures one line high.
  if (measuring && (Text.empty() || Text == L"&")) Text += L' ';
  if (Text == vcl::cLineCaption) {
    if (measuring) return;
    RECT line = Rect;
    OffsetRect(&line, 0, 4);
    DrawEdge(Canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  Canvas->Brush()->SetStyle(vcl::bsClear);
  if (Look.Default) Canvas->Font()->SetStyle(Canvas->Font()->Style() + vcl::TFontStyles{vcl::fsBold});
  TSkinObjects* skin = SkinData->Skin();
  TColor colour;
  if (Look.Enabled)
    colour = skin->Color(Selected ? kHilightText : kMenuText);
  else if (skin->Color(kButtonShadow) != skin->Color(kMenuText))
    colour = skin->Color(kButtonShadow);
  else
    colour = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
  Canvas->Font()->SetColor(colour);
  HDC dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  DrawTextAW(dc, Text, Rect, Flags);
}

void TSkinMenuPainter::DrawContent(const TMenuItemLook& Look, vcl::TCanvas* Canvas, int Width, int Height,
                                   bool Selected) const {
  if (!Canvas || !SkinData || SkinData->Empty()) return;
  if (Look.RightToLeft)
    DrawContentRightToLeft(Look, Canvas, Width, Height, Selected);
  else
    DrawContentLeftToRight(Look, Canvas, Width, Height, Selected);
}

void TSkinMenuPainter::DrawContentLeftToRight(const TMenuItemLook& Look, vcl::TCanvas* Canvas, int Width, int Height,
                                              bool Selected) const {
  TDataSkinObject* element = MenuItemElement();
  const int column = Look.ColumnWidth();
  TRect cell(0, 0, 0, 0);  // a separator has no cell
  if (!Look.IsSeparator()) {
    const int left = 1 + (element ? element->LeftWidth : 0);
    cell = TRect(left, 1, left + column, 1 + column);
  }
  HDC dc = Canvas->Handle();
  if (!Look.IsSeparator()) {
    if (Look.HasValidImage()) {
      if (Look.Checked) {
        FillHalftone(dc, cell);
        const int top = (Height - 16) / 2;
        RECT edge{cell.Left, top, cell.Right, cell.Bottom};
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        Look.Images->Draw(Canvas, cell.Left, top, Look.ImageIndex, Look.Enabled);
      } else {
        Look.Images->Draw(Canvas, cell.Left, (Height - Look.Images->Height()) / 2, Look.ImageIndex, Look.Enabled);
      }
    } else if (Look.Checked) {
      int bh = 0;
      const int bw = CheckMarkWidth(bh);
      int w = 0, h = 0;
      DrawCheckMark(dc, cell.Left + (cell.Width() - bw) / 2 + 1, (Height - bh) / 2 + 1, w, h);
    }
  }
  const TRect text(cell.Right + 3, 0, Width - 1, Height);
  TRect measured = text;
  DrawMenuItemText(Look, Canvas, Look.Caption, measured, Selected, kMeasureCaption);
  measured.Offset(0, (text.Height() - measured.Height()) / 2);
  TRect caption = measured;
  DrawMenuItemText(Look, Canvas, Look.Caption, caption, Selected, kDrawCaption);
  if (!Look.ShortCut.empty()) {
    TRect keys(measured.Right, measured.Top, Width - kShortCutRightGap, measured.Bottom);
    DrawMenuItemText(Look, Canvas, Look.ShortCut, keys, Selected, DT_RIGHT);
  }
}

void TSkinMenuPainter::DrawContentRightToLeft(const TMenuItemLook& Look, vcl::TCanvas* Canvas, int Width, int Height,
                                              bool Selected) const {
  TDataSkinObject* element = MenuItemElement();
  const int column = Look.ColumnWidth();
  TRect cell(Width, 0, Width, 0);  // a separator's cell is empty at the item's right edge
  if (!Look.IsSeparator()) {
    const int right = Width - 1 - (element ? element->LeftWidth : 0);
    cell = TRect(right - column, 1, right, 1 + column);
  }
  HDC dc = Canvas->Handle();
  if (!Look.IsSeparator()) {
    if (Look.HasValidImage()) {
      if (Look.Checked) {
        FillHalftone(dc, cell);
        RECT edge = cell;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      Look.Images->Draw(Canvas, cell.Left, cell.Top, Look.ImageIndex, Look.Enabled);
    } else if (Look.Checked) {
      int bh = 0;
      const int bw = CheckMarkWidth(bh);
      int w = 0, h = 0;
      DrawCheckMark(dc, cell.Left + (cell.Width() - bw) / 2 + 1, cell.Top + (column - bh) / 2 + 1, w, h);
    }
  }
  const TRect text(1, 0, cell.Left - 3, Height);
  TRect measured = text;
  DrawMenuItemText(Look, Canvas, Look.Caption, measured, Selected, kDrawCaptionRtl | DT_CALCRECT | DT_NOCLIP);
  measured.Offset(0, (text.Height() - measured.Height()) / 2);
  measured.Left = text.Left;
  measured.Right = text.Right;
  TRect caption = measured;
  DrawMenuItemText(Look, Canvas, Look.Caption, caption, Selected, kDrawCaptionRtl);
  if (!Look.ShortCut.empty()) {
    TRect keys(text.Left + kRtlShortCutIndent, measured.Top, text.Right, measured.Bottom);
    DrawMenuItemText(Look, Canvas, Look.ShortCut, keys, Selected, 0);
  }
}

}  // namespace winskin
