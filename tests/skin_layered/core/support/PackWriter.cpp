#include "skin_layered/core/support/PackWriter.h"

#include <zlib.h>

#include <algorithm>

namespace skin_layered::test {

Bytes PatternBytes(std::size_t size, std::uint32_t seed) {
  Bytes out(size);
  std::uint32_t x = seed * 2654435761u + 1;
  for (auto& b : out) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<std::uint8_t>(x % 7 == 0 ? x >> 8 : 'a' + x % 3);  // compressible, not trivially
  }
  return out;
}

Bytes ZerosStream(std::int64_t count) {
  z_stream z{};
  deflateInit(&z, 9);
  const Bytes block(1 << 20, 0);
  Bytes out, buffer(1 << 16);
  for (std::int64_t left = count;;) {
    const auto n = static_cast<uInt>(std::min<std::int64_t>(left, static_cast<std::int64_t>(block.size())));
    z.next_in = const_cast<Bytef*>(block.data());
    z.avail_in = n;
    left -= n;
    const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
    int result = Z_OK;
    do {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      result = deflate(&z, flush);
      out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(buffer.size() - z.avail_out));
    } while (z.avail_in > 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    if (flush == Z_FINISH) break;
  }
  deflateEnd(&z);
  return out;
}

std::vector<PackEntrySpec> SampleEntries() {
  const Bytes glyphs = PatternBytes(70000, 2);
  return {
      {"Options.dat", BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\n[BUTTON]\r\nCOLOR=255\r\n"), {}, {}},
      {"button.bmp", PatternBytes(3000, 1), {}, {}},
      // Stored, not compressed: its stream spans more than one block of the reader's input.
      {"glyphs.png", glyphs, {}, ZlibCompress(glyphs, 0)},
  };
}

}  // namespace skin_layered::test
