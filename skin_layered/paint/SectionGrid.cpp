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

void PaintChecks(vcl::TBitmap* bmp) {
  for (int y = 0; y < bmp->Height(); y += kChecker)
    for (int x = 0; x < bmp->Width(); x += kChecker)
      BlendBmpRect(bmp, {x, y, x + kChecker, y + kChecker}, (x / kChecker + y / kChecker) % 2 ? kDark : kLight, 255);
}

void Label(vcl::TCanvas* canvas, const vcl::TRect& r, const vcl::String& text, UINT flags) {
  vcl::TRect area = r;
  DrawTextW(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), area.AsRECT(),
            flags | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

}  // namespace

std::unique_ptr<vcl::TBitmap> PaintSectionGrid(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout) {
  const int columns = std::max(Layout.Columns, 1);
  const int cellW = std::max(Layout.CellWidth, 4), cellH = std::max(Layout.CellHeight, 4);
  const int labelW = std::max(Layout.LabelWidth, 0);
  const int groupW = labelW + 2 * cellW + kGap;
  const int count = static_cast<int>(Skin.Sections.size());
  const int rows = std::max((count + columns - 1) / columns, 1);
  const int width = kGap + columns * groupW + (columns - 1) * kGroupGap + kGap;
  const int height = kHeading + rows * (cellH + kGap) + kGap;

  auto sheet = CreateBmp32(width, height);
  PaintChecks(sheet.get());
  // What lies behind every cell: the checks as they were before any section was painted.
  const auto checks = CreateBmp32(width, height);
  PaintChecks(checks.get());
  TqvCacheInfo behind;
  MakeCacheInfo(checks.get(), 0, 0, behind);

  vcl::TCanvas* canvas = sheet->Canvas();
  canvas->Brush()->SetStyle(vcl::bsClear);
  canvas->Font()->SetColor(kText);
  for (int c = 0; c < columns; ++c) {
    const int left = kGap + c * (groupW + kGroupGap) + labelW;
    Label(canvas, {left, 0, left + cellW, kHeading}, L"normal", DT_CENTER);
    Label(canvas, {left + cellW + kGap, 0, left + 2 * cellW + kGap, kHeading}, L"hot", DT_CENTER);
  }
  for (int i = 0; i < count; ++i) {
    const int left = kGap + (i % columns) * (groupW + kGroupGap);
    const int top = kHeading + (i / columns) * (cellH + kGap);
    const TsGeneralData& section = Skin.Sections[static_cast<std::size_t>(i)];
    Label(canvas, {left, top, left + labelW - 4, top + cellH}, section.ClassName, DT_LEFT);
    for (int state = 0; state < 2; ++state) {
      const int x = left + labelW + state * (cellW + kGap);
      const vcl::TRect cell{x, top, x + cellW, top + cellH};
      PaintItemBg(i, behind, state, cell, {cell.Left, cell.Top}, sheet.get(), &Skin);
    }
  }
  // Text and GDI painting leave the alpha byte behind: the sheet is opaque.
  FillAlphaRect(sheet.get(), {0, 0, width, height}, 255);
  return sheet;
}

}  // namespace skin_layered
