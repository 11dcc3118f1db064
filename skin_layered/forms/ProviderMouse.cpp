// Hit testing on a skinned form's frame and the mouse on its title: which part of the frame
// lies under a point, the one hot title element and the pressed one, the commands of the title
// buttons on their release, the system menu on the icon and the caption, and the rubber frame
// of outline sizing. The provider answers only for what it paints itself (title buttons, icon,
// a maximised MDI child's buttons, the grip); every other point is the form's own procedure's.
#include <algorithm>

#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/RubberFrame.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/GlowWindows.h"

namespace skin_layered {
namespace {

// The pause before the window's own system menu drops from the icon (a double click on the
// icon closes the form instead).
constexpr DWORD kSysMenuDelay = 200;


bool IsChildForm(const vcl::TCustomForm* Form) { return Form->FormStyle() == vcl::fsMDIChild; }
bool Designing(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDesigning); }
bool BeingDestroyed(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDestroying); }

vcl::TPoint MessagePoint(const vcl::TMessage& Message) {
  return vcl::TPoint(vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam));
}

// A press dragged off its title-bar item and released elsewhere lets the item go (a pressed
// item ignores the next press); the item released over, Keep, lets go through its own mouse-up.
void LetGoTitleBarItems(TsTitleBar* Bar, int Keep) {
  if (!Bar) return;
  for (int i = 0; i < Bar->Items()->Count(); ++i) {
    TqvTitleBarItem* item = Bar->Items()->Items(i);
    if (kHitTitleBarItem + i != Keep && !item->MenuDropped) item->Pressed = false;
  }
}

// The screen point of a mouse message: non-client messages carry one, client messages a point
// of the client area.
vcl::TPoint ScreenPointOf(HWND Wnd, const vcl::TMessage& Message) {
  POINT p{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)};
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) ClientToScreen(Wnd, &p);
  return vcl::TPoint(p);
}

// An MDI frame whose active child is maximised with a system menu shows the child's buttons on
// its menu line.
vcl::TCustomForm* ChildWithButtons(vcl::TCustomForm* Form) {
  if (Form->FormStyle() != vcl::fsMDIForm || !Form->Menu()) return nullptr;
  vcl::TCustomForm* child = Form->ActiveMDIChild();
  return child && child->HandleAllocated() && IsZoomed(child->Handle()) &&
                 child->BorderIcons().Contains(vcl::biSystemMenu)
             ? child
             : nullptr;
}

void SendCommand(HWND Wnd, WPARAM Command) { SendMessageW(Wnd, WM_SYSCOMMAND, Command, 0); }

// The border form's hit test of a screen point (-1 without a border window).
int BorderFormHitTest(TsSkinProvider& Provider, vcl::TPoint Screen) {
  TqvBorderForm* border = Provider.ExtBorderForm();
  if (!border) return -1;
  vcl::TMessage test{WM_NCHITTEST, 0, MAKELPARAM(Screen.X, Screen.Y), 0};
  return border->HitTest(test);
}

// The point of the window image lies on the skin's size grip.
bool InGrip(TsSkinProvider& Provider, vcl::TPoint ImagePoint) {
  const TsSkinManager* manager = Provider.SkinManager();
  if (!manager) return false;
  // The grip shown, or the size box between the form's own two scroll bars.
  const TqvShownScrollBars bars = Provider.ScrollBars().Shown();
  if (!Provider.GripVisible() && !(bars.Horz && bars.Vert)) return false;
  const int index = manager->Skin().ConstData.GripImage;
  if (!manager->IsValidImgIndex(index)) return false;
  const vcl::TPoint grip = Provider.WindowImage().GripPos(index);
  return (grip.X != 0 || grip.Y != 0) && ImagePoint.X > grip.X && ImagePoint.Y > grip.Y;
}

// An element's state (0 normal, 1 hot, 2 pressed) without repainting it.
void SetElementState(TsSkinProvider& Provider, int Code, int State) {
  if (IsTitleBarItemHitCode(Code)) return Provider.SetTitleBarItemState(Code - kHitTitleBarItem, State);
  if (TsCaptionButton* element = Provider.ElementByCode(Code)) element->State = State;
}

// A pressed element let go without its command: back to normal, and no longer hot.
void ReleaseElement(TsSkinProvider& Provider, int Code) {
  if (Provider.HotElement == Code) return Provider.SetHotElement(0, true);
  SetElementState(Provider, Code, 0);
  Provider.RepaintElement(Code);
}

// The hit code of a screen point as the frame's mouse sees it: the border window answers for
// the title when there is one.
int ElementAtScreen(TsSkinProvider& Provider, vcl::TPoint Screen) {
  return Provider.ExtBorderForm() ? BorderFormHitTest(Provider, Screen) : Provider.HitTestAt(Screen);
}

// The element was pressed and is still held.
bool ElementPressed(TsSkinProvider& Provider, int Code) {
  if (IsTitleBarItemHitCode(Code)) return TitleButtonPressed() && Provider.HotElement == Code;
  const TsCaptionButton* element = Provider.ElementByCode(Code);
  return element && element->State == 2;
}

// A caption press starts the blended move: the manager's effect on, the form not minimised;
// for a press on the border window also not maximised, with a blend that shows (composition
// off or a blend value below 255) and AllowBlendOnMoving.
bool BlendOnMovingAllowed(TsSkinProvider& Provider, const TsSkinManager& Manager, bool FromBorder) {
  const TqvBlendOnMoving* blend = Manager.AnimEffects()->BlendOnMoving();
  if (!blend->Active() || !Provider.Form->HandleAllocated()) return false;
  const HWND wnd = Provider.Form->Handle();
  if (IsIconic(wnd)) return false;
  // The border window is dragged with the picture: not for a maximised form, and only when the
  // blend shows (with composition, a blend value of 255 changes nothing).
  if (FromBorder)
    return !IsZoomed(wnd) && (!AeroIsEnabled() || blend->BlendValue() < 255) && Provider.AllowBlendOnMoving();
  return true;
}

// A press on the caption icon: the skinned system menu drops below it.
void IconClicked(TsSkinProvider& Provider, vcl::TMessage& Message) {
  Message.Result = 0;
  Provider.CallOldWndProc(Message);
  if (Message.Result != 0) return;
  Provider.SetHotElement(0, true);
  SetTitleButtonPressed(false);
  const HWND wnd = Provider.Form->Handle();
  TsSkinManager* manager = Provider.SkinManager();
  if (!manager || !manager->SkinnedPopups()) {
    // A second click may come meanwhile and close the form: nothing is touched unless the
    // provider still serves its window.
    const TsSkinProvider::TWatch alive = Provider.Watch();
    ProcessMessagesUntil({}, kSysMenuDelay);
    if (!alive || BeingDestroyed(Provider.Form) || (Provider.SkinData && Provider.SkinData->Updating)) return;
  }
  RECT r{};
  GetWindowRect(wnd, &r);
  if (!IsChildForm(Provider.Form)) {
    const int def = DefBorderWidth(wnd, nullptr, false);
    Provider.DropSysMenu(
        vcl::TPoint(r.left + SysBorderWidth(wnd, nullptr, false),
                    r.top + def + Provider.Form->BorderWidth() + Provider.CaptionButtons().IconRect.Height() + def));
  } else if (MDIProvider()) {
    Provider.DropSysMenu(vcl::TPoint(r.left, r.top + Provider.SysCaptionHeightOfForm() + 4 - (IsIconic(wnd) ? 16 : 0)));
  }
}

// A maximised MDI child's button on the frame's menu line takes a press: the child is there,
// and its system menu (when it has one) enables the command.
bool MdiChildButtonEnabled(vcl::TCustomForm* Frame, int Code) {
  vcl::TCustomForm* child = ChildWithButtons(Frame);
  if (!child) return false;
  TsSkinProvider* owner = GetSkinProvider(child);
  const TsSystemMenu* menu = owner ? owner->SystemMenu : nullptr;
  if (Code == kHitMdiMin && menu && !menu->MinimizeEnabled()) return false;
  return !(Code == kHitMdiRestore && menu && !menu->RestoreEnabled());
}

// A press on a title element (a system or MDI child button, a user button, a title bar item):
// it is pressed, and a user button's OnMouseDown runs; a disabled MDI child button takes no
// press. False for other codes.
bool PressTitleElement(TsSkinProvider& Provider, int Code, vcl::TMessage& Message) {
  const bool mdiButton = Code == kHitMdiClose || Code == kHitMdiRestore || Code == kHitMdiMin;
  if (mdiButton || Code == kHitMin || Code == kHitMax || Code == kHitClose || Code == kHitHelp) {
    if (mdiButton && !MdiChildButtonEnabled(Provider.Form, Code)) return true;
    Provider.PressElement(Code);
    Message.Result = 0;
    return true;
  }
  if (IsUserButtonHitCode(Code) && Code - kHitUserButton < Provider.TitleButtons()->Count()) {
    Provider.PressElement(Code);
    TsTitleButton* button = Provider.TitleButtons()->Items(Code - kHitUserButton);
    const vcl::TPoint p = MessagePoint(Message);
    if (button->OnMouseDown) button->OnMouseDown(button, vcl::mbLeft, {}, p.X, p.Y);
    return true;
  }
  if (IsTitleBarItemHitCode(Code)) {
    Provider.PressElement(Code);
    Provider.TitleBarItemMouseDown(Code - kHitTitleBarItem, MessagePoint(Message));
    return true;
  }
  return false;
}

// A maximised form is not moved by its caption: a press there only activates it (true).
bool PressOnMaximizedCaption(TsSkinProvider& Provider, const vcl::TMessage& Message) {
  vcl::TCustomForm* form = Provider.Form;
  if (!IsZoomed(form->Handle())) return false;
  const vcl::TPoint p =
      Provider.WindowImage().ScreenToImage(vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam));
  if (p.Y > Provider.BorderWidthDef() + Provider.CaptionHeight(true)) return false;
  if (!form->Active() && form->Enabled() && form->CanFocus()) form->SetFocus();
  return true;
}

// A press on the caption or an edge that moves or sizes the form: with full-window dragging,
// the rubber frame of outline sizing or the blended move where they apply; else the system's.
void DragFrame(TsSkinProvider& Provider, int Code, bool FromBorder, vcl::TMessage& Message) {
  vcl::TCustomForm* form = Provider.Form;
  BOOL fullDrag = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  // The forms touching this one now are the ones it drags along.
  Provider.UpdateGluedForms();
  if (!fullDrag) return Provider.CallOldWndProc(Message);
  if (Provider.ResizeMode() == rmBorder && form->Enabled() && (Code == HTCAPTION || IsSizingHitCode(Code))) {
    RubberFrame().Start(form->Handle(), Code);
    SetTitleButtonPressed(false);
    return;
  }
  TsSkinManager* manager = Provider.SkinManager();
  if (Code == HTCAPTION && !IsChildForm(form) && manager && BlendOnMovingAllowed(Provider, *manager, FromBorder)) {
    Provider.FormActive = true;
    Provider.SkinData->BGChanged = true;
    if (form->CanFocus()) form->SetFocus();
    Provider.StartBlendOnMoving(true);
    return;
  }
  Provider.CallOldWndProc(Message);
}

// The release over each kind of element: its command runs when it was pressed there.

// A maximised MDI child's button on the frame's menu line: the child's command.
void ReleaseMdiButton(TsSkinProvider& Provider, int Code) {
  const bool pressed = ElementPressed(Provider, Code);
  vcl::TCustomForm* child = Provider.Form->ActiveMDIChild();
  if (!pressed || !child || !child->HandleAllocated()) return;
  const HWND childWnd = child->Handle();
  SetElementState(Provider, Code, 0);
  if (Code == kHitMdiClose) Provider.HotElement = 0;
  SendCommand(childWnd, Code == kHitMdiClose ? SC_CLOSE : Code == kHitMdiRestore ? SC_RESTORE : SC_MINIMIZE);
}

// The help button: the context help mode.
void ReleaseHelp(TsSkinProvider& Provider) {
  if (!ElementPressed(Provider, kHitHelp)) return;
  SetElementState(Provider, kHitHelp, 0);
  const TsSkinProvider::TWatch alive = Provider.Watch();
  SendCommand(Provider.Form->Handle(), SC_CONTEXTHELP);
  if (!alive) return;
  Provider.SetHotElement(0, true);
  if (Provider.SystemMenu) Provider.SystemMenu->UpdateItems(false);
  Provider.Form->Perform(WM_NCPAINT, 1, 0);
}

// The minimise button: minimised (the main form through its animation), or restored when it is.
void ReleaseMinimize(TsSkinProvider& Provider, vcl::TMessage& Message, vcl::TPoint Screen) {
  if (!ElementPressed(Provider, kHitMin)) return Provider.CallOldWndProc(Message);
  // The buttons' rectangles are the window image's (the shadow and the border form's offsets
  // included).
  if (!Provider.CaptionButtons().BtnMinimize.Rect.Contains(Provider.ImagePointOf(Screen))) {
    // Dragged off the button: it only lets go.
    ReleaseElement(Provider, kHitMin);
    return Provider.CallOldWndProc(Message);
  }
  const HWND wnd = Provider.Form->Handle();
  Provider.SetHotElement(0, true);
  SetElementState(Provider, kHitMin, 0);
  Provider.SkinData->BGChanged = true;
  // The main form minimises through its animation; minimised itself (it stands on the
  // desktop, not only on the task bar), it restores as any other form.
  if (vcl::Application && Provider.Form == vcl::Application->MainForm() && !IsIconic(wnd)) {
    Provider.Animator().Busy = true;
    const TsSkinProvider::TWatch alive = Provider.Watch();
    SendCommand(wnd, SC_MINIMIZE);
    if (alive) Provider.Animator().Busy = false;
  } else {
    SendCommand(wnd, IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE);
  }
}

// The maximise button: maximised, or restored when it is.
void ReleaseMaximize(TsSkinProvider& Provider, vcl::TMessage& Message) {
  const HWND wnd = Provider.Form->Handle();
  if (!Provider.SystemMenu ||
      !(Provider.SystemMenu->MaximizeEnabled() || (IsZoomed(wnd) && Provider.SystemMenu->RestoreEnabled())))
    return;
  if (!ElementPressed(Provider, kHitMax)) return Provider.CallOldWndProc(Message);
  Provider.SetHotElement(0, true);
  SetElementState(Provider, kHitMax, 0);
  const TsSkinProvider::TWatch alive = Provider.Watch();
  SendCommand(wnd, IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE);
  if (alive && Provider.SystemMenu) Provider.SystemMenu->UpdateItems(false);
}

// The close button: the form closes; false when closing freed the provider.
bool ReleaseClose(TsSkinProvider& Provider) {
  if (!Provider.SystemMenu || !Provider.SystemMenu->CloseEnabled() || !ElementPressed(Provider, kHitClose)) return true;
  const HWND wnd = Provider.Form->Handle();
  Provider.CaptionButtons().BtnClose.State = 0;
  Provider.HotElement = 0;
  SetTitleButtonPressed(false);
  const TsSkinProvider::TWatch alive = Provider.Watch();
  SendCommand(wnd, SC_CLOSE);
  // Closing may have freed the form and this provider.
  if (!alive || BeingDestroyed(Provider.Form)) return false;
  Provider.KillAnimations();
  if (IsWindowVisible(wnd)) {
    Provider.SkinData->BGChanged = true;
    Provider.SetHotElement(0, true);
  }
  return true;
}

// A user button: its OnMouseUp.
void ReleaseUserButton(TsSkinProvider& Provider, int Code, vcl::TPoint Screen) {
  if (!ElementPressed(Provider, Code)) return;
  TsTitleButton* button = Provider.TitleButtons()->Items(Code - kHitUserButton);
  SetElementState(Provider, Code, 1);
  const TsSkinProvider::TWatch alive = Provider.Watch();
  if (button->OnMouseUp) button->OnMouseUp(button, vcl::mbLeft, {}, Screen.X, Screen.Y);
  if (alive) Provider.SetHotElement(0, true);
}

// A title bar item: its release, a click when the release is still over it.
void ReleaseTitleBarItem(TsSkinProvider& Provider, int Code, vcl::TPoint Screen) {
  if (!ElementPressed(Provider, Code)) return;
  SetElementState(Provider, Code, 0);
  // Hit again where the release happened, not where the cursor is now: it may have moved on
  // since the system queued the release.
  const bool over = ElementAtScreen(Provider, Screen) == Code;
  Provider.TitleBarItemMouseUp(Code - kHitTitleBarItem, Screen, over);
}

// Elsewhere: the rubber frame ends, a minimised MDI child's system menu drops, or the form's
// own procedure has it.
void ReleaseElsewhere(TsSkinProvider& Provider, vcl::TMessage& Message) {
  const HWND wnd = Provider.Form->Handle();
  if (!IsIconic(wnd)) {
    if (RubberFrame().Running() && RubberFrame().Window() == wnd) {
      Provider.EndRubberFrame();
    } else {
      // A press dragged off its element and released elsewhere runs nothing.
      if (TitleButtonPressed() && Provider.HotElement > 0) Provider.SetHotElement(0, true);
      Provider.CallOldWndProc(Message);
    }
  } else if (MDIProvider()) {
    POINT cursor{};
    GetCursorPos(&cursor);
    Provider.DropSysMenu(vcl::TPoint(cursor));
  } else {
    Provider.CallOldWndProc(Message);
  }
}

}  // namespace


TsSkinProvider::TWatch::TWatch(const TsSkinProvider& Provider)
    : alive_(Provider.lifetime_.Watch()),
      provider_(&Provider),
      wnd_(Provider.Form && Provider.Form->HandleAllocated() ? Provider.Form->Handle() : nullptr) {}

TsSkinProvider::TWatch::operator bool() const {
  // The provider is read only while it lives.
  if (!alive_ || !wnd_) return false;
  vcl::TCustomForm* form = provider_->Form;
  return form && form->HandleAllocated() && form->Handle() == wnd_;
}

// ---------------------------------------------------------------------------------------
// The hit test

int TsSkinProvider::HitTest(vcl::TMessage& Message) { return HitTestAt(MessagePoint(Message)); }

int TsSkinProvider::HitTestAt(vcl::TPoint Screen) {
  if (!Form->HandleAllocated()) return HTNOWHERE;
  const HWND wnd = Form->Handle();
  // Window coordinates; the window image lies further left and up by the border form's
  // offsets and the shadow.
  const vcl::TPoint p = window_image_.ScreenToImage(Screen.X, Screen.Y);
  const vcl::TPoint image = ImagePointOf(Screen);
  TqvBorderForm* border = ExtBorderForm();
  const bool zoomed = IsZoomed(wnd) != FALSE;

  // The title elements (the border form answers for its own).
  if (!border)
    if (const int code = TitleElementAt(image); code != 0) return code;

  const int width = WndWidth(wnd), height = WndHeight(wnd);
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  // The sizing edges.
  if (!zoomed && (style & WS_THICKFRAME) && !border) {
    const int b = SysBorderWidth(wnd, nullptr, false);
    const int def = DefBorderWidth(wnd, nullptr, false);
    int code = HTCLIENT;
    if (p.Y < def) code = HTTOP;
    else if (p.Y >= height - b) code = HTBOTTOM;
    if (p.X < b) code = code == HTTOP ? HTTOPLEFT : code == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
    else if (p.X >= width - b) code = code == HTTOP ? HTTOPRIGHT : code == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
    if (code != HTCLIENT) return code;
  }

  // The caption band, then the menu lines.
  const int def = BorderWidthDef();
  const int caption = SysCaptionHeightOfForm();
  if (HasBorder() && p.Y >= 0 && p.Y < def + caption)
    return caption_buttons_->IconRect.Contains(image) ? HTSYSMENU : HTCAPTION;
  if (p.Y >= 0 && p.Y < def + caption + MenuLinesCount() * MenuHeight()) {
    if (ChildWithButtons(Form)) {
      if (caption_buttons_->MDIClose.Rect.Contains(image)) return kHitMdiClose;
      if (caption_buttons_->MDIMax.Rect.Contains(image)) return kHitMdiRestore;
      if (caption_buttons_->MDIMin.Rect.Contains(image)) return kHitMdiMin;
    }
    return HTMENU;
  }

  // The size grip.
  if (InGrip(*this, image)) return HTBOTTOMRIGHT;
  return HTCLIENT;
}

int TsSkinProvider::TitleElementAt(vcl::TPoint ImagePoint) {
  if (!SystemMenu) MakeSystemMenu();
  if (!SystemMenu || !Form->HandleAllocated()) return 0;
  const HWND wnd = Form->Handle();
  const vcl::TPoint image = ImagePoint;
  const vcl::TBorderIcons icons = Form->BorderIcons();
  if (icons.Contains(vcl::biSystemMenu)) {
    if (caption_buttons_->BtnClose.Rect.Contains(image)) return SystemMenu->CloseEnabled() ? kHitClose : HTCAPTION;
    if (!caption_buttons_->BtnMaximize.Rect.IsEmpty() && caption_buttons_->BtnMaximize.Rect.Contains(image))
      return (IsZoomed(wnd) ? SystemMenu->RestoreEnabled() : SystemMenu->MaximizeEnabled()) ? kHitMax : HTCAPTION;
    if (!caption_buttons_->BtnMinimize.Rect.IsEmpty() && caption_buttons_->BtnMinimize.Rect.Contains(image))
      return IsIconic(wnd) || SystemMenu->MinimizeEnabled() ? kHitMin : HTCAPTION;
    if (icons.Contains(vcl::biHelp) && caption_buttons_->BtnHelp.Rect.Contains(image)) return kHitHelp;
  }
  // A user button answers its own index, whatever buttons before it are hidden.
  for (int i = 0; i < std::min(TitleButtons()->Count(), kMaxTitleElements); ++i) {
    TsTitleButton* button = TitleButtons()->Items(i);
    if (button->Visible() && button->Data.Rect.Contains(image))
      return button->Enabled() ? kHitUserButton + i : HTCAPTION;
  }
  const int item = TitleBarItemAt(image);
  return IsTitleBarItemHitCode(item) ? item : 0;
}

vcl::TPoint TsSkinProvider::ImagePointOf(vcl::TPoint Screen) {
  vcl::TPoint p = window_image_.ScreenToImage(Screen.X, Screen.Y);
  if (TqvBorderForm* border = ExtBorderForm()) {
    const vcl::TRect shadow = ShadowSize();
    p.X += shadow.Left + BorderFormOffsetX(border);
    p.Y += shadow.Top + BorderFormOffsetY(border);
  }
  return p;
}

void TsSkinProvider::WMNCHitTest(vcl::TMessage& Message) {
  if (AutoCreated) {
    AutoCreated = false;
    PrepareForm();
  }
  if (!DrawNonClientArea || CaptionHeight(true) == 0) return CallOldWndProc(Message);
  const int code = HitTest(Message);
  // The system would draw its buttons over a child's hovered ones.
  if ((code == kHitMin || code == kHitMax || code == kHitClose) && IsChildForm(Form)) UpdateSysMenuStyle(true);
  if (code == HTNOWHERE || code == HTCLIENT || code == HTCAPTION || code == HTMENU || IsSizingHitCode(code)) {
    // Only the skin's grip is the provider's to answer; the system knows the rest.
    if (!InGrip(*this, ImagePointOf(MessagePoint(Message)))) return CallOldWndProc(Message);
    Message.Result = HTBOTTOMRIGHT;
    return;
  }
  Message.Result = code;
}

// ---------------------------------------------------------------------------------------
// The hot and pressed elements

void TsSkinProvider::SetHotElement(int Code, bool Repaint) {
  if (Code == HotElement || !DrawNonClientArea) return;
  // A hint waiting or shown for the element before goes.
  caption_items_->StopTitleHint();
  // A title-bar item's hot look is painted into the caption (its fade lies over it): the
  // caption is repainted when an item becomes hot and when it stops being hot.
  bool refresh = false;
  if (HotElement > 0) {
    if (vcl::Application) vcl::Application->CancelHint();
    const int old = HotElement;
    SetElementState(*this, old, 0);
    // A user button's state shows at once.
    if (Repaint || IsUserButtonHitCode(old)) RepaintElement(old);
    refresh = Repaint && IsTitleBarItemHitCode(old);
  }
  HotElement = Code;
  if (!TitleButtonPressed() && Code > 0) {
    SetElementState(*this, Code, 1);
    if (Repaint || IsUserButtonHitCode(Code)) RepaintElement(Code);
    if (Repaint && IsTitleBarItemHitCode(Code)) refresh = true;
  }
  if (refresh) RefreshNonClient();
}

void TsSkinProvider::PressElement(int Code) {
  if (!IsTitleBarItemHitCode(Code) && !ElementByCode(Code)) return;
  if (HotElement != Code) {
    SetTitleButtonPressed(false);
    SetHotElement(Code, false);
  }
  SetElementState(*this, Code, 2);
  RepaintElement(Code);
  SetTitleButtonPressed(true);
}

// ---------------------------------------------------------------------------------------
// The left button

void TsSkinProvider::WMNCLButtonDown(vcl::TMessage& Message) {
  int code = static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  if (!DrawNonClientArea) return code == HTSYSMENU ? IconClicked(*this, Message) : CallOldWndProc(Message);
  // A press passed on by the border window (its code is asked of the border form).
  const bool fromBorder = ExtBorderForm() && code == HTTRANSPARENT;
  if (ExtBorderForm() && code == HTOBJECT) return CallOldWndProc(Message);
  if (fromBorder) {
    // What the system does next goes by the real code.
    code = BorderFormHitTest(*this, MessagePoint(Message));
    Message.WParam = static_cast<WPARAM>(code);
  }
  if (code == HTSYSMENU) return IconClicked(*this, Message);
  if (code == HTMENU) return CallOldWndProc(Message);
  if (PressTitleElement(*this, code, Message)) return;
  if (IsIconic(Form->Handle())) {
    Form->Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  SetHotElement(0, true);
  if (PressOnMaximizedCaption(*this, Message)) return;
  DragFrame(*this, code, fromBorder, Message);
}

void TsSkinProvider::WMNCLButtonUp(vcl::TMessage& Message) {
  if (!DrawNonClientArea || !Form->Enabled()) return CallOldWndProc(Message);
  const vcl::TPoint screen = ScreenPointOf(Form->Handle(), Message);
  // A client release carries key flags, not a hit code.
  int code = Message.Msg == WM_LBUTTONUP ? HTCLIENT : static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  if (code == HTTRANSPARENT && ExtBorderForm()) code = BorderFormHitTest(*this, screen);
  LetGoTitleBarItems(TitleBar(), code);
  // The press ends whatever the release does (the flag is the process's, not the provider's),
  // unless closing freed the provider.
  switch (code) {
    case kHitMdiClose:
    case kHitMdiRestore:
    case kHitMdiMin: ReleaseMdiButton(*this, code); break;
    case kHitHelp: ReleaseHelp(*this); break;
    case kHitMin: ReleaseMinimize(*this, Message, screen); break;
    case kHitMax: ReleaseMaximize(*this, Message); break;
    case kHitClose:
      if (!ReleaseClose(*this)) return;
      break;
    default:
      if (IsUserButtonHitCode(code) && code - kHitUserButton < TitleButtons()->Count())
        ReleaseUserButton(*this, code, screen);
      else if (IsTitleBarItemHitCode(code))
        ReleaseTitleBarItem(*this, code, screen);
      else
        ReleaseElsewhere(*this, Message);
      break;
  }
  SetTitleButtonPressed(false);
}

void TsSkinProvider::WMNCLButtonDblClk(vcl::TMessage& Message) {
  const HWND wnd = Form->Handle();
  if (RubberFrame().Running() && RubberFrame().Window() == wnd) EndRubberFrame();
  switch (static_cast<int>(static_cast<std::intptr_t>(Message.WParam))) {
    case HTCAPTION: {
      if (!SystemMenu) MakeSystemMenu();
      const bool can = SystemMenu && (SystemMenu->MaximizeEnabled() || SystemMenu->RestoreEnabled());
      if (!can) {
        if (HasBorder() && !IsIconic(wnd) && IsZoomed(wnd)) SendCommand(wnd, SC_RESTORE);
        return;
      }
      const TWatch alive = Watch();
      SendCommand(wnd, IsZoomed(wnd) || IsIconic(wnd) ? SC_RESTORE : SC_MAXIMIZE);
      if (alive && SystemMenu) SystemMenu->UpdateItems(false);
      return;
    }
    case HTSYSMENU: {
      TsSkinManager* manager = SkinManager();
      // The delayed system menu must not drop over a closing form.
      const bool mark = (!manager || !manager->SkinnedPopups()) && SkinData && !SkinData->Updating;
      if (mark) SkinData->Updating = true;
      const TWatch alive = Watch();
      Form->Close();
      // Closing may be refused: the form then paints again.
      if (mark && alive && !BeingDestroyed(Form) && IsWindowVisible(wnd)) SkinData->Updating = false;
      return;
    }
    default: CallOldWndProc(Message);
  }
}

// ---------------------------------------------------------------------------------------
// The right button

void TsSkinProvider::WMNCRButtonDown(vcl::TMessage& Message) {
  const auto code = static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  if (code == HTCAPTION || code == HTSYSMENU) return;
  CallOldWndProc(Message);
}

void TsSkinProvider::WMNCRButtonUp(vcl::TMessage& Message) {
  if (!HasBorder()) return CallOldWndProc(Message);
  const vcl::TPoint p = MessagePoint(Message);
  int code = static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  code = code == HTTRANSPARENT && ExtBorderForm() ? BorderFormHitTest(*this, p) : HitTestAt(p);
  if (code != HTCAPTION && code != HTSYSMENU) return;
  SetHotElement(0, true);
  SetTitleButtonPressed(false);
  DropSysMenu(p);
}

// ---------------------------------------------------------------------------------------
// Entering and leaving

void TsSkinProvider::WMMouseLeave(vcl::TMessage& Message) {
  if (IsTitleBarItemHitCode(HotElement) && ExtBorderForm()) {
    SetTitleButtonPressed(false);
  } else {
    SetHotElement(-1, true);
    SetTitleButtonPressed(false);
  }
  CallOldWndProc(Message);
}

void TsSkinProvider::CMMouseEnter(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  TsSkinManager* manager = SkinManager();
  if (manager && Form->HandleAllocated()) manager->SetHotWnd(Form->Handle());
  // The form's glow stands around the border window, where that is now (not while a size
  // change goes to the border window).
  TqvBorderForm* border = ExtBorderForm();
  const HWND borderWnd = border ? border->BorderWindow() : nullptr;
  const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
  if (!borderWnd || !section || !manager || SkinData->GlowID < 0 || (ExtFlags & kExtBorderSizing)) return;
  RemoveGlow(SkinData->GlowID);
  RECT r{};
  GetWindowRect(borderWnd, &r);
  const TqvControlSkin data = SkinData->ControlSkin();
  SkinData->GlowID = AddGlow(vcl::TRect(r), SkinData->SkinSection(), L"GLOW", section->GlowMargin, 255, borderWnd, &data);
}

void TsSkinProvider::WMMouseMove(vcl::TMessage& Message) {
  const HWND wnd = Form->Handle();
  if (RubberFrame().Running() && RubberFrame().Window() == wnd) {
    const vcl::TPoint screen = ScreenPointOf(wnd, Message);
    // Keyboard sizing learns its edge from where the mouse first goes.
    if (RubberFrame().Code() == 0 && Form->Enabled()) RubberFrame().SetCode(HitTestAt(screen));
    RubberFrame().MouseMove(screen);
    return;
  }
  CallOldWndProc(Message);
  TsSkinManager* manager = SkinManager();
  if (manager && !Designing(manager) && manager->HotWnd() == wnd) manager->SetHotWnd(nullptr);
}

// ---------------------------------------------------------------------------------------
// The rubber frame

void TsSkinProvider::StartRubberFrame(int HitCode) {
  if (!Form->HandleAllocated()) return;
  RubberFrame().Start(Form->Handle(), HitCode);
}

void TsSkinProvider::EndRubberFrame() {
  const HWND wnd = Form->Handle();
  const vcl::TRect frame = RubberFrame().Finish();
  SetTitleButtonPressed(false);
  if (!Form->Enabled() || IsZoomed(wnd)) return;
  POINT corners[2] = {{frame.Left, frame.Top}, {frame.Right, frame.Bottom}};
  if (HWND parent = GetParent(wnd); parent && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, corners, 2);
  Form->SetBounds(corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y);
}

}  // namespace skin_layered
