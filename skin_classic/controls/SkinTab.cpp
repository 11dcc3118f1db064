#include "skin_classic/controls/SkinTab.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/controls/SkinButton.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/controls/SkinUpDown.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/paint/SkinDraw.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

// The sheet border's margins when the tab element gives the image.
const TRect kSheetMargins(4, 5, 4, 4);
// The system's padding round a tab's text, and the room a close mark takes beside it.
constexpr int kTabPaddingX = 6, kTabPaddingY = 3;
constexpr int kCloseMarkRoom = 10;
// The padding beside each tab's text; the tabs are laid out again at once (the control does
// that when it is sized).
void SetTabPadding(HWND Tabs, int X) {
  SendMessageW(Tabs, TCM_SETPADDING, 0, MAKELPARAM(X, kTabPaddingY));
  RECT client{};
  GetClientRect(Tabs, &client);
  SendMessageW(Tabs, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

// The tab image's frame for the tab under the mouse.
constexpr int kTabHotFrame = 4;
// Item texts are read up to this many characters.
constexpr int kTabTextLength = 80;
// The pictures made for page controls with tab backgrounds.
constexpr int kTabPictureWidth = 100, kTabPictureHeight = 21;

TDataSkinBorder* TabsElement(TSkinData* SkinData) {
  if (!SkinData || SkinData->Empty()) return nullptr;
  auto* tabs = dynamic_cast<TDataSkinBorder*>(SkinData->Skin()->Element(SkinElement::Tabs));
  return tabs && tabs->HasBitmap() ? tabs : nullptr;
}

// Margins (left, top, right, bottom) of an image turned for a side as the image is:
// flipped for the bottom, a quarter turn left or right for the sides.
TRect TurnMargins(const TRect& m, TTabSide Side) {
  switch (Side) {
    case TTabSide::Bottom: return TRect(m.Left, m.Bottom, m.Right, m.Top);
    case TTabSide::Left: return TRect(m.Top, m.Right, m.Bottom, m.Left);
    case TTabSide::Right: return TRect(m.Bottom, m.Left, m.Top, m.Right);
    default: return m;
  }
}

RECT ToRect(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
TRect FromRect(const RECT& r) { return TRect(r.left, r.top, r.right, r.bottom); }

// The page area of a tab control (TCM_ADJUSTRECT) grown by 4, one pixel nearer the tabs.
TRect DisplayArea(HWND Window, const TRect& Rect, TTabSide Side) {
  RECT r = ToRect(Rect);
  SendMessageW(Window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  InflateRect(&r, 4, 4);
  switch (Side) {
    case TTabSide::Top: r.top += 1; break;
    case TTabSide::Bottom: r.bottom -= 1; break;
    case TTabSide::Left: r.left += 1; break;
    case TTabSide::Right: r.right -= 1; break;
  }
  return FromRect(r);
}

struct TabItem {
  vcl::String text;
  int image = -1;
};

TabItem ReadTabItem(HWND Window, int Index, bool Unicode) {
  TabItem t;
  if (Unicode) {
    wchar_t text[kTabTextLength + 1] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = kTabTextLength;
    if (SendMessageW(Window, TCM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item))) {
      t.text = text;
      t.image = item.iImage;
    }
  } else {
    char text[kTabTextLength + 1] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = kTabTextLength;
    if (SendMessageA(Window, TCM_GETITEMA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item))) {
      t.text = AnsiToWide(text);
      t.image = item.iImage;
    }
  }
  return t;
}

// A picture property gets a copy of Picture (nil empties it).
void AssignPicture(vcl::TObject* Instance, vcl::StringView Name, vcl::TGraphic* Picture) {
  if (auto* current = dynamic_cast<vcl::TPersistent*>(GetObjectPropByName(Instance, Name))) current->Assign(Picture);
}

}  // namespace

TTabSide TabSideOfStyle(LONG_PTR Style) {
  const bool bottom = Style & TCS_BOTTOM, vertical = Style & TCS_VERTICAL;
  if (bottom && vertical) return TTabSide::Right;
  if (vertical) return TTabSide::Left;
  if (bottom) return TTabSide::Bottom;
  return TTabSide::Top;
}

TRect StripRect(TTabSide Side, const TRect& Display, int Width, int Height) {
  switch (Side) {
    case TTabSide::Top: return TRect(0, 0, Width, std::max(Display.Top, 0));
    case TTabSide::Bottom: return TRect(0, std::min(Display.Bottom, Height), Width, Height);
    case TTabSide::Left: return TRect(0, 0, std::max(Display.Left, 0), Height);
    case TTabSide::Right: return TRect(std::min(Display.Right, Width), 0, Width, Height);
  }
  return {};
}

TRect TabToStrip(const TRect& Tab, TTabSide Side, const TRect& Display, int Width, int Height) {
  const TRect strip = StripRect(Side, Display, Width, Height);
  switch (Side) {
    case TTabSide::Top: return TRect(Tab.Left, Tab.Top + 1, Tab.Right, Tab.Bottom + 1);
    case TTabSide::Bottom:
      return TRect(Tab.Left, Tab.Top - Display.Bottom - 1, Tab.Right, Tab.Bottom - Display.Bottom - 1);
    case TTabSide::Left:
      // Turned back a quarter left later: the control's bottom is the strip's left.
      return TRect(Height - Tab.Bottom, Tab.Left + 1, Height - Tab.Top, Tab.Right + 1);
    case TTabSide::Right: {
      // Turned back a quarter right later: the control's top is the strip's left.
      const int h = strip.Width();
      return TRect(Tab.Top, h - (Tab.Right - strip.Left) + 1, Tab.Bottom, h - (Tab.Left - strip.Left) + 1);
    }
  }
  return Tab;
}

HWND FindUpDownChild(HWND Window) {
  return Window ? FindWindowExW(Window, nullptr, UPDOWN_CLASSW, nullptr) : nullptr;
}

void AssignFont(vcl::TFont* Font, const vcl::TControl* Control, HWND Window) {
  if (auto* own = GetObjectPropAs<vcl::TFont>(Control, L"Font")) {
    Font->Assign(own);
    return;
  }
  LOGFONTW lf{};
  if (GetObjectW(WindowFont(Window), sizeof lf, &lf)) Font->SetHandle(CreateFontIndirectW(&lf));
}

void DrawTabItem(vcl::TCanvas* Canvas, const TRect& Rect, int Align, vcl::StringView Text, int ImageIndex,
                 HIMAGELIST ImageList, bool Enabled, bool RightToLeft, bool SingleLine) {
  if (!Canvas || Rect.IsEmpty()) return;
  int iw = 0, ih = 0;
  if (ImageList) ImageList_GetIconSize(ImageList, &iw, &ih);
  const bool image = ImageIndex != -1 && ImageList && iw < Rect.Width();
  if (!image) iw = ih = 0;
  Canvas->Font()->SetStyle({});
  if (!Enabled) Canvas->Font()->SetColor(vcl::clBtnShadow);
  HDC dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = (SingleLine ? DT_SINGLELINE : DT_WORDBREAK) | DT_EXPANDTABS | DT_END_ELLIPSIS |
                     (RightToLeft ? DT_RTLREADING : 0);
  RECT measured{0, 0, std::max(Rect.Width() - (iw + 2), 0), Rect.Height()};
  DrawTextW(dc, Text.data(), static_cast<int>(Text.size()), &measured, flags | DT_CALCRECT);
  const int tw = std::min<int>(measured.right - measured.left, std::max(Rect.Width() - (iw + 2), 0));
  const int th = measured.bottom - measured.top;
  int x = 3;
  if (Align == 1) x = (Rect.Width() - iw - tw) / 2;
  if (Align == 2) x = Rect.Width() - iw - tw - 2;
  x = std::max(x, 1);
  if (image) ImageList_Draw(ImageList, ImageIndex, dc, Rect.Left + x, Rect.Top + (Rect.Height() - ih) / 2, ILD_TRANSPARENT);
  const int textLeft = Rect.Left + x + (image ? iw + 2 : 0);
  RECT at{textLeft, Rect.Top + (Rect.Height() - th) / 2, std::min<int>(textLeft + tw, Rect.Right), 0};
  at.bottom = at.top + th;
  DrawTextW(dc, Text.data(), static_cast<int>(Text.size()), &at, flags);
}

void DrawTabText(vcl::TCanvas* Canvas, const TRect& Rect, int Align, bool Enabled, vcl::StringView Text) {
  if (!Canvas || Rect.IsEmpty()) return;
  Canvas->Font()->SetStyle({});
  if (!Enabled) Canvas->Font()->SetColor(vcl::clBtnShadow);
  HDC dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = DT_NOCLIP | DT_EXPANDTABS;
  RECT measured = ToRect(Rect);
  DrawTextW(dc, Text.data(), static_cast<int>(Text.size()), &measured, flags | DT_CALCRECT);
  const int w = measured.right - measured.left, h = measured.bottom - measured.top;
  RECT at{Rect.Left, Rect.Top + (Rect.Height() - h) / 2, Rect.Left + w, 0};
  if (Align == 1) at.left = Rect.Left + (Rect.Width() - w) / 2;
  if (Align == 2) at.left = Rect.Right - w;
  at.right = at.left + w;
  at.bottom = at.top + h;
  DrawTextW(dc, Text.data(), static_cast<int>(Text.size()), &at, flags);
}

VCL_CLASS_INFO(TSkinTab) {}
VCL_CLASS_INFO(TSkinTabBtn) {}
VCL_CLASS_INFO(TSkinTabSheet) {}
VCL_CLASS_INFO(TSkinAdvPage) {}

// ---------------------------------------------------------------------------------------
// TSkinTab

TSkinTab::TSkinTab(vcl::TComponent* AOwner)
    : TSkinControl(AOwner),
      FTabImage(std::make_unique<vcl::TBitmap>()),
      FSheetImage(std::make_unique<vcl::TBitmap>()),
      FStrip(std::make_unique<vcl::TBitmap>()) {
  FStrip->SetPixelFormat(vcl::pf24bit);
}

TSkinTab::~TSkinTab() = default;

void TSkinTab::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  if (FAttached) Prepare();
}

void TSkinTab::AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachWindow(Handle, SkinData, Form, Canvas);
  if (!FAttached) return;
  FFocused = GetFocus() == FHandle;
  FCaption = GetWindowTextWide(FHandle);
  Prepare();
}

void TSkinTab::RestoreControl() {
  TSkinControl::RestoreControl();
  if (FCloseButtons && IsWindow(FHandle)) SetTabPadding(FHandle, kTabPaddingX);
}

void TSkinTab::Prepare() {
  FEnabled = IsWindowEnabled(FHandle);
  auto* pages = dynamic_cast<vcl::TPageControl*>(FControl);
  FCloseButtons = pages && pages->Tag() == kCloseMarksTag && pages->TabPosition() == vcl::tpTop;
  // Tabs with a close mark are made wider by the mark, so that their text keeps clear of it.
  if (FCloseButtons) SetTabPadding(FHandle, kTabPaddingX + kCloseMarkRoom / 2);
  PrepareImages();
  FindUpDown();
  FSkinOn = true;
  FUnicode2 = IsWindowUnicode(FHandle);
}

void TSkinTab::PrepareImages() {
  FTabImage = std::make_unique<vcl::TBitmap>();
  FSheetImage = std::make_unique<vcl::TBitmap>();
  FPosition = TabSideOfStyle(GetWindowLongPtrW(FHandle, GWL_STYLE));
  TDataSkinBorder* tabs = TabsElement(FSkinData);
  if (!tabs) return;
  CopyBitmap(tabs->Bitmap.get(), FTabImage.get());
  tab_margins_ = tabs->Margins();
  sheet_margins_ = kSheetMargins;
  if (tabs->Style == 1) {
    if (TDataSkinObject* pane = FSkinData->Skin()->Element(SkinElement::TabPane); pane && pane->HasBitmap()) {
      CopyBitmap(pane->Bitmap.get(), FSheetImage.get());
      sheet_margins_ = pane->Margins();
    }
  } else if (!tabs->Bitmap2->Empty()) {
    CopyBitmap(tabs->Bitmap2.get(), FSheetImage.get());
  }
  for (vcl::TBitmap* b : {FTabImage.get(), FSheetImage.get()})
    if (!b->Empty()) b->SetPixelFormat(vcl::pf24bit);
  switch (FPosition) {
    case TTabSide::Bottom:
      FlipBitmap(FTabImage.get());
      if (!FSheetImage->Empty()) FlipBitmap(FSheetImage.get());
      tab_margins_ = TurnMargins(tab_margins_, FPosition);
      break;
    case TTabSide::Left:
      if (!FSheetImage->Empty()) RotateLeft(FSheetImage.get());
      break;
    case TTabSide::Right:
      if (!FSheetImage->Empty()) RotateRight(FSheetImage.get());
      break;
    default: break;
  }
  sheet_margins_ = TurnMargins(sheet_margins_, FPosition);
}

bool TSkinTab::FindUpDown() {
  const HWND found = FindUpDownChild(FHandle);
  if (found && found != FUpDown) AttachUpDown(FControl, found, FSkinData, FForm, Canvas());
  FUpDown = found;
  return FUpDown && IsWindowVisible(FUpDown);
}

void TSkinTab::UpdateSkin() {
  PrepareImages();
  TSkinControl::UpdateSkin();
}

bool TSkinTab::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintHandler(Message); return false;
    case WM_LBUTTONDOWN:
      if (FCloseButtons &&
          CloseMarkClick(vcl::TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))))) {
        Message.Result = 0;
        return false;
      }
      return true;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinTab::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_MOUSELEAVE: SetHotTab(-1); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

void TSkinTab::SetHotTab(int Tab) {
  if (Tab == hot_tab_) return;
  hot_tab_ = Tab;
  Redraw();
}

// The tab under the mouse is hot.
void TSkinTab::WMMouseMove(const vcl::TMessage& Message) {
  TCHITTESTINFO hit{};
  hit.pt = POINT{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  SetHotTab(IsWindowEnabled(FHandle) ? static_cast<int>(SendMessageW(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)))
                                     : -1);
  TrackMouseLeave(FHandle);
}

bool TSkinTab::CloseMarkClick(vcl::TPoint At) {
  const POINT p{At.X, At.Y};
  for (size_t i = 0; i < FCloseRects.size(); ++i) {
    const RECT r = ToRect(FCloseRects[i]);
    if (!PtInRect(&r, p)) continue;
    // The first mark hit acts; the pages (and their marks) move once one closes.
    HWND form = FForm ? FForm->HostWindow() : GetAncestor(FHandle, GA_ROOT);
    const int index = static_cast<int>(i);
    if (SendMessageW(form, SKM_TABCLOSE, reinterpret_cast<WPARAM>(FHandle), index) == 0) {
      if (auto* pages = dynamic_cast<vcl::TPageControl*>(FControl)) {
        for (int k = 0; k < pages->PageCount(); ++k) {
          vcl::TTabSheet* page = pages->Pages(k);
          if (page->TabIndex() == index) {
            vcl::TObject::Free(page);
            break;
          }
        }
      }
    }
    return true;
  }
  return false;
}

void TSkinTab::SetCanvasFont() { AssignFont(FCanvas->Font(), FControl, FHandle); }

bool TSkinTab::HasPicture() const { return TabsElement(FSkinData) != nullptr; }

void TSkinTab::DrawControl(HDC DC, const TRect& Rect) {
  TDataSkinBorder* tabs = TabsElement(FSkinData);
  if (!tabs || FTabImage->Empty()) return;
  FEnabled = IsWindowEnabled(FHandle);
  const int W = Rect.Width(), H = Rect.Height();
  const TRect display = DisplayArea(FHandle, Rect, FPosition);
  const int current = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
  const int count = std::max(static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0)), 0);
  FCloseRects.assign(static_cast<size_t>(count), TRect());

  const TRect strip = StripRect(FPosition, display, W, H);
  const bool sideways = FPosition == TTabSide::Left || FPosition == TTabSide::Right;
  const int sw = sideways ? strip.Height() : strip.Width(), sh = sideways ? strip.Width() : strip.Height();
  if (sw > 0 && sh > 0) {
    FStrip->SetPixelFormat(vcl::pf24bit);
    FStrip->SetSize(sw, sh);
    HDC sdc = FStrip->Canvas()->Handle();
    FillRectColor(sdc, TRect(0, 0, sw, sh), ControlColor());
    {
      const TSavedDC keep(sdc);
      const vcl::TCanvasDCLoan loan(*FCanvas, sdc);
      SetCanvasFont();
      const vcl::TControl* source = PropertySource();
      const bool rtl = source && source->UseRightToLeftReading();
      for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
        const TabItem t = ReadTabItem(FHandle, i, FUnicode2);
        const TRect face = TabToStrip(FromRect(item), FPosition, display, W, H);
        // The tab image's frames: 1 normal, 2 selected, 4 hot.
        const int state = i == current ? 2 : i == hot_tab_ && FEnabled && tabs->Frame >= kTabHotFrame ? kTabHotFrame : 1;
        DrawSkinBitmapRect(sdc, face, FTabImage.get(), tab_margins_, tabs->Tile != 0, tabs->Frame, state,
                           tabs->Transparent());
        const vcl::TColor colour = state == 2 ? tabs->MouseOverColour2 : tabs->NormalColour2;
        TRect textBox = face;
        if (FCloseButtons) {
          // A small square with both diagonals; where the mouse finds it.
          const TRect mark(face.Right - 8, face.Top + 2, face.Right - 2, face.Top + 8);
          const vcl::UniquePen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(vcl::ColorToRGB(colour))));
          HDC cdc = FCanvas->Handle();
          const vcl::SelectGuard usePen(cdc, pen.get());
          const vcl::SelectGuard useBrush(cdc, GetStockObject(HOLLOW_BRUSH));
          Rectangle(cdc, mark.Left, mark.Top, mark.Right, mark.Bottom);
          MoveToEx(cdc, mark.Left, mark.Top, nullptr);
          LineTo(cdc, mark.Right, mark.Bottom);
          MoveToEx(cdc, mark.Right - 1, mark.Top, nullptr);
          LineTo(cdc, mark.Left - 1, mark.Bottom);
          // The strip of tabs at the top lies at the control's origin: strip and client
          // coordinates are the same.
          FCloseRects[static_cast<size_t>(i)] = mark;
          textBox.Right = mark.Left - 2;
        }
        FCanvas->Font()->SetColor(colour);
        DrawTabItem(FCanvas, textBox, 1, t.text, t.image, images, FEnabled, rtl);
      }
    }
    if (FPosition == TTabSide::Left) RotateLeft(FStrip.get());
    if (FPosition == TTabSide::Right) RotateRight(FStrip.get());
    const TSavedDC keep(DC);
    if (FindUpDown()) {
      RECT ud{};
      GetWindowRect(FUpDown, &ud);
      MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&ud), 2);
      ExcludeClipRect(DC, ud.left, ud.top, ud.right, ud.bottom);
    }
    BitBlt(DC, strip.Left, strip.Top, strip.Width(), strip.Height(), FStrip->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (!FSheetImage->Empty())
    DrawSkinBitmapRect(DC, display, FSheetImage.get(), sheet_margins_, false, 1, 1, false);
  if (FStyle == 2 && FControl) FControl->PaintControls(DC, nullptr);
}

// ---------------------------------------------------------------------------------------
// TSkinTabBtn

TSkinTabBtn::TSkinTabBtn(vcl::TComponent* AOwner) : TSkinControl(AOwner), buffer_(std::make_unique<vcl::TBitmap>()) {
  buffer_->SetPixelFormat(vcl::pf24bit);
}

TSkinTabBtn::~TSkinTabBtn() = default;

bool TSkinTabBtn::HasPicture() const {
  if (!HasSkin()) return false;
  TDataSkinButton* b = FSkinData->Skin()->Buttons();
  return b && b->HasBitmap();
}

bool TSkinTabBtn::BeforeProc(vcl::TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    PaintHandler(Message);
    return false;
  }
  return TSkinControl::BeforeProc(Message);
}

void TSkinTabBtn::DrawControl(HDC DC, const TRect& Rect) {
  if (!HasSkin()) return;
  TDataSkinButton* b = FSkinData->Skin()->Buttons();
  if (!b || !b->HasBitmap()) return;
  RECT display = ToRect(Rect);
  SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  InflateRect(&display, 4, 4);
  const int w = Rect.Width(), h = std::min(static_cast<int>(display.top) + 1, Rect.Height());
  if (w <= 0 || h <= 0) return;
  buffer_->SetSize(w, h);
  HDC bdc = buffer_->Canvas()->Handle();
  FillSkinColor(bdc, TRect(0, 0, w, h));
  const int current = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
  const int count = std::max(static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0)), 0);
  const bool enabled = IsWindowEnabled(FHandle);
  {
    const TSavedDC keep(bdc);
    const vcl::TCanvasDCLoan loan(*FCanvas, bdc);
    AssignFont(FCanvas->Font(), FControl, FHandle);
    const vcl::TColor fontColour = FCanvas->Font()->Color();
    for (int i = 0; i < count; ++i) {
      RECT item{};
      if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
      OffsetRect(&item, 0, 1);
      const TabItem t = ReadTabItem(FHandle, i, IsWindowUnicode(FHandle));
      const int state = i == current ? kButtonPressed : kButtonNormal;
      DrawSkinBitmapRect(bdc, FromRect(item), b->Bitmap.get(), b->Margins(), b->Tile != 0, b->Frame, state,
                         b->Transparent());
      vcl::TColor colour = fontColour;
      if (state == kButtonNormal && b->NormalColour2Given) colour = b->NormalColour2;
      if (state == kButtonPressed && b->PressedColour2Given) colour = b->PressedColour2;
      FCanvas->Font()->SetColor(colour);
      DrawTabItem(FCanvas, FromRect(item), 1, t.text, t.image, images, enabled);
    }
  }
  BitBlt(DC, Rect.Left, Rect.Top, w, h, bdc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// TSkinTabSheet

bool TSkinTabSheet::BeforeProc(vcl::TMessage& Message) {
  if (FStyle == 0) {
    switch (Message.Msg) {
      case WM_ERASEBKGND: WMEraseBkgnd(Message); return false;
      case WM_PAINT:
      case WM_PRINT: PaintHandler(Message); return false;
      default: break;
    }
  }
  return TSkinControl::BeforeProc(Message);
}

void TSkinTabSheet::WMEraseBkgnd(vcl::TMessage& Message) {
  RECT r{};
  GetClientRect(FHandle, &r);
  if (auto dc = reinterpret_cast<HDC>(Message.WParam)) FillRect(dc, &r, FaceBrush());
  Message.Result = 1;
}

void TSkinTabSheet::DrawControl(HDC DC, const TRect& Rect) {
  FillSkinColor(DC, Rect);
  if (FControl) FControl->PaintControls(DC, nullptr);
}

// ---------------------------------------------------------------------------------------
// TSkinAdvPage

void TSkinAdvPage::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  if (FAttached) MakeTabPictures();
}

void TSkinAdvPage::MakeTabPictures() {
  TDataSkinBorder* tabs = TabsElement(FSkinData);
  if (FPageKind != 4 || !tabs || !FControl) return;
  const TRect size(0, 0, kTabPictureWidth, kTabPictureHeight);
  // The tabs lie on the skin's face: what the tab picture has no pixels for shows it.
  const vcl::TColor face = FaceColor();
  const auto normal =
      StretchSkinBitmap(size, tabs->Bitmap.get(), tabs->Margins(), false, tabs->Tile != 0, tabs->Frame, 1, face);
  const auto active =
      StretchSkinBitmap(size, tabs->Bitmap.get(), tabs->Margins(), false, tabs->Tile != 0, tabs->Frame, 2, face);
  if (normal) AssignPicture(FControl, L"TabBackGround", normal.get());
  if (active) AssignPicture(FControl, L"TabBackGroundActive", active.get());
}

void TSkinAdvPage::UpdateSkin() {
  MakeTabPictures();
  TSkinControl::UpdateSkin();
}

void TSkinAdvPage::RestoreControl() {
  TSkinControl::RestoreControl();
  if (FPageKind != 4 || !FControl) return;
  AssignPicture(FControl, L"TabBackGround", nullptr);
  AssignPicture(FControl, L"TabBackGroundActive", nullptr);
}

void TSkinAdvPage::DrawControl(HDC, const TRect&) {
  const HWND found = FindUpDownChild(FHandle);
  if (found && found != FUpDown) AttachUpDown(FControl, found, FSkinData, FForm, Canvas());
  FUpDown = found;
}

}  // namespace winskin
