// Byte-text helpers of the classic skin readers: skin names and descriptions are ANSI
// text, lower-cased and trimmed by ASCII rules only, so multi-byte characters pass
// through untouched.
#pragma once

#include <string>
#include <string_view>

namespace skin_classic {

constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// Drops leading and trailing characters with codes up to 32 (blanks and controls).
constexpr std::string_view TrimControls(std::string_view text) {
  auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && isControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && isControl(text.back())) text.remove_suffix(1);
  return text;
}

// A name from a package quoted for a message: at most a line's worth of it.
inline std::string QuotedName(std::string_view name) {
  constexpr std::size_t kShown = 80;
  if (name.size() <= kShown) return "\"" + std::string(name) + "\"";
  return "\"" + std::string(name.substr(0, kShown)) + "...\"";
}

}  // namespace skin_classic
