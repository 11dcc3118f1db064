// The one private message through which the layered engine's parts talk to skinned windows
// and controls: the sub-command in the high word of WParam (a flag in the low word for a few),
// its argument in LParam, the answer in the result; 0 from a receiver that does not know it.
// Sent synchronously, to a window by its handle or to a control without one by Perform.
// Below: the encoding, the senders to one window, one control, a control's children and a
// window's child windows, and the colour queries built on them. The broadcast to every form
// is the form registry's (FormRegistry.h).
#pragma once

#include <windows.h>

#include <cstdint>

#include "classlib/controls/Messages.h"
#include "classlib/graphics/GraphicsColors.h"
#include "classlib/rtl/SysUtils.h"

namespace vcl {
class TControl;
class TWinControl;
}

namespace skin_layered {

inline constexpr UINT kSkinCmdMessage = 0xA100;

// Posted to the application window for the default manager when a skinned popup menu's window
// was not found while its items were drawn: the manager finds it and gives it its region. A
// menu item by its menu's handle (WParam) and its command (LParam), or a window (LParam).
inline constexpr UINT kMenuItemPopupMessage = 0xBCB3;
inline constexpr UINT kMenuWindowPopupMessage = 0xBCB4;

// The sub-commands.
enum TqvSkinCommand : std::uint16_t {
  scmNewSkin = 1,
  scmRemoveSkin = 2,
  scmRefresh = 3,
  scmGetProvider = 4,
  scmBeforeChildPaint = 5,
  scmRepaint = 6,
  scmIsSkinned = 7,
  scmSetUpdating = 8,
  scmIsBgChanged = 10,
  scmGetPaintToDC = 11,
  scmSectionChanged = 13,
  scmSetMenuRgnDone = 14,
  scmSetSection = 15,
  scmBeforeRefresh = 16,
  scmBgChanged = 17,
  scmReload = 18,
  scmIsReady = 19,
  scmBgChangedDeep = 20,
  scmGetColor = 21,
  scmMarkPaintToDC = 22,
  scmPrepareCache = 23,
  scmCtrlNotify = 25,
  scmGetSkinIndex = 26,
  scmGetCtrlValue = 27,
  scmChildrenChanged = 28,  // a skinned dialog wraps its children made since
  scmMouseEnter = 29,
  scmMouseLeave = 30,
  scmBeginUpdate = 31,
  scmEndUpdate = 32,
  scmDropCache = 33,
  scmGetBgInfo = 34,
  scmGetState = 36,
  scmGetSkinData = 37,
  scmSetPrintTarget = 38,
  scmPaintToParent = 40,
  scmBeforeScroll = 51,
  scmAfterScroll = 52,
  scmScrollsChanged = 53,
  scmGetApplication = 60,
  scmGetClientOffset = 61,
  scmTitleChanged = 62,
  scmSetGlued = 63,
  scmIsGlued = 64,
  scmSetBlend = 65,
  scmGetBounds = 70,
  scmPreviewData = 71,
};

// WParam of a command: MAKEWPARAM(Low, Command).
constexpr WPARAM SkinCommandWParam(int Command, std::uint16_t Low = 0) {
  return static_cast<WPARAM>(static_cast<std::uint32_t>(Command & 0xFFFF) << 16 | Low);
}
// The sub-command a message carries (the high word of its WParam).
constexpr int SkinCommandOf(WPARAM WParam) { return static_cast<int>((WParam >> 16) & 0xFFFF); }

// The whole message of a command, as the broadcasts pass it on.
inline vcl::TMessage SkinCommandMessage(int Command, LPARAM LParam = 0, std::uint16_t Low = 0) {
  vcl::TMessage m;
  m.Msg = kSkinCmdMessage;
  m.WParam = SkinCommandWParam(Command, Low);
  m.LParam = LParam;
  return m;
}

// The colour answers use this for "none": sent as the default of scmGetColor, answered for
// no control or window.
inline constexpr vcl::TColor kNoColorAnswer = 0xFF00FF;

// Sends the command to a window and answers its result (0 for no window).
LRESULT SendCommandToWnd(HWND Wnd, int Command, LPARAM LParam);
// A control without a window of its own gets the command by Perform; a windowed control
// that is not being destroyed and has its window gets it sent there; any other answers 0
// without being sent (no window is ever created for it).
LRESULT SendCommandToCtrl(vcl::TControl* Control, int Command, LPARAM LParam);
LRESULT SendCommandToCtrl0(vcl::TControl* Control, int Command);
// The window answers the command (LParam 0) with exactly 1.
bool GetBoolCommand(HWND Wnd, int Command);

// A control's background colour as RGB: a skinned control's answer to scmGetColor, any other
// control's Color; kNoColorAnswer for no control.
vcl::TColor GetControlColor(vcl::TControl* Control);
// A window's background colour as RGB: a skinned window's answer to scmGetColor;
// kNoColorAnswer for no window and for a window that is not skinned (its 0 means "no answer",
// not black).
vcl::TColor GetWndColor(HWND Wnd);

// scmRepaint to the control's children: windowed ones that have a window and are showing,
// and graphic ones; children being destroyed are skipped. Nothing while the control is
// designed or a show, hide or skin-change animation runs.
void RepaintChildControls(vcl::TWinControl* Control);
// scmRepaint to each child window of Wnd (WS_CHILD) from its top window down.
void RepaintChildWnds(HWND Wnd);
// scmCtrlNotify with the control to the window of its form, so that the form attaches adapters
// to it; nothing for nil, while designed or loading, or without a form with a window.
void NotifyFormOfControl(vcl::TControl* Control);

// The message to the control's children, depth first: a graphic child or one without a window
// gets it by Perform; a windowed child that answers scmIsSkinned gets it sent and passes it on
// itself; the children of an unskinned windowed child get it in its place. A child that is
// being destroyed, or that left the control during the walk, is skipped; children added
// during the walk get nothing.
void BroadcastCommand(vcl::TWinControl* Control, vcl::TMessage& Message);
// The message to every direct child window of Wnd (deeper descendants get nothing).
void BroadcastToChildWnds(HWND Wnd, vcl::TMessage& Message);

// scmSectionChanged carries in LParam a pointer to a NUL-terminated section name (UTF-16).
// The receiver whose upper-case SkinSection equals the whole name, upper-cased, repaints.
bool SectionChangedNames(LPARAM LParam, vcl::StringView SkinSection);

}  // namespace skin_layered
