#include "skin_layered/paint/text/TextPlacement.h"

#include <algorithm>

namespace skin_layered {
namespace {

constexpr unsigned kDrawTextRight = 2;  // DT_RIGHT

}  // namespace

void CalcTextRect(const vcl::TRect& Client, vcl::TPoint GlyphSize, vcl::TPoint TextSize, int Layout, int Alignment,
                  int Margin, int Spacing, vcl::TPoint& GlyphPos, vcl::TRect& TextRect, unsigned Flags) {
  if (Flags & kDrawTextRight) {
    if (Layout == kGlyphLeft) Layout = kGlyphRight;
    else if (Layout == kGlyphRight) Layout = kGlyphLeft;
  }
  const vcl::TPoint cs(Client.Width(), Client.Height());
  const vcl::TPoint& gs = GlyphSize;
  const vcl::TPoint& ts = TextSize;
  vcl::TPoint gp, tp;  // glyph and caption, relative to Client
  TextRect = vcl::TRect(0, 0, ts.X, ts.Y);
  const bool sideBySide = Layout == kGlyphLeft || Layout == kGlyphRight;
  if (sideBySide) {
    gp.Y = (cs.Y - gs.Y + 1) / 2;
    tp.Y = (cs.Y - ts.Y + 1) / 2;
  } else {
    gp.X = (cs.X - gs.X + 1) / 2;
    tp.X = (cs.X - ts.X + 1) / 2;
  }
  if (ts.X == 0 || gs.X == 0) Spacing = 0;

  // Margin and spacing along the direction in which the two are placed.
  const int space = sideBySide ? cs.X : cs.Y;
  const int glyph = sideBySide ? gs.X : gs.Y;
  const int text = sideBySide ? ts.X : ts.Y;
  if (Margin == -1 && Spacing < 0) {
    Margin = (space - (glyph + text)) / 3;
    Spacing = Margin;
  } else if (Margin == -1) {
    Margin = Alignment == kAlignCenter ? (space - (glyph + Spacing + text) + 1) / 2 : 2;
  } else if (Spacing < 0) {
    Spacing = ((space - (Margin + glyph)) - text) / 2;
  }

  switch (Layout) {
    case kGlyphLeft:
      if (Alignment == kAlignLeft) {
        gp.X = Margin;
        tp.X = Margin + gs.X + Spacing;
        // The caption is cut at the margin before the right edge.
        TextRect.Right = std::min(ts.X, cs.X - Margin - tp.X);
      } else if (Alignment == kAlignRight) {
        tp.X = cs.X - Margin - ts.X;
        gp.X = tp.X - Spacing - gs.X;
      } else if (Alignment == kAlignCenter) {
        Margin = std::max((cs.X - ts.X - Spacing - gs.X) / 2, Margin);
        gp.X = Margin;
        tp.X = Margin + Spacing + gs.X;
      }
      break;
    case kGlyphRight:
      if (Alignment == kAlignLeft) {
        tp.X = Margin;
        gp.X = Margin + ts.X + Spacing;
      } else if (Alignment == kAlignRight) {
        gp.X = cs.X - Margin - gs.X;
        tp.X = gp.X - Spacing - ts.X;
      } else if (Alignment == kAlignCenter) {
        tp.X = (cs.X - ts.X - Spacing - gs.X) / 2;
        gp.X = tp.X + Spacing + ts.X;
      }
      break;
    case kGlyphTop:
      gp.Y = (cs.Y - gs.Y - Spacing - ts.Y) / 2;
      tp.Y = gp.Y + gs.Y + Spacing;
      break;
    case kGlyphBottom:
      gp.Y = cs.Y - gs.Y - (cs.Y - gs.Y - Spacing - ts.Y) / 2;
      tp.Y = gp.Y - Spacing - ts.Y;
      break;
    default:
      break;
  }
  GlyphPos = vcl::TPoint(Client.Left + gp.X, Client.Top + gp.Y);
  TextRect.Offset(Client.Left + tp.X, Client.Top + tp.Y);
}

}  // namespace skin_layered
