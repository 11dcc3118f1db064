#include "skin_layered/paint/png/PngReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <zlib.h>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/paint/png/LZ77Decoder.h"
#include "skin_layered/paint/png/PngChunks.h"
#include "skin_layered/paint/png/PngError.h"
#include "skin_layered/paint/png/PngFilters.h"
#include "skin_layered/paint/png/PngMath.h"
#include "skin_layered/paint/png/WholeInflate.h"

namespace skin_layered {
namespace {

struct TPngHeader {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint8_t BitDepth = 0;
  std::uint8_t ColorType = 0;
  std::uint8_t Compression = 0;
  std::uint8_t Filter = 0;
  std::uint8_t Interlace = 0;
};

constexpr std::uint32_t kIhdrLength = 13;

TPngHeader ParseHeader(std::span<const std::uint8_t> data) {
  TPngHeader h;
  h.Width = ReadBigEndian32(data.data());
  h.Height = ReadBigEndian32(data.data() + 4);
  h.BitDepth = data[8];
  h.ColorType = data[9];
  h.Compression = data[10];
  h.Filter = data[11];
  h.Interlace = data[12];
  return h;
}

TColorScheme SchemeOfColorType(std::uint8_t colorType) {
  switch (colorType) {
    case 0: return TColorScheme::Gray;
    case 2: return TColorScheme::RGB;
    case 3: return TColorScheme::Indexed;
    case 4: return TColorScheme::GrayAlpha;
    case 6: return TColorScheme::RGBA;
    default: return TColorScheme::Unknown;
  }
}

struct TAdam7Pass {
  std::uint32_t RowStart, ColumnStart, RowStep, ColumnStep;
  std::uint8_t Mask;
};

constexpr TAdam7Pass kAdam7[7] = {
    {0, 0, 8, 8, 0x80}, {0, 4, 8, 8, 0x08}, {4, 0, 8, 4, 0x88}, {0, 2, 4, 4, 0x22},
    {2, 0, 4, 2, 0xAA}, {0, 1, 2, 2, 0x55}, {1, 0, 2, 1, 0xFF},
};

constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return r | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}

constexpr std::uint32_t ColorOf(const TPaletteEntry& e) { return Rgb(e.Red, e.Green, e.Blue); }

using TBgraPixel = std::array<std::uint8_t, 4>;  // blue, green, red, alpha

// Palette indices of Bits bits each, packed from the high bits of each byte, written out as
// the 32-bit pixels Colors gives for them. With a Mask other than 0xFF only the pixels whose
// bit is set are written (bit 7 for pixel 0, rotating right per pixel), and the source
// advances only for them: the pixels of one Adam7 pass.
void ExpandIndices(const std::uint8_t* source, unsigned bits, std::uint8_t* target, std::size_t count,
                   std::uint8_t mask, const std::array<TBgraPixel, 256>& colors) {
  // Rows of a caller's bitmap need not be 4-byte aligned.
  auto put = [target, &colors](std::size_t x, unsigned index) { std::memcpy(target + 4 * x, colors[index].data(), 4); };
  if (mask == 0xFF && bits == 8) {
    for (std::size_t x = 0; x < count; ++x) put(x, source[x]);
    return;
  }
  const unsigned perByte = 8 / bits;
  if (mask == 0xFF) {
    for (std::size_t x = 0; x < count; ++source) {
      unsigned byte = *source;
      for (unsigned k = 0; k < perByte && x < count; ++k, ++x) {
        put(x, byte >> (8 - bits));
        byte = (byte << bits) & 0xFFu;
      }
    }
    return;
  }
  const unsigned valueMask = (1u << bits) - 1;
  std::size_t s = 0;
  for (std::size_t x = 0; x < count; ++x) {
    if (!(mask & (0x80u >> (x % 8)))) continue;
    const unsigned shift = 8 - bits * (static_cast<unsigned>(s % perByte) + 1);
    put(x, (source[s / perByte] >> shift) & valueMask);
    ++s;
  }
}

constexpr std::string_view kPreparing = "Preparing...";
constexpr std::string_view kTransfering = "Transfering...";

}  // namespace

// The state of one load: the chunk walk, the inflater, the row buffers and what the
// ancillary chunks said.
class TPngLoad {
 public:
  TPngLoad(TPNGReader& reader, std::span<const std::uint8_t> data, IPngImageTarget& target)
      : reader_(reader), data_(data), target_(target), chunks_(data) {}

  std::size_t Run();

 private:
  void Body();
  void NextHeader();
  void ReadHeader();
  std::size_t SetupColorDepth(std::uint8_t colorType, std::uint8_t bitDepth);
  void ReadPalette();
  void ReadGamma();
  void ReadBackground();
  void ReadTransparency();
  void ReadImageData();
  std::size_t PassRowBytes(const TAdam7Pass& pass) const;
  std::uint64_t RawImageBytes() const;
  bool DecodeWhole(const TScanLines& lines);
  void DecodeRows(const TScanLines& lines);
  void DecodeInterlaced(const TScanLines& lines);
  bool ReadRow(std::span<std::uint8_t> row);
  void ConvertRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes, const TScanLines& lines,
                  std::uint32_t y, std::uint8_t mask);
  void ConvertPaethPair(std::uint8_t* row, const std::uint8_t* prior, const TScanLines& lines, std::uint32_t y);
  void SetupPaletteColors(TPixelLayout indexedFormat);
  std::optional<std::uint8_t> TargetIndexOf(std::uint16_t sample) const;
  std::uint32_t ResolveBackground() const;
  std::uint32_t ResolveTransparent() const;
  std::uint8_t BackgroundSample(std::span<const std::uint8_t> data, std::size_t offset) const;
  void Notify(TProgressStage stage, std::string_view message);
  TColorManager& Colors() { return reader_.colorManager_; }

  TPNGReader& reader_;
  std::span<const std::uint8_t> data_;
  IPngImageTarget& target_;
  TPngChunkReader chunks_;
  TPngHeader header_;
  std::unique_ptr<TLZ77Decoder> decoder_;
  std::span<const std::uint8_t> idat_;  // image data of the current IDAT not yet inflated
  std::vector<std::uint8_t> rows_[2];   // current and previous raw row, swapped per row
  std::uint64_t rowBytes_ = 0;  // a whole raw row: the filter byte, then the samples
  std::uint32_t rowsDecoded_ = 0;  // rows of a plain (not interlaced) image written so far
  bool swapOnly_ = false;       // rows need nothing but red and blue exchanged
  bool widened_ = false;        // and 3-byte pixels go out as 4 bytes, the fourth 255
  bool paletteWide_ = false;    // palette indices go out as 32-bit pixels through paletteColors_
  std::array<TBgraPixel, 256> paletteColors_{};
  std::size_t sourceBpp_ = 1;
  bool depthSetUp_ = false;
  bool imageRead_ = false;
  TPixelLayout format_ = TPixelLayout::Custom;
  std::vector<TPaletteEntry> palette_;
  std::size_t paletteCount_ = 0;  // colours the PLTE gave
  std::uint32_t background_ = 0xFFFFFF;
  std::optional<std::uint16_t> greyBackground_;
  std::optional<std::uint8_t> paletteBackground_;
  std::optional<std::uint16_t> greyTransparent_;
  std::optional<std::uint32_t> rgbTransparent_;
  TProgressRect progress_;
};

void TPngLoad::Notify(TProgressStage stage, std::string_view message) {
  if (reader_.OnProgress) reader_.OnProgress(TPngProgress{stage, 0, false, progress_, message});
}

std::size_t TPngLoad::Run() {
  if (!reader_.IsValid(data_)) GraphicError(png_text::InvalidImage);
  progress_ = {0, 0, static_cast<std::int32_t>(std::min<std::uint32_t>(reader_.properties_.Width, INT32_MAX)), 1};
  Notify(TProgressStage::Starting, kPreparing);
  reader_.alphaTable_.fill(255);

  std::exception_ptr failure;
  try {
    Body();
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    if (decoder_ && !failure) decoder_->DecodeEnd();
  } catch (...) {
    failure = std::current_exception();
  }
  decoder_.reset();
  Notify(TProgressStage::Ending, {});
  if (failure) std::rethrow_exception(failure);
  return chunks_.Position();
}

void TPngLoad::NextHeader() {
  if (!chunks_.ReadChunkHeader()) GraphicError(png_text::InvalidImage);
}

void TPngLoad::ReadHeader() {
  chunks_.ReadSignature();
  NextHeader();
  header_ = ParseHeader(chunks_.ReadChunkData());
  // Each load starts from a fresh colour manager, so nothing of an earlier image (its gamma
  // above all) carries over. 16-bit samples arrive big-endian.
  reader_.colorManager_ = TColorManager();
  Colors().SetSourceOptions(coNeedByteSwap);
  const TPngLimits& limits = reader_.Limits;
  if (header_.Width > limits.MaxSide || header_.Height > limits.MaxSide ||
      std::uint64_t{header_.Width} * header_.Height > limits.MaxPixels)
    GraphicError(png_text::InvalidImage);
}

void TPngLoad::Body() {
  ReadHeader();
  if (reader_.properties_.Compression != TPngCompression::LZ77)
    GraphicErrorFmt(png_text::NotSupported, {png_text::CompressionScheme, png_text::FormatName});
  NextHeader();
  for (;;) {
    if (chunks_.Is(ctIDAT) && !imageRead_) {
      Notify(TProgressStage::Ending, {});
      ReadImageData();
      imageRead_ = true;
      // The chunk after the image data is handled below like any other.
    } else if (chunks_.Is(ctPLTE)) {
      ReadPalette();
      NextHeader();
      continue;
    } else if (chunks_.Is(ctgAMA)) {
      ReadGamma();
      NextHeader();
      continue;
    } else if (chunks_.Is(ctbKGD)) {
      ReadBackground();
      NextHeader();
      continue;
    } else if (chunks_.Is(cttRNS)) {
      ReadTransparency();
      NextHeader();
      continue;
    }
    // Any other chunk; image data after the image has been read counts as unexpected.
    const bool end = chunks_.Is(ctIEND);
    const bool critical = chunks_.IsCritical();
    chunks_.SkipChunk();
    if (end) break;
    if (critical) GraphicErrorFmt(png_text::UnknownCriticalChunk, {});
    NextHeader();
  }
  // A file without image data is not an image, even when its chunks are in order.
  if (!imageRead_) GraphicError(png_text::InvalidImage);
}

std::size_t TPngLoad::SetupColorDepth(std::uint8_t colorType, std::uint8_t bitDepth) {
  TColorManager& cm = Colors();
  auto set = [&](TColorScheme source, std::uint8_t sourceSamples, TColorScheme target,
                 std::uint8_t targetSamples, std::uint8_t targetBits) {
    cm.SetSourceColorScheme(source);
    cm.SetSourceSamplesPerPixel(sourceSamples);
    cm.SetSourceBitsPerSample(bitDepth);
    cm.SetTargetColorScheme(target);
    cm.SetTargetSamplesPerPixel(targetSamples);
    cm.SetTargetBitsPerSample(targetBits);
  };
  const bool depth8or16 = bitDepth == 8 || bitDepth == 16;
  std::size_t bpp = 0;
  switch (colorType) {
    case 0:
      if (bitDepth != 1 && bitDepth != 2 && bitDepth != 4 && !depth8or16) break;
      set(TColorScheme::Gray, 1, TColorScheme::Gray, 1,
          bitDepth == 2 ? 4 : bitDepth == 16 ? 8 : bitDepth);
      palette_ = cm.CreateGrayscalePalette(false);
      bpp = (bitDepth + 7) / 8;
      break;
    case 2:
      if (!depth8or16) break;
      if (reader_.RgbAs32Bits) set(TColorScheme::RGB, 3, TColorScheme::BGRA, 4, 8);
      else set(TColorScheme::RGB, 3, TColorScheme::BGR, 3, 8);
      bpp = bitDepth * 3 / 8;
      break;
    case 3:
      if (bitDepth != 1 && bitDepth != 2 && bitDepth != 4 && bitDepth != 8) break;
      set(TColorScheme::Indexed, 1, TColorScheme::Indexed, 1, bitDepth == 2 ? 4 : bitDepth);
      bpp = 1;
      break;
    case 4:
      if (!depth8or16) break;
      set(TColorScheme::GrayAlpha, 1, TColorScheme::Indexed, 1, 8);
      palette_ = cm.CreateGrayscalePalette(false);
      bpp = 2 * bitDepth / 8;
      break;
    case 6:
      if (!depth8or16) break;
      set(TColorScheme::RGBA, 4, TColorScheme::BGRA, 4, 8);
      bpp = 4 * bitDepth / 8;
      break;
    default:
      break;
  }
  if (bpp == 0) GraphicError(png_text::InvalidColorFormat);
  format_ = cm.TargetPixelFormat();
  depthSetUp_ = true;
  return bpp;
}

void TPngLoad::ReadPalette() {
  if (chunks_.Length() % 3 != 0) GraphicError(png_text::InvalidPalette);
  const auto data = chunks_.ReadChunkData();
  if (header_.ColorType != 3) return;  // a suggested palette of a colour image: unused
  if (data.empty()) GraphicError(png_text::InvalidPalette);
  sourceBpp_ = SetupColorDepth(header_.ColorType, header_.BitDepth);
  paletteCount_ = std::min<std::size_t>(data.size() / 3, 256);
  palette_ = Colors().CreateColorPalette(data, TPaletteData::Bytes3, data.size() / 3, false);
}

void TPngLoad::ReadGamma() {
  if (chunks_.Length() != 4) GraphicError(png_text::InvalidImage);
  const auto data = chunks_.ReadChunkData();
  const float fileGamma = static_cast<float>(ReadBigEndian32(data.data()) / 100000.0);
  Colors().SetGamma(fileGamma, 2.2f);
  Colors().SetTargetOptions(Colors().TargetOptions() | coApplyGamma);
  reader_.properties_.HasGamma = true;
}

// bKGD and tRNS colour samples: 16-bit values scaled to 8 bits, others by their low byte.
std::uint8_t TPngLoad::BackgroundSample(std::span<const std::uint8_t> data, std::size_t offset) const {
  const std::uint16_t v = ReadBigEndian16(data.data() + offset);
  return header_.BitDepth == 16 ? static_cast<std::uint8_t>(MulDiv16(v, 255, 65535))
                                : static_cast<std::uint8_t>(v);
}

void TPngLoad::ReadBackground() {
  std::uint32_t needed = 0;
  switch (header_.ColorType) {
    case 0: case 4: needed = 2; break;
    case 2: case 6: needed = 6; break;
    case 3: needed = 1; break;
    default: break;  // the colour type itself is refused when the image data comes
  }
  if (needed != 0 && chunks_.Length() != needed) GraphicError(png_text::InvalidImage);
  const auto data = chunks_.ReadChunkData();
  switch (header_.ColorType) {
    case 0: case 4:
      greyBackground_ = ReadBigEndian16(data.data());
      break;
    case 2: case 6:
      background_ = Rgb(BackgroundSample(data, 0), BackgroundSample(data, 2), BackgroundSample(data, 4));
      break;
    case 3:
      paletteBackground_ = data[0];
      break;
    default:
      break;
  }
}

void TPngLoad::ReadTransparency() {
  switch (header_.ColorType) {
    case 0: {
      if (chunks_.Length() != 2) GraphicError(png_text::InvalidImage);
      greyTransparent_ = ReadBigEndian16(chunks_.ReadChunkData().data());
      break;
    }
    case 2: {
      if (chunks_.Length() != 6) GraphicError(png_text::InvalidImage);
      const auto data = chunks_.ReadChunkData();
      rgbTransparent_ = Rgb(BackgroundSample(data, 0), BackgroundSample(data, 2), BackgroundSample(data, 4));
      break;
    }
    case 3: {
      // One alpha per palette entry at most; a longer chunk is cut to the palette.
      const auto data = chunks_.ReadChunkData();
      std::size_t count = std::min<std::size_t>(data.size(), 256);
      if (paletteCount_ != 0) count = std::min(count, paletteCount_);
      std::copy_n(data.begin(), count, reader_.alphaTable_.begin());
      break;
    }
    default:
      chunks_.ReadChunkData();  // no meaning for images with an alpha channel
      break;
  }
}

// The pixel value a grey or palette sample of the file becomes in the bitmap, or none when
// the sample cannot occur at the file's depth.
std::optional<std::uint8_t> TPngLoad::TargetIndexOf(std::uint16_t sample) const {
  switch (header_.BitDepth) {
    case 16: return static_cast<std::uint8_t>(MulDiv16(sample, 255, 65535));
    case 2: if (sample > 3) return std::nullopt; return static_cast<std::uint8_t>(MulDiv16(sample, 15, 3));
    case 1: case 4: case 8:
      if (sample > (1u << header_.BitDepth) - 1) return std::nullopt;
      return static_cast<std::uint8_t>(sample);
    default: return std::nullopt;
  }
}

std::uint32_t TPngLoad::ResolveBackground() const {
  std::optional<std::uint8_t> index;
  if (header_.ColorType == 0 || header_.ColorType == 4) {
    if (greyBackground_) index = TargetIndexOf(*greyBackground_);
  } else if (header_.ColorType == 3) {
    if (paletteBackground_ && *paletteBackground_ < paletteCount_) index = TargetIndexOf(*paletteBackground_);
  } else {
    return background_;
  }
  if (index && *index < palette_.size()) return ColorOf(palette_[*index]);
  return background_;
}

// Transparent colours are compared with converted pixels, so they take the same way: grey
// samples through the grey ramp, colour samples through the gamma table.
std::uint32_t TPngLoad::ResolveTransparent() const {
  if (header_.ColorType == 0 && greyTransparent_) {
    const auto index = TargetIndexOf(*greyTransparent_);
    if (index && *index < palette_.size()) return ColorOf(palette_[*index]);
  } else if (header_.ColorType == 2 && rgbTransparent_) {
    const std::uint32_t c = *rgbTransparent_;
    if (!(reader_.colorManager_.TargetOptions() & coApplyGamma)) return c;
    const auto& g = reader_.colorManager_.GammaTable();
    return Rgb(g[c & 0xFF], g[(c >> 8) & 0xFF], g[(c >> 16) & 0xFF]);
  }
  return kNoColor;
}

void TPngLoad::ReadImageData() {
  Notify(TProgressStage::Starting, kTransfering);
  if (!depthSetUp_) sourceBpp_ = SetupColorDepth(header_.ColorType, header_.BitDepth);
  if (header_.ColorType == 3 && paletteCount_ == 0) GraphicError(png_text::InvalidPalette);
  paletteWide_ = header_.ColorType == 3 && reader_.PaletteAs32Bits;
  if (paletteWide_) {
    SetupPaletteColors(format_);
    format_ = TPixelLayout::Bits32;
  }

  TPngImageLayout layout;
  layout.Width = header_.Width;
  layout.Height = header_.Height;
  layout.Format = format_;
  if (format_ == TPixelLayout::Bits1 || format_ == TPixelLayout::Bits4 || format_ == TPixelLayout::Bits8) {
    layout.Palette = palette_;
    layout.Palette.resize(std::size_t{1} << BitsPerPixel(format_));
  }
  layout.BackgroundColor = ResolveBackground();
  layout.TransparentColor = ResolveTransparent();
  const TScanLines lines = target_.PrepareImage(layout);
  // Pixels no row reaches show the background. A pass of an interlaced image writes only
  // its own pixels, and packed pixels leave the unused bits of a row's last byte: those
  // bitmaps are filled first. Rows of whole bytes are written whole, so only the rows the
  // image data does not reach are filled, once it ends or fails: a pass less over the bitmap.
  const bool fillFirst = header_.Interlace == 1 || BitsPerPixel(format_) % 8 != 0;
  if (fillFirst) FillBackground(lines, layout);
  rowsDecoded_ = 0;
  const vcl::TScopeExit fillRest([&] {
    if (!fillFirst) FillBackground(lines, layout, rowsDecoded_);
  });

  // Sized in 64 bits before anything is made.
  const std::uint64_t samples = header_.BitDepth == 16 ? sourceBpp_ / 2 : sourceBpp_;
  rowBytes_ = (std::uint64_t{header_.Width} * header_.BitDepth + 7) / 8 * samples + 1;
  swapOnly_ = header_.BitDepth == 8 && (header_.ColorType == 2 || header_.ColorType == 6) &&
              !(Colors().TargetOptions() & coApplyGamma);
  widened_ = swapOnly_ && header_.ColorType == 2 && format_ == TPixelLayout::Bits32;

  if (lines.Line0 != nullptr && !DecodeWhole(lines)) {
    // The streaming road: two raw rows, current and previous, swapped per row.
    rows_[0].assign(static_cast<std::size_t>(rowBytes_), 0);
    rows_[1].assign(static_cast<std::size_t>(rowBytes_), 0);
    if (header_.Interlace == 1) DecodeInterlaced(lines);
    else DecodeRows(lines);
    rows_[0] = {};
    rows_[1] = {};
  }
  // Image data beyond the last row is ignored.
  while (chunks_.Is(ctIDAT)) {
    chunks_.ReadChunkData();
    NextHeader();
  }
}

std::size_t TPngLoad::PassRowBytes(const TAdam7Pass& p) const {
  const std::uint64_t samples = header_.BitDepth == 16 ? sourceBpp_ / 2 : sourceBpp_;
  const std::uint64_t columns = (std::uint64_t{header_.Width} + p.ColumnStep - 1 - p.ColumnStart) / p.ColumnStep;
  return static_cast<std::size_t>((columns * header_.BitDepth + 7) / 8 * samples + 1);
}

// The raw bytes of every row of the image, or of every pass.
std::uint64_t TPngLoad::RawImageBytes() const {
  if (header_.Interlace != 1) return rowBytes_ * header_.Height;
  std::uint64_t total = 0;
  for (const TAdam7Pass& p : kAdam7) {
    if (header_.Width <= p.ColumnStart || header_.Height <= p.RowStart) continue;
    const std::uint64_t rows = (std::uint64_t{header_.Height} - p.RowStart + p.RowStep - 1) / p.RowStep;
    total += rows * PassRowBytes(p);
  }
  return total;
}

// The fast road for sound image data of moderate size: every IDAT chunk's data at once,
// inflated whole, then unfiltered and converted from that one buffer. It is taken only
// when it gives exactly what the streaming road gives: every chunk's CRC right, the stream
// complete, filling the rows exactly and ending at the end of a chunk. Otherwise nothing
// is consumed and the streaming road runs, with its rows and its errors.
bool TPngLoad::DecodeWhole(const TScanLines& lines) {
  const std::uint64_t rawBytes = RawImageBytes();
  if (rawBytes > reader_.Limits.MaxWholeImageBytes) return false;

  TPngChunkReader walk = chunks_;
  std::span<const std::uint8_t> first;
  std::vector<std::uint8_t> joined;
  std::vector<std::size_t> ends;  // where each chunk's data ends in the joined stream
  std::size_t total = 0;
  while (walk.Is(ctIDAT)) {
    std::span<const std::uint8_t> data;
    if (!walk.TryReadChunkData(data)) return false;
    if (ends.size() == 1) joined.assign(first.begin(), first.end());
    if (ends.empty()) first = data;
    else joined.insert(joined.end(), data.begin(), data.end());
    total += data.size();
    ends.push_back(total);
    if (!walk.ReadChunkHeader()) return false;
  }
  const std::span<const std::uint8_t> stream = ends.size() == 1 ? first : std::span<const std::uint8_t>(joined);

  const auto raw = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(rawBytes));
  const std::optional<std::size_t> used = InflateWhole(stream, std::span(raw.get(), static_cast<std::size_t>(rawBytes)));
  // The streaming road reports input left in the chunk where the stream ends.
  if (!used || std::find(ends.begin(), ends.end(), *used) == ends.end()) return false;
  chunks_ = walk;

  std::uint8_t* row = raw.get();
  if (header_.Interlace != 1) {
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(rowBytes_), 0);
    const std::uint8_t* prior = zeros.data();
    for (std::uint32_t y = 0; y < header_.Height;) {
      // Two Paeth rows in a row (the commonest filter of photographs) are decoded at once.
      const bool pair = y + 1 < header_.Height && row[0] == pfPaeth && row[rowBytes_] == pfPaeth;
      if (pair) ConvertPaethPair(row, prior, lines, y);
      else ConvertRow(row, prior, static_cast<std::size_t>(rowBytes_), lines, y, 0xFF);
      const std::uint32_t done = pair ? 2 : 1;
      y += done;
      prior = row + (done - 1) * rowBytes_;
      row += done * rowBytes_;
      rowsDecoded_ = y;
      progress_.Top += static_cast<std::int32_t>(done);
      progress_.Bottom += static_cast<std::int32_t>(done);
    }
    return true;
  }
  const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(rowBytes_), 0);
  for (std::size_t pass = 0; pass < 7; ++pass) {
    const TAdam7Pass& p = kAdam7[pass];
    if (header_.Width <= p.ColumnStart) continue;
    const std::size_t passRowBytes = PassRowBytes(p);
    const std::uint8_t* prior = zeros.data();
    for (std::uint64_t y = p.RowStart; y < header_.Height; y += p.RowStep, prior = row, row += passRowBytes) {
      ConvertRow(row, prior, passRowBytes, lines, static_cast<std::uint32_t>(y), p.Mask);
      if (pass == 6) {
        ++progress_.Top;
        ++progress_.Bottom;
      }
    }
  }
  return true;
}

// The 32-bit pixel of every index the file's depth allows: the colour the indexed bitmap
// would show for it (the palette spread to the bitmap's depth, black past the palette's end),
// opaque.
void TPngLoad::SetupPaletteColors(TPixelLayout indexedFormat) {
  const std::size_t entries = std::size_t{1} << BitsPerPixel(indexedFormat);
  paletteColors_.fill(TBgraPixel{0, 0, 0, 255});
  for (std::uint32_t index = 0; index < (1u << header_.BitDepth); ++index) {
    const std::optional<std::uint8_t> target = TargetIndexOf(static_cast<std::uint16_t>(index));
    if (!target || *target >= entries || *target >= palette_.size()) continue;
    const TPaletteEntry& e = palette_[*target];
    paletteColors_[index] = TBgraPixel{e.Blue, e.Green, e.Red, 255};
  }
}

// Unfilters the raw row (filter byte first) in place and converts it into scan line Y.
void TPngLoad::ConvertRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes,
                          const TScanLines& lines, std::uint32_t y, std::uint8_t mask) {
  const std::span<std::uint8_t> raw(row + 1, rowBytes - 1);
  const std::span<const std::uint8_t> above(prior + 1, rowBytes - 1);
  const std::size_t targetBytes = static_cast<std::size_t>(PixelRowBytes(header_.Width, format_));
  if (swapOnly_ && mask == 0xFF) {
    if (widened_) ApplyFilterWidened(row[0], raw, above, std::span(lines.Row(y), targetBytes));
    else ApplyFilterSwapped(row[0], raw, above, sourceBpp_, std::span(lines.Row(y), targetBytes));
    return;
  }
  ApplyFilter(row[0], raw, above, sourceBpp_);
  if (paletteWide_) {
    ExpandIndices(raw.data(), header_.BitDepth, lines.Row(y), header_.Width, mask,
                  paletteColors_);
    return;
  }
  Colors().ConvertRow(std::span<const std::uint8_t>(raw), std::span(lines.Row(y), targetBytes), header_.Width, mask);
}

// Rows Y and Y + 1, both filtered with Paeth, one after the other in Row (filter bytes
// first), unfiltered at once and converted into scan lines Y and Y + 1.
void TPngLoad::ConvertPaethPair(std::uint8_t* row, const std::uint8_t* prior, const TScanLines& lines, std::uint32_t y) {
  const auto rowBytes = static_cast<std::size_t>(rowBytes_);
  const std::size_t targetBytes = static_cast<std::size_t>(PixelRowBytes(header_.Width, format_));
  const std::span<std::uint8_t> first(row + 1, rowBytes - 1), second(row + rowBytes + 1, rowBytes - 1);
  const std::span<const std::uint8_t> above(prior + 1, rowBytes - 1);
  if (widened_) {
    ApplyPaethPairWidened(first, second, above, std::span(lines.Row(y), targetBytes),
                          std::span(lines.Row(y + 1), targetBytes));
    return;
  }
  if (swapOnly_) {
    ApplyPaethPairSwapped(first, second, above, sourceBpp_, std::span(lines.Row(y), targetBytes),
                          std::span(lines.Row(y + 1), targetBytes));
    return;
  }
  ApplyPaethPair(first, second, above, sourceBpp_);
  if (paletteWide_) {
    for (std::uint32_t k = 0; k < 2; ++k)
      ExpandIndices((k == 0 ? first : second).data(), header_.BitDepth,
                    lines.Row(y + k), header_.Width, 0xFF, paletteColors_);
    return;
  }
  Colors().ConvertRow(std::span<const std::uint8_t>(first), std::span(lines.Row(y), targetBytes), header_.Width, 0xFF);
  Colors().ConvertRow(std::span<const std::uint8_t>(second), std::span(lines.Row(y + 1), targetBytes), header_.Width, 0xFF);
}

void TPngLoad::DecodeRows(const TScanLines& lines) {
  const std::size_t rowBytes = rows_[0].size();
  for (std::uint32_t y = 0; y < header_.Height; ++y) {
    // When the image data runs out, the rows not reached keep the background.
    if (!ReadRow(std::span(rows_[0].data(), rowBytes))) return;
    ConvertRow(rows_[0].data(), rows_[1].data(), rowBytes, lines, y, 0xFF);
    rowsDecoded_ = y + 1;
    std::swap(rows_[0], rows_[1]);
    ++progress_.Top;
    ++progress_.Bottom;
  }
}

void TPngLoad::DecodeInterlaced(const TScanLines& lines) {
  for (std::size_t pass = 0; pass < 7; ++pass) {
    const TAdam7Pass& p = kAdam7[pass];
    if (header_.Width <= p.ColumnStart) continue;
    const std::size_t rowBytes = PassRowBytes(p);
    std::fill_n(rows_[1].begin(), rowBytes, 0);  // no row above the first of a pass
    for (std::uint64_t y = p.RowStart; y < header_.Height; y += p.RowStep) {
      if (!ReadRow(std::span(rows_[0].data(), rowBytes))) return;
      ConvertRow(rows_[0].data(), rows_[1].data(), rowBytes, lines, static_cast<std::uint32_t>(y), p.Mask);
      std::swap(rows_[0], rows_[1]);
      if (pass == 6) {
        ++progress_.Top;
        ++progress_.Bottom;
      }
    }
  }
}

// Inflates one raw row straight into Row, taking IDAT chunks as they come (empty ones
// included). False when the image data ends before the row is full.
bool TPngLoad::ReadRow(std::span<std::uint8_t> row) {
  if (!decoder_) {
    decoder_ = std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, false);
    decoder_->DecodeInit();
  }
  std::span<std::uint8_t> rest = row;
  while (!rest.empty()) {
    while (idat_.empty()) {
      if (!chunks_.Is(ctIDAT)) return false;
      idat_ = chunks_.ReadChunkData();
      NextHeader();
    }
    const std::size_t before = idat_.size() + rest.size();
    decoder_->Decode(idat_, rest);
    const int result = decoder_->ZLibResult();
    if (result == Z_STREAM_END) {
      if (!rest.empty() || !idat_.empty()) GraphicError(png_text::ExtraCompressedData);
      return true;
    }
    // zlib always progresses with input and room; a call that does not is a broken stream.
    if (result != Z_OK || idat_.size() + rest.size() == before) GraphicError(png_text::CompressionError);
  }
  return true;
}

bool TPNGReader::IsValid(std::span<const std::uint8_t> data) {
  properties_ = {};
  TPngChunkReader chunks(data);
  if (!chunks.ReadSignature()) return false;
  if (!chunks.ReadChunkHeader() || !chunks.Is(ctIHDR)) return false;
  properties_.HeaderValid = true;
  if (chunks.Length() != kIhdrLength) return false;
  const TPngHeader h = ParseHeader(chunks.ReadChunkData());
  if (h.Width == 0 || h.Height == 0) return false;
  properties_.Width = h.Width;
  properties_.Height = h.Height;
  properties_.ColorScheme = SchemeOfColorType(h.ColorType);
  properties_.BitsPerSample = h.BitDepth;
  properties_.SamplesPerPixel = h.ColorType == 2 ? 3 : h.ColorType == 6 ? 4 : 1;
  properties_.Compression = h.Compression == 0 ? TPngCompression::LZ77 : TPngCompression::Unknown;
  for (;;) {
    if (!chunks.ReadChunkHeader()) return false;
    if (chunks.Is(ctgAMA)) {
      if (chunks.Length() != 4) return false;
      chunks.ReadChunkData();
      properties_.HasGamma = true;
      return true;
    }
    const bool end = chunks.Is(ctIEND);
    chunks.SkipChunk();
    if (end) return true;
  }
}

std::size_t TPNGReader::LoadFromBytes(std::span<const std::uint8_t> data, IPngImageTarget& target) {
  TPngLoad load(*this, data, target);
  return load.Run();
}

}  // namespace skin_layered
