#include "skin_classic/forms/WinSkinMenu.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/forms/WinSkinForm.h"
#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

// Colour-table entries the bar uses.
constexpr int kHilight = 12;
constexpr int kMenuBarColour = 13;
constexpr int kMenuBarText = 14;
constexpr int kButtonShadow = 7;
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE;

HFONT MenuFont() { return vcl::Screen ? vcl::Screen->MenuFont()->Handle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace

VCL_CLASS_INFO(TMenuBtn) {}

void TMenuBtn::Paint() { Bar->PaintItem(this); }

bool TWinSkinMenu::LoadItems() {
  MenuHandle = GetMenu(Form->Window);
  if (!MenuHandle) return false;
  items_.clear();
  const int count = GetMenuItemCount(MenuHandle);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &info)) continue;
    auto item = std::make_unique<TMenuBtn>(Form, this);
    item->Index = static_cast<int>(items_.size());
    item->Caption = (info.fType & MFT_SEPARATOR) ? String() : String(text);
    item->ItemEnabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    item->SubMenu = info.hSubMenu;
    item->ID = info.wID;
    items_.push_back(std::move(item));
  }
  SetMenu(Form->Window, nullptr);
  return true;
}

int TWinSkinMenu::RightMargin() const {
  TDataSkinObject* bar = Form->SkinData->Skin()->Element(SkinElement::MenuBar);
  return bar && bar->HasBitmap() ? bar->RightWidth : 0;
}

void TWinSkinMenu::Layout(const TRect& Band) {
  band_ = Band;
  TDataSkinObject* bar = Form->SkinData->Skin()->Element(SkinElement::MenuBar);
  int x = 6;
  if (bar && bar->HasBitmap()) {
    x = bar->LeftWidth + 4;
    if (x > Band.Width()) x = 12;
  }
  x += Band.Left;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  for (const auto& item : items_) {
    if (!item->Visible || item->Caption.empty()) {
      item->BoundsRect = TRect();
      continue;
    }
    TRect r(0, 0, 0, 0);
    DrawTextAW(dc, item->Caption, r, kMeasureFlags);
    const int w = r.Width() + 10;
    item->BoundsRect = TRect(x, Band.Top, x + w, Band.Bottom - 1);
    x += w;
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

void TWinSkinMenu::DrawItem(HDC DC, TMenuBtn* Item, TPoint Origin, bool Highlight) {
  if (Item->BoundsRect.IsEmpty()) return;
  TSkinObjects* skin = Form->SkinData->Skin();
  TRect r = Item->BoundsRect;
  r.Offset(-Origin.X, -Origin.Y);
  if (Highlight) {
    // A light face framed in the highlight colour, so that the item's text stays legible.
    const TColor edge = skin->Color(kHilight);
    vcl::UniqueBrush fill(CreateSolidBrush(static_cast<COLORREF>(BlendColor(edge, skin->Color(kMenuBarColour), 25))));
    vcl::UniqueBrush frame(CreateSolidBrush(static_cast<COLORREF>(edge)));
    RECT rr = r;
    FillRect(DC, &rr, fill.get());
    FrameRect(DC, &rr, frame.get());
  }
  HGDIOBJ old = SelectObject(DC, MenuFont());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, static_cast<COLORREF>(skin->Color(Item->ItemEnabled ? kMenuBarText : kButtonShadow)));
  DrawTextAW(DC, Item->Caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(DC, old);
}

void TWinSkinMenu::Paint(HDC DC, const TRect& Band, TPoint Origin) {
  Layout(Band);
  background_ = NewSkinBitmap(Band.Width(), Band.Height());
  if (!background_) return;
  HDC mem = background_->Canvas()->Handle();
  const TRect local(0, 0, Band.Width(), Band.Height());
  TSkinObjects* skin = Form->SkinData->Skin();
  TDataSkinObject* bar = skin->Element(SkinElement::MenuBar);
  if (bar && bar->HasBitmap()) {
    DrawSkinBitmapRect(mem, local, bar->Bitmap.get(), bar->Margins(), bar->Tile == 1, bar->Frame,
                       Form->Active ? 1 : std::min(2, bar->Frame), false);
  } else {
    vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(skin->Color(kMenuBarColour))));
    RECT rr = local;
    FillRect(mem, &rr, brush.get());
  }
  // The MDI child buttons of a maximised child.
  for (const auto& b : Form->Buttons())
    if (b->OnMenuBand() && b->Visible) b->PaintTo(mem, 1, TPoint(Band.Left, Band.Top));
  BitBlt(DC, Band.Left - Origin.X, Band.Top - Origin.Y, Band.Width(), Band.Height(), mem, 0, 0, SRCCOPY);
  for (const auto& item : items_) DrawItem(DC, item.get(), Origin, false);
}

void TWinSkinMenu::PaintItem(TMenuBtn* Item) {
  if (!background_ || Item->BoundsRect.IsEmpty()) return;
  HDC dc = GetWindowDC(Form->Window);
  if (!dc) return;
  const TRect r = Item->BoundsRect;
  BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), background_->Canvas()->Handle(), r.Left - band_.Left,
         r.Top - band_.Top, SRCCOPY);
  DrawItem(dc, Item, TPoint(0, 0), Item->State != TNCState::Normal);
  ReleaseDC(Form->Window, dc);
}

TMenuBtn* TWinSkinMenu::ItemAt(TPoint P) const {
  for (const auto& item : items_)
    if (!item->Caption.empty() && item->BoundsRect.Contains(P)) return item.get();
  return nullptr;
}

bool TWinSkinMenu::TrackItem(TMenuBtn* Item) {
  if (!Item->SubMenu) {
    PostMessageW(Form->Window, WM_COMMAND, Item->ID, 0);
    return true;
  }
  Form->Tracking = true;
  if (TSkinManage* manager = SkinManager()) {
    manager->SetPopupKind(TPopupKind::MenuBar);
    manager->SetPopupFromBar(true);
  }
  if (Item->ItemEnabled) {
    POINT at{Item->BoundsRect.Left, Item->BoundsRect.Bottom};
    RECT window{};
    GetWindowRect(Form->Window, &window);
    at.x += window.left;
    at.y += window.top;
    UINT flags = TPM_VERTICAL | TPM_RIGHTBUTTON;
    if (Form->RightToLeft) {
      at.x = window.left + Item->BoundsRect.Right;
      flags |= TPM_RIGHTALIGN;
    }
    TrackPopupMenu(Item->SubMenu, flags, at.x, at.y, 0, Form->Window, nullptr);
  }
  Form->Tracking = false;
  return true;
}

}  // namespace winskin
