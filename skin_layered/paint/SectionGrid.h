// A sheet of a skin's sections to look at: every section painted in its normal and its hot
// state beside its name, over a checked background that shows through where a section is
// see-through. The skin gallery shows it (painting only the part in view, however many
// sections the skin has), and tests save it.
#pragma once

#include <memory>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

struct TqvSectionGridLayout {
  int CellWidth = 104;   // each state's painting
  int CellHeight = 36;
  int LabelWidth = 132;  // the section's name before its cells
  int Columns = 4;       // sections side by side
};

// The size of the whole sheet (one row of cells with a heading for an empty skin); nothing
// is painted.
vcl::TPoint SectionGridSize(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout = {});

// The part of the sheet at Area (in the sheet's coordinates, within it or not) as an opaque
// 32-bit bitmap of Area's size (the caller owns it): only what meets Area is painted, so its
// memory and time follow Area, not the skin. Nil for an empty area.
std::unique_ptr<vcl::TBitmap> PaintSectionGridArea(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout,
                                                   const vcl::TRect& Area);

// The whole sheet.
std::unique_ptr<vcl::TBitmap> PaintSectionGrid(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout = {});

}  // namespace skin_layered
