// Quick INI reader on any text: loading, listing sections and looking up keys that the
// text itself names.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "skin_classic/io/QuickIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skin_classic;
  TQuickIni ini;
  ini.Load(std::span(data, size));
  const auto sections = ini.ReadSections();
  const auto lines = ini.Lines();
  // A bounded sample of lookups: the first sections against the first keys.
  for (std::size_t s = 0; s < std::min<std::size_t>(sections.size(), 8); ++s) {
    for (std::size_t l = 0; l < std::min<std::size_t>(lines.size(), 16); ++l) {
      const std::string_view line = lines[l];
      const std::string_view key = line.substr(0, std::min(line.find('='), line.size()));
      const std::string value = ini.ReadString(sections[s], key, "default");
      ini.ReadInteger(sections[s], key, -1);
      std::int32_t number = 0;
      ParseSkinInteger(value, number);
    }
  }
  ini.ReadString("", "", "");
  return 0;
}
