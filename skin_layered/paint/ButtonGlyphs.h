// The glyph painting shared by the button, bit-button and tool-bar window adapters: a
// button's glyph from an image list (an alpha image list with true alpha, or any other) or
// from a glyph bitmap, in its state, greyed, faded or shifted; and the glyph of a tool button
// of a tool bar.
#pragma once

#include <windows.h>

#include <cstdint>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/ImgList.h"

namespace vcl {
class TToolBar;
class TToolButton;
}  // namespace vcl

namespace skin_layered {

class TsLoadedSkin;

// Bits of TqvGlyphPaintData::DisabledGlyphKind.
inline constexpr std::uint8_t kDisabledBlended = 1;  // a disabled glyph half transparent
inline constexpr std::uint8_t kDisabledGrayed = 2;   // a disabled glyph in the grey (section) colour

// What DrawButtonGlyph paints and where.
struct TqvGlyphPaintData {
  vcl::TBitmap* DstBmp = nullptr;  // 32-bit destination; nil: the device context below
  HDC DC = nullptr;
  vcl::TCustomImageList* ImageList = nullptr;
  int ImageIndex = -1;
  vcl::TBitmap* Glyph = nullptr;  // used when no image list applies; never changed
  int SkinIndex = -1;             // the control's section
  const TsLoadedSkin* Skin = nullptr;  // the skin manager's tables; nil: the default manager's
  vcl::TRect ImgRect;
  int NumGlyphs = 1;  // state images side by side
  bool Enabled = true;
  int Blend = 0;  // percent of transparency, 0 opaque
  std::uint8_t Down = 0;
  std::uint8_t Grayed = 0;
  int State = 0;  // 0 normal, 1 hot, 2 pressed, further states above
  std::uint8_t DisabledGlyphKind = 0;
  std::uint8_t Reflected = 0;  // a half-height reflection below the glyph
};

// 0 for no list, else the list's image count.
int ImageListCount(vcl::TCustomImageList* List);

// Paints the glyph of Data: from its image list when the index is one of the list's images,
// else from its glyph bitmap.
void DrawButtonGlyph(TqvGlyphPaintData& Data);

// Where a tool button's image goes on the button: centred above the caption (8 pixels further
// left on a drop-down button), or at the left in list mode.
vcl::TRect ToolButtonGlyphRect(vcl::TToolBar* ToolBar, vcl::TToolButton* ToolButton);

// What a tool bar's skin data tells of its buttons' glyphs: the skin of its manager (nil:
// none), its section there, and whether its manager shifts a pressed button's content.
struct TqvToolBarSkin {
  const TsLoadedSkin* Skin = nullptr;
  int SkinIndex = -1;
  bool ShiftPressed = true;
};

// A tool button's glyph into Dest (the button's 32-bit image) for its custom-draw state
// flags (CDIS_*): the disabled, hot or plain images of the tool bar, in the section of the
// tool bar's skin (its manager's tables, whichever manager that is), pressed glyphs shifted
// by a pixel unless that manager says not to.
void PaintControlGlyph(vcl::TToolBar* ToolBar, vcl::TToolButton* ToolButton, UINT DrawState, vcl::TBitmap* Dest,
                       const TqvToolBarSkin& BarSkin);

}  // namespace skin_layered
