// The sample skin as the build packs it: the engine reads the package, and what the
// description states fits what the skin maker drew.
#include <gtest/gtest.h>

#include "classlib/rtl/Streams.h"
#include "skin_classic/core/SkinObjects.h"
#include "skin_classic/support/win_skin_support.h"

namespace winskin {
namespace {

using namespace test;
using enum SkinElement;

class SampleSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    vcl::TMemoryStream stream;
    stream.LoadFromFile(SCRIVANE_SAMPLE_SKIN_FILE);
    ASSERT_TRUE(reader_.LoadFromStream(&stream));
    vcl::TMemoryStream description;
    AnsiString name;
    reader_.ExtractByExt(".ini", &description, name);
    EXPECT_EQ(name, "azure.ini");
    ini_.LoadFromStream(&description);
    skin_.ReadDescription(reader_, ini_);
  }

  TSkinReader reader_;
  TQuickIni ini_;
  TSkinObjects skin_;
};

TEST_F(SampleSkin, FrameBordersHaveTheirFramesAndRoundedCornersCutInTheKeyColour) {
  EXPECT_EQ(skin_.SkinName(), "Azure");
  TDataSkinBorder* left = skin_.Border(SkinBorder::Left);
  TDataSkinBorder* top = skin_.Border(SkinBorder::Top);
  ASSERT_TRUE(left->HasBitmap() && top->HasBitmap() && skin_.Border(SkinBorder::Bottom)->HasBitmap());
  // Active and inactive frames: side by side for the sides, stacked for the top and bottom.
  EXPECT_EQ(left->Frame, 2);
  EXPECT_EQ(left->Bitmap->Width() / left->Frame, 4);
  EXPECT_EQ(top->Bitmap->Height() / top->Frame, 30);
  EXPECT_EQ(left->TopHeight, 30);  // the title's end is kept whole
  EXPECT_TRUE(left->Transparent() && top->Transparent());
  EXPECT_EQ(At(left->Bitmap.get(), 0, 0), kSkinKeyColor);
  EXPECT_NE(At(left->Bitmap.get(), 3, 40), kSkinKeyColor);
}

TEST_F(SampleSkin, EveryElementAndCaptionButtonHasItsPicture) {
  for (size_t e = 0; e < skin_classic::kElementCount; ++e) {
    const auto element = static_cast<SkinElement>(e);
    TDataSkinObject* o = skin_.Element(element);
    ASSERT_TRUE(o) << skin_classic::ElementSection(element);
    EXPECT_TRUE(o->HasBitmap()) << skin_classic::ElementSection(element);
  }
  const auto& buttons = skin_.SysButtons();
  ASSERT_EQ(buttons.size(), 6u + 3u);
  for (size_t i = 0; i < buttons.size(); ++i)
    EXPECT_EQ(buttons[i]->HasBitmap(), buttons[i]->Action != 3) << buttons[i]->Name;  // the icon is the window's
  EXPECT_EQ(skin_.Buttons()->CheckButtonFrame, 12);
  EXPECT_EQ(skin_.Element(Scrollbar)->Frame, 23);
}

}  // namespace
}  // namespace winskin
