// PNG decoding speed: the layered engine's PNG reader beside Debian's libpng on the same
// files in the same run, both producing the same bitmap layout (blue-green-red order,
// 16-bit samples scaled to 8 bits, palette images as indices, interlaced images whole).
// The images are made here: photo-like gradients with noise, filtered per row as encoders
// do, compressed by zlib at its default level.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "skin_layered/paint/png/PngReader.h"
#include "skin_layered/paint/support/PngWriter.h"

namespace {

using namespace skin_layered;
using namespace skin_layered::test;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t Noise(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  return x ^ (x >> 16);
}

// Smooth shading per channel with a little noise, and a hard-edged disc: what skin images
// and photos mix.
SampleImage PhotoLike(std::uint32_t size, std::uint8_t colorType, std::uint8_t depth) {
  SampleImage image(size, size, colorType, depth);
  const std::uint32_t max = (1u << depth) - 1;
  const double scale = max / 255.0;
  const double c = size / 2.0, r2 = size * size / 9.0;
  for (std::uint32_t y = 0; y < size; ++y) {
    for (std::uint32_t x = 0; x < size; ++x) {
      const bool disc = (x - c) * (x - c) + (y - c) * (y - c) < r2;
      for (unsigned ch = 0; ch < image.Channels(); ++ch) {
        double v;
        if (colorType == 3) {
          v = ((x / 16 + y / 16) * 7 + (disc ? 100 : 0)) % 256;
        } else if ((colorType == 6 && ch == 3) || (colorType == 4 && ch == 1)) {
          v = disc ? 255 : 128 + 127 * std::sin(x / 200.0);
        } else {
          v = 128 + 100 * std::sin((x * (ch + 1)) / 300.0 + y / 500.0) + (Noise(y * size + x + ch * 7919) % 9) - 4;
          if (disc) v = 255 - v;
        }
        image.Set(x, y, ch, static_cast<std::uint16_t>(std::clamp(v * scale, 0.0, double(max))));
      }
    }
  }
  return image;
}

struct MemoryReader {
  const Bytes* data;
  std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->data->size() - reader->at) png_error(png, "read past the end");
  std::memcpy(out, reader->data->data() + reader->at, count);
  reader->at += count;
}

// One decode with libpng into one buffer of rows, the rows given by row pointers.
void DecodeWithLibpng(const Bytes& file, Bytes& pixels) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  MemoryReader reader{&file, 0};
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fprintf(stderr, "libpng failed\n");
    std::exit(1);
  }
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_info(png, info);
  if (png_get_color_type(png, info) & PNG_COLOR_MASK_COLOR) png_set_bgr(png);
  if (png_get_bit_depth(png, info) == 16) png_set_scale_16(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const png_size_t rowBytes = png_get_rowbytes(png, info);
  pixels.resize(rowBytes * height);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + y * rowBytes;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

std::uint32_t DecodeWithOurs(const Bytes& file) {
  TPNGReader reader;
  TPngPixelBuffer bitmap;
  reader.LoadFromBytes(file, bitmap);
  const auto last = bitmap.Row(bitmap.Layout().Height - 1);
  return bitmap.Row(bitmap.Layout().Height / 2)[0] + last.back();
}

template <class F>
double Seconds(F&& decode) {
  const auto start = std::chrono::steady_clock::now();
  volatile std::uint32_t sink = decode();
  (void)sink;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both decoders must give the same pixels before their speed means anything; 16-bit
// samples may differ by one (libpng rounds where the reader truncates).
bool SamePixels(const Bytes& file, int tolerance) {
  TPNGReader reader;
  TPngPixelBuffer ours;
  reader.LoadFromBytes(file, ours);
  Bytes theirs;
  DecodeWithLibpng(file, theirs);
  std::size_t at = 0;
  for (std::uint32_t y = 0; y < ours.Layout().Height; ++y) {
    for (std::uint8_t v : ours.Row(y)) {
      if (at >= theirs.size() || std::abs(int(v) - int(theirs[at++])) > tolerance) return false;
    }
  }
  return at == theirs.size();
}

struct Case {
  const char* name;
  std::uint8_t colorType, depth;
  bool interlaced;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";  // optional: run the images whose name contains this
  constexpr std::uint32_t kSize = 2048;
  const Case cases[] = {
      {"RGBA 8-bit", 6, 8, false},   {"RGB 8-bit", 2, 8, false},       {"palette 8-bit", 3, 8, false},
      {"grey 16-bit", 0, 16, false}, {"RGBA 8-bit Adam7", 6, 8, true}, {"RGB 16-bit", 2, 16, false},
  };
  std::printf("%-18s %10s %9s %14s %14s %8s\n", "image", "size", "file KiB", "ours MP/s", "libpng MP/s", "ratio");
  bool allFaster = true;
  for (const Case& c : cases) {
    if (!only.empty() && std::string(c.name).find(only) == std::string::npos) continue;
    const auto image = PhotoLike(kSize, c.colorType, c.depth);
    PngOptions options;
    options.filter = FilterChoice::Adaptive;
    options.interlaced = c.interlaced;
    if (c.colorType == 3) {
      std::vector<std::array<std::uint8_t, 3>> colors;
      for (unsigned i = 0; i < 256; ++i)
        colors.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3)});
      options.beforeImage.push_back(PaletteChunk(colors));
    }
    options.idatSizes.assign(256, 8192);  // as encoders write it: 8 KiB chunks
    const Bytes file = WritePng(image, options);
    if (!SamePixels(file, c.depth == 16 ? 1 : 0)) {
      std::printf("%-18s pixels differ from libpng's\n", c.name);
      return 1;
    }
    // Runs alternate between the two so that a busy machine slows both alike; best of each.
    double ours = 1e9, theirs = 1e9;
    for (int run = 0; run < 9; ++run) {
      ours = std::min(ours, Seconds([&] { return DecodeWithOurs(file); }));
      theirs = std::min(theirs, Seconds([&] {
        Bytes pixels;  // a new bitmap per picture, as for the reader
        DecodeWithLibpng(file, pixels);
        return std::uint32_t{pixels[pixels.size() / 2]};
      }));
    }
    const double mp = double(kSize) * kSize / 1e6;
    std::printf("%-18s %10s %9zu %14.1f %14.1f %8.2f\n", c.name, (std::to_string(kSize) + "x" + std::to_string(kSize)).c_str(),
                file.size() / 1024, mp / ours, mp / theirs, theirs / ours);
    allFaster = allFaster && ours <= theirs;
  }
  std::printf("ratio = ours / libpng in megapixels per second (above 1: ours is faster)%s\n",
              allFaster ? "" : "; NOTE: slower than libpng on at least one image");
  return 0;
}
