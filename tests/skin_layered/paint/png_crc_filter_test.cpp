// The chunk CRC and the row filters on their own: their edges and bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <zlib.h>

#include "skin_layered/paint/png/PngCrc.h"
#include "skin_layered/paint/png/PngFilters.h"

namespace skin_layered {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The checksum over pieces; a wrong checksum or filter fails every image the reader tests decode.
TEST(PngCrc, ARunningChecksumOverPiecesEqualsOnePass) {
  Bytes data;
  for (unsigned n = 0; n < 300; ++n) data.push_back(static_cast<std::uint8_t>(n * 131 + 7));
  EXPECT_EQ(PngCrc(data), crc32(0, data.data(), static_cast<uInt>(data.size())));
  const auto part = PngUpdateCrc(0xFFFFFFFFu, std::span(data).first(17));
  EXPECT_EQ(PngUpdateCrc(part, std::span(data).subspan(17)) ^ 0xFFFFFFFFu, PngCrc(data));
}

TEST(PngFilters, EachFilterWithItsFirstPixelRule) {
  const Bytes prior = {10, 20, 30, 40, 50, 60};
  auto apply = [&](std::uint8_t filter, Bytes row, std::size_t bpp) {
    ApplyFilter(filter, row, prior, bpp);
    return row;
  };
  const Bytes row = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(apply(pfNone, row, 2), row);
  EXPECT_EQ(apply(pfSub, row, 2), (Bytes{1, 2, 4, 6, 9, 12}));
  EXPECT_EQ(apply(pfUp, row, 2), (Bytes{11, 22, 33, 44, 55, 66}));
  // Average: the first pixel gains prior / 2, later bytes (left + prior) / 2.
  EXPECT_EQ(apply(pfAverage, row, 2), (Bytes{6, 12, 3 + (6 + 30) / 2, 4 + (12 + 40) / 2, 5 + (21 + 50) / 2, 6 + (30 + 60) / 2}));
  // Paeth: the first pixel gains prior; later ones the predictor of left, above, upper left.
  const Bytes paeth = apply(pfPaeth, row, 2);
  EXPECT_EQ(paeth[0], 11);
  EXPECT_EQ(paeth[1], 22);
  EXPECT_EQ(paeth[2], 3 + PaethPredictor(11, 30, 10));
  EXPECT_EQ(apply(7, row, 2), row);  // unknown filter: as read
  EXPECT_EQ(apply(pfSub, Bytes{250, 10}, 1), (Bytes{250, 4}));  // modulo 256
  EXPECT_THROW(apply(pfUp, Bytes(7), 1), std::length_error);
}

TEST(PngFilters, PartialLastPixelFollowsTheSameRules) {
  // Whole-pixel rows and rows with a partial last pixel are decoded by different loops.
  Bytes prior(50), row(50);
  for (std::size_t i = 0; i < row.size(); ++i) {
    prior[i] = static_cast<std::uint8_t>(i * 97 + 5);
    row[i] = static_cast<std::uint8_t>(i * 31 + (i >> 2) * 77);
  }
  for (std::uint8_t filter = pfSub; filter <= pfPaeth; ++filter) {
    for (std::size_t bpp : {2, 3, 4, 6, 8}) {
      const std::size_t whole = row.size() / bpp * bpp;
      Bytes full(row.begin(), row.begin() + whole), partial(row.begin(), row.begin() + whole - 1);
      ApplyFilter(filter, full, prior, bpp);
      ApplyFilter(filter, partial, prior, bpp);
      EXPECT_TRUE(std::equal(partial.begin(), partial.end(), full.begin())) << int(filter) << " " << bpp;
    }
  }
}

TEST(PngFilters, SwappedRowsAreTheFilteredRowWithRedAndBlueExchanged) {
  Bytes prior(48), row(48);
  for (std::size_t i = 0; i < row.size(); ++i) {
    prior[i] = static_cast<std::uint8_t>(i * 59 + 3);
    row[i] = static_cast<std::uint8_t>(i * 23 + (i >> 3) * 101);
  }
  for (std::uint8_t filter = pfNone; filter <= pfPaeth + 1; ++filter) {
    for (std::size_t bpp : {3, 4}) {
      Bytes plain = row, fused = row, out(row.size() + 1, 0xEE);
      ApplyFilter(filter, plain, prior, bpp);
      ApplyFilterSwapped(filter, fused, prior, bpp, out);
      EXPECT_EQ(fused, plain) << int(filter) << " " << bpp;  // the next row's prior
      for (std::size_t i = 0; i < row.size(); i += bpp) std::swap(plain[i], plain[i + 2]);
      EXPECT_TRUE(std::equal(plain.begin(), plain.end(), out.begin())) << int(filter) << " " << bpp;
      EXPECT_EQ(out.back(), 0xEE) << "nothing beyond the row";
    }
  }
  Bytes small(6), out(5);
  EXPECT_THROW(ApplyFilterSwapped(pfNone, small, prior, 3, out), std::length_error);
  Bytes room(6);
  EXPECT_THROW(ApplyFilterSwapped(pfNone, small, prior, 2, room), std::invalid_argument);
}

}  // namespace
}  // namespace skin_layered
