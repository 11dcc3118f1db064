// The sample layered skins made by the build (Lagoon and its variant Ember).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "reader_support.h"
#include "sample_skins.h"

namespace skin_layered::test {
namespace {

std::vector<std::uint32_t> Pixels(vcl::TBitmap* bmp) {
  TPixelView view;
  std::vector<std::uint32_t> pixels;
  if (!InitPixelView(bmp, view)) return pixels;
  for (int y = 0; y < view.Height; ++y) pixels.insert(pixels.end(), view.Row(y), view.Row(y) + view.Width);
  return pixels;
}

// The folder and the pack go through one reader: what can differ is what is read from where,
// so the tables' shape, the images found and every picture are compared.
void ExpectSameTables(const TsLoadedSkin& a, const TsLoadedSkin& b) {
  ASSERT_EQ(a.Sections.size(), b.Sections.size());
  for (std::size_t i = 0; i < a.Sections.size(); ++i) {
    const TsGeneralData &x = a.Sections[i], &y = b.Sections[i];
    EXPECT_EQ(x.ClassName, y.ClassName);
    EXPECT_EQ((std::array{x.States, x.BorderIndex, x.TextureIndex, x.OuterMask}),
              (std::array{y.States, y.BorderIndex, y.TextureIndex, y.OuterMask}))
        << x.ClassName;
  }
  ASSERT_EQ(a.Images.size(), b.Images.size());
  for (std::size_t i = 0; i < a.Images.size(); ++i) {
    const TsMaskData &x = a.Images[i], &y = b.Images[i];
    const vcl::String where = x.ClassName + L" " + x.PropertyName;
    EXPECT_EQ(x.PropertyName, y.PropertyName) << where;
    EXPECT_EQ(x.R, y.R) << where;
    EXPECT_EQ((std::array<int, 5>{x.ImageCount, x.MaskType, x.ImgType, x.TransparentBorder, x.Bmp ? 1 : 0}),
              (std::array<int, 5>{y.ImageCount, y.MaskType, y.ImgType, y.TransparentBorder, y.Bmp ? 1 : 0}))
        << where;
    if (x.Bmp && y.Bmp) {
      EXPECT_EQ(Pixels(x.Bmp.get()), Pixels(y.Bmp.get())) << where;
    }
  }
  ASSERT_TRUE(a.MasterBitmap && b.MasterBitmap);
  EXPECT_EQ(Pixels(a.MasterBitmap.get()), Pixels(b.MasterBitmap.get()));
  EXPECT_EQ(a.LoadedFiles.size(), b.LoadedFiles.size());
  EXPECT_EQ(a.SkinData.TitleHeight, b.SkinData.TitleHeight);
  EXPECT_EQ(a.Colors.GlobalColor, b.Colors.GlobalColor);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(a.ShadowLayerData[i].MaskIndex, b.ShadowLayerData[i].MaskIndex);
}

// (The units run for the whole program: reader_test.cpp starts them.)
class SampleSkin : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(SampleSkin, FolderAndPackLoadIntoEqualTables) {
  TsLoadedSkin folder, pack;
  LoadFolder(GetParam(), folder);
  LoadPack(GetParam(), pack);
  ExpectSameTables(folder, pack);
  EXPECT_EQ(folder.SkinData.SkinPath, NormalizeSkinDirectory(SampleSkins()) + GetParam() + L"\\");
  EXPECT_EQ(pack.SkinData.SkinPath, NormalizeSkinDirectory(SampleSkins()));
}

TEST_P(SampleSkin, DefinesEverySectionAndImageTheEngineNames) {
  TsLoadedSkin skin;
  LoadFolder(GetParam(), skin);
  const TConstantSkinData& c = skin.ConstData;
  EXPECT_GE(c.IndexGLOBALINFO, 0);
  EXPECT_GE(c.ExBorder, 0);
  auto resolved = [](const TqvConstElementData& e) {
    EXPECT_GE(e.SkinIndex, 0) << e.SkinSection;
    EXPECT_GE(e.MaskIndex, 0) << e.SkinSection;
  };
  for (const auto& row : c.Tabs)
    for (const TqvConstElementData& tab : row) resolved(tab);
  for (const auto* group : {&c.ScrollBtns, &c.ScrollBars})
    for (const TqvConstElementData& e : *group) resolved(e);
  for (const TqvConstElementData& e : c.ScrollBtns) EXPECT_GE(e.GlyphIndex, 0) << e.SkinSection;
  for (const TqvConstElementData& e : c.ScrollSliders) EXPECT_GE(e.MaskIndex, 0) << e.SkinSection;
  EXPECT_GE(c.ComboBtn.MaskIndex, 0);
  EXPECT_GE(c.ComboBtn.GlyphIndex, 0);
  auto found = [](const auto& indexes) {
    for (int i : indexes) EXPECT_GE(i, 0);
  };
  found(std::array{c.GripImage, c.GripHorz, c.GripVert});
  found(c.TitleButtons), found(c.CheckBox), found(c.RadioButton), found(c.SmallBox), found(c.CommonSections);
  for (const TsShadowLayer& layer : skin.ShadowLayerData) EXPECT_GE(layer.MaskIndex, 0);

  for (auto [section, key] : std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>{
           {L"GLOBALINFO", L"BICONCLOSEGLOW0"}, {L"GLOBALINFO", L"BICONMAXGLOW0"}, {L"GLOBALINFO", L"BICONMINGLOW0"},
           {L"GLOBALINFO", L"TITLEBUTTON"},     {L"FORM", L"TITLEBAR"},            {L"STATUSBAR", L"STATUSPANELMASK"},
           {L"GAUGE", L"PROGRESSH"},            {L"TRACKBAR", L"SLIDERCHANNEL"},   {L"TRACKBAR", L"SLIDERMASK"},
           {L"TRACKBAR", L"SLIDERVMASK"},       {L"TRACKBAR", L"TICKHORZ"},        {L"TRACKBAR", L"TICKVERT"},
           {L"MAINMENU", L"BORDERSMASK"},       {L"DIVIDERV", L"BORDERSMASK"},     {L"DIVIDER", L"BORDERSMASK"},
           {L"COLHEADER", L"BORDERSMASK"},      {L"HINT", L"BORDERSMASK"},         {L"MDIAREA", L"PATTERN"},
           {L"TABSHEET", L"PATTERN"},           {L"FORM", L"PATTERN"}})
    EXPECT_GE(skin.FindImageByNames(section, key), 0) << section << L" " << key;
  // Inherited through the parents.
  EXPECT_EQ(skin.GetMaskIndex(skin.GetSkinIndex(L"TOOLBUTTON"), L"TOOLBUTTON", L"BORDERSMASK"),
            skin.FindImageByNames(L"SPEEDBUTTON", L"BORDERSMASK"));
  // One grain picture serves three keys.
  const auto& form = skin.Images[static_cast<std::size_t>(skin.FindImageByNames(L"FORM", L"PATTERN"))];
  const auto& sheet = skin.Images[static_cast<std::size_t>(skin.FindImageByNames(L"TABSHEET", L"PATTERN"))];
  EXPECT_EQ(form.Bmp, sheet.Bmp);
}

TEST_P(SampleSkin, PicturesHaveSoftEdgesAndDistinctStates) {
  TsLoadedSkin skin;
  LoadFolder(GetParam(), skin);
  const TsMaskData& button = skin.Images[static_cast<std::size_t>(skin.FindImageByNames(L"BUTTON", L"BORDERSMASK"))];
  ASSERT_TRUE(button.ImageCount == 4 && button.MaskType == 1);
  vcl::TBitmap* master = skin.MasterBitmap.get();
  const int w = MaskImageWidth(button), h = MaskImageHeight(button);
  // The mask of the rounded corner holds shades between clear and opaque.
  bool soft = false;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const std::uint32_t m = PixelOf(master, button.R.Left + x, button.R.Top + h + y) & 0xFF;
      soft = soft || (m > 0x10 && m < 0xF0);
    }
  EXPECT_TRUE(soft);
  EXPECT_EQ(PixelOf(master, button.R.Left + w / 2, button.R.Top + h + h / 2) & 0xFF, 0u);  // opaque middle
  // Normal, hot and pressed faces differ.
  std::vector<std::uint32_t> faces;
  for (int state = 0; state < 3; ++state)
    faces.push_back(PixelOf(master, button.R.Left + state * w + w / 2, button.R.Top + h / 2));
  EXPECT_TRUE(faces[0] != faces[1] && faces[1] != faces[2] && faces[0] != faces[2]);
}

INSTANTIATE_TEST_SUITE_P(LagoonAndEmber, SampleSkin, ::testing::Values(L"Lagoon", L"Ember"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& Info) {
                           std::string name;
                           for (const wchar_t* c = Info.param; *c; ++c) name += static_cast<char>(*c);
                           return name;
                         });

TEST(SampleSkinVariant, DiffersOnlyInItsColours) {
  TsLoadedSkin lagoon, ember;
  LoadFolder(L"Lagoon", lagoon);
  LoadFolder(L"Ember", ember);
  ASSERT_EQ(lagoon.Sections.size(), ember.Sections.size());
  ASSERT_EQ(lagoon.Images.size(), ember.Images.size());
  for (std::size_t i = 0; i < lagoon.Images.size(); ++i) EXPECT_EQ(lagoon.Images[i].R, ember.Images[i].R);
  const auto title = static_cast<std::size_t>(lagoon.GetSkinIndex(L"FORMTITLE"));
  EXPECT_NE(lagoon.Sections[title].Props[1].Color, ember.Sections[title].Props[1].Color);
  EXPECT_NE(Pixels(lagoon.MasterBitmap.get()), Pixels(ember.MasterBitmap.get()));
}

}  // namespace
}  // namespace skin_layered::test
