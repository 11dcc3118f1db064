#include "tools/layeredskin/SweepVariants.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

#include "tools/sweep/SweepSkins.h"

namespace layeredskin {
namespace {

namespace fs = std::filesystem;
using sweepskins::Description;
using sweepskins::IsInteger;
using sweepskins::Safe;

constexpr const char* kSkinWide = "GLOBALINFO";

// The random skins the sweep keeps (seed, index): each showed a hole once.
const std::vector<std::pair<std::uint32_t, int>> kKeptSubsets{};

// A value naming a picture: a part of the master bitmap, a picture file, a pattern, or the
// master bitmap itself.
bool NamesPicture(const std::string& line) {
  const std::size_t eq = line.find('=');
  if (line.empty() || line[0] == ';' || line[0] == '[' || eq == std::string::npos) return false;
  if (line.compare(0, eq, "MASTERBITMAP") == 0) return true;
  const char first = eq + 1 < line.size() ? line[eq + 1] : 0;
  return first == '^' || first == '@' || first == '!' || first == '~';
}

bool IsColour(const std::string& Value) { return Value.starts_with("$") && Value.find(';') == std::string::npos; }

// A number in a fixed column of four characters, as the descriptors of parts write them.
std::string Column(int N) {
  char text[16];
  std::snprintf(text, sizeof text, N < 0 ? "-%03d" : "%04d", N < 0 ? -N : N);
  return text;
}

// A descriptor of a picture split into its numbers and words: its first character, then the
// fields between its separators.
struct Descriptor {
  char kind = 0, separator = 0;
  std::vector<std::string> fields;

  static std::optional<Descriptor> Of(const std::string& Value) {
    if (Value.empty() || std::string("^@~!").find(Value[0]) == std::string::npos) return std::nullopt;
    Descriptor d{Value[0], Value[0] == '^' || Value[0] == '@' ? ',' : Value[0], {}};
    std::stringstream words(Value.substr(1));
    for (std::string w; std::getline(words, w, d.separator);) d.fields.push_back(w);
    return d;
  }
  std::string Text() const {
    std::string out(1, kind);
    for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? std::string(1, separator) : std::string()) + fields[i];
    return out;
  }
  bool IsPart() const { return kind != '!' && fields.size() >= 4; }
  // The fields of the image count and of the margins, as each kind places them.
  std::optional<std::size_t> CountField() const {
    if (kind == '^') return 8;
    if (kind == '@') return 4;
    if (kind == '!') return 1;
    return std::nullopt;
  }
  std::vector<std::size_t> MarginFields() const {
    if (kind == '^') return {4, 5, 6, 7};
    if (kind == '!') return {4, 5, 6, 7};
    return {};
  }
};

// The description with each descriptor rewritten by Change (values naming no picture alone).
Description WithDescriptors(const Description& D, const std::function<void(Descriptor&)>& Change) {
  return D.Rewritten([&](const std::string&, const std::string& key, const std::string& value) -> std::optional<std::string> {
    if (key == "MASTERBITMAP") return std::nullopt;
    std::optional<Descriptor> d = Descriptor::Of(value);
    if (!d) return std::nullopt;
    Change(*d);
    return d->Text();
  });
}

using PictureChange = std::function<std::optional<PictureFile>(const PictureFile&)>;

struct Variant {
  Variant(std::string Name, std::string Lacks, Description D, bool NoFiles = false, PictureChange Pictures = {})
      : name(std::move(Name)), lacks(std::move(Lacks)), description(std::move(D)), noFiles(NoFiles),
        pictures(std::move(Pictures)) {}

  std::string name, lacks;
  Description description;
  bool noFiles = false;
  PictureChange pictures;  // each picture as the skin has it, none to leave it out; empty: as drawn
  bool refusable = false;   // a value out of the format's range: the skin may be refused, saying so
};

PictureChange Lacking(const std::string& Name) {
  return [Name](const PictureFile& f) -> std::optional<PictureFile> {
    if (f.name == Name) return std::nullopt;
    return f;
  };
}

bool WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

bool Write(const std::vector<Variant>& variants, const std::vector<PictureFile>& Files, const fs::path& Out) {
  // Each picture as drawn once; the folders link to it.
  std::error_code error;
  const fs::path store = Out / ".pictures";
  fs::create_directories(store, error);
  for (const PictureFile& f : Files)
    if (!WriteFile((store / f.name).string(), f.Encoded())) {
      std::fprintf(stderr, "layeredskinmaker: cannot write %s\n", (store / f.name).string().c_str());
      return false;
    }
  std::ofstream list(Out / "variants.txt", std::ios::binary | std::ios::trunc);
  for (const Variant& v : variants) {
    const fs::path folder = Out / v.name;
    fs::create_directories(folder, error);
    if (!WriteText(folder / "Options.dat", v.description.Text())) {
      std::fprintf(stderr, "layeredskinmaker: cannot write %s\n", (folder / "Options.dat").string().c_str());
      return false;
    }
    if (!v.noFiles)
      for (const PictureFile& f : Files) {
        if (v.pictures) {
          const std::optional<PictureFile> changed = v.pictures(f);
          if (!changed) continue;
          if (changed->width != f.width || changed->height != f.height || changed->pixels != f.pixels) {
            if (!WriteFile((folder / f.name).string(), changed->Encoded())) {
              std::fprintf(stderr, "layeredskinmaker: cannot write %s\n", (folder / f.name).string().c_str());
              return false;
            }
            continue;
          }
        }
        error.clear();
        fs::create_hard_link(store / f.name, folder / f.name, error);
        if (error) fs::copy_file(store / f.name, folder / f.name, fs::copy_options::overwrite_existing, error);
        if (error) {
          std::fprintf(stderr, "layeredskinmaker: cannot write %s\n", (folder / f.name).string().c_str());
          return false;
        }
      }
    list << v.name << '\t' << v.lacks << (v.refusable ? "\trefusable" : "") << '\n';
  }
  return static_cast<bool>(list);
}

Variant SubsetVariant(const Description& Sample, const Description& Colours, std::uint32_t Seed,
                      const sweepskins::Subset& S) {
  const Description& base = S.pictures ? Sample : Colours;
  return {sweepskins::SubsetName(Seed, S), sweepskins::SubsetLacks(S, kSkinWide),
          base.Without([&](const std::string& n) { return n != kSkinWide && !S.kept.contains(n); }), !S.pictures};
}

}  // namespace

bool WriteSweepVariants(const std::string& Text, const std::vector<PictureFile>& Files, const fs::path& Out) {
  const Description sample = Description::Parse(Text);
  const Description colours = sample.WithoutLines(NamesPicture);
  std::vector<Variant> variants;
  variants.push_back({"sample", "nothing", sample});
  variants.push_back({"colours", "every picture and every value naming one", colours, true});

  // Taken away.
  for (const auto& [prefix, base, noFiles] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}})
    for (const sweepskins::Section& s : base->sections)
      variants.push_back({prefix + "-no-section-" + Safe(s.name), "[" + s.name + "]" + (noFiles ? " and every picture" : ""),
                          base->Without([&](const std::string& n) { return n == s.name; }), noFiles});
  for (const PictureFile& f : Files)
    variants.push_back({"sample-no-image-" + Safe(f.name), f.name, sample, false, Lacking(f.name)});
  auto group = [&](const std::string& name, const std::string& lacks, const std::function<bool(const std::string&)>& drop) {
    variants.push_back({"sample-group-" + name, lacks, sample.Without(drop)});
  };
  group("titles", "every title section (FORMTITLE, DIALOGTITLE, CAPTION, MENUCAPTION, BARTITLE)", [](const std::string& n) {
    return n.find("TITLE") != std::string::npos || n == "CAPTION" || n == "MENUCAPTION";
  });
  group("buttons", "every button section (a name holding BUTTON or BTN)", [](const std::string& n) {
    return n.find("BUTTON") != std::string::npos || n.find("BTN") != std::string::npos;
  });
  group("forms", "FORM, FORMTITLE, DIALOG and DIALOGTITLE", [](const std::string& n) {
    return n == "FORM" || n == "FORMTITLE" || n == "DIALOG" || n == "DIALOGTITLE";
  });
  group("globalinfo", "every section but GLOBALINFO", [](const std::string& n) { return n != kSkinWide; });
  variants.push_back({"sample-group-pictures", "every picture file (the description whole)", sample, true});

  // Built up: GLOBALINFO alone, and with each section alone.
  variants.push_back({"colours-only-GLOBALINFO", "every section but GLOBALINFO, and every picture",
                      colours.Without([](const std::string& n) { return n != kSkinWide; }), true});
  for (const auto& [prefix, base, noFiles] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}})
    for (const sweepskins::Section& s : base->sections) {
      if (s.name == kSkinWide) continue;
      variants.push_back({prefix + "-only-" + Safe(s.name),
                          "every section but GLOBALINFO and [" + s.name + "]" + (noFiles ? ", and every picture" : ""),
                          base->Without([&](const std::string& n) { return n != kSkinWide && n != s.name; }), noFiles});
    }
  for (const auto& [seed, index] : kKeptSubsets)
    for (const sweepskins::Subset& s : sweepskins::RandomSubsets(seed, index + 1, sample.SectionNames(), kSkinWide))
      if (s.index == index) variants.push_back(SubsetVariant(sample, colours, seed, s));

  // Odd values.
  for (const auto& [prefix, base, noFiles] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}}) {
    for (const auto& [name, odd] : {std::pair{"minus1", "-1"}, std::pair{"FFFFFFFF", "$FFFFFFFF"}, std::pair{"7FFFFFFF", "$7FFFFFFF"}}) {
      const std::string value = odd;
      variants.push_back({prefix + "-odd-colours-" + name, "every colour " + value,
                          base->Rewritten([&](const std::string&, const std::string&, const std::string& v) {
                            return IsColour(v) ? std::optional<std::string>(value) : std::nullopt;
                          }),
                          noFiles});
    }
    for (const auto& [name, odd] : {std::pair{"negative", "-1"}, std::pair{"huge", "2147483647"}}) {
      const std::string value = odd;
      variants.push_back({prefix + "-odd-measures-" + name, "every measure (sizes, offsets, percents) " + value,
                          base->Rewritten([&](const std::string&, const std::string& key, const std::string& v) {
                            return IsInteger(v) && key != "VERSION" && key != "STATES" ? std::optional<std::string>(value)
                                                                                      : std::nullopt;
                          }),
                          noFiles});
    }
  }
  variants.push_back({"colours-odd-counts-negative", "every count of states -1, and every picture",
                      colours.Rewritten([](const std::string&, const std::string& key, const std::string&) {
                        return key == "STATES" ? std::optional<std::string>("-1") : std::nullopt;
                      }),
                      true});
  {
    Variant counts{"sample-odd-counts-negative", "every count of states and of a picture's frames -1",
                   WithDescriptors(sample, [](Descriptor& d) {
                     if (const auto field = d.CountField(); field && *field < d.fields.size()) d.fields[*field] = "-1";
                   }).Rewritten([](const std::string&, const std::string& key, const std::string&) {
                     return key == "STATES" ? std::optional<std::string>("-1") : std::nullopt;
                   })};
    counts.refusable = true;
    variants.push_back(std::move(counts));
  }
  {
    Variant margins{"sample-odd-margins-negative", "every margin of a picture -7", WithDescriptors(sample, [](Descriptor& d) {
                      for (std::size_t field : d.MarginFields())
                        if (field < d.fields.size()) d.fields[field] = d.kind == '!' ? "-7" : Column(-7);
                    })};
    margins.refusable = true;
    variants.push_back(std::move(margins));
  }

  // Parts of the master bitmap outside it: past its corner, reversed, and starting above and
  // left of it.
  variants.push_back({"sample-parts-outside", "every part of the master bitmap beyond its bottom-right corner",
                      WithDescriptors(sample, [](Descriptor& d) {
                        if (!d.IsPart()) return;
                        for (std::size_t i = 0; i < 4; ++i)
                          if (IsInteger(d.fields[i])) d.fields[i] = Column(std::stoi(d.fields[i]) + 5000);
                      })});
  variants.push_back({"sample-parts-reversed", "every part of the master bitmap from 9999,9999 to 0,0",
                      WithDescriptors(sample, [](Descriptor& d) {
                        if (!d.IsPart()) return;
                        d.fields[0] = d.fields[1] = Column(9999);
                        d.fields[2] = d.fields[3] = Column(0);
                      })});
  {
    Variant above{"sample-parts-negative", "every part of the master bitmap starting at -20,-20",
                  WithDescriptors(sample, [](Descriptor& d) {
                    if (d.IsPart()) d.fields[0] = d.fields[1] = Column(-20);
                  })};
    above.refusable = true;
    variants.push_back(std::move(above));
  }

  // Pictures of the wrong size.
  const std::string master = sample.Value(kSkinWide, "MASTERBITMAP").value_or("");
  variants.push_back({"sample-pictures-third-height", "every picture file a third of its height", sample, false,
                      [](const PictureFile& f) -> std::optional<PictureFile> { return f.Cropped(f.width, f.height / 3); }});
  variants.push_back({"sample-pictures-one-column", "every picture file one column wide", sample, false,
                      [](const PictureFile& f) -> std::optional<PictureFile> { return f.Cropped(1, f.height); }});
  variants.push_back({"sample-master-8x8", "the master bitmap 8x8", sample, false,
                      [master](const PictureFile& f) -> std::optional<PictureFile> {
                        return f.name == master ? f.Cropped(8, 8) : f;
                      }});
  return Write(variants, Files, Out);
}

bool WriteRandomSweepVariants(const std::string& Text, const std::vector<PictureFile>& Files, std::uint32_t Seed, int Count,
                              const fs::path& Out) {
  const Description sample = Description::Parse(Text);
  const Description colours = sample.WithoutLines(NamesPicture);
  std::vector<Variant> variants;
  for (const sweepskins::Subset& s : sweepskins::RandomSubsets(Seed, Count, sample.SectionNames(), kSkinWide))
    variants.push_back(SubsetVariant(sample, colours, Seed, s));
  return Write(variants, Files, Out);
}

}  // namespace layeredskin
