// The numbers of the system's and other programs' window messages that the layered engine
// handles and windows.h does not name, beyond those in WindowMessages.h (included here), for
// the manager, the form skinning and the window adapters. The engine's own messages are in
// SkinCommand.h.
#pragma once

#include <windows.h>

#include "skin_layered/core/WindowMessages.h"

namespace skin_layered {

// The MDI client recomputes its scroll bars (sent to it when a document moves or sizes).
inline constexpr UINT kMdiCalcChildScroll = 0x003F;

// Messages some system dialogs send themselves after they rearranged their children; what
// else they mean is the dialog's own.
inline constexpr UINT kDialogRearranged = 0x052C;
inline constexpr UINT kDialogRearrangedToo = 0x052E;

// WM_SYSCOMMAND's WParam: the command without the four low bits the system uses itself.
inline constexpr WPARAM kSysCommandMask = 0xFFF0;
constexpr WPARAM SysCommandOf(WPARAM WParam) { return WParam & kSysCommandMask; }

}  // namespace skin_layered
