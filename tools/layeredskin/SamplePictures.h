// The pictures of the sample layered skin: the parts of its master bitmap (each with the
// section and key that name it and the descriptor the description must give it) and its
// image files, drawn from a palette.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tools/layeredskin/Raster.h"

namespace layeredskin {

struct Palette {
  Rgb accent, accentLight, accentDark, accentPale;
  Rgb face, faceLight, faceDark;
  Rgb border, borderLight, borderDark;
  Rgb text, glyph, white;
  Rgb closeHot, closePressed;
  Rgb progressTop, progressBottom;
  Rgb hint, hintBorder, shadow;

  static Palette Lagoon();
  // Every colour through Change.
  Palette Recoloured(const std::function<Rgb(Rgb)>& Change) const;
};

// One skin image: states side by side. MaskType 1 stores each state's colours with its mask
// (255 - coverage) one state lower; MaskType 0 stores solid pixels over the key colour.
struct Picture {
  std::vector<Raster> Frames;
  int MaskType = 1;
  int FrameWidth() const { return Frames.empty() ? 0 : Frames.front().Width(); }
  int FrameHeight() const { return Frames.empty() ? 0 : Frames.front().Height(); }
  int Width() const { return FrameWidth() * static_cast<int>(Frames.size()); }
  int Height() const { return FrameHeight() * (MaskType + 1); }
  // 0xRRGGBB pixels, top row first.
  std::vector<std::uint32_t> Pixels() const;
};

struct MasterPart {
  std::string Section, Key;
  char Kind = '^';  // '^' with margins, '@' plain, '~' texture
  Picture Image;
  std::array<int, 4> Margins{};
  int DrawMode = 0;
  int MarginAll = 0;
  int X = 0, Y = 0;  // placed by the layout
  std::string Descriptor() const;
};

struct FilePicture {
  std::string Name;  // as the description names it
  Picture Image;
};

struct SamplePictures {
  std::vector<MasterPart> Parts;
  std::vector<FilePicture> Files;  // PNG pictures with masks
  std::string TextureName;         // a 24-bit BMP texture
  Raster Texture;
  int MasterWidth = 0, MasterHeight = 0;

  // The master bitmap (key colour where no part lies) as 0xRRGGBB pixels.
  std::vector<std::uint32_t> MasterPixels() const;
};

SamplePictures DrawSamplePictures(const Palette& P);

}  // namespace layeredskin
