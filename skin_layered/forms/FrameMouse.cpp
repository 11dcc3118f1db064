// The mouse on a skinned form's frame (see FrameMouse.h).
#include "skin_layered/forms/FrameMouse.h"

#include <algorithm>

#include "classlib/controls/Mouse.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/core/CaptionHitCodes.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/CaptionButtons.h"
#include "skin_layered/forms/CaptionItems.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormAnimator.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/FormScrollBars.h"
#include "skin_layered/forms/ProviderUnit.h"
#include "skin_layered/forms/RubberFrame.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
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

// A title element was pressed and the button is not released yet (one in the process).
bool ButtonPressed() { return ProviderUnit().ButtonPressed; }
void SetButtonPressed(bool Value) { ProviderUnit().ButtonPressed = Value; }

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

// An MDI frame whose active child is maximised.
vcl::TCustomForm* MaximizedChildOf(vcl::TCustomForm* Form) {
  if (Form->FormStyle() != vcl::fsMDIForm) return nullptr;
  vcl::TCustomForm* child = Form->ActiveMDIChild();
  return child && child->HandleAllocated() && IsZoomed(child->Handle()) ? child : nullptr;
}

void SendCommand(HWND Wnd, WPARAM Command) { SendMessageW(Wnd, WM_SYSCOMMAND, Command, 0); }

// The system says when the mouse leaves the frame (WM_NCMOUSELEAVE) only when asked: without
// it a move straight off the window leaves the element hot, its hint shown.
void TrackFrameLeave(HWND Wnd) { vcl::TrackMouseLeave(Wnd, true); }

}  // namespace

vcl::TCustomForm* TqvFrameMouse::Form() const { return host_.FrameProvider()->Form; }

const TqvFormMeasures& TqvFrameMouse::Measures() const { return host_.Measures(); }

TsSystemMenu* TqvFrameMouse::SystemMenu() { return host_.CurrentSystemMenu(); }

int TqvFrameMouse::BorderFormHitTest(vcl::TPoint Screen) {
  TqvBorderForm* border = host_.ExtBorderForm();
  if (!border) return -1;
  vcl::TMessage test{WM_NCHITTEST, 0, MAKELPARAM(Screen.X, Screen.Y), 0};
  return border->HitTest(test);
}

int TqvFrameMouse::ElementAtScreen(vcl::TPoint Screen) {
  return host_.ExtBorderForm() ? BorderFormHitTest(Screen) : HitTestAt(Screen);
}

// The point of the window image lies on the skin's size grip.
bool TqvFrameMouse::InGrip(vcl::TPoint ImagePoint) {
  const TsSkinManager* manager = host_.SkinManager();
  if (!manager) return false;
  // The grip shown, or the size box between the form's own two scroll bars.
  const TqvShownScrollBars bars = host_.ScrollBars().Shown();
  if (!Measures().GripVisible() && !(bars.Horz && bars.Vert)) return false;
  const int index = manager->Skin().ConstData.GripImage;
  if (!manager->IsValidImgIndex(index)) return false;
  const vcl::TPoint grip = host_.GripPos(index);
  return (grip.X != 0 || grip.Y != 0) && ImagePoint.X > grip.X && ImagePoint.Y > grip.Y;
}

void TqvFrameMouse::SetElementState(int Code, int State) {
  if (IsTitleBarItemHitCode(Code)) return host_.CaptionItems().SetTitleBarItemState(Code - kHitTitleBarItem, State);
  if (TsCaptionButton* element = ElementByCode(Code)) element->State = State;
}

void TqvFrameMouse::ReleaseElement(int Code) {
  if (HotElement == Code) return SetHotElement(0, true);
  SetElementState(Code, 0);
  RepaintElement(Code);
}

bool TqvFrameMouse::ElementPressed(int Code) {
  if (IsTitleBarItemHitCode(Code)) return ButtonPressed() && HotElement == Code;
  const TsCaptionButton* element = ElementByCode(Code);
  return element && element->State == 2;
}

// ---------------------------------------------------------------------------------------
// The hit test

int TqvFrameMouse::HitTest(vcl::TMessage& Message) { return HitTestAt(MessagePoint(Message)); }

int TqvFrameMouse::HitTestAt(vcl::TPoint Screen) {
  vcl::TCustomForm* form = Form();
  if (!form->HandleAllocated()) return HTNOWHERE;
  const HWND wnd = form->Handle();
  // Window coordinates; the window image lies further left and up by the border form's
  // offsets and the shadow.
  const vcl::TPoint origin = host_.FormOrigin();
  const vcl::TPoint p(Screen.X - origin.X, Screen.Y - origin.Y);
  const vcl::TPoint image = ImagePointOf(Screen);
  TqvBorderForm* border = host_.ExtBorderForm();
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
  const TqvCaptionButtons& buttons = host_.CaptionButtons();
  const int def = Measures().BorderWidthDef();
  const int caption = Measures().SysCaptionHeightOfForm();
  if (Measures().HasBorder() && p.Y >= 0 && p.Y < def + caption)
    return buttons.IconRect.Contains(image) ? HTSYSMENU : HTCAPTION;
  if (p.Y >= 0 && p.Y < def + caption + Measures().MenuLinesCount() * Measures().MenuHeight()) {
    if (ChildWithButtons(form)) {
      if (buttons.MDIClose.Rect.Contains(image)) return kHitMdiClose;
      if (buttons.MDIMax.Rect.Contains(image)) return kHitMdiRestore;
      if (buttons.MDIMin.Rect.Contains(image)) return kHitMdiMin;
    }
    return HTMENU;
  }

  // The size grip.
  if (InGrip(image)) return HTBOTTOMRIGHT;
  return HTCLIENT;
}

int TqvFrameMouse::TitleElementAt(vcl::TPoint ImagePoint) {
  if (!SystemMenu()) host_.MakeSystemMenu();
  TsSystemMenu* menu = SystemMenu();
  vcl::TCustomForm* form = Form();
  if (!menu || !form->HandleAllocated()) return 0;
  const HWND wnd = form->Handle();
  const vcl::TPoint image = ImagePoint;
  const TqvCaptionButtons& buttons = host_.CaptionButtons();
  const vcl::TBorderIcons icons = form->BorderIcons();
  if (icons.Contains(vcl::biSystemMenu)) {
    if (buttons.BtnClose.Rect.Contains(image)) return menu->CloseEnabled() ? kHitClose : HTCAPTION;
    if (!buttons.BtnMaximize.Rect.IsEmpty() && buttons.BtnMaximize.Rect.Contains(image))
      return (IsZoomed(wnd) ? menu->RestoreEnabled() : menu->MaximizeEnabled()) ? kHitMax : HTCAPTION;
    if (!buttons.BtnMinimize.Rect.IsEmpty() && buttons.BtnMinimize.Rect.Contains(image))
      return IsIconic(wnd) || menu->MinimizeEnabled() ? kHitMin : HTCAPTION;
    if (icons.Contains(vcl::biHelp) && buttons.BtnHelp.Rect.Contains(image)) return kHitHelp;
  }
  // A user button answers its own index, whatever buttons before it are hidden.
  TsTitleButtons* user = host_.TitleButtons();
  for (int i = 0; i < std::min(user->Count(), kMaxTitleElements); ++i) {
    TsTitleButton* button = user->Items(i);
    if (button->Visible() && button->Data.Rect.Contains(image))
      return button->Enabled() ? kHitUserButton + i : HTCAPTION;
  }
  const int item = host_.CaptionItems().TitleBarItemAt(image);
  return IsTitleBarItemHitCode(item) ? item : 0;
}

vcl::TPoint TqvFrameMouse::ImagePointOf(vcl::TPoint Screen) {
  const vcl::TPoint origin = host_.FormOrigin();
  vcl::TPoint p(Screen.X - origin.X, Screen.Y - origin.Y);
  if (TqvBorderForm* border = host_.ExtBorderForm()) {
    const vcl::TRect shadow = host_.FrameProvider()->WindowImage().ShadowSize();
    p.X += shadow.Left + BorderFormOffsetX(border);
    p.Y += shadow.Top + BorderFormOffsetY(border);
  }
  return p;
}

void TqvFrameMouse::WMNCHitTest(vcl::TMessage& Message) {
  TsSkinProviderBase& provider = *host_.FrameProvider();
  if (!provider.DrawNonClientArea || Measures().CaptionHeight(true) == 0) return host_.CallOldWndProc(Message);
  const int code = HitTest(Message);
  // The system would draw its buttons over a child's hovered ones.
  if ((code == kHitMin || code == kHitMax || code == kHitClose) && IsChildForm(Form())) host_.UpdateSysMenuStyle(true);
  if (code == HTNOWHERE || code == HTCLIENT || code == HTCAPTION || code == HTMENU || IsSizingHitCode(code)) {
    // Only the skin's grip is the provider's to answer; the system knows the rest.
    if (!InGrip(ImagePointOf(MessagePoint(Message)))) return host_.CallOldWndProc(Message);
    Message.Result = HTBOTTOMRIGHT;
    return;
  }
  Message.Result = code;
}

void TqvFrameMouse::WMNCMouseMove(vcl::TMessage& Message) {
  vcl::TCustomForm* form = Form();
  if (!form->Enabled()) return;
  if (TsSkinManager* manager = host_.SkinManager(); manager && form->HandleAllocated())
    manager->SetHotWnd(form->Handle());
  const int code = HitTest(Message);
  Message.WParam = static_cast<WPARAM>(code);
  // The first hundred user buttons and title-bar items turn hot.
  const bool element = code == kHitMin || code == kHitMax || code == kHitClose || code == kHitHelp ||
                       (code >= kHitMdiClose && code <= kHitMdiMin) ||
                       (code >= kHitUserButton && code <= kHitUserButton + 100) ||
                       (code >= kHitTitleBarItem && code <= kHitTitleBarItem + 100);
  if (element) {
    move_point_ = MessagePoint(Message);
    SetHotElement(code, true);
    move_point_.reset();
    if (form->HandleAllocated()) TrackFrameLeave(form->Handle());
    return;
  }
  SetHotElement(0, true);
  host_.CallOldWndProc(Message);
}

// ---------------------------------------------------------------------------------------
// The hot and pressed elements

void TqvFrameMouse::SetHotElement(int Code, bool Repaint) {
  if (Code == HotElement || !host_.FrameProvider()->DrawNonClientArea) return;
  // A hint waiting or shown for the element before goes.
  host_.CaptionItems().StopTitleHint();
  StopButtonHint();
  // A title-bar item's hot look is painted into the caption (its fade lies over it): the
  // caption is repainted when an item becomes hot and when it stops being hot.
  bool refresh = false;
  if (HotElement > 0) {
    if (vcl::Application) vcl::Application->CancelHint();
    const int old = HotElement;
    SetElementState(old, 0);
    // A user button's state shows at once.
    if (Repaint || IsUserButtonHitCode(old)) RepaintElement(old);
    refresh = Repaint && IsTitleBarItemHitCode(old);
  }
  HotElement = Code;
  if (!ButtonPressed() && Code > 0) {
    SetElementState(Code, 1);
    if (Repaint || IsUserButtonHitCode(Code)) RepaintElement(Code);
    if (Repaint && IsTitleBarItemHitCode(Code)) refresh = true;
    if (IsUserButtonHitCode(Code)) StartButtonHint(Code);
  }
  if (refresh) host_.RefreshNonClient();
}

void TqvFrameMouse::StartButtonHint(int Code) {
  const TsCaptionButton* element = ElementByCode(Code);
  TsTitleButtons* buttons = host_.TitleButtons();
  if (!element || !buttons || buttons->Items(Code - kHitUserButton)->Hint().empty()) return;
  button_hint_code_ = Code;
  const int pause = vcl::Application ? vcl::Application->HintPause() : 500;
  if (pause < 1) return ShowButtonHint();
  if (!button_hint_timer_) {
    button_hint_timer_ = std::make_unique<vcl::TTimer>(nullptr);
    button_hint_timer_->OnTimer = vcl::TNotifyEvent::Bind<&TqvFrameMouse::ShowButtonHint>(this);
  }
  button_hint_timer_->SetEnabled(false);
  button_hint_timer_->SetInterval(static_cast<unsigned>(pause));
  button_hint_timer_->SetEnabled(true);
}

void TqvFrameMouse::ShowButtonHint(vcl::TObject*) {
  if (button_hint_timer_) button_hint_timer_->SetEnabled(false);
  if (!ElementByCode(button_hint_code_) || HotElement != button_hint_code_) return;
  TsTitleButton* button = host_.TitleButtons()->Items(button_hint_code_ - kHitUserButton);
  // Shown only while the cursor still rests on the button: after the pause where the system
  // has it, at once where the move that made the button hot took it.
  POINT cursor{};
  if (move_point_)
    cursor = {move_point_->X, move_point_->Y};
  else
    GetCursorPos(&cursor);
  if (!button->Data.Rect.Contains(ImagePointOf(vcl::TPoint(cursor)))) return;
  button->HintWindow.Show(button->Hint(), vcl::TPoint(cursor.x + 8, cursor.y + 16));
}

void TqvFrameMouse::StopButtonHint() {
  if (button_hint_timer_) button_hint_timer_->SetEnabled(false);
  TsTitleButtons* buttons = host_.TitleButtons();
  const int index = button_hint_code_ - kHitUserButton;
  if (buttons && IsUserButtonHitCode(button_hint_code_) && index < buttons->Count())
    buttons->Items(index)->HintWindow.Hide();
  button_hint_code_ = 0;
}

void TqvFrameMouse::PressElement(int Code) {
  if (!IsTitleBarItemHitCode(Code) && !ElementByCode(Code)) return;
  if (HotElement != Code) {
    SetButtonPressed(false);
    SetHotElement(Code, false);
  }
  SetElementState(Code, 2);
  RepaintElement(Code);
  SetButtonPressed(true);
}

TsCaptionButton* TqvFrameMouse::ButtonByCode(int Code) {
  TqvCaptionButtons& buttons = host_.CaptionButtons();
  switch (Code) {
    case kHitMin: return &buttons.BtnMinimize;
    case kHitMax: return &buttons.BtnMaximize;
    case kHitClose: return &buttons.BtnClose;
    case kHitHelp: return &buttons.BtnHelp;
    case kHitMdiClose: return &buttons.MDIClose;
    case kHitMdiRestore: return &buttons.MDIMax;
    case kHitMdiMin: return &buttons.MDIMin;
    default: return nullptr;
  }
}

TsCaptionButton* TqvFrameMouse::ElementByCode(int Code) {
  if (TsCaptionButton* button = ButtonByCode(Code)) return button;
  TsTitleButtons* user = host_.TitleButtons();
  if (IsUserButtonHitCode(Code) && user && Code - kHitUserButton < user->Count()) {
    TsTitleButton* button = user->Items(Code - kHitUserButton);
    return button->Visible() ? &button->Data : nullptr;
  }
  return nullptr;
}

void TqvFrameMouse::RepaintElement(int HitCode) {
  TsSkinManager* manager = host_.SkinManager();
  TsSkinProviderBase& provider = *host_.FrameProvider();
  vcl::TCustomForm* form = provider.Form;
  vcl::TBitmap* image = provider.SkinData ? provider.SkinData->CacheBmp() : nullptr;
  if (!manager || !image || !form->HandleAllocated()) return;
  if (HitCode == kHitMdiClose && !MaximizedChildOf(form)) return;
  if (HitCode >= kHitTitleBarItem) {
    // Title-bar items repaint through their own fades.
    host_.CaptionItems().StartTitleItemFade(HitCode);
    return;
  }
  TsCaptionButton* button = ElementByCode(HitCode);
  if (!button) return;
  const bool mdiButton = HitCode >= kHitMdiClose && HitCode <= kHitMdiMin;
  TsTitleButton* user = HitCode >= kHitUserButton ? host_.TitleButtons()->Items(HitCode - kHitUserButton) : nullptr;
  const bool animated = !mdiButton &&
                        (manager->AnimEffects()->Buttons()->Events().Contains(beMouseEnter) || host_.ExtBorderForm()) &&
                        flags_ == 0 && !form->Parent() && form->FormStyle() != vcl::fsMDIChild;
  if (animated && host_.StartButtonGlow(HitCode, button->State == 1 || button->State == 2)) return;

  host_.CaptionButtons().RepaintButton(HitCode, *button, user);
}

// ---------------------------------------------------------------------------------------
// The left button

// A press on the caption icon: the skinned system menu drops below it.
void TqvFrameMouse::IconClicked(vcl::TMessage& Message) {
  Message.Result = 0;
  host_.CallOldWndProc(Message);
  if (Message.Result != 0) return;
  SetHotElement(0, true);
  SetButtonPressed(false);
  TsSkinProviderBase& provider = *host_.FrameProvider();
  vcl::TCustomForm* form = provider.Form;
  const HWND wnd = form->Handle();
  TsSkinManager* manager = host_.SkinManager();
  if (!manager || !manager->SkinnedPopups()) {
    // A second click may come meanwhile and close the form: nothing is touched unless the
    // provider still serves its window.
    if (!host_.Watched([] { ProcessMessagesUntil({}, kSysMenuDelay); })) return;
    if (BeingDestroyed(form) || (provider.SkinData && provider.SkinData->Updating)) return;
  }
  RECT r{};
  GetWindowRect(wnd, &r);
  if (!IsChildForm(form)) {
    const int def = DefBorderWidth(wnd, nullptr, false);
    provider.DropSysMenu(
        vcl::TPoint(r.left + SysBorderWidth(wnd, nullptr, false),
                    r.top + def + form->BorderWidth() + host_.CaptionButtons().IconRect.Height() + def));
  } else if (ProviderUnit().MDIProvider) {
    const int caption = Measures().SysCaptionHeightOfForm();
    provider.DropSysMenu(vcl::TPoint(r.left, r.top + caption + 4 - (IsIconic(wnd) ? 16 : 0)));
  }
}

// A maximised MDI child's button on the frame's menu line takes a press: the child is there,
// and its system menu (when it has one) enables the command.
bool TqvFrameMouse::MdiChildButtonEnabled(int Code) {
  vcl::TCustomForm* child = ChildWithButtons(Form());
  if (!child) return false;
  const TsSystemMenu* menu = host_.SystemMenuOf(child);
  if (Code == kHitMdiMin && menu && !menu->MinimizeEnabled()) return false;
  return !(Code == kHitMdiRestore && menu && !menu->RestoreEnabled());
}

// A press on a title element (a system or MDI child button, a user button, a title bar item):
// it is pressed, and a user button's OnMouseDown runs; a disabled MDI child button takes no
// press. False for other codes.
bool TqvFrameMouse::PressTitleElement(int Code, vcl::TMessage& Message) {
  const bool mdiButton = Code == kHitMdiClose || Code == kHitMdiRestore || Code == kHitMdiMin;
  if (mdiButton || Code == kHitMin || Code == kHitMax || Code == kHitClose || Code == kHitHelp) {
    if (mdiButton && !MdiChildButtonEnabled(Code)) return true;
    PressElement(Code);
    Message.Result = 0;
    return true;
  }
  if (IsUserButtonHitCode(Code) && Code - kHitUserButton < host_.TitleButtons()->Count()) {
    StopButtonHint();
    PressElement(Code);
    TsTitleButton* button = host_.TitleButtons()->Items(Code - kHitUserButton);
    const vcl::TPoint p = MessagePoint(Message);
    if (button->OnMouseDown) button->OnMouseDown(button, vcl::mbLeft, {}, p.X, p.Y);
    return true;
  }
  if (IsTitleBarItemHitCode(Code)) {
    PressElement(Code);
    host_.CaptionItems().TitleBarItemMouseDown(Code - kHitTitleBarItem, MessagePoint(Message));
    return true;
  }
  return false;
}

// A maximised form is not moved by its caption: a press there only activates it (true).
bool TqvFrameMouse::PressOnMaximizedCaption(const vcl::TMessage& Message) {
  vcl::TCustomForm* form = Form();
  if (!IsZoomed(form->Handle())) return false;
  const vcl::TPoint origin = host_.FormOrigin();
  const int y = vcl::LParamY(Message.LParam) - origin.Y;
  if (y > Measures().BorderWidthDef() + Measures().CaptionHeight(true)) return false;
  if (!form->Active() && form->Enabled() && form->CanFocus()) form->SetFocus();
  return true;
}

// A caption press starts the blended move: the manager's effect on, the form not minimised;
// for a press on the border window also not maximised, with a blend that shows (composition
// off or a blend value below 255) and AllowBlendOnMoving.
bool TqvFrameMouse::BlendOnMovingAllowed(const TsSkinManager& Manager, bool FromBorder) {
  const TqvBlendOnMoving* blend = Manager.AnimEffects()->BlendOnMoving();
  vcl::TCustomForm* form = Form();
  if (!blend->Active() || !form->HandleAllocated()) return false;
  const HWND wnd = form->Handle();
  if (IsIconic(wnd)) return false;
  // The border window is dragged with the picture: not for a maximised form, and only when the
  // blend shows (with composition, a blend value of 255 changes nothing).
  if (FromBorder)
    return !IsZoomed(wnd) && (!AeroIsEnabled() || blend->BlendValue() < 255) && host_.AllowBlendOnMoving();
  return true;
}

// A press on the caption or an edge that moves or sizes the form: with full-window dragging,
// the rubber frame of outline sizing or the blended move where they apply; else the system's.
void TqvFrameMouse::DragFrame(int Code, bool FromBorder, vcl::TMessage& Message) {
  TsSkinProviderBase& provider = *host_.FrameProvider();
  vcl::TCustomForm* form = provider.Form;
  BOOL fullDrag = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  // The forms touching this one now are the ones it drags along.
  host_.UpdateGluedForms();
  if (!fullDrag) return host_.CallOldWndProc(Message);
  if (host_.OutlineSizing() && form->Enabled() && (Code == HTCAPTION || IsSizingHitCode(Code))) {
    StartRubberFrame(Code);
    SetButtonPressed(false);
    return;
  }
  TsSkinManager* manager = host_.SkinManager();
  if (Code == HTCAPTION && !IsChildForm(form) && manager && BlendOnMovingAllowed(*manager, FromBorder)) {
    host_.SetCaptionActive(true);
    provider.SkinData->BGChanged = true;
    if (form->CanFocus()) form->SetFocus();
    host_.StartBlendOnMoving(true);
    return;
  }
  host_.CallOldWndProc(Message);
}

void TqvFrameMouse::WMNCLButtonDown(vcl::TMessage& Message) {
  int code = static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  if (!host_.FrameProvider()->DrawNonClientArea)
    return code == HTSYSMENU ? IconClicked(Message) : host_.CallOldWndProc(Message);
  // A press passed on by the border window (its code is asked of the border form).
  const bool fromBorder = host_.ExtBorderForm() && code == HTTRANSPARENT;
  if (host_.ExtBorderForm() && code == HTOBJECT) return host_.CallOldWndProc(Message);
  if (fromBorder) {
    // What the system does next goes by the real code.
    code = BorderFormHitTest(MessagePoint(Message));
    Message.WParam = static_cast<WPARAM>(code);
  }
  if (code == HTSYSMENU) return IconClicked(Message);
  if (code == HTMENU) return host_.CallOldWndProc(Message);
  if (PressTitleElement(code, Message)) return;
  if (IsIconic(Form()->Handle())) {
    Form()->Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  SetHotElement(0, true);
  if (PressOnMaximizedCaption(Message)) return;
  DragFrame(code, fromBorder, Message);
}

// A maximised MDI child's button on the frame's menu line: the child's command.
void TqvFrameMouse::ReleaseMdiButton(int Code) {
  const bool pressed = ElementPressed(Code);
  vcl::TCustomForm* child = Form()->ActiveMDIChild();
  if (!pressed || !child || !child->HandleAllocated()) return;
  const HWND childWnd = child->Handle();
  SetElementState(Code, 0);
  if (Code == kHitMdiClose) HotElement = 0;
  SendCommand(childWnd, Code == kHitMdiClose ? SC_CLOSE : Code == kHitMdiRestore ? SC_RESTORE : SC_MINIMIZE);
}

// The help button: the context help mode.
void TqvFrameMouse::ReleaseHelp() {
  if (!ElementPressed(kHitHelp)) return;
  SetElementState(kHitHelp, 0);
  vcl::TCustomForm* form = Form();
  if (!host_.Watched([form] { SendCommand(form->Handle(), SC_CONTEXTHELP); })) return;
  SetHotElement(0, true);
  if (SystemMenu()) SystemMenu()->UpdateItems(false);
  form->Perform(WM_NCPAINT, 1, 0);
}

// The minimise button: minimised (the main form through its animation), or restored when it is.
void TqvFrameMouse::ReleaseMinimize(vcl::TMessage& Message, vcl::TPoint Screen) {
  if (!ElementPressed(kHitMin)) return host_.CallOldWndProc(Message);
  // The buttons' rectangles are the window image's (the shadow and the border form's offsets
  // included).
  if (!host_.CaptionButtons().BtnMinimize.Rect.Contains(ImagePointOf(Screen))) {
    // Dragged off the button: it only lets go.
    ReleaseElement(kHitMin);
    return host_.CallOldWndProc(Message);
  }
  TsSkinProviderBase& provider = *host_.FrameProvider();
  const HWND wnd = provider.Form->Handle();
  SetHotElement(0, true);
  SetElementState(kHitMin, 0);
  provider.SkinData->BGChanged = true;
  // The main form minimises through its animation; minimised itself (it stands on the
  // desktop, not only on the task bar), it restores as any other form.
  if (vcl::Application && provider.Form == vcl::Application->MainForm() && !IsIconic(wnd)) {
    TqvFormAnimator& animator = host_.Animator();
    animator.Busy = true;
    if (host_.Watched([wnd] { SendCommand(wnd, SC_MINIMIZE); })) animator.Busy = false;
  } else {
    SendCommand(wnd, IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE);
  }
}

// The maximise button: maximised, or restored when it is.
void TqvFrameMouse::ReleaseMaximize(vcl::TMessage& Message) {
  const HWND wnd = Form()->Handle();
  TsSystemMenu* menu = SystemMenu();
  if (!menu || !(menu->MaximizeEnabled() || (IsZoomed(wnd) && menu->RestoreEnabled()))) return;
  if (!ElementPressed(kHitMax)) return host_.CallOldWndProc(Message);
  SetHotElement(0, true);
  SetElementState(kHitMax, 0);
  const bool alive = host_.Watched([wnd] { SendCommand(wnd, IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE); });
  if (alive && SystemMenu()) SystemMenu()->UpdateItems(false);
}

// The close button: the form closes; false when closing freed the provider.
bool TqvFrameMouse::ReleaseClose() {
  if (!SystemMenu() || !SystemMenu()->CloseEnabled() || !ElementPressed(kHitClose)) return true;
  TsSkinProviderBase& provider = *host_.FrameProvider();
  vcl::TCustomForm* form = provider.Form;
  const HWND wnd = form->Handle();
  host_.CaptionButtons().BtnClose.State = 0;
  HotElement = 0;
  SetButtonPressed(false);
  // Closing may have freed the form and this provider.
  if (!host_.Watched([wnd] { SendCommand(wnd, SC_CLOSE); }) || BeingDestroyed(form)) return false;
  host_.KillTitleAnimations();
  if (IsWindowVisible(wnd)) {
    provider.SkinData->BGChanged = true;
    SetHotElement(0, true);
  }
  return true;
}

// A user button: its OnMouseUp.
void TqvFrameMouse::ReleaseUserButton(int Code, vcl::TPoint Screen) {
  if (!ElementPressed(Code)) return;
  TsTitleButton* button = host_.TitleButtons()->Items(Code - kHitUserButton);
  SetElementState(Code, 1);
  const bool alive = host_.Watched([&] {
    if (button->OnMouseUp) button->OnMouseUp(button, vcl::mbLeft, {}, Screen.X, Screen.Y);
  });
  if (alive) SetHotElement(0, true);
}

// A title bar item: its release, a click when the release is still over it.
void TqvFrameMouse::ReleaseTitleBarItem(int Code, vcl::TPoint Screen) {
  if (!ElementPressed(Code)) return;
  SetElementState(Code, 0);
  // Hit again where the release happened, not where the cursor is now: it may have moved on
  // since the system queued the release.
  const bool over = ElementAtScreen(Screen) == Code;
  host_.CaptionItems().TitleBarItemMouseUp(Code - kHitTitleBarItem, Screen, over);
}

// Elsewhere: the rubber frame ends, a minimised MDI child's system menu drops, or the form's
// own procedure has it.
void TqvFrameMouse::ReleaseElsewhere(vcl::TMessage& Message) {
  const HWND wnd = Form()->Handle();
  if (!IsIconic(wnd)) {
    if (RubberFrame().Running() && RubberFrame().Window() == wnd) {
      EndRubberFrame();
    } else {
      // A press dragged off its element and released elsewhere runs nothing.
      if (ButtonPressed() && HotElement > 0) SetHotElement(0, true);
      host_.CallOldWndProc(Message);
    }
  } else if (ProviderUnit().MDIProvider) {
    POINT cursor{};
    GetCursorPos(&cursor);
    host_.FrameProvider()->DropSysMenu(vcl::TPoint(cursor));
  } else {
    host_.CallOldWndProc(Message);
  }
}

void TqvFrameMouse::WMNCLButtonUp(vcl::TMessage& Message) {
  if (!host_.FrameProvider()->DrawNonClientArea || !Form()->Enabled()) return host_.CallOldWndProc(Message);
  const vcl::TPoint screen = ScreenPointOf(Form()->Handle(), Message);
  // A client release carries key flags, not a hit code.
  int code = Message.Msg == WM_LBUTTONUP ? HTCLIENT : static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  if (code == HTTRANSPARENT && host_.ExtBorderForm()) code = BorderFormHitTest(screen);
  LetGoTitleBarItems(host_.TitleBar(), code);
  // The press ends whatever the release does (the flag is the process's, not the provider's),
  // unless closing freed the provider.
  switch (code) {
    case kHitMdiClose:
    case kHitMdiRestore:
    case kHitMdiMin: ReleaseMdiButton(code); break;
    case kHitHelp: ReleaseHelp(); break;
    case kHitMin: ReleaseMinimize(Message, screen); break;
    case kHitMax: ReleaseMaximize(Message); break;
    case kHitClose:
      if (!ReleaseClose()) return;
      break;
    default:
      if (IsUserButtonHitCode(code) && code - kHitUserButton < host_.TitleButtons()->Count())
        ReleaseUserButton(code, screen);
      else if (IsTitleBarItemHitCode(code))
        ReleaseTitleBarItem(code, screen);
      else
        ReleaseElsewhere(Message);
      break;
  }
  SetButtonPressed(false);
}

void TqvFrameMouse::ZoomCommand(HWND Wnd) {
  const bool alive =
      host_.Watched([Wnd] { SendCommand(Wnd, IsZoomed(Wnd) || IsIconic(Wnd) ? SC_RESTORE : SC_MAXIMIZE); });
  if (alive && SystemMenu()) SystemMenu()->UpdateItems(false);
}

void TqvFrameMouse::BorderCaptionDoubleClick() {
  vcl::TCustomForm* form = Form();
  if (!form->HandleAllocated()) return;
  const HWND wnd = form->Handle();
  if (TsSystemMenu* menu = SystemMenu(); menu && (menu->MaximizeEnabled() || menu->RestoreEnabled()))
    ZoomCommand(wnd);
  else if (IsIconic(wnd))
    SendCommand(wnd, SC_RESTORE);
}

void TqvFrameMouse::TitleBarItemDoubleClick(int Code) {
  TqvCaptionItems& items = host_.CaptionItems();
  TqvTitleBarItem* item = items.TitleItemByCode(Code);
  if (!item) return;
  item->FreeAnimation();
  // Made hot and pressed, the item (or the one hot before) hears of it: the leave or enter
  // event may free the bar, and the item with it.
  const vcl::TLifetime::TWatch alive = item->Watch();
  SetHotElement(Code, true);
  if (alive) PressElement(Code);
  // Pressed and clicked at once: the release that follows may not reach a skinned frame (the
  // click may take the border window away) and must not leave the process's press held.
  SetButtonPressed(false);
  if (!alive) return;
  // The click may take the border form, the title bar or the form away: nothing follows it.
  item->Click();
}

void TqvFrameMouse::WMNCLButtonDblClk(vcl::TMessage& Message) {
  TsSkinProviderBase& provider = *host_.FrameProvider();
  vcl::TCustomForm* form = provider.Form;
  const HWND wnd = form->Handle();
  if (RubberFrame().Running() && RubberFrame().Window() == wnd) EndRubberFrame();
  switch (static_cast<int>(static_cast<std::intptr_t>(Message.WParam))) {
    case HTCAPTION: {
      if (!SystemMenu()) host_.MakeSystemMenu();
      const bool can = SystemMenu() && (SystemMenu()->MaximizeEnabled() || SystemMenu()->RestoreEnabled());
      if (!can) {
        if (Measures().HasBorder() && !IsIconic(wnd) && IsZoomed(wnd)) SendCommand(wnd, SC_RESTORE);
        return;
      }
      return ZoomCommand(wnd);
    }
    case HTSYSMENU: {
      TsSkinManager* manager = host_.SkinManager();
      TsScrollWndData* data = provider.SkinData;
      // The delayed system menu must not drop over a closing form.
      const bool mark = (!manager || !manager->SkinnedPopups()) && data && !data->Updating;
      if (mark) data->Updating = true;
      const bool alive = host_.Watched([form] { form->Close(); });
      // Closing may be refused: the form then paints again.
      if (mark && alive && !BeingDestroyed(form) && IsWindowVisible(wnd)) data->Updating = false;
      return;
    }
    default: host_.CallOldWndProc(Message);
  }
}

// ---------------------------------------------------------------------------------------
// The right button

void TqvFrameMouse::WMNCRButtonDown(vcl::TMessage& Message) {
  const auto code = static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  if (code == HTCAPTION || code == HTSYSMENU) return;
  host_.CallOldWndProc(Message);
}

void TqvFrameMouse::WMNCRButtonUp(vcl::TMessage& Message) {
  if (!Measures().HasBorder()) return host_.CallOldWndProc(Message);
  const vcl::TPoint p = MessagePoint(Message);
  int code = static_cast<int>(static_cast<std::intptr_t>(Message.WParam));
  code = code == HTTRANSPARENT && host_.ExtBorderForm() ? BorderFormHitTest(p) : HitTestAt(p);
  if (code != HTCAPTION && code != HTSYSMENU) return;
  SetHotElement(0, true);
  SetButtonPressed(false);
  host_.FrameProvider()->DropSysMenu(p);
}

// ---------------------------------------------------------------------------------------
// Entering and leaving

void TqvFrameMouse::WMMouseLeave(vcl::TMessage& Message) {
  if (IsTitleBarItemHitCode(HotElement) && host_.ExtBorderForm()) {
    SetButtonPressed(false);
  } else {
    SetHotElement(-1, true);
    SetButtonPressed(false);
  }
  host_.CallOldWndProc(Message);
}

void TqvFrameMouse::CMMouseEnter(vcl::TMessage& Message) {
  host_.CallOldWndProc(Message);
  TsSkinManager* manager = host_.SkinManager();
  vcl::TCustomForm* form = Form();
  if (manager && form->HandleAllocated()) manager->SetHotWnd(form->Handle());
  // The form's glow stands around the border window, where that is now (not while a size
  // change goes to the border window).
  TqvBorderForm* border = host_.ExtBorderForm();
  const HWND borderWnd = border ? border->BorderWindow() : nullptr;
  TsScrollWndData* data = host_.FrameProvider()->SkinData;
  const TsGeneralData* section = data ? data->Section() : nullptr;
  if (!borderWnd || !section || !manager || data->GlowID < 0 || (flags_ & kExtBorderSizing)) return;
  RemoveGlow(data->GlowID);
  RECT r{};
  GetWindowRect(borderWnd, &r);
  const TqvControlSkin control = data->ControlSkin();
  data->GlowID = AddGlow(vcl::TRect(r), data->SkinSection(), L"GLOW", section->GlowMargin, 255, borderWnd, &control);
}

void TqvFrameMouse::WMMouseMove(vcl::TMessage& Message) {
  vcl::TCustomForm* form = Form();
  const HWND wnd = form->Handle();
  if (RubberFrame().Running() && RubberFrame().Window() == wnd) {
    const vcl::TPoint screen = ScreenPointOf(wnd, Message);
    // The size command's frame learns its edge where the pointer comes onto one (the border
    // window's under extended borders: the form's own hit test answers none there).
    if (RubberFrame().Code() == 0 && form->Enabled()) RubberFrame().PickEdge(ElementAtScreen(screen), screen);
    RubberFrame().MouseMove(screen);
    return;
  }
  host_.CallOldWndProc(Message);
  TsSkinManager* manager = host_.SkinManager();
  if (manager && !Designing(manager) && manager->HotWnd() == wnd) manager->SetHotWnd(nullptr);
}

// ---------------------------------------------------------------------------------------
// The rubber frame

TqvFrameMouse::~TqvFrameMouse() { RubberFrame().CancelFor(this); }

void TqvFrameMouse::StartRubberFrame(int HitCode) {
  if (!Form()->HandleAllocated()) return;
  // Enter accepts the outline as the release does.
  RubberFrame().Start(Form()->Handle(), HitCode, this, [this] { EndRubberFrame(); });
}

void TqvFrameMouse::EndRubberFrameAt(vcl::TPoint Screen) {
  vcl::TCustomForm* form = Form();
  if (!form->HandleAllocated() || !RubberFrame().Running() || RubberFrame().Window() != form->Handle()) return;
  RubberFrame().MouseMove(Screen);
  EndRubberFrame();
}

void TqvFrameMouse::CaptureChanged(const vcl::TMessage& Message) {
  vcl::TCustomForm* form = Form();
  if (!form->HandleAllocated() || reinterpret_cast<HWND>(Message.LParam) == form->Handle()) return;
  if (RubberFrame().Running() && RubberFrame().Window() == form->Handle()) {
    RubberFrame().Cancel();
    SetButtonPressed(false);
  }
}

void TqvFrameMouse::EndRubberFrame() {
  vcl::TCustomForm* form = Form();
  const HWND wnd = form->Handle();
  const vcl::TRect frame = RubberFrame().Finish();
  SetButtonPressed(false);
  if (!form->Enabled() || IsZoomed(wnd)) return;
  POINT corners[2] = {{frame.Left, frame.Top}, {frame.Right, frame.Bottom}};
  if (HWND parent = GetParent(wnd); parent && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, corners, 2);
  form->SetBounds(corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y);
}

}  // namespace skin_layered
