#include "skin_layered/paint/pixels/MaskedCopies.h"

#include <algorithm>

#include "skin_layered/paint/pixels/Resampler.h"

namespace skin_layered {
namespace {

constexpr unsigned Channel(TPixel32 p, unsigned shift) { return (p >> shift) & 0xFFu; }

// ((d - s) * m + s * 256) shr 8 on each colour channel, m per channel from Mask; alpha from d.
TPixel32 MixByMask(TPixel32 d, TPixel32 s, TPixel32 mask) {
  TPixel32 p = d & 0xFF000000u;
  for (unsigned shift = 0; shift < 24; shift += 8) {
    const unsigned m = Channel(mask, shift);
    p |= ((Channel(d, shift) * m + Channel(s, shift) * (256 - m)) >> 8) << shift;
  }
  return p;
}

// The picture without the rows whose mask would lie below it.
TPixelView PictureRows(const TPixelView& picture, int maskOffset) {
  TPixelView colors = picture;
  colors.Height = maskOffset >= 0 ? picture.Height - maskOffset : 0;
  return colors;
}

}  // namespace

TPixelBuffer::TPixelBuffer(int width, int height) {
  if (width <= 0 || height <= 0) return;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  view_ = {reinterpret_cast<std::uint8_t*>(pixels_.data()), static_cast<std::ptrdiff_t>(width) * 4, width, height};
}

void CopyArea(const TPixelView& dst, int x, int y, const TPixelView& src, TPixelRect sr) {
  const auto area = PlaceArea(dst, src, x, y, sr);
  if (!area) return;
  for (int row = 0; row < area->Height; ++row)
    std::copy_n(src.Row(area->SrcY + row) + area->SrcX, area->Width, dst.Row(area->DstY + row) + area->DstX);
}

void CopyMaskedArea32(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr, int maskOffset,
                      const TBackground& background) {
  const auto area = PlaceArea(dst, PictureRows(picture, maskOffset), x, y, sr);
  if (!area) return;
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = picture.Row(area->SrcY + row) + area->SrcX;
    const TPixel32* m = picture.Row(area->SrcY + row + maskOffset) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      if (IsKeyPixel(s[i])) {
        const TPixel32* behind = background.Ready ? background.At(area->DstX + i, area->DstY + row) : nullptr;
        d[i] = behind ? *behind : d[i] & 0x00FFFFFFu;
        continue;
      }
      const unsigned w = Channel(m[i], 16);
      TPixel32 p = 0;
      for (unsigned shift = 0; shift < 24; shift += 8)
        p |= ((Channel(d[i], shift) * w + Channel(s[i], shift) * (255 - w)) >> 8) << shift;
      const unsigned da = d[i] >> 24, cover = 255 - w;
      const unsigned a = da == 0 ? cover : da == 255 ? 255 : std::max(da, cover);
      d[i] = p | a << 24;
    }
  }
}

void CopyMaskedGlyphArea(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr,
                         int maskOffset, bool pale) {
  const auto area = PlaceArea(dst, PictureRows(picture, maskOffset), x, y, sr);
  if (!area) return;
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = picture.Row(area->SrcY + row) + area->SrcX;
    const TPixel32* m = picture.Row(area->SrcY + row + maskOffset) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      const unsigned red = Channel(m[i], 16);
      if (IsKeyPixel(s[i]) || red == 255) continue;
      TPixel32 mask = m[i];
      if (pale) {
        mask = 0;
        for (unsigned shift = 0; shift < 24; shift += 8) mask |= std::min(Channel(m[i], shift) + 100, 255u) << shift;
      }
      const unsigned a = d[i] >> 24;
      d[i] = (MixByMask(d[i], s[i], mask) & 0x00FFFFFFu) | (a + ((255 - a) * (255 - red) >> 8)) << 24;
    }
  }
}

void BlendMasterArea(const TPixelView& dst, int x, int y, const TPixelView& master, TPixelRect sr,
                     const TBackground& background, TColorValue fillColor) {
  const int half = sr.Height() / 2;
  if (half <= 0) return;
  // The upper half is the picture; its mask rows must lie inside the master too.
  const TPixelRect picture{sr.Left, sr.Top, sr.Right, sr.Top + half};
  const auto area = PlaceArea(dst, PictureRows(master, half), x, y, picture);
  if (!area) return;
  const bool hasFill = fillColor != kKeyColor;
  const TPixel32 fill = SwapBytes02(fillColor) & 0x00FFFFFFu;
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = master.Row(area->SrcY + row) + area->SrcX;
    const TPixel32* m = master.Row(area->SrcY + row + half) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      if (!IsKeyPixel(s[i])) {
        d[i] = MixByMask(d[i], s[i], m[i]);
      } else if (hasFill) {
        d[i] = (d[i] & 0xFF000000u) | fill;
      } else if (background.Ready) {
        if (const TPixel32* behind = background.At(area->DstX + i, area->DstY + row)) d[i] = *behind;
      }
    }
  }
}

void FillKeyFromSource(const TPixelView& dst, int x, int y, int w, int h, const TPixelView& src, int srcX, int srcY,
                       const TPixelView& reference, int refX, int refY) {
  if (dst.Empty() || src.Empty() || w <= 0 || h <= 0) return;
  const bool hasReference = !reference.Empty();
  for (int row = 0; row < h; ++row) {
    const int dy = y + row, sy = srcY + row, ry = refY + row;
    if (dy < 0 || dy >= dst.Height || sy < 0 || sy >= src.Height) continue;
    if (hasReference && (ry < 0 || ry >= reference.Height)) continue;
    for (int col = 0; col < w; ++col) {
      const int dx = x + col, sx = srcX + col, rx = refX + col;
      if (dx < 0 || dx >= dst.Width || sx < 0 || sx >= src.Width) continue;
      TPixel32& d = dst.Row(dy)[dx];
      if (hasReference) {
        if (rx < 0 || rx >= reference.Width || !IsKeyPixel(reference.Row(ry)[rx])) continue;
      } else if (!IsKeyPixel(d)) {
        continue;
      }
      d = src.Row(sy)[sx];
    }
  }
}

void CornerFromBackground(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr,
                          int maskOffset, const TBackground& background, TColorValue fillColor) {
  const auto area = PlaceArea(dst, PictureRows(picture, maskOffset), x, y, sr);
  if (!area) return;
  const bool hasFill = fillColor != kKeyColor;
  const TPixel32 fill = SwapBytes02(fillColor) & 0x00FFFFFFu;
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* s = picture.Row(area->SrcY + row) + area->SrcX;
    const TPixel32* m = picture.Row(area->SrcY + row + maskOffset) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      if (maskOffset == 0 && !IsKeyPixel(s[i])) continue;
      const TPixel32* behind = background.At(area->DstX + i, area->DstY + row);
      if (!behind && !hasFill) continue;
      const TPixel32 b = behind ? *behind : (d[i] & 0xFF000000u) | fill;
      d[i] = maskOffset == 0 ? b : MixByMask(b, d[i], m[i]);
    }
  }
}

void ReflectGlyphArea(const TPixelView& dst, int x, int y, const TPixelView& src, TPixelRect cell, TPixel32 key,
                      int blend) {
  if (dst.Empty() || src.Empty() || cell.IsEmpty() || x < 0) return;
  cell = {std::max(cell.Left, 0), std::max(cell.Top, 0), std::min(cell.Right, src.Width),
          std::min(cell.Bottom, src.Height)};
  if (cell.IsEmpty()) return;
  const int n = std::min(2 * (src.Height / 3) - 1, dst.Height - y - 1);
  if (n < 1) return;
  const int step = 255 / n;
  const int fade = 100 - std::clamp(blend, 0, 100);
  int a = 255, drawn = 0;
  for (int j = 0; j <= n; ++j) {
    const int row = y + j, from = cell.Bottom - 1 - j;
    if (row < 0 || row >= dst.Height) continue;
    if (from >= cell.Top) {
      const unsigned w = static_cast<unsigned>(((((n - j) * 255 / n) * a) >> 9) * fade / 100);
      const TPixel32* s = src.Row(from) + cell.Left;
      TPixel32* d = dst.Row(row);
      const int count = std::min(cell.Width(), dst.Width - x);
      for (int i = 0; i < count; ++i) {
        if (s[i] == key) continue;
        TPixel32 p = d[x + i] & 0xFF000000u;
        for (unsigned shift = 0; shift < 24; shift += 8)
          p |= ((Channel(s[i], shift) * w + Channel(d[x + i], shift) * (256 - w)) >> 8) << shift;
        d[x + i] = p;
      }
    }
    if (++drawn % 2 == 0) a -= step;
  }
}

void AppendColorRuns(const TPixelView& view, TPixelRect area, TPixel32 value, TPixel32 compareMask, bool match,
                     int dx, int dy, std::vector<TPixelRect>& runs) {
  if (view.Empty()) return;
  area = {std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, view.Width),
          std::min(area.Bottom, view.Height)};
  const TPixel32 wanted = value & compareMask;
  for (int y = area.Top; y < area.Bottom; ++y) {
    const TPixel32* row = view.Row(y);
    int start = -1;
    for (int x = area.Left; x <= area.Right; ++x) {
      const bool in = x < area.Right && ((row[x] & compareMask) == wanted) == match;
      if (in && start < 0) start = x;
      if (!in && start >= 0) {
        runs.push_back({start + dx, y + dy, x + dx, y + 1 + dy});
        start = -1;
      }
    }
  }
}

void DrawCoverage(const TPixelView& dst, int x, int y, const TPixelView& coverage, TColorValue color) {
  const auto area = PlaceArea(dst, coverage, x, y, {0, 0, coverage.Width, coverage.Height});
  if (!area) return;
  const TPixel32 k = SwapBytes02(color);
  for (int row = 0; row < area->Height; ++row) {
    TPixel32* d = dst.Row(area->DstY + row) + area->DstX;
    const TPixel32* t = coverage.Row(area->SrcY + row) + area->SrcX;
    for (int i = 0; i < area->Width; ++i) {
      if (t[i] == 0x00FFFFFFu || t[i] == 0xFFFFFFFFu) continue;
      d[i] = MixByMask(d[i], k, t[i]) | 0xFF000000u;
    }
  }
}

void StretchCopyArea(const TPixelView& dst, TPixelRect area, const TPixelView& src, TPixelRect piece) {
  if (dst.Empty() || src.Empty() || area.IsEmpty() || piece.IsEmpty()) return;
  if (piece.Left < 0 || piece.Top < 0 || piece.Right > src.Width || piece.Bottom > src.Height) return;
  const int left = std::max(area.Left, 0), top = std::max(area.Top, 0);
  const int right = std::min(area.Right, dst.Width), bottom = std::min(area.Bottom, dst.Height);
  const long long dw = area.Width(), dh = area.Height(), sw = piece.Width(), sh = piece.Height();
  for (int yy = top; yy < bottom; ++yy) {
    const TPixel32* s = src.Row(piece.Top + static_cast<int>((yy - area.Top) * sh / dh));
    TPixel32* d = dst.Row(yy);
    for (int xx = left; xx < right; ++xx) d[xx] = s[piece.Left + static_cast<int>((xx - area.Left) * sw / dw)];
  }
}

TPixelBuffer ResamplePiece(const TPixelView& src, TPixelRect piece, int width, int height, int filter) {
  if (src.Empty() || piece.IsEmpty() || width < 2 || height < 2) return {};
  if (piece.Left < 0 || piece.Top < 0 || piece.Right > src.Width || piece.Bottom > src.Height) return {};
  const int pw = piece.Width(), ph = piece.Height();
  TPixelBuffer copy(std::max(pw, 2), std::max(ph, 2));
  const TPixelView& c = copy.View();
  for (int yy = 0; yy < c.Height; ++yy) {
    const TPixel32* s = src.Row(piece.Top + std::min(yy, ph - 1)) + piece.Left;
    TPixel32* d = c.Row(yy);
    for (int xx = 0; xx < c.Width; ++xx) d[xx] = s[std::min(xx, pw - 1)];
  }
  TPixelBuffer scaled(width, height);
  if (!ResamplePixels(c, scaled.View(), filter)) return {};
  return scaled;
}

}  // namespace skin_layered
