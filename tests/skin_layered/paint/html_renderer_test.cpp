// The HTML text renderer's parsing and layout on a model surface whose widths are known.
#include <gtest/gtest.h>

#include <string>

#include "HtmlModelSurface.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;
using vcl::TRect;

struct TRendered {
  THtmlModelSurface surface;
  TqvLinks links;
  TRect rect;
};

TRendered Render(std::wstring_view text, TRect rect = {}, bool measureOnly = false, int hlA = -1, int hlB = -1) {
  TRendered r;
  r.rect = THtmlRenderer(r.surface, text, hlA, hlB, rect).Render(r.links, measureOnly);
  return r;
}

// Letters are 10 wide (11 in bold), a space 5, a line 20 high at the default size of 10.

TEST(HtmlRenderer, PlainTextFromTheRectanglesCorner) {
  const TRendered r = Render(L"Hello", Rect(3, 4, 0, 0));
  ASSERT_EQ(r.surface.drawn.size(), 1u);
  EXPECT_EQ(r.surface.drawn[0].X, 3);
  EXPECT_EQ(r.surface.drawn[0].Y, 4);
  EXPECT_EQ(r.surface.drawn[0].Text, L"Hello");
  EXPECT_EQ(r.rect, Rect(0, 0, 53, 24));
  EXPECT_TRUE(r.links.empty());
  // Line ends inside the text are dropped; an empty text gives an empty rectangle.
  EXPECT_EQ(Render(L"a\r\nb").surface.AllText(), L"ab");
  EXPECT_EQ(Render(L"").rect, Rect(0, 0, 0, 0));
}

TEST(HtmlRenderer, StyleTagsChangeTheFontUntilTheyClose) {
  const TRendered r = Render(L"a<b>b</B>c<I>d</i><u>e</u>");
  ASSERT_EQ(r.surface.drawn.size(), 5u);
  EXPECT_EQ(r.surface.drawn[0].Font.Style, 0u);
  EXPECT_EQ(r.surface.drawn[1].Font.Style, kHtmlBold);
  EXPECT_EQ(r.surface.drawn[1].X, 10);
  EXPECT_EQ(r.surface.drawn[2].X, 21);  // after a bold letter
  EXPECT_EQ(r.surface.drawn[2].Font.Style, 0u);
  EXPECT_EQ(r.surface.drawn[3].Font.Style, kHtmlItalic);
  EXPECT_EQ(r.surface.drawn[4].Font.Style, kHtmlUnderline);
  EXPECT_EQ(r.rect.Right, 51);
  // Opening tags count only exactly as written; a closing tag by its name's first letters.
  EXPECT_EQ(Render(L"<b >x").surface.AllText(), L"<b >x");
  EXPECT_EQ(Render(L"<b>x</bold>y").surface.drawn[1].Font.Style, 0u);
}

TEST(HtmlRenderer, UnknownAndBrokenTagsAreDrawnAsText) {
  EXPECT_EQ(Render(L"<tt>word</tt>").surface.AllText(), L"<tt>word</tt>");
  EXPECT_EQ(Render(L"a<<b>c").surface.AllText(), L"a<b>c");  // "<<" prints one "<"
  EXPECT_EQ(Render(L"a<b").surface.AllText(), L"ab");        // a "<" that closes nowhere is dropped
  EXPECT_EQ(Render(L"x</p>y").surface.AllText(), L"x</p>y");
  EXPECT_EQ(Render(L"x</>y").surface.AllText(), L"x</>y");
  EXPECT_EQ(Render(L"a>b<<").surface.AllText(), L"a>b<");
  // Unclosed tags change the font only for the rendering.
  TRendered r = Render(L"<b><font size=20 color=red>x<a href=y>z");
  EXPECT_EQ(r.surface.font, (THtmlFont{L"Model", 10, 0, 0}));
}

TEST(HtmlRenderer, BreakTagsStartLinesTwoPixelsApart) {
  const TRendered r = Render(L"one<BR>two<br/>three<p>four<br >x", Rect(2, 0, 0, 0));
  ASSERT_EQ(r.surface.drawn.size(), 5u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.surface.drawn[i].X, 2);
    EXPECT_EQ(r.surface.drawn[i].Y, 22 * i);
  }
  EXPECT_EQ(r.surface.drawn[4].Text, L"<br >x");  // with a space before ">" it is text
  EXPECT_EQ(r.surface.drawn[4].Y, 66);
  EXPECT_EQ(r.rect, Rect(0, 0, 2 + 95, 66 + 20));
  // An empty line is as high as an "X".
  EXPECT_EQ(Render(L"<br><br>").rect, Rect(0, 0, 0, 44));
}

TEST(HtmlRenderer, EntitiesBecomeTheirCharacters) {
  TRendered amp = Render(L"a&amp;b");
  EXPECT_EQ(amp.surface.AllText(), L"a&b");
  ASSERT_EQ(amp.surface.drawn.size(), 3u);
  EXPECT_EQ(amp.surface.drawn[1].X, 10);
  EXPECT_EQ(amp.surface.drawn[2].X, 20);
  EXPECT_EQ(Render(L"&#38;").surface.AllText(), L"&");
  EXPECT_EQ(Render(L"&eacute;&#39;&39;&quot;&#153;&euro;&#8211;").surface.AllText(), L"\u00E9''\"\u2122\u20AC\u2013");
  // Written otherwise they stay as written.
  EXPECT_EQ(Render(L"&AMP;").surface.AllText(), L"&AMP;");
  EXPECT_EQ(Render(L"&#38x;").surface.AllText(), L"&#38x;");
  EXPECT_EQ(Render(L"&#65;").surface.AllText(), L"&#65;");
  EXPECT_EQ(Render(L"&am p;").surface.AllText(), L"&am p;");
  EXPECT_EQ(Render(L"a & b").surface.AllText(), L"a & b");
  EXPECT_EQ(Render(L"&&amp;").surface.AllText(), L"&&");
  const std::wstring far = L"&" + std::wstring(255, L'x') + L";";
  EXPECT_EQ(Render(far).surface.AllText(), far);
  // An entity that does not fit starts a new line.
  const TRendered wrapped = Render(L"ab&amp;", Rect(0, 0, 25, 0));
  ASSERT_EQ(wrapped.surface.drawn.size(), 2u);
  EXPECT_EQ(wrapped.surface.drawn[1].X, 0);
  EXPECT_EQ(wrapped.surface.drawn[1].Y, 22);
}

TEST(HtmlRenderer, FontTagsChangeSizeColourAndFaceAndCloseBack) {
  const auto fontOf = [](std::wstring_view text) {
    const TRendered r = Render(text);
    return r.surface.drawn.at(0).Font;
  };
  const std::pair<const wchar_t*, int> sizes[] = {
      {L"<font size=20>x", 20}, {L"<font size=+2>x", 12}, {L"<font size=\"-3\">x", 7}, {L"<font size=5000>x", 1000},
      {L"<font size=abc>x", 10}, {L"<font size=1.5>x", 10}, {L"<font size=+>x", 10}, {L"<font size=99999999999>x", 10}};
  for (const auto& [text, size] : sizes) EXPECT_EQ(fontOf(text).Size, size) << std::wstring(text).size();
  const std::pair<const wchar_t*, std::uint32_t> colours[] = {
      {L"<font color=#FF0000>x", 0x0000FF}, {L"<font color=#123456H>x", 0x563412},
      {L"<font color=\"#1234567\">x", 0x674523},  // the last six digits
      {L"<font color=Navy>x", 0x800000},     {L"<font color=00ff80>x", 0x80FF00}, {L"<font color=zz>x", 0}};
  for (const auto& [text, colour] : colours) EXPECT_EQ(fontOf(text).Color, colour) << std::wstring(text).size();
  EXPECT_EQ(fontOf(L"<font face=\"\u5B8B\u4F53\">x").Name, L"\u5B8B\u4F53");
  EXPECT_EQ(fontOf(L"<font face=\"\">x").Name, L"Model");
  const THtmlFont all = fontOf(L"<FONT SIZE=12 COLOR=lime FACE=\"Arial\">x");
  EXPECT_EQ(all, (THtmlFont{L"ARIAL", 12, 0, 0x00FF00}));

  const TRendered r = Render(L"<font size=20>a<font color=red>b</font>c</font>d</font>e");
  ASSERT_EQ(r.surface.drawn.size(), 5u);
  EXPECT_EQ(r.surface.drawn[1].Font, (THtmlFont{L"Model", 20, 0, 0x0000FF}));
  EXPECT_EQ(r.surface.drawn[2].Font, (THtmlFont{L"Model", 20, 0, 0}));
  EXPECT_EQ(r.surface.drawn[3].Font, (THtmlFont{L"Model", 10, 0, 0}));
  EXPECT_EQ(r.surface.drawn[4].Font, r.surface.drawn[3].Font);  // a closing tag too many
  EXPECT_EQ(r.surface.AllText(), L"abcde");
  EXPECT_EQ(r.rect.Bottom, 40);  // the line is as high as its largest "X"
}

TEST(HtmlRenderer, LinksRecordTheirRectanglesAndAddresses) {
  const TRendered r = Render(L"go <a href=\"http://x.cn/?id=5&k=2\">here</a> now", Rect(0, 0, 0, 0));
  ASSERT_EQ(r.links.size(), 1u);
  EXPECT_EQ(r.links[0].Rect, Rect(25, 0, 65, 20));
  EXPECT_EQ(r.links[0].Href, L"http://x.cn/?id=5&k=2");
  ASSERT_EQ(r.surface.drawn.size(), 3u);
  EXPECT_EQ(r.surface.drawn[1].Font.Color, 0xFF0000u);  // blue
  EXPECT_EQ(r.surface.drawn[1].Font.Style, 0u);
  EXPECT_EQ(r.surface.drawn[2].Font.Color, 0u);

  EXPECT_EQ(Render(L"<A HREF='page.htm'>p</A>").links.at(0).Href, L"page.htm");
  EXPECT_EQ(Render(L"<a href = plain>p</a>").links.at(0).Href, L"plain");
  EXPECT_EQ(Render(L"<a name=x>p</a>").links.at(0).Href, L"");

  // Highlighted: underlined, and red when both indexes name it.
  const TRendered one = Render(L"<a href=a>x</a><a href=b>y</a>", {}, false, 1, -1);
  EXPECT_EQ(one.surface.drawn[0].Font.Style, 0u);
  EXPECT_EQ(one.surface.drawn[1].Font, (THtmlFont{L"Model", 10, kHtmlUnderline, 0xFF0000}));
  const TRendered both = Render(L"<a href=a>x</a>", {}, false, 0, 0);
  EXPECT_EQ(both.surface.drawn[0].Font, (THtmlFont{L"Model", 10, kHtmlUnderline, 0x0000FF}));

  // A closing tag without an open link changes nothing; nested links close inner first.
  const TRendered stray = Render(L"</a>x<a href=1>y</a></a>z");
  EXPECT_EQ(stray.surface.AllText(), L"xyz");
  ASSERT_EQ(stray.links.size(), 1u);
  EXPECT_EQ(stray.links[0].Href, L"1");
  EXPECT_EQ(stray.links[0].Rect, Rect(10, 0, 20, 20));
  EXPECT_EQ(stray.surface.drawn[2].Font.Color, 0u);
  const TRendered nested = Render(L"<a href=1>x<a href=2>y</a>z</a>w");
  ASSERT_EQ(nested.links.size(), 2u);
  EXPECT_EQ(nested.links[1].Rect, Rect(10, 0, 20, 20));
  EXPECT_EQ(nested.links[0].Rect, Rect(0, 0, 30, 20));
  EXPECT_EQ(nested.links[0].Href, L"1");
  EXPECT_EQ(nested.surface.drawn[2].Font.Color, 0xFF0000u);
  EXPECT_EQ(nested.surface.drawn[3].Font.Color, 0u);
}

TEST(HtmlRenderer, WordsWrapBeforeTheRightEdge) {
  const TRendered r = Render(L"aaa bbb ccc ddd", Rect(0, 0, 100, 0));
  ASSERT_EQ(r.surface.drawn.size(), 4u);
  EXPECT_EQ(r.surface.drawn[1].X, 35);
  EXPECT_EQ(r.surface.drawn[2].X, 70);  // ends exactly at the edge
  EXPECT_EQ(r.surface.drawn[3].X, 0);
  EXPECT_EQ(r.surface.drawn[3].Y, 20);  // wrapped lines are a line's height apart
  EXPECT_EQ(r.rect, Rect(0, 0, 105, 40));

  // Repeated spaces count as one and every word is drawn once, whole.
  const TRendered spaced = Render(L"aaa   bbb    ccc ddd  eee", Rect(0, 0, 70, 0));
  std::vector<std::wstring> words;
  for (const TDrawnText& d : spaced.surface.drawn) words.push_back(d.Text);
  EXPECT_EQ(words, (std::vector<std::wstring>{L"aaa", L"bbb", L"ccc", L"ddd", L"eee"}));
  EXPECT_EQ(spaced.surface.drawn[4].Y, 40);

  // A run that begins with a space after a tag keeps that space.
  const TRendered after = Render(L"<b>xx</b> aaa bbb", Rect(0, 0, 60, 0));
  ASSERT_EQ(after.surface.drawn.size(), 3u);
  EXPECT_EQ(after.surface.drawn[1].X, 27);
  EXPECT_EQ(after.surface.drawn[2].Y, 20);
}

TEST(HtmlRenderer, AWordWiderThanTheRectangleGetsALineOfItsOwn) {
  const TRendered r = Render(L"ab cdefghijkl mn", Rect(0, 0, 50, 0));
  ASSERT_EQ(r.surface.drawn.size(), 3u);
  EXPECT_EQ(r.surface.drawn[1].Text, L"cdefghijkl");
  EXPECT_EQ(r.surface.drawn[1].X, 0);
  EXPECT_EQ(r.surface.drawn[1].Y, 20);  // not over "ab"
  EXPECT_EQ(r.surface.drawn[2].Y, 40);
  EXPECT_EQ(r.rect, Rect(0, 0, 100, 60));
  // At the start of a line it stays there and overflows; the rectangle grows with it.
  const TRendered first = Render(L"cdefghijkl mn", Rect(7, 0, 50, 0));
  EXPECT_EQ(first.surface.drawn[0].Y, 0);
  EXPECT_EQ(first.surface.drawn[1].Y, 20);
  EXPECT_EQ(first.rect.Right, 107);
}

TEST(HtmlRenderer, WithoutARightEdgeNothingWraps) {
  const TRendered r = Render(L"aaa bbb ccc<br>dd", Rect(0, 0, 0, 0));
  ASSERT_EQ(r.surface.drawn.size(), 2u);
  EXPECT_EQ(r.rect, Rect(0, 0, 100, 42));
  EXPECT_EQ(Render(L"aaa bbb", Rect(0, 0, -5, 0)).surface.drawn.size(), 1u);
}

TEST(HtmlRenderer, MeasuringTakesTheDrawingPathWithoutDrawing) {
  for (const wchar_t* text : {L"go <a href=x>here</a> and <b>bold &amp; long words wrapping</b><br>next",
                              L"ab cdefghijkl &eacute; <font size=+8>big</font> <a href=q>l i n k</a>"}) {
    const TRendered drawn = Render(text, Rect(4, 2, 90, 0));
    const TRendered measured = Render(text, Rect(4, 2, 90, 0), true);
    EXPECT_TRUE(measured.surface.drawn.empty());
    EXPECT_FALSE(drawn.surface.drawn.empty());
    EXPECT_EQ(measured.rect, drawn.rect);
    ASSERT_EQ(measured.links.size(), drawn.links.size());
    for (std::size_t i = 0; i < drawn.links.size(); ++i) {
      EXPECT_EQ(measured.links[i].Rect, drawn.links[i].Rect);
      EXPECT_EQ(measured.links[i].Href, drawn.links[i].Href);
    }
  }
}

TEST(HtmlRenderer, LongMalformedMarkupTakesLinearTime) {
  // Each of these once made every "<" or "&" look through the rest of the text.
  std::wstring manyOpen, manyAmp, manyTags;
  for (int i = 0; i < 100000; ++i) {
    manyOpen += L"<x";
    manyAmp += L"&x";
    manyTags += L"<font size=+1>";
  }
  manyOpen += L">";
  EXPECT_EQ(Render(manyOpen).surface.AllText().size(), manyOpen.size());
  EXPECT_EQ(Render(manyAmp).surface.AllText().size(), manyAmp.size());
  EXPECT_EQ(Render(manyTags + L"x").surface.drawn.at(0).Font.Size, 1000);
}

}  // namespace
}  // namespace skin_layered::test
