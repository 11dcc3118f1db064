// A read-only inflating reader over a seekable byte source: one zlib stream (with its
// header) is read from where the source stood at creation. Several readers may share one
// source, each putting it back where it left it; a reader that reaches the end of its zlib
// stream returns the input it read ahead, so the source then stands right after the
// compressed data (where a pack keeps its next entry). No windows.h: the stream class of the
// program and the native tests and fuzzer share it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace skin_layered {

enum class TSourceOrigin { Beginning, Current, End };

// What the reader takes its compressed bytes from.
class TInflateSource {
 public:
  virtual ~TInflateSource() = default;
  // Up to Count bytes into Buffer; the count read (0 at the end).
  virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
  // The new position.
  virtual std::int64_t Seek(std::int64_t Offset, TSourceOrigin Origin) = 0;
  virtual std::int64_t Size() = 0;
  std::int64_t Position() { return Seek(0, TSourceOrigin::Current); }
};

// A source over bytes held elsewhere; positions beyond the end read nothing.
class TMemorySource final : public TInflateSource {
 public:
  explicit TMemorySource(std::span<const std::uint8_t> Bytes) : bytes_(Bytes) {}
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, TSourceOrigin Origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::int64_t pos_ = 0;
};

enum class TInflateFailure {
  ZLib,              // zlib reported an error (Code holds it)
  InvalidOperation,  // a seek the reader cannot do, or a write
  ShortRead,         // a forward seek found fewer bytes than it had to skip
};

class EInflateError : public std::runtime_error {
 public:
  EInflateError(TInflateFailure Failure, int Code, const std::string& Message)
      : std::runtime_error(Message), failure_(Failure), code_(Code) {}
  TInflateFailure Failure() const noexcept { return failure_; }
  int Code() const noexcept { return code_; }

 private:
  TInflateFailure failure_;
  int code_;
};

inline constexpr char kInvalidZStreamOperation[] = "Invalid ZStream operation!";

class TZInflater {
 public:
  static constexpr std::int64_t kInputBufferSize = 65536;
  static constexpr std::int64_t kSkipBlockSize = 8192;

  // Remembers the source and its position; raises EInflateError (ZLib) when zlib cannot
  // start.
  explicit TZInflater(TInflateSource& Source);
  ~TZInflater();
  TZInflater(const TZInflater&) = delete;
  TZInflater& operator=(const TZInflater&) = delete;

  // Up to Count inflated bytes; fewer at the end of the zlib stream or of the source.
  // Corrupt data raises EInflateError (ZLib) with zlib's message for the code.
  std::int64_t Read(void* Buffer, std::int64_t Count);
  // The new position in the inflated data. From the beginning with 0: back to the start of
  // the zlib stream. Forward moves read and discard (a short one raises ShortRead); from the
  // end with 0: to the end, giving the inflated size. Anything else raises InvalidOperation.
  std::int64_t Seek(std::int64_t Offset, TSourceOrigin Origin);
  std::int64_t Position() const { return total_out_; }
  // Where this reader last left its source.
  std::int64_t SourcePosition() const { return stream_pos_; }
  // True once zlib has reported the end of the stream.
  bool StreamEnded() const { return ended_; }

  // Called after each block of input is taken from the source.
  std::function<void()> OnProgress;

 private:
  struct ZState;
  void Discard(std::int64_t Count);

  TInflateSource& source_;
  std::int64_t start_pos_;   // where the zlib stream begins in the source
  std::int64_t stream_pos_;  // where this reader last left the source
  std::int64_t total_out_ = 0;
  bool ended_ = false;
  std::unique_ptr<ZState> z_;
};

// zlib's own text for an error code.
std::string ZLibMessage(int Code);

}  // namespace skin_layered
