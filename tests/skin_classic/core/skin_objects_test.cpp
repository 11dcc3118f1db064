// The complete synthetic skin read into skin data objects: bitmaps, colours, the MDI pictures,
// the combo composite and its arrow, the tool bar background, the built-in track, reading
// again and broken pictures.
#include <gtest/gtest.h>

#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/core/SkinObjects.h"
#include "skin_classic/support/SyntheticSkin.h"
#include "skin_classic/support/win_skin_support.h"

namespace winskin {
namespace {

using namespace test;
using enum SkinElement;
using vcl::TColor;

TColor Frame(int picture, int frame) { return C(FrameColour(picture, frame)); }

class CompleteSkinObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    package_ = LoadPackage(CompleteSkinSpec());
    ASSERT_TRUE(package_);
    skin_.ReadDescription(package_->reader, package_->ini);
  }
  TDataSkinObject* E(SkinElement e) {
    TDataSkinObject* o = skin_.Element(e);
    EXPECT_TRUE(o) << skin_classic::ElementSection(e);
    return o;
  }

  std::unique_ptr<LoadedPackage> package_;
  TSkinObjects skin_;
};

// The records' values are checked natively; here: each kind of object gets its bitmaps.
TEST_F(CompleteSkinObjects, BordersTitleButtonsAndCaptionButtonsGetTheirPictures) {
  TDataSkinBorder* left = skin_.Border(SkinBorder::Left);
  ASSERT_EQ(left->Bitmap->Width(), 8);
  EXPECT_EQ(At(left->Bitmap.get(), 0, 0), Frame(kLeftPicture, 1));
  EXPECT_EQ(At(left->Bitmap.get(), 4, 29), Frame(kLeftPicture, 2));
  EXPECT_EQ(At(skin_.Border(SkinBorder::Top)->Bitmap.get(), 0, 24), Frame(kTopPicture, 2));  // stacked frames
  EXPECT_EQ(At(skin_.Title()->Bitmap.get(), 10, 0), Frame(kTextBackPicture, 2));
  TDataSkinButton* b = skin_.Buttons();
  EXPECT_EQ(At(b->Bitmap.get(), 12 * 4, 0), Frame(kButtonsPicture, 5));
  EXPECT_EQ(b->CheckBitmap->Width(), 104);
  EXPECT_EQ(At(b->RadioBitmap.get(), 95, 15), Frame(kRadioPicture, 6));

  const auto& sys = skin_.SysButtons();
  ASSERT_EQ(sys.size(), 6u);
  EXPECT_EQ(At(sys[0]->Bitmap.get(), 29, 9), Frame(kClosePicture, 3));
  EXPECT_TRUE(sys[2]->Bitmap->Empty());  // the icon button
  // The MDI buttons: frames 4j + 1 .. 4j + 4 of the one MDI picture each.
  for (int j = 0; j < 3; ++j) {
    TDataSkinSysButton* m = sys[3 + static_cast<size_t>(j)].get();
    ASSERT_EQ(m->Bitmap->Width(), 32);
    EXPECT_EQ(m->Bitmap->Height(), 8);
    EXPECT_EQ(At(m->Bitmap.get(), 0, 0), Frame(kMdiPicture, 4 * j + 1));
    EXPECT_EQ(At(m->Bitmap.get(), 31, 7), Frame(kMdiPicture, 4 * j + 4));
  }
}

TEST_F(CompleteSkinObjects, ColoursSampleAndBrush) {
  EXPECT_EQ(skin_.Color(3), C(kSkinButtonFace));
  EXPECT_TRUE(skin_.ColorGiven(3));
  EXPECT_EQ(skin_.Color(8), vcl::ColorToRGB(vcl::cl3DDkShadow));  // the system's when not given
  // The sample: a third into the top border's first frame.
  EXPECT_EQ(skin_.SampleColor(), Frame(kTopPicture, 1));
  EXPECT_EQ(skin_.Color(17), Frame(kTopPicture, 1));
  ASSERT_TRUE(skin_.Brush());
  LOGBRUSH lb{};
  GetObjectW(skin_.Brush(), sizeof(lb), &lb);
  EXPECT_EQ(static_cast<TColor>(lb.lbColor), C(kSkinButtonFace));
}

TEST_F(CompleteSkinObjects, ElementObjectsOfEachKind) {
  EXPECT_EQ(E(Progress)->ClassName(), L"TDataSkinBorder");
  ASSERT_EQ(E(GroupBox)->ClassName(), L"TDataSkinBoxLabel");
  EXPECT_EQ(static_cast<TDataSkinBoxLabel*>(E(GroupBox))->BackgroundRightShift, 4);
  EXPECT_EQ(E(Scrollbar)->ClassName(), L"TDataSkinObject");
  EXPECT_EQ(E(TabPane)->Margins(), vcl::Rect(4, 4, 4, 2));
  auto* tabs = static_cast<TDataSkinBorder*>(E(Tabs));
  EXPECT_EQ(At(tabs->Bitmap2.get(), 0, 0), Frame(kTabBorderPicture, 1));
  auto* updown = static_cast<TDataSkinBorder*>(E(UpDownHorz));
  EXPECT_EQ(At(updown->Bitmap2.get(), 4, 4), Frame(kUpDownHorzGlyph, 1));
  EXPECT_EQ(At(E(MenuBar)->Bitmap.get(), 39, 17), Frame(kMenuBarPicture, 2));

  // "Track" is missing from the skin: the engine's channel, 24 x 8, margins 3.
  TDataSkinObject* track = E(Track);
  ASSERT_EQ(track->Bitmap->Width(), 24);
  EXPECT_EQ(track->Bitmap->Height(), 8);
  EXPECT_EQ(At(track->Bitmap.get(), 0, 0), vcl::clGray);
  EXPECT_EQ(At(track->Bitmap.get(), 23, 7), vcl::clWhite);
  EXPECT_EQ(At(track->Bitmap.get(), 12, 4), 0xE8E8E8);
  EXPECT_EQ(track->Margins(), vcl::Rect(3, 3, 3, 3));
  EXPECT_EQ(At(E(TrackVert)->Bitmap.get(), 4, 10), Frame(kTrackVertPicture, 1));
}

TEST_F(CompleteSkinObjects, ComboCompositeAndArrow) {
  const int w = GetSystemMetrics(SM_CXVSCROLL) + 2;
  auto* combo = static_cast<TDataSkinBorder*>(E(ComboButton));
  TDataSkinObject* sunk = E(SunkEdge);
  TBitmap* c = combo->Bitmap.get();
  ASSERT_EQ(c->Width(), 200);  // four frames of 50
  ASSERT_EQ(c->Height(), 21);
  EXPECT_EQ(combo->Style, 2);
  EXPECT_EQ(combo->Margins(), vcl::Rect(2, 2, w + 2, 2));
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    const int x0 = (k - 1) * 50;
    EXPECT_EQ(At(c, x0, 0), Frame(kSunkEdgePicture, k));          // the sunken edge's corner
    EXPECT_EQ(At(c, x0 + 2, 2), C(kMagenta));                       // the open inside
    EXPECT_EQ(At(c, x0 + 48 - w, 17), C(kMagenta));
    EXPECT_EQ(At(c, x0 + 1, 10), Frame(kSunkEdgePicture, k));
    EXPECT_EQ(At(c, x0 + 50 - w + 1, 1), Frame(kComboPicture, k));  // the button part
    EXPECT_EQ(At(c, x0 + 50 - w + (w - 7) / 2, 7), Frame(kExtraPicture, k));  // its glyph
  }
  // The combo's second picture is its original one mirrored; the sunken edge gets the
  // composite mirrored.
  EXPECT_EQ(combo->Bitmap2->Width(), 68);
  EXPECT_EQ(At(combo->Bitmap2.get(), 0, 0), Frame(kComboPicture, 4));
  EXPECT_EQ(sunk->Bitmap->Width(), 200);
  EXPECT_EQ(At(sunk->Bitmap.get(), 1, 1), At(c, 198, 1));
  EXPECT_EQ(At(sunk->Bitmap.get(), 199 - 20, 10), At(c, 20, 10));
  EXPECT_EQ(sunk->Margins(), vcl::Rect(w + 2, 2, 2, 2));

  // The arrow: 17 x 17 of each composite frame, from (50k - 19, 2).
  TDataSkinObject* arrow = E(ComboxArrow);
  ASSERT_EQ(arrow->Bitmap->Width(), 68);
  EXPECT_EQ(arrow->Bitmap->Height(), 17);
  EXPECT_EQ(arrow->Frame, 4);
  for (int k = 1; k <= 4; ++k)
    for (auto [x, y] : {std::pair{0, 0}, std::pair{8, 8}, std::pair{16, 16}})
      EXPECT_EQ(At(arrow->Bitmap.get(), (k - 1) * 17 + x, y), At(c, 50 * k - 19 + x, 2 + y)) << k;
}

TEST_F(CompleteSkinObjects, ToolbarBackgroundRunsFromTheFaceToTheSample) {
  TDataSkinObject* toolbar = E(Toolbar);
  ASSERT_EQ(toolbar->Bitmap->Width(), 10);
  ASSERT_EQ(toolbar->Bitmap->Height(), 40);
  EXPECT_EQ(toolbar->Frame, 1);
  // Top: the face (200, 201, 202) blended with white at 150 per mille.
  EXPECT_EQ(At(toolbar->Bitmap.get(), 5, 0), C(MakeRgb(247, 247, 247)));
  // The sample (3, 50, 252) is saturated (252 > 110): blended with white at
  // (225 - 252) x 25 div 140 + 50 = 46 per cent.
  EXPECT_EQ(At(toolbar->Bitmap.get(), 5, 39), C(MakeRgb(139, 161, 254)));
}

TEST(SkinObjects, ReadingAgainReplacesTheElements) {
  auto first = LoadPackage(CompleteSkinSpec());
  ASSERT_TRUE(first);
  TSkinObjects skin;
  skin.ReadDescription(first->reader, first->ini);
  ASSERT_TRUE(skin.Element(ComboxArrow));
  TDataSkinObject* toolbar = skin.Element(Toolbar);

  // A skin without combo pictures: no arrow of the earlier skin stays; the tool bar object
  // stays and is repainted from the new face colour.
  PackageSpec plain;
  plain.entries = {{"skin.ini", ToBytes("[Colours]\nButtonFace=0 0 0\n[Tabs]\nImage=t.bmp\n")},
                   {"t.bmp", FramesBmp(4, 4, FrameColours(1, 5))}};
  auto second = LoadPackage(plain);
  ASSERT_TRUE(second);
  skin.ReadDescription(second->reader, second->ini);
  EXPECT_FALSE(skin.Element(ComboxArrow));
  EXPECT_FALSE(skin.Element(ComboButton));
  EXPECT_FALSE(skin.Element(SunkEdge));
  EXPECT_EQ(skin.Element(Toolbar), toolbar);
  EXPECT_EQ(At(toolbar->Bitmap.get(), 0, 0), C(MakeRgb(217, 217, 217)));  // black and white at 150
  EXPECT_EQ(skin.SysButtons().size(), 3u);
  EXPECT_TRUE(skin.Border(SkinBorder::Left)->Bitmap->Empty());
  EXPECT_EQ(skin.SampleColor(), skin.DefaultSampleColor());
}

TEST(SkinObjects, ComboArrowWithoutASunkenEdge) {
  PackageSpec spec;
  spec.entries = {{"skin.ini", ToBytes("[Colours]\nButtonFace=1 2 3\n[ComboButton]\nImage=c.bmp\n")},
                  {"c.bmp", Bmp24(8, 4, [](int x, int) { return x < 4 ? kMagenta : MakeRgb(9, 9, 9); })}};
  auto p = LoadPackage(spec);
  ASSERT_TRUE(p);
  TSkinObjects skin;
  skin.ReadDescription(p->reader, p->ini);
  TDataSkinObject* arrow = skin.Element(ComboxArrow);
  ASSERT_TRUE(arrow);
  EXPECT_EQ(arrow->Frame, 4);
  EXPECT_EQ(At(arrow->Bitmap.get(), 0, 0), 0x030201);  // the key colour became the face colour
  EXPECT_EQ(At(arrow->Bitmap.get(), 7, 3), C(MakeRgb(9, 9, 9)));
  EXPECT_EQ(skin.Element(ComboButton)->Style, 0);
}

// Pictures the description names that the package lacks give elements without bitmaps (the
// track its built-in picture); a picture that is there but cannot be read is the package's
// fault, and the objects stay as the skin read before left them.
TEST(SkinObjects, MissingPicturesGiveElementsWithoutBitmapsAndBrokenOnesLeaveTheObjectsAsTheyWere) {
  PackageSpec missing;
  missing.entries = {{"skin.ini", ToBytes("[Personality]\nTop=gone.bmp\nLeft=gone.bmp\n[Tabs]\nImage=gone.bmp\n"
                                          "[Headerbar]\nImage=gone.bmp\n[Track]\nImage=gone.bmp\n"
                                          "[ComboButton]\nImage=gone.bmp\n[SunkEdge]\nImage=gone.bmp\n"
                                          "[Button.Close]\nAction=0\nButtonImage=gone.bmp\n[MDICONTROLS]\nImage=gone.bmp\n")}};
  auto p = LoadPackage(missing);
  ASSERT_TRUE(p);
  TSkinObjects skin;
  EXPECT_FALSE(skin.ReadDescription(p->reader, p->ini));
  ASSERT_TRUE(skin.Element(Tabs));
  EXPECT_TRUE(skin.Element(Tabs)->Bitmap->Empty());
  EXPECT_TRUE(skin.Element(Headerbar)->Bitmap->Empty());
  EXPECT_TRUE(skin.Border(SkinBorder::Left)->Bitmap->Empty());
  EXPECT_FALSE(skin.Element(ComboxArrow));
  EXPECT_EQ(skin.Element(Track)->Bitmap->Width(), 24);  // no picture: the built-in one
  EXPECT_EQ(skin.SysButtons().size(), 4u);
  EXPECT_TRUE(skin.SysButtons()[0]->Bitmap->Empty());

  auto complete = LoadPackage(CompleteSkinSpec());
  ASSERT_TRUE(complete);
  ASSERT_FALSE(skin.ReadDescription(complete->reader, complete->ini));
  TDataSkinObject* tabs = skin.Element(Tabs);
  ASSERT_TRUE(tabs && tabs->HasBitmap());
  const int leftWidth = skin.Border(SkinBorder::Left)->Bitmap->Width();
  const size_t buttons = skin.SysButtons().size();
  const AnsiString name = skin.SkinName();

  std::vector<uint8_t> truncated = FramesBmp(10, 10, {MakeRgb(1, 1, 1)});
  truncated.resize(80);
  PackageSpec broken;
  broken.entries = {{"skin.ini", ToBytes("[TitlebarSkin]\nSkinName=Broken\n[Personality]\nTop=gone.bmp\nLeft=short.bmp\n"
                                         "[Tabs]\nImage=text.bmp\n[Button.Close]\nAction=0\nButtonImage=text.bmp\n")},
                    {"text.bmp", ToBytes("no picture here")},
                    {"short.bmp", truncated}};
  auto b = LoadPackage(broken);
  ASSERT_TRUE(b);
  const std::optional<skin_classic::SkinFault> fault = skin.ReadDescription(b->reader, b->ini);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->text, "its picture \"short.bmp\" is cut short: its pixels take 318 bytes, 26 are there");
  EXPECT_EQ(skin.Element(Tabs), tabs);
  EXPECT_TRUE(tabs->HasBitmap());
  EXPECT_EQ(skin.Border(SkinBorder::Left)->Bitmap->Width(), leftWidth);
  EXPECT_EQ(skin.SysButtons().size(), buttons);
  EXPECT_EQ(skin.SkinName(), name);
}

TEST(SkinBitmapLoading, ByFileNameAndEngineNames) {
  auto p = LoadPackage(CompleteSkinSpec());
  ASSERT_TRUE(p);
  vcl::TBitmap b;
  EXPECT_TRUE(LoadSkinBitmap(&b, p->reader, "Folder\\Close.bmp"));
  EXPECT_EQ(b.Width(), 30);
  EXPECT_FALSE(LoadSkinBitmap(&b, p->reader, "Close.BMP"));  // the extension must be ".bmp"
  EXPECT_TRUE(b.Empty());
  EXPECT_FALSE(LoadSkinBitmap(&b, p->reader, ""));

  LoadEngineBitmap(&b, "trackvert");
  EXPECT_EQ(b.Width(), 8);
  EXPECT_EQ(b.Height(), 24);
  EXPECT_EQ(At(&b, 0, 12), vcl::clGray);
  EXPECT_EQ(At(&b, 7, 12), vcl::clWhite);
  EXPECT_THROW(LoadEngineBitmap(&b, "TESSAVELMENU2"), vcl::EResNotFound);
}

}  // namespace
}  // namespace winskin
