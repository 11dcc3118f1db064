// Drawing primitives of the classic skin engine: skin images with nine-part margins made to
// any size (stretched or tiled), single frames of multi-frame images, three-slice images,
// transparent drawing with the key colour, the parent's background under a child, and the
// tool bar faces. Like every painter of the engine they never raise: an empty bitmap, an
// invalid frame or an empty rectangle paints nothing.
#pragma once

#include <memory>

#include "skin_classic/data/DataSkinObjects.h"

namespace winskin {

inline int Min(int A, int B) { return A < B ? A : B; }

// A new 24-bit bitmap of DestRect's size (only the size counts) made from frame Frame
// (1-based) of FrameCount frames of Source (stacked when Vertical, else side by side):
// corners copied, edges stretched, the centre stretched or tiled. Margins are (left, top,
// right, bottom); a pair that does not fit the size or the frame is taken as 0. The parts the
// frame has no pixels for (between margins that take its whole width or height) are Under,
// the colour the picture will lie on. Nothing (nullptr) for an empty source, an invalid frame
// or an empty size.
std::unique_ptr<TBitmap> StretchSkinBitmap(const TRect& DestRect, TBitmap* Source, const TRect& Margins, bool Vertical,
                                           bool Tile, int FrameCount, int Frame, TColor Under);

// SourceRect of Source repeated over DestRect from its top-left corner. Tiles are drawn
// whole, so the last column and row may reach past DestRect.
void TileBitmap(vcl::TCanvas* DestCanvas, const TRect& DestRect, TBitmap* Source, const TRect& SourceRect);

// One frame of a skin image made to Rect's size (StretchSkinBitmap), copied opaque or with
// the key colour left out.
void DrawSkinBitmapRect(HDC DC, const TRect& Rect, TBitmap* Source, const TRect& Margins, bool Tile, int FrameCount,
                        int Frame, bool Transparent, bool Vertical = false);
// The whole frame (the whole image when FrameCount is 0) stretched to Rect.
void DrawSkinImagePart(HDC DC, const TRect& Rect, TBitmap* Image, int FrameCount, int Frame, bool Vertical,
                       bool Transparent);

// Frame Index (1-based) of FrameCount frames side by side, at its own size from Rect's
// top-left corner and cut to Rect.
void DrawImageFrame(HDC DC, const TRect& Rect, int FrameCount, int Index, TBitmap* Image, bool Transparent);
// The same frame whole, with its top-left corner at (X, Y).
void DrawImageFrameAt(HDC DC, int X, int Y, int FrameCount, int Index, TBitmap* Image, bool Transparent);
// Where frame Index (1-based) of FrameCount frames side by side lies in Image; empty when it
// has no pixels.
TRect ImageFrameRect(TBitmap* Image, int FrameCount, int Index);
// The frame drawn as a glyph: whole, transparent, centred in Rect.
void DrawGlyphFrame(HDC DC, const TRect& Rect, int FrameCount, int Index, TBitmap* Image);

// Frame Frame of FrameCount stacked frames stretched over Rect with fixed left and right
// caps of LeftCap and RightCap pixels (both 0 when they do not fit).
void DrawThreeSlice(HDC DC, const TRect& Rect, TBitmap* Image, int LeftCap, int RightCap, int FrameCount, int Frame);

// Arrows (an up-down control's order within its element's frames).
inline constexpr int kArrowUp = 0, kArrowDown = 1, kArrowLeft = 2, kArrowRight = 3;
// A small filled arrow pointing as Arrow says, centred in R, in Ink: the system's look of an
// arrow where the skin has no picture of it.
void DrawArrow(HDC DC, const TRect& R, int Arrow, TColor Ink);

// The parent's background under Child: the parent erases and paints itself into DC with
// the DC's origin moved to the child's position.
void DrawParentBackground(HWND Child, HDC DC);

// Copies Width x Height pixels of Source from (SourceX, SourceY) to (X, Y), leaving out the
// pixels of Key.
void DrawTransparentBitmap(HDC DC, int X, int Y, int Width, int Height, HDC Source, int SourceX, int SourceY,
                           TColor Key = kSkinKeyColor);
void DrawTransparentBitmap(HDC DC, int X, int Y, TBitmap* Bitmap, TColor Key = kSkinKeyColor);
// A picture for painting a frame part whose pixels are then read, kept between calls: at
// least Width x Height, its top-left Width x Height black as a new picture's. Valid until
// the next call; nil when none can be made.
TBitmap* FramePartPicture(int Width, int Height);
// The work bitmaps the drawing calls keep between them go (the engine's unit shutdown).
void FreeWorkBitmaps();

// Tool bar faces. The background: the "Toolbar" element's whole bitmap stretched over Rect.
void DrawToolbarBackground(vcl::TCanvas* Canvas, const TRect& Rect, TDataSkinObject* Toolbar);
// The frame of the "Buttons" element for a tool bar button's custom-draw state (CDIS_*
// flags), first match: selected 2, focused or hot 4, grayed or disabled none, default 1,
// otherwise none (0).
int ToolbarButtonFrame(unsigned ItemState);
// The button's face: that frame, stretched with the element's margins into Bounds shrunk
// by one pixel, transparent when the element says so; the canvas font takes the state's
// second colour when the description gave it. Returns the frame drawn (0: none).
int DrawToolbarButton(vcl::TCanvas* Canvas, const TRect& Bounds, unsigned ItemState, TDataSkinButton* Buttons);

}  // namespace winskin
