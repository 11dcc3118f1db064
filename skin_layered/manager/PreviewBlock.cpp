#include "skin_layered/manager/PreviewBlock.h"

#include <cstring>
#include <span>

namespace skin_layered {
namespace {

vcl::String AnsiField(const std::uint8_t* Field, std::size_t Size) {
  const void* end = std::memchr(Field, 0, Size);
  const std::size_t length = end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - Field) : Size;
  if (length == 0) return {};
  return vcl::TEncoding::ANSI->GetString(std::span<const std::uint8_t>(Field, length));
}

}  // namespace

bool IsPreviewData(const void* Data, std::size_t Size) {
  if (!Data || Size < sizeof(std::uint32_t)) return false;
  std::uint32_t magic = 0;
  std::memcpy(&magic, Data, sizeof magic);
  return magic == kPreviewMagic;
}

bool ReadPreviewBlock(const void* Data, std::size_t Size, TqvPreviewBlock& Block) {
  if (Size < kPreviewBlockSize || !IsPreviewData(Data, Size)) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(Data);
  Block.SkinName = AnsiField(bytes + kPreviewNameOffset, kPreviewNameSize);
  Block.SkinDirectory = AnsiField(bytes + kPreviewDirectoryOffset, kPreviewDirectorySize);
  Block.OptionText = AnsiField(bytes + kPreviewTextOffset, kPreviewTextSize);
  return true;
}

}  // namespace skin_layered
