// TSplitter: a bar between two aligned controls; dragging it resizes the control before it.
#include "classlib/extctrls/ExtCtrls.h"

namespace vcl {

VCL_CLASS_INFO(TSplitter) {
  publish::Align(p);
  p.Bool<&TSplitter::AutoSnap, &TSplitter::SetAutoSnap>(L"AutoSnap", true);
  p.Bool<&TSplitter::Beveled, &TSplitter::SetBeveled>(L"Beveled", false);
  publish::Bounds(p);
  publish::Color(p, clBtnFace);
  p.Integer<&TControl::Cursor, &TControl::SetCursor>(L"Cursor", crSizeWE, &CursorTypeInfo());
  p.Integer<&TSplitter::MinSize, &TSplitter::SetMinSize>(L"MinSize", 30);
  publish::ParentColor(p, true);
  p.Enum<&TSplitter::ResizeStyle, &TSplitter::SetResizeStyle>(L"ResizeStyle", static_cast<int64_t>(rsPattern));
  publish::Hints(p);
  publish::Visible(p);
  p.Event<&TSplitter::OnCanResize>(L"OnCanResize");
  p.Event<&TSplitter::OnMoved>(L"OnMoved");
  p.Event<&TSplitter::OnPaint>(L"OnPaint");
}

namespace {

bool IsVertical(TAlign a) { return a == alLeft || a == alRight; }

// An 8 x 8 checkerboard: the dotted line of rsPattern.
UniqueBrush PatternBrush() {
  static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, kRows));
  return UniqueBrush(bits ? CreatePatternBrush(bits.get()) : nullptr);
}

}  // namespace

// The parent's device context for the drag line, which is drawn and taken away again by
// inverting (PATINVERT) with the DC's brush.
class TSplitter::LineDC {
 public:
  LineDC(HWND Window, bool Pattern) : wnd_(Window), dc_(GetDCEx(Window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS)) {
    if (!dc_ || !Pattern) return;
    brush_ = PatternBrush();
    if (brush_) old_ = SelectObject(dc_, brush_.get());
  }
  ~LineDC() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    ReleaseDC(wnd_, dc_);
  }
  LineDC(const LineDC&) = delete;
  LineDC& operator=(const LineDC&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
  UniqueBrush brush_;
  HGDIOBJ old_ = nullptr;
};

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetCursor(crSizeWE);
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
}

TSplitter::~TSplitter() = default;

void TSplitter::SetBeveled(bool Value) {
  if (beveled_ == Value) return;
  beveled_ = Value;
  Invalidate();
}

void TSplitter::SetMinSize(int Value) { min_size_ = Value < 0 ? 0 : Value; }

// The cursor follows the direction of the split unless the user chose another.
void TSplitter::RequestAlign() {
  TGraphicControl::RequestAlign();
  if (Cursor() != crSizeWE && Cursor() != crSizeNS) return;
  SetCursor(IsVertical(Align()) || Align() == alNone || Align() == alClient ? crSizeWE : crSizeNS);
}

void TSplitter::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);
  if (beveled_) {
    if (IsVertical(Align()))
      r.Inflate(-1, 2);
    else
      r.Inflate(2, -1);
    r.Offset(1, 1);
    canvas->Brush()->SetColor(clBtnHighlight);
    canvas->FrameRect(r);
    r.Offset(-2, -2);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(r);
  }
  if (OnPaint) OnPaint(this);
}

TControl* TSplitter::FindSizedControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  TPoint p{Left(), Top()};
  switch (Align()) {
    case alLeft: --p.X; break;
    case alRight: p.X += Width(); break;
    case alTop: --p.Y; break;
    case alBottom: p.Y += Height(); break;
    default: return nullptr;
  }
  const bool before = Align() == alLeft || Align() == alTop;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || !c->Enabled()) continue;
    TRect r = c->BoundsRect();
    // A control shrunk to nothing is still found at its edge.
    if (r.Width() == 0) {
      if (before)
        --r.Left;
      else
        ++r.Right;
    }
    if (r.Height() == 0) {
      if (before)
        --r.Top;
      else
        ++r.Bottom;
    }
    if (r.Contains(p)) return c;
  }
  return nullptr;
}

void TSplitter::CalcSplitSize(int X, int Y, int& NewSize, int& Split) const {
  Split = IsVertical(Align()) ? X - down_pos_.X : Y - down_pos_.Y;
  int size = 0;
  switch (Align()) {
    case alLeft: size = control_->Width() + Split; break;
    case alRight: size = control_->Width() - Split; break;
    case alTop: size = control_->Height() + Split; break;
    case alBottom: size = control_->Height() - Split; break;
    default: break;
  }
  NewSize = size < min_size_ ? min_size_ : (size > max_size_ ? max_size_ : size);
  // The line stops where the size stopped.
  if (size != NewSize) Split += (Align() == alRight || Align() == alBottom) ? size - NewSize : NewSize - size;
}

bool TSplitter::DoCanResize(int& NewSize) {
  bool accept = true;
  if (OnCanResize) OnCanResize(this, NewSize, accept);
  if (accept && NewSize <= min_size_ && auto_snap_) NewSize = 0;
  return accept;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  StopSizing();
  control_ = FindSizedControl();
  down_pos_ = {X, Y};
  if (!control_) return;
  control_->FreeNotification(this);
  // The largest size leaves MinSize to the client area after every control on these edges.
  TWinControl* parent = Parent();
  const bool vertical = IsVertical(Align());
  max_size_ = (vertical ? parent->ClientWidth() : parent->ClientHeight()) - min_size_;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (vertical && c->Visible() && IsVertical(c->Align())) max_size_ -= c->Width();
    if (!vertical && (c->Align() == alTop || c->Align() == alBottom)) max_size_ -= c->Height();
  }
  max_size_ += vertical ? control_->Width() : control_->Height();
  CalcSplitSize(X, Y, new_size_, split_);
  if (resize_style_ == rsLine || resize_style_ == rsPattern) {
    line_dc_ = std::make_unique<LineDC>(parent->Handle(), resize_style_ == rsPattern);
    DrawLine();
  }
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!Shift.Contains(ssLeft) || !control_) return;
  int newSize = 0;
  int split = 0;
  CalcSplitSize(X, Y, newSize, split);
  if (!DoCanResize(newSize)) return;
  if (line_visible_) DrawLine();
  new_size_ = newSize;
  split_ = split;
  if (resize_style_ == rsUpdate) UpdateControlSize();
  if (line_dc_) DrawLine();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!control_) return;
  if (line_visible_) DrawLine();
  UpdateControlSize();
  StopSizing();
}

void TSplitter::UpdateControlSize() {
  if (new_size_ == old_size_ || !control_) return;
  TWinControl* parent = Parent();
  switch (Align()) {
    case alLeft: control_->SetWidth(new_size_); break;
    case alTop: control_->SetHeight(new_size_); break;
    case alRight:
    case alBottom: {
      // The far edge stays: the control grows or shrinks towards the splitter.
      parent->DisableAlign();
      try {
        if (Align() == alRight)
          control_->SetBounds(control_->Left() + control_->Width() - new_size_, control_->Top(), new_size_,
                              control_->Height());
        else
          control_->SetBounds(control_->Left(), control_->Top() + control_->Height() - new_size_, control_->Width(),
                              new_size_);
      } catch (...) {
        parent->EnableAlign();
        throw;
      }
      parent->EnableAlign();
      break;
    }
    default: break;
  }
  Update();
  if (OnMoved) OnMoved(this);
  old_size_ = new_size_;
}

void TSplitter::DrawLine() {
  line_visible_ = !line_visible_;
  if (!line_dc_ || !line_dc_->get()) return;
  TPoint p{Left(), Top()};
  if (IsVertical(Align()))
    p.X += split_;
  else
    p.Y += split_;
  PatBlt(line_dc_->get(), p.X, p.Y, Width(), Height(), PATINVERT);
}

void TSplitter::StopSizing() {
  if (!control_) return;
  if (line_visible_) DrawLine();
  control_->RemoveFreeNotification(this);
  control_ = nullptr;
  line_dc_.reset();
  line_visible_ = false;
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == control_) {
    control_ = nullptr;
    line_dc_.reset();
    line_visible_ = false;
  }
}

void TSplitter::Dispatch(TMessage& Message) {
  // Losing the mouse capture ends the drag where it is.
  if (Message.Msg == WM_CANCELMODE) StopSizing();
  TGraphicControl::Dispatch(Message);
}

}  // namespace vcl
