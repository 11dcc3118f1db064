// A model surface for the HTML text renderer: every letter as wide as the font size (one more
// in bold), a space half that, lines twice the size high; it records what is drawn.
#pragma once

#include <string>
#include <vector>

#include "skin_layered/paint/text/HtmlRenderer.h"

namespace skin_layered::test {

struct TDrawnText {
  int X, Y;
  std::wstring Text;
  THtmlFont Font;
};

class THtmlModelSurface : public THtmlSurface {
 public:
  THtmlFont font{L"Model", 10, 0, 0};
  std::vector<TDrawnText> drawn;

  THtmlFont Font() override { return font; }
  void SetFont(const THtmlFont& Font) override { font = Font; }
  vcl::TSize TextExtent(std::wstring_view Text) override { return {WidthOf(Text, font), 2 * font.Size}; }
  void TextOut(int X, int Y, std::wstring_view Text) override { drawn.push_back({X, Y, std::wstring(Text), font}); }

  static int WidthOf(std::wstring_view text, const THtmlFont& font) {
    int width = 0;
    for (const wchar_t c : text) width += c == L' ' ? font.Size / 2 : font.Size + (font.Style & kHtmlBold ? 1 : 0);
    return width;
  }
  // The drawn texts joined, without positions.
  std::wstring AllText() const {
    std::wstring all;
    for (const TDrawnText& d : drawn) all += d.Text;
    return all;
  }
};

}  // namespace skin_layered::test
