// The hit codes a skinned caption answers, shared by skinned forms and skinned system dialogs:
// the system's own codes for the parts it knows, and the engine's for what only a skinned
// frame shows (a maximised MDI child's buttons on the frame's menu line, the user's title
// buttons and the title bar component's items, each numbered by its index in its collection).
#pragma once

#include <windows.h>

namespace skin_layered {

inline constexpr int kHitMin = HTMINBUTTON;    // 8, also restore while minimised
inline constexpr int kHitMax = HTMAXBUTTON;    // 9, also restore while maximised
inline constexpr int kHitClose = HTCLOSE;      // 20
inline constexpr int kHitHelp = HTHELP;        // 21
inline constexpr int kHitMdiClose = 101;       // a maximised MDI child's buttons
inline constexpr int kHitMdiRestore = 102;
inline constexpr int kHitMdiMin = 103;
inline constexpr int kHitUserButton = 1000;    // + the user title button's index
inline constexpr int kHitTitleBarItem = 2000;  // + the title bar item's index
inline constexpr int kMaxTitleElements = 256;  // indexes 0..255 of either kind

constexpr bool IsSizingHitCode(int Code) { return Code >= HTLEFT && Code <= HTBOTTOMRIGHT; }
constexpr bool IsUserButtonHitCode(int Code) {
  return Code >= kHitUserButton && Code < kHitUserButton + kMaxTitleElements;
}
constexpr bool IsTitleBarItemHitCode(int Code) {
  return Code >= kHitTitleBarItem && Code < kHitTitleBarItem + kMaxTitleElements;
}

}  // namespace skin_layered
