#include "skin_layered/core/ImageDescriptor.h"

#include <algorithm>

#include "skin_layered/core/SkinDescription.h"
#include "skin_layered/core/TextUtils.h"

namespace skin_layered {

namespace {

// The text at columns From..To (counted from 1), which the value must reach.
std::string_view Columns(std::string_view value, std::size_t from, std::size_t to) {
  if (value.size() < to)
    throw EDescriptionValue("Image descriptor '" + std::string(value) + "' is too short", std::string(value));
  return value.substr(from - 1, to - from + 1);
}

std::int32_t NumberAt(std::string_view value, std::size_t from, std::size_t to) {
  return DescriptionInteger(Columns(value, from, to));
}

std::int32_t Limited(std::int32_t v, std::int32_t low, std::int32_t high) { return std::clamp(v, low, high); }

void ReadRectangle(std::string_view value, TImageDescriptor& d) {
  d.Left = NumberAt(value, 2, 5);
  d.Top = NumberAt(value, 7, 10);
  d.Right = NumberAt(value, 12, 15);
  d.Bottom = NumberAt(value, 17, 20);
}

void ReadFileWithParams(std::string_view value, TImageDescriptor& d) {
  // The "!"-separated words, found in one pass: the file, three numbers and the margins.
  constexpr std::size_t kWords = 8;
  std::array<std::string_view, kWords> words{};
  std::size_t count = 0;
  for (std::size_t i = 0; i < value.size() && count <= kWords;) {
    if (value[i] == '!') {
      ++i;
      continue;
    }
    const std::size_t end = std::min(value.find('!', i), value.size());
    if (count < kWords) words[count] = value.substr(i, end - i);
    ++count;
    i = end;
  }
  auto word = [&](std::size_t n) {
    if (n > count)
      throw EDescriptionValue("Image descriptor '" + std::string(value) + "' lacks a value", std::string(value));
    return words[n - 1];
  };
  d.FileName = word(1);
  d.ImageCount = DescriptionInteger(word(2));
  d.MaskType = DescriptionInteger(word(3));
  d.ImgType = DescriptionInteger(word(4));
  if (count > 4)
    for (std::size_t side = 0; side < 4; ++side) d.Margins[side] = DescriptionInteger(word(5 + side));
}

// Whether the text holds Upper (in capitals) in any case of its ASCII letters.
bool ContainsUpperCased(std::string_view text, std::string_view upper) {
  if (text.size() < upper.size()) return false;
  for (std::size_t at = 0; at + upper.size() <= text.size(); ++at) {
    std::size_t k = 0;
    while (k < upper.size()) {
      char c = text[at + k];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (c != upper[k]) break;
      ++k;
    }
    if (k == upper.size()) return true;
  }
  return false;
}

}  // namespace

TImageValueKind ClassifyImageValue(std::string_view Value) {
  if (Value.empty()) return TImageValueKind::NotImage;
  switch (Value.front()) {
    case '!':
      return TImageValueKind::FileWithParams;
    case '@':
      return TImageValueKind::Part;
    case '^':
      return TImageValueKind::MaskPart;
    case '~':
      return TImageValueKind::TexturePart;
    default:
      break;
  }
  if (ContainsUpperCased(Value, ".JPG") || ContainsUpperCased(Value, ".BMP")) return TImageValueKind::TextureFile;
  return TImageValueKind::NotImage;
}

TImageDescriptor ParseImageValue(std::string_view Value) {
  TImageDescriptor d;
  d.Kind = ClassifyImageValue(Value);
  switch (d.Kind) {
    case TImageValueKind::NotImage:
      return d;
    case TImageValueKind::FileWithParams:
      ReadFileWithParams(Value, d);
      break;
    case TImageValueKind::Part:
      ReadRectangle(Value, d);
      d.ImageCount = NumberAt(Value, 22, 22);
      d.MaskType = NumberAt(Value, 24, 24);
      d.ImgType = kPartImage;
      break;
    case TImageValueKind::MaskPart:
      ReadRectangle(Value, d);
      d.Margins = {NumberAt(Value, 22, 25), NumberAt(Value, 27, 30), NumberAt(Value, 32, 35), NumberAt(Value, 37, 40)};
      d.ImageCount = NumberAt(Value, 42, 42);
      d.MaskType = NumberAt(Value, 44, 44);
      d.DrawMode = NumberAt(Value, 46, 46);
      d.MarginAll = NumberAt(Value, 48, 48);
      d.ImgType = kPartImage;
      break;
    case TImageValueKind::TexturePart:
      ReadRectangle(Value, d);
      d.DrawMode = NumberAt(Value, 22, 23);
      if (Value.size() >= 25) d.MaskType = NumberAt(Value, 25, 25);
      if (Value.size() > 26) d.FileName = ExtractWordEx(7, Value, CharSetOf("~"));
      d.ImageCount = 1;
      d.ImgType = kTextureImage;
      break;
    case TImageValueKind::TextureFile:
      d.FileName = std::string(Value);
      d.ImageCount = 1;
      d.ImgType = kTextureImage;
      break;
  }
  d.ImageCount = Limited(d.ImageCount, 0, 0xFFFF);
  d.MaskType = Limited(d.MaskType, -1, 2);
  d.DrawMode = Limited(d.DrawMode, 0, 0xFFFF);
  d.MarginAll = Limited(d.MarginAll, 0, 0xFFFF);
  for (std::int32_t& margin : d.Margins) margin = Limited(margin, 0, 0x7FFF);
  d.ImgType = Limited(d.ImgType, 0, kMaxImageKind);
  return d;
}

std::array<std::int32_t, 4> ImageMargins(const std::array<std::int32_t, 4>& Margins, std::int32_t MarginAll,
                                         std::int32_t Width, std::int32_t Height, std::int32_t ImageCount,
                                         std::int32_t MaskType) {
  if (Margins != std::array<std::int32_t, 4>{}) return Margins;
  if (MarginAll != 0) {
    const std::int32_t all = Limited(MarginAll, 0, 0x7FFF);
    return {all, all, all, all};
  }
  // No frames (a count of 0) or no states (a mask type of -1) leave no third to take.
  const std::int32_t side = ImageCount > 0 ? std::max(Width, 0) / (ImageCount * 3) : 0;
  const std::int32_t end = MaskType >= 0 ? std::max(Height, 0) / ((MaskType + 1) * 3) : 0;
  return {side, end, side, end};
}

}  // namespace skin_layered
