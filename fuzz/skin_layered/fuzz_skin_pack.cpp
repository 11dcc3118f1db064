// The pack reader on any bytes: a header and entries, or a clean failure of the reader's own
// kinds; the entries never hold more than the sizes they claim and the source never moves
// outside the data. Each entry is also read through a second inflater sharing the source,
// with the seek rules exercised.
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
      for (std::int32_t i = 0; i < header->Count; ++i) {
        const TPackEntry entry = ReadPackEntry(source);
        Check(entry.Name.size() <= size);
        Check(static_cast<std::int64_t>(entry.Data.size()) <= static_cast<std::int64_t>(size) * kMaxInflateRatio);
        Check(source.Position() <= static_cast<std::int64_t>(size));
      }
    }
  } catch (const EInflateError&) {
  }
  Seeks(bytes);
  return 0;
}
