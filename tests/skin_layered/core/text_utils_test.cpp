// Word lists, hexadecimal text and the rectangle and integer routines.
#include <gtest/gtest.h>

#include "skin_layered/core/RectsAndNumbers.h"
#include "skin_layered/core/TextUtils.h"

namespace skin_layered::test {
namespace {

const TCharSet kComma = CharSetOf(",");

TEST(WordLists, WordsAreRunsBetweenAnyNumberOfDelimiters) {
  const std::wstring text = L",a,,b,";
  EXPECT_EQ(WordCount(text, kComma), 2);
  EXPECT_EQ(ExtractWord(1, text, kComma), L"a");
  EXPECT_EQ(ExtractWord(2, text, kComma), L"b");
  EXPECT_EQ(ExtractWord(3, text, kComma), L"");
  EXPECT_EQ(WordPosition(2, text, kComma), 5);
  EXPECT_EQ(WordPosition(3, text, kComma), 0);
  EXPECT_EQ(WordCount(L"", kComma), 0);
  EXPECT_EQ(WordCount(L",,,", kComma), 0);

  const TCharSet separators = CharSetOf("; ");
  EXPECT_EQ(WordCount(L"0;16777215; 100 ;0;;0", separators), 5);
  EXPECT_EQ(WordIndex(L"100", L"0;16777215; 100 ;0;;0", separators), 3);
  EXPECT_EQ(WordIndex(L"10", L"0;16777215; 100 ;0;;0", separators), -1);
  // A character above 255 is never a delimiter.
  EXPECT_EQ(WordCount(L"a\u012Cb", CharSetOf("\x2C")), 1);
}

TEST(WordLists, ByteTextTwinsAgree) {
  EXPECT_EQ(WordCountEx(",a,,b,", kComma), 2);
  EXPECT_EQ(ExtractWordEx(2, ",a,,bc,", kComma), "bc");
  EXPECT_EQ(WordPositionEx(2, ",a,,bc,", kComma), 5);
  EXPECT_TRUE(CharInSet(',', kComma));
  EXPECT_FALSE(CharInSet(L'\u012C', kComma));
}

TEST(TextRoutines, ReplaceAndDelete) {
  EXPECT_EQ(ReplaceStr(L"aXbXc", L"X", L"XX"), L"aXXbXXc");  // inserted text is not searched again
  EXPECT_EQ(ReplaceStr(L"aaa", L"aa", L"b"), L"ba");
  EXPECT_EQ(ReplaceStr(L"abc", L"", L"z"), L"abc");
  EXPECT_EQ(DelChars(L" a b ", L' '), L"ab");
}

TEST(TextRoutines, HexToIntReadsTheWholeText) {
  EXPECT_EQ(HexToInt(L"1FH"), 31);
  EXPECT_EQ(HexToInt(L"1G"), 0);
  EXPECT_EQ(HexToInt(L""), 0);
  EXPECT_EQ(HexToInt(L"H"), 0);
  EXPECT_EQ(HexToInt(L"FF00FF"), 0xFF00FF);
  // 300 characters: a bad one at the end is still seen, and long texts do not wrap around.
  EXPECT_EQ(HexToInt(std::wstring(299, L'0') + L"G"), 0);
  EXPECT_EQ(HexToInt(std::wstring(298, L'0') + L"2A"), 42);
}

TEST(RectsAndNumbers, Limits) {
  EXPECT_EQ(LimitIt(5, 10, 0), 10);  // the lower bound first
  EXPECT_EQ(LimitIt(50, 0, 10), 10);
  EXPECT_EQ(LimitIt(5, 0, 10), 5);
  EXPECT_TRUE(Between(5, 10, 0));
  EXPECT_FALSE(Between(11, 10, 0));
  const std::int32_t values[] = {4, 8, 15, 16, 23, 42};
  EXPECT_TRUE(IntInArray(15, values, 1, 3));
  EXPECT_FALSE(IntInArray(4, values, 1, 3));
  EXPECT_FALSE(IntInArray(8, values, 3, 1));
  EXPECT_FALSE(IntInArray(99, values, 0, 255));  // stays inside the array
}

TEST(RectsAndNumbers, Rectangles) {
  const vcl::TRect r = MkRect(10, 10, 20, 20);
  EXPECT_FALSE(RectsOverlap(r, MkRect(20, 10, 30, 20)));  // touching is apart
  EXPECT_FALSE(RectsOverlap(r, MkRect(0, 0, 10, 30)));
  EXPECT_FALSE(RectsOverlap(r, MkRect(15, 15, 15, 18)));  // empty
  EXPECT_TRUE(RectsOverlap(r, MkRect(19, 19, 40, 40)));
  vcl::TRect i;
  RectIntersection(r, MkRect(30, 0, 40, 15), i);
  EXPECT_EQ(i, MkRect(30, 10, 20, 15));  // not normalised
  EXPECT_EQ(WidthOf(i), -10);
  EXPECT_EQ(WidthOf(i, true), 0);
  EXPECT_EQ(HeightOf(i, true), 5);
}

}  // namespace
}  // namespace skin_layered::test
