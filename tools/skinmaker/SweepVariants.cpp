#include "tools/skinmaker/SweepVariants.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <tuple>

#include "tools/skinpack/SkinPackageWriter.h"

namespace skinmaker {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

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

struct Section {
  std::string name;
  std::vector<std::string> lines;  // the header first
};

struct Description {
  std::vector<std::string> preamble;
  std::vector<Section> sections;

  static Description Parse(const std::string& text) {
    Description d;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::string t = Trim(line);
      if (!t.empty() && t[0] == '[') d.sections.push_back({t.substr(1, t.find(']') - 1), {}});
      (d.sections.empty() ? d.preamble : d.sections.back().lines).push_back(line);
    }
    return d;
  }
  std::string Text() const {
    std::string out;
    for (const std::string& l : preamble) out += l + "\r\n";
    for (const Section& s : sections)
      for (const std::string& l : s.lines) out += l + "\r\n";
    return out;
  }
  std::set<std::string> Pictures() const {
    std::set<std::string> named;
    for (const Section& s : sections)
      for (const std::string& l : s.lines)
        if (std::string p = PictureOf(l); !p.empty()) named.insert(p);
    return named;
  }
  Description Without(const std::function<bool(const std::string&)>& drop) const {
    Description d = *this;
    std::erase_if(d.sections, [&](const Section& s) { return drop(s.name); });
    return d;
  }
  // Every line naming a picture gone: a skin of colours and measures only.
  Description ColoursOnly() const {
    Description d = *this;
    for (Section& s : d.sections) std::erase_if(s.lines, [](const std::string& l) { return !PictureOf(l).empty(); });
    return d;
  }
};

struct Variant {
  std::string name, lacks;
  Description description;
  std::set<std::string> withoutPictures;  // named but left out of the package (lower case)
  bool noPictures = false;
};

// A name safe as a file name and as a package entry's: letters, digits and '-' and '_'.
std::string Safe(std::string s) {
  for (char& c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
  return s;
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

bool WriteSweepVariants(const std::string& Text, const std::vector<NamedPicture>& Pictures,
                        const std::filesystem::path& Out) {
  const Description sample = Description::Parse(Text);
  const Description colours = sample.ColoursOnly();
  auto isCaptionButton = [](const std::string& s) { return Lower(s).rfind("button.", 0) == 0; };
  std::vector<Variant> variants;
  variants.push_back({"sample", "nothing", sample, {}});
  variants.push_back({"colours", "every picture and every line naming one", colours, {}, true});
  for (const auto& [prefix, base, noPictures] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}})
    for (const Section& s : base->sections) {
      Variant v{prefix + "-no-section-" + Safe(s.name), "[" + s.name + "]" + (noPictures ? " and every picture" : ""),
                base->Without([&](const std::string& n) { return n == s.name; }), {}, noPictures};
      variants.push_back(std::move(v));
    }
  for (const std::string& picture : sample.Pictures())
    variants.push_back({"sample-no-picture-" + Safe(picture.substr(0, picture.size() - 4)), picture, sample, {picture}});
  auto group = [&](const std::string& name, const std::string& lacks, const std::function<bool(const std::string&)>& drop) {
    variants.push_back({"sample-group-" + name, lacks, sample.Without(drop), {}});
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
  group("name-only", "every section but [TitlebarSkin]", [](const std::string& n) { return Lower(n) != "titlebarskin"; });
  variants.push_back({"sample-group-pictures", "every picture (the description whole)", sample, {}, true});

  std::error_code error;
  std::filesystem::create_directories(Out, error);
  std::ofstream list(Out / "variants.txt", std::ios::binary | std::ios::trunc);
  for (const Variant& v : variants) {
    skinpack::PackageSpec spec;
    spec.tag = 70000;
    spec.entries.push_back({v.name + ".ini", skinpack::ToBytes(v.description.Text())});
    if (!v.noPictures) {
      const std::set<std::string> named = v.description.Pictures();
      for (const NamedPicture& p : Pictures)
        if (named.contains(Lower(p.file)) && !v.withoutPictures.contains(Lower(p.file)))
          spec.entries.push_back({p.file, p.picture.Bmp()});
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

}  // namespace skinmaker
