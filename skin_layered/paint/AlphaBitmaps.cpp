#include "skin_layered/paint/AlphaBitmaps.h"

#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered {

void ClearWhitePixels(vcl::TBitmap* Bmp) {
  TScanLines lines;
  if (!Bmp || Bmp->PixelFormat() != vcl::pf32bit || !InitScanLines(Bmp, lines)) return;
  const auto width = static_cast<std::size_t>(Bmp->Width());
  for (int y = 0; y < Bmp->Height(); ++y) {
    auto* row = reinterpret_cast<TPixel32*>(lines.Row(static_cast<std::uint32_t>(y)));
    for (std::size_t x = 0; x < width; ++x)
      if (row[x] == 0x00FFFFFFu) row[x] = 0;
  }
}

}  // namespace skin_layered
