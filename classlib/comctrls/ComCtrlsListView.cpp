// TCustomListView: the window (a superclass of SysListView32), filling it from the columns
// and items, the window's notifications and the view options.
#include <algorithm>

#include "classlib/comctrls/ComCtrls.h"

#include <commctrl.h>

#include "classlib/comctrls/ComCtrlsInternal.h"

namespace vcl {

using detail::Nesting;

VCL_CLASS_INFO(TCustomListView) {}

VCL_CLASS_INFO(TListView) {
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  p.Enum<&TCustomListView::BorderStyle, &TCustomListView::SetBorderStyle>(
      L"BorderStyle", static_cast<int64_t>(TBorderStyle::bsSingle));
  publish::Color(p, clWindow);
  p.Object<&TCustomListView::Columns, &TCustomListView::SetColumns>(L"Columns", TListColumns::StaticClass());
  p.Bool<&TCustomListView::ColumnClick, &TCustomListView::SetColumnClick>(L"ColumnClick", true);
  publish::Enabled(p);
  publish::Font(p);
  p.Bool<&TCustomListView::GridLines, &TCustomListView::SetGridLines>(L"GridLines", false);
  p.Bool<&TCustomListView::HideSelection, &TCustomListView::SetHideSelection>(L"HideSelection", true);
  publish::Hints(p);
  p.Object<&TCustomListView::Items, &TCustomListView::SetItems>(L"Items", TListItems::StaticClass());
  p.Bool<&TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect>(L"MultiSelect", false);
  publish::ParentColor(p, false);
  publish::PopupMenu(p);
  p.Bool<&TCustomListView::ReadOnly, &TCustomListView::SetReadOnly>(L"ReadOnly", false);
  p.Bool<&TCustomListView::RowSelect, &TCustomListView::SetRowSelect>(L"RowSelect", false);
  p.Object<&TCustomListView::SmallImages, &TCustomListView::SetSmallImages>(L"SmallImages",
                                                                            TCustomImageList::StaticClass());
  publish::TabOrder(p);
  publish::TabStop(p, true);
  p.Enum<&TCustomListView::ViewStyle, &TCustomListView::SetViewStyle>(L"ViewStyle", static_cast<int64_t>(vsIcon));
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
  publish::OnResize(p);
  p.Event<&TCustomListView::OnSelectItem>(L"OnSelectItem");
  p.Event<&TCustomListView::OnCustomDraw>(L"OnCustomDraw");
  p.Event<&TCustomListView::OnCustomDrawItem>(L"OnCustomDrawItem");
  p.Event<&TCustomListView::OnCustomDrawSubItem>(L"OnCustomDrawSubItem");
}

namespace {

int ColumnFormat(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return LVCFMT_RIGHT;
    case taCenter: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
  }
}

DWORD ViewStyleBits(TViewStyle Style) {
  switch (Style) {
    case vsSmallIcon: return LVS_SMALLICON;
    case vsList: return LVS_LIST;
    case vsReport: return LVS_REPORT;
    default: return LVS_ICON;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Construction

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)),
      canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
  // The window tracks the mouse itself; clicks come from its notifications.
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 250, 150);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
}

TCustomListView::~TCustomListView() = default;

// ---------------------------------------------------------------------------------------
// The window

void TCustomListView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_LISTVIEWW);
  // The image lists belong to their components, not to the window.
  Params.Style |= WS_CLIPCHILDREN | LVS_SHAREIMAGELISTS | ViewStyleBits(view_style_);
  if (!multi_select_) Params.Style |= LVS_SINGLESEL;
  if (!hide_selection_) Params.Style |= LVS_SHOWSELALWAYS;
  if (!read_only_) Params.Style |= LVS_EDITLABELS;
  if (!column_click_) Params.Style |= LVS_NOSORTHEADER;
  if (border_style_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
  window_columns_ = 0;
  TWinControl::CreateWnd();
  Nesting quiet(quiet_);
  ApplyExtendedStyle();
  ApplyColors();
  if (small_images_) Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small_images_->Handle()));
  for (int i = 0; i < columns_->Count(); ++i) WindowSetColumn(i, true);
  Send(WM_SETREDRAW, FALSE);
  try {
    for (int i = 0; i < items_->Count(); ++i) WindowInsertItem(i, items_->Item(i));
  } catch (...) {
    Send(WM_SETREDRAW, TRUE);
    throw;
  }
  if (items_->update_count_ == 0) Send(WM_SETREDRAW, TRUE);
  ResizeAutoSizeColumns();
}

// What only the window knows is kept for the next one.
void TCustomListView::SaveWindowState() {
  if (!HasWindow()) return;
  for (int i = 0; i < items_->Count(); ++i) {
    const auto state = static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED | LVIS_FOCUSED));
    TListItem* item = items_->Item(i);
    item->selected_ = (state & LVIS_SELECTED) != 0;
    item->focused_ = (state & LVIS_FOCUSED) != 0;
  }
  for (int i = 0; i < columns_->Count(); ++i) {
    TListColumn* column = columns_->Items(i);
    if (!column->AutoSize()) column->width_ = column->Width();
  }
}

void TCustomListView::ApplyExtendedStyle() {
  if (!HasWindow()) return;
  const DWORD mask = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  DWORD style = 0;
  if (grid_lines_) style |= LVS_EX_GRIDLINES;
  if (row_select_) style |= LVS_EX_FULLROWSELECT;
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

void TCustomListView::ApplyColors() {
  if (!HasWindow()) return;
  const auto back = static_cast<COLORREF>(ColorToRGB(Color()));
  Send(LVM_SETBKCOLOR, 0, back);
  Send(LVM_SETTEXTBKCOLOR, 0, back);
  Send(LVM_SETTEXTCOLOR, 0, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
}

void TCustomListView::WindowSetColumn(int Index, bool Insert) {
  TListColumn* column = columns_->Items(Index);
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  info.fmt = ColumnFormat(column->Alignment());
  info.cx = column->width_;
  info.pszText = const_cast<wchar_t*>(column->Caption().c_str());
  if (Insert) {
    if (Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&info)) >= 0)
      ++window_columns_;
  } else {
    Send(LVM_SETCOLUMNW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&info));
  }
}

// The window's columns again from the list, and the texts of the columns that came or went.
void TCustomListView::SyncColumns() {
  if (!HasWindow()) return;
  const int count = columns_->Count();
  while (window_columns_ > count) {
    if (!Send(LVM_DELETECOLUMN, static_cast<WPARAM>(window_columns_ - 1))) break;
    --window_columns_;
  }
  for (int i = 0; i < window_columns_ && i < count; ++i) WindowSetColumn(i, false);
  for (int i = window_columns_; i < count; ++i) WindowSetColumn(i, true);
  for (int i = 0; i < items_->Count(); ++i) WindowSetTexts(i, items_->Item(i));
  ResizeAutoSizeColumns();
}

// AutoSize columns share the width the others leave, each keeping at least its own width.
void TCustomListView::ResizeAutoSizeColumns() {
  if (!HasWindow() || view_style_ != vsReport) return;
  int fixed = 0;
  int autos = 0;
  for (int i = 0; i < columns_->Count() && i < window_columns_; ++i) {
    TListColumn* column = columns_->Items(i);
    if (column->AutoSize())
      ++autos;
    else
      fixed += column->Width();
  }
  if (autos == 0) return;
  const int share = std::max(ClientWidth() - fixed, 0) / autos;
  for (int i = 0; i < columns_->Count() && i < window_columns_; ++i) {
    TListColumn* column = columns_->Items(i);
    if (column->AutoSize())
      Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(std::max(share, column->width_), 0));
  }
}

void TCustomListView::WindowInsertItem(int Index, const TListItem* Item) {
  LVITEMW info{};
  info.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  info.iItem = Index;
  info.pszText = const_cast<wchar_t*>(Item->Caption().c_str());
  info.lParam = reinterpret_cast<LPARAM>(Item);
  info.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  info.state = (Item->selected_ ? LVIS_SELECTED : 0) | (Item->focused_ ? LVIS_FOCUSED : 0);
  if (Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&info)) < 0)
    throw EOutOfResources(L"Unable to insert an item");
  WindowSetTexts(Index, Item);
}

void TCustomListView::WindowSetTexts(int Index, const TListItem* Item) {
  if (Index < 0) return;
  const TStrings* sub = Item->SubItems();
  for (int column = 1; column < window_columns_; ++column) {
    const String text = column - 1 < sub->Count() ? sub->Strings(column - 1) : String();
    LVITEMW info{};
    info.iSubItem = column;
    info.pszText = const_cast<wchar_t*>(text.c_str());
    Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&info));
  }
}

int TCustomListView::WindowColumnCount() const { return HasWindow() ? window_columns_ : 0; }

// ---------------------------------------------------------------------------------------
// Selection

TListItem* TCustomListView::Selected() const {
  if (HasWindow()) {
    const auto index = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr;
  }
  for (TListItem* item : items_->items_)
    if (item->selected_) return item;
  return nullptr;
}

void TCustomListView::SetSelected(TListItem* Value) {
  if (!Value) {
    ClearSelection();
    return;
  }
  if (Value->ListView() != this) return;
  if (multi_select_) ClearSelection();
  Value->SetSelected(true);
}

int TCustomListView::ItemIndex() const {
  TListItem* item = Selected();
  return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int Value) {
  if (Value == -1)
    ClearSelection();
  else
    SetSelected(items_->Item(Value));
}

int TCustomListView::SelCount() const {
  if (HasWindow()) return static_cast<int>(Send(LVM_GETSELECTEDCOUNT));
  return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                        [](const TListItem* i) { return i->selected_; }));
}

void TCustomListView::ClearSelection() {
  for (TListItem* item : std::vector<TListItem*>(items_->items_))
    if (item->Selected()) item->SetSelected(false);
}

TListItem* TCustomListView::ItemFocused() const {
  if (HasWindow()) {
    const auto index = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr;
  }
  for (TListItem* item : items_->items_)
    if (item->focused_) return item;
  return nullptr;
}

void TCustomListView::SetItemFocused(TListItem* Value) {
  if (Value && Value->ListView() == this)
    Value->SetFocused(true);
  else if (TListItem* current = ItemFocused())
    current->SetFocused(false);
}

// ---------------------------------------------------------------------------------------
// Options

void TCustomListView::SetViewStyle(TViewStyle Value) {
  if (view_style_ == Value) return;
  view_style_ = Value;
  RecreateWnd();
}

void TCustomListView::SetGridLines(bool Value) {
  if (grid_lines_ == Value) return;
  grid_lines_ = Value;
  ApplyExtendedStyle();
}

void TCustomListView::SetRowSelect(bool Value) {
  if (row_select_ == Value) return;
  row_select_ = Value;
  ApplyExtendedStyle();
}

void TCustomListView::SetReadOnly(bool Value) {
  if (read_only_ == Value) return;
  read_only_ = Value;
  RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool Value) {
  if (multi_select_ == Value) return;
  multi_select_ = Value;
  // One selected item stays when several may no longer be.
  if (!Value && !HasWindow()) {
    bool seen = false;
    for (TListItem* item : items_->items_) {
      if (item->selected_ && seen) item->selected_ = false;
      seen = seen || item->selected_;
    }
  }
  RecreateWnd();
}

void TCustomListView::SetHideSelection(bool Value) {
  if (hide_selection_ == Value) return;
  hide_selection_ = Value;
  RecreateWnd();
}

void TCustomListView::SetColumnClick(bool Value) {
  if (column_click_ == Value) return;
  column_click_ = Value;
  RecreateWnd();
}

void TCustomListView::SetBorderStyle(TBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
  if (small_images_ == Value) return;
  if (small_images_) small_images_->RemoveFreeNotification(this);
  small_images_ = Value;
  if (Value) Value->FreeNotification(this);
  if (HasWindow())
    Send(LVM_SETIMAGELIST, LVSIL_SMALL, Value ? reinterpret_cast<LPARAM>(Value->Handle()) : 0);
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == small_images_) {
    small_images_ = nullptr;
    if (HasWindow()) Send(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  }
}

// ---------------------------------------------------------------------------------------
// Messages

void TCustomListView::DoSelectItem(TListItem* Item, bool Selected) {
  if (OnSelectItem) OnSelectItem(this, Item, Selected);
}

TListItem* TCustomListView::ItemOfNotify(int Index, LPARAM Param) const {
  const auto& list = items_->items_;
  const bool inRange = Index >= 0 && Index < static_cast<int>(list.size());
  if (Param == 0) return inRange ? list[static_cast<size_t>(Index)] : nullptr;
  // The row's own pointer, checked against the list: it may name an item already gone.
  auto* item = reinterpret_cast<TListItem*>(Param);
  if (inRange && list[static_cast<size_t>(Index)] == item) return item;
  return std::find(list.begin(), list.end(), item) != list.end() ? item : nullptr;
}

void TCustomListView::HandleItemChanged(const NMLISTVIEW& Info) {
  if (quiet_ || !(Info.uChanged & LVIF_STATE)) return;
  if (!((Info.uOldState ^ Info.uNewState) & LVIS_SELECTED)) return;
  if (TListItem* item = ItemOfNotify(Info.iItem, Info.lParam)) DoSelectItem(item, (Info.uNewState & LVIS_SELECTED) != 0);
}

// The events are asked only at the stages they need: the control before it paints, each item
// when an item event is set, each sub-item when a sub-item event is set.
void TCustomListView::HandleCustomDraw(TMessage& Message, NMLVCUSTOMDRAW& Draw) {
  NMCUSTOMDRAW& nm = Draw.nmcd;
  LRESULT result = CDRF_DODEFAULT;
  bool defaultDraw = true;
  bool itemDrawn = false;
  if (CustomDrawStageOf(nm.dwDrawStage) == cdPrePaint) {
    const TCanvasDCLoan loan(*canvas_, nm.hdc);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    if (!(nm.dwDrawStage & CDDS_ITEM)) {
      if (OnCustomDraw) OnCustomDraw(this, TRect(nm.rc), defaultDraw);
      if (OnCustomDrawItem || OnCustomDrawSubItem) result |= CDRF_NOTIFYITEMDRAW;
    } else if (TListItem* item = ItemOfNotify(static_cast<int>(nm.dwItemSpec), nm.lItemlParam)) {
      const TCustomDrawState state = TCustomDrawState::FromInt(LOWORD(nm.uItemState));
      if (nm.dwDrawStage & CDDS_SUBITEM) {
        if (OnCustomDrawSubItem) OnCustomDrawSubItem(this, item, Draw.iSubItem, state, defaultDraw);
      } else {
        if (OnCustomDrawItem) OnCustomDrawItem(this, item, state, defaultDraw);
        if (OnCustomDrawSubItem) result |= CDRF_NOTIFYSUBITEMDRAW;
      }
      itemDrawn = true;
    }
  }
  if (!defaultDraw) {
    result |= CDRF_SKIPDEFAULT;
  } else if (itemDrawn) {
    // The font and colours the events chose are the system's to draw the item with (selected
    // once the canvas has let go of the DC).
    Draw.clrText = static_cast<COLORREF>(ColorToRGB(canvas_->Font()->Color()));
    Draw.clrTextBk = static_cast<COLORREF>(ColorToRGB(canvas_->Brush()->Color()));
    SelectObject(nm.hdc, canvas_->Font()->Handle());
    result |= CDRF_NEWFONT;
  }
  Message.Result = result;
}

void TCustomListView::HandleNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HasWindow() || header->hwndFrom != Handle()) {
    TWinControl::Dispatch(Message);
    return;
  }
  switch (header->code) {
    case NM_CUSTOMDRAW:
      HandleCustomDraw(Message, *reinterpret_cast<NMLVCUSTOMDRAW*>(Message.LParam));
      break;
    case LVN_ITEMCHANGED:
      HandleItemChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
      break;
    case NM_CLICK:
      tracked_click_.Clicked();
      break;
    case LVN_BEGINLABELEDITW:
      Message.Result = read_only_ ? TRUE : FALSE;
      break;
    case LVN_ENDLABELEDITW: {
      const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(header);
      TListItem* item = ItemOfNotify(info->item.iItem, 0);
      if (info->item.pszText && item && !read_only_) {
        item->caption_ = info->item.pszText;  // the window keeps the text it edited
        Message.Result = TRUE;
      }
      break;
    }
    default:
      break;
  }
}

void TCustomListView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY:
      HandleNotify(Message);
      return;
    case WM_LBUTTONDOWN:
      if (tracked_click_.Press([&] { TWinControl::Dispatch(Message); }) && HasWindow())
        Perform(WM_LBUTTONUP, 0, Message.LParam);
      return;
    case WM_ERASEBKGND:
      // The window fills with its own background colour.
      DefaultHandler(Message);
      return;
    case WM_SIZE:
      TWinControl::Dispatch(Message);
      ResizeAutoSizeColumns();
      return;
    case WM_DESTROY:
    case WM_NCDESTROY: {
      // Also when the window goes with its parent's; what it reports while it empties itself
      // is not the user's doing.
      if (Message.Msg == WM_DESTROY && !ComponentState().Contains(csDestroying)) SaveWindowState();
      Nesting quiet(quiet_);
      TWinControl::Dispatch(Message);
      return;
    }
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      TWinControl::Dispatch(Message);
      ApplyColors();
      return;
    default:
      TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
