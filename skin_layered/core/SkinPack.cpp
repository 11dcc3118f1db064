#include "skin_layered/core/SkinPack.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace skin_layered {

namespace {

constexpr std::array<char, 4> kPlainMagic{'P', 'M', 'z', 'f'};
constexpr std::array<char, 4> kExtendedMagic{'P', 'M', 'z', 'g'};
constexpr std::int64_t kEntryFixedBytes = 8;  // name length and unpacked size
constexpr std::int64_t kCopyBlock = 65536;

[[noreturn]] void ShortRead() { throw EInflateError(TInflateFailure::ShortRead, 0, "Stream read error"); }

std::int64_t Remaining(TInflateSource& source) { return std::max<std::int64_t>(source.Size() - source.Position(), 0); }

void ReadExactly(TInflateSource& source, void* buffer, std::int64_t count) {
  if (count > 0 && source.Read(buffer, count) != count) ShortRead();
}

std::int32_t ReadInt32(TInflateSource& source) {
  std::array<std::uint8_t, 4> b{};
  ReadExactly(source, b.data(), 4);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                   static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

}  // namespace

std::string AsciiUpperCase(std::string_view Text) {
  std::string s(Text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

bool IsOptionsEntryName(std::string_view Name) { return AsciiUpperCase(Name) == "OPTIONS.DAT"; }

bool IsBitmapEntryName(std::string_view Name) {
  const std::size_t dot = Name.find_last_of(".\\/:");
  return dot != std::string_view::npos && Name[dot] == '.' && AsciiUpperCase(Name.substr(dot)) == ".BMP";
}

std::optional<TPackHeader> ReadPackHeader(TInflateSource& Source) {
  Source.Seek(0, TSourceOrigin::Beginning);
  std::array<char, 4> magic{};
  ReadExactly(Source, magic.data(), 4);
  TPackHeader header;
  if (magic == kPlainMagic)
    header.Kind = TPackKind::Plain;
  else if (magic == kExtendedMagic)
    header.Kind = TPackKind::Extended;
  else
    return std::nullopt;
  header.Count = ReadInt32(Source);
  if (header.Kind == TPackKind::Extended) {
    std::array<std::uint8_t, 2> skipped{};
    ReadExactly(Source, skipped.data(), 2);
  }
  if (header.Count < 0 || header.Count > Remaining(Source) / kEntryFixedBytes) ShortRead();
  return header;
}

TPackEntry ReadPackEntry(TInflateSource& Source) {
  TPackEntry entry;
  const std::int32_t nameLength = ReadInt32(Source);
  // The name and the unpacked size must still fit.
  if (nameLength < 0 || nameLength > Remaining(Source) - 4) ShortRead();
  entry.Name.resize(static_cast<std::size_t>(nameLength));
  ReadExactly(Source, entry.Name.data(), nameLength);
  const std::int32_t size = ReadInt32(Source);
  // Even the best-packed stream cannot give more than this from what is left.
  if (size < 0 || size > Remaining(Source) * kMaxInflateRatio) ShortRead();

  TZInflater inflater(Source);
  // Grown as the bytes arrive, never sized to the claim in advance.
  std::int64_t left = size;
  while (left > 0) {
    const std::int64_t n = std::min(left, kCopyBlock);
    const std::size_t at = entry.Data.size();
    entry.Data.resize(at + static_cast<std::size_t>(n));
    if (inflater.Read(entry.Data.data() + at, n) != n) ShortRead();
    left -= n;
  }
  // Whatever the stream holds beyond the size is passed over, so the source ends up after
  // this entry's compressed data, where the next entry begins.
  std::array<std::uint8_t, 4096> rest{};
  while (!inflater.StreamEnded() && inflater.Read(rest.data(), static_cast<std::int64_t>(rest.size())) > 0) {
  }
  return entry;
}

}  // namespace skin_layered
