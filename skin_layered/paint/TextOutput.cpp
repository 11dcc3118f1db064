#include "skin_layered/paint/TextOutput.h"

#include <algorithm>

namespace skin_layered {
namespace {

const wchar_t* Chars(vcl::StringView text) { return text.empty() ? L"" : text.data(); }
int Length(vcl::StringView text) { return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)); }

// The length of the longest prefix of at most Length code units that ends between characters.
std::size_t WholeCharacters(vcl::StringView text, std::size_t length) {
  if (length > 0 && length < text.size() && IS_LOW_SURROGATE(text[length]) && IS_HIGH_SURROGATE(text[length - 1]))
    --length;
  return length;
}

}  // namespace

vcl::String CutText(vcl::TCanvas* Canvas, vcl::StringView Text, int Width) {
  if (!Canvas || Width < 1 || Text.empty()) return {};
  HDC dc = Canvas->Handle();
  if (GetTextSize(dc, Text).cx <= Width) return vcl::String(Text);
  // A prefix that does not fit alone cannot fit with the dots: start from the longest one
  // that does, measured in one call.
  int fit = Length(Text);
  SIZE whole{};
  if (!GetTextExtentExPointW(dc, Chars(Text), Length(Text), Width, &fit, nullptr, &whole)) fit = Length(Text);
  std::size_t keep = WholeCharacters(Text, static_cast<std::size_t>(std::clamp(fit, 0, Length(Text))));
  while (keep > 0) {
    vcl::String cut(Text.substr(0, keep));
    cut += L"...";
    if (GetTextSize(dc, cut).cx <= Width) return cut;
    keep = WholeCharacters(Text, keep - 1);
  }
  return {};
}

int DrawTextStr(HDC DC, vcl::StringView Text, vcl::TRect& R, UINT Flags) {
  return DrawTextW(DC, Chars(Text), Length(Text), R.AsRECT(), Flags & ~static_cast<UINT>(DT_MODIFYSTRING));
}

void DrawTextOnCanvas(vcl::TCanvas* Canvas, vcl::StringView Text, UINT Flags, vcl::TRect R) {
  if (!Canvas) return;
  DrawTextStr(Canvas->Handle(), Text, R, Flags);
}

int TextWidthOf(vcl::TCanvas* Canvas, vcl::StringView Text) { return Canvas ? Canvas->TextWidth(Text) : 0; }

vcl::TSize TextExtentOf(vcl::TCanvas* Canvas, vcl::StringView Text) {
  return Canvas ? Canvas->TextExtent(Text) : vcl::TSize();
}

void TextRectOf(vcl::TCanvas* Canvas, const vcl::TRect& R, int X, int Y, vcl::StringView Text) {
  if (Canvas) Canvas->TextRect(R, X, Y, Text);
}

vcl::TSize GetTextSize(HDC DC, vcl::StringView Text) {
  SIZE size{};
  return GetTextExtentPoint32W(DC, Chars(Text), Length(Text), &size) ? vcl::TSize(size) : vcl::TSize();
}

}  // namespace skin_layered
