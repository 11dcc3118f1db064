// The one private message through which the layered engine's parts talk to skinned windows
// and controls: the sub-command in the high word of WParam (a flag in the low word for a few),
// its argument in LParam, the answer in the result; 0 from a receiver that does not know it.
// Sent synchronously, to a window by its handle or to a control without one by Perform.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vcl {
class TControl;
}

namespace skin_layered {

inline constexpr UINT kSkinCmdMessage = 0xA100;

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

// Sends the command to a window and answers its result (0 for no window).
LRESULT SendCommandToWnd(HWND Wnd, int Command, LPARAM LParam);
// A control without a window of its own gets the command by Perform; a windowed control
// that is not being destroyed and has its window gets it sent there; any other answers 0
// without being sent (no window is ever created for it).
LRESULT SendCommandToCtrl(vcl::TControl* Control, int Command, LPARAM LParam);

}  // namespace skin_layered
