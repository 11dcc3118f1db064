// Draws the window adapters' pipette cursor at build time (a host program, run by the
// build): CRASPIPETTE.cur, a 32 x 32 monochrome cursor of a colour pipette lying from the
// bottom left to the top right, black outline over a white body, its tip (the hot spot) at
// the bottom-left corner.
// Usage: DrawPipetteCursor OUTPUT_FILE
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr int kSize = 32;
constexpr int kHotX = 1;
constexpr int kHotY = 30;

// 0 transparent, 1 black, 2 white.
int Pixel(int x, int y) {
  // Distance along the pipette's axis (from the tip towards the top right) and across it.
  const double ax = x - kHotX;
  const double ay = kHotY - y;
  const double along = (ax + ay) / std::sqrt(2.0);
  const double across = (ax - ay) / std::sqrt(2.0);
  const double d = std::fabs(across);
  if (along < -0.5 || along > 42) return 0;
  double half;  // the half width of the body at this point
  if (along < 4) half = 0.6 + along * 0.25;  // the tip
  else if (along < 24) half = 1.8;           // the glass tube
  else if (along < 27) half = 3.6;           // the collar
  else half = 2.8;                           // the bulb
  if (d > half + 1.0) return 0;
  if (d > half || along > 41 || (along > 23.5 && along < 24.5) || (along > 26.5 && along < 27.5)) return 1;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: DrawPipetteCursor OUTPUT_FILE\n");
    return 2;
  }
  // The colour bits (1 = white where opaque) and the mask (1 = transparent), bottom row
  // first, rows padded to 4 bytes (32 pixels = 4 bytes).
  Bytes colour, mask;
  for (int y = kSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kSize / 8; ++byte) {
      std::uint8_t c = 0, m = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int p = Pixel(byte * 8 + bit, y);
        if (p == 2) c |= static_cast<std::uint8_t>(0x80 >> bit);
        if (p == 0) m |= static_cast<std::uint8_t>(0x80 >> bit);
      }
      colour.push_back(c);
      mask.push_back(m);
    }
  }
  Bytes image;
  Put32(image, 40);         // BITMAPINFOHEADER
  Put32(image, kSize);
  Put32(image, kSize * 2);  // colour and mask together
  Put16(image, 1);
  Put16(image, 1);          // one bit per pixel
  Put32(image, 0);
  Put32(image, static_cast<std::uint32_t>(colour.size() + mask.size()));
  Put32(image, 0);
  Put32(image, 0);
  Put32(image, 2);
  Put32(image, 0);
  Put32(image, 0x000000);   // palette: black, white
  Put32(image, 0xFFFFFF);
  image.insert(image.end(), colour.begin(), colour.end());
  image.insert(image.end(), mask.begin(), mask.end());

  Bytes file;
  Put16(file, 0);  // reserved
  Put16(file, 2);  // a cursor file
  Put16(file, 1);  // one image
  file.push_back(kSize);
  file.push_back(kSize);
  file.push_back(0);
  file.push_back(0);
  Put16(file, kHotX);
  Put16(file, kHotY);
  Put32(file, static_cast<std::uint32_t>(image.size()));
  Put32(file, 6 + 16);
  file.insert(file.end(), image.begin(), image.end());

  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
