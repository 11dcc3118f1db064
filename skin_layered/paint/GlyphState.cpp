#include "skin_layered/paint/GlyphState.h"

#include <algorithm>

#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"

namespace skin_layered {
namespace {

// The hot cell, or Preferred in its place.
int HotCell(bool fourBit, int preferred) {
  const TqvDefaultManager* manager = DefaultManager();
  if (fourBit || !manager || manager->StdGlyphsOrder()) return 0;
  return preferred;
}

}  // namespace

int GlyphCell(int Count, bool Enabled, int State, bool Down, bool FourBit) {
  if (Count <= 0) return -1;
  if (Count == 1) State = 0;
  if (!Enabled) return 0;
  const int down = Down ? 1 : 0;
  switch (State) {
    case 0: return 0;
    case 1: return HotCell(FourBit, 1);
    case 2: return Count > down + 2 ? down + 2 : HotCell(FourBit, std::min(1, Count - 1));
    case 3: return Count > 2 ? 2 : 0;
    default: return -1;
  }
}

void DrawGlyphState(vcl::TBitmap* Glyph, vcl::TBitmap* Target, const vcl::TRect& R, int Count, bool Enabled,
                    int State, int Blend, bool Down, bool Reflect) {
  TPixelView target;
  if (!Glyph || Count <= 0 || !InitPixelView(Target, target)) return;
  const int cell = GlyphCell(Count, Enabled, State, Down, Glyph->PixelFormat() == vcl::pf4bit);
  // A copy, whose pixels of the key colour (the cell's bottom-left pixel's, whatever their
  // alpha) are made one value to be left out.
  const auto copy = Bmp32Copy(Glyph, false);
  TPixelView g;
  if (cell < 0 || !copy || !InitPixelView(copy.get(), g)) return;
  if (Count == 1) State = 0;
  if (State > 0) Blend = 0;
  const int w = g.Width / Count;
  if (w <= 0) return;
  const TPixelRect source{cell * w, 0, (cell + 1) * w, g.Height};
  const TPixel32 key = g.Row(g.Height - 1)[cell * w] & 0x00FFFFFFu;
  for (int y = 0; y < g.Height; ++y)
    for (TPixel32* p = g.Row(y); p != g.Row(y) + g.Width; ++p)
      if ((*p & 0x00FFFFFFu) == key) *p = key;
  int top = R.Top;
  if (Reflect) top -= R.Height() / 8;
  if (Enabled || Blend == 0)
    CopyNonKeyArea(target, g, R.Left, top, source, SwapBytes02(key));
  else
    BlendRectArea(target, R.Left, top, kKeyColor, Blend / 100.0, source, g);
  if (Reflect) ReflectGlyphArea(target, R.Left, top + R.Height(), g, source, key, Blend);
}

}  // namespace skin_layered
