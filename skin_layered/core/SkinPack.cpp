#include "skin_layered/core/SkinPack.h"

#include <algorithm>
#include <array>

namespace skin_layered {

namespace {

constexpr std::array<char, 4> kPlainMagic{'P', 'M', 'z', 'f'};
constexpr std::array<char, 4> kExtendedMagic{'P', 'M', 'z', 'g'};
constexpr std::int64_t kEntryFixedBytes = 8;  // name length and unpacked size
constexpr std::int64_t kCopyBlock = 65536;

std::int64_t Remaining(TInflateSource& source) { return std::max<std::int64_t>(source.Size() - source.Position(), 0); }

// Where in the pack a fault lies, for the error that reports it.
struct TPlace {
  int entry = -1;
  int count = 0;
  const std::string* name = nullptr;
};

[[noreturn]] void Fail(TPackFault fault, const TPlace& place, std::int64_t claimed = 0, std::int64_t left = 0,
                       int zcode = 0) {
  static constexpr const char* kTexts[] = {"the pack is cut short", "a count is beyond the data",
                                           "an entry is larger than allowed", "the pack is larger than allowed",
                                           "compressed data is damaged"};
  EPackError error(fault, kTexts[static_cast<int>(fault)]);
  error.Entry = place.entry;
  error.Count = place.count;
  if (place.name) {
    error.EntryName = *place.name;
    error.NameRead = true;
  }
  error.Claimed = claimed;
  error.Left = left;
  error.ZLibCode = zcode;
  throw error;
}

void ReadExactly(TInflateSource& source, void* buffer, std::int64_t count, const TPlace& place) {
  if (count > 0 && source.Read(buffer, count) != count) Fail(TPackFault::CutShort, place);
}

std::int32_t ReadInt32(TInflateSource& source, const TPlace& place) {
  std::array<std::uint8_t, 4> b{};
  ReadExactly(source, b.data(), 4, place);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                   static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

// Runs the inflating step; zlib's failures become the pack's.
template <class F>
auto Inflating(const TPlace& place, F&& step) -> decltype(step()) {
  try {
    return step();
  } catch (const EInflateError& e) {
    Fail(TPackFault::Damaged, place, 0, 0, e.Code());
  }
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
  const TPlace header;
  Source.Seek(0, TSourceOrigin::Beginning);
  std::array<char, 4> magic{};
  ReadExactly(Source, magic.data(), 4, header);
  TPackHeader result;
  if (magic == kPlainMagic)
    result.Kind = TPackKind::Plain;
  else if (magic == kExtendedMagic)
    result.Kind = TPackKind::Extended;
  else
    return std::nullopt;
  result.Count = ReadInt32(Source, header);
  if (result.Kind == TPackKind::Extended) {
    std::array<std::uint8_t, 2> skipped{};
    ReadExactly(Source, skipped.data(), 2, header);
  }
  const std::int64_t left = Remaining(Source);
  if (result.Count < 0 || result.Count > left / kEntryFixedBytes)
    Fail(TPackFault::CountBeyondData, header, result.Count, left);
  return result;
}

TPackEntryInfo SkipPackEntry(TInflateSource& Source, int Index, int Count, std::int64_t& Unpacked) {
  TPackEntryInfo entry;
  entry.Index = Index;
  TPlace place{Index, Count, nullptr};
  const std::int32_t nameLength = ReadInt32(Source, place);
  // The name and the unpacked size must still fit.
  if (const std::int64_t left = Remaining(Source); nameLength < 0 || nameLength > left - 4)
    Fail(TPackFault::CountBeyondData, place, nameLength, left);
  entry.Name.resize(static_cast<std::size_t>(nameLength));
  ReadExactly(Source, entry.Name.data(), nameLength, place);
  place.name = &entry.Name;
  entry.Size = ReadInt32(Source, place);
  entry.DataOffset = Source.Position();
  const std::int64_t left = Remaining(Source);
  if (entry.Size > kMaxPackEntrySize) Fail(TPackFault::EntryTooLarge, place, entry.Size, left);
  // Even the best-packed stream cannot give more than this from what is left.
  if (entry.Size < 0 || entry.Size > left * kMaxInflateRatio) Fail(TPackFault::CountBeyondData, place, entry.Size, left);

  // The whole stream is inflated to find its end: bytes beyond the size are passed over (the
  // next entry begins after them), but a stream holding more than any entry may, or taking
  // the pack beyond what all its entries may hold, is refused rather than inflated on and on.
  const std::int64_t produced = Inflating(place, [&] {
    TZInflater inflater(Source);
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(kCopyBlock));
    std::int64_t total = 0;
    while (!inflater.StreamEnded()) {
      const std::int64_t n = inflater.Read(scratch.data(), kCopyBlock);
      if (n == 0) break;
      total += n;
      Unpacked += n;
      if (total > kMaxPackEntrySize) Fail(TPackFault::EntryTooLarge, place, total, left);
      if (Unpacked > kMaxPackUnpackedSize) Fail(TPackFault::PackTooLarge, place, Unpacked, left);
    }
    return total;
  });
  if (produced < entry.Size) Fail(TPackFault::CutShort, place, entry.Size, left);
  return entry;
}

std::vector<TPackEntryInfo> IndexPack(TInflateSource& Source, const TPackHeader& Header) {
  std::vector<TPackEntryInfo> entries;
  std::int64_t unpacked = 0;
  for (int i = 0; i < Header.Count; ++i) entries.push_back(SkipPackEntry(Source, i, Header.Count, unpacked));
  return entries;
}

void CheckPackEntrySize(const TPackEntryInfo& Entry) {
  if (Entry.Size < 0 || Entry.Size > kMaxPackEntrySize)
    Fail(TPackFault::EntryTooLarge, TPlace{Entry.Index, 0, &Entry.Name}, Entry.Size);
}

void UnpackPackEntry(TInflateSource& Source, const TPackEntryInfo& Entry, std::span<std::uint8_t> Into) {
  const TPlace place{Entry.Index, 0, &Entry.Name};
  CheckPackEntrySize(Entry);
  if (static_cast<std::int64_t>(Into.size()) != Entry.Size) Fail(TPackFault::CutShort, place, Entry.Size);
  Source.Seek(Entry.DataOffset, TSourceOrigin::Beginning);
  Inflating(place, [&] {
    TZInflater inflater(Source);
    if (inflater.Read(Into.data(), Entry.Size) != Entry.Size) Fail(TPackFault::CutShort, place, Entry.Size);
    return 0;
  });
}

std::vector<std::uint8_t> UnpackPackEntry(TInflateSource& Source, const TPackEntryInfo& Entry) {
  // Bounded by the size allowed, checked before anything is sized to it.
  CheckPackEntrySize(Entry);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(Entry.Size));
  UnpackPackEntry(Source, Entry, data);
  return data;
}

}  // namespace skin_layered
