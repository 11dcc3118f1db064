// Packed skins for tests: entries compressed with zlib and laid out as a pack, with hooks to
// break them (a wrong size, a damaged stream, extra bytes). No windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace skin_layered::test {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text);
// A zlib stream (with header) of the data.
Bytes ZlibCompress(std::span<const std::uint8_t> data, int level = 6);
// Data of the given size whose bytes follow a fixed pattern of the seed.
Bytes PatternBytes(std::size_t size, std::uint32_t seed);

struct PackEntrySpec {
  std::string name;
  Bytes data;
  std::optional<std::int32_t> declaredSize;  // written instead of data.size()
  std::optional<Bytes> stream;               // written instead of the compressed data
};

// "PMzf" (or "PMzg" with two extra bytes), the count (or declaredCount), the entries.
Bytes WritePack(const std::vector<PackEntrySpec>& entries, bool extended = false,
                std::optional<std::int32_t> declaredCount = std::nullopt);

// A small complete pack: an option text and two images (one ".bmp", one ".png").
std::vector<PackEntrySpec> SampleEntries();

}  // namespace skin_layered::test
