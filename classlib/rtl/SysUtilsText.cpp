// Text routines of the system utilities: trimming, ASCII case, searching, locale comparison
// and the text encodings of files.
#include <windows.h>

#include <algorithm>
#include <climits>

#include "classlib/rtl/SysUtils.h"

namespace vcl {

namespace {
bool IsBlank(wchar_t c) { return c <= L' '; }
wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }
wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

int CheckedLength(size_t n) {
  if (n > static_cast<size_t>(INT_MAX)) throw EOutOfMemory(L"Out of memory");
  return static_cast<int>(n);
}
}  // namespace

String Trim(StringView S) {
  size_t b = 0, e = S.size();
  while (b < e && IsBlank(S[b])) ++b;
  while (e > b && IsBlank(S[e - 1])) --e;
  return String(S.substr(b, e - b));
}

String TrimLeft(StringView S) {
  size_t b = 0;
  while (b < S.size() && IsBlank(S[b])) ++b;
  return String(S.substr(b));
}

String TrimRight(StringView S) {
  size_t e = S.size();
  while (e > 0 && IsBlank(S[e - 1])) --e;
  return String(S.substr(0, e));
}

String UpperCase(StringView S) {
  String out(S);
  for (auto& c : out) c = AsciiUpper(c);
  return out;
}

String LowerCase(StringView S) {
  String out(S);
  for (auto& c : out) c = AsciiLower(c);
  return out;
}

int Pos(StringView SubStr, StringView S) {
  if (SubStr.empty()) return 0;
  const size_t p = S.find(SubStr);
  return p == StringView::npos ? 0 : static_cast<int>(p + 1);
}

String StringReplace(StringView S, StringView OldPattern, StringView NewPattern, TReplaceFlags Flags) {
  if (OldPattern.empty()) return String(S);
  const bool ignoreCase = Flags.Contains(TReplaceFlag::rfIgnoreCase);
  const String haystack = ignoreCase ? UpperCase(S) : String(S);
  const String needle = ignoreCase ? UpperCase(OldPattern) : String(OldPattern);
  String out;
  size_t from = 0;
  while (from <= haystack.size()) {
    const size_t hit = haystack.find(needle, from);
    if (hit == String::npos) break;
    out.append(S.substr(from, hit - from));
    out.append(NewPattern);
    from = hit + needle.size();
    if (!Flags.Contains(TReplaceFlag::rfReplaceAll)) break;
  }
  out.append(S.substr(from));
  return out;
}

int AnsiCompareText(StringView a, StringView b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), CheckedLength(a.size()), b.data(),
                        CheckedLength(b.size())) - CSTR_EQUAL;
}

int AnsiCompareStr(StringView a, StringView b) {
  return CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), CheckedLength(a.size()), b.data(),
                        CheckedLength(b.size())) - CSTR_EQUAL;
}

bool AnsiSameText(StringView a, StringView b) { return AnsiCompareText(a, b) == 0; }

// ---- Encodings ----------------------------------------------------------------------------

namespace {
constinit const TEncoding kAnsi(TEncoding::TKind::Ansi);
constinit const TEncoding kUtf8(TEncoding::TKind::Utf8);
constinit const TEncoding kUtf16LE(TEncoding::TKind::Utf16LE);
constinit const TEncoding kUtf16BE(TEncoding::TKind::Utf16BE);

constexpr uint8_t kUtf8Bom[] = {0xEF, 0xBB, 0xBF};
constexpr uint8_t kUtf16LEBom[] = {0xFF, 0xFE};
constexpr uint8_t kUtf16BEBom[] = {0xFE, 0xFF};

bool StartsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}
}  // namespace

const TEncoding* const TEncoding::Default = &kAnsi;
const TEncoding* const TEncoding::ANSI = &kAnsi;
const TEncoding* const TEncoding::UTF8 = &kUtf8;
const TEncoding* const TEncoding::Unicode = &kUtf16LE;
const TEncoding* const TEncoding::BigEndianUnicode = &kUtf16BE;

std::span<const uint8_t> TEncoding::GetPreamble() const {
  switch (kind_) {
    case TKind::Utf8: return kUtf8Bom;
    case TKind::Utf16LE: return kUtf16LEBom;
    case TKind::Utf16BE: return kUtf16BEBom;
    default: return {};
  }
}

const TEncoding* TEncoding::FromPreamble(std::span<const uint8_t> Bytes) {
  if (StartsWith(Bytes, kUtf8Bom)) return UTF8;
  if (StartsWith(Bytes, kUtf16LEBom)) return Unicode;
  if (StartsWith(Bytes, kUtf16BEBom)) return BigEndianUnicode;
  return nullptr;
}

std::vector<uint8_t> TEncoding::GetBytes(StringView Text) const {
  std::vector<uint8_t> out;
  if (Text.empty()) return out;
  switch (kind_) {
    case TKind::Ansi: {
      const int len = CheckedLength(Text.size());
      const int n = WideCharToMultiByte(CP_ACP, 0, Text.data(), len, nullptr, 0, nullptr, nullptr);
      out.resize(static_cast<size_t>(n > 0 ? n : 0));
      if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, Text.data(), len, reinterpret_cast<char*>(out.data()), n, nullptr, nullptr);
      break;
    }
    case TKind::Utf8: {
      const std::string u = WideToUtf8(Text);
      out.assign(u.begin(), u.end());
      break;
    }
    case TKind::Utf16LE:
    case TKind::Utf16BE: {
      const bool big = kind_ == TKind::Utf16BE;
      out.reserve(Text.size() * 2);
      for (wchar_t c : Text) {
        const auto u = static_cast<uint16_t>(c);
        const auto lo = static_cast<uint8_t>(u & 0xFF), hi = static_cast<uint8_t>(u >> 8);
        out.push_back(big ? hi : lo);
        out.push_back(big ? lo : hi);
      }
      break;
    }
  }
  return out;
}

String TEncoding::GetString(std::span<const uint8_t> Bytes) const {
  String out;
  if (Bytes.empty()) return out;
  switch (kind_) {
    case TKind::Ansi: {
      const int len = CheckedLength(Bytes.size());
      const auto* src = reinterpret_cast<const char*>(Bytes.data());
      const int n = MultiByteToWideChar(CP_ACP, 0, src, len, nullptr, 0);
      out.resize(static_cast<size_t>(n > 0 ? n : 0));
      if (n > 0) MultiByteToWideChar(CP_ACP, 0, src, len, out.data(), n);
      break;
    }
    case TKind::Utf8:
      out = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(Bytes.data()), Bytes.size()));
      break;
    case TKind::Utf16LE:
    case TKind::Utf16BE: {
      const bool big = kind_ == TKind::Utf16BE;
      out.reserve(Bytes.size() / 2 + 1);
      for (size_t i = 0; i + 1 < Bytes.size(); i += 2) {
        const unsigned a = Bytes[i], b = Bytes[i + 1];
        out += static_cast<wchar_t>(big ? (a << 8 | b) : (b << 8 | a));
      }
      if (Bytes.size() % 2) out += L'\xFFFD';  // a lone last byte is no character
      break;
    }
  }
  return out;
}

}  // namespace vcl
