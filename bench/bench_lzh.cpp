// Classic skin package decoding speed on a package of skin-like data: the LZHUF decoder
// beside liblhasa's -lh1- decoder (the same scheme: LZSS over a 4 KiB ring, adaptive Huffman
// codes of literals and lengths, the same fixed position code) on the very same stream, and
// zlib's inflate on the same bytes for scale. Runs alternate; figures are medians.
#include <lhasa.h>
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

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

template <class Fn>
double Seconds(Fn&& fn) {
  const auto start = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double MegabytesPerSecond(std::size_t bytes, double seconds) { return bytes / seconds / 1e6; }

struct LhasaInput {
  std::span<const std::uint8_t> stream;
  std::size_t at = 0;
};

std::size_t ReadForLhasa(void* buffer, std::size_t count, void* data) {
  auto* in = static_cast<LhasaInput*>(data);
  const std::size_t take = std::min(count, in->stream.size() - in->at);
  std::memcpy(buffer, in->stream.data() + in->at, take);
  in->at += take;
  return take;
}

// liblhasa's -lh1- decoder into one buffer, read in large blocks as its own tools do.
Bytes DecodeWithLhasa(std::span<const std::uint8_t> stream, std::size_t size) {
  static char kName[] = "-lh1-";
  LhasaInput in{stream};
  LHADecoder* decoder = lha_decoder_new(lha_decoder_for_name(kName), ReadForLhasa, &in, size);
  if (decoder == nullptr) std::abort();
  Bytes out(size);
  std::size_t got = 0;
  while (got < size) {
    const std::size_t n = lha_decoder_read(decoder, out.data() + got, std::min<std::size_t>(size - got, 64 * 1024));
    if (n == 0) break;
    got += n;
  }
  lha_decoder_free(decoder);
  out.resize(got);
  return out;
}

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
  Bytes inflated(unpacked.size());
  auto inflateAll = [&] {
    uLongf size = inflated.size();
    if (uncompress(inflated.data(), &size, zlibData.data(), zlibData.size()) != Z_OK || size != inflated.size())
      std::abort();
  };

  // Each must give the package back before it is timed.
  inflateAll();
  if (LzhDecodeBytes(stream, unpacked.size()) != unpacked || DecodeWithLhasa(stream, unpacked.size()) != unpacked ||
      inflated != unpacked) {
    std::fprintf(stderr, "a decoder did not give the package back\n");
    return 1;
  }

  constexpr int kRounds = 15;
  constexpr double kTarget = 2.5;
  std::size_t sink = 0;
  std::vector<double> ours, lhasa, load, zlib;
  for (int round = 0; round < kRounds; ++round) {
    auto runOurs = [&] { ours.push_back(Seconds([&] { sink += LzhDecodeBytes(stream, unpacked.size()).size(); })); };
    auto runLhasa = [&] { lhasa.push_back(Seconds([&] { sink += DecodeWithLhasa(stream, unpacked.size()).size(); })); };
    if (round % 2) {
      runOurs();
      runLhasa();
    } else {
      runLhasa();
      runOurs();
    }
    load.push_back(Seconds([&] {
      TSkinReader reader;
      if (reader.Load(packed) != SkinLoadResult::Loaded) std::abort();
      sink += reader.Count();
    }));
    zlib.push_back(Seconds(inflateAll));
  }

  const double o = Median(ours), l = Median(lhasa), p = Median(load), z = Median(zlib);
  std::printf("package: %zu bytes unpacked, LZHUF %zu bytes (%.1f%%), zlib %zu bytes (%.1f%%); median of %d rounds\n\n",
              unpacked.size(), stream.size(), 100.0 * stream.size() / unpacked.size(), zlibData.size(),
              100.0 * zlibData.size() / unpacked.size(), kRounds);
  std::printf("%-32s %12s %10s %12s\n", "decoder", "MB/s output", "ms", "vs liblhasa");
  std::printf("%-32s %12.1f %10.2f %12.2f\n", "LZHUF (TLZH, ours)", MegabytesPerSecond(unpacked.size(), o), o * 1e3, l / o);
  std::printf("%-32s %12.1f %10.2f %12.2f\n", "liblhasa -lh1-", MegabytesPerSecond(unpacked.size(), l), l * 1e3, 1.0);
  std::printf("%-32s %12.1f %10.2f %12.2f\n", "package load (TSkinReader)", MegabytesPerSecond(unpacked.size(), p), p * 1e3, l / p);
  std::printf("%-32s %12.1f %10.2f %12s\n", "zlib inflate (same bytes)", MegabytesPerSecond(unpacked.size(), z), z * 1e3, "-");
  std::printf("\nLZHUF over liblhasa -lh1-: %.2fx (target %.1fx: %s)\n", l / o, kTarget, l / o >= kTarget ? "met" : "NOT MET");
  return sink == 0;
}
