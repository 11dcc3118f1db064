#include "skin_layered/adapters/ScrollBarCtlWnd.h"

#include <algorithm>
#include <cmath>

#include "classlib/forms/Forms.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinOptions.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSBWnd) {}

namespace {

constexpr int kMinThumb = 16;
// Arrow directions as DrawArrow and the scroll-button table take them.
constexpr int kLeft = 0, kUp = 1, kRight = 2, kDown = 3;

int RoundEven(double Value) { return static_cast<int>(std::nearbyint(Value)); }
int PageShare(int Page) { return std::max(Page - 1, 0); }

}  // namespace

int SBThumbLength(int TrackLength, int Min, int Max, int Page) {
  if (Page <= 0) return kMinThumb;
  const int divisor = Max - PageShare(Page) + Page - Min;
  const int share = divisor != 0 ? RoundEven(static_cast<double>(TrackLength) * Page / divisor) : 0;
  return std::max(kMinThumb, share);
}

TqvSBLayout SBLayout(int Length, int Button, int Min, int Max, int Page, int TrackPos) {
  TqvSBLayout out;
  out.Button = std::clamp(Button, 0, std::max(0, Length / 2));
  const int track = Length - 2 * out.Button;
  out.ThumbLength = SBThumbLength(track, Min, Max, Page);
  const int range = Max - Min - PageShare(Page);
  if (range > 0) {
    const double step = static_cast<double>(track - out.ThumbLength) / range;
    out.ThumbCentre = out.Button + out.ThumbLength / 2 + RoundEven(step * (TrackPos - Min));
  } else {
    out.ThumbCentre = Length / 2;
  }
  out.ThumbStart = RoundEven(out.ThumbCentre - out.ThumbLength / 2.0);
  if (range > 0 && TrackPos <= Min) out.ThumbStart = out.Button;
  if (range > 0 && TrackPos >= Min + range) out.ThumbStart = Length - out.Button - out.ThumbLength;
  return out;
}

int SBPositionAt(int Along, const TqvSBLayout& Layout, int Length, int Min, int Max, int Page, int Fallback) {
  const int room = Length - 2 * Layout.Button - Layout.ThumbLength;
  if (room < 0) return Fallback;
  const int range = Max - Min - PageShare(Page);
  if (room == 0 || range <= 0) return Min;
  const double offset = Along - Layout.Button - Layout.ThumbLength / 2.0;
  return std::clamp(Min + RoundEven(offset * range / room), Min, Min + range);
}

// ---------------------------------------------------------------------------------------

void TqvSBWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"CHECKBOX");
  ScrollBar = dynamic_cast<vcl::TScrollBar*>(OwnerControl());
  if (ScrollBar) {
    ScrollBar->SetTabStop(false);
    Min = ScrollBar->Min();
    Max = ScrollBar->Max();
    Position = TrackPos = ScrollBar->Position();
    Page = ScrollBar->PageSize();
  } else {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(CtrlHandle, SB_CTL, &info);
    Min = info.nMin;
    Max = info.nMax;
    Page = static_cast<int>(info.nPage);
    Position = TrackPos = info.nPos;
  }
  IgnoreRedraw = false;
  TqvMainWnd::SetSkinParams();
}

bool TqvSBWnd::Vertical() const {
  if (ScrollBar) return ScrollBar->Kind() == vcl::sbVertical;
  return (GetWindowLongW(CtrlHandle, GWL_STYLE) & SBS_VERT) != 0;
}

int TqvSBWnd::Length() const {
  RECT r{};
  GetClientRect(CtrlHandle, &r);
  return Vertical() ? r.bottom : r.right;
}

int TqvSBWnd::ButtonSize() const {
  const int width = GetScrollWidth(Manager());
  return width >= 0 ? width : GetSystemMetrics(SM_CXVSCROLL);
}

TqvSBLayout TqvSBWnd::Layout() const { return SBLayout(Length(), ButtonSize(), Min, Max, Page, TrackPos); }

vcl::TRect TqvSBWnd::PartRect(int Part) const {
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  const int length = Vertical() ? client.bottom : client.right;
  const TqvSBLayout l = Layout();
  int from = 0, to = 0;
  switch (Part) {
    case kSBFirstButton: from = 0; to = l.Button; break;
    case kSBSecondButton: from = length - l.Button; to = length; break;
    case kSBTrackBefore: from = 0; to = l.ThumbCentre; break;
    case kSBTrackAfter: from = l.ThumbCentre; to = length; break;
    default: from = l.ThumbStart; to = l.ThumbStart + l.ThumbLength; break;
  }
  return Vertical() ? vcl::TRect{0, from, client.right, to} : vcl::TRect{from, 0, to, client.bottom};
}

int TqvSBWnd::PartAt(POINT P) const {
  for (int part : {kSBFirstButton, kSBSecondButton, kSBThumb, kSBTrackBefore, kSBTrackAfter}) {
    const vcl::TRect r = PartRect(part);
    if (P.x >= r.Left && P.x < r.Right && P.y >= r.Top && P.y < r.Bottom) return part;
  }
  return -1;
}

int TqvSBWnd::PositionAt(POINT P) const {
  return SBPositionAt(Vertical() ? P.y : P.x, Layout(), Length(), Min, Max, Page, Position);
}

void TqvSBWnd::SetPartState(int Part, int State, bool Exclusive) {
  if (Part < 0 || Part >= kSBPartCount) return;
  states_[Part] = State;
  if (!Exclusive || State == 0) return;
  if (Part == kSBFirstButton || Part == kSBSecondButton || Part == kSBThumb) {
    for (int other : {kSBFirstButton, kSBSecondButton, kSBThumb})
      if (other != Part) states_[other] = 0;
    states_[kSBTrackBefore] = states_[kSBTrackAfter] = 1;
  } else {
    states_[kSBFirstButton] = states_[kSBSecondButton] = states_[kSBThumb] = 0;
    states_[Part == kSBTrackBefore ? kSBTrackAfter : kSBTrackBefore] = 1;
  }
}

void TqvSBWnd::Repaint() { InvalidateRect(CtrlHandle, nullptr, FALSE); }

void TqvSBWnd::MouseDown(POINT P) {
  DragOffset = 0;
  const bool active = SkinData && SkinData->ControlIsActive();
  switch (PartAt(P)) {
    case kSBFirstButton:
      if (states_[kSBFirstButton] != 2) {
        PressedPart = 0;
        SetPartState(kSBFirstButton, 2, true);
      }
      break;
    case kSBSecondButton:
      PressedPart = 1;
      SetPartState(kSBSecondButton, 2, true);
      break;
    case kSBThumb:
      PressedPart = kSBThumbDragged;
      if (states_[kSBThumb] != 2) {
        DragOffset = PositionAt(P) - Position;
        SetPartState(kSBThumb, 2, true);
      }
      break;
    case kSBTrackBefore:
      PressedPart = 2;
      SetPartState(kSBTrackBefore, 2, false);
      if (active) SetPartState(kSBTrackAfter, 1, false);
      break;
    case kSBTrackAfter:
      PressedPart = 3;
      SetPartState(kSBTrackAfter, 2, false);
      if (active) SetPartState(kSBTrackBefore, 1, false);
      break;
    default:
      break;
  }
  Repaint();
}

void TqvSBWnd::MouseUp(POINT P) {
  const int part = PartAt(P);
  const int track = SkinData && SkinData->ControlIsActive() ? 1 : 0;
  if (part == kSBThumb || states_[kSBThumb] == 2) {
    PressedPart = kSBThumbReleased;
    states_[kSBTrackBefore] = states_[kSBTrackAfter] = track;
    if (states_[kSBThumb] == 2) states_[kSBThumb] = part == kSBThumb ? 1 : 0;
  } else {
    for (int button : {kSBFirstButton, kSBSecondButton})
      if (states_[button] == 2) states_[button] = part == button ? 1 : 0;
    for (int half : {kSBTrackBefore, kSBTrackAfter})
      if (states_[half] == 2) states_[half] = part == half ? 1 : track;
  }
  PressedPart = kSBReleased;
  Repaint();
}

int TqvSBWnd::DraggedPosition(POINT P) const {
  return std::clamp(PositionAt(P) - DragOffset, Min, std::max(Min, Max - PageShare(Page)));
}

void TqvSBWnd::MouseAt(POINT P) {
  if (states_[kSBThumb] == 2) {
    const int position = DraggedPosition(P);
    if (ScrollBar && position != ScrollBar->Position()) {
      TrackPos = position;
      try {
        ScrollBar->SetPosition(position);
      } catch (...) {
        // A position the control refuses leaves the thumb where the control stands.
      }
    }
    states_[kSBThumb] = 2;
  } else {
    const int part = PartAt(P);
    if ((part == kSBFirstButton || part == kSBSecondButton) && states_[part] != 2) SetPartState(part, 1, true);
    else if (part == kSBThumb) SetPartState(kSBThumb, 1, true);
    else if (part == kSBTrackBefore || part == kSBTrackAfter) {
      for (int p : {kSBFirstButton, kSBSecondButton, kSBThumb})
        if (states_[p] != 2) states_[p] = 0;
    }
  }
  Repaint();
}

void TqvSBWnd::CallQuietly(vcl::TMessage& Message) {
  IgnoreRedraw = true;
  CallPrevWndProc(WM_SETREDRAW, 0, 0);
  CallPrevWndProc(Message);
  CallPrevWndProc(WM_SETREDRAW, 1, 0);
  IgnoreRedraw = false;
}

bool TqvSBWnd::ShownControl() const {
  // A redraw lock hides the window itself: the control's own Visible says whether it shows.
  if (vcl::TControl* control = OwnerControl()) return control->Visible();
  return IsWindowVisible(CtrlHandle) != FALSE;
}

void TqvSBWnd::ForceRedraw() {
  const int locks = RedrawLocks;
  IgnoreRedraw = true;
  if (locks > 0) CallPrevWndProc(WM_SETREDRAW, 1, 0);
  InvalidateRect(CtrlHandle, nullptr, TRUE);
  RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
  if (locks > 0) CallPrevWndProc(WM_SETREDRAW, 0, 0);
  IgnoreRedraw = false;
  RedrawLocks = locks;
}

void TqvSBWnd::PushRange(int NewMin, int NewMax, int NewPage) {
  if (!ScrollBar || NewMax < NewMin) return;
  // Page and range go in in an order in which each step is valid on its own: the control
  // never sees a minimum above its maximum or a page beyond it.
  const int page = std::clamp(NewPage, 0, NewMax);
  try {
    if (page > ScrollBar->Max()) {
      ScrollBar->SetParams(ScrollBar->Position(), NewMin, NewMax);
      ScrollBar->SetPageSize(page);
    } else {
      if (page != ScrollBar->PageSize()) ScrollBar->SetPageSize(page);
      ScrollBar->SetParams(ScrollBar->Position(), NewMin, NewMax);
    }
  } catch (const vcl::Exception&) {
    // Never out of a window procedure: the control keeps what it had.
  }
}

bool TqvSBWnd::OnSetScrollInfo(vcl::TMessage& Message) {
  const auto* info = reinterpret_cast<const SCROLLINFO*>(Message.LParam);
  if (info) {
    if (info->fMask & SIF_PAGE) Page = static_cast<int>(std::min<UINT>(info->nPage, INT_MAX));
    if (info->fMask & SIF_POS) Position = info->nPos;
    if ((info->fMask & SIF_RANGE) && (info->nMin != Min || info->nMax != Max)) {
      if (info->nMax < info->nMin) {
        Min = Max = 0;
      } else {
        Min = info->nMin;
        Max = info->nMax;
      }
      if (info->fMask & SIF_POS) PushRange(Min, Max, Page);
    }
  }
  Page = std::max(0, std::min(Page, Max - Min + 1));
  Position = std::clamp(Position, Min, std::max(Min, Max - PageShare(Page)));
  if (PressedPart != kSBThumbDragged) {
    TrackPos = Position;
  } else if (GetKeyState(VK_LBUTTON) < 0) {
    // The system's tracking loop of the control holds the mouse and answers no hit tests: the
    // positions it sets while the thumb is dragged bring the thumb under the mouse.
    TrackPos = DraggedPosition(MessagePointInClient());
  }
  if (ShownControl()) {
    CallQuietly(Message);
    ForceRedraw();
  } else {
    CallPrevWndProc(Message);
  }
  return true;
}

void TqvSBWnd::Paint(HDC GivenDC) {
  PAINTSTRUCT ps{};
  BeginPaint(CtrlHandle, &ps);
  vcl::TControl* control = OwnerControl();
  const bool ready = control ? ControlReady(control) : IsWindow(CtrlHandle) != FALSE;
  TsSkinManager* manager = Manager();
  if (ready && manager && SkinData && !SkinData->BgIsChanged()) {
    const bool own_dc = GivenDC == nullptr;
    const HDC dc = own_dc ? GetDC(CtrlHandle) : GivenDC;
    vcl::TBitmap* cache = AdapterCache(this);
    TqvCacheInfo ci;
    if (dc && cache && cache->Width() > 0 && cache->Height() > 0 && AdapterParentBg(this, ci)) {
      const bool enabled = IsWindowEnabled(CtrlHandle) != FALSE;
      const bool vertical = Vertical();
      const TsLoadedSkin& skin = manager->Skin();
      const TConstantSkinData& indexes = skin.ConstData;
      const int active = enabled && SkinData->ControlIsActive() ? 1 : 0;
      auto track = [&](const TqvConstElementData& element, int Part) {
        const vcl::TRect r = PartRect(Part);
        if (r.IsEmpty()) return;
        const int state = enabled ? std::max(states_[Part], active) : 0;
        if (!skin.IsValidSkinIndex(element.SkinIndex)) {
          DrawSystemScrollTrack(cache, r, state == 2);
          return;
        }
        PaintItemImage(element.SkinIndex, element.MaskIndex, element.BGIndex[0], &skin, cache,
                       vcl::TPoint{WndPos.X + r.Left, WndPos.Y + r.Top}, r, state, ci);
      };
      track(indexes.ScrollBars[vertical ? 1 : 0], kSBTrackBefore);
      track(indexes.ScrollBars[vertical ? 3 : 2], kSBTrackAfter);
      std::unique_ptr<vcl::TBitmap> copy;
      vcl::TBitmap* work = cache;
      if (!enabled) {
        copy = CreateBmpLike(cache);
        BitBlt(copy->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0,
               SRCCOPY);
        work = copy.get();
      }
      auto element = [&](const TqvConstElementData& data, int State, const vcl::TRect& r, int Direction) {
        if (r.IsEmpty()) return;
        if (!skin.IsValidSkinIndex(data.SkinIndex)) {
          // The system's arrow or thumb where the skin has no section for it.
          if (Direction >= 0)
            DrawSystemScrollArrow(work, r, Direction, State, enabled);
          else
            DrawSystemScrollThumb(work, r);
          return;
        }
        PaintItemBg(data.SkinIndex, ci, State, r, vcl::TPoint{WndPos.X + r.Left, WndPos.Y + r.Top}, work, &skin);
        if (skin.IsValidImgIndex(data.GlyphIndex)) {
          const TsMaskData& mask = skin.Images[static_cast<std::size_t>(data.GlyphIndex)];
          TqvCacheInfo self;
          MakeCacheInfo(work, 0, 0, self);
          DrawSkinGlyph(work,
                        vcl::TPoint{r.Left + (r.Width() - MaskImageWidth(mask)) / 2,
                                    r.Top + (r.Height() - MaskImageHeight(mask)) / 2},
                        State, 1, mask, self);
        } else if (Direction >= 0) {
          vcl::TColor color = 0;
          if (skin.IsValidSkinIndex(data.SkinIndex))
            color = skin.Sections[static_cast<std::size_t>(data.SkinIndex)].Props[std::min(State, 1)].FontColor;
          vcl::TRect a = r;
          if (State == 2 && manager->ButtonsOptions()->ShiftContentOnClick()) a.Offset(1, 1);
          DrawArrow(work->Canvas(), color, a, Direction);
        }
      };
      element(indexes.ScrollBtns[vertical ? kUp : kLeft], states_[kSBFirstButton], PartRect(kSBFirstButton),
              vertical ? kUp : kLeft);
      element(indexes.ScrollBtns[vertical ? kDown : kRight], states_[kSBSecondButton], PartRect(kSBSecondButton),
              vertical ? kDown : kRight);
      const TqvSBLayout l = Layout();
      if (enabled) {
        if (l.ThumbLength <= Length() - 2 * l.Button)
          element(indexes.ScrollSliders[vertical ? 1 : 0], states_[kSBThumb], PartRect(kSBThumb), -1);
      } else {
        PaintDisabled(work, kDisabledBlend, control, ci, WndPos);
      }
      BitBlt(dc, 0, 0, work->Width(), work->Height(), work->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    if (own_dc && dc) ReleaseDC(CtrlHandle, dc);
  }
  EndPaint(CtrlHandle, &ps);
}

bool TqvSBWnd::OnSkinCommand(vcl::TMessage& Message) {
  vcl::TControl* control = OwnerControl();
  if (control && control->ComponentState().Contains(vcl::csDestroying)) return false;
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
    case scmRemoveSkin:
      if (FromOwnManager(Message)) CommonWndProc(Message, SkinData);
      return false;
    case scmRefresh:
      if (FromOwnManager(Message)) {
        CommonWndProc(Message, SkinData);
        SkinData->BGChanged = true;
      }
      return false;
    case scmRepaint:
      if (SkinData->Updating) {
        if (!SkinData->CheckBgChanged(true))
          RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      }
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmReload:
      InvalidateRect(CtrlHandle, nullptr, TRUE);
      return false;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    default:
      return false;
  }
}

void TqvSBWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && SkinData && !Destroyed() && OnSkinCommand(Message)) return;
  if (!SkinData || Destroyed() || !SkinData->Skinned()) return TqvMainWnd::WndProc(Message);
  if (SkinnedMessage(Message)) return;
  CommonMessage(Message, SkinData);
  TqvMainWnd::WndProc(Message);
}

bool TqvSBWnd::SkinnedMessage(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETREDRAW: return OnSetRedraw(Message);
    case WM_PAINT: return OnPaint(Message);
    case WM_NCPAINT: return Answer(Message, 0);
    case WM_NCHITTEST: return OnNcHitTest(Message);
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN: return OnButtonDown(Message);
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_CAPTURECHANGED: return OnButtonUp(Message);
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK: return OnDoubleClick(Message);
    case vcl::CM_MOUSEENTER: return OnMouseEnter();
    case vcl::CM_MOUSELEAVE: return OnMouseLeave();
    case SBM_SETSCROLLINFO: return OnSetScrollInfo(Message);
    case vcl::CM_CHANGED: return ShownControl() && OnChanged(Message);
    case WM_PRINT: return OnPrint(Message);
    case vcl::CM_ENABLEDCHANGED: return OnEnabledChanged(Message);
    case vcl::CN_CTLCOLORSCROLLBAR: return OnSystemDrawing();
    default: return false;
  }
}

POINT TqvSBWnd::CursorInClient() const {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(CtrlHandle, &p);
  return p;
}

POINT TqvSBWnd::MessagePointInClient() const {
  const DWORD at = GetMessagePos();
  POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ScreenToClient(CtrlHandle, &p);
  return p;
}

bool TqvSBWnd::OnSetRedraw(const vcl::TMessage& Message) {
  if (!IgnoreRedraw) RedrawLocks += Message.WParam ? -1 : 1;
  return false;
}

bool TqvSBWnd::OnPaint(vcl::TMessage& Message) {
  Paint(reinterpret_cast<HDC>(Message.WParam));
  return Answer(Message, 0);
}

bool TqvSBWnd::OnNcHitTest(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  if (IsWindowEnabled(CtrlHandle)) {
    POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    ScreenToClient(CtrlHandle, &p);
    MouseAt(p);
  }
  return true;
}

bool TqvSBWnd::OnButtonDown(vcl::TMessage& Message) {
  MouseDown(MessagePointInClient());
  CallQuietly(Message);
  return true;
}

bool TqvSBWnd::OnButtonUp(vcl::TMessage& Message) {
  const POINT p = CursorInClient();
  TqvMainWnd::WndProc(Message);
  MouseUp(p);
  return true;
}

bool TqvSBWnd::OnDoubleClick(vcl::TMessage& Message) {
  CallQuietly(Message);
  const POINT p = CursorInClient();
  MouseDown(p);
  MouseUp(p);
  return true;
}

bool TqvSBWnd::OnMouseEnter() {
  states_[kSBTrackBefore] = states_[kSBTrackAfter] = 1;
  Repaint();
  return false;
}

bool TqvSBWnd::OnMouseLeave() {
  states_[kSBFirstButton] = states_[kSBSecondButton] = 0;
  if (states_[kSBThumb] != 2) states_[kSBThumb] = states_[kSBTrackBefore] = states_[kSBTrackAfter] = 0;
  Repaint();
  return false;
}

bool TqvSBWnd::OnSystemDrawing() {
  // The system asks for the track's brush only when it draws the bar itself, outside
  // WM_PAINT: its tracking loop does so when the dragged thumb's mouse leaves the bar, and
  // once more when the button is let go. The skinned bar is painted over it afterwards.
  Repaint();
  return false;
}

bool TqvSBWnd::OnChanged(vcl::TMessage& Message) {
  CallQuietly(Message);
  ForceRedraw();
  return true;
}

bool TqvSBWnd::OnPrint(const vcl::TMessage& Message) {
  TqvDefaultManager* manager = DefaultManager();
  if (!manager || !manager->Active()) return false;
  SendMessageW(CtrlHandle, WM_PAINT, Message.WParam, Message.LParam);
  SendMessageW(CtrlHandle, WM_NCPAINT, Message.WParam, Message.LParam);
  return true;
}

bool TqvSBWnd::OnEnabledChanged(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  SkinData->Invalidate();
  return true;
}

}  // namespace skin_layered
