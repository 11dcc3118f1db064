#include "skin_layered/adapters/ScrollTracking.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "classlib/stdctrls/ListBox.h"
#include "skin_layered/adapters/ScrollGeometry.h"
#include "skin_layered/adapters/ScrollState.h"

namespace skin_layered {
namespace {

// The margins of the bar cut from its ends.
void ApplyScrollMargins(const TqvScrollBar& Bar, vcl::TRect& R) {
  int& start = Bar.Vertical() ? R.Top : R.Left;
  int& end = Bar.Vertical() ? R.Bottom : R.Right;
  if (Bar.UseMarginBefore) start += Bar.MarginBefore;
  if (Bar.UseMarginAfter) end -= Bar.MarginAfter;
}

// A list box: the library's own, or the system's in a dialog or under a combo box.
bool IsListBox(const TqvScrollTrackHost& Wnd) {
  if (dynamic_cast<const vcl::TCustomListBox*>(Wnd.TrackOwner())) return true;
  wchar_t name[16] = {};
  GetClassNameW(Wnd.TrackHandle(), name, 16);
  return lstrcmpiW(name, L"ListBox") == 0 || lstrcmpiW(name, L"ComboLBox") == 0;
}

bool IsPagePart(int Part) { return Part >= kPartFirstArrow && Part <= kPartPageAfter; }

POINT ClientToScreenPoint(HWND Handle, LPARAM LParam) {
  POINT p{vcl::LParamX(LParam), vcl::LParamY(LParam)};
  ClientToScreen(Handle, &p);
  return p;
}

// The adapter and its window are still there after a message whose handling may have freed
// them (the program's handler of a scroll message may free the control, its form or the skin).
bool StillThere(const vcl::TLifetime::TWatch& Alive, HWND Handle) { return Alive && IsWindow(Handle); }

// A scroll message of the adapter's own: its bars are not painted meanwhile. False when its
// handling took the adapter or its window away; nothing of the adapter is touched then.
bool SendOwnScroll(TqvScrollTrackHost& Wnd, UINT Msg, int Code, int Pos) {
  const HWND h = Wnd.TrackHandle();
  const bool before = Wnd.OwnScrolling();
  Wnd.SetOwnScrolling(true);
  const vcl::TLifetime::TWatch alive = Wnd.WatchLifetime();
  SendScrollMsg(h, Msg, Code, Pos);
  if (!alive) return false;
  Wnd.SetOwnScrolling(before);
  return IsWindow(h);
}

}  // namespace

int TqvScrollTracker::HitPart(TqvScrollTrackHost& Wnd, TqvScrollBar& Bar, POINT Screen) {
  vcl::TRect r = Wnd.BarScreenRect(Bar);
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
  if (TqvScrollTrackHost* adapter = ScrollTrackHost(previous)) adapter->RepaintBars();
}

bool TqvScrollTracker::NcMouseMove(TqvScrollTrackHost& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.TrackHandle();
  if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) {
    const int kind = Message.WParam == HTHSCROLL ? kHorzBar : kVertBar;
    if (s.HotBar != kind || s.HotWnd != h) {
      if (s.HotWnd && s.HotWnd != h) LeaveHotBar();
      s.HotPart = s.PrevHotPart = kPartNone;
      s.HotBarRect = Wnd.BarScreenRect(*Wnd.TrackBar(kind));
      s.HotBar = kind;
      s.HotWnd = h;
      s.HoverTimer = SetTimer(h, kHoverTimer, kHoverInterval, nullptr);
      s.WndUnderMouse = h;
      Wnd.RepaintBars();
    }
  }
  s.WndUnderMouse = h;
  return false;
}

bool TqvScrollTracker::NcButtonDown(TqvScrollTrackHost& Wnd, vcl::TMessage& Message) {
  if (Message.WParam != HTHSCROLL && Message.WParam != HTVSCROLL) return false;
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.TrackHandle();
  const int kind = Message.WParam == HTHSCROLL ? kHorzBar : kVertBar;
  TqvScrollBar& bar = *Wnd.TrackBar(kind);
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

void TqvScrollTracker::StartRepeat(TqvScrollTrackHost& Wnd, TqvScrollBar& Bar, int Part) {
  if (!ScrollBarEnabled(&Bar)) return;
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.TrackHandle();
  s.PressedPart = Part;
  if (!SendOwnScroll(Wnd, s.ScrollMsg, Part, 0) || s.TrackWnd != h) return;
  s.RepeatTimer = SetTimer(h, kRepeatDelayTimer, kRepeatDelay, nullptr);
  Wnd.UpdateBars();
}

void TqvScrollTracker::StartDrag(TqvScrollTrackHost& Wnd, TqvScrollBar& Bar, POINT Screen) {
  TqvScrollState& s = ScrollState();
  vcl::TRect r = Wnd.BarScreenRect(Bar);
  ApplyScrollMargins(Bar, r);
  Bar.ReadInfo();
  const int button = GetScrollMetric(&Bar, false);
  const bool vertical = Bar.Vertical();
  const TqvThumb thumb = ThumbGeometry(vertical ? r.Top : r.Left, vertical ? r.Height() : r.Width(), button,
                                       Bar.MinThumb, Bar.Info);
  s.DragThumbLength = thumb.Length;
  s.DragThumbStart = thumb.Start;
  s.DragBarRect = r;
  Wnd.SetThumbDragged(true);
  Bar.Info.nTrackPos = Bar.Info.nPos;
  s.MouseOffset = (vertical ? Screen.y : Screen.x) - thumb.Start;
  s.LastSentPos = Bar.Info.nPos;
  s.PressedPart = kPartThumb;
  RECT wr{};
  GetWindowRect(Wnd.TrackHandle(), &wr);
  vcl::TRect local = Wnd.BarScreenRect(Bar);
  local.Offset(-wr.left, -wr.top);
  const HDC dc = GetWindowDC(Wnd.TrackHandle());
  Wnd.PaintBarForDrag(Bar, local, kPartThumb, dc, thumb.Start - (vertical ? wr.top : wr.left));
  ReleaseDC(Wnd.TrackHandle(), dc);
}

bool TqvScrollTracker::TrackThumb(TqvScrollTrackHost& Wnd, POINT Screen) {
  TqvScrollState& s = ScrollState();
  TqvScrollBar* bar = Wnd.TrackBar(s.TrackedBar);
  if (!bar) return true;
  const bool vertical = bar->Vertical();
  const vcl::TRect& r = s.DragBarRect;
  const int button = GetScrollMetric(bar, false);
  const int trackStart = (vertical ? r.Top : r.Left) + button;
  const int trackEnd = (vertical ? r.Bottom : r.Right) - button;
  int start = (vertical ? Screen.y : Screen.x) - s.MouseOffset;
  start = std::max(trackStart, std::min(start, trackEnd - s.DragThumbLength));
  const int position = ThumbDragPosition(start - trackStart, trackEnd - trackStart, s.DragThumbLength, bar->Info);
  const HWND h = Wnd.TrackHandle();
  bool scrolled = false;
  if (position != s.LastSentPos) {
    bar->Info.nTrackPos = position;
    if (!SendOwnScroll(Wnd, s.ScrollMsg, SB_THUMBTRACK, position)) return false;
    if (!Wnd.ThumbDragged()) return true;
    s.LastSentPos = position;
    scrolled = true;
  }
  RECT wr{};
  GetWindowRect(h, &wr);
  const HDC dc = GetWindowDC(h);
  // The window set its other bar as it scrolled, and the system drew that bar there: ours
  // goes over it again (painted as during a drag, which the bars' usual painting waits out).
  if (TqvScrollBar* other = Wnd.TrackBar(vertical ? kHorzBar : kVertBar); scrolled && other && other->Visible) {
    vcl::TRect r = Wnd.BarScreenRect(*other);
    r.Offset(-wr.left, -wr.top);
    Wnd.PaintBarForDrag(*other, r, kPartNone, dc, -1);
  }
  // The bar with the thumb under the cursor, painted after the window scrolled.
  vcl::TRect local = Wnd.BarScreenRect(*bar);
  local.Offset(-wr.left, -wr.top);
  Wnd.PaintBarForDrag(*bar, local, kPartThumb, dc, start - (vertical ? wr.top : wr.left));
  ReleaseDC(h, dc);
  return true;
}

void TqvScrollTracker::RepaintDrag(TqvScrollTrackHost& Wnd) {
  if (Wnd.ThumbDragged() && ScrollState().TrackWnd == Wnd.TrackHandle()) TrackThumb(Wnd, AdapterCursorPos());
}

bool TqvScrollTracker::FollowCursor(TqvScrollTrackHost& Wnd, POINT Screen) {
  TqvScrollState& s = ScrollState();
  if (Wnd.ThumbDragged()) return TrackThumb(Wnd, Screen);
  TqvScrollBar* bar = Wnd.TrackBar(s.TrackedBar);
  if (!bar || !(IsPagePart(s.RepeatPart) || s.RepeatPart == kPartThumb)) return true;
  const int part = HitPart(Wnd, *bar, Screen);
  const int pressed = part == s.RepeatPart ? part : kPartNone;
  if (pressed == s.PressedPart) return true;
  s.PressedPart = pressed;
  Wnd.RepaintBars();
  return true;
}

bool TqvScrollTracker::Timer(TqvScrollTrackHost& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.TrackHandle();
  Message.Result = 0;
  switch (Message.WParam) {
    case kHoverTimer: {
      if (Wnd.ThumbDragged()) return true;
      if (s.HotWnd != h) {
        KillTimer(h, kHoverTimer);
        return true;
      }
      const POINT p = AdapterCursorPos();
      if (s.HotBarRect.Contains(vcl::TPoint{p.x, p.y})) {
        s.HotPart = HitPart(Wnd, *Wnd.TrackBar(s.HotBar), p);
        if (s.HotPart != s.PrevHotPart) Wnd.RepaintBars();
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
      // A tick handed on by a loop the program runs while it handles the scroll sent last (a
      // closing form's animation, a dialog) waits: that scroll is not done, and its handler may
      // have freed the control or its form on the way.
      if (Wnd.OwnScrolling()) return true;
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
      if (!FollowCursor(Wnd, AdapterCursorPos())) return true;
      if (s.PressedPart != kPartNone && s.TrackWnd == h) SendOwnScroll(Wnd, s.ScrollMsg, s.PressedPart, 0);
      return true;
    default:
      return false;
  }
}

bool TqvScrollTracker::MouseMove(TqvScrollTrackHost& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  if (s.TrackWnd != Wnd.TrackHandle() || s.RepeatPart == kPartNone) return false;
  // A move handed on by a loop the program runs while it handles the scroll sent last (a
  // closing form's animation, a dialog) is the press's all the same, but waits: that scroll is
  // not done, and its handler may be freeing the control or its form.
  if (!Wnd.OwnScrolling()) FollowCursor(Wnd, ClientToScreenPoint(Wnd.TrackHandle(), Message.LParam));
  Message.Result = 0;
  return true;
}

bool TqvScrollTracker::ButtonUp(TqvScrollTrackHost& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  if (s.TrackWnd != Wnd.TrackHandle() || s.RepeatPart == kPartNone) return false;
  // Asked before the press ends: its last messages may take the adapter and its control away.
  bool swallow = Wnd.SwallowsButtonUpAfterScroll() || Message.WParam == static_cast<WPARAM>(-1);
  if (vcl::TControl* control = Wnd.TrackOwner()) {
    const vcl::String name = control->ClassName();
    swallow = swallow || name == L"TImageEnView" || name == L"TImageEnVect";
  }
  // Without its adapter the release goes no further: what lay below is reached only through it.
  if (EndTracking(Wnd, !Wnd.KeepsCaptureAfterScroll()) && !swallow) return false;
  Message.Result = 0;
  return true;
}

bool TqvScrollTracker::CaptureChanged(TqvScrollTrackHost& Wnd, vcl::TMessage& Message) {
  TqvScrollState& s = ScrollState();
  if (s.TrackWnd == Wnd.TrackHandle() && s.RepeatPart != kPartNone &&
      reinterpret_cast<HWND>(Message.LParam) != Wnd.TrackHandle())
    return !EndTracking(Wnd, false);
  return false;
}

bool TqvScrollTracker::EndTracking(TqvScrollTrackHost& Wnd, bool Release) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.TrackHandle();
  const int part = s.RepeatPart;
  const UINT msg = s.ScrollMsg;
  const int last = s.LastSentPos;
  const bool dragging = Wnd.ThumbDragged();
  // Reset first: the capture given back below comes here again as WM_CAPTURECHANGED.
  s.RepeatPart = s.PressedPart = s.TrackedBar = kPartNone;
  s.TrackWnd = nullptr;
  s.LastSentPos = -1;
  s.MouseOffset = s.DragThumbLength = s.DragThumbStart = 0;
  s.RepeatTimer = 0;
  KillTimer(h, kRepeatDelayTimer);
  KillTimer(h, kRepeatTimer);
  const vcl::TLifetime::TWatch alive = Wnd.WatchLifetime();
  // The window hears of the capture's loss at once, and may go then.
  if (Release && GetCapture() == h) ReleaseCapture();
  if (!StillThere(alive, h)) return false;
  const bool before = Wnd.OwnScrolling();
  Wnd.SetOwnScrolling(true);
  if (dragging) {
    SendScrollMsg(h, msg, SB_THUMBPOSITION, last);
    if (!StillThere(alive, h)) return false;
    // A list box takes a let-go thumb's position from the message's 16 bits: one past them
    // puts it at its top item itself.
    if (last > 0xFFFF && msg == WM_VSCROLL && IsListBox(Wnd)) {
      SendMessageW(h, LB_SETTOPINDEX, static_cast<WPARAM>(last), 0);
      if (!StillThere(alive, h)) return false;
    }
  }
  Wnd.SetThumbDragged(false);
  SendScrollMsg(h, msg, SB_ENDSCROLL, part == kPartThumb ? last : 0);
  if (!StillThere(alive, h)) return false;
  Wnd.SetOwnScrolling(before);
  Wnd.UpdateBars();
  return true;
}

void TqvScrollTracker::Forget(TqvScrollTrackHost& Wnd) {
  TqvScrollState& s = ScrollState();
  const HWND h = Wnd.TrackHandle();
  if (s.TrackWnd == h) {
    s.RepeatPart = s.PressedPart = s.TrackedBar = kPartNone;
    s.TrackWnd = nullptr;
    s.LastSentPos = -1;
    Wnd.SetThumbDragged(false);
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
