// Text wrappers on real canvases: measuring against what DrawText draws, the ellipsis, and
// shortening a text with "...".
#include "skin_layered/paint/TextOutput.h"
#include "text_win_support.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;
using vcl::TRect;

TEST(DrawTextStr, MeasuredRectangleHoldsWhatIsDrawn) {
  auto page = WhitePage(300, 60);
  vcl::TCanvas* canvas = page->Canvas();
  HDC dc = canvas->Handle();
  TRect measured = Rect(10, 5, 10, 5);
  DrawTextStr(dc, L"Quick brown 狐狸", measured, DT_CALCRECT | DT_SINGLELINE);
  const vcl::TSize extent = GetTextSize(dc, L"Quick brown 狐狸");
  EXPECT_EQ(measured, Rect(10, 5, 10 + extent.cx, 5 + extent.cy));
  EXPECT_EQ(extent, canvas->TextExtent(L"Quick brown 狐狸"));
  EXPECT_EQ(TextWidthOf(canvas, L"Quick brown 狐狸"), extent.cx);
  EXPECT_EQ(TextExtentOf(canvas, L"Quick brown 狐狸"), extent);

  TRect r = measured;
  SetBkMode(dc, TRANSPARENT);
  DrawTextStr(dc, L"Quick brown 狐狸", r, DT_SINGLELINE);
  const auto ink = InkBounds(*page);
  ASSERT_TRUE(ink);
  EXPECT_GE(ink->Left, measured.Left);
  EXPECT_LE(ink->Right, measured.Right + 1);
  EXPECT_GE(ink->Top, measured.Top);
  EXPECT_LE(ink->Bottom, measured.Bottom);
  EXPECT_GT(ink->Width(), extent.cx * 3 / 4);
  EXPECT_EQ(GetTextSize(dc, L"").cx, 0);
}

TEST(DrawTextStr, EllipsisStaysInsideAndTheTextIsNeverWritten) {
  auto cut = WhitePage(200, 40);
  HDC dc = cut->Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);
  const vcl::String text = L"A text far too long for its box";
  const vcl::String copy = text;
  TRect box = Rect(5, 5, 5 + GetTextSize(dc, L"A text far").cx, 35);
  DrawTextStr(dc, text, box, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(text, copy);
  const auto ink = InkBounds(*cut);
  ASSERT_TRUE(ink);
  EXPECT_LE(ink->Right, box.Right + 1);
  DrawTextOnCanvas(cut->Canvas(), text, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, box);
  EXPECT_EQ(text, copy);
  // Several lines when the words do not fit on one.
  TRect lines = Rect(0, 0, GetTextSize(dc, L"alpha").cx + 4, 0);
  EXPECT_EQ(DrawTextStr(dc, L"alpha beta gamma", lines, DT_CALCRECT | DT_WORDBREAK), 3 * GetTextSize(dc, L"X").cy);
}

TEST(CutText, ShortensWithDotsToTheWidth) {
  auto page = WhitePage(10, 10);
  vcl::TCanvas* canvas = page->Canvas();
  EXPECT_EQ(CutText(canvas, L"anything", 0), L"");
  EXPECT_EQ(CutText(nullptr, L"anything", 100), L"");
  const vcl::String fits = L"fits 中文";
  EXPECT_EQ(CutText(canvas, fits, canvas->TextWidth(fits)), fits);

  const vcl::String text = L"A caption much wider than its button 的标题";
  for (int width : {40, 77, 150, 230}) {
    const vcl::String cut = CutText(canvas, text, width);
    ASSERT_GT(cut.size(), 3u) << width;
    ASSERT_TRUE(cut.ends_with(L"...")) << width;
    const std::size_t kept = cut.size() - 3;
    EXPECT_EQ(cut.substr(0, kept), text.substr(0, kept));
    EXPECT_LE(canvas->TextWidth(cut), width);
    // One character more would not fit.
    EXPECT_GT(canvas->TextWidth(text.substr(0, kept + 1) + L"..."), width) << width;
  }
  // Not even one character fits beside the dots: nothing at all.
  EXPECT_EQ(CutText(canvas, text, canvas->TextWidth(L"...")), L"");
  // Characters outside the basic plane are kept or dropped whole.
  const vcl::String pairs = L"\U0001F600\U0001F601\U0001F602\U0001F603\U0001F604\U0001F605";
  for (int width = 1; width < canvas->TextWidth(pairs); width += 3) {
    const vcl::String cut = CutText(canvas, pairs, width);
    if (cut.empty()) continue;
    EXPECT_EQ((cut.size() - 3) % 2, 0u) << width;
  }
}

}  // namespace
}  // namespace skin_layered::test
