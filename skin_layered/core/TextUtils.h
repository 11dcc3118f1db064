// Word lists and small text routines of the layered engine. Delimiters are a set of the
// characters 0..255 (a wider character is never a delimiter); words are maximal runs of
// non-delimiters; word numbers and positions count from 1. The plain routines work on
// program text, their "Ex" twins on byte text (skin descriptions are read as bytes) and
// behave alike. No windows.h.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace skin_layered {

using TCharSet = std::bitset<256>;

// The set of the given characters (each below 256).
TCharSet CharSetOf(std::string_view Chars);
bool CharInSet(wchar_t Ch, const TCharSet& Set);
bool CharInSet(char Ch, const TCharSet& Set);

int WordCount(std::wstring_view S, const TCharSet& Delims);
// 0 when there are fewer than N words.
int WordPosition(int N, std::wstring_view S, const TCharSet& Delims);
// Empty when there are fewer than N words.
std::wstring ExtractWord(int N, std::wstring_view S, const TCharSet& Delims);
// The number of the first word equal to Word, -1 when none is.
int WordIndex(std::wstring_view Word, std::wstring_view S, const TCharSet& Delims);

int WordCountEx(std::string_view S, const TCharSet& Delims);
int WordPositionEx(int N, std::string_view S, const TCharSet& Delims);
std::string ExtractWordEx(int N, std::string_view S, const TCharSet& Delims);

// S without any occurrence of Ch.
std::wstring DelChars(std::wstring_view S, wchar_t Ch);
// Every occurrence of Old replaced by New, left to right; inserted text is not searched
// again. An empty Old changes nothing.
std::wstring ReplaceStr(std::wstring_view S, std::wstring_view Old, std::wstring_view New);

// The value of a hexadecimal text, upper or lower case, one trailing "H" allowed: "1FH" is
// 31. Any other character, or an empty text, gives 0. The whole text is read.
std::int64_t HexToInt(std::wstring_view S);

}  // namespace skin_layered
