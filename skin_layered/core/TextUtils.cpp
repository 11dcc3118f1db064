#include "skin_layered/core/TextUtils.h"

#include <type_traits>

namespace skin_layered {

namespace {

template <class Char>
bool IsDelim(Char ch, const TCharSet& delims) {
  const auto code = static_cast<std::make_unsigned_t<Char>>(ch);
  return code < 256 && delims.test(code);
}

// Start offsets of the words, found one by one.
template <class Char>
class WordWalker {
 public:
  WordWalker(std::basic_string_view<Char> s, const TCharSet& delims) : s_(s), delims_(delims) {}

  // The next word as (offset, length); false when no more.
  bool Next(std::size_t& start, std::size_t& length) {
    while (pos_ < s_.size() && IsDelim(s_[pos_], delims_)) ++pos_;
    if (pos_ >= s_.size()) return false;
    start = pos_;
    while (pos_ < s_.size() && !IsDelim(s_[pos_], delims_)) ++pos_;
    length = pos_ - start;
    return true;
  }

 private:
  std::basic_string_view<Char> s_;
  const TCharSet& delims_;
  std::size_t pos_ = 0;
};

template <class Char>
int CountWords(std::basic_string_view<Char> s, const TCharSet& delims) {
  WordWalker<Char> walker(s, delims);
  int count = 0;
  std::size_t start = 0, length = 0;
  while (walker.Next(start, length)) ++count;
  return count;
}

template <class Char>
bool FindWord(int n, std::basic_string_view<Char> s, const TCharSet& delims, std::size_t& start, std::size_t& length) {
  if (n < 1) return false;
  WordWalker<Char> walker(s, delims);
  for (int i = 1; walker.Next(start, length); ++i)
    if (i == n) return true;
  return false;
}

template <class Char>
int PositionOfWord(int n, std::basic_string_view<Char> s, const TCharSet& delims) {
  std::size_t start = 0, length = 0;
  return FindWord(n, s, delims, start, length) ? static_cast<int>(start) + 1 : 0;
}

template <class Char>
std::basic_string<Char> WordAt(int n, std::basic_string_view<Char> s, const TCharSet& delims) {
  std::size_t start = 0, length = 0;
  if (!FindWord(n, s, delims, start, length)) return {};
  return std::basic_string<Char>(s.substr(start, length));
}

}  // namespace

TCharSet CharSetOf(std::string_view Chars) {
  TCharSet set;
  for (char c : Chars) set.set(static_cast<unsigned char>(c));
  return set;
}

bool CharInSet(wchar_t Ch, const TCharSet& Set) { return IsDelim(Ch, Set); }
bool CharInSet(char Ch, const TCharSet& Set) { return IsDelim(Ch, Set); }

int WordCount(std::wstring_view S, const TCharSet& Delims) { return CountWords(S, Delims); }
int WordPosition(int N, std::wstring_view S, const TCharSet& Delims) { return PositionOfWord(N, S, Delims); }
std::wstring ExtractWord(int N, std::wstring_view S, const TCharSet& Delims) { return WordAt(N, S, Delims); }

int WordIndex(std::wstring_view Word, std::wstring_view S, const TCharSet& Delims) {
  WordWalker<wchar_t> walker(S, Delims);
  std::size_t start = 0, length = 0;
  for (int i = 1; walker.Next(start, length); ++i)
    if (S.substr(start, length) == Word) return i;
  return -1;
}

int WordCountEx(std::string_view S, const TCharSet& Delims) { return CountWords(S, Delims); }
int WordPositionEx(int N, std::string_view S, const TCharSet& Delims) { return PositionOfWord(N, S, Delims); }
std::string ExtractWordEx(int N, std::string_view S, const TCharSet& Delims) { return WordAt(N, S, Delims); }

std::wstring DelChars(std::wstring_view S, wchar_t Ch) {
  std::wstring result;
  result.reserve(S.size());
  for (wchar_t c : S)
    if (c != Ch) result.push_back(c);
  return result;
}

std::wstring ReplaceStr(std::wstring_view S, std::wstring_view Old, std::wstring_view New) {
  if (Old.empty()) return std::wstring(S);
  std::wstring result;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = S.find(Old, pos)) != std::wstring_view::npos; pos = hit + Old.size()) {
    result.append(S.substr(pos, hit - pos));
    result.append(New);
  }
  result.append(S.substr(pos));
  return result;
}

std::int64_t HexToInt(std::wstring_view S) {
  if (!S.empty() && (S.back() == L'H' || S.back() == L'h')) S.remove_suffix(1);
  std::uint64_t value = 0;
  for (wchar_t c : S) {
    unsigned digit = 0;
    if (c >= L'0' && c <= L'9')
      digit = static_cast<unsigned>(c - L'0');
    else if (c >= L'A' && c <= L'F')
      digit = static_cast<unsigned>(c - L'A' + 10);
    else if (c >= L'a' && c <= L'f')
      digit = static_cast<unsigned>(c - L'a' + 10);
    else
      return 0;
    value = value << 4 | digit;
  }
  return static_cast<std::int64_t>(value);
}

}  // namespace skin_layered
