// The classic skin description reader: an INI text reduced once to its meaningful lines,
// with the section headers indexed, for many string and integer lookups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace skin_classic {

class TQuickIni {
 public:
  // Replaces what was loaded with the lines of `text`.
  void Load(std::string_view text);
  void Load(std::span<const std::uint8_t> bytes);

  // Section names without brackets, trimmed, in file order.
  std::vector<std::string> ReadSections() const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Decimal, "$" hexadecimal, or "0x" / "0X" followed by hexadecimal digits.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;

  // The kept lines: trimmed, not empty, not comments.
  std::vector<std::string_view> Lines() const;

 private:
  struct Line {
    std::string text;   // trimmed
    std::string key;    // before the first "=", trimmed and lower-cased; empty: none
    std::string value;  // after the first "=", trimmed
    bool header = false;
  };
  struct Section {
    std::string header;  // the trimmed header line, brackets included
    std::size_t line;    // its index in lines_
  };

  static Line MakeLine(std::string_view text);
  const Section* FindSection(std::string_view name) const;

  std::vector<Line> lines_;
  std::vector<Section> sections_;
  // The first section of each name (lower-cased, between the brackets): descriptions are
  // read by many lookups, and a long one must not make each of them walk every header.
  std::unordered_map<std::string, std::size_t> index_;
};

// The integer conversion of ReadInteger; false when `text` is not a number.
bool ParseSkinInteger(std::string_view text, std::int32_t& value);

}  // namespace skin_classic
