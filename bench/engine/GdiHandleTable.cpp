#include "bench/engine/GdiHandleTable.h"

#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <cstring>

namespace bench {

namespace {

// An entry of the table, laid out alike by Windows and Wine on x64 (24 bytes): the kernel's
// pointer, the owning process's id, a count, the handle's upper word and the object's type.
struct Entry {
  uint64_t object;
  uint16_t process;
  uint16_t count;
  uint16_t upper;
  uint8_t type;   // 0 for a free entry, 1 for a DC
  uint8_t flags;
  uint64_t user;
};
static_assert(sizeof(Entry) == 24);
constexpr uint8_t kDcType = 1;
constexpr size_t kMaxEntries = 0x10000;
constexpr size_t kTableOffset = 0xF8;  // GdiSharedHandleTable in the x64 process block

}  // namespace

std::optional<GdiHandleCounts> CountGdiHandles() {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
      !basic.PebBaseAddress)
    return std::nullopt;
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const Entry* table = nullptr;
  std::memcpy(&table, peb + kTableOffset, sizeof table);
  if (!table) return std::nullopt;
  // Only as far as the mapping reaches.
  MEMORY_BASIC_INFORMATION region{};
  if (!VirtualQuery(table, &region, sizeof region) || region.State != MEM_COMMIT) return std::nullopt;
  const auto end = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
  const size_t entries = std::min(kMaxEntries, (end - reinterpret_cast<uintptr_t>(table)) / sizeof(Entry));
  // Windows shares one table among a session's processes; Wine's entries carry no owner.
  const auto self = static_cast<uint16_t>(GetCurrentProcessId());
  GdiHandleCounts counts;
  for (size_t i = 0; i < entries; ++i) {
    const Entry& e = table[i];
    if (e.type == 0 || (e.process != 0 && e.process != self)) continue;
    ++(e.type == kDcType ? counts.dcs : counts.objects);
  }
  return counts;
}

}  // namespace bench
