// A small PNG writer for tests: images of every colour type, bit depth, filter and
// interlace the reader supports, with the chunks laid out as a test wants them (extra
// chunks, IDAT split, damaged CRCs). Compression through zlib; no windows.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin_layered::test {

// The samples of an image as a PNG stores them, one 16-bit slot per sample.
class SampleImage {
 public:
  SampleImage(std::uint32_t width, std::uint32_t height, std::uint8_t colorType, std::uint8_t bitDepth);

  // Every sample from a fixed hash of (x, y, channel, seed), over the depth's whole range.
  static SampleImage Pattern(std::uint32_t width, std::uint32_t height, std::uint8_t colorType,
                             std::uint8_t bitDepth, std::uint32_t seed = 1);

  std::uint32_t Width() const { return width_; }
  std::uint32_t Height() const { return height_; }
  std::uint8_t ColorType() const { return colorType_; }
  std::uint8_t BitDepth() const { return bitDepth_; }
  unsigned Channels() const { return channels_; }
  std::uint16_t At(std::uint32_t x, std::uint32_t y, unsigned channel) const;
  void Set(std::uint32_t x, std::uint32_t y, unsigned channel, std::uint16_t value);

  // The samples of row Y at columns first, first + step, ... packed as a PNG scan line
  // (no filter byte).
  std::vector<std::uint8_t> PackRow(std::uint32_t y, std::uint32_t first = 0, std::uint32_t step = 1) const;
  // Byte distance of the row filters.
  std::size_t FilterBpp() const;

 private:
  std::uint32_t width_, height_;
  std::uint8_t colorType_, bitDepth_;
  unsigned channels_;
  std::vector<std::uint16_t> samples_;
};

// Filter of each row: one type for all, the five types in turn row after row, or per row
// the type whose output has the least sum of absolute (signed) bytes, as encoders choose.
enum class FilterChoice { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4, Cycle = 5, Adaptive = 6 };

// The filtered scan lines (filter byte first), Adam7 passes in order when interlaced.
std::vector<std::uint8_t> FilteredImageData(const SampleImage& image, FilterChoice filter, bool interlaced);
std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data, int level = 6);

struct PngChunk {
  std::string type;
  std::vector<std::uint8_t> data;
  std::optional<std::uint32_t> crc;  // written instead of the right CRC when set
};

PngChunk Chunk(std::string_view type, std::vector<std::uint8_t> data = {});
std::vector<std::uint8_t> Be16(std::initializer_list<std::uint16_t> values);
std::vector<std::uint8_t> Be32(std::uint32_t value);
std::vector<std::uint8_t> IhdrData(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                                   std::uint8_t colorType, std::uint8_t interlace = 0,
                                   std::uint8_t compression = 0);
PngChunk PaletteChunk(std::span<const std::array<std::uint8_t, 3>> colors);

struct PngOptions {
  FilterChoice filter = FilterChoice::None;
  bool interlaced = false;
  int level = 6;
  // Chunks placed between IHDR and the first IDAT (PLTE, tRNS, gAMA, bKGD, others).
  std::vector<PngChunk> beforeImage;
  // Chunks placed between the last IDAT and IEND.
  std::vector<PngChunk> afterImage;
  // Sizes of the IDAT chunks in turn (0 makes an empty one); the rest of the data goes
  // into one more chunk. Empty: one IDAT chunk.
  std::vector<std::size_t> idatSizes;
};

// IHDR, the chunks before the image, IDAT chunks, the chunks after, IEND.
std::vector<PngChunk> MakeChunks(const SampleImage& image, const PngOptions& options = {});
// The IDAT chunks of compressed image data split as the sizes say.
std::vector<PngChunk> SplitIdat(std::span<const std::uint8_t> compressed, std::span<const std::size_t> sizes);
// Signature, then every chunk with its length and CRC.
std::vector<std::uint8_t> Serialize(std::span<const PngChunk> chunks);
std::vector<std::uint8_t> WritePng(const SampleImage& image, const PngOptions& options = {});

// A named set of small PNGs covering every colour type, depth, filter and interlace, with
// palettes, transparency, gamma, background and split image data: fuzz seeds.
struct NamedPng {
  std::string name;
  std::vector<std::uint8_t> bytes;
};
std::vector<NamedPng> SeedPngs();

}  // namespace skin_layered::test
