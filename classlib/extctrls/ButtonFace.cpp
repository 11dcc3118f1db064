// The face of a button with a glyph: the glyph's frame for the button's state and the
// caption, laid out as speed buttons and bitmap buttons share it.
#include "classlib/extctrls/ButtonFace.h"

#include <algorithm>
#include <utility>

namespace vcl {

// The glyph and the caption, laid out along the glyph's side (Layout) with Margin and Spacing.
void DrawButtonFace(TCanvas* Canvas, const TButtonFace& Face, const TRect& Client, TPoint Offset) {
  const String& caption = Face.Caption;
  const int frames = std::clamp(Face.NumGlyphs, 1, 4);
  const TPoint clientSize{Client.Width(), Client.Height()};
  TPoint glyphSize{0, 0};
  if (Face.Glyph && !Face.Glyph->Empty()) glyphSize = {Face.Glyph->Width() / frames, Face.Glyph->Height()};
  TRect textBounds;
  TPoint textSize{0, 0};
  if (!caption.empty()) {
    textBounds = TRect(0, 0, Client.Width(), 0);
    DrawTextW(Canvas->Handle(), caption.c_str(), static_cast<int>(caption.size()), textBounds.AsRECT(), DT_CALCRECT);
    textSize = {textBounds.Width(), textBounds.Height()};
  }

  const bool sideBySide = Face.Layout == blGlyphLeft || Face.Layout == blGlyphRight;
  TPoint glyphPos{0, 0};
  TPoint textPos{0, 0};
  // Across the layout both are centred.
  if (sideBySide) {
    glyphPos.Y = (clientSize.Y - glyphSize.Y + 1) / 2;
    textPos.Y = (clientSize.Y - textSize.Y + 1) / 2;
  } else {
    glyphPos.X = (clientSize.X - glyphSize.X + 1) / 2;
    textPos.X = (clientSize.X - textSize.X + 1) / 2;
  }
  const int extent = sideBySide ? clientSize.X : clientSize.Y;
  const int glyphExtent = sideBySide ? glyphSize.X : glyphSize.Y;
  const int textExtent = sideBySide ? textSize.X : textSize.Y;
  int margin = Face.Margin;
  int spacing = (textSize.X == 0 || glyphSize.X == 0) ? 0 : Face.Spacing;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (extent - glyphExtent - textExtent) / 3;
      spacing = margin;
    } else {
      margin = (extent - (glyphExtent + spacing + textExtent) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (extent - (margin + glyphExtent) - textExtent) / 2;
  }
  switch (Face.Layout) {
    case blGlyphLeft:
      glyphPos.X = margin;
      textPos.X = glyphPos.X + glyphSize.X + spacing;
      break;
    case blGlyphRight:
      glyphPos.X = clientSize.X - margin - glyphSize.X;
      textPos.X = glyphPos.X - spacing - textSize.X;
      break;
    case blGlyphTop:
      glyphPos.Y = margin;
      textPos.Y = glyphPos.Y + glyphSize.Y + spacing;
      break;
    case blGlyphBottom:
      glyphPos.Y = clientSize.Y - margin - glyphSize.Y;
      textPos.Y = glyphPos.Y - spacing - textSize.Y;
      break;
  }
  glyphPos = {glyphPos.X + Client.Left + Offset.X, glyphPos.Y + Client.Top + Offset.Y};
  textBounds.Offset(textPos.X + Client.Left + Offset.X, textPos.Y + Client.Top + Offset.Y);

  DrawButtonGlyph(Canvas, Face.Glyph, frames, glyphPos, Face.State);
  if (caption.empty()) return;
  Canvas->Brush()->SetStyle(bsClear);
  const UINT flags = DT_CENTER | DT_VCENTER;
  const int length = static_cast<int>(caption.size());
  if (Face.State == TButtonState::bsDisabled) {
    textBounds.Offset(1, 1);
    Canvas->Font()->SetColor(clBtnHighlight);
    DrawTextW(Canvas->Handle(), caption.c_str(), length, textBounds.AsRECT(), flags);
    textBounds.Offset(-1, -1);
    Canvas->Font()->SetColor(clBtnShadow);
  }
  DrawTextW(Canvas->Handle(), caption.c_str(), length, textBounds.AsRECT(), flags);
}

// One frame of the glyph with its transparent colour left out. A disabled button without a
// disabled frame shows the first frame embossed: its shape in highlight, then in shadow one
// pixel up and left.
void DrawButtonGlyph(TCanvas* Canvas, TBitmap* Glyph, int NumGlyphs, TPoint Pos, TButtonState State) {
  if (!Glyph || Glyph->Empty()) return;
  const int frames = std::clamp(NumGlyphs, 1, 4);
  const int w = Glyph->Width() / frames;
  const int h = Glyph->Height();
  if (w <= 0 || h <= 0) return;
  HDC dst = Canvas->Handle();
  HDC src = Glyph->Canvas()->Handle();
  const auto key = static_cast<COLORREF>(ColorToRGB(Glyph->TransparentColor()) & 0xFFFFFF);
  if (State == TButtonState::bsDisabled && frames < 2) {
    UniqueBitmap maskBits(CreateBitmap(w, h, 1, 1, nullptr));
    MemoryDC mask(maskBits.get());
    if (!mask.ok()) return;
    // White where the transparent colour is, black where the glyph is.
    const COLORREF srcBack = SetBkColor(src, key);
    BitBlt(mask.get(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(src, srcBack);
    const int saved = SaveDC(dst);
    SetTextColor(dst, RGB(0, 0, 0));
    SetBkColor(dst, RGB(255, 255, 255));
    const std::pair<int, TColor> layers[] = {{1, clBtnHighlight}, {0, clBtnShadow}};
    for (const auto& [shift, color] : layers) {
      UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color))));
      SelectObject(dst, brush.get());
      // The brush where the mask is black, the destination where it is white.
      BitBlt(dst, Pos.X + shift, Pos.Y + shift, w, h, mask.get(), 0, 0, 0x00B8074A);
      SelectObject(dst, GetStockObject(NULL_BRUSH));
    }
    RestoreDC(dst, saved);
    return;
  }
  int frame = static_cast<int>(State);
  if (State == TButtonState::bsDown && frames < 3) frame = 0;
  if (frame >= frames) frame = 0;
  GdiTransparentBlt(dst, Pos.X, Pos.Y, w, h, src, frame * w, 0, w, h, key);
}

}  // namespace vcl
