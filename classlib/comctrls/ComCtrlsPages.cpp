// Tab controls (a superclass of SysTabControl32), tab sheets and page controls.
#include <algorithm>

#include "classlib/comctrls/ComCtrls.h"

#include <commctrl.h>

#include "classlib/comctrls/ComCtrlsInternal.h"

namespace vcl {

VCL_CLASS_INFO(TCustomTabControl) {}

VCL_CLASS_INFO(TTabSheet) {
  publish::Caption(p);
  publish::Enabled(p);
  publish::Font(p);
  publish::Hints(p);
  p.Integer<&TTabSheet::ImageIndex, &TTabSheet::SetImageIndex>(L"ImageIndex", -1);
  // Where the page control puts it: read, never stored.
  auto never = [](const TObject*) { return false; };
  p.Integer<&TControl::Left, &TControl::SetLeft>(L"Left").Stored = never;
  p.Integer<&TControl::Top, &TControl::SetTop>(L"Top").Stored = never;
  p.Integer<&TControl::Width, &TControl::SetWidth>(L"Width").Stored = never;
  p.Integer<&TControl::Height, &TControl::SetHeight>(L"Height").Stored = never;
  p.Integer<&TTabSheet::PageIndex, &TTabSheet::SetPageIndex>(L"PageIndex").Stored = never;
  publish::PopupMenu(p);
  p.Bool<&TTabSheet::TabVisible, &TTabSheet::SetTabVisible>(L"TabVisible", true);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
  publish::OnResize(p);
  p.Event<&TTabSheet::OnHide>(L"OnHide");
  p.Event<&TTabSheet::OnShow>(L"OnShow");
}

VCL_CLASS_INFO(TPageControl) {
  p.Object<&TPageControl::ActivePage, &TPageControl::SetActivePage>(L"ActivePage", TTabSheet::StaticClass());
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  publish::Enabled(p);
  publish::Font(p);
  publish::Hints(p);
  p.Object<&TCustomTabControl::Images, &TCustomTabControl::SetImages>(L"Images", TCustomImageList::StaticClass());
  p.Bool<&TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine>(L"MultiLine", false);
  p.Bool<&TCustomTabControl::OwnerDraw, &TCustomTabControl::SetOwnerDraw>(L"OwnerDraw", false);
  publish::PopupMenu(p);
  p.Enum<&TCustomTabControl::Style, &TCustomTabControl::SetStyle>(L"Style", static_cast<int64_t>(tsTabs));
  // Follows ActivePage, which is what descriptions store.
  p.Integer<&TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex>(L"TabIndex", -1).Stored =
      [](const TObject*) { return false; };
  publish::TabOrder(p);
  p.Enum<&TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition>(L"TabPosition", static_cast<int64_t>(tpTop));
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Event<&TCustomTabControl::OnChange>(L"OnChange");
  p.Event<&TCustomTabControl::OnChanging>(L"OnChanging");
  publish::OnContextPopup(p);
  p.Event<&TCustomTabControl::OnDrawTab>(L"OnDrawTab");
  p.Event<&TWinControl::OnEnter>(L"OnEnter");
  p.Event<&TWinControl::OnExit>(L"OnExit");
  p.Event<&TControl::OnMouseDown>(L"OnMouseDown");
  p.Event<&TControl::OnMouseMove>(L"OnMouseMove");
  p.Event<&TControl::OnMouseUp>(L"OnMouseUp");
  publish::OnResize(p);
}

// ---------------------------------------------------------------------------------------
// TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csDoubleClicks});
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROLW);
  Params.Style |= WS_CLIPCHILDREN;
  if (style_ == tsButtons) Params.Style |= TCS_BUTTONS;
  if (style_ == tsFlatButtons) Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  // The system shows side tabs only in rows.
  if (multi_line_ || tab_position_ == tpLeft || tab_position_ == tpRight) Params.Style |= TCS_MULTILINE;
  switch (tab_position_) {
    case tpBottom: Params.Style |= TCS_BOTTOM; break;
    case tpLeft: Params.Style |= TCS_VERTICAL; break;
    case tpRight: Params.Style |= TCS_VERTICAL | TCS_RIGHT; break;
    default: break;
  }
  if (owner_draw_) Params.Style |= TCS_OWNERDRAWFIXED;
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (images_) Send(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  PutTabsInWindow();
  Realign();
}

void TCustomTabControl::DestroyWnd() {
  tab_index_ = static_cast<int>(Send(TCM_GETCURSEL));
  TWinControl::DestroyWnd();
}

void TCustomTabControl::PutTabsInWindow() {
  if (!HandleAllocated()) return;
  Send(TCM_DELETEALLITEMS);
  for (size_t i = 0; i < tabs_.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(tabs_[i].Caption.c_str());
    item.iImage = tabs_[i].ImageIndex;
    Send(TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  Send(TCM_SETCURSEL, static_cast<WPARAM>(tab_index_));
}

void TCustomTabControl::SetTabs(std::vector<TTabItem> Tabs, int Selected) {
  tabs_ = std::move(Tabs);
  tab_index_ = Selected >= 0 && Selected < TabCount() ? Selected : -1;
  PutTabsInWindow();
  // The area below the tabs changes with them.
  Realign();
}

int TCustomTabControl::TabIndex() const {
  return HandleAllocated() ? static_cast<int>(Send(TCM_GETCURSEL)) : tab_index_;
}

void TCustomTabControl::SelectTab(int Index) {
  if (Index < -1 || Index >= TabCount()) return;
  tab_index_ = Index;
  if (HandleAllocated()) Send(TCM_SETCURSEL, static_cast<WPARAM>(Index));
}

void TCustomTabControl::SetTabIndex(int Value) { SelectTab(Value); }

void TCustomTabControl::SetStyle(TTabStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (tab_position_ == Value) return;
  tab_position_ = Value;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (multi_line_ == Value) return;
  multi_line_ = Value;
  RecreateWnd();
}

void TCustomTabControl::SetOwnerDraw(bool Value) {
  if (owner_draw_ == Value) return;
  owner_draw_ = Value;
  RecreateWnd();
}

void TCustomTabControl::SetImages(TCustomImageList* Value) {
  if (images_ == Value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = Value;
  if (Value) Value->FreeNotification(this);
  if (HandleAllocated()) {
    Send(TCM_SETIMAGELIST, 0, Value ? reinterpret_cast<LPARAM>(Value->Handle()) : 0);
    Realign();
  }
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) {
    images_ = nullptr;
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) Send(TCM_SETIMAGELIST, 0, 0);
  }
}

// Without tabs the pages fill the whole control. Without a window the tab strip is guessed;
// the window's own measure replaces the guess when it comes.
void TCustomTabControl::AdjustClientRect(TRect& Rect) const {
  if (tabs_.empty()) return;
  if (HandleAllocated()) {
    RECT r = Rect;
    Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    Rect = r;
  } else {
    constexpr int kBorder = 2;
    constexpr int kStrip = 22;
    Rect.Inflate(-kBorder, -kBorder);
    switch (tab_position_) {
      case tpBottom: Rect.Bottom -= kStrip; break;
      case tpLeft: Rect.Left += kStrip; break;
      case tpRight: Rect.Right -= kStrip; break;
      default: Rect.Top += kStrip; break;
    }
  }
  Rect.Right = std::max(Rect.Right, Rect.Left);
  Rect.Bottom = std::max(Rect.Bottom, Rect.Top);
}

TRect TCustomTabControl::DisplayRect() const {
  TRect r = ClientRect();
  AdjustClientRect(r);
  return r;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const {
  if (!HandleAllocated()) return -1;
  TCHITTESTINFO info{};
  info.pt = POINT{X, Y};
  return static_cast<int>(Send(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::DrawTab(int TabIndex, const TRect& Rect, bool Active) {
  if (OnDrawTab)
    OnDrawTab(this, TabIndex, Rect, Active);
  else
    canvas_->FillRect(Rect);
}

void TCustomTabControl::HandleNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HandleAllocated() || header->hwndFrom != Handle()) {
    TWinControl::Dispatch(Message);
    return;
  }
  switch (header->code) {
    case TCN_SELCHANGING:
      Message.Result = CanChange() ? FALSE : TRUE;
      break;
    case TCN_SELCHANGE:
      tab_index_ = static_cast<int>(Send(TCM_GETCURSEL));
      Change();
      break;
    default:
      break;
  }
}

void TCustomTabControl::HandleDrawItem(TMessage& Message) {
  const auto* info = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  if (!info || info->CtlType != ODT_TAB) {
    TWinControl::Dispatch(Message);
    return;
  }
  {
    const TCanvasDCLoan loan(*canvas_, info->hDC);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    DrawTab(static_cast<int>(info->itemID), info->rcItem, (info->itemState & ODS_SELECTED) != 0);
  }
  Message.Result = TRUE;
}

void TCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY:
      HandleNotify(Message);
      return;
    case CN_DRAWITEM:
      HandleDrawItem(Message);
      return;
    case CM_FONTCHANGED:
      // The tabs' height follows the font.
      TWinControl::Dispatch(Message);
      Realign();
      return;
    default:
      TWinControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetAlign(alClient);
  // Only the page control's active page shows.
  SetVisible(false);
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

int TTabSheet::PageIndex() const {
  TPageControl* pc = PageControl();
  if (!pc) return -1;
  auto it = std::find(pc->pages_.begin(), pc->pages_.end(), this);
  return it == pc->pages_.end() ? -1 : static_cast<int>(it - pc->pages_.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (TPageControl* pc = PageControl()) pc->MovePage(this, Value);
}

int TTabSheet::TabIndex() const {
  TPageControl* pc = PageControl();
  if (!pc || !tab_visible_) return -1;
  int index = 0;
  for (TTabSheet* page : pc->pages_) {
    if (page == this) return index;
    if (page->tab_visible_) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (tab_visible_ == Value) return;
  tab_visible_ = Value;
  if (TPageControl* pc = PageControl()) pc->UpdateTabs();
}

void TTabSheet::SetImageIndex(int Value) {
  if (image_index_ == Value) return;
  image_index_ = Value;
  if (TPageControl* pc = PageControl()) pc->UpdateTabs();
}

void TTabSheet::Dispatch(TMessage& Message) {
  TWinControl::Dispatch(Message);
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      if (TPageControl* pc = PageControl()) pc->UpdateTabs();
      break;
    case CM_SHOWINGCHANGED:
      if (Showing()) {
        if (OnShow) OnShow(this);
      } else if (OnHide) {
        OnHide(this);
      }
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() = default;

void TPageControl::BeforeDestruction() {
  // The pages go with the control's children; nothing may reach them through the list.
  pages_.clear();
  active_page_ = nullptr;
  TCustomTabControl::BeforeDestruction();
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return pages_[static_cast<size_t>(Index)];
}

int TPageControl::ActivePageIndex() const { return active_page_ ? active_page_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
  if (Value >= 0 && Value < PageCount())
    SetActivePage(pages_[static_cast<size_t>(Value)]);
  else if (Value == -1)
    SetActivePage(nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Value) {
  if (Value && Value->PageControl() != this) return;
  ChangeActivePage(Value);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (active_page_ != Page) {
    TTabSheet* old = active_page_;
    active_page_ = Page;
    // The new page shows before the old one hides, so the area is never bare.
    if (Page) {
      Page->BringToFront();
      Page->SetVisible(true);
    }
    if (old && std::find(pages_.begin(), pages_.end(), old) != pages_.end()) old->SetVisible(false);
  }
  SelectTab(Page ? Page->TabIndex() : -1);
}

void TPageControl::SetTabIndex(int Value) {
  if (Value == -1)
    SetActivePage(nullptr);
  else if (TTabSheet* page = PageOfTab(Value))
    SetActivePage(page);
}

TTabSheet* TPageControl::PageOfTab(int Index) const {
  if (Index < 0) return nullptr;
  for (TTabSheet* page : pages_) {
    if (!page->TabVisible()) continue;
    if (Index-- == 0) return page;
  }
  return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  auto it = std::find(pages_.begin(), pages_.end(), CurPage);
  const int start = it != pages_.end() ? static_cast<int>(it - pages_.begin()) : (GoForward ? count - 1 : 0);
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = pages_[static_cast<size_t>(i)];
    if (!CheckTabVisible || page->TabVisible()) return page;
  } while (i != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* page = FindNextPage(active_page_, GoForward, CheckTabVisible);
  if (!page || page == active_page_ || !CanChange()) return;
  ChangeActivePage(page);
  TCustomTabControl::Change();
}

void TPageControl::Change() {
  // The user picked a tab: its page shows.
  if (TTabSheet* page = PageOfTab(TabIndex())) ChangeActivePage(page);
  TCustomTabControl::Change();
}

void TPageControl::ShowControl(TControl* AControl) {
  if (auto* page = dynamic_cast<TTabSheet*>(AControl); page && page->PageControl() == this) SetActivePage(page);
  TCustomTabControl::ShowControl(AControl);
}

void TPageControl::InsertPage(TTabSheet* Page) {
  if (std::find(pages_.begin(), pages_.end(), Page) != pages_.end()) return;
  pages_.push_back(Page);
  UpdateTabs();
}

void TPageControl::RemovePage(TControl* Control) {
  auto it = std::find_if(pages_.begin(), pages_.end(), [&](TTabSheet* p) { return static_cast<TControl*>(p) == Control; });
  if (it == pages_.end()) return;
  TTabSheet* const page = *it;
  // A removed active page hands over to the next page with a tab.
  TTabSheet* next = FindNextPage(page, true, true);
  if (next == page) next = nullptr;
  pages_.erase(it);
  if (active_page_ == page) {
    active_page_ = nullptr;
    ChangeActivePage(next);
  }
  UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* Page, int NewIndex) {
  auto it = std::find(pages_.begin(), pages_.end(), Page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  NewIndex = std::clamp(NewIndex, 0, PageCount());
  pages_.insert(pages_.begin() + NewIndex, Page);
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  if (ComponentState().Contains(csDestroying)) return;
  std::vector<TTabItem> tabs;
  for (TTabSheet* page : pages_)
    if (page->TabVisible()) tabs.push_back({page->Caption(), page->ImageIndex()});
  SetTabs(std::move(tabs), active_page_ ? active_page_->TabIndex() : -1);
}

void TPageControl::Dispatch(TMessage& Message) {
  TCustomTabControl::Dispatch(Message);
  switch (Message.Msg) {
    case CM_CONTROLCHANGE:
      // A child joined (LParam 1): sheets become pages.
      if (Message.LParam == 1)
        if (auto* page = dynamic_cast<TTabSheet*>(reinterpret_cast<TControl*>(Message.WParam))) InsertPage(page);
      break;
    case CM_CONTROLLISTCHANGE:
      // A child left (LParam 0); it may be half destroyed, so it is only compared.
      if (Message.LParam == 0) RemovePage(reinterpret_cast<TControl*>(Message.WParam));
      break;
    default:
      break;
  }
}

}  // namespace vcl
