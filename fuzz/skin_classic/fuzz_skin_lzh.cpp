// LZHUF decoder on any stream: the first four bytes ask for an output size (bounded the
// way the package reader bounds it), the rest is the stream.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin_classic/io/SkinLzh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::span<const std::uint8_t> stream(data + 4, size - 4);
  const std::uint32_t asked = data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t{data[3]} << 24;
  const std::uint64_t bound = std::min<std::uint64_t>(skin_classic::TLZH::MaxExpansion(stream.size()), 1 << 20);
  const std::size_t wanted = static_cast<std::size_t>(asked % (bound + 1));
  if (skin_classic::LzhDecodeBytes(stream, wanted).size() != wanted) std::abort();
  return 0;
}
