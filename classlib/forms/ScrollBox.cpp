// Scrolling containers: the window's scroll bars over contents that may be larger than the
// client area, the children moved as the contents scroll.
#include "classlib/forms/ScrollBox.h"

#include <algorithm>

namespace vcl {

VCL_CLASS_INFO(TControlScrollBar) {
  p.Integer<&TControlScrollBar::Increment, &TControlScrollBar::SetIncrement>(L"Increment", 8);
  p.Integer<&TControlScrollBar::Margin, &TControlScrollBar::SetMargin>(L"Margin", 0);
  p.Integer<&TControlScrollBar::Position, &TControlScrollBar::SetPosition>(L"Position", 0);
  // With AutoScroll the range follows the children and is not stored.
  p.Integer<&TControlScrollBar::Range, &TControlScrollBar::SetRange>(L"Range", 0).Stored = [](const TObject* o) {
    const auto* bar = static_cast<const TControlScrollBar*>(o);
    return !bar->control_ || !bar->control_->AutoScroll();
  };
  p.Bool<&TControlScrollBar::Tracking, &TControlScrollBar::SetTracking>(L"Tracking", false);
  p.Bool<&TControlScrollBar::Visible, &TControlScrollBar::SetVisible>(L"Visible", true);
}

VCL_CLASS_INFO(TScrollingWinControl) {}

void PublishScrollingContainer(TPropertyList& p, bool ScrollBox) {
  publish::Align(p);
  publish::Anchors(p);
  p.Bool<&TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll>(L"AutoScroll", true);
  if (ScrollBox) {
    publish::Bevels(p);
    publish::BevelWidth(p);
  }
  publish::BiDiMode(p);
  if (ScrollBox)
    p.Enum<&TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle>(L"BorderStyle",
                                                                  static_cast<int64_t>(TBorderStyle::bsSingle));
  publish::Bounds(p);
  publish::Color(p, clBtnFace);
  publish::Constraints(p);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  p.Object<&TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar>(
      L"HorzScrollBar", TControlScrollBar::StaticClass());
  publish::ParentColor(p, true);
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, false);
  p.Object<&TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar>(
      L"VertScrollBar", TControlScrollBar::StaticClass());
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnResize(p);
  publish::OnContextPopup(p);
}

VCL_CLASS_INFO(TScrollBox) { PublishScrollingContainer(p, true); }

// ---------------------------------------------------------------------------------------
// TControlScrollBar

void TControlScrollBar::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TControlScrollBar*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  increment_ = other->increment_;
  margin_ = other->margin_;
  tracking_ = other->tracking_;
  visible_ = other->visible_;
  DoSetRange(other->range_);
  SetPosition(other->position_);
}

void TControlScrollBar::SetIncrement(int Value) { increment_ = std::clamp(Value, 1, 32767); }

void TControlScrollBar::SetMargin(int Value) {
  margin_ = std::max(Value, 0);
  if (control_) control_->CalcAutoRange();
}

void TControlScrollBar::SetRange(int Value) {
  // A range of one's own replaces the one the children give.
  if (control_) control_->auto_scroll_ = false;
  DoSetRange(Value);
}

void TControlScrollBar::DoSetRange(int Value) {
  range_ = std::max(Value, 0);
  if (control_) control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  if (control_) control_->UpdateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const {
  if (!control_ || !visible_) return false;
  if (control_->HandleAllocated()) return shown_;
  return range_ > ControlSize();
}

int TControlScrollBar::ControlSize() const {
  if (!control_) return 0;
  const TRect client = control_->ClientRect();
  int size = kind_ == sbHorizontal ? client.Width() : client.Height();
  if (control_->HandleAllocated()) {
    // The space the window's own bar takes from the client area belongs to it.
    const LONG_PTR style = GetWindowLongPtrW(control_->Handle(), GWL_STYLE);
    if (kind_ == sbHorizontal && (style & WS_VSCROLL)) size += GetSystemMetrics(SM_CXVSCROLL);
    if (kind_ == sbVertical && (style & WS_HSCROLL)) size += GetSystemMetrics(SM_CYHSCROLL);
  }
  return size;
}

int TControlScrollBar::MaxPosition() const {
  if (control_ && control_->HandleAllocated()) return shown_ ? std::max(0, range_ - page_) : 0;
  return std::max(0, range_ - ControlSize());
}

void TControlScrollBar::SetPosition(int Value) {
  if (control_ && control_->ComponentState().Contains(csLoading)) {
    position_ = std::max(Value, 0);
    return;
  }
  Value = std::clamp(Value, 0, MaxPosition());
  if (Value == position_) return;
  const int delta = position_ - Value;
  position_ = Value;
  if (!control_) return;
  if (kind_ == sbHorizontal)
    control_->ScrollBy(delta, 0);
  else
    control_->ScrollBy(0, delta);
  if (control_->HandleAllocated() && shown_)
    SetScrollPos(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, position_, TRUE);
}

void TControlScrollBar::Apply(bool Show, int Page) {
  HWND wnd = control_->Handle();
  const int bar = kind_ == sbHorizontal ? SB_HORZ : SB_VERT;
  shown_ = Show;
  page_ = std::max(Page, 1);
  // A bar that is not on the window and stays off needs no call (forms realign often, and
  // each call costs the window system a round trip).
  const LONG_PTR onWindow = GetWindowLongPtrW(wnd, GWL_STYLE) & (kind_ == sbHorizontal ? WS_HSCROLL : WS_VSCROLL);
  if (!Show && !onWindow) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (Show) {
    info.nMax = range_ - 1;
    info.nPage = static_cast<UINT>(page_);
    info.nPos = std::clamp(position_, 0, MaxPosition());
  }
  SetScrollInfo(wnd, bar, &info, TRUE);
  ShowScrollBar(wnd, bar, Show ? TRUE : FALSE);
}

void TControlScrollBar::ScrollMessage(WORD Code) {
  switch (Code) {
    case SB_LINEUP: SetPosition(position_ - increment_); break;
    case SB_LINEDOWN: SetPosition(position_ + increment_); break;
    case SB_PAGEUP: SetPosition(position_ - page_); break;
    case SB_PAGEDOWN: SetPosition(position_ + page_); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      if (Code == SB_THUMBTRACK && !tracking_) break;
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &info)) SetPosition(info.nTrackPos);
      break;
    }
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------------------
// TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      horz_(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      vert_(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

void TScrollingWinControl::SetAutoScroll(bool Value) {
  if (auto_scroll_ == Value) return;
  auto_scroll_ = Value;
  if (Value) {
    CalcAutoRange();
  } else {
    horz_->DoSetRange(0);
    vert_->DoSetRange(0);
  }
}

void TScrollingWinControl::CalcAutoRange() {
  if (!auto_scroll_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  int right = 0, bottom = 0, rightEdges = 0, bottomEdges = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* c = Controls(i);
    if (!c->Visible() && !c->ComponentState().Contains(csDesigning)) continue;
    const TAnchors anchors = c->Anchors();
    switch (c->Align()) {
      case alLeft:
        right = std::max(right, horz_->position_ + c->Left() + c->Width());
        break;
      case alRight:
        rightEdges += c->Width();
        break;
      case alTop:
        bottom = std::max(bottom, vert_->position_ + c->Top() + c->Height());
        break;
      case alBottom:
        bottomEdges += c->Height();
        break;
      case alNone:
        // A control held to the far edge moves with it rather than widening the contents.
        if (anchors.Contains(akLeft) || !anchors.Contains(akRight))
          right = std::max(right, horz_->position_ + c->Left() + c->Width());
        if (anchors.Contains(akTop) || !anchors.Contains(akBottom))
          bottom = std::max(bottom, vert_->position_ + c->Top() + c->Height());
        break;
      default:
        break;
    }
  }
  const bool updating = std::exchange(updating_bars_, true);
  horz_->range_ = right + rightEdges + horz_->margin_;
  vert_->range_ = bottom + bottomEdges + vert_->margin_;
  updating_bars_ = updating;
  UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (updating_bars_ || !HandleAllocated() || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying))
    return;
  updating_bars_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{updating_bars_};
  // The client area without bars; a bar that shows takes its breadth from the other's page.
  const int width = horz_->ControlSize();
  const int height = vert_->ControlSize();
  bool needH = horz_->visible_ && horz_->range_ > width;
  bool needV = vert_->visible_ && vert_->range_ > height;
  if (needV && !needH) needH = horz_->visible_ && horz_->range_ > width - GetSystemMetrics(SM_CXVSCROLL);
  if (needH && !needV) needV = vert_->visible_ && vert_->range_ > height - GetSystemMetrics(SM_CYHSCROLL);
  const int pageW = width - (needV ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  const int pageH = height - (needH ? GetSystemMetrics(SM_CYHSCROLL) : 0);
  horz_->Apply(needH, pageW);
  vert_->Apply(needV, pageH);
  // Contents that now fit (or shrank) scroll back so that nothing is left beyond the end.
  for (TControlScrollBar* bar : {horz_.get(), vert_.get()}) {
    const int limit = bar->MaxPosition();
    if (bar->position_ > limit) {
      const int delta = bar->position_ - limit;
      bar->position_ = limit;
      if (bar == horz_.get())
        ScrollBy(delta, 0);
      else
        ScrollBy(0, delta);
    }
    if (bar->shown_) SetScrollPos(Handle(), bar == horz_.get() ? SB_HORZ : SB_VERT, bar->position_, TRUE);
  }
}

void TScrollingWinControl::AdjustClientRect(TRect& Rect) const {
  TWinControl::AdjustClientRect(Rect);
  // Aligned children are laid out in the whole (scrolled) contents.
  Rect = Bounds(Rect.Left - horz_->position_, Rect.Top - vert_->position_, std::max(horz_->range_, Rect.Width()),
                std::max(vert_->range_, Rect.Height()));
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  if (auto_scroll_)
    CalcAutoRange();
  else
    UpdateScrollBars();
  TWinControl::AlignControls(AControl, Rect);
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  // Bars that were scrolled before the window existed start at the beginning.
  horz_->position_ = vert_->position_ = 0;
  if (auto_scroll_)
    CalcAutoRange();
  else
    UpdateScrollBars();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || !HandleAllocated() || !ContainsControl(AControl) || AControl == this) return;
  // The whole control (its border too), in this control's client coordinates.
  TWinControl* parent = AControl->Parent();
  const TRect bounds = AControl->BoundsRect();
  const TPoint topLeft = ScreenToClient(parent->ClientToScreen(bounds.TopLeft()));
  TRect r = Bounds(topLeft.X - horz_->margin_, topLeft.Y - vert_->margin_, bounds.Width() + 2 * horz_->margin_,
                   bounds.Height() + 2 * vert_->margin_);
  const TRect client = ClientRect();
  if (r.Left < 0) {
    horz_->SetPosition(horz_->position_ + r.Left);
  } else if (r.Right > client.Width()) {
    if (r.Width() > client.Width()) r.Right = r.Left + client.Width();
    horz_->SetPosition(horz_->position_ + r.Right - client.Width());
  }
  if (r.Top < 0) {
    vert_->SetPosition(vert_->position_ + r.Top);
  } else if (r.Bottom > client.Height()) {
    if (r.Height() > client.Height()) r.Bottom = r.Top + client.Height();
    vert_->SetPosition(vert_->position_ + r.Bottom - client.Height());
  }
}

// The window's own bars scroll the contents; a scroll bar control's messages come with its
// window in LParam and are reflected to it.
void TScrollingWinControl::WMScroll(TMessage& Message) {
  if (Message.LParam != 0) return TWinControl::Dispatch(Message);
  (Message.Msg == WM_HSCROLL ? horz_ : vert_)->ScrollMessage(LOWORD(Message.WParam));
  Message.Result = 0;
}

// The focused control comes into view.
void TScrollingWinControl::CMFocusChanged(TMessage& Message) {
  if (auto_scroll_ && !ComponentState().Contains(csLoading))
    if (auto* focused = reinterpret_cast<TControl*>(Message.LParam); focused && focused != this && ContainsControl(focused))
      ScrollInView(focused);
  TWinControl::Dispatch(Message);
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL: return WMScroll(Message);
    case CM_FOCUSCHANGED: return CMFocusChanged(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------
// TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (border_style_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  // The box repaints what scrolling uncovers; the class need not redraw on every resize.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

}  // namespace vcl
