#include "skin_layered/paint/png/PngCrc.h"

#include <bit>
#include <cstring>

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

// Sixteen tables so that the image data (the bulk of every file) is checked sixteen bytes
// a step.
constexpr std::size_t kSlices = 16;

struct TSlicedTables {
  std::array<TCrcTable, kSlices> t;
};

constexpr TSlicedTables MakeSlicedTables() {
  TSlicedTables s{};
  s.t[0] = MakeByteTable();
  for (std::size_t n = 0; n < 256; ++n) {
    std::uint32_t c = s.t[0][n];
    for (std::size_t k = 1; k < kSlices; ++k) {
      c = s.t[0][c & 0xFF] ^ (c >> 8);
      s.t[k][n] = c;
    }
  }
  return s;
}

const TSlicedTables& SlicedTables() {
  static const TSlicedTables tables = MakeSlicedTables();
  return tables;
}

}  // namespace

const TCrcTable& PngMakeCrcTable() { return SlicedTables().t[0]; }

std::uint32_t PngUpdateCrc(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
  const auto& t = SlicedTables().t;
  const std::uint8_t* p = bytes.data();
  std::size_t n = bytes.size();
  while (n >= kSlices) {
    std::uint32_t w[4];
    std::memcpy(w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::big) {
      for (auto& word : w) word = __builtin_bswap32(word);
    }
    w[0] ^= crc;
    crc = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const std::size_t slice = kSlices - 1 - 4 * k;
      crc ^= t[slice][w[k] & 0xFF] ^ t[slice - 1][(w[k] >> 8) & 0xFF] ^ t[slice - 2][(w[k] >> 16) & 0xFF] ^
             t[slice - 3][w[k] >> 24];
    }
    p += kSlices;
    n -= kSlices;
  }
  while (n-- > 0) crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return crc;
}

}  // namespace skin_layered
