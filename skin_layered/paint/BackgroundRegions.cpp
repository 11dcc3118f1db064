#include "skin_layered/paint/BackgroundRegions.h"

#include <algorithm>
#include <vector>

#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"

namespace skin_layered {
namespace {

constexpr TPixel32 kWholePixel = 0xFFFFFFFFu;

void AppendRects(TRects& rects, const std::vector<TPixelRect>& runs) {
  for (const TPixelRect& r : runs) rects.emplace_back(r.Left, r.Top, r.Right, r.Bottom);
}

// Pixels of a bitmap without alpha are compared by their colour.
TPixel32 CompareMaskOf(vcl::TBitmap* bmp) { return bmp->PixelFormat() == vcl::pf32bit ? kWholePixel : 0x00FFFFFFu; }

}  // namespace

void CollectColorRuns(TRects& Rects, vcl::TBitmap* Bmp, TColorValue Color) {
  const TPixelSource source(Bmp);
  if (source.Empty()) return;
  const TPixelView& view = source.View();
  std::vector<TPixelRect> runs;
  AppendColorRuns(view, {0, 0, view.Width, view.Height}, SwapBytes02(Color), CompareMaskOf(Bmp), true, 0, 0, runs);
  AppendRects(Rects, runs);
}

void CreateRgnFromBmp(HRGN& Rgn, vcl::TBitmap* Bmp, TColorValue Color) {
  const TPixelSource source(Bmp);
  if (source.Empty()) {
    Rgn = CreateRectRgn(0, 0, 0, 0);
    return;
  }
  // The region is built from the runs that stay, in one call.
  const TPixelView& view = source.View();
  std::vector<TPixelRect> kept;
  AppendColorRuns(view, {0, 0, view.Width, view.Height}, SwapBytes02(Color), CompareMaskOf(Bmp), false, 0, 0, kept);
  Rgn = RegionFromRuns(kept, view.Width, view.Height);
}

HRGN RegionFromRuns(const std::vector<TPixelRect>& Runs, int Width, int Height) {
  if (Runs.empty()) return CreateRectRgn(0, 0, 0, 0);
  std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + Runs.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(Runs.size());
  header->nRgnSize = static_cast<DWORD>(Runs.size() * sizeof(RECT));
  header->rcBound = {0, 0, Width, Height};
  auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
  for (std::size_t i = 0; i < Runs.size(); ++i) rects[i] = {Runs[i].Left, Runs[i].Top, Runs[i].Right, Runs[i].Bottom};
  HRGN rgn = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
  return rgn ? rgn : CreateRectRgn(0, 0, 0, 0);
}

void AddMaskCornerRects(TRects& Rects, int Width, const TsMaskData& Image, bool Bottom, int OffsetY) {
  if (!Image.Manager) return;
  const TPixelSource picture(ImagePicture(Image));
  if (picture.Empty()) return;
  const TPixelView& view = picture.View();
  const int stateHeight = Image.R.Height() / std::max(Image.MaskType + 1, 1);
  const int rows = std::max<int>(Bottom ? Image.WidthBottom : Image.WidthTop, 0);
  const int first = Bottom ? Image.R.Top + stateHeight - rows : Image.R.Top;
  if (rows == 0 || first < 0 || first + rows > view.Height) return;
  const int frame = MaskImageWidth(Image);
  const int left = std::max<int>(Image.WidthLeft, 0), right = std::max<int>(Image.WidthRight, 0);
  std::vector<TPixelRect> runs;
  const int dy = OffsetY - first;
  AppendColorRuns(view, {Image.R.Left, first, Image.R.Left + std::min(left, frame), first + rows}, kHolePixel,
                  kWholePixel, true, -Image.R.Left, dy, runs);
  AppendColorRuns(view, {Image.R.Left + std::max(frame - right, 0), first, Image.R.Left + frame, first + rows},
                  kHolePixel, kWholePixel, true, Width - frame - Image.R.Left, dy, runs);
  AppendRects(Rects, runs);
}

}  // namespace skin_layered
