#include "skin_classic/forms/WinSkinMenu.h"

#include <algorithm>
#include <utility>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/forms/MenuTracking.h"
#include "skin_classic/forms/SkinMenuPaint.h"
#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

// Colour-table entries the bar uses.
constexpr int kButtonShadow = 7;
constexpr int kHilight = 12;
constexpr int kMenuBarColour = 13;
constexpr int kMenuBarText = 14;
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOCLIP;  // 1280
constexpr UINT kDrawFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// Where the first item starts without the skin's menu-bar picture, and when the picture's
// margin leaves no room.
constexpr int kPlainStart = 6;
constexpr int kNarrowStart = 12;
// Room between the last item shown and the caption buttons on the band.
constexpr int kButtonGap = 2;
// Drop-downs open below the item (right-to-left windows: aligned to its right edge).
constexpr UINT kTrackFlags = TPM_VERTICAL | TPM_RIGHTBUTTON;          // 130
constexpr UINT kTrackFlagsRtl = kTrackFlags | TPM_RIGHTALIGN;          // 138
// The non-client clicks the engine posts to open a bar item: one standing for a key (an
// accelerator, Left or Right) and one for the mouse. The mouse's own presses come as HTMENU.
constexpr WPARAM kKeyClickHit = HTCLIENT;
constexpr WPARAM kMouseClickHit = HTMENU;

HFONT MenuFont() {
  return vcl::Screen && vcl::Screen->MenuFont() ? vcl::Screen->MenuFont()->Handle()
                                                : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TDataSkinObject* BarElement(const TFormFrame* Form) {
  TDataSkinObject* bar = Form->FrameSkin()->Skin()->Element(SkinElement::MenuBar);
  return bar && bar->HasBitmap() ? bar : nullptr;
}

}  // namespace

VCL_CLASS_INFO(TMenuBtn) {}

void TMenuBtn::Paint() { Bar->PaintItem(this); }

TWinSkinMenu::TWinSkinMenu(TFormFrame* AForm) : Form(AForm) {}

TWinSkinMenu::~TWinSkinMenu() {
  if (Form->HotObject && dynamic_cast<TMenuBtn*>(Form->HotObject)) Form->HotObject = nullptr;
}

vcl::TMainMenu* TWinSkinMenu::Menu() const {
  auto* form = dynamic_cast<vcl::TCustomForm*>(Form->FormObject);
  return form ? dynamic_cast<vcl::TMainMenu*>(form->Menu()) : nullptr;
}

bool TWinSkinMenu::LoadItems(HMENU Given) {
  HMENU menu = Given ? Given : GetMenu(Form->HostWindow());
  if (!menu) return false;
  // A library form's bar belongs to its TMainMenu: without one the window keeps its menu.
  if (dynamic_cast<vcl::TCustomForm*>(Form->FormObject) && !Menu()) return false;
  if (MenuTracking().Form == Form) {
    pending_menu_ = menu;
  } else {
    ReadItems(menu);
  }
  SetMenu(Form->HostWindow(), nullptr);
  return true;
}

bool TWinSkinMenu::FinishPendingLoad() {
  HMENU menu = std::exchange(pending_menu_, nullptr);
  if (!menu || !IsMenu(menu)) return false;
  ReadItems(menu);
  return true;
}

void TWinSkinMenu::ReadItems(HMENU Menu) {
  MenuHandle = Menu;
  vcl::TMainMenu* main = this->Menu();
  if (Form->HotObject && dynamic_cast<TMenuBtn*>(Form->HotObject)) Form->HotObject = nullptr;
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
    item->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    item->SubMenu = info.hSubMenu;
    item->ID = info.wID;
    // The TMainMenu's item of that command has the last word.
    if (vcl::TMenuItem* own = main ? main->FindItem(info.wID, vcl::fkCommand) : nullptr) {
      item->Caption = own->Caption();
      item->Enabled = own->Enabled();
      item->SubMenu = own->Count() > 0 ? own->Handle() : nullptr;
    }
    items_.push_back(std::move(item));
  }
}

int TWinSkinMenu::RightMargin() const {
  TDataSkinObject* bar = BarElement(Form);
  return bar ? bar->RightWidth : 0;
}

bool TWinSkinMenu::RightToLeft() const {
  if (vcl::TMainMenu* main = Menu()) return MenuItemReadsRightToLeft(main, nullptr);
  return Form->RightToLeft;
}

// The items end before the caption buttons a maximised MDI child puts on the band.
TRect TWinSkinMenu::ItemsArea(const TRect& Band) const {
  TRect area = Band;
  for (const auto& b : Form->Buttons())
    if (b->OnMenuBand() && b->Visible && !b->BoundsRect.IsEmpty())
      area.Right = std::clamp(b->BoundsRect.Left - kButtonGap, area.Left, area.Right);
  return area;
}

void TWinSkinMenu::Layout(const TRect& Band) {
  band_ = Band;
  items_area_ = ItemsArea(Band);
  TDataSkinObject* bar = BarElement(Form);
  const bool rtl = RightToLeft();
  int start = kPlainStart;
  if (bar) {
    start = rtl ? bar->RightWidth + 8 : bar->LeftWidth + 4;
    if (start > Band.Width()) start = kNarrowStart;
  }
  // Right to left, the items run from the buttons' left where they stand on the band.
  int x = rtl ? std::min(Band.Right - start, items_area_.Right) : Band.Left + start;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = dc ? SelectObject(dc, MenuFont()) : nullptr;
  for (const auto& item : items_) {
    if (!item->Visible) {
      item->BoundsRect = TRect();
      continue;
    }
    int w = 0;
    if (!item->Caption.empty() && dc) {
      TRect r(0, 0, 0, 0);
      DrawTextAW(dc, item->Caption, r, kMeasureFlags);
      w = r.Width() + 10;
    }
    if (rtl) {
      item->BoundsRect = TRect(x - w, Band.Top, x, Band.Bottom - 1);
      x -= w;
    } else {
      item->BoundsRect = TRect(x, Band.Top, x + w, Band.Bottom - 1);
      x += w;
    }
  }
  if (dc) {
    SelectObject(dc, old);
    DeleteDC(dc);
  }
}

void TWinSkinMenu::DrawItem(HDC DC, TMenuBtn* Item, TPoint Origin, bool Highlight) {
  if (Item->BoundsRect.IsEmpty()) return;
  TSkinObjects* skin = Form->FrameSkin()->Skin();
  TRect r = Item->BoundsRect;
  r.Offset(-Origin.X, -Origin.Y);
  if (Highlight) {
    // The skin's highlight colour: whether the text reads well on it is the skin's choice.
    vcl::UniqueBrush fill(CreateSolidBrush(static_cast<COLORREF>(skin->Color(kHilight))));
    RECT rr = r;
    FillRect(DC, &rr, fill.get());
  }
  HGDIOBJ old = SelectObject(DC, MenuFont());
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, static_cast<COLORREF>(skin->Color(Item->Enabled ? kMenuBarText : kButtonShadow)));
  DrawTextAW(DC, Item->Caption, r, kDrawFlags);
  SelectObject(DC, old);
}

void TWinSkinMenu::Paint(HDC DC, const TRect& Band, TPoint Origin) {
  Layout(Band);
  // Kept while it holds the band: a window resized step by step makes a new one only now
  // and then.
  if (!background_ || background_->Width() < Band.Width() || background_->Height() < Band.Height()) {
    background_.reset();
    background_ = NewSkinBitmap(Band.Width() + kBackgroundSlack, Band.Height());
    if (!background_) background_ = NewSkinBitmap(Band.Width(), Band.Height());
  }
  if (!background_) return;
  HDC mem = background_->Canvas()->Handle();
  const TRect local(0, 0, Band.Width(), Band.Height());
  TSkinObjects* skin = Form->FrameSkin()->Skin();
  // The band starts from the skin's menu-bar colour: where the bar's picture has no pixels for
  // a part (margins that take its whole width) that shows, not black.
  {
    vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(skin->Color(kMenuBarColour))));
    RECT rr = local;
    FillRect(mem, &rr, brush.get());
  }
  if (TDataSkinObject* bar = BarElement(Form))
    DrawSkinBitmapRect(mem, local, bar->Bitmap.get(), bar->Margins(), bar->Tile == 1, bar->Frame,
                       Form->Active ? 1 : std::min(2, bar->Frame), false);
  // The MDI child buttons of a maximised child.
  for (const auto& b : Form->Buttons())
    if (b->OnMenuBand() && b->Visible) b->PaintTo(mem, 1, TPoint(Band.Left, Band.Top));
  BitBlt(DC, Band.Left - Origin.X, Band.Top - Origin.Y, Band.Width(), Band.Height(), mem, 0, 0, SRCCOPY);
  // Items that do not fit end at the band (the right border of a narrow window stays) and
  // before the buttons on it.
  const int saved = SaveDC(DC);
  IntersectClipRect(DC, items_area_.Left - Origin.X, items_area_.Top - Origin.Y, items_area_.Right - Origin.X,
                    items_area_.Bottom - Origin.Y);
  for (const auto& item : items_) DrawItem(DC, item.get(), Origin, item->State != TNCState::Normal);
  RestoreDC(DC, saved);
}

void TWinSkinMenu::PaintItem(TMenuBtn* Item) {
  // A bar the form let go of (its menu went while one of its menus was open) has no band.
  if (!background_ || Item->BoundsRect.IsEmpty() || Form->MenuBar() != this) return;
  HDC dc = GetWindowDC(Form->HostWindow());
  if (!dc) return;
  IntersectClipRect(dc, items_area_.Left, items_area_.Top, items_area_.Right, items_area_.Bottom);
  const TRect r = Item->BoundsRect;
  BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), background_->Canvas()->Handle(), r.Left - band_.Left,
         r.Top - band_.Top, SRCCOPY);
  DrawItem(dc, Item, TPoint(0, 0), Item->State != TNCState::Normal);
  ReleaseDC(Form->HostWindow(), dc);
}

TMenuBtn* TWinSkinMenu::ItemAt(TPoint P) const {
  // The part of an item beyond the band (under the right border) or under the buttons on it
  // is not the item's.
  if (!band_.IsEmpty() && !items_area_.Contains(P)) return nullptr;
  return ItemUnder(P);
}

TMenuBtn* TWinSkinMenu::ItemUnder(TPoint P) const {
  for (const auto& item : items_)
    if (!item->Caption.empty() && item->BoundsRect.Contains(P)) return item.get();
  return nullptr;
}

int TWinSkinMenu::IndexAt(TPoint P) const {
  const TMenuBtn* item = ItemAt(P);
  return item ? item->Index : -1;
}

bool TWinSkinMenu::Clickable(int Index) const {
  if (Index < 0 || Index >= Count()) return false;
  const TMenuBtn* item = items_[static_cast<size_t>(Index)].get();
  return item->Visible && !item->Caption.empty();
}

HMENU TWinSkinMenu::SubMenuOf(int Index) const {
  return Index >= 0 && Index < Count() ? items_[static_cast<size_t>(Index)]->SubMenu : nullptr;
}

TMenuBtn* TWinSkinMenu::FindAccel(wchar_t Key) const {
  for (const auto& item : items_)
    if (item->Enabled && item->Visible && vcl::IsAccel(Key, item->Caption)) return item.get();
  return nullptr;
}

bool TWinSkinMenu::TrackItem(TMenuBtn* Item, bool SelectFirst) {
  // The item's command goes to the window first (a top-level item without sub-items is only
  // that): never for a disabled item, and not for an identifier that is its sub-menu's handle
  // (a menu of the system's own makes no command of such an item).
  const bool handleAsId = Item->SubMenu && Item->ID == static_cast<UINT>(reinterpret_cast<UINT_PTR>(Item->SubMenu));
  if (Item->Enabled && !handleAsId) PostMessageW(Form->HostWindow(), WM_COMMAND, Item->ID, 0);
  if (!Item->SubMenu) return true;
  TMenuTracking& tracking = MenuTracking();
  tracking.Begin(Form, Item->Index, SelectFirst);
  tracking.MakeOwnerDrawn(Item->SubMenu);
  Form->Tracking = true;
  Form->CurrentMenu = Item->SubMenu;
  if (TSkinManage* manager = SkinManager()) {
    manager->SetPopupKind(TPopupKind::MenuBar);
    manager->SetPopupFromBar(true);
  }
  if (Item->Enabled) {
    const TMenuLoopScope loop;
    RECT window{};
    GetWindowRect(Form->HostWindow(), &window);
    const bool rtl = Form->RightToLeft;
    const int x = window.left + (rtl ? Item->BoundsRect.Right : Item->BoundsRect.Left);
    const int y = window.top + Item->BoundsRect.Bottom;
    TrackPopupMenu(Item->SubMenu, rtl ? kTrackFlagsRtl : kTrackFlags, x, y, 0, Form->HostWindow(), nullptr);
  }
  const int target = tracking.SwitchPending ? tracking.SwitchTarget : -1;
  const WPARAM hit = tracking.SwitchByKey ? kKeyClickHit : kMouseClickHit;
  tracking.End();
  Form->Tracking = false;
  Form->CurrentMenu = nullptr;
  // The switch to another bar item: a click on it, once the menu loop is over.
  if (target >= 0 && target < Count()) {
    const TRect& to = items_[static_cast<size_t>(target)]->BoundsRect;
    RECT window{};
    GetWindowRect(Form->HostWindow(), &window);
    PostMessageW(Form->HostWindow(), WM_NCLBUTTONDOWN, hit,
                 MAKELPARAM(window.left + to.Left + 1, window.top + to.Top + 1));
  }
  return true;
}

}  // namespace winskin
