#include "skin_layered/adapters/SpeedButtonHandler.h"

#include "classlib/extctrls/Buttons.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/ButtonGlyphs.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/TemplatePaint.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSpeedButtonHandler) {}

TqvButtonLayout LayoutButtonContent(int Width, int Height, vcl::TSize GlyphSize, vcl::TSize CaptionSize,
                                    vcl::TButtonLayout Layout, int Margin, int Spacing, bool Shift) {
  const int gw = GlyphSize.cx, gh = GlyphSize.cy, cw = CaptionSize.cx, ch = CaptionSize.cy;
  const int s = cw > 0 || ch > 0 ? Spacing : 0;
  const int ox = (Width - gw - s - cw) / 2;
  const int oy = (Height - gh - s - ch) / 2;
  TqvButtonLayout out;
  int gx = 0, gy = 0;
  switch (Layout) {
    case vcl::blGlyphRight:
      gx = Margin == -1 ? Width - ox - gw : Width - gw - Margin;
      gy = (Height - gh) / 2;
      break;
    case vcl::blGlyphTop:
      gx = (Width - gw) / 2;
      gy = Margin == -1 ? oy : Margin;
      break;
    case vcl::blGlyphBottom:
      gx = (Width - gw) / 2;
      gy = Margin == -1 ? Height - oy - gh : Height - gh - Margin;
      break;
    default:
      gx = Margin == -1 ? ox : Margin;
      gy = (Height - gh) / 2;
      break;
  }
  out.Glyph = vcl::TRect{gx, gy, gx + gw, gy + gh};
  int cx = 0, cy = 0;
  const bool glyph = gw > 0 && gh > 0;
  const bool horizontal = Layout == vcl::blGlyphLeft || Layout == vcl::blGlyphRight;
  if (glyph) {
    switch (Layout) {
      case vcl::blGlyphRight: cx = out.Glyph.Left - Spacing - cw; break;
      case vcl::blGlyphTop: cy = out.Glyph.Bottom + Spacing; break;
      case vcl::blGlyphBottom: cy = out.Glyph.Top - Spacing - ch; break;
      default: cx = out.Glyph.Right + Spacing; break;
    }
    if (horizontal) cy = (Height - ch) / 2; else cx = (Width - cw) / 2;
  } else if (Margin == -1) {
    cx = (Width - cw) / 2;
    cy = (Height - ch) / 2;
  } else {
    switch (Layout) {
      case vcl::blGlyphRight: cx = Width - Margin - cw; break;
      case vcl::blGlyphTop: cy = Margin; break;
      case vcl::blGlyphBottom: cy = Height - Margin - ch; break;
      default: cx = Margin; break;
    }
    if (horizontal) cy = (Height - ch) / 2; else cx = (Width - cw) / 2;
  }
  out.Caption = vcl::TRect{cx, cy, cx + cw, cy + ch};
  if (Shift) {
    out.Glyph.Offset(1, 1);
    out.Caption.Offset(1, 1);
  }
  return out;
}

TqvSpeedButtonHandler::TqvSpeedButtonHandler(vcl::TControl* AControl, const vcl::String& Section,
                                             TsSkinManager* ASkinManager, TsCommonData* ASkinData)
    : vcl::TComponent(nullptr), Control(AControl), SkinManager(ASkinManager), SkinData(ASkinData) {
  if (!SkinManager && SkinData) SkinManager = SkinData->GetSkinManager();
  if (SkinData && SkinData->SkinSection().empty() && !Section.empty()) SkinData->SetSkinSection(Section);
  if (Control) {
    Control->FreeNotification(this);
    hook_.Install(Control, vcl::TWndMethod::Bind<&TqvSpeedButtonHandler::WndProc>(this));
  }
}

TqvSpeedButtonHandler::~TqvSpeedButtonHandler() {
  if (!Detached) Detach();
  if (Control) Control->RemoveFreeNotification(this);
  SkinManager = nullptr;
}

void TqvSpeedButtonHandler::Detach() {
  Detached = true;
  hook_.Remove();
}

void TqvSpeedButtonHandler::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TComponent::Notification(AComponent, Operation);
  if (Operation == vcl::opRemove && AComponent == Control) {
    // The control goes: nothing of the handler is touched through it again.
    Detach();
    Control = nullptr;
  }
}

LRESULT TqvSpeedButtonHandler::CallOldProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  vcl::TMessage message{Msg, WParam, LParam, 0};
  hook_.CallPrevious(message);
  return message.Result;
}

int TqvSpeedButtonHandler::ButtonState() const {
  if (auto* button = dynamic_cast<vcl::TSpeedButton*>(Control)) {
    const vcl::TButtonState state = button->State();
    if (state == vcl::TButtonState::bsDown || state == vcl::TButtonState::bsExclusive) return 2;
  }
  return SkinData && SkinData->ControlIsActive() ? 1 : 0;
}

bool TqvSpeedButtonHandler::ShiftsContent() const {
  if (!SkinData || !SkinData->Skinned()) return true;
  return !SkinManager || SkinManager->ButtonsOptions()->ShiftContentOnClick();
}

void TqvSpeedButtonHandler::InvalidateControl() {
  if (Control && Control->Visible()) Control->Invalidate();
}

void TqvSpeedButtonHandler::DrawCaptionAndGlyph(vcl::TBitmap* Cache, int State) {
  auto* button = dynamic_cast<vcl::TSpeedButton*>(Control);
  vcl::TSize glyph;
  if (button && button->Glyph() && !button->Glyph()->Empty()) {
    glyph.cx = button->Glyph()->Width() / std::max(1, button->NumGlyphs());
    glyph.cy = button->Glyph()->Height();
  }
  const vcl::String caption = Control->Caption();
  vcl::TCanvas* canvas = Cache->Canvas();
  vcl::TSize text;
  if (!caption.empty()) {
    RECT r{0, 0, 255, 0};
    DrawTextW(canvas->Handle(), caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    text = vcl::TSize{r.right - r.left, r.bottom - r.top};
  }
  const vcl::TButtonLayout layout = button ? button->Layout() : vcl::blGlyphLeft;
  const int margin = button ? button->Margin() : -1;
  const int spacing = button ? button->Spacing() : 4;
  const TqvButtonLayout place = LayoutButtonContent(Control->Width(), Control->Height(), glyph, text, layout, margin,
                                                    spacing, State == 2 && ShiftsContent());
  if (!caption.empty()) {
    canvas->Brush()->SetStyle(vcl::bsClear);
    WriteTextEx(canvas, caption, true, State != 0, SkinData, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS, place.Caption);
  }
  if (button && glyph.cx > 0 && glyph.cy > 0) {
    TqvGlyphPaintData data;
    data.DstBmp = Cache;
    data.Glyph = button->Glyph();
    data.SkinIndex = SkinData->SkinIndex;
    data.Skin = SkinManager ? &SkinManager->Skin() : nullptr;
    data.ImgRect = place.Glyph;
    data.NumGlyphs = button->NumGlyphs();
    data.Enabled = button->Enabled();
    data.Down = button->Down() ? 1 : 0;
    data.Grayed = SkinData->Skinned() && SkinManager && SkinManager->Effects()->DiscoloredGlyphs() ? 1 : 0;
    data.State = State;
    DrawButtonGlyph(data);
  }
}

void TqvSpeedButtonHandler::PrepareCache() {
  if (!Control || !SkinData) return;
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (cache->Width() != Control->Width() || cache->Height() != Control->Height())
    cache->SetSize(Control->Width(), Control->Height());
  cache->Canvas()->SetFont(Control->Font());
  TqvBGInfo info;
  if (Control->Parent()) GetBgInfo(info, Control->Parent(), false);
  // A background that is not there yet leaves the cache as it was.
  if (info.BgType == btBitmap && (!info.Bmp || info.Bmp->Width() == 0)) return;
  if (info.BgType == btNotReady) {
    // The parent's picture is not ready: the button is painted again when it is.
    SkinData->Updating = true;
    return;
  }
  TqvCacheInfo ci;
  CopyBgInfo(info, ci);
  const int state = ButtonState();
  const vcl::TPoint position{Control->Left(), Control->Top()};
  const vcl::TRect all{0, 0, cache->Width(), cache->Height()};
  PaintItem(SkinData->ControlSkin(), ci, state, all, position, cache, true);
  // The border image's frame of the button's state decides which corners show what lies
  // behind it (the section may have fewer states than its border image).
  PaintControlCorners(SkinManager ? &SkinManager->Skin() : nullptr, SkinData->BorderIndex, cache, Control, state,
                      kCornerTopLeft | kCornerBottomLeft | kCornerTopRight | kCornerBottomRight);
  if (!SkinData->Section()) {
    // The skin has no section for the button: the system's edge shows its hot and down states.
    auto* button = dynamic_cast<vcl::TSpeedButton*>(Control);
    DrawSystemButtonEdge(cache, all, state, !button || button->Flat());
  }
  DrawCaptionAndGlyph(cache, state);
  if (!Control->Enabled()) PaintDisabled(cache, kDisabledBlend, Control, ci, position);
  SkinData->BGChanged = false;
}

void TqvSpeedButtonHandler::Paint(HDC DC) {
  if (!DC || !Control) return;
  const int saved = SaveDC(DC);
  PrepareCache();
  if (vcl::TBitmap* cache = SkinData->CacheBmp())
    BitBlt(DC, 0, 0, Control->Width(), Control->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  RestoreDC(DC, saved);
}

bool TqvSpeedButtonHandler::OnSkinCommand(vcl::TMessage& Message) {
  const bool own = Message.LParam != 0 && reinterpret_cast<TsSkinManager*>(Message.LParam) == SkinManager;
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (!own) return false;
      CommonMessage(Message, SkinData);
      return true;
    case scmRemoveSkin:
      if (!own || Control->ComponentState().Contains(vcl::csDestroying)) return false;
      CommonMessage(Message, SkinData);
      InvalidateControl();
      Detach();
      return true;
    case scmRefresh:
      if (!own) return false;
      CommonMessage(Message, SkinData);
      InvalidateControl();
      return true;
    case scmRepaint:
      if (!SkinData->CheckBgChanged()) return false;
      SkinData->Updating = false;
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmReload:
      SkinData->Updating = false;
      SkinData->BGChanged = true;
      InvalidateControl();
      return false;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    default:
      return false;
  }
}

void TqvSpeedButtonHandler::WndProc(vcl::TMessage& Message) {
  if (!Control || !SkinData) {
    hook_.CallPrevious(Message);
    return;
  }
  switch (Message.Msg) {
    case kSkinCmdMessage:
      if (OnSkinCommand(Message)) return;
      break;
    case WM_PAINT:
      Paint(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      return;
    case vcl::CM_MOUSEENTER:
    case vcl::CM_MOUSELEAVE:
      SkinData->FMouseAbove = Message.Msg == vcl::CM_MOUSEENTER;
      SkinData->BGChanged = true;
      hook_.CallPrevious(Message);
      InvalidateControl();
      return;
    default:
      break;
  }
  hook_.CallPrevious(Message);
}

}  // namespace skin_layered
