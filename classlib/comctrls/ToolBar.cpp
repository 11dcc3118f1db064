// TToolBar (a superclass of ToolbarWindow32) and its TToolButton children.
#include "classlib/comctrls/ToolBar.h"

#include <algorithm>

#include "classlib/comctrls/ComCtrlsInternal.h"

namespace vcl {

VCL_CLASS_INFO(TToolButton) {
  publish::Caption(p);
  p.Bool<&TToolButton::Down, &TToolButton::SetDown>(L"Down", false);
  p.Object<&TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu>(L"DropdownMenu", TPopupMenu::StaticClass());
  publish::Enabled(p);
  publish::Hints(p);
  p.Integer<&TToolButton::ImageIndex, &TToolButton::SetImageIndex>(L"ImageIndex", -1);
  p.Bool<&TToolButton::Indeterminate, &TToolButton::SetIndeterminate>(L"Indeterminate", false);
  // Left orders the buttons when a description is read; the tool bar sets the rest.
  p.Integer<&TControl::Left, &TControl::SetLeft>(L"Left");
  p.Integer<&TControl::Top, &TControl::SetTop>(L"Top");
  p.Integer<&TControl::Width, &TControl::SetWidth>(L"Width");
  p.Integer<&TControl::Height, &TControl::SetHeight>(L"Height");
  p.Enum<&TToolButton::Style, &TToolButton::SetStyle>(L"Style", static_cast<int64_t>(tbsButton));
  publish::Visible(p);
  p.Event<&TControl::OnClick>(L"OnClick");
  publish::OnContextPopup(p);
}

VCL_CLASS_INFO(TToolBar) {
  p.Enum<&TControl::Align, &TControl::SetAlign>(L"Align", static_cast<int64_t>(alTop));
  publish::Anchors(p);
  publish::Bounds(p);
  p.Integer<&TToolBar::ButtonHeight, &TToolBar::SetButtonHeight>(L"ButtonHeight", 22);
  p.Integer<&TToolBar::ButtonWidth, &TToolBar::SetButtonWidth>(L"ButtonWidth", 23);
  publish::Color(p, clBtnFace);
  p.Object<&TToolBar::DisabledImages, &TToolBar::SetDisabledImages>(L"DisabledImages",
                                                                     TCustomImageList::StaticClass());
  publish::Enabled(p);
  p.Bool<&TToolBar::Flat, &TToolBar::SetFlat>(L"Flat", false);
  publish::Font(p);
  publish::Hints(p);
  p.Object<&TToolBar::HotImages, &TToolBar::SetHotImages>(L"HotImages", TCustomImageList::StaticClass());
  p.Object<&TToolBar::Images, &TToolBar::SetImages>(L"Images", TCustomImageList::StaticClass());
  p.Bool<&TToolBar::List, &TToolBar::SetList>(L"List", false);
  publish::ParentColor(p, false);
  publish::PopupMenu(p);
  p.Bool<&TToolBar::ShowCaptions, &TToolBar::SetShowCaptions>(L"ShowCaptions", false);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  publish::Visible(p);
  p.Event<&TToolBar::OnAdvancedCustomDraw>(L"OnAdvancedCustomDraw");
  p.Event<&TToolBar::OnAdvancedCustomDrawButton>(L"OnAdvancedCustomDrawButton");
  p.Event<&TToolBar::OnCustomDraw>(L"OnCustomDraw");
  p.Event<&TToolBar::OnCustomDrawButton>(L"OnCustomDrawButton");
  publish::MouseEvents(p);
  publish::OnContextPopup(p);
  publish::OnResize(p);
}

namespace {

constexpr int kSeparatorWidth = 8;

bool IsSeparator(TToolButtonStyle Style) { return Style == tbsSeparator || Style == tbsDivider; }

BYTE SystemStyle(const TToolButton* Button) {
  switch (Button->Style()) {
    case tbsCheck: return BTNS_CHECK;
    case tbsDropDown: return BTNS_DROPDOWN;
    case tbsSeparator:
    case tbsDivider: return BTNS_SEP;
    default: return BTNS_BUTTON;
  }
}

}  // namespace

// From the button's own fields: the window may not hold the button yet.
BYTE TToolBar::SystemState(const TToolButton* Button) {
  BYTE state = 0;
  if (Button->Enabled()) state |= TBSTATE_ENABLED;
  if (Button->down_) state |= TBSTATE_CHECKED;
  if (Button->Indeterminate()) state |= TBSTATE_INDETERMINATE;
  if (!Button->Visible()) state |= TBSTATE_HIDDEN;
  return state;
}

// ---------------------------------------------------------------------------------------
// TToolButton

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() = default;

void TToolButton::BeforeDestruction() {
  // Leaves the tool bar while still whole.
  if (TToolBar* bar = ToolBar()) bar->RemoveButton(this);
  TGraphicControl::BeforeDestruction();
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

int TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  if (!bar) return -1;
  auto it = std::find(bar->buttons_.begin(), bar->buttons_.end(), this);
  return it == bar->buttons_.end() ? -1 : static_cast<int>(it - bar->buttons_.begin());
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
  if (style_ == Value) return;
  const bool was_separator = IsSeparator(style_);
  style_ = Value;
  if (IsSeparator(Value) && !was_separator) SetWidth(kSeparatorWidth);
  if (TToolBar* bar = ToolBar()) bar->UpdateButton(this);
}

void TToolButton::SetImageIndex(int Value) {
  if (image_index_ == Value) return;
  image_index_ = Value;
  if (TToolBar* bar = ToolBar()) bar->UpdateButton(this);
}

bool TToolButton::Down() const {
  TToolBar* bar = ToolBar();
  if (command_ && bar && bar->HasWindow())
    return (bar->Send(TB_GETSTATE, static_cast<WPARAM>(command_)) & TBSTATE_CHECKED) != 0;
  return down_;
}

void TToolButton::SetDown(bool Value) {
  down_ = Value;
  if (TToolBar* bar = ToolBar()) bar->UpdateButtonState(this);
}

void TToolButton::SetIndeterminate(bool Value) {
  if (indeterminate_ == Value) return;
  down_ = Down();
  indeterminate_ = Value;
  if (TToolBar* bar = ToolBar()) bar->UpdateButtonState(this);
}

void TToolButton::SetDropdownMenu(TPopupMenu* Value) {
  if (dropdown_menu_ == Value) return;
  if (dropdown_menu_) dropdown_menu_->RemoveFreeNotification(this);
  dropdown_menu_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == dropdown_menu_) dropdown_menu_ = nullptr;
}

bool TToolButton::CheckMenuDropdown() {
  TToolBar* bar = ToolBar();
  if (!dropdown_menu_ || !bar || !bar->HasWindow()) return false;
  const TPoint at = bar->ClientToScreen({Left(), Top() + Height()});
  dropdown_menu_->SetPopupComponent(this);
  dropdown_menu_->Popup(at.X, at.Y);
  return true;
}

void TToolButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TToolBar* bar = ToolBar();
  // Reading a description, Left only orders the buttons; in a tool bar's window the system
  // decides where a button goes, and only a separator's width is the button's own.
  if (!bar || placing_ || ComponentState().Contains(csReading)) {
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  if (IsSeparator(style_) && AWidth != Width()) {
    TGraphicControl::SetBounds(Left(), Top(), AWidth, Height());
    bar->UpdateButton(this);
  }
}

void TToolButton::Place(const TRect& Rect) {
  placing_ = true;
  try {
    TGraphicControl::SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  } catch (...) {
    placing_ = false;
    throw;
  }
  placing_ = false;
}

void TToolButton::Click() {
  // A check button's new state is the window's; the event sees it.
  if (TToolBar* bar = ToolBar(); bar && command_ && bar->HasWindow()) down_ = Down();
  TGraphicControl::Click();
}

// The text or visibility changed: the system button is made again.
void TToolButton::Changed(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  if (TToolBar* bar = ToolBar()) bar->UpdateButton(this);
}

void TToolButton::CMEnabledChanged(TMessage& Message) {
  down_ = Down();
  TGraphicControl::Dispatch(Message);
  if (TToolBar* bar = ToolBar()) bar->UpdateButtonState(this);
}

void TToolButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_HITTEST:
      // The tool bar's window tracks the mouse over its buttons itself.
      Message.Result = ComponentState().Contains(csDesigning) ? HTCLIENT : 0;
      return;
    case CM_TEXTCHANGED:
    case CM_VISIBLECHANGED: return Changed(Message);
    case CM_ENABLEDCHANGED: return CMEnabledChanged(Message);
    default: return TGraphicControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------
// TToolBar

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls} - TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  SetParentColor(false);
  SetColor(clBtnFace);
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TToolBar::~TToolBar() = default;

void TToolBar::BeforeDestruction() {
  // The buttons go with the children; nothing may reach them through the list.
  for (TToolButton* button : buttons_) button->command_ = 0;
  buttons_.clear();
  TWinControl::BeforeDestruction();
}

TToolButton* TToolBar::Buttons(int Index) const {
  if (Index < 0 || Index >= ButtonCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return buttons_[static_cast<size_t>(Index)];
}

TToolButton* TToolBar::ButtonOfCommand(UINT_PTR Command) const {
  for (TToolButton* button : buttons_)
    if (static_cast<UINT_PTR>(button->command_) == Command) return button;
  return nullptr;
}

void TToolBar::Loaded() {
  // A description's buttons stand in the order of their Left (before anything lays them out).
  std::stable_sort(buttons_.begin(), buttons_.end(),
                   [](const TToolButton* a, const TToolButton* b) { return a->Left() < b->Left(); });
  TWinControl::Loaded();
  if (HasWindow())
    PutButtonsInWindow();
  else
    PlaceButtons();
}

void TToolBar::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  // The buttons in their order, then any other child.
  for (TToolButton* button : buttons_)
    if (button->Owner() == Root) Proc(button);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == Root && std::find(buttons_.begin(), buttons_.end(), c) == buttons_.end()) Proc(c);
  }
  TControl::GetChildren(Proc, Root);
}

void TToolBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, TOOLBARCLASSNAMEW);
  // The library places and sizes the bar; the custom-draw events also see the erase stages.
  Params.Style |= WS_CLIPCHILDREN | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_CUSTOMERASE;
  if (flat_) Params.Style |= TBSTYLE_FLAT;
  if (list_) Params.Style |= TBSTYLE_LIST;
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  ApplyImageLists();
  ApplySizes();
  PutButtonsInWindow();
}

void TToolBar::ApplyImageLists() {
  if (!HasWindow()) return;
  auto handle = [](TCustomImageList* list) { return list ? reinterpret_cast<LPARAM>(list->Handle()) : 0; };
  Send(TB_SETIMAGELIST, 0, handle(images_));
  Send(TB_SETHOTIMAGELIST, 0, handle(hot_images_));
  Send(TB_SETDISABLEDIMAGELIST, 0, handle(disabled_images_));
}

void TToolBar::ApplySizes() {
  if (!HasWindow()) return;
  // The image size first: the system keeps buttons at least that large.
  if (images_) Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->Width(), images_->Height()));
  Send(TB_SETBUTTONSIZE, 0, MAKELPARAM(button_width_, button_height_));
}

void TToolBar::WindowInsertButton(int Index, const TToolButton* Button) {
  TBBUTTON info{};
  info.fsStyle = SystemStyle(Button);
  info.fsState = SystemState(Button);
  info.idCommand = Button->command_;
  info.dwData = reinterpret_cast<DWORD_PTR>(Button);
  if (IsSeparator(Button->Style())) {
    info.iBitmap = Button->Width();
  } else {
    info.iBitmap = Button->ImageIndex() >= 0 ? Button->ImageIndex() : I_IMAGENONE;
  }
  // The text lives in the button while the call runs; the system copies it.
  const String caption = Button->Caption();
  info.iString = show_captions_ && !IsSeparator(Button->Style()) ? reinterpret_cast<INT_PTR>(caption.c_str()) : -1;
  if (!Send(TB_INSERTBUTTONW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&info)))
    throw EOutOfResources(L"Unable to insert a tool button");
}

void TToolBar::PutButtonsInWindow() {
  if (!HasWindow()) return;
  Send(WM_SETREDRAW, FALSE);
  try {
    while (Send(TB_BUTTONCOUNT) > 0)
      if (!Send(TB_DELETEBUTTON, 0)) break;
    for (int i = 0; i < ButtonCount(); ++i) WindowInsertButton(i, buttons_[static_cast<size_t>(i)]);
  } catch (...) {
    Send(WM_SETREDRAW, TRUE);
    throw;
  }
  Send(WM_SETREDRAW, TRUE);
  InvalidateRect(Handle(), nullptr, TRUE);
  PlaceButtons();
}

void TToolBar::PlaceButtons() {
  // While a description is read the buttons keep the Left they were given: Loaded orders
  // them by it.
  if (ComponentState().Contains(csReading)) return;
  if (!HasWindow()) {
    int x = 0;
    for (TToolButton* button : buttons_) {
      if (!button->Visible()) continue;
      const int width = IsSeparator(button->Style()) ? button->Width() : button_width_;
      button->Place(Bounds(x, 0, width, button_height_));
      x += width;
    }
    return;
  }
  for (int i = 0; i < ButtonCount(); ++i) {
    RECT r{};
    if (Send(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
      buttons_[static_cast<size_t>(i)]->Place(r);
  }
}

void TToolBar::InsertButton(TToolButton* Button) {
  if (std::find(buttons_.begin(), buttons_.end(), Button) != buttons_.end()) return;
  // Buttons added later go to the end.
  buttons_.push_back(Button);
  Button->command_ = next_command_++;
  if (HasWindow()) WindowInsertButton(ButtonCount() - 1, Button);
  PlaceButtons();
}

void TToolBar::RemoveButton(TToolButton* Button) {
  auto it = std::find(buttons_.begin(), buttons_.end(), Button);
  if (it == buttons_.end()) return;
  const int index = static_cast<int>(it - buttons_.begin());
  buttons_.erase(it);
  Button->command_ = 0;
  if (HasWindow()) {
    Send(TB_DELETEBUTTON, static_cast<WPARAM>(index));
    PlaceButtons();
  }
}

void TToolBar::UpdateButton(TToolButton* Button) {
  const int index = Button->Index();
  if (index < 0) return;
  if (HasWindow()) {
    // The system has no call that changes every part of a button: it is made again.
    Button->down_ = Button->Down();
    Send(WM_SETREDRAW, FALSE);
    Send(TB_DELETEBUTTON, static_cast<WPARAM>(index));
    try {
      WindowInsertButton(index, Button);
    } catch (...) {
      Send(WM_SETREDRAW, TRUE);
      throw;
    }
    Send(WM_SETREDRAW, TRUE);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
  PlaceButtons();
}

void TToolBar::UpdateButtonState(TToolButton* Button) {
  if (!Button->command_) return;
  if (HasWindow()) {
    Send(TB_SETSTATE, static_cast<WPARAM>(Button->command_), MAKELPARAM(SystemState(Button), 0));
    PlaceButtons();
  }
}

void TToolBar::SetButtonWidth(int Value) {
  if (button_width_ == Value) return;
  button_width_ = Value;
  ApplySizes();
  PlaceButtons();
}

void TToolBar::SetButtonHeight(int Value) {
  if (button_height_ == Value) return;
  button_height_ = Value;
  ApplySizes();
  PlaceButtons();
}

void TToolBar::SetFlat(bool Value) {
  if (flat_ == Value) return;
  flat_ = Value;
  RecreateWnd();
}

void TToolBar::SetList(bool Value) {
  if (list_ == Value) return;
  list_ = Value;
  RecreateWnd();
}

void TToolBar::SetShowCaptions(bool Value) {
  if (show_captions_ == Value) return;
  show_captions_ = Value;
  // The system sizes buttons by their texts only when they are given at insertion.
  RecreateWnd();
}

void TToolBar::SetImageList(TCustomImageList*& Field, TCustomImageList* Value) {
  if (Field == Value) return;
  if (Field && Field != images_ && Field != hot_images_ && Field != disabled_images_)
    Field->RemoveFreeNotification(this);
  Field = Value;
  if (Value) Value->FreeNotification(this);
  if (HasWindow()) {
    ApplyImageLists();
    ApplySizes();
    InvalidateRect(Handle(), nullptr, TRUE);
    PlaceButtons();
  }
}

void TToolBar::SetImages(TCustomImageList* Value) { SetImageList(images_, Value); }
void TToolBar::SetHotImages(TCustomImageList* Value) { SetImageList(hot_images_, Value); }
void TToolBar::SetDisabledImages(TCustomImageList* Value) { SetImageList(disabled_images_, Value); }

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  bool changed = false;
  for (TCustomImageList** field : {&images_, &hot_images_, &disabled_images_}) {
    if (*field == AComponent) {
      *field = nullptr;
      changed = true;
    }
  }
  if (changed) ApplyImageLists();
}

// ---------------------------------------------------------------------------------------
// Notifications

void TToolBar::HandleCustomDraw(TMessage& Message, NMTBCUSTOMDRAW& Draw) {
  NMCUSTOMDRAW& nm = Draw.nmcd;
  const TCustomDrawStage stage = CustomDrawStageOf(nm.dwDrawStage);
  const bool item = (nm.dwDrawStage & CDDS_ITEM) != 0;
  const bool button_events = OnCustomDrawButton || OnAdvancedCustomDrawButton;
  LRESULT result = CDRF_DODEFAULT;
  bool default_draw = true;
  {
    const TCanvasDCLoan loan(*canvas_, nm.hdc);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    if (!item) {
      // The whole bar, whatever part the system is about to paint.
      const TRect rect = ClientRect();
      if (stage == cdPrePaint && OnCustomDraw) OnCustomDraw(this, rect, default_draw);
      if (default_draw && OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, rect, stage, default_draw);
      if (stage == cdPrePaint) {
        if (button_events) result |= CDRF_NOTIFYITEMDRAW;
        if (OnAdvancedCustomDraw) result |= CDRF_NOTIFYPOSTPAINT;
      } else if (stage == cdPreErase && OnAdvancedCustomDraw) {
        result |= CDRF_NOTIFYPOSTERASE;
      }
    } else if (TToolButton* button = ButtonOfCommand(nm.dwItemSpec)) {
      const TCustomDrawState state = TCustomDrawState::FromInt(LOWORD(nm.uItemState));
      TTBCustomDrawFlags flags;
      if (stage == cdPrePaint && OnCustomDrawButton) OnCustomDrawButton(this, button, state, default_draw);
      if (default_draw && OnAdvancedCustomDrawButton)
        OnAdvancedCustomDrawButton(this, button, state, stage, flags, default_draw);
      // TBCDRF_NOEDGES and the flags after it, one bit per flag from bit 16 on.
      result |= static_cast<LRESULT>(flags.ToInt()) << 16;
      if (stage == cdPrePaint && OnAdvancedCustomDrawButton) result |= CDRF_NOTIFYPOSTPAINT;
    }
  }
  if (!default_draw) result |= CDRF_SKIPDEFAULT;
  Message.Result = result;
}

void TToolBar::HandleNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HasWindow() || header->hwndFrom != Handle()) {
    TWinControl::Dispatch(Message);
    return;
  }
  switch (header->code) {
    case NM_CUSTOMDRAW:
      HandleCustomDraw(Message, *reinterpret_cast<NMTBCUSTOMDRAW*>(Message.LParam));
      break;
    case TBN_DROPDOWN: {
      const auto* info = reinterpret_cast<const NMTOOLBARW*>(header);
      TToolButton* button = ButtonOfCommand(static_cast<UINT_PTR>(info->iItem));
      if (button && button->CheckMenuDropdown()) {
        PostMessageW(Handle(), CN_DROPDOWNCLOSED, 0, 0);
        Message.Result = TBDDRET_DEFAULT;
      } else {
        Message.Result = TBDDRET_NODEFAULT;
      }
      break;
    }
    default:
      break;
  }
}

void TToolBar::CMControlChange(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (auto* button = dynamic_cast<TToolButton*>(reinterpret_cast<TControl*>(Message.WParam))) {
    if (Message.LParam == 1)
      InsertButton(button);
    else
      RemoveButton(button);
  }
}

// The system lays the buttons out again.
void TToolBar::Relaid(TMessage& Message) {
  TWinControl::Dispatch(Message);
  PlaceButtons();
}

void TToolBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: return HandleNotify(Message);
    case CN_COMMAND:
      if (TToolButton* button = ButtonOfCommand(Message.WParamLo())) button->Click();
      return;
    case CN_DROPDOWNCLOSED: return;
    case CM_CONTROLCHANGE: return CMControlChange(Message);
    // The window paints its own background (and reports the erase stages).
    case WM_ERASEBKGND: return DefaultHandler(Message);
    case WM_SIZE:
    case CM_FONTCHANGED: return Relaid(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
