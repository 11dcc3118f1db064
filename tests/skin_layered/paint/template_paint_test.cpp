// Sections of a synthetic skin painted for layered windows: backgrounds by state with
// transparency, the border image over what was there, the transparent corners of a control
// given what its parent shows behind it, and text laid in by its coverage.
#include "classlib/controls/Controls.h"
#include "paint_win_support.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/paint/AlphaText.h"
#include "skin_layered/paint/TemplatePaint.h"

namespace skin_layered::test {

// A container whose background answer is a bitmap at its own origin.
class TBackgroundPanel : public vcl::TCustomControl {
  VCL_CLASS(TBackgroundPanel, vcl::TCustomControl)
 public:
  explicit TBackgroundPanel(vcl::TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 60, 60); }
  vcl::TBitmap* background = nullptr;
  vcl::TColor color = vcl::clNone;

  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg == kSkinCmdMessage && SkinCommandOf(Message.WParam) == scmGetBgInfo) {
      auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam);
      if (background) {
        info->Bmp = background;
        info->BgType = btBitmap;
      } else {
        info->Color = color;
        info->BgType = btColor;
      }
      return;
    }
    TCustomControl::WndProc(Message);
  }
};
VCL_CLASS_INFO(TBackgroundPanel) {}

namespace {

using vcl::Rect;

struct Sections {
  TsLoadedSkin skin;
  Sections() {
    TsGeneralData section;
    section.ClassName = L"BUTTON";
    section.States = 2;
    section.Props[0].Color = 0x0000FF;  // red
    section.Props[1].Color = 0x00FF00;  // green
    skin.Sections.push_back(section);
  }
  TsGeneralData& Button() { return skin.Sections[0]; }
};

TEST(PaintControlByTemplate, StateColoursTransparencyAndBorder) {
  Sections s;
  auto bmp = Filled32(6, 6, 0);
  PaintControlByTemplate(0, 1, Rect(1, 1, 4, 4), bmp.get(), &s.skin);
  EXPECT_TRUE(PixelsAre(*bmp, {{1, 1, Bgra(0, 255, 0, 255)}, {4, 4, 0u}}));
  s.Button().States = 1;  // no hot state: normal
  PaintControlByTemplate(0, 1, Rect(1, 1, 4, 4), bmp.get(), &s.skin);
  EXPECT_EQ(PixelOf(*bmp, 2, 2), Bgra(0, 0, 255, 255));

  // Nothing for a rectangle outside the bitmap or an invalid section.
  PaintControlByTemplate(0, 0, Rect(4, 4, 7, 7), bmp.get(), &s.skin);
  PaintControlByTemplate(3, 0, Rect(0, 0, 6, 6), bmp.get(), &s.skin);
  PaintControlByTemplate(0, 0, Rect(0, 0, 6, 6), bmp.get(), nullptr);  // no default manager
  EXPECT_EQ(PixelOf(*bmp, 5, 5), 0u);

  // Half transparent over nothing: the colour at half alpha; over the whole bitmap it is
  // premultiplied.
  s.Button().Props[0].Transparency = 50;
  auto half = Filled32(4, 4, 0);
  PaintControlByTemplate(0, 0, Rect(0, 0, 2, 2), half.get(), &s.skin);
  EXPECT_EQ(PixelOf(*half, 0, 0), Bgra(0, 0, 255, 127));
  auto whole = Filled32(2, 2, 0);
  PaintControlByTemplate(0, 0, Rect(0, 0, 2, 2), whole.get(), &s.skin);
  EXPECT_EQ(PixelOf(*whole, 0, 0), Bgra(0, 0, 127, 127));
  s.Button().Props[0].Transparency = 100;
  PaintControlByTemplate(0, 0, Rect(0, 0, 2, 2), whole.get(), &s.skin);
  EXPECT_EQ(PixelOf(*whole, 1, 1), 0u);

  // A border image whose corner pixel is the key colour shows what R held before.
  s.Button().Props[0].Transparency = 0;
  s.skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(4, 4, Bgra(9, 9, 9, 255)).release());
  SetPixelOf(*s.skin.MasterBitmap, 0, 0, 0x00FF00FF);
  s.skin.Images.push_back(SkinImage(s.skin, Rect(0, 0, 4, 4), 1, 1));
  s.skin.Images.back().TransparentBorder = 1;
  s.Button().BorderIndex = 0;
  auto framed = Filled32(8, 8, Bgra(1, 2, 3, 4));
  PaintControlByTemplate(0, 0, Rect(2, 2, 7, 7), framed.get(), &s.skin);
  EXPECT_TRUE(PixelsAre(*framed, {{2, 2, Bgra(1, 2, 3, 4)}, {3, 2, Bgra(9, 9, 9, 255)}}));
  EXPECT_EQ(PixelOf(*framed, 4, 4), Bgra(0, 0, 255, 255));  // the background inside the border
}

TEST(PaintSectionBackground32, GradientOverTexture) {
  Sections s;
  s.skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(2, 2, Bgra(200, 200, 200, 255)).release());
  TsMaskData texture = SkinImage(s.skin, Rect(0, 0, 2, 2), 1, 0);
  texture.ImgType = 1;
  texture.DrawMode = 1;  // draw flags: laid in two passes
  s.skin.Images.push_back(texture);
  TsGenState& state = s.Button().Props[0];
  state.ImgTexture = 0;
  state.ImagePercent = 50;
  state.GradientPercent = 50;
  state.Color = 0;  // black, no gradient data: the colour is the gradient
  auto bmp = Filled32(5, 5, 0);
  PaintSectionBackground32(bmp.get(), Rect(0, 0, 4, 4), s.skin, 0, 0);
  // Black laid over the texture at 127 / 255: 200 * 128 shr 8 = 100.
  EXPECT_TRUE(PixelsAre(*bmp, {{3, 3, Bgra(100, 100, 100, 255)}, {4, 4, 0u}}));
}

TEST(PaintControlCorners, CornersTakeTheParentsBackground) {
  // No windows: both are asked through Perform.
  std::unique_ptr<TBackgroundPanel, void (*)(TBackgroundPanel*)> owner(new TBackgroundPanel(nullptr),
                                                                      [](TBackgroundPanel* p) { vcl::TObject::Free(p); });
  TBackgroundPanel* parent = owner.get();
  auto* child = new vcl::TCustomControl(parent);
  child->SetParent(parent);
  child->SetBounds(10, 20, 8, 8);
  // The parent's image: each pixel its own coordinates.
  auto behind = Filled32(60, 60, 0);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) SetPixelOf(*behind, x, y, Bgra(x, y, 0, 255));
  parent->background = behind.get();

  TsLoadedSkin skin;
  skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(Filled32(8, 8, Bgra(5, 5, 5, 255)).release());
  SetPixelOf(*skin.MasterBitmap, 0, 0, 0x00FF00FF);
  SetPixelOf(*skin.MasterBitmap, 7, 7, 0x00FF00FF);
  SetPixelOf(*skin.MasterBitmap, 7, 0, 0x00FF00FF);
  skin.Images.push_back(SkinImage(skin, Rect(0, 0, 8, 8), 1, 2));

  auto cache = Filled32(8, 8, Bgra(77, 77, 77, 255));
  PaintControlCorners(&skin, 0, cache.get(), child, 0, kCornerTopLeft | kCornerBottomRight);
  EXPECT_TRUE(PixelsAre(*cache, {{0, 0, Bgra(10, 20, 0, 255)}, {7, 7, Bgra(17, 27, 0, 255)}}));
  EXPECT_EQ(PixelOf(*cache, 7, 0), Bgra(77, 77, 77, 255));  // top-right not asked
  EXPECT_EQ(PixelOf(*cache, 1, 1), Bgra(77, 77, 77, 255));

  // A colour behind: the key pixels take it.
  parent->background = nullptr;
  parent->color = vcl::clBlue;
  PaintControlCorners(&skin, 0, cache.get(), child, 0, kCornerTopRight);
  EXPECT_EQ(PixelOf(*cache, 7, 0), Bgra(255, 0, 0, 255));
}

// Pixels of a bitmap counted where Pick holds.
template <class Pick>
int Count(vcl::TBitmap& bmp, Pick pick) {
  int n = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) n += pick(x, PixelOf(bmp, x, y)) ? 1 : 0;
  return n;
}

TEST(AlphaText, LettersTakeTheColourByCoverage) {
  auto bmp = Filled32(40, 20, 0);
  bmp->Canvas()->Font()->SetHeight(-14);
  AlphaDrawText(bmp.get(), L"HH", Rect(0, 0, 30, 20), DT_LEFT | DT_TOP | DT_SINGLELINE, vcl::clRed);
  // Opaque, red only, inside the rectangle.
  EXPECT_EQ(Count(*bmp, [](int x, TPixel32 p) { return p && (p >> 24 != 255 || (p & 0xFFFF) != 0 || x >= 30); }), 0);
  EXPECT_GT(Count(*bmp, [](int, TPixel32 p) { return ((p >> 16) & 0xFF) == 255; }), 5);

  // Skinned: the left contour in blue one pixel left of the letters, then the font colour over
  // it (edges may be smoothed, so the colours show as the stronger channel).
  Sections s;
  s.Button().Props[0].FontColor = vcl::clRed;
  s.Button().Props[0].TCLeft = vcl::clBlue;
  auto skinned = Filled32(40, 20, 0);
  skinned->Canvas()->Font()->SetHeight(-14);
  AlphaWriteSkinText(skinned.get(), L"I", true, Rect(5, 0, 30, 20), DT_LEFT | DT_TOP | DT_SINGLELINE, 0, false,
                     &s.skin);
  const auto blue = [](TPixel32 p) { return p & 0xFF; };
  const auto red = [](TPixel32 p) { return (p >> 16) & 0xFF; };
  EXPECT_GT(Count(*skinned, [&](int, TPixel32 p) { return blue(p) > 64 && blue(p) > red(p); }), 0);
  EXPECT_GT(Count(*skinned, [&](int, TPixel32 p) { return red(p) > 64 && red(p) > blue(p); }), 0);
  // Nothing for an empty text.
  auto empty = Filled32(4, 4, 0);
  AlphaWriteSkinText(empty.get(), L"", true, Rect(0, 0, 4, 4), 0, 0, false, &s.skin);
  EXPECT_EQ(PixelOf(*empty, 1, 1), 0u);
}

}  // namespace
}  // namespace skin_layered::test
