// Writes the starting corpora of the classic skin fuzz targets: small LZHUF streams,
// packages of every format tag and skin descriptions, all made by the test writer.
// Usage: write_skin_seeds OUTPUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin_classic/support/LzhufEncoder.h"
#include "skin_classic/support/SkinPackageWriter.h"

namespace fs = std::filesystem;
using namespace skin_classic::test_support;
using Bytes = std::vector<std::uint8_t>;

namespace {

const char kDescription[] =
    "; classic skin\r\n[TitlebarSkin]\r\nSkinName=Seed\r\n[Personality]\r\nLeft=left.bmp\r\n"
    "LeftTopHeight=12\r\nLeftFrame=2\r\nTextShift = 4\r\nActiveTextR=255\r\n[Colours]\r\n"
    "ButtonFace=212 208 200\r\nHilight=10,36,106\r\n[Buttons]\r\nBitmap=btn.bmp\r\nNormalColour=0x00FF00\r\n"
    "Tile=$2\r\nLeftWidth=-3\r\n[Button.Close]\r\nAction=0\r\nButtonImage=skin\\Close.BMP\r\n";

void Write(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes WithSize(std::uint32_t size, const Bytes& stream) {
  ByteWriter w;
  w.Int32(static_cast<std::int32_t>(size)).Bytes(stream);
  return w.Take();
}

Bytes Pattern(std::size_t n, unsigned seed) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>((i * 2654435761u + seed) >> 13);
  return b;
}

PackageSpec SeedSpec(std::int32_t tag) {
  PackageSpec spec;
  spec.tag = tag;
  spec.entries = {{"Skin.ini", ToBytes(kDescription)}, {"left.bmp", Bytes(120, 0x42)}, {"BTN.bmp", Pattern(90, 1)}};
  return spec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_skin_seeds OUTPUT_DIR\n");
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path lzh = root / "fuzz_skin_lzh", reader = root / "fuzz_skin_reader", ini = root / "fuzz_quick_ini";
  for (const auto& dir : {lzh, reader, ini}) fs::create_directories(dir);

  const std::vector<Bytes> payloads = {ToBytes("   A   A"), ToBytes(kDescription), Bytes(900, ' '),
                                       Bytes(700, 0), Pattern(600, 5)};
  int n = 0;
  for (const Bytes& p : payloads) {
    Write(lzh / ("stream" + std::to_string(n++)), WithSize(static_cast<std::uint32_t>(p.size()), LzhufEncode(p)));
  }

  for (std::int32_t tag : {20000, 30000, 40000, 50000, 60000, 70000, 10000})
    Write(reader / ("tag" + std::to_string(tag)), BuildPackage(SeedSpec(tag)));
  PackageSpec breaks = SeedSpec(20000);
  breaks.lineBreak = "\n";
  breaks.finalLineBreak = true;
  breaks.entries.push_back({"skin.ini", ToBytes("[x]\ny=1\n")});
  Write(reader / "breaks", BuildPackage(breaks));
  Write(reader / "longer", PackPackage(BuildUnpackedPackage(SeedSpec(50000)), 900));

  Write(ini / "description", ToBytes(kDescription));
  Write(ini / "numbers", ToBytes("[N]\nhex=0x00FF00\nbare=0x\nd=$7F\nneg=-12\n=x\nk=\n[n]\nHEX = 0X10\n"));
  return 0;
}
