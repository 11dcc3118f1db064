#include "skin_layered/paint/pixels/SkinPieces.h"

#include "skin_layered/paint/pixels/MaskedCopies.h"
#include "skin_layered/paint/pixels/Resampler.h"

namespace skin_layered {
namespace {

// Above this many pixels a scaled piece goes by the nearest pixel: the filtered one needs the
// whole piece in memory, however little of it the destination shows.
constexpr long long kMaxFilteredPixels = 1 << 22;

constexpr unsigned Channel(TPixel32 p, unsigned shift) { return (p >> shift) & 0xFFu; }

TPixelRect ViewRect(const TPixelView& view) { return {0, 0, view.Width, view.Height}; }

bool Inside(const TPixelView& view, TPixelRect r) {
  return r.Left >= 0 && r.Top >= 0 && r.Right <= view.Width && r.Bottom <= view.Height;
}

TPixelRect Shifted(TPixelRect r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

// A 1 x 1 masked piece spread over the area: the mask's red says how much of the
// destination stays.
void FillFromOnePixel(const TPixelView& dst, TPixelRect area, TPixel32 color, unsigned m) {
  if (m == 255) return;
  const TPixelRect visible{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, dst.Width),
                           std::min(area.Bottom, dst.Height)};
  for (int y = visible.Top; y < visible.Bottom; ++y) {
    TPixel32* d = dst.Row(y);
    for (int x = visible.Left; x < visible.Right; ++x) {
      TPixel32 p = 0xFF000000u;
      for (unsigned shift = 0; shift < 24; shift += 8)
        p |= ((Channel(d[x], shift) * m + Channel(color, shift) * (256 - m)) >> 8) << shift;
      d[x] = m == 0 ? color | 0xFF000000u : p;
    }
  }
}

// A masked piece scaled over the area, then mixed into the destination by the style.
void PaintScaledMasked(const TPixelView& dst, TPixelRect area, const TPixelView& picture, TPixelRect piece,
                       int maskOffset, bool smooth, TSkinStyle style) {
  if (dst.Empty() || area.IsEmpty() || piece.IsEmpty()) return;
  const TPixelRect mask = Shifted(piece, 0, maskOffset);
  if (!Inside(picture, piece) || !Inside(picture, mask)) return;
  const long long dw = area.Width(), dh = area.Height(), sw = piece.Width(), sh = piece.Height();
  if (style == TSkinStyle::Opaque && smooth && sw == 1 && sh == 1) {
    FillFromOnePixel(dst, area, picture.Row(piece.Top)[piece.Left], Channel(picture.Row(mask.Top)[mask.Left], 16));
    return;
  }
  bool filtered = style == TSkinStyle::AlphaFiltered || smooth || (sw > dw && sh == dh) || (sw == dw && sh > dh);
  filtered = filtered && dw >= 2 && dh >= 2 && dw * dh <= kMaxFilteredPixels;

  // Colour above, mask below, scaled to the part that will be written.
  TPixelBuffer both;
  int originX = area.Left, originY = area.Top;
  if (filtered) {
    const TPixelBuffer colour = ResamplePiece(picture, piece, static_cast<int>(dw), static_cast<int>(dh),
                                              kMitchellFilter);
    const TPixelBuffer alpha = ResamplePiece(picture, mask, static_cast<int>(dw), static_cast<int>(dh),
                                             style == TSkinStyle::AlphaFiltered ? kHermiteFilter : kMitchellFilter);
    if (colour.View().Empty() || alpha.View().Empty()) return;
    both = TPixelBuffer(static_cast<int>(dw), static_cast<int>(dh * 2));
    CopyArea(both.View(), 0, 0, colour.View(), ViewRect(colour.View()));
    CopyArea(both.View(), 0, static_cast<int>(dh), alpha.View(), ViewRect(alpha.View()));
  } else {
    const TPixelRect visible{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, dst.Width),
                             std::min(area.Bottom, dst.Height)};
    if (visible.IsEmpty()) return;
    both = TPixelBuffer(visible.Width(), visible.Height() * 2);
    TPixelView top = both.View();
    top.Height = visible.Height();
    TPixelView bottom = top;
    bottom.Line0 = reinterpret_cast<std::uint8_t*>(both.View().Row(visible.Height()));
    const TPixelRect local = Shifted(area, -visible.Left, -visible.Top);
    StretchCopyArea(top, local, picture, piece);
    StretchCopyArea(bottom, local, picture, mask);
    originX = visible.Left;
    originY = visible.Top;
  }
  const TPixelView& scaled = both.View();
  const int h = scaled.Height / 2;
  const TPixelRect whole{0, 0, scaled.Width, h};
  if (style == TSkinStyle::Opaque)
    CopyMaskedArea(dst, originX, originY, scaled, whole, h, false, TBackground{});
  else
    CopyMaskedArea32(dst, originX, originY, scaled, whole, h, TBackground{});
}

void PaintCorner(const TPixelView& dst, const TPixelView& picture, const TSkinPaint& paint, const TSkinPiece& piece) {
  const int x = piece.Dst.Left, y = piece.Dst.Top;
  if (paint.MaskOffset <= 0)
    CopyKeyedArea(dst, picture, x, y, piece.Src, kKeyColor, paint.FillCornerHoles, paint.Background);
  else if (paint.Style == TSkinStyle::Opaque)
    CopyMaskedArea(dst, x, y, picture, piece.Src, paint.MaskOffset, paint.FillCornerHoles, paint.Background);
  else
    CopyMaskedArea32(dst, x, y, picture, piece.Src, paint.MaskOffset, paint.Background);
}

// One area of picture rows (over their mask rows, with a mask) onto Dst at (x, y).
void CopyPiece(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr, const TSkinPaint& paint,
               int maskOffset) {
  if (paint.MaskOffset <= 0)
    CopyArea(dst, x, y, picture, sr);
  else if (paint.Style == TSkinStyle::Opaque)
    CopyMaskedArea(dst, x, y, picture, sr, maskOffset, false, TBackground{});
  else
    CopyMaskedArea32(dst, x, y, picture, sr, maskOffset, TBackground{});
}

// Tiles laid one by one cost a copy each: a side a pixel or two long takes hundreds a frame.
// Past this many, and up to this many pixels, the tiles are laid out once into a buffer of
// the visible part and copied from it in one pass (each pixel meets the same picture and mask
// pixel as tile by tile).
constexpr long long kTilesLaidOneByOne = 8;
constexpr long long kMaxLaidOutPixels = 1 << 20;

void PaintTiled(const TPixelView& dst, const TPixelView& picture, const TSkinPaint& paint, const TSkinPiece& piece) {
  const TPixelRect& src = piece.Src;
  const int tileW = src.Width(), tileH = src.Height();
  const TPixelRect visible{std::max(piece.Dst.Left, 0), std::max(piece.Dst.Top, 0),
                           std::min(piece.Dst.Right, dst.Width), std::min(piece.Dst.Bottom, dst.Height)};
  if (tileW <= 0 || tileH <= 0 || visible.IsEmpty()) return;
  const int maskRows = paint.MaskOffset > 0 ? paint.MaskOffset : 0;
  const long long across = (static_cast<long long>(visible.Right) - piece.Dst.Left + tileW - 1) / tileW -
                           (static_cast<long long>(visible.Left) - piece.Dst.Left) / tileW;
  const long long down = (static_cast<long long>(visible.Bottom) - piece.Dst.Top + tileH - 1) / tileH -
                         (static_cast<long long>(visible.Top) - piece.Dst.Top) / tileH;
  const long long pixels = static_cast<long long>(visible.Width()) * visible.Height();
  // A tile reaching past the picture (or its mask past the bitmap) is cut by each copy: laid
  // one by one.
  const bool whole = src.Left >= 0 && src.Top >= 0 && src.Right <= picture.Width &&
                     static_cast<long long>(src.Bottom) + maskRows <= picture.Height;
  if (!whole || across * down <= kTilesLaidOneByOne || pixels > kMaxLaidOutPixels) {
    ForEachTile(piece.Dst, tileW, tileH, ViewRect(dst), [&](int x, int y, int w, int h) {
      CopyPiece(dst, x, y, picture, {src.Left, src.Top, src.Left + w, src.Top + h}, paint, paint.MaskOffset);
    });
    return;
  }
  const int w = visible.Width(), h = visible.Height();
  const TPixelBuffer laid(w, maskRows > 0 ? h * 2 : h);
  const TPixelView& out = laid.View();
  if (out.Empty()) return;
  const int firstX = (visible.Left - piece.Dst.Left) % tileW;
  for (int row = 0; row < h; ++row) {
    const int sy = src.Top + (visible.Top - piece.Dst.Top + row) % tileH;
    for (int layer = 0; layer < (maskRows > 0 ? 2 : 1); ++layer) {
      const TPixel32* from = picture.Row(sy + layer * maskRows) + src.Left;
      TPixel32* to = out.Row(row + layer * h);
      for (int x = 0, sx = firstX; x < w; ++x) {
        to[x] = from[sx];
        if (++sx == tileW) sx = 0;
      }
    }
  }
  CopyPiece(dst, visible.Left, visible.Top, out, {0, 0, w, h}, paint, h);
}

void PaintScaled(const TPixelView& dst, const TPixelView& picture, const TSkinPaint& paint, const TSkinPiece& piece) {
  const bool smooth = piece.Part == TSkinPiecePart::Centre;
  if (paint.MaskOffset > 0) {
    PaintScaledMasked(dst, piece.Dst, picture, piece.Src, paint.MaskOffset, smooth, paint.Style);
    return;
  }
  const long long dw = piece.Dst.Width(), dh = piece.Dst.Height();
  if (paint.Style == TSkinStyle::AlphaFiltered && dw >= 2 && dh >= 2 && dw * dh <= kMaxFilteredPixels) {
    const TPixelBuffer scaled =
        ResamplePiece(picture, piece.Src, static_cast<int>(dw), static_cast<int>(dh), kMitchellFilter);
    if (!scaled.View().Empty()) CopyArea(dst, piece.Dst.Left, piece.Dst.Top, scaled.View(), ViewRect(scaled.View()));
    return;
  }
  StretchCopyArea(dst, piece.Dst, picture, piece.Src);
}

}  // namespace

void FitMargins(int& nearMargin, int& farMargin, int extent) {
  const long long excess = static_cast<long long>(nearMargin) + farMargin - extent;
  if (excess > 0) {
    nearMargin = static_cast<int>(nearMargin - excess / 2);
    farMargin = static_cast<int>(farMargin - excess / 2 - excess % 2);
  }
  nearMargin = std::max(nearMargin, 0);
  farMargin = std::max(farMargin, 0);
  // One margin stopped at 0 must not push the other past the extent.
  farMargin = std::min(farMargin, std::max(extent - nearMargin, 0));
  nearMargin = std::min(nearMargin, std::max(extent, 0));
}

int LaySkinPieces(const TSkinLayout& layout, bool centre, std::array<TSkinPiece, 9>& pieces) {
  const int l = layout.Margins.Left, t = layout.Margins.Top, r = layout.Margins.Right, b = layout.Margins.Bottom;
  const int cw = layout.Width - l - r, ch = layout.Height - t - b;
  if (cw < 0 || ch < 0) return 0;
  const TPixelRect& d = layout.Dst;
  const int sx = layout.SrcX, sy = layout.SrcY, sr = sx + layout.Width, sb = sy + layout.Height;
  using enum TSkinPiecePart;
  pieces[0] = {Corner, {d.Left, d.Top, d.Left + l, d.Top + t}, {sx, sy, sx + l, sy + t}};
  pieces[1] = {Side, {d.Left, d.Top + t, d.Left + l, d.Bottom - b}, {sx, sy + t, sx + l, sy + t + ch}};
  pieces[2] = {Side, {d.Left + l, d.Top, d.Right - r, d.Top + t}, {sx + l, sy, sx + l + cw, sy + t}};
  pieces[3] = {Corner, {d.Left, d.Bottom - b, d.Left + l, d.Bottom}, {sx, sb - b, sx + l, sb}};
  pieces[4] = {Side, {d.Left + l, d.Bottom - b, d.Right - r, d.Bottom}, {sx + l, sb - b, sx + l + cw, sb}};
  pieces[5] = {Corner, {d.Right - r, d.Bottom - b, d.Right, d.Bottom}, {sr - r, sb - b, sr, sb}};
  pieces[6] = {Corner, {d.Right - r, d.Top, d.Right, d.Top + t}, {sr - r, sy, sr, sy + t}};
  pieces[7] = {Side, {d.Right - r, d.Top + t, d.Right, d.Bottom - b}, {sr - r, sy + t, sr, sy + t + ch}};
  if (!centre) return 8;
  pieces[8] = {Centre, {d.Left + l, d.Top + t, d.Right - r, d.Bottom - b}, {sx + l, sy + t, sx + l + cw, sy + t + ch}};
  return 9;
}

void PaintSkinPieces(const TPixelView& dst, const TPixelView& picture, const TSkinPaint& paint) {
  if (dst.Empty() || picture.Empty()) return;
  std::array<TSkinPiece, 9> pieces;
  const int count = LaySkinPieces(paint.Layout, paint.Centre, pieces);
  for (int i = 0; i < count; ++i) {
    const TSkinPiece& piece = pieces[static_cast<std::size_t>(i)];
    if (piece.Dst.IsEmpty() || piece.Src.IsEmpty()) continue;
    if (piece.Part == TSkinPiecePart::Corner)
      PaintCorner(dst, picture, paint, piece);
    else if (paint.Stretch)
      PaintScaled(dst, picture, paint, piece);
    else
      PaintTiled(dst, picture, paint, piece);
  }
}

void StretchMaskedPiece(const TPixelView& dst, TPixelRect area, const TPixelView& picture, TPixelRect piece,
                        int maskOffset, bool smooth) {
  if (maskOffset <= 0) {
    StretchCopyArea(dst, area, picture, piece);
    return;
  }
  PaintScaledMasked(dst, area, picture, piece, maskOffset, smooth, TSkinStyle::Opaque);
}

}  // namespace skin_layered
