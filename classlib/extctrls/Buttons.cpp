// TSpeedButton: mouse feedback, grouping and painting (frame, glyph frame, caption) of a
// button that its parent paints.
#include "classlib/extctrls/Buttons.h"

#include <algorithm>

#include "classlib/extctrls/ButtonFace.h"
#include "classlib/rtl/UnitInit.h"

namespace vcl {

namespace detail {
VCL_UNIT_LINKED(Buttons);
const TUnitRegistration kButtonsUnit{TUnitGroup::ClassLibrary, 35, L"Buttons", &InitButtonsUnit, nullptr};
}  // namespace detail

void detail::InitButtonsUnit() {
  TSpeedButton::StaticClass();
  TBitBtn::StaticClass();
}

VCL_CLASS_INFO(TSpeedButton) {
  publish::Align(p);
  p.Bool<&TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp>(L"AllowAllUp", false);
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  p.Integer<&TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex>(L"GroupIndex", 0);
  p.Bool<&TSpeedButton::Down, &TSpeedButton::SetDown>(L"Down", false);
  publish::Caption(p);
  publish::Cursor(p);
  publish::Enabled(p);
  p.Bool<&TSpeedButton::Flat, &TSpeedButton::SetFlat>(L"Flat", false);
  publish::Font(p);
  p.Object<&TSpeedButton::Glyph, &TSpeedButton::SetGlyph>(L"Glyph", TBitmap::StaticClass());
  p.Enum<&TSpeedButton::Layout, &TSpeedButton::SetLayout>(L"Layout", static_cast<int64_t>(blGlyphLeft));
  p.Integer<&TSpeedButton::Margin, &TSpeedButton::SetMargin>(L"Margin", -1);
  p.Integer<&TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs>(L"NumGlyphs", 1);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Integer<&TSpeedButton::Spacing, &TSpeedButton::SetSpacing>(L"Spacing", 4);
  p.Bool<&TSpeedButton::Transparent, &TSpeedButton::SetTransparent>(L"Transparent", true);
  publish::Visible(p);
  publish::MouseEvents(p);
}

namespace {

bool IsPressed(TButtonState s) { return s == TButtonState::bsDown || s == TButtonState::bsExclusive; }

// The checkerboard of a button that is held down: face and highlight, pixel by pixel.
void FillDithered(HDC DC, const TRect& Rect) {
  static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, kRows));
  UniqueBrush brush(bits ? CreatePatternBrush(bits.get()) : nullptr);
  if (!brush) return;
  const COLORREF text = SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(clBtnFace)));
  const COLORREF back = SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
  FillRect(DC, Rect.AsRECT(), brush.get());
  SetTextColor(DC, text);
  SetBkColor(DC, back);
}

}  // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), glyph_(std::make_unique<TBitmap>()) {
  // The button reports its own clicks (on release inside it).
  SetControlStyle({csCaptureMouse, csDoubleClicks});
  SetBounds(0, 0, 23, 22);
  SetColor(clBtnFace);
  glyph_->OnChange = TNotifyEvent::Bind<&TSpeedButton::GlyphChanged>(this);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(TBitmap* Value) {
  glyph_->Assign(Value);
  // A strip of square frames tells how many frames it holds.
  if (!glyph_->Empty() && glyph_->Height() > 0 && glyph_->Width() % glyph_->Height() == 0) {
    const int frames = glyph_->Width() / glyph_->Height();
    SetNumGlyphs(frames > 4 ? 1 : frames);
  }
  Invalidate();
}

void TSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TSpeedButton::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (num_glyphs_ == Value) return;
  num_glyphs_ = Value;
  Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
  if (group_index_ == 0) Value = false;
  if (Value == down_) return;
  if (down_ && !allow_all_up_) return;
  down_ = Value;
  if (Value) {
    if (state_ == TButtonState::bsUp) Invalidate();
    state_ = TButtonState::bsExclusive;
  } else {
    state_ = TButtonState::bsUp;
    Repaint();
  }
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (group_index_ == Value) return;
  group_index_ = Value;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (allow_all_up_ == Value) return;
  allow_all_up_ = Value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  if (flat_ == Value) return;
  flat_ = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (transparent_ == Value) return;
  transparent_ = Value;
  if (Value)
    SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
  else
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (margin_ == Value || Value < -1) return;
  margin_ = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (spacing_ == Value) return;
  spacing_ = Value;
  Invalidate();
}

// Tells the other buttons of the group (siblings with the same GroupIndex) that this one is
// down, and passes on AllowAllUp.
void TSpeedButton::UpdateExclusive() {
  if (group_index_ == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(group_index_), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(m);
}

bool TSpeedButton::Inside(int X, int Y) const { return ClientRect().Contains({X, Y}); }

// A flat button is raised while the mouse is over it: where is the mouse now?
void TSpeedButton::UpdateTracking() {
  if (!flat_ || !Enabled()) return;
  POINT p{};
  GetCursorPos(&p);
  const bool inside = FindDragTarget(p, true) == this;
  if (inside == mouse_in_control_) return;
  mouse_in_control_ = inside;
  Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!down_) {
    state_ = TButtonState::bsDown;
    Invalidate();
  }
  dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!dragging_) {
    if (!mouse_in_control_) UpdateTracking();
    return;
  }
  // Pressed while the mouse stays inside; back as it was when it leaves.
  TButtonState next = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
  if (Inside(X, Y) && !down_) next = TButtonState::bsDown;
  if (next == state_) return;
  state_ = next;
  Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!dragging_) return;
  dragging_ = false;
  const bool doClick = Inside(X, Y);
  if (group_index_ == 0) {
    state_ = TButtonState::bsUp;
    mouse_in_control_ = false;
    Invalidate();
  } else if (doClick) {
    SetDown(!down_);
    if (down_) Repaint();
  } else {
    if (down_) state_ = TButtonState::bsExclusive;
    Repaint();
  }
  if (doClick) Click();
  UpdateTracking();
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: {
      if (static_cast<int>(Message.WParam) != group_index_) return;
      auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
      if (!sender || sender == this) return;
      if (sender->Down() && down_) {
        down_ = false;
        state_ = TButtonState::bsUp;
        Invalidate();
      }
      allow_all_up_ = sender->AllowAllUp();
      return;
    }
    case CM_MOUSEENTER:
      TGraphicControl::Dispatch(Message);
      if (flat_ && !mouse_in_control_ && Enabled() && !GetCapture()) {
        mouse_in_control_ = true;
        Repaint();
      }
      return;
    case CM_MOUSELEAVE:
      TGraphicControl::Dispatch(Message);
      if (flat_ && mouse_in_control_ && Enabled() && !dragging_) {
        mouse_in_control_ = false;
        Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
      TGraphicControl::Dispatch(Message);
      UpdateTracking();
      Repaint();
      return;
    case WM_LBUTTONDBLCLK:
      // A double click counts only on a button that stays down.
      TGraphicControl::Dispatch(Message);
      if (down_) DblClick();
      return;
    default:
      TGraphicControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------
// Painting

void TSpeedButton::Paint() {
  if (!Enabled()) {
    state_ = TButtonState::bsDisabled;
    dragging_ = false;
  } else if (state_ == TButtonState::bsDisabled) {
    state_ = down_ && group_index_ != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
  }
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const bool pressed = IsPressed(state_);
  TRect r(0, 0, Width(), Height());
  if (!flat_) {
    DrawFrameControl(canvas->Handle(), r.AsRECT(), DFC_BUTTON,
                     DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
  } else {
    if (pressed || (mouse_in_control_ && state_ != TButtonState::bsDisabled)) {
      TRect edge = r;
      DrawEdge(canvas->Handle(), edge.AsRECT(), pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
               (transparent_ ? 0 : BF_MIDDLE) | BF_RECT);
    } else if (!transparent_) {
      canvas->Brush()->SetStyle(bsSolid);
      canvas->Brush()->SetColor(Color());
      canvas->FillRect(r);
    }
    r.Inflate(-1, -1);
  }
  TPoint offset{0, 0};
  if (pressed) {
    if (state_ == TButtonState::bsExclusive && (!flat_ || !mouse_in_control_)) FillDithered(canvas->Handle(), r);
    offset = {1, 1};
  }
  DrawButtonFace(canvas, {glyph_.get(), num_glyphs_, Caption(), layout_, margin_, spacing_, state_}, r, offset);
}

}  // namespace vcl
