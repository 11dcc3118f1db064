// The HTML text renderer on a real canvas: measured rectangles against the system's own text
// measuring and against the pixels drawn, styles, colours, sizes, line breaks, links,
// entities in the Chinese code page, wrapping and malformed markup.
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

TEST(TsHtml, BoldItalicColourAndSize) {
  EXPECT_EQ(Html(L"<b>Bold words</b>").rect.Right, Measure(L"Bold words", {vcl::fsBold}).cx);
  EXPECT_EQ(Html(L"<i>Slanted</i>").rect.Right, Measure(L"Slanted", {vcl::fsItalic}).cx);
  EXPECT_EQ(Html(L"<B>a</B>b").rect.Right, Measure(L"a", {vcl::fsBold}).cx + Measure(L"b").cx);

  const THtmlPage red = Html(L"<font color=#FF0000>Red</font>");
  const auto ink = InkBounds(*red.bmp);
  ASSERT_TRUE(ink);
  bool sawRed = false;
  for (int y = ink->Top; y < ink->Bottom; ++y)
    for (int x = ink->Left; x < ink->Right; ++x) {
      const TPixel32 rgb = RgbOf(*red.bmp, x, y);
      if (rgb != kWhite) {
        EXPECT_TRUE(Near(rgb, 0xFF0000)) << std::hex << rgb;
      }
      sawRed |= rgb == 0xFF0000;
    }
  EXPECT_TRUE(sawRed);

  const THtmlPage sized = Html(L"<font size=24>X</font>");
  EXPECT_EQ(sized.rect, Rect(0, 0, Measure(L"X", {}, 24).cx, Measure(L"X", {}, 24).cy));
  // A size that is no number changes nothing and raises nothing.
  EXPECT_EQ(Html(L"<font size=huge>X</font>").rect, Rect(0, 0, Measure(L"X").cx, Measure(L"X").cy));
}

TEST(TsHtml, LineBreaksAndLinks) {
  const int h = Measure(L"X").cy;
  const THtmlPage lines = Html(L"first<br>second<BR/>third");
  const int widest = std::max({Measure(L"first").cx, Measure(L"second").cx, Measure(L"third").cx});
  EXPECT_EQ(lines.rect, Rect(0, 0, widest, 3 * h + 4));

  const THtmlPage linked = Html(L"go <a href=\"http://shop.example/item?id=7\">here</a> now");
  ASSERT_EQ(linked.links.size(), 1u);
  const int left = Measure(L"go ").cx;
  EXPECT_EQ(linked.links[0].Rect, Rect(left, 0, left + Measure(L"here").cx, h));
  EXPECT_EQ(linked.links[0].Href, L"http://shop.example/item?id=7");
  // The link is blue; the rest black.
  const auto linkInk = InkBounds(*linked.bmp, kWhite, linked.links[0].Rect);
  ASSERT_TRUE(linkInk);
  bool sawBlue = false;
  for (int x = linkInk->Left; x < linkInk->Right; ++x)
    for (int y = linkInk->Top; y < linkInk->Bottom; ++y) sawBlue |= RgbOf(*linked.bmp, x, y) == 0x0000FF;
  EXPECT_TRUE(sawBlue);
  EXPECT_EQ(linked.bmp->Canvas()->Font()->Color(), vcl::clBlack);
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

TEST(TsHtml, WrapsWordsAndLongWords) {
  const int h = Measure(L"X").cy;
  const int room = Measure(L"aaa bbb").cx + 2;
  const THtmlPage wrapped = Html(L"aaa   bbb aaa bbb", Rect(0, 0, room, 0));
  EXPECT_EQ(wrapped.rect.Bottom, 2 * h);
  // The second line starts at the left edge, its words drawn once.
  const auto second = InkBounds(*wrapped.bmp, kWhite, Rect(0, h, 400, 2 * h));
  ASSERT_TRUE(second);
  EXPECT_LT(second->Left, 3);
  EXPECT_LT(second->Right, room);

  // A word wider than the box gets a line of its own, below what the line held.
  const THtmlPage longWord = Html(L"ab abcdefghijklmnop cd", Rect(0, 0, Measure(L"abcdefgh").cx, 0));
  EXPECT_EQ(longWord.rect.Bottom, 3 * h);
  EXPECT_EQ(longWord.rect.Right, Measure(L"abcdefghijklmnop").cx);
  const auto firstLine = InkBounds(*longWord.bmp, kWhite, Rect(0, 0, 400, h));
  ASSERT_TRUE(firstLine);
  EXPECT_LT(firstLine->Right, Measure(L"ab").cx + 2);
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
