// Draws the layered engine's own images at build time (a host program, run by the build):
//   qvSHDA.png, qvSHDI.png  the shadow of an active / inactive form: 40 x 40 pixels, a soft
//                           black shadow 9 pixels wide around a 22 x 22 form area (the
//                           engine's shadow margins are 9), fully transparent pixels white
//                           with alpha 0 as design tools write them;
//   BLUR5.bmp               the 19 x 19 blur of a shadow image's mask half: black (opaque)
//                           in the middle fading to white (clear) at the edges, 24-bit;
//   QVHINT.png              the default hint template: 27 x 27 pixels, a light rounded
//                           body from (6, 5) to (20, 19) with a grey frame and a soft shadow
//                           falling to the bottom right (shadow bands 6, 5, 7 and 8 wide);
//   SF, SR, SD, SE, SC.png  the start-up glyph strips: 48 x 16 pixels each, three 16 x 16
//                           states (normal, hot, pressed) of a forward arrow, a ring, a down
//                           arrow, an ellipsis and a cross, anti-aliased on transparency.
// Usage: DrawCoreImages OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "skin_layered/core/images/ImageFiles.h"

namespace {

using imagefiles::Bytes;

// A form area of Size - 2 * Band with a shadow Band pixels wide around it; the alpha falls
// from Peak at the form's edge to 0 at the image's, rounder at the corners.
Bytes Shadow(int size, int band, double peak) {
  Bytes rgba;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double dx = std::max({band - px, 0.0, px - (size - band)});
      const double dy = std::max({band - py, 0.0, py - (size - band)});
      const double d = std::sqrt(dx * dx + dy * dy) / band;
      const double share = d >= 1 ? 0 : (1 - d) * (1 - d);
      const auto alpha = static_cast<std::uint8_t>(std::lround(peak * share));
      const std::uint8_t colour = alpha == 0 ? 255 : 0;
      rgba.insert(rgba.end(), {colour, colour, colour, alpha});
    }
  }
  return rgba;
}

double Smooth(double t) { return t <= 0 ? 0 : t >= 1 ? 1 : t * t * (3 - 2 * t); }

std::vector<std::uint32_t> Blur(int size) {
  const int half = size / 2;
  std::vector<std::uint32_t> grey;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double fx = Smooth((std::min(x, size - 1 - x) + 0.5) / (half + 0.5));
      const double fy = Smooth((std::min(y, size - 1 - y) + 0.5) / (half + 0.5));
      const auto level = static_cast<std::uint32_t>(std::lround(255 * (1 - fx * fy)));
      grey.push_back(level << 16 | level << 8 | level);
    }
  }
  return grey;
}

// Straight RGBA of a colour with an alpha share (0..1), clear pixels white as design tools
// write them.
void PutPixel(Bytes& rgba, std::uint8_t r, std::uint8_t g, std::uint8_t b, double alpha) {
  const auto a = static_cast<std::uint8_t>(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
  if (a == 0)
    rgba.insert(rgba.end(), {255, 255, 255, 0});
  else
    rgba.insert(rgba.end(), {r, g, b, a});
}

// How much of the pixel (x, y) lies inside: 4 x 4 samples.
template <class Inside>
double Coverage(int x, int y, Inside&& inside) {
  int hits = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
  return hits / 16.0;
}

// Distance from a point outside a rounded rectangle to it (0 inside).
double RoundRectDistance(double px, double py, double l, double t, double r, double b, double radius) {
  const double cx = std::clamp(px, l + radius, r - radius), cy = std::clamp(py, t + radius, b - radius);
  return std::max(std::hypot(px - cx, py - cy) - radius, 0.0);
}

Bytes HintTemplate() {
  constexpr int kSize = 27;
  constexpr double kL = 6, kT = 5, kR = 20, kB = 19, kRadius = 3.5;
  Bytes rgba;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double body = Coverage(x, y, [&](double px, double py) { return RoundRectDistance(px, py, kL, kT, kR, kB, kRadius) == 0; });
      const double inner = Coverage(x, y, [&](double px, double py) {
        return RoundRectDistance(px, py, kL + 1, kT + 1, kR - 1, kB - 1, kRadius - 1) == 0;
      });
      // The shadow: the body moved one right and two down, fading over five pixels.
      const double d = RoundRectDistance(x + 0.5, y + 0.5, kL + 1, kT + 2, kR + 1, kB + 2, kRadius);
      const double shade = 0.35 * (1 - Smooth(d / 5));
      // Body over shadow: the frame grey, the inside a light cream from top to bottom.
      const double fill = (y - kT) / (kB - kT);
      const double cr = 255 - 8 * fill, cg = 255 - 8 * fill, cb = 240 - 16 * fill;
      const double fr = 122 * (body - inner) + cr * inner, fg = 122 * (body - inner) + cg * inner,
                   fb = 122 * (body - inner) + cb * inner;
      const double alpha = body + shade * (1 - body);
      if (alpha <= 0) {
        PutPixel(rgba, 0, 0, 0, 0);
        continue;
      }
      PutPixel(rgba, static_cast<std::uint8_t>(std::lround(fr / alpha)), static_cast<std::uint8_t>(std::lround(fg / alpha)),
               static_cast<std::uint8_t>(std::lround(fb / alpha)), alpha);
    }
  }
  return rgba;
}

// Three 16 x 16 states of a shape side by side: normal dark grey, hot blue, pressed dark blue.
template <class Inside>
Bytes GlyphStrip(Inside&& inside) {
  constexpr int kCell = 16, kStates = 3;
  static constexpr std::uint8_t kColours[kStates][3] = {{64, 64, 64}, {30, 110, 210}, {20, 70, 150}};
  Bytes rgba;
  for (int y = 0; y < kCell; ++y)
    for (int state = 0; state < kStates; ++state)
      for (int x = 0; x < kCell; ++x) {
        const double a = Coverage(x, y, inside);
        PutPixel(rgba, kColours[state][0], kColours[state][1], kColours[state][2], a);
      }
  return rgba;
}

bool InTriangle(double px, double py, double ax, double ay, double bx, double by, double cx, double cy) {
  const auto side = [](double x1, double y1, double x2, double y2, double x, double y) {
    return (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1);
  };
  const double d1 = side(ax, ay, bx, by, px, py), d2 = side(bx, by, cx, cy, px, py), d3 = side(cx, cy, ax, ay, px, py);
  return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: DrawCoreImages OUTPUT_FOLDER\n");
    return 2;
  }
  using imagefiles::EncodeBmp, imagefiles::WriteFile;
  const auto png = [](int width, int height, const Bytes& rgba) { return imagefiles::EncodePng(width, height, rgba, true); };
  const std::string folder = std::string(argv[1]) + "/";
  constexpr int kShadowSize = 40, kShadowBand = 9, kBlurSize = 19, kHintSize = 27, kStripW = 48, kStripH = 16;
  const auto strip = [&](const char* name, auto inside) {
    return WriteFile(folder + name + ".png", png(kStripW, kStripH, GlyphStrip(inside)));
  };
  const bool ok =
      WriteFile(folder + "qvSHDA.png", png(kShadowSize, kShadowSize, Shadow(kShadowSize, kShadowBand, 96))) &&
      WriteFile(folder + "qvSHDI.png", png(kShadowSize, kShadowSize, Shadow(kShadowSize, kShadowBand, 48))) &&
      WriteFile(folder + "BLUR5.bmp", EncodeBmp(kBlurSize, kBlurSize, Blur(kBlurSize))) &&
      WriteFile(folder + "QVHINT.png", png(kHintSize, kHintSize, HintTemplate())) &&
      strip("SF", [](double x, double y) { return InTriangle(x, y, 5, 3, 12, 8, 5, 13); }) &&
      strip("SR", [](double x, double y) {
        const double r = std::hypot(x - 8, y - 8);
        return r >= 3.5 && r <= 6;
      }) &&
      strip("SD", [](double x, double y) { return InTriangle(x, y, 3, 5, 13, 5, 8, 12); }) &&
      strip("SE", [](double x, double y) {
        return std::hypot(x - 3.5, y - 8) <= 1.6 || std::hypot(x - 8, y - 8) <= 1.6 || std::hypot(x - 12.5, y - 8) <= 1.6;
      }) &&
      strip("SC", [](double x, double y) {
        const bool inBox = x >= 3.5 && x <= 12.5 && y >= 3.5 && y <= 12.5;
        return inBox && (std::abs((x - 8) - (y - 8)) <= 1.2 || std::abs((x - 8) + (y - 8)) <= 1.2);
      });
  if (!ok) std::fprintf(stderr, "DrawCoreImages: cannot write to %s\n", folder.c_str());
  return ok ? 0 : 1;
}
