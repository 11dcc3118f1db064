#include "skin_layered/adapters/SpinWnd.h"

#include <commctrl.h>

#include <algorithm>

#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinOptions.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSpinWnd) {}

namespace {

constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME;  // 0x501
// The scroll buttons' entries (and DrawArrow's directions) by the arrow's direction.
constexpr int kLeftArrow = 0, kUpArrow = 1, kRightArrow = 2, kDownArrow = 3;

bool CursorIn(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  const POINT p = AdapterCursorPos();
  return PtInRect(&r, p) != FALSE;
}

}  // namespace

void TqvSpinWnd::SetSkinParams() {
  LeftOffset = 0;
  Pressed = false;
  FirstState = SecondState = 0;
  TqvMainWnd::SetSkinParams();
}

bool TqvSpinWnd::Horizontal() const { return (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & UDS_HORZ) != 0; }

bool TqvSpinWnd::Painting() const {
  // Skinned by the manager's skin even when the skin lacks the spin's own section.
  const TsSkinManager* manager = Manager();
  return SkinData && manager && manager->Active() && manager->Skin().SkinData.Active && !Destroyed();
}

int TqvSpinWnd::SectionIndex() const {
  const TsSkinManager* manager = Manager();
  if (manager->IsValidSkinIndex(SkinData->SkinIndex)) return SkinData->SkinIndex;
  return manager->GetSkinIndex(L"BUTTON");
}

void TqvSpinWnd::ReadStates() {
  FirstState = SecondState = 0;
  // A disabled up-down has neither a hot nor a pressed half.
  if (!IsWindowEnabled(CtrlHandle) || !CursorIn(CtrlHandle)) return;
  RECT r{};
  GetWindowRect(CtrlHandle, &r);
  const POINT p = AdapterCursorPos();
  const bool first = Horizontal() ? p.x < r.left + (r.right - r.left) / 2 : p.y < r.top + (r.bottom - r.top) / 2;
  (first ? FirstState : SecondState) = Pressed ? 2 : 1;
}

void TqvSpinWnd::PaintHalf(vcl::TBitmap* Cache, const TqvCacheInfo& CI, const vcl::TRect& R, int State, int Direction,
                           int Section) {
  TsSkinManager* manager = Manager();
  const TsLoadedSkin& skin = manager->Skin();
  if (R.IsEmpty()) return;
  PaintItemBg(Section, CI, State, R, vcl::TPoint{WndPos.X + R.Left, WndPos.Y + R.Top}, Cache, &skin);
  vcl::TRect r = R;
  if (State == 2 && manager->ButtonsOptions()->ShiftContentOnClick()) r.Offset(1, 1);
  const TqvConstElementData& button = skin.ConstData.ScrollBtns[static_cast<std::size_t>(Direction)];
  if (skin.IsValidImgIndex(button.GlyphIndex)) {
    const TsMaskData& glyph = skin.Images[static_cast<std::size_t>(button.GlyphIndex)];
    const int glyph_state = std::min(State >= 1 ? 1 : 0, std::max(static_cast<int>(glyph.ImageCount) - 1, 0));
    TqvCacheInfo self;
    MakeCacheInfo(Cache, 0, 0, self);
    DrawSkinGlyph(Cache,
                  vcl::TPoint{r.Left + (r.Width() - MaskImageWidth(glyph)) / 2,
                              r.Top + (r.Height() - MaskImageHeight(glyph)) / 2},
                  glyph_state, 1, glyph, self);
    return;
  }
  vcl::TColor color = 0;
  if (skin.IsValidSkinIndex(Section))
    color = skin.Sections[static_cast<std::size_t>(Section)].Props[static_cast<std::size_t>(std::min(State, 1))].FontColor;
  DrawArrow(Cache->Canvas(), color, r, Direction);
}

bool TqvSpinWnd::StripUnderBuddy(int Strip) const {
  const auto buddy = reinterpret_cast<HWND>(SendMessageW(CtrlHandle, UDM_GETBUDDY, 0, 0));
  if (!buddy || !IsWindowVisible(buddy)) return false;
  RECT b{}, r{}, common{};
  GetWindowRect(buddy, &b);
  GetWindowRect(CtrlHandle, &r);
  r.right = r.left + Strip;
  return IntersectRect(&common, &b, &r) != FALSE;
}

void TqvSpinWnd::PaintSpin(HDC DC) {
  ReadStates();
  if (SkinData->CheckBgChanged(false)) return;
  vcl::TBitmap* cache = AdapterCache(this);
  TqvCacheInfo ci;
  if (!cache || cache->Empty() || !AdapterParentBg(this, ci)) return;
  const int w = cache->Width(), h = cache->Height();
  const int section = SectionIndex();
  const bool horizontal = Horizontal();
  // The strip at the left of a vertical control lies over the edge of the edit it is attached
  // to, which paints it; beside no edit it shows what lies behind, the buttons right of it.
  const int strip = horizontal ? 0 : std::clamp(LeftOffset, 0, w);
  const bool leftToBuddy = strip > 0 && StripUnderBuddy(strip);
  const int left = leftToBuddy ? 0 : strip;
  if (horizontal) {
    PaintHalf(cache, ci, vcl::TRect{0, 0, w / 2, h}, FirstState, kLeftArrow, section);
    PaintHalf(cache, ci, vcl::TRect{w / 2, 0, w, h}, SecondState, kRightArrow, section);
  } else {
    if (left > 0) PaintBehind(cache, vcl::TRect{0, 0, left, h}, vcl::TPoint{WndPos.X, WndPos.Y}, ci);
    PaintHalf(cache, ci, vcl::TRect{left, 0, w, h / 2}, FirstState, kUpArrow, section);
    PaintHalf(cache, ci, vcl::TRect{left, h / 2, w, h}, SecondState, kDownArrow, section);
  }
  // Disabled, as the system shows it: faded toward what lies behind.
  if (!IsWindowEnabled(CtrlHandle))
    PaintDisabled(cache, kDisabledBlend, OwnerControl(), ci, vcl::TPoint{WndPos.X, WndPos.Y});
  SkinData->BGChanged = false;
  const bool own = DC == nullptr;
  const HDC dc = own ? GetDC(CtrlHandle) : DC;
  if (!dc) return;
  const int from = leftToBuddy ? strip : 0;
  BitBlt(dc, from, 0, w - from, h, cache->Canvas()->Handle(), from, 0, SRCCOPY);
  if (own) ReleaseDC(CtrlHandle, dc);
}

void TqvSpinWnd::OnMouseMove(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  TsSkinManager* manager = DefaultSkinManager();
  if (!manager || manager->Designing() || !IsWindowEnabled(CtrlHandle) || !alive) return;
  if (CursorIn(CtrlHandle)) {
    if (manager->HotWnd() != CtrlHandle)
      manager->SetHotWnd(CtrlHandle);
    else
      RedrawWindow(CtrlHandle, nullptr, nullptr, kRepaintNow);
  } else if (manager->HotWnd() == CtrlHandle) {
    manager->SetHotWnd(nullptr);
  }
}

void TqvSpinWnd::WndProc(vcl::TMessage& Message) {
  if (!Painting()) return UnpaintedMessage(Message);
  switch (Message.Msg) {
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND:
    case WM_NCPAINT: Message.Result = 1; return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return OnButton(Message);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(Message);
    case WM_MOUSELEAVE: return OnMouseLeave(Message);
    case WM_MOUSEMOVE: return OnMouseMove(Message);
    case kSkinCmdMessage: return OnSkinCommand(Message);
    default: return TqvMainWnd::WndProc(Message);
  }
}

// Without the skin the control paints itself again at once.
void TqvSpinWnd::UnpaintedMessage(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (Message.Msg == kSkinCmdMessage && SkinCommandOf(Message.WParam) == scmRemoveSkin && FromOwnManager(Message) &&
      alive)
    InvalidateRect(CtrlHandle, nullptr, TRUE);
}

void TqvSpinWnd::OnPaint(vcl::TMessage& Message) {
  TqvPaintDC paint(CtrlHandle, Message);
  PaintSpin(paint.DC());
  Message.Result = 0;
}

void TqvSpinWnd::OnButton(vcl::TMessage& Message) {
  Pressed = Message.Msg == WM_LBUTTONDOWN;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (alive) RedrawWindow(CtrlHandle, nullptr, nullptr, kRepaintNow);
}

// A double click repeats the press: it shows pressed for a moment.
void TqvSpinWnd::OnDoubleClick(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (!alive) return;
  Pressed = true;
  RedrawWindow(CtrlHandle, nullptr, nullptr, kRepaintNow);
  Pressed = false;
}

void TqvSpinWnd::OnMouseLeave(vcl::TMessage& Message) {
  InvalidateRect(CtrlHandle, nullptr, FALSE);
  TqvMainWnd::WndProc(Message);
}

void TqvSpinWnd::OnSkinCommand(vcl::TMessage& Message) {
  if (SkinCommandOf(Message.WParam) == scmMouseLeave) RedrawWindow(CtrlHandle, nullptr, nullptr, kRepaintNow);
  TqvMainWnd::WndProc(Message);
}

}  // namespace skin_layered
