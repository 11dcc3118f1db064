// The PNG reader: validates a PNG held in memory and decodes it into a bitmap given by an
// IPngImageTarget. It keeps the image properties of the last validation and owns the
// colour manager that turns decoded rows into the bitmap's pixel format.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "skin_layered/paint/png/ColorManager.h"
#include "skin_layered/paint/png/PngImage.h"

namespace skin_layered {

enum class TPngCompression : std::uint8_t { Unknown, LZ77 };

// What validation learns of an image; copied along when a picture is assigned.
struct TPngImageProperties {
  bool HeaderValid = false;
  bool HasGamma = false;
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  TColorScheme ColorScheme = TColorScheme::Unknown;
  std::uint8_t BitsPerSample = 0;
  std::uint8_t SamplesPerPixel = 0;
  TPngCompression Compression = TPngCompression::Unknown;
  friend bool operator==(const TPngImageProperties&, const TPngImageProperties&) = default;
};

// Images beyond these are refused as invalid before anything is sized to them.
struct TPngLimits {
  std::uint32_t MaxSide = 32768;
  std::uint64_t MaxPixels = std::uint64_t{64} << 20;  // 256 MiB at 32 bits per pixel
  // Raw image data up to this size is inflated at once and unfiltered from one buffer;
  // larger images stream row by row, so memory stays near the bitmap's own.
  std::uint64_t MaxWholeImageBytes = std::uint64_t{64} << 20;
};

enum class TProgressStage : std::uint8_t { Starting, Running, Ending };

struct TProgressRect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TProgressRect&, const TProgressRect&) = default;
};

struct TPngProgress {
  TProgressStage Stage = TProgressStage::Starting;
  std::uint8_t PercentDone = 0;
  bool RedrawNow = false;
  TProgressRect Rect;
  std::string_view Message;
};

class TPNGReader {
 public:
  TPNGReader() = default;

  // Checks the signature and IHDR and fills Properties(). The chunk walk stops at gAMA
  // (read, CRC checked) or after IEND. Raises the CRC error for a damaged IHDR or gAMA.
  bool IsValid(std::span<const std::uint8_t> data);

  // Decodes the PNG at the start of Data into the target and returns the bytes it used,
  // up to and including IEND's CRC (so images stored one after another can be read in
  // turn). Raises EPngError; the target keeps whatever was decoded.
  std::size_t LoadFromBytes(std::span<const std::uint8_t> data, IPngImageTarget& target);

  const TPngImageProperties& Properties() const { return properties_; }
  void AssignProperties(const TPngImageProperties& properties) { properties_ = properties; }

  // Alpha per palette index from the last load's tRNS (255 where it gives none).
  const std::array<std::uint8_t, 256>& AlphaTable() const { return alphaTable_; }

  const TColorManager& ColorManager() const { return colorManager_; }

  TPngLimits Limits;
  // Colour images without alpha (red, green and blue of 8 or 16 bits) come as 32-bit pixels,
  // blue, green, red and 255, instead of 24-bit ones: for a target holding every picture in
  // 32 bits, with no widening pass over the bitmap after.
  bool RgbAs32Bits = false;
  // Palette images come as 32-bit pixels too: each index as its colour, blue, green, red and
  // 255 (what the palette bitmap shows when it is copied to 32 bits; the palette's alpha stays
  // in AlphaTable), written while each row is in cache.
  bool PaletteAs32Bits = false;
  // Stage notices of a load: Starting "Preparing...", Ending before the image data,
  // Starting "Transfering..." for it, Ending at the end (also after an error).
  std::function<void(const TPngProgress&)> OnProgress;

 private:
  friend class TPngLoad;
  TPngImageProperties properties_;
  std::array<std::uint8_t, 256> alphaTable_{};
  TColorManager colorManager_;
};

}  // namespace skin_layered
