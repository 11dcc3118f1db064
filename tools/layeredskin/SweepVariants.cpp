#include "tools/layeredskin/SweepVariants.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <tuple>

namespace layeredskin {
namespace {

namespace fs = std::filesystem;

struct Section {
  std::string name;
  std::vector<std::string> lines;  // the header first
};

// A value naming a picture: a part of the master bitmap, a picture file, a pattern, or the
// master bitmap itself.
bool NamesPicture(const std::string& line) {
  const std::size_t eq = line.find('=');
  if (line.empty() || line[0] == ';' || line[0] == '[' || eq == std::string::npos) return false;
  if (line.compare(0, eq, "MASTERBITMAP") == 0) return true;
  const char first = eq + 1 < line.size() ? line[eq + 1] : 0;
  return first == '^' || first == '@' || first == '!' || first == '~';
}

struct Description {
  std::vector<std::string> preamble;
  std::vector<Section> sections;

  static Description Parse(const std::string& text) {
    Description d;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.starts_with("[")) d.sections.push_back({line.substr(1, line.find(']') - 1), {}});
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
  Description Without(const std::function<bool(const std::string&)>& drop) const {
    Description d = *this;
    std::erase_if(d.sections, [&](const Section& s) { return drop(s.name); });
    return d;
  }
  Description ColoursOnly() const {
    Description d = *this;
    for (Section& s : d.sections) std::erase_if(s.lines, NamesPicture);
    return d;
  }
};

struct Variant {
  std::string name, lacks;
  Description description;
  std::set<std::string> withoutFiles;
  bool noFiles = false;
};

std::string Safe(std::string s) {
  for (char& c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
  return s;
}

bool WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

bool WriteSweepVariants(const std::string& Text, const std::vector<std::pair<std::string, Bytes>>& Files,
                        const fs::path& Out) {
  const Description sample = Description::Parse(Text);
  const Description colours = sample.ColoursOnly();
  std::vector<Variant> variants;
  variants.push_back({"sample", "nothing", sample, {}});
  variants.push_back({"colours", "every picture and every value naming one", colours, {}, true});
  for (const auto& [prefix, base, noFiles] :
       {std::tuple{std::string("sample"), &sample, false}, std::tuple{std::string("colours"), &colours, true}})
    for (const Section& s : base->sections)
      variants.push_back({prefix + "-no-section-" + Safe(s.name), "[" + s.name + "]" + (noFiles ? " and every picture" : ""),
                          base->Without([&](const std::string& n) { return n == s.name; }), {}, noFiles});
  for (const auto& [name, bytes] : Files)
    variants.push_back({"sample-no-image-" + Safe(name), name, sample, {name}});
  auto group = [&](const std::string& name, const std::string& lacks, const std::function<bool(const std::string&)>& drop) {
    variants.push_back({"sample-group-" + name, lacks, sample.Without(drop), {}});
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
  group("globalinfo", "every section but GLOBALINFO", [](const std::string& n) { return n != "GLOBALINFO"; });
  variants.push_back({"sample-group-pictures", "every picture file (the description whole)", sample, {}, true});

  // Each picture once; the folders link to it.
  std::error_code error;
  const fs::path store = Out / ".pictures";
  fs::create_directories(store, error);
  for (const auto& [name, bytes] : Files)
    if (!WriteFile((store / name).string(), bytes)) {
      std::fprintf(stderr, "layeredskinmaker: cannot write %s\n", (store / name).string().c_str());
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
      for (const auto& [name, bytes] : Files) {
        if (v.withoutFiles.contains(name)) continue;
        fs::create_hard_link(store / name, folder / name, error);
        if (error) fs::copy_file(store / name, folder / name, fs::copy_options::overwrite_existing, error);
        if (error) {
          std::fprintf(stderr, "layeredskinmaker: cannot write %s\n", (folder / name).string().c_str());
          return false;
        }
      }
    list << v.name << '\t' << v.lacks << '\n';
  }
  return static_cast<bool>(list);
}

}  // namespace layeredskin
