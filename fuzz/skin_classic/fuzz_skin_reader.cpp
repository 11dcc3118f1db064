// Skin package reader on any package: loading either fails cleanly or gives entries that
// all lie inside the data, and every extraction stays there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin_classic/io/QuickIni.h"
#include "skin_classic/io/SkinReader.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Inside(std::span<const std::uint8_t> outer, std::span<const std::uint8_t> inner) {
  return inner.empty() || (inner.data() >= outer.data() && inner.data() + inner.size() <= outer.data() + outer.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skin_classic;
  TSkinReader reader;
  if (reader.Load(std::span(data, size)) != SkinLoadResult::Loaded) {
    Check(reader.Count() == 0 && reader.Data().empty());
    return 0;
  }
  Check(reader.Count() <= TSkinReader::kMaxEntries && reader.Sizes().size() == reader.Count());
  for (const auto& name : reader.Names()) {
    const auto entry = reader.Extract(name);
    Check(entry && entry->name == name && Inside(reader.Data(), entry->bytes));
  }
  for (const char* fragment : {".ini", ".bmp", ""}) {
    if (const auto entry = reader.ExtractByExt(fragment)) Check(Inside(reader.Data(), entry->bytes));
  }
  if (const auto ini = reader.ExtractByExt(".ini")) {
    TQuickIni quick;
    quick.Load(ini->bytes);
    for (const auto& section : quick.ReadSections()) quick.ReadInteger(section, "image", 0);
  }
  return 0;
}
