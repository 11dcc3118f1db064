#include "skin_classic/controls/SkinComboBox.h"

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

constexpr int kStateNormal = 1, kStatePressed = 2, kStateDisabled = 3, kStateHot = 4;

void FrameColor(HDC DC, const RECT& R, vcl::TColor Color) {
  const vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Color))));
  FrameRect(DC, &R, brush.get());
}

}  // namespace

VCL_CLASS_INFO(TSkinComBox) {}

TSkinComBox::TSkinComBox(vcl::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinComBox::~TSkinComBox() = default;

void TSkinComBox::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  if (FAttached) AttachList();
}

void TSkinComBox::AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachWindow(Handle, SkinData, Form, Canvas);
  if (FAttached) AttachList();
}

void TSkinComBox::AttachList() {
  FStyle2 = GetWindowLongPtrW(FHandle, GWL_STYLE);
  FInfo = COMBOBOXINFO{};
  FInfo.cbSize = sizeof(FInfo);
  if (!GetComboBoxInfoProc(FHandle, FInfo)) return;
  FList = FInfo.hwndList;
  FEdit = FInfo.hwndItem;
  if (!FList) return;
  // The list skinners are this skinner's own, not the form's.
  if ((FStyle2 & 3) == CBS_SIMPLE) {
    if (!IsPopupWindow(FList)) {
      FListSkinner.reset(new TSkinScrollbarH(nullptr));
      FListSkinner->AttachWindow(FList, FSkinData, nullptr, Canvas());
    }
  } else if (FStyle2 & 2) {
    FListBar.reset(new TComboxScrollBar(nullptr));
    FListBar->AttachWindow(FList, FSkinData, nullptr, Canvas());
  }
}

void TSkinComBox::ReleaseList() {
  if (FListSkinner) FListSkinner->RestoreControl();
  if (FListBar) FListBar->RestoreControl();
  FListSkinner.reset();
  FListBar.reset();
}

void TSkinComBox::RestoreControl() {
  TSkinControl::RestoreControl();
  ReleaseList();
}

bool TSkinComBox::BeforeProc(vcl::TMessage& Message) {
  // A combo box paints its whole face when it paints; erased with its colour on its own (as
  // the class library erases), it would stay a blank box until it is painted again.
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return false;
  }
  return TSkinControl::BeforeProc(Message);
}

void TSkinComBox::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: ShowMouseBit(kMousePressed, true); break;
    case WM_LBUTTONUP: ShowMouseBit(kMousePressed, false); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case vcl::CM_MOUSELEAVE: ShowMouseBit(kMouseHot, false); break;
    case vcl::CN_COMMAND: CNCommand(Message); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: break;
    case WM_DRAWITEM:
    case WM_NCPAINT: Redraw(); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

void TSkinComBox::ShowMouseBit(uint8_t Bit, bool On) {
  SetMouseBit(Bit, On);
  Redraw();
}

// The button is hot while the mouse is over it.
void TSkinComBox::WMMouseMove(const vcl::TMessage& Message) {
  const vcl::TPoint at(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  const bool over = IsWindowEnabled(FHandle) && FButtonRect.Contains(at);
  if (over != Hot()) ShowMouseBit(kMouseHot, over);
}

void TSkinComBox::CNCommand(const vcl::TMessage& Message) {
  if (HIWORD(Message.WParam) == CBN_DROPDOWN) FDroppedDown = true;
  if (HIWORD(Message.WParam) == CBN_CLOSEUP) FDroppedDown = false;
}

bool TSkinComBox::HasPicture() const {
  if (!HasSkin()) return false;
  auto* combo = dynamic_cast<TDataSkinBorder*>(FSkinData->Skin()->Element(SkinElement::ComboButton));
  return combo && combo->HasBitmap();
}

int TSkinComBox::ButtonState() {
  const HWND focus = GetFocus();
  FFocused = focus && (focus == FHandle || IsChild(FHandle, focus));
  FEnabled = IsWindowEnabled(FHandle);
  int state = kStateNormal;
  if (FFocused) state = kStateHot;
  if (Pressed())
    state = kStatePressed;
  else if (Hot())
    state = kStateHot;
  if (!FEnabled) state = kStateDisabled;
  return state;
}

TRect TSkinComBox::WindowToClient(const TRect& R) const {
  RECT window{};
  GetWindowRect(FHandle, &window);
  POINT origin{0, 0};
  ClientToScreen(FHandle, &origin);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  return TRect(R.Left - dx, R.Top - dy, R.Right - dx, R.Bottom - dy);
}

void TSkinComBox::DrawControl(HDC DC, const TRect& Rect) {
  if (!DC || !HasSkin()) return;
  const TSkinObjects* skin = FSkinData->Skin();
  auto* combo = dynamic_cast<TDataSkinBorder*>(skin->Element(SkinElement::ComboButton));
  if (!combo || !combo->HasBitmap()) return;
  FInfo = COMBOBOXINFO{};
  FInfo.cbSize = sizeof(FInfo);
  if (GetComboBoxInfoProc(FHandle, FInfo) && (FInfo.stateButton & STATE_SYSTEM_INVISIBLE)) return;
  FStyle2 = GetWindowLongPtrW(FHandle, GWL_STYLE);
  const int state = ButtonState();
  painted_state_ = state;
  const int w = Rect.Width(), h = Rect.Height();
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  const bool left = (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  TDataSkinObject* sunk = skin->Element(SkinElement::SunkEdge);
  const TSavedDC saved(DC);

  if (combo->Style == 2) {
    // The description's composite: edit frame and button in one picture per state.
    TDataSkinObject* source = left && sunk ? sunk : combo;
    const int frames = sunk ? sunk->Frame : combo->Frame;
    // The mirrored composite holds its frames in the other order.
    const int frame = source == sunk ? frames + 1 - state : state;
    DrawSkinBitmapRect(DC, Rect, source->Bitmap.get(), source->Margins(), source->Tile != 0, frames, frame, true);
    const int bw = combo->RightWidth;
    FButtonRect = WindowToClient(left ? TRect(0, 0, bw, h) : TRect(w - bw, 0, w, h));
  } else if (combo->Style == 1) {
    // Flat: the sunken edge covered, a flat button area, a line-coloured border.
    const HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH));
    RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    InflateRect(&r, -1, -1);
    FrameRect(DC, &r, brush);
    InflateRect(&r, -1, -1);
    RECT area = left ? RECT{r.left, r.top, r.left + a, r.bottom} : RECT{r.right - a, r.top, r.right, r.bottom};
    FillRect(DC, &area, brush);
    FrameColor(DC, RECT{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom}, LineColor());
    const int fw = FrameExtent(combo->Bitmap->Width(), combo->Frame);
    const int fh = std::min(static_cast<int>(r.bottom - r.top), combo->Bitmap->Height());
    const TRect button = left ? TRect(r.left, r.top, r.left + fw, r.top + fh) : TRect(r.right - fw, r.top, r.right, r.top + fh);
    DrawImageFrame(DC, button, combo->Frame, state, combo->Bitmap.get(), true);
    FButtonRect = WindowToClient(button);
  } else {
    // The button alone: the sunken face for the state, the button frame and the arrow over it.
    const TRect button = left ? TRect(2, 2, a + 2, h - 2) : TRect(w - a - 2, 2, w - 2, h - 2);
    IntersectClipRect(DC, button.Left, button.Top, button.Right, button.Bottom);
    if (sunk && sunk->HasBitmap())
      DrawSkinBitmapRect(DC, button, sunk->Bitmap.get(), sunk->Margins(), sunk->Tile != 0, sunk->Frame, state,
                         sunk->Transparent());
    TBitmap* face = left && !combo->Bitmap2->Empty() ? combo->Bitmap2.get() : combo->Bitmap.get();
    const int frame = left ? combo->Frame + 1 - state : state;  // the mirrored picture runs the other way
    DrawSkinBitmapRect(DC, button, face, combo->Margins(), combo->Tile != 0, combo->Frame, frame, true);
    skin->DrawDropArrow(DC, button, state);
    FButtonRect = WindowToClient(button);
  }
}

}  // namespace winskin
