#include "skin_layered/adapters/DialogWnd.h"

#include <algorithm>
#include <map>

#include "classlib/controls/Mouse.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/DialogHookRequests.h"
#include "skin_layered/adapters/DialogSysMenu.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SystemMessages.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/TitleButtonGlow.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvDialogWnd) {}

namespace {

constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

std::map<vcl::TColor, HBRUSH>& Brushes() {
  static std::map<vcl::TColor, HBRUSH> brushes;
  return brushes;
}

// The commands that end a message box or a dialog: IDOK to IDNO from a button. Besides cancel
// and yes, the engine's own message boxes (MessageDlgEx and its kind) end with any of these
// buttons, and a box closed by OK or No deserves the same hide animation.
bool ClosingCommand(WPARAM WParam, LPARAM LParam) {
  const WORD id = LOWORD(WParam);
  if (HIWORD(WParam) != BN_CLICKED || id < IDOK || id > IDNO) return false;
  if (!LParam) return true;  // sent by the dialog manager for the keyboard
  wchar_t cls[16] = {};
  GetClassNameW(reinterpret_cast<HWND>(LParam), cls, 16);
  return lstrcmpiW(cls, L"button") == 0;
}

// Whether the system shows the window's caption active now.
bool ShowsActiveCaption(HWND Wnd) {
  WINDOWINFO info{};
  info.cbSize = sizeof info;
  return GetWindowInfo(Wnd, &info) && (info.dwWindowStatus & WS_ACTIVECAPTION) != 0;
}

}  // namespace

HBRUSH DialogBrush(vcl::TColor Color) {
  const vcl::TColor rgb = vcl::ColorToRGB(Color);
  auto& brushes = Brushes();
  if (auto it = brushes.find(rgb); it != brushes.end()) return it->second;
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(rgb));
  brushes.emplace(rgb, brush);
  return brush;
}

void FreeDialogBrushes() {
  for (auto& [color, brush] : Brushes()) DeleteObject(brush);
  Brushes().clear();
}

// ---------------------------------------------------------------------------------------
// Life

void TqvDialogWnd::TFreeMenu::operator()(TqvSystemMenu* Menu) const { vcl::TObject::Free(Menu); }

void TqvDialogWnd::TFreeTimer::operator()(TqvMoveTimer* Timer) const { vcl::TObject::Free(Timer); }

TqvDialogWnd::~TqvDialogWnd() {
  KillAnimations();
  move_timer_.reset();
  DropBorderForm();
  RestoreSysMenuStyle();
  if (face_ && face_->SnapshotForm) vcl::TObject::Free(std::exchange(face_->SnapshotForm, nullptr));
  SystemMenu.reset();
  title_cache_.reset();
  face_.reset();
}

void TqvDialogWnd::SetSkinParams() {
  TqvScrollWnd::SetSkinParams();
  ChildrenWalked = false;
  RgnChanged = true;
  BorderKind = 1;
  // The window may be adapted long after it was shown (a skin applied to open dialogs), or be
  // shown later without ever being activated.
  Active = ShowsActiveCaption(CtrlHandle);
  PlainClient = true;  // the modern system's dialogs
  CaptionIndex = TitleIndex = -1;
  face_ = std::make_unique<TFace>(this);
  face_->CtrlHandle = CtrlHandle;
  face_->SkinData = SkinData;
  face_->SavedOwner = GetWindowLongPtrW(CtrlHandle, GWLP_HWNDPARENT);
  SystemMenu.reset(vcl::Construct<TqvSystemMenu>(nullptr));
  SystemMenu->Dialog = this;
  SystemMenu->UpdateItems();
  if (SkinData) SkinData->Updating = true;
  // A saved screen under the dialog would be put back over the skinned frames around it.
  if (const ULONG_PTR cls = GetClassLongPtrW(CtrlHandle, GCL_STYLE); cls & CS_SAVEBITS)
    SetClassLongPtrW(CtrlHandle, GCL_STYLE, static_cast<LONG_PTR>(cls & ~static_cast<ULONG_PTR>(CS_SAVEBITS)));
  // The system's transitions would show the unskinned frame for a moment.
  const BOOL disabled = TRUE;
  FormServices().DwmSetWindowAttr(CtrlHandle, kDwmTransitionsForceDisabled, &disabled, sizeof disabled);
  if (TsSkinManager* manager = Manager(); manager && manager->SkinnedPopups())
    FormServices().SetMenuOwnerDraw(manager->SkinableMenus(), SystemMenu.get(), true);
  InitTitleButtons();
}

void TqvDialogWnd::InitWindow() {
  ReadStyles();
  Icon = reinterpret_cast<HICON>(SendMessageW(CtrlHandle, WM_GETICON, ICON_SMALL, 0));
  if (!Icon) Icon = reinterpret_cast<HICON>(SendMessageW(CtrlHandle, WM_GETICON, ICON_BIG, 0));
  InitTitleButtons();
  if (SystemMenu) SystemMenu->UpdateItems();
  if (SkinData) SkinData->BGChanged = true;
  FollowFrameSkin();
}

void TqvDialogWnd::FollowFrameSkin() {
  FollowSysMenuStyle();
  const bool paints = SkinData && SkinData->Skinned(false);
  // A captioned dialog whose frame the skin paints gets the skin's extended borders.
  UpdateBorderForm(BorderKind != 2 && paints);
  // The system's frame is the whole window, without the corners the last skin cut off.
  if (!paints) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool cut = GetWindowRgn(CtrlHandle, region) != ERROR;
    DeleteObject(region);
    if (cut) SetWindowRgn(CtrlHandle, nullptr, TRUE);
  }
}

void TqvDialogWnd::ReadStyles() {
  // WS_SYSMENU taken off by the adapter is still the dialog's.
  Style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE) | (sys_menu_removed_ ? WS_SYSMENU : 0);
  ExStyle = GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE);
  if ((Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION)
    BorderKind = 2;
  else if (Style & WS_THICKFRAME)
    BorderKind = 3;
  else if (Style & DS_MODALFRAME)
    BorderKind = 0;
  else
    BorderKind = 3;
}

void TqvDialogWnd::ReadShownStyles() {
  if (shown_styles_read_) return;
  shown_styles_read_ = true;
  // A dialog made hidden may change its frame while it initialises (the system's file dialogs
  // make themselves sizeable): the frame is painted by the styles it shows with.
  const LONG_PTR style = Style, exStyle = ExStyle;
  const int kind = BorderKind;
  ReadStyles();
  // What the frame is painted by (not the window's state: shown, clipping, layered).
  constexpr LONG_PTR kFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                              DS_MODALFRAME;
  constexpr LONG_PTR kExFrame = WS_EX_CONTEXTHELP | WS_EX_RTLREADING | WS_EX_LAYOUTRTL | WS_EX_TOOLWINDOW;
  if (((Style ^ style) & kFrame) == 0 && ((ExStyle ^ exStyle) & kExFrame) == 0 && BorderKind == kind) return;
  InitTitleButtons();
  FollowSysMenuStyle();
  if (SystemMenu) SystemMenu->UpdateItems();
  SkinData->BGChanged = true;
  RgnChanged = true;
}

void TqvDialogWnd::FollowSysMenuStyle() {
  if (SkinData && SkinData->Skinned(false)) {
    // Off already (or given back by the dialog itself, which the adapter takes off again).
    const LONG_PTR now = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    if (!(Style & WS_SYSMENU) || !(now & WS_SYSMENU)) return;
    // The system draws no caption buttons of its own any more; given back when the adapter goes.
    SetWindowLongPtrW(CtrlHandle, GWL_STYLE, now & ~static_cast<LONG_PTR>(WS_SYSMENU));
    sys_menu_removed_ = true;
  } else {
    // A skin without the dialog's section leaves its frame to the system, buttons and all.
    RestoreSysMenuStyle();
  }
}

void TqvDialogWnd::RestoreSysMenuStyle() {
  if (!sys_menu_removed_) return;
  sys_menu_removed_ = false;
  if (IsWindow(CtrlHandle))
    SetWindowLongPtrW(CtrlHandle, GWL_STYLE, GetWindowLongPtrW(CtrlHandle, GWL_STYLE) | WS_SYSMENU);
}

// ---------------------------------------------------------------------------------------
// Measures and tests

int TqvDialogWnd::CaptionHeight(bool WithSkin) const {
  const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION && !IsIconic(CtrlHandle)) return 0;
  // Under a border form the skin's title (its frame's top included) is the caption.
  if (WithSkin && border_form_)
    if (const int title = SkinTitleHeight(border_form_.get()); title > 0) return title;
  return GetSystemMetrics(BorderKind == 4 || BorderKind == 5 ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int TqvDialogWnd::BorderWidth() const {
  // Minimised, the window has no client area to measure the frame by: its style gives it.
  if (IsIconic(CtrlHandle)) {
    const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXSIZEFRAME);
    if ((style & WS_DLGFRAME) || (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME))
      return GetSystemMetrics(SM_CXFIXEDFRAME);
    return (style & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
  }
  RECT wr{}, cr{};
  GetWindowRect(CtrlHandle, &wr);
  GetClientRect(CtrlHandle, &cr);
  return std::max(0, static_cast<int>((wr.right - wr.left) - cr.right) / 2);
}

int TqvDialogWnd::OffsetX() const {
  return BorderWidth() + (border_form_ ? BorderFormOffsetX(border_form_.get()) + ShadowSize().Left : 0);
}

int TqvDialogWnd::OffsetY() const {
  RECT wr{}, cr{};
  GetWindowRect(CtrlHandle, &wr);
  GetClientRect(CtrlHandle, &cr);
  const int height = (wr.bottom - wr.top) - cr.bottom;
  const int y = std::max(0, CaptionHeight(false) > 0 ? height - BorderWidth() : height / 2);
  return y + (border_form_ ? BorderFormOffsetY(border_form_.get()) + ShadowSize().Top : 0);
}

bool TqvDialogWnd::CloseEnabled() const {
  return HasSysMenu() && (GetClassLongPtrW(CtrlHandle, GCL_STYLE) & CS_NOCLOSE) == 0;
}
bool TqvDialogWnd::MaxEnabled() const {
  return HasMaxBox() && !IsZoomed(CtrlHandle) && (BorderKind == 1 || BorderKind == 3 || BorderKind == 5);
}
bool TqvDialogWnd::MinEnabled() const { return HasMinBox() && !IsIconic(CtrlHandle); }
bool TqvDialogWnd::RestoreEnabled() const {
  return HasMaxBox() && (IsIconic(CtrlHandle) || IsZoomed(CtrlHandle));
}
bool TqvDialogWnd::IconVisible() const { return HasSysMenu() && (BorderKind == 1 || BorderKind == 3); }

TqvDialogButton& TqvDialogWnd::Button(int HitCode) {
  switch (HitCode) {
    case kHitMin: return Buttons[0];
    case kHitMax: return Buttons[1];
    case kHitHelp: return Buttons[3];
    default: return Buttons[2];
  }
}

// ---------------------------------------------------------------------------------------
// The window procedure

void TqvDialogWnd::WndProc(vcl::TMessage& Message) {
  // A message in hand: the adapter is not freed under it.
  ++running_;
  const vcl::TScopeExit done([this] { --running_; });
  Dispatch(Message);
}

void TqvDialogWnd::Dispatch(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) return DispatchUnskinned(Message);
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY: return OnDestroy(Message);
    case WM_SIZE: return OnSize(Message);
    case WM_SETFOCUS: return OnSetFocus(Message);
    case WM_ENABLE:
    case WM_SETTEXT: return OnFrameStateChange(Message);
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND: return OnEraseBkgnd(Message);
    case WM_DRAWITEM: return OnDrawItem(Message);
    case WM_NCHITTEST: return OnNcHitTest(Message);
    case WM_NCPAINT: return OnNcPaintMessage(Message);
    case WM_NCACTIVATE: return OnNcActivate(Message);
    case WM_GETDLGCODE: return;  // answered as it came
    case WM_NCMOUSEMOVE: return OnNcMouseMove(Message);
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE: return OnMouseLeave(Message);
    case WM_NCLBUTTONDOWN: return OnButtonDown(Message);
    case WM_NCLBUTTONUP: return OnNcButtonUp(Message);
    case WM_LBUTTONUP: return OnClientButtonUp(Message);
    case WM_NCLBUTTONDBLCLK: return OnDoubleClick(Message);
    case WM_NCRBUTTONDOWN: return OnNcRightButtonDown(Message);
    case WM_NCRBUTTONUP: return OnNcRightButtonUp(Message);
    case WM_CTLCOLORDLG: return OnCtlColorDlg(Message);
    case WM_MOUSEMOVE: return OnClientMouseMove(Message);
    case DM_SETDEFID: return OnDefaultButtonSet(Message);
    case kDialogRearranged:
    case kDialogRearrangedToo: return OnRearranged(Message);
    case WM_SHOWWINDOW: return OnShowWindow(Message);
    case WM_COMMAND: return OnButtonCommand(Message);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(Message);
    case WM_SYSCOMMAND: return OnSysCommand(Message);
    case kSkinCmdMessage: return OnSkinCommandMessage(Message);
    default: return TqvScrollWnd::WndProc(Message);
  }
}

// Without the skin only the window's end and the skin's commands are the adapter's. Under a
// skin without the dialog's section the system paints the frame and face, while the controls
// take the adapters their own sections serve, as they do under a skin that has it.
void TqvDialogWnd::DispatchUnskinned(vcl::TMessage& Message) {
  if (!Destroyed() && (Message.Msg == WM_DESTROY || Message.Msg == WM_NCDESTROY)) return OnDestroy(Message);
  // Kept for a skin that paints the frame later.
  if (Message.Msg == WM_NCACTIVATE) Active = Message.WParam != 0;
  if (Message.Msg == kSkinCmdMessage && !Destroyed() && SkinData && OnCommand(Message)) return;
  const TsSkinManager* manager = Destroyed() ? nullptr : Manager();
  if (manager && manager->Active() && manager->Skin().SkinData.Active) {
    switch (Message.Msg) {
      case WM_NCPAINT:
      case WM_ERASEBKGND:
        if (!ChildrenWalked) {
          const vcl::TLifetime::TWatch alive = Lifetime().Watch();
          WalkChildren();
          if (!alive) return;
        }
        break;
      case DM_SETDEFID: return OnDefaultButtonSet(Message);
      case kDialogRearranged:
      case kDialogRearrangedToo: return OnRearranged(Message);
      default: break;
    }
  }
  TqvScrollWnd::WndProc(Message);
}

void TqvDialogWnd::OnSetFocus(vcl::TMessage& Message) {
  CallPrevWndProc(Message);
  RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawAll);
}

// WM_ENABLE, WM_SETTEXT: the frame shows the new state.
void TqvDialogWnd::OnFrameStateChange(vcl::TMessage& Message) {
  CallPrevWndProc(Message);
  if (!IsWindowVisible(CtrlHandle)) {
    // A picture made meanwhile (at an erase while hidden) is made again when the dialog shows.
    if (Message.Msg == WM_SETTEXT) ReadCaption();
    SkinData->BGChanged = true;
    return;
  }
  // A new caption is shown by the border window when it shows the frame.
  if (Message.Msg == WM_SETTEXT && BorderWindowShown()) {
    ReadCaption();
    SkinData->BGChanged = true;
    UpdateBorderPos(true);
    return;
  }
  RepaintFrame();
}

void TqvDialogWnd::OnPaint(vcl::TMessage& Message) {
  if (!PlainClient) return CallPrevWndProc(Message);
  PAINTSTRUCT ps{};
  BeginPaint(CtrlHandle, &ps);
  EndPaint(CtrlHandle, &ps);
  Message.Result = 0;
}

// An owner-drawn static draws its text over the skinned background.
void TqvDialogWnd::OnDrawItem(vcl::TMessage& Message) {
  if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam); item && item->CtlType == ODT_STATIC)
    SetBkMode(item->hDC, TRANSPARENT);
  TqvScrollWnd::WndProc(Message);
}

void TqvDialogWnd::OnNcPaintMessage(vcl::TMessage& Message) {
  if (IsWindowVisible(CtrlHandle)) OnNcPaint();
  Message.Result = 0;
}

void TqvDialogWnd::OnNcMouseMove(vcl::TMessage& Message) {
  const int code = static_cast<int>(Message.WParam);
  const bool button = code == kHitMin || code == kHitMax || code == kHitClose || code == kHitHelp;
  if (button != (HotButton != 0) || (button && code != HotButton)) SetHotButton(button ? code : 0);
  if (button && !tracking_leave_) tracking_leave_ = vcl::TrackMouseLeave(CtrlHandle, true);
  TqvScrollWnd::WndProc(Message);
}

// WM_NCMOUSELEAVE, WM_MOUSELEAVE: no title button is hot unless one is held down.
void TqvDialogWnd::OnMouseLeave(vcl::TMessage& Message) {
  tracking_leave_ = false;
  if (!press_in_progress_) SetHotButton(0);
  TqvScrollWnd::WndProc(Message);
}

void TqvDialogWnd::OnNcButtonUp(vcl::TMessage& Message) {
  if (border_form_ && static_cast<int>(Message.WParam) == HTTRANSPARENT)
    Message.WParam = static_cast<WPARAM>(BorderHitCode(Message));
  OnButtonUp(Message, static_cast<int>(Message.WParam));
}

// A captured press of a title button is released where the cursor is.
void TqvDialogWnd::OnClientButtonUp(vcl::TMessage& Message) {
  if (!press_in_progress_) return TqvScrollWnd::WndProc(Message);
  POINT p{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)};
  ClientToScreen(CtrlHandle, &p);
  vcl::TMessage hit{WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)), 0};
  OnNcHitTest(hit);
  if (GetCapture() == CtrlHandle) ReleaseCapture();
  OnButtonUp(Message, static_cast<int>(hit.Result));
}

// The caption's and the icon's right button belong to the skinned system menu.
void TqvDialogWnd::OnNcRightButtonDown(vcl::TMessage& Message) {
  if (Message.WParam == HTCAPTION || Message.WParam == HTSYSMENU) return;
  TqvScrollWnd::WndProc(Message);
}

void TqvDialogWnd::OnNcRightButtonUp(vcl::TMessage& Message) {
  if (border_form_ && static_cast<int>(Message.WParam) == HTTRANSPARENT)
    Message.WParam = static_cast<WPARAM>(BorderHitCode(Message));
  if (Message.WParam != HTCAPTION && Message.WParam != HTSYSMENU) return TqvScrollWnd::WndProc(Message);
  SetHotButton(0);
  DropSysMenu(POINT{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)});
}

void TqvDialogWnd::OnCtlColorDlg(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (!manager) return TqvScrollWnd::WndProc(Message);
  Message.Result = reinterpret_cast<LRESULT>(DialogBrush(manager->Skin().GetGlobalColor()));
}

// The pointer over the dialog leaves the control it was over.
void TqvDialogWnd::OnClientMouseMove(vcl::TMessage& Message) {
  if (IsWindowEnabled(CtrlHandle))
    if (TsSkinManager* manager = DefaultSkinManager(); manager && manager->HotWnd()) manager->SetHotWnd(nullptr);
  TqvScrollWnd::WndProc(Message);
}

// The default button moved: the children are wrapped again and repainted.
void TqvDialogWnd::OnDefaultButtonSet(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvScrollWnd::WndProc(Message);
  if (!alive) return;
  WalkChildren();
  RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TqvDialogWnd::OnRearranged(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (!alive) return;
  WalkChildren();
  RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
}

void TqvDialogWnd::OnShowWindow(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  // Under composition the system would show the dialog's unskinned first picture: the window
  // stays layered (unseen) while it handles its showing.
  const HWND wnd = CtrlHandle;
  const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  const bool hidden = FormServices().AeroIsEnabled() && !(ex & WS_EX_LAYERED);
  if (hidden) SetWindowLongPtrW(wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  CallPrevWndProc(Message);
  if (hidden && IsWindow(wnd))
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  if (!alive) return;
  const BOOL disabled = TRUE;
  FormServices().DwmSetWindowAttr(wnd, kDwmTransitionsForceDisabled, &disabled, sizeof disabled);
  if (!Message.WParam) return;
  TsSkinManager* manager = Manager();
  if (!manager || !manager->AnimEffects()->DialogShow()->Active()) return;
  ReadShownStyles();
  ReadCaption();
  WalkChildren();
  SkinData->Updating = false;
  AnimShowDlg(face_.get());
}

// A button that ends the dialog: its picture is taken while it is still whole.
void TqvDialogWnd::OnButtonCommand(vcl::TMessage& Message) {
  if (ClosingCommand(Message.WParam, Message.LParam) && !face_->SnapshotForm)
    if (TsSkinManager* manager = Manager(); manager && manager->AnimEffects()->DialogHide()->Active())
      face_->SnapshotForm = FormServices().CreateSnapshotForm(CtrlHandle);
  TqvScrollWnd::WndProc(Message);
}

void TqvDialogWnd::OnWindowPosChanged(vcl::TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  // The glow windows of the title buttons stand where the buttons were.
  if (pos && ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE) || (pos->flags & SWP_HIDEWINDOW)))
    KillAnimations();
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  if (pos && (pos->flags & SWP_HIDEWINDOW)) {
    RgnChanged = true;
    TsSkinManager* manager = Manager();
    if (LayeredApiAvailable() && manager && manager->AnimEffects()->DialogHide()->Active()) {
      CallPrevWndProc(Message);
      if (alive) AnimHideDlg(face_.get());
    } else {
      TqvScrollWnd::WndProc(Message);
    }
    // The border window would stay on the screen around nothing; the dialog's next showing
    // makes it again.
    if (alive) UpdateBorderForm(false);
    return;
  }
  TqvScrollWnd::WndProc(Message);
  if (alive && border_form_ && IsWindowVisible(CtrlHandle)) UpdateBorderPos(false);
}

void TqvDialogWnd::OnSysCommand(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvScrollWnd::WndProc(Message);
  if (!alive) return;
  const UINT command = static_cast<UINT>(SysCommandOf(Message.WParam));
  if (Message.WParam == (SC_MOVE | HTCAPTION)) {
    UpdateWindow(CtrlHandle);
    // The border window's picture is given again where the move ended.
    if (BorderWindowShown()) UpdateBorderPos(true);
  }
  if ((command == SC_MAXIMIZE || command == SC_RESTORE) && HasMaxBox()) SetHotButton(0, false);
}

void TqvDialogWnd::OnSkinCommandMessage(vcl::TMessage& Message) {
  if (!OnCommand(Message)) TqvScrollWnd::WndProc(Message);
}

bool TqvDialogWnd::OnCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (!FromOwnManager(Message)) return false;
      KillAnimations();
      SkinData->UpdateIndexes(true);
      FollowFrameSkin();
      if (TsSkinManager* manager = Manager()) CaptionIndex = manager->GetSkinIndex(L"CAPTION");
      InitTitleButtons();
      SkinData->BGChanged = true;
      RgnChanged = true;
      SendToChildren(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
      return true;
    case scmRemoveSkin:
      if (!FromOwnManager(Message)) return false;
      KillAnimations();
      UpdateBorderForm(false);
      ForgetSkin();
      SetWindowRgn(CtrlHandle, nullptr, TRUE);
      SendToChildren(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
      RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawAll);
      return true;
    case scmRefresh:
      if (!FromOwnManager(Message)) return false;
      KillAnimations();
      SkinData->UpdateIndexes(true);
      FollowFrameSkin();
      SkinData->BGChanged = true;
      RgnChanged = true;
      if (IsWindowVisible(CtrlHandle)) {
        RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawAll);
        UpdateBorderPos(true);
      }
      return true;
    case scmSetUpdating:
      SkinData->Updating = Message.WParamLo() == 1;
      if (SkinData->Updating) SkinData->BGChanged = true;
      return false;
    case scmIsBgChanged:
      Message.Result = SkinData->Updating ? 1 : 0;
      return true;
    case scmIsReady: {
      const TsGeneralData* section = SkinData->Section();
      Message.Result = section && section->Props[0].ImagePercent + section->Props[0].GradientPercent >= 1 ? 1 : 0;
      return true;
    }
    case scmGetColor:
      Message.Result = GetBgColor(SkinData, 0, nullptr);
      return true;
    case scmReload:
      // A border window already shown takes the dialog's place and picture; a hidden one stays so.
      if (BorderWindowShown()) UpdateBorderPos(true);
      return false;
    case scmChildrenChanged: {
      // What was wrapped now shows the skin at once.
      const std::size_t before = WrappedChildCount(Provider);
      WalkChildren();
      if (WrappedChildCount(Provider) != before && IsWindowVisible(CtrlHandle))
        RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
      return false;
    }
    case scmGetBgInfo: {
      auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam);
      if (!info) return true;
      if (!SkinData->Skinned(false)) {
        // A skin without the dialog's section leaves the face to the system, whatever picture
        // the last skin left in the cache; asked to draw, the dialog paints its own face.
        if (info->PleaseDraw) return false;
        info->BgType = btColor;
        info->Bmp = nullptr;
        info->Color = vcl::ColorToRGB(vcl::clBtnFace);
        Message.Result = 1;
        return true;
      }
      if (info->PleaseDraw) info->Offset = vcl::TPoint{info->Offset.X + OffsetX(), info->Offset.Y + OffsetY()};
      vcl::TBitmap* cache = SkinData->CacheBmp();
      if (!cache || cache->Width() == 0 || SkinData->BGChanged) PaintAll();
      cache = SkinData->CacheBmp();
      if (!info->PleaseDraw && cache && cache->Width() > 0) {
        info->BgType = btBitmap;
        info->Bmp = cache;
        info->Offset = vcl::TPoint{OffsetX(), OffsetY()};
      } else {
        ProvideBgInfo(SkinData, *info, 0, CtrlHandle);
      }
      Message.Result = 1;
      return true;
    }
    case scmGetClientOffset:
      Message.Result = MAKELONG(OffsetX(), OffsetY());
      return true;
    default:
      return false;
  }
}

void TqvDialogWnd::OnDestroy(vcl::TMessage& Message) {
  if (!Attached()) {
    Message.Result = DefWindowProcW(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  RestoreSysMenuStyle();
  KillAnimations();
  // The border window goes with the dialog's window.
  DropBorderForm();
  CallPrevWndProc(Message);
  UninstallAdapter(this, false);
  EndLifetime();
}

void TqvDialogWnd::WalkChildren() {
  if (Provider) WalkChildWindows(Provider, CtrlHandle);
  ChildrenWalked = true;
}

void TqvDialogWnd::RepaintFrame() {
  SkinData->BGChanged = true;
  SendMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
}

void TqvDialogWnd::UpdateSystemMenu() {
  if (SystemMenu) SystemMenu->UpdateItems();
}

void TqvDialogWnd::OnNcActivate(vcl::TMessage& Message) {
  if (!IsWindowVisible(CtrlHandle)) {
    // A hidden dialog shown again without activation shows the state it was left in.
    if (const bool active = Message.WParam != 0; active != Active) {
      Active = active;
      SkinData->BGChanged = true;
    }
    TqvScrollWnd::WndProc(Message);
    return;
  }
  // The system would paint its own caption for the new state.
  SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
  CallPrevWndProc(Message);
  Active = Message.WParam != 0;
  SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
  SkinData->BGChanged = true;
  RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
  UpdateBorderPos(true);
  // The window taking the activation rises over the windows it owns, not its border window.
  if (border_form_) border_form_->RequestStacking();
}

void TqvDialogWnd::OnSize(vcl::TMessage& Message) {
  SkinData->BGChanged = true;
  RgnChanged = true;
  SkinData->Updating = true;
  CallPrevWndProc(Message);
  SkinData->Updating = false;
  if (IsWindowVisible(CtrlHandle)) {
    RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawAll);
    UpdateBorderPos(true);
  }
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  LastClientRect = vcl::TRect{client.left, client.top, client.right, client.bottom};
}

void TqvDialogWnd::OnEraseBkgnd(vcl::TMessage& Message) {
  Message.Result = 1;
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  if (!ChildrenWalked) WalkChildren();
  if (!alive) return;
  ReadCaption();
  if (SkinData->BGChanged) PaintAll();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Width() == 0) return;
  const TSavedDC saved(dc);
  // The children paint themselves: their rectangles are left out (not a tab stop static's
  // and a group box's, which show what lies behind them).
  for (HWND child = GetWindow(CtrlHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    // A static the system draws itself (a simple label paints only its text) shows the
    // background around what it paints.
    if (lstrcmpiW(name, L"static") == 0 && ((style & WS_TABSTOP) || !GetAdapter(child))) continue;
    if (lstrcmpiW(name, L"button") == 0 && (style & 0xF) == BS_GROUPBOX) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, CtrlHandle, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  BitBlt(dc, 0, 0, client.right, client.bottom, cache->Canvas()->Handle(), OffsetX(), OffsetY(), SRCCOPY);
}

void TqvDialogWnd::OnNcPaint() {
  if (!ChildrenWalked) WalkChildren();
  if (Destroyed()) return;
  ReadShownStyles();
  // The manager's extended borders may have been switched since (the dialog is repainted).
  const TsSkinManager* manager = Manager();
  if (const bool wanted = BorderKind != 2 && manager && manager->ExtendedBorders(); wanted != (border_form_ != nullptr))
    UpdateBorderForm(wanted);
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  ReadCaption();
  if (SkinData->BGChanged) PaintAll();
  if (RgnChanged && (BorderKind != 2 || (Style & WS_THICKFRAME))) {
    BuildRegionRects();
    UpdateRgn(false);
  }
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (border_form_) {
    // The border window shows the frame; it is shown when the dialog shows.
    const HWND borderWnd = border_form_->BorderWindow();
    if (!borderWnd || !IsWindowVisible(borderWnd)) UpdateBorderPos(true);
    SkinData->Updating = false;
    return;
  }
  const HDC dc = GetWindowDC(CtrlHandle);
  if (dc && cache && cache->Width() > 0) {
    const HDC src = cache->Canvas()->Handle();
    const int w = cache->Width(), h = cache->Height();
    const int x = OffsetX(), y = OffsetY();
    RECT client{};
    GetClientRect(CtrlHandle, &client);
    BitBlt(dc, 0, 0, w, y, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, y, x, h - y, src, 0, y, SRCCOPY);
    BitBlt(dc, 0, y + client.bottom, w, h - y - client.bottom, src, 0, y + client.bottom, SRCCOPY);
    BitBlt(dc, x + client.right, y, w - x - client.right, h - y, src, x + client.right, y, SRCCOPY);
  }
  if (dc) ReleaseDC(CtrlHandle, dc);
  SkinData->Updating = false;
}

// ---------------------------------------------------------------------------------------
// The mouse

void TqvDialogWnd::OnNcHitTest(vcl::TMessage& Message) {
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  const POINT p{vcl::LParamX(Message.LParam) - wr.left, vcl::LParamY(Message.LParam) - wr.top};
  const int border = BorderWidth();
  const int caption = CaptionHeight();
  int result = 0;
  if (caption > 0 && p.y >= border && p.y < border + caption && p.x >= border && p.x < (wr.right - wr.left) - border) {
    if (IconVisible() && p.x < border + GetSystemMetrics(SM_CXSMICON)) {
      result = HTSYSMENU;
    } else {
      // The buttons counted from the right: close, maximise, minimise, help.
      std::vector<const TqvDialogButton*> shown;
      for (int code : {kHitClose, kHitMax, kHitMin, kHitHelp})
        if (!Button(code).Rect.IsEmpty()) shown.push_back(&Button(code));
      result = HTCAPTION;
      for (const TqvDialogButton* b : shown) {
        if (!b->Rect.Contains(vcl::TPoint{p.x, p.y})) continue;
        switch (b->HitCode) {
          case kHitClose: result = CloseEnabled() ? kHitClose : 0; break;
          case kHitMax: result = MaxEnabled() || RestoreEnabled() ? kHitMax : HTCAPTION; break;
          case kHitMin: result = MinEnabled() || IsIconic(CtrlHandle) ? kHitMin : HTCAPTION; break;
          default: result = kHitHelp; break;
        }
      }
    }
  } else if (IsZoomed(CtrlHandle) &&
             (p.x < 2 || p.y < 2 || p.x >= (wr.right - wr.left) - 4 || p.y >= (wr.bottom - wr.top) - 4)) {
    SetHotButton(0);
    Message.Result = HTTRANSPARENT;
    return;
  }
  if (result == 0 || result == HTCAPTION) {
    CallPrevWndProc(Message);
    if (result == HTCAPTION && Message.Result == HTCLIENT) Message.Result = HTCAPTION;
    return;
  }
  Message.Result = result;
}

void TqvDialogWnd::SetHotButton(int HitCode, bool Repaint) {
  if (HotButton == HitCode) return;
  const int old = HotButton;
  HotButton = HitCode;
  if (old) {
    Button(old).State = 0;
    // A glow fade of the button fades out in any case.
    if (Repaint || Button(old).Timer) RepaintButton(old);
  }
  if (HitCode) {
    Button(HitCode).State = 1;
    if (Repaint) RepaintButton(HitCode);
  }
  press_in_progress_ = false;
}

void TqvDialogWnd::PressButton(int HitCode) {
  if (HitCode == kHitMax && !MaxEnabled() && !RestoreEnabled()) return;
  if (HotButton != HitCode) SetHotButton(HitCode);
  Button(HitCode).State = 2;
  RepaintButton(HitCode);
  press_in_progress_ = true;
}

void TqvDialogWnd::OnButtonDown(vcl::TMessage& Message) {
  if (border_form_ && static_cast<int>(Message.WParam) == HTTRANSPARENT)
    Message.WParam = static_cast<WPARAM>(BorderHitCode(Message));
  const int code = static_cast<int>(Message.WParam);
  switch (code) {
    case HTSYSMENU: {
      SetHotButton(0);
      // Dropped just under the caption icon, inside the frame.
      RECT wr{};
      GetWindowRect(CtrlHandle, &wr);
      const int border = BorderWidth();
      DropSysMenu(POINT{wr.left + border, wr.top + border + GetSystemMetrics(SM_CYSMICON)});
      return;
    }
    case kHitMin:
    case kHitMax:
    case kHitClose:
    case kHitHelp:
      PressButton(code);
      if (press_in_progress_) SetCapture(CtrlHandle);
      Message.Result = 0;
      return;
    case HTCAPTION:
      if (IsZoomed(CtrlHandle)) {
        if (GetActiveWindow() != CtrlHandle) SetFocus(CtrlHandle);
        return;
      }
      if (const TsSkinManager* manager = Manager(); manager && !IsIconic(CtrlHandle)) {
        const TqvBlendOnMoving* blend = manager->AnimEffects()->BlendOnMoving();
        if (blend->Active() && blend->BlendValue() < 255) {
          StartDialogMoveTimer(true);
          return;
        }
      }
      break;
    default:
      break;
  }
  if (IsIconic(CtrlHandle)) {
    SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  TqvScrollWnd::WndProc(Message);
}

bool TqvDialogWnd::OnButtonUp(vcl::TMessage& Message, int HitCode) {
  Message.WParam = 0;
  const bool pressed = press_in_progress_ && (HitCode == kHitMin || HitCode == kHitMax || HitCode == kHitClose ||
                                              HitCode == kHitHelp) && Button(HitCode).State == 2;
  if (!pressed) {
    const bool wasPressing = press_in_progress_;
    if (wasPressing) {
      // Released elsewhere: nothing happens, the button looks as before.
      SetHotButton(0);
      return false;
    }
    TqvScrollWnd::WndProc(Message);
    return false;
  }
  press_in_progress_ = false;
  switch (HitCode) {
    case kHitMin:
      SetHotButton(0);
      SendMessageW(CtrlHandle, WM_SYSCOMMAND, IsIconic(CtrlHandle) ? SC_RESTORE : SC_MINIMIZE, 0);
      return false;
    case kHitMax: {
      SetHotButton(0);
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      SendMessageW(CtrlHandle, WM_SYSCOMMAND, IsZoomed(CtrlHandle) ? SC_RESTORE : SC_MAXIMIZE, 0);
      if (alive) UpdateSystemMenu();
      return false;
    }
    case kHitHelp: {
      SetHotButton(0);
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      if (alive) {
        UpdateSystemMenu();
        SendMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
      }
      return false;
    }
    default: {
      Button(kHitClose).State = 0;
      HotButton = 0;
      KillAnimations();
      // Closing may take the window and this adapter's state with it: nothing is touched after.
      SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    }
  }
}

void TqvDialogWnd::OnDoubleClick(vcl::TMessage& Message) {
  switch (Message.WParam) {
    case HTCAPTION: {
      if (!MaxEnabled() && !RestoreEnabled()) return;
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      SendMessageW(CtrlHandle, WM_SYSCOMMAND, IsZoomed(CtrlHandle) || IsIconic(CtrlHandle) ? SC_RESTORE : SC_MAXIMIZE,
                   0);
      if (alive) UpdateSystemMenu();
      return;
    }
    case HTSYSMENU:
      SendMessageW(CtrlHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    default:
      TqvScrollWnd::WndProc(Message);
      return;
  }
}

void TqvDialogWnd::DropSysMenu(POINT Screen) {
  if (!SystemMenu) return;
  SystemMenu->ShowAt(Screen.x, Screen.y);
}

}  // namespace skin_layered

// ---------------------------------------------------------------------------------------
// Glow fades and blending while moved

namespace skin_layered {

bool TqvDialogWnd::ButtonsFade() const {
  const TsSkinManager* manager = Manager();
  return manager && IsWindowVisible(CtrlHandle) && !(Flags & kBorderBlendMoving) &&
         (manager->AnimEffects()->Buttons()->Events().Contains(beMouseEnter) || border_form_);
}

bool TqvDialogWnd::FadeButton(TqvDialogButton& B) {
  if (B.Rect.IsEmpty() || !SkinData || !ButtonsFade() || !ButtonEnabled(B)) return false;
  auto* fade = dynamic_cast<TqvSBAnimation*>(B.Timer);
  if (!fade) {
    if (B.State == 0) return false;  // nothing glows: the button is simply painted
    fade = new TqvSBAnimation(nullptr);
    fade->BorderForm = border_form_.get();
    fade->SkinData = SkinData;
    fade->Wnd = CtrlHandle;
    fade->Button = &B;
    fade->Steps = kGlowFadeSteps;
    B.Timer = fade;
  }
  fade->ChangeState(B.State, true);
  return true;
}

void TqvDialogWnd::KillAnimations() {
  // A fade's destructor takes it out of its record.
  for (TqvDialogButton& b : Buttons) {
    if (vcl::TObject* fade = std::exchange(b.Timer, nullptr)) vcl::TObject::Free(fade);
    RemoveGlow(b.GlowID);
  }
}

void TqvDialogWnd::StartDialogMoveTimer(bool RunMoveLoop) {
  TsSkinManager* manager = Manager();
  if ((Flags & kBorderBlendMoving) || !manager || !SkinData) return;
  const TqvBlendOnMoving* blend = manager->AnimEffects()->BlendOnMoving();
  if (!blend->Active()) return;
  KillAnimations();
  const HWND wnd = CtrlHandle;
  const int value = blend->BlendValue();
  move_timer_.reset(new TqvMoveTimer(nullptr, nullptr));
  move_timer_->Wnd = wnd;
  move_timer_->TargetAlpha = static_cast<std::uint8_t>(value);
  move_timer_->Alpha = value;
  move_timer_->AlphaStep = (255 - value) / 30;
  HWND dragged = wnd;
  if (border_form_ && border_form_->BorderWindow()) {
    // The border window shows the whole dialog (its client as the screen shows it) and is the
    // one dragged; the dialog's own window waits unseen and follows at the end.
    UpdateBorderPos(true);
    border_form_->Busy = true;
    move_timer_->BorderForm = border_form_.get();
    dragged = border_form_->BorderWindow();
    SetLayeredAlpha(wnd, true, 0);
  } else {
    SetLayeredAlpha(wnd, true, static_cast<std::uint8_t>(value));
  }
  Flags |= kBorderBlendMoving;
  move_timer_->Step();
  move_timer_->SetEnabled(true);
  if (!RunMoveLoop) return;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  SendMessageW(dragged, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  // The move loop may have closed the dialog.
  if (alive && IsWindow(wnd) && GetAdapter(wnd) == this) StopMoveBlend();
}

void TqvDialogWnd::StopMoveBlend() {
  if (!(Flags & kBorderBlendMoving)) return;
  if (move_timer_) move_timer_->SetEnabled(false);
  const HWND wnd = CtrlHandle;
  TqvBorderForm* border = border_form_.get();
  if (border && border->BorderWindow()) {
    // The dialog goes where its border window was dragged.
    RECT r{};
    GetWindowRect(border->BorderWindow(), &r);
    SetWindowPos(wnd, nullptr, r.left + border->ShadowOffsetX(), r.top + border->ShadowOffsetY(), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  if (ex & WS_EX_LAYERED) SetWindowLongPtrW(wnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  Flags &= ~kBorderBlendMoving;
  SetActiveWindow(wnd);
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  if (border) Sleep(40);  // the dialog's own painting reaches the screen before the picture goes opaque
  move_timer_.reset();
  if (border) {
    border->Busy = false;
    SkinData->BGChanged = true;
    UpdateBorderPos(true);
  }
}

}  // namespace skin_layered
