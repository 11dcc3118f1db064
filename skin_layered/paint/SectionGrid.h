// A sheet of a skin's sections to look at: every section painted in its normal and its hot
// state beside its name, over a checked background that shows through where a section is
// see-through. The skin gallery shows it, and tests save it.
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

// The sheet as an opaque 32-bit bitmap (the caller owns it); one row of cells with a heading
// for an empty skin.
std::unique_ptr<vcl::TBitmap> PaintSectionGrid(const TsLoadedSkin& Skin, const TqvSectionGridLayout& Layout = {});

}  // namespace skin_layered
