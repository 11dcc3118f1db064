// The packed-skin reader: reads a pack (a pmz file, or the same bytes stored in a form),
// unpacking its option text ("Options.dat") and finding its image files, which are unpacked
// one at a time when the skin's description asks for them: an entry the description does
// not name is never held in memory, and none may unpack to more than kMaxPackEntrySize.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/rtl/Persistent.h"
#include "classlib/rtl/Streams.h"
#include "classlib/rtl/SysUtils.h"

namespace skin_layered {

class EPackError;

inline constexpr wchar_t kNotAPackMessage[] = L"Loaded data is not a packed Pellimor file";

// One image file of a pack.
struct TqvImageItem {
  vcl::AnsiString Name;  // the entry name as stored
  bool IsBitmap = false;  // its extension is ".BMP" in any letter case
  std::int32_t Size = 0;  // its unpacked size
  std::int64_t DataOffset = 0;  // where its compressed data begins in the pack
  int Index = 0;  // its place among the pack's entries
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
  // The pack to read: set by the caller before LoadPack (not owned) and cleared after. Its
  // bytes are kept by the reader, which unpacks the image files from them.
  vcl::TStream* PackedData = nullptr;
  // What messages call the pack: its file, or the name of the skin stored in a form.
  vcl::String SourceName;

  // Reads PackedData from its start, adding to what the reader holds. A source that is not
  // a pack shows kNotAPackMessage as an error and gives false. A pack that is cut short, or
  // whose counts, lengths or sizes are beyond its data or its entries beyond the size
  // allowed, raises EReadError; damaged compressed data raises EZDecompressionError. The
  // messages name the pack (SourceName) and the fault. Either leaves the entries read before.
  bool LoadPack();
  // The image file's bytes, unpacked now (the errors as LoadPack's).
  std::unique_ptr<vcl::TMemoryStream> Unpack(const TqvImageItem& Item) const;
  // Frees every entry, the option text and the pack's bytes, and lets go of the source.
  void Clear();

 private:
  [[noreturn]] void RaisePackError(const EPackError& Error) const;

  std::vector<std::uint8_t> packed_;
};

// The file-level loader: when FileName exists, the reader (created when nil, else cleared)
// reads the whole file; false when the file does not exist or is not a pack.
bool LoadSkinPackFile(const vcl::String& FileName, std::unique_ptr<TqvSkinConvertor>& Reader);

}  // namespace skin_layered
