// The skin description reader on synthetic skins.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "classlib/graphics/GraphicsColors.h"
#include "classlib/graphics/Jpeg.h"
#include "manager_support.h"
#include "skin_layered/core/SkinLoading.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinPack.h"
#include "skin_layered/manager/SkinReader.h"
#include "skin_layered/manager/SkinReading.h"
#include "skin_layered/paint/PngGraphic.h"
#include "skin_layered/paint/pixels/PixelTransforms.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// A 64 x 48 master bitmap: red everywhere but for a key-coloured pixel at (1, 1), inside
// the border strips of the part at the origin, and one at (40, 25), in the middle of a part.
std::uint32_t MasterPixel(int x, int y) {
  if ((x == 1 && y == 1) || (x == 40 && y == 25)) return 0xFF00FF;
  return x >= 48 ? 0x808080 : 0xFF0000;
}

// The message of the error a call raises, or "loaded".
template <class F>
vcl::String RefusalOf(F&& Call) {
  try {
    Call();
  } catch (const vcl::Exception& e) {
    return e.Message();
  }
  return L"loaded";
}

class SkinReader : public ::testing::Test {
 protected:
  void SetUp() override {
    request.SkinDirectory = skins.Directory();
    request.SkinName = L"Test";
  }
  TsSkinLoadResult Load(const std::string& options) {
    skins.Write(L"Test", L"Options.dat", BytesOf(options));
    return LoadSkin(request, skin);
  }
  const TsGeneralData& Section(const wchar_t* name) {
    const int index = skin.GetSkinIndex(name);
    EXPECT_GE(index, 0) << name;
    return skin.Sections.at(static_cast<std::size_t>(std::max(index, 0)));
  }
  const TsMaskData& Image(const wchar_t* section, const wchar_t* key) {
    const int index = skin.FindImageByNames(section, key);
    EXPECT_GE(index, 0) << section << L" " << key;
    return skin.Images.at(static_cast<std::size_t>(std::max(index, 0)));
  }
  // An image's kind (count, mask type, draw mode, image type) and its margins.
  static std::array<int, 4> Kind(const TsMaskData& m) { return {m.ImageCount, m.MaskType, m.DrawMode, m.ImgType}; }
  static std::array<int, 4> Margins(const TsMaskData& m) {
    return {m.WidthLeft, m.WidthTop, m.WidthRight, m.WidthBottom};
  }

  TempSkins skins;
  TsSkinLoadRequest request;
  TsLoadedSkin skin;
};

TEST_F(SkinReader, SectionsInheritFromTheirParentsAndTakeDefaults) {
  ASSERT_EQ(Load("[GLOBALINFO]\r\nTITLEHEIGHT=0\r\n"
                 "[BUTTON]\r\nCOLOR=$0000FF\r\nGLOW=300\r\nHOTCOLOR=$00FF00\r\nGRADIENTDATA=$FF;$FF0000;40;1;0\r\n"
                 "[CHILD]\r\nPARENTCLASS=BUTTON\r\nSTATES=1\r\nFONTCOLOR=$123456\r\nTCLEFT=-1\r\n"
                 "[SELFISH]\r\nPARENTCLASS=SELFISH\r\n"
                 "[LOWER]\r\nColor=255\r\n"
                 "[A]\r\nPARENTCLASS=B\r\n[B]\r\nPARENTCLASS=A\r\nGLOW=5\r\n"
                 "[SYSTEM]\r\nCOLOR=$8000000F\r\nSTATES=600\r\n"),
            TsSkinLoadResult::Loaded);
  std::vector<vcl::String> names;
  for (const TsGeneralData& s : skin.Sections) names.push_back(s.ClassName);
  EXPECT_EQ(names, (std::vector<vcl::String>{L"GLOBALINFO", L"BUTTON", L"CHILD", L"SELFISH", L"LOWER", L"A", L"B",
                                             L"SYSTEM", L"TRANSPARENT"}));
  EXPECT_EQ(skin.SkinData.TitleHeight, 30);
  EXPECT_EQ(skin.SkinData.MaxHeight, 30);

  const TsGeneralData& button = Section(L"BUTTON");
  EXPECT_EQ(button.States, 3);
  EXPECT_EQ(button.Glow, 255);
  EXPECT_EQ(button.Props[0].Color, 0x0000FF);
  EXPECT_EQ(button.Props[1].Color, 0x00FF00);
  ASSERT_EQ(button.Props[0].GradientArray.size(), 1u);
  const TsGradStop& stop = button.Props[0].GradientArray[0];
  EXPECT_EQ((std::array<std::int64_t, 3>{stop.Color2, stop.Percent, stop.Mode}),
            (std::array<std::int64_t, 3>{0xFF0000, 40, 1}));
  EXPECT_TRUE(button.Props[1].GradientArray.empty());  // the hot state starts from the defaults

  const TsGeneralData& child = Section(L"CHILD");
  EXPECT_EQ(child.States, 1);
  EXPECT_EQ(child.Glow, 255);
  EXPECT_EQ(child.Props[0].Color, 0x0000FF);
  EXPECT_EQ(child.Props[0].FontColor, 0x123456);
  EXPECT_EQ(child.Props[0].GradientData, L"$FF;$FF0000;40;1;0");
  // One state: the hot state is the normal one.
  EXPECT_EQ(child.Props[1].Color, child.Props[0].Color);
  EXPECT_EQ(child.Props[1].FontColor, 0x123456);
  EXPECT_EQ(child.Props[1].GradientArray.size(), 1u);

  EXPECT_EQ(Section(L"SELFISH").Props[0].Color, 0xFFFFFF);
  EXPECT_EQ(Section(L"LOWER").Props[0].Color, 0xFFFFFF);  // "Color" is not "COLOR"
  EXPECT_EQ(Section(L"A").Glow, 5);                       // A -> B, then back: ends
  EXPECT_EQ(Section(L"SYSTEM").Props[0].Color, vcl::ColorToRGB(vcl::clBtnFace));
  EXPECT_EQ(Section(L"SYSTEM").States, 255);

  const TsGeneralData& transparent = Section(L"TRANSPARENT");
  for (const TsGenState& state : transparent.Props) {
    EXPECT_EQ(state.Transparency, 100);
    EXPECT_EQ(state.TCLeft, -1);
    EXPECT_EQ(state.TCBottom, -1);
  }
  EXPECT_EQ(skin.ConstData.CommonSection(TqvCommonSection::Transparent), 8);
  EXPECT_EQ(skin.ConstData.IndexGLOBALINFO, 0);
}

TEST_F(SkinReader, EachDescriptorKindIsReadAtItsColumns) {
  skins.Write(L"Test", L"master.bmp", Bmp24(64, 48, MasterPixel));
  skins.Write(L"Test", L"glyph.png", Png24(20, 10, Flat(0x00FF00)));
  skins.Write(L"Test", L"Tex.bmp", Bmp24(8, 8, Flat(0x0000FF)));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n"
                 "[BUTTON]\r\n"
                 "BORDERSMASK=^0000,0000,0030,0020,0002,0003,0004,0005,3,1,5,0\r\n"
                 "GLYPHMASK=@0030,0000,0042,0010,2,0\r\n"
                 "PATTERN=~0000~0020~0016~0036~04~0\r\n"
                 "HOTPATTERN=TEX.BMP\r\n"
                 "SLIDERMASK=!glyph.png!2!1!3\r\n"
                 "OUTERMASK=!glyph.png!2!1!7!1!2!3!4\r\n"
                 "FAR=^0050,0040,0064,0048,0000,0000,0000,0000,1,0,0,4\r\n"
                 "OWNTEXTURE=~0002~0002~0006~0006~01~1~tex.bmp\r\n"
                 "MISSING=!none.png!1!0!0\r\n"
                 "NOTANIMAGE=some text\r\n"),
            TsSkinLoadResult::Loaded);
  ASSERT_TRUE(skin.MasterBitmap);
  EXPECT_EQ(skin.MasterBitmap->PixelFormat(), vcl::pf32bit);
  EXPECT_EQ(PixelOf(skin.MasterBitmap.get(), 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelOf(skin.MasterBitmap.get(), 1, 1), 0x00FF00FFu);  // the key colour is a hole
  EXPECT_EQ(skin.MasterBitmap->TransparentColor() & 0xFFFFFF, 0xFF00FF);

  const TsMaskData& border = Image(L"BUTTON", L"BORDERSMASK");
  EXPECT_EQ(border.R, (vcl::TRect{0, 0, 30, 20}));
  EXPECT_EQ(Kind(border), (std::array<int, 4>{3, 1, 5, 2}));
  EXPECT_EQ(Margins(border), (std::array<int, 4>{2, 3, 4, 5}));
  EXPECT_FALSE(border.Bmp);
  EXPECT_EQ(border.Manager, &skin);

  const TsMaskData& glyph = Image(L"BUTTON", L"GLYPHMASK");
  EXPECT_EQ(glyph.R, (vcl::TRect{30, 0, 42, 10}));
  EXPECT_EQ(Kind(glyph), (std::array<int, 4>{2, 0, 0, 2}));
  EXPECT_EQ(Margins(glyph), (std::array<int, 4>{2, 3, 2, 3}));  // a third of a frame, of a state

  const TsMaskData& pattern = Image(L"BUTTON", L"PATTERN");
  EXPECT_EQ(pattern.R, (vcl::TRect{0, 20, 16, 36}));
  EXPECT_EQ(Kind(pattern), (std::array<int, 4>{1, 0, 4, 1}));

  const TsMaskData& hotPattern = Image(L"BUTTON", L"HOTPATTERN");
  ASSERT_TRUE(hotPattern.Bmp);
  EXPECT_EQ(hotPattern.R, (vcl::TRect{0, 0, 8, 8}));
  EXPECT_EQ(hotPattern.ImgType, 1);
  EXPECT_EQ(PixelOf(hotPattern.Bmp.get(), 3, 3), 0xFF0000FFu);

  const TsMaskData& slider = Image(L"BUTTON", L"SLIDERMASK");
  const TsMaskData& outer = Image(L"BUTTON", L"OUTERMASK");
  ASSERT_TRUE(slider.Bmp);
  EXPECT_EQ(slider.R, (vcl::TRect{0, 0, 20, 10}));
  EXPECT_EQ(Kind(slider), (std::array<int, 4>{2, 1, 0, 3}));
  EXPECT_EQ(Margins(slider), (std::array<int, 4>{3, 1, 3, 1}));
  EXPECT_EQ(outer.ImgType, 4);  // a kind of 7 is at most 4
  EXPECT_EQ(Margins(outer), (std::array<int, 4>{1, 2, 3, 4}));
  // A file named twice is loaded once; names are compared in any letter case.
  EXPECT_EQ(slider.Bmp, outer.Bmp);
  const TsMaskData& own = Image(L"BUTTON", L"OWNTEXTURE");
  EXPECT_EQ(own.Bmp, hotPattern.Bmp);
  EXPECT_EQ(own.R, (vcl::TRect{2, 2, 6, 6}));
  EXPECT_EQ(own.MaskType, 1);
  EXPECT_EQ(skin.LoadedFiles.size(), 3u);

  // A part in the master bitmap's corner; the shared margin serves all sides.
  const TsMaskData& corner = Image(L"BUTTON", L"FAR");
  EXPECT_EQ(corner.R, (vcl::TRect{50, 40, 64, 48}));
  EXPECT_EQ(corner.MarginAll, 4);
  EXPECT_EQ(Margins(corner), (std::array<int, 4>{4, 4, 4, 4}));

  EXPECT_EQ(skin.FindImageByNames(L"BUTTON", L"MISSING"), -1);
  EXPECT_EQ(skin.FindImageByNames(L"BUTTON", L"NOTANIMAGE"), -1);

  const TsGeneralData& button = Section(L"BUTTON");
  EXPECT_EQ(button.BorderIndex, skin.FindImageByNames(L"BUTTON", L"BORDERSMASK"));
  EXPECT_EQ(button.OuterMask, skin.FindImageByNames(L"BUTTON", L"OUTERMASK"));
  EXPECT_EQ(button.TextureIndex, skin.FindImageByNames(L"BUTTON", L"PATTERN"));
  EXPECT_EQ(button.Props[0].ImgTexture, button.TextureIndex);
  EXPECT_EQ(button.Props[1].ImgTexture, skin.FindImageByNames(L"BUTTON", L"HOTPATTERN"));
}

// Without its master bitmap (named but not there, or not named) a skin loads with its
// colours: the parts of the master are missing images, the images of files of their own are
// there, and each section takes its values.
TEST_F(SkinReader, AMissingMasterBitmapLeavesOutItsPartsAndTheRestLoads) {
  skins.Write(L"Test", L"glyph.png", Png24(20, 10, Flat(0x00FF00)));
  const std::string rest =
      "[BUTTON]\r\nCOLOR=$0000FF\r\nBORDERSMASK=^0000,0000,0030,0020,0002,0003,0004,0005,3,1,5,0\r\n"
      "GLYPHMASK=@0030,0000,0042,0010,2,0\r\nPATTERN=~0000~0020~0016~0036~04~0\r\nSLIDERMASK=!glyph.png!2!1!3\r\n";
  for (const std::string global : {"[GLOBALINFO]\r\nMASTERBITMAP=gone.bmp\r\n", "[GLOBALINFO]\r\n"}) {
    SCOPED_TRACE(global);
    ASSERT_EQ(Load(global + rest), TsSkinLoadResult::Loaded);
    EXPECT_FALSE(skin.MasterBitmap);
    for (const wchar_t* key : {L"BORDERSMASK", L"GLYPHMASK", L"PATTERN"})
      EXPECT_EQ(skin.FindImageByNames(L"BUTTON", key), -1) << key;
    EXPECT_EQ(Section(L"BUTTON").BorderIndex, -1);
    EXPECT_EQ(Section(L"BUTTON").Props[0].ImgTexture, -1);
    EXPECT_EQ(Section(L"BUTTON").Props[0].Color, 0x0000FF);
    EXPECT_EQ(Image(L"BUTTON", L"SLIDERMASK").R, (vcl::TRect{0, 0, 20, 10}));
  }
  // With the master there, its parts are there.
  skins.Write(L"Test", L"gone.bmp", Bmp24(64, 48, MasterPixel));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nMASTERBITMAP=gone.bmp\r\n" + rest), TsSkinLoadResult::Loaded);
  EXPECT_EQ(Image(L"BUTTON", L"BORDERSMASK").R, (vcl::TRect{0, 0, 30, 20}));
  EXPECT_EQ(Section(L"BUTTON").BorderIndex, skin.FindImageByNames(L"BUTTON", L"BORDERSMASK"));
}

// A piece whose rectangle does not lie whole inside its picture (the master bitmap, or a
// texture's own file) is a missing piece, as one of a master bitmap the skin lacks: its
// section, title button, check glyph or shadow falls back. One that ends at the picture's
// edge is whole; a pixel past it, one starting before it, or one of no size is missing.
TEST_F(SkinReader, PiecesOutsideTheirPictureAreMissing) {
  skins.Write(L"Test", L"master.bmp", Bmp24(64, 48, MasterPixel));
  skins.Write(L"Test", L"tex.bmp", Bmp24(8, 6, Flat(0x0000FF)));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n"
                 "LO_SOURCE=1\r\nLO_MASK=^0060,0040,0064,0049,0001,0001,0001,0001,1,1,0,0\r\n"
                 "BICONCLOSE=^9999,9999,0000,0000,0000,0000,0000,0000,3,0,0,0\r\n"
                 "BICONMAX=@0000,0000,0064,0048,3,0\r\n"
                 "BOXCHECKED=@0001,0000,0065,0010,3,0\r\n"
                 "BOXUNCHECKED=@0000,0000,0064,0010,3,0\r\n"
                 "RADIOCHECKED=@0000,0039,0010,0049,1,0\r\n"
                 "RADIOUNCHECKED=@0000,0038,0010,0048,1,0\r\n"
                 "[SCROLLBTNLEFT]\r\nCOLOR=$808080\r\nGLYPHMASK=@0064,0000,0065,0010,1,0\r\n"
                 "BORDERSMASK=^0063,0047,0064,0048,0000,0000,0000,0000,1,0,0,0\r\n"
                 "[SCROLLBTNRIGHT]\r\nGLYPHMASK=@0000,0048,0010,0049,1,0\r\n"
                 "[BUTTON]\r\nBORDERSMASK=^-001,0000,0010,0010,0000,0000,0000,0000,1,0,0,0\r\n"
                 "OUTERMASK=@0000,-001,0010,0010,1,0\r\n"
                 "GLYPHMASK=@0010,0010,0010,0020,1,0\r\n"
                 "SLIDERMASK=@0010,0010,0020,0010,1,0\r\n"
                 "PATTERN=~0000~0000~0008~0006~01~0~tex.bmp\r\n"
                 "HOTPATTERN=~0000~0000~0009~0006~01~0~tex.bmp\r\n"
                 "[EDIT]\r\nPATTERN=~0000~0000~0008~0007~01~0~tex.bmp\r\n"
                 "BORDERSMASK=^0064,0000,0064,0010,0000,0000,0000,0000,1,0,0,0\r\n"),
            TsSkinLoadResult::Loaded);
  // Whole: the master's full size, its corners, a texture as large as its file.
  EXPECT_EQ(Image(L"GLOBALINFO", L"BICONMAX").R, (vcl::TRect{0, 0, 64, 48}));
  EXPECT_EQ(Image(L"GLOBALINFO", L"BOXUNCHECKED").R, (vcl::TRect{0, 0, 64, 10}));
  EXPECT_EQ(Image(L"GLOBALINFO", L"RADIOUNCHECKED").R, (vcl::TRect{0, 38, 10, 48}));
  EXPECT_EQ(Image(L"SCROLLBTNLEFT", L"BORDERSMASK").R, (vcl::TRect{63, 47, 64, 48}));
  EXPECT_EQ(Image(L"BUTTON", L"PATTERN").R, (vcl::TRect{0, 0, 8, 6}));
  // Missing: reversed, a pixel past the right or bottom edge, starting at or before an edge,
  // of no width or height, a texture past its own file, a shadow mask past the master.
  for (const auto& [section, key] :
       std::vector<std::pair<const wchar_t*, const wchar_t*>>{{L"GLOBALINFO", L"BICONCLOSE"},
                                                              {L"GLOBALINFO", L"BOXCHECKED"},
                                                              {L"GLOBALINFO", L"RADIOCHECKED"},
                                                              {L"GLOBALINFO", L"LO_MASK"},
                                                              {L"SCROLLBTNLEFT", L"GLYPHMASK"},
                                                              {L"SCROLLBTNRIGHT", L"GLYPHMASK"},
                                                              {L"BUTTON", L"BORDERSMASK"},
                                                              {L"BUTTON", L"OUTERMASK"},
                                                              {L"BUTTON", L"GLYPHMASK"},
                                                              {L"BUTTON", L"SLIDERMASK"},
                                                              {L"BUTTON", L"HOTPATTERN"},
                                                              {L"EDIT", L"PATTERN"},
                                                              {L"EDIT", L"BORDERSMASK"}})
    EXPECT_EQ(skin.FindImageByNames(section, key), -1) << section << L" " << key;
  // What the missing pieces would have drawn is the fallback's.
  EXPECT_EQ(skin.ConstData.TitleButton(TqvTitleButtonImage::BIConClose), -1);
  EXPECT_EQ(skin.ConstData.TitleButton(TqvTitleButtonImage::BIConMax), skin.FindImageByNames(L"GLOBALINFO", L"BICONMAX"));
  EXPECT_EQ(skin.ConstData.CheckBox, (std::array<std::int32_t, 3>{skin.FindImageByNames(L"GLOBALINFO", L"BOXUNCHECKED"), -1, -1}));
  EXPECT_EQ(skin.ConstData.RadioButton,
            (std::array<std::int32_t, 2>{skin.FindImageByNames(L"GLOBALINFO", L"RADIOUNCHECKED"), -1}));
  EXPECT_EQ(skin.ConstData.ScrollBtns[0].GlyphIndex, -1);
  EXPECT_EQ(skin.ConstData.ScrollBtns[2].GlyphIndex, -1);
  EXPECT_EQ(skin.ShadowLayerData[1].MaskIndex, -1);
  EXPECT_EQ(Section(L"BUTTON").BorderIndex, -1);
  EXPECT_EQ(Section(L"BUTTON").OuterMask, -1);
  EXPECT_EQ(Section(L"BUTTON").Props[0].ImgTexture, skin.FindImageByNames(L"BUTTON", L"PATTERN"));
  EXPECT_EQ(Section(L"BUTTON").Props[1].ImgTexture, -1);
  EXPECT_EQ(Section(L"EDIT").BorderIndex, -1);
  EXPECT_EQ(Section(L"SCROLLBTNLEFT").BorderIndex, skin.FindImageByNames(L"SCROLLBTNLEFT", L"BORDERSMASK"));
}

TEST_F(SkinReader, AMasterBitmapTakesItsAlphaFromTheKeyColour) {
  SampleImage rgba(3, 1, 6, 8);  // translucent red, opaque key colour, clear green
  const std::array<std::array<std::uint16_t, 4>, 3> pixels{{{255, 0, 0, 64}, {255, 0, 255, 255}, {0, 255, 0, 0}}};
  for (std::uint32_t x = 0; x < 3; ++x)
    for (unsigned c = 0; c < 4; ++c) rgba.Set(x, 0, c, pixels[x][c]);
  skins.Write(L"Test", L"master.png", WritePng(rgba));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nMASTERBITMAP=master.png\r\n"), TsSkinLoadResult::Loaded);
  vcl::TBitmap* master = skin.MasterBitmap.get();
  EXPECT_EQ(PixelOf(master, 0, 0) >> 24, 0xFFu);
  EXPECT_EQ(PixelOf(master, 1, 0), 0x00FF00FFu);
  EXPECT_EQ(PixelOf(master, 2, 0) >> 24, 0xFFu);
}

// A skin's PNG pictures of every kind read as the picture class reads each, copied to 32 bits
// with the key colour's pixels as holes: colour and palette pictures (every depth, a colour
// key, gamma, interlacing, a short palette, a palette's alpha), grey ones and those with alpha,
// whose key-coloured pixels keep their own alpha. As a master bitmap too.
TEST_F(SkinReader, PngPicturesOfEveryKindReadAsTheirPixelsWithKeyColouredHoles) {
  using Palette = std::vector<std::array<std::uint8_t, 3>>;
  // Index 1 the key colour, index 3 one short of it.
  const Palette palette = {{{10, 20, 30}}, {{255, 0, 255}}, {{40, 50, 60}}, {{255, 0, 254}}, {{0, 0, 0}}, {{90, 80, 70}}};
  struct Kind {
    const char* file;
    std::uint8_t colorType, depth;
    PngOptions options;
    std::uint32_t keyPixel;   // (0, 0): the key colour, as read
    std::uint32_t nearPixel;  // (5, 0): one short of it in blue, as read (0: not checked)
  };
  PngOptions interlaced;
  interlaced.interlaced = true;
  interlaced.filter = FilterChoice::Cycle;
  PngOptions gamma;
  gamma.beforeImage = {Chunk("gAMA", Be32(50000))};
  gamma.filter = FilterChoice::Adaptive;
  PngOptions colourKey;
  colourKey.beforeImage = {Chunk("tRNS", Be16({0x11, 0x22, 0x33}))};
  PngOptions withPalette;
  withPalette.beforeImage = {PaletteChunk(palette)};
  withPalette.filter = FilterChoice::Cycle;
  PngOptions paletteAlpha = withPalette;
  paletteAlpha.beforeImage.push_back(Chunk("tRNS", {0, 128, 255}));
  PngOptions shortPalette;
  shortPalette.beforeImage = {PaletteChunk(std::span(palette).first(2))};
  PngOptions interlacedPalette = withPalette;
  interlacedPalette.interlaced = true;
  constexpr std::uint32_t hole = 0x00FF00FF, nearKey = 0xFFFF00FE;
  const Kind kinds[] = {
      {"rgb.png", 2, 8, {}, hole, nearKey},
      {"rgb16.png", 2, 16, {}, hole, nearKey},
      {"rgbkey.png", 2, 8, colourKey, hole, nearKey},
      {"rgbgamma.png", 2, 8, gamma, hole, 0},
      {"rgbadam7.png", 2, 8, interlaced, hole, nearKey},
      {"pal1.png", 3, 1, withPalette, hole, 0},
      {"pal2.png", 3, 2, withPalette, hole, 0},
      {"pal4.png", 3, 4, withPalette, hole, 0},
      {"pal8.png", 3, 8, withPalette, hole, 0},
      {"palalpha.png", 3, 4, paletteAlpha, hole, 0},
      {"palshort.png", 3, 8, shortPalette, hole, 0},
      {"paladam7.png", 3, 2, interlacedPalette, hole, 0},
      {"grey.png", 0, 8, {}, 0, 0},
      {"grey16.png", 0, 16, {}, 0, 0},
      {"greyalpha.png", 4, 8, {}, 0, 0},
      {"rgba.png", 6, 8, {}, 0xFFFF00FF, nearKey},
      {"rgba16.png", 6, 16, {}, 0xFFFF00FF, nearKey},
  };
  std::string options = "[PICTURES]\r\n";
  std::vector<Bytes> files;
  for (const Kind& k : kinds) {
    auto image = SampleImage::Pattern(13, 9, k.colorType, k.depth, k.depth + k.colorType);
    const auto top = static_cast<std::uint16_t>((1u << k.depth) - 1);
    for (std::uint32_t y = 0; y < image.Height(); ++y)
      for (std::uint32_t x = 0; x < image.Width(); ++x) {
        if ((x + 2 * y) % 5 != 0) continue;
        if (k.colorType == 3) image.Set(x, y, 0, x == 5 && y == 0 ? 3 : 1);
        if (k.colorType != 2 && k.colorType != 6) continue;
        image.Set(x, y, 0, top), image.Set(x, y, 1, 0);
        image.Set(x, y, 2, x % 3 == 2 ? static_cast<std::uint16_t>(top - top / 255) : top);
        if (k.colorType == 6) image.Set(x, y, 3, y % 2 ? static_cast<std::uint16_t>(top / 2) : top);
      }
    // A pixel of the colour key, for the picture that has one.
    if (k.options.beforeImage.size() == 1 && k.options.beforeImage[0].type == "tRNS")
      for (unsigned c = 0; c < 3; ++c) image.Set(4, 4, c, static_cast<std::uint16_t>(0x11 * (c + 1)));
    files.push_back(WritePng(image, k.options));
    skins.Write(L"Test", vcl::Utf8ToWide(k.file), files.back());
    options += "P" + std::to_string(files.size()) + "=!" + k.file + "!1!0!0\r\n";
  }
  // The pixels as the picture class reads the file, copied to 32 bits with holes.
  auto expected = [](const Bytes& file) {
    TPNGGraphic png;
    vcl::TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
    stream.SetPosition(0);
    png.LoadFromStream(&stream);
    return Bmp32Copy(&png, true);
  };
  using Rule = std::function<std::uint32_t(std::uint32_t)>;
  auto samePixels = [](vcl::TBitmap* got, vcl::TBitmap* want, const Rule& rule) {
    ASSERT_TRUE(got && want);
    ASSERT_EQ(got->PixelFormat(), vcl::pf32bit);
    ASSERT_EQ(got->Width(), want->Width());
    ASSERT_EQ(got->Height(), want->Height());
    for (int y = 0; y < want->Height(); ++y)
      for (int x = 0; x < want->Width(); ++x) ASSERT_EQ(PixelOf(got, x, y), rule(PixelOf(want, x, y))) << x << "," << y;
  };
  ASSERT_EQ(Load(options), TsSkinLoadResult::Loaded);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const Kind& k = kinds[i];
    SCOPED_TRACE(k.file);
    vcl::TBitmap* picture = Image(L"PICTURES", (L"P" + std::to_wstring(i + 1)).c_str()).Bmp.get();
    samePixels(picture, expected(files[i]).get(), [](std::uint32_t p) { return p; });
    if (k.keyPixel) {
      EXPECT_EQ(PixelOf(picture, 0, 0), k.keyPixel);
    }
    if (k.nearPixel) {
      EXPECT_EQ(PixelOf(picture, 5, 0), k.nearPixel);
    }
  }
  // As the master bitmap: the key colour a hole, the rest opaque.
  const Rule masterRule = [](std::uint32_t p) { return (p & 0xFFFFFFu) == 0xFF00FFu ? 0xFF00FFu : p | 0xFF000000u; };
  for (const std::size_t i : {std::size_t{0}, std::size_t{8}, std::size_t{9}, std::size_t{15}}) {
    SCOPED_TRACE(kinds[i].file);
    ASSERT_EQ(Load(std::string("[GLOBALINFO]\r\nMASTERBITMAP=") + kinds[i].file + "\r\n"), TsSkinLoadResult::Loaded);
    samePixels(skin.MasterBitmap.get(), expected(files[i]).get(), masterRule);
  }
}

TEST_F(SkinReader, TransparentBordersAreFoundInTheFirstFramesBorderStrips) {
  skins.Write(L"Test", L"master.bmp", Bmp24(64, 48, MasterPixel));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n"
                 "[EDGE]\r\nBORDERSMASK=^0000,0000,0020,0020,0002,0002,0002,0002,1,0,0,0\r\n"
                 "[THIN]\r\nBORDERSMASK=^0000,0000,0020,0020,0001,0001,0001,0001,1,0,0,0\r\n"
                 "[MIDDLE]\r\nBORDERSMASK=^0030,0010,0050,0040,0003,0003,0003,0003,1,0,0,0\r\n"
                 "[SECONDFRAME]\r\nBORDERSMASK=^0020,0000,0042,0030,0002,0002,0002,0002,2,0,0,0\r\n"
                 "[BUTTON_HUGE]\r\nBORDERSMASK=^0002,0002,0020,0020,0002,0002,0002,0002,1,0,0,0\r\n"
                 "GLYPHMASK=^0000,0000,0020,0020,0002,0002,0002,0002,1,0,0,0\r\n"),
            TsSkinLoadResult::Loaded);
  EXPECT_EQ(Image(L"EDGE", L"BORDERSMASK").TransparentBorder, 1);
  EXPECT_EQ(Image(L"THIN", L"BORDERSMASK").TransparentBorder, 0);    // (1, 1) lies inside the strips
  EXPECT_EQ(Image(L"MIDDLE", L"BORDERSMASK").TransparentBorder, 0);  // (40, 25) is in the middle
  // (40, 25) lies in the second frame only.
  EXPECT_EQ(Image(L"SECONDFRAME", L"BORDERSMASK").TransparentBorder, 0);
  EXPECT_EQ(Image(L"BUTTON_HUGE", L"BORDERSMASK").TransparentBorder, 2);
  EXPECT_EQ(Image(L"BUTTON_HUGE", L"GLYPHMASK").TransparentBorder, 1);
}

TEST_F(SkinReader, SkinWideValuesColoursAndShadowLayers) {
  skins.Write(L"Test", L"master.bmp", Bmp24(64, 48, MasterPixel));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\nVERSION=7.25\r\n"
                 "AEROBLUR=256\r\nCOMBOMARGIN=x\r\n"
                 "EDITTEXT_WARN=$111111\r\nEDITBG_INV=$222222\r\n"
                 "SH_SOURCE=0\r\nLO_SOURCE=1\r\nLO_MASK=^0000,0000,0009,0018,0004,0004,0004,0004,1,1,0,0\r\n"
                 "LO_COLORT=$FF\r\nLO_OPACITY=77\r\n"
                 "[TABTOP]\r\nTABSCOVERING=3\r\n"
                 "[EDIT]\r\nCOLOR=$FFFFFF\r\nFONTCOLOR=$000000\r\n"
                 "[MENUITEM]\r\nSTATES=2\r\nCOLOR=$AAAAAA\r\nFONTCOLOR=$BBBBBB\r\nHOTCOLOR=$CCCCCC\r\nHOTFONTCOLOR=$DDDDDD\r\n"),
            TsSkinLoadResult::Loaded);
  const TsSkinData& d = skin.SkinData;
  EXPECT_EQ(d.SkinPath, skins.SkinPath(L"Test"));
  EXPECT_DOUBLE_EQ(d.Version, 7.25);
  EXPECT_EQ(d.FormOffset, GetSystemMetrics(SM_CXFRAME));
  EXPECT_FALSE(d.AeroBlur);  // the low byte only
  EXPECT_EQ(d.ComboMargin, 2);  // not a number: the default
  EXPECT_EQ(d.TabsCovering, 3);

  const TsSkinColors& c = skin.Colors;
  EXPECT_EQ((std::array{c.TitleContourBottom, c.TitleContourTop, c.EditColor, c.EditFontColor}),
            (std::array<vcl::TColor, 4>{0xFF0000, 0xFF, 0xFFFFFF, 0}));
  // No SELECTION: the menu item's states.
  EXPECT_EQ((std::array{c.FocusedHighlightColor, c.FocusedHighlightFontColor, c.UnfocusedHighlightColor,
                        c.UnfocusedHighlightFontColor}),
            (std::array<vcl::TColor, 4>{0xCCCCCC, 0xDDDDDD, 0xAAAAAA, 0xBBBBBB}));
  EXPECT_EQ(c.EditStatusTextColors, (std::array<vcl::TColor, 5>{0x8000, 0x111111, 0xFF, 0x8597D9, 0x4AB28F}));
  EXPECT_EQ(c.InvertedEditBgColor, 0x222222);
  EXPECT_EQ(c.EvenRowBgColor, 0xF2F2F2);  // 5 % of black into white
  EXPECT_EQ(skin.GetHighLightColor(true), 0xCCCCCC);

  EXPECT_EQ(skin.ShadowLayerData[0].MaskIndex, -1);
  const TsShadowLayer& outline = skin.ShadowLayerData[1];
  EXPECT_EQ(outline.Colors, (std::array<vcl::TColor, 4>{0xFFFFFF, 0xFF, 0xFFFFFF, 0xFFFFFF}));
  EXPECT_EQ(outline.Offsets, (std::array<int, 4>{2, 2, 2, 4}));
  EXPECT_EQ(outline.Opacity, 77);
  ASSERT_TRUE(skin.IsValidImgIndex(outline.MaskIndex));
  const TsMaskData& mask = skin.Images[static_cast<std::size_t>(outline.MaskIndex)];
  EXPECT_EQ(mask.PropertyName, L"LO_MASK");
  EXPECT_EQ(mask.R, (vcl::TRect{0, 0, 9, 18}));
}

// A colour value no colour can have is a missing colour: the parent's, else the default. A
// state whose face or font colour is left to its default writes in a colour that stands off
// its plain face; one that gives both, or whose face is a picture, keeps what it gives.
TEST_F(SkinReader, ColoursNoColourCanHaveAreMissingAndTextsLeftToDefaultsStandOffTheirFace) {
  skins.Write(L"Test", L"grain.bmp", Bmp24(4, 4, Flat(0x808080)));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nCOLOR=-1\r\nFONTCOLOR=$F0F0F0\r\nBORDERCOLOR=$FFFFFFFF\r\nTCTOP=$7FFFFFFF\r\n"
                 "SH_COLORL=-1\r\nSHADOW1COLOR=$1000000\r\n"
                 "[BUTTON]\r\nSTATES=2\r\nCOLOR=$202020\r\nFONTCOLOR=$F0F0F0\r\nHOTCOLOR=$404040\r\nHOTFONTCOLOR=$E0E0E0\r\n"
                 "[CHILD]\r\nPARENTCLASS=BUTTON\r\nSTATES=2\r\nCOLOR=$FFFFFFFF\r\nHOTCOLOR=$80FFFFFF\r\n"
                 "[LIGHT]\r\nSTATES=1\r\nCOLOR=-1\r\nFONTCOLOR=$F8F8F8\r\n"
                 "[DARK]\r\nSTATES=1\r\nCOLOR=$101010\r\n"
                 "[GIVEN]\r\nSTATES=1\r\nCOLOR=$F8F8F8\r\nFONTCOLOR=$FFFFFF\r\n"
                 "[PICTURE]\r\nSTATES=1\r\nFONTCOLOR=$F8F8F8\r\nIMAGEPERCENT=100\r\nPATTERN=grain.bmp\r\n"
                 "[SEETHROUGH]\r\nSTATES=1\r\nFONTCOLOR=$F8F8F8\r\nTRANSPARENCY=100\r\n"
                 "[EDIT]\r\nSTATES=1\r\nCOLOR=$7FFFFFFF\r\nFONTCOLOR=$FAFAFA\r\n"),
            TsSkinLoadResult::Loaded);
  const TsSkinColors& c = skin.Colors;
  EXPECT_EQ(c.GlobalColor, vcl::ColorToRGB(vcl::clBtnFace));
  EXPECT_EQ(c.GlobalFontColor, 0);  // its light font on the system's light face: black
  EXPECT_EQ(c.BorderColor, 0);
  EXPECT_EQ(c.TitleContourTop, 0xFF);
  EXPECT_EQ(skin.SkinData.Shadow1Color, 0);
  EXPECT_EQ(skin.ShadowLayerData[0].Colors[0], 0);
  // The parent's colours through odd ones; both given, the child's fonts are its parent's.
  const TsGeneralData& child = Section(L"CHILD");
  EXPECT_EQ(child.Props[0].Color, 0x202020);
  EXPECT_EQ(child.Props[1].Color, 0x404040);
  EXPECT_EQ(child.Props[0].FontColor, 0xF0F0F0);
  EXPECT_EQ(child.Props[1].FontColor, 0xE0E0E0);
  // Left to the default white face, a light font turns black; a dark face left with the
  // default black font gets white; what a skin gives whole, or over a picture or what lies
  // behind, stays.
  EXPECT_EQ(Section(L"LIGHT").Props[0].Color, 0xFFFFFF);
  EXPECT_EQ(Section(L"LIGHT").Props[0].FontColor, 0);
  EXPECT_EQ(Section(L"DARK").Props[0].FontColor, 0xFFFFFF);
  EXPECT_EQ(Section(L"GIVEN").Props[0].FontColor, 0xFFFFFF);
  EXPECT_EQ(Section(L"PICTURE").Props[0].FontColor, 0xF8F8F8);
  EXPECT_EQ(Section(L"SEETHROUGH").Props[0].FontColor, 0xF8F8F8);
  // The edits' skin-wide colours come from the section so read.
  EXPECT_EQ(c.EditColor, 0xFFFFFF);
  EXPECT_EQ(c.EditFontColor, 0);
}

TEST_F(SkinReader, ABuiltShadowImageHoldsTheLayersColoursAboveTheBlur) {
  ASSERT_EQ(Load("[GLOBALINFO]\r\nSH_COLORL=$0000FF\r\nSH_COLORT=$00FF00\r\nSH_COLORR=$FF0000\r\n"
                 "SH_COLORB=$00FFFF\r\nLO_SOURCE=5\r\n"),
            TsSkinLoadResult::Loaded);
  for (const TsShadowLayer& layer : skin.ShadowLayerData) {
    EXPECT_EQ(layer.Source == 2 || layer.Source == 5, true);
    ASSERT_TRUE(skin.IsValidImgIndex(layer.MaskIndex));
  }
  const TsMaskData& shadow = skin.Images[static_cast<std::size_t>(skin.ShadowLayerData[0].MaskIndex)];
  ASSERT_TRUE(shadow.Bmp);
  EXPECT_EQ(shadow.Bmp->Height(), 38);
  EXPECT_EQ(shadow.R, (vcl::TRect{0, 0, 19, 38}));
  EXPECT_EQ(shadow.MaskType, 1);
  EXPECT_EQ(Margins(shadow), (std::array<int, 4>{9, 9, 9, 9}));
  vcl::TBitmap* bmp = shadow.Bmp.get();
  EXPECT_EQ(PixelOf(bmp, 0, 5), 0xFFFF0000u);    // left: red
  EXPECT_EQ(PixelOf(bmp, 5, 0), 0xFF00FF00u);    // top: green
  EXPECT_EQ(PixelOf(bmp, 18, 12), 0xFF0000FFu);  // right: blue
  EXPECT_EQ(PixelOf(bmp, 12, 18), 0xFFFFFF00u);  // bottom: yellow
  EXPECT_EQ(PixelOf(bmp, 9, 9) & 0xFFFFFF, 0xFF00FFu);
  // The lower half is the blur: opaque (black) in the middle, clear (white) at the edge.
  EXPECT_LT(PixelOf(bmp, 9, 19 + 9) & 0xFF, 0x20u);
  EXPECT_GT(PixelOf(bmp, 0, 19) & 0xFF, 0xE0u);
}

TEST_F(SkinReader, CommonSectionsUpdateAndAddSections) {
  skins.Write(L"Test", L"cs.bmp", Bmp24(6, 6, Flat(0x00FF00)));
  vcl::TStringList common;
  common.SetText(L"; extra sections\r\n[BUTTON]\r\nCOLOR=0xFF\r\nHOTGRADIENTDATA=0;255;100;0;0\r\n"
                 L"[EXTRA]\r\nSTATES=1\r\nGLOW=400\r\nCOLOR=$00FF00\r\nGIVEOWNFONT=TRUE\r\nPATTERN=cs.bmp\r\n"
                 L"[GLOBALINFO]\r\nSKIPPED=cs.bmp\r\n");
  request.CommonSections = &common;
  ASSERT_EQ(Load("[BUTTON]\r\nGLOW=12\r\nCOLOR=$111111\r\nFONTCOLOR=$222222\r\n[TRANSPARENT]\r\nCOLOR=1\r\n"),
            TsSkinLoadResult::Loaded);
  const TsGeneralData& button = Section(L"BUTTON");
  EXPECT_EQ(button.Props[0].Color, 0xFF);
  EXPECT_EQ(button.Props[0].FontColor, 0x222222);  // kept: these lines do not give it
  EXPECT_EQ(button.Glow, 12);
  ASSERT_EQ(button.Props[1].GradientArray.size(), 1u);
  EXPECT_EQ(button.Props[1].GradientArray[0].Color2, 255u);

  const TsGeneralData& extra = Section(L"EXTRA");
  EXPECT_EQ(skin.GetSkinIndex(L"EXTRA"), 2);  // after the description's own, no TRANSPARENT added
  EXPECT_EQ(skin.Sections.size(), 4u);  // and the lines' GLOBALINFO
  EXPECT_TRUE(extra.GiveOwnFont);
  EXPECT_EQ(extra.Props[1].Color, 0x00FF00);
  ASSERT_TRUE(Image(L"EXTRA", L"PATTERN").Bmp);
  EXPECT_EQ(extra.TextureIndex, skin.FindImageByNames(L"EXTRA", L"PATTERN"));
  EXPECT_EQ(skin.FindImageByNames(L"GLOBALINFO", L"SKIPPED"), -1);
  EXPECT_EQ(Section(L"TRANSPARENT").Props[0].Transparency, 0);  // the skin's own
}

// A section gives nothing when neither it nor any section it inherits from has a value of its
// own: one naming a missing parent, a chain of such, an empty one and a loop of them, one with
// only a glyph (drawn over a face it does not give); one value anywhere along the chain (a
// picture too), or a value the manager's common lines add, gives.
TEST_F(SkinReader, ASectionWithNoValueAlongItsChainGivesNothing) {
  skins.Write(L"Test", L"p.bmp", Bmp24(6, 6, Flat(0x00FF00)));
  vcl::TStringList common;
  common.SetText(L"[ORPHANLATER]\r\nPARENTCLASS=GONE\r\nCOLOR=$00FF00\r\n[ADDED]\r\nPARENTCLASS=GONE\r\n[FILLED]\r\nGLOW=3\r\n");
  request.CommonSections = &common;
  ASSERT_EQ(Load("[ORPHAN]\r\nPARENTCLASS=GONE\r\n[CHAIN]\r\nPARENTCLASS=ORPHAN\r\n[EMPTY]\r\n"
                 "[LOOPA]\r\nPARENTCLASS=LOOPB\r\n[LOOPB]\r\nPARENTCLASS=LOOPA\r\n"
                 "[OWN]\r\nPARENTCLASS=GONE\r\nCOLOR=$FF0000\r\n[BYOWN]\r\nPARENTCLASS=OWN\r\n"
                 "[PICTURE]\r\nPARENTCLASS=GONE\r\nPATTERN=p.bmp\r\n[ORPHANLATER]\r\nPARENTCLASS=GONE\r\n"
                 "[FILLED]\r\n[GLYPHED]\r\nPARENTCLASS=GONE\r\nGLYPHMASK=p.bmp\r\n"
                 "[GLYPHEDOWN]\r\nPARENTCLASS=OWN\r\nGLYPHMASK=p.bmp\r\n"),
            TsSkinLoadResult::Loaded);
  for (const wchar_t* name : {L"ORPHAN", L"CHAIN", L"EMPTY", L"LOOPA", L"LOOPB", L"ADDED", L"GLYPHED"})
    EXPECT_TRUE(skin.GivesNothing(skin.GetSkinIndex(name))) << name;
  for (const wchar_t* name : {L"OWN", L"BYOWN", L"PICTURE", L"ORPHANLATER", L"FILLED", L"TRANSPARENT", L"GLYPHEDOWN"})
    EXPECT_FALSE(skin.GivesNothing(skin.GetSkinIndex(name))) << name;
  EXPECT_FALSE(skin.GivesNothing(-1));
  EXPECT_FALSE(skin.GivesNothing(static_cast<int>(skin.Sections.size())));
}

TEST_F(SkinReader, HueSaturationAndBrightnessChangeImagesAndColours) {
  // Red master; the close button's part keeps its hue; a texture named twice.
  skins.Write(L"Test", L"master.bmp", Bmp24(64, 48, MasterPixel));
  skins.Write(L"Test", L"tex.bmp", Bmp24(4, 4, Flat(0x646464)));
  const std::string options =
      "[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\nBIKEEPHUE=1\r\nSHADOW1COLOR=$0064C8\r\n"
      "BICONCLOSE=^0000,0000,0010,0010,0000,0000,0000,0000,1,0,0,0\r\n"
      "BICONMAX=^0010,0000,0020,0010,0000,0000,0000,0000,1,0,0,0\r\n"
      "[BUTTON]\r\nCOLOR=$0064C8\r\nFONTCOLOR=$303030\r\nGRADIENTDATA=$0064C8;$0064C8;100;0;0\r\n"
      "PATTERN=tex.bmp\r\nHOTPATTERN=tex.bmp\r\n";
  request.HueOffset = 120;
  ASSERT_EQ(Load(options), TsSkinLoadResult::Loaded);
  vcl::TBitmap* master = skin.MasterBitmap.get();
  EXPECT_EQ(PixelOf(master, 5, 5), 0xFFFF0000u);    // kept
  EXPECT_EQ(PixelOf(master, 15, 5), 0xFF00FF00u);   // red turned green
  EXPECT_EQ(PixelOf(master, 1, 1), 0x00FF00FFu);    // the key colour untouched
  EXPECT_EQ(PixelOf(master, 50, 5), 0xFF808080u);   // grey has no hue
  EXPECT_EQ(Section(L"BUTTON").Props[0].Color, 0x0064C8);  // hue leaves colours alone

  request.HueOffset = 0;
  request.Saturation = 100;  // 255
  ASSERT_EQ(Load(options), TsSkinLoadResult::Loaded);
  const TsGenState& state = Section(L"BUTTON").Props[0];
  EXPECT_EQ(state.Color, 0x0064FF);          // (200, 100, 0): red 300 -> 255, blue -100 -> 0
  EXPECT_EQ(state.FontColor, 0x303030);      // grey stays grey
  EXPECT_EQ(state.TCLeft, -1);
  EXPECT_EQ(state.GradientArray.at(0).Color1, 0x0064FFu);
  EXPECT_EQ(skin.SkinData.Shadow1Color, 0x0064FF);

  request.Saturation = 0;
  request.Brightness = 20;
  ASSERT_EQ(Load(options), TsSkinLoadResult::Loaded);
  EXPECT_EQ(Section(L"BUTTON").Props[0].FontColor, 0x444444);
  EXPECT_EQ(Section(L"BUTTON").Props[0].Color, 0x1478DC);
  // The texture named twice is brightened once.
  EXPECT_EQ(PixelOf(Image(L"BUTTON", L"PATTERN").Bmp.get(), 0, 0), 0xFF787878u);
  EXPECT_EQ(PixelOf(skin.MasterBitmap.get(), 5, 5), 0xFFFF1414u);
}

TEST_F(SkinReader, SourcesComeInTheirOrder) {
  skins.Write(L"Test", L"Options.dat", BytesOf("[FOLDER]\r\n"));
  // The editor's preview text comes first.
  vcl::TStringList preview;
  preview.SetText(L"[PREVIEW]\r\nCOLOR=5");
  request.PreviewLines = &preview;
  ASSERT_EQ(LoadSkin(request, skin), TsSkinLoadResult::Loaded);
  EXPECT_EQ(skin.Sections.front().ClassName, L"PREVIEW");
  request.PreviewLines = nullptr;
  ASSERT_EQ(LoadSkin(request, skin), TsSkinLoadResult::Loaded);
  EXPECT_EQ(skin.Sections.front().ClassName, L"FOLDER");

  // No folder of that name: a stored skin of that name, else the first one.
  vcl::TComponent owner(nullptr);
  TsStoredSkins stored(&owner);
  request.StoredSkins = &stored;
  request.SkinName = L"Missing";
  EXPECT_EQ(LoadSkin(request, skin), TsSkinLoadResult::NoSkin);
  EXPECT_EQ(skin.Sections.front().ClassName, L"FOLDER");  // nothing loaded
  TsStoredSkin* first = stored.Add();
  first->SetName(L"First");
  const Bytes pack = WritePack({{"Options.dat", BytesOf("[STORED]\r\nGLYPHMASK=!g.png!1!0!0\r\n"), {}, {}},
                                {"G.PNG", Png24(3, 2, Flat(0xFF)), {}, {}}});
  first->Data()->WriteBuffer(pack.data(), static_cast<int64_t>(pack.size()));
  stored.Add()->SetName(L"Empty");
  TsStoredSkin* withoutOptions = stored.Add();
  withoutOptions->SetName(L"NoOptions");
  const Bytes noOptions = WritePack({{"G.PNG", Png24(3, 2, Flat(0xFF)), {}, {}}});
  withoutOptions->Data()->WriteBuffer(noOptions.data(), static_cast<int64_t>(noOptions.size()));
  ASSERT_EQ(LoadSkin(request, skin), TsSkinLoadResult::Loaded);
  EXPECT_EQ(request.SkinName, L"First");
  EXPECT_EQ(skin.Sections.front().ClassName, L"STORED");
  ASSERT_TRUE(Image(L"STORED", L"GLYPHMASK").Bmp);  // from the pack, by its name in any case
  EXPECT_EQ(Image(L"STORED", L"GLYPHMASK").Bmp->Width(), 3);
  // A stored skin without data, or without a description, is refused saying so.
  request.SkinName = L"Empty";
  EXPECT_EQ(RefusalOf([&] { LoadSkin(request, skin); }),
            L"The skin \"Empty\" is refused: its data stored in the form is empty.");
  request.SkinName = L"NoOptions";
  EXPECT_EQ(RefusalOf([&] { LoadSkin(request, skin); }),
            L"The skin \"NoOptions\" is refused: its data stored in the form holds no description (Options.dat).");
  EXPECT_EQ(skin.Sections.front().ClassName, L"STORED");

  // A pack the manager has read.
  TqvSkinConvertor reader;
  auto stream = std::make_unique<vcl::TMemoryStream>();
  stream->WriteBuffer(pack.data(), static_cast<int64_t>(pack.size()));
  reader.PackedData = stream.get();
  ASSERT_TRUE(reader.LoadPack());
  request.SkinDirectory = L"C:\\Skins";
  request.SkinName = L"Blue";
  ASSERT_EQ(LoadPackedSkin(request, reader, skin), TsSkinLoadResult::Loaded);
  EXPECT_EQ(skin.SkinData.SkinPath, L"C:\\Skins\\");
  EXPECT_EQ(Image(L"STORED", L"GLYPHMASK").Bmp->Height(), 2);
  TqvSkinConvertor empty;
  empty.SourceName = L"C:\\Skins\\Blue.pmz";
  EXPECT_EQ(RefusalOf([&] { LoadPackedSkin(request, empty, skin); }),
            L"The skin \"Blue\" is refused: the pack \"C:\\Skins\\Blue.pmz\" holds no description (Options.dat).");
  EXPECT_EQ(Image(L"STORED", L"GLYPHMASK").Bmp->Height(), 2);
}

TEST_F(SkinReader, AFailedLoadLeavesEverythingAsItWas) {
  skins.Write(L"Test", L"master.bmp", Bmp24(64, 48, MasterPixel));
  ASSERT_EQ(Load("[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n[GOOD]\r\nCOLOR=7\r\n"), TsSkinLoadResult::Loaded);
  const std::shared_ptr<vcl::TBitmap> master = skin.MasterBitmap;
  int hooks = 0;
  request.AfterCommonIndexes = [&] { ++hooks; };
  request.OnSkinLoading = [&] { ++hooks; };
  for (const char* broken : {
           "[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n[BAD]\r\nBORDERSMASK=^0000,00x0,0010,0010,0000,0000,0000,0000,1,0,0,0\r\n",
           "[BAD]\r\nGLYPHMASK=@0001\r\n",
           "[BAD]\r\nGLYPHMASK=!glyph.png!1\r\n",
           "[BAD]\r\nGRADIENTDATA=a;b;c;d;e\r\n",
       }) {
    EXPECT_THROW(Load(broken), vcl::EConvertError) << broken;
    EXPECT_FALSE(SkinIsLoading());
    EXPECT_EQ(skin.Sections.front().ClassName, L"GLOBALINFO");
    EXPECT_EQ(Section(L"GOOD").Props[0].Color, 7);
    EXPECT_EQ(skin.MasterBitmap, master);
  }
  EXPECT_EQ(hooks, 0);

  // A later load works, calls the hooks after the common indexes with the flag set, and
  // leaves an outer loading flag set.
  std::vector<std::string> order;
  request.AfterCommonIndexes = [&] {
    order.push_back("indexes " + std::to_string(skin.ConstData.IndexGLOBALINFO) + (SkinIsLoading() ? " loading" : ""));
  };
  request.OnSkinLoading = [&] { order.push_back("loading"); };
  {
    const TSkinLoadingScope outer;
    ASSERT_EQ(Load("[GLOBALINFO]\r\n"), TsSkinLoadResult::Loaded);
    EXPECT_TRUE(SkinIsLoading());
  }
  EXPECT_FALSE(SkinIsLoading());
  EXPECT_EQ(order, (std::vector<std::string>{"indexes 0 loading", "loading"}));
}

// A description that is empty, not text or without a section is refused, naming the skin, the
// file and the fault; a value that cannot be read names its key and section as well.
TEST_F(SkinReader, DescriptionsThatCannotBeReadAreRefusedNamingTheFileAndTheFault) {
  const std::wstring file = L"\"" + skins.SkinPath(L"Test") + L"Options.dat\"";
  const std::wstring refused = L"The skin \"Test\" is refused: ";
  auto refusal = [&](const std::string& options) { return RefusalOf([&] { Load(options); }); };
  ASSERT_EQ(Load("[GLOBALINFO]\r\nVERSION=7\r\n"), TsSkinLoadResult::Loaded);
  EXPECT_EQ(refusal(""), refused + L"its description " + file + L" is empty.");
  EXPECT_EQ(refusal("\r\n  \r\n\t"), refused + L"its description " + file + L" is empty.");
  EXPECT_EQ(refusal("\xEF\xBB\xBF"), refused + L"its description " + file + L" is empty.");
  const Bytes png = Png24(2, 2, Flat(0x102030));
  EXPECT_EQ(refusal(std::string(png.begin(), png.end())),
            refused + L"its description " + file + L" is not text (a byte of 0 at offset 8).");
  EXPECT_EQ(refusal(std::string("[GLOBALINFO]\r\nVERSION=7\0\r\n", 26)),
            refused + L"its description " + file + L" is not text (a byte of 0 at offset 23).");
  EXPECT_EQ(refusal("VERSION=7\r\n; no section at all\r\n"), refused + L"its description " + file + L" holds no section.");
  EXPECT_DOUBLE_EQ(skin.SkinData.Version, 7);  // each refusal left the skin read before
  // One section with nothing in it is a description.
  EXPECT_EQ(refusal("[GLOBALINFO]"), L"loaded");

  // Values: the key, its section and what is wrong with it.
  skins.Write(L"Test", L"master.bmp", Bmp24(64, 48, MasterPixel));
  EXPECT_EQ(refusal("[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n[BUTTON]\r\n"
                    "BORDERSMASK=^0000,0000,0010,0010,01x4,0000,0000,0000,1,0,0,0\r\n"),
            refused + L"in its description " + file +
                L" the value of BORDERSMASK in section [BUTTON] cannot be read: '01x4' is not a valid integer value.");
  EXPECT_EQ(refusal("[BAD]\r\nGLYPHMASK=@0001\r\n"),
            refused + L"in its description " + file +
                L" the value of GLYPHMASK in section [BAD] cannot be read: Image descriptor '@0001' is too short.");
  EXPECT_EQ(refusal("[GLOBALINFO]\r\nLO_SOURCE=1\r\nLO_MASK=^0000,0000,0009,00x8\r\n"),
            refused + L"in its description " + file +
                L" the value of LO_MASK in section [GLOBALINFO] cannot be read: '00x8' is not a valid integer value.");
  EXPECT_EQ(refusal("[BAD]\r\nGRADIENTDATA=a;b;c;d;e\r\n"),
            refused + L"in its description " + file +
                L" the value of GRADIENTDATA in section [BAD] cannot be read: 'a' is not a valid integer value.");
  EXPECT_EQ(refusal("[BAD]\r\nSTATES=2\r\nHOTGRADIENTDATA=0;1;50;x;0\r\n"),
            refused + L"in its description " + file +
                L" the value of HOTGRADIENTDATA in section [BAD] cannot be read: 'x' is not a valid integer value.");

  // The editor's text is named as such.
  vcl::TStringList preview;
  request.PreviewLines = &preview;
  EXPECT_EQ(RefusalOf([&] { LoadSkin(request, skin); }), refused + L"its description from the skin editor is empty.");
  preview.SetText(L"[A]\r\nBORDERSMASK=!x!1\r\n");
  EXPECT_EQ(RefusalOf([&] { LoadSkin(request, skin); }),
            refused + L"in its description from the skin editor the value of BORDERSMASK in section [A] cannot be "
                      L"read: Image descriptor '!x!1' lacks a value.");
}

TEST_F(SkinReader, DescriptionsOfCountlessSectionsAndParentsLoad) {
  // Thousands of sections, each the parent of the one before it and each with images on a
  // large master bitmap: every lookup and border scan stays cheap.
  skins.Write(L"Test", L"master.bmp", Bmp24(1000, 1000, Flat(0xFF0000)));
  constexpr int n = 4000;
  std::string text = "[GLOBALINFO]\r\nMASTERBITMAP=master.bmp\r\n";
  for (int i = 0; i < n; ++i) {
    text += "[S" + std::to_string(i) + "]\r\nPARENTCLASS=S" + std::to_string(i + 1) + "\r\n";
    text += "GLYPHMASK=@0000,0000,1000,1000,1,0\r\nOUTERMASK=^0000,0000,1000,1000,0000,0000,0000,0000,1,0,0,0\r\n";
  }
  text += "[S" + std::to_string(n) + "]\r\nBORDERSMASK=@0000,0000,0004,0004,1,0\r\nCOLOR=5\r\n";
  ASSERT_EQ(Load(text), TsSkinLoadResult::Loaded);
  const int border = skin.FindImageByNames(L"S" + std::to_wstring(n), L"BORDERSMASK");
  EXPECT_EQ(Section(L"S0").Props[0].Color, 5);
  EXPECT_EQ(Section((L"S" + std::to_wstring(n - kMaxParentChain)).c_str()).BorderIndex, border);
  EXPECT_EQ(Section(L"S0").BorderIndex, -1);  // beyond the bound of a parent chain
  EXPECT_EQ(Section(L"S0").OuterMask, skin.FindImageByNames(L"S0", L"OUTERMASK"));
}

TEST(SkinDirectories, AreNormalisedAgainstTheProgramsFolder) {
  const vcl::String program = ProgramFolder();
  vcl::String parent = program.substr(0, program.size() - 1);
  parent = parent.substr(0, parent.find_last_of(L'\\') + 1);
  const std::pair<const wchar_t*, vcl::String> cases[] = {
      {L"..\\Skins", parent + L"Skins\\"},     {L"..", parent},
      {L".\\Skins", program + L"Skins\\"},     {L"./Skins/", program + L"Skins\\"},
      {L".", program},
      {L"Skins", program + L"Skins\\"},         {L"C:\\Skins", L"C:\\Skins\\"},
      {L"C:\\Skins\\", L"C:\\Skins\\"},       {L"\\\\server\\skins", L"\\\\server\\skins\\"}};
  for (const auto& [given, expected] : cases) EXPECT_EQ(NormalizeSkinDirectory(given), expected) << given;
}

TEST_F(SkinReader, Utf8DescriptionsKeepTheirNames) {
  ASSERT_EQ(Load("\xEF\xBB\xBF[GLOBALINFO]\r\nAUTHOR=\xE5\x90\x8D\r\n[\xE5\x90\x8D]\r\nCOLOR=9\r\n"),
            TsSkinLoadResult::Loaded);
  EXPECT_EQ(skin.SkinData.Author, L"\u540D");
  EXPECT_EQ(Section(L"\u540D").Props[0].Color, 9);
}

// A JPEG of a small picture whose frame header is made to claim the size given.
Bytes JpegClaiming(int Width, int Height) {
  vcl::TBitmap small;
  small.SetPixelFormat(vcl::pf24bit);
  small.SetSize(8, 8);
  vcl::TJPEGImage jpeg;
  jpeg.Assign(&small);
  vcl::TMemoryStream out;
  jpeg.SaveToStream(&out);
  Bytes bytes(out.Memory(), out.Memory() + out.Size());
  // The baseline frame header: FF C0, its length, the precision, then height and width.
  for (std::size_t i = 0; i + 8 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      bytes[i + 5] = static_cast<std::uint8_t>(Height >> 8), bytes[i + 6] = static_cast<std::uint8_t>(Height);
      bytes[i + 7] = static_cast<std::uint8_t>(Width >> 8), bytes[i + 8] = static_cast<std::uint8_t>(Width);
      break;
    }
  return bytes;
}

TEST_F(SkinReader, PicturesAndDescriptionsBeyondAnyRealSkinsAreRefusedNamingThemAndTheSkin) {
  auto refusal = [&](const std::string& options) {
    try {
      Load(options);
    } catch (const vcl::Exception& e) {
      return e.Message();
    }
    return vcl::String(L"loaded");
  };
  // Pictures at the size a picture may have, taking together what a skin's may take: loaded.
  static_assert(kMaxPicturePixels == 4000 * 2000 && kMaxSkinPixels == 2 * kMaxPicturePixels);
  skins.Write(L"Test", L"a.bmp", Bmp24(4000, 2000, Flat(0x102030)));
  skins.Write(L"Test", L"b.bmp", Bmp24(2000, 4000, Flat(0x405060)));
  skins.Write(L"Test", L"c.bmp", Bmp24(1, 1, Flat(0x708090)));
  skins.Write(L"Test", L"tall.bmp", Bmp24(4000, 2001, Flat(0x102030)));
  const std::string two = "[GLOBALINFO]\r\nMASTERBITMAP=a.bmp\r\n[B]\r\nGLYPHMASK=!b.bmp!1!0!0\r\n";
  EXPECT_EQ(refusal(two), L"loaded");
  EXPECT_EQ(Image(L"B", L"GLYPHMASK").Bmp->Height(), 4000);
  // One pixel more, in another picture or in one alone: refused before it is read.
  EXPECT_EQ(refusal(two + "[C]\r\nGLYPHMASK=!c.bmp!1!0!0\r\n"),
            L"The picture \"c.bmp\" of the skin \"Test\" is refused: with it the skin's pictures would take more than "
            L"16 million pixels.");
  EXPECT_EQ(refusal("[GLOBALINFO]\r\nMASTERBITMAP=tall.bmp\r\n"),
            L"The picture \"tall.bmp\" of the skin \"Test\" is refused: 4000 x 2001 pixels, more than the 8 million a "
            L"skin picture may have.");
  // A JPEG is refused on its header, before it is decoded.
  skins.Write(L"Test", L"huge.jpg", JpegClaiming(30000, 20000));
  EXPECT_EQ(refusal("[T]\r\nPATTERN=huge.jpg\r\n"),
            L"The picture \"huge.jpg\" of the skin \"Test\" is refused: 30000 x 20000 pixels, more than the 8 million a "
            L"skin picture may have.");
  // A picture file larger than any entry of a pack is refused unread; one of that size is
  // read (and found no picture).
  skins.Write(L"Test", L"big.bmp", BytesOf("not a picture"));
  const std::filesystem::path big = std::filesystem::path(skins.SkinPath(L"Test")) / L"big.bmp";
  std::filesystem::resize_file(big, kMaxPackEntrySize + 1);
  EXPECT_EQ(refusal("[GLOBALINFO]\r\nMASTERBITMAP=big.bmp\r\n"),
            L"The picture \"big.bmp\" of the skin \"Test\" is refused: its file of 67108865 bytes is larger than any "
            L"skin picture.");
  std::filesystem::resize_file(big, kMaxPackEntrySize);
  EXPECT_EQ(refusal("[GLOBALINFO]\r\nMASTERBITMAP=big.bmp\r\n"),
            L"The picture \"big.bmp\" of the skin \"Test\" cannot be read: Bitmap image is not valid");
  // A description of the size allowed loads; a byte more is refused unread.
  std::string description = "[GLOBALINFO]\r\nVERSION=2\r\n;";
  description.resize(static_cast<std::size_t>(kMaxDescriptionSize), 'x');
  EXPECT_EQ(refusal(description), L"loaded");
  EXPECT_EQ(skin.SkinData.Version, 2);
  EXPECT_EQ(refusal(description + "x"), L"The skin \"Test\" is refused: its description \"" + skins.SkinPath(L"Test") +
                                            L"Options.dat\" has 1048577 bytes, more than the 1048576 a skin "
                                            L"description may have.");
}

}  // namespace
}  // namespace skin_layered::test
