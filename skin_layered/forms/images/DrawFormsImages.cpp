// Draws the form skinning's own images at build time (a host program, run by the build):
//   MENUBTN.bmp  the title bar's drop-down button: three 18 x 18 states side by side (normal,
//                hot, pressed), a framed face with rounded corners; the corner pixels outside
//                the frame are the key colour 0xFF00FF, 24-bit.
// Usage: DrawFormsImages OUTPUT_FOLDER
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "skin_layered/core/images/ImageFiles.h"

namespace {

constexpr int kSize = 18;
constexpr std::uint32_t kKey = 0xFF00FF;

struct StateColours {
  std::uint32_t Frame, Top, Bottom;
};
constexpr StateColours kStates[3] = {
    {0x8C8C8C, 0xF4F4F4, 0xDCDCDC},  // normal
    {0x3C7FB1, 0xE5F3FB, 0xC4E5F6},  // hot
    {0x2C628B, 0xC4E5F6, 0x98D1EF},  // pressed
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int share, int of) {
  std::uint32_t out = 0;
  for (int shift : {0, 8, 16}) {
    const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>((ca * (of - share) + cb * share) / of) << shift;
  }
  return out;
}

std::uint32_t Pixel(int x, int y) {
  const StateColours& s = kStates[x / kSize];
  const int lx = x % kSize;
  const bool edgeX = lx == 0 || lx == kSize - 1, edgeY = y == 0 || y == kSize - 1;
  if (edgeX && edgeY) return kKey;
  if (edgeX || edgeY) return s.Frame;
  return Mix(s.Top, s.Bottom, y, kSize - 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: DrawFormsImages OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < 3 * kSize; ++x) pixels.push_back(Pixel(x, y));
  if (!imagefiles::WriteFile(folder + "/MENUBTN.bmp", imagefiles::EncodeBmp(3 * kSize, kSize, pixels))) {
    std::fprintf(stderr, "DrawFormsImages: cannot write %s/MENUBTN.bmp\n", folder.c_str());
    return 1;
  }
  return 0;
}
