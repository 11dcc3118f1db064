// Window regions cut from the key colour of skin bitmaps, and the border parts of a
// skinned frame they are cut from.
#pragma once

#include <array>
#include <functional>

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/data/DataSkinObjects.h"

namespace winskin {

// The region of the pixels of Bitmap that are not the key colour, moved by (OffsetX,
// OffsetY). A pixel is the key colour when each of its channels lies between the key's
// channel and that plus the channel's tolerance (at most 255). An empty bitmap gives an
// empty region.
vcl::UniqueRegion BitmapToRegion(TBitmap* Bitmap, int OffsetX, int OffsetY, int TolB, int TolG, int TolR,
                                 TColor KeyColor);

// The parts of a skinned frame.
enum class TBorderPart { Left = 1, Right = 2, Top = 3, Bottom = 4 };

// Border thicknesses of a skinned frame (the menu band belongs to the top).
struct TFrameThickness {
  int LeftWidth = 0;
  int TopHeight = 0;
  int RightWidth = 0;
  int BottomHeight = 0;
};

// Where a part lies in a window of Width x Height: the side borders over the whole height,
// the top and bottom between them.
TRect BorderPartRect(TBorderPart Part, int Width, int Height, const TFrameThickness& Thickness);

// Paints a border part from its image (frame 1 active, 2 inactive; stacked frames for the
// top and bottom, side by side for the sides), stretched or tiled with the image's margins,
// opaque.
void DrawBorderPart(HDC DC, const TRect& Rect, TDataSkinObject* Border, TBorderPart Part, bool Active);

// Paints a part into a DC whose origin is the part's top-left corner.
using TBorderPartPainter = std::function<void(HDC DC, TBorderPart Part, const TRect& PartRect)>;

// The window region of a skinned frame of Width x Height. Without any transparent border
// image it is the whole window; otherwise the inner rectangle joined with each border part:
// the region of its key colour as painted (by Painter, else DrawBorderPart from Borders) when
// its image is transparent and the part at least 2 pixels thick, else the part's rectangle.
// Borderless windows get only the inner rectangle.
vcl::UniqueRegion FrameRegion(int Width, int Height, const TFrameThickness& Thickness,
                              const std::array<TDataSkinObject*, 4>& Borders, bool Active, bool Borderless,
                              const TBorderPartPainter& Painter = {});

}  // namespace winskin
