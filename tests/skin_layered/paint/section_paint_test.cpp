// Skin sections painted into controls' caches, on a synthetic skin of flat colours: one pixel
// tells which layer, image and state was drawn.
#include <cmath>
#include <functional>

#include "classlib/controls/Controls.h"
#include "paint_win_support.h"
#include "skin_layered/paint/ControlSkin.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered::test {
namespace {

using vcl::Rect;

constexpr TPixel32 Px(vcl::TColor c) { return 0xFF000000u | SwapBytes02(static_cast<std::uint32_t>(c) & 0xFFFFFFu); }
constexpr TPixel32 kRgb = 0x00FFFFFF;  // the colour bytes of a pixel

constexpr vcl::TColor kNormal = 0x2020C0;
constexpr vcl::TColor kHot = 0x20C020;
constexpr vcl::TColor kPlain = 0xC08040;
constexpr vcl::TColor kBorderNormal = 0xFF0000;
constexpr vcl::TColor kBorderHot = 0x00FFFF;
constexpr vcl::TColor kCornerNormal = 0xFFFF00;
constexpr vcl::TColor kCornerHot = 0x804000;
constexpr vcl::TColor kTexture = 0x0080FF;

enum Section { kButton, kPlainSection, kTextured };
enum Image { kBorder, kCorner, kStrip };

// A master bitmap of flat pieces: a border of two 6 x 6 states with margins of 1 and no
// centre, a corner image of two 4 x 4 states, and a texture strip 4 wide and 3 high.
struct SyntheticSkin {
  TsLoadedSkin skin;

  SyntheticSkin() {
    auto master = Filled32(40, 8, 0x00FF00FF);
    auto fill = [&](int l, int t, int r, int b, vcl::TColor c) {
      for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) SetPixelOf(*master, x, y, Px(c));
    };
    fill(0, 0, 6, 6, kBorderNormal);
    fill(6, 0, 12, 6, kBorderHot);
    fill(12, 0, 16, 4, kCornerNormal);
    fill(16, 0, 20, 4, kCornerHot);
    fill(20, 0, 24, 3, kTexture);
    skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(master.release());
    AddImage(Rect(0, 0, 12, 6), 2, 1, 0);
    AddImage(Rect(12, 0, 20, 4), 2, 0, 0);
    AddImage(Rect(20, 0, 24, 3), 1, 0, 1);

    TsGeneralData button;
    button.ClassName = L"BUTTON";
    button.States = 2;
    button.Props[0].Color = kNormal;
    button.Props[1].Color = kHot;
    button.BorderIndex = kBorder;
    button.ImgTL = kCorner;
    skin.Sections.push_back(button);
    TsGeneralData plain;
    plain.ClassName = L"PLAIN";
    plain.States = 1;
    plain.Props[0].Color = plain.Props[1].Color = kPlain;
    skin.Sections.push_back(plain);
    TsGeneralData textured = plain;
    textured.ClassName = L"TEXTURED";
    textured.Props[0].ImagePercent = 100;
    textured.Props[0].ImgTexture = kStrip;
    skin.Sections.push_back(textured);
    skin.SkinData.Active = true;
  }

  void AddImage(vcl::TRect r, int count, int margins, int imgType) {
    skin.Images.push_back(SkinImage(skin, r, count, margins));
    skin.Images.back().ImgType = static_cast<std::uint8_t>(imgType);
  }

  TsGeneralData& Sec(Section s) { return skin.Sections[s]; }
  TsMaskData& Img(Image i) { return skin.Images[i]; }

  TqvControlSkin Button() const { return {.Skin = &skin, .SkinIndex = kButton, .BorderIndex = kBorder, .Changes = {}}; }
};

TPixel32 Rgb(vcl::TBitmap& bmp, int x, int y) { return PixelOf(bmp, x, y) & kRgb; }
constexpr TPixel32 Rgb(vcl::TColor c) { return Px(c) & kRgb; }

// A background whose every pixel tells its coordinates.
std::unique_ptr<vcl::TBitmap> Coordinates(int w, int h) {
  auto bmp = Filled32(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelOf(*bmp, x, y, Bgra(x, y, 7, 255));
  return bmp;
}

TqvCacheInfo ReadyOver(vcl::TBitmap* bmp, int x, int y) {
  TqvCacheInfo ci;
  ci.Bmp = bmp;
  ci.X = x;
  ci.Y = y;
  ci.Ready = true;
  return ci;
}

TEST(PaintItem, EachStateShowsItsBackgroundCornerAndBorder) {
  SyntheticSkin s;
  auto cache = Filled32(20, 12, 0);
  const struct {
    int state;
    vcl::TColor background, border, corner;
  } cases[] = {{0, kNormal, kBorderNormal, kCornerNormal},
               {1, kHot, kBorderHot, kCornerHot},
               {5, kHot, kBorderHot, kCornerHot}};  // beyond the section's states: its last
  for (const auto& c : cases) {
    PaintItem(s.Button(), kEmptyCacheInfo, c.state, Rect(0, 0, 20, 12), {0, 0}, cache.get(), true);
    EXPECT_EQ(Rgb(*cache, 10, 6), Rgb(c.background)) << c.state;
    EXPECT_EQ(Rgb(*cache, 2, 2), Rgb(c.corner)) << c.state;  // inside the border's margin
    for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {0, 6}, {19, 11}, {19, 5}, {10, 11}})
      EXPECT_EQ(Rgb(*cache, x, y), Rgb(c.border)) << c.state << " at " << x << "," << y;
  }

  // A border image that is not drawn in the normal state.
  s.Img(kBorder).DrawMode = 2;
  PaintItem(s.Button(), kEmptyCacheInfo, 0, Rect(0, 0, 20, 12), {0, 0}, cache.get(), true);
  EXPECT_EQ(Rgb(*cache, 10, 0), Rgb(kNormal));
  PaintItem(s.Button(), kEmptyCacheInfo, 1, Rect(0, 0, 20, 12), {0, 0}, cache.get(), true);
  EXPECT_EQ(Rgb(*cache, 10, 0), Rgb(kBorderHot));
}

TEST(PaintItem, NothingForBadArguments) {
  SyntheticSkin s;
  auto cache = Filled32(10, 10, 0);
  TqvControlSkin data = s.Button();
  for (vcl::TRect bad : {Rect(2, 2, 11, 8), Rect(-1, 0, 5, 5), Rect(3, 3, 3, 6)})  // past the bitmap, negative, empty
    PaintItem(data, kEmptyCacheInfo, 0, bad, {0, 0}, cache.get(), true);
  PaintItem(data, kEmptyCacheInfo, 0, Rect(0, 0, 5, 5), {0, 0}, nullptr, true);
  data.Skin = nullptr;  // and no default manager
  PaintItem(data, kEmptyCacheInfo, 0, Rect(0, 0, 5, 5), {0, 0}, cache.get(), true);
  PaintSection(kPlainSection, kEmptyCacheInfo, 0, Rect(0, 0, 5, 5), {0, 0}, cache.get(), nullptr, -1, -1);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelOf(*cache, x, y), 0u) << x << "," << y;
}

// A section the skin does not have leaves no hole: every painter shows what lies behind, as a
// fully see-through section would, and the system's face where nothing does.
TEST(PaintItem, ASectionTheSkinLacksShowsWhatLiesBehind) {
  SyntheticSkin s;
  const auto behind = Coordinates(30, 20);
  TqvControlSkin data = s.Button();
  data.SkinIndex = 7;
  auto cache = Filled32(10, 10, 0);
  PaintItem(data, ReadyOver(behind.get(), 3, 2), 0, Rect(1, 1, 9, 9), {5, 4}, cache.get(), true);
  EXPECT_EQ(PixelOf(*cache, 1, 1), Bgra(3 + 5, 2 + 4, 7, 255));  // behind's pixel at CI + pP
  EXPECT_EQ(PixelOf(*cache, 8, 8), Bgra(3 + 5 + 7, 2 + 4 + 7, 7, 255));
  EXPECT_EQ(PixelOf(*cache, 0, 0), 0u);  // outside R: untouched

  const TPixel32 face = Px(static_cast<vcl::TColor>(GetSysColor(COLOR_BTNFACE)));
  for (auto paint : std::initializer_list<std::function<void(vcl::TBitmap*, const TqvCacheInfo&)>>{
           [&](vcl::TBitmap* b, const TqvCacheInfo& ci) { PaintItem(data, ci, 0, Rect(0, 0, 10, 10), {0, 0}, b, true); },
           [&](vcl::TBitmap* b, const TqvCacheInfo& ci) {
             PaintItemBg(7, ci, 0, Rect(0, 0, 10, 10), {0, 0}, b, &s.skin);
           },
           [&](vcl::TBitmap* b, const TqvCacheInfo& ci) {
             PaintSection(-1, ci, 0, Rect(0, 0, 10, 10), {0, 0}, b, &s.skin, -1, -1);
           },
           [&](vcl::TBitmap* b, const TqvCacheInfo& ci) {
             PaintItemImage(9, kBorder, -1, &s.skin, b, {0, 0}, Rect(0, 0, 10, 10), 0, ci);
           }}) {
    // A colour behind; nothing behind at all.
    TqvCacheInfo colour;
    colour.FillColor = 0x123456;
    auto a = Filled32(10, 10, 0), b = Filled32(10, 10, 0);
    paint(a.get(), colour);
    paint(b.get(), kEmptyCacheInfo);
    EXPECT_EQ(PixelOf(*a, 5, 5), Px(0x123456));
    EXPECT_EQ(PixelOf(*b, 5, 5), face);
  }
}

TEST(PaintItem, ColourChangesToneOnlyTheItemPaintedNow) {
  SyntheticSkin s;
  TqvControlSkin data = s.Button();
  data.Changes.Tone = 0x808080;  // every channel half the largest: 0xC0 / 2
  auto cache = Filled32(40, 12, Bgra(10, 20, 30, 255));
  PaintItem(data, kEmptyCacheInfo, 0, Rect(0, 0, 20, 12), {0, 0}, cache.get(), true);
  EXPECT_EQ(Rgb(*cache, 10, 6), Rgb(0x606060));
  EXPECT_EQ(Rgb(*cache, 30, 6), Bgra(10, 20, 30, 0));  // beside the item: untouched
  PaintItem(data, kEmptyCacheInfo, 0, Rect(20, 0, 40, 12), {0, 0}, cache.get(), true);
  EXPECT_EQ(Rgb(*cache, 30, 6), Rgb(0x606060));
  EXPECT_EQ(Rgb(*cache, 10, 6), Rgb(0x606060));  // the first item keeps its colours

  // Hue and saturation too; a see-through background without border gets none.
  data.Changes = {};
  data.Changes.HueOffset = 120;  // red toward green
  s.Sec(kButton).Props[0].Color = 0x0000FF;
  s.Img(kBorder).DrawMode = 2;   // no border in the normal state
  PaintItem(data, kEmptyCacheInfo, 0, Rect(0, 0, 20, 12), {0, 0}, cache.get(), true);
  EXPECT_EQ(Rgb(*cache, 10, 6), Rgb(0x00FF00));
  s.Sec(kButton).Props[0].Transparency = 100;
  auto behind = Filled32(20, 12, Bgra(0, 0, 255, 255));  // red
  PaintItem(data, ReadyOver(behind.get(), 0, 0), 0, Rect(0, 0, 20, 12), {0, 0}, cache.get(), true);
  EXPECT_EQ(Rgb(*cache, 10, 6), Rgb(0x0000FF));
}

TEST(PaintCommonDataBg, CustomColourTakesTheOwnersColour) {
  SyntheticSkin s;
  std::unique_ptr<vcl::TCustomControl, void (*)(vcl::TCustomControl*)> owner(
      new vcl::TCustomControl(nullptr), [](vcl::TCustomControl* c) { vcl::TObject::Free(c); });
  owner->SetColor(0x123456);
  TqvControlSkin data = s.Button();
  data.Owner = owner.get();
  auto cache = Filled32(8, 8, 0);
  PaintCommonDataBg(data, kEmptyCacheInfo, 1, Rect(0, 0, 8, 8), {0, 0}, cache.get());
  EXPECT_EQ(Rgb(*cache, 4, 4), Rgb(kHot));
  data.CustomColor = true;
  PaintCommonDataBg(data, kEmptyCacheInfo, 1, Rect(0, 0, 8, 8), {0, 0}, cache.get());
  EXPECT_EQ(Rgb(*cache, 4, 4), Rgb(0x123456));
}

TEST(PaintSection, TransparencyShowsWhatLiesBehind) {
  SyntheticSkin s;
  TsGenState& plain = s.Sec(kPlainSection).Props[0];
  auto behind = Coordinates(20, 20);
  auto target = Filled32(10, 10, 0);

  // Wholly see-through: the background at CI's offset plus pP, or CI's fill colour.
  plain.Transparency = 100;
  PaintSection(kPlainSection, ReadyOver(behind.get(), 3, 2), 0, Rect(2, 2, 6, 6), {1, 1}, target.get(), &s.skin, -1,
               -1);
  EXPECT_TRUE(PixelsAre(*target, {{2, 2, Bgra(4, 3, 7, 255)}, {5, 5, Bgra(7, 6, 7, 255)}, {6, 6, 0u}}));
  TqvCacheInfo colour;
  colour.FillColor = 0x00FF00;
  PaintSection(kPlainSection, colour, 0, Rect(0, 0, 4, 4), {0, 0}, target.get(), &s.skin, -1, -1);
  EXPECT_EQ(Rgb(*target, 1, 1), Rgb(0x00FF00));

  // 40 % see-through over a ready background: it keeps 102 of 255.
  plain.Transparency = 40;
  PaintSection(kPlainSection, ReadyOver(behind.get(), 0, 0), 0, Rect(0, 0, 10, 10), {0, 0}, target.get(), &s.skin,
               -1, -1);
  const TPixel32 c = Px(kPlain), b = PixelOf(*behind, 5, 5);
  auto keep = [](unsigned bg, unsigned fg) { return ((static_cast<int>(bg) - static_cast<int>(fg)) * 102 + static_cast<int>(fg) * 256) >> 8; };
  EXPECT_EQ(PixelOf(*target, 5, 5) & kRgb,
            Bgra(keep(b & 0xFF, c & 0xFF), keep(b >> 8 & 0xFF, c >> 8 & 0xFF), keep(b >> 16 & 0xFF, c >> 16 & 0xFF), 0));
  // Over a fill colour: the two mixed, 40 % of the background.
  colour.FillColor = 0x0000FF;
  PaintSection(kPlainSection, colour, 0, Rect(0, 0, 10, 10), {0, 0}, target.get(), &s.skin, -1, -1);
  EXPECT_EQ(Rgb(*target, 5, 5), Bgra(static_cast<unsigned>(0xC0 * 0.6), static_cast<unsigned>(0x80 * 0.6),
                                     static_cast<unsigned>(0x40 * 0.6 + 0xFF * 0.4), 0));
  // With nothing behind at all, the section's colour (never mixed with the key colour).
  PaintSection(kPlainSection, kEmptyCacheInfo, 0, Rect(0, 0, 10, 10), {0, 0}, target.get(), &s.skin, -1, -1);
  EXPECT_EQ(Rgb(*target, 5, 5), Rgb(kPlain));
}

TEST(PaintSection, TextureSharesAndUncoveredParts) {
  SyntheticSkin s;
  TsGenState& textured = s.Sec(kTextured).Props[0];
  auto target = Filled32(10, 10, 0);

  // Tiled over everything (mode 0), 30 % texture and 70 % colour.
  textured.ImagePercent = 30;
  PaintSection(kTextured, kEmptyCacheInfo, 0, Rect(0, 0, 10, 10), {0, 0}, target.get(), &s.skin, -1, -1);
  auto mix = [](unsigned t, unsigned c) { return static_cast<unsigned>(std::lround(t * 0.3 + c * 0.7)); };
  EXPECT_EQ(Rgb(*target, 7, 8), Bgra(mix(0x00, 0xC0), mix(0x80, 0x80), mix(0xFF, 0x40), 0));

  // Stretched along the top (mode 4): the rows below take the colour, the strip keeps its
  // texture.
  textured.ImagePercent = 100;
  s.Img(kStrip).DrawMode = 4;
  PaintSection(kTextured, kEmptyCacheInfo, 0, Rect(0, 0, 10, 10), {0, 0}, target.get(), &s.skin, -1, -1);
  EXPECT_EQ(Rgb(*target, 5, 1), Rgb(kTexture));
  EXPECT_EQ(Rgb(*target, 5, 6), Rgb(kPlain));
  // A column along the right edge (modes 7, 8): the rest takes the colour.
  for (int mode : {7, 8}) {
    s.Img(kStrip).DrawMode = static_cast<std::uint16_t>(mode);
    PaintSection(kTextured, kEmptyCacheInfo, 0, Rect(0, 0, 10, 10), {0, 0}, target.get(), &s.skin, -1, -1);
    EXPECT_EQ(Rgb(*target, 8, 5), Rgb(kTexture)) << mode;
    EXPECT_EQ(Rgb(*target, 2, 5), Rgb(kPlain)) << mode;
  }

  // The simpler painter with an explicit texture: shares above 100 leave the texture too.
  s.Img(kStrip).DrawMode = 4;
  textured.GradientPercent = 50;  // the colour over the texture at half weight
  PaintSectionByIndex(kTextured, kStrip, &s.skin, target.get(), {0, 0}, Rect(0, 0, 10, 10), 0, kEmptyCacheInfo);
  const TPixel32 top = Rgb(*target, 5, 1);
  EXPECT_NE(top, Rgb(kPlain));
  EXPECT_NE(top, Rgb(kTexture));
  EXPECT_EQ(Rgb(*target, 5, 6), Rgb(kPlain));
  PaintSectionByIndex(kTextured, -1, &s.skin, target.get(), {0, 0}, Rect(0, 0, 10, 10), 0, kEmptyCacheInfo);
  EXPECT_EQ(Rgb(*target, 5, 1), Rgb(kPlain));  // no texture: the colour where it would lie
}

// A texture whose every pixel differs, tiled from the area's corner and mixed with the
// section's colour: each target pixel is its place's tile pixel at the texture's share.
TEST(PaintSection, AMixedTextureLaysEachTilePixelAtItsPlace) {
  SyntheticSkin s;
  constexpr int kW = 5, kH = 3, kLeft = 25;  // beside the other pieces of the master bitmap
  auto tilePixel = [](int x, int y) {
    return Bgra(static_cast<unsigned>(40 * x + 7), static_cast<unsigned>(60 * y + 11),
                static_cast<unsigned>(200 - 9 * x - 13 * y), 255);
  };
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) SetPixelOf(*s.skin.MasterBitmap, kLeft + x, y, tilePixel(x, y));
  s.AddImage(Rect(kLeft, 0, kLeft + kW, kH), 1, 0, 1);
  const int image = static_cast<int>(s.skin.Images.size()) - 1;
  TsGenState& textured = s.Sec(kTextured).Props[0];
  textured.ImgTexture = image;
  textured.ImagePercent = 30;
  auto mixed = [](unsigned t, unsigned c) {
    return static_cast<unsigned>(std::nearbyint(t * 0.3 + c * (1 - 0.3)));
  };
  constexpr TPixel32 kUntouched = 0x12345678;
  const vcl::TRect area = Rect(3, 2, 20, 15);
  for (const int mode : {0, 10}) {
    s.Img(static_cast<Image>(image)).DrawMode = static_cast<std::uint16_t>(mode);
    auto target = Filled32(23, 17, kUntouched);
    PaintSection(kTextured, kEmptyCacheInfo, 0, area, {0, 0}, target.get(), &s.skin, -1, -1);
    int wrong = 0;
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 23; ++x) {
        TPixel32 expected = kUntouched;
        if (x >= area.Left && x < area.Right && y >= area.Top && y < area.Bottom) {
          const TPixel32 t = tilePixel((x - area.Left) % kW, (y - area.Top) % kH);
          const TPixel32 c = Px(kPlain);
          expected = 0xFF000000u | mixed(t >> 16 & 0xFF, c >> 16 & 0xFF) << 16 |
                     mixed(t >> 8 & 0xFF, c >> 8 & 0xFF) << 8 | mixed(t & 0xFF, c & 0xFF);
        }
        if (PixelOf(*target, x, y) != expected && ++wrong <= 3)
          ADD_FAILURE() << "mode " << mode << " at " << x << "," << y << ": " << std::hex << PixelOf(*target, x, y)
                        << " instead of " << expected;
      }
    EXPECT_EQ(wrong, 0) << "mode " << mode;
  }
}

TEST(PaintSectionByIndex, RoutesByTransparency) {
  SyntheticSkin s;
  TsGenState& plain = s.Sec(kPlainSection).Props[0];
  auto behind = Coordinates(12, 12);
  auto target = Filled32(12, 12, 0);
  plain.Transparency = 100;
  PaintSectionByIndex(kPlainSection, -1, &s.skin, target.get(), {2, 1}, Rect(0, 0, 4, 4), 0,
                      ReadyOver(behind.get(), 1, 1));
  EXPECT_EQ(PixelOf(*target, 0, 0), Bgra(3, 2, 7, 255));
  plain.Transparency = 0;
  PaintSectionByIndex(kPlainSection, -1, &s.skin, target.get(), {0, 0}, Rect(0, 0, 4, 4), 0,
                      ReadyOver(behind.get(), 0, 0));
  EXPECT_EQ(Rgb(*target, 2, 2), Rgb(kPlain));
}

TEST(PaintItemBg, SectionsByIndexAndByName) {
  SyntheticSkin s;
  auto target = Filled32(20, 12, 0);
  PaintItemBg(kButton, kEmptyCacheInfo, 3, Rect(0, 0, 20, 12), {0, 0}, target.get(), &s.skin);
  EXPECT_EQ(Rgb(*target, 10, 6), Rgb(kHot));
  EXPECT_EQ(Rgb(*target, 10, 0), Rgb(kBorderHot));
  EXPECT_EQ(Rgb(*target, 2, 2), Rgb(kCornerHot));

  PaintItemImage(kPlainSection, kBorder, -1, &s.skin, target.get(), {0, 0}, Rect(0, 0, 20, 12), 0, kEmptyCacheInfo);
  EXPECT_EQ(Rgb(*target, 10, 6), Rgb(kPlain));
  EXPECT_EQ(Rgb(*target, 10, 0), Rgb(kBorderNormal));

  // By name: the first the skin has; over what a DC shows, or over a fill colour.
  auto named = Filled32(6, 6, 0);
  EXPECT_EQ(PaintItemByName(named.get(), L"NONE", L"PLAIN", nullptr, 0x00FF00, {0, 0}, &s.skin, 0), kPlainSection);
  EXPECT_EQ(Rgb(*named, 3, 3), Rgb(kPlain));
  EXPECT_EQ(PaintItemByName(named.get(), L"plain", L"NONE", nullptr, 0x00FF00, {0, 0}, &s.skin, 0), -1);
  s.Sec(kPlainSection).Props[0].Transparency = 100;
  auto source = Canvas24(10, 10, RGB(1, 2, 3));
  EXPECT_EQ(PaintItemByName(named.get(), L"PLAIN", L"", source->Canvas()->Handle(), 0x00FF00, {2, 2}, &s.skin, 0),
            kPlainSection);
  EXPECT_EQ(Rgb(*named, 3, 3), Bgra(3, 2, 1, 0));
  EXPECT_EQ(PaintItemByName(named.get(), L"PLAIN", L"", nullptr, 0x00FF00, {0, 0}, &s.skin, 0), kPlainSection);
  EXPECT_EQ(Rgb(*named, 3, 3), Rgb(0x00FF00));
}

TEST(PaintItemToDC, PaintsTheSectionOntoAnyDC) {
  SyntheticSkin s;
  auto target = Canvas24(12, 12, RGB(0, 0, 0));
  HDC dc = target->Canvas()->Handle();
  SetViewportOrgEx(dc, 0, 0, nullptr);
  PaintItemToDC(kButton, kEmptyCacheInfo, 0, &s.skin, dc, {0, 0}, Rect(2, 2, 12, 10));
  EXPECT_TRUE(ColoursAre(*target, {{6, 6, static_cast<COLORREF>(kNormal)}, {6, 2, static_cast<COLORREF>(kBorderNormal)},
      {1, 1, 0u}}));
  PaintItemToDC(kPlainSection, kEmptyCacheInfo, 0, &s.skin, dc, {0, 0}, Rect(-1, 0, 4, 4));
  EXPECT_EQ(ColorOf(*target, 0, 1), 0u);
}

TEST(ApplyColorChanges, KeyColourHolesAreLeftAlone) {
  auto bmp = Filled32(2, 1, 0x00FF00FF);
  SetPixelOf(*bmp, 1, 0, 0xFFFF00FF);  // the key colour with alpha: changed
  TqvColorChanges grey;
  grey.Saturation = -100;
  ApplyColorChanges(bmp.get(), Rect(0, 0, 2, 1), grey);
  EXPECT_TRUE(PixelsAre(*bmp, {{0, 0, 0x00FF00FFu}, {1, 0, Bgra(170, 170, 170, 255)}}));
}

}  // namespace
}  // namespace skin_layered::test
