// Packed skins for tests: the pack writer of the build (which can also break packs: a wrong
// size or count, a stream of the test's own) and some test data. No windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/layeredpack/LayeredPackWriter.h"

namespace skin_layered::test {

using layeredpack::Bytes;
using layeredpack::BytesOf;
using layeredpack::PackEntrySpec;
using layeredpack::WritePack;
using layeredpack::ZlibCompress;

// Data of the given size whose bytes follow a fixed pattern of the seed.
Bytes PatternBytes(std::size_t size, std::uint32_t seed);

// A zlib stream of that many zero bytes (about a thousandth of their size), made block by
// block: the data of a pack bomb.
Bytes ZerosStream(std::int64_t count);

// A small complete pack: an option text and two images (one ".bmp", one ".png").
std::vector<PackEntrySpec> SampleEntries();

}  // namespace skin_layered::test
