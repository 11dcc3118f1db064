#include "skin_layered/core/SkinDescription.h"

#include <charconv>
#include <cmath>

namespace skin_layered {

namespace {

constexpr std::string_view kParentKey = "PARENTCLASS";
constexpr std::string_view kMissing = "?";

std::string_view Trim(std::string_view s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 32) --end;
  return s.substr(begin, end - begin);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseDescriptionInteger(std::string_view Text, std::int32_t& Value, bool AllowC0x) {
  std::size_t i = 0;
  while (i < Text.size() && Text[i] == ' ') ++i;
  bool negative = false;
  if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) negative = Text[i++] == '-';
  bool hex = false;
  if (i < Text.size() && Text[i] == '$') {
    hex = true;
    ++i;
  } else if (AllowC0x && i + 1 < Text.size() && Text[i] == '0' && (Text[i + 1] == 'x' || Text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= Text.size()) return false;
  std::uint64_t v = 0;
  const unsigned base = hex ? 16 : 10;
  for (; i < Text.size(); ++i) {
    const int digit = hex ? HexDigit(Text[i]) : (Text[i] >= '0' && Text[i] <= '9' ? Text[i] - '0' : -1);
    if (digit < 0) return false;
    v = v * base + static_cast<unsigned>(digit);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    // The bits of the value, then the sign, wrapping as a 32-bit integer does.
    const std::uint32_t bits = static_cast<std::uint32_t>(v);
    Value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    return true;
  }
  if (v > static_cast<std::uint64_t>(INT32_MAX) + (negative ? 1 : 0)) return false;
  Value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(v)) : static_cast<std::int32_t>(v);
  return true;
}

std::int32_t DescriptionInteger(std::string_view Text) {
  std::int32_t value = 0;
  if (!ParseDescriptionInteger(Text, value))
    throw EDescriptionValue("'" + std::string(Text) + "' is not a valid integer value", std::string(Text));
  return value;
}

bool ParseDescriptionFloat(std::string_view Text, double& Value) {
  Text = Trim(Text);
  std::string number;  // in the form from_chars reads
  std::size_t i = 0;
  auto digitAt = [&](std::size_t k) { return k < Text.size() && Text[k] >= '0' && Text[k] <= '9'; };
  if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) {
    if (Text[i] == '-') number += '-';
    ++i;
  }
  int digits = 0;
  bool fraction = false;
  for (; i < Text.size(); ++i) {
    if (digitAt(i)) {
      number += Text[i];
      ++digits;
    } else if (Text[i] == '.' && !fraction) {
      number += '.';
      fraction = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < Text.size() && (Text[i] == 'e' || Text[i] == 'E')) {
    number += 'e';
    ++i;
    if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) number += Text[i++];
    if (!digitAt(i)) return false;
    while (digitAt(i)) number += Text[i++];
  }
  if (i != Text.size()) return false;
  double v = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), v);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

std::string DescriptionUpperCase(std::string_view Text) {
  std::string s(Text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

void TSkinDescription::Load(std::string_view Text) {
  sections_.clear();
  index_.clear();
  parents_.clear();
  providers_.clear();
  utf8_ = Text.size() >= 3 && Text.substr(0, 3) == "\xEF\xBB\xBF";
  text_.assign(utf8_ ? Text.substr(3) : Text);

  const std::string_view text(text_);
  TSection* current = nullptr;  // nil before the first section and inside a repeated one
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? end + 2 : end + 1;

    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      if (index_.contains(name)) {
        current = nullptr;
      } else {
        index_.emplace(name, sections_.size());
        current = &sections_.emplace_back();
        current->Name = name;
      }
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    if (current->Keys.contains(key)) continue;
    current->Keys.emplace(key, current->Entries.size());
    current->Entries.push_back({key, Trim(line.substr(eq + 1))});
  }
  for (const TSection& section : sections_) {
    const std::string_view parent = ReadString(section.Name, kParentKey, kMissing);
    parents_.push_back(parent.empty() || parent == kMissing || parent == section.Name ? -1 : FindSection(parent));
  }
}

int TSkinDescription::FindSection(std::string_view Name) const {
  const auto it = index_.find(Name);
  return it == index_.end() ? -1 : static_cast<int>(it->second);
}

std::optional<std::string_view> TSkinDescription::Value(std::string_view Section, std::string_view Key) const {
  const int index = FindSection(Section);
  if (index < 0) return std::nullopt;
  const TSection& section = sections_[static_cast<std::size_t>(index)];
  const auto it = section.Keys.find(Key);
  if (it == section.Keys.end()) return std::nullopt;
  return section.Entries[it->second].Value;
}

std::string_view TSkinDescription::ReadString(std::string_view Section, std::string_view Key,
                                              std::string_view Default) const {
  return Value(Section, Key).value_or(Default);
}

std::int32_t TSkinDescription::ReadInteger(std::string_view Section, std::string_view Key,
                                           std::int32_t Default) const {
  std::int32_t value = 0;
  const auto text = Value(Section, Key);
  return text && ParseDescriptionInteger(*text, value) ? value : Default;
}

double TSkinDescription::ReadFloat(std::string_view Section, std::string_view Key, double Default) const {
  double value = 0;
  const auto text = Value(Section, Key);
  return text && ParseDescriptionFloat(*text, value) ? value : Default;
}

namespace {
constexpr int kUnresolved = -2;
constexpr int kWalking = -3;  // on the chain being walked: met again, the chain came back
}  // namespace

template <class Accept>
int TSkinDescription::Provider(std::string_view Section, std::string_view Key, char Kind, Accept&& accept) const {
  const int start = FindSection(Section);
  if (start < 0) return -1;
  std::string memoKey(1, Kind);
  memoKey += Key;
  std::vector<int>& provider = providers_[memoKey];
  if (provider.empty()) provider.assign(sections_.size(), kUnresolved);
  std::vector<int> walked;
  int found = -1;
  for (int s = start;;) {
    if (provider[static_cast<std::size_t>(s)] >= -1) {
      found = provider[static_cast<std::size_t>(s)];
      break;
    }
    if (provider[static_cast<std::size_t>(s)] == kWalking) break;
    provider[static_cast<std::size_t>(s)] = kWalking;
    walked.push_back(s);
    const TSection& section = sections_[static_cast<std::size_t>(s)];
    const auto own = section.Keys.find(Key);
    if (own != section.Keys.end() && accept(section.Entries[own->second].Value)) {
      found = s;
      break;
    }
    s = parents_[static_cast<std::size_t>(s)];
    if (s < 0) break;
  }
  for (int s : walked) provider[static_cast<std::size_t>(s)] = found;
  return found;
}

std::optional<std::string_view> TSkinDescription::InheritedString(std::string_view Section,
                                                                  std::string_view Key) const {
  const int provider = Provider(Section, Key, 's', [](std::string_view v) { return v != kMissing; });
  if (provider < 0) return std::nullopt;
  return Value(SectionName(provider), Key);
}

std::optional<std::int32_t> TSkinDescription::InheritedInteger(std::string_view Section, std::string_view Key) const {
  auto integer = [](std::string_view v, std::int32_t& value) {
    return ParseDescriptionInteger(v, value) && value != -1;
  };
  const int provider = Provider(Section, Key, 'i', [&](std::string_view v) {
    std::int32_t value = 0;
    return integer(v, value);
  });
  if (provider < 0) return std::nullopt;
  std::int32_t value = 0;
  integer(*Value(SectionName(provider), Key), value);
  return value;
}

std::optional<bool> TSkinDescription::InheritedBool(std::string_view Section, std::string_view Key) const {
  const auto text = InheritedString(Section, Key);
  if (!text) return std::nullopt;
  return *text == "TRUE" || *text == "1";
}

}  // namespace skin_layered
