// TMediaPlayer: the button strip, its mouse and keyboard handling and its glyphs, drawn by
// the library (coloured, black or grayed).
#include "classlib/extctrls/MediaPlayer.h"

#include <array>

#include "classlib/rtl/UnitInit.h"

namespace vcl {

namespace {

constexpr int kButtonCount = 9;

TMPBtnType ButtonOf(int Index) { return static_cast<TMPBtnType>(Index); }

// The colour of a coloured, enabled button's glyph.
constexpr std::array<TColor, kButtonCount> kColors{
    clGreen,   // play
    clOlive,   // pause
    clMaroon,  // stop
    clNavy,    // next
    clNavy,    // previous
    clTeal,    // step
    clTeal,    // back
    clRed,     // record
    clPurple,  // eject
};

}  // namespace

namespace detail {
VCL_UNIT_LINKED(MPlayer);
const TUnitRegistration kMPlayerUnit{TUnitGroup::ClassLibrary, 35, L"MPlayer", &InitMPlayerUnit, nullptr};
}  // namespace detail

void detail::InitMPlayerUnit() { TMediaPlayer::StaticClass(); }

VCL_CLASS_INFO(TMediaPlayer) {
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  p.Set<&TMediaPlayer::ColoredButtons, &TMediaPlayer::SetColoredButtons>(L"ColoredButtons",
                                                                        kAllMPButtons.ToInt());
  publish::Enabled(p);
  p.Set<&TMediaPlayer::EnabledButtons, &TMediaPlayer::SetEnabledButtons>(L"EnabledButtons",
                                                                        kAllMPButtons.ToInt());
  publish::Hints(p);
  publish::PopupMenu(p);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  p.Set<&TMediaPlayer::VisibleButtons, &TMediaPlayer::SetVisibleButtons>(L"VisibleButtons",
                                                                        kAllMPButtons.ToInt());
  publish::Visible(p);
  p.Event<&TMediaPlayer::OnClick>(L"OnClick");
  p.Event<&TMediaPlayer::OnPostClick>(L"OnPostClick");
  publish::KeyEvents(p);
}

TMediaPlayer::TMediaPlayer(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csOpaque, csCaptureMouse, csDoubleClicks});
  SetBounds(0, 0, 253, 30);
  SetTabStop(true);
}

void TMediaPlayer::SetVisibleButtons(TButtonSet Value) {
  visible_ = Value;
  Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet Value) {
  enabled_ = Value;
  Invalidate();
}

void TMediaPlayer::SetColoredButtons(TButtonSet Value) {
  colored_ = Value;
  Invalidate();
}

int TMediaPlayer::VisibleCount() const {
  int n = 0;
  for (int i = 0; i < kButtonCount; ++i) n += visible_.Contains(ButtonOf(i)) ? 1 : 0;
  return n;
}

TRect TMediaPlayer::ButtonRect(TMPBtnType Button) const {
  const int count = VisibleCount();
  if (count == 0 || !visible_.Contains(Button)) return TRect();
  const int width = Width() / count;
  int x = 0;
  for (int i = 0; i < kButtonCount; ++i) {
    if (!visible_.Contains(ButtonOf(i))) continue;
    if (ButtonOf(i) == Button) return TRect(x, 0, x + width, Height());
    x += width;
  }
  return TRect();
}

bool TMediaPlayer::ButtonAtPos(TPoint Pos, TMPBtnType& Button) const {
  for (int i = 0; i < kButtonCount; ++i) {
    if (!visible_.Contains(ButtonOf(i))) continue;
    if (ButtonRect(ButtonOf(i)).Contains(Pos)) {
      Button = ButtonOf(i);
      return true;
    }
  }
  return false;
}

void TMediaPlayer::ClickButton(TMPBtnType Button) {
  if (!Enabled() || !visible_.Contains(Button) || !enabled_.Contains(Button)) return;
  bool doDefault = true;
  if (OnClick) OnClick(this, Button, doDefault);
  // The device's own action would run here when doDefault stays set; there is no device.
  if (OnPostClick) OnPostClick(this, Button);
}

void TMediaPlayer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  TMPBtnType hit{};
  if (Button != mbLeft || !ButtonAtPos({X, Y}, hit) || !enabled_.Contains(hit)) return;
  pressing_ = true;
  pressed_ = hit;
  focused_ = hit;
  Invalidate();
}

void TMediaPlayer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !pressing_) return;
  pressing_ = false;
  Invalidate();
  // Released over another button (or none): no click.
  TMPBtnType hit{};
  if (ButtonAtPos({X, Y}, hit) && hit == pressed_) ClickButton(hit);
}

void TMediaPlayer::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  auto step = [this](int Direction) {
    for (int i = static_cast<int>(focused_) + Direction; i >= 0 && i < kButtonCount; i += Direction)
      if (visible_.Contains(ButtonOf(i)) && enabled_.Contains(ButtonOf(i))) {
        focused_ = ButtonOf(i);
        Invalidate();
        return;
      }
  };
  switch (Key) {
    case VK_LEFT: step(-1); break;
    case VK_RIGHT: step(1); break;
    case VK_SPACE:
    case VK_RETURN: ClickButton(focused_); break;
    default: return;
  }
  Key = 0;
}

void TMediaPlayer::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnFace);
  if (VisibleCount() == 0) {
    canvas->FillRect(ClientRect());
    return;
  }
  canvas->FillRect(ClientRect());
  for (int i = 0; i < kButtonCount; ++i) {
    const TMPBtnType b = ButtonOf(i);
    if (!visible_.Contains(b)) continue;
    TRect r = ButtonRect(b);
    const bool down = pressing_ && pressed_ == b;
    DrawFrameControl(canvas->Handle(), r.AsRECT(), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? DFCS_PUSHED : 0));
    if (down) r.Offset(1, 1);
    const bool enabled = Enabled() && enabled_.Contains(b);
    TColor ink = clBlack;
    if (!enabled)
      ink = clGray;
    else if (colored_.Contains(b))
      ink = kColors[static_cast<size_t>(i)];
    DrawGlyph(b, r, ink);
    if (Focused() && b == focused_) {
      TRect focus = r;
      focus.Inflate(-2, -2);
      DrawFocusRect(canvas->Handle(), focus.AsRECT());
    }
  }
}

// The button's sign, about 9 pixels high, in the middle of its face.
void TMediaPlayer::DrawGlyph(TMPBtnType Button, const TRect& Face, TColor Ink) {
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(Ink);
  canvas->Pen()->SetWidth(1);
  canvas->Brush()->SetColor(Ink);
  const int cx = (Face.Left + Face.Right) / 2;
  const int cy = (Face.Top + Face.Bottom) / 2;
  auto triangle = [&](int Left, bool PointsRight) {
    const TPoint right[] = {{Left, cy - 4}, {Left + 4, cy}, {Left, cy + 4}};
    const TPoint left[] = {{Left + 4, cy - 4}, {Left, cy}, {Left + 4, cy + 4}};
    canvas->Polygon(PointsRight ? right : left);
  };
  auto bar = [&](int Left, int Width) { canvas->FillRect(TRect(Left, cy - 4, Left + Width, cy + 5)); };
  using enum TMPBtnType;
  switch (Button) {
    case btPlay: triangle(cx - 2, true); break;
    case btPause: bar(cx - 4, 3); bar(cx + 1, 3); break;
    case btStop: canvas->FillRect(TRect(cx - 4, cy - 4, cx + 5, cy + 5)); break;
    case btNext: triangle(cx - 4, true); bar(cx + 2, 2); break;
    case btPrev: bar(cx - 4, 2); triangle(cx, false); break;
    case btStep: triangle(cx - 5, true); triangle(cx, true); break;
    case btBack: triangle(cx - 5, false); triangle(cx, false); break;
    case btRecord: canvas->Ellipse(cx - 4, cy - 4, cx + 5, cy + 5); break;
    case btEject: {
      const TPoint up[] = {{cx - 5, cy + 1}, {cx, cy - 4}, {cx + 5, cy + 1}};
      canvas->Polygon(up);
      canvas->FillRect(TRect(cx - 5, cy + 3, cx + 6, cy + 5));
      break;
    }
  }
}

// The arrows move between the buttons.
void TMediaPlayer::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

// The focus rectangle and the grayed glyphs follow.
void TMediaPlayer::StateChanged(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  Invalidate();
}

void TMediaPlayer::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: return WMGetDlgCode(Message);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED: return StateChanged(Message);
    default: return TCustomControl::Dispatch(Message);
  }
}

}  // namespace vcl
