// List fields, memo lines and HTML colour texts.
#include <gtest/gtest.h>

#include "app/HtmlColor.h"
#include "app/ListField.h"
#include "app/SectionDefaults.h"

namespace composer {
namespace {

using vcl::String;

std::vector<String> Items(vcl::StringView text) {
  const ListItems list(text);
  std::vector<String> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
  return items;
}

TEST(HtmlColor, WritesRedGreenBlueInUpperCaseHex) {
  EXPECT_EQ(ColorToHtmlHex(0xFF0000), L"#0000FF");  // pure blue: blue lives in the third byte
  EXPECT_EQ(ColorToHtmlHex(0x00AB12CD), L"#CD12AB");
  EXPECT_EQ(ColorToHtmlHex(static_cast<std::int32_t>(0x80102030)), L"#302010");
}

// Text on a colour field: white on dark colours (black and pure blue among them), black on
// light ones.
TEST(HtmlColor, TheContrastingTextColourIsWhiteOnDarkAndBlackOnLight) {
  for (std::int32_t dark : {0x000000, 0xFF0000, 0x000080, 0x404040, 0x800080})
    EXPECT_EQ(ContrastingTextColor(dark), 0xFFFFFF) << std::hex << dark;
  for (std::int32_t light : {0xFFFFFF, 0x00FFFF, 0x00FF00, 0x808080, 0xF3F3F3})
    EXPECT_EQ(ContrastingTextColor(light), 0x000000) << std::hex << light;
  EXPECT_EQ(ContrastingTextColor(static_cast<std::int32_t>(0x7F000000)), 0xFFFFFF);  // the high byte ignored
}

TEST(ListText, TrimRemovesControlsAndBlanksAtBothEndsOnly) {
  EXPECT_EQ(TrimListText(L"\r\n \t a | b\t|c \r\n\x01"), L"a | b\t|c");
  EXPECT_EQ(TrimListText(L" \r\n\t"), L"");
  // Code 33 and above stay, an ideographic blank included.
  EXPECT_EQ(TrimListText(L"\u3000!x!\u3000"), L"\u3000!x!\u3000");
}

TEST(ListText, SplitsAtBarsAndEndsWithAnEmptyItemAfterAFinalBar) {
  EXPECT_EQ(Items(L"a|b|c"), (std::vector<String>{L"a", L"b", L"c"}));
  // The default lists: lines ending in "|", trimmed, give one empty item at the end.
  EXPECT_EQ(Items(L"a|\r\nb|\r\nc|"), (std::vector<String>{L"a", L"b", L"c", L""}));
  EXPECT_EQ(Items(L"a|\r\nb|\r\nc|\r\n"), (std::vector<String>{L"a", L"b", L"c"}));
  EXPECT_EQ(Items(L"a||b"), (std::vector<String>{L"a", L"", L"b"}));
  EXPECT_EQ(Items(L""), (std::vector<String>{}));
}

TEST(ListText, ABlankOrLineBreakEndsAnUnquotedItemAndQuotesKeepBlanks) {
  EXPECT_EQ(Items(L"red shoe|blue"), (std::vector<String>{L"red", L"shoe", L"blue"}));
  EXPECT_EQ(Items(L"a\r\nb|c"), (std::vector<String>{L"a", L"b", L"c"}));
  // Blanks around a bar belong to no item.
  EXPECT_EQ(Items(L"a | b"), (std::vector<String>{L"a", L"b"}));
  EXPECT_EQ(Items(LR"("red shoe"|blue)"), (std::vector<String>{L"red shoe", L"blue"}));
  EXPECT_EQ(Items(LR"(a|"say ""hi"""|b)"), (std::vector<String>{L"a", LR"(say "hi")", L"b"}));
  EXPECT_EQ(Items(LR"("a|b"|c)"), (std::vector<String>{L"a|b", L"c"}));
}

TEST(ListText, AnIndexPastTheEndRaisesTheListError) {
  const ListItems list(L"a|b");
  try {
    (void)list[2];
    ADD_FAILURE() << "no error";
  } catch (const vcl::EListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (2)");
  }
  EXPECT_THROW((void)list[-1], vcl::EListError);
}

TEST(MemoText, LinesEndAtLineBreaksAndAFinalBreakOpensNoLine) {
  EXPECT_EQ(MemoLines(L""), (std::vector<String>{}));
  EXPECT_EQ(MemoLines(L"a\r\n"), (std::vector<String>{L"a"}));
  EXPECT_EQ(MemoLines(L"a \r\n\r\nb"), (std::vector<String>{L"a ", L"", L"b"}));
  EXPECT_EQ(MemoLines(L"\r\n"), (std::vector<String>{L""}));
  EXPECT_EQ(MemoLines(L"a\nb\rc"), (std::vector<String>{L"a", L"b", L"c"}));

  constexpr std::wstring_view lines[] = {L"x", L"", L" y "};
  EXPECT_EQ(MemoText(lines), L"x\r\n\r\n y \r\n");
}

}  // namespace
}  // namespace composer
