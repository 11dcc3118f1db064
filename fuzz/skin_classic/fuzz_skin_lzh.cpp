// LZHUF decoder on any stream: the first four bytes ask for an output size (bounded the
// way the package reader bounds it), the rest is the stream. Up to 64 KiB, the memory
// decode (its output its own history) must give what the callback decode (the ring) gives.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "skin_classic/io/SkinLzh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::span<const std::uint8_t> stream(data + 4, size - 4);
  const std::uint32_t asked = data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t{data[3]} << 24;
  const std::uint64_t bound = std::min<std::uint64_t>(skin_classic::TLZH::MaxExpansion(stream.size()), 1 << 20);
  const std::size_t wanted = static_cast<std::size_t>(asked % (bound + 1));
  const std::vector<std::uint8_t> out = skin_classic::LzhDecodeBytes(stream, wanted);
  if (out.size() != wanted) std::abort();
  if (wanted > 64 * 1024) return 0;
  std::vector<std::uint8_t> ring;
  std::size_t at = 0;
  skin_classic::TLZH lzh;
  lzh.Decode(
      wanted,
      [&](std::uint8_t* buffer, std::size_t count) {
        const std::size_t take = std::min(count, stream.size() - at);
        if (take) std::memcpy(buffer, stream.data() + at, take);
        at += take;
        return take;
      },
      [&](const std::uint8_t* bytes, std::size_t count) {
        ring.insert(ring.end(), bytes, bytes + count);
        return count;
      });
  if (ring != out) std::abort();
  return 0;
}
