// The skin editor's preview block: the skin it is editing, sent to the program's application
// window with WM_COPYDATA (identifier 7) so that the program shows the skin as it stands. The
// block may come from any process: it is taken only when it is whole, and its texts are read
// only up to the end of their fields.
#pragma once

#include <cstddef>
#include <cstdint>

#include "classlib/rtl/SysUtils.h"

namespace skin_layered {

inline constexpr std::uint32_t kPreviewMagic = 0xA400;
inline constexpr unsigned long kPreviewCopyDataId = 7;
// The layout: magic (uint32), skin name (128 ANSI characters), skin directory (512), option
// text (30001), each text NUL-terminated within its field.
inline constexpr std::size_t kPreviewNameSize = 128;
inline constexpr std::size_t kPreviewDirectorySize = 512;
inline constexpr std::size_t kPreviewTextSize = 30001;
inline constexpr std::size_t kPreviewNameOffset = 4;
inline constexpr std::size_t kPreviewDirectoryOffset = kPreviewNameOffset + kPreviewNameSize;
inline constexpr std::size_t kPreviewTextOffset = kPreviewDirectoryOffset + kPreviewDirectorySize;
inline constexpr std::size_t kPreviewBlockSize = kPreviewTextOffset + kPreviewTextSize;  // 30,645
static_assert(kPreviewBlockSize == 30645);

struct TqvPreviewBlock {
  vcl::String SkinName;
  vcl::String SkinDirectory;
  vcl::String OptionText;
};

// The data begins with the magic (and holds at least its four bytes).
bool IsPreviewData(const void* Data, std::size_t Size);
// The block from the data: false, with Block untouched, unless the data is a whole block that
// begins with the magic. Each text ends at its first NUL or at the end of its field; the texts
// are ANSI.
bool ReadPreviewBlock(const void* Data, std::size_t Size, TqvPreviewBlock& Block);

}  // namespace skin_layered
