// The masked and keyed copies of skin images on plain 32-bit pixels, beyond the compositing
// ones (Blending.h): the alpha-keeping masked copy of layered-window images, masked glyphs,
// master-bitmap regions with their mask below, key-colour holes filled from a background, and
// scaled copies of pieces. A skin picture's mask lies MaskOffset rows below the picture; the
// key colour 0xFF00FF marks holes (compared on the colour bytes). Every copy is cut to both
// views (and to the rows that have their mask inside the picture): nothing outside is read
// or written.
#pragma once

#include <cstdint>
#include <vector>

#include "skin_layered/paint/pixels/Blending.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

// A 32-bit image in memory, top-down.
class TPixelBuffer {
 public:
  TPixelBuffer() = default;
  TPixelBuffer(int width, int height);
  const TPixelView& View() const { return view_; }

 private:
  std::vector<TPixel32> pixels_;
  TPixelView view_;
};

// SR of Src onto Dst at (x, y) as it is, alpha included.
void CopyArea(const TPixelView& dst, int x, int y, const TPixelView& src, TPixelRect sr);

// True when the colour bytes are the key colour.
constexpr bool IsKeyPixel(TPixel32 p) { return (p & 0x00FFFFFFu) == 0x00FF00FFu; }

// SR of the picture onto Dst at (x, y), alpha kept for a layered window: for a picture pixel
// that is not the key colour, with m the red of its mask pixel, each colour channel
// d := (d * m + s * (255 - m)) shr 8 and the alpha becomes 255 - m when it was 0, stays 255,
// else the larger of the two. A key-coloured picture pixel takes the background's pixel
// when the background is ready and has one there, else its alpha becomes 0.
void CopyMaskedArea32(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr, int maskOffset,
                      const TBackground& background);

// A masked glyph: every picture pixel that is not the key colour and whose mask red is not
// 255 is mixed into Dst per colour channel, d := ((d - s) * m + s * 256) shr 8 with the
// mask's channel m (Pale: min(m + 100, 255), a paler glyph); the alpha grows by
// (255 - a) * (255 - mask red) shr 8.
void CopyMaskedGlyphArea(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr,
                         int maskOffset, bool pale);

// A region of a master picture whose mask lies in the lower half of SR, onto Dst at (x, y)
// (a negative start on either side moves both). A key-coloured pixel takes FillColor (a
// colour value; kKeyColor for none), or, without one and with a ready background, the
// background's pixel; any other is mixed by the mask, d := ((d - s) * m + s * 256) shr 8 per
// colour channel, alpha kept.
void BlendMasterArea(const TPixelView& dst, int x, int y, const TPixelView& master, TPixelRect sr,
                     const TBackground& background, TColorValue fillColor);

// Over W x H pixels from (x, y) of Dst: every pixel whose reference pixel (the same place
// from (refX, refY) of Reference) is the key colour takes Src's pixel at the same place from
// (srcX, srcY). Without a reference (empty view) Dst's own key-coloured pixels do.
void FillKeyFromSource(const TPixelView& dst, int x, int y, int w, int h, const TPixelView& src, int srcX,
                       int srcY, const TPixelView& reference, int refX, int refY);

// The corner of a control's image whose picture is SR of Picture, at (x, y) of Dst, given
// what lies behind it: the background's pixel where it has one, else FillColor (a colour
// value; kKeyColor for none, which leaves the pixel). Without mask (MaskOffset 0) only the
// pixels whose picture pixel is the key colour take it; with a mask every pixel becomes
// ((b - d) * m + d * 256) shr 8 per colour channel, b what lies behind and m the mask's
// channel, so that white shows the background.
void CornerFromBackground(const TPixelView& dst, int x, int y, const TPixelView& picture, TPixelRect sr,
                          int maskOffset, const TBackground& background, TColorValue fillColor);

// The fading mirror image of a glyph cell below it: target rows from (x, y) down take the
// cell's rows from its bottom up, n + 1 of them with n = min(2 * (source height div 3) - 1,
// the target's height - y - 1); nothing when n < 1. Row j moves the target's colours toward
// the source's by w = ((((n - j) * 255 div n) * a) shr 9) * (100 - Blend) div 100, where a
// starts at 255 and drops by 255 div n after every second row inside the target; source pixels equal to
// Key are skipped, the target's alpha is kept. Rows outside the target are skipped, and a row
// starting left of the target draws nothing.
void ReflectGlyphArea(const TPixelView& dst, int x, int y, const TPixelView& src, TPixelRect cell, TPixel32 key,
                      int blend);

// Runs of pixels within Area whose value, masked by CompareMask, equals (Match) or differs
// from Value masked the same way, one rectangle per run and row, appended to Runs moved by
// (dx, dy). Runs never span rows.
void AppendColorRuns(const TPixelView& view, TPixelRect area, TPixel32 value, TPixel32 compareMask, bool match,
                     int dx, int dy, std::vector<TPixelRect>& runs);

// Text drawn black on white (Coverage, placed at (x, y) of Dst) laid into Dst in a colour:
// every coverage pixel that is not white (with alpha 0 or 255) moves Dst's colour channels
// toward the colour's, c := ((c - k) * t + k * 256) shr 8 with t the coverage's channel and k
// the colour's, and makes Dst's alpha 255.
void DrawCoverage(const TPixelView& dst, int x, int y, const TPixelView& coverage, TColorValue color);

// Piece of Src scaled over Area of Dst by the nearest pixel (as StretchBlt with
// COLORONCOLOR), alpha included; only the part of Area inside Dst is written.
void StretchCopyArea(const TPixelView& dst, TPixelRect area, const TPixelView& src, TPixelRect piece);

// Piece of Src copied whole into a new buffer of at least 2 x 2 pixels (a one-pixel row or
// column doubled) and resampled to Width x Height with the filter. An empty buffer for sizes
// below 2.
TPixelBuffer ResamplePiece(const TPixelView& src, TPixelRect piece, int width, int height, int filter);

}  // namespace skin_layered
