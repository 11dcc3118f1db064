// Bitmaps of the classic skin engine: skin bitmaps loaded from package entries, the
// engine's own pictures, and safe new and cut bitmaps for the painters.
#pragma once

#include <memory>
#include <string_view>

#include "classlib/graphics/Graphics.h"
#include "skin_classic/data/SkinDescription.h"
#include "skin_classic/io/WinSkinReader.h"

namespace winskin {

using vcl::TBitmap;
using vcl::TRect;

// A 24-bit bitmap of the size, or nothing when the size is empty or beyond what a bitmap
// may hold (painters then draw nothing instead of raising).
std::unique_ptr<TBitmap> NewSkinBitmap(int Width, int Height);

// Copies Source's rectangle From to Dest at (X, Y), clipped to both bitmaps.
void CopyBitmapRect(TBitmap* Dest, int X, int Y, TBitmap* Source, const TRect& From);

// Loads the package entry a picture record names (only its crop when it has one). A
// missing entry or one that is not a valid BMP leaves the bitmap empty; false then.
bool LoadSkinBitmap(TBitmap* Bitmap, const TSkinReader& Reader, const skin_classic::PictureRef& Picture);
// By a description's file name: its file part, which must end in ".bmp".
bool LoadSkinBitmap(TBitmap* Bitmap, const TSkinReader& Reader, std::string_view FileName);

// The engine's own pictures, drawn in code: "TRACK" (a sunken horizontal track-bar channel)
// and "TRACKVERT" (the vertical one); names ignore letter case. Any other name raises
// EResNotFound "Resource %s not found".
void LoadEngineBitmap(TBitmap* Bitmap, std::string_view Name);

}  // namespace winskin
