// skinmaker DESCRIPTION OUTPUT [PICTURE-FOLDER]: builds the sample classic skin package. The
// description text comes from the repository; every picture it names is drawn here
// (SamplePictures.cpp), and the package (the description and the pictures) is packed with our
// LZHUF encoder. A picture the description names but nobody draws, or one drawn but never
// named, stops the build. With a picture folder, the pictures are also written there as BMP
// files for people to look at.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "tools/skinmaker/SamplePictures.h"
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

// The picture names of a description: the file part of every value that ends in ".bmp".
std::set<std::string> NamedPictures(const std::string& description) {
  std::set<std::string> names;
  std::istringstream lines(description);
  for (std::string line; std::getline(lines, line);) {
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '[') continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string value = Trim(line.substr(eq + 1));
    const auto slash = value.find_last_of("\\/");
    if (slash != std::string::npos) value = value.substr(slash + 1);
    if (value.size() > 4 && Lower(value.substr(value.size() - 4)) == ".bmp") names.insert(Lower(value));
  }
  return names;
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: skinmaker DESCRIPTION OUTPUT [PICTURE-FOLDER]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string description((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    std::fprintf(stderr, "skinmaker: cannot read %s\n", argv[1]);
    return 1;
  }

  const std::vector<skinmaker::NamedPicture> pictures = skinmaker::SamplePictures();
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

  skinpack::PackageSpec spec;
  spec.tag = 70000;
  spec.entries.push_back({std::filesystem::path(argv[1]).filename().string(), skinpack::ToBytes(description)});
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
