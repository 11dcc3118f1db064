#include "skin_layered/core/ZInflate.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace skin_layered {

// ---------------------------------------------------------------------------------------
// TMemorySource

std::int64_t TMemorySource::Read(void* Buffer, std::int64_t Count) {
  const auto size = static_cast<std::int64_t>(bytes_.size());
  if (Count <= 0 || pos_ >= size) return 0;
  const std::int64_t n = std::min(Count, size - pos_);
  std::copy_n(bytes_.data() + pos_, n, static_cast<std::uint8_t*>(Buffer));
  pos_ += n;
  return n;
}

std::int64_t TMemorySource::Seek(std::int64_t Offset, TSourceOrigin Origin) {
  std::int64_t base = 0;
  if (Origin == TSourceOrigin::Current) base = pos_;
  if (Origin == TSourceOrigin::End) base = static_cast<std::int64_t>(bytes_.size());
  const std::int64_t target = base + Offset;
  if (target < 0) throw EInflateError(TInflateFailure::InvalidOperation, 0, "Invalid stream position");
  pos_ = target;
  return pos_;
}

// ---------------------------------------------------------------------------------------
// TZInflater

struct TZInflater::ZState {
  z_stream stream{};
  std::vector<std::uint8_t> input = std::vector<std::uint8_t>(static_cast<std::size_t>(kInputBufferSize));
};

std::string ZLibMessage(int Code) { return zError(Code); }

namespace {

[[noreturn]] void ZLibFailure(int code) { throw EInflateError(TInflateFailure::ZLib, code, ZLibMessage(code)); }

[[noreturn]] void InvalidOperation() {
  throw EInflateError(TInflateFailure::InvalidOperation, 0, kInvalidZStreamOperation);
}

}  // namespace

TZInflater::TZInflater(TInflateSource& Source)
    : source_(Source), start_pos_(Source.Position()), stream_pos_(start_pos_), z_(std::make_unique<ZState>()) {
  z_->stream.next_in = z_->input.data();
  z_->stream.avail_in = 0;
  // The macro passes the installed zlib's own version and structure size.
  const int result = inflateInit(&z_->stream);
  if (result < 0) ZLibFailure(result);
}

TZInflater::~TZInflater() { inflateEnd(&z_->stream); }

std::int64_t TZInflater::Read(void* Buffer, std::int64_t Count) {
  if (Count <= 0) return 0;
  z_stream& z = z_->stream;
  // Another reader of the same source may have moved it.
  if (source_.Position() != stream_pos_) source_.Seek(stream_pos_, TSourceOrigin::Beginning);

  auto* out = static_cast<std::uint8_t*>(Buffer);
  std::int64_t left = Count;
  while (left > 0 && !ended_) {
    if (z.avail_in == 0) {
      const std::int64_t got = source_.Read(z_->input.data(), kInputBufferSize);
      if (got <= 0) break;
      z.next_in = z_->input.data();
      z.avail_in = static_cast<uInt>(got);
      stream_pos_ = source_.Position();
      if (OnProgress) OnProgress();
    }
    const auto chunk = static_cast<uInt>(std::min<std::int64_t>(left, 1 << 30));
    z.next_out = out;
    z.avail_out = chunk;
    const int result = inflate(&z, Z_NO_FLUSH);
    const std::int64_t produced = chunk - z.avail_out;
    out += produced;
    left -= produced;
    total_out_ += produced;
    if (result < 0) ZLibFailure(result);
    // A stream asking for a preset dictionary can never go on: without this it would be
    // asked again and again.
    if (result == Z_NEED_DICT) ZLibFailure(Z_DATA_ERROR);
    if (result == Z_STREAM_END) ended_ = true;
  }
  if (ended_ && z.avail_in > 0) {
    // Give back what was read beyond the compressed data.
    stream_pos_ = source_.Seek(-static_cast<std::int64_t>(z.avail_in), TSourceOrigin::Current);
    z.avail_in = 0;
  }
  return Count - left;
}

void TZInflater::Discard(std::int64_t Count) {
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min(Count, kSkipBlockSize)));
  while (Count > 0) {
    const std::int64_t n = std::min<std::int64_t>(Count, static_cast<std::int64_t>(block.size()));
    if (Read(block.data(), n) != n)
      throw EInflateError(TInflateFailure::ShortRead, 0, "Stream read error");
    Count -= n;
  }
}

std::int64_t TZInflater::Seek(std::int64_t Offset, TSourceOrigin Origin) {
  if (Origin == TSourceOrigin::Beginning && Offset == 0) {
    inflateReset(&z_->stream);
    z_->stream.next_in = z_->input.data();
    z_->stream.avail_in = 0;
    ended_ = false;
    total_out_ = 0;
    // Back to where this zlib stream began, which need not be the start of the source.
    stream_pos_ = source_.Seek(start_pos_, TSourceOrigin::Beginning);
    return total_out_;
  }
  if (Origin == TSourceOrigin::Current && Offset >= 0) {
    Discard(Offset);
    return total_out_;
  }
  if (Origin == TSourceOrigin::Beginning && Offset > total_out_) {
    Discard(Offset - total_out_);
    return total_out_;
  }
  if (Origin == TSourceOrigin::End && Offset == 0) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(kSkipBlockSize));
    while (Read(block.data(), kSkipBlockSize) > 0) {
    }
    return total_out_;
  }
  InvalidOperation();
}

}  // namespace skin_layered
