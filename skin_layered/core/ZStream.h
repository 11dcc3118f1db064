// The read-only inflating stream of packed skins: a stream class over any source stream,
// reading one zlib stream from where the source stood at creation (see ZInflate.h).
#pragma once

#include <memory>

#include "classlib/rtl/Streams.h"
#include "classlib/rtl/SysUtils.h"
#include "skin_layered/core/ZInflate.h"

namespace skin_layered {

// A zlib error; ErrorCode is zlib's code (0 for an operation the stream cannot do).
class EZLibError : public vcl::Exception {
 public:
  EZLibError(int Code, const vcl::String& Message) : vcl::Exception(Message), ErrorCode(Code) {}
  const wchar_t* ClassName() const noexcept override { return L"EZLibError"; }
  int ErrorCode;
};

class EZDecompressionError : public EZLibError {
 public:
  using EZLibError::EZLibError;
  const wchar_t* ClassName() const noexcept override { return L"EZDecompressionError"; }
};

// A stream as the byte-level readers' source.
class TStreamInflateSource final : public TInflateSource {
 public:
  explicit TStreamInflateSource(vcl::TStream* Stream) : stream_(Stream) {}
  std::int64_t Read(void* Buffer, std::int64_t Count) override { return stream_->Read(Buffer, Count); }
  std::int64_t Seek(std::int64_t Offset, TSourceOrigin Origin) override;
  std::int64_t Size() override { return stream_->Size(); }

 private:
  vcl::TStream* stream_;
};

// The base of the zlib stream classes: the source and where it was last left.
class TCustomZStream : public vcl::TStream {
  VCL_CLASS(TCustomZStream, vcl::TStream)
 public:
  vcl::TStream* Stream() const { return source_stream_; }
  // Where this stream last left its source.
  int64_t StreamPos() const { return stream_pos_; }
  // Called each time a block of input is taken from the source.
  vcl::TNotifyEvent OnProgress;

 protected:
  explicit TCustomZStream(vcl::TStream* Source);
  void Progress() {
    if (OnProgress) OnProgress(this);
  }

  vcl::TStream* source_stream_;
  int64_t stream_pos_ = 0;
};

class TZDecompressionStream : public TCustomZStream {
  VCL_CLASS(TZDecompressionStream, TCustomZStream)
 public:
  // Starts at the source's current position. Raises EZDecompressionError when zlib cannot
  // start.
  explicit TZDecompressionStream(vcl::TStream* Source);
  ~TZDecompressionStream() override;

  // Corrupt data raises EZDecompressionError with zlib's message.
  int64_t Read(void* Buffer, int64_t Count) override;
  // Raises EZDecompressionError "Invalid ZStream operation!".
  int64_t Write(const void* Buffer, int64_t Count) override;
  // The position in the inflated data. (0, beginning) rewinds to the start of the zlib
  // stream; forward moves read and discard (EReadError when the data ends first); (0, end)
  // reads to the end and gives the size; anything else raises EZDecompressionError
  // "Invalid ZStream operation!".
  int64_t Seek(int64_t Offset, vcl::TSeekOrigin Origin) override;

 private:
  template <class F>
  auto Guarded(F&& f) -> decltype(f());

  std::unique_ptr<TStreamInflateSource> source_;
  std::unique_ptr<TZInflater> inflater_;
};

// Turns a failure of the byte-level reader into the stream classes' exceptions:
// EZDecompressionError, or EReadError "Stream read error" for data that ends too soon.
[[noreturn]] void RaiseInflateError(const EInflateError& Error);

}  // namespace skin_layered
