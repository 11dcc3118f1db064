// What the skin makers of both engines share for the sweep over every element a skin can have:
// a skin description as sections of lines, the description less some sections or with some
// values rewritten, names safe for files, the seeded random choice of sections, and the list
// of variants written beside them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sweepskins {

struct Section {
  std::string name;
  std::vector<std::string> lines;  // the header first
};

// A description as written, its lines kept (comments too), split at its section headers.
struct Description {
  std::vector<std::string> preamble;
  std::vector<Section> sections;

  static Description Parse(const std::string& Text);
  std::string Text() const;
  std::vector<std::string> SectionNames() const;
  // The value of a key in a section (both as written), trimmed; none when not there.
  std::optional<std::string> Value(const std::string& SectionName, const std::string& Key) const;
  Description Without(const std::function<bool(const std::string& Name)>& Drop) const;
  // Every line of a section dropped that Drop picks.
  Description WithoutLines(const std::function<bool(const std::string& Line)>& Drop) const;
  // Each value rewritten that Change gives a new one for (keys and values trimmed; a value
  // line is written "KEY=VALUE" again).
  using Rewrite = std::function<std::optional<std::string>(const std::string& Section, const std::string& Key,
                                                           const std::string& Value)>;
  Description Rewritten(const Rewrite& Change) const;
};

std::string Trim(const std::string& S);
std::string Lower(std::string S);
std::string Upper(std::string S);
// Letters, digits and '-'; anything else becomes '_'.
std::string Safe(std::string S);
// A whole decimal number, a sign allowed.
bool IsInteger(const std::string& S);

// The seeded random choices of sections: for each of Count skins, the sections of Names kept
// beside the skin-wide one (each kept with a chance the skin draws from 10% to 90%), and
// whether the skin keeps its pictures (every other one). The same seed gives the same skins.
struct Subset {
  int index = 0;
  bool pictures = false;
  std::set<std::string> kept;  // the skin-wide section apart
};
std::vector<Subset> RandomSubsets(std::uint32_t Seed, int Count, const std::vector<std::string>& Names,
                                  const std::string& SkinWide);
// The subset's variant name ("sample-subset-SEED-I" or "colours-subset-SEED-I") and what it
// lacks, for the list.
std::string SubsetName(std::uint32_t Seed, const Subset& S);
std::string SubsetLacks(const Subset& S, const std::string& SkinWide);

}  // namespace sweepskins
