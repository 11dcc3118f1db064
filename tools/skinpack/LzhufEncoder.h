// The LZHUF encoder of classic skin packages: greedy LZSS over a 4096-byte ring that starts
// with 4036 blanks (matches of 3 to 60 bytes), adaptive Huffman coding of the 314 literal and
// length codes, and the fixed prefix code for the upper six bits of a match position. The
// build packs the sample skin with it and the tests make their packages with it; it is
// written apart from the engine's decoder so that the two check each other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skinpack {

struct LzhufStats {
  std::size_t literals = 0;
  std::size_t matches = 0;
  std::size_t matchesIntoBlanks = 0;  // matches whose source starts in the leading blanks
  std::size_t rebuilds = 0;           // times the tree was rebuilt from halved counts
  std::size_t longestDistance = 0;
};

std::vector<std::uint8_t> LzhufEncode(std::span<const std::uint8_t> data, LzhufStats* stats = nullptr);

}  // namespace skinpack
