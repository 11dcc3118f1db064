// Writes the starting corpus of the pack fuzz target: the packs of the tests (plain and
// extended, empty, with an option text and images, with empty and oversized entries).
// Usage: write_pack_seeds OUTPUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "skin_layered/core/support/PackWriter.h"

namespace fs = std::filesystem;
using namespace skin_layered::test;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_pack_seeds OUTPUT_DIR\n");
    return 2;
  }
  const fs::path dir = fs::path(argv[1]) / "fuzz_skin_pack";
  fs::create_directories(dir);
  // Small entries, so that the fuzzer's inputs stay within its length limit.
  const std::vector<PackEntrySpec> small{
      {"Options.dat", BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\n"), {}, {}},
      {"a.bmp", PatternBytes(300, 1), {}, {}},
      {"b.png", PatternBytes(200, 2), {}, ZlibCompress(PatternBytes(200, 2), 0)},
  };
  const std::vector<std::pair<std::string, Bytes>> seeds{
      {"plain.pmz", WritePack(small)},
      {"extended.pmz", WritePack(small, true)},
      {"empty.pmz", WritePack({})},
      {"sizes.pmz", WritePack({{"x.bmp", PatternBytes(90, 3), 30, {}}, {"e.jpg", {}, {}, {}}})},
      {"sample.pmz", WritePack(SampleEntries())},
  };
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  return 0;
}
