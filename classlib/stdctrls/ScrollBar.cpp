// TScrollBar: a superclass of the system SCROLLBAR class. Its scroll messages come back from
// the parent as CN_HSCROLL / CN_VSCROLL; range, page and position go to the window with
// SetScrollInfo (SBM_SETSCROLLINFO).
#include "classlib/stdctrls/ScrollBar.h"

#include <algorithm>

#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TScrollBar) {
  publish::Align(p);
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  publish::Constraints(p);
  publish::Cursor(p);
  publish::Enabled(p);
  p.Enum<&TScrollBar::Kind, &TScrollBar::SetKind>(L"Kind", static_cast<int64_t>(sbHorizontal));
  p.Integer<&TScrollBar::LargeChange, &TScrollBar::SetLargeChange>(L"LargeChange", 1);
  p.Integer<&TScrollBar::Max, &TScrollBar::SetMax>(L"Max", 100);
  p.Integer<&TScrollBar::Min, &TScrollBar::SetMin>(L"Min", 0);
  p.Integer<&TScrollBar::PageSize, &TScrollBar::SetPageSize>(L"PageSize", 0);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Integer<&TScrollBar::Position, &TScrollBar::SetPosition>(L"Position", 0);
  p.Integer<&TScrollBar::SmallChange, &TScrollBar::SetSmallChange>(L"SmallChange", 1);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Event<&TScrollBar::OnChange>(L"OnChange");
  p.Event<&TScrollBar::OnScroll>(L"OnScroll");
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  // The system bar tracks the mouse itself.
  SetControlStyle({csFramed, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"SCROLLBAR");
  Params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  PutOnWindow(false);
}

void TScrollBar::PutOnWindow(bool Redraw) {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = static_cast<UINT>(page_size_);
  info.nPos = position_;
  SetScrollInfo(Handle(), SB_CTL, &info, Redraw ? TRUE : FALSE);
}

void TScrollBar::Loaded() {
  TWinControl::Loaded();
  // The description gives the range and the position one by one: they meet only now, and
  // an impossible range is made possible rather than refused (the description stays readable).
  max_ = std::max({max_, min_, page_size_});
  page_size_ = std::max(page_size_, 0);
  position_ = std::clamp(position_, min_, std::max(min_, LastPosition()));
  PutOnWindow(true);
}

int TScrollBar::LastPosition() const { return max_ - std::max(page_size_ - 1, 0); }

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (ComponentState().Contains(csLoading)) {
    position_ = APosition;
    min_ = AMin;
    max_ = AMax;
    return;
  }
  if (AMax < AMin || AMax < page_size_) throw EInvalidOperation(L"Scroll bar property out of range");
  min_ = AMin;
  max_ = AMax;
  const int position = std::clamp(APosition, min_, std::max(min_, LastPosition()));
  const bool changed = position != position_;
  position_ = position;
  PutOnWindow(true);
  if (changed) Change();
}

void TScrollBar::SetPageSize(int Value) {
  if (ComponentState().Contains(csLoading)) {
    page_size_ = Value;
    return;
  }
  if (Value < 0 || Value > max_) throw EInvalidOperation(L"Scroll bar property out of range");
  page_size_ = Value;
  SetParams(position_, min_, max_);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (kind_ == Value) return;
  kind_ = Value;
  // Turned by the program, the bar keeps its place and lies the other way.
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::CNScroll(TMessage& Message) {
  const auto code = static_cast<TScrollCode>(std::min<WORD>(LOWORD(Message.WParam), SB_ENDSCROLL));
  int pos = position_;
  switch (code) {
    case scLineUp: pos -= small_change_; break;
    case scLineDown: pos += small_change_; break;
    case scPageUp: pos -= large_change_; break;
    case scPageDown: pos += large_change_; break;
    case scPosition:
    case scTrack: {
      // The 32-bit thumb position (the message's is 16-bit).
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      pos = GetScrollInfo(Handle(), SB_CTL, &info) ? info.nTrackPos : static_cast<int>(HIWORD(Message.WParam));
      break;
    }
    case scTop: pos = min_; break;
    case scBottom: pos = max_; break;
    case scEndScroll: break;
  }
  pos = std::clamp(pos, min_, std::max(min_, LastPosition()));
  Scroll(code, pos);
  SetPosition(pos);
  Message.Result = 0;
}

// The system's colours for the bar, as the class itself answers them.
void TScrollBar::CNCtlColorScrollBar(TMessage& Message) {
  Message.Result = CallWindowProcW(DefWndProc(), Handle(), WM_CTLCOLORSCROLLBAR, Message.WParam, Message.LParam);
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: return CNScroll(Message);
    case CN_CTLCOLORSCROLLBAR: return CNCtlColorScrollBar(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
