#include "skin_layered/paint/png/PngFilters.h"

#include <stdexcept>

namespace skin_layered {
namespace {

// Each filter walks whole pixels with the left and upper-left pixel held in locals, zero
// before the first pixel; that also gives the rules for the first Bpp bytes of a row.
template <std::size_t Bpp>
void SubRow(std::uint8_t* row, std::size_t n) {
  for (std::size_t i = Bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - Bpp]);
}

void UpRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
}

template <std::size_t Bpp>
void AverageRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  std::size_t i = 0;
  for (; i < Bpp && i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
  for (; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - Bpp] + prior[i]) >> 1));
}

template <std::size_t Bpp>
void PaethRow(std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  std::uint8_t left[Bpp] = {};
  std::uint8_t upperLeft[Bpp] = {};
  std::size_t i = 0;
  for (; i + Bpp <= n; i += Bpp) {
    for (std::size_t k = 0; k < Bpp; ++k) {
      const std::uint8_t above = prior[i + k];
      const auto value = static_cast<std::uint8_t>(row[i + k] + PaethPredictor(left[k], above, upperLeft[k]));
      row[i + k] = value;
      left[k] = value;
      upperLeft[k] = above;
    }
  }
  for (std::size_t k = 0; i < n; ++i, ++k) {  // a partial last pixel
    const std::uint8_t above = prior[i];
    row[i] = static_cast<std::uint8_t>(row[i] + PaethPredictor(left[k], above, upperLeft[k]));
  }
}

template <std::size_t Bpp>
void Unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  switch (filter) {
    case pfSub:
      SubRow<Bpp>(row, n);
      break;
    case pfUp:
      UpRow(row, prior, n);
      break;
    case pfAverage:
      AverageRow<Bpp>(row, prior, n);
      break;
    case pfPaeth:
      PaethRow<Bpp>(row, prior, n);
      break;
    default:
      break;
  }
}

}  // namespace

void ApplyFilter(std::uint8_t filter, std::span<std::uint8_t> row,
                 std::span<const std::uint8_t> prior, std::size_t bpp) {
  if (prior.size() < row.size()) throw std::length_error("PNG filter: prior row too short");
  std::uint8_t* r = row.data();
  const std::uint8_t* p = prior.data();
  const std::size_t n = row.size();
  switch (bpp) {
    case 1: Unfilter<1>(filter, r, p, n); break;
    case 2: Unfilter<2>(filter, r, p, n); break;
    case 3: Unfilter<3>(filter, r, p, n); break;
    case 4: Unfilter<4>(filter, r, p, n); break;
    case 6: Unfilter<6>(filter, r, p, n); break;
    case 8: Unfilter<8>(filter, r, p, n); break;
    default: throw std::invalid_argument("PNG filter: pixel size must be 1, 2, 3, 4, 6 or 8 bytes");
  }
}

}  // namespace skin_layered
