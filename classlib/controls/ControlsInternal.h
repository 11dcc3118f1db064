// Internals shared by the controls and forms sources (not part of the library's interface).
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl::detail {

// The graphic control that holds the mouse capture through its parent's window.
extern TControl* g_capture_control;

// Canvases that fetched a device context outside painting; freed when idle.
void RegisterCanvasDC(TControlCanvas* Canvas);
void UnregisterCanvasDC(TControlCanvas* Canvas);

// "Control '<name>' has no parent window".
[[noreturn]] void RaiseParentRequired(const TControl* Control);

// Deletes the control-lookup atom (the controls unit's shutdown).
void ReleaseControlAtom();

// Moves a DC's window origin so that (dx, dy) becomes (0, 0).
void MoveWindowOrg(HDC DC, int DX, int DY);

// Every control that is being destroyed leaves the process-wide references (capture, hint).
void ControlDestroyed(TControl* Control);

}  // namespace vcl::detail
