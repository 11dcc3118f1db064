// The description reader on any description text, against one package of pictures made
// once: the complete synthetic skin's, beside a damaged picture, a tiny one and an empty
// entry. Records must come out sane whatever the text: frame counts of at least 1, no
// negative margins, pictures that exist with positive sizes and crops inside them, a fault
// told in words; the input taken for a broken picture is told in words too. The
// package layer itself has its own targets (fuzz_skin_reader, fuzz_skin_lzh); packing here
// on every input would spend the time on the compressor instead of the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "skin_classic/data/SkinDescription.h"
#include "skin_classic/support/SkinBitmapWriter.h"
#include "skin_classic/support/SkinPackageWriter.h"
#include "skin_classic/support/SyntheticSkin.h"

namespace {

using namespace skin_classic;
using namespace skin_classic::test_support;

void Check(bool ok) {
  if (!ok) std::abort();
}

const TSkinReader& Pictures() {
  static const TSkinReader reader = [] {
    PackageSpec spec = CompleteSkinSpec();
    spec.entries.push_back({"broken.bmp", ToBytes("BM not a bitmap")});
    spec.entries.push_back({"tiny.bmp", Bmp24(1, 1, [](int, int) { return MakeRgb(1, 2, 3); })});
    spec.entries.push_back({"empty.bmp", {}});
    TSkinReader r;
    Check(r.Load(BuildPackage(spec)) == SkinLoadResult::Loaded);
    return r;
  }();
  return reader;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TSkinReader& reader = Pictures();
  TQuickIni ini;
  ini.Load(std::span(data, size));
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
  Check(!d.fault || !d.fault->text.empty());
  // The same bytes taken for a picture that cannot be read: its fault is told, whatever they hold.
  Check(!PictureFault("input.bmp", std::span(data, size)).text.empty());
  return 0;
}
