#include "classlib/forms/Menus.h"

#include <algorithm>
#include <utility>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "classlib/controls/UtilWindow.h"
#include "classlib/graphics/GraphicsHandles.h"

namespace vcl {

VCL_CLASS_INFO(TMenuItem) {
  // Stored only when there is a picture (reading the property would make an empty one).
  p.Object<&TMenuItem::Bitmap, &TMenuItem::SetBitmap>(L"Bitmap", TBitmap::StaticClass()).Stored =
      [](const TObject* o) { return static_cast<const TMenuItem*>(o)->HasBitmap(); };
  p.Enum<&TMenuItem::Break, &TMenuItem::SetBreak>(L"Break", 0);
  p.String<&TMenuItem::Caption, &TMenuItem::SetCaption>(L"Caption");
  p.Bool<&TMenuItem::Checked, &TMenuItem::SetChecked>(L"Checked", false);
  p.Bool<&TMenuItem::Default, &TMenuItem::SetDefault>(L"Default", false);
  p.Bool<&TMenuItem::Enabled, &TMenuItem::SetEnabled>(L"Enabled", true);
  p.Integer<&TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex>(L"GroupIndex", 0);
  p.String<&TMenuItem::Hint, &TMenuItem::SetHint>(L"Hint");
  p.Integer<&TMenuItem::ImageIndex, &TMenuItem::SetImageIndex>(L"ImageIndex", -1);
  p.Bool<&TMenuItem::RadioItem, &TMenuItem::SetRadioItem>(L"RadioItem", false);
  p.Integer<&TMenuItem::ShortCut, &TMenuItem::SetShortCut>(L"ShortCut", 0);
  p.Object<&TMenuItem::SubMenuImages, &TMenuItem::SetSubMenuImages>(L"SubMenuImages",
                                                                     TCustomImageList::StaticClass());
  p.Bool<&TMenuItem::Visible, &TMenuItem::SetVisible>(L"Visible", true);
  p.Event<&TMenuItem::OnAdvancedDrawItem>(L"OnAdvancedDrawItem");
  p.Event<&TMenuItem::OnClick>(L"OnClick");
  p.Event<&TMenuItem::OnDrawItem>(L"OnDrawItem");
  p.Event<&TMenuItem::OnMeasureItem>(L"OnMeasureItem");
}

VCL_CLASS_INFO(TMenu) {
  p.Object<&TMenu::Items, nullptr>(L"Items", TMenuItem::StaticClass());
  p.Enum<&TMenu::BiDiMode, &TMenu::SetBiDiMode>(L"BiDiMode", 0);
  p.Object<&TMenu::Images, &TMenu::SetImages>(L"Images", TCustomImageList::StaticClass());
  p.Bool<&TMenu::OwnerDraw, &TMenu::SetOwnerDraw>(L"OwnerDraw", false);
  p.Event<&TMenu::OnChange>(L"OnChange");
}

VCL_CLASS_INFO(TMainMenu) {
  p.Bool<&TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge>(L"AutoMerge", false);
}

VCL_CLASS_INFO(TPopupMenu) {
  p.Enum<&TPopupMenu::Alignment, &TPopupMenu::SetAlignment>(L"Alignment", 0);
  p.Bool<&TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup>(L"AutoPopup", true);
  p.Set<&TPopupMenu::MenuAnimation, &TPopupMenu::SetMenuAnimation>(L"MenuAnimation", 0);
  p.Enum<&TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton>(L"TrackButton", 0);
  p.Event<&TPopupMenu::OnPopup>(L"OnPopup");
}

namespace {

// ---------------------------------------------------------------------------------------
// Command numbers: unique among the process's items, kept below the system commands
// (0xF000). A freed number is given out again only after the others, so that a command still
// queued for a freed item rarely reaches a new one.
class CommandPool {
 public:
  WORD Acquire() {
    constexpr size_t kCount = kLast - kFirst + 1;
    for (size_t n = 0; n < kCount; ++n) {
      const size_t i = (next_ + n) % kCount;
      if (!used_[i]) {
        used_[i] = true;
        next_ = (i + 1) % kCount;
        return static_cast<WORD>(kFirst + i);
      }
    }
    throw EMenuError(L"Too many menu items");
  }
  void Release(WORD Command) {
    if (Command >= kFirst && Command <= kLast) used_[Command - kFirst] = false;
  }

 private:
  static constexpr WORD kFirst = 1;
  static constexpr WORD kLast = 0xEFFF;
  std::vector<bool> used_ = std::vector<bool>(kLast - kFirst + 1, false);
  size_t next_ = 0;
};

CommandPool& Commands() {
  static CommandPool pool;
  return pool;
}

// A canvas over a device context it does not own, let go again at the end of the scope.
class BorrowedCanvas {
 public:
  explicit BorrowedCanvas(HDC DC) { canvas_.SetHandle(DC); }
  ~BorrowedCanvas() { canvas_.SetHandle(nullptr); }
  BorrowedCanvas(const BorrowedCanvas&) = delete;
  BorrowedCanvas& operator=(const BorrowedCanvas&) = delete;
  TCanvas* operator->() { return &canvas_; }
  TCanvas* get() { return &canvas_; }

 private:
  TCanvas canvas_;
};

void UseMenuFont(TCanvas* Canvas) {
  if (Screen && Screen->MenuFont()) Canvas->Font()->Assign(Screen->MenuFont());
}

// Measures the item of an owner-draw message. A memory DC of the screen measures as the
// window's own DC would, and the system asks again for every menu-bar item at each step of a
// resize: a window DC costs Wine several server requests to take and give back.
bool MeasureMenuItem(TMenuItem* Item, HWND /*Window*/, MEASUREITEMSTRUCT& Measure) {
  if (!Item) return false;
  const MemoryDC dc;
  if (!dc.get()) return false;
  BorrowedCanvas canvas(dc.get());
  UseMenuFont(canvas.get());
  int width = static_cast<int>(Measure.itemWidth);
  int height = static_cast<int>(Measure.itemHeight);
  Item->MeasureItem(canvas.get(), width, height);
  Measure.itemWidth = static_cast<UINT>(std::max(width, 0));
  Measure.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool DrawMenuItemStruct(TMenuItem* Item, const DRAWITEMSTRUCT& Draw) {
  if (!Item || !Draw.hDC) return false;
  SavedDC saved(Draw.hDC);
  BorrowedCanvas canvas(Draw.hDC);
  UseMenuFont(canvas.get());
  DrawMenuItem(Item, canvas.get(), TRect(Draw.rcItem), TOwnerDrawState::FromInt(LOWORD(Draw.itemState)));
  return true;
}

// ---------------------------------------------------------------------------------------
// What the forms unit and the controls unit ask of menus.

HMENU MainMenuHandle(TComponent* Menu) {
  auto* menu = dynamic_cast<TMainMenu*>(Menu);
  return menu ? menu->Handle() : nullptr;
}

bool MenuDispatchCommand(TComponent* Menu, WORD ItemID) {
  auto* menu = dynamic_cast<TMenu*>(Menu);
  return menu && menu->DispatchCommand(ItemID);
}

bool MenuDispatchPopup(TComponent* Menu, HMENU Popup) {
  auto* menu = dynamic_cast<TMenu*>(Menu);
  return menu && menu->DispatchPopup(Popup);
}

bool MenuIsShortCut(TComponent* Menu, const TMessage& KeyMessage) {
  auto* menu = dynamic_cast<TMenu*>(Menu);
  return menu && menu->IsShortCut(KeyMessage);
}

bool MenuMeasureItem(TComponent* Menu, HWND Window, MEASUREITEMSTRUCT& Item) {
  auto* menu = dynamic_cast<TMenu*>(Menu);
  return menu && MeasureMenuItem(menu->FindItem(Item.itemID, fkCommand), Window, Item);
}

bool MenuDrawItem(TComponent* Menu, const DRAWITEMSTRUCT& Item) {
  auto* menu = dynamic_cast<TMenu*>(Menu);
  return menu && DrawMenuItemStruct(menu->FindItem(Item.itemID, fkCommand), Item);
}

// A control's right click: its popup menu opens at the point when AutoPopup is on.
bool PopupControlMenu(TComponent* Menu, TControl* Control, TPoint ScreenPos) {
  auto* popup = dynamic_cast<TPopupMenu*>(Menu);
  if (!popup || !popup->AutoPopup()) return false;
  popup->SetPopupComponent(Control);
  popup->Popup(ScreenPos.X, ScreenPos.Y);
  return true;
}

TTrackPopupMenuFunction& TrackFunction() {
  static TTrackPopupMenuFunction function;
  return function;
}

bool TrackPopup(HMENU Menu, UINT Flags, int X, int Y, HWND Window) {
  if (const TTrackPopupMenuFunction& f = TrackFunction()) return f(Menu, Flags, X, Y, Window);
  return TrackPopupMenu(Menu, Flags, X, Y, 0, Window, nullptr) != FALSE;
}

}  // namespace

TTrackPopupMenuFunction SetTrackPopupMenuFunction(TTrackPopupMenuFunction Function) {
  return std::exchange(TrackFunction(), std::move(Function));
}

// ---------------------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(Commands().Acquire()) {}

TMenuItem::~TMenuItem() {
  Destroying();
  // A menu that shows these items lets go of them first, and this one of another's.
  if (merged_with_) merged_with_->MergeWith(nullptr);
  if (merged_) MergeWith(nullptr);
  if (parent_) parent_->Remove(this);
  // DestroyMenu would take the sub-menus along: the entries go first, each sub-item then
  // destroys its own.
  if (handle_)
    while (GetMenuItemCount(handle_) > 0)
      if (!RemoveMenu(handle_, 0, MF_BYPOSITION)) break;
  // Sub-items go with their parent, wherever they are owned.
  while (!items_.empty()) {
    TMenuItem* item = items_.back();
    items_.pop_back();
    item->parent_ = nullptr;
    TObject::Free(item);
  }
  if (handle_) DestroyMenu(handle_);
  Commands().Release(command_);
}

void TMenuItem::SetCaption(const String& Value) {
  if (caption_ == Value) return;
  caption_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value) {
  if (checked_ == Value) return;
  checked_ = Value;
  if (Value && radio_item_) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* item : parent_->items_) {
    if (item != this && item->radio_item_ && item->group_index_ == group_index_ && item->checked_) {
      item->checked_ = false;
      item->MenuChanged(false);
    }
  }
}

void TMenuItem::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  MenuChanged(false);
}

void TMenuItem::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool Value) {
  if (default_ == Value) return;
  if (Value && parent_)
    for (TMenuItem* item : parent_->items_)
      if (item != this) item->default_ = false;  // one default item a menu
  default_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool Value) {
  if (radio_item_ == Value) return;
  radio_item_ = Value;
  if (checked_ && radio_item_) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetGroupIndex(uint8_t Value) {
  if (group_index_ == Value) return;
  group_index_ = Value;
  if (checked_ && radio_item_) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::SetBreak(TMenuBreak Value) {
  if (break_ == Value) return;
  break_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (short_cut_ == Value) return;
  short_cut_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(int Value) {
  if (image_index_ == Value) return;
  image_index_ = Value;
  MenuChanged(true);
}

TBitmap* TMenuItem::Bitmap() {
  if (!bitmap_) {
    bitmap_ = std::make_unique<TBitmap>();
    bitmap_->OnChange = TNotifyEvent::Bind<&TMenuItem::BitmapChanged>(this);
  }
  return bitmap_.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) { Bitmap()->Assign(Value); }

void TMenuItem::BitmapChanged(TObject*) { MenuChanged(true); }

bool TMenuItem::HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }

void TMenuItem::SetSubMenuImages(TCustomImageList* Value) {
  if (sub_menu_images_ == Value) return;
  if (sub_menu_images_) sub_menu_images_->RemoveFreeNotification(this);
  sub_menu_images_ = Value;
  if (sub_menu_images_) sub_menu_images_->FreeNotification(this);
  RebuildAll();
  MenuChanged(true);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == sub_menu_images_) {
    sub_menu_images_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) RebuildAll();
  }
}

TCustomImageList* TMenuItem::GetImageList() const {
  if (parent_ && parent_->sub_menu_images_) return parent_->sub_menu_images_;
  const TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

// ---------------------------------------------------------------------------------------
// The tree

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(L"Menu index out of range");
  return items_[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->parent_ || Item->menu_) throw EMenuError(L"Menu inserted twice");
  for (const TMenuItem* p = this; p; p = p->parent_)
    if (p == Item) throw EMenuError(L"A menu item cannot contain itself");
  if (Index < 0 || Index > Count()) throw EMenuError(L"Menu index out of range");
  items_.insert(items_.begin() + Index, Item);
  Item->parent_ = this;
  if (Item->checked_ && Item->radio_item_) Item->TurnSiblingsOff();
  // The sub-menus of the new item follow this menu's way of drawing.
  if (Item->handle_) Item->RebuildAll();
  RebuildHandle();
  MenuChanged(true);
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  items_.erase(items_.begin() + Index);
  item->parent_ = nullptr;
  RebuildHandle();
  MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item) {
  const int i = IndexOf(Item);
  if (i < 0) throw EMenuError(L"Sub-menu is not in menu");
  Delete(i);
}

void TMenuItem::Clear() {
  while (!items_.empty()) TObject::Free(items_.back());
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(StringView ACaption) const {
  const String wanted = StripHotkey(ACaption);
  for (TMenuItem* item : items_)
    if (SameText(StripHotkey(item->caption_), wanted)) return item;
  return nullptr;
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
  if (!parent_) return;
  TMenuItem* parent = parent_;
  const int count = parent->Count();
  Value = std::clamp(Value, 0, count - 1);
  const int current = MenuIndex();
  if (Value == current) return;
  parent->items_.erase(parent->items_.begin() + current);
  parent->items_.insert(parent->items_.begin() + Value, this);
  parent->RebuildHandle();
  parent->MenuChanged(true);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

bool TMenuItem::IsTopLevel() const {
  const TMenu* menu = parent_ ? parent_->menu_ : nullptr;
  return menu && menu->IsMenuBar();
}

bool TMenuItem::IsOwnerDraw() const {
  const TMenu* menu = GetParentMenu();
  return (menu && menu->IsOwnerDraw()) || HasBitmap();
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (parent_) parent_->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(Value))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value))
    item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_))
    if (item->Owner() == Root) Proc(item);
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (parent_) parent_->RebuildHandle();
}

// ---------------------------------------------------------------------------------------
// The system menu

HMENU TMenuItem::Handle() {
  if (!handle_) {
    handle_ = menu_ && menu_->IsMenuBar() ? CreateMenu() : CreatePopupMenu();
    if (!handle_) throw EOutOfResources(L"Cannot create a menu");
    RebuildHandle();
  }
  return handle_;
}

namespace {
// An item the system put on a menu bar itself: a maximised MDI document's system menu and
// buttons, drawn as bitmaps (the library's items are text, lines or owner-drawn).
bool SystemBarItem(HMENU Menu, int Position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_BITMAP;
  return GetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &info) &&
         ((info.fType & MFT_BITMAP) || info.hbmpItem);
}
}  // namespace

// The system menu holds the visible sub-items, in order. A menu bar keeps the items the system
// put there (a maximised MDI document's, before and after the library's).
void TMenuItem::RebuildHandle() {
  if (ComponentState().Contains(csDestroying)) return;
  // A menu showing these items among its own shows them changed too.
  if (merged_with_) merged_with_->RebuildHandle();
  if (!handle_) return;
  const bool bar = menu_ && menu_->IsMenuBar();
  // Where the library's items start: after the system's leading ones (without any of the
  // library's yet, after the document's system menu, the one with a sub-menu).
  const int count = GetMenuItemCount(handle_);
  int at = 0;
  while (at < count && bar && SystemBarItem(handle_, at)) ++at;
  if (at == count) at = count > 0 && GetSubMenu(handle_, 0) ? 1 : 0;
  for (int i = count - 1; i >= 0; --i)
    if (!(bar && SystemBarItem(handle_, i))) RemoveMenu(handle_, static_cast<UINT>(i), MF_BYPOSITION);
  for (TMenuItem* item : ShownItems())
    if (item->visible_) item->InsertInto(handle_, at++);
}

// Groups in ascending order: of each group the merged menu's items when it has any, else this
// item's own.
std::vector<TMenuItem*> TMenuItem::ShownItems() const {
  if (!merged_) return items_;
  const std::vector<TMenuItem*>& merged = merged_->items_;
  std::vector<TMenuItem*> shown;
  size_t i = 0, j = 0;
  while (i < merged.size() || j < items_.size()) {
    const int mergedGroup = i < merged.size() ? merged[i]->group_index_ : 256;
    const int ownGroup = j < items_.size() ? items_[j]->group_index_ : 256;
    const int group = std::min(mergedGroup, ownGroup);
    if (mergedGroup <= ownGroup) {
      while (i < merged.size() && merged[i]->group_index_ <= group) shown.push_back(merged[i++]);
    } else {
      while (j < items_.size() && items_[j]->group_index_ <= group) shown.push_back(items_[j++]);
    }
    while (i < merged.size() && merged[i]->group_index_ <= group) ++i;
    while (j < items_.size() && items_[j]->group_index_ <= group) ++j;
  }
  return shown;
}

void TMenuItem::MergeWith(TMenuItem* Menu) {
  if (merged_ == Menu || Menu == this) return;
  if (merged_) merged_->merged_with_ = nullptr;
  merged_ = Menu;
  if (merged_) {
    // A menu is shown merged in one place at a time.
    if (merged_->merged_with_) merged_->merged_with_->MergeWith(nullptr);
    merged_->merged_with_ = this;
  }
  RebuildHandle();
  NotifyMenus(true);
}

// Every system menu of this item and its sub-items, made again (a new way of drawing).
void TMenuItem::RebuildAll() {
  for (TMenuItem* item : items_) item->RebuildAll();
  RebuildHandle();
}

void TMenuItem::InsertInto(HMENU Menu, int Position) {
  const bool topLevel = IsTopLevel();
  String text = caption_;
  if (short_cut_ != 0 && !topLevel) {
    const String keys = ShortCutToText(short_cut_);
    if (!keys.empty()) text += L'\t' + keys;
  }
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
  if (IsLine()) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fMask |= MIIM_STRING;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
  }
  if (break_ == mbBreak) info.fType |= MFT_MENUBREAK;
  if (break_ == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
  if (radio_item_) info.fType |= MFT_RADIOCHECK;
  if (IsOwnerDraw()) info.fType |= MFT_OWNERDRAW;
  if (checked_) info.fState |= MFS_CHECKED;
  if (!enabled_) info.fState |= MFS_GRAYED;
  if (default_) info.fState |= MFS_DEFAULT;
  info.wID = command_;
  info.hSubMenu = items_.empty() ? nullptr : Handle();
  if (!InsertMenuItemW(Menu, static_cast<UINT>(Position), TRUE, &info))
    throw EMenuError(L"Cannot add the menu item " + caption_);
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (ComponentState().Contains(csDestroying)) return;
  if (parent_) parent_->RebuildHandle();
  NotifyMenus(Rebuild);
}

void TMenuItem::NotifyMenus(bool Rebuild) {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  if (TMenu* menu = root->menu_; menu && !menu->ComponentState().Contains(csDestroying))
    menu->MenuChanged(menu, this, Rebuild);
  // The menu whose bar shows these items merged.
  if (const TMenuItem* host = root->merged_with_)
    if (TMenu* menu = host->menu_; menu && !menu->ComponentState().Contains(csDestroying))
      menu->MenuChanged(menu, this, Rebuild);
}

// ---------------------------------------------------------------------------------------
// Clicks

void TMenuItem::Click() {
  if (!enabled_) return;
  if (OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------------------
// Owner drawing

int TMenuItem::GlyphColumnWidth() const {
  int width = 16;
  if (const TCustomImageList* images = GetImageList()) width = std::max(width, images->Width());
  if (bitmap_ && !bitmap_->Empty()) width = std::max(width, bitmap_->Width());
  return width;
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  const bool topLevel = IsTopLevel();
  TFontStyles style = ACanvas->Font()->Style();
  if (default_) ACanvas->Font()->SetStyle(style + TFontStyles{fsBold});
  // An empty caption (or a lone "&") still measures one line high.
  String text = caption_;
  if (text.empty() || text == L"&") text += L' ';
  RECT r{0, 0, 0, 0};
  DrawTextW(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | DT_EXPANDTABS);
  int textWidth = r.right - r.left;
  const int textHeight = r.bottom - r.top;
  if (IsLine()) {
    Width = 0;
    Height = 9;
  } else if (topLevel) {
    Width = textWidth + 6;
    Height = std::max(textHeight, GetSystemMetrics(SM_CYMENU));
  } else {
    if (short_cut_ != 0) {
      const String keys = ShortCutToText(short_cut_);
      if (!keys.empty()) textWidth += 16 + ACanvas->TextWidth(keys);
    }
    int glyphHeight = 16;
    if (const TCustomImageList* images = GetImageList()) glyphHeight = std::max(glyphHeight, images->Height());
    if (HasBitmap()) glyphHeight = std::max(glyphHeight, bitmap_->Height());
    Width = GlyphColumnWidth() + 8 + textWidth + 8;
    Height = std::max(textHeight, glyphHeight) + 4;
  }
  ACanvas->Font()->SetStyle(style);
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) {
  if (OnAdvancedDrawItem)
    OnAdvancedDrawItem(this, ACanvas, ARect, State);
  else if (OnDrawItem)
    OnDrawItem(this, ACanvas, ARect, State.Contains(odSelected));
  else
    DrawDefault(ACanvas, ARect, State, TopLevel);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected) {
  TOwnerDrawState state;
  if (Selected) state.Include(odSelected);
  if (OnDrawItem)
    OnDrawItem(this, ACanvas, ARect, Selected);
  else
    DrawDefault(ACanvas, ARect, state, IsTopLevel());
}

// The library's own look: the menu colour (the highlight colour when selected), the glyph
// column with the bitmap, the image or the check mark, the caption with its accelerator and
// the shortcut at the right; a separator is an etched line.
void TMenuItem::DrawDefault(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) {
  const bool selected = State.Contains(odSelected) || (TopLevel && State.Contains(odHotLight));
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(selected && !IsLine() ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  if (IsLine()) {
    RECT line = ARect;
    line.top += ARect.Height() / 2 - 1;
    DrawEdge(ACanvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TColor textColor = selected ? clHighlightText : clMenuText;
  if (!enabled_) textColor = clGrayText;
  ACanvas->Font()->SetColor(textColor);
  const TFontStyles style = ACanvas->Font()->Style();
  if (default_) ACanvas->Font()->SetStyle(style + TFontStyles{fsBold});

  TRect text = ARect;
  if (!TopLevel) {
    const int column = GlyphColumnWidth();
    const TRect cell{ARect.Left + 2, ARect.Top, ARect.Left + 2 + column, ARect.Bottom};
    TCustomImageList* images = GetImageList();
    if (HasBitmap()) {
      ACanvas->Draw(cell.Left, cell.Top + (cell.Height() - bitmap_->Height()) / 2, bitmap_.get());
    } else if (images && image_index_ >= 0 && image_index_ < images->Count()) {
      images->Draw(ACanvas, cell.Left, cell.Top + (cell.Height() - images->Height()) / 2, image_index_, enabled_);
    } else if (checked_) {
      DrawCheck(ACanvas, cell);
    }
    text.Left = cell.Right + 6;
    text.Right -= 4;
  }
  ACanvas->Brush()->SetStyle(bsClear);
  HDC dc = ACanvas->Handle();
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | (TopLevel ? DT_CENTER : DT_LEFT);
  if (State.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
  RECT r = text;
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, flags);
  if (!TopLevel && short_cut_ != 0) {
    const String keys = ShortCutToText(short_cut_);
    RECT k = text;
    k.right -= 6;
    DrawTextW(dc, keys.c_str(), static_cast<int>(keys.size()), &k, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  ACanvas->Font()->SetStyle(style);
  ACanvas->Brush()->SetStyle(bsSolid);
}

// A check mark (a dot for a radio item) in the text colour, centred in the glyph cell.
void TMenuItem::DrawCheck(TCanvas* ACanvas, const TRect& Cell) {
  const int cx = Cell.Left + Cell.Width() / 2;
  const int cy = Cell.Top + Cell.Height() / 2;
  const TColor color = ACanvas->Font()->Color();
  ACanvas->Pen()->SetColor(color);
  ACanvas->Brush()->SetColor(color);
  if (radio_item_) {
    ACanvas->Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
    return;
  }
  for (int i = 0; i < 2; ++i) {
    const TPoint mark[] = {{cx - 4, cy - 1 + i}, {cx - 1, cy + 2 + i}, {cx + 5, cy - 4 + i}};
    ACanvas->Polyline(mark);
  }
}

void DrawMenuItem(TMenuItem* MenuItem, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
  if (!MenuItem) return;
  const TMenu* menu = dynamic_cast<const TMenu*>(MenuItem->GetParentComponent());
  MenuItem->AdvancedDrawItem(ACanvas, ARect, State, menu && dynamic_cast<const TMainMenu*>(menu));
}

// ---------------------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
  items_ = new TMenuItem(this);
  items_->menu_ = this;
}

TMenu::~TMenu() {
  Destroying();
  // The items go while the menu is still whole (they look it up as they leave).
  TMenuItem* items = std::exchange(items_, nullptr);
  if (items) {
    items->menu_ = nullptr;
    TObject::Free(items);
  }
}

void TMenu::SetOwnerDraw(bool Value) {
  if (owner_draw_ == Value) return;
  owner_draw_ = Value;
  UpdateItems();
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (images_ == Value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = Value;
  if (images_) images_->FreeNotification(this);
  UpdateItems();
}

void TMenu::UpdateItems() {
  if (!items_ || ComponentState().Contains(csDestroying)) return;
  items_->RebuildAll();
  MenuChanged(this, nullptr, true);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) {
    images_ = nullptr;
    UpdateItems();
  }
}

void TMenu::Loaded() {
  TComponent::Loaded();
  UpdateItems();
}

void TMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (OnChange && !ComponentState().Contains(csLoading)) OnChange(Sender, Source, Rebuild);
}

namespace {
TMenuItem* FindIn(TMenuItem* Item, UINT_PTR Value, TFindItemKind Kind) {
  for (int i = 0; i < Item->Count(); ++i) {
    TMenuItem* item = Item->Items(i);
    switch (Kind) {
      case fkCommand:
        if (item->Command() == Value) return item;
        break;
      case fkHandle:
        if (item->HandleAllocated() && reinterpret_cast<UINT_PTR>(item->Handle()) == Value) return item;
        break;
      case fkShortCut:
        if (item->ShortCut() != 0 && item->ShortCut() == Value) return item;
        break;
    }
    if (TMenuItem* found = FindIn(item, Value, Kind)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const {
  if (!items_) return nullptr;
  TMenuItem* found = FindIn(items_, Value, Kind);
  // Merged items are this menu's while it shows them.
  if (!found && items_->Merged()) found = FindIn(items_->Merged(), Value, Kind);
  return found;
}

bool TMenu::DispatchCommand(WORD ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU AMenu) {
  if (!AMenu) return false;
  TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(AMenu), fkHandle);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(const TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN && Message.Msg != WM_SYSKEYDOWN) return false;
  const TShortCut keys = ShortCut(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam));
  if (keys == 0) return false;
  TMenuItem* item = FindItem(keys, fkShortCut);
  if (!item) return false;
  for (const TMenuItem* p = item; p; p = p->Parent())
    if (!p->Enabled()) return false;
  item->Click();
  return true;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (items_) items_->GetChildren(Proc, Root);
}

// ---------------------------------------------------------------------------------------
// TMainMenu

TMainMenu::~TMainMenu() {
  // Forms let go of the menu bar before it is destroyed.
  if (!Screen) return;
  for (int i = Screen->CustomFormCount() - 1; i >= 0; --i)
    if (TCustomForm* form = Screen->CustomForms(i); form->Menu() == this) form->SetMenu(nullptr);
}

void TMainMenu::SetAutoMerge(bool Value) {
  if (auto_merge_ == Value) return;
  auto_merge_ = Value;
  if (WindowHandle() && IsWindow(WindowHandle())) SendMessageW(WindowHandle(), CM_MENUCHANGED, 0, 0);
}

void TMainMenu::Merge(TMainMenu* Menu) { Items()->MergeWith(Menu ? Menu->Items() : nullptr); }

void TMainMenu::Unmerge(TMainMenu* Menu) {
  if (Menu && Items()->Merged() == Menu->Items()) Items()->MergeWith(nullptr);
}

void TMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (Items() && Items()->HandleAllocated() && WindowHandle() && IsWindow(WindowHandle()))
    SendMessageW(WindowHandle(), CM_MENUCHANGED, 0, 0);
  TMenu::MenuChanged(Sender, Source, Rebuild);
}

// ---------------------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupList().Add(this); }

TPopupMenu::~TPopupMenu() { PopupList().Remove(this); }

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (popup_component_ == Value) return;
  if (popup_component_) popup_component_->RemoveFreeNotification(this);
  popup_component_ = Value;
  if (popup_component_) popup_component_->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popup_component_) popup_component_ = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
  popup_point_ = {X, Y};
  DoPopup(this);
  static constexpr UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  UINT flags = kAlign[static_cast<int>(alignment_)];
  flags |= track_button_ == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON;
  if (menu_animation_.Contains(maLeftToRight)) flags |= TPM_HORPOSANIMATION;
  if (menu_animation_.Contains(maRightToLeft)) flags |= TPM_HORNEGANIMATION;
  if (menu_animation_.Contains(maTopToBottom)) flags |= TPM_VERPOSANIMATION;
  if (menu_animation_.Contains(maBottomToTop)) flags |= TPM_VERNEGANIMATION;
  if (menu_animation_.Contains(maNone)) flags |= TPM_NOANIMATION;
  TrackPopup(Items()->Handle(), flags, X, Y, PopupList().Window());
}

// ---------------------------------------------------------------------------------------
// TPopupList

TPopupList& PopupList() {
  static TPopupList list;
  return list;
}

HWND TPopupList::Window() {
  if (!window_) window_ = AllocateHWnd(TWndMethod::Bind<&TPopupList::WndProc>(this));
  return window_;
}

void TPopupList::ReleaseWindow() {
  if (window_) DeallocateHWnd(std::exchange(window_, nullptr));
}

TPopupMenu* TPopupList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return menus_[static_cast<size_t>(Index)];
}

void TPopupList::Add(TPopupMenu* Menu) {
  if (Menu && std::find(menus_.begin(), menus_.end(), Menu) == menus_.end()) menus_.push_back(Menu);
}

void TPopupList::Remove(TPopupMenu* Menu) { std::erase(menus_, Menu); }

TMenuItem* TPopupList::FindItem(UINT_PTR Value, TFindItemKind Kind) const {
  for (TPopupMenu* menu : menus_)
    if (TMenuItem* item = menu->FindItem(Value, Kind)) return item;
  return nullptr;
}

// Exceptions of the items' handlers go from the utility window to the exception display.
void TPopupList::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND:
      if (Message.LParam == 0 && HIWORD(Message.WParam) == 0)
        for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_))
          if (menu->DispatchCommand(LOWORD(Message.WParam))) return;
      break;
    case WM_INITMENUPOPUP:
      for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_))
        if (menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
      break;
    case WM_MEASUREITEM:
      if (auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam); mis && mis->CtlType == ODT_MENU &&
          MeasureMenuItem(FindItem(mis->itemID, fkCommand), window_, *mis)) {
        Message.Result = TRUE;
        return;
      }
      break;
    case WM_DRAWITEM:
      if (auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
          dis && dis->CtlType == ODT_MENU && DrawMenuItemStruct(FindItem(dis->itemID, fkCommand), *dis)) {
        Message.Result = TRUE;
        return;
      }
      break;
    default:
      break;
  }
  Message.Result = DefWindowProcW(window_, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------------------
// Shortcuts and accelerators

namespace {

// Names of the keys that have one in menus.
String KeyName(WORD Key) {
  static const wchar_t* const kSpaceToDown[] = {L"Space", L"PgUp", L"PgDn", L"End", L"Home",
                                                L"Left",  L"Up",   L"Right", L"Down"};
  if (Key == VK_BACK) return L"BkSp";
  if (Key == VK_TAB) return L"Tab";
  if (Key == VK_RETURN) return L"Enter";
  if (Key == VK_ESCAPE) return L"Esc";
  if (Key >= VK_SPACE && Key <= VK_DOWN) return kSpaceToDown[Key - VK_SPACE];
  if (Key == VK_INSERT) return L"Ins";
  if (Key == VK_DELETE) return L"Del";
  if (Key >= '0' && Key <= '9') return String(1, static_cast<wchar_t>(Key));
  if (Key >= 'A' && Key <= 'Z') return String(1, static_cast<wchar_t>(Key));
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return String(1, static_cast<wchar_t>(L'0' + Key - VK_NUMPAD0));
  if (Key >= VK_F1 && Key <= VK_F24) return L"F" + std::to_wstring(Key - VK_F1 + 1);
  // Others by the keyboard's own name for the key.
  const UINT scan = MapVirtualKeyW(Key, MAPVK_VK_TO_VSC);
  if (scan == 0) return {};
  wchar_t name[64] = {};
  const int n = GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64);
  return n > 0 ? String(name, static_cast<size_t>(n)) : String();
}

// Removes Front from the start of Text when it is there (without regard to case).
bool TakeFront(StringView& Text, StringView Front) {
  if (Text.size() < Front.size() || !SameText(Text.substr(0, Front.size()), Front)) return false;
  Text.remove_prefix(Front.size());
  return true;
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key > 0xFF) return 0;
  TShortCut result = Key;
  if (Shift.Contains(ssShift)) result |= scShift;
  if (Shift.Contains(ssCtrl)) result |= scCtrl;
  if (Shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = {};
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut ShortCut) {
  const String name = KeyName(ShortCut & 0xFF);
  if (name.empty()) return {};
  String result;
  if (ShortCut & scShift) result += L"Shift+";
  if (ShortCut & scCtrl) result += L"Ctrl+";
  if (ShortCut & scAlt) result += L"Alt+";
  return result + name;
}

TShortCut TextToShortCut(StringView Text) {
  TShortCut shift = 0;
  for (;;) {
    if (TakeFront(Text, L"Shift+"))
      shift |= scShift;
    else if (TakeFront(Text, L"^") || TakeFront(Text, L"Ctrl+"))
      shift |= scCtrl;
    else if (TakeFront(Text, L"Alt+"))
      shift |= scAlt;
    else
      break;
  }
  if (Text.empty()) return 0;
  for (WORD key = 0x08; key <= 0xFF; ++key)
    if (const String name = KeyName(key); !name.empty() && SameText(name, Text)) return key | shift;
  return 0;
}

String GetHotkey(StringView Text) {
  String result;
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != L'&') continue;
    ++i;
    if (Text[i] != L'&') result.assign(1, Text[i]);
  }
  return result;
}

String StripHotkey(StringView Text) {
  String result;
  result.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == L'&' && i + 1 < Text.size()) ++i;
    else if (Text[i] == L'&') continue;
    result += Text[i];
  }
  return result;
}

bool IsAccel(WORD VK, StringView Str) {
  const String key = GetHotkey(Str);
  return !key.empty() && SameText(String(1, static_cast<wchar_t>(VK)), key);
}

// ---------------------------------------------------------------------------------------
// Unit start-up: forms and controls reach the menus through these hooks.

namespace {

void InitMenus() {
  TMenuHooks& hooks = LayerHooks().Menus;
  hooks.MenuHandle = &MainMenuHandle;
  hooks.DispatchCommand = &MenuDispatchCommand;
  hooks.DispatchPopup = &MenuDispatchPopup;
  hooks.IsShortCut = &MenuIsShortCut;
  hooks.MeasureItem = &MenuMeasureItem;
  hooks.DrawItem = &MenuDrawItem;
  hooks.PopupControlMenu = &PopupControlMenu;
  TMenuItem::StaticClass();
  TMainMenu::StaticClass();
  TPopupMenu::StaticClass();
}

void DoneMenus() {
  LayerHooks().Menus = TMenuHooks{};
  PopupList().ReleaseWindow();
}

VCL_UNIT_LINKED(Menus);
const TUnitRegistration kMenusUnit{TUnitGroup::ClassLibrary, 30, L"Menus", &InitMenus, &DoneMenus};

}  // namespace

}  // namespace vcl
