// The pack reader on any bytes: a header and entries, or a clean failure of the reader's own
// kind; each entry found is unpacked again from where the walk found it, to exactly its size,
// never beyond the size allowed, and the source never moves outside the data. The inflater
// alone is also run over the bytes, with the seek rules exercised.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin_layered/core/SkinPack.h"
#include "skin_layered/core/ZInflate.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Seeks(std::span<const std::uint8_t> bytes) {
  using namespace skin_layered;
  TMemorySource source(bytes);
  source.Seek(static_cast<std::int64_t>(bytes.size() % 7), TSourceOrigin::Beginning);
  try {
    TZInflater inflater(source);
    std::uint8_t block[64];
    inflater.Read(block, sizeof block);
    inflater.Seek(0, TSourceOrigin::End);
    inflater.Seek(0, TSourceOrigin::Beginning);
    Check(inflater.Position() == 0);
    inflater.Seek(3, TSourceOrigin::Current);
  } catch (const EInflateError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skin_layered;
  const std::span<const std::uint8_t> bytes(data, size);
  TMemorySource source(bytes);
  try {
    const auto header = ReadPackHeader(source);
    if (header) {
      Check(header->Count >= 0 && header->Count <= static_cast<std::int64_t>(size) / 8);
      std::int64_t unpacked = 0;
      for (std::int32_t i = 0; i < header->Count; ++i) {
        const TPackEntryInfo entry = SkipPackEntry(source, i, header->Count, unpacked);
        Check(unpacked <= kMaxPackUnpackedSize);
        Check(entry.Name.size() <= size && entry.Index == i);
        Check(entry.Size >= 0 && entry.Size <= kMaxPackEntrySize);
        Check(entry.Size <= static_cast<std::int64_t>(size) * kMaxInflateRatio);
        const std::int64_t after = source.Position();
        Check(after <= static_cast<std::int64_t>(size) && entry.DataOffset <= after);
        Check(static_cast<std::int64_t>(UnpackPackEntry(source, entry).size()) == entry.Size);
        source.Seek(after, TSourceOrigin::Beginning);
      }
    }
  } catch (const EPackError& e) {
    Check(e.Fault == TPackFault::CutShort || e.Fault == TPackFault::CountBeyondData ||
          e.Fault == TPackFault::EntryTooLarge || e.Fault == TPackFault::PackTooLarge ||
          e.Fault == TPackFault::Damaged);
  }
  Seeks(bytes);
  return 0;
}
