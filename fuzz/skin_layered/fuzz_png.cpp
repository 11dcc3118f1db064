// The PNG reader on any bytes: validation and loading either succeed or raise the reader's
// own error; a load never claims more bytes than it was given, and the images after it
// are read in turn. Each input is also read with its chunk CRCs made right, so that
// mutations reach the image data instead of stopping at the checksum. Half the inputs ask
// for colour and palette images in 32 bits. Small limits keep each run quick.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "skin_layered/paint/png/PngChunks.h"
#include "skin_layered/paint/png/PngCrc.h"
#include "skin_layered/paint/png/PngError.h"
#include "skin_layered/paint/png/PngReader.h"

namespace {

using namespace skin_layered;

std::vector<std::uint8_t> WithRightCrcs(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> out(data.begin(), data.end());
  std::size_t at = 8;
  while (at <= out.size() && out.size() - at >= 12) {
    const std::uint32_t length = ReadBigEndian32(out.data() + at);
    if (length > out.size() - at - 12) break;
    const std::uint32_t crc = PngCrc(std::span(out).subspan(at + 4, std::size_t{length} + 4));
    std::uint8_t* p = out.data() + at + 8 + length;
    p[0] = static_cast<std::uint8_t>(crc >> 24);
    p[1] = static_cast<std::uint8_t>(crc >> 16);
    p[2] = static_cast<std::uint8_t>(crc >> 8);
    p[3] = static_cast<std::uint8_t>(crc);
    at += std::size_t{length} + 12;
  }
  return out;
}

void ReadAll(std::span<const std::uint8_t> rest, TPngPixelBuffer::TRowOrder order, bool in32) {
  TPNGReader reader;
  reader.Limits = {2048, std::uint64_t{1} << 20};
  reader.RgbAs32Bits = reader.PaletteAs32Bits = in32;
  try {
    reader.IsValid(rest);
  } catch (const EPngError&) {
  }
  for (int image = 0; image < 4 && !rest.empty(); ++image) {
    TPngPixelBuffer bitmap(order);
    std::size_t used = 0;
    try {
      used = reader.LoadFromBytes(rest, bitmap);
    } catch (const EPngError&) {
      return;
    }
    if (used == 0 || used > rest.size() || bitmap.Empty()) std::abort();
    rest = rest.subspan(used);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto order = size % 2 ? TPngPixelBuffer::TRowOrder::BottomUp : TPngPixelBuffer::TRowOrder::TopDown;
  const std::span<const std::uint8_t> input(data, size);
  const bool in32 = size / 2 % 2 != 0;
  ReadAll(input, order, in32);
  if (size >= 8) ReadAll(WithRightCrcs(input), order, in32);
  return 0;
}
