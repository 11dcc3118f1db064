// The HTML text renderer on a real canvas: measured rectangles against the system's own text
// measuring and the pixels drawn, fonts and colours, entities in the Chinese code page and
// malformed markup.
#include "skin_layered/paint/HtmlText.h"
#include "text_win_support.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;
using vcl::TRect;

struct THtmlPage {
  std::unique_ptr<vcl::TBitmap> bmp;
  TqvLinks links;
  TRect rect;
};

THtmlPage Html(vcl::StringView text, TRect bounds = Rect(0, 0, 0, 0), bool measureOnly = false, int width = 400,
               int height = 120) {
  THtmlPage page{WhitePage(width, height, 16), {}, {}};
  TsHtml html;
  html.Init(page.bmp.get(), text, -1, -1, bounds);
  html.Render(page.links, measureOnly, page.rect);
  return page;
}

// The canvas's own measure of a text in the page font with a style.
vcl::TSize Measure(vcl::StringView text, vcl::TFontStyles style = {}, int size = 0) {
  auto page = WhitePage(10, 10, 16);
  if (size) page->Canvas()->Font()->SetSize(size);
  page->Canvas()->Font()->SetStyle(style);
  return page->Canvas()->TextExtent(text);
}

TEST(TsHtml, MeasuredRectangleIsTheSystemsMeasureAndHoldsTheInk) {
  const THtmlPage page = Html(L"Hello 世界, plain text", Rect(5, 3, 0, 0));
  const vcl::TSize size = Measure(L"Hello 世界, plain text");
  EXPECT_EQ(page.rect, Rect(0, 0, 5 + size.cx, 3 + Measure(L"X").cy));
  const auto ink = InkBounds(*page.bmp);
  ASSERT_TRUE(ink);
  EXPECT_GE(ink->Left, 5);
  EXPECT_GE(ink->Top, 3);
  EXPECT_LE(ink->Right, page.rect.Right + 1);
  EXPECT_LE(ink->Bottom, page.rect.Bottom);

  // Measuring draws nothing and gives the same rectangle.
  const THtmlPage measured = Html(L"Hello 世界, plain text", Rect(5, 3, 0, 0), true);
  EXPECT_EQ(measured.rect, page.rect);
  EXPECT_FALSE(InkBounds(*measured.bmp));
}

// Layout and markup are pinned on a model surface; here the canvas takes the fonts and colours.
bool HasColour(const THtmlPage& page, const TRect& area, TPixel32 rgb) {
  const auto ink = InkBounds(*page.bmp, kWhite, area);
  if (!ink) return false;
  for (int y = ink->Top; y < ink->Bottom; ++y)
    for (int x = ink->Left; x < ink->Right; ++x)
      if (RgbOf(*page.bmp, x, y) == rgb) return true;
  return false;
}

TEST(TsHtml, StylesSizesColoursAndLinksReachTheCanvas) {
  EXPECT_EQ(Html(L"<B>a</B>b").rect.Right, Measure(L"a", {vcl::fsBold}).cx + Measure(L"b").cx);
  EXPECT_EQ(Html(L"<i>Slanted</i>").rect.Right, Measure(L"Slanted", {vcl::fsItalic}).cx);
  EXPECT_EQ(Html(L"<font size=24>X</font>").rect, Rect(0, 0, Measure(L"X", {}, 24).cx, Measure(L"X", {}, 24).cy));
  EXPECT_TRUE(HasColour(Html(L"<font color=#FF0000>Red</font>"), Rect(0, 0, 400, 120), 0xFF0000));

  const int h = Measure(L"X").cy;
  const THtmlPage linked = Html(L"go <a href=\"http://shop.example/item?id=7\">here</a> now");
  ASSERT_EQ(linked.links.size(), 1u);
  const int left = Measure(L"go ").cx;
  EXPECT_EQ(linked.links[0].Rect, Rect(left, 0, left + Measure(L"here").cx, h));
  EXPECT_TRUE(HasColour(linked, linked.links[0].Rect, 0x0000FF));
  EXPECT_EQ(linked.bmp->Canvas()->Font()->Color(), vcl::clBlack);
  EXPECT_EQ(Html(L"first<br>second").rect.Bottom, 2 * h + 2);
}

TEST(TsHtml, EntitiesDrawWholeCharactersInTheChineseCodePage) {
  // An accented letter from an entity never takes the character after it along.
  const THtmlPage page = Html(L"caf&eacute;中文 &euro;5 &amp; &lt;b&gt;");
  EXPECT_EQ(page.rect.Right, Measure(L"caf").cx + Measure(L"é").cx + Measure(L"中文 ").cx + Measure(L"€").cx +
                                 Measure(L"5 ").cx + Measure(L"&").cx + Measure(L" ").cx + Measure(L"<").cx +
                                 Measure(L"b").cx + Measure(L">").cx);
  // Both glyphs after the entity are drawn where they belong.
  const int start = Measure(L"café").cx;
  const auto chinese = InkBounds(*page.bmp, kWhite, Rect(start, 0, start + Measure(L"中文").cx, 40));
  ASSERT_TRUE(chinese);
  EXPECT_GT(chinese->Width(), Measure(L"中").cx);
}

TEST(TsHtml, MalformedMarkupIsDrawnAndLeavesTheCanvasFont) {
  THtmlPage page{WhitePage(300, 60, 16), {}, {}};
  vcl::TFont before;
  before.Assign(page.bmp->Canvas()->Font());
  TsHtml html;
  html.Init(page.bmp.get(), L"<b>open <font size=abc color=nothing face=\"\">x</font></font></a> &bogus; <<tt>",
            -1, -1, Rect(0, 0, 0, 0));
  html.Render(page.links, false, page.rect);
  EXPECT_TRUE(page.links.empty());
  EXPECT_EQ(page.rect.Right, Measure(L"open x &bogus; <tt>", {vcl::fsBold}).cx);
  EXPECT_TRUE(InkBounds(*page.bmp));
  EXPECT_EQ(page.bmp->Canvas()->Font()->Style(), before.Style());
  EXPECT_EQ(page.bmp->Canvas()->Font()->Color(), before.Color());
  EXPECT_EQ(page.bmp->Canvas()->Font()->Size(), before.Size());

  // A bitmap without pixels still measures, as when a hint sizes itself.
  vcl::TBitmap empty;
  CrispFont(empty.Canvas(), 16);
  TsHtml sizing;
  sizing.Init(&empty, L"<b>size</b> me", -1, -1, Rect(0, 0, 0, 0));
  TRect sized;
  sizing.Render(page.links, true, sized);
  EXPECT_EQ(sized, Rect(0, 0, Measure(L"size", {vcl::fsBold}).cx + Measure(L" me").cx, Measure(L"X").cy));

  // Without a bitmap: nothing, and an empty rectangle.
  TsHtml none;
  none.Init(nullptr, L"text", -1, -1, Rect(0, 0, 0, 0));
  TqvLinks links{{Rect(1, 1, 2, 2), L"old"}};
  TRect r = Rect(1, 2, 3, 4);
  none.Render(links, false, r);
  EXPECT_TRUE(links.empty());
  EXPECT_EQ(r, Rect(0, 0, 0, 0));
}

}  // namespace
}  // namespace skin_layered::test
