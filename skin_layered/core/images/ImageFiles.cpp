#include "skin_layered/core/images/ImageFiles.h"

#include <zlib.h>

#include <cstdio>
#include <stdexcept>

namespace imagefiles {

namespace {

void Put32BE(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}
void Put16LE(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32LE(Bytes& out, std::uint32_t v) {
  Put16LE(out, v & 0xFFFF);
  Put16LE(out, v >> 16);
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
  Put32BE(png, static_cast<std::uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Put32BE(png, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

}  // namespace

Bytes EncodePng(int width, int height, const Bytes& pixels, bool alpha) {
  const int channels = alpha ? 4 : 3;
  Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  Put32BE(header, static_cast<std::uint32_t>(width));
  Put32BE(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, static_cast<std::uint8_t>(alpha ? 6 : 2), 0, 0, 0});
  PutChunk(png, "IHDR", header);
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * width * channels;
    raw.insert(raw.end(), row, row + width * channels);
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(size);
  if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("zlib failed");
  packed.resize(size);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

Bytes EncodeBmp(int width, int height, const std::vector<std::uint32_t>& pixels) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const auto imageSize = static_cast<std::uint32_t>(stride * height);
  Bytes bmp{'B', 'M'};
  Put32LE(bmp, 14 + 40 + imageSize);
  Put32LE(bmp, 0);
  Put32LE(bmp, 14 + 40);
  Put32LE(bmp, 40);
  Put32LE(bmp, static_cast<std::uint32_t>(width));
  Put32LE(bmp, static_cast<std::uint32_t>(height));
  Put16LE(bmp, 1);
  Put16LE(bmp, 24);
  for (std::uint32_t v : {0u, imageSize, 2835u, 2835u, 0u, 0u}) Put32LE(bmp, v);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
      bmp.insert(bmp.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
                             static_cast<std::uint8_t>(p >> 16)});
    }
    for (int pad = width * 3; pad < stride; ++pad) bmp.push_back(0);
  }
  return bmp;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace imagefiles
