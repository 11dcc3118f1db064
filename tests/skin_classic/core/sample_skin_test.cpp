// The sample skin as the build packs it: the engine reads the package, and what the
// description states fits what the skin maker drew (frame counts, border sizes, the rounded
// corners cut in the key colour, a picture for every element the engine paints).
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

TEST_F(SampleSkin, FrameBordersFitTheDrawnWindow) {
  EXPECT_EQ(skin_.SkinName(), "Azure");
  TDataSkinBorder* left = skin_.Border(SkinBorder::Left);
  TDataSkinBorder* top = skin_.Border(SkinBorder::Top);
  TDataSkinBorder* bottom = skin_.Border(SkinBorder::Bottom);
  ASSERT_TRUE(left->HasBitmap() && top->HasBitmap() && bottom->HasBitmap());
  // Active and inactive frames: side by side for the sides, stacked for the top and bottom.
  EXPECT_EQ(left->Frame, 2);
  EXPECT_EQ(left->Bitmap->Width() / left->Frame, 4);
  EXPECT_EQ(top->Bitmap->Height() / top->Frame, 30);
  EXPECT_EQ(bottom->Bitmap->Height() / bottom->Frame, 4);
  EXPECT_EQ(left->TopHeight, 30);  // the title's end is kept whole
  // Rounded top corners: the outer corner is the key colour and the region cuts it away.
  EXPECT_TRUE(left->Transparent() && top->Transparent());
  EXPECT_EQ(At(left->Bitmap.get(), 0, 0), kSkinKeyColor);
  EXPECT_EQ(At(left->Bitmap.get(), 4, 0), kSkinKeyColor);
  EXPECT_NE(At(left->Bitmap.get(), 3, 40), kSkinKeyColor);
  EXPECT_NE(At(top->Bitmap.get(), 20, 10), kSkinKeyColor);
  // The title text is white on the active title.
  EXPECT_EQ(skin_.Title()->ActiveText, 0xFFFFFF);
}

TEST_F(SampleSkin, CaptionButtonsHaveFourFramesAndTheMdiButtonsTheirPictures) {
  const auto& buttons = skin_.SysButtons();
  ASSERT_EQ(buttons.size(), 6u + 3u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(buttons[i]->Frame, 4) << buttons[i]->Name;
    EXPECT_EQ(buttons[i]->Bitmap->Width(), 4 * 25) << buttons[i]->Name;
    EXPECT_EQ(buttons[i]->Align, 1) << buttons[i]->Name;
  }
  EXPECT_EQ(buttons[0]->Action, 0);
  EXPECT_EQ(buttons[5]->Action, 3);  // the icon: drawn from the window's icon
  EXPECT_FALSE(buttons[5]->HasBitmap());
  for (size_t j = 0; j < 3; ++j) {
    const TDataSkinSysButton* mdi = buttons[6 + j].get();
    EXPECT_EQ(mdi->Action, 7 + static_cast<int>(j));
    EXPECT_EQ(mdi->Bitmap->Width(), 4 * 16);
    EXPECT_EQ(mdi->Xcoord, 20 * (3 - static_cast<int>(j)));
  }
}

TEST_F(SampleSkin, EveryElementHasItsPicture) {
  for (size_t e = 0; e < skin_classic::kElementCount; ++e) {
    const auto element = static_cast<SkinElement>(e);
    TDataSkinObject* o = skin_.Element(element);
    ASSERT_TRUE(o) << skin_classic::ElementSection(element);
    EXPECT_TRUE(o->HasBitmap()) << skin_classic::ElementSection(element);
  }
  TDataSkinButton* b = skin_.Buttons();
  EXPECT_EQ(b->CheckButtonFrame, 12);
  EXPECT_EQ(b->CheckBitmap->Width(), 12 * 13);
  EXPECT_EQ(b->RadioButtonFrame, 8);
  EXPECT_EQ(skin_.Element(Scrollbar)->Frame, 23);
  EXPECT_EQ(skin_.Element(Scrollbar)->Bitmap->Width(), 23 * 17);
  EXPECT_EQ(skin_.Element(HorzScrollThumb)->Frame, 3);
  EXPECT_EQ(skin_.Element(UpDownVert)->Bitmap->Width(), 8 * 15);
  EXPECT_EQ(skin_.Color(skin_classic::kColourButtonFace), 0xF6F0EC);
}

}  // namespace
}  // namespace winskin
