// Converts rows of raw samples of one layout (colour scheme, samples per pixel, bits per
// sample, byte order) into rows of a bitmap of another layout, optionally through a gamma
// table, and makes palettes for indexed targets.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace skin_layered {

enum class TColorScheme : std::uint8_t {
  Unknown = 0,
  Indexed = 1,
  Gray = 2,
  GrayAlpha = 3,
  RGB = 4,
  RGBA = 5,
  BGR = 6,
  BGRA = 7,
  CMY = 8,
  CMYK = 9,
  CIELab = 10,
  YCbCr = 11,
  PhotoYCC = 12,
};

// Bits of SourceOptions and TargetOptions.
enum TConvertOption : std::uint8_t {
  coAlpha = 0x01,            // derived from the scheme at every converter selection
  coApplyGamma = 0x02,       // target side: colour samples and palettes go through the gamma table
  coNeedByteSwap = 0x04,     // source side: 16-bit samples are big-endian
  coLabByteRange = 0x08,     // source side: CIELab lightness on 0..255, divided by 2.55
  coLabChromaOffset = 0x10,  // source side: CIELab a and b unsigned with an offset of 128
};
using TConvertOptions = std::uint8_t;

// The bitmap pixel format a target layout calls for.
enum class TPixelLayout : std::uint8_t { Custom, Bits1, Bits4, Bits8, Bits15, Bits24, Bits32 };

struct TPaletteEntry {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

// Layout of the colour data given to CreateColorPalette.
enum class TPaletteData : std::uint8_t {
  Bytes3 = 0,  // three bytes per colour
  Bytes4 = 1,  // four bytes per colour, the fourth skipped
};

// One pointer per row: a single span for interleaved samples, or one span per plane.
using TRowSources = std::span<const std::span<const std::uint8_t>>;

class TColorManager {
 public:
  TColorManager();

  std::uint8_t SourceBitsPerSample() const { return sourceBits_; }
  std::uint8_t TargetBitsPerSample() const { return targetBits_; }
  std::uint8_t SourceSamplesPerPixel() const { return sourceSamples_; }
  std::uint8_t TargetSamplesPerPixel() const { return targetSamples_; }
  TColorScheme SourceColorScheme() const { return sourceScheme_; }
  TColorScheme TargetColorScheme() const { return targetScheme_; }
  TConvertOptions SourceOptions() const { return sourceOptions_; }
  TConvertOptions TargetOptions() const { return targetOptions_; }

  // Depths of 1 to 16 and sample counts of 1 to 4 are accepted; other values raise the
  // colour-conversion error and keep the old value.
  void SetSourceBitsPerSample(std::uint8_t bits);
  void SetTargetBitsPerSample(std::uint8_t bits);
  void SetSourceSamplesPerPixel(std::uint8_t samples);
  void SetTargetSamplesPerPixel(std::uint8_t samples);
  void SetSourceColorScheme(TColorScheme scheme);
  void SetTargetColorScheme(TColorScheme scheme);
  void SetSourceOptions(TConvertOptions options);
  void SetTargetOptions(TConvertOptions options);

  // Converts Count target pixels. A target pixel is written only when its bit of Mask is
  // set (bit 7 for pixel 0, rotating right per pixel); the source advances only for
  // written pixels. Raises the colour-conversion error when no converter fits the layouts;
  // std::length_error when a span is too short for the pixels asked for.
  void ConvertRow(TRowSources source, std::span<std::uint8_t> target, std::size_t count,
                  std::uint8_t mask);
  void ConvertRow(std::span<const std::uint8_t> source, std::span<std::uint8_t> target,
                  std::size_t count, std::uint8_t mask);

  TPixelLayout TargetPixelFormat() const;
  std::vector<TPaletteEntry> CreateGrayscalePalette(bool minimumIsWhite) const;
  std::vector<TPaletteEntry> CreateColorPalette(std::span<const std::uint8_t> data,
                                                TPaletteData format, std::size_t colorCount,
                                                bool bgr) const;

  // Values of 0 or less (or not finite) become 1.0 and 2.2; rebuilds the gamma table.
  void SetGamma(float mainGamma, float displayGamma);
  float MainGamma() const { return mainGamma_; }
  float DisplayGamma() const { return displayGamma_; }
  // Until SetGamma is called the table is the one of the defaults at 8 bits, built on first
  // use: most images have no gamma, and the table costs 256 powers.
  const std::array<std::uint8_t, 256>& GammaTable() const;

 private:
  struct TRowView;
  using TConverter = void (TColorManager::*)(const TRowView&, std::uint8_t*, std::size_t,
                                             std::uint8_t) const;

  void MarkChanged() { changed_ = true; }
  void SelectConverter();
  void CheckRowSizes(TRowSources source, std::span<std::uint8_t> target, std::size_t count,
                     std::uint8_t mask) const;
  void BuildYCbCrTables(bool photo);
  std::uint8_t ApplyGammaIfSet(std::uint8_t value) const;
  void FillGammaTable(unsigned sourceBits, unsigned targetBits) const;

  void IndexedPackedToPacked(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  void Indexed16To16(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  void Indexed16ToPacked(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  void IndexedPackedTo16(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  template <int SB, int DB, bool Swap>
  void GrayRow(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  template <int SB, int DB, bool Gamma, bool Swap>
  void RgbFamilyRow(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  bool RgbFastRow(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  template <bool Swap>
  bool WideRgbFastRow(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  template <int SB, bool Swap>
  void CmykRow(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  void CIELabRow(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;
  void YCbCrRow(const TRowView&, std::uint8_t*, std::size_t, std::uint8_t) const;

  void SelectGray();
  void SelectRgbFamily();
  void SelectCmyk();

  bool changed_ = true;
  std::uint8_t sourceBits_ = 8;
  std::uint8_t targetBits_ = 8;
  std::uint8_t sourceSamples_ = 3;
  std::uint8_t targetSamples_ = 3;
  float mainGamma_ = 1.0f;
  float displayGamma_ = 2.2f;
  mutable std::array<std::uint8_t, 256> gammaTable_{};
  mutable bool gammaPending_ = true;  // the default table is not built yet
  float redWeight_ = 0.299f;
  float greenWeight_ = 0.587f;
  float blueWeight_ = 0.114f;
  std::array<int, 256> crToRed_{};
  std::array<int, 256> cbToBlue_{};
  std::array<int, 256> crToGreen_{};
  std::array<int, 256> cbToGreen_{};
  TColorScheme sourceScheme_ = TColorScheme::RGB;
  TColorScheme targetScheme_ = TColorScheme::BGR;
  TConvertOptions sourceOptions_ = 0;
  TConvertOptions targetOptions_ = 0;

  // Set by the converter selection.
  TConverter converter_ = nullptr;
  std::size_t sourceStep_ = 3;  // samples from one source pixel to the next
  std::size_t targetStep_ = 3;
  std::uint8_t sourceChannel_[4] = {0, 1, 2, 3};  // offsets of red, green, blue, alpha
  std::uint8_t targetChannel_[4] = {2, 1, 0, 3};
};

}  // namespace skin_layered
