#include "skin_classic/controls/ScrollPanel.h"

#include <algorithm>

#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

constexpr int kPartsFrames = 23;
constexpr int kFirstArrowH = 1, kSecondArrowH = 5, kFirstArrowV = 9, kSecondArrowV = 13;
constexpr int kGripH = 17, kGripV = 20;
constexpr int kNoRange = 9999999;
constexpr int kMinThumb = 8;

// The frame offset of a part's picture: pressed +1, hot +ArrowHot.
int PartOffset(const TScrollBarLook& Look, int Part, int Hot) {
  if (Look.HotPart != Part) return 0;
  return Look.Pressed ? 1 : Hot;
}

}  // namespace

int ScrollBarPart(int C, int Arrow, int ThumbTop, int ThumbBottom, int Length) {
  if (C < Arrow) return kPartFirstArrow;
  if (C < ThumbTop) return kPartTrackBefore;
  if (C < ThumbBottom) return kPartThumb;
  if (C < Length - Arrow) return kPartTrackAfter;
  return kPartSecondArrow;
}

TThumbExtent ControlThumbExtent(int Length, int Arrow, int Min, int Max, int Page, int Pos, bool MinimumSize) {
  int range = Max - Min;
  if (range == 0) range = kNoRange;
  const int track = Length - 2 * Arrow;
  TThumbExtent e;
  int size = 0;
  if (Page > 0) {
    size = MulDiv(track, Page - 1, range);
    if (MinimumSize && size < kMinThumb) {
      size = kMinThumb;
      e.Top = Arrow + MulDiv(track - kMinThumb, Pos - Min, range);
    } else {
      e.Top = Arrow + MulDiv(track, Pos - Min, range);
    }
  } else {
    size = Arrow;
    e.Top = Arrow + MulDiv(Length - 3 * Arrow, Pos - Min, range);
  }
  if (Pos == Min) e.Top = Arrow;
  e.Bottom = e.Top + size;
  return e;
}

bool HasScrollBarPicture(TSkinData* Skin) {
  if (!Skin || Skin->Empty()) return false;
  TDataSkinObject* parts = Skin->Skin()->Element(SkinElement::Scrollbar);
  return parts && parts->HasBitmap();
}

bool PaintSkinScrollBar(HDC DC, const TRect& Rect, TSkinData* Skin, const TScrollBarLook& Look, vcl::TColor Fill) {
  if (!DC || Rect.IsEmpty() || !HasScrollBarPicture(Skin)) return false;
  const TSkinObjects* objects = Skin->Skin();
  TDataSkinObject* parts = objects->Element(SkinElement::Scrollbar);
  const int w = Rect.Width(), h = Rect.Height();
  const int length = Look.Vertical ? h : w;
  std::unique_ptr<TBitmap> buffer = NewSkinBitmap(w, h);
  if (!buffer) return false;
  HDC dc = buffer->Canvas()->Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  const TRect whole(0, 0, w, h);
  FillRectColor(dc, whole, Fill);

  // The track over the whole bar.
  if (TDataSkinObject* track = objects->Element(Look.Vertical ? SkinElement::VertScroll : SkinElement::HorzScroll);
      track && track->HasBitmap())
    DrawSkinBitmapRect(dc, whole, track->Bitmap.get(), track->Margins(), track->Tile != 0, track->Frame,
                       Look.Disabled ? 3 : 1, track->Transparent());

  // The arrows in their squares at both ends.
  const int a = std::min(Look.Arrow, length / 2);
  const TRect first = Look.Vertical ? TRect(0, 0, w, a) : TRect(0, 0, a, h);
  const TRect second = Look.Vertical ? TRect(0, h - a, w, h) : TRect(w - a, 0, w, h);
  const int firstFrame = (Look.Vertical ? kFirstArrowV : kFirstArrowH) + PartOffset(Look, kPartFirstArrow, 3);
  const int secondFrame = (Look.Vertical ? kSecondArrowV : kSecondArrowH) + PartOffset(Look, kPartSecondArrow, 3);
  DrawSkinImagePart(dc, first, parts->Bitmap.get(), kPartsFrames, firstFrame, false, true);
  DrawSkinImagePart(dc, second, parts->Bitmap.get(), kPartsFrames, secondFrame, false, true);

  // The thumb, only on an enabled bar and only where it lies inside the track.
  if (!Look.Disabled && Look.ThumbBottom > Look.ThumbTop && Look.ThumbTop >= 0 && Look.ThumbBottom <= length) {
    const TRect thumb = Look.Vertical ? TRect(0, Look.ThumbTop, w, Look.ThumbBottom)
                                      : TRect(Look.ThumbTop, 0, Look.ThumbBottom, h);
    const int state = Look.HotPart == kPartThumb ? (Look.Pressed ? 2 : 3) : 1;
    if (TDataSkinObject* t =
            objects->Element(Look.Vertical ? SkinElement::VertScrollThumb : SkinElement::HorzScrollThumb);
        t && t->HasBitmap())
      DrawSkinBitmapRect(dc, thumb, t->Bitmap.get(), t->Margins(), t->Tile != 0, t->Frame, std::min(state, t->Frame),
                         t->Transparent());
    const int gripFrame = (Look.Vertical ? kGripV : kGripH) + (state == 1 ? 0 : state == 2 ? 1 : 2);
    const int gripLength = Look.Vertical ? parts->Bitmap->Height() : FrameExtent(parts->Bitmap->Width(), kPartsFrames);
    if (Look.ThumbBottom - Look.ThumbTop > gripLength + 2)
      DrawGlyphFrame(dc, thumb, kPartsFrames, gripFrame, parts->Bitmap.get());
  }
  StretchBlt(DC, Rect.Left, Rect.Top, w, h, dc, 0, 0, w, h, SRCCOPY);
  return true;
}

// ---------------------------------------------------------------------------------------
// TWScrollbar

VCL_CLASS_INFO(TWScrollbar) {}

TWScrollbar::TWScrollbar(vcl::TComponent* AOwner) : TCustomPanel(AOwner) {
  FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
  SetBevelOuter(vcl::bvNone);
  SetTabStop(false);
  SetVisible(false);
}

void TWScrollbar::CreateParams(vcl::TCreateParams& Params) {
  TCustomPanel::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOOLWINDOW;
  Params.Style &= ~WS_TABSTOP;
}

void TWScrollbar::Attach(TSkinControl* Skinner, HWND Handle, vcl::TWinControl* Control, int Kind) {
  FSkinner = Skinner;
  FTarget = Handle;
  FTargetControl = Control;
  FBarKind = Kind;
  FKind = Kind;
  if (Kind == kBarControl) FKind = vcl::LowerCase(GetEnumPropName(Control, L"Kind")) == L"sbhorizontal" ? 0 : 1;
  if (Skinner) SetColor(Skinner->ControlColor());
  if (HWND parent = Handle ? GetParent(Handle) : nullptr) SetParentWindow(parent);
  UpdatePosition(Handle);
}

void TWScrollbar::AttachToControl(TSkinControl* Skinner, vcl::TWinControl* Control, int Kind) {
  if (!Control) return;
  Attach(Skinner, Control->Handle(), Control, Kind);
}

void TWScrollbar::AttachToWindow(TSkinControl* Skinner, HWND Handle, int Kind) { Attach(Skinner, Handle, nullptr, Kind); }

bool TWScrollbar::ReadBar(TBarInfo& Info) const {
  if (!FTarget || !IsWindow(FTarget)) return false;
  if (FBarKind != kBarControl) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    if (!GetScrollBarInfoProc(FTarget, FBarKind == kBarVertical ? OBJID_VSCROLL : OBJID_HSCROLL, sbi)) return false;
    Info.Screen = sbi.rcScrollBar;
    Info.ThumbTop = sbi.xyThumbTop;
    Info.ThumbBottom = sbi.xyThumbBottom;
    Info.Invisible = (sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0;
    Info.Disabled = (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
    return true;
  }
  // A scroll bar control: the whole window is the bar, the thumb is worked out from its range.
  if (!GetWindowRect(FTarget, &Info.Screen)) return false;
  const int length = FKind == kBarVertical ? Info.Screen.bottom - Info.Screen.top : Info.Screen.right - Info.Screen.left;
  TThumbExtent e;
  if (FTargetControl && HasIntegerProp(FTargetControl, L"Position")) {
    e = ControlThumbExtent(length, FArrowSize, GetOrdPropByName(FTargetControl, L"Min"),
                           GetOrdPropByName(FTargetControl, L"Max"), GetOrdPropByName(FTargetControl, L"PageSize"),
                           GetOrdPropByName(FTargetControl, L"Position"), false);
  } else {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(FTarget, SB_CTL, &si)) return false;
    e = ControlThumbExtent(length, FArrowSize, si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos, true);
  }
  Info.ThumbTop = e.Top;
  Info.ThumbBottom = e.Bottom;
  Info.Disabled = !IsWindowEnabled(FTarget);
  return true;
}

void TWScrollbar::HideBar() {
  FShown = false;
  if (Visible()) SetVisible(false);
}

void TWScrollbar::UpdatePosition(HWND Target) {
  if (Target) FTarget = Target;
  TBarInfo info;
  if (!ReadBar(info)) {
    FShown = false;
    return;
  }
  if (!ShownInParent(FTarget) || info.Invisible || IsRectEmpty(&info.Screen) ||
      !HasScrollBarPicture(FSkinner ? FSkinner->SkinData() : nullptr)) {
    HideBar();
    return;
  }
  POINT corners[2] = {{info.Screen.left, info.Screen.top}, {info.Screen.right, info.Screen.bottom}};
  if (HWND parent = GetParent(FTarget)) MapWindowPoints(nullptr, parent, corners, 2);
  FBarRect = TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
  FBarOrigin = vcl::TPoint(info.Screen.left, info.Screen.top);
  FLength = FKind == kBarVertical ? FBarRect.Height() : FBarRect.Width();
  FThumbTop = info.ThumbTop;
  FThumbBottom = info.ThumbBottom;
  FShown = true;
  SetBoundsRect(FBarRect);
  if (!Visible()) SetVisible(true);
  // Just above the covered window, so the bar's own drawing stays underneath.
  HWND above = GetWindow(FTarget, GW_HWNDPREV);
  if (above == Handle()) above = GetWindow(above, GW_HWNDPREV);
  SetWindowPos(Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

int TWScrollbar::HitTest(vcl::TPoint Point) const {
  const int c = FKind == kBarVertical ? Point.Y : Point.X;
  return ScrollBarPart(c, FArrowSize, FThumbTop, FThumbBottom, FLength);
}

LPARAM TWScrollbar::TargetPoint(LPARAM PanelPoint) const {
  int x = static_cast<short>(LOWORD(PanelPoint)), y = static_cast<short>(HIWORD(PanelPoint));
  if (FBarKind != kBarControl) {
    x += FBarOrigin.X;
    y += FBarOrigin.Y;
  }
  return MAKELPARAM(x, y);
}

void TWScrollbar::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); return;
    case WM_LBUTTONUP: WMLButtonUp(Message); return;
    case WM_MOUSEMOVE: WMMouseMove(Message); return;
    case WM_MOUSELEAVE: WMMouseLeave(Message); return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case SKM_QUERYNOSKIN: Message.Result = 1; return;  // the engine's own window
    default: TCustomPanel::Dispatch(Message); return;
  }
}

void TWScrollbar::WMLButtonDown(vcl::TMessage& Message) {
  TCustomPanel::Dispatch(Message);
  POINT cursor{};
  GetCursorPos(&cursor);
  FDragStart = vcl::TPoint(cursor.x, cursor.y);
  TBarInfo info;
  if (ReadBar(info)) {
    FThumbTop = info.ThumbTop;
    FThumbBottom = info.ThumbBottom;
  }
  FThumbStart = FThumbTop;
  FPressed = true;
  const vcl::TPoint at(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  FHotPart = HitTest(at);
  Repaint();
  ReleaseCapture();
  // The system tracks the press on the covered bar until the button goes up.
  const HWND target = FTarget;
  const LPARAM point = TargetPoint(Message.LParam);
  if (FBarKind == kBarControl)
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point);
  else
    SendMessageW(target, WM_NCLBUTTONDOWN, FBarKind == kBarVertical ? HTVSCROLL : HTHSCROLL, point);
  FPressed = false;
  if (HandleAllocated()) {
    TBarInfo after;
    if (ReadBar(after)) {
      FThumbTop = after.ThumbTop;
      FThumbBottom = after.ThumbBottom;
    }
    Invalidate();
  }
}

void TWScrollbar::WMLButtonUp(vcl::TMessage& Message) {
  TCustomPanel::Dispatch(Message);
  FPressed = false;
  ReleaseCapture();
  const LPARAM point = TargetPoint(Message.LParam);
  if (FBarKind == kBarControl)
    PostMessageW(FTarget, WM_LBUTTONUP, MK_LBUTTON, point);
  else
    PostMessageW(FTarget, WM_NCLBUTTONUP, FBarKind == kBarVertical ? HTVSCROLL : HTHSCROLL, point);
}

void TWScrollbar::WMMouseMove(vcl::TMessage& Message) {
  TCustomPanel::Dispatch(Message);
  const int part =
      HitTest(vcl::TPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))));
  if (part != FHotPart) {
    FHotPart = part;
    Invalidate();
  }
  if (HandleAllocated()) TrackMouseLeave(Handle());
}

void TWScrollbar::WMMouseLeave(vcl::TMessage& Message) {
  TCustomPanel::Dispatch(Message);
  if (FPressed) return;
  FHotPart = kPartNone;
  Invalidate();
}

void TWScrollbar::Paint() {
  const vcl::TMemoryContextScope contexts;  // the pictures' DCs go when the paint is done
  if (!FSkinner) return;
  TBarInfo info;
  if (!ReadBar(info) || info.Invisible) return;
  FThumbTop = info.ThumbTop;
  FThumbBottom = info.ThumbBottom;
  const int w = ClientWidth(), h = ClientHeight();
  FLength = FKind == kBarVertical ? h : w;
  TScrollBarLook look;
  look.Vertical = FKind == kBarVertical;
  look.Arrow = FArrowSize;
  look.ThumbTop = FThumbTop;
  look.ThumbBottom = FThumbBottom;
  look.Disabled = info.Disabled;
  look.HotPart = FHotPart;
  look.Pressed = FPressed;
  // While the system drags the thumb of a frame bar, the thumb follows the cursor.
  if (FPressed && FHotPart == kPartThumb && FBarKind != kBarControl) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const int moved = look.Vertical ? cursor.y - FDragStart.Y : cursor.x - FDragStart.X;
    const int size = FThumbBottom - FThumbTop;
    look.ThumbTop = std::clamp(FThumbStart + moved, FArrowSize, std::max(FArrowSize, FLength - FArrowSize - size));
    look.ThumbBottom = look.ThumbTop + size;
  }
  PaintSkinScrollBar(Canvas()->Handle(), TRect(0, 0, w, h), FSkinner->SkinData(), look, FSkinner->ControlColor());
}

}  // namespace winskin
