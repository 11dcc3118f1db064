#include "skin_layered/adapters/ButtonWnd.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/ButtonGlyphs.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/ShadowsOutlines.h"
#include "skin_layered/paint/SystemLook.h"
#include "skin_layered/paint/text/TextPlacement.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvBtnWnd) {}
VCL_CLASS_INFO(TqvBitBtnWnd) {}

namespace {

constexpr UINT kRepaintNow = RDW_INVALIDATE | RDW_UPDATENOW;  // 0x101
constexpr UINT kRepaintFrame = RDW_INVALIDATE | RDW_FRAME;    // 0x401
constexpr UINT kRepaintAll = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;  // 0x581
// A bare bit button's glyph and caption stand this far apart.
constexpr int kBareSpacing = 4;

bool Designing(const vcl::TControl* Control) {
  return Control && Control->ComponentState().Contains(vcl::csDesigning);
}

bool Destroying(const vcl::TControl* Control) {
  return Control && Control->ComponentState().Contains(vcl::csDestroying);
}

}  // namespace

void TqvBtnWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"BUTTON");
  TqvMainWnd::SetSkinParams();
}

UINT TqvBtnWnd::ButtonState() const { return static_cast<UINT>(SendMessageW(CtrlHandle, BM_GETSTATE, 0, 0)); }

LONG_PTR TqvBtnWnd::Style() const { return GetWindowLongPtrW(CtrlHandle, GWL_STYLE); }

bool TqvBtnWnd::ShiftsContent() const {
  if (!SkinData->Skinned()) return true;
  TsSkinManager* manager = Manager();
  return manager && manager->ButtonsOptions()->ShiftContentOnClick();
}

void TqvBtnWnd::RefreshGeometry() { GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect); }

int TqvBtnWnd::SectionState(int State) const {
  const TsGeneralData* section = SkinData->Section();
  const int states = section ? std::max(section->States, 1) : 1;
  if (State == kButtonDefault) return states < 4 ? std::min(kButtonHot, states - 1) : std::min(kButtonDefault, states - 1);
  return std::min(State, states - 1);
}

// ---------------------------------------------------------------------------------------
// Messages

void TqvBtnWnd::WndProc(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active() || Destroyed()) return TqvMainWnd::WndProc(Message);
  if (SkinnedMessage(Message)) return;
  TqvMainWnd::WndProc(Message);
  if (Message.Msg == WM_MOUSEMOVE) TrackHotAfterMove();
}

bool TqvBtnWnd::SkinnedMessage(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOVE: return OnMove();
    case WM_SETFOCUS: return IsWindowEnabled(CtrlHandle) && OnFocus(Message, true);
    case WM_KILLFOCUS: return IsWindowEnabled(CtrlHandle) && !Destroying(OwnerControl()) && OnFocus(Message, false);
    case WM_ENABLE:
    case WM_SETTEXT: return WindowVisible() && QuietCommon(Message, kRepaintNow);
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND: return Answer(Message, 1);
    case WM_NCPAINT:
    case WM_UPDATEUISTATE: return Answer(Message, 0);
    case BM_SETSTATE: return WindowVisible() && OnSetState(Message);
    case WM_MOUSEHOVER: return OnMouseHover();
    case WM_MOUSELEAVE: return OnMouseLeaveMessage();
    case WM_PRINT: return OnPrint(Message);
    case kSkinCmdMessage: return OnSkinCommand(Message);
    default: return false;
  }
}

bool TqvBtnWnd::WindowVisible() const { return IsWindowVisible(CtrlHandle) != FALSE; }

bool TqvBtnWnd::OnMove() {
  // Only a see-through section shows the move.
  const TsGeneralData* section = SkinData->Section();
  if (section && (section->Props[0].Transparency >= 1 ||
                  (section->Props[1].Transparency >= 1 && SkinData->ControlIsActive()))) {
    SkinData->BGChanged = true;
    Repaint(kRepaintNow);
  }
  return false;
}

bool TqvBtnWnd::OnPaint(const vcl::TMessage& Message) {
  if (!WindowVisible() && !(SkinData->CtrlSkinState & kStatePrintDC)) return false;
  if (!SkinParamsApplied) ApplySkinParams();
  return OnPrint(Message);
}

bool TqvBtnWnd::OnPrint(const vcl::TMessage& Message) {
  PaintButton(Message);
  return true;
}

bool TqvBtnWnd::OnSetState(vcl::TMessage& Message) {
  // The button's own press painting happens with redraw off; the skin paints after.
  SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
  CallPrevWndProc(Message);
  SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
  SkinData->BGChanged = true;
  Repaint(kRepaintNow);
  return true;
}

bool TqvBtnWnd::OnMouseHover() {
  SendCommandToWnd(CtrlHandle, scmMouseEnter, reinterpret_cast<LPARAM>(Manager()));
  return false;
}

bool TqvBtnWnd::OnMouseLeaveMessage() {
  if (TsSkinManager* hot = DefaultSkinManager(); hot && hot->HotWnd() == CtrlHandle) hot->SetHotWnd(nullptr);
  return false;
}

bool TqvBtnWnd::OnSkinCommand(const vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmRepaint:
      if (SkinData->Updating && !SkinData->CheckBgChanged(true)) Repaint(kRepaintAll);
      return true;
    case scmMouseEnter: OnMouseEnter(); return false;
    case scmMouseLeave: OnMouseLeave(); return false;
    default: return false;
  }
}

void TqvBtnWnd::Repaint(UINT Flags) { RedrawWindow(CtrlHandle, nullptr, nullptr, Flags); }

bool TqvBtnWnd::QuietCommon(vcl::TMessage& Message, UINT RedrawFlags) {
  SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
  TqvMainWnd::WndProc(Message);
  SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
  SkinData->BGChanged = true;
  Repaint(RedrawFlags);
  return true;
}

bool TqvBtnWnd::OnFocus(vcl::TMessage& Message, bool Focused) {
  SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
  TqvMainWnd::WndProc(Message);
  SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
  SkinData->FFocused = Focused;
  SkinData->BGChanged = true;
  Repaint(kRepaintFrame);
  return true;
}

bool TqvBtnWnd::CursorInWindow() const {
  RECT r{};
  GetWindowRect(CtrlHandle, &r);
  return PtInRect(&r, AdapterCursorPos()) != FALSE;
}

void TqvBtnWnd::OnMouseEnter() {
  TsSkinManager* hot = DefaultSkinManager();
  TsSkinManager* manager = Manager();
  if (SkinData->FMouseAbove || !hot || hot->HotWnd() != CtrlHandle) return;
  if (manager && manager->Options()->NoMouseHover()) return;
  if (!CursorInWindow()) return;
  SkinData->FMouseAbove = true;
  SkinData->BGChanged = true;
  SkinData->Updating = false;
  Repaint(kRepaintNow);
  SkinData->PaintOuterEffects(false, CtrlHandle, 255);
}

void TqvBtnWnd::OnMouseLeave() {
  if (!SkinData->FMouseAbove) return;
  SkinData->ReleaseGlow();
  SkinData->FMouseAbove = false;
  SkinData->Updating = false;
  SkinData->BGChanged = true;
  Repaint(kRepaintNow);
}

void TqvBtnWnd::TrackHotAfterMove() {
  TsSkinManager* manager = DefaultSkinManager();
  if (!manager || manager->Designing() || !IsWindowEnabled(CtrlHandle)) return;
  if (CursorInWindow()) {
    if (manager->HotWnd() != CtrlHandle) manager->SetHotWnd(CtrlHandle);
  } else if (manager->HotWnd() == CtrlHandle) {
    manager->SetHotWnd(nullptr);
  }
}

// ---------------------------------------------------------------------------------------
// Painting

int TqvBtnWnd::CtlState() {
  if (Pushed()) {
    SkinData->ReleaseGlow();
    return kButtonPressed;
  }
  if (!IsWindowEnabled(CtrlHandle)) return kButtonNormal;
  vcl::TControl* control = OwnerControl();
  if (control) {
    if (control->Enabled() && !Designing(control) && SkinData->ControlIsActive()) return kButtonHot;
  } else {
    TsSkinManager* hot = DefaultSkinManager();
    if (vcl::IsFocusWindow(CtrlHandle) || (hot && hot->HotWnd() == CtrlHandle) || SkinData->FFocused) return kButtonHot;
  }
  // The default button's type (an owner-drawn button's type shares its bit, and is not one).
  if ((Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return control ? kButtonHot : kButtonDefault;
  return kButtonNormal;
}

int TqvBtnWnd::MaxCaptionWidth() {
  if (Caption.empty()) return 0;
  const vcl::TSize glyph = GlyphSize();
  if (glyph.cx > 0) return std::max(0, WndSize.cx - glyph.cx);
  return WndSize.cx + 1;
}

vcl::TSize TqvBtnWnd::CaptionSize(int Width) {
  RECT r{0, 0, Width, 0};
  UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_CENTER;
  if (Style() & BS_MULTILINE) flags |= DT_WORDBREAK;
  vcl::TCanvas* canvas = SkinData->CacheBmp()->Canvas();
  DrawTextW(canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), &r, flags);
  return vcl::TSize{r.right - r.left, r.bottom - r.top};
}

vcl::TRect TqvBtnWnd::CaptionRect() {
  const vcl::TSize text = CaptionSize(MaxCaptionWidth() + 2);
  const int c = (WndSize.cx - text.cx) / 2;
  const int d = (WndSize.cy - text.cy) / 2;
  vcl::TRect r{c - 1, d, WndSize.cx - c + 2, WndSize.cy - d};
  if (Pushed() && ShiftsContent()) r.Offset(1, 1);
  return r;
}

void TqvBtnWnd::PaintButton(const vcl::TMessage& Message) {
  RefreshGeometry();
  TqvPaintDC paint(CtrlHandle, Message);
  // While the engine holds painting for an animation only a print target is served.
  if (AnimationActive() && !(SkinData->CtrlSkinState & kStatePrintDC)) return;
  SkinData->Updating = SkinData->BgIsChanged();
  if (SkinData->Updating) return;
  SkinData->BGChanged = true;
  PrepareButtonCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Empty()) return;
  BitBlt(paint.DC(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvBtnWnd::PrepareButtonCache() {
  RefreshGeometry();
  SkinData->GetBGInfo(CtrlHandle, bg_);
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  if (width == 0 || height == 0) return;
  const int state = CtlState();
  const vcl::TPoint offset{WndPos.X, WndPos.Y};
  PaintItem(SkinData->ControlSkin(), bg_, SectionState(state), vcl::TRect{0, 0, width, height}, offset, cache, true);
  // Without the skin's picture of a button's edge the system's shows the button and its state,
  // the default button in the system's dark frame.
  TsSkinManager* skinManager = Manager();
  const TsGeneralData* section = SkinData->Section();
  const bool systemEdge = !section || !skinManager || !skinManager->IsValidImgIndex(section->BorderIndex);
  if (systemEdge) {
    vcl::TRect edge{0, 0, width, height};
    if (state == kButtonDefault || (Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      RECT frame = edge;
      FrameRect(cache->Canvas()->Handle(), &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
      edge.Inflate(-1, -1);
    }
    DrawSystemButtonEdge(cache, edge, state == kButtonPressed ? 2 : state == kButtonHot ? 1 : 0, false);
  }

  // The caption.
  vcl::TCanvas* canvas = cache->Canvas();
  SelectCacheFont();
  vcl::TRect r = CaptionRect();
  UINT flags = DT_CENTER | DT_EXPANDTABS;
  if (Style() & BS_MULTILINE) flags |= DT_WORDBREAK;
  if (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) flags |= DT_RTLREADING;
  SetBkMode(canvas->Handle(), TRANSPARENT);
  WriteTextEx(canvas, Caption, true, state != kButtonNormal, SkinData, flags, r);
  const bool enabled = IsWindowEnabled(CtrlHandle) != FALSE;
  if (enabled && skinManager && skinManager->ButtonsOptions()->ShowFocusRect() && (ButtonState() & BST_FOCUS) &&
      !Caption.empty()) {
    r.Inflate(2, 1);
    r.Top = std::max(r.Top, 3);
    r.Bottom = std::min(r.Bottom, height - 3);
    if (section) {
      const std::size_t k = static_cast<std::size_t>(std::clamp(section->States, 0, 1));
      DrawDottedRect(canvas, r, section->Props[k].FontColor, vcl::clNone);
    } else {
      // The system's mark, in the text's colour the system gives buttons.
      DrawDottedRect(canvas, r, static_cast<vcl::TColor>(GetSysColor(COLOR_BTNTEXT)), vcl::clNone);
    }
  }
  DrawGlyph();
  if (!enabled) PaintDisabled(cache, kDisabledBlend, OwnerControl(), bg_, offset);
  SkinData->BGChanged = false;
}

// ---------------------------------------------------------------------------------------
// Bit buttons

int TqvBitBtnWnd::CtlState() {
  auto* button = dynamic_cast<vcl::TBitBtn*>(OwnerControl());
  const int state = TqvBtnWnd::CtlState();
  if (!button || !button->Default() || state != kButtonNormal || !IsWindowEnabled(CtrlHandle)) return state;
  // The default bit button looks so unless another button of its own window has the focus: a
  // button focused in another window (a dialog beside its form) leaves it the default.
  HWND focus = GetFocus();
  if (!focus || GetAncestor(focus, GA_ROOT) != GetAncestor(CtrlHandle, GA_ROOT)) return kButtonDefault;
  return (GetWindowLongPtrW(focus, GWL_STYLE) & 0x8) ? kButtonNormal : kButtonDefault;
}

std::unique_ptr<vcl::TBitmap> TqvBitBtnWnd::WindowGlyph() const {
  auto image = reinterpret_cast<HBITMAP>(SendMessageW(CtrlHandle, BM_GETIMAGE, IMAGE_BITMAP, 0));
  if (!image || GetObjectType(image) != OBJ_BITMAP) return nullptr;
  // A copy: the window keeps its own bitmap.
  auto copy = static_cast<HBITMAP>(CopyImage(image, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!copy) return nullptr;
  auto bmp = std::make_unique<vcl::TBitmap>();
  bmp->SetHandle(copy);
  return bmp;
}

vcl::TSize TqvBitBtnWnd::GlyphSize() {
  if (auto* button = dynamic_cast<vcl::TBitBtn*>(OwnerControl())) {
    vcl::TBitmap* glyph = button->Glyph();
    if (!glyph || glyph->Empty()) return {};
    const int count = std::max(1, button->NumGlyphs() & 0x7F);
    return vcl::TSize{glyph->Width() / count, glyph->Height()};
  }
  if (OwnerControl()) return {};
  auto image = reinterpret_cast<HBITMAP>(SendMessageW(CtrlHandle, BM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP info{};
  if (!image || GetObjectW(image, sizeof info, &info) == 0) return {};
  return vcl::TSize{info.bmWidth, info.bmHeight};
}

int TqvBitBtnWnd::MaxCaptionWidth() {
  auto* button = dynamic_cast<vcl::TBitBtn*>(OwnerControl());
  if (!button) return TqvBtnWnd::MaxCaptionWidth();
  if (Caption.empty()) return 0;
  int width = WndSize.cx - 2 * button->Margin();
  const vcl::TSize glyph = GlyphSize();
  const int layout = static_cast<int>(button->Layout());
  if (glyph.cx > 0 && (layout == kGlyphLeft || layout == kGlyphRight)) width -= glyph.cx + button->Spacing();
  return width;
}

vcl::TPoint TqvBitBtnWnd::GlyphPos() {
  auto* button = dynamic_cast<vcl::TBitBtn*>(OwnerControl());
  const vcl::TSize glyph = GlyphSize();
  const vcl::TSize text = Caption.empty() ? vcl::TSize{} : CaptionSize(MaxCaptionWidth());
  const int layout = button ? static_cast<int>(button->Layout()) : kGlyphLeft;
  const int spacing = !button ? kBareSpacing : button->Spacing();
  const int gap = glyph.cx > 0 && !Caption.empty() ? spacing : 0;
  const int w = WndSize.cx, h = WndSize.cy;
  vcl::TPoint p;
  switch (layout) {
    case kGlyphRight:
      p = vcl::TPoint{(w - glyph.cx + gap + text.cx) / 2, (h - glyph.cy) / 2};
      break;
    case kGlyphTop:
    case kGlyphBottom: {
      const int before = (h - glyph.cy - text.cy - gap) / 2;
      p = vcl::TPoint{(w - glyph.cx) / 2 + 1, layout == kGlyphTop ? before : h - before - glyph.cy};
      break;
    }
    default:
      p = vcl::TPoint{(w - glyph.cx - text.cx - gap) / 2, (h - glyph.cy) / 2};
      break;
  }
  if (Pushed() && ShiftsContent()) {
    ++p.X;
    ++p.Y;
  }
  return p;
}

vcl::TRect TqvBitBtnWnd::CaptionRect() {
  auto* button = dynamic_cast<vcl::TBitBtn*>(OwnerControl());
  if (!button) {
    // A bare window's caption makes room for its glyph.
    vcl::TRect r = TqvBtnWnd::CaptionRect();
    const vcl::TSize glyph = GlyphSize();
    if (glyph.cx > 0) r.Offset(glyph.cx / 2 + 1, 0);
    return r;
  }
  const vcl::TSize glyph = GlyphSize();
  const vcl::TSize text = Caption.empty() ? vcl::TSize{} : CaptionSize(MaxCaptionWidth());
  vcl::TPoint glyphPos;
  vcl::TRect r;
  CalcTextRect(vcl::TRect{0, 0, WndSize.cx, WndSize.cy}, vcl::TPoint{glyph.cx, glyph.cy}, vcl::TPoint{text.cx, text.cy},
               static_cast<int>(button->Layout()), kAlignCenter, button->Margin(), button->Spacing(), glyphPos, r,
               0);
  if (Pushed() && ShiftsContent()) r.Offset(1, 1);
  return r;
}

void TqvBitBtnWnd::DrawGlyph() {
  auto* button = dynamic_cast<vcl::TBitBtn*>(OwnerControl());
  std::unique_ptr<vcl::TBitmap> own;
  vcl::TBitmap* glyph = nullptr;
  int count = 1;
  if (button) {
    glyph = button->Glyph();
    count = std::max(1, button->NumGlyphs() & 0x7F);
  } else if (!OwnerControl()) {
    own = WindowGlyph();
    glyph = own.get();
  }
  if (!glyph || glyph->Empty()) return;
  // A device-dependent glyph is drawn from a copy of device-independent pixels.
  std::unique_ptr<vcl::TBitmap> converted;
  if (glyph->PixelFormat() == vcl::pfDevice) {
    converted = std::make_unique<vcl::TBitmap>();
    converted->Assign(glyph);
    converted->SetPixelFormat(vcl::pf24bit);
    glyph = converted.get();
  }
  const vcl::TSize size = GlyphSize();
  const vcl::TPoint p = GlyphPos();
  TsSkinManager* manager = Manager();
  TqvGlyphPaintData data;
  data.DstBmp = SkinData->CacheBmp();
  data.Glyph = glyph;
  data.NumGlyphs = count;
  data.SkinIndex = SkinData->SkinIndex;
  data.Skin = manager ? &manager->Skin() : nullptr;
  data.ImgRect = vcl::TRect{p.X, p.Y, p.X + size.cx, p.Y + size.cy};
  data.Enabled = IsWindowEnabled(CtrlHandle) != FALSE;
  data.Down = Pushed() ? 1 : 0;
  data.State = std::min(CtlState(), kButtonPressed);
  data.Grayed = manager && manager->Effects()->DiscoloredGlyphs() && SkinData->Skinned() ? 1 : 0;
  DrawButtonGlyph(data);
}

}  // namespace skin_layered
