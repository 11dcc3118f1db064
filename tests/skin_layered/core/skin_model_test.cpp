// The skin tables: lookups by name with parent inheritance (over several levels, ending on
// cycles), image sizes and nine-part margins, added images and the common index table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_layered/core/SkinModel.h"

namespace skin_layered::test {
namespace {

TsGeneralData Section(const wchar_t* name, const wchar_t* parent = L"") {
  TsGeneralData s;
  s.ClassName = name;
  s.ParentClass = parent;
  return s;
}

class SkinModel : public ::testing::Test {
 protected:
  int Image(const wchar_t* section, const wchar_t* key, int imgType = 2, vcl::TRect r = {0, 0, 30, 20}) {
    return skin.AddImage(key, section, 0, 0, 1, r, imgType);
  }
  TsLoadedSkin skin;
};

TEST_F(SkinModel, SectionsAreFoundByTheirExactName) {
  skin.Sections = {Section(L"GLOBALINFO"), Section(L"BUTTON"), Section(L"BUTTON")};
  EXPECT_EQ(skin.GetSkinIndex(L"BUTTON"), 1);
  EXPECT_EQ(skin.GetSkinIndex(L"Button"), -1);
  EXPECT_TRUE(skin.IsValidSkinIndex(2));
  EXPECT_FALSE(skin.IsValidSkinIndex(3));
  EXPECT_FALSE(skin.IsValidSkinIndex(-1));
}

TEST_F(SkinModel, ImagesAreInheritedOverSeveralLevels) {
  skin.Sections = {Section(L"BASE"), Section(L"MIDDLE", L"BASE"), Section(L"CHILD", L"MIDDLE")};
  const int border = Image(L"BASE", L"BORDERSMASK");
  const int glyph = Image(L"MIDDLE", L"GLYPHMASK");
  const int own = Image(L"CHILD", L"GLYPHMASK");
  EXPECT_EQ(skin.GetMaskIndex(2, L"CHILD", L"BORDERSMASK"), border);  // from the grandparent
  EXPECT_EQ(skin.GetMaskIndex(2, L"CHILD", L"GLYPHMASK"), own);       // its own first
  EXPECT_EQ(skin.GetMaskIndex(1, L"MIDDLE", L"GLYPHMASK"), glyph);
  EXPECT_EQ(skin.GetMaskIndex(2, L"CHILD", L"SLIDERMASK"), -1);
  EXPECT_EQ(skin.GetMaskIndex(-1, L"BASE", L"BORDERSMASK"), -1);
  EXPECT_EQ(skin.GetMaskIndex(0, L"", L"BORDERSMASK"), -1);
  EXPECT_EQ(skin.GetMaskIndex(0, L"BASE", L""), -1);
  // Without inheritance.
  EXPECT_EQ(skin.FindImageByNames(L"CHILD", L"BORDERSMASK"), -1);
  EXPECT_EQ(skin.FindImageByNames(L"BASE", L"BORDERSMASK"), border);
}

TEST_F(SkinModel, ParentChainsThatComeBackEnd) {
  skin.Sections = {Section(L"SELF", L"SELF"), Section(L"A", L"B"), Section(L"B", L"A"), Section(L"C", L"A"),
                   Section(L"ORPHAN", L"MISSING")};
  const int inB = Image(L"B", L"PATTERN", 1);  // a texture: not found as a mask
  EXPECT_EQ(skin.GetMaskIndex(0, L"SELF", L"BORDERSMASK"), -1);
  EXPECT_EQ(skin.GetMaskIndex(1, L"A", L"BORDERSMASK"), -1);  // A -> B -> A: stops
  EXPECT_EQ(skin.GetMaskIndex(3, L"C", L"BORDERSMASK"), -1);  // C -> A -> B -> A
  EXPECT_EQ(skin.GetTextureIndex(3, L"C", L"PATTERN"), inB);
  EXPECT_EQ(skin.GetMaskIndex(4, L"ORPHAN", L"PATTERN"), -1);
}

TEST_F(SkinModel, IndexedLookupsAnswerAsTheSearchDoes) {
  skin.Sections = {Section(L"GLOBALINFO"), Section(L"BUTTON"), Section(L"CHILD", L"BUTTON"), Section(L"BUTTON"),
                   Section(L"LOOP", L"LOOP2"), Section(L"LOOP2", L"LOOP")};
  const int border = Image(L"BUTTON", L"BORDERSMASK");
  Image(L"BUTTON", L"BORDERSMASK");  // a second of the same names is never found
  const int pattern = Image(L"BUTTON", L"PATTERN", 2);
  const int texture = Image(L"BUTTON", L"PATTERN", 1);
  auto answers = [&] {
    return std::vector<int>{skin.GetSkinIndex(L"BUTTON"),
                            skin.GetSkinIndex(L"NONE"),
                            skin.GetMaskIndex(2, L"CHILD", L"BORDERSMASK"),
                            skin.GetMaskIndex(2, L"CHILD", L"PATTERN"),
                            skin.GetTextureIndex(2, L"CHILD", L"PATTERN"),
                            skin.GetMaskIndex(4, L"LOOP", L"BORDERSMASK"),
                            skin.FindImageByNames(L"BUTTON", L"PATTERN"),
                            skin.FindImageByNames(L"CHILD", L"BORDERSMASK")};
  };
  const std::vector<int> searched = answers();
  EXPECT_EQ(searched, (std::vector<int>{1, -1, border, pattern, texture, -1, pattern, -1}));
  skin.IndexTables();
  EXPECT_EQ(answers(), searched);
  // Images added later are found through the index too; tables changed behind its back
  // are searched.
  const int added = skin.AddImage(L"GLYPHMASK", L"CHILD", 0, 0, 1, {0, 0, 4, 4}, 0);
  EXPECT_EQ(skin.FindImageByNames(L"CHILD", L"GLYPHMASK"), added);
  skin.Sections.push_back(Section(L"LATE"));
  EXPECT_EQ(skin.GetSkinIndex(L"LATE"), 6);
  EXPECT_EQ(skin.GetMaskIndex(2, L"CHILD", L"GLYPHMASK"), added);
}

TEST_F(SkinModel, ParentChainsEndAtTheirBound) {
  // Each section the parent of the one before it; the image at the far end.
  for (int i = 0; i <= kMaxParentChain + 1; ++i)
    skin.Sections.push_back(Section((L"S" + std::to_wstring(i)).c_str(), (L"S" + std::to_wstring(i + 1)).c_str()));
  const int last = static_cast<int>(skin.Sections.size()) - 1;
  Image((L"S" + std::to_wstring(last)).c_str(), L"GLYPHMASK");
  skin.IndexTables();
  EXPECT_EQ(skin.GetMaskIndex(last - kMaxParentChain, (L"S" + std::to_wstring(last - kMaxParentChain)).c_str(),
                              L"GLYPHMASK"),
            0);
  EXPECT_EQ(skin.GetMaskIndex(0, L"S0", L"GLYPHMASK"), -1);
}

TEST_F(SkinModel, ImageSizes) {
  TsMaskData m;
  m.R = {0, 0, 90, 21};
  m.ImageCount = 3;
  m.MaskType = 1;
  EXPECT_EQ(MaskImageWidth(m), 30);
  EXPECT_EQ(MaskImageHeight(m), 10);  // half of 21, rounded towards zero
  m.MaskType = 2;
  EXPECT_EQ(MaskImageHeight(m), 7);
  m.MaskType = -7;  // out of its range: no rows rather than a negative height
  EXPECT_EQ(MaskImageHeight(m), 0);
  m.ImageCount = 0;
  EXPECT_EQ(MaskImageWidth(m), 0);
}

TEST_F(SkinModel, NinePartMargins) {
  const int own = skin.AddImage(L"BORDERSMASK", L"EDIT", 1, 0, 2, {0, 0, 60, 40}, 2);
  skin.Images[static_cast<std::size_t>(own)].WidthLeft = 4;
  skin.Images[static_cast<std::size_t>(own)].WidthBottom = 6;
  skin.Images[static_cast<std::size_t>(own)].MarginAll = 3;
  EXPECT_EQ(skin.MaskWidthLeft(own), 4);
  EXPECT_EQ(skin.MaskWidthTop(own), 3);  // the shared margin
  EXPECT_EQ(skin.MaskWidthRight(own), 3);
  EXPECT_EQ(skin.MaskWidthBottom(own), 6);

  const int plain = skin.AddImage(L"BORDERSMASK", L"PANEL", 1, 0, 2, {0, 0, 60, 40}, 2);
  EXPECT_EQ(skin.MaskWidthLeft(plain), 30);  // one frame's width
  EXPECT_EQ(skin.MaskWidthBottom(plain), 20);  // one state's height

  const int noFrames = skin.AddImage(L"BORDERSMASK", L"MEMO", 0, 0, 0, {0, 0, 60, 40}, 2);
  EXPECT_EQ(skin.MaskWidthLeft(noFrames), 60);  // left takes at least one frame
  EXPECT_EQ(skin.MaskWidthRight(noFrames), 0);
  EXPECT_EQ(skin.Images[static_cast<std::size_t>(noFrames)].ImageCount, 0);  // the record is left alone

  EXPECT_EQ(skin.MaskWidthLeft(-1), 0);
  EXPECT_EQ(skin.MaskWidthBottom(99), 0);
  EXPECT_FALSE(skin.IsValidImgIndex(3));
}

TEST_F(SkinModel, CommonIndexesAreRefilledFromTheTables) {
  skin.Sections = {Section(L"GLOBALINFO"), Section(L"TAB"), Section(L"TABTOP", L"TAB"), Section(L"COMBOBTN"),
                   Section(L"COMBOBOX"), Section(L"MENUITEM"), Section(L"TRANSPARENT")};
  const int close = Image(L"GLOBALINFO", L"BICONCLOSE");
  const int checked = Image(L"GLOBALINFO", L"BOXCHECKED");
  const int exBorder = Image(L"GLOBALINFO", L"EXBORDER");
  const int tabBorder = Image(L"TAB", L"BORDERSMASK");
  const int tabHot = Image(L"TABTOP", L"HOTPATTERN", 1);
  const int comboBtnGlyph = Image(L"COMBOBTN", L"GLYPHMASK");
  const int comboGlyph = Image(L"COMBOBOX", L"GLYPHMASK");
  (void)comboBtnGlyph;

  skin.InitConstantIndexes();
  const TConstantSkinData& c = skin.ConstData;
  EXPECT_EQ(c.IndexGLOBALINFO, 0);
  EXPECT_EQ(c.ExBorder, exBorder);
  EXPECT_EQ(c.TitleButton(TqvTitleButtonImage::BIConClose), close);
  EXPECT_EQ(c.TitleButton(TqvTitleButtonImage::SIConHelp), -1);
  EXPECT_EQ(c.CheckBox[1], checked);
  EXPECT_EQ(c.CheckBox[0], -1);
  const TqvConstElementData& top = c.Tabs[3][1];  // the single tab on top
  EXPECT_EQ(top.SkinSection, L"TABTOP");
  EXPECT_EQ(top.SkinIndex, 2);
  EXPECT_EQ(top.MaskIndex, tabBorder);  // inherited from TAB
  EXPECT_EQ(top.BGIndex[1], tabHot);
  EXPECT_EQ(top.BGIndex[0], -1);
  EXPECT_EQ(c.Tabs[0][0].SkinIndex, -1);
  EXPECT_EQ(c.ComboBtn.SkinIndex, 3);
  EXPECT_EQ(c.ComboBtn.GlyphIndex, comboGlyph);  // the combo box's glyph, not the button's
  EXPECT_EQ(c.CommonSection(TqvCommonSection::MenuItem), 5);
  EXPECT_EQ(c.CommonSection(TqvCommonSection::Transparent), 6);
  EXPECT_EQ(c.CommonSection(TqvCommonSection::WebButton), -1);

  skin.Sections.clear();
  skin.Images.clear();
  skin.InitConstantIndexes();
  EXPECT_EQ(skin.ConstData.IndexGLOBALINFO, -1);
  EXPECT_EQ(skin.ConstData.ComboBtn.GlyphIndex, -1);
  EXPECT_EQ(skin.ConstData.Tabs[3][1].MaskIndex, -1);
}

}  // namespace
}  // namespace skin_layered::test
