// Button glyphs by state, from alpha image lists, plain image lists and glyph bitmaps, into a
// 32-bit image or onto a device context; tool buttons' glyphs on a tool bar; and the
// start-up lists.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/forms/Forms.h"
#include "glyph_test_support.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/AlphaImageList.h"
#include "skin_layered/paint/ButtonGlyphs.h"
#include "skin_layered/paint/StartupLists.h"

namespace skin_layered::test {
namespace {

class TestManager : public TqvDefaultManager {
 public:
  bool std_order = false;
  bool check_empty_alpha = false;
  bool shift_content = true;
  TsLoadedSkin skin;
  const TsLoadedSkin& Skin() const override { return skin; }
  bool StdGlyphsOrder() const override { return std_order; }
  bool CheckEmptyAlpha() const override { return check_empty_alpha; }
  bool ShiftContentOnClick() const override { return shift_content; }
};

// Installs a test manager for a scope.
class ManagerScope {
 public:
  ManagerScope() : before_(SetDefaultManager(&manager)) {}
  ~ManagerScope() { SetDefaultManager(before_); }
  TestManager manager;

 private:
  TqvDefaultManager* before_;
};

using ListPtr = std::unique_ptr<TsAlphaImageList, void (*)(TsAlphaImageList*)>;

// One image of three 4 x 4 glyphs: red, green, blue, all opaque.
ListPtr ThreeStateList() {
  std::vector<std::uint32_t> px;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 12; ++x) px.push_back(x < 4 ? 0xFFFF0000 : x < 8 ? 0xFF00FF00 : 0xFF0000FF);
  auto* list = vcl::Construct<TsAlphaImageList>(nullptr);
  list->SetWidth(12);
  list->SetHeight(4);
  TsImgListItem* item = list->Items()->Add();
  SetBytes(item->ImageData(), PngFile(12, 4, px));
  list->GenerateStdList();
  return {list, [](TsAlphaImageList* l) { vcl::TObject::Free(l); }};
}

TqvGlyphPaintData IntoBitmap(vcl::TBitmap* dest, vcl::TCustomImageList* list) {
  return {.DstBmp = dest, .ImageList = list, .ImageIndex = 0, .ImgRect = vcl::TRect(0, 0, 4, 4), .NumGlyphs = 3};
}

constexpr TPixel32 kBackground = Bgra(0, 0, 0, 255);
constexpr TPixel32 kRedShown = Bgra(0, 0, 254, 255), kGreenShown = Bgra(0, 254, 0, 255),
                   kBlueShown = Bgra(254, 0, 0, 255);

TEST(DrawButtonGlyph, StatesPickTheirGlyphOfAnAlphaList) {
  auto list = ThreeStateList();
  const struct { bool stdOrder; int state; std::uint8_t down; bool enabled; int glyphs; TPixel32 shown; } cases[] = {
      {false, 0, 0, true, 3, kRedShown}, {false, 1, 0, true, 3, kGreenShown},
      {false, 1, 1, true, 3, kBlueShown},   // down and hot: one further
      {true, 1, 0, true, 3, kRedShown},     // the standard order: hot shows the normal image,
      {true, 0, 0, false, 3, kGreenShown},  // disabled normal the second
      {true, 2, 0, true, 2, kRedShown},     // pressed with fewer than three glyphs: the first
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.stdOrder << " state " << c.state << " down " << int(c.down));
    std::optional<ManagerScope> scope;
    if (c.stdOrder) scope.emplace().manager.std_order = true;
    auto dest = Filled32(4, 4, kBackground);
    TqvGlyphPaintData data = IntoBitmap(dest.get(), list.get());
    data.NumGlyphs = c.glyphs;
    data.Enabled = c.enabled;
    data.Down = c.down;
    data.State = c.state;
    DrawButtonGlyph(data);
    EXPECT_EQ(PixelOf(*dest, 1, 1), c.shown);
  }
}

TEST(DrawButtonGlyph, DisabledAndGreyedGlyphsOfAnAlphaList) {
  auto list = ThreeStateList();
  auto dest = Filled32(4, 4, kBackground);
  TqvGlyphPaintData data = IntoBitmap(dest.get(), list.get());
  data.Enabled = false;
  data.DisabledGlyphKind = kDisabledBlended;
  DrawButtonGlyph(data);  // half transparent: weight 255 * 50 / 100
  EXPECT_EQ(PixelOf(*dest, 2, 2), Bgra(0, 0, Blend(255, 0, 127), 255));

  // Greyed without a skin: the grey level in white.
  auto grey = Filled32(4, 4, kBackground);
  data = IntoBitmap(grey.get(), list.get());
  data.Grayed = 1;
  DrawButtonGlyph(data);
  const unsigned level = 255 / 3;
  EXPECT_EQ(PixelOf(*grey, 2, 2), Bgra(Blend(level, 0, 255), Blend(level, 0, 255), Blend(level, 0, 255), 255));

  // In the section's normal colour when the control names one.
  ManagerScope scope;
  scope.manager.skin.Sections.resize(1);
  scope.manager.skin.Sections[0].ClassName = L"BUTTON";
  scope.manager.skin.Sections[0].Props[0].Color = 0x0000FF;  // red
  auto tinted = Filled32(4, 4, kBackground);
  data = IntoBitmap(tinted.get(), list.get());
  data.Enabled = false;
  data.DisabledGlyphKind = kDisabledGrayed;
  data.SkinIndex = 0;
  DrawButtonGlyph(data);
  EXPECT_EQ(PixelOf(*tinted, 2, 2), Bgra(0, 0, Blend(level, 0, 255), 255));
}

TEST(DrawButtonGlyph, APlainListsDisabledGlyphIsHalfTransparent) {
  vcl::TImageList plain(nullptr, 4, 4);
  vcl::TBitmap red;
  red.SetSize(4, 4);
  red.Canvas()->Brush()->SetColor(vcl::clRed);
  red.Canvas()->FillRect(vcl::Rect(0, 0, 4, 4));
  red.Canvas()->SetPixels(0, 0, vcl::clFuchsia);  // the key colour stays out
  plain.AddMasked(&red, vcl::clFuchsia);
  auto dest = Filled32(6, 6, Bgra(200, 0, 0, 255));
  TqvGlyphPaintData data = IntoBitmap(dest.get(), &plain);
  data.ImgRect = vcl::TRect(1, 1, 5, 5);
  data.NumGlyphs = 1;
  data.Enabled = false;
  data.DisabledGlyphKind = kDisabledBlended;
  DrawButtonGlyph(data);
  EXPECT_EQ(PixelOf(*dest, 3, 3), Bgra(100, 0, 127, 255));  // half the glyph, half the background
  EXPECT_EQ(PixelOf(*dest, 1, 1), Bgra(200, 0, 0, 255));    // the key pixel
  EXPECT_EQ(PixelOf(*dest, 0, 0), Bgra(200, 0, 0, 255));

  // Enabled it is copied opaque; on a device context the list draws itself.
  data.Enabled = true;
  DrawButtonGlyph(data);
  EXPECT_EQ(PixelOf(*dest, 3, 3), Bgra(0, 0, 255, 255));
  auto canvas = Canvas24(6, 6, RGB(0, 0, 200));
  TqvGlyphPaintData onDC{
      .DC = canvas->Canvas()->Handle(), .ImageList = &plain, .ImageIndex = 0, .ImgRect = vcl::TRect(2, 2, 6, 6)};
  DrawButtonGlyph(onDC);
  EXPECT_TRUE(ColoursAre(*canvas, {{3, 3, RGB(255, 0, 0)}, {2, 2, RGB(0, 0, 200)}}));
}

TEST(DrawButtonGlyph, GlyphBitmaps) {
  // A 32-bit glyph of two 3 x 3 states (green, red; each cell's bottom-left pixel white, its
  // key) whose alpha bytes are all 0: with the check it is drawn opaque from a copy, and the
  // control's glyph keeps its format and bytes.
  auto glyph = Filled32(6, 3, Bgra(0, 200, 0, 0));
  for (int y = 0; y < 3; ++y)
    for (int x = 3; x < 6; ++x) SetPixelOf(*glyph, x, y, Bgra(0, 0, 200, 0));
  SetPixelOf(*glyph, 0, 2, Bgra(255, 255, 255, 0));
  SetPixelOf(*glyph, 3, 2, Bgra(255, 255, 255, 0));
  ManagerScope scope;
  scope.manager.check_empty_alpha = true;
  auto canvas = Canvas24(6, 6, RGB(0, 0, 255));
  TqvGlyphPaintData data{.DC = canvas->Canvas()->Handle(), .Glyph = glyph.get(), .ImgRect = vcl::TRect(1, 1, 4, 4),
                         .NumGlyphs = 2, .State = 1};
  DrawButtonGlyph(data);
  EXPECT_EQ(ColorOf(*canvas, 2, 2), RGB(200, 0, 0));  // the second state, opaque
  EXPECT_EQ(ColorOf(*canvas, 1, 3), RGB(0, 0, 255));  // its key left out
  EXPECT_EQ(glyph->PixelFormat(), vcl::pf32bit);
  EXPECT_EQ(PixelOf(*glyph, 4, 1), Bgra(0, 0, 200, 0));

  // Without the check the empty alpha shows nothing.
  scope.manager.check_empty_alpha = false;
  auto clear = Canvas24(6, 6, RGB(0, 0, 255));
  data.DC = clear->Canvas()->Handle();
  DrawButtonGlyph(data);
  EXPECT_EQ(ColorOf(*clear, 2, 2), RGB(0, 0, 255));

  // A blend in the normal state takes that share of each pixel's opacity away.
  auto opaque = Filled32(3, 3, Bgra(0, 0, 255, 255));
  auto blended = Canvas24(4, 4, RGB(0, 0, 0));
  TqvGlyphPaintData faded{
      .DC = blended->Canvas()->Handle(), .Glyph = opaque.get(), .ImgRect = vcl::TRect(0, 0, 3, 3), .Blend = 25};
  DrawButtonGlyph(faded);
  EXPECT_EQ(ColorOf(*blended, 1, 1), RGB(Blend(255, 0, 255 * 75 / 100), 0, 0));

  // Glyphs of another format go by the cell of their state, the key colour left out.
  auto cells = Canvas24(6, 3, RGB(0, 255, 0));
  cells->Canvas()->Brush()->SetColor(vcl::clBlue);
  cells->Canvas()->FillRect(vcl::Rect(3, 0, 6, 3));
  cells->Canvas()->SetPixels(3, 2, vcl::clLime);  // the second cell's key
  auto target = Filled32(4, 4, Bgra(10, 10, 10, 255));
  TqvGlyphPaintData byCell{
      .DstBmp = target.get(), .Glyph = cells.get(), .ImgRect = vcl::TRect(0, 0, 3, 3), .NumGlyphs = 2, .State = 1};
  scope.manager.std_order = false;
  DrawButtonGlyph(byCell);
  EXPECT_EQ(PixelOf(*target, 1, 1) & 0x00FFFFFFu, 0x0000FFu);  // blue cell
}

vcl::TForm* NewForm() {
  auto* form = new vcl::TForm(nullptr, 0);
  form->SetBounds(0, 0, 300, 120);
  return form;
}

TEST(PaintControlGlyph, ToolButtonsByStateImagesAndPlace) {
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form{NewForm(), [](vcl::TForm* f) { vcl::TObject::Free(f); }};
  auto* bar = new vcl::TToolBar(form.get());
  bar->SetParent(form.get());
  const auto solid = [&](std::uint32_t argb) {
    auto* list = vcl::Construct<TsAlphaImageList>(form.get());
    list->SetWidth(16);
    list->SetHeight(16);
    SetBytes(list->Items()->Add()->ImageData(), PngFile(16, 16, Solid(16, 16, argb)));
    list->GenerateStdList();
    return list;
  };
  bar->SetImages(solid(0xFFFF0000));
  bar->SetHotImages(solid(0xFF00FF00));
  bar->SetDisabledImages(solid(0xFF808080));
  auto* plain = new vcl::TToolButton(bar);
  plain->SetImageIndex(0);
  plain->SetParent(bar);
  auto* drop = new vcl::TToolButton(bar);
  drop->SetImageIndex(0);
  drop->SetStyle(vcl::tbsDropDown);
  drop->SetParent(bar);
  bar->Handle();

  const vcl::TRect plainRect = ToolButtonGlyphRect(bar, plain);
  const vcl::TRect dropRect = ToolButtonGlyphRect(bar, drop);
  EXPECT_EQ(plainRect.Width(), 16);
  EXPECT_EQ(plainRect.Left, (plain->Width() - 16) / 2 + 1);
  EXPECT_EQ(plainRect.Top, (plain->Height() - 16) / 2);
  EXPECT_EQ(dropRect.Left, (drop->Width() - 16) / 2 + 1 - 8);

  const auto paint = [&](UINT state, bool shift = true) {
    auto image = Filled32(plain->Width(), plain->Height(), kBackground);
    PaintControlGlyph(bar, plain, state, image.get(), TqvToolBarSkin{nullptr, -1, shift});
    return image;
  };
  const int cx = plainRect.Left + 8, cy = plainRect.Top + 8;
  EXPECT_EQ(PixelOf(*paint(0), cx, cy), kRedShown);
  EXPECT_EQ(PixelOf(*paint(CDIS_HOT), cx, cy), kGreenShown);
  EXPECT_EQ(PixelOf(*paint(CDIS_DISABLED), cx, cy), Bgra(Blend(128, 0, 255), Blend(128, 0, 255), Blend(128, 0, 255), 255));
  // Pressed: shifted by a pixel.
  auto pressed = paint(CDIS_SELECTED);
  EXPECT_EQ(PixelOf(*pressed, plainRect.Left, plainRect.Top), kBackground);
  EXPECT_EQ(PixelOf(*pressed, plainRect.Left + 16, plainRect.Top + 16), kRedShown);
  // Unless the bar's manager says not to.
  auto still = paint(CDIS_SELECTED, false);
  EXPECT_EQ(PixelOf(*still, plainRect.Left, plainRect.Top), kRedShown);
  EXPECT_EQ(PixelOf(*still, plainRect.Left + 16, plainRect.Top + 16), kBackground);
  // List mode: at the left.
  bar->SetList(true);
  EXPECT_EQ(ToolButtonGlyphRect(bar, plain).Left, 5);
}

TEST(StartupLists, PopupClassesAndTheGlyphListLoadWithTheUnits) {
  const vcl::TStringList* classes = ThirdPartyPopupClasses();
  ASSERT_NE(classes, nullptr);
  EXPECT_GE(classes->IndexOf(L"TcxGridFilterPopup"), 0);  // found by the sorted list's search
  TsAlphaImageList* glyphs = StartupGlyphList();
  ASSERT_NE(glyphs, nullptr);
  EXPECT_EQ(glyphs->Count(), 5);
  // Each strip's three states: a transparent corner, the shape in its state's colour.
  auto strip = glyphs->CreateBitmap32(4, 48, 16);  // the cross
  ASSERT_TRUE(strip);
  EXPECT_EQ(PixelOf(*strip, 0, 0) >> 24, 0u);
  EXPECT_EQ(PixelOf(*strip, 8, 8) >> 24, 255u);
  EXPECT_NE(PixelOf(*strip, 8, 8), PixelOf(*strip, 16 + 8, 8));

}

}  // namespace
}  // namespace skin_layered::test
