#include "skin_layered/core/ZStream.h"

namespace skin_layered {

VCL_CLASS_INFO(TCustomZStream) {}
VCL_CLASS_INFO(TZDecompressionStream) {}

namespace {

vcl::TSeekOrigin ToStreamOrigin(TSourceOrigin origin) {
  switch (origin) {
    case TSourceOrigin::Current: return vcl::soCurrent;
    case TSourceOrigin::End: return vcl::soEnd;
    case TSourceOrigin::Beginning: break;
  }
  return vcl::soBeginning;
}

TSourceOrigin ToSourceOrigin(vcl::TSeekOrigin origin) {
  switch (origin) {
    case vcl::soCurrent: return TSourceOrigin::Current;
    case vcl::soEnd: return TSourceOrigin::End;
    case vcl::soBeginning: break;
  }
  return TSourceOrigin::Beginning;
}

}  // namespace

void RaiseInflateError(const EInflateError& Error) {
  const vcl::String message = vcl::Utf8ToWide(Error.what());
  if (Error.Failure() == TInflateFailure::ShortRead) throw vcl::EReadError(L"Stream read error");
  throw EZDecompressionError(Error.Code(), message);
}

std::int64_t TStreamInflateSource::Seek(std::int64_t Offset, TSourceOrigin Origin) {
  return stream_->Seek(Offset, ToStreamOrigin(Origin));
}

TCustomZStream::TCustomZStream(vcl::TStream* Source) : source_stream_(Source) {
  if (!Source) throw EZDecompressionError(0, L"Invalid ZStream operation!");
  stream_pos_ = Source->Position();
}

template <class F>
auto TZDecompressionStream::Guarded(F&& f) -> decltype(f()) {
  try {
    auto result = f();
    stream_pos_ = inflater_->SourcePosition();
    return result;
  } catch (const EInflateError& e) {
    RaiseInflateError(e);
  }
}

TZDecompressionStream::TZDecompressionStream(vcl::TStream* Source)
    : TCustomZStream(Source), source_(std::make_unique<TStreamInflateSource>(Source)) {
  try {
    inflater_ = std::make_unique<TZInflater>(*source_);
  } catch (const EInflateError& e) {
    RaiseInflateError(e);
  }
  inflater_->OnProgress = [this] {
    stream_pos_ = inflater_->SourcePosition();
    Progress();
  };
}

TZDecompressionStream::~TZDecompressionStream() = default;

int64_t TZDecompressionStream::Read(void* Buffer, int64_t Count) {
  return Guarded([&] { return inflater_->Read(Buffer, Count); });
}

int64_t TZDecompressionStream::Write(const void*, int64_t) {
  throw EZDecompressionError(0, vcl::Utf8ToWide(kInvalidZStreamOperation));
}

int64_t TZDecompressionStream::Seek(int64_t Offset, vcl::TSeekOrigin Origin) {
  return Guarded([&] { return inflater_->Seek(Offset, ToSourceOrigin(Origin)); });
}

}  // namespace skin_layered
