#include "skin_layered/core/SkinConvertor.h"

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/SkinDialogs.h"
#include "skin_layered/core/SkinPack.h"
#include "skin_layered/core/ZStream.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSkinConvertor) {}

TqvSkinConvertor::~TqvSkinConvertor() = default;

bool TqvSkinConvertor::LoadPack() {
  if (!PackedData) return false;
  TStreamInflateSource source(PackedData);
  try {
    const std::optional<TPackHeader> header = ReadPackHeader(source);
    if (!header) {
      ShowMessageEx(kNotAPackMessage, kMessageError, {TMsgDlgBtn::mbOK}, 0);
      return false;
    }
    LastEntry = header->Count - 1;
    for (std::int32_t i = 0; i < header->Count; ++i) {
      TPackEntry entry = ReadPackEntry(source);
      auto data = std::make_unique<vcl::TMemoryStream>();
      if (!entry.Data.empty()) data->WriteBuffer(entry.Data.data(), static_cast<int64_t>(entry.Data.size()));
      data->SetPosition(0);
      if (IsOptionsEntryName(entry.Name)) {
        Options = std::move(data);
      } else {
        const bool isBitmap = IsBitmapEntryName(entry.Name);
        Files.push_back(TqvImageItem{std::move(entry.Name), isBitmap, std::move(data)});
      }
    }
  } catch (const EInflateError& e) {
    RaiseInflateError(e);
  }
  return true;
}

void TqvSkinConvertor::Clear() {
  Files.clear();
  Options.reset();
  PackedData = nullptr;
}

bool LoadSkinPackFile(const vcl::String& FileName, std::unique_ptr<TqvSkinConvertor>& Reader) {
  if (!vcl::FileExists(FileName)) return false;
  if (Reader)
    Reader->Clear();
  else
    Reader = std::make_unique<TqvSkinConvertor>();
  vcl::TMemoryStream file;
  file.LoadFromFile(FileName);
  Reader->PackedData = &file;
  const vcl::TScopeExit release([reader = Reader.get()] { reader->PackedData = nullptr; });
  return Reader->LoadPack();
}

}  // namespace skin_layered
