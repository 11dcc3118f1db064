// The skin description text read as bytes (sections, keys, values, inheritance) and its
// image descriptors at their columns, natively under the sanitizers.
#include <gtest/gtest.h>

#include <optional>

#include "skin_layered/core/ImageDescriptor.h"
#include "skin_layered/core/SkinDescription.h"

namespace skin_layered::test {
namespace {

using Margins = std::array<std::int32_t, 4>;

TEST(SkinDescriptionText, SectionsAndKeysAsTheFirstOccurrenceWritesThem) {
  const TSkinDescription d(
      "KEY=before any section\r\n"
      "[GLOBALINFO]\r\n"
      "  VERSION = 7.5  \r\n"
      "; a comment\n"
      "\n"
      "AUTHOR=a=b\r"
      "no equals sign\r\n"
      "[ BUTTON ]\n"
      "COLOR=255\n"
      "COLOR=0\n"
      "Color=17\n"
      "[GLOBALINFO]\n"
      "VERSION=9\n"
      "EXTRA=1\n"
      "[EMPTY]");
  ASSERT_EQ(d.SectionCount(), 3);
  EXPECT_EQ(d.SectionName(0), "GLOBALINFO");
  EXPECT_EQ(d.SectionName(1), "BUTTON");
  EXPECT_EQ(d.SectionName(2), "EMPTY");
  EXPECT_EQ(d.ReadString("GLOBALINFO", "VERSION", ""), "7.5");
  EXPECT_EQ(d.ReadString("GLOBALINFO", "AUTHOR", ""), "a=b");
  // A repeated section is not read; neither is a repeated key.
  EXPECT_FALSE(d.Value("GLOBALINFO", "EXTRA"));
  EXPECT_EQ(d.ReadInteger("BUTTON", "COLOR", -1), 255);
  // Case-sensitive names.
  EXPECT_EQ(d.ReadInteger("BUTTON", "Color", -1), 17);
  EXPECT_FALSE(d.Value("Button", "COLOR"));
  EXPECT_FALSE(d.Value("", "KEY"));
  ASSERT_EQ(d.Entries(0).size(), 2u);
  EXPECT_EQ(d.Entries(0)[1].Key, "AUTHOR");
  EXPECT_TRUE(d.Entries(2).empty());
  EXPECT_EQ(d.FindSection("EMPTY"), 2);
  EXPECT_EQ(d.FindSection("NONE"), -1);
  EXPECT_FALSE(d.Utf8());
}

TEST(SkinDescriptionText, AByteOrderMarkMeansUtf8) {
  const TSkinDescription d("\xEF\xBB\xBF[GLOBALINFO]\nAUTHOR=\xE5\x90\x8D\n");
  EXPECT_TRUE(d.Utf8());
  EXPECT_EQ(d.SectionName(0), "GLOBALINFO");
  EXPECT_EQ(d.ReadString("GLOBALINFO", "AUTHOR", ""), "\xE5\x90\x8D");
  TSkinDescription empty("");
  EXPECT_EQ(empty.SectionCount(), 0);
  empty.Load("[A]\nX=1");
  EXPECT_EQ(empty.ReadInteger("A", "X", 0), 1);
}

// Bytes no description can be: nothing but blanks, or a byte no text holds (the first one
// named); text of any other bytes, a byte-order mark or an end-of-file mark is checked further.
TEST(SkinDescriptionText, EmptyTextAndBytesNoTextHoldsAreFound) {
  using F = TDescriptionFault;
  const struct {
    std::string_view text;
    F fault;
    std::size_t offset;
    unsigned byte;
  } cases[] = {{"", F::Empty, 0, 0},
               {" \r\n\t\v\f", F::Empty, 0, 0},
               {"\xEF\xBB\xBF", F::Empty, 0, 0},
               {"\xEF\xBB\xBF\r\n\x1A", F::Empty, 0, 0},
               {"[A]", F::None, 0, 0},
               {"\xEF\xBB\xBF[A]\r\nX=\xE5\x90\x8D\x1A", F::None, 0, 0},
               {"x", F::None, 0, 0},
               {std::string_view("[A]\0", 4), F::NotText, 3, 0},
               {"\x01", F::NotText, 0, 1},
               {"[A]\r\nX=\x1F", F::NotText, 7, 0x1F},
               {std::string_view("\xFF\xFE[\0A\0]\0", 8), F::NotText, 3, 0},
               {std::string_view("\x89PNG\r\n\x1A\n\0", 9), F::NotText, 8, 0}};
  for (const auto& c : cases) {
    const TDescriptionCheck check = CheckDescriptionBytes(c.text);
    EXPECT_EQ(check.Fault, c.fault) << testing::PrintToString(std::string(c.text));
    if (c.fault == F::NotText) {
      EXPECT_EQ(check.Offset, c.offset) << testing::PrintToString(std::string(c.text));
      EXPECT_EQ(check.Byte, c.byte) << testing::PrintToString(std::string(c.text));
    }
  }
}

TEST(SkinDescriptionValues, IntegersAsTheIniReaderTakesThem) {
  const struct {
    const char* text;
    bool cHex;
    std::optional<std::int32_t> value;
  } cases[] = {{"  -42", false, -42}, {"$FF00FF", false, 0xFF00FF}, {"$FFFFFFFF", false, -1},
               {"-2147483648", false, INT32_MIN}, {"2147483648", false, {}}, {"$100000000", false, {}},
               {"12 ", false, {}}, {"", false, {}}, {"-", false, {}}, {"$", false, {}}, {"0x10", false, {}},
               {"0x10", true, 16}, {"0X1f", true, 31}};
  for (const auto& c : cases) {
    std::int32_t v = 0;
    EXPECT_EQ(ParseDescriptionInteger(c.text, v, c.cHex), c.value.has_value()) << c.text;
    if (c.value) EXPECT_EQ(v, *c.value) << c.text;
  }
  EXPECT_EQ(DescriptionInteger("0010"), 10);
  try {
    DescriptionInteger("00x1");
    ADD_FAILURE();
  } catch (const EDescriptionValue& e) {
    EXPECT_STREQ(e.what(), "'00x1' is not a valid integer value");
    EXPECT_EQ(e.Text(), "00x1");
  }

  const TSkinDescription d("[G]\nVERSION=10.25\nBAD=7,5\nEXP= 1e2 \nHEX=$10\nWORD=abc\n");
  EXPECT_DOUBLE_EQ(d.ReadFloat("G", "VERSION", 0), 10.25);
  EXPECT_DOUBLE_EQ(d.ReadFloat("G", "BAD", -1), -1);
  EXPECT_DOUBLE_EQ(d.ReadFloat("G", "EXP", 0), 100);
  EXPECT_DOUBLE_EQ(d.ReadFloat("G", "MISSING", 3), 3);
  EXPECT_EQ(d.ReadInteger("G", "HEX", 0), 16);
  EXPECT_EQ(d.ReadInteger("G", "WORD", 5), 5);
  double f = 0;
  EXPECT_FALSE(ParseDescriptionFloat(".", f));
  EXPECT_FALSE(ParseDescriptionFloat("1e", f));
  EXPECT_FALSE(ParseDescriptionFloat("1e999", f));
  EXPECT_TRUE(ParseDescriptionFloat("-.5", f));
  EXPECT_DOUBLE_EQ(f, -0.5);
}

TEST(SkinDescriptionInheritance, ValuesComeFromTheParentChain) {
  const TSkinDescription d(
      "[BUTTON]\nCOLOR=255\nGLOW=12\nGRADIENTDATA=0;1;100;0;0\nGIVEOWNFONT=TRUE\n"
      "[CHILD]\nPARENTCLASS=BUTTON\nGLOW=-1\nSTATES=x\nGRADIENTDATA=?\n"
      "[GRANDCHILD]\nPARENTCLASS=CHILD\nGIVEOWNFONT=true\n"
      "[SELF]\nPARENTCLASS=SELF\n"
      "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n"
      "[C]\nPARENTCLASS=A\n"
      "[ORPHAN]\nPARENTCLASS=MISSING\n"
      "[LOOSE]\nPARENTCLASS=?\n");
  EXPECT_EQ(d.InheritedInteger("CHILD", "COLOR"), 255);
  EXPECT_EQ(d.InheritedInteger("GRANDCHILD", "COLOR"), 255);
  // -1 and text that is no number are absence marks of integers; "?" of strings.
  EXPECT_EQ(d.InheritedInteger("CHILD", "GLOW"), 12);
  EXPECT_EQ(d.InheritedInteger("CHILD", "STATES"), std::nullopt);
  EXPECT_EQ(d.InheritedString("CHILD", "GRADIENTDATA"), "0;1;100;0;0");
  EXPECT_EQ(d.InheritedBool("CHILD", "GIVEOWNFONT"), true);
  EXPECT_EQ(d.InheritedBool("GRANDCHILD", "GIVEOWNFONT"), false);  // case-sensitive
  EXPECT_EQ(d.InheritedInteger("SELF", "COLOR"), std::nullopt);
  EXPECT_EQ(d.InheritedInteger("A", "COLOR"), std::nullopt);  // A -> B -> A ends
  EXPECT_EQ(d.InheritedInteger("C", "COLOR"), std::nullopt);
  EXPECT_EQ(d.InheritedInteger("ORPHAN", "COLOR"), std::nullopt);
  EXPECT_EQ(d.InheritedInteger("LOOSE", "COLOR"), std::nullopt);
  EXPECT_EQ(d.InheritedInteger("NOWHERE", "COLOR"), std::nullopt);
  // The parent's name is not itself inherited.
  EXPECT_EQ(d.ReadString("GRANDCHILD", "PARENTCLASS", ""), "CHILD");

  // By numbers as by names; a key named nowhere and a section out of range find nothing.
  const int grandchild = d.FindSection("GRANDCHILD"), color = d.FindKey("COLOR");
  EXPECT_EQ(d.InheritedInteger(grandchild, color), 255);
  EXPECT_EQ(d.InheritedString(d.FindSection("CHILD"), d.FindKey("GRADIENTDATA")), "0;1;100;0;0");
  EXPECT_EQ(d.InheritedBool(d.FindSection("CHILD"), d.FindKey("GIVEOWNFONT")), true);
  EXPECT_EQ(d.Value(grandchild, d.FindKey("PARENTCLASS")), "CHILD");
  EXPECT_EQ(d.FindKey("NOWHERE"), -1);
  EXPECT_EQ(d.InheritedInteger(grandchild, -1), std::nullopt);
  EXPECT_EQ(d.InheritedInteger(d.SectionCount(), color), std::nullopt);
  EXPECT_EQ(d.InheritedString(-1, color), std::nullopt);
  EXPECT_EQ(d.Value(d.SectionCount(), color), std::nullopt);
}

TEST(SkinDescriptionInheritance, LongChainsAreReadInTimeInProportionToTheSections) {
  // S0 -> S1 -> ... -> S(n-1), the last one with the value; and a ring of the same length.
  constexpr int n = 20000;
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += "[S" + std::to_string(i) + "]\n";
    if (i + 1 < n) text += "PARENTCLASS=S" + std::to_string(i + 1) + "\n";
    else text += "COLOR=77\n";
  }
  for (int i = 0; i < n; ++i) text += "[R" + std::to_string(i) + "]\nPARENTCLASS=R" + std::to_string((i + 1) % n) + "\n";
  const TSkinDescription d(text);
  for (int i = 0; i < n; i += 1) {
    ASSERT_EQ(d.InheritedInteger("S" + std::to_string(i), "COLOR"), 77) << i;
    ASSERT_EQ(d.InheritedInteger("R" + std::to_string(i), "COLOR"), std::nullopt) << i;
  }
  // Kinds are kept apart: "77" is a string value of the chain too, "-1" an absent integer.
  EXPECT_EQ(d.InheritedString("S0", "COLOR"), "77");
  const TSkinDescription marks("[A]\nPARENTCLASS=B\nX=-1\n[B]\nX=5\n");
  EXPECT_EQ(marks.InheritedInteger("A", "X"), 5);
  EXPECT_EQ(marks.InheritedString("A", "X"), "-1");
}

TEST(SkinDescriptionValues, ColoursAreRgbOrSystemColoursAndAnyOtherValueIsMissing) {
  // Both sides of each edge: the largest RGB value, the system's first and last colours.
  for (const std::int32_t colour : {0, 0xFFFFFF, static_cast<std::int32_t>(0x80000000u), static_cast<std::int32_t>(0x8000001Eu)})
    EXPECT_TRUE(IsDescriptionColor(colour)) << colour;
  for (const std::int32_t odd : {-1, 0x1000000, 0x7FFFFFFF, 0x1FFFFFFF, static_cast<std::int32_t>(0x8000001Fu),
                                 static_cast<std::int32_t>(0x80FFFFFFu), static_cast<std::int32_t>(0xFF000000u)})
    EXPECT_FALSE(IsDescriptionColor(odd)) << odd;

  const TSkinDescription d(
      "[G]\nCOLOR=-1\nFONTCOLOR=$FFFFFFFF\nBORDERCOLOR=$7FFFFFFF\nTCTOP=$FFFFFF\nTCBOTTOM=$80000005\nEDGE=$1000000\n"
      "[BUTTON]\nCOLOR=$102030\nFONTCOLOR=$405060\n"
      "[CHILD]\nPARENTCLASS=BUTTON\nCOLOR=$FFFFFFFF\nFONTCOLOR=2147483647\nGCOL=0\n"
      "[ALONE]\nCOLOR=-1\n");
  EXPECT_EQ(d.ReadColor("G", "COLOR", 7), 7);
  EXPECT_EQ(d.ReadColor("G", "FONTCOLOR", 7), 7);
  EXPECT_EQ(d.ReadColor("G", "BORDERCOLOR", 7), 7);
  EXPECT_EQ(d.ReadColor("G", "EDGE", 7), 7);
  EXPECT_EQ(d.ReadColor("G", "TCTOP", 7), 0xFFFFFF);
  EXPECT_EQ(d.ReadColor("G", "TCBOTTOM", 7), static_cast<std::int32_t>(0x80000005u));
  EXPECT_EQ(d.ReadColor("G", "MISSING", 7), 7);
  // An odd colour of a section is no colour: its parent's comes through, else none.
  EXPECT_EQ(d.InheritedColor("CHILD", "COLOR"), 0x102030);
  EXPECT_EQ(d.InheritedColor("CHILD", "FONTCOLOR"), 0x405060);
  EXPECT_EQ(d.InheritedColor("CHILD", "GCOL"), 0);
  EXPECT_EQ(d.InheritedColor("ALONE", "COLOR"), std::nullopt);
  EXPECT_EQ(d.InheritedColor(d.FindSection("CHILD"), d.FindKey("COLOR")), 0x102030);
  // As integers the odd values stay what they are (-1 the mark of absence).
  EXPECT_EQ(d.InheritedInteger("CHILD", "FONTCOLOR"), 0x7FFFFFFF);
  EXPECT_EQ(d.InheritedInteger("CHILD", "COLOR"), 0x102030);
}

TEST(ImageDescriptors, ValuesAreClassifiedByTheirFirstCharacter) {
  EXPECT_EQ(ClassifyImageValue("!a.png!1!0!0"), TImageValueKind::FileWithParams);
  EXPECT_EQ(ClassifyImageValue("@0000"), TImageValueKind::Part);
  EXPECT_EQ(ClassifyImageValue("^0000"), TImageValueKind::MaskPart);
  EXPECT_EQ(ClassifyImageValue("~0000"), TImageValueKind::TexturePart);
  EXPECT_EQ(ClassifyImageValue("paper.bmp"), TImageValueKind::TextureFile);
  EXPECT_EQ(ClassifyImageValue("Wood.jPg; grain"), TImageValueKind::TextureFile);
  EXPECT_EQ(ClassifyImageValue("x.jp"), TImageValueKind::NotImage);
  EXPECT_EQ(ClassifyImageValue("x.bm p"), TImageValueKind::NotImage);
  EXPECT_EQ(ClassifyImageValue("glyph.png"), TImageValueKind::NotImage);
  EXPECT_EQ(ClassifyImageValue("255"), TImageValueKind::NotImage);
  EXPECT_EQ(ClassifyImageValue(""), TImageValueKind::NotImage);
}

TEST(ImageDescriptors, EachKindIsReadAtItsColumns) {
  const TImageDescriptor part = ParseImageValue("@0010,0020,0070,0060,3,1");
  EXPECT_EQ(part.Kind, TImageValueKind::Part);
  EXPECT_EQ((Margins{part.Left, part.Top, part.Right, part.Bottom}), (Margins{10, 20, 70, 60}));
  EXPECT_EQ(part.ImageCount, 3);
  EXPECT_EQ(part.MaskType, 1);
  EXPECT_EQ(part.ImgType, kPartImage);

  const TImageDescriptor mask = ParseImageValue("^0001^0002^0003^0004^0005^0006^0007^0008^4^2^5^6");
  EXPECT_EQ((Margins{mask.Left, mask.Top, mask.Right, mask.Bottom}), (Margins{1, 2, 3, 4}));
  EXPECT_EQ(mask.Margins, (Margins{5, 6, 7, 8}));
  EXPECT_EQ(mask.ImageCount, 4);
  EXPECT_EQ(mask.MaskType, 2);
  EXPECT_EQ(mask.DrawMode, 5);
  EXPECT_EQ(mask.MarginAll, 6);

  const TImageDescriptor texture = ParseImageValue("~0000~0000~0032~0032~04");
  EXPECT_EQ(texture.Kind, TImageValueKind::TexturePart);
  EXPECT_EQ(texture.DrawMode, 4);
  EXPECT_EQ(texture.ImgType, kTextureImage);
  EXPECT_EQ(ParseImageValue("~0000~0000~0032~0032~04~1").MaskType, 1);
  EXPECT_TRUE(ParseImageValue("~0000~0000~0032~0032~04~1~").FileName.empty());
  EXPECT_EQ(ParseImageValue("~0000~0000~0032~0032~04~1~Paper.png").FileName, "Paper.png");

  const TImageDescriptor file = ParseImageValue("!Button.png!4!1!2");
  EXPECT_EQ(file.FileName, "Button.png");
  EXPECT_EQ(file.ImageCount, 4);
  EXPECT_EQ(file.MaskType, 1);
  EXPECT_EQ(file.ImgType, 2);
  EXPECT_EQ(file.Margins, Margins{});
  EXPECT_EQ(ParseImageValue("!Button.png!4!1!9!6!5!4!3").Margins, (Margins{6, 5, 4, 3}));
  EXPECT_EQ(ParseImageValue("!Button.png!4!1!9!6!5!4!3").ImgType, kMaxImageKind);
  // Words are runs between separators, however many stand together; words past the margins
  // are not read.
  const TImageDescriptor spaced = ParseImageValue("!!Button.png!!!4!1!!2!!6!5!4!3!!junk!more");
  EXPECT_EQ(spaced.FileName, "Button.png");
  EXPECT_EQ(spaced.ImageCount, 4);
  EXPECT_EQ(spaced.ImgType, 2);
  EXPECT_EQ(spaced.Margins, (Margins{6, 5, 4, 3}));

  const TImageDescriptor plain = ParseImageValue("Paper.BMP");
  EXPECT_EQ(plain.FileName, "Paper.BMP");
  EXPECT_EQ(plain.ImgType, kTextureImage);
}

TEST(ImageDescriptors, NumbersAreLimitedToWhatTheTableHolds) {
  const TImageDescriptor d = ParseImageValue("!a.png!70000!-5!-3!40000!-1!0!1");
  EXPECT_EQ(d.ImageCount, 0xFFFF);
  EXPECT_EQ(d.MaskType, -1);
  EXPECT_EQ(d.ImgType, 0);
  EXPECT_EQ(d.Margins, (Margins{0x7FFF, 0, 0, 1}));
  EXPECT_EQ(ParseImageValue("!a.png!1!9!0").MaskType, 2);
}

TEST(ImageDescriptors, MalformedOrShortTextsRaise) {
  for (const char* bad : {"@0010,0020,0070,0060,3",   // mask type column missing
                          "@0010,0020,0070,0060,3,x",  // not a number
                          "@00a0,0020,0070,0060,3,1", "^0000^0000^0010^0010^0001^0001^0001^0001^1^1^0",
                          "~0000~0000~0032~0032~0", "!a.png!1!0", "!a.png!1!x!0", "!a.png!1!0!0!1!2!3", "@",
                          "^", "~", "!"}) {
    EXPECT_THROW(ParseImageValue(bad), EDescriptionValue) << bad;
  }
}

TEST(ImageDescriptors, DefaultMarginsAreThirdsOfAFrameAndNeverDivideByZero) {
  EXPECT_EQ(ImageMargins({}, 0, 90, 40, 3, 1), (Margins{10, 6, 10, 6}));
  EXPECT_EQ(ImageMargins({}, 4, 90, 40, 3, 1), (Margins{4, 4, 4, 4}));
  EXPECT_EQ(ImageMargins({1, 0, 0, 0}, 4, 90, 40, 3, 1), (Margins{1, 0, 0, 0}));
  EXPECT_EQ(ImageMargins({}, 0, 90, 40, 0, -1), (Margins{0, 0, 0, 0}));
  EXPECT_EQ(ImageMargins({}, 0, -5, 40, 1, 0), (Margins{0, 13, 0, 13}));
}

}  // namespace
}  // namespace skin_layered::test
