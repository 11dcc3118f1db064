// Classic skin package decoding speed: the LZHUF decoder's output throughput on a
// package of skin-like data, beside zlib's inflate on the same bytes in the same run.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "skin_classic/io/SkinLzh.h"
#include "skin_classic/io/SkinReader.h"
#include "skin_classic/support/LzhufEncoder.h"
#include "skin_classic/support/SkinPackageWriter.h"

namespace {

using namespace skin_classic;
using namespace skin_classic::test_support;
using Bytes = std::vector<std::uint8_t>;

// A 24-bit bottom-up bitmap file: `frames` state images side by side, each a vertical
// gradient with a flat border, some noise and the key colour in the corners.
Bytes SkinBitmap(int width, int height, int frames, std::mt19937& rng) {
  const int w = width * frames;
  const int stride = (w * 3 + 3) & ~3;
  ByteWriter file;
  file.Text("BM").Int32(54 + stride * height).Int32(0).Int32(54);
  file.Int32(40).Int32(w).Int32(height).Int32(1 | 24 << 16).Int32(0).Int32(stride * height).Int32(2835).Int32(2835)
      .Int32(0).Int32(0);
  std::uniform_int_distribution<int> noise(-3, 3);
  for (int y = 0; y < height; ++y) {
    Bytes row(static_cast<std::size_t>(stride), 0);
    for (int x = 0; x < w; ++x) {
      const int frame = x / width, fx = x % width;
      std::uint8_t b, g, r;
      if ((fx < 3 || fx >= width - 3) && (y < 3 || y >= height - 3)) {
        b = 0xFF, g = 0x00, r = 0xFF;  // transparent corners
      } else if (fx < 2 || fx >= width - 2 || y < 2 || y >= height - 2) {
        b = static_cast<std::uint8_t>(80 + frame * 20), g = 60, r = 40;
      } else {
        const int base = 120 + y * 100 / height + frame * 15;
        b = static_cast<std::uint8_t>(std::clamp(base + 30 + noise(rng) * (y % 5 == 0), 0, 255));
        g = static_cast<std::uint8_t>(std::clamp(base + 10, 0, 255));
        r = static_cast<std::uint8_t>(std::clamp(base - 20, 0, 255));
      }
      row[static_cast<std::size_t>(x) * 3] = b;
      row[static_cast<std::size_t>(x) * 3 + 1] = g;
      row[static_cast<std::size_t>(x) * 3 + 2] = r;
    }
    file.Bytes(row);
  }
  return file.Take();
}

std::string SkinDescription(int sections) {
  std::string text = "[TitlebarSkin]\r\nSkinName=Benchmark\r\n";
  for (int i = 0; i < sections; ++i) {
    const std::string n = std::to_string(i);
    text += "\r\n; element " + n + "\r\n[Element" + n + "]\r\nImage=images\\element" + n +
            ".bmp\r\nLeftWidth=" + std::to_string(i % 7 + 2) + "\r\nRightWidth=" + std::to_string(i % 5 + 2) +
            "\r\nTopHeight=3\r\nBottomHeight=3\r\nFrame=" + std::to_string(i % 6 + 1) + "\r\nTrans=1\r\nTile=" +
            std::to_string(i % 2) + "\r\nNormalColour=" + std::to_string(i * 37 % 256) + " " +
            std::to_string(i * 91 % 256) + " " + std::to_string(i * 13 % 256) + "\r\n";
  }
  return text;
}

PackageSpec SkinLikePackage() {
  std::mt19937 rng(2024);
  PackageSpec spec;
  spec.tag = 60000;
  spec.entries.push_back({"skin.ini", ToBytes(SkinDescription(1500))});
  int n = 0;
  std::size_t total = spec.entries.back().bytes.size();
  while (total < 2400 * 1024) {
    const int width = 16 + static_cast<int>(rng() % 48), height = 16 + static_cast<int>(rng() % 40);
    spec.entries.push_back({"element" + std::to_string(n++) + ".bmp", SkinBitmap(width, height, 1 + n % 6, rng)});
    total += spec.entries.back().bytes.size();
  }
  return spec;
}

template <class Fn>
double BestSeconds(int runs, Fn&& fn) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

double MegabytesPerSecond(std::size_t bytes, double seconds) { return bytes / seconds / 1e6; }

}  // namespace

int main() {
  const Bytes unpacked = BuildUnpackedPackage(SkinLikePackage());
  const Bytes packed = PackPackage(unpacked);
  const std::span<const std::uint8_t> stream = std::span(packed).subspan(4);

  uLongf zlibSize = compressBound(unpacked.size());
  Bytes zlibData(zlibSize);
  if (compress2(zlibData.data(), &zlibSize, unpacked.data(), unpacked.size(), Z_DEFAULT_COMPRESSION) != Z_OK) {
    std::fprintf(stderr, "zlib compress failed\n");
    return 1;
  }
  zlibData.resize(zlibSize);

  // Check once that both give the package back before timing them.
  if (LzhDecodeBytes(stream, unpacked.size()) != unpacked) {
    std::fprintf(stderr, "LZHUF round trip failed\n");
    return 1;
  }
  Bytes inflated(unpacked.size());
  auto inflateAll = [&] {
    uLongf size = inflated.size();
    if (uncompress(inflated.data(), &size, zlibData.data(), zlibData.size()) != Z_OK || size != inflated.size())
      std::abort();
  };
  inflateAll();
  if (inflated != unpacked) {
    std::fprintf(stderr, "zlib round trip failed\n");
    return 1;
  }

  constexpr int kRuns = 15;
  std::size_t sink = 0;
  const double lzh = BestSeconds(kRuns, [&] { sink += LzhDecodeBytes(stream, unpacked.size()).size(); });
  const double load = BestSeconds(kRuns, [&] {
    TSkinReader reader;
    if (reader.Load(packed) != SkinLoadResult::Loaded) std::abort();
    sink += reader.Count();
  });
  const double zlib = BestSeconds(kRuns, inflateAll);

  std::printf("package: %zu bytes unpacked, LZHUF %zu bytes (%.1f%%), zlib %zu bytes (%.1f%%)\n", unpacked.size(),
              stream.size(), 100.0 * stream.size() / unpacked.size(), zlibData.size(),
              100.0 * zlibData.size() / unpacked.size());
  std::printf("LZHUF decode (TLZH):          %8.1f MB/s output  (%.1f ms)\n", MegabytesPerSecond(unpacked.size(), lzh),
              lzh * 1e3);
  std::printf("package load (TSkinReader):   %8.1f MB/s output  (%.1f ms)\n", MegabytesPerSecond(unpacked.size(), load),
              load * 1e3);
  std::printf("zlib inflate (same bytes):    %8.1f MB/s output  (%.1f ms)\n", MegabytesPerSecond(unpacked.size(), zlib),
              zlib * 1e3);
  return sink == 0;
}
