// Draws the layered engine's own images at build time (a host program, run by the build):
//   qvSHDA.png, qvSHDI.png  the shadow of an active / inactive form: 40 x 40 pixels, a soft
//                           black shadow 9 pixels wide around a 22 x 22 form area (the
//                           engine's shadow margins are 9), fully transparent pixels white
//                           with alpha 0 as design tools write them;
//   BLUR5.bmp               the 19 x 19 blur of a shadow image's mask half: black (opaque)
//                           in the middle fading to white (clear) at the edges, 24-bit.
// Usage: DrawCoreImages OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

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

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

// A zlib stream of stored (uncompressed) deflate blocks: small images need no more.
Bytes ZlibStored(const Bytes& data) {
  Bytes out{0x78, 0x01};
  std::size_t pos = 0;
  do {
    const std::size_t n = std::min<std::size_t>(data.size() - pos, 65535);
    const bool last = pos + n == data.size();
    out.push_back(last ? 1 : 0);
    Put16LE(out, static_cast<std::uint32_t>(n));
    Put16LE(out, static_cast<std::uint32_t>(~n & 0xFFFF));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
               data.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  } while (pos < data.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  Put32BE(out, b << 16 | a);
  return out;
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
  Put32BE(png, static_cast<std::uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Put32BE(png, Crc32(typed.data(), typed.size()));
}

// RGBA rows, straight alpha.
Bytes Png(int width, int height, const Bytes& rgba) {
  Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  Put32BE(header, static_cast<std::uint32_t>(width));
  Put32BE(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter choice, not interlaced
  PutChunk(png, "IHDR", header);
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    const auto row = rgba.begin() + static_cast<std::ptrdiff_t>(y) * width * 4;
    raw.insert(raw.end(), row, row + width * 4);
  }
  PutChunk(png, "IDAT", ZlibStored(raw));
  PutChunk(png, "IEND", {});
  return png;
}

// Grey levels, top row first, as a 24-bit BMP file (rows bottom-up, padded to 4 bytes).
Bytes Bmp(int width, int height, const std::vector<std::uint8_t>& grey) {
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
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) bmp.push_back(grey[static_cast<std::size_t>(y * width + x)]);
    for (int pad = width * 3; pad < stride; ++pad) bmp.push_back(0);
  }
  return bmp;
}

// A form area of Size - 2 * Band with a shadow Band pixels wide around it; the alpha falls
// from Peak at the form's edge to 0 at the image's, rounder at the corners.
Bytes Shadow(int size, int band, double peak) {
  Bytes rgba;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double dx = std::max({band - px, 0.0, px - (size - band)});
      const double dy = std::max({band - py, 0.0, py - (size - band)});
      const double d = std::sqrt(dx * dx + dy * dy) / band;
      const double share = d >= 1 ? 0 : (1 - d) * (1 - d);
      const auto alpha = static_cast<std::uint8_t>(std::lround(peak * share));
      const std::uint8_t colour = alpha == 0 ? 255 : 0;
      rgba.insert(rgba.end(), {colour, colour, colour, alpha});
    }
  }
  return rgba;
}

double Smooth(double t) { return t <= 0 ? 0 : t >= 1 ? 1 : t * t * (3 - 2 * t); }

std::vector<std::uint8_t> Blur(int size) {
  const int half = size / 2;
  std::vector<std::uint8_t> grey;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double fx = Smooth((std::min(x, size - 1 - x) + 0.5) / (half + 0.5));
      const double fy = Smooth((std::min(y, size - 1 - y) + 0.5) / (half + 0.5));
      grey.push_back(static_cast<std::uint8_t>(std::lround(255 * (1 - fx * fy))));
    }
  }
  return grey;
}

bool Write(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: DrawCoreImages OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  constexpr int kShadowSize = 40, kShadowBand = 9, kBlurSize = 19;
  const bool ok = Write(folder + "qvSHDA.png", Png(kShadowSize, kShadowSize, Shadow(kShadowSize, kShadowBand, 96))) &&
                  Write(folder + "qvSHDI.png", Png(kShadowSize, kShadowSize, Shadow(kShadowSize, kShadowBand, 48))) &&
                  Write(folder + "BLUR5.bmp", Bmp(kBlurSize, kBlurSize, Blur(kBlurSize)));
  if (!ok) std::fprintf(stderr, "DrawCoreImages: cannot write to %s\n", folder.c_str());
  return ok ? 0 : 1;
}
