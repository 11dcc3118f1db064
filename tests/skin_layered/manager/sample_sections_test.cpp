// The sample skin's sections painted in both states (kept as layered-sections.png when
// SCRIVANE_SHOT_DIR names a folder).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "classlib/forms/Forms.h"
#include "reader_support.h"
#include "sample_skins.h"
#include "skin_layered/paint/SectionGrid.h"

namespace skin_layered::test {
namespace {

TPixel32 Pixel(vcl::TBitmap& bmp, int x, int y) { return static_cast<const TPixel32*>(bmp.ScanLine(y))[x]; }

// Keeps the sheet for people to look at, when asked to.
void KeepShot(vcl::TBitmap& bmp, const char* name) {
  const char* dir = std::getenv("SCRIVANE_SHOT_DIR");
  if (!dir || !*dir) return;
  const auto png = Png24(bmp.Width(), bmp.Height(), [&](int x, int y) { return Pixel(bmp, x, y) & 0xFFFFFF; });
  const std::string path = dir[0] == '/' ? "Z:" + std::string(dir) : dir;
  std::ofstream(path + "\\" + name, std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                             static_cast<std::streamsize>(png.size()));
}

// Where the sheet puts a section's cell for a state.
vcl::TRect CellOf(const TqvSectionGridLayout& layout, int index, int state) {
  const int group = layout.LabelWidth + 2 * layout.CellWidth + 8;
  const int left = 8 + (index % layout.Columns) * (group + 20) + layout.LabelWidth + state * (layout.CellWidth + 8);
  const int top = 24 + (index / layout.Columns) * (layout.CellHeight + 8);
  return {left, top, left + layout.CellWidth, top + layout.CellHeight};
}

// The sheet's background: squares of 8 in white and light grey.
TPixel32 Check(int x, int y) { return (x / 8 + y / 8) % 2 ? 0xFFE6E6E6u : 0xFFFFFFFFu; }

// Equal within one step in every channel: a mask's white keeps 255 / 256 of what lies under it.
bool Near(TPixel32 a, TPixel32 b) {
  for (unsigned shift : {0u, 8u, 16u, 24u})
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 1) return false;
  return true;
}

bool ShowsChecks(vcl::TBitmap& sheet, const vcl::TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (!Near(Pixel(sheet, x, y), Check(x, y))) return false;
  return true;
}

TPixel32 Centre(vcl::TBitmap& sheet, const vcl::TRect& r) {
  return Pixel(sheet, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

TEST(SampleSkinSections, SheetOfEverySectionInBothStates) {
  TsLoadedSkin skin;
  LoadFolder(L"Lagoon", skin);
  const TqvSectionGridLayout layout;
  const auto sheet = PaintSectionGrid(skin, layout);
  ASSERT_TRUE(sheet);
  KeepShot(*sheet, "layered-sections.png");
  const int count = static_cast<int>(skin.Sections.size());
  EXPECT_EQ(sheet->Width(), 8 + 4 * (132 + 2 * 104 + 8) + 3 * 20 + 8);
  EXPECT_EQ(sheet->Height(), 24 + (count + 3) / 4 * (36 + 8) + 8);

  auto cell = [&](const wchar_t* name, int state) {
    const int index = skin.GetSkinIndex(name);
    EXPECT_GE(index, 0) << name;
    return CellOf(layout, std::max(index, 0), state);
  };
  // See-through sections without images show what lies behind them.
  for (const wchar_t* name : {L"CHECKBOX", L"CAPTION", L"TRANSPARENT"})
    for (int state : {0, 1}) EXPECT_TRUE(ShowsChecks(*sheet, cell(name, state))) << name;
  // A flat button is nothing until hot; a menu item hardly anything (its stretched mask is
  // filtered).
  EXPECT_TRUE(ShowsChecks(*sheet, cell(L"SPEEDBUTTON", 0)));
  for (const wchar_t* name : {L"SPEEDBUTTON", L"MENUITEM"})
    EXPECT_FALSE(Near(Centre(*sheet, cell(name, 1)), Centre(*sheet, cell(name, 0)))) << name;
  // A push button: its face in each state, inside its border.
  const vcl::TRect normal = cell(L"BUTTON", 0), hot = cell(L"BUTTON", 1);
  EXPECT_NE(Centre(*sheet, normal), Centre(*sheet, hot));
  EXPECT_NE(Pixel(*sheet, normal.Left, (normal.Top + normal.Bottom) / 2), Centre(*sheet, normal));
  EXPECT_FALSE(ShowsChecks(*sheet, normal));
  // A title band turns to the accent when hot: blue above red and green.
  const TPixel32 title = Centre(*sheet, cell(L"FORMTITLE", 1));
  EXPECT_GT(title & 0xFF, (title >> 16) & 0xFF);
  // Sections of one state look the same hot (textures excepted: they line up with the
  // bitmap, not with the cell).
  for (int i = 0; i < count; ++i) {
    const TsGeneralData& section = skin.Sections[static_cast<std::size_t>(i)];
    if (section.States != 1 || section.Props[0].ImagePercent != 0) continue;
    const vcl::TRect a = CellOf(layout, i, 0), b = CellOf(layout, i, 1);
    for (int y = 6; y < a.Height() - 6; ++y)
      for (int x = 6; x < a.Width() - 6; ++x)
        ASSERT_EQ(Pixel(*sheet, a.Left + x, a.Top + y), Pixel(*sheet, b.Left + x, b.Top + y))
            << skin.Sections[static_cast<std::size_t>(i)].ClassName;
  }
}

// Any part of the sheet is that part of the whole sheet, pixel for pixel: the heading, cells
// cut anywhere, the end and beyond it.
TEST(SampleSkinSections, APartOfTheSheetIsThatPartOfTheWholeSheet) {
  TsLoadedSkin skin;
  LoadFolder(L"Lagoon", skin);
  const TqvSectionGridLayout layout;
  const auto whole = PaintSectionGrid(skin, layout);
  ASSERT_TRUE(whole);
  const vcl::TPoint size = SectionGridSize(skin, layout);
  EXPECT_EQ(size.X, whole->Width());
  EXPECT_EQ(size.Y, whole->Height());
  for (const vcl::TRect area : {vcl::TRect{0, 0, 130, 30}, vcl::TRect{150, 50, 611, 237}, vcl::TRect{3, 61, 1400, 62},
                                vcl::TRect{size.X - 70, size.Y - 90, size.X, size.Y},
                                vcl::TRect{size.X - 20, size.Y - 20, size.X + 30, size.Y + 40}}) {
    SCOPED_TRACE(std::to_string(area.Left) + "," + std::to_string(area.Top));
    const auto part = PaintSectionGridArea(skin, layout, area);
    ASSERT_TRUE(part);
    ASSERT_EQ(part->Width(), area.Width());
    ASSERT_EQ(part->Height(), area.Height());
    int differ = 0;
    for (int y = 0; y < part->Height(); ++y)
      for (int x = 0; x < part->Width(); ++x) {
        const int sx = area.Left + x, sy = area.Top + y;
        if (sx >= size.X || sy >= size.Y) {
          EXPECT_EQ(Pixel(*part, x, y) >> 24, 0xFFu);  // opaque beyond the sheet too
          continue;
        }
        if (Pixel(*part, x, y) != Pixel(*whole, sx, sy) && ++differ < 4)
          ADD_FAILURE() << "at " << sx << "," << sy << std::hex << ": " << Pixel(*part, x, y) << " for "
                        << Pixel(*whole, sx, sy);
      }
  }
  EXPECT_FALSE(PaintSectionGridArea(skin, layout, {10, 10, 10, 40}));
}

}  // namespace
}  // namespace skin_layered::test
