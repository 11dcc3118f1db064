// A thin owner of one zlib inflate stream.
#pragma once

#include <cstdint>
#include <span>

#include <zlib.h>

namespace skin_layered {

class TLZ77Decoder {
 public:
  // FlushMode is zlib's flush argument of every inflate call; with AutoReset the stream is
  // reset before each Decode.
  TLZ77Decoder(int flushMode, bool autoReset);
  ~TLZ77Decoder();
  TLZ77Decoder(const TLZ77Decoder&) = delete;
  TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

  // Raises EGraphicCompression "LZ77 decompression error." when zlib refuses.
  void DecodeInit();
  // Inflates from Source into Dest and moves both past the bytes consumed and produced.
  // The zlib result is kept in ZLibResult(); once it is not Z_OK, later calls do nothing
  // (unless AutoReset).
  void Decode(std::span<const std::uint8_t>& source, std::span<std::uint8_t>& dest);
  // Raises the same error when zlib reports a failure.
  void DecodeEnd();

  std::size_t AvailableInput() const { return stream_.avail_in; }
  std::size_t AvailableOutput() const { return stream_.avail_out; }
  int ZLibResult() const { return result_; }

 private:
  z_stream stream_{};
  int flushMode_;
  bool autoReset_;
  bool initialized_ = false;
  int result_ = Z_OK;
};

}  // namespace skin_layered
