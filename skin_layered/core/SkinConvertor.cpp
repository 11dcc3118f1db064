#include "skin_layered/core/SkinConvertor.h"

#include <span>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/core/SkinDialogs.h"
#include "skin_layered/core/SkinPack.h"
#include "skin_layered/core/ZStream.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSkinConvertor) {}

namespace {

vcl::String Quoted(const vcl::String& Text) { return L"\"" + Text + L"\""; }

vcl::String AnsiText(const std::string& Bytes) {
  return vcl::TEncoding::ANSI->GetString(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size()));
}

}  // namespace

TqvSkinConvertor::~TqvSkinConvertor() = default;

void TqvSkinConvertor::RaisePackError(const EPackError& Error) const {
  using S = TqvLibString;
  const vcl::String pack = Quoted(SourceName.empty() ? LibText(S::Internal) : SourceName);
  const int count = Error.Count > 0 ? Error.Count : LastEntry + 1;
  const vcl::String entry =
      Error.NameRead ? vcl::Format(LibText(S::PackEntryNamed), {Error.Entry + 1, count, Quoted(AnsiText(Error.EntryName))})
                     : vcl::Format(LibText(S::PackEntryNumbered), {Error.Entry + 1, count});
  switch (Error.Fault) {
    case TPackFault::CutShort:
      if (Error.Entry < 0) throw vcl::EReadError(vcl::Format(LibText(S::PackHeaderCutShort), {pack}));
      if (Error.Claimed > 0)
        throw vcl::EReadError(vcl::Format(LibText(S::PackDataCutShort), {pack, entry, Error.Claimed}));
      throw vcl::EReadError(vcl::Format(LibText(S::PackCutShort), {pack, entry}));
    case TPackFault::CountBeyondData:
      if (Error.Entry < 0)
        throw vcl::EReadError(vcl::Format(LibText(S::PackCountBeyondData), {pack, Error.Claimed, Error.Left}));
      if (!Error.NameRead)
        throw vcl::EReadError(vcl::Format(LibText(S::PackNameBeyondData), {pack, entry, Error.Claimed, Error.Left}));
      throw vcl::EReadError(vcl::Format(LibText(S::PackSizeBeyondData), {pack, entry, Error.Claimed, Error.Left}));
    case TPackFault::EntryTooLarge:
      // The description is no picture: the message says which it is.
      throw vcl::EReadError(vcl::Format(
          LibText(Error.NameRead && IsOptionsEntryName(Error.EntryName) ? S::PackDescriptionTooLarge : S::PackEntryTooLarge),
          {pack, entry, static_cast<int>(kMaxPackEntrySize >> 20)}));
    case TPackFault::PackTooLarge:
      throw vcl::EReadError(
          vcl::Format(LibText(S::PackTooLarge), {pack, entry, static_cast<int>(kMaxPackUnpackedSize >> 20)}));
    case TPackFault::Damaged:
      throw EZDecompressionError(
          Error.ZLibCode, vcl::Format(LibText(S::PackDataDamaged), {pack, entry, vcl::Utf8ToWide(ZLibMessage(Error.ZLibCode))}));
  }
  throw vcl::EReadError(vcl::Utf8ToWide(Error.what()));
}

bool TqvSkinConvertor::LoadPack() {
  if (!PackedData) return false;
  // The pack's bytes are kept: the image files are unpacked from them when asked for.
  PackedData->SetPosition(0);
  const std::int64_t size = PackedData->Size();
  packed_.assign(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), 0);
  if (!packed_.empty()) packed_.resize(static_cast<std::size_t>(PackedData->Read(packed_.data(), size)));
  TMemorySource source(packed_);
  try {
    const std::optional<TPackHeader> header = ReadPackHeader(source);
    if (!header) {
      ShowMessageEx(kNotAPackMessage, kMessageError, {TMsgDlgBtn::mbOK}, 0);
      return false;
    }
    LastEntry = header->Count - 1;
    std::int64_t unpacked = 0;
    for (int i = 0; i < header->Count; ++i) {
      const TPackEntryInfo entry = SkipPackEntry(source, i, header->Count, unpacked);
      if (IsOptionsEntryName(entry.Name)) {
        const std::int64_t after = source.Position();
        const std::vector<std::uint8_t> text = UnpackPackEntry(source, entry);
        source.Seek(after, TSourceOrigin::Beginning);
        Options = std::make_unique<vcl::TMemoryStream>();
        if (!text.empty()) Options->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
        Options->SetPosition(0);
      } else {
        Files.push_back(TqvImageItem{vcl::AnsiString(entry.Name), IsBitmapEntryName(entry.Name), entry.Size,
                                     entry.DataOffset, entry.Index});
      }
    }
  } catch (const EPackError& e) {
    RaisePackError(e);
  }
  return true;
}

std::unique_ptr<vcl::TMemoryStream> TqvSkinConvertor::Unpack(const TqvImageItem& Item) const {
  TMemorySource source(packed_);
  TPackEntryInfo entry;
  entry.Name = std::string(Item.Name);
  entry.Size = Item.Size;
  entry.DataOffset = Item.DataOffset;
  entry.Index = Item.Index;
  auto data = std::make_unique<vcl::TMemoryStream>();
  try {
    // At most the size allowed, which the walk through the pack found the data to give.
    CheckPackEntrySize(entry);
    data->SetSize(entry.Size);
    UnpackPackEntry(source, entry, std::span<std::uint8_t>(data->Memory(), static_cast<std::size_t>(entry.Size)));
  } catch (const EPackError& e) {
    RaisePackError(e);
  }
  data->SetPosition(0);
  return data;
}

void TqvSkinConvertor::Clear() {
  Files.clear();
  Options.reset();
  packed_.clear();
  packed_.shrink_to_fit();
  PackedData = nullptr;
}

bool LoadSkinPackFile(const vcl::String& FileName, std::unique_ptr<TqvSkinConvertor>& Reader) {
  if (!vcl::FileExists(FileName)) return false;
  if (Reader)
    Reader->Clear();
  else
    Reader = std::make_unique<TqvSkinConvertor>();
  vcl::TFileStream file(FileName, vcl::fmOpenRead | vcl::fmShareDenyWrite);
  Reader->PackedData = &file;
  Reader->SourceName = FileName;
  const vcl::TScopeExit release([reader = Reader.get()] { reader->PackedData = nullptr; });
  return Reader->LoadPack();
}

}  // namespace skin_layered
