#include "skin_classic/controls/SkinScrollbar.h"

#include <algorithm>

#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/core/SkinStartup.h"

namespace winskin {
namespace {

void FrameColor(HDC DC, const RECT& R, vcl::TColor Color) {
  const vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Color))));
  FrameRect(DC, &R, brush.get());
}

void RepaintShown(TWScrollbar* Bar) {
  if (Bar && Bar->Shown() && Bar->HandleAllocated()) Bar->Invalidate();
}

void UpdateBar(TWScrollbar* Bar) {
  if (Bar) Bar->UpdatePosition();
}

// The panel of a scroll message's bar takes the scroll code as its hot part.
void ScrollCodeToBar(TWScrollbar* Bar, WPARAM WParam) {
  if (!Bar) return;
  Bar->SetHotPart(LOWORD(WParam));
  RepaintShown(Bar);
}

// A covering panel has a window of its own while its control lives; it goes with the
// skinner unless the control's window is already gone (then the parent took the panel's).
void FreeBar(TOwnedObject<TWScrollbar>& Bar, int Status) {
  if (Status == kSkinnerWindowGone) return;
  Bar.reset();
}

// The shown panels repaint, a hidden one of a bar the window has comes back where it belongs,
// and the corner between them takes the face colour.
void DrawBars(HDC DC, HWND Window, TWScrollbar* Horz, TWScrollbar* Vert, vcl::TColor Face) {
  const LONG_PTR style = Window ? GetWindowLongPtrW(Window, GWL_STYLE) : 0;
  for (auto [bar, bit] : {std::pair{Horz, WS_HSCROLL}, std::pair{Vert, WS_VSCROLL}}) {
    if (!bar) continue;
    if (bar->Shown())
      bar->Invalidate();
    else if (style & bit)
      bar->UpdatePosition();
  }
  FillScrollCorner(DC, Window, Horz, Vert, Face);
}

}  // namespace

void FillScrollCorner(HDC DC, HWND Window, TWScrollbar* Horz, TWScrollbar* Vert, vcl::TColor Face) {
  if (!DC || !Horz || !Vert || !Horz->Shown() || !Vert->Shown()) return;
  RECT window{};
  if (!GetWindowRect(Window, &window)) return;
  RECT h{}, v{};
  GetWindowRect(Horz->Handle(), &h);
  GetWindowRect(Vert->Handle(), &v);
  const TRect corner(v.left - window.left, h.top - window.top, v.right - window.left, h.bottom - window.top);
  FillRectColor(DC, corner, Face);
}

// ---------------------------------------------------------------------------------------
// TSkinScrollbar

VCL_CLASS_INFO(TSkinScrollbar) {}

TSkinScrollbar::TSkinScrollbar(vcl::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool, vcl::TCanvas* Canvas) {
  AttachScrollControl(dynamic_cast<vcl::TWinControl*>(Owner()), SkinData, Form, Canvas);
}

void TSkinScrollbar::AttachScrollControl(vcl::TWinControl* Control, TSkinData* SkinData, TSkinControlHost* Form,
                                         vcl::TCanvas* Canvas) {
  if (FAttached || !Control) return;
  FControl = Control;
  FSkinData = SkinData;
  FHandle = Control->Handle();
  FUnicode = IsWindowUnicode(FHandle);
  FNativeInfo = IsNTPlatform();
  JoinForm(Form, Canvas);
  FDrawBorder = vcl::LowerCase(GetEnumPropName(Control, L"BorderStyle")) != L"bsnone" &&
                Control->ClassName() != L"TImageScrollBox" && FStyle != 1;
  if (HasIntegerProp(Control, L"FixedColor")) {
    fixed_color_ = static_cast<vcl::TColor>(GetOrdPropByName(Control, L"FixedColor"));
    saved_fixed_color_ = true;
    SetPropText(Control, L"FixedColor", std::to_wstring(FaceColor()));
  }
  FHorzBar = TOwnedObject<TWScrollbar>(new TWScrollbar(nullptr));
  FHorzBar->AttachToControl(this, Control, kBarHorizontal);
  FVertBar = TOwnedObject<TWScrollbar>(new TWScrollbar(nullptr));
  FVertBar->AttachToControl(this, Control, kBarVertical);
  if (!Control->Visible()) {
    FHorzBar->HideBar();
    FVertBar->HideBar();
  }
  HookControl(Control);
  FAttached = true;
  FStatus = kSkinnerAttached;
  // The frame gets its flat border now.
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::RestoreControl() {
  if (saved_fixed_color_ && FControl) SetPropText(FControl, L"FixedColor", std::to_wstring(fixed_color_));
  TSkinControl::RestoreControl();
  FreeBar(FHorzBar, FStatus);
  FreeBar(FVertBar, FStatus);
}

void TSkinScrollbar::UpdateSkin() {
  if (saved_fixed_color_ && FControl) SetPropText(FControl, L"FixedColor", std::to_wstring(FaceColor()));
  for (TWScrollbar* bar : {FHorzBar.get(), FVertBar.get()})
    if (bar) bar->SetColor(ControlColor());
  TSkinControl::UpdateSkin();
  // Placed again, not only repainted: a skin without the bar's pictures leaves the system's
  // bar in sight, and one with them covers it again.
  UpdateBars();
}

void TSkinScrollbar::DrawBorder(HDC DC) {
  RECT r{};
  if (!DC || !GetWindowRect(FHandle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  FrameColor(DC, r, LineColor());
  InflateRect(&r, -1, -1);
  FrameColor(DC, r, FaceColor());
}

void TSkinScrollbar::UpdateBars() {
  UpdateBar(FHorzBar.get());
  UpdateBar(FVertBar.get());
}

bool TSkinScrollbar::BeforeProc(vcl::TMessage& Message) {
  if (Message.Msg == WM_NCPAINT && FDrawBorder) {
    const vcl::TLifetime::TWatch alive = Lifetime().Watch();
    CallDefault(Message);
    if (!alive) return false;
    HDC dc = GetWindowDC(FHandle);
    DrawBorder(dc);
    ReleaseDC(FHandle, dc);
    return false;
  }
  return TSkinControl::BeforeProc(Message);
}

void TSkinScrollbar::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL: WMMouseWheel(); break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: WMMoved(); break;
    case WM_HSCROLL: ScrollCodeToBar(FHorzBar.get(), Message.WParam); break;
    case WM_VSCROLL: ScrollCodeToBar(FVertBar.get(), Message.WParam); break;
    case vcl::CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case vcl::CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case vcl::CM_RECREATEWND: CMRecreateWnd(); break;
    case CM_PAINTBORDERINTO: CMPaintBorderInto(Message); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

void TSkinScrollbar::WMMouseWheel() {
  RepaintShown(FHorzBar.get());
  RepaintShown(FVertBar.get());
}

void TSkinScrollbar::WMMoved() {
  FMoved = true;
  UpdateBars();
}

void TSkinScrollbar::CMVisibleChanged(const vcl::TMessage& Message) {
  if (Message.WParam) {
    UpdateBars();
    return;
  }
  if (FHorzBar) FHorzBar->HideBar();
  if (FVertBar) FVertBar->HideBar();
}

void TSkinScrollbar::CMEnabledChanged(vcl::TMessage& Message) {
  for (TWScrollbar* bar : {FHorzBar.get(), FVertBar.get()})
    if (bar && FControl) bar->SetEnabled(FControl->Enabled());
  TSkinControl::AfterProc(Message);
}

// The form maps the control's new window once it is made.
void TSkinScrollbar::CMRecreateWnd() {
  if (FForm && FForm->HostWindow())
    PostMessageW(FForm->HostWindow(), SKM_CONTROLRECREATED, reinterpret_cast<WPARAM>(FHandle), 0);
}

void TSkinScrollbar::CMPaintBorderInto(vcl::TMessage& Message) {
  if (Message.LParam != kPaintDCAnswer) return;
  if (Message.WParam) DrawBorder(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = kPaintDCAnswer;
}

void TSkinScrollbar::DrawControl(HDC DC, const TRect&) {
  DrawBars(DC, FHandle, FHorzBar.get(), FVertBar.get(), FaceColor());
}

// ---------------------------------------------------------------------------------------
// TSkinScrollbarH

VCL_CLASS_INFO(TSkinScrollbarH) {}

TSkinScrollbarH::TSkinScrollbarH(vcl::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  if (FAttached || !IsWindow(Handle)) return;
  FHorzBar = TOwnedObject<TWScrollbar>(new TWScrollbar(nullptr));
  FVertBar = TOwnedObject<TWScrollbar>(new TWScrollbar(nullptr));
  TSkinControl::AttachWindow(Handle, SkinData, Form, Canvas);
  FHorzBar->AttachToWindow(this, Handle, kBarHorizontal);
  FVertBar->AttachToWindow(this, Handle, kBarVertical);
}

void TSkinScrollbarH::RestoreControl() {
  TSkinControl::RestoreControl();
  FreeBar(FHorzBar, FStatus);
  FreeBar(FVertBar, FStatus);
}

void TSkinScrollbarH::AfterProc(vcl::TMessage& Message) {
  HideWithWindow();
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT: UpdatePanels(Message.Msg == WM_SIZE); break;
    case WM_HSCROLL: ScrollCodeToBar(FHorzBar.get(), Message.WParam); break;
    case WM_VSCROLL: ScrollCodeToBar(FVertBar.get(), Message.WParam); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

// A window that went out of sight takes its panels with it.
void TSkinScrollbarH::HideWithWindow() {
  if (!FHandle || ShownInParent(FHandle)) return;
  if (FHorzBar) FHorzBar->HideBar();
  if (FVertBar) FVertBar->HideBar();
}

void TSkinScrollbarH::UpdatePanels(bool Resized) {
  UpdateBar(FHorzBar.get());
  UpdateBar(FVertBar.get());
  if (Resized) Redraw();
}

void TSkinScrollbarH::DrawControl(HDC DC, const TRect&) {
  DrawBars(DC, FHandle, FHorzBar.get(), FVertBar.get(), FaceColor());
}

// ---------------------------------------------------------------------------------------
// TSkinScControl

VCL_CLASS_INFO(TSkinScControl) {}

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool, vcl::TCanvas* Canvas) {
  AttachScrollBar(dynamic_cast<vcl::TWinControl*>(Owner()), SkinData, Form, Canvas);
}

void TSkinScControl::AttachScrollBar(vcl::TWinControl* Control, TSkinData* SkinData, TSkinControlHost* Form,
                                     vcl::TCanvas* Canvas) {
  if (FAttached || !Control) return;
  FControl = Control;
  FSkinData = SkinData;
  FHandle = Control->Handle();
  FUnicode = IsWindowUnicode(FHandle);
  JoinForm(Form, Canvas);
  FBar = TOwnedObject<TWScrollbar>(new TWScrollbar(nullptr));
  FBar->SetShowHint(Control->ShowHint());
  FBar->SetHint(Control->Hint());
  FBar->AttachToControl(this, Control, kBarControl);
  if (!Control->Visible()) FBar->HideBar();
  HookControl(Control);
  FAttached = true;
  FStatus = kSkinnerAttached;
}

void TSkinScControl::RestoreControl() {
  TSkinControl::RestoreControl();
  FreeBar(FBar, FStatus);
}

void TSkinScControl::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT: FollowWindow(); break;
    case SBM_SETSCROLLINFO:
    case vcl::CN_VSCROLL:
    case vcl::CN_HSCROLL: RepaintShown(FBar.get()); break;
    case vcl::CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

// The panel follows the control's window (which a recreation may have replaced).
void TSkinScControl::FollowWindow() {
  if (FControl && FControl->HandleAllocated()) FHandle = FControl->Handle();
  if (FBar) FBar->UpdatePosition(FHandle);
}

void TSkinScControl::CMVisibleChanged(const vcl::TMessage& Message) {
  if (!FBar) return;
  if (Message.WParam)
    FBar->UpdatePosition(FHandle);
  else
    FBar->HideBar();
}

void TSkinScControl::DrawControl(HDC, const TRect&) { RepaintShown(FBar.get()); }

// ---------------------------------------------------------------------------------------
// TComboxScrollBar

VCL_CLASS_INFO(TComboxScrollBar) {}

bool TComboxScrollBar::BarRect(TRect& Bar) const {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  if (!FHandle || !GetScrollBarInfoProc(FHandle, OBJID_VSCROLL, sbi)) return false;
  if (sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE) return false;
  RECT window{};
  GetWindowRect(FHandle, &window);
  Bar = TRect(sbi.rcScrollBar.left - window.left, sbi.rcScrollBar.top - window.top, sbi.rcScrollBar.right - window.left,
              sbi.rcScrollBar.bottom - window.top);
  return !Bar.IsEmpty();
}

bool TComboxScrollBar::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE: return WMNCMouseMove(Message);
    case WM_NCLBUTTONDOWN: return WMNCLButtonDown(Message);
    case WM_CAPTURECHANGED: WMCaptureChanged(Message); break;
    case WM_CANCELMODE: WMCancelMode(); break;
    default: break;
  }
  return TSkinControl::BeforeProc(Message);
}

// The list's own hot tracking does not see the mouse over its bars.
bool TComboxScrollBar::WMNCMouseMove(vcl::TMessage& Message) {
  if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) return false;
  return TSkinControl::BeforeProc(Message);
}

// A press on the vertical bar's thumb drags it here.
bool TComboxScrollBar::WMNCLButtonDown(vcl::TMessage& Message) {
  if (Message.WParam == HTVSCROLL &&
      DragThumb(vcl::TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))))) {
    Message.Result = 0;
    return false;
  }
  return TSkinControl::BeforeProc(Message);
}

// Whatever takes the mouse or cancels the mode ends a drag.
void TComboxScrollBar::WMCaptureChanged(const vcl::TMessage& Message) {
  if (dragging_ && reinterpret_cast<HWND>(Message.LParam) != FHandle) drag_cancelled_ = true;
}

void TComboxScrollBar::WMCancelMode() {
  if (dragging_) drag_cancelled_ = true;
}

bool TComboxScrollBar::DragThumb(vcl::TPoint At) {
  if (dragging_) return false;
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  if (!GetScrollBarInfoProc(FHandle, OBJID_VSCROLL, sbi)) return false;
  const int along = At.Y - sbi.rcScrollBar.top;
  if (along < sbi.xyThumbTop || along >= sbi.xyThumbBottom) return false;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(FHandle, SB_VERT, &si)) return false;

  const int length = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
  const int track = std::max(length - 2 * FArrowSize, 0);
  const int thumb = sbi.xyThumbBottom - sbi.xyThumbTop;
  const int offset = sbi.xyThumbTop - FArrowSize;
  const int page = static_cast<int>(si.nPage);
  const HWND list = FHandle;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  auto positionAt = [&](int cursorY) {
    const int d = std::max(offset + cursorY - At.Y, 0);
    int pos;
    if (page > 0) {
      pos = track > thumb ? si.nMin + MulDiv(d, si.nMax - si.nMin - page, track - thumb) : si.nMin;
      pos = std::min(pos, si.nMax - page + 1);
    } else {
      pos = track > 0 ? si.nMin + MulDiv(d, si.nMax - si.nMin, track) : si.nMin;
      pos = std::min(pos, si.nMax);
    }
    return std::max(pos, si.nMin);
  };

  // A scroll message carries 16 bits of position: a position past them puts the list at that
  // item itself (the message would scroll it to the position's low 16 bits).
  auto tell = [list](WORD code, int pos) {
    if (pos >= 0 && pos <= 0xFFFF)
      SendMessageW(list, WM_VSCROLL, MAKEWPARAM(code, pos), 0);
    else
      SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(pos), 0);
  };

  SetCapture(list);
  dragging_ = true;
  drag_cancelled_ = false;
  pressed_thumb_ = true;
  int pos = si.nPos;
  bool keepPosition = true;
  // Waits for the mouse; ends on release, Esc (back where it started), a lost capture or a
  // cancelled mode.
  for (;;) {
    MSG msg{};
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!alive || !IsWindow(list)) return true;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      POINT cursor{};
      GetCursorPos(&cursor);
      if (msg.hwnd == list && msg.message == WM_MOUSEMOVE) {
        cursor = POINT{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        ClientToScreen(list, &cursor);
      }
      const int now = positionAt(cursor.y);
      if (now != pos) {
        pos = now;
        tell(SB_THUMBTRACK, pos);
      }
    } else if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      break;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      keepPosition = false;
      break;
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!alive || !IsWindow(list)) return true;
    if (drag_cancelled_ || GetCapture() != list) break;
  }
  if (!alive || !IsWindow(list)) return true;
  if (GetCapture() == list) ReleaseCapture();
  dragging_ = false;
  pressed_thumb_ = false;
  if (!keepPosition) pos = si.nPos;
  tell(SB_THUMBPOSITION, pos);
  PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
  return true;
}

void TComboxScrollBar::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case CM_LISTBARREPAINT: PaintWindow(nullptr); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

void TComboxScrollBar::DrawControl(HDC DC, const TRect&) {
  TRect bar;
  if (!BarRect(bar)) return;
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  if (!GetScrollBarInfoProc(FHandle, OBJID_VSCROLL, sbi)) return;
  TScrollBarLook look;
  look.Vertical = true;
  look.Arrow = FArrowSize;
  look.ThumbTop = sbi.xyThumbTop;
  look.ThumbBottom = sbi.xyThumbBottom;
  look.Disabled = (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
  if (pressed_thumb_) {
    look.HotPart = kPartThumb;
    look.Pressed = true;
  }
  PaintSkinScrollBar(DC, bar, FSkinData, look, FaceColor());
}

}  // namespace winskin
