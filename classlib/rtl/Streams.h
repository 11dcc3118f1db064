// Streams: sequential and random access to bytes in memory, files and resources.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "classlib/rtl/Object.h"

namespace vcl {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };
using enum TSeekOrigin;

// Every stream refuses a position before its start with EStreamError "Invalid stream
// position"; positions past the end are allowed (reading there gives nothing, writing there
// fills the gap with zeros where the stream can grow).
class TStream : public TObject {
  VCL_CLASS(TStream, TObject)

 public:
  // Reads/writes up to Count bytes; returns the count transferred (short at the end).
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // Returns the new position; positions are 64-bit and never negative.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  // Exactly Count bytes or EReadError "Stream read error" / EWriteError "Stream write error".
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize);
  // Copies Count bytes from Source's position (Count 0: all of Source from its start).
  int64_t CopyFrom(TStream* Source, int64_t Count);
};

// A stream in a growable block of memory.
class TMemoryStream : public TStream {
  VCL_CLASS(TMemoryStream, TStream)
 public:
  TMemoryStream() = default;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  // Growing fills with zeros; shrinking below the position moves it to the new end. A size
  // that cannot be allocated raises EStreamError "Out of memory while expanding memory stream".
  void SetSize(int64_t NewSize) override;

  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  std::span<const uint8_t> Bytes() const { return data_; }
  void Clear();
  // Replaces the content with all of Stream (from its start).
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

 private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};

// Open modes of file streams: one access mode or fmCreate, plus one sharing mode.
inline constexpr uint16_t fmCreate = 0xFF00;
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;

// A stream on a file. fmCreate makes (or empties) the file for reading and writing; failures
// raise EFCreateError "Cannot create file "%s". %s" or EFOpenError "Cannot open file "%s". %s"
// with the system's reason.
class TFileStream : public TStream {
  VCL_CLASS(TFileStream, TStream)
 public:
  TFileStream(const String& FileName, uint16_t Mode);

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override;
  // Raises EStreamError with the system's reason when the file cannot take the size.
  void SetSize(int64_t NewSize) override;

  const String& FileName() const { return file_name_; }
  void* Handle() const { return handle_.get(); }

 private:
  struct HandleCloser {
    void operator()(void* h) const;
  };
  String file_name_;
  std::unique_ptr<void, HandleCloser> handle_;
};

// A memory stream holding the bytes of a text in an encoding (the ANSI code page unless
// given); DataString decodes all of it.
class TStringStream : public TMemoryStream {
  VCL_CLASS(TStringStream, TMemoryStream)
 public:
  TStringStream() = default;
  explicit TStringStream(const String& AString, const TEncoding* AEncoding = nullptr);
  explicit TStringStream(std::string_view Bytes, const TEncoding* AEncoding = nullptr);

  String DataString() const;
  const TEncoding* Encoding() const { return encoding_; }
  // Writes the encoded text at the position.
  void WriteString(const String& AString);
  // Decodes up to Count bytes from the position.
  String ReadString(int64_t Count);

 private:
  const TEncoding* encoding_ = TEncoding::Default;
};

// A read-only stream over a resource of a module (RT_RCDATA and the like), by name or
// number; a missing resource raises EResNotFound "Resource %s not found", writing raises
// EStreamError "Can't write to a read-only resource stream".
class TResourceStream : public TStream {
  VCL_CLASS(TResourceStream, TStream)
 public:
  TResourceStream(void* Instance, const String& ResName, const wchar_t* ResType);
  TResourceStream(void* Instance, int ResID, const wchar_t* ResType);

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t NewSize) override;

  const uint8_t* Memory() const { return data_.data(); }

 private:
  void Load(void* Instance, const wchar_t* Name, const wchar_t* ResType, const String& ShownName);
  std::span<const uint8_t> data_;
  int64_t pos_ = 0;
};

}  // namespace vcl
