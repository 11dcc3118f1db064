#include "skin_layered/core/support/PackWriter.h"

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
