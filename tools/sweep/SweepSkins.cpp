#include "tools/sweep/SweepSkins.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <sstream>

namespace sweepskins {

std::string Trim(const std::string& S) {
  const auto first = S.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return S.substr(first, S.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return S;
}

std::string Upper(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return S;
}

std::string Safe(std::string S) {
  for (char& c : S)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
  return S;
}

bool IsInteger(const std::string& S) {
  const std::size_t start = !S.empty() && (S[0] == '-' || S[0] == '+') ? 1 : 0;
  return S.size() > start &&
         std::all_of(S.begin() + static_cast<std::ptrdiff_t>(start), S.end(), [](unsigned char c) { return std::isdigit(c); });
}

Description Description::Parse(const std::string& Text) {
  Description d;
  std::istringstream in(Text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string t = Trim(line);
    if (!t.empty() && t[0] == '[') d.sections.push_back({t.substr(1, t.find(']') - 1), {}});
    (d.sections.empty() ? d.preamble : d.sections.back().lines).push_back(line);
  }
  return d;
}

std::string Description::Text() const {
  std::string out;
  for (const std::string& l : preamble) out += l + "\r\n";
  for (const Section& s : sections)
    for (const std::string& l : s.lines) out += l + "\r\n";
  return out;
}

std::vector<std::string> Description::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : sections) names.push_back(s.name);
  return names;
}

std::optional<std::string> Description::Value(const std::string& SectionName, const std::string& Key) const {
  for (const Section& s : sections) {
    if (s.name != SectionName) continue;
    for (const std::string& line : s.lines) {
      const std::string t = Trim(line);
      const std::size_t eq = t.find('=');
      if (!t.empty() && t[0] != ';' && eq != std::string::npos && Trim(t.substr(0, eq)) == Key) return Trim(t.substr(eq + 1));
    }
  }
  return std::nullopt;
}

Description Description::Without(const std::function<bool(const std::string&)>& Drop) const {
  Description d = *this;
  std::erase_if(d.sections, [&](const Section& s) { return Drop(s.name); });
  return d;
}

Description Description::WithoutLines(const std::function<bool(const std::string&)>& Drop) const {
  Description d = *this;
  for (Section& s : d.sections) {
    const std::string header = s.lines.empty() ? std::string() : s.lines.front();
    std::erase_if(s.lines, [&](const std::string& l) { return l != header && Drop(l); });
  }
  return d;
}

Description Description::Rewritten(const Rewrite& Change) const {
  Description d = *this;
  for (Section& s : d.sections)
    for (std::size_t i = 1; i < s.lines.size(); ++i) {
      const std::string t = Trim(s.lines[i]);
      const std::size_t eq = t.find('=');
      if (t.empty() || t[0] == ';' || eq == std::string::npos) continue;
      const std::string key = Trim(t.substr(0, eq));
      if (const std::optional<std::string> value = Change(s.name, key, Trim(t.substr(eq + 1))))
        s.lines[i] = key + "=" + *value;
    }
  return d;
}

std::vector<Subset> RandomSubsets(std::uint32_t Seed, int Count, const std::vector<std::string>& Names,
                                  const std::string& SkinWide) {
  std::vector<Subset> subsets;
  for (int i = 0; i < Count; ++i) {
    // Each skin from its own stream: one of them is made again alone from its seed and index.
    std::seed_seq seeds{Seed, static_cast<std::uint32_t>(i)};
    std::mt19937 random(seeds);
    Subset s;
    s.index = i;
    s.pictures = i % 2 == 0;
    const std::uint32_t tenths = 1 + random() % 9;
    for (const std::string& name : Names)
      if (name != SkinWide && random() % 10 < tenths) s.kept.insert(name);
    subsets.push_back(std::move(s));
  }
  return subsets;
}

std::string SubsetName(std::uint32_t Seed, const Subset& S) {
  return std::string(S.pictures ? "sample" : "colours") + "-subset-" + std::to_string(Seed) + "-" + std::to_string(S.index);
}

std::string SubsetLacks(const Subset& S, const std::string& SkinWide) {
  std::string kept = "every section but " + SkinWide;
  for (const std::string& name : S.kept) kept += ", " + name;
  return kept + (S.pictures ? "" : ", and every picture");
}

}  // namespace sweepskins
