// Writes packed layered skins (pmz): "PMzf" (or "PMzg" with two more header bytes), the entry
// count, then per entry its name length, name, unpacked size and a zlib stream of its bytes.
// The sample skins are packed with it at build time; tests also break packs with it (a wrong
// size or count, a stream of their own). No windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace layeredpack {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text);
// A zlib stream (with header) of the data.
Bytes ZlibCompress(std::span<const std::uint8_t> data, int level = 6);

struct PackEntrySpec {
  std::string name;
  Bytes data;
  std::optional<std::int32_t> declaredSize;  // written instead of data.size()
  std::optional<Bytes> stream;               // written instead of the compressed data
};

// "PMzf" (or "PMzg" with two extra bytes), the count (or declaredCount), the entries.
Bytes WritePack(const std::vector<PackEntrySpec>& entries, bool extended = false,
                std::optional<std::int32_t> declaredCount = std::nullopt);

}  // namespace layeredpack
