#include "classlib/graphics/GraphicsColors.h"

#include <windows.h>

#include <cstdio>

namespace vcl {

namespace {

struct NamedValue {
  int value;
  const wchar_t* name;
};

// Named colours in the library's order; clLtGray and clDkGray share values with
// clSilver and clGray and are not identifiers of their own.
constexpr NamedValue kColors[] = {
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"},
    {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"},
    {clMedGray, L"clMedGray"},
    {clActiveBorder, L"clActiveBorder"},
    {clActiveCaption, L"clActiveCaption"},
    {clAppWorkSpace, L"clAppWorkSpace"},
    {clBackground, L"clBackground"},
    {clBtnFace, L"clBtnFace"},
    {clBtnHighlight, L"clBtnHighlight"},
    {clBtnShadow, L"clBtnShadow"},
    {clBtnText, L"clBtnText"},
    {clCaptionText, L"clCaptionText"},
    {clDefault, L"clDefault"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clGrayText, L"clGrayText"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clHotLight, L"clHotLight"},
    {clInactiveBorder, L"clInactiveBorder"},
    {clInactiveCaption, L"clInactiveCaption"},
    {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clInfoBk, L"clInfoBk"},
    {clInfoText, L"clInfoText"},
    {clMenu, L"clMenu"},
    {clMenuBar, L"clMenuBar"},
    {clMenuHighlight, L"clMenuHighlight"},
    {clMenuText, L"clMenuText"},
    {clNone, L"clNone"},
    {clScrollBar, L"clScrollBar"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"},
    {clWindowText, L"clWindowText"},
};

constexpr NamedValue kCharsets[] = {
    {ANSI_CHARSET, L"ANSI_CHARSET"},
    {DEFAULT_CHARSET, L"DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, L"SYMBOL_CHARSET"},
    {MAC_CHARSET, L"MAC_CHARSET"},
    {SHIFTJIS_CHARSET, L"SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, L"HANGEUL_CHARSET"},
    {JOHAB_CHARSET, L"JOHAB_CHARSET"},
    {GB2312_CHARSET, L"GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, L"CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, L"GREEK_CHARSET"},
    {TURKISH_CHARSET, L"TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, L"VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, L"HEBREW_CHARSET"},
    {ARABIC_CHARSET, L"ARABIC_CHARSET"},
    {BALTIC_CHARSET, L"BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, L"RUSSIAN_CHARSET"},
    {THAI_CHARSET, L"THAI_CHARSET"},
    {EASTEUROPE_CHARSET, L"EASTEUROPE_CHARSET"},
    {OEM_CHARSET, L"OEM_CHARSET"},
};

template <size_t N>
bool ValueToIdent(const NamedValue (&table)[N], int value, String& ident) {
  for (const NamedValue& n : table) {
    if (n.value == value) {
      ident = n.name;
      return true;
    }
  }
  return false;
}

template <size_t N>
bool IdentToValue(const NamedValue (&table)[N], StringView ident, int& value) {
  for (const NamedValue& n : table) {
    if (SameText(n.name, ident)) {
      value = n.value;
      return true;
    }
  }
  return false;
}

// "$hex", "0xhex" or decimal with an optional sign; the value must fit 32 bits.
bool ParseInteger(StringView s, int& out) {
  bool negative = false;
  size_t i = 0;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
  int base = 10;
  if (i < s.size() && s[i] == L'$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    const wchar_t c = s[i];
    int d = -1;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
    if (d < 0) return false;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (base == 10 && v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  const uint32_t bits = static_cast<uint32_t>(negative ? (0 - v) : v);
  out = static_cast<int>(bits);
  return true;
}

}  // namespace

TColor ColorToRGB(TColor Color) {
  if (Color < 0) return static_cast<TColor>(GetSysColor(Color & 0xFF));
  return Color;
}

bool ColorToIdent(TColor Color, String& Ident) { return ValueToIdent(kColors, Color, Ident); }

bool IdentToColor(StringView Ident, TColor& Color) { return IdentToValue(kColors, Ident, Color); }

String ColorToString(TColor Color) {
  String ident;
  if (ColorToIdent(Color, ident)) return ident;
  wchar_t buf[16];
  std::swprintf(buf, 16, L"$%.8X", static_cast<unsigned>(Color));
  return buf;
}

TColor StringToColor(StringView S) {
  TColor c = 0;
  if (IdentToColor(S, c) || ParseInteger(S, c)) return c;
  throw EConvertError(L"'" + String(S) + L"' is not a valid integer value");
}

const TIntegerTypeInfo& ColorTypeInfo() {
  static const TIntegerTypeInfo info{
      L"TColor",
      [](StringView ident, int64_t& value) {
        TColor c = 0;
        if (!IdentToColor(ident, c)) return false;
        value = c;
        return true;
      },
      [](int64_t value, String& ident) { return ColorToIdent(static_cast<TColor>(value), ident); }};
  return info;
}

bool CharsetToIdent(int Charset, String& Ident) { return ValueToIdent(kCharsets, Charset, Ident); }

bool IdentToCharset(StringView Ident, int& Charset) { return IdentToValue(kCharsets, Ident, Charset); }

const TIntegerTypeInfo& CharsetTypeInfo() {
  static const TIntegerTypeInfo info{
      L"TFontCharset",
      [](StringView ident, int64_t& value) {
        int c = 0;
        if (!IdentToCharset(ident, c)) return false;
        value = c;
        return true;
      },
      [](int64_t value, String& ident) { return CharsetToIdent(static_cast<int>(value), ident); }};
  return info;
}

}  // namespace vcl
