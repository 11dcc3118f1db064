#include "skin_layered/adapters/CheckBoxWnd.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/ShadowsOutlines.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvCheckBoxWnd) {}

namespace {

// The glyph's size when the skin has no check images.
constexpr int kDefaultGlyphSize = 16;

}  // namespace

void TqvCheckBoxWnd::SetSkinParams() {
  if (SkinData) {
    if (SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"CHECKBOX");
    SkinData->COC = kCheckBoxCode;
  }
  TqvMainWnd::SetSkinParams();
}

LONG_PTR TqvCheckBoxWnd::Style() const { return GetWindowLongPtrW(CtrlHandle, GWL_STYLE); }

UINT TqvCheckBoxWnd::ButtonState() const { return static_cast<UINT>(SendMessageW(CtrlHandle, BM_GETSTATE, 0, 0)); }

bool TqvCheckBoxWnd::OwnerDrawn() const { return (Style() & BS_TYPEMASK) == BS_OWNERDRAW; }

bool TqvCheckBoxWnd::Radio() const {
  const LONG_PTR type = Style() & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

int TqvCheckBoxWnd::CheckState() const {
  const UINT state = ButtonState();
  return (state & BST_INDETERMINATE) ? 2 : (state & BST_CHECKED) ? 1 : 0;
}

int TqvCheckBoxWnd::GlyphImage() const {
  TsSkinManager* manager = Manager();
  if (!manager) return kNoIndex;
  const TConstantSkinData& data = manager->Skin().ConstData;
  const auto check = static_cast<std::size_t>(CheckState());
  const int image =
      Radio() ? data.RadioButton[std::min<std::size_t>(check, data.RadioButton.size() - 1)] : data.CheckBox[check];
  return manager->IsValidImgIndex(image) ? image : kNoIndex;
}

int TqvCheckBoxWnd::GlyphState() const {
  if (ButtonState() & BST_PUSHED) return 2;
  TsSkinManager* manager = Manager();
  if (manager && manager->Options()->NoMouseHover()) return 0;
  if ((ButtonState() & BST_FOCUS) || SkinData->FFocused || vcl::IsFocusWindow(CtrlHandle)) return 1;
  TsSkinManager* hot = DefaultSkinManager();
  return hot && hot->HotWnd() == CtrlHandle ? 1 : 0;
}

void TqvCheckBoxWnd::RepaintNow() { SendMessageW(CtrlHandle, WM_PAINT, 0, 0); }

void TqvCheckBoxWnd::WndProc(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active() || Destroyed()) return TqvMainWnd::WndProc(Message);
  if (OwnerDrawn()) return OwnerDrawnMessage(Message);
  switch (Message.Msg) {
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case vcl::CM_TEXTCHANGED: return OnStateChange(Message);
    case WM_PAINT: return PaintCheckBox(Message);
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: return;
    case kSkinCmdMessage: return OnSkinCommand(Message);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return OnFocus(Message);
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(Message);
    case WM_NCHITTEST: return OnNcHitTest(Message);
    default: return TqvMainWnd::WndProc(Message);
  }
}

// Its owner draws it, state changes and all: only what lies behind it comes from the skin.
void TqvCheckBoxWnd::OwnerDrawnMessage(vcl::TMessage& Message) {
  if (Message.Msg != WM_ERASEBKGND) return TqvMainWnd::WndProc(Message);
  EraseBackground(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 1;
}

void TqvCheckBoxWnd::OnStateChange(vcl::TMessage& Message) {
  if (!IsWindowVisible(CtrlHandle)) return TqvMainWnd::WndProc(Message);
  // The box's own painting of the change happens with redraw off; the skin paints after.
  SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
  TqvMainWnd::WndProc(Message);
  SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
  RepaintNow();
}

void TqvCheckBoxWnd::OnSkinCommand(vcl::TMessage& Message) {
  if (const int command = SkinCommandOf(Message.WParam); command == scmMouseEnter || command == scmMouseLeave) {
    SkinData->Updating = false;
    RepaintNow();
  }
  TqvMainWnd::WndProc(Message);
}

void TqvCheckBoxWnd::OnFocus(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  RepaintNow();
}

void TqvCheckBoxWnd::OnKey(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  if (Message.WParam == VK_SPACE) RepaintNow();
}

void TqvCheckBoxWnd::OnNcHitTest(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  if (TsSkinManager* hot = DefaultSkinManager(); hot && IsWindowEnabled(CtrlHandle) && hot->HotWnd() != CtrlHandle)
    hot->SetHotWnd(CtrlHandle);
}

void TqvCheckBoxWnd::EraseBackground(HDC DC) {
  if (!DC) return;
  TqvCacheInfo bg;
  SkinData->GetBGInfo(CtrlHandle, bg);
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (bg.Ready && bg.Bmp)
    BitBlt(DC, 0, 0, WndSize.cx, WndSize.cy, bg.Bmp->Canvas()->Handle(), bg.X + WndPos.X, bg.Y + WndPos.Y, SRCCOPY);
  else
    FillDC(DC, vcl::TRect{0, 0, WndSize.cx, WndSize.cy}, static_cast<vcl::TColor>(bg.FillColor));
}

void TqvCheckBoxWnd::PaintCheckBox(const vcl::TMessage& Message) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  TqvPaintDC paint(CtrlHandle, Message);
  if (SkinData->CheckBgChanged(false)) return;
  // A hidden box is painted only into a DC it is given.
  if (!IsWindowVisible(CtrlHandle) && !paint.Given()) return;
  if (!PrepareCache()) return;
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Empty()) return;
  BitBlt(paint.DC(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TqvCheckBoxWnd::PrepareCache() {
  // A box painted before its page has a picture (the focused one as a sheet is skinned) would
  // show black where the page shows through it.
  TqvCacheInfo bg;
  if (!ReadyParentBg(this, bg)) return false;
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  if (width == 0 || height == 0) return true;
  const int state = SkinData->ControlIsActive() ? 1 : 0;
  PaintItem(SkinData->ControlSkin(), bg, state, vcl::TRect{0, 0, width, height}, vcl::TPoint{WndPos.X, WndPos.Y}, cache,
            true);
  PaintGlyphAndCaption();
  if (!IsWindowEnabled(CtrlHandle)) PaintDisabled(cache, kDisabledBlend, OwnerControl(), bg, vcl::TPoint{WndPos.X, WndPos.Y});
  SkinData->BGChanged = false;
  return true;
}

void TqvCheckBoxWnd::PaintGlyphAndCaption() {
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int width = cache->Width(), height = cache->Height();
  const LONG_PTR style = Style();
  const bool leftText = (style & BS_LEFTTEXT) != 0;

  // The glyph, centred vertically at the box's side.
  const int image = GlyphImage();
  TsSkinManager* manager = Manager();
  int gw = kDefaultGlyphSize, gh = kDefaultGlyphSize;
  if (image >= 0) {
    const TsMaskData& mask = manager->Skin().Images[static_cast<std::size_t>(image)];
    gw = MaskImageWidth(mask);
    gh = MaskImageHeight(mask);
    TqvCacheInfo self;
    MakeCacheInfo(cache, 0, 0, self);
    DrawSkinGlyph(cache, vcl::TPoint{leftText ? width - gw : 0, (height - gh) / 2}, GlyphState(), 1, mask, self);
  } else {
    // The skin has no mark for this state: the system's, so the state stays readable.
    const int left = leftText ? width - gw : 0, top = (height - gh) / 2;
    DrawSystemCheck(cache, vcl::TRect{left, top, left + gw, top + gh}, Radio(),
                    CheckState(), GlyphState(), IsWindowEnabled(CtrlHandle) != FALSE);
  }

  // The caption beside it.
  if (Caption.empty()) return;
  vcl::TCanvas* canvas = cache->Canvas();
  SelectCacheFont();
  const bool multiLine = (style & BS_MULTILINE) != 0;
  RECT measured{0, 0, std::max(0, width - (gw + 2)), 0};
  DrawTextW(canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), &measured,
            DT_CALCRECT | (multiLine ? DT_WORDBREAK : DT_SINGLELINE));
  const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
  const int top = std::max(0, (height - th) / 2);
  UINT flags = multiLine ? DT_WORDBREAK : DT_SINGLELINE;
  vcl::TRect r;
  if (leftText && (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING)) {
    r = vcl::TRect{2, top, width - gw - 2, top + th};
    flags |= DT_RIGHT | DT_RTLREADING;
  } else {
    const int left = leftText ? 2 : gw + 4;
    r = vcl::TRect{left, top, left + tw, top + th};
  }
  const bool active = SkinData->ControlIsActive();
  SetBkMode(canvas->Handle(), TRANSPARENT);
  WriteTextEx(canvas, Caption, true, active, SkinData, flags, r);
  if (ButtonState() & BST_FOCUS) {
    vcl::TRect focus = r;
    focus.Inflate(1, 1);
    if (const TsGeneralData* section = SkinData->Section()) {
      DrawDottedRect(canvas, focus, section->Props[active ? 1 : 0].FontColor, vcl::clNone);
    } else {
      RECT native = focus;
      DrawFocusRect(canvas->Handle(), &native);
    }
  }
}

}  // namespace skin_layered
