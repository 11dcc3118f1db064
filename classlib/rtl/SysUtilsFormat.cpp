// Format, number conversions and rounding, as the library's system utilities do them. Only
// the user's separators come from the system, so the rest also builds natively.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "classlib/rtl/SysUtils.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vcl {

TFormatSettings TFormatSettings::Create() {
  TFormatSettings s;
#ifdef _WIN32
  wchar_t buf[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1) s.DecimalSeparator = buf[0];
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, 8) > 1) s.ThousandSeparator = buf[0];
#endif
  return s;
}

TFormatSettings FormatSettings = TFormatSettings::Create();

namespace {

String Ascii(std::string_view s) { return String(s.begin(), s.end()); }

// ---- Decimal digits of a double -------------------------------------------------------

// value = 0.Digits x 10^Exponent; no digits means zero.
struct DecimalDigits {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

DecimalDigits ExactDigits(double v) {
  DecimalDigits d;
  d.Negative = std::signbit(v);
  // The exact binary value has at most 767 significant decimal digits.
  char buf[1100];
  auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 780);
  std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
  const size_t e = text.find('e');
  for (char c : text.substr(0, e))
    if (c != '.') d.Digits += c;
  int exp10 = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exp10);
  d.Exponent = exp10 + 1;
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) d.Exponent = 0;
  return d;
}

void StripTrailingZeros(DecimalDigits& d) {
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) d.Exponent = 0;
}

// Keeps `keep` significant digits, rounding half away from zero as the library does.
void RoundDigits(DecimalDigits& d, int keep) {
  if (keep < 0) {
    d.Digits.clear();
    d.Exponent = 0;
    return;
  }
  if (static_cast<size_t>(keep) >= d.Digits.size()) return;
  const bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
  d.Digits.resize(static_cast<size_t>(keep));
  if (up) {
    size_t i = d.Digits.size();
    while (i > 0 && d.Digits[i - 1] == '9') d.Digits[--i] = '0';
    if (i == 0) {
      d.Digits.insert(d.Digits.begin(), '1');
      ++d.Exponent;
    } else {
      ++d.Digits[i - 1];
    }
  }
  StripTrailingZeros(d);
}

char DigitAt(const DecimalDigits& d, int i) {
  return i >= 0 && static_cast<size_t>(i) < d.Digits.size() ? d.Digits[static_cast<size_t>(i)] : '0';
}

String SignOf(const DecimalDigits& d) { return d.Negative && !d.Digits.empty() ? L"-" : L""; }

String FixedText(double v, int decimals, const TFormatSettings& fs, bool thousands) {
  DecimalDigits d = ExactDigits(v);
  RoundDigits(d, d.Exponent + decimals);
  String intPart;
  const int intDigits = d.Exponent > 0 ? d.Exponent : 1;
  for (int i = 0; i < intDigits; ++i) {
    const int fromEnd = intDigits - i;
    if (thousands && i > 0 && fromEnd % 3 == 0) intPart += fs.ThousandSeparator;
    intPart += static_cast<wchar_t>(d.Exponent > 0 ? DigitAt(d, i) : '0');
  }
  String out = SignOf(d) + intPart;
  if (decimals > 0) {
    out += fs.DecimalSeparator;
    for (int i = 0; i < decimals; ++i) out += static_cast<wchar_t>(DigitAt(d, d.Exponent + i));
  }
  return out;
}

String ExponentText(int exp, bool plusSign, int minDigits) {
  String out = exp < 0 ? L"-" : (plusSign ? L"+" : L"");
  String digits = std::to_wstring(exp < 0 ? -static_cast<int64_t>(exp) : exp);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), L'0');
  return L"E" + out + digits;
}

String ScientificText(double v, int precision, const TFormatSettings& fs) {
  DecimalDigits d = ExactDigits(v);
  RoundDigits(d, precision);
  String out = SignOf(d);
  out += static_cast<wchar_t>(DigitAt(d, 0));
  if (precision > 1) {
    out += fs.DecimalSeparator;
    for (int i = 1; i < precision; ++i) out += static_cast<wchar_t>(DigitAt(d, i));
  }
  return out + ExponentText(d.Digits.empty() ? 0 : d.Exponent - 1, true, 3);
}

String GeneralText(double v, int precision, const TFormatSettings& fs) {
  if (std::isnan(v)) return L"NAN";
  if (std::isinf(v)) return v < 0 ? L"-INF" : L"INF";
  DecimalDigits d = ExactDigits(v);
  RoundDigits(d, precision);
  if (d.Digits.empty()) return L"0";
  const int n = static_cast<int>(d.Digits.size());
  String out = SignOf(d);
  if (d.Exponent > precision || d.Exponent < -3) {
    out += static_cast<wchar_t>(d.Digits[0]);
    if (n > 1) {
      out += fs.DecimalSeparator;
      out += Ascii(std::string_view(d.Digits).substr(1));
    }
    return out + ExponentText(d.Exponent - 1, false, 0);
  }
  if (d.Exponent <= 0) {
    out += L'0';
    out += fs.DecimalSeparator;
    out.append(static_cast<size_t>(-d.Exponent), L'0');
    return out + Ascii(d.Digits);
  }
  for (int i = 0; i < d.Exponent; ++i) out += static_cast<wchar_t>(DigitAt(d, i));
  if (n > d.Exponent) {
    out += fs.DecimalSeparator;
    out += Ascii(std::string_view(d.Digits).substr(static_cast<size_t>(d.Exponent)));
  }
  return out;
}

// ---- Format -----------------------------------------------------------------------------

[[noreturn]] void InvalidFormat(StringView fmt) {
  throw EConvertError(L"Format '" + String(fmt) + L"' invalid or incompatible with argument");
}
[[noreturn]] void MissingArgument(StringView fmt) {
  throw EConvertError(L"No argument for format '" + String(fmt) + L"'");
}

String UnsignedText(uint64_t v, unsigned base) {
  if (v == 0) return L"0";
  String out;
  while (v) {
    out.insert(out.begin(), L"0123456789ABCDEF"[v % base]);
    v /= base;
  }
  return out;
}

uint64_t AsUnsigned(const TVarRec& a) {
  const auto v = static_cast<uint64_t>(a.AsInt());
  return a.Kind() == TVarRec::TKind::Integer ? (v & 0xFFFFFFFFu) : v;
}

// Widths and precisions beyond this are refused rather than padded out.
constexpr int kMaxWidth = 1'000'000;

class Formatter {
 public:
  Formatter(StringView fmt, std::initializer_list<TVarRec> args, const TFormatSettings& fs)
      : fmt_(fmt), args_(args.begin()), count_(args.size()), fs_(fs) {}

  String Run() {
    String out;
    size_t i = 0;
    while (i < fmt_.size()) {
      const wchar_t c = fmt_[i++];
      if (c != L'%') {
        out += c;
        continue;
      }
      if (i < fmt_.size() && fmt_[i] == L'%') {
        out += L'%';
        ++i;
        continue;
      }
      out += Spec(i);
    }
    return out;
  }

 private:
  const TVarRec& Next() {
    if (next_ >= count_) MissingArgument(fmt_);
    return args_[next_++];
  }

  // A number or "*" (taken from the arguments); -1 when neither is there.
  int Number(size_t& i) {
    if (i < fmt_.size() && fmt_[i] == L'*') {
      ++i;
      const TVarRec& a = Next();
      if (a.Kind() != TVarRec::TKind::Integer || a.AsInt() > kMaxWidth) InvalidFormat(fmt_);
      return static_cast<int>(a.AsInt());
    }
    if (i >= fmt_.size() || fmt_[i] < L'0' || fmt_[i] > L'9') return -1;
    int64_t n = 0;
    while (i < fmt_.size() && fmt_[i] >= L'0' && fmt_[i] <= L'9') {
      n = n * 10 + (fmt_[i++] - L'0');
      if (n > kMaxWidth) InvalidFormat(fmt_);
    }
    return static_cast<int>(n);
  }

  String Spec(size_t& i) {
    int n = Number(i);
    if (i < fmt_.size() && fmt_[i] == L':') {
      ++i;
      if (n < 0) InvalidFormat(fmt_);
      next_ = static_cast<size_t>(n);
      n = -1;
    }
    bool left = false;
    if (n < 0 && i < fmt_.size() && fmt_[i] == L'-') {
      left = true;
      ++i;
    }
    const int width = n >= 0 ? n : Number(i);
    int precision = -1;
    if (i < fmt_.size() && fmt_[i] == L'.') {
      ++i;
      precision = Number(i);
      if (precision < 0) precision = 0;
    }
    if (i >= fmt_.size()) InvalidFormat(fmt_);
    const wchar_t type = fmt_[i++];
    String text = Convert(type, precision);
    if (width > 0 && static_cast<int>(text.size()) < width) {
      const size_t pad = static_cast<size_t>(width) - text.size();
      if (left) text.append(pad, L' ');
      else text.insert(0, pad, L' ');
    }
    return text;
  }

  String Convert(wchar_t type, int precision) {
    const TVarRec& a = Next();
    const bool isInt = a.Kind() == TVarRec::TKind::Integer || a.Kind() == TVarRec::TKind::Int64;
    const bool isFloat = a.Kind() == TVarRec::TKind::Float;
    switch (type | 0x20) {  // type letters in either case
      case L'd': {
        if (!isInt) InvalidFormat(fmt_);
        const int64_t v = a.AsInt();
        return MinDigits(v < 0 ? L"-" : L"", UnsignedText(v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v), 10), precision);
      }
      case L'u':
        if (!isInt) InvalidFormat(fmt_);
        return MinDigits(L"", UnsignedText(AsUnsigned(a), 10), precision);
      case L'x':
        if (!isInt) InvalidFormat(fmt_);
        return MinDigits(L"", UnsignedText(AsUnsigned(a), 16), precision);
      case L'p':
        if (a.Kind() != TVarRec::TKind::Pointer) InvalidFormat(fmt_);
        return MinDigits(L"", UnsignedText(reinterpret_cast<uintptr_t>(a.AsPointer()), 16), 16);
      case L's': {
        if (a.Kind() != TVarRec::TKind::String) InvalidFormat(fmt_);
        StringView s = a.AsString();
        if (precision >= 0 && static_cast<size_t>(precision) < s.size()) s = s.substr(0, static_cast<size_t>(precision));
        return String(s);
      }
      case L'f':
      case L'n':
      case L'e':
      case L'g': {
        if (!isFloat) InvalidFormat(fmt_);
        const double v = a.AsFloat();
        if (std::isnan(v) || std::isinf(v)) return GeneralText(v, 15, fs_);
        const wchar_t t = type | 0x20;
        if (t == L'e') return ScientificText(v, precision < 0 ? 15 : (precision == 0 ? 1 : (precision > 18 ? 18 : precision)), fs_);
        if (t == L'g') return GeneralText(v, precision <= 0 ? 15 : (precision > 18 ? 18 : precision), fs_);
        const int decimals = precision < 0 ? 2 : (precision > 18 ? 18 : precision);
        // Beyond 1e18 the library prints the general form.
        if (std::fabs(v) >= 1e18) return GeneralText(v, 15, fs_);
        return FixedText(v, decimals, fs_, t == L'n');
      }
      default:
        InvalidFormat(fmt_);
    }
  }

  static String MinDigits(const String& sign, String digits, int precision) {
    if (precision > 0 && static_cast<int>(digits.size()) < precision)
      digits.insert(0, static_cast<size_t>(precision) - digits.size(), L'0');
    return sign + digits;
  }

  StringView fmt_;
  const TVarRec* args_;
  size_t count_;
  size_t next_ = 0;
  const TFormatSettings& fs_;
};

// ---- Text to numbers --------------------------------------------------------------------

// Optional blanks, sign, "$" for hexadecimal, digits, nothing after. Hexadecimal values may
// use every bit of the type (so "$FFFFFFFF" is -1 for 32 bits).
bool ParseInteger(StringView s, int bits, int64_t& out) {
  size_t i = 0;
  while (i < s.size() && s[i] == L' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
  const bool hex = i < s.size() && s[i] == L'$';
  if (hex) ++i;
  if (i >= s.size()) return false;
  const uint64_t limit = bits == 64 ? UINT64_MAX : 0xFFFFFFFFull;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    const wchar_t c = s[i];
    unsigned digit;
    if (c >= L'0' && c <= L'9') digit = static_cast<unsigned>(c - L'0');
    else if (hex && (c | 0x20) >= L'a' && (c | 0x20) <= L'f') digit = static_cast<unsigned>((c | 0x20) - L'a' + 10);
    else return false;
    const unsigned base = hex ? 16 : 10;
    if (v > (limit - digit) / base) return false;
    v = v * base + digit;
  }
  if (hex) {
    // The bits of the type, then the sign, wrapping as the type does.
    const uint64_t magnitude = negative ? 0 - v : v;
    out = bits == 64 ? static_cast<int64_t>(magnitude)
                     : static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(magnitude)));
    return true;
  }
  const uint64_t maxPositive = bits == 64 ? static_cast<uint64_t>(INT64_MAX) : static_cast<uint64_t>(INT32_MAX);
  if (v > maxPositive + (negative ? 1 : 0)) return false;
  out = negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
  return true;
}

[[noreturn]] void NotAnInteger(StringView s) {
  throw EConvertError(L"'" + String(s) + L"' is not a valid integer value");
}

}  // namespace

String Format(StringView Fmt, std::initializer_list<TVarRec> Args) {
  return Formatter(Fmt, Args, FormatSettings).Run();
}

String Format(StringView Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings) {
  return Formatter(Fmt, Args, Settings).Run();
}

String IntToStr(int64_t Value) { return std::to_wstring(Value); }

bool TryStrToInt(StringView S, int& Value) {
  int64_t v;
  if (!ParseInteger(S, 32, v)) return false;
  Value = static_cast<int>(v);
  return true;
}

int StrToInt(StringView S) {
  int v;
  if (!TryStrToInt(S, v)) NotAnInteger(S);
  return v;
}

int StrToIntDef(StringView S, int Default) {
  int v;
  return TryStrToInt(S, v) ? v : Default;
}

bool TryStrToInt64(StringView S, int64_t& Value) { return ParseInteger(S, 64, Value); }

int64_t StrToInt64(StringView S) {
  int64_t v;
  if (!TryStrToInt64(S, v)) NotAnInteger(S);
  return v;
}

int64_t StrToInt64Def(StringView S, int64_t Default) {
  int64_t v;
  return TryStrToInt64(S, v) ? v : Default;
}

bool TryStrToFloat(StringView S, double& Value, const TFormatSettings& Settings) {
  size_t i = 0, end = S.size();
  while (i < end && S[i] == L' ') ++i;
  while (end > i && S[end - 1] == L' ') --end;
  std::string text;  // the number in the form from_chars reads
  if (i < end && (S[i] == L'-' || S[i] == L'+')) {
    if (S[i] == L'-') text += '-';
    ++i;
  }
  int digits = 0;
  bool inFraction = false;
  for (; i < end; ++i) {
    const wchar_t c = S[i];
    if (c >= L'0' && c <= L'9') {
      text += static_cast<char>(c);
      ++digits;
    } else if (c == Settings.DecimalSeparator && !inFraction) {
      text += '.';
      inFraction = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  bool negativeExponent = false;
  if (i < end && (S[i] == L'e' || S[i] == L'E')) {
    ++i;
    text += 'e';
    if (i < end && (S[i] == L'-' || S[i] == L'+')) {
      negativeExponent = S[i] == L'-';
      text += static_cast<char>(S[i++]);
    }
    const size_t start = i;
    for (; i < end && S[i] >= L'0' && S[i] <= L'9'; ++i) text += static_cast<char>(S[i]);
    if (i == start) return false;
  }
  if (i != end) return false;
  double v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too small for a double gives zero; too large is not a value.
    if (!negativeExponent) return false;
    v = text[0] == '-' ? -0.0 : 0.0;
  } else if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
    return false;
  }
  Value = v;
  return true;
}

double StrToFloat(StringView S, const TFormatSettings& Settings) {
  double v;
  if (!TryStrToFloat(S, v, Settings)) throw EConvertError(L"'" + String(S) + L"' is not a valid floating point value");
  return v;
}

double StrToFloat(StringView S) { return StrToFloat(S, FormatSettings); }

String FloatToStr(double Value, const TFormatSettings& Settings) { return GeneralText(Value, 15, Settings); }

String FloatToStr(double Value) { return FloatToStr(Value, FormatSettings); }

int64_t Round(double X) {
  // [-2^63, 2^63): NaN fails both tests.
  if (!(X >= -9223372036854775808.0 && X < 9223372036854775808.0))
    throw EInvalidOp(L"Invalid floating point operation");
  const double f = std::floor(X);
  const double rest = X - f;  // exact: both are multiples of X's last place
  auto r = static_cast<int64_t>(f);
  if (rest > 0.5 || (rest == 0.5 && (r & 1) != 0)) ++r;
  return r;
}

}  // namespace vcl
