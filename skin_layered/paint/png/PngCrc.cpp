#include "skin_layered/paint/png/PngCrc.h"

#include <libdeflate.h>

namespace skin_layered {
namespace {

// x^32 is implied; the remaining terms of the CRC-32 generator polynomial.
constexpr int kPolynomialExponents[] = {0, 1, 2, 4, 5, 7, 8, 10, 11, 12, 16, 22, 23, 26};

constexpr std::uint32_t ReflectedPolynomial() {
  std::uint32_t poly = 0;
  for (int e : kPolynomialExponents) poly |= 1u << (31 - e);
  return poly;
}

constexpr TCrcTable MakeByteTable() {
  TCrcTable table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? ReflectedPolynomial() ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

}  // namespace

const TCrcTable& PngMakeCrcTable() {
  static const TCrcTable table = MakeByteTable();
  return table;
}

// The same CRC-32 as gzip's: libdeflate's, which folds the image data many bytes a step
// with the processor's carry-less multiply where there is one. It takes and gives the
// finished value, so the running register is inverted on the way in and out.
std::uint32_t PngUpdateCrc(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return crc;
  return ~libdeflate_crc32(~crc, bytes.data(), bytes.size());
}

}  // namespace skin_layered
