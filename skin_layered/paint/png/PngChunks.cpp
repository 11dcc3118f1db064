#include "skin_layered/paint/png/PngChunks.h"

#include <algorithm>
#include <stdexcept>

#include "skin_layered/paint/png/PngCrc.h"
#include "skin_layered/paint/png/PngError.h"

namespace skin_layered {

bool TPngChunkReader::ReadSignature() {
  if (data_.size() - position_ < sizeof kPngSignature) return false;
  if (!std::equal(std::begin(kPngSignature), std::end(kPngSignature), data_.begin() + position_))
    return false;
  position_ += sizeof kPngSignature;
  return true;
}

bool TPngChunkReader::ReadChunkHeader() {
  const std::size_t left = data_.size() - position_;
  if (left < 8) return false;
  const std::uint8_t* p = data_.data() + position_;
  const std::uint32_t length = ReadBigEndian32(p);
  if (length > 0x7FFFFFFFu || std::size_t{length} + 4 > left - 8) return false;
  length_ = length;
  type_ = ReadBigEndian32(p + 4);
  currentCrc_ = PngUpdateCrc(0xFFFFFFFFu, std::span(p + 4, 4));
  position_ += 8;
  dataPending_ = true;
  return true;
}

bool TPngChunkReader::TryReadChunkData(std::span<const std::uint8_t>& data) {
  if (!dataPending_) throw std::logic_error("PNG chunk data read twice");
  dataPending_ = false;
  data = data_.subspan(position_, length_);
  const std::uint32_t stored = ReadBigEndian32(data_.data() + position_ + length_);
  position_ += std::size_t{length_} + 4;
  return (PngUpdateCrc(currentCrc_, data) ^ 0xFFFFFFFFu) == stored;
}

std::span<const std::uint8_t> TPngChunkReader::ReadChunkData() {
  std::span<const std::uint8_t> chunk;
  if (!TryReadChunkData(chunk)) GraphicError(png_text::CrcError);
  return chunk;
}

void TPngChunkReader::SkipChunk() {
  if (!dataPending_) throw std::logic_error("PNG chunk skipped twice");
  dataPending_ = false;
  position_ += std::size_t{length_} + 4;
}

}  // namespace skin_layered
