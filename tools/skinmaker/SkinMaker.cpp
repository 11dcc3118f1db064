// skinmaker [--variant NAME DEGREES | --partial NAME | --sweep | --sweep-random SEED COUNT] DESCRIPTION OUTPUT [PICTURE-FOLDER]: builds the sample
// classic skin package. The description text comes from the repository; every picture it names
// is drawn here (SamplePictures.cpp), and the package (the description and the pictures) is
// packed with our LZHUF encoder. A picture the description names but nobody draws, or one drawn
// but never named, stops the build. With a picture folder, the pictures are also written there
// as BMP files for people to look at. --variant makes a differently coloured skin NAME from the
// same drawings: every colour of the pictures (the key colour apart) and of the description is
// turned round the colour wheel by DEGREES. --partial makes an incomplete skin NAME, as skins in the
// wild are: the same description, but only the pictures of the frame (its "Personality" section:
// borders, title text back, menu bar) and of the caption buttons go into the package, so every
// other element the description names has no picture. --sweep writes into the folder OUTPUT the
// skins of the sweep over every element (SweepVariants.h), --sweep-random COUNT skins of the
// sweep of sections chosen at random from SEED.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "tools/skinmaker/SamplePictures.h"
#include "tools/skinmaker/SweepVariants.h"
#include "tools/skinpack/SkinPackageWriter.h"

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

// The picture names of a description: the file part of every value that ends in ".bmp" (only
// in the sections Wanted accepts, given the lower-cased section name).
template <class Wanted>
std::set<std::string> NamedPictures(const std::string& description, Wanted wanted) {
  std::set<std::string> names;
  std::istringstream lines(description);
  bool inWanted = false;
  for (std::string line; std::getline(lines, line);) {
    line = Trim(line);
    if (!line.empty() && line[0] == '[') inWanted = wanted(Lower(line.substr(1, line.find(']') - 1)));
    if (line.empty() || line[0] == ';' || line[0] == '[' || !inWanted) continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string value = Trim(line.substr(eq + 1));
    const auto slash = value.find_last_of("\\/");
    if (slash != std::string::npos) value = value.substr(slash + 1);
    if (value.size() > 4 && Lower(value.substr(value.size() - 4)) == ".bmp") names.insert(Lower(value));
  }
  return names;
}

std::set<std::string> NamedPictures(const std::string& description) {
  return NamedPictures(description, [](const std::string&) { return true; });
}

// The sections an incomplete skin keeps pictures of: the frame and the caption buttons.
bool FrameSection(const std::string& section) {
  return section == "personality" || section.rfind("button.", 0) == 0;
}

// The description named anew.
std::string RenamedDescription(const std::string& description, const std::string& name) {
  std::istringstream lines(description);
  std::string out;
  for (std::string line; std::getline(lines, line);) {
    const bool cr = !line.empty() && line.back() == '\r';
    if (cr) line.pop_back();
    const auto eq = line.find('=');
    if (eq != std::string::npos && Lower(Trim(line.substr(0, eq))) == "skinname") line = Trim(line.substr(0, eq)) + "=" + name;
    out += line + (cr ? "\r\n" : "\n");
  }
  return out;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path part = path.string() + ".part";
  {
    std::ofstream out(part, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::error_code ec;
  std::filesystem::rename(part, path, ec);
  return !ec;
}

// The colour's hue turned by degrees; greys stay as they are.
skinmaker::Rgb TurnHue(skinmaker::Rgb c, double degrees) {
  const double r = (c & 0xFF) / 255.0, g = (c >> 8 & 0xFF) / 255.0, b = (c >> 16 & 0xFF) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  if (d <= 1e-9) return c;
  double h = mx == r ? std::fmod((g - b) / d, 6.0) : mx == g ? (b - r) / d + 2 : (r - g) / d + 4;
  h = std::fmod(h * 60 + degrees + 720, 360);
  const double s = d / mx, v = mx;
  const double f = h / 60 - std::floor(h / 60), p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  double rr = 0, gg = 0, bb = 0;
  switch (static_cast<int>(h / 60) % 6) {
    case 0: rr = v, gg = t, bb = p; break;
    case 1: rr = q, gg = v, bb = p; break;
    case 2: rr = p, gg = v, bb = t; break;
    case 3: rr = p, gg = q, bb = v; break;
    case 4: rr = t, gg = p, bb = v; break;
    default: rr = v, gg = p, bb = q; break;
  }
  auto byte = [](double x) { return static_cast<int>(std::lround(std::clamp(x, 0.0, 1.0) * 255)); };
  return skinmaker::MakeRgb(byte(rr), byte(gg), byte(bb));
}

skinmaker::Pixmap Turned(const skinmaker::Pixmap& picture, double degrees) {
  skinmaker::Pixmap out = picture;
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      if (const skinmaker::Rgb c = out.At(x, y); c != skinmaker::kKey) out.Set(x, y, TurnHue(c, degrees));
  return out;
}

// A description value that is a colour: three numbers 0 to 255 ("R G B").
bool ParseColour(const std::string& value, int (&rgb)[3]) {
  std::istringstream in(value);
  for (int& v : rgb)
    if (!(in >> v) || v < 0 || v > 255) return false;
  std::string rest;
  return !(in >> rest);
}

// The description with every colour turned and the skin named anew.
std::string VariantDescription(const std::string& description, const std::string& name, double degrees) {
  std::istringstream lines(description);
  std::string out;
  for (std::string line; std::getline(lines, line);) {
    const bool cr = !line.empty() && line.back() == '\r';
    if (cr) line.pop_back();
    const auto eq = line.find('=');
    if (eq != std::string::npos && line[0] != ';' && line[0] != '[') {
      const std::string key = Trim(line.substr(0, eq));
      int rgb[3];
      if (Lower(key) == "skinname") {
        line = key + "=" + name;
      } else if (ParseColour(line.substr(eq + 1), rgb)) {
        const skinmaker::Rgb c = TurnHue(skinmaker::MakeRgb(rgb[0], rgb[1], rgb[2]), degrees);
        line = key + "=" + std::to_string(c & 0xFF) + " " + std::to_string(c >> 8 & 0xFF) + " " +
               std::to_string(c >> 16 & 0xFF);
      }
    }
    out += line + (cr ? "\r\n" : "\n");
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::string variant, partial;
  double degrees = 0;
  bool sweep = false, random = false;
  std::uint32_t seed = 0;
  int count = 0;
  if (argc > 1 && std::string(argv[1]) == "--sweep") {
    sweep = true;
    ++argv;
    --argc;
  } else if (argc > 3 && std::string(argv[1]) == "--sweep-random") {
    random = true;
    seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    count = std::atoi(argv[3]);
    argv += 3;
    argc -= 3;
  } else if (argc > 3 && std::string(argv[1]) == "--variant") {
    variant = argv[2];
    degrees = std::atof(argv[3]);
    argv += 3;
    argc -= 3;
  } else if (argc > 2 && std::string(argv[1]) == "--partial") {
    partial = argv[2];
    argv += 2;
    argc -= 2;
  }
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: skinmaker [--variant NAME DEGREES | --partial NAME | --sweep | --sweep-random SEED COUNT] "
                 "DESCRIPTION OUTPUT [PICTURE-FOLDER]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::string description((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    std::fprintf(stderr, "skinmaker: cannot read %s\n", argv[1]);
    return 1;
  }

  std::vector<skinmaker::NamedPicture> pictures = skinmaker::SamplePictures();
  std::set<std::string> named = NamedPictures(description);
  bool complete = true;
  for (const auto& p : pictures)
    if (!named.erase(Lower(p.file))) {
      std::fprintf(stderr, "skinmaker: %s is drawn but the description never names it\n", p.file.c_str());
      complete = false;
    }
  for (const std::string& missing : named) {
    std::fprintf(stderr, "skinmaker: the description names %s, which is not drawn\n", missing.c_str());
    complete = false;
  }
  if (!complete) return 1;
  if (sweep) return skinmaker::WriteSweepVariants(description, pictures, argv[2]) ? 0 : 1;
  if (random) return skinmaker::WriteRandomSweepVariants(description, pictures, seed, count, argv[2]) ? 0 : 1;

  std::string entry = std::filesystem::path(argv[1]).filename().string();
  if (!variant.empty()) {
    description = VariantDescription(description, variant, degrees);
    for (auto& p : pictures) p.picture = Turned(p.picture, degrees);
    entry = variant + ".ini";
  }
  if (!partial.empty()) {
    description = RenamedDescription(description, partial);
    const std::set<std::string> kept = NamedPictures(description, FrameSection);
    std::erase_if(pictures, [&](const skinmaker::NamedPicture& p) { return !kept.count(Lower(p.file)); });
    entry = partial + ".ini";
  }

  skinpack::PackageSpec spec;
  spec.tag = 70000;
  spec.entries.push_back({entry, skinpack::ToBytes(description)});
  for (const auto& p : pictures) spec.entries.push_back({p.file, p.picture.Bmp()});
  if (!WriteFile(argv[2], skinpack::BuildPackage(spec))) {
    std::fprintf(stderr, "skinmaker: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc > 3) {
    std::filesystem::create_directories(argv[3]);
    for (const auto& p : pictures) WriteFile(std::filesystem::path(argv[3]) / p.file, p.picture.Bmp());
  }
  return 0;
}
