// Layout of a windowed control's children: aligned controls take their edge of the remaining
// client area in the order top, bottom, left, right, client, custom; anchored controls keep
// their distances to the anchored edges when the parent is resized.
#include <algorithm>

#include "classlib/controls/Controls.h"

namespace vcl {

namespace {

TAnchors AnchorsOfAlign(TAlign a) {
  switch (a) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return {akLeft, akTop, akRight, akBottom};
    default: return {akLeft, akTop};
  }
}

// Within one alignment, which control lies nearer the edge it is aligned to.
bool InsertBefore(const TControl* c1, const TControl* c2, TAlign a) {
  switch (a) {
    case alTop: return c1->Top() < c2->Top();
    case alBottom: return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
    case alLeft: return c1->Left() < c2->Left();
    case alRight: return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
    default: return false;
  }
}

}  // namespace

void TWinControl::EnableAlign() {
  if (align_level_ > 0) --align_level_;
  if (align_level_ == 0 && ControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (align_level_ != 0 || ComponentState().Contains(csLoading)) {
    SetControlState(ControlState() + TControlState{csAlignmentNeeded});
    return;
  }
  DisableAlign();
  SetControlState(ControlState() + TControlState{csAligning});
  try {
    TRect r = ClientRect();
    AlignControls(AControl, r);
  } catch (...) {
    SetControlState(ControlState() - TControlState{csAlignmentNeeded, csAligning});
    --align_level_;
    throw;
  }
  SetControlState(ControlState() - TControlState{csAlignmentNeeded, csAligning});
  --align_level_;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  // Nothing to do unless some child is aligned or anchored.
  bool work = false;
  for (int i = 0; i < ControlCount() && !work; ++i) {
    const TControl* c = Controls(i);
    work = c->Align() != alNone || c->Anchors() != TAnchors{akLeft, akTop};
  }
  if (!work) return;
  AdjustClientRect(Rect);
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) DoAlign(AControl, a, Rect);
}

void TWinControl::DoAlign(TControl* AControl, TAlign AAlign, TRect& Rect) {
  auto takesPart = [&](const TControl* c) {
    return c->Align() == AAlign && (AAlign == alNone || c->Visible() ||
                                    (c->ComponentState().Contains(csDesigning) &&
                                     !c->ControlStyle().Contains(csNoDesignVisible)));
  };
  std::vector<TControl*> list;
  // The control that asked goes in first; the others are placed by their position.
  if (AControl && AControl->Parent() == this && takesPart(AControl)) list.push_back(AControl);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == AControl || !takesPart(c)) continue;
    size_t j = 0;
    while (j < list.size() && !InsertBefore(c, list[j], AAlign)) ++j;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
  }
  for (TControl* c : list) {
    if (AAlign == alNone || c->Anchors() != AnchorsOfAlign(AAlign)) {
      AnchorControl(c, Rect);
      if (AAlign == alNone) continue;
    }
    int newWidth = Rect.Right - Rect.Left;
    if (newWidth < 0 || AAlign == alLeft || AAlign == alRight || AAlign == alCustom) newWidth = c->Width();
    int newHeight = Rect.Bottom - Rect.Top;
    if (newHeight < 0 || AAlign == alTop || AAlign == alBottom || AAlign == alCustom) newHeight = c->Height();
    int newLeft = Rect.Left;
    int newTop = Rect.Top;
    switch (AAlign) {
      case alTop:
        Rect.Top += newHeight;
        break;
      case alBottom:
        Rect.Bottom -= newHeight;
        newTop = Rect.Bottom;
        break;
      case alLeft:
        Rect.Left += newWidth;
        break;
      case alRight:
        Rect.Right -= newWidth;
        newLeft = Rect.Right;
        break;
      case alCustom:
        newLeft = c->Left();
        newTop = c->Top();
        break;
      default:
        break;
    }
    c->anchor_move_ = true;
    try {
      c->SetBounds(newLeft, newTop, newWidth, newHeight);
    } catch (...) {
      c->anchor_move_ = false;
      throw;
    }
    c->anchor_move_ = false;
    // A control that would not take the size leaves the rest of the edge to the others.
    if (c->Width() != newWidth || c->Height() != newHeight) {
      switch (AAlign) {
        case alTop: Rect.Top -= newHeight - c->Height(); break;
        case alBottom: Rect.Bottom += newHeight - c->Height(); break;
        case alLeft: Rect.Left -= newWidth - c->Width(); break;
        case alRight: Rect.Right += newWidth - c->Width(); break;
        case alClient:
          Rect.Right += newWidth - c->Width();
          Rect.Bottom += newHeight - c->Height();
          break;
        default: break;
      }
    }
  }
}

void TWinControl::AnchorControl(TControl* Control, const TRect&) {
  const TPoint original = Control->original_parent_size_;
  if (original.X == 0 || original.Y == 0) return;
  const TAnchors anchors = Control->Anchors();
  const TPoint rules = Control->anchor_rules_;
  const TPoint size = ClientRect().BottomRight();
  int newLeft = Control->Left();
  int newTop = Control->Top();
  int newWidth = Control->Width();
  int newHeight = Control->Height();
  if (anchors.Contains(akRight)) {
    if (anchors.Contains(akLeft))
      newWidth = size.X - (original.X - rules.X);
    else
      newLeft = size.X - (original.X - rules.X);
  } else if (!anchors.Contains(akLeft)) {
    newLeft = MulDiv(rules.X, size.X, original.X) - newWidth / 2;
  }
  if (anchors.Contains(akBottom)) {
    if (anchors.Contains(akTop))
      newHeight = size.Y - (original.Y - rules.Y);
    else
      newTop = size.Y - (original.Y - rules.Y);
  } else if (!anchors.Contains(akTop)) {
    newTop = MulDiv(rules.Y, size.Y, original.Y) - newHeight / 2;
  }
  Control->anchor_move_ = true;
  try {
    Control->SetBounds(newLeft, newTop, newWidth, newHeight);
  } catch (...) {
    Control->anchor_move_ = false;
    throw;
  }
  Control->anchor_move_ = false;
}

// Scrolling: the window's picture moves with its child windows; the children without a
// window of their own (or whose windows the hidden parent cannot scroll) move by their bounds.
void TWinControl::ScrollBy(int DeltaX, int DeltaY) {
  if (DeltaX == 0 && DeltaY == 0) return;
  const bool visible = handle_ && IsWindowVisible(handle_);
  if (visible)
    ScrollWindowEx(handle_, DeltaX, DeltaY, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w || !w->handle_) {
      c->left_ += DeltaX;
      c->top_ += DeltaY;
    } else if (visible) {
      w->UpdateBounds();
    } else {
      SetWindowPos(w->handle_, nullptr, c->left_ + DeltaX, c->top_ + DeltaY, c->width_, c->height_,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      w->UpdateBounds();
    }
  }
  Realign();
}

}  // namespace vcl
