#include "skin_classic/io/WinSkinIni.h"

#include <algorithm>
#include <vector>

#include "classlib/rtl/ScopeExit.h"
#include "skin_classic/io/SkinReader.h"

namespace winskin {
namespace {

// A description is one entry of a package, which is never larger than this.
constexpr int64_t kMaxDescriptionBytes = skin_classic::TSkinReader::kMaxUnpackedSize;

}  // namespace

VCL_CLASS_INFO(TQuickIni) {}

void TQuickIni::LoadFromStream(vcl::TStream* Stream) {
  if (!Stream) return;
  const int64_t available = std::clamp<int64_t>(Stream->Size() - Stream->Position(), 0, kMaxDescriptionBytes);
  std::vector<uint8_t> bytes(static_cast<size_t>(available));
  bytes.resize(static_cast<size_t>(Stream->Read(bytes.data(), available)));
  ini_.Load(bytes);
}

void TQuickIni::ReadSections(vcl::TStrings* Strings) const {
  if (!Strings) throw vcl::EAssertionFailed(L"The parameter Strings is unassigned!");
  Strings->BeginUpdate();
  const vcl::TScopeExit end([Strings] { Strings->EndUpdate(); });
  Strings->Clear();
  for (const std::string& name : ini_.ReadSections()) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(name.data()), name.size());
    Strings->Add(vcl::TEncoding::ANSI->GetString(bytes));
  }
}

}  // namespace winskin
