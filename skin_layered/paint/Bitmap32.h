// The 32-bit bitmaps the layered engine paints into: making and copying them, reaching their
// rows, and the per-pixel walks over them (colour transforms, channel copies, the half-mask
// alpha). Pixels hold blue, green, red and alpha in bytes 0 to 3. Given a nil or empty
// bitmap, or one of the wrong format, these routines do nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/pixels/PixelTransforms.h"
#include "skin_layered/paint/pixels/PixelView.h"
#include "skin_layered/paint/png/PngImage.h"

namespace skin_layered {

// A new device-independent bitmap of 32 bits per pixel and the given size (negative sizes
// count as 0), all pixels zero.
std::unique_ptr<vcl::TBitmap> CreateBmp32(int Width, int Height);
// A new bitmap with the other's width, height and pixel format.
std::unique_ptr<vcl::TBitmap> CreateBmpLike(vcl::TBitmap* Bmp);
// Target takes the source's pixel format, becomes device-independent, takes its size and
// receives all its pixels.
void CopyBmp(vcl::TBitmap* Target, vcl::TBitmap* Source);
void SetBmp32(vcl::TBitmap* Bmp);

// The address of row 0 and the signed step to the next row (0 for a one-row bitmap); false,
// with empty lines, for a bitmap with no rows. A device bitmap becomes device-independent.
bool InitScanLines(vcl::TBitmap* Bmp, TScanLines& Lines);

// The rows of a 32-bit bitmap as a pixel view; false, with an empty view, for a nil or
// empty bitmap or one of another format.
bool InitPixelView(vcl::TBitmap* Bmp, TPixelView& View);

// A bitmap read as 32-bit pixels: its own rows when it is a 32-bit bitmap, else those of a
// 32-bit copy it keeps (Bmp32Copy with the key colour as holes). Empty for a nil or empty
// bitmap. The caller's bitmap is never changed.
class TPixelSource {
 public:
  explicit TPixelSource(vcl::TBitmap* Bmp);
  const TPixelView& View() const { return view_; }
  bool Empty() const { return view_.Empty(); }

 private:
  std::unique_ptr<vcl::TBitmap> copy_;
  TPixelView view_;
};

// A 32-bit copy of any bitmap. Pixels of a bitmap without alpha become opaque, except, with
// KeyHoles, those of the key colour, which become holes (alpha 0). Nil for an empty bitmap.
std::unique_ptr<vcl::TBitmap> Bmp32Copy(vcl::TBitmap* Bmp, bool KeyHoles);
// The key colour's pixels of a 32-bit bitmap become holes (alpha 0), the rest keep theirs:
// for an opaque picture read in 32 bits, what Bmp32Copy with KeyHoles makes of it in 24.
void MakeKeyHoles(vcl::TBitmap* Bmp);

// Calls Func(pixel, Data) on every pixel of a 32-bit bitmap; unless Key is kNoColor, pixels
// equal to the key colour in pixel byte order, alpha included, are skipped.
void ChangeBitmapPixels(vcl::TBitmap* Bmp, TPixelFunc Func, std::int32_t Data, TColorValue Key);

// Byte Channel (0..3) of every pixel of Target := Source's; both 32-bit, over the area both
// cover.
void CopyChannel(vcl::TBitmap* Target, vcl::TBitmap* Source, unsigned Channel);
// Extract: the 8-bit bitmap's pixels := byte Channel of the 32-bit bitmap's; otherwise the
// other way. Over the area both cover.
void ChannelToPlane(vcl::TBitmap* Bmp32, vcl::TBitmap* Bmp8, unsigned Channel, bool Extract);
// A new 32-bit bitmap of R's width and half its height (rounded down): the upper half of R
// as colour, alpha = 255 - red of the lower half. Nil when either size is 0.
std::unique_ptr<vcl::TBitmap> MaskHalfToAlpha(vcl::TBitmap* Bmp, const vcl::TRect& R);

// Bmp scaled to Width x Height by StretchBlt in the given stretch mode (COLORONCOLOR,
// HALFTONE), colour and alpha alike; a 32-bit bitmap. Nil for an empty bitmap or size.
std::unique_ptr<vcl::TBitmap> StretchBmp32(vcl::TBitmap* Bmp, int Width, int Height, int StretchMode);

}  // namespace skin_layered
