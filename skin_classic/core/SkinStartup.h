// What the classic engine binds and makes at its unit start-up: user32 entry points looked
// up at run time (each may be missing), one shared bitmap with halftone stretching and one
// shared string list, facts about the system and the module instance. (The control-lookup
// message and atom are the class library's: vcl::ControlLookupMessage, vcl::ControlAtom.) The
// engine's units start after the layered engine's and stop in reverse order; the last one
// frees the skin manager.
#pragma once

#include <windows.h>

#include "classlib/graphics/Graphics.h"
#include "classlib/rtl/StringList.h"

namespace winskin {

// GetScrollBarInfo when user32 has it; false otherwise.
bool GetScrollBarInfoProc(HWND Window, LONG ObjectId, SCROLLBARINFO& Info);
bool HasGetScrollBarInfo();
// Asks for WM_MOUSELEAVE for the window (TrackMouseEvent with TME_LEAVE), when available.
void TrackMouseLeave(HWND Window);
// GetComboBoxInfo when user32 has it; false otherwise.
bool GetComboBoxInfoProc(HWND Window, COMBOBOXINFO& Info);
using TDisableProcessWindowsGhostingProc = void(WINAPI*)();
TDisableProcessWindowsGhostingProc DisableProcessWindowsGhostingProc();

// The shared paint bitmap (its canvas stretches with halftone) and string list; nil before
// start-up and after shutdown.
vcl::TBitmap* SharedPaintBitmap();
vcl::TStringList* SharedStrings();

// An NT-family system / a system whose major version is other than 6.
bool IsNTPlatform();
bool IsNotVersion6();

// The program's module instance, as copied at start-up.
HINSTANCE SkinModuleInstance();

}  // namespace winskin
