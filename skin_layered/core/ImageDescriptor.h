// The image values of a skin description. A value names an image by its first character
// (compared in upper case):
//   "!"  an image file with parameters: "!"-separated words file, image count, mask type,
//        image kind and, after those, optionally the margins left, top, right, bottom;
//   "@"  a part of the master bitmap: Left at columns 2-5, Top 7-10, Right 12-15, Bottom
//        17-20, image count at 22, mask type at 24;
//   "^"  a part of the master bitmap with margins: the rectangle as "@", margins at 22-25,
//        27-30, 32-35, 37-40, image count at 42, mask type at 44, drawing flags at 46, the
//        shared margin at 48;
//   "~"  a texture part: the rectangle as "@", drawing flags at 22-23, the mask type at 25
//        when the text reaches it, and in a text longer than 26 characters the seventh
//        "~"-separated word names a file holding the texture;
// and any other value containing ".JPG" or ".BMP" names a texture file. Columns count from
// 1 and hold fixed numbers of digits. No windows.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace skin_layered {

enum class TImageValueKind { NotImage, FileWithParams, Part, MaskPart, TexturePart, TextureFile };

// Kinds of image (TsMaskData::ImgType) the reader gives.
inline constexpr int kPlainImage = 0;
inline constexpr int kTextureImage = 1;
inline constexpr int kPartImage = 2;
inline constexpr int kMaxImageKind = 4;

struct TImageDescriptor {
  TImageValueKind Kind = TImageValueKind::NotImage;
  // The image's area: in the master bitmap for parts (or in their own file), empty for files
  // (their whole image).
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::int32_t ImageCount = 1;
  std::int32_t MaskType = 0;  // -1..2
  std::int32_t DrawMode = 0;
  std::int32_t MarginAll = 0;
  std::array<std::int32_t, 4> Margins{};  // left, top, right, bottom
  std::int32_t ImgType = kPlainImage;
  std::string FileName;  // as written; empty for parts of the master bitmap
};

TImageValueKind ClassifyImageValue(std::string_view Value);

// The descriptor of an image value. Numbers are limited to what the image table holds
// (counts and flags 0..65535, margins 0..32767, mask types -1..2, kinds 0..4). A number
// that is not one, or a text too short for its columns or words, raises EDescriptionValue.
// A value that is not an image gives Kind NotImage.
TImageDescriptor ParseImageValue(std::string_view Value);

// The margins of an image whose own four are all 0: the shared margin on every side when it
// is not 0; else a third of one frame (Width div (ImageCount * 3)) left and right and a third
// of one state (Height div ((MaskType + 1) * 3)) top and bottom, 0 for an image without
// frames or states. Margins that are not all 0 stay.
std::array<std::int32_t, 4> ImageMargins(const std::array<std::int32_t, 4>& Margins, std::int32_t MarginAll,
                                         std::int32_t Width, std::int32_t Height, std::int32_t ImageCount,
                                         std::int32_t MaskType);

}  // namespace skin_layered
