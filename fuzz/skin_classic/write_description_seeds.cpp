// Writes the starting corpus of the description fuzz target: the complete synthetic skin
// and smaller packages around it. Usage: write_description_seeds OUTPUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "skin_classic/support/SkinPackageWriter.h"
#include "skin_classic/support/SyntheticSkin.h"

namespace fs = std::filesystem;
using namespace skin_classic::test_support;

namespace {

void Write(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_description_seeds OUTPUT_DIR\n");
    return 2;
  }
  const fs::path dir = fs::path(argv[1]) / "fuzz_skin_description";
  fs::create_directories(dir);
  Write(dir / "complete", BuildPackage(CompleteSkinSpec()));
  Write(dir / "complete_small", BuildPackage(CompleteSkinSpec(2)));

  PackageSpec small;
  small.entries = {{"skin.ini", ToBytes("[Personality]\nLeft=a.bmp\nLeftFrame=2\n[Button.Close]\nAction=0\n"
                                        "ButtonImage=a.bmp\n[MDICONTROLS]\nImage=a.bmp\n[Tab.Pane]\nImage=a.bmp\n"
                                        "LeftWidth=10\n[Colours]\nButtonFace=1 2 3\n")},
                   {"a.bmp", FramesBmp(12, 4, FrameColours(1, 12))}};
  Write(dir / "small", BuildPackage(small));
  PackageSpec textOnly;
  textOnly.entries = {{"skin.ini", ToBytes(CompleteSkinDescription())}};
  Write(dir / "text_only", BuildPackage(textOnly));
  return 0;
}
