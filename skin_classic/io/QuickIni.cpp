#include "skin_classic/io/QuickIni.h"

#include <algorithm>

#include "skin_classic/io/AsciiText.h"

namespace skin_classic {
namespace {

bool IsHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits only, in the given base, no more than `limit`.
bool ParseMagnitude(std::string_view digits, int base, std::uint64_t limit, std::uint64_t& out) {
  if (digits.empty()) return false;
  std::uint64_t v = 0;
  for (const char c : digits) {
    const int d = HexDigit(c);
    if (d < 0 || d >= base) return false;
    v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (v > limit) return false;
  }
  out = v;
  return true;
}

}  // namespace

bool ParseSkinInteger(std::string_view text, std::int32_t& value) {
  std::uint64_t magnitude = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!ParseMagnitude(text.substr(2), 16, 0xFFFFFFFFu, magnitude)) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    return true;
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (!text.empty() && text[0] == '$') {
    // Hexadecimal covers the full 32 bits and wraps into the signed range.
    if (!ParseMagnitude(text.substr(1), 16, 0xFFFFFFFFu, magnitude)) return false;
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<std::int32_t>(bits);
    return true;
  }
  const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  if (!ParseMagnitude(text, 10, limit, magnitude)) return false;
  value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                   : static_cast<std::int32_t>(magnitude);
  return true;
}

TQuickIni::Line TQuickIni::MakeLine(std::string_view text) {
  Line line;
  line.text = std::string(text);
  line.header = IsHeader(text);
  const std::size_t equals = text.find('=');
  if (equals != std::string_view::npos) {
    line.key = LowerAscii(TrimControls(text.substr(0, equals)));
    line.value = std::string(TrimControls(text.substr(equals + 1)));
  }
  return line;
}

void TQuickIni::Load(std::string_view text) {
  std::vector<Line> lines;
  std::vector<Section> sections;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    const std::string_view raw = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;

    const std::string_view kept = TrimControls(raw);
    if (kept.empty() || kept.front() == ';') continue;
    lines.push_back(MakeLine(kept));
    if (lines.back().header) sections.push_back(Section{std::string(kept), lines.size() - 1});
  }
  std::unordered_map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::string_view header(sections[i].header);
    index.try_emplace(LowerAscii(header.substr(1, header.size() - 2)), i);
  }
  lines_ = std::move(lines);
  sections_ = std::move(sections);
  index_ = std::move(index);
}

void TQuickIni::Load(std::span<const std::uint8_t> bytes) {
  Load(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> TQuickIni::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& s : sections_) {
    const std::string_view inner = std::string_view(s.header).substr(1, s.header.size() - 2);
    names.emplace_back(TrimControls(inner));
  }
  return names;
}

const TQuickIni::Section* TQuickIni::FindSection(std::string_view name) const {
  const auto found = index_.find(LowerAscii(name));
  return found == index_.end() ? nullptr : &sections_[found->second];
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  const std::string wanted = LowerAscii(key);
  const Section* found = lines_.empty() ? nullptr : FindSection(section);
  if (!found || wanted.empty()) return std::string(defaultValue);
  for (std::size_t i = found->line + 1; i < lines_.size() && !lines_[i].header; ++i) {
    // The first line with the key decides, even when its value is empty.
    if (lines_[i].key == wanted)
      return lines_[i].value.empty() ? std::string(defaultValue) : lines_[i].value;
  }
  return std::string(defaultValue);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
  std::int32_t value = 0;
  return ParseSkinInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

std::vector<std::string_view> TQuickIni::Lines() const {
  std::vector<std::string_view> out;
  out.reserve(lines_.size());
  for (const Line& line : lines_) out.emplace_back(line.text);
  return out;
}

}  // namespace skin_classic
