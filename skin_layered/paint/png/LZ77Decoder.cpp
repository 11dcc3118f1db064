#include "skin_layered/paint/png/LZ77Decoder.h"

#include <algorithm>
#include <limits>

#include "skin_layered/paint/png/PngError.h"

namespace skin_layered {

TLZ77Decoder::TLZ77Decoder(int flushMode, bool autoReset)
    : flushMode_(flushMode), autoReset_(autoReset) {}

TLZ77Decoder::~TLZ77Decoder() {
  if (initialized_) inflateEnd(&stream_);
}

void TLZ77Decoder::DecodeInit() {
  if (initialized_) {
    inflateEnd(&stream_);
    initialized_ = false;
  }
  stream_ = z_stream{};
  result_ = inflateInit(&stream_);
  if (result_ < 0) CompressionError(png_text::LZ77Error);
  initialized_ = true;
}

void TLZ77Decoder::Decode(std::span<const std::uint8_t>& source, std::span<std::uint8_t>& dest) {
  if (!initialized_) {
    result_ = Z_STREAM_ERROR;
    return;
  }
  // zlib counts in 32 bits; callers never pass more than one chunk or one row at a time.
  constexpr std::size_t kMax = std::numeric_limits<uInt>::max();
  stream_.next_in = const_cast<Bytef*>(source.data());
  stream_.avail_in = static_cast<uInt>(std::min(source.size(), kMax));
  // Without a reset a stream that has ended or failed stays so: its result is kept.
  if (autoReset_) result_ = inflateReset(&stream_);
  if (result_ != Z_OK) return;
  stream_.next_out = dest.data();
  stream_.avail_out = static_cast<uInt>(std::min(dest.size(), kMax));
  const uInt inBefore = stream_.avail_in;
  const uInt outBefore = stream_.avail_out;
  result_ = inflate(&stream_, flushMode_);
  source = source.subspan(inBefore - stream_.avail_in);
  dest = dest.subspan(outBefore - stream_.avail_out);
}

void TLZ77Decoder::DecodeEnd() {
  result_ = inflateEnd(&stream_);
  initialized_ = false;
  if (result_ < 0) CompressionError(png_text::LZ77Error);
}

}  // namespace skin_layered
