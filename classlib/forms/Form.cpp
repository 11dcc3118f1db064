// TCustomForm and TForm: top-level windows with their border, position, activation, focus,
// close protocol, modal showing and MDI frame and children.
#include <algorithm>
#include <utility>

#include "classlib/controls/ControlsInternal.h"
#include "classlib/streaming/Filer.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"

namespace vcl {

namespace {
const TMenuHooks& Hooks() { return LayerHooks().Menus; }

bool FontStored(const TObject* o) { return !static_cast<const TControl*>(o)->ParentFont(); }
}  // namespace

TCustomForm* GetParentForm(const TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(Control));
}

VCL_CLASS_INFO(TCustomForm) {}

VCL_CLASS_INFO(TForm) {
  p.Object<&TCustomForm::ActiveControl, &TCustomForm::SetActiveControl>(L"ActiveControl", TWinControl::StaticClass());
  publish::Align(p);
  p.Bool<&TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend>(L"AlphaBlend", false);
  p.Integer<&TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue>(L"AlphaBlendValue", 255);
  publish::Anchors(p);
  p.Bool<&TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll>(L"AutoScroll", false);
  publish::BiDiMode(p);
  publish::BorderWidth(p);
  p.Set<&TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons>(
      L"BorderIcons", TBorderIcons{biSystemMenu, biMinimize, biMaximize}.ToInt());
  p.Enum<&TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle>(
      L"BorderStyle", static_cast<int64_t>(TFormBorderStyle::bsSizeable));
  publish::Caption(p);
  publish::Bounds(p);
  p.Integer<&TControl::ClientWidth, &TControl::SetClientWidth>(L"ClientWidth");
  p.Integer<&TControl::ClientHeight, &TControl::SetClientHeight>(L"ClientHeight");
  publish::Color(p, clBtnFace);
  publish::Constraints(p);
  publish::Cursor(p);
  publish::Enabled(p);
  TPropInfo& font = p.Object<&TControl::Font, &TControl::SetFont>(L"Font", TFont::StaticClass());
  font.Stored = &FontStored;
  p.Bool<&TControl::ParentFont, &TControl::SetParentFont>(L"ParentFont", false);
  p.Enum<&TCustomForm::FormStyle, &TCustomForm::SetFormStyle>(L"FormStyle", 0);
  publish::Hints(p);
  p.Object<&TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar>(
      L"HorzScrollBar", TControlScrollBar::StaticClass());
  p.Object<&TCustomForm::Icon, &TCustomForm::SetIcon>(L"Icon", TIcon::StaticClass());
  p.Bool<&TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview>(L"KeyPreview", false);
  p.Object<&TCustomForm::Menu, &TCustomForm::SetMenu>(L"Menu", TComponent::StaticClass());
  publish::PopupMenu(p);
  p.Enum<&TCustomForm::Position, &TCustomForm::SetPosition>(L"Position", 0);
  p.Bool<&TCustomForm::TransparentColor, &TCustomForm::SetTransparentColor>(L"TransparentColor", false);
  p.Integer<&TCustomForm::TransparentColorValue, &TCustomForm::SetTransparentColorValue>(L"TransparentColorValue", 0,
                                                                                        &ColorTypeInfo());
  p.Object<&TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar>(
      L"VertScrollBar", TControlScrollBar::StaticClass());
  p.Bool<&TControl::Visible, &TControl::SetVisible>(L"Visible", false);
  p.Object<&TCustomForm::WindowMenu, &TCustomForm::SetWindowMenu>(L"WindowMenu", TMenuItem::StaticClass());
  p.Enum<&TCustomForm::WindowState, &TCustomForm::SetWindowState>(L"WindowState", 0);
  p.Event<&TCustomForm::OnActivate>(L"OnActivate");
  p.Event<&TCustomForm::OnClose>(L"OnClose");
  p.Event<&TCustomForm::OnCloseQuery>(L"OnCloseQuery");
  p.Event<&TCustomForm::OnCreate>(L"OnCreate");
  p.Event<&TCustomForm::OnDeactivate>(L"OnDeactivate");
  p.Event<&TCustomForm::OnDestroy>(L"OnDestroy");
  p.Event<&TCustomForm::OnHide>(L"OnHide");
  p.Event<&TCustomForm::OnPaint>(L"OnPaint");
  p.Event<&TCustomForm::OnShow>(L"OnShow");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnResize(p);
}

// ---------------------------------------------------------------------------------------
// Construction and destruction

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  Init();
  read_description_ = true;
}

TCustomForm::TCustomForm(TComponent* AOwner, int) : TScrollingWinControl(AOwner) { Init(); }

void TCustomForm::Init() {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  left_ = 0;
  top_ = 0;
  width_ = 320;
  height_ = 240;
  visible_ = false;
  // Reads as the application does until given a mode (or a parent) of its own.
  if (Application) bidi_mode_ = Application->BiDiMode();
  SetColor(clBtnFace);
  SetParentFont(false);
  // A form scrolls only when asked to.
  SetAutoScroll(false);
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
  icon_ = std::make_unique<TIcon>();
  icon_->OnChange = TNotifyEvent::Bind<&TCustomForm::IconChanged>(this);
  if (Screen) Screen->AddForm(this);
}

void TCustomForm::AfterConstruction() {
  TScrollingWinControl::AfterConstruction();
  // The description is named after the most derived class, known only now.
  if (read_description_ && &ClassType() != &TForm::StaticClass() && &ClassType() != &TCustomForm::StaticClass()) {
    form_state_.Include(fsCreating);
    try {
      ReadComponentResource(this, ClassName());
    } catch (...) {
      form_state_.Exclude(fsCreating);
      throw;
    }
    form_state_.Exclude(fsCreating);
  }
  DoCreate();
  if (form_state_.Contains(fsActivated)) {
    form_state_.Exclude(fsActivated);
    Activate();
  }
}

TCustomForm::~TCustomForm() {
  if (Screen) Screen->RemoveForm(this);
}

void TCustomForm::BeforeDestruction() {
  Destroying();
  if (Screen) {
    if (Screen->focused_form_ == this) Screen->focused_form_ = nullptr;
  }
  if (form_style_ != fsMDIChild && HandleAllocated() && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
  // The main form's menu bar lets go of this form's items.
  MergeMenu(false);
  DoDestroy();
  canvas_->FreeHandle();
  TScrollingWinControl::BeforeDestruction();
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->UpdateVisible();
}

void TCustomForm::DoCreate() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    if (Application) Application->HandleException(this); else throw;
  }
  if (form_state_.Contains(fsVisible)) {
    form_state_.Exclude(fsVisible);
    SetVisible(true);
  }
}

void TCustomForm::DoDestroy() {
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TCustomForm::Loaded() {
  TScrollingWinControl::Loaded();
  if (active_control_ && !ContainsControl(active_control_)) active_control_ = nullptr;
  // A control may have made the window while the description was read, before the menu it
  // names was attached: its bar took its height from the client area.
  ApplyWantedClientSize();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TScrollingWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == menu_) {
    menu_ = nullptr;
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) ::SetMenu(Handle(), nullptr);
  }
  if (AComponent == window_menu_) window_menu_ = nullptr;
  if (AComponent == active_control_) active_control_ = nullptr;
  if (AComponent == focused_control_) focused_control_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Window

namespace {

// The bar a form shows for its main menu: none for an MDI child or a menu that merges into the
// main form's (AutoMerge).
HMENU ShownMenuBar(TComponent* Menu, TFormStyle Style) {
  auto* menu = dynamic_cast<TMainMenu*>(Menu);
  if (!menu || Style == fsMDIChild || menu->AutoMerge()) return nullptr;
  return menu->Handle();
}

}  // namespace

void TCustomForm::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (!Parent() && !ParentWindow()) {
    Params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_GROUP | WS_TABSTOP);
    Params.WndParent = nullptr;
    if (Application) {
      TCustomForm* main = Application->MainForm();
      if (Application->MainFormOnTaskBar()) {
        if (!main || main == this)
          Params.ExStyle |= WS_EX_APPWINDOW;
        else
          Params.WndParent = main->HandleAllocated() ? main->handle_ : Application->Handle();
      } else {
        Params.WndParent = Application->Handle();
      }
    }
  }
  Params.WindowClass.style = CS_DBLCLKS;
  if (Application && Application->IconHandle()) Params.WindowClass.hIcon = Application->IconHandle();
  if (position_ == poDefault || position_ == poDefaultPosOnly) {
    Params.X = static_cast<int>(CW_USEDEFAULT);
    Params.Y = static_cast<int>(CW_USEDEFAULT);
  }
  TBorderIcons icons = border_icons_;
  switch (border_style_) {
    case TFormBorderStyle::bsNone:
      if (!Parent() && !ParentWindow()) Params.Style |= WS_POPUP;
      icons = {};
      break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow:
      Params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case TFormBorderStyle::bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons = icons * TBorderIcons{biSystemMenu, biHelp};
      break;
  }
  if (border_style_ == TFormBorderStyle::bsToolWindow || border_style_ == TFormBorderStyle::bsSizeToolWin) {
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    icons = icons * TBorderIcons{biSystemMenu};
  }
  if (icons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
  if (icons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
  if (icons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
  if (icons.Contains(biHelp) && !icons.Contains(biMinimize) && !icons.Contains(biMaximize))
    Params.ExStyle |= WS_EX_CONTEXTHELP;
  if (form_style_ == fsMDIChild) {
    Params.WindowClass.lpfnWndProc = DefMDIChildProcW;
    Params.ExStyle |= WS_EX_MDICHILD;
  }
  if (alpha_blend_ || transparent_color_) Params.ExStyle |= WS_EX_LAYERED;
  // The window gets its bar as it is made: setting it afterwards lays out the frame again.
  if (!(Params.Style & WS_CHILD) && form_style_ != fsMDIForm) Params.Menu = ShownMenuBar(menu_, form_style_);
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  if (form_style_ != fsMDIChild || ComponentState().Contains(csDesigning)) {
    TScrollingWinControl::CreateWindowHandle(Params);
    form_state_.Exclude(fsCreatedMDIChild);
    return;
  }
  TCustomForm* frame = Application ? Application->MainForm() : nullptr;
  if (!frame || !frame->client_handle_) throw EInvalidOperation(L"Cannot create form. No MDI forms are currently active");
  MDICREATESTRUCTW cs{};
  cs.szClass = Params.WinClassName.c_str();
  cs.szTitle = Params.Caption.c_str();
  cs.hOwner = Params.WindowClass.hInstance;
  cs.x = Params.X;
  cs.y = Params.Y;
  cs.cx = Params.Width;
  cs.cy = Params.Height;
  cs.style = Params.Style & ~static_cast<DWORD>(WS_POPUP);
  cs.lParam = reinterpret_cast<LPARAM>(Params.Param);
  HWND wnd = reinterpret_cast<HWND>(SendMessageW(frame->client_handle_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&cs)));
  if (wnd && !HandleAllocated()) AttachHandle(wnd);
  form_state_.Include(fsCreatedMDIChild);
}

void TCustomForm::CreateWnd() {
  // The size asked for is worked out again with what is known now (a description may name
  // the menu after the client size), so that the window is made at its size; once it exists,
  // the size is checked against its real frame below.
  if (wanted_client_width_ >= 0 || wanted_client_height_ >= 0) {
    const int w = wanted_client_width_ >= 0 ? wanted_client_width_ : ClientWidth();
    const int h = wanted_client_height_ >= 0 ? wanted_client_height_ : ClientHeight();
    TControl::SetClientSize(w, h);
  }
  TScrollingWinControl::CreateWnd();
  if (form_style_ == fsMDIForm && !client_handle_) {
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = 0xFF00;
    RECT r{};
    ::GetClientRect(handle_, &r);
    client_handle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                     WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_CLIPCHILDREN |
                                         WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES,
                                     0, 0, r.right, r.bottom, handle_, nullptr, GetModuleHandleW(nullptr), &ccs);
  }
  if (form_style_ == fsStayOnTop)
    SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AttachMenu(false);
  ApplyLayeredAttributes();
  ApplyIcon();
  ApplyWantedClientSize();
}

void TCustomForm::DestroyWindowHandle() {
  if (form_state_.Contains(fsCreatedMDIChild) && HandleAllocated()) {
    TCustomForm* frame = Application ? Application->MainForm() : nullptr;
    if (frame && frame->client_handle_) {
      HWND wnd = handle_;
      SendMessageW(frame->client_handle_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(wnd), 0);
      if (handle_ == wnd) DetachHandle();
      RefreshMDIWindowMenu();
      return;
    }
  }
  if (auto* menu = dynamic_cast<TMainMenu*>(menu_); menu && HandleAllocated() && menu->WindowHandle() == handle_)
    menu->SetWindowHandle(nullptr);
  // A window takes its menu bar with it when destroyed; the bar belongs to the menu component.
  if (HandleAllocated() && !(GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) && ::GetMenu(handle_))
    ::SetMenu(handle_, nullptr);
  TScrollingWinControl::DestroyWindowHandle();
  client_handle_ = nullptr;
}

void TCustomForm::SetClientSize(int AWidth, int AHeight) {
  // Before the window exists the menu bar's height is a guess, and while the description is
  // read the menu may still come: ask again once both are settled.
  if (!HandleAllocated() || ComponentState().Contains(csLoading)) {
    wanted_client_width_ = AWidth;
    wanted_client_height_ = AHeight;
  }
  TControl::SetClientSize(AWidth, AHeight);
}

void TCustomForm::ApplyWantedClientSize() {
  if (!HandleAllocated() || (wanted_client_width_ < 0 && wanted_client_height_ < 0)) return;
  const int w = wanted_client_width_ >= 0 ? wanted_client_width_ : ClientWidth();
  const int h = wanted_client_height_ >= 0 ? wanted_client_height_ : ClientHeight();
  // Kept while loading: the menu's fix-up may still change the frame.
  if (!ComponentState().Contains(csLoading)) wanted_client_width_ = wanted_client_height_ = -1;
  TControl::SetClientSize(w, h);
}

int TCustomForm::MenuBarHeight() const {
  return ShownMenuBar(menu_, form_style_) ? GetSystemMetrics(SM_CYMENU) : 0;
}

void TCustomForm::AttachMenu(bool Redraw) {
  if (!HandleAllocated()) return;
  if (auto* menu = dynamic_cast<TMainMenu*>(menu_)) menu->SetWindowHandle(handle_);
  if (form_style_ == fsMDIChild) return;
  HMENU bar = ShownMenuBar(menu_, form_style_);
  if (form_style_ == fsMDIForm && client_handle_) {
    // The client lists its children under the window menu and puts the bar on the frame. Each
    // goes alone: a client may skip the window menu when the bar it comes with is unchanged.
    HMENU windowMenu = window_menu_ ? window_menu_->Handle() : nullptr;
    SendMessageW(client_handle_, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(windowMenu));
    SendMessageW(client_handle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar), 0);
    SendMessageW(client_handle_, WM_MDIREFRESHMENU, 0, 0);
  }
  // Setting the bar lays out and draws the frame anew; only a bar kept needs redrawing (not
  // one the window was just made with).
  if (::GetMenu(handle_) != bar)
    ::SetMenu(handle_, bar);
  else if (Redraw)
    DrawMenuBar(handle_);
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
  if (window_menu_ == Value) return;
  if (window_menu_) window_menu_->RemoveFreeNotification(this);
  window_menu_ = Value;
  if (window_menu_) window_menu_->FreeNotification(this);
  AttachMenu();
}

void TCustomForm::MergeMenu(bool MergeState) {
  if (form_state_.Contains(fsModal) || !Application || ComponentState().Contains(csDesigning)) return;
  TCustomForm* main = Application->MainForm();
  if (!main || main == this || main->ComponentState().Contains(csDestroying)) return;
  auto* mainMenu = dynamic_cast<TMainMenu*>(main->Menu());
  if (!mainMenu || (form_style_ != fsMDIChild && main->FormStyle() == fsMDIForm)) return;
  auto* own = dynamic_cast<TMainMenu*>(menu_);
  TMainMenu* merged = own && (own->AutoMerge() || form_style_ == fsMDIChild) ? own : nullptr;
  if (MergeState)
    mainMenu->Merge(merged);
  else
    mainMenu->Unmerge(merged);
}

void TCustomForm::SetMenu(TComponent* Value) {
  if (menu_ == Value) return;
  if (active_) MergeMenu(false);
  if (menu_) {
    menu_->RemoveFreeNotification(this);
    if (auto* menu = dynamic_cast<TMainMenu*>(menu_); menu && menu->WindowHandle() == handle_)
      menu->SetWindowHandle(nullptr);
  }
  menu_ = Value;
  if (menu_) menu_->FreeNotification(this);
  if (HandleAllocated()) Perform(CM_MENUCHANGED, 0, 0);
  if (active_) MergeMenu(true);
}

void TCustomForm::ApplyLayeredAttributes() {
  if (!HandleAllocated()) return;
  LONG_PTR ex = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
  if (alpha_blend_ || transparent_color_) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    DWORD flags = 0;
    if (alpha_blend_) flags |= LWA_ALPHA;
    if (transparent_color_) flags |= LWA_COLORKEY;
    SetLayeredWindowAttributes(handle_, static_cast<COLORREF>(ColorToRGB(transparent_color_value_)),
                               static_cast<BYTE>(alpha_blend_value_), flags);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TCustomForm::IconChanged(TObject*) { ApplyIcon(); }

// The form's icon, or the application's when it has none.
void TCustomForm::ApplyIcon() {
  if (!HandleAllocated()) return;
  HICON icon = !icon_->Empty() ? icon_->Handle() : (Application ? Application->IconHandle() : nullptr);
  // No icon for a window that has none (a new one): under Wine each WM_SETICON converts the
  // icons for the display again, a noticeable share of making a form.
  if (!icon && !SendMessageW(handle_, WM_GETICON, ICON_BIG, 0) && !SendMessageW(handle_, WM_GETICON, ICON_SMALL, 0))
    return;
  SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void TCustomForm::SetAlphaBlend(bool Value) {
  if (alpha_blend_ == Value) return;
  alpha_blend_ = Value;
  ApplyLayeredAttributes();
}

void TCustomForm::SetAlphaBlendValue(int Value) {
  Value = std::clamp(Value, 0, 255);
  if (alpha_blend_value_ == Value) return;
  alpha_blend_value_ = Value;
  ApplyLayeredAttributes();
}

void TCustomForm::SetTransparentColor(bool Value) {
  if (transparent_color_ == Value) return;
  transparent_color_ = Value;
  ApplyLayeredAttributes();
}

void TCustomForm::SetTransparentColorValue(TColor Value) {
  if (transparent_color_value_ == Value) return;
  transparent_color_value_ = Value;
  ApplyLayeredAttributes();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (border_icons_ == Value) return;
  border_icons_ = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (form_style_ == Value) return;
  if (HandleAllocated() && (Value == fsMDIChild || form_style_ == fsMDIChild || Value == fsMDIForm ||
                            form_style_ == fsMDIForm))
    throw EInvalidOperation(L"Cannot change the MDI style of a form with a window");
  const TFormStyle old = form_style_;
  form_style_ = Value;
  if (HandleAllocated()) {
    if (Value == fsStayOnTop)
      SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else if (old == fsStayOnTop)
      SetWindowPos(handle_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

namespace {
int ShowCommand(TWindowState s) {
  switch (s) {
    case wsMinimized: return SW_SHOWMINNOACTIVE;
    case wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}
}  // namespace

void TCustomForm::SetWindowState(TWindowState Value) {
  if (window_state_ == Value) return;
  window_state_ = Value;
  if (!ComponentState().Contains(csDesigning) && Showing()) ShowWindow(handle_, ShowCommand(Value));
}

// ---------------------------------------------------------------------------------------
// Showing

void TCustomForm::SetVisible(bool Value) {
  if (form_state_.Contains(fsCreating)) {
    if (Value)
      form_state_.Include(fsVisible);
    else
      form_state_.Exclude(fsVisible);
    return;
  }
  TScrollingWinControl::SetVisible(Value);
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

// Places the form by its Position the first time it is shown.
void TCustomForm::PlaceOnShow() {
  int x = Left();
  int y = Top();
  bool place = false;
  TCustomForm* frame = Application ? Application->MainForm() : nullptr;
  if (position_ == poScreenCenter || (position_ == poMainFormCenter && form_style_ == fsMDIChild && frame)) {
    if (form_style_ == fsMDIChild && frame) {
      x = (frame->ClientWidth() - Width()) / 2;
      y = (frame->ClientHeight() - Height()) / 2;
    } else {
      TRect area = Screen ? Screen->MonitorFromWindow(handle_)->BoundsRect() : TRect{0, 0, 0, 0};
      x = area.Left + (area.Width() - Width()) / 2;
      y = area.Top + (area.Height() - Height()) / 2;
      x = std::max(x, area.Left);
      y = std::max(y, area.Top);
    }
    place = true;
  } else if (position_ == poDesktopCenter && Screen) {
    const TRect desktop = Screen->DesktopRect();
    x = desktop.Left + desktop.Width() / 2 - Width() / 2;
    y = desktop.Top + desktop.Height() / 2 - Height() / 2;
    x = std::max(x, desktop.Left);
    y = std::max(y, desktop.Top);
    place = true;
  } else if (position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
    TCustomForm* center = position_ == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : frame;
    if (!center || center == this) center = frame;
    if (center && center != this && center->HandleAllocated()) {
      x = center->Left() + (center->Width() - Width()) / 2;
      y = center->Top() + (center->Height() - Height()) / 2;
      place = true;
    }
  }
  if (place) SetBounds(x, y, Width(), Height());
  position_ = poDesigned;
}

void TCustomForm::ShowingChanged() {
  if (form_state_.Contains(fsShowing)) throw EInvalidOperation(L"Cannot change Visible in OnShow or OnHide");
  form_state_.Include(fsShowing);
  if (Application) Application->UpdateVisible();
  try {
    if (Showing()) {
      DoShow();
      PlaceOnShow();
      if (form_style_ == fsMDIChild) {
        ShowWindow(handle_, window_state_ == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
      } else {
        ShowWindow(handle_, ShowCommand(window_state_));
      }
    } else {
      DoHide();
      if (handle_) ShowWindow(handle_, SW_HIDE);
    }
  } catch (...) {
    form_state_.Exclude(fsShowing);
    throw;
  }
  form_state_.Exclude(fsShowing);
  if (form_style_ == fsMDIChild) RefreshMDIWindowMenu();
}

// The frame's window menu lists the shown children: it is told when one shows or hides.
void TCustomForm::RefreshMDIWindowMenu() {
  TCustomForm* frame = Application ? Application->MainForm() : nullptr;
  if (!frame || !frame->client_handle_ || !frame->HandleAllocated()) return;
  SendMessageW(frame->client_handle_, WM_MDIREFRESHMENU, 0, 0);
  DrawMenuBar(frame->handle_);
}

// ---------------------------------------------------------------------------------------
// Activation and focus

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::SetActive(bool Value) {
  active_ = Value;
  MergeMenu(Value);
  if (!Value) return;
  if (!active_control_ && !ComponentState().Contains(csDesigning))
    active_control_ = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  TWinControl* target = active_control_ ? active_control_ : this;
  if (!target->HandleAllocated() && !Showing()) return;
  ::SetFocus(target->Handle());
  if (IsFocusWindow(target->Handle())) target->Perform(CM_UIACTIVATE, 0, 0);
}

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetFocus() {
  if (active_) return;
  if (!(Visible() && Enabled())) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  SetWindowFocus();
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (active_control_ == Control) return;
  if (Control && (Control == this || GetParentForm(Control) != this ||
                  (!ComponentState().Contains(csLoading) && !Control->CanFocus())))
    throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  active_control_ = Control;
  if (!ComponentState().Contains(csLoading) && active_) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool wasActive = active_;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && focused_control_ && Control->ContainsControl(focused_control_))
    focused_control_ = Control->Parent();
  if (active_control_ && Control->ContainsControl(active_control_)) active_control_ = nullptr;
}

// A window of the form got the focus: CM_EXIT to the controls it left, CM_ENTER to those it
// entered (outermost first), CM_FOCUSCHANGED to all; CM_DEACTIVATE / CM_ACTIVATE when the
// focus moved between forms. A handler that moves the focus again ends this round.
bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  // While minimised its controls could not take the focus: restored, the system gives it to the
  // form's own window, and the keys typed then would go nowhere.
  if (std::exchange(refocus_control_, false) && Control == this && active_control_ &&
      active_control_->HandleAllocated() && IsWindowVisible(active_control_->Handle()) &&
      IsWindowEnabled(active_control_->Handle())) {
    ::SetFocus(active_control_->Handle());
    if (IsFocusWindow(active_control_->Handle())) return false;
  }
  ++focus_count_;
  active_control_ = Control != this ? Control : nullptr;
  if (Screen) Screen->SetActive(this, Control);
  if (Control->ControlState().Contains(csFocusing)) return false;
  auto sendFocusMessage = [this](HWND wnd, UINT msg) {
    const int count = focus_count_;
    SendMessageW(wnd, msg, 0, 0);
    return focus_count_ == count;
  };
  Control->SetControlState(Control->ControlState() + TControlState{csFocusing});
  struct Restore {
    TWinControl* c;
    ~Restore() { c->SetControlState(c->ControlState() - TControlState{csFocusing}); }
  } restore{Control};
  if (Screen && Screen->focused_form_ != this) {
    if (TCustomForm* old = Screen->focused_form_) {
      Screen->focused_form_ = nullptr;
      if (old->HandleAllocated() && !sendFocusMessage(old->handle_, CM_DEACTIVATE)) return false;
    }
    Screen->focused_form_ = this;
    if (!sendFocusMessage(Handle(), CM_ACTIVATE)) return false;
  }
  if (!focused_control_) focused_control_ = this;
  if (focused_control_ != Control) {
    while (focused_control_ && !focused_control_->ContainsControl(Control)) {
      TWinControl* leaving = focused_control_;
      focused_control_ = leaving->Parent();
      if (leaving->HandleAllocated() && !sendFocusMessage(leaving->handle_, CM_EXIT)) return false;
    }
    while (focused_control_ != Control) {
      TWinControl* entering = Control;
      while (entering->Parent() != focused_control_) entering = entering->Parent();
      focused_control_ = entering;
      if (!sendFocusMessage(entering->Handle(), CM_ENTER)) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  }
  return true;
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (active_ && active_control_) active_control_->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
  if (form_style_ == fsMDIForm)
    if (TCustomForm* child = ActiveMDIChild()) child->SendCancelMode(Sender);
}

bool TCustomForm::WantChildKey(TControl*, TMessage&) { return false; }

namespace {

// A radio button the arrow keys reached is chosen, as the system's dialogs choose it: it is
// told it was clicked. A button already chosen, or any other control, is left alone.
void ChooseFocusedRadioButton() {
  const HWND focus = GetFocus();
  if (!focus || !(SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) return;
  if (SendMessageW(focus, BM_GETCHECK, 0, 0) == BST_CHECKED) return;
  SendMessageW(GetParent(focus), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
               reinterpret_cast<LPARAM>(focus));
}

}  // namespace

// Tab and arrow keys move the focus between the form's controls.
void TCustomForm::HandleDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(active_control_, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (active_control_ && active_control_->Parent()) {
          active_control_->Parent()->SelectNext(active_control_,
                                                Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
          ChooseFocusedRadioButton();
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TScrollingWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------
// Closing

bool TCustomForm::CloseQuery() {
  if (form_style_ == fsMDIForm) {
    for (int i = 0; i < MDIChildCount(); ++i)
      if (!MDIChildren(i)->CloseQuery()) return false;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (form_state_.Contains(fsModal)) {
    modal_result_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (form_style_ == fsMDIChild) action = border_icons_.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this)
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() { PostMessageW(Handle(), CM_RELEASE, 0, 0); }

namespace {

struct DisabledWindows {
  HWND keep = nullptr;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableWindow(HWND wnd, LPARAM data) {
  auto* d = reinterpret_cast<DisabledWindows*>(data);
  if (wnd != d->keep && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    d->windows.push_back(wnd);
    EnableWindow(wnd, FALSE);
  }
  return TRUE;
}

TModalLoopStep& ModalStep() {
  static TModalLoopStep step;
  return step;
}

}  // namespace

TModalLoopStep SetModalLoopStep(TModalLoopStep Step) {
  TModalLoopStep old = std::move(ModalStep());
  ModalStep() = std::move(Step);
  return old;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone) modal_result_ = mrNone;
  if (action == caFree) Release();
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || form_state_.Contains(fsModal) || form_style_ == fsMDIChild)
    throw EInvalidOperation(L"Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  if (Application) Application->ModalStarted();
  form_state_.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  DisabledWindows disabled;
  disabled.keep = Handle();
  EnumThreadWindows(GetCurrentThreadId(), &DisableWindow, reinterpret_cast<LPARAM>(&disabled));
  int result = mrNone;
  auto finish = [&] {
    for (HWND wnd : disabled.windows)
      if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    form_state_.Exclude(fsModal);
    if (Application) Application->ModalFinished();
  };
  try {
    Show();
    try {
      SendMessageW(Handle(), CM_ACTIVATE, 0, 0);
      modal_result_ = mrNone;
      do {
        if (ModalStep())
          ModalStep()(*this);
        else if (Application)
          Application->HandleMessage();
        if (Application && Application->Terminated())
          modal_result_ = mrCancel;
        else if (modal_result_ != mrNone)
          CloseModal();
      } while (modal_result_ == mrNone);
      result = modal_result_;
      SendMessageW(Handle(), CM_DEACTIVATE, 0, 0);
      if (GetActiveWindow() != Handle()) activeWindow = nullptr;
    } catch (...) {
      Hide();
      throw;
    }
    Hide();
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return result;
}

// ---------------------------------------------------------------------------------------
// MDI

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (form_style_ != fsMDIForm || !client_handle_) return nullptr;
  auto wnd = reinterpret_cast<HWND>(SendMessageW(client_handle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(FindControl(wnd));
}

int TCustomForm::MDIChildCount() const {
  if (form_style_ != fsMDIForm || !client_handle_ || !Screen) return 0;
  int n = 0;
  for (int i = 0; i < Screen->CustomFormCount(); ++i)
    if (Screen->CustomForms(i)->form_style_ == fsMDIChild) ++n;
  return n;
}

TCustomForm* TCustomForm::MDIChildren(int Index) const {
  if (form_style_ == fsMDIForm && client_handle_ && Screen) {
    for (int i = 0; i < Screen->CustomFormCount(); ++i) {
      TCustomForm* f = Screen->CustomForms(i);
      if (f->form_style_ == fsMDIChild && Index-- == 0) return f;
    }
  }
  throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

// ---------------------------------------------------------------------------------------
// Messages

void TCustomForm::PaintWindow(HDC DC) {
  const TCanvasDCLoan loan(*canvas_, DC);
  Paint();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

// A form of its own (no parent) that follows its parent's reading order follows the
// application's.
void TCustomForm::ApplicationBiDiModeChanged() {
  if (!ParentBiDiMode() || Parent() || !Application) return;
  if (BiDiMode() == Application->BiDiMode()) return;
  SetBiDiMode(Application->BiDiMode());
  SetParentBiDiMode(true);
}

void TCustomForm::CMParentBiDiModeChanged(TMessage& Message) {
  if (Parent())
    TWinControl::Dispatch(Message);
  else
    ApplicationBiDiModeChanged();
}

// Routes each message to its handler; what none handles goes to TWinControl.
void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_PARENTBIDIMODECHANGED: return CMParentBiDiModeChanged(Message);
    case WM_CLOSE: return Close();
    case CM_RELEASE:
      TObject::Free(this);  // nothing of this object may be touched after this
      return;
    case WM_ACTIVATE: return WMActivate(LOWORD(Message.WParam));
    case WM_MDIACTIVATE: return WMMDIActivate(Message);
    case WM_SIZE: return WMSize(Message);
    case WM_PAINT: return WMPaint(Message);
    case WM_COMMAND: return WMCommand(Message);
    case WM_MEASUREITEM: return WMMeasureItem(Message, reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam));
    case WM_DRAWITEM: return WMDrawItem(Message, reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
    case WM_INITMENUPOPUP: return WMInitMenuPopup(Message);
    case WM_GETMINMAXINFO: return WMGetMinMaxInfo(Message, reinterpret_cast<MINMAXINFO*>(Message.LParam));
    case WM_QUERYENDSESSION: Message.Result = CloseQuery() ? 1 : 0; return;
    case CM_SHOWINGCHANGED: return ShowingChanged();
    case CM_ACTIVATE: return CMActivate();
    case CM_DEACTIVATE: return Deactivate();
    case CM_DIALOGKEY: return HandleDialogKey(Message);
    case CM_MENUCHANGED: return AttachMenu();
    case CM_ICONCHANGED: return ApplyIcon();
    default: return TScrollingWinControl::Dispatch(Message);
  }
}

void TCustomForm::WMActivate(WORD State) {
  if (form_style_ != fsMDIForm || ComponentState().Contains(csDesigning)) SetActive(State != WA_INACTIVE);
}

// An MDI child is told of its activation by the client, not by WM_ACTIVATE.
void TCustomForm::WMMDIActivate(TMessage& Message) {
  TScrollingWinControl::Dispatch(Message);
  if (form_style_ == fsMDIChild && HandleAllocated()) SetActive(reinterpret_cast<HWND>(Message.LParam) == handle_);
}

void TCustomForm::WMSize(TMessage& Message) {
  const bool wasMinimized = window_state_ == wsMinimized;
  if (Showing()) {
    switch (Message.WParam) {
      case SIZE_RESTORED: window_state_ = wsNormal; break;
      case SIZE_MINIMIZED: window_state_ = wsMinimized; break;
      case SIZE_MAXIMIZED: window_state_ = wsMaximized; break;
      default: break;
    }
  }
  TScrollingWinControl::Dispatch(Message);
  refocus_control_ = wasMinimized && window_state_ != wsMinimized && form_style_ != fsMDIForm;
}

// A form paints itself (OnPaint) even without children.
void TCustomForm::WMPaint(TMessage& Message) {
  SetControlState(ControlState() + TControlState{csCustomPaint});
  struct Restore {
    TCustomForm* f;
    ~Restore() { f->SetControlState(f->ControlState() - TControlState{csCustomPaint}); }
  } restore{this};
  TScrollingWinControl::Dispatch(Message);
}

// From the menu (or its accelerator): the menu's item of that number runs.
void TCustomForm::WMCommand(TMessage& Message) {
  if (Message.LParam == 0 && menu_ && Hooks().DispatchCommand && Hooks().DispatchCommand(menu_, LOWORD(Message.WParam)))
    return;
  TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::WMMeasureItem(TMessage& Message, MEASUREITEMSTRUCT* Item) {
  if (Item && Item->CtlType == ODT_MENU && menu_ && Hooks().MeasureItem && Hooks().MeasureItem(menu_, handle_, *Item)) {
    Message.Result = 1;
    return;
  }
  TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::WMDrawItem(TMessage& Message, const DRAWITEMSTRUCT* Item) {
  if (Item && Item->CtlType == ODT_MENU && menu_ && Hooks().DrawItem && Hooks().DrawItem(menu_, *Item)) {
    Message.Result = 1;
    return;
  }
  TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::WMInitMenuPopup(TMessage& Message) {
  if (menu_ && Hooks().DispatchPopup && Hooks().DispatchPopup(menu_, reinterpret_cast<HMENU>(Message.WParam))) return;
  DefaultHandler(Message);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& Message, MINMAXINFO* Info) {
  DefaultHandler(Message);
  // The user's frame stops at the constraints.
  if (!Info) return;
  const TSizeConstraints* c = Constraints();
  if (c->MinWidth() > 0) Info->ptMinTrackSize.x = c->MinWidth();
  if (c->MinHeight() > 0) Info->ptMinTrackSize.y = c->MinHeight();
  if (c->MaxWidth() > 0) Info->ptMaxTrackSize.x = c->MaxWidth();
  if (c->MaxHeight() > 0) Info->ptMaxTrackSize.y = c->MaxHeight();
}

// Activated while its description is read: Activate runs once it is loaded.
void TCustomForm::CMActivate() {
  if (ComponentState().Contains(csReading))
    form_state_.Include(fsActivated);
  else
    Activate();
}

void TCustomForm::DefaultHandler(TMessage& Message) {
  if (HandleAllocated() && client_handle_ && form_style_ == fsMDIForm) {
    if (Message.Msg == ControlLookupMessage()) {
      Message.Result = reinterpret_cast<LRESULT>(static_cast<TWinControl*>(this));
      return;
    }
    Message.Result = DefFrameProcW(handle_, client_handle_, Message.Msg, Message.WParam, Message.LParam);
    if (Message.Msg == WM_DESTROY) client_handle_ = nullptr;
    return;
  }
  TScrollingWinControl::DefaultHandler(Message);
}

}  // namespace vcl
