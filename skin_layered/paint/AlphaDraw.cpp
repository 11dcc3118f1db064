#include "skin_layered/paint/AlphaDraw.h"

#include <algorithm>
#include <optional>

#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered {
namespace {

using vcl::TBitmap;
using vcl::TRect;

constexpr TPixel32 kHole = 0x00FF00FF;

// Where a copy reads and writes, and how much.
struct TCopyArea {
  int DstX, DstY, SrcX, SrcY, Width, Height;
};

std::optional<TCopyArea> ClipCopy(TRect dst, TRect src, int dstWidth, int dstHeight, int srcWidth, int srcHeight) {
  if (dst.Left < 0) { src.Left -= dst.Left; dst.Left = 0; }
  if (src.Left < 0) { dst.Left -= src.Left; src.Left = 0; }
  if (dst.Top < 0) { src.Top -= dst.Top; dst.Top = 0; }
  if (src.Top < 0) { dst.Top -= src.Top; src.Top = 0; }
  const int width = std::min({dst.Right - dst.Left, src.Right - src.Left, dstWidth - dst.Left, srcWidth - src.Left});
  const int height =
      std::min({dst.Bottom - dst.Top, src.Bottom - src.Top, dstHeight - dst.Top, srcHeight - src.Top});
  if (width <= 0 || height <= 0) return std::nullopt;
  return TCopyArea{dst.Left, dst.Top, src.Left, src.Top, width, height};
}

TPixel32* PixelAt(const TScanLines& lines, int x, int y) {
  return reinterpret_cast<TPixel32*>(lines.Row(static_cast<std::uint32_t>(y))) + x;
}

// The one-channel blend: d' = ((s - d) * w + d * 256) shr 8, never negative before the shift.
constexpr TPixel32 BlendColors(TPixel32 d, TPixel32 s, unsigned w) {
  TPixel32 out = d & 0xFF000000u;
  for (unsigned shift = 0; shift < 24; shift += 8) {
    const int dc = static_cast<int>((d >> shift) & 0xFF);
    const int sc = static_cast<int>((s >> shift) & 0xFF);
    out |= static_cast<TPixel32>(((sc - dc) * static_cast<int>(w) + dc * 256) >> 8) << shift;
  }
  return out;
}

void BlendArea(const TScanLines& dst, const TScanLines& src, const TCopyArea& a) {
  for (int y = 0; y < a.Height; ++y) {
    TPixel32* d = PixelAt(dst, a.DstX, a.DstY + y);
    const TPixel32* s = PixelAt(src, a.SrcX, a.SrcY + y);
    for (int x = 0; x < a.Width; ++x) {
      if (s[x] == kHole) continue;
      const unsigned alpha = s[x] >> 24;
      d[x] = (BlendColors(d[x], s[x], alpha) & 0x00FFFFFFu) | std::max(alpha, d[x] >> 24) << 24;
    }
  }
}

// The mirror image below the copy: row Bottom + j takes source row Bottom - j - 1 at a weight
// falling with j and with a, which loses 255 div the source's height per row.
void ReflectArea(const TScanLines& dst, const TScanLines& src, const TCopyArea& a, int dstHeight, int srcHeight) {
  const int dstBottom = a.DstY + a.Height;
  const int srcBottom = a.SrcY + a.Height;
  const int rows = std::min(srcHeight / 2 - 1, dstHeight - dstBottom - 1);
  if (rows < 1) return;
  const int step = 255 / srcHeight;
  int strength = 255;
  for (int j = 1; j <= rows; ++j, strength -= step) {
    const int srcRow = srcBottom - j - 1;
    if (srcRow < 0) break;
    TPixel32* d = PixelAt(dst, a.DstX, dstBottom + j);
    const TPixel32* s = PixelAt(src, a.SrcX, srcRow);
    for (int x = 0; x < a.Width; ++x) {
      if (s[x] == kHole) continue;
      const unsigned weight = (((s[x] >> 24) * static_cast<unsigned>(rows - j)) / static_cast<unsigned>(rows) *
                               static_cast<unsigned>(strength)) >> 9;
      d[x] = BlendColors(d[x], s[x], weight);
    }
  }
}

}  // namespace

void CopyTransBitmaps(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, bool Reflect, TBitmap* Src) {
  if (!Src || !Dst || Src->Empty() || Dst->Empty() || Dst->PixelFormat() != vcl::pf32bit) return;
  SetBmp32(Src);
  const auto area = ClipCopy(DstRect, SrcRect, Dst->Width(), Dst->Height(), Src->Width(), Src->Height());
  TScanLines dst, src;
  if (!area || !InitScanLines(Dst, dst) || !InitScanLines(Src, src)) return;
  BlendArea(dst, src, *area);
  if (Reflect) ReflectArea(dst, src, *area, Dst->Height(), Src->Height());
}

void DrawAlphaBitmap(vcl::TCanvas* Canvas, TBitmap* Bmp, const TRect& R, bool Reflect) {
  if (!Canvas || !Bmp || Bmp->Empty() || R.IsEmpty()) return;
  if (Bmp->PixelFormat() != vcl::pf32bit) {
    Canvas->StretchDraw(R, Bmp);
    return;
  }
  const int width = R.Width(), height = R.Height();
  const auto work = CreateBmp32(width, Reflect ? height + height / 2 : height);
  HDC target = Canvas->Handle();
  HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, width, work->Height(), target, R.Left, R.Top, SRCCOPY);
  const TRect all{0, 0, width, height};
  if (Bmp->Width() == width && Bmp->Height() == height) {
    CopyTransBitmaps(all, all, work.get(), Reflect, Bmp);
  } else if (const auto scaled = StretchBmp32(Bmp, width, height, HALFTONE)) {
    CopyTransBitmaps(all, all, work.get(), false, scaled.get());
  }
  BitBlt(target, R.Left, R.Top, width, work->Height(), workDC, 0, 0, SRCCOPY);
}

}  // namespace skin_layered
