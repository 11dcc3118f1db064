// Errors of the PNG reader and its colour manager. The byte core raises one exception type
// that carries the kind of failure, so the picture class can rethrow it as the class
// library's graphic exception of that kind with the same message.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace skin_layered {

enum class TGraphicErrorKind {
  InvalidGraphic,      // the data is not a readable image
  GraphicCompression,  // the decompressor itself failed
  ColorConversion,     // the colour manager was set up for a conversion it cannot do
};

class EPngError : public std::runtime_error {
 public:
  EPngError(TGraphicErrorKind kind, const std::string& message)
      : std::runtime_error(message), kind_(kind) {}
  TGraphicErrorKind Kind() const noexcept { return kind_; }

 private:
  TGraphicErrorKind kind_;
};

// The English message formats; "%s" is filled in order from the arguments.
namespace png_text {
inline constexpr std::string_view InvalidImage =
    "Cannot load image. Invalid or unexpected %s image format.";
inline constexpr std::string_view CrcError = "Cannot load image. CRC error found in %s file.";
inline constexpr std::string_view NotSupported = "Cannot load image. %s not supported for %s files.";
inline constexpr std::string_view CompressionScheme = "The compression scheme is";
inline constexpr std::string_view InvalidPalette = "Cannot load image. Palette in %s file is invalid.";
inline constexpr std::string_view InvalidColorFormat = "Invalid color format in %s file.";
inline constexpr std::string_view UnknownCriticalChunk =
    "Cannot load PNG image. Unexpected but critical chunk detected.";
inline constexpr std::string_view CompressionError =
    "Cannot load image. Compression error found in %s file.";
inline constexpr std::string_view ExtraCompressedData =
    "Cannot load image. Extra compressed data found in %s file.";
inline constexpr std::string_view LZ77Error = "LZ77 decompression error.";
inline constexpr std::string_view BadBitsPerSample =
    "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
inline constexpr std::string_view BadSampleCount =
    "Sample count per pixel does not correspond to the given color scheme.";
inline constexpr std::string_view NoConverter =
    "Color conversion failed. Could not find a proper method.";
inline constexpr std::string_view IndexedMismatch =
    "Conversion between indexed and non-indexed pixel formats is not supported.";
inline constexpr std::string_view FormatName = "PNG";
}  // namespace png_text

// Fills each "%s" of the format with the next argument; surplus markers stay as they are.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

// Raisers. `GraphicError` fills the format's one marker with "PNG".
[[noreturn]] void GraphicError(std::string_view format);
[[noreturn]] void GraphicErrorFmt(std::string_view format, std::initializer_list<std::string_view> args);
[[noreturn]] void CompressionError(std::string_view message);
[[noreturn]] void ColorConversionError(std::string_view message);

}  // namespace skin_layered
