// The skinned form's window procedure (three stages), its hook in front of the form object's
// WindowProc, the MDI client's procedure, non-client mouse routing and the caption buttons'
// actions.
#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/forms/ControlMapping.h"
#include "skin_classic/forms/MenuTracking.h"
#include "skin_classic/forms/SkinMenuPaint.h"
#include "skin_classic/forms/WinSkinForm.h"
#include "skin_classic/forms/WinSkinMenu.h"

namespace winskin {
namespace {

// The system commands the skinned system menu sends as WM_COMMAND.
bool IsSystemCommand(WORD Id) {
  switch (Id & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE: return (Id & 0x000F) == 0;
    default: return false;
  }
}

constexpr UINT kRedrawEverything = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

// The signed screen point of a mouse message.
TPoint MessagePoint(LPARAM LParam) {
  return TPoint(static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam)));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The window procedure

void TWinSkinForm::FormWndProc(vcl::TMessage& Message) {
  const vcl::TMemoryContextScope contexts;  // the pictures' DCs go when the message is done
  // Nothing is drawn before the set-up.
  if (State == TSkinFormState::Created && Message.Msg == WM_NCPAINT) {
    Message.Result = 0;
    return;
  }
  if (Stage1(Message)) return;
  // A window docked in another gets nothing of the frame stages.
  if (IsChild && !IsMDIChild()) return CallSaved(Message);
  if (Stage2(Message)) return;
  if (MaximizedMDIChild() || State == TSkinFormState::Created) return CallSaved(Message);
  Stage3(Message);
}

bool TWinSkinForm::Stage1(vcl::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    case WM_NCDESTROY: return WMNCDestroy(m);
    case WM_NCACTIVATE: return WMNCActivateBeforeFrame(m);
    case kThemedCaption: m.Result = 0; return true;
    case WM_INITMENUPOPUP: return WMInitMenuPopup(m);
    case WM_CTLCOLORBTN: return WMCtlColorBtn(m);
    case WM_CTLCOLORSTATIC: return WMCtlColorStatic(m);
    case SKM_FORMSKINNED: return SKMFormSkinned(m);
    case SKM_CONTROLRECREATED: return SKMControlRecreated(m);
    case SKM_QUERYNOSKIN: return SKMQueryNoSkin(m);
    default: return PassUnlessFrameSkinned(m);
  }
}

// Without the skin's frame the window's own procedure has every message the first stage
// leaves.
bool TWinSkinForm::PassUnlessFrameSkinned(vcl::TMessage& m) {
  if (SkinFrame) return false;
  CallSaved(m);
  return true;
}

bool TWinSkinForm::WMEraseBkgnd(vcl::TMessage& m) {
  CallSaved(m);
  if (!FormObject && SkinData) {
    RECT r{};
    GetClientRect(Window, &r);
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, SkinData->Skin()->Brush());
    m.Result = 1;
  }
  return true;
}

bool TWinSkinForm::WMNCDestroy(vcl::TMessage& m) {
  State = TSkinFormState::Destroying;
  Detach();
  CallSaved(m);
  State = TSkinFormState::Destroyed;
  return true;
}

bool TWinSkinForm::WMNCActivateBeforeFrame(vcl::TMessage& m) {
  if (State == TSkinFormState::Created && !IsMDIChild()) {
    m.Result = 0;
    return true;
  }
  if (!SkinFrame) {
    CallSaved(m);
    return true;
  }
  return false;
}

bool TWinSkinForm::WMInitMenuPopup(vcl::TMessage& m) {
  const auto popup = reinterpret_cast<HMENU>(m.WParam);
  if (TSkinManage* manager = SkinManager())
    manager->SetPopupKind(popup == SystemMenu ? TPopupKind::SystemMenu : TPopupKind::MenuBar);
  CallSaved(m);
  // The form may have rebuilt the menu just now: a drop-down of the bar is owner-drawn
  // as it opens.
  if (MenuTracking().Form == this && popup != SystemMenu) MenuTracking().MakeOwnerDrawn(popup);
  return true;
}

bool TWinSkinForm::WMCtlColorBtn(vcl::TMessage& m) {
  CallSaved(m);
  if (!FormObject) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
  return true;
}

bool TWinSkinForm::WMCtlColorStatic(vcl::TMessage& m) {
  CallSaved(m);
  if (!FormObject && SkinData) {
    SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
    m.Result = reinterpret_cast<LRESULT>(SkinData->Skin()->Brush());
  }
  return true;
}

bool TWinSkinForm::SKMFormSkinned(vcl::TMessage& m) {
  if (m.LParam != kFormSkinnedParam) return PassUnlessFrameSkinned(m);
  FormSkinned();
  m.Result = 0;
  return true;
}

bool TWinSkinForm::SKMControlRecreated(vcl::TMessage& m) {
  if (mapping_) mapping_->ControlRecreated(reinterpret_cast<HWND>(m.WParam));
  m.Result = 0;
  return true;
}

bool TWinSkinForm::SKMQueryNoSkin(vcl::TMessage& m) {
  m.Result = 1;
  PostMessageW(Window, kEngineSkinned, 0, kEngineMark);
  return true;
}

bool TWinSkinForm::Stage2(vcl::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE: WMSize(m); return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE: Active = (m.WParam & 0xFF) != 0; return false;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(m); return true;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return true;
    case WM_SETICON: WMSetIcon(m); return true;
    case WM_SETTEXT:
      // A library form's text is the form hook's; a window without a form object's is here.
      if (FormObject) return false;
      CallSaved(m);
      CaptionChanged();
      return true;
    case WM_COMMAND: WMCommand(m); return true;
    case WM_SYSCOMMAND: SysCommand(m); return true;
    case SKM_OPENMENUAT: SKMOpenMenuAt(m); return true;
    case vcl::CM_MENUCHANGED: MenuChanged(m, false); return true;
    default: return false;
  }
}

void TWinSkinForm::WMSize(vcl::TMessage& m) {
  TSkinManage* manager = SkinManager();
  CallSaved(m);
  switch (m.WParam) {
    case SIZE_RESTORED: ShowState = TShowState::Normal; break;
    case SIZE_MINIMIZED: ShowState = TShowState::Minimized; break;
    case SIZE_MAXIMIZED: ShowState = TShowState::Maximized; break;
    default: break;
  }
  // However a child came to be maximised or left it (its caption, its system menu, the
  // program), the MDI children follow: no regions while one is maximised, regions again
  // once none is.
  if (IsMDIChild() && manager && State == TSkinFormState::Ready) {
    if (ShowState == TShowState::Maximized) {
      manager->SetMDIMaximized(true);
    } else if (manager->MDIMaximized()) {
      BOOL maximized = FALSE;
      const auto active = reinterpret_cast<HWND>(
          SendMessageW(GetParent(Window), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
      if (!active || !maximized || active == Window) manager->SetMDIMaximized(false);
    }
  }
  const bool mdiMaximized = IsMDIChild() && manager && manager->MDIMaximized();
  const bool mdiOther = IsMDIChild() && (mdiMaximized || ShowState == TShowState::Maximized);
  if (!mdiOther && (State == TSkinFormState::Ready || State == TSkinFormState::Reapplying)) UpdateRegion();
}

void TWinSkinForm::WMGetMinMaxInfo(vcl::TMessage& m) {
  CallSaved(m);
  ReadShowState();
  if (ShowState == TShowState::Minimized)
    SetSystemStyles(true);
  else if (IsMDIChild())
    SetSystemStyles(ShowState == TShowState::Maximized);
  else
    SetSystemStyles(false);
}

void TWinSkinForm::WMWindowPosChanged(vcl::TMessage& m) {
  ReadShowState();
  CallSaved(m);
  // A window without a form object tells of a menu given to it (its first, or one replacing the
  // menu the bar shows) only by the frame change that follows: the bar takes it.
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
  if (!FormObject && pos && (pos->flags & SWP_FRAMECHANGED) && State == TSkinFormState::Ready && IsWindow(Window) &&
      GetMenu(Window))
    FollowMenu(true);
}

void TWinSkinForm::WMSetIcon(vcl::TMessage& m) {
  CallSaved(m);
  MakeIcon();
  CaptionChanged();
}

// The system draws its own caption over the frame when the window's text or icon changes:
// the skin's frame is painted again.
void TWinSkinForm::CaptionChanged() {
  if (!IsWindowVisible(Window)) return;
  if (ShowState == TShowState::Maximized && SkinManager() && SkinManager()->MDIClient())
    PostMessageW(SkinManager()->MDIClient(), SKM_MDIREDRAW, reinterpret_cast<WPARAM>(Window), 0);
  if (ShowState == TShowState::Minimized)
    PaintFrame(nullptr);
  else
    FrameChanged();
}

// The skinned system menu's commands come as WM_COMMAND: they go on as system commands.
void TWinSkinForm::WMCommand(vcl::TMessage& m) {
  if (m.LParam == 0 && HIWORD(m.WParam) == 0 && IsSystemCommand(LOWORD(m.WParam))) {
    PostMessageW(Window, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
    m.Result = 0;
  } else {
    CallSaved(m);
  }
}

void TWinSkinForm::SKMOpenMenuAt(vcl::TMessage& m) {
  if (menu_bar_) {
    const TPoint p = MessagePoint(m.LParam);
    if (TMenuBtn* item = menu_bar_->ItemAt(ToWindowPoint(p.X, p.Y))) OpenBarItem(item, false);
  }
  m.Result = 0;
}

// The form's menu changed, through its window (the menu component's own changes) or through its
// WindowProc (a menu given to the form, or taken away): the form's handling runs without frame
// painting, then the bar follows the window's menu.
void TWinSkinForm::MenuChanged(vcl::TMessage& m, bool FromHook) {
  SkinData->SetFramePainting(false);
  if (FromHook)
    form_hook_.CallPrevious(m);
  else
    CallSaved(m);
  SkinData->SetFramePainting(true);
  FollowMenu(false);
}

// A menu on the window (or the one Given) goes to the bar (a first one makes the bar and its
// band), and off the window; a bar whose form has no menu any more goes with its band. Always:
// the bar takes the new menu even while the skin data's MenuUpdate is off.
void TWinSkinForm::FollowMenu(bool Always, HMENU Given) {
  if (!SkinFrame || IsMDIChild() || !IsWindow(Window)) return;
  if (Given && !IsMenu(Given)) Given = nullptr;
  if (HMENU menu = Given ? Given : GetMenu(Window)) {
    if (!menu_bar_) {
      menu_bar_ = std::make_unique<TWinSkinMenu>(this);
      MenuHeight = GetSystemMetrics(SM_CYMENU);
      native_menu_removed_ = menu_bar_->LoadItems(menu);
      if (!native_menu_removed_) {
        // A library form's window with a menu that is not its menu component's keeps it.
        menu_bar_.reset();
        MenuHeight = 0;
        return;
      }
      FrameChanged();
      return;
    }
    if (Always || SkinData->MenuUpdate()) {
      native_menu_removed_ = menu_bar_->LoadItems(menu) || native_menu_removed_;
      PaintFrame(nullptr);
    }
    SetMenu(Window, nullptr);
    return;
  }
  if (menu_bar_ && FormObject && !menu_bar_->Menu()) {
    DropMenuBar();
    MenuHeight = 0;
    native_menu_removed_ = false;
    FrameChanged();
  }
}

void TWinSkinForm::SysCommand(vcl::TMessage& m) {
  TSkinManage* manager = SkinManager();
  const WPARAM command = m.WParam & 0xFFF0;
  if (!Tracking && command == SC_KEYMENU) {
    const auto key = static_cast<wchar_t>(m.LParam);
    if (key == L' ') {
      ShowSystemMenu(SystemMenuPoint());
      m.Result = 0;
      return;
    }
    if (key != L'-' && menu_bar_ && GetCapture() == nullptr && menu_bar_->Count() > 0) {
      TMenuBtn* item = key == 0 ? menu_bar_->Items().front().get() : menu_bar_->FindAccel(key);
      if (item) {
        OpenBarItem(item, true);
        m.Result = 1;
        return;
      }
    }
  }
  switch (command) {
    case SC_MINIMIZE:
      ShowState = TShowState::Minimized;
      if (IsMDIChild()) SetSystemStyles(true);
      break;
    case SC_MAXIMIZE: ShowState = TShowState::Maximized; break;
    case SC_RESTORE:
      ShowState = TShowState::Normal;
      if (IsMDIChild()) {
        SetSystemStyles(false);
        if (manager && manager->MDIMaximized()) manager->SetMDIMaximized(false);
      }
      break;
    default: break;
  }
  CallSaved(m);
}

void TWinSkinForm::Stage3(vcl::TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE: NCCalcSize(m); return;
    case WM_NCPAINT: WMNCPaint(m); return;
    case WM_NCACTIVATE: NCActivate(m); return;
    case WM_NCHITTEST: NCHitTest(m); return;
    case WM_NCMOUSEMOVE: NCMouseMove(m); return;
    case WM_NCLBUTTONDOWN: NCLButtonDown(m); return;
    case WM_NCLBUTTONUP: NCLButtonUp(m); return;
    case WM_NCLBUTTONDBLCLK: NCLButtonDblClk(m); return;
    case WM_NCRBUTTONDOWN: NCRButtonDown(m); return;
    case WM_MEASUREITEM: WMMeasureItem(m); return;
    case WM_DRAWITEM: WMDrawItem(m); return;
    case WM_MENUSELECT: WMMenuSelect(m); return;
    case SKM_PAINTFRAME: PaintFrame(nullptr); m.Result = 0; return;
    default: CallSaved(m); return;
  }
}

void TWinSkinForm::WMNCPaint(vcl::TMessage& m) {
  SetSysMenuStyle(true);
  if (!SkinData->FramePainting()) {
    m.Result = 0;
  } else if (MaximizedMDIChild() || BorderKind == TBorderKind::None) {
    CallSaved(m);
  } else {
    // A size change paints the frame before the form hears of the new size: the region is
    // cut for it first, without a repaint of its own, as the frame is painted now (the form's
    // size handler then finds it cut).
    if (!IsMDIChild() && HasRegion && ShowState == TShowState::Normal && !IsIconic(Window))
      UpdateRegion(false, false);
    PaintFrame(nullptr);
    m.Result = 0;
  }
}

void TWinSkinForm::WMMeasureItem(vcl::TMessage& m) {
  if (!MenuMeasureItem(m)) CallSaved(m);
}

void TWinSkinForm::WMDrawItem(vcl::TMessage& m) {
  if (!MenuDrawItem(m)) CallSaved(m);
}

void TWinSkinForm::WMMenuSelect(vcl::TMessage& m) {
  if (MenuTracking().Form == this) MenuTracking().MenuSelect(m.WParam, m.LParam);
  CallSaved(m);
}

void TWinSkinForm::NCCalcSize(vcl::TMessage& m) {
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  // The new window rectangle, before the saved procedure turns it into its own client area.
  const RECT window = m.WParam && params ? params->rgrc[0] : RECT{};
  CallSaved(m);
  if (!m.WParam || !params) {
    m.Result = 0;
    return;
  }
  const bool mdiNotNormal = IsMDIChild() && ShowState != TShowState::Normal;
  if (!mdiNotNormal && BorderKind != TBorderKind::None) {
    RECT client{window.left + LeftWidth, window.top + TopHeight + MenuHeight, window.right - RightWidth,
                window.bottom - BottomHeight};
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    params->rgrc[0] = client;
  }
  params->rgrc[1] = params->rgrc[0];
  m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::NCActivate(vcl::TMessage& m) {
  Active = m.WParam != 0;
  hover_timer_->SetEnabled(Active);
  if (!Active) ShowButtonTip(nullptr);
  if (FormKind == TFormKind::MDIParent && MDIClient) SendMessageW(MDIClient, WM_NCACTIVATE, m.WParam, m.LParam);
  if (IsMDIChild()) CallSaved(m);
  if (!MaximizedMDIChild()) PaintFrame(nullptr);
  m.Result = 1;
}

void TWinSkinForm::NCHitTest(vcl::TMessage& m) {
  CallSaved(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return;
  RECT window{};
  GetWindowRect(Window, &window);
  const int y = MessagePoint(m.LParam).Y - window.top;
  if (MenuHeight > 0 && y > TopHeight && y < MenuBandBottom())
    m.Result = HTMENU;
  else if (y > 3)
    m.Result = HTCAPTION;
}

// ---------------------------------------------------------------------------------------
// Non-client mouse

TNCObject* TWinSkinForm::ObjectAt(TPoint P) const {
  for (const auto& b : buttons_)
    if (b->Visible && b->Action() >= 0 && b->BoundsRect.Contains(P)) return b.get();
  return menu_bar_ && P.Y < MenuBandBottom() ? menu_bar_->ItemAt(P) : nullptr;
}

int TWinSkinForm::MenuBandBottom() const {
  RECT window{};
  GetWindowRect(Window, &window);
  return std::min(TopHeight + MenuHeight, static_cast<int>(window.bottom - window.top) - BottomHeight);
}

void TWinSkinForm::NCMouseMove(vcl::TMessage& m) {
  if (!Active) return CallSaved(m);
  const TPoint screen = MessagePoint(m.LParam);
  if (TNCObject* object = ObjectAt(ToWindowPoint(screen.X, screen.Y))) {
    object->MouseHover();
    ShowButtonTip(object->State == TNCState::Hot ? dynamic_cast<TWinSysButton*>(object) : nullptr);
    m.Result = 0;
    return;
  }
  ShowButtonTip(nullptr);
  if (HotObject) {
    TNCObject* hot = HotObject;
    hot->MouseLeave();
    HotObject = nullptr;
  }
  CallSaved(m);
}

void TWinSkinForm::NCLButtonDown(vcl::TMessage& m) {
  const TPoint screen = MessagePoint(m.LParam);
  const TPoint at = ToWindowPoint(screen.X, screen.Y);
  // The engine's click standing for a key is meant for a bar item, shown or not (one cut off
  // under the buttons of a maximised document opens all the same; the button is not pressed).
  TNCObject* object = m.WParam == HTCLIENT && menu_bar_ ? menu_bar_->ItemUnder(at) : nullptr;
  if (!object) object = ObjectAt(at);
  if (object) {
    // A document is no top-level window: its frame is what comes to the foreground (handed
    // the document itself, the system left the frame inactive).
    if (!Active) SetForegroundWindow(GetAncestor(Window, GA_ROOT));
    ShowButtonTip(nullptr);
    // The engine stands for a key with a client hit (an accelerator, Left or Right): such a
    // menu opens with its first item selected; the mouse's own press selects nothing.
    if (auto* item = dynamic_cast<TMenuBtn*>(object))
      OpenBarItem(item, m.WParam == HTCLIENT);
    else
      object->MouseDown();
    m.Result = 0;
    return;
  }
  // A maximised window is not dragged by its caption.
  if (ShowState == TShowState::Maximized && Active && m.WParam == HTCAPTION) m.WParam = HTMENU;
  CallSaved(m);
}

void TWinSkinForm::NCLButtonUp(vcl::TMessage& m) {
  const TPoint screen = MessagePoint(m.LParam);
  TNCObject* object = ObjectAt(ToWindowPoint(screen.X, screen.Y));
  if (!object) return CallSaved(m);
  auto* button = dynamic_cast<TWinSysButton*>(object);
  // Only a button pressed and released on itself acts: a release that lands on a button that
  // is merely hot (the press began elsewhere) does nothing.
  if (button && button == HotObject && button->State == TNCState::Pressed) {
    button->MouseUp();
    RunAction(button, screen);
  }
  m.Result = 0;
}

void TWinSkinForm::NCLButtonDblClk(vcl::TMessage& m) {
  const TPoint screen = MessagePoint(m.LParam);
  if (TNCObject* object = ObjectAt(ToWindowPoint(screen.X, screen.Y))) {
    // A double click on the caption's icon closes the window, as the system menu's Close would:
    // not when that is disabled or missing.
    if (auto* button = dynamic_cast<TWinSysButton*>(object); button && button->IsIcon() && CanCloseFromSystemMenu()) {
      hover_timer_->SetEnabled(false);
      PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    m.Result = 0;
    return;
  }
  if (m.WParam != HTCAPTION) return CallSaved(m);
  if (ShowState == TShowState::Minimized) {
    // A minimised window comes back as it was, maximised or not.
    PostMessageW(Window, WM_SYSCOMMAND, SC_RESTORE, 0);
  } else if (ShowState == TShowState::Maximized) {
    ShowState = TShowState::Normal;
    PostMessageW(Window, WM_SYSCOMMAND, SC_RESTORE, 0);
  } else if (StyleBits & kHasMaximizeBox) {
    ShowState = TShowState::Maximized;
    PostMessageW(Window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else {
    return CallSaved(m);
  }
  m.Result = 0;
}

void TWinSkinForm::NCRButtonDown(vcl::TMessage& m) {
  if (m.WParam == HTCAPTION && !IsMDIChild()) {
    const TPoint screen = MessagePoint(m.LParam);
    ShowSystemMenu(screen);
    m.Result = 0;
    return;
  }
  CallSaved(m);
}

void TWinSkinForm::RunAction(TWinSysButton* Button, TPoint ScreenPoint) {
  switch (const int action = Button->Action()) {
    case kActionClose: CloseAction(); break;
    case kActionMaximize:
    case kActionMaximize2: MaximizeAction(Button); break;
    case kActionMinimize:
    case kActionMinimize2: MinimizeAction(Button); break;
    case kActionIcon:
    case kActionIcon2:
    case kActionSystemMenu: ShowSystemMenu(TPoint(ScreenPoint.X + 1, ScreenPoint.Y + 1)); break;
    case kActionHelp: PostMessageW(Window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case kActionChildMinimize:
    case kActionChildMinimize2: CommandActiveChild(SC_MINIMIZE); break;
    case kActionChildRestore:
    case kActionChildRestore2: CommandActiveChild(SC_RESTORE); break;
    case kActionChildClose:
    case kActionChildClose2: CommandActiveChild(SC_CLOSE); break;
    default: PostMessageW(Window, SKM_CAPTIONACTION, static_cast<WPARAM>(action), 0); break;
  }
}

// Only a window whose system menu can close it is closed.
void TWinSkinForm::CloseAction() {
  if (GetMenuState(GetSystemMenu(Window, FALSE), SC_CLOSE, MF_BYCOMMAND) == static_cast<UINT>(-1)) return;
  hover_timer_->SetEnabled(false);
  PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TWinSkinForm::MaximizeAction(const TWinSysButton* Button) {
  TSkinManage* manager = SkinManager();
  if (!Button->Enabled) return;
  if (ShowState == TShowState::Maximized) {
    ShowState = TShowState::Normal;
    PostMessageW(Window, WM_SYSCOMMAND, SC_RESTORE, 0);
    return;
  }
  if (IsMDIChild() && manager) manager->SetMDIMaximized(true);
  ShowState = TShowState::Maximized;
  PostMessageW(Window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TWinSkinForm::MinimizeAction(const TWinSysButton* Button) {
  if (!Button->Enabled) return;
  if (ShowState == TShowState::Minimized) {
    PostMessageW(Window, WM_SYSCOMMAND, SC_RESTORE, 0);
    return;
  }
  ShowState = TShowState::Minimized;
  SetSysMenuStyle(false);
  PostMessageW(Window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// A system command to the MDI client's active child, when there is one.
void TWinSkinForm::CommandActiveChild(WPARAM Command) {
  const auto child = MDIClient ? reinterpret_cast<HWND>(SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, 0)) : nullptr;
  if (child) SendMessageW(child, WM_SYSCOMMAND, Command, 0);
}

// ---------------------------------------------------------------------------------------
// The bar's items and the skinned system menu

void TWinSkinForm::OpenBarItem(TMenuBtn* Item, bool SelectFirst) {
  TWinSkinMenu* bar = Item->Bar;
  Item->MouseDown();
  HotObject = Item;
  bar->TrackItem(Item, SelectFirst);
  Item->MouseLeave();
  // A menu that came while the loop ran replaces the items now that none is in use.
  if (bar == menu_bar_.get() && bar->FinishPendingLoad()) PaintFrame(nullptr);
}

// Below the caption's icon, where the system menu belongs; without an icon button, below the
// title at its left end.
TPoint TWinSkinForm::SystemMenuPoint() const {
  RECT window{};
  GetWindowRect(Window, &window);
  for (const auto& b : buttons_)
    if (b->Visible && b->IsSystemMenu() && !b->BoundsRect.IsEmpty())
      return TPoint(window.left + b->BoundsRect.Left, window.top + b->BoundsRect.Bottom);
  return TPoint(window.left + LeftWidth, window.top + TopHeight);
}

void TWinSkinForm::ShowSystemMenu(TPoint ScreenPoint) {
  // A second request within the double-click time, however the menu is asked for (a double
  // click on the icon button), closes the window instead, when its system menu may close it.
  const DWORD now = GetTickCount();
  if (sys_menu_tick_ && now - sys_menu_tick_ < double_click_time_ && CanCloseFromSystemMenu()) {
    sys_menu_tick_ = 0;
    hover_timer_->SetEnabled(false);
    PostMessageW(Window, WM_CLOSE, 0, 0);
    return;
  }
  sys_menu_tick_ = now;
  if (sys_popup_open_) return;
  if (TSkinManage* manager = SkinManager()) manager->SetPopupKind(TPopupKind::SystemMenu);
  BuildSystemMenu();
  if (!sys_popup_) return;
  const TMenuLoopScope loop;
  sys_popup_open_ = true;
  sys_popup_->Popup(ScreenPoint.X, ScreenPoint.Y);
  sys_popup_open_ = false;
}

bool TWinSkinForm::CanCloseFromSystemMenu() const {
  const UINT state = GetMenuState(GetSystemMenu(Window, FALSE), SC_CLOSE, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

// One item per item of the window's system menu, enabled by the window's state, with the
// engine's images for restore, maximise, minimise and close.
void TWinSkinForm::BuildSystemMenu() {
  HMENU system = GetSystemMenu(Window, FALSE);
  if (!system || !SkinData) return;
  if (!sys_popup_) {
    sys_popup_ = new vcl::TPopupMenu(this);
    sys_popup_->SetTag(kSystemMenuTag);
    sys_popup_->SetOwnerDraw(true);
  }
  sys_popup_->SetImages(SkinData->MenuImages());
  sys_popup_->Items()->Clear();
  const bool maximized = ShowState == TShowState::Maximized, minimized = ShowState == TShowState::Minimized;
  const int count = GetMenuItemCount(system);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text) - 1);
    if (!GetMenuItemInfoW(system, static_cast<UINT>(i), TRUE, &info)) continue;
    auto* item = new vcl::TMenuItem(sys_popup_);
    const bool separator = (info.fType & MFT_SEPARATOR) || text[0] == 0;
    item->SetCaption(separator ? String(vcl::cLineCaption) : String(text));
    item->SetTag(static_cast<intptr_t>(info.wID));
    item->SetEnabled(!(info.fState & (MFS_GRAYED | MFS_DISABLED)));
    item->SetChecked(info.fState & MFS_CHECKED);
    switch (info.wID & 0xFFF0) {
      case SC_SIZE: item->SetEnabled(!maximized && Sizeable); break;
      case SC_MOVE: item->SetEnabled(!maximized); break;
      case SC_MINIMIZE:
        item->SetImageIndex(2);
        item->SetEnabled(!minimized && (StyleBits & kHasMinimizeBox));
        break;
      case SC_MAXIMIZE:
        item->SetImageIndex(1);
        item->SetEnabled(!maximized && (StyleBits & kHasMaximizeBox));
        break;
      case SC_CLOSE: item->SetImageIndex(3); break;
      case SC_RESTORE:
        item->SetImageIndex(0);
        item->SetEnabled(ShowState != TShowState::Normal);
        break;
      default: break;
    }
    item->OnClick = vcl::TNotifyEvent::Bind<&TWinSkinForm::SysMenuClick>(this);
    menu_painter_->Attach(item);
    sys_popup_->Items()->Add(item);
  }
}

void TWinSkinForm::SysMenuClick(vcl::TObject* Sender) {
  if (auto* item = dynamic_cast<vcl::TMenuItem*>(Sender))
    PostMessageW(Window, WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}

// ---------------------------------------------------------------------------------------
// Owner-drawn items of the bar's drop-downs: the TMainMenu's items without draw events of their
// own, and the items of a menu the window has without one (made owner-drawn by the bar).

bool TWinSkinForm::MenuMeasureItem(vcl::TMessage& m) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (!measure || measure->CtlType != ODT_MENU || !menu_painter_) return false;
  int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
  vcl::TMainMenu* main = menu_bar_ ? menu_bar_->Menu() : nullptr;
  if (vcl::TMenuItem* item = main ? main->FindItem(measure->itemID, vcl::fkCommand) : nullptr) {
    if (item->OnMeasureItem || item->OnAdvancedDrawItem || item->OnDrawItem) return false;
    menu_painter_->MeasureBarItem(item, width, height);
  } else {
    TMenuItemLook look;
    if (!CurrentMenu || !LookOf(CurrentMenu, measure->itemID, look)) return false;
    menu_painter_->MeasureBarItem(look, width, height);
  }
  measure->itemWidth = static_cast<UINT>(std::max(width, 0));
  measure->itemHeight = static_cast<UINT>(std::max(height, 0));
  m.Result = TRUE;
  return true;
}

bool TWinSkinForm::MenuDrawItem(vcl::TMessage& m) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (!draw || draw->CtlType != ODT_MENU || !menu_painter_) return false;
  const auto menu = reinterpret_cast<HMENU>(draw->hwndItem);
  TMenuItemLook look;
  vcl::TMainMenu* main = menu_bar_ ? menu_bar_->Menu() : nullptr;
  if (vcl::TMenuItem* item = main ? main->FindItem(draw->itemID, vcl::fkCommand) : nullptr) {
    if (item->OnMeasureItem || item->OnAdvancedDrawItem || item->OnDrawItem) return false;
    look = LookOf(item, main);
  } else if (!CurrentMenu || !LookOf(menu, draw->itemID, look)) {
    return false;
  }
  menu_painter_->DrawLook(draw->hDC, TRect(draw->rcItem), look, draw->itemState & ODS_SELECTED, menu);
  m.Result = TRUE;
  return true;
}

void TWinSkinForm::HoverTick(vcl::TObject*) {
  if (!Active || Tracking || !HotObject) {
    if (!HotObject) ShowButtonTip(nullptr);
    return;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  if (!HotObject->BoundsRect.Contains(ToWindowPoint(cursor.x, cursor.y))) {
    TNCObject* hot = HotObject;
    hot->MouseLeave();
    HotObject = nullptr;
    ShowButtonTip(nullptr);
  }
}

namespace {

// The system command a caption button's action stands for (0: none).
UINT ButtonCommand(int Action, TShowState Show) {
  switch (Action) {
    case kActionClose: return SC_CLOSE;
    case kActionMaximize:
    case kActionMaximize2: return Show == TShowState::Maximized ? SC_RESTORE : SC_MAXIMIZE;
    case kActionMinimize:
    case kActionMinimize2: return Show == TShowState::Minimized ? SC_RESTORE : SC_MINIMIZE;
    default: return 0;
  }
}

}  // namespace

void TWinSkinForm::ShowButtonTip(TWinSysButton* Button) {
  if (Button == tip_button_ && (Button != nullptr) == info_window_.Shown()) return;
  tip_button_ = Button;
  const UINT command = Button ? ButtonCommand(Button->Action(), ShowState) : 0;
  wchar_t text[128] = {};
  if (!command || GetMenuStringW(GetSystemMenu(Window, FALSE), command, text, 127, MF_BYCOMMAND) <= 0) {
    info_window_.Hide();
    return;
  }
  const String name = MenuItemName(text);
  RECT window{};
  GetWindowRect(Window, &window);
  info_window_.Show(Window, name, POINT{window.left + Button->BoundsRect.Left, window.top + Button->BoundsRect.Bottom + 2});
}

// ---------------------------------------------------------------------------------------
// The form hook (the form object's WindowProc while skinned)

void TWinSkinForm::FormHook(vcl::TMessage& m) {
  const vcl::TMemoryContextScope contexts;
  switch (m.Msg) {
    case WM_SETTEXT: HookSetText(m); return;
    case vcl::CM_DIALOGCHAR: DialogChar(m); return;
    case vcl::CM_MENUCHANGED:
      if (SkinFrame) return MenuChanged(m, true);
      form_hook_.CallPrevious(m);
      return;
    case SKM_REAPPLY: Reapply(); return;
    case kEnginePaintFrame: EnginePaintFrame(m); return;
    case kEngineQuerySkinned: m.Result = m.LParam == kEngineMark ? kEngineMark : 1; return;
    default: form_hook_.CallPrevious(m); return;
  }
}

void TWinSkinForm::HookSetText(vcl::TMessage& m) {
  form_hook_.CallPrevious(m);
  CaptionChanged();
}

// The other engine asks for the frame painted into its DC.
void TWinSkinForm::EnginePaintFrame(vcl::TMessage& m) {
  if (m.LParam != kEngineMark) return;
  if (m.WParam) PaintFrame(reinterpret_cast<HDC>(m.WParam));
  m.Result = kEngineMark;
}

// Alt and a letter: the form's own controls first, then the bar item with that accelerator
// (clicked as the mouse would); otherwise the form that may have it: an MDI child's frame, or
// the main form, while that form takes input (not under a modal dialog).
void TWinSkinForm::DialogChar(vcl::TMessage& m) {
  form_hook_.CallPrevious(m);
  if (m.Result != 0) return;
  if (menu_bar_ && vcl::KeyDataToShiftState(m.LParam) == vcl::TShiftState{vcl::ssAlt}) {
    if (TMenuBtn* item = menu_bar_->FindAccel(static_cast<wchar_t>(m.WParam))) {
      RECT window{};
      GetWindowRect(Window, &window);
      PostMessageW(Window, WM_NCLBUTTONDOWN, HTCLIENT,
                   MAKELPARAM(window.left + item->BoundsRect.Left + 1, window.top + item->BoundsRect.Top + 1));
      m.Result = 1;
      return;
    }
  }
  vcl::TWinControl* target = nullptr;
  if (IsMDIChild()) {
    if (MDIClient) target = TSkinManage::FindFormObject(GetParent(MDIClient));
  } else if (vcl::Application && FormObject != vcl::Application->MainForm()) {
    target = vcl::Application->MainForm();
  }
  if (target && target != FormObject && target->HandleAllocated() && IsWindowEnabled(target->Handle()))
    m.Result = target->Perform(vcl::CM_DIALOGCHAR, m.WParam, m.LParam);
}

// ---------------------------------------------------------------------------------------
// The MDI client's procedure (MDI frames only)

void TWinSkinForm::MDIClientProc(vcl::TMessage& m) {
  const vcl::TMemoryContextScope contexts;
  switch (m.Msg) {
    case WM_NCCALCSIZE: MDIClientNCCalcSize(m); return;
    case WM_MDICREATE: SkinData->SetMenuUpdate(false); CallSavedMDIClient(m); return;
    case WM_MDIDESTROY: MDIClientDestroyChild(m); return;
    case WM_MDITILE:
    case WM_MDICASCADE: MDIClientArrange(m); return;
    case WM_MDISETMENU: MDIClientSetMenu(m); return;
    case WM_NCDESTROY: CallSavedMDIClient(m); mdi_client_subclass_.Detach(); return;
    case SKM_MDIREDRAW: RedrawWindow(Window, nullptr, nullptr, kRedrawEverything); m.Result = 0; return;
    default: CallSavedMDIClient(m); return;
  }
}

// Without the option the MDI client shows no scroll bars of its own under a skinned frame.
void TWinSkinForm::MDIClientNCCalcSize(vcl::TMessage& m) {
  if (SkinFrame && !SkinData->Options().Contains(xoMDIScrollbar)) {
    const LONG_PTR style = GetWindowLongPtrW(MDIClient, GWL_STYLE);
    if (style & (WS_VSCROLL | WS_HSCROLL))
      SetWindowLongPtrW(MDIClient, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
  }
  CallSavedMDIClient(m);
}

void TWinSkinForm::MDIClientDestroyChild(vcl::TMessage& m) {
  TSkinManage* manager = SkinManager();
  CallSavedMDIClient(m);
  if (!SkinFrame || !manager) return;
  BOOL maximized = FALSE;
  const auto active =
      reinterpret_cast<HWND>(SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  manager->SetMDIMaximized(active && maximized);
  if (menu_bar_ && !active) {
    SkinData->SetMenuUpdate(show_menu_update_);
    PaintFrame(nullptr);
  }
}

void TWinSkinForm::MDIClientArrange(vcl::TMessage& m) {
  TSkinManage* manager = SkinManager();
  if (SkinFrame && manager && manager->MDIMaximized()) manager->SetMDIMaximized(false);
  CallSavedMDIClient(m);
}

void TWinSkinForm::MDIClientSetMenu(vcl::TMessage& m) {
  CallSavedMDIClient(m);
  // The frame's new menu itself: the client does not put a menu on the frame that it holds
  // already (whose items a merging changed), and the skin took that off the frame.
  if (SkinFrame && m.WParam) FollowMenu(true, reinterpret_cast<HMENU>(m.WParam));
}

}  // namespace winskin
