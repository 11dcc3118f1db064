// A layered skin's description ("Options.dat"): an INI text read as bytes, with the value
// rules of the skin reader. Sections and keys are matched case-sensitively; the first section
// of a name and the first key of a section count (later ones are unreachable and dropped).
// Lines are trimmed (characters up to 32); empty lines and lines beginning with ";" are
// skipped; "[name]" starts a section; names and values are trimmed round the first "=";
// lines before the first section and lines without "=" are ignored. No windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace skin_layered {

// A value that must be a number is not one, or a descriptor is too short for its columns.
// Text is the offending text (the descriptor for a short one).
class EDescriptionValue : public std::runtime_error {
 public:
  EDescriptionValue(const std::string& Message, std::string Text)
      : std::runtime_error(Message), text_(std::move(Text)) {}
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The integer of a value as the INI reader takes it: optional blanks, a sign, decimal digits
// or "$" and hexadecimal digits (which may fill all 32 bits: "$FFFFFFFF" is -1), nothing
// after. With AllowC0x "0x" and "0X" also introduce hexadecimal digits.
bool ParseDescriptionInteger(std::string_view Text, std::int32_t& Value, bool AllowC0x = false);
// The same, raising EDescriptionValue "'<text>' is not a valid integer value" for a text
// that is not one.
std::int32_t DescriptionInteger(std::string_view Text);
// A decimal fraction with "." as separator and an optional exponent; blanks round it allowed.
bool ParseDescriptionFloat(std::string_view Text, double& Value);

// ASCII letters upper-cased; other bytes kept.
std::string DescriptionUpperCase(std::string_view Text);

// A value a colour can have: red, green and blue in the low three bytes and nothing above
// them, or a system colour (0x80000000 with the system's index of one, 0 to 30). Anything else
// (-1, $FFFFFFFF, $7FFFFFFF) is no colour.
bool IsDescriptionColor(std::int32_t Value);

// Bytes that cannot be a description: nothing but blanks (after a UTF-8 byte-order mark), or
// a byte no text holds (a control character other than tab, line and page breaks and the
// end-of-file mark), the first of them at Offset.
enum class TDescriptionFault { None, Empty, NotText };
struct TDescriptionCheck {
  TDescriptionFault Fault = TDescriptionFault::None;
  std::size_t Offset = 0;
  unsigned Byte = 0;
};
TDescriptionCheck CheckDescriptionBytes(std::string_view Text);

class TSkinDescription {
 public:
  struct TEntry {
    std::string_view Key;
    std::string_view Value;
  };

  TSkinDescription() = default;
  explicit TSkinDescription(std::string_view Text) { Load(Text); }
  // The entries point into the description's own copy of the text.
  TSkinDescription(const TSkinDescription&) = delete;
  TSkinDescription& operator=(const TSkinDescription&) = delete;

  // Replaces what was loaded. A leading UTF-8 byte-order mark is dropped and noted.
  void Load(std::string_view Text);
  // The text began with a UTF-8 byte-order mark: its names and values are UTF-8 (otherwise
  // they are in the ANSI code page).
  bool Utf8() const { return utf8_; }

  // The distinct section names in file order.
  int SectionCount() const { return static_cast<int>(sections_.size()); }
  std::string_view SectionName(int Index) const { return sections_[static_cast<std::size_t>(Index)].Name; }
  // The distinct keys of a section with their values, in file order.
  std::span<const TEntry> Entries(int Index) const {
    const TSection& section = sections_[static_cast<std::size_t>(Index)];
    return std::span<const TEntry>(entries_).subspan(section.First, section.Count);
  }
  // The section of that name; -1 when none.
  int FindSection(std::string_view Name) const;

  // The value of a key; nullopt when the section or key is missing.
  std::optional<std::string_view> Value(std::string_view Section, std::string_view Key) const;
  std::string_view ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const;
  // Default when missing or not an integer.
  std::int32_t ReadInteger(std::string_view Section, std::string_view Key, std::int32_t Default) const;
  // Default when missing, not an integer or no colour (IsDescriptionColor).
  std::int32_t ReadColor(std::string_view Section, std::string_view Key, std::int32_t Default) const;
  // Default when missing or not a number with "." as separator.
  double ReadFloat(std::string_view Section, std::string_view Key, double Default) const;

  // Reading with inheritance: the section's own value, else (while the section names a
  // parent by "PARENTCLASS" that is neither empty, "?" nor itself, and the chain has not
  // come back to a section it passed) the parent's, in turn. Nullopt when no section of the
  // chain has the value. Each section's parent is found once, when the text is loaded, and
  // each section's answer for a key is kept, so reading a key of every section takes time in
  // proportion to the sections, however long their chains.
  // Strings: a value of "?" counts as missing.
  std::optional<std::string_view> InheritedString(std::string_view Section, std::string_view Key) const;
  // Integers: a value that is not an integer, or -1, counts as missing.
  std::optional<std::int32_t> InheritedInteger(std::string_view Section, std::string_view Key) const;
  // Booleans (a value of "?" missing): "TRUE" or "1" is true, any other value false.
  std::optional<bool> InheritedBool(std::string_view Section, std::string_view Key) const;
  // Colours: a value that is no colour (IsDescriptionColor) counts as missing.
  std::optional<std::int32_t> InheritedColor(std::string_view Section, std::string_view Key) const;

  // The same by numbers, for readers of many values: a section's place (FindSection) and a
  // key's number, -1 for a key named nowhere in the text. Either -1 finds nothing.
  int FindKey(std::string_view Key) const;
  std::optional<std::string_view> Value(int Section, int Key) const;
  std::optional<std::string_view> InheritedString(int Section, int Key) const;
  std::optional<std::int32_t> InheritedInteger(int Section, int Key) const;
  std::optional<bool> InheritedBool(int Section, int Key) const;
  std::optional<std::int32_t> InheritedColor(int Section, int Key) const;

 private:
  enum TKind { kString, kInteger, kColor, kKindCount };
  struct TSection {
    std::string_view Name;
    std::size_t First = 0, Count = 0;  // its entries
  };
  // The section's entry of a key number; nullptr when it has none.
  const TEntry* EntryOf(int Section, int Key) const;
  // The entry that gives Section's value of Key (-1 none) for values of that kind.
  int Provider(int Section, int Key, TKind Kind) const;

  std::string text_;
  bool utf8_ = false;
  std::vector<TSection> sections_;
  std::vector<TEntry> entries_;  // of every section, section after section
  std::vector<int> entry_sections_;
  // Beside the entries, section by section: (key number, entry) in increasing key order.
  std::vector<std::pair<int, int>> entry_keys_;
  std::unordered_map<std::string_view, std::size_t> index_;
  std::unordered_map<std::string_view, int> key_ids_;
  // By key number: its entries (one a section at most) at key_entries_[key_starts_[k]] up to
  // key_starts_[k + 1].
  std::vector<int> key_starts_, key_entries_;
  std::vector<int> parents_;  // each section's parent, -1 for none
  // By key number and kind: for each section the entry giving its value, -1 for none, or
  // one of the marks of Provider; made when first asked.
  mutable std::vector<std::vector<int>> providers_;
  mutable std::vector<int> walked_;
};

}  // namespace skin_layered
