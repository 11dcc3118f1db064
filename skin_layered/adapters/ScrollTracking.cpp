// The mouse interaction of skinned scroll bars: the hot bar and part, the part pressed and
// repeating, and the thumb being dragged, kept in the state every scroll adapter shares.
#include "classlib/controls/Controls.h"
#include "skin_layered/adapters/ScrollState.h"
#include "skin_layered/adapters/ScrollWnd.h"

namespace skin_layered {
namespace {

vcl::TRect BarRect(TqvScrollWnd& Wnd, const TqvScrollBar& Bar) {
  vcl::TRect r;
  if (Bar.Vertical())
    GetVScrollRect(&Wnd, Wnd.CtrlHandle, r);
  else
    GetHScrollRect(&Wnd, Wnd.CtrlHandle, r);
  return r;
}

// The margins of the bar cut from its ends.
void ApplyScrollMargins(const TqvScrollBar& Bar, vcl::TRect& R) {
  int& start = Bar.Vertical() ? R.Top : R.Left;
  int& end = Bar.Vertical() ? R.Bottom : R.Right;
  if (Bar.UseMarginBefore) start += Bar.MarginBefore;
  if (Bar.UseMarginAfter) end -= Bar.MarginAfter;
}

bool IsPagePart(int Part) { return Part >= kPartFirstArrow && Part <= kPartPageAfter; }

POINT ClientToScreenPoint(HWND Handle, LPARAM LParam) {
  POINT p{vcl::LParamX(LParam), vcl::LParamY(LParam)};
  ClientToScreen(Handle, &p);
  return p;
}

void Repaint(TqvScrollWnd& Wnd) { PaintScrollBars(&Wnd, Wnd.CtrlHandle, kPartNone, nullptr); }

// A scroll message of the adapter's own: its bars are not painted meanwhile.
void SendOwnScroll(TqvScrollWnd& Wnd, UINT Msg, int Code, int Pos) {
  const bool before = Wnd.ScrollingInProgress;
  Wnd.ScrollingInProgress = true;
  SendScrollMsg(Wnd.CtrlHandle, Msg, Code, Pos);
  Wnd.ScrollingInProgress = before;
}

}  // namespace

int TqvScrollTracker::HitPart(TqvScrollWnd& Wnd, TqvScrollBar& Bar, POINT Screen) {
  vcl::TRect r = BarRect(Wnd, Bar);
  ApplyScrollMargins(Bar, r);
  Bar.ReadInfo();
  const int button = GetScrollMetric(&Bar, false);
  if (Bar.Vertical())
    return ScrollHitPart(r.Top, r.Height(), r.Left, r.Right, Screen.y, Screen.x, button, Bar.MinThumb, Bar.Info);
  return ScrollHitPart(r.Left, r.Width(), r.Top, r.Bottom, Screen.x, Screen.y, button, Bar.MinThumb, Bar.Info);
}

void TqvScrollTracker::LeaveHotBar() {
  TqvScrollState& s = ScrollState();
  const HWND previous = s.HotWnd;
  s.HotBar = -1;
  s.HotPart = s.PrevHotPart = kPartNone;
  s.HotWnd = nullptr;
  if (!previous) return;
  KillTimer(previous, kHoverTimer);
  if (TqvScrollWnd* adapter = GetScrollAdapter(previous)) Repaint(*adapter);
}

bool TqvScrollTracker::NcMouseMove(TqvScrollWnd& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.CtrlHandle;
  if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) {
    const int kind = Message.WParam == HTHSCROLL ? kHorzBar : kVertBar;
    if (s.HotBar != kind || s.HotWnd != h) {
      if (s.HotWnd && s.HotWnd != h) LeaveHotBar();
      s.HotPart = s.PrevHotPart = kPartNone;
      s.HotBarRect = BarRect(Wnd, *Wnd.Bar(kind));
      s.HotBar = kind;
      s.HotWnd = h;
      s.HoverTimer = SetTimer(h, kHoverTimer, kHoverInterval, nullptr);
      s.WndUnderMouse = h;
      Repaint(Wnd);
    }
  }
  s.WndUnderMouse = h;
  return false;
}

bool TqvScrollTracker::NcButtonDown(TqvScrollWnd& Wnd, vcl::TMessage& Message) {
  if (Message.WParam != HTHSCROLL && Message.WParam != HTVSCROLL) return false;
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.CtrlHandle;
  const int kind = Message.WParam == HTHSCROLL ? kHorzBar : kVertBar;
  TqvScrollBar& bar = *Wnd.Bar(kind);
  const POINT p{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)};
  const int part = HitPart(Wnd, bar, p);
  if ((part == kPartFirstArrow && (bar.Flags & kFirstArrowDisabled)) ||
      (part == kPartSecondArrow && (bar.Flags & kSecondArrowDisabled))) {
    Message.Result = 0;
    return true;
  }
  if (part == kPartNone) return false;
  s.ScrollMsg = kind == kHorzBar ? WM_HSCROLL : WM_VSCROLL;
  s.TrackedBar = kind;
  s.TrackWnd = h;
  s.RepeatPart = part;
  s.WndUnderMouse = h;
  if (IsPagePart(part))
    StartRepeat(Wnd, bar, part);
  else if (part == kPartThumb && ScrollBarEnabled(&bar))
    StartDrag(Wnd, bar, p);
  // The window may have gone while it scrolled.
  if (IsWindow(h) && s.TrackWnd == h) SetCapture(h);
  Message.Result = 0;
  return true;
}

void TqvScrollTracker::StartRepeat(TqvScrollWnd& Wnd, TqvScrollBar& Bar, int Part) {
  if (!ScrollBarEnabled(&Bar)) return;
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.CtrlHandle;
  s.PressedPart = Part;
  SendOwnScroll(Wnd, s.ScrollMsg, Part, 0);
  if (!IsWindow(h) || s.TrackWnd != h) return;
  s.RepeatTimer = SetTimer(h, kRepeatDelayTimer, kRepeatDelay, nullptr);
  UpdateScrolls(&Wnd, true);
}

void TqvScrollTracker::StartDrag(TqvScrollWnd& Wnd, TqvScrollBar& Bar, POINT Screen) {
  TqvScrollState& s = ScrollState();
  vcl::TRect r = BarRect(Wnd, Bar);
  ApplyScrollMargins(Bar, r);
  Bar.ReadInfo();
  const int button = GetScrollMetric(&Bar, false);
  const bool vertical = Bar.Vertical();
  const TqvThumb thumb = ThumbGeometry(vertical ? r.Top : r.Left, vertical ? r.Height() : r.Width(), button,
                                       Bar.MinThumb, Bar.Info);
  s.DragThumbLength = thumb.Length;
  s.DragThumbStart = thumb.Start;
  s.DragBarRect = r;
  Wnd.Dragging = true;
  Bar.Info.nTrackPos = Bar.Info.nPos;
  s.MouseOffset = (vertical ? Screen.y : Screen.x) - thumb.Start;
  s.LastSentPos = Bar.Info.nPos;
  s.PressedPart = kPartThumb;
  RECT wr{};
  GetWindowRect(Wnd.CtrlHandle, &wr);
  vcl::TRect local = BarRect(Wnd, Bar);
  local.Offset(-wr.left, -wr.top);
  const HDC dc = GetWindowDC(Wnd.CtrlHandle);
  TqvScrollPainter::PaintBar(Wnd, Bar, local, kPartNone, kPartThumb, dc, thumb.Start - (vertical ? wr.top : wr.left),
                             true);
  ReleaseDC(Wnd.CtrlHandle, dc);
}

void TqvScrollTracker::TrackThumb(TqvScrollWnd& Wnd, POINT Screen) {
  TqvScrollState& s = ScrollState();
  TqvScrollBar* bar = Wnd.Bar(s.TrackedBar);
  if (!bar) return;
  const bool vertical = bar->Vertical();
  const vcl::TRect& r = s.DragBarRect;
  const int button = GetScrollMetric(bar, false);
  const int trackStart = (vertical ? r.Top : r.Left) + button;
  const int trackEnd = (vertical ? r.Bottom : r.Right) - button;
  int start = (vertical ? Screen.y : Screen.x) - s.MouseOffset;
  start = std::max(trackStart, std::min(start, trackEnd - s.DragThumbLength));
  const int position = ThumbDragPosition(start - trackStart, trackEnd - trackStart, s.DragThumbLength, bar->Info);
  const HWND h = Wnd.CtrlHandle;
  bool scrolled = false;
  if (position != s.LastSentPos) {
    bar->Info.nTrackPos = position;
    const vcl::TLifetime::TWatch alive = Wnd.Lifetime().Watch();
    SendOwnScroll(Wnd, s.ScrollMsg, SB_THUMBTRACK, position);
    if (!IsWindow(h) || !alive || !Wnd.Dragging) return;
    s.LastSentPos = position;
    scrolled = true;
  }
  RECT wr{};
  GetWindowRect(h, &wr);
  const HDC dc = GetWindowDC(h);
  // The window set its other bar as it scrolled, and the system drew that bar there: ours
  // goes over it again (painted as during a drag, which the bars' usual painting waits out).
  if (TqvScrollBar* other = Wnd.Bar(vertical ? kHorzBar : kVertBar); scrolled && other && other->Visible) {
    vcl::TRect r = BarRect(Wnd, *other);
    r.Offset(-wr.left, -wr.top);
    TqvScrollPainter::PaintBar(Wnd, *other, r, kPartNone, kPartNone, dc, -1, true);
  }
  // The bar with the thumb under the cursor, painted after the window scrolled.
  vcl::TRect local = BarRect(Wnd, *bar);
  local.Offset(-wr.left, -wr.top);
  TqvScrollPainter::PaintBar(Wnd, *bar, local, kPartNone, kPartThumb, dc, start - (vertical ? wr.top : wr.left), true);
  ReleaseDC(h, dc);
}

void TqvScrollTracker::RepaintDrag(TqvScrollWnd& Wnd) {
  if (Wnd.Dragging && ScrollState().TrackWnd == Wnd.CtrlHandle) TrackThumb(Wnd, AdapterCursorPos());
}

void TqvScrollTracker::FollowCursor(TqvScrollWnd& Wnd, POINT Screen) {
  TqvScrollState& s = ScrollState();
  if (Wnd.Dragging) {
    TrackThumb(Wnd, Screen);
    return;
  }
  TqvScrollBar* bar = Wnd.Bar(s.TrackedBar);
  if (!bar || !(IsPagePart(s.RepeatPart) || s.RepeatPart == kPartThumb)) return;
  const int part = HitPart(Wnd, *bar, Screen);
  const int pressed = part == s.RepeatPart ? part : kPartNone;
  if (pressed == s.PressedPart) return;
  s.PressedPart = pressed;
  Repaint(Wnd);
}

bool TqvScrollTracker::Timer(TqvScrollWnd& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.CtrlHandle;
  Message.Result = 0;
  switch (Message.WParam) {
    case kHoverTimer: {
      if (Wnd.Dragging) return true;
      if (s.HotWnd != h) {
        KillTimer(h, kHoverTimer);
        return true;
      }
      const POINT p = AdapterCursorPos();
      if (s.HotBarRect.Contains(vcl::TPoint{p.x, p.y})) {
        s.HotPart = HitPart(Wnd, *Wnd.Bar(s.HotBar), p);
        if (s.HotPart != s.PrevHotPart) Repaint(Wnd);
        s.PrevHotPart = s.HotPart;
      } else {
        LeaveHotBar();
      }
      return true;
    }
    case kRepeatDelayTimer:
      KillTimer(h, kRepeatDelayTimer);
      s.RepeatTimer = SetTimer(h, kRepeatTimer, kRepeatInterval, nullptr);
      return true;
    case kRepeatTimer:
      if (s.TrackWnd != h || s.RepeatPart == kPartNone) {
        KillTimer(h, kRepeatTimer);
        return true;
      }
      // A press whose end never came here (the capture went elsewhere, the button came up
      // outside) ends now.
      if (GetCapture() != h) {
        EndTracking(Wnd, false);
        return true;
      }
      if (!AdapterLeftButtonDown()) {
        EndTracking(Wnd, true);
        return true;
      }
      FollowCursor(Wnd, AdapterCursorPos());
      if (s.PressedPart != kPartNone && s.TrackWnd == h) SendOwnScroll(Wnd, s.ScrollMsg, s.PressedPart, 0);
      return true;
    default:
      return false;
  }
}

bool TqvScrollTracker::MouseMove(TqvScrollWnd& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  if (s.TrackWnd != Wnd.CtrlHandle || s.RepeatPart == kPartNone) return false;
  FollowCursor(Wnd, ClientToScreenPoint(Wnd.CtrlHandle, Message.LParam));
  Message.Result = 0;
  return true;
}

bool TqvScrollTracker::ButtonUp(TqvScrollWnd& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  if (s.TrackWnd != Wnd.CtrlHandle || s.RepeatPart == kPartNone) return false;
  EndTracking(Wnd, !Wnd.KeepsCaptureAfterScroll());
  bool swallow = Wnd.SwallowsButtonUpAfterScroll() || Message.WParam == static_cast<WPARAM>(-1);
  if (vcl::TControl* control = Wnd.OwnerControl()) {
    const vcl::String name = control->ClassName();
    swallow = swallow || name == L"TImageEnView" || name == L"TImageEnVect";
  }
  if (!swallow) return false;
  Message.Result = 0;
  return true;
}

void TqvScrollTracker::CaptureChanged(TqvScrollWnd& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  if (s.TrackWnd == Wnd.CtrlHandle && s.RepeatPart != kPartNone &&
      reinterpret_cast<HWND>(Message.LParam) != Wnd.CtrlHandle)
    EndTracking(Wnd, false);
}

void TqvScrollTracker::EndTracking(TqvScrollWnd& Wnd, bool Release) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.CtrlHandle;
  const int part = s.RepeatPart;
  const UINT msg = s.ScrollMsg;
  const int last = s.LastSentPos;
  const bool dragging = Wnd.Dragging;
  // Reset first: the capture given back below comes here again as WM_CAPTURECHANGED.
  s.RepeatPart = s.PressedPart = s.TrackedBar = kPartNone;
  s.TrackWnd = nullptr;
  s.LastSentPos = -1;
  s.MouseOffset = s.DragThumbLength = s.DragThumbStart = 0;
  s.RepeatTimer = 0;
  KillTimer(h, kRepeatDelayTimer);
  KillTimer(h, kRepeatTimer);
  if (Release && GetCapture() == h) ReleaseCapture();
  const bool before = Wnd.ScrollingInProgress;
  Wnd.ScrollingInProgress = true;
  const vcl::TLifetime::TWatch alive = Wnd.Lifetime().Watch();
  if (dragging) SendScrollMsg(h, msg, SB_THUMBPOSITION, last);
  Wnd.Dragging = false;
  if (IsWindow(h) && alive) SendScrollMsg(h, msg, SB_ENDSCROLL, part == kPartThumb ? last : 0);
  Wnd.ScrollingInProgress = before;
  if (IsWindow(h) && alive) UpdateScrolls(&Wnd, true);
}

void TqvScrollTracker::Forget(TqvScrollWnd& Wnd) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.CtrlHandle;
  if (s.TrackWnd == h) {
    s.RepeatPart = s.PressedPart = s.TrackedBar = kPartNone;
    s.TrackWnd = nullptr;
    s.LastSentPos = -1;
    Wnd.Dragging = false;
    if (IsWindow(h)) {
      KillTimer(h, kRepeatDelayTimer);
      KillTimer(h, kRepeatTimer);
      if (GetCapture() == h) ReleaseCapture();
    }
  }
  if (s.HotWnd == h) {
    s.HotBar = -1;
    s.HotPart = s.PrevHotPart = kPartNone;
    s.HotWnd = nullptr;
    if (IsWindow(h)) KillTimer(h, kHoverTimer);
  }
  if (s.WndUnderMouse == h) s.WndUnderMouse = nullptr;
}

}  // namespace skin_layered
