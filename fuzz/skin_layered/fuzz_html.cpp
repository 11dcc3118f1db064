// The HTML text renderer on generated markup: no crash, hang or growth beyond the text's
// length; measuring gives the same rectangle and links as drawing, draws nothing, and both
// leave the surface's font as they found it. The first bytes choose the rectangle and the
// highlighted links; the rest is read either as characters or as a sequence of markup
// pieces (tags, attributes, entities, words, stray brackets), so the fuzzer reaches nested
// and broken markup quickly.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin_layered/paint/text/HtmlRenderer.h"

namespace {

using namespace skin_layered;

class TCountingSurface : public THtmlSurface {
 public:
  THtmlFont font{L"Model", 9, 0, 0};
  std::size_t calls = 0, drawn = 0;

  THtmlFont Font() override { return font; }
  void SetFont(const THtmlFont& Font) override {
    ++calls;
    font = Font;
  }
  vcl::TSize TextExtent(std::wstring_view Text) override {
    ++calls;
    const int size = font.Size < 0 ? -font.Size : font.Size;
    return {static_cast<int>(Text.size() % 4096) * (size + 1), 2 * size + 1};
  }
  void TextOut(int, int, std::wstring_view Text) override {
    ++calls;
    drawn += Text.size();
  }
};

constexpr std::array<std::wstring_view, 48> kPieces{
    L"<b>", L"</b>", L"<i>", L"</i>", L"<u>", L"</u>", L"<br>", L"<BR/>", L"<br >", L"<p>", L"</p>",
    L"<font size=", L"<font size=+", L"<font size=-", L" color=", L" face=\"", L"\"", L"</font>", L"<a href=",
    L"<A HREF='", L"'", L"</a>", L"<tt>", L">", L"<", L"<<", L"&", L";", L"&amp;", L"&AMP;", L"&#38;",
    L"&#8364;", L"&Eacute;", L"&nbsp;", L"=", L" ", L"   ", L"\r\n", L"word", L"longerwordthanthebox",
    L"12", L"99999999999", L"#FF0000", L"red", L"x", L"\u4E2D\u6587", L"\u00E9", L"/"};

std::wstring Generate(const std::uint8_t* data, std::size_t size, bool pieces) {
  std::wstring text;
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    if (pieces) text += kPieces[b % kPieces.size()];
    else text += b < 0x80 ? static_cast<wchar_t>(b) : static_cast<wchar_t>(0x4E00 + b);
  }
  return text;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4 || size > 8192) return 0;
  const int right = data[0] & 0x80 ? 0 : 2 + data[0] * 3;
  const vcl::TRect rect(data[1] % 7, data[1] / 7 % 5, right, 0);
  const int highlightA = data[2] % 4 - 1, highlightB = data[2] / 4 % 4 - 1;
  const std::wstring text = Generate(data + 4, size - 4, data[3] & 1);

  TCountingSurface measuring, drawing;
  TqvLinks measuredLinks, drawnLinks;
  const vcl::TRect measured =
      THtmlRenderer(measuring, text, highlightA, highlightB, rect).Render(measuredLinks, true);
  const vcl::TRect drawn = THtmlRenderer(drawing, text, highlightA, highlightB, rect).Render(drawnLinks, false);

  Check(measured == drawn);
  Check(measuredLinks.size() == drawnLinks.size());
  for (std::size_t i = 0; i < drawnLinks.size(); ++i)
    Check(measuredLinks[i].Rect == drawnLinks[i].Rect && measuredLinks[i].Href == drawnLinks[i].Href);
  Check(measuring.drawn == 0);
  Check(drawing.drawn <= text.size());
  Check(measuring.font == THtmlFont{L"Model", 9, 0, 0} && drawing.font == measuring.font);
  // A bounded number of surface calls per character: no repeated work.
  Check(drawing.calls <= 16 * text.size() + 16);
  Check(drawn.Left == 0 && drawn.Top == 0 && drawn.Right >= 0 && drawn.Bottom >= rect.Top);
  return 0;
}
