// Text on real canvases: the ellipsis that never writes to the text, shortening with "...",
// contoured text, the colours of disabled and re-coloured text, the blurred glow behind text
// and its kept mask, and the plane blur and smoothing on bitmaps.
#include <algorithm>
#include <vector>

#include "skin_layered/paint/SectionText.h"
#include "skin_layered/paint/TextEffects.h"
#include "skin_layered/paint/TextOutput.h"
#include "text_win_support.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;
using vcl::TRect;

constexpr UINT kOneLine = DT_SINGLELINE | DT_CENTER | DT_VCENTER;

std::vector<TPixel32> PixelsOf(vcl::TBitmap& bmp) {
  GdiFlush();
  std::vector<TPixel32> pixels;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) pixels.push_back(PixelOf(bmp, x, y));
  return pixels;
}

TEST(WriteContourText, OnePixelContoursOnEachSide) {
  const TRect r = Rect(20, 5, 100, 55);
  auto plain = WhitePage(120, 60, 40);
  WriteContourText(plain->Canvas(), L"I", {vcl::clBlack}, kOneLine, r);
  const auto ink = InkBounds(*plain);
  ASSERT_TRUE(ink);
  const int midX = (ink->Left + ink->Right) / 2, midY = (ink->Top + ink->Bottom) / 2;
  // The plain letter's edges through its middle.
  int left = ink->Right, right = ink->Left, top = ink->Bottom, bottom = ink->Top;
  for (int x = ink->Left; x < ink->Right; ++x)
    if (RgbOf(*plain, x, midY) != kWhite) left = std::min(left, x), right = std::max(right, x);
  for (int y = ink->Top; y < ink->Bottom; ++y)
    if (RgbOf(*plain, midX, y) != kWhite) top = std::min(top, y), bottom = std::max(bottom, y);

  auto outlined = WhitePage(120, 60, 40);
  WriteContourText(outlined->Canvas(), L"I", {vcl::clBlack, vcl::clRed, vcl::clLime, vcl::clBlue, vcl::clFuchsia},
                   kOneLine, r);
  EXPECT_EQ(RgbOf(*outlined, left - 1, midY), 0xFF0000u);
  EXPECT_EQ(RgbOf(*outlined, midX, top - 1), 0x00FF00u);
  EXPECT_EQ(RgbOf(*outlined, right + 1, midY), 0x0000FFu);
  EXPECT_EQ(RgbOf(*outlined, midX, bottom + 1), 0xFF00FFu);
  EXPECT_EQ(RgbOf(*outlined, midX, midY), 0u);
  EXPECT_EQ(InkBounds(*outlined), Rect(ink->Left - 1, ink->Top - 1, ink->Right + 1, ink->Bottom + 1));

  // An empty text draws nothing.
  const auto before = PixelsOf(*plain);
  WriteContourText(plain->Canvas(), L"", {vcl::clRed, vcl::clRed}, kOneLine, Rect(0, 0, 120, 60));
  EXPECT_EQ(PixelsOf(*plain), before);
}

// The colours a text left on a white page, each once.
std::vector<TPixel32> InkColours(vcl::TBitmap& bmp) {
  std::vector<TPixel32> colours;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      const TPixel32 rgb = RgbOf(bmp, x, y);
      if (rgb != kWhite && std::find(colours.begin(), colours.end(), rgb) == colours.end()) colours.push_back(rgb);
    }
  std::sort(colours.begin(), colours.end());
  return colours;
}

TEST(WriteSectionText, StateColoursDisabledMixAndPlainText) {
  TsLoadedSkin skin;
  skin.Sections.resize(2);
  TsProps& props = skin.Sections[1].Props;
  props[0].FontColor = vcl::clWhite;
  props[0].Color = vcl::clBlack;
  props[1].FontColor = vcl::clLime;
  props[1].TCLeft = vcl::clRed;
  const auto draw = [&](bool enabled, int state, int index, const TsLoadedSkin* from = nullptr) {
    auto page = WhitePage(80, 40, 24);
    page->Canvas()->Font()->SetColor(vcl::clFuchsia);
    WriteSectionText(page->Canvas(), L"Hi", enabled, from ? from : &skin, state, index, kOneLine, Rect(0, 0, 80, 40));
    return InkColours(*page);
  };
  EXPECT_EQ(draw(true, 0, 1), std::vector<TPixel32>{0});  // white would not show on white: black
  // Hot, and every state above it, with the left contour.
  EXPECT_EQ(draw(true, 1, 1), (std::vector<TPixel32>{0x00FF00, 0xFF0000}));
  EXPECT_EQ(draw(true, 7, 1), (std::vector<TPixel32>{0x00FF00, 0xFF0000}));
  EXPECT_EQ(draw(false, 1, 1), std::vector<TPixel32>{0x666666});
  // No valid section, no skin or an empty skin: the canvas's own font colour.
  EXPECT_EQ(draw(true, 1, 2), std::vector<TPixel32>{0xFF00FF});
  EXPECT_EQ(draw(true, 1, -1), std::vector<TPixel32>{0xFF00FF});
  TsLoadedSkin empty;
  EXPECT_EQ(draw(true, 0, 0, &empty), std::vector<TPixel32>{0xFF00FF});
  auto page = WhitePage(80, 40, 24);
  WriteSectionText(page->Canvas(), L"Hi", true, nullptr, 0, 0, kOneLine, Rect(0, 0, 80, 40));
  WriteSectionText(page->Canvas(), L"", true, &skin, 1, 1, kOneLine, Rect(0, 0, 80, 40));
  EXPECT_EQ(InkColours(*page), std::vector<TPixel32>{0});
}

// Text stands off its face: a colour too close to it in brightness and in colour turns black
// on a light face and white on a dark one; either difference alone at its bound keeps it.
TEST(TextColors, TextStandsOffItsFace) {
  const auto bgr = [](int r, int g, int b) { return static_cast<vcl::TColor>(b << 16 | g << 8 | r); };
  EXPECT_EQ(LegibleTextColorOn(bgr(0xCF, 0xCF, 0xCF), vcl::clWhite), bgr(0xCF, 0xCF, 0xCF));  // 48 brighter
  EXPECT_EQ(LegibleTextColorOn(bgr(0xD0, 0xD0, 0xD0), vcl::clWhite), vcl::clBlack);
  EXPECT_EQ(LegibleTextColorOn(bgr(0x30, 0x30, 0x30), vcl::clBlack), bgr(0x30, 0x30, 0x30));
  EXPECT_EQ(LegibleTextColorOn(bgr(0x2F, 0x2F, 0x2F), vcl::clBlack), vcl::clWhite);
  // Alike in brightness, apart in colour by 240 and by 238.
  EXPECT_EQ(LegibleTextColorOn(bgr(0xFF, 0x50, 0x3F), bgr(0x80, 0x80, 0x80)), bgr(0xFF, 0x50, 0x3F));
  EXPECT_EQ(LegibleTextColorOn(bgr(0xFF, 0x50, 0x41), bgr(0x80, 0x80, 0x80)), vcl::clBlack);
  EXPECT_EQ(LegibleTextColorOn(bgr(0x20, 0x20, 0x30), bgr(0x10, 0x10, 0x10)), vcl::clWhite);
  // System colours by their values.
  EXPECT_EQ(LegibleTextColorOn(vcl::clWindow, vcl::clWindow), vcl::ColorToRGB(vcl::clWindow) >= 0x808080 ? vcl::clBlack : vcl::clWhite);

  // The face read from the picture under the text: a dark left half, a light right half.
  auto page = Filled32(100, 40, 0xF0F0F0);
  page->Canvas()->Brush()->SetColor(bgr(0x20, 0x20, 0x20));
  page->Canvas()->FillRect(Rect(0, 0, 50, 40));
  HDC dc = page->Canvas()->Handle();
  const vcl::TColor light = bgr(0xE0, 0xE0, 0xE0), dark = bgr(0x30, 0x30, 0x30);
  EXPECT_EQ(LegibleTextColor(light, dc, Rect(0, 0, 50, 40)), light);
  EXPECT_EQ(LegibleTextColor(light, dc, Rect(50, 0, 100, 40)), vcl::clBlack);
  EXPECT_EQ(LegibleTextColor(dark, dc, Rect(50, 0, 100, 40)), dark);
  EXPECT_EQ(LegibleTextColor(dark, dc, Rect(0, 0, 50, 40)), vcl::clWhite);
  // Where the DC's origin moves the rectangle, the face moves with it.
  POINT old{};
  SetViewportOrgEx(dc, 50, 0, &old);
  EXPECT_EQ(LegibleTextColor(light, dc, Rect(0, 0, 50, 40)), vcl::clBlack);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  // Nothing to read: a rectangle beside the picture, no DC, a DC of the screen.
  EXPECT_EQ(LegibleTextColor(light, dc, Rect(120, 0, 160, 40)), light);
  EXPECT_EQ(LegibleTextColor(light, nullptr, Rect(50, 0, 100, 40)), light);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(LegibleTextColor(light, screen, Rect(0, 0, 50, 40)), light);
  ReleaseDC(nullptr, screen);

  // Written: the letters in the colour that stands off, their contours in their own.
  auto white = WhitePage(80, 40, 24);
  WriteContourText(white->Canvas(), L"Hi", {bgr(0xF8, 0xF8, 0xF8), vcl::clRed}, kOneLine, Rect(0, 0, 80, 40));
  const std::vector<TPixel32> ink = [&] {
    std::vector<TPixel32> colours;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 80; ++x)
        if (const TPixel32 c = RgbOf(*white, x, y); c != kWhite && std::find(colours.begin(), colours.end(), c) == colours.end())
          colours.push_back(c);
    std::sort(colours.begin(), colours.end());
    return colours;
  }();
  EXPECT_EQ(ink, (std::vector<TPixel32>{0, 0xFF0000}));
}

TEST(TextColors, DisabledMixAndControlChanges) {
  EXPECT_EQ(DisabledTextColor(vcl::clWhite, vcl::clBlack), 0x666666);
  EXPECT_EQ(DisabledTextColor(vcl::clBlack, vcl::clWhite), 0x999999);
  EXPECT_EQ(DisabledTextColor(vcl::clBtnText, vcl::clBtnText), vcl::ColorToRGB(vcl::clBtnText));

  // System colours resolved; tone (the brightest channel times the tone's), then hue.
  EXPECT_EQ(ChangeTextColor(vcl::clBtnFace, vcl::clNone, 0, 0), vcl::ColorToRGB(vcl::clBtnFace));
  EXPECT_EQ(ChangeTextColor(static_cast<vcl::TColor>(RGB(50, 200, 10)), 0x808080, 0, 0), 0x646464);
  EXPECT_EQ(ChangeTextColor(vcl::clRed, vcl::clNone, 120, 0), vcl::clLime);
}

class WriteTextGlowTest : public ::testing::Test {
 protected:
  static constexpr TRect kRect = Rect(30, 10, 110, 70);

  // A transparent 32-bit bitmap with a crisp font of the height on its canvas.
  static std::unique_ptr<vcl::TBitmap> Target(int fontHeight = 40) {
    auto bmp = Filled32(140, 80, 0);
    CrispFont(bmp->Canvas(), fontHeight, true);
    return bmp;
  }
  // Where the letters themselves land: the text drawn plainly one pixel right and down.
  static TRect LetterInk(vcl::StringView text, int fontHeight = 40) {
    auto page = WhitePage(140, 80, fontHeight);
    CrispFont(page->Canvas(), fontHeight, true);
    TRect moved = kRect;
    moved.Offset(1, 1);
    DrawTextOnCanvas(page->Canvas(), text, kOneLine, moved);
    return InkBounds(*page).value_or(TRect());
  }
};

TEST_F(WriteTextGlowTest, GlowsInItsColourAroundTheLetters) {
  auto bmp = Target();
  TGlowMask mask;
  WriteTextGlow(bmp.get(), L"X", kRect, kOneLine, kGlowAllSides, 4, vcl::clRed, mask);
  EXPECT_EQ(mask.Width(), 80 + 2 * 8);
  EXPECT_EQ(mask.Height(), 60 + 2 * 8);

  const TRect ink = LetterInk(L"X");
  ASSERT_FALSE(ink.IsEmpty());
  const TPixel32 centre = PixelOf(*bmp, (ink.Left + ink.Right) / 2, (ink.Top + ink.Bottom) / 2);
  EXPECT_GT(centre >> 24, 150u);
  EXPECT_EQ(centre & 0xFFFF, 0u);  // no green or blue: red alone
  EXPECT_GT((centre >> 16) & 0xFF, 100u);
  // The glow reaches a little beyond the letters and no further.
  int outside = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 140; ++x) {
      const bool glows = (PixelOf(*bmp, x, y) >> 24) != 0;
      const bool around = x >= ink.Left - 6 && x < ink.Right + 6 && y >= ink.Top - 6 && y < ink.Bottom + 6;
      if (!around) {
        EXPECT_FALSE(glows) << x << "," << y;
      }
      if (glows && (x < ink.Left || x >= ink.Right)) ++outside;
    }
  EXPECT_GT(outside, 0);
}

TEST_F(WriteTextGlowTest, AKeptMaskServesOnlyTheSameTextAndFont) {
  TGlowMask kept;
  auto first = Target();
  WriteTextGlow(first.get(), L"X", kRect, kOneLine, kGlowAllSides, 4, vcl::clRed, kept);
  auto repeat = Target();
  WriteTextGlow(repeat.get(), L"X", kRect, kOneLine, kGlowAllSides, 4, vcl::clRed, kept);
  EXPECT_EQ(PixelsOf(*repeat), PixelsOf(*first));

  // Another text in a rectangle of the same size: its own glow, not the kept one.
  const auto fresh = [](vcl::StringView text, int fontHeight, unsigned sides) {
    auto bmp = Target(fontHeight);
    TGlowMask mask;
    WriteTextGlow(bmp.get(), text, kRect, kOneLine, sides, 4, vcl::clRed, mask);
    return PixelsOf(*bmp);
  };
  auto other = Target();
  WriteTextGlow(other.get(), L"Io", kRect, kOneLine, kGlowAllSides, 4, vcl::clRed, kept);
  EXPECT_EQ(PixelsOf(*other), fresh(L"Io", 40, kGlowAllSides));
  auto smaller = Target(24);
  WriteTextGlow(smaller.get(), L"Io", kRect, kOneLine, kGlowAllSides, 4, vcl::clRed, kept);
  EXPECT_EQ(PixelsOf(*smaller), fresh(L"Io", 24, kGlowAllSides));
  auto narrow = Target(24);
  WriteTextGlow(narrow.get(), L"Io", kRect, kOneLine, 0, 4, vcl::clRed, kept);
  EXPECT_EQ(PixelsOf(*narrow), fresh(L"Io", 24, 0));
}

TEST_F(WriteTextGlowTest, NothingWithoutSizeTextOrAlpha) {
  TGlowMask mask;
  auto bmp = Target();
  const auto before = PixelsOf(*bmp);
  WriteTextGlow(bmp.get(), L"X", kRect, kOneLine, kGlowAllSides, 0, vcl::clRed, mask);
  WriteTextGlow(bmp.get(), L"", kRect, kOneLine, kGlowAllSides, 4, vcl::clRed, mask);
  WriteTextGlow(bmp.get(), L"X", Rect(0, 0, 1 << 20, 1 << 20), kOneLine, kGlowAllSides, 4, vcl::clRed, mask);
  WriteTextGlow(nullptr, L"X", kRect, kOneLine, kGlowAllSides, 4, vcl::clRed, mask);
  EXPECT_EQ(PixelsOf(*bmp), before);
  EXPECT_TRUE(mask.Empty());
  auto rgb = Canvas24(40, 40, RGB(1, 2, 3));
  WriteTextGlow(rgb.get(), L"X", Rect(0, 0, 40, 40), kOneLine, kGlowAllSides, 4, vcl::clRed, mask);
  EXPECT_EQ(ColorOf(*rgb, 20, 20), RGB(1, 2, 3));
}

// The blur and smoothing themselves are pinned on plain memory.
TEST(BitmapBlurs, EightBitBlurAndThirtyTwoBitSmoothing) {
  vcl::TBitmap plane;
  plane.SetPixelFormat(vcl::pf8bit);
  plane.SetSize(9, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) static_cast<std::uint8_t*>(plane.ScanLine(y))[x] = x == 4 && y == 4 ? 0 : 255;
  BlurBitmap8(&plane, 2.0f);
  EXPECT_LT(static_cast<std::uint8_t*>(plane.ScanLine(4))[3], 255);
  BlurBitmap8(nullptr, 2.0f);
  auto wide = Filled32(5, 5, 0);
  SetPixelOf(*wide, 2, 2, Bgra(90, 90, 90, 255));
  SmoothBitmap(wide.get());
  EXPECT_NE(PixelOf(*wide, 1, 1), 0u);
  // Other formats are left as they are.
  auto rgb = Canvas24(5, 5, RGB(9, 9, 9));
  SmoothBitmap(rgb.get());
  BlurBitmap8(rgb.get(), 2.0f);
  EXPECT_EQ(ColorOf(*rgb, 2, 2), RGB(9, 9, 9));
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
