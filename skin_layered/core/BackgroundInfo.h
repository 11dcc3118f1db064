// Asking what lies behind a partly transparent control. The asker fills a TqvBGInfo and
// sends it to the control or window behind it (normally its parent) with scmGetBgInfo; the
// answer is the answerer's cache bitmap with an offset into it, a plain colour, or, when the
// asker asks for it, the background drawn into a device context the asker supplied. The
// painting routines take the compact TqvCacheInfo that CopyBgInfo makes from an answer.
#pragma once

#include <windows.h>

#include <cstdint>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/GraphicsColors.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/CacheInfo.h"

namespace vcl {
class TControl;
}

namespace skin_layered {

// What a background answer holds.
enum TqvBgType : std::uint8_t {
  btNone = 0,      // no answer yet
  btColor = 1,     // Color
  btBitmap = 2,    // Bmp at Offset
  btNotReady = 3,  // the answerer has no cache bitmap yet
};

// Filled partly by the asker and partly by the answerer.
struct TqvBGInfo {
  vcl::TBitmap* Bmp = nullptr;  // the answerer's bitmap holding the background; nil for a colour
  vcl::TColor Color = 0;        // the background colour of a colour answer
  vcl::TPoint Offset;           // the asker's area inside Bmp (or the answerer's client area);
                                // set by the asker, corrected by the answerer
  vcl::TRect R;                 // the asker's area in DrawDC's coordinates
  vcl::TRect FillRect;          // the part Bmp does not cover, to be filled with Color
  std::uint8_t BgType = btNone;
  bool PleaseDraw = false;      // draw the background into DrawDC at R instead of answering
  HDC DrawDC = nullptr;
};

// Asks a control: a windowed control with a window gets the query sent there, any other by
// Perform. Without an answer: with PleaseDraw the control paints itself (erase and paint)
// into DrawDC, its origin moved so that the asker's area R lands on the control's Offset,
// clipped to R, and R is left moved by Offset in the record; otherwise the answer is the
// control's colour (what a skinned control answers to scmGetColor, black included, else its
// Color property). Always true.
bool GetBgInfo(TqvBGInfo& BGInfo, vcl::TControl* Control, bool PleaseDraw);

// Asks a window. True when it answered. Without an answer: with PleaseDraw the window
// paints itself into DrawDC as GetBgInfo does; otherwise the answer is the default skin
// manager's global colour, or the button-face colour without a default manager. False then.
bool GetBgInfoWnd(TqvBGInfo& BGInfo, HWND Wnd, bool PleaseDraw);

// The cache info of an answer: a bitmap answer is ready with no fill colour; any other
// carries the colour (system colours resolved) and the fill rectangle, not ready.
void CopyBgInfo(const TqvBGInfo& BGInfo, TqvCacheInfo& CI);

}  // namespace skin_layered
