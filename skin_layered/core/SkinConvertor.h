// The packed-skin reader: unpacks a pack (a pmz file, or the same bytes stored in a form)
// into the skin's option text ("Options.dat") and its image files, held in memory streams.
#pragma once

#include <memory>
#include <vector>

#include "classlib/rtl/Persistent.h"
#include "classlib/rtl/Streams.h"
#include "classlib/rtl/SysUtils.h"

namespace skin_layered {

inline constexpr wchar_t kNotAPackMessage[] = L"Loaded data is not a packed Pellimor file";

// One image file of a pack.
struct TqvImageItem {
  vcl::AnsiString Name;  // the entry name as stored
  bool IsBitmap = false;  // its extension is ".BMP" in any letter case
  std::unique_ptr<vcl::TMemoryStream> Data;  // the unpacked bytes
};

class TqvSkinConvertor : public vcl::TPersistent {
  VCL_CLASS(TqvSkinConvertor, vcl::TPersistent)
 public:
  TqvSkinConvertor() = default;
  ~TqvSkinConvertor() override;

  // The entry count less one after a read.
  int LastEntry = -1;
  // The image files in pack order.
  std::vector<TqvImageItem> Files;
  // The option text; nil when the pack has none.
  std::unique_ptr<vcl::TMemoryStream> Options;
  // The pack to read: set by the caller before LoadPack (not owned) and cleared after.
  vcl::TStream* PackedData = nullptr;

  // Reads PackedData from its start, adding to what the reader holds. A source that is not
  // a pack shows kNotAPackMessage as an error and gives false. A pack that is cut short
  // raises EReadError; corrupt compressed data raises EZDecompressionError. Either leaves
  // the entries read before it.
  bool LoadPack();
  // Frees every entry and the option text, and lets go of the source.
  void Clear();
};

// The file-level loader: when FileName exists, the reader (created when nil, else cleared)
// reads the whole file; false when the file does not exist or is not a pack.
bool LoadSkinPackFile(const vcl::String& FileName, std::unique_ptr<TqvSkinConvertor>& Reader);

}  // namespace skin_layered
