// Window routines of the layered engine: the mouse position, a component's form, whether a
// control can be painted, text flags, the client area in window coordinates, class names,
// and the theme library's SetWindowTheme bound at start-up.
#pragma once

#include <windows.h>

#include "classlib/controls/Controls.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

void GetMousePos(vcl::TPoint& P);
// The first form on the Owner chain, starting with the component itself; nil when none.
vcl::TCustomForm* GetOwnerForm(vcl::TComponent* Component);
// False for nil, a windowed control without a window, a control being created, reading its
// state, loading or being destroyed, and a control without a parent.
bool ControlReady(vcl::TControl* Control);
// The DrawText flag of the alignment with DT_VCENTER and DT_SINGLELINE, passed through the
// control's right-to-left adjustment (its alignment mirrored, right-to-left reading).
UINT GetDrawTextFlags(vcl::TControl* Control, vcl::TAlignment Alignment);
// The client rectangle moved by the client origin's offset from the window's corner.
void GetClientRectInWindow(HWND Wnd, vcl::TRect& R);
// The window's class name (at most 127 characters).
vcl::String GetWndClassName(HWND Wnd);
// SetWindowPos placing Wnd right after (below) After, which was read as the window right above
// Below. After is often another program's window, read a moment earlier; when it has gone
// meanwhile the system refuses the whole call, so what lies above Below is read again (Wnd
// itself there: the z-order stays) and, failing that, Wnd goes to the top of its band rather
// than being left where it was.
bool PlaceWindowAfter(HWND Wnd, HWND After, int X, int Y, int Cx, int Cy, UINT Flags, HWND Below = nullptr);

using TSetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
// The theme library's SetWindowTheme; nil when it is missing or before start-up.
TSetWindowThemeProc SetWindowThemeProc();

// The start-up and shut-down steps of the theme binding.
void BindThemeLibrary();
void ReleaseThemeLibrary();

}  // namespace skin_layered
