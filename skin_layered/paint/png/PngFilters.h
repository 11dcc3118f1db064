// Undoing the PNG row filters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace skin_layered {

enum TPngFilter : std::uint8_t {
  pfNone = 0,
  pfSub = 1,
  pfUp = 2,
  pfAverage = 3,
  pfPaeth = 4,
};

// The neighbour among left (a), above (b) and upper left (c) closest to a + b - c.
constexpr std::uint8_t PaethPredictor(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
  const int pa = b > c ? b - c : c - b;  // |p - a|
  const int pb = a > c ? a - c : c - a;  // |p - b|
  const int pc = (a + b - 2 * c) < 0 ? 2 * c - a - b : a + b - 2 * c;
  return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

// Decodes Row in place. Prior is the decoded row above (all zeros for the first row of an
// image or pass) and at least as long as Row; Bpp is the byte distance to the left pixel.
// An unknown filter leaves the row as read.
void ApplyFilter(std::uint8_t filter, std::span<std::uint8_t> row,
                 std::span<const std::uint8_t> prior, std::size_t bpp);

// ApplyFilter for rows of 3- or 4-byte pixels that also writes each decoded pixel to Out
// with its first and third bytes exchanged (red-green-blue to blue-green-red), while the row
// is in cache. Out is at least as long as Row; bytes of a last partial pixel are not written.
void ApplyFilterSwapped(std::uint8_t filter, std::span<std::uint8_t> row,
                        std::span<const std::uint8_t> prior, std::size_t bpp, std::span<std::uint8_t> out);

// ApplyFilterSwapped for rows of 3-byte pixels that writes each decoded pixel to Out as four
// bytes: blue, green, red and 255. Out holds at least 4 bytes for every whole pixel of Row;
// bytes of a last partial pixel are not written.
void ApplyFilterWidened(std::uint8_t filter, std::span<std::uint8_t> row, std::span<const std::uint8_t> prior,
                        std::span<std::uint8_t> out);

// Two rows in a row that both use the Paeth filter, decoded as two calls of ApplyFilter
// would (Next against Row once decoded), at once. Next is as long as Row.
void ApplyPaethPair(std::span<std::uint8_t> row, std::span<std::uint8_t> next, std::span<const std::uint8_t> prior,
                    std::size_t bpp);

// Two rows in a row that both use the Paeth filter, decoded and written out as two calls of
// ApplyFilterSwapped would (Next against Row once decoded), at once. Next is as long as Row.
void ApplyPaethPairSwapped(std::span<std::uint8_t> row, std::span<std::uint8_t> next,
                           std::span<const std::uint8_t> prior, std::size_t bpp, std::span<std::uint8_t> out,
                           std::span<std::uint8_t> nextOut);

// The same for rows of 3-byte pixels written out as ApplyFilterWidened writes them.
void ApplyPaethPairWidened(std::span<std::uint8_t> row, std::span<std::uint8_t> next,
                           std::span<const std::uint8_t> prior, std::span<std::uint8_t> out,
                           std::span<std::uint8_t> nextOut);

}  // namespace skin_layered
