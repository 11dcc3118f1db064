// The whole description road on any package: package -> ".ini" entry -> description reader
// -> element records. Records must come out sane whatever the input: frame counts of at
// least 1, no negative margins, pictures that exist with positive sizes and crops inside
// them. The mutator works on the unpacked package mostly, so that changes reach the
// description text and the pictures instead of only garbling the compressed stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "skin_classic/data/SkinDescription.h"
#include "skin_classic/io/SkinLzh.h"
#include "skin_classic/support/SkinPackageWriter.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

using namespace skin_classic;

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckPicture(const TSkinReader& reader, const PictureRef& p) {
  if (!p.Present()) return;
  Check(p.width > 0 && p.height > 0 && reader.Extract(p.entry).has_value());
  if (p.crop) {
    Check(p.crop->left >= 0 && p.crop->top >= 0 && p.crop->width > 0 && p.crop->height > 0);
    Check(p.crop->left + p.crop->width <= p.width && p.crop->top + p.crop->height <= p.height);
  }
}

void CheckRecord(const TSkinReader& reader, const ElementRecord& r) {
  Check(r.frame >= 1 && r.radioButtonFrame >= 1 && r.checkButtonFrame >= 1);
  if (r.kind != SkinObjectKind::Title)
    Check(r.leftWidth >= 0 && r.topHeight >= 0 && r.rightWidth >= 0 && r.bottomHeight >= 0);
  Check(r.tile == 0 || r.tile == 1);
  CheckPicture(reader, r.picture);
  CheckPicture(reader, r.picture2);
  CheckPicture(reader, r.picture3);
  Check(!r.builtIn || !r.picture.Present());
}

std::int32_t ReadInt32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                                   std::uint32_t{p[3]} << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TSkinReader reader;
  if (reader.Load(std::span(data, size)) != SkinLoadResult::Loaded) return 0;
  TQuickIni ini;
  if (const auto entry = reader.ExtractByExt(".ini")) ini.Load(entry->bytes);
  DescriptionDefaults defaults;
  defaults.colours.fill(0x102030);
  const SkinDescription d = ReadSkinDescription(ini, reader, defaults);
  for (const ElementRecord& r : d.borders) CheckRecord(reader, r);
  CheckRecord(reader, d.title);
  CheckRecord(reader, d.buttons);
  Check(d.captionButtons.size() >= 3);
  for (const ElementRecord& r : d.captionButtons) CheckRecord(reader, r);
  for (const auto& r : d.elements)
    if (r) CheckRecord(reader, *r);
  Check(d.Element(SkinElement::Track) && d.Element(SkinElement::TrackVert));
  Check(!d.Element(SkinElement::ComboxArrow) && !d.Element(SkinElement::Toolbar));
  return 0;
}

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
  constexpr std::int32_t kMaxUnpacked = 1 << 16;  // larger ones are garbage: mutated raw
  if (seed % 8 != 0 && size >= 4) {
    const std::int32_t declared = ReadInt32(data);
    if (declared >= 0 && declared <= kMaxUnpacked && declared <= static_cast<std::int64_t>(TLZH::MaxExpansion(size - 4))) {
      std::vector<std::uint8_t> unpacked = LzhDecodeBytes(std::span(data + 4, size - 4), static_cast<std::size_t>(declared));
      const std::size_t room = unpacked.size() + unpacked.size() / 4 + 64;
      unpacked.resize(room);
      unpacked.resize(LLVMFuzzerMutate(unpacked.data(), static_cast<std::size_t>(declared), room));
      const std::vector<std::uint8_t> packed = test_support::PackPackage(unpacked);
      if (packed.size() <= maxSize) {
        std::memcpy(data, packed.data(), packed.size());
        return packed.size();
      }
    }
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}
