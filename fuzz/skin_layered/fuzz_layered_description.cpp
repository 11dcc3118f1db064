// The skin description text on any bytes, read as the skin reader reads it: every key of
// every section classified and parsed as an image descriptor (a malformed one may only raise
// the reader's value error), the skin-wide values, and every section value with inheritance
// (chains of parents of any shape end). The descriptors keep to the table's ranges, and the
// default margins never fail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "skin_layered/core/ImageDescriptor.h"
#include "skin_layered/core/SkinDescription.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

constexpr std::string_view kSectionKeys[] = {
    "STATES", "GIVEOWNFONT", "RESERVEDBOOLEAN", "GLOW", "GLOWMARGIN", "OUTERMODE", "OUTOFFSL", "OUTOPACITY",
    "COLOR", "FONTCOLOR", "TCLEFT", "GCOL", "GSIZE", "GRADIENTPERCENT", "GRADIENTDATA", "IMAGEPERCENT",
    "TRANSPARENCY", "HOTCOLOR", "HOTGRADIENTDATA", "HOTTRANSPARENCY"};

void Descriptor(std::string_view value) {
  using namespace skin_layered;
  try {
    const TImageDescriptor d = ParseImageValue(value);
    Check(d.ImageCount >= 0 && d.ImageCount <= 0xFFFF && d.MaskType >= -1 && d.MaskType <= 2);
    Check(d.ImgType >= 0 && d.ImgType <= kMaxImageKind && d.DrawMode >= 0 && d.DrawMode <= 0xFFFF);
    for (std::int32_t margin : d.Margins) Check(margin >= 0 && margin <= 0x7FFF);
    Check(d.FileName.size() <= value.size());
    const auto margins =
        ImageMargins(d.Margins, d.MarginAll, d.Right - d.Left, d.Bottom - d.Top, d.ImageCount, d.MaskType);
    for (std::int32_t margin : margins) Check(margin >= 0);
  } catch (const EDescriptionValue& e) {
    Check(e.Text().size() <= value.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skin_layered;
  const TSkinDescription description(std::string_view(reinterpret_cast<const char*>(data), size));
  description.ReadFloat("GLOBALINFO", "VERSION", 0);
  description.ReadInteger("GLOBALINFO", "TITLEHEIGHT", 30);
  int keys[std::size(kSectionKeys)];
  for (std::size_t k = 0; k < std::size(kSectionKeys); ++k) keys[k] = description.FindKey(kSectionKeys[k]);
  for (int i = 0; i < description.SectionCount(); ++i) {
    const std::string_view section = description.SectionName(i);
    Check(description.FindSection(section) == i);
    for (const auto& entry : description.Entries(i)) {
      Check(description.Value(i, description.FindKey(entry.Key)) == entry.Value);
      Descriptor(entry.Value);
    }
    for (int key : keys) {
      description.InheritedInteger(i, key);
      description.InheritedString(i, key);
      description.InheritedBool(i, key);
    }
  }
  // By name as by number.
  if (description.SectionCount() > 0) {
    const std::string_view last = description.SectionName(description.SectionCount() - 1);
    Check(description.InheritedString(last, "COLOR") ==
          description.InheritedString(description.SectionCount() - 1, description.FindKey("COLOR")));
  }
  // Values read without a section of their own.
  std::int32_t value = 0;
  ParseDescriptionInteger(std::string_view(reinterpret_cast<const char*>(data), size), value, true);
  return 0;
}
