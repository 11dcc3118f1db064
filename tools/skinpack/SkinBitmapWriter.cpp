#include "tools/skinpack/SkinBitmapWriter.h"

#include "tools/skinpack/SkinPackageWriter.h"

namespace skinpack {
namespace {

void Put16(ByteWriter& w, std::uint16_t v) {
  const std::uint8_t bytes[] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  w.Bytes(bytes);
}

}  // namespace

std::vector<std::uint8_t> Bmp24(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
  const int stride = (width * 3 + 3) & ~3;
  const std::int32_t imageSize = stride * height;
  ByteWriter w;
  w.Text("BM").Int32(14 + 40 + imageSize).Int32(0).Int32(14 + 40);
  w.Int32(40).Int32(width).Int32(height);
  Put16(w, 1);
  Put16(w, 24);
  w.Int32(0).Int32(imageSize).Int32(2835).Int32(2835).Int32(0).Int32(0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      const std::uint8_t bgr[] = {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                  static_cast<std::uint8_t>(c)};
      w.Bytes(bgr);
    }
    w.Fill(static_cast<std::size_t>(stride - width * 3), 0);
  }
  return w.Take();
}

std::vector<std::uint8_t> FramesBmp(int frameWidth, int frameHeight, const std::vector<Rgb>& colours, bool stacked) {
  const int n = static_cast<int>(colours.size());
  const int width = stacked ? frameWidth : frameWidth * n;
  const int height = stacked ? frameHeight * n : frameHeight;
  return Bmp24(width, height, [&](int x, int y) { return colours[stacked ? y / frameHeight : x / frameWidth]; });
}

std::vector<Rgb> FrameColours(int id, int frames) {
  std::vector<Rgb> out;
  for (int f = 1; f <= frames; ++f) out.push_back(FrameColour(id, f));
  return out;
}

}  // namespace skinpack
