// The border window and the mouse: the hit codes of the frame it shows (title elements,
// sizing edges, caption, grip, menu line), the shadow the mouse falls through, and the
// border window's own messages, which pass clicks on the frame to the owner's window.
#include <algorithm>

#include "classlib/controls/Mouse.h"
#include "skin_layered/core/CaptionHitCodes.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered {
namespace {

// The owner computes the hit code of a forwarded message itself.
constexpr WPARAM kForwarded = static_cast<WPARAM>(-1);
// The hit-test answer outside the shadow: every click on the frame becomes a non-client one.
constexpr LRESULT kFrameAnswer = 19;
// The last hit code that turns hot under the mouse (user buttons and the first title-bar items).
constexpr int kLastHotTitleElement = kHitTitleBarItem + 100;
// A stay-on-top form's border window put back in z-order only.
constexpr UINT kZOrderOnly =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

bool ApplicationTerminating() { return vcl::Application && vcl::Application->Terminated(); }
bool BeingDestroyed(const vcl::TComponent* C) { return !C || C->ComponentState().Contains(vcl::csDestroying); }

LPARAM PointParam(POINT P) { return MAKELPARAM(static_cast<WORD>(P.x), static_cast<WORD>(P.y)); }
// The signed coordinates of a mouse message.
int XOf(LPARAM L) { return static_cast<short>(LOWORD(L)); }
int YOf(LPARAM L) { return static_cast<short>(HIWORD(L)); }

}  // namespace

vcl::TPoint TqvBorderForm::ToBorder(LPARAM ScreenPoint) const {
  RECT window{};
  if (const HWND wnd = BorderWindow()) GetWindowRect(wnd, &window);
  return vcl::TPoint(XOf(ScreenPoint) - window.left, YOf(ScreenPoint) - window.top);
}

// ---------------------------------------------------------------------------------------
// Hit test

int TqvBorderForm::HitTest(vcl::TMessage& Message) {
  if (owner_)
    if (const int code = owner_->ExtHitTest(Message); code != 0) return code;
  const HWND owner = ParentHandle();
  const HWND wnd = BorderWindow();
  if (!owner || !wnd || !IsWindowEnabled(owner)) return -1;
  const vcl::TPoint p = ToBorder(Message.LParam);
  if (const int code = TitleElementCode(p); code != 0) return code;

  const int width = WndWidth(wnd), height = WndHeight(wnd);
  const vcl::TRect shadow = ShadowMargins();
  const TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
  const TsSkinData* data = manager ? &manager->Skin().SkinData : nullptr;
  const int alignL = data ? data->AlignOffset : 0, alignR = data ? data->AlignOffsetR : 0;
  const int alignT = data ? data->AlignOffsetT : 0, alignB = data ? data->AlignOffsetB : 0;

  // The sizing edges (all bounds included).
  if (!IsZoomed(owner) && (GetWindowLongPtrW(owner, GWL_STYLE) & WS_THICKFRAME)) {
    const int f = SysBorderWidth(owner, this, false);
    const int left = shadow.Left - alignL, top = shadow.Top - alignT;
    const int right = width - shadow.Right + alignR, bottom = height - shadow.Bottom + alignB;
    if (p.X >= left && p.X <= right && p.Y >= top && p.Y <= bottom) {
      int code = 0;
      if (p.Y <= top + 4)
        code = HTTOP;
      else if (p.Y >= bottom - f)
        code = HTBOTTOM;
      if (p.X <= left + f)
        code = code == HTTOP ? HTTOPLEFT : code == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
      else if (p.X >= right - f)
        code = code == HTTOP ? HTTOPRIGHT : code == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
      if (code != 0) return code;
    }
  }

  const int caption = DefBorderWidth(owner, this, true) + CaptionHeight(true);
  if (p.Y >= 0 && p.Y <= caption + shadow.Top) return IconRect().Contains(p) ? HTSYSMENU : HTCAPTION;
  const int menuBottom = caption + shadow.Top + MenuHeight();
  if (p.Y > menuBottom) {
    // The size grip at the bottom right corner of the client area, or the size box between
    // the form's own two scroll bars.
    const vcl::TRect frame = vcl::Rect(shadow.Left, shadow.Top, width - shadow.Right, height - shadow.Bottom);
    bool sizeBox = false;
    if (owner_) {
      const TqvShownScrollBars bars = owner_->ShownScrollBars();
      const vcl::TPoint screen(XOf(Message.LParam), YOf(Message.LParam));
      sizeBox = bars.Horz && bars.Vert && screen.X >= bars.HorzRect.Right && screen.Y >= bars.VertRect.Bottom;
    }
    if (owner_ && frame.Contains(p) && (owner_->GripVisible() || sizeBox)) {
      const TsSkinManager* m = manager;
      const int grip = m ? m->Skin().ConstData.GripImage : -1;
      if (m && m->IsValidImgIndex(grip)) {
        const vcl::TPoint corner = owner_->GripPos(grip);
        if (p.X >= corner.X && p.Y >= corner.Y) return HTBOTTOMRIGHT;
      }
    }
    return -1;
  }
  return MenuHeight() > 0 ? HTMENU : -1;
}

// ---------------------------------------------------------------------------------------
// The shadow

bool TqvBorderForm::InShadow(vcl::TMessage& Message) {
  if (State() & kBorderBlendMoving) return false;
  ResetRegion();
  const HWND wnd = BorderWindow();
  const TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (ApplicationTerminating() || !wnd || !manager || !manager->Active()) return false;
  const bool client = Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MBUTTONDBLCLK;
  const vcl::TPoint p = client ? vcl::TPoint(XOf(Message.LParam), YOf(Message.LParam))
                               : ToBorder(Message.LParam);
  if (OwnerZoomed()) return false;
  const vcl::TRect shadow = ShadowMargins();
  const TsSkinData& data = manager->Skin().SkinData;
  const int width = WndWidth(wnd), height = WndHeight(wnd);
  if (p.X >= shadow.Left - data.AlignOffset && p.X <= width - shadow.Right + data.AlignOffsetR &&
      p.Y >= shadow.Top - data.AlignOffsetT && p.Y <= height - shadow.Bottom + data.AlignOffsetB)
    return false;
  SetHotButton(-1, true);
  return true;
}

void TqvBorderForm::CutMouseHole(vcl::TMessage& Message) {
  const HWND wnd = BorderWindow();
  if (!wnd) return;
  if (TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr) manager->SetHotControl(nullptr);
  InMouseHole = true;
  const int x = XOf(Message.LParam), y = YOf(Message.LParam);
  HRGN rgn = BorderRgn(0, 0);
  if (!rgn) rgn = CreateRectRgn(0, 0, WndWidth(wnd), WndHeight(wnd));
  HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
  CombineRgn(rgn, rgn, pixel, RGN_XOR);
  DeleteObject(pixel);
  // A modal form's border window keeps its region (a changed region there ends the modal
  // loop's hold on the mouse under some systems).
  const vcl::TCustomForm* form = owner_ ? owner_->Form() : nullptr;
  if (form && form->FormState().Contains(vcl::fsModal))
    DeleteObject(rgn);
  else
    SetWindowRgn(wnd, rgn, FALSE);
  RgnResetPending = true;
  InMouseHole = false;
}

// ---------------------------------------------------------------------------------------
// The border window's messages

void TqvBorderForm::BorderWndProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST: return NCHitTest(Message);
    case WM_SETCURSOR: return SetCursorMessage(Message);
    case WM_NCMOUSEMOVE: return NCMouseMove(Message);
    case WM_NCMOUSELEAVE: return NCMouseLeave(Message);
    case WM_NCLBUTTONDOWN: return NCLButtonDown(Message);
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP: return NCButtonUp(Message);
    case WM_NCRBUTTONDOWN: return NCRButtonDown(Message);
    case WM_NCLBUTTONDBLCLK: return DoubleClick(Message);
    case WM_MOUSEACTIVATE: return MouseActivate(Message);
    case WM_SETFOCUS: return SetFocusMessage(Message);
    case WM_MOVE: return MoveMessage(Message);
    case WM_WINDOWPOSCHANGING: return WindowPosChanging(Message);
    case WM_WINDOWPOSCHANGED: return WindowPosChanged(Message);
    case WM_SHOWWINDOW: return ShowWindowMessage(Message);
    case WM_ERASEBKGND:
    case WM_NCPAINT: Message.Result = 0; return;
    default:
      if (StackingMessage(Message)) return;
      return OtherMessage(Message);
  }
}

void TqvBorderForm::ForwardToOwner(vcl::TMessage& Message, UINT Msg, WPARAM WParam) {
  if (const HWND owner = ParentHandle()) Message.Result = SendMessageW(owner, Msg, WParam, Message.LParam);
}

void TqvBorderForm::NCHitTest(vcl::TMessage& Message) {
  if (InShadow(Message)) return hook_.CallPrevious(Message);
  hook_.CallPrevious(Message);
  Message.Result = kFrameAnswer;
}

void TqvBorderForm::SetCursorMessage(vcl::TMessage& Message) {
  POINT cursor{};
  GetCursorPos(&cursor);
  vcl::TMessage test{WM_NCHITTEST, 0, PointParam(cursor), 0};
  if (InShadow(test)) return hook_.CallPrevious(Message);
  LPCWSTR shape = nullptr;
  switch (HitTest(test)) {
    case HTCAPTION:
    case HTMENU: shape = IDC_ARROW; break;
    case HTLEFT:
    case HTRIGHT: shape = IDC_SIZEWE; break;
    case HTTOP:
    case HTBOTTOM: shape = IDC_SIZENS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: shape = IDC_SIZENWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
    default: return hook_.CallPrevious(Message);
  }
  SetCursor(LoadCursorW(nullptr, shape));
  Message.Result = 1;
}

void TqvBorderForm::NCMouseMove(vcl::TMessage& Message) {
  if (TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr) manager->SetHotControl(nullptr);
  const int code = HitTest(Message);
  Message.Result = code;
  const bool element = code == kHitMin || code == kHitMax || code == kHitClose || code == kHitHelp ||
                       (code >= kHitUserButton && code <= kLastHotTitleElement);
  SetHotButton(element ? code : 0, true);
  // The system says when the mouse leaves the window (WM_NCMOUSELEAVE) only when asked:
  // without it a move straight off the window leaves the element hot, its hint shown.
  if (const HWND wnd = BorderWindow(); element && wnd) vcl::TrackMouseLeave(wnd, true);
}

void TqvBorderForm::NCMouseLeave(vcl::TMessage& Message) {
  SetHotButton(-1, true);
  hook_.CallPrevious(Message);
}

void TqvBorderForm::NCLButtonDown(vcl::TMessage& Message) {
  if (InShadow(Message)) return;
  Busy = false;
  // A blended move is the form animations' (they start it from the owner's own press).
  ForwardToOwner(Message, WM_NCLBUTTONDOWN, HitTest(Message) == HTSYSMENU ? HTSYSMENU : kForwarded);
}

void TqvBorderForm::NCButtonUp(vcl::TMessage& Message) {
  if (InShadow(Message)) return;
  ForwardToOwner(Message, Message.Msg, kForwarded);
}

void TqvBorderForm::NCRButtonDown(vcl::TMessage& Message) {
  if (InShadow(Message)) return;
  ForwardToOwner(Message, WM_NCRBUTTONDOWN, static_cast<WPARAM>(HitTest(Message)));
}

void TqvBorderForm::MouseActivate(vcl::TMessage& Message) {
  Message.Result = MA_NOACTIVATE;
  const HWND owner = ParentHandle();
  const vcl::TCustomForm* form = owner_ ? owner_->Form() : nullptr;
  if (owner && IsWindowEnabled(owner) && (!owner_ || (form && form->Enabled())))
    SetForegroundWindow(owner);
}

void TqvBorderForm::SetFocusMessage(vcl::TMessage&) {
  vcl::TCustomForm* form = owner_ ? owner_->Form() : nullptr;
  if (form && !BeingDestroyed(form) && form->Visible() && form->CanFocus()) form->SetFocus();
}

void TqvBorderForm::MoveMessage(vcl::TMessage& Message) {
  if (State() & kBorderBlendMoving) {
    RECT window{};
    GetWindowRect(BorderWindow(), &window);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (window.top < work.top || TopClipped) {
      RgnResetPending = true;
      ResetRegion();
    }
  }
  hook_.CallPrevious(Message);
  // While a blended move drags the border window, the owner's glued forms follow it.
  if ((State() & kBorderBlendMoving) && owner_ && owner_->Form() && !owner_->Destroying()) owner_->MoveGluedForms();
}

void TqvBorderForm::WindowPosChanging(vcl::TMessage& Message) {
  SnapMovingWindow(Message);
  hook_.CallPrevious(Message);
  if (form_) {
    LastLeft = form_->Left();
    LastTop = form_->Top();
  }
}

void TqvBorderForm::OtherMessage(vcl::TMessage& Message) {
  // Client mouse messages over the shadow fall through to what lies below.
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MBUTTONDBLCLK && InShadow(Message)) return CutMouseHole(Message);
  hook_.CallPrevious(Message);
}

void TqvBorderForm::SnapMovingWindow(vcl::TMessage& Message) {
  // While a blended move drags the border window, the form's place snaps as it would.
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (!pos || !(State() & kBorderBlendMoving) || (pos->flags & SWP_NOMOVE) || (pos->x == 0 && pos->y == 0)) return;
  if (!owner_ || !owner_->Form() || !owner_->ScreenSnap() || owner_->Destroying()) return;
  const HWND owner = ParentHandle();
  if (!owner || IsZoomed(owner)) return;
  const vcl::TRect shadow = owner_->ShadowSize();
  const int dx = shadow.Left + BorderFormOffsetX(this), dy = shadow.Top + BorderFormOffsetY(this);
  int x = pos->x + dx, y = pos->y + dy;
  owner_->SnapToForms(x, y);
  pos->x = x - dx;
  pos->y = y - dy;
}

void TqvBorderForm::WindowPosChanged(vcl::TMessage& Message) {
  const HWND wnd = BorderWindow();
  // A move or size of the border window ends the owner's glow fades (their windows stand
  // where the buttons were); a change of z-order alone keeps them.
  RECT window{};
  if (wnd) GetWindowRect(wnd, &window);
  const vcl::TRect bounds(window);
  if (bounds != last_bounds_) KillOwnerAnimations();
  last_bounds_ = bounds;
  hook_.CallPrevious(Message);
  Restacked(reinterpret_cast<const WINDOWPOS*>(Message.LParam));
  if (!owner_ || !owner_->Form() || owner_->Destroying() || BeingDestroyed(owner_->Form()) || !wnd) return;
  TqvBorderOwner& provider = *owner_;
  const HWND owner = ParentHandle();
  if (!owner) return;
  if (!provider.Animating() && IsIconic(owner) && !(provider.Flags() & kBorderMinimizing)) {
    SkinData->BGChanged = true;
    const vcl::TLifetime::TWatch alive = lifetime_.Watch();
    UpdateExBordersPos(false, 255);
    if (!alive) return;
  }
  if (provider.Form()->FormStyle() == vcl::fsStayOnTop) {
    const bool main = vcl::Application && vcl::Application->MainForm() == provider.Form();
    const HWND after = AeroIsEnabled() && main && GetActiveWindow() == owner ? ZOrderAfter() : owner;
    SetWindowPos(wnd, after, 0, 0, 0, 0, kZOrderOnly);
  }
}

void TqvBorderForm::ShowWindowMessage(vcl::TMessage& Message) {
  // Only the main form's border window is shown and hidden by the system's rules (with the
  // task bar's main form); every other one follows its provider alone.
  const vcl::TCustomForm* form = owner_ ? owner_->Form() : nullptr;
  const bool main = form && vcl::Application && vcl::Application->MainForm() == form &&
                    vcl::Application->MainFormOnTaskBar();
  Message.Result = 0;
  if (!main || !LayeredApiAvailable() || !owner_->DrawsNonClientArea() || SkinIsUpdating()) return;
  // While the minimise or hide animation shows its frames on the border window, the system's
  // hiding of the form's owned windows leaves it alone.
  const bool hide = Message.WParam == 0 && (Message.LParam == 0 || Message.LParam == SW_PARENTCLOSING);
  if (hide && (owner_->Flags() & (kBorderMinimizing | kBorderHiding))) return;
  // Hidden otherwise (not minimised), the form's whole picture fades out where the border window
  // was, the frame with the client, while the border window itself goes.
  if (hide && !OwnerIconic()) owner_->FadeOutBorderPicture();
  hook_.CallPrevious(Message);
}

// ---------------------------------------------------------------------------------------
// Double clicks

void TqvBorderForm::DoubleClick(vcl::TMessage& Message) {
  // A running outline ends first, where the click is; the form's new bounds may take this
  // border form away.
  if (owner_ && owner_->OutlineRunning()) {
    const vcl::TLifetime::TWatch alive = lifetime_.Watch();
    owner_->EndOutline(vcl::TPoint(XOf(Message.LParam), YOf(Message.LParam)));
    if (!alive) return;
  }
  const int code = HitTest(Message);
  Message.WParam = static_cast<WPARAM>(code);
  if (!owner_ || !owner_->Form() || !ParentHandle()) return;
  // Each command below may take this border form away (the form maximised with native
  // borders, closed, unskinned): it is the last thing done.
  switch (code) {
    case HTTOP:
    case HTBOTTOM: return StretchHeight();
    case HTLEFT:
    case HTRIGHT: return StretchWidth();
    case HTSYSMENU: SendMessageW(ParentHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); return;
    case HTCAPTION:
      Message.WParam = 0;
      return owner_->CaptionDoubleClicked();
    default:
      if (IsTitleBarItemHitCode(code)) return owner_->TitleBarItemDoubleClicked(code);
      return;
  }
}

RECT TqvBorderForm::OwnerWorkArea() const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(ParentHandle(), MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

void TqvBorderForm::StretchHeight() {
  TqvBorderOwner& provider = *owner_;
  vcl::TCustomForm& form = *provider.Form();
  if (form.BorderStyle() != vcl::TFormBorderStyle::bsSizeable) return;
  vcl::TRect& saved = provider.StretchSaved();
  if (provider.Flags() & kBorderStretchedHeight) {
    provider.SetFlags(provider.Flags() & ~kBorderStretchedHeight);
    form.SetBounds(form.Left(), saved.Top, form.Width(), saved.Height());
    return;
  }
  const RECT work = OwnerWorkArea();
  const int offsetX = BorderFormOffsetX(this), offsetY = BorderFormOffsetY(this);
  saved.Top = form.Top();
  saved.Bottom = form.Top() + form.Height();
  // The form's own handling of its new size may take the border form away.
  const vcl::TLifetime::TWatch alive = lifetime_.Watch();
  form.SetBounds(form.Left(), work.top + offsetY, form.Width(), (work.bottom - work.top) - offsetY - offsetX);
  if (alive) provider.SetFlags(provider.Flags() | kBorderStretchedHeight);
}

void TqvBorderForm::StretchWidth() {
  TqvBorderOwner& provider = *owner_;
  vcl::TCustomForm& form = *provider.Form();
  if (form.BorderStyle() != vcl::TFormBorderStyle::bsSizeable) return;
  vcl::TRect& saved = provider.StretchSaved();
  if (provider.Flags() & kBorderStretchedWidth) {
    provider.SetFlags(provider.Flags() & ~kBorderStretchedWidth);
    form.SetBounds(saved.Left, form.Top(), saved.Width(), form.Height());
    return;
  }
  const RECT work = OwnerWorkArea();
  const int offsetX = BorderFormOffsetX(this);
  saved.Left = form.Left();
  saved.Right = form.Left() + form.Width();
  const vcl::TLifetime::TWatch alive = lifetime_.Watch();
  form.SetBounds(work.left + offsetX, form.Top(), (work.right - work.left) - 2 * offsetX, form.Height());
  if (alive) provider.SetFlags(provider.Flags() | kBorderStretchedWidth);
}

}  // namespace skin_layered
