// The packed skin file (pmz): a magic ("PMzf" plain, "PMzg" extended with two more header
// bytes), an entry count, then per entry a name length, the name (ANSI bytes), the unpacked
// size and one zlib stream holding at least that many bytes. All integers are 32-bit
// little-endian. Every count, length and size is checked against the bytes that remain
// before anything is read or sized by it. No windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin_layered/core/ZInflate.h"

namespace skin_layered {

enum class TPackKind { Plain, Extended };

struct TPackHeader {
  TPackKind Kind = TPackKind::Plain;
  std::int32_t Count = 0;
};

struct TPackEntry {
  std::string Name;                 // as stored
  std::vector<std::uint8_t> Data;   // exactly the unpacked size
};

// Deflate cannot expand one input byte to more than this many output bytes.
inline constexpr std::int64_t kMaxInflateRatio = 1032;

// Reads the header from the source's start. Nullopt when the magic is neither of the two
// (the source is then left after it). Raises EInflateError (ShortRead) when the header is
// cut short or the count is negative or could not fit in the bytes that follow.
std::optional<TPackHeader> ReadPackHeader(TInflateSource& Source);

// Reads the entry at the source's position and leaves the source after its compressed
// data. Raises EInflateError: ShortRead when the entry is cut short, a length or size is
// negative or beyond what the remaining bytes can hold, or the zlib stream gives fewer bytes
// than the size; ZLib for corrupt compressed data.
TPackEntry ReadPackEntry(TInflateSource& Source);

// "Options.dat" in any letter case: the option text of the skin.
bool IsOptionsEntryName(std::string_view Name);
// The name's extension, upper-cased, is ".BMP".
bool IsBitmapEntryName(std::string_view Name);
// ASCII letters upper-cased; other bytes (parts of multi-byte characters) kept.
std::string AsciiUpperCase(std::string_view Text);

}  // namespace skin_layered
