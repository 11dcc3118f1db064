#include "skin_layered/adapters/MdiWnd.h"

#include "classlib/forms/Forms.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/DialogHookRequests.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SystemMessages.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Fills.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvMDIWnd) {}

namespace {

constexpr int kClientEdge = 2;  // the width of WS_EX_CLIENTEDGE's frame

bool HasClientEdge(HWND Wnd) { return (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0; }

}  // namespace

TqvMDIWnd::~TqvMDIWnd() {
  FormSkinData = nullptr;
  Provider = nullptr;
}

bool TqvMDIWnd::Painting() const { return FormSkinData && FormSkinData->Skinned(false); }

bool TqvMDIWnd::ChildMaximized() const {
  BOOL maximized = FALSE;
  const HWND active = reinterpret_cast<HWND>(SendMessageW(CtrlHandle, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return active && maximized;
}

vcl::TRect TqvMDIWnd::ClientInImage() const {
  RECT client{}, form{};
  GetWindowRect(CtrlHandle, &client);
  if (Form && Form->HandleAllocated()) GetWindowRect(Form->Handle(), &form);
  vcl::TRect r{client.left - form.left, client.top - form.top, client.right - form.left, client.bottom - form.top};
  // Under a border form the image holds the shadow and the skin's wider frame and taller title
  // around the window.
  if (const TqvBorderForm* border = Provider ? Provider->ExtBorderForm() : nullptr) {
    const vcl::TRect shadow = Provider->WindowImage().ShadowSize();
    r.Offset(shadow.Left + BorderFormOffsetX(border), shadow.Top + BorderFormOffsetY(border));
  }
  return r;
}

vcl::TPoint TqvMDIWnd::BackgroundOffset() const {
  // The form answers with its image at its client area: the client window lies inside it.
  if (!Form || !Form->HandleAllocated()) return {};
  POINT p{0, 0};
  MapWindowPoints(CtrlHandle, Form->Handle(), &p, 1);
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  POINT c{0, 0};
  ClientToScreen(CtrlHandle, &c);
  return vcl::TPoint{p.x - (c.x - wr.left), p.y - (c.y - wr.top)};
}

bool TqvMDIWnd::ImageReady() {
  if (!Provider || !FormSkinData) return false;
  TsSkinManager* manager = FormSkinData->GetSkinManager();
  const bool section = manager && manager->GetSkinIndex(L"MDIAREA") >= 0;
  if (!FormSkinData->IsCached() && !section) return false;
  vcl::TBitmap* cache = FormSkinData->CacheBmp();
  if (!cache || cache->Width() == 0 || FormSkinData->BGChanged) {
    Provider->PaintAll();
    cache = FormSkinData->CacheBmp();
  }
  // A form whose image cannot be made shows its client colour.
  return cache && cache->Width() > 0 && cache->Height() > 0;
}

void TqvMDIWnd::PaintMDIBackground(HDC DC, bool ClientEdge) {
  if (!DC || !FormSkinData) return;
  if (Provider && (Provider->ExtFlags & (kExtMinimizing | kExtRestoring))) return;
  const vcl::TRect src = ClientInImage();
  const vcl::TRect dest{0, 0, src.Width(), src.Height()};
  if (!ImageReady()) {
    FillDC(DC, dest, GetBgColor(FormSkinData, 0, nullptr));
    return;
  }
  const int e = ClientEdge && HasClientEdge(CtrlHandle) ? kClientEdge : 0;
  BitBlt(DC, 0, 0, dest.Width(), dest.Height(), FormSkinData->CacheBmp()->Canvas()->Handle(), src.Left + e,
         src.Top + e, SRCCOPY);
}

void TqvMDIWnd::PaintMDIBorder(HDC DC) {
  if (!DC || !FormSkinData) return;
  const vcl::TRect src = ClientInImage();
  const int w = src.Width(), h = src.Height();
  if (!ImageReady()) {
    const int b = HasClientEdge(CtrlHandle) ? kClientEdge : 0;
    if (b > 0) FillDCBorder(DC, vcl::TRect{0, 0, w, h}, b, GetBgColor(FormSkinData, 0, nullptr), b, b, b);
    return;
  }
  const HDC image = FormSkinData->CacheBmp()->Canvas()->Handle();
  const int b = kClientEdge;
  BitBlt(DC, 0, 0, w, b, image, src.Left, src.Top, SRCCOPY);
  BitBlt(DC, 0, h - b, w, b, image, src.Left, src.Bottom - b, SRCCOPY);
  BitBlt(DC, 0, b, b, h - 2 * b, image, src.Left, src.Top + b, SRCCOPY);
  BitBlt(DC, w - b, b, b, h - 2 * b, image, src.Right - b, src.Top + b, SRCCOPY);
}

void TqvMDIWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && !Destroyed() && OnCommand(Message)) return;
  if (Destroyed() || !FormSkinData) return PassOn(Message);
  switch (Message.Msg) {
    case WM_NCPAINT: return OnNcPaint(Message);
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND: return OnEraseBkgnd(Message);
    case WM_PRINT: return OnPrint(Message);
    case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(Message);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(Message);
    case WM_STYLECHANGED: return CallPrevWndProc(Message);
    case WM_HSCROLL:
    case WM_VSCROLL: return OnScroll(Message);
    case WM_MDICREATE: return OnMdiCreate(Message);
    case WM_MDITILE:
    case WM_MDICASCADE: return OnLayoutChanged(Message);
    case WM_MDISETMENU: return OnMdiSetMenu(Message);
    default: return PassOn(Message);
  }
}

bool TqvMDIWnd::OnCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmBeforeChildPaint:
      if (Form) SendCommandToCtrl(Form, scmBeforeChildPaint, 0);
      return true;
    case scmGetBgInfo:
      if (Form && Form->HandleAllocated())
        Message.Result = SendMessageW(Form->Handle(), Message.Msg, Message.WParam, Message.LParam);
      return true;
    case scmBeforeScroll: {
      // The thumb's position travels in LParam; the client scrolls only when it is let go.
      const int code = LOWORD(Message.LParam);
      Message.Result = code == SB_THUMBPOSITION || code == SB_THUMBTRACK ? 1 : 0;
      return true;
    }
    case scmAfterScroll:
      UpdateScrolls(this, true);
      return true;
    default:
      return false;
  }
}

// The base adapter's procedure; after it the scroll bars follow the client's styles and the
// frame's menu line is refreshed.
void TqvMDIWnd::PassOn(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvBaseWnd::WndProc(Message);
  if (!alive) return;
  switch (Message.Msg) {
    case kMdiCalcChildScroll:
    case WM_PARENTNOTIFY: return FollowScrollStyles();
    case WM_MDIREFRESHMENU: return RefreshFrameMenuLine();
    default: return;
  }
}

void TqvMDIWnd::FollowScrollStyles() {
  const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  if (VertBar) VertBar->Visible = (style & WS_VSCROLL) != 0;
  if (HorzBar) HorzBar->Visible = (style & WS_HSCROLL) != 0;
  UpdateScrolls(this, true);
}

void TqvMDIWnd::RefreshFrameMenuLine() {
  if (Provider) Provider->RefreshNonClient();
}

void TqvMDIWnd::OnPaint(vcl::TMessage& Message) {
  if (AnimationActive()) return;
  PassOn(Message);
}

void TqvMDIWnd::OnEraseBkgnd(vcl::TMessage& Message) {
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!Painting() || !dc) return PassOn(Message);
  Message.Result = 1;
  if (AnimationActive() || ChildMaximized()) return;
  const TSavedDC saved(dc);
  PaintMDIBackground(dc, true);
}

void TqvMDIWnd::OnPrint(vcl::TMessage& Message) {
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!Painting() || !dc) return PassOn(Message);
  Message.Result = 0;
  if ((Provider && Provider->BorderForm) || ChildMaximized()) return;
  const TSavedDC saved(dc);
  PaintMDIBackground(dc, false);
  PaintScrollBars(this, CtrlHandle, kPartNone, dc);
}

void TqvMDIWnd::OnWindowPosChanging(vcl::TMessage& Message) {
  if (TsSkinProvider* frame = MDIProvider(); frame && frame->SkinData) frame->SkinData->BGChanged = true;
  PassOn(Message);
}

void TqvMDIWnd::OnWindowPosChanged(vcl::TMessage& Message) {
  if (Form && Form->HandleAllocated() && Provider)
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  PassOn(Message);
}

// Dragging the thumb scrolls nothing; the client's own procedure moves the children and its
// bar to the position let go.
void TqvMDIWnd::OnScroll(vcl::TMessage& Message) {
  switch (LOWORD(Message.WParam)) {
    case SB_THUMBTRACK: return;
    case SB_THUMBPOSITION:
      CallPrevWndProc(Message);
      UpdateScrolls(this, true);
      return;
    default: return PassOn(Message);
  }
}

// The new child gets its skinning from the dialog hook's check.
void TqvMDIWnd::OnMdiCreate(vcl::TMessage& Message) {
  CallPrevWndProc(Message);
  if (Message.Result) CheckDialogWnd(reinterpret_cast<HWND>(Message.Result), nullptr);
}

void TqvMDIWnd::OnMdiSetMenu(vcl::TMessage& Message) {
  CallPrevWndProc(Message);
  if (TsSkinProvider* frame = MDIProvider()) {
    if (frame->SkinData) frame->SkinData->BGChanged = true;
    frame->MenuLineCount = -1;
  }
}

void TqvMDIWnd::OnNcPaint(vcl::TMessage& Message) {
  if (!Painting()) return PassOn(Message);
  Message.Result = 1;
  TsSkinManager* manager = Manager();
  if (AnimationActive() && manager && manager->AnimEffects()->SkinChanging()->Active()) return;
  const HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  // A maximised child covers the client area, not its edge: left unpainted, the edge the client
  // gains when the frame grows would stay black.
  PaintMDIBorder(dc);
  if (!ChildMaximized()) PaintScrollBars(this, CtrlHandle, kPartNone, dc);
  ReleaseDC(CtrlHandle, dc);
}

void TqvMDIWnd::OnLayoutChanged(vcl::TMessage& Message) {
  CallPrevWndProc(Message);
  if (!Provider) return;
  if (Provider->SkinData) Provider->SkinData->BGChanged = true;
  Provider->MenuLineCount = -1;
  if (vcl::TCustomForm* form = Provider->Form; form && form->FormStyle() == vcl::fsMDIForm)
    if (vcl::TCustomForm* child = form->ActiveMDIChild(); child && child->HandleAllocated()) {
      const HWND h = child->Handle();
      SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_SYSMENU));
    }
  InvalidateRect(CtrlHandle, nullptr, TRUE);
  if (Provider->Form && Provider->Form->HandleAllocated())
    RedrawWindow(Provider->Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace skin_layered
