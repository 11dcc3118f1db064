#include "skin_classic/io/WinSkinReader.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "skin_classic/io/SkinLzh.h"

namespace winskin {
namespace {

// No package holds more: the unpacked size is bounded, and an LZHUF stream of twice that
// size is already far beyond what any unpacked size needs.
constexpr int64_t kMaxPackageBytes = 4 + 2 * skin_classic::TSkinReader::kMaxUnpackedSize;

void CopyInto(const std::optional<skin_classic::SkinEntry>& entry, vcl::TMemoryStream* Dest) {
  if (entry && !entry->bytes.empty()) Dest->WriteBuffer(entry->bytes.data(), static_cast<int64_t>(entry->bytes.size()));
  Dest->SetPosition(0);
}

}  // namespace

void ShowSkinMessage(const vcl::String& Text) {
  if (vcl::Application) {
    vcl::Application->MessageBox(Text, vcl::Application->Title(), MB_OK);
  } else {
    vcl::ShowMessageBox(nullptr, Text, L"", MB_OK);
  }
}

VCL_CLASS_INFO(TSkinReader) {}

bool TSkinReader::LoadFromStream(vcl::TStream* Source) {
  if (!Source) {
    result_ = skin_classic::SkinLoadResult::Malformed;
    fault_ = "there is no stream to read it from";
    return false;
  }
  Source->SetPosition(0);
  const int64_t size = std::min(Source->Size(), kMaxPackageBytes);
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(size, 0)));
  bytes.resize(static_cast<size_t>(Source->Read(bytes.data(), static_cast<int64_t>(bytes.size()))));
  skin_classic::SkinLoadResult result;
  try {
    result = package_.Load(bytes);
  } catch (const skin_classic::ElzhException& e) {
    throw ElzhException(vcl::Utf8ToWide(e.what()));
  }
  result_ = result;
  fault_ = package_.Fault();
  if (result == skin_classic::SkinLoadResult::OlderSkinFile) ShowSkinMessage(kOlderSkinFileText);
  return result == skin_classic::SkinLoadResult::Loaded;
}

void TSkinReader::Extract(std::string_view Name, vcl::TMemoryStream* Dest) const {
  if (!Dest) return;
  Dest->Clear();
  CopyInto(package_.Extract(Name), Dest);
}

void TSkinReader::ExtractByExt(std::string_view Fragment, vcl::TMemoryStream* Dest, AnsiString& Name) const {
  if (!Dest) return;
  Dest->Clear();
  const auto entry = package_.ExtractByExt(Fragment);
  if (entry) Name = AnsiString(entry->name);
  CopyInto(entry, Dest);
}

}  // namespace winskin
