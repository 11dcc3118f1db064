#include "skin_classic/controls/ButtonGlyph.h"

#include <algorithm>
#include <memory>

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// Raster operation: where the source is set the brush, elsewhere the destination.
constexpr DWORD kBrushWhereSource = 0x00E20746;

struct GlyphFrame {
  int width = 0;
  int height = 0;
  int count = 1;
};

GlyphFrame FrameOf(vcl::TBitmap* Glyph, int NumGlyphs) {
  if (!Glyph || Glyph->Empty()) return {};
  const int count = std::max(NumGlyphs, 1);
  return {Glyph->Width() / count, Glyph->Height(), count};
}

}  // namespace

TGlyphLayout GlyphLayoutByName(vcl::StringView Name) {
  if (Name == L"blglyphright") return TGlyphLayout::Right;
  if (Name == L"blglyphtop") return TGlyphLayout::Top;
  if (Name == L"blglyphbottom") return TGlyphLayout::Bottom;
  return TGlyphLayout::Left;
}

int GlyphStateOf(int ButtonState) {
  switch (ButtonState) {
    case 2: return kGlyphDown;
    case 3: return kGlyphDisabled;
    default: return kGlyphUp;
  }
}

TGlyphPlacement PlaceGlyphAndText(const TRect& Client, TPoint GlyphSize, TPoint TextSize, TGlyphLayout Layout,
                                  int Margin, int Spacing, bool Centered) {
  const bool across = Layout == TGlyphLayout::Left || Layout == TGlyphLayout::Right;
  // Along the layout axis and across it.
  const int extent = across ? Client.Width() : Client.Height();
  const int side = across ? Client.Height() : Client.Width();
  const int glyph = across ? GlyphSize.X : GlyphSize.Y;
  const int text = across ? TextSize.X : TextSize.Y;
  const int glyphSide = across ? GlyphSize.Y : GlyphSize.X;
  const int textSide = across ? TextSize.Y : TextSize.X;

  if (TextSize.X == 0 || TextSize.Y == 0 || GlyphSize.X == 0 || GlyphSize.Y == 0) Spacing = 0;
  if (Margin == -1 || Centered) {
    if (Spacing == -1) {
      Margin = Spacing = (extent - glyph - text) / 3;
    } else {
      Margin = (extent - (glyph + Spacing + text)) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (extent - (Margin + glyph) - text) / 2;
  }

  int glyphAt = 0, textAt = 0;
  UINT flags = 0;
  switch (Layout) {
    case TGlyphLayout::Left:
    case TGlyphLayout::Top:
      glyphAt = Margin;
      textAt = Margin + glyph + Spacing;
      flags = Layout == TGlyphLayout::Top ? DT_CENTER : 0;
      break;
    case TGlyphLayout::Right:
    case TGlyphLayout::Bottom:
      glyphAt = extent - Margin - glyph;
      textAt = glyphAt - Spacing - text;
      flags = Layout == TGlyphLayout::Right ? DT_RIGHT : DT_CENTER;
      break;
  }
  const int glyphAcross = (side - glyphSide + 1) / 2, textAcross = (side - textSide + 1) / 2;

  TGlyphPlacement p;
  p.TextFlags = flags;
  if (across) {
    p.Glyph = TPoint(Client.Left + glyphAt, Client.Top + glyphAcross);
    p.Text = TRect(Client.Left + textAt, Client.Top + textAcross, Client.Left + textAt + text,
                   Client.Top + textAcross + textSide);
  } else {
    p.Glyph = TPoint(Client.Left + glyphAcross, Client.Top + glyphAt);
    p.Text = TRect(Client.Left + textAcross, Client.Top + textAt, Client.Left + textAcross + textSide,
                   Client.Top + textAt + text);
  }
  return p;
}

std::unique_ptr<vcl::TBitmap> DisabledGlyph(vcl::TBitmap* Glyph, int NumGlyphs) {
  const GlyphFrame f = FrameOf(Glyph, NumGlyphs);
  if (f.width <= 0 || f.height <= 0) return nullptr;
  std::unique_ptr<vcl::TBitmap> out = NewSkinBitmap(f.width, f.height);
  if (!out) return nullptr;
  // A mask set where the glyph's transparent colour is.
  vcl::UniqueBitmap mask(CreateBitmap(f.width, f.height, 1, 1, nullptr));
  if (!mask) return nullptr;
  vcl::MemoryDC maskDC(mask.get());
  if (!maskDC.ok()) return nullptr;
  HDC glyphDC = Glyph->Canvas()->Handle();
  const COLORREF oldBack = SetBkColor(glyphDC, static_cast<COLORREF>(vcl::ColorToRGB(Glyph->TransparentColor())));
  BitBlt(maskDC.get(), 0, 0, f.width, f.height, glyphDC, 0, 0, SRCCOPY);
  SetBkColor(glyphDC, oldBack);

  HDC dc = out->Canvas()->Handle();
  FillRectColor(dc, TRect(0, 0, f.width, f.height), vcl::clBtnFace);
  // The mask's clear bits (the glyph) become all ones, so the brush lands there only.
  const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
  const COLORREF oldDCBack = SetBkColor(dc, RGB(0, 0, 0));
  for (const auto& [colour, offset] : {std::pair{vcl::clBtnHighlight, 1}, std::pair{vcl::clBtnShadow, 0}}) {
    const vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(colour))));
    const vcl::SelectGuard select(dc, brush.get());
    BitBlt(dc, offset, offset, f.width, f.height, maskDC.get(), 0, 0, kBrushWhereSource);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldDCBack);
  return out;
}

void DrawButtonGlyph(HDC DC, int X, int Y, vcl::TBitmap* Glyph, int NumGlyphs, int GlyphState) {
  const GlyphFrame f = FrameOf(Glyph, NumGlyphs);
  if (!DC || f.width <= 0 || f.height <= 0) return;
  if (GlyphState == kGlyphDisabled) {
    if (const std::unique_ptr<vcl::TBitmap> disabled = DisabledGlyph(Glyph, NumGlyphs))
      DrawTransparentBitmap(DC, X, Y, disabled.get(), vcl::clBtnFace);
    return;
  }
  const int frame = GlyphState > f.count || GlyphState < 1 ? 1 : GlyphState;
  DrawTransparentBitmap(DC, X, Y, f.width, f.height, Glyph->Canvas()->Handle(), (frame - 1) * f.width, 0,
                        Glyph->TransparentColor());
}

}  // namespace winskin
