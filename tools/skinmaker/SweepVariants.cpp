#include "tools/skinmaker/SweepVariants.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

#include "tools/skinpack/SkinPackageWriter.h"
#include "tools/sweep/SweepSkins.h"

namespace skinmaker {
namespace {

using sweepskins::Description;
using sweepskins::IsInteger;
using sweepskins::Lower;
using sweepskins::Safe;
using sweepskins::Trim;

constexpr const char* kSkinWide = "TitlebarSkin";

// The random skins the sweep keeps (seed, index): each showed a hole once.
const std::vector<std::pair<std::uint32_t, int>> kKeptSubsets{};

// The picture a description line names (lower case, without folders), or nothing.
std::string PictureOf(const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '[') return {};
  const auto eq = t.find('=');
  if (eq == std::string::npos) return {};
  std::string value = Trim(t.substr(eq + 1));
  const auto slash = value.find_last_of("\\/");
  if (slash != std::string::npos) value = value.substr(slash + 1);
  return value.size() > 4 && Lower(value.substr(value.size() - 4)) == ".bmp" ? Lower(value) : std::string();
}

std::set<std::string> Pictures(const Description& D) {
  std::set<std::string> named;
  for (const sweepskins::Section& s : D.sections)
    for (const std::string& l : s.lines)
      if (std::string p = PictureOf(l); !p.empty()) named.insert(p);
  return named;
}

// A colour: three whole numbers.
bool IsColour(const std::string& Value) {
  std::istringstream in(Value);
  std::string part;
  int parts = 0;
  while (in >> part) {
    if (!IsInteger(part)) return false;
    ++parts;
  }
  return parts == 3;
}

using PictureChange = std::function<std::optional<Pixmap>(const NamedPicture&)>;

struct Variant {
  Variant(std::string Name, std::string Lacks, Description D, bool NoPictures = false, PictureChange Change = {})
      : name(std::move(Name)), lacks(std::move(Lacks)), description(std::move(D)), noPictures(NoPictures),
        pictures(std::move(Change)) {}

  std::string name, lacks;
  Description description;
  bool noPictures = false;
  PictureChange pictures;  // each picture as the package has it, none to leave it out; empty: as drawn
};

PictureChange Lacking(const std::string& File) {
  return [File](const NamedPicture& p) -> std::optional<Pixmap> {
    if (Lower(p.file) == File) return std::nullopt;
    return p.picture;
  };
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool Write(const std::vector<Variant>& variants, const std::vector<NamedPicture>& Pictures, const std::filesystem::path& Out) {
  std::error_code error;
  std::filesystem::create_directories(Out, error);
  std::ofstream list(Out / "variants.txt", std::ios::binary | std::ios::trunc);
  for (const Variant& v : variants) {
    skinpack::PackageSpec spec;
    spec.tag = 70000;
    spec.entries.push_back({v.name + ".ini", skinpack::ToBytes(v.description.Text())});
    if (!v.noPictures) {
      const std::set<std::string> named = skinmaker::Pictures(v.description);
      for (const NamedPicture& p : Pictures) {
        if (!named.contains(Lower(p.file))) continue;
        const std::optional<Pixmap> picture = v.pictures ? v.pictures(p) : std::optional<Pixmap>(p.picture);
        if (picture) spec.entries.push_back({p.file, picture->Bmp()});
      }
    }
    const std::filesystem::path file = Out / (v.name + ".skn");
    if (!WriteBytes(file, skinpack::BuildPackage(spec))) {
      std::fprintf(stderr, "skinmaker: cannot write %s\n", file.string().c_str());
      return false;
    }
    list << v.name << '\t' << v.lacks << '\n';
  }
  return static_cast<bool>(list);
}

Variant SubsetVariant(const Description& Sample, const Description& Colours, std::uint32_t Seed,
                      const sweepskins::Subset& S) {
  const Description& base = S.pictures ? Sample : Colours;
  return {sweepskins::SubsetName(Seed, S), sweepskins::SubsetLacks(S, kSkinWide),
          base.Without([&](const std::string& n) { return n != kSkinWide && !S.kept.contains(n); }), !S.pictures};
}

Description ColoursOnly(const Description& D) {
  return D.WithoutLines([](const std::string& l) { return !PictureOf(l).empty(); });
}

}  // namespace

bool WriteSweepVariants(const std::string& Text, const std::vector<NamedPicture>& Pictures,
                        const std::filesystem::path& Out) {
  const Description sample = Description::Parse(Text);
  const Description colours = ColoursOnly(sample);
  auto isCaptionButton = [](const std::string& s) { return Lower(s).rfind("button.", 0) == 0; };
  std::vector<Variant> variants;
  variants.push_back({"sample", "nothing", sample});
  variants.push_back({"colours", "every picture and every line naming one", colours, true});

  // Taken away.
  for (const auto& [prefix, base, noPictures] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}})
    for (const sweepskins::Section& s : base->sections)
      variants.push_back({prefix + "-no-section-" + Safe(s.name), "[" + s.name + "]" + (noPictures ? " and every picture" : ""),
                          base->Without([&](const std::string& n) { return n == s.name; }), noPictures});
  for (const std::string& picture : skinmaker::Pictures(sample))
    variants.push_back({"sample-no-picture-" + Safe(picture.substr(0, picture.size() - 4)), picture, sample, false,
                        Lacking(picture)});
  auto group = [&](const std::string& name, const std::string& lacks, const std::function<bool(const std::string&)>& drop) {
    variants.push_back({"sample-group-" + name, lacks, sample.Without(drop)});
  };
  group("caption-buttons", "every caption-button section ([Button.*])", isCaptionButton);
  group("title", "the title and frame ([Personality], [Button.*], [MDICONTROLS])", [&](const std::string& n) {
    return isCaptionButton(n) || Lower(n) == "personality" || Lower(n) == "mdicontrols";
  });
  group("buttons", "every button section ([Buttons], [ComboButton], [UpDown.*])", [](const std::string& n) {
    const std::string l = Lower(n);
    return l == "buttons" || l == "combobutton" || l.rfind("updown.", 0) == 0;
  });
  group("borders-and-title", "everything but the frame, title, fonts and colours", [](const std::string& n) {
    const std::string l = Lower(n);
    return l != "titlebarskin" && l != "personality" && l != "fonts" && l != "colours";
  });
  group("name-only", "every section but [TitlebarSkin]", [](const std::string& n) { return n != kSkinWide; });
  variants.push_back({"sample-group-pictures", "every picture (the description whole)", sample, true});

  // Built up: [TitlebarSkin] alone, and with each section alone.
  variants.push_back({"colours-only-TitlebarSkin", "every section but [TitlebarSkin], and every picture",
                      colours.Without([](const std::string& n) { return n != kSkinWide; }), true});
  for (const auto& [prefix, base, noPictures] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}})
    for (const sweepskins::Section& s : base->sections) {
      if (s.name == kSkinWide) continue;
      variants.push_back({prefix + "-only-" + Safe(s.name),
                          "every section but [TitlebarSkin] and [" + s.name + "]" + (noPictures ? ", and every picture" : ""),
                          base->Without([&](const std::string& n) { return n != kSkinWide && n != s.name; }), noPictures});
    }
  for (const auto& [seed, index] : kKeptSubsets)
    for (const sweepskins::Subset& s : sweepskins::RandomSubsets(seed, index + 1, sample.SectionNames(), kSkinWide))
      if (s.index == index) variants.push_back(SubsetVariant(sample, colours, seed, s));

  // Odd values.
  for (const auto& [prefix, base, noPictures] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}}) {
    for (const auto& [name, odd] :
         {std::pair{"minus1", "-1"}, std::pair{"FFFFFFFF", "4294967295"}, std::pair{"7FFFFFFF", "2147483647"}}) {
      const std::string value = std::string(odd) + " " + odd + " " + odd;
      variants.push_back({prefix + "-odd-colours-" + name, "every colour " + value,
                          base->Rewritten([&](const std::string&, const std::string&, const std::string& v) {
                            return IsColour(v) ? std::optional<std::string>(value) : std::nullopt;
                          }),
                          noPictures});
    }
    for (const auto& [name, odd] : {std::pair{"negative", "-1"}, std::pair{"huge", "2147483647"}}) {
      const std::string value = odd;
      variants.push_back({prefix + "-odd-numbers-" + name, "every number (sizes, offsets, counts) " + value,
                          base->Rewritten([&](const std::string&, const std::string&, const std::string& v) {
                            return IsInteger(v) ? std::optional<std::string>(value) : std::nullopt;
                          }),
                          noPictures});
    }
  }

  // Pictures of the wrong size.
  variants.push_back({"sample-pictures-third-height", "every picture a third of its height", sample, false,
                      [](const NamedPicture& p) -> std::optional<Pixmap> {
                        return p.picture.Crop(0, 0, p.picture.Width(), std::max(1, p.picture.Height() / 3));
                      }});
  variants.push_back({"sample-pictures-one-column", "every picture one column wide", sample, false,
                      [](const NamedPicture& p) -> std::optional<Pixmap> { return p.picture.Crop(0, 0, 1, p.picture.Height()); }});
  variants.push_back({"sample-pictures-8x8", "every picture 8x8", sample, false,
                      [](const NamedPicture& p) -> std::optional<Pixmap> {
                        return p.picture.Crop(0, 0, std::min(8, p.picture.Width()), std::min(8, p.picture.Height()));
                      }});
  return Write(variants, Pictures, Out);
}

bool WriteRandomSweepVariants(const std::string& Text, const std::vector<NamedPicture>& Pictures, std::uint32_t Seed,
                              int Count, const std::filesystem::path& Out) {
  const Description sample = Description::Parse(Text);
  const Description colours = ColoursOnly(sample);
  std::vector<Variant> variants;
  for (const sweepskins::Subset& s : sweepskins::RandomSubsets(Seed, Count, sample.SectionNames(), kSkinWide))
    variants.push_back(SubsetVariant(sample, colours, Seed, s));
  return Write(variants, Pictures, Out);
}

}  // namespace skinmaker
