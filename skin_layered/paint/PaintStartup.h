// What the painting layer binds at unit start-up: the layered-window entry points of user32
// and msimg32's GradientFill (looked up at run time, absent on systems without them; msimg32
// is loaded when a gradient is first painted) and the
// size of one check-box glyph of the system's check-box bitmap. The same units register the
// "png" picture format.
#pragma once

#include <windows.h>

#include <optional>

#include "classlib/rtl/Types.h"

namespace skin_layered {

using TUpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                               DWORD);
using TSetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using TGradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// Nil before start-up, after shutdown and when user32 lacks them.
TUpdateLayeredWindowProc UpdateLayeredWindowProc();
TSetLayeredWindowAttributesProc SetLayeredWindowAttributesProc();
// True when UpdateLayeredWindow was found; callers skip layered windows otherwise.
bool LayeredApiAvailable();
// Whether the display shows a layered window's per-pixel alpha, blending partly transparent
// pixels with what lies behind. Every Windows system does; under Wine it takes a compositing
// manager on the X display, which Wine does not tell a program of, and without one partly
// transparent pixels show opaque: the engine takes it for absent there. Pictures that are
// partly transparent by nature (glows) are then not shown at all, as without layered windows.
bool PerPixelAlphaShown();
// Overrides what PerPixelAlphaShown answers (nullopt: the system's answer again); answers the
// override before.
std::optional<bool> SetPerPixelAlphaShown(std::optional<bool> Value);
// Whether the display stacks windows only by raising one over all of them, apart from the
// system's order, and raises a window the system activates over all (the windows it owns too)
// later and without a message: Wine on an X display without a window manager. Every Windows
// system shows windows in the system's order.
bool DisplayStacksByRaising();
// Nil before start-up, after shutdown and when msimg32 or its export is missing; the mesh
// gradient then paints nothing.
TGradientFillProc GradientFillProc();
// A quarter of the width and a third of the height of the system bitmap OBM_CHECKBOXES.
vcl::TSize CheckBoxGlyphSize();

}  // namespace skin_layered
