// Writes the starting corpus of the PNG fuzz target: the small PNGs of the test writer
// (every colour type, depth and interlace, with palettes, transparency, gamma, background
// and split image data).
// Usage: write_png_seeds OUTPUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "skin_layered/paint/support/PngWriter.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_png_seeds OUTPUT_DIR\n");
    return 2;
  }
  const fs::path dir = fs::path(argv[1]) / "fuzz_png";
  fs::create_directories(dir);
  for (const auto& seed : skin_layered::test::SeedPngs()) {
    std::ofstream out(dir / seed.name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(seed.bytes.data()), static_cast<std::streamsize>(seed.bytes.size()));
  }
  return 0;
}
