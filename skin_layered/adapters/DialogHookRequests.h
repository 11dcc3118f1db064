// What the adapters of the windows the dialog hook skinned ask of the hook (DialogHook.h is
// the whole hook, DialogHook.cpp defines these): a new MDI child checked as a window the hook
// saw made, a system dialog's children wrapped again, and the popup-menu windows it wrapped.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

class TqvMnuWnd;
class TqvProvider;

// Decides and skins one top-level window (Create: its creation record, or nil).
bool CheckDialogWnd(HWND Wnd, const CREATESTRUCTW* Create);
// AddChildAdapter over every descendant, the deepest first; false when one failed.
bool WalkChildWindows(TqvProvider* Provider, HWND Parent);
// The number of child adapters the provider holds (0 without one).
std::size_t WrappedChildCount(const TqvProvider* Provider);
// The adapters of the hooked popup-menu windows, freed when the hook is removed, and their
// release.
std::vector<TqvAdapterPtr<TqvMnuWnd>>& HookedMenuWnds();
void ClearMenuWnds();

}  // namespace skin_layered
