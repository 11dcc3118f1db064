// Writes the starting corpus of the description fuzz target: the complete synthetic skin's
// description and smaller ones naming the target's pictures. Usage:
// write_description_seeds OUTPUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "skin_classic/support/SyntheticSkin.h"

namespace fs = std::filesystem;
using namespace skin_classic::test_support;

namespace {

void Write(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_description_seeds OUTPUT_DIR\n");
    return 2;
  }
  const fs::path dir = fs::path(argv[1]) / "fuzz_skin_description";
  fs::create_directories(dir);
  Write(dir / "complete", CompleteSkinDescription());
  Write(dir / "small",
        "[Personality]\nLeft=tiny.bmp\nLeftFrame=2\n[Button.Close]\nAction=0\nButtonImage=broken.bmp\n"
        "[MDICONTROLS]\nImage=empty.bmp\n[Tab.Pane]\nImage=tiny.bmp\nLeftWidth=10\n[Colours]\nButtonFace=1 2 3\n");
  return 0;
}
