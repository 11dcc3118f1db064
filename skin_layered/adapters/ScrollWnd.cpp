#include "skin_layered/adapters/ScrollWnd.h"


#include <algorithm>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Forms.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ScrollState.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvScrollBar) {}
VCL_CLASS_INFO(TqvScrollWnd) {}

namespace {

bool SameInfo(const SCROLLINFO& A, const SCROLLINFO& B) {
  return A.nMin == B.nMin && A.nMax == B.nMax && A.nPage == B.nPage && A.nPos == B.nPos;
}

SCROLLINFO ReadScrollInfo(HWND Handle, int Kind) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(Handle, Kind, &info)) info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  return info;
}

// The message the adapter posts to itself to paint its bars again: registered, so that no
// message of the control it stands in front of is taken for it.
UINT RepaintScrollsMessage() {
  static const UINT message = RegisterWindowMessageW(L"TqvScrollWnd.RepaintScrolls");
  return message;
}

// An item added, inserted or removed: a list box's, a list view's, a tree view's, or text put
// into an edit (a memo's line).
bool ChangesListItems(UINT Msg) {
  switch (Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
    case LVM_DELETEITEM:
    case LVM_DELETEALLITEMS:
    case TVM_INSERTITEMA:
    case TVM_INSERTITEMW:
    case TVM_DELETEITEM:
    case EM_REPLACESEL:
      return true;
    default:
      return false;
  }
}

// The corner square between the two bars (screen).
vcl::TRect CornerRect(TqvScrollWnd* Adapter, HWND Handle) {
  vcl::TRect h, v;
  GetHScrollRect(Adapter, Handle, h);
  GetVScrollRect(Adapter, Handle, v);
  return vcl::TRect{v.Left, h.Top, v.Right, h.Bottom};
}

}  // namespace

void TqvScrollBar::ReadInfo() {
  if (Owner) Info = ReadScrollInfo(Owner->CtrlHandle, Kind);
}

// ---------------------------------------------------------------------------------------
// Life

TqvScrollWnd::~TqvScrollWnd() {
  TqvScrollTracker::Forget(*this);
  FreeBars();
}

void TqvScrollWnd::CreateSkinData(vcl::TControl* Owner) {
  FrameCalculated = false;
  if (!SkinData) SkinData = new TsScrollWndData(Owner, true);
  SkinData->SetWaitingForFirstShow(true);
}

TsScrollWndData* TqvScrollWnd::ScrollWndData() const { return dynamic_cast<TsScrollWndData*>(SkinData); }

void TqvScrollWnd::Install() {
  ScrollingInProgress = false;
  HorzBar = std::make_unique<TqvScrollBar>(this, kHorzBar);
  VertBar = std::make_unique<TqvScrollBar>(this, kVertBar);
  HorzBar->ReadInfo();
  VertBar->ReadInfo();
  LeftScrollBar = (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  HorzBar->Flags = (style & WS_HSCROLL) ? kStyleHasBar : 0;
  VertBar->Flags = (style & WS_VSCROLL) ? kStyleHasBar : 0;
  InNcCalculation = false;
  TqvMainWnd::Install();
  SetMinThumb(CtrlHandle, 3, kDefaultMinThumb);
  if (RepaintOnInstall()) RefreshFrame(CtrlHandle, true);
}

void TqvScrollWnd::Uninstall(bool UseSetWindowPos) {
  if (Destroyed()) return;
  TqvScrollTracker::Forget(*this);
  RestoreControlStyle();
  RestoreWindowProc();
  RestoreStdParams();
  FreeBars();
  // The window lays its own bars out again.
  if (IsWindowVisible(CtrlHandle)) RefreshFrame(CtrlHandle, UseSetWindowPos);
  EndLifetime();
}

void TqvScrollWnd::FreeBars() {
  if (HorzBar) HorzBar->Owner = nullptr;
  if (VertBar) VertBar->Owner = nullptr;
  HorzBar.reset();
  VertBar.reset();
}

vcl::TPoint TqvScrollWnd::BackgroundOffset() const {
  // A form's own bars: the form answers for its background at its client area's place in its
  // image, while the bars lie in the window's coordinates.
  if (!SkinData || !SkinData->OwnerProvider()) return {};
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  return vcl::TPoint{-client.Left, -client.Top};
}

void TqvScrollWnd::CopyFrameFromCache(HDC DC) {
  vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!DC || !cache || cache->Width() == 0 || cache->Height() == 0) return;
  const HDC src = cache->Canvas()->Handle();
  const int w = cache->Width(), h = cache->Height();
  const int l = std::max(0, BorderLeft), t = std::max(0, BorderTop);
  const int r = std::max(0, BorderRight), b = std::max(0, BorderBottom);
  if (t > 0) BitBlt(DC, 0, 0, w, t, src, 0, 0, SRCCOPY);
  if (b > 0) BitBlt(DC, 0, h - b, w, b, src, 0, h - b, SRCCOPY);
  if (l > 0) BitBlt(DC, 0, t, l, h - t - b, src, 0, t, SRCCOPY);
  if (r > 0) BitBlt(DC, w - r, t, r, h - t - b, src, w - r, t, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// Lookups and metrics

TqvScrollWnd* GetScrollAdapter(HWND Handle) { return dynamic_cast<TqvScrollWnd*>(GetAdapter(Handle)); }

TqvScrollTrackHost* ScrollTrackHost(HWND Handle) { return GetScrollAdapter(Handle); }

TqvScrollBar* GetScrollBarObject(HWND Handle, int Bar) {
  TqvScrollWnd* adapter = GetScrollAdapter(Handle);
  return adapter ? adapter->Bar(Bar) : nullptr;
}

int SetMinThumb(HWND Handle, int Bar, int Value) {
  TqvScrollWnd* adapter = GetScrollAdapter(Handle);
  if (!adapter) return 0;
  const int value = Value & 0xFFFF;
  if ((Bar == kHorzBar || Bar == 3) && adapter->HorzBar) adapter->HorzBar->MinThumb = value;
  if ((Bar == kVertBar || Bar == 3) && adapter->VertBar) adapter->VertBar->MinThumb = value;
  return 1;
}

int GetScrollMetric(const TqvScrollBar* Bar, bool Thickness) {
  if (!Bar) return 0;
  TqvScrollWnd* owner = Bar->Owner;
  const TsScrollWndData* data = owner ? owner->ScrollWndData() : nullptr;
  const TsSkinManager* manager = owner ? owner->Manager() : nullptr;
  const TqvScrollData* own = data ? (Bar->Vertical() ? data->VertScrollData() : data->HorzScrollData()) : nullptr;
  if (!Thickness) {
    if (own && own->ButtonsSize() >= 0) return own->ButtonsSize();
    if (manager && manager->ScrollsOptions()->ButtonsSize() >= 0) return manager->ScrollsOptions()->ButtonsSize();
    if (Bar->ButtonSize >= 0) return Bar->ButtonSize;
    if (const int width = GetScrollWidth(manager); width >= 0) return width;
    return -Bar->ButtonSize * HScrollArrowWidth();
  }
  if (own && own->ScrollWidth() >= 0) return own->ScrollWidth();
  if (const int width = GetScrollWidth(manager); width >= 0) return width;
  if (Bar->Thickness >= 0) return Bar->Thickness;
  return GetSystemMetrics(Bar->Vertical() ? SM_CXVSCROLL : SM_CYHSCROLL) * -Bar->Thickness;
}

namespace {

// A bar's thickness while it shows, else 0.
int ShownThickness(const TqvScrollBar* Bar) { return Bar->Visible ? GetScrollMetric(Bar, true) : 0; }

}  // namespace

void GetHScrollRect(TqvScrollWnd* Adapter, HWND Handle, vcl::TRect& R) {
  R = {};
  if (!Adapter || !Adapter->HorzBar || !Adapter->VertBar) return;
  RECT wr{};
  GetWindowRect(Handle, &wr);
  const int wv = ShownThickness(Adapter->VertBar.get());
  const int hh = ShownThickness(Adapter->HorzBar.get());
  R.Left = wr.left + Adapter->BorderLeft + (Adapter->LeftScrollBar ? wv : 0);
  R.Right = wr.right - Adapter->BorderRight - (Adapter->LeftScrollBar ? 0 : wv);
  R.Bottom = wr.bottom - Adapter->BorderBottom;
  R.Top = R.Bottom - hh;
}

void GetVScrollRect(TqvScrollWnd* Adapter, HWND Handle, vcl::TRect& R) {
  R = {};
  if (!Adapter || !Adapter->HorzBar || !Adapter->VertBar) return;
  RECT wr{};
  GetWindowRect(Handle, &wr);
  const int wv = ShownThickness(Adapter->VertBar.get());
  const int hh = ShownThickness(Adapter->HorzBar.get());
  R.Top = wr.top + Adapter->BorderTop;
  R.Bottom = wr.bottom - hh - Adapter->BorderBottom;
  if (Adapter->LeftScrollBar) {
    R.Left = wr.left + Adapter->BorderLeft;
    R.Right = R.Left + wv;
  } else {
    R.Right = wr.right - Adapter->BorderRight;
    R.Left = R.Right - wv;
  }
}

vcl::TRect TqvScrollWnd::BarScreenRect(const TqvScrollBar& ScrollBar) {
  vcl::TRect r;
  if (ScrollBar.Vertical())
    GetVScrollRect(this, CtrlHandle, r);
  else
    GetHScrollRect(this, CtrlHandle, r);
  return r;
}

void TqvScrollWnd::RepaintBars() { PaintScrollBars(this, CtrlHandle, kPartNone, nullptr); }

void TqvScrollWnd::UpdateBars() { UpdateScrolls(this, true); }

void TqvScrollWnd::PaintBarForDrag(TqvScrollBar& ScrollBar, const vcl::TRect& R, int PressedPart, HDC DC,
                                   int ThumbStart) {
  TqvScrollPainter::PaintBar(*this, ScrollBar, R, kPartNone, PressedPart, DC, ThumbStart, true);
}

bool ScrollBarEnabled(const TqvScrollBar* Bar) {
  if (!Bar || !Bar->Owner) return false;
  const HWND handle = Bar->Owner->CtrlHandle;
  if (TGetScrollBarInfoProc query = GetScrollBarInfoProc()) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    const LONG object = Bar->Kind == kHorzBar ? OBJID_HSCROLL : Bar->Kind == kVertBar ? OBJID_VSCROLL : OBJID_CLIENT;
    if (!query(handle, object, &info)) return false;
    if ((Bar->Flags & (kFirstArrowDisabled | kSecondArrowDisabled)) == (kFirstArrowDisabled | kSecondArrowDisabled))
      return false;
    if ((Bar->Flags & kHideInactiveBar) && !ScrollRangeActive(Bar->Info)) return false;
    return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
  }
  const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
  return (style & (Bar->Kind == kHorzBar ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

bool CornerHasGrip(TqvScrollWnd* Adapter) {
  if (!Adapter) return false;
  const HWND handle = Adapter->CtrlHandle;
  const bool child = (GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD) != 0;
  const HWND parent = child ? GetParent(handle) : nullptr;
  if (!parent) return true;
  if (GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD) return false;
  RECT client{};
  GetClientRect(parent, &client);
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const vcl::TRect corner = CornerRect(Adapter, handle);
  const bool side = Adapter->LeftScrollBar ? corner.Left - Adapter->BorderLeft == client.left
                                           : corner.Right + Adapter->BorderRight == client.right;
  return side && corner.Bottom + Adapter->BorderBottom == client.bottom;
}

// ---------------------------------------------------------------------------------------
// Painting and updating

int PaintScrollBars(TqvScrollWnd* Adapter, HWND Handle, int HotPart, HDC DC) {
  (void)HotPart;  // the hot part is the shared state's
  if (!Adapter || Adapter->Destroyed() || !Adapter->HorzBar || !Adapter->VertBar || !Adapter->SkinData) return 0;
  TsCommonData* data = Adapter->SkinData;
  if (data->CheckBgChanged(false)) return 0;
  vcl::TControl* control = Adapter->OwnerControl();
  if (control && control->ControlState().Contains(vcl::csCreating)) return 0;
  auto* windowed = dynamic_cast<vcl::TWinControl*>(control);
  if (!IsWindowVisible(Handle) && !(windowed && windowed->Showing())) return 0;
  if (data->BGChanged) SendCommandToWnd(Handle, scmPrepareCache, 0);
  if (!Adapter->HorzBar || !Adapter->VertBar) return 0;  // the cache's preparation may detach
  const HDC dc = DC ? DC : GetWindowDC(Handle);
  if (!dc) return 0;
  ++Adapter->BarPaints;
  RECT wr{};
  GetWindowRect(Handle, &wr);
  const TqvScrollState& state = ScrollState();
  for (TqvScrollBar* bar : {Adapter->HorzBar.get(), Adapter->VertBar.get()}) {
    if (!bar->Visible) continue;
    vcl::TRect r;
    if (bar->Vertical())
      GetVScrollRect(Adapter, Handle, r);
    else
      GetHScrollRect(Adapter, Handle, r);
    r.Offset(-wr.left, -wr.top);
    const int pressed = state.TrackWnd == Handle && state.TrackedBar == bar->Kind ? state.PressedPart : kPartNone;
    TqvScrollPainter::PaintBar(*Adapter, *bar, r, HotPart, pressed, dc, -1, false);
  }
  if (Adapter->HorzBar->Visible && Adapter->VertBar->Visible) {
    vcl::TRect corner = CornerRect(Adapter, Handle);
    corner.Offset(-wr.left, -wr.top);
    TqvScrollPainter::PaintCorner(*Adapter, corner, dc);
  }
  if (!DC) ReleaseDC(Handle, dc);
  return 0;
}

void UpdateScrolls(TqvScrollWnd* Adapter, bool Repaint) {
  if (!Adapter || Adapter->Destroyed() || !IsWindowVisible(Adapter->CtrlHandle)) return;
  if (!Adapter->SkinData || Adapter->SkinData->Updating || !Adapter->HorzBar || !Adapter->VertBar) return;
  Adapter->HorzBar->ReadInfo();
  Adapter->VertBar->ReadInfo();
  if (Repaint && !AnimationActive()) PaintScrollBars(Adapter, Adapter->CtrlHandle, kPartNone, nullptr);
}

void TqvScrollWnd::RepaintScrollsLater() {
  if (repaint_posted_ || Destroyed() || !IsWindowVisible(CtrlHandle)) return;
  const UINT message = RepaintScrollsMessage();
  repaint_posted_ = message != 0 && PostMessageW(CtrlHandle, message, 0, 0) != FALSE;
  // Nothing could be posted: painted now.
  if (!repaint_posted_) UpdateScrolls(this, true);
}

void RefreshScrolls(TsCommonData* SkinData, TqvAdapterPtr<TqvScrollWnd>& Adapter) {
  if (!SkinData) return;
  auto* control = dynamic_cast<vcl::TWinControl*>(SkinData->OwnerControl());
  if (!control) return;
  const vcl::TComponentState& state = control->ComponentState();
  if (state.Contains(vcl::csLoading) || state.Contains(vcl::csDestroying) || state.Contains(vcl::csDesigning)) return;
  if (SkinData->Skinned(false)) {
    if (TUninitializeFlatSBProc uninit = UninitializeFlatSBProc()) uninit(control->Handle());
    if (Adapter && Adapter->Destroyed()) Adapter.reset();
    if (!Adapter)
      Adapter = CreateAdapter<TqvScrollWnd>(control->Handle(), SkinData, SkinData->GetSkinManager(), TqvSkinParams{},
                                            true);
  } else {
    Adapter.reset();
    if (TInitializeFlatSBProc init = InitializeFlatSBProc()) init(control->Handle());
  }
}

void PaintAdapterBorder(TsCommonData* SkinData, TqvMainWnd* Adapter) {
  if (!SkinData || !Adapter || Adapter->DialogChild) return;
  const TsSkinManager* manager = SkinData->GetSkinManager();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!manager || !cache || !manager->IsValidImgIndex(SkinData->BorderIndex)) return;
  RECT wr{};
  GetWindowRect(Adapter->CtrlHandle, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  if (width < 2 || height < 2) return;
  TqvCacheInfo ci;
  SkinData->GetBGInfo(Adapter->CtrlHandle, ci);
  POINT corner{wr.left, wr.top};
  if (const HWND parent = GetParent(Adapter->CtrlHandle)) ScreenToClient(parent, &corner);
  ci.X += corner.x;
  ci.Y += corner.y;
  TsMaskData mask = manager->Skin().Images[static_cast<std::size_t>(SkinData->BorderIndex)];
  if (mask.ImageCount == 0 && !mask.Bmp) mask.ImageCount = 3;
  mask.DrawMode &= static_cast<std::uint16_t>(~kDrawCentre);  // the frame only
  mask.TransparentBorder = std::max(mask.TransparentBorder, 1);  // key pixels show the parent
  int state = 0;
  if (SkinData->Focused() || vcl::IsFocusWindow(Adapter->CtrlHandle))
    state = 1;
  else if (SkinData->FMouseAbove && HasHotState(SkinData, true))
    state = 1;
  DrawSkinRect(cache, vcl::TRect{0, 0, std::min(width, cache->Width()), std::min(height, cache->Height())}, ci, mask,
               state, true);
}

namespace {

// A multi-line edit: the library's memo or the system's edit control.
bool IsMultiLineEdit(HWND Handle) {
  if (dynamic_cast<vcl::TCustomMemo*>(vcl::FindControl(Handle))) return true;
  wchar_t name[8] = {};
  GetClassNameW(Handle, name, 8);
  return lstrcmpiW(name, L"Edit") == 0 && (GetWindowLongPtrW(Handle, GWL_STYLE) & ES_MULTILINE) != 0;
}

}  // namespace

LRESULT SendScrollMsg(HWND Handle, UINT Msg, int Code, int Pos) {
  const LPARAM codes = MAKELPARAM(static_cast<WORD>(Code), static_cast<WORD>(Msg));
  const WPARAM wparam = MAKEWPARAM(static_cast<WORD>(Code), static_cast<WORD>(std::min(Pos, 65535)));
  if (SendCommandToWnd(Handle, scmBeforeScroll, codes) != 1) {
    const int bar = Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
    if (Code == SB_THUMBTRACK) {
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, Pos, 0};
      SetScrollInfo(Handle, bar, &info, FALSE);
    }
    SendMessageW(Handle, Msg, wparam, 0);
    // An edit reads the message's 16-bit position as signed, which sends it to its top past
    // 32767: there it is scrolled to the line itself.
    if (Msg == WM_VSCROLL && (Code == SB_THUMBTRACK || Code == SB_THUMBPOSITION) && Pos > 0x7FFF &&
        IsWindow(Handle) && IsMultiLineEdit(Handle)) {
      const auto first = static_cast<int>(SendMessageW(Handle, EM_GETFIRSTVISIBLELINE, 0, 0));
      SendMessageW(Handle, EM_LINESCROLL, 0, static_cast<LPARAM>(Pos - first));
    }
  } else {
    SendMessageW(Handle, Msg, wparam, Pos);
  }
  return SendCommandToWnd(Handle, scmAfterScroll, codes);
}

// ---------------------------------------------------------------------------------------
// The window procedure

void TqvScrollWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == RepaintScrollsMessage() && Message.Msg != 0) return OnRepaintScrolls();
  switch (Message.Msg) {
    case WM_UPDATEUISTATE:
      return;
    case vcl::CM_RECREATEWND:
      // A hidden combo box without a name keeps its window (another library makes and
      // drops such boxes while measuring).
      if (auto* combo = dynamic_cast<vcl::TCustomComboBox*>(OwnerControl());
          combo && combo->Name().empty() && !IsWindowVisible(CtrlHandle))
        return;
      break;
    case WM_DESTROY:
    case WM_NCDESTROY:
      if (!Destroyed()) {
        TqvScrollTracker::Forget(*this);
        OnDestroyMessage(Message);
        return;
      }
      break;
    case WM_CONTEXTMENU:
      OnContextMenu();
      break;
    default:
      break;
  }
  if (Destroyed() || !HorzBar || !VertBar) {
    CallPrevWndProc(Message);
    return;
  }
  if (!SkinData || !SkinData->Skinned(false)) {
    if (SkinData && Message.Msg == kSkinCmdMessage && OnUnskinnedCommand(Message)) return;
    // The window lays its own bars out until the skin comes back.
    if (Message.Msg == WM_NCCALCSIZE) FrameCalculated = false;
    CallPrevWndProc(Message);
    return;
  }
  if (SkinnedMessage(Message)) return;
  // The program's handling below may free the control, and with it the adapter.
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (alive) AfterPassedOn(Message);
}

// What RepaintScrollsLater asked for, unless the skin went meanwhile.
void TqvScrollWnd::OnRepaintScrolls() {
  repaint_posted_ = false;
  if (Destroyed() || !HorzBar || !VertBar || !SkinData || !SkinData->Skinned(false)) return;
  RepaintScrollsNow();
}

void TqvScrollWnd::RepaintScrollsNow() {
  if (ScrollingInProgress) return;
  if (Dragging)
    TqvScrollTracker::RepaintDrag(*this);
  else
    UpdateScrolls(this, true);
}

bool TqvScrollWnd::OnUnskinnedCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmIsSkinned:
      // Adapted all the same: the skin's announcements come here, not past the window.
      Message.Result = 1;
      return true;
    case scmNewSkin: {
      if (!FromOwnManager(Message)) return false;
      SkinData->UpdateIndexes(true);
      {
        vcl::TMessage copy = Message;
        PassToChildren(OwnerControl(), CtrlHandle, copy);
      }
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      CallPrevWndProc(Message);
      if (alive && SkinData->Skinned(false)) {
        FrameCalculated = false;
        RefreshFrame(CtrlHandle, true);
      }
      return true;
    }
    default:
      return false;
  }
}

bool TqvScrollWnd::SkinnedMessage(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST: OnNcHitTest(Message); return true;
    case WM_NCMOUSEMOVE: return TqvScrollTracker::NcMouseMove(*this, Message);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return TqvScrollTracker::NcButtonDown(*this, Message);
    case WM_MOUSEMOVE: return TqvScrollTracker::MouseMove(*this, Message);
    case WM_LBUTTONUP: return TqvScrollTracker::ButtonUp(*this, Message);
    case WM_CAPTURECHANGED: return TqvScrollTracker::CaptureChanged(*this, Message);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP: return OnOtherNcButton(Message);
    case WM_SYSCOMMAND: return Message.WParam == (SC_VSCROLL | HTVSCROLL);  // the system's own bar tracking
    case WM_NCCALCSIZE: return OnFrameCalc(Message);
    case WM_STYLECHANGED: return OnStyleChanged(Message);
    case WM_NOTIFY: CallPrevWndProc(Message); return true;
    case WM_TIMER: return OnTimer(Message);
    case WM_NCPAINT: OnNcPaint(Message); return true;
    case WM_SIZE: SkinData->BGChanged = true; return false;
    case kSkinCmdMessage: return OnSkinCommandMessage(Message);
    default: return false;
  }
}

// Other buttons on the bars do nothing.
bool TqvScrollWnd::OnOtherNcButton(vcl::TMessage& Message) {
  if (Message.WParam != HTHSCROLL && Message.WParam != HTVSCROLL) return false;
  Message.Result = 0;
  return true;
}

// The frame laid out without the system bars: from now on it is the adapter's.
bool TqvScrollWnd::OnFrameCalc(vcl::TMessage& Message) {
  OnNcCalcSize(Message);
  FrameCalculated = true;
  return true;
}

bool TqvScrollWnd::OnStyleChanged(vcl::TMessage& Message) {
  if (InNcCalculation) {
    Message.Result = 0;
    return true;
  }
  if (Message.WParam == static_cast<WPARAM>(GWL_EXSTYLE) && Message.LParam)
    LeftScrollBar = (reinterpret_cast<const STYLESTRUCT*>(Message.LParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
  return false;
}

// The tracker's timers, and the bars read again after any other.
bool TqvScrollWnd::OnTimer(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  const bool own = TqvScrollTracker::Timer(*this, Message);
  if (!own) CallPrevWndProc(Message);
  if (alive && !ScrollingInProgress && !Dragging && Message.WParam != kHoverTimer) UpdateScrolls(this, true);
  return true;
}

// The engine's own commands are the adapter's; the rest go on.
bool TqvScrollWnd::OnSkinCommandMessage(vcl::TMessage& Message) {
  if (SkinCommandOf(Message.WParam) > scmGetApplication) return false;
  OnSkinCommand(Message);
  return true;
}

void TqvScrollWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (FromOwnManager(Message)) {
        SkinData->UpdateIndexes(true);
        vcl::TMessage copy = Message;
        PassToChildren(OwnerControl(), CtrlHandle, copy);
      }
      CallPrevWndProc(Message);
      return;
    case scmRemoveSkin: {
      const bool own = FromOwnManager(Message);
      if (own) {
        ForgetSkin();
        RestoreStdParams();
      }
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      CallPrevWndProc(Message);
      // The window's own bars come back.
      if (own && alive) {
        FrameCalculated = false;
        RefreshFrame(CtrlHandle, true);
      }
      return;
    }
    case scmRefresh:
      if (FromOwnManager(Message)) {
        SkinData->UpdateIndexes(true);
        SkinData->BGChanged = true;
      }
      CallPrevWndProc(Message);
      return;
    case scmRepaint:
      if (SkinData->Updating && !SkinData->CheckBgChanged(true)) {
        RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        if (auto* windowed = dynamic_cast<vcl::TWinControl*>(OwnerControl())) RepaintChildControls(windowed);
      }
      return;
    case scmIsSkinned:
    case scmIsReady:
      Message.Result = 1;
      return;
    case scmSetUpdating:
      SkinData->Updating = Message.WParamLo() == 1;
      CallPrevWndProc(Message);
      return;
    case scmSetSection:
      if (Message.LParam) {
        SkinData->SetSkinSection(reinterpret_cast<const TqvSectionInfo*>(Message.LParam)->SectionName);
        Message.Result = 1;
        return;
      }
      CallPrevWndProc(Message);
      return;
    case scmGetColor:
      CallPrevWndProc(Message);
      if (Message.Result == 0) Message.Result = GetBgColor(SkinData, 0, nullptr);
      return;
    case scmPrepareCache:
      CallPrevWndProc(Message);
      if (SkinData->BGChanged && !SkinData->CheckBgChanged(false)) {
        GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
        PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
        PaintAdapterBorder(SkinData, this);
      }
      return;
    case scmGetBgInfo:
      CallPrevWndProc(Message);
      if (auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam); info && info->BgType == btNone)
        ProvideClientBgInfo(*info, nullptr);
      return;
    case scmGetSkinData:
      Message.Result = reinterpret_cast<LRESULT>(SkinData);
      return;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return;
    default:
      CallPrevWndProc(Message);
      return;
  }
}

void TqvScrollWnd::OnNcCalcSize(vcl::TMessage& Message) {
  auto* first = reinterpret_cast<RECT*>(Message.LParam);
  if (!first) {
    CallPrevWndProc(Message);
    return;
  }
  const RECT proposed = *first;
  const bool horzShown = HorzBar->Visible, vertShown = VertBar->Visible;
  const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  if (style & (WS_HSCROLL | WS_VSCROLL)) {
    // The window below lays out its frame without the system bars.
    InNcCalculation = true;
    SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
    CallPrevWndProc(Message);
    SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style);
    InNcCalculation = false;
  } else {
    CallPrevWndProc(Message);
  }
  RECT& client = *first;
  if (const TsGeneralData* section = SkinData->Section();
      section && section->EditOffset < 0 && client.left - proposed.left > 1)
    InflateRect(&client, -section->EditOffset, -section->EditOffset);
  BorderLeft = client.left - proposed.left;
  BorderTop = client.top - proposed.top;
  BorderRight = proposed.right - client.right;
  BorderBottom = proposed.bottom - client.bottom;

  HorzBar->Flags = (style & WS_HSCROLL) ? kStyleHasBar : 0;
  const int hh = GetScrollMetric(HorzBar.get(), true);
  HorzBar->Visible = (HorzBar->Flags & kStyleHasBar) && hh <= client.bottom - client.top;
  if (HorzBar->Visible) client.bottom -= hh;

  VertBar->Flags = (style & WS_VSCROLL) ? kStyleHasBar : 0;
  const int wv = GetScrollMetric(VertBar.get(), true);
  VertBar->Visible = (VertBar->Flags & kStyleHasBar) && wv <= client.right - client.left;
  if (VertBar->Visible) {
    if (LeftScrollBar)
      client.left += wv;
    else
      client.right -= wv;
  }
  // A bar that comes while the window shows (its range set by SetScrollInfo or ShowScrollBar)
  // is drawn by the system once this frame is laid out, after the frame's own paint: ours
  // goes over it when that call is done.
  if (FrameCalculated && IsWindowVisible(CtrlHandle) &&
      ((HorzBar->Visible && !horzShown) || (VertBar->Visible && !vertShown)))
    PostMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
}

void TqvScrollWnd::OnNcPaint(vcl::TMessage& Message) {
  if (!FrameCalculated) RefreshFrame(CtrlHandle, true);
  if (Destroyed() || !HorzBar) {
    CallPrevWndProc(Message);
    return;
  }
  const bool ours = IsWindowVisible(CtrlHandle) && !SkinData->CheckBgChanged(false) && !ScrollingInProgress;
  // The window below paints the rest of its frame: its region leaves the bars out.
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  HRGN rest = CreateRectRgnIndirect(&wr);
  if (Message.WParam > 1) CombineRgn(rest, rest, reinterpret_cast<HRGN>(Message.WParam), RGN_AND);
  for (TqvScrollBar* bar : {HorzBar.get(), VertBar.get()}) {
    if (!bar->Visible) continue;
    vcl::TRect r;
    if (bar->Vertical())
      GetVScrollRect(this, CtrlHandle, r);
    else
      GetHScrollRect(this, CtrlHandle, r);
    HRGN cut = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(rest, rest, cut, RGN_DIFF);
    DeleteObject(cut);
  }
  if (HorzBar->Visible && VertBar->Visible) {
    const vcl::TRect c = CornerRect(this, CtrlHandle);
    HRGN cut = CreateRectRgn(c.Left, c.Top, c.Right, c.Bottom);
    CombineRgn(rest, rest, cut, RGN_DIFF);
    DeleteObject(cut);
  }
  vcl::TMessage below{WM_NCPAINT, reinterpret_cast<WPARAM>(rest), Message.LParam, 0};
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(below);
  DeleteObject(rest);
  Message.Result = below.Result;
  if (ours && alive) PaintScrollBars(this, CtrlHandle, kPartNone, nullptr);
}

void TqvScrollWnd::OnNcHitTest(vcl::TMessage& Message) {
  const POINT p{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)};
  vcl::TRect r;
  if (HorzBar->Visible) {
    GetHScrollRect(this, CtrlHandle, r);
    if (r.Contains(vcl::TPoint{p.x, p.y})) {
      Message.Result = ScrollBarEnabled(HorzBar.get()) ? HTHSCROLL : HTNOWHERE;
      return;
    }
  }
  if (VertBar->Visible) {
    GetVScrollRect(this, CtrlHandle, r);
    if (r.Contains(vcl::TPoint{p.x, p.y})) {
      Message.Result = ScrollBarEnabled(VertBar.get()) ? HTVSCROLL : HTNOWHERE;
      return;
    }
  }
  if (HorzBar->Visible && VertBar->Visible && CornerRect(this, CtrlHandle).Contains(vcl::TPoint{p.x, p.y}) &&
      CornerHasGrip(this)) {
    Message.Result = HTBOTTOMRIGHT;
    return;
  }
  CallPrevWndProc(Message);
}

void TqvScrollWnd::AfterPassedOn(const vcl::TMessage& Message) {
  if (Destroyed() || !HorzBar || !VertBar) return;
  if (Message.Msg == vcl::CM_FOCUSCHANGED) {
    UpdateScrolls(this, true);
    return;
  }
  // The default handling of the mouse moving over a bar or leaving the frame draws the
  // system's hot-tracked bar there (Wine does): ours goes over it again, also while its thumb
  // is dragged (the mouse left the frame with the thumb).
  const bool overBar = Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL;
  const bool systemBar = (Message.Msg == WM_NCMOUSEMOVE && overBar) || Message.Msg == WM_NCMOUSELEAVE;
  if (systemBar && Dragging && !ScrollingInProgress) {
    TqvScrollTracker::RepaintDrag(*this);
    return;
  }
  if (ScrollingInProgress || Dragging) return;
  if (Message.Msg == WM_MOUSEWHEEL || Message.Msg == vcl::CM_MOUSEWHEEL) {
    UpdateScrolls(this, true);
    return;
  }
  if (systemBar) {
    UpdateScrolls(this, true);
    return;
  }
  // The window moved its bars itself (keys, items added, its own timers): the system drew
  // its bar there, ours goes over it again. A list's items coming or going may come in a long
  // run: once, after the run; so are the changes of any message while that painting is due.
  bool changed = false;
  for (TqvScrollBar* bar : {HorzBar.get(), VertBar.get()})
    if (bar->Visible && !SameInfo(bar->Info, ReadScrollInfo(CtrlHandle, bar->Kind))) changed = true;
  if (!changed) return;
  if (repaint_posted_ || ChangesListItems(Message.Msg))
    RepaintScrollsLater();
  else
    UpdateScrolls(this, true);
}

}  // namespace skin_layered
