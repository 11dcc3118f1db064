#include "classlib/rtl/Streams.h"

#include <windows.h>
#undef RegisterClass  // winuser.h's macro would rename vcl::RegisterClass in VCL_CLASS_INFO

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace vcl {

VCL_CLASS_INFO(TStream) {}
VCL_CLASS_INFO(TMemoryStream) {}
VCL_CLASS_INFO(TFileStream) {}
VCL_CLASS_INFO(TStringStream) {}
VCL_CLASS_INFO(TResourceStream) {}

namespace {

[[noreturn]] void InvalidPosition() { throw EStreamError(L"Invalid stream position"); }

// The position a seek asks for, refusing positions before the start and overflow.
int64_t SeekTarget(int64_t current, int64_t size, int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : (origin == soCurrent ? current : size);
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) InvalidPosition();
  return target;
}

// Copies from a block of bytes at a position; the count actually read.
int64_t ReadFromBlock(std::span<const uint8_t> data, int64_t& pos, void* buffer, int64_t count) {
  const auto size = static_cast<int64_t>(data.size());
  if (count <= 0 || pos >= size) return 0;
  const int64_t n = std::min(count, size - pos);
  std::memcpy(buffer, data.data() + pos, static_cast<size_t>(n));
  pos += n;
  return n;
}

}  // namespace

// ---- TStream -------------------------------------------------------------------------------

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(L"Stream write error");
}

int64_t TStream::Size() {
  const int64_t pos = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t NewSize) { (void)NewSize; }

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  constexpr int64_t kBlock = 61440;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(Count, kBlock)));
  int64_t left = Count;
  while (left > 0) {
    const int64_t n = std::min(left, kBlock);
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

// ---- TMemoryStream -------------------------------------------------------------------------

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) { return ReadFromBlock(data_, pos_, Buffer, Count); }

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  int64_t end;
  if (__builtin_add_overflow(pos_, Count, &end)) InvalidPosition();
  if (end > Size()) SetSize(end);
  std::memcpy(data_.data() + pos_, Buffer, static_cast<size_t>(Count));
  pos_ = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  pos_ = SeekTarget(pos_, Size(), Offset, Origin);
  return pos_;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) InvalidPosition();
  try {
    if (static_cast<uint64_t>(NewSize) > data_.max_size()) throw std::length_error("size");
    data_.resize(static_cast<size_t>(NewSize));
  } catch (const std::bad_alloc&) {
    throw EStreamError(L"Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError(L"Out of memory while expanding memory stream");
  }
  if (pos_ > NewSize) pos_ = NewSize;
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  const int64_t size = Stream->Size();
  SetSize(size);
  pos_ = 0;
  if (size != 0) Stream->ReadBuffer(data_.data(), size);
}

void TMemoryStream::SaveToStream(TStream* Stream) {
  if (!data_.empty()) Stream->WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TMemoryStream::SaveToFile(const String& FileName) {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file);
}

// ---- TFileStream ---------------------------------------------------------------------------

void TFileStream::HandleCloser::operator()(void* h) const {
  if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

TFileStream::TFileStream(const String& FileName, uint16_t Mode) : file_name_(FileName) {
  static constexpr DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const unsigned shareIndex = (Mode & 0xF0u) >> 4;
  const DWORD share = shareIndex < std::size(kShare) ? kShare[shareIndex] : 0;
  HANDLE h;
  if ((Mode & fmCreate) == fmCreate) {
    h = CreateFileW(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
      throw EFCreateError(Format(L"Cannot create file \"%s\". %s", {FileName, SysErrorMessage(GetLastError())}));
  } else {
    static constexpr DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    const unsigned accessIndex = Mode & 0x3u;
    const DWORD access = accessIndex < std::size(kAccess) ? kAccess[accessIndex] : GENERIC_READ;
    h = CreateFileW(FileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
      throw EFOpenError(Format(L"Cannot open file \"%s\". %s", {FileName, SysErrorMessage(GetLastError())}));
  }
  handle_.reset(h);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  int64_t done = 0;
  auto* out = static_cast<uint8_t*>(Buffer);
  while (done < Count) {
    const DWORD want = static_cast<DWORD>(std::min<int64_t>(Count - done, 1 << 30));
    DWORD got = 0;
    if (!ReadFile(handle_.get(), out + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  int64_t done = 0;
  const auto* in = static_cast<const uint8_t*>(Buffer);
  while (done < Count) {
    const DWORD want = static_cast<DWORD>(std::min<int64_t>(Count - done, 1 << 30));
    DWORD put = 0;
    if (!WriteFile(handle_.get(), in + done, want, &put, nullptr) || put == 0) break;
    done += put;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  LARGE_INTEGER current{}, moved{};
  if (Origin != soBeginning || Offset < 0) {
    // Check the target first: the system refuses negative positions with an error of its own.
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(handle_.get(), zero, &current, FILE_CURRENT)) InvalidPosition();
    SeekTarget(current.QuadPart, Origin == soEnd ? Size() : 0, Offset, Origin);
  }
  LARGE_INTEGER distance;
  distance.QuadPart = Offset;
  const DWORD method = Origin == soBeginning ? FILE_BEGIN : (Origin == soCurrent ? FILE_CURRENT : FILE_END);
  if (!SetFilePointerEx(handle_.get(), distance, &moved, method)) InvalidPosition();
  return moved.QuadPart;
}

int64_t TFileStream::Size() {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle_.get(), &size)) return 0;
  return size.QuadPart;
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) InvalidPosition();
  const int64_t pos = Position();
  Seek(NewSize, soBeginning);
  if (!SetEndOfFile(handle_.get())) {
    const DWORD err = GetLastError();
    Seek(pos, soBeginning);
    throw EStreamError(SysErrorMessage(err));
  }
  Seek(std::min(pos, NewSize), soBeginning);
}

// ---- TStringStream -------------------------------------------------------------------------

TStringStream::TStringStream(const String& AString, const TEncoding* AEncoding)
    : encoding_(AEncoding ? AEncoding : TEncoding::Default) {
  WriteString(AString);
  SetPosition(0);
}

TStringStream::TStringStream(std::string_view Bytes, const TEncoding* AEncoding)
    : encoding_(AEncoding ? AEncoding : TEncoding::Default) {
  WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  SetPosition(0);
}

String TStringStream::DataString() const { return encoding_->GetString(Bytes()); }

void TStringStream::WriteString(const String& AString) {
  const std::vector<uint8_t> bytes = encoding_->GetBytes(AString);
  WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

String TStringStream::ReadString(int64_t Count) {
  const int64_t pos = Position();
  const int64_t n = std::max<int64_t>(0, std::min(Count, Size() - pos));
  if (n == 0) return String();
  const String text = encoding_->GetString(Bytes().subspan(static_cast<size_t>(pos), static_cast<size_t>(n)));
  Seek(n, soCurrent);
  return text;
}

// ---- TResourceStream -----------------------------------------------------------------------

TResourceStream::TResourceStream(void* Instance, const String& ResName, const wchar_t* ResType) {
  Load(Instance, ResName.c_str(), ResType, ResName);
}

TResourceStream::TResourceStream(void* Instance, int ResID, const wchar_t* ResType) {
  Load(Instance, MAKEINTRESOURCEW(ResID), ResType, IntToStr(ResID));
}

void TResourceStream::Load(void* Instance, const wchar_t* Name, const wchar_t* ResType, const String& ShownName) {
  auto module = static_cast<HMODULE>(Instance);
  HRSRC info = FindResourceW(module, Name, ResType);
  HGLOBAL block = info ? LoadResource(module, info) : nullptr;
  const void* bytes = block ? LockResource(block) : nullptr;
  if (!bytes) throw EResNotFound(Format(L"Resource %s not found", {ShownName}));
  // Resources stay mapped as long as their module; nothing to release.
  data_ = std::span<const uint8_t>(static_cast<const uint8_t*>(bytes), SizeofResource(module, info));
}

int64_t TResourceStream::Read(void* Buffer, int64_t Count) { return ReadFromBlock(data_, pos_, Buffer, Count); }

int64_t TResourceStream::Write(const void* Buffer, int64_t Count) {
  (void)Buffer;
  (void)Count;
  throw EStreamError(L"Can't write to a read-only resource stream");
}

int64_t TResourceStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  pos_ = SeekTarget(pos_, Size(), Offset, Origin);
  return pos_;
}

void TResourceStream::SetSize(int64_t NewSize) {
  (void)NewSize;
  throw EStreamError(L"Can't write to a read-only resource stream");
}

}  // namespace vcl
