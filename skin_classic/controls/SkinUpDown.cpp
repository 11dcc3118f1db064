#include "skin_classic/controls/SkinUpDown.h"

#include <algorithm>
#include <commctrl.h>

#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

constexpr int kFramesPerArrow = 4;
constexpr int kStateNormal = 1, kStatePressed = 2, kStateDisabled = 3, kStateHot = 4;

}  // namespace

VCL_CLASS_INFO(TSkinUpDown) {}

TSkinUpDown* AttachUpDown(vcl::TComponent* Owner, HWND UpDown, TSkinData* SkinData, TSkinControlHost* Form,
                          vcl::TCanvas* Canvas, bool Horizontal) {
  if (!UpDown || !IsWindow(UpDown)) return nullptr;
  if (Form)
    if (auto* known = dynamic_cast<TSkinUpDown*>(Form->FindSkinner(UpDown))) return known;
  auto* skinner = new TSkinUpDown(Owner);
  skinner->FHorizontal = Horizontal;
  skinner->AttachWindow(UpDown, SkinData, Form, Canvas);
  return skinner;
}

bool TSkinUpDown::Horizontal() const {
  return FHorizontal || (FHandle && (GetWindowLongPtrW(FHandle, GWL_STYLE) & UDS_HORZ));
}

bool TSkinUpDown::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintHandler(Message); return false;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); return false;
    case WM_LBUTTONUP: WMLButtonUp(Message); return false;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinUpDown::WMEraseBkgnd(vcl::TMessage& Message) {
  if (!FControl && Message.WParam) {
    RECT r{};
    GetClientRect(FHandle, &r);
    FillRectColor(reinterpret_cast<HDC>(Message.WParam), TRect(r.left, r.top, r.right, r.bottom), vcl::clWhite);
  }
  Message.Result = 1;
}

// The control clicks and repeats by itself; the skin shows the press.
void TSkinUpDown::WMLButtonDown(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallDefault(Message);
  if (!alive) return;
  SetMouseBit(kMousePressed, true);
  PaintWindow(nullptr);
}

void TSkinUpDown::WMLButtonUp(vcl::TMessage& Message) {
  SetMouseBit(kMousePressed, false);
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallDefault(Message);
  if (alive) PaintWindow(nullptr);
}

void TSkinUpDown::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      // The half under the mouse follows it.
      SetMouseBit(kMouseHot, true);
      PaintWindow(nullptr);
      TrackMouseLeave(FHandle);
      break;
    case WM_MOUSELEAVE:
      SetMouseBit(kMouseHot | kMousePressed, false);
      PaintWindow(nullptr);
      break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

void TSkinUpDown::DrawControl(HDC DC, const TRect& Rect) {
  if (!DC || Rect.IsEmpty()) return;
  TRect r = Rect;
  if (FInEdit) {
    // Inside an edit's border: white round it, and 3 pixels clear of the edit's edges.
    RECT client{};
    GetClientRect(FHandle, &client);
    FillRectColor(DC, TRect(client.left, client.top, client.right, client.bottom), vcl::clWhite);
    RECT self{}, parent{};
    GetWindowRect(FHandle, &self);
    if (HWND p = GetParent(FHandle); p && GetWindowRect(p, &parent)) {
      r.Top += std::max<int>(0, parent.top + 3 - self.top);
      r.Right -= std::max<int>(0, self.right - (parent.right - 3));
      r.Bottom -= std::max<int>(0, self.bottom - (parent.bottom - 3));
    }
    if (r.IsEmpty()) return;
  }
  std::unique_ptr<TBitmap> buffer = NewSkinBitmap(r.Width(), r.Height());
  if (!buffer) return;
  HDC dc = buffer->Canvas()->Handle();
  const int w = r.Width(), h = r.Height();
  FillRectColor(dc, TRect(0, 0, w, h), FaceColor());

  const bool horizontal = Horizontal();
  const TRect halves[2] = {horizontal ? TRect(0, 0, w / 2, h) : TRect(0, 0, w, h / 2),
                           horizontal ? TRect(w / 2, 0, w, h) : TRect(0, h / 2, w, h)};
  const int arrows[2] = {horizontal ? kArrowLeft : kArrowUp, horizontal ? kArrowRight : kArrowDown};
  // The half under the cursor shows the press or the mouse over it.
  int under = -1;
  if (Hot() || Pressed()) {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT window{};
    GetWindowRect(FHandle, &window);
    const vcl::TPoint at(cursor.x - window.left - r.Left, cursor.y - window.top - r.Top);
    for (int i = 0; i < 2; ++i)
      if (halves[i].Contains(at)) under = i;
  }
  const bool enabled = FHandle && IsWindowEnabled(FHandle);
  TDataSkinObject* spin =
      HasSkin() ? FSkinData->Skin()->Element(horizontal ? SkinElement::UpDownHorz : SkinElement::UpDownVert) : nullptr;
  if (spin && !spin->HasBitmap()) spin = nullptr;
  auto* glyphs = dynamic_cast<TDataSkinBorder*>(spin);
  for (int i = 0; i < 2; ++i) {
    int state = kStateNormal;
    if (i == under) state = Pressed() ? kStatePressed : kStateHot;
    if (!enabled) state = kStateDisabled;
    half_state_[i] = state;
    if (spin) {
      DrawSkinBitmapRect(dc, halves[i], spin->Bitmap.get(), spin->Margins(), spin->Tile != 0, spin->Frame,
                         i * kFramesPerArrow + state, spin->Transparent());
      if (glyphs && !glyphs->Bitmap2->Empty()) DrawGlyphFrame(dc, halves[i], 2, i + 1, glyphs->Bitmap2.get());
    } else {
      const bool down = state == kStatePressed || state == kStateHot;
      FillRectColor(dc, halves[i], down ? LineColor() : FaceColor());
      const vcl::UniqueBrush frame(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(DarkLineColor()))));
      const RECT box{halves[i].Left, halves[i].Top, halves[i].Right, halves[i].Bottom};
      FrameRect(dc, &box, frame.get());
      DrawArrow(dc, halves[i], arrows[i], state == kStateDisabled ? LineColor() : TextColor());
    }
  }
  BitBlt(DC, r.Left, r.Top, w, h, dc, 0, 0, SRCCOPY);
}

}  // namespace winskin
