// Makes the sample layered skins on the build machine: the description in the repository
// with the pictures drawn for it, as a skin folder and as a pack, a second skin of other
// colours made from the same description (every colour turned round the colour wheel, the
// pictures drawn from the turned palette), and an incomplete skin as people meet them: the
// sample's form, edits, panels, buttons and check boxes alone, without the skin-wide
// pictures (title buttons, check marks, grips, borders).
//
// Usage: layeredskinmaker OPTIONS_FILE OUTPUT_FOLDER
//   writes OUTPUT_FOLDER/<name>/ and OUTPUT_FOLDER/<name>.pmz for the skin whose description
//   OPTIONS_FILE is (its folder's name is the skin's), for its variant and for the incomplete
//   skin.
//        layeredskinmaker --parts
//   prints the master bitmap's part descriptors as the description must give them.
//        layeredskinmaker --sweep OPTIONS_FILE OUTPUT_FOLDER
//   writes the skins of the sweep over every element (SweepVariants.h) into OUTPUT_FOLDER.
//        layeredskinmaker --sweep-random SEED COUNT OPTIONS_FILE OUTPUT_FOLDER
//   writes COUNT skins of the skin-wide section and sections chosen at random from SEED.
//
// Before writing, the description is checked against the pictures: every part of the master
// bitmap must be named with its exact descriptor, every picture file with its frame count and
// mask type, and nothing may name a picture that is not drawn.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "skin_layered/core/ImageDescriptor.h"
#include "skin_layered/core/SkinDescription.h"
#include "tools/layeredpack/LayeredPackWriter.h"
#include "tools/layeredskin/Raster.h"
#include "tools/layeredskin/SamplePictures.h"
#include "tools/layeredskin/SweepVariants.h"

namespace layeredskin {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMasterName = "Master.bmp";
constexpr const char* kVariantName = "Ember";
constexpr const char* kIncompleteName = "Sparse";
// The sections the incomplete skin keeps.
const std::set<std::string> kIncompleteSections{"GLOBALINFO", "FORM", "EDIT", "PANEL", "BUTTON", "CHECKBOX"};
constexpr double kVariantHueTurn = 173;  // the blue of the first skin becomes orange

// The keys whose values are colours ($BBGGRR or decimal) that the variant turns; the
// status colours (good, warning, alert) keep their meaning and their colours.
const std::set<std::string>& ColourKeys() {
  static const std::set<std::string> keys = [] {
    std::set<std::string> k{"COLOR",       "FONTCOLOR",   "TCLEFT",       "TCTOP",        "TCRIGHT",
                            "TCBOTTOM",    "GCOL",        "HOTCOLOR",     "HOTFONTCOLOR", "HOTTCLEFT",
                            "HOTTCTOP",    "HOTTCRIGHT",  "HOTTCBOTTOM",  "HGCOL",        "BORDERCOLOR",
                            "SHADOW1COLOR", "EDITTEXT_H1", "EDITTEXT_H2", "EDITTEXT_H3", "EDITTEXT_INV",
                            "EDITBG_INV",  "EDITBG_ODD",  "EDITBG_EVEN"};
    for (const char* layer : {"SH_COLOR", "LO_COLOR"})
      for (const char* side : {"L", "T", "R", "B"}) k.insert(std::string(layer) + side);
    return k;
  }();
  return keys;
}

Rgb TurnHue(Rgb c, double degrees) {
  const double r = c.r / 255, g = c.g / 255, b = c.b / 255;
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
  return {rr * 255, gg * 255, bb * 255};
}

// A colour value of the description ($BBGGRR) turned, written back the same way.
std::string TurnColourValue(const std::string& text, double degrees) {
  std::int32_t v = 0;
  if (!skin_layered::ParseDescriptionInteger(text, v) || v < 0 || v > 0xFFFFFF) return text;
  const Rgb c{double(v & 0xFF), double(v >> 8 & 0xFF), double(v >> 16 & 0xFF)};
  const std::uint32_t rgb = TurnHue(c, degrees).ToHex();
  const std::uint32_t bgr = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | rgb >> 16;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%06X", bgr);
  return buf;
}

// The description with every colour turned, and the skin's name in its description.
std::string VariantText(const std::string& text, const std::string& name, const std::string& variant, double degrees) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(pos, end - pos);
    pos = end;
    std::string ending;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) ending.insert(ending.begin(), line.back()), line.pop_back();
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && line[0] != ';' && line[0] != '[') {
      const std::string key = line.substr(0, eq);
      std::string value = line.substr(eq + 1);
      if (ColourKeys().contains(key)) {
        value = TurnColourValue(value, degrees);
      } else if (key == "GRADIENTDATA" || key == "HOTGRADIENTDATA") {
        // Items 1 and 2 of every five are colours.
        std::string turned;
        std::size_t start = 0;
        for (int item = 0; start <= value.size(); ++item) {
          std::size_t semi = value.find(';', start);
          if (semi == std::string::npos) semi = value.size();
          const std::string word = value.substr(start, semi - start);
          turned += (item % 5 < 2 ? TurnColourValue(word, degrees) : word);
          if (semi < value.size()) turned += ';';
          start = semi + 1;
        }
        value = turned;
      } else if (key == "DESCRIPTION") {
        for (std::size_t at; (at = value.find(name)) != std::string::npos;) value.replace(at, name.size(), variant);
      }
      line = key + "=" + value;
    }
    out += line + ending;
  }
  return out;
}

// The description with the kept sections alone, their skin-wide pictures left out (a value
// that names an image) and the skin's name in its description.
std::string IncompleteText(const std::string& text, const std::string& name, const std::string& incomplete) {
  std::string out, section;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(pos, end - pos);
    pos = end;
    if (line.starts_with("[")) section = line.substr(1, line.find(']') - 1);
    if (!kIncompleteSections.contains(section)) continue;
    const std::size_t eq = line.find('=');
    if (section == "GLOBALINFO" && eq != std::string::npos && line[0] != ';') {
      const char first = eq + 1 < line.size() ? line[eq + 1] : 0;
      if (first == '^' || first == '@' || first == '!' || first == '~') continue;
      if (line.starts_with("DESCRIPTION=")) line = "DESCRIPTION=" + incomplete + ": " + name +
                                                   "'s form, edits, panels, buttons and check boxes alone\n";
    }
    out += line;
  }
  return out;
}

bool Fail(const std::string& message) {
  std::fprintf(stderr, "layeredskinmaker: %s\n", message.c_str());
  return false;
}

// The description names exactly the pictures that are drawn, as they are drawn.
bool Check(const skin_layered::TSkinDescription& d, const SamplePictures& pictures) {
  bool ok = true;
  for (const MasterPart& part : pictures.Parts) {
    const auto value = d.Value(part.Section, part.Key);
    if (!value || *value != part.Descriptor())
      ok = Fail("[" + part.Section + "] " + part.Key + " must be " + part.Descriptor() + " (is " +
                std::string(value.value_or("missing")) + ")");
  }
  std::map<std::string, const Picture*> files;
  for (const FilePicture& f : pictures.Files) files[skin_layered::DescriptionUpperCase(f.Name)] = &f.Image;
  std::set<std::string> named;
  if (d.ReadString("GLOBALINFO", "MASTERBITMAP", "") != kMasterName) ok = Fail(std::string("MASTERBITMAP must be ") + kMasterName);
  for (int i = 0; i < d.SectionCount(); ++i) {
    for (const auto& entry : d.Entries(i)) {
      if (d.SectionName(i) == "GLOBALINFO" && entry.Key == "MASTERBITMAP") continue;
      skin_layered::TImageDescriptor image;
      try {
        image = skin_layered::ParseImageValue(entry.Value);
      } catch (const skin_layered::EDescriptionValue& e) {
        ok = Fail(std::string(d.SectionName(i)) + " " + std::string(entry.Key) + ": " + e.what());
        continue;
      }
      if (image.FileName.empty()) continue;
      const std::string upper = skin_layered::DescriptionUpperCase(image.FileName);
      named.insert(upper);
      if (upper == skin_layered::DescriptionUpperCase(pictures.TextureName)) continue;
      const auto it = files.find(upper);
      if (it == files.end()) {
        ok = Fail("no picture " + image.FileName + " is drawn");
      } else if (image.Kind == skin_layered::TImageValueKind::FileWithParams &&
                 (image.ImageCount != static_cast<int>(it->second->Frames.size()) ||
                  image.MaskType != it->second->MaskType)) {
        ok = Fail(image.FileName + " has " + std::to_string(it->second->Frames.size()) + " frames and mask type " +
                  std::to_string(it->second->MaskType));
      }
    }
  }
  for (const auto& [upper, picture] : files)
    if (!named.contains(upper)) ok = Fail(upper + " is drawn but not named");
  return ok;
}

// The skin's picture files by name.
std::vector<PictureFile> PictureFiles(const SamplePictures& pictures) {
  std::vector<PictureFile> files;
  files.push_back({kMasterName, pictures.MasterWidth, pictures.MasterHeight, pictures.MasterPixels(), false});
  for (const FilePicture& f : pictures.Files) files.push_back({f.Name, f.Image.Width(), f.Image.Height(), f.Image.Pixels(), true});
  std::vector<std::uint32_t> texture;
  for (int y = 0; y < pictures.Texture.Height(); ++y)
    for (int x = 0; x < pictures.Texture.Width(); ++x) {
      const Rgba& c = pictures.Texture.At(x, y);
      texture.push_back(Rgb{c.r, c.g, c.b}.ToHex());
    }
  files.push_back({pictures.TextureName, pictures.Texture.Width(), pictures.Texture.Height(), std::move(texture), false});
  return files;
}

bool WriteSkin(const fs::path& out, const std::string& name, const std::string& text, const SamplePictures& pictures) {
  std::vector<std::pair<std::string, Bytes>> entries;
  entries.emplace_back("Options.dat", Bytes(text.begin(), text.end()));
  for (const PictureFile& file : PictureFiles(pictures)) entries.emplace_back(file.name, file.Encoded());

  const fs::path folder = out / name;
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return Fail("cannot make " + folder.string());
  std::vector<layeredpack::PackEntrySpec> pack;
  for (const auto& [file, bytes] : entries) {
    if (!WriteFile((folder / file).string(), bytes)) return Fail("cannot write " + (folder / file).string());
    pack.push_back({file, bytes, {}, {}});
  }
  if (!WriteFile((out / (name + ".pmz")).string(), layeredpack::WritePack(pack)))
    return Fail("cannot write " + (out / (name + ".pmz")).string());
  return true;
}

int Run(int argc, char** argv) {
  const SamplePictures lagoon = DrawSamplePictures(Palette::Lagoon());
  if (argc == 2 && std::string(argv[1]) == "--parts") {
    std::string section;
    for (const MasterPart& part : lagoon.Parts) {
      if (part.Section != section) std::printf("[%s]\n", (section = part.Section).c_str());
      std::printf("%s=%s\n", part.Key.c_str(), part.Descriptor().c_str());
    }
    return 0;
  }
  const bool sweep = argc == 4 && std::string(argv[1]) == "--sweep";
  const bool random = argc == 6 && std::string(argv[1]) == "--sweep-random";
  std::uint32_t seed = 0;
  int count = 0;
  if (random) {
    seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    count = std::atoi(argv[3]);
    argv += 3;
    argc -= 3;
  } else if (sweep) {
    ++argv;
    --argc;
  }
  if (argc != 3)
    return Fail("usage: layeredskinmaker [--sweep | --sweep-random SEED COUNT] OPTIONS_FILE OUTPUT_FOLDER | --parts"), 2;
  std::string text;
  if (!ReadFile(argv[1], text)) return Fail(std::string("cannot read ") + argv[1]), 1;
  const std::string name = fs::path(argv[1]).parent_path().filename().string();
  const skin_layered::TSkinDescription description(text);
  if (!Check(description, lagoon)) return 1;

  const fs::path out = argv[2];
  if (random) return WriteRandomSweepVariants(text, PictureFiles(lagoon), seed, count, out) ? 0 : 1;
  if (sweep) return WriteSweepVariants(text, PictureFiles(lagoon), out) ? 0 : 1;
  // The close button stays red.
  Palette turned = Palette::Lagoon().Recoloured([](Rgb c) { return TurnHue(c, kVariantHueTurn); });
  turned.closeHot = Palette::Lagoon().closeHot;
  turned.closePressed = Palette::Lagoon().closePressed;
  const SamplePictures variant = DrawSamplePictures(turned);
  if (!WriteSkin(out, name, text, lagoon)) return 1;
  if (!WriteSkin(out, kVariantName, VariantText(text, name, kVariantName, kVariantHueTurn), variant)) return 1;
  if (!WriteSkin(out, kIncompleteName, IncompleteText(text, name, kIncompleteName), lagoon)) return 1;
  return 0;
}

}  // namespace
}  // namespace layeredskin

int main(int argc, char** argv) { return layeredskin::Run(argc, argv); }
