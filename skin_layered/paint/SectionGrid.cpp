#include "skin_layered/paint/SectionGrid.h"

#include <algorithm>

#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {
namespace {

constexpr int kGap = 8;         // between a section's cells, and between rows
constexpr int kGroupGap = 20;   // between sections side by side
constexpr int kHeading = 24;    // the row that names the states
constexpr int kChecker = 8;     // the size of the background's squares
constexpr vcl::TColor kLight = 0xFFFFFF;
constexpr vcl::TColor kDark = 0xE6E6E6;
constexpr vcl::TColor kText = 0x404040;

// The layout's measures, kept within sense.
struct TGrid {
  explicit TGrid(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout)
      : columns(std::max(Layout.Columns, 1)),
        cellW(std::max(Layout.CellWidth, 4)),
        cellH(std::max(Layout.CellHeight, 4)),
        labelW(std::max(Layout.LabelWidth, 0)),
        count(static_cast<int>(Skin.Sections.size())) {}
  int GroupWidth() const { return labelW + 2 * cellW + kGap; }
  int Rows() const { return std::max((count + columns - 1) / columns, 1); }
  int RowHeight() const { return cellH + kGap; }
  vcl::TPoint Size() const {
    return {kGap + columns * GroupWidth() + (columns - 1) * kGroupGap + kGap, kHeading + Rows() * RowHeight() + kGap};
  }
  int columns, cellW, cellH, labelW, count;
};

// The checks of the sheet over the bitmap, which shows the sheet from Origin on.
void PaintChecks(vcl::TBitmap* bmp, vcl::TPoint Origin) {
  const int x0 = Origin.X - ((Origin.X % kChecker) + kChecker) % kChecker;
  const int y0 = Origin.Y - ((Origin.Y % kChecker) + kChecker) % kChecker;
  for (int y = y0; y < Origin.Y + bmp->Height(); y += kChecker)
    for (int x = x0; x < Origin.X + bmp->Width(); x += kChecker) {
      const bool dark = ((x / kChecker) + (y / kChecker)) % 2 != 0;
      BlendBmpRect(bmp, {x - Origin.X, y - Origin.Y, x - Origin.X + kChecker, y - Origin.Y + kChecker},
                   dark ? kDark : kLight, 255);
    }
}

void Label(vcl::TCanvas* canvas, const vcl::TRect& r, const vcl::String& text, UINT flags) {
  vcl::TRect area = r;
  DrawTextW(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), area.AsRECT(),
            flags | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

vcl::TRect Moved(const vcl::TRect& r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

}  // namespace

vcl::TPoint SectionGridSize(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout) {
  return TGrid(Skin, Layout).Size();
}

std::unique_ptr<vcl::TBitmap> PaintSectionGridArea(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout,
                                                   const vcl::TRect& Area) {
  const int width = Area.Right - Area.Left, height = Area.Bottom - Area.Top;
  if (width <= 0 || height <= 0) return nullptr;
  const TGrid grid(Skin, Layout);
  const int dx = -Area.Left, dy = -Area.Top;  // from the sheet to the bitmap

  auto sheet = CreateBmp32(width, height);
  PaintChecks(sheet.get(), {Area.Left, Area.Top});
  vcl::TCanvas* canvas = sheet->Canvas();
  canvas->Brush()->SetStyle(vcl::bsClear);
  canvas->Font()->SetColor(kText);
  if (Area.Top < kHeading)
    for (int c = 0; c < grid.columns; ++c) {
      const int left = kGap + c * (grid.GroupWidth() + kGroupGap) + grid.labelW;
      Label(canvas, Moved({left, 0, left + grid.cellW, kHeading}, dx, dy), L"normal", DT_CENTER);
      Label(canvas, Moved({left + grid.cellW + kGap, 0, left + 2 * grid.cellW + kGap, kHeading}, dx, dy), L"hot",
            DT_CENTER);
    }
  // Each cell the area meets is painted whole on a bitmap of its own, over what lies behind it
  // (the checks as they are before any section is painted), and the part in the area copied.
  const auto cell = CreateBmp32(grid.cellW, grid.cellH);
  const auto checks = CreateBmp32(grid.cellW, grid.cellH);
  TqvCacheInfo behind;
  MakeCacheInfo(checks.get(), 0, 0, behind);
  const int firstRow = std::max((Area.Top - kHeading) / grid.RowHeight(), 0);
  const int lastRow = std::min((Area.Bottom - kHeading) / grid.RowHeight(), grid.Rows() - 1);
  for (int row = firstRow; row <= lastRow; ++row)
    for (int c = 0; c < grid.columns; ++c) {
      const int i = row * grid.columns + c;
      if (i >= grid.count) break;
      const int left = kGap + c * (grid.GroupWidth() + kGroupGap);
      const int top = kHeading + row * grid.RowHeight();
      const TsGeneralData& section = Skin.Sections[static_cast<std::size_t>(i)];
      Label(canvas, Moved({left, top, left + grid.labelW - 4, top + grid.cellH}, dx, dy), section.ClassName, DT_LEFT);
      for (int state = 0; state < 2; ++state) {
        const int x = left + grid.labelW + state * (grid.cellW + kGap);
        if (x >= Area.Right || x + grid.cellW <= Area.Left || top >= Area.Bottom || top + grid.cellH <= Area.Top)
          continue;
        PaintChecks(checks.get(), {x, top});
        PaintChecks(cell.get(), {x, top});
        PaintItemBg(i, behind, state, {0, 0, grid.cellW, grid.cellH}, {0, 0}, cell.get(), &Skin);
        BitBlt(canvas->Handle(), x + dx, top + dy, grid.cellW, grid.cellH, cell->Canvas()->Handle(), 0, 0, SRCCOPY);
      }
    }
  // Text and GDI painting leave the alpha byte behind: the sheet is opaque.
  FillAlphaRect(sheet.get(), {0, 0, width, height}, 255);
  return sheet;
}

std::unique_ptr<vcl::TBitmap> PaintSectionGrid(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout) {
  const vcl::TPoint size = SectionGridSize(Skin, Layout);
  return PaintSectionGridArea(Skin, Layout, {0, 0, size.X, size.Y});
}

}  // namespace skin_layered
