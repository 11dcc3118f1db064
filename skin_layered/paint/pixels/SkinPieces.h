// One state image of a skin image painted into a rectangle in nine parts, on plain 32-bit
// pixels: the four corners copied as they are, the four sides and the centre tiled or
// scaled between them. The picture's mask, when it has one, lies MaskOffset rows below it.
// Everything is cut to the destination view: pieces outside it paint nothing.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "skin_layered/paint/pixels/Blending.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

// Widths of the fixed left and right columns and heights of the top and bottom rows.
struct TNineMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Two margins that together exceed the extent both lose half the excess (truncated), the far
// one the odd pixel too; neither ends below 0, and together they never exceed the extent.
void FitMargins(int& nearMargin, int& farMargin, int extent);

// Tiles of TileW x TileH laid from Area's top-left over Area, the last ones of each row and
// column cut at Area's edge: f(x, y, w, h) for each tile that meets Visible. Nothing for a
// tile size below 1.
template <class F>
void ForEachTile(TPixelRect area, int tileW, int tileH, TPixelRect visible, F&& f) {
  if (tileW <= 0 || tileH <= 0 || area.IsEmpty()) return;
  const int left = std::max(area.Left, visible.Left), top = std::max(area.Top, visible.Top);
  const int right = std::min(area.Right, visible.Right), bottom = std::min(area.Bottom, visible.Bottom);
  if (right <= left || bottom <= top) return;
  const int firstX = area.Left + (left - area.Left) / tileW * tileW;
  const int firstY = area.Top + (top - area.Top) / tileH * tileH;
  for (long long y = firstY; y < bottom; y += tileH)
    for (long long x = firstX; x < right; x += tileW)
      f(static_cast<int>(x), static_cast<int>(y), static_cast<int>(std::min<long long>(tileW, area.Right - x)),
        static_cast<int>(std::min<long long>(tileH, area.Bottom - y)));
}

enum class TSkinPiecePart : std::uint8_t { Corner, Side, Centre };

// Where one piece goes and where it comes from (the same size unless scaled).
struct TSkinPiece {
  TSkinPiecePart Part = TSkinPiecePart::Corner;
  TPixelRect Dst;
  TPixelRect Src;
};

// A state image (at SrcX, SrcY of the picture, Width x Height) laid into Dst with margins
// already fitted to Dst.
struct TSkinLayout {
  TPixelRect Dst;
  int SrcX = 0, SrcY = 0;
  int Width = 0, Height = 0;
  TNineMargins Margins;
};

// The pieces in painting order: top-left corner, left side, top side, bottom-left corner,
// bottom side, bottom-right corner, top-right corner, right side, and with Centre the centre.
// Answers how many; none when the state image is narrower or lower than its two margins.
int LaySkinPieces(const TSkinLayout& layout, bool centre, std::array<TSkinPiece, 9>& pieces);

// How the pieces reach the destination.
enum class TSkinStyle : std::uint8_t {
  Opaque,         // an opaque result: masked pieces get alpha 255
  Alpha,          // alpha kept for layered windows
  AlphaFiltered,  // the same, scaled pieces always filtered (colour smooth, mask Hermite)
};

struct TSkinPaint {
  TSkinLayout Layout;
  int MaskOffset = 0;   // rows from the picture down to its mask; 0 without mask
  bool Stretch = false;  // sides and centre scaled instead of tiled
  bool Centre = false;   // the centre painted too
  TSkinStyle Style = TSkinStyle::Opaque;
  // The corners' key-coloured pixels take what lies behind them from the background (an
  // opaque masked corner, or any corner without mask); an alpha-kept masked corner takes a
  // ready background in any case.
  bool FillCornerHoles = false;
  TBackground Background;  // behind the corners
};

// Paints the pieces: corners without mask by the keyed copy (key pixels left, or filled from
// the background); sides and centre without mask copied as they are; masked pieces mixed
// through the mask (opaque: d := ((d - s) * m + s * 256) shr 8, alpha 255; alpha-kept: see
// CopyMaskedArea32). Scaled pieces go by the nearest pixel, or filtered (Mitchell) for the
// centre and for pieces that shrink along one axis only, and always in the filtered style.
void PaintSkinPieces(const TPixelView& dst, const TPixelView& picture, const TSkinPaint& paint);

// A piece of a masked picture scaled over Area of Dst, opaque: a 1 x 1 smooth piece fills
// (mask 0), leaves (mask 255) or mixes toward its colour; others are scaled, colour and mask
// alike (filtered when Smooth or when shrinking along one axis only), then mixed into Dst.
// Nothing when the piece or its mask lies outside the picture.
void StretchMaskedPiece(const TPixelView& dst, TPixelRect area, const TPixelView& picture, TPixelRect piece,
                        int maskOffset, bool smooth);

}  // namespace skin_layered
