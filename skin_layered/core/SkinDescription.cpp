#include "skin_layered/core/SkinDescription.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

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

bool IsDescriptionColor(std::int32_t Value) {
  const auto bits = static_cast<std::uint32_t>(Value);
  constexpr std::uint32_t kSystemColor = 0x80000000u, kLastSystemIndex = 30;
  return bits <= 0xFFFFFFu || (bits >= kSystemColor && bits <= kSystemColor + kLastSystemIndex);
}

TDescriptionCheck CheckDescriptionBytes(std::string_view Text) {
  const std::size_t start = Text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  bool blank = true;
  for (std::size_t i = start; i < Text.size(); ++i) {
    const auto c = static_cast<unsigned char>(Text[i]);
    if (c < 32 && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f' && c != 0x1A)
      return {TDescriptionFault::NotText, i, c};
    if (c > 32) blank = false;
  }
  return blank ? TDescriptionCheck{TDescriptionFault::Empty} : TDescriptionCheck{};
}

void TSkinDescription::Load(std::string_view Text) {
  sections_.clear();
  entries_.clear();
  entry_sections_.clear();
  entry_keys_.clear();
  index_.clear();
  key_ids_.clear();
  key_starts_.clear();
  key_entries_.clear();
  parents_.clear();
  providers_.clear();
  utf8_ = Text.size() >= 3 && Text.substr(0, 3) == "\xEF\xBB\xBF";
  text_.assign(utf8_ ? Text.substr(3) : Text);

  const std::string_view text(text_);
  bool open = false;  // false before the first section and inside a repeated one
  std::vector<int> keySection;  // by key number: the last section that gave the key
  std::size_t pos = 0;
  while (pos < text.size()) {
    // The line ends at the first CR or LF.
    const char* begin = text.data() + pos;
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', text.size() - pos));
    const std::size_t stop = lf ? static_cast<std::size_t>(lf - begin) : text.size() - pos;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', stop));
    const std::size_t end = pos + (cr ? static_cast<std::size_t>(cr - begin) : stop);
    const std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? end + 2 : end + 1;

    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      open = index_.try_emplace(name, sections_.size()).second;
      if (open) sections_.push_back({name, entries_.size(), 0});
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!open || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    const int section = static_cast<int>(sections_.size()) - 1;
    const auto [it, added] = key_ids_.try_emplace(key, static_cast<int>(keySection.size()));
    if (added) keySection.push_back(-1);
    int& last = keySection[static_cast<std::size_t>(it->second)];
    if (last == section) continue;  // the first of a section counts
    last = section;
    ++sections_.back().Count;
    entry_keys_.emplace_back(it->second, static_cast<int>(entries_.size()));
    entries_.push_back({key, Trim(line.substr(eq + 1))});
    entry_sections_.push_back(section);
  }
  for (const TSection& section : sections_) {
    const auto first = entry_keys_.begin() + static_cast<std::ptrdiff_t>(section.First);
    std::sort(first, first + static_cast<std::ptrdiff_t>(section.Count));
  }
  // Each key's entries, counted, then placed section after section.
  key_starts_.assign(keySection.size() + 1, 0);
  for (const auto& [key, entry] : entry_keys_) ++key_starts_[static_cast<std::size_t>(key) + 1];
  for (std::size_t k = 1; k < key_starts_.size(); ++k) key_starts_[k] += key_starts_[k - 1];
  key_entries_.resize(entries_.size());
  std::vector<int> next(key_starts_.begin(), key_starts_.end() - 1);
  for (const auto& [key, entry] : entry_keys_) key_entries_[static_cast<std::size_t>(next[static_cast<std::size_t>(key)]++)] = entry;
  providers_.resize(keySection.size() * kKindCount);
  const int parentKey = FindKey(kParentKey);
  parents_.reserve(sections_.size());
  for (std::size_t s = 0; s < sections_.size(); ++s) {
    const TEntry* entry = EntryOf(static_cast<int>(s), parentKey);
    const std::string_view parent = entry ? entry->Value : kMissing;
    parents_.push_back(parent.empty() || parent == kMissing || parent == sections_[s].Name ? -1 : FindSection(parent));
  }
}

int TSkinDescription::FindSection(std::string_view Name) const {
  const auto it = index_.find(Name);
  return it == index_.end() ? -1 : static_cast<int>(it->second);
}

int TSkinDescription::FindKey(std::string_view Key) const {
  const auto it = key_ids_.find(Key);
  return it == key_ids_.end() ? -1 : it->second;
}

const TSkinDescription::TEntry* TSkinDescription::EntryOf(int Section, int Key) const {
  if (Section < 0 || Section >= SectionCount() || Key < 0) return nullptr;
  const TSection& section = sections_[static_cast<std::size_t>(Section)];
  const auto first = entry_keys_.begin() + static_cast<std::ptrdiff_t>(section.First);
  const auto last = first + static_cast<std::ptrdiff_t>(section.Count);
  const auto it = std::lower_bound(first, last, std::pair<int, int>(Key, -1));
  return it != last && it->first == Key ? &entries_[static_cast<std::size_t>(it->second)] : nullptr;
}

std::optional<std::string_view> TSkinDescription::Value(int Section, int Key) const {
  const TEntry* entry = EntryOf(Section, Key);
  if (!entry) return std::nullopt;
  return entry->Value;
}

std::optional<std::string_view> TSkinDescription::Value(std::string_view Section, std::string_view Key) const {
  return Value(FindSection(Section), FindKey(Key));
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

std::int32_t TSkinDescription::ReadColor(std::string_view Section, std::string_view Key,
                                         std::int32_t Default) const {
  std::int32_t value = 0;
  const auto text = Value(Section, Key);
  return text && ParseDescriptionInteger(*text, value) && IsDescriptionColor(value) ? value : Default;
}

double TSkinDescription::ReadFloat(std::string_view Section, std::string_view Key, double Default) const {
  double value = 0;
  const auto text = Value(Section, Key);
  return text && ParseDescriptionFloat(*text, value) ? value : Default;
}

namespace {
constexpr int kUnresolved = -2;
constexpr int kWalking = -3;  // on the chain being walked: met again, the chain came back

bool IntegerValue(std::string_view text, std::int32_t& value) {
  return ParseDescriptionInteger(text, value) && value != -1;
}

bool ColorValue(std::string_view text, std::int32_t& value) {
  return ParseDescriptionInteger(text, value) && IsDescriptionColor(value);
}
}  // namespace

int TSkinDescription::Provider(int Section, int Key, TKind Kind) const {
  if (Section < 0 || Section >= SectionCount() || Key < 0 ||
      static_cast<std::size_t>(Key) * kKindCount >= providers_.size())
    return -1;
  std::vector<int>& provider = providers_[static_cast<std::size_t>(Key) * kKindCount + Kind];
  if (provider.empty()) {
    // The sections whose own value counts give it; the others ask their parents.
    provider.assign(sections_.size(), kUnresolved);
    const auto k = static_cast<std::size_t>(Key);
    for (int i = key_starts_[k]; i < key_starts_[k + 1]; ++i) {
      const int e = key_entries_[static_cast<std::size_t>(i)];
      const std::string_view value = entries_[static_cast<std::size_t>(e)].Value;
      std::int32_t number = 0;
      const bool given = Kind == kString    ? value != kMissing
                         : Kind == kInteger ? IntegerValue(value, number)
                                            : ColorValue(value, number);
      if (given)
        provider[static_cast<std::size_t>(entry_sections_[static_cast<std::size_t>(e)])] = e;
    }
  }
  walked_.clear();
  int found = -1;
  for (int s = Section;;) {
    const int known = provider[static_cast<std::size_t>(s)];
    if (known >= -1) {
      found = known;
      break;
    }
    if (known == kWalking) break;
    provider[static_cast<std::size_t>(s)] = kWalking;
    walked_.push_back(s);
    s = parents_[static_cast<std::size_t>(s)];
    if (s < 0) break;
  }
  for (int s : walked_) provider[static_cast<std::size_t>(s)] = found;
  return found;
}

std::optional<std::string_view> TSkinDescription::InheritedString(int Section, int Key) const {
  const int entry = Provider(Section, Key, kString);
  if (entry < 0) return std::nullopt;
  return entries_[static_cast<std::size_t>(entry)].Value;
}

std::optional<std::int32_t> TSkinDescription::InheritedInteger(int Section, int Key) const {
  const int entry = Provider(Section, Key, kInteger);
  std::int32_t value = 0;
  if (entry < 0 || !IntegerValue(entries_[static_cast<std::size_t>(entry)].Value, value)) return std::nullopt;
  return value;
}

std::optional<std::int32_t> TSkinDescription::InheritedColor(int Section, int Key) const {
  const int entry = Provider(Section, Key, kColor);
  std::int32_t value = 0;
  if (entry < 0 || !ColorValue(entries_[static_cast<std::size_t>(entry)].Value, value)) return std::nullopt;
  return value;
}

std::optional<bool> TSkinDescription::InheritedBool(int Section, int Key) const {
  const auto text = InheritedString(Section, Key);
  if (!text) return std::nullopt;
  return *text == "TRUE" || *text == "1";
}

std::optional<std::string_view> TSkinDescription::InheritedString(std::string_view Section,
                                                                  std::string_view Key) const {
  return InheritedString(FindSection(Section), FindKey(Key));
}

std::optional<std::int32_t> TSkinDescription::InheritedInteger(std::string_view Section, std::string_view Key) const {
  return InheritedInteger(FindSection(Section), FindKey(Key));
}

std::optional<bool> TSkinDescription::InheritedBool(std::string_view Section, std::string_view Key) const {
  return InheritedBool(FindSection(Section), FindKey(Key));
}

std::optional<std::int32_t> TSkinDescription::InheritedColor(std::string_view Section, std::string_view Key) const {
  return InheritedColor(FindSection(Section), FindKey(Key));
}

}  // namespace skin_layered
