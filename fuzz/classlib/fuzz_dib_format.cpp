// Fuzz target of the BMP and icon readers: any input is refused or decoded within bounds.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "classlib/graphics/GraphicsDibFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vcl::dib;
  const std::span<const uint8_t> input(data, size);
  for (bool withFileHeader : {true, false}) {
    if (auto header = ReadBmpHeader(input, withFileHeader)) {
      std::vector<uint8_t> dest(RowStride(header->layout, header->width) * static_cast<size_t>(header->height));
      if (DecodeBmpPixels(input, *header, dest)) {
        std::vector<Rgbq> row(static_cast<size_t>(header->width));
        RowToBgra(header->layout, dest.data(), header->width, header->palette, row.data());
      }
    }
  }
  if (auto entries = ReadIconDirectory(input)) (void)BestIconEntry(*entries, 32, 32);
  return 0;
}
