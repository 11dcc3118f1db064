#include "skin_classic/controls/SkinBitButton.h"

#include "classlib/graphics/ImgList.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_classic/controls/ButtonGlyph.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// Where a button's glyph comes from, first found.
struct GlyphSource {
  vcl::TBitmap* bitmap = nullptr;  // a bitmap glyph of `frames` frames side by side
  int frames = 1;
  vcl::TCustomImageList* images = nullptr;  // an image of a list
  int index = -1;
  vcl::TGraphic* graphic = nullptr;  // another picture, whole
  TPoint size;
};

GlyphSource FindGlyph(const vcl::TControl* Control, const vcl::String& GlyphProperty) {
  GlyphSource g;
  if (!GlyphProperty.empty()) {
    auto* graphic = GetObjectPropAs<vcl::TGraphic>(Control, GlyphProperty);
    if (!graphic || graphic->Empty()) return g;
    if (auto* bitmap = dynamic_cast<vcl::TBitmap*>(graphic))
      g.bitmap = bitmap;
    else
      g.graphic = graphic;
    g.size = TPoint(graphic->Width(), graphic->Height());
    return g;
  }
  auto* glyph = GetObjectPropAs<vcl::TBitmap>(Control, L"Glyph");
  if (glyph && !glyph->Empty()) {
    g.bitmap = glyph;
    g.frames = std::max(GetOrdPropByName(Control, L"NumGlyphs"), 1);
    g.size = TPoint(glyph->Width() / g.frames, glyph->Height());
    return g;
  }
  auto* images = GetObjectPropAs<vcl::TCustomImageList>(Control, L"Images");
  const int index = GetOrdPropByName(Control, L"ImageIndex");
  if (images && index >= 0 && index < images->Count()) {
    g.images = images;
    g.index = index;
    g.size = TPoint(images->Width(), images->Height());
  }
  return g;
}

}  // namespace

VCL_CLASS_INFO(TSkinBitButton) {}
VCL_CLASS_INFO(TSkinSpeedButton) {}

// ---------------------------------------------------------------------------------------
// TSkinBitButton

void TSkinBitButton::DrawControl(HDC DC, const TRect& Rect) {
  const int state = ReadState(true, kButtonFocused);
  HDC dc = PrepareFace(Rect, state);
  if (!dc) return;
  last_state_ = state;
  const bool centred = vcl::LowerCase(GetEnumPropName(FControl, L"Alignment")) == L"tacenter";
  DrawGlyphAndCaption(dc, TRect(0, 0, Rect.Width(), Rect.Height()), state, GlyphStateOf(state), centred,
                      FGlyphProperty);
  PutBuffer(DC, Rect);
}

void TSkinBitButton::DrawGlyphAndCaption(HDC DC, const TRect& Rect, int State, int GlyphState, bool Centered,
                                         const vcl::String& GlyphProperty) {
  const vcl::TControl* source = PropertySource();
  const GlyphSource glyph = FindGlyph(source, GlyphProperty);
  const int margin = GetOrdPropByName(source, L"Margin"), spacing = GetOrdPropByName(source, L"Spacing");
  const TGlyphLayout layout = GlyphLayoutByName(vcl::LowerCase(GetEnumPropName(source, L"Layout")));
  const bool sideways = layout == TGlyphLayout::Left || layout == TGlyphLayout::Right;

  const TSavedDC keep(DC);
  SelectCaptionFont(DC, State);
  FCaption = CaptionLines(FCaption);
  const UINT reading = ReadingFlags();
  TPoint textSize;
  if (!FCaption.empty()) {
    RECT area{Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2};
    if (sideways)
      area.right -= glyph.size.X + 2;
    else
      area.bottom -= glyph.size.Y + 2;
    RECT measured{area.left, area.top, std::max(area.right, area.left), std::max(area.bottom, area.top)};
    DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | reading);
    textSize = TPoint(measured.right - measured.left, measured.bottom - measured.top);
  }
  const TGlyphPlacement place = PlaceGlyphAndText(Rect, glyph.size, textSize, layout, margin, spacing, Centered);

  if (glyph.bitmap) {
    DrawButtonGlyph(DC, place.Glyph.X, place.Glyph.Y, glyph.bitmap, glyph.frames, GlyphState);
  } else if (glyph.images || glyph.graphic) {
    {
      const TSavedDC keepGlyph(DC);
      const vcl::TCanvasDCLoan loan(*FCanvas, DC);
      if (glyph.graphic) {
        FCanvas->Draw(place.Glyph.X, place.Glyph.Y, glyph.graphic);
      } else if (GlyphState != kGlyphDisabled) {
        glyph.images->Draw(FCanvas, place.Glyph.X, place.Glyph.Y, glyph.index, true);
      } else if (const int disabled = GetOrdPropByName(source, L"DisabledIndex"); disabled >= 0) {
        glyph.images->Draw(FCanvas, place.Glyph.X, place.Glyph.Y, disabled, true);
      } else {
        glyph.images->Draw(FCanvas, place.Glyph.X, place.Glyph.Y, glyph.index, false);
      }
    }
  }

  if (!FCaption.empty()) {
    RECT text{place.Text.Left, place.Text.Top, place.Text.Right, place.Text.Bottom};
    DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &text,
              DT_WORDBREAK | DT_EXPANDTABS | place.TextFlags | reading);
    if (FocusRectWanted()) {
      InflateRect(&text, 2, 2);
      DrawFocusRect(DC, &text);
    }
  }
}

// ---------------------------------------------------------------------------------------
// TSkinSpeedButton

TSkinSpeedButton::TSkinSpeedButton(vcl::TComponent* AOwner) : TSkinBitButton(AOwner) {}

TSkinSpeedButton::~TSkinSpeedButton() { UnhookControl(); }

vcl::TCanvas* TSkinSpeedButton::ControlCanvas() const {
  auto* control = dynamic_cast<vcl::TGraphicControl*>(FPaintControl);
  return control ? control->Canvas() : nullptr;
}

void TSkinSpeedButton::Repaint() {
  if (FPaintControl && FPaintControl->Parent()) FPaintControl->Repaint();
}

bool TSkinSpeedButton::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(Message); return false;
    default: return TSkinBitButton::BeforeProc(Message);
  }
}

// Painted into the given DC alone; the button's own painting does not run.
void TSkinSpeedButton::WMPaint(vcl::TMessage& Message) {
  if (auto dc = reinterpret_cast<HDC>(Message.WParam); dc && FPaintControl) {
    const TRect client(0, 0, FPaintControl->Width(), FPaintControl->Height());
    if (vcl::TCanvas* canvas = ControlCanvas()) {
      const vcl::TCanvasDCLoan loan(*canvas, dc);
      DrawSpeedButton(dc, client);
    } else {
      DrawSpeedButton(dc, client);
    }
  }
  Message.Result = 1;
}

void TSkinSpeedButton::WMLButtonDown(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallDefault(Message);
  if (!alive) return;
  SetMouseBit(kMousePressed, true);
  Repaint();
}

void TSkinSpeedButton::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::CM_MOUSEENTER: ShowMouseBit(kMouseHot, true); break;
    case vcl::CM_MOUSELEAVE: CMMouseLeave(); break;
    case WM_LBUTTONUP: ShowMouseBit(kMousePressed, false); break;
    case WM_KEYDOWN:
    case WM_KEYUP: WMKey(Message); break;
    case WM_ENABLE:
    case vcl::CM_FOCUSCHANGED:
    case vcl::CM_ENABLEDCHANGED: break;
    case WM_NCDESTROY:
    case vcl::CM_RELEASE: UnhookControl(); break;
    default: TSkinBitButton::AfterProc(Message); break;
  }
}

void TSkinSpeedButton::ShowMouseBit(uint8_t Bit, bool On) {
  SetMouseBit(Bit, On);
  Repaint();
}

void TSkinSpeedButton::CMMouseLeave() {
  SetMouseBit(kMouseHot | kMousePressed, false);
  if (FPaintControl && FPaintControl->Visible()) Repaint();
}

// The space bar presses the button while it is down.
void TSkinSpeedButton::WMKey(const vcl::TMessage& Message) {
  if (Message.WParam == VK_SPACE) ShowMouseBit(kMousePressed, Message.Msg == WM_KEYDOWN);
}

void TSkinSpeedButton::PaintWindow(HDC) {
  vcl::TCanvas* canvas = ControlCanvas();
  if (!canvas || !canvas->HandleAllocated() || !FPaintControl) return;
  canvas->Lock();
  const vcl::TScopeExit unlock([canvas] { canvas->Unlock(); });
  DrawSpeedButton(canvas->Handle(), TRect(0, 0, FPaintControl->Width(), FPaintControl->Height()));
}

void TSkinSpeedButton::DrawSpeedButton(HDC DC, const TRect& Rect) {
  if (FPainting || !DC || !FPaintControl) return;
  TDataSkinButton* b = ButtonsElement();
  if (!b || Rect.Width() <= 0 || Rect.Height() <= 0) return;
  FPainting = true;
  const vcl::TScopeExit done([this] { FPainting = false; });

  const vcl::TControl* source = FPaintControl;
  int state = Pressed() ? kButtonPressed : Hot() ? kButtonHot : kButtonNormal;
  if (!PropIsTrue(source, L"Enabled")) state = kButtonDisabled;
  const bool down = PropIsTrue(source, L"Down");
  if (down) state = kButtonPressed;
  const int glyphState = down ? kGlyphExclusive : GlyphStateOf(state);
  FCaption = GetPropText(source, L"Caption");
  FFocused = false;
  const bool flat = PropIsTrue(source, L"Flat");

  const int w = Rect.Width(), h = Rect.Height();
  FBuffer->SetSize(w, h);
  HDC dc = FBuffer->Canvas()->Handle();
  const TRect local(0, 0, w, h);
  // The parent has painted itself below the button already.
  if (FParentBack)
    BitBlt(dc, 0, 0, w, h, DC, Rect.Left, Rect.Top, SRCCOPY);
  else
    FillRectColor(dc, local, FaceColor());
  if (!flat || state == kButtonPressed || state == kButtonHot)
    DrawSkinBitmapRect(dc, local, b->Bitmap.get(), b->Margins(), b->Tile != 0, b->Frame, state, b->Transparent());
  last_state_ = state;
  DrawGlyphAndCaption(dc, local, state, glyphState, false, FSpeedGlyphProperty);
  PutBuffer(DC, Rect);
}

}  // namespace winskin
