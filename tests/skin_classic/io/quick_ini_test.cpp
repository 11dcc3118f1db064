// The skin description reader: kept lines, section lookup, key and value rules and the
// integer forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_classic/io/QuickIni.h"

namespace skin_classic {
namespace {

TQuickIni Loaded(std::string_view text) {
  TQuickIni ini;
  ini.Load(text);
  return ini;
}

TEST(QuickIni, KeepsTrimmedLinesWithoutBlanksAndCommentsAndSectionsInFileOrder) {
  const TQuickIni ini = Loaded(" \t[One]  \r\n\r\n; comment\r\n   ;indented comment\n\x01key=v\x01\rlast");
  EXPECT_EQ(ini.Lines(), (std::vector<std::string_view>{"[One]", "key=v", "last"}));
  EXPECT_EQ(Loaded("[Zeta]\n[ Alpha ]\nx=1\n[Zeta]\n[]\n[not a header\n").ReadSections(),
            (std::vector<std::string>{"Zeta", "Alpha", "Zeta", ""}));
  EXPECT_TRUE(Loaded("").ReadSections().empty());
}

TEST(QuickIni, KeysIgnoreCaseAndBlanksAroundTheEqualsSign) {
  const TQuickIni ini = Loaded("[Title]\r\nKey = spaced value \r\nother=1\r\n");
  EXPECT_EQ(ini.ReadString("Title", "key", "d"), "spaced value");
  EXPECT_EQ(ini.ReadString("Title", "KEY", "d"), "spaced value");
  EXPECT_EQ(ini.ReadString("title", "Key", "d"), "spaced value");  // section case ignored
  EXPECT_EQ(ini.ReadString("TITLE", "other", "d"), "1");
  EXPECT_EQ(ini.ReadString("Title", "missing", "d"), "d");
  EXPECT_EQ(ini.ReadString("Missing", "key", "d"), "d");
  EXPECT_EQ(Loaded("[Title]\nkey=a=b\n").ReadString("Title", "key", ""), "a=b");
}

TEST(QuickIni, KeyLookupStaysInsideItsSectionAndTheFirstKeyWins) {
  const TQuickIni ini = Loaded("early=0\n[A]\nx=1\n[B]\ny=2\n=value\nbare line\n[A]\nz=3\n");
  EXPECT_EQ(ini.ReadString("A", "early", "none"), "none");  // before any header
  EXPECT_EQ(ini.ReadString("A", "y", "none"), "none");      // belongs to B
  EXPECT_EQ(ini.ReadString("B", "y", "none"), "2");
  EXPECT_EQ(ini.ReadString("A", "z", "none"), "none");  // a repeated header: the first one is the section
  EXPECT_EQ(ini.ReadString("B", "", "d"), "d");         // lines without keys never match
  EXPECT_EQ(ini.ReadString("B", "bare line", "d"), "d");
  const TQuickIni twice = Loaded("[S]\nk=first\nk=second\nempty=\nempty=later\n");
  EXPECT_EQ(twice.ReadString("S", "k", "d"), "first");
  EXPECT_EQ(twice.ReadString("S", "empty", "d"), "d");
  EXPECT_EQ(twice.ReadInteger("S", "empty", 7), 7);
}

TEST(QuickIni, ReadsDecimalAndHexadecimalIntegers) {
  const TQuickIni ini = Loaded(
      "[N]\nhex=0x00FF00\nupper=0X1f\nbare=0x\ndollar=$10\ndec=-42\nplus=+7\nbad=12a\n"
      "max=2147483647\nmin=-2147483648\nover=2147483648\nwide=0xFFFFFFFF\ntoowide=0x100000000\n"
      "word=Yes\nspace=0x 1\n");
  EXPECT_EQ(ini.ReadInteger("N", "hex", -1), 65280);
  EXPECT_EQ(ini.ReadInteger("N", "upper", -1), 31);
  EXPECT_EQ(ini.ReadInteger("N", "bare", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "dollar", -1), 16);
  EXPECT_EQ(ini.ReadInteger("N", "dec", -1), -42);
  EXPECT_EQ(ini.ReadInteger("N", "plus", -1), 7);
  EXPECT_EQ(ini.ReadInteger("N", "bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "max", -1), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "min", -1), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("N", "over", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "wide", 0), -1);
  EXPECT_EQ(ini.ReadInteger("N", "toowide", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "word", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "space", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "absent", 9), 9);
}

TEST(QuickIni, ReloadReplacesEverything) {
  TQuickIni ini = Loaded("[A]\nx=1\n");
  ini.Load(std::string_view("[B]\ny=2\n"));
  EXPECT_EQ(ini.ReadString("A", "x", "gone"), "gone");
  EXPECT_EQ(ini.ReadInteger("B", "y", 0), 2);
  ini.Load(std::string_view(""));
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_EQ(ini.ReadString("B", "y", "gone"), "gone");
}

TEST(QuickIni, MultiByteTextPassesThrough) {
  // Code page 936 bytes are above 0x80: neither trimmed nor case-folded.
  const std::string text = "[\xC6\xA4\xB7\xF4]\nName=\xC0\xB6\xC9\xAB \xA1\xA1\n";
  const TQuickIni ini = Loaded(text);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"\xC6\xA4\xB7\xF4"}));
  EXPECT_EQ(ini.ReadString("\xC6\xA4\xB7\xF4", "name", ""), "\xC0\xB6\xC9\xAB \xA1\xA1");
}

}  // namespace
}  // namespace skin_classic
