// The description reader on synthetic packages: colour texts, picture names, the complete
// skin's elements, and descriptions with absurd values.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "skin_classic/data/SkinDescription.h"
#include "skin_classic/support/SkinBitmapWriter.h"
#include "skin_classic/support/SkinPackageWriter.h"
#include "skin_classic/support/SyntheticSkin.h"

namespace skin_classic {
namespace {

using namespace test_support;
using enum SkinElement;

DescriptionDefaults TestDefaults() {
  DescriptionDefaults d;
  for (std::size_t i = 0; i < kColourCount; ++i) d.colours[i] = static_cast<SkinColour>(0x010101 * (i + 100));
  return d;
}

struct LoadedSkin {
  TSkinReader reader;
  TQuickIni ini;
  SkinDescription description;
};

std::unique_ptr<LoadedSkin> Load(const PackageSpec& spec) {
  auto skin = std::make_unique<LoadedSkin>();
  EXPECT_EQ(skin->reader.Load(BuildPackage(spec)), SkinLoadResult::Loaded);
  if (const auto ini = skin->reader.ExtractByExt(".ini")) skin->ini.Load(ini->bytes);
  skin->description = ReadSkinDescription(skin->ini, skin->reader, TestDefaults());
  return skin;
}

// A package of one description and the given pictures.
std::unique_ptr<LoadedSkin> LoadDescription(const std::string& ini, std::vector<PackageEntry> pictures = {}) {
  PackageSpec spec;
  spec.entries = std::move(pictures);
  spec.entries.push_back({"skin.ini", ToBytes(ini)});
  return Load(spec);
}

TEST(SkinColourText, RunsOfDigitsGiveRedGreenBlue) {
  EXPECT_EQ(ParseColour("255,0,255"), 0xFF00FF);
  EXPECT_EQ(ParseColour("255 0 255"), 0xFF00FF);
  EXPECT_EQ(ParseColour("  255;0;255\t"), 0xFF00FF);
  EXPECT_EQ(ParseColour("R=1 G=2 B=3"), 0x030201);
  EXPECT_EQ(ParseColour("10 20"), 0x00140A);  // missing blue is 0
  EXPECT_EQ(ParseColour("1 2 3 4 5"), 0x030201);  // runs after the third are ignored
  EXPECT_EQ(ParseColour("300 0 0"), 300 & 0xFF);  // each run taken as a byte
  EXPECT_EQ(ParseColour("99999999999999999999 1 1"), 0x0101FF);  // 10^20 - 1 ends in the byte 255
  EXPECT_EQ(ParseColour("none"), 0);
  EXPECT_EQ(ParseColour(""), 0);
  EXPECT_EQ(ColourOrDefault("", 0x123456), 0x123456);
  EXPECT_EQ(ColourOrDefault("x", 0x123456), 0);
}

// A text no colour can have (a part below 0 or above 255, in any of the three places) is no
// colour: the default stands in for it; parts at 0 and 255 and runs past the third are the
// colour's as before.
TEST(SkinColourText, APartOutsideAByteMakesNoColour) {
  constexpr SkinColour kDefault = 0x123456;
  for (const char* odd : {"256 0 0", "0 256 0", "0 0 256", "-1 0 0", "0 -1 0", "0 0 -1", "-1 -1 -1", "4294967295 0 0",
                          "2147483647 2147483647 2147483647", "99999999999999999999 1 1", "R=-5 G=1 B=1"})
    EXPECT_EQ(ColourOrDefault(odd, kDefault), kDefault) << odd;
  EXPECT_EQ(ColourOrDefault("255 255 255", kDefault), 0xFFFFFF);
  EXPECT_EQ(ColourOrDefault("0 0 0", kDefault), 0);
  EXPECT_EQ(ColourOrDefault("255,0,128", kDefault), 0x8000FF);
  EXPECT_EQ(ColourOrDefault("1 2 3 -4 999", kDefault), 0x030201);  // runs after the third are ignored
  EXPECT_EQ(ColourOrDefault("1-2-3", kDefault), 0x030201);         // a separator, not a sign
}

TEST(SkinColourText, ReadRGBNeedsAllThreeParts) {
  TQuickIni ini;
  ini.Load(std::string_view("[P]\nAR=255\nAG=256\nAB=1\nBR=1\nBG=-1\nBB=1\nCR=2\nCG=3\n"));
  SkinColour c = kColourNotGiven;
  ReadRGB(ini, "P", "A", c);
  EXPECT_EQ(c, 0x0100FF);  // low bytes
  c = kColourNotGiven;
  ReadRGB(ini, "P", "B", c);
  EXPECT_EQ(c, kColourNotGiven);
  ReadRGB(ini, "P", "C", c);
  EXPECT_EQ(c, kColourNotGiven);
}

TEST(SkinPictureNames, FilePartWithLowerCaseBmpExtension) {
  EXPECT_EQ(SkinBitmapEntryName("Skin\\Sub\\Title.bmp"), "Title.bmp");
  EXPECT_EQ(SkinBitmapEntryName("c:Title.bmp"), "Title.bmp");
  EXPECT_EQ(SkinBitmapEntryName("title.bmp"), "title.bmp");
  EXPECT_FALSE(SkinBitmapEntryName("Title.BMP"));
  EXPECT_FALSE(SkinBitmapEntryName("Title.bmp.png"));
  EXPECT_FALSE(SkinBitmapEntryName("Title"));
  EXPECT_FALSE(SkinBitmapEntryName("Skin\\"));
  EXPECT_FALSE(SkinBitmapEntryName(""));
}

TEST(SkinPictureNames, PicturesAreFoundCaselessAndMustBeBmpFiles) {
  const auto skin = LoadDescription("", {{"Title.bmp", FramesBmp(7, 3, {MakeRgb(1, 2, 3)})},
                                         {"broken.bmp", ToBytes("BM not really")},
                                         {"empty.bmp", {}}});
  const PictureRef p = FindSkinPicture(skin->reader, "Folder\\TITLE.bmp");
  EXPECT_EQ(p.entry, "title.bmp");
  EXPECT_EQ(p.width, 7);
  EXPECT_EQ(p.height, 3);
  EXPECT_FALSE(FindSkinPicture(skin->reader, "Title.BMP").Present());
  EXPECT_FALSE(FindSkinPicture(skin->reader, "broken.bmp").Present());
  EXPECT_FALSE(FindSkinPicture(skin->reader, "empty.bmp").Present());
  EXPECT_FALSE(FindSkinPicture(skin->reader, "missing.bmp").Present());
  // A picture that is missing, or named as no BMP file, is no fault; one that is there and
  // cannot be read is.
  for (const char* name : {"missing.bmp", "Title.BMP", "Title.bmp"}) {
    std::optional<SkinFault> fault;
    FindSkinPicture(skin->reader, name, &fault);
    EXPECT_FALSE(fault) << name;
  }
  for (const char* name : {"broken.bmp", "empty.bmp"}) {
    std::optional<SkinFault> fault;
    FindSkinPicture(skin->reader, name, &fault);
    EXPECT_TRUE(fault) << name;
  }
}

// A BMP file's bytes with a 32-bit value written over them at `at`.
std::vector<std::uint8_t> With32(std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

// A 2 x 2 run-length picture of 8 bits whose pixel bytes are `pixels`.
std::vector<std::uint8_t> Rle8Bmp(const std::vector<std::uint8_t>& pixels) {
  ByteWriter w;
  const std::uint32_t offset = 14 + 40 + 2 * 4;
  w.Text("BM").Int32(static_cast<std::int32_t>(offset + pixels.size())).Int32(0).Int32(offset);
  w.Int32(40).Int32(2).Int32(2).Int32(1 | 8 << 16).Int32(1).Int32(static_cast<std::int32_t>(pixels.size()));
  w.Int32(0).Int32(0).Int32(2).Int32(0).Int32(0x000000).Int32(0xFFFFFF).Bytes(pixels);
  return w.Take();
}

// Each way a picture the package holds cannot be read is named with the picture: empty, no BMP,
// cut short in its header or in its pixels, a size no picture may have (refused, not damaged),
// a header of no known kind, run-length pixels that do not hold together. The same pictures
// whole, and a picture a byte longer than it needs, are read.
TEST(SkinPictureNames, APictureThatIsThereButCannotBeReadIsNamedWithItsFault) {
  const std::vector<std::uint8_t> whole = FramesBmp(10, 10, {0x010203});  // 54 + 10 rows of 32 bytes
  ASSERT_EQ(whole.size(), 374u);
  std::vector<std::uint8_t> cut = whole;
  cut.resize(whole.size() - 5);
  std::vector<std::uint8_t> lastRowUnpadded = whole;
  lastRowUnpadded.resize(whole.size() - 2);  // the last row's padding may be missing
  const std::vector<std::uint8_t> longer = [&] {
    std::vector<std::uint8_t> b = whole;
    b.push_back(0);
    return b;
  }();
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::optional<SkinFault> fault;
  } cases[] = {
      {"empty", {}, SkinFault{false, "its picture \"p.bmp\" is empty"}},
      {"text", ToBytes("not a picture at all"), SkinFault{false, "its picture \"p.bmp\" is not a BMP picture"}},
      {"header cut", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 30),
       SkinFault{false, "its picture \"p.bmp\" is cut short inside its header"}},
      {"huge", With32(With32(whole, 18, 100000), 22, 100000),
       SkinFault{true, "its picture \"p.bmp\" is 100000 x 100000 pixels, more than a skin picture may have"}},
      {"wide", With32(whole, 18, 32769),
       SkinFault{true, "its picture \"p.bmp\" is 32769 x 10 pixels, more than a skin picture may have"}},
      {"no width", With32(whole, 18, 0), SkinFault{false, "its picture \"p.bmp\" is damaged: it gives a size of 0 x 10 pixels"}},
      {"pixels cut", cut, SkinFault{false, "its picture \"p.bmp\" is cut short: its pixels take 318 bytes, 315 are there"}},
      {"unknown header", With32(whole, 14, 20),
       SkinFault{false, "its picture \"p.bmp\" is damaged: its header size 20 is none a BMP picture has"}},
      {"seven bits", With32(whole, 26, 1 | 7 << 16), SkinFault{false, "its picture \"p.bmp\" is damaged"}},
      {"run past its bytes", Rle8Bmp({0, 5, 1}),
       SkinFault{false, "its picture \"p.bmp\" is damaged: its run-length pixels do not hold together"}},
      {"whole", whole, std::nullopt},
      {"last row unpadded", lastRowUnpadded, std::nullopt},
      {"a byte longer", longer, std::nullopt},
      {"run-length", Rle8Bmp({2, 1, 0, 0, 2, 0, 0, 1}), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto skin = LoadDescription("[Personality]\nTop=P.bmp\n", {{"p.bmp", c.bytes}});
    std::optional<SkinFault> fault;
    const PictureRef p = FindSkinPicture(skin->reader, "p.bmp", &fault);
    EXPECT_EQ(p.Present(), !c.fault);
    EXPECT_EQ(fault.has_value(), c.fault.has_value());
    if (fault && c.fault) {
      EXPECT_EQ(fault->text, c.fault->text);
      EXPECT_EQ(fault->refused, c.fault->refused);
    }
    // The description naming it takes its fault.
    const auto& d = skin->description;
    EXPECT_EQ(d.fault.has_value(), c.fault.has_value());
    if (d.fault && c.fault) EXPECT_EQ(d.fault->text, c.fault->text);
  }
}

// The first faulty picture named is the description's fault, whichever element names it.
TEST(SkinPictureNames, TheFirstFaultyPictureNamedIsTheDescriptionsFault) {
  const auto skin = LoadDescription("[Personality]\nLeft=a.bmp\nTop=b.bmp\n[Tabs]\nImage=c.bmp\n",
                                    {{"a.bmp", FramesBmp(4, 4, {0x010203})}, {"b.bmp", {}}, {"c.bmp", ToBytes("x")}});
  ASSERT_TRUE(skin->description.fault);
  EXPECT_EQ(skin->description.fault->text, "its picture \"b.bmp\" is empty");
  const auto tabsOnly = LoadDescription("[Tabs]\nImage=c.bmp\n", {{"c.bmp", ToBytes("x")}});
  ASSERT_TRUE(tabsOnly->description.fault);
  EXPECT_EQ(tabsOnly->description.fault->text, "its picture \"c.bmp\" is not a BMP picture");
}

// The description: the first entry whose name holds ".ini", text with a line that counts.
TEST(SkinDescriptionCheck, AMissingEmptyOrBinaryDescriptionIsTheFault) {
  const struct {
    const char* name;
    std::vector<PackageEntry> entries;
    std::optional<std::string> fault;
  } cases[] = {
      {"missing", {{"p.bmp", FramesBmp(4, 4, {0x010203})}},
       "it holds no description (no entry whose name holds \".ini\")"},
      {"empty", {{"skin.ini", {}}}, "its description \"skin.ini\" is empty"},
      {"blank lines and notes", {{"skin.ini", ToBytes("\r\n  \t\n; a note\r\n")}},
       "its description \"skin.ini\" is empty"},
      {"binary", {{"Skin.INI", {0x5B, 0x41, 0x5D, 0x0D, 0x0A, 0x00, 0x01}}},
       "its description \"skin.ini\" is not text: it holds the byte 0 at offset 5"},
      {"control byte", {{"skin.ini", ToBytes("[A]\nB=\x02\n")}},
       "its description \"skin.ini\" is not text: it holds the byte 2 at offset 6"},
      {"end mark inside", {{"skin.ini", ToBytes("[A]\x1a\nB=1\n")}},
       "its description \"skin.ini\" is not text: it holds the byte 26 at offset 3"},
      {"one section", {{"skin.ini", ToBytes("[A]")}}, std::nullopt},
      {"one line", {{"skin.ini", ToBytes("x")}}, std::nullopt},
      {"tabs, page breaks, an end mark at the end and other code pages",
       {{"skin.ini", ToBytes("[A]\tx\v\f\r\nB=\xC4\xE3\xBA\xC3\n\x1a")}}, std::nullopt},
      {"the first of two", {{"a.ini", ToBytes("[A]\n")}, {"b.ini", {}}}, std::nullopt},
      {"the first of two, empty", {{"a.ini", {}}, {"b.ini", ToBytes("[A]\n")}}, "its description \"a.ini\" is empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PackageSpec spec;
    spec.entries = c.entries;
    TSkinReader reader;
    ASSERT_EQ(reader.Load(BuildPackage(spec)), SkinLoadResult::Loaded);
    const std::optional<SkinFault> fault = DescriptionFault(reader);
    EXPECT_EQ(fault.has_value(), c.fault.has_value());
    if (fault && c.fault) {
      EXPECT_EQ(fault->text, *c.fault);
      EXPECT_FALSE(fault->refused);
    }
  }
}

class CompleteSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin_ = Load(CompleteSkinSpec()).release(); }
  static void TearDownTestSuite() {
    delete skin_;
    skin_ = nullptr;
  }
  static const SkinDescription& D() { return skin_->description; }
  static const ElementRecord& E(SkinElement e) {
    const auto& r = D().Element(e);
    EXPECT_TRUE(r.has_value()) << ElementSection(e);
    static const ElementRecord none;
    return r ? *r : none;
  }
  static LoadedSkin* skin_;
};
LoadedSkin* CompleteSkin::skin_ = nullptr;

// An element's margins (left, top, right, bottom) and frame count.
auto Layout(const ElementRecord& r) {
  return std::make_tuple(r.leftWidth, r.topHeight, r.rightWidth, r.bottomHeight, r.frame);
}

TEST_F(CompleteSkin, BordersTakeTheirMarginsFramesAndFlags) {
  EXPECT_EQ(D().skinName, "Synthetic");
  const ElementRecord& left = D().Border(SkinBorder::Left);
  EXPECT_EQ(left.picture.entry, "left.bmp");
  EXPECT_EQ(left.kind, SkinObjectKind::Border);
  EXPECT_EQ(Layout(left), std::make_tuple(0, 10, 0, 5, 2));
  EXPECT_EQ(std::make_pair(left.tile, left.trans), std::make_pair(0, 1));
  const ElementRecord& right = D().Border(SkinBorder::Right);
  EXPECT_EQ(std::make_pair(right.tile, right.trans), std::make_pair(1, 0));  // Stretch above 1 becomes 1
  // TopTopHeight and TopBotHeight are the top border's left and right margins.
  EXPECT_EQ(Layout(D().Border(SkinBorder::Top)), std::make_tuple(8, 0, 9, 0, 2));
  EXPECT_EQ(D().Border(SkinBorder::Top).picture.height, 48);
  const ElementRecord& bottom = D().Border(SkinBorder::Bottom);
  EXPECT_EQ(std::make_pair(bottom.tile, bottom.trans), std::make_pair(1, 1));  // the defaults
}

TEST_F(CompleteSkin, ColourTableWithGivenFlagsExtraAndCustomColours) {
  const DescriptionDefaults defaults = TestDefaults();
  EXPECT_EQ(D().colours[3], static_cast<SkinColour>(kSkinButtonFace));
  EXPECT_EQ(D().colours[4], static_cast<SkinColour>(kSkinButtonText));
  EXPECT_TRUE(D().colourGiven[3]);
  // An empty "Menubar" is not given and takes the button face just read.
  EXPECT_FALSE(D().colourGiven[13]);
  EXPECT_EQ(D().colours[13], static_cast<SkinColour>(kSkinButtonFace));
  EXPECT_FALSE(D().colourGiven[0]);
  EXPECT_EQ(D().colours[0], defaults.colours[0]);
  // "COLOUR1" and "Colour2" add extra colours (the second without a value: window text).
  EXPECT_EQ(D().extraColours, (std::vector<SkinColour>{0x1E140A, defaults.colours[0]}));
  EXPECT_EQ(D().customColours[0], 0x010101);
  EXPECT_EQ(D().customColours[5], 0xFFFFFF);
}

// A colour of the table no colour can have is the default, as one not given: the button face
// beyond a byte, the text negative; a menu bar without its own takes the default face then.
TEST(SkinColourTable, AColourNoColourCanHaveIsTheDefault) {
  const DescriptionDefaults defaults = TestDefaults();
  const auto skin = LoadDescription("[Colours]\nButtonFace=256 200 200\nButtonText=-1 -1 -1\nHilight=255 0 0\n"
                                    "Menu=0 0 -1\nMenuText=4294967295 0 0\n");
  const SkinDescription& d = skin->description;
  EXPECT_EQ(d.colours[3], defaults.colours[3]);
  EXPECT_EQ(d.colours[4], defaults.colours[4]);
  EXPECT_EQ(d.colours[13], defaults.colours[3]);
  EXPECT_EQ(d.colours[16], defaults.colours[16]);
  EXPECT_EQ(d.colours[15], defaults.colours[15]);
  EXPECT_EQ(d.colours[12], 0x0000FF);
}

TEST_F(CompleteSkin, CaptionButtonsWithInferredFramesAndTheMdiButtons) {
  const auto& b = D().captionButtons;
  ASSERT_EQ(b.size(), 6u);  // Close, Max, Icon; Hidden is left out; three MDI buttons
  EXPECT_EQ(b[0].name, "Button.Close");
  EXPECT_EQ(std::make_tuple(b[0].frame, b[0].xcoord, b[0].combineOp, b[0].visibility1), std::make_tuple(3, 20, -1, 0));
  EXPECT_EQ(std::make_tuple(b[1].frame, b[1].combineOp, b[1].visibility1), std::make_tuple(6, 5, 2));  // 60 x 10
  EXPECT_FALSE(b[2].picture.Present());  // an icon button's picture is the window's icon
  EXPECT_EQ(b[2].frame, 3);              // inferred from the picture before it is dropped
  for (int j = 0; j < 3; ++j) {
    const ElementRecord& m = b[3 + j];
    EXPECT_EQ(std::make_tuple(m.action, m.align, m.visibility1, m.frame, m.xcoord),
              std::make_tuple(7 + j, 100, 100, 4, 12 * (3 - j)));
    EXPECT_EQ(m.picture.entry, "mdi.bmp");
    ASSERT_TRUE(m.picture.crop);
    EXPECT_EQ(m.picture.crop->left, 32 * j);  // frames 4j .. 4j + 3 of width 8
    EXPECT_EQ(m.picture.Width(), 32);
  }
}

TEST_F(CompleteSkin, ButtonsTitleAndMenuBar) {
  const ElementRecord& b = D().buttons;
  EXPECT_EQ(b.frame, 5);
  EXPECT_EQ(b.checkButtonFrame, 8);  // 104 wide, 12 high: width div 13
  EXPECT_EQ(b.radioButtonFrame, 6);  // 96 wide, 16 high: width div 16
  EXPECT_EQ(b.normalColour, 0x0000FF);
  EXPECT_EQ(b.mouseOverColour, kNoColour);
  EXPECT_EQ(b.mouseOverColour2, static_cast<SkinColour>(kSkinButtonText));  // default: entry 4
  EXPECT_TRUE(b.normalColour2Given);
  EXPECT_FALSE(b.mouseOverColour2Given);

  const ElementRecord& t = D().title;
  EXPECT_EQ(std::make_tuple(t.frame, t.leftWidth, t.rightWidth, t.fontHeight), std::make_tuple(2, 5, 7, 13));
  EXPECT_EQ(t.activeText, 0x00FFFF);
  EXPECT_EQ(t.inactiveText, kColourNotGiven);  // a negative part: not given
  EXPECT_EQ(Layout(E(MenuBar)), std::make_tuple(2, 0, 3, 0, 2));
  EXPECT_EQ(E(MenuBar).tile, 1);
}

TEST_F(CompleteSkin, ElementVariants) {
  // A frame count from the description where the element allows one, else the element's own.
  EXPECT_EQ(E(HorzScrollThumb).frame, 2);
  EXPECT_EQ(E(VertScrollThumb).frame, 3);
  EXPECT_EQ(E(Scrollbar).frame, 23);
  EXPECT_FALSE(D().Element(ComboxArrow));
  EXPECT_FALSE(D().Element(Toolbar));

  EXPECT_EQ(E(Progress).kind, SkinObjectKind::Border);
  EXPECT_EQ(E(Progress).tile, 1);  // a Tile above 1 becomes 1 for the progress bar
  EXPECT_EQ(E(Tabs).picture2.entry, "tabborder.bmp");
  EXPECT_EQ(E(UpDownVert).picture2.entry, "updownvglyph.bmp");
  EXPECT_EQ(E(GroupBox).kind, SkinObjectKind::BoxLabel);
  EXPECT_EQ(std::make_tuple(E(GroupBox).backgroundAlignment, E(GroupBox).backgroundLeftShift,
                            E(GroupBox).backgroundRightShift),
            std::make_tuple(2, 3, 4));
  EXPECT_EQ(Layout(E(TabPane)), std::make_tuple(4, 4, 4, 2, 1));  // margins limited to 4
  // "Track" is missing: the engine's own picture with margins 3, stretched, one frame.
  EXPECT_TRUE(E(Track).builtIn);
  EXPECT_FALSE(E(Track).picture.Present());
  EXPECT_EQ(Layout(E(Track)), std::make_tuple(3, 3, 3, 3, 1));
  EXPECT_EQ(E(Track).tile, 0);
  EXPECT_FALSE(E(TrackVert).builtIn);
  EXPECT_EQ(E(TrackVert).leftWidth, 1);
}

TEST(SkinDescriptionRead, CaptionButtonFramesFollowThePictureShape) {
  const auto skin = LoadDescription(
      "[Button.A]\nAction=0\nButtonImage=wide.bmp\n[Button.B]\nAction=0\nButtonImage=flat.bmp\n"
      "[Button.C]\nAction=-2\nButtonImage=wide.bmp\n[Button.D]\nAction=0\nframe=2\nButtonImage=flat.bmp\n"
      "[Button.E]\nAction=0\n[Button.F]\nAction=-1\nVisibility=0\nButtonImage=wide.bmp\n"
      "[Button.G]\nAction=11\nButtonImage=wide.bmp\n[BUTTONS]\n[Button.Radio]\n[button]\n[Button.CheckBox]\n",
      {{"wide.bmp", FramesBmp(100, 30, {0x111111})}, {"flat.bmp", FramesBmp(100, 20, {0x222222})}});
  const auto& b = skin->description.captionButtons;
  ASSERT_EQ(b.size(), 7u + 3u);
  EXPECT_EQ(b[0].frame, 3);  // 100 x 30
  EXPECT_EQ(b[1].frame, 6);  // 100 x 20
  EXPECT_EQ(b[2].frame, 6);  // a negative action
  EXPECT_EQ(b[3].frame, 2);  // given
  EXPECT_EQ(b[4].frame, 6);  // no picture
  EXPECT_EQ(b[5].name, "Button.F");  // action -1 but visible 0: kept
  EXPECT_EQ(b[5].visibility1, -1);
  EXPECT_EQ(b[6].action, 11);
  EXPECT_FALSE(b[6].picture.Present());
  EXPECT_FALSE(b[7].picture.Present());  // no MDICONTROLS: MDI buttons without pictures
  EXPECT_EQ(b[7].xcoord, 0);
}

TEST(SkinDescriptionRead, AbsurdValuesGiveDefaultsAndElementsWithoutPictures) {
  const auto skin = LoadDescription(
      "[Personality]\nLeft=l.bmp\nLeftFrame=0\nLeftTopHeight=-40\nTop=l.bmp\nTopFrame=-7\nTopTopHeight=2147483647\n"
      "[Buttons]\nRadioButtonFrame=-3\nCheckButtonFrame=0\nLeftWidth=-1\n"
      "[Progress]\nBitmap=notbmp.bmp\nStyle=9\n[Progress.Chunk]\nImage=l.bmp\nFrame=-1\n"
      "[Headerbar]\nImage=l.bmp\nFrame=3\n[HorzScrollThumb]\nImage=l.bmp\nFrameCount=0\n"
      "[VertScrollThumb]\nImage=l.bmp\nFrameCount=-2147483648\n[Track]\nImage=Track.BMP\n"
      "[SunkEdge]\nImage=l.bmp\nLeftWidth=100000\nTile=-3\n[MDICONTROLS]\nImage=l.bmp\n[Button.X]\nframe=-5\n",
      {{"l.bmp", FramesBmp(11, 5, {0x010203})}, {"notbmp.bmp", ToBytes("just text")}});
  const SkinDescription& d = skin->description;
  EXPECT_EQ(d.Border(SkinBorder::Left).frame, 1);
  EXPECT_EQ(d.Border(SkinBorder::Left).topHeight, 0);
  EXPECT_EQ(d.Border(SkinBorder::Top).frame, 1);
  EXPECT_EQ(d.Border(SkinBorder::Top).leftWidth, 2147483647);  // painters clamp to the picture
  EXPECT_EQ(d.buttons.radioButtonFrame, 4);  // below 1, as 0: no radio picture, at least 4
  EXPECT_EQ(d.buttons.checkButtonFrame, 4);  // no check picture: at least 4
  EXPECT_EQ(d.buttons.leftWidth, 0);
  ASSERT_TRUE(d.Element(Progress));
  EXPECT_FALSE(d.Element(Progress)->picture.Present());  // not a BMP: no picture
  EXPECT_EQ(d.Element(Progress)->frame, 1);              // style not 0
  EXPECT_EQ(d.Element(ProgressChunk)->frame, 1);
  EXPECT_EQ(d.Element(Headerbar)->frame, 3);
  EXPECT_EQ(d.Element(HorzScrollThumb)->frame, 3);  // below 1: the usual count
  EXPECT_EQ(d.Element(VertScrollThumb)->frame, 3);
  EXPECT_TRUE(d.Element(Track)->builtIn);  // capital extension: no picture, so the built-in one
  EXPECT_EQ(d.Element(SunkEdge)->leftWidth, 100000);
  EXPECT_EQ(d.Element(SunkEdge)->tile, 0);
  // MDI pictures narrower than 12 pixels cannot hold the 12 frames.
  EXPECT_FALSE(d.captionButtons.back().picture.Present());
  EXPECT_EQ(d.captionButtons.front().frame, 1);
  EXPECT_FALSE(d.Element(Tabs));  // no section: empty slot
  // The text named as a picture is the description's fault.
  ASSERT_TRUE(d.fault);
  EXPECT_EQ(d.fault->text, "its picture \"notbmp.bmp\" is not a BMP picture");
}

// Check and radio frame counts below 1 are told by the pictures as 0 is: a 12-frame strip of
// 13-pixel marks (16-pixel radio marks) stated as -12, 0 or -1 has 12 frames; 1 and 2 are kept.
// So is a count of frames narrower than a pixel: one more than the strip's width is the picture's,
// the width itself is kept.
TEST(SkinDescriptionRead, MarkFrameCountsBelowOneOrBeyondThePictureAreToldByThePictures) {
  constexpr int kCheckWidth = 12 * 13, kRadioWidth = 12 * 16;
  struct Case {
    int stated, check, radio;
  };
  for (const Case& c : std::vector<Case>{{-12, 12, 12},
                                         {-1, 12, 12},
                                         {0, 12, 12},
                                         {1, 1, 1},
                                         {2, 2, 2},
                                         {kCheckWidth, kCheckWidth, kCheckWidth},
                                         {kCheckWidth + 1, 12, kCheckWidth + 1},
                                         {kRadioWidth + 1, 12, 12},
                                         {2147483647, 12, 12}}) {
    SCOPED_TRACE(c.stated);
    const std::string count = std::to_string(c.stated);
    const auto skin = LoadDescription("[Buttons]\nCheckButton=c.bmp\nRadioButton=r.bmp\nCheckButtonFrame=" + count +
                                          "\nRadioButtonFrame=" + count + "\n",
                                      {{"c.bmp", FramesBmp(kCheckWidth, 13, {0x010203})},
                                       {"r.bmp", FramesBmp(kRadioWidth, 16, {0x030201})}});
    EXPECT_EQ(skin->description.buttons.checkButtonFrame, c.check);
    EXPECT_EQ(skin->description.buttons.radioButtonFrame, c.radio);
  }
}

// Scroll thumb and header frame counts of frames narrower than a pixel are the usual ones (3 and
// 5), also for a picture narrower than that (it is then no picture to draw from); the picture's
// width itself is kept. So are counts below 1 (one frame would lay every state's strip over each
// item or thumb); 1 is kept.
TEST(SkinDescriptionRead, ThumbAndHeaderFrameCountsBeyondThePictureOrBelowOneAreTheUsualOnes) {
  struct Case {
    int stated, width, thumb, header;
  };
  for (const Case& c : std::vector<Case>{{1, 30, 1, 1},
                                         {0, 30, 3, 5},
                                         {-1, 30, 3, 5},
                                         {-2147483647, 30, 3, 5},
                                         {30, 30, 30, 30},
                                         {31, 30, 3, 5},
                                         {2147483647, 30, 3, 5},
                                         {4, 4, 4, 4},
                                         {5, 4, 3, 5},
                                         {3, 2, 3, 5}}) {
    SCOPED_TRACE(std::to_string(c.stated) + " of " + std::to_string(c.width));
    const std::string count = std::to_string(c.stated);
    const auto skin = LoadDescription("[HorzScrollThumb]\nImage=p.bmp\nFrameCount=" + count +
                                          "\n[VertScrollThumb]\nImage=p.bmp\nFrameCount=" + count +
                                          "\n[Headerbar]\nImage=p.bmp\nFrame=" + count + "\n",
                                      {{"p.bmp", FramesBmp(c.width, 4, {0x010203})}});
    const SkinDescription& d = skin->description;
    EXPECT_EQ(d.Element(SkinElement::HorzScrollThumb)->frame, c.thumb);
    EXPECT_EQ(d.Element(SkinElement::VertScrollThumb)->frame, c.thumb);
    EXPECT_EQ(d.Element(SkinElement::Headerbar)->frame, c.header);
  }
}

TEST(SkinDescriptionRead, CountlessButtonSectionsStopAtTheLimit) {
  std::string ini;
  for (int i = 0; i < 3000; ++i) ini += "[Button." + std::to_string(i) + "]\nAction=0\n[Colour" + std::to_string(i) + "]\n";
  const auto skin = LoadDescription(ini);
  ASSERT_EQ(skin->description.captionButtons.size(), kMaxCaptionButtons + 3);
  EXPECT_EQ(skin->description.captionButtons[99].name, "Button.99");
  EXPECT_EQ(skin->description.extraColours.size(), 3000u);
}

// Pictures past the skin's pixel budget are refused, the picture that goes past it named; up to
// the budget they are read.
TEST(SkinDescriptionRead, PicturesBeyondTheSkinsPixelBudgetAreRefused) {
  PackageSpec spec;
  spec.entries = {{"skin.ini", ToBytes("[Personality]\nLeft=p.bmp\nRight=p.bmp\nTop=p.bmp\n[Tabs]\nImage=small.bmp\n")},
                  {"p.bmp", FramesBmp(10, 10, {0x111111})},
                  {"small.bmp", FramesBmp(2, 2, {0x222222})}};
  LoadedSkin skin;
  ASSERT_EQ(skin.reader.Load(BuildPackage(spec)), SkinLoadResult::Loaded);
  skin.ini.Load(skin.reader.Extract("skin.ini")->bytes);
  DescriptionDefaults limits = TestDefaults();
  limits.maxPicturePixels = 250;  // room for two uses of the 100-pixel picture
  const SkinDescription d = ReadSkinDescription(skin.ini, skin.reader, limits);
  EXPECT_TRUE(d.Border(SkinBorder::Left).picture.Present());
  EXPECT_TRUE(d.Border(SkinBorder::Right).picture.Present());
  EXPECT_FALSE(d.Border(SkinBorder::Top).picture.Present());
  ASSERT_TRUE(d.fault);
  EXPECT_TRUE(d.fault->refused);
  EXPECT_EQ(d.fault->text, "with its picture \"p.bmp\" its pictures would take more than the 250 pixels a skin may have");
  // Room for all three uses and the small one: no fault.
  limits.maxPicturePixels = 304;
  EXPECT_FALSE(ReadSkinDescription(skin.ini, skin.reader, limits).fault);
  limits.maxPicturePixels = 303;
  EXPECT_TRUE(ReadSkinDescription(skin.ini, skin.reader, limits).fault);
}

TEST(SkinDescriptionRead, EmptyDescriptionGivesDefaults) {
  const auto skin = LoadDescription("");
  const SkinDescription& d = skin->description;
  const DescriptionDefaults defaults = TestDefaults();
  EXPECT_EQ(d.skinName, "");
  EXPECT_EQ(d.colours[7], defaults.colours[7]);
  EXPECT_EQ(d.colours[13], defaults.colours[3]);
  EXPECT_EQ(d.captionButtons.size(), 3u);
  EXPECT_FALSE(d.Border(SkinBorder::Left).picture.Present());
  EXPECT_EQ(d.Border(SkinBorder::Left).frame, 1);
  EXPECT_EQ(d.buttons.normalColour2, defaults.colours[4]);
  for (std::size_t i = 0; i < kElementCount; ++i) {
    const auto e = static_cast<SkinElement>(i);
    EXPECT_EQ(d.Element(e).has_value(), e == Track || e == TrackVert) << ElementSection(e);
  }
}

}  // namespace
}  // namespace skin_classic
