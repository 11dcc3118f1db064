// The packed skin file (pmz): a magic ("PMzf" plain, "PMzg" extended with two more header
// bytes), an entry count, then per entry a name length, the name (ANSI bytes), the unpacked
// size and one zlib stream holding at least that many bytes. All integers are 32-bit
// little-endian. Every count, length and size is checked against the bytes that remain
// before anything is read or sized by it.
//
// The format keeps no compressed sizes: the next entry begins where an entry's zlib stream
// ends, so finding the entries inflates every stream once, keeping nothing. An entry's bytes
// are unpacked only when asked for, and no entry may unpack to more than kMaxPackEntrySize:
// a small pack cannot take memory far beyond its own size. No windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
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

// An entry as the walk through the pack finds it.
struct TPackEntryInfo {
  std::string Name;             // as stored
  std::int32_t Size = 0;        // the unpacked size
  std::int64_t DataOffset = 0;  // where its zlib stream begins in the pack
  int Index = 0;                // its place in the pack, from 0
};

// Deflate cannot expand one input byte to more than this many output bytes.
inline constexpr std::int64_t kMaxInflateRatio = 1032;
// The most an entry may unpack to: far beyond any skin picture or description.
inline constexpr std::int64_t kMaxPackEntrySize = std::int64_t{64} << 20;
// The most the entries of a pack may unpack to together (what the walk through it inflates).
inline constexpr std::int64_t kMaxPackUnpackedSize = std::int64_t{256} << 20;

enum class TPackFault {
  CutShort,         // the pack ends inside its header or an entry, or an entry's data gives
                    // fewer bytes than its size
  CountBeyondData,  // the entry count, a name's length or an entry's size claims more than
                    // the bytes left could hold (or is negative)
  EntryTooLarge,    // an entry's size, or the data its stream holds, is beyond kMaxPackEntrySize
  PackTooLarge,     // the entries' data together is beyond kMaxPackUnpackedSize
  Damaged,          // zlib finds an entry's compressed data damaged
};

// What is wrong with a pack and where: enough for a message naming the fault.
class EPackError : public std::runtime_error {
 public:
  EPackError(TPackFault Fault, const std::string& Message) : std::runtime_error(Message), Fault(Fault) {}
  TPackFault Fault;
  int Entry = -1;          // 0-based; -1 for the header
  int Count = 0;           // the entries the header counts (0 before it is read)
  std::string EntryName;   // the entry's name once it is read, else empty
  bool NameRead = false;
  std::int64_t Claimed = 0;  // the count, length or size claimed
  std::int64_t Left = 0;     // the bytes left after the field that claims it
  int ZLibCode = 0;          // Damaged: zlib's code
};

// Reads the header from the source's start. Nullopt when the magic is neither of the two
// (the source is then left after it). Raises EPackError: CutShort when the header is cut
// short, CountBeyondData when the count is negative or could not fit in the bytes that
// follow.
std::optional<TPackHeader> ReadPackHeader(TInflateSource& Source);

// Reads the fields of entry Index (of the header's Count) at the source's position and
// passes over its compressed data, checking that it gives the entry's size, and leaves the
// source right after it. Nothing of the data is kept. Unpacked counts what the walk through
// the pack has inflated so far, this entry's data included. Raises EPackError.
TPackEntryInfo SkipPackEntry(TInflateSource& Source, int Index, int Count, std::int64_t& Unpacked);

// Every entry of the pack after its header, in pack order (EPackError as SkipPackEntry).
std::vector<TPackEntryInfo> IndexPack(TInflateSource& Source, const TPackHeader& Header);

// Unpacks an entry the walk found into Into, which holds exactly its size (at most
// kMaxPackEntrySize). Raises EPackError (CutShort, Damaged) when the data does not give it.
void UnpackPackEntry(TInflateSource& Source, const TPackEntryInfo& Entry, std::span<std::uint8_t> Into);
// Raises EPackError (EntryTooLarge) for a size that is negative or beyond kMaxPackEntrySize.
void CheckPackEntrySize(const TPackEntryInfo& Entry);
std::vector<std::uint8_t> UnpackPackEntry(TInflateSource& Source, const TPackEntryInfo& Entry);

// "Options.dat" in any letter case: the option text of the skin.
bool IsOptionsEntryName(std::string_view Name);
// The name's extension, upper-cased, is ".BMP".
bool IsBitmapEntryName(std::string_view Name);
// ASCII letters upper-cased; other bytes (parts of multi-byte characters) kept.
std::string AsciiUpperCase(std::string_view Text);

}  // namespace skin_layered
