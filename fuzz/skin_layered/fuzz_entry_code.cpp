// The entry-code decoder on any bytes: an instruction it accepts lies inside the bytes and
// within the architecture's length, decodes alike from just its own bytes and not from one
// fewer, and keeps its relative field inside it. An entry it can move is rebuilt in a slot
// (at an address the first bytes choose) with every relative target unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "skin_layered/core/EntryCode.h"

namespace {

using namespace skin_layered;

void Check(bool ok) {
  if (!ok) std::abort();
}

std::int64_t Rel32At(const std::uint8_t* p) {
  std::int32_t v = 0;
  std::memcpy(&v, p, 4);
  return v;
}

void CheckInstruction(std::span<const std::uint8_t> code) {
  TX64Instruction ins;
  if (!DecodeX64Instruction(code, ins)) return;
  Check(ins.Length >= 1 && ins.Length <= 15 && static_cast<std::size_t>(ins.Length) <= code.size());
  Check(ins.RelativeField == -1 || (ins.RelativeField >= 1 && ins.RelativeField + 4 <= ins.Length));
  TX64Instruction alone;
  Check(DecodeX64Instruction(code.first(static_cast<std::size_t>(ins.Length)), alone));
  Check(alone.Length == ins.Length && alone.RelativeField == ins.RelativeField && alone.EndsFlow == ins.EndsFlow);
  Check(!DecodeX64Instruction(code.first(static_cast<std::size_t>(ins.Length) - 1), alone));
}

void CheckSlot(std::span<const std::uint8_t> code, int minBytes, std::uint64_t codeAddress, std::uint64_t slotAddress) {
  TX64Entry entry;
  if (!ReadMovableEntry(code, minBytes, entry)) return;
  Check(entry.Count >= 1 && entry.Count <= TX64Entry::kMaxInstructions && entry.Length >= minBytes);
  Check(static_cast<std::size_t>(entry.Length) <= code.size());
  std::uint8_t slot[kSlotSize];
  if (!BuildPatchSlot(code, entry, codeAddress, slotAddress, 0x140001000, slot)) return;
  const std::uint8_t* moved = slot + kSlotOriginalOffset;
  int offset = 0;
  for (int i = 0; i < entry.Count; ++i) {
    const TX64Instruction& ins = entry.Instructions[static_cast<std::size_t>(i)];
    const std::uint64_t end = static_cast<std::uint64_t>(offset + ins.Length);
    if (ins.RelativeField >= 0) {
      const std::size_t field = static_cast<std::size_t>(offset + ins.RelativeField);
      const std::uint64_t before = codeAddress + end + static_cast<std::uint64_t>(Rel32At(code.data() + field));
      const std::uint64_t after =
          slotAddress + kSlotOriginalOffset + end + static_cast<std::uint64_t>(Rel32At(moved + field));
      Check(before == after);
    }
    offset += ins.Length;
  }
  Check(offset == entry.Length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int minBytes = 1 + data[0] % 16;
  // The slot lies within a few GiB of the code, on either side: some targets reach, some not.
  const std::uint64_t codeAddress = 0x7FF800000000;
  const std::int64_t distance = (static_cast<std::int64_t>(data[1]) - 128) * (std::int64_t{1} << 24) + data[2];
  const std::span<const std::uint8_t> code(data + 3, size - 3);
  CheckInstruction(code);
  CheckSlot(code, minBytes, codeAddress, codeAddress + static_cast<std::uint64_t>(distance));
  CheckSlot(code, 5, codeAddress, codeAddress - 0x10000);
  return 0;
}
