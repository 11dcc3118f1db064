// What the painting layer binds at unit start-up: the layered-window entry points of user32
// (looked up at run time, absent on systems without them) and the size of one check-box
// glyph of the system's check-box bitmap. The same units register the "png" picture format.
#pragma once

#include <windows.h>

#include "classlib/rtl/Types.h"

namespace skin_layered {

using TUpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                               DWORD);
using TSetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Nil before start-up, after shutdown and when user32 lacks them.
TUpdateLayeredWindowProc UpdateLayeredWindowProc();
TSetLayeredWindowAttributesProc SetLayeredWindowAttributesProc();
// True when UpdateLayeredWindow was found; callers skip layered windows otherwise.
bool LayeredApiAvailable();
// A quarter of the width and a third of the height of the system bitmap OBM_CHECKBOXES.
vcl::TSize CheckBoxGlyphSize();

}  // namespace skin_layered
