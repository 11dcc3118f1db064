// Byte-level picture formats behind the bitmap and icon classes: BMP files and packed
// device-independent bitmaps, icon files, and pixel rows of the bitmap layouts converted
// through 32-bit pixels. Includes no windows.h, so it builds and is fuzzed natively too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vcl::dib {

// Memory layouts of the device-independent bitmaps the bitmap class makes. Rows are
// padded to 4 bytes; 16-bit pixels are little-endian words.
enum class Layout : uint8_t { Mono1, Indexed4, Indexed8, Rgb555, Rgb565, Bgr24, Bgra32 };

// One 32-bit pixel or colour-table entry: blue, green, red, alpha (RGBQUAD order).
struct Rgbq {
  uint8_t b = 0, g = 0, r = 0, a = 0;
  constexpr bool operator==(const Rgbq&) const = default;
};

// The largest picture read or created: per side and in pixels (256 MB at 32 bits).
inline constexpr int kMaxSide = 32768;
inline constexpr int64_t kMaxPixels = int64_t{1} << 26;

int BitsPerPixel(Layout layout);
// Colour-table size of the indexed layouts (2, 16, 256); 0 for the others.
int PaletteSize(Layout layout);
// Bytes per row, padded to 4; 0 for a width outside 1..kMaxSide.
size_t RowStride(Layout layout, int width);
// The colour table a new indexed bitmap starts with: black and white; the 16 VGA colours;
// the 16 VGA colours, a 6x6x6 colour cube and 24 greys.
std::vector<Rgbq> DefaultPalette(Layout layout);

// ---------------------------------------------------------------------------------------
// BMP files and packed DIBs (resource bitmaps: the same without the 14-byte file header).

struct BmpHeader {
  int width = 0;
  int height = 0;              // rows, positive
  bool topDown = false;        // rows stored top row first in the source
  Layout layout = Layout::Bgr24;  // layout of the decoded picture
  std::vector<Rgbq> palette;   // indexed layouts: exactly PaletteSize entries

  // Where and how the source stores its pixels.
  int bitCount = 0;
  uint32_t compression = 0;    // 0 none, 1 RLE8, 2 RLE4, 3 and 6 bit fields
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha (bit-field sources)
  size_t pixelOffset = 0;      // offset of the pixel data in the input
  size_t pixelBytes = 0;       // bytes of pixel data available at pixelOffset
};

// Reads and checks the headers and colour table. Nothing is returned for a picture that is
// not a BMP, is broken (sizes, counts or offsets outside the data) or exceeds the limits.
std::optional<BmpHeader> ReadBmpHeader(std::span<const uint8_t> data, bool withFileHeader);

// Decodes the pixels into bottom-up rows of header.layout with RowStride bytes each; dest
// holds height rows and starts zeroed (run-length pictures may leave pixels unwritten).
// Returns the offset just past the pixel data read, or nothing for broken pixel data.
std::optional<size_t> DecodeBmpPixels(std::span<const uint8_t> data, const BmpHeader& header,
                                      std::span<uint8_t> dest);

// File header, 40-byte info header and colour table (or bit fields) of a BMP file for a
// picture of this layout; the bottom-up rows follow.
std::vector<uint8_t> BmpFileHeaders(Layout layout, int width, int height, std::span<const Rgbq> palette);

// ---------------------------------------------------------------------------------------
// Pixel rows.

// Expands one row to 32-bit pixels. Alpha is kept from 32-bit rows and 0 from the others.
void RowToBgra(Layout layout, const uint8_t* row, int width, std::span<const Rgbq> palette, Rgbq* out);
// Packs 32-bit pixels into one row; indexed layouts take the nearest palette colour.
void BgraToRow(Layout layout, const Rgbq* in, int width, std::span<const Rgbq> palette, uint8_t* row);

// ---------------------------------------------------------------------------------------
// Icon files.

struct IconEntry {
  int width = 0;       // from the image itself where it tells
  int height = 0;
  int bitCount = 0;
  bool png = false;
  size_t offset = 0;   // the image's bytes in the file
  size_t size = 0;
};

// Reads the icon directory; nothing for a file that is not an icon or whose entries lie
// outside the data or hold images that are not well formed.
std::optional<std::vector<IconEntry>> ReadIconDirectory(std::span<const uint8_t> data);
// The entry that best fits a wanted size: nearest size first, then most colours.
size_t BestIconEntry(std::span<const IconEntry> entries, int wantWidth, int wantHeight);

}  // namespace vcl::dib
