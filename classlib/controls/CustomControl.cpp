// Controls that paint themselves through a canvas: TGraphicControl (no window, painted by its
// parent) and TCustomControl (own window), and the canvas that draws on a control.
#include <algorithm>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/controls/ControlsInternal.h"

namespace vcl {

VCL_CLASS_INFO(TControlCanvas) {}
VCL_CLASS_INFO(TGraphicControl) {}
VCL_CLASS_INFO(TCustomControl) {}

// ---------------------------------------------------------------------------------------
// TControlCanvas

namespace detail {
namespace {
std::vector<TControlCanvas*>& CanvasesWithDC() {
  static std::vector<TControlCanvas*> list;
  return list;
}
}  // namespace

void RegisterCanvasDC(TControlCanvas* Canvas) {
  auto& list = CanvasesWithDC();
  if (std::find(list.begin(), list.end(), Canvas) == list.end()) list.push_back(Canvas);
}

void UnregisterCanvasDC(TControlCanvas* Canvas) { std::erase(CanvasesWithDC(), Canvas); }

}  // namespace detail

void FreeDeviceContexts() {
  for (TControlCanvas* c : std::vector<TControlCanvas*>(detail::CanvasesWithDC()))
    if (c->LockCount() == 0) c->FreeHandle();
}

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* AControl) {
  if (control_ == AControl) return;
  FreeHandle();
  control_ = AControl;
}

void TControlCanvas::FreeHandle() {
  if (!own_dc_) return;
  SetHandle(nullptr);
  ReleaseDC(dc_window_, own_dc_);
  own_dc_ = nullptr;
  dc_window_ = nullptr;
  detail::UnregisterCanvasDC(this);
}

// Outside painting the canvas draws on the control's window DC (the parent's, moved and
// clipped to the control, for a graphic control).
void TControlCanvas::CreateHandle() {
  if (!control_) return;
  if (!own_dc_) {
    auto* win = dynamic_cast<TWinControl*>(control_);
    TControl* offsetFrom = nullptr;
    if (!win) {
      win = control_->Parent();
      if (!win) detail::RaiseParentRequired(control_);
      offsetFrom = control_;
    }
    dc_window_ = win->Handle();
    own_dc_ = GetDC(dc_window_);
    if (!own_dc_) return;
    if (offsetFrom) {
      SetViewportOrgEx(own_dc_, offsetFrom->Left(), offsetFrom->Top(), nullptr);
      IntersectClipRect(own_dc_, 0, 0, offsetFrom->Width(), offsetFrom->Height());
    }
    detail::RegisterCanvasDC(this);
  }
  SetHandle(own_dc_);
}

// ---------------------------------------------------------------------------------------
// TCanvasDCLoan

TCanvasDCLoan::TCanvasDCLoan(TCanvas& Canvas, HDC DC) : canvas_(Canvas) {
  canvas_.Lock();
  // A DC the canvas fetched itself is released rather than lent back: it is fetched again
  // when next needed.
  if (auto* control = dynamic_cast<TControlCanvas*>(&canvas_)) control->FreeHandle();
  previous_ = canvas_.CurrentHandle();
  canvas_.SetHandle(DC);
}

TCanvasDCLoan::~TCanvasDCLoan() {
  canvas_.SetHandle(previous_);
  canvas_.Unlock();
}

// ---------------------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    // Painted by the parent, always with its DC in WParam.
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    if (dc && !ComponentState().Contains(csDestroying)) {
      const TCanvasDCLoan loan(*canvas_, dc);
      Paint();
    }
    return;
  }
  TControl::Dispatch(Message);
}

void TGraphicControl::Paint() {}

// ---------------------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    SetControlState(ControlState() + TControlState{csCustomPaint});
    try {
      TWinControl::Dispatch(Message);
    } catch (...) {
      SetControlState(ControlState() - TControlState{csCustomPaint});
      throw;
    }
    SetControlState(ControlState() - TControlState{csCustomPaint});
    return;
  }
  if (Message.Msg == WM_NCDESTROY || Message.Msg == WM_DESTROY) canvas_->FreeHandle();
  TWinControl::Dispatch(Message);
}

void TCustomControl::PaintWindow(HDC DC) {
  const TCanvasDCLoan loan(*canvas_, DC);
  Paint();
}

void TCustomControl::Paint() {}

}  // namespace vcl
